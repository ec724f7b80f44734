#pragma once

#include <QString>

// The part of a path after its last folder separator.
QString FileNamePart(const QString& path);

// The program's build date, formatted from year, month and day; buildDate is the
// compiler's date text, such as "May  5 2010".
QString BuildDateText(const char* format = nullptr, const char* buildDate = __DATE__);
