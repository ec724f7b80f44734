// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QStringList>

#include <memory>

namespace Ui {
class TMainForm;
}
class QAction;
class QHelpEvent;
class QMenu;
class QSessionManager;
class TChartLayout;
class TDataEngine;
class THookHelpSystem;

// The main window: the menu and toolbar with their commands and, beneath them, the two
// audiograms and the legend. All measurement state lives in DataEngine.
class TMainForm : public QMainWindow
{
    Q_OBJECT

public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    void CreateDataEngine();
    void RedrawGraphs();
    bool ifExit();
    // A desktop ending the session: the measurements are saved or left on purpose, or the
    // session is cancelled.
    void CommitData(QSessionManager& manager);
    void HeaderVersionShow();
    void LangCreateMenu(QMenu* item);
    void LangClick(QAction* sender);
    void HTMLHelpChange(const QString& symbol);

    // Loads measurement files as Open does, with the same messages.
    void OpenFiles(const QStringList& files);
    // Files a later start of the program handed over: the window comes to the front and opens them.
    void TakeOver(const QStringList& files);
    // Ends the program as a confirmed Exit does, asking nothing.
    void Terminate();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectCommands();
    void SetToolBarIcons();
    void PlaceToolBarSeparators();
    void PaintPanels();
    void AddShortcuts();
    void FitMinimumToScreen();
    void PlaceCharts();
    // True when the charts changed size or scale, and were redrawn for it.
    bool FitCharts();
    void ShowLegendTip(const QHelpEvent& event);
    void FormCreate();
    void FormDestroy();
    void FormActivate();
    void FormClose();

    void ToolButtonNewClick();
    void CalibrationClick();
    void OpenClick();
    void SaveClick();
    void CloseAllClick();
    void PrintClick();
    void ReferenceClick(bool checked);
    void RefOptionsClick();
    void RefChangeClick();
    bool MeasurementsLoaded();
    void SummaryClick();
    void ExportClick();
    // The commands that show measurements need at least one.
    void EnableDataCommands();
    void colourClick();
    void OptionsClick();
    void ExitClick();
    // Asks whether to save what is modified; false, and the user told, when anything is still
    // unsaved after saving.
    bool SavedOrLeftOnPurpose();
    void ShowNotSaved();
    void ToolButtonHelpClick();
    void AboutClick();

    std::unique_ptr<Ui::TMainForm> ui;
    // Made from the designed places, so the designed size keeps them.
    std::unique_ptr<TChartLayout> m_chartLayout;
    // DataEngine names what this holds; close-all replaces it.
    std::unique_ptr<TDataEngine> m_dataEngine;
    std::unique_ptr<THookHelpSystem> m_help;
    // The volume control is offered once per run, not on every activation.
    bool m_volumeToolStarted = false;
    // The session's end has been confirmed; closing the window then asks nothing more, until
    // the data change.
    bool m_leaveConfirmed = false;
    bool m_graphsStale = true;
};

extern TMainForm* MainForm;
