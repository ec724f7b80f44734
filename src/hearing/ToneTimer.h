// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>

// The timer of a window that plays one tone a second: 1000 ms, kept precise so that the tones
// come at even intervals. Initially off.
class TToneTimer : public QTimer
{
    Q_OBJECT

public:
    static constexpr int TickMilliseconds = 1000;

    TToneTimer(const QString& name, QObject* parent);
};
