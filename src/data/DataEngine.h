// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/Data.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdio>
#include <functional>
#include <memory>
#include <span>
#include <utility>
#include <vector>

class QImage;
class TGraph;
class TImage;

// The measurement data store: every measurement loaded or recorded in this run, the reference
// record and the two audiograms that show them. Every change goes through it and ends in a
// replot of the charts; the on-screen store then announces it through TDataChanges.
class TDataEngine
{
public:
    // On screen: the charts draw into the bitmaps of the image controls, sized to the controls,
    // when the window that shows them asks.
    TDataEngine(TImage* leftImage, TImage* rightImage, const TDataEngine* source, float scale,
                const QColor& backgroundColour, TImage* legendImage);
    // For printing: the charts draw into the bitmaps as they are, with the source's data.
    TDataEngine(QImage* leftBitmap, QImage* rightBitmap, const TDataEngine* source, float scale,
                const QColor& backgroundColour, QImage* legendBitmap);
    ~TDataEngine();
    TDataEngine(const TDataEngine&) = delete;
    TDataEngine& operator=(const TDataEngine&) = delete;

    // One frequency of the work list a new reference is built from: every level found at
    // exactly this frequency, in the order met.
    struct SAllDatas
    {
        float freq = 0.0f;
        QVector<float> leftValues;
        QVector<float> rightValues;
    };
    // The algorithms of CreateReference; any other value gives 0 dB everywhere.
    static constexpr int MinimumLevels = 0;
    static constexpr int MeanLevels = 1;

    SData* NewData();
    void AddMeasurement(const QVector<float>& frequencies, std::span<const float, ResultValues> results,
                        const QString& remarks, const TDateTime& session_date, const TDateTime& born_date,
                        const QString& surname, const QString& name, const QString& fileName,
                        const QString& procedure = {}, const SEarReliability& leftReliability = {},
                        const SEarReliability& rightReliability = {});
    void AddPoint(SData* record, const SDataPoint& row);
    void AddPointRef(SData* record, float freq, float left, float right);
    // The reference values (left, right) at exactly this frequency, else 10 dB each.
    std::pair<float, float> ReferenceAt(float freq) const;
    void PlotPoint(const SDataPoint& row, const SData* record);
    void RebuildGraphs();
    // Plots every measurement relative to its reference values, or as recorded.
    void SetReferenceOn(bool on);
    void DrawGraphs(TImage* legendImage);
    // On screen: builds both charts anew for the image controls' present size in device
    // pixels, with fonts and pens at chartScale and the legend's at legendScale. The store's
    // own scale stays, and with it the markers. False, and nothing rebuilt, when the charts
    // already fit.
    bool FitGraphs(float chartScale, float legendScale);
    void SetBackgroundColour(const QColor& colour);
    int DataCount() const;
    int PointCount(const SData* record) const;
    SDataPoint PointAt(const SData* record, int index) const;
    bool IsModified() const;
    // The files the modified records would be saved as, in list order.
    QStringList UnsavedFiles() const;
    void SortByFrequency(SData* record);
    void CopyFrom(const TDataEngine& source);

    // Told the bytes of the file read so far, now and then while a file is read; a false
    // answer stops the reading.
    using TReadProgress = std::function<bool(qint64 bytesRead)>;
    // A reading stopped by the progress leaves the store as it was before.
    void LoadData(const QString& path, const TReadProgress& progress = {});
    void LoadReference(const QString& path);
    bool SaveData(SData* record);
    bool SaveReference();
    void SaveAll();

    // Replaces the reference's rows by one row per frequency of the loaded measurements, with
    // the level columns and the reference columns alike; the measurements keep theirs. The
    // reliability figures are pooled when every measurement was confirmed.
    void CreateReference(int algorithm);
    // Gives every measurement row the reference values at exactly its frequency and marks
    // every measurement modified; a frequency the reference lacks is reported and keeps its
    // values.
    void ChangeReference();

    std::vector<std::unique_ptr<SData>> datas;
    SData reference;
    std::unique_ptr<TGraph> leftGraph;
    std::unique_ptr<TGraph> rightGraph;
    bool referenceOn = false;
    float scale = 1.0f;

private:
    enum class EReadResult
    {
        Read,
        NothingFound,
        Stopped
    };

    // Throws std::runtime_error on a date the user's locale cannot read; what was read
    // before that line stays in the record. Rows no test can give are not loaded, and counted
    // in rowsLeftOut.
    EReadResult ReadDataFile(const QString& path, SData* record, std::FILE* file, int& rowsLeftOut,
                             const TReadProgress& progress);
    // Gives a series just added the store's reference state, its marker and every row.
    void PlotRecord(SData& record);
    void CreateGraphs(QImage* leftBitmap, QImage* rightBitmap, const QColor& backgroundColour,
                      QImage* legendBitmap, float chartScale);
    void TakeOver(const TDataEngine* source);
    void NotifyChanged() const;
    void ResetReference();

    // The screen form's image controls, which show what the charts drew; none for printing.
    TImage* m_leftImage = nullptr;
    TImage* m_rightImage = nullptr;
    TImage* m_legendImage = nullptr;
};

extern TDataEngine* DataEngine;
