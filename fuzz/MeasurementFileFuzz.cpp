// SPDX-License-Identifier: GPL-3.0-or-later
// Measurement and reference files as a user may open them: read, drawn, written and read back.
#include "FuzzSupport.h"

#include "data/DataEngine.h"
#include "settings/Options.h"

#include <QImage>

#include <cmath>
#include <cstdio>
#include <exception>

namespace {

struct SCharts
{
    QImage left{320, 320, QImage::Format_RGB32};
    QImage right{320, 320, QImage::Format_RGB32};
    QImage legend{640, 200, QImage::Format_RGB32};
};

// Texts are stored on one line, control characters but the tab as blanks.
QString OnOneLine(QString text)
{
    for (QChar& c : text) {
        if (c.unicode() < 0x20 && c != QLatin1Char('\t'))
            c = QLatin1Char(' ');
    }
    return text;
}

// A text that is exactly "0" means "not given" and is not written at all, so it reads back as
// whatever a new record holds.
QString AsStored(const QString& text, const QString& fresh)
{
    return text == QLatin1String("0") ? fresh : OnOneLine(text);
}

bool SameFigures(const SEarReliability& written, const SEarReliability& read)
{
    const bool sameRetest = written.retestDifference == read.retestDifference ||
                            (std::isnan(written.retestDifference) && std::isnan(read.retestDifference));
    return written.presentations == read.presentations && written.catchTrials == read.catchTrials &&
           written.falseAlarms == read.falseAlarms && sameRetest &&
           written.retestFlagged == read.retestFlagged && written.noResponse == read.noResponse &&
           written.unreliable == read.unreliable && written.seconds == read.seconds;
}

// The figures of a confirmed test come back as they were; a one-answer measurement has none,
// whatever lines its file held.
bool SameReliability(const SData& written, const SData& read, const SData& fresh)
{
    if (written.procedure.isEmpty())
        return read.procedure.isEmpty() && SameFigures(fresh.leftReliability, read.leftReliability) &&
               SameFigures(fresh.rightReliability, read.rightReliability);
    return OnOneLine(written.procedure) == read.procedure &&
           SameFigures(written.leftReliability, read.leftReliability) &&
           SameFigures(written.rightReliability, read.rightReliability);
}

bool SameRecord(const SData& written, const SData& read, const SData& fresh)
{
    const int32_t level =
        written.calibration_level != 0 ? written.calibration_level : gOptions.DefaultCalibrationLevel;
    return AsStored(written.name, fresh.name) == read.name &&
           AsStored(written.surname, fresh.surname) == read.surname &&
           AsStored(written.remarks, fresh.remarks) == read.remarks &&
           AsStored(written.calibration_desc, fresh.calibration_desc) == read.calibration_desc &&
           level == read.calibration_level && written.points.size() == read.points.size() &&
           SameReliability(written, read, fresh);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzSetUp(argc, argv);
    gOptions.ReferenceFileName.clear();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static SCharts charts;
    TDataEngine engine(&charts.left, &charts.right, nullptr, 1.0f, Qt::white, &charts.legend);
    const QString path = WriteInput(QStringLiteral("input.aud"), data, size);
    try {
        engine.LoadData(path);
        engine.LoadReference(path);
    } catch (const std::exception&) {
        // A date the locale cannot read: reported to the user, what was read stays.
    }
    engine.SetReferenceOn(true);
    engine.DrawGraphs(nullptr);
    if (engine.datas.empty())
        return 0;
    SData* record = engine.datas.front().get();
    record->fileName = QStringLiteral("written");
    QFile::remove(QStringLiteral("written.aud"));
    if (!engine.SaveData(record))
        return 0;
    TDataEngine again(&charts.left, &charts.right, nullptr, 1.0f, Qt::white, &charts.legend);
    try {
        again.LoadData(QStringLiteral("written.aud"));
    } catch (const std::exception&) {
        FUZZ_CHECK(!"a written file reads back");
    }
    FUZZ_CHECK(!again.datas.empty());
    static const SData fresh =
        *TDataEngine(&charts.left, &charts.right, nullptr, 1.0f, Qt::white, &charts.legend).NewData();
    FUZZ_CHECK(SameRecord(*record, *again.datas.front(), fresh));
    return 0;
}
