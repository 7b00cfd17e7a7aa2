#include "chart/editors/zuzbmpoptions.h"

#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzfilters.h"
#include "chart/canvas/zuzprocs.h"
#include "platform/gui/clipbrd.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

TShowFiltersEditor ZuzBMPFiltersEditor;

const ClassInfo& TBMPOptions::StaticClass() {
    static const MethodInfo methods[] = {
        MakeMethod<&TBMPOptions::FormCreate>("FormCreate"),
        MakeMethod<&TBMPOptions::FormShow>("FormShow"),
        MakeMethod<&TBMPOptions::CBMonoClick>("CBMonoClick"),
        MakeMethod<&TBMPOptions::CBColorsChange>("CBColorsChange"),
        MakeMethod<&TBMPOptions::Button1Click>("Button1Click"),
    };
    static const ClassInfo ci = MakeClassInfo<TBMPOptions>("TBMPOptions", &TForm::StaticClass(), methods);
    return ci;
}

void TBMPOptions::BindComponents() {
    Bind(CBMono, u"CBMono");
    Bind(Label1, u"Label1");
    Bind(CBColors, u"CBColors");
    Bind(Button1, u"Button1");
    Bind(GroupBox1, u"GroupBox1");
    Bind(ImageFiltered1, u"ImageFiltered1");
}

void TBMPOptions::FormCreate(TObject*) {
    SetAlign(alClient);
    CBColors->SetItemIndex(0);
}

void TBMPOptions::FormShow(TObject*) {
    CBColors->SetItemIndex(0);
    Preview();
}

void TBMPOptions::Preview() {
    if (!Format || !Format->Panel) return;
    const Owned<TBitmap> bitmap = Format->Bitmap();
    ImageFiltered1->GetPicture()->Assign(bitmap.get());
}

void TBMPOptions::CBMonoClick(TObject*) {
    CBColors->SetEnabled(!CBMono->GetChecked());
    Preview();
}

void TBMPOptions::CBColorsChange(TObject*) {
    Preview();
}

void TBMPOptions::Button1Click(TObject*) {
    if (!Format || !Format->Panel || !ZuzBMPFiltersEditor) return;
    const Owned<TBitmap> picture = Format->Panel->ZuzCreateBitmap();
    if (ZuzBMPFiltersEditor(this, picture.get(), Format->Filters())) Preview();
}

TZuzExportFormat* TBMPExportFormat::NewInstance() {
    return Create<TBMPExportFormat>();
}

TBMPExportFormat::TBMPExportFormat() : FFilters(MakeOwned<TFilterItems>(nullptr)) {}

TBMPExportFormat::~TBMPExportFormat() = default;

String TBMPExportFormat::Description() const {
    return VavIve_AsBMP;
}

String TBMPExportFormat::FileFilter() const {
    return VavIve_BMPFilter;
}

TForm* TBMPExportFormat::Options(bool Check) {
    if (Check && !FProperties) {
        FProperties = Create<TBMPOptions>(nullptr);
        FProperties->Format = this;
    }
    return FProperties;
}

Owned<TBitmap> TBMPExportFormat::InternalGetBitmap() {
    if (!Panel) throw Exception(VavIve_ExportPanelNotSet);
    Options(true);
    CheckSize();
    auto bitmap = MakeOwned<TBitmap>();
    ZuzSetBitmapSize(bitmap.get(), Width, Height);
    const bool mono = FProperties->CBMono->GetChecked();
    bitmap->SetMonochrome(mono);
    if (!mono) {
        // The combo's lines are the pixel formats in order, "Default" the device's.
        const int index = FProperties->CBColors->GetItemIndex();
        TPixelFormat format =
            index >= pfDevice && index <= pf32bit ? static_cast<TPixelFormat>(index) : pfDevice;
        if (Panel->GetCanvas()->GetSupportsFullRotation()) format = pf24bit;
        bitmap->SetPixelFormat(format);
    }
    TCanvas* canvas = bitmap->GetCanvas();
    canvas->GetBrush()->SetColor(Panel->GetColor());
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->FillRect(TRect(0, 0, Width, Height));
    Panel->NonBufferDraw(canvas, TRect(0, 0, Width, Height));
    return bitmap;
}

Owned<TBitmap> TBMPExportFormat::Bitmap() {
    Owned<TBitmap> bitmap = InternalGetBitmap();
    FFilters->ApplyTo(bitmap.get());
    return bitmap;
}

void TBMPExportFormat::SaveToStream(TStream* Stream) {
    Bitmap()->SaveToStream(Stream);
}

void TBMPExportFormat::DoCopyToClipboard() {
    Clipboard()->Assign(Bitmap().get());
}

void ZuzSaveToBitmap(TCustomZuzPanel* APanel, const String& FileName, const TRect& R) {
    Owned<TBMPExportFormat> format(Create<TBMPExportFormat>());
    format->Panel = APanel;
    format->Width = R.Width();
    format->Height = R.Height();
    format->SaveToFile(FileName);
}

void ZuzBmpOptionsInitialization() {
    RegisterZuzExportFormat(TBMPExportFormat::NewInstance);
}

void ZuzBmpOptionsFinalization() {
    UnRegisterZuzExportFormat(TBMPExportFormat::NewInstance);
}
