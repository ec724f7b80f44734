// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MessageBox.h"
#include "support/MessageRecorder.h"

#include <gtest/gtest.h>

#include <QList>

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
