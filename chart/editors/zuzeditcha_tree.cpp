// The chart editor's tree mode: pages and the chart's elements chosen from a tree instead of
// tabs, each shown on the page panel beside it.

#include "chart/editors/zuzeditcha.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzprocs.h"
#include "chart/editors/zuzediaxis.h"
#include "chart/editors/zuzediseri.h"
#include "chart/editors/zuzedititl.h"
#include "chart/editors/zuzedittools.h"
#include "chart/editors/zuzediwall.h"
#include "chart/editors/zuzlisb.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/engine/axispanel.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/charttitle.h"
#include "chart/engine/chartwalls.h"
#include "chart/engine/zuzfunction.h"
#include "platform/core/sysutils.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/splitter.h"
#include "platform/gui/treeview.h"

#include <algorithm>
#include <array>

bool TChartEditForm::TreeMode() const {
    return Tree && Tree->GetVisible();
}

void TChartEditForm::ReadTreeOptions() {
    Tree->SetVisible(ZuzReadBoolOption(u"TreeMode", true));
    Tree->SetWidth(ZuzReadIntegerOption(u"TreeWidth", Tree->GetWidth()));
}

void TChartEditForm::SetTreeWidth(int Value) {
    Tree->SetWidth(std::max(10, Value));
}

void TChartEditForm::SaveTreeWidth() {
    if (!TreeMode()) return;
    ResetParentTab(MainPage);
    ResetParentTab(SubPage);
    // The form's width without the tree is the one remembered, so the tree is not added twice.
    if (PagePanel) SetWidth(WidthWithoutTree);
    ZuzSaveIntegerOption(u"TreeWidth", Tree->GetWidth());
}

// ---------------------------------------------------------------------------
// Building the tree

namespace {

// The sheets of each page control in their designed order: a sheet lent to the page panel
// has left its page control, so its home and its place there are known from here.
std::array<TTabSheet*, 6> MainSheets(const TChartEditForm* F) {
    return {F->TabChart, F->TabSeries, F->TabData, F->TabTools, F->TabExport, F->TabPrint};
}

bool IsSubSheet(const TChartEditForm* F, const TTabSheet* Tab) {
    const auto sheets = F->ChartSubPages();
    return std::find(sheets.begin(), sheets.end(), Tab) != sheets.end();
}

// Puts a sheet back into its page control (or, already there, back in order) at its designed
// place among those at home.
template <std::size_t N>
void SheetHome(TPageControl* Pages, const std::array<TTabSheet*, N>& Sheets, TTabSheet* Tab) {
    if (Tab->GetParent() != Pages) {
        Tab->SetAlign(alNone);
        Tab->SetParent(Pages);
        // The page control shows its active sheet, hidden behind another page or not.
        Tab->SetVisible(true);
    }
    int place = 0;
    for (TTabSheet* s : Sheets) {
        if (s == Tab) break;
        if (s->GetParent() == Pages) ++place;
    }
    Tab->SetPageIndex(place);
}

void SheetHome(TChartEditForm* F, TTabSheet* Tab) {
    if (IsSubSheet(F, Tab))
        SheetHome(F->SubPage, F->ChartSubPages(), Tab);
    else
        SheetHome(F->MainPage, MainSheets(F), Tab);
}

bool AnyVisibleBesides(TPageControl* Pages, const TTabSheet* Except) {
    for (int i = 0; i < Pages->GetPageCount(); ++i)
        if (Pages->GetPage(i) != Except && Pages->GetPage(i)->GetTabVisible()) return true;
    return false;
}

} // namespace

void TChartEditForm::PrepareTree() {
    if (!PagePanel) {
        TreeSplitter->Show();
        WidthWithoutTree = GetWidth();
        SetWidth(GetWidth() + Tree->GetWidth() + TreeSplitter->GetWidth());
        ButtonHelp->SetLeft(16);
        MainPage->Hide();
        PagePanel = Create<TPanel>(this);
        PagePanel->SetParent(this);
        PagePanel->SetAlign(alClient);
        PagePanel->SetBevelOuter(bvNone);
    } else {
        // Shown again: every page goes home before the tree is built anew.
        TakeOffPagePanel();
        ResetParentTab(MainPage);
        ResetParentTab(SubPage);
    }
    TTreeNodes* items = Tree->GetItems();
    SeriesNode = nullptr;
    ToolsNode = nullptr;
    items->Clear();
    TCustomChart* chart = GetChart();

    if (TabSeriesList->GetTabVisible() || TabSeries->GetTabVisible()) {
        SeriesNode = items->AddObject(nullptr, TabSeriesList->GetCaption(), TabSeriesList);
        AddSeriesNodes();
        if (chart->SeriesCount() < 11) SeriesNode->Expand(false);
    }

    if (AnyVisibleBesides(SubPage, TabSeriesList)) {
        TTreeNode* chartNode = items->AddObject(nullptr, TabChart->GetCaption(), SubPage);
        for (int i = 1; i < SubPage->GetPageCount(); ++i) {
            TTabSheet* page = SubPage->GetPage(i);
            if (!page->GetTabVisible()) continue;
            TTreeNode* node = items->AddChildObject(chartNode, page->GetCaption(), page);
            const auto add = [&](const String& Text, TObject* Data) {
                items->AddChildObject(node, Text, Data);
            };
            if (page == TabAxis) {
                add(VavIve_LeftAxis, chart->GetLeftAxis());
                add(VavIve_RightAxis, chart->GetRightAxis());
                add(VavIve_TopAxis, chart->GetTopAxis());
                add(VavIve_BottomAxis, chart->GetBottomAxis());
                add(VavIve_DepthAxis, chart->GetDepthAxis());
                add(VavIve_DepthTopAxis, chart->GetDepthTopAxis());
                TChartAxes* axes = chart->GetAxes();
                for (int a = 6; a < axes->Count(); ++a)
                    add(VavIve_CustomAxesEditor + IntToStr(a - 6), axes->Get(a));
            } else if (page == TabTitle) {
                add(VavIve_Title, chart->GetTitle());
                add(VavIve_SubTitle, chart->GetSubTitle());
                add(VavIve_SubFoot, chart->GetSubFoot());
                add(VavIve_Foot, chart->GetFoot());
            } else if (page == TabWalls) {
                add(u"Left", chart->GetLeftWall());
                add(u"Right", chart->GetRightWall());
                add(u"Bottom", chart->GetBottomWall());
                add(u"Back", chart->GetBackWall());
            }
        }
        chartNode->Expand(false);
    }

    for (int i = 2; i < MainPage->GetPageCount(); ++i) {
        TTabSheet* page = MainPage->GetPage(i);
        if (!page->GetTabVisible()) continue;
        TTreeNode* node = items->AddObject(nullptr, page->GetCaption(), page);
        if (page != TabTools) continue;
        ToolsNode = node;
        TChartTools* tools = chart->GetTools();
        for (int t = 0; t < tools->Count(); ++t)
            if (tools->Get(t)->GetActive())
                items->AddChildObject(node, tools->Get(t)->Description(), tools->Get(t));
    }

    if (SeriesNode) Tree->SetSelected(SeriesNode);
    if (Tree->CanFocus()) Tree->SetFocus();
}

namespace {

bool HasSeriesNode(const TChartSeries* Series) {
    return Series && (Series->GetComponentState().Contains(csDesigning) || Series->GetShowInEditor());
}

} // namespace

void TChartEditForm::AddSeriesNodes() {
    if (!TreeMode() || !SeriesNode) return;
    SeriesNode->DeleteChildren();
    TStrings* rows = LBSeries->GetItems();
    for (int i = 0; i < rows->GetCount(); ++i)
        if (HasSeriesNode(LBSeries->GetSeries(i)))
            Tree->GetItems()->AddChildObject(SeriesNode, rows->GetStrings(i), LBSeries->GetSeries(i));
}

void TChartEditForm::TitleSeriesNodes() {
    if (!SeriesNode) return;
    TStrings* rows = LBSeries->GetItems();
    for (TTreeNode* node = SeriesNode->GetFirstChild(); node; node = node->GetNextSibling())
        if (const int row = rows->IndexOfObject(node->GetData());
            row >= 0 && node->GetText() != rows->GetStrings(row))
            node->SetText(rows->GetStrings(row));
}

bool TChartEditForm::SeriesNodesFollowList() const {
    if (!SeriesNode) return true;
    TTreeNode* node = SeriesNode->GetFirstChild();
    for (int i = 0; i < LBSeries->GetItems()->GetCount(); ++i) {
        TChartSeries* s = LBSeries->GetSeries(i);
        if (!HasSeriesNode(s)) continue;
        if (!node || node->GetData() != s) return false;
        node = node->GetNextSibling();
    }
    return !node;
}

// ---------------------------------------------------------------------------
// Choosing a node

// Parts of page forms shown on the page panel go back where they came from; anything else
// shown there is only taken off.
void TChartEditForm::TakeOffPagePanel() {
    if (!PagePanel) return;
    const std::vector<TControl*> shown(PagePanel->Controls().begin(), PagePanel->Controls().end());
    for (TControl* c : shown) {
        const auto lent = std::find_if(FLentParts.begin(), FLentParts.end(),
                                       [c](const TLentPart& p) { return p.Control == c; });
        if (lent == FLentParts.end()) {
            c->SetParent(nullptr);
            continue;
        }
        c->SetAlign(lent->Align);
        c->SetParent(lent->Home);
        c->SetBoundsRect(lent->Bounds);
        FLentParts.erase(lent);
    }
}

void TChartEditForm::ShowOnPagePanel(TControl* Control, bool Lent) {
    if (Lent)
        FLentParts.push_back({Control, Control->GetParent(), Control->GetAlign(), Control->GetBoundsRect()});
    Control->SetParent(PagePanel);
    Control->SetAlign(alClient);
    Control->Show();
}

// Activates a page in its page control as the tabs would, the page control being where the
// tabs have it.
void TChartEditForm::ActivateTreePage(TTabSheet* Tab) {
    if (IsSubSheet(this, Tab)) {
        SubPage->SetParent(TabChart);
        SubPage->SetAlign(alClient);
        SheetHome(this, Tab);
        if (TCustomForm* form = PageForm(Tab)) form->SetParent(Tab);
        SubPage->SetActivePage(Tab);
        SubPageChange(this);
    } else {
        SheetHome(this, Tab);
        if (Tab == TabTools && GetToolsForm()) GetToolsForm()->SetParent(TabTools);
        MainPage->SetActivePage(Tab);
        MainPageChange(MainPage);
    }
}

void TChartEditForm::TreeChange(TObject*, TTreeNode* Node) {
    if (!PagePanel) return;
    const TRestoreOnExit<bool> changing(FTreeChanging, true);
    TakeOffPagePanel();
    if (!Node || !Node->GetData()) return;
    TObject* data = Node->GetData();
    if (auto* tab = dynamic_cast<TTabSheet*>(data)) {
        ActivateTreePage(tab);
        ShowOnPagePanel(tab, false);
        if (tab == TabSeriesList) {
            if (LBSeries->CanFocus()) LBSeries->SetFocus();
            LBSeries->Repaint();
            SeriesListShown();
        }
    } else if (auto* series = dynamic_cast<TChartSeries*>(data)) {
        TreeSelectSeries(series);
    } else if (data == SubPage) {
        ResetParentTab(SubPage);
        ShowOnPagePanel(SubPage, false);
        SubPageChange(this);
    } else if (auto* tool = dynamic_cast<TZuzCustomTool*>(data)) {
        ActivateTreePage(TabTools);
        if (!GetToolsForm()) CreateToolsForm();
        TFormZuzTools* tools = GetToolsForm();
        if (tools->LBTools->GetItems()->GetCount() == 0) tools->FormShow(tools);
        tools->LBTools->SetItemIndex(tools->LBTools->GetItems()->IndexOfObject(tool));
        tools->LBToolsClick(tools->LBTools);
        ShowOnPagePanel(tools->PanelToolEditor, true);
    } else if (auto* axis = dynamic_cast<TChartAxis*>(data)) {
        ActivateTreePage(TabAxis);
        if (auto* form = dynamic_cast<TFormZuzAxis*>(PageForm(TabAxis))) {
            form->SetAxis(axis);
            // Lent without its form ever showing, the page fills its axes list here.
            if (form->LBAxes->GetItems()->GetCount() == 0) form->FormShow(form);
            form->LBAxes->SetItemIndex(Node->GetIndex());
            form->PageAxisChange(form->PageAxis);
            ShowOnPagePanel(form->PageAxis, true);
        }
    } else if (dynamic_cast<TChartTitle*>(data)) {
        ActivateTreePage(TabTitle);
        if (auto* form = dynamic_cast<TFormZuzTitle*>(PageForm(TabTitle))) {
            form->CBTitles->SetItemIndex(Node->GetIndex());
            ShowOnPagePanel(form->PageControlTitle, true);
            form->CBTitlesChange(form->CBTitles);
            // Lent without its form ever showing, the page would stay loading and its boxes
            // would write nothing into the title.
            form->FormShow(form);
        }
    } else if (auto* wall = dynamic_cast<TCustomChartWall*>(data)) {
        ActivateTreePage(TabWalls);
        ShowOnPagePanel(TabWalls, false);
        if (auto* form = dynamic_cast<TFormZuzWall*>(PageForm(TabWalls))) form->RefreshControls(wall);
    }
}

void TChartEditForm::TreeSelectSeries(TChartSeries* Series) {
    SubPage->SetParent(TabChart);
    SubPage->SetAlign(alClient);
    SheetHome(this, TabSeriesList);
    TabSeriesList->Show();
    if (SeriesForm) {
        bool allow = true;
        SeriesForm->PageSeriesChanging(this, allow);
        if (!allow) return;
    }
    ShowOnPagePanel(TabSeries, false);
    // The series opened is the list's one row chosen when the list is back: rows chosen before
    // would go with it into the list's next Delete.
    LBSeries->ChooseOnly(LBSeries->GetItems()->IndexOfObject(Series));
    SetTabSeries();
    TabSeries->Show();
    if (SeriesForm) SeriesForm->PageSeriesChange(SeriesForm->PageSeries);
}

void TChartEditForm::SelectTreeNodeData(TObject* Data) {
    // While a node is being shown, the pages it activates must not choose another node.
    if (!TreeMode() || FTreeChanging) return;
    for (TTreeNode* n = Tree->GetItems()->GetFirstNode(); n; n = n->GetNext())
        if (n->GetData() == Data) {
            if (!n->GetSelected()) Tree->SetSelected(n);
            return;
        }
}

TTreeNode* TChartEditForm::TreeNodeCurrentSeries() const {
    if (!SeriesNode) return nullptr;
    TChartSeries* s = LBSeries->GetSelectedSeries();
    for (TTreeNode* n = SeriesNode->GetFirstChild(); n; n = n->GetNextSibling())
        if (n->GetData() == s) return n;
    return nullptr;
}

void TChartEditForm::TreeEditing(TObject*, TTreeNode* Node, bool& AllowEdit) {
    AllowEdit = SeriesNode && Node && Node->GetParent() == SeriesNode;
}

void TChartEditForm::ResetParentTab(TPageControl* Pages) {
    TakeOffPagePanel();
    if (Pages == SubPage) {
        for (TTabSheet* tab : ChartSubPages()) SheetHome(SubPage, ChartSubPages(), tab);
    } else {
        for (TTabSheet* tab : MainSheets(this)) SheetHome(MainPage, MainSheets(this), tab);
    }
    for (TTabSheet* tab : {TabAxis, TabTitle})
        if (TCustomForm* form = PageForm(tab)) form->SetParent(tab);
    if (GetToolsForm()) GetToolsForm()->SetParent(TabTools);
    SubPage->SetParent(TabChart);
    SubPage->SetAlign(alClient);
}

void TChartEditForm::ToolsFormAddedTool(TZuzCustomTool* Tool) {
    if (ToolsNode) Tree->GetItems()->AddChildObject(ToolsNode, Tool->Description(), Tool);
}

void TChartEditForm::ToolsFormDeletedTool(TZuzCustomTool* Tool) {
    if (!ToolsNode) return;
    for (TTreeNode* n = ToolsNode->GetFirstChild(); n; n = n->GetNextSibling())
        if (n->GetData() == Tool) {
            n->Delete();
            return;
        }
}

void TChartEditForm::FormResize(TObject*) {
    if (TreeMode() && PagePanel) WidthWithoutTree = GetWidth() - Tree->GetWidth() - TreeSplitter->GetWidth();
}

void TChartEditForm::CreateToolsForm() {
    FToolsForm = Create<TFormZuzTools>(this);
    FToolsForm->Tools = GetChart() ? GetChart()->GetTools() : nullptr;
    FToolsForm->SetAlign(alClient);
    FToolsForm->OnAddedTool.Bind(this, &TChartEditForm::ToolsFormAddedTool);
    FToolsForm->OnDeletedTool.Bind(this, &TChartEditForm::ToolsFormDeletedTool);
    AddFormTo(FToolsForm, TabTools, GetChart());
    if (StartTool) {
        const int row = FToolsForm->LBTools->GetItems()->IndexOfObject(StartTool);
        if (row >= 0) {
            FToolsForm->LBTools->SetItemIndex(row);
            FToolsForm->LBToolsClick(FToolsForm->LBTools);
        }
        StartTool = nullptr;
    }
}
