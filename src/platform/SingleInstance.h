// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

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
    static QString LockPath(const QString& settingsFolder);
    void Receive();

    QString m_serverName;
    std::optional<QLockFile> m_lock;
    QLocalServer m_server;
    bool m_first = true;
    QString m_failure;
};
