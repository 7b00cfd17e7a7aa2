// The chart editor's launchers: the component that opens the editor with its choices, the free
// procedures that open it on one element, and the panel that holds an editor for good.
#include "chart/editors/zuzedit.h"

#include "chart/editors/editchar.h"
#include "chart/editors/vediruregrid.h"
#include "chart/editors/zuzediaxis.h"
#include "chart/editors/zuzediseri.h"
#include "chart/editors/zuzeditcha.h"
#include "chart/editors/zuzedititl.h"
#include "chart/editors/zuzediwall.h"
#include "chart/editors/zuzlisb.h"
#include "chart/editors/zuzmargins.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/chartwalls.h"
#include "chart/engine/zuzfunction.h"
#include "chart/series/zuzexportformat.h"
#include "chart/series/zuzstore.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/treeview.h"
#include "platform/win32/registry.h"
#include "tests/chart/editors/editformfixture.h"
#include "tests/chart/editors/modaldriver.h"
#include "tests/chart/series/keeptypes.h"
#include "tests/support/streamtext.h"
#include "tests/support/testclass.h"

#include <stdexcept>

namespace {

class TMarkTool : public testsupport::TTestClass<TMarkTool, TZuzCustomTool, "TMarkTool"> {
public:
    using TTestClass::TTestClass;
};

class Launchers : public EditFormTest {
protected:
    void SetUp() override {
        EditFormTest::SetUp();
        UseTabs();
        chart->SetView3D(false);
        first = chart->GetSeries(0);
        second = chart->GetSeries(1);
        forms = Screen->GetFormCount();
    }
    // Every editor opened since the set-up (and the page forms it made) is gone again.
    void ExpectEditorsFreed() const {
        EXPECT_EQ(Screen->GetFormCount(), forms) << "an editor was left behind";
    }
    static TTabSheet* Page(const TChartEditForm& e) {
        return e.MainPage->GetActivePage() == e.TabChart ? e.SubPage->GetActivePage()
                                                         : e.MainPage->GetActivePage();
    }

    TChartSeries* first = nullptr;
    TChartSeries* second = nullptr;
    int forms = 0;
};

// ---------------------------------------------------------------------------
// The component

class ChartEditorLauncher : public Launchers {
protected:
    void SetUp() override {
        Launchers::SetUp();
        editor = Create<TChartEditor>(form.get());
    }
    void TearDown() override {
        ExpectEditorsFreed();
        Launchers::TearDown();
    }
    TChartEditor* editor = nullptr;
};

TEST_F(ChartEditorLauncher, WithoutAChartExecuteShowsNothing) {
    int shown = 0;
    editor->OnShow = TNotifyEvent([&](TObject*) { ++shown; });
    ModalDriver driver; // fails on any dialog
    editor->Execute();
    EXPECT_EQ(shown, 0);
}

TEST_F(ChartEditorLauncher, TheSeriesAndTheChartFollowEachOther) {
    auto* other = Create<TChart>(form.get());
    auto* elsewhere = Create<TLineSeries>(form.get());
    elsewhere->SetParentChart(other);
    editor->SetChart(chart);
    editor->SetSeries(second);
    EXPECT_EQ(editor->GetChart(), chart);
    editor->SetSeries(elsewhere); // a series of another chart takes its chart along
    EXPECT_EQ(editor->GetChart(), other);
    EXPECT_EQ(editor->GetSeries(), elsewhere);
    editor->SetChart(chart); // another chart lets the series go
    EXPECT_EQ(editor->GetSeries(), nullptr);
    editor->SetSeries(first);
    first->Free(); // freeing the series or the chart forgets it
    EXPECT_EQ(editor->GetSeries(), nullptr);
    other->Free();
    editor->SetChart(chart);
    chart->Free();
    chart = nullptr;
    EXPECT_EQ(editor->GetChart(), nullptr);
}

TEST_F(ChartEditorLauncher, TheChoicesStreamOnlyWhereTheyDifferFromTheDefaults) {
    EXPECT_EQ(editor->GetOptions().Bits(), 1919u);
    EXPECT_FALSE(editor->GetOptions().Contains(ceGroups));
    const std::string plain = streamtext::ObjectText(editor);
    for (const char* name : {"AutoRepaint", "DefaultTab", "HideTabs", "Options", "PixelsPerInch", "TreeView"})
        EXPECT_EQ(plain.find(name), std::string::npos) << name << " in\n" << plain;
    editor->SetAutoRepaint(false);
    editor->SetDefaultTab(cetPaging);
    editor->SetHideTabs({cetWalls, cetPrintPreview});
    editor->SetOptions(DefaultChartEditorOptions() - TChartEditorOptions{ceAdd} +
                       TChartEditorOptions{ceGroups});
    editor->SetTreeView(true);
    Owned<TChartEditor> back(Create<TChartEditor>(nullptr));
    streamtext::ReadText(streamtext::ObjectText(editor), back.get());
    EXPECT_FALSE(back->GetAutoRepaint());
    EXPECT_EQ(back->GetDefaultTab(), cetPaging);
    EXPECT_EQ(back->GetHideTabs(), (TChartEditorHiddenTabs{cetWalls, cetPrintPreview}));
    EXPECT_EQ(back->GetOptions(), editor->GetOptions());
    EXPECT_TRUE(back->GetTreeView());
    // A scale from a file is held to 48..480 pixels per inch, and one of 0 or less is none.
    editor->SetPixelsPerInch(120);
    const std::string scaled = streamtext::ObjectText(editor);
    for (const auto& [given, held] : {std::pair{"100000", 480}, {"20", 48}, {"-96", 0}, {"144", 144}}) {
        std::string text = scaled;
        text.replace(text.find("= 120"), 5, std::string("= ") + given);
        streamtext::ReadText(text, back.get());
        EXPECT_EQ(back->GetPixelsPerInch(), held) << given;
    }
}

TEST_F(ChartEditorLauncher, ExecuteHandsEveryChoiceToTheEditorAndFreesIt) {
    editor->SetChart(chart);
    editor->SetSeries(second);
    editor->SetDefaultTab(cetLegend);
    editor->SetHideTabs({cetPaging});
    editor->SetOptions(DefaultChartEditorOptions() - TChartEditorOptions{ceAdd});
    editor->SetHighLightTabs(true);
    editor->SetTitle(u"Графики прибора");
    int plainWidth = 0;
    {
        Owned<TChartEditForm> plain(Create<TChartEditForm>(nullptr));
        plainWidth = plain->GetWidth();
        editor->SetPixelsPerInch(2 * plain->GetPixelsPerInch());
    }
    std::vector<std::string> calls;
    TObject* shownWith = nullptr;
    editor->OnShow = TNotifyEvent([&](TObject* Sender) {
        calls.push_back("show");
        shownWith = Sender;
    });
    editor->OnClose = TNotifyEvent([&](TObject* Sender) {
        calls.push_back("close");
        EXPECT_EQ(Sender, shownWith);
    });
    TChartSeries* swapped[2] = {};
    editor->OnChangeSeriesOrder = TChangeOrderEvent([&](TObject*, TChartSeries* a, TChartSeries* b) {
        swapped[0] = a;
        swapped[1] = b;
    });
    ModalDriver driver;
    driver.Form<TChartEditForm>([&](TChartEditForm& e) {
        calls.push_back("open");
        EXPECT_EQ(&e, shownWith);
        EXPECT_EQ(e.GetOwner(), nullptr);
        EXPECT_EQ(e.GetChart(), chart);
        EXPECT_EQ(e.GetCaption(), u"Графики прибора");
        EXPECT_EQ(e.StartSeries, second);
        EXPECT_EQ(e.HiddenTabs, TChartEditorHiddenTabs{cetPaging});
        EXPECT_FALSE(e.TabPaging->GetTabVisible());
        EXPECT_TRUE(e.HighlightTabs);
        EXPECT_FALSE(e.EditorOptions.Contains(ceAdd));
        EXPECT_FALSE(e.RememberPosition);
        EXPECT_EQ(e.GetPixelsPerInch(), editor->GetPixelsPerInch());
        EXPECT_EQ(e.GetWidth(), 2 * plainWidth);
        e.LBSeries->OnChangeOrder(e.LBSeries, first, second);
    });
    editor->Execute();
    EXPECT_EQ(calls, (std::vector<std::string>{"show", "open", "close"}));
    EXPECT_EQ(swapped[0], first);
    EXPECT_EQ(swapped[1], second);
    EXPECT_TRUE(chart->CancelMouse); // the closing click is not a click on the chart
}

TEST_F(ChartEditorLauncher, WithoutAutoRepaintTheChartIsDrawnOnceAfterTheEditorCloses) {
    form->Show();
    probe::ProcessEvents();
    int draws = 0;
    chart->OnAfterDraw = TNotifyEvent([&](TObject*) { ++draws; });
    editor->SetChart(chart);
    editor->SetAutoRepaint(false);
    ModalDriver driver;
    driver.Form<TChartEditForm>([&](TChartEditForm&) {
        EXPECT_FALSE(chart->AutoRepaint);
        chart->GetTitle()->GetText()->SetText(u"Архив прибора «КРОНТ» № 2");
        first->SetSeriesColor(clRed);
        probe::ProcessEvents();
        EXPECT_EQ(draws, 0);
    });
    editor->Execute();
    EXPECT_TRUE(chart->AutoRepaint);
    probe::WaitFor([&] { return draws > 0; });
    probe::ProcessEvents();
    EXPECT_EQ(draws, 1);
}

TEST_F(ChartEditorLauncher, AnEditorThatRaisesIsFreedAndGivesTheChartItsRepaintingBack) {
    editor->SetChart(chart);
    editor->SetAutoRepaint(false);
    ModalDriver driver;
    driver.Form<TChartEditForm>([&](TChartEditForm&) { throw std::runtime_error("page failed"); });
    EXPECT_THROW(editor->Execute(), std::runtime_error);
    EXPECT_TRUE(chart->AutoRepaint);
    EXPECT_TRUE(chart->CancelMouse);
    // TearDown finds no editor left.
}

// ---------------------------------------------------------------------------
// The free procedures: each opens its page on its element and frees the editor.

struct LaunchRow {
    const char* rule;
    void (*launch)(TChart* Chart);
    void (*check)(TChart* Chart, TChartEditForm& Editor);
};

class EditChar : public Launchers, public ::testing::WithParamInterface<LaunchRow> {
protected:
    void SetUp() override {
        Launchers::SetUp();
        RegisterZuzTools({&TMarkTool::StaticClass()});
    }
    const KeepTypes keep;
};

TEST_P(EditChar, OpensItsPageOnItsElement) {
    const LaunchRow& row = GetParam();
    auto* tool = Create<TMarkTool>(form.get());
    tool->SetParentChart(chart);
    bool opened = false;
    ModalDriver driver;
    driver.Form<TChartEditForm>([&](TChartEditForm& e) {
        opened = true;
        EXPECT_EQ(e.GetOwner(), Application);
        EXPECT_EQ(e.GetChart(), chart);
        row.check(chart, e);
    });
    row.launch(chart);
    EXPECT_TRUE(opened);
    ExpectEditorsFreed();
}

// The element the page form on a sub-page edits, nullptr without the form.
const TChartTitle* TitleOnPage(const TChartEditForm& e) {
    const auto* page = dynamic_cast<const TFormZuzTitle*>(e.PageForm(e.TabTitle));
    return page ? page->GetTitle() : nullptr;
}
const TChartAxis* AxisOnPage(const TChartEditForm& e) {
    const auto* page = dynamic_cast<const TFormZuzAxis*>(e.PageForm(e.TabAxis));
    return page ? page->GetAxis() : nullptr;
}
const TCustomChartWall* WallOnPage(const TChartEditForm& e) {
    const auto* page = dynamic_cast<const TFormZuzWall*>(e.PageForm(e.TabWalls));
    return page ? page->GetWall() : nullptr;
}

TChartSeries* Second(TChart* Chart) {
    return Chart->GetSeries(1);
}

void SeriesPageOn(TChartEditForm& e, TChartSeries* Series, TTabSheet* TFormZuzSeries::*Tab) {
    EXPECT_EQ(e.MainPage->GetActivePage(), e.TabSeries);
    ASSERT_NE(e.SeriesForm, nullptr);
    EXPECT_EQ(e.SeriesForm->TheSeries, Series);
    EXPECT_EQ(e.SeriesForm->PageSeries->GetActivePage(), e.SeriesForm->*Tab);
}

const LaunchRow kLaunchRows[] = {
    {"EditChartOpensTheSeriesList", [](TChart* c) { EditChart(nullptr, c); },
     [](TChart*, TChartEditForm& e) {
         EXPECT_EQ(e.MainPage->GetActivePage(), e.TabChart);
         EXPECT_EQ(e.SubPage->GetActivePage(), e.TabSeriesList);
     }},
    {"EditChartLegendOpensTheLegendPage", [](TChart* c) { EditChartLegend(nullptr, c); },
     [](TChart*, TChartEditForm& e) { EXPECT_EQ(e.SubPage->GetActivePage(), e.TabLegend); }},
    {"EditChartPageOpensThePageGiven", [](TChart* c) { EditChartPage(nullptr, c, cetPanel); },
     [](TChart*, TChartEditForm& e) { EXPECT_EQ(e.SubPage->GetActivePage(), e.TabPanel); }},
    {"EditChartTitleOpensTheTitlesPageOnThatTitle", [](TChart* c) { EditChartTitle(nullptr, c->GetFoot()); },
     [](TChart* c, TChartEditForm& e) {
         EXPECT_EQ(e.SubPage->GetActivePage(), e.TabTitle);
         EXPECT_EQ(TitleOnPage(e), c->GetFoot());
     }},
    {"EditChartWallOpensTheWallsPageOnThatWall",
     [](TChart* c) { EditChartWall(nullptr, c->GetBottomWall()); },
     [](TChart* c, TChartEditForm& e) {
         EXPECT_EQ(e.SubPage->GetActivePage(), e.TabWalls);
         EXPECT_EQ(WallOnPage(e), c->GetBottomWall());
     }},
    {"EditChartAxisOpensTheAxisPageOnThatAxis", [](TChart* c) { EditChartAxis(nullptr, c->GetRightAxis()); },
     [](TChart* c, TChartEditForm& e) {
         EXPECT_EQ(e.SubPage->GetActivePage(), e.TabAxis);
         EXPECT_EQ(AxisOnPage(e), c->GetRightAxis());
     }},
    {"EditChartToolOpensTheToolsPage", [](TChart* c) { EditChartTool(nullptr, c->GetTools()->Get(0)); },
     [](TChart*, TChartEditForm& e) { EXPECT_EQ(e.MainPage->GetActivePage(), e.TabTools); }},
    {"EditSeriesOpensTheSeriesPageOnThatSeries", [](TChart* c) { EditSeries(nullptr, Second(c)); },
     [](TChart* c, TChartEditForm& e) { SeriesPageOn(e, Second(c), &TFormZuzSeries::TheTabSheet); }},
    {"EditSeriesMarksOpensItsMarksTab", [](TChart* c) { EditSeriesMarks(nullptr, Second(c)); },
     [](TChart* c, TChartEditForm& e) {
         SeriesPageOn(e, Second(c), &TFormZuzSeries::TabMarks);
         EXPECT_NE(e.SeriesForm->PageControlMarks->GetActivePage(), e.SeriesForm->TabSymbol);
     }},
    {"EditSeriesMarksWithTheSymbolOpensItsSymbolTab",
     [](TChart* c) { EditSeriesMarks(nullptr, Second(c), true); },
     [](TChart* c, TChartEditForm& e) {
         SeriesPageOn(e, Second(c), &TFormZuzSeries::TabMarks);
         EXPECT_EQ(e.SeriesForm->PageControlMarks->GetActivePage(), e.SeriesForm->TabSymbol);
     }},
    {"EditSeriesDataSourceOpensItsDataSourceTab", [](TChart* c) { EditSeriesDataSource(nullptr, Second(c)); },
     [](TChart* c, TChartEditForm& e) { SeriesPageOn(e, Second(c), &TFormZuzSeries::TabDataSource); }},
    {"EditDSSChartOpensInDataSourceMode", [](TChart* c) { EditDSSChart(nullptr, c); },
     [](TChart*, TChartEditForm& e) { EXPECT_TRUE(e.DataSourceMode); }},
    {"EditChartPartOnTheChartRectOpensTheFirstPage",
     [](TChart* c) {
         TChartClickedPart part;
         part.Style = cpChartRect;
         EditChartPart(nullptr, c, part);
     },
     [](TChart*, TChartEditForm& e) { EXPECT_EQ(e.SubPage->GetActivePage(), e.TabSeriesList); }},
    {"EditChartPartOnAnAxisTitleOpensTheFirstPage",
     [](TChart* c) {
         TChartClickedPart part;
         part.Style = cpAxisTitle;
         part.AAxis = c->GetLeftAxis();
         EditChartPart(nullptr, c, part);
     },
     [](TChart*, TChartEditForm& e) { EXPECT_EQ(e.SubPage->GetActivePage(), e.TabSeriesList); }},
    {"EditChartPartOnAnAxisOpensThatAxis",
     [](TChart* c) {
         TChartClickedPart part;
         part.Style = cpAxis;
         part.AAxis = c->GetRightAxis();
         EditChartPart(nullptr, c, part);
     },
     [](TChart* c, TChartEditForm& e) { EXPECT_EQ(AxisOnPage(e), c->GetRightAxis()); }},
    {"EditChartPartOnTheSubFootOpensThatTitle",
     [](TChart* c) {
         TChartClickedPart part;
         part.Style = cpSubFoot;
         EditChartPart(nullptr, c, part);
     },
     [](TChart* c, TChartEditForm& e) { EXPECT_EQ(TitleOnPage(e), c->GetSubFoot()); }},
    {"EditChartPartOnMarksOpensTheSeriesMarks",
     [](TChart* c) {
         TChartClickedPart part;
         part.Style = cpSeriesMarks;
         part.ASeries = Second(c);
         EditChartPart(nullptr, c, part);
     },
     [](TChart* c, TChartEditForm& e) { SeriesPageOn(e, Second(c), &TFormZuzSeries::TabMarks); }},
};

INSTANTIATE_TEST_SUITE_P(Procedures, EditChar, ::testing::ValuesIn(kLaunchRows),
                         [](const auto& info) { return std::string(info.param.rule); });

TEST_F(Launchers, AProcedureWhoseEditorRaisesStillFreesIt) {
    ModalDriver driver;
    driver.Form<TChartEditForm>([&](TChartEditForm&) { throw std::runtime_error("page failed"); });
    EXPECT_THROW(EditSeries(nullptr, second), std::runtime_error);
    ExpectEditorsFreed();
}

// ---------------------------------------------------------------------------
// The panel

TEST_F(Launchers, APanelPlacedAtDesignTimeHoldsNoEditor) {
    form->SetDesigning(true);
    auto* panel = Create<TChartEditorPanel>(form.get());
    EXPECT_EQ(panel->GetEditor(), nullptr);
    panel->SetChart(chart);
    panel->SelectUnderMouse(); // nothing to select in
    EXPECT_EQ(panel->GetBevelOuter(), bvLowered);
    // The class library's docking, dragging and sizing properties are read from a form file and
    // written back, changing nothing.
    const TRect bounds = panel->GetBoundsRect();
    streamtext::ReadText("object ChartEditorPanel1: TChartEditorPanel\n  Constraints.MinWidth = 500\n"
                         "  DockSite = True\n  DragCursor = crHandPoint\n  DragKind = dkDock\n"
                         "  DragMode = dmAutomatic\n  UseDockManager = False\n  AutoSize = True\n"
                         "  Locked = True\nend\n",
                         panel);
    EXPECT_EQ(panel->GetBoundsRect(), bounds);
    EXPECT_EQ(panel->GetConstraints()->GetMinWidth(), 500);
    EXPECT_EQ(panel->GetDragMode(), dmAutomatic);
    const std::string text = streamtext::ObjectText(panel);
    for (const char* line :
         {"Constraints.MinWidth = 500", "DockSite = True", "DragCursor = crHandPoint", "DragKind = dkDock",
          "DragMode = dmAutomatic", "UseDockManager = False", "AutoSize = True", "Locked = True"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
    form->SetDesigning(false);
}

class EditorPanel : public Launchers {
protected:
    void SetUp() override {
        Launchers::SetUp();
        if (InTree()) ZuzSaveBoolOption(u"TreeMode", true);
        form->SetBounds(0, 0, 1000, 440);
        panel = Create<TChartEditorPanel>(form.get());
        panel->SetParent(form.get());
        panel->SetAlign(alLeft);
        panel->SetWidth(460);
        // The tree's panel gets its chart only once its form is up, so its tree is filled then.
        if (!InTree()) panel->SetChart(chart);
        chart->GetLegend()->SetVisible(true);
        chart->GetSubTitle()->GetText()->SetText(u"Котельная № 2");
        chart->GetSubFoot()->GetText()->SetText(u"Часовой архив");
        chart->GetFoot()->GetText()->SetText(u"КРОНТ");
        form->Show();
        probe::ProcessEvents();
        panel->SetChart(chart);
        editor = panel->GetEditor();
    }
    // Puts the mouse over a point of Area where the chart has a part of the style and asks the
    // panel for the part there.
    void SelectIn(const TRect& Area, TChartClickedPartStyle Style) {
        for (int y = Area.Top; y <= Area.Bottom; y += 2)
            for (int x = Area.Left; x <= Area.Right; x += 2) {
                TChartClickedPart part;
                chart->CalcClickedPart({x, y}, part);
                if (part.Style != Style) continue;
                Mouse->SetCursorPos(chart->ClientToScreen({x, y}));
                panel->SelectUnderMouse();
                return;
            }
        ADD_FAILURE() << "no part of style " << int(Style) << " there";
    }
    virtual bool InTree() const { return false; }
    void ExpectSelectUnderMouseGoesToThePageOfThePart();
    TChartEditorPanel* panel = nullptr;
    TChartEditForm* editor = nullptr;
};

// The panel in its default mode, with the editor's tree.
class EditorPanelTree : public EditorPanel {
protected:
    bool InTree() const override { return true; }
};

TEST_F(EditorPanel, HoldsOneBorderlessEditorWithoutItsBottomBar) {
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->GetOwner(), panel);
    EXPECT_EQ(editor->GetParent(), panel);
    EXPECT_EQ(editor->GetAlign(), alClient);
    EXPECT_EQ(editor->GetBorderStyle(), bsNone);
    EXPECT_FALSE(editor->PanBottom->GetVisible());
    EXPECT_FALSE(editor->RememberPosition);
    EXPECT_FALSE(editor->RememberSize);
    EXPECT_EQ(editor->GetChart(), chart);
    chart->Free(); // the panel and its editor forget a freed chart
    chart = nullptr;
    EXPECT_EQ(panel->GetChart(), nullptr);
    EXPECT_EQ(editor->GetChart(), nullptr);
}

TEST_F(EditorPanel, ItsComingAndGoingBringsItsParentUpToDate) {
    auto* place = Create<TCountingPanel>(form.get());
    place->SetParent(form.get());
    place->SetAlign(alClient);
    panel->SetParent(place);
    probe::ProcessEvents();
    for (const bool shown : {false, true}) {
        place->laidOut = 0;
        form->SetVisible(shown);
        probe::ProcessEvents();
        EXPECT_GT(place->laidOut, 0) << shown;
    }
}

// With the editor's tree, the tree chooses the part's node and the page beside it is the part's.
void EditorPanel::ExpectSelectUnderMouseGoesToThePageOfThePart() {
    ASSERT_EQ(editor->TreeMode(), InTree());
    const auto node = [&]() -> TObject* {
        const TTreeNode* n = InTree() ? editor->Tree->GetSelected() : nullptr;
        return n ? n->GetData() : nullptr;
    };
    const auto onPanel = [&]() -> TControl* {
        return InTree() && editor->PagePanel->GetControlCount() > 0 ? editor->PagePanel->GetControl(0)
                                                                    : nullptr;
    };
    const auto expectNode = [&](TObject* Data) {
        if (InTree()) {
            EXPECT_EQ(node(), Data);
        }
    };
    // The tabs' page controls show the part's page; the tree lends the page to its panel.
    const auto expectPage = [&](TTabSheet* Tab) {
        if (!InTree()) {
            EXPECT_EQ(Page(*editor), Tab);
        }
    };
    const auto expectPanel = [&](TControl* Shown) {
        if (InTree()) {
            EXPECT_EQ(onPanel(), Shown);
        }
    };
    // Each of the four titles opens on itself.
    const std::pair<TChartTitle*, TChartClickedPartStyle> titles[] = {{chart->GetTitle(), cpTitle},
                                                                      {chart->GetSubTitle(), cpSubTitle},
                                                                      {chart->GetSubFoot(), cpSubFoot},
                                                                      {chart->GetFoot(), cpFoot}};
    for (const auto& [title, style] : titles) {
        SCOPED_TRACE(int(style));
        SelectIn(title->GetShapeBounds(), style);
        expectPage(editor->TabTitle);
        EXPECT_EQ(TitleOnPage(*editor), title);
        expectNode(title);
        const auto* page = dynamic_cast<TFormZuzTitle*>(editor->PageForm(editor->TabTitle));
        ASSERT_NE(page, nullptr);
        expectPanel(page->PageControlTitle);
    }

    SelectIn(chart->GetLegend()->RectLegend, cpLegend);
    expectPage(editor->TabLegend);
    expectNode(editor->TabLegend);
    expectPanel(editor->TabLegend);

    const TRect r = chart->GetChartRect();
    TChartAxis* axis = chart->GetLeftAxis();
    SelectIn({axis->PosAxis - 2, r.Top, axis->PosAxis + 2, r.Bottom}, cpAxis);
    expectPage(editor->TabAxis);
    EXPECT_EQ(AxisOnPage(*editor), axis);
    expectNode(axis);

    SelectIn({second->CalcXPos(5), second->CalcYPos(5), second->CalcXPos(5), second->CalcYPos(5)}, cpSeries);
    expectPage(editor->TabSeries);
    ASSERT_NE(editor->SeriesForm, nullptr);
    EXPECT_EQ(editor->SeriesForm->TheSeries, second);
    expectNode(second);
    expectPanel(editor->TabSeries);

    SelectIn(r, cpChartRect);
    expectPage(editor->TabPanel);
    expectNode(editor->TabPanel);
    expectPanel(editor->TabPanel);
}

TEST_F(EditorPanel, SelectUnderMouseGoesToThePageOfThePart) {
    ExpectSelectUnderMouseGoesToThePageOfThePart();
}

TEST_F(EditorPanelTree, SelectUnderMouseGoesToThePageOfThePart) {
    ExpectSelectUnderMouseGoesToThePageOfThePart();
}

TEST_F(EditorPanel, PictureBesideTheChart) {
    chart->GetTitle()->GetText()->SetText(u"Архив прибора «КРОНТ»");
    editor->SubPage->SetActivePage(editor->TabSeriesList);
    probe::ProcessEvents();
    SavePicture(*form.get(), "chart-editor-panel.png");
}

} // namespace
