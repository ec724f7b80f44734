// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/UpDown.h"

#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

TUpDown::TUpDown(QWidget* parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (auto [button, arrow, direction] : {std::tuple{m_up, Qt::UpArrow, 1}, {m_down, Qt::DownArrow, -1}}) {
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, step = direction] { Step(step); });
    }
}

void TUpDown::SetMinimum(int minimum)
{
    m_minimum = minimum;
    SetPosition(m_position);
}

void TUpDown::SetMaximum(int maximum)
{
    m_maximum = maximum;
    SetPosition(m_position);
}

void TUpDown::SetIncrement(int increment)
{
    m_increment = increment;
}

void TUpDown::SetPosition(int position)
{
    m_position = std::clamp(position, m_minimum, std::max(m_minimum, m_maximum));
}

void TUpDown::Step(int direction)
{
    SetPosition(m_position + direction * m_increment);
    emit clicked();
}
