// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <functional>

class QPrinter;
class QWidget;

struct SOpenFilesRequest
{
    QWidget* owner = nullptr;
    // Qt filter text: "Name (*.ext);;Other (*)".
    QString filter;
    QString folder;
    // Empty for the dialog's own title.
    QString title{};
    // Added to a typed name that has none, without the dot ("aur").
    QString defaultSuffix{};
    bool oneFile = false;
};

struct SSaveFileRequest
{
    QWidget* owner = nullptr;
    // Qt filter text, as for opening.
    QString filter;
    // The folder and name proposed.
    QString path;
};

struct SColourRequest
{
    QWidget* owner = nullptr;
    QColor initial;
};

struct SPrintRequest
{
    QWidget* owner = nullptr;
    // Shown in the dialog and set up by it.
    QPrinter* printer = nullptr;
};

// The open, save, colour and print dialogs of the program pass through here, so that tests can answer
// them as they answer message boxes.
class TCommonDialogs
{
public:
    using OpenFilesHandler = std::function<QStringList(const SOpenFilesRequest&)>;
    using SaveFileHandler = std::function<QString(const SSaveFileRequest&)>;
    using ColourHandler = std::function<QColor(const SColourRequest&)>;
    using PrintHandler = std::function<bool(const SPrintRequest&)>;

    // The chosen existing files in the dialog's order; none when cancelled.
    static QStringList OpenFiles(const SOpenFilesRequest& request);
    // The one chosen existing file; empty when cancelled.
    static QString OpenFile(SOpenFilesRequest request);
    // The file to write, its replacement confirmed by the user; empty when cancelled.
    static QString SaveFile(const SSaveFileRequest& request);
    // An invalid colour when cancelled.
    static QColor ChooseColour(const SColourRequest& request);
    // True when the user chose to print; the printer then holds the dialog's choices.
    static bool Print(const SPrintRequest& request);

    // Empty handlers restore the real dialogs.
    static void SetOpenFilesHandler(OpenFilesHandler handler);
    static void SetSaveFileHandler(SaveFileHandler handler);
    static void SetColourHandler(ColourHandler handler);
    static void SetPrintHandler(PrintHandler handler);
};
