// SPDX-License-Identifier: GPL-3.0-or-later
#include "hearing/TestProcedure.h"

#include "settings/Options.h"
#include "settings/TestSettings.h"
#include "sound/SoundEngine.h"

#include <algorithm>

using TNext = TTestProcedure::TNext;
using TState = TTestProcedure::TState;

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
}

void TTestProcedure::Close()
{
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
    if (m_state == TState::Running)
        m_state = TState::Held;
    return TNext::Nothing;
}

TNext TTestProcedure::Repeat()
{
    if (!IsOpen() || m_state == TState::Closed)
        return TNext::Nothing;
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
    if (!IsOpen() || Engine->FreqIndex < 0 || Engine->FreqIndex >= Engine->Frequencies.size())
        return 0.0f;
    return Engine->Frequencies.at(Engine->FreqIndex);
}

float TTestProcedure::Level() const
{
    return IsOpen() ? TSoundEngine::TopLevel - Engine->Attenuation : 0.0f;
}

TTestProcedure::TEarShown TTestProcedure::EarShown() const
{
    if (m_soundSourceType == BothEarphones)
        return TEarShown::Both;
    return IsOpen() && Engine->Ear > 0 ? TEarShown::Right : TEarShown::Left;
}

int TTestProcedure::FrequencyNumber() const
{
    return IsOpen() ? Engine->FreqIndex + 1 : 0;
}

QString TTestProcedure::InstructionKey() const
{
    const char* const earphones[] = {"Left", "Right", "Ear", "Both"};
    const int32_t source = std::clamp<int32_t>(m_soundSourceType, LeftEarphone, BothEarphones);
    return QStringLiteral("StrInstruction%1%2")
        .arg(QLatin1String(earphones[source]),
             m_levelDirection == DescendingLevels ? QLatin1String("Down") : QLatin1String("Up"));
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
