#include "platform/core/configdir.h"

#include <cstdlib>

std::filesystem::path ConfigDirectory() {
    namespace fs = std::filesystem;
    fs::path base;
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && fs::path(x).is_absolute()) {
        base = x;
    } else if (const char* h = std::getenv("HOME"); h && fs::path(h).is_absolute()) {
        base = fs::path(h) / ".config";
    } else {
        base = fs::temp_directory_path();
    }
    return base / "moltren";
}
