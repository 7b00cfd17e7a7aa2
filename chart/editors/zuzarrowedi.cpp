#include "chart/editors/zuzarrowedi.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzbrushdlg.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/engine/seriespointer.h"
#include "chart/series/arrowcha.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TArrowSeriesEditor::StaticClass() {
    using F = TArrowSeriesEditor;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormCreate>("FormCreate"),
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::BBrushClick>("BBrushClick"),
        MakeMethod<&F::SEArrowWidthChange>("SEArrowWidthChange"),
        MakeMethod<&F::SEArrowHeightChange>("SEArrowHeightChange"),
        MakeMethod<&F::CBColorEachClick>("CBColorEachClick"),
        MakeMethod<&F::SBPercentChange>("SBPercentChange"),
    };
    static const ClassInfo ci = MakeClassInfo<F>("TArrowSeriesEditor", &TForm::StaticClass(), methods);
    return ci;
}

void TArrowSeriesEditor::BindComponents() {
    Bind(BPen, u"BPen");
    Bind(BBrush, u"BBrush");
    Bind(LWidth, u"LWidth");
    Bind(SEArrowWidth, u"SEArrowWidth");
    Bind(UDArrowWidth, u"UDArrowWidth");
    Bind(LHeight, u"LHeight");
    Bind(SEArrowHeight, u"SEArrowHeight");
    Bind(UDArrowHeight, u"UDArrowHeight");
    Bind(CBColorEach, u"CBColorEach");
    Bind(BArrowColor, u"BArrowColor");
    Bind(LSize, u"LSize");
    Bind(SBPercent, u"SBPercent");
    Bind(LPercent, u"LPercent");
}

void TArrowSeriesEditor::FormCreate(TObject*) {
    SetBorderStyle(bsDialog);
}

// The values put into the controls here reach the series only from a person's later change:
// the width, height and size handlers write only while the form is showing.
void TArrowSeriesEditor::FormShow(TObject*) {
    FArrow = ZuzTagObject<TArrowSeries>(this);
    if (!FArrow) return;
    const TRestoreOnExit<bool> filling(FFilling, true);
    CBColorEach->SetChecked(FArrow->GetColorEachPoint());
    BArrowColor->SetEnabled(!FArrow->GetColorEachPoint());
    UDArrowWidth->SetPosition(FArrow->GetArrowWidth());
    UDArrowHeight->SetPosition(FArrow->GetArrowHeight());
    SBPercent->SetPosition(FArrow->GetArrowPercent());
    RefreshPercent();
    BPen->LinkPen(FArrow->GetPointer()->GetPen());
    BArrowColor->LinkProperty(FArrow, u"SeriesColor");
}

void TArrowSeriesEditor::RefreshPercent() {
    LPercent->SetCaption(IntToStr(SBPercent->GetPosition()) + u"%");
}

void TArrowSeriesEditor::BBrushClick(TObject*) {
    if (FArrow) EditChartBrush(this, FArrow->GetPointer()->GetBrush());
}

void TArrowSeriesEditor::SEArrowWidthChange(TObject*) {
    if (Writing()) FArrow->SetArrowWidth(UDArrowWidth->GetPosition());
}

void TArrowSeriesEditor::SEArrowHeightChange(TObject*) {
    if (Writing()) FArrow->SetArrowHeight(UDArrowHeight->GetPosition());
}

void TArrowSeriesEditor::CBColorEachClick(TObject*) {
    if (!FArrow || FFilling) return;
    FArrow->SetColorEachPoint(CBColorEach->GetChecked());
    BArrowColor->SetEnabled(!CBColorEach->GetChecked());
    if (CBColorEach->GetChecked()) FArrow->GetPointer()->SetColor(clZuzColor);
}

void TArrowSeriesEditor::SBPercentChange(TObject*) {
    RefreshPercent();
    if (Writing()) FArrow->SetArrowPercent(SBPercent->GetPosition());
}

void RegisterZuzArrowEdiClasses() {
    RegisterClass(TArrowSeriesEditor::StaticClass());
}
