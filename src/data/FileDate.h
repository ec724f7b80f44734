#pragma once

#include "data/DateTime.h"

#include <QLocale>
#include <QString>

// Dates in measurement files: the user's short date, then a blank and the long time when
// there is a time of day. The formats are widened where the locale's own would not read back
// as written: years get four digits, and the time loses its zone, which a time of day
// written without one does not have.
class TFileDate
{
public:
    static QString ToText(const TDateTime& value, const QLocale& locale);
    // Reads what ToText writes, the locale's standard formats, and ISO 8601 dates
    // ("2010-05-14 10:30:00"), which every locale can exchange.
    static bool FromText(const QString& text, const QLocale& locale, TDateTime& value);

    static QString DateFormat(const QLocale& locale);
    static QString TimeFormat(const QLocale& locale);
};
