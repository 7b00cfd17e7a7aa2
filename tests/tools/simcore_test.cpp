#include "tools/device-sim/simcore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <sstream>

using namespace devsim;
using namespace std::chrono;

namespace {

Bytes Record(const std::string& text) {
    return "\xF0\x01\x02\x03" + text + "\xFF";
}

// The two records of the reading notes' worked example: device 7, 5 October.
Archive WorkedExample() {
    Archive a;
    a.Add({10, 5}, "05 10 12 30 1.5 0 9999 abc");
    a.Add({10, 5}, "05 10 13 00 2.25 0 10 7");
    return a;
}

DeviceOptions Number(int n) {
    DeviceOptions o;
    o.device = n;
    return o;
}

} // namespace

TEST(SimFrames, BcdAndCommandFrames) {
    EXPECT_EQ(ToBcd(12), 0x12);
    EXPECT_EQ(ToBcd(5), 0x05);
    EXPECT_EQ(FromBcd(0x31), 31);
    EXPECT_EQ(FromBcd(0x1A), -1);
    EXPECT_EQ(ResetFrame(7), Bytes("\x07\x01\x00\x00\x07", 5));
    EXPECT_EQ(ReadDayFrame(7, 10, 5), Bytes("\x07\x03\x10\x05\x07", 5));
    EXPECT_EQ(ReadDayFrame(10, 12, 31), Bytes("\x0A\x03\x12\x31\x0A", 5));
}

TEST(SimDevice, WorkedExampleInOneReply) {
    Device dev(WorkedExample(), Number(7));
    EXPECT_EQ(dev.Receive(ResetFrame(7)), std::vector<Bytes>{"\xF0\x01\x02\x03\xFF"});
    const auto replies = dev.Receive(ReadDayFrame(7, 10, 5));
    ASSERT_EQ(replies.size(), 1u);
    const Bytes expected = Record("05 10 12 30 1.5 0 9999 abc") + Record("05 10 13 00 2.25 0 10 7") + "?\xFF";
    EXPECT_EQ(replies[0], expected);
    EXPECT_EQ(replies[0].size(), 61u);
    EXPECT_EQ(dev.Commands(), 2);
}

TEST(SimDevice, PortionsAndDayEndStyles) {
    auto options = Number(7);
    options.portion = 1;
    Device inlineEnd(WorkedExample(), options);
    inlineEnd.Receive(ResetFrame(7));
    EXPECT_EQ(inlineEnd.Receive(ReadDayFrame(7, 10, 5))[0], Record("05 10 12 30 1.5 0 9999 abc") + "=");
    const auto last = inlineEnd.Receive(ReadDayFrame(7, 10, 5))[0];
    EXPECT_EQ(last, Record("05 10 13 00 2.25 0 10 7") + "?\xFF");
    EXPECT_EQ(last.size(), 30u);
    // Asked again without a reset: the day is exhausted.
    EXPECT_EQ(inlineEnd.Receive(ReadDayFrame(7, 10, 5))[0], "?\xFF");
    // A reset starts the day over.
    inlineEnd.Receive(ResetFrame(7));
    EXPECT_EQ(inlineEnd.Receive(ReadDayFrame(7, 10, 5))[0].size(), 32u);

    options.portion = 0;
    options.dayEnd = DayEndStyle::Separate;
    Device separate(WorkedExample(), options);
    separate.Receive(ResetFrame(7));
    EXPECT_EQ(separate.Receive(ReadDayFrame(7, 10, 5))[0],
              Record("05 10 12 30 1.5 0 9999 abc") + Record("05 10 13 00 2.25 0 10 7") + "=");
    EXPECT_EQ(separate.Receive(ReadDayFrame(7, 10, 5))[0], "?\xFF");

    // A day the device does not hold.
    EXPECT_EQ(separate.Receive(ReadDayFrame(7, 10, 6))[0], "?\xFF");
}

TEST(SimDevice, FramingWrongNumbersAndGarbageOnTheLine) {
    Device dev(WorkedExample(), Number(7));
    // A frame split over two reads, after bytes that start no frame.
    EXPECT_TRUE(dev.Receive(Bytes("\x00\x55\x07\x01", 4)).empty());
    EXPECT_EQ(dev.Receive(Bytes("\x00\x00\x07", 3)).size(), 1u);
    // A frame for device 8 is heard but not answered.
    EXPECT_TRUE(dev.Receive(ResetFrame(8)).empty());
    // Two frames in one read give two replies.
    EXPECT_EQ(dev.Receive(ResetFrame(7) + ReadDayFrame(7, 10, 5)).size(), 2u);
    const auto& frames = dev.Frames();
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_TRUE(frames[0].toMe && frames[0].answered);
    EXPECT_FALSE(frames[1].toMe || frames[1].answered);
    EXPECT_EQ(dev.Commands(), 3);
    // An unknown command and a day that is not BCD.
    EXPECT_TRUE(dev.Receive(Bytes("\x07\x09\x00\x00\x07", 5)).empty());
    EXPECT_EQ(dev.Receive(Bytes("\x07\x03\x1A\x05\x07", 5))[0], "?\xFF");
}

TEST(SimDevice, SilenceAndGarbageInReplies) {
    auto options = Number(1);
    options.silentFrom = 2; // answer the first command only
    Device silent(WorkedExample(), options);
    EXPECT_EQ(silent.Receive(ResetFrame(1)).size(), 1u);
    EXPECT_TRUE(silent.Receive(ReadDayFrame(1, 10, 5)).empty());
    EXPECT_TRUE(silent.Receive(ResetFrame(1)).empty());

    options.silentCount = 1; // silent for the second command only
    Device once(WorkedExample(), options);
    EXPECT_EQ(once.Receive(ResetFrame(1)).size(), 1u);
    EXPECT_TRUE(once.Receive(ResetFrame(1)).empty());
    EXPECT_EQ(once.Receive(ResetFrame(1)).size(), 1u);

    auto noisy = Number(1);
    noisy.garbageBefore = "\x11";
    noisy.garbageBetween = "\x22\x33";
    Device dev(WorkedExample(), noisy);
    EXPECT_EQ(dev.Receive(ResetFrame(1))[0], "\x11\xF0\x01\x02\x03\xFF");
    EXPECT_EQ(dev.Receive(ReadDayFrame(1, 10, 5))[0], "\x11" + Record("05 10 12 30 1.5 0 9999 abc") +
                                                          "\x22\x33" + Record("05 10 13 00 2.25 0 10 7") +
                                                          "?\xFF");
}

TEST(SimArchive, GeneratedHourlyRecords) {
    GenerateOptions g;
    g.first = year{2009} / December / day{31};
    g.days = 2;
    g.recordsPerDay = 24;
    g.values = 13;
    g.missingEvery = 7;
    const Archive a = GenerateArchive(g);
    ASSERT_EQ(a.Days().size(), 2u);
    const auto& dec31 = a.Day({12, 31});
    const auto& jan1 = a.Day({1, 1});
    ASSERT_EQ(dec31.size(), 24u);
    ASSERT_EQ(jan1.size(), 24u);
    EXPECT_EQ(dec31[0].substr(0, 12), "31 12 00 00 ");
    EXPECT_EQ(dec31[23].substr(0, 12), "31 12 23 00 ");
    EXPECT_EQ(jan1[5].substr(0, 12), "01 01 05 00 ");
    const std::regex value(R"(\d+\.\d\d|9999)");
    int missing = 0;
    for (const auto& days : {dec31, jan1}) {
        for (const auto& text : days) {
            std::istringstream in(text.substr(12));
            std::string token;
            int n = 0;
            while (in >> token) {
                ++n;
                EXPECT_TRUE(std::regex_match(token, value)) << token;
                EXPECT_NE(token, "99.99");
                missing += token == "9999";
            }
            EXPECT_EQ(n, 13);
            // Framing bytes never appear in a record's text.
            EXPECT_EQ(text.find_first_of(std::string("=?\xF0\xFF\0", 5)), std::string::npos);
        }
    }
    EXPECT_EQ(missing, 2 * 24 * 13 / 7);
}

TEST(SimArchive, OutOfOrderIsAShuffleAndSeedsRepeat) {
    GenerateOptions g;
    g.recordsPerDay = 48;
    const auto ordered = GenerateArchive(g).Day({10, 5});
    g.outOfOrder = true;
    const auto shuffled = GenerateArchive(g).Day({10, 5});
    EXPECT_EQ(shuffled, GenerateArchive(g).Day({10, 5}));
    EXPECT_NE(shuffled, ordered);
    EXPECT_EQ(std::set<std::string>(shuffled.begin(), shuffled.end()),
              std::set<std::string>(ordered.begin(), ordered.end()));
    EXPECT_EQ(ordered[1].substr(0, 11), "05 10 00 30");
}

TEST(SimArchive, ParsedFromText) {
    std::istringstream in("# device 7\n"
                          "05 10 13 00 2.25 0 10 7\r\n"
                          "\n"
                          "05 10 12 30 1.5 0 9999 abc\n"
                          "@ 28.02\n"
                          "31 02 10 00 7\n"
                          "xx\n");
    const Archive a = ParseArchive(in);
    EXPECT_EQ(a.Day({10, 5}),
              (std::vector<std::string>{"05 10 13 00 2.25 0 10 7", "05 10 12 30 1.5 0 9999 abc"}));
    EXPECT_EQ(a.Day({2, 28}), (std::vector<std::string>{"31 02 10 00 7", "xx"}));

    std::istringstream bad("05 10 12 30 1\nab cd 1\n");
    try {
        ParseArchive(bad);
        FAIL() << "a record without a day was accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
    }
    std::istringstream badDay("@ 32.01\n");
    EXPECT_THROW(ParseArchive(badDay), std::runtime_error);
}

TEST(SimLine, ByteTimeAndShapes) {
    EXPECT_EQ(ByteTime(9600), nanoseconds{1'145'833});
    EXPECT_EQ(ByteTime(0), nanoseconds{0});

    LineOptions line;
    line.latency = milliseconds{20};
    auto bursts = Shape("abcdefg", line);
    ASSERT_EQ(bursts.size(), 1u);
    EXPECT_EQ(bursts[0].delay, milliseconds{20});

    line.chunk = 3;
    line.gap = milliseconds{5};
    bursts = Shape("abcdefg", line);
    ASSERT_EQ(bursts.size(), 3u);
    EXPECT_EQ(bursts[0].bytes + "|" + bursts[1].bytes + "|" + bursts[2].bytes, "abc|def|g");
    EXPECT_EQ(bursts[1].delay, milliseconds{5});

    // Explicit cuts win over the chunk size; cuts outside the reply are ignored.
    line.splitAt = {6, 1, 1, 7, 40};
    bursts = Shape("abcdefg", line);
    ASSERT_EQ(bursts.size(), 3u);
    EXPECT_EQ(bursts[0].bytes + "|" + bursts[1].bytes + "|" + bursts[2].bytes, "a|bcdef|g");
}
