// The receive path against Qt SerialPort on the same kind of pseudo-terminal,
// both receiving on the GUI thread through its event loop:
// - Latency: one byte written to the master until the handler has read it
//   (manual time per event; p50/p99, CPU and thread wake-ups per event).
// - Burst: 10 MB from a writer thread, every byte checked in order.
// - ShortWrite: how long a 5-byte write keeps the GUI thread.
// - Idle: wake-ups per second of the threads other than the GUI thread while
//   the port is open and nothing arrives.
// Each measure runs both libraries in turn in one run and gives the ratio
// Moltren / Qt (throughput: Moltren's rate / Qt's rate) as a counter.

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

// Both receivers side by side, each on its own pseudo-terminal, so that both
// see the same machine (load changes from second to second).
struct Pair {
    testsupport::PtyPair moltrenPty, qtPty;
    MoltrenReceiver moltren{moltrenPty.SlavePath()};
    QtReceiver qt{qtPty.SlavePath()};
};

struct Samples {
    std::vector<double> times;
    double cpu = 0;
    double Mean() const {
        double sum = 0;
        for (double t : times) sum += t;
        return times.empty() ? 0 : sum / static_cast<double>(times.size());
    }
    double Quantile(double q) {
        std::sort(times.begin(), times.end());
        return times.empty() ? 0 : times[static_cast<std::size_t>(q * static_cast<double>(times.size() - 1))];
    }
};

// One event: a byte written to the master until the handler has it.
double OneEvent(testsupport::PtyPair& pty, Receiver& rx, QEventLoop& loop, std::size_t& got, double& cpu) {
    const std::size_t before = got;
    const double cpu0 = ProcessCpu();
    const auto t0 = Clock::now();
    pty.Write("a");
    while (got == before) loop.exec();
    const double s = std::chrono::duration<double>(Clock::now() - t0).count();
    cpu += ProcessCpu() - cpu0;
    return s;
}

void Latency(benchmark::State& state) {
    Pair p;
    QEventLoop loop;
    std::size_t gotM = 0, gotQ = 0;
    p.moltren.onData = [&](const char*, std::size_t n) {
        gotM += n;
        loop.quit();
    };
    p.qt.onData = [&](const char*, std::size_t n) {
        gotQ += n;
        loop.quit();
    };
    Samples m, q;
    double unused = 0;
    OneEvent(p.moltrenPty, p.moltren, loop, gotM, unused); // both settle first
    OneEvent(p.qtPty, p.qt, loop, gotQ, unused);
    // Qt's port has no threads: the other threads' wake-ups are Moltren's.
    const long switches0 = OtherThreadSwitches();
    for (auto _ : state) {
        m.times.push_back(OneEvent(p.moltrenPty, p.moltren, loop, gotM, m.cpu));
        q.times.push_back(OneEvent(p.qtPty, p.qt, loop, gotQ, q.cpu));
        state.SetIterationTime(m.times.back());
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["moltren_mean_us"] = m.Mean() * 1e6;
    state.counters["qt_mean_us"] = q.Mean() * 1e6;
    state.counters["ratio_mean"] = m.Mean() / q.Mean();
    const double m50 = m.Quantile(0.5), q50 = q.Quantile(0.5), m99 = m.Quantile(0.99), q99 = q.Quantile(0.99);
    state.counters["ratio_p50"] = m50 / q50;
    state.counters["ratio_p99"] = m99 / q99;
    state.counters["moltren_p99_us"] = m99 * 1e6;
    state.counters["qt_p99_us"] = q99 * 1e6;
    state.counters["moltren_cpu_us"] = m.cpu * 1e6 / n;
    state.counters["qt_cpu_us"] = q.cpu * 1e6 / n;
    state.counters["ratio_cpu"] = m.cpu / q.cpu;
    state.counters["moltren_thread_wakeups"] = static_cast<double>(OtherThreadSwitches() - switches0) / n;
}

// 10 MB from a writer thread; every byte checked in order. Returns the time.
double OneBurst(testsupport::PtyPair& pty, Receiver& rx, const std::string& data, double& cpu, bool& intact) {
    QEventLoop loop;
    std::size_t got = 0;
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
    const double s = std::chrono::duration<double>(Clock::now() - t0).count();
    cpu += ProcessCpu() - cpu0;
    intact = intact && got == kBurst;
    return s;
}

void Burst(benchmark::State& state) {
    std::string data(kBurst, '\0');
    for (std::size_t i = 0; i < kBurst; ++i) data[i] = static_cast<char>(Pattern(i));
    Pair p;
    double tm = 0, tq = 0, cm = 0, cq = 0;
    bool intact = true;
    for (auto _ : state) {
        const double m = OneBurst(p.moltrenPty, p.moltren, data, cm, intact);
        tq += OneBurst(p.qtPty, p.qt, data, cq, intact);
        tm += m;
        state.SetIterationTime(m);
    }
    if (!intact) state.SkipWithError("bytes lost, reordered or changed");
    const auto n = static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBurst));
    state.counters["moltren_MB_per_s"] = n * kBurst / tm / 1e6;
    state.counters["qt_MB_per_s"] = n * kBurst / tq / 1e6;
    state.counters["ratio_throughput"] = tq / tm;
    state.counters["moltren_cpu_ms"] = cm * 1e3 / n;
    state.counters["qt_cpu_ms"] = cq * 1e3 / n;
    state.counters["ratio_cpu"] = cm / cq;
}

// The GUI thread's whole time for a 5-byte write: Qt hands the bytes to the
// terminal later from its event loop, so that part (flushing) counts too.
double OneWrite(testsupport::PtyPair& pty, Receiver& rx, bool& lost) {
    const auto t0 = Clock::now();
    rx.Write("hello", 5);
    rx.Flush();
    const double s = std::chrono::duration<double>(Clock::now() - t0).count();
    lost = lost || pty.Read(5).size() != 5;
    return s;
}

void ShortWrite(benchmark::State& state) {
    Pair p;
    Samples m, q;
    bool lost = false;
    for (auto _ : state) {
        m.times.push_back(OneWrite(p.moltrenPty, p.moltren, lost));
        q.times.push_back(OneWrite(p.qtPty, p.qt, lost));
        state.SetIterationTime(m.times.back());
    }
    if (lost) state.SkipWithError("write lost");
    state.counters["moltren_mean_us"] = m.Mean() * 1e6;
    state.counters["qt_mean_us"] = q.Mean() * 1e6;
    state.counters["ratio_mean"] = m.Mean() / q.Mean();
    state.counters["ratio_p50"] = m.Quantile(0.5) / q.Quantile(0.5);
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

BENCHMARK(Latency)->UseManualTime()->Iterations(3000)->Unit(benchmark::kMicrosecond);
BENCHMARK(Burst)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(ShortWrite)->UseManualTime()->Iterations(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(Idle<MoltrenReceiver>)->Name("Idle/Moltren")->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(Idle<QtReceiver>)->Name("Idle/QtSerialPort")->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
