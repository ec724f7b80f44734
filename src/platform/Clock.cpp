// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Clock.h"

QDateTime TClock::Fixed;

QDateTime TClock::Now()
{
    return Fixed.isValid() ? Fixed : QDateTime::currentDateTime();
}
