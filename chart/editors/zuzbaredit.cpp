#include "chart/editors/zuzbaredit.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzbrushdlg.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzshadoweditor.h"
#include "chart/editors/zuzstackbaredit.h"
#include "chart/series/series_bar.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TBarSeriesEditor::StaticClass() {
    using F = TBarSeriesEditor;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormCreate>("FormCreate"),
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::FormDestroy>("FormDestroy"),
        MakeMethod<&F::CBBarStyleChange>("CBBarStyleChange"),
        MakeMethod<&F::BBarBrushClick>("BBarBrushClick"),
        MakeMethod<&F::CBColorEachClick>("CBColorEachClick"),
        MakeMethod<&F::BGradientClick>("BGradientClick"),
        MakeMethod<&F::CBDarkBarClick>("CBDarkBarClick"),
        MakeMethod<&F::TBTranspChange>("TBTranspChange"),
        MakeMethod<&F::SEBarwidthChange>("SEBarwidthChange"),
        MakeMethod<&F::SEBarOffsetChange>("SEBarOffsetChange"),
        MakeMethod<&F::Edit1Change>("Edit1Change"),
        MakeMethod<&F::CBBarSideMarginsClick>("CBBarSideMarginsClick"),
        MakeMethod<&F::CBMarksAutoPositionClick>("CBMarksAutoPositionClick"),
        MakeMethod<&F::EBevelChange>("EBevelChange"),
        MakeMethod<&F::Edit2Change>("Edit2Change"),
    };
    static const ClassInfo ci = MakeClassInfo<F>("TBarSeriesEditor", &TForm::StaticClass(), methods);
    return ci;
}

void TBarSeriesEditor::BindComponents() {
    Bind(PageControl1, u"PageControl1");
    Bind(TabFormat, u"TabFormat");
    Bind(LStyle, u"LStyle");
    Bind(CBBarStyle, u"CBBarStyle");
    Bind(BBarBrush, u"BBarBrush");
    Bind(CBColorEach, u"CBColorEach");
    Bind(BBarColor, u"BBarColor");
    Bind(BGradient, u"BGradient");
    Bind(BTickLines, u"BTickLines");
    Bind(CBDarkBar, u"CBDarkBar");
    Bind(LTransp, u"LTransp");
    Bind(TBTransp, u"TBTransp");
    Bind(TabSize, u"TabSize");
    Bind(LBarWidth, u"LBarWidth");
    Bind(SEBarwidth, u"SEBarwidth");
    Bind(UDBarWidth, u"UDBarWidth");
    Bind(LBarOffset, u"LBarOffset");
    Bind(SEBarOffset, u"SEBarOffset");
    Bind(UDBarOffset, u"UDBarOffset");
    Bind(LDepth, u"LDepth");
    Bind(Edit1, u"Edit1");
    Bind(UDDepth, u"UDDepth");
    Bind(CBBarSideMargins, u"CBBarSideMargins");
    Bind(CBMarksAutoPosition, u"CBMarksAutoPosition");
    Bind(TabShadow, u"TabShadow");
    Bind(TabBorder, u"TabBorder");
    Bind(BBarPen, u"BBarPen");
    Bind(LBevel, u"LBevel");
    Bind(EBevel, u"EBevel");
    Bind(UDBevel, u"UDBevel");
    Bind(LDarkPen, u"LDarkPen");
    Bind(Edit2, u"Edit2");
    Bind(UDDarkPen, u"UDDarkPen");
}

void TBarSeriesEditor::Notification(TComponent* AComponent, TOperation Operation) {
    TForm::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FStackForm) FStackForm = nullptr;
    if (AComponent == FShadowForm) FShadowForm = nullptr;
}

void TBarSeriesEditor::FormCreate(TObject*) {
    FFilling = true;
    PageControl1->SetActivePage(PageControl1->GetPage(0));
    SetAlign(alClient);
}

void TBarSeriesEditor::FormShow(TObject*) {
    FBar = ZuzTagObject<TCustomBarSeries>(this);
    if (FBar) {
        const TRestoreOnExit<bool> filling(FFilling, true);
        CBBarStyle->SetItemIndex(FBar->GetBarStyle());
        UDBarWidth->SetPosition(FBar->GetBarWidthPercent());
        UDBarOffset->SetPosition(FBar->GetOffsetPercent());
        UDDepth->SetPosition(FBar->GetDepthPercent());
        CBColorEach->SetChecked(FBar->GetColorEachPoint());
        CBMarksAutoPosition->SetChecked(FBar->GetAutoMarkPosition());
        CBDarkBar->SetChecked(FBar->GetDark3D());
        CBBarSideMargins->SetChecked(FBar->GetSideMargins());
        BBarPen->LinkPen(FBar->GetBarPen());
        BTickLines->LinkPen(FBar->GetTickLines());
        UDBevel->SetPosition(FBar->GetBevelSize());
        UDDarkPen->SetPosition(FBar->GetDarkPen());
        TBTransp->SetPosition(FBar->GetTransparency());
        // One shadow editor for the life of the form; later shows only refresh it.
        if (!FShadowForm) {
            FShadowForm = InsertZuzShadowEditor(TabShadow);
            FShadowForm->FreeNotification(this);
        }
        FShadowForm->RefreshControls(FBar->GetShadow());
        CheckControls();
        BBarColor->LinkProperty(FBar, u"SeriesColor");
        RefreshShape();
        AddStackBarEditor();
    }
    FFilling = false;
}

void TBarSeriesEditor::FormDestroy(TObject*) {
    if (FStackForm) {
        TStackBarSeriesEditor* stack = FStackForm;
        FStackForm = nullptr;
        stack->Free();
    }
}

void TBarSeriesEditor::AddStackBarEditor() {
    if (FStackForm) return;
    FStackForm = ZuzInsertSeriesForm<TStackBarSeriesEditor>(this, -1, VavIve_Stack, FBar);
    FStackForm->FreeNotification(this);
}

void TBarSeriesEditor::CheckControls() {
    const TBarStyle style = FBar->GetBarStyle();
    BGradient->SetEnabled(style == bsRectangle || style == bsRectGradient);
    const bool bevel = style == bsBevel;
    LBevel->SetEnabled(bevel);
    EBevel->SetEnabled(bevel);
    UDBevel->SetEnabled(bevel);
}

void TBarSeriesEditor::RefreshShape() {
    BBarColor->SetEnabled(!FBar->GetColorEachPoint());
    BBarColor->Repaint();
}

void TBarSeriesEditor::CBBarStyleChange(TObject*) {
    if (FFilling || !FBar || CBBarStyle->GetItemIndex() < 0) return;
    FBar->SetBarStyle(static_cast<TBarStyle>(CBBarStyle->GetItemIndex()));
    CheckControls();
}

void TBarSeriesEditor::BBarBrushClick(TObject*) {
    if (FBar) EditChartBrush(this, FBar->GetBarBrush());
}

void TBarSeriesEditor::CBColorEachClick(TObject*) {
    if (FFilling || !FBar) return;
    FBar->SetColorEachPoint(CBColorEach->GetChecked());
    RefreshShape();
}

// A gradient shows only on plain rectangles, so the style turns to one before the editor opens.
void TBarSeriesEditor::BGradientClick(TObject*) {
    if (!FBar) return;
    FBar->SetBarStyle(bsRectGradient);
    {
        const TRestoreOnExit<bool> filling(FFilling, true);
        CBBarStyle->SetItemIndex(bsRectGradient);
    }
    CheckControls();
    EditZuzGradient(this, FBar->GetGradient());
}

void TBarSeriesEditor::CBDarkBarClick(TObject*) {
    if (!FFilling && FBar) FBar->SetDark3D(CBDarkBar->GetChecked());
}

void TBarSeriesEditor::TBTranspChange(TObject*) {
    if (FBar) FBar->SetTransparency(TBTransp->GetPosition());
}

void TBarSeriesEditor::SEBarwidthChange(TObject*) {
    if (!FFilling && FBar) FBar->SetBarWidthPercent(UDBarWidth->GetPosition());
}

void TBarSeriesEditor::SEBarOffsetChange(TObject*) {
    if (!FFilling && FBar) FBar->SetOffsetPercent(UDBarOffset->GetPosition());
}

void TBarSeriesEditor::Edit1Change(TObject*) {
    if (!FFilling && FBar) FBar->SetDepthPercent(UDDepth->GetPosition());
}

void TBarSeriesEditor::CBBarSideMarginsClick(TObject*) {
    if (!FFilling && FBar) FBar->SetSideMargins(CBBarSideMargins->GetChecked());
}

void TBarSeriesEditor::CBMarksAutoPositionClick(TObject*) {
    if (FBar) FBar->SetAutoMarkPosition(CBMarksAutoPosition->GetChecked());
}

void TBarSeriesEditor::EBevelChange(TObject*) {
    if (!FFilling && FBar) FBar->SetBevelSize(UDBevel->GetPosition());
}

void TBarSeriesEditor::Edit2Change(TObject*) {
    if (!FFilling && FBar) FBar->SetDarkPen(UDDarkPen->GetPosition());
}

void RegisterZuzBarEditClasses() {
    RegisterClass(TBarSeriesEditor::StaticClass());
}
