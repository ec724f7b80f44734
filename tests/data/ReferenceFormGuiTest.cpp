// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataEngineFixture.h"

#include "data/ReferenceForm.h"
#include "lang/Lang.h"
#include "platform/Clock.h"
#include "support/LogProbe.h"
#include "support/MessageRecorder.h"
#include "widgets/LabeledEdit.h"
#include "widgets/RadioGroup.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// 14:07 on 15 May 2010.
const QDateTime kOpened(QDate(2010, 5, 15), QTime(14, 7, 42));
const QByteArray kOldReference = "@name old\n1000 1 1 1 1\n";

class ReferenceFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gLang.ChangeLangSym(QStringLiteral("en"));
        SData* record = store.engine.NewData();
        store.engine.AddPoint(record, {1000, 20, 30, 10, 10});
        store.engine.AddPoint(record, {2000, 40, 50, 10, 10});
        record = store.engine.NewData();
        store.engine.AddPoint(record, {1000, 30, 40, 10, 10});
        store.engine.reference.points = {{1000, 1, 1, 1, 1}};
    }

    template <typename T> T* Find(const char* name) const
    {
        auto* found = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void Type(const char* editName, const QString& text) const
    {
        QTest::keyClicks(Find<TLabeledEdit>(editName)->Edit(), text);
    }

    void Click(const char* buttonName) const
    {
        QTest::mouseClick(Find<QPushButton>(buttonName), Qt::LeftButton);
    }

    QString ProposedName() const { return Find<TLabeledEdit>("FileNameEdit")->Text(); }

    TDataFolder folder;
    SDataStore store;
    TScopedValue<TDataEngine*> engine{DataEngine, &store.engine};
    TScopedValue<QDateTime> clock{TClock::Fixed, kOpened};
    TReferenceForm form;
};

QString Caption(const QWidget* control)
{
    if (const auto* group = qobject_cast<const QGroupBox*>(control))
        return group->title();
    return control->property("text").toString();
}

QVector<SDataPoint> ReadBack(const QString& path, QString& name)
{
    SDataStore reader;
    reader.engine.LoadReference(path);
    name = reader.engine.reference.name;
    return reader.engine.reference.points;
}

} // namespace

TEST_F(ReferenceFormTest, OkSavesTheReferenceUnderTheProposedName)
{
    form.show();
    EXPECT_EQ(ProposedName(), QStringLiteral(" 20100515_1407"));
    EXPECT_EQ(Find<TRadioGroup>("AlgorithmRadioGroup")->ItemIndex(), TDataEngine::MinimumLevels);
    Type("FileNameEdit", QStringLiteral("x"));
    Type("HeadPhoneNameEdit", QStringLiteral("HD"));
    EXPECT_EQ(ProposedName(), QStringLiteral("HD 20100515_1407"));
    Click("OkButton");

    EXPECT_FALSE(form.isVisible());
    const QVector<SDataPoint> built = {{1000, 20, 30, 20, 30}, {2000, 40, 50, 40, 50}};
    EXPECT_EQ(store.engine.reference.points, built);
    QString name;
    EXPECT_EQ(ReadBack(folder.Path(QStringLiteral("HD 20100515_1407.aur")), name), built);
    EXPECT_EQ(name, QStringLiteral("HD"));
    EXPECT_EQ(store.engine.datas[0]->points[0].leftRef, 10.0f);
}

TEST_F(ReferenceFormTest, CancelChangesNothing)
{
    const SData before = store.engine.reference;
    form.show();
    Type("HeadPhoneNameEdit", QStringLiteral("HD"));
    QTest::mouseClick(Find<TRadioGroup>("AlgorithmRadioGroup")->findChildren<QAbstractButton*>().at(1),
                      Qt::LeftButton);
    Click("CancelButton");
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(store.engine.reference.points, before.points);
    EXPECT_EQ(store.engine.reference.name, before.name);
    EXPECT_EQ(store.engine.reference.fileName, before.fileName);
    EXPECT_TRUE(QDir(folder.Path(QString())).entryList(QDir::Files).isEmpty());

    // The next opening proposes a name of its own time.
    const TScopedValue later(TClock::Fixed, kOpened.addDays(1));
    form.show();
    EXPECT_EQ(ProposedName(), QStringLiteral("HD 20100516_1407"));
}

// The new reference is in use although its file could not be written; no file changes.
TEST_F(ReferenceFormTest, AReferenceThatCannotBeSavedStaysInUse)
{
    struct SCase
    {
        const char* what;
        const char* fileName;
        QMessageBox::StandardButton answer;
        const char* messageKey;
    };
    const SCase cases[] = {
        {"below a regular file", "plain/HD", QMessageBox::Ok, "MessDataFileOpenError"},
        {"overwrite declined", "HD 20100515_1407", QMessageBox::No, "MessDataFileName"},
    };
    folder.Write(QStringLiteral("plain"), "not a folder\n");
    folder.Write(QStringLiteral("HD 20100515_1407.aur"), kOldReference);
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        store.engine.reference.points = {{1000, 1, 1, 1, 1}};
        form.show();
        Find<TLabeledEdit>("FileNameEdit")->SetText(QString::fromLatin1(c.fileName));
        TMessageRecorder messages(c.answer);
        Click("OkButton");
        ASSERT_EQ(messages.requests.size(), 1);
        EXPECT_TRUE(messages.requests[0].text.startsWith(gLang.GetString(QString::fromLatin1(c.messageKey))));
        EXPECT_TRUE(
            messages.requests[0].text.contains(QString::fromLatin1(c.fileName) + QStringLiteral(".aur")));
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(store.engine.reference.points.size(), 2);
        EXPECT_EQ(store.engine.ReferenceAt(2000).first, 40.0f);
        EXPECT_EQ(folder.Read(QStringLiteral("HD 20100515_1407.aur")), kOldReference);
        EXPECT_EQ(QDir(folder.Path(QString())).entryList(QDir::Files).size(), 2);
    }
}

// Every text has its key in both languages and fits its control.
TEST_F(ReferenceFormTest, EveryTextIsTranslatedAndFits)
{
    for (const char* symbol : {"pl", "en"}) {
        SCOPED_TRACE(symbol);
        gLang.ChangeLangSym(QString::fromLatin1(symbol));
        const TLogProbe log;
        TReferenceForm translated;
        translated.show();
        EXPECT_EQ(log.NewLines(), QStringList());
        for (const QWidget* control : translated.findChildren<QWidget*>()) {
            if (qobject_cast<const QLabel*>(control) || qobject_cast<const QAbstractButton*>(control) ||
                qobject_cast<const QGroupBox*>(control))
                EXPECT_EQ(control->sizeHint().boundedTo(control->size()), control->sizeHint())
                    << control->metaObject()->className() << ' ' << Caption(control).toStdString();
        }
    }
}
