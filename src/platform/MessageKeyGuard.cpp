// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MessageKeyGuard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

bool TMessageKeyGuard::Lets(int key, bool press, bool autoRepeat, bool pressSeen, qint64 elapsed)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space)
        return true;
    if (!press)
        return pressSeen;
    return !autoRepeat && elapsed >= GuardMilliseconds;
}

TMessageKeyGuard::TMessageKeyGuard(QWidget* box) : QObject(box), m_box(box)
{
    m_shown.start();
    // The keys go to the box's focused button first, so they are looked at before any widget.
    QApplication::instance()->installEventFilter(this);
}

bool TMessageKeyGuard::eventFilter(QObject* watched, QEvent* event)
{
    const bool press = event->type() == QEvent::KeyPress;
    if (!press && event->type() != QEvent::KeyRelease)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || (widget != m_box && !m_box->isAncestorOf(widget)))
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!Lets(key->key(), press, key->isAutoRepeat(), m_letThrough.contains(key->key()), m_shown.elapsed()))
        return true;
    if (press)
        m_letThrough.insert(key->key());
    else if (!key->isAutoRepeat())
        m_letThrough.remove(key->key());
    return false;
}
