// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <memory>

struct SOptionsFields;
class TOptionsRules;

namespace Ui {
class TOptionsForm;
}

// The options dialog over gOptions: TOptionsRules decides what it shows and what OK stores;
// Cancel stores nothing.
class TOptionsForm : public QDialog
{
    Q_OBJECT

public:
    explicit TOptionsForm(QWidget* parent = nullptr);
    ~TOptionsForm() override;

    void FormShow();
    void OkButtonClick();
    void CancelButtonClick();
    void DefaultButtonClick();
    void FreqRadioGroupClick();
    void ReferenceFileNameEditClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectEvents();
    void PlaceFreqOtherEdit();
    void SetTabOrder();
    TOptionsRules Rules();
    void Show(const SOptionsFields& fields);
    SOptionsFields Fields() const;

    std::unique_ptr<Ui::TOptionsForm> ui;
};

extern TOptionsForm* OptionsForm;
