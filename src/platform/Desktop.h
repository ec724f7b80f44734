// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QUrl>

#include <functional>

// Links handed to the desktop (a new mail, a web page) pass through here, so that tests can
// catch them instead of starting the user's mail program or browser.
class TDesktop
{
public:
    using OpenUrlHandler = std::function<bool(const QUrl&)>;

    // True when the desktop took the link.
    static bool OpenUrl(const QUrl& url);

    // An empty handler restores the desktop.
    static void SetOpenUrlHandler(OpenUrlHandler handler);
};
