#include "chart/editors/zuzemfoptions.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzprocs.h"
#include "platform/gui/clipbrd.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TEMFOptions::StaticClass() {
    static const MethodInfo methods[] = {
        MakeMethod<&TEMFOptions::FormCreate>("FormCreate"),
    };
    static const ClassInfo ci = MakeClassInfo<TEMFOptions>("TEMFOptions", &TForm::StaticClass(), methods);
    return ci;
}

void TEMFOptions::BindComponents() {
    Bind(CBEnhanced, u"CBEnhanced");
}

void TEMFOptions::FormCreate(TObject*) {
    SetAlign(alClient);
}

TZuzExportFormat* TEMFExportFormat::NewInstance() {
    return Create<TEMFExportFormat>();
}

String TEMFExportFormat::Description() const {
    return VavIve_AsEMF;
}

String TEMFExportFormat::FileFilter() const {
    return VavIve_EMFFilter;
}

int TEMFExportFormat::FileFilterIndex() const {
    return TZuzExportFormat::FileFilterIndex() + (GetEnhanced() ? 0 : 1);
}

void TEMFExportFormat::IncFileFilterIndex(int& FilterIndex) {
    TZuzExportFormat::IncFileFilterIndex(FilterIndex);
    ++FilterIndex;
}

bool TEMFExportFormat::WantsFilterIndex(int Index) {
    const int own = TZuzExportFormat::FileFilterIndex();
    if (Index != own && Index != own + 1) return false;
    SetEnhanced(Index == own);
    return true;
}

TForm* TEMFExportFormat::Options(bool Check) {
    if (Check && !FProperties) FProperties = Create<TEMFOptions>(nullptr);
    return FProperties;
}

bool TEMFExportFormat::GetEnhanced() const {
    return !FProperties || FProperties->CBEnhanced->GetChecked();
}

void TEMFExportFormat::SetEnhanced(bool Value) {
    Options(true);
    FProperties->CBEnhanced->SetChecked(Value);
}

Owned<TMetafile> TEMFExportFormat::Metafile() {
    if (!Panel) throw Exception(VavIve_ExportPanelNotSet);
    CheckSize();
    return Panel->ZuzCreateMetafile(GetEnhanced(), TRect(0, 0, Width, Height));
}

void TEMFExportFormat::SaveToStream(TStream* Stream) {
    Metafile()->SaveToStream(Stream);
}

void TEMFExportFormat::DoCopyToClipboard() {
    Clipboard()->Assign(Metafile().get());
}

void ZuzEmfOptionsInitialization() {
    RegisterZuzExportFormat(TEMFExportFormat::NewInstance);
}

void ZuzEmfOptionsFinalization() {
    UnRegisterZuzExportFormat(TEMFExportFormat::NewInstance);
}
