// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/StartUp.h"
#include "lang/Lang.h"
#include "settings/Options.h"
#include "support/ScopedValue.h"
#include "widgets/AppStyle.h"

#include <QIcon>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

TEST(StartUp, LangOptionIsTakenFromTheCommandLine)
{
    const QString longSymbol(150, QLatin1Char('x'));
    const struct
    {
        QString commandLine;
        QString symbol;
    } rows[] = {
        {QStringLiteral("-lang en"), QStringLiteral("en")},
        {QStringLiteral("-lang pl -other"), QStringLiteral("pl")},
        {QStringLiteral("foo -lang en bar"), QStringLiteral("en")},
        {QStringLiteral("-langen"), QStringLiteral("n")},
        {QStringLiteral("x-language pl"), QStringLiteral("age")},
        {QStringLiteral("-lang"), QString()},
        {QStringLiteral("-lang "), QString()},
        {QStringLiteral("-lang  en"), QStringLiteral(" en")},
        {QStringLiteral("-LANG en"), QString()},
        {QStringLiteral("-lang en -lang pl"), QStringLiteral("en")},
        {QString(), QString()},
        {QStringLiteral("-lang ") + longSymbol, longSymbol.left(100)},
    };
    for (const auto& row : rows)
        EXPECT_EQ(TStartUp::LangOption(row.commandLine), row.symbol) << row.commandLine.toStdString();
}

TEST(StartUp, StoredLanguageIsNeverOverridden)
{
    const TScopedValue stored(gOptions.Lang, QString());
    TStartUp::ApplyLangOption(QStringLiteral("-lang en"));
    EXPECT_EQ(gOptions.Lang, QStringLiteral("en"));
    gOptions.Lang = QStringLiteral("pl");
    TStartUp::ApplyLangOption(QStringLiteral("-lang en"));
    EXPECT_EQ(gOptions.Lang, QStringLiteral("pl"));
    gOptions.Lang.clear();
    TStartUp::ApplyLangOption(QStringLiteral("-lang"));
    EXPECT_EQ(gOptions.Lang, QString());
}

TEST(StartUp, TheStoredLanguageIsSpelledAsTheLanguageListSpellsIt)
{
    const std::pair<const char*, const char*> rows[] = {
        {"PL", "pl"}, {"pl", "pl"}, {"En", "en"}, {"xx", "xx"}};
    for (const auto& [given, stored] : rows) {
        const TScopedValue chosen(gOptions.Lang, QString::fromLatin1(given));
        TStartUp::ChooseLanguage();
        EXPECT_EQ(gOptions.Lang, QLatin1String(stored)) << given;
    }
    gLang.ChangeLangSym(QStringLiteral("en"));
}

TEST(StartUp, FilesAreTheArgumentsThatAreNoOptions)
{
    const struct
    {
        QStringList arguments;
        QStringList files;
    } rows[] = {
        {{}, {}},
        {{"a.aud"}, {"/start/a.aud"}},
        {{"-lang", "pl", "a.aud", "/data/b.aur"}, {"/start/a.aud", "/data/b.aur"}},
        {{"-debug", "/DEBUG", "-DEBUG", "../x/c.aud"}, {"/x/c.aud"}},
        {{"-lang"}, {}},
        {{"/home/u/Pomiary i wyniki/ż.aud", "-other"}, {"/home/u/Pomiary i wyniki/ż.aud"}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(TStartUp::FileArguments(row.arguments, QStringLiteral("/start")), row.files)
            << row.arguments.join(' ').toStdString();
}

// The program's style reads the bars' extension arrows only when they are drawn: they are then
// the desktop style's own, in the direction asked for, even for a bar gone since.
TEST(StartUp, TheBarsExtensionArrowsAreTheStylesOwn)
{
    TAppStyle style(QStyleFactory::create(QStringLiteral("Fusion")));
    const std::unique_ptr<QStyle> plain(QStyleFactory::create(QStringLiteral("Fusion")));
    QStyleOption rightToLeft;
    rightToLeft.direction = Qt::RightToLeft;
    for (const QStyle::StandardPixmap icon :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton,
          QStyle::SP_DialogOkButton}) {
        const QStyleOption* const options[] = {nullptr, &rightToLeft};
        for (const QStyleOption* option : options) {
            const QIcon drawn = style.standardIcon(icon, option);
            const QIcon own = plain->standardIcon(icon, option);
            for (const int size : {8, 16, 32})
                EXPECT_EQ(drawn.pixmap(size).toImage(), own.pixmap(size).toImage()) << icon << " " << size;
        }
        auto gone = std::make_unique<QWidget>();
        const QIcon asked = style.standardIcon(icon, nullptr, gone.get());
        gone.reset();
        EXPECT_FALSE(asked.pixmap(16).isNull()) << icon;
    }
}
