// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Unit tests play through the real ALSA path into ALSA's null device, so that they neither
// sound nor touch anybody's mixer: an ALSA configuration of their own, with no control device,
// is put in place before the process first opens ALSA.

#include "platform/AppPaths.h"

#include <QFile>

#include <gtest/gtest.h>

inline void UseNullAlsaDevice()
{
    const QString path = TAppPaths::ProgramFolder() + QStringLiteral("/alsa-null.conf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("pcm.!default {\n"
               "    type null\n"
               "    hint { show on description \"Kelvarion unit tests: plays nothing\" }\n"
               "}\n");
    file.close();
    qputenv("ALSA_CONFIG_PATH", QFile::encodeName(path));
}
