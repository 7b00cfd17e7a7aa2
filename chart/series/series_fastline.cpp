// The fast line series: one polyline through the visible points, drawn with
// the canvas's move and line operations, and a new point drawn at once.
#include "chart/canvas/gdiselection.h"
#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzgeometry.h"
#include "chart/engine/chartaxis.h"
#include "chart/series/series.h"

#include <algorithm>

const ClassInfo& TFastLineSeries::StaticClass() {
    using C = TFastLineSeries;
    // The fast line writes the series' settings first, then its own, and the values last; a
    // file of another order still loads, by name.
    static const PropInfo props[] = {
        PlaceInherited("Active"),
        PlaceInherited("Cursor"),
        PlaceInherited("Depth"),
        PlaceInherited("HorizAxis"),
        PlaceInherited("Marks"),
        PlaceInherited("DataSource"),
        PlaceInherited("PercentFormat"),
        PlaceInherited("SeriesColor"),
        PlaceInherited("ShowInLegend"),
        PlaceInherited("Title"),
        PlaceInherited("ValueFormat"),
        PlaceInherited("VertAxis"),
        PlaceInherited("XLabelsSource"),
        PlaceInherited("AfterDrawValues"),
        PlaceInherited("BeforeDrawValues"),
        PlaceInherited("OnAfterAdd"),
        PlaceInherited("OnBeforeAdd"),
        PlaceInherited("OnClearValues"),
        PlaceInherited("OnClick"),
        PlaceInherited("OnDblClick"),
        PlaceInherited("OnGetMarkText"),
        PlaceInherited("OnMouseEnter"),
        PlaceInherited("OnMouseLeave"),
        MakeProp<&C::GetAutoRepaint, &C::SetAutoRepaint>("AutoRepaint").Default(1),
        MakeProp<&C::GetDrawAllPoints, &C::SetDrawAllPoints>("DrawAllPoints").Default(1),
        MakeProp<&C::GetIgnoreNulls, &C::SetIgnoreNulls>("IgnoreNulls").Default(1),
        MakeProp<&C::GetInvertedStairs, &C::SetInvertedStairs>("InvertedStairs").Default(0),
        MakeProp<&C::GetLinePen, &C::SetLinePen>("LinePen"),
        MakeProp<&C::GetStairs, &C::SetStairs>("Stairs").Default(0),
        MakeProp<&C::GetTreatNulls, &C::SetTreatNulls>("TreatNulls").Default(tnIgnore),
        PlaceInherited("XValues"),
        PlaceInherited("YValues"),
    };
    static const ClassInfo info =
        OwningOrder(MakeClassInfo<C>("TFastLineSeries", &TCustomLineSeries::StaticClass(), props));
    return info;
}

TFastLineSeries::TFastLineSeries(TComponent* AOwner) : TCustomLineSeries(AOwner) {
    SingleFunctionPoint = false;
    KeepPointBeyondEdge = true;
    SetTreatNulls(tnIgnore);
    // The line takes the series' colour as the series joins a chart being read.
    GetLinePen()->ColorAlwaysStored = true;
}

void TFastLineSeries::Assign(TPersistent* Source) {
    if (auto* s = dynamic_cast<TFastLineSeries*>(Source)) {
        FAutoRepaint = s->FAutoRepaint;
        FDrawAllPoints = s->FDrawAllPoints;
        FFastPen = s->FFastPen;
        FDCPen = s->FDCPen;
        FIgnoreNulls = s->FIgnoreNulls;
        FInvertedStairs = s->FInvertedStairs;
        FStairs = s->FStairs;
    }
    TCustomLineSeries::Assign(Source);
}

void TFastLineSeries::SetPen(TChartPen* Value) {
    TCustomLineSeries::SetPen(Value);
    SetSeriesColor(GetLinePen()->GetColor());
}

void TFastLineSeries::SetSeriesColor(TColor Color) {
    TCustomLineSeries::SetSeriesColor(Color);
    GetLinePen()->SetColor(Color);
}

void TFastLineSeries::SetFastPen(bool Value) {
    if (!ZuzSetDCPenColor) return;
    FFastPen = Value;
    FDCPen = GetStockObject(DC_PEN);
}

// ---------------------------------------------------------------------------
// Margins and gallery

namespace {
// Half a pen each side, rounded so that a line at the edge stays whole.
int PenMargin(const TChartPen* Pen) {
    const int w = Pen->GetWidth();
    return w - (w - 2) / 2;
}
} // namespace

void TFastLineSeries::CalcHorizMargins(int& LeftMargin, int& RightMargin) {
    TCustomLineSeries::CalcHorizMargins(LeftMargin, RightMargin);
    const int m = PenMargin(GetLinePen());
    LeftMargin += m;
    RightMargin += m;
}

void TFastLineSeries::CalcVerticalMargins(int& TopMargin, int& BottomMargin) {
    TCustomLineSeries::CalcVerticalMargins(TopMargin, BottomMargin);
    const int m = PenMargin(GetLinePen());
    TopMargin += m;
    BottomMargin += m;
}

void TFastLineSeries::CreateSubGallery(const std::function<void(const String&)>& AddSubChart) {
    TCustomLineSeries::CreateSubGallery(AddSubChart);
    AddSubChart(VavIve_Marks);
    AddSubChart(VavIve_Dotted);
    AddSubChart(VavIve_Stairs);
}

void TFastLineSeries::SetSubGallery(TChartSeries* Series, int Index) {
    auto* s = dynamic_cast<TFastLineSeries*>(Series);
    if (!s) return;
    switch (Index) {
    case 1:
        s->GetMarks()->SetVisible(true);
        break;
    case 2:
        s->GetLinePen()->SetSmallDots(true);
        break;
    case 3:
        s->SetStairs(true);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------
// Drawing

void TFastLineSeries::CalcPosition(int ValueIndex, int& X, int& Y) const {
    X = GetHorizAxisObject()->CalcXPosValue(GetXValues()->Values()[static_cast<std::size_t>(ValueIndex)]);
    Y = GetVertAxisObject()->CalcYPosValue(GetYValues()->Values()[static_cast<std::size_t>(ValueIndex)]);
}

void TFastLineSeries::PrepareCanvas() {
    TCanvas3D* c = GetParentChart()->GetCanvas();
    c->AssignVisiblePen(GetLinePen());
    c->Brush->SetStyle(bsClear);
    c->SetBackMode(cbmTransparent);
}

void TFastLineSeries::PrepareLegendCanvas(int ValueIndex, TColor& BackColor, TBrushStyle& BrushStyle) {
    PrepareCanvas();
}

void TFastLineSeries::DoMove(int X, int Y) {
    TCanvas3D* c = GetParentChart()->GetCanvas();
    if (GetParentChart()->GetView3D())
        c->MoveTo3D(X, Y, MiddleZ);
    else
        c->MoveTo(X, Y);
}

void TFastLineSeries::LineToPoint(TCanvas3D* Canvas, int X, int Y) {
    if (GetParentChart()->GetView3D())
        Canvas->LineTo3D(X, Y, MiddleZ);
    else
        Canvas->LineTo(X, Y);
}

void TFastLineSeries::DrawAllValues() {
    const int first = FirstValueIndex, last = std::min(LastValueIndex, Count() - 1);
    if (first < 0 || last < first) return;
    PrepareCanvas();
    // A series that starts left of the chart comes in from the point before.
    CalcPosition(first > 0 ? first - 1 : 0, OldX, OldY);
    DoMove(OldX, OldY);
    if (first > 0) DrawValue(first);
    for (int i = first + 1; i <= last; ++i) DrawValue(i);
}

void TFastLineSeries::DrawValue(int ValueIndex) {
    if (ValueIndex < 0 || ValueIndex >= Count()) return;
    int x, y;
    CalcPosition(ValueIndex, x, y);
    // The pixel column is drawn already.
    if (x == OldX && (!FDrawAllPoints || y == OldY)) return;
    if (!FIgnoreNulls) {
        bool moveOnly;
        if (IsNull(ValueIndex)) {
            if (GetTreatNulls() == tnSkip) {
                x = OldX;
                y = OldY;
            }
            moveOnly = GetTreatNulls() != tnIgnore;
        } else
            moveOnly = GetTreatNulls() == tnDontPaint && ValueIndex > 0 && IsNull(ValueIndex - 1);
        if (moveOnly) {
            DoMove(x, y);
            OldX = x;
            OldY = y;
            return;
        }
    }
    TCanvas3D* c = GetParentChart()->GetCanvas();
    if (FStairs) {
        if (FInvertedStairs)
            LineToPoint(c, OldX, y);
        else
            LineToPoint(c, x, OldY);
    }
    LineToPoint(c, x, y);
    OldX = x;
    OldY = y;
}

void TFastLineSeries::NotifyNewValue(TChartSeries* Sender, int ValueIndex) {
    if (FAutoRepaint) {
        TCustomLineSeries::NotifyNewValue(Sender, ValueIndex);
        return;
    }
    // Only the repaint is saved: whoever listens for new points (the add
    // event, series fed from this one) still hears of each, or a function
    // over a fast line would silently miss readings.
    if (OnAfterAdd) OnAfterAdd(this, ValueIndex);
    NotifyValue(veAdd, ValueIndex);
    // Drawn at once, so only where there is a chart whose canvas draws now.
    ISeriesChart* chart = GetParentChart();
    TCanvas3D* c = chart ? chart->GetCanvas() : nullptr;
    if (!c || !c->ReferenceCanvas || !GetHorizAxisObject() || !GetVertAxisObject() || !GetActive()) return;
    if (ValueIndex < 0 || ValueIndex >= Count()) return;
    CalcPosition(ValueIndex > 0 ? ValueIndex - 1 : 0, OldX, OldY);
    if (FFastPen && FDCPen && ZuzSetDCPenColor) {
        // The canvas's own pen is made current first, so that the line
        // operations find nothing to select over the device-context pen.
        c->ReferenceCanvas->RequiredState(TCanvasState{csHandleValid, csPenValid, csBrushValid});
        const HDC dc = c->GetHandle();
        const TSelectedObject<HGDIOBJ> pen(dc, FDCPen, TSelection::Borrowed);
        ZuzSetDCPenColor(dc, static_cast<COLORREF>(ColorToRGB(GetLinePen()->GetColor())));
        DoMove(OldX, OldY);
        DrawValue(ValueIndex);
        return;
    }
    c->AssignVisiblePen(GetLinePen());
    DoMove(OldX, OldY);
    DrawValue(ValueIndex);
}

void TFastLineSeries::DrawLegendShape(int ValueIndex, const TRect& Rect) {
    if (ISeriesChart* chart = GetParentChart())
        if (TCanvas3D* c = chart->GetCanvas())
            c->DoHorizLine(Rect.Left, Rect.Right, (Rect.Top + Rect.Bottom) / 2);
}

void TFastLineSeries::DrawMark(int ValueIndex, const String& Text, TSeriesMarkPosition& Position) {
    GetMarks()->ApplyArrowLength(Position);
    TCustomLineSeries::DrawMark(ValueIndex, Text, Position);
}

// ---------------------------------------------------------------------------
// Mouse

int TFastLineSeries::Clicked(int X, int Y) {
    // With its pen hidden the line draws nothing to click.
    if (!GetLinePen()->GetVisible() || ClippedAway(X, Y)) return -1;
    const int first = FirstValueIndex, last = std::min(LastValueIndex, Count() - 1);
    if (first < 0 || last < 0) return -1;
    const TPoint p{X, Y};
    // In 3D the line is sought where it is drawn, on the screen: taken back into its plane, a
    // click near the viewer in a perspective view would find it far from its pixels.
    ISeriesChart* chart = GetParentChart();
    TCanvas3D* c = chart ? chart->GetCanvas() : nullptr;
    const bool projected = c && chart->GetView3D();
    const auto screen = [&](TPoint Q) { return projected ? c->Calculate3DPosition(Q, MiddleZ) : Q; };
    TPoint old{};
    for (int i = first; i <= last; ++i) {
        const TPoint at{CalcXPos(i), CalcYPos(i)};
        if (screen(at) == p) return i;
        if (i > first) {
            if (!FStairs) {
                if (PointInLine(p, screen(old), screen(at))) return i - 1;
            } else {
                // A step is hit on the two legs drawn, across then up or, inverted,
                // up then across; never on the diagonal or the legs it does not draw.
                const TPoint corner = screen(FInvertedStairs ? TPoint{old.X, at.Y} : TPoint{at.X, old.Y});
                if (PointInLine(p, screen(old), corner) || PointInLine(p, corner, screen(at))) return i - 1;
            }
        }
        old = at;
    }
    return -1;
}
