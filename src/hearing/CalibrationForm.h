// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hearing/CalibrationProcedure.h"
#include "hearing/ToneTimer.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TCalibrationForm;
}

// The calibration window: a tone once a second at the frequency, side and volume chosen, until
// the tone is just audible; OK stores the volume found as the calibration level.
class TCalibrationForm : public QDialog
{
    Q_OBJECT

public:
    explicit TCalibrationForm(QWidget* parent = nullptr);
    ~TCalibrationForm() override;

    void FormShow();
    void FormClose();
    bool FormCloseQuery(int result);
    void iTimerTimer();
    void iVolumeBarChange();
    void iFreqUpDownClick();
    void UpdateDisplay();

    const TCalibrationProcedure& Procedure() const { return m_procedure; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void ConnectEvents();

    std::unique_ptr<Ui::TCalibrationForm> ui;
    TToneTimer iTimer;
    TCalibrationProcedure m_procedure;
};

extern TCalibrationForm* CalibrationForm;
