// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Qt 6.4's string hashing leaves the upper halves of the AVX registers in use. Until
// something clears them, every plain SSE instruction after it, all of libm and our own
// floating-point code among them, runs many times slower. Number-heavy work clears them
// first.
class TVectorState
{
public:
    static void Clear();
};
