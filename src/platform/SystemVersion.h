// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>

// The fields of Windows' extended version record that the log's classification reads,
// filled on Linux from uname(2) and /etc/os-release.
struct SVersionRecord
{
    enum : uint32_t
    {
        PlatformWin32s = 0,
        PlatformWindows = 1,
        PlatformNT = 2,
        PlatformLinux = 100
    };
    enum : uint8_t
    {
        Workstation = 1,
        DomainController = 2,
        Server = 3
    };
    enum : uint16_t
    {
        ArchIntel = 0,
        ArchItanium = 6,
        ArchX64 = 9,
        ArchOther = 0xffff
    };
    enum : uint16_t
    {
        SuiteEnterprise = 0x2,
        SuiteDatacenter = 0x80,
        SuitePersonal = 0x200,
        SuiteBlade = 0x400
    };

    bool basicAvailable = false;
    bool extendedAvailable = false;
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
    uint32_t platformId = 0;
    QString servicePack;
    uint16_t suiteMask = 0;
    uint8_t productType = 0;
    uint16_t architecture = ArchIntel;
    QString distribution;
};

class TSystemVersion
{
public:
    static SVersionRecord Read();
};
