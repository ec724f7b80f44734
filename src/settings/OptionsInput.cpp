// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/OptionsInput.h"

#include "settings/SettingsTable.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace {

QLocale UserNumbers(QLocale::NumberOptions options)
{
    QLocale locale = QLocale::system();
    locale.setNumberOptions(options);
    return locale;
}

const SSetting& SettingOf(float TOptions::*member)
{
    const auto settings = SettingsTable();
    return *std::find_if(settings.begin(), settings.end(), [member](const SSetting& setting) {
        const auto* place = std::get_if<float TOptions::*>(&setting.place);
        return place != nullptr && *place == member;
    });
}

} // namespace

bool TOptionsInput::ReadLevel(const QString& text, float TOptions::*setting, float& level)
{
    bool ok = false;
    const double value = UserNumbers(QLocale::RejectGroupSeparator).toDouble(text, &ok);
    // Checked as the 32-bit value that is kept: 1e39 is a double but no level. NaN is in no range.
    const float narrowed = float(value);
    const SSetting& range = SettingOf(setting);
    if (!ok || !(narrowed >= range.min && narrowed <= range.max))
        return false;
    // "-0" is a level of 0, not one that shows as "-0" next time.
    level = narrowed + 0.0f;
    return true;
}

QString TOptionsInput::LevelText(float level)
{
    return UserNumbers(QLocale::OmitGroupSeparator).toString(double(level), 'g', 15);
}

bool TOptionsInput::IsFolder(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

bool TOptionsInput::CreateFolder(const QString& path)
{
    return !path.isEmpty() && QDir().mkdir(path);
}

QString TOptionsInput::AbsoluteFolder(const QString& path)
{
    return path.isEmpty() || QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path);
}
