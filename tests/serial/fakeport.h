#pragma once
// A port over the recording comm fake, with the test thread as the main
// thread that runs synchronised calls.

#include "platform/core/threads.h"
#include "platform/win32/comm_fake.h"
#include "serial/comport.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <vector>

class FakePortTest : public ::testing::Test {
protected:
    // Runs the calls queued for the main thread until Done holds (bounded).
    template <class Done>
    static bool Pump(Done done) {
        return testsupport::WaitUntil(done, [] { CheckSynchronize(1); });
    }
    // The DCB of the last SetCommState.
    DCB LastDcb() const {
        const auto call = comm.Last("SetCommState");
        EXPECT_TRUE(call.has_value());
        return call ? call->dcb : DCB{};
    }
    template <class Fn>
    static EComPort Raised(Fn fn) {
        try {
            fn();
        } catch (const EComPort& e) {
            return e;
        }
        ADD_FAILURE() << "no EComPort";
        return EComPort(0);
    }

    win32::RecordingComm comm;
    Owned<TComPort> port{Create<TComPort>(nullptr)};
};
