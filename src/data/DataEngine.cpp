// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/DataEngine.h"

#include "charts/Graph.h"
#include "data/DataChanges.h"
#include "data/DataFileReader.h"
#include "data/DataFileWriter.h"
#include "lang/Lang.h"
#include "log/FileNames.h"
#include "log/FloatText.h"
#include "log/Log.h"
#include "log/Version.h"
#include "platform/MessageBox.h"
#include "settings/Options.h"
#include "widgets/Image.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>
#include <cmath>
#include <exception>

TDataEngine* DataEngine = nullptr;

namespace {

constexpr float kNoReferenceLevel = 10.0f;

// A message with the application's name as caption, as the framework shows one.
void ShowPlain(const QString& text, QMessageBox::Icon icon = QMessageBox::NoIcon)
{
    TMessageBox::Show({nullptr, text, QCoreApplication::applicationName(), QMessageBox::Ok, icon});
}

float Minimum(const QVector<float>& values)
{
    float minimum = 1000000.0f;
    for (const float value : values) {
        if (value < minimum)
            minimum = value;
    }
    return minimum;
}

float Mean(const QVector<float>& values)
{
    float sum = 0.0f;
    for (const float value : values)
        sum += value;
    return sum / float(values.size());
}

float ReferenceLevel(const QVector<float>& values, int algorithm)
{
    switch (algorithm) {
    case TDataEngine::MinimumLevels:
        return Minimum(values);
    case TDataEngine::MeanLevels:
        return Mean(values);
    default:
        return 0.0f;
    }
}

void Unite(QVector<float>& frequencies, const QVector<float>& more)
{
    frequencies += more;
    std::sort(frequencies.begin(), frequencies.end());
    frequencies.erase(std::unique(frequencies.begin(), frequencies.end()), frequencies.end());
}

void Pool(SEarReliability& pooled, const SEarReliability& ear)
{
    pooled.presentations += ear.presentations;
    pooled.catchTrials += ear.catchTrials;
    pooled.falseAlarms += ear.falseAlarms;
    pooled.seconds += ear.seconds;
    if (!std::isnan(ear.retestDifference) &&
        !(std::abs(ear.retestDifference) <= std::abs(pooled.retestDifference)))
        pooled.retestDifference = ear.retestDifference;
    pooled.retestFlagged = pooled.retestFlagged || ear.retestFlagged;
    Unite(pooled.noResponse, ear.noResponse);
    Unite(pooled.unreliable, ear.unreliable);
}

// A reference built from confirmed measurements only is confirmed itself, and its figures are
// those of all its tests together: the false alarms of every test, the largest retest
// difference and every frequency without a confirmed threshold stay visible in its file. One
// unconfirmed measurement among them makes it unconfirmed.
void PoolReliability(SData& reference, const std::vector<std::unique_ptr<SData>>& measurements)
{
    const bool confirmed =
        !measurements.empty() && std::all_of(measurements.cbegin(), measurements.cend(),
                                             [](const auto& record) { return !record->procedure.isEmpty(); });
    reference.procedure = confirmed ? measurements.front()->procedure : QString();
    reference.leftReliability = SEarReliability();
    reference.rightReliability = SEarReliability();
    if (!confirmed)
        return;
    for (const auto& record : measurements) {
        Pool(reference.leftReliability, record->leftReliability);
        Pool(reference.rightReliability, record->rightReliability);
    }
}

// The first entry of an ascending list whose frequency is not below the one asked for.
template <typename TList> auto FirstNotBelow(TList& list, float freq)
{
    return std::find_if(list.begin(), list.end(), [freq](const auto& entry) { return !(entry.freq < freq); });
}

void ShowPlainWithPath(const char* key, const QString& path)
{
    ShowPlain(gLang.GetString(QString::fromLatin1(key)) + path);
}

// Said once per file, so that a file of many such rows asks for one answer.
void ReportRowsLeftOut(int rowsLeftOut, const QString& path)
{
    if (rowsLeftOut > 0)
        ShowPlain(gLang.GetString(QStringLiteral("MessDataRowsLeftOut")).arg(rowsLeftOut) + path);
}

using TFileHandle = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

TFileHandle OpenForReading(const QString& path)
{
    // Linux opens a folder for reading, and only the reads fail.
    if (QFileInfo(path).isDir())
        return TFileHandle(nullptr, &std::fclose);
    return TFileHandle(std::fopen(QFile::encodeName(path).constData(), "r"), &std::fclose);
}

QImage BlankBitmap(const QSize& size, const QColor& colour)
{
    QImage bitmap(size, QImage::Format_RGB32);
    bitmap.fill(colour);
    return bitmap;
}

} // namespace

TDataEngine::TDataEngine(TImage* leftImage, TImage* rightImage, const TDataEngine* source, float scale,
                         const QColor& backgroundColour, TImage* legendImage)
    : scale(scale), m_leftImage(leftImage), m_rightImage(rightImage), m_legendImage(legendImage)
{
    // The controls show their bitmaps whenever the window paints, which a message (a damaged
    // reference) lets it do before anything is drawn: until then they show empty charts and the
    // legend of no measurements. The legend's bitmap is sized by its layout.
    for (TImage* image : {leftImage, rightImage})
        *image->Bitmap() = BlankBitmap(image->DeviceSize(), backgroundColour);
    *legendImage->Bitmap() = BlankBitmap(QSize(1, 1), backgroundColour);
    CreateGraphs(leftImage->Bitmap(), rightImage->Bitmap(), backgroundColour, legendImage->Bitmap(), scale);
    legendImage->SetExposeHook([this](const QRect& pixels) { rightGraph->PaintLegend(pixels); });
    rightGraph->LayOutLegend();
    TakeOver(source);
}

TDataEngine::TDataEngine(QImage* leftBitmap, QImage* rightBitmap, const TDataEngine* source, float scale,
                         const QColor& backgroundColour, QImage* legendBitmap)
    : scale(scale)
{
    CreateGraphs(leftBitmap, rightBitmap, backgroundColour, legendBitmap, scale);
    TakeOver(source);
    DrawGraphs(nullptr);
}

TDataEngine::~TDataEngine()
{
    if (m_legendImage != nullptr)
        m_legendImage->SetExposeHook(nullptr);
}

void TDataEngine::CreateGraphs(QImage* leftBitmap, QImage* rightBitmap, const QColor& backgroundColour,
                               QImage* legendBitmap, float chartScale)
{
    leftGraph = std::make_unique<TGraph>(leftBitmap, chartScale);
    rightGraph = std::make_unique<TGraph>(rightBitmap, chartScale);
    leftGraph->BackgroundColour = backgroundColour;
    rightGraph->BackgroundColour = backgroundColour;
    rightGraph->SetLegendTarget(legendBitmap);
}

void TDataEngine::TakeOver(const TDataEngine* source)
{
    if (source != nullptr) {
        CopyFrom(*source);
        return;
    }
    referenceOn = false;
    reference.modified = false;
    reference.seriesIndex = -1;
    if (gOptions.ReferenceFileName.isEmpty())
        return;
    // A damaged reference file must not keep the main window from opening.
    try {
        LoadReference(gOptions.ReferenceFileName);
    } catch (const std::exception& error) {
        ShowPlain(QString::fromStdString(error.what()), QMessageBox::Critical);
    }
}

SData* TDataEngine::NewData()
{
    auto record = std::make_unique<SData>();
    const int leftIndex = leftGraph->AddSeries(record.get());
    const int rightIndex = rightGraph->AddSeries(record.get());
    if (leftIndex != rightIndex)
        ShowPlain(gLang.GetString(QStringLiteral("MessDataAddError")));
    record->seriesIndex = leftIndex;
    record->surname = QStringLiteral("0");
    record->name = QStringLiteral("0");
    record->modified = false;
    datas.push_back(std::move(record));
    return datas.back().get();
}

void TDataEngine::AddMeasurement(const QVector<float>& frequencies,
                                 std::span<const float, ResultValues> results, const QString& remarks,
                                 const TDateTime& session_date, const TDateTime& born_date,
                                 const QString& surname, const QString& name, const QString& fileName,
                                 const QString& procedure, const SEarReliability& leftReliability,
                                 const SEarReliability& rightReliability)
{
    SData* record = NewData();
    const qsizetype count = std::min<qsizetype>(frequencies.size(), ResultFrequencies);
    for (qsizetype i = 0; i < count; ++i)
        AddPointRef(record, frequencies.at(i), results[i], results[ResultFrequencies + i]);
    record->name = name;
    record->surname = surname;
    record->born_date = born_date;
    record->session_date = session_date;
    record->fileName = fileName;
    record->remarks = remarks;
    record->procedure = procedure;
    record->leftReliability = leftReliability;
    record->rightReliability = rightReliability;
    record->calibration_desc = gOptions.DefaultCalibrationDesc;
    record->calibration_level = gOptions.DefaultCalibrationLevel;
    record->modified = true;
    SortByFrequency(record);
    RebuildGraphs();
    NotifyChanged();
}

void TDataEngine::AddPoint(SData* record, const SDataPoint& row)
{
    record->points.append(row);
    PlotPoint(row, record);
}

void TDataEngine::AddPointRef(SData* record, float freq, float left, float right)
{
    const auto [leftRef, rightRef] = ReferenceAt(freq);
    AddPoint(record, SDataPoint{freq, left, right, leftRef, rightRef});
}

std::pair<float, float> TDataEngine::ReferenceAt(float freq) const
{
    for (const SDataPoint& row : reference.points) {
        if (row.freq != 0.0f && row.freq == freq)
            return {row.leftRef, row.rightRef};
    }
    return {kNoReferenceLevel, kNoReferenceLevel};
}

void TDataEngine::PlotPoint(const SDataPoint& row, const SData* record)
{
    if (record->seriesIndex < 0)
        return;
    const auto [left, right] = PlottedLevels(row, referenceOn);
    leftGraph->AddSeriesPoint(record->seriesIndex, row.freq, left);
    rightGraph->AddSeriesPoint(record->seriesIndex, row.freq, right);
}

void TDataEngine::RebuildGraphs()
{
    leftGraph->ClearSeries();
    rightGraph->ClearSeries();
    for (const auto& record : datas) {
        record->seriesIndex = leftGraph->AddSeries(record.get());
        rightGraph->AddSeries(record.get());
        PlotRecord(*record);
    }
}

void TDataEngine::PlotRecord(SData& record)
{
    record.referenceOn = referenceOn;
    if (scale != 1.0f) {
        const auto style = uint8_t(record.seriesIndex % 8);
        leftGraph->SetMarkerStyle(record.seriesIndex, style);
        rightGraph->SetMarkerStyle(record.seriesIndex, style);
    }
    for (const SDataPoint& row : record.points)
        PlotPoint(row, &record);
}

void TDataEngine::SetReferenceOn(bool on)
{
    referenceOn = on;
    RebuildGraphs();
    NotifyChanged();
}

void TDataEngine::NotifyChanged() const
{
    // The print form's charts are nobody's to show.
    if (m_leftImage != nullptr)
        TDataChanges::Instance().Announce();
}

void TDataEngine::DrawGraphs(TImage* legendImage)
{
    if (!leftGraph || !rightGraph)
        return;
    leftGraph->Draw();
    rightGraph->Draw();
    // The screen's legend is painted only where the scroll box shows it, when it shows it.
    if (m_legendImage != nullptr)
        rightGraph->LayOutLegend();
    else
        rightGraph->DrawLegend();
    for (TImage* image : {m_leftImage, m_rightImage}) {
        if (image != nullptr)
            image->ShowBitmap();
    }
    if (legendImage != nullptr) {
        legendImage->FitToBitmap();
        legendImage->ShowBitmap();
    }
}

bool TDataEngine::FitGraphs(float chartScale, float legendScale)
{
    if (m_leftImage == nullptr)
        return false;
    const QSize pixels = m_leftImage->DeviceSize();
    if (QSize(leftGraph->Width, leftGraph->Height) == pixels && leftGraph->Scale == chartScale &&
        rightGraph->LegendScale == legendScale)
        return false;
    // Copied: the charts that hold it are replaced.
    const QColor background = leftGraph->BackgroundColour;
    for (TImage* image : {m_leftImage, m_rightImage})
        *image->Bitmap() = BlankBitmap(image->DeviceSize(), background);
    CreateGraphs(m_leftImage->Bitmap(), m_rightImage->Bitmap(), background, m_legendImage->Bitmap(),
                 chartScale);
    rightGraph->LegendScale = legendScale;
    RebuildGraphs();
    return true;
}

void TDataEngine::SetBackgroundColour(const QColor& colour)
{
    leftGraph->BackgroundColour = colour;
    rightGraph->BackgroundColour = colour;
    NotifyChanged();
}

int TDataEngine::DataCount() const
{
    return int(datas.size());
}

int TDataEngine::PointCount(const SData* record) const
{
    return int(record->points.size());
}

SDataPoint TDataEngine::PointAt(const SData* record, int index) const
{
    return record->points.value(index);
}

bool TDataEngine::IsModified() const
{
    return reference.modified ||
           std::any_of(datas.cbegin(), datas.cend(), [](const auto& record) { return record->modified; });
}

QStringList TDataEngine::UnsavedFiles() const
{
    QStringList files;
    for (const auto& record : datas) {
        if (record->modified)
            files.append(TDataFileWriter::PathFor(record->fileName, QStringLiteral(".aud")));
    }
    if (reference.modified)
        files.append(TDataFileWriter::PathFor(reference.fileName, QStringLiteral(".aur")));
    return files;
}

void TDataEngine::SortByFrequency(SData* record)
{
    std::sort(record->points.begin(), record->points.end());
}

void TDataEngine::CopyFrom(const TDataEngine& source)
{
    datas.clear();
    for (const auto& record : source.datas)
        datas.push_back(std::make_unique<SData>(*record));
    reference = source.reference;
    referenceOn = source.referenceOn;
    RebuildGraphs();
}

void TDataEngine::LoadData(const QString& path, const TReadProgress& progress)
{
    const TFileHandle file = OpenForReading(path);
    if (!file) {
        ShowPlainWithPath("MessDataFileError", path);
        return;
    }
    // What was read before a failure stays loaded, so it is shown.
    const auto announce = qScopeGuard([this] { NotifyChanged(); });
    int rowsLeftOut = 0;
    // Also when a bad date ends the reading, the rows left out before it are reported.
    const auto report = qScopeGuard([&rowsLeftOut, &path] { ReportRowsLeftOut(rowsLeftOut, path); });
    const EReadResult result = ReadDataFile(path, NewData(), file.get(), rowsLeftOut, progress);
    if (result == EReadResult::Read)
        return;
    datas.pop_back();
    RebuildGraphs();
    rowsLeftOut = 0;
    // Not one header or row: an empty file or something else named like a measurement.
    if (result == EReadResult::NothingFound)
        ShowPlainWithPath("MessDataFileError", path);
}

void TDataEngine::LoadReference(const QString& path)
{
    if (path.isEmpty()) {
        reference.points.clear();
        return;
    }
    const TFileHandle file = OpenForReading(path);
    if (!file) {
        ShowPlainWithPath("MessDataFileRefError", path);
        return;
    }
    // The file replaces the reference in use, rather than adding to it.
    ResetReference();
    const auto announce = qScopeGuard([this] { NotifyChanged(); });
    int rowsLeftOut = 0;
    const auto report = qScopeGuard([&rowsLeftOut, &path] { ReportRowsLeftOut(rowsLeftOut, path); });
    ReadDataFile(path, &reference, file.get(), rowsLeftOut, {});
}

void TDataEngine::ResetReference()
{
    reference = SData();
}

TDataEngine::EReadResult TDataEngine::ReadDataFile(const QString& path, SData* record, std::FILE* file,
                                                   int& rowsLeftOut, const TReadProgress& progress)
{
    // Told often enough for a dialog to move smoothly, seldom enough to cost nothing.
    constexpr qint64 progressBytes = 64 * 1024;
    record->modified = false;
    bool levelRead = false;
    bool measurementLine = false;
    // Plotted once read and sorted, rather than row by row; a bad date shows what came before it.
    auto plot = qScopeGuard([this, record] {
        if (record->seriesIndex >= 0)
            PlotRecord(*record);
    });
    TDataFileReader reader(file);
    qint64 nextProgress = progressBytes;
    while (reader.NextLine()) {
        if (progress && reader.BytesRead() >= nextProgress) {
            nextProgress = reader.BytesRead() + progressBytes;
            if (!progress(reader.BytesRead())) {
                plot.dismiss();
                return EReadResult::Stopped;
            }
        }
        const char* line = reader.Line();
        if (line[0] == '\0' || line[0] == '#')
            continue;
        if (line[0] == '@') {
            measurementLine = true;
            levelRead = TDataFileReader::ApplyHeader(line, *record, path) || levelRead;
            continue;
        }
        float numbers[TDataFileReader::MaxRowNumbers];
        const int count = TDataFileReader::ScanRow(line, numbers);
        if ((count == 3 || count == 5) && !TDataFileReader::Possible(numbers, count)) {
            ++rowsLeftOut;
        } else if (count == 3) {
            const auto [leftRef, rightRef] = ReferenceAt(numbers[0]);
            record->points.append(SDataPoint{numbers[0], numbers[1], numbers[2], leftRef, rightRef});
        } else if (count == 5) {
            record->points.append(SDataPoint{numbers[0], numbers[1], numbers[2], numbers[3], numbers[4]});
        }
        measurementLine = measurementLine || count == 3 || count == 5;
    }
    if (reader.Failed())
        LOG_AT(QStringLiteral("[ReadDataFile] read error in ") + path);
    if (!levelRead)
        record->calibration_level = gOptions.DefaultCalibrationLevel;
    record->fileName = FileNamePart(path);
    SortByFrequency(record);
    return measurementLine ? EReadResult::Read : EReadResult::NothingFound;
}

bool TDataEngine::SaveData(SData* record)
{
    const QString extension = record == &reference ? QStringLiteral(".aur") : QStringLiteral(".aud");
    const QString path = TDataFileWriter::PathFor(record->fileName, extension);
    if (QFileInfo::exists(path)) {
        const QString question = gLang.GetString(QStringLiteral("MessDataFileName")) + QLatin1Char(' ') +
                                 path + QLatin1Char(' ') +
                                 gLang.GetString(QStringLiteral("MessDataFileExists"));
        if (TMessageBox::Show({nullptr, question, ProductName, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Question}) != QMessageBox::Yes)
            return false;
    }
    TDataFileWriter writer;
    writer.WriteHeader(*record, gOptions.DefaultCalibrationLevel);
    for (int i = 0; i < PointCount(record); ++i)
        writer.WriteRow(PointAt(record, i));
    switch (writer.Commit(path)) {
    case TDataFileWriter::Result::OpenFailed:
        ShowPlainWithPath("MessDataFileOpenError", path);
        return false;
    case TDataFileWriter::Result::WriteFailed:
        ShowPlainWithPath("MessDataFileWriteError", path);
        return false;
    case TDataFileWriter::Result::Written:
        break;
    }
    record->modified = false;
    return true;
}

bool TDataEngine::SaveReference()
{
    return SaveData(&reference);
}

void TDataEngine::SaveAll()
{
    for (const auto& record : datas) {
        if (record->modified)
            SaveData(record.get());
    }
}

void TDataEngine::CreateReference(int algorithm)
{
    QVector<SAllDatas> work;
    for (const auto& record : datas) {
        for (const SDataPoint& row : record->points) {
            auto entry = FirstNotBelow(work, row.freq);
            if (entry == work.end() || entry->freq != row.freq)
                entry = work.insert(entry, SAllDatas{row.freq, {}, {}});
            entry->leftValues.append(row.left);
            entry->rightValues.append(row.right);
        }
    }
    reference.points.clear();
    for (const SAllDatas& entry : std::as_const(work)) {
        if (entry.leftValues.isEmpty())
            continue;
        const float left = ReferenceLevel(entry.leftValues, algorithm);
        const float right = ReferenceLevel(entry.rightValues, algorithm);
        AddPoint(&reference, SDataPoint{entry.freq, left, right, left, right});
    }
    PoolReliability(reference, datas);
    RebuildGraphs();
    NotifyChanged();
}

void TDataEngine::ChangeReference()
{
    const QVector<SDataPoint>& referenceRows = reference.points;
    for (const auto& record : datas) {
        for (SDataPoint& row : record->points) {
            const auto match = FirstNotBelow(referenceRows, row.freq);
            if (match != referenceRows.end() && match->freq == row.freq) {
                row.leftRef = match->leftRef;
                row.rightRef = match->rightRef;
                continue;
            }
            const QString text = gLang.GetString(QStringLiteral("MessDataRefNoFreq")) + FloatText(row.freq) +
                                 gLang.GetString(QStringLiteral("MessDataNearFreq"));
            TMessageBox::Show({nullptr, text, ProductName, QMessageBox::Ok, QMessageBox::Information});
        }
        record->modified = true;
    }
    RebuildGraphs();
    NotifyChanged();
}
