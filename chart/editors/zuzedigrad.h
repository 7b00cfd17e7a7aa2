#pragma once
// The gradient editor: a dialog (or a page embedded in another editor) that edits one gradient
// (visibility, direction, colours, balance, radial offset, angle, sub-gradient) with 17 colour
// themes and a gallery of the ten directions; the button that shows a gradient and opens it;
// and the small panel that previews it.

#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzpanelext.h"
#include "platform/gui/forms.h"

class TCheckBox;
class TChartGalleryPanel;
class TCustomZuzGradient;
class TEdit;
class TGroupBox;
class TLabel;
class TListBox;
class TPageControl;
class TPanel;
class TScrollBar;
class TTabSheet;
class TTrackBar;
class TUpDown;
class TButtonGradient;

// The preview: a panel that shows its own gradient across its client area.
class TPreviewGradient : public TCustomZuzPanelExtended {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TPreviewGradient(TComponent* AOwner);

protected:
    void InternalDraw(const TRect& UserRect) override;
};

// One colour theme of the "Default" page.
struct TGradientTheme {
    const char16_t* Name;
    TColor Start, Middle, End;
    int Balance;
    int Direction;
};
inline constexpr int ZuzGradientThemeCount = 17;
const TGradientTheme& ZuzGradientTheme(int Index);

class TZuzGradientEditor : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TZuzGradientEditor(TComponent* AOwner);
    // Embedded in a host page: no OK/Cancel panel, the form shorter by its height.
    TZuzGradientEditor(TComponent* AOwner, TCustomZuzGradient* Gradient);
    ~TZuzGradientEditor() override;
    void AfterConstruction() override;

    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TTabSheet* TabSheet2 = nullptr;
    TLabel* Label4 = nullptr;
    TScrollBar* SBBalance = nullptr;
    TLabel* LabelBalance = nullptr;
    TGroupBox* GroupBox2 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* LRadialX = nullptr;
    TLabel* LRadialY = nullptr;
    TTrackBar* TrackBar1 = nullptr;
    TTrackBar* TrackBar2 = nullptr;
    TButton* BSwap = nullptr;
    TButtonColor* BStart = nullptr;
    TButtonColor* BEnd = nullptr;
    TButtonColor* BMid = nullptr;
    TCheckBox* CBMid = nullptr;
    TPanel* Panel1 = nullptr;
    TButton* BOk = nullptr;
    TButton* BCancel = nullptr;
    TPanel* Panel2 = nullptr;
    TCheckBox* CBVisible = nullptr;
    TLabel* Label1 = nullptr;
    TComboFlat* CBDirection = nullptr;
    TTabSheet* TabSheet3 = nullptr;
    TListBox* Gallery = nullptr;
    TPanel* Panel3 = nullptr;
    TPanel* Panel4 = nullptr;
    TPanel* Panel5 = nullptr;
    TPanel* Panel6 = nullptr;
    TPanel* Panel7 = nullptr;
    TTabSheet* TabSheet4 = nullptr;
    TChartGalleryPanel* Directions = nullptr;
    TTabSheet* TabSheet5 = nullptr;
    TLabel* Label5 = nullptr;
    TScrollBar* SBTransp = nullptr;
    TButtonGradient* BSubEdit = nullptr;
    TCheckBox* CBSubVisible = nullptr;
    TLabel* Label6 = nullptr;
    TEdit* EAngle = nullptr;
    TUpDown* UDAngle = nullptr;

    virtual void RefreshControls();
    virtual void SetPreview();
    virtual void RefreshGradient(TCustomZuzGradient* Gradient);

    TCustomZuzGradient* GetGradient() const { return FGradient; }
    TPreviewGradient* GetPreview() const { return FPreview; }
    bool GetModified() const { return FModified; }
    // The colour and direction controls stay enabled whatever Visible says.
    bool AlwaysEnabled = false;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void CBVisibleClick(TObject* Sender);
    void CBDirectionChange(TObject* Sender);
    void DirectionsChangeChart(TObject* Sender);
    void BStartClick(TObject* Sender);
    void BEndClick(TObject* Sender);
    void BMidClick(TObject* Sender);
    void CBMidClick(TObject* Sender);
    void BSwapClick(TObject* Sender);
    void SBBalanceChange(TObject* Sender);
    void TrackBar1Change(TObject* Sender);
    void TrackBar2Change(TObject* Sender);
    void EAngleChange(TObject* Sender);
    void SBTranspChange(TObject* Sender);
    void CBSubVisibleClick(TObject* Sender);
    void BCancelClick(TObject* Sender);
    void GalleryClick(TObject* Sender);

protected:
    void BindComponents() override;

private:
    void EnableByVisible();
    void EnableByDirection();
    void DirectionChartsColors();
    void SelectDirectionChart(int Direction);
    void ApplyTheme(int Index);
    bool Writing() const { return !FFilling && FGradient; }

    Owned<TZuzGradient> FBackup;
    TPreviewGradient* FPreview = nullptr;
    TCustomZuzGradient* FGradient = nullptr;
    TCustomZuzGradient* FEmbedded = nullptr;
    bool FModified = false;
    bool FFilling = false;
};

// Made for a modal show over the gradient (not shown): the end colour and swap hidden and the
// colour controls always enabled with AlwaysEnabled, the visible box hidden with HideVisible.
TZuzGradientEditor* ZuzCreateGradientEditor(TComponent* AOwner, TCustomZuzGradient* Gradient,
                                            bool AlwaysEnabled, bool HideVisible);
// The editor made for the gradient by the embedding constructor, embedded in the page with the
// gradient in its Tag, where the editor looks for it.
TZuzGradientEditor* InsertGradientEditor(TComponent* AOwner, TWinControl* Page, TCustomZuzGradient* Gradient);
// Edits the gradient in a modal editor; true on OK.
bool EditZuzGradient(TComponent* AOwner, TCustomZuzGradient* Gradient);
bool EditZuzGradient(TComponent* AOwner, TCustomZuzGradient* Gradient, bool AlwaysEnabled, bool HideVisible);

// A button that shows a gradient and edits it in the gradient editor.
class TButtonGradient : public TZuzButton {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TButtonGradient(TComponent* AOwner);
    void BeforeDestruction() override;

    void LinkGradient(TCustomZuzGradient* Value);
    TCustomZuzGradient* GetGradient() const;
    // With a gradient: edits it modally and, on OK, repaints and runs OnClick. Without: only
    // OnClick.
    void Click() override;
    void DrawSymbol(TZuzCanvas* Canvas) override;
    // The editor while it is open, else nullptr.
    TZuzGradientEditor* GetEditor() const { return FEditor; }

    // Handed to the editor: its colour controls stay enabled whatever Visible says.
    bool AlwaysEnabled = false;

private:
    void EditorDestroyed(TObject* Sender);
    TZuzGradientEditor* FEditor = nullptr;
    TNotifyEvent FOldDestroy;
};

// The unit's classes, for streams and virtual construction.
void ZuzEdiGradInitialization();
