// The terminal on received bytes: the first byte picks the emulation and the
// options, the rest arrives as one block. The caret stays on the screen, the
// screen keeps its size, and the terminal paints what it holds.
#include "platform/gui/forms.h"
#include "serial/comterminal.h"
#include "tests/fuzz/fuzzing.h"
#include "tests/fuzz/spelledcodes.h"
#include "tests/support/guiprobe.h"

namespace {

class TerminalUnderTest : public TComTerminal {
public:
    using TComTerminal::RxBuf;
    using TComTerminal::TComTerminal;
};

void Run(TForm* Form, Byte Options, std::string_view Block) {
    const Owned<TerminalUnderTest> owned(Create<TerminalUnderTest>(Form));
    TerminalUnderTest* term = owned.get();
    term->SetParent(Form);
    term->SetEmulation(static_cast<TTermEmulation>(Options % 3));
    term->SetWrapLines(Options & 0x08);
    term->SetAppendLF(Options & 0x10);
    term->SetForce7Bit(Options & 0x20);
    term->SetLocalEcho(Options & 0x40);
    term->RxBuf(term, Block.data(), static_cast<Integer>(Block.size()));
    const TPoint caret = term->GetCaretPos();
    fuzz::Check(caret.X >= 1 && caret.X <= term->GetColumns() && caret.Y >= 1 && caret.Y <= term->GetRows(),
                "the caret left the screen");
    fuzz::Check(term->GetBuffer()->GetColumns() == term->GetColumns(), "the screen changed its width");
    term->Repaint();
}

} // namespace

fuzz::Seeds FuzzSeeds() {
    TEscapeCodesVT100 vt100;
    TEscapeCodesVT52 vt52;
    return {{"vt100.term", std::string(1, '\0') + SpelledCodes(vt100)},
            {"vt52.term", "\x01" + SpelledCodes(vt52)},
            {"wrap.term", "\x18" + std::string(200, 'w') + "\r\n\x1b[2J\x1b[5;5Hx\x1b[0;1;4;7m" +
                              "\xD0\x9F\xD1\x80\xD0\xB8"}};
}

void FuzzOne(std::string_view Input) {
    if (Input.empty()) return;
    static const Owned<TForm> form = [] {
        Owned<TForm> made(Create<TForm>(nullptr, TCustomForm::NewTag{}));
        made->SetBounds(0, 0, 500, 300);
        made->Show();
        return made;
    }();
    Run(form.get(), static_cast<Byte>(Input[0]), Input.substr(1));
    // The freed terminal's window goes with the next turn of the event loop.
    probe::ProcessEvents();
}
