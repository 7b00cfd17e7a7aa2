// The legend: what it lists, its layouts beside and above or below the chart, the room it
// takes off the chart rectangle, rows wrapping to columns, clicks on items and check boxes
// sent through the chart's window, and the texts of its columns.
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartlegend.h"

#include "chart/engine/serieslist.h"
#include "framefixture.h"
#include "platform/gui/forms.h"

#include <string>

namespace {

class LegendTest : public FrameTest {
protected:
    // A plain legend: no frame, bevel or shadow.
    static TChartLegend* PlainLegend(TCustomChart* Chart) {
        TChartLegend* l = Chart->GetLegend();
        l->GetPen()->SetVisible(false);
        l->SetShadow(nullptr);
        return l;
    }
    static TPoint ItemCentre(TChartLegend* L, int Position) {
        const int top = L->FirstItemTop() + 1 + Position * L->ItemHeight;
        return {L->TextLeft + 2, top + L->ItemHeight / 2};
    }
};

} // namespace

// ---------------------------------------------------------------------------
// What is listed

TEST_F(LegendTest, AnAutomaticLegendListsThePointsOfOneSeriesAndTheSeriesOfTwo) {
    auto chart = NewChart();
    AddSeries(chart.get(), u"A", 4);
    TChartLegend* l = chart->GetLegend();
    Draw(chart.get());
    EXPECT_EQ(l->InternalStyle(), lsValues);
    EXPECT_EQ(l->TotalItems, 4);
    TPolySeries* b = AddSeries(chart.get(), u"B");
    Draw(chart.get());
    EXPECT_EQ(l->InternalStyle(), lsSeries);
    EXPECT_EQ(l->TotalItems, 2);
    // Check boxes switch series on and off, so one series is listed as a series.
    chart->RemoveSeries(1);
    const Owned<TPolySeries> removed(b); // the chart frees only what it still holds
    l->SetCheckBoxes(true);
    Draw(chart.get());
    EXPECT_EQ(l->InternalStyle(), lsSeries);
}

TEST_F(LegendTest, WithCheckBoxesAndNoActiveSeriesTheLegendStillDraws) {
    auto chart = NewChart();
    AddSeries(chart.get(), u"A")->SetActive(false);
    TChartLegend* l = chart->GetLegend();
    EXPECT_FALSE(l->ShouldDraw());
    l->SetCheckBoxes(true);
    EXPECT_TRUE(l->ShouldDraw());
    Draw(chart.get());
    EXPECT_EQ(l->TotalItems, 1);
    EXPECT_LT(l->RectLegend.Left, l->RectLegend.Right);
}

TEST_F(LegendTest, AFirstValueOfZeroIsAcceptedAndANegativeOneRaises) {
    auto chart = NewChart();
    TChartLegend* l = chart->GetLegend();
    l->SetFirstValue(0);
    EXPECT_EQ(l->GetFirstValue(), 0);
    EXPECT_THROW(l->SetFirstValue(-1), LegendException);
    EXPECT_EQ(l->GetFirstValue(), 0);
    // A file's numbers are held to what the editor offers, places to the largest picture.
    l->SetColorWidth(2147483647);
    l->SetHorizMargin(-2147483647 - 1);
    l->SetVertMargin(2147483647);
    l->SetTopPos(2147483647);
    l->SetVertSpacing(-2147483647 - 1);
    l->SetLeft(-2147483647 - 1);
    l->SetTop(2147483647);
    EXPECT_EQ(l->GetSymbol()->GetWidth(), 100);
    EXPECT_EQ(l->GetHorizMargin(), -1000);
    EXPECT_EQ(l->GetVertMargin(), 1000);
    EXPECT_EQ(l->GetTopPos(), 100);
    EXPECT_EQ(l->GetVertSpacing(), -10);
    EXPECT_EQ(l->GetLeft(), -kLargestPictureSide);
    EXPECT_EQ(l->GetTop(), kLargestPictureSide);
    l->SetBevelWidth(2147483647);
    l->SetLeftPercent(2147483647);
    l->SetTopPercent(-2147483647 - 1);
    EXPECT_EQ(l->GetBevelWidth(), 100);
    EXPECT_EQ(l->GetLeftPercent(), 9000);
    EXPECT_EQ(l->GetTopPercent(), -100);
    // A place in percent is drawn into the place in pixels, held alike so that it loads back.
    l->SetCustomPosition(true);
    l->SetPositionUnits(muPercent);
    AddSeries(chart.get(), u"A");
    Draw(chart.get());
    EXPECT_EQ(l->GetLeft(), kLargestPictureSide);
    EXPECT_EQ(l->GetTop(), -300);
    // 7 % of 150 pixels is 10.5 exactly, so halves go to even: 10, not 11.
    auto small = NewChart(150, 150);
    TChartLegend* s = small->GetLegend();
    s->SetCustomPosition(true);
    s->SetPositionUnits(muPercent);
    s->SetLeftPercent(7);
    s->SetTopPercent(7);
    AddSeries(small.get(), u"A");
    Draw(small.get());
    EXPECT_EQ(s->GetLeft(), 10);
    EXPECT_EQ(s->GetTop(), 10);
}

// ---------------------------------------------------------------------------
// Texts

TEST_F(LegendTest, ItemTextsSplitIntoTwoColumnsAndLoseTheirLineBreaks) {
    auto chart = NewChart();
    AddSeries(chart.get(), u"A");
    AddSeries(chart.get(), u"B");
    const String sep(1, ZuzColumnSeparator);
    chart->OnGetLegendText.Bind([&](TCustomAxisPanel*, TLegendStyle Style, int Index, String& Text) {
        EXPECT_EQ(Style, lsSeries);
        if (Index == 0) Text = u"a" + sep + u"b" + sep + u"c";
    });
    Draw(chart.get());
    TLegendItems* items = chart->GetLegend()->GetItems();
    EXPECT_EQ(items->Get(0)->GetText(), u"a");
    EXPECT_EQ(items->Get(0)->GetText2(), u"b");
    EXPECT_EQ(items->Get(1)->GetText(), u"B");
    EXPECT_FALSE(items->Custom);

    auto one = NewChart();
    TPolySeries* s = AddSeries(one.get(), u"S", 0);
    s->AddXY(0, 5, String(u"two") + ZuzLineSeparator + u"lines");
    EXPECT_EQ(one->GetLegend()->FormattedValue(s, 0), u"5" + sep + u"two lines");
    EXPECT_EQ(one->GetLegend()->FormattedValue(s, -1), u"");
}

TEST_F(LegendTest, TextStylesPutValueLabelAndPercentInTheirColumns) {
    auto chart = NewChart();
    TPolySeries* s = AddSeries(chart.get(), u"S", 0);
    s->AddXY(1, 30, u"north");
    s->AddXY(2, 10, u"south");
    TChartLegend* l = chart->GetLegend();
    const String sep(1, ZuzColumnSeparator);
    struct Row {
        TLegendTextStyle Style;
        String First, Second;
        TAlignment Align;
    } rows[] = {
        {ltsPlain, u"north", u"", taLeftJustify},        {ltsLeftValue, u"30", u"north", taRightJustify},
        {ltsRightValue, u"north", u"30", taLeftJustify}, {ltsLeftPercent, u"75 %", u"north", taRightJustify},
        {ltsValue, u"30", u"", taRightJustify},          {ltsXAndValue, u"1", u"30", taRightJustify},
    };
    for (const Row& r : rows) {
        l->SetTextStyle(r.Style);
        Draw(chart.get());
        SCOPED_TRACE(EnumInfoOf<TLegendTextStyle>().names[r.Style]);
        EXPECT_EQ(l->GetItems()->Get(0)->GetText(), r.First);
        EXPECT_EQ(l->GetItems()->Get(0)->GetText2(), r.Second);
        EXPECT_EQ(l->GetItems()->Get(0)->Align, r.Align);
    }
    // The legend is laid out before the axes: an X on a date axis is a date from the first draw.
    auto dated = NewChart();
    AddSeries(dated.get(), u"D")->GetXValues()->SetDateTime(true);
    dated->GetLegend()->SetTextStyle(ltsXValue);
    Draw(dated.get());
    const String first = dated->GetLegend()->GetItems()->Get(1)->GetText();
    EXPECT_EQ(first, dated->GetBottomAxis()->LabelValue(1));
    EXPECT_NE(first, u"1");
}

TEST_F(LegendTest, ACustomisedItemKeepsItsOwnText) {
    auto chart = NewChart();
    AddSeries(chart.get(), u"A");
    AddSeries(chart.get(), u"B");
    TChartLegend* l = chart->GetLegend();
    Draw(chart.get());
    l->GetItems()->Get(1)->SetText(u"mine");
    EXPECT_TRUE(l->GetItems()->Custom);
    Draw(chart.get());
    EXPECT_EQ(l->GetItems()->Get(1)->GetText(), u"mine");
    // Its place follows the legend's as the others' do, unless it was moved by hand.
    l->SetAlignment(laBottom);
    Draw(chart.get());
    const TLegendItem* mine = l->GetItems()->Get(1);
    EXPECT_EQ(mine->Top, l->GetItems()->Get(0)->Top);
    EXPECT_GT(mine->Top, l->RectLegend.Top);
    EXPECT_GT(mine->Left, l->GetItems()->Get(0)->Left);
    EXPECT_LT(mine->Left, l->RectLegend.Right);
    const int moved = mine->Left + 7;
    l->GetItems()->Get(1)->Left = moved;
    Draw(chart.get());
    EXPECT_EQ(mine->Left, moved);
    l->GetItems()->Clear();
    Draw(chart.get());
    EXPECT_EQ(l->GetItems()->Get(1)->GetText(), u"B");
}

// ---------------------------------------------------------------------------
// Layout

TEST_F(LegendTest, ARightLegendTakesItsWidthPlusOnePlusThreePercentOffTheChart) {
    auto chart = NewChart(400, 300);
    AddSeries(chart.get(), u"Первый");
    AddSeries(chart.get(), u"Second");
    TChartLegend* l = PlainLegend(chart.get());
    Draw(chart.get());
    EXPECT_EQ(l->RectLegend.Right, 399);
    EXPECT_EQ(l->RectLegend.Right - l->RectLegend.Left, l->ItemWidth);
    EXPECT_EQ(chart->AfterLegend.Right, 400 - (l->ItemWidth + 1 + 12));
    // A margin of its own replaces the three percent.
    l->SetHorizMargin(5);
    Draw(chart.get());
    EXPECT_EQ(chart->AfterLegend.Right, 400 - (l->ItemWidth + 1 + 5));
    // Placed on the left it moves the left edge instead.
    l->SetAlignment(laLeft);
    Draw(chart.get());
    EXPECT_EQ(l->RectLegend.Left, 1);
    EXPECT_EQ(chart->AfterLegend.Left, l->RectLegend.Right + 5);
    EXPECT_EQ(chart->AfterLegend.Right, 400);
}

// Drawn after the axes, whose labels leave the canvas aligned to the right, a legend placed by
// hand still writes its items from their left.
TEST_F(LegendTest, ALegendPlacedByHandWritesItsItemsFromTheirLeft) {
    auto chart = NewChart();
    AddSeries(chart.get(), u"Температура");
    AddSeries(chart.get(), u"Давление");
    TChartLegend* l = PlainLegend(chart.get());
    l->SetLeft(150);
    l->SetTop(40);
    TBitmap out;
    Draw(chart.get(), out);
    const int top = l->FirstItemTop() + 1;
    int ink = 0;
    for (int y = top; y < top + l->ItemHeight; ++y)
        for (int x = l->TextLeft; x < l->TextLeft + l->TextWidths[0]; ++x)
            ink += probe::Pixel(out, x, y) == Rgb(clBlack) ? 1 : 0;
    EXPECT_GT(ink, 20);
}

TEST_F(LegendTest, ALegendThatDoesNotResizeTheChartOverlapsTheSeries) {
    auto chart = NewChart();
    AddSeries(chart.get(), u"A");
    AddSeries(chart.get(), u"B");
    chart->GetLegend()->SetResizeChart(false);
    Draw(chart.get());
    EXPECT_EQ(chart->AfterLegend, TRect(0, 0, 400, 300));
}

TEST_F(LegendTest, AVerticalLegendListsItemsOneItemHeightApartFromTheTopPosition) {
    auto chart = NewChart(400, 300);
    for (int i = 0; i < 3; ++i) AddSeries(chart.get(), u"S" + IntToStr(i));
    TChartLegend* l = PlainLegend(chart.get());
    TBitmap out;
    Draw(chart.get(), out);
    EXPECT_EQ(l->RectLegend.Top, 30); // 10 % of 300
    EXPECT_EQ(l->NumCols, 1);
    EXPECT_EQ(l->NumRows, 3);
    const int h = l->ItemHeight;
    EXPECT_EQ(l->RectLegend.Bottom - l->RectLegend.Top, 3 * h + 2 + 2 * ZuzRound(h * 0.1));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(l->GetItems()->Get(i)->Top, l->RectLegend.Top + 1 + i * h);
    // Each symbol is drawn in its series's colour.
    for (int i = 0; i < 3; ++i) {
        const TRect s = l->GetItems()->Get(i)->SymbolRect;
        EXPECT_EQ(probe::Pixel(out, (s.Left + s.Right) / 2, (s.Top + s.Bottom) / 2),
                  Rgb(chart->GetSeries(i)->GetSeriesColor()))
            << i;
    }
    // Apart, the symbols leave the legend's colour between them; continuous, they touch.
    const auto between = [&](int Item) {
        const TRect s = l->GetItems()->Get(Item)->SymbolRect;
        return probe::Pixel(out, (s.Left + s.Right) / 2, l->GetItems()->Get(Item + 1)->Top - 1);
    };
    EXPECT_EQ(between(0), Rgb(l->GetColor()));
    l->GetSymbol()->SetContinuous(true);
    Draw(chart.get(), out);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(between(i), Rgb(chart->GetSeries(i)->GetSeriesColor())) << i;
        EXPECT_EQ(l->GetItems()->Get(i + 1)->SymbolRect.Top, l->GetItems()->Get(i)->SymbolRect.Bottom - 1)
            << i;
    }
    // Across dividing lines a symbol ends at the next item's line, not under it; the symbol's
    // shadow falls beside it.
    l->GetSymbol()->SetContinuous(false);
    l->SetVertSpacing(6);
    l->GetDividingLines()->SetVisible(true);
    l->GetSymbol()->GetShadow()->SetVisible(true);
    Draw(chart.get(), out);
    for (int i = 0; i < 2; ++i) {
        const TRect s = l->GetItems()->Get(i)->SymbolRect;
        EXPECT_LE(s.Bottom, l->GetItems()->Get(i + 1)->Top - 3) << i;
        EXPECT_NE(probe::Pixel(out, s.Right + 1, (s.Top + s.Bottom) / 2), Rgb(l->GetColor())) << i;
    }
}

// A title wider than the items widens a legend beside the chart as it does one above it: its
// text is not cut at the frame, on either side.
TEST_F(LegendTest, ATitleWiderThanTheItemsWidensTheLegend) {
    for (const TLegendAlignment align : {laRight, laLeft, laTop}) {
        auto chart = NewChart(400, 300);
        AddSeries(chart.get(), u"S");
        TChartLegend* l = PlainLegend(chart.get());
        l->SetAlignment(align);
        l->GetTitle()->GetText()->Add(u"Показания прибора");
        Draw(chart.get());
        EXPECT_GE(l->RectLegend.Right - l->RectLegend.Left, l->GetTitle()->TotalWidth()) << align;
        EXPECT_LE(l->RectLegend.Right, 400) << align;
    }
}

// The symbol's width is a share of the texts': beside "1" and "2" it is still as wide as a square
// one, so its colour shows; a width of 0 still hides it.
TEST_F(LegendTest, SymbolsBesideShortTextsAreNoSlivers) {
    auto chart = NewChart(400, 300);
    AddSeries(chart.get(), u"S", 2);
    TChartLegend* l = PlainLegend(chart.get());
    Draw(chart.get());
    ASSERT_EQ(l->NumRows, 2); // the two values
    EXPECT_GE(l->SymbolWidth, l->ItemHeight - 5);
    l->GetSymbol()->SetWidth(0);
    Draw(chart.get());
    EXPECT_EQ(l->SymbolWidth, 0);
}

// A visible symbol shadow moves the text right, to whichever side it falls: the text keeps clear
// of the next column and inside the legend.
TEST_F(LegendTest, ASymbolShadowKeepsItsRoomBesideTheText) {
    for (const int size : {4, -5})
        for (const TLegendAlignment align : {laBottom, laLeft}) {
            auto chart = NewChart(400, 300);
            for (int i = 0; i < 3; ++i) AddSeries(chart.get(), u"Ряд " + IntToStr(i + 1));
            TChartLegend* l = PlainLegend(chart.get());
            l->SetAlignment(align);
            TZuzShadow* shadow = l->GetSymbol()->GetShadow();
            shadow->SetVisible(true);
            shadow->SetHorizSize(size);
            Draw(chart.get());
            for (int i = 0; i < 3; ++i) {
                const int end = l->GetItems()->Get(i)->Left + l->TextWidths[0];
                const int limit = i + 1 < l->NumCols
                                      ? l->GetItems()->Get(i + 1)->Left - (l->TextLeft - l->RectLegend.Left)
                                      : l->RectLegend.Right;
                EXPECT_LE(end, limit) << size << " " << align << " " << i;
            }
        }
}

TEST_F(LegendTest, ItemsThatDoNotFitShowTheFirstRowsAndFirstValueScrollsThem) {
    auto chart = NewChart(300, 120);
    for (int i = 0; i < 20; ++i) AddSeries(chart.get(), u"S" + IntToStr(i));
    TChartLegend* l = PlainLegend(chart.get());
    Draw(chart.get());
    ASSERT_GT(l->NumRows, 0);
    ASSERT_LT(l->NumRows, 20);
    const int rows = l->NumRows;
    EXPECT_EQ(l->LastValue, rows - 1);
    EXPECT_EQ(l->GetItems()->Get(0)->GetText(), u"S0");
    l->SetFirstValue(5);
    Draw(chart.get());
    EXPECT_EQ(l->LastValue, 5 + rows - 1);
    EXPECT_EQ(l->GetItems()->Get(0)->GetText(), u"S5");
}

TEST_F(LegendTest, WithPagesAValueLegendListsThePageShownOrScrollsFreely) {
    auto chart = NewChart(400, 600);
    TPolySeries* s = AddSeries(chart.get(), u"A", 25);
    TChartLegend* l = PlainLegend(chart.get());
    chart->SetMaxPointsPerPage(10);
    chart->SetPage(2);
    Draw(chart.get());
    EXPECT_EQ(l->GetFirstValue(), 10);
    EXPECT_EQ(l->TotalItems, 10);
    EXPECT_EQ(l->GetItems()->Get(0)->GetText(), s->LegendString(10, ltsValue));
    // Not following the page: every point from the first value on.
    l->SetCurrentPage(false);
    l->SetFirstValue(3);
    Draw(chart.get());
    EXPECT_EQ(l->GetFirstValue(), 3);
    EXPECT_EQ(l->TotalItems, 22);
    // A legend of series lists them all.
    AddSeries(chart.get(), u"B");
    Draw(chart.get());
    EXPECT_EQ(l->GetFirstValue(), 0);
    EXPECT_EQ(l->TotalItems, 2);
}

TEST_F(LegendTest, AHorizontalLegendWrapsItemsIntoColumnsAndRows) {
    auto chart = NewChart(400, 300);
    for (int i = 0; i < 7; ++i) AddSeries(chart.get(), u"S" + IntToStr(i));
    TChartLegend* l = PlainLegend(chart.get());
    l->SetAlignment(laBottom);
    Draw(chart.get());
    // Room for exactly three columns.
    const int step = l->TextWidth + l->SymbolWidth + 8;
    chart->SetBounds(0, 0, 3 * step + 8 + step / 2, 300);
    Draw(chart.get());
    EXPECT_EQ(l->NumCols, 3);
    EXPECT_EQ(l->NumRows, 3);
    EXPECT_EQ(l->LastValue, 6);
    // Items go along the rows: the fourth starts the second row in the first column.
    EXPECT_EQ(l->GetItems()->Get(3)->Left, l->GetItems()->Get(0)->Left);
    EXPECT_EQ(l->GetItems()->Get(3)->Top, l->GetItems()->Get(0)->Top + l->ItemHeight);
    EXPECT_EQ(l->GetItems()->Get(1)->Left - l->GetItems()->Get(0)->Left, step);
    // The legend sits at the bottom and the chart ends above it, less four percent.
    EXPECT_EQ(l->RectLegend.Bottom, 300 - 1);
    EXPECT_EQ(chart->AfterLegend.Bottom, l->RectLegend.Top - 300 * 4 / 100);
    // A shadow falling below lifts it by its size; one cast upwards leaves it on the bottom.
    l->GetShadow()->SetVisible(true);
    for (const int size : {5, -5}) {
        l->GetShadow()->SetVertSize(size);
        Draw(chart.get());
        EXPECT_EQ(l->RectLegend.Bottom, 300 - 1 - std::max(size, 0)) << size;
    }
    l->GetShadow()->SetVisible(false);
    l->SetMaxNumRows(2);
    Draw(chart.get());
    EXPECT_EQ(l->NumRows, 2);
    EXPECT_EQ(l->LastValue, 5);
    // Placed as far along its side as it goes, it still stands on the chart.
    l->SetTopPos(100);
    Draw(chart.get());
    EXPECT_LE(l->RectLegend.Right, chart->GetWidth());
    EXPECT_GE(l->RectLegend.Left, 0);
    l->SetTopPos(10);
    // Dividing lines stand where a column begins: clear of the text before and of the
    // check box after.
    const TColor lines = static_cast<TColor>(0x123456);
    l->GetDividingLines()->SetVisible(true);
    l->GetDividingLines()->SetColor(lines);
    l->SetCheckBoxes(true);
    TBitmap out;
    Draw(chart.get(), out);
    const int columnStep = l->TextWidth + l->SymbolWidth + 23;
    const int y = (l->RectLegend.Top + l->RectLegend.Bottom) / 2;
    // Those lines stand between columns: the symbols of two rows stay apart.
    EXPECT_LT(l->GetItems()->Get(0)->SymbolRect.Bottom, l->GetItems()->Get(l->NumCols)->SymbolRect.Top);
    for (int column = 1; column < l->NumCols; ++column) {
        const int x = l->RectLegend.Left + column * columnStep;
        EXPECT_EQ(probe::Pixel(out, x, y), Rgb(lines)) << column;
        EXPECT_EQ(CountColour(out, Rgb(lines), x + 1, x + columnStep), 0) << column;
    }
    // A title across the columns is not struck through.
    l->GetTitle()->GetText()->Add(String(40, u'W'));
    Draw(chart.get(), out);
    for (int column = 1; column < l->NumCols; ++column) {
        const int x = l->RectLegend.Left + column * columnStep;
        EXPECT_NE(probe::Pixel(out, x, l->RectLegend.Top + 4), Rgb(lines)) << column;
        EXPECT_EQ(probe::Pixel(out, x, l->FirstItemTop() + l->ItemHeight / 2), Rgb(lines)) << column;
    }
    l->GetTitle()->GetText()->Clear();
    // On top, the chart starts below it.
    l->SetAlignment(laTop);
    Draw(chart.get());
    EXPECT_EQ(l->RectLegend.Top, 1);
    EXPECT_EQ(chart->AfterLegend.Top, l->RectLegend.Bottom + 300 * 4 / 100);
}

TEST_F(LegendTest, ALegendTextWiderThanTheChartIsClippedToThePanel) {
    auto chart = NewChart(200, 120);
    AddSeries(chart.get(), String(80, u'W'));
    AddSeries(chart.get(), u"B");
    chart->GetLegend()->GetFont()->SetColor(clBlue);
    TBitmap out;
    out.SetSize(400, 120);
    out.GetCanvas()->GetBrush()->SetColor(clWhite);
    out.GetCanvas()->FillRect(TRect(0, 0, 400, 120));
    chart->Draw(out.GetCanvas(), TRect(200, 0, 400, 120));
    EXPECT_EQ(CountColour(out, Rgb(clBlue), 0, 200), 0);
    EXPECT_GT(CountColour(out, Rgb(clBlue), 200, 400), 50);
}

// ---------------------------------------------------------------------------
// Clicks

TEST_F(LegendTest, AClickFindsTheItemUnderItInBothLayouts) {
    auto chart = NewChart(400, 300);
    for (int i = 0; i < 5; ++i) AddSeries(chart.get(), u"S" + IntToStr(i));
    TChartLegend* l = PlainLegend(chart.get());
    Draw(chart.get());
    for (int i = 0; i < 5; ++i) {
        const TPoint p = ItemCentre(l, i);
        EXPECT_EQ(l->Clicked(p.X, p.Y), i);
    }
    EXPECT_EQ(l->Clicked(l->RectLegend.Left - 5, ItemCentre(l, 0).Y), -1);
    l->SetInverted(true);
    Draw(chart.get());
    EXPECT_EQ(l->Clicked(ItemCentre(l, 0).X, ItemCentre(l, 0).Y), 4);

    l->SetInverted(false);
    l->SetAlignment(laBottom);
    Draw(chart.get());
    ASSERT_GE(l->NumCols, 2);
    const TRect r = l->RectLegend;
    const int colWidth = (r.Right - r.Left) / l->NumCols;
    const int y = ItemCentre(l, 0).Y;
    EXPECT_EQ(l->Clicked(r.Left + colWidth / 2, y), 0);
    EXPECT_EQ(l->Clicked(r.Left + colWidth + colWidth / 2, y), 1);

    // A title wider than the items widens the legend, not its columns.
    l->GetTitle()->GetText()->SetText(u"A title far wider than the five items of this legend together");
    Draw(chart.get());
    ASSERT_GT(l->RectLegend.Right - l->RectLegend.Left, l->NumCols * (l->TextWidth + l->SymbolWidth + 8));
    for (int i = 0; i < 5; ++i) {
        const TLegendItem* item = l->GetItems()->Get(i);
        EXPECT_EQ(l->Clicked(item->Left + 2, item->Top + l->ItemHeight / 2), i);
    }
}

TEST_F(LegendTest, AClickOnAHorizontalLegendLeftWithNoColumnsHitsNothing) {
    auto chart = NewChart(400, 300);
    for (int i = 0; i < 3; ++i) AddSeries(chart.get(), u"S" + IntToStr(i));
    TChartLegend* l = PlainLegend(chart.get());
    l->SetAlignment(laTop);
    Draw(chart.get());
    const TRect stale = l->RectLegend;
    const TPoint inside{(stale.Left + stale.Right) / 2, (stale.Top + stale.Bottom) / 2};
    ASSERT_NE(l->Clicked(inside.X, inside.Y), -1);
    // Too narrow for a single column: the rectangle of the last draw stays.
    chart->SetBounds(0, 0, 8, 300);
    Draw(chart.get());
    EXPECT_EQ(l->NumCols, 0);
    EXPECT_EQ(l->Clicked(inside.X, inside.Y), -1);
    l->NumCols = 0;
    l->NumRows = 3;
    EXPECT_EQ(l->Clicked(inside.X, inside.Y), -1);
}

namespace {

class LegendMouse : public LegendTest {
protected:
    void SetUp() override {
        form.reset(Create<TForm>(nullptr));
        form->SetBounds(0, 0, 420, 320);
        chart = Create<TChart>(form.get());
        chart->SetParent(form.get());
        chart->SetBounds(0, 0, 400, 300);
        chart->SetBevelOuter(bvNone);
        chart->SetView3D(false);
        for (int i = 0; i < 3; ++i) series[i] = AddSeries(chart, u"S" + IntToStr(i));
        chart->GetLegend()->SetCheckBoxes(true);
        Draw(chart);
    }
    void ClickBox(int Position) {
        TChartLegend* l = chart->GetLegend();
        const TPoint p{l->CheckBoxLeft + 6, ItemCentre(l, Position).Y};
        probe::MousePress(*chart, mbLeft, p);
        probe::MouseRelease(*chart, mbLeft, p);
        Draw(chart);
    }
    Owned<TForm> form;
    TChart* chart = nullptr;
    TPolySeries* series[3] = {};
};

} // namespace

TEST_F(LegendMouse, ACheckBoxClickSwitchesItsSeriesOffAndOnAgain) {
    int clicks = 0;
    chart->OnClickLegend.Bind([&](TCustomChart*, TMouseButton, TShiftState, int, int) { ++clicks; });
    ClickBox(1);
    EXPECT_FALSE(series[1]->GetActive());
    EXPECT_TRUE(series[0]->GetActive());
    EXPECT_EQ(clicks, 1);
    // The switched-off series keeps its place in the legend.
    EXPECT_EQ(chart->GetLegend()->TotalItems, 3);
    ClickBox(1);
    EXPECT_TRUE(series[1]->GetActive());
}

TEST_F(LegendMouse, RadioBoxesKeepOneSeriesActive) {
    chart->GetLegend()->SetCheckBoxesStyle(cbsRadio);
    EXPECT_TRUE(series[0]->GetActive());
    EXPECT_FALSE(series[1]->GetActive());
    EXPECT_FALSE(series[2]->GetActive());
    Draw(chart);
    ClickBox(2);
    EXPECT_FALSE(series[0]->GetActive());
    EXPECT_FALSE(series[1]->GetActive());
    EXPECT_TRUE(series[2]->GetActive());
}

TEST_F(LegendMouse, SeriesGroupsAreSwitchedByTheirCheckBoxes) {
    TChartSeriesList* list = chart->GetSeriesList();
    TSeriesGroup* g0 = list->AddGroup(u"Группа");
    g0->Add(series[0]);
    g0->Add(series[1]);
    list->AddGroup(u"Other")->Add(series[2]);
    chart->GetLegend()->SetLegendStyle(lsSeriesGroups);
    Draw(chart);
    EXPECT_EQ(chart->GetLegend()->TotalItems, 2);
    EXPECT_EQ(chart->GetLegend()->GetItems()->Get(0)->GetText(), u"Группа");
    ClickBox(0);
    EXPECT_FALSE(series[0]->GetActive());
    EXPECT_FALSE(series[1]->GetActive());
    EXPECT_TRUE(series[2]->GetActive());
}

TEST_F(LegendTest, ASeriesPaintsItsLegendSymbolOnAnotherCanvasWithOrWithoutAChart) {
    TBitmap out;
    out.SetSize(40, 20);
    out.GetCanvas()->GetBrush()->SetColor(clWhite);
    out.GetCanvas()->FillRect(TRect(0, 0, 40, 20));
    Owned<TPolySeries> alone(Create<TPolySeries>(nullptr));
    alone->SetSeriesColor(clRed);
    TCustomChartLegend::PaintSeriesLegend(alone.get(), out.GetCanvas(), TRect(2, 2, 18, 18));
    EXPECT_EQ(probe::Pixel(out, 10, 10), Rgb(clRed));
    EXPECT_EQ(alone->GetParentChart(), nullptr);

    auto chart = NewChart();
    TPolySeries* s = AddSeries(chart.get(), u"A");
    s->SetSeriesColor(clGreen);
    TCustomChartLegend::PaintSeriesLegend(s, out.GetCanvas(), TRect(22, 2, 38, 18));
    EXPECT_EQ(probe::Pixel(out, 30, 10), Rgb(clGreen));
    // The chart still draws on its own canvas afterwards.
    TBitmap again;
    Draw(chart.get(), again);
    EXPECT_EQ(s->GetParentChart(), chart.get());
}
