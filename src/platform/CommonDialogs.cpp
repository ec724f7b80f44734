#include "platform/CommonDialogs.h"

#include <QColorDialog>
#include <QFileDialog>

namespace {

TCommonDialogs::OpenFilesHandler& OpenFilesAnswer()
{
    static TCommonDialogs::OpenFilesHandler handler;
    return handler;
}

TCommonDialogs::ColourHandler& ColourAnswer()
{
    static TCommonDialogs::ColourHandler handler;
    return handler;
}

} // namespace

QStringList TCommonDialogs::OpenFiles(const SOpenFilesRequest& request)
{
    if (OpenFilesAnswer())
        return OpenFilesAnswer()(request);
    return QFileDialog::getOpenFileNames(request.owner, QString(), request.folder, request.filter);
}

QColor TCommonDialogs::ChooseColour(const SColourRequest& request)
{
    if (ColourAnswer())
        return ColourAnswer()(request);
    return QColorDialog::getColor(request.initial, request.owner);
}

void TCommonDialogs::SetOpenFilesHandler(OpenFilesHandler handler)
{
    OpenFilesAnswer() = std::move(handler);
}

void TCommonDialogs::SetColourHandler(ColourHandler handler)
{
    ColourAnswer() = std::move(handler);
}
