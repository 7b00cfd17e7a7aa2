#pragma once
// The chart font editor: face, size, style, colour, spacing between characters, outline pen and
// outline gradient, and on pages filled when first opened the font's shadow, gradient fill and
// picture fill. Embedded in a tab sheet of another editor, or shown alone with OK and Cancel,
// where Cancel puts the whole font back.

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
class TPanel;
class TStrings;
class TTabSheet;
class TUpDown;
class TWinControl;
class TZuzFont;
class TZuzGradientEditor;
class TZuzShadowEditor;

class TZuzFontEditor : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TZuzFontEditor(TComponent* AOwner);
    ~TZuzFontEditor() override;

    TPanel* PanelButtons = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TTabSheet* TabSheet2 = nullptr;
    TButton* Button3 = nullptr;
    TLabel* Label1 = nullptr;
    TEdit* ESize = nullptr;
    TUpDown* UDSize = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TCheckBox* CBItalic = nullptr;
    TCheckBox* CBBold = nullptr;
    TCheckBox* CBStrike = nullptr;
    TCheckBox* CBUnder = nullptr;
    TButtonColor* BColor = nullptr;
    TLabel* Label2 = nullptr;
    TEdit* EInter = nullptr;
    TUpDown* UDInter = nullptr;
    TButtonPen* BOutline = nullptr;
    TCheckBox* CBOutGrad = nullptr;
    TTabSheet* TabShadow = nullptr;
    TTabSheet* TabGradient = nullptr;
    TTabSheet* TabPicture = nullptr;
    TLabel* Label3 = nullptr;
    TComboFlat* CBName = nullptr;

    // Shows another font (not owned).
    void RefreshControls(TZuzFont* Font);
    TZuzFont* GetEditedFont() const { return FFont; }
    // The pages' editors once their page was opened, else nullptr.
    TZuzShadowEditor* GetShadowEditor() const { return FShadowEditor; }
    TZuzGradientEditor* GetGradientEditor() const { return FGradientEditor; }
    TBackImageEditor* GetPictureEditor() const { return FPictureEditor; }
    // The copy Cancel restores, kept only by the modal editor.
    TZuzFont* GetBackup() const { return FBackup.get(); }

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void ESizeChange(TObject* Sender);
    void CBItalicClick(TObject* Sender);
    void CBBoldClick(TObject* Sender);
    void CBStrikeClick(TObject* Sender);
    void CBUnderClick(TObject* Sender);
    void CBNameChange(TObject* Sender);
    void Button3Click(TObject* Sender);
    void EInterChange(TObject* Sender);
    void CBOutGradClick(TObject* Sender);
    void Button2Click(TObject* Sender);
    void PageControl1Change(TObject* Sender);

protected:
    void BindComponents() override;

private:
    void RefreshBasic();
    void StyleClick(TCheckBox* Box, TFontStyle Style);
    bool Writing() const { return FFont && !FFilling; }

    Owned<TZuzFont> FBackup;
    TZuzFont* FFont = nullptr;
    TZuzGradientEditor* FGradientEditor = nullptr;
    TBackImageEditor* FPictureEditor = nullptr;
    TZuzShadowEditor* FShadowEditor = nullptr;
    bool FFilling = false;
};

// Called, when set, with the face list after the screen's fonts were put in it.
using TZuzAddFontNames = void (*)(TStrings* Names);
extern TZuzAddFontNames ZuzAddFontNames;

// Created without owner, filling the tab sheet; the caller then calls RefreshControls.
TZuzFontEditor* InsertZuzFontEditor(TWinControl* TabSheet);
// Edits the font in a modal editor with OK and Cancel; true on OK, else the font is as it was.
bool EditZuzFontEx(TComponent* AOwner, TZuzFont* Font);

void ZuzEdiFontInitialization();
