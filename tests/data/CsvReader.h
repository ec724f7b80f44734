// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// Reads CSV as a strict spreadsheet does (RFC 4180): quoted fields may hold commas,
// semicolons, line breaks and doubled quotes; records end with CR LF. Like the spreadsheets
// that split on semicolons under a decimal comma, or trim what is not quoted, it refuses an
// unquoted semicolon and trims unquoted fields. A fault gives no records at all.
inline QVector<QStringList> ReadCsv(const QByteArray& bytes)
{
    const QString text = QString::fromUtf8(bytes);
    QVector<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    bool wasQuoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c != QLatin1Char('"')) {
                field += c;
            } else if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                field += c;
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == QLatin1Char('"')) {
            if (!field.isEmpty() || wasQuoted)
                return {};
            quoted = wasQuoted = true;
        } else if (c == QLatin1Char(',')) {
            record.append(wasQuoted ? field : field.trimmed());
            field.clear();
            wasQuoted = false;
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            record.append(wasQuoted ? field : field.trimmed());
            records.append(record);
            record.clear();
            field.clear();
            wasQuoted = false;
            ++i;
        } else if (wasQuoted || c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char(';')) {
            return {};
        } else {
            field += c;
        }
    }
    if (quoted || !field.isEmpty() || !record.isEmpty())
        return {};
    return records;
}
