// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/RadioGroup.h"

#include "platform/ComponentTree.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent), m_buttons(new QButtonGroup(this))
{
    new QVBoxLayout(this);
    connect(m_buttons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked)
            return;
        m_itemIndex = id;
        emit itemIndexChanged(id);
    });
}

QStringList TRadioGroup::Items() const
{
    QStringList items;
    for (QAbstractButton* button : m_buttons->buttons())
        items.append(button->text());
    return items;
}

void TRadioGroup::SetItems(const QStringList& items)
{
    qDeleteAll(m_buttons->buttons());
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items.at(i), this);
        TComponentTree::MarkUnnamedComponent(button);
        m_buttons->addButton(button, i);
        layout()->addWidget(button);
    }
    SetItemIndex(m_itemIndex);
}

int TRadioGroup::ItemIndex() const
{
    return m_buttons->checkedId();
}

void TRadioGroup::SetItemIndex(int index)
{
    m_itemIndex = index;
    if (QAbstractButton* button = m_buttons->button(index)) {
        button->setChecked(true);
        return;
    }
    // A radio group can only be emptied with exclusivity off.
    m_buttons->setExclusive(false);
    for (QAbstractButton* button : m_buttons->buttons())
        button->setChecked(false);
    m_buttons->setExclusive(true);
}

QAbstractButton* TRadioGroup::ItemButton(int index) const
{
    return m_buttons->button(index);
}
