// SPDX-License-Identifier: GPL-3.0-or-later
// The manuals name the buttons and commands as the windows show them: every caption in a
// manual's tables of captions is a text of that language's file (mnemonic and "..." aside).
#include "platform/AppPaths.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QString>

#include <gtest/gtest.h>

namespace {

QString Read(const QString& path)
{
    QFile file(TAppPaths::ProgramFolder() + QLatin1Char('/') + path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(file.readAll());
}

QSet<QString> CaptionsOf(const QString& languageFile)
{
    QSet<QString> captions;
    static const QRegularExpression entry(QStringLiteral("^[^;\\[=][^=]*=(.*)$"),
                                          QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch& match : entry.globalMatch(Read(languageFile))) {
        QString caption = match.captured(1).trimmed().remove(QLatin1Char('&'));
        if (caption.endsWith(QLatin1String("...")))
            caption.chop(3);
        captions.insert(caption);
    }
    return captions;
}

} // namespace

TEST(ManualCaptions, EveryCaptionAManualQuotesIsOneTheWindowsShow)
{
    static const QRegularExpression table(QStringLiteral("<table class=\"captions\".*?</table>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression firstCell(QStringLiteral("<tr><td>([^<]*)</td>"));
    for (const char* symbol : {"en", "pl"}) {
        const QSet<QString> captions = CaptionsOf(QStringLiteral("res/%1.lng").arg(QLatin1String(symbol)));
        const QString manual = Read(QStringLiteral("kelvarion_%1.html").arg(QLatin1String(symbol)));
        int quoted = 0;
        for (const QRegularExpressionMatch& found : table.globalMatch(manual)) {
            for (const QRegularExpressionMatch& cell : firstCell.globalMatch(found.captured(0))) {
                for (const QString& caption :
                     cell.captured(1).split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
                    ++quoted;
                    EXPECT_TRUE(captions.contains(caption)) << symbol << ": " << caption.toStdString();
                }
            }
        }
        EXPECT_GT(quoted, 30) << symbol;
    }
}
