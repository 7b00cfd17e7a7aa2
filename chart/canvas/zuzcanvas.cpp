// The canvas unit: globals, point/rectangle/colour functions, chart pens and
// brushes, view options, clipping and the convex hull.
#include "chart/canvas/zuzcanvas.h"

#include "chart/canvas/zuzcolor.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzfont.h"
#include "chart/canvas/zuzhtml.h"

#include <algorithm>
#include <cmath>
#include <limits>

COLORREF (*ZuzSetDCBrushColor)(HDC, COLORREF) = nullptr;
COLORREF (*ZuzSetDCPenColor)(HDC, COLORREF) = nullptr;
BOOL (*ZuzAlphaBlend)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION) = nullptr;
void (*ZuzTextShadowBlur)(TBitmap* Bitmap, const TRect& Region, int Amount) = nullptr;

void ZuzCanvasInitialization() {
    // Our device contexts always have them.
    ZuzSetDCBrushColor = &SetDCBrushColor;
    ZuzSetDCPenColor = &SetDCPenColor;
    ZuzAlphaBlend = &AlphaBlend;
    ZuzFontInitialization();
    RegisterZuzControlClasses();
}

void ZuzCanvasFinalization() {
    ZuzFreeCustomEditColors();
    ZuzFontFinalization();
}

template <>
const EnumInfo& EnumInfoOf<TGradientDirection>() {
    static const EnumInfo info{"TGradientDirection",
                               {"gdTopBottom", "gdBottomTop", "gdLeftRight", "gdRightLeft", "gdFromCenter",
                                "gdFromTopLeft", "gdFromBottomLeft", "gdRadial", "gdDiagonalUp",
                                "gdDiagonalDown"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TPenEndStyle>() {
    static const EnumInfo info{"TPenEndStyle", {"esRound", "esSquare", "esFlat"}};
    return info;
}

// ---------------------------------------------------------------------------
// Geometry and colour

int ZuzRound(double Value) {
    if (std::isnan(Value)) return 0;
    const double r = std::nearbyint(Value); // the default mode: halves to even
    if (r >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (r <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return static_cast<int>(r);
}

int ZuzCoordinate(Int64 Value) {
    constexpr Int64 kFarthest = Int64{1} << 28;
    return static_cast<int>(std::clamp(Value, -kFarthest, kFarthest));
}

bool PointInRect(const TRect& Rect, int X, int Y) {
    return X >= Rect.Left && X <= Rect.Right && Y >= Rect.Top && Y <= Rect.Bottom;
}

bool PointInRect(const TRect& Rect, TPoint P) {
    return PointInRect(Rect, P.X, P.Y);
}

TRect OrientRectangle(const TRect& R) {
    TRect r = R;
    if (r.Left > r.Right) std::swap(r.Left, r.Right);
    if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
    return r;
}

void RectSize(const TRect& R, int& Width, int& Height) {
    Width = R.Right - R.Left;
    Height = R.Bottom - R.Top;
}

void RectCenter(const TRect& R, int& X, int& Y) {
    X = static_cast<int>((static_cast<std::int64_t>(R.Left) + R.Right) / 2);
    Y = static_cast<int>((static_cast<std::int64_t>(R.Top) + R.Bottom) / 2);
}

void ZuzSetBitmapSize(TBitmap* Bitmap, int Width, int Height) {
    Bitmap->SetSize(Width, Height);
}

TRect Joined(const TRect& A, const TRect& B) {
    return {std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
            std::max(A.Bottom, B.Bottom)};
}

TRect PolygonBounds(std::span<const TPoint> Points) {
    if (Points.empty()) return ZuzZeroRect;
    TRect r{Points[0].X, Points[0].Y, Points[0].X, Points[0].Y};
    for (const TPoint p : Points.subspan(1)) {
        r.Left = std::min(r.Left, p.X);
        r.Right = std::max(r.Right, p.X);
        r.Top = std::min(r.Top, p.Y);
        r.Bottom = std::max(r.Bottom, p.Y);
    }
    return r;
}

TRect PolygonBounds(const TPoint* Points, int LastIndex) {
    return PolygonBounds(PointsUpTo(Points, LastIndex));
}

namespace {
// Even-odd rule; an edge counts when Y lies in [yi, yj) or [yj, yi).
bool PointInPolygonEvenOdd(TPoint P, std::span<const TPoint> Poly) {
    if (Poly.empty()) return false;
    const auto Last = static_cast<int>(Poly.size()) - 1;
    bool inside = false;
    for (int i = 0, j = Last; i <= Last; j = i++) {
        const double xi = Poly[i].X, yi = Poly[i].Y, xj = Poly[j].X, yj = Poly[j].Y;
        if ((yi <= P.Y && P.Y < yj) || (yj <= P.Y && P.Y < yi)) {
            const double cross = (xj - xi) * (P.Y - yi) / (yj - yi) + xi;
            if (P.X <= cross) inside = !inside;
        }
    }
    return inside;
}
} // namespace

bool PolygonInPolygon(std::span<const TPoint> A, std::span<const TPoint> B) {
    return std::all_of(A.begin(), A.end(), [&](TPoint p) { return PointInPolygonEvenOdd(p, B); });
}

bool PolygonInPolygon(const TPoint* A, int LastA, const TPoint* B, int LastB) {
    return PolygonInPolygon(PointsUpTo(A, LastA), PointsUpTo(B, LastB));
}

namespace {
// The sign of (P0 - P1) x (P2 - P1), exactly: differences of far points need
// 33 bits, their products 66.
int CrossSign(TPoint P0, TPoint P1, TPoint P2) {
    __extension__ using Wide = __int128;
    const Wide ax = Wide{P0.X} - P1.X, ay = Wide{P0.Y} - P1.Y;
    const Wide bx = Wide{P2.X} - P1.X, by = Wide{P2.Y} - P1.Y;
    const Wide c = ax * by - bx * ay;
    return (c > 0) - (c < 0);
}

// Positive when A, B, C turn counter-clockwise in a y-up frame, 0 when collinear.
int Orientation(TPoint A, TPoint B, TPoint C) {
    return -CrossSign(A, B, C);
}
} // namespace

bool ZuzCull(TPoint P0, TPoint P1, TPoint P2) {
    return CrossSign(P0, P1, P2) < 0;
}

bool ZuzCull(const TPoint* P) {
    return ZuzCull(P[0], P[1], P[2]);
}

int ZuzWinding(std::span<const TPoint> P) {
    if (P.empty()) return 0;
    // Twice the signed area (screen Y points down).
    Int64 a = 0;
    const TPoint* prev = &P.back();
    for (const TPoint& q : P) {
        a += Int64{prev->X} * q.Y - Int64{q.X} * prev->Y;
        prev = &q;
    }
    return (a > 0) - (a < 0);
}

TPoint ZuzHangBelow(TPoint Lower, TPoint Upper) {
    return {2 * Upper.X - Lower.X, 2 * Upper.Y - Lower.Y};
}

void RGBValue(TColor Color, Byte& R, Byte& G, Byte& B) {
    const auto c = static_cast<std::uint32_t>(Color);
    R = static_cast<Byte>(c & 0xFF);
    G = static_cast<Byte>((c >> 8) & 0xFF);
    B = static_cast<Byte>((c >> 16) & 0xFF);
}

TRect RectFromPolygon(std::span<const TPoint> Points) {
    if (Points.empty()) return ZuzZeroRect;
    TRect r{Points[0].X, Points[0].Y, Points[0].X, Points[0].Y};
    for (const TPoint p : Points.subspan(1)) {
        if (p.X < r.Left)
            r.Left = p.X;
        else if (p.X > r.Right)
            r.Right = p.X;
        if (p.Y < r.Top)
            r.Top = p.Y;
        else if (p.Y > r.Bottom)
            r.Bottom = p.Y;
    }
    ++r.Right;
    ++r.Bottom;
    return r;
}

TRect RectFromPolygon(const TPoint* Points, int NumPoints) {
    return RectFromPolygon(std::span(Points, NumPoints < 0 ? 0 : static_cast<std::size_t>(NumPoints)));
}

TRect RectFromTriangle(const TPoint* Points) {
    return RectFromPolygon(std::span(Points, 3));
}

bool RectangleInRectangle(const TRect& Small, const TRect& Big) {
    return PointInRect(Big, Small.Left, Small.Top) && PointInRect(Big, Small.Right, Small.Bottom);
}

// Graham scan around the lowest point (the rightmost of the lowest rows).
// Angles are compared by exact integer cross products, and of points on one
// ray from the pivot only the farthest can stay, so collinear corners are
// never lost and the outline holds every point.
bool TZuzCanvas::ConvexHull(std::vector<TPoint>& P) {
    if (P.size() < 3) return false;
    if (P.size() == 3) return true;
    std::size_t pivotAt = 0;
    for (std::size_t i = 1; i < P.size(); ++i)
        if (P[i].Y < P[pivotAt].Y || (P[i].Y == P[pivotAt].Y && P[i].X > P[pivotAt].X)) pivotAt = i;
    const TPoint pivot = P[pivotAt];
    std::erase(P, pivot);
    // Every other point lies above the pivot's row or left of it on that row:
    // their angles span (0, pi], where the cross product orders them.
    // Along one ray the taxicab distance orders the points as well as any.
    auto reach = [&](TPoint q) {
        return std::abs(std::int64_t{q.X} - pivot.X) + std::abs(std::int64_t{q.Y} - pivot.Y);
    };
    std::sort(P.begin(), P.end(), [&](TPoint a, TPoint b) {
        const int turn = Orientation(pivot, a, b);
        return turn != 0 ? turn > 0 : reach(a) < reach(b);
    });
    std::vector<TPoint> hull{pivot};
    for (const TPoint q : P) {
        while (hull.size() >= 2 && Orientation(hull[hull.size() - 2], hull.back(), q) <= 0) hull.pop_back();
        hull.push_back(q);
    }
    P.assign(hull.begin() + 1, hull.end());
    P.push_back(pivot);
    return true;
}

// ---------------------------------------------------------------------------
// Chart pens

const ClassInfo& TChartPen::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TPen::GetColor, &TPen::SetColor>("Color").Stored<&TChartPen::IsColorStored>(),
        MakeProp<&TChartPen::GetEndStyle, &TChartPen::SetEndStyle>("EndStyle")
            .Stored<&TChartPen::IsEndStyleStored>(),
        MakeProp<&TChartPen::GetSmallDots, &TChartPen::SetSmallDots>("SmallDots").Default(0),
        MakeProp<&TChartPen::GetSmallSpace, &TChartPen::SetSmallSpace>("SmallSpace").Default(0),
        MakeProp<&TChartPen::GetVisible, &TChartPen::SetVisible>("Visible")
            .Stored<&TChartPen::IsVisibleStored>(),
    };
    static const ClassInfo ci = MakeClassInfo<TChartPen>("TChartPen", &TPen::StaticClass(), props);
    return ci;
}

TChartPen::TChartPen(TNotifyEvent OnChangeEvent) {
    OnChange = std::move(OnChangeEvent);
}

void TChartPen::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TChartPen*>(Source)) {
        FVisible = src->FVisible;
        FSmallDots = src->FSmallDots;
        FSmallSpace = src->FSmallSpace;
        FEndStyle = src->FEndStyle;
    }
    TPen::Assign(Source);
}

void TChartPen::SetEndStyle(TPenEndStyle Value) {
    if (FEndStyle == Value) return;
    FEndStyle = Value;
    Changed();
}

void TChartPen::SetSmallDots(bool Value) {
    if (FSmallDots == Value) return;
    FSmallDots = Value;
    Changed();
}

void TChartPen::SetSmallSpace(int Value) {
    if (FSmallSpace == Value) return;
    FSmallSpace = Value;
    Changed();
}

void TChartPen::SetVisible(bool Value) {
    if (FVisible == Value) return;
    FVisible = Value;
    Changed();
}

const ClassInfo& TChartHiddenPen::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TChartHiddenPen>("TChartHiddenPen", &TChartPen::StaticClass());
    return ci;
}

// The grey and white pens start with their own colour (and style): those are their
// stream defaults too, so a pen left as made writes nothing.
const ClassInfo& TDottedGrayPen::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TPen::GetColor, &TPen::SetColor>("Color").Default(clGray),
        MakeProp<&TPen::GetStyle, &TPen::SetStyle>("Style").Default(psDot),
    };
    static const ClassInfo ci =
        MakeClassInfo<TDottedGrayPen>("TDottedGrayPen", &TChartPen::StaticClass(), props);
    return ci;
}

const ClassInfo& TDarkGrayPen::StaticClass() {
    static const PropInfo props[] = {MakeProp<&TPen::GetColor, &TPen::SetColor>("Color").Default(clGray)};
    static const ClassInfo ci = MakeClassInfo<TDarkGrayPen>("TDarkGrayPen", &TChartPen::StaticClass(), props);
    return ci;
}

const ClassInfo& TWhitePen::StaticClass() {
    // Its visibility is written whatever it is.
    static const PropInfo props[] = {
        MakeProp<&TPen::GetColor, &TPen::SetColor>("Color").Default(clWhite),
        MakeProp<&TChartPen::GetVisible, &TChartPen::SetVisible>("Visible").NoDefault(),
    };
    static const ClassInfo ci = MakeClassInfo<TWhitePen>("TWhitePen", &TChartPen::StaticClass(), props);
    return ci;
}

TChartHiddenPen::TChartHiddenPen(TNotifyEvent OnChangeEvent) : TChartPen(std::move(OnChangeEvent)) {
    const TNotifyEvent keep = OnChange;
    OnChange.Clear(); // the construction is no change
    SetVisible(false);
    DefaultVisible = false;
    OnChange = keep;
}

namespace {
template <class P>
void Quietly(P& pen, TColor color, TPenStyle style) {
    const TNotifyEvent keep = pen.OnChange;
    pen.OnChange.Clear();
    pen.SetColor(color);
    pen.SetStyle(style);
    pen.OnChange = keep;
}
} // namespace

TDottedGrayPen::TDottedGrayPen(TNotifyEvent OnChangeEvent) : TChartPen(std::move(OnChangeEvent)) {
    Quietly(*this, clGray, psDot);
}

TDarkGrayPen::TDarkGrayPen(TNotifyEvent OnChangeEvent) : TChartPen(std::move(OnChangeEvent)) {
    Quietly(*this, clGray, psSolid);
}

TWhitePen::TWhitePen(TNotifyEvent OnChangeEvent) : TChartPen(std::move(OnChangeEvent)) {
    Quietly(*this, clWhite, psSolid);
}

HPEN ZuzCreatePenSmallDots(TColor Color, int SmallSpace) {
    const LOGBRUSH lb{BS_SOLID, static_cast<COLORREF>(ColorToRGB(Color)) & 0xFFFFFF, 0};
    if (SmallSpace >= 1) {
        const DWORD style[2] = {0, static_cast<DWORD>(SmallSpace) + 1};
        return ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE, 1, lb, 2, style);
    }
    return ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, lb, 0, nullptr);
}

namespace {
constexpr int kPenModes[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                             R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                             R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                             R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
}

void ZuzSetZuzPen(TPen* Pen, TChartPen* ChartPen, TColor Color, HDC DC, bool CheckPenWidth) {
    if (ChartPen->GetSmallDots()) {
        Pen->SetHandle(ZuzCreatePenSmallDots(Color, ChartPen->GetSmallSpace()));
        Pen->SetMode(ChartPen->GetMode());
        return;
    }
    if (ChartPen->GetWidth() < 2) {
        Pen->Assign(ChartPen);
        if (Pen->GetColor() != Color) Pen->SetColor(Color);
        if (CheckPenWidth && Pen->GetStyle() != psSolid && Pen->GetWidth() == 1) Pen->SetWidth(0);
        return;
    }
    Pen->Assign(ChartPen);
    Pen->SetColor(Color);
    DWORD end = 0;
    if (ChartPen->GetEndStyle() == esSquare) end = PS_ENDCAP_SQUARE | PS_JOIN_BEVEL;
    if (ChartPen->GetEndStyle() == esFlat) end = PS_ENDCAP_FLAT | PS_JOIN_MITER;
    const LOGBRUSH lb{BS_SOLID, static_cast<COLORREF>(ColorToRGB(Color)) & 0xFFFFFF, 0};
    Pen->SetHandle(ExtCreatePen(PS_GEOMETRIC | static_cast<DWORD>(ChartPen->GetStyle()) | end,
                                static_cast<DWORD>(ChartPen->GetWidth()), lb, 0, nullptr));
    SetROP2(DC, kPenModes[Pen->GetMode()]);
}

// ---------------------------------------------------------------------------
// Chart brushes

const ClassInfo& TChartBrush::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TChartBrush::GetBackColor, &TChartBrush::SetBackColor>("BackColor").Default(clNone),
        MakeProp<&TBrush::GetColor, &TBrush::SetColor>("Color").Stored<&TChartBrush::IsColorStored>(),
        MakeProp<&TChartBrush::GetImage>("Image").Stored<&TChartBrush::HasImage>(),
    };
    static const ClassInfo ci = MakeClassInfo<TChartBrush>("TChartBrush", &TBrush::StaticClass(), props);
    return ci;
}

TChartBrush::TChartBrush(TNotifyEvent OnChangeEvent) {
    SetColor(clDefault);
    OnChange = std::move(OnChangeEvent);
}

TChartBrush::~TChartBrush() = default;

TZuzCanvas::~TZuzCanvas() = default;
TCanvas3D::~TCanvas3D() = default;

void TChartBrush::SetBackColor(TColor Value) {
    if (FBackColor == Value) return;
    FBackColor = Value;
    Changed();
}

TPicture* TChartBrush::GetImage() {
    if (!FImage) {
        FImage = MakeOwned<TPicture>();
        FImage->OnChange = OnChange;
    }
    return FImage.get();
}

void TChartBrush::SetImage(TPicture* Value) {
    if (Value)
        GetImage()->Assign(Value);
    else
        FImage.reset();
    Changed();
}

void TChartBrush::Clear() {
    SetStyle(bsClear);
    FImage.reset();
}

void TChartBrush::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TChartBrush*>(Source)) {
        if (src->FImage) {
            GetImage()->Assign(src->FImage.get());
        } else {
            FImage.reset();
        }
        FBackColor = src->FBackColor;
    }
    TBrush::Assign(Source);
}

// ---------------------------------------------------------------------------
// View options

const ClassInfo& TView3DOptions::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TView3DOptions::GetElevationInteger, &TView3DOptions::SetElevationInteger>("Elevation")
            .Default(345),
        MakeProp<&TView3DOptions::GetFontZoom, &TView3DOptions::SetFontZoom>("FontZoom").Default(100),
        MakeProp<&TView3DOptions::GetHorizOffset, &TView3DOptions::SetHorizOffset>("HorizOffset").Default(0),
        MakeProp<&TView3DOptions::GetOrthogonal, &TView3DOptions::SetOrthogonal>("Orthogonal").Default(1),
        MakeProp<&TView3DOptions::GetOrthoAngle, &TView3DOptions::SetOrthoAngle>("OrthoAngle").Default(45),
        MakeProp<&TView3DOptions::GetPerspective, &TView3DOptions::SetPerspective>("Perspective").Default(15),
        MakeProp<&TView3DOptions::GetRotationInteger, &TView3DOptions::SetRotationInteger>("Rotation")
            .Default(345),
        MakeProp<&TView3DOptions::GetTilt, &TView3DOptions::SetTilt>("Tilt").Default(0),
        MakeProp<&TView3DOptions::GetVertOffset, &TView3DOptions::SetVertOffset>("VertOffset").Default(0),
        MakeProp<&TView3DOptions::GetZoomInteger, &TView3DOptions::SetZoomInteger>("Zoom").Default(100),
        MakeProp<&TView3DOptions::GetZoomText, &TView3DOptions::SetZoomText>("ZoomText").Default(1),
    };
    static const ClassInfo ci =
        MakeClassInfo<TView3DOptions>("TView3DOptions", &TPersistent::StaticClass(), props);
    return ci;
}

TView3DOptions::TView3DOptions(TObject* AParent, TNotifyEvent AInvalidate)
    : FParent(AParent), FInvalidate(std::move(AInvalidate)) {}

void TView3DOptions::Repaint() {
    if (FInvalidate) FInvalidate(FParent);
}

template <class T>
void TView3DOptions::Store(T& Field, T Value) {
    if (SetIfChanged(Field, Value)) Repaint();
}

void TView3DOptions::SetElevation(double Value) {
    Store(FElevation, Value);
}
int TView3DOptions::GetElevationInteger() const {
    return ZuzRound(FElevation);
}
void TView3DOptions::SetFontZoom(int Value) {
    Store(FFontZoom, Value);
}
// An offset from a file may be any number: the projection adds it to the chart's centre.
void TView3DOptions::SetHorizOffset(int Value) {
    Value = ZuzCoordinate(Value);
    if (FHorizOffset == Value) return;
    Store(FHorizOffset, Value);
    if (OnScrolled) OnScrolled(true);
}
void TView3DOptions::SetOrthogonal(bool Value) {
    Store(FOrthogonal, Value);
}
void TView3DOptions::SetOrthoAngle(int Value) {
    Store(FOrthoAngle, Value);
}
// No stronger than the editor's strongest; a value below nothing is kept and means none.
void TView3DOptions::SetPerspective(int Value) {
    Store(FPerspective, std::min(Value, 100));
}
void TView3DOptions::SetRotation(double Value) {
    Store(FRotation, Value);
}
int TView3DOptions::GetRotationInteger() const {
    return ZuzRound(FRotation);
}
void TView3DOptions::SetTilt(int Value) {
    Store(FTilt, Value);
}
void TView3DOptions::SetVertOffset(int Value) {
    Value = ZuzCoordinate(Value);
    if (FVertOffset == Value) return;
    Store(FVertOffset, Value);
    if (OnScrolled) OnScrolled(false);
}
// Up to the editor's largest zoom, and not below nothing: the chart's sizes are multiplied with a
// file's number. Not a number keeps the zoom.
void TView3DOptions::SetZoom(double Value) {
    if (std::isnan(Value)) return;
    Value = std::clamp(Value, 0.0, 500.0);
    if (FZoom == Value) return;
    if (OnChangedZoom) OnChangedZoom(ZuzRound(Value)); // while the old value is still stored
    Store(FZoom, Value);
}
int TView3DOptions::GetZoomInteger() const {
    return ZuzRound(FZoom);
}
void TView3DOptions::SetZoomText(bool Value) {
    Store(FZoomText, Value);
}

void TView3DOptions::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TView3DOptions*>(Source);
    if (!src) return; // another kind of source is ignored
    FElevation = src->FElevation;
    FFontZoom = src->FFontZoom;
    FHorizOffset = src->FHorizOffset;
    FOrthoAngle = src->FOrthoAngle;
    FOrthogonal = src->FOrthogonal;
    FPerspective = src->FPerspective;
    FRotation = src->FRotation;
    FTilt = src->FTilt;
    FVertOffset = src->FVertOffset;
    FZoom = src->FZoom;
    FZoomText = src->FZoomText;
}

double TView3DOptions::CalcOrthoRatio() const {
    if (!FOrthogonal) return 1;
    double a = FOrthoAngle;
    if (a > 90) a = 180 - a;
    return std::sin(a * ZuzPiStep) / std::cos(a * ZuzPiStep);
}

// ---------------------------------------------------------------------------
// TZuzCanvas: the operations every canvas shares

void TZuzCanvas::TextOut(int X, int Y, const String& Text, bool IsHtml) {
    if (IsHtml)
        HtmlTextOut(this, X, Y, Text);
    else
        TextOut(X, Y, Text);
}

void TZuzCanvas::SetCanvas(TCanvas* ACanvas) {
    ReferenceCanvas = ACanvas;
    Font = ACanvas ? ACanvas->GetFont() : nullptr;
    Pen = ACanvas ? ACanvas->GetPen() : nullptr;
    Brush = ACanvas ? ACanvas->GetBrush() : nullptr;
}

void TZuzCanvas::ResetState() {
    // A system pen the last drawing adopted (small dots, a wide pen with its ends) is dropped:
    // kept, it would go on drawing whatever the colour, width and style set below, as these may
    // equal the settings it was adopted over.
    Pen->SetHandle(nullptr);
    Pen->SetColor(clBlack);
    Pen->SetWidth(1);
    Pen->SetStyle(psSolid);
    Brush->SetColor(clWhite);
    Brush->SetStyle(bsSolid);
    Font->SetColor(clBlack);
    Font->SetStyle({});
    Font->SetCharset(DEFAULT_CHARSET);
    Font->SetName(GetDefaultFontName());
    Font->SetSize(GetDefaultFontSize());
    BlendTransparency = 0;
    ZuzFont = nullptr;
    SetBackColor(clWhite);
    SetBackMode(cbmTransparent);
    SetTextAlign(TA_LEFT | TA_TOP);
}

void TZuzCanvas::AssignBrush(TChartBrush* ABrush, TColor AColor, TColor ABackColor) {
    AssignBrushCore(ABrush, AColor, ABackColor);
}

// The brush's colour on its hatch background: the two colours in their own
// roles (as swapped arguments, a solid brush would paint in its clNone
// background).
void TZuzCanvas::AssignBrush(TChartBrush* ABrush) {
    AssignBrushCore(ABrush, ABrush->GetColor(), ABrush->GetBackColor());
}

void TZuzCanvas::AssignBrush(TChartBrush* ABrush, TColor AColor) {
    AssignBrushCore(ABrush, AColor, ABrush->GetColor());
}

void TZuzCanvas::AssignBrushColor(TChartBrush* ABrush, TColor AColor, TColor ABackColor) {
    AssignBrushCore(ABrush, AColor, ABackColor);
}

void TZuzCanvas::AssignBrushCore(TChartBrush* ABrush, TColor AColor, TColor ABackColor) {
    const TColor c = GetMonochrome() ? clWhite : AColor;
    TBitmap* pattern = nullptr;
    if (ABrush->HasImage() && ABrush->GetImage()->GetGraphic()) {
        TGraphic* g = ABrush->GetImage()->GetGraphic();
        pattern = dynamic_cast<TBitmap*>(g);
        if (!pattern) { // another kind of picture: its pixels as a bitmap
            FBrushImage = MakeOwned<TBitmap>();
            FBrushImage->Assign(g);
            pattern = FBrushImage.get();
        }
    } else if (ABrush->GetBitmap()) {
        pattern = ABrush->GetBitmap();
    }
    if (pattern) {
        Brush->SetStyle(bsClear);
        Brush->SetBitmap(pattern);
        // The brush goes to the device first, so the background set here stays.
        ReferenceCanvas->RequiredState({csHandleValid, csBrushValid});
        SetTextColor(GetHandle(), static_cast<COLORREF>(ColorToRGB(c)));
        SetBackMode(cbmOpaque);
        SetBackColor(ABackColor);
        return;
    }
    if (Brush->GetBitmap()) Brush->SetBitmap(nullptr);
    if (Brush->GetColor() != c) Brush->SetColor(c);
    if (Brush->GetStyle() != ABrush->GetStyle()) Brush->SetStyle(ABrush->GetStyle());
    ReferenceCanvas->RequiredState({csHandleValid, csBrushValid});
    if (ABackColor != clNone) {
        SetBackMode(cbmOpaque);
        SetBackColor(ABackColor);
    } else {
        SetBackMode(cbmTransparent);
    }
}

// ---------------------------------------------------------------------------
// Small geometry

TPoint PointAtDistance(TPoint From, TPoint To, int Distance) {
    if (From.X == To.X) return {To.X, To.Y >= From.Y ? To.Y - Distance : To.Y + Distance};
    const double a = std::atan2(static_cast<double>(To.Y) - From.Y, static_cast<double>(To.X) - From.X);
    return {To.X - ZuzRound(Distance * std::cos(a)), To.Y - ZuzRound(Distance * std::sin(a))};
}

double ZuzDistance(double X, double Y) {
    return std::sqrt(X * X + Y * Y);
}

void SwapInteger(int& A, int& B) {
    std::swap(A, B);
}

void SwapDouble(double& A, double& B) {
    std::swap(A, B);
}

const ClassInfo& TFloatXYZ::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TFloatXYZ::GetX, &TFloatXYZ::SetX>("X"),
        MakeProp<&TFloatXYZ::GetY, &TFloatXYZ::SetY>("Y"),
        MakeProp<&TFloatXYZ::GetZ, &TFloatXYZ::SetZ>("Z"),
    };
    static const ClassInfo ci = MakeClassInfo<TFloatXYZ>("TFloatXYZ", &TPersistent::StaticClass(), props);
    return ci;
}

void TFloatXYZ::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TFloatXYZ*>(Source)) {
        FPoint = src->FPoint;
        return;
    }
    TPersistent::Assign(Source);
}
