#pragma once
// The series gallery: the modal dialog where the user picks a series type or a function by
// clicking one of many small sample charts, and the functions through which the editor
// creates a series, changes the type of one or all series, or picks a function class.

#include "platform/gui/forms.h"

class TCheckBox;
class TButton;
class TPanel;
class TTabControl;
class TComboFlat;
class TChartGalleryPanel;
class TCustomChart;
class TChartSeries;

class TZuzGallery : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TZuzGallery(TComponent* AOwner) : TForm(AOwner) {}

    TPanel* P1 = nullptr;
    TCheckBox* CB3D = nullptr;
    TCheckBox* CBSmooth = nullptr;
    TComboFlat* CBPalette = nullptr;
    TPanel* Panel1 = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
    TTabControl* TabTypes = nullptr;
    TTabControl* TabPages = nullptr;
    TChartGalleryPanel* ChartGalleryPanel1 = nullptr;

    // Only the functions' tab: no "Series" tab, only pages of function types.
    bool FunctionsOnly = false;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void TabTypesChange(TObject* Sender);
    void TabPagesChange(TObject* Sender);
    void CBPaletteChange(TObject* Sender);
    void CB3DClick(TObject* Sender);
    void CBSmoothClick(TObject* Sender);
    void ChartGalleryPanel1SelectedChart(TObject* Sender);
    void HideButtons();

protected:
    void BindComponents() override;
};

// The stored gallery size: at least 100 pixels, at most the screen's work area.
int ZuzGalleryStoredSize(int Stored, int WorkArea);

bool GetChartGalleryClass(TComponent* Owner, TChartSeries* Series, bool ShowFunctions,
                          const ClassInfo*& SeriesClass, bool& View3D, const ClassInfo*& FunctionClass,
                          bool CheckValid, int& SubIndex, int& PaletteIndex);
TChartSeries* CreateNewSeriesGallery(TComponent* Owner, TCustomChart* Chart);
TChartSeries* CreateNewSeriesGallery(TComponent* Owner, TChartSeries* OldSeries, TCustomChart* Chart,
                                     bool ShowFunctions, bool CheckValid, int& SubIndex);
void ChangeSeriesTypeGallery(TComponent* Owner, TChartSeries*& Series);
void ChangeAllSeriesGallery(TComponent* Owner, TCustomChart* Chart);
const ClassInfo* GetChartGalleryFunction(TComponent* Owner);

// Start-up: the list box's gallery procedures; shut-down: nil again.
void ZuzGallyInitialization();
void ZuzGallyFinalization();
