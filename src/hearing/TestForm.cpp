// SPDX-License-Identifier: GPL-3.0-or-later
#include "hearing/TestForm.h"

#include "ui_TestForm.h"

#include "data/DataEngine.h"
#include "hearing/QuietMessage.h"
#include "hearing/ToneDisplay.h"
#include "help/ContextHelp.h"
#include "lang/Lang.h"
#include "log/FileNames.h"
#include "platform/Clock.h"
#include "settings/Options.h"
#include "settings/TestSettings.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QShowEvent>

#include <span>
#include <tuple>

TTestForm* TestForm = nullptr;

using TNext = TTestProcedure::TNext;

TTestForm::TTestForm(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TTestForm>()), Timer1(QStringLiteral("Timer1"), this)
{
    ui->setupUi(this);
    ConnectEvents();
    gLang.AddForm(this);
    TContextHelp::Join(this, 2500);
}

TTestForm::~TTestForm()
{
    // A test still running when the program ends gives the output volume back here.
    FormCloseVoid();
}

void TTestForm::ConnectEvents()
{
    connect(&Timer1, &QTimer::timeout, this, &TTestForm::OnTimer);
    connect(ui->NextFreqBitBtn, &QPushButton::clicked, this, &TTestForm::NextFreqClick);
    connect(ui->NameLEdit, &TLabeledEdit::textChanged, this, &TTestForm::LEditChange);
    connect(ui->SurnameLEdit, &TLabeledEdit::textChanged, this, &TTestForm::LEditChange);
    for (const auto& [button, handler] : ButtonHandlers()) {
        connect(button, &QPushButton::clicked, this,
                [this, mouseUp = handler] { (this->*mouseUp)(Qt::LeftButton); });
        button->installEventFilter(this);
    }
}

std::vector<std::pair<QPushButton*, TTestForm::TMouseUp>> TTestForm::ButtonHandlers() const
{
    return {
        {ui->ButtonStart, &TTestForm::ButtonStartMouseUp},
        {ui->ButtonStop, &TTestForm::ButtonStopMouseUp},
        {ui->ButtonRepeat, &TTestForm::ButtonRepeatMouseUp},
        {ui->ButtonExit, &TTestForm::ButtonExitMouseUp},
    };
}

void TTestForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TTestForm::FormShow()
{
    m_procedure.Open(CurrentTestSettings(gOptions));
    // Clinical tones come at irregular onsets, each timed anew.
    Timer1.setSingleShot(m_procedure.Clinical());
    ui->_InstructionText->setText(gLang.GetString(m_procedure.InstructionKey(), this));
    FollowTimer();
    ShowFreqAndLevel();
    for (const auto& [remembered, edit] :
         {std::pair{Surname, ui->SurnameLEdit}, {Name, ui->NameLEdit}, {Remarks, ui->RemarksLEdit}}) {
        if (!remembered.isEmpty())
            edit->SetText(remembered);
    }
    ui->BornDateTPicker->setDisplayFormat(TDateTime::ShortDateFormat(QLocale()));
    ui->BornDateTPicker->setDate(BornDate.IsSet() ? BornDate.Date() : ui->BornDateTPicker->minimumDate());
    LEditChange();
    if (NamesGiven())
        ui->NextFreqBitBtn->setFocus();
    else
        ui->NameLEdit->setFocus();
}

void TTestForm::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TTestForm::FormClose()
{
    FormCloseVoid();
}

void TTestForm::FormCloseVoid()
{
    Timer1.stop();
    if (DataEngine != nullptr && m_procedure.IsOpen()) {
        Name = ui->NameLEdit->Text();
        Surname = ui->SurnameLEdit->Text();
        Remarks = ui->RemarksLEdit->Text();
        BornDate = TDateTime::FromDate(ui->BornDateTPicker->date());
        if (const float* results = m_procedure.Finished()) {
            DataEngine->AddMeasurement(
                m_procedure.Frequencies, std::span<const float, ResultValues>(results, ResultValues), Remarks,
                TDateTime::FromDateTime(TClock::Now()), BornDate, Surname, Name, ui->FileNameLEdit->Text(),
                m_procedure.ProcedureName(), m_procedure.Reliability(0), m_procedure.Reliability(1));
        }
    }
    m_procedure.Close();
}

void TTestForm::LEditChange()
{
    // First name directly followed by surname, then the minute: "AB 20100515_1405".
    ui->FileNameLEdit->SetText(ProposedFileName(ui->NameLEdit->Text() + ui->SurnameLEdit->Text()));
}

bool TTestForm::NamesGiven() const
{
    return TTestProcedure::NamesGiven(ui->NameLEdit->Text(), ui->SurnameLEdit->Text());
}

void TTestForm::OnTimer()
{
    Follow(m_procedure.Tick());
}

void TTestForm::NextFreqClick()
{
    Follow(m_procedure.Answer(NamesGiven()));
}

void TTestForm::Follow(TNext next)
{
    FollowTimer();
    switch (next) {
    case TNext::Nothing:
        break;
    case TNext::ShowPosition:
        ShowFreqAndLevel();
        break;
    case TNext::AskForName:
        QuietMessage(*m_procedure.Engine, this, QStringLiteral("MessNoData"), QStringLiteral("MessRemark"),
                     QMessageBox::Ok, QMessageBox::Information, true);
        ui->NameLEdit->setFocus();
        Follow(m_procedure.MessageClosed());
        break;
    case TNext::AskToTurnHeadphones:
        QuietMessage(*m_procedure.Engine, this, m_procedure.TurnHeadphonesKey(),
                     QStringLiteral("MessChangeEar"), QMessageBox::Ok, QMessageBox::Information, true);
        Follow(m_procedure.MessageClosed());
        break;
    case TNext::TellSoundLost:
        ShowFreqAndLevel();
        QuietMessage(*m_procedure.Engine, this, QStringLiteral("MessSoundLost"),
                     QStringLiteral("MessNoSound"), QMessageBox::Ok, QMessageBox::Warning, true);
        Follow(m_procedure.MessageClosed());
        break;
    case TNext::AskWhichEar:
        Follow(m_procedure.EarAnswered(AskWhichEar()));
        break;
    case TNext::TellEarCheck:
        QuietMessage(*m_procedure.Engine, this, m_procedure.EarCheckKey(), QStringLiteral("MessEarCheck"),
                     QMessageBox::Ok, QMessageBox::Information, true);
        Follow(m_procedure.MessageClosed());
        break;
    case TNext::CloseWithData:
        done(QDialog::Accepted);
        break;
    case TNext::CloseWithoutData:
        done(QDialog::Rejected);
        break;
    }
}

void TTestForm::FollowTimer()
{
    if (!m_procedure.TimerOn())
        Timer1.stop();
    else if (!Timer1.isActive())
        Timer1.start(m_procedure.IntervalMs());
}

// Three buttons named after the ears, in reading order; a box closed otherwise counts as both.
TClinicalProcedure::TEarHeard TTestForm::AskWhichEar()
{
    using TEarHeard = TClinicalProcedure::TEarHeard;
    const std::tuple<QMessageBox::StandardButton, const char*, TEarHeard> choices[] = {
        {QMessageBox::Yes, "StrEarLeft", TEarHeard::Left},
        {QMessageBox::No, "StrEarRight", TEarHeard::Right},
        {QMessageBox::YesToAll, "StrEarBoth", TEarHeard::Both},
    };
    TButtonTexts buttons;
    for (const auto& [button, key, heard] : choices)
        buttons.emplace_back(button, gLang.GetString(QLatin1String(key), this));
    const QMessageBox::StandardButton answer = QuietMessage(
        *m_procedure.Engine, this, QStringLiteral("MessWhichEar"), QStringLiteral("MessEarCheck"),
        QMessageBox::NoButton, QMessageBox::Question, true, buttons);
    for (const auto& [button, key, heard] : choices) {
        if (button == answer)
            return heard;
    }
    return TEarHeard::Both;
}

void TTestForm::ShowFreqAndLevel()
{
    ui->FrequencyEdit->setText(FrequencyDisplay(m_procedure.Frequency()));
    // A clinical test gives no cue of the tone on screen.
    ui->LevelEdit->setText(m_procedure.Clinical() ? QStringLiteral("-") : LevelDisplay(m_procedure.Level()));
    // Only a new frequency or ear changes the line: nothing on screen may tell when a tone sounds.
    const QString progress = ProgressLine();
    if (ui->_ProgressText->text() != progress)
        ui->_ProgressText->setText(progress);
}

QString TTestForm::ProgressLine() const
{
    const char* const earKeys[] = {"StrProgressLeft", "StrProgressRight", "StrProgressBoth"};
    const QString ear = gLang.GetString(QLatin1String(earKeys[int(m_procedure.EarShown())]), this);
    return gLang.GetString(QStringLiteral("StrProgress"), this)
        .arg(ear, QString::number(m_procedure.FrequencyNumber()),
             QString::number(m_procedure.FrequencyCount()));
}

void TTestForm::keyPressEvent(QKeyEvent* event)
{
    // Escape would end the test unasked; leaving is the Exit button's.
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Releases over the background and the two panels, and over the labels on them, reach here.
void TTestForm::mouseReleaseEvent(QMouseEvent* event)
{
    NextFreqBitBtnMouseUp(event->button());
}

void TTestForm::NextFreqBitBtnMouseUp(Qt::MouseButton)
{
    NextFreqClick();
}

// The other mouse buttons answer, as a release over the background does.
bool TTestForm::eventFilter(QObject* watched, QEvent* event)
{
    auto* button = qobject_cast<QPushButton*>(watched);
    if (button == nullptr || event->type() != QEvent::MouseButtonRelease)
        return QDialog::eventFilter(watched, event);
    const auto* release = static_cast<QMouseEvent*>(event);
    if (release->button() == Qt::LeftButton || !button->rect().contains(release->position().toPoint()))
        return QDialog::eventFilter(watched, event);
    for (const auto& [handled, handler] : ButtonHandlers()) {
        if (handled == button)
            (this->*handler)(release->button());
    }
    // Consumed, so that it does not answer a second time on its way to the background.
    return true;
}

void TTestForm::ButtonMouseUp(Qt::MouseButton button, const std::function<TNext()>& leftAction)
{
    if (button == Qt::LeftButton) {
        // Moved first, so that a refused start leaves the focus in the name field.
        ui->NextFreqBitBtn->setFocus();
        Follow(leftAction());
    } else if (button == Qt::RightButton || button == Qt::MiddleButton) {
        NextFreqClick();
    }
}

void TTestForm::ButtonStartMouseUp(Qt::MouseButton button)
{
    ButtonMouseUp(button, [this] { return m_procedure.Start(NamesGiven()); });
}

void TTestForm::ButtonStopMouseUp(Qt::MouseButton button)
{
    ButtonMouseUp(button, [this] { return m_procedure.Stop(); });
}

void TTestForm::ButtonRepeatMouseUp(Qt::MouseButton button)
{
    ButtonMouseUp(button, [this] { return m_procedure.Repeat(); });
}

void TTestForm::ButtonExitMouseUp(Qt::MouseButton button)
{
    ButtonMouseUp(button, [this] { return m_procedure.Exit(); });
}
