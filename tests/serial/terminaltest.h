#pragma once
// Shared set-up of the terminal tests: a shown form holding a terminal, and
// readers of its screen.

#include "serial/comterminal.h"
#include "tests/platform/gui/guitest.h"

#include <QImage>

class TerminalTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form->SetBounds(0, 0, 900, 500);
        term = new TComTerminal(form.get());
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
    // The control's client area as it shows now.
    QImage Picture() const {
        QCoreApplication::processEvents();
        return term->InputSurface()->grab().toImage();
    }

    TestForm form;
    TComTerminal* term = nullptr;
};
