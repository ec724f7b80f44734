// SPDX-License-Identifier: GPL-3.0-or-later
#include "hearing/TestProcedure.h"

#include "hearing/ToneTimer.h"
#include "settings/Options.h"
#include "settings/TestSettings.h"
#include "sound/SoundEngine.h"

#include <algorithm>
#include <chrono>
#include <random>

using TNext = TTestProcedure::TNext;
using TState = TTestProcedure::TState;
using TOnset = TClinicalProcedure::TOnset;

namespace {

double SteadySeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace

TTestProcedure::TTestProcedure() = default;

TTestProcedure::~TTestProcedure()
{
    Close();
}

void TTestProcedure::Open(const STestSettings& settings)
{
    Close();
    HasData = false;
    Frequencies = settings.frequencies.mid(0, TSoundEngine::MaxFrequencies);
    float* results = nullptr;
    Engine = std::make_unique<TSoundEngine>(settings, &results);
    Results.reset(results);
    m_soundSourceType = settings.soundSourceType;
    m_levelDirection = settings.algorithm;
    m_state = TState::Ready;
    m_pending = TPending::None;
    m_toneSounded = false;
    m_repeatTone = false;
    m_clinical.reset();
    if (m_levelDirection == ClinicalLevels) {
        STestSettings clinical = settings;
        clinical.frequencies = Frequencies;
        m_clinical = std::make_unique<TClinicalProcedure>(clinical, SteadySeconds, std::random_device{}());
    }
}

void TTestProcedure::Close()
{
    m_clinical.reset();
    Engine.reset();
    Results.reset();
    m_state = TState::Closed;
    m_pending = TPending::None;
}

bool TTestProcedure::Paused() const
{
    return m_state == TState::Ready || m_state == TState::Held || m_state == TState::SoundLost;
}

bool TTestProcedure::TimerOn() const
{
    return m_state == TState::Running || m_state == TState::Held;
}

const float* TTestProcedure::Finished() const
{
    return HasData ? Results.get() : nullptr;
}

TNext TTestProcedure::Tick()
{
    if (!IsOpen() || !TimerOn())
        return TNext::Nothing;
    if (m_clinical)
        return ClinicalTick();
    // While held the same tone sounds again; otherwise the level moves one step.
    if (Engine->NextTone(Paused() || m_repeatTone))
        return Record();
    // An answer missing in silence would read as hearing loss: the test waits for the sound.
    m_repeatTone = Engine->ToneFailed();
    if (m_repeatTone) {
        m_state = TState::SoundLost;
        return TNext::TellSoundLost;
    }
    m_toneSounded = true;
    return TNext::ShowPosition;
}

TNext TTestProcedure::Answer(bool hasName)
{
    if (m_clinical && m_state == TState::Running)
        return ClinicalAnswer();
    // A double press, or one meant for the tone before, must not record a level nobody heard.
    if ((m_state == TState::Running || m_state == TState::Held) && !m_toneSounded)
        return TNext::Nothing;
    if (m_state == TState::Running)
        return Record();
    if (m_state != TState::Ready && m_state != TState::Held)
        return TNext::Nothing;
    return TryStart(hasName, TPending::NameAfterAnswer) ? TNext::Nothing : TNext::AskForName;
}

TNext TTestProcedure::Start(bool hasName)
{
    if (m_state != TState::Ready && m_state != TState::Held && m_state != TState::SoundLost)
        return TNext::Nothing;
    return TryStart(hasName, TPending::NameAfterStart) ? TNext::Nothing : TNext::AskForName;
}

bool TTestProcedure::TryStart(bool hasName, TPending refusal)
{
    if (!hasName) {
        m_pending = refusal;
        return false;
    }
    // The first tone comes with the next tick; a held test goes on in the rhythm it had.
    m_state = TState::Running;
    m_toneSounded = false;
    return true;
}

TNext TTestProcedure::Stop()
{
    if (m_state != TState::Running)
        return TNext::Nothing;
    m_state = TState::Held;
    // The tones while held repeat one level and answer nothing of the search.
    if (m_clinical)
        m_clinical->Discard();
    return TNext::Nothing;
}

TNext TTestProcedure::Repeat()
{
    if (!IsOpen() || m_state == TState::Closed)
        return TNext::Nothing;
    if (m_clinical)
        m_clinical->Repeat();
    else
        Engine->StepBack();
    m_toneSounded = false;
    return TNext::ShowPosition;
}

TNext TTestProcedure::Exit()
{
    if (!IsOpen())
        return TNext::Nothing;
    m_state = TState::Closed;
    return TNext::CloseWithoutData;
}

TNext TTestProcedure::MessageClosed()
{
    const TPending pending = m_pending;
    m_pending = TPending::None;
    switch (pending) {
    case TPending::TurnHeadphones:
    case TPending::EarCheck:
        if (m_state != TState::ChangingEar)
            return TNext::Nothing;
        m_state = TState::Running;
        return TNext::ShowPosition;
    case TPending::NameAfterAnswer:
        // An answer before the start lets the person hear what a tone sounds like.
        if (m_state == TState::Ready)
            Engine->NextTone(true);
        return TNext::Nothing;
    case TPending::NameAfterStart:
    case TPending::None:
        break;
    }
    return TNext::Nothing;
}

TNext TTestProcedure::EarAnswered(TClinicalProcedure::TEarHeard heard)
{
    if (!m_clinical || m_pending != TPending::EarCheck)
        return TNext::Nothing;
    switch (m_clinical->EarAnswered(heard)) {
    case TClinicalProcedure::TEarCheck::Correct:
        m_pending = TPending::None;
        m_state = TState::Running;
        return TNext::ShowPosition;
    case TClinicalProcedure::TEarCheck::Wrong:
        m_earCheckKey = m_soundSourceType == RightEarphone ? QStringLiteral("MessWrongEarR")
                                                           : QStringLiteral("MessWrongEar");
        break;
    case TClinicalProcedure::TEarCheck::BothEars:
        m_earCheckKey = QStringLiteral("MessBothEars");
        break;
    }
    return TNext::TellEarCheck;
}

TNext TTestProcedure::ClinicalTick()
{
    // While held the same tone sounds again at its level.
    if (Paused())
        return PlayClinicalTone();
    switch (m_clinical->Onset()) {
    case TOnset::Tone:
        return PlayClinicalTone();
    case TOnset::Silence:
        return TNext::Nothing;
    case TOnset::PassComplete:
        CollectClinicalResults();
        return PassComplete();
    case TOnset::TestComplete:
        break;
    }
    CollectClinicalResults();
    return Complete();
}

TNext TTestProcedure::PlayClinicalTone()
{
    Engine->Ear = std::min(m_clinical->Ear(), 1);
    if (!Engine->GenerateAndPlay(Frequency(), TSoundEngine::TopLevel - m_clinical->Level(),
                                 Engine->Modulation, Engine->CalibrationLevel, Engine->CurrentChannel())) {
        m_clinical->Discard();
        m_state = TState::SoundLost;
        return TNext::TellSoundLost;
    }
    m_toneSounded = true;
    return TNext::ShowPosition;
}

TNext TTestProcedure::ClinicalAnswer()
{
    if (m_clinical->Answer() != TClinicalProcedure::TAnswer::AskWhichEar)
        return TNext::Nothing;
    m_state = TState::ChangingEar;
    m_pending = TPending::EarCheck;
    return TNext::AskWhichEar;
}

void TTestProcedure::CollectClinicalResults()
{
    std::copy(m_clinical->Results().begin(), m_clinical->Results().end(), Results.get());
}

TNext TTestProcedure::Record()
{
    m_toneSounded = false;
    switch (Engine->RecordHeard()) {
    case TSoundEngine::SamePassGoesOn:
        return TNext::ShowPosition;
    case TSoundEngine::PassComplete:
        return PassComplete();
    case TSoundEngine::TestComplete:
        break;
    }
    return Complete();
}

TNext TTestProcedure::PassComplete()
{
    switch (m_soundSourceType) {
    case BothEarphones:
        // Both ears heard every tone: the one pass counts for both.
        Engine->CopyLeftToRight();
        return Complete();
    case EarUnderTest:
        return TNext::ShowPosition;
    default:
        m_state = TState::ChangingEar;
        m_pending = TPending::TurnHeadphones;
        return TNext::AskToTurnHeadphones;
    }
}

TNext TTestProcedure::Complete()
{
    m_state = TState::Closed;
    HasData = true;
    return TNext::CloseWithData;
}

float TTestProcedure::Frequency() const
{
    if (!IsOpen())
        return 0.0f;
    const int index = m_clinical ? m_clinical->FrequencyIndex() : Engine->FreqIndex;
    return index < 0 || index >= Frequencies.size() ? 0.0f : Frequencies.at(index);
}

float TTestProcedure::Level() const
{
    if (!IsOpen())
        return 0.0f;
    return m_clinical ? m_clinical->Level() : TSoundEngine::TopLevel - Engine->Attenuation;
}

TTestProcedure::TEarShown TTestProcedure::EarShown() const
{
    if (m_soundSourceType == BothEarphones)
        return TEarShown::Both;
    if (!IsOpen())
        return TEarShown::Left;
    return (m_clinical ? m_clinical->Ear() : Engine->Ear) > 0 ? TEarShown::Right : TEarShown::Left;
}

int TTestProcedure::FrequencyNumber() const
{
    if (!IsOpen())
        return 0;
    return m_clinical ? m_clinical->StepNumber() : Engine->FreqIndex + 1;
}

// The clinical order holds 1000 Hz twice.
int TTestProcedure::FrequencyCount() const
{
    return m_clinical ? m_clinical->StepCount() : int(Frequencies.size());
}

int TTestProcedure::IntervalMs() const
{
    return m_clinical ? m_clinical->IntervalMs() : TToneTimer::TickMilliseconds;
}

QString TTestProcedure::ProcedureName() const
{
    return m_clinical ? QStringLiteral("clinical") : QString();
}

// One pass through both earphones counts for both ears.
SEarReliability TTestProcedure::Reliability(int ear) const
{
    if (!m_clinical)
        return {};
    return m_clinical->Reliability(m_soundSourceType == BothEarphones ? 0 : ear);
}

QString TTestProcedure::InstructionKey() const
{
    const char* const earphones[] = {"Left", "Right", "Ear", "Both"};
    const char* const directions[] = {"Up", "Down", "Clinical"};
    const int32_t source = std::clamp<int32_t>(m_soundSourceType, LeftEarphone, BothEarphones);
    const int direction = std::clamp<int>(m_levelDirection, AscendingLevels, ClinicalLevels);
    return QStringLiteral("StrInstruction%1%2")
        .arg(QLatin1String(earphones[source]), QLatin1String(directions[direction]));
}

QString TTestProcedure::TurnHeadphonesKey() const
{
    return m_soundSourceType == RightEarphone ? QStringLiteral("MessLeftFinishedR")
                                              : QStringLiteral("MessLeftFinished");
}

bool TTestProcedure::NamesGiven(const QString& name, const QString& surname)
{
    return !name.isEmpty() || !surname.isEmpty();
}
