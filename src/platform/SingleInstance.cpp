// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SingleInstance.h"

#include "platform/SystemError.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

// A plain local socket rather than Qt's network module, whose libraries (Kerberos, proxy
// lookup) would be loaded at every start for this one use.
namespace {

bool SocketAddress(const QString& path, sockaddr_un& address)
{
    const QByteArray name = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (size_t(name.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    return true;
}

QString LastErrorText()
{
    QString text;
    TSystemError::Describe(TSystemError::LastCode(), text);
    return text;
}

} // namespace

TSingleInstance::TSingleInstance(const QString& settingsFolder)
{
    if (settingsFolder.isEmpty())
        return;
    const QString folder = QFileInfo(LockPath(settingsFolder)).path();
    // Socket names are global to the machine: each settings folder has its own, in the user's own
    // runtime folder where there is one, so that no other user can take the name first.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    m_socketPath =
        (!runtime.isEmpty() && QFileInfo(runtime).isDir() ? runtime : QDir::tempPath()) +
        QStringLiteral("/kelvarion-") +
        QString::fromLatin1(
            QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha256).toHex().left(24));
    m_lock.emplace(LockPath(folder));
    // A running program keeps its lock however old; only a dead one's is taken over.
    m_lock->setStaleLockTime(0);
    m_first = m_lock->tryLock(0);
    if (m_first && !Listen())
        m_failure = QStringLiteral("[SingleInstance] cannot listen: ") + LastErrorText();
}

TSingleInstance::~TSingleInstance()
{
    // Each notifier goes before its descriptor is closed.
    for (auto& [descriptor, connection] : m_connections) {
        connection.readable.reset();
        ::close(descriptor);
    }
    m_accepting.reset();
    if (m_listener >= 0) {
        ::close(m_listener);
        ::unlink(QFile::encodeName(m_socketPath).constData());
    }
}

bool TSingleInstance::Listen()
{
    sockaddr_un address;
    if (!SocketAddress(m_socketPath, address)) {
        errno = ENAMETOOLONG;
        return false;
    }
    // A killed run leaves its socket behind, which would refuse the name.
    ::unlink(address.sun_path);
    m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_listener < 0)
        return false;
    if (::bind(m_listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listener, SOMAXCONN) != 0) {
        const int error = errno;
        ::close(m_listener);
        m_listener = -1;
        errno = error;
        return false;
    }
    m_accepting = std::make_unique<QSocketNotifier>(m_listener, QSocketNotifier::Read);
    connect(m_accepting.get(), &QSocketNotifier::activated, this, &TSingleInstance::Accept);
    return true;
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

void TSingleInstance::Accept()
{
    for (;;) {
        const int descriptor = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (descriptor < 0 && (errno == EINTR || errno == ECONNABORTED))
            continue;
        if (descriptor < 0) {
            // Out of descriptors, the waiting run would wake this again at once, and again: it is
            // let wait a second.
            if (errno != EAGAIN && errno != EWOULDBLOCK) {
                m_accepting->setEnabled(false);
                QTimer::singleShot(1000, this, [this] { m_accepting->setEnabled(true); });
            }
            return;
        }
        SConnection& connection = m_connections[descriptor];
        connection.readable = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
        connect(connection.readable.get(), &QSocketNotifier::activated, this,
                [this, descriptor] { Receive(descriptor); });
    }
}

void TSingleInstance::Receive(int descriptor)
{
    const auto found = m_connections.find(descriptor);
    if (found == m_connections.end())
        return;
    char buffer[4096];
    ssize_t count = 0;
    while ((count = ::read(descriptor, buffer, sizeof buffer)) > 0)
        found->second.text.append(buffer, count);
    if (count < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    // The other run has closed its end, or the connection broke. Only a list that came whole,
    // up to its closing zero, is opened: a cut one could end in half a file name.
    QByteArray text = found->second.text;
    // The notifier is in the middle of its signal: it goes once the signal is over.
    found->second.readable->setEnabled(false);
    found->second.readable.release()->deleteLater();
    m_connections.erase(found);
    ::close(descriptor);
    if (!text.endsWith('\0'))
        return;
    text.chop(1);
    emit filesHandedOver(QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts));
}

bool TSingleInstance::Send(const QByteArray& text, const QDeadlineTimer& deadline) const
{
    sockaddr_un address;
    if (!SocketAddress(m_socketPath, address))
        return false;
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (descriptor < 0)
        return false;
    const qint64 ms = std::max<qint64>(1, deadline.remainingTime());
    const timeval timeout{time_t(ms / 1000), suseconds_t(ms % 1000 * 1000)};
    ::setsockopt(descriptor, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    bool sent = ::connect(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    for (qsizetype done = 0; sent && done < text.size();) {
        const ssize_t count =
            ::send(descriptor, text.constData() + done, size_t(text.size() - done), MSG_NOSIGNAL);
        sent = count > 0 || (count < 0 && errno == EINTR);
        done += std::max<ssize_t>(count, 0);
    }
    ::close(descriptor);
    return sent;
}

bool TSingleInstance::HandOver(const QStringList& files, int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    // A file name holds no zero byte, so one ends the list.
    const QByteArray text = files.join(QLatin1Char('\n')).toUtf8() + '\0';
    // The running program may still be starting, before it listens.
    while (!Send(text, deadline)) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
    return true;
}
