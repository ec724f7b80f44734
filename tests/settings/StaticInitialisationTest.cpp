// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/Options.h"
#include "support/ScopedValue.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

// The program's own settings object is read during static initialisation, before or after the
// other units' initialisers depending on the link order. This unit reads a settings file
// from its own initialiser, which runs before the library's.
struct SReadAtStaticInitialisation
{
    SReadAtStaticInitialisation()
    {
        QFile file(folder.filePath(QStringLiteral("kelvarion.ini")));
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.write(
            "[Settings]\nMinimum Level=7\nLang=pl\nSound Source Type=2\nFrequency Other List=250,8000\n");
        file.close();
        // The other tests expect the built-in own list.
        const TScopedValue builtIn(FreqPresets[OwnFreqList], FreqPresets[OwnFreqList]);
        const TOptions options(folder.path());
        minLevel = options.MinLevel;
        lang = options.Lang;
        soundSourceType = options.SoundSourceType;
        ownList = FreqPresets[OwnFreqList];
    }

    QTemporaryDir folder;
    float minLevel = 0;
    QString lang;
    int32_t soundSourceType = 0;
    QString ownList;
};

const SReadAtStaticInitialisation gEarly;

} // namespace

TEST(SettingsAtStaticInitialisation, AreReadAndWrittenBackWhateverTheLinkOrder)
{
    EXPECT_EQ(gEarly.minLevel, 7.0f);
    EXPECT_EQ(gEarly.lang, QStringLiteral("pl"));
    EXPECT_EQ(gEarly.soundSourceType, EarUnderTest);
    EXPECT_EQ(gEarly.ownList, QStringLiteral("250,8000"));

    const TScopedValue builtIn(FreqPresets[OwnFreqList], FreqPresets[OwnFreqList]);
    const TOptions again(gEarly.folder.path());
    EXPECT_EQ(again.MinLevel, 7.0f);
    EXPECT_EQ(again.Lang, QStringLiteral("pl"));
}
