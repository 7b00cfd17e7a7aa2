#include "tools/device-sim/simoptions.h"

#include <gtest/gtest.h>

using namespace devsim;
using namespace std::chrono;

namespace {
const year_month_day kToday = year{2024} / March / day{2};
Config Parse(std::vector<std::string> args) {
    return ParseArguments(args, kToday);
}
} // namespace

TEST(SimOptions, DemoReadsWithTheMainWindowsFirstSettings) {
    const Config c = Parse({"--demo"});
    EXPECT_EQ(c.device.device, 1);
    EXPECT_EQ(c.line.baud, 9600);
    EXPECT_EQ(c.generate.days, 31);
    EXPECT_EQ(c.generate.recordsPerDay, 24);
    EXPECT_TRUE(c.registerPort);
    // A month that ends today, across the end of February of a leap year.
    EXPECT_EQ(c.generate.first, year{2024} / February / day{1});
    const Archive a = LoadArchive(c);
    EXPECT_EQ(a.Days().size(), 31u);
    EXPECT_EQ(a.RecordCount(), 31u * 24);
    EXPECT_EQ(a.Day({3, 2}).size(), 24u);
    EXPECT_EQ(a.Day({2, 29}).front().substr(0, 5), "29 02");

    // Later options change the demo, wherever --demo stands.
    const Config slow = Parse({"--baud", "1200", "--demo", "--device", "13"});
    EXPECT_EQ(slow.line.baud, 1200);
    EXPECT_EQ(slow.device.device, 13);
    EXPECT_EQ(slow.device.portion, 8u);
}

TEST(SimOptions, EveryKnob) {
    const Config c = Parse({"--device",
                            "19",
                            "--baud",
                            "0",
                            "--latency",
                            "5",
                            "--chunk",
                            "7",
                            "--gap",
                            "30",
                            "--split-at",
                            "3,1",
                            "--first",
                            "2009-12-30",
                            "--days",
                            "3",
                            "--per-day",
                            "2",
                            "--values",
                            "13",
                            "--missing-every",
                            "5",
                            "--out-of-order",
                            "--seed",
                            "9",
                            "--portion",
                            "1",
                            "--day-end",
                            "separate",
                            "--header",
                            "0a 0b 0c",
                            "--reset-reply",
                            "F0:FF",
                            "--garbage-before",
                            "11",
                            "--garbage-between",
                            "2233",
                            "--silent-after",
                            "4",
                            "--silent-for",
                            "2",
                            "--no-register"});
    EXPECT_EQ(c.device.device, 19);
    EXPECT_EQ(c.line.baud, 0);
    EXPECT_EQ(c.line.latency, milliseconds{5});
    EXPECT_EQ(c.line.chunk, 7u);
    EXPECT_EQ(c.line.gap, milliseconds{30});
    EXPECT_EQ(c.line.splitAt, (std::vector<std::size_t>{3, 1}));
    EXPECT_EQ(c.generate.first, year{2009} / December / day{30});
    EXPECT_EQ(c.generate.days, 3);
    EXPECT_EQ(c.generate.recordsPerDay, 2);
    EXPECT_EQ(c.generate.values, 13);
    EXPECT_EQ(c.generate.missingEvery, 5);
    EXPECT_TRUE(c.generate.outOfOrder);
    EXPECT_EQ(c.generate.seed, 9u);
    EXPECT_EQ(c.device.portion, 1u);
    EXPECT_EQ(c.device.dayEnd, DayEndStyle::Separate);
    EXPECT_EQ(c.device.header, "\x0A\x0B\x0C");
    EXPECT_EQ(c.device.resetReply, "\xF0\xFF");
    EXPECT_EQ(c.device.garbageBefore, "\x11");
    EXPECT_EQ(c.device.garbageBetween, "\x22\x33");
    EXPECT_EQ(c.device.silentFrom, 5);
    EXPECT_EQ(c.device.silentCount, 2);
    EXPECT_FALSE(c.registerPort);

    // Without --first the generated days end today.
    EXPECT_EQ(Parse({"--days", "3"}).generate.first, year{2024} / February / day{29});
}

TEST(SimOptions, RejectsWhatItCannotServe) {
    for (const auto& args : std::vector<std::vector<std::string>>{{"--device", "0"},
                                                                  {"--device", "256"},
                                                                  {"--device"},
                                                                  {"--baud", "fast"},
                                                                  {"--days", "0"},
                                                                  {"--first", "2023-02-29"},
                                                                  {"--day-end", "late"},
                                                                  {"--header", "F"},
                                                                  {"--header", "xy"},
                                                                  {"--split-at", "3,,4"},
                                                                  {"--bogus"}}) {
        EXPECT_THROW(Parse(args), std::invalid_argument) << args[0];
    }
}
