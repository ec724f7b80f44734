// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/Lang.h"
#include "log/Version.h"
#include "settings/Options.h"
#include "shell/MainForm.h"
#include "shell/WindowSet.h"
#include "support/ScopedValue.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

namespace {

QAction* LanguageItem(TMainForm& form, const QString& symbol)
{
    auto* menu = form.findChild<QMenu*>(QStringLiteral("Lang"));
    return menu ? menu->findChild<QAction*>(symbol) : nullptr;
}

QString FileMenuTitle(TMainForm& form)
{
    auto* menu = form.findChild<QMenu*>(QStringLiteral("File"));
    return menu ? menu->title() : QString();
}

} // namespace

TEST(LanguageMenu, SwitchingLanguageRetranslatesTheMainWindow)
{
    const TScopedValue storedLang(gOptions.Lang, gOptions.Lang);
    gLang.ChangeLangSym(QStringLiteral("en"));
    const TWindowSet windows;
    TMainForm& form = *windows.Main();
    form.show();
    const QString suffix = QStringLiteral(" 1.04.01 ") + BuildDateText();
    const QString englishTitle = form.windowTitle();
    const QString englishFile = FileMenuTitle(form);
    EXPECT_TRUE(englishTitle.endsWith(suffix));
    EXPECT_EQ(englishTitle.count(QStringLiteral("1.04.01")), 1);

    QAction* english = LanguageItem(form, QStringLiteral("en"));
    QAction* polish = LanguageItem(form, QStringLiteral("pl"));
    ASSERT_NE(english, nullptr);
    ASSERT_NE(polish, nullptr);
    EXPECT_TRUE(english->isChecked());
    EXPECT_EQ(polish->text(), QStringLiteral("&Polski"));

    polish->trigger();
    EXPECT_TRUE(polish->isChecked());
    EXPECT_FALSE(english->isChecked());
    EXPECT_EQ(gOptions.Lang, QStringLiteral("pl"));
    EXPECT_EQ(gLang.LangSymbol, QStringLiteral("pl"));
    EXPECT_EQ(form.windowTitle(),
              gLang.GetSectionString(QStringLiteral("MainForm"), QStringLiteral("MainForm")) + suffix);
    EXPECT_NE(form.windowTitle(), englishTitle);
    EXPECT_NE(FileMenuTitle(form), englishFile);
    EXPECT_EQ(FileMenuTitle(form),
              gLang.GetSectionString(QStringLiteral("File"), QStringLiteral("MainForm")));

    // Choosing the current language again changes nothing, the caption included.
    const QString polishTitle = form.windowTitle();
    polish->trigger();
    EXPECT_EQ(form.windowTitle(), polishTitle);

    english->trigger();
    EXPECT_EQ(form.windowTitle(), englishTitle);
    EXPECT_EQ(FileMenuTitle(form), englishFile);
}
