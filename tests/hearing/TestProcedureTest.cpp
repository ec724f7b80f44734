// SPDX-License-Identifier: GPL-3.0-or-later
// The hearing test stepped through tick by tick, without a window or a real second; the tones
// go into ALSA's null device.
#include "sound/NullAlsaDevice.h"

#include "hearing/TestProcedure.h"
#include "hearing/ToneDisplay.h"
#include "lang/Lang.h"
#include "settings/Options.h"
#include "settings/TestSettings.h"
#include "sound/SoundEngine.h"
#include "support/MessageRecorder.h"
#include "support/ScopedValue.h"

#include <QLocale>
#include <QSet>

#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <vector>

namespace {

using TNext = TTestProcedure::TNext;
using TState = TTestProcedure::TState;

// The settings of a test of this list, from level 0 to 80.
STestSettings Settings(const QString& frequencies, int32_t soundSource = LeftEarphone,
                       int8_t algorithm = AscendingLevels, float step = 2.0f)
{
    STestSettings settings;
    for (const QString& frequency : frequencies.split(QLatin1Char(',')))
        settings.frequencies.append(frequency.toFloat());
    settings.maxLevel = 80.0f;
    settings.signedDelta = algorithm == DescendingLevels ? -step : step;
    settings.soundSourceType = soundSource;
    settings.algorithm = algorithm;
    settings.calibrationLevel = 6553;
    return settings;
}

class TestProcedureTest : public ::testing::Test
{
public:
    static void SetUpTestSuite() { UseNullAlsaDevice(); }

    // Opened and started for somebody, before the first tick.
    void Begin()
    {
        procedure.Open(settings);
        ASSERT_EQ(procedure.Start(true), TNext::Nothing);
    }

    // Ticks until the tone of this level has sounded; what the last tick asked for.
    TNext TickUntil(float level)
    {
        TNext next = TNext::Nothing;
        for (int tick = 0; tick < 200; ++tick) {
            next = procedure.Tick();
            if (procedure.Level() == level || next != TNext::ShowPosition)
                return next;
        }
        ADD_FAILURE() << "level " << level << " never sounded";
        return next;
    }

    // Answers at each level in turn, one frequency after another; what the last answer asked for.
    TNext AnswerAt(const std::vector<float>& levels)
    {
        TNext next = TNext::Nothing;
        for (float level : levels) {
            EXPECT_EQ(TickUntil(level), TNext::ShowPosition) << "level " << level;
            next = procedure.Answer(true);
        }
        return next;
    }

    std::vector<float> Column(int ear) const
    {
        std::vector<float> column;
        for (int i = 0; i < procedure.FrequencyCount(); ++i)
            column.push_back(procedure.Results[ear * TSoundEngine::MaxFrequencies + i]);
        return column;
    }

    bool TonePlayed() const { return !procedure.Engine->WaveImage().empty(); }

    STestSettings settings;
    TTestProcedure procedure;
};

TEST_F(TestProcedureTest, AnAnswerBeforeTheStartStartsForSomebodyAndOtherwiseAsksAndPlaysATone)
{
    struct SCase
    {
        const char* what;
        bool answer;
        bool namesGiven;
        TNext next;
        TState state;
        bool toneAfterMessage;
    };
    const SCase cases[] = {
        {"answer without a name", true, false, TNext::AskForName, TState::Ready, true},
        {"answer with a name", true, true, TNext::Nothing, TState::Running, false},
        {"start without a name", false, false, TNext::AskForName, TState::Ready, false},
        {"start with a name", false, true, TNext::Nothing, TState::Running, false},
    };
    settings = Settings(QStringLiteral("1000,2000"));
    for (const SCase& c : cases) {
        procedure.Open(settings);
        EXPECT_EQ(c.answer ? procedure.Answer(c.namesGiven) : procedure.Start(c.namesGiven), c.next)
            << c.what;
        if (c.next == TNext::AskForName)
            EXPECT_EQ(procedure.MessageClosed(), TNext::Nothing) << c.what;
        EXPECT_EQ(procedure.State(), c.state) << c.what;
        EXPECT_EQ(procedure.TimerOn(), c.state == TState::Running) << c.what;
        EXPECT_EQ(TonePlayed(), c.toneAfterMessage) << c.what;
        EXPECT_EQ(procedure.Level(), 0.0f) << c.what;
        EXPECT_EQ(procedure.FrequencyNumber(), 1) << c.what;
    }
}

TEST_F(TestProcedureTest, TicksPlayTheStartLevelFirstThenMoveOneStepEach)
{
    struct SCase
    {
        int8_t algorithm;
        float step;
        std::vector<float> levels;
    };
    const SCase cases[] = {
        {AscendingLevels, 2.0f, {0, 2, 4, 6}},
        {DescendingLevels, 2.0f, {80, 78, 76, 74}},
        {AscendingLevels, 5.0f, {0, 5, 10, 15}},
    };
    for (const SCase& c : cases) {
        settings = Settings(QStringLiteral("1000"), LeftEarphone, c.algorithm, c.step);
        Begin();
        EXPECT_FALSE(TonePlayed()) << "no tone before the first tick";
        for (float level : c.levels) {
            EXPECT_EQ(procedure.Tick(), TNext::ShowPosition);
            EXPECT_EQ(procedure.Level(), level) << "algorithm " << int(c.algorithm);
            EXPECT_TRUE(TonePlayed());
        }
    }
}

TEST_F(TestProcedureTest, UnansweredFrequencyRecordsTheLevelOneStepPastTheRange)
{
    struct SCase
    {
        int8_t algorithm;
        float recorded;
    };
    for (const SCase& c : {SCase{AscendingLevels, 82.0f}, SCase{DescendingLevels, -2.0f}}) {
        settings = Settings(QStringLiteral("1000,2000"), LeftEarphone, c.algorithm);
        Begin();
        int ticks = 0;
        while (procedure.FrequencyNumber() == 1 && ticks < 100) {
            EXPECT_EQ(procedure.Tick(), TNext::ShowPosition);
            ++ticks;
        }
        // 41 tones from one end of 0..80 to the other, then the tick that finds the range used up.
        EXPECT_EQ(ticks, 42) << "algorithm " << int(c.algorithm);
        EXPECT_EQ(procedure.Results[0], c.recorded) << "algorithm " << int(c.algorithm);
        EXPECT_EQ(procedure.Level(), c.algorithm == AscendingLevels ? 0.0f : 80.0f);
        EXPECT_EQ(procedure.State(), TState::Running);
    }
}

TEST_F(TestProcedureTest, StopHoldsTheLevelAndAnAnswerThenResumesWithoutRecording)
{
    settings = Settings(QStringLiteral("1000,2000"));
    Begin();
    TickUntil(4);
    procedure.Stop();
    EXPECT_EQ(procedure.State(), TState::Held);
    EXPECT_TRUE(procedure.TimerOn());
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_EQ(procedure.Tick(), TNext::ShowPosition);
        EXPECT_EQ(procedure.Level(), 4.0f);
    }
    EXPECT_EQ(procedure.Answer(true), TNext::Nothing);
    EXPECT_EQ(procedure.State(), TState::Running);
    EXPECT_EQ(procedure.FrequencyNumber(), 1);
    EXPECT_EQ(procedure.Results[0], 0.0f);
    procedure.Tick();
    EXPECT_EQ(procedure.Level(), 6.0f);

    // Held with the names emptied: the message comes while the tone goes on repeating.
    procedure.Stop();
    EXPECT_EQ(procedure.Answer(false), TNext::AskForName);
    EXPECT_EQ(procedure.Tick(), TNext::ShowPosition);
    EXPECT_EQ(procedure.Level(), 6.0f);
    EXPECT_EQ(procedure.MessageClosed(), TNext::Nothing);
    EXPECT_EQ(procedure.State(), TState::Held);
}

TEST_F(TestProcedureTest, RepeatGoesBackOneFrequencyAtTheStartLevel)
{
    struct SCase
    {
        const char* what;
        int32_t soundSource;
        std::vector<float> answers;
        int32_t ear;
        int frequencyNumber;
    };
    const SCase cases[] = {
        {"first frequency of the first pass", EarUnderTest, {}, 0, 1},
        {"second frequency", EarUnderTest, {10}, 0, 1},
        {"first frequency of the second pass, tested ear's earphone", EarUnderTest, {10, 20}, 0, 2},
        {"first frequency of the second pass, left earphone", LeftEarphone, {10, 20}, 1, 1},
        {"first frequency of the second pass, right earphone", RightEarphone, {10, 20}, 1, 1},
    };
    for (const SCase& c : cases) {
        settings = Settings(QStringLiteral("1000,2000"), c.soundSource);
        Begin();
        if (AnswerAt(c.answers) == TNext::AskToTurnHeadphones)
            procedure.MessageClosed();
        TickUntil(6);
        EXPECT_EQ(procedure.Repeat(), TNext::ShowPosition) << c.what;
        EXPECT_EQ(procedure.Engine->Ear, c.ear) << c.what;
        EXPECT_EQ(procedure.FrequencyNumber(), c.frequencyNumber) << c.what;
        EXPECT_EQ(procedure.Level(), 0.0f) << c.what;
        procedure.Tick();
        EXPECT_EQ(procedure.Level(), 0.0f) << c.what << ": the next tone is at the start level";
    }
}

TEST_F(TestProcedureTest, ASecondPressBeforeTheNextToneRecordsNothing)
{
    struct SCase
    {
        const char* what;
        std::function<void(TestProcedureTest&)> before;
    };
    const SCase cases[] = {
        {"after an answer", [](TestProcedureTest& t) { t.AnswerAt({4}); }},
        {"after an answer that started the test",
         [](TestProcedureTest& t) { t.procedure.Open(t.settings), t.procedure.Answer(true); }},
        {"after Start resumed a held test",
         [](TestProcedureTest& t) {
             t.TickUntil(4), t.procedure.Stop(), t.procedure.Tick(), t.procedure.Start(true);
         }},
        {"after Repeat", [](TestProcedureTest& t) { t.AnswerAt({4}), t.TickUntil(2), t.procedure.Repeat(); }},
        {"after the change of ear",
         [](TestProcedureTest& t) {
             t.AnswerAt({4, 6, 8}), t.procedure.MessageClosed();
         }},
        {"held after an answer", [](TestProcedureTest& t) { t.AnswerAt({4}), t.procedure.Stop(); }},
    };
    for (const SCase& c : cases) {
        settings = Settings(QStringLiteral("1000,2000,500"));
        Begin();
        c.before(*this);
        const std::vector<float> results(procedure.Results.get(),
                                         procedure.Results.get() + TSoundEngine::ResultCount);
        const TState state = procedure.State();
        const int number = procedure.FrequencyNumber();
        const int32_t ear = procedure.Engine->Ear;
        EXPECT_EQ(procedure.Answer(true), TNext::Nothing) << c.what;
        EXPECT_EQ(
            std::vector<float>(procedure.Results.get(), procedure.Results.get() + TSoundEngine::ResultCount),
            results)
            << c.what;
        EXPECT_EQ(procedure.State(), state) << c.what;
        EXPECT_EQ(procedure.FrequencyNumber(), number) << c.what;
        EXPECT_EQ(procedure.Engine->Ear, ear) << c.what;
        // Once a tone has sounded, the answer counts again.
        procedure.Tick();
        procedure.Answer(true);
        EXPECT_TRUE(procedure.FrequencyNumber() != number || procedure.State() != state) << c.what;
    }
}

TEST_F(TestProcedureTest, TheEndOfTheFirstPassFollowsTheEarphoneSetting)
{
    struct SCase
    {
        int32_t soundSource;
        TNext atPassEnd;
        int32_t secondPassChannel;
        TTestProcedure::TEarShown secondPassShown;
        const char* turnKey;
    };
    const SCase cases[] = {
        {LeftEarphone, TNext::AskToTurnHeadphones, 0, TTestProcedure::TEarShown::Right, "MessLeftFinished"},
        {RightEarphone, TNext::AskToTurnHeadphones, 1, TTestProcedure::TEarShown::Right, "MessLeftFinishedR"},
        {EarUnderTest, TNext::ShowPosition, 1, TTestProcedure::TEarShown::Right, nullptr},
        {BothEarphones, TNext::CloseWithData, 3, TTestProcedure::TEarShown::Both, nullptr},
    };
    for (const SCase& c : cases) {
        settings = Settings(QStringLiteral("1000,2000"), c.soundSource);
        Begin();
        EXPECT_EQ(AnswerAt({10, 20}), c.atPassEnd) << "source " << c.soundSource;
        EXPECT_EQ(procedure.EarShown(), c.secondPassShown) << "source " << c.soundSource;
        if (c.atPassEnd == TNext::CloseWithData) {
            EXPECT_EQ(procedure.State(), TState::Closed);
            ASSERT_NE(procedure.Finished(), nullptr);
            EXPECT_EQ(Column(0), (std::vector<float>{10, 20}));
            EXPECT_EQ(Column(1), Column(0));
            continue;
        }
        if (c.atPassEnd == TNext::AskToTurnHeadphones) {
            EXPECT_EQ(procedure.State(), TState::ChangingEar);
            EXPECT_EQ(procedure.TurnHeadphonesKey(), QLatin1String(c.turnKey));
            EXPECT_FALSE(procedure.TimerOn()) << "source " << c.soundSource;
            EXPECT_EQ(procedure.Tick(), TNext::Nothing);
            EXPECT_EQ(procedure.MessageClosed(), TNext::ShowPosition);
        }
        EXPECT_EQ(procedure.State(), TState::Running);
        EXPECT_EQ(procedure.Finished(), nullptr);
        EXPECT_EQ(TickUntil(0), TNext::ShowPosition);
        EXPECT_EQ(procedure.Engine->CurrentChannel(), c.secondPassChannel) << "source " << c.soundSource;
        EXPECT_EQ(AnswerAt({30, 40}), TNext::CloseWithData) << "source " << c.soundSource;
        ASSERT_NE(procedure.Finished(), nullptr);
        EXPECT_EQ(Column(0), (std::vector<float>{10, 20}));
        EXPECT_EQ(Column(1), (std::vector<float>{30, 40}));
        EXPECT_EQ(procedure.Tick(), TNext::Nothing) << "a tick after the end plays nothing";
    }
}

// Each earphone setting and level direction has instructions of its own in every language.
TEST_F(TestProcedureTest, TheInstructionsFollowTheEarphoneAndTheLevelDirection)
{
    const std::tuple<int32_t, int8_t, const char*> cases[] = {
        {LeftEarphone, AscendingLevels, "StrInstructionLeftUp"},
        {LeftEarphone, DescendingLevels, "StrInstructionLeftDown"},
        {RightEarphone, AscendingLevels, "StrInstructionRightUp"},
        {RightEarphone, DescendingLevels, "StrInstructionRightDown"},
        {EarUnderTest, AscendingLevels, "StrInstructionEarUp"},
        {EarUnderTest, DescendingLevels, "StrInstructionEarDown"},
        {BothEarphones, AscendingLevels, "StrInstructionBothUp"},
        {BothEarphones, DescendingLevels, "StrInstructionBothDown"},
    };
    for (const auto& [source, algorithm, key] : cases) {
        settings = Settings(QStringLiteral("1000"), source, algorithm);
        procedure.Open(settings);
        EXPECT_EQ(procedure.InstructionKey(), QLatin1String(key));
    }
    gLang.ChangeLangSym(QStringLiteral("en"));
    const QString unknown = gLang.GetSectionString(QStringLiteral("NoSuchKey"), QStringLiteral("TestForm"));
    for (const QString& symbol : gLang.LangSymbols) {
        gLang.ChangeLangSym(symbol);
        QSet<QString> texts;
        for (const auto& [source, algorithm, key] : cases)
            texts.insert(gLang.GetSectionString(QLatin1String(key), QStringLiteral("TestForm")));
        EXPECT_EQ(texts.size(), qsizetype(std::size(cases))) << symbol.toStdString();
        EXPECT_FALSE(texts.contains(unknown)) << symbol.toStdString();
    }
    gLang.ChangeLangSym(QStringLiteral("en"));
}

TEST_F(TestProcedureTest, TheFrequencyListIsTheSettingsListAsFarAsItCanBeRead)
{
    QStringList hundredAndTen;
    for (int i = 0; i < 110; ++i)
        hundredAndTen.append(QString::number(100 + i * 10));
    struct SCase
    {
        QString list;
        int count;
        float first;
        int messages;
    };
    const SCase cases[] = {
        {QStringLiteral("2000,500"), 2, 2000.0f, 0},
        {hundredAndTen.join(QLatin1Char(',')), TSoundEngine::MaxFrequencies, 100.0f, 0},
        {QStringLiteral("abc"), 1, 1000.0f, 1},
        {QStringLiteral("500,x,2000"), 1, 500.0f, 1},
    };
    const TScopedValue list(gOptions.FreqListIndex, OwnFreqList);
    for (const SCase& c : cases) {
        const TScopedValue own(FreqPresets[OwnFreqList], c.list);
        TMessageRecorder messages;
        procedure.Open(CurrentTestSettings(gOptions));
        EXPECT_EQ(procedure.FrequencyCount(), c.count) << c.list.left(20).toStdString();
        EXPECT_EQ(procedure.Frequency(), c.first) << c.list.left(20).toStdString();
        EXPECT_EQ(messages.requests.size(), c.messages) << c.list.left(20).toStdString();
    }
}

TEST(ToneDisplay, FrequencyInWholeHertzAndLevelInTwoSignificantDigits)
{
    const std::pair<float, const char*> frequencies[] = {
        {1000.0f, "1000Hz"}, {999.6f, "1000Hz"}, {12500.0f, "12500Hz"}};
    for (const auto& [hertz, text] : frequencies)
        EXPECT_EQ(FrequencyDisplay(hertz), QLatin1String(text)) << hertz;
    const std::pair<float, const char*> levels[] = {
        {42.3f, "42.0dB"},      {8.5f, "8.5dB"},  {82.0f, "82.0dB"}, {0.0f, "0.0dB"},
        {-20.0007f, "-20.0dB"}, {1.26f, "1.3dB"}, {-2.0f, "-2.0dB"},
    };
    for (const auto& [decibels, text] : levels)
        EXPECT_EQ(LevelDisplay(decibels),
                  QString::fromLatin1(text).replace(QLatin1Char('.'), QLocale().decimalPoint()))
            << decibels;
}

} // namespace
