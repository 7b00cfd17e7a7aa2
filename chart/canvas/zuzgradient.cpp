// Gradient fills: which linear fills a gradient asks of the canvas, radial bands, rotation
// through a bitmap, and the blended sub-gradient.
#include "chart/canvas/zuzgradient.h"

#include "chart/canvas/gdiselection.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>
#include <vector>

void (*ZuzGradientRotate)(TCustomZuzGradient* Gradient, TBitmap* Bitmap) = nullptr;

namespace {

TColor Grey(TColor Color) {
    const auto c = static_cast<COLORREF>(ColorToRGB(Color));
    const int g = (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
    return static_cast<TColor>(RGB(static_cast<BYTE>(g), static_cast<BYTE>(g), static_cast<BYTE>(g)));
}

// Leaves out of the clip strips well inside the ellipse in Box as an Ellipse call paints it
// (inscribed in Left..Right-1 by Top..Bottom-1, a pixel taken when its centre is inside):
// every pixel left out lies at least a pixel clear of the edge, so the ellipse covers it.
void ExcludeInsideEllipse(HDC Dc, const TRect& Box) {
    const double a = (Box.Right - 1 - Box.Left) / 2.0, b = (Box.Bottom - 1 - Box.Top) / 2.0;
    if (a < 4 || b < 4) return;
    const double cx = Box.Left + a, cy = Box.Top + b; // pixel x's centre is x + 0.5
    constexpr int kStrips = 16;
    for (int k = 0; k < kStrips; ++k) {
        // Rows whose centres lie within D - 1 of the middle, columns within H - 1, where H is
        // the ellipse's half width at D.
        const double D = (k + 1) * b / kStrips, q = 1 - (D / b) * (D / b);
        const double H = a * std::sqrt(std::max(q, 0.0));
        const int top = static_cast<int>(std::ceil(cy - D + 0.5)),
                  bottom = static_cast<int>(std::floor(cy + D - 1.5));
        const int left = static_cast<int>(std::ceil(cx - H + 0.5)),
                  right = static_cast<int>(std::floor(cx + H - 1.5));
        if (top <= bottom && left <= right) ExcludeClipRect(Dc, left, top, right + 1, bottom + 1);
    }
}

} // namespace

// ---------------------------------------------------------------------------
// Class records

const ClassInfo& TCustomZuzGradient::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TCustomZuzGradient>("TCustomZuzGradient", &TPersistent::StaticClass());
    return ci;
}

const ClassInfo& TZuzGradient::StaticClass() {
    using G = TCustomZuzGradient;
    static const PropInfo props[] = {
        MakeProp<&G::GetAngle, &G::SetAngle>("Angle").Default(0),
        MakeProp<&G::GetBalance, &G::SetBalance>("Balance").Default(50),
        MakeProp<&G::GetDirection, &G::SetDirection>("Direction").Stored<&G::IsDirectionStored>(),
        MakeProp<&G::GetEndColor, &G::SetEndColor>("EndColor").Default(clYellow),
        MakeProp<&G::GetMidColor, &G::SetMidColor>("MidColor").Default(clNone),
        MakeProp<&G::GetRadialX, &G::SetRadialX>("RadialX").Default(0),
        MakeProp<&G::GetRadialY, &G::SetRadialY>("RadialY").Default(0),
        MakeProp<&G::GetStartColor, &G::SetStartColor>("StartColor").Default(clWhite),
        MakeProp<&G::GetSub, &G::SetSub>("SubGradient").Stored<&G::HasSub>(),
        MakeProp<&G::GetVisible, &G::SetVisible>("Visible").Default(0),
    };
    static const ClassInfo ci =
        MakeClassInfo<TZuzGradient>("TZuzGradient", &TCustomZuzGradient::StaticClass(), props);
    return ci;
}

const ClassInfo& TSubGradient::StaticClass() {
    using G = TCustomZuzGradient;
    static const PropInfo props[] = {
        MakeProp<&G::GetAngle, &G::SetAngle>("Angle").Default(0),
        MakeProp<&G::GetBalance, &G::SetBalance>("Balance").Default(50),
        MakeProp<&G::GetDirection, &G::SetDirection>("Direction").Default(gdTopBottom),
        MakeProp<&G::GetEndColor, &G::SetEndColor>("EndColor").Default(clYellow),
        MakeProp<&G::GetMidColor, &G::SetMidColor>("MidColor").Default(clNone),
        MakeProp<&G::GetRadialX, &G::SetRadialX>("RadialX").Default(0),
        MakeProp<&G::GetRadialY, &G::SetRadialY>("RadialY").Default(0),
        MakeProp<&G::GetStartColor, &G::SetStartColor>("StartColor").Default(clWhite),
        MakeProp<&TSubGradient::GetTransparency, &TSubGradient::SetTransparency>("Transparency").Default(50),
        MakeProp<&G::GetVisible, &G::SetVisible>("Visible").Default(0),
    };
    static const ClassInfo ci =
        MakeClassInfo<TSubGradient>("TSubGradient", &TCustomZuzGradient::StaticClass(), props);
    return ci;
}

const ClassInfo& TZuzFontGradient::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TZuzFontGradient::GetOutline, &TZuzFontGradient::SetOutline>("Outline").Default(0),
    };
    static const ClassInfo ci =
        MakeClassInfo<TZuzFontGradient>("TZuzFontGradient", &TZuzGradient::StaticClass(), props);
    return ci;
}

// ---------------------------------------------------------------------------
// Settings

TCustomZuzGradient::TCustomZuzGradient(TNotifyEvent ChangedEvent) : OnChange(std::move(ChangedEvent)) {}
TCustomZuzGradient::~TCustomZuzGradient() = default;

template <class T>
void TCustomZuzGradient::Store(T& Field, T Value) {
    if (SetIfChanged(Field, Value) && OnChange) OnChange(this);
}

void TCustomZuzGradient::SetAngle(int Value) {
    Store(FAngle, Value);
}
// The balance is a percentage: beyond it the bands' power runs away.
void TCustomZuzGradient::SetBalance(int Value) {
    Store(FBalance, std::clamp(Value, 0, 100));
}
void TCustomZuzGradient::SetDirection(TGradientDirection Value) {
    Store(FDirection, Value);
}
void TCustomZuzGradient::SetEndColor(TColor Value) {
    Store(FEndColor, Value);
}
// The centre's offsets are added to the rectangle's middle.
void TCustomZuzGradient::SetRadialX(int Value) {
    Store(FRadialX, ZuzCoordinate(Value));
}
void TCustomZuzGradient::SetRadialY(int Value) {
    Store(FRadialY, ZuzCoordinate(Value));
}
void TCustomZuzGradient::SetStartColor(TColor Value) {
    Store(FStartColor, Value);
}
void TCustomZuzGradient::SetVisible(bool Value) {
    Store(FVisible, Value);
}

void TCustomZuzGradient::SetMidColor(TColor Value) {
    if (Value == clNone) {
        Store(FUseMiddle, false);
        return;
    }
    if (!FUseMiddle) {
        FUseMiddle = true;
        FMidColor = Value;
        if (OnChange) OnChange(this);
        return;
    }
    Store(FMidColor, Value);
}

void TCustomZuzGradient::UseMiddleColor() {
    Store(FUseMiddle, true);
}

TSubGradient* TCustomZuzGradient::GetSub() {
    if (!FSubGradient) FSubGradient = MakeOwned<TSubGradient>(OnChange);
    return FSubGradient.get();
}

void TCustomZuzGradient::SetSub(TSubGradient* Value) {
    GetSub()->Assign(Value);
}

void TCustomZuzGradient::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TCustomZuzGradient*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    FAngle = src->FAngle;
    FBalance = src->FBalance;
    FDirection = src->FDirection;
    FEndColor = src->FEndColor;
    FMidColor = src->FMidColor;
    FRadialX = src->FRadialX;
    FRadialY = src->FRadialY;
    FStartColor = src->FStartColor;
    if (src->FSubGradient)
        GetSub()->Assign(src->FSubGradient.get());
    else
        FSubGradient.reset();
    FVisible = src->FVisible;
    FUseMiddle = src->FUseMiddle;
}

TSubGradient::TSubGradient(TNotifyEvent ChangedEvent) : TCustomZuzGradient(std::move(ChangedEvent)) {}

void TSubGradient::SetTransparency(int Value) {
    Store(FTransparency, std::clamp(Value, 0, 100));
}

void TSubGradient::Assign(TPersistent* Source) {
    TCustomZuzGradient::Assign(Source);
    if (auto* src = dynamic_cast<TSubGradient*>(Source)) FTransparency = src->FTransparency;
}

TZuzGradient::TZuzGradient(TNotifyEvent ChangedEvent) : TCustomZuzGradient(std::move(ChangedEvent)) {}

TZuzFontGradient::TZuzFontGradient(TNotifyEvent ChangedEvent) : TZuzGradient(std::move(ChangedEvent)) {}

void TZuzFontGradient::SetOutline(bool Value) {
    Store(FOutline, Value);
}

void TZuzFontGradient::Assign(TPersistent* Source) {
    TZuzGradient::Assign(Source);
    if (auto* src = dynamic_cast<TZuzFontGradient*>(Source)) FOutline = src->FOutline;
}

// ---------------------------------------------------------------------------
// Drawing

void TCustomZuzGradient::Draw(TZuzCanvas* Canvas, const TRect& R, int RoundSize) {
    if (FAngle != 0) {
        DrawRotated(Canvas, R, RoundSize);
        return;
    }
    if (RoundSize > 0) Canvas->ClipRectangle(R, RoundSize);
    const bool mono = Canvas->GetMonochrome();
    const TColor start = mono ? Grey(FStartColor) : FStartColor;
    const TColor end = mono ? Grey(FEndColor) : FEndColor;
    const TColor mid = mono ? Grey(FMidColor) : FMidColor;
    if (FDirection == gdRadial) {
        Canvas->GradientFill(R, start, end, gdRadial, FBalance, FRadialX, FRadialY);
    } else if (!FUseMiddle || FDirection == gdDiagonalUp || FDirection == gdDiagonalDown) {
        Canvas->GradientFill(R, start, end, FDirection, FBalance, 0, 0);
    } else if (FDirection == gdFromCenter || FDirection == gdFromTopLeft || FDirection == gdFromBottomLeft) {
        Canvas->GradientFill(R, start, end, FDirection, 50, 0, 0);
    } else if (FDirection == gdTopBottom || FDirection == gdBottomTop) {
        const int middle = (R.Top + R.Bottom) / 2;
        const TRect upper(R.Left, R.Top, R.Right, middle), lower(R.Left, middle, R.Right, R.Bottom);
        const bool topBottom = FDirection == gdTopBottom;
        Canvas->GradientFill(upper, topBottom ? mid : start, topBottom ? end : mid, FDirection, 50, 0, 0);
        Canvas->GradientFill(lower, topBottom ? start : mid, topBottom ? mid : end, FDirection, 50, 0, 0);
    } else {
        const int middle = (R.Left + R.Right) / 2;
        const TRect left(R.Left, R.Top, middle, R.Bottom), right(middle, R.Top, R.Right, R.Bottom);
        const bool leftRight = FDirection == gdLeftRight;
        Canvas->GradientFill(left, leftRight ? mid : start, leftRight ? end : mid, FDirection, 50, 0, 0);
        Canvas->GradientFill(right, leftRight ? start : mid, leftRight ? mid : end, FDirection, 50, 0, 0);
    }
    if (RoundSize > 0) Canvas->UnClipRectangle();
    if (FSubGradient && FSubGradient->GetVisible()) DrawSubGradient(Canvas, R, RoundSize);
}

void TCustomZuzGradient::Draw(TZuzCanvas* Canvas, const TFourPoints& Points) {
    Canvas->Pen->SetStyle(psClear);
    Canvas->PolygonGradient(Points.data(), 3, this);
}

void TCustomZuzGradient::Draw(TCanvas3D* Canvas, const TFourPoints& Points, int Z) {
    TFourPoints p;
    for (std::size_t i = 0; i < p.size(); ++i) p[i] = Canvas->Calculate3DPosition(Points[i], Z);
    Draw(static_cast<TZuzCanvas*>(Canvas), p);
}

void TCustomZuzGradient::Draw(TCanvas3D* Canvas, std::span<const TPoint> Points, int Z, bool Is3D) {
    if (Points.empty()) return;
    std::vector<TPoint> p(Points.begin(), Points.end());
    if (Is3D)
        for (TPoint& q : p) q = Canvas->Calculate3DPosition(q, Z);
    Canvas->PolygonGradient(p.data(), static_cast<int>(p.size()) - 1, this);
}

void TCustomZuzGradient::DrawSubGradient(TZuzCanvas* Canvas, const TRect& R, int RoundSize) {
    TSubGradient* sub = GetSub();
    // The blend is applied and freed on every path, a failed draw included.
    struct Blending {
        TZuzCanvas* canvas;
        Owned<TZuzBlend> blend;
        ~Blending() { canvas->EndBlending(std::move(blend)); }
    } blending{Canvas, Canvas->BeginBlending(R, sub->GetTransparency())};
    if (sub->GetDirection() == gdRadial)
        sub->DrawRadial(Canvas, R);
    else
        sub->Draw(Canvas, R, RoundSize);
}

void TCustomZuzGradient::DrawRadial(TZuzCanvas* Canvas, const TRect& Rect) {
    const TRect r = OrientRectangle(Rect);
    Canvas->ClipRectangle(r);
    DrawRadialBands(Canvas, r);
    Canvas->UnClipRectangle();
    if (FSubGradient && FSubGradient->GetVisible()) DrawSubGradient(Canvas, r, 0);
}

void TCustomZuzGradient::DrawRadialBands(TZuzCanvas* Canvas, const TRect& R) {
    const int w = R.Width(), h = R.Height();
    int n = std::min(255, std::max(w, h));
    // A sub-gradient comes here straight, not through Draw: a monochrome canvas greys it here.
    const bool mono = Canvas->GetMonochrome();
    const TColor endColor = mono ? Grey(FEndColor) : FEndColor;
    const auto start = static_cast<COLORREF>(ColorToRGB(mono ? Grey(FStartColor) : FStartColor));
    const auto end = static_cast<COLORREF>(ColorToRGB(endColor));
    const int s[3] = {GetRValue(start), GetGValue(start), GetBValue(start)};
    double d[3] = {double(GetRValue(end) - s[0]), double(GetGValue(end) - s[1]),
                   double(GetBValue(end) - s[2])};
    const TPenStyle penStyle = Canvas->Pen->GetStyle();
    const TColor brushColor = Canvas->Brush->GetColor();
    Canvas->Pen->SetStyle(psClear);
    Canvas->Brush->SetColor(endColor);
    const bool bands = n > 0;
    const double step = bands ? 1.0 / n : 0;
    if (bands && (w % 2 != 0 || h % 2 != 0)) --n;
    const double cx = FRadialX + 1 + (R.Left + R.Right) * 0.5, cy = FRadialY + 1 + (R.Top + R.Bottom) * 0.5;
    const auto bandBox = [&](int i) {
        const double ex = i * (w * 0.5 * step), ey = i * (h * 0.5 * step);
        return TRect(ZuzRound(cx - ex), ZuzRound(cy - ey), ZuzRound(cx + ex), ZuzRound(cy + ey));
    };
    // The chart canvas itself hands the whole set to the device's own brush at once (a
    // canvas class of its own or another brush hook keeps one Ellipse per band).
    const bool together = ZuzSetDCBrushColor == &SetDCBrushColor && typeid(*Canvas) == typeid(TZuzCanvas3D);
    // The corners keep the end colour. Where the bands go onto the surface in one pass, the
    // fill leaves out what the outermost band paints over anyway.
    HDC dc = nullptr;
    int saved = 0;
    if (together && n > 0 && EllipsesWithDCBrushInOnePass(dc = Canvas->GetHandle())) {
        // The canvas's pen and brush go in first, so that restoring takes back only the clip.
        Canvas->ReferenceCanvas->RequiredState({csHandleValid, csPenValid, csBrushValid});
        saved = SaveDC(dc);
        ExcludeInsideEllipse(dc, bandBox(n));
    }
    Canvas->FillRect(R);
    if (saved) RestoreDC(dc, saved);
    if (bands) {
        if (FBalance == 50)
            for (double& v : d) v *= step;
        const double exponent = FBalance * 0.015 + 0.5;
        // Band colours go to the device's own colour-settable brush where the system has one.
        dc = Canvas->GetHandle();
        Canvas->ReferenceCanvas->RequiredState({csHandleValid, csPenValid, csBrushValid});
        const TSelectedObject<HBRUSH> dcBrush(
            dc, ZuzSetDCBrushColor ? static_cast<HBRUSH>(GetStockObject(DC_BRUSH)) : nullptr,
            TSelection::Borrowed);
        auto* whole = dcBrush.Get() && together ? static_cast<TZuzCanvas3D*>(Canvas) : nullptr;
        std::vector<TRect> boxes;
        std::vector<COLORREF> colors;
        for (int i = n; i >= 0; --i) {
            int c[3];
            if (FBalance == 50) {
                for (int k = 0; k < 3; ++k) c[k] = (s[k] + ZuzRound(i * d[k])) & 0xFF;
            } else {
                const double t = std::pow((1.0 + i) / (1.0 + n), exponent);
                for (int k = 0; k < 3; ++k) c[k] = std::clamp(ZuzRound(t * d[k]) + s[k], 0, 255);
            }
            const COLORREF rgb =
                RGB(static_cast<BYTE>(c[0]), static_cast<BYTE>(c[1]), static_cast<BYTE>(c[2]));
            const TRect box = bandBox(i);
            if (whole) {
                boxes.push_back(box);
                colors.push_back(rgb);
                continue;
            }
            if (dcBrush.Get())
                ZuzSetDCBrushColor(dc, rgb);
            else
                Canvas->Brush->SetColor(static_cast<TColor>(rgb));
            Canvas->Ellipse(box.Left, box.Top, box.Right, box.Bottom);
        }
        if (whole) whole->EllipsesWithDCBrush(boxes, colors);
    }
    Canvas->Brush->SetColor(brushColor);
    Canvas->Pen->SetStyle(penStyle);
}

void TCustomZuzGradient::DrawRotated(TZuzCanvas* Canvas, const TRect& R, int RoundSize) {
    const double a = (360 - std::fmod(static_cast<double>(FAngle), 360.0)) * ZuzPiStep;
    const double s = std::sin(a), c = std::cos(a);
    const int w = R.Width(), h = R.Height();
    int bw, bh;
    if (s * c > 0) {
        bw = std::abs(ZuzRound(w * c + h * s)) + 2;
        bh = std::abs(ZuzRound(w * s + h * c)) + 2;
    } else {
        bw = std::abs(ZuzRound(w * c - h * s)) + 2;
        bh = std::abs(ZuzRound(w * s - h * c)) + 2;
    }
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(bw, bh);
    {
        TZuzCanvas3D unbuffered;
        unbuffered.SetUseBuffer(false);
        unbuffered.SetCanvas(bitmap->GetCanvas());
        // A sub-gradient blends only within the canvas's bounds: the whole bitmap.
        unbuffered.Bounds = TRect(0, 0, bw, bh);
        unbuffered.SetMonochrome(Canvas->GetMonochrome());
        // Drawn unturned into the bitmap; the angle comes back also when the drawing fails.
        struct Unturned {
            int& angle;
            int saved;
            ~Unturned() { angle = saved; }
        } unturned{FAngle, FAngle};
        FAngle = 0;
        Draw(&unbuffered, TRect(0, 0, bw, bh), 0);
    }
    if (ZuzGradientRotate) ZuzGradientRotate(this, bitmap.get());
    // A box with round corners keeps the turned fill and its outline inside its curve.
    if (RoundSize > 0)
        Canvas->ClipRectangle(R, RoundSize);
    else
        Canvas->ClipRectangle(R);
    Canvas->Draw(R.Left - (bitmap->GetWidth() - w) / 2, R.Top - (bitmap->GetHeight() - h) / 2, bitmap.get());
    Canvas->Brush->SetStyle(bsClear);
    if (RoundSize > 0)
        Canvas->RoundRect(R.Left, R.Top, R.Right, R.Bottom, RoundSize, RoundSize);
    else
        Canvas->Rectangle(R);
    Canvas->UnClipRectangle();
}
