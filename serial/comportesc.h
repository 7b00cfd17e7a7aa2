#pragma once
// Escape code parsers of the terminal: they split received characters into
// plain characters and escape codes with parameters, and spell a code as the
// text to send.

#include "platform/core/classes.h"
#include "platform/core/lists.h"

enum TEscapeCode : std::uint8_t {
    ecUnknown,
    ecNotCompleted,
    ecCursorUp,
    ecCursorDown,
    ecCursorLeft,
    ecCursorRight,
    ecCursorHome,
    ecCursorMove,
    ecReverseLineFeed,
    ecAppCursorLeft,
    ecAppCursorRight,
    ecAppCursorUp,
    ecAppCursorDown,
    ecEraseLineFrom,
    ecEraseScreenFrom,
    ecEraseLine,
    ecEraseScreen,
    ecSetTab,
    ecClearTab,
    ecClearAllTabs,
    ecIdentify,
    ecIdentResponse,
    ecQueryDevice,
    ecReportDeviceOK,
    ecReportDeviceFailure,
    ecQueryCursorPos,
    ecReportCursorPos,
    ecAttributes,
    ecSetMode,
    ecResetMode,
    ecReset,
    ecSaveCaretAndAttr,
    ecRestoreCaretAndAttr,
    ecSaveCaret,
    ecRestoreCaret,
    ecTest
};
template <>
const EnumInfo& EnumInfoOf<TEscapeCode>();

// What ProcessChar found.
enum TEscapeResult : std::uint8_t {
    erChar = 0,    // a plain character, now in Character
    erCode = 1,    // a complete escape code, in Code with Params
    erNothing = 2, // inside a sequence: nothing to show yet
};

class TEscapeCodes : public TObject {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TEscapeCodes();
    ~TEscapeCodes() override;

    // Takes one received character. The caller clears Params after handling
    // a complete code.
    virtual TEscapeResult ProcessChar(Char Ch) = 0;
    // The bytes to send for a code; empty for codes this emulation cannot send.
    virtual AnsiString EscCodeToStr(TEscapeCode Code, const TStrings* Params) = 0;
    // The N-th parameter (1-based) as a decimal number; 1 without a list or
    // with fewer than N parameters. A parameter that is not a decimal number
    // raises EConvertError.
    static Integer GetParam(Integer N, const TStrings* Params);

    Char GetCharacter() const { return FCharacter; }
    TEscapeCode GetCode() const { return FCode; }
    const String& GetData() const { return FData; }
    TStrings* GetParams() const { return FParams.get(); }
    bool GetEscStarted() const { return FEscStarted; }

protected:
    // The common frame of both emulations: ESC starts a sequence, Detect
    // examines the collected text after each character.
    TEscapeResult Collect(Char Ch);
    virtual TEscapeCode Detect() = 0;
    // Ends the sequence (the next character is plain again).
    virtual void EndSequence() { FEscStarted = false; }

    Char FCharacter = 0;
    TEscapeCode FCode = ecUnknown;
    String FData;
    Owned<TStringList> FParams;
    bool FEscStarted = false;
};

class TEscapeCodesVT52 : public TEscapeCodes {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TEscapeResult ProcessChar(Char Ch) override;
    AnsiString EscCodeToStr(TEscapeCode Code, const TStrings* Params) override;

protected:
    TEscapeCode Detect() override;
};

class TEscapeCodesVT100 : public TEscapeCodes {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    // A "[" sequence that reaches this many characters without its final
    // letter is ended as unknown: hostile input cannot grow it without bound.
    static constexpr std::size_t MaxLongCode = 256;

    TEscapeResult ProcessChar(Char Ch) override;
    AnsiString EscCodeToStr(TEscapeCode Code, const TStrings* Params) override;
    bool GetLongCode() const { return FLongCode; }

protected:
    TEscapeCode Detect() override;
    void EndSequence() override;

private:
    TEscapeCode DetectShort() const;
    TEscapeCode DetectLong();

    bool FLongCode = false;
};
