#pragma once
// The print preview window: the printer, the paper's orientation, the margins, the detail
// and the proportions of a chart panel, chosen while its page image is watched, then printed.

#include "chart/series/zuznavigator.h"
#include "chart/series/zuzpreviewpanel.h"
#include "platform/gui/forms.h"

class TButton;
class TCheckBox;
class TComboFlat;
class TEdit;
class TGroupBox;
class TLabel;
class TPanel;
class TPrinterSetupDialog;
class TRadioGroup;
class TTrackBar;
class TUpDown;

// While true, the printer turns to landscape each time the preview opens with printers present.
extern bool ZuzChangePaperOrientation;

// Makes the page navigator the preview shows under its settings.
using TZuzNavigatorClass = TCustomZuzNavigator* (*)(TComponent* AOwner);

class TChartPreview : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TChartPreview(TComponent* AOwner) : TForm(AOwner) {}

    TPanel* Panel1 = nullptr;
    TLabel* Label1 = nullptr;
    TComboFlat* CBPrinters = nullptr;
    TPanel* PanelClose = nullptr;
    TButton* BClose = nullptr;
    TPanel* Panel3 = nullptr;
    TButton* BSetupPrinter = nullptr;
    TButton* BPrint = nullptr;
    TPanel* Panel2 = nullptr;
    TRadioGroup* Orientation = nullptr;
    TGroupBox* GBMargins = nullptr;
    TEdit *SETopMa = nullptr, *SELeftMa = nullptr, *SEBotMa = nullptr, *SERightMa = nullptr;
    TUpDown *UDTopMa = nullptr, *UDLeftMa = nullptr, *UDBotMa = nullptr, *UDRightMa = nullptr;
    TGroupBox* ChangeDetailGroup = nullptr;
    TLabel *Label2 = nullptr, *Label3 = nullptr;
    TTrackBar* Resolution = nullptr;
    TPanel* PanelMargins = nullptr;
    TButton* BReset = nullptr;
    TCheckBox* ShowMargins = nullptr;
    TPanel* PanelOptions = nullptr;
    TCheckBox* CBProp = nullptr;
    TCheckBox* CBBitmap = nullptr;
    TZuzPreviewPanel* ZuzPreviewPanel1 = nullptr;

    TZuzPreviewPanel* PreviewPanel() const { return ZuzPreviewPanel1; }
    void HideCloseButton();
    // The navigator to show under the settings; set before the form is shown.
    TZuzNavigatorClass NavigatorClass = nullptr;
    TCustomZuzNavigator* GetNavigator() const { return FNavigator; }
    const TRect& GetOldMargins() const { return FOldMargins; }

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void Panel1Resize(TObject* Sender);
    void CBPrintersChange(TObject* Sender);
    void OrientationClick(TObject* Sender);
    void BSetupPrinterClick(TObject* Sender);
    void BPrintClick(TObject* Sender);
    void BCloseClick(TObject* Sender);
    void SETopMaChange(TObject* Sender);
    void SELeftMaChange(TObject* Sender);
    void SEBotMaChange(TObject* Sender);
    void SERightMaChange(TObject* Sender);
    void TrackBar1Change(TObject* Sender);
    void CBPropClick(TObject* Sender);
    void BResetClick(TObject* Sender);
    void ShowMarginsClick(TObject* Sender);
    void CBBitmapClick(TObject* Sender);
    void ZuzPreviewPanel1ChangeMargins(TObject* Sender, bool DisableProportional, const TRect& NewMargins);
    void Navigator1ButtonClicked(TObject* Sender, TZuzNavigateBtn Button);
    void ResetMargins();
    void CheckOrientation();

protected:
    void BindComponents() override;

private:
    void LoadPrinters();
    // One margin edit changed: Side is the edited margin, Opposite the one across the sheet.
    void MarginEdited(TUpDown* UpDown, int TRect::*Side, int TRect::*Opposite);
    bool fChangingMargins = false;
    bool fChangingProportional = false;
    TRect FOldMargins;
    TCustomZuzNavigator* FNavigator = nullptr;          // owned by the form
    TPrinterSetupDialog* FPrinterSetupDialog = nullptr; // owned by the form
};

// Shows the preview of Panel modally, owned by AOwner, and repaints the panel afterwards.
void ZuzPreview(TComponent* AOwner, TCustomZuzPanel* Panel);
