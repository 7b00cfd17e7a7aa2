// The receive path against Qt SerialPort on the same kind of pseudo-terminal,
// both receiving on the GUI thread through its event loop:
// - Latency: one byte written to the master until the handler has read it
//   (manual time per event; p50/p99, CPU and thread wake-ups per event).
// - Burst: 10 MB from a writer thread, every byte checked in order.
// - ShortWrite: how long a 5-byte write keeps the GUI thread.
// - Idle: wake-ups per second of the threads other than the GUI thread while
//   the port is open and nothing arrives.
// Ratios: run both and divide (Moltren / Qt); the counters carry the units.

#include "platform/core/threads.h"
#include "serial/comport.h"
#include "tests/support/pty.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSerialPort>
#include <QTimer>
#include <benchmark/benchmark.h>

#include "bench/benchmain.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <dirent.h>
#include <fstream>
#include <functional>
#include <map>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kBurst = 10 * 1000 * 1000;

// CPU seconds of the whole process (every thread).
double ProcessCpu() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

// Context switches (each a thread waking up) of the process's threads, by id.
std::map<long, long> ThreadSwitches() {
    std::map<long, long> result;
    DIR* d = ::opendir("/proc/self/task");
    if (!d) return result;
    while (const dirent* e = ::readdir(d)) {
        const long tid = std::atol(e->d_name);
        if (tid <= 0) continue;
        std::ifstream status(std::string("/proc/self/task/") + e->d_name + "/status");
        std::string key;
        long value = 0, total = 0;
        while (status >> key) {
            if (key == "voluntary_ctxt_switches:" || key == "nonvoluntary_ctxt_switches:") {
                status >> value;
                total += value;
            }
        }
        result[tid] = total;
    }
    ::closedir(d);
    return result;
}

// Switches of the threads in `now` that `before` did not have, or of all but
// the calling thread when `before` is empty.
long Switches(const std::map<long, long>& now, const std::map<long, long>& before = {}) {
    const long self = static_cast<long>(::syscall(SYS_gettid));
    long total = 0;
    for (const auto& [tid, n] : now)
        if (tid != self && (before.empty() || !before.count(tid))) total += n;
    return total;
}

long OtherThreadSwitches() {
    return Switches(ThreadSwitches());
}

long ProcessSwitches() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return u.ru_nvcsw + u.ru_nivcsw;
}

unsigned char Pattern(std::size_t i) {
    return static_cast<unsigned char>((i * 7 + i / 251) & 0xFF);
}

// A receiver on the GUI thread: one kind per library.
class Receiver {
public:
    virtual ~Receiver() = default;
    // Called with each block read on the GUI thread.
    std::function<void(const char*, std::size_t)> onData;
    virtual void Write(const char* data, int n) = 0;
    // Hands written bytes to the terminal where the write left them waiting
    // (Qt writes from its event loop).
    virtual void Flush() {}
};

class MoltrenReceiver final : public Receiver {
public:
    explicit MoltrenReceiver(const std::string& path) {
        port_->SetPort(UTF8ToString(path));
        port_->GetBuffer()->SetInputSize(65536);
        port_->OnRxChar.Bind([this](TObject*, Integer count) {
            std::vector<char> buf(static_cast<std::size_t>(std::max(count, 1)));
            const Integer n = port_->Read(buf.data(), count);
            if (n > 0 && onData) onData(buf.data(), static_cast<std::size_t>(n));
        });
        port_->Open();
    }
    void Write(const char* data, int n) override { port_->Write(data, n); }

private:
    Owned<TComPort> port_{Create<TComPort>(nullptr)};
};

class QtReceiver final : public Receiver {
public:
    explicit QtReceiver(const std::string& path) {
        port_.setPortName(QString::fromStdString(path));
        port_.open(QIODevice::ReadWrite);
        QObject::connect(&port_, &QSerialPort::readyRead, [this] {
            const QByteArray got = port_.readAll();
            if (!got.isEmpty() && onData) onData(got.constData(), static_cast<std::size_t>(got.size()));
        });
    }
    void Write(const char* data, int n) override { port_.write(data, n); }
    void Flush() override { port_.flush(); }

private:
    QSerialPort port_;
};

template <class R>
void Latency(benchmark::State& state) {
    testsupport::PtyPair pty;
    R rx(pty.SlavePath());
    QEventLoop loop;
    std::size_t got = 0;
    rx.onData = [&](const char*, std::size_t n) {
        got += n;
        loop.quit();
    };
    std::vector<double> times;
    // A first byte settles both (Qt's notifier, our threads) before timing.
    pty.Write("x");
    loop.exec();
    const double cpu0 = ProcessCpu();
    const long sw0 = ProcessSwitches(), other0 = OtherThreadSwitches();
    for (auto _ : state) {
        const std::size_t before = got;
        const auto t0 = Clock::now();
        pty.Write("a");
        while (got == before) loop.exec();
        const double s = std::chrono::duration<double>(Clock::now() - t0).count();
        state.SetIterationTime(s);
        times.push_back(s);
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["cpu_us_per_event"] = (ProcessCpu() - cpu0) * 1e6 / n;
    state.counters["switches_per_event"] = static_cast<double>(ProcessSwitches() - sw0) / n;
    state.counters["other_thread_wakeups_per_event"] =
        static_cast<double>(OtherThreadSwitches() - other0) / n;
    std::sort(times.begin(), times.end());
    state.counters["p50_us"] = times[times.size() / 2] * 1e6;
    state.counters["p99_us"] = times[times.size() * 99 / 100] * 1e6;
}

template <class R>
void Burst(benchmark::State& state) {
    std::string data(kBurst, '\0');
    for (std::size_t i = 0; i < kBurst; ++i) data[i] = static_cast<char>(Pattern(i));
    double cpu = 0;
    for (auto _ : state) {
        testsupport::PtyPair pty;
        R rx(pty.SlavePath());
        QEventLoop loop;
        std::size_t got = 0;
        bool intact = true;
        rx.onData = [&](const char* p, std::size_t n) {
            for (std::size_t k = 0; k < n && intact; ++k)
                intact = static_cast<unsigned char>(p[k]) == Pattern(got + k);
            got += n;
            if (got >= kBurst) loop.quit();
        };
        const double cpu0 = ProcessCpu();
        const auto t0 = Clock::now();
        std::thread writer([&] { pty.Write(data, std::chrono::seconds(60)); });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
        guard.start(60000);
        loop.exec();
        writer.join();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - t0).count());
        cpu += ProcessCpu() - cpu0;
        if (got != kBurst || !intact) state.SkipWithError("bytes lost, reordered or changed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBurst));
    state.counters["cpu_ms_per_10MB"] = cpu * 1e3 / static_cast<double>(state.iterations());
}

// The GUI thread's whole time for the write: Qt hands the bytes to the
// terminal later from its event loop, so that part (flushing) counts too.
template <class R>
void ShortWrite(benchmark::State& state) {
    testsupport::PtyPair pty;
    R rx(pty.SlavePath());
    for (auto _ : state) {
        const auto t0 = Clock::now();
        rx.Write("hello", 5);
        rx.Flush();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - t0).count());
        if (pty.Read(5).size() != 5) state.SkipWithError("write lost");
    }
}

// Wake-ups of the threads the port brought along (Qt's port has none).
template <class R>
void Idle(benchmark::State& state) {
    testsupport::PtyPair pty;
    const auto before = ThreadSwitches();
    R rx(pty.SlavePath());
    // The threads' first sleep (they have just started) is no idle wake-up.
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    double wakeups = 0, seconds = 0;
    for (auto _ : state) {
        const long start = Switches(ThreadSwitches(), before);
        const auto t0 = Clock::now();
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        seconds += std::chrono::duration<double>(Clock::now() - t0).count();
        wakeups += static_cast<double>(Switches(ThreadSwitches(), before) - start);
    }
    state.counters["wakeups_per_s"] = wakeups / seconds;
}

BENCHMARK(Latency<MoltrenReceiver>)
    ->Name("Latency/Moltren")
    ->UseManualTime()
    ->Iterations(3000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(Latency<QtReceiver>)
    ->Name("Latency/QtSerialPort")
    ->UseManualTime()
    ->Iterations(3000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(Burst<MoltrenReceiver>)
    ->Name("Burst10MB/Moltren")
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Burst<QtReceiver>)
    ->Name("Burst10MB/QtSerialPort")
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ShortWrite<MoltrenReceiver>)
    ->Name("ShortWrite/Moltren")
    ->UseManualTime()
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(ShortWrite<QtReceiver>)
    ->Name("ShortWrite/QtSerialPort")
    ->UseManualTime()
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(Idle<MoltrenReceiver>)->Name("Idle/Moltren")->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(Idle<QtReceiver>)->Name("Idle/QtSerialPort")->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
