// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

// The wall-clock time the program proposes names and dates from; a test fixes it.
class TClock
{
public:
    static QDateTime Now();

    // While valid, Now answers this instead of the system clock.
    static QDateTime Fixed;
};
