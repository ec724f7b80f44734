// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <exception>

// The class name of a caught error as the source code spells it ("std::runtime_error"),
// for messages that tell what went wrong.
class TExceptionName
{
public:
    static QString Of(const std::exception& error);
};
