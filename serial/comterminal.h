#pragma once
// The terminal control: text received from a port goes through an escape
// code parser onto a grid of character cells; typed keys go to the port.

#include "platform/core/streams.h"
#include "platform/gui/stdctrls.h"
#include "platform/gui/winuser.h"
#include "serial/comport.h"
#include "serial/comportesc.h"
#include "serial/comtermbuffer.h"

#include <memory>
#include <unordered_map>
#include <vector>

enum TTermEmulation : std::uint8_t { teVT100orANSI, teVT52, teNone };
enum TTermCaret : std::uint8_t { tcBlock, tcUnderline, tcNone };
enum TArrowKeys : std::uint8_t { akTerminal, akWindows };
enum TAdvanceCaret : std::uint8_t { acChar, acReturn, acLineFeed, acReverseLineFeed, acTab, acBackspace };
template <>
const EnumInfo& EnumInfoOf<TTermEmulation>();
template <>
const EnumInfo& EnumInfoOf<TTermCaret>();
template <>
const EnumInfo& EnumInfoOf<TArrowKeys>();

class TEscapeCodes;
using TChScreenEvent = Event<void(TObject* Sender, Char Ch)>;
// The handler may put a parser of the program's own into EscapeCodes; the
// terminal takes ownership of it.
using TEscapeEvent = Event<void(TObject* Sender, TEscapeCodes*& EscapeCodes)>;
using TUnhandledEvent = Event<void(TObject* Sender, TEscapeCode Code, const String& Data)>;
using TStrRecvEvent = Event<void(TObject* Sender, String& Str)>;

class TCustomComTerminal : public TFramedControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomComTerminal(TComponent* AOwner);
    ~TCustomComTerminal() override;
    void BeforeDestruction() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WidgetResized(int AWidth, int AHeight) override;

    // Output to the screen.
    void Write(const void* Buffer, Integer Count);
    void WriteStr(const String& Str);
    void WriteEscCode(TEscapeCode Code, TStrings* Params);
    void ClearScreen();
    void PutChar(Char Ch);
    bool PutEscapeCode(TEscapeCode Code, TStrings* Params);
    void AdvanceCaret(TAdvanceCaret Kind);
    void MoveCaret(Integer X, Integer Y);
    // Output to the port.
    void SendChar(Char Ch);
    void SendCode(TEscapeCode Code, TStrings* Params);
    void SendCodeNoEcho(TEscapeCode Code, TStrings* Params);
    // The screen's text as bytes of the 8-bit code page, rows ending in CR LF.
    void SaveToStream(TStream* Stream);
    // Feeds the stream's bytes from its position to its end through PutChar.
    void LoadFromStream(TStream* Stream);
    void SelectFont();
    void ShowSetupDialog();

    // Repaints cells (Left..Right, Top..Bottom, 1-based, inclusive); while
    // text is being written, when it is done.
    void InvalidatePortion(const TRect& ARect);
    // Repaints now what the text being written has changed so far (before
    // the screen's pixels move).
    void FlushPortion();

    TCustomComPort* GetComPort() const { return FComPort; }
    void SetComPort(TCustomComPort* Value);
    bool GetConnected() const;
    void SetConnected(bool Value);
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    TScrollStyle GetScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    TArrowKeys GetArrowKeys() const { return FArrowKeys; }
    void SetArrowKeys(TArrowKeys Value) { FArrowKeys = Value; }
    bool GetWantTab() const { return FWantTab; }
    void SetWantTab(bool Value) { FWantTab = Value; }
    Integer GetColumns() const { return FColumns; }
    void SetColumns(Integer Value);
    Integer GetRows() const { return FRows; }
    void SetRows(Integer Value);
    TColor GetAltColor() const { return FAltColor; }
    void SetAltColor(TColor Value);
    bool GetLocalEcho() const { return FLocalEcho; }
    void SetLocalEcho(bool Value) { FLocalEcho = Value; }
    bool GetSendLF() const { return FSendLF; }
    void SetSendLF(bool Value) { FSendLF = Value; }
    bool GetAppendLF() const { return FAppendLF; }
    void SetAppendLF(bool Value) { FAppendLF = Value; }
    bool GetForce7Bit() const { return FForce7Bit; }
    void SetForce7Bit(bool Value) { FForce7Bit = Value; }
    bool GetWrapLines() const { return FWrapLines; }
    void SetWrapLines(bool Value) { FWrapLines = Value; }
    bool GetSmoothScroll() const { return FSmoothScroll; }
    void SetSmoothScroll(bool Value) { FSmoothScroll = Value; }
    TTermEmulation GetEmulation() const { return FEmulation; }
    void SetEmulation(TTermEmulation Value);
    TTermCaret GetCaret() const { return FCaret; }
    void SetCaret(TTermCaret Value);

    Integer GetCharWidth() const { return FCharWidth; }
    Integer GetCharHeight() const { return FCharHeight; }
    TPoint GetCaretPos() const { return FCaretPos; }
    TPoint GetTopLeft() const { return FTopLeft; }
    TComTermBuffer* GetBuffer() const { return FBuffer.get(); }
    TEscapeCodes* GetEscapeCodes() const { return FEscapeCodes.get(); }
    bool GetAppCursorKeys() const { return FAppCursorKeys; }

    TChScreenEvent OnChar;
    TEscapeEvent OnGetEscapeCodes;
    TUnhandledEvent OnUnhandledCode;
    TStrRecvEvent OnStrRecieved;

protected:
    void CreateParams(DWORD& Style, DWORD& ExStyle) override;
    void Ctl3DChanged() override;
    void Paint() override;
    void FontChanged() override;
    void ApplyColor() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DoEnter() override;
    void DoExit() override;
    void WMHScroll(int Code, int Pos) override;
    void WMVScroll(int Code, int Pos) override;
    TColor DefaultColor() const override { return clBlack; }
    // Return is a character the terminal sends, not the default button's.
    bool WantsReturns() const override { return true; }

    // The link's receive handler.
    void RxBuf(TObject* Sender, const AnsiChar* Buffer, Integer Count);

private:
    struct TTermAttributes {
        TColor FrontColor = clWhite;
        TColor BackColor = clBlack;
        bool Reverse = false;
        bool Bold = false;
        bool Underline = false;
    };

    bool Designing() const { return GetComponentState().Contains(csDesigning); }
    bool Loading() const { return GetComponentState().Contains(csLoading); }
    void CreateEscapeCodes();
    void ResetAttributes();
    void SetAttributes(TStrings* Params);
    void SetMode(TStrings* Params, bool OnOff);
    TComTermChar CurrentChar(Char Ch) const;
    void MoveCaretBy(Int64 X, Int64 Y);
    void CreateTerminalCaret();
    void DestroyTerminalCaret();
    void PlaceCaret();
    void MeasureFont();
    void AdjustSize();
    void UpdateScrollRange();
    void ScrollBy(int Bar, int Code, int Pos);
    Integer BorderWidth() const;
    void SizeChanged();
    void DrawCells(TCanvas* Canvas, Integer X, Integer Y, const TComTermChar& Look, const String& Text);
    // Cells are drawn once into pictures kept by look and copied from there.
    void DrawCachedCell(TCanvas* Canvas, Integer X, Integer Y, const TComTermChar& Cell);
    void ForgetCellPictures();
    void PaintDesign(TCanvas* Canvas);
    AnsiString TextToBytes(const String& Text) const;

    Owned<TComLink> FComLink;
    TCustomComPort* FComPort = nullptr;
    TBorderStyle FBorderStyle = bsSingle;
    TScrollStyle FScrollBars = ssBoth;
    TArrowKeys FArrowKeys = akTerminal;
    bool FWantTab = false;
    Integer FColumns = 80;
    Integer FRows = 24;
    TColor FAltColor = static_cast<TColor>(0xA6A6A6);
    bool FLocalEcho = false;
    bool FSendLF = false;
    bool FAppendLF = false;
    bool FForce7Bit = false;
    bool FWrapLines = false;
    bool FSmoothScroll = false;
    Integer FCharHeight = 0;
    Integer FCharWidth = 0;
    bool FVariablePitch = false;
    bool FRunsFit = false; // the face's advance is the cell width: runs of cells draw as one text
    Integer FWriting = 0;
    TRect FPortion; // cells changed by the text being written
    bool FHasPortion = false;
    // Pictures of drawn cells: pages of cells in a grid, found by the cell's look.
    struct TCellLook {
        Char Ch;
        TColor FrontColor;
        TColor BackColor;
        bool Underline;
        bool operator==(const TCellLook&) const = default;
    };
    struct TCellLookHash {
        std::size_t operator()(const TCellLook& l) const;
    };
    std::unordered_map<TCellLook, int, TCellLookHash> FCellSlots;
    std::vector<Owned<TBitmap>> FCellPages;
    TTermEmulation FEmulation = teVT100orANSI;
    TTermCaret FCaret = tcBlock;
    TPoint FCaretPos{1, 1};
    TPoint FSaveCaret{1, 1};
    bool FCaretCreated = false;
    TPoint FTopLeft{1, 1};
    Integer FCaretHeight = 0;
    TTermAttributes FSaveAttr;
    Owned<TComTermBuffer> FBuffer;
    Owned<TEscapeCodes> FEscapeCodes;
    TTermAttributes FTermAttr;
    bool FAppCursorKeys = false;
    // The first bytes of a character that the next received block completes.
    AnsiString FPendingBytes;
};

class TComTerminal : public TCustomComTerminal {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TCustomComTerminal::TCustomComTerminal;
};

// Registers the terminal for form resources.
void RegisterComTerminalClasses();
