// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/ShownText.h"

#include <QList>
#include <QStringList>

QString TShownText::Visible(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        if (QChar::category(c) == QChar::Other_Format)
            shown += QStringLiteral("<U+%1>").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
        else
            shown += QStringView(QChar::fromUcs4(c));
    }
    return shown;
}

QString TShownText::Cut(const QString& text, qsizetype limit)
{
    const QString shown = Visible(text);
    if (shown.size() <= limit)
        return shown;
    qsizetype kept = limit - 1;
    // A letter outside the basic plane is two code units, which stay together.
    if (shown.at(kept - 1).isHighSurrogate())
        --kept;
    return shown.left(kept) + QChar(0x2026);
}

QString TShownText::Tip(const QString& text, qsizetype limit)
{
    const QString shown = Visible(text);
    if (shown.size() <= limit)
        return {};
    // A tooltip shows a plain text on one line however long, so the lines are made here.
    QStringList lines;
    for (qsizetype at = 0; at < shown.size(); at += TipLineLength)
        lines.append(shown.mid(at, TipLineLength));
    return lines.join(QLatin1Char('\n'));
}
