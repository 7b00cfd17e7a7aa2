#pragma once
// The chart editor's paging page: points per page, scaling, the legend of the current page, a
// page navigator and the chart's page-number tool.

#include "chart/series/zuznavigator.h"
#include "platform/gui/forms.h"

class TChartPageNavigator;
class TCheckBox;
class TCustomChart;
class TEdit;
class TLabel;
class TUpDown;
class TZuzCustomTool;

class TFormZuzPage : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TFormZuzPage(TComponent* AOwner);
    TFormZuzPage(TComponent* AOwner, TCustomChart* Chart);
    void AfterConstruction() override;

    TLabel* Label1 = nullptr;
    TEdit* SEPointsPerPage = nullptr;
    TUpDown* UDPointsPerPage = nullptr;
    TCheckBox* CBScaleLast = nullptr;
    TCheckBox* CBPageLegend = nullptr;
    TCheckBox* CBAutoScale = nullptr;
    TCheckBox* CBNoPages = nullptr;
    TChartPageNavigator* ChartPageNavigator1 = nullptr;
    TLabel* LabelPages = nullptr;
    TCheckBox* CBPageNum = nullptr;
    TButton* BEditTool = nullptr;

    TCustomChart* GetChart() const;
    // The chart's first tool of the registered page-number class; with Create, one is made
    // when there is none. Nothing without a registered class.
    TZuzCustomTool* PageNumTool(bool Create);

    void FormShow(TObject* Sender);
    void SEPointsPerPageChange(TObject* Sender);
    void CBScaleLastClick(TObject* Sender);
    void CBPageLegendClick(TObject* Sender);
    void CBAutoScaleClick(TObject* Sender);
    void CBNoPagesClick(TObject* Sender);
    void ChartPageNavigator1ButtonClicked(TObject* Sender, TZuzNavigateBtn Button);
    void CBPageNumClick(TObject* Sender);
    void BEditToolClick(TObject* Sender);

protected:
    void BindComponents() override;

private:
    // "No pages" ticked exactly without points per page, and enabled only while not ticked.
    void SetNoPages();
    void SetEditTool();
    void ShowPageLabel();

    TCustomChart* FChart = nullptr;
    bool FFilling = false;
};

void ZuzEdiPageInitialization();
