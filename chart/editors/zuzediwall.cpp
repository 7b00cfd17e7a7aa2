#include "chart/editors/zuzediwall.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzbackimage.h"
#include "chart/editors/zuzbrushdlg.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzshadoweditor.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartwalls.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TFormZuzWall::StaticClass() {
    using F = TFormZuzWall;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormCreate>("FormCreate"),
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::CBView3dWallsClick>("CBView3dWallsClick"),
        MakeMethod<&F::EAllSizeChange>("EAllSizeChange"),
        MakeMethod<&F::TabSubWallsChange>("TabSubWallsChange"),
        MakeMethod<&F::BWallBrushClick>("BWallBrushClick"),
        MakeMethod<&F::BGradientClick>("BGradientClick"),
        MakeMethod<&F::SEWallSizeChange>("SEWallSizeChange"),
        MakeMethod<&F::CBTranspClick>("CBTranspClick"),
        MakeMethod<&F::Edit1Change>("Edit1Change"),
        MakeMethod<&F::CBDark3DClick>("CBDark3DClick"),
        MakeMethod<&F::CBVisibleClick>("CBVisibleClick"),
        MakeMethod<&F::CBAutoHideClick>("CBAutoHideClick"),
        MakeMethod<&F::Edit2Change>("Edit2Change"),
        MakeMethod<&F::Edit3Change>("Edit3Change"),
        MakeMethod<&F::BImageClick>("BImageClick"),
        MakeMethod<&F::BShadowClick>("BShadowClick"),
    };
    static const ClassInfo ci = MakeClassInfo<TFormZuzWall>("TFormZuzWall", &TForm::StaticClass(), methods);
    return ci;
}

TFormZuzWall::TFormZuzWall(TComponent* AOwner) : TForm(AOwner) {}

TFormZuzWall::TFormZuzWall(TComponent* AOwner, TCustomChartWall* Wall) : TForm(AOwner), FWall(Wall) {}

void TFormZuzWall::BindComponents() {
    Bind(CBView3dWalls, u"CBView3dWalls");
    Bind(Label1, u"Label1");
    Bind(EAllSize, u"EAllSize");
    Bind(UDAllSize, u"UDAllSize");
    Bind(TabSubWalls, u"TabSubWalls");
    Bind(BWallColor, u"BWallColor");
    Bind(BWallPen, u"BWallPen");
    Bind(BWallBrush, u"BWallBrush");
    Bind(BGradient, u"BGradient");
    Bind(Label2, u"Label2");
    Bind(SEWallSize, u"SEWallSize");
    Bind(UDWallSize, u"UDWallSize");
    Bind(CBTransp, u"CBTransp");
    Bind(Label3, u"Label3");
    Bind(Edit1, u"Edit1");
    Bind(UDTransp, u"UDTransp");
    Bind(CBDark3D, u"CBDark3D");
    Bind(CBVisible, u"CBVisible");
    Bind(CBAutoHide, u"CBAutoHide");
    Bind(GroupBox1, u"GroupBox1");
    Bind(Label4, u"Label4");
    Bind(Edit2, u"Edit2");
    Bind(UDStart, u"UDStart");
    Bind(Label5, u"Label5");
    Bind(Edit3, u"Edit3");
    Bind(UDEnd, u"UDEnd");
    Bind(BImage, u"BImage");
    Bind(BShadow, u"BShadow");
}

void TFormZuzWall::FormCreate(TObject*) {
    SetAlign(alClient);
    TStrings* tabs = TabSubWalls->GetTabs();
    tabs->Add(u"Left");
    tabs->Add(u"Right");
    tabs->Add(u"Bottom");
    tabs->Add(u"Back");
}

TCustomChart* TFormZuzWall::Chart() const {
    return FWall ? dynamic_cast<TCustomChart*>(FWall->GetParentChart()) : nullptr;
}

bool TFormZuzWall::Writing() const {
    return FWall && !FFilling && GetShowing();
}

void TFormZuzWall::FormShow(TObject*) {
    if (FWall) RefreshControls(FWall);
}

void TFormZuzWall::RefreshControls(TCustomChartWall* Wall) {
    FWall = Wall;
    TCustomChart* chart = Chart();
    if (!chart) return;
    int tab = 3;
    if (Wall == chart->GetLeftWall())
        tab = 0;
    else if (Wall == chart->GetRightWall())
        tab = 1;
    else if (Wall == chart->GetBottomWall())
        tab = 2;
    TabSubWalls->SetTabIndex(tab);
    SetWallControls();
}

void TFormZuzWall::SetWallControls() {
    TCustomChart* chart = Chart();
    if (!chart) return;
    const TRestoreOnExit<bool> filling(FFilling, true);
    CBView3dWalls->SetChecked(chart->GetView3DWalls());
    UDWallSize->SetPosition(FWall->GetSize());
    CBTransp->SetChecked(FWall->GetTransparent());
    CBDark3D->SetChecked(FWall->GetDark3D());
    CBDark3D->SetEnabled(FWall->GetSize() > 0);
    CBVisible->SetChecked(FWall->GetVisible());
    CBAutoHide->SetChecked(FWall->GetAutoHide());
    UDTransp->SetPosition(FWall->GetTransparency());
    UDStart->SetPosition(FWall->GetStartPosition());
    UDEnd->SetPosition(FWall->GetEndPosition());
    BGradient->LinkGradient(FWall->GetGradient());
    {
        const TRestoreOnExit<bool> allSize(FFillingAllSize, true);
        UDAllSize->SetPosition(FWall->GetSize());
    }
    BWallPen->LinkPen(FWall->GetPen());
    CBAutoHide->SetVisible(FWall != chart->GetBottomWall());
    BShadow->SetVisible(FWall == chart->GetBackWall());
    BWallColor->LinkProperty(FWall, u"Color");
    BWallColor->Repaint();
}

void TFormZuzWall::CBView3dWallsClick(TObject*) {
    if (!FFilling && Chart()) Chart()->SetView3DWalls(CBView3dWalls->GetChecked());
}

void TFormZuzWall::EAllSizeChange(TObject*) {
    if (FFillingAllSize || !GetShowing() || !Chart()) return;
    Chart()->GetWalls()->SetSize(UDAllSize->GetPosition());
    SetWallControls();
}

void TFormZuzWall::TabSubWallsChange(TObject*) {
    TCustomChart* chart = Chart();
    if (!chart) return;
    switch (TabSubWalls->GetTabIndex()) {
    case 0:
        FWall = chart->GetLeftWall();
        break;
    case 1:
        FWall = chart->GetRightWall();
        break;
    case 2:
        FWall = chart->GetBottomWall();
        break;
    default:
        FWall = chart->GetBackWall();
        break;
    }
    SetWallControls();
}

void TFormZuzWall::BWallBrushClick(TObject*) {
    if (FWall) EditChartBrush(this, FWall->GetBrush());
}

void TFormZuzWall::BGradientClick(TObject*) {
    if (!FWall || !FWall->GetGradient()->GetVisible()) return;
    FWall->SetTransparent(false);
    CBTransp->SetChecked(false);
}

void TFormZuzWall::SEWallSizeChange(TObject*) {
    if (!Writing()) return;
    FWall->SetSize(UDWallSize->GetPosition());
    CBDark3D->SetEnabled(FWall->GetSize() > 0);
}

void TFormZuzWall::CBTranspClick(TObject*) {
    if (FWall && !FFilling) FWall->SetTransparent(CBTransp->GetChecked());
}

void TFormZuzWall::Edit1Change(TObject*) {
    if (Writing()) FWall->SetTransparency(UDTransp->GetPosition());
}

void TFormZuzWall::CBDark3DClick(TObject*) {
    if (FWall && !FFilling) FWall->SetDark3D(CBDark3D->GetChecked());
}

void TFormZuzWall::CBVisibleClick(TObject*) {
    if (FWall && !FFilling) FWall->SetVisible(CBVisible->GetChecked());
}

void TFormZuzWall::CBAutoHideClick(TObject*) {
    if (FWall && !FFilling) FWall->SetAutoHide(CBAutoHide->GetChecked());
}

void TFormZuzWall::Edit2Change(TObject*) {
    if (Writing()) FWall->SetStartPosition(UDStart->GetPosition());
}

void TFormZuzWall::Edit3Change(TObject*) {
    if (Writing()) FWall->SetEndPosition(UDEnd->GetPosition());
}

void TFormZuzWall::BImageClick(TObject*) {
    if (!FWall) return;
    TCustomForm* host = GetParent() ? GetParentForm(GetParent()) : nullptr;
    const TFormFreer<TBackImageEditor> editor{ZuzCreateForm<TBackImageEditor>(host ? host : this)};
    // A wall's picture always fills the wall: no layout to choose.
    editor->ShowLayout = false;
    editor->PanelButtons->SetVisible(true);
    editor->RefreshControls(FWall->GetPicture());
    editor->ShowModal();
}

void TFormZuzWall::BShadowClick(TObject*) {
    if (FWall) EditZuzShadow(this, FWall->GetShadow());
}

void ZuzEdiWallInitialization() {
    RegisterClass(TFormZuzWall::StaticClass());
}
