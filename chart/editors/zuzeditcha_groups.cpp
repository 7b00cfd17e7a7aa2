// The chart editor's series groups: a check list beside the series list whose entry chooses
// the series shown, whose marks switch a group's series, and onto which series are dragged.

#include "chart/editors/zuzeditcha.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzlisb.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/engine/axispanel.h"
#include "chart/engine/chart.h"
#include "chart/engine/serieslist.h"
#include "platform/gui/buttons.h"
#include "platform/gui/checklst.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/menus.h"
#include "platform/gui/splitter.h"

#include <algorithm>

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
    if (TCustomChart* chart = GetChart()) {
        TChartSeriesList* list = chart->GetSeriesList();
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

void TChartEditForm::GroupsClickCheck(TObject*) {
    const int index = Groups->GetItemIndex();
    if (index < 0 || !GetChart()) return;
    TChartSeriesList* list = GetChart()->GetSeriesList();
    if (index < DeltaGroup()) {
        list->SetAllActive(Groups->GetChecked(index));
        FillGroups();
    } else {
        const TCheckBoxState state = Groups->GetState(index);
        CurrentGroup()->SetActive(state == cbChecked ? gaYes : state == cbUnchecked ? gaNo : gaSome);
        if (DeltaGroup() > 0) Groups->SetChecked(0, list->GetAllActive());
    }
    EnableGroupButtons();
}

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

void TChartEditForm::BAddGroupClick(TObject*) {
    if (!GetChart()) return;
    String name;
    bool ok;
    do {
        name.clear();
        ok = InputQuery(VavIve_AddNewGroup, VavIve_GroupName, name);
    } while (ok && name.empty());
    if (!ok) return;
    GetChart()->GetSeriesList()->AddGroup(name);
    FillGroups();
    Groups->SetItemIndex(Groups->GetItems()->GetCount() - 1);
    GroupsClick(Groups);
}

void TChartEditForm::BRenameGroupClick(TObject*) {
    TSeriesGroup* group = CurrentGroup();
    if (!group) return;
    String name = Groups->GetItems()->GetStrings(Groups->GetItemIndex());
    if (!InputQuery(VavIve_ChangeGroupName, VavIve_GroupName, name)) return;
    group->SetName(name);
    FillGroups();
}

void TChartEditForm::BDeleteGroupClick(TObject*) {
    TSeriesGroup* group = CurrentGroup();
    if (!group || !ZuzYesNoDelete(Groups->GetItems()->GetStrings(Groups->GetItemIndex()), this)) return;
    // The list lets go of the group before it goes; its series stay in the chart.
    LBSeries->SetGroup(nullptr);
    GetChart()->GetSeriesList()->GetGroups()->Delete(group->GetIndex());
    FillGroups();
}

namespace {

TChartSeries* DraggedSeries(TObject* Source) {
    auto* list = dynamic_cast<TChartListBox*>(Source);
    return list ? list->GetSelectedSeries() : nullptr;
}

} // namespace

void TChartEditForm::GroupsDragOver(TObject*, TObject* Source, int X, int Y, TDragState, bool& Accept) {
    const int index = Groups->ItemAtPos(TPoint(X, Y), true);
    Accept = index != -1 && dynamic_cast<TChartListBox*>(Source) && GetChart();
    if (!Accept || index < DeltaGroup()) return;
    TChartSeries* series = DraggedSeries(Source);
    TSeriesGroup* group = GetChart()->GetSeriesList()->GetGroups()->Get(index - DeltaGroup());
    Accept = series && group->GetSeries()->IndexOf(series) == -1;
}

void TChartEditForm::GroupsDragDrop(TObject*, TObject* Source, int X, int Y) {
    const int index = Groups->ItemAtPos(TPoint(X, Y), true);
    TChartSeries* series = DraggedSeries(Source);
    if (index < 0 || !series || !GetChart()) return;
    TSeriesGroup* current = CurrentGroup();
    if (index < DeltaGroup()) {
        if (current) current->GetSeries()->Remove(series);
    } else {
        TSeriesGroup* target = GetChart()->GetSeriesList()->GetGroups()->Get(index - DeltaGroup());
        if (target->GetSeries()->IndexOf(series) != -1) return; // already there: nothing moves
        target->Add(series);
        if (current) current->GetSeries()->Remove(series);
    }
    FillGroups();
    Groups->SetItemIndex(index);
    GroupsClick(Groups);
}

void TChartEditForm::ViewSeriesGroups1Click(TObject*) {
    ViewSeriesGroups1->SetChecked(!ViewSeriesGroups1->GetChecked());
    if (ViewSeriesGroups1->GetChecked())
        EditorOptions.Include(ceGroups);
    else
        EditorOptions.Exclude(ceGroups);
    ShowHideGroups();
    SpeedSeries->SetDown(false);
}

void TChartEditForm::ViewSeriesNames1Click(TObject*) {
    ViewSeriesNames1->SetChecked(!ViewSeriesNames1->GetChecked());
    const bool names = ViewSeriesNames1->GetChecked();
    TabSeriesBackOnMainPage();
    LBSeries->SetNames(names);
    BRenameSeries->SetCaption(ZuzTranslateString(names ? u"&Name..." : u"&Title..."));
    SpeedSeries->SetDown(false);
}

void TChartEditForm::SpeedSeriesMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    const TPoint at = SpeedSeries->ClientToScreen(TPoint(0, SpeedSeries->GetHeight()));
    PopupSeries->Popup(at.X, at.Y);
}
