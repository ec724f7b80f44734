// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Desktop.h"

#include <gtest/gtest.h>

#include <QList>

// Keeps the links handed to the desktop instead of opening them; on destruction unexpected
// links fail the test again.
class TDesktopLinks
{
public:
    TDesktopLinks()
    {
        TDesktop::SetOpenUrlHandler([this](const QUrl& url) {
            urls.append(url);
            return true;
        });
    }
    ~TDesktopLinks()
    {
        TDesktop::SetOpenUrlHandler([](const QUrl& url) {
            ADD_FAILURE() << "unexpected link: " << url.toString().toStdString();
            return false;
        });
    }
    TDesktopLinks(const TDesktopLinks&) = delete;
    TDesktopLinks& operator=(const TDesktopLinks&) = delete;

    QList<QUrl> urls;
};
