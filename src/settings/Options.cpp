#include "settings/Options.h"

#include "lang/Lang.h"
#include "log/Log.h"
#include "platform/AppPaths.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QLocale>

#include <charconv>
#include <cmath>

namespace {

const QString kSection = QStringLiteral("Settings");

// The defaults of every setting a file can lack, in one place.
struct SDefaults
{
    static constexpr int32_t FreqListIndex = 0;
    static constexpr float MinLevel = 0.0f;
    static constexpr float MaxLevel = 80.0f;
    static constexpr float DeltaLevel = 2.0f;
    static constexpr bool Calibrated = false;
    static constexpr int8_t Algorithm = 0;
    static constexpr int32_t SoundSourceType = 0;
    static constexpr int32_t CalibrationLevel = 6553;
    static constexpr bool Modulation = true;
};

// Integers in decimal, or hexadecimal after "0x"; anything else is no value.
bool ToInt(const QString& text, long long& value)
{
    bool ok = false;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = text.mid(2).toLongLong(&ok, 16);
    else
        value = text.toLongLong(&ok, 10);
    return ok;
}

long long ReadInt(const TIniFile& ini, const QString& key, long long defaultValue, long long min, long long max)
{
    long long value = 0;
    if (!ToInt(ini.ReadString(kSection, key, QString()), value) || value < min || value > max)
        return defaultValue;
    return value;
}

bool ReadBool(const TIniFile& ini, const QString& key, bool defaultValue)
{
    long long value = 0;
    return ToInt(ini.ReadString(kSection, key, QString()), value) ? value != 0 : defaultValue;
}

// Floats follow the user's locale, as the file is theirs; a value written under another
// locale with a "." still reads back.
float ReadFloat(const TIniFile& ini, const QString& key, float defaultValue)
{
    const QString text = ini.ReadString(kSection, key, QString());
    bool ok = false;
    float value = QLocale::system().toFloat(text, &ok);
    if (!ok)
        value = QLocale::c().toFloat(text, &ok);
    return ok && std::isfinite(value) ? value : defaultValue;
}

QString FloatText(float value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    return text.replace(QLatin1Char('.'), QLocale::system().decimalPoint());
}

} // namespace

TOptions::TOptions() : TOptions(TAppPaths::ProgramFolder())
{
}

TOptions::TOptions(const QString& programFolder)
    : m_programFolder(programFolder), m_path(programFolder + QStringLiteral("/kelvarion.ini"))
{
    DefaultPath = m_programFolder + QStringLiteral("/Data");
    ReadSettings();
}

TOptions::~TOptions()
{
    if (!m_readFailed)
        SaveSettings();
}

void TOptions::ReadSettings()
{
    TIniFile ini;
    if (!ini.Load(m_path)) {
        m_readFailed = true;
        gLang.ShowMessage(QStringLiteral("MessOptionsReadError"), QStringLiteral("MessOptionsError"), nullptr,
                          QMessageBox::Ok, QMessageBox::Critical);
    }
    FreqListIndex = int32_t(ReadInt(ini, QStringLiteral("Frequency List"), SDefaults::FreqListIndex, 0, 4));
    MinLevel = ReadFloat(ini, QStringLiteral("Minimum Level"), SDefaults::MinLevel);
    MaxLevel = ReadFloat(ini, QStringLiteral("Maximum Level"), SDefaults::MaxLevel);
    DeltaLevel = ReadFloat(ini, QStringLiteral("Delta Level"), SDefaults::DeltaLevel);
    // A step of zero or less would never reach the end of a test.
    if (!(DeltaLevel > 0.0f))
        DeltaLevel = SDefaults::DeltaLevel;
    Calibrated = ReadBool(ini, QStringLiteral("Calibrated"), SDefaults::Calibrated);
    Algorithm = int8_t(ReadInt(ini, QStringLiteral("Algorithm"), SDefaults::Algorithm, 0, 1));
    SoundSourceType = int32_t(ReadInt(ini, QStringLiteral("Sound Source Type"), SDefaults::SoundSourceType, 0, 3));
    DefaultCalibrationLevel =
        int32_t(ReadInt(ini, QStringLiteral("Default Calibration Level"), SDefaults::CalibrationLevel, 0, 65535));
    DefaultCalibrationDesc = ini.ReadString(kSection, QStringLiteral("Default Calibration Desc"), DefaultCalibrationDesc);
    Lang = ini.ReadString(kSection, QStringLiteral("Lang"), Lang);
    FreqPresets[OwnFreqList] = ini.ReadString(kSection, QStringLiteral("Frequency Other List"), FreqPresets[OwnFreqList]);
    Modulation = ReadBool(ini, QStringLiteral("Modulation"), SDefaults::Modulation);
    DefaultPath = ini.ReadString(kSection, QStringLiteral("Default Path"), DefaultPath);
    MakeDataFolderCurrent();
    ReferenceFileName = ini.ReadString(kSection, QStringLiteral("Reference FileName"), ReferenceFileName);
}

void TOptions::MakeDataFolderCurrent()
{
    if (!QDir(DefaultPath).exists() && !QDir().mkdir(DefaultPath)) {
        gLang.ShowMessage(QStringLiteral("MessOptionsNoPath"), QStringLiteral("MessOptionsError"), nullptr,
                          QMessageBox::Ok, QMessageBox::Critical);
    }
    // Open and save dialogs start in the current directory, so they start in the data folder.
    QDir::setCurrent(DefaultPath);
}

bool TOptions::SaveSettings()
{
    TIniFile ini;
    ini.Load(m_path);
    const auto write = [&ini](const char* key, const QString& value) {
        ini.WriteString(kSection, QString::fromLatin1(key), value);
    };
    write("Frequency List", QString::number(FreqListIndex));
    write("Minimum Level", FloatText(MinLevel));
    write("Maximum Level", FloatText(MaxLevel));
    write("Delta Level", FloatText(DeltaLevel));
    write("Calibrated", QString::number(Calibrated ? 1 : 0));
    write("Algorithm", QString::number(int(Algorithm)));
    write("Sound Source Type", QString::number(SoundSourceType));
    write("Default Path", DefaultPath);
    write("Reference FileName", ReferenceFileName);
    write("Default Calibration Level", QString::number(DefaultCalibrationLevel));
    write("Default Calibration Desc", DefaultCalibrationDesc);
    write("Frequency Other List", FreqPresets[OwnFreqList]);
    write("Modulation", QString::number(Modulation ? 1 : 0));
    write("Lang", Lang);
    if (ini.Save(m_path))
        return true;
    LOG_AT(QStringLiteral("[SaveSettings] %1: %2").arg(m_path, ini.ErrorString()));
    return false;
}

void TOptions::SetDefaults()
{
    FreqListIndex = SDefaults::FreqListIndex;
    MinLevel = SDefaults::MinLevel;
    MaxLevel = SDefaults::MaxLevel;
    DeltaLevel = SDefaults::DeltaLevel;
    Calibrated = SDefaults::Calibrated;
    Algorithm = SDefaults::Algorithm;
    SoundSourceType = SDefaults::SoundSourceType;
    DefaultPath = m_programFolder + QStringLiteral("/Data/");
    ReferenceFileName.clear();
    Modulation = SDefaults::Modulation;
}

bool TOptions::ParseFreqList(const QString& text, QVector<float>& list) const
{
    list.clear();
    bool result = true;
    QString rest = text;
    while (!rest.isEmpty()) {
        const int comma = rest.indexOf(QLatin1Char(','));
        const QString item = comma < 0 ? rest : rest.left(comma);
        bool ok = false;
        const float value = QLocale::system().toFloat(item, &ok);
        if (!ok) {
            gLang.ShowMessage(QStringLiteral("MessOptionsBadFormat"), QStringLiteral("MessOptionsError"), nullptr,
                              QMessageBox::Ok, QMessageBox::Critical);
            result = false;
            break;
        }
        if (value < 20.0f || value > 20000.0f) {
            gLang.ShowMessage(QStringLiteral("MessOptionsFreqRange"), QStringLiteral("MessOptionsError"), nullptr,
                              QMessageBox::Ok, QMessageBox::Critical);
            result = false;
        }
        list.append(value);
        rest = comma < 0 ? QString() : rest.mid(comma + 1);
    }
    if (list.isEmpty())
        list.append(1000.0f);
    return result;
}

bool TOptions::CheckFreqList(const QString& text) const
{
    QVector<float> scratch;
    return ParseFreqList(text, scratch);
}

bool TOptions::GetFreqList(QVector<float>& list) const
{
    return ParseFreqList(FreqPresets[FreqListIndex], list);
}

float TOptions::GetSignedDelta() const
{
    return Algorithm == DescendingLevels ? -DeltaLevel : DeltaLevel;
}

void TOptions::SetLang(const QString& symbol)
{
    Lang = symbol;
}
