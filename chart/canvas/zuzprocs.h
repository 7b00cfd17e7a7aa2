#pragma once
// The panel unit of the chart library: the chart panel every chart is drawn
// in (margins, frame, listeners, the paint road over the buffered 3D canvas),
// the calendar steps of date-time axes and the editor options kept in the
// registry.

#include "chart/canvas/panellayout.h"
#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzshadow.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/printers.h"

#include <utility>
#include <vector>

// ---------------------------------------------------------------------------
// Date-time steps

enum TDateTimeStep : std::uint8_t {
    dtOneMicroSecond,
    dtOneMillisecond,
    dtOneSecond,
    dtFiveSeconds,
    dtTenSeconds,
    dtFifteenSeconds,
    dtThirtySeconds,
    dtOneMinute,
    dtFiveMinutes,
    dtTenMinutes,
    dtFifteenMinutes,
    dtThirtyMinutes,
    dtOneHour,
    dtTwoHours,
    dtSixHours,
    dtTwelveHours,
    dtOneDay,
    dtTwoDays,
    dtThreeDays,
    dtOneWeek,
    dtHalfMonth,
    dtOneMonth,
    dtTwoMonths,
    dtThreeMonths,
    dtFourMonths,
    dtSixMonths,
    dtOneYear,
    dtNone
};
template <>
const EnumInfo& EnumInfoOf<TDateTimeStep>();

// Each step's length in days (the month steps nominal: 30 days a month).
extern const std::array<double, 27> DateTimeStep;

TDateTimeStep FindDateTimeStep(double StepValue);
double NextDateTimeStep(double Value);
// The short time format for steps up to one day, the short date format above.
String DateTimeDefaultFormat(double Step);
// Whether a date-time value lies within the calendar (years 1 to 9999 either side of the epoch):
// one beyond it has no date to show.
bool ZuzCalendarHolds(double Value);
Word DaysInMonth(Word Year, Word Month);
TDateTime ZuzRoundDate(TDateTime Date, TDateTimeStep Step);
void ZuzDateTimeIncrement(bool IsDateTime, bool Increment, double& Value, double AnIncrement,
                          TDateTimeStep Step);

// ---------------------------------------------------------------------------
// Editor options: named values under the current user's editor key; a
// missing key or value gives the default, a key that cannot be written is
// skipped, a value of another type raises the registry's error.

bool ZuzReadBoolOption(const String& Key, bool Default);
int ZuzReadIntegerOption(const String& Key, int Default);
String ZuzReadStringOption(const String& Key, const String& Default);
void ZuzSaveBoolOption(const String& Key, bool Value);
void ZuzSaveIntegerOption(const String& Key, int Value);
void ZuzSaveStringOption(const String& Key, const String& Value);

// ---------------------------------------------------------------------------
// Panel events and listeners

class TCustomZuzPanel;

class TZuzEvent : public TObject {
public:
    TCustomZuzPanel* Sender = nullptr;
};

enum TZuzMouseEventKind : std::uint8_t { meDown, meUp, meMove };

class TZuzMouseEvent : public TZuzEvent {
public:
    TZuzMouseEventKind Event = meDown;
    TMouseButton Button = mbLeft;
    TShiftState Shift;
    int X = 0, Y = 0;
};

class TZuzView3DEvent : public TZuzEvent {};

class IZuzEventListener {
public:
    virtual void ZuzEvent(TZuzEvent* Event) = 0;

protected:
    ~IZuzEventListener() = default;
};

// Holds no listener: a listener removes itself before it goes away.
class TZuzEventListeners {
public:
    int Add(IZuzEventListener* Listener);
    IZuzEventListener* Get(int Index) const { return FItems[static_cast<std::size_t>(Index)]; }
    int Count() const { return static_cast<int>(FItems.size()); }
    int Remove(IZuzEventListener* Listener);
    int IndexOf(IZuzEventListener* Listener) const;

private:
    std::vector<IZuzEventListener*> FItems;
};

// The rectangle of a zoom or panning drag in progress (the zoom's settings come with the
// extended panel).
class TZoomPanning : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    bool Active = false;
    int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
    void Activate(int X, int Y) {
        X0 = X1 = X;
        Y0 = Y1 = Y;
        Active = true;
    }
    // Puts the corners in order: X0 <= X1 and Y0 <= Y1.
    void Check() {
        if (X0 > X1) std::swap(X0, X1);
        if (Y0 > Y1) std::swap(Y0, Y1);
    }
};

template <>
const EnumInfo& EnumInfoOf<TZuzUnits>();

// ---------------------------------------------------------------------------
// Panels

// A panel that never shows its name as a caption.
class TCustomPanelNoCaption : public TCustomPanel {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TCustomPanelNoCaption(TComponent* AOwner);
};

using TZuzPrintEvent = Event<void(TCustomZuzPanel* Sender, TCanvas* Canvas, const TRect& R)>;

class TCustomZuzPanel : public TCustomPanelNoCaption {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomZuzPanel(TComponent* AOwner);
    ~TCustomZuzPanel() override;
    void BeforeDestruction() override;

    bool ApplyZOrder = true;
    bool AutoRepaint = false;
    bool CancelMouse = false;
    int Height3D = 0, Width3D = 0;
    TCursor SavedCursor = crDefault;
    TRect PrintMargins{15, 15, 15, 15};
    // Draws keep the chart rectangle as the owner set it (SetChartRect outside a draw).
    bool CustomChartRect = false;
    TZuzPrintEvent OnBeforePrint;

    // Settings of the panel.
    bool ZuzEraseBack = false;         // the window's own background is erased before a paint
    bool PrintZuzPanel = false;        // bevels are printed too
    bool ZuzClipWhenPrinting = true;   // prints clip to the chart
    bool ZuzClipWhenMetafiling = true; // metafiles clip to the chart

    // The layout of the draw under way, or the control's own from its last paint. Drawing code
    // (the engine laying out axes, legend and titles) narrows the chart rectangle through
    // SetChartRect and ReCalcWidthHeight; a print or a picture does so on its own layout.
    const TPanelLayout& GetLayout() const { return FDrawing ? *FDrawing : FLayout; }
    const TRect& GetChartBounds() const { return GetLayout().ChartBounds; }
    const TRect& GetChartRect() const { return GetLayout().ChartRect; }
    void SetChartRect(const TRect& Value);
    int GetChartWidth() const { return GetLayout().ChartWidth; }
    int GetChartHeight() const { return GetLayout().ChartHeight; }
    int GetChartXCenter() const { return GetLayout().ChartXCenter; }
    int GetChartYCenter() const { return GetLayout().ChartYCenter; }
    // True while the panel draws to a printer or a print preview.
    bool GetPrinting() const { return FDrawing ? FDrawing->Printing : FPrintingPage; }
    TPanelLayoutSettings GetLayoutSettings() const;
    // The layout a draw into ChartBounds would have; the panel does not change.
    TPanelLayout LayoutFor(const TRect& ChartBounds) const;

    TCanvas* GetControlCanvas() const { return FControlCanvas; }
    TCanvas3D* GetCanvas() const { return FCanvas.get(); }
    TChartHiddenPen* GetBorder() const { return FBorder.get(); }
    void SetBorder(TChartHiddenPen* Value) { FBorder->Assign(Value); }
    int GetBorderRound() const { return FBorderRound; }
    void SetBorderRound(int Value);
    TZuzShadow* GetShadow() const { return FShadow.get(); }
    void SetShadow(TZuzShadow* Value) { FShadow->Assign(Value); }
    TView3DOptions* GetView3DOptions() const { return FView3DOptions.get(); }
    void SetView3DOptions(TView3DOptions* Value) { FView3DOptions->Assign(Value); }
    TZoomPanning* GetPanning() const { return FPanning.get(); }
    TZuzEventListeners* GetListeners() { return &FListeners; }
    int GetMargin(int Index) const { return FMargins[static_cast<std::size_t>(Index & 3)]; }
    void SetMargin(int Index, int Value);
    int GetMarginLeft() const { return GetMargin(0); }
    void SetMarginLeft(int Value) { SetMargin(0, Value); }
    int GetMarginTop() const { return GetMargin(1); }
    void SetMarginTop(int Value) { SetMargin(1, Value); }
    int GetMarginRight() const { return GetMargin(2); }
    void SetMarginRight(int Value) { SetMargin(2, Value); }
    int GetMarginBottom() const { return GetMargin(3); }
    void SetMarginBottom(int Value) { SetMargin(3, Value); }
    TZuzUnits GetMarginUnits() const { return FMarginUnits; }
    void SetMarginUnits(TZuzUnits Value);
    bool GetMonochrome() const { return FCanvas->GetMonochrome(); }
    void SetMonochrome(bool Value) { FCanvas->SetMonochrome(Value); }
    bool GetBufferedDisplay() const { return FCanvas->GetUseBuffer(); }
    void SetBufferedDisplay(bool Value) { FCanvas->SetUseBuffer(Value); }
    bool GetPrintProportional() const { return FPrintProportional; }
    void SetPrintProportional(bool Value) { SetBooleanProperty(FPrintProportional, Value); }
    int GetPrintResolution() const { return FPrintResolution; }
    void SetPrintResolution(int Value) { SetIntegerProperty(FPrintResolution, Value); }
    bool GetView3D() const { return FView3D; }
    void SetView3D(bool Value);
    // The old form border property: bsSingle while the border is visible.
    TFormBorderStyle GetBorderStyle() const { return FBorder->GetVisible() ? bsSingle : bsNone; }
    void SetBorderStyle(TFormBorderStyle Value) { FBorder->SetVisible(Value == bsSingle); }

    // Store a changed value and repaint; an equal one changes nothing.
    void SetBooleanProperty(bool& Field, bool Value);
    void SetIntegerProperty(int& Field, int Value);
    void SetColorProperty(TColor& Field, TColor Value);
    void SetDoubleProperty(double& Field, double Value);
    void SetStringProperty(String& Field, const String& Value);
    void SetBrushCanvas(TColor AColor, TChartBrush* ABrush, TColor ABackColor);

    void Invalidate() override;
    virtual TColor GetBackColor() { return GetColor(); }
    virtual TRect GetRectangle();
    // The paint road onto a canvas, in the control's layout.
    virtual void Draw(TCanvas* UserCanvas, const TRect& UserRect);
    void Draw();
    // The two steps of the layout, on the layout of the draw under way.
    void CalcPanelChartRect();
    void ReCalcWidthHeight();
    void DrawPanelBevels(const TRect& Rect);
    bool CanClip();
    bool IsScreenHighColor();
    TPoint GetCursorPos() const;
    void SetInternalCanvas(TCanvas3D* NewCanvas);
    void RemoveListener(IZuzEventListener* Listener);
    TZuzEvent* BroadcastZuzEvent(TZuzEvent* Event);
    void BroadcastMouseEvent(TZuzMouseEventKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y);
    void CanvasChanged(TObject* Sender) { Invalidate(); }
    void SetControlRounded();
    // The paint road once on another canvas (pictures, printing), past the buffer, which keeps
    // its bitmap, in a layout of its own: the control's stays as its last paint left it.
    void NonBufferDraw(TCanvas* UserCanvas, const TRect& UserRect, bool APrinting = false);

    // Printing and pictures (the paint road run on the printer's, a bitmap's or a picture's
    // canvas). A print is one job on Printer(); a job that fails is aborted and the error goes on.
    void Print() { PrintRect(ChartPrintRect()); }
    void PrintPortrait() { PrintOrientation(poPortrait); }
    void PrintLandscape() { PrintOrientation(poLandscape); }
    void PrintOrientation(TPrinterOrientation Orientation);
    // The panel's rectangle on the printer's page from the print margins (made proportional first
    // when PrintProportional).
    TRect ChartPrintRect();
    // Print margins that keep the panel's aspect on the printer's page (the screen's when there
    // is no printer).
    TRect CalcProportionalMargins();
    void PrintRect(const TRect& R);
    // Into the job under way (several panels or pages in one job).
    void PrintPartial(const TRect& R);
    void PrintPartialCanvas(TCanvas* Canvas, const TRect& R);
    // Turns R into the logical units of a drawing whose window is the panel shrunk or grown by
    // PrintResolution percent and whose viewport is R.
    void CalcMetaBounds(TRect& R, const TRect& PanelRect, int& WinWidth, int& WinHeight, int& ViewWidth,
                        int& ViewHeight);
    void DrawToMetaCanvas(TCanvas* ACanvas, const TRect& R) { DrawToMetaCanvas(ACanvas, R, false); }
    // A new bitmap of the panel (the caller owns it).
    Owned<TBitmap> ZuzCreateBitmap() { return ZuzCreateBitmap(GetColor(), GetRectangle(), pfDevice); }
    Owned<TBitmap> ZuzCreateBitmap(TColor BackColor, const TRect& R, TPixelFormat PixelFormat);
    void SaveToBitmapFile(const String& FileName) { SaveToBitmapFile(FileName, GetRectangle()); }
    void SaveToBitmapFile(const String& FileName, const TRect& R);
    void CopyToClipboardBitmap() { CopyToClipboardBitmap(GetRectangle()); }
    void CopyToClipboardBitmap(const TRect& R);
    // A new metafile of the panel drawn into R (the caller owns it); never smaller than 1 x 1.
    Owned<TMetafile> ZuzCreateMetafile(bool Enhanced, const TRect& R);
    void SaveToMetafile(const String& FileName) { SaveToMetafileRect(false, FileName, GetRectangle()); }
    void SaveToMetafileEnh(const String& FileName) { SaveToMetafileRect(true, FileName, GetRectangle()); }
    void SaveToMetafileRect(bool Enhanced, const String& FileName, const TRect& R);
    void CopyToClipboardMetafile(bool Enhanced) { CopyToClipboardMetafile(Enhanced, GetRectangle()); }
    void CopyToClipboardMetafile(bool Enhanced, const TRect& R);

    void Assign(TPersistent* Source) override;
    void DefineProperties(TFiler* Filer) override;
    void Loaded() override;

    // The window messages the panel answers.
    void CMMouseLeave();
    void CMSysColorChange();
    int WMGetDlgCode(int Inherited);
    bool WMEraseBkgnd();

protected:
    virtual void InternalDraw(const TRect& UserRectangle) {}
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    void DblClick() override;
    void Resize() override;
    void AssignTo(TPersistent* Dest) const override;
    void CreateParams(DWORD& Style, DWORD& ExStyle) override;
    void ApplyColor() override;
    void SysColorChange() override { CMSysColorChange(); }

private:
    // Whether the window was last made to let what lies under it show.
    bool FTransparentWindow = false;
    void DrawToMetaCanvas(TCanvas* ACanvas, const TRect& R, bool APrinting);
    TPanelLayout& Drawing() { return FDrawing ? *FDrawing : FLayout; }
    // The paint road in the given layout.
    void DrawIn(TCanvas* UserCanvas, const TRect& UserRect, TPanelLayout& Layout);
    TPanelLayout FLayout;               // the control's: the last paint's
    TPanelLayout* FDrawing = nullptr;   // the draw under way's
    TPanelLayout* FOwnLayout = nullptr; // a print's or picture's, for the next Draw
    TRect FCustomChartRect;             // the owner's, with CustomChartRect
    TCanvas* FControlCanvas = nullptr;  // the control's own canvas
    Owned<TCanvas3D> FCanvas;
    Owned<TChartHiddenPen> FBorder;
    Owned<TZuzShadow> FShadow;
    Owned<TView3DOptions> FView3DOptions;
    Owned<TZoomPanning> FPanning;
    TZuzEventListeners FListeners;
    std::array<int, 4> FMargins{3, 4, 3, 4};
    TZuzUnits FMarginUnits = muPercent;
    int FBorderRound = 0;
    bool FApplyingRound = false;
    bool FPrintProportional = true;
    int FPrintResolution = 0;
    bool FView3D = true;
    bool FDestroying = false;
    bool FPaintFailed = false;
    bool FPrintingPage = false; // a page is being printed (before and around its draw)
};

// A bevel of the panel's frame: raised, lowered or none, rounded or square.
void DrawBevel(TCanvas3D* Canvas, TBevelCut Bevel, TRect& R, int Round, int Width);
// Width over height of the canvas's device in millimetres; 0 for no height.
double ScreenRatio(TCanvas* Canvas);
