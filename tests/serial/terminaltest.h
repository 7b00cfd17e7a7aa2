#pragma once
// Shared set-up of the terminal tests: a shown form holding a terminal, and
// readers of its screen.

#include "serial/comterminal.h"
#include "tests/support/formtest.h"

class TerminalTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        form->SetBounds(0, 0, 900, 500);
        term = Create<TComTerminal>(form.get());
        term->SetParent(form.get());
        form->Show();
    }

    // Row Y as text, empty cells as blanks, up to its last character.
    String Row(Integer y) const {
        String s;
        for (Integer x = 1; x <= term->GetBuffer()->GetLineLength(y); ++x) {
            const Char c = term->GetBuffer()->GetChar(x, y).Ch;
            s.push_back(c ? c : u' ');
        }
        return s;
    }
    TPoint Caret() const { return term->GetCaretPos(); }
    void Put(std::u16string_view text) { term->WriteStr(String(text)); }
    // The control as it shows now, and a pixel of its client area.
    probe::Picture Picture() const {
        probe::ProcessEvents();
        return probe::Grab(*term);
    }
    probe::Rgb ClientPixel(const probe::Picture& p, int x, int y) const {
        const int edge = GetSystemMetrics(SM_CXEDGE);
        return p.Pixel(x + edge, y + edge);
    }

    TestForm form;
    TComTerminal* term = nullptr;
};
