// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

struct SMessageRequest
{
    QWidget* owner = nullptr;
    QString text;
    QString caption;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    // Shown while the answer keys of a test are in use: see TMessageKeyGuard.
    bool guardAnswerKeys = false;
};

// Every message box of the program passes through here, so that tests can answer the boxes
// and read their texts. Boxes asked for before the Qt application object exists are kept and
// shown, in order, by ShowPending().
class TMessageBox
{
public:
    using Handler = std::function<QMessageBox::StandardButton(const SMessageRequest&)>;

    static QMessageBox::StandardButton Show(const SMessageRequest& request);
    // Runs the action now when boxes can be shown, otherwise once ShowPending() is called.
    static void WhenShowable(std::function<void()> action);
    static void ShowPending();

    // Tests answer boxes themselves; an empty handler restores real boxes.
    static void SetHandler(Handler handler);

private:
    static bool CanShow();
};
