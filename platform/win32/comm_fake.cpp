#include "platform/win32/comm_fake.h"

#include <algorithm>

namespace win32 {

class RecordingComm::Device final : public CommDevice {
public:
    Device(RecordingComm& owner, bool overlapped) : owner_(owner), overlapped_(overlapped) {}

    bool Overlapped() const override { return overlapped_; }

    DWORD Setup(DWORD in, DWORD out) override { return Log("SetupComm", {in, out}); }
    DWORD SetState(const DCB& dcb) override {
        CommCall c{"SetCommState"};
        c.dcb = dcb;
        const DWORD r = owner_.Record(std::move(c));
        if (r == ERROR_SUCCESS) dcb_ = dcb;
        return r;
    }
    DWORD GetState(DCB& dcb) override {
        dcb = dcb_;
        return Log("GetCommState", {});
    }
    DWORD SetTimeouts(const COMMTIMEOUTS& t) override {
        CommCall c{"SetCommTimeouts"};
        c.timeouts = t;
        c.args = {t.ReadIntervalTimeout, t.ReadTotalTimeoutMultiplier, t.ReadTotalTimeoutConstant,
                  t.WriteTotalTimeoutMultiplier, t.WriteTotalTimeoutConstant};
        const DWORD r = owner_.Record(std::move(c));
        if (r == ERROR_SUCCESS) timeouts_ = t;
        return r;
    }
    DWORD GetTimeouts(COMMTIMEOUTS& t) override {
        t = timeouts_;
        return Log("GetCommTimeouts", {});
    }
    DWORD SetMask(DWORD mask) override {
        if (const DWORD r = Log("SetCommMask", {mask})) return r;
        std::lock_guard lock(owner_.m_);
        if (owner_.waitOv_) Finish(0, ERROR_SUCCESS);
        owner_.mask_ = mask;
        return ERROR_SUCCESS;
    }
    DWORD GetMask(DWORD& mask) override {
        if (const DWORD r = Log("GetCommMask", {})) return r;
        std::lock_guard lock(owner_.m_);
        mask = owner_.mask_;
        return ERROR_SUCCESS;
    }
    DWORD WaitEvent(DWORD* mask, OVERLAPPED* ov) override {
        if (const DWORD r = Log("WaitCommEvent", {})) return r;
        std::lock_guard lock(owner_.m_);
        if (owner_.mask_ == 0 || owner_.waitOv_) return ERROR_INVALID_PARAMETER;
        owner_.waitMask_ = mask;
        owner_.waitOv_ = ov;
        owner_.changed_.notify_all();
        return ERROR_IO_PENDING;
    }
    DWORD Read(void* buffer, DWORD count, OVERLAPPED* ov) override {
        if (const DWORD r = Log("ReadFile", {count})) return r;
        std::lock_guard lock(owner_.m_);
        const std::size_t n = std::min<std::size_t>(count, owner_.input_.size());
        std::copy_n(owner_.input_.begin(), n, static_cast<char*>(buffer));
        owner_.input_.erase(0, n);
        CompleteOverlapped(ov, ERROR_SUCCESS, static_cast<DWORD>(n));
        return ERROR_SUCCESS;
    }
    DWORD Write(const void* buffer, DWORD count, OVERLAPPED* ov) override {
        CommCall c{"WriteFile"};
        c.args = {count};
        c.bytes.assign(static_cast<const char*>(buffer), count);
        if (const DWORD r = owner_.Record(std::move(c))) return r;
        std::lock_guard lock(owner_.m_);
        if (owner_.holdWrites_) {
            owner_.held_.push_back({ov, count});
            return ERROR_IO_PENDING;
        }
        CompleteOverlapped(ov, ERROR_SUCCESS, count);
        return ERROR_SUCCESS;
    }
    DWORD Purge(DWORD flags) override {
        if (const DWORD r = Log("PurgeComm", {flags})) return r;
        if (flags == 0) return ERROR_INVALID_PARAMETER;
        std::lock_guard lock(owner_.m_);
        if (flags & PURGE_TXABORT) AbortWrites(ERROR_OPERATION_ABORTED);
        if (flags & PURGE_RXCLEAR) owner_.input_.clear();
        return ERROR_SUCCESS;
    }
    DWORD ClearError(DWORD& errors, COMSTAT& stat) override {
        if (const DWORD r = Log("ClearCommError", {})) return r;
        std::lock_guard lock(owner_.m_);
        errors = owner_.errors_;
        owner_.errors_ = 0;
        stat.cbInQue = static_cast<DWORD>(owner_.input_.size());
        for (const Held& h : owner_.held_) stat.cbOutQue += h.count;
        return ERROR_SUCCESS;
    }
    DWORD Escape(DWORD function) override { return Log("EscapeCommFunction", {function}); }
    DWORD ModemStatus(DWORD& status) override {
        if (const DWORD r = Log("GetCommModemStatus", {})) return r;
        std::lock_guard lock(owner_.m_);
        status = owner_.modem_;
        return ERROR_SUCCESS;
    }
    DWORD TransmitChar(char ch) override {
        CommCall c{"TransmitCommChar"};
        c.args = {static_cast<unsigned char>(ch)};
        c.bytes.assign(1, ch);
        return owner_.Record(std::move(c));
    }
    void Close() override {
        Log("CloseHandle", {});
        std::lock_guard lock(owner_.m_);
        if (owner_.waitOv_) Finish(0, ERROR_OPERATION_ABORTED);
        AbortWrites(ERROR_OPERATION_ABORTED);
        owner_.mask_ = 0;
        owner_.input_.clear();
        --owner_.open_;
    }

    // With owner_.m_ held.
    void Finish(DWORD events, DWORD error) {
        *owner_.waitMask_ = events;
        CompleteOverlapped(owner_.waitOv_, error, 0);
        owner_.waitOv_ = nullptr;
        owner_.waitMask_ = nullptr;
    }

private:
    DWORD Log(const char* name, std::vector<std::int64_t> args) {
        CommCall c{name};
        c.args = std::move(args);
        return owner_.Record(std::move(c));
    }
    void AbortWrites(DWORD error) {
        for (const Held& h : owner_.held_) CompleteOverlapped(h.ov, error, 0);
        owner_.held_.clear();
    }

    RecordingComm& owner_;
    const bool overlapped_;
    DCB dcb_{};
    COMMTIMEOUTS timeouts_{};
};

RecordingComm::RecordingComm() : previous_(SetCommBackend(this)) {}

RecordingComm::~RecordingComm() {
    SetCommBackend(previous_);
}

std::shared_ptr<CommDevice> RecordingComm::Open(std::u16string_view name, DWORD access, DWORD share,
                                                DWORD disposition, DWORD flags, DWORD& error) {
    CommCall c{"CreateFileW"};
    c.path = name;
    c.args = {access, share, disposition, flags};
    error = Record(std::move(c));
    if (error != ERROR_SUCCESS) return nullptr;
    std::lock_guard lock(m_);
    ++open_;
    return std::make_shared<Device>(*this, (flags & FILE_FLAG_OVERLAPPED) != 0);
}

DWORD RecordingComm::Record(CommCall call) {
    std::lock_guard lock(m_);
    DWORD result = ERROR_SUCCESS;
    if (const auto it = failures_.find(call.name); it != failures_.end() && !it->second.empty()) {
        result = it->second.front();
        it->second.erase(it->second.begin());
    }
    log_.push_back(std::move(call));
    changed_.notify_all();
    return result;
}

void RecordingComm::FailNext(const std::string& call, DWORD error) {
    std::lock_guard lock(m_);
    failures_[call].push_back(error);
}

void RecordingComm::SetModemStatus(DWORD msBits) {
    std::lock_guard lock(m_);
    modem_ = msBits;
}

void RecordingComm::SetCommErrors(DWORD ceBits) {
    std::lock_guard lock(m_);
    errors_ |= ceBits;
}

void RecordingComm::QueueInput(std::string_view bytes) {
    std::lock_guard lock(m_);
    input_ += bytes;
}

void RecordingComm::HoldWrites(bool hold) {
    std::lock_guard lock(m_);
    holdWrites_ = hold;
    if (!hold) {
        for (const Held& h : held_) CompleteOverlapped(h.ov, ERROR_SUCCESS, h.count);
        held_.clear();
    }
}

bool RecordingComm::WaitPending(std::chrono::milliseconds bound) {
    std::unique_lock lock(m_);
    return changed_.wait_for(lock, bound, [&] { return waitOv_ != nullptr; });
}

bool RecordingComm::CompleteWait(DWORD events, std::chrono::milliseconds bound) {
    std::unique_lock lock(m_);
    if (!changed_.wait_for(lock, bound, [&] { return waitOv_ != nullptr; })) return false;
    *waitMask_ = events;
    CompleteOverlapped(waitOv_, ERROR_SUCCESS, 0);
    waitOv_ = nullptr;
    waitMask_ = nullptr;
    return true;
}

std::vector<CommCall> RecordingComm::Calls() const {
    std::lock_guard lock(m_);
    return log_;
}

std::vector<std::string> RecordingComm::Names() const {
    return NamesWithout({});
}

std::vector<std::string> RecordingComm::NamesWithout(const std::string& name) const {
    std::lock_guard lock(m_);
    std::vector<std::string> names;
    for (const CommCall& c : log_)
        if (c.name != name) names.push_back(c.name);
    return names;
}

std::optional<CommCall> RecordingComm::Last(const std::string& name) const {
    std::lock_guard lock(m_);
    for (auto it = log_.rbegin(); it != log_.rend(); ++it)
        if (it->name == name) return *it;
    return std::nullopt;
}

std::size_t RecordingComm::Count(const std::string& name) const {
    std::lock_guard lock(m_);
    return static_cast<std::size_t>(
        std::count_if(log_.begin(), log_.end(), [&](const CommCall& c) { return c.name == name; }));
}

void RecordingComm::ClearLog() {
    std::lock_guard lock(m_);
    log_.clear();
}

std::string RecordingComm::Written() const {
    std::lock_guard lock(m_);
    std::string all;
    for (const CommCall& c : log_)
        if (c.name == "WriteFile") all += c.bytes;
    return all;
}

int RecordingComm::OpenDevices() const {
    std::lock_guard lock(m_);
    return open_;
}

} // namespace win32
