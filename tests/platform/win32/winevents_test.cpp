#include "platform/win32/winevents.h"

#include <gtest/gtest.h>

#include <thread>

TEST(WinEvents, ManualAndAutoResetSemantics) {
    HANDLE manual = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    HANDLE autoEv = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    ASSERT_TRUE(manual && autoEv);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0); // stays signalled
    ASSERT_TRUE(ResetEvent(manual));
    EXPECT_EQ(WaitForSingleObject(manual, 10), WAIT_TIMEOUT);

    const HANDLE both[] = {manual, autoEv};
    SetEvent(autoEv);
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_TIMEOUT); // consumed
    SetEvent(autoEv);
    SetEvent(manual);
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_OBJECT_0); // lowest index wins
    EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 0), WAIT_FAILED);

    std::thread setter([&] { SetEvent(autoEv); });
    ResetEvent(manual);
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, INFINITE), WAIT_OBJECT_0 + 1);
    setter.join();

    CloseHandle(manual);
    CloseHandle(autoEv);
    EXPECT_FALSE(SetEvent(manual));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_FAILED);
}

TEST(WinEvents, LastErrorIsPerThread) {
    SetLastError(5);
    std::thread([] {
        EXPECT_EQ(GetLastError(), 0u);
        SetLastError(87);
    }).join();
    EXPECT_EQ(GetLastError(), 5u);
}
