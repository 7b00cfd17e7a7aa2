// The GDI canvas: pass-through operations, the projection and the off-screen
// buffer.
#include "chart/canvas/zuzcanvas.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr TCanvasState kShape{csHandleValid, csPenValid, csBrushValid};
constexpr TCanvasState kText{csHandleValid, csFontValid, csBrushValid};
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
            ZuzSetZuzPen(Pen, chartPen, c, Dc());
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

void TZuzCanvas3D::FillRect(const TRect& Rect) {
    ReferenceCanvas->FillRect(Rect);
}

void TZuzCanvas3D::Frame3D(TRect& Rect, TColor TopColor, TColor BottomColor, int Width) {
    Pen->SetWidth(1);
    Pen->SetStyle(psSolid);
    --Rect.Right;
    --Rect.Bottom;
    for (int i = 0; i < Width; ++i) {
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

void TZuzCanvas3D::TextOut(int X, int Y, const String& Text) {
    ReferenceCanvas->RequiredState(kText);
    SetTextColor(Dc(), static_cast<COLORREF>(ColorToRGB(Font->GetColor())));
    TextOutW(Dc(), X, Y, Text.data(), static_cast<int>(Text.size()));
    Drawn(ReferenceCanvas);
}

int TZuzCanvas3D::TextWidth(const String& Text) {
    ReferenceCanvas->RequiredState(kText);
    SIZE s;
    GetTextExtentPoint32W(Dc(), Text.data(), static_cast<int>(Text.size()), &s);
    return s.cx;
}

int TZuzCanvas3D::TextHeight(const String& Text) {
    ReferenceCanvas->RequiredState(kText);
    SIZE s;
    GetTextExtentPoint32W(Dc(), Text.data(), static_cast<int>(Text.size()), &s);
    return s.cy;
}

void TZuzCanvas3D::RotateLabel(int X, int Y, const String& Text, double Angle) {
    // Angles above a turn come down into (0, 360]; 360 itself stays.
    if (Angle > 360) {
        Angle = std::fmod(Angle, 360.0);
        if (Angle == 0) Angle = 360;
    }
    Brush->SetStyle(bsClear);
    ReferenceCanvas->RequiredState(kText); // the canvas's own font first, so ours stays
    LOGFONTW lf;
    GetObjectW(Font->GetHandle(), &lf);
    lf.lfEscapement = ZuzRound(Angle * 10);
    lf.lfOrientation = lf.lfEscapement;
    lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    lf.lfQuality = static_cast<BYTE>(ZuzFontAntiAlias);
    if (ZoomText && ZoomFactor != 1)
        lf.lfHeight =
            -MulDiv(std::max(1, ZuzRound(Font->GetSize() * ZoomFactor)), Font->GetPixelsPerInch(), 72);
    HFONT rotated = CreateFontIndirectW(lf);
    HFONT old = SelectObject(Dc(), rotated);
    TextOut(X, Y, Text);
    SelectObject(Dc(), old);
    DeleteObject(rotated);
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
    Polygon(IPoints.data(), 3);
}

// ---------------------------------------------------------------------------
// 3D drawing through the projection

TColor TZuzCanvas3D::GetPixel3D(int X, int Y, int Z) {
    Calc3DPos(X, Y, Z);
    return GetPixel(X, Y);
}

TPoint TZuzCanvas3D::Calculate3DPosition(int X, int Y, int Z) {
    Calc3DPos(X, Y, Z);
    return {X, Y};
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
    Calc3DPos(X, Y, Z);
    MoveTo(X, Y);
}

void TZuzCanvas3D::LineTo3D(int X, int Y, int Z) {
    Calc3DPos(X, Y, Z);
    LineTo(X, Y);
}

void TZuzCanvas3D::PolygonWithZ(const TPoint* Points, int LastIndex, int Z) {
    const std::vector<TPoint> p = Calc3DPoints(Points, LastIndex, Z);
    Polygon(p.data(), LastIndex);
}

void TZuzCanvas3D::Polyline(const TPoint* Points, int LastIndex, int Z) {
    const std::vector<TPoint> p = Calc3DPoints(Points, LastIndex, Z);
    Polyline(p.data(), LastIndex);
}

void TZuzCanvas3D::RotateLabel3D(int X, int Y, int Z, const String& Text, double Angle) {
    Calc3DPos(X, Y, Z);
    RotateLabel(X, Y, Text, Angle);
}

bool TZuzCanvas3D::Surface3D(TZuzCanvasSurfaceStyle, bool, int, int) {
    return false; // this canvas draws no surfaces
}

void TZuzCanvas3D::TextOut3D(int X, int Y, int Z, const String& Text) {
    Calc3DPos(X, Y, Z);
    HFONT zoomed = nullptr;
    HFONT old = nullptr;
    if (ZoomText && ZoomFactor != 1) {
        const int size = Font->GetSize();
        const int zoomedSize = std::max(1, ZuzRound(size * ZoomFactor));
        if (zoomedSize != size) {
            ReferenceCanvas->RequiredState(kText);
            LOGFONTW lf;
            GetObjectW(Font->GetHandle(), &lf);
            lf.lfHeight = -MulDiv(zoomedSize, Font->GetPixelsPerInch(), 72);
            zoomed = CreateFontIndirectW(lf);
            old = SelectObject(Dc(), zoomed);
        }
    }
    TextOut(X, Y, Text);
    if (zoomed) {
        SelectObject(Dc(), old);
        DeleteObject(zoomed);
    }
}

// ---------------------------------------------------------------------------
// Projection

TRect TZuzCanvas3D::InitWindow(TCanvas* DestCanvas, TView3DOptions* Options, TColor, bool AIs3D,
                               const TRect& UserRect) {
    Bounds = UserRect;
    View3DOptions = Options;
    if (Options) FontZoom = Options->GetFontZoom();
    Is3D = AIs3D;
    IsOrthogonal = false;
    ZoomFactor = 1;
    if (Is3D) {
        if (Options) {
            IsOrthogonal = Options->GetOrthogonal();
            if (IsOrthogonal) {
                double a = Options->GetOrthoAngle();
                if (a > 90) {
                    OrthoX = -1;
                    a = 180 - a;
                } else {
                    OrthoX = 1;
                }
                const double s = std::sin(a * ZuzPiStep), c = std::cos(a * ZuzPiStep);
                OrthoY = c < 0.01 ? 1 : s / c;
            }
        }
        CalcTrigValues();
    }
    if (FUseBuffer) {
        if (!FBitmap) FBitmap = MakeOwned<TBitmap>();
        ZuzSetBitmapSize(FBitmap.get(), UserRect.Width(), UserRect.Height());
        SetCanvas(FBitmap->GetCanvas());
        return TRect(0, 0, UserRect.Width(), UserRect.Height());
    }
    SetCanvas(DestCanvas);
    return UserRect;
}

void TZuzCanvas3D::CalcTrigValues() {
    if (IsOrthogonal) return;
    double ax = 0, ay = 0, az = 0;
    if (View3DOptions) {
        ax = -View3DOptions->GetElevation();
        ay = -View3DOptions->GetRotation();
        az = View3DOptions->GetTilt();
    }
    IsPerspective = false;
    PerspectiveFactor = 0;
    SinX = std::sin(ax * ZuzPiStep);
    CosX = std::cos(ax * ZuzPiStep);
    SinY = std::sin(ay * ZuzPiStep);
    CosY = std::cos(ay * ZuzPiStep);
    IsTilted = az != 0;
    SinZ = std::sin(az * ZuzPiStep);
    CosZ = std::cos(az * ZuzPiStep);
    // The lower bound applies to negative values too.
    InvTerm[0] = CosY * SinZ;
    InvTerm[1] = std::max(CosY * CosZ, 0.00001);
    InvTerm[2] = std::max(SinX * SinY * SinZ + CosX * CosZ, 0.00001);
    InvTerm[3] = CosZ * SinX * SinY - CosX * SinZ;
    InvTerm[4] = CosX * SinY * SinZ - CosZ * SinX;
    InvTerm[5] = CosX * CosZ * SinY + SinX * SinZ;
}

void TZuzCanvas3D::Projection(int MaxDepth, const TRect&, const TRect& ARect) {
    RectCenter(ARect, XCenter, YCenter);
    ZCenter = ZuzRound(MaxDepth * 0.5);
    XCenterOffset = XCenter;
    YCenterOffset = YCenter;
    if (View3DOptions) {
        XCenterOffset += View3DOptions->GetHorizOffset();
        YCenterOffset += View3DOptions->GetVertOffset();
        if (Is3D) {
            ZoomFactor = View3DOptions->GetZoomInteger() * 0.01;
            ZoomText = View3DOptions->GetZoomText();
        }
        CalcPerspective(ARect);
    }
}

void TZuzCanvas3D::CalcPerspective(const TRect& Rect) {
    IsPerspective = View3DOptions && View3DOptions->GetPerspective() > 0;
    if (!IsPerspective) return;
    const int w = std::max(1, Rect.Right - Rect.Left);
    PerspectiveFactor = View3DOptions->GetPerspective() * ZoomFactor * (1.0 / 150.0) / w;
}

void TZuzCanvas3D::Calc3DPos(int& X, int& Y, int Z) const {
    if (IsOrthogonal) {
        X = ZuzRound((static_cast<double>(X - XCenter) + Z * OrthoX) * ZoomFactor) + XCenterOffset;
        Y = ZuzRound((static_cast<double>(Y - YCenter) - Z * OrthoY) * ZoomFactor) + YCenterOffset;
        return;
    }
    if (!Is3D) return;
    const double x = static_cast<double>(X) - XCenter, y = static_cast<double>(Y) - YCenter;
    const double z = static_cast<double>(Z) - ZCenter;
    const double t = z * CosY - x * SinY;
    const double s =
        IsPerspective ? ZoomFactor / ((CosX * t + y * SinX) * PerspectiveFactor + 1) : ZoomFactor;
    const double a = x * CosY + z * SinY;
    const double b = y * CosX - SinX * t;
    if (IsTilted) {
        X = ZuzRound((CosZ * a - SinZ * b) * s) + XCenterOffset;
        Y = ZuzRound((CosZ * b + SinZ * a) * s) + YCenterOffset;
    } else {
        X = ZuzRound(a * s) + XCenterOffset;
        Y = ZuzRound(b * s) + YCenterOffset;
    }
}

void TZuzCanvas3D::Calc3DPoint(TPoint& P, int X, int Y, int Z) const {
    Calc3DPos(X, Y, Z);
    P = {X, Y};
}

void TZuzCanvas3D::Calc3DPoint(TPoint& P, double X, double Y, int Z) const {
    if (IsOrthogonal) {
        P.X = ZuzRound(((X - XCenter) + Z * OrthoX) * ZoomFactor) + XCenterOffset;
        P.Y = ZuzRound(((Y - YCenter) - Z * OrthoY) * ZoomFactor) + YCenterOffset;
        return;
    }
    if (!Is3D) {
        P = {ZuzRound(X), ZuzRound(Y)};
        return;
    }
    const double x = X - XCenter, y = Y - YCenter, z = static_cast<double>(Z) - ZCenter;
    const double t = z * CosY - x * SinY;
    const double s =
        IsPerspective ? ZoomFactor / ((CosX * t + y * SinX) * PerspectiveFactor + 1) : ZoomFactor;
    const double a = x * CosY + z * SinY;
    const double b = y * CosX - SinX * t;
    P.X = ZuzRound((CosZ * a - SinZ * b) * s) + XCenterOffset;
    P.Y = ZuzRound((CosZ * b + SinZ * a) * s) + YCenterOffset;
}

void TZuzCanvas3D::Calc3DTPoint(TPoint& P, int Z) const {
    Calc3DPos(P.X, P.Y, Z);
}

TPoint TZuzCanvas3D::Calc3DTPoint3D(const TPoint3D& P) const {
    int x = P.X, y = P.Y;
    Calc3DPos(x, y, P.Z);
    return {x, y};
}

std::vector<TPoint> TZuzCanvas3D::Calc3DPoints(const TPoint* Points, int LastIndex, int Z) const {
    std::vector<TPoint> out;
    for (int i = 0; i <= LastIndex; ++i) {
        TPoint p = Points[i];
        Calc3DTPoint(p, Z);
        out.push_back(p);
    }
    return out;
}

TRect TZuzCanvas3D::CalcRect3D(const TRect& R, int Z) const {
    TRect r = R;
    Calc3DPos(r.Left, r.Top, Z);
    Calc3DPos(r.Right, r.Bottom, Z);
    return r;
}

TFourPoints TZuzCanvas3D::FourPointsFromRect(const TRect& R, int Z) const {
    TFourPoints p{TPoint{R.Left, R.Top}, TPoint{R.Right, R.Top}, TPoint{R.Right, R.Bottom},
                  TPoint{R.Left, R.Bottom}};
    for (TPoint& q : p) Calc3DTPoint(q, Z);
    return p;
}

TRect TZuzCanvas3D::RectFromRectZ(const TRect& R, int Z) const {
    const TFourPoints p = FourPointsFromRect(R, Z);
    return PolygonBounds(p.data(), 3);
}

void TZuzCanvas3D::Calculate2DPosition(int& X, int& Y, int Z) {
    if (ZoomFactor == 0) return;
    const double k = 1.0 / ZoomFactor;
    if (IsOrthogonal) {
        X = ZuzRound((X - XCenterOffset) * k - Z * OrthoX) + XCenter;
        Y = ZuzRound((Y - YCenterOffset) * k + Z * OrthoY) + YCenter;
        return;
    }
    if (!Is3D || InvTerm[2] == 0 || InvTerm[1] == 0) return;
    const int x0 = X;
    const double z = static_cast<double>(Z) - ZCenter;
    // The divisors have a floor of 0.00001: far rotations give huge values, which saturate.
    X = ZuzRound(((x0 - XCenterOffset) * k - z * InvTerm[4] - (Y - YCenter) * InvTerm[0]) / InvTerm[2]) +
        XCenter;
    Y = ZuzRound(((Y - YCenterOffset) * k - z * InvTerm[5] - (x0 - XCenter) * InvTerm[3]) / InvTerm[1]) +
        YCenter;
}

void TZuzCanvas3D::DisableRotation() {
    SavedIs3D = Is3D;
    Is3D = false;
}

void TZuzCanvas3D::EnableRotation() {
    Is3D = SavedIs3D;
}

void TZuzCanvas3D::FrontPlaneBegin() {
    if (FrontPlaneCount == 0) DisableRotation();
    ++FrontPlaneCount;
}

void TZuzCanvas3D::FrontPlaneEnd() {
    --FrontPlaneCount;
    if (FrontPlaneCount == 0) EnableRotation();
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
