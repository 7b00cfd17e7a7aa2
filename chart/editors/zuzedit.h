#pragma once
// The chart editor's launchers that live beside a chart: a component that opens the editor
// modally with the choices it was given (which options, which tabs, which tab first, tree or
// tabs), and a panel that holds one editor for good and can jump to the page of the chart part
// under the mouse. Neither edits anything itself: they fill the editor's start-up fields.
// Also the editor's option and tab sets, which whoever fills those fields names.

#include "chart/canvas/zuzprocs.h"
#include "chart/editors/zuzlisb.h" // TChangeOrderEvent, raised by the editor's series list
#include "chart/series/zuzedit.h"

#include <cstdint>

class TChartEditForm;
struct TChartClickedPart;
class TChartSeries;
class TTabSheet;

// What the user may do in the editor (bit order as stored).
enum TChartEditorOption : std::uint8_t {
    ceAdd,
    ceDelete,
    ceChange,
    ceClone,
    ceDataSource,
    ceTitle,
    ceHelp,
    ceGroups,
    ceGroupAll,
    ceOrderSeries,
    ceAskDelete
};
template <>
const EnumInfo& EnumInfoOf<TChartEditorOption>();
using TChartEditorOptions = Set<TChartEditorOption>;
// Everything but the series groups (stored as 1919).
constexpr TChartEditorOptions DefaultChartEditorOptions() {
    return TChartEditorOptions::FromBits(1919);
}

// The editor's pages; 0-8 are the chart's sub-pages in their order.
enum TChartEditorTab : std::uint8_t {
    cetMain,
    cetGeneral,
    cetAxis,
    cetTitles,
    cetLegend,
    cetPanel,
    cetPaging,
    cetWalls,
    cet3D,
    cetSeriesGeneral,
    cetSeriesMarks,
    cetAllSeries,
    cetSeriesData,
    cetExport,
    cetExportNative,
    cetTools,
    cetPrintPreview
};
template <>
const EnumInfo& EnumInfoOf<TChartEditorTab>();
using TChartEditorHiddenTabs = Set<TChartEditorTab>;

class TChartEditor : public TCustomChartEditor {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TChartEditor(TComponent* AOwner);
    ~TChartEditor() override;

    bool GetAutoRepaint() const { return FAutoRepaint; }
    void SetAutoRepaint(bool Value) { FAutoRepaint = Value; }
    TChartEditorTab GetDefaultTab() const { return FDefaultTab; }
    void SetDefaultTab(TChartEditorTab Value) { FDefaultTab = Value; }
    TChartEditorHiddenTabs GetHideTabs() const { return FHideTabs; }
    void SetHideTabs(TChartEditorHiddenTabs Value) { FHideTabs = Value; }
    bool GetHighLightTabs() const { return FHighLightTabs; }
    void SetHighLightTabs(bool Value) { FHighLightTabs = Value; }
    TChartEditorOptions GetOptions() const { return FOptions; }
    void SetOptions(TChartEditorOptions Value) { FOptions = Value; }
    int GetPixelsPerInch() const { return FPixelsPerInch; }
    // 0 (or less) keeps the editor's own; others are held within 48..480.
    void SetPixelsPerInch(int Value);
    bool GetRememberPosition() const { return FRememberPosition; }
    void SetRememberPosition(bool Value) { FRememberPosition = Value; }
    TChartSeries* GetSeries() const { return FSeries; }
    // The chart follows a series of another chart.
    void SetSeries(TChartSeries* Value);
    bool GetTreeView() const { return FTreeView; }
    void SetTreeView(bool Value) { FTreeView = Value; }

    TChangeOrderEvent OnChangeSeriesOrder;

    // A chart other than the series' own lets the series go.
    void SetChart(TCustomChart* Value) override;
    // Shows the editor modally on Chart (nothing without one) and frees it again.
    void Execute() override;
    void ChangeSeriesOrder(TObject* Sender, TChartSeries* Series1, TChartSeries* Series2);

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // The editor's window before it shows, as the properties ask.
    void Prepare(TChartEditForm* Form);

    bool FAutoRepaint = true;
    TChartEditorTab FDefaultTab = cetMain;
    TChartEditorHiddenTabs FHideTabs;
    bool FHighLightTabs = false;
    TChartEditorOptions FOptions = DefaultChartEditorOptions();
    int FPixelsPerInch = 0;
    bool FRememberPosition = false;
    TChartSeries* FSeries = nullptr;
    bool FTreeView = false;
};

// How a control starts a drag, and what kind of drag it is.
enum TDragMode : std::uint8_t { dmManual, dmAutomatic };
enum TDragKind : std::uint8_t { dkDrag, dkDock };
template <>
const EnumInfo& EnumInfoOf<TDragMode>();
template <>
const EnumInfo& EnumInfoOf<TDragKind>();

// The smallest and largest size a form file gives a control (0: no limit).
class TPanelSizeConstraints : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    int GetMaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(int Value) { FMaxHeight = Value; }
    int GetMaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int Value) { FMaxWidth = Value; }
    int GetMinHeight() const { return FMinHeight; }
    void SetMinHeight(int Value) { FMinHeight = Value; }
    int GetMinWidth() const { return FMinWidth; }
    void SetMinWidth(int Value) { FMinWidth = Value; }
    void Assign(TPersistent* Source) override;

private:
    int FMaxHeight = 0;
    int FMaxWidth = 0;
    int FMinHeight = 0;
    int FMinWidth = 0;
};

// A panel holding one chart editor for good, without its frame and bottom bar. At design time
// it holds none.
class TChartEditorPanel : public TCustomPanelNoCaption {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TChartEditorPanel(TComponent* AOwner);
    void AfterConstruction() override;

    TCustomChart* GetChart() const { return FChart; }
    void SetChart(TCustomChart* Value);
    // The editor held (owned by the panel), nullptr at design time.
    TChartEditForm* GetEditor() const { return FEditor; }

    // Shows the editor's page of the chart part under the mouse.
    void SelectUnderMouse();

    // The panel's docking, dragging and sizing as a form file gives them: kept and written back,
    // they change nothing, as the editor fills the panel and takes no part in docking or dragging.
    bool GetUseDockManager() const { return FUseDockManager; }
    void SetUseDockManager(bool Value) { FUseDockManager = Value; }
    bool GetDockSite() const { return FDockSite; }
    void SetDockSite(bool Value) { FDockSite = Value; }
    TCursor GetDragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor Value) { FDragCursor = Value; }
    TDragMode GetDragMode() const { return FDragMode; }
    void SetDragMode(TDragMode Value) { FDragMode = Value; }
    bool GetAutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value) { FAutoSize = Value; }
    TPanelSizeConstraints* GetConstraints() const { return FConstraints.get(); }
    void SetConstraints(TPanelSizeConstraints* Value) { FConstraints->Assign(Value); }
    TDragKind GetDragKind() const { return FDragKind; }
    void SetDragKind(TDragKind Value) { FDragKind = Value; }
    bool GetLocked() const { return FLocked; }
    void SetLocked(bool Value) { FLocked = Value; }

    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    // Coming into view or going out of it inside a parent brings the parent up to date.
    void ShowingChanged() override;

private:
    // The "Chart" page's sub-page Tab, its page form made when it is new.
    void ShowSubPage(TTabSheet* Tab);
    // With the editor's tree: the node of what was clicked is chosen, and shows its page.
    void ShowInTree(const TChartClickedPart& Part);

    TCustomChart* FChart = nullptr;
    TChartEditForm* FEditor = nullptr;
    bool FUseDockManager = true;
    bool FDockSite = false;
    TCursor FDragCursor = crDrag;
    TDragMode FDragMode = dmManual;
    bool FAutoSize = false;
    Owned<TPanelSizeConstraints> FConstraints = MakeOwned<TPanelSizeConstraints>();
    TDragKind FDragKind = dkDrag;
    bool FLocked = false;
};

// Registers the launcher and the panel for streams.
void RegisterChartEditorClasses();
