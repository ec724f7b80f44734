// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataEngineFixture.h"

#include "charts/Graph.h"
#include "lang/Lang.h"
#include "settings/Options.h"
#include "support/MessageRecorder.h"
#include "widgets/Image.h"

#include <array>

namespace {

QVector<SGraphPoint> PlottedPoints(const TGraph& graph, int series)
{
    return graph.Series.at(size_t(series)).Points;
}

std::array<float, 200> Results(std::initializer_list<std::pair<float, float>> thresholds)
{
    std::array<float, 200> results{};
    int i = 0;
    for (const auto& [left, right] : thresholds) {
        results[size_t(i)] = left;
        results[size_t(100 + i)] = right;
        ++i;
    }
    return results;
}

} // namespace

TEST(DataEngineTest, ReferenceAtMatchesFrequenciesExactlyElseTenDecibels)
{
    SDataStore store;
    store.engine.reference.points = {{0.0f, 0, 0, 1, 1}, {1000.0f, 0, 0, 5, 7}, {1000.0f, 0, 0, 8, 8}};
    struct SCase
    {
        float freq;
        float leftRef;
        float rightRef;
    };
    const SCase cases[] = {{1000.0f, 5, 7}, {1000.5f, 10, 10}, {750.0f, 10, 10}, {0.0f, 10, 10}};
    for (const SCase& c : cases) {
        const auto [leftRef, rightRef] = store.engine.ReferenceAt(c.freq);
        EXPECT_EQ(leftRef, c.leftRef) << c.freq;
        EXPECT_EQ(rightRef, c.rightRef) << c.freq;
    }
}

TEST(DataEngineTest, PlottedValuesFollowTheReferenceSwitchAndTheReferenceIsNeverPlotted)
{
    SDataStore store;
    SData* record = store.engine.NewData();
    store.engine.AddPoint(record, {1000.0f, 30.0f, 40.0f, 10.0f, 15.0f});
    store.engine.AddPoint(&store.engine.reference, {2000.0f, 50.0f, 60.0f, 10.0f, 15.0f});
    for (const bool on : {true, false}) {
        store.engine.referenceOn = on;
        store.engine.RebuildGraphs();
        EXPECT_EQ(store.engine.leftGraph->SeriesCount, 1);
        const QVector<SGraphPoint> left = PlottedPoints(*store.engine.leftGraph, record->seriesIndex);
        const QVector<SGraphPoint> right = PlottedPoints(*store.engine.rightGraph, record->seriesIndex);
        ASSERT_EQ(left.size(), 1);
        ASSERT_EQ(right.size(), 1);
        EXPECT_EQ(left[0].frequency, 1000.0);
        EXPECT_EQ(left[0].level, on ? 20.0 : 30.0);
        EXPECT_EQ(right[0].level, on ? 25.0 : 40.0);
        EXPECT_EQ(record->referenceOn, on);
    }
}

TEST(DataEngineTest, AFinishedTestBecomesASortedModifiedMeasurement)
{
    const TScopedValue level(gOptions.DefaultCalibrationLevel, 7000);
    const TScopedValue desc(gOptions.DefaultCalibrationDesc, QStringLiteral("desk computer"));
    SDataStore store;
    store.engine.reference.points = {{1000.0f, 0, 0, 4, 6}};
    const TDateTime session = TDateTime::FromDateTime(QDateTime(QDate(2024, 3, 12), QTime(9, 5)));
    const TDateTime born = TDateTime::FromDate(QDate(1975, 11, 2));
    store.engine.AddMeasurement({4000.0f, 1000.0f, 2000.0f}, Results({{40, 45}, {10, 15}, {20, 25}}),
                                QStringLiteral("tinnitus"), session, born, QStringLiteral("Nowak"),
                                QStringLiteral("Anna"), QStringLiteral("anna"));
    EXPECT_TRUE(store.engine.IsModified());
    ASSERT_EQ(store.engine.DataCount(), 1);
    const SData& record = *store.engine.datas.front();
    EXPECT_TRUE(record.modified);
    const QStringList texts = {record.name, record.surname, record.remarks, record.fileName,
                               record.calibration_desc};
    EXPECT_EQ(texts, QStringList({"Anna", "Nowak", "tinnitus", "anna", "desk computer"}));
    EXPECT_EQ(record.born_date, born);
    EXPECT_EQ(record.session_date, session);
    EXPECT_EQ(record.calibration_level, 7000);
    const QVector<SDataPoint> expected = {
        {1000, 10, 15, 4, 6}, {2000, 20, 25, 10, 10}, {4000, 40, 45, 10, 10}};
    EXPECT_EQ(record.points, expected);
    const QVector<SGraphPoint> plotted = PlottedPoints(*store.engine.leftGraph, 0);
    ASSERT_EQ(plotted.size(), 3);
    EXPECT_EQ(plotted[0].frequency, 1000.0);
    EXPECT_EQ(plotted[2].frequency, 4000.0);
}

TEST(DataEngineTest, PrintScaleCyclesTheMarkerShapes)
{
    SDataStore store(3.0f);
    for (int i = 0; i < 9; ++i)
        store.engine.NewData();
    store.engine.RebuildGraphs();
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(store.engine.leftGraph->Series[size_t(i)].MarkerStyle, i % 8);
        EXPECT_EQ(store.engine.rightGraph->Series[size_t(i)].MarkerStyle, i % 8);
    }
}

TEST(DataEngineTest, CopyFromMakesADeepCopyOfRecordsAndReference)
{
    SDataStore source;
    SData* record = source.engine.NewData();
    record->name = QStringLiteral("Jan");
    record->modified = true;
    source.engine.AddPoint(record, {500.0f, 20.0f, 25.0f, 10.0f, 10.0f});
    source.engine.NewData()->name = QStringLiteral("Anna");
    source.engine.reference.name = QStringLiteral("HD 201");
    source.engine.reference.points = {{500.0f, 3, 4, 3, 4}};
    source.engine.referenceOn = true;

    SDataStore copy(2.0f, &source.engine);
    ASSERT_EQ(copy.engine.DataCount(), 2);
    EXPECT_TRUE(copy.engine.referenceOn);
    EXPECT_NE(copy.engine.datas[0].get(), record);
    record->name[0] = QLatin1Char('X');
    record->points[0].left = 99.0f;
    source.engine.reference.points[0].leftRef = 99.0f;
    source.engine.datas.clear();

    const SData& first = *copy.engine.datas[0];
    EXPECT_EQ(first.name, QStringLiteral("Jan"));
    EXPECT_TRUE(first.modified);
    EXPECT_EQ(first.points[0].left, 20.0f);
    EXPECT_EQ(copy.engine.datas[1]->name, QStringLiteral("Anna"));
    EXPECT_EQ(copy.engine.reference.name, QStringLiteral("HD 201"));
    EXPECT_EQ(copy.engine.reference.points[0].leftRef, 3.0f);
    EXPECT_EQ(copy.engine.leftGraph->SeriesCount, 2);
    EXPECT_EQ(PlottedPoints(*copy.engine.leftGraph, 0)[0].level, 10.0);
    EXPECT_EQ(copy.engine.leftGraph->Series[1].MarkerStyle, 1);
}

TEST(DataEngineTest, ThreeColumnRowsTakeTheLoadedReference)
{
    const TDataFolder folder;
    SDataStore store;
    store.engine.LoadReference(
        folder.Write(QStringLiteral("phones.aur"), "@name HD 201\n1000 5 7 5 7\n500 3 3 3 3\n"));
    EXPECT_EQ(store.engine.reference.name, QStringLiteral("HD 201"));
    EXPECT_EQ(store.engine.reference.fileName, QStringLiteral("phones.aur"));
    EXPECT_FALSE(store.engine.reference.modified);
    EXPECT_EQ(store.engine.reference.seriesIndex, -1);
    EXPECT_EQ(store.engine.leftGraph->SeriesCount, 0);

    store.engine.LoadData(folder.Write(QStringLiteral("jan.aud"), "1000 30 40\n1000.5 30 40\n750 30 40\n"));
    const QVector<SDataPoint> expected = {
        {750, 30, 40, 10, 10}, {1000, 30, 40, 5, 7}, {1000.5f, 30, 40, 10, 10}};
    EXPECT_EQ(store.engine.datas.front()->points, expected);
    EXPECT_FALSE(store.engine.IsModified());
}

TEST(DataEngineTest, AnotherReferenceFileReplacesTheReferenceAndAnEmptyNameClearsIt)
{
    const TDataFolder folder;
    SDataStore store;
    store.engine.LoadReference(
        folder.Write(QStringLiteral("first.aur"), "@name First\n@remarks old\n1000 5 7 5 7\n"));
    store.engine.LoadReference(folder.Write(QStringLiteral("second.aur"), "@name Second\n2000 1 1 1 1\n"));
    EXPECT_EQ(store.engine.reference.name, QStringLiteral("Second"));
    EXPECT_EQ(store.engine.reference.remarks, QString());
    ASSERT_EQ(store.engine.reference.points.size(), 1);
    EXPECT_EQ(store.engine.ReferenceAt(1000.0f).first, 10.0f);

    store.engine.LoadReference(QString());
    EXPECT_TRUE(store.engine.reference.points.isEmpty());
    EXPECT_EQ(store.engine.reference.name, QStringLiteral("Second"));

    // Its own rows are the reference being read.
    store.engine.LoadReference(folder.Write(QStringLiteral("three.aur"), "1000 5 7\n1000 6 8\n500 3 3\n"));
    ASSERT_EQ(store.engine.reference.points.size(), 3);
    for (const SDataPoint& row : store.engine.reference.points)
        EXPECT_EQ(std::make_pair(row.leftRef, row.rightRef), std::make_pair(10.0f, 10.0f)) << row.freq;
}

TEST(DataEngineTest, ANewStoreLoadsTheReferenceNamedInTheSettings)
{
    const TDataFolder folder;
    folder.Write(QStringLiteral("phones.aur"), "@name HD 201\n1000 5 7 5 7\n");
    folder.Write(QStringLiteral("damaged.aur"), "@name Broken\n@session_date yesterday\n1000 5 7 5 7\n");
    {
        const TScopedValue name(gOptions.ReferenceFileName, QStringLiteral("phones.aur"));
        SDataStore store;
        EXPECT_EQ(store.engine.reference.name, QStringLiteral("HD 201"));
        EXPECT_EQ(store.engine.ReferenceAt(1000.0f).second, 7.0f);
        EXPECT_FALSE(store.engine.referenceOn);
        EXPECT_FALSE(store.engine.IsModified());
    }
    const TScopedValue name(gOptions.ReferenceFileName, QStringLiteral("damaged.aur"));
    TMessageRecorder messages;
    SDataStore store;
    ASSERT_EQ(messages.requests.size(), 1);
    EXPECT_TRUE(messages.requests[0].text.contains(QStringLiteral("yesterday")));
    EXPECT_EQ(messages.requests[0].icon, QMessageBox::Critical);
    EXPECT_EQ(store.engine.reference.name, QStringLiteral("Broken"));

    // The window paints behind the message, before anything is drawn: its charts are empty, its
    // legend has no rows.
    const QColor kSky(166, 202, 240);
    const SDataStore noRows;
    TImage left;
    TImage right;
    TImage legend;
    for (TImage* image : {&left, &right, &legend})
        image->resize(40, 30);
    QList<QImage> shownBehind;
    TMessageBox::SetHandler([&](const SMessageRequest& request) {
        messages.requests.append(request);
        for (TImage* image : {&left, &right, &legend})
            shownBehind.append(image->grab().toImage().convertToFormat(QImage::Format_RGB32));
        return QMessageBox::Ok;
    });
    const TDataEngine screen(&left, &right, nullptr, 1.0f, kSky, &legend);
    ASSERT_EQ(shownBehind.size(), 3);
    QImage empty(40, 30, QImage::Format_RGB32);
    empty.fill(kSky);
    EXPECT_EQ(shownBehind[0], empty);
    EXPECT_EQ(shownBehind[1], empty);
    EXPECT_EQ(shownBehind[2].copy(0, 0, 40, 16), noRows.legend.copy(0, 0, 40, 16));
}
