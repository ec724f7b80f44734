// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ExceptionName.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

QString TExceptionName::Of(const std::exception& error)
{
    const char* mangled = typeid(error).name();
    int status = 0;
    const std::unique_ptr<char, void (*)(void*)> readable(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
    return QString::fromLatin1(status == 0 && readable ? readable.get() : mangled);
}
