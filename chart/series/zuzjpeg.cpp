#include "chart/series/zuzjpeg.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzprocs.h"
#include "platform/core/sysutils.h"
#include "platform/gui/clipbrd.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TZuzJPEGOptions::StaticClass() {
    static const MethodInfo methods[] = {
        MakeMethod<&TZuzJPEGOptions::FormCreate>("FormCreate"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TZuzJPEGOptions>("TZuzJPEGOptions", &TForm::StaticClass(), methods);
    return ci;
}

void TZuzJPEGOptions::BindComponents() {
    Bind(RGPerf, u"RGPerf");
    Bind(CBGray, u"CBGray");
    Bind(Label1, u"Label1");
    Bind(EQuality, u"EQuality");
    Bind(UpDown1, u"UpDown1");
}

void TZuzJPEGOptions::FormCreate(TObject*) {
    SetAlign(alClient);
}

TZuzExportFormat* TJPEGExportFormat::NewInstance() {
    return Create<TJPEGExportFormat>();
}

String TJPEGExportFormat::Description() const {
    return VavIve_AsJPEG;
}

String TJPEGExportFormat::FileFilter() const {
    return VavIve_JPEGFilter;
}

TForm* TJPEGExportFormat::Options(bool Check) {
    if (Check && !FProperties) FProperties = Create<TZuzJPEGOptions>(nullptr);
    return FProperties;
}

int TJPEGExportFormat::GetQuality() {
    Options(true);
    return FProperties->UpDown1->GetPosition();
}

void TJPEGExportFormat::SetQuality(int Value) {
    Options(true);
    FProperties->UpDown1->SetPosition(Value);
}

Owned<TJPEGImage> TJPEGExportFormat::Jpeg() {
    if (!Panel) throw Exception(VavIve_ExportPanelNotSet);
    Options(true);
    TJPEGDefaults params = JPEGDefaults;
    params.Grayscale = FProperties->CBGray->GetChecked();
    params.CompressionQuality = FProperties->UpDown1->GetPosition();
    params.Performance = FProperties->RGPerf->GetItemIndex() == 1 ? jpBestSpeed : jpBestQuality;
    CheckSize();
    return ZuzGetJPEGImageParams(Panel, params, 0, 0, Width, Height);
}

void TJPEGExportFormat::SaveToStream(TStream* Stream) {
    Jpeg()->SaveToStream(Stream);
}

// Every program pastes a bitmap; the decoded picture is what goes on the clipboard.
void TJPEGExportFormat::DoCopyToClipboard() {
    Owned<TJPEGImage> picture = Jpeg();
    Clipboard()->Assign(picture->GetBitmap());
}

Owned<TJPEGImage> ZuzGetJPEGImageParams(TCustomZuzPanel* APanel, const TJPEGDefaults& Params, int Left,
                                        int Top, int Width, int Height) {
    if (!APanel) throw Exception(VavIve_ExportPanelNotSet);
    auto picture = MakeOwned<TJPEGImage>();
    Owned<TBitmap> bitmap =
        APanel->ZuzCreateBitmap(APanel->GetColor(), TRect(Left, Top, Left + Width, Top + Height), pf24bit);
    picture->SetGrayscale(Params.Grayscale);
    picture->SetProgressiveEncoding(Params.ProgressiveEncoding);
    picture->SetCompressionQuality(Params.CompressionQuality);
    picture->SetPixelFormat(Params.PixelFormat);
    picture->SetProgressiveDisplay(Params.ProgressiveDisplay);
    picture->SetPerformance(Params.Performance);
    picture->SetScale(Params.Scale);
    picture->SetSmoothing(Params.Smoothing);
    picture->Assign(bitmap.get());
    return picture;
}

void ZuzSaveToJPEGFile(TCustomZuzPanel* APanel, const String& FileName, bool Gray,
                       TJPEGPerformance Performance, int Quality, int Width, int Height) {
    if (!APanel) throw Exception(VavIve_ExportPanelNotSet);
    const String name = ExtractFileExt(FileName).empty() ? FileName + u".jpg" : FileName;
    TJPEGDefaults params = JPEGDefaults;
    params.Grayscale = Gray;
    params.CompressionQuality = Quality;
    params.Performance = Performance;
    if (Width <= 0) Width = APanel->GetWidth();
    if (Height <= 0) Height = APanel->GetHeight();
    ZuzGetJPEGImageParams(APanel, params, 0, 0, Width, Height)->SaveToFile(name);
}

void ZuzSaveToJPEG(TCustomZuzPanel* APanel, const String& FileName, int Width, int Height) {
    ZuzSaveToJPEGFile(APanel, FileName, false, jpBestQuality, 100, Width, Height);
}

void ZuzJPEGInitialization() {
    RegisterZuzExportFormat(TJPEGExportFormat::NewInstance);
}

void ZuzJPEGFinalization() {
    UnRegisterZuzExportFormat(TJPEGExportFormat::NewInstance);
}
