#pragma once
// A pseudo-terminal pair for tests: the test plays the far end on the master
// and hands the slave's path to the code under test. Tests open nothing else.

#include <chrono>
#include <string>
#include <string_view>

namespace testsupport {

class PtyPair {
public:
    PtyPair();
    ~PtyPair() { CloseMaster(); }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& SlavePath() const { return slave_; }
    std::u16string SlavePathW() const { return std::u16string(slave_.begin(), slave_.end()); }
    int Master() const { return master_; }

    // Writes everything, waiting (bounded) while the terminal is full.
    bool Write(std::string_view bytes, std::chrono::milliseconds bound = std::chrono::seconds(2));
    // Writes what fits within the bound and says how much went out, so a caller that
    // retries never sends a byte twice.
    std::size_t WriteSome(std::string_view bytes, std::chrono::milliseconds bound);
    // Reads until `count` bytes came or the bound passed.
    std::string Read(std::size_t count, std::chrono::milliseconds bound = std::chrono::seconds(2));
    void CloseMaster();

private:
    int master_ = -1;
    std::string slave_;
};

} // namespace testsupport
