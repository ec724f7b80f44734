// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>

#include <sys/mount.h>

// A small file system of its own mounted over a folder, where the machine lets us mount one:
// a disk that fills, or one that turns read-only. The folder is the working folder again after.
class TSmallDisk
{
public:
    TSmallDisk(const QString& folder, const char* options)
        : m_folder(folder.toLocal8Bit()), m_options(options)
    {
        m_mounted = mount("kelvarion-test", m_folder.constData(), "tmpfs", 0, m_options) == 0;
        // The folder's name now leads to the new file system; the working folder still lies below it.
        if (m_mounted)
            QDir::setCurrent(folder);
    }
    ~TSmallDisk()
    {
        if (!m_mounted)
            return;
        umount2(m_folder.constData(), MNT_DETACH);
        QDir::setCurrent(QString::fromLocal8Bit(m_folder));
    }
    TSmallDisk(const TSmallDisk&) = delete;
    TSmallDisk& operator=(const TSmallDisk&) = delete;

    bool Mounted() const { return m_mounted; }
    bool MakeReadOnly() const
    {
        return mount("kelvarion-test", m_folder.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, m_options) == 0;
    }

private:
    QByteArray m_folder;
    const char* m_options;
    bool m_mounted = false;
};
