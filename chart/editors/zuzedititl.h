#pragma once
// The chart editor's titles page: one of the chart's four titles at a time (text, alignment,
// visibility, frame adjustment, custom position and vertical margin) and, on the tabs after
// "Style" and "Position", its frame, text, gradient, shadow and picture. Every change is
// written into the title at once.

#include "platform/gui/forms.h"

class TChartTitle;
class TCheckBox;
class TComboFlat;
class TCustomChart;
class TEdit;
class TFormZuzShape;
class TLabel;
class TMemo;
class TPageControl;
class TTabSheet;
class TUpDown;

class TFormZuzTitle : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TFormZuzTitle(TComponent* AOwner);
    TFormZuzTitle(TComponent* AOwner, TCustomChart* Chart, TChartTitle* Title);
    void AfterConstruction() override;

    TComboFlat* CBTitles = nullptr;
    TPageControl* PageControlTitle = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TLabel* Label1 = nullptr;
    TMemo* MText = nullptr;
    TCheckBox* CBVisible = nullptr;
    TCheckBox* CBAdjust = nullptr;
    TLabel* Label2 = nullptr;
    TComboFlat* CBAlign = nullptr;
    TButton* Button1 = nullptr;
    TTabSheet* TabSheet2 = nullptr;
    TCheckBox* CBCustPos = nullptr;
    TLabel* Label3 = nullptr;
    TEdit* ECustLeft = nullptr;
    TUpDown* UDLeft = nullptr;
    TLabel* Label4 = nullptr;
    TEdit* ECustTop = nullptr;
    TUpDown* UDTop = nullptr;
    TLabel* Label5 = nullptr;
    TEdit* Edit1 = nullptr;
    TUpDown* UDMargin = nullptr;

    TChartTitle* GetTitle() const { return FTitle; }
    TFormZuzShape* GetShapeEditor() const { return FShapeEditor; }

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void CBTitlesChange(TObject* Sender);
    void MTextChange(TObject* Sender);
    void CBVisibleClick(TObject* Sender);
    void CBAdjustClick(TObject* Sender);
    void CBAlignChange(TObject* Sender);
    void Button1Click(TObject* Sender);
    void CBCustPosClick(TObject* Sender);
    void ECustLeftChange(TObject* Sender);
    void ECustTopChange(TObject* Sender);
    void Edit1Change(TObject* Sender);
    void PC1Change(TObject* Sender);

protected:
    void BindComponents() override;

private:
    void SetTitleControls();
    void EnableCustomPosition();

    TCustomChart* FChart = nullptr;
    TChartTitle* FTitle = nullptr;
    TFormZuzShape* FShapeEditor = nullptr;
    bool FLoading = true; // from creation until the first show ends
    bool FSettingText = false;
};

void ZuzEdiTitlInitialization();
