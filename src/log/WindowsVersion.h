// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/SystemVersion.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

// Reads a registry value; answers nothing when the key or the value cannot be read. With an
// empty value name it only tells whether the key opens.
using TRegistryLookup = std::function<std::optional<QString>(const QString& key, const QString& valueName)>;

struct SWindowsDescription
{
    QString text;
    int8_t winVersion = 11;
};

// The readable description of a system and its classification code; 9 or more means
// Windows Vista or later, which every Linux system counts as.
SWindowsDescription DescribeWindowsVersion(const SVersionRecord& record, const TRegistryLookup& registry);
