// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QSet>

class QWidget;

// Keeps a message box from being closed by a key press meant for what was behind it: Enter,
// Return and Space reach the box only once it has been up for GuardMilliseconds, and a key that
// was already held down when it came up never does. The box's buttons take clicks at once.
class TMessageKeyGuard : public QObject
{
public:
    static constexpr qint64 GuardMilliseconds = 1500;

    // Whether a key event reaches the box: pressSeen tells whether the box let this key's
    // press through, elapsed how long the box has been up.
    static bool Lets(int key, bool press, bool autoRepeat, bool pressSeen, qint64 elapsed);

    // Guards the box for its lifetime.
    explicit TMessageKeyGuard(QWidget* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_box;
    QElapsedTimer m_shown;
    QSet<int> m_letThrough;
};
