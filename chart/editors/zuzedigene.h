#pragma once
// The chart editor's "General" page (mouse zoom and scroll, the cursor over the chart, and the
// fonts of every text of the chart edited together), the page navigator of a paged chart, and
// the print preview with that navigator.

#include "chart/series/zuznavigator.h"
#include "platform/gui/forms.h"

#include <vector>

class TButtonPen;
class TCheckBox;
class TComboFlat;
class TCustomAxisPanel;
class TCustomChart;
class TEdit;
class TGroupBox;
class TImage;
class TLabel;
class TListBox;
class TOpenDialog;
class TPageControl;
class TPanel;
class TRadioGroup;
class TTabSheet;
class TUpDown;
class TZuzFont;
class TZuzFontEditor;

class TFormZuzGeneral : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    TFormZuzGeneral(TComponent* AOwner, TCustomChart* Chart);
    explicit TFormZuzGeneral(TComponent* AOwner) : TFormZuzGeneral(AOwner, nullptr) {}
    ~TFormZuzGeneral() override;
    void AfterConstruction() override;
    void BeforeDestruction() override;

    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabZoom = nullptr;
    TCheckBox* CBAllowZoom = nullptr;
    TCheckBox* CBAnimatedZoom = nullptr;
    TLabel* L1 = nullptr;
    TEdit* SEAniZoomSteps = nullptr;
    TUpDown* UDAniZoomSteps = nullptr;
    TButtonPen* BZoomPen = nullptr;
    TButton* BZoomColor = nullptr;
    TLabel* L2 = nullptr;
    TEdit* EMinPix = nullptr;
    TUpDown* UDMinPix = nullptr;
    TLabel* L3 = nullptr;
    TComboFlat* CBDir = nullptr;
    TLabel* L4 = nullptr;
    TComboFlat* CBZoomMouse = nullptr;
    TCheckBox* CBUpLeft = nullptr;
    TTabSheet* TabScroll = nullptr;
    TRadioGroup* RGPanning = nullptr;
    TLabel* L5 = nullptr;
    TComboFlat* CBScrollMouse = nullptr;
    TTabSheet* TabCursor = nullptr;
    TLabel* L6 = nullptr;
    TComboFlat* CBCursor = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TImage* ImageCursor = nullptr;
    TButton* BLoad = nullptr;
    TTabSheet* TabFonts = nullptr;
    TListBox* LBFonts = nullptr;
    TPanel* PanelFont = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TCustomChart* GetChart() const { return FChart; }
    // The font the page edits, from the list item last clicked (nullptr: none).
    TZuzFont* GetCurrentFont() const { return FFont; }
    // Made at the first click in the font list; freed with the panel that holds it.
    TZuzFontEditor* GetFontEditor() const { return FFontEditor; }
    // Lists every font of the chart anew and selects the title's.
    void FillFonts();

    void BLoadClick(TObject* Sender);
    void BZoomColorClick(TObject* Sender);
    void CBAllowZoomClick(TObject* Sender);
    void CBAnimatedZoomClick(TObject* Sender);
    void CBCursorChange(TObject* Sender);
    void CBDirChange(TObject* Sender);
    void CBScrollMouseChange(TObject* Sender);
    void CBUpLeftClick(TObject* Sender);
    void CBZoomMouseChange(TObject* Sender);
    void EMinPixChange(TObject* Sender);
    void FormCreate(TObject* Sender);
    void FormDeactivate(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void FormShow(TObject* Sender);
    void LBFontsClick(TObject* Sender);
    void LBFontsKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    void PageControl1Change(TObject* Sender);
    void RGPanningClick(TObject* Sender);
    void SEAniZoomStepsChange(TObject* Sender);

    // A series or tool leaving (or the chart) takes its fonts out of the list.
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    void BindComponents() override;

private:
    void EnableZoomControls();
    void ChangeCursor(TCursor Cursor);
    void ChangedFont(TObject* Sender);
    void ResetIFont();
    // Forgets the current font, putting its own change event back first when PutBack.
    void DropFont(bool PutBack);
    // The chart's fonts now, named as the list names them, with the component that owns each
    // (nullptr for the chart's own and the axes').
    struct TFontEntry {
        String Name;
        TZuzFont* Font;
        TComponent* Owner;
    };
    std::vector<TFontEntry> CollectFonts() const;
    bool IsLive(const TZuzFont* Font) const;
    void Forget(TComponent* Owner);

    TCustomChart* FChart = nullptr;
    TZuzFont* FFont = nullptr;
    Owned<TZuzFont> FBackup;
    TZuzFontEditor* FFontEditor = nullptr;
    TNotifyEvent FOldChange;
    std::vector<TFontEntry> FEntries;  // what the list shows
    std::vector<TComponent*> FWatched; // series and tools whose freeing this page hears of
};

// The first published font of Instance, depth first through its published objects that are no
// components, skipping Exclude; nullptr when it has none.
TZuzFont* ZuzFindFont(TObject* Instance, const TZuzFont* Exclude = nullptr);

// Steps through the pages of a paged chart and prints a range of them.
class TChartPageNavigator : public TCustomZuzNavigator {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TChartPageNavigator(TComponent* AOwner) : TCustomZuzNavigator(AOwner) {}

    TCustomAxisPanel* GetChart() const;
    void SetChart(TCustomAxisPanel* Value);

    void DoZuzEvent(TZuzEvent* Event) override;
    // Only a chart with axes has pages: any other panel counts as none.
    void SetPanel(TCustomZuzPanel* Value) override;
    void EnableButtons() override;
    int PageCount() override;
    // One page or none: page 1. More: the pages chosen in a print dialog.
    void Print() override;
    void BtnClick(TZuzNavigateBtn Index) override;
};

// The print preview of Panel with a page navigator, owned by AOwner; the panel is repainted
// afterwards, the form freed in every case.
void ChartPreview(TComponent* AOwner, TCustomZuzPanel* Panel);

void ZuzEdiGeneInitialization();
