#include "serial/comterminal.h"

#include "platform/gui/dialogs.h"
#include "serial/comsetupdialogs.h"

#include <algorithm>

template <>
const EnumInfo& EnumInfoOf<TTermEmulation>() {
    static const EnumInfo info{"TTermEmulation", {"teVT100orANSI", "teVT52", "teNone"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TTermCaret>() {
    static const EnumInfo info{"TTermCaret", {"tcBlock", "tcUnderline", "tcNone"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TArrowKeys>() {
    static const EnumInfo info{"TArrowKeys", {"akTerminal", "akWindows"}};
    return info;
}

namespace {

constexpr Char CR = 13;
constexpr Char LF = 10;

} // namespace

// ---------------------------------------------------------------------------
// Construction

const ClassInfo& TCustomComTerminal::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TCustomComTerminal>("TCustomComTerminal", &TFramedControl::StaticClass());
    return ci;
}

TCustomComTerminal::TCustomComTerminal(TComponent* AOwner)
    : TFramedControl(AOwner), FComLink(new TComLink), FBuffer(new TComTermBuffer(this)) {
    FComLink->OnRxBuf.Bind(
        [this](TObject* Sender, const AnsiChar* Buffer, Integer Count) { RxBuf(Sender, Buffer, Count); });
    InitTabStop(true);
    InitColor(clBlack);
    SetColor(clBlack);
    TFont* font = GetFont();
    font->SetName(u"Fixedsys");
    font->SetSize(9);
    font->SetColor(clWhite);
    SetBounds(GetLeft(), GetTop(), 400, 250);
    FTermAttr.FrontColor = font->GetColor();
    FTermAttr.BackColor = GetColor();
    // A terminal made in code can be written to at once.
    FBuffer->Init();
    CreateEscapeCodes();
    RecreateWnd();
    UpdateScrollRange();
}

TCustomComTerminal::~TCustomComTerminal() = default;

void TCustomComTerminal::BeforeDestruction() {
    // A link left registered would be called after the terminal is gone.
    SetComPort(nullptr);
    DestroyTerminalCaret();
    TFramedControl::BeforeDestruction();
}

void TCustomComTerminal::Loaded() {
    TFramedControl::Loaded();
    CreateEscapeCodes();
    if (!Designing()) SizeChanged();
}

void TCustomComTerminal::Notification(TComponent* AComponent, TOperation Operation) {
    TFramedControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FComPort) SetComPort(nullptr);
}

const ClassInfo& TComTerminal::StaticClass() {
    using C = TComTerminal;
    static const PropInfo props[] = {
        MakeProp<&C::GetAltColor, &C::SetAltColor>("AltColor").Default(0xA6A6A6),
        MakeProp<&C::GetAppendLF, &C::SetAppendLF>("AppendLF").Default(false),
        MakeProp<&C::GetArrowKeys, &C::SetArrowKeys>("ArrowKeys").Default(akTerminal),
        MakeProp<&C::GetBorderStyle, &C::SetBorderStyle>("BorderStyle").Default(bsSingle),
        MakeProp<&C::GetColumns, &C::SetColumns>("Columns").Default(80),
        MakeProp<&C::GetComPort, &C::SetComPort>("ComPort"),
        MakeProp<&C::GetConnected, &C::SetConnected>("Connected").Stored(false),
        MakeProp<&C::GetCtl3D, &C::SetCtl3D>("Ctl3D").Default(true),
        MakeProp<&C::GetEmulation, &C::SetEmulation>("Emulation").Default(teVT100orANSI),
        MakeProp<&C::GetForce7Bit, &C::SetForce7Bit>("Force7Bit").Default(false),
        MakeProp<&C::GetLocalEcho, &C::SetLocalEcho>("LocalEcho").Default(false),
        MakeProp<&C::GetRows, &C::SetRows>("Rows").Default(24),
        MakeProp<&C::GetScrollBars, &C::SetScrollBars>("ScrollBars").Default(ssBoth),
        MakeProp<&C::GetSendLF, &C::SetSendLF>("SendLF").Default(false),
        MakeProp<&C::GetSmoothScroll, &C::SetSmoothScroll>("SmoothScroll").Default(false),
        MakeProp<&C::GetCaret, &C::SetCaret>("Caret").Default(tcBlock),
        MakeProp<&C::GetWantTab, &C::SetWantTab>("WantTab").Default(false),
        MakeProp<&C::GetWrapLines, &C::SetWrapLines>("WrapLines").Default(false),
        MakeProp<&C::OnChar>("OnChar"),
        MakeProp<&C::OnGetEscapeCodes>("OnGetEscapeCodes"),
        MakeProp<&C::OnStrRecieved>("OnStrRecieved"),
        MakeProp<&C::OnUnhandledCode>("OnUnhandledCode"),
    };
    static const ClassInfo ci = MakeClassInfo<C>("TComTerminal", &TCustomComTerminal::StaticClass(), props);
    return ci;
}

void RegisterComTerminalClasses() {
    RegisterClasses({&TComTerminal::StaticClass()});
}

// ---------------------------------------------------------------------------
// The port

void TCustomComTerminal::SetComPort(TCustomComPort* Value) {
    ChangeLinkedPort(this, FComLink.get(), FComPort, Value);
}

bool TCustomComTerminal::GetConnected() const {
    return FComPort && FComPort->GetConnected();
}

void TCustomComTerminal::SetConnected(bool Value) {
    if (FComPort) FComPort->SetConnected(Value);
}

void TCustomComTerminal::RxBuf(TObject*, const AnsiChar* Buffer, Integer Count) {
    if (!Buffer || Count <= 0) return;
    AnsiString bytes = std::move(FPendingBytes);
    FPendingBytes.clear();
    bytes.reserve(bytes.size() + static_cast<std::size_t>(Count) * (FAppendLF ? 2 : 1));
    for (Integer i = 0; i < Count; ++i) {
        char c = Buffer[i];
        if (FForce7Bit) c = static_cast<char>(c & 0x7F);
        bytes.push_back(c);
        if (FAppendLF && c == CR) bytes.push_back(static_cast<char>(LF));
    }
    // A character cut at the block's end waits for the rest of its bytes.
    const std::size_t tail = IncompleteCharTail(bytes);
    FPendingBytes.assign(bytes, bytes.size() - tail, tail);
    bytes.resize(bytes.size() - tail);
    String text = AnsiToString(bytes);
    if (OnStrRecieved) OnStrRecieved(this, text);
    WriteStr(text);
}

// ---------------------------------------------------------------------------
// Output to the screen

void TCustomComTerminal::Write(const void* Buffer, Integer Count) {
    if (!Buffer || Count <= 0) return;
    WriteStr(
        AnsiToString(std::string_view(static_cast<const char*>(Buffer), static_cast<std::size_t>(Count))));
}

void TCustomComTerminal::WriteStr(const String& Str) {
    HideCaret(GetHandle());
    // The cells changed by the text are repainted together at its end.
    ++FWriting;
    struct Finish {
        TCustomComTerminal* self;
        ~Finish() {
            if (--self->FWriting == 0) self->FlushPortion();
            ShowCaret(self->GetHandle());
        }
    } finish{this};
    for (const Char ch : Str) {
        if (!FEscapeCodes) {
            PutChar(ch);
            continue;
        }
        TEscapeCodes* codes = FEscapeCodes.get();
        switch (codes->ProcessChar(ch)) {
        case erChar:
            PutChar(codes->GetCharacter());
            break;
        case erCode: {
            bool handled = false;
            try {
                handled = PutEscapeCode(codes->GetCode(), codes->GetParams());
            } catch (const EConvertError&) {
                // A parameter that is not a number: the code is reported as
                // not handled and the text goes on.
                handled = false;
            }
            if (!handled && OnUnhandledCode) OnUnhandledCode(this, codes->GetCode(), codes->GetData());
            // The handler may have changed the emulation.
            if (FEscapeCodes) FEscapeCodes->GetParams()->Clear();
            break;
        }
        case erNothing:
            break;
        }
    }
}

void TCustomComTerminal::WriteEscCode(TEscapeCode Code, TStrings* Params) {
    if (FEscapeCodes) PutEscapeCode(Code, Params);
}

void TCustomComTerminal::ClearScreen() {
    FBuffer->Init();
    MoveCaret(1, 1);
    Invalidate();
}

TComTermChar TCustomComTerminal::CurrentChar(Char Ch) const {
    TComTermChar c;
    c.Ch = Ch;
    c.FrontColor = FTermAttr.Bold      ? FAltColor
                   : FTermAttr.Reverse ? FTermAttr.BackColor
                                       : FTermAttr.FrontColor;
    c.BackColor = FTermAttr.Reverse ? FTermAttr.FrontColor : FTermAttr.BackColor;
    c.Underline = FTermAttr.Underline;
    return c;
}

void TCustomComTerminal::PutChar(Char Ch) {
    switch (Ch) {
    case 12:
    case LF:
        AdvanceCaret(acLineFeed);
        break;
    case 8:
        AdvanceCaret(acBackspace);
        break;
    case 9:
        AdvanceCaret(acTab);
        break;
    case CR:
        AdvanceCaret(acReturn);
        break;
    default:
        // Every character from the blank up shows, ё, № and line drawing included; a half of a
        // character beyond the first 65536 has no cell of its own.
        if (Ch >= 0x20 && (Ch < 0xD800 || Ch > 0xDFFF)) {
            FBuffer->SetChar(FCaretPos.X, FCaretPos.Y, CurrentChar(Ch));
            InvalidatePortion(Rect(FCaretPos.X, FCaretPos.Y, FCaretPos.X, FCaretPos.Y));
            AdvanceCaret(acChar);
        }
        break;
    }
    if (OnChar) OnChar(this, Ch);
}

void TCustomComTerminal::AdvanceCaret(TAdvanceCaret Kind) {
    Integer x = FCaretPos.X, y = FCaretPos.Y;
    switch (Kind) {
    case acChar:
        if (x < FColumns) {
            ++x;
        } else if (FWrapLines) {
            x = 1;
            if (y < FRows)
                ++y;
            else
                FBuffer->ScrollDown();
        }
        break;
    case acReturn:
        x = 1;
        break;
    case acLineFeed:
        if (y < FRows)
            ++y;
        else
            FBuffer->ScrollDown();
        break;
    case acReverseLineFeed:
        if (y > 1)
            --y;
        else
            FBuffer->ScrollUp();
        break;
    case acTab:
        if (const Integer stop = FBuffer->NextTab(x + 1); stop > 0) x = stop;
        break;
    case acBackspace:
        x = std::max(x - 1, 1);
        break;
    }
    MoveCaret(x, y);
}

void TCustomComTerminal::MoveCaret(Integer X, Integer Y) {
    FCaretPos.X = std::clamp(X, 1, FColumns);
    FCaretPos.Y = std::clamp(Y, 1, FRows);
    PlaceCaret();
}

// Relative moves are computed wide: a huge count from the line cannot overflow.
void TCustomComTerminal::MoveCaretBy(Int64 X, Int64 Y) {
    const Int64 x = std::clamp<Int64>(FCaretPos.X + X, 1, FColumns);
    const Int64 y = std::clamp<Int64>(FCaretPos.Y + Y, 1, FRows);
    MoveCaret(static_cast<Integer>(x), static_cast<Integer>(y));
}

bool TCustomComTerminal::PutEscapeCode(TEscapeCode Code, TStrings* Params) {
    const auto P = [&](Integer n) { return static_cast<Int64>(TEscapeCodes::GetParam(n, Params)); };
    Owned<TStringList> reply(new TStringList);
    switch (Code) {
    case ecCursorUp:
    case ecAppCursorUp:
        MoveCaretBy(0, -P(1));
        break;
    case ecCursorDown:
        MoveCaretBy(0, P(1));
        break;
    case ecCursorLeft:
        MoveCaretBy(-P(1), 0);
        break;
    case ecCursorRight:
        MoveCaretBy(P(1), 0);
        break;
    case ecCursorHome:
    case ecCursorMove:
        MoveCaret(TEscapeCodes::GetParam(2, Params), TEscapeCodes::GetParam(1, Params));
        break;
    case ecReverseLineFeed:
        AdvanceCaret(acReverseLineFeed);
        break;
    case ecEraseLineFrom:
        FBuffer->EraseLine(FCaretPos.X, FCaretPos.Y);
        break;
    case ecEraseScreenFrom:
        FBuffer->EraseScreen(FCaretPos.X, FCaretPos.Y);
        break;
    case ecEraseLine:
        FBuffer->EraseLine(1, FCaretPos.Y);
        MoveCaret(1, FCaretPos.Y);
        break;
    case ecEraseScreen:
        FBuffer->EraseScreen(1, 1);
        MoveCaret(1, 1);
        break;
    case ecSetTab:
        FBuffer->SetTab(FCaretPos.X, true);
        break;
    case ecClearTab:
        FBuffer->SetTab(FCaretPos.X, false);
        break;
    case ecClearAllTabs:
        FBuffer->ClearAllTabs();
        break;
    case ecIdentify:
        reply->Add(u"2");
        SendCodeNoEcho(ecIdentResponse, reply.get());
        break;
    case ecQueryDevice:
        SendCodeNoEcho(ecReportDeviceOK, reply.get());
        break;
    case ecQueryCursorPos:
        reply->Add(IntToStr(FCaretPos.Y));
        reply->Add(IntToStr(FCaretPos.X));
        SendCodeNoEcho(ecReportCursorPos, reply.get());
        break;
    case ecAttributes:
        SetAttributes(Params);
        break;
    case ecSetMode:
    case ecResetMode:
        SetMode(Params, Code == ecSetMode);
        break;
    case ecReset:
        reply->Add(u"0");
        SetAttributes(reply.get());
        break;
    case ecSaveCaretAndAttr:
        FSaveCaret = FCaretPos;
        FSaveAttr = FTermAttr;
        break;
    case ecRestoreCaretAndAttr:
        FTermAttr = FSaveAttr;
        MoveCaret(FSaveCaret.X, FSaveCaret.Y);
        break;
    case ecSaveCaret:
        FSaveCaret = FCaretPos;
        break;
    case ecRestoreCaret:
        MoveCaret(FSaveCaret.X, FSaveCaret.Y);
        break;
    case ecTest: {
        TComTermChar e;
        e.Ch = u'E';
        e.FrontColor = GetFont()->GetColor();
        e.BackColor = GetColor();
        for (Integer y = 1; y <= FRows; ++y)
            for (Integer x = 1; x <= FColumns; ++x) FBuffer->SetChar(x, y, e);
        Invalidate();
        break;
    }
    default:
        return false;
    }
    return true;
}

void TCustomComTerminal::ResetAttributes() {
    FTermAttr.FrontColor = GetFont()->GetColor();
    FTermAttr.BackColor = GetColor();
    FTermAttr.Reverse = false;
    FTermAttr.Bold = false;
    FTermAttr.Underline = false;
}

void TCustomComTerminal::SetAttributes(TStrings* Params) {
    if (!Params || Params->GetCount() == 0) {
        ResetAttributes();
        return;
    }
    for (int i = 0; i < Params->GetCount(); ++i) {
        Integer n = 0;
        if (!TryStrToInt(Params->GetStrings(i), n)) continue; // not a number: like any other unknown one
        switch (n) {
        case 0:
            ResetAttributes();
            break;
        case 1:
            FTermAttr.Bold = true;
            break;
        case 4:
            FTermAttr.Underline = true;
            break;
        case 7:
            FTermAttr.Reverse = true;
            break;
        case 21:
            FTermAttr.Bold = false;
            break;
        case 24:
            FTermAttr.Underline = false;
            break;
        case 27:
            FTermAttr.Reverse = false;
            break;
        default:
            break;
        }
    }
}

void TCustomComTerminal::SetMode(TStrings* Params, bool OnOff) {
    if (!Params || Params->GetCount() == 0) return;
    const String mode = Params->GetStrings(0);
    if (mode == u"?1")
        FAppCursorKeys = OnOff;
    else if (mode == u"7")
        FWrapLines = OnOff;
    else if (mode == u"?3")
        SetColumns(OnOff ? 132 : 80);
}

// ---------------------------------------------------------------------------
// Output to the port

AnsiString TCustomComTerminal::TextToBytes(const String& Text) const {
    return StringToAnsi(Text);
}

void TCustomComTerminal::SendChar(Char Ch) {
    if (FLocalEcho) {
        PutChar(Ch);
        if (Ch == CR && FSendLF && !FComPort) PutChar(LF);
    }
    if (FComPort && FComPort->GetConnected()) {
        FComPort->WriteStr(TextToBytes(String(1, Ch)));
        if (Ch == CR && FSendLF) SendChar(LF);
    }
}

void TCustomComTerminal::SendCode(TEscapeCode Code, TStrings* Params) {
    if (!FComPort || !FComPort->GetConnected() || !FEscapeCodes) return;
    FComPort->WriteStr(FEscapeCodes->EscCodeToStr(Code, Params));
    if (FLocalEcho) PutEscapeCode(Code, Params);
}

void TCustomComTerminal::SendCodeNoEcho(TEscapeCode Code, TStrings* Params) {
    if (!FComPort || !FComPort->GetConnected() || !FEscapeCodes) return;
    FComPort->WriteStr(FEscapeCodes->EscCodeToStr(Code, Params));
}

// ---------------------------------------------------------------------------
// Saving and loading the screen's text

void TCustomComTerminal::SaveToStream(TStream* Stream) {
    const Integer last = FBuffer->GetLastLine();
    for (Integer y = 1; y <= last; ++y) {
        String line;
        const Integer length = FBuffer->GetLineLength(y);
        for (Integer x = 1; x <= length; ++x) {
            const Char ch = FBuffer->GetChar(x, y).Ch;
            line.push_back(ch == 0 ? u' ' : ch);
        }
        AnsiString bytes = TextToBytes(line);
        if (y < last) bytes += "\r\n";
        if (!bytes.empty()) Stream->WriteBuffer(bytes.data(), static_cast<LongInt>(bytes.size()));
    }
}

void TCustomComTerminal::LoadFromStream(TStream* Stream) {
    AnsiString bytes;
    char block[4096];
    for (;;) {
        const LongInt n = Stream->Read(block, sizeof block);
        if (n <= 0) break;
        bytes.append(block, static_cast<std::size_t>(n));
    }
    for (const Char ch : AnsiToString(bytes)) PutChar(ch);
}

// ---------------------------------------------------------------------------
// Settings

void TCustomComTerminal::SetEmulation(TTermEmulation Value) {
    if (Value == FEmulation) return;
    FEmulation = Value;
    if (!Loading()) CreateEscapeCodes();
}

void TCustomComTerminal::CreateEscapeCodes() {
    FEscapeCodes.reset();
    if (Designing()) return;
    switch (FEmulation) {
    case teVT100orANSI:
        FEscapeCodes.reset(new TEscapeCodesVT100);
        break;
    case teVT52:
        FEscapeCodes.reset(new TEscapeCodesVT52);
        break;
    case teNone:
        break;
    }
    if (OnGetEscapeCodes) {
        TEscapeCodes* codes = FEscapeCodes.get();
        OnGetEscapeCodes(this, codes);
        if (codes != FEscapeCodes.get()) FEscapeCodes.reset(codes);
    }
}

void TCustomComTerminal::SetColumns(Integer Value) {
    Value = std::clamp(Value, 2, 256);
    if (Value == FColumns) return;
    FColumns = Value;
    AdjustSize();
    if (!Loading() && !Designing()) SizeChanged();
    UpdateScrollRange();
}

void TCustomComTerminal::SetRows(Integer Value) {
    Value = std::clamp(Value, 2, 100);
    if (Value == FRows) return;
    FRows = Value;
    AdjustSize();
    if (!Loading() && !Designing()) SizeChanged();
    UpdateScrollRange();
}

// The screen is made anew for the new size; the caret and the saved caret
// come inside it.
void TCustomComTerminal::SizeChanged() {
    FBuffer->Init();
    FSaveCaret.X = std::clamp(FSaveCaret.X, 1, FColumns);
    FSaveCaret.Y = std::clamp(FSaveCaret.Y, 1, FRows);
    MoveCaret(FCaretPos.X, FCaretPos.Y);
    Invalidate();
}

void TCustomComTerminal::SetCaret(TTermCaret Value) {
    if (Value == FCaret) return;
    FCaret = Value;
    if (Focused()) {
        DestroyTerminalCaret();
        CreateTerminalCaret();
    }
}

void TCustomComTerminal::SetAltColor(TColor Value) {
    if (Value == FAltColor) return;
    FAltColor = Value;
    Invalidate();
}

void TCustomComTerminal::SetBorderStyle(TBorderStyle Value) {
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    RecreateWnd();
    UpdateScrollRange();
}

void TCustomComTerminal::SetScrollBars(TScrollStyle Value) {
    if (Value == FScrollBars) return;
    FScrollBars = Value;
    RecreateWnd();
    UpdateScrollRange();
}

void TCustomComTerminal::CreateParams(DWORD& Style, DWORD& ExStyle) {
    if (FBorderStyle == bsSingle) {
        if (GetCtl3D())
            ExStyle |= WS_EX_CLIENTEDGE;
        else
            Style |= WS_BORDER;
    }
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) Style |= WS_VSCROLL;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Style |= WS_HSCROLL;
}

void TCustomComTerminal::Ctl3DChanged() {
    if (FBorderStyle != bsSingle) return;
    RecreateWnd();
    UpdateScrollRange();
}

void TCustomComTerminal::FontChanged() {
    TFramedControl::FontChanged();
    TFont* font = GetFont();
    FTermAttr.FrontColor = font->GetColor();
    MeasureFont();
    if (FVariablePitch) {
        font->SetName(u"Fixedsys"); // measures again
        return;
    }
    if (font->GetStyle().Contains(fsUnderline)) {
        font->SetStyle(font->GetStyle() - fsUnderline);
        return;
    }
    AdjustSize();
    UpdateScrollRange();
}

void TCustomComTerminal::MeasureFont() {
    TCanvas* canvas = GetCanvas();
    canvas->SetFont(GetFont());
    canvas->RequiredState({csHandleValid, csFontValid});
    TEXTMETRICW tm;
    GetTextMetricsW(canvas->GetHandle(), &tm);
    FCharHeight = std::max<Integer>(tm.tmHeight, 1);
    FCharWidth = std::max<Integer>(tm.tmAveCharWidth, 1);
    // The bit set means the face is not fixed-pitch.
    FVariablePitch = (tm.tmPitchAndFamily & TMPF_FIXED_PITCH) != 0;
    FRunsFit = canvas->TextWidth(String(16, u'W')) == 16 * FCharWidth;
    ForgetCellPictures();
}

void TCustomComTerminal::ApplyColor() {
    TFramedControl::ApplyColor();
    FTermAttr.BackColor = GetColor();
    Invalidate();
}

// ---------------------------------------------------------------------------
// Size and scrolling

Integer TCustomComTerminal::BorderWidth() const {
    if (FBorderStyle != bsSingle) return 0;
    return GetCtl3D() ? GetSystemMetrics(SM_CXEDGE) : GetSystemMetrics(SM_CXBORDER);
}

void TCustomComTerminal::AdjustSize() {
    if (Loading() || FCharWidth <= 0 || FCharHeight <= 0) return;
    int width = GetWidth(), height = GetHeight();
    const TAlign align = GetAlign();
    if (align != alTop && align != alBottom && align != alClient)
        width = FColumns * FCharWidth + 2 * BorderWidth();
    if (align != alLeft && align != alRight && align != alClient)
        height = FRows * FCharHeight + 2 * BorderWidth();
    SetBounds(GetLeft(), GetTop(), width, height);
}

void TCustomComTerminal::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TFramedControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    UpdateScrollRange();
}

void TCustomComTerminal::WidgetResized(int AWidth, int AHeight) {
    TFramedControl::WidgetResized(AWidth, AHeight);
    UpdateScrollRange();
}

void TCustomComTerminal::UpdateScrollRange() {
    if (FCharWidth <= 0 || FCharHeight <= 0) return;
    const int border = BorderWidth();
    int width = GetWidth() - 2 * border;
    const int height = GetHeight() - 2 * border;
    const bool vertical = FScrollBars == ssVertical || FScrollBars == ssBoth;
    const bool horizontal = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
    // The vertical range for the client area without bars; the horizontal one
    // once the vertical bar is known.
    const int rowsRange = std::max(0, FRows - height / FCharHeight);
    if (vertical && rowsRange > 0) width -= GetSystemMetrics(SM_CXVSCROLL);
    const int columnsRange = std::max(0, FColumns - width / FCharWidth);
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_POS;
    si.nMax = vertical ? rowsRange : 0;
    si.nPos = FTopLeft.Y - 1;
    FTopLeft.Y = SetScrollInfo(GetHandle(), SB_VERT, &si, TRUE) + 1;
    si.nMax = horizontal ? columnsRange : 0;
    si.nPos = FTopLeft.X - 1;
    FTopLeft.X = SetScrollInfo(GetHandle(), SB_HORZ, &si, TRUE) + 1;
    FTopLeft.X = std::clamp(FTopLeft.X, 1, FColumns);
    FTopLeft.Y = std::clamp(FTopLeft.Y, 1, FRows);
    PlaceCaret();
}

void TCustomComTerminal::WMHScroll(int Code, int Pos) {
    ScrollBy(SB_HORZ, Code, Pos);
}

void TCustomComTerminal::WMVScroll(int Code, int Pos) {
    ScrollBy(SB_VERT, Code, Pos);
}

void TCustomComTerminal::ScrollBy(int Bar, int Code, int Pos) {
    const int unit = Bar == SB_VERT ? FCharHeight : FCharWidth;
    if (unit <= 0) return;
    const int old = GetScrollPos(GetHandle(), Bar);
    int pos = old;
    const int page = (Bar == SB_VERT ? GetClientHeight() : GetClientWidth()) / unit;
    switch (Code) {
    case SB_LINEUP:
        pos = old - 1;
        break;
    case SB_LINEDOWN:
        pos = old + 1;
        break;
    case SB_PAGEUP:
        pos = old - page;
        break;
    case SB_PAGEDOWN:
        pos = old + page;
        break;
    case SB_THUMBPOSITION:
        pos = Pos;
        break;
    case SB_THUMBTRACK:
        if (!FSmoothScroll) return;
        pos = Pos;
        break;
    default:
        return;
    }
    SCROLLINFO si;
    si.fMask = SIF_POS;
    si.nPos = pos;
    pos = SetScrollInfo(GetHandle(), Bar, &si, TRUE);
    const int delta = pos - old;
    if (delta == 0) return;
    if (Bar == SB_VERT) {
        FTopLeft.Y = pos + 1;
        ScrollWindowEx(GetHandle(), 0, -delta * unit, nullptr, nullptr, nullptr, nullptr,
                       SW_INVALIDATE | SW_ERASE);
    } else {
        FTopLeft.X = pos + 1;
        ScrollWindowEx(GetHandle(), -delta * unit, 0, nullptr, nullptr, nullptr, nullptr,
                       SW_INVALIDATE | SW_ERASE);
    }
    PlaceCaret();
}

// ---------------------------------------------------------------------------
// Caret

void TCustomComTerminal::CreateTerminalCaret() {
    FCaretHeight = 0;
    if (FCaret == tcBlock)
        FCaretHeight = FCharHeight;
    else if (FCaret == tcUnderline)
        FCaretHeight = std::max(FCharHeight / 8, 1);
    if (FCaretHeight <= 0) return;
    FCaretCreated = CreateCaret(GetHandle(), nullptr, FCharWidth, FCaretHeight) != FALSE;
    if (!FCaretCreated) return;
    PlaceCaret();
    ShowCaret(GetHandle());
}

void TCustomComTerminal::DestroyTerminalCaret() {
    if (!FCaretCreated) return;
    FCaretCreated = false;
    if (GetCaretWindow() == GetHandle()) DestroyCaret();
}

void TCustomComTerminal::PlaceCaret() {
    if (!FCaretCreated) return;
    SetCaretPos((FCaretPos.X - FTopLeft.X) * FCharWidth,
                (FCaretPos.Y - FTopLeft.Y) * FCharHeight + FCharHeight - FCaretHeight);
}

void TCustomComTerminal::DoEnter() {
    CreateTerminalCaret();
    TFramedControl::DoEnter();
}

void TCustomComTerminal::DoExit() {
    DestroyTerminalCaret();
    TFramedControl::DoExit();
}

// ---------------------------------------------------------------------------
// Keys and mouse

void TCustomComTerminal::KeyDown(Word& Key, TShiftState Shift) {
    TFramedControl::KeyDown(Key, Shift);
    TEscapeCode code = ecUnknown, app = ecUnknown;
    switch (Key) {
    case VK_HOME:
        code = ecCursorHome;
        break;
    case VK_LEFT:
        code = ecCursorLeft;
        app = ecAppCursorLeft;
        break;
    case VK_UP:
        code = ecCursorUp;
        app = ecAppCursorUp;
        break;
    case VK_RIGHT:
        code = ecCursorRight;
        app = ecAppCursorRight;
        break;
    case VK_DOWN:
        code = ecCursorDown;
        app = ecAppCursorDown;
        break;
    default:
        return;
    }
    if (FAppCursorKeys) {
        if (app != ecUnknown) SendCode(app, nullptr);
    } else if (FArrowKeys == akWindows) {
        PutEscapeCode(code, nullptr);
    } else {
        SendCode(code, nullptr);
    }
    Key = 0; // the frame must not scroll with it
}

void TCustomComTerminal::KeyPress(Char& Key) {
    TFramedControl::KeyPress(Key);
    // Without WantTab the tab key moves the focus and is not the terminal's.
    if (Key == 0 || (Key == 9 && !FWantTab)) return;
    SendChar(Key);
    Key = 0;
}

void TCustomComTerminal::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (CanFocus() && GetTabStop()) SetFocus();
    TFramedControl::MouseDown(Button, Shift, X, Y);
}

// ---------------------------------------------------------------------------
// Painting

void TCustomComTerminal::InvalidatePortion(const TRect& ARect) {
    if (GetDoubleBuffered()) {
        Invalidate();
        return;
    }
    if (FWriting > 0) {
        FPortion = !FHasPortion
                       ? ARect
                       : Rect(std::min(FPortion.Left, ARect.Left), std::min(FPortion.Top, ARect.Top),
                              std::max(FPortion.Right, ARect.Right), std::max(FPortion.Bottom, ARect.Bottom));
        FHasPortion = true;
        return;
    }
    const RECT r =
        Rect((ARect.Left - FTopLeft.X) * FCharWidth, (ARect.Top - FTopLeft.Y) * FCharHeight,
             (ARect.Right - FTopLeft.X + 1) * FCharWidth, (ARect.Bottom - FTopLeft.Y + 1) * FCharHeight);
    InvalidateRect(GetHandle(), &r, FALSE);
}

void TCustomComTerminal::FlushPortion() {
    if (!FHasPortion) return;
    FHasPortion = false;
    const TRect cells = FPortion;
    FPortion = TRect();
    const Integer writing = FWriting;
    FWriting = 0;
    InvalidatePortion(cells);
    FWriting = writing;
}

void TCustomComTerminal::Paint() {
    TCanvas* canvas = GetCanvas();
    canvas->SetFont(GetFont());
    if (Designing()) {
        PaintDesign(canvas);
        return;
    }
    PlaceCaret();
    if (FCharWidth <= 0 || FCharHeight <= 0) return;
    const TRect r = GetPaintRect();
    // What no cell covers shows the control's colour.
    canvas->GetBrush()->SetColor(GetColor());
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->FillRect(r);
    const Integer firstX = r.Left / FCharWidth + FTopLeft.X;
    const Integer lastX = std::min<Integer>(r.Right / FCharWidth + FTopLeft.X, FColumns);
    const Integer firstY = r.Top / FCharHeight + FTopLeft.Y;
    const Integer lastY = std::min<Integer>(r.Bottom / FCharHeight + FTopLeft.Y, FRows);
    // Neighbouring cells that look alike are drawn as one text when the
    // face's advance is exactly the cell width; otherwise cell by cell.
    const Integer runLimit = FRunsFit ? FColumns : 1;
    for (Integer y = firstY; y <= lastY; ++y) {
        Integer x = firstX;
        while (x <= lastX) {
            const TComTermChar cell = FBuffer->GetChar(x, y);
            if (cell.Ch == 0) {
                ++x;
                continue;
            }
            String run(1, cell.Ch);
            Integer next = x + 1;
            while (next <= lastX && static_cast<Integer>(run.size()) < runLimit) {
                const TComTermChar c = FBuffer->GetChar(next, y);
                if (c.Ch == 0 || c.FrontColor != cell.FrontColor || c.BackColor != cell.BackColor ||
                    c.Underline != cell.Underline)
                    break;
                run.push_back(c.Ch);
                ++next;
            }
            if (FRunsFit)
                DrawCells(canvas, x, y, cell, run);
            else
                for (Integer i = 0; i < static_cast<Integer>(run.size()); ++i)
                    DrawCachedCell(canvas, x + i, y, FBuffer->GetChar(x + i, y));
            x = next;
        }
    }
}

void TCustomComTerminal::DrawCells(TCanvas* Canvas, Integer X, Integer Y, const TComTermChar& Look,
                                   const String& Text) {
    const int left = (X - FTopLeft.X) * FCharWidth, top = (Y - FTopLeft.Y) * FCharHeight;
    const int right = left + static_cast<int>(Text.size()) * FCharWidth;
    TFont* font = Canvas->GetFont();
    font->SetColor(Look.FrontColor);
    font->SetStyle(Look.Underline ? TFontStyles{fsUnderline} : TFontStyles{});
    // The paint rectangle already shows the control's colour.
    Canvas->GetBrush()->SetColor(Look.BackColor);
    Canvas->GetBrush()->SetStyle(Look.BackColor == GetColor() ? bsClear : bsSolid);
    Canvas->TextRect(Rect(left, top, right, top + FCharHeight), left, top, Text);
}

namespace {
// Cell pictures: a page holds a grid of cells; the number of pages is bounded,
// and a full cache starts again.
constexpr int PageColumns = 32;
constexpr int PageRows = 8;
constexpr int PageCells = PageColumns * PageRows;
constexpr std::size_t MaxPages = 16;
} // namespace

std::size_t TCustomComTerminal::TCellLookHash::operator()(const TCellLook& l) const {
    std::size_t h = l.Ch;
    h = h * 1000003u ^ static_cast<std::uint32_t>(l.FrontColor);
    h = h * 1000003u ^ static_cast<std::uint32_t>(l.BackColor);
    return h * 2u + (l.Underline ? 1u : 0u);
}

void TCustomComTerminal::ForgetCellPictures() {
    FCellSlots.clear();
    FCellPages.clear();
}

void TCustomComTerminal::DrawCachedCell(TCanvas* Canvas, Integer X, Integer Y, const TComTermChar& Cell) {
    const TCellLook look{Cell.Ch, Cell.FrontColor, Cell.BackColor, Cell.Underline};
    auto found = FCellSlots.find(look);
    if (found == FCellSlots.end()) {
        if (FCellSlots.size() >= MaxPages * PageCells) ForgetCellPictures();
        const int slot = static_cast<int>(FCellSlots.size());
        if (slot / PageCells >= static_cast<int>(FCellPages.size())) {
            Owned<TBitmap> page(new TBitmap);
            page->SetSize(PageColumns * FCharWidth, PageRows * FCharHeight);
            page->GetCanvas()->SetFont(GetFont());
            FCellPages.push_back(std::move(page));
        }
        TCanvas* pageCanvas = FCellPages[static_cast<std::size_t>(slot / PageCells)]->GetCanvas();
        const int left = slot % PageColumns * FCharWidth, top = slot % PageCells / PageColumns * FCharHeight;
        TFont* font = pageCanvas->GetFont();
        font->SetColor(Cell.FrontColor);
        font->SetStyle(Cell.Underline ? TFontStyles{fsUnderline} : TFontStyles{});
        pageCanvas->GetBrush()->SetColor(Cell.BackColor);
        pageCanvas->GetBrush()->SetStyle(bsSolid);
        pageCanvas->TextRect(Rect(left, top, left + FCharWidth, top + FCharHeight), left, top,
                             String(1, Cell.Ch));
        found = FCellSlots.emplace(look, slot).first;
    }
    const int slot = found->second;
    TCanvas* pageCanvas = FCellPages[static_cast<std::size_t>(slot / PageCells)]->GetCanvas();
    const int sx = slot % PageColumns * FCharWidth, sy = slot % PageCells / PageColumns * FCharHeight;
    const int left = (X - FTopLeft.X) * FCharWidth, top = (Y - FTopLeft.Y) * FCharHeight;
    Canvas->CopyRect(Rect(left, top, left + FCharWidth, top + FCharHeight), pageCanvas,
                     Rect(sx, sy, sx + FCharWidth, sy + FCharHeight));
}

void TCustomComTerminal::PaintDesign(TCanvas* Canvas) {
    const TRect client = GetClientRect();
    Canvas->GetBrush()->SetColor(GetColor());
    Canvas->FillRect(client);
    Canvas->GetBrush()->SetStyle(bsClear);
    Canvas->GetFont()->SetColor(GetFont()->GetColor());
    Canvas->TextOut(0, 0, u"ComPort Library");
    Canvas->GetFont()->SetColor(FAltColor);
    Canvas->TextOut(0, FCharHeight, u"ComPort Library");
    PatBlt(Canvas->GetHandle(), 0, 0, FCharWidth, 2 * FCharHeight, DSTINVERT);
}

// ---------------------------------------------------------------------------
// Dialogs

void TCustomComTerminal::SelectFont() {
    Owned<TFontDialog> dialog(Create<TFontDialog>(nullptr));
    dialog->SetFont(GetFont());
    dialog->SetOptions(dialog->GetOptions() + fdFixedPitchOnly);
    if (dialog->Execute()) SetFont(dialog->GetFont());
}

void TCustomComTerminal::ShowSetupDialog() {
    EditComTerminal(this);
}
