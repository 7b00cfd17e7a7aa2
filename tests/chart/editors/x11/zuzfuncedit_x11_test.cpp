// The function page of a series in the chart editor as the X server under a window manager shows
// it, by keys and clicks: options typed and then a source moved are applied together, and another
// function chosen leaves Apply on.
#include "chart/editors/zuzeditcha.h"

#include "chart/editors/zuzediperi.h"
#include "chart/editors/zuzediseri.h"
#include "chart/editors/zuzfuncedit.h"
#include "chart/editors/zuzselectlist.h"
#include "chart/engine/seriestypes.h"
#include "chart/engine/zuzfunction.h"
#include "chart/series/zuzfunci.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/stdctrls.h"
#include "platform/win32/registry.h"
#include "tests/chart/editors/editformfixture.h"
#include "tests/chart/editors/gridfixture.h"
#include "tests/support/tempdir.h"
#include "tests/support/xserver.h"

namespace {

const ::testing::Environment* const kDesktop =
    ::testing::AddGlobalTestEnvironment(new xserver::DesktopEnvironment);

class XFunctionPage : public ChartFormTest {
protected:
    void SetUp() override {
        ChartFormTest::SetUp();
        win32::SetRegistryDirectory(registry.path);
        AddSeries<TLineSeries>({21, 22, 24, 23, 21}, u"Температура, °C");
        AddSeries<TLineSeries>({11, 12, 10, 9, 12}, u"Давление, кПа");
        mean = AddSeries<TLineSeries>({}, u"Среднее");
        CreateNewZuzFunction(mean, &TAverageZuzFunction::StaticClass());
        mean->SetDataSource(chart->GetSeries(0));
        form->Show();
        editor.reset(Create<TChartEditForm>(nullptr));
        editor->SetChart(chart);
    }
    void TearDown() override {
        editor.reset();
        win32::SetRegistryDirectory({});
        ChartFormTest::TearDown();
    }

    TempDir registry{"moltren-function-page-x11"};
    Owned<TChartEditForm> editor;
    TChartSeries* mean = nullptr;
};

} // namespace

// An average of the temperature: "Every number of points" 2 typed, then the pressure moved to the
// chosen sources, leave Apply on and the options as typed, and Apply takes both; another function
// chosen leaves Apply on once its options show.
TEST_F(XFunctionPage, OptionsTypedAndASourceMovedAreAppliedTogether) {
    if (!xserver::RunWindowManager()) GTEST_SKIP() << "no window manager (openbox): run scripts/setup";
    TChartEditForm* e = editor.get();
    e->Show();
    ASSERT_TRUE(xserver::Activate(*e));
    probe::ProcessEvents();
    e->SelectTreeNodeData(mean);
    probe::ProcessEvents();
    TFormZuzSeries* series = e->SeriesForm;
    ASSERT_NE(series, nullptr);
    probe::ChooseTab(*series->TabDataSource);
    auto* page = dynamic_cast<TZuzFuncEditor*>(series->GetDataSourceForm());
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(probe::WaitFor([&] { return page->OptionsForm() != nullptr; }));
    probe::ProcessEvents(); // the page as it settles when first shown
    auto* options = dynamic_cast<TZuzFunctionEditor*>(page->OptionsForm());
    ASSERT_NE(options, nullptr);
    probe::ChooseTab(*page->TabOptions);
    ASSERT_TRUE(probe::WaitFor([&] { return options->GetShowing(); }));
    ASSERT_TRUE(xserver::Focus(*options->CBStyle));
    ASSERT_TRUE(xserver::Type("Down"));
    ASSERT_EQ(options->CBStyle->GetItemIndex(), 1);
    ASSERT_TRUE(xserver::Focus(*options->ENum));
    ASSERT_TRUE(xserver::Type("ctrl+a 2"));

    probe::ChooseTab(*page->TabSource);
    TSelectListForm* selector = page->Selector();
    ASSERT_TRUE(probe::WaitFor([&] { return probe::Shown(*selector->BRightOne); }));
    const int pressure = selector->FromList->GetItems()->IndexOfObject(chart->GetSeries(1));
    ASSERT_GE(pressure, 0);
    const TRect row = selector->FromList->ItemRect(pressure);
    ASSERT_TRUE(xserver::Click(*selector->FromList, TPoint(row.Left + 10, (row.Top + row.Bottom) / 2)));
    ASSERT_TRUE(xserver::Click(*selector->BRightOne, TPoint(8, 8)));
    ASSERT_EQ(selector->ToList->GetItems()->GetCount(), 2);
    probe::ProcessEvents();
    xserver::Keep(xserver::Picture(*e), "chart-editor-function-after-a-source-moved");
    EXPECT_TRUE(page->BApply->GetEnabled());
    EXPECT_EQ(page->PageControl1->GetActivePage(), page->TabSource);
    probe::ChooseTab(*page->TabOptions);
    ASSERT_TRUE(probe::WaitFor([&] { return options->GetShowing(); }));
    EXPECT_EQ(page->OptionsForm(), options);
    EXPECT_EQ(options->CBStyle->GetItemIndex(), 1);
    EXPECT_EQ(options->ENum->GetText(), u"2");
    EXPECT_TRUE(page->BApply->GetEnabled());
    xserver::Keep(xserver::Picture(*e), "chart-editor-function-options-after-a-source-moved");
    ASSERT_TRUE(xserver::Click(*page->BApply, TPoint(8, 8)));
    EXPECT_EQ(mean->GetFunction()->GetPeriod(), 2);
    EXPECT_EQ(mean->DataSources().Count(), 2);
    EXPECT_FALSE(page->BApply->GetEnabled());

    // "High" chosen by its first letter.
    ASSERT_TRUE(xserver::Focus(*page->CBSources));
    ASSERT_TRUE(xserver::Type("H"));
    ASSERT_EQ(page->CBSources->GetText(), u"High");
    probe::ProcessEvents();
    EXPECT_TRUE(mean->GetFunction()->Is<THighZuzFunction>());
    EXPECT_TRUE(page->BApply->GetEnabled());
    xserver::Keep(xserver::Picture(*e), "chart-editor-function-after-the-function-changed");
    probe::ChooseTab(*page->TabOptions);
    ASSERT_TRUE(probe::WaitFor([&] { return page->OptionsForm() && page->OptionsForm()->GetShowing(); }));
    EXPECT_TRUE(page->BApply->GetEnabled());
    xserver::Keep(xserver::Picture(*e), "chart-editor-function-options-after-the-function-changed");
    EXPECT_TRUE(requests.empty());
}
