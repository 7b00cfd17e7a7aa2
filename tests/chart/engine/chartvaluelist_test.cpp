// Value lists: the ordered insert, growth, lazy statistics and the list operations.
#include "chart/engine/chartseries.h"
#include "fakechart.h"

#include <gtest/gtest.h>

namespace {

std::vector<double> Values(const TChartValueList& L) {
    return {L.Values().begin(), L.Values().end()};
}

class ValueList : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartEngineUnits(); }
    Owned<TChartValueList> NewList(TChartListOrder Order) {
        Owned<TChartValueList> l(Create<TChartValueList>(nullptr, u"X"));
        l->SetOrder(Order);
        return l;
    }
};

TEST_F(ValueList, AscendingInsertPlacesEqualValuesAfterExistingOnes) {
    auto l = NewList(loAscending);
    EXPECT_EQ(l->AddChartValue(1), 0);
    EXPECT_EQ(l->AddChartValue(3), 1);
    EXPECT_EQ(l->AddChartValue(2), 1);
    EXPECT_EQ(l->AddChartValue(2), 2);
    EXPECT_EQ(Values(*l), (std::vector<double>{1, 2, 2, 3}));
    EXPECT_EQ(l->AddChartValue(0), 0);
}

TEST_F(ValueList, DescendingInsertPlacesEqualValuesAfterExistingOnes) {
    auto l = NewList(loDescending);
    l->AddChartValue(3);
    l->AddChartValue(1);
    EXPECT_EQ(Values(*l), (std::vector<double>{3, 1}));
    EXPECT_EQ(l->AddChartValue(3), 1);
    EXPECT_EQ(l->AddChartValue(5), 0);
}

TEST_F(ValueList, UnorderedListAppends) {
    auto l = NewList(loNone);
    l->AddChartValue(3);
    EXPECT_EQ(l->AddChartValue(1), 1);
}

TEST_F(ValueList, StorageGrowsWhenFullFirstAtTheThousandAndFirstValue) {
    auto l = NewList(loNone);
    for (int t = 0; t < 1000; ++t) l->AddChartValue(t);
    EXPECT_EQ(l->Capacity(), 1000);
    l->AddChartValue(1000);
    EXPECT_EQ(l->Capacity(), 2000);
    l->Delete(0, 500);
    EXPECT_EQ(l->Capacity(), 2000);
    l->ClearValues();
    EXPECT_EQ(l->Capacity(), 0);
}

TEST_F(ValueList, StatisticsAreZeroOnAnEmptyListAndRecomputedAfterChanges) {
    auto l = NewList(loNone);
    EXPECT_EQ(l->GetMaxValue(), 0);
    EXPECT_EQ(l->GetMinValue(), 0);
    EXPECT_EQ(l->GetTotal(), 0);
    EXPECT_EQ(l->GetTotalABS(), 0);
    EXPECT_EQ(l->Range(), 0);
    l->AddChartValue(-5);
    l->AddChartValue(3);
    EXPECT_TRUE(l->StatsStale());
    EXPECT_EQ(l->GetMinValue(), -5);
    EXPECT_EQ(l->GetMaxValue(), 3);
    EXPECT_EQ(l->GetTotal(), -2);
    EXPECT_EQ(l->GetTotalABS(), 8);
    EXPECT_EQ(l->Range(), 8);
    EXPECT_FALSE(l->StatsStale());
    l->AddChartValue(10);
    EXPECT_EQ(l->GetMaxValue(), 10);
    l->Delete(2);
    EXPECT_EQ(l->GetMaxValue(), 3);
}

TEST_F(ValueList, LocateFindsTheLowestExactMatch) {
    auto l = NewList(loNone);
    for (double v : {4.0, 2.0, 4.0}) l->AddChartValue(v);
    EXPECT_EQ(l->Locate(4), 0);
    EXPECT_EQ(l->Locate(4, 1, 2), 2);
    EXPECT_EQ(l->Locate(7), -1);
    EXPECT_EQ(l->Locate(4, 2, 1), -1);
    EXPECT_EQ(l->Locate(4, 1, 99), 2); // a range past the end is cut
}

TEST_F(ValueList, ScrollRotatesAndDeleteMovesTheTail) {
    auto l = NewList(loNone);
    for (double v : {1.0, 2.0, 3.0}) l->AddChartValue(v);
    l->Scroll();
    EXPECT_EQ(Values(*l), (std::vector<double>{2, 3, 1}));
    auto one = NewList(loNone);
    one->AddChartValue(7);
    one->Scroll();
    EXPECT_EQ(Values(*one), (std::vector<double>{7}));

    auto d = NewList(loNone);
    for (double v : {1.0, 2.0, 3.0}) d->AddChartValue(v);
    d->Delete(1);
    EXPECT_EQ(Values(*d), (std::vector<double>{1, 3}));
    auto r = NewList(loNone);
    for (double v : {1.0, 2.0, 3.0}) r->AddChartValue(v);
    r->Delete(0, 2);
    EXPECT_EQ(Values(*r), (std::vector<double>{3}));
}

TEST_F(ValueList, RangeDeleteCutsAQuantityPastTheEnd) {
    auto l = NewList(loNone);
    for (double v : {1.0, 2.0, 3.0}) l->AddChartValue(v);
    l->Delete(1, 100);
    EXPECT_EQ(Values(*l), (std::vector<double>{1}));
    l->Delete(5, 1); // a start past the end changes nothing
    EXPECT_EQ(l->Count(), 1);
}

TEST_F(ValueList, IndexesOutsideTheListRaiseInsteadOfTouchingMemory) {
    auto l = NewList(loNone);
    l->AddChartValue(1);
    EXPECT_THROW(l->GetValue(1), ChartException);
    EXPECT_THROW(l->GetValue(-1), ChartException);
    EXPECT_THROW(l->Delete(1), ChartException);
    EXPECT_THROW(l->InsertChartValue(3, 0), ChartException);
    EXPECT_THROW(l->Exchange(0, 1), ChartException);
    EXPECT_EQ(Values(*l), (std::vector<double>{1}));
}

TEST_F(ValueList, AssignCopiesSettingsButNotNameOrValues) {
    auto a = NewList(loDescending);
    a->SetDateTime(true);
    a->SetValueSource(u"Col");
    a->AddChartValue(1);
    Owned<TChartValueList> b(Create<TChartValueList>(nullptr, u"Y"));
    b->Assign(a.get());
    EXPECT_EQ(b->GetOrder(), loDescending);
    EXPECT_TRUE(b->GetDateTime());
    EXPECT_EQ(b->GetValueSource(), u"Col");
    EXPECT_EQ(b->GetName(), u"Y");
    EXPECT_EQ(b->Count(), 0);
}

TEST_F(ValueList, ValueToStringUsesTheGeneralFormatOfTheLocale) {
    auto l = NewList(loNone);
    l->AddChartValue(123.5);
    const TFormatSettings keep = FormatSettings;
    FormatSettings = TFormatSettings();
    FormatSettings.DecimalSeparator = u'.';
    EXPECT_EQ(l->ValueToString(0), u"123.5");
    FormatSettings = RussianFormatSettings();
    EXPECT_EQ(l->ValueToString(0), u"123,5");
    FormatSettings = keep;
}

TEST_F(ValueList, SortMovesWholePointsOfTheSeries) {
    auto s = MakeOwned<TChartSeries>(nullptr);
    s->GetXValues()->SetOrder(loNone);
    s->AddXY(3, 30, u"c");
    s->AddXY(1, 10, u"a");
    s->AddXY(2, 20, u"b", clRed);
    s->GetXValues()->SetOrder(loAscending);
    s->GetXValues()->Sort();
    EXPECT_EQ(Values(*s->GetYValues()), (std::vector<double>{10, 20, 30}));
    EXPECT_EQ(s->GetXLabel(0), u"a");
    EXPECT_EQ(s->OwnColor(1), clRed);
    // A descending list sorts the other way round.
    s->GetXValues()->SetOrder(loDescending);
    s->GetXValues()->Sort();
    EXPECT_EQ(Values(*s->GetYValues()), (std::vector<double>{30, 20, 10}));
    EXPECT_EQ(s->GetXLabel(0), u"c");
    EXPECT_EQ(s->OwnColor(1), clRed);
}

} // namespace
