// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/MainForm.h"

#include "ui_MainForm.h"

#include "charts/Graph.h"
#include "charts/PrintReport.h"
#include "data/CsvExport.h"
#include "data/DataChanges.h"
#include "data/DataEngine.h"
#include "data/ReferenceForm.h"
#include "data/SummaryForm.h"

#include "hearing/CalibrationForm.h"
#include "hearing/TestForm.h"
#include "help/About.h"
#include "help/ContextHelp.h"
#include "help/HelpFile.h"
#include "help/HookHelpSystem.h"
#include "help/HtmlHelp.h"
#include "lang/Lang.h"
#include "log/Log.h"
#include "log/Version.h"
#include "options/OptionsForm.h"
#include "platform/CommonDialogs.h"
#include "platform/MessageBox.h"
#include "platform/VolumeTool.h"
#include "settings/Options.h"
#include "shell/ChartLayout.h"
#include "shell/LoadProgress.h"
#include "widgets/BundledIcon.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QHelpEvent>
#include <QMenuBar>
#include <QScreen>
#include <QSessionManager>
#include <QStyle>
#include <QToolTip>

#include <exception>
#include <utility>

TMainForm* MainForm = nullptr;

namespace {

constexpr QColor kSkyBlue(166, 202, 240);

} // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent), ui(std::make_unique<Ui::TMainForm>())
{
    // The icons live in the program's library, whose resources are linked only when asked for.
    Q_INIT_RESOURCE(icons);
    ui->setupUi(this);
    // The hidden colour item keeps its shortcut only while it belongs to the window.
    addAction(ui->colour);
    SetToolBarIcons();
    PlaceToolBarSeparators();
    PaintPanels();
    AddShortcuts();
    m_chartLayout = std::make_unique<TChartLayout>(
        SChartPlaces{ui->LeftEarLabel->geometry(), ui->RightEarLabel->geometry(), ui->Panel1->geometry(),
                     ui->Panel2->geometry(), ui->LeftImage->geometry(), ui->LegendLabel->geometry(),
                     ui->ScrollBox1->geometry()},
        ui->centralwidget->minimumSize());
    ui->centralwidget->installEventFilter(this);
    ui->LegendImage->installEventFilter(this);
    ConnectCommands();
    connect(&TDataChanges::Instance(), &TDataChanges::Changed, this, &TMainForm::RedrawGraphs);
    connect(&TDataChanges::Instance(), &TDataChanges::Changed, this, &TMainForm::EnableDataCommands);
    connect(&TDataChanges::Instance(), &TDataChanges::Changed, this, [this] { m_leaveConfirmed = false; });
    connect(qApp, &QGuiApplication::commitDataRequest, this, &TMainForm::CommitData, Qt::DirectConnection);
    TContextHelp::Join(this, 1000);
    FormCreate();
}

TMainForm::~TMainForm()
{
    FormDestroy();
}

void TMainForm::ConnectCommands()
{
    connect(ui->New, &QAction::triggered, this, &TMainForm::ToolButtonNewClick);
    connect(ui->Open, &QAction::triggered, this, &TMainForm::OpenClick);
    connect(ui->Save, &QAction::triggered, this, &TMainForm::SaveClick);
    connect(ui->CloseAll, &QAction::triggered, this, &TMainForm::CloseAllClick);
    connect(ui->Print, &QAction::triggered, this, &TMainForm::PrintClick);
    connect(ui->Reference, &QAction::triggered, this, &TMainForm::ReferenceClick);
    connect(ui->RefOptions, &QAction::triggered, this, &TMainForm::RefOptionsClick);
    connect(ui->RefChange, &QAction::triggered, this, &TMainForm::RefChangeClick);
    connect(ui->Summary, &QAction::triggered, this, &TMainForm::SummaryClick);
    connect(ui->Export, &QAction::triggered, this, &TMainForm::ExportClick);
    connect(ui->colour, &QAction::triggered, this, &TMainForm::colourClick);
    connect(ui->Options, &QAction::triggered, this, &TMainForm::OptionsClick);
    connect(ui->Exit, &QAction::triggered, this, &TMainForm::ExitClick);
    connect(ui->Calibration, &QAction::triggered, this, &TMainForm::CalibrationClick);
    connect(ui->HelpItem, &QAction::triggered, this, &TMainForm::ToolButtonHelpClick);
    connect(ui->About, &QAction::triggered, this, &TMainForm::AboutClick);
    const std::pair<QToolButton*, QAction*> buttons[] = {
        {ui->ToolButtonNew, ui->New},     {ui->ToolButtonOpen, ui->Open},
        {ui->ToolButtonSaveAs, ui->Save}, {ui->ToolButtonCloseAll, ui->CloseAll},
        {ui->PrintToolButton, ui->Print}, {ui->RefOnOffToolButton, ui->Reference},
        {ui->ToolButtonAbout, ui->About}, {ui->ToolButtonHelp, ui->HelpItem},
        {ui->ToolButtonExit, ui->Exit},
    };
    for (const auto& [button, action] : buttons)
        connect(button, &QToolButton::clicked, action, &QAction::trigger);
}

// Set here rather than in the designer, whose icons Qt would read by guessing their format.
void TMainForm::SetToolBarIcons()
{
    const std::pair<QToolButton*, const char*> named[] = {
        {ui->ToolButtonNew, "document-new"},     {ui->ToolButtonOpen, "document-open"},
        {ui->ToolButtonSaveAs, "document-save"}, {ui->ToolButtonCloseAll, "window-close"},
        {ui->PrintToolButton, "document-print"}, {ui->ToolButtonAbout, "help-about"},
        {ui->ToolButtonHelp, "help-contents"},   {ui->ToolButtonExit, "application-exit"},
    };
    for (const auto& [button, name] : named)
        button->setIcon(TBundledIcon::Named(QLatin1String(name)));
    ui->RefOnOffToolButton->setIcon(TBundledIcon::File(QStringLiteral(":/icons/reference.png")));
}

// The designer cannot place separators between tool bar widgets.
void TMainForm::PlaceToolBarSeparators()
{
    for (QWidget* first :
         {static_cast<QWidget*>(ui->ToolButtonOpen), static_cast<QWidget*>(ui->RefOnOffToolButton),
          static_cast<QWidget*>(ui->ToolButtonAbout), static_cast<QWidget*>(ui->ToolButtonHelp),
          static_cast<QWidget*>(ui->ToolButtonExit)}) {
        for (QAction* action : ui->ToolBar1->actions()) {
            if (ui->ToolBar1->widgetForAction(action) == first)
                ui->ToolBar1->insertSeparator(action);
        }
    }
}

void TMainForm::PaintPanels()
{
    for (QWidget* panel :
         {static_cast<QWidget*>(ui->Panel1), static_cast<QWidget*>(ui->Panel2), ui->ScrollBox1->viewport()}) {
        QPalette palette = panel->palette();
        palette.setColor(QPalette::Window, kSkyBlue);
        palette.setColor(QPalette::Base, kSkyBlue);
        panel->setPalette(palette);
        panel->setAutoFillBackground(true);
    }
}

// Linux desktops quit with Ctrl+Q; the designed Ctrl+X stays, and the menu shows it.
void TMainForm::AddShortcuts()
{
    ui->Exit->setShortcuts({ui->Exit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q)});
}

void TMainForm::PlaceCharts()
{
    const SChartPlaces places = m_chartLayout->Place(ui->centralwidget->size());
    ui->LeftEarLabel->setGeometry(places.LeftCaption);
    ui->RightEarLabel->setGeometry(places.RightCaption);
    ui->Panel1->setGeometry(places.LeftPanel);
    ui->Panel2->setGeometry(places.RightPanel);
    ui->LeftImage->setGeometry(places.Image);
    ui->RightImage->setGeometry(places.Image);
    ui->LegendLabel->setGeometry(places.LegendCaption);
    ui->ScrollBox1->setGeometry(places.LegendBox);
    FitCharts();
}

bool TMainForm::FitCharts()
{
    const qreal ratio = devicePixelRatioF();
    for (TImage* image : {ui->LeftImage, ui->RightImage, ui->LegendImage})
        image->SetDevicePixelRatio(ratio);
    if (DataEngine == nullptr ||
        !DataEngine->FitGraphs(m_chartLayout->ChartScale(ui->LeftImage->DeviceSize().width()), float(ratio)))
        return false;
    RedrawGraphs();
    return true;
}

void TMainForm::FormCreate()
{
    gLang.AddForm(this);
    LangCreateMenu(ui->Lang);
    HeaderVersionShow();
    HTMLHelpChange(gOptions.Lang);
    CreateDataEngine();
    ui->Reference->setChecked(true);
    ReferenceClick(true);
    const QSize designed = ui->centralwidget->minimumSize();
    FitMinimumToScreen();
    // The designed size is the starting size wherever it fits.
    if (ui->centralwidget->minimumSize() != designed)
        resize(minimumSizeHint());
    if (const QScreen* display = screen())
        move(display->availableGeometry().center() - rect().center());
}

// A screen that cannot hold the designed window (a small one, or a large scale factor) gets
// the window that fits, frame and bars included.
void TMainForm::FitMinimumToScreen()
{
    const QScreen* display = screen();
    if (display == nullptr)
        return;
    QSize frame = frameGeometry().size() - size();
    // Before the window manager has framed the window, its title bar is what the style says.
    if (frame.isEmpty())
        frame = QSize(0, style()->pixelMetric(QStyle::PM_TitleBarHeight));
    const QSize bars(0, menuBar()->sizeHint().height() + ui->ToolBar1->sizeHint().height());
    ui->centralwidget->setMinimumSize(
        m_chartLayout->MinimumArea(display->availableGeometry().size() - frame - bars));
}

void TMainForm::FormDestroy()
{
    DataEngine = nullptr;
    m_dataEngine.reset();
}

void TMainForm::FormClose()
{
    m_help.reset();
}

void TMainForm::FormActivate()
{
    RedrawGraphs();
    if (gLog.winVersion < VistaOrLater || m_volumeToolStarted)
        return;
    // Closing the message activates the window again, so the flag is set first.
    m_volumeToolStarted = true;
    QString failure;
    if (!TVolumeTool::Start(failure)) {
        LOG_AT(failure);
        return;
    }
    TMessageBox::Show({this, gLang.GetString(QStringLiteral("MessCalVol"), this),
                       QCoreApplication::applicationName(), QMessageBox::Ok, QMessageBox::NoIcon});
}

void TMainForm::CreateDataEngine()
{
    // There is one store at a time: the old one goes before the new one reads the reference.
    FormDestroy();
    m_dataEngine = std::make_unique<TDataEngine>(ui->LeftImage, ui->RightImage, nullptr, 1.0f, kSkyBlue,
                                                 ui->LegendImage);
    DataEngine = m_dataEngine.get();
    if (!FitCharts())
        RedrawGraphs();
}

void TMainForm::RedrawGraphs()
{
    // A hidden window draws nothing; showing it draws what changed meanwhile, once.
    m_graphsStale = !isVisible();
    if (!m_graphsStale && DataEngine != nullptr)
        DataEngine->DrawGraphs(ui->LegendImage);
}

void TMainForm::HeaderVersionShow()
{
    // Choosing the current language again retranslates nothing, so the suffix may be there.
    const QString suffix = VersionText() + BuildDateText();
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
    // The new items speak the current language at once, mnemonics included.
    gLang.LandAllItems(item, objectName());
}

void TMainForm::LangClick(QAction* sender)
{
    if (sender == nullptr)
        return;
    sender->setChecked(true);
    gLang.ChangeLangSym(sender->objectName());
    gOptions.SetLang(sender->objectName());
    HeaderVersionShow();
    HTMLHelpChange(sender->objectName());
    // The chart and legend texts come from the language files too.
    RedrawGraphs();
}

void TMainForm::HTMLHelpChange(const QString& symbol)
{
    // The old object gives the help requests back before the new one takes them.
    m_help.reset();
    const SHelpFileChoice file = THelpFile::Choose(symbol);
    if (!file.found) {
        TMessageBox::Show({this, gLang.GetString(QStringLiteral("MessHelpFile"), this) + file.path,
                           QCoreApplication::applicationName(), QMessageBox::Ok, QMessageBox::NoIcon});
    }
    m_help = std::make_unique<THookHelpSystem>(file.path, THostType::htHHAPI);
    if (!_hhInstalled) {
        TMessageBox::Show({this, gLang.GetString(QStringLiteral("MessHelpNotLoad"), this),
                           QCoreApplication::applicationName(), QMessageBox::Ok, QMessageBox::NoIcon});
    }
}

void TMainForm::ToolButtonHelpClick()
{
    m_help->HelpTopic(QString());
}

void TMainForm::AboutClick()
{
    TAbout about;
    about.exec();
}

// A completed test reaches the charts through the data store's change notification.
void TMainForm::ToolButtonNewClick()
{
    TestForm->exec();
}

void TMainForm::CalibrationClick()
{
    CalibrationForm->exec();
}

void TMainForm::OpenClick()
{
    const QStringList files = TCommonDialogs::OpenFiles({
        .owner = this,
        .filter = gLang.GetString(QStringLiteral("MessOpenFilter"), this),
        .folder = QDir::currentPath(),
        .defaultSuffix = QStringLiteral("aud"),
    });
    OpenFiles(files);
}

void TMainForm::OpenFiles(const QStringList& files)
{
    if (files.isEmpty())
        return;
    // A file that cannot be read to its end ends the command: later files are not read.
    try {
        const TDataChanges::TBatch oneRedraw;
        TLoadProgress progress(this, gLang.GetString(QStringLiteral("MessOpening"), this), files);
        for (const QString& file : files) {
            if (!progress.NextFile(file))
                break;
            DataEngine->LoadData(file, [&progress](qint64 bytes) { return progress.FileRead(bytes); });
        }
    } catch (const std::exception& error) {
        TMessageBox::Show({this, QString::fromStdString(error.what()), QCoreApplication::applicationName(),
                           QMessageBox::Ok, QMessageBox::Critical});
    }
}

void TMainForm::TakeOver(const QStringList& files)
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
    OpenFiles(files);
}

void TMainForm::SaveClick()
{
    DataEngine->SaveAll();
}

void TMainForm::CloseAllClick()
{
    CreateDataEngine();
    DataEngine->SetReferenceOn(ui->Reference->isChecked());
}

void TMainForm::PrintClick()
{
    TPrintReport(this).Run(*DataEngine);
}

// The menu item has toggled its own check mark; the tool button stands out while it is off.
void TMainForm::ReferenceClick(bool checked)
{
    ui->RefOnOffToolButton->setChecked(!checked);
    DataEngine->SetReferenceOn(checked);
}

void TMainForm::RefOptionsClick()
{
    if (MeasurementsLoaded())
        ReferenceForm->exec();
}

void TMainForm::RefChangeClick()
{
    if (DataEngine->reference.points.isEmpty()) {
        gLang.ShowMessage(QStringLiteral("MessNoRef"), QStringLiteral("MessChangeRef"), this, QMessageBox::Ok,
                          QMessageBox::Information);
        return;
    }
    if (MeasurementsLoaded())
        DataEngine->ChangeReference();
}

// Both reference commands work on the loaded measurements and explain when there are none.
bool TMainForm::MeasurementsLoaded()
{
    if (DataEngine->DataCount() > 0)
        return true;
    gLang.ShowMessage(QStringLiteral("MessNoData"), QStringLiteral("MessCreateRef"), this, QMessageBox::Ok,
                      QMessageBox::Information);
    return false;
}

void TMainForm::SummaryClick()
{
    SummaryForm->exec();
}

void TMainForm::ExportClick()
{
    TCsvExport::Export(this, *DataEngine);
}

void TMainForm::EnableDataCommands()
{
    const bool loaded = DataEngine != nullptr && DataEngine->DataCount() > 0;
    ui->Summary->setEnabled(loaded);
    ui->Export->setEnabled(loaded);
}

void TMainForm::colourClick()
{
    const QColor colour = TCommonDialogs::ChooseColour({this, DataEngine->leftGraph->BackgroundColour});
    if (colour.isValid())
        DataEngine->SetBackgroundColour(colour);
}

void TMainForm::OptionsClick()
{
    OptionsForm->exec();
}

bool TMainForm::ifExit()
{
    if (gLang.ShowMessage(QStringLiteral("MessSureExit?"), QStringLiteral("MessExit"), this,
                          QMessageBox::Yes | QMessageBox::No, QMessageBox::Question) != QMessageBox::Yes)
        return false;
    return SavedOrLeftOnPurpose();
}

bool TMainForm::SavedOrLeftOnPurpose()
{
    if (DataEngine == nullptr || !DataEngine->IsModified())
        return true;
    if (gLang.ShowMessage(QStringLiteral("MessSave?"), QStringLiteral("MessSave"), this,
                          QMessageBox::Yes | QMessageBox::No, QMessageBox::Warning) != QMessageBox::Yes)
        return true;
    DataEngine->SaveAll();
    if (!DataEngine->IsModified())
        return true;
    ShowNotSaved();
    return false;
}

void TMainForm::ShowNotSaved()
{
    gLang.ShowMessage(QStringLiteral("MessNotSaved"), QStringLiteral("MessSave"), this, QMessageBox::Ok,
                      QMessageBox::Warning, DataEngine->UnsavedFiles().join(QLatin1Char('\n')));
}

void TMainForm::CommitData(QSessionManager& manager)
{
    if (DataEngine == nullptr || !DataEngine->IsModified())
        return;
    bool mayEnd = false;
    if (manager.allowsInteraction()) {
        mayEnd = SavedOrLeftOnPurpose();
        manager.release();
    } else if (manager.allowsErrorInteraction()) {
        ShowNotSaved();
        manager.release();
    }
    // Without a word from the user, unsaved measurements keep the session from ending.
    if (!mayEnd) {
        LOG_AT(QStringLiteral("[CommitData] unsaved measurements: the end of the session is cancelled"));
        manager.cancel();
    }
    m_leaveConfirmed = mayEnd;
}

void TMainForm::ExitClick()
{
    if (!ifExit())
        return;
    TestForm->FormCloseVoid();
    Terminate();
}

void TMainForm::Terminate()
{
    // quit() would close the windows first, and closing asks before leaving.
    QApplication::exit(0);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (!m_leaveConfirmed && !ifExit()) {
        event->ignore();
        return;
    }
    event->accept();
    FormClose();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->LegendImage && event->type() == QEvent::ToolTip) {
        ShowLegendTip(*static_cast<QHelpEvent*>(event));
        return true;
    }
    // A move to a screen of another pixel density needs bitmaps of another size.
    if (watched == ui->centralwidget && event->type() == QEvent::ScreenChangeInternal)
        FitMinimumToScreen();
    if (watched == ui->centralwidget &&
        (event->type() == QEvent::Resize || event->type() == QEvent::ScreenChangeInternal))
        PlaceCharts();
    return QMainWindow::eventFilter(watched, event);
}

// A cell cut short shows its whole text when the mouse rests on it.
void TMainForm::ShowLegendTip(const QHelpEvent& event)
{
    const QString tip =
        DataEngine != nullptr
            ? DataEngine->rightGraph->LegendTipAt((QPointF(event.pos()) * devicePixelRatioF()).toPoint())
            : QString();
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event.globalPos(), tip, ui->LegendImage);
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_graphsStale)
        RedrawGraphs();
}

void TMainForm::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}
