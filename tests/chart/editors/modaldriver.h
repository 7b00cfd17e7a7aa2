#pragma once
// Drives modal forms and dialogs in tests. Each expected step is queued in the order the code
// under test will open them: a modal form of a class gets test code run on it while it is shown
// (press its buttons, change its controls, look at it), then is closed with a chosen result;
// a message box or common dialog gets its answer. Nested ones work: the steps are taken in the
// order the requests arrive. The driver puts back the responder it replaced when it goes, and
// fails the test for a request no step expected or a step no request used.
//
//   ModalDriver driver;
//   driver.Form<TPenDialog>([](TPenDialog& d) { d.UDWidth->SetPosition(3); }, mrOk)
//         .Dialog(TDialogKind::ColorDialog, ColorChosen(clRed));
//   EXPECT_TRUE(EditChartPen(nullptr, &pen));

#include "platform/gui/dialogs.h"
#include "platform/gui/forms.h"

#include <gtest/gtest.h>

#include <deque>
#include <exception>
#include <functional>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

// Answers for Dialog steps.
inline TDialogAnswer Answered(TModalResult Result) {
    TDialogAnswer a;
    a.Result = Result;
    return a;
}
inline TDialogAnswer ColorChosen(TColor Color) {
    TDialogAnswer a = Answered(mrOk);
    a.Color = Color;
    return a;
}
inline TDialogAnswer FileChosen(const String& FileName) {
    TDialogAnswer a = Answered(mrOk);
    a.FileName = FileName;
    return a;
}
inline TDialogAnswer FontChosen(const String& Name, int Size) {
    TDialogAnswer a = Answered(mrOk);
    a.FontName = Name;
    a.FontSize = Size;
    return a;
}

inline TDialogAnswer PagesChosen(int From, int To) {
    TDialogAnswer a = Answered(mrOk);
    a.FromPage = From;
    a.ToPage = To;
    return a;
}

class ModalDriver {
public:
    ModalDriver() {
        previous_ = SetDialogResponder([this](const TDialogRequest& r) { return Answer(r); });
    }
    ~ModalDriver() {
        SetDialogResponder(std::move(previous_));
        if (!steps_.empty() && std::uncaught_exceptions() == 0)
            ADD_FAILURE() << steps_.size()
                          << " expected dialog(s) never opened, the first: " << steps_.front().what;
    }
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    // A modal form of class T (or derived): Act runs while it is shown; the form then closes with
    // Result unless Act already closed it (pressed OK or Cancel, set its ModalResult).
    template <class T>
    ModalDriver& Form(std::function<void(T&)> Act, TModalResult Result = mrOk) {
        steps_.push_back(
            Step{std::string("modal form ") + typeid(T).name(), [Act, Result](const TDialogRequest& r) {
                     TDialogAnswer a;
                     auto* form = dynamic_cast<T*>(r.Form);
                     if (r.Kind != TDialogKind::ModalForm || !form) return Mismatch(a);
                     if (Act) Act(*form);
                     a.Result = Result;
                     return std::make_pair(true, a);
                 }});
        return *this;
    }
    // A message box, message dialog or common dialog of that kind: Check sees the request, then
    // Answer goes back.
    ModalDriver& Dialog(TDialogKind Kind, TDialogAnswer Answer = {},
                        std::function<void(const TDialogRequest&)> Check = {}) {
        steps_.push_back(Step{KindName(Kind), [Kind, Answer, Check](const TDialogRequest& r) {
                                  TDialogAnswer a = Answer;
                                  if (r.Kind != Kind) return Mismatch(a);
                                  if (Check) Check(r);
                                  return std::make_pair(true, a);
                              }});
        return *this;
    }
    // Every request seen, in order (also the ones no step expected).
    const std::vector<TDialogRequest>& Requests() const { return seen_; }
    std::size_t Pending() const { return steps_.size(); }

private:
    using Handler = std::function<std::pair<bool, TDialogAnswer>(const TDialogRequest&)>;
    struct Step {
        std::string what;
        Handler handle;
    };
    static std::pair<bool, TDialogAnswer> Mismatch(TDialogAnswer a) { return {false, a}; }
    static std::string KindName(TDialogKind Kind) {
        static const char* const names[] = {
            "message box", "message dialog", "open dialog",          "save dialog", "modal form",
            "font dialog", "colour dialog",  "printer setup dialog", "input query", "print dialog"};
        return names[static_cast<int>(Kind)];
    }

    TDialogAnswer Answer(const TDialogRequest& r) {
        seen_.push_back(r);
        if (steps_.empty()) {
            ADD_FAILURE() << "unexpected " << KindName(r.Kind) << " \"" << UTF8Encode(r.Caption) << "\" / \""
                          << UTF8Encode(r.Text) << "\"";
            return Answered(mrCancel);
        }
        // Taken off before it runs, so a dialog its test code opens meets the next step.
        Step step = std::move(steps_.front());
        steps_.pop_front();
        auto [matched, answer] = step.handle(r);
        if (!matched) {
            ADD_FAILURE() << "expected " << step.what << ", got " << KindName(r.Kind) << " \""
                          << UTF8Encode(r.Caption) << "\"";
            return Answered(mrCancel);
        }
        return answer;
    }

    TDialogResponder previous_;
    std::deque<Step> steps_;
    std::vector<TDialogRequest> seen_;
};
