#pragma once
// The shadow editor: visibility, horizontal and vertical size, transparency, colour with a
// luminance slider, smoothing, blur and clipping of one shadow. Shown alone with an OK button
// or embedded in a page of another editor; every change is written to the shadow at once.

#include "platform/gui/forms.h"

class TButtonColor;
class TCheckBox;
class TEdit;
class TGroupBox;
class TLabel;
class TTrackBar;
class TUpDown;
class TWinControl;
class TZuzShadow;

class TZuzShadowEditor : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TZuzShadowEditor(TComponent* AOwner);

    TLabel* LTransp = nullptr;
    TButtonColor* BShadowColor = nullptr;
    TEdit* EShadowTransp = nullptr;
    TUpDown* UDShadowTransp = nullptr;
    TButton* BOK = nullptr;
    TCheckBox* CBSmooth = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label5 = nullptr;
    TEdit* Edit1 = nullptr;
    TUpDown* UDShadowSize = nullptr;
    TEdit* EVertSize = nullptr;
    TUpDown* UDShaVert = nullptr;
    TCheckBox* CBVisible = nullptr;
    TLabel* Label2 = nullptr;
    TTrackBar* TBBlur = nullptr;
    TTrackBar* TBColor = nullptr;
    TCheckBox* CBClip = nullptr;

    // Shows another shadow (not owned).
    void RefreshControls(TZuzShadow* Shadow);
    TZuzShadow* GetShadow() const { return FShadow; }

    void FormShow(TObject* Sender);
    void CBVisibleClick(TObject* Sender);
    void CBSmoothClick(TObject* Sender);
    void CBClipClick(TObject* Sender);
    void Edit1Change(TObject* Sender);
    void EVertSizeChange(TObject* Sender);
    void EShadowTranspChange(TObject* Sender);
    void TBBlurChange(TObject* Sender);
    void TBColorChange(TObject* Sender);
    void BShadowColorClick(TObject* Sender);

protected:
    void BindComponents() override;

private:
    // The sizes, transparency, blur and luminance are written only after the first show, with
    // a shadow, and not while the controls are being filled from it.
    bool Writing() const { return !FCreating && !FFilling && FShadow; }
    void TakeHLS();
    void EnableSizes();
    void EnableSmooth();

    TZuzShadow* FShadow = nullptr;
    bool FCreating = true;
    bool FFilling = false;
    Word FHue = 0, FLum = 0, FSat = 0;
};

// Edits the shadow in a modal editor with an OK button (changes are applied at once).
bool EditZuzShadow(TComponent* AOwner, TZuzShadow* Shadow);
// Created without owner, its OK button hidden, embedded in the tab sheet; the caller then calls
// RefreshControls.
TZuzShadowEditor* InsertZuzShadowEditor(TWinControl* TabSheet);

void ZuzShadowEditorInitialization();
