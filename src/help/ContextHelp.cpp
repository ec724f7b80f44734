// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/ContextHelp.h"

#include <QShortcut>
#include <QWidget>

#include <utility>

namespace {

constexpr QLatin1String kF1Name("kelvarionContextHelp");

TContextHelp::Handler& CurrentHandler()
{
    static TContextHelp::Handler handler;
    return handler;
}

} // namespace

void TContextHelp::Join(QWidget* window, int helpContext)
{
    // A window joined again keeps one F1: with two, the key would be ambiguous and do nothing.
    delete window->findChild<QShortcut*>(kF1Name, Qt::FindDirectChildrenOnly);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), window);
    f1->setObjectName(kF1Name);
    f1->setContext(Qt::WindowShortcut);
    QObject::connect(f1, &QShortcut::activated, window,
                     [helpContext] { HelpCommand(HELP_CONTEXT, helpContext); });
}

TContextHelp::Handler TContextHelp::SetHandler(Handler handler)
{
    return std::exchange(CurrentHandler(), std::move(handler));
}

bool TContextHelp::HelpCommand(int command, int data)
{
    const Handler& handler = CurrentHandler();
    return handler && handler(command, data);
}
