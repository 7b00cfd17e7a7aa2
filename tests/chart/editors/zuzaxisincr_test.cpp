// The axis limit and increment dialogs: the increment's text and the custom text read back
// under the C and the Russian locale, the dialog's choices on a real chart's axis, OK that
// keeps the dialog open on a bad text, and Cancel that changes nothing.
#include "chart/canvas/zuzcontrols.h"
#include "editorfixture.h"
#include "modaldriver.h"
#include "platform/gui/buttons.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

#include <cmath>

namespace {

// ---------------------------------------------------------------------------
// The increment as the axis page shows it.

struct TextRow {
    const char* rule;
    double increment;
    bool dateTime, exact;
    const char16_t* format;
    const char16_t* c;       // under the C locale
    const char16_t* russian; // under ru_RU.UTF-8
};

class IncrementText : public EditorTest, public ::testing::WithParamInterface<TextRow> {};

TEST_P(IncrementText, ReadsAsThePageShowsIt) {
    const TextRow& r = GetParam();
    for (const auto& locale : editortest::kLocales) {
        UseLocale(locale.system);
        const bool russian = std::string(locale.name) == "Russian";
        EXPECT_EQ(GetIncrementText(nullptr, r.increment, r.dateTime, r.exact, r.format),
                  russian ? r.russian : r.c)
            << locale.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Increments, IncrementText,
    ::testing::Values(
        TextRow{"DaysAndTheTimeOfWhatIsLeft", 1.5, true, false, u"", u"1 12:00:00 PM", u"1 12:00:00"},
        TextRow{"BelowADayOnlyTheTime", 0.5, true, false, u"", u"12:00:00 PM", u"12:00:00"},
        TextRow{"NothingShowsOneSecond", 0, true, false, u"", u"12:00:01 AM", u"00:00:01"},
        TextRow{"BelowNothingShowsOneSecond", -2, true, true, u"", u"12:00:01 AM", u"00:00:01"},
        TextRow{"AWholeDayWithoutTime", 1.0, true, false, u"", u"1", u"1"},
        TextRow{"ExactStepByItsName", 7.0, true, true, u"", u"One Week", u"One Week"},
        TextRow{"ExactNonStepAsDaysAndTime", 2.25, true, true, u"", u"2 6:00:00 AM", u"2 06:00:00"},
        TextRow{"GroupedTextDoesNotReadBack", 2500, false, false, u"#,##0", u"2500", u"2500"},
        TextRow{"NumberThatDoesNotReadBack", 0.5, false, false, u"#,##0", u"0.5", u"0,5"},
        TextRow{"NumberWithDecimals", 0.25, false, false, u"0.00", u"0.25", u"0,25"}),
    [](const auto& info) { return std::string(info.param.rule); });

// ---------------------------------------------------------------------------
// The increment dialog on its own.

class IncrementDialog : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        dialog.reset(Create<TAxisIncrement>(nullptr));
    }
    // Opens the dialog, runs Test while it is up (showing Messages message boxes) and returns
    // how it closed.
    int Run(const std::function<void()>& Test, int Messages = 0) {
        ModalDriver driver;
        driver.Form<TAxisIncrement>([&](TAxisIncrement&) { Test(); }, mrCancel);
        for (int i = 0; i < Messages; ++i) driver.Dialog(TDialogKind::MessageBox);
        return dialog->ShowModal();
    }
    Owned<TAxisIncrement> dialog;
};

struct CustomRow {
    const char* rule;
    const char16_t* c;
    const char16_t* russian;
    double days;
};

class CustomIncrement : public IncrementDialog, public ::testing::WithParamInterface<CustomRow> {};

TEST_P(CustomIncrement, ReadsAsDaysAndATime) {
    const CustomRow& r = GetParam();
    for (const auto& locale : editortest::kLocales) {
        UseLocale(locale.system);
        dialog.reset(Create<TAxisIncrement>(nullptr));
        dialog->IsDateTime = true;
        dialog->Increment = 1.5;
        dialog->IStep = FindDateTimeStep(1.5);
        const int result = Run([&] {
            EXPECT_EQ(dialog->RadioGroup1->GetItemIndex(), 1);
            dialog->ECustom->SetText(std::string(locale.name) == "Russian" ? r.russian : r.c);
            probe::Click(*dialog->BOk);
        });
        EXPECT_EQ(result, mrOk) << locale.name;
        EXPECT_NEAR(dialog->Increment, r.days, 1e-9) << locale.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, CustomIncrement,
                         ::testing::Values(CustomRow{"DaysABlankAndATime", u"2 06:00:00", u"2 6:00:00", 2.25},
                                           CustomRow{"ANumberAloneIsDays", u"3", u"3", 3},
                                           CustomRow{"FractionalDays", u"0.5", u"0,5", 0.5},
                                           CustomRow{"ATimeAloneIsPartOfADay", u"06:00:00", u"6:00:00",
                                                     0.25}),
                         [](const auto& info) { return std::string(info.param.rule); });

TEST_F(IncrementDialog, ABadTextKeepsTheDialogOpenUntilItReads) {
    dialog->IsDateTime = true;
    dialog->Increment = 0.25;
    const int result = Run(
        [&] {
            dialog->ECustom->SetText(u"2 abc");
            probe::Click(*dialog->BOk);
            EXPECT_EQ(dialog->GetModalResult(), mrNone); // still open, with its text
            EXPECT_EQ(dialog->ECustom->GetText(), u"2 abc");
            dialog->ECustom->SetText(u"1 12:00:00");
            probe::Click(*dialog->BOk);
        },
        1); // the conversion error is shown once
    EXPECT_EQ(result, mrOk);
    EXPECT_DOUBLE_EQ(dialog->Increment, 1.5);
}

TEST_F(IncrementDialog, ANumberAxisShowsOnlyTheNumber) {
    UseLocale("ru_RU.UTF-8");
    dialog->IsDateTime = false;
    dialog->IsExact = true;
    dialog->Increment = 2.5;
    const int result = Run([&] {
        EXPECT_FALSE(dialog->RadioGroup1->GetVisible());
        EXPECT_FALSE(dialog->CBSteps->GetVisible());
        EXPECT_FALSE(dialog->CBExact->GetVisible());
        EXPECT_EQ(dialog->RadioGroup1->GetItemIndex(), 1);
        EXPECT_EQ(dialog->ECustom->GetText(), u"2,5");
        EXPECT_EQ(dialog->ECustom->GetHint(), u"");
        dialog->ECustom->SetText(u"0,125");
        probe::Click(*dialog->BOk);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_DOUBLE_EQ(dialog->Increment, 0.125);
}

TEST_F(IncrementDialog, StandardAndCustomSwitchTheControls) {
    dialog->IsDateTime = true;
    dialog->IsExact = true;
    dialog->Increment = DateTimeStep[dtOneHour];
    dialog->IStep = dtOneHour;
    Run([&] {
        EXPECT_EQ(dialog->RadioGroup1->GetItemIndex(), 0);
        EXPECT_EQ(dialog->CBSteps->GetItemIndex(), dtOneHour);
        EXPECT_EQ(dialog->ECustom->GetText(), u"");
        EXPECT_FALSE(dialog->ECustom->GetEnabled());
        EXPECT_TRUE(dialog->CBExact->GetChecked());
        EXPECT_TRUE(dialog->CBExact->GetEnabled());
        EXPECT_EQ(dialog->ECustom->GetHint(), VavIve_EnterDateTime);

        probe::Click(*dialog->CBExact); // clearing "exact" by hand chooses custom
        EXPECT_FALSE(dialog->IsExact);
        EXPECT_EQ(dialog->RadioGroup1->GetItemIndex(), 1);
        EXPECT_TRUE(dialog->ECustom->GetEnabled());
        EXPECT_EQ(dialog->ECustom->GetText(), TimeToStr(DateTimeStep[dtOneHour]));
        EXPECT_FALSE(dialog->CBSteps->GetEnabled());
        EXPECT_FALSE(dialog->CBExact->GetEnabled());

        probe::Click(*dialog->RadioGroup1, 0);
        EXPECT_TRUE(dialog->IsExact);
        EXPECT_TRUE(dialog->CBExact->GetChecked());
        EXPECT_TRUE(dialog->CBSteps->GetEnabled());
        EXPECT_FALSE(dialog->ECustom->GetEnabled());
        EXPECT_EQ(dialog->CBSteps->GetItemIndex(), dtOneHour);
    });
}

TEST_F(IncrementDialog, StandardWithoutAStoredStepTakesTheFirst) {
    dialog->IsDateTime = true;
    dialog->Increment = 0.3; // no step
    dialog->IStep = FindDateTimeStep(0.3);
    ASSERT_EQ(dialog->IStep, dtNone);
    const int result = Run([&] {
        EXPECT_EQ(dialog->CBSteps->GetItemIndex(), -1);
        probe::Click(*dialog->RadioGroup1, 0);
        EXPECT_EQ(dialog->CBSteps->GetItemIndex(), 0);
        probe::Click(*dialog->BOk); // OK takes the step the list shows
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_DOUBLE_EQ(dialog->Increment, DateTimeStep[dtOneMicroSecond]);
}

// ---------------------------------------------------------------------------
// ChangeIncrement on a real chart's date-time axis.

class ChangeIncrement : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        ASSERT_TRUE(axis->IsDateTime());
    }
    ChartBehind behind{true};
    TForm* host = behind.host.get();
    TChart* chart = behind.chart;
    TChartAxis* axis = chart->GetBottomAxis();
};

TEST_F(ChangeIncrement, EveryControlOnceThenOKWritesTheAxis) {
    axis->SetDesiredIncrement(DateTimeStep[dtOneWeek]);
    axis->SetExactDateTime(true);
    ModalDriver driver;
    driver.Form<TAxisIncrement>([&](TAxisIncrement& d) {
        EXPECT_EQ(d.GetCaption(), Format(VavIve_DesiredIncrement, {chart->AxisTitleOrName(axis)}));
        EXPECT_EQ(d.GetOwner(), host);
        EXPECT_EQ(d.CBSteps->GetItemIndex(), dtOneWeek);
        probe::Choose(*d.CBSteps, dtSixHours);
        EXPECT_EQ(d.IStep, dtSixHours);
        probe::Click(*d.RadioGroup1, 1);
        d.ECustom->SetText(u"1 06:00:00");
        probe::Click(*d.RadioGroup1, 0); // back to the chosen step
        EXPECT_EQ(d.CBSteps->GetItemIndex(), dtSixHours);
        probe::Click(*d.BOk);
    });
    EXPECT_TRUE(TAxisIncrement::ChangeIncrement(host, axis));
    EXPECT_DOUBLE_EQ(axis->GetIncrement(), DateTimeStep[dtSixHours]);
    EXPECT_TRUE(axis->GetExactDateTime());
    EXPECT_EQ(host->FindComponent(u"AxisIncrement"), nullptr); // freed
}

TEST_F(ChangeIncrement, ANonStepOpensOnCustomAndOKTurnsExactOff) {
    axis->SetDesiredIncrement(1.5);
    axis->SetExactDateTime(true);
    ModalDriver driver;
    driver.Form<TAxisIncrement>([](TAxisIncrement& d) {
        EXPECT_EQ(d.RadioGroup1->GetItemIndex(), 1);
        EXPECT_FALSE(d.CBExact->GetChecked());
        EXPECT_EQ(d.ECustom->GetText(), u"1 " + TimeToStr(0.5));
        probe::Click(*d.BOk);
    });
    EXPECT_TRUE(TAxisIncrement::ChangeIncrement(host, axis));
    EXPECT_DOUBLE_EQ(axis->GetIncrement(), 1.5);
    EXPECT_FALSE(axis->GetExactDateTime());
}

TEST_F(ChangeIncrement, CancelLeavesTheAxisAlone) {
    axis->SetDesiredIncrement(DateTimeStep[dtOneDay]);
    axis->SetExactDateTime(true);
    ModalDriver driver;
    driver.Form<TAxisIncrement>([](TAxisIncrement& d) {
        probe::Click(*d.RadioGroup1, 1);
        d.ECustom->SetText(u"5");
        probe::Click(*d.BCancel);
    });
    EXPECT_FALSE(TAxisIncrement::ChangeIncrement(host, axis));
    EXPECT_DOUBLE_EQ(axis->GetIncrement(), 1.0);
    EXPECT_TRUE(axis->GetExactDateTime());
}

TEST_F(ChangeIncrement, TheDialogIsFreedWhenAnExceptionPasses) {
    ModalDriver driver;
    driver.Form<TAxisIncrement>([](TAxisIncrement&) { throw Exception(u"test"); });
    EXPECT_THROW(TAxisIncrement::ChangeIncrement(host, axis), Exception);
    EXPECT_EQ(host->FindComponent(u"AxisIncrement"), nullptr);
}

TEST_F(ChangeIncrement, ItsPictureOverTheChart) {
    axis->SetDesiredIncrement(DateTimeStep[dtSixHours]);
    axis->SetExactDateTime(true);
    ModalDriver driver;
    driver.Form<TAxisIncrement>([&](TAxisIncrement& d) { behind.Snapshot(d, "editor-axis-increment.png"); },
                                mrCancel);
    TAxisIncrement::ChangeIncrement(host, axis);
}

// ---------------------------------------------------------------------------
// The axis end dialog.

class AxisEnd : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        dialog.reset(Create<TAxisMaxMin>(nullptr));
    }
    // Opens the dialog, runs Test while it is up (showing Messages message boxes) and returns
    // how it closed.
    int Run(const std::function<void()>& Test, int Messages = 0) {
        ModalDriver driver;
        driver.Form<TAxisMaxMin>([&](TAxisMaxMin&) { Test(); }, mrCancel);
        for (int i = 0; i < Messages; ++i) driver.Dialog(TDialogKind::MessageBox);
        return dialog->ShowModal();
    }
    Owned<TAxisMaxMin> dialog;
};

TEST_F(AxisEnd, ATimeBelowADayShowsNoDate) {
    for (const auto& locale : editortest::kLocales) {
        UseLocale(locale.system);
        dialog.reset(Create<TAxisMaxMin>(nullptr));
        dialog->IsDateTime = true;
        dialog->MaxMin = 0.75;
        Run([&] {
            EXPECT_EQ(dialog->EMaximum->GetText(), u"") << locale.name;
            EXPECT_EQ(dialog->EMinimum->GetText(),
                      std::string(locale.name) == "Russian" ? u"18:00:00" : u"6:00:00 PM")
                << locale.name;
            EXPECT_TRUE(dialog->EMinimum->GetVisible());
        });
    }
}

TEST_F(AxisEnd, ADateAndATimeReadBackUnderEachLocale) {
    for (const auto& locale : editortest::kLocales) {
        UseLocale(locale.system);
        const TDateTime value = EncodeDate(2026, 12, 7) + 0.25;
        dialog.reset(Create<TAxisMaxMin>(nullptr));
        dialog->IsDateTime = true;
        dialog->MaxMin = value;
        const int result = Run([&] {
            EXPECT_EQ(dialog->EMaximum->GetText(), DateToStr(value)) << locale.name;
            const String date = std::string(locale.name) == "Russian" ? u"08.12.2026" : u"12/8/2026";
            dialog->EMaximum->SetText(date);
            dialog->EMinimum->SetText(u"18:30:00");
            probe::Click(*dialog->BitBtn1);
        });
        EXPECT_EQ(result, mrOk) << locale.name;
        EXPECT_NEAR(dialog->MaxMin, EncodeDate(2026, 12, 8) + 18.5 / 24, 1e-9) << locale.name;
    }
}

TEST_F(AxisEnd, AnEmptyDateReadsTheTimeAlone) {
    dialog->IsDateTime = true;
    dialog->MaxMin = 3.5;
    const int result = Run([&] {
        dialog->EMaximum->SetText(u"");
        dialog->EMinimum->SetText(u"06:00:00");
        probe::Click(*dialog->BitBtn1);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_DOUBLE_EQ(dialog->MaxMin, 0.25);
}

TEST_F(AxisEnd, ANumberHidesTheTimeAndABadOneKeepsTheDialogOpen) {
    UseLocale("ru_RU.UTF-8");
    dialog->IsDateTime = false;
    dialog->MaxMin = 12.5;
    const int result = Run(
        [&] {
            EXPECT_EQ(dialog->Label1->GetCaption(), u"Value:");
            EXPECT_EQ(dialog->EMaximum->GetText(), u"12,5");
            EXPECT_EQ(dialog->EMaximum->GetHint(), u"");
            EXPECT_FALSE(dialog->EMinimum->GetVisible());
            EXPECT_FALSE(dialog->Label2->GetVisible());
            dialog->EMaximum->SetText(u"12.5.1");
            probe::Click(*dialog->BitBtn1);
            EXPECT_EQ(dialog->GetModalResult(), mrNone);
            dialog->EMaximum->SetText(u"-0,75");
            probe::Click(*dialog->BitBtn1);
        },
        1);
    EXPECT_EQ(result, mrOk);
    EXPECT_DOUBLE_EQ(dialog->MaxMin, -0.75);
}

TEST_F(AxisEnd, CancelKeepsTheValue) {
    dialog->MaxMin = 4;
    const int result = Run([&] {
        dialog->EMaximum->SetText(u"9");
        probe::Click(*dialog->BitBtn2);
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_DOUBLE_EQ(dialog->MaxMin, 4);
}

TEST_F(AxisEnd, ItsPictureOverAChart) {
    ChartBehind behind(true);
    dialog->SetCaption(u"Maximum");
    dialog->IsDateTime = true;
    dialog->MaxMin = EncodeDate(2026, 12, 2) + 0.5;
    Run([&] { behind.Snapshot(*dialog, "editor-axis-maxmin.png"); });
}

TEST_F(AxisEnd, AnIncorrectValueSaysWhy) {
    ZuzShowIncorrect(u"maximum below minimum");
    ASSERT_EQ(Messages(), 1);
    EXPECT_EQ(requests.back().Text, u"Incorrect value. Reason: maximum below minimum");
}

} // namespace
