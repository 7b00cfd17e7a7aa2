// A one-day read of the simulated device at 9600 baud, on the real clock and
// the program's own message loop, against the protocol's floor: every byte the
// device sends takes 11 bit times (start, 8 data, 2 stop) and every pause
// 300 ms. The simulator does not pace the window's own commands; on a real
// line their 15 bytes would add 17 ms.
#include "archive/mainform.h"
#include "bench/benchmain.h"
#include "platform/core/dateutils.h"
#include "platform/win32/serialcomm.h"
#include "serial/comportctrls.h"
#include "tools/device-sim/portlist.h"
#include "tools/device-sim/ptydevice.h"

#include <QComboBox>

#include <chrono>
#include <filesystem>

namespace {

constexpr int Baud = 9600;
constexpr double Pause = 0.3;

void PacedDay(benchmark::State& state) {
    using namespace std::chrono;
    FormatSettings = RussianFormatSettings();
    const auto portion = static_cast<std::size_t>(state.range(0));

    // The device's port is listed in a port list of our own.
    const auto dir = std::filesystem::temp_directory_path() / "moltren-bench-pacedread";
    std::filesystem::create_directories(dir / "tty");
    win32::SetSerialCommSources(dir / "tty", dir / "moltren" / "serialcomm");
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);

    devsim::GenerateOptions g;
    g.first = year{2009} / October / 5;
    g.days = 1;
    g.values = 13;
    devsim::DeviceOptions device;
    device.device = 1;
    device.portion = portion;
    devsim::LineOptions line;
    line.baud = Baud;
    line.latency = 0ms;
    devsim::PtyDevice sim(devsim::Device(devsim::GenerateArchive(g), device), line);
    devsim::RegisterPort(sim.SlavePath());

    TMainForm* form = nullptr;
    Application->CreateForm(form);
    const int index = form->ComComboBox->GetItems()->IndexOf(AnsiToString(sim.SlavePath()));
    form->ComComboBox->SetItemIndex(index);
    emit form->ComComboBox->ComboBox()->activated(index);
    form->DateTimePickerStartDate->SetDate(EncodeDate(2009, 10, 5));

    double floor = 0, wall = 0, bytes = 0;
    for (auto _ : state) {
        const auto sentBefore = sim.Status().bytesSent;
        const int commandsBefore = sim.Status().commands;
        const auto start = steady_clock::now();
        form->ReadArch->Execute();
        while (form->BitBtn1->GetCaption() != u"Читать архив") Application->HandleMessage();
        const double seconds = duration<double>(steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        if (form->StringGrid->GetRowCount() != 25) state.SkipWithError("the day was not read whole");
        bytes = static_cast<double>(sim.Status().bytesSent - sentBefore);
        // A pause follows every reply but the last reset's.
        const int pauses = sim.Status().commands - commandsBefore - 1;
        floor += bytes * 11 / Baud + Pause * pauses;
        wall += seconds;
    }
    state.counters["bytes"] = bytes;
    state.counters["floor_ms"] = floor / static_cast<double>(state.iterations()) * 1000;
    state.counters["over_floor_%"] = (wall / floor - 1) * 100;
    form->Free();
    devsim::UnregisterPort(sim.SlavePath());
    win32::SetSerialCommSources({}, {});
    std::filesystem::remove_all(dir);
}
// The whole day in one reply, and in portions of 8 records.
BENCHMARK(PacedDay)->Arg(0)->Arg(8)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
