#pragma once
// The simulated device on a pseudo-terminal: a thread owns the master side,
// answers the frames that arrive on it and writes the replies paced as a
// serial line at the configured speed would deliver them. A program under
// test opens SlavePath() as its serial port.

#include "tools/device-sim/simcore.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace devsim {

struct DeviceStatus {
    std::size_t frames = 0; // frames received, to any device number
    int commands = 0;       // frames addressed to the simulated device
    std::uint64_t bytesSent = 0;
    bool idle = true; // no reply byte waiting to go out
};

class PtyDevice {
public:
    // Opens the pseudo-terminal and starts serving; throws std::system_error.
    PtyDevice(Device device, LineOptions line);
    ~PtyDevice();
    PtyDevice(const PtyDevice&) = delete;
    PtyDevice& operator=(const PtyDevice&) = delete;

    const std::string& SlavePath() const { return slavePath_; }

    DeviceStatus Status() const;
    std::vector<Frame> Frames() const;
    // Changes the device or the line while it runs (e.g. falls silent).
    void Change(const std::function<void(Device&, LineOptions&)>& change);
    // Waits until the condition holds, re-checking after every frame and
    // every write; false when the timeout passes first.
    bool WaitFor(const std::function<bool(const DeviceStatus&)>& condition,
                 std::chrono::milliseconds timeout);

private:
    void Run();
    DeviceStatus StatusLocked() const;

    int master_ = -1;
    int slave_ = -1; // held open so that the master never sees a hang-up between clients
    int wake_ = -1;
    std::string slavePath_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    Device device_;
    LineOptions line_;
    std::uint64_t bytesSent_ = 0;
    std::size_t queued_ = 0;
    bool stop_ = false;
    std::thread thread_;
};

} // namespace devsim
