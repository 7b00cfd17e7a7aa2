#include "chart/editors/zuzpoedi.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzbrushdlg.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzshadoweditor.h"
#include "chart/engine/seriespointer.h"
#include "chart/series/series.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TSeriesPointerEditor::StaticClass() {
    using F = TSeriesPointerEditor;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormCreate>("FormCreate"),
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::CBDrawPointClick>("CBDrawPointClick"),
        MakeMethod<&F::CB3dPointClick>("CB3dPointClick"),
        MakeMethod<&F::CBPoDarkClick>("CBPoDarkClick"),
        MakeMethod<&F::CBInflateClick>("CBInflateClick"),
        MakeMethod<&F::SEPointHorizSizeChange>("SEPointHorizSizeChange"),
        MakeMethod<&F::SEPointVertSizeChange>("SEPointVertSizeChange"),
        MakeMethod<&F::CBStyleChange>("CBStyleChange"),
        MakeMethod<&F::CBStyleDrawItem>("CBStyleDrawItem"),
        MakeMethod<&F::BPointFillColorClick>("BPointFillColorClick"),
        MakeMethod<&F::CBDefBrushColorClick>("CBDefBrushColorClick"),
        MakeMethod<&F::BPoinPenColClick>("BPoinPenColClick"),
        MakeMethod<&F::CBIgnoreNullsClick>("CBIgnoreNullsClick"),
        MakeMethod<&F::Button2Click>("Button2Click"),
        MakeMethod<&F::TBTranspChange>("TBTranspChange"),
        MakeMethod<&F::CBColorEachClick>("CBColorEachClick"),
        MakeMethod<&F::BGradientClick>("BGradientClick"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TSeriesPointerEditor>("TSeriesPointerEditor", &TForm::StaticClass(), methods);
    return ci;
}

TSeriesPointerEditor::TSeriesPointerEditor(TComponent* AOwner) : TForm(AOwner) {}

void TSeriesPointerEditor::BindComponents() {
    Bind(GPPoint, u"GPPoint");
    Bind(CBDrawPoint, u"CBDrawPoint");
    Bind(CB3dPoint, u"CB3dPoint");
    Bind(CBPoDark, u"CBPoDark");
    Bind(CBInflate, u"CBInflate");
    Bind(Label1, u"Label1");
    Bind(SEPointHorizSize, u"SEPointHorizSize");
    Bind(UDPointHorizSize, u"UDPointHorizSize");
    Bind(Label2, u"Label2");
    Bind(SEPointVertSize, u"SEPointVertSize");
    Bind(UDPointVertSize, u"UDPointVertSize");
    Bind(Label3, u"Label3");
    Bind(CBStyle, u"CBStyle");
    Bind(GroupBox1, u"GroupBox1");
    Bind(BPointFillColor, u"BPointFillColor");
    Bind(CBDefBrushColor, u"CBDefBrushColor");
    Bind(BPoinPenCol, u"BPoinPenCol");
    Bind(CBIgnoreNulls, u"CBIgnoreNulls");
    Bind(Button2, u"Button2");
    Bind(LTransp, u"LTransp");
    Bind(TBTransp, u"TBTransp");
    Bind(CBColorEach, u"CBColorEach");
    Bind(BGradient, u"BGradient");
    Bind(PanelBottom, u"PanelBottom");
    Bind(Button1, u"Button1");
}

bool TSeriesPointerEditor::Writing() const {
    return FPointer && !FFilling && GetShowing();
}

void TSeriesPointerEditor::FormCreate(TObject*) {
    SetAlign(alClient);
}

void TSeriesPointerEditor::FormShow(TObject*) {
    TObject* tag = ZuzTagObject(this);
    if (tag) {
        const TRestoreOnExit<bool> filling(FFilling, true);
        if (auto* pointer = dynamic_cast<TSeriesPointer*>(tag)) {
            FPointer = pointer;
            FSeries = dynamic_cast<TCustomSeries*>(pointer->ParentSeries());
            // Alone with a pointer the series' own options are not this dialog's business.
            for (TCheckBox* c : {CBColorEach, CBIgnoreNulls}) {
                c->SetEnabled(false);
                c->SetVisible(false);
            }
        } else if (auto* series = dynamic_cast<TCustomSeries*>(tag)) {
            FSeries = series;
            FPointer = series->GetPointer();
            CBColorEach->SetVisible(true);
            CBColorEach->SetChecked(series->GetColorEachPoint());
            CBIgnoreNulls->SetVisible(true);
            CBIgnoreNulls->SetChecked(series->GetTreatNulls() == tnIgnore);
        }
        if (FPointer) {
            EnableVisibleControls(FPointer->GetVisible());
            CBDrawPoint->SetChecked(FPointer->GetVisible());
            CB3dPoint->SetChecked(FPointer->GetDraw3D());
            Enable3DPoint();
            UDPointHorizSize->SetPosition(FPointer->GetHorizSize());
            UDPointVertSize->SetPosition(FPointer->GetVertSize());
            CBStyle->SetItemIndex(static_cast<int>(FPointer->GetStyle()));
            CBInflate->SetChecked(FPointer->GetInflateMargins());
            CBPoDark->SetChecked(FPointer->GetDark3D());
            CheckDefColor();
            BPoinPenCol->LinkPen(FPointer->GetPen());
            TBTransp->SetPosition(FPointer->GetTransparency());
            if (!FPointer->AllowChangeSize) HideSizeOptions();
        }
    }
    ZuzTranslateControl(this);
}

void TSeriesPointerEditor::HideSizeOptions() {
    ShowControls(false,
                 {Label1, SEPointHorizSize, UDPointHorizSize, Label2, SEPointVertSize, UDPointVertSize});
}

void TSeriesPointerEditor::EnableVisibleControls(bool Visible) {
    if (!Visible) {
        CB3dPoint->SetEnabled(false);
        CBPoDark->SetEnabled(false);
    } else {
        Enable3DPoint();
    }
    for (TControl* c : std::initializer_list<TControl*>{CBInflate, SEPointHorizSize, UDPointHorizSize,
                                                        SEPointVertSize, UDPointVertSize, BPointFillColor,
                                                        CBStyle, BPoinPenCol, CBDefBrushColor})
        c->SetEnabled(Visible);
}

// A 3D point is drawn only for the box-like styles, and for a circle only where the canvas
// can turn it.
void TSeriesPointerEditor::Enable3DPoint() {
    bool enable = false;
    if (FPointer && FPointer->GetVisible()) {
        // Any series' pointer counts here, a bar's marks callout too, not only a line's points.
        TChartSeries* owner = FPointer->ParentSeries();
        if (ISeriesChart* chart = owner ? owner->GetParentChart() : nullptr) {
            const TSeriesPointerStyle style = FPointer->GetStyle();
            const bool box = style == psRectangle || style == psTriangle || style == psDownTriangle;
            TCanvas3D* canvas = chart->GetCanvas();
            const bool roundable = style == psCircle && canvas && canvas->GetSupportsFullRotation();
            enable = chart->GetView3D() && (box || roundable);
        }
    }
    CB3dPoint->SetEnabled(enable);
    CBPoDark->SetEnabled(enable && CB3dPoint->GetChecked());
}

void TSeriesPointerEditor::CheckDefColor() {
    if (!FPointer) return;
    const TRestoreOnExit<bool> filling(FFilling, true);
    CBDefBrushColor->SetChecked(FPointer->GetColor() == clZuzColor &&
                                FPointer->GetPen()->GetColor() == clZuzColor);
}

void TSeriesPointerEditor::RepaintColorButtons() {
    BPointFillColor->Repaint();
    BPoinPenCol->Repaint();
}

void TSeriesPointerEditor::CBDrawPointClick(TObject*) {
    if (!Writing()) return;
    FPointer->SetVisible(CBDrawPoint->GetChecked());
    EnableVisibleControls(CBDrawPoint->GetChecked());
}

void TSeriesPointerEditor::CB3dPointClick(TObject*) {
    if (!Writing()) return;
    FPointer->SetDraw3D(CB3dPoint->GetChecked());
    CBPoDark->SetEnabled(CB3dPoint->GetEnabled() && CB3dPoint->GetChecked());
}

void TSeriesPointerEditor::CBPoDarkClick(TObject*) {
    if (Writing()) FPointer->SetDark3D(CBPoDark->GetChecked());
}

void TSeriesPointerEditor::CBInflateClick(TObject*) {
    if (Writing()) FPointer->SetInflateMargins(CBInflate->GetChecked());
}

// The up-down holds the size within 1..1000, so the pointer never sees a size it refuses.
void TSeriesPointerEditor::SEPointHorizSizeChange(TObject*) {
    if (Writing()) FPointer->SetHorizSize(UDPointHorizSize->GetPosition());
}

void TSeriesPointerEditor::SEPointVertSizeChange(TObject*) {
    if (Writing()) FPointer->SetVertSize(UDPointVertSize->GetPosition());
}

void TSeriesPointerEditor::CBStyleChange(TObject*) {
    if (!Writing() || CBStyle->GetItemIndex() < 0) return;
    FPointer->SetStyle(static_cast<TSeriesPointerStyle>(CBStyle->GetItemIndex()));
    Enable3DPoint();
}

void TSeriesPointerEditor::CBStyleDrawItem(TWinControl*, int Index, TRect Rect, TOwnerDrawState State) {
    TCanvas* itemCanvas = CBStyle->GetCanvas();
    if (!itemCanvas) return;
    const TColor back = State.Contains(odSelected) ? clHighlight : CBStyle->GetColor();
    itemCanvas->GetBrush()->SetStyle(bsSolid);
    itemCanvas->GetBrush()->SetColor(back);
    itemCanvas->FillRect(Rect);
    if (FPointer && Index >= 0 && Index <= static_cast<int>(psHexagon)) {
        TColor color = FPointer->GetColor();
        if (color == clZuzColor && FPointer->ParentSeries())
            color = FPointer->ParentSeries()->GetSeriesColor();
        const auto style = static_cast<TSeriesPointerStyle>(Index);
        TZuzCanvas3D canvas;
        canvas.SetCanvas(itemCanvas);
        FPointer->PrepareCanvas(&canvas, color);
        const bool lineStyle =
            style == psCross || style == psDiagCross || style == psStar || style == psSmallDot;
        if (lineStyle && !FPointer->GetPen()->GetVisible()) {
            canvas.Pen->SetStyle(psSolid);
            canvas.Pen->SetWidth(1);
            canvas.Pen->SetColor(color);
        }
        FPointer->DrawPointer(&canvas, false, Rect.Left + 6, Rect.Top + 8, 4, 4, color, style);
    }
    itemCanvas->GetBrush()->SetStyle(bsClear);
    itemCanvas->GetFont()->SetColor(State.Contains(odSelected) ? clHighlightText : clWindowText);
    if (Index >= 0 && Index < CBStyle->GetItems()->GetCount())
        itemCanvas->TextOut(Rect.Left + 14, Rect.Top + 2, CBStyle->GetItems()->GetStrings(Index));
}

void TSeriesPointerEditor::BPointFillColorClick(TObject*) {
    if (!FPointer) return;
    EditChartBrush(this, FPointer->GetBrush());
    CheckDefColor();
    RepaintColorButtons();
}

void TSeriesPointerEditor::CBDefBrushColorClick(TObject*) {
    if (!Writing()) return;
    if (CBDefBrushColor->GetChecked()) {
        FPointer->SetColor(clZuzColor);
        FPointer->GetPen()->SetColor(clZuzColor);
    } else if (FPointer->GetPen()->GetColor() == clZuzColor) {
        FPointer->GetPen()->SetColor(clBlack);
    }
    RepaintColorButtons();
}

// The pen button has edited the pen already; only the default-colour box follows.
void TSeriesPointerEditor::BPoinPenColClick(TObject*) {
    CheckDefColor();
}

void TSeriesPointerEditor::CBIgnoreNullsClick(TObject*) {
    if (Writing() && FSeries) FSeries->SetTreatNulls(CBIgnoreNulls->GetChecked() ? tnIgnore : tnDontPaint);
}

void TSeriesPointerEditor::Button2Click(TObject*) {
    if (FPointer) EditZuzShadow(this, FPointer->GetShadow());
}

void TSeriesPointerEditor::TBTranspChange(TObject*) {
    if (Writing()) FPointer->SetTransparency(TBTransp->GetPosition());
}

void TSeriesPointerEditor::CBColorEachClick(TObject*) {
    if (Writing() && FSeries) FSeries->SetColorEachPoint(CBColorEach->GetChecked());
}

void TSeriesPointerEditor::BGradientClick(TObject*) {
    if (FPointer) EditZuzGradient(this, FPointer->GetGradient());
}

bool EditSeriesPointer(TComponent* AOwner, TSeriesPointer* Pointer) {
    TFormFreer<TSeriesPointerEditor> form(ZuzCreateForm<TSeriesPointerEditor>(AOwner));
    PositionToCenter(form.get());
    form->SetCaption(u"Pointer");
    form->SetTag(reinterpret_cast<NativeInt>(static_cast<TObject*>(Pointer)));
    form->CBInflate->SetVisible(false);
    form->CBColorEach->SetVisible(false);
    // The bottom panel takes its own room rather than covering the last row.
    form->SetClientHeight(form->GetClientHeight() + form->PanelBottom->GetHeight());
    form->PanelBottom->SetVisible(true);
    ZuzTranslateControl(form.get());
    form->ShowModal();
    return true;
}

TSeriesPointerEditor* ZuzInsertPointerForm(TWinControl* Parent, TSeriesPointer* Pointer,
                                           const String& Title) {
    return ZuzInsertSeriesForm<TSeriesPointerEditor>(Parent, 1, Title, Pointer);
}

void RegisterZuzPoEdiClasses() {
    RegisterClass(TSeriesPointerEditor::StaticClass());
}
