// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <utility>

// Gives a setting or other global another value for the test's lifetime, so a failing
// assertion cannot leave it changed for the tests after it.
template <typename T> class TScopedValue
{
public:
    TScopedValue(T& target, T value) : m_target(target), m_stored(std::exchange(target, std::move(value))) {}
    ~TScopedValue() { m_target = m_stored; }
    TScopedValue(const TScopedValue&) = delete;
    TScopedValue& operator=(const TScopedValue&) = delete;

private:
    T& m_target;
    T m_stored;
};
