// Drawing one bar (shadow, transparency, the thirteen shapes, gradient, bevel,
// tick lines), and the two concrete bar series: where a bar stands, its marks,
// the margins and ranges it needs, and whether a point hits it.
#include "chart/canvas/zuzgeometry.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/engine/chartaxis.h"
#include "chart/series/series_bar.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

TRect ScreenRect(TCanvas3D* C, const TRect& R, int Z) {
    const TPoint a = C->Calculate3DPosition(R.Left, R.Top, Z);
    const TPoint b = C->Calculate3DPosition(R.Right, R.Bottom, Z);
    return TRect(a.X, a.Y, b.X, b.Y);
}

TFourPoints ScreenCorners(TCanvas3D* C, const TRect& R, int Z) {
    return {C->Calculate3DPosition(R.Left, R.Top, Z), C->Calculate3DPosition(R.Right, R.Top, Z),
            C->Calculate3DPosition(R.Right, R.Bottom, Z), C->Calculate3DPosition(R.Left, R.Bottom, Z)};
}

bool IsRectStyle(TBarStyle S) {
    return S == bsRectangle || S == bsRectGradient || S == bsBevel;
}

int ByteOf(TColor C, int Shift) {
    return static_cast<int>((C >> Shift) & 0xFF);
}

} // namespace

bool TCustomBarSeries::PenVisible() const {
    return GetPen()->GetVisible() && GetPen()->GetStyle() != psClear;
}

int TCustomBarSeries::PenWidth() const {
    return PenVisible() ? GetPen()->GetWidth() : 0;
}

// ---------------------------------------------------------------------------
// One point

void TCustomBarSeries::DrawValue(int ValueIndex) {
    TChartSeries::DrawValue(ValueIndex);
    BarColor = GetValueColor(ValueIndex);
    if (BarColor == clNone) return;
    TCanvas3D* c = Canvas();
    if (!c) return;
    CalcBarBounds(ValueIndex, BarBounds);
    const TBarStyle style = GetBarStyle(ValueIndex);
    if (FShadow->GetVisible() && FShadow->GetSize() != 0) {
        const TRect saved = BarBounds;
        const TColor savedColor = BarColor;
        const TColor savedPen = GetPen()->GetColor();
        const int h = FShadow->GetHorizSize(), v = FShadow->GetVertSize();
        TRect r = BarBounds;
        if (YMandatory()) {
            r.Left += h;
            r.Right += h;
            if (r.Bottom > r.Top)
                r.Top += v;
            else
                r.Bottom -= v;
        } else {
            r.Top += v;
            r.Bottom += v;
            if (r.Right > r.Left)
                r.Right += h;
            else
                r.Left -= h;
        }
        GetPen()->SetColor(FShadow->GetColor());
        BarColor = FShadow->GetColor();
        try {
            if (FShadow->GetSmooth() && IsRectStyle(style)) {
                // The smooth shadow moves what it is given by its offsets itself: it is given
                // the rectangle whose shadow falls on r, not r, or it would stand apart from
                // the bar by the offsets again.
                // A bar that grows left or down has its rectangle the other way round; the
                // shadow is drawn only on a rectangle whose corners are in order.
                const TRect cast(std::min(r.Left, r.Right) - h, std::min(r.Top, r.Bottom) - v,
                                 std::max(r.Left, r.Right) - h, std::max(r.Top, r.Bottom) - v);
                if (!Is3D())
                    FShadow->Draw(c, cast);
                else if (IsOrthogonal())
                    FShadow->Draw(c, ScreenRect(c, cast, EndZ));
                else {
                    const TFourPoints p = ScreenCorners(c, cast, EndZ);
                    FShadow->Draw(c, std::span<const TPoint>(p));
                }
            } else {
                BarBounds = r;
                DrawBarBody(ValueIndex, FShadow->GetTransparency());
            }
        } catch (...) {
            BarBounds = saved;
            BarColor = savedColor;
            GetPen()->SetColor(savedPen);
            throw;
        }
        BarBounds = saved;
        BarColor = savedColor;
        GetPen()->SetColor(savedPen);
    }
    DrawBarBody(ValueIndex, FTransparency);
}

void TCustomBarSeries::DrawBarBody(int ValueIndex, int Transparency) {
    TCanvas3D* c = Canvas();
    Owned<TZuzBlend> blend;
    if (Transparency > 0) {
        // In order first: a bar below or left of its origin has its rectangle the other way
        // round, and its pen and far face would be left out of the block.
        TRect r = OrientRectangle(BarBounds);
        // A wide pen reaches past the rectangle on every side (a bar of no height is a line as
        // wide as the pen): blended with the bar, or it stays opaque.
        InflateRect(r, PenWidth(), PenWidth());
        if (Is3D()) {
            // Every corner of the solid: a turned view moves each of them its own way.
            const TFourPoints front = ScreenCorners(c, r, StartZ), back = ScreenCorners(c, r, EndZ);
            const TPoint all[8] = {front[0], front[1], front[2], front[3],
                                   back[0],  back[1],  back[2],  back[3]};
            r = PolygonBounds(all);
        }
        blend = c->BeginBlending(r, Transparency);
    }
    const bool vertical = YMandatory();
    const int a = vertical ? BarBounds.Top : BarBounds.Left;
    const int b = vertical ? BarBounds.Bottom : BarBounds.Right;
    try {
        DrawBar(ValueIndex, std::min(a, b), std::max(a, b));
    } catch (...) {
        if (blend) c->EndBlending(std::move(blend));
        throw;
    }
    if (blend) c->EndBlending(std::move(blend));
}

void TCustomBarSeries::PrepareBarPen(int ValueIndex) {
    TCanvas3D* c = Canvas();
    if (FDarkPen >= 1 && ValueIndex != -1)
        c->AssignVisiblePenColor(
            GetPen(), ApplyDark(GetValueColor(ValueIndex), static_cast<Byte>(255 - std::min(FDarkPen, 255))));
    else
        c->AssignVisiblePen(GetPen());
}

void TCustomBarSeries::SetPenBrushBar(TColor Color, int ValueIndex) {
    PrepareBarPen(ValueIndex);
    TColor back = GetBrush()->GetColor();
    if (back == clZuzColor && GetParentChart()) back = GetParentChart()->GetChartColor();
    Canvas()->AssignBrush(GetBrush(), Color, back);
}

void TCustomBarSeries::BarRectangle(TColor Color, int Left, int Top, int Right, int Bottom) {
    TCanvas3D* c = Canvas();
    if (c->Brush->GetStyle() == bsSolid) {
        const int pw = c->Pen->GetStyle() == psClear ? 0 : c->Pen->GetWidth();
        if (Right == Left || Top == Bottom) {
            const TPenStyle style = c->Pen->GetStyle();
            const TColor pen = c->Pen->GetColor();
            c->Pen->SetColor(c->Brush->GetColor());
            if (style == psClear) c->Pen->SetStyle(psSolid);
            c->Line(Left, Top, Right, Bottom);
            c->Pen->SetStyle(style);
            c->Pen->SetColor(pen);
            return;
        }
        if (std::abs(Right - Left) < pw || std::abs(Bottom - Top) < pw) {
            const TColor pen = c->Pen->GetColor();
            c->Pen->SetColor(c->Brush->GetColor());
            c->Brush->SetStyle(bsClear);
            c->Rectangle(Left, Top, Right, Bottom);
            c->Brush->SetStyle(bsSolid);
            c->Pen->SetColor(pen);
            return;
        }
    }
    c->Rectangle(Left, Top, Right, Bottom);
}

TColor TCustomBarSeries::CalcGradientColor(int ValueIndex) const {
    if (!FGradient->GetRelative()) return BarColor;
    const TChartValueList* list = MandatoryValueList();
    const double origin = FUseYOrigin ? FYOrigin : list->GetMinValue();
    const double range = list->GetMaxValue() - origin;
    // One value, or all equal to the origin: the full colour.
    const double r = range == 0 ? 1.0 : (list->GetValue(ValueIndex) - origin) / range;
    const TColor from = FGradient->GetStartColor();
    auto mix = [&](int Shift) {
        const int s = ByteOf(from, Shift), e = ByteOf(BarColor, Shift);
        return std::clamp(static_cast<int>(Round(s + (e - s) * r)), 0, 255);
    };
    return static_cast<TColor>(mix(0) | (mix(8) << 8) | (mix(16) << 16));
}

void TCustomBarSeries::BarGradient(int ValueIndex, const TRect& R) {
    TCanvas3D* c = Canvas();
    // A copy ends in the bar's colour: the stored gradient stays as set, and drawing asks
    // for no repaint.
    TZuzGradient shown;
    shown.Assign(FGradient.get());
    shown.SetEndColor(CalcGradientColor(ValueIndex));
    const int pw = PenWidth();
    if (Is3D() && !IsOrthogonal()) {
        TRect r = R;
        if (pw > 0) {
            r.Left += pw;
            r.Top += pw;
            r.Right -= pw;
            r.Bottom -= pw;
        }
        shown.Draw(static_cast<TZuzCanvas*>(c), ScreenCorners(c, r, StartZ));
    } else if (Is3D()) {
        shown.Draw(c, ScreenRect(c, R, StartZ));
    } else {
        TRect r = R;
        if (pw > 0) {
            ++r.Left;
            ++r.Top;
            r.Right -= pw;
            r.Bottom -= pw;
        }
        shown.Draw(c, r);
    }
}

void TCustomBarSeries::DrawBevel() {
    if (Is3D() && !IsOrthogonal()) return;
    TRect r = OrientRectangle(BarBounds);
    if (PenVisible()) {
        const int w = PenWidth();
        r = TRect(r.Left + w, r.Top + w, r.Right - w, r.Bottom - w);
    }
    if (Is3D()) {
        // A cube's pen outlines its face out to its right and bottom edges; without a pen the
        // face ends a pixel before them, as a flat bar's does, and the bevel stays on it.
        if (PenVisible()) {
            ++r.Right;
            ++r.Bottom;
        }
        r = ScreenRect(Canvas(), r, StartZ);
    }
    Canvas()->Frame3D(r, ApplyBright(BarColor, DarkerColorQuantity), ApplyDark(BarColor, DarkColorQuantity),
                      FBevelSize);
}

void TCustomBarSeries::DrawTickLines(int StartPos, int EndPos, TBarStyle Style) {
    if (!FTickLines->GetVisible()) return;
    TChartAxis* axis = MandatoryAxis();
    if (!axis) return;
    TCanvas3D* c = Canvas();
    c->AssignVisiblePen(FTickLines.get());
    for (int pos : axis->Tick)
        if (pos > StartPos && pos < EndPos) DrawTickLine(pos, Style);
}

void TCustomBarSeries::PrepareLegendCanvas(int ValueIndex, TColor& BackColor, TBrushStyle& BrushStyle) {
    if (Canvas()) PrepareBarPen(ValueIndex);
    BrushStyle = GetBrush()->GetStyle();
    BackColor = GetBrush()->GetColor();
    if (BackColor == clZuzColor && GetParentChart()) BackColor = GetParentChart()->GetChartColor();
}

void TCustomBarSeries::DrawLegendShape(int ValueIndex, const TRect& Rect) {
    TCanvas3D* c = Canvas();
    // Only a bitmap the picture holds: asking a picture for its bitmap replaces any other
    // graphic, or makes an empty one, and would change the brush for good.
    TBitmap* pattern = nullptr;
    if (c && GetBrush()->HasImage()) {
        pattern = dynamic_cast<TBitmap*>(GetBrush()->GetImage()->GetGraphic());
        if (pattern) c->Brush->SetBitmap(pattern);
    }
    TChartSeries::DrawLegendShape(ValueIndex, Rect);
    // The picture fills the symbol only: left on the canvas it would fill whatever the chart
    // draws next, the walls behind the series included.
    if (pattern) c->Brush->SetBitmap(nullptr);
}

// ---------------------------------------------------------------------------
// The shapes, shared by both directions. Positions along the bar's value axis
// are StartPos .. EndPos; across it Lo .. Hi (Left .. Right for vertical bars).

namespace {

struct BarFrame {
    bool Vertical;
    int Lo, Hi, Mid; // across the bar
    // A point at value position V and cross position C, in screen X/Y.
    TPoint At(int C, int V) const { return Vertical ? TPoint(C, V) : TPoint(V, C); }
};

} // namespace

static void DrawShape(TCustomBarSeries& S, TCanvas3D* C, bool Is3D, TBarStyle Style, const BarFrame& F,
                      int StartPos, int EndPos, bool Dark3D, int ConePercent) {
    const TRect& b = S.BarBounds;
    const int z0 = S.StartZ, z1 = S.EndZ, zm = S.MiddleZ;
    const bool v = F.Vertical;
    // Arrows: bsArrow points to lower screen positions for vertical bars (up),
    // to higher ones for horizontal bars (right).
    const bool arrowToStart = (Style == bsArrow) == v;
    auto arrow = [&] {
        const TPoint from = F.At(F.Mid, arrowToStart ? EndPos : StartPos);
        const TPoint to = F.At(F.Mid, arrowToStart ? StartPos : EndPos);
        const int w = F.Hi - F.Lo;
        C->Arrow(true, from, to, w, w / 2, zm);
    };
    auto diamond = [&](bool With3D) {
        const int midV = (StartPos + EndPos) / 2;
        const TPoint p[4] = {F.At(F.Mid, StartPos), F.At(F.Hi, midV), F.At(F.Mid, EndPos), F.At(F.Lo, midV)};
        if (With3D)
            C->PolygonWithZ(p, 3, zm);
        else
            C->Polygon(p, 3);
    };
    if (Is3D) {
        // Screen-space rectangle of the bar in its own orientation.
        const int l = v ? F.Lo : StartPos, r = v ? F.Hi : EndPos;
        const int t = v ? StartPos : F.Lo, btm = v ? EndPos : F.Hi;
        switch (Style) {
        case bsRectangle:
        case bsRectGradient:
        case bsBevel:
            C->Cube(l, r, t, btm, z0, z1, Dark3D);
            break;
        case bsPyramid:
            if (v)
                C->Pyramid(true, F.Lo, StartPos, F.Hi, EndPos, z0, z1, Dark3D);
            else
                C->Pyramid(false, StartPos, F.Lo, EndPos, F.Hi, z0, z1, Dark3D);
            break;
        case bsInvPyramid:
            if (v)
                C->Pyramid(true, F.Lo, EndPos, F.Hi, StartPos, z0, z1, Dark3D);
            else
                C->Pyramid(false, EndPos, F.Lo, StartPos, F.Hi, z0, z1, Dark3D);
            break;
        case bsCilinder:
            C->Cylinder(v, b.Left, b.Top, b.Right, b.Bottom, z0, z1, Dark3D);
            break;
        case bsEllipse:
            C->EllipseWithZ(b.Left, b.Top, b.Right, b.Bottom, zm);
            break;
        case bsArrow:
        case bsInvArrow:
            arrow();
            break;
        case bsCone:
            if (v)
                C->Cone(true, F.Lo, StartPos, F.Hi, EndPos, z0, z1, Dark3D, ConePercent);
            else
                C->Cone(false, StartPos, F.Lo, EndPos, F.Hi, z0, z1, Dark3D, ConePercent);
            break;
        case bsInvCone:
            if (v)
                C->Cone(true, F.Lo, EndPos, F.Hi, StartPos, z0, z1, Dark3D, ConePercent);
            else
                C->Cone(false, EndPos, F.Lo, StartPos, F.Hi, z0, z1, Dark3D, ConePercent);
            break;
        case bsSlantCube: {
            const int sides = C->ZuzNumCylinderSides;
            C->ZuzNumCylinderSides = 4;
            try {
                C->Cylinder(v, b.Left, b.Top, b.Right, b.Bottom, z0, z1, Dark3D);
            } catch (...) {
                C->ZuzNumCylinderSides = sides;
                throw;
            }
            C->ZuzNumCylinderSides = sides;
            break;
        }
        case bsDiamond:
            diamond(true);
            break;
        }
        return;
    }
    auto triangle = [&](int BaseV, int TipV) {
        const TPoint p[3] = {F.At(F.Lo, BaseV), F.At(F.Mid, TipV), F.At(F.Hi, BaseV)};
        C->Polygon(p, 2);
    };
    switch (Style) {
    case bsRectangle:
    case bsCilinder:
    case bsRectGradient:
    case bsBevel:
        S.BarRectangleOf(b);
        break;
    // Vertical bars: base at EndPos (the bottom), tip at StartPos; horizontal
    // bars: base on the StartPos side, tip at EndPos.
    case bsPyramid:
    case bsCone:
        if (v)
            triangle(EndPos, StartPos);
        else
            triangle(StartPos, EndPos);
        break;
    case bsInvPyramid:
    case bsInvCone:
        if (v)
            triangle(StartPos, EndPos);
        else
            triangle(EndPos, StartPos);
        break;
    case bsEllipse:
        C->Ellipse(b.Left, b.Top, b.Right, b.Bottom);
        break;
    case bsArrow:
    case bsInvArrow:
        arrow();
        break;
    case bsSlantCube:
        S.BarRectangleOf(b);
        if (v)
            C->DoVertLine(F.Mid, b.Top, b.Bottom);
        else
            C->DoHorizLine(b.Left, b.Right, F.Mid);
        break;
    case bsDiamond:
        diamond(false);
        break;
    }
}

void TCustomBarSeries::BarRectangleOf(const TRect& R) {
    BarRectangle(BarColor, R.Left, R.Top, R.Right, R.Bottom);
}

void TCustomBarSeries::DrawBarShape(int ValueIndex, int StartPos, int EndPos) {
    TCanvas3D* c = Canvas();
    SetPenBrushBar(BarColor, ValueIndex);
    const TBarStyle style = GetBarStyle(ValueIndex);
    const bool v = YMandatory();
    const BarFrame frame{v, v ? BarBounds.Left : BarBounds.Top, v ? BarBounds.Right : BarBounds.Bottom,
                         v ? (BarBounds.Left + BarBounds.Right) / 2 : (BarBounds.Top + BarBounds.Bottom) / 2};
    DrawShape(*this, c, Is3D(), style, frame, StartPos, EndPos, FDark3D, FConePercent);
    if (style == bsRectGradient)
        BarGradient(ValueIndex, v ? TRect(BarBounds.Left, StartPos, BarBounds.Right, EndPos)
                                  : TRect(StartPos, BarBounds.Top, EndPos, BarBounds.Bottom));
    else if (style == bsBevel)
        DrawBevel();
    DrawTickLines(StartPos, EndPos, style);
}

// ---------------------------------------------------------------------------
// Vertical bars

const ClassInfo& TBarSeries::StaticClass() {
    using C = TBarSeries;
    static const PropInfo props[] = {
        MakeProp<&C::GetCustomBarWidth, &C::SetCustomBarWidth>("CustomBarWidth").Default(0),
    };
    static const ClassInfo info = MakeClassInfo<C>("TBarSeries", &TCustomBarSeries::StaticClass(), props);
    return info;
}

TBarSeries::TBarSeries(TComponent* AOwner) : TCustomBarSeries(AOwner) {
    GetGradient()->SetDirection(gdTopBottom);
    GetYValues()->SetName(u"Bar");
}

void TBarSeries::CalcHorizMargins(int& LeftMargin, int& RightMargin) {
    LeftMargin = RightMargin = 0;
    InternalApplyBarMargin(LeftMargin, RightMargin);
}

void TBarSeries::CalcVerticalMargins(int& TopMargin, int& BottomMargin) {
    TopMargin = BottomMargin = 0;
    const int m = GetMarks()->GetVisible() ? CalcMarkLength(0) + 1 : 0;
    if (m == 0) return;
    const bool inverted = GetVertAxisObject() && GetVertAxisObject()->GetInverted();
    if (GetUseYOrigin() && TChartSeries::MinYValue() < GetYOrigin())
        (inverted ? TopMargin : BottomMargin) += m;
    if (!(GetUseYOrigin() && TChartSeries::MaxYValue() <= GetYOrigin()))
        (inverted ? BottomMargin : TopMargin) += m;
}

void TBarSeries::CalcSelectionPos(int ValueIndex, int& X, int& Y) {
    TCustomBarSeries::CalcSelectionPos(ValueIndex, X, Y);
    X += CurrentBarSize >> 1;
}

int TBarSeries::InternalCalcMarkLength(int ValueIndex) {
    return Canvas()->GetFontHeight();
}

void TBarSeries::DrawMark(int ValueIndex, const String& Text, TSeriesMarkPosition& Position) {
    TSeriesMarks* marks = GetMarks();
    const int half = CurrentBarSize / 2;
    const int distance = marks->GetCallout()->GetDistance();
    int d = marks->GetCallout()->GetLength() + distance;
    if (GetOriginPos(ValueIndex) >= Position.ArrowStart.Y) {
        Position.ArrowStart.Y -= distance;
    } else {
        d = -d - Position.Height;
        Position.ArrowStart.Y += distance;
    }
    Position.ArrowStart.X += half;
    Position.ArrowEnd.X += half;
    Position.TopLeft.X += half;
    Position.ArrowEnd.Y -= d;
    Position.TopLeft.Y -= d;
    if (GetAutoMarkPosition()) marks->AntiOverlap(FirstValueIndex, ValueIndex, Position);
    TCustomBarSeries::DrawMark(ValueIndex, Text, Position);
}

bool TBarSeries::MoreSameZOrder() const {
    return GetMultiBar() != mbSideAll && TCustomBarSeries::MoreSameZOrder();
}

double TBarSeries::MaxXValue() const {
    if (GetMultiBar() == mbSelfStack) return MinXValue();
    if (GetMultiBar() == mbSideAll) return Count() + PreviousBarPoints - 1;
    return TCustomBarSeries::MaxXValue();
}

double TBarSeries::MinXValue() const {
    if (GetMultiBar() == mbSelfStack && GetParentChart()) return GetParentChart()->SeriesIndexOf(this);
    return TCustomBarSeries::MinXValue();
}

double TBarSeries::MaxYValue() const {
    return MaxMandatoryValue(TCustomBarSeries::MaxYValue());
}

double TBarSeries::MinYValue() const {
    return MinMandatoryValue(TCustomBarSeries::MinYValue());
}

int TBarSeries::CalcXPos(int ValueIndex) const {
    int pos;
    TChartAxis* axis = GetHorizAxisObject();
    switch (GetMultiBar()) {
    case mbSideAll:
        pos = axis->CalcXPosValue(ValueIndex + PreviousBarPoints) - (CurrentBarSize >> 1);
        break;
    case mbSelfStack:
        pos = axis->CalcXPosValue(MinXValue()) - (CurrentBarSize >> 1);
        break;
    case mbNone:
        pos = TCustomBarSeries::CalcXPos(ValueIndex) - (CurrentBarSize >> 1);
        break;
    default:
        pos = TCustomBarSeries::CalcXPos(ValueIndex) +
              static_cast<int>(Round(CurrentBarSize * (BarOrder - BarSlotsOrOne() * 0.5 - 1.0)));
    }
    return ApplyBarOffset(pos);
}

int TBarSeries::CalcYPos(int ValueIndex) const {
    const TMultiBar m = GetMultiBar();
    if (m == mbNone || m == mbSide || m == mbSideAll) return TCustomBarSeries::CalcYPos(ValueIndex);
    const double v = PointOrigin(ValueIndex, false) + MandatoryValueList()->GetValue(ValueIndex);
    if (m != mbStacked100) return CalcYPosValue(v);
    const double total = PointOrigin(ValueIndex, true);
    return total == 0 ? 0 : CalcYPosValue(v * 100 / total);
}

bool TBarSeries::DrawSeriesForward(int ValueIndex) const {
    const TMultiBar m = GetMultiBar();
    if (m == mbNone || m == mbSide || m == mbSideAll) return TCustomBarSeries::DrawSeriesForward(ValueIndex);
    return !(GetVertAxisObject() && GetVertAxisObject()->GetInverted());
}

int TBarSeries::GetOriginPos(int ValueIndex) const {
    return InternalGetOriginPos(ValueIndex, GetVertAxisObject()->IEndPos);
}

void TBarSeries::CalcBarBounds(int ValueIndex, TRect& R) const {
    const bool pen = PenVisible();
    const int p = pen ? std::max(1, GetPen()->GetWidth()) : 0;
    R.Left = CalcXPos(ValueIndex);
    const bool inverted = GetHorizAxisObject()->GetInverted();
    if (GetBarWidthPercent() == 100 && GetCustomBarWidth() == 0 && GetMultiBar() != mbSelfStack) {
        const bool next = NextPointIsNextBar();
        if (next && inverted && ValueIndex > 0)
            R.Right = CalcXPos(ValueIndex - 1);
        else if (next && !inverted && ValueIndex < Count() - 1)
            R.Right = CalcXPos(ValueIndex + 1) + 1 - p / 2;
        else
            R.Right = CurrentBarSize + R.Left + (inverted ? p : 1 - p / 2);
    } else {
        R.Right = R.Left + CurrentBarSize + 1;
    }
    R.Top = CalcYPos(ValueIndex);
    R.Bottom = GetOriginPos(ValueIndex);
    if (!pen) {
        // A bar of no height stays so: it is drawn as a line at its origin.
        if (R.Bottom > R.Top)
            ++R.Bottom;
        else if (R.Top > R.Bottom)
            ++R.Top;
        ++R.Right;
    }
}

void TBarSeries::DrawBar(int ValueIndex, int StartPos, int EndPos) {
    DrawBarShape(ValueIndex, StartPos, EndPos);
}

void TBarSeries::DrawTickLine(int Pos, TBarStyle Style) {
    TCanvas3D* c = Canvas();
    const TRect& b = BarBounds;
    if (IsRectStyle(Style)) {
        c->HorizLine3D(b.Left, b.Right, Pos, StartZ);
        if (Is3D()) {
            // The depth line on the side face that looks at the viewer.
            const TPoint r0 = c->Calculate3DPosition(b.Right, Pos, StartZ);
            const TPoint r1 = c->Calculate3DPosition(b.Right, Pos, EndZ);
            const TPoint r2 = c->Calculate3DPosition(b.Right, Pos + 1, EndZ);
            const TPoint l0 = c->Calculate3DPosition(b.Left, Pos, StartZ);
            const TPoint l1 = c->Calculate3DPosition(b.Left, Pos, EndZ);
            const TPoint l2 = c->Calculate3DPosition(b.Left, Pos + 1, EndZ);
            if (ZuzCull(r0, r1, r2))
                c->ZLine3D(b.Right, Pos, StartZ, EndZ);
            else if (!ZuzCull(l0, l1, l2))
                c->ZLine3D(b.Left, Pos, StartZ, EndZ);
        }
    } else if (Style == bsArrow) {
        const int w = (b.Right - b.Left) / 4;
        c->HorizLine3D(b.Left + w, b.Right - w, Pos, MiddleZ);
    }
}

// Whether P falls on the bar drawn across Lo..Hi (category pixels) and along StartPos..EndPos
// (value pixels, StartPos <= EndPos). In 3D a solid is hit on every face the view shows, its
// outline being the hull of its corners (or of its rings) on the screen, and a flat shape is hit
// in its own plane at the middle depth, where it is drawn.
static bool BarShapeClicked(const TCustomBarSeries& S, TCanvas3D* C, bool Is3D, TBarStyle Style,
                            const BarFrame& F, int StartPos, int EndPos, int ConePercent, TPoint P) {
    const bool v = F.Vertical;
    // Pyramids and cones stand on the end drawn as their base: the bottom of a vertical bar and
    // the left end of a horizontal one; the inverted styles on the other end.
    const bool inverted = Style == bsInvPyramid || Style == bsInvCone;
    const int base = (v != inverted) ? EndPos : StartPos, tip = (v != inverted) ? StartPos : EndPos;
    const bool flat = Style == bsEllipse || Style == bsArrow || Style == bsInvArrow || Style == bsDiamond;
    // A flat polygon fills the pixels whose middles it holds, so a long thin point of it (a
    // pyramid's tip) is drawn only where it grows half a pixel wide; its pen draws along its edges.
    const TChartPen* pen = S.GetBarPen();
    const bool outlined = pen->GetVisible() && pen->GetStyle() != psClear;
    const auto inPolygon = [&](const std::vector<TPoint>& Points) {
        std::vector<TPoint> twice;
        for (const TPoint q : Points) twice.emplace_back(2 * q.X, 2 * q.Y);
        const int high = static_cast<int>(twice.size()) - 1;
        if (PointInPolygon({2 * P.X + 1, 2 * P.Y + 1}, twice.data(), high)) return true;
        for (int i = 0, j = high; outlined && i <= high; j = i++)
            if (PointInLine({2 * P.X, 2 * P.Y}, twice[static_cast<std::size_t>(j)],
                            twice[static_cast<std::size_t>(i)], 1))
                return true;
        return false;
    };
    if (Is3D && !flat) {
        const int z0 = S.StartZ, z1 = S.EndZ, zm = (z0 + z1) / 2;
        std::vector<TPoint> hull;
        auto add = [&](int Across, int Along, int Z) {
            hull.push_back(v ? C->Calculate3DPosition(Across, Along, Z)
                             : C->Calculate3DPosition(Along, Across, Z));
        };
        // The rings of a cylinder or a cone, as the canvas builds them.
        auto ring = [&](int Along, int Percent, int Sides) {
            for (const TPoint3D& p : TCanvas3D::SolidRing(v, F.Lo, F.Hi, z0, z1, Along, Sides, Percent))
                hull.push_back(C->Calculate3DPosition(p));
        };
        switch (Style) {
        case bsPyramid:
        case bsInvPyramid:
            for (const int across : {F.Lo, F.Hi})
                for (const int z : {z0, z1}) add(across, base, z);
            add(F.Mid, tip, zm);
            break;
        case bsCilinder:
        case bsSlantCube: {
            const int sides = Style == bsSlantCube ? 4 : C->ZuzNumCylinderSides;
            ring(StartPos, 100, sides);
            ring(EndPos, 100, sides);
            break;
        }
        case bsCone:
        case bsInvCone:
            ring(base, 100, C->ZuzNumCylinderSides);
            ring(tip, ConePercent, C->ZuzNumCylinderSides);
            break;
        default:
            for (const int across : {F.Lo, F.Hi})
                for (const int along : {StartPos, EndPos})
                    for (const int z : {z0, z1}) add(across, along, z);
            break;
        }
        if (!TCanvas3D::ConvexHull(hull)) return false;
        // A tip narrows below a pixel as a flat one does.
        if (Style == bsPyramid || Style == bsInvPyramid || Style == bsCone || Style == bsInvCone)
            return inPolygon(hull);
        return PointInPolygon(P, hull.data(), static_cast<int>(hull.size()) - 1);
    }
    if (Is3D) {
        // A flat shape turned edge-on is a sliver on the screen, and the click taken back into
        // its plane lands anywhere in its box: the box as projected holds the click first.
        std::vector<TPoint> box;
        for (const int across : {F.Lo, F.Hi})
            for (const int along : {StartPos, EndPos})
                box.push_back(C->Calculate3DPosition(F.At(across, along), S.MiddleZ));
        if (!TCanvas3D::ConvexHull(box) || !PointInPolygon(P, box.data(), static_cast<int>(box.size()) - 1))
            return false;
        C->Calculate2DPosition(P.X, P.Y, S.MiddleZ);
    }
    const int across = v ? P.X : P.Y, along = v ? P.Y : P.X;
    if (across < F.Lo || across > F.Hi) return false;
    // A pointed shape or an arrow of no length (a zero value) has no area: nothing of it is drawn.
    const bool boxed = Style == bsRectangle || Style == bsCilinder || Style == bsRectGradient ||
                       Style == bsBevel || Style == bsSlantCube || Style == bsEllipse;
    if (StartPos == EndPos && !boxed) return false;
    switch (Style) {
    case bsPyramid:
    case bsInvPyramid:
    case bsCone:
    case bsInvCone:
        return inPolygon({F.At(F.Lo, base), F.At(F.Hi, base), F.At(F.Mid, tip)});
    case bsEllipse:
        return v ? PointInEllipse(P, F.Lo, StartPos, F.Hi, EndPos)
                 : PointInEllipse(P, StartPos, F.Lo, EndPos, F.Hi);
    case bsDiamond: {
        const int midV = (StartPos + EndPos) / 2;
        return inPolygon({F.At(F.Mid, StartPos), F.At(F.Hi, midV), F.At(F.Mid, EndPos), F.At(F.Lo, midV)});
    }
    case bsArrow:
    case bsInvArrow: {
        // A shaft half as wide as the bar and a head as wide as the bar and half as long, drawn
        // from the origin's end to the value's end (bsArrow) or back.
        // The shaft answers on the pixels whose middles its drawn edges hold, also where a
        // narrow bar leaves it less than a pixel on each side of its middle.
        const int w = F.Hi - F.Lo;
        const bool toStart = (Style == bsArrow) == v;
        const int to = toStart ? StartPos : EndPos;
        const int head = std::min(w / 2, EndPos - StartPos);
        const int neck = toStart ? to + head : to - head;
        if (PointInTriangle(P, F.At(F.Lo, neck), F.At(F.Hi, neck), F.At(F.Mid, to))) return true;
        return std::abs(across - F.Mid) <= w / 4.0 + 0.5 &&
               (toStart ? along >= neck && along <= EndPos : along >= StartPos && along <= neck);
    }
    default:
        return along >= StartPos && along <= EndPos;
    }
}

bool TBarSeries::InternalClicked(int ValueIndex, TPoint P) {
    const int x0 = CalcXPos(ValueIndex);
    int top = CalcYPos(ValueIndex), bottom = GetOriginPos(ValueIndex);
    if (bottom < top) std::swap(top, bottom);
    const BarFrame f{true, x0, x0 + CurrentBarSize, x0 + CurrentBarSize / 2};
    TCanvas3D* c = Canvas();
    return BarShapeClicked(*this, c, Is3D() && c, GetBarStyle(ValueIndex), f, top, bottom, GetConePercent(),
                           P);
}

// ---------------------------------------------------------------------------
// Horizontal bars

const ClassInfo& THorizBarSeries::StaticClass() {
    using C = THorizBarSeries;
    static const PropInfo props[] = {
        MakeProp<&C::GetCustomBarHeight, &C::SetCustomBarHeight>("CustomBarHeight").Default(0),
    };
    static const ClassInfo info =
        MakeClassInfo<C>("THorizBarSeries", &TCustomBarSeries::StaticClass(), props);
    return info;
}

THorizBarSeries::THorizBarSeries(TComponent* AOwner) : TCustomBarSeries(AOwner) {
    SetHorizontal();
    GetXValues()->SetOrder(loNone);
    GetYValues()->SetOrder(loAscending);
    GetGradient()->SetDirection(gdLeftRight);
    MandatoryValueList()->SetName(u"Bar");
}

void THorizBarSeries::CalcVerticalMargins(int& TopMargin, int& BottomMargin) {
    TopMargin = BottomMargin = 0;
    InternalApplyBarMargin(TopMargin, BottomMargin);
}

void THorizBarSeries::CalcHorizMargins(int& LeftMargin, int& RightMargin) {
    LeftMargin = RightMargin = 0;
    const int m = GetMarks()->GetVisible() ? CalcMarkLength(-1) + 1 : 0;
    if (m == 0) return;
    const bool inverted = GetHorizAxisObject() && GetHorizAxisObject()->GetInverted();
    if (GetUseYOrigin() && TChartSeries::MinXValue() < GetYOrigin())
        (inverted ? RightMargin : LeftMargin) += m;
    if (!(GetUseYOrigin() && TChartSeries::MaxXValue() <= GetYOrigin()))
        (inverted ? LeftMargin : RightMargin) += m;
}

void THorizBarSeries::CalcSelectionPos(int ValueIndex, int& X, int& Y) {
    TCustomBarSeries::CalcSelectionPos(ValueIndex, X, Y);
    Y += CurrentBarSize >> 1;
}

int THorizBarSeries::InternalCalcMarkLength(int ValueIndex) {
    if (ValueIndex == -1) return MaxMarkWidth();
    return GetMarks()->TextWidth(ValueIndex);
}

void THorizBarSeries::DrawMark(int ValueIndex, const String& Text, TSeriesMarkPosition& Position) {
    TSeriesMarks* marks = GetMarks();
    const int half = CurrentBarSize / 2;
    const int distance = marks->GetCallout()->GetDistance();
    int d = marks->GetCallout()->GetLength() + distance;
    if (GetOriginPos(ValueIndex) > Position.ArrowStart.X) {
        d = -d - Position.Width;
        Position.ArrowStart.X -= distance;
    } else {
        Position.ArrowStart.X += distance;
    }
    Position.ArrowStart.Y += half;
    Position.ArrowEnd.Y += half;
    Position.ArrowEnd.X += d;
    // Beside the bar's end, centred on the bar.
    Position.TopLeft.X += Position.Width / 2 + d;
    Position.TopLeft.Y += Position.Height / 2 + half;
    TCustomBarSeries::DrawMark(ValueIndex, Text, Position);
}

double THorizBarSeries::MaxXValue() const {
    return MaxMandatoryValue(TCustomBarSeries::MaxXValue());
}

double THorizBarSeries::MinXValue() const {
    return MinMandatoryValue(TCustomBarSeries::MinXValue());
}

double THorizBarSeries::MaxYValue() const {
    if (GetMultiBar() == mbSelfStack) return MinYValue();
    if (GetMultiBar() == mbSideAll) return Count() + PreviousBarPoints - 1;
    return TCustomBarSeries::MaxYValue();
}

double THorizBarSeries::MinYValue() const {
    if (GetMultiBar() == mbSelfStack && GetParentChart()) return GetParentChart()->SeriesIndexOf(this);
    return TCustomBarSeries::MinYValue();
}

int THorizBarSeries::CalcYPos(int ValueIndex) const {
    int pos;
    TChartAxis* axis = GetVertAxisObject();
    switch (GetMultiBar()) {
    case mbSideAll:
        pos = axis->CalcYPosValue(ValueIndex + PreviousBarPoints) - (CurrentBarSize >> 1);
        break;
    case mbSelfStack:
        pos = axis->CalcYPosValue(MinYValue()) - (CurrentBarSize >> 1);
        break;
    case mbNone:
        pos = TCustomBarSeries::CalcYPos(ValueIndex) - (CurrentBarSize >> 1);
        break;
    default:
        pos = TCustomBarSeries::CalcYPos(ValueIndex) +
              static_cast<int>(Round(CurrentBarSize * (BarOrder - BarSlotsOrOne() * 0.5 - 1.0)));
    }
    return ApplyBarOffset(pos);
}

int THorizBarSeries::CalcXPos(int ValueIndex) const {
    const TMultiBar m = GetMultiBar();
    if (m == mbNone || m == mbSide || m == mbSideAll) return TCustomBarSeries::CalcXPos(ValueIndex);
    const double v = PointOrigin(ValueIndex, false) + MandatoryValueList()->GetValue(ValueIndex);
    if (m != mbStacked100) return CalcXPosValue(v);
    const double total = PointOrigin(ValueIndex, true);
    return total == 0 ? 0 : CalcXPosValue(v * 100 / total);
}

bool THorizBarSeries::DrawSeriesForward(int ValueIndex) const {
    const TMultiBar m = GetMultiBar();
    if (m == mbNone) return TCustomBarSeries::DrawSeriesForward(ValueIndex);
    if (m == mbSide || m == mbSideAll) return false;
    return !(GetHorizAxisObject() && GetHorizAxisObject()->GetInverted());
}

int THorizBarSeries::GetOriginPos(int ValueIndex) const {
    return InternalGetOriginPos(ValueIndex, GetHorizAxisObject()->IStartPos);
}

void THorizBarSeries::CalcBarBounds(int ValueIndex, TRect& R) const {
    const bool pen = PenVisible();
    R.Top = CalcYPos(ValueIndex);
    const bool inverted = GetVertAxisObject()->GetInverted();
    if (GetBarWidthPercent() == 100 && GetCustomBarWidth() == 0 && GetMultiBar() != mbSelfStack) {
        const bool next = NextPointIsNextBar();
        if (next && inverted && ValueIndex < Count() - 1)
            R.Bottom = CalcYPos(ValueIndex + 1);
        else if (next && !inverted && ValueIndex > 0)
            R.Bottom = CalcYPos(ValueIndex - 1);
        else
            R.Bottom = CurrentBarSize + R.Top - (pen ? GetPen()->GetWidth() : 0);
    } else {
        R.Bottom = R.Top + CurrentBarSize - 1;
    }
    R.Left = GetOriginPos(ValueIndex);
    R.Right = CalcXPos(ValueIndex);
    if (!pen) {
        // A bar of no width stays so: it is drawn as a line at its origin.
        if (R.Left > R.Right) {
            ++R.Left;
            --R.Right;
        } else if (R.Right > R.Left) {
            ++R.Right;
        }
        ++R.Bottom;
    }
}

void THorizBarSeries::DrawBar(int ValueIndex, int StartPos, int EndPos) {
    DrawBarShape(ValueIndex, StartPos, EndPos);
}

void THorizBarSeries::DrawTickLine(int Pos, TBarStyle Style) {
    TCanvas3D* c = Canvas();
    const TRect& b = BarBounds;
    if (IsRectStyle(Style)) {
        c->VertLine3D(Pos, b.Top, b.Bottom, StartZ);
        if (Is3D()) {
            const TPoint t0 = c->Calculate3DPosition(Pos, b.Top, StartZ);
            const TPoint t1 = c->Calculate3DPosition(Pos, b.Top, EndZ);
            const TPoint t2 = c->Calculate3DPosition(Pos + 1, b.Top, EndZ);
            const TPoint b0 = c->Calculate3DPosition(Pos, b.Bottom, StartZ);
            const TPoint b1 = c->Calculate3DPosition(Pos, b.Bottom, EndZ);
            const TPoint b2 = c->Calculate3DPosition(Pos + 1, b.Bottom, EndZ);
            if (ZuzCull(t0, t1, t2))
                c->ZLine3D(Pos, b.Top, StartZ, EndZ);
            else if (!ZuzCull(b0, b1, b2))
                c->ZLine3D(Pos, b.Bottom, StartZ, EndZ);
        }
    } else if (Style == bsArrow) {
        const int h = (b.Bottom - b.Top) / 4;
        c->VertLine3D(Pos, b.Top + h, b.Bottom - h, MiddleZ);
    }
}

bool THorizBarSeries::InternalClicked(int ValueIndex, TPoint P) {
    const int y0 = CalcYPos(ValueIndex);
    int left = GetOriginPos(ValueIndex), right = CalcXPos(ValueIndex);
    if (right < left) std::swap(left, right);
    const BarFrame f{false, y0, y0 + CurrentBarSize, y0 + CurrentBarSize / 2};
    TCanvas3D* c = Canvas();
    return BarShapeClicked(*this, c, Is3D() && c, GetBarStyle(ValueIndex), f, left, right, GetConePercent(),
                           P);
}
