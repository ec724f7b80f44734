// SPDX-License-Identifier: GPL-3.0-or-later
#include "hearing/ToneTimer.h"

namespace {

constexpr int TickMilliseconds = 1000;

} // namespace

TToneTimer::TToneTimer(const QString& name, QObject* parent) : QTimer(parent)
{
    setObjectName(name);
    setInterval(TickMilliseconds);
    setTimerType(Qt::PreciseTimer);
}
