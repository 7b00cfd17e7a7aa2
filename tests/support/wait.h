#pragma once
// Bounded waiting on a condition: tests never sleep a fixed time for an event.

#include <chrono>
#include <thread>

namespace testsupport {

// Polls `done` (after `pump`, which may run pending work) until it holds or
// the bound passes; returns its last value.
template <class Done, class Pump>
bool WaitUntil(Done done, Pump pump, std::chrono::milliseconds bound = std::chrono::seconds(3)) {
    const auto end = std::chrono::steady_clock::now() + bound;
    for (;;) {
        pump();
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

template <class Done>
bool WaitUntil(Done done, std::chrono::milliseconds bound = std::chrono::seconds(3)) {
    return WaitUntil(
        done, [] {}, bound);
}

} // namespace testsupport
