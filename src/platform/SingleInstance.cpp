// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>

TSingleInstance::TSingleInstance(const QString& settingsFolder)
{
    if (settingsFolder.isEmpty())
        return;
    const QString folder = QFileInfo(LockPath(settingsFolder)).path();
    // Local socket names are global to the machine: each settings folder has its own.
    m_serverName =
        QStringLiteral("kelvarion-") +
        QString::fromLatin1(
            QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha256).toHex().left(24));
    m_lock.emplace(LockPath(folder));
    // A running program keeps its lock however old; only a dead one's is taken over.
    m_lock->setStaleLockTime(0);
    m_first = m_lock->tryLock(0);
    if (!m_first)
        return;
    // A killed run leaves its socket behind, which would refuse the name.
    QLocalServer::removeServer(m_serverName);
    if (!m_server.listen(m_serverName))
        m_failure = QStringLiteral("[SingleInstance] cannot listen: ") + m_server.errorString();
    connect(&m_server, &QLocalServer::newConnection, this, &TSingleInstance::Receive);
}

QString TSingleInstance::LockPath(const QString& settingsFolder)
{
    return QDir::cleanPath(QDir(settingsFolder).absolutePath()) + QStringLiteral("/kelvarion.lock");
}

bool TSingleInstance::HeldElsewhere(const QString& settingsFolder)
{
    if (settingsFolder.isEmpty())
        return false;
    QLockFile probe(LockPath(settingsFolder));
    probe.setStaleLockTime(0);
    if (probe.tryLock(0)) {
        probe.unlock();
        return false;
    }
    return probe.error() == QLockFile::LockFailedError;
}

void TSingleInstance::Receive()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            const QString text = QString::fromUtf8(socket->readAll());
            socket->deleteLater();
            emit filesHandedOver(text.split(QLatin1Char('\n'), Qt::SkipEmptyParts));
        });
    }
}

bool TSingleInstance::HandOver(const QStringList& files, int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    // The running program may still be starting, before it listens.
    for (;;) {
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(int(deadline.remainingTime())))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
    const QByteArray text = files.join(QLatin1Char('\n')).toUtf8();
    socket.write(text);
    if (!text.isEmpty() && !socket.waitForBytesWritten(int(deadline.remainingTime())))
        return false;
    socket.disconnectFromServer();
    return socket.state() == QLocalSocket::UnconnectedState ||
           socket.waitForDisconnected(int(deadline.remainingTime()));
}
