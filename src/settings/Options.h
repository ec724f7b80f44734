#pragma once

#include <QString>
#include <QVector>

#include <cstdint>

class TIniFile;

// The five frequency lists a test can use; entry OwnFreqList is the user's own, kept in the settings.
inline constexpr int FreqPresetCount = 5;
inline constexpr int OwnFreqList = 4;
extern QString FreqPresets[FreqPresetCount];

// Which earphone sounds during a test ("Sound Source Type").
enum TSoundSource : int32_t { LeftEarphone = 0, RightEarphone = 1, EarUnderTest = 2, BothEarphones = 3 };
// How the level moves during a test ("Algorithm").
enum TLevelDirection : int8_t { AscendingLevels = 0, DescendingLevels = 1 };

// Every persistent setting, read from "kelvarion.ini" beside the program at construction and
// written back at destruction.
class TOptions
{
public:
    TOptions();
    // programFolder holds kelvarion.ini and, by default, the data folder "Data".
    explicit TOptions(const QString& programFolder);
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

    int32_t FreqListIndex = 0;
    int32_t DefaultCalibrationLevel = 6553;
    QString DefaultCalibrationDesc;
    float MinLevel = 0.0f;
    float MaxLevel = 80.0f;
    float DeltaLevel = 2.0f;
    int32_t SoundSourceType = 0;
    int8_t Algorithm = 0;
    QString Lang;
    bool Calibrated = false;
    bool Modulation = true;
    QString DefaultPath;
    QString ReferenceFileName;

private:
    void ReadSettings();
    void MakeDataFolderCurrent();

    QString m_programFolder;
    QString m_path;
    // A file that could not be read is not overwritten with defaults at exit.
    bool m_readFailed = false;
};

extern TOptions gOptions;
