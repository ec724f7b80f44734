// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

// An edit field with its own label above it. The label belongs to the edit and is named
// "SubLabel", so that its text is keyed by the edit's name.
class TLabeledEdit : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString text READ Text WRITE SetText NOTIFY textChanged)
    Q_PROPERTY(QString labelText READ LabelText WRITE SetLabelText)

public:
    explicit TLabeledEdit(QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);
    QString LabelText() const;
    void SetLabelText(const QString& text);
    QLineEdit* Edit() const { return m_edit; }

signals:
    void textChanged(const QString& text);

private:
    QLabel* m_label;
    QLineEdit* m_edit;
};
