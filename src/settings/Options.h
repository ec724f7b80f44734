// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/FreqPresets.h"

#include <QString>
#include <QVector>

#include <cstdint>

class TIniFile;
struct SSetting;

// Which earphone sounds during a test ("Sound Source Type").
enum TSoundSource : int32_t
{
    LeftEarphone = 0,
    RightEarphone = 1,
    EarUnderTest = 2,
    BothEarphones = 3
};
// How the level moves during a test ("Algorithm").
enum TLevelDirection : int8_t
{
    AscendingLevels = 0,
    DescendingLevels = 1,
    // The confirmed ascending method with irregular onsets.
    ClinicalLevels = 2
};

// Every persistent setting, read from "kelvarion.ini" at construction and written back at
// destruction. Keys, defaults and ranges are those of SettingsTable().
class TOptions
{
public:
    // In the folders TAppPaths has decided.
    TOptions();
    // programFolder holds kelvarion.ini and, by default, the data folder "Data".
    explicit TOptions(const QString& programFolder);
    // Without a settings folder the settings are kept in memory only.
    TOptions(const QString& settingsFolder, const QString& dataFolder);
    ~TOptions();
    TOptions(const TOptions&) = delete;
    TOptions& operator=(const TOptions&) = delete;

    bool SaveSettings();
    void SetDefaults();
    bool ParseFreqList(const QString& text, QVector<float>& list) const;
    bool CheckFreqList(const QString& text) const;
    bool GetFreqList(QVector<float>& list) const;
    float GetSignedDelta() const;
    void SetLang(const QString& symbol);
    // The settings file is another run's: this one ends without writing it.
    void KeepFileAsIs() { m_keepFile = true; }

    int32_t FreqListIndex = 0;
    int32_t DefaultCalibrationLevel = 0;
    QString DefaultCalibrationDesc;
    float MinLevel = 0.0f;
    float MaxLevel = 0.0f;
    float DeltaLevel = 0.0f;
    int32_t SoundSourceType = 0;
    int8_t Algorithm = 0;
    QString Lang;
    bool Calibrated = false;
    bool Modulation = false;
    QString DefaultPath;
    QString ReferenceFileName;

private:
    void ReadSettings();
    void Read(const TIniFile& ini, const SSetting& setting);
    QString TextOf(const SSetting& setting);
    void SetDefault(const SSetting& setting);
    void MakeDataFolderCurrent();

    QString m_dataFolder;
    QString m_path;
    // A file that could not be read is not overwritten with defaults at exit, nor another run's.
    bool m_keepFile = false;
};

extern TOptions gOptions;
