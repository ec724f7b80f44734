// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file's INI module: any text is read, and a key written reads back, also after
// the document went through its text.
#include "FuzzSupport.h"

#include "platform/IniFile.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzSetUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TIniFile ini;
    ini.SetText(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QString section = QStringLiteral("Settings");
    for (const QString& key : ini.ReadKeys(section))
        ini.ReadString(section, key, QString());
    const QString value = QStringLiteral("7,5 ü");
    ini.WriteString(section, QStringLiteral("Minimum Level"), value);
    FUZZ_CHECK(ini.ReadString(section, QStringLiteral("minimum level"), QString()) == value);
    TIniFile reread;
    reread.SetText(ini.Text());
    FUZZ_CHECK(reread.ReadString(section, QStringLiteral("Minimum Level"), QString()) == value);
    return 0;
}
