// SPDX-License-Identifier: GPL-3.0-or-later
#include "LangFixture.h"

#include "support/LogProbe.h"
#include "widgets/LabeledEdit.h"
#include "widgets/RadioGroup.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace {

// A window with one component of every kind the translation knows.
struct SOptionsWindow
{
    SOptionsWindow()
    {
        window.setObjectName(QStringLiteral("OptionsForm"));
        window.setWindowTitle(QStringLiteral("Opcje"));
        auto* layout = new QVBoxLayout(&window);

        label = new QLabel(QStringLiteral("Poziom"), &window);
        label->setObjectName(QStringLiteral("Label1"));
        label->setToolTip(QStringLiteral("podpowiedź"));
        layout->addWidget(label);

        nameEdit = new QLineEdit(QStringLiteral("NameEdit"), &window);
        nameEdit->setObjectName(QStringLiteral("NameEdit"));
        levelEdit = new QLineEdit(QStringLiteral("12"), &window);
        levelEdit->setObjectName(QStringLiteral("LevelEdit"));

        group = new TRadioGroup(&window);
        group->setObjectName(QStringLiteral("FreqRadioGroup"));
        group->setTitle(QStringLiteral("Częstotliwości"));
        group->SetItems({QStringLiteral("5"), QStringLiteral("7"), QStringLiteral("9"), QStringLiteral("11"),
                         QStringLiteral("własna")});

        surname = new TLabeledEdit(&window);
        surname->setObjectName(QStringLiteral("SurnameLEdit"));
        surname->SetLabelText(QStringLiteral("Nazwisko"));

        web = new QLabel(QStringLiteral("www.example.org"), &window);
        web->setObjectName(QStringLiteral("_lblWWW"));
        web->setToolTip(QStringLiteral("strona"));

        toolButton = new QToolButton(&window);
        toolButton->setObjectName(QStringLiteral("ToolButtonNew"));
        toolButton->setToolTip(QStringLiteral("Nowy pomiar"));

        // Named components inside an unnamed container still belong to the window.
        auto* container = new QWidget(&window);
        button = new QPushButton(QStringLiteral("Tak"), container);
        button->setObjectName(QStringLiteral("OkButton"));

        // Components held by something that is no component are never reached.
        auto* timer = new QObject(&window);
        timer->setObjectName(QStringLiteral("Timer1"));
        hidden = new QAction(QStringLiteral("ukryta"), timer);
        hidden->setObjectName(QStringLiteral("Hidden"));

        menu = new QMenu(QStringLiteral("Język"), &window);
        menu->setObjectName(QStringLiteral("Lang"));
        runTime = new QAction(QStringLiteral("Polski"), menu);
        runTime->setObjectName(QStringLiteral("pl"));
        menu->addAction(runTime);
    }

    QWidget window;
    QLabel* label;
    QLineEdit* nameEdit;
    QLineEdit* levelEdit;
    TRadioGroup* group;
    TLabeledEdit* surname;
    QLabel* web;
    QToolButton* toolButton;
    QPushButton* button;
    QAction* hidden;
    QMenu* menu;
    QAction* runTime;
};

class Translation : public TLangFixture
{
protected:
    void SetUp() override
    {
        WriteFile(QStringLiteral("lang.lng"), QStringLiteral("[languages]\nen=English\nde=Deutsch\n"));
        WriteFile(QStringLiteral("en.lng"), QStringLiteral("[OptionsForm]\n"
                                                           "OptionsForm=Options\n"
                                                           "Label1=Level\n"
                                                           "Label1_hint=The level\\nin dB\n"
                                                           "NameEdit=never used\n"
                                                           "FreqRadioGroup=Frequencies\n"
                                                           "FreqRadioGroup_0=five\n"
                                                           "FreqRadioGroup_1=seven\n"
                                                           "FreqRadioGroup_2=nine\n"
                                                           "FreqRadioGroup_3=eleven\n"
                                                           "FreqRadioGroup_4=own\n"
                                                           "SurnameLEdit->Sub_0=Surname\n"
                                                           "_lblWWW=never used\n"
                                                           "_lblWWW_hint=web page\n"
                                                           "OkButton=Yes\n"
                                                           "Hidden=never used\n"
                                                           "Lang=Language\n"
                                                           "pl=Polish\n"));
        WriteFile(QStringLiteral("de.lng"),
                  QStringLiteral("[OptionsForm]\nOptionsForm=Optionen\nOkButton=Ja\n"));
    }
};

QStringList RadioTexts(const TRadioGroup* group)
{
    QStringList texts;
    for (const QRadioButton* button : group->findChildren<QRadioButton*>())
        texts.append(button->text());
    return texts;
}

} // namespace

TEST_F(Translation, EveryKindOfComponentIsKeyedByName)
{
    TLang lang(ResPath());
    lang.ChangeLangSym(QStringLiteral("en"));
    SOptionsWindow w;
    TLogProbe log;
    lang.AddForm(&w.window);

    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Options"));
    EXPECT_EQ(w.label->text(), QStringLiteral("Level"));
    // Hints and captions take the text as typed: no line break conversion.
    EXPECT_EQ(w.label->toolTip(), QStringLiteral("The level\\nin dB"));
    EXPECT_EQ(w.nameEdit->text(), QStringLiteral("NameEdit"));
    EXPECT_EQ(w.levelEdit->text(), QStringLiteral("12"));
    EXPECT_EQ(w.group->title(), QStringLiteral("Frequencies"));
    EXPECT_EQ(RadioTexts(w.group),
              QStringList({QStringLiteral("five"), QStringLiteral("seven"), QStringLiteral("nine"),
                           QStringLiteral("eleven"), QStringLiteral("own")}));
    EXPECT_EQ(w.surname->LabelText(), QStringLiteral("Surname"));
    EXPECT_EQ(w.web->text(), QStringLiteral("www.example.org"));
    EXPECT_EQ(w.web->toolTip(), QStringLiteral("web page"));
    EXPECT_EQ(w.toolButton->toolTip(), QStringLiteral("Nowy pomiar"));
    EXPECT_EQ(w.button->text(), QStringLiteral("Yes"));
    EXPECT_EQ(w.hidden->text(), QStringLiteral("ukryta"));
    EXPECT_EQ(w.menu->title(), QStringLiteral("Language"));
    EXPECT_EQ(w.runTime->text(), QStringLiteral("Polish"));

    const QStringList lines = log.NewLines();
    EXPECT_EQ(lines.size(), 2) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(log.Contains(
        QStringLiteral("Lang LandAllItems; unknown item caption name:LevelEdit in section:OptionsForm")));
    EXPECT_TRUE(log.Contains(QStringLiteral("No string(section:OptionsForm,name:ToolButtonNew in ini file(") +
                             ResPath() + QStringLiteral("/en.lng)")));
}

TEST_F(Translation, ChangingLanguageRetranslatesRegisteredWindowsOnce)
{
    TLang lang(ResPath());
    lang.ChangeLangSym(QStringLiteral("en"));
    SOptionsWindow w;
    lang.AddForm(&w.window);
    {
        // A window that is gone is passed over.
        SOptionsWindow gone;
        lang.AddForm(&gone.window);
    }

    lang.ChangeLangSym(QStringLiteral("de"));
    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Optionen"));
    EXPECT_EQ(w.button->text(), QStringLiteral("Ja"));
    // No key in this language: the text from before stays.
    EXPECT_EQ(w.label->text(), QStringLiteral("Level"));

    w.window.setWindowTitle(QStringLiteral("changed by code"));
    lang.ChangeLangSym(QStringLiteral("DE"));
    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("changed by code"));
}

TEST_F(Translation, NoLanguageChangesNothing)
{
    TLang lang(ResPath());
    SOptionsWindow w;
    TLogProbe log;
    lang.LandAllItems(&w.window, QString());
    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Opcje"));
    EXPECT_TRUE(log.Contains(QStringLiteral("Fatal error IniLang is null!!")));
}

// "Exit" set by English reads as its key; it is still translated into the next language,
// while an edit field that holds its designed name is still passed over.
TEST_F(Translation, ACaptionTheEngineSetIsTranslatedAgainThoughItReadsAsItsKey)
{
    WriteFile(QStringLiteral("en.lng"), QStringLiteral("[Window]\nExit=Exit\nNameEdit=never used\n"));
    WriteFile(QStringLiteral("de.lng"), QStringLiteral("[Window]\nExit=Beenden\nNameEdit=never used\n"));
    TLang lang(ResPath());
    lang.ChangeLangSym(QStringLiteral("en"));
    QWidget window;
    window.setObjectName(QStringLiteral("Window"));
    auto* exit = new QPushButton(QStringLiteral("Koniec"), &window);
    exit->setObjectName(QStringLiteral("Exit"));
    auto* name = new QLineEdit(QStringLiteral("NameEdit"), &window);
    name->setObjectName(QStringLiteral("NameEdit"));
    lang.AddForm(&window);
    for (const auto& [symbol, text] : {std::pair{"de", "Beenden"}, {"en", "Exit"}, {"de", "Beenden"}}) {
        lang.ChangeLangSym(QLatin1String(symbol));
        EXPECT_EQ(exit->text(), QLatin1String(text)) << symbol;
        EXPECT_EQ(name->text(), QStringLiteral("NameEdit")) << symbol;
    }
}
