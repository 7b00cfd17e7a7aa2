// The termios comm backend. Each open device has a service thread that pulls
// received bytes into our own queue as they arrive (so that events fire on
// arrival and EV_RXFLAG, NUL discarding and parity marks can be handled byte
// by byte), pushes pending writes out, watches the modem lines, and completes
// overlapped operations on its own. A hang-up stops the polling of the device
// and fails what is pending, so nothing spins on a dead line.

#include "platform/win32/comm.h"
#include "platform/win32/comm_tty.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace win32 {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr DWORD kAllEvents = EV_RXCHAR | EV_RXFLAG | EV_TXEMPTY | EV_CTS | EV_DSR | EV_RLSD | EV_BREAK |
                             EV_ERR | EV_RING | EV_PERR | EV_RX80FULL;
constexpr DWORD kLineEvents = EV_CTS | EV_DSR | EV_RLSD | EV_RING;
constexpr DWORD kCounterEvents = EV_ERR | EV_BREAK;
constexpr std::size_t kMinQueue = 1024, kMaxQueue = 1 << 20, kReadBlock = 65536, kStreamBytes = 512;
// Lines are polled only where the driver cannot wait for their change; error
// and break counters are read on every arrival, and polled slowly for a break
// that comes without data.
constexpr milliseconds kLinePoll{10}, kCounterPoll{1000}, kDrainPoll{5};
constexpr std::chrono::microseconds kDrainedFor{500};

void NoOpHandler(int) {}

// The signal that ends a line watcher's wait when its device closes: a handler
// that does nothing, installed without SA_RESTART, makes the blocked ioctl
// return. -1 when the program uses that signal itself (then lines are polled).
int LineWatchSignal() {
    static const int sig = [] {
        const int candidate = SIGRTMIN + 6;
        struct sigaction old {};
        if (::sigaction(candidate, nullptr, &old) != 0) return -1;
        if (old.sa_handler == &NoOpHandler) return candidate;
        if ((old.sa_flags & SA_SIGINFO) || old.sa_handler != SIG_DFL) return -1;
        struct sigaction sa {};
        sa.sa_handler = &NoOpHandler;
        ::sigemptyset(&sa.sa_mask);
        return ::sigaction(candidate, &sa, nullptr) == 0 ? candidate : -1;
    }();
    return sig;
}

DWORD FromErrno(int e) {
    switch (e) {
    case 0:
        return ERROR_SUCCESS;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EBUSY:
    case EWOULDBLOCK:
        return ERROR_ACCESS_DENIED;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    case ENOTTY:
        return ERROR_INVALID_FUNCTION;
    case EIO:
        return ERROR_BAD_COMMAND;
    default:
        return ERROR_GEN_FAILURE;
    }
}

bool NoLines(int e) {
    return e == ENOTTY || e == EINVAL;
}

DWORD ValidateDcb(const DCB& d) {
    if (d.BaudRate == 0 || d.BaudRate > 0x7FFFFFFFu) return ERROR_INVALID_PARAMETER; // never B0: it hangs up
    if (d.ByteSize < 5 || d.ByteSize > 8 || d.Parity > SPACEPARITY || d.StopBits > TWOSTOPBITS)
        return ERROR_INVALID_PARAMETER;
    // One and a half stop bits go with 5 data bits only, two stop bits never do.
    if ((d.StopBits == ONE5STOPBITS && d.ByteSize != 5) || (d.StopBits == TWOSTOPBITS && d.ByteSize == 5))
        return ERROR_INVALID_PARAMETER;
    if (d.fDtrControl == 3) return ERROR_INVALID_PARAMETER;
    return ERROR_SUCCESS;
}

// Received bytes waiting to be read: appended and taken as blocks.
class ByteQueue {
public:
    std::size_t size() const { return data_.size() - head_; }
    bool empty() const { return size() == 0; }
    void clear() {
        data_.clear();
        head_ = 0;
    }
    void push_back(char c) { data_.push_back(c); }
    void append(const unsigned char* p, std::size_t n) { data_.insert(data_.end(), p, p + n); }
    // Moves up to n bytes from the front to out; returns how many.
    std::size_t take(char* out, std::size_t n) {
        n = std::min(n, size());
        std::memcpy(out, data_.data() + head_, n);
        head_ += n;
        if (head_ == data_.size())
            clear();
        else if (head_ >= 4096 && head_ * 2 >= data_.size()) {
            // What was taken goes once it is the larger part.
            data_.erase(data_.begin(), data_.begin() + static_cast<std::ptrdiff_t>(head_));
            head_ = 0;
        }
        return n;
    }

private:
    std::vector<char> data_;
    std::size_t head_ = 0;
};

struct PendingRead {
    char* buffer = nullptr;
    DWORD count = 0;
    OVERLAPPED* ov = nullptr;
    DWORD got = 0;
    bool immediate = false; // complete with whatever is queued
    bool firstByte = false; // complete on the first byte
    std::optional<Clock::time_point> total;
    std::optional<milliseconds> interval;
    Clock::time_point last{};
};

struct PendingWrite {
    std::vector<char> data;
    OVERLAPPED* ov = nullptr;
    std::size_t sent = 0;
    std::optional<Clock::time_point> deadline;
};

class TermiosDevice final : public CommDevice, public std::enable_shared_from_this<TermiosDevice> {
public:
    TermiosDevice(int fd, int wake, bool overlapped, const tty::Settings& settings)
        : fd_(fd), wake_(wake), overlapped_(overlapped), settings_(settings) {
        dcb_.DCBlength = sizeof(DCB);
        dcb_.fBinary = 1;
        tty::ToDcb(settings_, dcb_);
        timeouts_ = {MAXDWORD, 0, 0, 0, 0};
        unsigned lines = 0;
        hasLines_ = !NoLines(tty::GetModemLines(fd_, lines));
        lines_ = lines;
        tty::Counters c;
        hasCounters_ = tty::GetCounters(fd_, c) == 0;
        counters_ = c;
        // A line change wakes a thread blocked in the driver, instead of the
        // lines being polled, where the driver can wait for one.
        lineWatch_ = hasLines_ && LineWatchSignal() > 0;
        thread_ = std::thread([this] { Run(); });
        if (lineWatch_) lineThread_ = std::thread([this] { WatchLines(); });
    }
    ~TermiosDevice() override { Close(); }

    bool Overlapped() const override { return overlapped_; }

    void Close() override {
        {
            std::lock_guard lock(m_);
            if (closing_) return;
            closing_ = true;
            AbortAll(ERROR_OPERATION_ABORTED);
            Wake();
        }
        if (thread_.joinable()) thread_.join();
        if (lineThread_.joinable()) {
            // The signal may come just before the wait starts: again until it ends.
            while (!lineDone_) {
                ::pthread_kill(lineThread_.native_handle(), LineWatchSignal());
                std::this_thread::sleep_for(milliseconds(1));
            }
            lineThread_.join();
        }
        ::flock(fd_, LOCK_UN);
        tty::SetExclusive(fd_, false);
        ::close(fd_);
        ::close(wake_);
    }

    DWORD Setup(DWORD inQueue, DWORD) override {
        std::lock_guard lock(m_);
        if (closing_) return ERROR_INVALID_HANDLE;
        capacity_ = std::clamp<std::size_t>(inQueue, kMinQueue, kMaxQueue);
        Wake();
        return ERROR_SUCCESS;
    }

    DWORD SetState(const DCB& dcb) override {
        if (const DWORD r = ValidateDcb(dcb)) return r;
        std::lock_guard lock(m_);
        if (closing_) return ERROR_INVALID_HANDLE;
        if (dead_) return ERROR_BAD_COMMAND;
        const tty::Settings wanted = tty::FromDcb(dcb, settings_);
        if (const int e = tty::Set(fd_, wanted)) return FromErrno(e);
        tty::Settings got;
        if (tty::Get(fd_, got) == 0) {
            // A driver that cannot make the rate picks another: refuse it, as
            // a Windows driver refuses a rate it does not support.
            const double ratio = static_cast<double>(got.ospeed) / dcb.BaudRate;
            if (ratio < 0.97 || ratio > 1.03) {
                tty::Set(fd_, settings_);
                return ERROR_INVALID_PARAMETER;
            }
            settings_ = got;
        } else {
            settings_ = wanted;
        }
        markParity_ = tty::ParityMarking(wanted);
        if (!markParity_) markState_ = 0;
        dcb_ = dcb;
        ApplyLines();
        return ERROR_SUCCESS;
    }

    DWORD GetState(DCB& dcb) override { return Get(dcb, dcb_); }

    DWORD SetTimeouts(const COMMTIMEOUTS& t) override {
        if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == MAXDWORD &&
            t.ReadTotalTimeoutConstant == MAXDWORD)
            return ERROR_INVALID_PARAMETER;
        std::lock_guard lock(m_);
        if (closing_) return ERROR_INVALID_HANDLE;
        timeouts_ = t;
        return ERROR_SUCCESS;
    }

    DWORD GetTimeouts(COMMTIMEOUTS& t) override { return Get(t, timeouts_); }

    DWORD SetMask(DWORD mask) override {
        if (mask & ~kAllEvents) return ERROR_INVALID_PARAMETER;
        std::lock_guard lock(m_);
        if (closing_) return ERROR_INVALID_HANDLE;
        // A pending wait ends with no events; history still of interest stays.
        if (waitOv_) FinishWait(0, ERROR_SUCCESS);
        history_ &= mask;
        mask_ = mask;
        Wake();
        return ERROR_SUCCESS;
    }

    DWORD GetMask(DWORD& mask) override { return Get(mask, mask_); }

    DWORD WaitEvent(DWORD* mask, OVERLAPPED* ov) override {
        std::lock_guard lock(m_);
        if (closing_) return ERROR_INVALID_HANDLE;
        if (mask_ == 0 || waitOv_) return ERROR_INVALID_PARAMETER;
        // A wait with an event is watched by whoever waits on the event, who
        // reads the terminal as soon as it has something (see below).
        if (!dead_ && !ov->hEvent) Pump();
        if (history_) {
            *mask = history_;
            history_ = 0;
            CompleteOverlapped(ov, ERROR_SUCCESS, 0);
            return ERROR_SUCCESS;
        }
        if (dead_) return ERROR_BAD_COMMAND; // also when the pump just found the line hung up
        waitMask_ = mask;
        waitOv_ = ov;
        // Whoever waits on the event reads the terminal: arriving bytes wake
        // that thread alone, with no service thread between.
        waitWatched_ = ov->hEvent && AttachEventSource(ov->hEvent, fd_, [weak = weak_from_this()] {
                           const auto self = weak.lock();
                           return self && self->PumpForWaiter();
                       });
        if (!waitWatched_) Wake(); // the service thread reads for it
        return ERROR_IO_PENDING;
    }

    DWORD Read(void* buffer, DWORD count, OVERLAPPED* ov) override {
        std::lock_guard lock(m_);
        if (closing_) return ERROR_INVALID_HANDLE;
        if (!dead_ && (queue_.size() < count || !Drained())) Pump();
        if (dead_ && queue_.empty()) return ERROR_BAD_COMMAND;
        PendingRead r;
        r.buffer = static_cast<char*>(buffer);
        r.count = count;
        r.ov = ov;
        const COMMTIMEOUTS& t = timeouts_;
        const auto now = Clock::now();
        const bool immediate = t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == 0 &&
                               t.ReadTotalTimeoutConstant == 0;
        r.immediate = immediate;
        const bool firstByte = t.ReadIntervalTimeout == MAXDWORD &&
                               t.ReadTotalTimeoutMultiplier == MAXDWORD && t.ReadTotalTimeoutConstant > 0 &&
                               t.ReadTotalTimeoutConstant < MAXDWORD;
        if (firstByte) {
            r.firstByte = true;
            r.total = now + milliseconds(t.ReadTotalTimeoutConstant);
        } else if (!immediate) {
            const auto total =
                std::uint64_t{t.ReadTotalTimeoutMultiplier} * count + t.ReadTotalTimeoutConstant;
            if (total > 0) r.total = now + milliseconds(total);
            if (t.ReadIntervalTimeout != 0 && t.ReadIntervalTimeout != MAXDWORD)
                r.interval = milliseconds(t.ReadIntervalTimeout);
        }
        if (reads_.empty()) {
            Take(r, now);
            if (immediate || dead_ || (firstByte && r.got > 0) || r.got == count) {
                CompleteOverlapped(ov, ERROR_SUCCESS, r.got);
                // The pump may have taken a whole burst at once where a UART
                // delivers it piecemeal: announce what this read left behind.
                if (!queue_.empty() && (mask_ & EV_RXCHAR)) Raise(EV_RXCHAR);
                return ERROR_SUCCESS;
            }
        }
        reads_.push_back(r);
        Wake();
        return ERROR_IO_PENDING;
    }

    DWORD Write(const void* buffer, DWORD count, OVERLAPPED* ov) override {
        std::lock_guard lock(m_);
        if (closing_) return ERROR_INVALID_HANDLE;
        if (dead_) return ERROR_BAD_COMMAND;
        PendingWrite w;
        w.data.assign(static_cast<const char*>(buffer), static_cast<const char*>(buffer) + count);
        w.ov = ov;
        const auto total = std::uint64_t{timeouts_.WriteTotalTimeoutMultiplier} * count +
                           timeouts_.WriteTotalTimeoutConstant;
        if (total > 0) w.deadline = Clock::now() + milliseconds(total);
        writes_.push_back(std::move(w));
        Push();
        const bool done = writes_.empty() || writes_.back().ov != ov;
        // The service thread finishes the write, or waits for the output to
        // drain; a write the terminal took whole and sent on needs neither.
        if (!done || (drainPoll_ = CheckDrained())) Wake();
        return done ? ERROR_SUCCESS : ERROR_IO_PENDING;
    }

    DWORD Purge(DWORD flags) override {
        if (flags == 0 || (flags & ~(PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR)))
            return ERROR_INVALID_PARAMETER;
        std::lock_guard lock(m_);
        if (closing_) return ERROR_INVALID_HANDLE;
        if (flags & PURGE_RXABORT) AbortReads(ERROR_OPERATION_ABORTED);
        if (flags & PURGE_TXABORT) AbortWrites(ERROR_OPERATION_ABORTED);
        if (flags & PURGE_RXCLEAR) {
            if (!dead_) tty::Flush(fd_, tty::Input);
            queue_.clear();
            markState_ = 0;
        }
        // PURGE_TXCLEAR drops nothing: bytes of completed writes are on their
        // way already (on Windows they would be on the wire), and flushing the
        // terminal's output here would lose the last command before a close.
        Wake();
        return ERROR_SUCCESS;
    }

    DWORD ClearError(DWORD& errors, COMSTAT& stat) override {
        std::lock_guard lock(m_);
        if (closing_) return ERROR_INVALID_HANDLE;
        if (!dead_) {
            if (!Drained()) Pump();
            PollLines(kAllEvents);
        }
        errors = errors_;
        errors_ = 0;
        std::size_t pendingOut = immediate_ ? 1 : 0;
        for (const PendingWrite& w : writes_) pendingOut += w.data.size() - w.sent;
        // The terminal is asked only where it can hold something: input when
        // our queue is full (the pump took everything else), output while
        // handed-over bytes may still be on their way.
        int kernelIn = 0, kernelOut = 0;
        if (!dead_ && queue_.size() >= capacity_) tty::InputBytes(fd_, kernelIn);
        if (!dead_ && (draining_ || pendingOut > 0)) tty::OutputBytes(fd_, kernelOut);
        stat = {};
        stat.cbInQue = static_cast<DWORD>(queue_.size() + static_cast<std::size_t>(std::max(kernelIn, 0)));
        stat.cbOutQue = static_cast<DWORD>(pendingOut + static_cast<std::size_t>(std::max(kernelOut, 0)));
        stat.fCtsHold = tty::HardwareFlow(settings_) && hasLines_ && !(lines_ & MS_CTS_ON) && pendingOut > 0;
        stat.fXoffHold = xoffHold_ ? 1 : 0;
        stat.fTxim = immediate_ ? 1 : 0;
        return ERROR_SUCCESS;
    }

    DWORD Escape(DWORD function) override {
        std::lock_guard lock(m_);
        if (closing_) return ERROR_INVALID_HANDLE;
        if (dead_ && function != RESETDEV) return ERROR_BAD_COMMAND;
        switch (function) {
        case SETBREAK:
        case CLRBREAK:
            return FromErrno(tty::SetBreak(fd_, function == SETBREAK));
        case SETDTR:
        case CLRDTR:
            if (dcb_.fDtrControl == DTR_CONTROL_HANDSHAKE) return ERROR_INVALID_PARAMETER;
            return SetLine(tty::kDtr, function == SETDTR);
        case SETRTS:
        case CLRRTS:
            if (dcb_.fRtsControl == RTS_CONTROL_HANDSHAKE || dcb_.fRtsControl == RTS_CONTROL_TOGGLE)
                return ERROR_INVALID_PARAMETER;
            return SetLine(tty::kRts, function == SETRTS);
        case SETXOFF:
        case SETXON: {
            const bool stop = function == SETXOFF;
            if (const int e = tty::SetOutputStopped(fd_, stop); e && !NoLines(e)) return FromErrno(e);
            xoffHold_ = stop;
            Wake();
            return ERROR_SUCCESS;
        }
        case RESETDEV:
            return ERROR_SUCCESS;
        default:
            return ERROR_INVALID_PARAMETER;
        }
    }

    DWORD ModemStatus(DWORD& status) override {
        std::lock_guard lock(m_);
        if (closing_) return ERROR_INVALID_HANDLE;
        if (dead_) return ERROR_BAD_COMMAND;
        status = 0;
        if (!hasLines_) return ERROR_SUCCESS; // a line without modem lines (a pseudo-terminal)
        unsigned lines = 0;
        if (const int e = tty::GetModemLines(fd_, lines)) return FromErrno(e);
        status = lines & (MS_CTS_ON | MS_DSR_ON | MS_RING_ON | MS_RLSD_ON);
        return ERROR_SUCCESS;
    }

    void Service() override {
        std::lock_guard lock(m_);
        if (!closing_ && !dead_) Pump();
    }

    DWORD TransmitChar(char c) override {
        std::lock_guard lock(m_);
        if (closing_) return ERROR_INVALID_HANDLE;
        if (dead_) return ERROR_BAD_COMMAND;
        if (immediate_) return ERROR_INVALID_PARAMETER;
        immediate_ = c;
        Push();
        Wake();
        return ERROR_SUCCESS;
    }

private:
    template <class T>
    DWORD Get(T& out, const T& field) {
        std::lock_guard lock(m_);
        if (closing_) return ERROR_INVALID_HANDLE;
        out = field;
        return ERROR_SUCCESS;
    }

    // Everything below runs with m_ held.

    void Wake() {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto n = ::write(wake_, &one, sizeof one);
    }

    void Raise(DWORD events) {
        events &= mask_;
        if (!events) return;
        history_ |= events;
        if (waitOv_) {
            const DWORD h = history_;
            history_ = 0;
            FinishWait(h, ERROR_SUCCESS);
        }
    }

    void FinishWait(DWORD events, DWORD error) {
        if (waitWatched_) DetachEventSource(waitOv_->hEvent);
        waitWatched_ = false;
        *waitMask_ = events;
        CompleteOverlapped(waitOv_, error, 0);
        waitOv_ = nullptr;
        waitMask_ = nullptr;
    }

    void AbortReads(DWORD error) {
        for (PendingRead& r : reads_) CompleteOverlapped(r.ov, error, r.got);
        reads_.clear();
    }

    void AbortWrites(DWORD error) {
        for (PendingWrite& w : writes_) CompleteOverlapped(w.ov, error, static_cast<DWORD>(w.sent));
        writes_.clear();
    }

    void AbortAll(DWORD error) {
        if (waitOv_) FinishWait(0, error);
        AbortReads(error);
        AbortWrites(error);
    }

    void MarkDead() {
        if (dead_) return;
        dead_ = true;
        AbortAll(ERROR_BAD_COMMAND);
        immediate_.reset();
    }

    // Called by the thread waiting for this device's event when the terminal
    // has something; false when there is nothing more it can take now.
    bool PumpForWaiter() {
        std::lock_guard lock(m_);
        if (closing_ || dead_) return false;
        // A block this large means a stream is coming in: the service thread
        // keeps reading it while the waiter's thread hands this part on.
        if (Pump() >= kStreamBytes) {
            streaming_ = true;
            Wake();
        }
        return !dead_ && queue_.size() < capacity_;
    }

    bool Drained() const { return drainedAt_ && Clock::now() - *drainedAt_ < kDrainedFor; }

    // Pulls what the terminal holds into the queue, up to its capacity;
    // returns how many bytes it read.
    std::size_t Pump() {
        drainedAt_.reset();
        std::size_t total = 0;
        while (!dead_ && queue_.size() < capacity_) {
            if (readBuf_.empty()) readBuf_.resize(kReadBlock);
            const std::size_t room = std::min(readBuf_.size(), capacity_ - queue_.size());
            const ssize_t n = ::read(fd_, readBuf_.data(), room);
            if (n > 0) {
                total += static_cast<std::size_t>(n);
                Feed(readBuf_.data(), static_cast<std::size_t>(n));
                // Parity, framing and overrun errors come with received bytes.
                if (hasCounters_) PollLines(kCounterEvents);
                if (static_cast<std::size_t>(n) < room) {
                    drainedAt_ = Clock::now();
                    return total;
                }
            } else if (n == 0) {
                MarkDead(); // end of file on a terminal: the far end hung up
            } else if (errno == EINTR) {
                continue;
            } else {
                if (errno != EAGAIN)
                    MarkDead();
                else
                    drainedAt_ = Clock::now();
                return total;
            }
        }
        return total;
    }

    void Feed(const unsigned char* data, std::size_t n) {
        DWORD events = 0;
        const std::size_t before = queue_.size();
        const auto put = [&](unsigned char b) {
            if (dcb_.fNull && b == 0) return;
            if (b == static_cast<unsigned char>(dcb_.EvtChar)) events |= EV_RXFLAG;
            queue_.push_back(static_cast<char>(b));
            events |= EV_RXCHAR;
        };
        if (!markParity_ && !dcb_.fNull) {
            // The common case, a whole block at once.
            if (n > 0) events |= EV_RXCHAR;
            if (std::memchr(data, static_cast<unsigned char>(dcb_.EvtChar), n)) events |= EV_RXFLAG;
            queue_.append(data, n);
            n = 0;
        }
        for (std::size_t i = 0; i < n; ++i) {
            const unsigned char b = data[i];
            if (!markParity_) {
                put(b);
                continue;
            }
            // Parity marks: FF FF is a data FF, FF 00 x is x received with an error.
            switch (markState_) {
            case 0:
                if (b == 0xFF)
                    markState_ = 1;
                else
                    put(b);
                break;
            case 1:
                markState_ = b == 0 ? 2 : 0;
                if (b == 0xFF) put(0xFF);
                if (b != 0 && b != 0xFF) {
                    put(0xFF);
                    put(b);
                }
                break;
            default:
                markState_ = 0;
                if (!hasCounters_) errors_ |= CE_RXPARITY;
                events |= EV_ERR;
                put(dcb_.fErrorChar ? static_cast<unsigned char>(dcb_.ErrorChar) : b);
                break;
            }
        }
        const std::size_t full = capacity_ * 8 / 10;
        if (before < full && queue_.size() >= full) events |= EV_RX80FULL;
        Raise(events);
    }

    // Moves queued bytes into a read and stamps the arrival time.
    void Take(PendingRead& r, Clock::time_point now) {
        const std::size_t k = std::min<std::size_t>(r.count - r.got, queue_.size());
        if (k == 0) return;
        queue_.take(r.buffer + r.got, k);
        r.got += static_cast<DWORD>(k);
        r.last = now;
    }

    void ServeReads(Clock::time_point now) {
        while (!reads_.empty()) {
            PendingRead& r = reads_.front();
            Take(r, now);
            // A read queued behind another one starts when that one ends: one
            // that takes what is there ends at once then.
            const bool done = r.immediate || r.got == r.count || (r.firstByte && r.got > 0) ||
                              (r.total && now >= *r.total) ||
                              (r.interval && r.got > 0 && now - r.last >= *r.interval);
            if (!done) return;
            CompleteOverlapped(r.ov, ERROR_SUCCESS, r.got);
            reads_.pop_front();
        }
        if (dead_) AbortReads(ERROR_BAD_COMMAND);
    }

    // Hands pending output to the terminal as far as it accepts it.
    void Push() {
        if (dead_ || xoffHold_) return;
        if (immediate_) {
            const char c = *immediate_;
            const ssize_t n = ::write(fd_, &c, 1);
            if (n == 1) {
                immediate_.reset();
                draining_ = true;
            } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
                MarkDead();
                return;
            } else {
                return;
            }
        }
        while (!writes_.empty()) {
            PendingWrite& w = writes_.front();
            while (w.sent < w.data.size()) {
                const ssize_t n = ::write(fd_, w.data.data() + w.sent, w.data.size() - w.sent);
                if (n > 0) {
                    w.sent += static_cast<std::size_t>(n);
                    draining_ = true;
                } else if (n < 0 && errno == EINTR) {
                    continue;
                } else {
                    if (n < 0 && errno != EAGAIN) MarkDead();
                    return;
                }
            }
            CompleteOverlapped(w.ov, ERROR_SUCCESS, static_cast<DWORD>(w.sent));
            writes_.pop_front();
        }
    }

    void ExpireWrites(Clock::time_point now) {
        // A write time-out completes the write with the bytes accepted so far,
        // as a success with a short count.
        while (!writes_.empty() && writes_.front().deadline && now >= *writes_.front().deadline) {
            PendingWrite& w = writes_.front();
            CompleteOverlapped(w.ov, ERROR_SUCCESS, static_cast<DWORD>(w.sent));
            writes_.pop_front();
        }
    }

    // EV_TXEMPTY once everything handed over has left the terminal.
    bool CheckDrained() {
        if (!draining_ || !writes_.empty() || immediate_) return false;
        int out = 0;
        if (tty::OutputBytes(fd_, out) == 0 && out > 0) return true; // look again shortly
        draining_ = false;
        Raise(EV_TXEMPTY);
        return false;
    }

    void PollLines(DWORD interest) {
        if (hasLines_ && (interest & kLineEvents)) {
            unsigned lines = 0;
            if (tty::GetModemLines(fd_, lines) == 0) {
                const unsigned changed = lines ^ lines_;
                DWORD events = 0;
                if (changed & MS_CTS_ON) events |= EV_CTS;
                if (changed & MS_DSR_ON) events |= EV_DSR;
                if (changed & MS_RLSD_ON) events |= EV_RLSD;
                if ((changed & MS_RING_ON) && !(lines & MS_RING_ON)) events |= EV_RING; // trailing edge
                lines_ = lines;
                Raise(events);
            }
        }
        if (hasCounters_) {
            tty::Counters c;
            if (tty::GetCounters(fd_, c) == 0) {
                const tty::Counters& o = counters_;
                DWORD errors = 0, events = 0;
                if (c.frame != o.frame) errors |= CE_FRAME;
                if (c.parity != o.parity) errors |= CE_RXPARITY;
                if (c.overrun != o.overrun) errors |= CE_OVERRUN;
                if (c.bufOverrun != o.bufOverrun) errors |= CE_RXOVER;
                if (c.brk != o.brk) {
                    errors |= CE_BREAK;
                    events |= EV_BREAK;
                }
                // Counters catch pulses shorter than the polling period.
                if (c.cts != o.cts) events |= EV_CTS;
                if (c.dsr != o.dsr) events |= EV_DSR;
                if (c.dcd != o.dcd) events |= EV_RLSD;
                if (c.rng != o.rng) events |= EV_RING;
                if (errors & (CE_FRAME | CE_RXPARITY | CE_OVERRUN)) events |= EV_ERR;
                errors_ |= errors;
                counters_ = c;
                Raise(events);
            }
        }
    }

    DWORD SetLine(unsigned line, bool on) {
        const int e = tty::SetModemLine(fd_, line, on);
        return e && !NoLines(e) ? FromErrno(e) : ERROR_SUCCESS;
    }

    // The DTR and RTS lines that the DCB asks for.
    void ApplyLines() {
        SetLine(tty::kDtr, dcb_.fDtrControl != DTR_CONTROL_DISABLE);
        if (dcb_.fRtsControl == RTS_CONTROL_DISABLE || dcb_.fRtsControl == RTS_CONTROL_ENABLE)
            SetLine(tty::kRts, dcb_.fRtsControl == RTS_CONTROL_ENABLE);
        // RTS toggling is the driver's RS-485 mode where it has one.
        if (dcb_.fRtsControl == RTS_CONTROL_TOGGLE)
            rs485_ = tty::SetRs485(fd_, true) == 0;
        else if (rs485_)
            rs485_ = tty::SetRs485(fd_, false) != 0;
    }

    void WatchLines() {
        for (;;) {
            {
                std::lock_guard lock(m_);
                if (closing_ || dead_) break;
            }
            const int e = tty::WaitModemChange(fd_);
            std::lock_guard lock(m_);
            if (closing_ || dead_) break;
            if (e == 0) {
                PollLines(mask_);
            } else if (e != EINTR) {
                lineWatch_ = false; // the driver cannot wait: the service thread polls
                Wake();
                break;
            }
        }
        lineDone_ = true;
    }

    int PollTimeout(Clock::time_point now) const {
        std::optional<Clock::time_point> next;
        const auto consider = [&](Clock::time_point t) {
            if (!next || t < *next) next = t;
        };
        if (!reads_.empty()) {
            const PendingRead& r = reads_.front();
            if (r.total) consider(*r.total);
            if (r.interval && r.got > 0) consider(r.last + *r.interval);
        }
        if (!writes_.empty() && writes_.front().deadline) consider(*writes_.front().deadline);
        if (!dead_ && !lineWatch_ && (mask_ & kLineEvents) && (hasLines_ || hasCounters_))
            consider(now + kLinePoll);
        if (!dead_ && hasCounters_ && (mask_ & kCounterEvents)) consider(now + kCounterPoll);
        if (drainPoll_) consider(now + kDrainPoll);
        if (!next) return -1;
        const auto ms = std::chrono::ceil<milliseconds>(*next - now).count();
        return static_cast<int>(std::clamp<long long>(ms, 0, 60000));
    }

    void Run() {
        std::unique_lock lock(m_);
        while (!closing_) {
            pollfd fds[2] = {{wake_, POLLIN, 0}, {fd_, 0, 0}};
            nfds_t count = 1;
            if (!dead_) {
                // Bytes for a pending wait are read by its waiter; the service
                // thread reads for pending reads and for a wait nobody watches.
                // While a stream comes in, it also reads between the waits.
                if (queue_.size() < capacity_ &&
                    (!reads_.empty() || (waitOv_ && !waitWatched_) || (streaming_ && !waitOv_)))
                    fds[1].events |= POLLIN;
                if (!xoffHold_ && (immediate_ || !writes_.empty())) fds[1].events |= POLLOUT;
                count = 2;
            }
            const int timeout = PollTimeout(Clock::now());
            lock.unlock();
            const int n = ::poll(fds, count, timeout);
            lock.lock();
            if (closing_) break;
            if (n > 0 && (fds[0].revents & POLLIN)) {
                std::uint64_t drained;
                [[maybe_unused]] const auto r = ::read(wake_, &drained, sizeof drained);
            }
            if (count == 2 && fds[1].revents) {
                if ((fds[1].revents & (POLLIN | POLLHUP | POLLERR)) && Pump() < kStreamBytes)
                    streaming_ = false;
                if (fds[1].revents & POLLOUT) Push();
                // A hang-up that left nothing to read (or no room to read it).
                if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) MarkDead();
            }
            const auto now = Clock::now();
            if (!dead_) {
                Push();
                ExpireWrites(now);
                PollLines(mask_);
                drainPoll_ = CheckDrained();
            }
            ServeReads(now);
        }
    }

    std::mutex m_;
    const int fd_;
    const int wake_;
    const bool overlapped_;
    tty::Settings settings_;
    DCB dcb_{};
    COMMTIMEOUTS timeouts_{};
    std::size_t capacity_ = kMinQueue;
    ByteQueue queue_;
    std::vector<unsigned char> readBuf_; // what one read() brings, made on first use
    DWORD mask_ = 0, history_ = 0, errors_ = 0;
    DWORD* waitMask_ = nullptr;
    OVERLAPPED* waitOv_ = nullptr;
    bool waitWatched_ = false; // the wait's event has the terminal as its source
    // When a read last found the terminal empty: for a short while after,
    // the count and a read the queue can serve do not ask it again (a UART's
    // receive FIFO holds bytes back for longer). The handlers of an event then
    // cost no system call beyond the one that brought the bytes.
    std::optional<Clock::time_point> drainedAt_;
    bool streaming_ = false; // large blocks keep coming: read between waits too
    std::deque<PendingRead> reads_;
    std::deque<PendingWrite> writes_;
    std::optional<char> immediate_;
    bool markParity_ = false;
    int markState_ = 0;
    bool xoffHold_ = false, draining_ = false, drainPoll_ = false, rs485_ = false;
    bool hasLines_ = false, hasCounters_ = false;
    unsigned lines_ = 0;
    tty::Counters counters_;
    bool dead_ = false, closing_ = false;
    bool lineWatch_ = false; // a thread waits in the driver for line changes
    std::atomic<bool> lineDone_{false};
    std::thread thread_;
    std::thread lineThread_;
};

class TermiosBackend final : public CommBackend {
public:
    std::shared_ptr<CommDevice> Open(std::u16string_view name, DWORD access, DWORD share, DWORD disposition,
                                     DWORD flags, DWORD& error) override {
        if ((access & (GENERIC_READ | GENERIC_WRITE)) == 0 || share != 0 || disposition != OPEN_EXISTING ||
            (flags & ~(FILE_FLAG_OVERLAPPED | FILE_ATTRIBUTE_NORMAL))) {
            error = ERROR_INVALID_PARAMETER;
            return nullptr;
        }
        const std::string path = CommDevicePath(name);
        // Only terminals are ports: the name must never open an ordinary file.
        struct stat st {};
        if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) {
            error = ERROR_FILE_NOT_FOUND;
            return nullptr;
        }
        const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            error = FromErrno(errno);
            return nullptr;
        }
        tty::Settings settings;
        if (::isatty(fd) != 1 || tty::Get(fd, settings) != 0) {
            ::close(fd);
            error = ERROR_FILE_NOT_FOUND;
            return nullptr;
        }
        // No sharing: flock holds even against root, which TIOCEXCL does not.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            error = ERROR_ACCESS_DENIED;
            return nullptr;
        }
        tty::SetExclusive(fd, true);
        // Windows opens a port with empty queues and no echo; a terminal keeps
        // what arrived while it was closed and starts cooked.
        settings = tty::MakeRaw(settings);
        const int wake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        if (tty::Set(fd, settings) != 0 || wake < 0) {
            if (wake >= 0) ::close(wake);
            ::flock(fd, LOCK_UN);
            ::close(fd);
            error = ERROR_GEN_FAILURE;
            return nullptr;
        }
        tty::Flush(fd, tty::Both);
        return std::make_shared<TermiosDevice>(fd, wake, (flags & FILE_FLAG_OVERLAPPED) != 0, settings);
    }
};

} // namespace

CommBackend& TermiosCommBackend() {
    static TermiosBackend backend;
    return backend;
}

} // namespace win32
