// The series list box: where a row's sections begin and end, what presses, double-clicks
// and keys do to the series, deleting several series, the inline title editor, renaming,
// and the chart's events reaching the rows.
#include "chart/editors/zuzlisb.h"

#include "chart/canvas/zuzconst.h"
#include "platform/gui/dialogs.h"
#include "tests/chart/editors/gridfixture.h"

#include <gtest/gtest.h>

namespace {

class ChartListBox : public ChartFormTest {
protected:
    void SetUp() override {
        ChartFormTest::SetUp();
        list = Create<TChartListBox>(form.get());
        list->SetParent(form.get());
        list->SetBounds(0, 0, 310, 300);
    }
    TLineSeries* Add(const String& Title) { return AddSeries<TLineSeries>({1, 2, 3}, Title); }
    // A point in a section of a row.
    TPoint At(int Row, TChartListBox::TSection Section) {
        const TRect r = list->ItemRect(Row);
        return TPoint(list->SectionLeft(Section) + 5, (r.Top + r.Bottom) / 2);
    }
    void Press(TPoint P, TShiftState Shift = {}) { list->HandleMouseDown(mbLeft, Shift, P.X, P.Y, false); }
    void Release(TPoint P) { list->HandleMouseUp(mbLeft, {}, P.X, P.Y); }
    void DoubleClick(TPoint P) {
        Press(P);
        Release(P);
        list->HandleMouseDown(mbLeft, {}, P.X, P.Y, true);
        Release(P);
    }
    void Key(Word K) {
        list->HandleKeyDown(K, {});
        list->HandleKeyUp(K, {});
    }
    // Every question answered Yes, the colour dialog with Colour, the input query with Text.
    void AnswerAll(TColor Colour = clNone, const String& Text = {}) {
        answer = [Colour, Text](const TDialogRequest& r) {
            TDialogAnswer a;
            a.Result = r.Kind == TDialogKind::MessageDlg || r.Kind == TDialogKind::MessageBox ? mrYes : mrOk;
            if (r.Kind == TDialogKind::ColorDialog) a.Color = static_cast<int>(Colour);
            if (r.Kind == TDialogKind::InputQuery) a.Value = Text;
            return a;
        };
    }

    TChartListBox* list = nullptr;
};

// --- Sections --------------------------------------------------------------------

TEST_F(ChartListBox, AnEdgeOfASectionBelongsToNoSection) {
    // Icon 0..26, check box 26..42, colour 42..68, title from 68 on.
    EXPECT_EQ(list->SectionLeft(TChartListBox::secCheck), 26);
    EXPECT_EQ(list->SectionLeft(TChartListBox::secTitle), 68);
    for (int s = TChartListBox::secIcon; s <= TChartListBox::secTitle; ++s) {
        EXPECT_FALSE(list->PointInSection(TPoint(26, 5), s)) << s;
        EXPECT_FALSE(list->PointInSection(TPoint(42, 5), s)) << s;
    }
    EXPECT_TRUE(list->PointInSection(TPoint(27, 5), TChartListBox::secCheck));
    EXPECT_TRUE(list->PointInSection(TPoint(41, 5), TChartListBox::secCheck));
    // A hidden section takes no room and holds no point.
    list->SetShowSeriesIcon(false);
    EXPECT_EQ(list->SectionLeft(TChartListBox::secCheck), 0);
    EXPECT_FALSE(list->PointInSection(TPoint(5, 5), TChartListBox::secIcon));
    EXPECT_TRUE(list->PointInSection(TPoint(5, 5), TChartListBox::secCheck));
}

// --- Rows follow the chart ---------------------------------------------------------

TEST_F(ChartListBox, RowsAreTheChartsSeriesAndFollowItsEvents) {
    auto* a = Add(u"Температура");
    auto* b = Add({});
    list->SetChart(chart);
    ASSERT_EQ(list->GetItems()->GetCount(), 2);
    EXPECT_EQ(list->GetItems()->GetStrings(0), u"Температура");
    EXPECT_EQ(list->GetItems()->GetStrings(1), SeriesTitleOrName(b));
    EXPECT_EQ(list->GetSelectedSeries(), a);
    a->SetTitle(u"Давление");
    EXPECT_EQ(list->GetItems()->GetStrings(0), u"Давление");
    TChartSeries* removed = nullptr;
    list->OnRemovedSeries = TNotifySeriesEvent([&](TObject*, TChartSeries* s) { removed = s; });
    a->Free();
    EXPECT_EQ(removed, a);
    ASSERT_EQ(list->GetItems()->GetCount(), 1);
    EXPECT_EQ(list->GetSeries(0), b);
    auto* c = Add(u"Расход");
    EXPECT_EQ(list->GetItems()->GetCount(), 2);
    EXPECT_EQ(list->GetSeries(1), c);
    // The names mode lists component names.
    list->SetNames(true);
    EXPECT_EQ(list->GetItems()->GetStrings(1), c->GetName());
    chart->Free();
    chart = nullptr;
    EXPECT_EQ(list->GetChart(), nullptr);
    EXPECT_EQ(list->GetItems()->GetCount(), 0);
}

TEST_F(ChartListBox, OtherItemsMirrorTheRows) {
    Add(u"A");
    Add(u"B");
    TStringList other;
    list->OtherItems = &other;
    list->SetChart(chart);
    EXPECT_EQ(other.GetCount(), 2);
    list->SwapSeries(0, 1);
    EXPECT_EQ(other.GetStrings(0), u"B");
    chart->GetSeries(0)->Free();
    EXPECT_EQ(other.GetCount(), 1);
    list->OtherItems = nullptr;
}

// --- Active check boxes ------------------------------------------------------------

TEST_F(ChartListBox, RadioStyleLeavesOnlyTheFirstListedSeriesActive) {
    auto* a = Add(u"A");
    auto* b = Add(u"B");
    auto* c = Add(u"C");
    a->SetActive(false);
    list->SetChart(chart);
    list->SetCheckStyle(cbsRadio);
    EXPECT_FALSE(a->GetActive());
    EXPECT_TRUE(b->GetActive());
    EXPECT_FALSE(c->GetActive());
}

TEST_F(ChartListBox, APressOnTheCheckBoxTogglesOrPicksTheSeries) {
    auto* a = Add(u"A");
    auto* b = Add(u"B");
    list->SetChart(chart);
    TChartSeries* told = nullptr;
    int selected = 0;
    list->OnChangeActive = TNotifySeriesEvent([&](TObject*, TChartSeries* s) {
        told = s;
        selected = list->GetSelCount();
    });
    Press(At(1, TChartListBox::secCheck));
    EXPECT_FALSE(b->GetActive());
    EXPECT_EQ(told, b);
    EXPECT_EQ(selected, 1); // the pressed row, alone, is chosen before the press is told
    Press(At(1, TChartListBox::secCheck));
    EXPECT_TRUE(b->GetActive());
    list->SetCheckStyle(cbsRadio);
    Press(At(1, TChartListBox::secCheck));
    EXPECT_FALSE(a->GetActive());
    EXPECT_TRUE(b->GetActive());
}

// --- Double-clicks and dragging ------------------------------------------------------

TEST_F(ChartListBox, ADoubleClickOnTheColourBoxEditsTheSeriesColour) {
    auto* a = Add(u"A");
    a->SetColorEachPoint(true);
    list->SetChart(chart);
    TChartSeries* told = nullptr;
    list->OnChangeColor = TNotifySeriesEvent([&](TObject*, TChartSeries* s) { told = s; });
    AnswerAll(clFuchsia);
    DoubleClick(At(0, TChartListBox::secColor));
    EXPECT_EQ(a->GetSeriesColor(), clFuchsia);
    EXPECT_FALSE(a->GetColorEachPoint());
    EXPECT_EQ(told, a);
}

TEST_F(ChartListBox, ADoubleClickOnTheTitleTellsItsRow) {
    Add(u"A");
    Add(u"B");
    list->SetChart(chart);
    int row = -1;
    list->OnDblClickSeries = TDblClickSeriesEvent([&](TObject*, int i) { row = i; });
    DoubleClick(At(1, TChartListBox::secTitle));
    EXPECT_EQ(row, 1);
}

TEST_F(ChartListBox, ADoubleClickNeverStartsADrag) {
    Add(u"A");
    Add(u"B");
    list->SetChart(chart);
    const TPoint p = At(0, TChartListBox::secTitle);
    Press(p);
    Release(p);
    list->HandleMouseDown(mbLeft, {}, p.X, p.Y, true);
    list->HandleMouseMove({}, p.X, p.Y + 30);
    EXPECT_FALSE(list->Dragging());
    Release(TPoint(p.X, p.Y + 30));
    // The next plain press may drag again.
    Press(p);
    list->HandleMouseMove({}, p.X, p.Y + 30);
    EXPECT_TRUE(list->Dragging());
    list->EndDrag(false);
}

TEST_F(ChartListBox, DroppingARowOnAnotherExchangesTheSeries) {
    auto* a = Add(u"A");
    auto* b = Add(u"B");
    auto* c = Add(u"C");
    list->SetChart(chart);
    TChartSeries *one = nullptr, *two = nullptr;
    list->OnChangeOrder = TChangeOrderEvent([&](TObject*, TChartSeries* x, TChartSeries* y) {
        one = x;
        two = y;
    });
    bool accept = false;
    list->DragOver(list, 5, 5, dsDragMove, accept);
    EXPECT_TRUE(accept);
    auto* other = Create<TListBox>(form.get());
    list->DragOver(other, 5, 5, dsDragMove, accept);
    EXPECT_FALSE(accept);
    list->SetItemIndex(0);
    const TPoint drop = At(2, TChartListBox::secTitle);
    list->DragDrop(list, drop.X, drop.Y);
    EXPECT_EQ(chart->GetSeries(0), c);
    EXPECT_EQ(chart->GetSeries(2), a);
    EXPECT_EQ(list->GetSeries(2), a);
    EXPECT_EQ(list->GetItemIndex(), 2);
    EXPECT_EQ(one, a);
    EXPECT_EQ(two, c);
    list->MoveCurrentUp();
    EXPECT_EQ(chart->GetSeries(1), a);
    EXPECT_EQ(chart->GetSeries(2), b);
}

// --- Deleting ----------------------------------------------------------------------

TEST_F(ChartListBox, DeletingThreeSelectedSeriesFreesAllThree) {
    Add(u"A");
    Add(u"B");
    Add(u"C");
    auto* keep = Add(u"D");
    list->SetChart(chart);
    for (int i = 0; i < 3; ++i) list->SetSelected(i, true);
    AnswerAll();
    Key(VK_DELETE);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_NE(requests[0].Text.find(VavIve_SelectedSeries), String::npos);
    ASSERT_EQ(chart->SeriesCount(), 1);
    EXPECT_EQ(chart->GetSeries(0), keep);
    ASSERT_EQ(list->GetItems()->GetCount(), 1);
    EXPECT_EQ(list->GetItemIndex(), 0);
}

TEST_F(ChartListBox, DeletingFreesEachSeriesOnceEvenWhenNoRemoveEventComes) {
    Add(u"A");
    Add(u"B");
    Add(u"C");
    list->SetChart(chart);
    // The list no longer hears the chart: its rows stay until it removes them itself.
    chart->RemoveListener(list);
    list->AskDelete = false;
    list->SelectAll();
    EXPECT_TRUE(list->DeleteSeries());
    EXPECT_EQ(chart->SeriesCount(), 0);
    EXPECT_EQ(list->GetItems()->GetCount(), 0);
    chart->GetListeners()->Add(list);
}

TEST_F(ChartListBox, NoAnswersNoAndNothingSelectedDeleteNothing) {
    auto* a = Add(u"A");
    list->SetChart(chart);
    list->SetSelected(0, true);
    answer = [](const TDialogRequest&) {
        TDialogAnswer r;
        r.Result = mrNo;
        return r;
    };
    EXPECT_FALSE(list->DeleteSeries());
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_NE(requests[0].Text.find(u"A"), String::npos);
    EXPECT_EQ(chart->SeriesCount(), 1);
    list->AllowDeleteSeries = false;
    AnswerAll();
    Key(VK_DELETE);
    EXPECT_EQ(chart->GetSeries(0), a);
}

// --- Titles ------------------------------------------------------------------------

TEST_F(ChartListBox, EscInTheInlineEditorKeepsTheTitleAndTheOtherKeysAcceptIt) {
    auto* a = Add(u"Old");
    list->SetChart(chart);
    form->Show();
    for (Word k : {VK_UP, VK_DOWN, VK_RETURN, static_cast<Word>(VK_F1 + 1)}) {
        a->SetTitle(u"Old");
        Key(VK_F1 + 1); // F2 opens it
        ASSERT_NE(list->GetEditor(), nullptr);
        ASSERT_TRUE(list->GetEditor()->GetVisible());
        EXPECT_EQ(list->GetEditor()->GetText(), u"Old");
        list->GetEditor()->SetText(u"New");
        Word key = k;
        list->GetEditor()->HandleKeyDown(key, {});
        EXPECT_FALSE(list->GetEditor()->GetVisible());
        EXPECT_EQ(a->GetTitle(), u"New") << k;
    }
    Key(VK_F1 + 1);
    list->GetEditor()->SetText(u"Lost");
    Word esc = VK_ESCAPE;
    list->GetEditor()->HandleKeyDown(esc, {});
    EXPECT_FALSE(list->GetEditor()->GetVisible());
    EXPECT_EQ(a->GetTitle(), u"New");
    // Enter and Esc typed into it go no further.
    Char enter = u'\r';
    list->GetEditor()->HandleKeyPress(enter);
    EXPECT_EQ(enter, 0);
}

TEST_F(ChartListBox, RenamingASeriesToItsOwnNameClearsItsTitle) {
    auto* a = Add(u"Title");
    a->SetName(u"Series1");
    list->SetChart(chart);
    AnswerAll(clNone, a->GetName());
    EXPECT_TRUE(list->RenameSeries());
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back().Kind, TDialogKind::InputQuery);
    EXPECT_EQ(requests.back().Caption, VavIve_ChangeSeriesTitle);
    EXPECT_EQ(requests.back().Value, u"Title");
    EXPECT_EQ(a->GetTitle(), u"");
    AnswerAll(clNone, u"Другое");
    EXPECT_TRUE(list->RenameSeries());
    EXPECT_EQ(a->GetTitle(), u"Другое");
    // An empty answer or Cancel changes nothing.
    AnswerAll(clNone, u"");
    EXPECT_FALSE(list->RenameSeries());
    EXPECT_EQ(a->GetTitle(), u"Другое");
}

// --- The gallery hooks ---------------------------------------------------------------

TEST_F(ChartListBox, InsertAddsTheGallerysSeriesAndSelectsItAlone) {
    Add(u"A");
    list->SetChart(chart);
    list->SetSelected(0, true);
    static TChart* target = nullptr;
    target = chart;
    const TZuzAddGalleryProc saved = ZuzAddGalleryProc;
    ZuzAddGalleryProc = [](TComponent* Owner, TCustomChart* Chart, TChartSeries*) -> TChartSeries* {
        EXPECT_EQ(Chart, target);
        auto* s = Create<TBarSeries>(Owner);
        Chart->AddSeries(s);
        return s;
    };
    Key(VK_INSERT);
    ZuzAddGalleryProc = saved;
    ASSERT_EQ(chart->SeriesCount(), 2);
    EXPECT_EQ(list->GetSelCount(), 1);
    EXPECT_EQ(list->GetSelectedSeries(), chart->GetSeries(1));
}

} // namespace
