#pragma once
// Shared set-up of the GUI tests: the forms unit started once, a responder
// that records every dialog, and helpers that type keys into widgets.

#include "platform/gui/forms.h"
#include "platform/gui/qtbridge.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <vector>

class GuiTest : public ::testing::Test {
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

    // Sends a key press and release to a widget as the keyboard would.
    static void Key(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                    const QString& text = {}) {
        QKeyEvent press(QEvent::KeyPress, key, mods, text);
        QCoreApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, mods, text);
        QCoreApplication::sendEvent(w, &release);
    }

    // Runs the event loop until the condition holds or two seconds pass.
    static bool WaitFor(const std::function<bool()>& done) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!done()) {
            if (std::chrono::steady_clock::now() > until) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return true;
    }

    std::vector<TDialogRequest> requests;
    std::function<TDialogAnswer(const TDialogRequest&)> answer;
};

// A form built in code, freed at the end of the test.
struct TestForm {
    Owned<TForm> form{new TForm(nullptr, TCustomForm::NewTag{})};
    TestForm() { form->AfterConstruction(); }
    TForm* operator->() const { return form.get(); }
    TForm* get() const { return form.get(); }
};
