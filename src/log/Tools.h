#pragma once

#include <QLatin1String>
#include <QString>

// The program's name: the application title and the caption of its own message boxes.
inline constexpr QLatin1String ProductName("Kelvarion");

// The version as the caption shows it, " 1.04.01 ", from the project's version.
QString VersionText();

// The part of a path after its last folder separator.
QString FileNamePart(const QString& path);

// The name proposed for a new file: the name, a blank and the time now as "yyyymmdd_hhmm",
// so that files of one name made at different times do not meet. Characters a file name cannot
// hold ("/", control characters) are left out, and so are "-" and "." at the start.
QString ProposedFileName(const QString& name);

// The shortest text that reads back as the same float, with the user's decimal separator;
// whole numbers below 1e15 in full.
QString FloatText(float value);

// The program's build date, formatted from year, month and day; buildDate is the
// compiler's date text, such as "May  5 2010".
QString BuildDateText(const char* format = nullptr, const char* buildDate = __DATE__);
