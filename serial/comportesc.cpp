#include "serial/comportesc.h"

#include "platform/core/sysutils.h"

#include <algorithm>

namespace {

constexpr Char ESC = 27;

bool IsAsciiLetter(Char c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

AnsiString Esc(std::string_view rest) {
    AnsiString s(1, static_cast<char>(ESC));
    s += rest;
    return s;
}

AnsiString Num(Integer n) {
    return StringToAnsi(IntToStr(n));
}

// The first character of the first parameter, 0 without one.
Char FirstParamChar(const TStrings* Params) {
    if (Params->GetCount() == 0) return 0;
    const String p = Params->GetStrings(0);
    return p.empty() ? 0 : p[0];
}

} // namespace

template <>
const EnumInfo& EnumInfoOf<TEscapeCode>() {
    static const EnumInfo info{"TEscapeCode",
                               {"ecUnknown",
                                "ecNotCompleted",
                                "ecCursorUp",
                                "ecCursorDown",
                                "ecCursorLeft",
                                "ecCursorRight",
                                "ecCursorHome",
                                "ecCursorMove",
                                "ecReverseLineFeed",
                                "ecAppCursorLeft",
                                "ecAppCursorRight",
                                "ecAppCursorUp",
                                "ecAppCursorDown",
                                "ecEraseLineFrom",
                                "ecEraseScreenFrom",
                                "ecEraseLine",
                                "ecEraseScreen",
                                "ecSetTab",
                                "ecClearTab",
                                "ecClearAllTabs",
                                "ecIdentify",
                                "ecIdentResponse",
                                "ecQueryDevice",
                                "ecReportDeviceOK",
                                "ecReportDeviceFailure",
                                "ecQueryCursorPos",
                                "ecReportCursorPos",
                                "ecAttributes",
                                "ecSetMode",
                                "ecResetMode",
                                "ecReset",
                                "ecSaveCaretAndAttr",
                                "ecRestoreCaretAndAttr",
                                "ecSaveCaret",
                                "ecRestoreCaret",
                                "ecTest"}};
    return info;
}

// ---------------------------------------------------------------------------
// The base

const ClassInfo& TEscapeCodes::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TEscapeCodes>("TEscapeCodes", &TObject::StaticClass());
    return ci;
}

TEscapeCodes::TEscapeCodes() : FParams(new TStringList) {}

TEscapeCodes::~TEscapeCodes() = default;

Integer TEscapeCodes::GetParam(Integer N, const TStrings* Params) {
    if (!Params || N < 1 || Params->GetCount() < N) return 1;
    return StrToInt(Params->GetStrings(N - 1));
}

TEscapeResult TEscapeCodes::Collect(Char Ch) {
    if (!FEscStarted) {
        if (Ch == ESC) {
            FData.clear();
            FEscStarted = true;
            return erNothing;
        }
        FCharacter = Ch;
        return erChar;
    }
    FData.push_back(Ch);
    const TEscapeCode code = Detect();
    if (code == ecNotCompleted) return erNothing;
    FCode = code;
    EndSequence();
    return erCode;
}

// ---------------------------------------------------------------------------
// VT52

const ClassInfo& TEscapeCodesVT52::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TEscapeCodesVT52>("TEscapeCodesVT52", &TEscapeCodes::StaticClass());
    return ci;
}

TEscapeResult TEscapeCodesVT52::ProcessChar(Char Ch) {
    return Collect(Ch);
}

TEscapeCode TEscapeCodesVT52::Detect() {
    switch (FData[0]) {
    case u'A':
        return ecCursorUp;
    case u'B':
        return ecCursorDown;
    case u'C':
        return ecCursorRight;
    case u'D':
        return ecCursorLeft;
    case u'H':
        return ecCursorHome;
    case u'I':
        return ecReverseLineFeed;
    case u'J':
        return ecEraseScreenFrom;
    case u'K':
        return ecEraseLineFrom;
    case u'Z':
        return ecIdentify;
    case u'/':
        if (FData.size() < 2) return ecNotCompleted;
        return FData[1] == u'Z' ? ecIdentResponse : ecUnknown;
    case u'Y':
        if (FData.size() < 3) return ecNotCompleted;
        FParams->Clear();
        FParams->Add(IntToStr(static_cast<Integer>(FData[1]) - 31));
        FParams->Add(IntToStr(static_cast<Integer>(FData[2]) - 31));
        return ecCursorMove;
    default:
        return ecUnknown;
    }
}

AnsiString TEscapeCodesVT52::EscCodeToStr(TEscapeCode Code, const TStrings* Params) {
    // A position travels as one byte each: rows and columns past what a byte
    // can carry are sent as the farthest one it can.
    const auto positionByte = [&](Integer n) {
        const Int64 v = std::clamp<Int64>(static_cast<Int64>(GetParam(n, Params)) + 31, 32, 255);
        return static_cast<char>(static_cast<unsigned char>(v));
    };
    switch (Code) {
    case ecCursorUp:
        return Esc("A");
    case ecCursorDown:
        return Esc("B");
    case ecCursorLeft:
        return Esc("D");
    case ecCursorRight:
        return Esc("C");
    case ecCursorHome:
        return Esc("H");
    case ecCursorMove: {
        AnsiString s = Esc("Y");
        s.push_back(positionByte(1));
        s.push_back(positionByte(2));
        return s;
    }
    case ecReverseLineFeed:
        return Esc("I");
    case ecEraseLineFrom:
        return Esc("K");
    case ecEraseScreenFrom:
        return Esc("J");
    case ecIdentify:
        return Esc("Z");
    case ecIdentResponse:
        return Esc("/Z");
    default:
        return {};
    }
}

// ---------------------------------------------------------------------------
// VT100

const ClassInfo& TEscapeCodesVT100::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TEscapeCodesVT100>("TEscapeCodesVT100", &TEscapeCodes::StaticClass());
    return ci;
}

TEscapeResult TEscapeCodesVT100::ProcessChar(Char Ch) {
    return Collect(Ch);
}

void TEscapeCodesVT100::EndSequence() {
    TEscapeCodes::EndSequence();
    FLongCode = false;
}

TEscapeCode TEscapeCodesVT100::Detect() {
    if (FLongCode) return DetectLong();
    if (FData[0] == u'[') {
        FLongCode = true;
        return ecNotCompleted;
    }
    return DetectShort();
}

TEscapeCode TEscapeCodesVT100::DetectShort() const {
    switch (FData[0]) {
    case u'H':
        return ecSetTab;
    case u'7':
        return ecSaveCaretAndAttr;
    case u'8':
        return ecRestoreCaretAndAttr;
    case u'c':
        return ecReset;
    case u'#':
        if (FData.size() < 2) return ecNotCompleted;
        return FData[1] == u'8' ? ecTest : ecUnknown;
    case u'O':
        if (FData.size() < 2) return ecNotCompleted;
        switch (FData[1]) {
        case u'A':
            return ecAppCursorUp;
        case u'B':
            return ecAppCursorDown;
        case u'C':
            return ecAppCursorRight;
        case u'D':
            return ecAppCursorLeft;
        default:
            return ecUnknown;
        }
    default:
        return ecUnknown;
    }
}

TEscapeCode TEscapeCodesVT100::DetectLong() {
    const Char final = FData.back();
    if (!IsAsciiLetter(final)) return FData.size() >= MaxLongCode ? ecUnknown : ecNotCompleted;

    // The parameter text between "[" and the final letter, split at ";"; a
    // ";" after an empty field stays part of the next field.
    FParams->Clear();
    String field;
    for (std::size_t i = 1; i + 1 < FData.size(); ++i) {
        const Char c = FData[i];
        if (c == u';' && !field.empty()) {
            FParams->Add(field);
            field.clear();
        } else {
            field.push_back(c);
        }
    }
    if (!field.empty()) FParams->Add(field);

    const auto byFirst = [&](Char none0, TEscapeCode zero, Char other, TEscapeCode otherCode) {
        const Char c = FirstParamChar(FParams.get());
        FParams->Clear();
        if (c == 0 || c == none0) return zero;
        if (c == other) return otherCode;
        return ecUnknown;
    };
    switch (final) {
    case u'A':
        return ecCursorUp;
    case u'B':
        return ecCursorDown;
    case u'C':
        return ecCursorRight;
    case u'D':
        return ecCursorLeft;
    case u'H':
        return ecCursorHome;
    case u'f':
        return ecCursorMove;
    case u'J':
        return byFirst(u'0', ecEraseScreenFrom, u'2', ecEraseScreen);
    case u'K':
        return byFirst(u'0', ecEraseLineFrom, u'2', ecEraseLine);
    case u'g':
        return byFirst(u'0', ecClearTab, u'3', ecClearAllTabs);
    case u'n': {
        const Char c = FirstParamChar(FParams.get());
        FParams->Clear();
        switch (c) {
        case u'0':
            return ecReportDeviceOK;
        case u'3':
            return ecReportDeviceFailure;
        case u'5':
            return ecQueryDevice;
        case u'6':
            return ecQueryCursorPos;
        default:
            return ecUnknown;
        }
    }
    case u'c': {
        const int n = FParams->GetCount();
        if (n == 0 || (n == 1 && FParams->GetStrings(0) == u"0")) return ecIdentify;
        if (n == 2 && FParams->GetStrings(0) == u"?1") return ecIdentResponse;
        return ecUnknown;
    }
    case u'R':
        return ecReportCursorPos;
    case u'h':
        return ecSetMode;
    case u'l':
        return ecResetMode;
    case u'm':
        return ecAttributes;
    case u's':
        return ecSaveCaret;
    case u'u':
        return ecRestoreCaret;
    default:
        return ecUnknown;
    }
}

AnsiString TEscapeCodesVT100::EscCodeToStr(TEscapeCode Code, const TStrings* Params) {
    switch (Code) {
    case ecCursorUp:
        return Esc("[A");
    case ecCursorDown:
        return Esc("[B");
    case ecCursorRight:
        return Esc("[C");
    case ecCursorLeft:
        return Esc("[D");
    case ecCursorHome:
        return Esc("[H");
    case ecCursorMove:
        return Esc("[" + Num(GetParam(1, Params)) + ";" + Num(GetParam(2, Params)) + "f");
    case ecAppCursorLeft:
        return Esc("OD");
    case ecAppCursorRight:
        return Esc("OC");
    case ecAppCursorUp:
        return Esc("OA");
    case ecAppCursorDown:
        return Esc("OB");
    case ecEraseLineFrom:
        return Esc("[K");
    case ecEraseScreenFrom:
        return Esc("[J");
    case ecEraseLine:
        return Esc("[2K");
    case ecEraseScreen:
        return Esc("[2J");
    case ecSetTab:
        return Esc("H");
    case ecClearTab:
        return Esc("[g");
    case ecClearAllTabs:
        return Esc("[3g");
    case ecIdentify:
        return Esc("[c");
    case ecIdentResponse:
        return Esc("[?1;" + Num(GetParam(1, Params)) + "c");
    case ecQueryDevice:
        return Esc("[5n");
    case ecReportDeviceOK:
        return Esc("[0n");
    case ecReportDeviceFailure:
        return Esc("[3n");
    case ecQueryCursorPos:
        return Esc("[6n");
    case ecReportCursorPos:
        return Esc("[" + Num(GetParam(1, Params)) + ";" + Num(GetParam(2, Params)) + "R");
    case ecAttributes:
        return Esc("[m");
    case ecSetMode:
        return Esc("[h");
    case ecResetMode:
        return Esc("[l");
    case ecReset:
        return Esc("c");
    case ecSaveCaretAndAttr:
        return Esc("7");
    case ecRestoreCaretAndAttr:
        return Esc("8");
    case ecSaveCaret:
        return Esc("[s");
    case ecRestoreCaret:
        return Esc("[u");
    case ecTest:
        return Esc("#8");
    default:
        return {};
    }
}
