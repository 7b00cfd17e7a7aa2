#pragma once
// The series list box: one row per series of a chart, each row in four sections (type
// icon, active check box, colour box, title), where the user switches series on and off,
// changes their colour and type, drags them into another order, renames, adds, deletes
// and clones them. It follows the chart's events so that changes made elsewhere show.

#include "chart/canvas/zuzprocs.h"
#include "chart/engine/chartlegend.h"
#include "platform/gui/stdctrls.h"

#include <array>

class TCustomChart;
class TChartSeries;
class TCustomSeriesList;
class TSeriesGroup;

using TNotifySeriesEvent = Event<void(TObject* Sender, TChartSeries* Series)>;
using TChangeOrderEvent = Event<void(TObject* Sender, TChartSeries* Series1, TChartSeries* Series2)>;
using TDblClickSeriesEvent = Event<void(TObject* Sender, int Index)>;

// How the list reaches the series gallery without depending on it: set by the gallery at
// start-up, nullptr until then.
using TZuzAddGalleryProc = TChartSeries* (*)(TComponent* Owner, TCustomChart* Chart, TChartSeries* Selected);
using TZuzChangeGalleryProc = const ClassInfo* (*)(TComponent* Owner, TChartSeries*& Series);
extern TZuzAddGalleryProc ZuzAddGalleryProc;
extern TZuzChangeGalleryProc ZuzChangeGalleryProc;

class TChartListBox : public TCustomListBox, public IZuzEventListener {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TChartListBox(TComponent* AOwner);
    ~TChartListBox() override;
    void BeforeDestruction() override;

    enum TSection : std::uint8_t { secIcon, secCheck, secColor, secTitle };

    bool AllowAddSeries = true;
    bool AllowDeleteSeries = true;
    bool AskDelete = true;
    bool EnableChangeColor = true;
    bool EnableDragSeries = true;
    bool EnableChangeType = true;
    bool FontSeriesColor = false;

    TCustomChart* GetChart() const { return FChart; }
    void SetChart(TCustomChart* Value);
    TCheckBoxesStyle GetCheckStyle() const { return FCheckStyle; }
    void SetCheckStyle(TCheckBoxesStyle Value);
    bool GetShowSection(TSection Index) const { return FSections[Index].Visible; }
    void SetShowSection(TSection Index, bool Value);
    int GetSectionWidth(TSection Index) const { return FSections[Index].Width; }
    void SetSectionWidth(TSection Index, int Value);
    bool GetShowSeriesIcon() const { return GetShowSection(secIcon); }
    void SetShowSeriesIcon(bool Value) { SetShowSection(secIcon, Value); }
    bool GetShowActiveCheck() const { return GetShowSection(secCheck); }
    void SetShowActiveCheck(bool Value) { SetShowSection(secCheck, Value); }
    bool GetShowSeriesColor() const { return GetShowSection(secColor); }
    void SetShowSeriesColor(bool Value) { SetShowSection(secColor, Value); }
    bool GetShowSeriesTitle() const { return GetShowSection(secTitle); }
    void SetShowSeriesTitle(bool Value) { SetShowSection(secTitle, Value); }
    bool GetAllowAddSeries() const { return AllowAddSeries; }
    void SetAllowAddSeries(bool Value) { AllowAddSeries = Value; }
    bool GetAllowDeleteSeries() const { return AllowDeleteSeries; }
    void SetAllowDeleteSeries(bool Value) { AllowDeleteSeries = Value; }
    bool GetAskDelete() const { return AskDelete; }
    void SetAskDelete(bool Value) { AskDelete = Value; }
    bool GetEnableChangeColor() const { return EnableChangeColor; }
    void SetEnableChangeColor(bool Value) { EnableChangeColor = Value; }
    bool GetEnableDragSeries() const { return EnableDragSeries; }
    void SetEnableDragSeries(bool Value) { EnableDragSeries = Value; }
    bool GetEnableChangeType() const { return EnableChangeType; }
    void SetEnableChangeType(bool Value) { EnableChangeType = Value; }
    bool GetFontSeriesColor() const { return FontSeriesColor; }
    void SetFontSeriesColor(bool Value) { FontSeriesColor = Value; }
    // A list the user of the box keeps in step with the items (not owned).
    TStrings* OtherItems = nullptr;

    TNotifySeriesEvent OnChangeActive;
    TNotifySeriesEvent OnChangeColor;
    TChangeOrderEvent OnChangeOrder;
    TDblClickSeriesEvent OnDblClickSeries;
    TNotifyEvent OnOtherItemsChange;
    TNotifyEvent OnRefresh;
    TNotifySeriesEvent OnRemovedSeries;

    void FillSeries(TChartSeries* SeriesToSelect);
    void UpdateSeries();
    TSeriesGroup* GetGroup() const { return FGroup; }
    void SetGroup(TSeriesGroup* Value);
    bool GetNames() const { return FNames; }
    void SetNames(bool Value);
    const TCustomSeriesList* SeriesGroup() const;
    void ClearItems();
    TChartSeries* GetSeries(int Index) const;
    TChartSeries* GetSelectedSeries() const { return GetSeries(GetItemIndex()); }
    void SetSelectedSeries(TChartSeries* Value);
    void SelectSeries(int Index);
    // The row alone chosen, and current (none for -1).
    void ChooseOnly(int Row);
    bool AnySelected();
    void SelectAll() override;
    void SwapSeries(int A, int B);
    void MoveCurrentUp();
    void MoveCurrentDown();
    bool DeleteSeries();
    void CloneSeries();
    void ChangeTypeSeries(TObject* Sender);
    TChartSeries* AddSeriesGallery();
    bool RenameSeries();
    void ShowEditor();
    void HideEditor();
    TEdit* GetEditor() const { return FEditor; }
    int SeriesAtMousePos(TPoint& P) const;
    int SectionLeft(int Index) const;
    bool PointInSection(const TPoint& P, int Index) const;
    void CheckLegendBoxes();
    void RefreshDesigner();
    void DoRefresh();

    void ZuzEvent(TZuzEvent* Event) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void SetParent(TWinControl* AParent) override;
    void DblClick() override;
    void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
    void DragDrop(TObject* Source, int X, int Y) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;

private:
    struct Section {
        bool Visible = true;
        int Width = 0;
    };
    void EditorKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    void EditorKeyPress(TObject* Sender, Char& Key);
    void RemoveSeriesRow(TChartSeries* Series);
    void UpdateCursor();

    TCustomChart* FChart = nullptr;
    TSeriesGroup* FGroup = nullptr;
    bool FNames = false;
    TCheckBoxesStyle FCheckStyle = cbsCheck;
    std::array<Section, 4> FSections{Section{true, 26}, Section{true, 16}, Section{true, 26},
                                     Section{true, 216}};
    TEdit* FEditor = nullptr;
    TChartSeries* FEditedSeries = nullptr;
    bool FDoubleClicked = false;
    TPoint FHitTest{-1, -1};
};

void RegisterZuzLisBClasses();
