// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a Qt signal on the user-interface thread.
class TSignalWatcher : public QObject
{
    Q_OBJECT

public:
    explicit TSignalWatcher(QObject* parent = nullptr);
    ~TSignalWatcher() override;

    // A write past the file-size limit (ulimit -f) then fails with EFBIG, which the writers
    // report, instead of ending the process and every unsaved measurement with it.
    static bool IgnoreFileSizeSignal();

signals:
    void terminationRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};
