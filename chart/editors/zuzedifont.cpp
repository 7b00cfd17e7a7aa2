#include "chart/editors/zuzedifont.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzfilters.h"
#include "chart/canvas/zuzfont.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzbackimage.h"
#include "chart/editors/zuzbrushdlg.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzshadoweditor.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/screenfonts.h"
#include "platform/gui/stdctrls.h"

TZuzAddFontNames ZuzAddFontNames = nullptr;

const ClassInfo& TZuzFontEditor::StaticClass() {
    using E = TZuzFontEditor;
    static const MethodInfo methods[] = {
        MakeMethod<&E::FormCreate>("FormCreate"),
        MakeMethod<&E::FormShow>("FormShow"),
        MakeMethod<&E::ESizeChange>("ESizeChange"),
        MakeMethod<&E::CBItalicClick>("CBItalicClick"),
        MakeMethod<&E::CBBoldClick>("CBBoldClick"),
        MakeMethod<&E::CBStrikeClick>("CBStrikeClick"),
        MakeMethod<&E::CBUnderClick>("CBUnderClick"),
        MakeMethod<&E::CBNameChange>("CBNameChange"),
        MakeMethod<&E::Button3Click>("Button3Click"),
        MakeMethod<&E::EInterChange>("EInterChange"),
        MakeMethod<&E::CBOutGradClick>("CBOutGradClick"),
        MakeMethod<&E::Button2Click>("Button2Click"),
        MakeMethod<&E::PageControl1Change>("PageControl1Change"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TZuzFontEditor>("TZuzFontEditor", &TForm::StaticClass(), methods);
    return ci;
}

TZuzFontEditor::TZuzFontEditor(TComponent* AOwner) : TForm(AOwner) {}

TZuzFontEditor::~TZuzFontEditor() = default;

void TZuzFontEditor::BindComponents() {
    Bind(PanelButtons, u"PanelButtons");
    Bind(Button1, u"Button1");
    Bind(Button2, u"Button2");
    Bind(PageControl1, u"PageControl1");
    Bind(TabSheet1, u"TabSheet1");
    Bind(TabSheet2, u"TabSheet2");
    Bind(Button3, u"Button3");
    Bind(Label1, u"Label1");
    Bind(ESize, u"ESize");
    Bind(UDSize, u"UDSize");
    Bind(GroupBox1, u"GroupBox1");
    Bind(CBItalic, u"CBItalic");
    Bind(CBBold, u"CBBold");
    Bind(CBStrike, u"CBStrike");
    Bind(CBUnder, u"CBUnder");
    Bind(BColor, u"BColor");
    Bind(Label2, u"Label2");
    Bind(EInter, u"EInter");
    Bind(UDInter, u"UDInter");
    Bind(BOutline, u"BOutline");
    Bind(CBOutGrad, u"CBOutGrad");
    Bind(TabShadow, u"TabShadow");
    Bind(TabGradient, u"TabGradient");
    Bind(TabPicture, u"TabPicture");
    Bind(Label3, u"Label3");
    Bind(CBName, u"CBName");
}

void TZuzFontEditor::FormCreate(TObject*) {
    PanelButtons->SetVisible(false);
    SetHeight(GetHeight() - PanelButtons->GetHeight());
}

void TZuzFontEditor::FormShow(TObject*) {
    if (!FBackup) ZuzTranslateControl(this);
    if (CBName->GetItems()->GetCount() == 0) {
        CBName->GetItems()->Assign(ScreenFonts());
        if (ZuzAddFontNames) ZuzAddFontNames(CBName->GetItems());
    }
    if (!FFont) return;
    RefreshControls(FFont);
    if (PanelButtons->GetVisible()) {
        if (!FBackup) FBackup = MakeOwned<TZuzFont>();
        FBackup->Assign(FFont);
    }
}

void TZuzFontEditor::RefreshControls(TZuzFont* Font) {
    const TRestoreOnExit<bool> filling(FFilling, true);
    FFont = Font;
    if (!Font) {
        // Showing no font: no button may still write into the one shown before, which may be gone.
        BColor->LinkProperty(nullptr, u"");
        BOutline->LinkPen(nullptr);
        if (FGradientEditor) FGradientEditor->RefreshGradient(nullptr);
        if (FShadowEditor) FShadowEditor->RefreshControls(nullptr);
        if (FPictureEditor) FPictureEditor->RefreshControls(nullptr);
        return;
    }
    BColor->LinkProperty(Font, u"Color");
    RefreshBasic();
    UDInter->SetPosition(Font->GetInterCharSize());
    BOutline->LinkPen(Font->GetOutLine());
    CBOutGrad->SetChecked(Font->GetGradient()->GetOutline());
    if (FGradientEditor) FGradientEditor->RefreshGradient(Font->GetGradient());
    if (FShadowEditor) FShadowEditor->RefreshControls(Font->GetShadow());
    if (FPictureEditor) FPictureEditor->RefreshControls(dynamic_cast<TZuzPicture*>(Font->GetPicture()));
}

void TZuzFontEditor::RefreshBasic() {
    const TRestoreOnExit<bool> filling(FFilling, true);
    UDSize->SetPosition(FFont->GetSize());
    const TFontStyles style = FFont->GetStyle();
    CBItalic->SetChecked(style.Contains(fsItalic));
    CBBold->SetChecked(style.Contains(fsBold));
    CBStrike->SetChecked(style.Contains(fsStrikeOut));
    CBUnder->SetChecked(style.Contains(fsUnderline));
    CBName->SetItemIndex(CBName->GetItems()->IndexOf(FFont->GetName()));
}

void TZuzFontEditor::ESizeChange(TObject*) {
    if (Writing() && GetShowing()) FFont->SetSize(UDSize->GetPosition());
}

void TZuzFontEditor::StyleClick(TCheckBox* Box, TFontStyle Style) {
    if (!Writing()) return;
    TFontStyles style = FFont->GetStyle();
    if (Box->GetChecked())
        style.Include(Style);
    else
        style.Exclude(Style);
    FFont->SetStyle(style);
}

void TZuzFontEditor::CBItalicClick(TObject*) {
    StyleClick(CBItalic, fsItalic);
}

void TZuzFontEditor::CBBoldClick(TObject*) {
    StyleClick(CBBold, fsBold);
}

void TZuzFontEditor::CBStrikeClick(TObject*) {
    StyleClick(CBStrike, fsStrikeOut);
}

void TZuzFontEditor::CBUnderClick(TObject*) {
    StyleClick(CBUnder, fsUnderline);
}

void TZuzFontEditor::CBNameChange(TObject*) {
    if (Writing() && CBName->GetItemIndex() >= 0) FFont->SetName(CBName->CurrentItem());
}

void TZuzFontEditor::Button3Click(TObject*) {
    if (!FFont) return;
    EditZuzFont(this, FFont);
    BColor->Repaint();
    RefreshBasic();
}

void TZuzFontEditor::EInterChange(TObject*) {
    if (Writing() && GetShowing()) FFont->SetInterCharSize(UDInter->GetPosition());
}

void TZuzFontEditor::CBOutGradClick(TObject*) {
    if (Writing()) FFont->GetGradient()->SetOutline(CBOutGrad->GetChecked());
}

void TZuzFontEditor::Button2Click(TObject*) {
    if (FBackup && FFont) FFont->Assign(FBackup.get());
}

// Each page is filled the first time it is opened.
void TZuzFontEditor::PageControl1Change(TObject*) {
    TTabSheet* page = PageControl1->GetActivePage();
    if (page == TabShadow && !FShadowEditor) {
        FShadowEditor = InsertZuzShadowEditor(TabShadow);
        if (FFont) FShadowEditor->RefreshControls(FFont->GetShadow());
    } else if (page == TabGradient && !FGradientEditor && FFont) {
        FGradientEditor = InsertGradientEditor(this, TabGradient, FFont->GetGradient());
    } else if (page == TabPicture && !FPictureEditor) {
        FPictureEditor = InsertImageEditor(TabPicture);
        FPictureEditor->RGBitmap->SetVisible(false);
        FPictureEditor->GBPosition->SetVisible(false);
        if (FFont) FPictureEditor->RefreshControls(dynamic_cast<TZuzPicture*>(FFont->GetPicture()));
    }
}

TZuzFontEditor* InsertZuzFontEditor(TWinControl* TabSheet) {
    auto* editor = Create<TZuzFontEditor>(nullptr);
    editor->SetAlign(alClient);
    AddFormTo(editor, TabSheet);
    return editor;
}

bool EditZuzFontEx(TComponent* AOwner, TZuzFont* Font) {
    const TFormFreer<TZuzFontEditor> editor{Create<TZuzFontEditor>(AOwner)};
    editor->SetBorderStyle(bsDialog);
    editor->RefreshControls(Font);
    editor->PanelButtons->SetVisible(true);
    editor->SetHeight(editor->GetHeight() + editor->PanelButtons->GetHeight());
    const bool ok = editor->ShowModal() == mrOk;
    // Closed by its window's close box rather than Cancel: undone all the same.
    if (!ok) editor->Button2Click(editor->Button2);
    return ok;
}

void ZuzEdiFontInitialization() {
    RegisterClass(TZuzFontEditor::StaticClass());
}
