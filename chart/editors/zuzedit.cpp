#include "chart/editors/zuzedit.h"

#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzediaxis.h"
#include "chart/editors/zuzediseri.h"
#include "chart/editors/zuzeditcha.h"
#include "chart/editors/zuzedititl.h"
#include "chart/editors/zuzlisb.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/charttitle.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/treeview.h"

#include <algorithm>
#include <utility>

template <>
const EnumInfo& EnumInfoOf<TChartEditorOption>() {
    static const EnumInfo info{"TChartEditorOption",
                               {"ceAdd", "ceDelete", "ceChange", "ceClone", "ceDataSource", "ceTitle",
                                "ceHelp", "ceGroups", "ceGroupAll", "ceOrderSeries", "ceAskDelete"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TChartEditorTab>() {
    static const EnumInfo info{"TChartEditorTab",
                               {"cetMain", "cetGeneral", "cetAxis", "cetTitles", "cetLegend", "cetPanel",
                                "cetPaging", "cetWalls", "cet3D", "cetSeriesGeneral", "cetSeriesMarks",
                                "cetAllSeries", "cetSeriesData", "cetExport", "cetExportNative", "cetTools",
                                "cetPrintPreview"}};
    return info;
}

namespace {

TCustomChart* ChartOf(TChartSeries* Series) {
    return Series ? dynamic_cast<TCustomChart*>(Series->GetParentChart()) : nullptr;
}

// The chart while an editor is open on it. With Hold it does not repaint until released,
// and then gets its flag back and is drawn once. However the editor ends, an exception
// included, the flag comes back, and the click that closed the editor is not taken as a click
// on the chart.
class TChartWhileEditing {
public:
    TChartWhileEditing(TCustomChart* Chart, bool Hold)
        : FChart(Chart), FHeld(Hold), FSaved(Chart->AutoRepaint) {
        if (FHeld) FChart->AutoRepaint = false;
    }
    ~TChartWhileEditing() {
        Release();
        FChart->CancelMouse = true;
    }
    TChartWhileEditing(const TChartWhileEditing&) = delete;
    TChartWhileEditing& operator=(const TChartWhileEditing&) = delete;

    void Release() {
        if (!std::exchange(FHeld, false)) return;
        FChart->AutoRepaint = FSaved;
        FChart->Invalidate();
    }

private:
    TCustomChart* FChart;
    bool FHeld;
    bool FSaved;
};

} // namespace

// ---------------------------------------------------------------------------
// TChartEditor

const ClassInfo& TChartEditor::StaticClass() {
    using E = TChartEditor;
    using C = TCustomChartEditor;
    static const PropInfo props[] = {
        MakeProp<&E::GetAutoRepaint, &E::SetAutoRepaint>("AutoRepaint").Default(true),
        MakeProp<&E::GetDefaultTab, &E::SetDefaultTab>("DefaultTab").Default(cetMain),
        MakeProp<&E::GetHideTabs, &E::SetHideTabs>("HideTabs").Default(0),
        MakeProp<&E::GetHighLightTabs, &E::SetHighLightTabs>("HighLightTabs").Default(false),
        MakeProp<&E::GetOptions, &E::SetOptions>("Options").Default(
            static_cast<std::int64_t>(DefaultChartEditorOptions().Bits())),
        MakeProp<&E::GetPixelsPerInch, &E::SetPixelsPerInch>("PixelsPerInch").Default(0),
        MakeProp<&E::GetRememberPosition, &E::SetRememberPosition>("RememberPosition").Default(false),
        MakeProp<&E::GetSeries, &E::SetSeries>("Series"),
        MakeProp<&C::GetTitle, &C::SetTitle>("Title"),
        MakeProp<&E::GetTreeView, &E::SetTreeView>("TreeView").Default(false),
        MakeProp<&E::OnChangeSeriesOrder>("OnChangeSeriesOrder"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TChartEditor>("TChartEditor", &TCustomChartEditor::StaticClass(), props);
    return ci;
}

TChartEditor::TChartEditor(TComponent* AOwner) : TCustomChartEditor(AOwner) {}

TChartEditor::~TChartEditor() = default;

// A scale read from a file is held to the span of display scalings, half to five times the
// standard 96 pixels per inch: a wild one would make the editor's window nothing at all, or ask
// for more memory than there is.
void TChartEditor::SetPixelsPerInch(int Value) {
    FPixelsPerInch = Value <= 0 ? 0 : std::clamp(Value, 48, 480);
}

void TChartEditor::SetSeries(TChartSeries* Value) {
    if (Value == FSeries) return;
    if (FSeries) FSeries->RemoveFreeNotification(this);
    FSeries = Value;
    if (!FSeries) return;
    FSeries->FreeNotification(this);
    TCustomChart* chart = ChartOf(FSeries);
    if (GetChart() && chart != GetChart()) SetChart(chart);
}

void TChartEditor::SetChart(TCustomChart* Value) {
    TCustomChartEditor::SetChart(Value);
    if (GetChart() && FSeries && ChartOf(FSeries) != GetChart()) SetSeries(nullptr);
}

void TChartEditor::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomChartEditor::Notification(AComponent, Operation);
    if (Operation == opRemove && FSeries && AComponent == FSeries) SetSeries(nullptr);
}

void TChartEditor::ChangeSeriesOrder(TObject* Sender, TChartSeries* Series1, TChartSeries* Series2) {
    if (OnChangeSeriesOrder) OnChangeSeriesOrder(Sender, Series1, Series2);
}

void TChartEditor::Prepare(TChartEditForm* Form) {
    if (Form->Tree) Form->Tree->SetVisible(FTreeView);
    Form->RememberPosition = FRememberPosition;
    Form->SetCaption(GetTitle());
    Form->EditorOptions = FOptions;
    Form->SetChart(GetChart());
    Form->HighlightTabs = FHighLightTabs;
    Form->StartSeries = FSeries;
    Form->CheckHelpFile();
    Form->StartPage = FDefaultTab;
    Form->HiddenTabs = FHideTabs;
    Form->LBSeries->OnChangeOrder.Bind(this, &TChartEditor::ChangeSeriesOrder);
}

void TChartEditor::Execute() {
    TCustomChart* chart = GetChart();
    if (!chart) return;
    Owned<TChartEditForm> form(Create<TChartEditForm>(nullptr));
    Prepare(form.get());
    if (OnShow) OnShow(form.get());
    TChartWhileEditing editing(chart, !FAutoRepaint);
    ZuzTranslateControl(form.get());
    if (FPixelsPerInch != 0 && FPixelsPerInch != form->GetPixelsPerInch())
        ZuzScaleFormBy(form.get(), FPixelsPerInch, form->GetPixelsPerInch());
    form->ShowModal();
    editing.Release();
    if (OnClose) OnClose(form.get());
}

// ---------------------------------------------------------------------------
// TChartEditorPanel

template <>
const EnumInfo& EnumInfoOf<TDragMode>() {
    static const EnumInfo info{"TDragMode", {"dmManual", "dmAutomatic"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TDragKind>() {
    static const EnumInfo info{"TDragKind", {"dkDrag", "dkDock"}};
    return info;
}

const ClassInfo& TPanelSizeConstraints::StaticClass() {
    using C = TPanelSizeConstraints;
    static const PropInfo props[] = {
        MakeProp<&C::GetMaxHeight, &C::SetMaxHeight>("MaxHeight").Default(0),
        MakeProp<&C::GetMaxWidth, &C::SetMaxWidth>("MaxWidth").Default(0),
        MakeProp<&C::GetMinHeight, &C::SetMinHeight>("MinHeight").Default(0),
        MakeProp<&C::GetMinWidth, &C::SetMinWidth>("MinWidth").Default(0),
    };
    static const ClassInfo ci = MakeClassInfo<C>("TSizeConstraints", &TPersistent::StaticClass(), props);
    return ci;
}

void TPanelSizeConstraints::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TPanelSizeConstraints*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    FMaxHeight = src->FMaxHeight;
    FMaxWidth = src->FMaxWidth;
    FMinHeight = src->FMinHeight;
    FMinWidth = src->FMinWidth;
}

const ClassInfo& TChartEditorPanel::StaticClass() {
    using P = TChartEditorPanel;
    static const PropInfo props[] = {
        MakeProp<&P::GetBevelOuter, &P::SetBevelOuter>("BevelOuter").Default(bvLowered),
        MakeProp<&P::GetChart, &P::SetChart>("Chart"),
        MakeProp<&P::GetUseDockManager, &P::SetUseDockManager>("UseDockManager").Default(true),
        MakeProp<&P::GetDockSite, &P::SetDockSite>("DockSite").Default(false),
        MakeProp<&P::GetDragCursor, &P::SetDragCursor>("DragCursor").Default(crDrag),
        MakeProp<&P::GetDragMode, &P::SetDragMode>("DragMode").Default(dmManual),
        MakeProp<&P::GetAutoSize, &P::SetAutoSize>("AutoSize").Default(false),
        MakeProp<&P::GetConstraints, &P::SetConstraints>("Constraints"),
        MakeProp<&P::GetDragKind, &P::SetDragKind>("DragKind").Default(dkDrag),
        MakeProp<&P::GetLocked, &P::SetLocked>("Locked").Default(false),
    };
    static const ClassInfo ci =
        MakeClassInfo<TChartEditorPanel>("TChartEditorPanel", &TCustomPanelNoCaption::StaticClass(), props);
    return ci;
}

TChartEditorPanel::TChartEditorPanel(TComponent* AOwner) : TCustomPanelNoCaption(AOwner) {
    SetBevelOuter(bvLowered);
    SetBounds(GetLeft(), GetTop(), 409, 291);
}

void TChartEditorPanel::AfterConstruction() {
    TCustomPanelNoCaption::AfterConstruction();
    // A designer shows the empty panel; the editor is there at run time only.
    if (GetComponentState().Contains(csDesigning)) return;
    FEditor = Create<TChartEditForm>(this);
    ZuzTranslateControl(FEditor);
    FEditor->RememberPosition = false;
    FEditor->RememberSize = false;
    FEditor->SetBorderStyle(bsNone);
    FEditor->PanBottom->SetVisible(false);
    // Placed before it is made visible, so it never shows as a window of its own; it shows
    // whenever the panel does.
    FEditor->SetAlign(alClient);
    FEditor->SetParent(this);
    FEditor->SetVisible(true);
}

void TChartEditorPanel::SetChart(TCustomChart* Value) {
    if (Value == FChart) return;
    if (FChart) FChart->RemoveFreeNotification(this);
    FChart = Value;
    if (FChart) FChart->FreeNotification(this);
    if (!FEditor) return;
    FEditor->SetChart(FChart);
    // The editor fills its tree, list and pages for its chart as it shows; one already showing
    // (a chart given or changed once the form is up) is filled now, or it stays empty.
    if (FChart && FEditor->GetShowing()) FEditor->FormShow(FEditor);
}

void TChartEditorPanel::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomPanelNoCaption::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FEditor) FEditor = nullptr;
    if (FChart && AComponent == FChart) SetChart(nullptr);
}

void TChartEditorPanel::ShowingChanged() {
    TCustomPanelNoCaption::ShowingChanged();
    if (TWinControl* parent = GetParent()) parent->UpdateControlState();
}

void TChartEditorPanel::ShowSubPage(TTabSheet* Tab) {
    FEditor->MainPage->SetActivePage(FEditor->TabChart);
    FEditor->SubPage->SetActivePage(Tab);
    FEditor->SubPageChange(FEditor);
}

void TChartEditorPanel::SelectUnderMouse() {
    if (!FChart || !FEditor) return;
    TChartClickedPart part;
    FChart->CalcClickedPart(FChart->GetCursorPos(), part);
    // The tree shows the page of the node chosen, whatever the hidden page controls hold.
    if (FEditor->TreeMode()) {
        ShowInTree(part);
        return;
    }
    switch (part.Style) {
    case cpLegend:
        ShowSubPage(FEditor->TabLegend);
        break;
    case cpAxis: {
        FEditor->MainPage->SetActivePage(FEditor->TabChart);
        FEditor->StartAxis = part.AAxis;
        FEditor->SubPage->SetActivePage(FEditor->TabAxis);
        FEditor->SubPageChange(FEditor);
        if (auto* axisForm = dynamic_cast<TFormZuzAxis*>(FEditor->PageForm(FEditor->TabAxis))) {
            axisForm->SetAxis(part.AAxis);
            axisForm->FormShow(FEditor);
        }
        break;
    }
    case cpSeries:
    case cpSeriesMarks:
        FEditor->MainPage->SetActivePage(FEditor->TabSeries);
        FEditor->MainPageChange(FEditor);
        FEditor->StartSeries = part.ASeries;
        if (FEditor->SeriesForm) FEditor->SeriesForm->TheSeries = part.ASeries;
        FEditor->LBSeries->FillSeries(part.ASeries);
        FEditor->SetTabSeries();
        if (part.Style == cpSeriesMarks && FEditor->SeriesForm) {
            TFormZuzSeries* page = FEditor->SeriesForm;
            page->PageSeries->SetActivePage(page->TabMarks);
            page->PageSeriesChange(FEditor);
        }
        break;
    case cpTitle:
    case cpFoot:
    case cpSubTitle:
    case cpSubFoot: {
        ShowSubPage(FEditor->TabTitle);
        if (auto* titleForm = dynamic_cast<TFormZuzTitle*>(FEditor->PageForm(FEditor->TabTitle))) {
            // The page's title list picks the title: Title, SubTitle, SubFoot, Foot.
            const int line = part.Style == cpTitle      ? 0
                             : part.Style == cpSubTitle ? 1
                             : part.Style == cpSubFoot  ? 2
                                                        : 3;
            titleForm->CBTitles->SetItemIndex(line);
            titleForm->CBTitlesChange(FEditor);
            titleForm->FormShow(FEditor);
        }
        break;
    }
    default: // nothing, the chart's rectangle, an axis title
        ShowSubPage(FEditor->TabPanel);
        break;
    }
}

void TChartEditorPanel::ShowInTree(const TChartClickedPart& Part) {
    TObject* node = FEditor->TabPanel;
    switch (Part.Style) {
    case cpLegend:
        node = FEditor->TabLegend;
        break;
    case cpAxis:
        node = Part.AAxis;
        break;
    case cpSeries:
    case cpSeriesMarks:
        node = Part.ASeries;
        break;
    case cpTitle:
        node = FChart->GetTitle();
        break;
    case cpSubTitle:
        node = FChart->GetSubTitle();
        break;
    case cpSubFoot:
        node = FChart->GetSubFoot();
        break;
    case cpFoot:
        node = FChart->GetFoot();
        break;
    default: // nothing, the chart's rectangle, an axis title
        break;
    }
    FEditor->SelectTreeNodeData(node);
    if (Part.Style == cpSeriesMarks && FEditor->SeriesForm) {
        TFormZuzSeries* page = FEditor->SeriesForm;
        page->PageSeries->SetActivePage(page->TabMarks);
        page->PageSeriesChange(FEditor);
    }
}

void RegisterChartEditorClasses() {
    RegisterClasses({&TChartEditor::StaticClass(), &TChartEditorPanel::StaticClass()});
}
