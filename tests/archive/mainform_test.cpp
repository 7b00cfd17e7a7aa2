// The main window read from its resource, under the offscreen platform.
#include "archive/mainform.h"
#include "serial/comportctrls.h"

#include "tests/archive/programtest.h"
#include "tests/support/fixedclock.h"
#include "tests/support/guiprobe.h"
#include "tests/support/picturefile.h"

#include <filesystem>
#include <fstream>

namespace {

class MainWindow : public ProgramTest {
protected:
    void Ports(const std::string& lines) { std::ofstream(dir.path / "serialcomm") << lines; }
};

// Only what the program's behaviour rests on: the port's line settings, the
// choices offered, the timers and the forms' order. Captions and layout stay
// in the resource, and the manual's test quotes the captions.
TEST_F(MainWindow, ThePortTheChoicesAndTheTimersComeFromTheResource) {
    Ports("COM1\nCOM2\n");
    CreateForms();
    TMainForm* f = MainForm;
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(Application->GetMainForm(), f);
    EXPECT_EQ(f->GetCaption(), u"Moltren - программа для чтения архива прибора типа \"КРОНТ\"");

    EXPECT_EQ(f->ComComboBox->GetComPort(), f->ComPort);
    EXPECT_EQ(f->ComComboBox->GetItems()->GetCommaText(), u"COM1,COM2");
    EXPECT_EQ(f->ComComboBox->GetText(), u"COM1");
    EXPECT_EQ(f->ComboBox1->GetItems()->GetCommaText(), u"9600,4800,2400,1200");
    EXPECT_EQ(f->ComboBox1->GetItemIndex(), 0);
    EXPECT_EQ(f->ComboBox1->GetStyle(), csDropDownList);
    ASSERT_EQ(f->ComboBoxDevNum->GetItems()->GetCount(), 99);
    EXPECT_EQ(f->ComboBoxDevNum->GetItems()->GetStrings(98), u"99");
    EXPECT_EQ(f->ComboBoxDevNum->GetText(), u"1");
    EXPECT_EQ(f->ComboBoxDevNum->GetMaxLength(), 3);
    EXPECT_EQ(f->RadioGroup->GetItemIndex(), 0);
    EXPECT_EQ(f->PageControl1->GetActivePage(), f->TabSheet1);
    EXPECT_EQ(f->StringGrid->GetCells(0, 0), u"Дата");
    EXPECT_TRUE(f->StringGrid->GetOptions().Contains(goColSizing));
    EXPECT_FALSE(f->Edit1->GetVisible());
    EXPECT_TRUE(f->Memo->GetReadOnly());
    EXPECT_FALSE(f->Button3->GetVisible() || f->Button4->GetVisible());

    // The line as the device wants it.
    EXPECT_EQ(f->ComPort->GetPort(), u"COM1");
    EXPECT_EQ(f->ComPort->GetBaudRate(), br9600);
    EXPECT_EQ(f->ComPort->GetDataBits(), dbEight);
    EXPECT_EQ(f->ComPort->GetStopBits(), sbTwoStopBits);
    EXPECT_EQ(f->ComPort->GetParity()->GetBits(), prNone);
    EXPECT_TRUE(f->ComPort->GetDiscardNull());
    EXPECT_EQ(f->ComPort->GetFlowControl()->GetControlDTR(), dtrDisable);
    EXPECT_EQ(f->ComPort->GetFlowControl()->GetControlRTS(), rtsDisable);
    EXPECT_FALSE(f->ComPort->GetFlowControl()->GetXonXoffIn());
    EXPECT_FALSE(f->ComPort->GetFlowControl()->GetOutCTSFlow());
    EXPECT_EQ(f->ComPort->GetEvents(), (TComEvents{evRxChar, evTxEmpty, evRxFlag, evRing, evBreak, evCTS,
                                                   evDSR, evError, evRLSD, evRx80Full}));
    EXPECT_EQ(f->ComPort->OnRxChar.MethodName(), "ComPortRxChar");

    EXPECT_EQ(f->SaveDialog->GetFilter(), u"Текстовый документ (*.txt)|*.txt|Все файлы (*.*)|*.*");
    EXPECT_EQ(f->SaveDialog->GetDefaultExt(), u"*.txt");
    EXPECT_EQ(f->SaveDialog->GetInitialDir(), GetCurrentDir());

    const std::pair<TTimer*, Cardinal> timers[] = {{f->TimerComWaitPacket, 3500},
                                                   {f->TimerNextSend, 300},
                                                   {f->TimerSendREData, 300},
                                                   {f->TimerWaitReset, 300}};
    for (auto [timer, interval] : timers) {
        EXPECT_FALSE(timer->GetEnabled());
        EXPECT_EQ(timer->GetInterval(), interval);
        EXPECT_EQ(timer->OnTimer.MethodName(), std::string(UTF8Encode(timer->GetName())) + "Timer");
    }

    // The members start empty; the string lists exist from OnCreate on.
    EXPECT_FALSE(f->fPacketStarted || f->fWaitResetReply || f->fResetAfterDay || f->fAbortRequested ||
                 f->fStopped);
    EXPECT_TRUE(f->rxChunk.empty() && f->rxBuffer.empty() && f->recordText.empty());
    ASSERT_TRUE(f->logLines && f->records);
    EXPECT_EQ(f->logLines->GetCount(), 0);
    EXPECT_TRUE(f->excelApp.IsEmpty() && f->excelSheet.IsEmpty());

    // The other two forms exist, the main window's first.
    EXPECT_EQ(AboutBox->GetCaption(), u"О программе");
    EXPECT_EQ(GraphSettings->CheckListBoxValue->GetItems()->GetCount(), 0);
}

TEST_F(MainWindow, FontsResolveToInstalledFacesAndOnlyTheToolBarShowsHints) {
    CreateForms();
    TMainForm* f = MainForm;
    // The resource's face names stay; the screen draws a metric-close face.
    EXPECT_EQ(f->Label1->GetFont()->GetName(), u"Tahoma");
    if (!probe::FontInstalled(u"Liberation Sans"))
        GTEST_SKIP() << "Liberation Sans is not installed (scripts/setup installs fonts-liberation2)";
    EXPECT_EQ(probe::FontFamily(*f->Label1), u"Liberation Sans");
    EXPECT_EQ(AboutBox->GetFont()->GetName(), u"MS Sans Serif");
    EXPECT_EQ(probe::FontFamily(*AboutBox->OKButton), u"Liberation Sans");
    EXPECT_EQ(probe::ToolTip(*f->ToolButton1), u"Читать архив устройства");
    EXPECT_EQ(probe::ToolTip(*f->ToolButton3), u"Экспортировать в текстовый документ");
    EXPECT_TRUE(probe::ToolTip(*f->BitBtn1).empty());
}

TEST_F(MainWindow, BothDatePickersShowTodayAndAreEnabled) {
    const FixedClock clock(EncodeDate(2023, 3, 15) + EncodeTime(23, 59, 59, 999));
    CreateForms();
    TMainForm* f = MainForm;
    EXPECT_EQ(f->DateTimePickerStartDate->GetDate(), EncodeDate(2023, 3, 15));
    EXPECT_EQ(f->DateTimePickerFinish->GetDate(), EncodeDate(2023, 3, 15));
    EXPECT_TRUE(f->DateTimePickerStartDate->GetEnabled());
    EXPECT_TRUE(f->DateTimePickerFinish->GetEnabled());
    EXPECT_TRUE(f->Label5->GetEnabled());
    // The radio group asks for the interval's end only in interval mode.
    f->RadioGroup->SetItemIndex(1);
    EXPECT_TRUE(f->DateTimePickerFinish->GetEnabled());
    f->RadioGroup->SetItemIndex(0);
    EXPECT_FALSE(f->DateTimePickerFinish->GetEnabled());
    EXPECT_FALSE(f->Label5->GetEnabled());
    EXPECT_TRUE(f->DateTimePickerStartDate->GetEnabled());
    EXPECT_TRUE(f->Label4->GetEnabled());
}

// A 12-hour clock's texts are longer than the Russian ones the column was laid out for.
TEST_F(MainWindow, TheDateColumnShowsALateEveningWholeUnderAnEnglishLocale) {
    FormatSettings = EnglishFormatSettings();
    CreateForms();
    TBitmap probe;
    probe.GetCanvas()->GetFont()->Assign(MainForm->StringGrid->GetFont());
    const String text = DateTimeToStr(EncodeDate(2026, 12, 31) + EncodeTime(23, 59, 59, 0));
    EXPECT_LE(probe.GetCanvas()->TextWidth(text) + 4, MainForm->StringGrid->GetColWidths(0))
        << UTF8Encode(text);
}

TEST_F(MainWindow, ExitEndsTheLoop) {
    probe::Later([] {
        ASSERT_NE(MainForm, nullptr);
        EXPECT_TRUE(MainForm->GetVisible());
        MainForm->N1->Click();
    });
    EXPECT_EQ(WinMain(), 0);
    EXPECT_TRUE(Application->GetTerminated());
    EXPECT_TRUE(requests.empty());
}

TEST_F(MainWindow, AnExceptionFromAHandlerIsShownAndTheWindowStaysUsable) {
    CreateForms();
    TMainForm* f = MainForm;
    f->Show();
    int runs = 0;
    f->ReadArch->OnExecute.Bind([&](TObject*) {
        if (++runs == 1) throw Exception(u"Ошибка открытия COM порта");
    });
    // The user presses the button twice.
    probe::Click(*f->BitBtn1);
    probe::Click(*f->BitBtn1);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Text, u"Ошибка открытия COM порта.");
    EXPECT_EQ(runs, 2);
    EXPECT_TRUE(f->GetVisible());
    EXPECT_TRUE(f->BitBtn1->GetEnabled());
}

TEST_F(MainWindow, WithoutSerialPortsTheListIsEmptyAndTheWindowOpens) {
    CreateForms();
    TMainForm* f = MainForm;
    EXPECT_EQ(f->ComComboBox->GetItems()->GetCount(), 0);
    EXPECT_EQ(f->ComComboBox->GetText(), u"");
    f->Show();
    EXPECT_TRUE(WaitFor([&] { return probe::Shown(*f); }));
}

TEST_F(MainWindow, TheAboutBoxIsShownModally) {
    CreateForms();
    answer = [](const TDialogRequest& r) {
        EXPECT_EQ(r.Form, AboutBox);
        AboutBox->OKButton->Click();
        return TDialogAnswer{};
    };
    MainForm->N4->Click();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Kind, TDialogKind::ModalForm);
    EXPECT_FALSE(AboutBox->GetVisible());
}

// Renders the window as a desktop would show it, for a person to look at; the
// picture goes where the tests keep pictures, never into the sources.
TEST_F(MainWindow, RendersToAPicture) {
    Ports("COM1\nCOM3\n");
    CreateForms();
    TMainForm* f = MainForm;
    f->SetWindowState(wsNormal);
    f->Show();
    f->StringGrid->SetColCount(5);
    f->StringGrid->SetRowCount(4);
    for (int c = 1; c < 5; ++c) f->StringGrid->SetCells(c, 0, u"Значение" + IntToStr(c));
    f->StringGrid->SetCells(0, 1, u"05.10.2009 12:30:00");
    f->StringGrid->SetCells(1, 1, u"1,5");
    f->StringGrid->SetCells(2, 1, u"0");
    f->StringGrid->SetCells(3, 1, u"Err.3");
    f->StringGrid->SetCells(4, 1, u"Err.2");
    f->StatusBar->GetPanels()->GetItem(1)->SetText(u"42 байт принято");
    ASSERT_TRUE(WaitFor([&] { return probe::Shown(*f); }));
    probe::ProcessEvents();
    const probe::Picture picture = probe::Grab(*f);
    EXPECT_EQ(picture.Width(), 756);
    EXPECT_TRUE(picture.SavePng(testsupport::PictureFile("mainform.png")));
    // The panel is the system's face colour and the grid's cells are white.
    const probe::Rgb face =
        picture.Pixel(f->Panel1->GetLeft() + 3, f->GetClientOrigin().Y - probe::ScreenOrigin(*f).Y + 30);
    EXPECT_GT(face.Lightness(), 180);
    // Below the last row the grid shows its own colour, beside the dates too.
    const TPoint grid = probe::WindowSize(*f->StringGrid);
    const TPoint belowDates = probe::MapTo(*f->StringGrid, *f, TPoint{20, grid.Y - 20});
    const TPoint belowValues = probe::MapTo(*f->StringGrid, *f, TPoint{grid.X - 40, grid.Y - 20});
    EXPECT_EQ(picture.Pixel(belowDates.X, belowDates.Y), picture.Pixel(belowValues.X, belowValues.Y));
}

} // namespace
