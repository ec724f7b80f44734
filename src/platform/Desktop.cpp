// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Desktop.h"

#include "log/Log.h"

#include <QDesktopServices>

namespace {

TDesktop::OpenUrlHandler& OpenUrlAnswer()
{
    static TDesktop::OpenUrlHandler handler;
    return handler;
}

} // namespace

bool TDesktop::OpenUrl(const QUrl& url)
{
    const bool opened = OpenUrlAnswer() ? OpenUrlAnswer()(url) : QDesktopServices::openUrl(url);
    if (!opened)
        LOG_AT(QStringLiteral("[Desktop] could not open ") + url.toString());
    return opened;
}

void TDesktop::SetOpenUrlHandler(OpenUrlHandler handler)
{
    OpenUrlAnswer() = std::move(handler);
}
