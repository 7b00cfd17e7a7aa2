#pragma once
// Test helper: the reason the system gives for an error number, in the language of the locale the
// test runs under, as the program's messages carry it.

#include "platform/core/system.h"

#include <cerrno>
#include <system_error>

inline String ErrnoText(int Code) {
    return UTF8ToString(std::generic_category().message(Code));
}
