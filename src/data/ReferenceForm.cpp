// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/ReferenceForm.h"

#include "ui_ReferenceForm.h"

#include "data/DataEngine.h"
#include "help/ContextHelp.h"
#include "lang/Lang.h"
#include "log/FileNames.h"

#include <QShowEvent>

TReferenceForm* ReferenceForm = nullptr;

TReferenceForm::TReferenceForm(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TReferenceForm>())
{
    ui->setupUi(this);
    // The controls sit where the design puts them, so the dialog keeps its design size.
    setFixedSize(size());
    connect(ui->HeadPhoneNameEdit, &TLabeledEdit::textChanged, this,
            &TReferenceForm::HeadPhoneNameEditChange);
    connect(ui->OkButton, &QPushButton::clicked, this, &TReferenceForm::OkButtonClick);
    connect(ui->CancelButton, &QPushButton::clicked, this, &TReferenceForm::CancelButtonClick);
    gLang.AddForm(this);
    TContextHelp::Join(this, 2200);
}

TReferenceForm::~TReferenceForm() = default;

void TReferenceForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

// Every opening proposes a fresh file name.
void TReferenceForm::FormShow()
{
    HeadPhoneNameEditChange();
}

void TReferenceForm::HeadPhoneNameEditChange()
{
    ui->FileNameEdit->SetText(ProposedFileName(ui->HeadPhoneNameEdit->Text()));
}

// The new reference is in use from here on, even when it cannot be saved.
void TReferenceForm::OkButtonClick()
{
    DataEngine->reference.fileName = ui->FileNameEdit->Text();
    DataEngine->reference.name = ui->HeadPhoneNameEdit->Text();
    DataEngine->CreateReference(ui->AlgorithmRadioGroup->ItemIndex());
    DataEngine->SaveReference();
    accept();
}

void TReferenceForm::CancelButtonClick()
{
    reject();
}
