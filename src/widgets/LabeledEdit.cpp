// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/LabeledEdit.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TLabeledEdit::TLabeledEdit(QWidget* parent)
    : QWidget(parent), m_label(new QLabel(this)), m_edit(new QLineEdit(this))
{
    m_label->setObjectName(QStringLiteral("SubLabel"));
    m_label->setBuddy(m_edit);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_label);
    layout->addWidget(m_edit);
    connect(m_edit, &QLineEdit::textChanged, this, &TLabeledEdit::textChanged);
    setFocusProxy(m_edit);
}

QString TLabeledEdit::Text() const
{
    return m_edit->text();
}

void TLabeledEdit::SetText(const QString& text)
{
    m_edit->setText(text);
}

QString TLabeledEdit::LabelText() const
{
    return m_label->text();
}

void TLabeledEdit::SetLabelText(const QString& text)
{
    m_label->setText(text);
}
