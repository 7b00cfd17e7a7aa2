// The GDI canvas: pass-through operations, the projection and the off-screen
// buffer.
#include "chart/canvas/zuzcanvas.h"

#include "chart/canvas/gdiselection.h"
#include "chart/canvas/zuzgeometry.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr TCanvasState kShape{csHandleValid, csPenValid, csBrushValid};
// The brush is left to TextOut, which keeps a solid one from giving the text a background.
constexpr TCanvasState kText{csHandleValid, csFontValid};
// A rotated label clears the brush first: brought to the device, it makes the text transparent.
constexpr TCanvasState kClearText{csHandleValid, csFontValid, csBrushValid};
} // namespace

const ClassInfo& TZuzCanvas3D::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TZuzCanvas3D>("TZuzCanvas3D", &TObject::StaticClass());
    return ci;
}

TZuzCanvas3D::TZuzCanvas3D() = default;

void TZuzCanvas3D::Drawn(TCanvas* ACanvas) const {
    if (ACanvas->OnChange) ACanvas->OnChange(ACanvas);
}

TZuzCanvas3D::~TZuzCanvas3D() {
    DeleteBitmap();
}

// ---------------------------------------------------------------------------
// Device state

TColor TZuzCanvas3D::GetBackColor() {
    return static_cast<TColor>(GetBkColor(Dc()));
}

TCanvasBackMode TZuzCanvas3D::GetBackMode() {
    const int m = GetBkMode(Dc());
    return m == TRANSPARENT ? cbmTransparent : m == OPAQUE ? cbmOpaque : cbmNone;
}

HDC TZuzCanvas3D::GetHandle() {
    return Dc();
}

TColor TZuzCanvas3D::GetPixel(int X, int Y) {
    return ReferenceCanvas->GetPixel(X, Y);
}

UINT TZuzCanvas3D::GetTextAlign() {
    return ::GetTextAlign(Dc());
}

void TZuzCanvas3D::SetBackColor(TColor Color) {
    SetBkColor(Dc(), static_cast<COLORREF>(ColorToRGB(Color)));
}

void TZuzCanvas3D::SetBackMode(TCanvasBackMode Mode) {
    SetBkMode(Dc(), static_cast<int>(Mode)); // 0 is no mode: nothing changes
}

void TZuzCanvas3D::SetMonochrome(bool Value) {
    if (FMonochrome == Value) return;
    FMonochrome = Value;
    Dirty = true;
    if (View3DOptions) View3DOptions->Repaint();
}

void TZuzCanvas3D::SetPixel(int X, int Y, TColor Color) {
    ::SetPixel(Dc(), X, Y, static_cast<COLORREF>(ColorToRGB(Color)));
    Drawn(ReferenceCanvas);
}

void TZuzCanvas3D::SetTextAlign(UINT Align) {
    ::SetTextAlign(Dc(), Align);
}

void TZuzCanvas3D::AssignVisiblePenColor(TPen* APen, TColor AColor) {
    const TColor c = FMonochrome ? clBlack : AColor;
    if (auto* chartPen = dynamic_cast<TChartPen*>(APen)) {
        if (!chartPen->GetVisible()) {
            Pen->SetStyle(psClear);
            return;
        }
        if (IsWindowsNT && !GetSupportsFullRotation()) {
            ZuzSetZuzPen(Pen, chartPen, c, Dc(), ZuzCheckPenWidth);
            return;
        }
    }
    Pen->Assign(APen);
    Pen->SetColor(c);
    if (ZuzCheckPenWidth && Pen->GetStyle() != psSolid && Pen->GetWidth() == 1) Pen->SetWidth(0);
}

// ---------------------------------------------------------------------------
// 2D drawing

void TZuzCanvas3D::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    ReferenceCanvas->RequiredState(kShape);
    ::Arc(Dc(), X1, Y1, X2, Y2, X3, Y3, X4, Y4);
    Drawn(ReferenceCanvas);
}

void TZuzCanvas3D::Draw(int X, int Y, TGraphic* Graphic) {
    if (Graphic && !Graphic->GetEmpty()) ReferenceCanvas->Draw(X, Y, Graphic);
}

void TZuzCanvas3D::Ellipse(int X1, int Y1, int X2, int Y2) {
    ReferenceCanvas->RequiredState(kShape);
    ::Ellipse(Dc(), X1, Y1, X2, Y2);
    Drawn(ReferenceCanvas);
}

void TZuzCanvas3D::EllipsesWithDCBrush(std::span<const TRect> Boxes, std::span<const COLORREF> Colors) {
    const std::size_t n = std::min(Boxes.size(), Colors.size());
    ReferenceCanvas->RequiredState(kShape);
    ::EllipsesWithDCBrush(Dc(), Boxes.data(), Colors.data(), static_cast<int>(n));
    for (std::size_t i = 0; i < n; ++i) Drawn(ReferenceCanvas); // one change per ellipse, as Ellipse tells
}

void TZuzCanvas3D::FillRect(const TRect& Rect) {
    ReferenceCanvas->FillRect(Rect);
}

void TZuzCanvas3D::Frame3D(TRect& Rect, TColor TopColor, TColor BottomColor, int Width) {
    Pen->SetWidth(1);
    Pen->SetStyle(psSolid);
    // Half the box's narrower side fills it: a wider frame would only draw over it again.
    const Int64 side = std::min(Int64{Rect.Right} - Rect.Left, Int64{Rect.Bottom} - Rect.Top);
    const int rings = static_cast<int>(std::clamp<Int64>((side + 1) / 2, 0, std::max(Width, 0)));
    --Rect.Right;
    --Rect.Bottom;
    for (int i = 0; i < rings; ++i) {
        Pen->SetColor(TopColor);
        const TPoint top[3] = {{Rect.Left, Rect.Bottom}, {Rect.Left, Rect.Top}, {Rect.Right, Rect.Top}};
        ReferenceCanvas->Polyline(top, 3);
        Pen->SetColor(BottomColor);
        const TPoint bottom[3] = {
            {Rect.Right, Rect.Top}, {Rect.Right, Rect.Bottom}, {Rect.Left - 1, Rect.Bottom}};
        ReferenceCanvas->Polyline(bottom, 3);
        InflateRect(Rect, -1, -1);
    }
    ++Rect.Right;
    ++Rect.Bottom;
}

void TZuzCanvas3D::LineTo(int X, int Y) {
    ReferenceCanvas->RequiredState(kShape);
    ::LineTo(Dc(), X, Y);
    Drawn(ReferenceCanvas);
}

void TZuzCanvas3D::MoveTo(int X, int Y) {
    MoveToEx(Dc(), X, Y, nullptr);
}

void TZuzCanvas3D::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    ReferenceCanvas->RequiredState(kShape);
    ::Pie(Dc(), X1, Y1, X2, Y2, X3, Y3, X4, Y4);
    Drawn(ReferenceCanvas);
}

void TZuzCanvas3D::Rectangle(int X0, int Y0, int X1, int Y1) {
    ReferenceCanvas->RequiredState(kShape);
    ::Rectangle(Dc(), X0, Y0, X1, Y1);
    Drawn(ReferenceCanvas);
}

void TZuzCanvas3D::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
    ReferenceCanvas->RequiredState(kShape);
    ::RoundRect(Dc(), X1, Y1, X2, Y2, X3, Y3);
    Drawn(ReferenceCanvas);
}

void TZuzCanvas3D::StretchDraw(const TRect& Rect, TGraphic* Graphic) {
    if (Graphic) ReferenceCanvas->StretchDraw(Rect, Graphic);
}

void TZuzCanvas3D::RotateLabel(int X, int Y, const String& Text, double Angle) {
    // Angles above a turn come down into (0, 360]; 360 itself stays.
    if (Angle > 360) {
        Angle = std::fmod(Angle, 360.0);
        if (Angle == 0) Angle = 360;
    }
    Brush->SetStyle(bsClear);
    ReferenceCanvas->RequiredState(kClearText); // the canvas's own font first, so ours stays
    LOGFONTW lf;
    GetObjectW(Font->GetHandle(), &lf);
    lf.lfEscapement = ZuzRound(Angle * 10);
    lf.lfOrientation = lf.lfEscapement;
    lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    lf.lfQuality = static_cast<BYTE>(ZuzFontAntiAlias);
    if (ZoomText() && ZoomFactor() != 1)
        lf.lfHeight =
            -MulDiv(std::max(1, ZuzRound(Font->GetSize() * ZoomFactor())), Font->GetPixelsPerInch(), 72);
    const TSelectedObject<HFONT> rotated(Dc(), CreateFontIndirectW(lf));
    TextOut(X, Y, Text);
}

void TZuzCanvas3D::DoHorizLine(int X0, int X1, int Y) {
    MoveTo(X0, Y);
    LineTo(X1, Y);
}

void TZuzCanvas3D::DoVertLine(int X, int Y0, int Y1) {
    MoveTo(X, Y0);
    LineTo(X, Y1);
}

void TZuzCanvas3D::EraseBackground(const TRect& Rect) {
    FillRect(Rect);
}

void TZuzCanvas3D::Line(int X0, int Y0, int X1, int Y1) {
    MoveTo(X0, Y0);
    LineTo(X1, Y1);
}

void TZuzCanvas3D::Polyline(const TPoint* Points, int LastIndex) {
    if (LastIndex < 1) return;
    ReferenceCanvas->RequiredState(kShape);
    ::Polyline(Dc(), Points, LastIndex + 1);
    Drawn(ReferenceCanvas);
}

void TZuzCanvas3D::Polygon(const TPoint* Points, int LastIndex) {
    if (LastIndex < 1) return;
    ReferenceCanvas->RequiredState(kShape);
    ::Polygon(Dc(), Points, LastIndex + 1);
    Drawn(ReferenceCanvas);
}

void TZuzCanvas3D::PolygonFour() {
    Polygon(IPoints);
}

// ---------------------------------------------------------------------------
// 3D drawing through the projection

TColor TZuzCanvas3D::GetPixel3D(int X, int Y, int Z) {
    const TPoint p = FProjection.Project(X, Y, Z);
    return GetPixel(p.X, p.Y);
}

TPoint TZuzCanvas3D::Calculate3DPosition(int X, int Y, int Z) {
    return FProjection.Project(X, Y, Z);
}

void TZuzCanvas3D::HorizLine3D(int Left, int Right, int Y, int Z) {
    MoveTo3D(Left, Y, Z);
    LineTo3D(Right, Y, Z);
}

void TZuzCanvas3D::VertLine3D(int X, int Top, int Bottom, int Z) {
    MoveTo3D(X, Top, Z);
    LineTo3D(X, Bottom, Z);
}

void TZuzCanvas3D::ZLine3D(int X, int Y, int Z0, int Z1) {
    MoveTo3D(X, Y, Z0);
    LineTo3D(X, Y, Z1);
}

void TZuzCanvas3D::LineWithZ(int X0, int Y0, int X1, int Y1, int Z) {
    MoveTo3D(X0, Y0, Z);
    LineTo3D(X1, Y1, Z);
}

void TZuzCanvas3D::MoveTo3D(int X, int Y, int Z) {
    MoveTo(FProjection.Project(X, Y, Z));
}

void TZuzCanvas3D::LineTo3D(int X, int Y, int Z) {
    LineTo(FProjection.Project(X, Y, Z));
}

void TZuzCanvas3D::PolygonWithZ(const TPoint* Points, int LastIndex, int Z) {
    Polygon(Calc3DPoints(PointsUpTo(Points, LastIndex), Z));
}

void TZuzCanvas3D::Polyline(const TPoint* Points, int LastIndex, int Z) {
    Polyline(Calc3DPoints(PointsUpTo(Points, LastIndex), Z));
}

void TZuzCanvas3D::RotateLabel3D(int X, int Y, int Z, const String& Text, double Angle) {
    const TPoint p = FProjection.Project(X, Y, Z);
    RotateLabel(p.X, p.Y, Text, Angle);
}

bool TZuzCanvas3D::Surface3D(TZuzCanvasSurfaceStyle, bool, int, int, const TZuzCanvasCalcPoints&) {
    return false; // this canvas draws no surfaces, and asks its source for no points
}

void TZuzCanvas3D::TextOut3D(int X, int Y, int Z, const String& Text) {
    const TPoint p = FProjection.Project(X, Y, Z);
    HFONT zoomed = nullptr;
    if (ZoomText() && ZoomFactor() != 1) {
        const int size = Font->GetSize();
        const int zoomedSize = std::max(1, ZuzRound(size * ZoomFactor()));
        if (zoomedSize != size) {
            ReferenceCanvas->RequiredState(kText); // the canvas's own font first, so ours stays
            LOGFONTW lf;
            GetObjectW(Font->GetHandle(), &lf);
            lf.lfHeight = -MulDiv(zoomedSize, Font->GetPixelsPerInch(), 72);
            zoomed = CreateFontIndirectW(lf);
        }
    }
    const TSelectedObject<HFONT> font(Dc(), zoomed);
    TextOut(p.X, p.Y, Text);
}

// ---------------------------------------------------------------------------
// Projection

TRect TZuzCanvas3D::InitWindow(TCanvas* DestCanvas, TView3DOptions* Options, TColor, bool AIs3D,
                               const TRect& UserRect) {
    Bounds = UserRect;
    View3DOptions = Options;
    if (Options) FontZoom = Options->GetFontZoom();
    FProjection = FProjection.ForWindow(Options, AIs3D);
    if (FUseBuffer) {
        if (!FBitmap) FBitmap = MakeOwned<TBitmap>();
        ZuzSetBitmapSize(FBitmap.get(), UserRect.Width(), UserRect.Height());
        SetCanvas(FBitmap->GetCanvas());
        return TRect(0, 0, UserRect.Width(), UserRect.Height());
    }
    SetCanvas(DestCanvas);
    return UserRect;
}

void TZuzCanvas3D::Projection(int MaxDepth, const TRect&, const TRect& ARect) {
    FProjection = FProjection.ForRect(View3DOptions, ARect, MaxDepth);
}

void TZuzCanvas3D::Calc3DPos(int& X, int& Y, int Z) const {
    const TPoint p = FProjection.Project(X, Y, Z);
    X = p.X;
    Y = p.Y;
}

void TZuzCanvas3D::Calc3DPoint(TPoint& P, int X, int Y, int Z) const {
    P = FProjection.Project(X, Y, Z);
}

void TZuzCanvas3D::Calc3DPoint(TPoint& P, double X, double Y, int Z) const {
    P = FProjection.Project(X, Y, Z);
}

void TZuzCanvas3D::Calc3DTPoint(TPoint& P, int Z) const {
    P = FProjection.Project(P, Z);
}

TPoint TZuzCanvas3D::Calc3DTPoint3D(const TPoint3D& P) const {
    return FProjection.Project(P.X, P.Y, P.Z);
}

std::vector<TPoint> TZuzCanvas3D::Calc3DPoints(std::span<const TPoint> Points, int Z) const {
    std::vector<TPoint> out;
    out.reserve(Points.size());
    for (const TPoint& p : Points) out.push_back(FProjection.Project(p, Z));
    return out;
}

TRect TZuzCanvas3D::CalcRect3D(const TRect& R, int Z) const {
    const TPoint a = FProjection.Project(R.Left, R.Top, Z), b = FProjection.Project(R.Right, R.Bottom, Z);
    return {a.X, a.Y, b.X, b.Y};
}

TFourPoints TZuzCanvas3D::FourPointsFromRect(const TRect& R, int Z) const {
    return {FProjection.Project(R.Left, R.Top, Z), FProjection.Project(R.Right, R.Top, Z),
            FProjection.Project(R.Right, R.Bottom, Z), FProjection.Project(R.Left, R.Bottom, Z)};
}

TRect TZuzCanvas3D::RectFromRectZ(const TRect& R, int Z) const {
    const TFourPoints p = FourPointsFromRect(R, Z);
    return PolygonBounds(p);
}

void TZuzCanvas3D::Calculate2DPosition(int& X, int& Y, int Z) {
    FProjection.Unproject(X, Y, Z);
}

void TZuzCanvas3D::DisableRotation() {
    FSavedIs3D = FProjection.Is3D();
    FProjection = FProjection.WithIs3D(false);
}

void TZuzCanvas3D::EnableRotation() {
    FProjection = FProjection.WithIs3D(FSavedIs3D);
}

void TZuzCanvas3D::FrontPlaneBegin() {
    if (FFrontPlaneCount == 0) DisableRotation();
    ++FFrontPlaneCount;
}

void TZuzCanvas3D::FrontPlaneEnd() {
    --FFrontPlaneCount;
    if (FFrontPlaneCount == 0) EnableRotation();
}

void TZuzCanvas3D::Assign(TCanvas3D* Source) {
    if (!Source) return;
    SetMonochrome(Source->GetMonochrome());
    View3DOptions = Source->View3DOptions;
}

// ---------------------------------------------------------------------------
// Off-screen buffer

void TZuzCanvas3D::ShowImage(TCanvas* DestCanvas, TCanvas* DefaultCanvas, const TRect& UserRect) {
    if (FUseBuffer && FBitmap) {
        TransferBitmap(UserRect.Left, UserRect.Top, DestCanvas);
        Dirty = false;
    }
    SetCanvas(DefaultCanvas);
}

bool TZuzCanvas3D::ReDrawBitmap() {
    if (Dirty) return false;
    if (FBitmap && ReferenceCanvas) TransferBitmap(0, 0, ReferenceCanvas);
    return true;
}

void TZuzCanvas3D::TransferBitmap(int X, int Y, TCanvas* ACanvas) {
    if (!FBitmap || !ACanvas) return;
    BitBlt(ACanvas->GetHandle(), X, Y, FBitmap->GetWidth(), FBitmap->GetHeight(),
           FBitmap->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
    Drawn(ACanvas);
}

void TZuzCanvas3D::SetUseBuffer(bool Value) {
    if (FUseBuffer == Value) return;
    FUseBuffer = Value;
    if (!Value && FBitmap) {
        if (!KeepBitmap) {
            DeleteBitmap();
            Dirty = true;
        }
    } else if (Value && FBitmap) {
        SetCanvas(FBitmap->GetCanvas());
    }
}

Owned<TBitmap> TZuzCanvas3D::SetBitmap(Owned<TBitmap> ABitmap) {
    std::swap(FBitmap, ABitmap);
    return ABitmap;
}

void TZuzCanvas3D::DeleteBitmap() {
    if (FBitmap && ReferenceCanvas == FBitmap->GetCanvas()) SetCanvas(nullptr);
    FBitmap.reset();
}

// ---------------------------------------------------------------------------
// Clipping: regions in device coordinates, combined with the clip in force;
// each canvas keeps the clip before its last one to put back.

TSavedClip::~TSavedClip() {
    if (FRegion) DeleteObject(FRegion);
}

void TSavedClip::Combine(HDC DC, HRGN Region, int Mode) {
    if (!Region) return;
    if (!FRegion) FRegion = CreateRectRgn(0, 0, 0, 0);
    FHasSavedClip = GetClipRgn(DC, FRegion) == 1;
    ExtSelectClipRgn(DC, Region, Mode);
    DeleteObject(Region);
}

void TSavedClip::Restore(HDC DC) {
    SelectClipRgn(DC, FHasSavedClip ? FRegion : nullptr);
    FHasSavedClip = false;
}

namespace {
TRect DeviceRect(HDC DC, const TRect& R) {
    POINT p[2] = {{R.Left, R.Top}, {R.Right, R.Bottom}};
    LPtoDP(DC, p, 2);
    return TRect{p[0].X, p[0].Y, p[1].X, p[1].Y};
}
} // namespace

void ClipCanvas(TCanvas* Canvas, const TRect& R, TSavedClip& Saved) {
    HDC dc = Canvas->GetHandle();
    Saved.Combine(dc, CreateRectRgnIndirect(DeviceRect(dc, R)), RGN_AND);
}

void UnClipCanvas(TCanvas* Canvas, TSavedClip& Saved) {
    Saved.Restore(Canvas->GetHandle());
}

void ClipEllipse(TZuzCanvas* ZuzCanvas, const TRect& R) {
    ZuzCanvas->ClipEllipse(R, false);
}

void ClipRoundRectangle(TZuzCanvas* ZuzCanvas, const TRect& R, int Size) {
    HDC dc = ZuzCanvas->GetHandle();
    const TRect d = DeviceRect(dc, R);
    ZuzCanvas->GetSavedClip().Combine(dc, CreateRoundRectRgn(d.Left, d.Top, d.Right, d.Bottom, Size, Size),
                                      RGN_AND);
}

void ClipPolygon(TZuzCanvas* ZuzCanvas, const TPoint* Points, int NumPoints) {
    ZuzCanvas->ClipPolygon(Points, NumPoints, false);
}

void ClipPolygon(TZuzCanvas* ZuzCanvas, std::span<const TPoint> Points) {
    ZuzCanvas->ClipPolygon(Points, false);
}

void TZuzCanvas3D::ClipRectangle(const TRect& Rect) {
    ClipCanvas(ReferenceCanvas, Rect, GetSavedClip());
}

void TZuzCanvas3D::ClipRectangle(const TRect& Rect, int RoundSize) {
    ClipRoundRectangle(this, Rect, RoundSize);
}

void TZuzCanvas3D::ClipEllipse(const TRect& Rect, bool Inverted) {
    HDC dc = GetHandle();
    HRGN rgn = CreateEllipticRgnIndirect(DeviceRect(dc, Rect));
    if (!Inverted) {
        GetSavedClip().Combine(dc, rgn, RGN_AND);
        return;
    }
    // An inverted ellipse is not undone on its own: the saved clip stays.
    ExtSelectClipRgn(dc, rgn, RGN_XOR);
    DeleteObject(rgn);
}

void TZuzCanvas3D::ClipPolygon(const TPoint* Points, int NumPoints, bool Inverted) {
    if (NumPoints < 1) return;
    HDC dc = GetHandle();
    std::vector<POINT> pts(Points, Points + NumPoints);
    if (GetMapMode(dc) != MM_TEXT) LPtoDP(dc, pts.data(), NumPoints);
    GetSavedClip().Combine(dc, CreatePolygonRgn(pts.data(), NumPoints, ALTERNATE),
                           Inverted ? RGN_DIFF : RGN_AND);
}

void TZuzCanvas3D::UnClipRectangle() {
    UnClipCanvas(ReferenceCanvas, GetSavedClip());
}

std::vector<TPoint> TZuzCanvas3D::CubeOutline(const TRect& Rect, int MinZ, int MaxZ) const {
    const TPoint3D corners[8] = {{Rect.Left, Rect.Bottom, MinZ}, {Rect.Left, Rect.Bottom, MaxZ},
                                 {Rect.Left, Rect.Top, MaxZ},    {Rect.Right, Rect.Top, MaxZ},
                                 {Rect.Right, Rect.Top, MinZ},   {Rect.Right, Rect.Bottom, MinZ},
                                 {Rect.Left, Rect.Top, MinZ},    {Rect.Right, Rect.Bottom, MaxZ}};
    std::vector<TPoint> pts;
    for (const TPoint3D& c : corners) pts.push_back(FProjection.Project(c.X, c.Y, c.Z));
    if (!ConvexHull(pts)) pts.clear();
    return pts;
}

void TZuzCanvas3D::ClipCube(const TRect& Rect, int MinZ, int MaxZ) {
    if (!Is3D()) {
        ClipRectangle(TRect(Rect.Left + 1, Rect.Top + 1, Rect.Right, Rect.Bottom - 1));
        return;
    }
    if (const std::vector<TPoint> outline = CubeOutline(Rect, MinZ, MaxZ); !outline.empty())
        ClipPolygon(outline, false);
}

bool TZuzCanvas3D::InClipCube(const TRect& Rect, int MinZ, int MaxZ, TPoint P) const {
    if (!Is3D())
        return P.X >= Rect.Left + 1 && P.X < Rect.Right && P.Y >= Rect.Top + 1 && P.Y < Rect.Bottom - 1;
    const std::vector<TPoint> outline = CubeOutline(Rect, MinZ, MaxZ);
    if (outline.empty()) return true;
    // The clip fills the pixels the outline covers whole, as a polygon is filled: a pixel on its
    // right or bottom edge is left out, and answers no click either.
    const int n = static_cast<int>(outline.size()) - 1;
    for (const TPoint corner : {P, TPoint(P.X + 1, P.Y), TPoint(P.X, P.Y + 1), TPoint(P.X + 1, P.Y + 1)})
        if (!PointInPolygon(corner, outline.data(), n)) return false;
    return true;
}
