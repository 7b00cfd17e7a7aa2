// The legend's layout and drawing: rectangle, rows and columns, items, and the room it
// takes off the chart rectangle.
#include "chart/engine/chartlegend.h"

#include "chart/canvas/zuzhtml.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/engine/chart.h"
#include "chart/engine/serieslist.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Pixels between the symbol and the text, and between the two text columns.
constexpr int Spacing = 6;
// The check box column of an item.
constexpr int CheckBoxColumn = 15;

// Ends the canvas's entity also when drawing raises.
class TEntityScope {
public:
    TEntityScope(TCanvas3D* Canvas, const String& Name) : FCanvas(Canvas) { Canvas->BeginEntity(Name); }
    ~TEntityScope() { FCanvas->EndEntity(); }
    TEntityScope(const TEntityScope&) = delete;
    TEntityScope& operator=(const TEntityScope&) = delete;

private:
    TCanvas3D* FCanvas;
};

bool RightAlignedFirst(TLegendTextStyle S) {
    switch (S) {
    case ltsLeftValue:
    case ltsLeftPercent:
    case ltsXValue:
    case ltsValue:
    case ltsPercent:
    case ltsXAndValue:
    case ltsXAndPercent:
        return true;
    default:
        return false;
    }
}

bool RightAlignedSecond(TLegendTextStyle S) {
    return S == ltsRightValue || S == ltsRightPercent || S == ltsXAndValue || S == ltsXAndPercent;
}

int TextExtentWidth(TCanvas3D* C, const String& Text, bool Html) {
    if (!Html) return C->TextWidth(Text);
    TSize e{};
    HtmlTextExtent(C, Text, e);
    return e.cx;
}

} // namespace

int TCustomChartLegend::BorderSize() {
    if (GetBevel() != bvNone) return GetBevelWidth();
    return GetPen()->GetVisible() ? GetPen()->GetWidth() : 0;
}

// How far a visible symbol shadow moves the text right: by its size when it falls right, by
// twice that when it falls left, where the symbol moves right first to make room for it.
int TCustomChartLegend::SymbolShadowRoom() const {
    const TZuzShadow* shadow = FSymbol->GetShadow();
    if (!FSymbol->GetVisible() || !shadow->GetVisible()) return 0;
    const int size = shadow->GetHorizSize();
    return size >= 0 ? size : -2 * size;
}

int TCustomChartLegend::ColumnStep() const {
    return TextWidth + SymbolWidth + SymbolShadowRoom() + (HasCheckBoxes() ? 23 : 8);
}

void TCustomChartLegend::GatherTexts() {
    // Each text splits at the column separator into at most two columns.
    FTexts.clear();
    TCustomChart* ch = Chart();
    for (int i = 0; i < TotalItems; ++i) {
        const String text = ch->InternalFormattedLegend(this, FFirstValue + i);
        const auto sep = text.find(ZuzColumnSeparator);
        if (sep == String::npos) {
            FTexts.emplace_back(text, String());
        } else {
            const auto sep2 = text.find(ZuzColumnSeparator, sep + 1);
            FTexts.emplace_back(text.substr(0, sep),
                                text.substr(sep + 1, sep2 == String::npos ? String::npos : sep2 - sep - 1));
        }
    }
}

void TCustomChartLegend::CalcItemWidth() {
    TCanvas3D* c = Chart()->GetCanvas();
    const bool html = GetTextFormat() == ttfHtml;
    if (AutoColumnWidth) {
        TextWidths[0] = TextWidths[1] = 0;
        for (int i = 0; i < static_cast<int>(FTexts.size()); ++i) {
            String a = FTexts[static_cast<std::size_t>(i)].first,
                   b = FTexts[static_cast<std::size_t>(i)].second;
            if (FItems.Custom && i < FItems.Count()) {
                a = FItems.Get(i)->GetText();
                b = FItems.Get(i)->GetText2();
            }
            TextWidths[0] = std::max(TextWidths[0], TextExtentWidth(c, a, html));
            TextWidths[1] = std::max(TextWidths[1], TextExtentWidth(c, b, html));
        }
    }
    TextWidth = 0;
    for (const int w : TextWidths)
        if (w > 0) TextWidth += w + Spacing - 1;
    SymbolWidth = FSymbol->CalcWidth(TextWidth);
    ItemWidth = TextWidth + 12 + SymbolWidth;
    // A shadow to the left moves the text right as well: it widens the item, not narrows it.
    if (FSymbol->GetVisible())
        ItemWidth +=
            2 + (FSymbol->GetShadow()->GetVisible() ? SymbolShadowRoom()
                                                    : std::max(0, FSymbol->GetShadow()->GetHorizSize()));
}

void TCustomChartLegend::CalcSymbolTextPositions() {
    const int itemLeft = RectLegend.Left;
    CheckBoxLeft = itemLeft + 4;
    const int left = itemLeft + (HasCheckBoxes() ? CheckBoxColumn : 0);
    const int shadow = FSymbol->GetShadow()->GetVisible() ? FSymbol->GetShadow()->GetHorizSize() : 0;
    if (FSymbol->GetVisible() && FSymbol->GetPosition() == spLeft) {
        SymbolLeft = left + 6 + (shadow < 0 ? -shadow : 0);
        TextLeft = SymbolLeft + SymbolWidth + Spacing + std::abs(shadow);
    } else {
        TextLeft = left + 6 + (FSymbol->GetVisible() ? 0 : 2);
        SymbolLeft = TextLeft + TextWidth;
    }
}

void TCustomChartLegend::DrawLegend() {
    TCustomChart* ch = Chart();
    TCanvas3D* c = ch->GetCanvas();
    const TEntityScope entity(c, u"Legend");
    CalcLegendStyle();
    const int border = BorderSize();
    const bool custom = GetCustomPosition();
    const TRect panel = ch->GetChartBounds();
    if (custom && FPositionUnits == muPercent) {
        const int w = ShapeBounds.Right - ShapeBounds.Left, h = ShapeBounds.Bottom - ShapeBounds.Top;
        // Held to the largest picture as a place in pixels is, so that the place drawing stores
        // loads back as it is.
        const auto place = [](int Percent, int Low, int High) {
            const double p = Percent * (static_cast<double>(High) - Low) * 0.01;
            return ZuzRound(std::clamp(p, double{-kLargestPictureSide}, double{kLargestPictureSide}));
        };
        ShapeBounds.Left = place(FLeftPercent, panel.Left, panel.Right);
        ShapeBounds.Top = place(FTopPercent, panel.Top, panel.Bottom);
        ShapeBounds.Right = ShapeBounds.Left + w;
        ShapeBounds.Bottom = ShapeBounds.Top + h;
    }
    if (custom) {
        RectLegend = ShapeBounds;
        OffsetRect(RectLegend, panel.Left, panel.Top);
    }

    // Paging: a value legend lists the current page's points, or, told not to, all of
    // them from its first value on; the other legends list from the start.
    const int perPage = ch->GetPages()->GetMaxPointsPerPage();
    if (perPage > 0) {
        if (FInternalStyle != lsValues)
            FFirstValue = 0;
        else if (FCurrentPage)
            FFirstValue = ch->GetPages()->FirstValueIndex();
    }
    TotalItems = CalcTotalItems();
    if (perPage > 0 && FInternalStyle == lsValues && FCurrentPage) TotalItems = std::min(TotalItems, perPage);

    ch->LegendColor = GetColor();
    c->AssignFont(GetFont());
    ItemHeight = CalcItemHeight();
    TitleShown = FTitle->GetVisible() && FTitle->HasText();
    int titleHeight = 0;
    if (TitleShown) {
        titleHeight = FTitle->CalcHeight();
        c->AssignFont(GetFont());
    }

    const TRect chartRect = ch->GetChartRect();
    const int chartWidth = chartRect.Right - chartRect.Left;
    const int chartHeight = chartRect.Bottom - chartRect.Top;
    const TZuzShadow* shadow = HasShadow() ? const_cast<TCustomChartLegend*>(this)->GetShadow() : nullptr;
    const bool shadowShown = shadow && shadow->GetVisible();
    const TZuzShadow* panelShadow = ch->GetShadow();
    if (!GetVertical()) {
        GatherTexts();
        CalcItemWidth();
        if (!custom) {
            if (FAlignment == laTop)
                RectLegend.Top = chartRect.Top + border + 1;
            else // a shadow cast upwards takes no room below the legend
                RectLegend.Bottom =
                    chartRect.Bottom - (border + 1 + (shadowShown ? std::max(0, shadow->GetVertSize()) : 0));
        }
        NumCols =
            chartRect.Right > 8
                ? std::min((chartWidth - 2 * border - 8) /
                               (TextWidth + SymbolWidth + SymbolShadowRoom() + (HasCheckBoxes() ? 27 : 8)),
                           TotalItems)
                : 0;
        NumCols = std::max(0, NumCols);
        NumRows = NumCols > 0 ? std::min((TotalItems + NumCols - 1) / NumCols, FMaxNumRows) : 0;
        NumRows = std::max(0, NumRows);
        LastValue = FFirstValue + std::min(TotalItems, NumCols * NumRows) - 1;
    } else {
        if (!custom) {
            const int a = panelShadow->GetVisible() && panelShadow->GetVertSize() < 0
                              ? 2 * panelShadow->GetVertSize()
                              : 0;
            RectLegend.Top = panel.Top + a + ZuzRound(FTopPos * (panel.Bottom - panel.Top - a) * 0.01);
        }
        NumCols = 1;
        const int first = FirstItemTop();
        if (chartRect.Bottom <= first || ItemHeight <= 0)
            NumRows = 0;
        else
            NumRows = std::max(
                0, std::min((chartHeight - 2 * border - first + chartRect.Top) / ItemHeight, TotalItems));
        LastValue = FFirstValue + NumRows - 1;
        GatherTexts();
        CalcItemWidth();
    }

    if (FFirstValue <= LastValue) {
        const int margin = ZuzRound(ItemHeight * 0.1);
        int height = ItemHeight * NumRows + 2 + 2 * margin;
        if (TitleShown) {
            height += titleHeight + 4;
            if (!FTitle->GetTransparent() && FTitle->GetShadow()->GetVisible())
                height += std::abs(FTitle->GetShadow()->GetVertSize());
        }
        const TZuzShadow* symShadow = FSymbol->GetShadow();
        if (FSymbol->GetVisible() && symShadow->GetVisible() && symShadow->GetVertSize() > ItemHeight / 6)
            height += symShadow->GetVertSize() - ItemHeight / 6;
        if (FAlignment == laBottom && !custom)
            RectLegend.Top = RectLegend.Bottom - height;
        else
            RectLegend.Bottom = RectLegend.Top + height;

        const int checks = HasCheckBoxes() ? CheckBoxColumn : 0;
        if (!GetVertical()) {
            int w = NumCols * (TextWidth + SymbolWidth + SymbolShadowRoom()) + 8 + (NumCols - 1) * 6 + 4 +
                    2 * NumCols;
            if (HasCheckBoxes()) w += CheckBoxColumn * NumCols + 4;
            if (TitleShown) w = std::max(w, FTitle->TotalWidth());
            w = std::min(w, chartWidth);
            // Far along its side the position would run past the panel's edge, taking the legend
            // off the picture: it stops at the edge.
            if (!custom)
                RectLegend.Left = std::clamp(ZuzRound(FTopPos * (panel.Right - panel.Left - w) * 0.01) +
                                                 ch->GetChartXCenter() - w / 2,
                                             panel.Left, std::max(panel.Left, panel.Right - w));
            RectLegend.Right = RectLegend.Left + w;
        } else {
            // A title wider than the items widens the legend, as it does a horizontal one, instead
            // of being cut at the legend's edge.
            const int w = std::max(ItemWidth + checks, TitleShown ? FTitle->TotalWidth() : 0);
            if (!custom) {
                if (FAlignment == laLeft) {
                    RectLegend.Left = chartRect.Left + border + 1;
                } else {
                    RectLegend.Right = chartRect.Right -
                                       (panelShadow->GetVisible() ? panelShadow->GetHorizSize() : 0) -
                                       (border + 1);
                    RectLegend.Left = RectLegend.Right - w;
                }
            }
            RectLegend.Right = RectLegend.Left + w;
        }
        CalcSymbolTextPositions();
        if (ch->OnGetLegendRect) ch->OnGetLegendRect(ch, RectLegend);

        ShapeBounds = RectLegend;
        // Text wider than the chart stays inside the legend instead of running over its
        // neighbours.
        // (the legend's shadow still shows beside it).
        TRect clip = RectLegend;
        const int around = (shadowShown ? shadow->GetSize() : 0) + 1;
        InflateRect(clip, around, around);
        if (!IntersectRect(clip, clip, panel)) clip = TRect();
        c->ClipRectangle(clip);
        try {
            // Title and items are written from their left: a legend placed by hand is drawn after
            // the axes, whose labels leave the canvas aligned otherwise.
            c->SetTextAlign(TA_LEFT);
            Draw();
            if (TitleShown) {
                FTitle->ShapeBounds = FTitle->CalcShapeBounds(RectLegend);
                FTitle->Draw();
                FTitle->DrawText();
                c->AssignFont(GetFont());
            }
            c->SetBackMode(cbmTransparent);
            const int shown = LastValue - FFirstValue + 1;
            for (int p = 0; p < shown; ++p) DrawItem(FInverted ? LastValue - p : FFirstValue + p, p);
        } catch (...) {
            c->UnClipRectangle();
            throw;
        }
        c->UnClipRectangle();
        // Only the chart's own legend takes room off the chart; another one
        // is drawn over the series.
        if (!ch->CustomChartRect && ch->GetLegend() == this) ResizeChartRect();
    }
    if (custom) {
        OffsetRect(RectLegend, -panel.Left, -panel.Top);
        ShapeBounds = RectLegend;
    }
}

void TCustomChartLegend::DrawItem(int ValueIndex, int Position) {
    if (Position >= TotalItems) return;
    TCustomChart* ch = Chart();
    TCanvas3D* c = ch->GetCanvas();
    PrepareSymbolPen();
    int textLeft = TextLeft, symbolLeft = SymbolLeft, boxLeft = CheckBoxLeft;
    int row = Position;
    if (!GetVertical()) {
        row = Position / NumCols;
        const int shift = (Position % NumCols) * ColumnStep();
        textLeft += shift;
        symbolLeft += shift;
        boxLeft += shift;
    }
    int top = FirstItemTop() + 1 + row * ItemHeight + FVertSpacing / 2;
    if (ch->OnGetLegendPos) ch->OnGetLegendPos(ch, ValueIndex, textLeft, top, symbolLeft);

    TChartSeries* series = nullptr;
    if (FInternalStyle == lsSeries || FInternalStyle == lsLastValues)
        series = LegendSeriesAt(ValueIndex);
    else if (FInternalStyle == lsValues)
        series = GetLegendSeries();
    if (FFontSeriesColor && series) {
        const TColor colour = FInternalStyle == lsValues
                                  ? series->LegendItemColor(series->LegendToValueIndex(ValueIndex))
                                  : series->GetSeriesColor();
        c->Font->SetColor(colour);
    }

    // Texts: recorded while the items are not customised, taken from them once they are. A
    // customised item keeps a place it was moved to by hand; otherwise it goes where the legend
    // lays it out now, beside its symbol, not where an earlier layout had it.
    const int textIndex = ValueIndex - FFirstValue;
    TLegendItem* item = FItems.Get(textIndex);
    String text1, text2;
    if (FItems.Custom) {
        text1 = item->GetText();
        text2 = item->GetText2();
    } else if (textIndex >= 0 && textIndex < static_cast<int>(FTexts.size())) {
        text1 = FTexts[static_cast<std::size_t>(textIndex)].first;
        text2 = FTexts[static_cast<std::size_t>(textIndex)].second;
    }
    if (!FItems.Custom) item->Record(text1, text2);
    if (FItems.Custom && item->MovedByHand()) {
        textLeft = item->Left;
        top = item->Top;
    } else {
        item->RecordPlace(textLeft, top);
    }
    const bool html = GetTextFormat() == ttfHtml;
    // The symbol of the item before may have left an opaque background behind.
    c->SetBackMode(cbmTransparent);
    const auto write = [&](int X, int Width, const String& Text, bool Right) {
        if (Text.empty()) return;
        const int x = Right ? X + Width - TextExtentWidth(c, Text, html) : X;
        c->TextOut(x, top, Text, html);
    };
    const bool seriesStyle = FInternalStyle == lsSeries;
    write(textLeft, TextWidths[0], text1, !seriesStyle && RightAlignedFirst(FTextStyle));
    write(textLeft + TextWidths[0] + Spacing, TextWidths[1], text2,
          !seriesStyle && RightAlignedSecond(FTextStyle));
    item->Align = !seriesStyle && RightAlignedFirst(FTextStyle) ? taRightJustify : taLeftJustify;

    const bool lines = FDividingLines->GetVisible();
    // Continuous symbols reach from item to item, as they do across the dividing lines between
    // the rows of a vertical legend; those lines stand between columns in a horizontal one, whose
    // rows keep their symbols apart.
    const bool across = lines && GetVertical();
    const bool joined = across || FSymbol->GetContinuous();
    const bool last = ValueIndex == (FInverted ? FFirstValue : LastValue);
    TRect symbol(symbolLeft, joined && Position > 0 ? top : top + 2, symbolLeft + SymbolWidth,
                 top + ItemHeight + 1);
    if (!joined || last)
        symbol.Bottom -= FVertSpacing + 3;
    else if (across && !FSymbol->GetContinuous())
        // Up to the next item's dividing line, not under it and into that item.
        symbol.Bottom = top + ItemHeight - FVertSpacing / 2;
    item->SymbolRect = symbol;

    const int boxTop = top + (ItemHeight - FVertSpacing - 13) / 2;
    if (FInternalStyle == lsSeriesGroups) {
        if (HasCheckBoxes()) {
            TSeriesGroups* groups = ch->GetSeriesGroups();
            const bool on =
                groups && ValueIndex < groups->GetCount() && groups->Get(ValueIndex)->GetActive() == gaYes;
            ZuzDrawCheckBox(boxLeft, boxTop, c->ReferenceCanvas, FCheckBoxesStyle == cbsCheck, GetColor(),
                            on);
        }
    } else if (series && HasCheckBoxes()) {
        ZuzDrawCheckBox(boxLeft, boxTop, c->ReferenceCanvas, FCheckBoxesStyle == cbsCheck, GetColor(),
                        series->GetActive());
    }
    if (FInternalStyle == lsSeriesGroups) {
        // Groups have no series of their own to draw a symbol.
    } else {
        const int valueIndex =
            FInternalStyle == lsValues && series ? series->LegendToValueIndex(ValueIndex) : -1;
        if (FSymbol->OnDraw)
            FSymbol->OnDraw(this, series, valueIndex, symbol);
        else if (series && SymbolWidth > 0)
            series->DrawLegend(valueIndex, symbol);
        else if (!series && SymbolWidth > 0)
            FSymbol->Draw(clWhite, symbol);
    }

    if (Position > 0 && lines && (GetVertical() || row == 0)) {
        c->AssignVisiblePen(FDividingLines.get());
        if (GetVertical()) {
            const int y = top - FVertSpacing / 2;
            c->DoHorizLine(RectLegend.Left, RectLegend.Right, y);
        } else {
            // At the item's left edge, where its check box and symbol are still to come and
            // the text of the column before has ended; from the first row down, under the title
            // that spans the columns.
            const int x = textLeft - (TextLeft - RectLegend.Left);
            c->DoVertLine(x, TitleShown ? FirstItemTop() : RectLegend.Top,
                          RectLegend.Bottom - BorderSize() / 2);
        }
    }
}

void TCustomChartLegend::ResizeChartRect() {
    if (!FResizeChart || GetCustomPosition()) return;
    TCustomChart* ch = Chart();
    TRect r = ch->GetChartRect();
    const int chartW = r.Right - r.Left, chartH = r.Bottom - r.Top;
    switch (FAlignment) {
    case laLeft:
        r.Left = RectLegend.Right;
        r.Left += FHorizMargin != 0 ? FHorizMargin : chartW * 3 / 100;
        break;
    case laRight:
        r.Right = RectLegend.Left;
        r.Right -= FHorizMargin != 0 ? FHorizMargin : chartW * 3 / 100;
        break;
    case laTop:
        r.Top = RectLegend.Bottom;
        if (ch->GetShadow()->GetVisible()) r.Top += ch->GetShadow()->GetVertSize();
        r.Top += FVertMargin != 0 ? FVertMargin : chartH * 4 / 100;
        break;
    case laBottom:
        r.Bottom = RectLegend.Top;
        r.Bottom -= FVertMargin != 0 ? FVertMargin : chartH * 4 / 100;
        break;
    }
    ch->SetChartRect(r);
    ch->ReCalcWidthHeight();
}
