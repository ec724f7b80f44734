// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/DateTime.h"
#include "hearing/TestProcedure.h"
#include "hearing/ToneTimer.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace Ui {
class TTestForm;
}
class QPushButton;

// The hearing test window: the measuring panel with the big answer button, and the patient's
// data. It wires its events to the test procedure and shows what the procedure holds.
class TTestForm : public QDialog
{
    Q_OBJECT

public:
    explicit TTestForm(QWidget* parent = nullptr);
    ~TTestForm() override;

    void FormShow();
    void FormClose();
    // Stops the test and hands a completed one to the data store; also called at exit.
    void FormCloseVoid();
    void NextFreqClick();
    void OnTimer();
    void LEditChange();
    void ShowFreqAndLevel();

    const TTestProcedure& Procedure() const { return m_procedure; }

    // The patient data remembered from the last showing.
    QString Surname;
    QString Name;
    QString Remarks;
    TDateTime BornDate;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectEvents();
    void NextFreqBitBtnMouseUp(Qt::MouseButton button);
    void ButtonStartMouseUp(Qt::MouseButton button);
    void ButtonStopMouseUp(Qt::MouseButton button);
    void ButtonRepeatMouseUp(Qt::MouseButton button);
    void ButtonExitMouseUp(Qt::MouseButton button);
    using TMouseUp = void (TTestForm::*)(Qt::MouseButton);
    std::vector<std::pair<QPushButton*, TMouseUp>> ButtonHandlers() const;
    void ButtonMouseUp(Qt::MouseButton button, const std::function<TTestProcedure::TNext()>& leftAction);
    bool NamesGiven() const;
    // Does what the procedure asked for and keeps the timer as the procedure's state says.
    void Follow(TTestProcedure::TNext next);
    void FollowTimer();
    TClinicalProcedure::TEarHeard AskWhichEar();
    QString ProgressLine() const;

    std::unique_ptr<Ui::TTestForm> ui;
    TToneTimer Timer1;
    TTestProcedure m_procedure;
};

extern TTestForm* TestForm;
