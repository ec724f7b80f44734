// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QStringList>

#include <memory>

namespace Ui {
class TSummaryForm;
}
struct SData;
struct SEarSummary;
struct SMeasurementSummary;

// What the loaded measurements mean: per person and ear the pure-tone average and its grade,
// the person's grade, how far the answers can be trusted, with a few plain sentences, and the
// export of the measurements for spreadsheets.
class TSummaryForm : public QDialog
{
    Q_OBJECT

public:
    explicit TSummaryForm(QWidget* parent = nullptr);
    ~TSummaryForm() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void ArrangeColumns();
    void FormShow();
    void ExportButtonClick();
    void ShowHeader();
    void ShowRow(int row, const SData& measurement);
    void ShowEar(int row, int column, const SEarSummary& ear, const QString& earName, QStringList& notes);
    QString ReliabilityText(const SData& measurement, const SMeasurementSummary& summary);
    QString Text(const char* key);

    std::unique_ptr<Ui::TSummaryForm> ui;
};

extern TSummaryForm* SummaryForm;
