// The read road on the recording comm backend and a manual clock: commands,
// reply framing, pauses, time-out and abort, chunk by chunk.
#include "serial/comportctrls.h"
#include "tests/archive/readroad_harness.h"

#include "platform/core/dateutils.h"

#include <clocale>
#include <fstream>
#include <iterator>

using namespace readroad;

namespace {

const std::string Reset7 = Frame({7, 1, 0, 0, 7});
const std::string Read7Oct5 = Frame({7, 3, 0x10, 0x05, 7});
const std::string ResetReply = "\xF0\x01\x02\x03\xFF";
const std::string Rec1 = Record("05 10 12 30 1.5 0 9999 abc");
const std::string Rec2 = Record("05 10 13 00 2.25 0 10 7");

devsim::Device Device7(devsim::Archive archive = WorkedArchive(), std::size_t portion = 0,
                       devsim::DayEndStyle end = devsim::DayEndStyle::Inline) {
    return devsim::Device(std::move(archive), DeviceNumber(7, portion, end));
}

// Starts a read and answers its opening reset: the read-day command is out.
void AskForTheDay(LineHarness& h) {
    h.Read();
    h.Deliver(ResetReply);
    h.clock.Advance(300);
}

void ExpectIdle(LineHarness& h) {
    EXPECT_FALSE(h.Reading());
    EXPECT_EQ(h.form->ReadArch1->GetCaption(), u"Читать архив");
    EXPECT_TRUE(h.form->ExcelExport->GetEnabled());
    EXPECT_TRUE(h.form->TextExport->GetEnabled());
    for (TControl* c : std::initializer_list<TControl*>{
             h.form->ComComboBox, h.form->ComboBox1, h.form->ComboBoxDevNum, h.form->RadioGroup,
             h.form->DateTimePickerStartDate, h.form->DateTimePickerFinish})
        EXPECT_TRUE(c->GetEnabled()) << StringToAnsi(c->GetName());
    EXPECT_EQ(Screen->GetCursor(), crDefault);
    // No pause or time-out outlives a read.
    EXPECT_FALSE(h.AnyTimerRunning());
}

// The day's reset goes out exactly `ms` from now, and its reply ends the read
// with the worked example's table.
void ExpectWorkedDayFinishedAfter(LineHarness& h, unsigned ms) {
    h.clock.Advance(ms - 1);
    EXPECT_EQ(h.Sent(), "");
    h.clock.Advance(1);
    EXPECT_EQ(h.Sent(), Reset7);
    h.Deliver(ResetReply);
    ExpectIdle(h);
    EXPECT_EQ(h.Grid(), WorkedTable);
}

} // namespace

TEST(ReadRoad, WorkedExampleChunkByChunk) {
    LineHarness h;
    h.Read();
    EXPECT_TRUE(h.Reading());
    EXPECT_EQ(h.form->ReadArch1->GetCaption(), u"Прервать");
    EXPECT_EQ(Screen->GetCursor(), crHourGlass);
    EXPECT_FALSE(h.form->ExcelExport->GetEnabled());
    EXPECT_FALSE(h.form->TextExport->GetEnabled());
    EXPECT_FALSE(h.form->ComComboBox->GetEnabled());
    EXPECT_FALSE(h.form->RadioGroup->GetEnabled());
    EXPECT_FALSE(h.form->DateTimePickerFinish->GetEnabled());
    EXPECT_EQ(h.Sent(), Reset7);
    EXPECT_EQ(h.clock.DueIn(h.form->TimerComWaitPacket), 3500);

    // A reset reply whose 0xFF comes in a later chunk completes only then.
    h.Deliver("\xF0\x01\x02");
    h.clock.Advance(3000);
    EXPECT_FALSE(h.clock.IsRunning(h.form->TimerSendREData));
    h.Deliver("\x03\xFF");
    EXPECT_FALSE(h.clock.IsRunning(h.form->TimerComWaitPacket));
    h.clock.Advance(299);
    EXPECT_EQ(h.Sent(), "");
    h.clock.Advance(1);
    EXPECT_EQ(h.Sent(), Read7Oct5);

    // A slow but steady reply: every chunk restarts the reply time-out.
    const std::string reply = Rec1 + Rec2 + "?\xFF";
    ASSERT_EQ(reply.size(), 61u);
    const std::size_t cuts[] = {0, 1, 21, 51, 61};
    for (std::size_t i = 0; i + 1 < std::size(cuts); ++i) {
        h.clock.Advance(3499);
        h.Deliver(reply.substr(cuts[i], cuts[i + 1] - cuts[i]));
    }
    EXPECT_EQ(h.Panel(1), "61 байт принято");
    EXPECT_EQ(h.Log(), WorkedLog);
    EXPECT_EQ(h.Grid(), WorkedTable);
    ExpectWorkedDayFinishedAfter(h, 300);
    EXPECT_TRUE(h.dialogs.empty());
    EXPECT_EQ(h.beeps, 0);
    h.clock.Advance(60000);
    EXPECT_EQ(h.Sent(), "");
}

TEST(ReadRoad, PortionsRepeatTheLastCommand) {
    LineHarness h;
    AskForTheDay(h);
    EXPECT_EQ(h.Sent(), Reset7 + Read7Oct5);
    h.Deliver(Rec1 + "=");
    EXPECT_EQ(h.Panel(1), "32 байт принято");
    EXPECT_EQ(h.Log(), Lines{WorkedLog[0]});
    EXPECT_EQ(h.form->StringGrid->GetCells(0, 1), u""); // not before the day's end
    h.clock.Advance(299);
    EXPECT_EQ(h.Sent(), "");
    h.clock.Advance(1);
    EXPECT_EQ(h.Sent(), Read7Oct5);
    EXPECT_EQ(h.clock.DueIn(h.form->TimerComWaitPacket), 3500);
    h.Deliver(Rec2 + "?\xFF");
    EXPECT_EQ(h.Panel(1), "30 байт принято");
    h.clock.Advance(300);
    h.Deliver(ResetReply);
    ExpectIdle(h);
    EXPECT_EQ(h.Grid(), WorkedTable);
    EXPECT_EQ(h.Log(), WorkedLog);
}

TEST(ReadRoad, OnlyFramedRecordsAreCut) {
    LineHarness h;
    AskForTheDay(h);
    // Line noise between the records, a second 0xFF after a record and one
    // after the portion marker cut nothing.
    h.Deliver("\xF0\x01\x02\x03"
              "ab\xFFzz\xFF\xF0\x01\x02\x03"
              "cd\xFF=\xFF");
    EXPECT_EQ(h.Log(), (Lines{" ab ", " cd "}));
    h.clock.Advance(300);
    EXPECT_EQ(h.Sent(), Reset7 + Read7Oct5 + Read7Oct5);
    // "?" 0xFF ends the day and no record; a record shorter than its header is dropped.
    h.Deliver("\xF0\x01\x02\xFF" + Rec1 + "?\xFF");
    EXPECT_EQ(h.Log(), (Lines{" ab ", " cd ", WorkedLog[0]}));
}

TEST(ReadRoad, DayWhoseEndComesAsAReplyOfItsOwnKeepsItsRecords) {
    for (const bool interval : {false, true}) {
        LineHarness h;
        if (interval) h.Interval(EncodeDate(2009, 10, 5), EncodeDate(2009, 10, 6));
        auto dev = Device7(WorkedArchive(), 1, devsim::DayEndStyle::Separate);
        h.Read();
        h.Serve(dev);
        ExpectIdle(h);
        const Table t = h.Grid();
        ASSERT_EQ(t.size(), interval ? 4u : 3u) << interval;
        EXPECT_EQ(t[1], WorkedTable[1]);
        EXPECT_EQ(t[2], WorkedTable[2]);
        // The second day of the interval, which the device does not hold, adds
        // the empty row of a day without records.
        if (interval) {
            EXPECT_EQ(t[3], (Lines{"", "", "", "", ""}));
        }
    }
}

TEST(ReadRoad, IntervalWalksEveryDayWithOneResetBetween) {
    LineHarness h;
    devsim::Archive a;
    a.Add({10, 30}, "30 10 23 00 1");
    a.Add({10, 31}, "31 10 00 00 2");
    a.Add({11, 1}, "01 11 01 30 3");
    auto dev = Device7(a);
    h.Interval(EncodeDate(2009, 10, 30), EncodeDate(2009, 11, 1));
    h.Read();
    h.Serve(dev);
    ExpectIdle(h);
    std::string expected = Reset7;
    for (const auto& day :
         {Frame({7, 3, 0x10, 0x30, 7}), Frame({7, 3, 0x10, 0x31, 7}), Frame({7, 3, 0x11, 0x01, 7})})
        expected += day + Reset7;
    EXPECT_EQ(h.comm.Written(), expected);
    EXPECT_EQ(h.Grid(), (Table{{"Дата", "Значение1"},
                               {"30.10.2009 23:00:00", "1"},
                               {"31.10.2009", "2"},
                               {"01.11.2009 1:30:00", "3"}}));
}

TEST(ReadRoad, IntervalOfOneDayAndAReversedInterval) {
    LineHarness h;
    auto dev = Device7();
    h.Interval(EncodeDate(2009, 10, 5), EncodeDate(2009, 10, 5));
    h.Read();
    h.Serve(dev);
    EXPECT_EQ(h.comm.Written(), Reset7 + Read7Oct5 + Reset7);
    EXPECT_EQ(h.Grid(), WorkedTable);

    h.Sent();
    h.Interval(EncodeDate(2009, 10, 6), EncodeDate(2009, 10, 5));
    h.Read();
    EXPECT_EQ(h.beeps, 1);
    ASSERT_EQ(h.dialogs.size(), 1u);
    EXPECT_EQ(h.dialogs[0].Text, u"Неверно задан временной интервал");
    EXPECT_EQ(h.dialogs[0].Flags & MB_ICONERROR, MB_ICONERROR);
    EXPECT_EQ(h.Sent(), "");
    EXPECT_FALSE(h.Reading());
    EXPECT_EQ(h.Grid(), WorkedTable);
}

TEST(ReadRoad, TimeOutFinishesTheReadBeforeItsBox) {
    LineHarness h;
    AskForTheDay(h);
    h.Deliver(Rec1);
    bool idleBeforeBox = false;
    h.onDialog = [&](const TDialogRequest&) {
        idleBeforeBox = !h.Reading() && !h.AnyTimerRunning() && h.beeps == 1 && h.Panel(0) == "Err";
        // The box's message loop delivers a late reply: read and dropped.
        h.Deliver(Rec2 + "?\xFF");
    };
    h.clock.Advance(3499);
    EXPECT_TRUE(h.dialogs.empty());
    h.clock.Advance(1);
    ASSERT_EQ(h.dialogs.size(), 1u);
    EXPECT_EQ(h.dialogs[0].Text, u"Ошибка чтения архива");
    EXPECT_EQ(h.dialogs[0].Flags & MB_ICONWARNING, MB_ICONWARNING);
    EXPECT_TRUE(idleBeforeBox);
    ExpectIdle(h);
    EXPECT_EQ(h.comm.Count("ReadFile") > 0, true);
    EXPECT_EQ(h.form->StringGrid->GetCells(0, 1), u"");
    EXPECT_EQ(h.Log(), Lines{});
    h.clock.Advance(60000);
    EXPECT_EQ(h.Sent(), Reset7 + Read7Oct5);
    EXPECT_EQ(h.dialogs.size(), 1u);

    // The port stayed open: the next read opens nothing and sends the reset at once.
    const auto opens = h.comm.Count("CreateFileW");
    h.onDialog = nullptr;
    h.Read();
    EXPECT_EQ(h.comm.Count("CreateFileW"), opens);
    EXPECT_EQ(h.Sent(), Reset7);
    auto dev = Device7();
    h.Deliver(ResetReply);
    h.Serve(dev);
    EXPECT_EQ(h.Grid(), WorkedTable);
}

TEST(ReadRoad, AbortTakesEffectAtTheNextChunk) {
    LineHarness h;
    AskForTheDay(h);
    h.Sent();
    h.Deliver(Rec1);
    h.Read(); // "Прервать"
    EXPECT_TRUE(h.Reading());
    h.Deliver(Rec2);
    ExpectIdle(h);
    // The records collected before the chunk are in; the reset goes out with no time-out.
    EXPECT_EQ(h.Grid(), (Table{WorkedTable[0], WorkedTable[1]}));
    EXPECT_EQ(h.Log(), Lines{WorkedLog[0]});
    EXPECT_EQ(h.Sent(), Reset7);
    h.Deliver(ResetReply);
    h.Deliver(Rec2 + "?\xFF");
    h.clock.Advance(60000);
    EXPECT_EQ(h.Sent(), "");
    EXPECT_TRUE(h.dialogs.empty());
    EXPECT_EQ(h.form->StringGrid->GetRowCount(), 2);
}

TEST(ReadRoad, AbortAfterAFinishedDayPutsNothingInAgain) {
    LineHarness h;
    h.Interval(EncodeDate(2009, 10, 5), EncodeDate(2009, 10, 9));
    AskForTheDay(h);
    h.Deliver(Rec1 + Rec2 + "?\xFF");
    // Aborted in the pause before the reset; a stray byte takes the abort up.
    h.Read();
    h.Deliver("x");
    ExpectIdle(h);
    EXPECT_EQ(h.Grid(), WorkedTable);
    h.Sent();
    h.clock.Advance(60000);
    EXPECT_EQ(h.Sent(), "");
    EXPECT_TRUE(h.dialogs.empty());
}

TEST(ReadRoad, AbortWithoutAChunkEndsByTheTimeOut) {
    LineHarness h;
    h.Read();
    h.Read();
    EXPECT_TRUE(h.Reading());
    h.clock.Advance(3500);
    ASSERT_EQ(h.dialogs.size(), 1u);
    ExpectIdle(h);
    // The next read starts normally.
    h.Sent();
    auto dev = Device7();
    h.Read();
    h.Serve(dev);
    EXPECT_EQ(h.Grid(), WorkedTable);
    EXPECT_EQ(h.dialogs.size(), 1u);
}

TEST(ReadRoad, InputLeftFromBeforeIsDiscardedWhenAReadStarts) {
    LineHarness h;
    auto dev = Device7();
    h.Read();
    h.Serve(dev);
    // A late reply waits in the driver, its receive event still to come.
    h.comm.QueueInput(ResetReply);
    h.Read();
    const auto purge = h.comm.Last("PurgeComm");
    ASSERT_TRUE(purge.has_value());
    EXPECT_EQ(purge->args.at(0) & PURGE_RXCLEAR, PURGE_RXCLEAR);
    // Read, it would pass for the reply to the new reset, and the real reply
    // would then be taken for a record of the day.
    h.Deliver("");
    EXPECT_FALSE(h.clock.IsRunning(h.form->TimerSendREData));
    h.Serve(dev);
    EXPECT_EQ(h.Grid(), WorkedTable);
    EXPECT_TRUE(h.dialogs.empty());
}

TEST(ReadRoad, PortThatDoesNotOpen) {
    LineHarness h;
    h.comm.FailNext("CreateFileW", ERROR_ACCESS_DENIED);
    h.Read();
    EXPECT_FALSE(h.Reading());
    EXPECT_EQ(h.beeps, 1);
    ASSERT_EQ(h.dialogs.size(), 1u);
    EXPECT_EQ(h.dialogs[0].Text, u"Ошибка открытия COM порта");
    EXPECT_EQ(h.dialogs[0].Flags & MB_ICONERROR, MB_ICONERROR);
    EXPECT_FALSE(h.form->ComPort->GetConnected());
    EXPECT_EQ(h.comm.Written(), "");
    EXPECT_TRUE(h.form->ExcelExport->GetEnabled());
    EXPECT_FALSE(h.AnyTimerRunning());
}

// An unplugged device: the command cannot be written. The read ends at once
// with one box, whether the command opens the read or follows a pause.
TEST(ReadRoad, CommandThatCannotBeWrittenEndsTheReadWithOneBox) {
    LineHarness h;
    h.comm.FailNext("WriteFile", ERROR_GEN_FAILURE);
    EXPECT_NO_THROW(h.Read());
    ASSERT_EQ(h.dialogs.size(), 1u);
    EXPECT_EQ(h.dialogs[0].Text, u"Ошибка чтения архива");
    EXPECT_EQ(h.dialogs[0].Flags & MB_ICONWARNING, MB_ICONWARNING);
    EXPECT_EQ(h.beeps, 1);
    EXPECT_EQ(h.Panel(0), "Err");
    ExpectIdle(h);
    h.clock.Advance(60000);
    EXPECT_EQ(h.dialogs.size(), 1u);

    // After a pause: the read-day command, then the repeat of a portion.
    for (const std::string& firstReply : {std::string(), Rec1 + "="}) {
        h.dialogs.clear();
        h.beeps = 0;
        h.Read();
        h.Deliver(ResetReply);
        if (!firstReply.empty()) {
            h.clock.Advance(300);
            h.Deliver(firstReply);
        }
        h.comm.FailNext("WriteFile", ERROR_GEN_FAILURE);
        EXPECT_NO_THROW(h.clock.Advance(300));
        ASSERT_EQ(h.dialogs.size(), 1u);
        EXPECT_EQ(h.dialogs[0].Text, u"Ошибка чтения архива");
        EXPECT_EQ(h.beeps, 1);
        ExpectIdle(h);
        // What the finished portion brought is kept, as after a time-out.
        EXPECT_EQ(h.Log(), firstReply.empty() ? Lines{} : Lines{WorkedLog[0]});
        h.clock.Advance(60000);
        EXPECT_EQ(h.dialogs.size(), 1u);
    }

    // The device back: the next read is whole.
    h.dialogs.clear();
    h.Sent();
    auto dev = Device7();
    h.Read();
    h.Serve(dev);
    EXPECT_EQ(h.Grid(), WorkedTable);
    EXPECT_TRUE(h.dialogs.empty());
}

TEST(ReadRoad, DayWithoutRecordsAddsAnEmptyRowAfterARecord) {
    LineHarness h;
    devsim::Archive a;
    a.Add({10, 5}, "05 10 12 30 1");
    a.Add({10, 7}, "07 10 12 30 3");
    auto dev = Device7(a);
    h.Interval(EncodeDate(2009, 10, 4), EncodeDate(2009, 10, 7));
    h.Read();
    h.Serve(dev);
    // The first day has no records and the table none yet: no row for it.
    EXPECT_EQ(
        h.Grid(),
        (Table{{"Дата", "Значение1"}, {"05.10.2009 12:30:00", "1"}, {"", ""}, {"07.10.2009 12:30:00", "3"}}));
}

TEST(ReadRoad, StrayDayEndWhileAResetIsAnsweredIsNoReply) {
    LineHarness h;
    h.Read();
    EXPECT_EQ(h.Sent(), Reset7);
    h.Deliver("?\xFF");
    h.clock.Advance(300);
    EXPECT_EQ(h.Sent(), "");
    h.Deliver(ResetReply);
    h.clock.Advance(300);
    // Still the opening reset: the day is read, not skipped.
    EXPECT_EQ(h.Sent(), Read7Oct5);
}

TEST(ReadRoad, DeviceNumbersThatAreControlBytes) {
    // Line feed, carriage return, XON and XOFF go out as they are.
    for (const int n : {10, 13, 17, 19}) {
        LineHarness h;
        h.Device(n);
        h.Read();
        EXPECT_EQ(h.Sent(), Frame({n, 1, 0, 0, n}));
    }
}

namespace {

// More than one chunk waiting behind a single receive event: the rest is read
// at once, so a long reply whose last bytes arrived together is not left to
// the reply time-out.
TEST(ReadRoad, EverythingWaitingIsTakenEvenBeyondOneChunk) {
    LineHarness h;
    AskForTheDay(h);
    std::string reply;
    Lines expected;
    for (int minute = 0; minute < 60; ++minute) {
        char text[40];
        std::snprintf(text, sizeof text, "05 10 12 %02d %d.25 0 10 7", minute, minute);
        reply += Record(text);
        expected.push_back(std::string(" ") + text + " ");
    }
    reply += "?\xFF";
    ASSERT_GT(reply.size(), 1024u);
    h.Deliver(reply);
    EXPECT_EQ(h.Log(), expected);
    EXPECT_EQ(h.form->StringGrid->GetRowCount(), 61);
    h.clock.Advance(300);
    h.Deliver(ResetReply);
    ExpectIdle(h);
}

} // namespace

// Every reply of the worked example, whole day or in portions, with the day's
// end inline or as a reply of its own, cut into two receive events at every
// byte position, and into one event per byte.
TEST(ReadRoad, RepliesSplitAtEveryBytePosition) {
    LineHarness h;
    for (const std::size_t portion : {0, 1}) {
        for (const auto end : {devsim::DayEndStyle::Inline, devsim::DayEndStyle::Separate}) {
            for (std::size_t at = 0; at < 61; ++at) {
                auto dev = Device7(WorkedArchive(), portion, end);
                h.Read();
                h.Serve(dev, [at](const std::string& reply) {
                    std::vector<std::string> chunks;
                    if (at == 0) {
                        for (const char c : reply) chunks.emplace_back(1, c);
                    } else if (at < reply.size()) {
                        chunks = {reply.substr(0, at), reply.substr(at)};
                    } else {
                        chunks = {reply};
                    }
                    return chunks;
                });
                const std::string where = "portion " + std::to_string(portion) + ", split at " +
                                          std::to_string(at) +
                                          (end == devsim::DayEndStyle::Separate ? ", separate end" : "");
                ASSERT_FALSE(h.Reading()) << where;
                ASSERT_EQ(h.Grid(), WorkedTable) << where;
                ASSERT_EQ(h.Log(), WorkedLog) << where;
                ASSERT_TRUE(h.dialogs.empty()) << where;
            }
        }
    }
}

// A second day end while the day's reset is due (the device repeating
// itself, or line noise) has no day to put into the table.
TEST(ReadRoad, SecondDayEndInTheResetPauseAddsNoRow) {
    LineHarness h;
    AskForTheDay(h);
    h.Deliver(Rec1 + Rec2 + "?\xFF");
    h.clock.Advance(100);
    h.Deliver("?\xFF");
    EXPECT_EQ(h.Grid(), WorkedTable);
    EXPECT_EQ(h.Sent(), Reset7 + Read7Oct5);
    // The reset is still due 300 ms after the day's end.
    ExpectWorkedDayFinishedAfter(h, 200);
}

// "=" and "?" count wherever they are in the collected bytes, inside a
// record's text too (a device never writes them there).
TEST(ReadRoad, MarkersCountAnywhereInTheCollectedBytes) {
    LineHarness h;
    AskForTheDay(h);
    h.Sent();
    h.Deliver(Record("05 10 12 30 a=b"));
    EXPECT_EQ(h.Log(), Lines{" 05 10 12 30 a=b "});
    h.clock.Advance(300);
    EXPECT_EQ(h.Sent(), Read7Oct5);
    h.Deliver(Record("05 10 13 00 c?d"));
    EXPECT_EQ(
        h.Grid(),
        (Table{{"Дата", "Значение1"}, {"05.10.2009 12:30:00", "Err.2"}, {"05.10.2009 13:00:00", "Err.2"}}));
    h.clock.Advance(300);
    EXPECT_EQ(h.Sent(), Reset7);
}

namespace {

// A day whose reply stops after a finished portion: the portion's records
// reach the table as well as the log before the time-out is reported.
TEST(ReadRoad, TimeOutKeepsTheRecordsOfFinishedPortions) {
    LineHarness h;
    AskForTheDay(h);
    h.Deliver(Rec1 + "=");
    h.clock.Advance(300); // the repeat goes out, and nothing answers it
    h.clock.Advance(3500);
    ASSERT_EQ(h.dialogs.size(), 1u);
    EXPECT_EQ(h.dialogs[0].Text, u"Ошибка чтения архива");
    ExpectIdle(h);
    EXPECT_EQ(h.Log(), Lines{WorkedLog[0]});
    const Table t = h.Grid();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[1][0], "05.10.2009 12:30:00");
    EXPECT_EQ(t[1][1], "1,5");
}

} // namespace

// A new read at once after an abort: the abort's reset is answered after the
// new read has discarded its input, so that reply passes for the new reset's,
// and the new reset's own reply comes in the pause before the day is asked
// for. It belongs to no reply and adds nothing.
TEST(ReadRoad, NewReadRightAfterAnAbortGetsTheAbortsResetReplyLate) {
    LineHarness h;
    AskForTheDay(h);
    h.Deliver(Rec1);
    h.Read(); // "Прервать"
    h.Deliver(Rec2);
    ASSERT_FALSE(h.Reading());
    h.Sent();
    h.Read();
    EXPECT_EQ(h.Sent(), Reset7);
    h.Deliver(ResetReply); // the abort's
    h.clock.Advance(150);
    h.Deliver(ResetReply); // this read's own, in the day pause
    EXPECT_EQ(h.form->rxBuffer, "");
    h.clock.Advance(149);
    EXPECT_EQ(h.Sent(), "");
    h.clock.Advance(1);
    EXPECT_EQ(h.Sent(), Read7Oct5);
    h.Deliver(Rec1 + Rec2 + "?\xFF");
    EXPECT_EQ(h.Log(), WorkedLog);
    ExpectWorkedDayFinishedAfter(h, 300);
    EXPECT_TRUE(h.dialogs.empty());
}

// Frames with nothing after their header (a reset's reply) that reach a
// day's reply add no row and no log line, wherever they are in it.
TEST(ReadRoad, HeaderOnlyFramesInADayReplyAddNothing) {
    LineHarness h;
    AskForTheDay(h);
    h.Sent();
    h.Deliver(ResetReply + Rec1 + ResetReply + Rec2 + ResetReply + "?\xFF");
    EXPECT_EQ(h.Log(), WorkedLog);
    ExpectWorkedDayFinishedAfter(h, 300);
}

// A "?" ends a day only while the day's reply is awaited: in the pause
// before the day is asked for, or before a portion is asked for again, it is
// dropped, and no second pause starts.
TEST(ReadRoad, DayEndInAPauseEndsNoDay) {
    {
        LineHarness h;
        h.Read();
        h.Deliver(ResetReply);
        h.clock.Advance(100);
        h.Deliver("?\xFF");
        EXPECT_TRUE(h.clock.IsRunning(h.form->TimerSendREData));
        EXPECT_FALSE(h.clock.IsRunning(h.form->TimerWaitReset));
        EXPECT_FALSE(h.clock.IsRunning(h.form->TimerComWaitPacket));
        h.clock.Advance(200);
        EXPECT_EQ(h.Sent(), Reset7 + Read7Oct5);
        // The day's reply is the day's, not a reset's.
        h.Deliver(Rec1 + Rec2 + "?\xFF");
        EXPECT_EQ(h.Grid(), WorkedTable);
        ExpectWorkedDayFinishedAfter(h, 300);
        EXPECT_TRUE(h.dialogs.empty());
    }
    {
        LineHarness h;
        AskForTheDay(h);
        h.Sent();
        h.Deliver(Rec1 + "=");
        h.clock.Advance(100);
        h.Deliver("?\xFF");
        EXPECT_TRUE(h.clock.IsRunning(h.form->TimerNextSend));
        EXPECT_FALSE(h.clock.IsRunning(h.form->TimerWaitReset));
        h.clock.Advance(200);
        EXPECT_EQ(h.Sent(), Read7Oct5);
        h.Deliver(Rec2 + "?\xFF");
        ExpectWorkedDayFinishedAfter(h, 300);
        EXPECT_EQ(h.Log(), WorkedLog);
        EXPECT_TRUE(h.dialogs.empty());
    }
}

// Device bytes of 0x80 and above: the log shows them as text, as UTF-8 when
// they are UTF-8 and in Windows-1251 otherwise; the text export writes them
// as they came. Neither depends on the process's locale.
TEST(ReadRoad, DeviceBytesReachTheTextExportUnchanged) {
    const std::string cp1251 = "05 10 12 30 1.5 \xCA\xE0\xEB \xB9\x98";
    const std::string utf8 = "05 10 13 00 2 \xD0\x96\xEF\xBF\xBD";
    const std::string previous = setlocale(LC_ALL, nullptr);
    for (const char* locale : {"C", "ru_RU.UTF-8"}) {
        if (!setlocale(LC_ALL, locale)) {
            ADD_FAILURE() << "the locale " << locale << " is not installed (scripts/setup makes it)";
            continue;
        }
        LineHarness h;
        const std::filesystem::path file = h.dir.path / "archive.txt";
        SetDialogResponder([&](const TDialogRequest&) {
            TDialogAnswer answer;
            answer.Result = mrOk;
            answer.FileName = UTF8ToString(file.string());
            return answer;
        });
        AskForTheDay(h);
        h.Deliver(Record(cp1251) + Record(utf8) + "?\xFF");
        h.clock.Advance(300);
        h.Deliver(ResetReply);
        ExpectIdle(h);
        ASSERT_EQ(h.form->Memo->GetLines()->GetCount(), 2) << locale;
        EXPECT_EQ(h.form->Memo->GetLines()->GetStrings(0), u" 05 10 12 30 1.5 Кал №\u0098 ") << locale;
        EXPECT_EQ(h.form->Memo->GetLines()->GetStrings(1), u" 05 10 13 00 2 Ж\uFFFD ") << locale;
        EXPECT_EQ(h.Grid(), (Table{{"Дата", "Значение1", "Значение2", "Значение3"},
                                   {"05.10.2009 12:30:00", "1,5", "Err.2", "Err.2"},
                                   {"05.10.2009 13:00:00", "2", "Err.2", ""}}))
            << locale;

        h.form->TextExport->Execute();
        std::ifstream in(file, std::ios::binary);
        const std::string written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(written, "05.10.2009 12:30:00\t 1.5 \xCA\xE0\xEB \xB9\x98 \r\n"
                           "05.10.2009 13:00:00\t 2 \xD0\x96\xEF\xBF\xBD \r\n")
            << locale;
    }
    setlocale(LC_ALL, previous.c_str());
}
