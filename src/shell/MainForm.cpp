#include "shell/MainForm.h"

#include "ui_MainForm.h"

#include "lang/Lang.h"
#include "log/Tools.h"
#include "settings/Options.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>

TMainForm* MainForm = nullptr;

namespace {

const QString kVersion = QStringLiteral(" 1.04.01 ");

} // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent), ui(std::make_unique<Ui::TMainForm>())
{
    ui->setupUi(this);
    // The hidden colour item keeps its shortcut only while it belongs to the window.
    addAction(ui->colour);
    connect(ui->Exit, &QAction::triggered, this, &TMainForm::ExitClick);
    FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate()
{
    gLang.AddForm(this);
    LangCreateMenu(ui->Lang);
    HeaderVersionShow();
    ui->Reference->setChecked(true);
}

void TMainForm::HeaderVersionShow()
{
    // Choosing the current language again retranslates nothing, so the suffix may be there.
    const QString suffix = kVersion + BuildDateText();
    if (!windowTitle().endsWith(suffix))
        setWindowTitle(windowTitle() + suffix);
}

void TMainForm::LangCreateMenu(QMenu* item)
{
    if (gLang.LangSymbols.isEmpty())
        return;
    qDeleteAll(item->actions());
    qDeleteAll(item->findChildren<QActionGroup*>(QString(), Qt::FindDirectChildrenOnly));
    auto* group = new QActionGroup(item);
    for (int i = 0; i < gLang.LangNames.size(); ++i) {
        auto* action = new QAction(gLang.LangNames.at(i), item);
        action->setObjectName(gLang.LangSymbols.at(i));
        action->setCheckable(true);
        action->setChecked(i == gLang.LangIndex);
        group->addAction(action);
        item->addAction(action);
        connect(action, &QAction::triggered, this, [this, action] { LangClick(action); });
    }
}

void TMainForm::LangClick(QAction* sender)
{
    if (sender == nullptr)
        return;
    sender->setChecked(true);
    gLang.ChangeLangSym(sender->objectName());
    gOptions.SetLang(sender->objectName());
    HeaderVersionShow();
}

bool TMainForm::ifExit()
{
    return gLang.ShowMessage(QStringLiteral("MessSureExit?"), QStringLiteral("MessExit"), this,
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::Question) == QMessageBox::Yes;
}

void TMainForm::ExitClick()
{
    if (ifExit())
        Terminate();
}

void TMainForm::Terminate()
{
    // quit() would close the windows first, and closing asks before leaving.
    QApplication::exit(0);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (ifExit())
        event->accept();
    else
        event->ignore();
}
