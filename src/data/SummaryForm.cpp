// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/SummaryForm.h"

#include "ui_SummaryForm.h"

#include "charts/Marker.h"
#include "charts/Palette.h"
#include "charts/ShownText.h"
#include "data/CsvExport.h"
#include "data/DataEngine.h"
#include "data/HearingSummary.h"
#include "data/ReliabilityNotes.h"
#include "help/ContextHelp.h"
#include "lang/Lang.h"
#include "settings/Options.h"

#include <QHeaderView>
#include <QLocale>
#include <QPainter>
#include <QPixmap>

#include <cmath>

TSummaryForm* SummaryForm = nullptr;

namespace {

enum TColumn
{
    LineColumn,
    PersonColumn,
    DateColumn,
    LeftColumn,
    LeftGradeColumn,
    RightColumn,
    RightGradeColumn,
    PersonGradeColumn,
    ReliabilityColumn,
    NotesColumn,
    ColumnCount
};

const char* const kHeaderKeys[ColumnCount] = {
    "StrSummaryLine",        "StrSummaryPerson",       "StrSummaryDate",       "StrSummaryLeftAverage",
    "StrSummaryLeftGrade",   "StrSummaryRightAverage", "StrSummaryRightGrade", "StrSummaryPersonGrade",
    "StrSummaryReliability", "StrSummaryNotes"};

const QString kNoValue = QStringLiteral("\u2014");

// The series' look on screen: a line with a filled diamond in its colour.
QPixmap LineSample(int seriesIndex)
{
    constexpr int width = 32;
    constexpr int height = 12;
    constexpr uint8_t filledDiamond = 4;
    QPixmap sample(width, height);
    sample.fill(Qt::transparent);
    QPainter painter(&sample);
    const QColor colour = Palette(seriesIndex);
    painter.setPen(QPen(colour, 1));
    painter.drawLine(0, height / 2, width, height / 2);
    DrawMarker(painter, QRect(width / 2 - 3, height / 2 - 3, 6, 6), filledDiamond, colour);
    return sample;
}

QTableWidgetItem* Cell(const QString& text, const QString& hint = QString())
{
    auto* item = new QTableWidgetItem(text);
    item->setToolTip(hint);
    return item;
}

QString FrequencyList(const QVector<float>& frequencies)
{
    QStringList texts;
    for (const float freq : frequencies)
        texts.append(QString::number(freq));
    return texts.join(QStringLiteral(", "));
}

} // namespace

TSummaryForm::TSummaryForm(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TSummaryForm>())
{
    ui->setupUi(this);
    connect(ui->ExportButton, &QPushButton::clicked, this, &TSummaryForm::ExportButtonClick);
    connect(ui->CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    FormCreate();
}

TSummaryForm::~TSummaryForm() = default;

void TSummaryForm::FormCreate()
{
    ArrangeColumns();
    gLang.AddForm(this);
    TContextHelp::Join(this, 2600);
}

// The reliability and the notes share the width the numbers leave and wrap in it, so no
// sentence is cut off.
void TSummaryForm::ArrangeColumns()
{
    QHeaderView* columns = ui->SummaryTable->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::ResizeToContents);
    columns->setSectionResizeMode(ReliabilityColumn, QHeaderView::Stretch);
    columns->setSectionResizeMode(NotesColumn, QHeaderView::Stretch);
    ui->SummaryTable->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
}

void TSummaryForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TSummaryForm::FormShow()
{
    ShowHeader();
    const int count = DataEngine != nullptr ? DataEngine->DataCount() : 0;
    ui->SummaryTable->setRowCount(count);
    for (int row = 0; row < count; ++row)
        ShowRow(row, *DataEngine->datas[size_t(row)]);
    ui->ExportButton->setEnabled(count > 0);
}

void TSummaryForm::ShowHeader()
{
    QStringList labels;
    for (const char* key : kHeaderKeys)
        labels.append(Text(key));
    ui->SummaryTable->setHorizontalHeaderLabels(labels);
}

void TSummaryForm::ShowRow(int row, const SData& measurement)
{
    QTableWidget* table = ui->SummaryTable;
    auto* line = Cell(QString());
    line->setData(Qt::DecorationRole, LineSample(measurement.seriesIndex));
    table->setItem(row, LineColumn, line);
    const QString person = GivenName(measurement.surname) + QLatin1Char(' ') + GivenName(measurement.name);
    const QString shown = person.trimmed();
    table->setItem(row, PersonColumn,
                   Cell(TShownText::Cut(shown, 2 * TShownText::NameLimit),
                        TShownText::Tip(shown, 2 * TShownText::NameLimit)));
    table->setItem(row, DateColumn, Cell(measurement.session_date.DateText(QLocale::system())));

    const SMeasurementSummary summary =
        THearingSummary::Of(measurement, DataEngine->referenceOn, gOptions.MaxLevel);
    QStringList notes;
    ShowEar(row, LeftColumn, summary.left, Text("StrSummaryLeftEar"), notes);
    ShowEar(row, RightColumn, summary.right, Text("StrSummaryRightEar"), notes);
    const char* personGrade = THearingSummary::PersonGradeKey(summary);
    table->setItem(row, PersonGradeColumn, Cell(personGrade != nullptr ? Text(personGrade) : kNoValue));
    table->setItem(row, ReliabilityColumn, Cell(ReliabilityText(measurement, summary)));
    if (summary.earsDiffer)
        notes.append(Text("StrSummaryEarsDiffer"));
    notes.append(TReliabilityNotes::Warnings(measurement, summary));
    table->setItem(row, NotesColumn, Cell(notes.join(QLatin1Char('\n'))));
}

// The average and the grade in this column and the next; what they leave unsaid goes to notes.
void TSummaryForm::ShowEar(int row, int column, const SEarSummary& ear, const QString& earName,
                           QStringList& notes)
{
    QTableWidget* table = ui->SummaryTable;
    if (!ear.averageTenths) {
        const QString why = Text("StrSummaryTooFew").arg(earName);
        table->setItem(row, column, Cell(kNoValue, why));
        table->setItem(row, column + 1, Cell(kNoValue, why));
        notes.append(why);
        return;
    }
    const QString used = FrequencyList(ear.usedFrequencies);
    const QString average =
        QLocale::system().toString(*ear.averageTenths / 10.0, 'f', 1) + QStringLiteral(" dB");
    table->setItem(row, column, Cell(average, Text("StrSummaryAverage_hint").arg(used)));
    table->setItem(row, column + 1, Cell(Text(THearingSummary::GradeKey(ear.grade))));
    if (ear.usedFrequencies.size() < qsizetype(THearingSummary::AverageFrequencies.size()))
        notes.append(Text("StrSummaryPartial").arg(earName, used));
    if (ear.mayBeHigher)
        notes.append(Text("StrSummaryMayBeHigher").arg(earName));
}

// Each ear's false-alarm rate and retest, or what kind of result it is without them.
QString TSummaryForm::ReliabilityText(const SData& measurement, const SMeasurementSummary& summary)
{
    if (!summary.confirmed)
        return Text("StrSummaryNotConfirmed");
    const QLocale locale = QLocale::system();
    const auto ear = [&](const char* earKey, const SEarReliability& figures,
                         const SEarReliabilitySummary& reliability) {
        const QString rate = reliability.falseAlarmPercent
                                 ? locale.toString(*reliability.falseAlarmPercent) + QStringLiteral(" %")
                                 : kNoValue;
        const QString retest = std::isnan(figures.retestDifference)
                                   ? Text("StrSummaryNoRetest")
                                   : (figures.retestDifference > 0 ? QStringLiteral("+") : QString()) +
                                         locale.toString(figures.retestDifference) + QStringLiteral(" dB");
        return Text("StrSummaryEarFigures")
            .arg(Text(earKey), locale.toString(figures.falseAlarms), locale.toString(figures.catchTrials),
                 rate, retest);
    };
    return ear("StrSummaryLeftEar", measurement.leftReliability, summary.leftReliability) +
           QLatin1Char('\n') +
           ear("StrSummaryRightEar", measurement.rightReliability, summary.rightReliability);
}

void TSummaryForm::ExportButtonClick()
{
    if (DataEngine != nullptr)
        TCsvExport::Export(this, *DataEngine);
}

QString TSummaryForm::Text(const char* key)
{
    return gLang.GetString(QLatin1String(key), this);
}
