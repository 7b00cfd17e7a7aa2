#include "chart/editors/zuzedititl.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzcustomshapeeditor.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzstringseditor.h"
#include "chart/engine/chart.h"
#include "chart/engine/charttitle.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TFormZuzTitle::StaticClass() {
    using F = TFormZuzTitle;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormCreate>("FormCreate"),         MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::CBTitlesChange>("CBTitlesChange"), MakeMethod<&F::MTextChange>("MTextChange"),
        MakeMethod<&F::CBVisibleClick>("CBVisibleClick"), MakeMethod<&F::CBAdjustClick>("CBAdjustClick"),
        MakeMethod<&F::CBAlignChange>("CBAlignChange"),   MakeMethod<&F::Button1Click>("Button1Click"),
        MakeMethod<&F::CBCustPosClick>("CBCustPosClick"), MakeMethod<&F::ECustLeftChange>("ECustLeftChange"),
        MakeMethod<&F::ECustTopChange>("ECustTopChange"), MakeMethod<&F::Edit1Change>("Edit1Change"),
        MakeMethod<&F::PC1Change>("PC1Change"),
    };
    static const ClassInfo ci = MakeClassInfo<TFormZuzTitle>("TFormZuzTitle", &TForm::StaticClass(), methods);
    return ci;
}

TFormZuzTitle::TFormZuzTitle(TComponent* AOwner) : TForm(AOwner) {}

TFormZuzTitle::TFormZuzTitle(TComponent* AOwner, TCustomChart* Chart, TChartTitle* Title)
    : TForm(AOwner), FChart(Chart), FTitle(Title) {}

void TFormZuzTitle::AfterConstruction() {
    TForm::AfterConstruction();
    FSettingText = false;
    // The title's format tabs follow "Style" and "Position".
    if (FTitle) FShapeEditor = InsertZuzObjectForm(PageControlTitle, FTitle);
    PageControlTitle->SetActivePage(TabSheet1);
}

void TFormZuzTitle::BindComponents() {
    Bind(CBTitles, u"CBTitles");
    Bind(PageControlTitle, u"PageControlTitle");
    Bind(TabSheet1, u"TabSheet1");
    Bind(Label1, u"Label1");
    Bind(MText, u"MText");
    Bind(CBVisible, u"CBVisible");
    Bind(CBAdjust, u"CBAdjust");
    Bind(Label2, u"Label2");
    Bind(CBAlign, u"CBAlign");
    Bind(Button1, u"Button1");
    Bind(TabSheet2, u"TabSheet2");
    Bind(CBCustPos, u"CBCustPos");
    Bind(Label3, u"Label3");
    Bind(ECustLeft, u"ECustLeft");
    Bind(UDLeft, u"UDLeft");
    Bind(Label4, u"Label4");
    Bind(ECustTop, u"ECustTop");
    Bind(UDTop, u"UDTop");
    Bind(Label5, u"Label5");
    Bind(Edit1, u"Edit1");
    Bind(UDMargin, u"UDMargin");
}

void TFormZuzTitle::FormCreate(TObject*) {
    FLoading = true;
    SetBorderStyle(bsNone);
}

void TFormZuzTitle::FormShow(TObject*) {
    if (FChart && FTitle) {
        int line = 3;
        if (FTitle == FChart->GetTitle())
            line = 0;
        else if (FTitle == FChart->GetSubTitle())
            line = 1;
        else if (FTitle == FChart->GetSubFoot())
            line = 2;
        CBTitles->SetItemIndex(line);
        SetTitleControls();
    }
    FLoading = false;
}

void TFormZuzTitle::SetTitleControls() {
    {
        const TRestoreOnExit<bool> loading(FLoading, true);
        CBAlign->SetItemIndex(ZuzAlignmentLine(FTitle->GetAlignment()));
        CBVisible->SetChecked(FTitle->GetVisible());
        CBAdjust->SetChecked(FTitle->GetAdjustFrame());
        CBCustPos->SetChecked(FTitle->GetCustomPosition());
        UDLeft->SetPosition(FTitle->GetLeft());
        UDTop->SetPosition(FTitle->GetTop());
        UDMargin->SetPosition(FTitle->GetVertMargin());
    }
    EnableCustomPosition();
    {
        const TRestoreOnExit<bool> settingText(FSettingText, true);
        MText->GetLines()->Assign(FTitle->GetText());
    }
    if (FShapeEditor) FShapeEditor->RefreshControls(FTitle);
}

void TFormZuzTitle::EnableCustomPosition() {
    const bool custom = FTitle->GetCustomPosition();
    for (TControl* c : std::initializer_list<TControl*>{ECustLeft, ECustTop, UDLeft, UDTop})
        c->SetEnabled(custom);
    if (custom) {
        const TRestoreOnExit<bool> loading(FLoading, true);
        UDLeft->SetPosition(FTitle->GetLeft());
        UDTop->SetPosition(FTitle->GetTop());
    }
}

void TFormZuzTitle::CBTitlesChange(TObject*) {
    if (!FChart) return;
    switch (CBTitles->GetItemIndex()) {
    case 0:
        FTitle = FChart->GetTitle();
        break;
    case 1:
        FTitle = FChart->GetSubTitle();
        break;
    case 2:
        FTitle = FChart->GetSubFoot();
        break;
    case 3:
        FTitle = FChart->GetFoot();
        break;
    default:
        return;
    }
    SetTitleControls();
}

void TFormZuzTitle::MTextChange(TObject*) {
    if (FSettingText || !FTitle) return;
    if (!MText->GetLines()->Equals(FTitle->GetText())) FTitle->SetText(MText->GetLines());
}

void TFormZuzTitle::CBVisibleClick(TObject*) {
    if (FTitle && !FLoading) FTitle->SetVisible(CBVisible->GetChecked());
}

void TFormZuzTitle::CBAdjustClick(TObject*) {
    if (FTitle && !FLoading) FTitle->SetAdjustFrame(CBAdjust->GetChecked());
}

void TFormZuzTitle::CBAlignChange(TObject*) {
    if (FTitle && CBAlign->GetItemIndex() >= 0)
        FTitle->SetAlignment(ZuzLineAlignment(CBAlign->GetItemIndex()));
}

void TFormZuzTitle::Button1Click(TObject*) {
    ZuzEditStrings(this, MText->GetLines(), false);
}

void TFormZuzTitle::CBCustPosClick(TObject*) {
    if (!FTitle || FLoading) return;
    FTitle->SetCustomPosition(CBCustPos->GetChecked());
    EnableCustomPosition();
}

void TFormZuzTitle::ECustLeftChange(TObject*) {
    if (FTitle && !FLoading && FTitle->GetCustomPosition() && FTitle->GetLeft() != UDLeft->GetPosition())
        FTitle->SetLeft(UDLeft->GetPosition());
}

void TFormZuzTitle::ECustTopChange(TObject*) {
    if (FTitle && !FLoading && FTitle->GetCustomPosition() && FTitle->GetTop() != UDTop->GetPosition())
        FTitle->SetTop(UDTop->GetPosition());
}

void TFormZuzTitle::Edit1Change(TObject*) {
    // The page's tabs, not the form, are what shows when the editor's tree lends them.
    if (FTitle && !FLoading && PageControlTitle->GetShowing()) FTitle->SetVertMargin(UDMargin->GetPosition());
}

void TFormZuzTitle::PC1Change(TObject*) {
    if (FShapeEditor) FShapeEditor->PC1Change(PageControlTitle);
}

void ZuzEdiTitlInitialization() {
    RegisterClass(TFormZuzTitle::StaticClass());
}
