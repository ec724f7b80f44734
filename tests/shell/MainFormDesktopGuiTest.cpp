// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainFormFixture.h"

#include "shell/LoadProgress.h"
#include "widgets/Image.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace {

const QColor kGridGrey(128, 128, 128);

// The width of the grid-grey line that crosses row y at x.
int LineWidthAt(const QImage& image, const QPoint& at)
{
    const auto grey = [&image, &at](int x) { return QColor(image.pixel(x, at.y())) == kGridGrey; };
    if (!grey(at.x()))
        return 0;
    int left = at.x();
    int right = at.x();
    while (left > 0 && grey(left - 1))
        --left;
    while (right + 1 < image.width() && grey(right + 1))
        ++right;
    return right - left + 1;
}

// Each menu's items with their mnemonic keys, the menu bar's menus included.
void CheckMnemonics(const QString& menuName, const QList<QAction*>& items)
{
    QList<QKeySequence> keys;
    for (const QAction* item : items) {
        if (item->isSeparator())
            continue;
        const QKeySequence key = QKeySequence::mnemonic(item->text());
        EXPECT_FALSE(key.isEmpty()) << menuName.toStdString() << ": " << item->text().toStdString();
        EXPECT_FALSE(keys.contains(key)) << menuName.toStdString() << ": " << item->text().toStdString();
        keys.append(key);
        if (item->menu() != nullptr)
            CheckMnemonics(item->menu()->objectName(), item->menu()->actions());
    }
}

} // namespace

TEST_F(MainFormTest, AtTheDesignedSizeTheChartsShowTheDesignedPixels)
{
    filesToOpen = {
        folder.Write(QStringLiteral("jan.aud"), "@name Jan\n1000 30 40  10 15\n4000 60 70  10 10\n")};
    Click("ToolButtonOpen");
    const SDataStore designed(1.0f, DataEngine);
    EXPECT_EQ(Shown("LeftImage").convertToFormat(QImage::Format_RGB32), designed.left);
    EXPECT_EQ(Shown("RightImage").convertToFormat(QImage::Format_RGB32), designed.right);
    EXPECT_EQ(Shown("LegendImage").convertToFormat(QImage::Format_RGB32), designed.legend);
}

// The legend is painted only where it is seen; wherever it is scrolled to, it shows the rows
// as the whole legend drawn at once has them. Also run on the dense screen.
TEST_F(MainFormTest, TwiceTheSizeOrNotTheScrolledLegendShowsTheWholeLegendsRows)
{
    for (int i = 0; i < 150; ++i)
        filesToOpen.append(folder.Write(QStringLiteral("p%1.aud").arg(i),
                                        "@name P" + QByteArray::number(i) + "\n1000 30 40  10 15\n"));
    Click("ToolButtonOpen");
    const int ratio = int(form->devicePixelRatioF());
    // The screen's legend keeps the size of the screen's text, its charts' markers all alike.
    SDataStore designed(1.0f, DataEngine);
    designed.engine.rightGraph->LegendScale = float(ratio);
    designed.engine.rightGraph->DrawLegend();
    // Compared as far as the box shows the legend: fonts other than the tests' make it wider.
    const int legendWidth = designed.legend.width();
    QScrollBar* bar = Find<QScrollArea>("ScrollBox1")->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 1000);
    // At 400 the box shows the edge between the first two bands of rows, at row 32.
    for (const int position : {bar->maximum(), bar->maximum() / 2 + 7, 0, 400}) {
        bar->setValue(position);
        const QImage shown = Find<QScrollArea>("ScrollBox1")->viewport()->grab().toImage();
        const int width = std::min(legendWidth, shown.width());
        EXPECT_EQ(shown.copy(0, 0, width, shown.height()).convertToFormat(QImage::Format_RGB32),
                  designed.legend.copy(0, position * ratio, width, shown.height()))
            << position;
    }
}

// Run once more on a screen of twice the pixel density, where both sizes draw twice as fine.
TEST_F(MainFormTest, TwiceTheSizeDrawsSquareSharpChartsSideBySideAboveTheLegend)
{
    const int ratio = int(form->devicePixelRatioF());
    const QSize designed = form->size();
    for (const int factor : {1, 2}) {
        SCOPED_TRACE(factor);
        form->resize(designed * factor);
        QCoreApplication::processEvents();
        const QRect left = Find<QWidget>("Panel1")->geometry();
        const QRect right = Find<QWidget>("Panel2")->geometry();
        EXPECT_EQ(left.width(), left.height());
        EXPECT_GE(left.width(), 322 * factor);
        EXPECT_EQ(right.size(), left.size());
        EXPECT_EQ(right.top(), left.top());
        EXPECT_GT(right.left(), left.right());
        EXPECT_GT(Find<QScrollArea>("ScrollBox1")->geometry().top(), left.bottom());
        for (const auto& [image, graph] : {std::pair{"LeftImage", DataEngine->leftGraph.get()},
                                           std::pair{"RightImage", DataEngine->rightGraph.get()}}) {
            SCOPED_TRACE(image);
            const QImage shown = Shown(image);
            EXPECT_EQ(Find<TImage>(image)->Bitmap()->size(), Find<TImage>(image)->size() * ratio);
            QPoint grid;
            ASSERT_TRUE(graph->ToPixel(1000, 52, grid));
            EXPECT_EQ(LineWidthAt(shown, grid), factor * ratio);
        }
        // The legend keeps the size of the screen's text: the header row alone.
        EXPECT_EQ(Find<TImage>("LegendImage")->height(), 16);
    }
}

TEST_F(MainFormTest, CtrlQAsksTheExitQuestionAsCtrlXDoes)
{
    for (const Qt::Key key : {Qt::Key_Q, Qt::Key_X}) {
        TScriptedAnswers answers({QMessageBox::No});
        QTest::keyClick(form, key, Qt::ControlModifier);
        ASSERT_EQ(answers.requests.size(), 1) << key;
        EXPECT_EQ(answers.requests[0].text, gLang.GetString(QStringLiteral("MessSureExit?"), form));
        EXPECT_TRUE(form->isVisible());
    }
}

// In every language: each menu item has a mnemonic of its own within its menu, each tool
// button's hint names its command's shortcuts, and the ear captions and the legend's
// calibration column name their units.
TEST_F(MainFormTest, EveryLanguageHasMnemonicsShortcutHintsAndUnits)
{
    const std::pair<const char*, const char*> buttons[] = {
        {"ToolButtonNew", "New"},     {"ToolButtonOpen", "Open"},
        {"ToolButtonSaveAs", "Save"}, {"ToolButtonCloseAll", "CloseAll"},
        {"PrintToolButton", "Print"}, {"RefOnOffToolButton", "Reference"},
        {"ToolButtonAbout", "About"}, {"ToolButtonHelp", "HelpItem"},
        {"ToolButtonExit", "Exit"},
    };
    for (const QString& symbol : QStringList(gLang.LangSymbols)) {
        SCOPED_TRACE(symbol.toStdString());
        gLang.ChangeLangSym(symbol);
        CheckMnemonics(QStringLiteral("menu bar"), form->menuBar()->actions());
        int shortcuts = 0;
        for (const auto& [button, command] : buttons) {
            const QString hint = Find<QToolButton>(button)->toolTip();
            for (const QKeySequence& key : Find<QAction>(command)->shortcuts()) {
                EXPECT_TRUE(hint.contains(key.toString(QKeySequence::NativeText))) << hint.toStdString();
                ++shortcuts;
            }
        }
        EXPECT_GE(shortcuts, 6);
        for (const char* caption : {"LeftEarLabel", "RightEarLabel"}) {
            const QString text = Find<QLabel>(caption)->text();
            EXPECT_TRUE(text.contains(QLatin1String("dB")) && text.contains(QLatin1String("Hz")))
                << text.toStdString();
        }
        EXPECT_TRUE(gLang.GetString(QStringLiteral("StrGraphCal")).contains(QLatin1String("dB")));
    }
}

TEST_F(MainFormTest, CancellingTheOpenOfOneLargeFileKeepsTheDataAsItWas)
{
    DataEngine->LoadData(folder.Write(QStringLiteral("before.aud"), "@name Before\n1000 20 30\n"));
    QByteArray rows;
    while (rows.size() <= 2 * TLoadProgress::ManyBytes)
        rows += "1000 20 30\n";
    filesToOpen = {folder.Write(QStringLiteral("large.aud"), rows)};
    int valueAtCancel = -1;
    int maximum = -1;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* dialog = form->findChild<QProgressDialog*>();
        if (valueAtCancel >= 0 || dialog == nullptr || !dialog->isVisible())
            return;
        valueAtCancel = dialog->value();
        maximum = dialog->maximum();
        QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
    });
    watcher.start(0);
    Click("ToolButtonOpen");
    watcher.stop();

    // The dialog moved within the one file, and the cancel came before its end.
    EXPECT_GT(valueAtCancel, 0);
    EXPECT_LT(valueAtCancel, maximum);
    ASSERT_EQ(DataEngine->DataCount(), 1);
    EXPECT_EQ(DataEngine->datas[0]->name, QStringLiteral("Before"));
    EXPECT_EQ(DataEngine->leftGraph->SeriesCount, 1);
    EXPECT_EQ(Find<TImage>("LegendImage")->height(), 2 * 14 + 2);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainFormTest, CancellingAnOpenOfManyFilesKeepsTheFilesReadBefore)
{
    for (int i = 0; i < TLoadProgress::ManyFiles + 5; ++i)
        filesToOpen.append(folder.Write(QStringLiteral("m%1.aud").arg(i, 2, 10, QLatin1Char('0')),
                                        QStringLiteral("@name M%1\n1000 20 30\n").arg(i).toUtf8()));
    int readAtCancel = -1;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* dialog = form->findChild<QProgressDialog*>();
        if (readAtCancel >= 0 || dialog == nullptr || !dialog->isVisible())
            return;
        cursor = QApplication::overrideCursor()->shape();
        readAtCancel = DataEngine->DataCount();
        QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
    });
    watcher.start(0);
    Click("ToolButtonOpen");
    watcher.stop();

    ASSERT_GT(readAtCancel, 0);
    ASSERT_LT(readAtCancel, filesToOpen.size());
    EXPECT_EQ(cursor, Qt::BusyCursor);
    ASSERT_EQ(DataEngine->DataCount(), readAtCancel);
    for (int i = 0; i < readAtCancel; ++i)
        EXPECT_EQ(DataEngine->datas[size_t(i)]->name, QStringLiteral("M%1").arg(i));
    EXPECT_EQ(Find<TImage>("LegendImage")->height(), (readAtCancel + 1) * 14 + 2);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(form->findChild<QProgressDialog*>(), nullptr);
}
