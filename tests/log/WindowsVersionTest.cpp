// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/WindowsVersion.h"

#include <gtest/gtest.h>

namespace {

using R = SVersionRecord;

SVersionRecord Record(uint32_t platform, uint32_t major, uint32_t minor, uint32_t build,
                      const char* servicePack, uint8_t productType = R::Workstation, uint16_t suite = 0,
                      uint16_t arch = R::ArchIntel, bool extended = true)
{
    SVersionRecord r;
    r.basicAvailable = true;
    r.extendedAvailable = extended;
    r.platformId = platform;
    r.major = major;
    r.minor = minor;
    r.build = build;
    r.servicePack = QString::fromLatin1(servicePack);
    r.productType = productType;
    r.suiteMask = suite;
    r.architecture = arch;
    return r;
}

// A registry holding a product type and, when asked, the NT 4.0 hotfix key.
TRegistryLookup Registry(std::optional<QString> productType, bool hotfix = false)
{
    return [=](const QString& key, const QString& value) -> std::optional<QString> {
        if (key.endsWith(QStringLiteral("ProductOptions")) && value == QStringLiteral("ProductType"))
            return productType;
        if (key.endsWith(QStringLiteral("Q246009")) && hotfix)
            return QString();
        return std::nullopt;
    };
}

struct SRow
{
    SVersionRecord record;
    TRegistryLookup registry;
    const char* text;
    int code;
};

} // namespace

TEST(WindowsVersion, ClassifiesEverySystemRow)
{
    const auto none = Registry(std::nullopt);
    const SRow rows[] = {
        {Record(R::PlatformNT, 5, 1, 2600, "Service Pack 3"), none,
         "Microsoft Windows XP Professional Service Pack 3 (Build 2600);winVersion=6\n", 6},
        {Record(R::PlatformNT, 5, 1, 2600, "Service Pack 2", R::Workstation, R::SuitePersonal), none,
         "Microsoft Windows XP Home Edition Service Pack 2 (Build 2600);winVersion=6\n", 6},
        {Record(R::PlatformNT, 6, 0, 6002, "Service Pack 2"), none,
         "Windows Vista Professional Service Pack 2 (Build 6002);winVersion=9\n", 9},
        {Record(R::PlatformNT, 6, 0, 6001, "", R::Server, R::SuiteEnterprise), none,
         "Windows Server \"Longhorn\"  (Build 6001);winVersion=10\n", 10},
        {Record(R::PlatformNT, 6, 1, 7601, "Service Pack 1"), none,
         "Professional Service Pack 1 (Build 7601);winVersion=11\n", 11},
        {Record(R::PlatformNT, 5, 2, 3790, "Service Pack 2", R::Workstation, 0, R::ArchX64), none,
         "Microsoft Windows XP Professional x64 Edition Service Pack 2 (Build 3790);winVersion=6\n", 6},
        {Record(R::PlatformNT, 5, 2, 3790, "", R::Server, R::SuiteDatacenter, R::ArchItanium), none,
         "Microsoft Windows Server 2003, Datacenter Edition for Itanium-based Systems (Build "
         "3790);winVersion=8\n",
         8},
        {Record(R::PlatformNT, 5, 2, 3790, "", R::Server, R::SuiteEnterprise, R::ArchX64), none,
         "Microsoft Windows Server 2003, Enterprise x64 Edition  (Build 3790);winVersion=8\n", 8},
        {Record(R::PlatformNT, 5, 2, 3790, "", R::DomainController, R::SuiteBlade), none,
         "Microsoft Windows Server 2003, Web Edition  (Build 3790);winVersion=8\n", 8},
        {Record(R::PlatformNT, 5, 2, 3790, "", R::Server), none,
         "Microsoft Windows Server 2003, Standard Edition  (Build 3790);winVersion=8\n", 8},
        {Record(R::PlatformNT, 5, 0, 2195, "Service Pack 4", R::Server, R::SuiteEnterprise), none,
         "Microsoft Windows 2000Advanced Server Service Pack 4 (Build 2195);winVersion=5\n", 5},
        {Record(R::PlatformNT, 4, 0, 1381, "Service Pack 5", R::Server, R::SuiteEnterprise), none,
         "Microsoft Windows NT Server 4.0, Enterprise Edition Service Pack 5 (Build 1381);winVersion=2\n", 2},
        {Record(R::PlatformNT, 4, 0, 1381, "Service Pack 6", R::Workstation), Registry(std::nullopt, true),
         "Microsoft Windows NT Workstation 4.0 Service Pack 6a (Build 1381);winVersion=2\n", 2},
        {Record(R::PlatformNT, 4, 0, 1381, "Service Pack 6", R::Workstation), none,
         "Microsoft Windows NT Workstation 4.0 Service Pack 6 (Build 1381);winVersion=2\n", 2},
        {Record(R::PlatformNT, 4, 0, 0x05650565, "Service Pack 3", 0, 0, R::ArchIntel, false),
         Registry(QStringLiteral("lanmannt")),
         "Microsoft Windows NT Server 4.0 Service Pack 3 (Build 1381);winVersion=2\n", 2},
        {Record(R::PlatformNT, 4, 0, 1381, "", 0, 0, R::ArchIntel, false), Registry(QStringLiteral("WINNT")),
         "Microsoft Windows NT Workstation 4.0  (Build 1381);winVersion=2\n", 2},
        {Record(R::PlatformNT, 4, 0, 1381, "", 0, 0, R::ArchIntel, false), none, "0", 11},
        {Record(R::PlatformNT, 4, 0, 1381, "", 0, 0, R::ArchIntel, false),
         Registry(QString(81, QLatin1Char('x'))), "0", 11},
        {Record(R::PlatformWindows, 4, 0, 950, " C"), none, "Microsoft Windows 95 OSR2 winVersion=1\n", 1},
        {Record(R::PlatformWindows, 4, 10, 2222, " A"), none, "Microsoft Windows 98 SE winVersion=3\n", 3},
        {Record(R::PlatformWindows, 4, 10, 1998, ""), none, "Microsoft Windows 98 winVersion=3\n", 3},
        {Record(R::PlatformWindows, 4, 90, 3000, ""), none,
         "Microsoft Windows Millennium Edition;winVersion=4\n", 4},
        {Record(R::PlatformWin32s, 1, 30, 0, ""), none, "Microsoft Win32s;winVersion=11\n", 11},
        {Record(7, 1, 0, 0, ""), none, "winVersion=11\n", 11},
    };
    for (const SRow& row : rows) {
        const SWindowsDescription d = DescribeWindowsVersion(row.record, row.registry);
        EXPECT_EQ(d.text.toStdString(), row.text);
        EXPECT_EQ(d.winVersion, row.code) << row.text;
    }
}

TEST(WindowsVersion, FailedQueryAndLinux)
{
    EXPECT_EQ(DescribeWindowsVersion(SVersionRecord{}, Registry(std::nullopt)).text, QStringLiteral("0"));

    SVersionRecord onLinux = Record(R::PlatformLinux, 6, 1, 0, "6.1.0-18-amd64");
    onLinux.distribution = QStringLiteral("Debian GNU/Linux 12 (bookworm)");
    const SWindowsDescription d = DescribeWindowsVersion(onLinux, Registry(std::nullopt));
    EXPECT_EQ(d.text,
              QStringLiteral("Debian GNU/Linux 12 (bookworm) (Linux 6.1.0-18-amd64);winVersion=11\n"));
    EXPECT_GE(d.winVersion, 9);
}

// Servers after NT 4.0 that no edition row names keep their product classification.
TEST(WindowsVersion, LaterServersAreNotTakenForNt4)
{
    const SWindowsDescription d = DescribeWindowsVersion(
        Record(R::PlatformNT, 6, 0, 6001, "Service Pack 1", R::Server), Registry(std::nullopt));
    EXPECT_EQ(d.winVersion, 10);
    EXPECT_FALSE(d.text.contains(QStringLiteral("4.0")));
}
