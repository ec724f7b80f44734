// SPDX-License-Identifier: GPL-3.0-or-later
// The example measurements in examples/ come from the program's own writer. This test writes
// them again and compares; with KELVARION_WRITE_EXAMPLES set it writes them into examples/.
#include "DataEngineFixture.h"

#include "settings/Options.h"
#include "support/MessageRecorder.h"

#include <QFileInfo>

#include <array>

namespace {

const QVector<float> kFrequencies = {125, 250, 500, 1000, 2000, 3000, 4000, 6000, 8000};

struct SExample
{
    const char* fileName;
    const char* name;
    const char* surname;
    QDate born;
    QDateTime session;
    const char* remarks;
    std::array<float, 9> left;
    std::array<float, 9> right;
};

// Made-up people; levels as heard through the example headphones, before the reference.
const SExample kExamples[] = {
    {"anna-nowak",
     "Anna",
     "Nowak",
     QDate(1984, 6, 12),
     QDateTime(QDate(2024, 3, 12), QTime(9, 15)),
     "Normal hearing",
     {20, 16, 12, 10, 10, 12, 14, 18, 22},
     {18, 14, 14, 10, 12, 12, 16, 20, 24}},
    {"jan-kowalski",
     "Jan",
     "Kowalski",
     QDate(1952, 2, 3),
     QDateTime(QDate(2024, 3, 12), QTime(10, 40)),
     "Age-related loss, more on the right",
     {26, 24, 26, 30, 40, 48, 60, 70, 80},
     {28, 26, 30, 36, 50, 58, 72, 82, 90}},
    {"maria-wisniewska",
     "Maria",
     "Wiśniewska",
     QDate(1990, 9, 21),
     QDateTime(QDate(2024, 3, 13), QTime(14, 5)),
     "Notch at 4 kHz after a concert",
     {18, 16, 14, 14, 18, 30, 50, 32, 26},
     {16, 14, 16, 16, 22, 34, 46, 30, 28}},
    {"tomasz-zielinski",
     "Tomasz",
     "Zieliński",
     QDate(1971, 4, 30),
     QDateTime(QDate(2024, 3, 14), QTime(11, 30)),
     "Conductive loss, left ear",
     {52, 50, 44, 40, 36, 38, 40, 46, 52},
     {20, 16, 12, 12, 12, 14, 16, 20, 24}},
};

// The hearing threshold of the example headphones on the example computer.
const std::array<float, 9> kReferenceLeft = {12, 9, 6, 5, 4, 5, 7, 10, 14};
const std::array<float, 9> kReferenceRight = {11, 8, 7, 5, 6, 5, 8, 12, 13};
const char* const kReferenceFile = "office-pc-hd280.aur";

QString ExamplesFolder()
{
    return QStringLiteral(KELVARION_SOURCE_DIR "/examples");
}

QStringList ExampleFiles()
{
    QStringList files = {QString::fromLatin1(kReferenceFile)};
    for (const SExample& example : kExamples)
        files.append(QString::fromLatin1(example.fileName) + QStringLiteral(".aud"));
    return files;
}

// ISO dates, as the Swedish locale writes them, open in every locale.
void WriteExamples()
{
    const TUserLocale locale(QLocale(QLocale::Swedish, QLocale::Sweden));
    const TScopedValue desc(gOptions.DefaultCalibrationDesc,
                            QStringLiteral("Office PC, Sennheiser HD 280 Pro"));
    const TScopedValue level(gOptions.DefaultCalibrationLevel, 6553);
    SDataStore store;
    store.engine.reference.name = QStringLiteral("Office PC + HD 280 Pro");
    store.engine.reference.fileName = QString::fromLatin1(kReferenceFile);
    for (size_t i = 0; i < kReferenceLeft.size(); ++i) {
        store.engine.AddPoint(&store.engine.reference,
                              {kFrequencies[qsizetype(i)], kReferenceLeft[i], kReferenceRight[i],
                               kReferenceLeft[i], kReferenceRight[i]});
    }
    EXPECT_TRUE(store.engine.SaveReference());
    for (const SExample& example : kExamples) {
        std::array<float, 200> results{};
        std::copy(example.left.begin(), example.left.end(), results.begin());
        std::copy(example.right.begin(), example.right.end(), results.begin() + 100);
        store.engine.AddMeasurement(kFrequencies, results, QString::fromUtf8(example.remarks),
                                    TDateTime::FromDateTime(example.session),
                                    TDateTime::FromDate(example.born), QString::fromUtf8(example.surname),
                                    QString::fromUtf8(example.name), QString::fromLatin1(example.fileName));
    }
    store.engine.SaveAll();
    EXPECT_FALSE(store.engine.IsModified());
}

} // namespace

TEST(DataFileExamplesTest, ExamplesAreWhatTheWriterWrites)
{
    const TDataFolder folder;
    WriteExamples();
    if (qEnvironmentVariableIsSet("KELVARION_WRITE_EXAMPLES")) {
        for (const QString& file : ExampleFiles()) {
            QFile::remove(ExamplesFolder() + QLatin1Char('/') + file);
            ASSERT_TRUE(QFile::copy(folder.Path(file), ExamplesFolder() + QLatin1Char('/') + file));
        }
    }
    for (const QString& file : ExampleFiles()) {
        QFile committed(ExamplesFolder() + QLatin1Char('/') + file);
        ASSERT_TRUE(committed.open(QIODevice::ReadOnly)) << file.toStdString();
        EXPECT_EQ(committed.readAll(), folder.Read(file)) << file.toStdString();
    }
}

TEST(DataFileExamplesTest, ExamplesOpenInEnglishAndPolish)
{
    for (const QLocale& user : {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::Polish)}) {
        const TUserLocale locale(user);
        SDataStore store;
        store.engine.LoadReference(ExamplesFolder() + QLatin1Char('/') + QString::fromLatin1(kReferenceFile));
        EXPECT_EQ(store.engine.reference.points.size(), kFrequencies.size());
        for (const SExample& example : kExamples)
            store.engine.LoadData(ExamplesFolder() + QLatin1Char('/') + example.fileName +
                                  QStringLiteral(".aud"));
        ASSERT_EQ(store.engine.DataCount(), int(std::size(kExamples)));
        for (size_t i = 0; i < std::size(kExamples); ++i) {
            const SData& record = *store.engine.datas[i];
            EXPECT_EQ(record.surname, QString::fromUtf8(kExamples[i].surname));
            EXPECT_EQ(record.born_date.Date(), kExamples[i].born);
            EXPECT_EQ(record.session_date.ToDateTime(), kExamples[i].session);
            EXPECT_EQ(record.points.size(), kFrequencies.size());
            EXPECT_EQ(record.points[3].leftRef, kReferenceLeft[3]);
            // Written before tests were confirmed: no procedure and no figures.
            EXPECT_EQ(record.procedure, QString());
            EXPECT_EQ(record.leftReliability, SEarReliability());
            EXPECT_EQ(record.rightReliability, SEarReliability());
        }
    }
}
