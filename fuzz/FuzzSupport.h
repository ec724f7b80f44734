// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MessageBox.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <memory>

// What every harness needs once: a Qt application on the offscreen platform, message boxes
// answered without a screen, and a folder of its own as the current directory.
inline void FuzzSetUp(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: libFuzzer ends the process with exit(), and Qt's clean-up then would
    // run after the windows' own.
    new QApplication(*argc, *argv);
    static QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    TMessageBox::SetHandler([](const SMessageRequest&) { return QMessageBox::No; });
}

inline QString WriteInput(const QString& name, const uint8_t* data, size_t size)
{
    QFile file(QDir::current().filePath(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    return file.fileName();
}

// A property the input broke: libFuzzer keeps the input as a finding.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);              \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)
