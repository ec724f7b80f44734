// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Desktop.h"

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
    return OpenUrlAnswer() ? OpenUrlAnswer()(url) : QDesktopServices::openUrl(url);
}

void TDesktop::SetOpenUrlHandler(OpenUrlHandler handler)
{
    OpenUrlAnswer() = std::move(handler);
}
