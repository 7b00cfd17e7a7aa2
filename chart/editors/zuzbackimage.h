#pragma once
// The background picture editor: loads or clears a picture, sets its transparency, opens the
// filters editor on it and, for the back image of a panel or wall, chooses how it is laid out.
// Changes are applied at once; Cancel restores nothing.

#include "platform/gui/forms.h"

class TBevel;
class TButton;
class TCheckBox;
class TEdit;
class TGroupBox;
class TImage;
class TLabel;
class TPanel;
class TRadioGroup;
class TUpDown;
class TWinControl;
class TZuzPicture;

class TBackImageEditor : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TBackImageEditor(TComponent* AOwner);

    TRadioGroup* RGBitmap = nullptr;
    TButton* BBrowse = nullptr;
    TCheckBox* CBTransp = nullptr;
    TButton* Button1 = nullptr;
    TBevel* Bevel1 = nullptr;
    TImage* Image1 = nullptr;
    TGroupBox* GBPosition = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TEdit* ELeft = nullptr;
    TUpDown* UDLeft = nullptr;
    TEdit* ETop = nullptr;
    TUpDown* UDTop = nullptr;
    TLabel* LabelSize = nullptr;
    TLabel* LabelExt = nullptr;
    TPanel* PanelButtons = nullptr;
    TButton* Button2 = nullptr;
    TButton* Button3 = nullptr;

    // Shows another picture (not owned).
    void RefreshControls(TZuzPicture* Picture);
    TZuzPicture* GetPicture() const { return FPicture; }
    // False hides the layout controls (style and position) even for a back image.
    bool ShowLayout = true;

    void FormShow(TObject* Sender);
    void BBrowseClick(TObject* Sender);
    void RGBitmapClick(TObject* Sender);
    void ELeftChange(TObject* Sender);
    void ETopChange(TObject* Sender);
    void CBTranspClick(TObject* Sender);
    void Button1Click(TObject* Sender);

protected:
    void BindComponents() override;

private:
    void EnableControls();
    TZuzPicture* FPicture = nullptr;
    bool FFilling = false;
};

// The file extension that belongs to a graphic's class ("bmp", "jpg", "emf"), empty for others.
String ZuzGraphicExtension(const TObject* Graphic);

// Created without owner and embedded in the tab sheet; the caller then calls RefreshControls.
TBackImageEditor* InsertImageEditor(TWinControl* TabSheet);
// Edits the picture in a modal editor with OK and Cancel; true on OK.
bool EditZuzPicture(TComponent* AOwner, TZuzPicture* Picture);

void ZuzBackImageInitialization();
