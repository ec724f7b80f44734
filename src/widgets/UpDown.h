// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QToolButton;

// A pair of arrow buttons that step a position between a minimum and a maximum by an increment,
// without a field of its own: another control shows the value.
class TUpDown : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int minimum READ Minimum WRITE SetMinimum)
    Q_PROPERTY(int maximum READ Maximum WRITE SetMaximum)
    Q_PROPERTY(int increment READ Increment WRITE SetIncrement)
    Q_PROPERTY(int position READ Position WRITE SetPosition)

public:
    explicit TUpDown(QWidget* parent = nullptr);

    int Minimum() const { return m_minimum; }
    void SetMinimum(int minimum);
    int Maximum() const { return m_maximum; }
    void SetMaximum(int maximum);
    int Increment() const { return m_increment; }
    void SetIncrement(int increment);
    int Position() const { return m_position; }
    void SetPosition(int position);

    QToolButton* UpButton() const { return m_up; }
    QToolButton* DownButton() const { return m_down; }

signals:
    // An arrow was pressed, whether or not the position could still move.
    void clicked();

private:
    void Step(int direction);

    QToolButton* m_up;
    QToolButton* m_down;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_increment = 1;
    int m_position = 0;
};
