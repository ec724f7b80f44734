// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SystemVersion.h"

#include <QFile>
#include <QRegularExpression>

#include <sys/utsname.h>

namespace {

QString DistributionName()
{
    QFile file(QStringLiteral("/etc/os-release"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("Linux");
    QString name;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        QString value = line.mid(equals + 1);
        if (value.size() >= 2 && (value.startsWith(QLatin1Char('"')) || value.startsWith(QLatin1Char('\''))))
            value = value.mid(1, value.size() - 2);
        const QString key = line.left(equals);
        if (key == QLatin1String("PRETTY_NAME"))
            return value;
        if (key == QLatin1String("NAME"))
            name = value;
    }
    return name.isEmpty() ? QStringLiteral("Linux") : name;
}

} // namespace

SVersionRecord TSystemVersion::Read()
{
    SVersionRecord record;
    utsname names{};
    if (uname(&names) != 0)
        return record;
    record.basicAvailable = true;
    record.extendedAvailable = true;
    record.platformId = SVersionRecord::PlatformLinux;
    record.servicePack = QString::fromLocal8Bit(names.release);
    // "6.1.0-18-amd64": major, minor and the patch level as the build.
    const QStringList numbers = record.servicePack.split(QRegularExpression(QStringLiteral("[^0-9]+")));
    record.major = numbers.value(0).toUInt();
    record.minor = numbers.value(1).toUInt();
    record.build = numbers.value(2).toUInt();
    const QString machine = QString::fromLocal8Bit(names.machine);
    if (machine == QLatin1String("x86_64"))
        record.architecture = SVersionRecord::ArchX64;
    else if (machine == QLatin1String("ia64"))
        record.architecture = SVersionRecord::ArchItanium;
    else if (!machine.startsWith(QLatin1Char('i')))
        record.architecture = SVersionRecord::ArchOther;
    record.productType = SVersionRecord::Workstation;
    record.distribution = DistributionName();
    return record;
}
