// The port inside the application: its events reach the GUI thread through
// Qt's event loop, also in a nested (modal) loop, and its handlers' errors
// reach the application object.

#include "serial/comport.h"

#include "platform/win32/comm_fake.h"
#include "tests/support/formtest.h"
#include "tests/support/pty.h"

#include <thread>

namespace {

class ComPortInApplication : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        Application->OnException.Bind([this](TObject* sender, const Exception& e) {
            shownBy.push_back(sender);
            shown.push_back(e.Message());
        });
    }
    void TearDown() override {
        Application->OnException.Clear();
        FormTest::TearDown();
    }
    // Runs a nested event loop, as a modal box does, until Done holds (bounded).
    static bool ModalLoopUntil(const std::function<bool()>& done) { return probe::NestedLoopUntil(done); }

    std::vector<String> shown;
    std::vector<TObject*> shownBy;
};

} // namespace

TEST_F(ComPortInApplication, ReceiveEventsArriveWhileAMessageBoxIsOpen) {
    testsupport::PtyPair pty;
    Owned<TComPort> port{Create<TComPort>(nullptr)};
    port->SetPort(UTF8ToString(pty.SlavePath()));
    std::string received;
    port->OnRxChar.Bind([&](TObject*, Integer) {
        AnsiString chunk;
        port->ReadStr(chunk, 1024);
        received += chunk;
    });
    port->Open();
    bool arrivedInsideTheBox = false;
    answer = [&](const TDialogRequest&) {
        std::thread device([&] { pty.Write("reply"); });
        arrivedInsideTheBox = ModalLoopUntil([&] { return received == "reply"; });
        device.join();
        return TDialogAnswer{};
    };
    Application->MessageBox(u"Ошибка чтения архива", u"Moltren");
    EXPECT_TRUE(arrivedInsideTheBox);
    EXPECT_EQ(received, "reply");
}

TEST_F(ComPortInApplication, HandlerErrorsReachTheApplication) {
    win32::RecordingComm comm;
    for (const TSyncMethod sync : {smThreadSync, smNone, smWindowSync}) {
        shown.clear();
        shownBy.clear();
        Owned<TComPort> port{Create<TComPort>(nullptr)};
        port->SetSyncMethod(sync);
        int calls = 0;
        port->OnRxChar.Bind([&](TObject*, Integer) {
            AnsiString s;
            port->ReadStr(s, 10);
            ++calls;
            throw EComPort(CError_ReadFailed, 5, u"COM1");
        });
        port->Open();
        ASSERT_TRUE(comm.Receive("x"));
        ASSERT_TRUE(WaitFor([&] { return shown.size() == 1; })) << sync;
        EXPECT_EQ(shown[0], u"COM Port Error: ReadFile function failed on COM1");
        EXPECT_EQ(shownBy[0], sync == smNone ? nullptr : port.get());
        ASSERT_TRUE(WaitFor([&] { return comm.WaitPending(std::chrono::milliseconds(0)); })); // it waits on
        port->Close();
        EXPECT_EQ(calls, 1);
    }
}

TEST_F(ComPortInApplication, OpenErrorsWhileLoadingAreShownNotRaised) {
    win32::RecordingComm comm;
    Owned<TComPort> port{Create<TComPort>(nullptr)};
    port->IncludeState(csLoading);
    port->SetConnected(true);
    comm.FailNext("CreateFileW", ERROR_ACCESS_DENIED);
    static_cast<TComponent*>(port.get())->Loaded();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], u"COM Port Error: Unable to open com port on COM1");
    EXPECT_FALSE(port->GetConnected());
}
