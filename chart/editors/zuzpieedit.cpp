#include "chart/editors/zuzpieedit.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzcirclededit.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzedilege.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/engine/chart.h"
#include "chart/engine/colorpalettes.h"
#include "chart/series/series_pie.h"
#include "platform/core/sysutils.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TPieSeriesEditor::StaticClass() {
    using F = TPieSeriesEditor;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormCreate>("FormCreate"),
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::FormDestroy>("FormDestroy"),
        MakeMethod<&F::CBDark3dClick>("CBDark3dClick"),
        MakeMethod<&F::SEExpBigChange>("SEExpBigChange"),
        MakeMethod<&F::CBPatternsClick>("CBPatternsClick"),
        MakeMethod<&F::Edit1Change>("Edit1Change"),
        MakeMethod<&F::Edit2Change>("Edit2Change"),
        MakeMethod<&F::CBMultipleChange>("CBMultipleChange"),
        MakeMethod<&F::TBBrightChange>("TBBrightChange"),
        MakeMethod<&F::CBOtherChange>("CBOtherChange"),
        MakeMethod<&F::EOtherValueChange>("EOtherValueChange"),
        MakeMethod<&F::EOtherLabelChange>("EOtherLabelChange"),
        MakeMethod<&F::Button2Click>("Button2Click"),
        MakeMethod<&F::CBColorEachClick>("CBColorEachClick"),
        MakeMethod<&F::CBPaletteChange>("CBPaletteChange"),
        MakeMethod<&F::CBMarksAutoPositionClick>("CBMarksAutoPositionClick"),
        MakeMethod<&F::CBVertCenterClick>("CBVertCenterClick"),
        MakeMethod<&F::SBLegSizeChange>("SBLegSizeChange"),
    };
    static const ClassInfo ci = MakeClassInfo<F>("TPieSeriesEditor", &TForm::StaticClass(), methods);
    return ci;
}

void TPieSeriesEditor::BindComponents() {
    Bind(PageControl1, u"PageControl1");
    Bind(TabOptions, u"TabOptions");
    Bind(CBDark3d, u"CBDark3d");
    Bind(LExpBig, u"LExpBig");
    Bind(SEExpBig, u"SEExpBig");
    Bind(UDExpBig, u"UDExpBig");
    Bind(CBPatterns, u"CBPatterns");
    Bind(BPen, u"BPen");
    Bind(LAngleSize, u"LAngleSize");
    Bind(Edit1, u"Edit1");
    Bind(UDAngleSize, u"UDAngleSize");
    Bind(BGradient, u"BGradient");
    Bind(LDarkPen, u"LDarkPen");
    Bind(Edit2, u"Edit2");
    Bind(UpDown1, u"UpDown1");
    Bind(LMultiple, u"LMultiple");
    Bind(CBMultiple, u"CBMultiple");
    Bind(LGradBright, u"LGradBright");
    Bind(TBBright, u"TBBright");
    Bind(LBright, u"LBright");
    Bind(TabOther, u"TabOther");
    Bind(LOther, u"LOther");
    Bind(CBOther, u"CBOther");
    Bind(LOtherValue, u"LOtherValue");
    Bind(EOtherValue, u"EOtherValue");
    Bind(LOtherLabel, u"LOtherLabel");
    Bind(EOtherLabel, u"EOtherLabel");
    Bind(Button2, u"Button2");
    Bind(TabColors, u"TabColors");
    Bind(CBColorEach, u"CBColorEach");
    Bind(BColor, u"BColor");
    Bind(LPalette, u"LPalette");
    Bind(CBPalette, u"CBPalette");
    Bind(TabMarks, u"TabMarks");
    Bind(CBMarksAutoPosition, u"CBMarksAutoPosition");
    Bind(CBVertCenter, u"CBVertCenter");
    Bind(LLegSize, u"LLegSize");
    Bind(SBLegSize, u"SBLegSize");
}

void TPieSeriesEditor::Notification(TComponent* AComponent, TOperation Operation) {
    TForm::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FCircledForm) FCircledForm = nullptr;
}

void TPieSeriesEditor::FormCreate(TObject*) {
    SetBorderStyle(bsDialog);
}

void TPieSeriesEditor::FormShow(TObject*) {
    FPie = ZuzTagObject<TPieSeries>(this);
    if (FPie) {
        const TRestoreOnExit<bool> filling(FFilling, true);
        ISeriesChart* chart = FPie->GetParentChart();
        CBDark3d->SetChecked(FPie->GetDark3D());
        CBDark3d->SetEnabled(chart && chart->GetView3D());
        UDExpBig->SetPosition(FPie->GetExplodeBiggest());
        CBPatterns->SetChecked(FPie->GetUsePatterns());
        BPen->LinkPen(FPie->GetPiePen());
        UDAngleSize->SetPosition(FPie->GetAngleSize());
        UpDown1->SetPosition(FPie->GetDarkPen());
        CBMultiple->SetItemIndex(FPie->GetMultiPie() == mpAutomatic ? 0 : 1);
        TBBright->SetPosition(FPie->GetGradientBright());
        LBright->SetCaption(IntToStr(FPie->GetGradientBright()));
        TPieOtherSlice* other = FPie->GetOtherSlice();
        CBOther->SetItemIndex(other->GetStyle());
        EOtherValue->SetText(FloatToStr(other->GetValue()));
        EOtherLabel->SetText(other->GetText());
        EnableOther();
        CBColorEach->SetChecked(FPie->GetColorEachPoint());
        BColor->LinkProperty(FPie, u"SeriesColor");
        CBPalette->GetItems()->Clear();
        if (ColorPalettes) ColorPalettes->AddTo(CBPalette->GetItems(), true);
        if (auto* owner = dynamic_cast<TCustomChart*>(chart))
            CBPalette->SetItemIndex(owner->GetColorPaletteIndex() + 1);
        EnableColors();
        CBMarksAutoPosition->SetChecked(FPie->GetAutoMarkPosition());
        CBVertCenter->SetChecked(FPie->GetPieMarks()->GetVertCenter());
        SBLegSize->SetPosition(FPie->GetPieMarks()->GetLegSize());
        BGradient->LinkGradient(FPie->GetGradient());
        if (!FCircledForm) {
            FCircledForm = TCircledSeriesEditor::CreateForm(this, FPie);
            if (FCircledForm) {
                FCircledForm->FreeNotification(this);
                ShowControls(false, {FCircledForm->BBack, FCircledForm->CBTransp, FCircledForm->BGradient});
            }
        }
    }
    PageControl1->SetActivePage(TabOptions);
    ZuzTranslateControl(this);
    FFilling = false;
}

void TPieSeriesEditor::FormDestroy(TObject*) {
    if (FCircledForm) {
        TCircledSeriesEditor* circled = FCircledForm;
        FCircledForm = nullptr;
        circled->Free();
    }
}

bool TPieSeriesEditor::Writing() const {
    return FPie && !FFilling && GetShowing();
}

void TPieSeriesEditor::EnableOther() {
    const bool grouping = CBOther->GetItemIndex() > 0;
    EOtherValue->SetEnabled(grouping);
    EOtherLabel->SetEnabled(grouping);
}

void TPieSeriesEditor::EnableColors() {
    BColor->SetEnabled(!CBColorEach->GetChecked());
    CBPalette->SetEnabled(CBColorEach->GetChecked());
}

void TPieSeriesEditor::CBDark3dClick(TObject*) {
    if (Writing()) FPie->SetDark3D(CBDark3d->GetChecked());
}

void TPieSeriesEditor::SEExpBigChange(TObject*) {
    if (Writing()) FPie->SetExplodeBiggest(UDExpBig->GetPosition());
}

void TPieSeriesEditor::CBPatternsClick(TObject*) {
    if (!FFilling && FPie) FPie->SetUsePatterns(CBPatterns->GetChecked());
}

void TPieSeriesEditor::Edit1Change(TObject*) {
    if (Writing()) FPie->SetAngleSize(UDAngleSize->GetPosition());
}

void TPieSeriesEditor::Edit2Change(TObject*) {
    if (Writing()) FPie->SetDarkPen(UpDown1->GetPosition());
}

void TPieSeriesEditor::CBMultipleChange(TObject*) {
    if (!FFilling && FPie) FPie->SetMultiPie(CBMultiple->GetItemIndex() == 0 ? mpAutomatic : mpDisabled);
}

void TPieSeriesEditor::TBBrightChange(TObject*) {
    LBright->SetCaption(IntToStr(TBBright->GetPosition()));
    if (!FFilling && FPie) FPie->SetGradientBright(TBBright->GetPosition());
}

void TPieSeriesEditor::CBOtherChange(TObject*) {
    if (FFilling || !FPie || CBOther->GetItemIndex() < 0) return;
    FPie->GetOtherSlice()->SetStyle(static_cast<TPieOtherStyle>(CBOther->GetItemIndex()));
    EnableOther();
}

// Each keystroke arrives here: a text that is not a number yet ("-", "1e") or at all keeps the
// value, and an empty box changes nothing.
void TPieSeriesEditor::EOtherValueChange(TObject*) {
    if (FFilling || !FPie) return;
    const String text = EOtherValue->GetText();
    if (text.empty()) return;
    TPieOtherSlice* other = FPie->GetOtherSlice();
    other->SetValue(StrToFloatDef(text, other->GetValue()));
}

void TPieSeriesEditor::EOtherLabelChange(TObject*) {
    if (!FFilling && FPie) FPie->GetOtherSlice()->SetText(EOtherLabel->GetText());
}

void TPieSeriesEditor::Button2Click(TObject*) {
    if (!FPie) return;
    TFormFreer<TFormZuzLegend> form(Create<TFormZuzLegend>(this, FPie->GetOtherSlice()->GetLegend()));
    // The legend page, made to be embedded without a frame, shown on its own: a dialog the
    // operator can see whole, over the editor's window, rather than a bare panel at its page's
    // place on the screen.
    form->SetBorderStyle(bsDialog);
    form->SetCaption(VavIve_Legend);
    PositionToCenter(form.get());
    form->ShowModal();
}

void TPieSeriesEditor::CBColorEachClick(TObject*) {
    if (FFilling || !FPie) return;
    FPie->SetColorEachPoint(CBColorEach->GetChecked());
    EnableColors();
}

void TPieSeriesEditor::CBPaletteChange(TObject*) {
    if (FFilling || !FPie) return;
    if (auto* chart = dynamic_cast<TCustomChart*>(FPie->GetParentChart()))
        chart->SetColorPaletteIndex(CBPalette->GetItemIndex() - 1);
}

void TPieSeriesEditor::CBMarksAutoPositionClick(TObject*) {
    if (!FFilling && FPie) FPie->SetAutoMarkPosition(CBMarksAutoPosition->GetChecked());
}

void TPieSeriesEditor::CBVertCenterClick(TObject*) {
    if (!FFilling && FPie) FPie->GetPieMarks()->SetVertCenter(CBVertCenter->GetChecked());
}

void TPieSeriesEditor::SBLegSizeChange(TObject*) {
    if (!FFilling && FPie) FPie->GetPieMarks()->SetLegSize(SBLegSize->GetPosition());
}

void RegisterZuzPieEditClasses() {
    RegisterClass(TPieSeriesEditor::StaticClass());
}
