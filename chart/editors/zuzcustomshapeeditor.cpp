#include "chart/editors/zuzcustomshapeeditor.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/canvas/zuzshape.h"
#include "chart/editors/zuzbackimage.h"
#include "chart/editors/zuzbrushdlg.h"
#include "chart/editors/zuzedifont.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzshadoweditor.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TFormZuzShape::StaticClass() {
    using E = TFormZuzShape;
    static const MethodInfo methods[] = {
        MakeMethod<&E::FormShow>("FormShow"),
        MakeMethod<&E::PC1Change>("PC1Change"),
        MakeMethod<&E::CBVisibleChecked>("CBVisibleChecked"),
        MakeMethod<&E::CBRoundClick>("CBRoundClick"),
        MakeMethod<&E::ERoundSizeChange>("ERoundSizeChange"),
        MakeMethod<&E::CBTransparentClick>("CBTransparentClick"),
        MakeMethod<&E::Button6Click>("Button6Click"),
        MakeMethod<&E::CBBevelChange>("CBBevelChange"),
        MakeMethod<&E::EBevWidthChange>("EBevWidthChange"),
        MakeMethod<&E::EShadowTranspChange>("EShadowTranspChange"),
    };
    static const ClassInfo ci = MakeClassInfo<TFormZuzShape>("TFormZuzShape", &TForm::StaticClass(), methods);
    return ci;
}

TFormZuzShape::TFormZuzShape(TComponent* AOwner) : TForm(AOwner) {}

void TFormZuzShape::BindComponents() {
    Bind(PC1, u"PC1");
    Bind(TabFormat, u"TabFormat");
    Bind(BBackColor, u"BBackColor");
    Bind(Button6, u"Button6");
    Bind(CBTransparent, u"CBTransparent");
    Bind(TabGradient, u"TabGradient");
    Bind(TabText, u"TabText");
    Bind(TabShadow, u"TabShadow");
    Bind(Label4, u"Label4");
    Bind(EShadowTransp, u"EShadowTransp");
    Bind(UDShadowTransp, u"UDShadowTransp");
    Bind(TabImage, u"TabImage");
    Bind(TabSheet1, u"TabSheet1");
    Bind(Label2, u"Label2");
    Bind(Label3, u"Label3");
    Bind(CBBevel, u"CBBevel");
    Bind(EBevWidth, u"EBevWidth");
    Bind(UDBevW, u"UDBevW");
    Bind(GroupBox1, u"GroupBox1");
    Bind(CBRound, u"CBRound");
    Bind(Label1, u"Label1");
    Bind(ERoundSize, u"ERoundSize");
    Bind(UDRoundSize, u"UDRoundSize");
    Bind(Button4, u"Button4");
}

TFormZuzShape* TFormZuzShape::CreateForm(TComponent* AOwner, TZuzCustomShape* Shape, TWinControl* AParent) {
    auto* form = Create<TFormZuzShape>(AOwner);
    form->FShape = Shape;
    if (AParent) {
        form->SetBorderStyle(bsNone);
        form->SetParent(AParent);
        ZuzTranslateControl(form);
        form->SetAlign(alClient);
        // In an editor scaled to another resolution it takes that resolution, as a page added by
        // AddFormTo does.
        ZuzScaleForm(form);
        form->Show();
    }
    return form;
}

void TFormZuzShape::FormShow(TObject*) {
    PC1->SetActivePage(TabFormat);
    if (FShape) RefreshControls(FShape);
    ZuzTranslateControl(this);
}

void TFormZuzShape::RefreshControls(TZuzCustomShape* Shape) {
    const TRestoreOnExit<bool> filling(FFilling, true);
    FShape = Shape;
    if (!Shape) return;
    if (TabSheet1) {
        CBRound->SetChecked(Shape->GetShapeStyle() == fosRoundRectangle);
        EnableRound();
        UDRoundSize->SetPosition(Shape->GetRoundSize());
    }
    if (TabFormat) CBTransparent->SetChecked(Shape->GetTransparent());
    if (TabSheet1) {
        CBBevel->SetItemIndex(Shape->GetBevel());
        UDBevW->SetPosition(Shape->GetBevelWidth());
    }
    if (TabFormat) UDShadowTransp->SetPosition(Shape->GetTransparency());
    if (FGradientEditor) FGradientEditor->RefreshGradient(Shape->GetGradient());
    if (FFontEditor) FFontEditor->RefreshControls(Shape->GetFont());
    if (FShadowEditor) FShadowEditor->RefreshControls(Shape->GetShadow());
    if (FPictureEditor) FPictureEditor->RefreshControls(Shape->GetPicture());
    if (TabSheet1) {
        Button4->LinkPen(Shape->GetPen());
        EnableBevel();
    }
    if (TabFormat) BBackColor->LinkProperty(Shape, u"Color");
    FFilled = true;
}

void TFormZuzShape::Notification(TComponent* AComponent, TOperation Operation) {
    TForm::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    const auto forget = [AComponent](auto*& Field) {
        if (Field == AComponent) Field = nullptr;
    };
    forget(FFontEditor);
    forget(FGradientEditor);
    forget(FPictureEditor);
    forget(FShadowEditor);
    forget(TabFormat);
    forget(TabSheet1);
    forget(TabText);
    forget(TabGradient);
    forget(TabShadow);
    forget(TabImage);
}

void TFormZuzShape::EnableBevel() {
    // From the shape: a spacing bevel has no item in the list but has a size.
    const bool on = FShape ? FShape->GetBevel() != bvNone : CBBevel->GetItemIndex() > 0;
    EBevWidth->SetEnabled(on);
    UDBevW->SetEnabled(on);
}

void TFormZuzShape::EnableRound() {
    UDRoundSize->SetEnabled(CBRound->GetChecked());
    ERoundSize->SetEnabled(CBRound->GetChecked());
}

void TFormZuzShape::CBVisibleChecked(TObject* Sender) {
    if (auto* box = dynamic_cast<TCheckBox*>(Sender); box && FShape) FShape->SetVisible(box->GetChecked());
}

void TFormZuzShape::CBRoundClick(TObject*) {
    if (Writing()) FShape->SetShapeStyle(CBRound->GetChecked() ? fosRoundRectangle : fosRectangle);
    EnableRound();
}

void TFormZuzShape::ERoundSizeChange(TObject*) {
    if (Writing()) FShape->SetRoundSize(UDRoundSize->GetPosition());
}

void TFormZuzShape::CBTransparentClick(TObject*) {
    if (Writing()) FShape->SetTransparent(CBTransparent->GetChecked());
}

void TFormZuzShape::Button6Click(TObject*) {
    if (FShape) EditChartBrush(this, FShape->GetBrush());
}

void TFormZuzShape::CBBevelChange(TObject*) {
    if (Writing() && CBBevel->GetItemIndex() >= 0)
        FShape->SetBevel(static_cast<TBevelCut>(CBBevel->GetItemIndex()));
    EnableBevel();
}

void TFormZuzShape::EBevWidthChange(TObject*) {
    if (Writing()) FShape->SetBevelWidth(UDBevW->GetPosition());
}

void TFormZuzShape::EShadowTranspChange(TObject*) {
    if (Writing()) FShape->SetTransparency(UDShadowTransp->GetPosition());
}

// The page now shown, in this form's page control or in the host's that holds the pages, is
// filled only while it is still empty.
void TFormZuzShape::PC1Change(TObject* Sender) {
    const auto* pages = dynamic_cast<TPageControl*>(Sender);
    TTabSheet* page = (pages ? pages : PC1)->GetActivePage();
    if (!page || page->GetControlCount() > 0) return;
    if (page == TabText) {
        FFontEditor = InsertZuzFontEditor(TabText);
        FreeNotification(FFontEditor);
        if (FShape) FFontEditor->RefreshControls(FShape->GetFont());
    } else if (page == TabGradient && FShape) {
        FGradientEditor = InsertGradientEditor(this, TabGradient, FShape->GetGradient());
    } else if (page == TabShadow) {
        FShadowEditor = InsertZuzShadowEditor(TabShadow);
        FreeNotification(FShadowEditor);
        if (FShape) FShadowEditor->RefreshControls(FShape->GetShadow());
    } else if (page == TabImage) {
        FPictureEditor = InsertImageEditor(TabImage);
        FreeNotification(FPictureEditor);
        if (FShape) FPictureEditor->RefreshControls(FShape->GetPicture());
    }
}

TFormZuzShape* InsertZuzObjectForm(TPageControl* PageControl, TZuzCustomShape* Shape) {
    TFormZuzShape* form = TFormZuzShape::CreateForm(nullptr, Shape, nullptr);
    form->SetBorderStyle(bsNone);
    form->SetParent(PageControl);
    form->SetAlign(alClient);
    ZuzScaleForm(form);
    while (form->PC1->GetPageCount() > 0) form->PC1->GetPage(0)->SetPageControl(PageControl);
    PageControl->SetActivePageIndex(0);
    ZuzTranslateControl(form);
    return form;
}

void EditZuzCustomShape(TComponent* AOwner, TZuzCustomShape* Shape, bool HideTextAndShadow) {
    const TFormFreer<TFormZuzShape> form{TFormZuzShape::CreateForm(AOwner, Shape, nullptr)};
    form->SetBorderStyle(bsDialog);
    form->SetHeight(form->GetHeight() + 30);
    auto* panel = Create<TPanel>(form.get());
    panel->SetParent(form.get());
    panel->SetAlign(alBottom);
    panel->SetHeight(34);
    panel->SetBevelOuter(bvNone);
    auto* ok = Create<TButton>(form.get());
    ok->SetParent(panel);
    ok->SetCaption(u"OK");
    ok->SetModalResult(mrOk);
    ok->SetLeft(form->GetWidth() - 98);
    ok->SetTop(4);
    if (HideTextAndShadow) {
        form->TabText->SetTabVisible(false);
        form->TabShadow->SetTabVisible(false);
    }
    form->ShowModal();
}

void ZuzCustomShapeEditorInitialization() {
    RegisterClass(TFormZuzShape::StaticClass());
}
