// The chart editor in tree mode as the X server under a window manager shows it: a node chosen
// with the mouse and the next one with the keyboard show their pages, a series dragged from the
// series list onto a group joins that group, the series list follows clicks and keys on the
// groups, the series buttons follow the rows chosen, a series opened from the tree or the series
// page's chooser is the list's one row chosen, the data page's buttons and navigator show
// themselves, Return, Escape and Tab in the list's title editor and the tree's node editor leave
// the editor open, a series cloned or renamed carries its text in its row and node, a function's
// source buttons show whole, and the panel page's margins show what the chart holds after their
// units change.
#include "chart/editors/zuzeditcha.h"

#include "chart/canvas/zuzcontrols.h"
#include "chart/editors/vediruregrid.h"
#include "chart/editors/zuzediaxis.h"
#include "chart/editors/zuzedipane.h"
#include "chart/editors/zuzediseri.h"
#include "chart/editors/zuzfuncedit.h"
#include "chart/editors/zuzlisb.h"
#include "chart/editors/zuzselectlist.h"
#include "chart/engine/charttitle.h"
#include "chart/engine/serieslist.h"
#include "platform/core/sysutils.h"
#include "platform/gui/buttons.h"
#include "platform/gui/checklst.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/menus.h"
#include "platform/gui/treeview.h"
#include "platform/win32/registry.h"
#include "tests/chart/editors/editformfixture.h"
#include "tests/chart/editors/gridfixture.h"
#include "tests/chart/editors/modaldriver.h"
#include "tests/support/tempdir.h"
#include "tests/support/xserver.h"

#include <tuple>

namespace {

const ::testing::Environment* const kDesktop =
    ::testing::AddGlobalTestEnvironment(new xserver::DesktopEnvironment);

class XTreeMode : public ChartFormTest {
protected:
    void SetUp() override {
        ChartFormTest::SetUp();
        win32::SetRegistryDirectory(registry.path);
        chart->GetTitle()->GetText()->SetText(u"Архив прибора «КРОНТ»");
        AddSeries<TLineSeries>({21, 22, 24, 23, 21}, u"Температура, °C");
        AddSeries<TLineSeries>({11, 12, 10, 9, 12}, u"Давление, кПа");
        chart->GetSeriesList()->AddGroup(u"Котёл")->Add(chart->GetSeries(0));
        form->Show();
        editor.reset(Create<TChartEditForm>(nullptr));
        editor->SetChart(chart);
        editor->EditorOptions = DefaultChartEditorOptions() + ceGroups + ceGroupAll;
    }
    void TearDown() override {
        editor.reset();
        win32::SetRegistryDirectory({});
        ChartFormTest::TearDown();
    }
    static TPoint Middle(const TRect& R) { return TPoint(R.Left + 12, (R.Top + R.Bottom) / 2); }
    TTreeNode* Node(const String& Text) const {
        for (TTreeNode* n = editor->Tree->GetItems()->GetFirstNode(); n; n = n->GetNext())
            if (n->GetText() == Text) return n;
        return nullptr;
    }

    TempDir registry{"moltren-editor-tree-x11"};
    Owned<TChartEditForm> editor;
};

} // namespace

TEST_F(XTreeMode, NodesChosenByMouseAndKeysAndASeriesDraggedOntoAGroup) {
    TChartEditForm* e = editor.get();
    e->Show();
    ASSERT_TRUE(xserver::Activate(*e));
    probe::ProcessEvents();
    ASSERT_TRUE(e->TreeMode());
    TTreeNode* axisNode = nullptr;
    for (TTreeNode* n = e->Tree->GetItems()->GetFirstNode(); n; n = n->GetNext())
        if (n->GetText() == u"Axis") axisNode = n;
    ASSERT_NE(axisNode, nullptr);

    // The "Axis" page by a click, then its first axis by the keyboard.
    ASSERT_TRUE(xserver::Click(*e->Tree, Middle(axisNode->DisplayRect())));
    EXPECT_EQ(e->Tree->GetSelected(), axisNode);
    ASSERT_EQ(e->PagePanel->GetControlCount(), 1);
    EXPECT_EQ(e->PagePanel->GetControl(0), e->TabAxis);
    ASSERT_TRUE(xserver::Type("Right"));
    ASSERT_TRUE(xserver::Type("Down"));
    EXPECT_EQ(e->Tree->GetSelected(), axisNode->GetFirstChild());
    auto* axes = dynamic_cast<TFormZuzAxis*>(e->PageForm(e->TabAxis));
    ASSERT_NE(axes, nullptr);
    EXPECT_EQ(axes->GetAxis(), chart->GetLeftAxis());
    EXPECT_EQ(e->PagePanel->GetControl(0), axes->PageAxis);
    xserver::Keep(xserver::Picture(*e), "chart-editor-tree-left-axis");

    // Back on the series list, the pressure series dragged onto "Котёл".
    ASSERT_TRUE(xserver::Click(*e->Tree, Middle(e->SeriesNode->DisplayRect())));
    ASSERT_EQ(e->PagePanel->GetControl(0), e->TabSeriesList);
    probe::ProcessEvents();
    const TRect from = e->LBSeries->ItemRect(1);
    const TRect onto = e->Groups->ItemRect(1);
    const TPoint target = e->LBSeries->ScreenToClient(e->Groups->ClientToScreen(Middle(onto)));
    ASSERT_TRUE(xserver::Drag(*e->LBSeries, TPoint(from.Right - 20, (from.Top + from.Bottom) / 2), target));
    TSeriesGroup* boiler = chart->GetSeriesList()->GetGroups()->Get(0);
    EXPECT_EQ(boiler->GetSeries()->Count(), 2);
    EXPECT_EQ(e->Groups->GetItemIndex(), 1);
    EXPECT_EQ(e->LBSeries->GetItems()->GetCount(), 2);
    EXPECT_TRUE(requests.empty()); // nothing went wrong on the way
    xserver::Keep(xserver::Picture(*e), "chart-editor-tree-groups-dropped");
}

// The data page's buttons show pictures, and the navigator marks the button the keyboard has
// with a dotted frame inside it, only while the navigator has the focus.
TEST_F(XTreeMode, TheDataPageShowsPicturesAndTheNavigatorMarksItsFocusedButton) {
    TChartEditForm* e = editor.get();
    e->Show();
    ASSERT_TRUE(xserver::Activate(*e));
    probe::ProcessEvents();
    TTreeNode* data = Node(u"Data");
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(xserver::Click(*e->Tree, Middle(data->DisplayRect())));
    ASSERT_EQ(e->PagePanel->GetControl(0), e->TabData);
    probe::ProcessEvents();
    const probe::Picture colours = xserver::Picture(*e->SBGridCol);
    // The colours button's picture: a red square at its top left.
    EXPECT_EQ(colours.Pixel(colours.Width() / 2 - 4, colours.Height() / 2 - 4), (probe::Rgb{255, 0, 0}));

    TChartGridNavigator* nav = e->ChartGridNavigator1;
    // Which of the four buttons show the mark: the left side of a frame 3 pixels inside, every
    // other pixel of it changed.
    auto marked = [&] {
        probe::ProcessEvents();
        std::vector<int> out;
        for (int i = nbFirst; i <= nbLast; ++i) {
            const probe::Picture b = xserver::Picture(*nav->GetButton(static_cast<TZuzNavigateBtn>(i)));
            int dots = 0, runs = 0;
            for (int y = 4; y < b.Height() - 4; ++y) {
                const bool dot = b.Pixel(3, y) != b.Pixel(1, y);
                dots += dot;
                runs += dot && b.Pixel(3, y + 1) != b.Pixel(1, y + 1);
            }
            if (dots >= 3 && runs == 0) out.push_back(i);
        }
        return out;
    };
    EXPECT_EQ(marked(), std::vector<int>{});
    nav->SetFocus();
    ASSERT_TRUE(probe::WaitFor([&] { return nav->Focused(); }));
    EXPECT_EQ(marked(), std::vector<int>{nbFirst});
    ASSERT_TRUE(xserver::Type("Right"));
    EXPECT_EQ(marked(), std::vector<int>{nbPrior});
    xserver::Keep(xserver::Picture(*e), "chart-editor-data-page-navigator-focus");
    e->ChartGrid1->SetFocus();
    ASSERT_TRUE(probe::WaitFor([&] { return !nav->Focused(); }));
    EXPECT_EQ(marked(), std::vector<int>{});
}

// On a desktop, the series list follows clicks on the groups at once: a group's mark that
// switches its series off unticks their rows, and a press on the mark of a group not chosen yet
// chooses it, as one on its text does, before the mark changes; a key chooses as a click does.
TEST_F(XTreeMode, TheSeriesListFollowsClicksAndKeysOnTheGroups) {
    if (!xserver::RunWindowManager()) GTEST_SKIP() << "no window manager (openbox): run scripts/setup";
    TChartEditForm* e = editor.get();
    e->Show();
    ASSERT_TRUE(xserver::Activate(*e));
    probe::ProcessEvents();
    TCheckListBox* groups = e->Groups;
    TChartListBox* list = e->LBSeries;
    {
        ModalDriver driver;
        TDialogAnswer named = Answered(mrOk);
        named.Value = u"G1";
        driver.Dialog(TDialogKind::InputQuery, named);
        ASSERT_TRUE(xserver::Click(*e->BAddGroup, TPoint(10, 10)));
        // A loaded server may hand a click over late: each step waits for what it brings.
        // The list: "(all)", "Котёл", "G1".
        ASSERT_TRUE(probe::WaitFor([&] { return groups->GetItems()->GetCount() == 3; }));
    }
    const auto text = [&](int Item) {
        const TPoint m = Middle(groups->ItemRect(Item));
        return TPoint(m.X + 30, m.Y);
    };
    const auto mark = [&](int Item) {
        const TRect r = groups->ItemRect(Item);
        return TPoint(r.Left + 9, (r.Top + r.Bottom) / 2);
    };
    // Whether the series list shows its row ticked: dark pixels inside the check box.
    const auto ticked = [&](int Row) {
        probe::ProcessEvents();
        const probe::Picture shot = xserver::Picture(*list);
        const TRect r = list->ItemRect(Row);
        const int left = list->SectionLeft(TChartListBox::secCheck) + 2, top = r.Top + (r.Height() - 13) / 2;
        int dark = 0;
        for (int y = top + 3; y < top + 10; ++y)
            for (int x = left + 3; x < left + 10; ++x) {
                const probe::Rgb p = shot.Pixel(x, y);
                dark += p.r + p.g + p.b < 200;
            }
        return dark > 4;
    };
    ASSERT_TRUE(xserver::Click(*groups, text(0)));
    ASSERT_TRUE(probe::WaitFor([&] { return list->GetItems()->GetCount() == 2; }));
    const TRect from = list->ItemRect(1);
    ASSERT_TRUE(xserver::Drag(*list, TPoint(from.Right - 20, (from.Top + from.Bottom) / 2),
                              list->ScreenToClient(groups->ClientToScreen(text(2)))));
    TChartSeries* pressure = chart->GetSeries(1);
    TSeriesGroup* g1 = chart->GetSeriesList()->GetGroups()->Get(1);
    ASSERT_TRUE(probe::WaitFor([&] { return g1->GetSeries()->IndexOf(pressure) != -1; }));
    ASSERT_TRUE(xserver::Click(*groups, text(2)));
    ASSERT_TRUE(probe::WaitFor([&] { return list->GetItems()->GetCount() == 1; }));
    ASSERT_EQ(list->GetSeries(0), pressure);
    EXPECT_TRUE(probe::WaitFor([&] { return ticked(0); }));
    ASSERT_TRUE(xserver::Click(*groups, mark(2)));
    ASSERT_TRUE(probe::WaitFor([&] { return !pressure->GetActive(); }));
    EXPECT_TRUE(probe::WaitFor([&] { return !ticked(0); }));
    xserver::Keep(xserver::Picture(*e), "chart-editor-groups-G1-unticked");

    ASSERT_TRUE(xserver::Click(*groups, text(0)));
    ASSERT_TRUE(probe::WaitFor([&] { return list->GetItems()->GetCount() == 2; }));
    ASSERT_TRUE(xserver::Click(*groups, mark(2)));
    ASSERT_TRUE(probe::WaitFor([&] { return pressure->GetActive(); }));
    EXPECT_EQ(groups->GetItemIndex(), 2);
    EXPECT_EQ(list->GetItems()->GetCount(), 1);
    EXPECT_TRUE(probe::WaitFor([&] { return ticked(0); }));
    xserver::Keep(xserver::Picture(*e), "chart-editor-groups-G1-mark-clicked-from-all");

    // Down from "(all)" chooses "Котёл" as a click on it does: the list shows its series only,
    // and the group may be renamed and deleted.
    ASSERT_TRUE(xserver::Click(*groups, text(0)));
    ASSERT_TRUE(probe::WaitFor([&] { return list->GetItems()->GetCount() == 2; }));
    EXPECT_FALSE(e->BDeleteGroup->GetEnabled());
    ASSERT_TRUE(xserver::Type("Down"));
    EXPECT_EQ(groups->GetItemIndex(), 1);
    ASSERT_EQ(list->GetItems()->GetCount(), 1);
    EXPECT_EQ(list->GetSeries(0), chart->GetSeries(0));
    EXPECT_TRUE(e->BDeleteGroup->GetEnabled());
    EXPECT_TRUE(e->BRenameGroup->GetEnabled());
    xserver::Keep(xserver::Picture(*e), "chart-editor-groups-after-Down");
}

// The series buttons follow the rows chosen by clicks and by keys: one row allows renaming,
// cloning and a move towards the other end, two rows neither. The series opened last, from the
// tree, the series page's chooser or a double-click, is the one row chosen when the list is back,
// and the only one «Delete» asks about.
TEST_F(XTreeMode, TheSeriesButtonsFollowTheRowsChosen) {
    if (!xserver::RunWindowManager()) GTEST_SKIP() << "no window manager (openbox): run scripts/setup";
    TChartEditForm* e = editor.get();
    e->EditorOptions = DefaultChartEditorOptions();
    e->Show();
    ASSERT_TRUE(xserver::Activate(*e));
    probe::ProcessEvents();
    TChartListBox* list = e->LBSeries;
    ASSERT_EQ(e->PagePanel->GetControl(0), e->TabSeriesList);
    ASSERT_EQ(list->GetItems()->GetCount(), 2);
    // A row's title, at a point of its own for each click, so that no two make a double-click.
    int x = 0;
    const auto title = [&](int Row) {
        const TRect last = list->ItemRect(list->GetItems()->GetCount() - 1);
        const TRect r = Row < list->GetItems()->GetCount()
                            ? list->ItemRect(Row)
                            : TRect(last.Left, last.Bottom, last.Right, last.Bottom + last.Height());
        x = (x + 17) % 90;
        return TPoint(list->SectionLeft(TChartListBox::secTitle) + 10 + x, (r.Top + r.Bottom) / 2);
    };
    const auto buttons = [&] { return SeriesButtonsOn(*e); };
    TChartSeries* const first = chart->GetSeries(0);
    const struct {
        const char* step;
        int row;          // clicked (past the last: below the rows), or -1
        const char* keys; // typed, or held while clicking
        const char* buttons = nullptr;
        TControl* button = nullptr; // clicked instead of a row
        int dragged = -1;           // the row dragged onto Row instead of a click
    } steps[] = {
        {"click on the first", 0, "", "1101"},
        {"click on the second", 1, "", "1110"},
        {"click on the first", 0, "", "1101"},
        {"Down", -1, "Down", "1110"},
        {"Up", -1, "Up", "1101"},
        {"ctrl+click on the second", 1, "ctrl", "0000"},
        {"click on the second", 1, "", "1110"},
        {"shift+click on the first", 0, "shift", "0000"},
        {"click below the rows", 2, "", "1101"},
        {"shift+click on the second", 1, "shift", "0000"},
        {"ctrl+click on the first", 0, "ctrl", "1101"},
        // The series moved is the one chosen, alone, as after a click on it.
        {"click on the last", 1, "", "1110"},
        {"up from the last", -1, "", "1101", e->BMoveUP},
        {"down from the first", -1, "", "1110", e->BMoveDown},
        {"the last dragged onto the first", 0, "", "1101", nullptr, 1},
    };
    for (const auto& step : steps) {
        if (step.button)
            ASSERT_TRUE(xserver::Click(*step.button, TPoint(8, 8))) << step.step;
        else if (step.dragged >= 0)
            ASSERT_TRUE(xserver::Drag(*list, title(step.dragged), title(step.row))) << step.step;
        else if (step.row < 0)
            ASSERT_TRUE(xserver::Type(step.keys)) << step.step;
        else
            ASSERT_TRUE(xserver::Click(*list, title(step.row), 1, step.keys)) << step.step;
        // A loaded server may hand a click over late: the buttons are waited for.
        EXPECT_TRUE(probe::WaitFor([&] { return buttons() == step.buttons; }))
            << step.step << ": " << buttons();
        EXPECT_TRUE(e->BDeleteSeries->GetEnabled()) << step.step;
        if (step.button == e->BMoveUP)
            xserver::Keep(xserver::Picture(*e), "chart-editor-moved-up-from-the-last");
    }
    // Three moves: the series that was first is second now.
    EXPECT_EQ(chart->GetSeries(1), first);
    EXPECT_EQ(list->GetSelCount(), 1);

    // Five series, S1 to S5.
    for (const char16_t* t : {u"Расход, м³/ч", u"Подача, м³", u"Обратка, м³"})
        AddSeries<TLineSeries>({1, 2}, t);
    ASSERT_TRUE(probe::WaitFor([&] { return e->SeriesNode->GetCount() == 5; }));
    const auto chosen = [&] {
        std::string rows;
        for (int i = 0; i < list->GetItems()->GetCount(); ++i) rows += list->GetSelected(i) ? "1" : "0";
        return rows + " " + std::to_string(list->GetItemIndex());
    };
    const auto node = [&](int Row) { // the series of the row, or the series list for -1
        if (Row < 0) return e->SeriesNode;
        TTreeNode* n = e->SeriesNode->GetFirstChild();
        while (n && n->GetData() != list->GetSeries(Row)) n = n->GetNextSibling();
        return n;
    };
    enum How { kClick, kDoubleClick, kTree, kChooser };
    const struct {
        const char* step;
        How how;
        int row;                      // clicked or opened from the tree (-1: the series list's node)
        const char* chosen = nullptr; // once the list is shown: the rows chosen and the current one
        const char* buttons = nullptr;
        bool deleted = false; // «Delete» clicked then, and answered No
    } visits[] = {
        {"S2 from the tree", kTree, 1},
        {"the series list from the tree", kTree, -1, "01000 1", "1111"},
        {"click on S5", kClick, 4, "00001 4", "1110"},
        {"S4 from the tree", kTree, 3},
        {"S1 from the tree", kTree, 0},
        {"the series list from the tree", kTree, -1, "10000 0", "1101", true},
        {"click on S2", kClick, 1, "01000 1", "1111"},
        {"S1 from the tree", kTree, 0},
        {"S3 from the tree", kTree, 2},
        {"the series list from the tree", kTree, -1, "00100 2", "1111"},
        {"click on S1", kClick, 0, "10000 0", "1101"},
        {"S2 from the tree", kTree, 1},
        {"Down in the chooser: S3", kChooser, 0},
        {"the series list from the tree", kTree, -1, "00100 2", "1111"},
        {"double-click on S4", kDoubleClick, 3},
        {"the series list from the tree", kTree, -1, "00010 3", "1111"},
    };
    for (const auto& step : visits) {
        if (step.how == kTree) {
            ASSERT_NE(node(step.row), nullptr) << step.step;
            ASSERT_TRUE(xserver::Click(*e->Tree, Middle(node(step.row)->DisplayRect()))) << step.step;
        } else if (step.how == kChooser) {
            ASSERT_TRUE(xserver::Focus(*e->SeriesForm->CBSeries)) << step.step;
            ASSERT_TRUE(xserver::Type("Down")) << step.step;
        } else {
            ASSERT_TRUE(xserver::Click(*list, title(step.row), step.how == kDoubleClick ? 2 : 1))
                << step.step;
        }
        TControl* const page = step.chosen ? static_cast<TControl*>(e->TabSeriesList) : e->TabSeries;
        ASSERT_TRUE(probe::WaitFor([&] { return e->PagePanel->GetControl(0) == page && page->GetShowing(); }))
            << step.step;
        if (!step.chosen) continue;
        EXPECT_TRUE(probe::WaitFor([&] { return chosen() == step.chosen && buttons() == step.buttons; }))
            << step.step << ": " << chosen() << ", " << buttons();
        if (!step.deleted) continue;
        xserver::Keep(xserver::Picture(*e), "chart-editor-series-list-after-tree-visits");
        // «Delete» asks about the series opened last, alone.
        ModalDriver driver;
        driver.Dialog(TDialogKind::MessageDlg, Answered(mrNo), [&](const TDialogRequest& r) {
            EXPECT_EQ(r.Text, u"Delete " + list->GetItems()->GetStrings(0) + u" ?");
        });
        ASSERT_TRUE(xserver::Click(*e->BDeleteSeries, TPoint(8, 8)));
        ASSERT_TRUE(probe::WaitFor([&] { return driver.Pending() == 0; }));
        EXPECT_EQ(chart->SeriesCount(), 5);
    }
    EXPECT_TRUE(requests.empty());
}

// An editor in place takes its own Return, Escape and Tab: they end the editing only, and the
// chart editor, whose Close button is both the default and the cancel button, stays. Return, Tab
// and (in the series list's title editor) Down keep the text typed, Escape the old one; the list's
// row renamed stays chosen, and Tab in the tree goes on to edit the next series' node.
TEST_F(XTreeMode, ReturnEscapeAndTabInAnEditorInPlaceEndTheEditingOnly) {
    if (!xserver::RunWindowManager()) GTEST_SKIP() << "no window manager (openbox): run scripts/setup";
    TChartEditForm* e = editor.get();
    e->Show();
    ASSERT_TRUE(xserver::Activate(*e));
    probe::ProcessEvents();
    TChartListBox* list = e->LBSeries;
    TChartSeries* first = chart->GetSeries(0);
    const TRect row = list->ItemRect(0);
    ASSERT_TRUE(xserver::Click(*list, TPoint(list->SectionLeft(TChartListBox::secTitle) + 30, row.Top + 6)));
    for (const auto& [keys, title] :
         {std::pair{"F2 End 2 Return", u"Температура, °C2"},
          std::pair{"F2 End 3 Escape", u"Температура, °C2"}, std::pair{"F2 End 4 Down", u"Температура, °C24"},
          std::pair{"F2 End 5 Tab", u"Температура, °C245"}}) {
        ASSERT_TRUE(xserver::Type(keys)) << keys;
        EXPECT_EQ(first->GetTitle(), title) << keys;
        EXPECT_FALSE(list->GetEditor()->GetVisible()) << keys;
        EXPECT_EQ(list->GetItemIndex(), 0) << keys; // the row renamed stays chosen
        EXPECT_TRUE(list->Focused()) << keys;
        EXPECT_EQ(e->GetModalResult(), mrNone) << keys;
    }
    xserver::Keep(xserver::Picture(*e), "chart-editor-after-return-in-the-title-editor");

    TTreeNode* node = e->SeriesNode->GetFirstChild();
    ASSERT_NE(node, nullptr);
    TTreeNode* next = node->GetNextSibling();
    ASSERT_NE(next, nullptr);
    const String text = node->GetText(), nextText = next->GetText();
    e->SetTreeWidth(240); // the whole title in sight
    ASSERT_TRUE(xserver::Click(*e->Tree, Middle(node->DisplayRect())));
    ASSERT_TRUE(xserver::Type("F2 End 7"));
    EXPECT_TRUE(e->Tree->IsEditing());
    xserver::Keep(xserver::Picture(*e), "chart-editor-tree-node-editor-open");
    for (const auto& [keys, typed, shot] :
         {std::tuple{"Return", u"7", "chart-editor-tree-after-return-in-the-node-editor"},
          std::tuple{"F2 End 8 Escape", u"7", "chart-editor-tree-after-escape-in-the-node-editor"},
          std::tuple{"F2 End 9 Tab Escape", u"79", "chart-editor-tree-after-tab-in-the-node-editor"}}) {
        ASSERT_TRUE(xserver::Type(keys)) << keys;
        EXPECT_EQ(node->GetText(), text + typed) << keys;
        EXPECT_EQ(next->GetText(), nextText) << keys;
        EXPECT_FALSE(e->Tree->IsEditing()) << keys;
        EXPECT_EQ(e->GetModalResult(), mrNone) << keys;
        xserver::Keep(xserver::Picture(*e), shot);
    }
    EXPECT_EQ(e->Tree->GetSelected(), next); // Tab went on to the next node
    // Once no editor is open, Escape is the Close button's again.
    ASSERT_TRUE(xserver::Type("Escape"));
    EXPECT_TRUE(probe::WaitFor([&] { return e->GetModalResult() == mrCancel; }));
}

// A series cloned, or renamed by the list's button, shows its title or its new name in its row and
// its tree node at once; the node renamed is the one it was, and the list stays chosen in the tree.
TEST_F(XTreeMode, AClonedOrRenamedSeriesCarriesItsTextInItsRowAndNode) {
    if (!xserver::RunWindowManager()) GTEST_SKIP() << "no window manager (openbox): run scripts/setup";
    // Named, as the series of a chart file are.
    chart->GetSeries(0)->SetName(u"Series1");
    chart->GetSeries(1)->SetName(u"Series2");
    TChartEditForm* e = editor.get();
    e->EditorOptions = DefaultChartEditorOptions();
    e->Show();
    ASSERT_TRUE(xserver::Activate(*e));
    probe::ProcessEvents();
    TChartListBox* list = e->LBSeries;
    const auto nodeOf = [&](TChartSeries* Series) -> TTreeNode* {
        for (TTreeNode* n = e->SeriesNode->GetFirstChild(); n; n = n->GetNextSibling())
            if (n->GetData() == Series) return n;
        return nullptr;
    };
    const TRect row = list->ItemRect(1);
    ASSERT_TRUE(xserver::Click(*list, TPoint(list->SectionLeft(TChartListBox::secTitle) + 30, row.Top + 6)));
    ASSERT_TRUE(xserver::Click(*e->BCloneSeries, TPoint(8, 8)));
    ASSERT_TRUE(probe::WaitFor([&] { return chart->SeriesCount() == 3; }));
    TChartSeries* clone = chart->GetSeries(2);
    EXPECT_EQ(clone->GetTitle(), u"Давление, кПа");
    EXPECT_EQ(list->GetItems()->GetStrings(2), u"Давление, кПа");
    ASSERT_NE(nodeOf(clone), nullptr);
    EXPECT_EQ(nodeOf(clone)->GetText(), u"Давление, кПа");

    // In names mode the button renames the series: no title event tells the tree.
    e->ViewSeriesNames1Click(e->ViewSeriesNames1);
    ASSERT_TRUE(xserver::Click(*list, TPoint(list->SectionLeft(TChartListBox::secTitle) + 30, row.Top + 6)));
    TChartSeries* pressure = chart->GetSeries(1);
    TTreeNode* node = nodeOf(pressure);
    ASSERT_NE(node, nullptr);
    const String before = node->GetText();
    TTreeNode* chosen = e->Tree->GetSelected();
    ModalDriver driver;
    TDialogAnswer named = Answered(mrOk);
    named.Value = u"Davlenie";
    driver.Dialog(TDialogKind::InputQuery, named);
    ASSERT_TRUE(xserver::Click(*e->BRenameSeries, TPoint(8, 8)));
    ASSERT_TRUE(probe::WaitFor([&] { return pressure->GetName() == u"Davlenie"; }));
    EXPECT_NE(before, u"Davlenie");
    EXPECT_EQ(nodeOf(pressure), node);
    EXPECT_EQ(node->GetText(), u"Davlenie");
    EXPECT_EQ(e->Tree->GetSelected(), chosen);
    EXPECT_EQ(e->PagePanel->GetControl(0), e->TabSeriesList);
    xserver::Keep(xserver::Picture(*e), "chart-editor-after-clone-and-rename");
}

// A function series' sources in the editor at its first size: the selector's four buttons lie whole
// inside the page that shows them, where a click reaches them.
TEST_F(XTreeMode, TheFunctionSourceButtonsLieWholeInsideTheEditorsPage) {
    TChartSeries* mean = AddSeries<TLineSeries>({}, u"Среднее");
    // In tree mode and on tabs, where a row of tabs more leaves the page lower.
    for (const bool tree : {true, false}) {
        ZuzSaveBoolOption(u"TreeMode", tree);
        editor.reset(Create<TChartEditForm>(nullptr));
        editor->SetChart(chart);
        TChartEditForm* e = editor.get();
        e->Show();
        ASSERT_TRUE(xserver::Activate(*e));
        probe::ProcessEvents();
        if (tree) {
            e->SelectTreeNodeData(mean);
        } else {
            e->LBSeries->SetSelectedSeries(mean);
            probe::ChooseTab(*e->TabSeries);
        }
        probe::ProcessEvents();
        TFormZuzSeries* page = e->SeriesForm;
        ASSERT_NE(page, nullptr);
        probe::ChooseTab(*page->TabDataSource);
        probe::Choose(*page->CBDataSourcestyle, 3); // "Function"
        auto* functions = dynamic_cast<TZuzFuncEditor*>(page->GetDataSourceForm());
        ASSERT_NE(functions, nullptr);
        ASSERT_NE(functions->Selector(), nullptr);
        ASSERT_TRUE(probe::WaitFor([&] { return probe::Shown(*functions->Selector()->BLeftAll); }));
        xserver::Keep(xserver::Picture(*e),
                      tree ? "chart-editor-function-sources" : "chart-editor-function-sources-tabs");
        const TWinControl* shown = functions->PageControl1->GetActivePage();
        const TPoint bottom = shown->ClientToScreen(TPoint(0, shown->GetClientHeight()));
        for (const TButton* b : {functions->Selector()->BRightOne, functions->Selector()->BRightAll,
                                 functions->Selector()->BLeftOne, functions->Selector()->BLeftAll})
            EXPECT_LE(b->ClientToScreen(TPoint(0, b->GetHeight())).Y, bottom.Y)
                << UTF8Encode(b->GetCaption()) << (tree ? " in tree mode" : " on tabs");
    }
}

// The panel page's margins after Pixels and back to Percent by keys: the margins keep their width
// on the chart as far as percent holds them, the boxes show what the chart holds, and a margin
// typed next is taken.
TEST_F(XTreeMode, TheMarginsAfterPixelsAndBackShowWhatTheChartHolds) {
    if (!xserver::RunWindowManager()) GTEST_SKIP() << "no window manager (openbox): run scripts/setup";
    TChartEditForm* e = editor.get();
    e->Show();
    e->SetBounds(0, 520, e->GetWidth(), e->GetHeight()); // the chart in sight above it
    ASSERT_TRUE(xserver::Activate(*e));
    probe::ProcessEvents();
    TTreeNode* panel = Node(u"Panel");
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(xserver::Click(*e->Tree, Middle(panel->DisplayRect())));
    auto* page = dynamic_cast<TFormZuzPanel*>(e->PageForm(e->TabPanel));
    ASSERT_NE(page, nullptr);
    probe::ChooseTab(*page->TabMargins);
    ASSERT_TRUE(xserver::Focus(*page->CBMarUnits));
    ASSERT_TRUE(xserver::Type("Down"));
    ASSERT_EQ(chart->GetMarginUnits(), muPixels);
    ASSERT_TRUE(xserver::Focus(*page->SELeftMa));
    ASSERT_TRUE(xserver::Type("ctrl+a minus 2 0"));
    ASSERT_TRUE(xserver::Focus(*page->SERightMa));
    ASSERT_TRUE(xserver::Type("ctrl+a 1 5 0"));
    ASSERT_EQ(chart->GetMarginLeft(), -20);
    ASSERT_EQ(chart->GetMarginRight(), 150);
    xserver::Keep(xserver::Picture(*e), "chart-editor-margins-in-pixels");
    xserver::Keep(xserver::Picture(*chart), "chart-margins-in-pixels");
    ASSERT_TRUE(xserver::Focus(*page->CBMarUnits));
    ASSERT_TRUE(xserver::Type("Up"));
    ASSERT_EQ(chart->GetMarginUnits(), muPercent);
    probe::ProcessEvents();
    xserver::Keep(xserver::Picture(*e), "chart-editor-margins-back-in-percent");
    xserver::Keep(xserver::Picture(*chart), "chart-margins-back-in-percent");
    EXPECT_EQ(chart->GetMarginLeft(), 0);
    EXPECT_NEAR(chart->GetMarginRight(), 150 * 100.0 / chart->GetWidth(), 0.5);
    EXPECT_EQ(page->SELeftMa->GetText(), IntToStr(chart->GetMarginLeft()));
    EXPECT_EQ(page->SERightMa->GetText(), IntToStr(chart->GetMarginRight()));
    ASSERT_TRUE(xserver::Focus(*page->SELeftMa));
    ASSERT_TRUE(xserver::Type("ctrl+a 5"));
    EXPECT_EQ(chart->GetMarginLeft(), 5);
    EXPECT_EQ(page->SELeftMa->GetText(), u"5");
    EXPECT_TRUE(requests.empty());
}
