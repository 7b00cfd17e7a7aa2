#pragma once
// Where a test saves a picture for a person to look at: $MOLTREN_PICTURE_DIR when it is set,
// else the folder "pictures" where the test runs (under CTest, the build folder's), as the X
// tests keep their shots; never the sources, nor fixed names in the machine's shared
// temporary folder, where another user's run could neither overwrite nor remove them.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace testsupport {

inline std::filesystem::path PictureFile(const std::string& name) {
    const char* dir = std::getenv("MOLTREN_PICTURE_DIR");
    const std::filesystem::path folder = dir && *dir ? dir : "pictures";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder / name;
}

} // namespace testsupport
