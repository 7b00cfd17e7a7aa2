#pragma once
// The user's language, as the system numbers languages.

#include "platform/win32/wintypes.h"

using LANGID = WORD;

enum : WORD { LANG_NEUTRAL = 0x00, LANG_ENGLISH = 0x09, LANG_JAPANESE = 0x11, LANG_RUSSIAN = 0x19 };

constexpr WORD PRIMARYLANGID(LANGID id) {
    return static_cast<WORD>(id & 0x3FF);
}

// From the locale the user runs under (LC_ALL, LC_MESSAGES, LANG): Japanese 0x0411, Russian
// 0x0419, English (also for "C", "POSIX" and anything unknown) 0x0409.
LANGID GetUserDefaultLangID();
