#include "chart/editors/zuzbrushdlg.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzpendlg.h"
#include "platform/core/sysutils.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/splitter.h"
#include "platform/gui/stdctrls.h"

// ---------------------------------------------------------------------------
// Helpers

void GetZuzBrush(int Index, TBitmap* Bitmap) {
    ZuzLoadBitmap(Bitmap, u"ZuzBrush" + IntToStr(Index + 1), u"");
    Bitmap->SetTransparentMode(tmFixed);
    Bitmap->SetTransparentColor(clWhite);
}

bool EditZuzFont(TComponent* AOwner, TFont* Font) {
    Owned<TFontDialog> dialog(Create<TFontDialog>(AOwner));
    dialog->GetFont()->Assign(Font);
    if (!dialog->Execute()) return false;
    Font->Assign(dialog->GetFont());
    return true;
}

String ZuzGetPictureFileName(TComponent* AOwner) {
    Owned<TOpenPictureDialog> dialog(Create<TOpenPictureDialog>(AOwner));
    return dialog->Execute() ? dialog->GetFileName() : String();
}

void ZuzLoadClearImage(TComponent* AOwner, TPicture* Picture) {
    if (Picture->GetGraphic()) {
        Picture->Assign(nullptr);
        return;
    }
    const String name = ZuzGetPictureFileName(AOwner);
    if (!name.empty()) Picture->LoadFromFile(name);
}

bool EditChartBrush(TComponent* AOwner, TChartBrush* Brush) {
    TFormFreer<TBrushDialog> dialog(ZuzCreateForm<TBrushDialog>(AOwner));
    dialog->TheBrush = Brush;
    ZuzTranslateControl(dialog.get());
    return dialog->ShowModal() == mrOk;
}

// ---------------------------------------------------------------------------
// TBrushDialog

const ClassInfo& TBrushDialog::StaticClass() {
    using F = TBrushDialog;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::LStyleClick>("LStyleClick"),
        MakeMethod<&F::LStyleDrawItem>("LStyleDrawItem"),
        MakeMethod<&F::Button1Click>("Button1Click"),
        MakeMethod<&F::CBTranspClick>("CBTranspClick"),
        MakeMethod<&F::BBackColorClick>("BBackColorClick"),
        MakeMethod<&F::Button3Click>("Button3Click"),
    };
    static const ClassInfo ci = MakeClassInfo<TBrushDialog>("TBrushDialog", &TForm::StaticClass(), methods);
    return ci;
}

TBrushDialog::TBrushDialog(TComponent* AOwner) : TForm(AOwner) {}
TBrushDialog::~TBrushDialog() = default;

void TBrushDialog::BindComponents() {
    Bind(LStyle, u"LStyle");
    Bind(PanelOk, u"PanelOk");
    Bind(Button2, u"Button2");
    Bind(Button3, u"Button3");
    Bind(Panel1, u"Panel1");
    Bind(ImageMetal, u"ImageMetal");
    Bind(ImageWood, u"ImageWood");
    Bind(ImageStone, u"ImageStone");
    Bind(ImageClouds, u"ImageClouds");
    Bind(ImageGrass, u"ImageGrass");
    Bind(ImageFire, u"ImageFire");
    Bind(ImageSnow, u"ImageSnow");
    Bind(BColor, u"BColor");
    Bind(GroupBox2, u"GroupBox2");
    Bind(Image1, u"Image1");
    Bind(Button1, u"Button1");
    Bind(BBackColor, u"BBackColor");
    Bind(CBTransp, u"CBTransp");
    Bind(Splitter1, u"Splitter1");
}

Owned<TBitmap> TBrushDialog::GetInternalBrush(int Index) const {
    auto bitmap = MakeOwned<TBitmap>();
    constexpr int firstTexture = FirstTexture - FirstPattern;
    if (Index >= firstTexture && Index < StyleCount - FirstPattern) {
        const TImage* const textures[] = {ImageMetal, ImageWood, ImageStone, ImageClouds,
                                          ImageGrass, ImageFire, ImageSnow};
        if (TGraphic* g = textures[Index - firstTexture]->GetPicture()->GetGraphic()) bitmap->Assign(g);
    } else {
        GetZuzBrush(Index, bitmap.get());
    }
    return bitmap;
}

bool TBrushDialog::HasPicture() const {
    return TheBrush && TheBrush->HasImage() && TheBrush->GetImage()->GetGraphic();
}

void TBrushDialog::RefreshImageButton() {
    TGraphic* shown = nullptr;
    if (HasPicture())
        shown = TheBrush->GetImage()->GetGraphic();
    else if (TheBrush)
        shown = TheBrush->GetBitmap();
    Button1->SetTag(shown ? 1 : 0);
    Button1->SetCaption(shown ? VavIve_ClearImage : VavIve_BrowseImage);
    Image1->GetPicture()->Assign(shown);
}

void TBrushDialog::CheckEnabling() {
    const TRestoreOnExit<bool> filling(FFilling, true);
    BColor->SetEnabled(TheBrush->GetStyle() != bsClear);
    BBackColor->SetEnabled(BColor->GetEnabled());
    CBTransp->SetChecked(TheBrush->GetBackColor() == clNone);
    CBTransp->SetEnabled(!CBTransp->GetChecked());
}

void TBrushDialog::FormShow(TObject*) {
    if (!FBackup) FBackup = MakeOwned<TChartBrush>();
    if (!TheBrush) return;
    FBackup->Assign(TheBrush);
    const TRestoreOnExit<bool> filling(FFilling, true);
    LStyle->SetItemIndex(HasPicture() ? -1 : TheBrush->GetStyle());
    BColor->LinkProperty(TheBrush, u"Color");
    BBackColor->LinkProperty(TheBrush, u"BackColor");
    RefreshImageButton();
    CheckEnabling();
}

void TBrushDialog::LStyleClick(TObject*) {
    const int index = LStyle->GetItemIndex();
    if (!TheBrush || FFilling || index < 0) return;
    if (index < FirstPattern) {
        TheBrush->SetStyle(static_cast<TBrushStyle>(index));
        TheBrush->SetImage(nullptr);
    } else {
        const Owned<TBitmap> pattern = GetInternalBrush(index - FirstPattern);
        TheBrush->GetImage()->Assign(pattern.get());
    }
    RefreshImageButton();
    CheckEnabling();
}

void TBrushDialog::Button1Click(TObject*) {
    if (!TheBrush) return;
    LStyle->SetItemIndex(TheBrush->GetStyle());
    if (Button1->GetTag() == 1) {
        TheBrush->SetImage(nullptr);
        TheBrush->SetBitmap(nullptr);
    } else {
        const String name = ZuzGetPictureFileName(this);
        if (!name.empty()) {
            TPicture* image = TheBrush->GetImage();
            image->LoadFromFile(name);
            if (TGraphic* g = image->GetGraphic(); g && !dynamic_cast<TBitmap*>(g)) {
                // The brush paints with bitmaps: another picture is drawn onto one of its size.
                auto bitmap = MakeOwned<TBitmap>();
                bitmap->SetSize(g->GetWidth(), g->GetHeight());
                bitmap->GetCanvas()->Draw(0, 0, g);
                image->Assign(bitmap.get());
            }
        }
    }
    RefreshImageButton();
}

void TBrushDialog::CBTranspClick(TObject*) {
    if (!TheBrush || FFilling || !CBTransp->GetChecked()) return;
    TheBrush->SetBackColor(clNone);
    BBackColor->Repaint();
    CBTransp->SetEnabled(false);
}

void TBrushDialog::BBackColorClick(TObject*) {
    CBTransp->SetChecked(false);
    CBTransp->SetEnabled(true);
}

void TBrushDialog::Button3Click(TObject*) {
    if (TheBrush && FBackup) TheBrush->Assign(FBackup.get());
    SetModalResult(mrCancel);
}

void TBrushDialog::LStyleDrawItem(TWinControl*, int Index, TRect Rect, TOwnerDrawState State) {
    TCanvas* canvas = LStyle->GetCanvas();
    canvas->FillRect(Rect);
    if (Index != bsClear) {
        const TRect sample(Rect.Left + 2, Rect.Top + 2, Rect.Left + 16, Rect.Bottom - 2);
        const TColor oldBrush = canvas->GetBrush()->GetColor();
        const TColor oldFont = canvas->GetFont()->GetColor();
        HDC dc = canvas->GetHandle();
        const COLORREF oldBack = SetBkColor(dc, ColorToRGB(clWhite));
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        canvas->GetFont()->SetColor(clBlack);
        canvas->GetBrush()->SetStyle(bsSolid);
        canvas->GetBrush()->SetColor(clWhite);
        canvas->FillRect(sample);
        if (Index < FirstPattern) {
            canvas->GetBrush()->SetColor(clBlack);
            canvas->GetBrush()->SetStyle(static_cast<TBrushStyle>(Index));
            canvas->FillRect(sample);
        } else {
            const Owned<TBitmap> pattern = GetInternalBrush(Index - FirstPattern);
            canvas->StretchDraw(sample, pattern.get());
        }
        SetBkMode(dc, oldMode);
        SetBkColor(dc, oldBack);
        canvas->GetBrush()->SetStyle(bsSolid);
        canvas->GetBrush()->SetColor(oldBrush);
        canvas->GetFont()->SetColor(oldFont);
    }
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->TextOut(Rect.Left + 20, Rect.Top, LStyle->GetItems()->GetStrings(Index));
}

void RegisterZuzBrushDlgClasses() {
    RegisterClasses({&TBrushDialog::StaticClass()});
}
