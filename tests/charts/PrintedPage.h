// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Prints to PDF files and reads the page back the way a person sees it, through poppler's
// pdftoppm, pdftotext and pdfinfo.
#include "data/DataEngine.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline constexpr int kPrintDpi = 600;

// A PDF printer whose printable area is 4800 x 6800 pixels: 8 x 11 1/3 inches, no margins.
inline void SetUpPdfPrinter(QPrinter& printer, const QString& path)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setResolution(kPrintDpi);
    printer.setPageLayout(
        QPageLayout(QPageSize(QSizeF(576, 816), QPageSize::Point, QString(), QPageSize::ExactMatch),
                    QPageLayout::Portrait, QMarginsF()));
}

// The four example measurements, shown against the example reference.
inline void LoadExamples(TDataEngine& engine)
{
    const QDir examples(QStringLiteral(KELVARION_SOURCE_DIR "/examples"));
    engine.LoadReference(examples.filePath(QStringLiteral("office-pc-hd280.aur")));
    for (const QString& file : examples.entryList({QStringLiteral("*.aud")}, QDir::Files, QDir::Name))
        engine.LoadData(examples.filePath(file));
    engine.SetReferenceOn(true);
}

inline QByteArray RunPoppler(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(120000)) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString() << ": "
                                     << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

// The smallest rectangle holding every pixel that is not white; empty on a white image.
inline QRect InkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xffffff) != 0xffffff)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// A printed PDF file read back: its page count and the words of its first page; on request
// a region of that page as poppler draws it at the printing resolution, and the pictures the
// file stores, in the order the page draws them.
struct SPrintedPage
{
    explicit SPrintedPage(const QString& path) : m_path(path)
    {
        const QRegularExpressionMatch count =
            QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)$"), QRegularExpression::MultilineOption)
                .match(QString::fromUtf8(RunPoppler(QStringLiteral("pdfinfo"), {path})));
        pages = count.hasMatch() ? count.captured(1).toInt() : 0;

        static const QRegularExpression word(QString::fromLatin1(
            R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
        const double pixelsPerPoint = kPrintDpi / 72.0;
        const QString text = QString::fromUtf8(
            RunPoppler(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-l"),
                                                     QStringLiteral("1"), path, QStringLiteral("-")}));
        for (const QRegularExpressionMatch& m : word.globalMatch(text)) {
            QString spelled = m.captured(5);
            spelled.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
                .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
                .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
                .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
            const QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
            const QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
            words.append({spelled, QRectF(topLeft * pixelsPerPoint, bottomRight * pixelsPerPoint)});
        }
    }

    // The box in printer pixels around the words of the phrase where they stand in a row;
    // empty when the page does not hold the phrase.
    QRectF PhraseBox(const QString& phrase) const
    {
        const QStringList wanted = phrase.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (qsizetype first = 0; first + wanted.size() <= words.size(); ++first) {
            QRectF box;
            qsizetype i = 0;
            while (i < wanted.size() && words[first + i].text == wanted[i])
                box |= words[first + i++].box;
            if (i == wanted.size())
                return box;
        }
        return QRectF();
    }

    // In grey, which tells ink from paper as well as colour does and reads faster.
    QImage Page(const QRect& region) const
    {
        const QTemporaryDir folder;
        const QString root = folder.filePath(QStringLiteral("page"));
        RunPoppler(QStringLiteral("pdftoppm"),
                   {QStringLiteral("-r"), QString::number(kPrintDpi), QStringLiteral("-gray"),
                    QStringLiteral("-singlefile"), QStringLiteral("-x"), QString::number(region.x()),
                    QStringLiteral("-y"), QString::number(region.y()), QStringLiteral("-W"),
                    QString::number(region.width()), QStringLiteral("-H"), QString::number(region.height()),
                    m_path, root});
        return QImage(root + QStringLiteral(".pgm")).convertToFormat(QImage::Format_RGB32);
    }

    QList<QImage> Images() const
    {
        const QTemporaryDir folder;
        RunPoppler(QStringLiteral("pdfimages"), {m_path, folder.filePath(QStringLiteral("image"))});
        QList<QImage> images;
        for (const QString& file : QDir(folder.path()).entryList(QDir::Files, QDir::Name))
            images.append(QImage(folder.filePath(file)).convertToFormat(QImage::Format_RGB32));
        return images;
    }

    struct SWord
    {
        QString text;
        QRectF box;
    };

    int pages = 0;
    QList<SWord> words;

private:
    QString m_path;
};
