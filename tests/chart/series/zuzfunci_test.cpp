// The basic functions against values worked out by hand: over one source's
// points and over one point of several sources of different lengths, with
// null points, empty sources and ranges past the end; "y = f(x)"; and the
// order in which the gallery lists them.
#include "chart/series/zuzfunci.h"

#include "chart/canvas/zuzconst.h"
#include "chart/engine/chart.h"
#include "chart/engine/seriestypes.h"
#include "platform/gui/forms.h"
#include "tests/chart/series/keeptypes.h"
#include "tests/support/streamtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <memory>
#include <vector>

namespace {

constexpr double Null = std::numeric_limits<double>::quiet_NaN(); // marks a null point in a row

class BasicFunctions : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InitFormsUnit();
        ZuzConstInitialization();
    }
    // Y values at X = 0, 1, 2, ...; a Null entry is a null point of value 100,
    // so a sum that wrongly takes it shows.
    TChartSeries* Source(std::initializer_list<double> Ys) {
        TChartSeries* s = Keep(Create<TChartSeries>(nullptr));
        double x = 0;
        for (double y : Ys) {
            if (std::isnan(y))
                s->AddNullXY(x, 100);
            else
                s->AddXY(x, y);
            ++x;
        }
        return s;
    }
    const TDataSourcesList& Sources(std::initializer_list<TChartSeries*> Series) {
        auto list = std::make_unique<TDataSourcesList>(nullptr);
        for (TChartSeries* s : Series) list->InheritedAdd(s);
        lists.push_back(std::move(list));
        return *lists.back();
    }
    template <class F>
    F* Function() {
        return Keep(Create<F>(nullptr));
    }
    // A function that Output owns and frees.
    template <class F>
    F* Attach(TChartSeries* Output) {
        F* f = Create<F>(nullptr);
        f->SetParentSeries(Output);
        return f;
    }
    template <class T>
    T* Keep(T* Object) {
        owned.emplace_back(Object);
        return Object;
    }
    Owned<TChart> chart; // freed after the series
    std::vector<Owned<TComponent>> owned;
    std::vector<std::unique_ptr<TDataSourcesList>> lists;
};

struct Range {
    int first, last;
    double expected;
};

// Calculate over each range of one source.
template <class F>
void ExpectRanges(F* Function, TChartSeries* Source, std::initializer_list<Range> Rows) {
    for (const Range& r : Rows)
        EXPECT_DOUBLE_EQ(Function->Calculate(Source, r.first, r.last), r.expected)
            << "range " << r.first << ".." << r.last;
}

} // namespace

// ---------------------------------------------------------------------------
// One source

TEST_F(BasicFunctions, AddSumsTheRangeCutToTheSourceAndGivesZeroForAnEmptyOne) {
    auto* f = Function<TAddZuzFunction>();
    ExpectRanges(f, Source({1, 2, 4, 8}), {{-1, -1, 15}, {1, 2, 6}, {2, 1, 0}, {2, 99, 12}, {7, 9, 0}});
    ExpectRanges(f, Source({}), {{-1, -1, 0}, {0, 3, 0}});
}

TEST_F(BasicFunctions, HighAndLowTakeTheExtremeOfTheRangeAndZeroWhenItIsEmpty) {
    TChartSeries* s = Source({-3, -7, -1, -5});
    ExpectRanges(Function<THighZuzFunction>(), s,
                 {{-1, -1, -1}, {0, 1, -3}, {3, 3, -5}, {3, 2, 0}, {1, 50, -1}});
    ExpectRanges(Function<TLowZuzFunction>(), s,
                 {{-1, -1, -7}, {2, 3, -5}, {0, 0, -3}, {3, 2, 0}, {2, 50, -5}});
}

TEST_F(BasicFunctions, AverageCountsNullsOnlyWhenAskedAndNeverDividesByZero) {
    auto* f = Function<TAverageZuzFunction>();
    TChartSeries* s = Source({2, Null, 4, 6});
    // Nulls included: the null point's stored 100 counts.
    ExpectRanges(f, s, {{-1, -1, 28}, {0, 1, 51}, {2, 3, 5}, {3, 2, 0}, {2, 40, 5}});
    f->SetIncludeNulls(false);
    ExpectRanges(f, s, {{-1, -1, 4}, {0, 1, 2}, {1, 1, 0}});
    ExpectRanges(f, Source({Null, Null}), {{-1, -1, 0}});
    f->SetIncludeNulls(true);
    ExpectRanges(f, Source({}), {{-1, -1, 0}, {0, 5, 0}});
}

TEST_F(BasicFunctions, TheMedianIsTheMiddleValueOrTheMeanOfTheTwoMiddleOnes) {
    auto* f = Function<TMedianZuzFunction>();
    ExpectRanges(f, Source({7}), {{-1, -1, 7}});
    ExpectRanges(f, Source({9, 1}), {{-1, -1, 5}});
    ExpectRanges(f, Source({5, 1, 3}), {{-1, -1, 3}});
    ExpectRanges(f, Source({4, 1, 3, 2}), {{-1, -1, 2.5}});
    ExpectRanges(f, Source({50, 10, 40, 20, 30}), {{-1, -1, 30}, {1, 3, 20}, {0, 1, 30}, {3, 2, 0}});
    ExpectRanges(f, Source({}), {{-1, -1, 0}});
    // Last -1 alone means the last point.
    ExpectRanges(f, Source({1, 2, 6, 9}), {{1, -1, 6}});
}

TEST_F(BasicFunctions, SortedFunctionsLeaveNullsOutOfTheCountWhenAsked) {
    TChartSeries* s = Source({1, Null, 3, 8});
    auto* median = Function<TMedianZuzFunction>();
    ExpectRanges(median, s, {{-1, -1, 5.5}}); // 1 3 8 100
    median->SetIncludeNulls(false);
    ExpectRanges(median, s, {{-1, -1, 3}, {1, 1, 0}}); // 1 3 8
    auto* mode = Function<TModeZuzFunction>();
    mode->SetIncludeNulls(false);
    ExpectRanges(mode, Source({Null, Null, 4}), {{-1, -1, 4}});
}

TEST_F(BasicFunctions, TheModeIsTheLongestRunAndTheSmallestOfEqualRuns) {
    auto* f = Function<TModeZuzFunction>();
    ExpectRanges(f, Source({1, 2, 2, 3, 3}), {{-1, -1, 2}});
    ExpectRanges(f, Source({3, 1, 3, 2, 3, 1}), {{-1, -1, 3}});
    ExpectRanges(f, Source({6}), {{-1, -1, 6}});
    ExpectRanges(f, Source({9, 8, 7}), {{-1, -1, 7}});
    ExpectRanges(f, Source({}), {{-1, -1, 0}});
}

// ---------------------------------------------------------------------------
// Several sources of different lengths

TEST_F(BasicFunctions, ManySourcesTakeOnlyTheSourcesThatHaveThePoint) {
    TChartSeries* a = Source({10, 20});
    TChartSeries* b = Source({2});
    TChartSeries* c = Source({5, 4, 3});
    const TDataSourcesList& all = Sources({a, b, c});
    struct Row {
        const char* rule;
        TZuzFunction* function;
        int index;
        double expected;
    };
    const Row rows[] = {
        {"AddSumsEverySource", Function<TAddZuzFunction>(), 0, 17},
        {"AddSkipsTheShortSource", Function<TAddZuzFunction>(), 1, 24},
        {"SubtractTakesTheFirstValueThenSubtracts", Function<TSubtractZuzFunction>(), 0, 3},
        {"SubtractStartsFromTheFirstSourceThatHasThePoint", Function<TSubtractZuzFunction>(), 2, 3},
        {"MultiplyMultipliesThePresentValues", Function<TMultiplyZuzFunction>(), 1, 80},
        {"DivideDividesInListOrder", Function<TDivideZuzFunction>(), 0, 1},
        {"AverageOfThePresentValues", Function<TAverageZuzFunction>(), 1, 12},
        {"MedianOfThreeIsTheMiddle", Function<TMedianZuzFunction>(), 0, 5},
        {"MedianOfTwoIsTheirMean", Function<TMedianZuzFunction>(), 1, 12},
        {"ModeOfOneIsThatValue", Function<TModeZuzFunction>(), 2, 3},
        {"HighOfThePresentValues", Function<THighZuzFunction>(), 1, 20},
        {"LowOfThePresentValues", Function<TLowZuzFunction>(), 0, 2},
    };
    for (const Row& r : rows) EXPECT_DOUBLE_EQ(r.function->CalculateMany(all, r.index), r.expected) << r.rule;

    // Past every source, before the first point, or with no source: nothing is taken.
    for (TZuzFunction* f : {static_cast<TZuzFunction*>(Function<TAddZuzFunction>()),
                            static_cast<TZuzFunction*>(Function<TSubtractZuzFunction>()),
                            static_cast<TZuzFunction*>(Function<THighZuzFunction>()),
                            static_cast<TZuzFunction*>(Function<TLowZuzFunction>()),
                            static_cast<TZuzFunction*>(Function<TAverageZuzFunction>()),
                            static_cast<TZuzFunction*>(Function<TMedianZuzFunction>()),
                            static_cast<TZuzFunction*>(Function<TModeZuzFunction>())}) {
        EXPECT_EQ(f->CalculateMany(all, 3), 0) << f->ClassType().name;
        EXPECT_EQ(f->CalculateMany(all, -1), 0) << f->ClassType().name;
        EXPECT_EQ(f->CalculateMany(Sources({}), 0), 0) << f->ClassType().name;
    }
}

TEST_F(BasicFunctions, DivisionByAZeroValueLeavesTheRunningResult) {
    const TDataSourcesList& list = Sources({Source({40}), Source({0}), Source({4})});
    EXPECT_DOUBLE_EQ(Function<TDivideZuzFunction>()->CalculateMany(list, 0), 10);
    EXPECT_DOUBLE_EQ(Function<TDivideZuzFunction>()->CalculateMany(Sources({Source({0}), Source({5})}), 0),
                     0);
}

// A source without the point must not seed the extreme with 0, a value
// that is in none of the sources.
TEST_F(BasicFunctions, HighAndLowStartFromTheFirstValueTakenNotFromZero) {
    const TDataSourcesList& negatives = Sources({Source({}), Source({-5}), Source({-3})});
    EXPECT_DOUBLE_EQ(Function<THighZuzFunction>()->CalculateMany(negatives, 0), -3);
    EXPECT_DOUBLE_EQ(Function<TLowZuzFunction>()->CalculateMany(negatives, 0), -5);
    const TDataSourcesList& positives = Sources({Source({}), Source({5}), Source({3})});
    EXPECT_DOUBLE_EQ(Function<THighZuzFunction>()->CalculateMany(positives, 0), 5);
    EXPECT_DOUBLE_EQ(Function<TLowZuzFunction>()->CalculateMany(positives, 0), 3);
}

TEST_F(BasicFunctions, AverageAndMedianAcrossSourcesSkipNullPointsWhenAsked) {
    const TDataSourcesList& list = Sources({Source({2}), Source({Null}), Source({6}), Source({7})});
    auto* average = Function<TAverageZuzFunction>();
    EXPECT_DOUBLE_EQ(average->CalculateMany(list, 0), 28.75); // 2 100 6 7
    average->SetIncludeNulls(false);
    EXPECT_DOUBLE_EQ(average->CalculateMany(list, 0), 5);
    EXPECT_EQ(average->CalculateMany(Sources({Source({Null})}), 0), 0);
    auto* median = Function<TMedianZuzFunction>();
    EXPECT_DOUBLE_EQ(median->CalculateMany(list, 0), 6.5); // 2 6 7 100
    median->SetIncludeNulls(false);
    EXPECT_DOUBLE_EQ(median->CalculateMany(list, 0), 6); // 2 6 7
}

// ---------------------------------------------------------------------------
// Through the output series

TEST_F(BasicFunctions, ChangingIncludeNullsRecalculatesTheOutput) {
    // A chart checks the output's sources.
    chart.reset(Create<TChart>(nullptr));
    TChartSeries* src = Source({2, Null, 4});
    src->SetManualData(true);
    TChartSeries* out = Source({});
    chart->AddSeries(src);
    chart->AddSeries(out);
    auto* f = Attach<TAverageZuzFunction>(out);
    out->SetDataSource(src);
    ASSERT_EQ(out->Count(), 1);
    EXPECT_DOUBLE_EQ(out->YValue(0), 106.0 / 3);
    f->SetIncludeNulls(false);
    ASSERT_EQ(out->Count(), 1);
    EXPECT_DOUBLE_EQ(out->YValue(0), 3);
}

TEST_F(BasicFunctions, ACloneOfAnAverageSeriesDrawsTheSameLine) {
    chart.reset(Create<TChart>(nullptr));
    TChartSeries* src = Source({2, Null, 4, 6, 8});
    src->SetManualData(true);
    chart->AddSeries(src);
    TChartSeries* out = CreateNewSeries(nullptr, chart.get(), &TChartSeries::StaticClass(),
                                        &TAverageZuzFunction::StaticClass());
    auto* f = static_cast<TAverageZuzFunction*>(out->GetFunction());
    f->SetPeriod(2);
    f->SetIncludeNulls(false);
    out->SetDataSource(src);
    ASSERT_EQ(out->Count(), 2);
    TChartSeries* clone = CloneChartSeries(out);
    ASSERT_EQ(clone->Count(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(clone->XValue(i), out->XValue(i));
        EXPECT_EQ(clone->YValue(i), out->YValue(i));
    }
    EXPECT_EQ(clone->YValue(0), 2) << "the null point is still left out";
}

TEST_F(BasicFunctions, YOfXAddsNumPointsFromStartXAPeriodApart) {
    TChartSeries* out = Source({});
    auto* f = Attach<TCustomZuzFunction>(out);
    EXPECT_EQ(f->GetPeriod(), 1.0);
    EXPECT_EQ(f->GetNumPoints(), 100);
    EXPECT_TRUE(f->NoSourceRequired);
    f->SetNumPoints(4);
    f->SetStartX(2);
    f->SetPeriod(0.5);
    std::vector<double> seen;
    f->OnCalculate = TCalculateEvent([&](TObject* Sender, double X, double& Y) {
        seen.push_back(static_cast<TCustomZuzFunction*>(Sender)->GetX());
        Y = X * X;
    });
    out->AddXY(100, 100); // cleared first
    f->AddPoints(nullptr);
    EXPECT_EQ(seen, (std::vector<double>{2, 2.5, 3, 3.5}));
    ASSERT_EQ(out->Count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(out->XValue(i), 2 + 0.5 * i);
        EXPECT_DOUBLE_EQ(out->YValue(i), (2 + 0.5 * i) * (2 + 0.5 * i));
    }
}

TEST_F(BasicFunctions, YOfXOnAHorizontalSeriesPutsTheResultOnX) {
    TChartSeries* out = Source({});
    out->SetHorizontal();
    auto* f = Attach<TCustomZuzFunction>(out);
    f->SetNumPoints(2);
    f->OnCalculate = TCalculateEvent([](TObject*, double X, double& Y) { Y = 10 + X; });
    f->AddPoints(nullptr);
    ASSERT_EQ(out->Count(), 2);
    EXPECT_DOUBLE_EQ(out->XValue(0), 10);
    EXPECT_DOUBLE_EQ(out->YValue(0), 0);
    EXPECT_DOUBLE_EQ(out->XValue(1), 11);
    EXPECT_DOUBLE_EQ(out->YValue(1), 1);
}

TEST_F(BasicFunctions, YOfXWithoutAHandlerAddsNothingAndKeepsTheOutput) {
    TChartSeries* out = Source({1, 2});
    auto* f = Attach<TCustomZuzFunction>(out);
    f->AddPoints(nullptr);
    EXPECT_EQ(out->Count(), 2);
}

TEST_F(BasicFunctions, SettingsStreamOnlyWhenTheyDifferFromTheDefaultsAndAreCopied) {
    auto* average = Function<TAverageZuzFunction>();
    auto* custom = Function<TCustomZuzFunction>();
    auto* median = Function<TMedianZuzFunction>();
    average->SetName(u"Average1");
    custom->SetName(u"Custom1");
    median->SetName(u"Median1");
    for (TComponent* c : {static_cast<TComponent*>(average), static_cast<TComponent*>(median)})
        EXPECT_EQ(streamtext::ObjectText(c).find("IncludeNulls"), std::string::npos);
    EXPECT_EQ(streamtext::ObjectText(custom).find("NumPoints"), std::string::npos);
    average->SetIncludeNulls(false);
    median->SetIncludeNulls(false);
    custom->SetNumPoints(7);
    custom->SetStartX(2.5);
    auto* average2 = Function<TAverageZuzFunction>();
    auto* median2 = Function<TMedianZuzFunction>();
    auto* custom2 = Function<TCustomZuzFunction>();
    streamtext::ReadText(streamtext::ObjectText(average), average2);
    streamtext::ReadText(streamtext::ObjectText(median), median2);
    streamtext::ReadText(streamtext::ObjectText(custom), custom2);
    EXPECT_FALSE(average2->GetIncludeNulls());
    EXPECT_FALSE(median2->GetIncludeNulls());
    EXPECT_EQ(custom2->GetNumPoints(), 7);
    EXPECT_EQ(custom2->GetStartX(), 2.5);
    EXPECT_EQ(custom2->GetPeriod(), 1.0);
    // Copying takes them too.
    auto* average3 = Function<TAverageZuzFunction>();
    auto* median3 = Function<TMedianZuzFunction>();
    auto* custom4 = Function<TCustomZuzFunction>();
    average3->Assign(average);
    median3->Assign(median);
    custom4->Assign(custom);
    EXPECT_FALSE(average3->GetIncludeNulls());
    EXPECT_FALSE(median3->GetIncludeNulls());
    EXPECT_EQ(custom4->GetNumPoints(), 7);
    EXPECT_EQ(custom4->GetStartX(), 2.5);
    custom->SetPeriod(0); // the base's default, not the one this function starts with
    auto* custom3 = Function<TCustomZuzFunction>();
    streamtext::ReadText(streamtext::ObjectText(custom), custom3);
    EXPECT_EQ(custom3->GetPeriod(), 0.0);
}

// ---------------------------------------------------------------------------
// The gallery

TEST_F(BasicFunctions, TheTenFunctionsAreRegisteredInOrderOnTheStandardPage) {
    const KeepTypes keep;
    ZuzFunciFinalization(); // the chart's units may have started them already
    const int before = ZuzSeriesTypes().Count();
    ZuzFunciInitialization();
    const struct {
        const ClassInfo* cls;
        const char* description;
    } expected[] = {
        {&TAddZuzFunction::StaticClass(), "Add"},
        {&TSubtractZuzFunction::StaticClass(), "Subtract"},
        {&TMultiplyZuzFunction::StaticClass(), "Multiply"},
        {&TDivideZuzFunction::StaticClass(), "Divide"},
        {&THighZuzFunction::StaticClass(), "High"},
        {&TLowZuzFunction::StaticClass(), "Low"},
        {&TAverageZuzFunction::StaticClass(), "Average"},
        {&TCustomZuzFunction::StaticClass(), "y = f(x)"},
        {&TMedianZuzFunction::StaticClass(), "Median"},
        {&TModeZuzFunction::StaticClass(), "Mode"},
    };
    ASSERT_EQ(ZuzSeriesTypes().Count(), before + 10);
    for (int i = 0; i < 10; ++i) {
        const TZuzSeriesType* t = ZuzSeriesTypes().Get(before + i);
        EXPECT_EQ(t->FunctionClass, expected[i].cls) << i;
        EXPECT_EQ(t->SeriesClass, nullptr);
        EXPECT_EQ(UTF8Encode(t->GetDescription()), expected[i].description);
        EXPECT_EQ(t->GetGalleryPage(), VavIve_GalleryStandard);
        EXPECT_EQ(t->NumGallerySeries, 2);
        EXPECT_EQ(GetClass(expected[i].cls->name), expected[i].cls) << "streams by class name";
    }
    // The descriptions are the message texts themselves, so a change of language shows.
    const String saved = VavIve_FunctionMedian;
    VavIve_FunctionMedian = u"Медиана";
    EXPECT_EQ(ZuzSeriesTypes().Get(before + 8)->GetDescription(), u"Медиана");
    VavIve_FunctionMedian = saved;
    ZuzFunciFinalization();
    EXPECT_EQ(ZuzSeriesTypes().Count(), before);
}
