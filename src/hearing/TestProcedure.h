// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/Data.h"
#include "hearing/ClinicalProcedure.h"

#include <QString>
#include <QVector>

#include <cstdint>
#include <memory>

class TSoundEngine;
struct STestSettings;

// One hearing test as the person under test goes through it: the states of the test window and
// what each of its events does. The window only wires its events here and does what each call
// answers; the tone timer only calls Tick(), so a whole test can be stepped through without a
// window or a real second.
class TTestProcedure
{
public:
    enum class TState
    {
        Ready,
        Running,
        Held,
        ChangingEar,
        // A tone could not sound: held with the timer off until Start.
        SoundLost,
        Closed
    };
    // What the window must do after an event.
    enum class TNext
    {
        Nothing,
        ShowPosition,
        // Tell the person to type a name, then report MessageClosed().
        AskForName,
        // Tell the person to turn the headphones round, then report MessageClosed().
        AskToTurnHeadphones,
        // Tell the person that the sound went away, then report MessageClosed().
        TellSoundLost,
        // Ask in which ear the tone was heard, then report EarAnswered().
        AskWhichEar,
        // Tell the person what the ear check found (EarCheckKey()), then report MessageClosed().
        TellEarCheck,
        CloseWithData,
        CloseWithoutData,
    };
    // Which ear the current pass measures, as the progress line names it.
    enum class TEarShown
    {
        Left,
        Right,
        Both
    };

    TTestProcedure();
    ~TTestProcedure();
    TTestProcedure(const TTestProcedure&) = delete;
    TTestProcedure& operator=(const TTestProcedure&) = delete;

    // A new test with these settings' frequencies (at most the first 100), levels, step,
    // earphone and level direction; the sound engine takes over the output volume until Close().
    void Open(const STestSettings& settings);
    TNext Tick();
    TNext Answer(bool hasName);
    TNext Start(bool hasName);
    TNext Stop();
    TNext Repeat();
    TNext Exit();
    // The message asked for has been closed by the person.
    TNext MessageClosed();
    TNext EarAnswered(TClinicalProcedure::TEarHeard heard);
    // Stops the tones, gives the output volume back and forgets the test.
    void Close();

    bool IsOpen() const { return Engine != nullptr; }
    TState State() const { return m_state; }
    bool Paused() const;
    bool TimerOn() const;
    // The result block of a completed test, or null while the test is not complete.
    const float* Finished() const;

    float Frequency() const;
    float Level() const;
    TEarShown EarShown() const;
    // Counted from 1.
    int FrequencyNumber() const;
    int FrequencyCount() const;
    // The clinical direction: tones at irregular onsets, no level on screen.
    bool Clinical() const { return m_clinical != nullptr; }
    // From this onset to the next.
    int IntervalMs() const;
    // "clinical", or empty for the one-answer directions.
    QString ProcedureName() const;
    SEarReliability Reliability(int ear) const;

    // The language keys of the instructions above the test and of the message between the
    // passes, true for this test's earphone setting and level direction.
    QString InstructionKey() const;
    QString TurnHeadphonesKey() const;
    QString EarCheckKey() const { return m_earCheckKey; }

    // A test starts only for somebody: a first name or a surname.
    static bool NamesGiven(const QString& name, const QString& surname);

    std::unique_ptr<TSoundEngine> Engine;
    // The engine's result block, released after the engine.
    std::unique_ptr<float[]> Results;
    bool HasData = false;
    QVector<float> Frequencies;

private:
    enum class TPending
    {
        None,
        NameAfterAnswer,
        NameAfterStart,
        TurnHeadphones,
        EarCheck
    };

    TNext Record();
    TNext PassComplete();
    TNext Complete();
    bool TryStart(bool hasName, TPending refusal);
    TNext ClinicalTick();
    TNext ClinicalAnswer();
    TNext PlayClinicalTone();
    void CollectClinicalResults();

    TState m_state = TState::Closed;
    TPending m_pending = TPending::None;
    int32_t m_soundSourceType = 0;
    int8_t m_levelDirection = 0;
    // A tone of the current frequency has sounded since the last answer, start, repeat or
    // change of ear: only then does an answer count.
    bool m_toneSounded = false;
    // The tone that could not sound is played again at its level before the level moves on.
    bool m_repeatTone = false;
    std::unique_ptr<TClinicalProcedure> m_clinical;
    QString m_earCheckKey;
};
