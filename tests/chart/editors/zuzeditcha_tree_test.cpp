// The chart editor in tree mode over a real chart (pages chosen from a tree, shown on the page
// panel and given back), and its series groups beside the series list.
#include "chart/editors/zuzeditcha.h"

#include "chart/canvas/zuzprocs.h"
#include "chart/editors/zuzediaxis.h"
#include "chart/editors/zuzedigene.h"
#include "chart/editors/zuzediseri.h"
#include "chart/editors/zuzedititl.h"
#include "chart/editors/zuzlisb.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartwalls.h"
#include "chart/engine/serieslist.h"
#include "platform/gui/buttons.h"
#include "platform/gui/checklst.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/menus.h"
#include "platform/gui/splitter.h"
#include "platform/gui/treeview.h"
#include "platform/win32/registry.h"
#include "tests/chart/editors/editformfixture.h"
#include "tests/chart/editors/modaldriver.h"

namespace {

class TreeModeTest : public EditFormTest {
protected:
    void SetUp() override {
        EditFormTest::SetUp();
        form->Show();
    }
    // The editor on the chart, shown in tree mode (the default).
    TChartEditForm* Shown(TChartEditorOptions Options = DefaultChartEditorOptions()) {
        editor.reset(Create<TChartEditForm>(nullptr));
        editor->SetChart(chart);
        editor->EditorOptions = Options;
        editor->Show();
        probe::ProcessEvents();
        return editor.get();
    }
    TTreeNode* Node(const String& Text) const {
        for (TTreeNode* n = editor->Tree->GetItems()->GetFirstNode(); n; n = n->GetNext())
            if (n->GetText() == Text) return n;
        ADD_FAILURE() << "no node " << UTF8Encode(Text);
        return nullptr;
    }
    // What the page panel shows, in order.
    std::vector<TControl*> OnPanel() const {
        return {editor->PagePanel->Controls().begin(), editor->PagePanel->Controls().end()};
    }
    TSeriesGroup* Group(const String& Name, std::initializer_list<int> Series) {
        TSeriesGroup* g = chart->GetSeriesList()->AddGroup(Name);
        for (int s : Series) g->Add(chart->GetSeries(s));
        return g;
    }
    TChartSeries* AddLine(const String& Title) {
        auto* s = Create<TLineSeries>(form.get());
        s->SetParentChart(chart);
        s->SetTitle(Title);
        s->AddXY(0, 1);
        return s;
    }
};

TEST_F(TreeModeTest, ElevenSeriesOrMoreCollapseTheSeriesNode) {
    for (const int count : {10, 11}) {
        while (chart->SeriesCount() < count) AddLine(u"Расход " + IntToStr(chart->SeriesCount()));
        auto* e = Shown();
        ASSERT_TRUE(e->TreeMode());
        ASSERT_NE(e->SeriesNode, nullptr);
        EXPECT_EQ(e->SeriesNode->GetCount(), count);
        EXPECT_EQ(e->SeriesNode->GetExpanded(), count < 11) << count;
        EXPECT_EQ(e->SeriesNode->GetItem(1)->GetText(), u"Давление, кПа");
        EXPECT_EQ(e->SeriesNode->GetItem(1)->GetData(), chart->GetSeries(1));
    }
}

TEST_F(TreeModeTest, TheTreeListsPagesAndElementsAndOpensOnTheSeriesList) {
    auto* e = Shown();
    EXPECT_FALSE(e->MainPage->GetVisible());
    EXPECT_TRUE(e->TreeSplitter->GetVisible());
    EXPECT_EQ(e->GetWidth(), e->WidthWithoutTree + e->Tree->GetWidth() + e->TreeSplitter->GetWidth());
    EXPECT_EQ(e->Tree->GetSelected(), e->SeriesNode);
    EXPECT_EQ(OnPanel(), std::vector<TControl*>{e->TabSeriesList});
    // Roots: the series, the chart, then the main pages after "Series".
    std::vector<String> roots;
    for (TTreeNode* n = e->Tree->GetItems()->GetFirstNode(); n; n = n->GetNextSibling())
        roots.push_back(n->GetText());
    const std::vector<String> expected{u"Series", u"Chart", u"Data", u"Export", u"Print"};
    EXPECT_EQ(roots, expected); // no tool types: no "Tools"
    TTreeNode* axis = Node(u"Axis");
    ASSERT_EQ(axis->GetCount(), 6);
    EXPECT_EQ(axis->GetItem(5)->GetText(), u"Depth Top");
    EXPECT_EQ(axis->GetItem(3)->GetData(), chart->GetBottomAxis());
    EXPECT_EQ(Node(u"Footer")->GetData(), chart->GetFoot());
    EXPECT_EQ(Node(u"Back")->GetData(), chart->GetBackWall());
    EXPECT_TRUE(Node(u"Chart")->GetExpanded());
}

TEST_F(TreeModeTest, TheChartNodeShowsTheSubPagesAsTabsAndAPageNodeThatPageAlone) {
    auto* e = Shown();
    e->Tree->SetSelected(Node(u"General"));
    EXPECT_EQ(OnPanel(), std::vector<TControl*>{e->TabGeneral});
    EXPECT_TRUE(e->TabGeneral->GetShowing());
    EXPECT_NE(dynamic_cast<TFormZuzGeneral*>(e->PageForm(e->TabGeneral)), nullptr);
    EXPECT_EQ(e->TabGeneral->GetPageControl(), nullptr);

    e->Tree->SetSelected(Node(u"Chart"));
    EXPECT_EQ(OnPanel(), std::vector<TControl*>{e->SubPage});
    ASSERT_EQ(e->SubPage->GetPageCount(), 9);
    EXPECT_EQ(e->SubPage->GetPage(1), e->TabGeneral);
    EXPECT_EQ(e->SubPage->GetPage(0), e->TabSeriesList);
    EXPECT_TRUE(e->SubPage->GetShowing());

    // The series list chosen again leaves the sub-pages and goes alone.
    e->Tree->SetSelected(e->SeriesNode);
    EXPECT_EQ(OnPanel(), std::vector<TControl*>{e->TabSeriesList});
    EXPECT_EQ(e->SubPage->GetParent(), e->TabChart);
}

TEST_F(TreeModeTest, AnElementNodeShowsItsPagePointedAtThatElement) {
    auto* e = Shown();
    e->Tree->SetSelected(Node(u"Bottom Axis"));
    auto* axes = dynamic_cast<TFormZuzAxis*>(e->PageForm(e->TabAxis));
    ASSERT_NE(axes, nullptr);
    EXPECT_EQ(axes->GetAxis(), chart->GetBottomAxis());
    EXPECT_EQ(axes->LBAxes->GetItemIndex(), 3);
    EXPECT_EQ(OnPanel(), std::vector<TControl*>{axes->PageAxis});
    EXPECT_EQ(e->Tree->GetSelected(), Node(u"Bottom Axis")); // the page did not choose its own node

    e->Tree->SetSelected(Node(u"Footer"));
    auto* titles = dynamic_cast<TFormZuzTitle*>(e->PageForm(e->TabTitle));
    ASSERT_NE(titles, nullptr);
    EXPECT_EQ(titles->GetTitle(), chart->GetFoot());
    EXPECT_EQ(OnPanel(), std::vector<TControl*>{titles->PageControlTitle});
    // Its boxes write into the title, though the page's own form never showed.
    probe::Click(*titles->CBVisible);
    EXPECT_FALSE(chart->GetFoot()->GetVisible());
    titles->UDMargin->SetPosition(20);
    EXPECT_EQ(chart->GetFoot()->GetVertMargin(), 20);
    // The axis page got its own page control back.
    EXPECT_EQ(axes->PageAxis->GetParent() != nullptr && axes->PageAxis->GetParent() != e->PagePanel, true);

    e->Tree->SetSelected(Node(u"Back"));
    EXPECT_EQ(OnPanel(), std::vector<TControl*>{e->TabWalls});
    EXPECT_EQ(titles->PageControlTitle->GetParent(), titles);

    e->Tree->SetSelected(Node(u"Axis"));
    EXPECT_EQ(OnPanel(), std::vector<TControl*>{e->TabAxis});
    EXPECT_EQ(axes->GetParent(), e->TabAxis);
    EXPECT_TRUE(axes->PageAxis->GetShowing());

    // Only a series node may be renamed in place.
    bool allow = true;
    e->TreeEditing(e->Tree, Node(u"Axis"), allow);
    EXPECT_FALSE(allow);
    e->TreeEditing(e->Tree, Node(u"Давление, кПа"), allow);
    EXPECT_TRUE(allow);

    e->Tree->SetSelected(Node(u"Давление, кПа"));
    EXPECT_EQ(OnPanel(), std::vector<TControl*>{e->TabSeries});
    EXPECT_EQ(e->LBSeries->GetSelectedSeries(), chart->GetSeries(1));
    ASSERT_NE(e->SeriesForm, nullptr);
    EXPECT_TRUE(e->SeriesForm->GetShowing());
}

// ▲, ▼ and a drag change the series' order in the list and the chart: the tree at once too.
TEST_F(TreeModeTest, TheSeriesNodesFollowEveryChangeOfOrder) {
    AddLine(u"Расход, м³/ч");
    AddLine(u"Подача, м³");
    auto* e = Shown();
    TChartListBox* list = e->LBSeries;
    const auto nodes = [&] {
        std::vector<TChartSeries*> v;
        for (TTreeNode* n = e->SeriesNode->GetFirstChild(); n; n = n->GetNextSibling()) {
            EXPECT_EQ(n->GetText(), SeriesTitleOrName(static_cast<TChartSeries*>(n->GetData())));
            v.push_back(static_cast<TChartSeries*>(n->GetData()));
        }
        return v;
    };
    const auto chartOrder = [&] {
        std::vector<TChartSeries*> v;
        for (int i = 0; i < chart->SeriesCount(); ++i) v.push_back(chart->GetSeries(i));
        return v;
    };
    const std::vector<TChartSeries*> before = chartOrder();
    const struct {
        const char* step;
        int row;          // chosen first
        TControl* button; // clicked, or nullptr for a drag onto the second row
    } steps[] = {{"up from the last", 3, e->BMoveUP},
                 {"down from the first", 0, e->BMoveDown},
                 {"the last dragged onto the second", 3, nullptr}};
    for (const auto& step : steps) {
        probe::ClickItem(*list, step.row);
        if (step.button) {
            probe::Click(*step.button);
        } else {
            const TRect onto = list->ItemRect(1);
            list->DragDrop(list, onto.Left + 60, (onto.Top + onto.Bottom) / 2);
        }
        EXPECT_EQ(nodes(), chartOrder()) << step.step;
    }
    EXPECT_EQ(chartOrder(), (std::vector<TChartSeries*>{before[1], before[2], before[3], before[0]}));
    // A title set anywhere reaches its node too.
    chart->GetSeries(0)->SetTitle(u"Обратка, м³");
    EXPECT_EQ(nodes(), chartOrder()) << "a title changed";
    EXPECT_EQ(e->Tree->GetSelected(), e->SeriesNode);
}

// A series page whose type adds a tab as its "Format" tab is first shown ("Point", for a line):
// the first click on "Format" shows "Format", not the tab shown before.
TEST_F(TreeModeTest, TheFirstClickOnATabOfASeriesOpenedFromTheTreeShowsIt) {
    AddLine(u"Расход, м³/ч");
    AddLine(u"Подача, м³");
    auto* e = Shown();
    e->Tree->SetSelected(Node(u"Подача, м³"));
    TFormZuzSeries* page = e->SeriesForm;
    ASSERT_NE(page, nullptr);
    probe::ChooseTab(*page->TabGeneral);
    e->Tree->SetSelected(Node(u"Расход, м³/ч"));
    probe::ProcessEvents();
    ASSERT_EQ(probe::ShownPage(*page->PageSeries), page->TabGeneral);
    probe::ChooseTab(*page->TheTabSheet);
    probe::ProcessEvents();
    EXPECT_EQ(page->PageSeries->GetPage(1)->GetCaption(), u"Point");
    EXPECT_EQ(page->PageSeries->GetActivePage(), page->TheTabSheet);
    EXPECT_EQ(probe::ShownPage(*page->PageSeries), page->TheTabSheet);
}

TEST_F(TreeModeTest, TheFormIsPutBackTogetherWhenItGoes) {
    auto* e = Shown();
    e->Tree->SetWidth(170);
    e->Tree->SetSelected(Node(u"Legend"));
    e->ResetParentTab(e->SubPage);
    EXPECT_EQ(e->SubPage->GetPage(4), e->TabLegend);
    e->Tree->SetSelected(Node(u"Data"));
    editor.reset();
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKeyReadOnly(u"SOFTWARE\\Dedara Software\\ZarEzodo Vez\\Editor"));
    EXPECT_EQ(reg.ReadInteger(u"TreeWidth"), 170);
    // The width without the tree went back before it was kept: the default is not written.
    EXPECT_FALSE(reg.ValueExists(u"Width"));
}

// ---------------------------------------------------------------------------
// Series groups

class SeriesGroupsTest : public TreeModeTest {
protected:
    void SetUp() override {
        TreeModeTest::SetUp();
        ZuzSaveBoolOption(u"TreeMode", false);
        AddLine(u"Расход, м³/ч");
        boiler = Group(u"Котёл", {0, 1});
        network = Group(u"Сеть", {2});
    }
    std::vector<String> Entries() const {
        std::vector<String> v;
        for (int i = 0; i < editor->Groups->GetItems()->GetCount(); ++i)
            v.push_back(editor->Groups->GetItems()->GetStrings(i));
        return v;
    }
    void Choose(int Index) {
        editor->Groups->SetItemIndex(Index);
        editor->GroupsClick(editor->Groups);
    }
    void Drop(int Series, int Entry) {
        editor->LBSeries->SetSelectedSeries(chart->GetSeries(Series));
        const TRect r = editor->Groups->ItemRect(Entry);
        bool accept = false;
        editor->GroupsDragOver(editor->Groups, editor->LBSeries, r.Left + 5, r.Top + 2, dsDragMove, accept);
        if (accept) editor->GroupsDragDrop(editor->Groups, editor->LBSeries, r.Left + 5, r.Top + 2);
    }
    TChartEditorOptions WithGroups(bool All) {
        TChartEditorOptions o = DefaultChartEditorOptions() + ceGroups;
        return All ? o + ceGroupAll : o - ceGroupAll;
    }

    TSeriesGroup* boiler = nullptr;
    TSeriesGroup* network = nullptr;
};

TEST_F(SeriesGroupsTest, TheAllEntryComesOnlyWithItsOptionAndShiftsTheGroups) {
    auto* e = Shown(WithGroups(false));
    EXPECT_TRUE(e->PanelGroups->GetVisible());
    EXPECT_EQ(Entries(), (std::vector<String>{u"Котёл", u"Сеть"}));
    Choose(0);
    EXPECT_EQ(e->CurrentGroup(), boiler);
    EXPECT_EQ(e->LBSeries->GetItems()->GetCount(), 2);
    EXPECT_TRUE(e->BDeleteGroup->GetEnabled());

    Shown(WithGroups(true));
    EXPECT_EQ(Entries(), (std::vector<String>{u"(all)", u"Котёл", u"Сеть"}));
    EXPECT_EQ(editor->CurrentGroup(), nullptr);
    EXPECT_FALSE(editor->BDeleteGroup->GetEnabled());
    EXPECT_EQ(editor->LBSeries->GetItems()->GetCount(), 3);
    Choose(2);
    EXPECT_EQ(editor->CurrentGroup(), network);
    EXPECT_EQ(editor->LBSeries->GetItems()->GetCount(), 1);

    // Hidden through the View menu; names instead of titles through it too.
    editor->ViewSeriesGroups1Click(editor->ViewSeriesGroups1);
    EXPECT_FALSE(editor->PanelGroups->GetVisible());
    EXPECT_FALSE(editor->EditorOptions.Contains(ceGroups));
    editor->ViewSeriesNames1Click(editor->ViewSeriesNames1);
    EXPECT_TRUE(editor->LBSeries->GetNames());
    EXPECT_EQ(editor->BRenameSeries->GetCaption(), u"&Name...");
    editor->ViewSeriesNames1Click(editor->ViewSeriesNames1);
    EXPECT_EQ(editor->BRenameSeries->GetCaption(), u"&Title...");
}

TEST_F(SeriesGroupsTest, ASeriesDroppedOnAGroupMovesThereButNotOntoItsOwn) {
    auto* e = Shown(WithGroups(true));
    EXPECT_TRUE(e->Groups->OnDragOver && e->Groups->OnDragDrop); // bound by the form resource
    Choose(1);                                                   // "Котёл"
    Drop(0, 1);
    EXPECT_EQ(boiler->GetSeries()->Count(), 2);
    EXPECT_EQ(network->GetSeries()->Count(), 1);
    Drop(0, 2); // onto "Сеть": it moves
    EXPECT_EQ(boiler->GetSeries()->IndexOf(chart->GetSeries(0)), -1);
    EXPECT_NE(network->GetSeries()->IndexOf(chart->GetSeries(0)), -1);
    EXPECT_EQ(e->Groups->GetItemIndex(), 2);
    EXPECT_EQ(e->LBSeries->GetItems()->GetCount(), 2);
    Drop(2, 0); // onto "(all)": out of the group shown
    EXPECT_EQ(network->GetSeries()->Count(), 1);
    EXPECT_EQ(chart->SeriesCount(), 3);
}

TEST_F(SeriesGroupsTest, ADeletedGroupLeavesItsSeriesInTheChartAndInAll) {
    auto* e = Shown(WithGroups(true));
    Choose(1);
    ModalDriver driver;
    driver.Dialog(TDialogKind::MessageDlg, Answered(mrYes));
    e->BDeleteGroupClick(e->BDeleteGroup);
    EXPECT_EQ(Entries(), (std::vector<String>{u"(all)", u"Сеть"}));
    EXPECT_EQ(chart->SeriesCount(), 3);
    Choose(0);
    EXPECT_EQ(e->LBSeries->GetItems()->GetCount(), 3);
}

TEST_F(SeriesGroupsTest, AGroupsMarkSwitchesItsSeriesAndIsGrayedForSome) {
    chart->GetSeries(1)->SetActive(false);
    auto* e = Shown(WithGroups(true));
    EXPECT_EQ(e->Groups->GetState(1), cbGrayed);
    EXPECT_FALSE(e->Groups->GetChecked(0));
    Choose(1);
    e->Groups->SetState(1, cbChecked);
    e->GroupsClickCheck(e->Groups);
    EXPECT_TRUE(chart->GetSeries(1)->GetActive());
    EXPECT_TRUE(e->Groups->GetChecked(0)); // every series is on now
    Choose(0);
    e->Groups->SetChecked(0, false);
    e->GroupsClickCheck(e->Groups);
    for (int s = 0; s < 3; ++s) EXPECT_FALSE(chart->GetSeries(s)->GetActive());
    EXPECT_EQ(e->Groups->GetState(2), cbUnchecked);
}

TEST_F(SeriesGroupsTest, GroupsAreAddedAndRenamedThroughTheInputQuery) {
    auto* e = Shown(WithGroups(false));
    const auto typed = [](const char16_t* Text) {
        TDialogAnswer a = Answered(mrOk);
        a.Value = Text;
        return a;
    };
    // An empty name asks again.
    ModalDriver driver;
    driver.Dialog(TDialogKind::InputQuery, typed(u"")).Dialog(TDialogKind::InputQuery, typed(u"Насосы"));
    e->BAddGroupClick(e->BAddGroup);
    EXPECT_EQ(Entries(), (std::vector<String>{u"Котёл", u"Сеть", u"Насосы"}));
    EXPECT_EQ(e->Groups->GetItemIndex(), 2);
    EXPECT_EQ(e->LBSeries->GetItems()->GetCount(), 0);
    driver.Dialog(TDialogKind::InputQuery, typed(u"Подача"));
    e->BRenameGroupClick(e->BRenameGroup);
    EXPECT_EQ(chart->GetSeriesList()->GetGroups()->Get(2)->GetName(), u"Подача");
    driver.Dialog(TDialogKind::InputQuery, Answered(mrCancel));
    e->BAddGroupClick(e->BAddGroup);
    EXPECT_EQ(chart->GetSeriesList()->GetGroups()->GetCount(), 3);
}

// ---------------------------------------------------------------------------
// Pictures

TEST_F(TreeModeTest, PicturesOfTheTreeAndOfTheGroups) {
    form->SetBounds(40, 40, 1000, 640);
    auto* e = Shown(DefaultChartEditorOptions() + ceGroups + ceGroupAll);
    e->SetLeft(form->GetLeft() + 380);
    e->SetTop(form->GetTop() + 120);
    Group(u"Котёл", {0});
    e->FillGroups();
    const auto keep = [&](const std::string& Name) {
        probe::ProcessEvents();
        const TPoint d = probe::ScreenOrigin(*e), h = probe::ScreenOrigin(*form.get());
        const probe::Picture shot =
            probe::Overlay(probe::Grab(*form.get()), probe::Grab(*e), TPoint(d.X - h.X, d.Y - h.Y));
        EXPECT_TRUE(KeepPicture(shot, Name)) << Name;
    };
    keep("chart-editor-tree-groups-over-chart.png");
    SavePicture(*e, "chart-editor-tree-groups.png");
    e->Tree->SetSelected(Node(u"Bottom Axis"));
    SavePicture(*e, "chart-editor-tree-axis.png");
}

} // namespace
