// The area series: its stacking mode over the line core's, the fixed origin,
// stack groups, depth and drawing order, the legend symbol and the gallery.
#include "chart/series/series_area.h"

#include "chart/canvas/zuzgradient.h"
#include "chart/engine/chartaxis.h"

#include <algorithm>

template <>
const EnumInfo& EnumInfoOf<TMultiArea>() {
    static const EnumInfo info{"TMultiArea", {"maNone", "maStacked", "maStacked100"}};
    return info;
}

const ClassInfo& TAreaSeries::StaticClass() {
    using C = TAreaSeries;
    static const PropInfo props[] = {
        MakeProp<&C::GetAreaBrush, &C::SetAreaBrush>("AreaBrush").Default(bsSolid),
        MakeProp<&C::GetAreaChartBrush, &C::SetAreaChartBrush>("AreaChartBrush"),
        MakeProp<&C::GetAreaColor, &C::SetAreaColor>("AreaColor").Default(clZuzColor),
        MakeProp<&C::GetAreaLinesPen, &C::SetAreaLinesPen>("AreaLinesPen"),
        MakeProp<&C::GetClickableLine, &C::SetClickableLine>("ClickableLine").Default(1),
        MakeProp<&C::GetColorEachLine, &C::SetColorEachLine>("ColorEachLine").Default(1),
        MakeProp<&C::GetDark3D, &C::SetDark3D>("Dark3D").Default(1),
        // Stored when it differs from what the constructor sets: a hidden area reads back hidden.
        MakeProp<&C::GetDrawArea, &C::SetDrawArea>("DrawArea").Default(1),
        MakeProp<&C::GetGradient, &C::SetGradient>("Gradient"),
        MakeProp<&C::GetInvertedStairs, &C::SetInvertedStairs>("InvertedStairs").Default(0),
        MakeProp<&C::GetLinePen, &C::SetLinePen>("LinePen"),
        MakeProp<&C::GetMultiArea, &C::SetMultiArea>("MultiArea").Default(maNone),
        MakeProp<&C::GetPointer, &C::SetPointer>("Pointer"),
        MakeProp<&C::GetStairs, &C::SetStairs>("Stairs").Default(0),
        MakeProp<&C::GetStackGroup, &C::SetStackGroup>("StackGroup").Default(0),
        MakeProp<&C::GetTransparency, &C::SetTransparency>("Transparency").Default(0),
        MakeProp<&C::GetUseYOrigin, &C::SetUseYOrigin>("UseYOrigin").Default(0),
        MakeProp<&C::GetYOrigin, &C::SetYOrigin>("YOrigin"),
        MakeProp<&C::OnClickPointer>("OnClickPointer"),
    };
    static const ClassInfo info = MakeClassInfo<C>("TAreaSeries", &TCustomSeries::StaticClass(), props);
    return info;
}

TAreaSeries::TAreaSeries(TComponent* AOwner) : TCustomSeries(AOwner) {
    SetDrawArea(true);
    GetPointer()->SetVisible(false);
    KeepPointBeyondEdge = true;
    SingleFunctionPoint = false;
}

void TAreaSeries::Assign(TPersistent* Source) {
    TCustomSeries::Assign(Source);
    SetDrawArea(true);
    SetDrawLine(true);
    auto* s = dynamic_cast<TAreaSeries*>(Source);
    const bool related = Source && (Source->InheritsFrom(ClassType()) || InheritsFrom(Source->ClassType()));
    if (!related) {
        GetPointer()->SetVisible(false);
        return;
    }
    if (s) {
        FYOrigin = s->FYOrigin;
        FStackGroup = s->FStackGroup;
        FUseYOrigin = s->FUseYOrigin;
    }
}

TMultiArea TAreaSeries::GetMultiArea() const {
    switch (GetStacked()) {
    case cssStack:
        return maStacked;
    case cssStack100:
        return maStacked100;
    default:
        return maNone;
    }
}

void TAreaSeries::SetMultiArea(TMultiArea Value) {
    if (Value == GetMultiArea()) return;
    SetStacked(Value == maStacked ? cssStack : Value == maStacked100 ? cssStack100 : cssNone);
}

int TAreaSeries::GetOriginPos(int ValueIndex) const {
    return FUseYOrigin ? CalcPosValue(FYOrigin) : TCustomSeries::GetOriginPos(ValueIndex);
}

bool TAreaSeries::SameClassOrigin(const TCustomSeries* Series) const {
    const auto* area = dynamic_cast<const TAreaSeries*>(Series);
    return TCustomSeries::SameClassOrigin(Series) && area && area->FStackGroup == FStackGroup;
}

void TAreaSeries::CalcZOrder() {
    ISeriesChart* chart = GetParentChart();
    if (GetMultiArea() == maNone || !chart) {
        TCustomSeries::CalcZOrder();
        return;
    }
    for (int t = 0; t < chart->SeriesCount(); ++t) {
        TChartSeries* s = chart->GetSeries(t);
        if (!s->GetActive()) continue;
        if (s == this) {
            // The first of a stack takes its own slot as an unstacked series would.
            TCustomLineSeries::CalcZOrder();
            return;
        }
        if (const auto* partner = dynamic_cast<const TCustomSeries*>(s);
            partner && SameClassOrigin(partner)) {
            IZOrder = s->GetZOrder();
            return;
        }
    }
    TCustomSeries::CalcZOrder();
}

bool TAreaSeries::DrawSeriesForward(int ValueIndex) const {
    if (GetMultiArea() == maNone) return TCustomSeries::DrawSeriesForward(ValueIndex);
    const TChartAxis* axis = MandatoryAxis();
    return !(axis && axis->GetInverted());
}

double TAreaSeries::WithOrigin(double Value, bool IsMax) const {
    if (!FUseYOrigin) return Value;
    return IsMax ? std::max(Value, FYOrigin) : std::min(Value, FYOrigin);
}

double TAreaSeries::MaxYValue() const {
    const double v = TCustomSeries::MaxYValue();
    return YMandatory() ? WithOrigin(v, true) : v;
}

double TAreaSeries::MinYValue() const {
    const double v = TCustomSeries::MinYValue();
    return YMandatory() ? WithOrigin(v, false) : v;
}

double TAreaSeries::MaxXValue() const {
    const double v = TCustomSeries::MaxXValue();
    return YMandatory() ? v : WithOrigin(v, true);
}

double TAreaSeries::MinXValue() const {
    const double v = TCustomSeries::MinXValue();
    return YMandatory() ? v : WithOrigin(v, false);
}

void TAreaSeries::PrepareLegendCanvas(int ValueIndex, TColor& BackColor, TBrushStyle& BrushStyle) {
    ISeriesChart* chart = GetParentChart();
    TCanvas3D* c = chart ? chart->GetCanvas() : nullptr;
    if (!c) return;
    BackColor = GetAreaBrushColor(c->Brush->GetColor());
    c->AssignVisiblePen(GetAreaLinesPen());
    BrushStyle = GetAreaChartBrush()->GetStyle();
}

void TAreaSeries::DrawLegendShape(int ValueIndex, const TRect& Rect) {
    ISeriesChart* chart = GetParentChart();
    TCanvas3D* c = chart ? chart->GetCanvas() : nullptr;
    if (!c) return;
    if (GetGradient()->GetVisible()) {
        GetGradient()->Draw(c, Rect);
        return;
    }
    if (GetAreaChartBrush()->HasImage()) {
        TColor color = GetAreaChartBrush()->GetColor();
        if (color == clZuzColor) color = ValueIndex == -1 ? GetSeriesColor() : LegendItemColor(ValueIndex);
        TColor back = GetAreaBrushColor(color);
        if (back == color) back = clWhite;
        c->AssignBrush(GetAreaChartBrush(), color, back);
    }
    TCustomSeries::DrawLegendShape(ValueIndex, Rect);
}

void TAreaSeries::ApplyGalleryFormat() {
    ISeriesChart* chart = GetParentChart();
    GetGradient()->SetVisible(true);
    if (!chart) return;
    SetSeriesColor(chart->GetDefaultColor(3));
    GetGradient()->SetStartColor(GetSeriesColor());
    GetGradient()->SetEndColor(chart->GetDefaultColor(0));
}

void TAreaSeries::PrepareForGallery(bool IsEnabled) {
    TCustomSeries::PrepareForGallery(IsEnabled);
    ApplyGalleryFormat();
}

void TAreaSeries::GalleryChanged3D(bool Is3D) {
    TCustomSeries::GalleryChanged3D(Is3D);
    ApplyGalleryFormat();
}

void TAreaSeries::CreateSubGallery(const std::function<void(const String&)>& AddSubChart) {
    TCustomSeries::CreateSubGallery(AddSubChart);
    for (const char16_t* name : {u"Stairs", u"Marks", u"Colors", u"Hollow", u"No Lines", u"Stack",
                                 u"Stack 100%", u"Points", u"Gradient"})
        AddSubChart(name);
}

void TAreaSeries::SetSubGallery(TChartSeries* Series, int Index) {
    auto* area = dynamic_cast<TAreaSeries*>(Series);
    if (!area) return;
    switch (Index) {
    case 1:
        area->SetStairs(true);
        break;
    case 2:
        area->GetMarks()->SetVisible(true);
        break;
    case 3:
        area->SetColorEachPoint(true);
        break;
    case 4:
        area->SetAreaBrush(bsClear);
        break;
    case 5:
        area->GetAreaLinesPen()->SetVisible(false);
        break;
    case 6:
        area->SetMultiArea(maStacked);
        break;
    case 7:
        area->SetMultiArea(maStacked100);
        break;
    case 8:
        area->GetPointer()->SetVisible(true);
        break;
    case 9:
        area->GetGradient()->SetVisible(true);
        break;
    default:
        TCustomSeries::SetSubGallery(Series, Index);
    }
}

// ---------------------------------------------------------------------------

const ClassInfo& THorizAreaSeries::StaticClass() {
    static const ClassInfo info =
        MakeClassInfo<THorizAreaSeries>("THorizAreaSeries", &TAreaSeries::StaticClass());
    return info;
}

THorizAreaSeries::THorizAreaSeries(TComponent* AOwner) : TAreaSeries(AOwner) {
    SetHorizontal();
    GetXValues()->SetOrder(loNone);
    GetYValues()->SetOrder(loAscending);
    GetGradient()->DefaultDirection = gdRightLeft;
    GetGradient()->SetDirection(gdRightLeft);
}

void THorizAreaSeries::DrawMark(int ValueIndex, const String& Text, TSeriesMarkPosition& Position) {
    TSeriesMarks* marks = GetMarks();
    const int distance = marks->GetCallout()->GetDistance();
    const int d = marks->GetCallout()->GetLength() + distance;
    Position.TopLeft.Y = Position.ArrowEnd.Y - Position.Height / 2;
    Position.TopLeft.X += Position.Width / 2 + d;
    Position.ArrowEnd.X += d;
    Position.ArrowStart.Y = Position.ArrowEnd.Y;
    Position.ArrowStart.X += distance;
    TAreaSeries::DrawMark(ValueIndex, Text, Position);
}
