// Drawing of the line-type series: the three passes (shadow, outline, line),
// one value with its null rule, the segment painter in 2D and 3D, the edge
// segment, the area under the line, the legend symbol and the marks.
#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/engine/axispanel.h"
#include "chart/engine/chartaxis.h"
#include "chart/series/series.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

namespace {

// Restores a value when the scope ends, also when drawing raises.
template <class F>
class Finally {
public:
    explicit Finally(F f) : FF(std::move(f)) {}
    ~Finally() { FF(); }
    Finally(const Finally&) = delete;
    Finally& operator=(const Finally&) = delete;

private:
    F FF;
};

// Blends what the block draws when Transparency is not 0.
class Blending {
public:
    Blending(TCanvas3D* Canvas, const TRect& R, int Transparency) : FCanvas(Canvas) {
        if (Transparency != 0) FBlend = Canvas->BeginBlending(R, Transparency);
    }
    ~Blending() {
        if (FBlend) FCanvas->EndBlending(std::move(FBlend));
    }
    Blending(const Blending&) = delete;
    Blending& operator=(const Blending&) = delete;

private:
    TCanvas3D* FCanvas;
    Owned<TZuzBlend> FBlend;
};

TRect BoundsOf(std::span<const TPoint> Points, int Grow = 0) {
    TRect r = RectFromPolygon(Points);
    return {r.Left - Grow, r.Top - Grow, r.Right + Grow, r.Bottom + Grow};
}

// The screen bounds of R at depth Z.
TRect Rect3D(TCanvas3D* Canvas, const TRect& R, int Z) {
    const TPoint q[4] = {
        Canvas->Calculate3DPosition(R.Left, R.Top, Z), Canvas->Calculate3DPosition(R.Right, R.Top, Z),
        Canvas->Calculate3DPosition(R.Right, R.Bottom, Z), Canvas->Calculate3DPosition(R.Left, R.Bottom, Z)};
    return RectFromPolygon(q);
}

} // namespace

TCustomAxisPanel* TCustomSeries::Panel() const {
    return dynamic_cast<TCustomAxisPanel*>(GetParentChart());
}

TChartAxis* TCustomSeries::PositionAxis() const {
    return YMandatory() ? GetHorizAxisObject() : GetVertAxisObject();
}

TChartAxis* TCustomSeries::ValueAxis() const {
    return YMandatory() ? GetVertAxisObject() : GetHorizAxisObject();
}

// ---------------------------------------------------------------------------
// The passes

void TCustomSeries::QuietChange(const std::function<void()>& Change) {
    // The passes change the series for a moment while it is drawn: no repaint
    // or colour event may go out for that.
    ISeriesChart* chart = FParentChart;
    FParentChart = nullptr;
    Finally restore([&] { FParentChart = chart; });
    Change();
}

void TCustomSeries::DrawAllValues() {
    const TColor storedColor = StoredSeriesColor(), internalColor = GetInternalColor();
    const auto restoreColor = [&] {
        SetSeriesColor(storedColor);
        if (storedColor == clDefault) ChangeInternalColor(internalColor);
    };
    if (FShadow->GetVisible() && FShadow->GetSize() != 0) {
        const bool savedPointer = FPointer->GetVisible();
        TChartAxis* h = GetHorizAxisObject();
        TChartAxis* v = GetVertAxisObject();
        const int dx = FShadow->GetHorizSize(), dy = FShadow->GetVertSize();
        QuietChange([&] {
            SetSeriesColor(FShadow->GetColor());
            FPointer->SetVisible(false);
        });
        if (h) h->IStartPos += dx, h->IEndPos += dx;
        if (v) v->IStartPos += dy, v->IEndPos += dy;
        FLinePenReady = false;
        Finally restore([&] {
            if (h) h->IStartPos -= dx, h->IEndPos -= dx;
            if (v) v->IStartPos -= dy, v->IEndPos -= dy;
            QuietChange([&] {
                FPointer->SetVisible(savedPointer);
                restoreColor();
            });
        });
        DrawValuesOnce(dx, dy);
    }
    if (FOutLine->GetVisible()) {
        Owned<TChartPen> savedPen(Create<TChartPen>());
        savedPen->Assign(GetLinePen());
        Owned<TChartHiddenPen> savedOutline(Create<TChartHiddenPen>());
        savedOutline->Assign(FOutLine.get());
        QuietChange([&] {
            SetSeriesColor(FOutLine->GetColor());
            SetLinePen(FOutLine.get());
            GetLinePen()->SetWidth(2 * savedOutline->GetWidth() + savedPen->GetWidth());
        });
        FLinePenReady = false;
        // The series colour is put back as it was (the line's own colour is
        // the series colour here, not the pen's).
        Finally restore([&] {
            QuietChange([&] {
                SetLinePen(savedPen.get());
                FOutLine->Assign(savedOutline.get());
                restoreColor();
            });
        });
        DrawValuesOnce(0, 0);
    }
    FLinePenReady = false;
    DrawValuesOnce(0, 0);
}

// Blended face by face, the faces of a 3D area that overlap on screen (its top and end faces seen
// from the side, the polygons of both ends seen from behind) would build up towards its own
// colour: a transparent 3D area is drawn opaque and blended once, over the whole box it stands in
// (moved by DX, DY where its shadow is drawn).
void TCustomSeries::DrawValuesOnce(int DX, int DY) {
    ISeriesChart* chart = GetParentChart();
    if (!FDrawArea || FTransparency == 0 || !chart || !chart->GetView3D()) {
        TChartSeries::DrawAllValues();
        return;
    }
    TCanvas3D* canvas = chart->GetCanvas();
    const int w = GetLinePen()->GetVisible() ? GetLinePen()->GetWidth() : 0;
    TRect r = chart->GetChartRect();
    r = TRect(r.Left + DX - w - 1, r.Top + DY - w - 1, r.Right + DX + w + 1, r.Bottom + DY + w + 1);
    const TRect front = Rect3D(canvas, r, StartZ - w), back = Rect3D(canvas, r, EndZ + w);
    const TRect box = Joined(front, back);
    FHeldPointers.clear();
    {
        const TRestoreOnExit<bool> whole(FBlendingWhole, true);
        Blending blend(canvas, box, FTransparency);
        TChartSeries::DrawAllValues();
    }
    std::vector<HeldPointer> held;
    held.swap(FHeldPointers);
    for (const HeldPointer& p : held) DrawPointer(p.X, p.Y, p.Color, p.ValueIndex);
}

// ---------------------------------------------------------------------------
// One value

void TCustomSeries::DrawValue(int ValueIndex) {
    ISeriesChart* chart = GetParentChart();
    TCanvas3D* canvas = chart ? chart->GetCanvas() : nullptr;
    if (!canvas || ValueIndex < 0 || ValueIndex >= Count()) return;
    const TColor color = GetValueColor(ValueIndex);
    int x = CalcXPos(ValueIndex), y = CalcYPos(ValueIndex);
    const bool forward = DrawValuesForward();
    const int first = forward ? FirstValueIndex : LastValueIndex;
    const int last = forward ? LastValueIndex : FirstValueIndex;
    const TTreatNullsStyle nulls = GetTreatNulls();
    if (color == clNone && nulls == tnSkip) {
        if (ValueIndex != first) {
            x = OldX;
            y = OldY;
        } else {
            for (int i = 0; i < Count(); ++i)
                if (!IsNull(i)) {
                    x = CalcXPos(i);
                    y = CalcYPos(i);
                    break;
                }
        }
    }
    // Every drawing step below sets up its own pen, so the pen is not reset
    // to black here: a pen changed per point costs a device pen per point.
    if (canvas->Brush->GetColor() != color) canvas->Brush->SetColor(color);
    // The point drawn last is the one the segment comes from, the next one when drawing
    // backwards; the first point drawn forwards comes from the one before the chart's edge.
    if (nulls == tnDontPaint &&
        (ValueIndex != first ? OldColor == clNone : forward && ValueIndex > 0 && IsNull(ValueIndex - 1))) {
        OldX = x;
        OldY = y;
    }
    OriginPos = GetOriginPos(ValueIndex);
    const bool isLast = ValueIndex == last;
    if (ValueIndex == first) {
        FLinePenReady = false;
        if (FDark3D) {
            const TCustomAxisPanel* p = Panel();
            DarkSlope = p && p->SeriesWidth3D != 0
                            ? std::abs(static_cast<double>(p->SeriesHeight3D) / p->SeriesWidth3D)
                            : 1.0;
        }
        if (forward && ValueIndex > 0) {
            OldColor = GetValueColor(ValueIndex - 1);
            DrawEdgeSegment(ValueIndex, color, false);
        }
        if (isLast && FPointer->GetVisible() && color != clNone) DrawPointer(x, y, color, ValueIndex);
        if (canvas->GetSupportsFullRotation() && FDrawArea && chart->GetView3D())
            canvas->RectangleZ(x, y, OriginPos, StartZ, EndZ);
    } else if (isLast) {
        DrawSegment(ValueIndex, x, y, color, isLast, true);
        if (!forward && ValueIndex > 0) DrawEdgeSegment(ValueIndex, color, true);
    } else {
        DrawSegment(ValueIndex, x, y, color, isLast, true);
    }
    OldX = x;
    OldY = y;
    OldOriginPos = OriginPos;
    OldColor = color;
}

void TCustomSeries::InitDrawValue(int ValueIndex) {
    if (ValueIndex <= 0 || ValueIndex > Count()) return;
    const int i = ValueIndex - 1;
    OldX = CalcXPos(i);
    OldY = CalcYPos(i);
    OldOriginPos = GetOriginPos(i);
    OldColor = GetValueColor(i);
}

int TCustomSeries::EdgeInterpolation(int Index, double E) const {
    const int p = Index - 1;
    const TChartValueList* pos = NotMandatoryValueList();
    const TChartValueList* val = MandatoryValueList();
    const double xp = pos->GetValue(p), xc = pos->GetValue(Index);
    if (xc == xp) return YMandatory() ? CalcYPos(p) : CalcXPos(p);
    const double yp = val->GetValue(p), yc = val->GetValue(Index);
    double y;
    const TChartAxis* axis = ValueAxis();
    if (axis && axis->GetLogarithmic()) {
        y = yp <= 0 || yc <= 0
                ? 0
                : std::exp(std::log(yp) + (E - xp) * (std::log(yc) - std::log(yp)) / (xc - xp));
    } else {
        y = (yc - yp) * (E - xp) / (xc - xp) + yp;
    }
    return CalcPosValue(y);
}

void TCustomSeries::DrawEdgeSegment(int ValueIndex, TColor Color, bool FromScreen) {
    const int x = CalcXPos(ValueIndex), y = CalcYPos(ValueIndex);
    const int prev = ValueIndex - 1;
    if (FDrawArea) {
        OldX = CalcXPos(prev);
        OldY = CalcYPos(prev);
        OldOriginPos = GetOriginPos(prev);
    } else {
        const TPoint start = EdgeStart(ValueIndex, FromScreen);
        OldX = start.X;
        OldY = start.Y;
    }
    if (!IsNull(prev)) DrawSegment(ValueIndex, x, y, Color, false, false);
}

TPoint TCustomSeries::EdgeStart(int ValueIndex, bool FromScreen) const {
    const TChartAxis* axis = PositionAxis();
    const TRect r = GetParentChart()->GetChartRect();
    const int x = axis && axis->GetInverted() ? r.Right : r.Left;
    if (FStairs) return {x, CalcYPos(ValueIndex - 1)};
    if (!axis) return {x, OldY};
    return {x, EdgeInterpolation(ValueIndex, FromScreen ? XScreenToValue(x) : axis->CalcPosPoint(x))};
}

// ---------------------------------------------------------------------------
// The segment painter

void TCustomSeries::LinePrepareCanvas(TCanvas3D* Canvas, TColor Color) {
    const TColor c = Canvas->GetMonochrome() ? clWhite : Color;
    ISeriesChart* chart = GetParentChart();
    if (chart && chart->GetView3D()) {
        if (GetBrush()->HasImage()) {
            Canvas->AssignBrush(GetBrush(), c);
        } else {
            // A picture an earlier series left in the brush would fill this one's ribbon.
            if (Canvas->Brush->GetBitmap()) Canvas->Brush->SetBitmap(nullptr);
            Canvas->Brush->SetStyle(GetLineBrush());
            Canvas->Brush->SetColor(c);
        }
        Canvas->AssignVisiblePen(GetLinePen());
    } else {
        Canvas->Brush->SetStyle(bsClear);
        Canvas->AssignVisiblePenColor(GetLinePen(), c);
    }
}

void TCustomSeries::DrawSegment(int ValueIndex, int X, int Y, TColor Color, bool IsLast,
                                bool DrawOldPointer) {
    ISeriesChart* chart = GetParentChart();
    TCanvas3D* canvas = chart->GetCanvas();
    const bool is3D = chart->GetView3D();
    const TTreatNullsStyle nulls = GetTreatNulls();
    const bool skip = (X == OldX && Y == OldY) || (Color == clNone && nulls != tnIgnore);
    // Drawn backwards the segment runs from the later point back; the piece from a point before
    // the chart's edge (drawn without the old pointer) runs from that point on all the same.
    const bool backwards = !DrawValuesForward() && DrawOldPointer;
    if (!skip) {
        const int w = GetLinePen()->GetWidth();
        // A null point drawn at its value (tnIgnore) has no colour of its own: the segment and
        // the area into it take the series'.
        const TColor own = Color == clNone ? GetSeriesColor() : Color;
        if (is3D && (FDrawArea || FDrawLine)) {
            TColor c = !FColorEachLine && !FDrawArea ? GetSeriesColor() : GetAreaBrushColor(own);
            if (!GetBrush()->HasImage()) {
                if (canvas->Brush->GetBitmap()) canvas->Brush->SetBitmap(nullptr);
                if (canvas->Brush->GetColor() != c) canvas->Brush->SetColor(c);
                if (canvas->Brush->GetStyle() != GetLineBrush()) canvas->Brush->SetStyle(GetLineBrush());
            } else {
                chart->SetBrushCanvas(c, GetBrush(), clWhite);
            }
            canvas->AssignVisiblePen(GetLinePen());
            if (!FStairs) {
                if (FLineHeight != 0) {
                    TFourPoints face{TPoint{X, Y}, TPoint{OldX, OldY}, TPoint{OldX, OldY + FLineHeight},
                                     TPoint{X, Y + FLineHeight}};
                    {
                        Blending b(canvas, BoundsOf(face, w), FaceTransparency());
                        canvas->PlaneFour3D(face, StartZ, StartZ);
                    }
                    if (IsLast) {
                        Blending b(canvas, TRect(X - w, Y - w, X + w, Y + FLineHeight + w),
                                   FaceTransparency());
                        canvas->RectangleZ(X, Y, Y + FLineHeight, StartZ, EndZ);
                    }
                }
                const TColor saved = canvas->Brush->GetColor();
                const int dx = X - OldX;
                if (FDark3D && !canvas->GetSupportsFullRotation() && dx != 0 && DarkSlope != 0 &&
                    DarkSlope < static_cast<double>(OldY - Y) / dx)
                    canvas->Brush->SetColor(ApplyDark(saved, DarkColorQuantity));
                if (canvas->GetMonochrome()) canvas->Brush->SetColor(clWhite);
                const TPoint corners[4] = {canvas->Calculate3DPosition(OldX, OldY, StartZ - w),
                                           canvas->Calculate3DPosition(X, Y, StartZ - w),
                                           canvas->Calculate3DPosition(X, Y, EndZ + w),
                                           canvas->Calculate3DPosition(OldX, OldY, EndZ + w)};
                Blending b(canvas, BoundsOf(corners), FaceTransparency());
                if (!FGradient->GetVisible()) {
                    canvas->Plane3D(TPoint{X, Y}, TPoint{OldX, OldY}, StartZ, EndZ);
                } else {
                    const TPoint q[4] = {canvas->Calculate3DPosition(OldX, OldY, StartZ),
                                         canvas->Calculate3DPosition(X, Y, StartZ),
                                         canvas->Calculate3DPosition(X, Y, EndZ),
                                         canvas->Calculate3DPosition(OldX, OldY, EndZ)};
                    canvas->ClipPolygon(q, 4, false);
                    // The face starts from its own shade; the stored gradient stays as the
                    // operator set it, so every paint and every saved file is the same.
                    TZuzGradient face;
                    face.Assign(FGradient.get());
                    face.SetStartColor(canvas->Brush->GetColor());
                    face.Draw(canvas, RectFromPolygon(q));
                    canvas->UnClipRectangle();
                    if (canvas->Pen->GetStyle() != psClear) {
                        canvas->Brush->SetStyle(bsClear);
                        canvas->Plane3D(TPoint{X, Y}, TPoint{OldX, OldY}, StartZ, EndZ);
                    }
                }
                canvas->Brush->SetColor(saved);
            } else {
                const TColor saved = canvas->Brush->GetColor();
                const auto dark = [&] {
                    if (FDark3D) canvas->Brush->SetColor(ApplyDark(saved, DarkColorQuantity));
                };
                // A step holds a point's value up to the next point, whichever way the values
                // are drawn: seen from behind the segment runs from the later point back.
                int x0 = OldX, y0 = OldY, x1 = X, y1 = Y;
                if (backwards) std::swap(x0, x1), std::swap(y0, y1);
                if (YMandatory()) {
                    if (!FInvertedStairs) {
                        canvas->RectangleY(x0, y0, x1, StartZ, EndZ);
                        dark();
                        canvas->RectangleZ(x1, y1, y0, StartZ, EndZ);
                        canvas->Brush->SetColor(saved);
                    } else {
                        dark();
                        canvas->RectangleZ(x0, y0, y1, StartZ, EndZ);
                        canvas->Brush->SetColor(saved);
                        canvas->RectangleY(x1, y1, x0, StartZ, EndZ);
                    }
                } else if (!FInvertedStairs) {
                    canvas->RectangleZ(x0, y0, y1, StartZ, EndZ);
                    dark();
                    canvas->RectangleY(x0, y1, x1, StartZ, EndZ);
                    canvas->Brush->SetColor(saved);
                } else {
                    dark();
                    canvas->RectangleY(x0, y0, x1, StartZ, EndZ);
                    canvas->Brush->SetColor(saved);
                    canvas->RectangleZ(x1, y0, y1, StartZ, EndZ);
                }
            }
        } else if (!is3D && !FDrawArea && FDrawLine) {
            const TColor c = FPointer->GetVisible() && !FColorEachLine ? GetSeriesColor() : own;
            if (!FLinePenReady || FLinePenColor != c) {
                LinePrepareCanvas(canvas, c);
                FLinePenReady = FTransparency == 0;
                FLinePenColor = c;
            }
            Blending b(canvas,
                       TRect(std::min(OldX, X) - w, std::min(OldY, Y) - w, std::max(OldX, X) + w,
                             std::max(OldY, Y) + w),
                       FTransparency);
            // A step runs along the position axis first (the value axis when inverted): across
            // then up on a vertical series, up then across on a horizontal one, as in 3D. Drawn
            // backwards (an inverted axis) it is walked from its end: the other way round.
            if (!FStairs) {
                canvas->Line(OldX, OldY, X, Y);
            } else if ((FInvertedStairs != YMandatory()) != backwards) {
                canvas->DoHorizLine(OldX, X, OldY);
                canvas->LineTo(X, Y);
            } else {
                canvas->DoVertLine(OldX, OldY, Y);
                canvas->LineTo(X, Y);
            }
        }
        if (FDrawArea) {
            FLinePenReady = false;
            canvas->Brush->SetColor(GetAreaBrushColor(own));
            if (FAreaLinesPen->GetColor() == clZuzColor || !FAreaLinesPen->GetVisible())
                canvas->AssignVisiblePenColor(FAreaLinesPen.get(), canvas->Brush->GetColor());
            else
                canvas->AssignVisiblePen(FAreaLinesPen.get());
            PaintArea(ValueIndex, X, Y, Color, IsLast, backwards);
        }
    }
    if (FPointer->GetVisible() && DrawOldPointer) {
        if (OldColor == clNone) {
            if (nulls != tnDontPaint) DrawPointer(OldX, OldY, Color, ValueIndex - 1);
        } else {
            DrawPointer(OldX, OldY, OldColor, ValueIndex - 1);
        }
        if (IsLast && Color != clNone) DrawPointer(X, Y, Color, ValueIndex);
    }
}

// ---------------------------------------------------------------------------
// The area under a segment

int TCustomSeries::AreaFaceZ(const TCanvas3D* Canvas) const {
    const int rotation = Canvas->View3DOptions ? Canvas->View3DOptions->GetRotation() : 0;
    return rotation < 91 || rotation > 269 ? StartZ : EndZ;
}

void TCustomSeries::PaintArea(int ValueIndex, int X, int Y, TColor Color, bool IsLast, bool Backwards) {
    ISeriesChart* chart = GetParentChart();
    TCanvas3D* canvas = chart->GetCanvas();
    const bool is3D = chart->GetView3D();
    const bool vertical = YMandatory();
    TColor areaColor = FAreaChartBrush->GetColor();
    if (areaColor == clZuzColor) areaColor = GetSeriesColor();
    if (FAreaChartBrush->HasImage() && areaColor == canvas->Brush->GetColor()) areaColor = clWhite;
    const TColor brushColor = canvas->Brush->GetColor();
    chart->SetBrushCanvas(brushColor, FAreaChartBrush.get(), areaColor);
    const TTreatNullsStyle nulls = GetTreatNulls();
    if (is3D) {
        const bool nextNull = ValueIndex + 1 < Count() && IsNull(ValueIndex + 1) && nulls == tnDontPaint;
        const bool prevNull = ValueIndex > 0 && IsNull(ValueIndex - 1) && nulls == tnDontPaint;
        if (ValueIndex == LastDisplayedIndex() || nextNull || prevNull) {
            if (FDark3D) canvas->Brush->SetColor(ApplyDark(canvas->Brush->GetColor(), DarkColorQuantity));
            // The end face is as transparent as the area it closes.
            const TPoint a = vertical ? TPoint{X, Y} : TPoint{OriginPos, Y};
            const TPoint b = vertical ? TPoint{X, OriginPos} : TPoint{X, Y};
            const TPoint face[4] = {
                canvas->Calculate3DPosition(a, StartZ), canvas->Calculate3DPosition(a, EndZ),
                canvas->Calculate3DPosition(b, EndZ), canvas->Calculate3DPosition(b, StartZ)};
            Blending blend(canvas, BoundsOf(face, 1), FaceTransparency());
            if (vertical)
                canvas->RectangleZ(X, Y, OriginPos, StartZ, EndZ);
            else
                canvas->RectangleY(OriginPos, Y, X, StartZ, EndZ);
            chart->SetBrushCanvas(brushColor, FAreaChartBrush.get(), areaColor);
        }
    }
    if (!FStairs) {
        const TFourPoints poly = vertical ? TFourPoints{TPoint{OldX, OldOriginPos}, TPoint{OldX, OldY},
                                                        TPoint{X, Y}, TPoint{X, OriginPos}}
                                          : TFourPoints{TPoint{OldOriginPos, OldY}, TPoint{OldX, OldY},
                                                        TPoint{X, Y}, TPoint{OriginPos, Y}};
        TRect bounds = RectFromPolygon(poly.data(), 4);
        if (is3D) bounds = Rect3D(canvas, bounds, StartZ);
        {
            Blending b(canvas, bounds, FaceTransparency());
            if (!is3D) {
                if (!FGradient->GetVisible()) {
                    canvas->Polygon(poly.data(), 3);
                } else {
                    canvas->ClipPolygon(poly.data(), 4, false);
                    // The gradient runs from the highest value to the origin; a stacked area
                    // stands above its own values, and its piece is filled all the same.
                    const int top = CalcPosValue(MandatoryValueList()->GetMaxValue());
                    TRect run = vertical ? TRect(OldX, top, X, OriginPos) : TRect(OriginPos, OldY, top, Y);
                    const auto cover = [](int& From, int& To, int Low, int High) {
                        if (From <= To)
                            From = std::min(From, Low), To = std::max(To, High);
                        else
                            From = std::max(From, High), To = std::min(To, Low);
                    };
                    if (vertical)
                        cover(run.Top, run.Bottom, bounds.Top, bounds.Bottom);
                    else
                        cover(run.Left, run.Right, bounds.Left, bounds.Right);
                    FGradient->Draw(canvas, run);
                    canvas->UnClipRectangle();
                    canvas->Brush->SetStyle(bsClear);
                    if (canvas->Pen->GetStyle() != psClear) {
                        if (vertical)
                            canvas->DoVertLine(OldX, OldY, OldOriginPos);
                        else
                            canvas->DoHorizLine(OldOriginPos, OldX, OldY);
                    }
                }
            } else {
                const int z = AreaFaceZ(canvas);
                if (FGradient->GetVisible()) {
                    FGradient->Draw(canvas, poly, z);
                } else {
                    canvas->PlaneWithZ(poly.data(), z);
                }
                if (canvas->GetSupportsFullRotation())
                    canvas->PlaneWithZ(poly.data(), z == StartZ ? EndZ : StartZ);
            }
        }
        if (GetLinePen()->GetVisible()) {
            canvas->AssignVisiblePen(GetLinePen());
            canvas->LineWithZ(OldX, OldY, X, Y, StartZ);
        }
        return;
    }
    // A step holds a point's value up to the next point: drawn backwards, the one drawn now.
    const bool holdNew = FInvertedStairs != Backwards;
    TRect step;
    if (vertical)
        step = holdNew ? TRect(OldX, OriginPos, X + 1, Y) : TRect(OldX, OldOriginPos, X + 1, OldY);
    else
        step = holdNew ? TRect(OriginPos, OldY + 1, X + 1, Y) : TRect(OldOriginPos, OldY + 1, OldX + 1, Y);
    {
        Blending b(canvas, is3D ? Rect3D(canvas, step, StartZ) : step, FaceTransparency());
        if (!is3D) {
            if (FGradient->GetVisible()) {
                FGradient->Draw(canvas, step);
                canvas->Brush->SetStyle(bsClear);
            }
            canvas->Rectangle(step);
        } else {
            canvas->RectangleWithZ(step, StartZ);
            if (canvas->GetSupportsFullRotation()) canvas->RectangleWithZ(step, EndZ);
        }
    }
    if (GetLinePen()->GetVisible()) {
        canvas->AssignVisiblePen(GetLinePen());
        const int from = FInvertedStairs ? FirstVisibleIndex : FirstDisplayedIndex();
        const bool riserToNext = ValueIndex<LastVisibleIndex, riserFromPrevious = ValueIndex> from + 1;
        if (vertical) {
            const int level = holdNew ? Y : OldY;
            canvas->LineWithZ(OldX, level, X, level, StartZ);
            if (riserToNext && !holdNew) canvas->LineWithZ(X, OldY, X, Y, StartZ);
            if (riserFromPrevious && holdNew) canvas->LineWithZ(OldX, OldY, OldX, Y, StartZ);
        } else {
            const int level = holdNew ? X : OldX;
            canvas->LineWithZ(level, OldY, level, Y, StartZ);
            if (riserToNext && !holdNew) canvas->LineWithZ(OldX, Y, X, Y, StartZ);
            if (riserFromPrevious && holdNew) canvas->LineWithZ(OldX, OldY, X, OldY, StartZ);
        }
    }
}

// ---------------------------------------------------------------------------
// Pointers, legend and marks

TSeriesPointerStyle TCustomSeries::DoGetPointerStyle(int ValueIndex) {
    return OnGetPointerStyle ? OnGetPointerStyle(this, ValueIndex) : FPointer->GetStyle();
}

void TCustomSeries::DrawPointer(int X, int Y, TColor Color, int ValueIndex) {
    ISeriesChart* chart = GetParentChart();
    TCanvas3D* canvas = chart ? chart->GetCanvas() : nullptr;
    if (!canvas) return;
    if (FBlendingWhole) {
        FHeldPointers.push_back({X, Y, Color, ValueIndex});
        return;
    }
    FLinePenReady = false;
    FPointer->PrepareCanvas(canvas, Color);
    const TSeriesPointerStyle style = DoGetPointerStyle(ValueIndex);
    if (OnGetPointerStyle) FPointer->PrepareCanvas(canvas, Color);
    FPointer->Draw(X, Y, Color, style);
}

void ZuzPointerDrawLegend(TSeriesPointer* Pointer, TColor Color, const TRect& Rect, bool DrawPen,
                          TSeriesPointerStyle Style) {
    TChartSeries* series = Pointer->ParentSeries();
    ISeriesChart* chart = series ? series->GetParentChart() : nullptr;
    TCanvas3D* canvas = chart ? chart->GetCanvas() : nullptr;
    if (!canvas) return;
    Pointer->PrepareCanvas(canvas, Color);
    if (TChartPen* symbolPen = chart->LegendSymbolPen()) {
        canvas->AssignVisiblePen(symbolPen);
        DrawPen = symbolPen->GetVisible();
    }
    const int w = Rect.Right - Rect.Left, h = Rect.Bottom - Rect.Top;
    const int hs = std::min(Pointer->GetHorizSize(), DrawPen ? w / 3 : w / 2 + 1);
    const int vs = std::min(Pointer->GetVertSize(), DrawPen ? h / 3 : h / 2 + 1);
    Pointer->DrawPointer(canvas, false, (Rect.Left + Rect.Right) / 2, (Rect.Top + Rect.Bottom) / 2, hs, vs,
                         Color, Style);
}

void TCustomSeries::DrawLegendShape(int ValueIndex, const TRect& Rect) {
    ISeriesChart* chart = GetParentChart();
    TCanvas3D* canvas = chart ? chart->GetCanvas() : nullptr;
    if (!canvas) return;
    TColor color = ValueIndex == -1 ? GetSeriesColor() : LegendItemColor(ValueIndex);
    const int middle = (Rect.Top + Rect.Bottom) / 2;
    if (FPointer->GetVisible()) {
        if (FDrawLine) {
            if (!chart->LegendSymbolPen()) LinePrepareCanvas(canvas, color);
            canvas->DoHorizLine(Rect.Left, Rect.Right, middle);
        }
        TSeriesPointerStyle style = FPointer->GetStyle();
        if (OnGetPointerStyle && ValueIndex != -1) {
            style = OnGetPointerStyle(this, ValueIndex);
            color = FPointer->GetColor();
        }
        ZuzPointerDrawLegend(FPointer.get(), color, Rect, GetLinePen()->GetVisible(), style);
    } else if (FDrawLine && !FDrawArea) {
        if (chart->GetView3D()) {
            // A ribbon's block, drawn as the chart draws any block symbol: with the legend
            // symbol's gradient and shadow.
            TChartSeries::DrawLegendShape(ValueIndex, Rect);
        } else {
            // The same line as beside a pointer: in the series' colour, or
            // the operator cannot tell which legend entry is which line.
            if (!chart->LegendSymbolPen()) LinePrepareCanvas(canvas, color);
            canvas->DoHorizLine(Rect.Left, Rect.Right, middle);
        }
    } else {
        TChartSeries::DrawLegendShape(ValueIndex, Rect);
    }
}

int TCustomSeries::CalcMarkLength() {
    TMarksCallout* c = GetMarks()->GetCallout();
    return c->GetLength() + c->GetDistance();
}

void TCustomSeries::DrawMark(int ValueIndex, const String& Text, TSeriesMarkPosition& Position) {
    GetMarks()->ZPosition = StartZ;
    if (YMandatory()) GetMarks()->GetCallout()->ApplyArrowLength(Position);
    TChartSeries::DrawMark(ValueIndex, Text, Position);
}
