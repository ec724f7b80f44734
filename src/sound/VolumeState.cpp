// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/VolumeState.h"

#include "log/Log.h"
#include "platform/AppPaths.h"
#include "platform/ProcessInfo.h"
#include "sound/VolumeControl.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>

#include <optional>
#include <utility>

namespace {

int gHolders = 0;

const QLatin1String ProcessKey("process=");
const QLatin1String LeftKey("left=");
const QLatin1String RightKey("right=");

struct SLeftOver
{
    qint64 process = 0;
    std::optional<long> left;
    std::optional<long> right;
};

std::optional<SLeftOver> ReadLeftOver(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    SLeftOver found;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(ProcessKey))
            found.process = line.mid(ProcessKey.size()).toLongLong();
        for (const auto& [key, value] : {std::pair{LeftKey, &found.left}, {RightKey, &found.right}}) {
            bool read = false;
            const long number = line.startsWith(key) ? line.mid(key.size()).toLong(&read) : 0;
            if (read)
                *value = number;
        }
    }
    return found;
}

} // namespace

QString TVolumeState::FilePath()
{
    const QString& folder = TAppPaths::Folders().state;
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/kelvarion.volume");
}

void TVolumeState::Hold(const SRawVolume& master)
{
    if (gHolders++ > 0 || FilePath().isEmpty())
        return;
    // What this run could not give back earlier is still the user's volume.
    if (const auto earlier = ReadLeftOver(FilePath());
        earlier && earlier->process == QCoreApplication::applicationPid())
        return;
    QSaveFile file(FilePath());
    if (file.open(QIODevice::WriteOnly)) {
        QTextStream out(&file);
        out << ProcessKey << QCoreApplication::applicationPid() << '\n'
            << LeftKey << qint64(master.left) << '\n'
            << RightKey << qint64(master.right) << '\n';
        out.flush();
    }
    // Without the file only a crash goes unmended; the test itself can go on.
    if (!file.commit())
        LOG_AT(QStringLiteral("The volume state file %1 could not be written: %2")
                   .arg(file.fileName(), file.errorString()));
}

void TVolumeState::Release(bool givenBack)
{
    if (gHolders == 0 || --gHolders > 0)
        return;
    if (givenBack)
        QFile::remove(FilePath());
}

bool TVolumeState::RestoreLeftOver()
{
    const auto earlier = ReadLeftOver(FilePath());
    if (!earlier)
        return false;
    // Another instance in the middle of a test holds the volume; it gives it back itself.
    if (earlier->process > 0 && earlier->process != QCoreApplication::applicationPid() &&
        TProcessInfo::IsRunning(earlier->process))
        return false;
    bool restored = false;
    if (earlier->left && earlier->right) {
        const SRawVolume master{*earlier->left, *earlier->right};
        CVolumeControl mixer;
        restored = mixer.Open() && mixer.SetRawVolume(master, CVolumeControl::MasterLine);
        mixer.Close();
        const QString volume = QStringLiteral("%1/%2").arg(master.left).arg(master.right);
        LOG_AT(restored
                   ? QStringLiteral("The master volume %1 left by an earlier run was given back").arg(volume)
                   : QStringLiteral("The master volume %1 left by an earlier run could not be given back")
                         .arg(volume));
    }
    // Tried once only: a volume set back days later, on another device, would only surprise.
    QFile::remove(FilePath());
    return restored;
}
