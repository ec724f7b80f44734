// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A text from a measurement file as the windows and the printed page show it. Files are text
// anyone can write: invisible format characters (bidirectional controls, zero-width
// characters) would let a name read as another, so they show as marks such as "<U+202E>";
// a text longer than its place is cut with an ellipsis.
class TShownText
{
public:
    // Names and other short texts; remarks may be longer.
    static constexpr qsizetype NameLimit = 40;
    static constexpr qsizetype RemarksLimit = 80;
    static constexpr qsizetype TipLineLength = 80;

    static QString Visible(const QString& text);
    // The visible text, cut to at most limit characters with the last one an ellipsis.
    static QString Cut(const QString& text, qsizetype limit);
    // The whole visible text in lines of TipLineLength when Cut leaves part of it out, for a
    // tooltip; empty otherwise.
    static QString Tip(const QString& text, qsizetype limit);
};
