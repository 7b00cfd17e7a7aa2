// The VT52 and VT100 escape parsers on received bytes: what they hold stays
// bounded, and every code they find can be spelled back.
#include "tests/fuzz/fuzzing.h"
#include "tests/fuzz/spelledcodes.h"

#include <string>

namespace {

void Feed(TEscapeCodes& Codes, std::string_view Input, std::size_t MaxData, int MaxParams) {
    for (const char b : Input) {
        if (Codes.ProcessChar(static_cast<unsigned char>(b)) == erCode) {
            try {
                Codes.EscCodeToStr(Codes.GetCode(), Codes.GetParams());
                for (int n = 1; n <= Codes.GetParams()->GetCount(); ++n)
                    TEscapeCodes::GetParam(n, Codes.GetParams());
            } catch (const EConvertError&) {
            }
            Codes.GetParams()->Clear();
        }
        fuzz::Check(Codes.GetData().size() <= MaxData, "the sequence grew past its bound");
        fuzz::Check(Codes.GetParams()->GetCount() <= MaxParams, "the parameters grew past their bound");
    }
}

} // namespace

fuzz::Seeds FuzzSeeds() {
    TEscapeCodesVT52 vt52;
    TEscapeCodesVT100 vt100;
    return {{"vt52.esc", SpelledCodes(vt52)}, {"vt100.esc", SpelledCodes(vt100)}};
}

void FuzzOne(std::string_view Input) {
    TEscapeCodesVT52 vt52;
    Feed(vt52, Input, 3, 3);
    TEscapeCodesVT100 vt100;
    Feed(vt100, Input, TEscapeCodesVT100::MaxLongCode, static_cast<int>(TEscapeCodesVT100::MaxLongCode));
}
