// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/Options.h"

#include "lang/Lang.h"
#include "log/FloatText.h"
#include "log/Log.h"
#include "platform/AppPaths.h"
#include "platform/IniFile.h"
#include "settings/SettingsTable.h"

#include <QDir>
#include <QLocale>

#include <cmath>
#include <type_traits>
#include <variant>

namespace {

// Constant-initialised: the settings are read during static initialisation.
constexpr QLatin1String kSection("Settings");

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

// Floats follow the user's locale, as the file is theirs; a value written under another
// locale with a "." still reads back.
bool ToFloat(const QString& text, float& value)
{
    bool ok = false;
    value = QLocale::system().toFloat(text, &ok);
    if (!ok)
        value = QLocale::c().toFloat(text, &ok);
    return ok && std::isfinite(value);
}

bool InRange(double value, const SSetting& setting)
{
    return value >= setting.min && value <= setting.max;
}

template <typename> constexpr bool kIsInteger = false;
template <> constexpr bool kIsInteger<int32_t> = true;
template <> constexpr bool kIsInteger<int8_t> = true;

} // namespace

TOptions::TOptions()
    : TOptions(TAppPaths::Folders().settingsProblem.isEmpty() ? TAppPaths::Folders().settings : QString(),
               TAppPaths::Folders().data)
{
}

TOptions::TOptions(const QString& programFolder)
    : TOptions(programFolder, programFolder + QStringLiteral("/Data"))
{
}

TOptions::TOptions(const QString& settingsFolder, const QString& dataFolder)
    : m_dataFolder(dataFolder),
      m_path(settingsFolder.isEmpty() ? QString() : settingsFolder + QStringLiteral("/kelvarion.ini"))
{
    DefaultPath = m_dataFolder;
    ReadSettings();
}

TOptions::~TOptions()
{
    if (!m_keepFile)
        SaveSettings();
}

void TOptions::ReadSettings()
{
    TIniFile ini;
    if (!m_path.isEmpty() && !ini.Load(m_path)) {
        m_keepFile = true;
        gLang.ShowMessage(QStringLiteral("MessOptionsReadError"), QStringLiteral("MessOptionsError"), nullptr,
                          QMessageBox::Ok, QMessageBox::Critical);
    }
    for (const SSetting& setting : SettingsTable())
        Read(ini, setting);
    MakeDataFolderCurrent();
}

void TOptions::Read(const TIniFile& ini, const SSetting& setting)
{
    const QString key = QString::fromLatin1(setting.key);
    const QString text = ini.ReadString(kSection, key, QString());
    std::visit(
        [&](auto place) {
            using TPlace = decltype(place);
            if constexpr (std::is_same_v<TPlace, SOwnFreqList>) {
                FreqPresets[OwnFreqList] = ini.ReadString(kSection, key, FreqPresets[OwnFreqList]);
            } else {
                auto& member = this->*place;
                using T = std::remove_reference_t<decltype(member)>;
                long long integer = 0;
                float number = 0;
                if constexpr (std::is_same_v<T, QString>)
                    member = ini.ReadString(kSection, key, member);
                else if constexpr (std::is_same_v<T, bool>)
                    member = ToInt(text, integer) ? integer != 0 : setting.defaultValue != 0;
                else if constexpr (kIsInteger<T>)
                    member = ToInt(text, integer) && InRange(double(integer), setting)
                                 ? T(integer)
                                 : T(setting.defaultValue);
                else
                    member = ToFloat(text, number) && InRange(number, setting) ? number
                                                                               : float(setting.defaultValue);
            }
        },
        setting.place);
}

void TOptions::MakeDataFolderCurrent()
{
    QString reason;
    // A mistyped folder must not become a folder tree; only the program's own default, in the
    // user's documents, may need its parents made.
    if (!TAppPaths::MakeFolder(DefaultPath, reason, DefaultPath == m_dataFolder)) {
        gLang.ShowMessage(QStringLiteral("MessOptionsNoPath"), QStringLiteral("MessOptionsError"), nullptr,
                          QMessageBox::Ok, QMessageBox::Critical, DefaultPath + QLatin1Char('\n') + reason);
    }
    // Open and save dialogs start in the current directory, so they start in the data folder.
    QDir::setCurrent(DefaultPath);
}

QString TOptions::TextOf(const SSetting& setting)
{
    return std::visit(
        [this](auto place) -> QString {
            if constexpr (std::is_same_v<decltype(place), SOwnFreqList>) {
                return FreqPresets[OwnFreqList];
            } else {
                const auto& member = this->*place;
                using T = std::remove_cvref_t<decltype(member)>;
                if constexpr (std::is_same_v<T, QString>)
                    return member;
                else if constexpr (std::is_same_v<T, float>)
                    return FloatText(member);
                else
                    return QString::number(int(member));
            }
        },
        setting.place);
}

bool TOptions::SaveSettings()
{
    // Kept in memory: the user has been told at start-up.
    if (m_path.isEmpty())
        return false;
    TIniFile ini;
    ini.Load(m_path);
    for (const SSetting& setting : SettingsTable())
        ini.WriteString(kSection, QString::fromLatin1(setting.key), TextOf(setting));
    if (ini.Save(m_path))
        return true;
    LOG_AT(QStringLiteral("[SaveSettings] %1: %2").arg(m_path, ini.ErrorString()));
    return false;
}

void TOptions::SetDefault(const SSetting& setting)
{
    std::visit(
        [&](auto place) {
            if constexpr (!std::is_same_v<decltype(place), SOwnFreqList>) {
                auto& member = this->*place;
                using T = std::remove_reference_t<decltype(member)>;
                if constexpr (!std::is_same_v<T, QString>)
                    member = T(setting.defaultValue);
                else if (setting.textDefault == TTextDefault::DataFolder)
                    member = m_dataFolder + QLatin1Char('/');
                else if (setting.textDefault == TTextDefault::Empty)
                    member.clear();
            }
        },
        setting.place);
}

void TOptions::SetDefaults()
{
    for (const SSetting& setting : SettingsTable()) {
        if (!setting.keptByDefaults)
            SetDefault(setting);
    }
}

bool TOptions::ParseFreqList(const QString& text, QVector<float>& list) const
{
    list.clear();
    bool result = true;
    // Walked by position: a pasted list may hold a hundred thousand items.
    const QStringView all(text);
    for (qsizetype start = 0; start < all.size();) {
        const qsizetype comma = all.indexOf(QLatin1Char(','), start);
        const QStringView item = all.mid(start, comma < 0 ? -1 : comma - start);
        bool ok = false;
        const float value = QLocale::system().toFloat(item, &ok);
        // "nan" and "inf" read as numbers, but no tone has such a frequency.
        if (!ok || !std::isfinite(value)) {
            gLang.ShowMessage(QStringLiteral("MessOptionsBadFormat"), QStringLiteral("MessOptionsError"),
                              nullptr, QMessageBox::Ok, QMessageBox::Critical);
            result = false;
            break;
        }
        if (value < 20.0f || value > 20000.0f) {
            gLang.ShowMessage(QStringLiteral("MessOptionsFreqRange"), QStringLiteral("MessOptionsError"),
                              nullptr, QMessageBox::Ok, QMessageBox::Critical);
            result = false;
        }
        list.append(value);
        start = comma < 0 ? all.size() : comma + 1;
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
