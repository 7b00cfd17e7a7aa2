#pragma once
// Test helper: a small file system of its own (a tmpfs), so that a test can fill it up or make it
// read-only as a real disk would be. Mounting needs root; without it Mounted() is false and the
// test skips with Why().

#include <cstdint>
#include <filesystem>
#include <string>

class SmallDisk {
public:
    explicit SmallDisk(std::uint64_t bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return mounted_; }
    const std::string& Why() const { return why_; }
    // Fills the disk with one file until at most `left` bytes remain free.
    void Fill(std::uint64_t left);
    // From now on nothing can be written to it.
    void MakeReadOnly();

    std::filesystem::path path;

private:
    std::string options_;
    std::string why_;
    bool mounted_ = false;
};
