// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QIconEngine>

#include <functional>
#include <memory>

// An icon made the first time it is drawn or measured instead of when it is asked for: for
// icons a window may never show, whose reading costs its start.
class TDeferredIconEngine : public QIconEngine
{
public:
    explicit TDeferredIconEngine(std::function<QIcon()> make);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    // Known not to be empty, so that asking does not make it.
    bool isNull() override { return false; }
    QIconEngine* clone() const override;

private:
    struct SShared
    {
        std::function<QIcon()> make;
        QIcon icon;
        bool made = false;
    };

    QIcon& Icon();

    // Copies of the icon share what was made.
    std::shared_ptr<SShared> m_shared;
};
