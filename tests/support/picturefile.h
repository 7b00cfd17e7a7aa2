#pragma once
// Where a test saves a picture for a person to look at: $MOLTREN_PICTURE_DIR
// when it is set, else the test's temporary directory, never the sources.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace testsupport {

inline std::filesystem::path PictureFile(const std::string& name) {
    const char* dir = std::getenv("MOLTREN_PICTURE_DIR");
    return std::filesystem::path(dir ? dir : ::testing::TempDir()) / name;
}

} // namespace testsupport
