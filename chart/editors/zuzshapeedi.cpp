#include "chart/editors/zuzshapeedi.h"

#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzfont.h"
#include "chart/editors/zuzbrushdlg.h"
#include "chart/editors/zuzedifont.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzstringseditor.h"
#include "chart/series/zuzshape.h"
#include "platform/core/sysutils.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TChartShapeEditor::StaticClass() {
    using F = TChartShapeEditor;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::CBStyleChange>("CBStyleChange"),
        MakeMethod<&F::BShapeBrushClick>("BShapeBrushClick"),
        MakeMethod<&F::CBTransClick>("CBTransClick"),
        MakeMethod<&F::CBRoundClick>("CBRoundClick"),
        MakeMethod<&F::Edit1Change>("Edit1Change"),
        MakeMethod<&F::MemoTextChange>("MemoTextChange"),
        MakeMethod<&F::RGVertAlignClick>("RGVertAlignClick"),
        MakeMethod<&F::RGAlignClick>("RGAlignClick"),
        MakeMethod<&F::Button1Click>("Button1Click"),
        MakeMethod<&F::SEX0Change>("SEX0Change"),
        MakeMethod<&F::SEY0Change>("SEY0Change"),
        MakeMethod<&F::SEX1Change>("SEX1Change"),
        MakeMethod<&F::SEY1Change>("SEY1Change"),
        MakeMethod<&F::CBUnitsChange>("CBUnitsChange"),
    };
    static const ClassInfo ci = MakeClassInfo<F>("TChartShapeEditor", &TForm::StaticClass(), methods);
    return ci;
}

void TChartShapeEditor::BindComponents() {
    Bind(PageControl1, u"PageControl1");
    Bind(TabStyle, u"TabStyle");
    Bind(LStyle, u"LStyle");
    Bind(CBStyle, u"CBStyle");
    Bind(BShapeColor, u"BShapeColor");
    Bind(BShapePen, u"BShapePen");
    Bind(BShapeBrush, u"BShapeBrush");
    Bind(CBTrans, u"CBTrans");
    Bind(CBRound, u"CBRound");
    Bind(BGradient, u"BGradient");
    Bind(LTransp, u"LTransp");
    Bind(Edit1, u"Edit1");
    Bind(UDTransp, u"UDTransp");
    Bind(TabText, u"TabText");
    Bind(LText, u"LText");
    Bind(MemoText, u"MemoText");
    Bind(RGVertAlign, u"RGVertAlign");
    Bind(RGAlign, u"RGAlign");
    Bind(Button1, u"Button1");
    Bind(TabPosition, u"TabPosition");
    Bind(LX0, u"LX0");
    Bind(SEX0, u"SEX0");
    Bind(LY0, u"LY0");
    Bind(SEY0, u"SEY0");
    Bind(LX1, u"LX1");
    Bind(SEX1, u"SEX1");
    Bind(LY1, u"LY1");
    Bind(SEY1, u"SEY1");
    Bind(LUnits, u"LUnits");
    Bind(CBUnits, u"CBUnits");
    Bind(TabFont, u"TabFont");
}

void TChartShapeEditor::Notification(TComponent* AComponent, TOperation Operation) {
    TForm::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFontForm) FFontForm = nullptr;
}

void TChartShapeEditor::FormShow(TObject*) {
    FShape = ZuzTagObject<TChartShape>(this);
    if (!FShape) return;
    FLoading = true;
    CBStyle->SetItemIndex(FShape->GetStyle());
    CBTrans->SetChecked(FShape->GetTransparent());
    const bool twoPoints = FShape->Count() == 2;
    SEX0->SetText(twoPoints ? FloatToStr(FShape->GetX0()) : String());
    SEY0->SetText(twoPoints ? FloatToStr(FShape->GetY0()) : String());
    SEX1->SetText(twoPoints ? FloatToStr(FShape->GetX1()) : String());
    SEY1->SetText(twoPoints ? FloatToStr(FShape->GetY1()) : String());
    MemoText->GetFont()->Assign(FShape->GetFont());
    MemoText->GetLines()->Assign(FShape->GetText());
    switch (FShape->GetAlignment()) {
    case taLeftJustify:
        RGAlign->SetItemIndex(0);
        break;
    case taCenter:
        RGAlign->SetItemIndex(1);
        break;
    default:
        RGAlign->SetItemIndex(2);
        break;
    }
    RGVertAlign->SetItemIndex(FShape->GetVertAlign());
    CBRound->SetChecked(FShape->GetRoundRectangle());
    CheckRound();
    CBUnits->SetItemIndex(FShape->GetXYStyle());
    BShapePen->LinkPen(FShape->GetPen());
    BGradient->LinkGradient(FShape->GetGradient());
    BShapeColor->LinkProperty(FShape, u"SeriesColor");
    if (!FFontForm) {
        FFontForm = InsertZuzFontEditor(TabFont);
        FFontForm->FreeNotification(this);
    }
    FFontForm->RefreshControls(FShape->GetFont());
    UDTransp->SetPosition(FShape->GetTransparency());
    FLoading = false;
}

// Corners are rounded only on a flat rectangle.
void TChartShapeEditor::CheckRound() {
    ISeriesChart* chart = FShape->GetParentChart();
    CBRound->SetEnabled(FShape->GetStyle() == chasRectangle && !(chart && chart->GetView3D()));
}

void TChartShapeEditor::CBStyleChange(TObject*) {
    if (FLoading || !FShape || CBStyle->GetItemIndex() < 0) return;
    FShape->SetStyle(static_cast<TChartShapeStyle>(CBStyle->GetItemIndex()));
    CheckRound();
}

void TChartShapeEditor::BShapeBrushClick(TObject*) {
    if (!FShape) return;
    EditChartBrush(this, FShape->GetBrush());
    BShapeColor->Repaint();
}

void TChartShapeEditor::CBTransClick(TObject*) {
    if (!FLoading && FShape) FShape->SetTransparent(CBTrans->GetChecked());
}

void TChartShapeEditor::CBRoundClick(TObject*) {
    if (!FLoading && FShape) FShape->SetRoundRectangle(CBRound->GetChecked());
}

void TChartShapeEditor::Edit1Change(TObject*) {
    if (Writing()) FShape->SetTransparency(UDTransp->GetPosition());
}

void TChartShapeEditor::MemoTextChange(TObject*) {
    if (!FLoading && FShape) FShape->SetText(MemoText->GetLines());
}

void TChartShapeEditor::RGVertAlignClick(TObject*) {
    if (FLoading || !FShape) return;
    static const TZuzVertAlign aligns[] = {vaTop, vaCenter, vaBottom};
    const int index = RGVertAlign->GetItemIndex();
    if (index >= 0 && index < 3) FShape->SetVertAlign(aligns[index]);
}

void TChartShapeEditor::RGAlignClick(TObject*) {
    if (FLoading || !FShape) return;
    static const TAlignment aligns[] = {taLeftJustify, taCenter, taRightJustify};
    const int index = RGAlign->GetItemIndex();
    if (index >= 0 && index < 3) FShape->SetAlignment(aligns[index]);
}

// The memo's own change handler takes the edited lines into the shape.
void TChartShapeEditor::Button1Click(TObject*) {
    ZuzEditStrings(this, MemoText->GetLines());
}

bool TChartShapeEditor::PositionValue(const TEdit* Edit, double& Value) const {
    const String text = Edit->GetText();
    Extended number = 0;
    if (!Writing() || text.empty() || !TryStrToFloat(text, number)) return false;
    Value = number;
    return true;
}

void TChartShapeEditor::SEX0Change(TObject*) {
    if (double v = 0; PositionValue(SEX0, v)) FShape->SetX0(v);
}

void TChartShapeEditor::SEY0Change(TObject*) {
    if (double v = 0; PositionValue(SEY0, v)) FShape->SetY0(v);
}

void TChartShapeEditor::SEX1Change(TObject*) {
    if (double v = 0; PositionValue(SEX1, v)) FShape->SetX1(v);
}

void TChartShapeEditor::SEY1Change(TObject*) {
    if (double v = 0; PositionValue(SEY1, v)) FShape->SetY1(v);
}

void TChartShapeEditor::CBUnitsChange(TObject*) {
    if (!FLoading && FShape && CBUnits->GetItemIndex() >= 0)
        FShape->SetXYStyle(static_cast<TChartShapeXYStyle>(CBUnits->GetItemIndex()));
}

void RegisterZuzShapeEdiClasses() {
    RegisterClass(TChartShapeEditor::StaticClass());
}
