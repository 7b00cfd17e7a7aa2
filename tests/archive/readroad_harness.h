#pragma once
// The main window for the read road's tests: timers on a manual clock, every
// dialog and beep recorded, and the port list pointed at a directory of the
// test's own. LineHarness adds the recording comm backend, on which the test
// plays the device chunk by chunk (or lets the simulator's protocol core
// answer); tests over a pseudo-terminal use FormHarness alone.

#include "archive/mainform.h"
#include "archive/moltren.h"
#include "moltren_resources.h"
#include "platform/gui/forms.h"
#include "platform/win32/comm_fake.h"
#include "platform/win32/serialcomm.h"
#include "tests/support/tempdir.h"
#include "tests/support/wait.h"
#include "tools/device-sim/simcore.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace readroad {

using Table = std::vector<std::vector<std::string>>;
using Lines = std::vector<std::string>;

inline std::string Frame(std::initializer_list<int> bytes) {
    std::string s;
    for (const int b : bytes) s += static_cast<char>(b);
    return s;
}

// A record as the device frames it, with the header bytes 01 02 03.
inline std::string Record(const std::string& text) {
    return "\xF0\x01\x02\x03" + text + "\xFF";
}

// The reading notes' worked example: device 7, 5 October, start picker in 2009.
inline devsim::Archive WorkedArchive() {
    devsim::Archive a;
    a.Add({10, 5}, "05 10 12 30 1.5 0 9999 abc");
    a.Add({10, 5}, "05 10 13 00 2.25 0 10 7");
    return a;
}
inline const Table WorkedTable = {
    {"Дата", "Значение1", "Значение2", "Значение3", "Значение4"},
    {"05.10.2009 12:30:00", "1,5", "0", "Err.3", "Err.2"},
    {"05.10.2009 13:00:00", "2,25", "0", "10", "7"},
};
inline const Lines WorkedLog = {" 05 10 12 30 1.5 0 9999 abc ", " 05 10 13 00 2.25 0 10 7 "};

inline devsim::DeviceOptions DeviceNumber(int n, std::size_t portion = 0,
                                          devsim::DayEndStyle end = devsim::DayEndStyle::Inline) {
    devsim::DeviceOptions o;
    o.device = n;
    o.portion = portion;
    o.dayEnd = end;
    return o;
}

class FormHarness {
public:
    FormHarness() {
        // A fresh application object: the clock, the main form and the dialogs are its.
        // The program's units, then a fresh application object of the forms unit.
        InitUnits(ProgramUnits());
        DoneFormsUnit();
        InitFormsUnit();
        std::filesystem::create_directories(dir.path / "tty");
        win32::SetSerialCommSources(dir.path / "tty", dir.path / "moltren" / "serialcomm");
        FormatSettings = RussianFormatSettings();
        Application->SetClock(&clock);
        SetDialogResponder([this](const TDialogRequest& request) {
            dialogs.push_back(request);
            if (onDialog) onDialog(request);
            TDialogAnswer ok;
            ok.Result = IDOK;
            return ok;
        });
        SetBeepHandler([this] { ++beeps; });
    }
    virtual ~FormHarness() {
        if (form) form->Free();
        SetBeepHandler({});
        SetDialogResponder({});
        Application->SetClock(nullptr);
        DoneFormsUnit();
        InitFormsUnit();
        win32::SetSerialCommSources({}, {});
    }
    FormHarness(const FormHarness&) = delete;
    FormHarness& operator=(const FormHarness&) = delete;

    // Created once the ports the test wants listed are registered.
    void CreateForm() { Application->CreateForm(form); }

    void Device(int n) { form->ComboBoxDevNum->SetItemIndex(n - 1); }
    void Day(TDateTime day) {
        form->RadioGroup->SetItemIndex(0);
        form->DateTimePickerStartDate->SetDate(day);
    }
    void Interval(TDateTime first, TDateTime last) {
        form->RadioGroup->SetItemIndex(1);
        form->DateTimePickerStartDate->SetDate(first);
        form->DateTimePickerFinish->SetDate(last);
    }
    // The operator's read command. An exception that escapes it goes to the
    // application's box, as from the message loop.
    void Read() {
        try {
            form->ReadArch->Execute();
        } catch (...) {
            Application->HandleException(form);
        }
    }
    bool Reading() const { return form->BitBtn1->GetCaption() == u"Прервать"; }

    void Pump() { Application->ProcessMessages(); }

    // Fires the pause that runs, if any; the reply time-out fires only when a
    // test moves the clock on purpose.
    bool FirePause() {
        for (TTimer* t : {form->TimerSendREData, form->TimerNextSend, form->TimerWaitReset}) {
            if (clock.IsRunning(t)) {
                clock.Advance(static_cast<unsigned>(clock.DueIn(t)));
                return true;
            }
        }
        return false;
    }
    bool AnyTimerRunning() const {
        for (TTimer* t :
             {form->TimerComWaitPacket, form->TimerSendREData, form->TimerNextSend, form->TimerWaitReset})
            if (clock.IsRunning(t)) return true;
        return false;
    }

    Lines Row(int r) const {
        Lines cells;
        for (int c = 0; c < form->StringGrid->GetColCount(); ++c)
            cells.push_back(StringToAnsi(form->StringGrid->GetCells(c, r)));
        return cells;
    }
    Table Grid() const {
        Table rows;
        for (int r = 0; r < form->StringGrid->GetRowCount(); ++r) rows.push_back(Row(r));
        return rows;
    }
    Lines Log() const {
        Lines lines;
        TStrings* l = form->Memo->GetLines();
        for (int i = 0; i < l->GetCount(); ++i) lines.push_back(StringToAnsi(l->GetStrings(i)));
        return lines;
    }
    std::string Panel(int i) const {
        return StringToAnsi(form->StatusBar->GetPanels()->GetItem(i)->GetText());
    }

    TempDir dir{"moltren-readroad"};
    TManualClock clock;
    TMainForm* form = nullptr;
    std::vector<TDialogRequest> dialogs;
    std::function<void(const TDialogRequest&)> onDialog;
    int beeps = 0;
};

class LineHarness : public FormHarness {
public:
    LineHarness() {
        CreateForm();
        Device(7);
        Day(EncodeDate(2009, 10, 5));
    }
    ~LineHarness() override {
        // The port's device belongs to the recording backend.
        form->Free();
        form = nullptr;
    }

    // The bytes written since the last call.
    std::string Sent() {
        const std::string all = comm.Written();
        std::string fresh = all.substr(seen);
        seen = all.size();
        return fresh;
    }

    // One receive event that reads exactly these bytes.
    void Deliver(std::string_view chunk) {
        ASSERT_TRUE(comm.Receive(chunk));
        // The port's event thread waits again only once the main thread has
        // run the receive handler.
        ASSERT_TRUE(testsupport::WaitUntil([&] { return comm.WaitPending(std::chrono::milliseconds(0)); },
                                           [&] { Pump(); }));
    }

    // Lets the device answer the commands until the read ends: each reply is
    // cut by `split` into the chunks of its receive events, and each pause
    // passes once the device has nothing more to say.
    void Serve(devsim::Device& device,
               const std::function<std::vector<std::string>(const std::string&)>& split = {}) {
        for (int step = 0; step < 100000 && Reading(); ++step) {
            bool answered = false;
            for (const auto& reply : device.Receive(Sent())) {
                answered = true;
                for (const auto& chunk : split ? split(reply) : std::vector<std::string>{reply})
                    Deliver(chunk);
            }
            if (!answered && !FirePause()) return;
        }
    }

    win32::RecordingComm comm;

private:
    std::size_t seen = 0;
};

} // namespace readroad
