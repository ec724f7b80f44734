// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

// A label drawn as a link that acts when clicked or, once it has the keyboard focus, on Enter
// or Space: the kind of label the framework could click and Qt's cannot.
class TLinkLabel : public QLabel
{
    Q_OBJECT

public:
    explicit TLinkLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
