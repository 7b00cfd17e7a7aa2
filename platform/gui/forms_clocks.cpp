// The timers' clocks: the event loop's, and a manual one that tests advance.
#include "platform/gui/extctrls.h"
#include "platform/gui/forms_internal.h"

#include <QTimer>

#include <algorithm>
#include <unordered_map>

void TManualClock::StartTimer(TTimer* Timer, unsigned Interval) {
    StopTimer(Timer);
    FEntries.push_back({Timer, FNow + Interval, Interval, FSeq++});
}

void TManualClock::StopTimer(TTimer* Timer) {
    std::erase_if(FEntries, [Timer](const Entry& e) { return e.timer == Timer; });
}

bool TManualClock::IsRunning(const TTimer* Timer) const {
    return DueIn(Timer) >= 0;
}

Int64 TManualClock::DueIn(const TTimer* Timer) const {
    for (const Entry& e : FEntries)
        if (e.timer == Timer) return static_cast<Int64>(e.due - FNow);
    return -1;
}

void TManualClock::Advance(unsigned Milliseconds) {
    const UInt64 target = FNow + Milliseconds;
    for (;;) {
        auto next = FEntries.end();
        for (auto it = FEntries.begin(); it != FEntries.end(); ++it)
            if (it->due <= target && (next == FEntries.end() || it->due < next->due ||
                                      (it->due == next->due && it->seq < next->seq)))
                next = it;
        if (next == FEntries.end()) break;
        FNow = next->due;
        TTimer* timer = next->timer;
        // Re-armed before the handler runs, so that the handler's own stop or
        // restart wins.
        next->due += std::max(next->interval, 1u);
        next->seq = FSeq++;
        timer->HandleTimer();
    }
    FNow = target;
}

namespace {

// Timers on the event loop: one QTimer per running timer.
class RealClock : public TTimerClock {
public:
    ~RealClock() override {
        for (auto& [timer, qt] : timers_) delete qt;
    }
    void StartTimer(TTimer* Timer, unsigned Interval) override {
        StopTimer(Timer);
        auto* qt = new QTimer();
        qt->setTimerType(Qt::PreciseTimer);
        QObject::connect(qt, &QTimer::timeout, [Timer] { Timer->HandleTimer(); });
        qt->start(static_cast<int>(std::min(Interval, 0x7FFFFFFFu)));
        timers_[Timer] = qt;
    }
    void StopTimer(TTimer* Timer) override {
        auto it = timers_.find(Timer);
        if (it == timers_.end()) return;
        it->second->stop();
        // The timer may be stopped from its own handler.
        it->second->deleteLater();
        timers_.erase(it);
    }

private:
    std::unordered_map<TTimer*, QTimer*> timers_;
};

} // namespace

std::unique_ptr<TTimerClock> gui_detail::MakeRealClock() {
    return std::make_unique<RealClock>();
}
