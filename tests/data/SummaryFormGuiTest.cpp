// SPDX-License-Identifier: GPL-3.0-or-later
#include "CsvReader.h"

#include "shell/MainFormFixture.h"

#include "charts/Palette.h"
#include "data/CsvExport.h"
#include "data/SummaryForm.h"
#include "help/ContextHelp.h"
#include "support/LogProbe.h"

#include <QFileInfo>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

namespace {

enum TColumn
{
    Line,
    Person,
    Date,
    LeftAverage,
    LeftGrade,
    RightAverage,
    RightGrade,
    PersonGrade,
    Reliability,
    Notes
};

QString ExampleFile(const char* name)
{
    return QStringLiteral(KELVARION_SOURCE_DIR "/examples/") + QLatin1String(name);
}

class SummaryFormTest : public MainFormTest
{
protected:
    void OpenExamples()
    {
        filesToOpen = {ExampleFile("anna-nowak.aud"), ExampleFile("jan-kowalski.aud"),
                       ExampleFile("maria-wisniewska.aud"), ExampleFile("tomasz-zielinski.aud")};
        Click("ToolButtonOpen");
        ASSERT_EQ(DataEngine->DataCount(), 4);
    }

    void SetUp() override
    {
        MainFormTest::SetUp();
        TCommonDialogs::SetSaveFileHandler([this](const SSaveFileRequest& request) {
            saveRequests.append(request);
            return fileToSave;
        });
    }

    void TearDown() override
    {
        if (SummaryForm != nullptr)
            SummaryForm->hide();
        TCommonDialogs::SetSaveFileHandler({});
        MainFormTest::TearDown();
    }

    QTableWidget* Table() const
    {
        return SummaryForm->findChild<QTableWidget*>(QStringLiteral("SummaryTable"));
    }

    QString Cell(int row, int column) const { return Table()->item(row, column)->text(); }

    void ClickExport() const
    {
        QTest::mouseClick(SummaryForm->findChild<QPushButton*>(QStringLiteral("ExportButton")),
                          Qt::LeftButton);
    }

    QString fileToSave;
    QList<SSaveFileRequest> saveRequests;
};

QString Average(double decibels)
{
    return QLocale::system().toString(decibels, 'f', 1) + QStringLiteral(" dB");
}

} // namespace

TEST_F(SummaryFormTest, ShowsEachExampleWithTheGradesOfItsAverages)
{
    const QString normal = QStringLiteral("Normal hearing");
    const QString mild = QStringLiteral("Mild hearing loss");
    const QString moderate = QStringLiteral("Moderate hearing loss");
    const QString differ = gLang.GetString(QStringLiteral("StrSummaryEarsDiffer"), SummaryForm);
    struct SCase
    {
        bool referenceOn;
        int row;
        const char* person;
        double left;
        QString leftGrade;
        double right;
        QString rightGrade;
        QString notes;
    };
    // Means of the thresholds at 500, 1000, 2000 and 4000 Hz in examples/, less their
    // reference values while the reference is on.
    const SCase cases[] = {
        {true, 0, "Nowak Anna", 6.0, normal, 6.5, normal, ""},
        {true, 1, "Kowalski Jan", 33.5, mild, 40.5, moderate, ""},
        {true, 2, "Wiśniewska Maria", 18.5, normal, 18.5, normal, ""},
        {true, 3, "Zieliński Tomasz", 34.5, mild, 6.5, normal, differ},
        {false, 0, "Nowak Anna", 11.5, normal, 13.0, normal, ""},
        {false, 1, "Kowalski Jan", 39.0, moderate, 47.0, moderate, ""},
        {false, 2, "Wiśniewska Maria", 24.0, mild, 25.0, mild, ""},
        {false, 3, "Zieliński Tomasz", 40.0, moderate, 13.0, normal, differ},
    };
    OpenExamples();
    for (const SCase& c : cases) {
        SCOPED_TRACE(std::string(c.person) + (c.referenceOn ? " reference on" : " reference off"));
        if (DataEngine->referenceOn != c.referenceOn)
            Click("RefOnOffToolButton");
        SummaryForm->hide();
        SummaryForm->show();
        ASSERT_EQ(Table()->rowCount(), 4);
        const QImage sample = Table()->item(c.row, Line)->data(Qt::DecorationRole).value<QPixmap>().toImage();
        EXPECT_EQ(QColor(sample.pixel(sample.rect().center())), Palette(c.row));
        EXPECT_EQ(Cell(c.row, Person), QString::fromUtf8(c.person));
        EXPECT_EQ(Cell(c.row, Date),
                  DataEngine->datas[size_t(c.row)]->session_date.DateText(QLocale::system()));
        EXPECT_EQ(Cell(c.row, LeftAverage), Average(c.left));
        EXPECT_EQ(Cell(c.row, LeftGrade), c.leftGrade);
        EXPECT_EQ(Cell(c.row, RightAverage), Average(c.right));
        EXPECT_EQ(Cell(c.row, RightGrade), c.rightGrade);
        EXPECT_EQ(Cell(c.row, Notes), c.notes);
    }
}

TEST_F(SummaryFormTest, AConfirmedTestShowsEachEarsReliabilityAndWarnsWhenItIsDoubtful)
{
    const QString unconfirmed = QStringLiteral("not confirmed (one answer per frequency)");
    const QString falseAlarms = QStringLiteral(
        "Left ear: more than one silent interval in five was answered, so the thresholds may be better "
        "than the hearing is.");
    const QString retest =
        QStringLiteral("Right ear: the second test at 1000 Hz differs from the first by 10 dB "
                       "(more than 5 dB), so the result is doubtful.");
    struct SCase
    {
        const char* file;
        const char* personGrade;
        QString reliability;
        QString notes;
    };
    const SCase cases[] = {
        {"@procedure clinical\n@left_catch_trials 11\n@left_false_alarms 3\n@left_retest_difference 5\n"
         "@right_catch_trials 12\n@right_false_alarms 0\n@right_retest_difference -10\n"
         "500 10 40 0 0\n1000 10 40 0 0\n2000 10 40 0 0\n4000 10 40 0 0\n",
         "Unilateral hearing loss",
         QStringLiteral("Left ear: false alarms 3 in 11 catch trials (27 %), retest at 1000 Hz: +5 dB\n"
                        "Right ear: false alarms 0 in 12 catch trials (0 %), retest at 1000 Hz: -10 dB"),
         QStringList(
             {gLang.GetString(QStringLiteral("StrSummaryEarsDiffer"), SummaryForm), falseAlarms, retest})
             .join(QLatin1Char('\n'))},
        {"@procedure clinical\n@left_catch_trials 10\n@left_false_alarms 2\n"
         "500 30 20 0 0\n1000 30 20 0 0\n2000 30 20 0 0\n4000 30 20 0 0\n",
         "Mild hearing loss",
         QStringLiteral("Left ear: false alarms 2 in 10 catch trials (20 %), retest at 1000 Hz: not made\n"
                        "Right ear: false alarms 0 in 0 catch trials (\u2014), retest at 1000 Hz: not made"),
         QString()},
        {"500 30 20 0 0\n1000 30 20 0 0\n", "\u2014", unconfirmed,
         QStringLiteral(
             "Left ear: fewer than three of 500, 1000, 2000 and 4000 Hz were measured, so there is no "
             "average.\nRight ear: fewer than three of 500, 1000, 2000 and 4000 Hz were measured, so "
             "there is no average.")},
    };
    for (const SCase& c : cases)
        DataEngine->LoadData(folder.Write(QStringLiteral("case.aud"), c.file));
    SummaryForm->show();
    ASSERT_EQ(Table()->rowCount(), int(std::size(cases)));
    for (int row = 0; row < int(std::size(cases)); ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(Cell(row, PersonGrade), QString::fromUtf8(cases[row].personGrade));
        EXPECT_EQ(Cell(row, Reliability), cases[row].reliability);
        EXPECT_EQ(Cell(row, Notes), cases[row].notes);
    }
}

TEST_F(SummaryFormTest, ViewSummaryNeedsAMeasurement)
{
    auto* summary = Find<QAction>("Summary");
    auto* exportItem = Find<QAction>("Export");
    EXPECT_FALSE(summary->isEnabled());
    EXPECT_FALSE(exportItem->isEnabled());
    OpenExamples();
    EXPECT_TRUE(summary->isEnabled());
    EXPECT_TRUE(exportItem->isEnabled());

    bool shown = false;
    QTimer::singleShot(0, SummaryForm, [&shown] {
        shown = SummaryForm->isVisible() && SummaryForm->isModal();
        SummaryForm->accept();
    });
    QTest::keyClick(form, Qt::Key_R, Qt::ControlModifier);
    EXPECT_TRUE(shown);

    Click("ToolButtonCloseAll");
    EXPECT_FALSE(summary->isEnabled());
    EXPECT_FALSE(exportItem->isEnabled());
}

TEST_F(SummaryFormTest, ExportWritesEveryRowOfEveryMeasurement)
{
    OpenExamples();
    SummaryForm->show();
    fileToSave = folder.Path(QStringLiteral("chosen.csv"));
    TMessageRecorder messages;
    ClickExport();
    EXPECT_TRUE(messages.requests.isEmpty());
    ASSERT_EQ(saveRequests.size(), 1);
    EXPECT_EQ(saveRequests[0].path,
              QDir::current().filePath(QStringLiteral("kelvarion-") +
                                       QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) +
                                       QStringLiteral(".csv")));
    const QVector<QStringList> records = ReadCsv(folder.Read(QStringLiteral("chosen.csv")));
    ASSERT_EQ(records.size(), 1 + 4 * 9);
    // Jan Kowalski at 2000 Hz: 40 and 50 dB against 4 and 6 dB of reference.
    EXPECT_EQ(records[9 + 5],
              QStringList({"jan-kowalski.aud", "Kowalski", "Jan", "1952-02-03", "2024-03-12 10:40:00", "6553",
                           "Office PC, Sennheiser HD 280 Pro", "2000", "40", "50", "4", "6", "36", "44"}));
}

TEST_F(SummaryFormTest, ExportToAFolderThatCannotBeWrittenSaysWhyAndLeavesNoFile)
{
    OpenExamples();
    const QString blocker = folder.Write(QStringLiteral("not-a-folder"), "x");
    fileToSave = blocker + QStringLiteral("/out.csv");
    TMessageRecorder messages;
    Find<QAction>("Export")->trigger();
    ASSERT_EQ(messages.requests.size(), 1);
    EXPECT_EQ(messages.requests[0].icon, QMessageBox::Critical);
    EXPECT_EQ(messages.requests[0].caption, QStringLiteral("Export"));
    QFile probe(fileToSave);
    EXPECT_FALSE(probe.open(QIODevice::WriteOnly));
    EXPECT_EQ(messages.requests[0].text, QStringLiteral("The CSV file could not be written:\n") + fileToSave +
                                             QLatin1Char('\n') + probe.errorString());
    EXPECT_EQ(QDir(folder.Path(QString())).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("not-a-folder")});
}

// Every text the dialog can show, all grades and notes included, has its key in each language.
TEST_F(SummaryFormTest, EveryLanguageNamesEverythingShown)
{
    for (const int level : {0, 20, 35, 50, 65, 80, 95}) {
        QByteArray rows;
        for (const int freq : {500, 1000, 2000, 4000})
            rows += QByteArray::number(freq) + ' ' + QByteArray::number(level) + " 0 0 0\n";
        DataEngine->LoadData(folder.Write(QStringLiteral("level%1.aud").arg(level), rows));
    }
    DataEngine->LoadData(
        folder.Write(QStringLiteral("three.aud"), "500 10 10 0 0\n1000 10 10 0 0\n2000 10 10 0 0\n"));
    DataEngine->LoadData(folder.Write(QStringLiteral("two.aud"), "500 10 10 0 0\n1000 10 10 0 0\n"));
    DataEngine->LoadData(
        folder.Write(QStringLiteral("doubtful.aud"),
                     "@procedure clinical\n@left_false_alarms 3\n@right_retest_difference 10\n"
                     "500 10 40 0 0\n1000 10 40 0 0\n2000 10 40 0 0\n4000 10 40 0 0\n"));
    for (const QString& symbol : gLang.LangSymbols) {
        SCOPED_TRACE(symbol.toStdString());
        gLang.ChangeLangSym(symbol);
        const TLogProbe log;
        SummaryForm->hide();
        SummaryForm->show();
        EXPECT_EQ(log.NewLines(), QStringList());
        EXPECT_EQ(SummaryForm->windowTitle(),
                  gLang.GetSectionString(QStringLiteral("SummaryForm"), QStringLiteral("SummaryForm")));
    }
}

TEST_F(SummaryFormTest, F1AsksForTheSummarysPage)
{
    QList<int> asked;
    const TContextHelp::Handler stored = TContextHelp::SetHandler([&asked](int command, int data) {
        asked.append(data);
        return command == TContextHelp::HELP_CONTEXT;
    });
    ShowActive(SummaryForm);
    QTest::keyClick(SummaryForm, Qt::Key_F1);
    TContextHelp::SetHandler(stored);
    EXPECT_EQ(asked, QList<int>{2600});
}
