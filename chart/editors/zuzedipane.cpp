#include "chart/editors/zuzedipane.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzpanelext.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzbackimage.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzshadoweditor.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {
// The margins a box offers: below the percent range the plot would leave the panel.
int LowestMargin(TZuzUnits Units) {
    return Units == muPixels ? -2000 : 0;
}
int HighestMargin(TZuzUnits Units) {
    return Units == muPixels ? 2000 : 100;
}
} // namespace

const ClassInfo& TFormZuzPanel::StaticClass() {
    using F = TFormZuzPanel;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormCreate>("FormCreate"),
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::BPanelColorClick>("BPanelColorClick"),
        MakeMethod<&F::CBColorDefClick>("CBColorDefClick"),
        MakeMethod<&F::CBImageInsideClick>("CBImageInsideClick"),
        MakeMethod<&F::SEPanelBorChange>("SEPanelBorChange"),
        MakeMethod<&F::SEPanelWiChange>("SEPanelWiChange"),
        MakeMethod<&F::ERoundChange>("ERoundChange"),
        MakeMethod<&F::CBInnerChange>("CBInnerChange"),
        MakeMethod<&F::CBOuterChange>("CBOuterChange"),
        MakeMethod<&F::SETopMaChange>("SETopMaChange"),
        MakeMethod<&F::SELeftMaChange>("SELeftMaChange"),
        MakeMethod<&F::SEBotMaChange>("SEBotMaChange"),
        MakeMethod<&F::SERightMaChange>("SERightMaChange"),
        MakeMethod<&F::CBMarUnitsChange>("CBMarUnitsChange"),
        MakeMethod<&F::PageControl1Change>("PageControl1Change"),
    };
    static const ClassInfo ci = MakeClassInfo<TFormZuzPanel>("TFormZuzPanel", &TForm::StaticClass(), methods);
    return ci;
}

TFormZuzPanel::TFormZuzPanel(TComponent* AOwner) : TForm(AOwner) {}

TFormZuzPanel::TFormZuzPanel(TComponent* AOwner, TCustomZuzPanelExtended* Panel)
    : TForm(AOwner), FPanel(Panel) {}

void TFormZuzPanel::AfterConstruction() {
    TForm::AfterConstruction();
    FCheckingDef = false;
    PageControl1->SetActivePage(TabColor);
}

void TFormZuzPanel::BindComponents() {
    Bind(PageControl1, u"PageControl1");
    Bind(TabColor, u"TabColor");
    Bind(BPanelColor, u"BPanelColor");
    Bind(CBColorDef, u"CBColorDef");
    Bind(CBImageInside, u"CBImageInside");
    Bind(TabBorders, u"TabBorders");
    Bind(Label1, u"Label1");
    Bind(SEPanelBor, u"SEPanelBor");
    Bind(UDPanelBor, u"UDPanelBor");
    Bind(Label2, u"Label2");
    Bind(SEPanelWi, u"SEPanelWi");
    Bind(UDPanelWi, u"UDPanelWi");
    Bind(Label3, u"Label3");
    Bind(ERound, u"ERound");
    Bind(UDRound, u"UDRound");
    Bind(Label4, u"Label4");
    Bind(CBInner, u"CBInner");
    Bind(Label5, u"Label5");
    Bind(CBOuter, u"CBOuter");
    Bind(BBorder, u"BBorder");
    Bind(TabMargins, u"TabMargins");
    Bind(GroupBox1, u"GroupBox1");
    Bind(SETopMa, u"SETopMa");
    Bind(UDTopMa, u"UDTopMa");
    Bind(SELeftMa, u"SELeftMa");
    Bind(UDLeftMa, u"UDLeftMa");
    Bind(SEBotMa, u"SEBotMa");
    Bind(UDBotMa, u"UDBotMa");
    Bind(SERightMa, u"SERightMa");
    Bind(UDRightMa, u"UDRightMa");
    Bind(Label6, u"Label6");
    Bind(CBMarUnits, u"CBMarUnits");
    Bind(TabGradient, u"TabGradient");
    Bind(TabShadow, u"TabShadow");
    Bind(TabImage, u"TabImage");
}

TFormZuzPanel* TFormZuzPanel::InsertAt(TComponent* AOwner, TWinControl* AParent,
                                       TCustomZuzPanelExtended* Panel) {
    auto* page = Create<TFormZuzPanel>(AOwner, Panel);
    page->SetAlign(alClient);
    ZuzTranslateControl(page);
    AddFormTo(page, AParent);
    return page;
}

void TFormZuzPanel::FormCreate(TObject*) {
    SetAlign(alClient);
}

bool TFormZuzPanel::Writing() const {
    return FPanel && !FFilling && GetShowing();
}

void TFormZuzPanel::FormShow(TObject*) {
    if (!FPanel) return;
    {
        const TRestoreOnExit<bool> filling(FFilling, true);
        CBInner->SetItemIndex(FPanel->GetBevelInner());
        CBOuter->SetItemIndex(FPanel->GetBevelOuter());
        BBorder->LinkPen(FPanel->GetBorder());
        UDRound->SetPosition(FPanel->GetBorderRound());
        UDPanelWi->SetPosition(FPanel->GetBevelWidth());
        UDPanelBor->SetPosition(FPanel->GetBorderWidth());
        CBImageInside->SetChecked(FPanel->GetBackImageInside());
        CBMarUnits->SetItemIndex(FPanel->GetMarginUnits() == muPixels ? 1 : 0);
        ShowMargins();
    }
    CheckColorDef();
    BPanelColor->LinkProperty(FPanel, u"Color");
    if (FGradientEditor) FGradientEditor->SetVisible(true);
    PageControl1->SetActivePage(TabColor);
}

void TFormZuzPanel::CheckColorDef() {
    const TRestoreOnExit<bool> checking(FCheckingDef, true);
    CBColorDef->SetChecked(FPanel->GetColor() == clBtnFace);
    CBColorDef->SetEnabled(!CBColorDef->GetChecked());
}

void TFormZuzPanel::BPanelColorClick(TObject*) {
    if (!FPanel) return;
    FPanel->Repaint();
    CheckColorDef();
}

void TFormZuzPanel::CBColorDefClick(TObject*) {
    if (FCheckingDef || !FPanel) return;
    FPanel->SetColor(clBtnFace);
    CheckColorDef();
    BPanelColor->Repaint();
}

void TFormZuzPanel::CBImageInsideClick(TObject*) {
    if (FFilling || !FPanel) return;
    FPanel->SetBackImageInside(CBImageInside->GetChecked());
}

void TFormZuzPanel::SEPanelBorChange(TObject*) {
    if (Writing() && FPanel->GetBorderWidth() != UDPanelBor->GetPosition())
        FPanel->SetBorderWidth(UDPanelBor->GetPosition());
}

void TFormZuzPanel::SEPanelWiChange(TObject*) {
    if (Writing() && FPanel->GetBevelWidth() != UDPanelWi->GetPosition())
        FPanel->SetBevelWidth(UDPanelWi->GetPosition());
}

void TFormZuzPanel::ERoundChange(TObject*) {
    if (Writing()) FPanel->SetBorderRound(UDRound->GetPosition());
}

void TFormZuzPanel::CBInnerChange(TObject*) {
    const auto cut = static_cast<TBevelCut>(CBInner->GetItemIndex());
    if (FPanel && CBInner->GetItemIndex() >= 0 && FPanel->GetBevelInner() != cut) FPanel->SetBevelInner(cut);
}

void TFormZuzPanel::CBOuterChange(TObject*) {
    const auto cut = static_cast<TBevelCut>(CBOuter->GetItemIndex());
    if (FPanel && CBOuter->GetItemIndex() >= 0 && FPanel->GetBevelOuter() != cut) FPanel->SetBevelOuter(cut);
}

void TFormZuzPanel::AdjustMarginMinMax() {
    const TZuzUnits units = FPanel ? FPanel->GetMarginUnits() : muPercent;
    for (TUpDown* ud : {UDTopMa, UDLeftMa, UDBotMa, UDRightMa}) {
        ud->SetMin(LowestMargin(units));
        ud->SetMax(HighestMargin(units));
    }
}

void TFormZuzPanel::ShowMargins() {
    // The ranges first: a pixel margin beyond the percent range must not be cut to it.
    AdjustMarginMinMax();
    UDTopMa->SetPosition(FPanel->GetMarginTop());
    UDLeftMa->SetPosition(FPanel->GetMarginLeft());
    UDBotMa->SetPosition(FPanel->GetMarginBottom());
    UDRightMa->SetPosition(FPanel->GetMarginRight());
}

void TFormZuzPanel::ChangeMargin(TUpDown* UpDown, int Index, int Opposite) {
    if (!Writing()) return;
    const int current = FPanel->GetMargin(Index);
    const int wanted = UpDown->GetPosition();
    if (FPanel->GetMarginUnits() != muPixels && wanted + FPanel->GetMargin(Opposite) >= 100) {
        UpDown->SetPosition(current);
        return;
    }
    FPanel->SetMargin(Index, wanted);
}

// The margin indexes: left 0, top 1, right 2, bottom 3.
void TFormZuzPanel::SETopMaChange(TObject*) {
    ChangeMargin(UDTopMa, 1, 3);
}
void TFormZuzPanel::SELeftMaChange(TObject*) {
    ChangeMargin(UDLeftMa, 0, 2);
}
void TFormZuzPanel::SEBotMaChange(TObject*) {
    ChangeMargin(UDBotMa, 3, 1);
}
void TFormZuzPanel::SERightMaChange(TObject*) {
    ChangeMargin(UDRightMa, 2, 0);
}

// The margins keep their width on the panel in the new units, as far as the new range holds
// them; in percent each pair leaves room for the plot. The boxes show what the panel then holds.
void TFormZuzPanel::CBMarUnitsChange(TObject*) {
    if (!FPanel || CBMarUnits->GetItemIndex() < 0) return;
    const TZuzUnits units = CBMarUnits->GetItemIndex() == 1 ? muPixels : muPercent;
    if (units != FPanel->GetMarginUnits()) {
        std::array<int, 4> margins{}; // left, top, right, bottom
        for (int i = 0; i < 4; ++i) {
            const int size = i % 2 == 0 ? FPanel->GetWidth() : FPanel->GetHeight();
            const double m = FPanel->GetMargin(i);
            const double converted = size <= 0 ? m : units == muPixels ? m * size / 100 : m * 100 / size;
            margins[i] = std::clamp(static_cast<int>(std::lround(converted)), LowestMargin(units),
                                    HighestMargin(units));
        }
        if (units == muPercent)
            for (const int side : {0, 1}) {
                int& near = margins[side];
                int& far = margins[side + 2];
                far = std::max(0, std::min(far, 99 - near));
                near = std::min(near, 99 - far);
            }
        for (int i = 0; i < 4; ++i) FPanel->SetMargin(i, margins[i]);
        FPanel->SetMarginUnits(units);
    }
    const TRestoreOnExit<bool> filling(FFilling, true);
    ShowMargins();
}

void TFormZuzPanel::PageControl1Change(TObject*) {
    TTabSheet* page = PageControl1->GetActivePage();
    if (!FPanel || !page || page->GetControlCount() > 0) return;
    if (page == TabGradient) {
        FGradientEditor = InsertGradientEditor(nullptr, TabGradient, FPanel->GetGradient());
    } else if (page == TabShadow) {
        InsertZuzShadowEditor(TabShadow)->RefreshControls(FPanel->GetShadow());
    } else if (page == TabImage) {
        InsertImageEditor(TabImage)->RefreshControls(FPanel->GetBackImage());
    }
}

void ZuzEdiPaneInitialization() {
    RegisterClass(TFormZuzPanel::StaticClass());
}
