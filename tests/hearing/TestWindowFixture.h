// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's windows, built as start-up builds them, over a data folder of their own, with
// their tones going into ALSA's null device and the settings of a test kept for its lifetime.

#include "data/DataEngineFixture.h"
#include "sound/NullAlsaDevice.h"

#include "lang/Lang.h"
#include "settings/Options.h"
#include "shell/WindowSet.h"
#include "support/MessageRecorder.h"
#include "support/ScopedTestSettings.h"
#include "support/ScriptedAnswers.h"

#include <QTest>
#include <gtest/gtest.h>

#include <memory>

class TestWindowFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { UseNullAlsaDevice(); }

    void SetUp() override
    {
        gLang.ChangeLangSym(QStringLiteral("en"));
        windows = std::make_unique<TWindowSet>();
    }

    void TearDown() override { windows.reset(); }

    template <typename T> static T* Find(QWidget* window, const char* name)
    {
        auto* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    static void ShowActive(QWidget* window)
    {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

    TDataFolder folder;
    const TScopedTestSettings settings{STestSettings{.frequencies = {1000.0f, 2000.0f},
                                                     .maxLevel = 80.0f,
                                                     .signedDelta = 10.0f,
                                                     .soundSourceType = LeftEarphone,
                                                     .algorithm = AscendingLevels,
                                                     .calibrationLevel = 6553}};
    std::unique_ptr<TWindowSet> windows;
};
