// The main window on a real X server: its shortcuts act from every control
// the operator may be in, Return presses the focused button, a date edit's
// calendar drops by its keys, and the controls a read disables look disabled.
#include "serial/comportctrls.h"
#include "tests/archive/programtest.h"
#include "tests/archive/readroad_harness.h"
#include "tests/support/guiprobe.h"
#include "tests/support/xserver.h"

namespace {

class MainWindowOnX : public ProgramTest {
protected:
    // The main window shown, its commands noting themselves in `log` (R, E, T, H)
    // instead of acting.
    TMainForm* ShowLoggingCommands() {
        CreateForms();
        TMainForm* f = MainForm;
        f->ReadArch->OnExecute.Bind([this](TObject*) { log += "R"; });
        f->ExcelExport->OnExecute.Bind([this](TObject*) { log += "E"; });
        f->TextExport->OnExecute.Bind([this](TObject*) { log += "T"; });
        f->N5->OnClick.Bind([this](TObject*) { log += "H"; });
        f->Show();
        return f;
    }
    std::string log;
};

TEST_F(MainWindowOnX, ShortcutsActFromEveryControl) {
    TMainForm* f = ShowLoggingCommands();
    ASSERT_TRUE(xserver::Activate(*f));
    const std::pair<const char*, const TControl*> places[] = {
        {"port", f->ComComboBox},
        {"speed", f->ComboBox1},
        {"device number", f->ComboBoxDevNum},
        {"radio group", f->RadioGroup},
        {"start date", f->DateTimePickerStartDate},
        {"finish date", f->DateTimePickerFinish},
        {"read button", f->BitBtn1},
        {"excel button", f->BitBtn2},
        {"text button", f->BitBtn3},
        {"table", f->StringGrid},
    };
    for (const auto& [name, control] : places) {
        ASSERT_TRUE(xserver::Focus(*control)) << name;
        log.clear();
        ASSERT_TRUE(xserver::Type("ctrl+r ctrl+e ctrl+t F1"));
        EXPECT_EQ(log, "RETH") << name;
    }
    // The log page, and the header editor while it is open.
    f->PageControl1->SetActivePageIndex(1);
    ASSERT_TRUE(xserver::Focus(*f->Memo));
    log.clear();
    ASSERT_TRUE(xserver::Type("ctrl+r ctrl+e ctrl+t F1"));
    EXPECT_EQ(log, "RETH") << "log";
    f->PageControl1->SetActivePageIndex(0);
    f->Edit1->Show();
    ASSERT_TRUE(xserver::Focus(*f->Edit1));
    log.clear();
    ASSERT_TRUE(xserver::Type("ctrl+t"));
    EXPECT_EQ(log, "T") << "header editor";
    // A graph window beside the main window.
    f->AddGraphic->Execute();
    ASSERT_TRUE(xserver::Activate(*f->graphs[1].graphForm));
    log.clear();
    ASSERT_TRUE(xserver::Type("ctrl+r ctrl+e ctrl+t F1"));
    EXPECT_EQ(log, "RETH") << "graph window";
    EXPECT_TRUE(requests.empty());
}

TEST_F(MainWindowOnX, ReturnPressesTheFocusedButton) {
    TMainForm* f = ShowLoggingCommands();
    ASSERT_TRUE(xserver::Activate(*f));
    for (TBitBtn* b : {f->BitBtn1, f->BitBtn2, f->BitBtn3}) {
        ASSERT_TRUE(xserver::Focus(*b));
        ASSERT_TRUE(xserver::Type("Return"));
        ASSERT_TRUE(xserver::Type("space"));
    }
    EXPECT_EQ(log, "RREETT");
}

// The start date as the operator sets it in the short date format of either locale: a click on the
// day chooses it, typed digits replace it and move on; Left and Right go between the sections.
TEST_F(MainWindowOnX, DigitsTypedAfterAClickReplaceTheSectionClicked) {
    TMainForm* f = ShowLoggingCommands();
    ASSERT_TRUE(xserver::Activate(*f));
    TDateTimePicker* start = f->DateTimePickerStartDate;
    struct Row {
        const char* locale;
        TFormatSettings format;
        const char* keys;
        TDateTime date;
        const char16_t* shown;
    };
    const Row rows[] = {
        {"ru_RU", RussianFormatSettings(), "0 1", EncodeDate(2026, 12, 1), u"01.12.2026"},
        {"ru_RU", RussianFormatSettings(), "0 1 Right 2 0 2 7 Left Left 1 5", EncodeDate(2027, 12, 15),
         u"15.12.2027"},
        {"C", EnglishFormatSettings(), "0 1", EncodeDate(2026, 12, 1), u"12/01/2026"},
        {"C", EnglishFormatSettings(), "0 1 Left Left 0 3", EncodeDate(2026, 3, 1), u"03/1/2026"},
    };
    for (const Row& row : rows) {
        FormatSettings = row.format;
        start->SetDateFormat(dfShort);
        start->SetDate(EncodeDate(2026, 12, 8));
        // The middle of the day's digits: "08.12.2026", "12/8/2026".
        const String shown = probe::DateText(*start);
        const auto day = shown.find(u'8');
        ASSERT_NE(day, String::npos) << row.locale << " " << UTF8Encode(shown);
        ASSERT_TRUE(xserver::Click(*start, probe::DateCharacterAt(*start, static_cast<int>(day))));
        ASSERT_TRUE(xserver::Type(row.keys));
        EXPECT_EQ(start->GetDate(), row.date) << row.locale << " " << row.keys;
        EXPECT_EQ(probe::DateText(*start), row.shown) << row.locale << " " << row.keys;
        xserver::Keep(xserver::Picture(*start),
                      "start-date-typed-" + std::to_string(&row - rows) + "-" + row.locale);
    }
    EXPECT_TRUE(requests.empty());
}

// F4 and Alt+Down drop a date edit's calendar as they drop a combo box's list, the date left as it
// is; while it is open its highlight is no choice: Escape closes it with the date unchanged, Return
// takes the highlighted day.
TEST_F(MainWindowOnX, F4AndAltDownDropTheCalendarAndLeaveTheDate) {
    TMainForm* f = ShowLoggingCommands();
    ASSERT_TRUE(xserver::Activate(*f));
    TDateTimePicker* start = f->DateTimePickerStartDate;
    const TDateTime day = EncodeDate(2026, 12, 9);
    for (const char* drop : {"alt+Down", "F4"}) {
        start->SetDate(day);
        ASSERT_TRUE(xserver::Click(*start, probe::DateCharacterAt(*start, 1))) << drop;
        ASSERT_TRUE(xserver::Type(drop));
        EXPECT_TRUE(probe::WaitFor([&] { return probe::CalendarShown(*start); })) << drop;
        EXPECT_EQ(start->GetDate(), day) << drop;
        if (drop[0] == 'a') xserver::Keep(xserver::Picture(*f), "mainform-start-date-calendar-dropped");
        ASSERT_TRUE(xserver::Type("Right Down"));
        EXPECT_EQ(start->GetDate(), day) << drop;
        ASSERT_TRUE(xserver::Type("Escape"));
        EXPECT_TRUE(probe::WaitFor([&] { return !probe::CalendarShown(*start); })) << drop;
        EXPECT_EQ(start->GetDate(), day) << drop;
        EXPECT_EQ(probe::DateText(*start), u"09.12.2026") << drop;
    }
    ASSERT_TRUE(xserver::Type("F4"));
    ASSERT_TRUE(probe::WaitFor([&] { return probe::CalendarShown(*start); }));
    ASSERT_TRUE(xserver::Type("Right Return"));
    EXPECT_TRUE(probe::WaitFor([&] { return !probe::CalendarShown(*start); }));
    EXPECT_EQ(start->GetDate(), day + 1);
    EXPECT_EQ(probe::DateText(*start), u"10.12.2026");
    EXPECT_TRUE(log.empty() && requests.empty());
}

// Tab and Shift+Tab pass through the date edits as through any control, in the window's order.
TEST_F(MainWindowOnX, TabLeavesADateEdit) {
    TMainForm* f = ShowLoggingCommands();
    ASSERT_TRUE(xserver::Activate(*f));
    ASSERT_TRUE(xserver::Focus(*f->RadioGroup));
    const std::vector<const TWinControl*> order{f->RadioGroup, f->DateTimePickerStartDate,
                                                f->DateTimePickerFinish, f->BitBtn1};
    xserver::ExpectTabWalk(order);
}

TEST(MainWindowOnXDuringARead, TheControlsAReadDisablesLookDisabled) {
    readroad::LineHarness h;
    TMainForm* f = h.form;
    f->SetWindowState(wsNormal);
    f->Show();
    ASSERT_TRUE(xserver::Activate(*f));
    const std::pair<const char*, TControl*> controls[] = {
        {"port", f->ComComboBox},
        {"speed", f->ComboBox1},
        {"device number", f->ComboBoxDevNum},
        {"radio group", f->RadioGroup},
        {"start date", f->DateTimePickerStartDate},
        {"finish date", f->DateTimePickerFinish},
        {"excel button", f->BitBtn2},
        {"text button", f->BitBtn3},
        {"excel tool button", f->ToolButton2},
        {"text tool button", f->ToolButton3},
    };
    std::vector<probe::Picture> idle;
    for (const auto& [name, c] : controls) idle.push_back(xserver::Picture(*c));
    xserver::Keep(xserver::Picture(*f), "mainform-idle");
    h.Read();
    ASSERT_TRUE(h.Reading());
    xserver::Keep(xserver::Picture(*f), "mainform-reading");
    for (std::size_t i = 0; i < std::size(controls); ++i) {
        const auto& [name, c] = controls[i];
        ASSERT_FALSE(c->GetEnabled()) << name;
        const probe::Picture reading = xserver::Picture(*c);
        EXPECT_FALSE(reading == idle[i]) << name;
        // Enabled text is near black; disabled text is grey. The port list
        // of the test's machine is empty: its box shows no text; the tool
        // buttons show pictures only.
        if (c == f->ComComboBox || c == f->ToolButton2 || c == f->ToolButton3) continue;
        EXPECT_LT(idle[i].Darkest(), 60) << name;
        EXPECT_GT(reading.Darkest(), idle[i].Darkest() + 40) << name;
    }
    // The read button stays enabled, captioned "Прервать".
    EXPECT_TRUE(f->BitBtn1->GetEnabled());
}

} // namespace
