#pragma once
// The bitmap picture format of the export registry: colour depth, monochrome and image
// filters, with its options form and a preview of the filtered picture.

#include "chart/series/zuzexportformat.h"
#include "platform/gui/forms.h"
#include "platform/gui/graphics.h"

#include <functional>

class TBMPExportFormat;
class TButton;
class TCheckBox;
class TComboFlat;
class TFilterItems;
class TGroupBox;
class TImage;
class TLabel;

class TBMPOptions : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TBMPOptions(TComponent* AOwner) : TForm(AOwner) {}

    TCheckBox* CBMono = nullptr;
    TLabel* Label1 = nullptr;
    TComboFlat* CBColors = nullptr;
    TButton* Button1 = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TImage* ImageFiltered1 = nullptr;

    TBMPExportFormat* Format = nullptr; // not owned: the format owns this form

    // The image shows the format's picture with its filters applied.
    void Preview();

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void CBMonoClick(TObject* Sender);
    void CBColorsChange(TObject* Sender);
    void Button1Click(TObject* Sender);

protected:
    void BindComponents() override;
};

class TBMPExportFormat : public TZuzExportFormat {
public:
    static TZuzExportFormat* NewInstance();
    TBMPExportFormat();
    ~TBMPExportFormat() override;

    void DoCopyToClipboard() override;
    String Description() const override;
    String FileExtension() const override { return u"bmp"; }
    String FileFilter() const override;
    const ClassInfo* GraphicClass() const override { return &TBitmap::StaticClass(); }
    void SaveToStream(TStream* Stream) override;
    TForm* Options(bool Check = true) override;

    // The panel at the chosen size and depth with the filters applied (the caller owns it).
    Owned<TBitmap> Bitmap();
    // The panel at the chosen size and depth on its own colour, without the filters.
    Owned<TBitmap> InternalGetBitmap();
    TFilterItems* Filters() const { return FFilters.get(); }

private:
    Owned<TFilterItems> FFilters;
    TBMPOptions* FProperties = nullptr; // freed with the format
};

// The panel's rectangle R written as a bitmap file at the rectangle's size.
void ZuzSaveToBitmap(TCustomZuzPanel* APanel, const String& FileName, const TRect& R);

// The filters editor the "Filters..." button opens on a picture of the chart and the format's
// filters: true when its OK changed them. Empty while no filters editor is linked in, and
// then the button does nothing.
using TShowFiltersEditor = std::function<bool(TComponent* Owner, TGraphic* Graphic, TFilterItems* Filters)>;
extern TShowFiltersEditor ZuzBMPFiltersEditor;

void ZuzBmpOptionsInitialization();
void ZuzBmpOptionsFinalization();
