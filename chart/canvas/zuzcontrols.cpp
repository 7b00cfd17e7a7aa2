// The sample button, the colour button and the flat combo box.
#include "chart/canvas/zuzcontrols.h"

#include "chart/canvas/zuzcolor.h"
#include "chart/canvas/zuzfont.h"
#include "platform/core/typinfo.h"
#include "platform/gui/winuser.h"
#include "platform/win32/winnls.h"

// ---------------------------------------------------------------------------
// TZuzButton

const ClassInfo& TZuzButton::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TZuzButton>("TZuzButton", &TButton::StaticClass());
    return ci;
}

TZuzButton::TZuzButton(TComponent* AOwner) : TButton(AOwner) {}

void TZuzButton::LinkProperty(TObject* Instance, const String& PropName) {
    FInstance = Instance;
    FPropName.clear();
    if (!Instance) return;
    if (!PropName.empty() && GetPropInfo(*Instance, UTF8Encode(PropName))) FPropName = UTF8Encode(PropName);
    Repaint();
}

TRect TZuzButton::SymbolRectangle() const {
    const int w = GetWidth(), h = GetHeight();
    return {w - 19, h - 3 * (h / 4), w - 6, h - h / 4};
}

void TZuzButton::PaintOver(TCanvas* Canvas) {
    TZuzCanvas3D canvas;
    canvas.SetCanvas(Canvas);
    DrawSymbol(&canvas);
}

// ---------------------------------------------------------------------------
// TButtonColor

const ClassInfo& TButtonColor::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TButtonColor>("TButtonColor", &TZuzButton::StaticClass());
    return ci;
}

TColor TButtonColor::GetSymbolColor() const {
    if (GetColorProc) return GetColorProc();
    if (HasLinkedProperty())
        return static_cast<TColor>(
            ColorToRGB(static_cast<TColor>(GetOrdProp(*GetInstance(), LinkedPropName()))));
    return FColor;
}

void TButtonColor::SetSymbolColor(TColor Value) {
    if (HasLinkedProperty())
        SetOrdProp(*GetInstance(), LinkedPropName(), Value);
    else
        FColor = Value;
}

void TButtonColor::DrawSymbol(TZuzCanvas* Canvas) {
    const TColor color = GetSymbolColor();
    Canvas->Brush->SetStyle(bsSolid);
    Canvas->Brush->SetColor(color);
    if (color == clNone) return;
    Canvas->Pen->SetColor(clBlack);
    Canvas->Pen->SetStyle(GetEnabled() ? psSolid : psClear);
    Canvas->Rectangle(SymbolRectangle());
}

void TButtonColor::Click() {
    TColor color = GetSymbolColor();
    if (!EditColorDialog(this, color)) return;
    SetSymbolColor(color);
    Repaint();
    TZuzButton::Click();
}

// ---------------------------------------------------------------------------
// TComboFlat

const ClassInfo& TComboFlat::StaticClass() {
    using C = TCustomComboBox;
    static const PropInfo props[] = {
        MakeProp<&TControl::GetHeight, &TControl::SetHeight>("Height").Default(21),
        MakeProp<&C::GetStyle, &C::SetStyle>("Style").Default(csDropDownList),
        MakeProp<&C::GetItemHeight, &C::SetItemHeight>("ItemHeight").Default(13),
        MakeProp<&C::GetDropDownWidth, &C::SetDropDownWidth>("DropDownWidth")
            .Stored<&TComboFlat::IsDropDownWidthStored>(),
    };
    static const ClassInfo ci = MakeClassInfo<TComboFlat>("TComboFlat", &TComboBox::StaticClass(), props);
    return ci;
}

TComboFlat::TComboFlat(TComponent* AOwner) : TComboBox(AOwner) {
    SetStyle(csDropDownList);
    SetItemHeight(13);
    SetHeight(21);
    // Japanese texts need the chart's default face, which can show them.
    if (PRIMARYLANGID(GetUserDefaultLangID()) == LANG_JAPANESE) {
        GetFont()->SetName(GetDefaultFontName());
        GetFont()->SetSize(GetDefaultFontSize());
    }
}

String TComboFlat::CurrentItem() const {
    const int i = GetItemIndex();
    return i < 0 ? String() : GetItems()->GetStrings(i);
}

TObject* TComboFlat::SelectedObject() const {
    const int i = GetItemIndex();
    return i < 0 ? nullptr : GetItems()->GetObjects(i);
}

void TComboFlat::SetMouseOver(bool Value) {
    FMouseOver = Value;
    Invalidate();
}

void TComboFlat::MouseEnter() {
    TComboBox::MouseEnter();
    SetMouseOver(true);
}

void TComboFlat::MouseLeave() {
    TComboBox::MouseLeave();
    SetMouseOver(false);
}

void TComboFlat::DoEnter() {
    TComboBox::DoEnter();
    SetMouseOver(false);
}

void TComboFlat::DoExit() {
    TComboBox::DoExit();
    SetMouseOver(false);
}

void TComboFlat::PaintOver(TCanvas* Canvas) {
    // The system's sunken frame and button edge are painted over in the face colours
    // until the mouse comes or the box takes the focus.
    if (FMouseOver || Focused()) return;
    TRect r = GetClientRect();
    Canvas->GetPen()->SetColor(clBtnFace);
    Canvas->GetPen()->SetStyle(psSolid);
    Canvas->GetBrush()->SetStyle(bsClear);
    Canvas->Rectangle(r);
    Canvas->Rectangle(TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1));
    r = TRect(r.Right - GetSystemMetrics(SM_CXVSCROLL) - 2, r.Top + 1, r.Right - 1, r.Bottom - 1);
    Canvas->GetPen()->SetColor(clWindow);
    Canvas->Rectangle(r);
    Canvas->MoveTo(r.Right - 2, r.Top);
    Canvas->LineTo(r.Right - 2, r.Bottom);
}

void RegisterZuzControlClasses() {
    RegisterClasses({&TZuzButton::StaticClass(), &TButtonColor::StaticClass(), &TComboFlat::StaticClass()});
}
