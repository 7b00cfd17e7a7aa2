#include "chart/editors/zuzareaedit.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/editors/zuzbrushdlg.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzpoedi.h"
#include "chart/series/series_area.h"
#include "platform/core/sysutils.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

#include <cmath>

const ClassInfo& TAreaSeriesEditor::StaticClass() {
    using F = TAreaSeriesEditor;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormCreate>("FormCreate"),
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::FormDestroy>("FormDestroy"),
        MakeMethod<&F::CBStairsClick>("CBStairsClick"),
        MakeMethod<&F::CBInvStairsClick>("CBInvStairsClick"),
        MakeMethod<&F::BPatternClick>("BPatternClick"),
        MakeMethod<&F::Button1Click>("Button1Click"),
        MakeMethod<&F::ETranspChange>("ETranspChange"),
        MakeMethod<&F::CBDark3DClick>("CBDark3DClick"),
        MakeMethod<&F::CBColorEachClick>("CBColorEachClick"),
        MakeMethod<&F::BAreaColorClick>("BAreaColorClick"),
        MakeMethod<&F::CBNullsChange>("CBNullsChange"),
        MakeMethod<&F::RGMultiAreaClick>("RGMultiAreaClick"),
        MakeMethod<&F::CBUseOriginClick>("CBUseOriginClick"),
        MakeMethod<&F::EOriginChange>("EOriginChange"),
        MakeMethod<&F::EGroupChange>("EGroupChange"),
    };
    static const ClassInfo ci = MakeClassInfo<F>("TAreaSeriesEditor", &TForm::StaticClass(), methods);
    return ci;
}

void TAreaSeriesEditor::BindComponents() {
    Bind(PageControl1, u"PageControl1");
    Bind(TabOptions, u"TabOptions");
    Bind(GBArea, u"GBArea");
    Bind(CBStairs, u"CBStairs");
    Bind(CBInvStairs, u"CBInvStairs");
    Bind(BAreaLinesPen, u"BAreaLinesPen");
    Bind(BAreaLinePen, u"BAreaLinePen");
    Bind(BPattern, u"BPattern");
    Bind(Button1, u"Button1");
    Bind(GBTransp, u"GBTransp");
    Bind(ETransp, u"ETransp");
    Bind(UDTransp, u"UDTransp");
    Bind(CBDark3D, u"CBDark3D");
    Bind(GBColor, u"GBColor");
    Bind(CBColorEach, u"CBColorEach");
    Bind(BAreaColor, u"BAreaColor");
    Bind(GBNulls, u"GBNulls");
    Bind(CBNulls, u"CBNulls");
    Bind(TabStack, u"TabStack");
    Bind(RGMultiArea, u"RGMultiArea");
    Bind(CBUseOrigin, u"CBUseOrigin");
    Bind(LOrigin, u"LOrigin");
    Bind(EOrigin, u"EOrigin");
    Bind(UDOrigin, u"UDOrigin");
    Bind(GBGroup, u"GBGroup");
    Bind(EGroup, u"EGroup");
    Bind(UDGroup, u"UDGroup");
}

void TAreaSeriesEditor::Notification(TComponent* AComponent, TOperation Operation) {
    TForm::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FPointerForm) FPointerForm = nullptr;
    if (AComponent == FGradientForm) FGradientForm = nullptr;
}

void TAreaSeriesEditor::FormCreate(TObject*) {
    SetAlign(alClient);
    SetBorderStyle(bsDialog);
}

void TAreaSeriesEditor::FormShow(TObject*) {
    FArea = ZuzTagObject<TAreaSeries>(this);
    if (!FArea) return;
    {
        const TRestoreOnExit<bool> filling(FFilling, true);
        CBStairs->SetChecked(FArea->GetStairs());
        CBInvStairs->SetChecked(FArea->GetInvertedStairs());
        CBInvStairs->SetEnabled(FArea->GetStairs());
        BAreaLinesPen->LinkPen(FArea->GetAreaLinesPen());
        BAreaLinePen->LinkPen(FArea->GetLinePen());
        UDTransp->SetPosition(FArea->GetTransparency());
        CBDark3D->SetChecked(FArea->GetDark3D());
        CBColorEach->SetChecked(FArea->GetColorEachPoint());
        CBNulls->SetItemIndex(FArea->GetTreatNulls());
        RGMultiArea->SetItemIndex(FArea->GetMultiArea());
        CBUseOrigin->SetChecked(FArea->GetUseYOrigin());
        UDOrigin->SetPosition(static_cast<int>(std::lround(FArea->GetYOrigin())));
        UDGroup->SetPosition(FArea->GetStackGroup());
        TAreaSeries* area = FArea;
        BAreaColor->GetColorProc = [area] {
            return area->GetAreaColor() == clZuzColor ? area->GetSeriesColor() : area->GetAreaColor();
        };
        BAreaColor->LinkProperty(FArea, u"SeriesColor");
        BAreaColor->SetEnabled(!FArea->GetColorEachPoint());
        EnableOrigin();
        EnableGroup();
    }
    InsertPages();
}

// Once per form: the pointer page always, the gradient page only inside a series page.
void TAreaSeriesEditor::InsertPages() {
    if (!FPointerForm) {
        FPointerForm = ZuzInsertPointerForm(this, FArea->GetPointer(), VavIve_GalleryPoint);
        FPointerForm->FreeNotification(this);
    }
    if (!FGradientForm && GetParent()) {
        auto* gradient =
            ZuzInsertSeriesForm<TZuzGradientEditor>(this, -1, VavIve_Gradient, FArea->GetGradient());
        gradient->Panel1->SetVisible(false);
        FGradientForm = gradient;
        FGradientForm->FreeNotification(this);
    }
}

void TAreaSeriesEditor::FormDestroy(TObject*) {
    if (FPointerForm) {
        TCustomForm* pointer = FPointerForm;
        FPointerForm = nullptr;
        pointer->Free();
    }
}

void TAreaSeriesEditor::EnableOrigin() {
    EOrigin->SetEnabled(CBUseOrigin->GetChecked());
    UDOrigin->SetEnabled(CBUseOrigin->GetChecked());
}

void TAreaSeriesEditor::EnableGroup() {
    const bool stacked = RGMultiArea->GetItemIndex() > 0;
    EGroup->SetEnabled(stacked);
    UDGroup->SetEnabled(stacked);
}

void TAreaSeriesEditor::CBStairsClick(TObject*) {
    if (!Writing()) return;
    FArea->SetStairs(CBStairs->GetChecked());
    CBInvStairs->SetEnabled(CBStairs->GetChecked());
}

void TAreaSeriesEditor::CBInvStairsClick(TObject*) {
    if (Writing()) FArea->SetInvertedStairs(CBInvStairs->GetChecked());
}

void TAreaSeriesEditor::BPatternClick(TObject*) {
    if (FArea) EditChartBrush(this, FArea->GetAreaChartBrush());
}

void TAreaSeriesEditor::Button1Click(TObject*) {
    if (FArea) EditChartBrush(this, FArea->GetBrush());
}

void TAreaSeriesEditor::ETranspChange(TObject*) {
    if (Writing() && GetShowing()) FArea->SetTransparency(UDTransp->GetPosition());
}

void TAreaSeriesEditor::CBDark3DClick(TObject*) {
    if (Writing()) FArea->SetDark3D(CBDark3D->GetChecked());
}

void TAreaSeriesEditor::CBColorEachClick(TObject*) {
    if (!Writing()) return;
    FArea->SetColorEachPoint(CBColorEach->GetChecked());
    BAreaColor->SetEnabled(!CBColorEach->GetChecked());
}

// The colour chosen is the series' one; an area colour of the series' own would go on filling the
// area with the old one, so the area takes the series colour again.
void TAreaSeriesEditor::BAreaColorClick(TObject*) {
    if (!FArea || FArea->GetAreaColor() == clZuzColor) return;
    FArea->SetAreaColor(clZuzColor);
    BAreaColor->Repaint();
}

void TAreaSeriesEditor::CBNullsChange(TObject*) {
    if (Writing() && CBNulls->GetItemIndex() >= 0)
        FArea->SetTreatNulls(static_cast<TTreatNullsStyle>(CBNulls->GetItemIndex()));
}

void TAreaSeriesEditor::RGMultiAreaClick(TObject*) {
    if (!Writing() || RGMultiArea->GetItemIndex() < 0) return;
    FArea->SetMultiArea(static_cast<TMultiArea>(RGMultiArea->GetItemIndex()));
    EnableGroup();
}

void TAreaSeriesEditor::CBUseOriginClick(TObject*) {
    if (!Writing()) return;
    FArea->SetUseYOrigin(CBUseOrigin->GetChecked());
    EnableOrigin();
}

void TAreaSeriesEditor::EOriginChange(TObject*) {
    if (Writing() && GetShowing()) FArea->SetYOrigin(UDOrigin->GetPosition());
}

void TAreaSeriesEditor::EGroupChange(TObject*) {
    if (Writing() && GetShowing()) FArea->SetStackGroup(UDGroup->GetPosition());
}

void RegisterZuzAreaEditClasses() {
    RegisterClass(TAreaSeriesEditor::StaticClass());
}
