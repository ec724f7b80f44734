#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TOptionsForm;
}

// The options dialog: edits the test settings of gOptions directly; OK stores and saves them,
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
    // Each step answers false when it found what the user must mend before the dialog closes.
    bool StoreLevels();
    bool StoreDataFolder();
    bool StoreReference();
    bool StoreOwnFreqList();

    std::unique_ptr<Ui::TOptionsForm> ui;
};

extern TOptionsForm* OptionsForm;
