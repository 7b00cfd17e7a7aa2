// The panel unit: date-time steps, editor options and the chart panel.
#include "chart/canvas/zuzprocs.h"

#include "platform/core/dateutils.h"
#include "platform/core/filer.h"
#include "platform/win32/registry.h"

#include <algorithm>
#include <cmath>
#include <utility>

template <>
const EnumInfo& EnumInfoOf<TDateTimeStep>() {
    static const EnumInfo info{"TDateTimeStep",
                               {"dtOneMicroSecond", "dtOneMillisecond", "dtOneSecond",      "dtFiveSeconds",
                                "dtTenSeconds",     "dtFifteenSeconds", "dtThirtySeconds",  "dtOneMinute",
                                "dtFiveMinutes",    "dtTenMinutes",     "dtFifteenMinutes", "dtThirtyMinutes",
                                "dtOneHour",        "dtTwoHours",       "dtSixHours",       "dtTwelveHours",
                                "dtOneDay",         "dtTwoDays",        "dtThreeDays",      "dtOneWeek",
                                "dtHalfMonth",      "dtOneMonth",       "dtTwoMonths",      "dtThreeMonths",
                                "dtFourMonths",     "dtSixMonths",      "dtOneYear",        "dtNone"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TZuzUnits>() {
    static const EnumInfo info{"TZuzUnits", {"muPercent", "muPixels"}};
    return info;
}

// ---------------------------------------------------------------------------
// Date-time steps

const std::array<double, 27> DateTimeStep = {0.000001 / 86400,
                                             0.001 / 86400,
                                             1.0 / 86400,
                                             5.0 / 86400,
                                             10.0 / 86400,
                                             15.0 / 86400,
                                             30.0 / 86400,
                                             1.0 / 1440,
                                             5.0 / 1440,
                                             10.0 / 1440,
                                             15.0 / 1440,
                                             30.0 / 1440,
                                             1.0 / 24,
                                             2.0 / 24,
                                             6.0 / 24,
                                             12.0 / 24,
                                             1,
                                             2,
                                             3,
                                             7,
                                             15,
                                             30,
                                             60,
                                             90,
                                             120,
                                             182,
                                             365};

TDateTimeStep FindDateTimeStep(double StepValue) {
    for (int i = dtOneYear; i >= dtOneMicroSecond; --i)
        if (std::abs(DateTimeStep[static_cast<std::size_t>(i)] - StepValue) < DateTimeStep[dtOneMicroSecond])
            return static_cast<TDateTimeStep>(i);
    return dtNone;
}

double NextDateTimeStep(double Value) {
    for (int i = dtSixMonths; i >= dtOneMicroSecond; --i)
        if (DateTimeStep[static_cast<std::size_t>(i)] <= Value)
            return DateTimeStep[static_cast<std::size_t>(i) + 1];
    return DateTimeStep[dtOneMicroSecond]; // below the smallest step: the smallest
}

String DateTimeDefaultFormat(double Step) {
    return Step > 1 ? FormatSettings.ShortDateFormat : FormatSettings.ShortTimeFormat;
}

bool ZuzCalendarHolds(double Value) {
    return std::isfinite(Value) && std::fabs(Value) < 2958466;
}

Word DaysInMonth(Word Year, Word Month) {
    return DaysInAMonth(Year, Month);
}

TDateTime ZuzRoundDate(TDateTime Date, TDateTimeStep Step) {
    if (Date == 0) return Date;
    switch (Step) {
    case dtOneDay:
        return std::nearbyint(Date);
    case dtTwoDays:
        return std::nearbyint(Date / 2) * 2;
    case dtThreeDays:
        return std::nearbyint(Date / 3) * 3;
    case dtOneWeek:
        return std::nearbyint((Date - 2) / 7) * 7 + 2;
    default:
        break;
    }
    if (Step < dtHalfMonth) return Date;
    Word y, m, d;
    DecodeDate(Date, y, m, d);
    if (Step == dtHalfMonth)
        d = d >= 15 ? 15 : 1;
    else if (Step >= dtOneMonth && Step <= dtSixMonths)
        d = 1;
    else if (Step == dtOneYear)
        d = m = 1;
    return EncodeDate(y, m, d);
}

namespace {
void MoveMonths(Word& Y, Word& M, Word& D, int N, bool Forward) {
    D = 1;
    if (Forward) {
        M = static_cast<Word>(M + N);
        if (M > 12) {
            ++Y;
            M = static_cast<Word>(M - 12);
        }
    } else if (N >= M) {
        --Y;
        M = static_cast<Word>(M - N + 12);
    } else {
        M = static_cast<Word>(M - N);
    }
}
} // namespace

void ZuzDateTimeIncrement(bool IsDateTime, bool Increment, double& Value, double AnIncrement,
                          TDateTimeStep Step) {
    if (!IsDateTime || Step < dtHalfMonth || Step == dtNone) {
        Value += Increment ? AnIncrement : -AnIncrement;
        return;
    }
    Word y, m, d;
    DecodeDate(Value, y, m, d);
    const double target = Value + (Increment ? AnIncrement : -AnIncrement);
    switch (Step) {
    case dtHalfMonth:
        if (Increment) {
            // Forward the step must advance: the 15th, or the 1st of the next month.
            if (d < 15) {
                d = 15;
            } else {
                MoveMonths(y, m, d, 1, true);
            }
        } else if (d > 15) {
            d = 15;
        } else if (d > 1) {
            d = 1;
        } else {
            MoveMonths(y, m, d, 1, false);
            d = 15;
        }
        break;
    case dtOneMonth:
        MoveMonths(y, m, d, 1, Increment);
        break;
    case dtTwoMonths:
        MoveMonths(y, m, d, 2, Increment);
        break;
    case dtThreeMonths:
        MoveMonths(y, m, d, 3, Increment);
        break;
    case dtFourMonths:
        MoveMonths(y, m, d, 4, Increment);
        break;
    case dtSixMonths:
        MoveMonths(y, m, d, 6, Increment);
        break;
    default: // dtOneYear: whole years until the target is reached
        for (int guard = 0; guard < 10000; ++guard) {
            y = static_cast<Word>(Increment ? y + 1 : y - 1);
            // The 29th of February has no twin in common years: the 28th stands in.
            Value = EncodeDate(y, m, std::min(d, DaysInMonth(y, m)));
            if (Increment ? Value >= target : Value <= target) break;
        }
        return;
    }
    Value = EncodeDate(y, m, d);
}

// ---------------------------------------------------------------------------
// Editor options

namespace {
const String kEditorKey = u"SOFTWARE\\Dedara Software\\ZarEzodo Vez\\Editor";

// A value of another type than asked (a hand-edited or damaged key) reads as the default: the
// forms that read their options on creation must still open.
template <class T, class Read>
T ReadOption(const String& Key, T Default, Read read) {
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (!reg.OpenKeyReadOnly(kEditorKey) || !reg.ValueExists(Key)) return Default;
    try {
        return read(reg);
    } catch (const ERegistryException&) {
        return Default;
    }
}

template <class Write>
void SaveOption(Write write) {
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (reg.OpenKey(kEditorKey, true)) write(reg);
}
} // namespace

bool ZuzReadBoolOption(const String& Key, bool Default) {
    return ReadOption(Key, Default, [&](TRegistry& r) { return r.ReadBool(Key); });
}

int ZuzReadIntegerOption(const String& Key, int Default) {
    return ReadOption(Key, Default, [&](TRegistry& r) { return r.ReadInteger(Key); });
}

String ZuzReadStringOption(const String& Key, const String& Default) {
    return ReadOption(Key, Default, [&](TRegistry& r) { return r.ReadString(Key); });
}

void ZuzSaveBoolOption(const String& Key, bool Value) {
    SaveOption([&](TRegistry& r) { r.WriteBool(Key, Value); });
}

void ZuzSaveIntegerOption(const String& Key, int Value) {
    SaveOption([&](TRegistry& r) { r.WriteInteger(Key, Value); });
}

void ZuzSaveStringOption(const String& Key, const String& Value) {
    SaveOption([&](TRegistry& r) { r.WriteString(Key, Value); });
}

// ---------------------------------------------------------------------------
// Listeners

int TZuzEventListeners::IndexOf(IZuzEventListener* Listener) const {
    for (std::size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i] == Listener) return static_cast<int>(i);
    return -1;
}

int TZuzEventListeners::Add(IZuzEventListener* Listener) {
    const int at = IndexOf(Listener);
    if (at >= 0) return at;
    FItems.push_back(Listener);
    return static_cast<int>(FItems.size()) - 1;
}

int TZuzEventListeners::Remove(IZuzEventListener* Listener) {
    const int at = IndexOf(Listener);
    if (at >= 0) FItems.erase(FItems.begin() + at);
    return at;
}

// ---------------------------------------------------------------------------
// Panels

const ClassInfo& TZoomPanning::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TZoomPanning>("TZoomPanning", &TPersistent::StaticClass());
    return ci;
}

const ClassInfo& TCustomPanelNoCaption::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TCustomPanelNoCaption>("TCustomPanelNoCaption", &TCustomPanel::StaticClass());
    return ci;
}

TCustomPanelNoCaption::TCustomPanelNoCaption(TComponent* AOwner) : TCustomPanel(AOwner) {
    SetText(String());
}

const ClassInfo& TCustomZuzPanel::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TCustomZuzPanel>("TCustomZuzPanel", &TCustomPanelNoCaption::StaticClass());
    return ci;
}

TCustomZuzPanel::TCustomZuzPanel(TComponent* AOwner) : TCustomPanelNoCaption(AOwner) {
    SetBounds(GetLeft(), GetTop(), 400, 250);
    FControlCanvas = TCustomPanelNoCaption::GetCanvas();
    const TNotifyEvent changed([this](TObject* s) { CanvasChanged(s); });
    FView3DOptions = MakeOwned<TView3DOptions>(this, changed);
    auto canvas = MakeOwned<TZuzCanvas3D>();
    canvas->SetCanvas(FControlCanvas);
    FCanvas = std::move(canvas);
    SavedCursor = GetCursor();
    FPanning = MakeOwned<TZoomPanning>();
    FShadow = MakeOwned<TZuzShadow>(changed);
    FBorder = MakeOwned<TChartHiddenPen>(changed);
    {
        const TNotifyEvent keep = FBorder->OnChange;
        FBorder->OnChange.Clear();
        FBorder->SetEndStyle(esFlat);
        FBorder->DefaultEnd = esFlat;
        FBorder->OnChange = keep;
    }
    if (ZuzEraseBack && GetComponentState().Contains(csDesigning)) ZuzEraseBack = false;
    AutoRepaint = true;
}

TCustomZuzPanel::~TCustomZuzPanel() {
    FDestroying = true;
    FCanvas.reset();
}

void TCustomZuzPanel::BeforeDestruction() {
    FDestroying = true;
    TCustomPanelNoCaption::BeforeDestruction();
}

void TCustomZuzPanel::Invalidate() {
    FPaintFailed = false; // something changed: a failed paint may succeed now
    if (!AutoRepaint) return;
    if (FCanvas) FCanvas->Invalidate();
    TCustomPanelNoCaption::Invalidate();
}

void TCustomZuzPanel::SetBooleanProperty(bool& Field, bool Value) {
    if (SetIfChanged(Field, Value)) Invalidate();
}
void TCustomZuzPanel::SetIntegerProperty(int& Field, int Value) {
    if (SetIfChanged(Field, Value)) Invalidate();
}
void TCustomZuzPanel::SetColorProperty(TColor& Field, TColor Value) {
    if (SetIfChanged(Field, Value)) Invalidate();
}
void TCustomZuzPanel::SetDoubleProperty(double& Field, double Value) {
    if (SetIfChanged(Field, Value)) Invalidate();
}
void TCustomZuzPanel::SetStringProperty(String& Field, const String& Value) {
    if (SetIfChanged(Field, Value)) Invalidate();
}

void TCustomZuzPanel::SetBrushCanvas(TColor AColor, TChartBrush* ABrush, TColor ABackColor) {
    TColor c = AColor;
    // A hatch in the colour of its background would vanish.
    if (ABrush->GetStyle() != bsSolid && ABackColor == AColor) c = ABackColor == clBlack ? clWhite : clBlack;
    FCanvas->AssignBrushColor(ABrush, c, ABackColor);
}

// The widest margin the editor offers, in pixels: a file's number is summed with the panel's edges
// and, in percent, multiplied with its sides.
void TCustomZuzPanel::SetMargin(int Index, int Value) {
    SetIntegerProperty(FMargins[static_cast<std::size_t>(Index & 3)], std::clamp(Value, -2000, 2000));
}

void TCustomZuzPanel::SetMarginUnits(TZuzUnits Value) {
    if (FMarginUnits == Value) return;
    FMarginUnits = Value;
    Invalidate();
}

void TCustomZuzPanel::SetView3D(bool Value) {
    if (FView3D == Value) return;
    SetBooleanProperty(FView3D, Value);
    TZuzView3DEvent event;
    BroadcastZuzEvent(&event);
}

void TCustomZuzPanel::SetBorderRound(int Value) {
    if (FBorderRound == Value) return;
    FBorderRound = Value;
    if (!GetComponentState().Contains(csLoading)) SetControlRounded();
    // The frame and the bevels follow the corners: the panel is drawn afresh, not its last picture cut.
    Invalidate();
}

void TCustomZuzPanel::SetControlRounded() {
    if (FApplyingRound || !GetParent()) return;
    FApplyingRound = true;
    HRGN region = FBorderRound < 1
                      ? nullptr
                      : CreateRoundRectRgn(0, 0, GetWidth(), GetHeight(), FBorderRound, FBorderRound);
    if (!SetWindowRgn(GetHandle(), region, true) && region) DeleteObject(region);
    FApplyingRound = false;
}

TRect TCustomZuzPanel::GetRectangle() {
    if (!GetParent()) return TRect(0, 0, GetWidth(), GetHeight());
    return GetClientRect();
}

// ---------------------------------------------------------------------------
// The paint road

void TCustomZuzPanel::Paint() {
    // While a print or a picture uses the canvas, the window waits for the next paint.
    if (FDrawing || FPaintFailed) return;
    try {
        // Under a panel without a colour, what lies beneath may have changed since the last paint.
        if (GetColor() == clNone) FCanvas->Invalidate();
        if (!FCanvas->ReDrawBitmap()) Draw();
    } catch (...) {
        // Reported once by the caller; no further paint tries until something changes.
        FPaintFailed = true;
        throw;
    }
}

void TCustomZuzPanel::Draw() {
    Draw(FControlCanvas, GetClientRect());
}

void TCustomZuzPanel::Draw(TCanvas* UserCanvas, const TRect& UserRect) {
    TPanelLayout* const own = std::exchange(FOwnLayout, nullptr);
    DrawIn(UserCanvas, UserRect, own ? *own : FLayout);
}

void TCustomZuzPanel::DrawIn(TCanvas* UserCanvas, const TRect& UserRect, TPanelLayout& Layout) {
    TPanelLayout* const outer = FDrawing;
    FDrawing = &Layout;
    try {
        Layout.ChartBounds =
            FCanvas->InitWindow(UserCanvas, FView3DOptions.get(), GetColor(), FView3D, UserRect);
        // A panel without a colour paints no background: its buffer starts with what the target
        // shows there.
        if (GetColor() == clNone && FCanvas->ReferenceCanvas && FCanvas->ReferenceCanvas != UserCanvas &&
            UserCanvas)
            BitBlt(FCanvas->GetHandle(), 0, 0, UserRect.Width(), UserRect.Height(), UserCanvas->GetHandle(),
                   UserRect.Left, UserRect.Top, SRCCOPY);
        CalcPanelChartRect();
        ReCalcWidthHeight();
        InternalDraw(Layout.ChartBounds);
        FCanvas->ShowImage(UserCanvas, FControlCanvas, UserRect);
    } catch (...) {
        // A drawing that fails half-way leaves no front plane or clip open to
        // spoil the next one.
        while (FCanvas->FrontPlaneCount() > 0) FCanvas->FrontPlaneEnd();
        if (FCanvas->ReferenceCanvas) SelectClipRgn(FCanvas->GetHandle(), nullptr);
        FCanvas->SetCanvas(FControlCanvas);
        FDrawing = outer;
        throw;
    }
    FDrawing = outer;
}

TPanelLayoutSettings TCustomZuzPanel::GetLayoutSettings() const {
    TPanelLayoutSettings s;
    s.FrameWidth = GetBorderWidth();
    if (GetBevelInner() != bvNone) s.FrameWidth += GetBevelWidth();
    if (GetBevelOuter() != bvNone) s.FrameWidth += GetBevelWidth();
    if (FBorder->GetVisible()) s.FrameWidth += FBorder->GetWidth();
    s.Margins = FMargins;
    s.MarginUnits = FMarginUnits;
    s.ShadowVisible = FShadow->GetVisible();
    s.ShadowHorizSize = FShadow->GetHorizSize();
    s.ShadowVertSize = FShadow->GetVertSize();
    s.CustomChartRect = CustomChartRect;
    s.CustomRect = FCustomChartRect;
    s.ControlWidth = GetWidth();
    s.ControlHeight = GetHeight();
    return s;
}

TPanelLayout TCustomZuzPanel::LayoutFor(const TRect& ChartBounds) const {
    return PanelLayout(GetLayoutSettings(), ChartBounds);
}

void TCustomZuzPanel::SetChartRect(const TRect& Value) {
    Drawing().ChartRect = Value;
    if (!FDrawing) FCustomChartRect = Value;
}

void TCustomZuzPanel::CalcPanelChartRect() {
    TPanelLayout& l = Drawing();
    l.ChartRect = PanelChartRect(GetLayoutSettings(), l.ChartBounds);
}

void TCustomZuzPanel::ReCalcWidthHeight() {
    PanelChartSize(Drawing(), GetLayoutSettings());
}

void TCustomZuzPanel::DrawPanelBevels(const TRect& Rect) {
    TRect r = Rect;
    FCanvas->FrontPlaneBegin();
    FCanvas->Brush->SetStyle(bsClear);
    if (FBorder->GetVisible()) {
        const bool dots = FBorder->GetSmallDots();
        int w = dots ? 1 : FBorder->GetWidth() - 1;
        if (w > 0) {
            r.Left += (w + 1) / 2;
            r.Top += (w + 1) / 2;
            r.Right -= w / 2;
            r.Bottom -= w / 2;
        }
        FCanvas->AssignVisiblePenColor(FBorder.get(), FBorder->GetColor());
        if (FBorderRound < 1) {
            FCanvas->Rectangle(r);
            if (!dots) ++w;
        } else {
            --r.Right;
            --r.Bottom;
            FCanvas->RoundRect(r, FBorderRound, FBorderRound);
        }
        InflateRect(r, -w, -w);
    }
    if (GetPrinting() && !PrintZuzPanel) {
        FCanvas->FrontPlaneEnd();
        return;
    }
    FCanvas->Pen->SetStyle(psSolid);
    FCanvas->Pen->SetWidth(1);
    FCanvas->Pen->SetMode(pmCopy);
    DrawBevel(FCanvas.get(), GetBevelOuter(), r, FBorderRound, GetBevelWidth());
    if (GetBorderWidth() != 0) FCanvas->Frame3D(r, GetColor(), GetColor(), GetBorderWidth());
    DrawBevel(FCanvas.get(), GetBevelInner(), r, FBorderRound, GetBevelWidth());
    FCanvas->FrontPlaneEnd();
}

void DrawBevel(TCanvas3D* Canvas, TBevelCut Bevel, TRect& R, int Round, int Width) {
    if (Bevel == bvNone) return;
    const TColor topLeft = Bevel == bvLowered ? clBtnShadow : clBtnHighlight;
    const TColor bottomRight = Bevel == bvRaised ? clBtnShadow : clBtnHighlight;
    if (Round >= 1) {
        InflateRect(R, -1, -1);
        // The curve's two halves take the colours of a square frame's sides, parted along the
        // diagonal from the bottom-left corner to the top-right one.
        Canvas->Pen->SetColor(bottomRight);
        Canvas->RoundRect(R, Round, Round);
        const TPoint upperLeft[3] = {
            {R.Left - 1, R.Bottom + 1}, {R.Left - 1, R.Top - 1}, {R.Right + 1, R.Top - 1}};
        Canvas->ClipPolygon(upperLeft, 3, false);
        Canvas->Pen->SetColor(topLeft);
        Canvas->RoundRect(R, Round, Round);
        Canvas->UnClipRectangle();
        InflateRect(R, -Width, -Width);
        return;
    }
    Canvas->Frame3D(R, topLeft, bottomRight, Width);
}

double ScreenRatio(TCanvas* Canvas) {
    HDC dc = Canvas->GetHandle();
    const int v = GetDeviceCaps(dc, VERTSIZE);
    return v == 0 ? 0.0 : static_cast<double>(GetDeviceCaps(dc, HORZSIZE)) / v;
}

bool TCustomZuzPanel::CanClip() {
    if (FCanvas->GetSupportsFullRotation()) return false;
    const bool printing = GetPrinting(), metafiling = FCanvas->Metafiling;
    return (!printing && !metafiling) || (printing && ZuzClipWhenPrinting) ||
           (metafiling && ZuzClipWhenMetafiling);
}

bool TCustomZuzPanel::IsScreenHighColor() {
    if (FCanvas->GetSupportsFullRotation()) return true;
    HDC dc = FCanvas->GetHandle();
    return GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES) >= 15;
}

TPoint TCustomZuzPanel::GetCursorPos() const {
    TPoint p;
    ::GetCursorPos(p);
    return ScreenToClient(p);
}

void TCustomZuzPanel::SetInternalCanvas(TCanvas3D* NewCanvas) {
    if (!NewCanvas) return;
    Owned<TCanvas3D> fresh(NewCanvas);
    fresh->SetCanvas(FControlCanvas);
    if (FCanvas) {
        const bool old = AutoRepaint;
        AutoRepaint = false;
        fresh->Assign(FCanvas.get());
        AutoRepaint = old;
    }
    FCanvas = std::move(fresh);
    if (AutoRepaint) Invalidate();
}

// ---------------------------------------------------------------------------
// Listeners and mouse

void TCustomZuzPanel::RemoveListener(IZuzEventListener* Listener) {
    FListeners.Remove(Listener);
}

TZuzEvent* TCustomZuzPanel::BroadcastZuzEvent(TZuzEvent* Event) {
    if (FDestroying || GetComponentState().Contains(csDestroying)) return Event;
    Event->Sender = this;
    const bool mouse = dynamic_cast<TZuzMouseEvent*>(Event) != nullptr;
    for (int i = 0; i < FListeners.Count(); ++i) {
        FListeners.Get(i)->ZuzEvent(Event);
        if (mouse && CancelMouse) break;
    }
    return Event;
}

void TCustomZuzPanel::BroadcastMouseEvent(TZuzMouseEventKind Kind, TMouseButton Button, TShiftState Shift,
                                          int X, int Y) {
    if (FListeners.Count() == 0) return;
    TZuzMouseEvent event;
    event.Event = Kind;
    event.Button = Button;
    event.Shift = Shift;
    event.X = X;
    event.Y = Y;
    BroadcastZuzEvent(&event);
}

void TCustomZuzPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    CancelMouse = false;
    TCustomPanelNoCaption::MouseDown(Button, Shift, X, Y);
    BroadcastMouseEvent(meDown, Button, Shift, X, Y);
}

void TCustomZuzPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomPanelNoCaption::MouseUp(Button, Shift, X, Y);
    BroadcastMouseEvent(meUp, Button, Shift, X, Y);
}

void TCustomZuzPanel::MouseMove(TShiftState Shift, int X, int Y) {
    CancelMouse = false;
    TCustomPanelNoCaption::MouseMove(Shift, X, Y);
    if (FListeners.Count() > 0 && !GetComponentState().Contains(csDesigning))
        BroadcastMouseEvent(meMove, mbLeft, Shift, X, Y);
}

void TCustomZuzPanel::DblClick() {
    CancelMouse = false;
    TCustomPanelNoCaption::DblClick();
    if (CancelMouse) throw EAbort(u"Operation aborted");
}

void TCustomZuzPanel::MouseLeave() {
    CMMouseLeave();
}

void TCustomZuzPanel::CMMouseLeave() {
    SetCursor(SavedCursor);
    FPanning->Active = false;
    TCustomPanelNoCaption::MouseLeave();
}

void TCustomZuzPanel::CMSysColorChange() {
    TCustomPanelNoCaption::SysColorChange();
    Invalidate();
}

void TCustomZuzPanel::CreateParams(DWORD& Style, DWORD& ExStyle) {
    TCustomPanelNoCaption::CreateParams(Style, ExStyle);
    FTransparentWindow = GetColor() == clNone;
    if (FTransparentWindow) ExStyle |= WS_EX_TRANSPARENT;
    if (FCanvas) FCanvas->View3DOptions = nullptr; // the next InitWindow sets it again
}

void TCustomZuzPanel::ApplyColor() {
    TCustomPanelNoCaption::ApplyColor();
    // The window is made anew when the colour comes or goes: without one it lets what lies
    // under it show.
    if ((GetColor() == clNone) != FTransparentWindow) RecreateWnd();
}

int TCustomZuzPanel::WMGetDlgCode(int Inherited) {
    constexpr int DLGC_WANTARROWS = 1;
    return Inherited | DLGC_WANTARROWS;
}

bool TCustomZuzPanel::WMEraseBkgnd() {
    // The panel paints all of itself; the default erase runs only when asked for.
    return ZuzEraseBack;
}

void TCustomZuzPanel::Resize() {
    if (!GetComponentState().Contains(csLoading) && FBorderRound > 0) SetControlRounded();
    // The buffer holds the old size: the next paint draws afresh.
    if (FCanvas) FCanvas->Invalidate();
    TCustomPanelNoCaption::Resize();
}

void TCustomZuzPanel::Loaded() {
    TCustomPanelNoCaption::Loaded();
    SavedCursor = GetCursor();
    if (FBorderRound > 0) SetControlRounded();
}

// ---------------------------------------------------------------------------
// Copies and streams

void TCustomZuzPanel::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TCustomZuzPanel*>(Source);
    if (!src) {
        TCustomPanelNoCaption::Assign(Source);
        return;
    }
    FBorder->Assign(src->FBorder.get());
    SetBorderRound(src->FBorderRound);
    SetBufferedDisplay(src->GetBufferedDisplay());
    PrintMargins = src->PrintMargins;
    FPrintProportional = src->FPrintProportional;
    FPrintResolution = src->FPrintResolution;
    FMargins = src->FMargins;
    FMarginUnits = src->FMarginUnits;
    SetMonochrome(src->GetMonochrome());
    FShadow->Assign(src->FShadow.get());
    FView3D = src->FView3D;
    FView3DOptions->Assign(src->FView3DOptions.get());
    SetColor(src->GetColor());
    Invalidate();
}

void TCustomZuzPanel::AssignTo(TPersistent* Dest) const {
    if (!dynamic_cast<TGraphic*>(Dest) && !dynamic_cast<TPicture*>(Dest)) {
        TCustomPanelNoCaption::AssignTo(Dest);
        return;
    }
    // The picture the panel's own bitmap output makes: on the panel's colour.
    const Owned<TBitmap> bitmap = const_cast<TCustomZuzPanel*>(this)->ZuzCreateBitmap();
    Dest->Assign(bitmap.get());
}

void TCustomZuzPanel::NonBufferDraw(TCanvas* UserCanvas, const TRect& UserRect, bool APrinting) {
    // The buffer and its setting are back afterwards, also when the drawing fails.
    // The window's projection comes back too: hit tests until the next paint see what the
    // window shows, not the picture.
    struct Restore {
        TCustomZuzPanel* panel;
        TZuzCanvas3D* canvas;
        bool buffered;
        TProjection3D projection;
        TRect bounds;
        ~Restore() {
            panel->FOwnLayout = nullptr;
            panel->FCanvas->SetProjection(projection);
            panel->FCanvas->Bounds = bounds;
            panel->SetBufferedDisplay(buffered);
            if (canvas) canvas->KeepBitmap = false;
            panel->Invalidate();
        }
    } restore{this, dynamic_cast<TZuzCanvas3D*>(FCanvas.get()), GetBufferedDisplay(),
              FCanvas->GetProjection(), FCanvas->Bounds};
    if (restore.canvas) restore.canvas->KeepBitmap = true;
    SetBufferedDisplay(false);
    TPanelLayout own;
    own.Printing = APrinting;
    FOwnLayout = &own; // for the paint road that Draw runs
    Draw(UserCanvas, UserRect);
}

void TCustomZuzPanel::DefineProperties(TFiler* Filer) {
    TCustomPanelNoCaption::DefineProperties(Filer);
    // Older streams carry the border as a form border style; it is only read.
    Filer->DefineProperty(
        "BorderStyle",
        [this](TReader* Reader) { FBorder->SetVisible(SameIdent(Reader->ReadIdent(), "bsSingle")); }, nullptr,
        false);
}
