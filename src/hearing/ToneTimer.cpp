// SPDX-License-Identifier: GPL-3.0-or-later
#include "hearing/ToneTimer.h"

TToneTimer::TToneTimer(const QString& name, QObject* parent) : QTimer(parent)
{
    setObjectName(name);
    setInterval(TickMilliseconds);
    setTimerType(Qt::PreciseTimer);
}
