#include "platform/VectorState.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

namespace {

__attribute__((target("avx"))) void ZeroUpper()
{
    _mm256_zeroupper();
}

const bool gHasAvx = __builtin_cpu_supports("avx");

} // namespace

void TVectorState::Clear()
{
    if (gHasAvx)
        ZeroUpper();
}
#else
void TVectorState::Clear()
{
}
#endif
