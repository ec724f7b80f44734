// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/DeferredIconEngine.h"

#include <QPainter>
#include <QPixmap>

#include <utility>

TDeferredIconEngine::TDeferredIconEngine(std::function<QIcon()> make)
    : m_shared(std::make_shared<SShared>(SShared{std::move(make), QIcon(), false}))
{
}

QIcon& TDeferredIconEngine::Icon()
{
    if (!m_shared->made) {
        m_shared->made = true;
        m_shared->icon = m_shared->make();
    }
    return m_shared->icon;
}

void TDeferredIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state)
{
    Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
}

QPixmap TDeferredIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    return Icon().pixmap(size, mode, state);
}

QPixmap TDeferredIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                                          qreal scale)
{
    return Icon().pixmap(size, scale, mode, state);
}

QSize TDeferredIconEngine::actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    return Icon().actualSize(size, mode, state);
}

QList<QSize> TDeferredIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state)
{
    return Icon().availableSizes(mode, state);
}

QIconEngine* TDeferredIconEngine::clone() const
{
    return new TDeferredIconEngine(*this);
}
