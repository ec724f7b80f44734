// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the manual at a window's section, and opening the largest file the viewer accepts:
// either must show without keeping the user waiting.
#include "help/HelpFile.h"
#include "help/HookHelpSystem.h"
#include "help/HtmlHelp.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void OpenAndClose(benchmark::State& state, const QString& file)
{
    LoadHtmlHelp();
    THookHelpSystem help(file, THostType::htHHAPI);
    for (auto _ : state) {
        help.HelpContext(2400);
        HHCloseAll();
    }
    UnloadHtmlHelp();
}

void BM_OpenManualAtSection(benchmark::State& state)
{
    OpenAndClose(state, THelpFile::PathOf(QStringLiteral("en")));
}
BENCHMARK(BM_OpenManualAtSection)->Unit(benchmark::kMillisecond);

void BM_OpenLargestHelpFile(benchmark::State& state)
{
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("large.html")));
    file.open(QIODevice::WriteOnly);
    const QByteArray paragraph(
        "<p>Each frequency starts quietly and the tones get louder; answer as soon as you hear.</p>\n");
    file.write(paragraph.repeated(2 * 1024 * 1024 / paragraph.size()));
    file.close();
    OpenAndClose(state, file.fileName());
}
BENCHMARK(BM_OpenLargestHelpFile)->Unit(benchmark::kMillisecond);

} // namespace
