// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/CsvExport.h"

#include "data/Data.h"
#include "data/DataEngine.h"
#include "lang/Lang.h"
#include "platform/CommonDialogs.h"
#include "platform/MessageBox.h"

#include <QDate>
#include <QDir>
#include <QSaveFile>
#include <QStringList>

#include <charconv>

namespace {

const char* const kHeader[] = {"file name",
                               "surname",
                               "first name",
                               "birth date",
                               "test date",
                               "calibration level",
                               "calibration description",
                               "frequency (Hz)",
                               "left (dB)",
                               "right (dB)",
                               "left reference (dB)",
                               "right reference (dB)",
                               "left plotted (dB)",
                               "right plotted (dB)"};

// RFC 4180 ends every line with CR LF.
constexpr char kLineEnd[] = "\r\n";

// The shortest text that reads back as the same float, whatever the locale.
QString Number(float value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString IsoText(const TDateTime& date)
{
    if (!date.IsSet())
        return {};
    if (!date.HasTime())
        return date.Date().toString(Qt::ISODate);
    return date.ToDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// A spreadsheet runs a cell that starts like a formula; the files' texts come from anyone, so
// such a text is written with an apostrophe before it, which shows it as text.
QString Inert(const QString& text)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (text.isEmpty() || !formulaStarts.contains(text.front()))
        return text;
    return QLatin1Char('\'') + text;
}

void AppendLine(QByteArray& text, const QStringList& fields)
{
    QStringList quoted;
    for (const QString& field : fields)
        quoted.append(TCsvExport::Field(field));
    text.append(quoted.join(QLatin1Char(',')).toUtf8());
    text.append(kLineEnd);
}

} // namespace

QString TCsvExport::Field(const QString& text)
{
    // Semicolons are quoted too: spreadsheets set to a comma as decimal separator split on them.
    const bool plain = !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char(',')) &&
                       !text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('\n')) &&
                       !text.contains(QLatin1Char('\r')) && text.trimmed() == text;
    if (plain)
        return text;
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

QByteArray TCsvExport::Text(const std::vector<std::unique_ptr<SData>>& datas, bool referenceOn)
{
    QByteArray text;
    QStringList header;
    for (const char* name : kHeader)
        header.append(QLatin1String(name));
    AppendLine(text, header);
    for (const auto& record : datas) {
        const QStringList person = {
            Inert(record->fileName),        Inert(GivenName(record->surname)),
            Inert(GivenName(record->name)), IsoText(record->born_date),
            IsoText(record->session_date),  QString::number(record->calibration_level),
            Inert(record->calibration_desc)};
        // A measurement without rows still shows up, with its numbers left empty.
        if (record->points.isEmpty())
            AppendLine(text, person + QStringList(7, QString()));
        for (const SDataPoint& row : record->points) {
            const auto [left, right] = PlottedLevels(row, referenceOn);
            AppendLine(text, person + QStringList{Number(row.freq), Number(row.left), Number(row.right),
                                                  Number(row.leftRef), Number(row.rightRef), Number(left),
                                                  Number(right)});
        }
    }
    return text;
}

QString TCsvExport::DefaultFileName(const QDate& date)
{
    return QStringLiteral("kelvarion-") + date.toString(Qt::ISODate) + QStringLiteral(".csv");
}

bool TCsvExport::Write(const QString& path, const QByteArray& text, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

void TCsvExport::Export(QWidget* owner, const TDataEngine& data)
{
    const QString path =
        TCommonDialogs::SaveFile({owner, gLang.GetString(QStringLiteral("MessExportFilter")),
                                  QDir::current().filePath(DefaultFileName(QDate::currentDate()))});
    if (path.isEmpty())
        return;
    QString error;
    if (Write(path, Text(data.datas, data.referenceOn), error))
        return;
    const QString caption = gLang.GetString2(QStringLiteral("MessExport"));
    TMessageBox::Show({owner,
                       gLang.GetString(QStringLiteral("MessExportError")) + path + QLatin1Char('\n') + error,
                       caption, QMessageBox::Ok, QMessageBox::Critical});
}
