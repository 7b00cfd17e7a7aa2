#pragma once
// The main window: the port and read controls, the archive table, the log, the
// status bar, the four protocol timers and the actions with their shortcuts,
// read from the form resource TMainForm.

#include "archive/archiverecord.h"
#include "graphs/graphrecord.h"
#include "platform/automation/variants.h"
#include "platform/core/classes.h"
#include "platform/gui/actnlist.h"
#include "platform/gui/buttons.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/forms.h"
#include "platform/gui/grids.h"
#include "platform/gui/imglist.h"
#include "platform/gui/menus.h"
#include "platform/gui/stdctrls.h"
#include "serial/comport.h"

#include <array>
#include <deque>

// A record's bytes as the device sent them.
class TRecordBytes : public TObject {
public:
    explicit TRecordBytes(AnsiString Bytes) : bytes(std::move(Bytes)) {}
    const AnsiString bytes;
};

// The port selector and the charts are only pointed to here: their headers
// name an enumeration value alike (cpNone), so no unit includes both.
class TChart;
class TChartPreviewer;
class TComComboBox;
class TLineSeries;

class TMainForm : public TForm, public IGraphHost {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TMainForm(TComponent* AOwner);
    ~TMainForm() override;

    // Components of the form resource.
    TToolBar* ToolBar1 = nullptr;
    TToolButton* ToolButton1 = nullptr;
    TToolButton* ToolButton2 = nullptr;
    TToolButton* ToolButton3 = nullptr;
    TToolButton* ToolButton4 = nullptr;
    TPanel* Panel1 = nullptr;
    TLabel* Label1 = nullptr;
    TComComboBox* ComComboBox = nullptr;
    TLabel* Label2 = nullptr;
    TComboBox* ComboBox1 = nullptr;
    TLabel* Label3 = nullptr;
    TComboBox* ComboBoxDevNum = nullptr;
    TRadioGroup* RadioGroup = nullptr;
    TLabel* Label4 = nullptr;
    TDateTimePicker* DateTimePickerStartDate = nullptr;
    TLabel* Label5 = nullptr;
    TDateTimePicker* DateTimePickerFinish = nullptr;
    TBitBtn* BitBtn1 = nullptr;
    TBitBtn* BitBtn2 = nullptr;
    TBitBtn* BitBtn3 = nullptr;
    TButton* Button3 = nullptr;
    TButton* Button4 = nullptr;
    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TTabSheet* TabSheet3 = nullptr;
    TStringGrid* StringGrid = nullptr;
    TEdit* Edit1 = nullptr;
    TMemo* Memo = nullptr;
    TChart* Chart1 = nullptr;
    TStatusBar* StatusBar = nullptr;
    TMainMenu* MainMenu = nullptr;
    TMenuItem* MenuFile = nullptr;
    TMenuItem* N1 = nullptr;
    TMenuItem* MenuActions = nullptr;
    TMenuItem* ReadArch1 = nullptr;
    TMenuItem* ExcelExport1 = nullptr;
    TMenuItem* TextExport1 = nullptr;
    TMenuItem* AddGraphic1 = nullptr;
    TMenuItem* MenuHelp = nullptr;
    TMenuItem* N5 = nullptr;
    TMenuItem* N4 = nullptr;
    TComPort* ComPort = nullptr;
    TImageList* ImageList = nullptr;
    TActionList* ActionList = nullptr;
    TAction* ReadArch = nullptr;
    TAction* ExcelExport = nullptr;
    TAction* TextExport = nullptr;
    TAction* AddGraphic = nullptr;
    TChartPreviewer* ChartPreviewer = nullptr;
    TPopupMenu* PopupMenuGr = nullptr;
    TMenuItem* MenuItem1 = nullptr;
    TMenuItem* MenuItem4 = nullptr;
    TMenuItem* N6 = nullptr;
    TSaveDialog* SaveDialog = nullptr;
    TTimer* TimerComWaitPacket = nullptr;
    TTimer* TimerNextSend = nullptr;
    TTimer* TimerSendREData = nullptr;
    TTimer* TimerWaitReset = nullptr;

    // Handlers the form resource binds by name.
    void FormCreate(TObject* Sender);
    void RadioGroupClick(TObject* Sender);
    void N1Click(TObject* Sender);
    void N4Click(TObject* Sender);
    void ReadArchExecute(TObject* Sender);
    void ComPortRxChar(TObject* Sender, Integer Count);
    void TakeRxChunk(); // one chunk read by the receive event
    void TimerComWaitPacketTimer(TObject* Sender);
    void TimerNextSendTimer(TObject* Sender);
    void TimerSendREDataTimer(TObject* Sender);
    void TimerWaitResetTimer(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void StringGridDblClick(TObject* Sender);
    void Edit1Exit(TObject* Sender);
    void MemoDblClick(TObject* Sender);
    void ExcelExportExecute(TObject* Sender);
    void TextExportExecute(TObject* Sender);
    void N5Click(TObject* Sender);

    // The graph windows (mainform_graphs.cpp).
    void AddGraphicExecute(TObject* Sender);
    int NewGraphNumber();
    bool GraphNumberFree(int Number);
    void GraphWindowActivate(TObject* Sender);
    void GraphWindowClose(TObject* Sender, TCloseAction& Action);
    void GraphAxisFollow(TObject* Sender);
    void ClearGraphSeries();
    void MenuItem1Click(TObject* Sender);
    void MenuItem4Click(TObject* Sender);
    void N6Click(TObject* Sender);
    // The graph settings dialog's view of the records.
    GraphRecord* CurrentGraphRecord() override;
    TChartSeries* ColumnSeries(int Index) override;
    String ColumnHeader(int Column) override;

    // The read state, the day's records and the export's automation objects.
    bool fPacketStarted = false;
    bool fWaitResetReply = false;
    bool fResetAfterDay = false;
    bool fAbortRequested = false;
    bool fStopped = false;
    AnsiString rxChunk;
    AnsiString rxBuffer;
    AnsiString recordText;
    int editCol = 0;
    int editRow = 0;
    int graphCount = 0;
    Owned<TStringList> logLines;
    Owned<TStringList> records;
    // The objects of `records`: each record's bytes, which follow it through the sort.
    // (A deque: its elements stay where they are as it grows.)
    std::deque<TRecordBytes> dayRecordBytes;
    void ClearDayRecords();
    TCommandFrame txCommand{};
    TDateTime finishDate = 0;
    TDateTime recordTime = 0;
    TDateTime currentDate = 0;
    OleVariant excelApp;
    OleVariant excelSheet;
    // Entries 1..graphCount describe the open graph windows; entry 0 is not used.
    std::array<GraphRecord, MaxGraphNumber + 1> graphs;
    // The data series of value columns 1..13, owned by Chart1.
    static constexpr int MaxDataSeries = 13;
    std::array<TLineSeries*, MaxDataSeries> dataSeries{};
    int currentGraph = 0;

    // The read road (mainform_read.cpp) and the archive table (mainform_table.cpp).
    void ParseReplyRecords(const AnsiString& Buffer);
    void FinishRead();
    void BuildArchiveGrid();
    // Two columns, two rows, only "Дата" left: the table a read starts from.
    void ClearArchiveTable();
    int headedColumns = 0; // value columns whose header the current read has written

    // The exports (mainform_export.cpp). OpenExcel is false when there is no
    // workbook to fill.
    bool OpenExcel(const String& WorkbookName);
    void FillExcelSheet();
    // The record each table row was made from, by row, as the log line's
    // bytes (a space, the device's bytes, a space; "" for a row without one):
    // the text export writes a row's values from its own record.
    std::vector<AnsiString> rowRecords;
    void KeepRowRecord(int Row, const AnsiString& Record);

protected:
    void BindComponents() override;

private:
    // Width of the table's date column in pixels.
    int DateColumnRoom() const;
    Byte DeviceNumber() const;
    void SendCommand();
    void SendReadCommand();
    void ReadFailed();
    void ShowError(const String& Text, UINT Icon);
    void EnableInputs(bool Enabled);
    void TakeReplyRecords();
    void EndDay();
    void ResetReplyComplete();
    void CancelHeaderEdit();
    // The graph side's components of the form resource.
    void BindGraphComponents();
    // The open graph window i (1..graphCount) whose form is, or holds, Control; 0 for none.
    int GraphOfControl(TComponent* Control) const;
    // The window the popup menu was opened on, made the current one; 0 when there is none.
    int PopupGraph();
    // The data series of the value columns and the graph windows' column list
    // (mainform_graphs.cpp).
    void ClearDataSeries();
    void ClearColumnList();
    void AddColumnSeries(int Column);
    void AddRecordPoints(const TArchiveRecord& Record);
    void RenameColumnSeries(int Column);
};

extern TMainForm* MainForm;

inline constexpr std::u16string_view HelpDocumentName = u"HelpMoltren.doc";
// The help document in the first of the directories that holds it; "" when none does.
String FindHelpDocument(const String& CurrentDir, const String& ProgramDir);
