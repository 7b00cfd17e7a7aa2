#pragma once
// The brush dialog (hatch style, pattern or picture, colours and a transparent back of a chart
// brush) and the font and picture-file helpers the editors share.

#include "chart/canvas/zuzcontrols.h"
#include "platform/gui/forms.h"

class TBitmap;
class TCheckBox;
class TGroupBox;
class TImage;
class TListBox;
class TPanel;
class TPicture;
class TSplitter;

class TBrushDialog : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TBrushDialog(TComponent* AOwner);
    ~TBrushDialog() override;

    // Items 0-7 are the hatch styles, 8-19 the pattern bitmaps, 20-26 the textures.
    static constexpr int FirstPattern = 8;
    static constexpr int FirstTexture = 20;
    static constexpr int StyleCount = 27;

    TListBox* LStyle = nullptr;
    TPanel* PanelOk = nullptr;
    TButton* Button2 = nullptr;
    TButton* Button3 = nullptr;
    TPanel* Panel1 = nullptr;
    TImage* ImageMetal = nullptr;
    TImage* ImageWood = nullptr;
    TImage* ImageStone = nullptr;
    TImage* ImageClouds = nullptr;
    TImage* ImageGrass = nullptr;
    TImage* ImageFire = nullptr;
    TImage* ImageSnow = nullptr;
    TButtonColor* BColor = nullptr;
    TGroupBox* GroupBox2 = nullptr;
    TImage* Image1 = nullptr;
    TButton* Button1 = nullptr;
    TButtonColor* BBackColor = nullptr;
    TCheckBox* CBTransp = nullptr;
    TSplitter* Splitter1 = nullptr;

    // The brush edited (not owned); set before the form is shown.
    TChartBrush* TheBrush = nullptr;

    // A new bitmap of pattern Index (0 .. 18: the twelve patterns, then the seven textures).
    Owned<TBitmap> GetInternalBrush(int Index) const;

    void FormShow(TObject* Sender);
    void LStyleClick(TObject* Sender);
    void LStyleDrawItem(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State);
    void Button1Click(TObject* Sender);
    void CBTranspClick(TObject* Sender);
    void BBackColorClick(TObject* Sender);
    void Button3Click(TObject* Sender);

protected:
    void BindComponents() override;

private:
    // The image button reads "Clea&r" (Tag 1) while the brush has a picture or pattern, else
    // "B&rowse..." (Tag 0); the preview shows what the brush has.
    void RefreshImageButton();
    void CheckEnabling();
    bool HasPicture() const;

    Owned<TChartBrush> FBackup;
    bool FFilling = false;
};

// Edits the brush in a modal brush dialog; true on OK.
bool EditChartBrush(TComponent* AOwner, TChartBrush* Brush);
// The pattern bitmap "ZuzBrush<Index + 1>", white shown through.
void GetZuzBrush(int Index, TBitmap* Bitmap);
// A font dialog starting from the font; the choice is copied back when confirmed.
bool EditZuzFont(TComponent* AOwner, TFont* Font);
// The picture file the user chooses, or empty.
String ZuzGetPictureFileName(TComponent* AOwner);
// Clears a picture that holds one; otherwise asks for a file and loads it.
void ZuzLoadClearImage(TComponent* AOwner, TPicture* Picture);

void RegisterZuzBrushDlgClasses();
