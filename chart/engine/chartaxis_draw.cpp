// The axis's labels (texts, styles, the widest label, the label loops) and
// its drawing: title, labels at any angle, line, ticks, grids and the
// custom-draw operations.

#include "chart/canvas/zuzfont.h"
#include "chart/canvas/zuzprocs.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/serieslist.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

// Runs F when the scope ends, however it ends.
template <class F>
struct ScopeExit {
    F f;
    ~ScopeExit() { f(); }
};
template <class F>
ScopeExit(F) -> ScopeExit<F>;

bool PrintAlike(double A, double B) {
    return FloatToStr(A) == FloatToStr(B);
}

std::vector<String> SplitLines(const String& Text) {
    std::vector<String> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < Text.size(); ++i)
        if (Text[i] == ZuzLineSeparator) {
            lines.emplace_back(Text.substr(start, i - start));
            start = i + 1;
        }
    if (start < Text.size() || lines.empty()) lines.emplace_back(Text.substr(start));
    return lines;
}

bool AlongAxis(bool Horizontal, int Angle) {
    return Horizontal ? (Angle == 0 || Angle == 180) : (Angle == 90 || Angle == 270);
}

} // namespace

// ---------------------------------------------------------------------------
// Label texts and styles

String TChartAxis::LabelValue(double Value) {
    String text;
    if (IAxisDateTime) {
        const String format = FDateTimeFormat.empty() ? DateTimeDefaultFormat(IRange) : FDateTimeFormat;
        // A value no calendar holds has no date to show.
        text = ZuzCalendarHolds(Value) ? FormatDateTime(format, Value) : String{};
    } else {
        text = FormatFloat(FAxisValuesFormat, Value);
        // A logarithmic axis labels powers, none of them nought: one its format would show as
        // 0 shows its value, with the decimals it needs or, far below one, in exponent form.
        if (FLogarithmic && Value != 0 &&
            std::none_of(text.begin(), text.end(), [](Char c) { return c >= u'1' && c <= u'9'; }))
            text = FloatToStr(Value);
    }
    if (ParentChart && ParentChart->OnGetAxisLabel()) ParentChart->OnGetAxisLabel()(this, nullptr, -1, text);
    if (FLabelsMultiLine)
        for (Char& c : text)
            if (c == u' ') c = ZuzLineSeparator;
    return text;
}

TAxisLabelStyle TChartAxis::CalcLabelStyle() {
    return FLabelStyle == talAuto ? InternalCalcLabelStyle() : FLabelStyle;
}

TAxisLabelStyle TChartAxis::InternalCalcLabelStyle() {
    TAxisLabelStyle result = talNone;
    if (!ParentChart) return result;
    for (int t = 0; t < ParentChart->SeriesCount(); ++t) {
        TChartSeries* s = ParentChart->GetSeries(t);
        if (!s->GetActive() || !s->AssociatedToAxis(this)) continue;
        result = talValue;
        const bool notMandatoryAxis = FHorizontal ? s->YMandatory() : !s->YMandatory();
        if (!notMandatoryAxis) continue;
        for (int i = 0; i < s->Labels().Count(); ++i)
            if (!s->Labels().GetLabel(i).empty()) return talText;
    }
    return result;
}

TAxisLabelStyle TChartDepthAxis::InternalCalcLabelStyle() {
    if (ParentChart)
        for (int t = 0; t < ParentChart->SeriesCount(); ++t) {
            TChartSeries* s = ParentChart->GetSeries(t);
            if (s->GetActive() && s->MaxZValue() != s->MinZValue()) return talValue;
        }
    return talText;
}

int TChartAxis::MaxLabelsWidth() {
    int lines = 1;
    return MeasureLabels(lines);
}

int TChartAxis::MaxLabelsLines() {
    int lines = 1;
    MeasureLabels(lines);
    return lines;
}

int TChartAxis::MeasureLabels(int& MostLines) {
    if (!ParentChart) return 0;
    auto widthOf = [&](const String& Text) {
        int lines = 0;
        const int w = ParentChart->MultiLineTextWidth(Text, lines);
        MostLines = std::max(MostLines, lines);
        return w;
    };
    if (!FItems->Automatic) {
        int result = 0;
        for (int t = 0; t < FItems->Count(); ++t) {
            TAxisItem* item = FItems->Get(t);
            if (TCanvas3D* c = ParentChart->GetCanvas()) c->AssignFont(item->GetFont());
            result = std::max(result, widthOf(item->GetText()));
        }
        return result;
    }
    const TAxisLabelStyle style = CalcLabelStyle();
    switch (style) {
    case talValue: {
        const double inc = CalcIncrement();
        // The chart's label event stays out of the measure, and comes back
        // however the measure ends.
        TAxisOnGetLabel& event = ParentChart->OnGetAxisLabel();
        TAxisOnGetLabel saved = std::move(event);
        event = TAxisOnGetLabel{};
        ScopeExit restore{[&] { event = std::move(saved); }};
        double hi = IMaximum, lo = IMinimum;
        if (((IAxisDateTime && FExactDateTime) || FRoundFirstLabel) && inc != 0) {
            hi = std::trunc(IMaximum / inc) * inc;
            lo = std::trunc(IMinimum / inc) * inc;
        }
        int result = 0;
        // Values closer together than the format shows give one label over and over (an axis
        // squeezed to nothing takes the smallest step): each is measured once (and an empty
        // one, 0 wide, not at all).
        String last;
        auto measure = [&](double v) {
            String text = LabelValue(v);
            if (text == last) return;
            result = std::max(result, widthOf(text));
            last = std::move(text);
        };
        if (FLogarithmic && FIncrement == 0) {
            for (const double v : LogLabels()) measure(v);
        } else if (inc == 0 || !std::isfinite(hi) || !std::isfinite(lo)) {
            measure(IMaximum);
            measure(IMinimum);
        } else {
            constexpr int MaxMeasured = 5000;
            double v = hi;
            for (int n = 0; n < MaxMeasured && v >= lo; ++n, v -= inc) measure(v);
        }
        TCanvas3D* c = ParentChart->GetCanvas();
        return result + (c ? c->TextWidth(u" ") : 0);
    }
    case talMark:
    case talText: {
        const bool marks = style == talMark;
        int result = 0;
        if (!marks && IsDepthAxis) {
            // A depth axis shows the series' titles: its title stands beyond the widest of them.
            for (int i = 0; i < ParentChart->SeriesCount(); ++i) {
                String text = ParentChart->SeriesTitleLegend(i);
                if (ParentChart->OnGetAxisLabel()) ParentChart->OnGetAxisLabel()(this, nullptr, i, text);
                result = std::max(result, widthOf(text));
            }
            return result;
        }
        if (!marks && !ParentChart->OnGetAxisLabel()) return ParentChart->MaxTextWidth();
        // Marks' texts stand as labels in the labels' font, not the marks'.
        for (int t = 0; t < ParentChart->SeriesCount(); ++t) {
            TChartSeries* s = ParentChart->GetSeries(t);
            for (int i = 0; i < s->Count(); ++i) {
                String text = marks ? ParentChart->SeriesMarkText(s, i) : s->Labels().GetLabel(i);
                if (ParentChart->OnGetAxisLabel()) ParentChart->OnGetAxisLabel()(this, s, i, text);
                result = std::max(result, widthOf(text));
            }
        }
        return result;
    }
    default:
        return 0;
    }
}

// ---------------------------------------------------------------------------
// Label value sequences

TDateTimeStep TChartAxis::LabelStepKind(double Inc) const {
    if (!IAxisDateTime || !FExactDateTime || FIncrement == 0) return dtNone;
    TDateTimeStep s = FindDateTimeStep(FIncrement);
    if (s == dtNone) return dtNone;
    while (s < dtOneYear && DateTimeStep[s] < Inc) s = static_cast<TDateTimeStep>(s + 1);
    return s;
}

std::vector<double> TChartAxis::ValueLabels(double Inc, TDateTimeStep Step) {
    std::vector<double> out;
    // A range that is not finite has no labels to show.
    if (!std::isfinite(IMinimum) || !std::isfinite(IMaximum) || !std::isfinite(Inc)) return out;
    if (std::fabs(IRange / Inc) >= MaxAxisLabelSteps) return out;
    // Calendar steps walk dates: a range the calendar does not hold has none to show.
    if (IAxisDateTime && FExactDateTime && Step != dtNone &&
        !(ZuzCalendarHolds(IMinimum) && ZuzCalendarHolds(IMaximum)))
        return out;
    double v;
    if (IAxisDateTime && FExactDateTime && Step != dtNone && Step >= dtOneDay)
        v = ZuzRoundDate(IMaximum, Step);
    else if (PrintAlike(IMinimum, IMaximum) || !FRoundFirstLabel || Inc == 0)
        v = IMaximum;
    else
        v = std::trunc(IMaximum / Inc) * Inc;
    for (int n = 0; n < MaxAxisLabelSteps && v > IMaximum; ++n) IncDecDateTime(false, v, Inc, Step);
    if (IRangeZero || std::fabs(IMaximum - IMinimum) < 1e-10 || Inc <= 0 || PrintAlike(v, v - Inc)) {
        out.push_back(v);
        return out;
    }
    const double limit = IMinimum < 0 ? IMinimum : (IMinimum - MinAxisIncrement) / (1 + MinAxisIncrement);
    for (int n = 0; n < MaxAxisLabelSteps && v >= limit; ++n) {
        out.push_back(v);
        const double previous = v;
        IncDecDateTime(false, v, Inc, Step);
        if (!(v < previous)) break; // a step that does not move ends the labels
    }
    return out;
}

std::vector<double> TChartAxis::LogLabels() {
    std::vector<double> out;
    if (IMinimum == IMaximum || !std::isfinite(IMinimum) || !std::isfinite(IMaximum)) return out;
    const double base = LogBaseForLoops();
    // The scale places nothing at or below zero: a range from there starts at 1 (the value
    // its start pixel stands for), and a label below that would lie beyond the axis.
    const double low = IMinimum > 0 ? IMinimum : 1;
    const double start = RoundLogPower(low);
    // The power of each label, so that every k-th power can be kept: 1, 1000, 1e6 ...
    const double first = std::nearbyint(std::log(start) / std::log(base));
    std::vector<double> powers;
    double v = start;
    for (int n = 0; n < MaxAxisLabelSteps && v <= IMaximum; ++n, v *= base)
        if (v >= low) {
            out.push_back(v);
            powers.push_back(first + n);
        }
    if (out.empty()) {
        const double d = std::pow(base, std::log(start) / std::log(base) - 1);
        // Each label from the start, so that no error builds up along the way.
        for (int n = 0; d > 0 && n < MaxAxisLabelSteps; ++n) {
            v = start + n * d;
            if (v > IMaximum) break;
            if (v >= low) {
                out.push_back(v);
                powers.push_back(n);
            }
        }
    }
    // Equal ratios lie equally far apart: where the labels of all of them would run together,
    // every second, third ... is kept, the fewest left out that leave the rest clear.
    const std::size_t room = std::max<std::size_t>(1, static_cast<std::size_t>(std::abs(IAxisSize)));
    for (std::size_t every = std::max<std::size_t>(1, out.size() / room); every < out.size(); ++every) {
        std::vector<double> kept;
        for (std::size_t i = 0; i < out.size(); ++i)
            if (std::fmod(powers[i], static_cast<double>(every)) == 0) kept.push_back(out[i]);
        if (!kept.empty() && LabelsClear(kept)) return kept;
    }
    return out.empty() ? out : std::vector<double>{out.front()};
}

// ---------------------------------------------------------------------------
// Drawing

void TChartAxis::Draw(bool CalcPosAxis) {
    TCanvas3D* canvas = ParentChart ? ParentChart->GetCanvas() : nullptr;
    if (!canvas) return;
    canvas->BeginEntity(u"Axis");
    ScopeExit end{[canvas] { canvas->EndEntity(); }};
    IAxisDateTime = IsDateTime();
    if (CalcPosAxis) {
        const TRect r = ParentChart->GetChartRect();
        PosAxis = ApplyPosition(GetRectangleEdge(r), r);
    }
    if (TitleShown()) {
        if (IsDepthAxis)
            DrawTitle(PosTitle, DepthAxisPos());
        else if (FHorizontal)
            DrawTitle(ICenterPos, PosTitle);
        else
            DrawTitle(PosTitle, ICenterPos);
    } else {
        // Not drawn, it answers no click where an earlier drawing put it.
        FTitle->ShapeBounds = {};
    }
    Tick.clear();
    DrawLabels();
    DrawLineTicksGrids();
}

void TChartAxis::DrawLabels() {
    FDrawnLabels = 0;
    FLabelsReach = 0;
    FDrawnLabelSpans.clear();
    FLogLabelValues.clear();
    FAlternateBand = -1;
    if (!FItems->Automatic) {
        for (int t = 0; t < FItems->Count(); ++t) {
            TAxisItem* item = FItems->Get(t);
            const double v = item->GetValue();
            if (v < FMinimum || v > FMaximum) continue;
            const int p = CalcPosValue(v);
            if (!FTickOnLabelsOnly) Tick.push_back(p);
            if (!item->GetVisible() || !GetLabels()) continue;
            const String text = item->GetText().empty() ? LabelValue(v) : item->GetText();
            // Placed by hand or not, labels keep clear of each other as series' labels do.
            ParentChart->GetCanvas()->AssignFont(item->GetFont());
            if (ClearOfDrawn(p, text)) DrawLabelAt(p, text, item);
        }
        return;
    }
    FItems->Clear();
    const TAxisLabelStyle style = CalcLabelStyle();
    if (style == talNone) return;
    ParentChart->GetCanvas()->AssignFont(GetLabelsFont());
    const double inc = CalcIncrement();
    const TDateTimeStep step = LabelStepKind(inc);
    const bool calendar = step >= dtHalfMonth && step <= dtOneYear;
    if (!((inc > 0 || calendar) && IMinimum <= IMaximum)) return;
    if (style == talValue) {
        if (ParentChart->OnGetNextAxisLabel() && DrawEventLabels()) return;
        const std::vector<double> values =
            FLogarithmic && FIncrement == 0 ? LogLabels() : ValueLabels(inc, step);
        if (FLogarithmic && FIncrement == 0) {
            FLogLabelValues = values;
            if (FMinorGrid->GetVisible() && !values.empty()) {
                // Ticks past the first and last labels let the minor grid reach the ends.
                const double base = LogBaseForLoops();
                Tick.push_back(
                    CalcPosValue(values.front() >= IMinimum ? values.front() / base : values.front()));
            }
        }
        for (const double v : values) DrawValueLabel(v);
        if (FLogarithmic && FIncrement == 0 && FMinorGrid->GetVisible() && !values.empty())
            Tick.push_back(CalcPosValue(values.back() * LogBaseForLoops()));
    } else if (IsDepthAxis && style == talText)
        DrawDepthTitles();
    else
        DrawTextLabels(style);
}

bool TChartAxis::DrawEventLabels() {
    double value = IMinimum;
    bool stop = true;
    constexpr int MaxEventLabels = 2001;
    for (int i = 0; i < MaxEventLabels; ++i) {
        ParentChart->OnGetNextAxisLabel()(this, i, value, stop);
        if (stop) return i > 0;
        if (value < IMinimum - 1e-7 || value > IMaximum + 1e-7) return true;
        DrawValueLabel(value);
    }
    return true;
}

void TChartAxis::DrawValueLabel(double Value) {
    const int p = CalcPosValue(Value);
    if (!FLabelsOnAxis && !(p > std::min(IStartPos, IEndPos) && p < std::max(IStartPos, IEndPos))) return;
    if (!FTickOnLabelsOnly) Tick.push_back(p);
    if (GetLabels()) DrawLabelAt(p, LabelValue(Value), FItems->Record(Value, {}));
}

void TChartAxis::DrawLabelAt(int P, const String& Text, TAxisShape* Format) {
    TCanvas3D* canvas = ParentChart->GetCanvas();
    if (FTickOnLabelsOnly) Tick.push_back(P);
    if (INoLabelsRoom) return;
    auto* item = dynamic_cast<TAxisItem*>(Format);
    if (item && item->GetItems()->Automatic) item->SetTextQuiet(Text);
    TZuzFont* font = item && !item->GetItems()->Automatic ? item->GetFont() : GetLabelsFont();
    canvas->AssignFont(font);
    if (IsDepthAxis) {
        int y = DepthAxisPos();
        const TView3DOptions* view = ParentChart->GetView3DOptions();
        if (!view || view->GetRotation() == 360 || view->GetOrthogonal()) y -= canvas->TextHeight(u"W") / 2;
        DrawAxisLabel(PosLabels, y, FLabelsAngle, Text, Format, P);
        return;
    }
    int pos = PosLabels;
    if (FLabelsAlternate && (FDrawnLabels % 2) == 1) {
        if (FAlternateBand < 0) {
            FAlternateBand = FHorizontal
                                 ? canvas->TextHeight(u"W") * (FLabelsMultiLine ? MaxLabelsLines() : 1)
                                 : MaxLabelsWidth();
            canvas->AssignFont(font); // the measure went through the fonts of all labels
        }
        pos = InflateAxisPos(PosLabels, FAlternateBand);
    }
    if (OverLegend(P, pos, Text)) {
        // Left out, it leaves its room to the labels after it.
        if (!FDrawnLabelSpans.empty() && FDrawnLabelSpans.back().first == P) FDrawnLabelSpans.pop_back();
        return;
    }
    ++FDrawnLabels;
    // The room a label takes across the axis, level or upright (a leaning one may take the band
    // whole); a level one moved to the band's far edge reaches that edge.
    const int angle = ((FLabelsAngle % 360) + 360) % 360;
    int lines = 1;
    const int wide = ParentChart->MultiLineTextWidth(Text, lines), high = canvas->TextHeight(u"W") * lines;
    const bool level = angle == 0 || angle == 180, upright = angle == 90 || angle == 270;
    int across = FHorizontal == level ? high : wide;
    if (!FHorizontal && FLabelsAlign == alOpposite && angle == 0) {
        across = FLabelsAlternate ? SizeLabels() / 2 : SizeLabels();
        canvas->AssignFont(font); // the measure went through the fonts of all labels
    }
    // A label on a box of its own has the box's margin, half a "W", past its text's ends.
    if (FHorizontal != level && Format && Format != FItems->GetFormat() && !Format->GetTransparent())
        across += canvas->TextWidth(u"W") / 2;
    if (FLabelsReach < 0 || (!level && !upright))
        FLabelsReach = -1;
    else
        FLabelsReach = std::max(FLabelsReach, std::abs(pos - PosLabels) + across);
    if (FHorizontal)
        DrawAxisLabel(P, pos, FLabelsAngle, Text, Format);
    else
        DrawAxisLabel(pos, P, FLabelsAngle, Text, Format);
}

void TChartAxis::DrawTextLabels(TAxisLabelStyle Style) {
    TCustomSeriesList* list = FSubSeries.get();
    list->Clear();
    ScopeExit empty{[list] { list->Clear(); }};
    int first = -1, last = -1;
    std::vector<std::pair<int, int>> ranges;
    for (int t = 0; t < ParentChart->SeriesCount(); ++t) {
        TChartSeries* s = ParentChart->GetSeries(t);
        if (!s->GetActive() || !s->AssociatedToAxis(this)) continue;
        int f = -1, l = -1;
        ParentChart->SeriesVisibleRange(s, f, l);
        list->Add(s);
        ranges.emplace_back(f, l);
        if (f != -1 && (first == -1 || f < first)) first = f;
        last = std::max(last, l);
    }
    if (first == -1) return;
    TCanvas3D* canvas = ParentChart->GetCanvas();
    for (int index = first; index <= last; ++index) {
        for (int t = 0; t < list->Count(); ++t) {
            TChartSeries* s = list->Get(t);
            if (index < ranges[static_cast<std::size_t>(t)].first ||
                index > ranges[static_cast<std::size_t>(t)].second)
                continue;
            String text =
                Style == talMark ? ParentChart->SeriesMarkText(s, index) : s->Labels().GetLabel(index);
            if (ParentChart->OnGetAxisLabel()) ParentChart->OnGetAxisLabel()(this, s, index, text);
            if (text.empty()) continue;
            const double value = FHorizontal ? s->XValue(index) : s->YValue(index);
            if (value >= IMinimum && value <= IMaximum) {
                const int p = CalcPosValue(value);
                if (!FTickOnLabelsOnly) Tick.push_back(p);
                canvas->AssignFont(GetLabelsFont());
                // Hidden labels still place the ticks, as value labels do.
                if (GetLabels() && ClearOfDrawn(p, text)) DrawLabelAt(p, text, FItems->Record(value, text));
            }
            break;
        }
    }
}

// A label at an end of the axis stands half its size past the box: in a small panel, where the
// legend beside the box reaches over the axis, it would stand over the legend's items. It is
// left out, as a label over another label is. A turned view has its own room for the labels.
bool TChartAxis::OverLegend(int P, int Pos, const String& Text) {
    const TRect legend = ParentChart->LegendArea();
    TCanvas3D* canvas = ParentChart->GetCanvas();
    auto* c3 = dynamic_cast<TZuzCanvas3D*>(canvas);
    if (IsRectEmpty(legend) || (c3 && c3->Is3D() && !c3->IsOrthogonal())) return false;
    const int size = LabelSizeAlong(Text);
    const int outer = InflateAxisPos(Pos, FLabelsAlternate ? LabelsBand / 2 : LabelsBand);
    const int from = std::min(Pos, outer), to = std::max(Pos, outer);
    TRect r = FHorizontal ? TRect{P - size / 2, from, P + size / 2, to}
                          : TRect{from, P - size / 2, to, P + size / 2};
    if (c3) r = c3->CalcRect3D(r, IZPos);
    TRect both;
    return IntersectRect(both, r, legend) && both.Width() > 2 && both.Height() > 2;
}

int TChartAxis::LabelSizeAlong(const String& Text) {
    int lines = 1;
    const int width = ParentChart->MultiLineTextWidth(Text, lines);
    return AlongAxis(FHorizontal, FLabelsAngle) ? width : ParentChart->GetCanvas()->TextHeight(u"W") * lines;
}

bool TChartAxis::ClearOfDrawn(int P, const String& Text) {
    int size = LabelSizeAlong(Text);
    bool clear = true;
    if (FLabelsSeparation != 0) {
        size = (size + static_cast<int>(size * 0.02 * FLabelsSeparation)) / 2;
        // Labels placed by hand or points' labels need not come in the axis's order: each is
        // kept clear of all drawn so far, not only of the last.
        for (const auto& [pos, half] : FDrawnLabelSpans)
            if (!(P >= pos ? P - size >= pos + half : P + size <= pos - half)) {
                clear = false;
                break;
            }
    } else
        size /= 2;
    if (clear) FDrawnLabelSpans.emplace_back(P, size);
    return clear;
}

void TChartAxis::DrawDepthTitles() {
    bool anyActive = false;
    for (int t = 0; t < ParentChart->SeriesCount(); ++t)
        anyActive = anyActive || ParentChart->GetSeries(t)->GetActive();
    if (!anyActive || !std::isfinite(IMinimum) || !std::isfinite(IMaximum)) return;
    const int from = ZuzRound(IMinimum), to = ZuzRound(IMaximum);
    for (int i = from; i <= to && i - from < MaxAxisLabelSteps; ++i) {
        String text = ParentChart->SeriesTitleLegend(i);
        if (ParentChart->OnGetAxisLabel()) ParentChart->OnGetAxisLabel()(this, nullptr, i, text);
        const int p = CalcYPosValue(IMaximum - i - 0.5);
        if (!FTickOnLabelsOnly) Tick.push_back(p);
        DrawLabelAt(p, text, FItems->Record(IMaximum - i - 0.5, text));
    }
}

void TChartAxis::DrawTitle(int X, int Y) {
    TCanvas3D* canvas = ParentChart->GetCanvas();
    canvas->AssignFont(FTitle->GetFont());
    if (IsDepthAxis) {
        canvas->SetTextAlign(DepthAxisAlign());
        canvas->RotateLabel3D(X, Y, ParentChart->GetWidth3D() / 2, FTitle->GetCaption(), FTitle->GetAngle());
        return;
    }
    const bool exponent = FLabelsExponent;
    FLabelsExponent = false;
    ScopeExit restore{[&] { FLabelsExponent = exponent; }};
    DrawAxisLabel(X, Y, FTitle->GetAngle(), FTitle->GetCaption(), FTitle.get());
}

// The flat bands part labels and title only while the picture stays flat. Turned in perspective,
// the row of labels slants and shrinks or grows on screen, while each label keeps its text's
// size: the title is measured against the labels as they will be drawn, on screen.
TRect TChartAxis::TurnedLabelsAndTitle() {
    TCanvas3D* c = ParentChart->GetCanvas();
    const auto at = [&](int Along, int Across) {
        return FHorizontal ? c->Calculate3DPosition(Along, Across, IZPos)
                           : c->Calculate3DPosition(Across, Along, IZPos);
    };
    const auto along = [&](TPoint P) { return FHorizontal ? P.X : P.Y; };
    const auto outward = [&](TPoint P) {
        return FHorizontal ? (FOtherSide ? -P.Y : P.Y) : (FOtherSide ? P.X : -P.X);
    };
    // A text standing outward from P, centred on it along the axis.
    const auto box = [&](TPoint P, int HalfAlong, int Across) {
        if (FHorizontal)
            return TRect{P.X - HalfAlong, FOtherSide ? P.Y - Across : P.Y, P.X + HalfAlong,
                         FOtherSide ? P.Y : P.Y + Across};
        return TRect{FOtherSide ? P.X : P.X - Across, P.Y - HalfAlong, FOtherSide ? P.X + Across : P.X,
                     P.Y + HalfAlong};
    };
    const int labelsAcross = GetLabels() ? LabelsBand : 0;
    int labelsHalf = 0;
    if (GetLabels()) {
        c->AssignFont(GetLabelsFont());
        const int height = c->TextHeight(u"W");
        labelsHalf = (AlongAxis(FHorizontal, FLabelsAngle) ? MaxLabelsWidth() : height) / 2;
    }
    const TPoint first = at(IStartPos, PosLabels), last = at(IEndPos, PosLabels);
    TRect r = box(first, labelsHalf, labelsAcross);
    r = Joined(r, box(last, labelsHalf, labelsAcross));
    const String& caption = FTitle->GetCaption();
    if (!TitleShown()) return r;
    const int angle = FTitle->GetAngle();
    const int titleAcross = InternalCalcSize(FTitle->GetFont(), angle, caption, FTitleSize);
    c->AssignFont(FTitle->GetFont());
    const int titleHalf = (AlongAxis(FHorizontal, angle) ? c->TextWidth(caption) : c->TextHeight(u"W")) / 2;
    const int run = along(last) - along(first);
    const double rise = outward(last) - outward(first);
    // Over the title's length and a label's the slanting row comes that much nearer.
    const double lean = run == 0 ? 0 : std::abs(rise / run) * (titleHalf + labelsHalf);
    for (int pass = 0; pass < 3; ++pass) {
        const TPoint t = at(ICenterPos, PosTitle);
        const double row = outward(first) + (run == 0 ? 0 : rise * (along(t) - along(first)) / run);
        const int lacking = static_cast<int>(std::ceil(row + labelsAcross + lean)) - outward(t);
        if (lacking <= 0) break;
        constexpr int Probe = 100;
        const int step = outward(at(ICenterPos, InflateAxisPos(PosTitle, Probe))) - outward(t);
        if (step <= 0) break;
        PosTitle = InflateAxisPos(PosTitle, (lacking * Probe + step - 1) / step);
    }
    r = Joined(r, box(at(ICenterPos, PosTitle), titleHalf, titleAcross));
    return r;
}

namespace {

UINT AlignmentAtZero(bool Horizontal, bool OtherSide) {
    if (Horizontal) return OtherSide ? TA_CENTER | TA_BOTTOM : TA_CENTER;
    return OtherSide ? TA_LEFT : TA_RIGHT;
}

// A label leaning at any other angle ends or starts at its point, whichever keeps its text and
// its height on the axis's outer side: started there on the left or top axis, it would run back
// over the axis line and the plot. The text runs along (cos, -sin) on screen, its height along
// (sin, cos). Its end across the text is then centred on the tick.
// A leaning title stays centred on the axis, its nearer end at the edge of its room.
UINT AlignTitleLeaning(bool Horizontal, bool OtherSide, int Angle, int Width, int HalfHeight, int& X,
                       int& Y) {
    const double s = std::sin(Angle * ZuzPiStep), c = std::cos(Angle * ZuzPiStep);
    const int across = (Horizontal ? (OtherSide ? -c : c) : (OtherSide ? s : -s)) >= 0 ? 1 : -1;
    const int reach = ZuzRound(Width / 2.0 * std::abs(Horizontal ? s : c));
    if (Horizontal) {
        Y += OtherSide ? -reach : reach;
        X -= ZuzRound(across * HalfHeight * s);
    } else {
        X += OtherSide ? reach : -reach;
        Y -= ZuzRound(across * HalfHeight * c);
    }
    return TA_CENTER | (across > 0 ? TA_TOP : TA_BOTTOM);
}

UINT AlignLeaning(bool Horizontal, bool OtherSide, int Angle, int HalfHeight, int& X, int& Y) {
    const double s = std::sin(Angle * ZuzPiStep), c = std::cos(Angle * ZuzPiStep);
    const double run = Horizontal ? (OtherSide ? s : -s) : (OtherSide ? c : -c);
    const double down = Horizontal ? (OtherSide ? -c : c) : (OtherSide ? s : -s);
    const int across = down >= 0 ? 1 : -1;
    if (Horizontal)
        X -= ZuzRound(across * HalfHeight * s);
    else
        Y -= ZuzRound(across * HalfHeight * c);
    return (run >= 0 ? TA_LEFT : TA_RIGHT) | (across > 0 ? TA_TOP : TA_BOTTOM);
}

} // namespace

void TChartAxis::DrawExponentLine(int X, int Y, int Z, const String& Line) {
    TCanvas3D* canvas = ParentChart->GetCanvas();
    String upper = Line;
    for (Char& c : upper)
        if (c >= u'a' && c <= u'z') c = static_cast<Char>(c - 32);
    const std::size_t e = upper.find(u'E');
    if (!FLabelsExponent || e == String::npos) {
        canvas->TextOut3D(X, Y, Z, Line);
        return;
    }
    const String mantissa = Line.substr(0, e + 1), exponent = Line.substr(e + 1);
    const UINT align = canvas->GetTextAlign();
    const int mw = canvas->TextWidth(mantissa);
    TZuzFont* font = GetLabelsFont();
    TZuzFont small;
    small.Assign(font);
    small.SetSize(std::max(1, font->GetSize() * 2 / 3));
    const int raise = canvas->TextHeight(u"W") / 3;
    const UINT horizontal = align & (TA_CENTER | TA_RIGHT);
    canvas->AssignFont(&small);
    const int ew = canvas->TextWidth(exponent);
    canvas->AssignFont(font);
    // The mantissa stays on the label point; the exponent sits beside it.
    int left = X;
    if (horizontal == TA_RIGHT)
        left = X - mw - ew;
    else if (horizontal == TA_CENTER)
        left = X - (mw + ew) / 2;
    canvas->SetTextAlign((align & ~(TA_CENTER | TA_RIGHT)) | TA_LEFT);
    canvas->TextOut3D(left, Y, Z, mantissa);
    canvas->AssignFont(&small);
    canvas->TextOut3D(left + mw, Y - raise, Z, exponent);
    canvas->AssignFont(font);
    canvas->SetTextAlign(align);
}

void TChartAxis::DrawAxisLabel(int X, int Y, int Angle, const String& Text, TAxisShape* Format, int Z) {
    TCanvas3D* canvas = ParentChart->GetCanvas();
    const int angle = ((Angle % 360) + 360) % 360;
    const int hh = canvas->TextHeight(u"W") / 2;
    UINT align = TA_LEFT;
    switch (angle) {
    case 0:
        align = AlignmentAtZero(FHorizontal, FOtherSide);
        // Only the labels move to the band's outer edge; the title keeps its own room beyond it.
        if (!FHorizontal && FLabelsAlign == alOpposite && Format != FTitle.get()) {
            align = FOtherSide ? TA_RIGHT : TA_LEFT;
            // The band is measured in the fonts of all labels: this one keeps its own. Alternating
            // labels stand in two rows of half the band, the second already a row further out.
            TZuzFont* font = canvas->ZuzFont;
            const int band = FLabelsAlternate ? SizeLabels() / 2 : SizeLabels();
            if (font) canvas->AssignFont(font);
            X += FOtherSide ? band : -band;
        }
        if (!FHorizontal && !IsDepthAxis) Y -= hh;
        if (IsDepthAxis) align = DepthAxisAlign();
        break;
    case 180:
        align = AlignmentAtZero(FHorizontal, !FOtherSide);
        if (!FHorizontal) Y += IsDepthAxis ? 2 * hh : hh;
        break;
    case 90:
        if (FHorizontal) {
            align = FOtherSide ? TA_LEFT : TA_RIGHT;
            X -= hh;
        } else {
            align = FOtherSide ? TA_CENTER : TA_CENTER | TA_BOTTOM;
            if (IsDepthAxis) Y += hh;
        }
        break;
    case 270:
        if (FHorizontal) {
            align = FOtherSide ? TA_RIGHT : TA_LEFT;
            X += hh;
        } else {
            align = FOtherSide ? TA_CENTER | TA_BOTTOM : TA_CENTER;
            if (IsDepthAxis) Y += hh;
        }
        break;
    case 45:
        if (!FHorizontal && !IsDepthAxis && Format == FTitle.get()) {
            align = AlignTitleLeaning(FHorizontal, FOtherSide, angle, canvas->TextWidth(Text), hh, X, Y);
        } else if (!FHorizontal && !IsDepthAxis) {
            align = AlignLeaning(FHorizontal, FOtherSide, angle, hh, X, Y);
        } else if (FHorizontal && !FOtherSide) {
            const int s = ZuzRound(canvas->TextWidth(Text) * std::sin(45 * ZuzPiStep));
            X -= s;
            Y += s;
        } else if (FHorizontal) {
            const int w = canvas->TextWidth(u"Wj");
            X -= w;
            Y -= w;
        }
        break;
    default:
        if (IsDepthAxis)
            break;
        else if (Format == FTitle.get())
            align = AlignTitleLeaning(FHorizontal, FOtherSide, angle, canvas->TextWidth(Text), hh, X, Y);
        else
            align = AlignLeaning(FHorizontal, FOtherSide, angle, hh, X, Y);
        break;
    }
    canvas->SetTextAlign(align);
    int z = IsDepthAxis ? Z : IZPos;
    String text = Text;
    std::vector<String> lines = SplitLines(text);
    int h = canvas->TextHeight(u"W");
    if (angle == 180 || angle == 270) h = -h;
    auto shiftForLines = [&](int& x, int& y, int count) {
        const int t = ZuzRound(static_cast<double>(h) * count), m = ZuzRound(h * 0.5 * (count + 1));
        if (FHorizontal) {
            if (angle == 0) y -= FOtherSide ? t : h;
            if (angle == 180) y -= FOtherSide ? h : t;
            if (angle == 90 || angle == 270) x -= m;
        } else {
            if (angle == 0 || angle == 180) y -= m;
            if (angle == 90) x -= FOtherSide ? h : t;
            if (angle == 270) x -= FOtherSide ? t : h;
        }
    };
    int x = X, y = Y;
    shiftForLines(x, y, static_cast<int>(lines.size()));
    if (Format && Format != FItems->GetFormat()) {
        int widest = 0;
        for (const String& l : lines) widest = std::max(widest, canvas->TextWidth(l));
        const int half = canvas->TextWidth(u"W") / 2;
        const int lineHeight = std::abs(h);
        const int height = lineHeight * static_cast<int>(lines.size());
        // The box is laid out along the text and turned with it about its
        // centre, so that centre must be the centre of the text as drawn:
        // taken in the text's own directions from the first line's point.
        TPoint first{x, y};
        if (angle == 0 || angle == 180)
            first.Y += h;
        else if (angle == 90 || angle == 270)
            first.X += h;
        const UINT hAlign = align & (TA_CENTER | TA_RIGHT);
        const int alongFrom = hAlign == TA_CENTER ? -(widest / 2) : hAlign == TA_RIGHT ? -widest : 0;
        const int acrossFrom = (align & TA_BOTTOM) ? -lineHeight : 0;
        const double along2 = 2.0 * alongFrom + widest, across2 = 2.0 * acrossFrom + height;
        const double c = std::cos(angle * ZuzPiStep), s = std::sin(angle * ZuzPiStep);
        const int centreX2 = 2 * first.X + ZuzRound(along2 * c + across2 * s);
        const int centreY2 = 2 * first.Y + ZuzRound(-along2 * s + across2 * c);
        const int width = widest + 2 * half;
        const int left = static_cast<int>(std::floor((centreX2 - width) / 2.0));
        const int top = static_cast<int>(std::floor((centreY2 - height) / 2.0));
        TRect r{left, top, left + width, top + height};
        // Where the text goes: at its depth and, in a turned view, turned with it even at depth 0.
        // There the text keeps its size wherever it stands, nearer or deeper, and so does its box.
        if (auto* c3 = dynamic_cast<TZuzCanvas3D*>(canvas)) {
            if (c3->Is3D() && !c3->IsOrthogonal()) {
                const TPoint p = c3->Calculate3DPosition(first.X, first.Y, z);
                const double k = c3->ZoomText() ? c3->ZoomFactor() : 1;
                r = {p.X + ZuzRound((r.Left - first.X) * k), p.Y + ZuzRound((r.Top - first.Y) * k),
                     p.X + ZuzRound((r.Right - first.X) * k), p.Y + ZuzRound((r.Bottom - first.Y) * k)};
            } else
                r = c3->CalcRect3D(r, z);
        }
        Format->ShapeBounds = r;
        // A framed title or label: its box goes under the text.
        if (!Format->GetTransparent()) Format->DrawRectRotated(r, angle, 0);
    }
    // The text lies on its box or on what is drawn there already: never on a background of
    // its own. The last solid brush (a wall's dark side, a bar) would otherwise leave the
    // device opaque in its colour, and a brush realised later would make it so again.
    canvas->Brush->SetStyle(bsClear);
    canvas->SetBackMode(cbmTransparent);
    if (OnDrawLabel) {
        bool drawLabel = true;
        OnDrawLabel(this, X, Y, z, text, drawLabel);
        if (!drawLabel) return;
        lines = SplitLines(text);
        x = X;
        y = Y;
        shiftForLines(x, y, static_cast<int>(lines.size()));
    }
    for (const String& line : lines) {
        if (angle == 0) {
            y += h;
            DrawExponentLine(x, y, z, line);
        } else {
            if (angle == 180)
                y += h;
            else if (angle == 90 || angle == 270)
                x += h;
            canvas->RotateLabel3D(x, y, z, line, angle);
            if (angle != 180 && angle != 90 && angle != 270) y += h;
        }
    }
}

// ---------------------------------------------------------------------------
// Line, ticks and grids

void TChartAxis::DrawLineTicksGrids() {
    TCanvas3D* canvas = ParentChart->GetCanvas();
    IWallSize = ParentChart->CalcWallSize(this);
    if (FAxisPen->GetVisible()) {
        if (OnCustomDrawLine)
            OnCustomDrawLine(this);
        else
            DrawLineSegment(IStartPos, IEndPos);
    }
    // A logarithmic axis records ticks a power beyond its first and last labels for its minor
    // grid; those lie past the axis's ends and are not drawn.
    const int lo = std::min(IStartPos, IEndPos), hi = std::max(IStartPos, IEndPos);
    std::vector<int> inside;
    inside.reserve(Tick.size());
    std::copy_if(Tick.begin(), Tick.end(), std::back_inserter(inside),
                 [lo, hi](int p) { return p >= lo && p <= hi; });
    if (FTicks->GetVisible()) DrawTicks(FTickLength, true, FTicks.get(), inside);
    DrawGrids(static_cast<int>(Tick.size()));
    if (FTicksInner->GetVisible()) DrawTicks(FTickInnerLength, false, FTicksInner.get(), inside);
    const bool minorTicks = FMinorTicks->GetVisible() && !Tick.empty();
    if (minorTicks || FMinorGrid->GetVisible()) {
        const std::vector<int> minor = MinorTickPositions();
        if (minorTicks) DrawTicks(FMinorTickLength, true, FMinorTicks.get(), minor);
        if (FMinorGrid->GetVisible()) {
            canvas->AssignVisiblePen(FMinorGrid.get());
            for (const int p : minor) DrawGridLine(p);
        }
    }
}

void TChartAxis::DrawLineSegment(int Start, int End) {
    TCanvas3D* canvas = ParentChart->GetCanvas();
    canvas->AssignVisiblePen(FAxisPen.get());
    const int pos = InflateAxisPos(PosAxis, IWallSize);
    if (IsDepthAxis) {
        const int y = DepthAxisPos();
        canvas->MoveTo3D(pos, y, Start);
        canvas->LineTo3D(pos, y, End);
        return;
    }
    const TPenLineMode mode = FAxisPen->GetLineMode();
    if (mode == lmLine) {
        if (FHorizontal)
            canvas->HorizLine3D(Start, End, pos, IZPos);
        else
            canvas->VertLine3D(pos, Start, End, IZPos);
        return;
    }
    // A solid line: the pen's width to each side, across and in depth, in the pen's colour.
    const int w = FAxisPen->GetWidth();
    canvas->Brush->SetStyle(bsSolid);
    canvas->Brush->SetColor(FAxisPen->GetColor());
    canvas->Pen->SetStyle(psClear);
    const TRect r = FHorizontal ? TRect{std::min(Start, End), pos - w, std::max(Start, End), pos + w}
                                : TRect{pos - w, std::min(Start, End), pos + w, std::max(Start, End)};
    if (mode == lmCylinder)
        canvas->Cylinder(!FHorizontal, r.Left, r.Top, r.Right, r.Bottom, IZPos - w, IZPos + w, true);
    else
        canvas->Cube(r, IZPos - w, IZPos + w, true);
    // The solid brush left the background opaque in the line's colour: the gaps of a dotted
    // grid or tick pen drawn next would fill with it.
    canvas->SetBackMode(cbmTransparent);
}

void TChartAxis::DrawTicks(int Length, bool Outward, TChartPen* Pen, const std::vector<int>& Positions) {
    if (Length == 0 || Positions.empty()) return;
    TCanvas3D* canvas = ParentChart->GetCanvas();
    canvas->AssignVisiblePen(Pen);
    const int base = InflateAxisPos(PosAxis, IWallSize);
    // Drawn from the free end towards the line, so the line keeps its own pixel.
    const int end = Outward ? InflateAxisPos(base, Length) : InflateAxisPos(base, -Length);
    for (const int p : Positions) {
        if (IsDepthAxis) {
            const int y = DepthAxisPos();
            canvas->MoveTo3D(end, y, p);
            canvas->LineTo3D(base, y, p);
        } else if (FHorizontal) {
            canvas->MoveTo3D(p, end, IZPos);
            canvas->LineTo3D(p, base, IZPos);
        } else {
            canvas->MoveTo3D(end, p, IZPos);
            canvas->LineTo3D(base, p, IZPos);
        }
    }
}

std::vector<int> TChartAxis::MinorTickPositions() const {
    std::vector<int> out;
    const int lo = std::min(IStartPos, IEndPos), hi = std::max(IStartPos, IEndPos);
    // No gap holds more parts than the axis has pixels: on a linear axis a
    // larger count lands on the same pixels, only slower (or never ends).
    const int n = std::min(FMinorTickCount, std::max(1, hi - lo));
    if (n <= 0 || Tick.empty()) return out;
    auto add = [&](double p) {
        const int q = ZuzRound(p);
        if (q > lo && q < hi) out.push_back(q);
    };
    if (FLogarithmic && !FLogLabelValues.empty()) {
        const double base = LogBaseForLoops();
        // Every power of the base gets its minor ticks, those between labels that keep only
        // every k-th power and those past the first and last labels up to the axis's ends.
        std::vector<double> starts;
        for (double v = FLogLabelValues.front() / base; starts.size() < MaxAxisLabelSteps; v /= base) {
            starts.insert(starts.begin(), v);
            if (!(v > (IMinimum > 0 ? IMinimum : 1))) break;
        }
        for (std::size_t i = 0; i < FLogLabelValues.size(); ++i) {
            const double next = i + 1 < FLogLabelValues.size() ? FLogLabelValues[i + 1] : IMaximum * base;
            for (double v = FLogLabelValues[i];
                 v < next * (1 - 1e-9) && starts.size() < 2 * MaxAxisLabelSteps; v *= base)
                starts.push_back(v);
        }
        for (const double v : starts)
            for (int j = 1; j <= n; ++j) {
                const double m = v + j * (v * base - v) / (n + 1);
                if (m >= IMinimum && m <= IMaximum) add(CalcPosValue(m));
            }
        return out;
    }
    for (std::size_t i = 1; i < Tick.size(); ++i) {
        const double d = (Tick[i] - Tick[i - 1]) / (n + 1.0);
        for (int j = 1; j <= n; ++j) add(Tick[i - 1] + j * d);
    }
    if (Tick.size() >= 2) {
        // The spacing of the end gaps continues to the ends of the axis.
        const double d0 = (Tick[1] - Tick[0]) / (n + 1.0);
        const double d1 = (Tick[Tick.size() - 1] - Tick[Tick.size() - 2]) / (n + 1.0);
        for (int j = 1; j < MaxAxisLabelSteps && d0 != 0; ++j) {
            const double p = Tick[0] - j * d0;
            if (p <= lo - 1 || p >= hi + 1) break;
            if (j % (n + 1) != 0) add(p);
        }
        for (int j = 1; j < MaxAxisLabelSteps && d1 != 0; ++j) {
            const double p = Tick.back() + j * d1;
            if (p <= lo - 1 || p >= hi + 1) break;
            if (j % (n + 1) != 0) add(p);
        }
    }
    return out;
}

void TChartAxis::DrawGrids(int NumTicks) {
    if (OnDrawGrids) OnDrawGrids(this);
    if (!FGrid->GetVisible()) return;
    TCanvas3D* canvas = ParentChart->GetCanvas();
    canvas->AssignVisiblePen(FGrid.get());
    // The gaps of a dotted grid show what lies under them: drawn over the series (the back wall
    // turned to the front), the last bar's brush would fill them in its colour.
    canvas->SetBackMode(cbmTransparent);
    const int every = std::max(1, FGrid->GetDrawEvery());
    for (int i = 0; i < NumTicks && i < static_cast<int>(Tick.size()); i += every) {
        const std::size_t k = static_cast<std::size_t>(i);
        if (!FGrid->GetCentered())
            DrawGridLine(Tick[k]);
        else if (i > 0)
            DrawGridLine((Tick[k] + Tick[k - 1]) / 2);
    }
}

void TChartAxis::DrawGridLine(int Pos) {
    if (!(Pos > std::min(IStartPos, IEndPos) && Pos < std::max(IStartPos, IEndPos))) return;
    TCanvas3D* canvas = ParentChart->GetCanvas();
    const TRect r = ParentChart->GetChartRect();
    const int depth = ParentChart->GetWidth3D();
    if (!ParentChart->GetView3D()) {
        if (FHorizontal)
            canvas->DoVertLine(Pos, r.Top, r.Bottom);
        else
            canvas->DoHorizLine(r.Left, r.Right, Pos);
        return;
    }
    if (IsDepthAxis) {
        canvas->HorizLine3D(r.Left, r.Right, r.Bottom, Pos);
        canvas->VertLine3D(r.Left, r.Top, r.Bottom, Pos);
        return;
    }
    if (!ParentChart->GetAxisBehind()) {
        if (FHorizontal)
            canvas->VertLine3D(Pos, r.Top, r.Bottom, 0);
        else
            canvas->HorizLine3D(r.Left, r.Right, Pos, 0);
        return;
    }
    if (!IHideBackGrid) {
        if (FHorizontal)
            canvas->VertLine3D(Pos, r.Top, r.Bottom, depth);
        else
            canvas->HorizLine3D(r.Left, r.Right, Pos, depth);
    }
    if (!IHideSideGrid) {
        if (FHorizontal)
            canvas->ZLine3D(Pos, r.Bottom, 0, depth);
        else
            canvas->ZLine3D(r.Left, Pos, 0, depth);
    }
}

// ---------------------------------------------------------------------------
// Custom drawing

void TChartAxis::CustomDraw(int APosLabels, int APosTitle, int APosAxis, bool GridVisible) {
    InternalCalcPositions();
    CustomDrawStartEnd(APosLabels, APosTitle, APosAxis, GridVisible, IStartPos, IEndPos);
}

void TChartAxis::CustomDrawStartEnd(int APosLabels, int APosTitle, int APosAxis, bool GridVisible,
                                    int AStartPos, int AEndPos) {
    PosLabels = APosLabels;
    PosTitle = APosTitle;
    PosAxis = APosAxis;
    IStartPos = AStartPos;
    IEndPos = AEndPos;
    RecalcSizeCenter();
    // The grid shows as asked for this drawing only, and says nothing of it.
    const bool gridVisible = FGrid->GetVisible();
    TNotifyEvent onChange = std::move(FGrid->OnChange);
    FGrid->OnChange = TNotifyEvent{};
    FGrid->SetVisible(GridVisible);
    ScopeExit restore{[&] {
        FGrid->SetVisible(gridVisible);
        FGrid->OnChange = std::move(onChange);
    }};
    Draw(false);
}

void TChartAxis::CustomDrawMinMax(int APosLabels, int APosTitle, int APosAxis, bool GridVisible,
                                  double AMinimum, double AMaximum, double AIncrement) {
    CustomDrawMinMaxStartEnd(APosLabels, APosTitle, APosAxis, GridVisible, AMinimum, AMaximum, AIncrement,
                             IStartPos, IEndPos);
}

void TChartAxis::CustomDrawMinMaxStartEnd(int APosLabels, int APosTitle, int APosAxis, bool GridVisible,
                                          double AMinimum, double AMaximum, double AIncrement, int AStartPos,
                                          int AEndPos) {
    const double oldMin = FMinimum, oldMax = FMaximum, oldInc = FIncrement;
    const bool oldAuto = FAutomatic;
    ScopeExit restore{[&] {
        FMinimum = oldMin;
        FMaximum = oldMax;
        FIncrement = oldInc;
        FAutomatic = oldAuto;
        IMinimum = FMinimum;
        IMaximum = FMaximum;
        InternalCalcRange();
    }};
    FMinimum = AMinimum;
    FMaximum = AMaximum;
    FIncrement = AIncrement;
    FAutomatic = false;
    IMinimum = AMinimum;
    IMaximum = AMaximum;
    InternalCalcRange();
    CustomDrawStartEnd(APosLabels, APosTitle, APosAxis, GridVisible, AStartPos, AEndPos);
}
