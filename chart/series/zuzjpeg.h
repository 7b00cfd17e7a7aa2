#pragma once
// The JPEG picture format of the export registry, with its options form: quality,
// gray scale and compression speed.

#include "chart/series/zuzexportformat.h"
#include "platform/gui/forms.h"
#include "platform/gui/jpeg.h"

class TCheckBox;
class TEdit;
class TLabel;
class TRadioGroup;
class TUpDown;

class TZuzJPEGOptions : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TZuzJPEGOptions(TComponent* AOwner) : TForm(AOwner) {}

    TRadioGroup* RGPerf = nullptr;
    TCheckBox* CBGray = nullptr;
    TLabel* Label1 = nullptr;
    TEdit* EQuality = nullptr;
    TUpDown* UpDown1 = nullptr;

    // Fills the export dialog's options area.
    void FormCreate(TObject* Sender);

protected:
    void BindComponents() override;
};

class TJPEGExportFormat : public TZuzExportFormat {
public:
    static TZuzExportFormat* NewInstance();

    void DoCopyToClipboard() override;
    String Description() const override;
    String FileExtension() const override { return u"jpg"; }
    String FileFilter() const override;
    const ClassInfo* GraphicClass() const override { return &TJPEGImage::StaticClass(); }
    void SaveToStream(TStream* Stream) override;
    TForm* Options(bool Check = true) override;

    // The compression quality the options form shows (1..100).
    int GetQuality();
    void SetQuality(int Value);
    // The panel as a JPEG picture with the options form's settings.
    Owned<TJPEGImage> Jpeg();

private:
    TZuzJPEGOptions* FProperties = nullptr; // freed with the format
};

// The panel drawn into (Left, Top, Left + Width, Top + Height) on its own colour, 24 bits a
// pixel, compressed with Params.
Owned<TJPEGImage> ZuzGetJPEGImageParams(TCustomZuzPanel* APanel, const TJPEGDefaults& Params, int Left,
                                        int Top, int Width, int Height);
// Writes the panel as a JPEG file without any form; ".jpg" is added to a name without an
// extension, and a width or height of 0 or less is the panel's.
void ZuzSaveToJPEGFile(TCustomZuzPanel* APanel, const String& FileName, bool Gray,
                       TJPEGPerformance Performance, int Quality, int Width, int Height);
// Colour, best quality, quality 100.
void ZuzSaveToJPEG(TCustomZuzPanel* APanel, const String& FileName, int Width, int Height);

void ZuzJPEGInitialization();
void ZuzJPEGFinalization();
