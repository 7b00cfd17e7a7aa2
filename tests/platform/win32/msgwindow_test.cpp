#include "platform/win32/msgwindow.h"

#include "platform/core/threads.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using testsupport::WaitUntil;

TEST(MessageWindow, SameThreadSendsCallTheMethodDirectly) {
    int calls = 0;
    HWND wnd = AllocateHWnd([&](TMessage& m) {
        ++calls;
        EXPECT_FALSE(InSendMessage());
        EXPECT_FALSE(ReplyMessage(1));
        m.Result = static_cast<LRESULT>(m.WParam + m.LParam);
    });
    EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 2, 3), 5);
    EXPECT_EQ(calls, 1);
    DeallocateHWnd(wnd);
    EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 2, 3), 0);
    EXPECT_EQ(calls, 1);
}

TEST(MessageWindow, CrossThreadSendsRunOnTheMainThreadAndReplyEarly) {
    std::atomic<bool> senderGoesOn{false};
    std::thread::id handledOn;
    bool sawSenderGoOn = false;
    HWND wnd = AllocateHWnd([&](TMessage& m) {
        handledOn = std::this_thread::get_id();
        EXPECT_TRUE(InSendMessage());
        if (m.WParam == 1) {
            EXPECT_TRUE(ReplyMessage(42));
            EXPECT_FALSE(ReplyMessage(43));
            // The sender continues while this handler still runs.
            sawSenderGoOn = WaitUntil([&] { return senderGoesOn.load(); });
        } else {
            m.Result = 7;
        }
    });
    std::atomic<LRESULT> first{0}, second{0};
    std::thread sender([&] {
        first = SendMessageW(wnd, WM_USER + 1, 1, 0);
        senderGoesOn = true;
        second = SendMessageW(wnd, WM_USER + 1, 2, 0);
    });
    ASSERT_TRUE(WaitUntil([&] { return second == 7; }, [] { CheckSynchronize(1); }));
    sender.join();
    EXPECT_EQ(first, 42);
    EXPECT_TRUE(sawSenderGoOn);
    EXPECT_EQ(handledOn, std::this_thread::get_id());
    EXPECT_FALSE(InSendMessage());
    DeallocateHWnd(wnd);
}
