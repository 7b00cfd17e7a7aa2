#pragma once
// A recording comm backend for tests. While it lives it serves every
// CreateFileW: it logs each comm call with its arguments, can fail any call
// with a chosen error, and lets the test set the modem lines and line errors,
// queue received bytes and complete the pending WaitCommEvent. Events and
// OVERLAPPED completion are the real ones.

#include "platform/win32/comm.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace win32 {

struct CommCall {
    explicit CommCall(std::string callName = {}) : name(std::move(callName)) {}
    std::string name;               // the Win32 function
    std::vector<std::int64_t> args; // its numeric arguments in order
    std::u16string path;            // CreateFileW
    DCB dcb{};                      // SetCommState
    COMMTIMEOUTS timeouts{};        // SetCommTimeouts
    std::string bytes;              // WriteFile, TransmitCommChar
};

class RecordingComm final : public CommBackend {
public:
    RecordingComm();           // installs itself
    ~RecordingComm() override; // puts the previous backend back
    RecordingComm(const RecordingComm&) = delete;
    RecordingComm& operator=(const RecordingComm&) = delete;

    std::shared_ptr<CommDevice> Open(std::u16string_view name, DWORD access, DWORD share, DWORD disposition,
                                     DWORD flags, DWORD& error) override;

    // Scripting.
    void FailNext(const std::string& call, DWORD error); // the next call of that name fails
    void SetModemStatus(DWORD msBits);
    void SetCommErrors(DWORD ceBits); // reported (once) by the next ClearCommError
    void QueueInput(std::string_view bytes);
    void HoldWrites(bool hold); // writes stay pending until released or purged
    // Waits (bounded) until a WaitCommEvent is pending, then completes it.
    bool CompleteWait(DWORD events, std::chrono::milliseconds bound = std::chrono::seconds(2));
    bool WaitPending(std::chrono::milliseconds bound = std::chrono::seconds(2));
    bool Receive(std::string_view bytes) { // bytes arrive: queued, then EV_RXCHAR
        QueueInput(bytes);
        return CompleteWait(EV_RXCHAR);
    }

    // The log.
    std::vector<CommCall> Calls() const;
    std::vector<std::string> Names() const;
    std::vector<std::string> NamesWithout(const std::string& name) const;
    std::optional<CommCall> Last(const std::string& name) const;
    std::size_t Count(const std::string& name) const;
    void ClearLog();
    std::string Written() const; // the bytes of every WriteFile, in order
    int OpenDevices() const;

private:
    class Device;
    friend class Device;
    DWORD Record(CommCall call); // logs; returns the scripted failure or ERROR_SUCCESS

    CommBackend* previous_;
    mutable std::mutex m_;
    std::condition_variable changed_;
    std::vector<CommCall> log_;
    std::map<std::string, std::vector<DWORD>> failures_;
    DWORD modem_ = 0, errors_ = 0, mask_ = 0;
    std::string input_;
    bool holdWrites_ = false;
    DWORD* waitMask_ = nullptr;
    OVERLAPPED* waitOv_ = nullptr;
    struct Held {
        OVERLAPPED* ov;
        DWORD count;
    };
    std::vector<Held> held_;
    int open_ = 0;
};

} // namespace win32
