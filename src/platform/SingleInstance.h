// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <optional>

class QDeadlineTimer;
class QSocketNotifier;

// One program per settings folder, so that two runs never write the settings, and the
// calibration in them, over each other. A later start hands the files named on its command
// line to the running program and ends.
class TSingleInstance : public QObject
{
    Q_OBJECT

public:
    // Takes the lock beside the settings; a lock left by a run that was killed is taken over.
    // Without a settings folder there is nothing to guard.
    explicit TSingleInstance(const QString& settingsFolder);
    ~TSingleInstance() override;
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    // Whether another run holds the folder; usable before the Qt application object exists.
    static bool HeldElsewhere(const QString& settingsFolder);

    // True when this run holds the folder, and then listens for later runs.
    bool IsFirst() const { return m_first; }
    // Sends the files to the running program; false when it cannot be reached in time.
    bool HandOver(const QStringList& files, int timeoutMs) const;
    // Why later runs cannot reach this one, for the log; empty when they can.
    const QString& Failure() const { return m_failure; }

signals:
    // A later run handed these files over (none when it named no files).
    void filesHandedOver(const QStringList& files);

private:
    // What a later run has sent so far, until it closes its end.
    struct SConnection
    {
        QByteArray text;
        std::unique_ptr<QSocketNotifier> readable;
    };

    static QString LockPath(const QString& settingsFolder);
    bool Listen();
    bool Send(const QByteArray& text, const QDeadlineTimer& deadline) const;
    void Accept();
    void Receive(int descriptor);

    QString m_socketPath;
    std::optional<QLockFile> m_lock;
    int m_listener = -1;
    std::unique_ptr<QSocketNotifier> m_accepting;
    std::map<int, SConnection> m_connections;
    bool m_first = true;
    QString m_failure;
};
