// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>

#include <initializer_list>

// The program's own icons, read as the PNG files they are: left to guess their format, Qt
// loads every image plugin on the machine to ask it, which costs a start-up milliseconds.
class TBundledIcon
{
public:
    static QIcon File(const QString& file);
    // One file per size, "%1" in the pattern standing for the size.
    static QIcon Sizes(const QString& pattern, std::initializer_list<int> sizes);
    // The desktop's icon of this name where the desktop has an icon theme, otherwise the
    // program's :/icons/<name>.png.
    static QIcon Named(const QString& name);
};
