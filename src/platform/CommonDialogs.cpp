// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CommonDialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QPrintDialog>

namespace {

TCommonDialogs::OpenFilesHandler& OpenFilesAnswer()
{
    static TCommonDialogs::OpenFilesHandler handler;
    return handler;
}

TCommonDialogs::SaveFileHandler& SaveFileAnswer()
{
    static TCommonDialogs::SaveFileHandler handler;
    return handler;
}

TCommonDialogs::ColourHandler& ColourAnswer()
{
    static TCommonDialogs::ColourHandler handler;
    return handler;
}

TCommonDialogs::PrintHandler& PrintAnswer()
{
    static TCommonDialogs::PrintHandler handler;
    return handler;
}

} // namespace

QStringList TCommonDialogs::OpenFiles(const SOpenFilesRequest& request)
{
    if (OpenFilesAnswer())
        return OpenFilesAnswer()(request);
    QFileDialog dialog(request.owner, request.title, request.folder);
    dialog.setFileMode(request.oneFile ? QFileDialog::ExistingFile : QFileDialog::ExistingFiles);
    dialog.setNameFilters(request.filter.split(QStringLiteral(";;")));
    dialog.setDefaultSuffix(request.defaultSuffix);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

QString TCommonDialogs::OpenFile(SOpenFilesRequest request)
{
    request.oneFile = true;
    return OpenFiles(request).value(0);
}

QString TCommonDialogs::SaveFile(const SSaveFileRequest& request)
{
    if (SaveFileAnswer())
        return SaveFileAnswer()(request);
    return QFileDialog::getSaveFileName(request.owner, QString(), request.path, request.filter);
}

QColor TCommonDialogs::ChooseColour(const SColourRequest& request)
{
    if (ColourAnswer())
        return ColourAnswer()(request);
    return QColorDialog::getColor(request.initial, request.owner);
}

bool TCommonDialogs::Print(const SPrintRequest& request)
{
    if (PrintAnswer())
        return PrintAnswer()(request);
    QPrintDialog dialog(request.printer, request.owner);
    return dialog.exec() == QDialog::Accepted;
}

void TCommonDialogs::SetOpenFilesHandler(OpenFilesHandler handler)
{
    OpenFilesAnswer() = std::move(handler);
}

void TCommonDialogs::SetSaveFileHandler(SaveFileHandler handler)
{
    SaveFileAnswer() = std::move(handler);
}

void TCommonDialogs::SetColourHandler(ColourHandler handler)
{
    ColourAnswer() = std::move(handler);
}

void TCommonDialogs::SetPrintHandler(PrintHandler handler)
{
    PrintAnswer() = std::move(handler);
}
