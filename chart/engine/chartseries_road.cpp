// The series drawing road: visible points and pages, pixel positions, depth
// order, the point and marks loops, mark and legend texts, the legend symbol
// and the mouse over points.
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzfont.h"
#include "chart/canvas/zuzhtml.h"
#include "chart/canvas/zuzprocs.h"
#include "chart/engine/axischart.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/zuzfunction.h"

#include <algorithm>

template <>
const EnumInfo& EnumInfoOf<TLegendTextStyle>() {
    static const EnumInfo info{"TLegendTextStyle",
                               {"ltsPlain", "ltsLeftValue", "ltsRightValue", "ltsLeftPercent",
                                "ltsRightPercent", "ltsXValue", "ltsValue", "ltsPercent", "ltsXAndValue",
                                "ltsXAndPercent"}};
    return info;
}

Char ZuzColumnSeparator = u'\x06';
Char ZuzLineSeparator = u'\r';

// ---------------------------------------------------------------------------
// Visible points and pages

void VisibleIndexRange(std::span<const double> Values, double StartValue, double EndValue,
                       bool DrawBetweenPoints, int& First, int& Last) {
    First = Last = -1;
    const int n = static_cast<int>(Values.size());
    if (n == 0) return;
    int first = 0;
    if (Values[0] <= StartValue) {
        while (first < n && Values[static_cast<std::size_t>(first)] < StartValue) ++first;
        if (first >= n) return;
    }
    int last = n - 1;
    if (Values[static_cast<std::size_t>(n - 1)] > EndValue) {
        last = first;
        while (last < n - 1 && Values[static_cast<std::size_t>(last)] < EndValue) ++last;
        if (!DrawBetweenPoints)
            while (last >= 1 && Values[static_cast<std::size_t>(last)] > EndValue) --last;
    }
    First = first;
    Last = last;
}

void CalcFirstLastPage(int Count, int PointsPerPage, int Page, int& First, int& Last) {
    if (Count == 0) {
        First = Last = -1;
        return;
    }
    if (PointsPerPage < 1) {
        First = 0;
        Last = Count - 1;
        return;
    }
    First = PointsPerPage == 1 ? Page - 1 : PointsPerPage * (Page - 1);
    if (First >= Count) First = PointsPerPage * std::max(0, Count / PointsPerPage - 1);
    Last = First + PointsPerPage - 1;
    if (Last >= Count) Last = Count % PointsPerPage + First - 1;
}

int TChartSeries::VisibleCount() const {
    return FirstValueIndex == -1 || LastValueIndex == -1 ? 0 : LastValueIndex - FirstValueIndex + 1;
}

void TChartSeries::CalcFirstLastPage(int& First, int& Last) const {
    const int perPage = FParentChart ? FParentChart->GetMaxPointsPerPage() : 0;
    const int page = FParentChart ? FParentChart->GetPage() : 1;
    ::CalcFirstLastPage(Count(), perPage, page, First, Last);
}

// ---------------------------------------------------------------------------
// Depth

void TChartSeries::CalcZOrder() {
    if (!FParentChart) return;
    if (FZOrder != -1) {
        FParentChart->SetMaxZOrder(std::max(FParentChart->GetMaxZOrder(), FZOrder));
    } else if (!FParentChart->GetView3D()) {
        IZOrder = 0;
    } else {
        FParentChart->SetMaxZOrder(FParentChart->GetMaxZOrder() + 1);
        IZOrder = FParentChart->GetMaxZOrder();
    }
}

bool TChartSeries::MoreSameZOrder() const {
    if (!FParentChart || !FParentChart->ApplyZOrder()) return false;
    for (int i = 0; i < FParentChart->SeriesCount(); ++i) {
        const TChartSeries* s = FParentChart->GetSeries(i);
        if (s != this && s->GetActive() && !s->UsesZValues && s->GetZOrder() == GetZOrder()) return true;
    }
    return false;
}

bool TChartSeries::FirstInZOrder() const {
    if (!GetActive()) return false;
    if (!FParentChart) return true;
    for (int i = 0; i < FParentChart->SeriesCount(); ++i) {
        const TChartSeries* s = FParentChart->GetSeries(i);
        if (s == this) break;
        if (s->GetActive() && s->GetZOrder() == GetZOrder()) return false;
    }
    return true;
}

void TChartSeries::CalcDepthPositions() {
    const int slot = FParentChart ? FParentChart->SeriesDepth() : 0;
    StartZ = slot * IZOrder;
    EndZ = StartZ + (FDepth == -1 ? slot : FDepth);
    // A series deeper than the box would stand past its back wall, where the chart cuts it
    // away: it reaches to the back wall and no further.
    if (const auto* box = dynamic_cast<const IAxisChart*>(FParentChart); box && box->GetView3D())
        EndZ = std::min(EndZ, std::max(StartZ, box->GetWidth3D()));
    MiddleZ = (StartZ + EndZ) / 2;
    GetMarks()->ZPosition = MiddleZ;
}

// ---------------------------------------------------------------------------
// Drawing

void TChartSeries::BroadcastEvent(TChartToolEvent Event) {
    if (!FParentChart) return;
    TChartTools* tools = FParentChart->GetTools();
    if (!tools) return;
    for (int i = 0; i < tools->Count(); ++i)
        if (auto* t = dynamic_cast<TZuzCustomToolSeries*>(tools->Get(i));
            t && t->GetActive() && t->GetSeries() == this)
            t->SeriesEvent(Event);
}

void TChartSeries::DoBeforeDrawValues() {
    BroadcastEvent(cteBeforeDrawSeries);
    if (BeforeDrawValues) BeforeDrawValues(this);
}

void TChartSeries::DoAfterDrawValues() {
    BroadcastEvent(cteAfterDrawSeries);
    if (AfterDrawValues) AfterDrawValues(this);
}

void TChartSeries::DrawMark(int ValueIndex, const String& Text, TSeriesMarkPosition& Position) {
    GetMarks()->InternalDraw(ValueIndex, ValueColor(ValueIndex), Text, Position);
}

namespace {
int LinesOf(const String& Text) {
    return static_cast<int>(std::count(Text.begin(), Text.end(), ZuzLineSeparator)) + 1;
}
} // namespace

void TChartSeries::CalculateMarkPosition(TZuzCustomShape* Shape, const String& Text, int X, int Y,
                                         TSeriesMarkPosition& Position) {
    TCanvas3D* canvas = FParentChart ? FParentChart->GetCanvas() : nullptr;
    if (!canvas) return;
    TSeriesMarks* marks = GetMarks();
    marks->AssignFont(canvas, Shape);
    const int h = canvas->TextHeight(u"W");
    int width, height;
    // Measured as the marks draw it, whatever shape the point's own item is.
    if (marks->GetTextFormat() == ttfHtml) {
        TSize extent{};
        HtmlTextExtent(canvas, Text, extent);
        width = extent.cx;
        height = extent.cy;
    } else {
        width = WidestLine(canvas, Text);
        height = h * LinesOf(Text);
    }
    marks->GetMargins()->Calculate(width, height, h);
    width += marks->GetMargins()->HorizSize();
    height += marks->GetMargins()->VertSize();
    if (marks->HasSymbol() && marks->GetSymbol()->ShouldDraw()) width += h - 4;
    if (Shape->GetPen()->GetVisible()) {
        width += Shape->GetPen()->GetWidth() - 1;
        height += Shape->GetPen()->GetWidth() - 1;
    } else {
        ++width;
        ++height;
    }
    Position.Width = width;
    Position.Height = height;
    TSeriesMarksPositions::MoveTo(Position, X, Y);
}

int TChartSeries::MaxMarkWidth() {
    int widest = 0;
    for (int i = 0; i < Count(); ++i)
        if (GetMarks()->MarkItem(i)->GetVisible()) widest = std::max(widest, GetMarks()->TextWidth(i));
    return widest;
}

// ---------------------------------------------------------------------------
// Texts

String TChartSeries::MarkPercent(int ValueIndex, bool AddTotal) {
    const double total = FMandatory->GetTotalABS();
    const double p = total == 0 ? 100 : std::abs(GetMarkValue(ValueIndex)) * 100 / total;
    String text = FormatFloat(FPercentFormat, p);
    if (AddTotal) {
        const String& f = GetMarks()->GetMultiLine() ? VavIve_DefaultPercentOf2 : VavIve_DefaultPercentOf;
        text = Format(f, {text, FormatFloat(FValueFormat, total)});
    }
    return text;
}

String TChartSeries::GetMarkText(int ValueIndex) {
    String text = OwnOrStyledMarkText(ValueIndex);
    if (OnGetMarkText) OnGetMarkText(this, ValueIndex, text);
    return text;
}

String TChartSeries::OwnOrStyledMarkText(int ValueIndex) {
    TSeriesMarks* marks = GetMarks();
    if (TMarksItem* item = marks->Items().Peek(ValueIndex); item && item->HasText()) {
        // One mark line per line of the item, without a break after the last.
        TStrings* lines = item->GetText();
        String text;
        for (int i = 0; i < lines->GetCount(); ++i) {
            if (i > 0) text += ZuzLineSeparator;
            text += lines->GetStrings(i);
        }
        return text;
    }
    const String sep = marks->GetMultiLine() ? String(1, ZuzLineSeparator) : String(u" ");
    const String value = FormatFloat(FValueFormat, GetMarkValue(ValueIndex));
    auto label = [&] {
        const String l = GetXLabel(ValueIndex);
        return l.empty() ? value : l;
    };
    auto xText = [&] { return XLabelText(FNotMandatory->GetValue(ValueIndex)); };
    String text;
    switch (marks->GetStyle()) {
    case smsValue:
        text = value;
        break;
    case smsPercent:
        text = MarkPercent(ValueIndex, false);
        break;
    case smsLabel:
        text = label();
        break;
    case smsLabelPercent:
        text = label() + sep + MarkPercent(ValueIndex, false);
        break;
    case smsLabelValue:
        text = label() + sep + value;
        break;
    case smsLegend:
        text = FParentChart ? FParentChart->FormattedValueLegend(this, ValueIndex) : String();
        // A mark has no columns: the legend's column separator would show as a box.
        std::replace(text.begin(), text.end(), ZuzColumnSeparator, u' ');
        if (!marks->GetMultiLine()) std::replace(text.begin(), text.end(), ZuzLineSeparator, u' ');
        break;
    case smsPercentTotal:
        text = MarkPercent(ValueIndex, true);
        break;
    case smsLabelPercentTotal:
        text = label() + sep + MarkPercent(ValueIndex, true);
        break;
    case smsXValue:
        text = xText();
        break;
    case smsXY:
        text = xText() + sep + value;
        break;
    case smsSeriesTitle:
        text = SeriesTitleOrName(this);
        break;
    case smsPointIndex:
        text = IntToStr(ValueIndex);
        break;
    case smsPercentRelative: {
        const double first = GetMarkValue(0);
        // Relative to a first value of 0 nothing is a percentage: 0 stands in.
        const double p = ValueIndex == 0 ? 100 : first == 0 ? 0 : GetMarkValue(ValueIndex) * 100 / first;
        text = FormatFloat(FPercentFormat, p);
        break;
    }
    }
    return text;
}

String TChartSeries::LegendString(int LegendIndex, TLegendTextStyle Style) {
    const int i = LegendToValueIndex(LegendIndex);
    const String label = GetXLabel(i);
    const double v = GetMarkValue(i);
    const String c(1, ZuzColumnSeparator);
    // A point without a value shows none: its stored number is only a placeholder
    // (a date of nought for a task), so the row keeps its label alone.
    const bool noValue = i >= 0 && i < Count() && IsNull(i);
    auto value = [&] {
        if (noValue) return String{};
        if (!FMandatory->GetDateTime()) return FormatFloat(FValueFormat, v);
        // A value no calendar holds has no date to show.
        return ZuzCalendarHolds(v) ? DateTimeToStr(v) : String{};
    };
    auto percent = [&] {
        if (noValue) return String{};
        const double total = FMandatory->GetTotalABS();
        return FormatFloat(FPercentFormat, total == 0 ? 100 : 100 * v / total);
    };
    auto xText = [&] { return XLabelText(XValue(i)); };
    auto joined = [&](const String& piece, bool pieceFirst) {
        if (label.empty()) return piece;
        return pieceFirst ? piece + c + label : label + c + piece;
    };
    switch (Style) {
    case ltsPlain:
        return label;
    case ltsLeftValue:
        return joined(value(), true);
    case ltsRightValue:
        return joined(value(), false);
    case ltsLeftPercent:
        return joined(percent(), true);
    case ltsRightPercent:
        return joined(percent(), false);
    case ltsXValue:
        return xText();
    case ltsValue:
        return value();
    case ltsPercent:
        return percent();
    case ltsXAndValue:
        return xText() + c + value();
    case ltsXAndPercent:
        return xText() + c + percent();
    }
    return label;
}

// ---------------------------------------------------------------------------
// Legend symbol

void TChartSeries::DrawLegend(int ValueIndex, const TRect& Rect) {
    if (ValueIndex == -1 && FColorEachPoint) return;
    if (!FParentChart) return;
    TCanvas3D* canvas = FParentChart->GetCanvas();
    if (!canvas) return;
    const TColor color = ValueIndex == -1 ? GetSeriesColor() : LegendItemColor(ValueIndex);
    canvas->Brush->SetColor(color);
    if (color == clNone) return;
    TChartPen* pen = FParentChart->LegendSymbolPen();
    canvas->AssignVisiblePen(pen ? pen : GetPen());
    TColor back = FParentChart->LegendSymbolColor();
    TBrushStyle style = GetBrush()->GetStyle();
    PrepareLegendCanvas(ValueIndex, back, style);
    if (back == clDefault) back = FParentChart->LegendSymbolColor();
    if (back == clDefault) back = FParentChart->GetChartColor();
    const TBrushStyle saved = GetBrush()->GetStyle();
    if (!GetBrush()->HasImage()) GetBrush()->SetStyle(style);
    FParentChart->SetBrushCanvas(color, GetBrush(), back);
    try {
        DrawLegendShape(ValueIndex, Rect);
    } catch (...) {
        GetBrush()->SetStyle(saved);
        throw;
    }
    GetBrush()->SetStyle(saved);
}

void TChartSeries::DrawLegendShape(int ValueIndex, const TRect& Rect) {
    if (FParentChart) FParentChart->DrawLegendShape(Rect);
}

// ---------------------------------------------------------------------------
// Mouse

int TChartSeries::GetCursorValueIndex() {
    return FParentChart ? Clicked(FParentChart->MouseClientPos()) : -1;
}

bool TChartSeries::CheckMouse(int X, int Y) {
    if (FCursor == crDefault && !OnMouseEnter && !OnMouseLeave) return false;
    const int i = Clicked(X, Y);
    if (i != -1) {
        if (FCursor != crDefault && FParentChart) FParentChart->SetChartCursor(FCursor);
        if (!MouseInside) {
            MouseInside = true;
            if (OnMouseEnter) OnMouseEnter(this);
        }
        return true;
    }
    if (MouseInside) {
        MouseInside = false;
        if (OnMouseLeave) OnMouseLeave(this);
    }
    return false;
}
