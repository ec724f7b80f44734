// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <QList>

// Answers every message box with one answer and keeps the requests; on destruction unexpected
// boxes fail the test again.
class TMessageRecorder
{
public:
    explicit TMessageRecorder(QMessageBox::StandardButton answer = QMessageBox::Ok)
    {
        TMessageBox::SetHandler([this, answer](const SMessageRequest& request) {
            requests.append(request);
            return answer;
        });
    }
    ~TMessageRecorder()
    {
        TMessageBox::SetHandler([](const SMessageRequest& request) {
            ADD_FAILURE() << "unexpected message box: " << request.text.toStdString();
            return QMessageBox::Ok;
        });
    }
    TMessageRecorder(const TMessageRecorder&) = delete;
    TMessageRecorder& operator=(const TMessageRecorder&) = delete;

    QStringList Texts() const
    {
        QStringList texts;
        for (const SMessageRequest& request : requests)
            texts.append(request.text);
        return texts;
    }

    QList<SMessageRequest> requests;
};
