#include "chart/series/zuzprevi.h"
#include "chart/canvas/hourglass.h"

#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "platform/core/sysutils.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/printers.h"
#include "platform/gui/stdctrls.h"

bool ZuzChangePaperOrientation = true;

const ClassInfo& TChartPreview::StaticClass() {
    using F = TChartPreview;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormCreate>("FormCreate"),
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::FormDestroy>("FormDestroy"),
        MakeMethod<&F::Panel1Resize>("Panel1Resize"),
        MakeMethod<&F::CBPrintersChange>("CBPrintersChange"),
        MakeMethod<&F::OrientationClick>("OrientationClick"),
        MakeMethod<&F::BSetupPrinterClick>("BSetupPrinterClick"),
        MakeMethod<&F::BPrintClick>("BPrintClick"),
        MakeMethod<&F::BCloseClick>("BCloseClick"),
        MakeMethod<&F::SETopMaChange>("SETopMaChange"),
        MakeMethod<&F::SELeftMaChange>("SELeftMaChange"),
        MakeMethod<&F::SEBotMaChange>("SEBotMaChange"),
        MakeMethod<&F::SERightMaChange>("SERightMaChange"),
        MakeMethod<&F::TrackBar1Change>("TrackBar1Change"),
        MakeMethod<&F::CBPropClick>("CBPropClick"),
        MakeMethod<&F::BResetClick>("BResetClick"),
        MakeMethod<&F::ShowMarginsClick>("ShowMarginsClick"),
        MakeMethod<&F::CBBitmapClick>("CBBitmapClick"),
        MakeMethod<&F::ZuzPreviewPanel1ChangeMargins>("ZuzPreviewPanel1ChangeMargins"),
    };
    static const ClassInfo ci = MakeClassInfo<TChartPreview>("TChartPreview", &TForm::StaticClass(), methods);
    return ci;
}

void TChartPreview::BindComponents() {
    Bind(Panel1, u"Panel1");
    Bind(Label1, u"Label1");
    Bind(CBPrinters, u"CBPrinters");
    Bind(PanelClose, u"PanelClose");
    Bind(BClose, u"BClose");
    Bind(Panel3, u"Panel3");
    Bind(BSetupPrinter, u"BSetupPrinter");
    Bind(BPrint, u"BPrint");
    Bind(Panel2, u"Panel2");
    Bind(Orientation, u"Orientation");
    Bind(GBMargins, u"GBMargins");
    Bind(SETopMa, u"SETopMa");
    Bind(SELeftMa, u"SELeftMa");
    Bind(SEBotMa, u"SEBotMa");
    Bind(SERightMa, u"SERightMa");
    Bind(UDTopMa, u"UDTopMa");
    Bind(UDLeftMa, u"UDLeftMa");
    Bind(UDBotMa, u"UDBotMa");
    Bind(UDRightMa, u"UDRightMa");
    Bind(ChangeDetailGroup, u"ChangeDetailGroup");
    Bind(Label2, u"Label2");
    Bind(Label3, u"Label3");
    Bind(Resolution, u"Resolution");
    Bind(PanelMargins, u"PanelMargins");
    Bind(BReset, u"BReset");
    Bind(ShowMargins, u"ShowMargins");
    Bind(PanelOptions, u"PanelOptions");
    Bind(CBProp, u"CBProp");
    Bind(CBBitmap, u"CBBitmap");
    Bind(ZuzPreviewPanel1, u"ZuzPreviewPanel1");
}

void TChartPreview::HideCloseButton() {
    PanelClose->SetVisible(false);
}

void TChartPreview::FormCreate(TObject*) {
    fChangingMargins = true;
    fChangingProportional = false;
    FPrinterSetupDialog = Create<TPrinterSetupDialog>(this);
}

void TChartPreview::FormDestroy(TObject*) {
    // The form owns and frees both.
    FNavigator = nullptr;
    FPrinterSetupDialog = nullptr;
}

void TChartPreview::Panel1Resize(TObject*) {
    CBPrinters->SetWidth(std::max(0, Panel3->GetLeft() - CBPrinters->GetLeft() - 4));
}

void TChartPreview::LoadPrinters() {
    TPrinter* printer = Printer();
    CBPrinters->GetItems()->Assign(printer->GetPrinters());
    CBPrinters->SetItemIndex(printer->GetPrinterIndex());
}

void TChartPreview::FormShow(TObject*) {
    if (NavigatorClass && !FNavigator) {
        FNavigator = NavigatorClass(this);
        FNavigator->SetAlign(alBottom);
        FNavigator->SetHelpContext(1488);
        FNavigator->SetParent(Panel2);
        FNavigator->OnButtonClicked.Bind(this, &TChartPreview::Navigator1ButtonClicked);
    }
    Screen->SetCursor(crDefault);
    if (auto* panel = reinterpret_cast<TCustomZuzPanel*>(GetTag())) ZuzPreviewPanel1->SetPanel(panel);
    if (!ZuzPrintersExist()) {
        BPrint->SetEnabled(false);
        BSetupPrinter->SetEnabled(false);
        Orientation->SetEnabled(false);
    } else {
        LoadPrinters();
        if (ZuzChangePaperOrientation) Printer()->SetOrientation(poLandscape);
        CheckOrientation();
    }
    TCustomZuzPanel* panel = ZuzPreviewPanel1->GetPanel();
    if (!panel) {
        CBProp->SetEnabled(false);
        Resolution->SetEnabled(false);
        GBMargins->SetEnabled(false);
        BPrint->SetEnabled(false);
    } else {
        fChangingProportional = true;
        CBProp->SetChecked(panel->GetPrintProportional());
        fChangingProportional = false;
        Resolution->SetPosition(panel->GetPrintResolution() + 100);
        FOldMargins = panel->PrintMargins;
        ResetMargins();
        if (FNavigator) FNavigator->SetPanel(panel);
    }
    BReset->SetEnabled(false);
    CBBitmap->SetChecked(ZuzPreviewPanel1->GetAsBitmap());
    fChangingMargins = false;
    ZuzTranslateControl(this);
}

void TChartPreview::CheckOrientation() {
    Orientation->SetItemIndex(Printer()->GetOrientation() == poPortrait ? 0 : 1);
}

void TChartPreview::ResetMargins() {
    TCustomZuzPanel* panel = ZuzPreviewPanel1->GetPanel();
    if (!panel) return;
    if (panel->GetPrintProportional() && ZuzPrintersExist())
        panel->PrintMargins = panel->CalcProportionalMargins();
    ZuzPreviewPanel1ChangeMargins(ZuzPreviewPanel1, false, panel->PrintMargins);
    ZuzPreviewPanel1->Invalidate();
}

void TChartPreview::ZuzPreviewPanel1ChangeMargins(TObject*, bool DisableProportional,
                                                  const TRect& NewMargins) {
    const TRect margins = NewMargins; // the up-downs below write into the panel's own margins
    fChangingMargins = true;
    UDLeftMa->SetPosition(margins.Left);
    UDRightMa->SetPosition(margins.Right);
    UDTopMa->SetPosition(margins.Top);
    UDBotMa->SetPosition(margins.Bottom);
    if (DisableProportional) {
        if (TCustomZuzPanel* panel = ZuzPreviewPanel1->GetPanel()) panel->SetPrintProportional(false);
        fChangingProportional = true;
        CBProp->SetChecked(false);
        fChangingProportional = false;
    }
    fChangingMargins = false;
}

void TChartPreview::MarginEdited(TUpDown* UpDown, int TRect::*Side, int TRect::*Opposite) {
    if (!GetShowing()) return;
    TCustomZuzPanel* panel = ZuzPreviewPanel1->GetPanel();
    if (!panel) return;
    TRect margins = panel->PrintMargins;
    const int position = UpDown->GetPosition();
    if (position + margins.*Opposite >= 100) {
        // Nothing would be left between the two margins: the up-down goes back.
        const bool was = std::exchange(fChangingMargins, true);
        UpDown->SetPosition(margins.*Side);
        fChangingMargins = was;
        return;
    }
    margins.*Side = position;
    if (!fChangingMargins) {
        ZuzPreviewPanel1->Invalidate();
        fChangingProportional = true;
        CBProp->SetChecked(false);
        fChangingProportional = false;
        panel->SetPrintProportional(false);
    }
    BReset->SetEnabled(margins != FOldMargins);
    panel->PrintMargins = margins;
}

void TChartPreview::SETopMaChange(TObject*) {
    MarginEdited(UDTopMa, &TRect::Top, &TRect::Bottom);
}

void TChartPreview::SELeftMaChange(TObject*) {
    MarginEdited(UDLeftMa, &TRect::Left, &TRect::Right);
}

void TChartPreview::SEBotMaChange(TObject*) {
    MarginEdited(UDBotMa, &TRect::Bottom, &TRect::Top);
}

void TChartPreview::SERightMaChange(TObject*) {
    MarginEdited(UDRightMa, &TRect::Right, &TRect::Left);
}

void TChartPreview::CBPrintersChange(TObject*) {
    Printer()->SetPrinterIndex(CBPrinters->GetItemIndex());
    CheckOrientation();
    OrientationClick(this);
}

void TChartPreview::OrientationClick(TObject*) {
    if (!ZuzPrintersExist()) return;
    Printer()->SetOrientation(Orientation->GetItemIndex() == 0 ? poPortrait : poLandscape);
    ResetMargins();
    ZuzPreviewPanel1->Invalidate();
}

void TChartPreview::BSetupPrinterClick(TObject*) {
    FPrinterSetupDialog->Execute();
    LoadPrinters();
    CheckOrientation();
    ZuzPreviewPanel1->Invalidate();
}

void TChartPreview::CBPropClick(TObject*) {
    if (fChangingProportional) return;
    if (TCustomZuzPanel* panel = ZuzPreviewPanel1->GetPanel())
        panel->SetPrintProportional(CBProp->GetChecked());
    ResetMargins();
    BReset->SetEnabled(!CBProp->GetChecked());
}

void TChartPreview::BResetClick(TObject*) {
    TCustomZuzPanel* panel = ZuzPreviewPanel1->GetPanel();
    if (!panel) return;
    panel->PrintMargins = FOldMargins;
    ZuzPreviewPanel1ChangeMargins(ZuzPreviewPanel1, false, FOldMargins);
    ZuzPreviewPanel1->Invalidate();
    BReset->SetEnabled(false);
}

void TChartPreview::ShowMarginsClick(TObject*) {
    ZuzPreviewPanel1->GetMargins()->SetVisible(ShowMargins->GetChecked());
}

void TChartPreview::TrackBar1Change(TObject*) {
    if (TCustomZuzPanel* panel = ZuzPreviewPanel1->GetPanel())
        panel->SetPrintResolution(Resolution->GetPosition() - 100);
    ZuzPreviewPanel1->Invalidate();
}

void TChartPreview::CBBitmapClick(TObject*) {
    ZuzPreviewPanel1->SetAsBitmap(CBBitmap->GetChecked());
}

void TChartPreview::BPrintClick(TObject*) {
    // The cursor comes back also when the print fails.
    const THourGlass hourglass;
    if (FNavigator && FNavigator->PageCount() > 1)
        FNavigator->Print();
    else
        ZuzPreviewPanel1->Print();
}

void TChartPreview::BCloseClick(TObject*) {
    Close();
}

void TChartPreview::Navigator1ButtonClicked(TObject*, TZuzNavigateBtn) {
    ZuzPreviewPanel1->Invalidate();
}

void ZuzPreview(TComponent* AOwner, TCustomZuzPanel* Panel) {
    Owned<TChartPreview> form(Create<TChartPreview>(AOwner));
    form->PreviewPanel()->SetPanel(Panel);
    form->ShowModal();
    form.reset();
    if (Panel) Panel->Invalidate();
}
