#pragma once
// The base of every data-source page of the series page: a top panel with a
// combo of sources and an Apply button. Closing with changes not applied asks
// whether to apply them.

#include "platform/gui/forms.h"

class TChartSeries;
class TComboFlat;
class TCustomChart;
class TLabel;
class TPanel;
class TStrings;

class TBaseSourceEditor : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TBaseSourceEditor(TComponent* AOwner);

    TLabel* LLabel = nullptr;
    TComboFlat* CBSources = nullptr;
    TPanel* Pan = nullptr;
    TPanel* PanelApply = nullptr;
    TButton* BApply = nullptr;

    TChartSeries* TheSeries() const { return FSeries; }
    TCustomChart* TheChart() const { return FChart; }

    // Whether a page that lists components offers this one; none here.
    virtual bool IsValid(TComponent* Component) { return false; }
    // Lists Component in Items (owner-qualified when its owner is not the series'
    // owner) when it is new there, this page offers it and the chart accepts it
    // as the series' source; without AddCurrent a current source of the series is
    // left out.
    void AddComponentDataSource(TComponent* Component, TStrings* Items, bool AddCurrent);
    // Source becomes the series' only data source (a series is made first for a
    // bare chart).
    void CheckReplaceSource(TComponent* Source);

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void CBSourcesChange(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);

protected:
    void BindComponents() override;
    TChartSeries* FSeries = nullptr;
    TCustomChart* FChart = nullptr;
    bool SkipValidation = false;
};

// Candidate source series of Series: every series owned, at any depth, by the
// series' owner that its chart accepts. Each goes to Items2; to Items1 too
// unless AddCurrent is false and it already is one of the series' sources.
void FillSeriesSources(TStrings* Items1, TStrings* Items2, TChartSeries* Series, bool AddCurrent);

void RegisterZuzSourceEditClasses();
