#include "chart/editors/zuzflineedi.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/series/series.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TFastLineSeriesEditor::StaticClass() {
    using F = TFastLineSeriesEditor;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormShow>("FormShow"),           MakeMethod<&F::CBDrawAllClick>("CBDrawAllClick"),
        MakeMethod<&F::CBStairsClick>("CBStairsClick"), MakeMethod<&F::CBInvStairsClick>("CBInvStairsClick"),
        MakeMethod<&F::CBNullsChange>("CBNullsChange"), MakeMethod<&F::BColorClick>("BColorClick"),
    };
    static const ClassInfo ci =
        MakeClassInfo<F>("TFastLineSeriesEditor", &TPenDialog::StaticClass(), methods);
    return ci;
}

void TFastLineSeriesEditor::BindComponents() {
    TPenDialog::BindComponents();
    Bind(CBDrawAll, u"CBDrawAll");
    Bind(GBStair, u"GBStair");
    Bind(CBStairs, u"CBStairs");
    Bind(CBInvStairs, u"CBInvStairs");
    Bind(Label2, u"Label2");
    Bind(CBNulls, u"CBNulls");
}

void TFastLineSeriesEditor::FormShow(TObject* Sender) {
    FFast = ZuzTagObject<TFastLineSeries>(this);
    if (FFast) {
        const TRestoreOnExit<bool> loading(FLoading, true);
        ThePen = FFast->GetLinePen();
        CBDrawAll->SetChecked(FFast->GetDrawAllPoints());
        CBStairs->SetChecked(FFast->GetStairs());
        CBInvStairs->SetChecked(FFast->GetInvertedStairs());
        CBInvStairs->SetEnabled(CBStairs->GetChecked());
        CBNulls->SetItemIndex(FFast->GetTreatNulls());
    }
    TPenDialog::FormShow(Sender);
}

void TFastLineSeriesEditor::CBDrawAllClick(TObject*) {
    if (!FLoading && FFast) FFast->SetDrawAllPoints(CBDrawAll->GetChecked());
}

void TFastLineSeriesEditor::CBStairsClick(TObject*) {
    if (FLoading || !FFast) return;
    FFast->SetStairs(CBStairs->GetChecked());
    CBInvStairs->SetEnabled(CBStairs->GetChecked());
}

void TFastLineSeriesEditor::CBInvStairsClick(TObject*) {
    if (!FLoading && FFast) FFast->SetInvertedStairs(CBInvStairs->GetChecked());
}

// "Ignore" draws across nulls; the other two need the series to look at them again.
void TFastLineSeriesEditor::CBNullsChange(TObject*) {
    if (FLoading || !FFast || CBNulls->GetItemIndex() < 0) return;
    FFast->SetIgnoreNulls(CBNulls->GetItemIndex() == tnIgnore);
    FFast->SetTreatNulls(static_cast<TTreatNullsStyle>(CBNulls->GetItemIndex()));
}

// The series keeps its colour and its pen's colour equal, and the style samples show it.
void TFastLineSeriesEditor::BColorClick(TObject* Sender) {
    TPenDialog::BColorClick(Sender);
    if (!FFast) return;
    FFast->SetSeriesColor(FFast->GetLinePen()->GetColor());
    CBStyle->Repaint();
}

void RegisterZuzFLineEdiClasses() {
    RegisterClass(TFastLineSeriesEditor::StaticClass());
}
