// SPDX-License-Identifier: GPL-3.0-or-later
// The Print command of the main window, from each of its three triggers, to a cancelled
// dialog, a PDF file and a PDF file that cannot be written.
#include "MainFormFixture.h"

#include "charts/PrintedPage.h"

#include <QFileInfo>
#include <QPrinter>

namespace {

enum class ETrigger
{
    MenuItem,
    Shortcut,
    ToolButton
};
enum class EChoice
{
    Cancel,
    PdfFile,
    PdfBelowARegularFile
};

const struct
{
    const char* name;
    ETrigger trigger;
    EChoice choice;
} kPrintCommands[] = {
    {"cancelled from the menu", ETrigger::MenuItem, EChoice::Cancel},
    {"to a PDF file with Ctrl+P", ETrigger::Shortcut, EChoice::PdfFile},
    // Root cannot write there either: the folder is a regular file.
    {"to a PDF file that cannot be written, from the tool bar", ETrigger::ToolButton,
     EChoice::PdfBelowARegularFile},
};

} // namespace

TEST_F(MainFormTest, PrintWritesOnePageOrReportsWhyNot)
{
    LoadExamples(*DataEngine);
    const QImage screenLeft = Shown("LeftImage");
    folder.Write(QStringLiteral("plain.txt"), "not a folder");
    for (const auto& command : kPrintCommands) {
        SCOPED_TRACE(command.name);
        const QString pdf = folder.Path(command.choice == EChoice::PdfBelowARegularFile
                                            ? QStringLiteral("plain.txt/report.pdf")
                                            : QStringLiteral("report.pdf"));
        QFile::remove(pdf);
        QList<SPrintRequest> dialogs;
        QString jobTitle;
        TCommonDialogs::SetPrintHandler([&](const SPrintRequest& request) {
            dialogs.append(request);
            jobTitle = request.printer->docName();
            if (command.choice == EChoice::Cancel)
                return false;
            SetUpPdfPrinter(*request.printer, pdf);
            return true;
        });
        TMessageRecorder messages;
        switch (command.trigger) {
        case ETrigger::MenuItem:
            ASSERT_TRUE(Find<QAction>("Print")->isEnabled());
            Find<QAction>("Print")->trigger();
            break;
        case ETrigger::Shortcut:
            QTest::keyClick(form, Qt::Key_P, Qt::ControlModifier);
            break;
        case ETrigger::ToolButton:
            Click("PrintToolButton");
            break;
        }

        ASSERT_EQ(dialogs.size(), 1);
        EXPECT_EQ(dialogs[0].owner, form);
        EXPECT_EQ(jobTitle, QStringLiteral("Kelvarion – audiogram"));
        EXPECT_EQ(Shown("LeftImage"), screenLeft);
        EXPECT_EQ(DataEngine->DataCount(), 4);
        if (command.choice == EChoice::PdfFile) {
            EXPECT_TRUE(messages.requests.isEmpty());
            const SPrintedPage printed(pdf);
            EXPECT_EQ(printed.pages, 1);
            EXPECT_FALSE(printed.PhraseBox(form->windowTitle()).isEmpty());
            continue;
        }
        EXPECT_FALSE(QFileInfo::exists(pdf));
        if (command.choice == EChoice::Cancel) {
            EXPECT_TRUE(messages.requests.isEmpty());
            continue;
        }
        ASSERT_EQ(messages.requests.size(), 1);
        const SMessageRequest& box = messages.requests[0];
        EXPECT_EQ(box.owner, form);
        EXPECT_EQ(box.caption, QStringLiteral("Error"));
        EXPECT_EQ(box.icon, QMessageBox::Critical);
        EXPECT_EQ(box.buttons, QMessageBox::Ok);
        EXPECT_TRUE(box.text.startsWith(QStringLiteral("Printing failed:\nstd::runtime_error") + pdf))
            << box.text.toStdString();
    }
}
