// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

class QWidget;

// Buttons with texts of their own, in the order shown; the answer is the standard button paired
// with the one pressed.
using TButtonTexts = std::vector<std::pair<QMessageBox::StandardButton, QString>>;

struct SMessageRequest
{
    QWidget* owner = nullptr;
    QString text;
    QString caption;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    // Shown while the answer keys of a test are in use: see TMessageKeyGuard.
    bool guardAnswerKeys = false;
    // When given, these buttons replace the standard ones.
    TButtonTexts buttonTexts{};
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
