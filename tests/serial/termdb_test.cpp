// The escape parsers against the system's terminal database: every sequence
// that ncurses' tput emits for the vt100 and vt52 entries, for the
// capabilities the terminal supports, is read back as the codes it stands for.
//
// Out of scope (the emulations do not know them, so they read as unknown codes
// or as plain control characters): vt100 el1 (ESC [1K), ri (ESC M), u9 (ESC Z),
// csr (ESC [..r), enacs/smacs/rmacs (ESC ( B, ESC ) 0, ^N, ^O), the keypad's
// ESC = and ESC >, the PF and function keys (ESC O P.. ESC O y), mc0/mc4/mc5
// (ESC [..i), rs2 (ESC <), u8 (a reply pattern, not a sequence); vt52 smacs and
// rmacs (ESC F, ESC G), the keypad's ESC = and ESC >, the function keys (ESC P..,
// ESC ? x), and u8 (ESC / K or ESC / L).

#include "serial/comportesc.h"

#include "platform/core/sysutils.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

// The bytes tput prints for one capability of a terminal type.
std::string Tput(const std::string& term, const std::string& args) {
    const std::string command = "tput -T " + term + " " + args + " 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) return {};
    std::string out;
    char buf[256];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, pipe.get())) > 0) out.append(buf, n);
    return out;
}

// What the parser makes of the bytes: code names with their parameters,
// plain characters as ^ and their number.
std::string Tokens(TEscapeCodes& codes, const std::string& bytes) {
    std::string out;
    bool open = false;
    for (const char b : bytes) {
        const TEscapeResult r = codes.ProcessChar(static_cast<unsigned char>(b));
        if (r == erNothing) {
            open = true;
            continue;
        }
        open = false;
        if (!out.empty()) out += ' ';
        if (r == erChar) {
            out += "^" + std::to_string(codes.GetCharacter());
            continue;
        }
        out += EnumInfoOf<TEscapeCode>().NameOf(codes.GetCode());
        TStrings* params = codes.GetParams();
        if (params->GetCount() > 0) {
            out += '(';
            for (int i = 0; i < params->GetCount(); ++i) {
                if (i) out += ',';
                out += UTF8Encode(params->GetStrings(i));
            }
            out += ')';
        }
        params->Clear();
    }
    if (open) out += " <incomplete>";
    return out;
}

struct Capability {
    const char* args;
    const char* expected;
};

void Check(const std::string& term, TEscapeCodes& codes, const std::vector<Capability>& table) {
    for (const Capability& c : table) {
        const std::string bytes = Tput(term, c.args);
        ASSERT_FALSE(bytes.empty()) << term << " " << c.args
                                    << ": tput gave nothing (is ncurses-bin installed?)";
        EXPECT_EQ(Tokens(codes, bytes), c.expected) << term << " " << c.args;
    }
}

} // namespace

TEST(TerminalDatabase, Vt100SequencesReadAsTheirCodes) {
    TEscapeCodesVT100 vt;
    Check("vt100", vt,
          {
              {"cup 4 9", "ecCursorHome(5,10)"},
              {"cup 0 0", "ecCursorHome(1,1)"},
              {"home", "ecCursorHome"},
              {"clear", "ecCursorHome ecEraseScreenFrom"},
              {"cuu1", "ecCursorUp"},
              {"cuf1", "ecCursorRight"},
              {"cuu 3", "ecCursorUp(3)"},
              {"cud 3", "ecCursorDown(3)"},
              {"cuf 12", "ecCursorRight(12)"},
              {"cub 7", "ecCursorLeft(7)"},
              {"cub1", "^8"},
              {"cud1", "^10"},
              {"ind", "^10"},
              {"cr", "^13"},
              {"ht", "^9"},
              {"ed", "ecEraseScreenFrom"},
              {"el", "ecEraseLineFrom"},
              {"hts", "ecSetTab"},
              {"tbc", "ecClearAllTabs"},
              {"bold", "ecAttributes(1)"},
              {"rev", "ecAttributes(7)"},
              {"smso", "ecAttributes(7)"},
              {"smul", "ecAttributes(4)"},
              {"blink", "ecAttributes(5)"},
              {"rmul", "ecAttributes"},
              {"rmso", "ecAttributes"},
              {"sgr0", "ecAttributes ^15"},
              {"sgr 0 0 0 0 0 0 0 0 0", "ecAttributes(0) ^15"},
              {"sgr 1 1 0 0 0 1 0 0 0", "ecAttributes(0,1,4,7) ^15"},
              {"sc", "ecSaveCaretAndAttr"},
              {"rc", "ecRestoreCaretAndAttr"},
              {"smam", "ecSetMode(?7)"},
              {"rmam", "ecResetMode(?7)"},
              {"u7", "ecQueryCursorPos"},
              {"kcuu1", "ecAppCursorUp"},
              {"kcud1", "ecAppCursorDown"},
              {"kcuf1", "ecAppCursorRight"},
              {"kcub1", "ecAppCursorLeft"},
          });
}

TEST(TerminalDatabase, Vt52SequencesReadAsTheirCodes) {
    TEscapeCodesVT52 vt;
    Check("vt52", vt,
          {
              {"cup 4 9", "ecCursorMove(5,10)"},
              {"cup 23 79", "ecCursorMove(24,80)"},
              {"home", "ecCursorHome"},
              {"clear", "ecCursorHome ecEraseScreenFrom"},
              {"cuu1", "ecCursorUp"},
              {"cud1", "ecCursorDown"},
              {"cuf1", "ecCursorRight"},
              {"cub1", "ecCursorLeft"},
              {"ri", "ecReverseLineFeed"},
              {"ed", "ecEraseScreenFrom"},
              {"el", "ecEraseLineFrom"},
              {"u9", "ecIdentify"},
              {"kcuu1", "ecCursorUp"},
              {"kcud1", "ecCursorDown"},
              {"kcuf1", "ecCursorRight"},
              {"kcub1", "ecCursorLeft"},
              {"nel", "^13 ^10"},
              {"ht", "^9"},
          });
}

// What the terminal sends is what the database says the terminal understands.
TEST(TerminalDatabase, CodesTheTerminalSendsMatchTheDatabase) {
    TEscapeCodesVT100 vt100;
    TEscapeCodesVT52 vt52;
    TStringList at;
    at.Add(u"5");
    at.Add(u"10");
    EXPECT_EQ(vt52.EscCodeToStr(ecCursorMove, &at), Tput("vt52", "cup 4 9"));
    EXPECT_EQ(vt52.EscCodeToStr(ecCursorUp, nullptr), Tput("vt52", "kcuu1"));
    EXPECT_EQ(vt52.EscCodeToStr(ecCursorLeft, nullptr), Tput("vt52", "kcub1"));
    EXPECT_EQ(vt100.EscCodeToStr(ecAppCursorUp, nullptr), Tput("vt100", "kcuu1"));
    EXPECT_EQ(vt100.EscCodeToStr(ecAppCursorRight, nullptr), Tput("vt100", "kcuf1"));
    EXPECT_EQ(vt100.EscCodeToStr(ecQueryCursorPos, nullptr), Tput("vt100", "u7"));
    EXPECT_EQ(vt100.EscCodeToStr(ecClearAllTabs, nullptr), Tput("vt100", "tbc"));
    EXPECT_EQ(vt100.EscCodeToStr(ecSetTab, nullptr), Tput("vt100", "hts"));
}
