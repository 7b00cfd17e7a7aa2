#include "chart/editors/zuzediaxis.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/canvas/zuzprocs.h"
#include "chart/canvas/zuztext.h"
#include "chart/editors/zuzaxisincr.h"
#include "chart/editors/zuzaxmaxmin.h"
#include "chart/editors/zuzcustomshapeeditor.h"
#include "chart/editors/zuzedifont.h"
#include "chart/editors/zuzformatting.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartaxis.h"
#include "platform/core/sysutils.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

#include <cmath>
#include <numbers>

namespace {

// The base box shows 15 digits, so e typed or written back reads as e.
bool IsE(double Base) {
    return std::fabs(Base - std::numbers::e) < 1e-12;
}

int Rounded(double Value) {
    return static_cast<int>(Round(Value));
}

// The list's first six lines are the standard axes in this order; custom axes follow.
constexpr int kFirstCustom = 6;

} // namespace

void ZuzAddAxes(TCustomAxisPanel* Chart, TStrings* Items, bool WithDepth) {
    Items->BeginUpdate();
    Items->Clear();
    Items->Add(VavIve_LeftAxis);
    Items->Add(VavIve_RightAxis);
    Items->Add(VavIve_TopAxis);
    Items->Add(VavIve_BottomAxis);
    if (WithDepth) {
        Items->Add(VavIve_DepthAxis);
        Items->Add(VavIve_DepthTopAxis);
    }
    for (int i = kFirstCustom; i < Chart->GetAxes()->Count(); ++i)
        Items->Add(VavIve_CustomAxesEditor + IntToStr(i - kFirstCustom));
    Items->EndUpdate();
}

namespace {

TChartAxis* AxisAt(TCustomAxisPanel* Chart, int Index) {
    switch (Index) {
    case 0:
        return Chart->GetLeftAxis();
    case 1:
        return Chart->GetRightAxis();
    case 2:
        return Chart->GetTopAxis();
    case 3:
        return Chart->GetBottomAxis();
    case 4:
        return Chart->GetDepthAxis();
    case 5:
        return Chart->GetDepthTopAxis();
    default:
        return Index < Chart->GetAxes()->Count() ? Chart->GetAxes()->Get(Index) : nullptr;
    }
}

} // namespace

const ClassInfo& TFormZuzAxis::StaticClass() {
    using F = TFormZuzAxis;
    static const MethodInfo methods[] = {
        MakeMethod<&F::BAddClick>("BAddClick"),
        MakeMethod<&F::BAxisMaxClick>("BAxisMaxClick"),
        MakeMethod<&F::BAxisMinClick>("BAxisMinClick"),
        MakeMethod<&F::BDeleteClick>("BDeleteClick"),
        MakeMethod<&F::BIncreClick>("BIncreClick"),
        MakeMethod<&F::Button1Click>("Button1Click"),
        MakeMethod<&F::CBAlternateClick>("CBAlternateClick"),
        MakeMethod<&F::CBAutoMaxClick>("CBAutoMaxClick"),
        MakeMethod<&F::CBAutoMinClick>("CBAutoMinClick"),
        MakeMethod<&F::CBAutomaticClick>("CBAutomaticClick"),
        MakeMethod<&F::CBAxisBehClick>("CBAxisBehClick"),
        MakeMethod<&F::CBExpoClick>("CBExpoClick"),
        MakeMethod<&F::CBFormatChange>("CBFormatChange"),
        MakeMethod<&F::CBGridCenteredClick>("CBGridCenteredClick"),
        MakeMethod<&F::CBHorizAxisClick>("CBHorizAxisClick"),
        MakeMethod<&F::CBInvertedClick>("CBInvertedClick"),
        MakeMethod<&F::CBLabelAlignClick>("CBLabelAlignClick"),
        MakeMethod<&F::CBLabelStyleChange>("CBLabelStyleChange"),
        MakeMethod<&F::CBLabelsClick>("CBLabelsClick"),
        MakeMethod<&F::CBLogarithmicClick>("CBLogarithmicClick"),
        MakeMethod<&F::CBMaxRoundClick>("CBMaxRoundClick"),
        MakeMethod<&F::CBMinRoundClick>("CBMinRoundClick"),
        MakeMethod<&F::CBMultilineClick>("CBMultilineClick"),
        MakeMethod<&F::CBOnAxisClick>("CBOnAxisClick"),
        MakeMethod<&F::CBOtherSideClick>("CBOtherSideClick"),
        MakeMethod<&F::CBPosUnitsChange>("CBPosUnitsChange"),
        MakeMethod<&F::CBRoundFirstClick>("CBRoundFirstClick"),
        MakeMethod<&F::CBShowAllClick>("CBShowAllClick"),
        MakeMethod<&F::CBShowClick>("CBShowClick"),
        MakeMethod<&F::CBTickOnLabelsClick>("CBTickOnLabelsClick"),
        MakeMethod<&F::CBTitleVisibleClick>("CBTitleVisibleClick"),
        MakeMethod<&F::CBVisibleClick>("CBVisibleClick"),
        MakeMethod<&F::EEndChange>("EEndChange"),
        MakeMethod<&F::ELogBaseChange>("ELogBaseChange"),
        MakeMethod<&F::EMarksEveryChange>("EMarksEveryChange"),
        MakeMethod<&F::EMaxOffChange>("EMaxOffChange"),
        MakeMethod<&F::EMinOffChange>("EMinOffChange"),
        MakeMethod<&F::EPosChange>("EPosChange"),
        MakeMethod<&F::EStartChange>("EStartChange"),
        MakeMethod<&F::ETitleChange>("ETitleChange"),
        MakeMethod<&F::Edit1Change>("Edit1Change"),
        MakeMethod<&F::Edit2Change>("Edit2Change"),
        MakeMethod<&F::Edit3Change>("Edit3Change"),
        MakeMethod<&F::FormDestroy>("FormDestroy"),
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::LBAxesClick>("LBAxesClick"),
        MakeMethod<&F::LogEClick>("LogEClick"),
        MakeMethod<&F::PageAxisChange>("PageAxisChange"),
        MakeMethod<&F::PageLabelsChange>("PageLabelsChange"),
        MakeMethod<&F::PageTitleChange>("PageTitleChange"),
        MakeMethod<&F::PageTitleFormatChange>("PageTitleFormatChange"),
        MakeMethod<&F::SEAxisMinorTickLenChange>("SEAxisMinorTickLenChange"),
        MakeMethod<&F::SEAxisTickLengthChange>("SEAxisTickLengthChange"),
        MakeMethod<&F::SEInnerTicksLengthChange>("SEInnerTicksLengthChange"),
        MakeMethod<&F::SELabelsAngleChange>("SELabelsAngleChange"),
        MakeMethod<&F::SELabelsSizeChange>("SELabelsSizeChange"),
        MakeMethod<&F::SEMinorCountChange>("SEMinorCountChange"),
        MakeMethod<&F::SESeparChange>("SESeparChange"),
        MakeMethod<&F::SETitleAngleChange>("SETitleAngleChange"),
        MakeMethod<&F::SETitleSizeChange>("SETitleSizeChange"),
    };
    static const ClassInfo ci = MakeClassInfo<TFormZuzAxis>("TFormZuzAxis", &TForm::StaticClass(), methods);
    return ci;
}

TFormZuzAxis::TFormZuzAxis(TComponent* AOwner, TChartAxis* Axis) : TForm(AOwner), FAxis(Axis) {}

void TFormZuzAxis::BindComponents() {
    Bind(Label1, u"Label1");
    Bind(LBAxes, u"LBAxes");
    Bind(CBShow, u"CBShow");
    Bind(CBAxisBeh, u"CBAxisBeh");
    Bind(BAdd, u"BAdd");
    Bind(BDelete, u"BDelete");
    Bind(PageAxis, u"PageAxis");
    Bind(TabScales, u"TabScales");
    Bind(PageScales, u"PageScales");
    Bind(TabOptions, u"TabOptions");
    Bind(CBAutomatic, u"CBAutomatic");
    Bind(CBVisible, u"CBVisible");
    Bind(CBInverted, u"CBInverted");
    Bind(CBLogarithmic, u"CBLogarithmic");
    Bind(LLogBase, u"LLogBase");
    Bind(ELogBase, u"ELogBase");
    Bind(LogE, u"LogE");
    Bind(TabMinimum, u"TabMinimum");
    Bind(LAxisMin, u"LAxisMin");
    Bind(CBAutoMin, u"CBAutoMin");
    Bind(BAxisMin, u"BAxisMin");
    Bind(LMinOff, u"LMinOff");
    Bind(EMinOff, u"EMinOff");
    Bind(UDMinOff, u"UDMinOff");
    Bind(CBMinRound, u"CBMinRound");
    Bind(TabMaximum, u"TabMaximum");
    Bind(LAxisMax, u"LAxisMax");
    Bind(CBAutoMax, u"CBAutoMax");
    Bind(BAxisMax, u"BAxisMax");
    Bind(LMaxOff, u"LMaxOff");
    Bind(EMaxOff, u"EMaxOff");
    Bind(UDMaxOff, u"UDMaxOff");
    Bind(CBMaxRound, u"CBMaxRound");
    Bind(TabIncrement, u"TabIncrement");
    Bind(L6, u"L6");
    Bind(LAxisIncre, u"LAxisIncre");
    Bind(BIncre, u"BIncre");
    Bind(CBShowAll, u"CBShowAll");
    Bind(TabTitle, u"TabTitle");
    Bind(PageTitle, u"PageTitle");
    Bind(TabTitleStyle, u"TabTitleStyle");
    Bind(L2, u"L2");
    Bind(ETitle, u"ETitle");
    Bind(L3, u"L3");
    Bind(SETitleAngle, u"SETitleAngle");
    Bind(UDTitleAngle, u"UDTitleAngle");
    Bind(L4, u"L4");
    Bind(SETitleSize, u"SETitleSize");
    Bind(UDTitleSize, u"UDTitleSize");
    Bind(CBTitleVisible, u"CBTitleVisible");
    Bind(TabTitleFormat, u"TabTitleFormat");
    Bind(PageTitleFormat, u"PageTitleFormat");
    Bind(TabLabels, u"TabLabels");
    Bind(PageLabels, u"PageLabels");
    Bind(TabLabStyle, u"TabLabStyle");
    Bind(CBLabels, u"CBLabels");
    Bind(CBMultiline, u"CBMultiline");
    Bind(CBOnAxis, u"CBOnAxis");
    Bind(CBRoundFirst, u"CBRoundFirst");
    Bind(CBAlternate, u"CBAlternate");
    Bind(L5, u"L5");
    Bind(SELabelsSize, u"SELabelsSize");
    Bind(UDLabelsSize, u"UDLabelsSize");
    Bind(L7, u"L7");
    Bind(SELabelsAngle, u"SELabelsAngle");
    Bind(UDLabelsAngle, u"UDLabelsAngle");
    Bind(L8, u"L8");
    Bind(SESepar, u"SESepar");
    Bind(UDSepar, u"UDSepar");
    Bind(L9, u"L9");
    Bind(CBLabelStyle, u"CBLabelStyle");
    Bind(TabLabFormat, u"TabLabFormat");
    Bind(LabelAxisFormat, u"LabelAxisFormat");
    Bind(CBFormat, u"CBFormat");
    Bind(Button1, u"Button1");
    Bind(CBExpo, u"CBExpo");
    Bind(CBLabelAlign, u"CBLabelAlign");
    Bind(TabLabText, u"TabLabText");
    Bind(TabTicks, u"TabTicks");
    Bind(BAxisPen, u"BAxisPen");
    Bind(BTickPen, u"BTickPen");
    Bind(L10, u"L10");
    Bind(SEAxisTickLength, u"SEAxisTickLength");
    Bind(UDAxisTickLength, u"UDAxisTickLength");
    Bind(BTickInner, u"BTickInner");
    Bind(L11, u"L11");
    Bind(SEInnerTicksLength, u"SEInnerTicksLength");
    Bind(UDInnerTicksLength, u"UDInnerTicksLength");
    Bind(BTickMinor, u"BTickMinor");
    Bind(L12, u"L12");
    Bind(SEAxisMinorTickLen, u"SEAxisMinorTickLen");
    Bind(UDAxisMinorTickLen, u"UDAxisMinorTickLen");
    Bind(L13, u"L13");
    Bind(Edit3, u"Edit3");
    Bind(UDMinorC, u"UDMinorC");
    Bind(CBTickOnLabels, u"CBTickOnLabels");
    Bind(TabGrid, u"TabGrid");
    Bind(BAxisGrid, u"BAxisGrid");
    Bind(BMinorGrid, u"BMinorGrid");
    Bind(L14, u"L14");
    Bind(SEMinorCount, u"SEMinorCount");
    Bind(UDMinorCount, u"UDMinorCount");
    Bind(L15, u"L15");
    Bind(Edit2, u"Edit2");
    Bind(UDGridZ, u"UDGridZ");
    Bind(CBGridCentered, u"CBGridCentered");
    Bind(L16, u"L16");
    Bind(EMarksEvery, u"EMarksEvery");
    Bind(UDEvery, u"UDEvery");
    Bind(TabPosition, u"TabPosition");
    Bind(L17, u"L17");
    Bind(EPos, u"EPos");
    Bind(UDPos, u"UDPos");
    Bind(L18, u"L18");
    Bind(EStart, u"EStart");
    Bind(UDStart, u"UDStart");
    Bind(L19, u"L19");
    Bind(EEnd, u"EEnd");
    Bind(UDEnd, u"UDEnd");
    Bind(L20, u"L20");
    Bind(Edit1, u"Edit1");
    Bind(UDZ, u"UDZ");
    Bind(L21, u"L21");
    Bind(CBPosUnits, u"CBPosUnits");
    Bind(CBOtherSide, u"CBOtherSide");
    Bind(CBHorizAxis, u"CBHorizAxis");
}

TCustomAxisPanel* TFormZuzAxis::Chart() const {
    return FAxis && FAxis->ParentChart
               ? dynamic_cast<TCustomAxisPanel*>(FAxis->ParentChart->AxisChartComponent())
               : nullptr;
}

// ---------------------------------------------------------------------------
// Showing and loading

void TFormZuzAxis::FormShow(TObject*) {
    if (!FAxis || !Chart()) return;
    FLoading = true;
    ZuzAddAxes(Chart(), LBAxes->GetItems(), true);
    SetAxisIndex();
    CBShow->SetChecked(Chart()->GetAxes()->GetVisible());
    CBAxisBeh->SetChecked(Chart()->GetAxes()->GetBehind());
    PageScales->SetActivePageIndex(0);
    PageLabels->SetActivePageIndex(0);
    PageTitle->SetActivePageIndex(0);
    PageAxisChange(this);
    ZuzTranslateControl(this);
}

void TFormZuzAxis::FormDestroy(TObject*) {
    // A host may have borrowed the tabs; they go with this form.
    if (PageAxis) PageAxis->SetParent(this);
}

void TFormZuzAxis::SetAxisIndex() {
    TCustomAxisPanel* chart = Chart();
    int index = -1;
    for (int i = 0; i < kFirstCustom && index < 0; ++i)
        if (AxisAt(chart, i) == FAxis) index = i;
    if (index < 0) index = chart->GetAxes()->IndexOf(FAxis);
    LBAxes->SetItemIndex(index);
}

void TFormZuzAxis::PageAxisChange(TObject*) {
    FLoading = true;
    if (!FAxis) return;
    BAxisGrid->LinkPen(FAxis->GetGrid());
    BTickMinor->LinkPen(FAxis->GetMinorTicks());
    BTickInner->LinkPen(FAxis->GetTicksInner());
    BTickPen->LinkPen(FAxis->GetTicks());
    BAxisPen->LinkPen(FAxis->GetAxisPen());
    BMinorGrid->LinkPen(FAxis->GetMinorGrid());
    const TTabSheet* tab = PageAxis->GetActivePage();
    if (tab == TabLabels) {
        LoadLabels();
    } else if (tab == TabScales) {
        SetAxisScales();
    } else if (tab == TabTitle) {
        ETitle->SetText(FAxis->GetTitle()->GetCaption());
        UDTitleAngle->SetPosition(FAxis->GetTitle()->GetAngle());
        UDTitleSize->SetPosition(FAxis->GetTitleSize());
        CBTitleVisible->SetChecked(FAxis->GetTitle()->GetVisible());
    } else if (tab == TabTicks) {
        UDAxisTickLength->SetPosition(FAxis->GetTickLength());
        UDInnerTicksLength->SetPosition(FAxis->GetTickInnerLength());
        CBTickOnLabels->SetChecked(FAxis->GetTickOnLabelsOnly());
        UDAxisMinorTickLen->SetPosition(FAxis->GetMinorTickLength());
        UDMinorC->SetPosition(FAxis->GetMinorTickCount());
    } else if (tab == TabGrid) {
        CBGridCentered->SetChecked(FAxis->GetGrid()->GetCentered());
        UDGridZ->SetPosition(Rounded(FAxis->GetGrid()->GetZPosition()));
        UDEvery->SetPosition(FAxis->GetGrid()->GetDrawEvery());
        UDMinorCount->SetPosition(FAxis->GetMinorTickCount());
    } else if (tab == TabPosition) {
        LoadPosition();
    }
    // The editors follow the axis even while their tab is hidden: none may keep an axis that
    // was deleted.
    if (FFontEditor) FFontEditor->RefreshControls(FAxis->GetLabelsFont());
    if (FTitleShape) FTitleShape->RefreshControls(FAxis->GetTitle());
    BDelete->SetEnabled(LBAxes->GetItemIndex() >= kFirstCustom);
    CBVisible->SetChecked(FAxis->GetVisible());
    CBLabelAlign->SetChecked(FAxis->GetLabelsAlign() == alDefault);
    CBLabelAlign->SetEnabled(!FAxis->GetHorizontal() && !FAxis->IsDepthAxis);
    FLoading = false;
}

void TFormZuzAxis::LoadLabels() {
    CBLabels->SetChecked(FAxis->GetLabels());
    CBMultiline->SetChecked(FAxis->GetLabelsMultiLine());
    CBOnAxis->SetChecked(FAxis->GetLabelsOnAxis());
    CBRoundFirst->SetChecked(FAxis->GetRoundFirstLabel());
    CBAlternate->SetChecked(FAxis->GetLabelsAlternate());
    UDLabelsSize->SetPosition(FAxis->GetLabelsSize());
    UDLabelsAngle->SetPosition(FAxis->GetLabelsAngle());
    UDSepar->SetPosition(FAxis->GetLabelsSeparation());
    CBLabelStyle->SetItemIndex(static_cast<int>(FAxis->GetLabelStyle()));
    CBExpo->SetChecked(FAxis->GetLabelsExponent());
    TStrings* items = CBFormat->GetItems();
    items->Clear();
    String text;
    if (FAxis->IsDateTime()) {
        const double range = FAxis->GetMaximum() - FAxis->GetMinimum();
        if (range <= 1) {
            for (const String& f : {FormatSettings.ShortTimeFormat, FormatSettings.LongTimeFormat,
                                    String(u"hh:nn"), String(u"hh:nn:ss"), String(u"hh:nn:ss.zzz")})
                items->Add(f);
        } else {
            for (const String& f : {FormatSettings.ShortDateFormat, FormatSettings.LongDateFormat,
                                    String(u"yyyy-mm-dd"), String(u"mm-dd-yyyy"), String(u"dd-mm-yyyy"),
                                    String(u"ddd"), String(u"dddd"), String(u"mmm"), String(u"mmmm")})
                items->Add(f);
        }
        LabelAxisFormat->SetCaption(VavIve_DateTimeFormat);
        text = FAxis->GetDateTimeFormat().empty() ? DateTimeDefaultFormat(range) : FAxis->GetDateTimeFormat();
    } else {
        // The box speaks the locale's notation, as its text is read back: in a locale with a
        // decimal comma "#,##0.###" chosen as it stands would turn into three decimals.
        AddDefaultValueFormats(items);
        for (int i = 0; i < items->GetCount(); ++i)
            items->SetStrings(i, SarvikToLocalFormat(items->GetStrings(i)));
        LabelAxisFormat->SetCaption(VavIve_ValuesFormat);
        text = SarvikToLocalFormat(FAxis->GetAxisValuesFormat().empty() ? VavIve_DefValueFormat
                                                                        : FAxis->GetAxisValuesFormat());
    }
    if (items->IndexOf(text) < 0) items->Add(text);
    CBFormat->SetText(text);
}

void TFormZuzAxis::SetAxisScales() {
    // The boxes below are set from the axis: nothing they fire may write it back.
    const TRestoreOnExit<bool> loading(FLoading, true);
    const bool dateTime = FAxis->IsDateTime();
    LAxisIncre->SetCaption(GetIncrementText(this, FAxis->GetDesiredIncrement(), dateTime,
                                            FAxis->GetExactDateTime(), FAxis->GetAxisValuesFormat()));
    const auto endText = [&](double Value) -> String {
        if (dateTime && ZuzCalendarHolds(Value)) return Value < 1.0 ? TimeToStr(Value) : DateTimeToStr(Value);
        return FormatFloat(FAxis->GetAxisValuesFormat(), Value);
    };
    LAxisMin->SetCaption(endText(FAxis->GetMinimum()));
    LAxisMax->SetCaption(endText(FAxis->GetMaximum()));
    {
        const TRestoreOnExit<bool> scales(FScales, true);
        CBAutomatic->SetChecked(FAxis->GetAutomatic());
        CBAutoMin->SetChecked(FAxis->GetAutomaticMinimum());
        CBAutoMax->SetChecked(FAxis->GetAutomaticMaximum());
        UDMinOff->SetPosition(FAxis->GetMinimumOffset());
        UDMaxOff->SetPosition(FAxis->GetMaximumOffset());
        CBMinRound->SetChecked(FAxis->GetMinimumRound());
        CBMaxRound->SetChecked(FAxis->GetMaximumRound());
        CBMinRound->SetEnabled(CBAutoMin->GetChecked());
        CBMaxRound->SetEnabled(CBAutoMax->GetChecked());
    }
    CBLogarithmic->SetChecked(FAxis->GetLogarithmic());
    CBLogarithmic->SetEnabled(!FAxis->IsDepthAxis);
    LogE->SetChecked(IsE(FAxis->GetLogarithmicBase()));
    ELogBase->SetText(FloatToStr(FAxis->GetLogarithmicBase()));
    LogBaseRule();
    CBInverted->SetChecked(FAxis->GetInverted());
    CBVisible->SetChecked(FAxis->GetVisible());
    CBShowAll->SetChecked(FAxis->GetLabelsSeparation() == 0);
}

void TFormZuzAxis::LoadPosition() {
    UDPos->SetPosition(Rounded(FAxis->GetPositionPercent()));
    UDStart->SetPosition(Rounded(FAxis->GetStartPosition()));
    UDEnd->SetPosition(Rounded(FAxis->GetEndPosition()));
    UDZ->SetPosition(Rounded(FAxis->GetZPosition()));
    CBPosUnits->SetItemIndex(FAxis->GetPositionUnits() == muPercent ? 0 : 1);
    CBOtherSide->SetChecked(FAxis->GetOtherSide());
    CBHorizAxis->SetChecked(FAxis->GetHorizontal());
    const bool custom = FAxis->IsCustom();
    CBOtherSide->SetEnabled(custom);
    CBHorizAxis->SetEnabled(custom);
    Edit1->SetEnabled(!FAxis->IsDepthAxis);
    UDZ->SetEnabled(!FAxis->IsDepthAxis);
}

void TFormZuzAxis::LogBaseRule() {
    ELogBase->SetEnabled(CBLogarithmic->GetChecked() && CBLogarithmic->GetEnabled());
    LogE->SetEnabled(ELogBase->GetEnabled() && !LogE->GetChecked());
}

// ---------------------------------------------------------------------------
// The axis list and custom axes

void TFormZuzAxis::SelectAxis(TCustomAxisPanel* AChart, int Index) {
    LBAxes->SetItemIndex(Index);
    FAxis = AxisAt(AChart, Index);
    PageAxisChange(this);
}

void TFormZuzAxis::LBAxesClick(TObject*) {
    const int index = LBAxes->GetItemIndex();
    if (index >= 0 && Chart()) SelectAxis(Chart(), index);
}

void TFormZuzAxis::BAddClick(TObject*) {
    TCustomAxisPanel* chart = Chart();
    if (!chart) return;
    FAxis = static_cast<TChartAxis*>(chart->GetCustomAxes()->Add());
    ZuzAddAxes(chart, LBAxes->GetItems(), true);
    SetAxisIndex();
    PageAxisChange(this);
}

void TFormZuzAxis::BDeleteClick(TObject*) {
    TCustomAxisPanel* chart = Chart();
    const int index = LBAxes->GetItemIndex();
    if (!chart || index < kFirstCustom) return;
    TChartAxis* axis = AxisAt(chart, index);
    // The line before is loaded first, so that no pen button or embedded editor still points
    // into the axis while it is freed.
    SelectAxis(chart, index - 1);
    chart->GetCustomAxes()->Delete(axis->GetIndex());
    LBAxes->GetItems()->Delete(index);
}

void TFormZuzAxis::CBShowClick(TObject*) {
    if (Writing()) Chart()->GetAxes()->SetVisible(CBShow->GetChecked());
}

void TFormZuzAxis::CBAxisBehClick(TObject*) {
    if (Writing()) Chart()->GetAxes()->SetBehind(CBAxisBeh->GetChecked());
}

// ---------------------------------------------------------------------------
// Scales

void TFormZuzAxis::CBAutomaticClick(TObject*) {
    if (!Writing() || FScales) return;
    const bool automatic = CBAutomatic->GetChecked();
    FAxis->SetAutomatic(automatic);
    if (automatic) {
        FAxis->AdjustMaxMin();
    } else {
        FAxis->SetAutomaticMaximum(false);
        FAxis->SetAutomaticMinimum(false);
    }
    SetAxisScales();
}

void TFormZuzAxis::CBAutoMinClick(TObject*) {
    if (!Writing() || FScales) return;
    FAxis->SetAutomaticMinimum(CBAutoMin->GetChecked());
    CBMinRound->SetEnabled(CBAutoMin->GetChecked());
    FAxis->AdjustMaxMin();
    SetAxisScales();
}

void TFormZuzAxis::CBAutoMaxClick(TObject*) {
    if (!Writing() || FScales) return;
    FAxis->SetAutomaticMaximum(CBAutoMax->GetChecked());
    CBMaxRound->SetEnabled(CBAutoMax->GetChecked());
    FAxis->AdjustMaxMin();
    SetAxisScales();
}

void TFormZuzAxis::CBLogarithmicClick(TObject*) {
    if (!Writing()) return;
    try {
        FAxis->SetLogarithmic(CBLogarithmic->GetChecked());
    } catch (...) {
        // A date-time axis or ends below zero: the axis stays linear and the box says so.
        FAxis->SetLogarithmic(false);
        {
            const TRestoreOnExit<bool> loading(FLoading, true);
            CBLogarithmic->SetChecked(false);
        }
        LogBaseRule();
        throw;
    }
    LogBaseRule();
}

void TFormZuzAxis::CBVisibleClick(TObject*) {
    if (Writing()) FAxis->SetVisible(CBVisible->GetChecked());
}

void TFormZuzAxis::CBInvertedClick(TObject*) {
    if (Writing()) FAxis->SetInverted(CBInverted->GetChecked());
}

void TFormZuzAxis::ELogBaseChange(TObject*) {
    if (!Writing()) return;
    const double base = StrToFloatDef(ELogBase->GetText(), FAxis->GetLogarithmicBase());
    // Half-typed or impossible bases ("0.", "-", 1) are no base: the axis keeps its own.
    if (base <= 0 || base == 1) return;
    FAxis->SetLogarithmicBase(base);
    const bool e = IsE(FAxis->GetLogarithmicBase());
    LogE->SetChecked(e);
    LogE->SetEnabled(!e);
}

void TFormZuzAxis::LogEClick(TObject*) {
    if (!Writing() || !LogE->GetChecked()) return;
    if (!IsE(FAxis->GetLogarithmicBase())) ELogBase->SetText(FloatToStr(std::numbers::e));
    LogE->SetEnabled(false);
}

void TFormZuzAxis::EditAxisMaxMin(bool IsMax) {
    auto* chart = dynamic_cast<TCustomChart*>(Chart());
    if (!chart) return;
    // The form centres itself on the screen.
    const TFormFreer<TAxisMaxMin> dialog(Create<TAxisMaxMin>(this));
    dialog->SetCaption(chart->AxisTitleOrName(FAxis) + u" " + (IsMax ? VavIve_Maximum : VavIve_Minimum));
    dialog->MaxMin = IsMax ? FAxis->GetMaximum() : FAxis->GetMinimum();
    dialog->IsDateTime = FAxis->IsDateTime();
    ZuzTranslateControl(dialog.get());
    if (dialog->ShowModal() != mrOk) return;
    if (IsMax)
        FAxis->SetMaximum(dialog->MaxMin);
    else
        FAxis->SetMinimum(dialog->MaxMin);
    (IsMax ? CBAutoMax : CBAutoMin)->SetChecked(false);
    SetAxisScales();
}

void TFormZuzAxis::BAxisMinClick(TObject*) {
    EditAxisMaxMin(false);
}

void TFormZuzAxis::BAxisMaxClick(TObject*) {
    EditAxisMaxMin(true);
}

void TFormZuzAxis::EMinOffChange(TObject*) {
    if (Writing()) FAxis->SetMinimumOffset(UDMinOff->GetPosition());
}

void TFormZuzAxis::EMaxOffChange(TObject*) {
    if (Writing()) FAxis->SetMaximumOffset(UDMaxOff->GetPosition());
}

void TFormZuzAxis::CBMinRoundClick(TObject*) {
    if (Writing()) FAxis->SetMinimumRound(CBMinRound->GetChecked());
}

void TFormZuzAxis::CBMaxRoundClick(TObject*) {
    if (Writing()) FAxis->SetMaximumRound(CBMaxRound->GetChecked());
}

void TFormZuzAxis::BIncreClick(TObject*) {
    if (FAxis && TAxisIncrement::ChangeIncrement(this, FAxis)) SetAxisScales();
}

void TFormZuzAxis::CBShowAllClick(TObject*) {
    if (!Writing()) return;
    // Only a real change of the box moves the separation: a box cleared because the labels
    // tab set a separation of 20 must not turn it into 10.
    if (CBShowAll->GetChecked())
        FAxis->SetLabelsSeparation(0);
    else if (FAxis->GetLabelsSeparation() == 0)
        FAxis->SetLabelsSeparation(10);
}

// ---------------------------------------------------------------------------
// Title

void TFormZuzAxis::ETitleChange(TObject*) {
    if (FAxis) FAxis->GetTitle()->SetCaption(ETitle->GetText());
}

void TFormZuzAxis::SETitleAngleChange(TObject*) {
    if (Writing()) FAxis->GetTitle()->SetAngle(UDTitleAngle->GetPosition());
}

void TFormZuzAxis::SETitleSizeChange(TObject*) {
    if (Writing()) FAxis->SetTitleSize(UDTitleSize->GetPosition());
}

void TFormZuzAxis::CBTitleVisibleClick(TObject*) {
    if (Writing()) FAxis->GetTitle()->SetVisible(CBTitleVisible->GetChecked());
}

void TFormZuzAxis::PageTitleChange(TObject*) {
    if (!FAxis || FTitleShape || PageTitle->GetActivePage() != TabTitleFormat) return;
    FTitleShape = InsertZuzObjectForm(PageTitleFormat, FAxis->GetTitle());
    // Made after the axis was shown, it would show nothing and write nothing until another axis
    // is chosen: it is filled now, as the axis' other editors were.
    FTitleShape->RefreshControls(FAxis->GetTitle());
}

void TFormZuzAxis::PageTitleFormatChange(TObject*) {
    if (FTitleShape) FTitleShape->PC1Change(PageTitleFormat);
}

// ---------------------------------------------------------------------------
// Labels

void TFormZuzAxis::PageLabelsChange(TObject*) {
    if (!FAxis || FFontEditor || PageLabels->GetActivePage() != TabLabText) return;
    FFontEditor = InsertZuzFontEditor(TabLabText);
    FFontEditor->RefreshControls(FAxis->GetLabelsFont());
}

void TFormZuzAxis::CBLabelsClick(TObject*) {
    if (Writing()) FAxis->SetLabels(CBLabels->GetChecked());
}

void TFormZuzAxis::CBMultilineClick(TObject*) {
    if (Writing()) FAxis->SetLabelsMultiLine(CBMultiline->GetChecked());
}

void TFormZuzAxis::CBOnAxisClick(TObject*) {
    if (Writing()) FAxis->SetLabelsOnAxis(CBOnAxis->GetChecked());
}

void TFormZuzAxis::CBRoundFirstClick(TObject*) {
    if (Writing()) FAxis->SetRoundFirstLabel(CBRoundFirst->GetChecked());
}

void TFormZuzAxis::CBAlternateClick(TObject*) {
    if (Writing()) FAxis->SetLabelsAlternate(CBAlternate->GetChecked());
}

void TFormZuzAxis::SELabelsSizeChange(TObject*) {
    if (Writing()) FAxis->SetLabelsSize(UDLabelsSize->GetPosition());
}

void TFormZuzAxis::SELabelsAngleChange(TObject*) {
    if (Writing()) FAxis->SetLabelsAngle(UDLabelsAngle->GetPosition());
}

void TFormZuzAxis::SESeparChange(TObject*) {
    if (!Writing()) return;
    FAxis->SetLabelsSeparation(UDSepar->GetPosition());
    CBShowAll->SetChecked(FAxis->GetLabelsSeparation() == 0);
}

void TFormZuzAxis::CBLabelStyleChange(TObject*) {
    const int index = CBLabelStyle->GetItemIndex();
    if (Writing() && index >= 0) FAxis->SetLabelStyle(static_cast<TAxisLabelStyle>(index));
}

void TFormZuzAxis::CBFormatChange(TObject*) {
    // Not while loading: showing an axis with no format of its own must not give it one.
    if (!Writing()) return;
    if (FAxis->IsDateTime())
        FAxis->SetDateTimeFormat(CBFormat->GetText());
    else
        FAxis->SetValuesFormat(LocalToSarvikFormat(CBFormat->GetText()));
}

void TFormZuzAxis::Button1Click(TObject*) {
    if (!FAxis) return;
    CBFormat->SetText(TFormatEditor::Change(this, CBFormat->GetText(), FAxis->IsDateTime()));
    CBFormatChange(CBFormat);
}

void TFormZuzAxis::CBExpoClick(TObject*) {
    if (Writing()) FAxis->SetLabelsExponent(CBExpo->GetChecked());
}

void TFormZuzAxis::CBLabelAlignClick(TObject*) {
    if (Writing()) FAxis->SetLabelsAlign(CBLabelAlign->GetChecked() ? alDefault : alOpposite);
}

// ---------------------------------------------------------------------------
// Ticks and grid

void TFormZuzAxis::SEAxisTickLengthChange(TObject*) {
    if (Writing()) FAxis->SetTickLength(UDAxisTickLength->GetPosition());
}

void TFormZuzAxis::SEInnerTicksLengthChange(TObject*) {
    if (Writing()) FAxis->SetTickInnerLength(UDInnerTicksLength->GetPosition());
}

void TFormZuzAxis::SEAxisMinorTickLenChange(TObject*) {
    if (Writing()) FAxis->SetMinorTickLength(UDAxisMinorTickLen->GetPosition());
}

void TFormZuzAxis::Edit3Change(TObject*) {
    if (Writing()) FAxis->SetMinorTickCount(UDMinorC->GetPosition());
}

void TFormZuzAxis::CBTickOnLabelsClick(TObject*) {
    if (Writing()) FAxis->SetTickOnLabelsOnly(CBTickOnLabels->GetChecked());
}

void TFormZuzAxis::SEMinorCountChange(TObject*) {
    if (Writing()) FAxis->SetMinorTickCount(UDMinorCount->GetPosition());
}

void TFormZuzAxis::Edit2Change(TObject*) {
    if (Writing()) FAxis->GetGrid()->SetZ(UDGridZ->GetPosition());
}

void TFormZuzAxis::CBGridCenteredClick(TObject*) {
    if (Writing()) FAxis->GetGrid()->SetCentered(CBGridCentered->GetChecked());
}

void TFormZuzAxis::EMarksEveryChange(TObject*) {
    if (Writing()) FAxis->GetGrid()->SetDrawEvery(UDEvery->GetPosition());
}

// ---------------------------------------------------------------------------
// Position

void TFormZuzAxis::EPosChange(TObject*) {
    if (Writing()) FAxis->SetPositionPercent(UDPos->GetPosition());
}

void TFormZuzAxis::EStartChange(TObject*) {
    if (!Writing()) return;
    const int start = UDStart->GetPosition();
    if (start < FAxis->GetEndPosition()) {
        FAxis->SetStartPosition(start);
    } else {
        const TRestoreOnExit<bool> loading(FLoading, true);
        UDStart->SetPosition(Rounded(FAxis->GetStartPosition()));
    }
}

void TFormZuzAxis::EEndChange(TObject*) {
    if (!Writing()) return;
    const int end = UDEnd->GetPosition();
    if (end > FAxis->GetStartPosition()) {
        FAxis->SetEndPosition(end);
    } else {
        const TRestoreOnExit<bool> loading(FLoading, true);
        UDEnd->SetPosition(Rounded(FAxis->GetEndPosition()));
    }
}

void TFormZuzAxis::Edit1Change(TObject*) {
    if (Writing()) FAxis->SetZPosition(UDZ->GetPosition());
}

void TFormZuzAxis::CBPosUnitsChange(TObject*) {
    if (Writing()) FAxis->SetPosUnits(CBPosUnits->GetItemIndex() == 0 ? muPercent : muPixels);
}

void TFormZuzAxis::CBOtherSideClick(TObject*) {
    if (Writing()) FAxis->SetOtherSide(CBOtherSide->GetChecked());
}

void TFormZuzAxis::CBHorizAxisClick(TObject*) {
    if (!Writing() || !FAxis->IsCustom()) return;
    FAxis->SetHorizontal(CBHorizAxis->GetChecked());
    CBLabelAlign->SetEnabled(!FAxis->GetHorizontal() && !FAxis->IsDepthAxis);
    if (OnChangeHorizAxis) OnChangeHorizAxis(FAxis);
}

void ZuzEdiAxisInitialization() {
    RegisterClass(TFormZuzAxis::StaticClass());
}
