#include "archive/mainform.h"
#include "serial/comportctrls.h"

#include "archive/about.h"
#include "platform/core/dateutils.h"
#include "platform/core/sysutils.h"
#include "platform/gui/graphics.h"

#include <algorithm>

TMainForm* MainForm = nullptr;

const ClassInfo& TMainForm::StaticClass() {
    using M = TMainForm;
    static const MethodInfo methods[] = {
        MakeMethod<&M::FormCreate>("FormCreate"),
        MakeMethod<&M::RadioGroupClick>("RadioGroupClick"),
        MakeMethod<&M::N1Click>("N1Click"),
        MakeMethod<&M::N4Click>("N4Click"),
        MakeMethod<&M::ReadArchExecute>("ReadArchExecute"),
        MakeMethod<&M::ComPortRxChar>("ComPortRxChar"),
        MakeMethod<&M::TimerComWaitPacketTimer>("TimerComWaitPacketTimer"),
        MakeMethod<&M::TimerNextSendTimer>("TimerNextSendTimer"),
        MakeMethod<&M::TimerSendREDataTimer>("TimerSendREDataTimer"),
        MakeMethod<&M::TimerWaitResetTimer>("TimerWaitResetTimer"),
        MakeMethod<&M::Button3Click>("Button3Click"),
        MakeMethod<&M::Button4Click>("Button4Click"),
        MakeMethod<&M::StringGridDblClick>("StringGridDblClick"),
        MakeMethod<&M::Edit1Exit>("Edit1Exit"),
        MakeMethod<&M::MemoDblClick>("MemoDblClick"),
        MakeMethod<&M::ExcelExportExecute>("ExcelExportExecute"),
        MakeMethod<&M::TextExportExecute>("TextExportExecute"),
        MakeMethod<&M::N5Click>("N5Click"),
        MakeMethod<&M::AddGraphicExecute>("AddGraphicExecute"),
        MakeMethod<&M::MenuItem1Click>("MenuItem1Click"),
        MakeMethod<&M::MenuItem4Click>("MenuItem4Click"),
        MakeMethod<&M::N6Click>("N6Click"),
    };
    static const ClassInfo ci = MakeClassInfo<TMainForm>("TMainForm", &TForm::StaticClass(), methods);
    return ci;
}

void TMainForm::BindComponents() {
    Bind(ToolBar1, u"ToolBar1");
    Bind(ToolButton1, u"ToolButton1");
    Bind(ToolButton2, u"ToolButton2");
    Bind(ToolButton3, u"ToolButton3");
    Bind(Panel1, u"Panel1");
    Bind(Label1, u"Label1");
    Bind(ComComboBox, u"ComComboBox");
    Bind(Label2, u"Label2");
    Bind(ComboBox1, u"ComboBox1");
    Bind(Label3, u"Label3");
    Bind(ComboBoxDevNum, u"ComboBoxDevNum");
    Bind(RadioGroup, u"RadioGroup");
    Bind(Label4, u"Label4");
    Bind(DateTimePickerStartDate, u"DateTimePickerStartDate");
    Bind(Label5, u"Label5");
    Bind(DateTimePickerFinish, u"DateTimePickerFinish");
    Bind(BitBtn1, u"BitBtn1");
    Bind(BitBtn2, u"BitBtn2");
    Bind(BitBtn3, u"BitBtn3");
    Bind(Button3, u"Button3");
    Bind(Button4, u"Button4");
    Bind(PageControl1, u"PageControl1");
    Bind(TabSheet1, u"TabSheet1");
    Bind(TabSheet3, u"TabSheet3");
    Bind(StringGrid, u"StringGrid");
    Bind(Edit1, u"Edit1");
    Bind(Memo, u"Memo");
    Bind(StatusBar, u"StatusBar");
    Bind(MainMenu, u"MainMenu");
    Bind(MenuFile, u"MenuFile");
    Bind(N1, u"N1");
    Bind(MenuActions, u"MenuActions");
    Bind(ReadArch1, u"ReadArch1");
    Bind(ExcelExport1, u"ExcelExport1");
    Bind(TextExport1, u"TextExport1");
    Bind(MenuHelp, u"MenuHelp");
    Bind(N5, u"N5");
    Bind(N4, u"N4");
    Bind(ComPort, u"ComPort");
    Bind(ImageList, u"ImageList");
    Bind(ActionList, u"ActionList");
    Bind(ReadArch, u"ReadArch");
    Bind(ExcelExport, u"ExcelExport");
    Bind(TextExport, u"TextExport");
    Bind(SaveDialog, u"SaveDialog");
    Bind(TimerComWaitPacket, u"TimerComWaitPacket");
    Bind(TimerNextSend, u"TimerNextSend");
    Bind(TimerSendREData, u"TimerSendREData");
    Bind(TimerWaitReset, u"TimerWaitReset");
    BindGraphComponents();
}

TMainForm::TMainForm(TComponent* AOwner) : TForm(AOwner) {
    GraphHost = this;
}

TMainForm::~TMainForm() {
    if (GraphHost == this) GraphHost = nullptr;
}

void TMainForm::FormCreate(TObject* Sender) {
    DateTimePickerStartDate->SetDate(Date());
    SaveDialog->SetInitialDir(GetCurrentDir());
    DateTimePickerFinish->SetDate(Date());
    StringGrid->SetCells(0, 0, u"Дата");
    StringGrid->SetDefaultColWidth(65);
    StringGrid->SetColWidths(0, std::max(107, DateColumnRoom()));
    logLines = MakeOwned<TStringList>();
    records = MakeOwned<TStringList>();
    PageControl1->SetActivePage(TabSheet1);
}

// Room for the widest date and time the table writes: where the locale's dates are longer than
// "dd.MM.yyyy H:mm:ss" (a 12-hour clock with AM and PM) a cut cell would hide which half of the day
// a record belongs to.
int TMainForm::DateColumnRoom() const {
    TBitmap probe;
    TCanvas* canvas = probe.GetCanvas();
    canvas->GetFont()->Assign(StringGrid->GetFont());
    const TDateTime day = EncodeDate(2000, 12, 28);
    int widest = 0;
    for (const int hour : {10, 22})
        widest = std::max(widest, canvas->TextWidth(DateTimeToStr(day + EncodeTime(hour, 58, 58, 0))));
    // The cell's margin before its text and a pixel or two after it.
    return widest + 6;
}

// The interval's end is asked for only when an interval is read.
void TMainForm::RadioGroupClick(TObject* Sender) {
    const bool interval = RadioGroup->GetItemIndex() == 1;
    Label4->SetEnabled(true);
    DateTimePickerStartDate->SetEnabled(true);
    Label5->SetEnabled(interval);
    DateTimePickerFinish->SetEnabled(interval);
}

void TMainForm::N1Click(TObject* Sender) {
    Close();
}

void TMainForm::N4Click(TObject* Sender) {
    AboutBox->ShowModal();
}
