#pragma once
// The editor of a framed text box (legend, titles, marks): colour, pattern, transparency, bevel,
// round frame and frame pen, and on pages filled when first opened its text font, gradient,
// shadow and picture. Its pages are moved into a host's page control, or it is shown alone with
// an OK button; every change is written to the shape at once.

#include "platform/gui/forms.h"

class TBackImageEditor;
class TButtonColor;
class TButtonPen;
class TCheckBox;
class TComboFlat;
class TEdit;
class TGroupBox;
class TLabel;
class TPageControl;
class TTabSheet;
class TUpDown;
class TWinControl;
class TZuzCustomShape;
class TZuzFontEditor;
class TZuzGradientEditor;
class TZuzShadowEditor;

class TFormZuzShape : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TFormZuzShape(TComponent* AOwner);

    // The form for the shape; with a Parent it is embedded there borderless, filling it, and
    // shown.
    static TFormZuzShape* CreateForm(TComponent* AOwner, TZuzCustomShape* Shape, TWinControl* AParent);

    TPageControl* PC1 = nullptr;
    TTabSheet* TabFormat = nullptr;
    TButtonColor* BBackColor = nullptr;
    TButton* Button6 = nullptr;
    TCheckBox* CBTransparent = nullptr;
    TTabSheet* TabGradient = nullptr;
    TTabSheet* TabText = nullptr;
    TTabSheet* TabShadow = nullptr;
    TLabel* Label4 = nullptr;
    TEdit* EShadowTransp = nullptr;
    TUpDown* UDShadowTransp = nullptr;
    TTabSheet* TabImage = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TComboFlat* CBBevel = nullptr;
    TEdit* EBevWidth = nullptr;
    TUpDown* UDBevW = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TCheckBox* CBRound = nullptr;
    TLabel* Label1 = nullptr;
    TEdit* ERoundSize = nullptr;
    TUpDown* UDRoundSize = nullptr;
    TButtonPen* Button4 = nullptr;

    // Shows another shape (not owned).
    void RefreshControls(TZuzCustomShape* Shape);
    TZuzCustomShape* GetShape() const { return FShape; }
    // The pages' editors once their page was opened, else nullptr.
    TZuzFontEditor* GetFontEditor() const { return FFontEditor; }
    TZuzGradientEditor* GetGradientEditor() const { return FGradientEditor; }
    TZuzShadowEditor* GetShadowEditor() const { return FShadowEditor; }
    TBackImageEditor* GetPictureEditor() const { return FPictureEditor; }

    // For a host's own "Visible" box: the shape's Visible follows the box that sent it.
    void CBVisibleChecked(TObject* Sender);
    // Also for a host page control holding the pages: fills the page it now shows.
    void PC1Change(TObject* Sender);

    void FormShow(TObject* Sender);
    void CBRoundClick(TObject* Sender);
    void ERoundSizeChange(TObject* Sender);
    void CBTransparentClick(TObject* Sender);
    void Button6Click(TObject* Sender);
    void CBBevelChange(TObject* Sender);
    void EBevWidthChange(TObject* Sender);
    void EShadowTranspChange(TObject* Sender);

protected:
    void BindComponents() override;
    // A host holding the moved pages may free them, and with them the controls and page editors
    // on them: the form forgets each, so a later RefreshControls or page change skips them.
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void EnableBevel();
    void EnableRound();
    // Nothing is written before the controls were first filled from a shape, nor while they are.
    bool Writing() const { return FShape && FFilled && !FFilling; }

    TZuzFontEditor* FFontEditor = nullptr;
    TZuzGradientEditor* FGradientEditor = nullptr;
    TBackImageEditor* FPictureEditor = nullptr;
    TZuzShadowEditor* FShadowEditor = nullptr;
    TZuzCustomShape* FShape = nullptr;
    bool FFilling = false;
    bool FFilled = false;
};

// Moves the shape form's pages, in order, into the host page control (the form keeps none) and
// shows the first; the form lives on invisibly as the pages' handler.
TFormZuzShape* InsertZuzObjectForm(TPageControl* PageControl, TZuzCustomShape* Shape);
// Edits the shape in a modal form with an OK button (changes are applied at once); the text
// and shadow pages hidden with HideTextAndShadow.
void EditZuzCustomShape(TComponent* AOwner, TZuzCustomShape* Shape, bool HideTextAndShadow = false);

void ZuzCustomShapeEditorInitialization();
