// SPDX-License-Identifier: GPL-3.0-or-later
// Loading measurement files through the data store and drawing them, beside reading the same
// files' bytes alone: the floor any reader stands on.
#include "data/DataEngine.h"
#include "data/DataFileWriter.h"
#include "widgets/Image.h"

#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QScrollArea>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kFileCount = 1000;
const float kFrequencies[] = {125, 250, 500, 750, 1000, 1500, 2000, 3000, 4000, 6000, 8000};

// A thousand measurements of eleven frequencies each, written by the program's own writer.
class TMeasurementFiles
{
public:
    TMeasurementFiles()
    {
        for (int i = 0; i < kFileCount; ++i) {
            SData record;
            record.name = QStringLiteral("Person");
            record.surname = QString::number(i);
            record.born_date = TDateTime::FromDate(QDate(1950 + i % 60, 1 + i % 12, 1 + i % 28));
            record.session_date = TDateTime::FromDateTime(QDateTime(QDate(2024, 3, 12), QTime(9, i % 60)));
            record.remarks = QStringLiteral("benchmark");
            TDataFileWriter writer;
            writer.WriteHeader(record, 6553);
            for (const float freq : kFrequencies)
                writer.WriteRow({freq, float(i % 40), float(i % 50), 10.0f, 10.0f});
            const QString path = m_folder.filePath(QStringLiteral("m%1.aud").arg(i));
            writer.Commit(path);
            paths.append(path);
        }
    }

    QStringList paths;

private:
    QTemporaryDir m_folder;
};

const TMeasurementFiles& Files()
{
    static const TMeasurementFiles files;
    return files;
}

// The files opened into the main window's charts and legend, up to the pixels the window shows
// (its legend box shows the first rows).
void LoadDataAndRedraw(benchmark::State& state)
{
    const QStringList& paths = Files().paths;
    QWidget window;
    window.resize(659, 493);
    auto* left = new TImage(&window);
    auto* right = new TImage(&window);
    left->setGeometry(6, 24, 320, 320);
    right->setGeometry(333, 24, 320, 320);
    auto* legendBox = new QScrollArea(&window);
    legendBox->setGeometry(5, 368, 649, 120);
    auto* legend = new TImage;
    legend->resize(630, 50);
    legendBox->setWidget(legend);
    QImage shown(window.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        TDataEngine engine(left, right, nullptr, 1.0f, QColor(166, 202, 240), legend);
        for (const QString& path : paths)
            engine.LoadData(path);
        engine.DrawGraphs(legend);
        window.render(&shown);
        benchmark::DoNotOptimize(shown.constBits());
    }
    state.SetItemsProcessed(state.iterations() * paths.size());
}
BENCHMARK(LoadDataAndRedraw)->Unit(benchmark::kMillisecond);

void ReadBytesOnly(benchmark::State& state)
{
    const QStringList& paths = Files().paths;
    char buffer[4096];
    for (auto _ : state) {
        size_t total = 0;
        for (const QString& path : paths) {
            std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "r");
            total += std::fread(buffer, 1, sizeof buffer, file);
            std::fclose(file);
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * paths.size());
}
BENCHMARK(ReadBytesOnly)->Unit(benchmark::kMillisecond);

} // namespace
