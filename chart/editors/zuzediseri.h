#pragma once
// The series page: one series of a chart, picked in a combo at the top, with its type's own
// editor under "Format" (found by class name, so this unit knows no series type), and the
// "General", "Marks" and "Data Source" tabs. It is the chart editor's "Series" page, or a
// modal dialog of its own; every change is written into the series at once.

#include "chart/canvas/zuzprocs.h"
#include "platform/gui/forms.h"

#include <functional>
#include <vector>

class TButton;
class TButtonPen;
class TChartGrid;
class TChartGridNavigator;
class TChartListBox;
class TChartSeries;
class TCheckBox;
class TComboFlat;
class TCustomChart;
class TEdit;
class TGroupBox;
class TImage;
class TLabel;
class TFormZuzShape;
class TMarginsEditor;
class TSeriesMarks;
class TPageControl;
class TPaintBox;
class TPanel;
class TTabSheet;
class TTimer;
class TUpDown;

class TFormZuzSeries;

// Chart events the page passes on to whoever holds it (the chart editor).
using TFormSeriesEventHook = std::function<void(TFormZuzSeries* Form, TZuzEvent* Event)>;

class TFormZuzSeries : public TForm, public IZuzEventListener {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TFormZuzSeries(TComponent* AOwner);
    ~TFormZuzSeries() override;
    void BeforeDestruction() override;

    TPanel* Panel1 = nullptr;
    TImage* ImageSeries = nullptr;
    TLabel* LabelSeriesClass = nullptr;
    TComboFlat* CBSeries = nullptr;
    TPaintBox* PaintBox1 = nullptr;
    TPanel* Panel3 = nullptr;
    TCheckBox* CBPersistent = nullptr;
    TPageControl* PageSeries = nullptr;
    TTabSheet* TheTabSheet = nullptr;
    // "General"
    TTabSheet* TabGeneral = nullptr;
    TGroupBox* GB5 = nullptr;
    TCheckBox* CBShowInLegend = nullptr;
    TLabel* L27 = nullptr;
    TComboFlat* CBCursor = nullptr;
    TLabel* LDepth = nullptr;
    TEdit* EDepth = nullptr;
    TUpDown* UDDepth = nullptr;
    TCheckBox* CBDepth = nullptr;
    TGroupBox* GB2 = nullptr;
    TLabel* L15 = nullptr;
    TComboFlat* CBFormat = nullptr;
    TButton* Button1 = nullptr;
    TLabel* L21 = nullptr;
    TEdit* EPercentFormat = nullptr;
    TButton* Button2 = nullptr;
    TGroupBox* GBHorizAxis = nullptr;
    TComboFlat* CBHorizAxis = nullptr;
    TCheckBox* CBXDateTime = nullptr;
    TGroupBox* GBVertAxis = nullptr;
    TComboFlat* CBVertAxis = nullptr;
    TCheckBox* CBYDateTime = nullptr;
    TLabel* LSort = nullptr;
    TComboFlat* CBSort = nullptr;
    TCheckBox* CBZDateTime = nullptr;
    TCheckBox* CBShowInEditor = nullptr;
    // "Marks"
    TTabSheet* TabMarks = nullptr;
    TPageControl* PageControlMarks = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TCheckBox* CBMarksVisible = nullptr;
    TCheckBox* CBMarkClip = nullptr;
    TLabel* L23 = nullptr;
    TEdit* SEMarksAngle = nullptr;
    TUpDown* UDMarksAngle = nullptr;
    TLabel* Label3 = nullptr;
    TEdit* EMarksEvery = nullptr;
    TUpDown* UDEvery = nullptr;
    TCheckBox* CBMultiLine = nullptr;
    TCheckBox* CBAllVisible = nullptr;
    TLabel* Label1 = nullptr;
    TComboFlat* RGMarkStyle = nullptr;
    TLabel* Label6 = nullptr;
    TComboFlat* CBTextAlign = nullptr;
    TCheckBox* CBFontSeriesColor = nullptr;
    TTabSheet* TabSheet2 = nullptr;
    TButtonPen* BMarkLinCol = nullptr;
    TLabel* L32 = nullptr;
    TEdit* SEArrowLength = nullptr;
    TUpDown* UDArrowsLength = nullptr;
    TLabel* Label4 = nullptr;
    TEdit* EArrowDist = nullptr;
    TUpDown* UDArrowDist = nullptr;
    TButton* BCalloutPointer = nullptr;
    TLabel* Label11 = nullptr;
    TComboFlat* CBHead = nullptr;
    TLabel* Label12 = nullptr;
    TEdit* Edit1 = nullptr;
    TUpDown* UDHeadSize = nullptr;
    TTabSheet* TabSymbol = nullptr;
    TTabSheet* TabMargins = nullptr;
    // "Data Source"
    TTabSheet* TabDataSource = nullptr;
    TPanel* PanTop = nullptr;
    TComboFlat* CBDataSourcestyle = nullptr;
    TButton* NewDataButton = nullptr;
    TButton* EditDataButton = nullptr;
    TButton* DeleteDataButton = nullptr;
    TPanel* Panel2 = nullptr;
    TChartGrid* ChartGrid1 = nullptr;
    TChartGridNavigator* ChartGridNavigator1 = nullptr;
    TPanel* PanelRandomSource = nullptr;
    TLabel* Label2 = nullptr;
    TEdit* ESamples = nullptr;
    TCheckBox* CBSamplesDefault = nullptr;
    TButton* BApplyRandom = nullptr;
    TButton* Button3 = nullptr;
    TPanel* PanelSeriesSource = nullptr;
    TLabel* Label5 = nullptr;
    TComboFlat* CBSeriesSource = nullptr;
    TButton* BApplySource = nullptr;
    TButton* BClearSource = nullptr;
    // Stays in the resource; the layout kick it gave is a deferred call now.
    TTimer* Timer1 = nullptr;

    // The series edited (not owned); set through CBSeries and SetCBSeries.
    TChartSeries* TheSeries = nullptr;
    // Which tabs the holder allows; read at each change of series.
    bool ShowTabDataSource = true;
    bool ShowTabGeneral = true;
    bool ShowTabMarks = true;
    // The holder edits data sources: "Persistent" shows.
    bool DataSourceMode = false;
    // While set, the controls are being loaded and write nothing.
    bool Filling = true;
    // From an allowed tab change until the new tab is loaded.
    bool Changing = false;
    // The holder's series list box (not owned), or nullptr.
    TChartListBox* TheListBox = nullptr;
    // Chart events after the page has handled them.
    TFormSeriesEventHook OnChartEvent;

    // The type editor, the data-source form and the marks forms while they exist.
    TCustomForm* GetTypeEditor() const;
    TCustomForm* GetDataSourceForm() const { return FDataSourceForm; }
    TMarginsEditor* GetMarginsForm() const { return FMarginsForm; }
    // The shape form whose pages stand in the marks' page control, and the symbol's form.
    TFormZuzShape* GetMarksShapeForm() const { return FMarksShapeForm; }
    TFormZuzShape* GetMarkSymbolsForm() const { return FMarkSymbolsForm; }
    TCheckBox* GetSymbolVisibleBox() const { return FSymbolVisible; }
    TCustomChart* GetListenedChart() const { return FListenedChart; }

    // On a series page (Control's owner), a new tab Caption at page Index holding a new form
    // of the class; elsewhere a form of the class owned by Control, captioned, with Object in
    // Tag. The series-type editors add their own tabs through it.
    static TCustomForm* InsertSeriesForm(TControl* Control, const ClassInfo& FormClass, int Index,
                                         const String& Caption, TObject* Object);
    // Fills the tab with the form, translated, with Object in Tag.
    static void AddToTab(TCustomForm* Form, TTabSheet* Tab, TObject* Object);

    // Selects TheSeries in CBSeries and loads it, or hides the pages without one.
    void SetCBSeries();
    void FillAxes();
    // Frees the type editor, the tabs inserted for it and, when it agrees, the data-source form.
    void DestroySeriesForms();
    // Whether the data-source form lets the page go (asks it when there is one).
    bool CheckCanClose();

    void ZuzEvent(TZuzEvent* Event) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void CBSeriesChange(TObject* Sender);
    void PageSeriesChange(TObject* Sender);
    void PageSeriesChanging(TObject* Sender, bool& AllowChange);
    void PaintBox1Click(TObject* Sender);
    void PaintBox1Paint(TObject* Sender);
    void CBPersistentClick(TObject* Sender);
    void CBShowInLegendClick(TObject* Sender);
    void CBCursorChange(TObject* Sender);
    void EDepthChange(TObject* Sender);
    void CBDepthClick(TObject* Sender);
    void CBFormatChange(TObject* Sender);
    void Button1Click(TObject* Sender);
    void EPercentFormatChange(TObject* Sender);
    void Button2Click(TObject* Sender);
    void CBHorizAxisChange(TObject* Sender);
    void CBVertAxisChange(TObject* Sender);
    void CBXDateTimeClick(TObject* Sender);
    void CBYDateTimeClick(TObject* Sender);
    void CBZDateTimeClick(TObject* Sender);
    void CBSortChange(TObject* Sender);
    void CBShowInEditorClick(TObject* Sender);
    void CBMarksVisibleClick(TObject* Sender);
    void CBMarkClipClick(TObject* Sender);
    void SEMarksAngleChange(TObject* Sender);
    void EMarksEveryChange(TObject* Sender);
    void CBMultiLineClick(TObject* Sender);
    void CBAllVisibleClick(TObject* Sender);
    void RGMarkStyleClick(TObject* Sender);
    void CBTextAlignChange(TObject* Sender);
    void CBFontSeriesColorClick(TObject* Sender);
    void SEArrowLengthChange(TObject* Sender);
    void EArrowDistChange(TObject* Sender);
    void BCalloutPointerClick(TObject* Sender);
    void CBHeadChange(TObject* Sender);
    void Edit1Change(TObject* Sender);
    void PageControlMarksChange(TObject* Sender);
    void CBDataSourcestyleChange(TObject* Sender);
    void ESamplesChange(TObject* Sender);
    void CBSamplesDefaultClick(TObject* Sender);
    void BApplyRandomClick(TObject* Sender);
    void Button3Click(TObject* Sender);
    void CBSeriesSourceChange(TObject* Sender);
    void BApplySourceClick(TObject* Sender);
    void BClearSourceClick(TObject* Sender);
    void ChartGrid1SetEditText(TObject* Sender, int ACol, int ARow, const String& Value);
    void Timer1Timer(TObject* Sender);

protected:
    void BindComponents() override;

private:
    // Handlers of guarded controls write only outside loading and tab changes, with a series.
    bool Writing() const { return !Filling && !Changing && TheSeries; }
    void ListenTo(TCustomChart* Chart);
    void FillDataSourceStyles();
    void RefreshGeneral();
    void RefreshMarks();
    // The shape, symbol and margins forms of the "Marks" tab, made the first time it shows.
    void CreateMarksForms(TSeriesMarks* Marks);
    void SetTabDataSource();
    void CreateDataSourceForm();
    void CheckCBSamples();
    void CheckMultiLine();
    void RefreshAllVisible();
    // The "Data Source" style of the data source the series has now.
    int DataSourceStyleOfSeries() const;
    // The registered data-source class behind a style item from 4 on, else nullptr.
    const ClassInfo* SourceClassOfStyle(int Index) const;
    // Edits a format text in the format editor; true when it changed.
    bool EditFormatText(String& Format, bool IsDate);

    TCustomForm* FDataSourceForm = nullptr;
    TMarginsEditor* FMarginsForm = nullptr;
    TFormZuzShape* FMarksShapeForm = nullptr;
    TFormZuzShape* FMarkSymbolsForm = nullptr;
    TCheckBox* FSymbolVisible = nullptr;
    TCustomChart* FListenedChart = nullptr;
    // The data-source classes behind the style items after the first four, in item order.
    std::vector<const ClassInfo*> FSourceClasses;
    bool FDestroying = false;
};

// Public hooks: when set, every series page calls them at its show with itself and the
// series' chart. Nothing in the program sets them.
extern void (*InternalOnCreateEditSeries)(TFormZuzSeries* Form, TCustomChart* Chart);
extern std::function<void(TFormZuzSeries* Form, TCustomChart* Chart)> InternalOnCreateEditSeriesObj;

// Edits the series alone in a modal series page.
void EditSeriesDialog(TComponent* AOwner, TChartSeries* Series);
// The registered form class named by the series' editor class, or nullptr.
const ClassInfo* SeriesEditorForm(TChartSeries* Series);
