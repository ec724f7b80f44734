// SPDX-License-Identifier: GPL-3.0-or-later
// Frequency lists as typed, pasted or read from the settings: an accepted list is never empty
// and holds only frequencies a test can play.
#include "FuzzSupport.h"

#include "settings/Options.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzSetUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QVector<float> list;
    const bool accepted =
        gOptions.ParseFreqList(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)), list);
    FUZZ_CHECK(!list.isEmpty());
    if (!accepted)
        return 0;
    for (const float frequency : list)
        FUZZ_CHECK(frequency >= 20.0f && frequency <= 20000.0f);
    return 0;
}
