// The chart editor form over a real chart, in tabs mode, with its options kept in a registry
// of the test's own.
#include "chart/editors/zuzeditcha.h"

#include "chart/canvas/zuzprocs.h"
#include "chart/editors/vediruregrid.h"
#include "chart/editors/zuzedi3d.h"
#include "chart/editors/zuzedigene.h"
#include "chart/editors/zuzedilege.h"
#include "chart/editors/zuzedipage.h"
#include "chart/editors/zuzediseri.h"
#include "chart/editors/zuzedititl.h"
#include "chart/editors/zuzediwall.h"
#include "chart/editors/zuzexport.h"
#include "chart/editors/zuzlisb.h"
#include "chart/engine/chartwalls.h"
#include "chart/engine/seriestypes.h"
#include "chart/series/bubblech.h"
#include "chart/series/zuzprevi.h"
#include "platform/gui/buttons.h"
#include "platform/gui/clipbrd.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/menus.h"
#include "platform/gui/treeview.h"
#include "platform/gui/winuser.h"
#include "platform/win32/registry.h"
#include "tests/chart/editors/editformfixture.h"
#include "tests/chart/editors/modaldriver.h"

#include <algorithm>
#include <memory>

namespace {

class ChartEditFormTest : public EditFormTest {
protected:
    void SetUp() override {
        EditFormTest::SetUp();
        UseTabs();
        form->Show();
    }
    TChartEditForm* Shown(TChartEditForm* Editor) {
        Editor->Show();
        probe::ProcessEvents();
        return Editor;
    }
    static void Store(const String& Name, int Value) { Key()->WriteInteger(Name, Value); }
    static bool Stored(const String& Name) {
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        return reg.OpenKeyReadOnly(kEditorKey) && reg.ValueExists(Name);
    }
    template <class F>
    static F* Page(TChartEditForm* Editor, TTabSheet* Tab) {
        return dynamic_cast<F*>(Editor->PageForm(Tab));
    }
};

TEST_F(ChartEditFormTest, HidingEveryChartSubPageHidesTheChartTab) {
    auto* e = Editor();
    e->HiddenTabs = {cetMain,  cetGeneral, cetAxis,  cetTitles, cetLegend,
                     cetPanel, cetPaging,  cetWalls, cet3D};
    Shown(e);
    EXPECT_FALSE(e->TabChart->GetTabVisible());
    EXPECT_TRUE(e->TabSeries->GetTabVisible());
    // One sub-page left keeps it.
    auto* other = Create<TChartEditForm>(nullptr);
    const Owned<TChartEditForm> freer(other);
    other->SetChart(chart);
    other->HiddenTabs = {cetMain, cetGeneral, cetAxis, cetTitles, cetLegend, cetPanel, cetPaging, cetWalls};
    Shown(other);
    EXPECT_TRUE(other->TabChart->GetTabVisible());
}

// StartPage picks a sub-page, or its next visible neighbour, else the nearest one before it; the
// tree shows it as its node, the series list behind it.
TEST_F(ChartEditFormTest, StartPageOpensTheNearestVisibleSubPage) {
    struct Row {
        TChartEditorTab start;
        TChartEditorHiddenTabs hidden;
        const char* expected;
    } const rows[] = {
        {cetPanel, {}, "TabPanel"},
        {cetPanel, {cetPanel}, "TabPaging"},
        {cetPanel, {cetPanel, cetPaging, cetWalls, cet3D}, "TabLegend"},
        {cetMain, {}, "TabSeriesList"},
        {cetGeneral, {}, "TabGeneral"},
        {cetLegend, {}, "TabLegend"},
        {cet3D, {}, "Tab3D"},
    };
    for (const bool tree : {false, true}) {
        ZuzSaveBoolOption(u"TreeMode", tree);
        for (const Row& row : rows) {
            auto* e = Editor();
            e->StartPage = row.start;
            e->HiddenTabs = row.hidden;
            Shown(e);
            ASSERT_EQ(e->TreeMode(), tree);
            const std::string where = std::string(row.expected) + (tree ? " in the tree" : " on the tabs");
            ASSERT_NE(e->SubPage->GetActivePage(), nullptr) << where;
            TTabSheet* page = e->SubPage->GetActivePage();
            if (tree) {
                ASSERT_NE(e->Tree->GetSelected(), nullptr) << where;
                page = dynamic_cast<TTabSheet*>(e->Tree->GetSelected()->GetData());
                ASSERT_NE(page, nullptr) << where;
                EXPECT_EQ(page->GetParent(), e->PagePanel) << where;
            } else {
                EXPECT_EQ(e->MainPage->GetActivePage(), e->TabChart) << where;
                EXPECT_EQ(e->SubPage->GetActivePageIndex(), e->StartPage) << where;
            }
            EXPECT_EQ(UTF8Encode(page->GetName()), row.expected) << where;
            EXPECT_TRUE(page->GetShowing()) << where;
            if (page != e->TabSeriesList) {
                EXPECT_NE(e->PageForm(page), nullptr) << where;
                EXPECT_FALSE(e->TabSeriesList->GetShowing()) << where;
            }
        }
    }
}

TEST_F(ChartEditFormTest, StartPagesBeyondTheChartOpenTheirMainPageOrTheSeriesTabs) {
    auto* e = Editor();
    e->StartPage = cetSeriesData;
    Shown(e);
    EXPECT_EQ(e->MainPage->GetActivePage(), e->TabData);
    EXPECT_EQ(e->ChartGrid1->GetChart(), chart);

    for (const auto& [start, tab] : {std::pair{cetSeriesGeneral, 0}, std::pair{cetSeriesMarks, 1}}) {
        auto* s = Editor();
        s->StartPage = start;
        Shown(s);
        EXPECT_EQ(s->MainPage->GetActivePage(), s->TabSeries);
        ASSERT_NE(s->SeriesForm, nullptr);
        EXPECT_EQ(s->SeriesForm->TheSeries, chart->GetSeries(0));
        EXPECT_EQ(s->SeriesForm->PageSeries->GetActivePage(),
                  tab == 0 ? s->SeriesForm->TabGeneral : s->SeriesForm->TabMarks);
    }

    for (const auto& [start, expected] : {std::pair{cetExport, 0}, std::pair{cetPrintPreview, 1}}) {
        auto* m = Editor();
        m->StartPage = start;
        Shown(m);
        if (expected == 0) {
            ASSERT_NE(m->GetExportForm(), nullptr);
            EXPECT_FALSE(m->GetExportForm()->BClose->GetVisible());
        } else {
            ASSERT_NE(m->PreviewForm, nullptr);
            EXPECT_EQ(m->PreviewForm->GetParent(), m->TabPrint);
        }
    }
}

// Asking the series page whether the editor may leave it is not a change of the page's own tabs:
// the page must not stay blocked as if one had begun.
TEST_F(ChartEditFormTest, LeavingTheSeriesPageThroughTheEditorsTabsLeavesItEditable) {
    auto* e = Editor();
    e->StartPage = cetSeriesGeneral;
    Shown(e);
    ASSERT_NE(e->SeriesForm, nullptr);
    probe::ChooseTab(*e->TabData);
    EXPECT_EQ(e->MainPage->GetActivePage(), e->TabData);
    EXPECT_FALSE(e->SeriesForm->Changing);
}

TEST_F(ChartEditFormTest, WithoutToolTypesThereIsNoToolsTab) {
    std::vector<const ClassInfo*> saved;
    for (int i = 0; i < ZuzToolTypes().Count(); ++i) saved.push_back(ZuzToolTypes().Get(i));
    ZuzToolTypes().Clear();
    auto* e = Shown(Editor());
    EXPECT_FALSE(e->TabTools->GetTabVisible());
    for (const ClassInfo* tool : saved) ZuzToolTypes().Add(tool);
    if (!saved.empty()) {
        auto* with = Shown(Editor());
        EXPECT_TRUE(with->TabTools->GetTabVisible());
    }
}

// Delete stays off for series the user may not delete; the other buttons follow their options.
TEST_F(ChartEditFormTest, SeriesButtonsFollowTheSelectedSeriesAndTheOptions) {
    TChartSeries* first = chart->GetSeries(0);
    auto* e = Shown(Editor());
    ASSERT_EQ(e->LBSeries->GetItemIndex(), 0);
    EXPECT_TRUE(e->BDeleteSeries->GetEnabled());
    EXPECT_TRUE(e->BCloneSeries->GetEnabled());
    EXPECT_FALSE(e->BMoveUP->GetEnabled());
    EXPECT_TRUE(e->BMoveDown->GetEnabled());

    for (const TChartSeriesStyleItem flag : {tssDenyDelete, tssIsTemplate}) {
        first->SetStyle(TChartSeriesStyle{flag});
        e->LBSeriesRefreshButtons(e->LBSeries);
        EXPECT_FALSE(e->BDeleteSeries->GetEnabled()) << int(flag);
        EXPECT_FALSE(e->LBSeries->GetAllowDeleteSeries());
    }
    EXPECT_FALSE(e->BCloneSeries->GetEnabled()); // a template is not cloned either
    first->SetStyle({});
    first->IncludeState(csAncestor);
    e->LBSeriesRefreshButtons(e->LBSeries);
    EXPECT_FALSE(e->BDeleteSeries->GetEnabled());
    EXPECT_FALSE(e->BChangeTypeSeries->GetEnabled());
    EXPECT_FALSE(e->LBSeries->GetEnableChangeType());
    first->ExcludeState(csAncestor);
    // A double-click on the type's icon changes the type again as soon as the button may.
    e->LBSeriesRefreshButtons(e->LBSeries);
    EXPECT_TRUE(e->BChangeTypeSeries->GetEnabled());
    EXPECT_TRUE(e->LBSeries->GetEnableChangeType());

    e->EditorOptions = TChartEditorOptions{ceHelp};
    e->LBSeriesRefreshButtons(e->LBSeries);
    for (TControl* c : std::initializer_list<TControl*>{e->BAddSeries, e->BDeleteSeries, e->BRenameSeries,
                                                        e->BCloneSeries, e->BChangeTypeSeries})
        EXPECT_FALSE(c->GetEnabled()) << UTF8Encode(c->GetName());
    EXPECT_FALSE(e->BMoveUP->GetVisible());
    EXPECT_FALSE(e->LBSeries->GetEnableDragSeries());
}

// The series opened last, by a double-click or in the series page's chooser, is the list's one
// row chosen when its tab is back, and the buttons follow it, however the list comes back.
TEST_F(ChartEditFormTest, TheSeriesListShowsTheSeriesOpenedAloneAndItsButtonsFollow) {
    auto* e = Shown(Editor());
    TChartListBox* list = e->LBSeries;
    const auto buttons = [&] { return SeriesButtonsOn(*e); };
    list->SetSelected(1, true);
    e->LBSeriesEditSeries(list, 0);
    ASSERT_NE(e->SeriesForm, nullptr);
    probe::Choose(*e->SeriesForm->CBSeries, 1);
    probe::ChooseTab(*e->TabChart);
    EXPECT_EQ(list->GetItemIndex(), 1);
    EXPECT_EQ(list->GetSelCount(), 1);
    EXPECT_EQ(buttons(), "1110");

    probe::ChooseTab(*e->TabGeneral);
    probe::ChooseTab(*e->TabSeries);
    probe::Choose(*e->SeriesForm->CBSeries, 0);
    probe::ChooseTab(*e->TabChart);
    probe::ChooseTab(*e->TabSeriesList);
    EXPECT_EQ(list->GetItemIndex(), 0);
    EXPECT_EQ(buttons(), "1101");
}

TEST_F(ChartEditFormTest, StoredPlaceAndSizeAreKeptInsideTheScreen) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    Store(u"Left", screenWidth + 50);
    Store(u"Top", screenHeight + 50);
    Store(u"Width", 50);
    Store(u"Height", 300);
    auto* e = Editor();
    EXPECT_EQ(e->GetWidth(), 100);
    EXPECT_EQ(e->GetHeight(), 300);
    EXPECT_EQ(e->GetLeft(), screenWidth - 100);
    EXPECT_EQ(e->GetTop(), screenHeight - 300);
    EXPECT_EQ(e->GetPosition(), poDesigned);

    editor.reset(); // it writes its own place and size back
    Store(u"Left", -20);
    Store(u"Width", screenWidth * 3);
    auto* wide = Editor();
    EXPECT_EQ(wide->GetLeft(), 0);
    EXPECT_EQ(wide->GetWidth(), Screen->GetWorkAreaRect().Width());

    // Without remembering, nothing is read.
    auto* plain = Create<TChartEditForm>(nullptr);
    const Owned<TChartEditForm> freer(plain);
    plain->RememberPosition = plain->RememberSize = false;
    plain->SetChart(chart);
    EXPECT_NE(plain->GetPosition(), poDesigned);
    EXPECT_EQ(plain->GetWidth(), StrToInt(VavIve_DefaultEditorSize));
}

TEST_F(ChartEditFormTest, ADefaultSizeIsNotWrittenBack) {
    auto* e = Editor();
    ASSERT_EQ(e->GetWidth(), StrToInt(VavIve_DefaultEditorSize));
    e->SetHeight(StrToInt(VavIve_DefaultEditorHeight));
    e->EditorOptions += ceGroups;
    editor.reset();
    EXPECT_TRUE(Stored(u"Left"));
    EXPECT_FALSE(Stored(u"Width"));
    EXPECT_FALSE(Stored(u"Height"));
    EXPECT_TRUE(ZuzReadBoolOption(u"SeriesGroups", false));

    auto* again = Editor();
    EXPECT_TRUE(again->EditorOptions.Contains(ceGroups)); // the groups choice is read back
    again->SetWidth(500);
    editor.reset();
    EXPECT_EQ(ZuzReadIntegerOption(u"Width", 0), 500);
}

TEST_F(ChartEditFormTest, TheSizeFollowsTheScreensResolution) {
    Screen->SetPixelsPerInch(120);
    auto* e = Create<TChartEditForm>(nullptr);
    const Owned<TChartEditForm> freer(e);
    Screen->SetPixelsPerInch(96);
    EXPECT_EQ(e->GetWidth(), 414 * 120 / 96);
    EXPECT_EQ(e->GetHeight(), 347 * 120 / 96 + GetSystemMetrics(SM_CYSIZE) - 18);
}

// "Help..." does nothing without a help file, so it shows only with one.
TEST_F(ChartEditFormTest, HelpShowsOnlyWithAHelpFile) {
    auto* e = Editor();
    e->CheckHelpFile();
    Shown(e);
    EXPECT_FALSE(e->ButtonHelp->GetVisible());
    EXPECT_FALSE(e->GetBorderIcons().Contains(biHelp));

    {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(reg.OpenKey(u"SOFTWARE\\Microsoft\\Windows\\Help", true));
        reg.WriteString(u"ZuzUser8.hlp", u"C:\\Help");
    }
    EXPECT_EQ(GetVedIrureUserHelpFile(), u"C:\\Help\\ZuzUser8.hlp");
    auto* helped = Editor();
    helped->CheckHelpFile();
    EXPECT_EQ(helped->GetHelpFile(), u"C:\\Help\\ZuzUser8.hlp");
    EXPECT_TRUE(helped->ButtonHelp->GetVisible());
    EXPECT_TRUE(helped->GetBorderIcons().Contains(biHelp));
    int asked = 0;
    Application->OnHelp = THelpEvent([&](Word Command, NativeInt Data, bool&) {
        asked = Command == HELP_CONTEXT ? static_cast<int>(Data) : -1;
        return true;
    });
    helped->ButtonHelp->Click();
    EXPECT_EQ(asked, 726);
    // A control without a topic of its own asks for its nearest parent's.
    EXPECT_TRUE(helped->HelpRequested(helped->BAddSeries));
    EXPECT_EQ(asked, 33);
    EXPECT_TRUE(helped->HelpRequested(helped->LBSeries));
    EXPECT_EQ(asked, 726);
    Application->OnHelp = {};

    helped->EditorOptions -= ceHelp;
    helped->CheckHelpFile();
    EXPECT_TRUE(helped->GetHelpFile().empty());
    EXPECT_FALSE(helped->ButtonHelp->GetVisible());
}

TEST_F(ChartEditFormTest, EveryHostedPageWritesIntoTheChart) {
    auto* e = Shown(Editor());
    const auto open = [&](TTabSheet* Tab) {
        e->SubPage->SetActivePage(Tab);
        e->SubPageChange(e->SubPage);
        probe::ProcessEvents();
    };
    open(e->TabGeneral);
    auto* general = Page<TFormZuzGeneral>(e, e->TabGeneral);
    ASSERT_NE(general, nullptr);
    const bool zoom = chart->GetZoom()->GetAllow();
    general->CBAllowZoom->SetChecked(!zoom);
    EXPECT_EQ(chart->GetZoom()->GetAllow(), !zoom);

    open(e->TabTitle);
    auto* titles = Page<TFormZuzTitle>(e, e->TabTitle);
    ASSERT_NE(titles, nullptr);
    titles->CBVisible->SetChecked(false);
    EXPECT_FALSE(chart->GetTitle()->GetVisible());

    open(e->TabLegend);
    Page<TFormZuzLegend>(e, e->TabLegend)->CBShow->SetChecked(false);
    EXPECT_FALSE(chart->GetLegend()->GetVisible());

    open(e->TabPaging);
    Page<TFormZuzPage>(e, e->TabPaging)->UDPointsPerPage->SetPosition(7);
    EXPECT_EQ(chart->GetMaxPointsPerPage(), 7);

    open(e->TabWalls);
    auto* walls = Page<TFormZuzWall>(e, e->TabWalls);
    const bool transparent = chart->GetLeftWall()->GetTransparent();
    walls->CBTransp->SetChecked(!transparent);
    EXPECT_EQ(chart->GetLeftWall()->GetTransparent(), !transparent);

    open(e->Tab3D);
    Page<TFormZuz3D>(e, e->Tab3D)->CBOrthogonal->SetChecked(false);
    EXPECT_FALSE(chart->View3DOptionsProp()->GetOrthogonal());

    for (TTabSheet* tab : {e->TabAxis, e->TabPanel}) {
        open(tab);
        EXPECT_NE(e->PageForm(tab), nullptr) << UTF8Encode(tab->GetName());
    }

    e->LBSeries->SetItemIndex(1);
    e->LBSeriesEditSeries(e->LBSeries, 1);
    probe::ProcessEvents();
    ASSERT_NE(e->SeriesForm, nullptr);
    EXPECT_EQ(e->SeriesForm->TheSeries, chart->GetSeries(1));
    e->SeriesForm->PageSeries->SetActivePage(e->SeriesForm->TabGeneral);
    e->SeriesForm->PageSeriesChange(e->SeriesForm->PageSeries);
    e->SeriesForm->CBShowInLegend->SetChecked(false);
    EXPECT_FALSE(chart->GetSeries(1)->GetShowInLegend());

    e->MainPage->SetActivePage(e->TabData);
    e->MainPageChange(e->MainPage);
    TChartGrid* grid = e->ChartGrid1;
    ASSERT_EQ(grid->GetChart(), chart);
    TChartValueList* values = nullptr;
    int column = 1;
    while (column < grid->GetColCount() && !(grid->GetSeriesOfCol(column, values) == chart->GetSeries(0) &&
                                             values == chart->GetSeries(0)->GetYValues()))
        ++column;
    ASSERT_LT(column, grid->GetColCount());
    grid->SetEditText(column, 2, u"77");
    EXPECT_EQ(chart->GetSeries(0)->GetYValues()->GetValue(0), 77);
}

TEST_F(ChartEditFormTest, DataPageButtonsAndMenuFollowTheFirstSeries) {
    auto* e = Shown(Editor());
    e->MainPage->SetActivePage(e->TabData);
    e->MainPageChange(e->MainPage);
    EXPECT_FALSE(e->SBGrid3D->GetEnabled()); // line series have no Z values
    // Nor has a bubble, whose third list is its radius; a series that carries Z values has.
    auto* bubble = Create<TBubbleSeries>(chart->GetOwner());
    chart->AddSeries(bubble);
    chart->ExchangeSeries(0, chart->SeriesCount() - 1);
    e->MainPageChange(e->MainPage);
    EXPECT_FALSE(e->SBGrid3D->GetEnabled());
    bubble->UsesZValues = true;
    e->MainPageChange(e->MainPage);
    EXPECT_TRUE(e->SBGrid3D->GetEnabled());
    chart->ExchangeSeries(0, chart->SeriesCount() - 1);
    bubble->Free();
    e->MainPageChange(e->MainPage);
    // Pictures, no captions; the hints name the buttons.
    for (auto [button, hint] :
         {std::pair{e->SBGridText, u"Show labels"}, std::pair{e->SBGridCol, u"Show colors"},
          std::pair{e->SBGrid3D, u"XYZ series"}, std::pair{e->SBGridX, u"Show X values"},
          std::pair{e->SBCopyData, u"Copy"}}) {
        EXPECT_EQ(button->GetGlyph()->GetWidth(), 16) << UTF8Encode(hint);
        EXPECT_EQ(button->GetCaption(), u"") << UTF8Encode(hint);
        EXPECT_EQ(button->GetHint(), hint);
    }
    EXPECT_EQ(e->SBGridCol->GetDown(), e->ChartGrid1->GetShowColors());
    EXPECT_TRUE(e->SBGridText->GetDown());

    e->SBGridText->SetDown(false);
    e->SBGridTextClick(e->SBGridText);
    EXPECT_FALSE(e->ChartGrid1->GetShowLabels());
    e->SBGridX->SetDown(true);
    e->SBGridXClick(e->SBGridX);
    EXPECT_EQ(e->ChartGrid1->GetShowXValues(), cgsYes);

    e->SBGridCol->SetDown(true);
    e->SBGridColClick(e->SBGridCol);
    e->ChartGrid1->SetRow(2);
    e->PopupDataPopup(e->PopupData);
    EXPECT_TRUE(e->EditColor1->GetVisible());
    EXPECT_FALSE(e->DefaultColor1->GetVisible()); // the point has no colour of its own yet
    e->Makenullpoint1Click(nullptr);
    EXPECT_TRUE(chart->GetSeries(0)->IsNull(0));
    e->PopupDataPopup(e->PopupData);
    EXPECT_TRUE(e->DefaultColor1->GetVisible());
    EXPECT_FALSE(e->Makenullpoint1->GetVisible());
    EXPECT_TRUE(e->Insertrow1->GetEnabled());
    EXPECT_TRUE(e->Deleterow1->GetEnabled());
    // A calculated series puts its points back: the menu offers no row, as the navigator does not.
    auto* formula = Create<TLineSeries>(chart->GetOwner());
    chart->AddSeries(formula);
    formula->SetDataSource(chart->GetSeries(0));
    e->ChartGrid1->SetSeries(formula);
    e->PopupDataPopup(e->PopupData);
    EXPECT_FALSE(e->Insertrow1->GetEnabled());
    EXPECT_FALSE(e->Deleterow1->GetEnabled());
    e->ChartGrid1->SetChart(chart);
    formula->Free();

    // Down on the last row appends a row, whose point the value typed there fills.
    TChartGrid* grid = e->ChartGrid1;
    const int rows = grid->GetRowCount();
    grid->SetRow(rows - 1);
    probe::Key(*grid, VK_DOWN);
    EXPECT_EQ(grid->GetRowCount(), rows + 1);

    e->SBCopyDataClick(e->SBCopyData);
    EXPECT_NE(Clipboard()->GetAsText().find(u"Температура"), String::npos);
}

TEST_F(ChartEditFormTest, CloseAndShowHooks) {
    static int calls = 0;
    static TTabSheet* last = reinterpret_cast<TTabSheet*>(1);
    ZuzOnShowEditor().push_back([](TChartEditForm*, TTabSheet* Tab) {
        ++calls;
        last = Tab;
    });
    auto* e = Shown(Editor());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(last, nullptr);
    EXPECT_EQ(e->GetCaption(), Format(VavIve_Editing, {chart->GetName()}));
    ZuzOnShowEditor().clear();

    ModalDriver driver;
    driver.Form<TChartEditForm>([](TChartEditForm& f) { f.BClose->Click(); });
    auto* modal = Editor();
    EXPECT_EQ(modal->ShowModal(), mrCancel);

    chart->Free();
    chart = nullptr;
    EXPECT_EQ(modal->GetChart(), nullptr);
}

// The editor over the chart it edits, as the screen shows both.
TEST_F(ChartEditFormTest, Pictures) {
    form->SetBounds(20, 20, 900, 460);
    auto* e = Shown(Editor());
    e->SetBounds(440, 50, 430, 380);
    const auto snapshot = [&](const std::string& Name) {
        probe::WaitFor([&] { return probe::Shown(*e); });
        probe::ProcessEvents();
        const TPoint d = probe::ScreenOrigin(*e), h = probe::ScreenOrigin(*form.get());
        EXPECT_TRUE(KeepPicture(
            probe::Overlay(probe::Grab(*form.get()), probe::Grab(*e), TPoint(d.X - h.X, d.Y - h.Y)), Name));
    };
    snapshot("charteditor-series-list.png");
    e->MainPage->SetActivePage(e->TabSeries);
    e->MainPageChange(e->MainPage);
    snapshot("charteditor-series-page.png");
    e->MainPage->SetActivePage(e->TabData);
    e->MainPageChange(e->MainPage);
    snapshot("charteditor-data.png");
}

} // namespace
