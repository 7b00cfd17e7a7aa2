#include "chart/editors/zuzshadoweditor.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzcolor.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/editors/zuzpendlg.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TZuzShadowEditor::StaticClass() {
    using E = TZuzShadowEditor;
    static const MethodInfo methods[] = {
        MakeMethod<&E::FormShow>("FormShow"),
        MakeMethod<&E::CBVisibleClick>("CBVisibleClick"),
        MakeMethod<&E::CBSmoothClick>("CBSmoothClick"),
        MakeMethod<&E::CBClipClick>("CBClipClick"),
        MakeMethod<&E::Edit1Change>("Edit1Change"),
        MakeMethod<&E::EVertSizeChange>("EVertSizeChange"),
        MakeMethod<&E::EShadowTranspChange>("EShadowTranspChange"),
        MakeMethod<&E::TBBlurChange>("TBBlurChange"),
        MakeMethod<&E::TBColorChange>("TBColorChange"),
        MakeMethod<&E::BShadowColorClick>("BShadowColorClick"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TZuzShadowEditor>("TZuzShadowEditor", &TForm::StaticClass(), methods);
    return ci;
}

TZuzShadowEditor::TZuzShadowEditor(TComponent* AOwner) : TForm(AOwner) {}

void TZuzShadowEditor::BindComponents() {
    Bind(LTransp, u"LTransp");
    Bind(BShadowColor, u"BShadowColor");
    Bind(EShadowTransp, u"EShadowTransp");
    Bind(UDShadowTransp, u"UDShadowTransp");
    Bind(BOK, u"BOK");
    Bind(CBSmooth, u"CBSmooth");
    Bind(GroupBox1, u"GroupBox1");
    Bind(Label1, u"Label1");
    Bind(Label5, u"Label5");
    Bind(Edit1, u"Edit1");
    Bind(UDShadowSize, u"UDShadowSize");
    Bind(EVertSize, u"EVertSize");
    Bind(UDShaVert, u"UDShaVert");
    Bind(CBVisible, u"CBVisible");
    Bind(Label2, u"Label2");
    Bind(TBBlur, u"TBBlur");
    Bind(TBColor, u"TBColor");
    Bind(CBClip, u"CBClip");
}

void TZuzShadowEditor::FormShow(TObject*) {
    if (auto* tagged = ZuzTagObject<TZuzShadow>(this)) FShadow = tagged;
    if (FShadow) RefreshControls(FShadow);
    if (FCreating) ZuzTranslateControl(this);
    FCreating = false;
}

void TZuzShadowEditor::RefreshControls(TZuzShadow* Shadow) {
    const TRestoreOnExit<bool> filling(FFilling, true);
    FShadow = Shadow;
    BShadowColor->LinkProperty(Shadow, u"Color");
    if (!Shadow) return;
    UDShadowSize->SetPosition(Shadow->GetHorizSize());
    UDShaVert->SetPosition(Shadow->GetVertSize());
    UDShadowTransp->SetPosition(Shadow->GetTransparency());
    CBSmooth->SetChecked(Shadow->GetSmooth());
    CBVisible->SetChecked(Shadow->GetVisible());
    EnableSizes();
    TBBlur->SetPosition(Shadow->GetSmoothBlur());
    EnableSmooth();
    TakeHLS();
    TBColor->SetPosition(FLum);
    CBClip->SetChecked(Shadow->GetClip());
}

void TZuzShadowEditor::TakeHLS() {
    if (FShadow) ColorToHLS(FShadow->GetColor(), FHue, FLum, FSat);
}

void TZuzShadowEditor::EnableSizes() {
    Edit1->SetEnabled(CBVisible->GetChecked());
    EVertSize->SetEnabled(CBVisible->GetChecked());
}

void TZuzShadowEditor::EnableSmooth() {
    TBBlur->SetEnabled(CBSmooth->GetChecked());
    CBClip->SetEnabled(CBSmooth->GetChecked());
}

void TZuzShadowEditor::CBVisibleClick(TObject*) {
    if (FShadow && !FFilling) FShadow->SetVisible(CBVisible->GetChecked());
    EnableSizes();
}

void TZuzShadowEditor::CBSmoothClick(TObject*) {
    if (FShadow && !FFilling) FShadow->SetSmooth(CBSmooth->GetChecked());
    EnableSmooth();
}

void TZuzShadowEditor::CBClipClick(TObject*) {
    if (FShadow && !FFilling) FShadow->SetClip(CBClip->GetChecked());
}

void TZuzShadowEditor::Edit1Change(TObject*) {
    if (Writing()) FShadow->SetHorizSize(UDShadowSize->GetPosition());
}

void TZuzShadowEditor::EVertSizeChange(TObject*) {
    if (Writing()) FShadow->SetVertSize(UDShaVert->GetPosition());
}

void TZuzShadowEditor::EShadowTranspChange(TObject*) {
    if (Writing()) FShadow->SetTransparency(UDShadowTransp->GetPosition());
}

void TZuzShadowEditor::TBBlurChange(TObject*) {
    if (Writing()) FShadow->SetSmoothBlur(TBBlur->GetPosition());
}

void TZuzShadowEditor::TBColorChange(TObject*) {
    if (!Writing()) return;
    FShadow->SetColor(HLSToColor(FHue, static_cast<Word>(TBColor->GetPosition()), FSat));
    BShadowColor->Repaint();
}

void TZuzShadowEditor::BShadowColorClick(TObject*) {
    TakeHLS();
}

bool EditZuzShadow(TComponent* AOwner, TZuzShadow* Shadow) {
    const TFormFreer<TZuzShadowEditor> editor{ZuzCreateForm<TZuzShadowEditor>(AOwner)};
    editor->SetTag(reinterpret_cast<NativeInt>(Shadow));
    // The button goes below the controls, which alone fit the pages the editor is embedded in.
    editor->SetClientHeight(editor->BOK->GetTop() + editor->BOK->GetHeight() + 8);
    editor->BOK->SetVisible(true);
    return editor->ShowModal() == mrOk;
}

TZuzShadowEditor* InsertZuzShadowEditor(TWinControl* TabSheet) {
    auto* editor = Create<TZuzShadowEditor>(nullptr);
    editor->BOK->SetVisible(false);
    AddFormTo(editor, TabSheet);
    // At the top of its page, as the page's own controls and the other editors stand, not in the
    // middle of a page taller than itself.
    editor->SetTop(4);
    return editor;
}

void ZuzShadowEditorInitialization() {
    RegisterClass(TZuzShadowEditor::StaticClass());
}
