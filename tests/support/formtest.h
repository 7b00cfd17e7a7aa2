#pragma once
// Shared set-up of tests that make forms: the forms unit started once, a
// responder that records every dialog (and answers it as the test says), and
// bounded waiting on the event loop.

#include "platform/gui/forms.h"
#include "tests/support/guiprobe.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

class FormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitFormsUnit(); }

    void SetUp() override {
        requests.clear();
        SetDialogResponder([this](const TDialogRequest& r) {
            requests.push_back(r);
            return answer ? answer(r) : TDialogAnswer{};
        });
    }
    void TearDown() override {
        SetDialogResponder({});
        Application->SetClock(nullptr);
    }

    // Runs the event loop until the condition holds or two seconds pass.
    static bool WaitFor(const std::function<bool()>& done) { return probe::WaitFor(done); }

    std::vector<TDialogRequest> requests;
    std::function<TDialogAnswer(const TDialogRequest&)> answer;
};

// A form built in code, freed at the end of the test.
struct TestForm {
    Owned<TForm> form{Create<TForm>(nullptr, TCustomForm::NewTag{})};
    TForm* operator->() const { return form.get(); }
    TForm* get() const { return form.get(); }
};
