#pragma once
// Test helper: a fresh directory under /tmp, removed with everything in it.

#include <cstdlib>
#include <filesystem>
#include <string>

class TempDir {
public:
    explicit TempDir(const std::string& prefix = "moltren-test") {
        std::string tmpl = "/tmp/" + prefix + "-XXXXXX";
        if (mkdtemp(tmpl.data()) != nullptr) path = tmpl;
    }
    ~TempDir() {
        std::error_code ec;
        if (!path.empty()) std::filesystem::remove_all(path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::filesystem::path path;
};
