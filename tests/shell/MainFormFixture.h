#pragma once

#include "data/DataEngineFixture.h"

#include "charts/Graph.h"
#include "lang/Lang.h"
#include "platform/CommonDialogs.h"
#include "platform/MessageBox.h"
#include "platform/VolumeTool.h"
#include "shell/MainForm.h"
#include "shell/WindowSet.h"
#include "support/MessageRecorder.h"

#include <QAction>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

// Answers message boxes in turn from a list and keeps what they asked; a box beyond the
// list fails the test.
class TScriptedAnswers
{
public:
    explicit TScriptedAnswers(std::vector<QMessageBox::StandardButton> answers)
        : m_answers(std::move(answers))
    {
        TMessageBox::SetHandler([this](const SMessageRequest& request) {
            requests.append(request);
            if (m_next < m_answers.size())
                return m_answers[m_next++];
            ADD_FAILURE() << "unexpected message box: " << request.text.toStdString();
            return QMessageBox::Ok;
        });
    }

    QList<SMessageRequest> requests;

private:
    // Puts the failing handler back when the answers go.
    TMessageRecorder m_restore;
    std::vector<QMessageBox::StandardButton> m_answers;
    size_t m_next = 0;
};

// A real main window, shown offscreen and active, over a data folder of its own; the open
// and colour dialogs answer what the test says.
class MainFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ClearEndedProgram();
        gLang.ChangeLangSym(QStringLiteral("en"));
        TVolumeTool::SetProgram(QStringLiteral("kelvarion-test-no-volume-tool"));
        TCommonDialogs::SetOpenFilesHandler([this](const SOpenFilesRequest& request) {
            openRequests.append(request);
            return filesToOpen;
        });
        TCommonDialogs::SetColourHandler([this](const SColourRequest& request) {
            colourRequests.append(request);
            return colourToChoose;
        });
        OpenForm();
    }

    void OpenForm()
    {
        windows = std::make_unique<TWindowSet>();
        form = windows->Main();
        ShowActive(form);
    }

    // A confirmed Exit in an earlier test ends every event loop at its start, modal dialogs
    // among them, until the application's own loop has run once.
    static void ClearEndedProgram()
    {
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }

    static void ShowActive(QWidget* window)
    {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

    // A test just handed over, not yet saved: written as "anna.aud".
    static void RecordAnna()
    {
        DataEngine->AddMeasurement({1000.0f}, std::array<float, 200>{}, QString(), TDateTime(), TDateTime(),
                                   QStringLiteral("Nowak"), QStringLiteral("Anna"), QStringLiteral("anna"));
    }

    void CloseForm()
    {
        form = nullptr;
        windows.reset();
    }

    void TearDown() override
    {
        CloseForm();
        TCommonDialogs::SetOpenFilesHandler({});
        TCommonDialogs::SetColourHandler({});
        TCommonDialogs::SetPrintHandler({});
    }

    template <typename T> T* Find(const char* name) const
    {
        auto* found = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void Click(const char* buttonName) const
    {
        QTest::mouseClick(Find<QToolButton>(buttonName), Qt::LeftButton);
    }

    QImage Shown(const char* imageName) const { return Find<QLabel>(imageName)->pixmap().toImage(); }

    // The colour shown where the chart puts (frequency, level).
    QColor ShownAt(const char* imageName, const TGraph& graph, double frequency, double level) const
    {
        QPoint pixel;
        EXPECT_TRUE(graph.ToPixel(frequency, level, pixel));
        return QColor(Shown(imageName).pixel(pixel));
    }

    TDataFolder folder;
    std::unique_ptr<TWindowSet> windows;
    TMainForm* form = nullptr;
    QStringList filesToOpen;
    QList<SOpenFilesRequest> openRequests;
    QColor colourToChoose;
    QList<SColourRequest> colourRequests;
};
