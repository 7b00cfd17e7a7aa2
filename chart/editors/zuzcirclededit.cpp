#include "chart/editors/zuzcirclededit.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzshadoweditor.h"
#include "chart/series/series_circled.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TCircledSeriesEditor::StaticClass() {
    using F = TCircledSeriesEditor;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormCreate>("FormCreate"),         MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::CBCircledClick>("CBCircledClick"), MakeMethod<&F::CB3DClick>("CB3DClick"),
        MakeMethod<&F::Edit1Change>("Edit1Change"),       MakeMethod<&F::BBackClick>("BBackClick"),
        MakeMethod<&F::CBTranspClick>("CBTranspClick"),   MakeMethod<&F::BGradientClick>("BGradientClick"),
        MakeMethod<&F::Edit2Change>("Edit2Change"),       MakeMethod<&F::CBAutoXRClick>("CBAutoXRClick"),
        MakeMethod<&F::Edit3Change>("Edit3Change"),       MakeMethod<&F::CBAutoYRClick>("CBAutoYRClick"),
    };
    static const ClassInfo ci = MakeClassInfo<F>("TCircledSeriesEditor", &TForm::StaticClass(), methods);
    return ci;
}

void TCircledSeriesEditor::BindComponents() {
    Bind(PageControl1, u"PageControl1");
    Bind(TabOptions, u"TabOptions");
    Bind(CBCircled, u"CBCircled");
    Bind(CB3D, u"CB3D");
    Bind(LRotation, u"LRotation");
    Bind(Edit1, u"Edit1");
    Bind(UDRot, u"UDRot");
    Bind(BBack, u"BBack");
    Bind(CBTransp, u"CBTransp");
    Bind(BGradient, u"BGradient");
    Bind(TabRadius, u"TabRadius");
    Bind(LXRadius, u"LXRadius");
    Bind(Edit2, u"Edit2");
    Bind(UDX, u"UDX");
    Bind(CBAutoXR, u"CBAutoXR");
    Bind(LYRadius, u"LYRadius");
    Bind(Edit3, u"Edit3");
    Bind(UDY, u"UDY");
    Bind(CBAutoYR, u"CBAutoYR");
    Bind(TabShadow, u"TabShadow");
}

TCircledSeriesEditor* TCircledSeriesEditor::CreateForm(TCustomForm* AForm, TCircledSeries* Series) {
    return ZuzInsertSeriesForm<TCircledSeriesEditor>(AForm, -1, VavIve_GalleryCircled, Series);
}

void TCircledSeriesEditor::Notification(TComponent* AComponent, TOperation Operation) {
    TForm::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FShadowForm) FShadowForm = nullptr;
}

void TCircledSeriesEditor::FormCreate(TObject*) {
    FFilling = true;
    PageControl1->SetActivePage(TabOptions);
    SetAlign(alClient);
}

void TCircledSeriesEditor::FormShow(TObject*) {
    FCircled = ZuzTagObject<TCircledSeries>(this);
    if (FCircled) {
        const TRestoreOnExit<bool> filling(FFilling, true);
        CBCircled->SetChecked(FCircled->GetCircled());
        ISeriesChart* chart = FCircled->GetParentChart();
        CB3D->SetChecked(chart && chart->GetView3D());
        UDRot->SetPosition(FCircled->GetRotationAngle());
        UDX->SetPosition(FCircled->GetCustomXRadius());
        CBAutoXR->SetChecked(FCircled->GetCustomXRadius() == 0);
        UDY->SetPosition(FCircled->GetCustomYRadius());
        CBAutoYR->SetChecked(FCircled->GetCustomYRadius() == 0);
        CBTransp->SetChecked(!FCircled->HasBackColor());
        CBTransp->SetEnabled(!CBTransp->GetChecked());
        BBack->LinkProperty(FCircled, u"CircleBackColor");
        BGradient->LinkGradient(FCircled->GetCircleGradient());
        if (!FShadowForm) {
            FShadowForm = InsertZuzShadowEditor(TabShadow);
            FShadowForm->FreeNotification(this);
        }
        FShadowForm->RefreshControls(FCircled->GetShadow());
    }
    FFilling = false;
}

// Loading the up-downs rewrites their edits; only a person's change is written.
bool TCircledSeriesEditor::Writing() const {
    return FCircled && !FFilling && GetShowing();
}

void TCircledSeriesEditor::CBCircledClick(TObject*) {
    if (!FFilling && FCircled) FCircled->SetCircled(CBCircled->GetChecked());
}

void TCircledSeriesEditor::CB3DClick(TObject*) {
    if (FFilling || !FCircled) return;
    if (ISeriesChart* chart = FCircled->GetParentChart()) chart->SetView3D(CB3D->GetChecked());
}

void TCircledSeriesEditor::Edit1Change(TObject*) {
    if (Writing()) FCircled->SetRotationAngle(UDRot->GetPosition());
}

void TCircledSeriesEditor::Edit2Change(TObject*) {
    if (!Writing()) return;
    FCircled->SetCustomXRadius(UDX->GetPosition());
    CBAutoXR->SetChecked(FCircled->GetCustomXRadius() == 0);
}

void TCircledSeriesEditor::Edit3Change(TObject*) {
    if (!Writing()) return;
    FCircled->SetCustomYRadius(UDY->GetPosition());
    CBAutoYR->SetChecked(FCircled->GetCustomYRadius() == 0);
}

void TCircledSeriesEditor::CBAutoXRClick(TObject*) {
    if (CBAutoXR->GetChecked()) UDX->SetPosition(0);
}

void TCircledSeriesEditor::CBAutoYRClick(TObject*) {
    if (CBAutoYR->GetChecked()) UDY->SetPosition(0);
}

void TCircledSeriesEditor::CBTranspClick(TObject*) {
    if (FFilling || !FCircled) return;
    if (CBTransp->GetChecked()) {
        FCircled->SetCircleBackColor(clZuzColor);
        FCircled->GetCircleGradient()->SetVisible(false);
        BBack->Repaint();
    }
    CBTransp->SetEnabled(!CBTransp->GetChecked());
}

// A colour of its own or a shown gradient ends the transparent background.
void TCircledSeriesEditor::ColourChosen() {
    {
        const TRestoreOnExit<bool> filling(FFilling, true);
        CBTransp->SetChecked(false);
    }
    CBTransp->SetEnabled(true);
}

void TCircledSeriesEditor::BBackClick(TObject*) {
    ColourChosen();
}

void TCircledSeriesEditor::BGradientClick(TObject*) {
    if (FCircled && FCircled->GetCircleGradient()->GetVisible()) ColourChosen();
}

void RegisterZuzCircledEditClasses() {
    RegisterClass(TCircledSeriesEditor::StaticClass());
}
