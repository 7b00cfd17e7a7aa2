// A port whose line hung up: its service thread waits for the close instead
// of spinning. The figure is the process's CPU time over wall time while the
// port stays open (near 0; a spinning thread shows about 1).
#include "bench/benchmain.h"
#include "platform/win32/comm.h"
#include "tests/support/pty.h"

#include <chrono>
#include <thread>

namespace {

void HungUpLineIdles(benchmark::State& state) {
    testsupport::PtyPair pty;
    const HANDLE h = CreateFileW(pty.SlavePathW().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        state.SkipWithError("the pseudo-terminal does not open");
        return;
    }
    SetCommMask(h, EV_RXCHAR | EV_CTS | EV_DSR | EV_RLSD | EV_RING | EV_ERR);
    OVERLAPPED ov{};
    ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD events = 0;
    WaitCommEvent(h, &events, &ov);
    pty.CloseMaster();
    if (WaitForSingleObject(ov.hEvent, 2000) != WAIT_OBJECT_0) state.SkipWithError("the hang-up went unseen");
    for (auto _ : state) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    CloseHandle(h);
    CloseHandle(ov.hEvent);
}
BENCHMARK(HungUpLineIdles)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Iterations(6)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
