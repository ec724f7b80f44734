// SPDX-License-Identifier: GPL-3.0-or-later
#include "hearing/CalibrationForm.h"

#include "ui_CalibrationForm.h"

#include "hearing/QuietMessage.h"
#include "hearing/ToneDisplay.h"
#include "help/ContextHelp.h"
#include "lang/Lang.h"
#include "settings/Options.h"
#include "settings/TestSettings.h"

#include <QShowEvent>

TCalibrationForm* CalibrationForm = nullptr;

using TClosing = TCalibrationProcedure::TClosing;

TCalibrationForm::TCalibrationForm(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TCalibrationForm>()), iTimer(QStringLiteral("iTimer"), this)
{
    ui->setupUi(this);
    ConnectEvents();
    gLang.AddForm(this);
    TContextHelp::Join(this, 2100);
}

TCalibrationForm::~TCalibrationForm()
{
    FormClose();
}

void TCalibrationForm::ConnectEvents()
{
    connect(&iTimer, &QTimer::timeout, this, &TCalibrationForm::iTimerTimer);
    connect(ui->iVolumeBar, &QSlider::valueChanged, this, &TCalibrationForm::iVolumeBarChange);
    connect(ui->iFreqUpDown, &TUpDown::clicked, this, &TCalibrationForm::iFreqUpDownClick);
    connect(ui->OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->AnalujButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TCalibrationForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TCalibrationForm::FormShow()
{
    m_procedure.Open(CurrentCalibrationSettings(gOptions), ui->iFreqUpDown->Position());
    ui->iDescLabeledEdit->SetText(gOptions.DefaultCalibrationDesc);
    // Putting the bar in place is no move of the person's: the mute stays as it was.
    const bool muted = ui->iMuteCheckBox->isChecked();
    ui->iVolumeBar->setValue(m_procedure.StoredPosition());
    ui->iMuteCheckBox->setChecked(muted);
    m_procedure.ApplyVolumeDb(TCalibrationProcedure::BothChannels, m_procedure.VolumeDb);
    UpdateDisplay();
    iTimer.start();
    ui->iVolumeBar->setSingleStep(TCalibrationProcedure::BarStep);
}

void TCalibrationForm::done(int result)
{
    if (!FormCloseQuery(result))
        return;
    FormClose();
    QDialog::done(result);
}

bool TCalibrationForm::FormCloseQuery(int result)
{
    if (!m_procedure.IsOpen())
        return true;
    const int position = ui->iVolumeBar->value();
    const QString description = ui->iDescLabeledEdit->Text();
    switch (m_procedure.MayClose(result != QDialog::Accepted, position, description)) {
    case TClosing::Allow:
        return true;
    case TClosing::AskForDescription:
        QuietMessage(*m_procedure.Engine, this, QStringLiteral("MessConfInfo"), QString(), QMessageBox::Ok,
                     QMessageBox::Question);
        return false;
    case TClosing::AskToStore:
        break;
    }
    if (QuietMessage(*m_procedure.Engine, this, QStringLiteral("MessSure?"), QStringLiteral("MessVolLevel"),
                     QMessageBox::Yes | QMessageBox::No, QMessageBox::Question) != QMessageBox::Yes)
        return false;
    m_procedure.StoreIn(gOptions, position, description);
    return true;
}

void TCalibrationForm::FormClose()
{
    iTimer.stop();
    m_procedure.Close();
}

void TCalibrationForm::iTimerTimer()
{
    UpdateDisplay();
    m_procedure.Tick(ui->iMuteCheckBox->isChecked(), ui->iVolumeBar->value(),
                     ui->iChanelRadioGroup->ItemIndex());
}

void TCalibrationForm::iVolumeBarChange()
{
    // Moving the bar always makes the tone audible.
    ui->iMuteCheckBox->setChecked(false);
    const int position = TCalibrationProcedure::Snap(ui->iVolumeBar->value());
    // The snapped position comes back here as a change of its own.
    if (position != ui->iVolumeBar->value()) {
        ui->iVolumeBar->setValue(position);
        return;
    }
    m_procedure.BarMoved(position);
    UpdateDisplay();
}

void TCalibrationForm::iFreqUpDownClick()
{
    m_procedure.SetFrequency(ui->iFreqUpDown->Position());
    UpdateDisplay();
}

void TCalibrationForm::UpdateDisplay()
{
    ui->FrequencyEdit->setText(FrequencyDisplay(m_procedure.Frequency));
    ui->LevelEdit->setText(LevelDisplay(m_procedure.VolumeDb));
    ui->FrequencyEdit->repaint();
    ui->LevelEdit->repaint();
}
