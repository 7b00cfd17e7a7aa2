#pragma once
// The export dialog: saves, copies or mails a chart panel as a picture of any registered
// format, as its native file, or (for a chart) its series' data. The base form knows pictures
// and the plain component stream of any panel; TZuzExportForm adds the chart's native file
// and data exporters.

#include "platform/gui/forms.h"

class TButton;
class TCheckBox;
class TComboFlat;
class TCustomZuzPanel;
class TEdit;
class TGroupBox;
class TLabel;
class TListBox;
class TMemoryStream;
class TPageControl;
class TPanel;
class TRadioGroup;
class TSaveDialog;
class TSeriesData;
class TStringList;
class TStrings;
class TTabSheet;
class TUpDown;
class TZuzExportFormat;

class TZuzExportFormBase : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TZuzExportFormBase(TComponent* AOwner);
    ~TZuzExportFormBase() override;
    void BeforeDestruction() override;

    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabPicture = nullptr;
    TGroupBox* GBFormat = nullptr;
    TListBox* LBFormat = nullptr;
    TPageControl* PageOptions = nullptr;
    TTabSheet* TabOptions = nullptr;
    TTabSheet* TabSize = nullptr;
    TLabel* LWidth = nullptr;
    TEdit* EWidth = nullptr;
    TUpDown* UDWidth = nullptr;
    TLabel* LHeight = nullptr;
    TEdit* EHeight = nullptr;
    TUpDown* UDHeight = nullptr;
    TCheckBox* CBAspect = nullptr;
    TCheckBox* CBFileSize = nullptr;
    TLabel* LSize = nullptr;
    TTabSheet* TabNative = nullptr;
    TRadioGroup* RGNative = nullptr;
    TCheckBox* CBNativeData = nullptr;
    TCheckBox* CBNativeSize = nullptr;
    TLabel* LNativeSize = nullptr;
    TButton* BView = nullptr;
    TTabSheet* TabData = nullptr;
    TLabel* LSeries = nullptr;
    TComboFlat* CBSeries = nullptr;
    TRadioGroup* RGText = nullptr;
    TLabel* LDelim = nullptr;
    TComboFlat* CBDelim = nullptr;
    TEdit* ECustom = nullptr;
    TLabel* LQuotes = nullptr;
    TEdit* ETextQuotes = nullptr;
    TGroupBox* GBInclude = nullptr;
    TCheckBox* CBLabels = nullptr;
    TCheckBox* CBIndex = nullptr;
    TCheckBox* CBHeader = nullptr;
    TCheckBox* CBColors = nullptr;
    TCheckBox* CBSeriesFormat = nullptr;
    TLabel* LValueFormat = nullptr;
    TComboFlat* CBFormat = nullptr;
    TButton* BFormat = nullptr;
    TPanel* Panel1 = nullptr;
    TButton* BCopy = nullptr;
    TButton* BSave = nullptr;
    TButton* BSend = nullptr;
    TButton* BClose = nullptr;
    TSaveDialog* SavePicture = nullptr;
    TSaveDialog* SaveNative = nullptr;
    TSaveDialog* SaveData = nullptr;

    TCustomZuzPanel* GetPanel() const { return FPanel; }
    void SetPanel(TCustomZuzPanel* Value);
    const String& GetInitialDir() const { return FInitialDir; }
    void SetInitialDir(const String& Value);
    // The picture format of the list's selected line; nullptr when none.
    TZuzExportFormat* SelectedFormat() const;
    // Panel width / height at show time; 0 (keeping no aspect) for a panel of no height.
    double GetAspectRatio() const { return FAspectRatio; }

    void EnableButtons();

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void PageControl1Change(TObject* Sender);
    void LBFormatClick(TObject* Sender);
    void PageOptionsChange(TObject* Sender);
    void EWidthChange(TObject* Sender);
    void EHeightChange(TObject* Sender);
    void CBFileSizeClick(TObject* Sender);
    void RGNativeClick(TObject* Sender);
    void CBNativeDataClick(TObject* Sender);
    void CBNativeSizeClick(TObject* Sender);
    void BViewClick(TObject* Sender);
    void RGTextClick(TObject* Sender);
    void CBDelimChange(TObject* Sender);
    void CBSeriesFormatClick(TObject* Sender);
    void BFormatClick(TObject* Sender);
    void BCopyClick(TObject* Sender);
    void BSaveClick(TObject* Sender);
    void BSendClick(TObject* Sender);

protected:
    void BindComponents() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    virtual TSeriesData* CreateData() { return nullptr; }
    // The native file in memory (the caller owns it).
    virtual Owned<TMemoryStream> CreateNativeStream();
    virtual void DoSaveNativeToFile(const String& FileName, bool IncludeData);
    virtual bool ExistData() const { return false; }
    virtual void PrepareOnShow();

    // The data format chosen on the Data page: 0 text, 1 XML, 2 HTML table, 3 Excel.
    int DataFormat() const;
    Char DelimiterChar() const;
    String NativeExtension() const;
    // The page's content written to FileName as Save writes it (data with the data format and
    // delimiter chosen).
    void SaveContentTo(const String& FileName);

private:
    void FillFormats();
    void ClearFormats();
    void ShowOptions();
    void RefreshPictureSize();
    void RefreshNativeSize();
    // The selected format, sized from the size boxes.
    TZuzExportFormat* SizedFormat() const;
    String SendExtension() const;

    TCustomZuzPanel* FPanel = nullptr;
    Owned<TStringList> FFormats; // owns the format objects
    bool FChanging = false;
    double FAspectRatio = 0;
    String FInitialDir;
    TForm* FShownOptions = nullptr; // not owned: the format owns its options form
};

class TZuzExportForm : public TZuzExportFormBase {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TZuzExportForm(TComponent* AOwner) : TZuzExportFormBase(AOwner) {}

protected:
    TSeriesData* CreateData() override;
    Owned<TMemoryStream> CreateNativeStream() override;
    void DoSaveNativeToFile(const String& FileName, bool IncludeData) override;
    bool ExistData() const override;
    void PrepareOnShow() override;
    // Inside another control (the chart editor's export page) the form coming and going
    // also brings that control up to date.
    void ShowingChanged() override;
};

// Shows the export dialog modally on the panel and frees it.
void ZuzExport(TComponent* AOwner, TCustomZuzPanel* APanel, const String& InitialDir);
void ZuzExport(TComponent* AOwner, TCustomZuzPanel* APanel);

// One instance of every registered picture format, each on the panel and given its place in
// the dialog's filter, whose entries it appends; with a list, each goes into it as a line of
// its description without "&" (the list then owns it), else it is freed.
void ZuzFillPictureDialog(TSaveDialog* Dialog, TCustomZuzPanel* APanel, TStrings* List);

// Mails the file as the only attachment of a message with the subject; raises when the mail
// system reports an error other than the user's cancel.
void ZuzEmailFile(const String& FileName, const String& Subject);
