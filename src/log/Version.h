// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLatin1String>
#include <QString>

// The program's name: the application title and the caption of its own message boxes.
inline constexpr QLatin1String ProductName("Kelvarion");

// The version as the caption shows it, " 1.04.01 ", from the project's version.
QString VersionText();

// The program's build date, formatted from year, month and day; buildDate is the
// compiler's date text, such as "May  5 2010".
QString BuildDateText(const char* format = nullptr, const char* buildDate = __DATE__);
