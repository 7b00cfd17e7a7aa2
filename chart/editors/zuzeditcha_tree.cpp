// The chart editor's tree mode (pages chosen from a tree instead of tabs) and its series
// groups (a check list beside the series list).

#include "chart/editors/zuzeditcha.h"

#include "chart/canvas/zuzconst.h"
#include "chart/editors/zuzedittools.h"
#include "chart/editors/zuzlisb.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/engine/axispanel.h"
#include "chart/engine/chart.h"
#include "chart/engine/serieslist.h"
#include "chart/engine/zuzfunction.h"
#include "platform/gui/buttons.h"
#include "platform/gui/checklst.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/splitter.h"

#include <algorithm>

bool TChartEditForm::TreeMode() const {
    return false;
}

void TChartEditForm::ReadTreeOptions() {}

void TChartEditForm::SetTreeWidth(int) {}

void TChartEditForm::SaveTreeWidth() {}

void TChartEditForm::PrepareTree() {}

void TChartEditForm::AddSeriesNodes() {}

void TChartEditForm::TreeChange(TObject*, TTreeNode*) {}

void TChartEditForm::TreeEditing(TObject*, TTreeNode*, bool& AllowEdit) {
    AllowEdit = false;
}

void TChartEditForm::TreeSelectSeries(TChartSeries*) {}

void TChartEditForm::SelectTreeNodeData(TObject*) {}

TTreeNode* TChartEditForm::TreeNodeCurrentSeries() const {
    return nullptr;
}

void TChartEditForm::ResetParentTab(TPageControl*) {}

void TChartEditForm::FormResize(TObject*) {}

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

void TChartEditForm::ToolsFormAddedTool(TZuzCustomTool*) {}

void TChartEditForm::ToolsFormDeletedTool(TZuzCustomTool*) {}

void TChartEditForm::ShowHideGroups() {
    const bool show = EditorOptions.Contains(ceGroups);
    ShowControls(show, {BAddGroup, BDeleteGroup, BRenameGroup, PanelGroups, Splitter1});
    if (show) FillGroups();
    SpeedSeries->SetLeft(LBSeries->GetLeft());
}

void TChartEditForm::FillGroups() {
    TStrings* items = Groups->GetItems();
    const int index = std::max(Groups->GetItemIndex(), 0);
    items->Clear();
    TChartSeriesList* list = GetChart() ? GetChart()->GetSeriesList() : nullptr;
    if (list) {
        if (EditorOptions.Contains(ceGroupAll)) {
            items->Add(VavIve_All);
            Groups->SetChecked(0, list->GetAllActive());
        }
        TSeriesGroups* groups = list->GetGroups();
        for (int g = 0; g < groups->GetCount(); ++g) {
            TSeriesGroup* group = groups->Get(g);
            const int at = items->Add(group->GetName());
            const TSeriesGroupActive active = group->GetActive();
            Groups->SetState(at, active == gaYes ? cbChecked : active == gaNo ? cbUnchecked : cbGrayed);
        }
    }
    Groups->SetItemIndex(std::min(index, items->GetCount() - 1));
    GroupsClick(Groups);
}

void TChartEditForm::GroupsClick(TObject*) {
    LBSeries->SetGroup(CurrentGroup());
    EnableGroupButtons();
}

void TChartEditForm::GroupsClickCheck(TObject*) {}

void TChartEditForm::EnableGroupButtons() {
    const bool group = Groups->GetItemIndex() >= DeltaGroup();
    BDeleteGroup->SetEnabled(group);
    BRenameGroup->SetEnabled(group);
}

TSeriesGroup* TChartEditForm::CurrentGroup() const {
    const int group = Groups->GetItemIndex() - DeltaGroup();
    if (Groups->GetItemIndex() < 0 || group < 0 || !GetChart()) return nullptr;
    return GetChart()->GetSeriesList()->GetGroups()->Get(group);
}

int TChartEditForm::DeltaGroup() const {
    return EditorOptions.Contains(ceGroupAll) ? 1 : 0;
}

void TChartEditForm::BAddGroupClick(TObject*) {}

void TChartEditForm::BRenameGroupClick(TObject*) {}

void TChartEditForm::BDeleteGroupClick(TObject*) {}

void TChartEditForm::GroupsDragOver(TObject*, TObject*, int, int, TDragState, bool& Accept) {
    Accept = false;
}

void TChartEditForm::GroupsDragDrop(TObject*, TObject*, int, int) {}

void TChartEditForm::ViewSeriesGroups1Click(TObject*) {}

void TChartEditForm::ViewSeriesNames1Click(TObject*) {}

void TChartEditForm::SpeedSeriesMouseDown(TObject*, TMouseButton, TShiftState, int, int) {}
