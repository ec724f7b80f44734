#include "settings/OptionsForm.h"

#include "ui_OptionsForm.h"

#include "data/Data.h"
#include "data/DataEngine.h"
#include "help/ContextHelp.h"
#include "lang/Lang.h"
#include "platform/CommonDialogs.h"
#include "platform/MessageBox.h"
#include "settings/Options.h"
#include "settings/OptionsInput.h"

#include <QCoreApplication>
#include <QDir>
#include <QLayout>
#include <QMouseEvent>

#include <exception>
#include <iterator>
#include <utility>

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
        ui->MinLevelEdit,    ui->MaxLevelEdit,          ui->DeltaLevelEdit,
        ui->AlgorithmUpRBut, ui->AlgorithmDownRBut,     ui->ModulateCheckBox,
        ui->FreqRadioGroup,  ui->FreqOtherEdit,         ui->SoundSourceRadioGroup,
        ui->DefaultPathEdit, ui->ReferenceFileNameEdit, ui->DefaultButton,
        ui->OkButton,        ui->CancelButton,
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

void TOptionsForm::FormShow()
{
    ui->DeltaLevelEdit->setText(TOptionsInput::LevelText(gOptions.DeltaLevel));
    ui->MinLevelEdit->setText(TOptionsInput::LevelText(gOptions.MinLevel));
    ui->MaxLevelEdit->setText(TOptionsInput::LevelText(gOptions.MaxLevel));
    if (gOptions.Algorithm == AscendingLevels)
        ui->AlgorithmUpRBut->setChecked(true);
    else if (gOptions.Algorithm == DescendingLevels)
        ui->AlgorithmDownRBut->setChecked(true);
    ui->FreqRadioGroup->SetItemIndex(gOptions.FreqListIndex);
    FreqRadioGroupClick();
    ui->FreqOtherEdit->setText(FreqPresets[OwnFreqList]);
    ui->ModulateCheckBox->setChecked(gOptions.Modulation);
    ui->SoundSourceRadioGroup->SetItemIndex(gOptions.SoundSourceType);
    ui->DefaultPathEdit->setText(gOptions.DefaultPath);
    ui->ReferenceFileNameEdit->setText(gOptions.ReferenceFileName);
}

// Every step runs whatever the steps before it found; what was accepted is saved either way.
void TOptionsForm::OkButtonClick()
{
    bool failed = !StoreLevels();
    if (ui->AlgorithmUpRBut->isChecked())
        gOptions.Algorithm = AscendingLevels;
    else if (ui->AlgorithmDownRBut->isChecked())
        gOptions.Algorithm = DescendingLevels;
    failed = !StoreDataFolder() || failed;
    failed = !StoreReference() || failed;
    gOptions.FreqListIndex = ui->FreqRadioGroup->ItemIndex();
    failed = !StoreOwnFreqList() || failed;
    gOptions.SoundSourceType = ui->SoundSourceRadioGroup->ItemIndex();
    gOptions.Modulation = ui->ModulateCheckBox->isChecked();
    gOptions.SaveSettings();
    if (!failed)
        accept();
}

// Each level is stored as soon as it is read; the first that is refused ends the step.
bool TOptionsForm::StoreLevels()
{
    const std::pair<const QLineEdit*, float TOptions::*> fields[] = {
        {ui->DeltaLevelEdit, &TOptions::DeltaLevel},
        {ui->MinLevelEdit, &TOptions::MinLevel},
        {ui->MaxLevelEdit, &TOptions::MaxLevel},
    };
    for (const auto& [edit, level] : fields) {
        if (!TOptionsInput::ReadLevel(edit->text(), level, gOptions.*level)) {
            gLang.ShowMessage(QStringLiteral("MessBadFormat"), QStringLiteral("MessError"), this,
                              QMessageBox::Ok, QMessageBox::Critical);
            return false;
        }
    }
    return true;
}

bool TOptionsForm::StoreDataFolder()
{
    const QString folder = ui->DefaultPathEdit->text();
    if (TOptionsInput::IsFolder(folder)) {
        gOptions.DefaultPath = TOptionsInput::AbsoluteFolder(folder);
        QDir::setCurrent(gOptions.DefaultPath);
        return true;
    }
    const QString caption = gLang.GetString2(QStringLiteral("MessError"), this);
    const QString question = gLang.GetString(QStringLiteral("MessPath"), this) + folder +
                             gLang.GetString(QStringLiteral("MessNotExist"), this);
    if (TMessageBox::Show({this, question, caption, QMessageBox::Yes | QMessageBox::No,
                           QMessageBox::Critical}) != QMessageBox::Yes)
        return true;
    const bool created = TOptionsInput::CreateFolder(folder);
    if (created)
        gOptions.DefaultPath = TOptionsInput::AbsoluteFolder(folder);
    else
        gLang.ShowMessage(QStringLiteral("MessPathError"), QStringLiteral("MessError"), this, QMessageBox::Ok,
                          QMessageBox::Critical);
    QDir::setCurrent(gOptions.DefaultPath);
    return created;
}

// A file that cannot be opened is reported by the data store and closes the dialog as usual; one
// that stops being readable part of the way keeps the dialog open for another choice.
bool TOptionsForm::StoreReference()
{
    gOptions.ReferenceFileName = ui->ReferenceFileNameEdit->text();
    try {
        DataEngine->LoadReference(gOptions.ReferenceFileName);
    } catch (const std::exception& error) {
        TMessageBox::Show({this, QString::fromStdString(error.what()), QCoreApplication::applicationName(),
                           QMessageBox::Ok, QMessageBox::Critical});
        return false;
    }
    return true;
}

// A blank field keeps the list there was; a bad one is reported item by item by the settings.
bool TOptionsForm::StoreOwnFreqList()
{
    const QString list = ui->FreqOtherEdit->text();
    if (list.trimmed().isEmpty())
        return true;
    QVector<float> frequencies;
    if (!gOptions.ParseFreqList(list, frequencies))
        return false;
    // The settings read a longer list for a test to use in part; one typed here should be usable whole.
    if (frequencies.size() > ResultFrequencies) {
        gLang.ShowMessage(QStringLiteral("MessTooManyFreqs"), QStringLiteral("MessError"), this,
                          QMessageBox::Ok, QMessageBox::Critical);
        return false;
    }
    FreqPresets[OwnFreqList] = list;
    return true;
}

void TOptionsForm::CancelButtonClick()
{
    reject();
}

// The defaults go into the settings at once: Cancel does not take them back.
void TOptionsForm::DefaultButtonClick()
{
    gOptions.SetDefaults();
    FormShow();
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
