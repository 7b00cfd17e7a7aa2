// The main window's read road: the commands to the device, the replies that
// come back, the pauses and the reply time-out, and the end of a read.
#include "archive/archiverecord.h"
#include "archive/mainform.h"
#include "serial/comportctrls.h"

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

} // namespace

Byte TMainForm::DeviceNumber() const {
    return static_cast<Byte>(StrToInt(ComboBoxDevNum->GetText()));
}

void TMainForm::SendCommand() {
    ComPort->Write(txCommand.data(), static_cast<Integer>(txCommand.size()));
}

// A command of the read, whose reply is awaited from now on: a reply is awaited
// exactly while its time-out runs. The time-out runs before the command is
// written: should the write fail in a way not reported here, the read still
// ends by the time-out instead of sticking.
void TMainForm::SendReadCommand() {
    Restart(TimerComWaitPacket);
    try {
        SendCommand();
    } catch (const EComPort&) {
        // An unplugged device: the read ends at once with its own message,
        // not the port's error now and the time-out's a moment later.
        ReadFailed();
    }
}

void TMainForm::ShowError(const String& Text, UINT Icon) {
    Beep();
    Application->MessageBox(Text, Application->GetTitle(), MB_OK | Icon);
}

void TMainForm::Button3Click(TObject* Sender) {
    txCommand = ResetIndexFrame(DeviceNumber());
    fWaitResetReply = true;
    SendReadCommand();
}

void TMainForm::Button4Click(TObject* Sender) {
    txCommand = ReadDayFrame(DeviceNumber(), currentDate);
    SendReadCommand();
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
    ClearDayRecords();
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

    // Bytes that come in a pause belong to no reply: a late reply to an
    // aborted read's reset, a reply that came twice, line noise. Collected,
    // they would be taken for the head of the next reply or end its day early.
    if (!TimerComWaitPacket->GetEnabled()) return;

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
        // The day's end as a reply of its own, after the day's "=" portions.
        logLines->Clear();
        rxBuffer.clear();
        TimerComWaitPacket->SetEnabled(false);
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
        ClearDayRecords();
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
        const String line = u" " + DeviceText(recordText) + u" ";
        logLines->Add(line);
        // The bytes go along with the line through the day's sort, for the
        // text export, which writes them as the device sent them.
        records->AddObject(line, &dayRecordBytes.emplace_back(recordText));
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
    ReadFailed();
}

void TMainForm::ReadFailed() {
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
    SendReadCommand();
}

void TMainForm::TimerWaitResetTimer(TObject* Sender) {
    TimerWaitReset->SetEnabled(false);
    fResetAfterDay = true;
    Button3Click(this);
}
