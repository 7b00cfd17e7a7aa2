#include "chart/series/zuzexportformat.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzhtml.h"
#include "chart/canvas/zuzprocs.h"
#include "platform/core/streams.h"
#include "platform/core/sysutils.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/forms.h"
#include "platform/win32/registry.h"

#include <algorithm>

TZuzExportFormats* ZuzExportFormats = nullptr;

void TZuzExportFormat::BeforeDestruction() {
    if (TForm* form = Options(false)) form->Free();
    TObject::BeforeDestruction();
}

void TZuzExportFormat::IncFileFilterIndex(int& FilterIndex) {
    ++FilterIndex;
    FFileFilterIndex = FilterIndex;
}

TForm* TZuzExportFormat::Options(bool) {
    return nullptr;
}

void TZuzExportFormat::CheckPanel() const {
    if (!Panel) throw Exception(VavIve_ExportPanelNotSet);
}

void TZuzExportFormat::CheckSize() {
    if (Width == 0) Width = Panel->GetWidth();
    if (Height == 0) Height = Panel->GetHeight();
}

void TZuzExportFormat::SaveToFile(const String& FileName) {
    CheckPanel();
    Options(true);
    CheckSize();
    TMemoryStream bytes;
    SaveToStream(&bytes);
    bytes.SaveToFile(FileName);
}

void TZuzExportFormat::SaveToFile(TZuzExportFormatClass Class, TCustomZuzPanel* APanel,
                                  const String& FileName) {
    Owned<TZuzExportFormat> format(Class());
    format->Panel = APanel;
    format->SaveToFile(FileName);
}

void TZuzExportFormat::CopyToClipboard() {
    CheckPanel();
    Options(true);
    CheckSize();
    DoCopyToClipboard();
}

TZuzExportFormatClass TZuzExportFormats::Get(int Index) const {
    if (Index < 0 || Index >= Count()) throw EListError(u"List index out of bounds (%d)", {Index});
    return FItems[static_cast<std::size_t>(Index)];
}

void TZuzExportFormats::Remove(TZuzExportFormatClass Class) {
    const auto it = std::find(FItems.begin(), FItems.end(), Class);
    if (it != FItems.end()) FItems.erase(it);
}

void RegisterZuzExportFormat(TZuzExportFormatClass Class) {
    if (!ZuzExportFormats) ZuzExportFormats = new TZuzExportFormats();
    ZuzExportFormats->Add(Class);
}

void UnRegisterZuzExportFormat(TZuzExportFormatClass Class) {
    if (ZuzExportFormats) ZuzExportFormats->Remove(Class);
}

void ZuzSavePanel(TZuzExportFormatClass Class, TCustomZuzPanel* APanel) {
    ZuzExportSavePanel(Class, APanel);
}

void ZuzExportSavePanel(TZuzExportFormatClass Class, TCustomZuzPanel* APanel) {
    Owned<TZuzExportFormat> format(Class());
    format->Panel = APanel;
    auto dialog = MakeOwned<TSaveDialog>(nullptr);
    dialog->SetFilter(format->FileFilter());
    dialog->SetDefaultExt(format->FileExtension());
    // The format's own entries make the whole filter: its first one is entry 1.
    int index = 0;
    format->IncFileFilterIndex(index);
    dialog->SetFilterIndex(format->FileFilterIndex());
    TOpenOptions options = dialog->GetOptions();
    options.Include(ofOverwritePrompt);
    dialog->SetOptions(options);
    if (!dialog->Execute()) return;
    // The file type picked names the extension; a format of several kinds writes the one it names.
    format->WantsFilterIndex(dialog->GetFilterIndex());
    format->SaveToFile(dialog->GetFileName());
}

void SaveZuzToStream(TCustomZuzPanel* APanel, TStream* Stream) {
    Stream->WriteComponent(APanel);
}

void SaveZuzToFile(TCustomZuzPanel* APanel, const String& FileName) {
    if (!APanel) throw Exception(VavIve_ExportPanelNotSet);
    TMemoryStream bytes;
    const bool wasVisible = APanel->GetVisible();
    APanel->SetVisible(true);
    try {
        SaveZuzToStream(APanel, &bytes);
    } catch (...) {
        APanel->SetVisible(wasVisible);
        throw;
    }
    APanel->SetVisible(wasVisible);
    bytes.SaveToFile(FileName);
}

void LoadZuzFromStream(TCustomZuzPanel*& APanel, TStream* Stream) {
    TComponent* read = Stream->ReadComponent(APanel);
    auto* panel = dynamic_cast<TCustomZuzPanel*>(read);
    if (!panel) {
        // A file of some other component is never taken for a panel; what it made goes.
        if (read && read != APanel) read->Free();
        throw EInvalidCast(u"Invalid class typecast");
    }
    APanel = panel;
}

void LoadZuzFromFile(TCustomZuzPanel*& APanel, const String& FileName) {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadZuzFromStream(APanel, &stream);
}

TGraphic* WithFileExtension(const String& Extension) {
    if (!ZuzExportFormats) return nullptr;
    const String wanted = UpperCase(Extension);
    for (int i = 0; i < ZuzExportFormats->Count(); ++i) {
        Owned<TZuzExportFormat> format(ZuzExportFormats->Get(i)());
        if (u"." + UpperCase(format->FileExtension()) != wanted) continue;
        const ClassInfo* cls = format->GraphicClass();
        return cls ? NewGraphicOfClass(*cls) : nullptr;
    }
    return nullptr;
}

String GetRegistryHelpPath(const String& HelpFileName) {
    auto registry = MakeOwned<TRegistry>(KEY_READ);
    registry->SetRootKey(HKEY_LOCAL_MACHINE);
    if (!registry->OpenKeyReadOnly(u"SOFTWARE\\Microsoft\\Windows\\Help")) return {};
    // The folder key lists other programs' files too: without a folder text for this file there
    // is no help file, not one at the root.
    const TRegDataType type = registry->GetDataType(HelpFileName);
    if (type != rdString && type != rdExpandString) return {};
    const String folder = registry->ReadString(HelpFileName);
    return folder.empty() ? String{} : folder + u"\\" + HelpFileName;
}

void ZuzExportFormatsInitialization() {
    GraphicFileExtension = WithFileExtension;
}

void ZuzExportFormatsFinalization() {
    if (GraphicFileExtension == WithFileExtension) GraphicFileExtension = nullptr;
    delete ZuzExportFormats;
    ZuzExportFormats = nullptr;
}
