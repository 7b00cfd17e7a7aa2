// The chart control's services around the drawing road: what listeners hear, the mouse over
// series and its cursor, printing page by page, the designer's hooks, drags, the names a
// value list can take its data from, and axis pens written only when changed.
#include "chart/engine/chart.h"

#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/charttitle.h"
#include "chart/engine/chartvaluelist.h"
#include "chart/engine/seriesmarks.h"
#include "charttestseries.h"
#include "fakechart.h"
#include "platform/gui/forms.h"
#include "platform/gui/printers.h"
#include "tests/support/guiprobe.h"
#include "tests/support/keptprinter.h"
#include "tests/support/pdfprobe.h"
#include "tests/support/streamtext.h"
#include "tests/support/tempdir.h"
#include "tests/support/testclass.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A series whose points answer the mouse within three pixels.
class TDotSeries : public testsupport::TTestClass<TDotSeries, TPolySeries, "TDotSeries"> {
public:
    using TTestClass::TTestClass;
    int Clicked(int X, int Y) override {
        ++Asked;
        for (int i = 0; i < Count(); ++i)
            if (std::abs(CalcXPos(i) - X) <= 3 && std::abs(CalcYPos(i) - Y) <= 3) return i;
        return -1;
    }
    int Asked = 0;
};

// Notes every event a panel broadcasts, by kind.
class TEventNotes : public IZuzEventListener {
public:
    void ZuzEvent(TZuzEvent* Event) override {
        static const char* kinds[] = {"add", "remove", "title", "colour", "swap", "active", "data"};
        EXPECT_NE(Event->Sender, nullptr);
        if (auto* s = dynamic_cast<TZuzSeriesEvent*>(Event))
            Heard.push_back(kinds[s->Event]);
        else if (dynamic_cast<TChartChangePage*>(Event))
            Heard.push_back("page");
        else if (dynamic_cast<TZuzView3DEvent*>(Event))
            Heard.push_back("view");
    }
    std::vector<std::string> Heard;
};

class ChartControl : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        StartEngineUnits();
        RegisterClass(TDotSeries::StaticClass());
        RegisterClass(TChart::StaticClass());
    }
    Owned<TChart> NewChart() {
        Owned<TChart> c(Create<TChart>(nullptr));
        c->SetBounds(0, 0, 400, 300);
        c->SetBevelOuter(bvNone);
        c->SetView3D(false);
        return c;
    }
    static TDotSeries* AddDots(TChart* Chart, int Points) {
        auto* s = Create<TDotSeries>(Chart);
        Chart->AddSeries(s);
        for (int i = 0; i < Points; ++i) s->AddXY(i, i % 5);
        return s;
    }
    static void Layout(TChart* Chart) {
        TBitmap out;
        out.SetSize(Chart->GetWidth(), Chart->GetHeight());
        Chart->Draw(out.GetCanvas(), TRect(0, 0, Chart->GetWidth(), Chart->GetHeight()));
    }
};

} // namespace

// ---------------------------------------------------------------------------
// What listeners hear

TEST_F(ChartControl, ListenersHearEverySeriesChangeAndEveryPageChangeInOrder) {
    auto chart = NewChart();
    TEventNotes notes;
    chart->GetListeners()->Add(&notes);
    TDotSeries* a = AddDots(chart.get(), 25);
    TDotSeries* b = AddDots(chart.get(), 3);
    a->SetTitle(u"Давление");
    a->SetSeriesColor(static_cast<TColor>(0x123456));
    a->SetActive(false);
    a->SetActive(true);
    b->BeginUpdate();
    b->AddXY(9, 9);
    b->EndUpdate();
    chart->ExchangeSeries(0, 1);
    chart->GetPages()->SetMaxPointsPerPage(10);
    chart->GetPages()->SetCurrent(3);
    chart->GetPages()->SetCurrent(3); // no change, no event
    chart->RemoveSeries(a);
    chart->BroadcastZuzEventClass(ZuzEventClass<TZuzView3DEvent>);
    // A series added takes a free colour and says so before it is announced.
    EXPECT_EQ(notes.Heard,
              (std::vector<std::string>{"colour", "add", "colour", "add", "title", "colour", "active",
                                        "active", "data", "swap", "page", "page", "remove", "view"}));
    chart->GetListeners()->Remove(&notes);
    a->Free();
}

// ---------------------------------------------------------------------------
// The mouse over series

TEST_F(ChartControl, EverySeriesIsAskedAboutTheMouseAndAnyHitCounts) {
    auto chart = NewChart();
    TDotSeries* a = AddDots(chart.get(), 10);
    TDotSeries* b = AddDots(chart.get(), 10);
    TDotSeries* hidden = AddDots(chart.get(), 10);
    hidden->SetActive(false);
    Layout(chart.get());
    // Only a series that shows a cursor or has enter/leave events looks at the mouse.
    EXPECT_FALSE(chart->CheckMouseSeries(a->CalcXPos(2), a->CalcYPos(2)));
    EXPECT_EQ(a->Asked, 0);
    int entered = 0, left = 0;
    for (TDotSeries* s : {a, b, hidden}) {
        s->OnMouseEnter.Bind([&](TObject*) { ++entered; });
        s->OnMouseLeave.Bind([&](TObject*) { ++left; });
    }
    b->GetYValues()->SetValue(2, 40); // b's point 2 lies elsewhere
    chart->GetLeftAxis()->SetMinMax(0, 40);
    Layout(chart.get());
    EXPECT_TRUE(chart->CheckMouseSeries(a->CalcXPos(2), a->CalcYPos(2)));
    EXPECT_EQ(a->Asked, 1);
    EXPECT_EQ(b->Asked, 1) << "the last series is asked too, though it was not hit";
    EXPECT_EQ(hidden->Asked, 0) << "an inactive series is not asked";
    EXPECT_EQ(entered, 1);
    EXPECT_TRUE(chart->CheckMouseSeries(b->CalcXPos(2), b->CalcYPos(2)));
    EXPECT_EQ(entered, 2);
    EXPECT_EQ(left, 1) << "a's mouse left as b's came";
    EXPECT_FALSE(chart->CheckMouseSeries(0, 0));
    EXPECT_EQ(left, 2);
}

TEST_F(ChartControl, TheCursorTakesTheSeriesCursorOverItsPointsAndComesBackOffThem) {
    auto form = MakeOwned<TForm>(nullptr);
    form->SetBounds(0, 0, 420, 320);
    auto* chart = Create<TChart>(form.get());
    chart->SetParent(form.get());
    chart->SetBounds(0, 0, 400, 300);
    chart->SetView3D(false);
    TDotSeries* s = AddDots(chart, 10);
    s->SetCursor(crHandPoint);
    Layout(chart);
    const TPoint on{s->CalcXPos(4), s->CalcYPos(4)};
    const TRect r = chart->GetChartRect();
    const TPoint off{(r.Left + r.Right) / 2, r.Top + 2};
    ASSERT_EQ(s->Clicked(off.X, off.Y), -1);

    probe::MouseMoveTo(*chart, mbLeft, on);
    EXPECT_EQ(chart->GetCursor(), crHandPoint);
    probe::MouseMoveTo(*chart, mbLeft, off);
    EXPECT_EQ(chart->GetCursor(), crDefault) << "back to the cursor the chart was made with";

    // A pan that starts over a point shows the chart's own cursor while it lasts.
    probe::MouseMoveTo(*chart, mbLeft, on);
    probe::MousePress(*chart, mbRight, on);
    EXPECT_EQ(chart->GetCursor(), crDefault);
    probe::MouseRelease(*chart, mbRight, on);
}

// ---------------------------------------------------------------------------
// Printing page by page

class ChartPrint : public ChartControl {
protected:
    void SetUp() override { Printer()->SetFileName(String(file.u16string())); }
    TempDir dir;
    std::filesystem::path file = dir.path / "pages.pdf";
    KeptPrinter kept;
};

TEST_F(ChartPrint, EveryPageIsPrintedAsOneJobAndThePageShownComesBack) {
    auto chart = NewChart();
    chart->SetName(u"Daily");
    TDotSeries* s = AddDots(chart.get(), 25);
    chart->GetPages()->SetMaxPointsPerPage(10);
    chart->GetPages()->SetCurrent(2);
    std::vector<int> shown;
    chart->OnPageChange.Bind(
        [&](TObject* Sender) { shown.push_back(static_cast<TChartPage*>(Sender)->GetCurrent()); });
    s->Drawn = 0;
    chart->PrintPages();
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 2}));
    EXPECT_EQ(s->Drawn, 10 + 10 + 5) << "each page draws its own points";
    EXPECT_EQ(pdf::Info(file.string(), "Pages"), "3");
    EXPECT_EQ(pdf::Info(file.string(), "Title"), "Daily");

    shown.clear();
    chart->PrintPages(2, 3);
    EXPECT_EQ(shown, (std::vector<int>{3, 2}));
    EXPECT_EQ(pdf::Info(file.string(), "Pages"), "2");
}

TEST_F(ChartPrint, APageThatFailsAbortsTheJobAndStillBringsThePageBack) {
    auto chart = NewChart();
    TDotSeries* s = AddDots(chart.get(), 25);
    chart->GetPages()->SetMaxPointsPerPage(10);
    chart->PrintPages();
    ASSERT_EQ(pdf::Info(file.string(), "Pages"), "3");
    s->FailAt = 14; // on page 2
    EXPECT_THROW(chart->PrintPages(), Exception);
    EXPECT_EQ(chart->GetPages()->GetCurrent(), 1);
    EXPECT_FALSE(Printer()->GetPrinting());
    EXPECT_EQ(pdf::Info(file.string(), "Pages"), "3") << "the earlier print is left as it was";
    EXPECT_TRUE(chart->AutoRepaint);
}

TEST_F(ChartPrint, APageChangeHandlerThatRaisesLeavesNoJobOpen) {
    auto chart = NewChart();
    AddDots(chart.get(), 25);
    chart->GetPages()->SetMaxPointsPerPage(10);
    chart->OnPageChange.Bind([&](TObject* Sender) {
        if (static_cast<TChartPage*>(Sender)->GetCurrent() == 1) throw Exception(u"no way back");
    });
    EXPECT_THROW(chart->PrintPages(2, 3), Exception) << "going back to page 1 raised";
    EXPECT_FALSE(Printer()->GetPrinting());
    chart->OnPageChange.Clear();
    chart->GetPages()->SetCurrent(1);
    chart->PrintPages(2, 3);
    EXPECT_EQ(pdf::Info(file.string(), "Pages"), "2") << "the printer takes the next job";
}

// ---------------------------------------------------------------------------
// Designers, drags and data sources

TEST_F(ChartControl, TheNewChartHookHearsOnlyOfChartsADesignerPlacesOnAForm) {
    std::vector<TCustomChart*> heard;
    static std::vector<TCustomChart*>* sink = nullptr;
    sink = &heard;
    ZuzNewChartHook = [](TCustomChart* Chart) { sink->push_back(Chart); };
    auto form = MakeOwned<TForm>(nullptr);
    auto* atRunTime = Create<TChart>(form.get());
    auto unowned = MakeOwned<TChart>(nullptr);
    form->SetDesigning(true);
    auto* placed = Create<TChart>(form.get());
    form->IncludeState(csLoading);
    auto* read = Create<TChart>(form.get());
    form->ExcludeState(csLoading);
    ZuzNewChartHook = nullptr;
    EXPECT_EQ(heard, std::vector<TCustomChart*>{placed});
    EXPECT_EQ(placed->GetTitle()->GetText()->GetText(), u"TChart\r\n")
        << "a placed chart is titled by its class";
    EXPECT_EQ(atRunTime->GetTitle()->GetText()->GetCount(), 0);
    (void)atRunTime;
    (void)read;
}

TEST_F(ChartControl, ADragShowsTheHandOnlyWhereItCanBeDroppedAndCarriesItsPart) {
    TChartClickedPart part;
    part.Style = cpAxis;
    part.ValueIndex = 7;
    TZuzDragObject drag(part);
    EXPECT_EQ(drag.GetDragCursor(true, 0, 0), crZuzHand);
    EXPECT_EQ(drag.GetDragCursor(false, 0, 0), crNoDrop);
    EXPECT_EQ(drag.Part.Style, cpAxis);
    EXPECT_EQ(drag.Part.ValueIndex, 7);
    drag.Finished(nullptr, 1, 2, true);
}

TEST_F(ChartControl, AValueListOffersTheValueListsOfTheSeriesItTakesItsDataFrom) {
    auto chart = NewChart();
    TDotSeries* source = AddDots(chart.get(), 3);
    TDotSeries* derived = AddDots(chart.get(), 0);
    std::vector<std::string> names;
    const auto note = [&](const String& S) { names.push_back(std::string(UTF8Encode(S))); };
    chart->FillValueSourceItems(derived->GetYValues(), note);
    EXPECT_TRUE(names.empty()) << "no data source";
    derived->SetDataSource(source);
    chart->FillValueSourceItems(derived->GetYValues(), note);
    EXPECT_EQ(names, (std::vector<std::string>{"X", "Y"}));
    names.clear();
    chart->FillSeriesSourceItems(derived, note);
    EXPECT_TRUE(names.empty());
}

// ---------------------------------------------------------------------------
// Axis pens in streams

TEST_F(ChartControl, DefaultAxesWriteNoPenOrTitleAngleAndChangedOnesReadBackEqual) {
    auto form = MakeOwned<TForm>(nullptr);
    auto* chart = Create<TChart>(form.get());
    chart->SetName(u"Chart1");
    const std::string plain = streamtext::ObjectText(chart);
    for (const char* part :
         {"Grid.", "Ticks.", "TicksInner.", "MinorTicks.", "MinorGrid.", "Axis.Color", "Title.Angle",
          "Axis.Width", "Axis.Style", "Axis.Visible", "Title.Color", "Title.Frame", "Title.Brush",
          "Title.Bevel", "Title.Gradient", "Title.Transparen", "Title.Shadow", "Title.ShapeStyle"})
        EXPECT_EQ(plain.find(part), std::string::npos) << part << " in\n" << plain;

    chart->GetLeftAxis()->GetGrid()->SetColor(clRed);
    chart->GetBottomAxis()->GetGrid()->SetStyle(psSolid);
    chart->GetBottomAxis()->GetTicks()->SetColor(clBlue);
    chart->GetTopAxis()->GetTicksInner()->SetColor(clBlack);
    chart->GetRightAxis()->GetMinorTicks()->SetStyle(psDash);
    chart->GetLeftAxis()->GetTitle()->SetAngle(0);
    chart->GetRightAxis()->GetTitle()->SetAngle(90);
    chart->GetBottomAxis()->GetTitle()->SetAngle(180);
    chart->GetDepthAxis()->SetVisible(true);
    // A title formatted as a box on the axis page: yellow, framed in red, bevelled, shaded.
    TChartAxisTitle* title = chart->GetLeftAxis()->GetTitle();
    title->SetTransparent(false);
    title->SetColor(clYellow);
    title->GetFrame()->SetColor(clRed);
    title->SetBevel(bvRaised);
    title->SetShapeStyle(fosRoundRectangle);
    title->GetGradient()->SetVisible(true);
    title->GetShadow()->SetSize(5);
    title->SetTransparency(30);
    // The round corners the shape editor gives the chart's title and legend.
    chart->GetTitle()->SetRoundSize(9);
    chart->GetLegend()->SetRoundSize(7);
    const std::string text = streamtext::ObjectText(chart);
    for (const char* line :
         {"LeftAxis.Grid.Color = clRed", "BottomAxis.Grid.Style = psSolid", "BottomAxis.Ticks.Color = clBlue",
          "TopAxis.TicksInner.Color = clBlack", "RightAxis.MinorTicks.Style = psDash",
          "LeftAxis.Title.Angle = 0", "RightAxis.Title.Angle = 90", "BottomAxis.Title.Angle = 180",
          "DepthAxis.Visible = True", "LeftAxis.Title.Color = clYellow", "LeftAxis.Title.Frame.Color = clRed",
          "LeftAxis.Title.Bevel = bvRaised", "LeftAxis.Title.ShapeStyle = fosRoundRectangle",
          "LeftAxis.Title.Gradient.Visible = True", "LeftAxis.Title.Shadow.HorizSize = 5",
          "LeftAxis.Title.Transparency = 30", "LeftAxis.Title.Transparent = False", "  Title.RoundSize = 9",
          "Legend.RoundSize = 7"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " missing in\n" << text;

    auto form2 = MakeOwned<TForm>(nullptr);
    auto* copy = Create<TChart>(form2.get());
    streamtext::ReadText(text, copy);
    EXPECT_EQ(streamtext::ObjectText(copy), text);
    EXPECT_EQ(copy->GetLeftAxis()->GetTitle()->GetAngle(), 0);
    EXPECT_EQ(copy->GetLeftAxis()->GetTitle()->GetColor(), clYellow);
    EXPECT_EQ(copy->GetLeftAxis()->GetTitle()->GetFrame()->GetColor(), clRed);
    EXPECT_FALSE(copy->GetLeftAxis()->GetTitle()->GetTransparent());
    EXPECT_EQ(copy->GetTitle()->GetRoundSize(), 9);
    EXPECT_EQ(copy->GetLegend()->GetRoundSize(), 7);
    // The items, were they stored, keep their box too, in their own order.
    std::string item;
    for (const PropInfo* p : TAxisItem::StaticClass().AllProps()) item += std::string(p->name) + " ";
    EXPECT_EQ(item, "Text Value Bevel BevelWidth Color Font Gradient Picture Shadow ShapeStyle Transparency "
                    "Transparent ");
    EXPECT_EQ(copy->GetRightAxis()->GetGrid()->GetColor(), clGray);
    EXPECT_EQ(copy->GetRightAxis()->GetGrid()->GetStyle(), psDot);
    EXPECT_TRUE(copy->GetDepthAxis()->GetVisible());
    EXPECT_FALSE(copy->GetDepthTopAxis()->GetVisible());
}

TEST_F(ChartControl, TheChartPublishesItsSettingsInItsOwnOrderAndWritesNoneWhileTheyAreDefault) {
    // The chart's settings, the panel's among them, and the control's standard ones last.
    const std::string published =
        "AllowPanning BackImage BackImageInside BackImageMode BackImageTransp BackWall Border BorderRound "
        "BottomWall Foot Gradient LeftWall Legend MarginBottom MarginLeft MarginRight MarginTop MarginUnits "
        "PrintProportional RightWall ScrollMouseButton SubFoot SubTitle Title OnAllowScroll OnClickAxis "
        "OnClickBackground OnClickLegend OnClickSeries OnClickTitle OnGetLegendPos OnGetLegendRect OnScroll "
        "OnUndoZoom OnZoom AxisBehind AxisVisible BottomAxis Chart3DPercent ClipPoints DepthAxis "
        "DepthTopAxis CustomAxes Frame LeftAxis Monochrome Pages RightAxis SeriesGroups Shadow TopAxis "
        "View3D "
        "View3DOptions View3DWalls Zoom OnAddSeries OnAfterDraw OnBeforeDrawAxes OnBeforeDrawChart "
        "OnBeforeDrawSeries OnBeforePrint OnGetAxisLabel OnGetLegendText OnGetNextAxisLabel OnPageChange "
        "OnRemoveSeries Align BevelInner BevelOuter BevelWidth BorderWidth Color Enabled ParentColor "
        "ParentShowHint PopupMenu ShowHint TabOrder TabStop Visible Anchors OnClick OnDblClick OnDragDrop "
        "OnDragOver OnMouseDown OnMouseEnter OnMouseLeave OnMouseMove OnMouseUp OnEnter OnExit OnKeyDown "
        "OnKeyPress OnKeyUp OnResize";
    // Only the component's name and tag and the control's bounds, action, cursor, font and hint
    // come before them.
    std::string order;
    for (const PropInfo* p : TChart::StaticClass().AllProps()) order += std::string(p->name) + " ";
    EXPECT_EQ(order, "Name Tag Left Top Width Height Action Cursor Font HelpContext Hint ParentFont " +
                         published + " ");
    auto form = MakeOwned<TForm>(nullptr);
    auto* chart = Create<TChart>(form.get());
    chart->SetName(u"Chart1");
    // Only the bounds and the control's own always-written switches remain.
    const std::string text = streamtext::ObjectText(chart);
    for (const char* part :
         {"Axis.", "Pages.", "Zoom.", "View3DOptions.", "Chart3DPercent", "Margin", "Bevel"})
        EXPECT_EQ(text.find(part), std::string::npos) << part << " in\n" << text;
}

// ---------------------------------------------------------------------------
// What the mouse is over

TEST_F(ChartControl, TheHitTestFindsPointsBeforeAxesAndTheChartRectangleOnlyWithActiveSeries) {
    auto chart = NewChart();
    TDotSeries* s = AddDots(chart.get(), 10);
    chart->GetLeftAxis()->GetTitle()->SetCaption(u"кВт");
    Layout(chart.get());
    const TRect r = chart->GetChartRect();
    TChartClickedPart part;

    chart->CalcClickedPart({s->CalcXPos(3), s->CalcYPos(3)}, part);
    EXPECT_EQ(part.Style, cpSeries);
    EXPECT_EQ(part.ASeries, s);
    EXPECT_EQ(part.ValueIndex, 3);

    const TPoint inside{(r.Left + r.Right) / 2 + 7, r.Top + 3};
    ASSERT_EQ(s->Clicked(inside.X, inside.Y), -1);
    chart->CalcClickedPart(inside, part);
    EXPECT_EQ(part.Style, cpChartRect);
    EXPECT_EQ(part.ASeries, nullptr);
    EXPECT_EQ(part.ValueIndex, -1);

    chart->CalcClickedPart({r.Left - 4, (r.Top + r.Bottom) / 2}, part);
    EXPECT_EQ(part.Style, cpAxis);
    EXPECT_EQ(part.AAxis, chart->GetLeftAxis());
    // The labels, drawn out from PosLabels, are the axis too.
    chart->CalcClickedPart({chart->GetLeftAxis()->PosLabels - 4, (r.Top + r.Bottom) / 2}, part);
    EXPECT_EQ(part.Style, cpAxis);
    EXPECT_EQ(part.AAxis, chart->GetLeftAxis());

    chart->CalcClickedPart({chart->GetLeftAxis()->PosTitle, (r.Top + r.Bottom) / 2}, part);
    EXPECT_EQ(part.Style, cpAxisTitle);
    EXPECT_EQ(part.AAxis, chart->GetLeftAxis());
    // A title the panel grew too narrow for is not drawn, and answers no click where it stood.
    chart->GetLeftAxis()->GetTitle()->SetAngle(0);
    chart->GetLeftAxis()->GetTitle()->SetCaption(u"Расход тепловой энергии, Гкал");
    Layout(chart.get());
    const TRect shown = chart->GetLeftAxis()->GetTitle()->ShapeBounds;
    const TPoint titleAt{(shown.Left + shown.Right) / 2, (shown.Top + shown.Bottom) / 2};
    chart->CalcClickedPart(titleAt, part);
    ASSERT_EQ(part.Style, cpAxisTitle);
    chart->SetBounds(0, 0, 150, 300);
    Layout(chart.get());
    ASSERT_TRUE(chart->GetLeftAxis()->INoTitleRoom);
    chart->CalcClickedPart(titleAt, part);
    EXPECT_NE(part.Style, cpAxisTitle);
    chart->SetBounds(0, 0, 400, 300);
    chart->GetLeftAxis()->GetTitle()->SetAngle(90);
    chart->GetLeftAxis()->GetTitle()->SetCaption(u"кВт");
    Layout(chart.get());
    // A framed label in the outer row of alternating ones answers out to its frame's edge.
    {
        TChartAxis* left = chart->GetLeftAxis();
        left->SetLabelsAlternate(true);
        for (const int v : {2, 4}) left->GetItems()->Add(v, v == 4 ? u"4" : u"шесть тыс.");
        left->GetItems()->Get(1)->SetTransparent(false);
        Layout(chart.get());
        const TRect box = left->GetItems()->Get(1)->ShapeBounds;
        ASSERT_LT(box.Right, left->PosLabels - 20) << "the label stands in the outer row";
        chart->CalcClickedPart({box.Left + 1, (box.Top + box.Bottom) / 2}, part);
        EXPECT_EQ(part.Style, cpAxis);
        left->GetItems()->Clear();
        left->GetItems()->Automatic = true;
        left->SetLabelsAlternate(false);
        Layout(chart.get());
    }

    chart->CalcClickedPart({chart->GetWidth() - 1, chart->GetHeight() - 1}, part);
    EXPECT_EQ(part.Style, cpNone);

    // A mark answers where the last drawing put it, and nowhere else: not where a point
    // zoomed away or made null had its mark before.
    s->GetMarks()->SetVisible(true);
    Layout(chart.get());
    const auto markAt = [&](int Index) {
        const TRect b = s->GetMarks()->Positions()[Index]->Bounds();
        return TPoint((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
    };
    const TPoint mark3 = markAt(3), mark8 = markAt(8);
    chart->CalcClickedPart(mark8, part);
    EXPECT_EQ(part.Style, cpSeriesMarks);
    EXPECT_EQ(part.ValueIndex, 8);
    s->SetNull(3);
    chart->GetBottomAxis()->SetMinMax(0, 4);
    Layout(chart.get());
    for (const TPoint gone : {mark3, mark8}) {
        chart->CalcClickedPart(gone, part);
        EXPECT_EQ(part.Style, cpChartRect);
    }
    chart->CalcClickedPart(markAt(2), part);
    EXPECT_EQ(part.Style, cpSeriesMarks);
    EXPECT_EQ(part.ValueIndex, 2);
    // Nor where it is cut away: over the title, or above the plot when it clips.
    chart->GetTitle()->GetText()->Add(u"Мощность");
    chart->GetLeftAxis()->SetMinMax(0, 1.9);
    Layout(chart.get());
    const TPoint cut = markAt(2);
    ASSERT_LT(s->GetMarks()->Positions()[2]->Bounds().Bottom, chart->GetChartRect().Top);
    ASSERT_TRUE(PtInRect(chart->GetTitle()->GetShapeBounds(), cut));
    for (const bool clip : {false, true}) {
        s->GetMarks()->SetClip(clip);
        Layout(chart.get());
        chart->CalcClickedPart(cut, part);
        EXPECT_NE(part.Style, cpSeriesMarks) << clip;
    }
    chart->GetTitle()->GetText()->Clear();

    s->SetActive(false);
    chart->CalcClickedPart(inside, part);
    EXPECT_EQ(part.Style, cpNone) << "a chart whose series are all inactive has no clickable rectangle";
}

TEST_F(ChartControl, LabelsOfTwoLinesTakeTwoLinesOfRoomFromThePlot) {
    auto chart = NewChart();
    AddDots(chart.get(), 10);
    TChartAxis* bottom = chart->GetBottomAxis();
    bottom->SetValuesFormat(u"0 \"кВт\"");
    bottom->GetTitle()->SetCaption(u"Мощность");
    Layout(chart.get());
    const int oneLine = chart->GetChartRect().Bottom;
    bottom->SetLabelsMultiLine(true);
    ASSERT_EQ(bottom->LabelValue(3), u"3\rкВт");
    Layout(chart.get());
    const int twoLines = chart->GetChartRect().Bottom;
    chart->GetCanvas()->AssignFont(bottom->GetLabelsFont());
    EXPECT_EQ(oneLine - twoLines, chart->GetCanvas()->TextHeight(u"W"))
        << "else the title covers the second line";
    // Alternating labels step out by the whole label.
    bottom->SetLabelsAlternate(true);
    Layout(chart.get());
    EXPECT_EQ(oneLine - chart->GetChartRect().Bottom, 3 * chart->GetCanvas()->TextHeight(u"W"));
}

TEST_F(ChartControl, InATurnedViewAClickIsOnTheAxisAlongItsSlantedLineNotInTheBoxAroundIt) {
    auto chart = NewChart();
    AddDots(chart.get(), 10);
    chart->SetView3D(true);
    chart->GetView3DOptions()->SetOrthogonal(false);
    chart->GetView3DOptions()->SetRotation(330);
    chart->GetView3DOptions()->SetElevation(340);
    Layout(chart.get());
    TChartAxis* bottom = chart->GetBottomAxis();
    TCanvas3D* canvas = chart->GetCanvas();
    const TPoint a = canvas->Calculate3DPosition(bottom->IStartPos, bottom->PosAxis, 0);
    const TPoint b = canvas->Calculate3DPosition(bottom->IEndPos, bottom->PosAxis, 0);
    ASSERT_GT(std::abs(b.Y - a.Y), 30) << "the view must slant the axis";
    EXPECT_TRUE(bottom->Clicked((a.X + b.X) / 2, (a.Y + b.Y) / 2));
    // Well off the line, above its higher end: the plot's floor, not the axis.
    EXPECT_FALSE(bottom->Clicked(a.Y < b.Y ? b.X - 5 : a.X + 5, std::min(a.Y, b.Y) + 2));

    // The depth axis runs from front to back: a click halfway along it is on it, one at its
    // line's place on the front plane's top is not.
    TChartAxis* depth = chart->GetDepthAxis();
    depth->SetVisible(true);
    Layout(chart.get());
    const TPoint middle = canvas->Calculate3DPosition(depth->PosAxis, depth->DepthAxisPos(),
                                                      (depth->IStartPos + depth->IEndPos) / 2);
    EXPECT_TRUE(depth->Clicked(middle.X, middle.Y));
    EXPECT_FALSE(depth->Clicked(canvas->Calculate3DPosition(depth->PosAxis, chart->GetChartRect().Top, 0).X,
                                chart->GetChartRect().Top + 1));
}

TEST_F(ChartControl, APressReachesTheSeriesOnlyWhenSomeoneListensAndOtherwiseTheBackground) {
    auto chart = NewChart();
    TDotSeries* s = AddDots(chart.get(), 10);
    Layout(chart.get());
    std::vector<std::string> heard;
    chart->OnClickBackground.Bind(
        [&](TCustomChart*, TMouseButton, TShiftState, int, int) { heard.push_back("background"); });
    chart->GetZoom()->SetAllow(false);
    const TPoint on{s->CalcXPos(5), s->CalcYPos(5)};
    chart->HandleMouseDown(mbLeft, {}, on.X, on.Y, false);
    EXPECT_EQ(heard, std::vector<std::string>{"background"}) << "nobody listens to the series";

    heard.clear();
    s->OnClick.Bind([&](TChartSeries*, int Index, TMouseButton, TShiftState, int, int) {
        heard.push_back("point " + std::to_string(Index));
    });
    chart->HandleMouseDown(mbLeft, {}, on.X, on.Y, false);
    EXPECT_EQ(heard, (std::vector<std::string>{"point 5", "background"}))
        << "a series click that cancels nothing still reaches the background";

    heard.clear();
    chart->OnClickSeries.Bind([&](TCustomChart*, TChartSeries*, int Index, TMouseButton, TShiftState, int,
                                  int) { heard.push_back("chart's point " + std::to_string(Index)); });
    chart->HandleMouseDown(mbLeft, {}, on.X, on.Y, false);
    EXPECT_EQ(heard, (std::vector<std::string>{"point 5", "chart's point 5"}))
        << "the chart's handler leaves the press handled";
}

TEST_F(ChartControl, APressOnATitleReachesTheTitleHandlerWhichCanKeepTheZoomFromStarting) {
    auto chart = NewChart();
    AddDots(chart.get(), 10);
    chart->GetFoot()->GetText()->Add(u"Подвал");
    Layout(chart.get());
    const TRect r = chart->GetChartRect();
    TPoint foot{-1, -1};
    for (int y = r.Bottom + 1; y < chart->GetHeight() && foot.Y < 0; ++y)
        if (chart->GetFoot()->Clicked(chart->GetWidth() / 2, y)) foot = {chart->GetWidth() / 2, y};
    ASSERT_GE(foot.Y, 0) << "the foot is drawn below the chart";
    TChartClickedPart part;
    chart->CalcClickedPart(foot, part);
    ASSERT_EQ(part.Style, cpFoot);

    std::vector<TChartTitle*> clicked;
    int backgrounds = 0;
    chart->OnClickBackground.Bind([&](TCustomChart*, TMouseButton, TShiftState, int, int) { ++backgrounds; });
    chart->OnClickTitle.Bind([&](TCustomChart*, TChartTitle* Title, TMouseButton, TShiftState, int, int) {
        clicked.push_back(Title);
    });
    chart->HandleMouseDown(mbLeft, {}, foot.X, foot.Y, false);
    EXPECT_EQ(clicked, std::vector<TChartTitle*>{chart->GetFoot()});
    EXPECT_FALSE(chart->GetZoom()->Active) << "the handler left the press handled";
    EXPECT_EQ(backgrounds, 0);

    chart->OnClickTitle.Bind([&](TCustomChart* Sender, TChartTitle*, TMouseButton, TShiftState, int, int) {
        Sender->CancelMouse = false; // not handled: the press goes on
    });
    chart->HandleMouseDown(mbLeft, {}, foot.X, foot.Y, false);
    EXPECT_TRUE(chart->GetZoom()->Active);
    EXPECT_EQ(backgrounds, 1);
    chart->HandleMouseUp(mbLeft, {}, foot.X, foot.Y);
}

TEST_F(ChartControl, AChartReadOnALaterPageShowsThatPageOnceItsSeriesAreThere) {
    auto form = MakeOwned<TForm>(nullptr);
    auto* chart = Create<TChart>(form.get());
    chart->SetName(u"Chart1");
    auto* s = Create<TDotSeries>(form.get());
    s->SetName(u"Series1");
    s->ForceSaveData = true;
    chart->AddSeries(s);
    for (int i = 0; i < 25; ++i) s->AddXY(i, i % 5);
    chart->GetPages()->SetMaxPointsPerPage(10);
    chart->GetPages()->SetCurrent(3);
    const std::string text = streamtext::ObjectText(chart);
    ASSERT_NE(text.find("Pages.Current = 3"), std::string::npos) << text;

    auto form2 = MakeOwned<TForm>(nullptr);
    auto* copy = Create<TChart>(form2.get());
    int changes = 0;
    copy->OnPageChange.Bind([&](TObject*) { ++changes; });
    streamtext::ReadText(text, copy);
    EXPECT_EQ(copy->GetPages()->GetCurrent(), 3) << "the page is not clamped before the series are read";
    EXPECT_EQ(streamtext::ObjectText(copy), text);
    EXPECT_EQ(changes, 0);

    // A page beyond what the series fill comes down to the last page once they are read.
    std::string beyond = text;
    beyond.replace(beyond.find("Pages.Current = 3"), 17, "Pages.Current = 7");
    auto form3 = MakeOwned<TForm>(nullptr);
    auto* third = Create<TChart>(form3.get());
    streamtext::ReadText(beyond, third);
    EXPECT_EQ(third->GetPages()->GetCurrent(), 3);
}
