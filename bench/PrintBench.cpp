// SPDX-License-Identifier: GPL-3.0-or-later
// The printed report for 4 and for 100 measurements, drawn and written as a PDF file on A4 at
// 600 dpi, with the file's size beside the time.
#include "charts/PrintReport.h"
#include "data/DataEngine.h"
#include "lang/Lang.h"

#include <QFileInfo>
#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

// The main window's data store holding `count` measurements of eleven frequencies each.
struct SScreenData
{
    explicit SScreenData(int count)
        : left(320, 320, QImage::Format_RGB32), right(320, 320, QImage::Format_RGB32),
          legend(630, 50, QImage::Format_RGB32),
          engine(&left, &right, nullptr, 1.0f, QColor(166, 202, 240), &legend)
    {
        static const float frequencies[] = {125, 250, 500, 750, 1000, 1500, 2000, 3000, 4000, 6000, 8000};
        for (int i = 0; i < count; ++i) {
            SData* record = engine.NewData();
            record->name = QStringLiteral("Patient %1").arg(i);
            record->surname = QStringLiteral("Surname");
            record->born_date = TDateTime(25000.0 + i);
            record->session_date = TDateTime(46000.5 + i);
            record->remarks = QStringLiteral("Benchmark measurement");
            record->calibration_level = 6553;
            for (int f = 0; f < 11; ++f) {
                const float level = float((i * 7 + f * 13) % 90);
                engine.AddPointRef(record, frequencies[f], level, level + 5);
            }
        }
        engine.SetReferenceOn(true);
    }

    QImage left;
    QImage right;
    QImage legend;
    TDataEngine engine;
};

void BM_PrintReportToPdfA4At600Dpi(benchmark::State& state)
{
    gLang.ChangeLangSym(QStringLiteral("en"));
    const SScreenData screen(int(state.range(0)));
    QWidget owner;
    owner.setObjectName(QStringLiteral("MainForm"));
    owner.setWindowTitle(QStringLiteral("Kelvarion – hearing test"));
    const TPrintReport report(&owner);
    const QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("report.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setResolution(600);
    for (auto _ : state)
        report.Print(printer, screen.engine, QDateTime::currentDateTime());
    state.counters["pdf_bytes"] = double(QFileInfo(pdf).size());
}

} // namespace

BENCHMARK(BM_PrintReportToPdfA4At600Dpi)->Arg(4)->Arg(100)->Unit(benchmark::kMillisecond);
