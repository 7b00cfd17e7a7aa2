// The series base: points in and out, colours, labels, updates, linked series,
// data sources, copying, sample values, groups.
#include "chart/canvas/zuzconst.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/seriessource.h"
#include "fakechart.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace {

std::vector<double> Values(const TChartValueList* L) {
    return {L->Values().begin(), L->Values().end()};
}

class Series : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartEngineUnits(); }
    void SetUp() override { chart = MakeOwned<TFakeChart>(nullptr); }
    TChartSeries* NewSeries(const char16_t* Name = u"") {
        auto* s = Create<TChartSeries>(chart.get());
        if (*Name) s->SetName(Name);
        s->SetParentChart(chart.get());
        return s;
    }
    Owned<TFakeChart> chart;
};

TEST_F(Series, AddXYInsertsInXOrderAndReturnsTheIndex) {
    TChartSeries* s = NewSeries();
    EXPECT_EQ(s->AddXY(3, 30), 0);
    EXPECT_EQ(s->AddXY(1, 10), 0);
    EXPECT_EQ(s->AddXY(2, 20), 1);
    EXPECT_EQ(Values(s->GetXValues()), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(Values(s->GetYValues()), (std::vector<double>{10, 20, 30}));
    EXPECT_EQ(s->AddXY(1, 5), 1); // after the point with the same X
    EXPECT_EQ(s->YValue(1), 5);
}

TEST_F(Series, AddOnAVerticalSeriesNumbersX) {
    TChartSeries* s = NewSeries();
    s->Add(7);
    s->Add(8);
    EXPECT_EQ(Values(s->GetXValues()), (std::vector<double>{0, 1}));
    EXPECT_EQ(Values(s->GetYValues()), (std::vector<double>{7, 8}));
}

TEST_F(Series, NullPointsAreKeptAndCountInTheStatistics) {
    TChartSeries* s = NewSeries();
    s->AddXY(0, 1);
    s->AddNullXY(1, 9);
    EXPECT_TRUE(s->IsNull(1));
    EXPECT_FALSE(s->IsNull(0));
    EXPECT_EQ(s->GetYValues()->GetMaxValue(), 9);
    s->SetNull(1, false);
    EXPECT_FALSE(s->IsNull(1));
}

TEST_F(Series, TheColourListIsMadeByTheFirstOwnColour) {
    TChartSeries* s = NewSeries();
    s->SetSeriesColor(clGreen);
    s->AddXY(0, 1);
    s->AddXY(1, 2);
    EXPECT_FALSE(s->HasColorList());
    s->AddXY(2, 3, {}, clRed);
    EXPECT_TRUE(s->HasColorList());
    EXPECT_EQ(s->ValueColor(0), clGreen);
    EXPECT_EQ(s->ValueColor(2), clRed);
    s->SetValueColor(0, clDefault);
    EXPECT_EQ(s->ValueColor(0), clGreen);
    s->SetColorEachPoint(true);
    EXPECT_EQ(s->ValueColor(1), static_cast<TColor>(0x101)); // the chart's colour of index 1
}

TEST_F(Series, ColorRangeColoursNonNullPointsInTheRangeBothEndsIncluded) {
    TChartSeries* s = NewSeries();
    for (int t = 0; t < 5; ++t) s->AddXY(t, t * 10);
    s->SetNull(2);
    s->ColorRange(s->GetYValues(), 10, 30, clBlue);
    EXPECT_EQ(s->OwnColor(0), clDefault);
    EXPECT_EQ(s->OwnColor(1), clBlue);
    EXPECT_TRUE(s->IsNull(2));
    EXPECT_EQ(s->OwnColor(3), clBlue);
    EXPECT_EQ(s->OwnColor(4), clDefault);
}

TEST_F(Series, OnBeforeAddRefusesAPoint) {
    TChartSeries* s = NewSeries();
    s->OnBeforeAdd.Bind([](TChartSeries*) { return false; });
    EXPECT_EQ(s->AddXY(1, 1), -1);
    EXPECT_EQ(s->Count(), 0);
}

TEST_F(Series, AnIndexOutOfBoundsRaisesTheMessageOfItsCallAndChangesNothing) {
    TChartSeries* s = NewSeries();
    for (int t = 0; t < 5; ++t) s->Add(t);
    TChartSeries* other = NewSeries();
    const std::pair<const char16_t*, std::function<void()>> calls[] = {
        {u"Delete", [&] { s->Delete(5); }},
        {u"ValueColor", [&] { s->ValueColor(5); }},
        {u"SetValueColor", [&] { s->SetValueColor(5, clRed); }},
        {u"IsNull", [&] { s->IsNull(5); }},
        {u"SetNull", [&] { s->SetNull(5); }},
        {u"GetXLabel", [&] { s->GetXLabel(5); }},
        {u"SetXLabel", [&] { s->SetXLabel(5, u"a"); }},
        {u"AddChartValue", [&] { other->AddChartValue(s, 5); }},
    };
    for (const auto& [name, call] : calls) {
        try {
            call();
            ADD_FAILURE() << "no exception";
        } catch (const ChartException& e) {
            EXPECT_EQ(e.Message(), u"Series " + String(name) + u": ValueIndex 5 out of bounds (0 to 4).");
        }
    }
    EXPECT_THROW(s->Delete(-1), ChartException);
    EXPECT_EQ(s->Count(), 5);
    EXPECT_FALSE(s->HasColorList());
    EXPECT_EQ(other->Count(), 0);
}

TEST_F(Series, RangeDeleteWithRemoveGapRenumbersAndClampsTheQuantity) {
    TChartSeries* s = NewSeries();
    for (int t = 10; t < 14; ++t) s->AddXY(t, t, u"L", clRed);
    s->Delete(0, 2, true);
    EXPECT_EQ(Values(s->GetXValues()), (std::vector<double>{0, 1}));
    EXPECT_EQ(Values(s->GetYValues()), (std::vector<double>{12, 13}));
    s->Delete(1, 50);
    EXPECT_EQ(s->Count(), 1);
    EXPECT_EQ(s->GetXLabel(0), u"L");
    s->Delete(7, 1); // start past the end: nothing
    EXPECT_EQ(s->Count(), 1);
}

TEST_F(Series, AddArrayRaisesOnAShorterYArray) {
    TChartSeries* s = NewSeries();
    const double x[] = {1, 2, 3}, y[] = {4, 5};
    EXPECT_THROW(s->AddArray(x, y), ChartException);
    EXPECT_EQ(s->Count(), 0);
    EXPECT_EQ(s->AddArray(y, x), 2);
    EXPECT_EQ(s->AddArray(std::span<const double>(x)), 3);
    EXPECT_EQ(s->Count(), 5);
}

TEST_F(Series, PointIndexesOutsideTheSeriesRaise) {
    TChartSeries* s = NewSeries();
    s->Add(1);
    EXPECT_THROW(s->SetXLabel(1, u"x"), ChartException);
    EXPECT_THROW(s->SetValueColor(3, clRed), ChartException);
    EXPECT_THROW(s->XValue(2), ChartException);
    EXPECT_THROW(s->ValueColor(-1), ChartException);
}

TEST_F(Series, BatchUpdatesNotifyOnceAtTheEnd) {
    TChartSeries* s = NewSeries();
    int afterAdd = 0;
    s->OnAfterAdd.Bind([&](TChartSeries*, int) { ++afterAdd; });
    chart->Repaints = 0;
    chart->Events.clear();
    s->BeginUpdate();
    for (int t = 0; t < 1000; ++t) s->Add(t);
    EXPECT_EQ(chart->Repaints, 0);
    s->EndUpdate();
    EXPECT_EQ(afterAdd, 0);
    EXPECT_EQ(std::count(chart->Events.begin(), chart->Events.end(), seDataChanged), 1);
    s->Add(1);
    EXPECT_EQ(afterAdd, 1);
}

TEST_F(Series, SettingTheAutomaticColourKeepsTheSeriesAutomatic) {
    TChartSeries* s = NewSeries();
    const TColor automatic = s->GetSeriesColor();
    s->SetSeriesColor(automatic);
    EXPECT_FALSE(s->IsColorStored());
    s->SetSeriesColor(clYellow);
    EXPECT_TRUE(s->IsColorStored());
    EXPECT_EQ(s->GetSeriesColor(), clYellow);
}

TEST_F(Series, SortByLabelsOrdersPointsAndRenumbersX) {
    TChartSeries* s = NewSeries();
    s->Add(2, u"b");
    s->Add(1, u"a");
    s->Add(3, u"c");
    s->SortByLabels(loAscending);
    EXPECT_EQ(s->GetXLabel(0), u"a");
    EXPECT_EQ(s->GetXLabel(2), u"c");
    EXPECT_EQ(Values(s->GetYValues()), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(Values(s->GetXValues()), (std::vector<double>{0, 1, 2}));
}

// A point's own mark item goes where the point goes, and so does its dragged mark (which a copy,
// drawn elsewhere, does not take).
struct ItemRow {
    const char* rule;
    TChartSeries* (*change)(TChartSeries* Series, TChartSeries* Other);
    int at; // where point 3 stands then
};

class MarkItem : public Series, public ::testing::WithParamInterface<ItemRow> {};

TEST_P(MarkItem, FollowsItsPoint) {
    TChartSeries* s = NewSeries();
    const char16_t* labels[] = {u"f", u"e", u"d", u"c", u"b", u"a"};
    for (int t = 0; t < 6; ++t) s->AddXY(t, t, labels[t]);
    s->GetMarks()->Item(3)->GetText()->Add(u"OWN-P3");
    s->GetMarks()->Positions().Put(3, TSeriesMarkPosition());
    TChartSeries* shown = GetParam().change(s, NewSeries());
    for (int t = 0; t < shown->Count(); ++t) {
        EXPECT_EQ(shown->GetMarkText(t) == u"OWN-P3", t == GetParam().at) << t;
        const TSeriesMarkPosition* p = shown->GetMarks()->Positions()[t];
        if (shown == s) {
            EXPECT_EQ(p && p->Custom, t == GetParam().at) << t;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Changes, MarkItem,
    ::testing::Values(
        ItemRow{"DeletingAPointBefore", [](TChartSeries* s, TChartSeries*) { return s->Delete(0), s; }, 2},
        ItemRow{"DeletingARangeBefore",
                [](TChartSeries* s, TChartSeries*) { return s->Delete(0, 1, false), s; }, 2},
        ItemRow{"DeletingARangeBeforeAndTheGap",
                [](TChartSeries* s, TChartSeries*) { return s->Delete(1, 2, true), s; }, 1},
        ItemRow{"SwappingWithAPointPastTheItems",
                [](TChartSeries* s, TChartSeries*) { return s->SwapValueIndex(3, 5), s; }, 5},
        ItemRow{"SortingByLabels",
                [](TChartSeries* s, TChartSeries*) { return s->SortByLabels(loAscending), s; }, 2},
        ItemRow{"SortingByValues",
                [](TChartSeries* s, TChartSeries*) {
                    s->GetYValues()->SetOrder(loDescending);
                    return s->CheckOrder(), s;
                },
                2},
        ItemRow{"IntoACopy", [](TChartSeries* s, TChartSeries* copy) { return copy->Assign(s), copy; }, 3}),
    [](const auto& info) { return std::string(info.param.rule); });

TEST_F(Series, LinkedSeriesFollowTheirSource) {
    TChartSeries* a = NewSeries(u"A");
    TChartSeries* b = NewSeries(u"B");
    b->SetDataSource(a);
    a->AddXY(1, 10, u"one", clRed);
    ASSERT_EQ(b->Count(), 1);
    EXPECT_EQ(b->GetXLabel(0), u"one");
    EXPECT_EQ(b->OwnColor(0), clRed);
    a->AddXY(2, 20);
    a->Delete(0);
    ASSERT_EQ(b->Count(), 1);
    EXPECT_EQ(b->XValue(0), 2);
    a->BeginUpdate();
    for (int t = 3; t < 10; ++t) a->AddXY(t, t);
    EXPECT_EQ(b->Count(), 1);
    a->EndUpdate();
    EXPECT_EQ(b->Count(), 8);
    a->Clear();
    EXPECT_EQ(b->Count(), 0);
}

TEST_F(Series, ClearReachesALinkedSeriesOnlyWithRecalcOnClear) {
    TChartSeries* a = NewSeries(u"A");
    TChartSeries* b = NewSeries(u"B");
    b->SetDataSource(a);
    a->Add(1);
    b->SetRecalcOptions({rOnInsert});
    a->Clear();
    EXPECT_EQ(b->Count(), 1);
}

TEST_F(Series, InvalidDataSourcesAreRefused) {
    TChartSeries* a = NewSeries(u"A");
    try {
        a->SetDataSource(a);
        FAIL();
    } catch (const ChartException& e) {
        EXPECT_EQ(e.Message(), u"No valid DataSource: A");
    }
    auto loose = MakeOwned<TChartSeries>(nullptr);
    auto other = MakeOwned<TComponent>(nullptr);
    try {
        loose->SetDataSource(other.get());
        FAIL();
    } catch (const ChartException& e) {
        EXPECT_EQ(e.Message(), u"No ParentChart to validate DataSource");
    }
    EXPECT_EQ(loose->GetDataSource(), nullptr);
}

TEST_F(Series, ACircleOfSourcesIsRefused) {
    TChartSeries* a = NewSeries(u"A");
    TChartSeries* b = NewSeries(u"B");
    TChartSeries* c = NewSeries(u"C");
    b->SetDataSource(a);
    c->SetDataSource(b);
    try {
        a->SetDataSource(c);
        FAIL();
    } catch (const ChartException& e) {
        EXPECT_EQ(e.Message(), VavIve_CircularSeries);
    }
    EXPECT_EQ(a->GetDataSource(), nullptr);
    a->Add(1); // no endless notification
    EXPECT_EQ(c->Count(), 1);
    // Copying a series fed from this one would close the circle as well: nothing is copied.
    a->SetTitle(u"Источник");
    for (TChartSeries* fed : {b, c}) {
        EXPECT_THROW(a->Assign(fed), ChartException);
        EXPECT_EQ(a->GetDataSource(), nullptr);
        EXPECT_EQ(a->GetTitle(), u"Источник");
    }
    a->Add(2);
    EXPECT_EQ(c->Count(), 2);
}

TEST_F(Series, FreeingASourceUnlinksItsSeries) {
    TChartSeries* a = NewSeries(u"A");
    TChartSeries* b = NewSeries(u"B");
    b->SetDataSource(a);
    a->Free();
    EXPECT_EQ(b->GetDataSource(), nullptr);
    b->Free();
    // And the other way: a data source forgets the series it fed when the series goes.
    class TOnePointSource : public TZuzSeriesSource {
    public:
        using TZuzSeriesSource::TZuzSeriesSource;
        void Load() override { GetSeries()->Add(1); }
    };
    auto source = MakeOwned<TOnePointSource>(nullptr);
    TChartSeries* c = NewSeries(u"C");
    source->SetSeries(c);
    source->Open();
    ASSERT_EQ(c->Count(), 1);
    c->Free();
    EXPECT_EQ(source->GetSeries(), nullptr);
    source->Close();
    source->Open();
}

TEST_F(Series, AssignCopiesPointsLabelsColoursAndSettings) {
    TChartSeries* a = NewSeries(u"A");
    a->SetTitle(u"Температура");
    a->GetXValues()->SetDateTime(true);
    a->SetValueFormat(u"0.0");
    a->AddXY(1, 10, u"раз");
    a->AddXY(2, 20, {}, clRed);
    a->AddNullXY(3, 30);
    TChartSeries* b = NewSeries(u"B");
    b->Assign(a);
    EXPECT_EQ(b->GetTitle(), u"Температура");
    EXPECT_TRUE(b->GetXValues()->GetDateTime());
    EXPECT_EQ(b->GetValueFormat(), u"0.0");
    ASSERT_EQ(b->Count(), 3);
    EXPECT_EQ(b->GetXLabel(0), u"раз");
    EXPECT_EQ(b->OwnColor(1), clRed);
    EXPECT_TRUE(b->IsNull(2));
    EXPECT_EQ(b->GetDataSource(), nullptr);
    b->Assign(b);
    EXPECT_EQ(b->Count(), 3) << "a series copied onto itself stays as it is";
    EXPECT_EQ(b->GetXLabel(0), u"раз");
}

// A copy taken list by list must leave what copying point by point leaves.
TEST_F(Series, ACopyHoldsWhatPointByPointCopyingWouldHold) {
    TChartSeries* a = NewSeries(u"A");
    for (int t = 0; t < 300; ++t) a->AddXY(t, t * 2.0);
    a->SetXLabel(250, u"поздно");
    a->SetValueColor(280, clBlue);
    TChartSeries* b = NewSeries(u"B");
    b->Assign(a);
    ASSERT_EQ(b->Count(), 300);
    EXPECT_EQ(Values(b->GetXValues()), Values(a->GetXValues()));
    EXPECT_EQ(Values(b->GetYValues()), Values(a->GetYValues()));
    EXPECT_EQ(b->Labels().Count(), 300);
    EXPECT_EQ(b->GetXLabel(250), u"поздно");
    EXPECT_EQ(b->GetXLabel(249), u"");
    EXPECT_EQ(b->OwnColor(280), clBlue);
    EXPECT_EQ(b->OwnColor(279), clDefault);
    // Points without labels or colours bring no lists along.
    TChartSeries* plain = NewSeries(u"P");
    plain->AddXY(1, 1);
    TChartSeries* c = NewSeries(u"C");
    c->Assign(plain);
    EXPECT_EQ(c->Labels().Count(), 0);
    EXPECT_FALSE(c->HasColorList());
    // Points out of this series's X order are still placed one by one.
    TChartSeries* u = NewSeries(u"U");
    u->GetXValues()->SetOrder(loNone);
    for (double x : {3.0, 1.0, 2.0, 1.0}) u->AddXY(x, x * 10);
    TChartSeries* d = NewSeries(u"D");
    d->AddValues(u);
    EXPECT_EQ(Values(d->GetXValues()), (std::vector<double>{1, 1, 2, 3}));
    EXPECT_EQ(Values(d->GetYValues()), (std::vector<double>{10, 10, 20, 30}));
    TChartSeries* e = NewSeries(u"E");
    e->GetXValues()->SetOrder(loDescending);
    d->GetXValues()->SetOrder(loDescending);
    e->AddValues(d);
    EXPECT_EQ(Values(e->GetXValues()), (std::vector<double>{3, 2, 1, 1}));
}

TEST_F(Series, AssignFromAFedSeriesCopiesTheSourceInstead) {
    TChartSeries* a = NewSeries(u"A");
    TChartSeries* b = NewSeries(u"B");
    b->SetDataSource(a);
    a->Add(1);
    TChartSeries* c = NewSeries(u"C");
    c->Assign(b);
    EXPECT_EQ(c->GetDataSource(), a);
    EXPECT_EQ(c->Count(), 1);
}

TEST_F(Series, AssignBetweenVerticalAndHorizontalCrossesTheListSettings) {
    TChartSeries* a = NewSeries(u"A");
    a->GetXValues()->SetDateTime(true);
    TChartSeries* h = NewSeries(u"H");
    h->SetHorizontal();
    h->AssignFormat(a);
    EXPECT_TRUE(h->GetYValues()->GetDateTime());
    EXPECT_FALSE(h->GetXValues()->GetDateTime());
    EXPECT_EQ(h->GetYValues()->GetOrder(), loAscending);
}

TEST_F(Series, SampleValues) {
    TChartSeries* s = NewSeries();
    EXPECT_EQ(s->Count(), 0); // a series added at run time gets no sample points
    s->SetManualData(true);
    s->FillSampleValues(0);
    EXPECT_EQ(s->Count(), 25);
    EXPECT_FALSE(s->GetManualData());
    EXPECT_THROW(s->FillSampleValues(-1), ChartException);
    EXPECT_EQ(s->Count(), 25);
    for (int t = 0; t < s->Count(); ++t) EXPECT_GE(s->YValue(t), 0);
    // A gallery sample: enabled, its points take the palette; disabled, every point is grey.
    s->PrepareForGallery(true);
    ASSERT_EQ(s->Count(), 4);
    EXPECT_EQ(s->ValueColor(1), chart->GetDefaultColor(1));
    s->PrepareForGallery(false);
    for (int t = 0; t < s->Count(); ++t) EXPECT_EQ(s->ValueColor(t), static_cast<TColor>(0xC0C0C0));
}

TEST_F(Series, RandomValueIsTheClassLibrarysGenerator) {
    RandSeed = 0;
    EXPECT_EQ(TChartSeries::RandomValue(100), 0);
    EXPECT_EQ(TChartSeries::RandomValue(100), 3);
}

TEST_F(Series, SetParentComponentReattachesToAChart) {
    auto s = MakeOwned<TChartSeries>(nullptr);
    s->SetParentComponent(chart.get());
    EXPECT_EQ(s->GetParentChart(), chart.get());
    EXPECT_EQ(s->GetParentComponent(), chart.get());
    EXPECT_TRUE(s->HasParent());
    EXPECT_EQ(chart->FSeries.Count(), 1);
    s.reset();
    EXPECT_EQ(chart->FSeries.Count(), 0);
}

TEST_F(Series, TitleOrNameFallsBackToNameThenPosition) {
    TChartSeries* s = NewSeries();
    NewSeries();
    EXPECT_EQ(SeriesTitleOrName(s), u"Series1");
    s->SetName(u"Temp");
    EXPECT_EQ(SeriesTitleOrName(s), u"Temp");
    s->SetTitle(u"a\x06"
                u"b");
    EXPECT_EQ(SeriesTitleOrName(s), u"a b");
}

// ---------------------------------------------------------------------------

TEST(LabelsList, IsSparseAndPadsOnlyForNonEmptyLabels) {
    TLabelsList l(nullptr);
    l.InsertLabel(0, u"");
    EXPECT_EQ(l.Count(), 0);
    l.SetLabel(5, u"A");
    EXPECT_EQ(l.Count(), 6);
    EXPECT_EQ(l.GetLabel(0), u"");
    EXPECT_EQ(l.GetLabel(5), u"A");
    l.SetLabel(5, u"");
    EXPECT_EQ(l.Count(), 6);
    EXPECT_EQ(l.GetLabel(5), u"");
    EXPECT_EQ(l.GetLabel(99), u"");
    l.SetLabel(2, u"Ёж");
    EXPECT_EQ(l.IndexOfLabel(u"ёж", false), 2);
    EXPECT_EQ(l.IndexOfLabel(u"ёж", true), -1);
    EXPECT_THROW(l.DeleteLabel(6), EListError);
    EXPECT_THROW(l.Exchange(-1, 0), EListError);
}

// ---------------------------------------------------------------------------

class SeriesGroups : public Series {};

TEST_F(SeriesGroups, NamesActivityAndLookup) {
    TChartSeriesList list(chart.get());
    TSeriesGroup* g1 = list.AddGroup(u"");
    EXPECT_EQ(g1->GetName(), u"");
    auto* g2 = static_cast<TSeriesGroup*>(list.GetGroups()->Add());
    EXPECT_EQ(g2->GetName(), u"Group2");
    TChartSeries* a = NewSeries();
    TChartSeries* b = NewSeries();
    b->SetActive(false);
    g2->Add(a);
    g2->Add(b);
    EXPECT_EQ(g2->GetActive(), gaSome);
    g2->SetActive(gaSome);
    EXPECT_FALSE(b->GetActive());
    g2->Show();
    EXPECT_TRUE(b->GetActive());
    g2->Hide();
    EXPECT_FALSE(a->GetActive());
    EXPECT_FALSE(b->GetActive());
    EXPECT_EQ(list.GetGroups()->Contains(b), 1);
    EXPECT_EQ(list.GetGroups()->FindByName(u"group2", false), g2);
    EXPECT_EQ(list.GetGroups()->FindByName(u"group2", true), nullptr);
}

TEST_F(SeriesGroups, FirstGroupIsNamedGroup1) {
    TChartSeriesList list(chart.get());
    auto* g = static_cast<TSeriesGroup*>(list.GetGroups()->Add());
    EXPECT_EQ(g->GetName(), u"Group1");
}

TEST_F(SeriesGroups, AStreamCreatesTheAxisPartsAndMarksByName) {
    for (const char* name : {"TChartAxisTitle", "TChartAxis", "TChartDepthAxis", "TSeriesMarks"})
        EXPECT_NE(GetClass(name), nullptr) << name;
}

TEST_F(SeriesGroups, EnumeratorWalksInListOrder) {
    TCustomSeriesList empty;
    auto e = empty.GetEnumerator();
    EXPECT_FALSE(e.MoveNext());
    TChartSeries* a = NewSeries();
    TChartSeries* b = NewSeries();
    std::vector<TChartSeries*> seen;
    auto it = chart->FSeries.GetEnumerator();
    while (it.MoveNext()) seen.push_back(it.Current());
    EXPECT_EQ(seen, (std::vector<TChartSeries*>{a, b}));
    EXPECT_TRUE(chart->FSeries.GetAllActive());
    chart->FSeries.SetAllActive(false);
    EXPECT_FALSE(a->GetActive());
}

} // namespace
