// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/MainFormFixture.h"

#include "help/About.h"
#include "support/DesktopLinks.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

namespace {

const char* const kFixedLabels[] = {"_lblProduct", "_lblVersion", "_lblMail",
                                    "_lblWWW",     "_lblMaker",   "_lblLicence"};

QString TextOf(const TAbout& about, const char* label)
{
    const auto* found = about.findChild<QLabel*>(QString::fromLatin1(label));
    EXPECT_NE(found, nullptr) << label;
    return found ? found->text() : QString();
}

class AboutTest : public ::testing::Test
{
protected:
    void SetUp() override { gLang.ChangeLangSym(QStringLiteral("en")); }
    void TearDown() override { gLang.ChangeLangSym(QStringLiteral("en")); }
};

} // namespace

TEST_F(AboutTest, TheAddressLabelsKeepTheirTextInEveryLanguage)
{
    TAbout about;
    QStringList english;
    for (const char* label : kFixedLabels)
        english.append(TextOf(about, label));
    const QString englishCaption = about.windowTitle();

    gLang.ChangeLangSym(QStringLiteral("pl"));
    EXPECT_NE(about.windowTitle(), englishCaption) << "the box was translated";
    EXPECT_EQ(about.windowTitle(), gLang.GetSectionString(QStringLiteral("About"), QStringLiteral("About")));
    for (int i = 0; i < english.size(); ++i) {
        EXPECT_FALSE(english[i].isEmpty());
        EXPECT_EQ(TextOf(about, kFixedLabels[i]), english[i]) << kFixedLabels[i];
    }
}

TEST_F(AboutTest, TheAddressesGoToTheDesktop)
{
    gLang.ChangeLangSym(QStringLiteral("pl"));
    TAbout about;
    about.show();
    const QString product = TextOf(about, "_lblProduct");
    struct SCase
    {
        const char* label;
        Qt::Key key; // Qt::Key_unknown: clicked
        QUrl expected;
    };
    const QString mail = TextOf(about, "_lblMail");
    QUrl newMail(QStringLiteral("mailto:") + mail);
    newMail.setQuery(QStringLiteral("subject=") + product + QStringLiteral(" uwagi"));
    const SCase cases[] = {
        {"_lblMail", Qt::Key_unknown, newMail},
        {"_lblWWW", Qt::Key_unknown, QUrl(TextOf(about, "_lblWWW"))},
        {"_lblWWW", Qt::Key_Return, QUrl(TextOf(about, "_lblWWW"))},
        {"_lblMail", Qt::Key_Space, newMail},
        {"_lblLicence", Qt::Key_unknown, QUrl(QStringLiteral("https://www.gnu.org/licenses/gpl-3.0.html"))},
    };
    for (const SCase& row : cases) {
        SCOPED_TRACE(row.label);
        TDesktopLinks desktop;
        auto* label = about.findChild<QLabel*>(QString::fromLatin1(row.label));
        if (row.key == Qt::Key_unknown) {
            QTest::mouseClick(label, Qt::LeftButton);
        } else {
            label->setFocus();
            QTest::keyClick(label, row.key);
        }
        ASSERT_EQ(desktop.urls.size(), 1);
        EXPECT_EQ(desktop.urls.first(), row.expected);
    }
}

TEST_F(MainFormTest, AboutShowsTheBoxModallyAndDeletesItAfterwards)
{
    QString shownCaption;
    QTimer::singleShot(0, [&shownCaption] {
        auto* box = qobject_cast<TAbout*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->objectName(), QStringLiteral("About"));
        shownCaption = box->windowTitle();
        QTest::mouseClick(box->findChild<QPushButton*>(QStringLiteral("OkButton")), Qt::LeftButton);
    });
    Click("ToolButtonAbout");
    EXPECT_EQ(shownCaption, gLang.GetSectionString(QStringLiteral("About"), QStringLiteral("About")));
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<TAbout*>(window), nullptr);
}
