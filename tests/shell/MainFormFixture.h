// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/DataEngineFixture.h"

#include "charts/Graph.h"
#include "lang/Lang.h"
#include "platform/CommonDialogs.h"
#include "platform/MessageBox.h"
#include "platform/VolumeTool.h"
#include "shell/MainForm.h"
#include "shell/WindowSet.h"
#include "support/MessageRecorder.h"
#include "support/ScriptedAnswers.h"
#include "widgets/Image.h"

#include <QAction>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

// A real main window, shown offscreen and active, over a data folder of its own; the open
// and colour dialogs answer what the test says.
class MainFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ClearEndedProgram();
        gLang.ChangeLangSym(QStringLiteral("en"));
        TVolumeTool::SetProgram(QStringLiteral("kelvarion-test-no-volume-tool"));
        TCommonDialogs::SetOpenFilesHandler([this](const SOpenFilesRequest& request) {
            openRequests.append(request);
            return filesToOpen;
        });
        TCommonDialogs::SetColourHandler([this](const SColourRequest& request) {
            colourRequests.append(request);
            return colourToChoose;
        });
        OpenForm();
    }

    void OpenForm()
    {
        windows = std::make_unique<TWindowSet>();
        form = windows->Main();
        ShowActive(form);
    }

    // A confirmed Exit in an earlier test ends every event loop at its start, modal dialogs
    // among them, until the application's own loop has run once.
    static void ClearEndedProgram()
    {
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }

    static void ShowActive(QWidget* window)
    {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

    // A test just handed over, not yet saved: written as "anna.aud".
    static void RecordAnna()
    {
        DataEngine->AddMeasurement({1000.0f}, std::array<float, 200>{}, QString(), TDateTime(), TDateTime(),
                                   QStringLiteral("Nowak"), QStringLiteral("Anna"), QStringLiteral("anna"));
    }

    void CloseForm()
    {
        form = nullptr;
        windows.reset();
    }

    void TearDown() override
    {
        CloseForm();
        TCommonDialogs::SetOpenFilesHandler({});
        TCommonDialogs::SetColourHandler({});
        TCommonDialogs::SetPrintHandler({});
    }

    template <typename T> T* Find(const char* name) const
    {
        auto* found = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void Click(const char* buttonName) const
    {
        QTest::mouseClick(Find<QToolButton>(buttonName), Qt::LeftButton);
    }

    // What the image control shows, in device pixels, painted as the screen paints it.
    QImage Shown(const char* imageName) const
    {
        auto* image = Find<TImage>(imageName);
        QImage shown(image->DeviceSize(), QImage::Format_ARGB32_Premultiplied);
        shown.setDevicePixelRatio(image->DevicePixelRatio());
        shown.fill(Qt::transparent);
        image->render(&shown);
        return shown;
    }

    // The colour shown where the chart puts (frequency, level).
    QColor ShownAt(const char* imageName, const TGraph& graph, double frequency, double level) const
    {
        QPoint pixel;
        EXPECT_TRUE(graph.ToPixel(frequency, level, pixel));
        return QColor(Shown(imageName).pixel(pixel));
    }

    TDataFolder folder;
    std::unique_ptr<TWindowSet> windows;
    TMainForm* form = nullptr;
    QStringList filesToOpen;
    QList<SOpenFilesRequest> openRequests;
    QColor colourToChoose;
    QList<SColourRequest> colourRequests;
};
