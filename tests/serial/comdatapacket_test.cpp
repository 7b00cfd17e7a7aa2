// Packets cut from received text, and the port stream.

#include "serial/comdatapacket.h"

#include "tests/serial/fakeport.h"

#include <gtest/gtest.h>

namespace {

class Packets : public FakePortTest {
protected:
    Packets() {
        packet->OnPacket = TComStrEvent([this](TObject*, const String& s) { log.push_back(u"P:" + s); });
        packet->OnDiscard = TComStrEvent([this](TObject*, const String& s) { log.push_back(u"D:" + s); });
    }
    std::vector<String> Take() { return std::exchange(log, {}); }

    Owned<TComDataPacket> packet{Create<TComDataPacket>(nullptr)};
    std::vector<String> log;
};

using Log = std::vector<String>;

} // namespace

TEST_F(Packets, StartAndStopStringsCutAndDiscard) {
    packet->SetStartString(u"$");
    packet->SetStopString(u"#");
    packet->AddData(u"xx$abc#$de");
    EXPECT_EQ(Take(), (Log{u"D:xx", u"P:abc"}));
    packet->AddData(u"f#");
    EXPECT_EQ(Take(), (Log{u"P:def"}));

    packet->SetIncludeStrings(true);
    packet->AddData(u"xx$abc#$de");
    packet->AddData(u"f#");
    EXPECT_EQ(Take(), (Log{u"D:xx", u"P:$abc#", u"P:$def#"}));

    // The stop string is looked for after the start string, so one string can do both.
    packet->SetIncludeStrings(false);
    packet->SetStartString(u"||");
    packet->SetStopString(u"||");
    packet->AddData(u"||one||||two||");
    EXPECT_EQ(Take(), (Log{u"P:one", u"P:two"}));
    // The stop string is stripped only where it ends the packet.
    packet->SetStartString(u"<");
    packet->SetStopString(u">");
    packet->SetSize(5);
    packet->AddData(u"<a>bcd");
    EXPECT_EQ(Take(), (Log{u"P:a>bc"}));
}

TEST_F(Packets, SizeAloneAndNoStopRule) {
    packet->SetSize(4);
    packet->AddData(u"abcdefghij");
    EXPECT_EQ(Take(), (Log{u"P:abcd", u"P:efgh"}));
    EXPECT_EQ(packet->GetBuffer(), u"ij");
    // Changing a rule throws the collected text away.
    packet->SetSize(0);
    EXPECT_EQ(Take(), (Log{u"D:ij"}));
    // Without a stop rule each arrival is a packet as it is, start string or not.
    packet->SetStartString(u"$");
    packet->AddData(u"xx$a");
    packet->AddData(u"b");
    EXPECT_EQ(Take(), (Log{u"P:xx$a", u"P:b"}));
    EXPECT_EQ(packet->GetBuffer(), u"");
}

TEST_F(Packets, CaseInsensitiveStrings) {
    packet->SetStartString(u"AT");
    packet->SetStopString(u"\r");
    packet->AddData(u"--at+x\r");
    EXPECT_EQ(Take(), Log{});         // case matters by default: no start yet
    packet->SetCaseInsensitive(true); // a new rule throws the collected text away
    EXPECT_EQ(Take(), (Log{u"D:--at+x\r"}));
    packet->AddData(u"--at+x\rAt+Y\r");
    EXPECT_EQ(Take(), (Log{u"D:--", u"P:+x", u"P:+Y"}));
}

TEST_F(Packets, CustomStartAndStopTests) {
    // Start at a digit, stop after three characters; 0 means "not yet", -1 defers to the strings.
    packet->OnCustomStart = TCustPacketEvent([](TObject*, const String& s, Integer& pos) {
        const auto at = s.find_first_of(u"0123456789");
        pos = at == String::npos ? 0 : static_cast<Integer>(at) + 1;
    });
    packet->OnCustomStop =
        TCustPacketEvent([](TObject*, const String& s, Integer& pos) { pos = s.size() >= 3 ? 3 : 0; });
    packet->AddData(u"ab1cd");
    EXPECT_EQ(Take(), (Log{u"D:ab", u"P:1cd"}));
    packet->AddData(u"zz");
    EXPECT_EQ(Take(), Log{});
    packet->AddData(u"7x");
    EXPECT_EQ(Take(), (Log{u"D:zz"}));
    packet->AddData(u"y");
    EXPECT_EQ(Take(), (Log{u"P:7xy"}));

    // Positions beyond the text are held to its end: no endless loop, no out-of-range cut.
    packet->OnCustomStart = TCustPacketEvent([](TObject*, const String&, Integer& pos) { pos = 1000; });
    packet->OnCustomStop = TCustPacketEvent([](TObject*, const String&, Integer& pos) { pos = 1000; });
    packet->AddData(u"abc");
    EXPECT_EQ(Take(), (Log{u"D:ab", u"P:c"}));
    // A stop test that always answers 1 cuts one character at a time.
    packet->OnCustomStart.Clear();
    packet->OnCustomStop = TCustPacketEvent([](TObject*, const String&, Integer& pos) { pos = 1; });
    packet->AddData(u"xyz");
    EXPECT_EQ(Take(), (Log{u"P:x", u"P:y", u"P:z"}));
}

TEST_F(Packets, MaxBufferSizeOverBursts) {
    packet->SetStartString(u"{");
    packet->SetStopString(u"}");
    packet->SetMaxBufferSize(16);
    packet->AddData(u"{0123456789");
    EXPECT_EQ(Take(), Log{});
    packet->AddData(u"abcdef"); // reaches 16 without an end: thrown away whole
    EXPECT_EQ(Take(), (Log{u"D:{0123456789abcdef"}));
    packet->AddData(u"{ok}");
    EXPECT_EQ(Take(), (Log{u"P:ok"}));
    packet->AddData(u"{0123456789abcd"); // one short of the limit: held
    EXPECT_EQ(Take(), Log{});
    packet->AddData(u"e"); // exactly the limit: thrown away
    EXPECT_EQ(Take(), (Log{u"D:{0123456789abcde"}));

    // A burst of many packets in one arrival, far past the limit: every one
    // out, in order, and only the unfinished tail is held against the limit.
    String burst;
    Log expected;
    for (int i = 0; i < 20000; ++i) {
        burst += u"{" + IntToStr(i) + u"}";
        expected.push_back(u"P:" + IntToStr(i));
    }
    packet->AddData(burst + u"{tail");
    EXPECT_EQ(Take(), expected);
    EXPECT_EQ(packet->GetBuffer(), u"{tail");

    // The limit also applies when a handler raises.
    packet->SetMaxBufferSize(4);
    packet->OnPacket = TComStrEvent([](TObject*, const String&) { throw Exception(u"handler"); });
    EXPECT_THROW(packet->AddData(u"{a}{bcdef"), Exception);
    EXPECT_EQ(packet->GetBuffer(), u"");
    EXPECT_EQ(Take(), (Log{u"D:{bcdef"}));
}

TEST_F(Packets, APortLinkTakesTheBytesAndLeavesWhenFreed) {
    int rxChar = 0;
    port->OnRxChar = TRxCharEvent([&](TObject*, Integer) { ++rxChar; });
    packet->SetStopString(u"\n");
    packet->SetComPort(port.get());
    EXPECT_TRUE(port->GetHasLink());
    port->Open();
    // "Ж" is two bytes; here they arrive apart and still make one character.
    ASSERT_TRUE(comm.Receive("line \xD0"));
    ASSERT_TRUE(Pump([&] { return packet->GetBuffer() == u"line "; }));
    ASSERT_TRUE(comm.Receive("\x96\n"));
    ASSERT_TRUE(Pump([&] { return !log.empty(); }));
    EXPECT_EQ(Take(), (Log{u"P:line Ж"}));
    EXPECT_EQ(rxChar, 0);

    // Freeing the packet takes its link out of the port's list.
    packet.reset();
    EXPECT_FALSE(port->GetHasLink());
    ASSERT_TRUE(comm.Receive("more\n"));
    ASSERT_TRUE(Pump([&] { return rxChar == 1; }));
    port->Close();
}

TEST_F(Packets, APortFreedFirstIsForgotten) {
    packet->SetComPort(port.get());
    port.reset();
    EXPECT_EQ(packet->GetComPort(), nullptr);
}

TEST_F(FakePortTest, ComStreamReadsAndWritesThroughThePort) {
    port->SetEvents({});
    port->Open();
    TComStream stream(port.get());
    EXPECT_EQ(stream.Write("hello", 5), 5);
    const auto write = comm.Last("WriteFile");
    ASSERT_TRUE(write.has_value());
    EXPECT_EQ(write->bytes, "hello");
    comm.QueueInput("abc");
    char buf[8] = {};
    EXPECT_EQ(stream.Read(buf, 8), 3);
    EXPECT_STREQ(buf, "abc");
    EXPECT_EQ(stream.Seek(100, soBeginning), 0);
    EXPECT_EQ(stream.Seek(-5, soEnd), 0);
    port->Close();
}
