#pragma once
// The gallery panel: a grid of small sample charts, one per registered series or function type
// of a gallery page, with a highlight the user moves with the mouse and the arrow keys, and a
// pop-up sub-gallery of the highlighted type's sub-styles.

#include "chart/engine/chart.h"

#include <functional>
#include <vector>

class TChartGalleryPanel;
class TChartTheme;
class TZuzSeriesType;
class TPaintBox;

// The end colour of a highlighted sample's back gradient.
extern TColor clZuzGallery;

// One sample chart of a gallery.
class TGalleryChart : public TCustomChart {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TGalleryChart(TComponent* AOwner);

    bool GetSmooth() const { return FSmooth; }
    void SetSmooth(bool Value);
    bool GetDrawingSmooth() const { return FDrawingSmooth; }
    // A disabled sample shows the no-drop cursor and is never selected.
    bool IsSampleEnabled() const { return GetCursor() != crNoDrop; }
    TChartGalleryPanel* GalleryPanel() const;

    // The highlight of the selected sample, and its removal.
    void Focus();
    void UnFocus();
    bool Focused() const;
    // Where the sub-gallery arrow lies; a click there opens the sub-gallery.
    TRect SubArrowRect() const;
    // The 4 (in 3D) or 5 (in 2D) pixel margins.
    void SetGalleryMargins(bool Is3D);

    // With Smooth, the sample is drawn again at double size and shrunk onto the target.
    void Draw(TCanvas* UserCanvas, const TRect& UserRect) override;
    using TCustomChart::Draw;

protected:
    void DoOnAfterDraw() override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    void DrawHoverFrame(bool Inside);
    void DrawSubArrow(TCanvas* Canvas, bool HalfSize);
    void SmoothPass(TCanvas* UserCanvas, const TRect& UserRect);
    bool FSmooth = false;
    bool FDrawingSmooth = false;
    bool FHover = false; // the pointer is over the sample
};

// The samples of a gallery panel; Clear frees them.
class TChartList {
public:
    TChartList() = default;
    ~TChartList() { Clear(); }
    TChartList(const TChartList&) = delete;
    TChartList& operator=(const TChartList&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    TGalleryChart* GetChart(int Index) const { return FItems.at(static_cast<std::size_t>(Index)); }
    int IndexOf(const TGalleryChart* Chart) const;
    void Add(TGalleryChart* Chart) { FItems.push_back(Chart); }
    // Forgets a sample that is freed elsewhere.
    void Remove(const TGalleryChart* Chart);
    void Clear();

private:
    std::vector<TGalleryChart*> FItems;
};

// Makes a theme bound to a chart (the gallery applies it to every sample).
using TChartThemeClass = std::function<Owned<TChartTheme>(ISeriesChart* Chart)>;

class TChartGalleryPanel : public TCustomPanelNoCaption {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TChartGalleryPanel(TComponent* AOwner);
    ~TChartGalleryPanel() override;
    void BeforeDestruction() override;

    // The "SmoothGallery" and "GalleryMode" options of the editor.
    static bool DefaultSmooth();
    static int DefaultMode();
    static void SaveSmooth(bool Value);
    static void SaveMode(int Value);

    bool GetDisplaySub() const { return FDisplaySub; }
    void SetDisplaySub(bool Value) { FDisplaySub = Value; }
    bool GetFocusRotation() const { return FFocusRotation; }
    void SetFocusRotation(bool Value) { FFocusRotation = Value; }
    int GetNumRows() const { return FNumRows; }
    void SetNumRows(int Value);
    int GetNumCols() const { return FNumCols; }
    void SetNumCols(int Value);
    bool GetSmooth() const { return FSmooth; }
    void SetSmooth(bool Value);
    bool GetView3D() const { return FView3D; }
    void SetView3D(bool Value);
    // Function mode lists the types that have a function class, and only those.
    bool GetFunctionsMode() const { return FFunctionsMode; }
    void SetFunctionsMode(bool Value) { FFunctionsMode = Value; }
    // With the check on and a current series, samples that cannot feed it are disabled.
    bool GetCheckValidFunctions() const { return FCheckValid; }
    void SetCheckValidFunctions(bool Value) { FCheckValid = Value; }
    TChartSeries* GetCurrentSeries() const { return FCurrentSeries; }
    void SetCurrentSeries(TChartSeries* Value) { FCurrentSeries = Value; }
    bool IsSubGalleryPanel() const { return FSubGallery; }

    TChartList& Charts() { return FCharts; }
    int ChartCount() const { return FCharts.Count(); }
    TGalleryChart* GetChart(int Index) const { return FCharts.GetChart(Index); }
    TGalleryChart* SelectedChart() const { return FSelectedChart; }
    int SampleWidth() const { return FChartWidth; }
    int SampleHeight() const { return FChartHeight; }
    // The open sub-gallery (only while ShowSubGallery runs).
    TCustomForm* SubGalleryForm() const { return FSubForm; }
    TChartGalleryPanel* SubGalleryPanel() const { return FSubPanel; }

    void CreateGalleryPage(const String& Page);
    void CreateChartList(std::span<const ClassInfo* const> Classes);
    TGalleryChart* CreateChart(const TZuzSeriesType& SeriesType);
    // A sample made elsewhere joins the list and the grid and selects itself when clicked.
    void AddChart(TGalleryChart* Chart);
    virtual void SelectChart(TGalleryChart* Chart);
    // No sample selected or highlighted (where SelectChart would fall back on the first).
    void UnselectChart();
    bool GetSeriesClass(const ClassInfo*& SeriesClass, const ClassInfo*& FunctionClass, int& SubIndex) const;
    void ShowSubGallery();
    // One sample per sub-style of the series' class, each tagged with its sub-style's index.
    void CreateSubSamples(TChartSeries* Series);
    void UseTheme(const TChartThemeClass& ThemeClass);
    // Lays every sample out at its place in the grid.
    void ResizeCharts();
    // The highlight follows the selection (the first enabled sample when none).
    void ShowSelectedChart();

    TNotifyEvent OnSelectedChart;
    TNotifyEvent OnChangeChart;
    TNotifyEvent OnSubSelected;

    int WMGetDlgCode(int Inherited) const;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void Loaded() override;

protected:
    void Resize() override;

private:
    friend class TGalleryChart;
    void CalcChartWidthHeight();
    void PlaceChart(TGalleryChart* Chart, int Index);
    void FindSelectedChart();
    void ChartClick(TObject* Sender);
    void ChartDblClick(TObject* Sender);
    void ChartEnter(TObject* Sender);
    void ChartKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    void SubSelected(TObject* Sender);
    void SubPaintClick(TObject* Sender);
    void SubPaint(TObject* Sender);
    void SubFormKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    void AddSubSample(const ClassInfo& SeriesClass, const String& Title);
    bool MouseOnSubArrow() const;
    TGalleryChart* ChartAt(int Col, int Row) const;

    TChartList FCharts;
    int FChartWidth = 0;
    int FChartHeight = 0;
    TGalleryChart* FSelectedChart = nullptr;
    bool FDisplaySub = true;
    bool FFocusRotation = true;
    int FNumRows = 3;
    int FNumCols = 4;
    bool FSmooth = false;
    bool FOldSmooth = false;
    bool FView3D = true;
    bool FFunctionsMode = false;
    bool FCheckValid = false;
    TChartSeries* FCurrentSeries = nullptr;
    bool FSubGallery = false;
    TCustomForm* FSubForm = nullptr;
    TChartGalleryPanel* FSubPanel = nullptr;
};

// The gallery unit's start-up: the standard series types enter the registry.
void ZuzGalleryPanelInitialization();
