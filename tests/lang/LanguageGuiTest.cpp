// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/Lang.h"
#include "platform/MessageBox.h"
#include "shell/WindowSet.h"
#include "support/LogProbe.h"
#include "support/MessageRecorder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

// Every window that registers with the language engine is translated into every language
// without a missing key; windows added to the set later join by registering.
TEST(LanguageFiles, EveryLanguageHasTheKeysOfEveryRegisteredWindow)
{
    gLang.ChangeLangSym(QStringLiteral("en"));
    const TLogProbe log;
    const TWindowSet windows;
    ASSERT_FALSE(gLang.Forms.isEmpty());
    QStringList order = gLang.LangSymbols;
    order.append(gLang.LangSymbol);
    for (const QString& symbol : order)
        gLang.ChangeLangSym(symbol);
    QStringList missing;
    for (const QString& line : log.NewLines()) {
        if (line.contains(QLatin1String("unknown item caption name")) ||
            line.contains(QLatin1String("No string(")))
            missing.append(line);
    }
    EXPECT_TRUE(missing.isEmpty()) << missing.join(QLatin1Char('\n')).toStdString();
}

// Qt's own texts follow the language: the buttons of a standard box.
TEST(QtTexts, AYesNoBoxSpeaksTheChosenLanguage)
{
    const std::pair<const char*, QStringList> cases[] = {
        {"pl", {QStringLiteral("Nie"), QStringLiteral("Tak")}},
        {"en", {QStringLiteral("No"), QStringLiteral("Yes")}},
    };
    for (const auto& [symbol, expected] : cases) {
        SCOPED_TRACE(symbol);
        gLang.ChangeLangSym(QLatin1String(symbol));
        QStringList buttons;
        QTimer reader;
        QObject::connect(&reader, &QTimer::timeout, [&buttons] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            for (const QAbstractButton* button : box->buttons())
                buttons.append(button->text().remove(QLatin1Char('&')));
            box->done(QMessageBox::No);
        });
        reader.start(0);
        TMessageBox::SetHandler({});
        const auto answer = TMessageBox::Show(
            {nullptr, gLang.GetSectionString(QStringLiteral("MessSureExit?"), QStringLiteral("MainForm")),
             QStringLiteral("Kelvarion"), QMessageBox::Yes | QMessageBox::No, QMessageBox::Question});
        // Unexpected boxes fail the test again.
        {
            const TMessageRecorder restore;
        }
        buttons.sort();
        EXPECT_EQ(buttons, expected);
        EXPECT_EQ(answer, QMessageBox::No);
    }
}
