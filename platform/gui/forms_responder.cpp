// The dialog responder: a test's answer to every modal dialog and message box.
#include "platform/gui/forms.h"

namespace {
TDialogResponder& Responder() {
    static TDialogResponder responder;
    return responder;
}
} // namespace

TDialogResponder SetDialogResponder(TDialogResponder Responder_) {
    TDialogResponder old = std::move(Responder());
    Responder() = std::move(Responder_);
    return old;
}

const TDialogResponder& GetDialogResponder() {
    return Responder();
}
