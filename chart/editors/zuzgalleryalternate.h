#pragma once
// The second layout of the series gallery, chosen by the "GalleryMode" option: a list of the
// series types on the left and, beside it, the sub-styles of the type picked in the list as
// sample charts.

#include "platform/gui/forms.h"

class TButton;
class TCheckBox;
class TChart;
class TChartGalleryPanel;
class TChartListBox;
class TComboFlat;
class TLabel;
class TPanel;
class TSplitter;

class TZuzGalleryForm : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TZuzGalleryForm(TComponent* AOwner) : TForm(AOwner) {}

    TChartGalleryPanel* ChartGalleryPanel1 = nullptr;
    TChartListBox* ChartListBox1 = nullptr;
    TSplitter* Splitter1 = nullptr;
    TPanel* Panel1 = nullptr;
    TComboFlat* CBPage = nullptr;
    TLabel* Label1 = nullptr;
    TCheckBox* CB3D = nullptr;
    TCheckBox* CBSmooth = nullptr;
    TPanel* PanelBottom = nullptr;
    TPanel* Panel3 = nullptr;
    TButton* BOK = nullptr;
    TButton* BCancel = nullptr;

    // The hidden chart whose series stand for the listed types.
    TChart* Types() const { return FChart; }

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void FormKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    void CBPageChange(TObject* Sender);
    void CB3DClick(TObject* Sender);
    void CBSmoothClick(TObject* Sender);
    void ChartListBox1Click(TObject* Sender);
    void ChartGalleryPanel1SelectedChart(TObject* Sender);

protected:
    void BindComponents() override;

private:
    TChart* FChart = nullptr;
    const ClassInfo* FLastClass = nullptr;
};

// Shows the alternate gallery modally; true when the user confirmed a sample.
bool RunAlternateGallery(TComponent* Owner, const ClassInfo*& SeriesClass, bool& View3D,
                         const ClassInfo*& FunctionClass, int& SubIndex);

void ZuzGalleryAlternateInitialization();
