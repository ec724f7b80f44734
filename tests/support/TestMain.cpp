// SPDX-License-Identifier: GPL-3.0-or-later
// Runs every test of one test program inside a Qt application, with message boxes answered
// by the tests themselves: a box that no test expects is a failure.
#include "help/HtmlHelp.h"
#include "platform/VolumeTool.h"
#include "support/DesktopLinks.h"
#include "support/MessageRecorder.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // Help is there from the start, as in the program.
    LoadHtmlHelp();
    // The user's own volume control is never started by a test that does not ask for it.
    TVolumeTool::SetProgram(QStringLiteral("kelvarion-test-without-volume-tool"));
    // Answer nothing and restore the failing handlers when they go: no box is shown, and the
    // user's mail program or browser is never started.
    {
        TMessageRecorder failOnUnexpectedBoxes;
    }
    {
        TDesktopLinks failOnUnexpectedLinks;
    }
    const int result = RUN_ALL_TESTS();
    UnloadHtmlHelp();
    return result;
}
