// SPDX-License-Identifier: GPL-3.0-or-later
#include "LangFixture.h"

#include "support/LogProbe.h"
#include "support/MessageRecorder.h"

#include <QWidget>

namespace {

class LangLookup : public TLangFixture
{
protected:
    void SetUp() override
    {
        WriteFile(QStringLiteral("lang.lng"), QStringLiteral("[languages]\nen=English\npl=Polski\n"));
        WriteFile(QStringLiteral("en.lng"),
                  QStringLiteral("[DefSection]\n"
                                 "MessDataFileError=Cannot read\\nthe file\\nat all\n"
                                 "Twice=first\n"
                                 "twice=second\n"
                                 "Undefined=undef\n"
                                 "Empty=\n"
                                 "[MainForm]\n"
                                 "MessSureExit?=Leave now?\n"));
        WriteFile(QStringLiteral("pl.lng"), QStringLiteral("[MainForm]\nMessSureExit?=Wyjść?\n"));
    }
};

} // namespace

TEST_F(LangLookup, KeysAreFoundInTheOwnersSection)
{
    TLang lang(ResPath());
    lang.ChangeLangSym(QStringLiteral("en"));
    QWidget mainForm;
    mainForm.setObjectName(QStringLiteral("MainForm"));
    TLogProbe log;

    EXPECT_EQ(lang.GetString(QStringLiteral("MessSureExit?"), &mainForm), QStringLiteral("Leave now?"));
    EXPECT_EQ(lang.GetString2(QStringLiteral("messsureexit?"), &mainForm), QStringLiteral("Leave now?"));
    // Only the first backslash-n becomes a line break.
    EXPECT_EQ(lang.GetString(QStringLiteral("MessDataFileError")),
              QStringLiteral("Cannot read\nthe file\\nat all"));
    EXPECT_EQ(lang.GetString(QStringLiteral("TWICE")), QStringLiteral("first"));
    EXPECT_EQ(lang.GetString(QStringLiteral("Empty")), QString());
    EXPECT_TRUE(log.NewLines().isEmpty());

    EXPECT_EQ(lang.GetString(QStringLiteral("MessSureExit?")), QStringLiteral(" Unknown String "));
    EXPECT_EQ(lang.GetString(QStringLiteral("Undefined")), QStringLiteral(" Unknown String "));
    EXPECT_EQ(lang.GetSectionString(QStringLiteral("OpenError"), QStringLiteral("Log")),
              QStringLiteral(" Unknown String "));
    const QString file = ResPath() + QStringLiteral("/en.lng");
    EXPECT_TRUE(log.Contains(QStringLiteral("No string(section:DefSection,name:MessSureExit? in ini file(") +
                             file + ')'));
    EXPECT_TRUE(log.Contains(QStringLiteral("No string(section:DefSection,name:Undefined in ini file(")));
    EXPECT_TRUE(log.Contains(QStringLiteral("No string(section:Log,name:OpenError in ini file(")));
}

TEST_F(LangLookup, SymbolsChooseLanguages)
{
    TLang lang(ResPath());
    TLogProbe beforeAnyLanguage;
    EXPECT_EQ(lang.GetString(QStringLiteral("Twice")), QStringLiteral(" Unknown String "));
    EXPECT_TRUE(beforeAnyLanguage.Contains(QStringLiteral("No string(section:DefSection,name:Twice")));

    lang.ChangeLangSym(QStringLiteral("PL"));
    EXPECT_EQ(lang.LangIndex, 1);
    EXPECT_EQ(lang.LangSymbol, QStringLiteral("pl"));
    EXPECT_EQ(lang.LangNames, QStringList({QStringLiteral("English"), QStringLiteral("Polski")}));
    EXPECT_EQ(lang.GetSectionString(QStringLiteral("MessSureExit?"), QStringLiteral("MainForm")),
              QStringLiteral("Wyjść?"));

    TLogProbe unknown;
    lang.ChangeLangSym(QStringLiteral("xx"));
    EXPECT_EQ(lang.LangSymbol, QStringLiteral("en"));
    EXPECT_TRUE(unknown.Contains(QStringLiteral("[ChangeLangSym]unknown lang. symbol:xx")));

    TLogProbe empty;
    TLang fresh(ResPath());
    fresh.ChangeLangSym(QString());
    EXPECT_EQ(fresh.LangSymbol, QStringLiteral("en"));
    EXPECT_TRUE(empty.Contains(QStringLiteral("[ChangeLangSym]unknown lang. symbol:")));
}

TEST_F(LangLookup, MissingLanguageFileAnswersUnknown)
{
    WriteFile(QStringLiteral("lang.lng"), QStringLiteral("[languages]\nde=Deutsch\n"));
    TLang lang(ResPath());
    TMessageRecorder boxes;
    lang.ChangeLangSym(QStringLiteral("de"));
    TLogProbe log;
    EXPECT_EQ(lang.GetString(QStringLiteral("Twice")), QStringLiteral(" Unknown String "));
    EXPECT_TRUE(log.Contains(QStringLiteral("in ini file(") + ResPath() + QStringLiteral("/de.lng)")));
    ASSERT_EQ(boxes.requests.size(), 1);
    EXPECT_TRUE(boxes.requests[0].text.contains(QStringLiteral("de.lng")));
    EXPECT_TRUE(boxes.requests[0].text.contains(ResPath()));
}

TEST_F(LangLookup, NoLanguageListStillAnswers)
{
    WriteFile(QStringLiteral("lang.lng"), QStringLiteral("; nothing here\n[other]\nen=English\n"));
    TLang lang(ResPath());
    TLogProbe log;
    TMessageRecorder boxes;
    lang.ChangeLangSym(QStringLiteral("en"));
    lang.ChangeLangSym(QStringLiteral("pl"));
    // Told once, in English, naming the folder searched.
    ASSERT_EQ(boxes.requests.size(), 1);
    EXPECT_TRUE(boxes.requests[0].text.contains(
        QStringLiteral("lang.lng is missing or empty in the folder\n") + ResPath()));
    EXPECT_EQ(lang.LangIndex, -1);
    EXPECT_TRUE(
        log.Contains(QStringLiteral("Lang ini file(") + ResPath() + QStringLiteral("/lang.lng) is empty")));
    EXPECT_EQ(lang.GetString(QStringLiteral("Twice")), QStringLiteral(" Unknown String "));

    // The list is read again while it has yielded nothing.
    WriteFile(QStringLiteral("lang.lng"), QStringLiteral("[languages]\nen=English\n"));
    lang.ChangeLangSym(QStringLiteral("en"));
    EXPECT_EQ(lang.GetString(QStringLiteral("Twice")), QStringLiteral("first"));
}
