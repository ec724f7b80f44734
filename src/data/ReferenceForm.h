// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TReferenceForm;
}

// The dialog that builds a new reference from the loaded measurements and saves it under a
// name proposed from the headphone name and the time of opening.
class TReferenceForm : public QDialog
{
    Q_OBJECT

public:
    explicit TReferenceForm(QWidget* parent = nullptr);
    ~TReferenceForm() override;

    void HeadPhoneNameEditChange();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void OkButtonClick();
    void CancelButtonClick();

    std::unique_ptr<Ui::TReferenceForm> ui;
};

extern TReferenceForm* ReferenceForm;
