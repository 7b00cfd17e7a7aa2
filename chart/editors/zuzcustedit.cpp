#include "chart/editors/zuzcustedit.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/editors/zuzbrushdlg.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzpoedi.h"
#include "chart/editors/zuzshadoweditor.h"
#include "chart/series/series.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TCustomSeriesEditor::StaticClass() {
    using F = TCustomSeriesEditor;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormCreate>("FormCreate"),
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::FormDestroy>("FormDestroy"),
        MakeMethod<&F::BLineBorderClick>("BLineBorderClick"),
        MakeMethod<&F::BLineColorClick>("BLineColorClick"),
        MakeMethod<&F::BBrushClick>("BBrushClick"),
        MakeMethod<&F::CBDark3DClick>("CBDark3DClick"),
        MakeMethod<&F::CBColorEachClick>("CBColorEachClick"),
        MakeMethod<&F::CBClickClick>("CBClickClick"),
        MakeMethod<&F::CBStairsClick>("CBStairsClick"),
        MakeMethod<&F::CBInvStairsClick>("CBInvStairsClick"),
        MakeMethod<&F::EHeightChange>("EHeightChange"),
        MakeMethod<&F::CBStackChange>("CBStackChange"),
        MakeMethod<&F::CBNullsChange>("CBNullsChange"),
        MakeMethod<&F::CheckBox1Click>("CheckBox1Click"),
        MakeMethod<&F::Button1Click>("Button1Click"),
        MakeMethod<&F::TBTranspChange>("TBTranspChange"),
    };
    static const ClassInfo ci = MakeClassInfo<F>("TCustomSeriesEditor", &TForm::StaticClass(), methods);
    return ci;
}

void TCustomSeriesEditor::BindComponents() {
    Bind(BLineBorder, u"BLineBorder");
    Bind(BLineColor, u"BLineColor");
    Bind(BBrush, u"BBrush");
    Bind(CBDark3D, u"CBDark3D");
    Bind(CBColorEach, u"CBColorEach");
    Bind(CBClick, u"CBClick");
    Bind(GBStair, u"GBStair");
    Bind(CBStairs, u"CBStairs");
    Bind(CBInvStairs, u"CBInvStairs");
    Bind(LHeight, u"LHeight");
    Bind(EHeight, u"EHeight");
    Bind(UDHeight, u"UDHeight");
    Bind(Label1, u"Label1");
    Bind(CBStack, u"CBStack");
    Bind(Label2, u"Label2");
    Bind(CBNulls, u"CBNulls");
    Bind(BOutline, u"BOutline");
    Bind(CheckBox1, u"CheckBox1");
    Bind(Button1, u"Button1");
    Bind(BGradient, u"BGradient");
    Bind(LTransp, u"LTransp");
    Bind(TBTransp, u"TBTransp");
}

void TCustomSeriesEditor::Notification(TComponent* AComponent, TOperation Operation) {
    TForm::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPointerForm) FPointerForm = nullptr;
}

void TCustomSeriesEditor::FormCreate(TObject*) {
    SetAlign(alClient);
}

void TCustomSeriesEditor::FormShow(TObject*) {
    FSeries = ZuzTagObject<TCustomSeries>(this);
    if (!FSeries) return;
    {
        const TRestoreOnExit<bool> filling(FFilling, true);
        CBColorEach->SetChecked(FSeries->GetColorEachPoint());
        BLineBorder->LinkPen(FSeries->GetLinePen());
        CBStack->SetItemIndex(FSeries->GetStacked());
        CBClick->SetChecked(FSeries->GetClickableLine());
        CheckBox1->SetChecked(FSeries->GetColorEachLine());
        CBNulls->SetItemIndex(FSeries->GetTreatNulls());
        if (dynamic_cast<TLineSeries*>(FSeries)) {
            CBStairs->SetChecked(FSeries->GetStairs());
            CBInvStairs->SetChecked(FSeries->GetInvertedStairs());
            CBInvStairs->SetEnabled(CBStairs->GetChecked());
            CBDark3D->SetChecked(FSeries->GetDark3D());
            UDHeight->SetPosition(FSeries->GetLineHeight());
            BOutline->LinkPen(FSeries->GetOutLine());
            BGradient->LinkGradient(FSeries->GetGradient());
            TBTransp->SetPosition(FSeries->GetTransparency());
        } else {
            // The transparency bar's label goes with it: alone it would name nothing.
            ShowControls(false, {BBrush, BOutline, GBStair, CBDark3D, LHeight, EHeight, UDHeight, BGradient,
                                 LTransp, TBTransp});
        }
        BLineColor->LinkProperty(FSeries, u"SeriesColor");
    }
    if (GetParent() && !FPointerForm) {
        FPointerForm = ZuzInsertPointerForm(this, FSeries->GetPointer(), VavIve_GalleryPoint);
        FPointerForm->FreeNotification(this);
    }
}

void TCustomSeriesEditor::FormDestroy(TObject*) {
    if (FPointerForm) {
        TCustomForm* pointer = FPointerForm;
        FPointerForm = nullptr;
        pointer->Free();
    }
}

// The colour button and the border button both show the line's colour.
void TCustomSeriesEditor::BLineBorderClick(TObject*) {
    BLineColor->Repaint();
}

void TCustomSeriesEditor::BLineColorClick(TObject*) {
    BLineBorder->Repaint();
}

void TCustomSeriesEditor::BBrushClick(TObject*) {
    if (FSeries) EditChartBrush(this, FSeries->GetBrush());
}

void TCustomSeriesEditor::CBDark3DClick(TObject*) {
    if (Writing()) FSeries->SetDark3D(CBDark3D->GetChecked());
}

void TCustomSeriesEditor::CBColorEachClick(TObject*) {
    if (Writing()) FSeries->SetColorEachPoint(CBColorEach->GetChecked());
}

void TCustomSeriesEditor::CBClickClick(TObject*) {
    if (Writing()) FSeries->SetClickableLine(CBClick->GetChecked());
}

void TCustomSeriesEditor::CBStairsClick(TObject*) {
    if (!Writing()) return;
    FSeries->SetStairs(CBStairs->GetChecked());
    CBInvStairs->SetEnabled(CBStairs->GetChecked());
}

void TCustomSeriesEditor::CBInvStairsClick(TObject*) {
    if (Writing()) FSeries->SetInvertedStairs(CBInvStairs->GetChecked());
}

void TCustomSeriesEditor::EHeightChange(TObject*) {
    if (Writing() && GetShowing()) FSeries->SetLineHeight(UDHeight->GetPosition());
}

void TCustomSeriesEditor::CBStackChange(TObject*) {
    if (Writing() && CBStack->GetItemIndex() >= 0)
        FSeries->SetStacked(static_cast<TCustomSeriesStack>(CBStack->GetItemIndex()));
}

void TCustomSeriesEditor::CBNullsChange(TObject*) {
    if (Writing() && CBNulls->GetItemIndex() >= 0)
        FSeries->SetTreatNulls(static_cast<TTreatNullsStyle>(CBNulls->GetItemIndex()));
}

void TCustomSeriesEditor::CheckBox1Click(TObject*) {
    if (Writing()) FSeries->SetColorEachLine(CheckBox1->GetChecked());
}

// A line's shadow is drawn hard-edged and opaque: those controls are not offered.
void TCustomSeriesEditor::Button1Click(TObject*) {
    if (!FSeries) return;
    TFormFreer<TZuzShadowEditor> editor(ZuzCreateForm<TZuzShadowEditor>(this));
    editor->RefreshControls(FSeries->GetShadow());
    ShowControls(false, {editor->CBSmooth, editor->LTransp, editor->EShadowTransp, editor->UDShadowTransp});
    editor->ShowModal();
}

void TCustomSeriesEditor::TBTranspChange(TObject*) {
    if (Writing()) FSeries->SetTransparency(TBTransp->GetPosition());
}

void RegisterZuzCustEditClasses() {
    RegisterClass(TCustomSeriesEditor::StaticClass());
}
