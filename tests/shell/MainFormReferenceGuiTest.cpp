// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainFormFixture.h"

#include "charts/Palette.h"
#include "data/ReferenceForm.h"
#include "widgets/LabeledEdit.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace {

const QByteArray kJan = "@name Jan\n1000 30 40  10 15\n4000 60 70  10 10\n";
const QByteArray kAnna = "@name Anna\n1000 20 30  10 10\n";

// Runs the action in the reference dialog once it is open, or records that it never opened.
void WhenReferenceFormOpens(std::function<void(TReferenceForm&)> action, bool& opened)
{
    opened = false;
    QTimer::singleShot(0, ReferenceForm, [action, &opened] {
        opened = ReferenceForm->isVisible();
        if (opened)
            action(*ReferenceForm);
    });
}

} // namespace

TEST_F(MainFormTest, ReferenceCommandsExplainWhatTheyLack)
{
    struct SCase
    {
        const char* what;
        const char* item;
        bool measurementLoaded;
        bool referenceHasRows;
        const char* textKey;
        const char* captionKey;
    };
    const SCase cases[] = {
        {"create without a measurement", "RefOptions", false, true, "MessNoData", "MessCreateRef"},
        {"change with an empty reference", "RefChange", true, false, "MessNoRef", "MessChangeRef"},
        {"change without a measurement", "RefChange", false, true, "MessNoData", "MessCreateRef"},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        Click("ToolButtonCloseAll");
        filesToOpen = {folder.Write(QStringLiteral("jan.aud"), kJan)};
        if (c.measurementLoaded)
            Click("ToolButtonOpen");
        DataEngine->reference.points.clear();
        if (c.referenceHasRows)
            DataEngine->reference.points = {{1000, 5, 5, 5, 5}};
        TScriptedAnswers answers({QMessageBox::Ok});
        bool opened = false;
        WhenReferenceFormOpens([](TReferenceForm& dialog) { dialog.reject(); }, opened);
        Find<QAction>(c.item)->trigger();
        QTest::qWait(0);
        EXPECT_FALSE(opened);
        ASSERT_EQ(answers.requests.size(), 1);
        EXPECT_EQ(answers.requests[0].text, gLang.GetString(QString::fromLatin1(c.textKey), form));
        EXPECT_EQ(answers.requests[0].caption, gLang.GetString(QString::fromLatin1(c.captionKey), form));
        EXPECT_EQ(answers.requests[0].icon, QMessageBox::Information);
        EXPECT_FALSE(DataEngine->IsModified());
    }
}

// What a new user does: build a reference from two measurements, then apply it.
TEST_F(MainFormTest, ABuiltReferenceMovesTheChartsOnlyOnceItIsApplied)
{
    filesToOpen = {folder.Write(QStringLiteral("jan.aud"), kJan),
                   folder.Write(QStringLiteral("anna.aud"), kAnna)};
    Click("ToolButtonOpen");
    bool opened = false;
    WhenReferenceFormOpens(
        [](TReferenceForm& dialog) {
            QTest::keyClicks(dialog.findChild<TLabeledEdit*>(QStringLiteral("HeadPhoneNameEdit"))->Edit(),
                             QStringLiteral("HD"));
            dialog.findChild<TLabeledEdit*>(QStringLiteral("FileNameEdit"))
                ->SetText(QStringLiteral("phones"));
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("OkButton")), Qt::LeftButton);
        },
        opened);
    Find<QAction>("RefOptions")->trigger();
    EXPECT_TRUE(opened);
    EXPECT_TRUE(QFileInfo::exists(folder.Path(QStringLiteral("phones.aur"))));
    EXPECT_FALSE(DataEngine->IsModified());
    EXPECT_EQ(ShownAt("LeftImage", *DataEngine->leftGraph, 1000, 20), Palette(0));

    Find<QAction>("RefChange")->trigger();
    EXPECT_EQ(ShownAt("LeftImage", *DataEngine->leftGraph, 1000, 10), Palette(0));
    EXPECT_EQ(ShownAt("RightImage", *DataEngine->rightGraph, 1000, 0), Palette(1));
    TScriptedAnswers answers({QMessageBox::Yes, QMessageBox::No});
    Find<QAction>("Exit")->trigger();
    ASSERT_EQ(answers.requests.size(), 2);
    EXPECT_EQ(answers.requests[1].caption, gLang.GetString(QStringLiteral("MessSave"), form));
}
