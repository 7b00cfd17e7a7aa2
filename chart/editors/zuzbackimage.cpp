#include "chart/editors/zuzbackimage.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzfilters.h"
#include "chart/canvas/zuzpanelext.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzbrushdlg.h"
#include "chart/editors/zuzfilterseditor.h"
#include "chart/editors/zuzpendlg.h"
#include "platform/core/sysutils.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/jpeg.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TBackImageEditor::StaticClass() {
    using E = TBackImageEditor;
    static const MethodInfo methods[] = {
        MakeMethod<&E::FormShow>("FormShow"),           MakeMethod<&E::BBrowseClick>("BBrowseClick"),
        MakeMethod<&E::RGBitmapClick>("RGBitmapClick"), MakeMethod<&E::ELeftChange>("ELeftChange"),
        MakeMethod<&E::ETopChange>("ETopChange"),       MakeMethod<&E::CBTranspClick>("CBTranspClick"),
        MakeMethod<&E::Button1Click>("Button1Click"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TBackImageEditor>("TBackImageEditor", &TForm::StaticClass(), methods);
    return ci;
}

TBackImageEditor::TBackImageEditor(TComponent* AOwner) : TForm(AOwner) {}

void TBackImageEditor::BindComponents() {
    Bind(RGBitmap, u"RGBitmap");
    Bind(BBrowse, u"BBrowse");
    Bind(CBTransp, u"CBTransp");
    Bind(Button1, u"Button1");
    Bind(Bevel1, u"Bevel1");
    Bind(Image1, u"Image1");
    Bind(GBPosition, u"GBPosition");
    Bind(Label4, u"Label4");
    Bind(Label5, u"Label5");
    Bind(ELeft, u"ELeft");
    Bind(UDLeft, u"UDLeft");
    Bind(ETop, u"ETop");
    Bind(UDTop, u"UDTop");
    Bind(LabelSize, u"LabelSize");
    Bind(LabelExt, u"LabelExt");
    Bind(PanelButtons, u"PanelButtons");
    Bind(Button2, u"Button2");
    Bind(Button3, u"Button3");
}

String ZuzGraphicExtension(const TObject* Graphic) {
    if (dynamic_cast<const TBitmap*>(Graphic)) return u"bmp";
    if (dynamic_cast<const TJPEGImage*>(Graphic)) return u"jpg";
    if (const auto* meta = dynamic_cast<const TMetafile*>(Graphic))
        return meta->GetEnhanced() ? u"emf" : u"wmf";
    return {};
}

namespace {

bool HoldsGraphic(TZuzPicture* Picture) {
    return Picture && Picture->GetGraphic() && !Picture->GetGraphic()->GetEmpty();
}

} // namespace

void TBackImageEditor::RefreshControls(TZuzPicture* Picture) {
    const TRestoreOnExit<bool> filling(FFilling, true);
    FPicture = Picture;
    if (auto* back = dynamic_cast<TBackImage*>(Picture)) {
        RGBitmap->SetItemIndex(back->GetMode());
        UDLeft->SetPosition(back->GetLeft());
        UDTop->SetPosition(back->GetTop());
    }
    EnableControls();
    CBTransp->SetEnabled(HoldsGraphic(Picture));
    CBTransp->SetChecked(HoldsGraphic(Picture) && Picture->GetGraphic()->GetTransparent());
}

void TBackImageEditor::EnableControls() {
    const TRestoreOnExit<bool> filling(FFilling, true);
    const bool has = HoldsGraphic(FPicture);
    RGBitmap->SetEnabled(has);
    if (CBTransp->GetVisible()) {
        CBTransp->SetEnabled(RGBitmap->GetEnabled());
        CBTransp->SetChecked(CBTransp->GetEnabled() && FPicture->GetGraphic()->GetTransparent());
    }
    if (auto* back = ShowLayout ? dynamic_cast<TBackImage*>(FPicture) : nullptr) {
        const bool custom = back->GetMode() == pbmCustom;
        for (TControl* c : std::initializer_list<TControl*>{ELeft, ETop, UDLeft, UDTop})
            c->SetEnabled(custom);
        RGBitmap->SetVisible(true);
        GBPosition->SetVisible(true);
    } else {
        RGBitmap->SetVisible(false);
        GBPosition->SetVisible(false);
    }
    LabelSize->SetVisible(RGBitmap->GetEnabled());
    LabelExt->SetVisible(RGBitmap->GetEnabled());
    if (has) {
        LabelSize->SetCaption(IntToStr(FPicture->GetWidth()) + u"x" + IntToStr(FPicture->GetHeight()));
        LabelExt->SetCaption(ZuzGraphicExtension(FPicture->GetGraphic()));
        Image1->GetPicture()->SetGraphic(FPicture->Filtered());
    } else {
        Image1->GetPicture()->SetGraphic(nullptr);
    }
    BBrowse->SetCaption(has ? VavIve_ClearImage : VavIve_BrowseImage);
}

void TBackImageEditor::FormShow(TObject*) {
    if (FPicture) RefreshControls(FPicture);
    ZuzTranslateControl(this);
}

void TBackImageEditor::BBrowseClick(TObject*) {
    if (!FPicture) return;
    // A graphic with no pixels counts as none: it goes, and a picture is browsed for at once.
    if (FPicture->GetGraphic() && !HoldsGraphic(FPicture)) FPicture->SetGraphic(nullptr);
    ZuzLoadClearImage(this, FPicture);
    EnableControls();
}

void TBackImageEditor::RGBitmapClick(TObject*) {
    if (FFilling) return;
    if (auto* back = dynamic_cast<TBackImage*>(FPicture)) {
        if (RGBitmap->GetItemIndex() >= 0)
            back->SetMode(static_cast<TZuzBackImageMode>(RGBitmap->GetItemIndex()));
        EnableControls();
    }
}

void TBackImageEditor::ELeftChange(TObject*) {
    if (FFilling || !GetShowing()) return;
    if (auto* back = dynamic_cast<TBackImage*>(FPicture)) back->SetLeft(UDLeft->GetPosition());
}

void TBackImageEditor::ETopChange(TObject*) {
    if (FFilling || !GetShowing()) return;
    if (auto* back = dynamic_cast<TBackImage*>(FPicture)) back->SetTop(UDTop->GetPosition());
}

void TBackImageEditor::CBTranspClick(TObject*) {
    if (FFilling || !CBTransp->GetEnabled() || !HoldsGraphic(FPicture)) return;
    FPicture->GetGraphic()->SetTransparent(CBTransp->GetChecked());
}

void TBackImageEditor::Button1Click(TObject*) {
    if (!FPicture) return;
    if (ShowFiltersEditor(this, FPicture)) {
        FPicture->Repaint();
        EnableControls();
    }
}

TBackImageEditor* InsertImageEditor(TWinControl* TabSheet) {
    auto* editor = Create<TBackImageEditor>(nullptr);
    AddFormTo(editor, TabSheet);
    // At the top of its page, as the page's own controls and the other editors stand, not in the
    // middle of a page taller than itself.
    editor->SetTop(4);
    return editor;
}

bool EditZuzPicture(TComponent* AOwner, TZuzPicture* Picture) {
    const TFormFreer<TBackImageEditor> editor{Create<TBackImageEditor>(AOwner)};
    // Alone it opens over the window it edits, as every other editor dialog does.
    PositionToCenter(editor.get());
    // The buttons go below the controls, which alone fit the pages the editor is embedded in.
    editor->SetClientHeight(editor->GetClientHeight() + editor->PanelButtons->GetHeight());
    editor->PanelButtons->SetVisible(true);
    editor->RefreshControls(Picture);
    return editor->ShowModal() == mrOk;
}

void ZuzBackImageInitialization() {
    RegisterClass(TBackImageEditor::StaticClass());
}
