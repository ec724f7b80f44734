// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

struct SHelpFileChoice
{
    QString path;
    // False when not even the file of the default language exists; path then names that file.
    bool found = false;
};

// The help file of a language: "kelvarion_<symbol>.html" in the help folder.
class THelpFile
{
public:
    static QString PathOf(const QString& symbol);
    // The file of the symbol (of DefaultLangSymbol for an empty one), else the file of
    // DefaultLangSymbol; every missing file is logged.
    static SHelpFileChoice Choose(const QString& symbol);
};
