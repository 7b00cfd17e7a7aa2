#include "chart/series/zuzpreviewpanel.h"
#include "chart/canvas/hourglass.h"

#include "chart/canvas/zuzpanelprocs.h"
#include "chart/canvas/zuzstretch.h"
#include "platform/gui/forms.h"
#include "platform/gui/printers.h"

#include <algorithm>
#include <cmath>
#include <utility>

template <>
const EnumInfo& EnumInfoOf<TZuzPreviewPanelOrientation>() {
    static const EnumInfo info{"TZuzPreviewPanelOrientation", {"ppoDefault", "ppoPortrait", "ppoLandscape"}};
    return info;
}

const ClassInfo& TPreviewChartPen::StaticClass() {
    // Made dotted with small dots, so that is what goes unwritten.
    static const PropInfo props[] = {
        MakeProp<&TChartPen::GetSmallDots, &TChartPen::SetSmallDots>("SmallDots").Default(true),
        MakeProp<&TPen::GetStyle, &TPen::SetStyle>("Style").Default(psDot),
    };
    static const ClassInfo ci =
        MakeClassInfo<TPreviewChartPen>("TPreviewChartPen", &TChartPen::StaticClass(), props);
    return ci;
}

TPreviewChartPen::TPreviewChartPen(TNotifyEvent OnChangeEvent) : TChartPen(std::move(OnChangeEvent)) {
    const TNotifyEvent keep = OnChange;
    OnChange.Clear();
    SetStyle(psDot);
    SetSmallDots(true);
    OnChange = keep;
}

bool ZuzPrintersExist() {
    return Printer()->GetPrinters()->GetCount() > 0;
}

// ---------------------------------------------------------------------------
// The sheet's arithmetic

namespace ZuzPreviewGeometry {

namespace {
// The nearest integer, halves to even.
int RoundEven(double V) {
    return static_cast<int>(std::nearbyint(V));
}
// Near an edge line: less than five pixels from it.
bool Near(int A, int B) {
    return std::abs(A - B) < 5;
}
} // namespace

TRect PaperRect(int W, int H, int PageWidth, int PageHeight) {
    TRect r;
    // 64-bit products: a printer's page in device pixels times a client size can pass 2^31.
    if (static_cast<long long>(W) * PageHeight <= static_cast<long long>(H) * PageWidth) {
        const int paperWidth = W - RoundEven(W / 5.0);
        r.Left = RoundEven(W / 10.0);
        r.Right = r.Left + paperWidth;
        const int paperHeight = PageHeight < 1 ? H : MulDiv(paperWidth, PageHeight, PageWidth);
        r.Top = (H - paperHeight) / 2;
        r.Bottom = r.Top + paperHeight;
    } else {
        const int paperHeight = H - RoundEven(H / 5.0);
        r.Top = RoundEven(H / 10.0);
        r.Bottom = r.Top + paperHeight;
        const int paperWidth = PageWidth < 1 ? W : MulDiv(paperHeight, PageWidth, PageHeight);
        r.Left = (W - paperWidth) / 2;
        r.Right = r.Left + paperWidth;
    }
    return r;
}

TRect ImageRect(const TRect& Paper, const TRect& Margins) {
    const int w = Paper.Width(), h = Paper.Height();
    return TRect(Paper.Left + MulDiv(Margins.Left, w, 100), Paper.Top + MulDiv(Margins.Top, h, 100),
                 Paper.Right - MulDiv(Margins.Right, w, 100), Paper.Bottom - MulDiv(Margins.Bottom, h, 100));
}

bool MarginsOf(const TRect& Paper, const TRect& Image, TRect& Margins) {
    const int w = Paper.Width(), h = Paper.Height();
    if (w < 1 || h < 1) return false;
    Margins = TRect(MulDiv(Image.Left - Paper.Left, 100, w), MulDiv(Image.Top - Paper.Top, 100, h),
                    MulDiv(Paper.Right - Image.Right, 100, w), MulDiv(Paper.Bottom - Image.Bottom, 100, h));
    return true;
}

ZuzPreviewZones ZoneAt(const TRect& Image, int X, int Y, bool AllowResize, bool AllowMove) {
    if (AllowResize) {
        const bool left = Near(X, Image.Left), right = Near(X, Image.Right);
        const bool top = Near(Y, Image.Top), bottom = Near(Y, Image.Bottom);
        if (left && top) return zuzPrev_LeftTop;
        if (left && bottom) return zuzPrev_LeftBottom;
        if (right && top) return zuzPrev_RightTop;
        if (right && bottom) return zuzPrev_RightBottom;
        if (left) return zuzPrev_Left;
        if (right) return zuzPrev_Right;
        if (top) return zuzPrev_Top;
        if (bottom) return zuzPrev_Bottom;
    }
    if (PtInRect(Image, TPoint(X, Y))) return AllowMove ? zuzPrev_Image : zuzPrev_None;
    return zuzPrev_None;
}

bool Drag(ZuzPreviewZones Zone, const TRect& Paper, TRect& Image, int X, int Y, const TRect& StartImage,
          TPoint StartPoint) {
    const bool left = Paper.Left <= X && X < Image.Right;
    const bool top = Paper.Top <= Y && Y < Image.Bottom;
    const bool right = Image.Left < X && X <= Paper.Right;
    const bool bottom = Image.Top < Y && Y <= Paper.Bottom;
    auto take = [&](bool Ok, int TRect::*EdgeA, int A, int TRect::*EdgeB = nullptr, int B = 0) {
        if (!Ok) return false;
        Image.*EdgeA = A;
        if (EdgeB) Image.*EdgeB = B;
        return true;
    };
    switch (Zone) {
    case zuzPrev_Left:
        return take(left, &TRect::Left, X);
    case zuzPrev_Top:
        return take(top, &TRect::Top, Y);
    case zuzPrev_Right:
        return take(right, &TRect::Right, X);
    case zuzPrev_Bottom:
        return take(bottom, &TRect::Bottom, Y);
    case zuzPrev_LeftTop:
        return take(left && top, &TRect::Left, X, &TRect::Top, Y);
    case zuzPrev_RightTop:
        return take(right && top, &TRect::Right, X, &TRect::Top, Y);
    case zuzPrev_LeftBottom:
        return take(left && bottom, &TRect::Left, X, &TRect::Bottom, Y);
    case zuzPrev_RightBottom:
        return take(right && bottom, &TRect::Right, X, &TRect::Bottom, Y);
    case zuzPrev_Image: {
        TRect r;
        r.Left = std::max(Paper.Left, X - StartPoint.X + StartImage.Left);
        r.Top = std::max(Paper.Top, Y - StartPoint.Y + StartImage.Top);
        r.Right = std::min(Paper.Right, r.Left + StartImage.Width());
        r.Bottom = std::min(Paper.Bottom, r.Top + StartImage.Height());
        if (!PtInRect(Paper, TPoint(r.Left, r.Top)) || !PtInRect(Paper, TPoint(r.Right, r.Bottom)))
            return false;
        Image = r;
        return true;
    }
    case zuzPrev_None:
        break;
    }
    return false;
}

} // namespace ZuzPreviewGeometry

// ---------------------------------------------------------------------------
// The panel

const ClassInfo& TZuzPreviewPanel::StaticClass() {
    using V = TZuzPreviewPanel;
    using P = TCustomZuzPanel;
    static const PropInfo props[] = {
        MakeProp<&V::GetAllowMove, &V::SetAllowMove>("AllowMove").Default(true),
        MakeProp<&V::GetAllowResize, &V::SetAllowResize>("AllowResize").Default(true),
        MakeProp<&V::GetAsBitmap, &V::SetAsBitmap>("AsBitmap").Default(false),
        MakeProp<&P::GetBevelInner, &P::SetBevelInner>("BevelInner").Default(bvNone),
        MakeProp<&P::GetBevelOuter, &P::SetBevelOuter>("BevelOuter").Default(bvRaised),
        MakeProp<&P::GetBevelWidth, &P::SetBevelWidth>("BevelWidth").Default(1),
        MakeProp<&P::GetBorder, &P::SetBorder>("Border"),
        MakeProp<&V::GetDragImage, &V::SetDragImage>("DragImage").Default(false),
        MakeProp<&V::GetMargins, &V::SetMargins>("Margins"),
        MakeProp<&V::GetOrientation, &V::SetOrientation>("Orientation").Default(ppoDefault),
        MakeProp<&V::GetPanel, &V::SetPanel>("Panel"),
        MakeProp<&V::GetPaperColor, &V::SetPaperColor>("PaperColor").Default(clWhite),
        MakeProp<&V::GetPaperShadow, &V::SetPaperShadow>("PaperShadow"),
        MakeProp<&V::GetShowImage, &V::SetShowImage>("ShowImage").Default(true),
        MakeProp<&V::GetSmoothBitmap, &V::SetSmoothBitmap>("SmoothBitmap").Default(true),
        MakeProp<&V::GetTitle, &V::SetTitle>("Title"),
        MakeProp<&V::OnChangeMargins>("OnChangeMargins"),
        MakeProp<&V::OnGetPaperRect>("OnGetPaperRect"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TZuzPreviewPanel>("TZuzPreviewPanel", &TCustomZuzPanelExtended::StaticClass(), props);
    return ci;
}

TZuzPreviewPanel::TZuzPreviewPanel(TComponent* AOwner)
    : TCustomZuzPanelExtended(AOwner),
      FMargins(MakeOwned<TPreviewChartPen>(TNotifyEvent([this](TObject* s) { PropertyChanged(s); }))),
      FPaperShadow(MakeOwned<TZuzShadow>(TNotifyEvent([this](TObject* s) { PropertyChanged(s); }))) {
    FPaperShadow->InitValues(clGray, 4);
    FPaperShadow->SetColor(clGray);
    FPaperShadow->SetSize(4);
    // The sheet lies flat: the preview never turns in 3D.
    SetView3D(false);
    SetBounds(GetLeft(), GetTop(), 432, 312);
}

TZuzPreviewPanel::~TZuzPreviewPanel() {
    for (TCustomZuzPanel* p : FPanels) p->RemoveFreeNotification(this);
}

void TZuzPreviewPanel::SetOrientation(TZuzPreviewPanelOrientation Value) {
    if (FOrientation == Value) return;
    FOrientation = Value;
    Invalidate();
}

void TZuzPreviewPanel::SetPanel(TCustomZuzPanel* Value) {
    if (Value == GetPanel() || Value == this) return;
    if (!FPanels.empty()) {
        TCustomZuzPanel* old = FPanels.front();
        FPanels.erase(FPanels.begin());
        if (std::find(FPanels.begin(), FPanels.end(), old) == FPanels.end())
            old->RemoveFreeNotification(this);
    }
    if (Value && std::find(FPanels.begin(), FPanels.end(), Value) == FPanels.end()) {
        FPanels.insert(FPanels.begin(), Value);
        Value->FreeNotification(this);
    }
    // Whatever the canvas can turn in every direction only a bitmap keeps.
    FAsBitmap = Value && Value->GetCanvas()->GetSupportsFullRotation();
    Invalidate();
}

void TZuzPreviewPanel::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomZuzPanelExtended::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == GetPanel()) {
        SetPanel(nullptr);
        return;
    }
    std::erase_if(FPanels, [AComponent](TCustomZuzPanel* p) { return p == AComponent; });
}

void TZuzPreviewPanel::CheckPrinterOrientation() {
    if (FOrientation == ppoDefault || !ZuzPrintersExist()) return;
    TPrinter* printer = Printer();
    const TPrinterOrientation want = FOrientation == ppoPortrait ? poPortrait : poLandscape;
    if (printer->GetOrientation() != want) printer->SetOrientation(want);
}

TRect TZuzPreviewPanel::CalcPaperRect() {
    CheckPrinterOrientation();
    int pw = 0, ph = 0;
    if (ZuzPrintersExist()) {
        pw = Printer()->GetPageWidth();
        ph = Printer()->GetPageHeight();
    } else {
        pw = Screen->GetWidth();
        ph = Screen->GetHeight();
    }
    TRect r = ZuzPreviewGeometry::PaperRect(GetClientWidth(), GetClientHeight(), pw, ph);
    if (OnGetPaperRect) OnGetPaperRect(this, r);
    return r;
}

TRect TZuzPreviewPanel::CalcImagePrintMargins(TCustomZuzPanel* APanel) {
    TRect margins(15, 15, 15, 15);
    if (APanel) {
        if (APanel->GetPrintProportional() && ZuzPrintersExist())
            APanel->PrintMargins = APanel->CalcProportionalMargins();
        margins = APanel->PrintMargins;
    }
    return ZuzPreviewGeometry::ImageRect(FPaperRect, margins);
}

ZuzPreviewZones TZuzPreviewPanel::WhereIsCursor(int X, int Y) const {
    return ZuzPreviewGeometry::ZoneAt(FImageRect, X, Y, FAllowResize, FAllowMove);
}

namespace {
// The panel draws for the printer (no background nor bevels unless they are printed) until
// the scope ends.
void DrawPrinting(TCustomZuzPanel* APanel, TCanvas* ACanvas, const TRect& R) {
    TCanvas3D* c = APanel->GetCanvas();
    const bool was = std::exchange(c->Metafiling, true);
    struct Back {
        TCanvas3D* c;
        bool was;
        ~Back() { c->Metafiling = was; }
    } back{c, was};
    APanel->NonBufferDraw(ACanvas, R, true);
}

// The logical size of the panel drawn into Image: the panel's own size, grown or shrunk by
// its print resolution (the "detail").
TRect MetaBounds(TCustomZuzPanel* APanel, const TRect& Image) {
    TRect r = Image;
    int winWidth = 0, winHeight = 0, viewWidth = 0, viewHeight = 0;
    APanel->CalcMetaBounds(r, APanel->GetRectangle(), winWidth, winHeight, viewWidth, viewHeight);
    return TRect(0, 0, std::max(1, r.Width()), std::max(1, r.Height()));
}
} // namespace

Owned<TBitmap> TZuzPreviewPanel::GetPrintingBitmap(TCustomZuzPanel* APanel) {
    return PrintingBitmap(APanel, FImageRect);
}

Owned<TBitmap> TZuzPreviewPanel::PrintingBitmap(TCustomZuzPanel* APanel, const TRect& Image) {
    const TRect r = MetaBounds(APanel, Image);
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(r.Width(), r.Height());
    TCanvas* c = bitmap->GetCanvas();
    c->GetBrush()->SetColor(FPaperColor);
    c->GetBrush()->SetStyle(bsSolid);
    c->FillRect(r);
    DrawPrinting(APanel, c, r);
    return bitmap;
}

void TZuzPreviewPanel::DrawPanelImage(TCustomZuzPanel* APanel) {
    TCanvas3D* const C = GetCanvas();
    HDC dc = C->GetHandle();
    const TRect clip = APanel->CanClip() ? FImageRect : FPaperRect;
    IntersectClipRect(dc, clip.Left, clip.Top, clip.Right, clip.Bottom);
    struct Unclip {
        HDC dc;
        ~Unclip() { SelectClipRgn(dc, nullptr); }
    } unclip{dc};
    if (!FShowImage || FImageRect.Width() < 1 || FImageRect.Height() < 1) return;
    if (FAsBitmap) {
        Owned<TBitmap> bitmap = GetPrintingBitmap(APanel);
        if (FSmoothBitmap) {
            auto smooth = MakeOwned<TBitmap>();
            smooth->SetPixelFormat(pf24bit);
            smooth->SetSize(FImageRect.Width(), FImageRect.Height());
            SmoothStretch(bitmap.get(), smooth.get());
            C->Draw(FImageRect.Left, FImageRect.Top, smooth.get());
        } else {
            C->StretchDraw(FImageRect, bitmap.get());
        }
        return;
    }
    const TRect r = MetaBounds(APanel, FImageRect);
    auto metafile = MakeOwned<TMetafile>();
    metafile->SetEnhanced(true);
    metafile->SetWidth(r.Width());
    metafile->SetHeight(r.Height());
    {
        const auto canvas = MakeOwned<TMetafileCanvas>(metafile.get(), nullptr);
        DrawPrinting(APanel, canvas.get(), r);
    }
    C->StretchDraw(FImageRect, metafile.get());
}

void TZuzPreviewPanel::DrawMarginLines() {
    if (!FMargins->GetVisible()) return;
    TCanvas3D* const C = GetCanvas();
    // The xor mode goes on the canvas's pen only: set on the Margins pen itself, its change
    // would ask for a repaint from inside every paint, and the preview would never stop painting.
    C->AssignVisiblePen(FMargins.get());
    C->Pen->SetMode(pmNotXor);
    C->Brush->SetStyle(bsClear);
    const TRect& p = FPaperRect;
    const TRect& i = FImageRect;
    C->MoveTo(i.Left - 1, p.Top + 1);
    C->LineTo(i.Left - 1, p.Bottom);
    C->MoveTo(i.Right, p.Top + 1);
    C->LineTo(i.Right, p.Bottom);
    C->MoveTo(p.Left + 1, i.Top - 1);
    C->LineTo(p.Right, i.Top - 1);
    C->MoveTo(p.Left + 1, i.Bottom);
    C->LineTo(p.Right, i.Bottom);
    C->Pen->SetMode(pmCopy);
}

void TZuzPreviewPanel::InternalDraw(const TRect& UserRectangle) {
    PanelPaint(UserRectangle);
    TCanvas3D* const C = GetCanvas();
    C->Projection(0, GetChartBounds(), GetChartRect());
    C->ResetState();
    FPaperRect = CalcPaperRect();
    // The sheet: outline and paper, then its shadow.
    C->Pen->SetStyle(psSolid);
    C->Pen->SetColor(clBlack);
    C->Pen->SetWidth(1);
    C->Brush->SetStyle(bsSolid);
    C->Brush->SetColor(FPaperColor);
    C->Rectangle(FPaperRect);
    FPaperShadow->Draw(C, FPaperRect);
    FImageRect = CalcImagePrintMargins(GetPanel());
    for (TCustomZuzPanel* p : FPanels) DrawPanelImage(p);
    C->ResetState();
    DrawMarginLines();
    if (OnAfterDraw) OnAfterDraw(this);
}

void TZuzPreviewPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomZuzPanelExtended::MouseDown(Button, Shift, X, Y);
    FDragging = WhereIsCursor(X, Y);
    if (FDragging == zuzPrev_Image) {
        FOldPos = TPoint(X, Y);
        FOldRect = FImageRect;
    }
}

void TZuzPreviewPanel::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomZuzPanelExtended::MouseMove(Shift, X, Y);
    if (!PtInRect(FPaperRect, TPoint(X, Y))) {
        // Off the sheet no drag can start: a sizing cursor left from an edge that lies close to
        // the sheet's own would promise one.
        if (FDragging == zuzPrev_None) SetCursor(crDefault);
        return;
    }
    if (FDragging == zuzPrev_None) {
        switch (WhereIsCursor(X, Y)) {
        case zuzPrev_None:
            SetCursor(crDefault);
            break;
        case zuzPrev_Left:
        case zuzPrev_Right:
            SetCursor(crHSplit);
            break;
        case zuzPrev_Top:
        case zuzPrev_Bottom:
            SetCursor(crVSplit);
            break;
        case zuzPrev_Image:
            SetCursor(static_cast<TCursor>(crZuzHand));
            break;
        case zuzPrev_LeftTop:
        case zuzPrev_RightBottom:
            SetCursor(crSizeNWSE);
            break;
        case zuzPrev_RightTop:
        case zuzPrev_LeftBottom:
            SetCursor(crSizeNESW);
            break;
        }
        return;
    }
    if (!FDragImage) DrawMarginLines(); // the old lines go
    ZuzPreviewGeometry::Drag(FDragging, FPaperRect, FImageRect, X, Y, FOldRect, FOldPos);
    TCustomZuzPanel* panel = GetPanel();
    TRect margins;
    // A sheet under one pixel has no margins to measure: nothing changes.
    if (panel && ZuzPreviewGeometry::MarginsOf(FPaperRect, FImageRect, margins)) {
        panel->SetPrintProportional(false);
        panel->PrintMargins = margins;
        if (OnChangeMargins) OnChangeMargins(this, true, panel->PrintMargins);
    }
    if (FDragImage)
        Invalidate();
    else
        DrawMarginLines();
}

void TZuzPreviewPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomZuzPanelExtended::MouseUp(Button, Shift, X, Y);
    CancelMouse = false;
    if (FDragging == zuzPrev_None) return;
    FDragging = zuzPrev_None;
    if (!FDragImage) Invalidate();
}

void TZuzPreviewPanel::Print() {
    if (FPanels.empty()) return;
    const THourGlass hourglass;
    CheckPrinterOrientation();
    TPrinter* printer = Printer();
    const String name = FPanels.front()->GetName();
    if (!FTitle.empty())
        printer->Title = FTitle;
    else if (!name.empty())
        printer->Title = name;
    printer->BeginDoc();
    try {
        for (TCustomZuzPanel* p : FPanels) {
            const TRect r = p->ChartPrintRect();
            if (FAsBitmap)
                printer->GetCanvas()->StretchDraw(r, PrintingBitmap(p, r).get());
            else {
                p->PrintPartial(r);
            }
        }
        if (OnAfterDraw) OnAfterDraw(this);
    } catch (...) {
        // The half-made job goes; nothing of it reaches the printer or the file.
        if (printer->GetPrinting()) printer->Abort();
        if (printer->GetPrinting()) printer->EndDoc();
        throw;
    }
    printer->EndDoc();
}

void RegisterZuzPreviewPanelClasses() {
    RegisterClasses({&TZuzPreviewPanel::StaticClass(), &TPreviewChartPen::StaticClass()});
}
