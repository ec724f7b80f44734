// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SignalWatcher.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int gSignalSockets[2] = {-1, -1};

// Only async-signal-safe work here: one byte into the socket, read by the event loop.
void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(gSignalSockets[0], &byte, 1);
}

} // namespace

TSignalWatcher::TSignalWatcher(QObject* parent) : QObject(parent)
{
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, gSignalSockets) != 0)
        return;
    m_notifier = new QSocketNotifier(gSignalSockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte;
        [[maybe_unused]] const ssize_t got = read(gSignalSockets[1], &byte, 1);
        emit terminationRequested();
    });

    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool TSignalWatcher::IgnoreFileSizeSignal()
{
    return signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
}

TSignalWatcher::~TSignalWatcher()
{
    if (m_notifier == nullptr)
        return;
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    delete m_notifier;
    close(gSignalSockets[0]);
    close(gSignalSockets[1]);
    gSignalSockets[0] = gSignalSockets[1] = -1;
}
