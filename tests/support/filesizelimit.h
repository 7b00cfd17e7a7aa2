#pragma once
// Test helper: while it lives, no file of this process grows beyond the given
// size; a write past it fails as on a full disk.

#include <cstdint>

class FileSizeLimit {
public:
    explicit FileSizeLimit(std::uint64_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    std::uint64_t previousCur_ = 0;
    std::uint64_t previousMax_ = 0;
    void (*previousHandler_)(int) = nullptr;
};
