#pragma once
// The chart editor's 3D page: the chart's 3D switch, depth percent and point clipping, the view
// options (zoom, rotation, elevation, offsets, perspective, orthogonal view and angle, text zoom)
// and a gallery of six ready-made views. Every change is written into the chart at once.

#include "platform/gui/forms.h"

class TCheckBox;
class TChartGalleryPanel;
class TCustomChart;
class TEdit;
class TGalleryChart;
class TLabel;
class TPageControl;
class TTabSheet;
class TTrackBar;
class TUpDown;

class TFormZuz3D : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TFormZuz3D(TComponent* AOwner);
    TFormZuz3D(TComponent* AOwner, TCustomChart* Chart);

    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabOptions = nullptr;
    TCheckBox* CBView3d = nullptr;
    TLabel* Label1 = nullptr;
    TEdit* SE3d = nullptr;
    TUpDown* UD3D = nullptr;
    TCheckBox* CBOrthogonal = nullptr;
    TLabel* Label2 = nullptr;
    TEdit* EOrthoAngle = nullptr;
    TUpDown* UDOrthoAngle = nullptr;
    TLabel* Label3 = nullptr;
    TTrackBar* SBZoom = nullptr;
    TLabel* LZoom = nullptr;
    TLabel* Label4 = nullptr;
    TTrackBar* SBRotation = nullptr;
    TLabel* LRotation = nullptr;
    TLabel* Label5 = nullptr;
    TTrackBar* SBElevation = nullptr;
    TLabel* LElevation = nullptr;
    TLabel* Label6 = nullptr;
    TTrackBar* SBHOffset = nullptr;
    TLabel* LHOffset = nullptr;
    TLabel* Label7 = nullptr;
    TTrackBar* SBVOffset = nullptr;
    TLabel* LVOffset = nullptr;
    TLabel* Label8 = nullptr;
    TTrackBar* SBPerspec = nullptr;
    TLabel* LPerspec = nullptr;
    TCheckBox* CBZoomText = nullptr;
    TEdit* ETextSize = nullptr;
    TUpDown* UDTextSize = nullptr;
    TLabel* LTextSize = nullptr;
    TCheckBox* CBClipPoints = nullptr;
    TTabSheet* TabViews = nullptr;
    TChartGalleryPanel* Gallery = nullptr;

    TCustomChart* GetChart() const { return FChart; }
    // Loads the controls from the chart.
    void RefreshOptions();
    // The enabling rules; also brings the "Options" tab back to the front.
    void CheckControls();

    void FormShow(TObject* Sender);
    void CBView3dClick(TObject* Sender);
    void SE3dChange(TObject* Sender);
    void CBOrthogonalClick(TObject* Sender);
    void EOrthoAngleChange(TObject* Sender);
    void SBZoomChange(TObject* Sender);
    void SBRotationChange(TObject* Sender);
    void SBElevationChange(TObject* Sender);
    void SBHOffsetChange(TObject* Sender);
    void SBVOffsetChange(TObject* Sender);
    void SBPerspecChange(TObject* Sender);
    void CBZoomTextClick(TObject* Sender);
    void ETextSizeChange(TObject* Sender);
    void CBClipPointsClick(TObject* Sender);
    void PageControl1Change(TObject* Sender);
    void GalleryChangeChart(TObject* Sender);

protected:
    void BindComponents() override;

private:
    void CreateViewsGallery();
    TGalleryChart* AddView(const String& Name, bool Preset3D);
    // Selects the sample showing the chart's view, or none.
    void SelectCurrentView();
    void SetGallery3DChart(TGalleryChart* Sample);
    bool Editing() const { return FChart && !FLoading; }
    bool Typing() const { return Editing() && GetShowing(); }

    TCustomChart* FChart = nullptr;
    bool FLoading = false;
    bool FAllowOrthogonal = true;
};

void ZuzEdi3DInitialization();
