// Runs every test of one test program inside a Qt application, with message boxes answered
// by the tests themselves: a box that no test expects is a failure.
#include "platform/VolumeTool.h"
#include "support/MessageRecorder.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // The user's own volume control is never started by a test that does not ask for it.
    TVolumeTool::SetProgram(QStringLiteral("kelvarion-test-without-volume-tool"));
    // Answers nothing and restores the failing handler when it goes.
    { TMessageRecorder failOnUnexpectedBoxes; }
    return RUN_ALL_TESTS();
}
