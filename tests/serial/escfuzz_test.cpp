// Random bytes fed to both parsers and to the terminal: nothing breaks, and
// nothing they hold grows with the input.

#include "tests/serial/terminaltest.h"

#include <random>

namespace {

// Bytes weighted toward what escape sequences are made of, so that the
// random text reaches deep into the detectors.
std::string RandomBytes(std::mt19937& rng, std::size_t count) {
    static const std::string alphabet = "\x1b\x1b\x1b[[[;;??0123456789#OYZ/HJKmhlnrcfgsuABCD78\r\n\b\t\f ab";
    std::string s;
    s.reserve(count);
    std::uniform_int_distribution<int> pick(0, 9);
    std::uniform_int_distribution<int> any(0, 255);
    std::uniform_int_distribution<std::size_t> from(0, alphabet.size() - 1);
    for (std::size_t i = 0; i < count; ++i)
        s.push_back(pick(rng) < 7 ? alphabet[from(rng)] : static_cast<char>(any(rng)));
    return s;
}

class TerminalUnderTest : public TComTerminal {
public:
    using TComTerminal::RxBuf;
    using TComTerminal::TComTerminal;
};

} // namespace

TEST(EscapeFuzzParsers, StayBoundedOnRandomInput) {
    std::mt19937 rng(20261207);
    TEscapeCodesVT100 vt100;
    TEscapeCodesVT52 vt52;
    std::size_t codes = 0;
    for (int round = 0; round < 50; ++round) {
        const std::string bytes = RandomBytes(rng, 20000);
        for (const char b : bytes) {
            const Char c = static_cast<unsigned char>(b);
            for (TEscapeCodes* p : {static_cast<TEscapeCodes*>(&vt100), static_cast<TEscapeCodes*>(&vt52)}) {
                if (p->ProcessChar(c) == erCode) {
                    ++codes;
                    // Spelling what was found never fails, whatever the parameters.
                    try {
                        p->EscCodeToStr(p->GetCode(), p->GetParams());
                    } catch (const EConvertError&) {
                    }
                    p->GetParams()->Clear();
                }
            }
            ASSERT_LE(vt100.GetData().size(), TEscapeCodesVT100::MaxLongCode);
            ASSERT_LE(vt52.GetData().size(), 3u);
            ASSERT_LE(vt100.GetParams()->GetCount(), static_cast<int>(TEscapeCodesVT100::MaxLongCode));
        }
    }
    EXPECT_GT(codes, 10000u);
}

class EscapeFuzz : public FormTest {};

TEST_F(EscapeFuzz, TerminalTakesRandomBlocksOfAnySize) {
    TestForm form;
    auto* term = Create<TerminalUnderTest>(form.get());
    term->SetParent(form.get());
    form->Show();
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> size(1, 5000);
    std::uniform_int_distribution<int> coin(0, 3);
    int unhandled = 0;
    term->OnUnhandledCode.Bind([&](TObject*, TEscapeCode, const String&) { ++unhandled; });
    for (int round = 0; round < 300; ++round) {
        const std::string block = RandomBytes(rng, static_cast<std::size_t>(size(rng)));
        if (round % 50 == 0) term->SetEmulation(static_cast<TTermEmulation>(round / 50 % 3));
        term->SetWrapLines(coin(rng) == 0);
        term->SetAppendLF(coin(rng) == 0);
        term->SetForce7Bit(coin(rng) == 0);
        term->RxBuf(term, block.data(), static_cast<Integer>(block.size()));
        const TPoint caret = term->GetCaretPos();
        ASSERT_GE(caret.X, 1);
        ASSERT_LE(caret.X, term->GetColumns());
        ASSERT_GE(caret.Y, 1);
        ASSERT_LE(caret.Y, term->GetRows());
        ASSERT_EQ(term->GetBuffer()->GetColumns(), term->GetColumns());
        if (round % 20 == 0) probe::ProcessEvents();
    }
    EXPECT_GT(unhandled, 0);
    probe::ProcessEvents();
}
