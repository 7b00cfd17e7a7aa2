// The main window's read road: the commands to the device, the replies that
// come back, the pauses and the reply time-out, and the end of a read.
#include "archive/archiverecord.h"
#include "archive/mainform.h"

#include "platform/core/dateutils.h"
#include "platform/core/sysutils.h"

namespace {

const String ReadCaption = u"Читать архив";
const String AbortCaption = u"Прервать";
// At most this much is read per receive event; the rest waits for the next one.
constexpr Integer ChunkSize = 1024;
constexpr int MaxChunksPerEvent = 64;

void Restart(TTimer* Timer) {
    Timer->SetEnabled(false);
    Timer->SetEnabled(true);
}

// The device writes its records in ASCII; anything else is taken as the
// platform's 8-bit text.
String RecordLine(const AnsiString& Text) {
    for (const AnsiChar c : Text)
        if (static_cast<unsigned char>(c) >= 0x80) return AnsiToString(Text);
    return String(Text.begin(), Text.end());
}

} // namespace

Byte TMainForm::DeviceNumber() const {
    return static_cast<Byte>(StrToInt(ComboBoxDevNum->GetText()));
}

void TMainForm::SendCommand() {
    ComPort->Write(txCommand.data(), static_cast<Integer>(txCommand.size()));
}

void TMainForm::ShowError(const String& Text, UINT Icon) {
    Beep();
    Application->MessageBox(Text, Application->GetTitle(), MB_OK | Icon);
}

// The reply time-out runs before the command is written: a write that fails
// (and raises) still ends the read by the time-out instead of leaving it open.
void TMainForm::Button3Click(TObject* Sender) {
    txCommand = ResetIndexFrame(DeviceNumber());
    fWaitResetReply = true;
    Restart(TimerComWaitPacket);
    SendCommand();
}

void TMainForm::Button4Click(TObject* Sender) {
    txCommand = ReadDayFrame(DeviceNumber(), currentDate);
    Restart(TimerComWaitPacket);
    SendCommand();
}

void TMainForm::ReadArchExecute(TObject* Sender) {
    if (BitBtn1->GetCaption() == AbortCaption) {
        // Taken up by the next receive event.
        fAbortRequested = true;
        return;
    }
    if (RadioGroup->GetItemIndex() == 1) {
        if (DateTimePickerStartDate->GetDate() > DateTimePickerFinish->GetDate()) {
            ShowError(u"Неверно задан временной интервал", MB_ICONERROR);
            return;
        }
        finishDate = DateTimePickerFinish->GetDate();
    }
    try {
        ComComboBox->ApplySettings();
        ComPort->Open();
        ComPort->SetBaudRate(StrToBaudRate(ComboBox1->GetText()));
        // Whatever arrived before this read (the reply to an abort's reset, line
        // noise) must not become the head of the first reply.
        ComPort->ClearBuffer(true, false);
    } catch (const EComPort&) {
        try {
            ComPort->Close();
        } catch (const EComPort&) {
            // The port is as closed as it gets; the box below says what failed.
        }
        ShowError(u"Ошибка открытия COM порта", MB_ICONERROR);
        return;
    }

    Screen->SetCursor(crHourGlass);
    currentDate = DateTimePickerStartDate->GetDate();
    CancelHeaderEdit();
    ClearDataSeries();
    Memo->GetLines()->Clear();
    ClearArchiveTable();
    ClearColumnList();
    records->Clear();
    BitBtn1->SetCaption(AbortCaption);
    ReadArch1->SetCaption(AbortCaption);
    fStopped = false;
    fAbortRequested = false;
    fResetAfterDay = false;
    fPacketStarted = false;
    rxBuffer.clear();
    EnableInputs(false);
    Button3Click(this);
}

void TMainForm::EnableInputs(bool Enabled) {
    ExcelExport->SetEnabled(Enabled);
    TextExport->SetEnabled(Enabled);
    for (TControl* control :
         std::initializer_list<TControl*>{ComComboBox, ComboBox1, ComboBoxDevNum, RadioGroup,
                                          DateTimePickerStartDate, DateTimePickerFinish})
        control->SetEnabled(Enabled);
}

void TMainForm::ComPortRxChar(TObject* Sender, Integer Count) {
    // A receive event is raised for bytes arriving, not for bytes waiting: when
    // more than one chunk was waiting, the rest is taken now, chunk by chunk,
    // or the end of a reply could sit unread until the reply time-out.
    // Bounded, so that a line that never stops talking cannot hold the window.
    for (int chunk = 0; chunk < MaxChunksPerEvent; ++chunk) {
        ComPort->ReadStr(rxChunk, ChunkSize);
        TakeRxChunk();
        if (rxChunk.size() < static_cast<std::size_t>(ChunkSize)) break;
    }
}

void TMainForm::TakeRxChunk() {
    // Between reads the line is drained and nothing else happens.
    if (fStopped || rxChunk.empty()) return;

    if (fAbortRequested) {
        TimerComWaitPacket->SetEnabled(false);
        fAbortRequested = false;
        fStopped = true;
        ParseReplyRecords(rxBuffer);
        Memo->GetLines()->AddStrings(logLines.get());
        // Only records actually collected: no day is in progress otherwise.
        if (records->GetCount() > 0) BuildArchiveGrid();
        logLines->Clear();
        rxBuffer.clear();
        FinishRead();
        txCommand = ResetIndexFrame(DeviceNumber());
        SendCommand();
        return;
    }

    if (rxChunk.front() == RecordStart) fPacketStarted = true;
    if (fPacketStarted) {
        rxBuffer += rxChunk;
        Restart(TimerComWaitPacket);
        if (fWaitResetReply) {
            if (rxBuffer.back() == RecordEnd) ResetReplyComplete();
        } else if (rxBuffer.find(PortionComplete) != AnsiString::npos) {
            TimerComWaitPacket->SetEnabled(false);
            TakeReplyRecords();
            TimerNextSend->SetEnabled(true);
        } else if (rxBuffer.find(DayComplete) != AnsiString::npos) {
            TimerComWaitPacket->SetEnabled(false);
            TakeReplyRecords();
            EndDay();
        }
    } else if (rxChunk.front() == DayComplete && !fWaitResetReply) {
        logLines->Clear();
        rxBuffer.clear();
        // The day has ended already and its reset is due: a second end (a
        // repeated reply, line noise) has no day to put into the table.
        if (TimerWaitReset->GetEnabled()) return;
        // The day's end as a reply of its own, after the day's "=" portions.
        TimerComWaitPacket->SetEnabled(false);
        TimerNextSend->SetEnabled(false);
        EndDay();
    }
}

void TMainForm::TakeReplyRecords() {
    ParseReplyRecords(rxBuffer);
    Memo->GetLines()->AddStrings(logLines.get());
    logLines->Clear();
    rxBuffer.clear();
    fPacketStarted = false;
}

void TMainForm::EndDay() {
    BuildArchiveGrid();
    fPacketStarted = false;
    TimerWaitReset->SetEnabled(true);
}

void TMainForm::ResetReplyComplete() {
    TimerComWaitPacket->SetEnabled(false);
    rxBuffer.clear();
    fWaitResetReply = false;
    if (!fResetAfterDay) {
        // The reset that opens the read: the first day follows.
        TimerSendREData->SetEnabled(true);
        return;
    }
    fResetAfterDay = false;
    if (RadioGroup->GetItemIndex() == 1) {
        records->Clear();
        if (currentDate < finishDate) {
            currentDate = IncDay(currentDate);
            TimerSendREData->SetEnabled(true);
            return;
        }
    }
    FinishRead();
}

void TMainForm::ParseReplyRecords(const AnsiString& Buffer) {
    for (AnsiString& text : CutReplyRecords(Buffer)) {
        recordText = std::move(text);
        const String line = u" " + RecordLine(recordText) + u" ";
        logLines->Add(line);
        records->Add(line);
    }
    StatusBar->GetPanels()->GetItem(1)->SetText(IntToStr(static_cast<Int64>(Buffer.size())) +
                                                u" байт принято");
    rxBuffer.clear();
}

void TMainForm::FinishRead() {
    // No pause or time-out may act on a read that is over.
    for (TTimer* timer : {TimerComWaitPacket, TimerNextSend, TimerSendREData, TimerWaitReset})
        timer->SetEnabled(false);
    fStopped = true;
    Screen->SetCursor(crDefault);
    BitBtn1->SetCaption(ReadCaption);
    ReadArch1->SetCaption(ReadCaption);
    EnableInputs(true);
}

void TMainForm::TimerComWaitPacketTimer(TObject* Sender) {
    TimerComWaitPacket->SetEnabled(false);
    // Records of the day's finished portions are already in the log; they go
    // into the table too rather than being lost with the unfinished day.
    if (records->GetCount() > 0) BuildArchiveGrid();
    // Finished before the box opens: the box's message loop delivers receive
    // events, which must find the read over.
    FinishRead();
    StatusBar->GetPanels()->GetItem(0)->SetText(u"Err");
    ShowError(u"Ошибка чтения архива", MB_ICONWARNING);
}

void TMainForm::TimerSendREDataTimer(TObject* Sender) {
    TimerSendREData->SetEnabled(false);
    Button4Click(this);
}

void TMainForm::TimerNextSendTimer(TObject* Sender) {
    TimerNextSend->SetEnabled(false);
    Restart(TimerComWaitPacket);
    SendCommand();
}

void TMainForm::TimerWaitResetTimer(TObject* Sender) {
    TimerWaitReset->SetEnabled(false);
    fResetAfterDay = true;
    Button3Click(this);
}
