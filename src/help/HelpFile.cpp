// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/HelpFile.h"

#include "lang/Lang.h"
#include "log/Log.h"
#include "platform/AppPaths.h"

#include <QFileInfo>

namespace {

bool ExistsOrLog(const QString& path)
{
    if (QFileInfo::exists(path))
        return true;
    LOG_AT(QStringLiteral("[HTMLHelpChange] file(") + path + QStringLiteral(") doesn't exits."));
    return false;
}

} // namespace

QString THelpFile::PathOf(const QString& symbol)
{
    return TAppPaths::Folders().help + QStringLiteral("/kelvarion_") + symbol + QStringLiteral(".html");
}

SHelpFileChoice THelpFile::Choose(const QString& symbol)
{
    const QString chosen = symbol.isEmpty() ? QString::fromLatin1(DefaultLangSymbol) : symbol;
    const QString path = PathOf(chosen);
    if (ExistsOrLog(path))
        return {path, true};
    const QString fallback = PathOf(QString::fromLatin1(DefaultLangSymbol));
    return {fallback, ExistsOrLog(fallback)};
}
