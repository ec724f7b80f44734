// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataEngineFixture.h"

#include "charts/Graph.h"
#include "lang/Lang.h"
#include "support/MessageRecorder.h"

#include <cmath>
#include <limits>
#include <vector>

namespace {

using TRows = QVector<SDataPoint>;

// Measurements whose rows carry reference values of their own, which a new reference ignores.
void LoadMeasurements(TDataEngine& engine, const std::vector<TRows>& measurements)
{
    for (const TRows& rows : measurements) {
        SData* record = engine.NewData();
        for (const SDataPoint& row : rows)
            engine.AddPoint(record, row);
    }
}

// A reference row: the computed levels in the level and the reference columns alike.
SDataPoint Built(float freq, float left, float right)
{
    return {freq, left, right, left, right};
}

} // namespace

TEST(ReferenceTest, CreateReferenceCombinesTheLevelsOfEveryFrequencyInAscendingOrder)
{
    struct SCase
    {
        const char* what;
        std::vector<TRows> measurements;
        int algorithm;
        TRows expected;
    };
    const TRows twentyAndThirty[] = {{{1000, 20, 35, 10, 15}}, {{1000, 30, 25, 10, 15}}};
    const SCase cases[] = {
        {"minimum",
         {twentyAndThirty[0], twentyAndThirty[1]},
         TDataEngine::MinimumLevels,
         {Built(1000, 20, 25)}},
        {"mean", {twentyAndThirty[0], twentyAndThirty[1]}, TDataEngine::MeanLevels, {Built(1000, 25, 30)}},
        {"a frequency only one measurement has",
         {{{500, 15, 20, 5, 5}, {1000, 20, 20, 5, 5}}, {{1000, 30, 40, 5, 5}}},
         TDataEngine::MeanLevels,
         {Built(500, 15, 20), Built(1000, 25, 30)}},
        {"1000 and 1000.5 Hz apart",
         {{{1000, 20, 20, 0, 0}}, {{1000.5f, 30, 30, 0, 0}}},
         TDataEngine::MinimumLevels,
         {Built(1000, 20, 20), Built(1000.5f, 30, 30)}},
        {"frequencies merged in order",
         {{{1000, 3, 4, 0, 0}, {4000, 9, 10, 0, 0}},
          {{500, 1, 2, 0, 0}, {1000, 7, 8, 0, 0}, {2000, 5, 6, 0, 0}}},
         TDataEngine::MinimumLevels,
         {Built(500, 1, 2), Built(1000, 3, 4), Built(2000, 5, 6), Built(4000, 9, 10)}},
        {"an unknown algorithm",
         {twentyAndThirty[0], {{500, 40, 40, 0, 0}}},
         2,
         {Built(500, 0, 0), Built(1000, 0, 0)}},
        {"levels above the starting minimum",
         {{{1000, 2e6f, 20, 0, 0}}},
         TDataEngine::MinimumLevels,
         {Built(1000, 1e6f, 20)}},
        {"no measurement", {}, TDataEngine::MeanLevels, {}},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        SDataStore store;
        LoadMeasurements(store.engine, c.measurements);
        store.engine.reference.name = QStringLiteral("HD 201");
        store.engine.reference.points = {Built(250, 1, 1)};
        store.engine.CreateReference(c.algorithm);
        EXPECT_EQ(store.engine.reference.points, c.expected);
        EXPECT_EQ(store.engine.reference.name, QStringLiteral("HD 201"));
        EXPECT_FALSE(store.engine.IsModified());
        EXPECT_EQ(store.engine.leftGraph->SeriesCount, int(c.measurements.size()));
        for (size_t i = 0; i < c.measurements.size(); ++i)
            EXPECT_EQ(store.engine.datas[i]->points, c.measurements[i]);
    }
}

TEST(ReferenceTest, AReferenceOfConfirmedTestsPoolsTheirFigures)
{
    const auto ear = [](int32_t falseAlarms, float retest, QVector<float> unreliable) {
        SEarReliability figures;
        figures.presentations = 80;
        figures.catchTrials = 10;
        figures.falseAlarms = falseAlarms;
        figures.retestDifference = retest;
        figures.retestFlagged = std::abs(retest) > RetestToleranceDb;
        figures.unreliable = unreliable;
        figures.seconds = 300;
        return figures;
    };
    const auto confirmed = [](SEarReliability left, SEarReliability right) {
        SData record;
        record.procedure = QStringLiteral("clinical");
        record.leftReliability = left;
        record.rightReliability = right;
        return record;
    };
    constexpr float notMeasured = std::numeric_limits<float>::quiet_NaN();
    SEarReliability pooledLeft = ear(3, -10, {250, 1000, 8000});
    pooledLeft.presentations = 160;
    pooledLeft.catchTrials = 20;
    pooledLeft.seconds = 600;
    SEarReliability pooledRight = ear(0, 5, {});
    pooledRight.presentations = 160;
    pooledRight.catchTrials = 20;
    pooledRight.seconds = 600;
    struct SCase
    {
        const char* what;
        std::vector<SData> measurements;
        QString procedure;
        SEarReliability left;
        SEarReliability right;
    };
    const SCase cases[] = {
        {"counts add up, the largest retest and every doubtful frequency stay",
         {confirmed(ear(1, 5, {1000, 8000}), ear(0, notMeasured, {})),
          confirmed(ear(2, -10, {250, 1000}), ear(0, 5, {}))},
         QStringLiteral("clinical"),
         pooledLeft,
         pooledRight},
        {"one unconfirmed test makes the reference unconfirmed",
         {confirmed(ear(1, 5, {1000}), ear(0, 5, {})), SData()},
         QString(),
         SEarReliability(),
         SEarReliability()},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        SDataStore store;
        for (const SData& measurement : c.measurements) {
            *store.engine.NewData() = measurement;
            store.engine.AddPoint(store.engine.datas.back().get(), {1000, 20, 20, 0, 0});
        }
        store.engine.reference = confirmed(ear(9, 20, {125}), ear(9, 20, {125}));
        store.engine.CreateReference(TDataEngine::MinimumLevels);
        EXPECT_EQ(store.engine.reference.procedure, c.procedure);
        EXPECT_EQ(store.engine.reference.leftReliability, c.left);
        EXPECT_EQ(store.engine.reference.rightReliability, c.right);
    }
}

TEST(ReferenceTest, ChangeReferenceCopiesExactMatchesAndReportsEachMissingRow)
{
    SDataStore store;
    store.engine.referenceOn = true;
    const TRows measurement = {
        {500, 30, 40, 10, 10}, {750, 30, 40, 7, 8}, {1000, 30, 40, 10, 10}, {100000, 30, 40, 9, 9}};
    LoadMeasurements(store.engine, {measurement, measurement, {}});
    store.engine.reference.points = {Built(500, 3, 4), Built(1000, 5, 6)};
    TMessageRecorder messages;
    store.engine.ChangeReference();

    QStringList expectedTexts;
    for (int record = 0; record < 2; ++record) {
        for (const char* freq : {"750", "100000"})
            expectedTexts.append(gLang.GetString(QStringLiteral("MessDataRefNoFreq")) + QLatin1String(freq) +
                                 gLang.GetString(QStringLiteral("MessDataNearFreq")));
    }
    EXPECT_EQ(messages.Texts(), expectedTexts);
    for (const SMessageRequest& request : messages.requests) {
        EXPECT_EQ(request.owner, nullptr);
        EXPECT_EQ(request.caption, QStringLiteral("Kelvarion"));
        EXPECT_EQ(request.buttons, QMessageBox::Ok);
        EXPECT_EQ(request.icon, QMessageBox::Information);
    }
    const TRows expected = {
        {500, 30, 40, 3, 4}, {750, 30, 40, 7, 8}, {1000, 30, 40, 5, 6}, {100000, 30, 40, 9, 9}};
    for (const auto& record : store.engine.datas) {
        EXPECT_TRUE(record->modified);
        if (!record->points.isEmpty())
            EXPECT_EQ(record->points, expected);
    }
    const QVector<SGraphPoint> plotted = store.engine.leftGraph->Series.at(1).Points;
    ASSERT_EQ(plotted.size(), 4);
    EXPECT_EQ(plotted[0].level, 27.0);
    EXPECT_EQ(plotted[1].level, 23.0);
}
