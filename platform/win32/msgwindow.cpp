#include "platform/win32/msgwindow.h"

#include "platform/core/threads.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace {

struct Windows {
    std::mutex lock;
    std::condition_variable replied;
    std::unordered_map<std::uintptr_t, std::shared_ptr<TWndMethod>> methods;
    std::uintptr_t next = 0x10000;
};

Windows& TheWindows() {
    static Windows w;
    return w;
}

std::shared_ptr<TWndMethod> Find(HWND wnd) {
    Windows& w = TheWindows();
    std::lock_guard g(w.lock);
    const auto it = w.methods.find(reinterpret_cast<std::uintptr_t>(wnd));
    return it == w.methods.end() ? nullptr : it->second;
}

LRESULT Deliver(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto method = Find(wnd);
    if (!method) return 0;
    TMessage m{msg, wParam, lParam, 0};
    (*method)(m);
    return m.Result;
}

struct ReplyState {
    bool done = false;
    LRESULT result = 0;
};

// One message sent from another thread. Whoever drops the last reference
// replies, so the sender never waits for a message that will not be handled
// (the queue is cleared at shut-down).
class Sent {
public:
    explicit Sent(std::shared_ptr<ReplyState> state) : state_(std::move(state)) {}
    ~Sent() { Reply(0); }
    Sent(const Sent&) = delete;
    Sent& operator=(const Sent&) = delete;
    bool Reply(LRESULT result) {
        Windows& w = TheWindows();
        {
            std::lock_guard g(w.lock);
            if (state_->done) return false;
            state_->done = true;
            state_->result = result;
        }
        w.replied.notify_all();
        return true;
    }

private:
    std::shared_ptr<ReplyState> state_;
};

thread_local Sent* tHandling = nullptr;

} // namespace

HWND AllocateHWnd(TWndMethod Method) {
    Windows& w = TheWindows();
    std::lock_guard g(w.lock);
    const std::uintptr_t id = w.next;
    w.next += 4;
    w.methods.emplace(id, std::make_shared<TWndMethod>(std::move(Method)));
    return reinterpret_cast<HWND>(id);
}

void DeallocateHWnd(HWND Wnd) {
    Windows& w = TheWindows();
    std::lock_guard g(w.lock);
    w.methods.erase(reinterpret_cast<std::uintptr_t>(Wnd));
}

LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (IsMainThread()) return Deliver(hWnd, Msg, wParam, lParam);
    const auto state = std::make_shared<ReplyState>();
    auto sent = std::make_shared<Sent>(state);
    TThread::Queue(nullptr, [sent, hWnd, Msg, wParam, lParam] {
        struct Restore {
            Sent* outer;
            ~Restore() { tHandling = outer; }
        } restore{tHandling};
        tHandling = sent.get();
        sent->Reply(Deliver(hWnd, Msg, wParam, lParam));
    });
    sent.reset(); // the queued call holds it now
    Windows& w = TheWindows();
    std::unique_lock lk(w.lock);
    w.replied.wait(lk, [&] { return state->done; });
    return state->result;
}

BOOL ReplyMessage(LRESULT lResult) {
    return tHandling && tHandling->Reply(lResult) ? TRUE : FALSE;
}

BOOL InSendMessage() {
    return tHandling ? TRUE : FALSE;
}

LRESULT DefWindowProcW(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}
