#pragma once

#include <QMainWindow>

#include <memory>

namespace Ui {
class TMainForm;
}
class QAction;
class QMenu;

// The main window: the menu with its commands and, beneath it, the audiograms.
class TMainForm : public QMainWindow
{
    Q_OBJECT

public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    bool ifExit();
    void HeaderVersionShow();
    void LangCreateMenu(QMenu* item);
    void LangClick(QAction* sender);

    // Ends the program as a confirmed Exit does, asking nothing.
    void Terminate();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void ExitClick();

    std::unique_ptr<Ui::TMainForm> ui;
};

extern TMainForm* MainForm;
