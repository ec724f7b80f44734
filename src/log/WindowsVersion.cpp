// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/WindowsVersion.h"

namespace {

using R = SVersionRecord;

bool Is(const SVersionRecord& r, uint32_t major, uint32_t minor)
{
    return r.major == major && r.minor == minor;
}

void AppendProduct(const SVersionRecord& r, SWindowsDescription& d)
{
    if (Is(r, 6, 0)) {
        if (r.productType == R::Workstation) {
            d.text += QStringLiteral("Windows Vista ");
            d.winVersion = 9;
        } else {
            d.text += QStringLiteral("Windows Server \"Longhorn\" ");
            d.winVersion = 10;
        }
    } else if (Is(r, 5, 2)) {
        if (r.productType == R::Workstation && r.architecture == R::ArchX64) {
            d.text += QStringLiteral("Microsoft Windows XP Professional x64 Edition ");
            d.winVersion = 6;
        } else {
            d.text += QStringLiteral("Microsoft Windows Server 2003, ");
            d.winVersion = 8;
        }
    } else if (Is(r, 5, 1)) {
        d.text += QStringLiteral("Microsoft Windows XP ");
        d.winVersion = 6;
    } else if (Is(r, 5, 0)) {
        d.text += QStringLiteral("Microsoft Windows 2000");
        d.winVersion = 5;
    } else if (r.major <= 4) {
        d.text += QStringLiteral("Microsoft Windows NT ");
        d.winVersion = 2;
    }
}

QString ServerEdition(const SVersionRecord& r, SWindowsDescription& d)
{
    const bool datacenter = r.suiteMask & R::SuiteDatacenter;
    const bool enterprise = r.suiteMask & R::SuiteEnterprise;
    if (Is(r, 5, 2)) {
        if (r.architecture == R::ArchItanium) {
            if (datacenter)
                return QStringLiteral("Datacenter Edition for Itanium-based Systems");
            if (enterprise)
                return QStringLiteral("Enterprise Edition for Itanium-based Systems");
            return {};
        }
        if (r.architecture == R::ArchX64) {
            if (datacenter)
                return QStringLiteral("Datacenter x64 Edition ");
            return enterprise ? QStringLiteral("Enterprise x64 Edition ")
                              : QStringLiteral("Standard x64 Edition ");
        }
        if (datacenter)
            return QStringLiteral("Datacenter Edition ");
        if (enterprise)
            return QStringLiteral("Enterprise Edition ");
        return (r.suiteMask & R::SuiteBlade) ? QStringLiteral("Web Edition ")
                                             : QStringLiteral("Standard Edition ");
    }
    if (Is(r, 5, 0)) {
        if (datacenter)
            return QStringLiteral("Datacenter Server ");
        return enterprise ? QStringLiteral("Advanced Server ") : QStringLiteral("Server ");
    }
    // Only NT 4.0 servers: later servers keep the classification of their product row.
    if (r.major <= 4) {
        d.winVersion = 2;
        return enterprise ? QStringLiteral("Server 4.0, Enterprise Edition ") : QStringLiteral("Server 4.0 ");
    }
    return {};
}

// False when the product type cannot be read from the registry.
bool AppendEdition(const SVersionRecord& r, const TRegistryLookup& registry, SWindowsDescription& d)
{
    if (r.extendedAvailable) {
        if (r.productType == R::Workstation && r.architecture != R::ArchX64) {
            if (r.major == 4)
                d.text += QStringLiteral("Workstation 4.0 ");
            else if (r.suiteMask & R::SuitePersonal)
                d.text += QStringLiteral("Home Edition ");
            else
                d.text += QStringLiteral("Professional ");
        } else if (r.productType == R::Server || r.productType == R::DomainController) {
            d.text += ServerEdition(r, d);
        }
        return true;
    }
    const std::optional<QString> type = registry(
        QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\ProductOptions"), QStringLiteral("ProductType"));
    if (!type || type->size() > 80)
        return false;
    if (type->compare(QLatin1String("WINNT"), Qt::CaseInsensitive) == 0)
        d.text += QStringLiteral("Workstation ");
    else if (type->compare(QLatin1String("LANMANNT"), Qt::CaseInsensitive) == 0)
        d.text += QStringLiteral("Server ");
    else if (type->compare(QLatin1String("SERVERNT"), Qt::CaseInsensitive) == 0)
        d.text += QStringLiteral("Advanced Server ");
    d.text += QString::asprintf("%u.%u ", r.major, r.minor);
    return true;
}

void AppendServicePack(const SVersionRecord& r, const TRegistryLookup& registry, SWindowsDescription& d)
{
    const uint32_t build = r.build & 0xffff;
    if (r.major == 4 && r.servicePack.compare(QLatin1String("Service Pack 6"), Qt::CaseInsensitive) == 0 &&
        registry(QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009"),
                 QString())) {
        d.text += QStringLiteral("Service Pack 6a (Build %1);").arg(build);
        return;
    }
    d.text += QStringLiteral("%1 (Build %2);").arg(r.servicePack).arg(build);
}

void AppendWindows9x(const SVersionRecord& r, SWindowsDescription& d)
{
    const QChar second = r.servicePack.size() > 1 ? r.servicePack.at(1) : QChar();
    if (Is(r, 4, 0)) {
        d.text += QStringLiteral("Microsoft Windows 95 ");
        d.winVersion = 1;
        if (second == QLatin1Char('C') || second == QLatin1Char('B'))
            d.text += QStringLiteral("OSR2 ");
    } else if (Is(r, 4, 10)) {
        d.text += QStringLiteral("Microsoft Windows 98 ");
        d.winVersion = 3;
        if (second == QLatin1Char('A') || second == QLatin1Char('B'))
            d.text += QStringLiteral("SE ");
    } else if (Is(r, 4, 90)) {
        d.text += QStringLiteral("Microsoft Windows Millennium Edition;");
        d.winVersion = 4;
    }
}

} // namespace

SWindowsDescription DescribeWindowsVersion(const SVersionRecord& record, const TRegistryLookup& registry)
{
    SWindowsDescription d;
    if (!record.basicAvailable) {
        d.text = QStringLiteral("0");
        return d;
    }
    switch (record.platformId) {
    case R::PlatformNT:
        AppendProduct(record, d);
        if (!AppendEdition(record, registry, d))
            return {QStringLiteral("0"), 11};
        AppendServicePack(record, registry, d);
        break;
    case R::PlatformWindows:
        AppendWindows9x(record, d);
        break;
    case R::PlatformWin32s:
        d.text += QStringLiteral("Microsoft Win32s;");
        break;
    case R::PlatformLinux:
        d.text += QStringLiteral("%1 (Linux %2);").arg(record.distribution, record.servicePack);
        break;
    default:
        break;
    }
    d.text += QStringLiteral("winVersion=%1\n").arg(d.winVersion);
    return d;
}
