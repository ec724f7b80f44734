// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/OptionsForm.h"

#include "ui_OptionsForm.h"

#include "data/DataEngine.h"
#include "help/ContextHelp.h"
#include "lang/Lang.h"
#include "options/OptionsRules.h"
#include "platform/CommonDialogs.h"
#include "settings/Options.h"

#include <QDir>
#include <QLayout>
#include <QMouseEvent>

#include <iterator>

TOptionsForm* OptionsForm = nullptr;

TOptionsForm::TOptionsForm(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TOptionsForm>())
{
    ui->setupUi(this);
    ConnectEvents();
    SetTabOrder();
    gLang.AddForm(this);
    TContextHelp::Join(this, 2400);
}

TOptionsForm::~TOptionsForm() = default;

void TOptionsForm::ConnectEvents()
{
    connect(ui->OkButton, &QPushButton::clicked, this, &TOptionsForm::OkButtonClick);
    connect(ui->CancelButton, &QPushButton::clicked, this, &TOptionsForm::CancelButtonClick);
    connect(ui->DefaultButton, &QPushButton::clicked, this, &TOptionsForm::DefaultButtonClick);
    connect(ui->FreqRadioGroup, &TRadioGroup::itemIndexChanged, this, &TOptionsForm::FreqRadioGroupClick);
    ui->ReferenceFileNameEdit->installEventFilter(this);
}

// Keyboard users go through the dialog as it reads rather than in the order of its design.
void TOptionsForm::SetTabOrder()
{
    QWidget* const chain[] = {
        ui->MinLevelEdit,          ui->MaxLevelEdit,      ui->DeltaLevelEdit,
        ui->AlgorithmUpRBut,       ui->AlgorithmDownRBut, ui->AlgorithmClinicalRBut,
        ui->ModulateCheckBox,      ui->FreqRadioGroup,    ui->FreqOtherEdit,
        ui->SoundSourceRadioGroup, ui->DefaultPathEdit,   ui->ReferenceFileNameEdit,
        ui->DefaultButton,         ui->OkButton,          ui->CancelButton,
    };
    for (size_t i = 1; i < std::size(chain); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

// The own list's edit follows its item's text, whose length the language decides.
void TOptionsForm::PlaceFreqOtherEdit()
{
    ui->FreqRadioGroup->layout()->activate();
    const QAbstractButton* item = ui->FreqRadioGroup->ItemButton(OwnFreqList);
    const QPoint textEnd = item->mapTo(this, QPoint(item->sizeHint().width(), 0));
    QRect place = ui->FreqOtherEdit->geometry();
    place.setLeft(textEnd.x() + 6);
    place.setRight(ui->FreqRadioGroup->geometry().right() - 10);
    place.moveTop(textEnd.y() + (item->height() - place.height()) / 2);
    ui->FreqOtherEdit->setGeometry(place);
}

void TOptionsForm::showEvent(QShowEvent* event)
{
    PlaceFreqOtherEdit();
    FormShow();
    QDialog::showEvent(event);
}

bool TOptionsForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->ReferenceFileNameEdit && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        ReferenceFileNameEditClick();
    return QDialog::eventFilter(watched, event);
}

TOptionsRules TOptionsForm::Rules()
{
    return TOptionsRules(gOptions, this);
}

void TOptionsForm::Show(const SOptionsFields& fields)
{
    ui->DeltaLevelEdit->setText(fields.deltaLevel);
    ui->MinLevelEdit->setText(fields.minLevel);
    ui->MaxLevelEdit->setText(fields.maxLevel);
    if (fields.algorithm == AscendingLevels)
        ui->AlgorithmUpRBut->setChecked(true);
    else if (fields.algorithm == DescendingLevels)
        ui->AlgorithmDownRBut->setChecked(true);
    else if (fields.algorithm == ClinicalLevels)
        ui->AlgorithmClinicalRBut->setChecked(true);
    ui->FreqRadioGroup->SetItemIndex(fields.freqListIndex);
    FreqRadioGroupClick();
    ui->FreqOtherEdit->setText(fields.ownFreqList);
    ui->ModulateCheckBox->setChecked(fields.modulation);
    ui->SoundSourceRadioGroup->SetItemIndex(fields.soundSourceType);
    ui->DefaultPathEdit->setText(fields.dataFolder);
    ui->ReferenceFileNameEdit->setText(fields.referenceFile);
}

SOptionsFields TOptionsForm::Fields() const
{
    int8_t algorithm = gOptions.Algorithm;
    if (ui->AlgorithmUpRBut->isChecked())
        algorithm = AscendingLevels;
    else if (ui->AlgorithmDownRBut->isChecked())
        algorithm = DescendingLevels;
    else if (ui->AlgorithmClinicalRBut->isChecked())
        algorithm = ClinicalLevels;
    return {
        .deltaLevel = ui->DeltaLevelEdit->text(),
        .minLevel = ui->MinLevelEdit->text(),
        .maxLevel = ui->MaxLevelEdit->text(),
        .algorithm = algorithm,
        .freqListIndex = ui->FreqRadioGroup->ItemIndex(),
        .ownFreqList = ui->FreqOtherEdit->text(),
        .modulation = ui->ModulateCheckBox->isChecked(),
        .soundSourceType = ui->SoundSourceRadioGroup->ItemIndex(),
        .dataFolder = ui->DefaultPathEdit->text(),
        .referenceFile = ui->ReferenceFileNameEdit->text(),
    };
}

void TOptionsForm::FormShow()
{
    Show(Rules().Shown());
}

void TOptionsForm::OkButtonClick()
{
    if (Rules().Store(Fields(), *DataEngine))
        accept();
}

void TOptionsForm::CancelButtonClick()
{
    reject();
}

// The defaults go into the settings at once: Cancel does not take them back.
void TOptionsForm::DefaultButtonClick()
{
    Show(Rules().Defaults());
}

void TOptionsForm::FreqRadioGroupClick()
{
    const int index = ui->FreqRadioGroup->ItemIndex();
    if (index >= 0)
        ui->FreqRadioGroup->setToolTip(FreqPresets[index]);
}

void TOptionsForm::ReferenceFileNameEditClick()
{
    const QString file = TCommonDialogs::OpenFile({
        .owner = this,
        .filter = gLang.GetString(QStringLiteral("MessReferenceFilter"), this),
        .folder = QDir::currentPath(),
        .title = gLang.GetString(QStringLiteral("StrReferenceTitle"), this),
        .defaultSuffix = QStringLiteral("aur"),
    });
    if (!file.isEmpty())
        ui->ReferenceFileNameEdit->setText(file);
}
