#include "chart/editors/zuzexport.h"
#include "chart/canvas/hourglass.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/canvas/zuzprocs.h"
#include "chart/canvas/zuztext.h"
#include "chart/canvas/zuztextxml.h"
#include "chart/editors/zuzformatting.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzstringseditor.h"
#include "chart/engine/axispanel.h"
#include "chart/engine/chart.h"
#include "chart/series/zuzexportformat.h"
#include "chart/series/zuzstore.h"
#include "platform/core/objecttext.h"
#include "platform/core/streams.h"
#include "platform/core/sysutils.h"
#include "platform/gui/clipbrd.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"
#include "platform/win32/mapi.h"

#include <cmath>

namespace {

// The mail attachment's base name and the message's subject.
const String kEmailName = u"VedIrure";

enum TDataFormat { dfText, dfXML, dfHTML, dfExcel };
enum TNativeFormat { nfBinary, nfText, nfXML };

// The eight data filters, in the order of their filter indexes 1..8.
String DataFilter() {
    return VavIve_TextFilter1 + u"|" + VavIve_TextFilter2 + u"|" + VavIve_TextFilter3 + u"|" +
           VavIve_TextFilter4 + u"|" + VavIve_TextFilter5 + u"|" + VavIve_XMLFilter + u"|" +
           VavIve_HTMLFilter + u"|" + VavIve_ExcelFilter;
}

// A native stream as text: XML is written as UTF-16 behind its byte-order mark, text as UTF-8.
String StreamText(TMemoryStream& Stream) {
    const auto* bytes = static_cast<const Byte*>(Stream.Memory());
    const auto size = static_cast<std::size_t>(Stream.GetSize());
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        String text;
        for (std::size_t i = 2; i + 1 < size; i += 2)
            text.push_back(static_cast<Char>(bytes[i] | bytes[i + 1] << 8));
        return text;
    }
    return UTF8ToString(AnsiString(reinterpret_cast<const char*>(bytes), size));
}

String WithoutAmpersands(String Text) {
    std::erase(Text, u'&');
    return Text;
}

TCustomAxisPanel* AxisPanelOf(TCustomZuzPanel* Panel) {
    return dynamic_cast<TCustomAxisPanel*>(Panel);
}

} // namespace

// ---------------------------------------------------------------------------
// TZuzExportFormBase

const ClassInfo& TZuzExportFormBase::StaticClass() {
    using F = TZuzExportFormBase;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormCreate>("FormCreate"),
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::FormDestroy>("FormDestroy"),
        MakeMethod<&F::PageControl1Change>("PageControl1Change"),
        MakeMethod<&F::LBFormatClick>("LBFormatClick"),
        MakeMethod<&F::PageOptionsChange>("PageOptionsChange"),
        MakeMethod<&F::EWidthChange>("EWidthChange"),
        MakeMethod<&F::EHeightChange>("EHeightChange"),
        MakeMethod<&F::CBFileSizeClick>("CBFileSizeClick"),
        MakeMethod<&F::RGNativeClick>("RGNativeClick"),
        MakeMethod<&F::CBNativeDataClick>("CBNativeDataClick"),
        MakeMethod<&F::CBNativeSizeClick>("CBNativeSizeClick"),
        MakeMethod<&F::BViewClick>("BViewClick"),
        MakeMethod<&F::RGTextClick>("RGTextClick"),
        MakeMethod<&F::CBDelimChange>("CBDelimChange"),
        MakeMethod<&F::CBSeriesFormatClick>("CBSeriesFormatClick"),
        MakeMethod<&F::BFormatClick>("BFormatClick"),
        MakeMethod<&F::BCopyClick>("BCopyClick"),
        MakeMethod<&F::BSaveClick>("BSaveClick"),
        MakeMethod<&F::BSendClick>("BSendClick"),
    };
    static const ClassInfo ci = MakeClassInfo<F>("TZuzExportFormBase", &TForm::StaticClass(), methods);
    return ci;
}

TZuzExportFormBase::TZuzExportFormBase(TComponent* AOwner)
    : TForm(AOwner), FFormats(MakeOwned<TStringList>()) {}

TZuzExportFormBase::~TZuzExportFormBase() {
    // The controls are gone by now: only the formats (and the options forms they own) are left.
    for (int i = 0; i < FFormats->GetCount(); ++i) FFormats->GetObjects(i)->Free();
}

void TZuzExportFormBase::BeforeDestruction() {
    // The options form shown belongs to its format: it leaves the tab before the tab frees
    // its children.
    if (FShownOptions) FShownOptions->SetParent(nullptr);
    FShownOptions = nullptr;
    TForm::BeforeDestruction();
}

void TZuzExportFormBase::BindComponents() {
    Bind(PageControl1, u"PageControl1");
    Bind(TabPicture, u"TabPicture");
    Bind(GBFormat, u"GBFormat");
    Bind(LBFormat, u"LBFormat");
    Bind(PageOptions, u"PageOptions");
    Bind(TabOptions, u"TabOptions");
    Bind(TabSize, u"TabSize");
    Bind(LWidth, u"LWidth");
    Bind(EWidth, u"EWidth");
    Bind(UDWidth, u"UDWidth");
    Bind(LHeight, u"LHeight");
    Bind(EHeight, u"EHeight");
    Bind(UDHeight, u"UDHeight");
    Bind(CBAspect, u"CBAspect");
    Bind(CBFileSize, u"CBFileSize");
    Bind(LSize, u"LSize");
    Bind(TabNative, u"TabNative");
    Bind(RGNative, u"RGNative");
    Bind(CBNativeData, u"CBNativeData");
    Bind(CBNativeSize, u"CBNativeSize");
    Bind(LNativeSize, u"LNativeSize");
    Bind(BView, u"BView");
    Bind(TabData, u"TabData");
    Bind(LSeries, u"LSeries");
    Bind(CBSeries, u"CBSeries");
    Bind(RGText, u"RGText");
    Bind(LDelim, u"LDelim");
    Bind(CBDelim, u"CBDelim");
    Bind(ECustom, u"ECustom");
    Bind(LQuotes, u"LQuotes");
    Bind(ETextQuotes, u"ETextQuotes");
    Bind(GBInclude, u"GBInclude");
    Bind(CBLabels, u"CBLabels");
    Bind(CBIndex, u"CBIndex");
    Bind(CBHeader, u"CBHeader");
    Bind(CBColors, u"CBColors");
    Bind(CBSeriesFormat, u"CBSeriesFormat");
    Bind(LValueFormat, u"LValueFormat");
    Bind(CBFormat, u"CBFormat");
    Bind(BFormat, u"BFormat");
    Bind(Panel1, u"Panel1");
    Bind(BCopy, u"BCopy");
    Bind(BSave, u"BSave");
    Bind(BSend, u"BSend");
    Bind(BClose, u"BClose");
    Bind(SavePicture, u"SavePicture");
    Bind(SaveNative, u"SaveNative");
    Bind(SaveData, u"SaveData");
}

void TZuzExportFormBase::FormCreate(TObject*) {
    for (TSaveDialog* dialog : {SavePicture, SaveNative, SaveData}) {
        TOpenOptions options = dialog->GetOptions();
        options.Include(ofOverwritePrompt);
        options.Include(ofHideReadOnly);
        dialog->SetOptions(options);
    }
    SaveData->SetDefaultExt(u"txt");
    // Without a mail system there is nothing to send through, from the start.
    BSend->SetEnabled(MapiAvailable());
}

void TZuzExportFormBase::FormDestroy(TObject*) {
    if (FShownOptions) FShownOptions->SetParent(nullptr);
    FShownOptions = nullptr;
}

void TZuzExportFormBase::SetPanel(TCustomZuzPanel* Value) {
    if (FPanel == Value) return;
    if (FPanel) FPanel->RemoveFreeNotification(this);
    FPanel = Value;
    if (FPanel) FPanel->FreeNotification(this);
}

void TZuzExportFormBase::SetInitialDir(const String& Value) {
    FInitialDir = Value;
    for (TSaveDialog* dialog : {SavePicture, SaveNative, SaveData}) dialog->SetInitialDir(Value);
}

void TZuzExportFormBase::Notification(TComponent* AComponent, TOperation Operation) {
    TForm::Notification(AComponent, Operation);
    if (Operation != opRemove || !AComponent || AComponent != FPanel) return;
    FPanel = nullptr;
    for (int i = 0; i < FFormats->GetCount(); ++i)
        static_cast<TZuzExportFormat*>(FFormats->GetObjects(i))->Panel = nullptr;
}

void TZuzExportFormBase::ClearFormats() {
    if (FShownOptions) FShownOptions->SetParent(nullptr);
    FShownOptions = nullptr;
    if (LBFormat) LBFormat->GetItems()->Clear();
    for (int i = 0; i < FFormats->GetCount(); ++i) FFormats->GetObjects(i)->Free();
    FFormats->Clear();
}

void TZuzExportFormBase::FillFormats() {
    ClearFormats();
    // Each show lists the formats afresh: their entries must start the filter again.
    SavePicture->SetFilter(u"");
    ZuzFillPictureDialog(SavePicture, FPanel, FFormats.get());
    LBFormat->GetItems()->Assign(FFormats.get());
}

void TZuzExportFormBase::FormShow(TObject*) {
    if (GetTag() != 0)
        if (auto* panel = dynamic_cast<TCustomZuzPanel*>(reinterpret_cast<TObject*>(GetTag())))
            SetPanel(panel);
    for (TSaveDialog* dialog : {SavePicture, SaveNative, SaveData}) {
        TOpenOptions options = dialog->GetOptions();
        options.Include(ofEnableSizing);
        dialog->SetOptions(options);
    }
    if (FPanel) {
        FChanging = true;
        struct Guard {
            bool& flag;
            ~Guard() { flag = false; }
        } guard{FChanging};
        const int width = FPanel->GetWidth(), height = FPanel->GetHeight();
        UDWidth->SetPosition(width);
        UDHeight->SetPosition(height);
        // A panel of no height keeps no aspect rather than dividing by zero.
        FAspectRatio = height == 0 ? 0 : static_cast<double>(width) / height;
        PrepareOnShow();
        FillFormats();
        CBDelim->SetItemIndex(1); // "Tab"
        if (LBFormat->GetItems()->GetCount() > 0) LBFormat->SetItemIndex(0);
        // The combo speaks the locale's notation, which the exporter's format is read back
        // from: in a locale with a decimal comma "#,##0.###" would otherwise turn 1.5 into "1,500".
        TStrings* formats = CBFormat->GetItems();
        formats->Clear();
        AddDefaultValueFormats(formats);
        for (int i = 0; i < formats->GetCount(); ++i)
            formats->SetStrings(i, SarvikToLocalFormat(formats->GetStrings(i)));
        if (CBFormat->GetText().empty() && formats->GetCount() > 0) CBFormat->SetText(formats->GetStrings(0));
        CBFormat->SetEnabled(!CBSeriesFormat->GetChecked());
        BFormat->SetEnabled(!CBSeriesFormat->GetChecked());
        ShowOptions();
        EnableButtons();
    }
    ZuzTranslateControl(this);
}

void TZuzExportFormBase::PrepareOnShow() {
    TabData->SetTabVisible(false);
    CBNativeData->SetVisible(false);
}

TZuzExportFormat* TZuzExportFormBase::SelectedFormat() const {
    const int index = LBFormat ? LBFormat->GetItemIndex() : -1;
    if (index < 0) return nullptr;
    return dynamic_cast<TZuzExportFormat*>(LBFormat->GetItems()->GetObjects(index));
}

TZuzExportFormat* TZuzExportFormBase::SizedFormat() const {
    TZuzExportFormat* format = SelectedFormat();
    if (!format) throw Exception(VavIve_ExportPanelNotSet);
    format->Width = UDWidth->GetPosition();
    format->Height = UDHeight->GetPosition();
    return format;
}

void TZuzExportFormBase::ShowOptions() {
    if (FShownOptions) {
        FShownOptions->SetVisible(false);
        FShownOptions->SetParent(nullptr);
        FShownOptions = nullptr;
    }
    TZuzExportFormat* format = SelectedFormat();
    TForm* options = format ? format->Options(true) : nullptr;
    if (options) {
        TabOptions->SetTabVisible(true);
        FShownOptions = options;
        AddFormTo(options, TabOptions);
    } else {
        TabOptions->SetTabVisible(false);
        PageOptions->SetActivePage(TabSize);
    }
    RefreshPictureSize();
}

void TZuzExportFormBase::LBFormatClick(TObject*) {
    ShowOptions();
}

void TZuzExportFormBase::PageOptionsChange(TObject*) {
    if (PageOptions->GetActivePage() == TabSize) RefreshPictureSize();
}

void TZuzExportFormBase::EWidthChange(TObject*) {
    if (!GetShowing() || FChanging) return;
    if (CBAspect->GetChecked() && FAspectRatio != 0) {
        FChanging = true;
        UDHeight->SetPosition(static_cast<int>(Round(UDWidth->GetPosition() / FAspectRatio)));
        FChanging = false;
    }
    RefreshPictureSize();
}

void TZuzExportFormBase::EHeightChange(TObject*) {
    if (!GetShowing() || FChanging) return;
    if (CBAspect->GetChecked() && FAspectRatio != 0) {
        FChanging = true;
        UDWidth->SetPosition(static_cast<int>(Round(UDHeight->GetPosition() * FAspectRatio)));
        FChanging = false;
    }
    RefreshPictureSize();
}

void TZuzExportFormBase::RefreshPictureSize() {
    if (!CBFileSize->GetChecked() || !SelectedFormat() || !FPanel) {
        LSize->SetCaption(u"?");
        return;
    }
    TMemoryStream bytes;
    SizedFormat()->SaveToStream(&bytes);
    LSize->SetCaption(Format(VavIve_FileSize, {static_cast<int>(bytes.GetSize())}));
}

void TZuzExportFormBase::CBFileSizeClick(TObject*) {
    RefreshPictureSize();
}

String TZuzExportFormBase::NativeExtension() const {
    switch (RGNative->GetItemIndex()) {
    case nfText:
        return u"txt";
    case nfXML:
        return u"xml";
    default:
        return VavIve_ZuzExtension;
    }
}

Owned<TMemoryStream> TZuzExportFormBase::CreateNativeStream() {
    if (!FPanel) throw Exception(VavIve_ExportPanelNotSet);
    auto binary = MakeOwned<TMemoryStream>();
    SaveZuzToStream(FPanel, binary.get());
    if (RGNative->GetItemIndex() == nfBinary) return binary;
    auto text = MakeOwned<TMemoryStream>();
    binary->SetPosition(0);
    ObjectBinaryToText(binary.get(), text.get());
    if (RGNative->GetItemIndex() == nfXML) ConvertTextToXML(text.get(), true);
    return text;
}

void TZuzExportFormBase::DoSaveNativeToFile(const String& FileName, bool) {
    SaveZuzToFile(FPanel, FileName);
}

void TZuzExportFormBase::RefreshNativeSize() {
    if (!CBNativeSize->GetChecked() || !FPanel) {
        LNativeSize->SetCaption(u"?");
        return;
    }
    LNativeSize->SetCaption(Format(VavIve_FileSize, {static_cast<int>(CreateNativeStream()->GetSize())}));
}

void TZuzExportFormBase::RGNativeClick(TObject*) {
    EnableButtons();
    RefreshNativeSize();
}

void TZuzExportFormBase::CBNativeDataClick(TObject*) {
    RefreshNativeSize();
}

void TZuzExportFormBase::CBNativeSizeClick(TObject*) {
    RefreshNativeSize();
}

// The native file as text, to read only.
void TZuzExportFormBase::BViewClick(TObject*) {
    Owned<TMemoryStream> stream = CreateNativeStream();
    auto lines = MakeOwned<TStringList>();
    lines->SetText(StreamText(*stream));
    ZuzEditStrings(this, lines.get(), true);
}

int TZuzExportFormBase::DataFormat() const {
    const int index = RGText->GetItemIndex();
    return index < dfText || index > dfExcel ? dfText : index;
}

Char TZuzExportFormBase::DelimiterChar() const {
    switch (CBDelim->GetItemIndex()) {
    case 0:
        return u' ';
    case 1:
        return u'\t';
    case 2:
        return u',';
    case 3:
        return u':';
    default: {
        const String custom = ECustom->GetText();
        return custom.empty() ? u' ' : custom[0];
    }
    }
}

void TZuzExportFormBase::EnableButtons() {
    TTabSheet* page = PageControl1->GetActivePage();
    const bool textNative = RGNative->GetItemIndex() == nfText || RGNative->GetItemIndex() == nfXML;
    bool copy = page == TabPicture || (page == TabData && ExistData()) || (page == TabNative && textNative);
    const bool save = copy || page == TabNative;
    if (page == TabData && DataFormat() == dfExcel) copy = false;
    BCopy->SetEnabled(copy);
    BSave->SetEnabled(save);
    // Without a mail system there is nothing to send through.
    BSend->SetEnabled(save && MapiAvailable());
    BView->SetEnabled(textNative);
    const bool text = DataFormat() == dfText;
    CBDelim->SetEnabled(text);
    ECustom->SetEnabled(text && CBDelim->GetItemIndex() == 4);
}

void TZuzExportFormBase::PageControl1Change(TObject*) {
    EnableButtons();
}

void TZuzExportFormBase::RGTextClick(TObject*) {
    EnableButtons();
}

void TZuzExportFormBase::CBDelimChange(TObject*) {
    EnableButtons();
    if (CBDelim->GetItemIndex() == 4 && ECustom->GetEnabled() && GetShowing()) ECustom->SetFocus();
}

void TZuzExportFormBase::CBSeriesFormatClick(TObject*) {
    CBFormat->SetEnabled(!CBSeriesFormat->GetChecked());
    BFormat->SetEnabled(!CBSeriesFormat->GetChecked());
}

void TZuzExportFormBase::BFormatClick(TObject*) {
    CBFormat->SetText(TFormatEditor::Change(this, CBFormat->GetText(), false));
}

void TZuzExportFormBase::BCopyClick(TObject*) {
    TTabSheet* page = PageControl1->GetActivePage();
    if (page == TabPicture) {
        SizedFormat()->CopyToClipboard();
    } else if (page == TabData) {
        THourGlass hourGlass;
        const Owned<TSeriesData> data(CreateData());
        if (data) data->CopyToClipboard();
    } else if (page == TabNative) {
        Owned<TMemoryStream> stream = CreateNativeStream();
        Clipboard()->SetAsText(StreamText(*stream));
    }
}

void TZuzExportFormBase::SaveContentTo(const String& FileName) {
    TTabSheet* page = PageControl1->GetActivePage();
    if (page == TabPicture) {
        SizedFormat()->SaveToFile(FileName);
    } else if (page == TabNative) {
        DoSaveNativeToFile(ChangeFileExt(FileName, u"." + NativeExtension()), CBNativeData->GetChecked());
    } else if (page == TabData) {
        const Owned<TSeriesData> data(CreateData());
        if (data) data->SaveToFile(FileName);
    }
}

void TZuzExportFormBase::BSaveClick(TObject*) {
    TTabSheet* page = PageControl1->GetActivePage();
    if (page == TabPicture) {
        TZuzExportFormat* selected = SelectedFormat();
        if (!selected) return;
        SavePicture->SetDefaultExt(selected->FileExtension());
        SavePicture->SetFilterIndex(selected->FileFilterIndex());
        SavePicture->SetInitialDir(FInitialDir);
        SavePicture->SetFileName(u"");
        if (!SavePicture->Execute()) return;
        THourGlass hourGlass;
        // The filter entry picked tells a format of several kinds which one (a plain or an
        // enhanced metafile); then the name's extension chooses the format.
        for (int i = 0; i < FFormats->GetCount(); ++i)
            static_cast<TZuzExportFormat*>(FFormats->GetObjects(i))
                ->WantsFilterIndex(SavePicture->GetFilterIndex());
        String extension = ExtractFileExt(SavePicture->GetFileName());
        if (!extension.empty()) extension.erase(0, 1);
        TZuzExportFormat* format = selected;
        for (int i = 0; i < FFormats->GetCount(); ++i) {
            auto* candidate = static_cast<TZuzExportFormat*>(FFormats->GetObjects(i));
            if (SameText(candidate->FileExtension(), extension)) {
                format = candidate;
                break;
            }
        }
        format->Width = UDWidth->GetPosition();
        format->Height = UDHeight->GetPosition();
        format->SaveToFile(SavePicture->GetFileName());
    } else if (page == TabNative) {
        const String extension = NativeExtension();
        SaveNative->SetInitialDir(FInitialDir);
        SaveNative->SetFileName(u"");
        SaveNative->SetDefaultExt(extension);
        SaveNative->SetFilter(VavIve_NativeFilter + u" (*." + extension + u")|*." + extension);
        if (!SaveNative->Execute()) return;
        THourGlass hourGlass;
        DoSaveNativeToFile(ChangeFileExt(SaveNative->GetFileName(), u"." + extension),
                           CBNativeData->GetChecked());
    } else if (page == TabData) {
        SaveData->SetFilter(DataFilter());
        SaveData->SetFilterIndex(DataFormat() == dfText ? CBDelim->GetItemIndex() + 1 : DataFormat() + 5);
        SaveData->SetInitialDir(FInitialDir);
        SaveData->SetFileName(u"");
        if (!SaveData->Execute()) return;
        // The file type picked decides what is written: a delimited text's entry sets the
        // delimiter (and the combo shows it), the others the data format.
        const int chosen = SaveData->GetFilterIndex();
        if (chosen > 5 && chosen <= 8) {
            RGText->SetItemIndex(chosen - 5);
        } else if (chosen >= 1 && chosen <= 5) {
            RGText->SetItemIndex(dfText);
            CBDelim->SetItemIndex(chosen - 1);
            EnableButtons();
        }
        THourGlass hourGlass;
        const Owned<TSeriesData> data(CreateData());
        if (data) data->SaveToFile(SaveData->GetFileName());
    }
}

String TZuzExportFormBase::SendExtension() const {
    TTabSheet* page = PageControl1->GetActivePage();
    if (page == TabPicture) return SelectedFormat() ? SelectedFormat()->FileExtension() : String();
    if (page == TabNative) return NativeExtension();
    return FilterEntryExt(DataFilter(),
                          DataFormat() == dfText ? CBDelim->GetItemIndex() + 1 : DataFormat() + 5);
}

void TZuzExportFormBase::BSendClick(TObject*) {
    if (!MapiAvailable()) {
        BSend->SetEnabled(false);
        return;
    }
    // The attachment is written into a folder of its own that nobody else can enter, and the
    // folder goes whatever happens.
    String folder;
    if (!CreatePrivateTempDir(folder)) throw Exception(VavIve_CanNotFindTempPath);
    struct Remove {
        const String& folder;
        ~Remove() { RemoveTempDir(folder); }
    } remove{folder};
    const String name = folder + u"/" + kEmailName + u"." + SendExtension();
    SaveContentTo(name);
    ZuzEmailFile(TabNative == PageControl1->GetActivePage() ? ChangeFileExt(name, u"." + NativeExtension())
                                                            : name,
                 kEmailName);
}

// ---------------------------------------------------------------------------
// TZuzExportForm

const ClassInfo& TZuzExportForm::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TZuzExportForm>("TZuzExportForm", &TZuzExportFormBase::StaticClass());
    return ci;
}

TSeriesData* TZuzExportForm::CreateData() {
    auto* chart = dynamic_cast<TCustomChart*>(GetPanel());
    if (!chart) return nullptr;
    auto* series = dynamic_cast<TChartSeries*>(CBSeries->SelectedObject());
    Owned<TSeriesData> data;
    switch (DataFormat()) {
    case dfXML:
        data.reset(Create<TSeriesDataXML>(chart, series));
        break;
    case dfHTML:
        data.reset(Create<TSeriesDataHTML>(chart, series));
        break;
    case dfExcel:
        data.reset(Create<TSeriesDataXLS>(chart, series));
        break;
    default: {
        auto* text = Create<TSeriesDataText>(chart, series);
        data.reset(text);
        text->TextDelimiter = DelimiterChar();
        text->TextQuotes = ETextQuotes->GetText();
    }
    }
    data->IncludeLabels = CBLabels->GetChecked();
    data->IncludeIndex = CBIndex->GetChecked();
    data->IncludeHeader = CBHeader->GetChecked();
    data->IncludeColors = CBColors->GetChecked();
    data->UseSeriesFormat = CBSeriesFormat->GetChecked();
    if (!data->UseSeriesFormat) data->ValueFormat = LocalToSarvikFormat(CBFormat->GetText());
    return data.release();
}

Owned<TMemoryStream> TZuzExportForm::CreateNativeStream() {
    auto* chart = dynamic_cast<TCustomChart*>(GetPanel());
    if (!chart) return TZuzExportFormBase::CreateNativeStream();
    auto stream = MakeOwned<TMemoryStream>();
    const bool include = CBNativeData->GetChecked();
    if (RGNative->GetItemIndex() == nfXML)
        SaveChartToXMLStream(chart, stream.get(), include, true);
    else
        SaveChartToStream(chart, stream.get(), include, RGNative->GetItemIndex() == nfText);
    return stream;
}

void TZuzExportForm::DoSaveNativeToFile(const String& FileName, bool IncludeData) {
    auto* chart = dynamic_cast<TCustomChart*>(GetPanel());
    if (!chart) {
        TZuzExportFormBase::DoSaveNativeToFile(FileName, IncludeData);
    } else if (RGNative->GetItemIndex() == nfXML) {
        SaveChartToXMLFile(chart, FileName, IncludeData, true);
    } else {
        SaveChartToFile(chart, FileName, IncludeData, RGNative->GetItemIndex() == nfText);
    }
}

bool TZuzExportForm::ExistData() const {
    const TCustomAxisPanel* panel = AxisPanelOf(GetPanel());
    return panel && panel->SeriesCount() > 0;
}

void TZuzExportForm::ShowingChanged() {
    TZuzExportFormBase::ShowingChanged();
    if (TWinControl* parent = GetParent()) parent->UpdateControlState();
}

void TZuzExportForm::PrepareOnShow() {
    TCustomAxisPanel* panel = AxisPanelOf(GetPanel());
    if (!panel) {
        TZuzExportFormBase::PrepareOnShow();
        return;
    }
    TabData->SetTabVisible(true);
    CBNativeData->SetVisible(true);
    TStrings* items = CBSeries->GetItems();
    items->Clear();
    items->Add(VavIve_All);
    FillSeriesItems(items, panel->GetSeriesList());
    CBSeries->SetItemIndex(0);
}

// ---------------------------------------------------------------------------

void ZuzExport(TComponent* AOwner, TCustomZuzPanel* APanel, const String& InitialDir) {
    const Owned<TZuzExportForm> form(Create<TZuzExportForm>(AOwner));
    form->SetPanel(APanel);
    form->SetInitialDir(InitialDir);
    form->ShowModal();
}

void ZuzExport(TComponent* AOwner, TCustomZuzPanel* APanel) {
    ZuzExport(AOwner, APanel, String());
}

void ZuzFillPictureDialog(TSaveDialog* Dialog, TCustomZuzPanel* APanel, TStrings* List) {
    if (!ZuzExportFormats) return;
    int index = Dialog->GetFilter().empty() ? 0 : 1;
    for (int i = 0; i < ZuzExportFormats->Count(); ++i) {
        Owned<TZuzExportFormat> format(ZuzExportFormats->Get(i)());
        format->Panel = APanel;
        format->IncFileFilterIndex(index);
        const String filter = Dialog->GetFilter();
        Dialog->SetFilter(filter.empty() ? format->FileFilter() : filter + u"|" + format->FileFilter());
        if (!List) continue;
        const String line = WithoutAmpersands(format->Description());
        List->AddObject(line, format.release());
    }
}

void ZuzEmailFile(const String& FileName, const String& Subject) {
    MapiMessage message;
    message.lpszSubject = UTF8Encode(Subject);
    MapiFileDesc file;
    file.nPosition = 0xFFFFFFFF;
    file.lpszPathName = UTF8Encode(FileName);
    file.lpszFileName = UTF8Encode(ExtractFileName(FileName));
    message.lpFiles.push_back(file);
    const ULONG result = MAPISendMail(0, 0, message, MAPI_LOGON_UI | MAPI_NEW_SESSION | MAPI_DIALOG, 0);
    if (result != SUCCESS_SUCCESS && result != MAPI_USER_ABORT)
        throw Exception(VavIve_CanNotEmailChart, {static_cast<int>(result)});
}
