// The user's language from the process's locale settings.
#include "platform/win32/winnls.h"

#include <cstdlib>
#include <string_view>

LANGID GetUserDefaultLangID() {
    constexpr WORD kSublangDefault = 0x0400;
    std::string_view locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(name);
        if (v && *v) {
            locale = v;
            break;
        }
    }
    const std::string_view language = locale.substr(0, locale.find_first_of("_.@"));
    if (language == "ja") return LANG_JAPANESE | kSublangDefault;
    if (language == "ru") return LANG_RUSSIAN | kSublangDefault;
    return LANG_ENGLISH | kSublangDefault;
}
