#include "chart/editors/zuzedilege.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzcustomshapeeditor.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzstringseditor.h"
#include "chart/editors/zuzsymboleditor.h"
#include "chart/engine/chartlegend.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

#include <algorithm>

const ClassInfo& TFormZuzLegend::StaticClass() {
    using F = TFormZuzLegend;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::CBShowClick>("CBShowClick"),
        MakeMethod<&F::CBInvertedClick>("CBInvertedClick"),
        MakeMethod<&F::CBLegendStyleChange>("CBLegendStyleChange"),
        MakeMethod<&F::CBLegStyleChange>("CBLegStyleChange"),
        MakeMethod<&F::EVertSpacingChange>("EVertSpacingChange"),
        MakeMethod<&F::CBFontColorClick>("CBFontColorClick"),
        MakeMethod<&F::CBCheckBoxesChange>("CBCheckBoxesChange"),
        MakeMethod<&F::RGPositionClick>("RGPositionClick"),
        MakeMethod<&F::CBResizeChartClick>("CBResizeChartClick"),
        MakeMethod<&F::SETopPosChange>("SETopPosChange"),
        MakeMethod<&F::SEMarginChange>("SEMarginChange"),
        MakeMethod<&F::CBCustPosClick>("CBCustPosClick"),
        MakeMethod<&F::CBPosPercentClick>("CBPosPercentClick"),
        MakeMethod<&F::ECustLeftChange>("ECustLeftChange"),
        MakeMethod<&F::ECustTopChange>("ECustTopChange"),
        MakeMethod<&F::MemoTextChange>("MemoTextChange"),
        MakeMethod<&F::CBTextAlignChange>("CBTextAlignChange"),
        MakeMethod<&F::CBTitleVisibleClick>("CBTitleVisibleClick"),
        MakeMethod<&F::Button1Click>("Button1Click"),
        MakeMethod<&F::PageControl1Change>("PageControl1Change"),
        MakeMethod<&F::PageControl2Change>("PageControl2Change"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TFormZuzLegend>("TFormZuzLegend", &TForm::StaticClass(), methods);
    return ci;
}

TFormZuzLegend::TFormZuzLegend(TComponent* AOwner) : TForm(AOwner) {}

TFormZuzLegend::TFormZuzLegend(TComponent* AOwner, TChartLegend* Legend) : TForm(AOwner), FLegend(Legend) {}

void TFormZuzLegend::AfterConstruction() {
    TForm::AfterConstruction();
    FLoading = true;
    if (TChartLegend* legend = FLegend) {
        FLegend = nullptr;
        SetLegend(legend);
    }
    PageControl1->SetActivePage(TabStyle);
}

void TFormZuzLegend::BindComponents() {
    Bind(PageControl1, u"PageControl1");
    Bind(TabStyle, u"TabStyle");
    Bind(CBShow, u"CBShow");
    Bind(CBInverted, u"CBInverted");
    Bind(Label1, u"Label1");
    Bind(CBLegendStyle, u"CBLegendStyle");
    Bind(Label2, u"Label2");
    Bind(CBLegStyle, u"CBLegStyle");
    Bind(BDivLines, u"BDivLines");
    Bind(Label3, u"Label3");
    Bind(EVertSpacing, u"EVertSpacing");
    Bind(UDVertSpacing, u"UDVertSpacing");
    Bind(CBFontColor, u"CBFontColor");
    Bind(CBCheckBoxes, u"CBCheckBoxes");
    Bind(TabPosition, u"TabPosition");
    Bind(RGPosition, u"RGPosition");
    Bind(CBResizeChart, u"CBResizeChart");
    Bind(Label4, u"Label4");
    Bind(SETopPos, u"SETopPos");
    Bind(UDTopPos, u"UDTopPos");
    Bind(Label5, u"Label5");
    Bind(SEMargin, u"SEMargin");
    Bind(UDMargin, u"UDMargin");
    Bind(CBCustPos, u"CBCustPos");
    Bind(CBPosPercent, u"CBPosPercent");
    Bind(Label6, u"Label6");
    Bind(ECustLeft, u"ECustLeft");
    Bind(UDLeft, u"UDLeft");
    Bind(Label7, u"Label7");
    Bind(ECustTop, u"ECustTop");
    Bind(UDTop, u"UDTop");
    Bind(TabSymbols, u"TabSymbols");
    Bind(TabTitle, u"TabTitle");
    Bind(PageControl2, u"PageControl2");
    Bind(TabTitleOptions, u"TabTitleOptions");
    Bind(Label8, u"Label8");
    Bind(MemoText, u"MemoText");
    Bind(Label9, u"Label9");
    Bind(CBTextAlign, u"CBTextAlign");
    Bind(CBTitleVisible, u"CBTitleVisible");
    Bind(Button1, u"Button1");
}

void TFormZuzLegend::SetLegend(TChartLegend* Legend) {
    FLegend = Legend;
    if (!Legend) return;
    FLegendShape = InsertZuzObjectForm(PageControl1, Legend);
    FTitleShape = InsertZuzObjectForm(PageControl2, Legend->GetTitle());
    PageControl1->SetActivePage(TabStyle);
    PageControl2->SetActivePage(TabTitleOptions);
}

void TFormZuzLegend::FormShow(TObject*) {
    if (FLegend) {
        {
            const TRestoreOnExit<bool> loading(FLoading, true);
            UDTopPos->SetPosition(FLegend->GetTopPos());
            CBCustPos->SetChecked(FLegend->GetCustomPosition());
            CBPosPercent->SetChecked(FLegend->GetPositionUnits() == muPercent);
            SetLeftTop();
            CBFontColor->SetChecked(FLegend->GetFontSeriesColor());
            CBResizeChart->SetChecked(FLegend->GetResizeChart());
            CBLegendStyle->SetItemIndex(FLegend->GetLegendStyle());
            CBLegStyle->SetItemIndex(FLegend->GetTextStyle());
            CBShow->SetChecked(FLegend->GetVisible());
            CBInverted->SetChecked(FLegend->GetInverted());
            CBCheckBoxes->SetItemIndex(!FLegend->GetCheckBoxes()                   ? 0
                                       : FLegend->GetCheckBoxesStyle() == cbsCheck ? 1
                                                                                   : 2);
            RGPosition->SetItemIndex(FLegend->GetAlignment());
            UDVertSpacing->SetPosition(FLegend->GetVertSpacing());
            BDivLines->LinkPen(FLegend->GetDividingLines());
            EnableMarginControls();
        }
        EnableCustomPosition();
        ShowSymbolEditor();
        {
            const TRestoreOnExit<bool> loading(FLoading, true);
            TLegendTitle* title = FLegend->GetTitle();
            MemoText->GetLines()->Assign(title->GetText());
            CBTextAlign->SetItemIndex(ZuzAlignmentLine(title->GetTextAlignment()));
            CBTitleVisible->SetChecked(title->GetVisible());
        }
        if (FLegendShape) FLegendShape->RefreshControls(FLegend);
        if (FTitleShape) FTitleShape->RefreshControls(FLegend->GetTitle());
    }
    FLoading = false;
    ZuzTranslateControl(this);
}

void TFormZuzLegend::ShowSymbolEditor() {
    TLegendSymbol* symbol = FLegend->GetSymbol();
    if (!FSymbolEditor) {
        FSymbolEditor = Create<TSymbolEditor>(this);
        AddFormTo(FSymbolEditor, TabSymbols, symbol);
    } else {
        FSymbolEditor->SetTag(reinterpret_cast<NativeInt>(symbol));
        FSymbolEditor->RefreshSymbol(symbol);
    }
}

void TFormZuzLegend::EnableMarginControls() {
    UDMargin->SetPosition(FLegend->GetVertical() ? FLegend->GetHorizMargin() : FLegend->GetVertMargin());
}

void TFormZuzLegend::SetLeftTop() {
    const TRestoreOnExit<bool> loading(FLoading, true);
    const bool percent = FLegend->GetPositionUnits() == muPercent;
    UDLeft->SetPosition(percent ? FLegend->GetLeftPercent() : FLegend->GetLeft());
    UDTop->SetPosition(percent ? FLegend->GetTopPercent() : FLegend->GetTop());
}

void TFormZuzLegend::EnableCustomPosition() {
    const TRestoreOnExit<bool> loading(FLoading, true);
    SetLeftTop();
    const bool custom = FLegend->GetCustomPosition();
    for (TControl* c : std::initializer_list<TControl*>{ECustLeft, ECustTop, UDLeft, UDTop, CBPosPercent})
        c->SetEnabled(custom);
    for (TControl* c :
         std::initializer_list<TControl*>{CBResizeChart, SEMargin, UDMargin, SETopPos, UDTopPos})
        c->SetEnabled(!custom);
}

void TFormZuzLegend::CBShowClick(TObject*) {
    if (Writing()) FLegend->SetVisible(CBShow->GetChecked());
}

void TFormZuzLegend::CBInvertedClick(TObject*) {
    if (Writing()) FLegend->SetInverted(CBInverted->GetChecked());
}

void TFormZuzLegend::CBLegendStyleChange(TObject*) {
    if (Writing() && CBLegendStyle->GetItemIndex() >= 0)
        FLegend->SetLegendStyle(static_cast<TLegendStyle>(CBLegendStyle->GetItemIndex()));
}

void TFormZuzLegend::CBLegStyleChange(TObject*) {
    if (Writing() && CBLegStyle->GetItemIndex() >= 0)
        FLegend->SetTextStyle(static_cast<TLegendTextStyle>(CBLegStyle->GetItemIndex()));
}

void TFormZuzLegend::EVertSpacingChange(TObject*) {
    if (Writing()) FLegend->SetVertSpacing(UDVertSpacing->GetPosition());
}

void TFormZuzLegend::CBFontColorClick(TObject*) {
    if (Writing()) FLegend->SetFontSeriesColor(CBFontColor->GetChecked());
}

void TFormZuzLegend::CBCheckBoxesChange(TObject*) {
    const int line = CBCheckBoxes->GetItemIndex();
    if (!Writing() || line < 0) return;
    // "No check boxes" keeps the style last chosen.
    if (line > 0) FLegend->SetCheckBoxesStyle(line == 1 ? cbsCheck : cbsRadio);
    FLegend->SetCheckBoxes(line > 0);
}

void TFormZuzLegend::RGPositionClick(TObject*) {
    if (Writing() && RGPosition->GetItemIndex() >= 0)
        FLegend->SetAlignment(static_cast<TLegendAlignment>(RGPosition->GetItemIndex()));
}

void TFormZuzLegend::CBResizeChartClick(TObject*) {
    if (Writing()) FLegend->SetResizeChart(CBResizeChart->GetChecked());
}

void TFormZuzLegend::SETopPosChange(TObject*) {
    if (Writing()) FLegend->SetTopPos(UDTopPos->GetPosition());
}

void TFormZuzLegend::SEMarginChange(TObject*) {
    if (!Writing()) return;
    if (FLegend->GetVertical())
        FLegend->SetHorizMargin(UDMargin->GetPosition());
    else
        FLegend->SetVertMargin(UDMargin->GetPosition());
}

void TFormZuzLegend::CBCustPosClick(TObject*) {
    if (!Writing()) return;
    FLegend->SetCustomPosition(CBCustPos->GetChecked());
    if (CBCustPos->GetChecked()) {
        FLegend->SetResizeChart(false);
        const TRestoreOnExit<bool> loading(FLoading, true);
        CBResizeChart->SetChecked(false);
    }
    EnableCustomPosition();
}

void TFormZuzLegend::CBPosPercentClick(TObject*) {
    if (!Writing()) return;
    FLegend->SetPositionUnits(CBPosPercent->GetChecked() ? muPercent : muPixels);
    SetLeftTop();
}

void TFormZuzLegend::ECustLeftChange(TObject*) {
    if (!Writing() || !FLegend->GetCustomPosition()) return;
    if (FLegend->GetPositionUnits() == muPercent)
        FLegend->SetLeftPercent(UDLeft->GetPosition());
    else
        FLegend->SetLeft(UDLeft->GetPosition());
}

void TFormZuzLegend::ECustTopChange(TObject*) {
    if (!Writing() || !FLegend->GetCustomPosition()) return;
    if (FLegend->GetPositionUnits() == muPercent)
        FLegend->SetTopPercent(UDTop->GetPosition());
    else
        FLegend->SetTop(UDTop->GetPosition());
}

void TFormZuzLegend::MemoTextChange(TObject*) {
    if (!Writing()) return;
    String text = MemoText->GetText();
    std::erase(text, u'\n');
    FLegend->GetTitle()->GetText()->SetText(text);
}

void TFormZuzLegend::CBTextAlignChange(TObject*) {
    if (Writing() && CBTextAlign->GetItemIndex() >= 0)
        FLegend->GetTitle()->SetTextAlignment(ZuzLineAlignment(CBTextAlign->GetItemIndex()));
}

void TFormZuzLegend::CBTitleVisibleClick(TObject*) {
    if (Writing()) FLegend->GetTitle()->SetVisible(CBTitleVisible->GetChecked());
}

void TFormZuzLegend::Button1Click(TObject*) {
    ZuzEditStrings(this, MemoText->GetLines(), false);
}

void TFormZuzLegend::PageControl1Change(TObject*) {
    if (FLegendShape) FLegendShape->PC1Change(PageControl1);
}

void TFormZuzLegend::PageControl2Change(TObject*) {
    if (FTitleShape) FTitleShape->PC1Change(PageControl2);
}

void ZuzEdiLegeInitialization() {
    RegisterClass(TFormZuzLegend::StaticClass());
}
