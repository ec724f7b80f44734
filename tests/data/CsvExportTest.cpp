// SPDX-License-Identifier: GPL-3.0-or-later
#include "CsvReader.h"

#include "data/CsvExport.h"
#include "data/Data.h"

#include <gtest/gtest.h>

namespace {

const QStringList kHeader = {"file name",
                             "surname",
                             "first name",
                             "birth date",
                             "test date",
                             "calibration level",
                             "calibration description",
                             "frequency (Hz)",
                             "left (dB)",
                             "right (dB)",
                             "left reference (dB)",
                             "right reference (dB)",
                             "left plotted (dB)",
                             "right plotted (dB)"};

} // namespace

TEST(CsvExportTest, HostileTextsReadBackIntoTheSameCells)
{
    struct SCase
    {
        QString text;
    };
    const SCase cases[] = {
        {QStringLiteral("plain")},
        {QStringLiteral("Kowalski, \"Jan\"")},
        {QStringLiteral("one;two;three")},
        {QStringLiteral("first line\nsecond line")},
        {QStringLiteral("windows\r\nline")},
        {QStringLiteral("\"")},
        {QStringLiteral("  padded  ")},
        {QStringLiteral("Wiśniewska – Zieliński")},
        {QString()},
    };
    std::vector<std::unique_ptr<SData>> datas;
    for (const SCase& c : cases) {
        auto record = std::make_unique<SData>();
        record->fileName = c.text;
        record->surname = c.text;
        record->name = c.text;
        record->calibration_desc = c.text;
        record->points = {{1000, 30, 40, 10, 15}};
        datas.push_back(std::move(record));
    }
    const QVector<QStringList> records = ReadCsv(TCsvExport::Text(datas, false));
    ASSERT_EQ(records.size(), qsizetype(std::size(cases)) + 1);
    EXPECT_EQ(records[0], kHeader);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const QString& text = cases[i].text;
        EXPECT_EQ(records[qsizetype(i) + 1], QStringList({text, text, text, "", "", "0", text, "1000", "30",
                                                          "40", "10", "15", "30", "40"}))
            << text.toStdString();
    }
}

TEST(CsvExportTest, OneLinePerMeasurementAndFrequency)
{
    auto anna = std::make_unique<SData>();
    anna->fileName = QStringLiteral("anna-nowak.aud");
    anna->surname = QStringLiteral("Nowak");
    anna->name = QStringLiteral("0");
    anna->born_date = TDateTime::FromDate(QDate(1984, 6, 12));
    anna->session_date = TDateTime::FromDate(QDate(2024, 3, 12), QTime(9, 15));
    anna->calibration_level = 6553;
    anna->points = {{500, 12.5f, 14, 6, 7.25f}, {4000, -10, 120, 7, 8}};
    auto empty = std::make_unique<SData>();
    empty->surname = QStringLiteral("Kowalski");
    std::vector<std::unique_ptr<SData>> datas;
    datas.push_back(std::move(anna));
    datas.push_back(std::move(empty));

    const QStringList person = {"anna-nowak.aud",      "Nowak", "", "1984-06-12",
                                "2024-03-12 09:15:00", "6553",  ""};
    const QVector<QStringList> expected = {
        kHeader,
        person + QStringList{"500", "12.5", "14", "6", "7.25", "6.5", "6.75"},
        person + QStringList{"4000", "-10", "120", "7", "8", "-17", "112"},
        {"", "Kowalski", "", "", "", "0", "", "", "", "", "", "", "", ""},
    };
    EXPECT_EQ(ReadCsv(TCsvExport::Text(datas, true)), expected);
}

// Texts from other people's files must not run as formulas; numbers stay numbers.
TEST(CsvExportTest, TextsThatStartLikeFormulasAreWrittenAsText)
{
    const QString texts[] = {QStringLiteral("=HYPERLINK(\"http://example.invalid\",\"x\")"),
                             QStringLiteral("+1+1"),
                             QStringLiteral("-2+3"),
                             QStringLiteral("@SUM(A1)"),
                             QStringLiteral("\t=1+1"),
                             QStringLiteral("\r=1+1")};
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        std::vector<std::unique_ptr<SData>> datas;
        datas.push_back(std::make_unique<SData>());
        SData& record = *datas.back();
        record.fileName = record.surname = record.name = record.calibration_desc = text;
        record.calibration_level = -5;
        record.points = {{1000, -10, 5, -10, 0}};
        const QString inert = QLatin1Char('\'') + text;
        EXPECT_EQ(ReadCsv(TCsvExport::Text(datas, false)).value(1),
                  QStringList({inert, inert, inert, "", "", "-5", inert, "1000", "-10", "5", "-10", "0",
                               "-10", "5"}));
    }
}
