// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>
#include <QStringList>

class QAbstractButton;
class QButtonGroup;

// A framed group of radio buttons made from a list of items, with the index of the chosen
// one. The buttons belong to the group and stay unnamed, so that their texts are keyed by
// the group's name and their position.
class TRadioGroup : public QGroupBox
{
    Q_OBJECT
    Q_PROPERTY(QStringList items READ Items WRITE SetItems)
    Q_PROPERTY(int itemIndex READ ItemIndex WRITE SetItemIndex NOTIFY itemIndexChanged)

public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    QStringList Items() const;
    void SetItems(const QStringList& items);
    // -1 when no button is chosen.
    int ItemIndex() const;
    // An index without its button yet is kept for the items still to come, as a design sets
    // the index before the texts of the items.
    void SetItemIndex(int index);
    // Null for an index without an item.
    QAbstractButton* ItemButton(int index) const;

signals:
    void itemIndexChanged(int index);

private:
    QButtonGroup* m_buttons;
    int m_itemIndex = -1;
};
