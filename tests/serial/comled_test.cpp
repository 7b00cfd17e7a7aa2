// The signal lamp under Qt's offscreen platform, on the manual clock.

#include "serial/comled.h"

#include "platform/core/threads.h"
#include "platform/win32/comm_fake.h"
#include "tests/support/formtest.h"
#include "tests/support/wait.h"

#include <thread>

namespace {

class Lamp : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        Application->SetClock(&clock);
        port = Create<TComPort>(form.get());
        led = Create<TComLed>(form.get());
        led->SetParent(form.get());
        led->OnChange.Bind([this](TObject*, TLedState s) { changes.push_back(s); });
        form->Show();
        ASSERT_TRUE(WaitFor([&] { return probe::Shown(*led); }));
        probe::ProcessEvents();
    }
    // The colour at the lamp's centre as last painted, without running the event loop.
    probe::Rgb Centre() const { return probe::Pixel(*led, 12, 12); }
    static bool Pump(const std::function<bool()>& done) {
        return testsupport::WaitUntil(done, [] { CheckSynchronize(1); });
    }

    win32::RecordingComm comm;
    TManualClock clock;
    TestForm form;
    TComPort* port = nullptr;
    TComLed* led = nullptr;
    std::vector<TLedState> changes;
};

const probe::Rgb kRedOn{255, 0, 0}, kRedOff{128, 0, 0};

} // namespace

TEST_F(Lamp, ANewLampAndItsTwelvePictures) {
    EXPECT_EQ(Centre(), kRedOff); // a new lamp is a dark red one
    for (TLedKind k : {lkGreenLight, lkBlueLight, lkYellowLight, lkPurpleLight, lkBulb, lkRedLight}) {
        led->SetKind(k);
        for (TBitmap* glyph : {led->GetGlyphOn(), led->GetGlyphOff()}) {
            EXPECT_EQ(glyph->GetWidth(), 15);
            EXPECT_EQ(glyph->GetHeight(), 15);
            EXPECT_TRUE(glyph->GetTransparent());
        }
    }
    // Pictures are taken only for a custom lamp.
    Owned<TBitmap> mine{MakeOwned<TBitmap>()};
    mine->SetSize(9, 9);
    led->SetGlyphOn(mine.get());
    EXPECT_EQ(led->GetGlyphOn()->GetWidth(), 15);
    led->SetKind(lkCustom);
    led->SetGlyphOn(mine.get());
    EXPECT_EQ(led->GetGlyphOn()->GetWidth(), 9);
    EXPECT_TRUE(led->GetGlyphOn()->GetTransparent());
}

TEST_F(Lamp, ConnectionLightsAtOnceAndGoesDark100msAfterClosing) {
    led->SetComPort(port);
    port->SetEvents({});
    // Something waits in the application's queue; lighting the lamp must not run it.
    bool queuedRan = false;
    std::thread([&] { TThread::Queue(nullptr, [&] { queuedRan = true; }); }).join();
    port->Open();
    ASSERT_TRUE(port->GetConnected());
    EXPECT_EQ(led->GetState(), lsOn);
    EXPECT_EQ(Centre(), kRedOn); // painted already
    EXPECT_FALSE(queuedRan);
    CheckSynchronize();
    EXPECT_TRUE(queuedRan);

    port->Close();
    EXPECT_EQ(led->GetState(), lsOn);
    clock.Advance(99);
    EXPECT_EQ(led->GetState(), lsOn);
    clock.Advance(1);
    EXPECT_EQ(led->GetState(), lsOff);
    EXPECT_EQ(changes, (std::vector<TLedState>{lsOn, lsOff}));
    // Opening again before the delay is over keeps it lit: the stale "off" is dropped.
    port->Open();
    port->Close();
    clock.Advance(50);
    port->Open();
    clock.Advance(200);
    EXPECT_EQ(led->GetState(), lsOn);
    port->Close();
}

TEST_F(Lamp, ARingLightsItForRingDuration) {
    led->SetLedSignal(lsRing);
    led->SetRingDuration(300);
    led->SetComPort(port);
    port->Open();
    EXPECT_EQ(led->GetState(), lsOff); // the connection is not its signal now
    ASSERT_TRUE(comm.CompleteWait(EV_RING));
    ASSERT_TRUE(Pump([&] { return led->GetState() == lsOn; }));
    clock.Advance(299);
    EXPECT_EQ(led->GetState(), lsOn);
    clock.Advance(1);
    EXPECT_EQ(led->GetState(), lsOff);
    port->Close();
}

TEST_F(Lamp, ModemLineLampStartsFromTheLine) {
    comm.SetModemStatus(MS_CTS_ON);
    port->SetEvents({});
    port->Open();
    led->SetLedSignal(lsCTS);
    led->SetComPort(port); // an open port: the lamp shows the line at once
    EXPECT_EQ(led->GetState(), lsOn);
    led->SetComPort(nullptr);
    EXPECT_EQ(led->GetState(), lsOff);
    port->Close();
}

TEST_F(Lamp, StateBelongsToThePortWhenThereIsOne) {
    led->SetState(lsOn);
    EXPECT_EQ(led->GetState(), lsOn);
    EXPECT_EQ(changes, std::vector<TLedState>{lsOn});
    led->Repaint();
    EXPECT_EQ(Centre(), kRedOn);
    // Disabled, it is always dark.
    led->SetEnabled(false);
    led->Repaint();
    EXPECT_EQ(Centre(), kRedOff);
    led->SetEnabled(true);

    led->SetComPort(port);
    try {
        led->SetState(lsOn);
        ADD_FAILURE() << "no EComPort";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.GetCode(), CError_LedStateFailed);
    }
    EXPECT_EQ(led->GetState(), lsOn); // a closed port leaves it as it was
}

TEST_F(Lamp, FreeingEitherSideLeavesNoLink) {
    led->SetComPort(port);
    TComLink* link = led->GetLink();
    led->Free();
    // The lamp took its link out of the port's list.
    try {
        port->UnRegisterLink(link);
        ADD_FAILURE() << "the link was still registered";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.GetCode(), CError_RegFailed);
    }
    port->Open(); // no lamp hears of it
    port->Close();

    auto* second = Create<TComLed>(form.get());
    second->SetComPort(port);
    port->Free();
    EXPECT_EQ(second->GetComPort(), nullptr);
    second->SetState(lsOn); // a plain lamp again
    EXPECT_EQ(second->GetState(), lsOn);
}
