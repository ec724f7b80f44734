// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MessageBox.h"

#include "platform/MessageKeyGuard.h"

#include <QApplication>

#include <vector>

namespace {

// Function-local statics: boxes may be asked for during static initialisation.
TMessageBox::Handler& CurrentHandler()
{
    static TMessageBox::Handler handler;
    return handler;
}

std::vector<std::function<void()>>& Pending()
{
    static std::vector<std::function<void()>> pending;
    return pending;
}

QMessageBox::StandardButton EscapeAnswer(QMessageBox::StandardButtons buttons)
{
    if (buttons.testFlag(QMessageBox::No))
        return QMessageBox::No;
    if (buttons.testFlag(QMessageBox::Cancel))
        return QMessageBox::Cancel;
    return QMessageBox::Ok;
}

} // namespace

bool TMessageBox::CanShow()
{
    return CurrentHandler() || qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

QMessageBox::StandardButton TMessageBox::Show(const SMessageRequest& request)
{
    if (CurrentHandler())
        return CurrentHandler()(request);
    if (!CanShow()) {
        Pending().push_back([request] { Show(request); });
        return EscapeAnswer(request.buttons);
    }
    QMessageBox box(request.icon, request.caption, request.text,
                    request.buttonTexts.empty() ? request.buttons : QMessageBox::NoButton, request.owner);
    std::vector<std::pair<QAbstractButton*, QMessageBox::StandardButton>> ownButtons;
    for (const auto& [answer, text] : request.buttonTexts)
        ownButtons.emplace_back(box.addButton(text, QMessageBox::ActionRole), answer);
    if (request.guardAnswerKeys)
        new TMessageKeyGuard(&box);
    const auto answer = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const auto& [button, standard] : ownButtons) {
        if (box.clickedButton() == button)
            return standard;
    }
    return answer;
}

void TMessageBox::WhenShowable(std::function<void()> action)
{
    if (CanShow())
        action();
    else
        Pending().push_back(std::move(action));
}

void TMessageBox::ShowPending()
{
    auto pending = std::move(Pending());
    Pending().clear();
    for (const auto& action : pending)
        action();
}

void TMessageBox::SetHandler(Handler handler)
{
    CurrentHandler() = std::move(handler);
}
