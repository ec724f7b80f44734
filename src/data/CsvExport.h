// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class QDate;
class QWidget;
class TDataEngine;
struct SData;

// The loaded measurements as a CSV table for spreadsheets: one line per measurement and
// frequency, RFC 4180 quoting, UTF-8, "." as the decimal point in every locale. A text that a
// spreadsheet would take for a formula starts with an apostrophe; numbers stay numbers.
class TCsvExport
{
public:
    // The field as it stands in a line, quoted when a reader could split or trim it.
    static QString Field(const QString& text);
    static QByteArray Text(const std::vector<std::unique_ptr<SData>>& datas, bool referenceOn);
    static QString DefaultFileName(const QDate& date);
    // The whole file or nothing; on failure the reason is in error.
    static bool Write(const QString& path, const QByteArray& text, QString& error);

    // The command: asks where to, writes, and tells the user when the file could not be written.
    static void Export(QWidget* owner, const TDataEngine& data);
};
