// The type registries (order, repeats, variants, descriptions), the free
// functions that name, create, clone and change series, and the palettes.
#include "chart/canvas/zuzconst.h"
#include "chart/engine/colorpalettes.h"
#include "chart/engine/seriestypes.h"
#include "chart/engine/zuzfunction.h"
#include "fakechart.h"
#include "tests/support/testclass.h"

#include <gtest/gtest.h>

namespace {

class TLineLike : public testsupport::TTestClass<TLineLike, TChartSeries, "TLineLike"> {
public:
    using TTestClass::TTestClass;
};

class TBarLike : public testsupport::TTestClass<TBarLike, TChartSeries, "TBarLike"> {
public:
    using TTestClass::TTestClass;
};

class TAverageLike : public testsupport::TTestClass<TAverageLike, TZuzFunction, "TAverageLike"> {
public:
    using TTestClass::TTestClass;
};

class TMarkerTool : public testsupport::TTestClass<TMarkerTool, TZuzCustomToolSeries, "TMarkerTool"> {
public:
    using TTestClass::TTestClass;
};

class Registries : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartEngineUnits(); }
    void SetUp() override {
        ZuzSeriesTypes().Clear();
        ZuzToolTypes().Clear();
        chart = MakeOwned<TFakeChart>(nullptr);
    }
    void TearDown() override {
        ZuzSeriesTypes().Clear();
        ZuzToolTypes().Clear();
    }
    Owned<TFakeChart> chart;
};

TEST_F(Registries, EntriesKeepRegistrationOrderAndRepeatsAreKeptOnce) {
    EXPECT_EQ(RegisterZuzSeries(&TLineLike::StaticClass(), &VavIve_GalleryLine), 0);
    EXPECT_EQ(RegisterZuzSeries(&TBarLike::StaticClass(), &VavIve_GalleryBar, &VavIve_GalleryExtended, 3), 1);
    EXPECT_EQ(RegisterZuzSeries(&TLineLike::StaticClass(), &VavIve_GalleryLine), 0);
    EXPECT_EQ(RegisterZuzSeriesFunction(&TLineLike::StaticClass(), nullptr, &VavIve_GalleryLine,
                                        &VavIve_GalleryStandard, 2, 1),
              2);
    ASSERT_EQ(ZuzSeriesTypes().Count(), 3);
    const TZuzSeriesType* line = ZuzSeriesTypes()[0];
    EXPECT_EQ(line->GetDescription(), u"Line");
    EXPECT_EQ(line->GetGalleryPage(), VavIve_GalleryStandard);
    EXPECT_EQ(line->NumGallerySeries, 2);
    const TZuzSeriesType* bar = ZuzSeriesTypes()[1];
    EXPECT_EQ(bar->GetGalleryPage(), VavIve_GalleryExtended);
    EXPECT_EQ(bar->NumGallerySeries, 3);
    EXPECT_EQ(ZuzSeriesTypes()[2]->SubIndex, 1);
    // Registered types can be read from streams by name.
    EXPECT_EQ(&FindClass("TBarLike"), &TBarLike::StaticClass());
}

TEST_F(Registries, FindSkipsFunctionEntries) {
    RegisterZuzSeriesFunction(&TLineLike::StaticClass(), &TAverageLike::StaticClass(), &VavIve_GalleryLine,
                              &VavIve_GalleryFunctions, 2, 0);
    EXPECT_EQ(ZuzSeriesTypes().Find(&TLineLike::StaticClass()), nullptr);
    RegisterZuzSeries(&TLineLike::StaticClass(), &VavIve_GalleryLine);
    EXPECT_EQ(ZuzSeriesTypes().Find(&TLineLike::StaticClass()), ZuzSeriesTypes()[1]);
}

TEST_F(Registries, BasicFunctionsGoOnTheStandardPageAndUnregisterByClass) {
    RegisterZuzBasicFunction(&TAverageLike::StaticClass(), &VavIve_GalleryFunctions);
    RegisterZuzSeries(&TLineLike::StaticClass(), &VavIve_GalleryLine);
    RegisterZuzSeries(&TBarLike::StaticClass(), &VavIve_GalleryBar);
    EXPECT_EQ(ZuzSeriesTypes()[0]->SeriesClass, nullptr);
    EXPECT_EQ(ZuzSeriesTypes()[0]->GetGalleryPage(), VavIve_GalleryStandard);
    UnRegisterZuzFunctions({&TAverageLike::StaticClass()});
    UnRegisterZuzSeries({&TLineLike::StaticClass()});
    ASSERT_EQ(ZuzSeriesTypes().Count(), 1);
    EXPECT_EQ(ZuzSeriesTypes()[0]->SeriesClass, &TBarLike::StaticClass());
}

TEST_F(Registries, ToolClassesAreListedOnce) {
    RegisterZuzTools({&TMarkerTool::StaticClass(), &TMarkerTool::StaticClass()});
    EXPECT_EQ(ZuzToolTypes().Count(), 1);
    EXPECT_EQ(&FindClass("TMarkerTool"), &TMarkerTool::StaticClass());
    UnRegisterZuzTools({&TMarkerTool::StaticClass()});
    EXPECT_EQ(ZuzToolTypes().Count(), 0);
}

TEST_F(Registries, NewSeriesNamesTakeTheFirstFreeNumber) {
    EXPECT_EQ(GetNewSeriesName(nullptr), u"Series1");
    Create<TChartSeries>(chart.get())->SetName(u"Series1");
    Create<TChartSeries>(chart.get())->SetName(u"Series3");
    EXPECT_EQ(GetNewSeriesName(chart.get()), u"Series2");
}

TEST_F(Registries, CreateNewSeriesNamesJoinsAndAttachesItsFunction) {
    TChartSeries* s =
        CreateNewSeries(nullptr, chart.get(), &TLineLike::StaticClass(), &TAverageLike::StaticClass());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->ClassName(), u"TLineLike");
    EXPECT_EQ(s->GetOwner(), chart.get());
    EXPECT_EQ(s->GetName(), u"Series1");
    EXPECT_EQ(chart->SeriesIndexOf(s), 0);
    ASSERT_NE(s->GetFunction(), nullptr);
    EXPECT_EQ(s->GetFunction()->ClassName(), u"TAverageLike");
    EXPECT_EQ(s->GetFunction()->GetName(), u"ZuzFunction1");
}

TEST_F(Registries, CloneChartSeriesCopiesClassFunctionItsSettingsAndPoints) {
    TChartSeries* s = CreateNewSeries(nullptr, chart.get(), &TLineLike::StaticClass());
    s->SetManualData(true);
    s->AddXY(1, 10, u"a");
    s->AddXY(2, 20);
    s->SetTitle(u"Температура");
    TChartSeries* c = CloneChartSeries(s);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->ClassName(), u"TLineLike");
    EXPECT_EQ(c->GetName(), u"Series2");
    EXPECT_EQ(c->Count(), 2);
    EXPECT_EQ(c->GetXLabel(0), u"a");
    EXPECT_EQ(c->GetTitle(), u"Температура");
    // A calculated series' clone has a function of its own, with the same settings.
    TChartSeries* calculated =
        CreateNewSeries(nullptr, chart.get(), &TLineLike::StaticClass(), &TAverageLike::StaticClass());
    calculated->GetFunction()->SetPeriod(2);
    calculated->GetFunction()->SetPeriodStyle(psRange);
    TChartSeries* d = CloneChartSeries(calculated);
    ASSERT_NE(d->GetFunction(), nullptr);
    EXPECT_NE(d->GetFunction(), calculated->GetFunction());
    EXPECT_EQ(d->GetFunction()->GetPeriod(), 2);
    EXPECT_EQ(d->GetFunction()->GetPeriodStyle(), psRange);
}

TEST_F(Registries, CloneChartToolIsNamedAndAssigned) {
    auto* tool = Create<TMarkerTool>(chart.get());
    TChartSeries* s = CreateNewSeries(nullptr, chart.get(), &TLineLike::StaticClass());
    tool->SetSeries(s);
    TZuzCustomTool* c = CloneChartTool(tool, chart.get());
    EXPECT_EQ(c->ClassName(), u"TMarkerTool");
    EXPECT_EQ(c->GetName(), u"ChartTool1");
    EXPECT_EQ(dynamic_cast<TMarkerTool*>(c)->GetSeries(), s);
}

TEST_F(Registries, ChangingTheTypeKeepsPlaceNamePointsEventsDependentsAndTools) {
    TChartSeries* first = CreateNewSeries(nullptr, chart.get(), &TLineLike::StaticClass());
    TChartSeries* s = CreateNewSeries(nullptr, chart.get(), &TLineLike::StaticClass());
    TChartSeries* last = CreateNewSeries(nullptr, chart.get(), &TLineLike::StaticClass());
    s->SetManualData(true);
    s->AddXY(1, 5);
    s->AddXY(2, 6);
    int clicks = 0;
    s->OnClick.Bind([&](TChartSeries*, int, TMouseButton, TShiftState, int, int) { ++clicks; });
    TChartSeries* dependent = CreateNewSeries(nullptr, chart.get(), &TLineLike::StaticClass());
    dependent->SetDataSource(s);
    auto* tool = Create<TMarkerTool>(chart.get());
    chart->Tools.Add(tool);
    tool->SetSeries(s);

    TChartSeries* same = s;
    ChangeSeriesType(same, &TLineLike::StaticClass());
    EXPECT_EQ(same, s);

    TChartSeries* changed = s;
    ChangeSeriesType(changed, &TBarLike::StaticClass());
    ASSERT_NE(changed, s);
    EXPECT_EQ(changed->ClassName(), u"TBarLike");
    EXPECT_EQ(changed->GetName(), u"Series2");
    EXPECT_EQ(chart->SeriesIndexOf(first), 0);
    EXPECT_EQ(chart->SeriesIndexOf(changed), 1);
    EXPECT_EQ(chart->SeriesIndexOf(last), 2);
    EXPECT_EQ(changed->Count(), 2);
    changed->OnClick(changed, 0, mbLeft, {}, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(dependent->GetDataSource(), changed);
    EXPECT_TRUE(changed->LinkedSeries()->Contains(dependent));
    EXPECT_EQ(tool->GetSeries(), changed);
    // The dependent follows the new series's points.
    changed->AddXY(3, 7);
    EXPECT_EQ(dependent->Count(), 3);
}

TEST_F(Registries, TheGalleryNameIsTheDescriptionOrTheClassName) {
    TChartSeries* s = CreateNewSeries(nullptr, chart.get(), &TLineLike::StaticClass());
    EXPECT_EQ(GetGallerySeriesName(s), u"TLineLike");
    RegisterZuzSeries(&TLineLike::StaticClass(), &VavIve_GalleryLine);
    EXPECT_EQ(GetGallerySeriesName(s), VavIve_GalleryLine);
}

// ---------------------------------------------------------------------------
// Palettes

TEST(Palettes, TablesHoldTheirColoursInOrder) {
    const std::vector<std::pair<int, std::size_t>> lengths{{1, 22},  {2, 11},  {3, 14},  {4, 8},  {5, 12},
                                                           {6, 9},   {7, 14},  {8, 25},  {9, 13}, {10, 16},
                                                           {11, 15}, {12, 15}, {13, 12}, {14, 8}, {15, 8}};
    for (auto [index, n] : lengths) EXPECT_EQ(PaletteColors(index).size(), n) << "palette " << index;
    EXPECT_TRUE(PaletteColors(0).empty());
    EXPECT_TRUE(PaletteColors(16).empty());
    EXPECT_TRUE(PaletteColors(-1).empty());
    // First and last of a few, in the 0x00BBGGRR layout.
    EXPECT_EQ(ExcelPalette().front(), static_cast<TColor>(0xFF9999));
    EXPECT_EQ(ExcelPalette().back(), static_cast<TColor>(0xCC99FF));
    EXPECT_EQ(RainbowPalette()[12], static_cast<TColor>(0x25CD83));
    EXPECT_EQ(MacOSPalette().back(), clBlack);
    EXPECT_EQ(GrayScalePalette()[7], clGray);
    EXPECT_EQ(CoolPalette().back(), static_cast<TColor>(0x637B1D));
    // The duplicates stand as listed.
    EXPECT_EQ(ExcelPalette()[3], ExcelPalette()[17]);
    EXPECT_EQ(PastelsPalette()[2], PastelsPalette()[9]);
}

TEST(Palettes, NamesAreListedInPaletteOrder) {
    StartEngineUnits();
    ZuzSeriesTypesInitialization();
    ASSERT_NE(ColorPalettes, nullptr);
    ASSERT_EQ(ColorPalettes->GetCount(), 16);
    EXPECT_EQ((*ColorPalettes)[0], u"VedIrure");
    EXPECT_EQ((*ColorPalettes)[9], u"Win. XP");
    EXPECT_EQ((*ColorPalettes)[15], u"Cool");
    TStringList items;
    ColorPalettes->AddTo(&items, true);
    ASSERT_EQ(items.GetCount(), 17);
    EXPECT_EQ(items[0], VavIve_Default);
    EXPECT_EQ(items[14], u"Opera");
    EXPECT_EQ(PaletteIndexOf(items.GetObjects(14)), 13);
}

TEST(Palettes, ApplyingGivesTheChartTheColoursAndRemembersTheNumberAsGiven) {
    StartEngineUnits();
    auto chart = MakeOwned<TFakeChart>(nullptr);
    TColorPalettes::ApplyPalette(chart.get(), 13);
    ASSERT_EQ(chart->Palette.size(), 12u);
    EXPECT_EQ(chart->Palette[0], static_cast<TColor>(0xA36644));
    EXPECT_EQ(chart->Palette[1], static_cast<TColor>(0x359CF3));
    EXPECT_EQ(chart->PaletteIndex, 13);
    EXPECT_EQ(chart->PaletteChanges, 1);
    const int repaints = chart->Repaints;
    for (int index : {16, -1, 0}) {
        TColorPalettes::ApplyPalette(chart.get(), index);
        EXPECT_TRUE(chart->Palette.empty());
        EXPECT_EQ(chart->PaletteIndex, index);
    }
    EXPECT_EQ(chart->Repaints, repaints + 3);
}

TEST(Palettes, TheBaseThemeHasTheDefaultDescription) {
    StartEngineUnits();
    auto chart = MakeOwned<TFakeChart>(nullptr);
    TChartTheme theme(chart.get());
    theme.Apply(); // no axes: nothing to visit
    EXPECT_EQ(theme.Description(), VavIve_ThemeDefault);
}

} // namespace
