// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataEngineFixture.h"

#include "data/DataFileReader.h"
#include "data/DataFileWriter.h"
#include "lang/Lang.h"
#include "log/FileNames.h"
#include "platform/Clock.h"
#include "settings/Options.h"
#include "support/LogProbe.h"
#include "support/MessageRecorder.h"
#include "support/SmallDisk.h"

#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <functional>
#include <limits>
#include <memory>
#include <stdexcept>
#include <sys/resource.h>

namespace {

// The record every format rule shows up in: a name but no surname, a date without and one
// with a time, empty remarks, no calibration level, a level that rounds.
SData EdgeCaseRecord()
{
    SData record;
    record.name = QStringLiteral("Jan");
    record.surname = QStringLiteral("0");
    record.born_date = TDateTime::FromDate(QDate(1980, 3, 1));
    record.session_date = TDateTime::FromDateTime(QDateTime(QDate(2010, 5, 14), QTime(10, 30)));
    record.remarks = QString();
    record.calibration_desc = QStringLiteral("Laptop T61, Sennheiser HD 201");
    record.calibration_level = 0;
    record.fileName = QStringLiteral("jan");
    record.points = {{500.0f, 20.25f, 35.0f, 10.0f, 10.0f}, {1000.0f, 25.0f, 30.0f, 10.0f, 12.0f}};
    return record;
}

// A confirmed test: one ear with a doubtful retest and a frequency heard at no level, the other
// without a retest and with a threshold that was not confirmed.
SData ConfirmedRecord()
{
    SData record = EdgeCaseRecord();
    record.procedure = QStringLiteral("clinical");
    record.leftReliability = {84, 11, 1, -10.0f, true, {8000.0f}, {}, 312};
    record.rightReliability.presentations = 90;
    record.rightReliability.catchTrials = 12;
    record.rightReliability.unreliable = {250.0f, 1000.5f};
    record.rightReliability.seconds = 340;
    return record;
}

SData* LoadText(SDataStore& store, const TDataFolder& folder, const QByteArray& content)
{
    store.engine.LoadData(folder.Write(QStringLiteral("case.aud"), content));
    return store.engine.datas.empty() ? nullptr : store.engine.datas.back().get();
}

} // namespace

TEST(DataFileTest, EdgeCaseRecordIsWrittenLineByLineAndReadsBackInEnglishAndPolish)
{
    struct SCase
    {
        QLocale locale;
        const char* bornDate;
        const char* sessionDate;
    };
    const SCase cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), "3/1/1980", "5/14/2010 10:30:00 AM"},
        {QLocale(QLocale::Polish, QLocale::Poland), "1.03.1980", "14.05.2010 10:30:00"},
    };
    const TScopedValue level(gOptions.DefaultCalibrationLevel, 6553);
    for (const SCase& c : cases) {
        const TUserLocale locale(c.locale);
        const TDataFolder folder;
        SDataStore store;
        SData* record = store.engine.NewData();
        *record = EdgeCaseRecord();
        record->modified = true;
        ASSERT_TRUE(store.engine.SaveData(record));
        EXPECT_FALSE(record->modified);

        const QList<QByteArray> lines = folder.Read(QStringLiteral("jan.aud")).split('\n');
        const QList<QByteArray> expected = {
            "@name Jan",
            QByteArray("@born_date ") + c.bornDate,
            QByteArray("@session_date ") + c.sessionDate,
            "@remarks ",
            "@calibration_desc Laptop T61, Sennheiser HD 201",
            "@calibration_level 6553",
            "#",
            "#freq left righ left right references",
            "500 20.2 35.0  10.0 10.0",
            "1000 25.0 30.0  10.0 12.0",
            "",
        };
        ASSERT_EQ(lines.size(), expected.size() + 1) << c.locale.name().toStdString();
        EXPECT_TRUE(lines.at(0).startsWith("# Kelvarion"));
        for (qsizetype i = 0; i < expected.size(); ++i)
            EXPECT_EQ(lines.at(i + 1), expected.at(i)) << c.locale.name().toStdString() << " line " << i + 2;

        SDataStore reader;
        reader.engine.LoadData(folder.Path(QStringLiteral("jan.aud")));
        ASSERT_EQ(reader.engine.DataCount(), 1);
        const SData& back = *reader.engine.datas.front();
        EXPECT_EQ(QStringList({back.name, back.surname, back.remarks, back.calibration_desc}),
                  QStringList({"Jan", "0", "", record->calibration_desc}));
        EXPECT_EQ(back.born_date, record->born_date);
        EXPECT_EQ(back.session_date, record->session_date);
        EXPECT_EQ(back.calibration_level, 6553);
        EXPECT_FALSE(back.modified);
        EXPECT_EQ(back.fileName, QStringLiteral("jan.aud"));
        const QVector<SDataPoint> rows = {{500, 20.2f, 35, 10, 10}, {1000, 25, 30, 10, 12}};
        EXPECT_EQ(back.points, rows);
    }
}

TEST(DataFileTest, AConfirmedTestsFiguresAreWrittenReadBackAndKeptBySavingAgain)
{
    const TScopedValue level(gOptions.DefaultCalibrationLevel, 6553);
    const TDataFolder folder;
    SDataStore store;
    SData* record = store.engine.NewData();
    *record = ConfirmedRecord();
    ASSERT_TRUE(store.engine.SaveData(record));
    const QByteArray written = folder.Read(QStringLiteral("jan.aud"));
    const QByteArray figures = "@calibration_level 6553\n"
                               "@procedure clinical\n"
                               "@left_presentations 84\n"
                               "@left_catch_trials 11\n"
                               "@left_false_alarms 1\n"
                               "@left_retest_difference -10\n"
                               "@left_no_response 8000\n"
                               "@left_seconds 312\n"
                               "@right_presentations 90\n"
                               "@right_catch_trials 12\n"
                               "@right_false_alarms 0\n"
                               "@right_unreliable 250 1000.5\n"
                               "@right_seconds 340\n"
                               "#\n";
    EXPECT_TRUE(written.contains(figures)) << written.toStdString();

    SDataStore reader;
    reader.engine.LoadData(folder.Path(QStringLiteral("jan.aud")));
    ASSERT_EQ(reader.engine.DataCount(), 1);
    SData& back = *reader.engine.datas.front();
    EXPECT_EQ(back.procedure, record->procedure);
    EXPECT_EQ(back.leftReliability, record->leftReliability);
    EXPECT_EQ(back.rightReliability, record->rightReliability);
    back.fileName = QStringLiteral("again");
    ASSERT_TRUE(reader.engine.SaveData(&back));
    EXPECT_EQ(folder.Read(QStringLiteral("again.aud")), written);
}

TEST(DataFileTest, ReaderRules)
{
    using TCheck = std::function<void(const SData&)>;
    const auto rows = [](QVector<SDataPoint> expected) {
        return TCheck([expected](const SData& record) { EXPECT_EQ(record.points, expected); });
    };
    const auto name = [](const QString& expected) {
        return TCheck([expected](const SData& record) { EXPECT_EQ(record.name, expected); });
    };
    const auto level = [](int expected) {
        return TCheck([expected](const SData& record) { EXPECT_EQ(record.calibration_level, expected); });
    };
    const auto left = [](SEarReliability expected) {
        return TCheck([expected](const SData& record) { EXPECT_EQ(record.leftReliability, expected); });
    };
    const auto figures = [](int32_t presentations, float retest, bool flagged, QVector<float> noResponse) {
        SEarReliability ear;
        ear.presentations = presentations;
        ear.retestDifference = retest;
        ear.retestFlagged = flagged;
        ear.noResponse = noResponse;
        return ear;
    };
    constexpr float notMeasured = std::numeric_limits<float>::quiet_NaN();
    const auto remarks = [](const QByteArray& expected) {
        return TCheck([expected](const SData& record) {
            EXPECT_EQ(record.remarks, QString::fromLatin1(expected));
            EXPECT_TRUE(record.points.isEmpty());
        });
    };
    // Not one line is a header or a row: the file is refused with the file-error message.
    const TCheck refused;
    const QByteArray filler(110, 'x');
    QByteArray garbage;
    for (int i = 0; i < 600; ++i)
        garbage.append(char((i * 37 + 11) % 256));

    struct SCase
    {
        const char* what;
        QByteArray content;
        TCheck check;
    };
    const SCase cases[] = {
        {"LF line ends", "@name Jan\n1000 20 30 5 6\n", rows({{1000, 20, 30, 5, 6}})},
        {"CR LF line ends", "@name Jan\r\n@surname Nowak\r\n1000 20 30 5 6\r\n",
         [](const SData& record) {
             EXPECT_EQ(record.name, QStringLiteral("Jan"));
             EXPECT_EQ(record.surname, QStringLiteral("Nowak"));
             EXPECT_EQ(record.points.size(), 1);
         }},
        {"no line end at the end", "@name Jan", name(QStringLiteral("Jan"))},
        {"comment lines are skipped", "# @name Jan\n#1000 20 30 5 6\n", refused},
        {"unknown keys are ignored", "@colour red\n@Name Jan\n", name(QStringLiteral("0"))},
        {"two blanks keep one", "@name  Jan\n", name(QStringLiteral(" Jan"))},
        {"nothing after the key", "@name\n", name(QString())},
        {"a blank after the key", "@name \n", name(QString())},
        {"blanks after the value stay", "@name Jan  \n", name(QStringLiteral("Jan  "))},
        {"a later line wins", "@name Anna\n@name Jan\n", name(QStringLiteral("Jan"))},
        {"three numbers take the reference's values", "1000 30 40\n", rows({{1000, 30, 40, 10, 10}})},
        {"four numbers are ignored", "1000 30 40 5\n", refused},
        {"one or two numbers are ignored", "1000\n1000 30\n", refused},
        {"text after the fifth number is ignored", "1000 30 40 5 6 extra 7\n", rows({{1000, 30, 40, 5, 6}})},
        {"leading blanks and signs", "  \t+250 -5 +0.5 1e1 2\n", rows({{250, -5, 0.5f, 10, 2}})},
        {"a decimal comma ends the numbers", "1000,5 20 30\n1000 20 30 40,5 50\n", refused},
        {"a decimal comma that leaves three numbers", "1000 20 30,5 40 50\n", rows({{1000, 20, 30, 10, 10}})},
        {"not-a-number and infinite rows are ignored", "nan 20 30 5 6\n1000 inf 30 5 6\n", refused},
        {"rows are sorted by frequency", "4000 1 1 0 0\n500 2 2 0 0\n1000 3 3 0 0\n",
         rows({{500, 2, 2, 0, 0}, {1000, 3, 3, 0, 0}, {4000, 1, 1, 0, 0}})},
        {"a level that is no integer gives the default", "@calibration_level high\n", level(6553)},
        {"a missing level gives the default", "@name Jan\n", level(6553)},
        {"a level is read", "@calibration_level 7000\r\n", level(7000)},
        {"an empty file is no measurement", "", refused},
        {"a line longer than the buffer is read whole", "@remarks " + filler + filler + "\n",
         remarks(filler + filler)},
        {"the rest of a long line is no row", "@remarks " + filler + "1000 20 30 5 6\n",
         remarks(filler + "1000 20 30 5 6")},
        {"the rest of a long comment is no header", "#" + QByteArray(118, 'x') + "@name Eve\n", refused},
        {"a line that just fills the buffer", "@remarks " + filler + "\n1000 20 30 5 6\n",
         rows({{1000, 20, 30, 5, 6}})},
        {"a key longer than 51 characters", "@" + QByteArray(60, 'k') + " value\n@name Jan\n",
         name(QStringLiteral("Jan"))},
        {"binary garbage is no measurement", garbage, refused},
        {"headers without rows are a measurement", "@colour red\n", rows({})},
        {"a NUL reads as a blank", QByteArray("@name Jan") + '\0' + "nah\n1000 20 30 5 6\n",
         name(QStringLiteral("Jan nah"))},
        {"a figure is read", "@left_presentations 84\n", left(figures(84, notMeasured, false, {}))},
        {"a count that is no count is left out", "@left_presentations 84\n@left_presentations -3\n",
         left(figures(84, notMeasured, false, {}))},
        {"a retest of 5 dB is within the tolerance", "@left_retest_difference -5\n",
         left(figures(0, -5, false, {}))},
        {"a retest of more than 5 dB flags the ear", "@left_retest_difference 5.5\n",
         left(figures(0, 5.5f, true, {}))},
        {"a retest that is no number is not measured", "@left_retest_difference 5 dB\n",
         left(figures(0, notMeasured, false, {}))},
        {"frequencies that are no numbers are left out", "@left_no_response  250 x 1000.5 inf\n",
         left(figures(0, notMeasured, false, {250, 1000.5f}))},
        {"another ear's figures are not the left's", "@right_presentations 84\n@centre_presentations 9\n",
         left(figures(0, notMeasured, false, {}))},
    };
    const TScopedValue defaultLevel(gOptions.DefaultCalibrationLevel, 6553);
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        const TDataFolder folder;
        SDataStore store;
        const TMessageRecorder messages;
        const SData* record = LoadText(store, folder, c.content);
        if (!c.check) {
            EXPECT_EQ(record, nullptr);
            ASSERT_EQ(messages.requests.size(), 1);
            EXPECT_EQ(messages.requests[0].text, gLang.GetString(QStringLiteral("MessDataFileError")) +
                                                     folder.Path(QStringLiteral("case.aud")));
            continue;
        }
        EXPECT_TRUE(messages.requests.isEmpty());
        ASSERT_NE(record, nullptr);
        EXPECT_FALSE(record->modified);
        EXPECT_EQ(record->fileName, QStringLiteral("case.aud"));
        c.check(*record);
    }
}

TEST(DataFileTest, RowsNoTestCanGiveAreLeftOutWithOneWordPerFile)
{
    // The message names the count only when there is a text to hold it.
    gLang.ChangeLangSym(QStringLiteral("en"));
    const struct
    {
        const char* what;
        QByteArray content;
        QVector<SDataPoint> kept;
        int leftOut;
    } cases[] = {
        {"the limits",
         "20 -50 150\n20000 0 0  150 -50\n",
         {{20, -50, 150, 10, 10}, {20000, 0, 0, 150, -50}},
         0},
        {"frequencies",
         "0 20 30\n-500 20 30  5 5\n1e9 20 30\n19.9 20 30\n1000 20 30  5 5\n",
         {{1000, 20, 30, 5, 5}},
         4},
        {"levels", "1000 1e38 30\n1000 20 -50.5\n1000 20 30  151 5\n500 20 30\n", {{500, 20, 30, 10, 10}}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TDataFolder folder;
        SDataStore store;
        const TMessageRecorder messages;
        const SData* record = LoadText(store, folder, c.content);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->points, c.kept);
        const QString word = gLang.GetString(QStringLiteral("MessDataRowsLeftOut")).arg(c.leftOut) +
                             folder.Path(QStringLiteral("case.aud"));
        EXPECT_EQ(messages.Texts(), c.leftOut > 0 ? QStringList{word} : QStringList());
    }
}

// Dates typed by hand or written in another locale's way read; what is written stays as it was.
TEST(DataFileTest, DatesTypedInTheLocalesFormatsRead)
{
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale polish(QLocale::Polish, QLocale::Poland);
    const QLocale german(QLocale::German, QLocale::Germany);
    const QDateTime testedAt(QDate(2010, 5, 14), QTime(10, 30));
    const QDateTime dayOnly(QDate(2010, 5, 14), QTime(0, 0));
    const struct
    {
        QLocale locale;
        const char* text;
        QDateTime read;
    } cases[] = {
        {us, "5/14/2010 10:30 AM", testedAt},
        {us, "5/14/2010 10:30:00", testedAt},
        {us, "5/14/10 10:30", testedAt},
        {us, "Friday, May 14, 2010", dayOnly},
        {us, "5/14/29", QDateTime(QDate(2029, 5, 14), QTime(0, 0))},
        {us, "5/14/30", QDateTime(QDate(1930, 5, 14), QTime(0, 0))},
        {polish, "14.05.2010 10:30", testedAt},
        {polish, "14.05.10 10:30:00", testedAt},
        {polish, "piątek, 14 maja 2010 10:30", testedAt},
        {german, "14.05.10 10:30", testedAt},
        {german, "14.05.2010 10:30:00", testedAt},
        {QLocale::c(), "14 May 2010 10:30", testedAt},
        {QLocale::c(), "2010-05-14T10:30", testedAt},
        {polish, "2010-05-14T10:30:00", testedAt},
        {german, "2010-05-14 10:30", testedAt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString() + " " + c.text);
        const TUserLocale locale(c.locale);
        const TDataFolder folder;
        SDataStore store;
        const SData* record =
            LoadText(store, folder, QByteArray("@session_date ") + c.text + "\n1000 20 30\n");
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->session_date.ToDateTime(), c.read);
    }
}

// ISO dates are read as wall-clock times, so an hour the reader's time zone skips still reads.
TEST(DataFileTest, AnIsoTimeInADaylightSavingGapReads)
{
    const QByteArray savedZone = qgetenv("TZ");
    qputenv("TZ", "Europe/Warsaw");
    const TDataFolder folder;
    SDataStore store;
    const SData* record = LoadText(store, folder, "@session_date 2024-03-31 02:30:00\n1000 20 30 5 6\n");
    if (savedZone.isEmpty())
        qunsetenv("TZ");
    else
        qputenv("TZ", savedZone);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->session_date.Date(), QDate(2024, 3, 31));
    EXPECT_EQ(record->session_date.Time(), QTime(2, 30));
}

TEST(DataFileTest, ADateTheLocaleCannotReadStopsReadingAndKeepsWhatWasRead)
{
    const TUserLocale locale(QLocale(QLocale::Polish, QLocale::Poland));
    const TDataFolder folder;
    SDataStore store;
    const QString path = folder.Write(QStringLiteral("bad.aud"),
                                      "@name Jan\n500 20 30 5 6\n@born_date 31/31/80\n@surname Nowak\n");
    try {
        store.engine.LoadData(path);
        ADD_FAILURE() << "no error for the date";
    } catch (const std::runtime_error& error) {
        const QString message = QString::fromStdString(error.what());
        EXPECT_TRUE(message.contains(QStringLiteral("31/31/80")));
        EXPECT_TRUE(message.contains(path));
    }
    ASSERT_EQ(store.engine.DataCount(), 1);
    const SData& record = *store.engine.datas.front();
    EXPECT_EQ(record.name, QStringLiteral("Jan"));
    EXPECT_EQ(record.surname, QStringLiteral("0"));
    EXPECT_EQ(record.points.size(), 1);
}

TEST(DataFileTest, FilesThatCannotBeOpenedAreReportedWithTheirPath)
{
    const TDataFolder folder;
    QDir(folder.Path(QString())).mkdir(QStringLiteral("folder.aud"));
    SDataStore store;
    store.engine.reference.points = {{1000, 5, 5, 5, 5}};
    for (const char* name : {"missing.aud", "folder.aud"}) {
        SCOPED_TRACE(name);
        const QString path = folder.Path(QString::fromLatin1(name));
        TMessageRecorder messages;
        store.engine.LoadData(path);
        store.engine.LoadReference(path);
        EXPECT_EQ(store.engine.DataCount(), 0);
        EXPECT_EQ(store.engine.reference.points.size(), 1);
        ASSERT_EQ(messages.requests.size(), 2);
        EXPECT_EQ(messages.Texts(),
                  QStringList({gLang.GetString(QStringLiteral("MessDataFileError")) + path,
                               gLang.GetString(QStringLiteral("MessDataFileRefError")) + path}));
        EXPECT_EQ(messages.requests[0].buttons, QMessageBox::Ok);
    }
}

TEST(DataFileTest, FileNamesGetTheirExtensionReplaced)
{
    struct SCase
    {
        const char* fileName;
        const char* extension;
        const char* path;
    };
    const SCase cases[] = {
        {"jan", ".aud", "jan.aud"},
        {"jan.aud", ".aud", "jan.aud"},
        {"jan.txt", ".aud", "jan.aud"},
        {"jan.", ".aud", "jan.aud"},
        {"jan.kowalski.old", ".aud", "jan.kowalski.aud"},
        {"reference.aud", ".aur", "reference.aur"},
        {"old.d/jan", ".aud", "old.d/jan.aud"},
        {"/home/x.y/jan.b", ".aur", "/home/x.y/jan.aur"},
        {"J.Kowalski 20100514_1030", ".aud", "J.Kowalski 20100514_1030.aud"},
        {"HD 4.40 office", ".aur", "HD 4.40 office.aur"},
        {"jan.mp3", ".aud", "jan.aud"},
        {"jan.kowal", ".aud", "jan.kowal.aud"},
        {"jan.a_b", ".aud", "jan.a_b.aud"},
        {"jan.a b", ".aud", "jan.a b.aud"},
    };
    for (const SCase& c : cases) {
        EXPECT_EQ(TDataFileWriter::PathFor(QString::fromLatin1(c.fileName), QString::fromLatin1(c.extension)),
                  QString::fromLatin1(c.path))
            << c.fileName;
    }
}

// The proposed name leaves out what a file name cannot hold or should not start with.
TEST(DataFileTest, AProposedNameIsSavedUnderAFileOfItsOwn)
{
    const TScopedValue clock(TClock::Fixed, QDateTime(QDate(2010, 5, 14), QTime(10, 30)));
    const struct
    {
        QString name;
        const char* file;
    } cases[] = {
        {QStringLiteral("J.Kowalski"), "J.Kowalski 20100514_1030.aud"},
        {QStringLiteral("AC/DC"), "ACDC 20100514_1030.aud"},
        {QStringLiteral("--rf Anna"), "rf Anna 20100514_1030.aud"},
        {QStringLiteral("..Ewa"), "Ewa 20100514_1030.aud"},
        {QStringLiteral("An") + QChar(0) + QStringLiteral("na\t"), "Anna 20100514_1030.aud"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const TDataFolder folder;
        SDataStore store;
        SData* record = NewRecordNamed(store.engine, "");
        record->fileName = ProposedFileName(c.name);
        ASSERT_TRUE(store.engine.SaveData(record));
        EXPECT_EQ(QDir(folder.Path(QString())).entryList(QDir::Files),
                  QStringList{QString::fromLatin1(c.file)});
    }
}

TEST(DataFileTest, AMeasurementFromAnotherFolderIsSavedIntoTheDataFolder)
{
    const TDataFolder elsewhere;
    const QString source = elsewhere.Write(QStringLiteral("anna.aud"), "@name Anna\n1000 20 30 5 6\n");
    const TDataFolder dataFolder;
    SDataStore store;
    store.engine.LoadData(source);
    SData* record = store.engine.datas.front().get();
    record->remarks = QStringLiteral("checked");
    ASSERT_TRUE(store.engine.SaveData(record));
    EXPECT_TRUE(dataFolder.Read(QStringLiteral("anna.aud")).contains("@remarks checked\n"));
    EXPECT_FALSE(elsewhere.Read(QStringLiteral("anna.aud")).contains("checked"));
}

TEST(DataFileTest, ARecordNeverNamedWritesNoNameLinesAndTheReferenceGetsItsOwnExtension)
{
    const TDataFolder folder;
    SDataStore store;
    SData* record = NewRecordNamed(store.engine, "nameless");
    ASSERT_TRUE(store.engine.SaveData(record));
    const QByteArray text = folder.Read(QStringLiteral("nameless.aud"));
    EXPECT_FALSE(text.contains("@name"));
    EXPECT_FALSE(text.contains("@surname"));
    EXPECT_FALSE(text.contains("_date"));

    store.engine.reference.fileName = QStringLiteral("headphones.aud");
    store.engine.reference.name = QStringLiteral("HD 201");
    ASSERT_TRUE(store.engine.SaveReference());
    EXPECT_TRUE(folder.Read(QStringLiteral("headphones.aur")).contains("@name HD 201\n"));
}

// Texts come back on their one line, control characters but the tab as blanks.
TEST(DataFileTest, HostileTextsReadBackOnTheirOwnLine)
{
    const QString polish =
        QStringLiteral("Pacjent zgłasza szumy uszne, gorzej słyszy po lewej stronie; źle śpi. ");
    const struct
    {
        QString written;
        QString read;
    } texts[] = {
        {QStringLiteral("tired\n1000 90 90 0 0\r\n@name Eve ") + polish + polish,
         QStringLiteral("tired 1000 90 90 0 0  @name Eve ") + polish + polish},
        {QStringLiteral("An") + QChar(0) + QStringLiteral("na"), QStringLiteral("An na")},
        {QStringLiteral("a\x01"
                        "b\x1b[31mc\x7f\td"),
         QStringLiteral("a b [31mc\x7f\td")},
        {QString(10000, QChar(0x0142)), QString(10000, QChar(0x0142))},
        {QStringLiteral("\u202eevitagen\u200f 1000 20"), QStringLiteral("\u202eevitagen\u200f 1000 20")},
        {QStringLiteral("# not a comment"), QStringLiteral("# not a comment")},
    };
    for (const auto& text : texts) {
        SCOPED_TRACE(text.written.left(40).toStdString());
        const TDataFolder folder;
        SDataStore store;
        SData* record = NewRecordNamed(store.engine, "hostile");
        record->remarks = text.written;
        record->surname = text.written;
        ASSERT_TRUE(store.engine.SaveData(record));
        store.engine.LoadData(folder.Path(QStringLiteral("hostile.aud")));
        const SData& back = *store.engine.datas.back();
        EXPECT_EQ(back.name, record->name);
        EXPECT_TRUE(back.points.isEmpty());
        EXPECT_EQ(back.remarks, text.read);
        EXPECT_EQ(back.surname, text.read);
    }
}

TEST(DataFileTest, OverwriteQuestionDecidesWhetherTheFileIsReplaced)
{
    for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
        const TDataFolder folder;
        folder.Write(QStringLiteral("jan.aud"), "old content\n");
        SDataStore store;
        SData* record = NewRecordNamed(store.engine, "jan");
        TMessageRecorder messages(answer);
        const bool saved = store.engine.SaveData(record);
        ASSERT_EQ(messages.requests.size(), 1);
        const SMessageRequest& question = messages.requests.front();
        EXPECT_EQ(question.text, gLang.GetString(QStringLiteral("MessDataFileName")) +
                                     QStringLiteral(" jan.aud ") +
                                     gLang.GetString(QStringLiteral("MessDataFileExists")));
        EXPECT_EQ(question.caption, QStringLiteral("Kelvarion"));
        EXPECT_EQ(question.buttons, QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(question.icon, QMessageBox::Question);
        EXPECT_EQ(saved, answer == QMessageBox::Yes);
        EXPECT_EQ(record->modified, answer == QMessageBox::No);
        EXPECT_EQ(folder.Read(QStringLiteral("jan.aud")) == "old content\n", answer == QMessageBox::No);
        EXPECT_EQ(QDir(folder.Path(QString())).entryList(QDir::Files),
                  QStringList{QStringLiteral("jan.aud")});
    }
}

// A failed save reports the path and leaves every file that was there as it was.
TEST(DataFileTest, ATargetThatCannotBeWrittenIsReportedAndLeftAsItWas)
{
    struct SCase
    {
        const char* what;
        const char* fileName;
        const char* messageKey;
        int questions;
        bool sizeLimited;
        // The system's reason, in the user's language, or Qt's own when errno is 0.
        int loggedError;
        // The data folder on a small file system of its own, where the machine lets us mount one.
        const char* mount = nullptr;
        bool readOnly = false;
    };
    const SCase cases[] = {
        {"a folder that does not exist", "no-such-folder/jan", "MessDataFileOpenError", 0, false, ENOENT},
        {"a folder in the target's place", "taken", "MessDataFileOpenError", 1, false, 0},
        // Even root cannot write past the file size limit.
        {"a file that may not grow", "jan", "MessDataFileWriteError", 1, true, EFBIG},
        {"a full disk", "jan", "MessDataFileWriteError", 1, false, ENOSPC, "size=64k"},
        {"a read-only disk", "jan", "MessDataFileOpenError", 1, false, EROFS, "size=64k", true},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        const TDataFolder folder;
        std::unique_ptr<TSmallDisk> disk;
        if (c.mount != nullptr) {
            disk = std::make_unique<TSmallDisk>(folder.Path(QString()), c.mount);
            if (!disk->Mounted()) {
                std::printf("skipped \"%s\": no tmpfs may be mounted here\n", c.what);
                continue;
            }
        }
        QDir(folder.Path(QString())).mkpath(QStringLiteral("taken.aud/inside"));
        folder.Write(QStringLiteral("jan.aud"), "old content\n");
        if (c.readOnly)
            ASSERT_TRUE(disk->MakeReadOnly());
        SDataStore store;
        SData* record = NewRecordNamed(store.engine, c.fileName);
        TMessageRecorder messages(QMessageBox::Yes);
        const TLogProbe log;
        rlimit stored{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &stored), 0);
        // The program itself must keep SIGXFSZ from ending the process.
        rlimit limited = stored;
        if (c.sizeLimited || c.mount != nullptr)
            record->remarks = QString(200000, QLatin1Char('x'));
        if (c.sizeLimited) {
            // The limit binds every file, so it leaves the log room for the line that says why.
            limited.rlim_cur = std::min<rlim_t>(QFileInfo(TLogProbe::Path()).size() + 65536, stored.rlim_max);
        }
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const bool saved = store.engine.SaveData(record);
        setrlimit(RLIMIT_FSIZE, &stored);

        EXPECT_FALSE(saved);
        EXPECT_TRUE(record->modified);
        ASSERT_EQ(messages.requests.size(), c.questions + 1);
        EXPECT_EQ(messages.requests.back().text,
                  gLang.GetString(QString::fromLatin1(c.messageKey)) +
                      TDataFileWriter::PathFor(record->fileName, QStringLiteral(".aud")));
        const QString path = TDataFileWriter::PathFor(record->fileName, QStringLiteral(".aud"));
        const QString cause = c.loggedError != 0 ? qt_error_string(c.loggedError)
                                                 : QStringLiteral("Filename refers to a directory");
        EXPECT_TRUE(log.Contains(path + QStringLiteral(": ") + cause))
            << log.NewLines().join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(QFileInfo(folder.Path(QStringLiteral("taken.aud/inside"))).isDir());
        EXPECT_EQ(folder.Read(QStringLiteral("jan.aud")), QByteArray("old content\n"));
        EXPECT_EQ(QDir(folder.Path(QString())).entryList(QDir::Files),
                  QStringList{QStringLiteral("jan.aud")});
    }
}

TEST(DataFileTest, SaveAllWritesModifiedRecordsAndKeepsDeclinedOnesModified)
{
    const TDataFolder folder;
    folder.Write(QStringLiteral("kept.aud"), "old\n");
    SDataStore store;
    const char* names[] = {"new", "kept", "untouched"};
    for (const char* name : names)
        NewRecordNamed(store.engine, name, QByteArray(name) != "untouched");
    TMessageRecorder messages(QMessageBox::No);
    store.engine.SaveAll();
    EXPECT_EQ(messages.requests.size(), 1);
    EXPECT_FALSE(store.engine.datas[0]->modified);
    EXPECT_TRUE(store.engine.datas[1]->modified);
    EXPECT_TRUE(store.engine.IsModified());
    EXPECT_EQ(folder.Read(QStringLiteral("kept.aud")), QByteArray("old\n"));
    EXPECT_FALSE(QFileInfo::exists(folder.Path(QStringLiteral("untouched.aud"))));
    EXPECT_TRUE(QFileInfo::exists(folder.Path(QStringLiteral("new.aud"))));
}
