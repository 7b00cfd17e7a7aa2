// End to end: the main window reads the simulated device over a
// pseudo-terminal, through the serial port component and the port list; the
// pauses and the reply time-out run on the manual clock.
#include "serial/comportctrls.h"
#include "tests/archive/readroad_harness.h"
#include "tests/support/fixedclock.h"

#include "platform/core/dateutils.h"
#include "tests/archive/graphcheck.h"
#include "tests/support/childprocess.h"
#include "tests/support/guiprobe.h"
#include "tools/device-sim/portlist.h"
#include "tools/device-sim/ptydevice.h"

#include <cstdio>
#include <random>

using namespace readroad;
using namespace std::chrono_literals;

namespace {

// The main window and whatever device answers on the port it picks from its list.
class SimHarness : public FormHarness {
public:
    SimHarness() { setenv("XDG_CONFIG_HOME", dir.path.c_str(), 1); }
    ~SimHarness() override {
        if (form) form->Free();
        form = nullptr;
        unsetenv("XDG_CONFIG_HOME");
    }

    // Opens the main window and picks the port from its list.
    void Open(const std::string& port, int device) {
        CreateForm();
        PickPort(port);
        Device(device);
        WatchReplies();
    }
    // The operator picks the port in the list.
    void PickPort(const std::string& port) {
        const int index = form->ComComboBox->GetItems()->IndexOf(AnsiToString(port));
        ASSERT_GE(index, 0) << port << " is not in the port list";
        form->ComComboBox->SetItemIndex(index);
        probe::Choose(*form->ComComboBox, index);
    }
    // Notes the last byte the window reads: a device's reply always ends in "=" or 0xFF.
    void WatchReplies() {
        auto handler = form->ComPort->OnRxChar;
        form->ComPort->OnRxChar.Bind([this, handler](TObject* sender, Integer count) {
            handler(sender, count);
            if (!form->rxChunk.empty()) last = form->rxChunk.back();
        });
    }

    // The last reply has been read whole and nothing waits in the driver.
    bool Quiet() const { return (last == '=' || last == '\xFF') && form->ComPort->InputCount() == 0; }

    // Runs the read to its end, firing each pause once the line is quiet;
    // `timeOutAfter` lets the reply time-out pass once the device has had
    // that many commands.
    bool Drive(const std::function<bool()>& stop = {}, const std::function<int()>& commands = {},
               int timeOutAfter = -1) {
        return testsupport::WaitUntil(
            [&] { return !Reading() || (stop && stop()); },
            [&] {
                Pump();
                if (!Reading() || (stop && stop()) || !Quiet() || FirePause()) return;
                if (timeOutAfter >= 0 && commands() >= timeOutAfter &&
                    clock.IsRunning(form->TimerComWaitPacket))
                    clock.Advance(static_cast<unsigned>(clock.DueIn(form->TimerComWaitPacket)));
            },
            30s);
    }

    char last = '\xFF';
};

// A simulated device on a pseudo-terminal in this process, listed as a port.
class SimRead : public ::testing::Test {
protected:
    void Start(devsim::Archive archive, devsim::DeviceOptions device, devsim::LineOptions line = Unpaced()) {
        sim = std::make_unique<devsim::PtyDevice>(devsim::Device(std::move(archive), device), line);
        devsim::RegisterPort(sim->SlavePath());
        h.Open(sim->SlavePath(), device.device);
    }
    static devsim::LineOptions Unpaced() {
        devsim::LineOptions l;
        l.baud = 0;
        l.latency = 0ms;
        return l;
    }
    bool Drive(int timeOutAfter = -1) {
        return h.Drive(
            {}, [&] { return sim->Status().commands; }, timeOutAfter);
    }
    void TearDown() override {
        if (sim) devsim::UnregisterPort(sim->SlavePath());
    }

    // The device outlives the window, whose port is open on it.
    std::unique_ptr<devsim::PtyDevice> sim;
    SimHarness h;
};

devsim::Archive Generated(std::chrono::year_month_day first, int days, int values, int perDay = 24) {
    devsim::GenerateOptions g;
    g.first = first;
    g.days = days;
    g.values = values;
    g.recordsPerDay = perDay;
    return devsim::GenerateArchive(g);
}

} // namespace

TEST_F(SimRead, SingleDayIsTheWorkedExample) {
    Start(WorkedArchive(), DeviceNumber(7));
    h.Day(EncodeDate(2009, 10, 5));
    h.Read();
    ASSERT_TRUE(Drive());
    EXPECT_EQ(h.Grid(), WorkedTable);
    EXPECT_EQ(h.Log(), WorkedLog);
    EXPECT_EQ(h.Panel(1), "61 байт принято");
    EXPECT_TRUE(h.dialogs.empty());
    EXPECT_EQ(sim->Status().commands, 3);
}

TEST_F(SimRead, ThreeDayIntervalInPortions) {
    using namespace std::chrono;
    Start(Generated(year{2009} / October / 30, 3, 5), DeviceNumber(13, 5));
    h.Interval(EncodeDate(2009, 10, 30), EncodeDate(2009, 11, 1));
    h.Read();
    ASSERT_TRUE(Drive());
    const Table t = h.Grid();
    ASSERT_EQ(t.size(), 1u + 3 * 24);
    EXPECT_EQ(t[0].size(), 6u);
    EXPECT_EQ(t[1][0], "30.10.2009");
    EXPECT_EQ(t[25][0], "31.10.2009");
    EXPECT_EQ(t[72][0], "01.11.2009 23:00:00");
    // Reset, then per day five portions and a reset.
    EXPECT_EQ(sim->Status().commands, 1 + 3 * (5 + 1));
    EXPECT_TRUE(h.dialogs.empty());
}

TEST_F(SimRead, IntervalAcrossNewYear) {
    using namespace std::chrono;
    Start(Generated(year{2009} / December / 31, 2, 1, 2), DeviceNumber(1));
    h.Interval(EncodeDate(2009, 12, 31), EncodeDate(2010, 1, 1));
    h.Read();
    ASSERT_TRUE(Drive());
    const Table t = h.Grid();
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(t[1][0], "31.12.2009");
    EXPECT_EQ(t[2][0], "31.12.2009 12:00:00");
    EXPECT_EQ(t[3][0], "01.01.2010");
    EXPECT_EQ(t[4][0], "01.01.2010 12:00:00");
}

TEST_F(SimRead, GarbageBetweenRecordsAndRecordsOutOfOrder) {
    auto o = DeviceNumber(7);
    o.garbageBetween = "\x01\xFFxyz\xFF";
    devsim::Archive a;
    a.Add({10, 5}, "05 10 13 00 2.25 0 10 7");
    a.Add({10, 5}, "05 10 12 30 1.5 0 9999 abc");
    Start(a, o);
    h.Day(EncodeDate(2009, 10, 5));
    h.Read();
    ASSERT_TRUE(Drive());
    EXPECT_EQ(h.Grid(), WorkedTable);
    EXPECT_EQ(h.Log(), (Lines{WorkedLog[1], WorkedLog[0]}));
}

TEST_F(SimRead, TimeOutWhenTheDeviceFallsSilent) {
    auto o = DeviceNumber(7, 1);
    o.silentFrom = 3; // the reset and the first portion are answered
    o.silentCount = 1;
    Start(WorkedArchive(), o);
    h.Day(EncodeDate(2009, 10, 5));
    h.Read();
    ASSERT_TRUE(Drive(3));
    ASSERT_EQ(h.dialogs.size(), 1u);
    EXPECT_EQ(h.dialogs[0].Text, u"Ошибка чтения архива");
    EXPECT_EQ(h.beeps, 1);
    EXPECT_EQ(h.Panel(0), "Err");
    EXPECT_EQ(h.Log(), Lines{WorkedLog[0]});
    EXPECT_TRUE(h.form->ComPort->GetConnected());
    // Speaking again, the device is read whole by the next read.
    h.Read();
    ASSERT_TRUE(Drive());
    EXPECT_EQ(h.Grid(), WorkedTable);
    EXPECT_EQ(h.dialogs.size(), 1u);
}

TEST_F(SimRead, AbortMidRead) {
    using namespace std::chrono;
    Start(Generated(year{2009} / October / 1, 10, 3), DeviceNumber(1, 8));
    h.Interval(EncodeDate(2009, 10, 1), EncodeDate(2009, 10, 10));
    h.Read();
    // Two days in: the pause before the reset that follows the second runs.
    ASSERT_TRUE(h.Drive([&] { return h.form->StringGrid->GetRowCount() > 30; }));
    ASSERT_TRUE(h.clock.IsRunning(h.form->TimerWaitReset));
    const std::size_t frames = sim->Status().frames;
    h.Read(); // "Прервать"
    // Taken up by the reply to that reset.
    ASSERT_TRUE(Drive());
    EXPECT_EQ(h.Grid().size(), 1u + 2 * 24);
    // The abort's own reset goes out, and nothing after it.
    ASSERT_TRUE(
        sim->WaitFor([&](const devsim::DeviceStatus& s) { return s.frames == frames + 2 && s.idle; }, 3s));
    EXPECT_EQ(sim->Frames().back().bytes, Frame({1, 1, 0, 0, 1}));
    h.clock.Advance(60000);
    h.Pump();
    EXPECT_EQ(sim->Status().frames, frames + 2);
    EXPECT_TRUE(h.dialogs.empty());
}

// A slow device (150 ms before each reply) answering in random pieces at
// random pauses, and an operator who aborts at a random moment and starts
// again at once. The reply to the abort's reset then comes after the new read
// has discarded its input and passes for the new reset's reply; the new
// reset's own reply falls in the pause before the day is asked for. The
// pauses run on the real clock here, so they meet the replies as on a line.
TEST_F(SimRead, AbortAndReadAgainAtOnceWithASlowDeviceAtRandomTimes) {
    using namespace std::chrono;
    auto line = Unpaced();
    line.latency = 150ms;
    Start(WorkedArchive(), DeviceNumber(7, 1), line);
    Application->SetClock(nullptr);
    h.Day(EncodeDate(2009, 10, 5));
    const auto pumpUntil = [&](const std::function<bool()>& done, milliseconds bound) {
        return testsupport::WaitUntil(
            done, [&] { h.Pump(); }, bound);
    };
    std::mt19937 random(7);
    for (int round = 0; round < 2; ++round) {
        const auto delay = milliseconds(random() % 1000);
        sim->Change([&](devsim::Device& d, devsim::LineOptions& l) {
            d.Options().dayEnd = random() % 2 ? devsim::DayEndStyle::Separate : devsim::DayEndStyle::Inline;
            l.baud = random() % 2 ? 9600 : 0;
            l.chunk = random() % 12;
            l.gap = milliseconds(random() % 20);
        });
        const std::string where =
            "round " + std::to_string(round) + ", abort after " + std::to_string(delay.count()) + " ms";
        h.Read();
        const auto abortAt = steady_clock::now() + delay;
        pumpUntil([&] { return steady_clock::now() >= abortAt; }, 3s);
        if (h.Reading()) {
            h.Read(); // "Прервать", taken up by the next chunk
            ASSERT_TRUE(pumpUntil([&] { return !h.Reading(); }, 5s)) << where;
        }
        h.Read();
        ASSERT_TRUE(pumpUntil([&] { return !h.Reading(); }, 10s)) << where;
        ASSERT_EQ(h.Grid(), WorkedTable) << where;
        ASSERT_EQ(h.Log(), WorkedLog) << where;
        ASSERT_TRUE(h.dialogs.empty()) << where;
        // Nothing of this round is left on the line for the next.
        ASSERT_TRUE(sim->WaitFor([](const devsim::DeviceStatus& s) { return s.idle; }, 3s));
        pumpUntil([] { return false; }, 200ms);
    }
}

// The device unplugged between two reads: the command cannot be written, and
// the operator gets one box.
TEST_F(SimRead, DeviceUnpluggedBeforeARead) {
    Start(WorkedArchive(), DeviceNumber(7));
    h.Day(EncodeDate(2009, 10, 5));
    h.Read();
    ASSERT_TRUE(Drive());
    ASSERT_TRUE(h.dialogs.empty());
    const std::string port = sim->SlavePath();
    sim.reset();
    h.Read();
    h.clock.Advance(60000);
    h.Pump();
    ASSERT_EQ(h.dialogs.size(), 1u);
    EXPECT_EQ(h.dialogs[0].Text, u"Ошибка чтения архива");
    EXPECT_EQ(h.beeps, 1);
    EXPECT_FALSE(h.Reading());
    devsim::UnregisterPort(port);
}

// The simulator program as scripts/run --demo starts it (unpaced here): its
// port is in the main window's list, and a month up to today is read from it.
// Today is a day of the test's own, the same for the program and the device.
TEST(SimProgram, DemoMonthIsReadFromTheListedPort) {
    const TDateTime today = EncodeDate(2023, 3, 15);
    const FixedClock clock(today + EncodeTime(12, 0, 0, 0));
    SimHarness h;
    ChildProcess simulator(DEVICE_SIM_PROGRAM,
                           {"--demo", "--first", "2023-02-13", "--baud", "0", "--latency", "0"});
    ASSERT_TRUE(simulator.Started());
    const std::string port = simulator.ReadLine();
    ASSERT_FALSE(port.empty());

    h.CreateForm();
    const graphtest::SettingsDialog settings;
    // The demo's port is listed as COM1, the name the window's port starts
    // with, so it is chosen when the window opens: device 1 at 9600 baud, and
    // the operator only asks for the month.
    EXPECT_EQ(h.form->ComComboBox->GetText(), u"COM1");
    ASSERT_EQ(win32::RegisteredPortDevice("COM1"), port); // never the machine's own COM1
    EXPECT_EQ(h.form->ComboBoxDevNum->GetText(), u"1");
    EXPECT_EQ(h.form->ComboBox1->GetText(), u"9600");
    h.WatchReplies();
    h.Interval(today - 30, today);
    h.Read();
    const bool done = h.Drive();
    simulator.Terminate();
    ASSERT_TRUE(done);
    EXPECT_TRUE(h.dialogs.empty());
    const Table t = h.Grid();
    ASSERT_EQ(t.size(), 1u + 31 * 24);
    EXPECT_EQ(t[0].size(), 5u);
    EXPECT_EQ(t[1][0], StringToAnsi(DateToStr(today - 30)));
    EXPECT_EQ(t.back()[0], StringToAnsi(DateTimeToStr(today + EncodeTime(23, 0, 0, 0))));
    for (const auto& row : t) EXPECT_NE(row[0], "Err.4");

    // Ctrl+G and every column ticked: the window plots every reading read.
    const auto shown = graphtest::OpenGraphOfEveryColumn(*h.form);
    ASSERT_EQ(shown.size(), 4u);
    for (std::size_t k = 0; k < shown.size(); ++k) {
        EXPECT_EQ(shown[k].title, "Значение" + std::to_string(k + 1));
        ASSERT_EQ(shown[k].window.size(), 31u * 24);
        EXPECT_EQ(shown[k].window, shown[k].data);
        EXPECT_EQ(shown[k].window.front().x, today - 30);
        EXPECT_EQ(shown[k].window.back().x, today + EncodeTime(23, 0, 0, 0));
        // The table's value in the graph, row by row.
        for (std::size_t r = 0; r < shown[k].window.size(); r += 97) {
            const graphtest::Point p = shown[k].window[r];
            ASSERT_FALSE(std::isnan(p.y));
            EXPECT_EQ(FloatToStr(p.y), AnsiToString(t[r + 1][k + 1]));
        }
    }
}
