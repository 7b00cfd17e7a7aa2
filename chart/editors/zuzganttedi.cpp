#include "chart/editors/zuzganttedi.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzpoedi.h"
#include "chart/engine/seriespointer.h"
#include "chart/series/ganttch.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TGanttSeriesEditor::StaticClass() {
    using F = TGanttSeriesEditor;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormCreate>("FormCreate"),
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::FormDestroy>("FormDestroy"),
        MakeMethod<&F::SEPointVertSizeChange>("SEPointVertSizeChange"),
        MakeMethod<&F::CBColorEachClick>("CBColorEachClick"),
        MakeMethod<&F::Edit1Change>("Edit1Change"),
    };
    static const ClassInfo ci = MakeClassInfo<F>("TGanttSeriesEditor", &TForm::StaticClass(), methods);
    return ci;
}

void TGanttSeriesEditor::BindComponents() {
    Bind(LHeight, u"LHeight");
    Bind(SEPointVertSize, u"SEPointVertSize");
    Bind(UDPointVertSize, u"UDPointVertSize");
    Bind(BConnLines, u"BConnLines");
    Bind(GPLine, u"GPLine");
    Bind(BColor, u"BColor");
    Bind(CBColorEach, u"CBColorEach");
    Bind(LTransp, u"LTransp");
    Bind(Edit1, u"Edit1");
    Bind(UpDown1, u"UpDown1");
}

void TGanttSeriesEditor::Notification(TComponent* AComponent, TOperation Operation) {
    TForm::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPointerForm) FPointerForm = nullptr;
}

void TGanttSeriesEditor::FormCreate(TObject*) {
    SetBorderStyle(bsDialog);
}

void TGanttSeriesEditor::FormShow(TObject*) {
    FGantt = ZuzTagObject<TGanttSeries>(this);
    if (!FGantt) return;
    {
        const TRestoreOnExit<bool> filling(FFilling, true);
        UDPointVertSize->SetPosition(FGantt->GetPointer()->GetVertSize());
        CBColorEach->SetChecked(FGantt->GetColorEachPoint());
        UpDown1->SetPosition(FGantt->GetTransparency());
        BConnLines->LinkPen(FGantt->GetConnectingPen());
        BColor->LinkProperty(FGantt, u"SeriesColor");
        BColor->SetEnabled(!FGantt->GetColorEachPoint());
    }
    // The bar's height is edited here, so the pointer page shows no size.
    if (!FPointerForm) {
        TSeriesPointerEditor* pointer = ZuzInsertPointerForm(this, FGantt->GetPointer(), VavIve_GalleryGantt);
        pointer->HideSizeOptions();
        pointer->FreeNotification(this);
        FPointerForm = pointer;
    }
}

void TGanttSeriesEditor::FormDestroy(TObject*) {
    if (FPointerForm) {
        TCustomForm* pointer = FPointerForm;
        FPointerForm = nullptr;
        pointer->Free();
    }
}

// A typed 0 is read back as the up-down's minimum: a bar keeps at least one pixel.
void TGanttSeriesEditor::SEPointVertSizeChange(TObject*) {
    if (Writing()) FGantt->GetPointer()->SetVertSize(UDPointVertSize->GetPosition());
}

void TGanttSeriesEditor::CBColorEachClick(TObject*) {
    if (FFilling || !FGantt) return;
    FGantt->SetColorEachPoint(CBColorEach->GetChecked());
    BColor->SetEnabled(!CBColorEach->GetChecked());
}

void TGanttSeriesEditor::Edit1Change(TObject*) {
    if (Writing()) FGantt->SetTransparency(UpDown1->GetPosition());
}

void RegisterZuzGanttEdiClasses() {
    RegisterClass(TGanttSeriesEditor::StaticClass());
}
