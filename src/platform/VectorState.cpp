// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/VectorState.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

namespace {

__attribute__((target("avx"))) void ZeroUpper()
{
    _mm256_zeroupper();
}

} // namespace

void TVectorState::Clear()
{
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx)
        ZeroUpper();
}
#else
void TVectorState::Clear()
{
}
#endif
