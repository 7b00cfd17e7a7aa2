// The function and data-source editors: the function page of a series with its
// function classes, sources and embedded option form, the option forms of
// period functions, the average and the custom function, and the questions
// asked before changes are lost.
#include "chart/editors/zuzfuncedit.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzavgfunceditor.h"
#include "chart/editors/zuzbasefuncedit.h"
#include "chart/editors/zuzcustomfunceditor.h"
#include "chart/editors/zuzediperi.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzselectlist.h"
#include "chart/editors/zuzsourceedit.h"
#include "chart/engine/chartvaluelist.h"
#include "chart/engine/seriestypes.h"
#include "chart/engine/zuzfunction.h"
#include "chart/series/zuzfunci.h"
#include "platform/gui/buttons.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/editorfixture.h"
#include "tests/chart/editors/editorpicture.h"
#include "tests/chart/editors/editorunits.h"
#include "tests/chart/editors/modaldriver.h"
#include "tests/support/formtest.h"
#include "tests/support/guiprobe.h"
#include "tests/support/testclass.h"

#include <gtest/gtest.h>

namespace {

class FunctionEditors : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartChartEditorUnits(); }
    void SetUp() override {
        target = Create<TLineSeries>(behind.chart);
        behind.chart->AddSeries(target);
        target->SetTitle(u"Среднее");
    }
    // The function page of the target series, embedded and showing in the chart's
    // window.
    TZuzFuncEditor* Page() {
        auto* page = Create<TZuzFuncEditor>(behind.host.get());
        AddFormTo(page, behind.host.get(), target);
        probe::ProcessEvents();
        return page;
    }
    static int ItemOf(TComboFlat* Combo, const String& Text) {
        const int i = Combo->GetItems()->IndexOf(Text);
        EXPECT_GE(i, 0) << UTF8Encode(Text);
        return i;
    }
    static void Choose(TZuzFuncEditor* Page, const String& Function) {
        probe::Choose(*Page->CBSources, ItemOf(Page->CBSources, Function));
        probe::ProcessEvents();
    }
    // Moves a series from the available list to the chosen one, as the selector's
    // ">" does.
    static void Pick(TZuzFuncEditor* Page, TChartSeries* Series) {
        TStrings* from = Page->Selector()->FromList->GetItems();
        const int i = from->IndexOfObject(Series);
        ASSERT_GE(i, 0);
        Page->Selector()->ToList->GetItems()->AddObject(from->GetStrings(i), Series);
        from->Delete(i);
        Page->CBSourcesChange(Page->Selector());
    }
    void GiveTargetFunction(const ClassInfo& Class, TChartSeries* Source) {
        CreateNewZuzFunction(target, &Class);
        if (Source) target->SetDataSource(Source);
    }

    ChartBehind behind;
    TLineSeries* target = nullptr;
};

// ---------------------------------------------------------------------------
// The forms and their inheritance

TEST_F(FunctionEditors, InheritedFormsHoldTheirAncestorsControlsWithTheirOwnChanges) {
    Owned<TZuzFuncEditor> page(Create<TZuzFuncEditor>(nullptr));
    EXPECT_EQ(page->LLabel->GetCaption(), u"&Functions:");
    EXPECT_EQ(page->BApply->GetCaption(), u"&Apply");
    EXPECT_FALSE(page->BApply->GetEnabled());
    EXPECT_EQ(page->CBSources->GetHelpContext(), 178);
    EXPECT_EQ(page->GetAlign(), alClient);
    EXPECT_EQ(page->TabSource->GetCaption(), u"Source Series");
    EXPECT_EQ(page->TabOptions->GetCaption(), u"Options");
    EXPECT_EQ(page->SpeedButton1->GetCaption(), u"...");
    // "Copy" and each function once, sorted, on one line.
    TStrings* items = page->CBSources->GetItems();
    EXPECT_EQ(items->GetCount(), 11);
    EXPECT_GE(items->IndexOf(u"Copy"), 0);
    EXPECT_EQ(items->GetObjects(items->IndexOf(u"Average")),
              reinterpret_cast<const TObject*>(&TAverageZuzFunction::StaticClass()));
    for (int i = 1; i < items->GetCount(); ++i) EXPECT_LT(items->GetStrings(i - 1), items->GetStrings(i));

    Owned<TAverageFuncEditor> average(Create<TAverageFuncEditor>(nullptr));
    EXPECT_EQ(average->Label3->GetCaption(), u"&Number of points:");
    EXPECT_EQ(average->CBStyle->GetItems()->GetStrings(2), u"Every range");
    EXPECT_EQ(average->CBNulls->GetCaption(), u"&Include Null values");
    EXPECT_EQ(average->CBNulls->GetHelpContext(), 1808);
    EXPECT_EQ(average->GetAlign(), alClient);

    Owned<TCustomFunctionEditor> custom(Create<TCustomFunctionEditor>(nullptr));
    EXPECT_EQ(custom->EStart->GetText(), u"0");
    EXPECT_EQ(custom->EStep->GetText(), u"1");
    EXPECT_EQ(custom->ENum->GetText(), u"100");
    EXPECT_EQ(custom->Label2->GetCaption(), u"S&tep:");
    for (const char* name : {"TBaseSourceEditor", "TZuzFuncEditor", "TBaseFunctionEditor",
                             "TZuzFunctionEditor", "TAverageFuncEditor", "TCustomFunctionEditor"})
        EXPECT_NE(GetClass(name), nullptr) << name;
}

// ---------------------------------------------------------------------------
// The function page

TEST_F(FunctionEditors, ANewSeriesWithoutFunctionOrSourceOpensOnCopyWithApplyOn) {
    TZuzFuncEditor* page = Page();
    EXPECT_EQ(page->CBSources->GetText(), u"Copy");
    EXPECT_TRUE(page->BApply->GetEnabled());
    EXPECT_FALSE(page->TabOptions->GetTabVisible());
    EXPECT_TRUE(page->TabSource->GetTabVisible());
    EXPECT_FALSE(page->PanSingle->GetVisible());
    EXPECT_TRUE(page->Selector()->GetVisible());
    // The chart's other series are the candidates, the series itself is not.
    TStrings* available = page->Selector()->FromList->GetItems();
    EXPECT_EQ(available->GetCount(), 3);
    EXPECT_LT(available->IndexOfObject(target), 0);
    EXPECT_GE(available->IndexOfObject(behind.series[2]), 0);
}

TEST_F(FunctionEditors, ASeriesWithAFunctionOpensOnItWithItsSourcesChosenAndApplyOff) {
    GiveTargetFunction(TAverageZuzFunction::StaticClass(), behind.series[1]);
    TZuzFuncEditor* page = Page();
    EXPECT_EQ(page->CBSources->GetText(), u"Average");
    EXPECT_FALSE(page->BApply->GetEnabled());
    TStrings* chosen = page->Selector()->ToList->GetItems();
    ASSERT_EQ(chosen->GetCount(), 1);
    EXPECT_EQ(chosen->GetObjects(0), behind.series[1]);
    EXPECT_LT(page->Selector()->FromList->GetItems()->IndexOfObject(behind.series[1]), 0);
    ASSERT_NE(page->OptionsForm(), nullptr);
    EXPECT_NE(dynamic_cast<TAverageFuncEditor*>(page->OptionsForm()), nullptr);
    EXPECT_EQ(ZuzTagObject(page->OptionsForm()), target->GetFunction());
    EXPECT_TRUE(page->TabOptions->GetTabVisible());
}

// An average of a kind no series type offers.
class TUnlistedAverage : public TAverageZuzFunction {
public:
    static const ClassInfo& StaticClass() {
        static const ClassInfo ci =
            MakeClassInfo<TUnlistedAverage>("TUnlistedAverage", &TAverageZuzFunction::StaticClass());
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TAverageZuzFunction::TAverageZuzFunction;
};

TEST_F(FunctionEditors, AFunctionOfAClassNotListedStaysAsItIsWhenThePageOpens) {
    GiveTargetFunction(TUnlistedAverage::StaticClass(), behind.series[1]);
    TZuzFunction* function = target->GetFunction();
    TZuzFuncEditor* page = Page();
    EXPECT_EQ(page->CBSources->GetText(), u"Copy");
    EXPECT_EQ(target->GetFunction(), function);
    EXPECT_FALSE(page->BApply->GetEnabled());
}

TEST_F(FunctionEditors, ChoosingAFunctionAndSourcesThenApplyCalculatesTheSeries) {
    TZuzFuncEditor* page = Page();
    Choose(page, u"High");
    ASSERT_NE(target->GetFunction(), nullptr); // a new class is taken at once
    EXPECT_TRUE(target->GetFunction()->Is<THighZuzFunction>());
    EXPECT_TRUE(page->BApply->GetEnabled());
    Pick(page, behind.series[0]);
    Pick(page, behind.series[2]);
    probe::Click(*page->BApply);
    EXPECT_FALSE(page->BApply->GetEnabled());
    ASSERT_EQ(target->DataSources().Count(), 2);
    EXPECT_EQ(target->DataSources()[0], behind.series[0]);
    EXPECT_EQ(target->DataSources()[1], behind.series[2]);
    EXPECT_GT(target->Count(), 0);
    // The options, never shown before the apply, still edit the series' own function.
    EXPECT_EQ(ZuzTagObject(page->OptionsForm()), target->GetFunction());
}

TEST_F(FunctionEditors, CopyHidesTheOptionsAndApplyRemovesTheFunction) {
    GiveTargetFunction(TAverageZuzFunction::StaticClass(), behind.series[0]);
    TZuzFuncEditor* page = Page();
    Choose(page, u"Copy");
    EXPECT_FALSE(page->TabOptions->GetTabVisible());
    EXPECT_EQ(page->OptionsForm(), nullptr);
    EXPECT_NE(target->GetFunction(), nullptr); // only on Apply
    probe::Click(*page->BApply);
    EXPECT_EQ(target->GetFunction(), nullptr);
    EXPECT_EQ(target->GetDataSource(), behind.series[0]);
    EXPECT_EQ(target->Count(), behind.series[0]->Count()); // a copy of its source
}

TEST_F(FunctionEditors, AFunctionThatNeedsNoSourceShowsOnlyTheOptionsTab) {
    TZuzFuncEditor* page = Page();
    Choose(page, u"y = f(x)");
    EXPECT_FALSE(page->TabSource->GetTabVisible());
    EXPECT_TRUE(page->TabOptions->GetTabVisible());
    EXPECT_EQ(page->PageControl1->GetActivePage(), page->TabOptions);
    ASSERT_NE(dynamic_cast<TCustomFunctionEditor*>(page->OptionsForm()), nullptr);
    EXPECT_TRUE(probe::WaitFor([&] { return page->OptionsForm()->GetShowing(); }));
}

// Moving functions take a single source; the second picks the source's values itself.
class TMovingSum : public testsupport::TTestClass<TMovingSum, TZuzMovingFunction, "TMovingSum"> {
public:
    using TTestClass::TTestClass;
};
class TMovingCount : public testsupport::TTestClass<TMovingCount, TZuzMovingFunction, "TMovingCount"> {
public:
    explicit TMovingCount(TComponent* AOwner) : TTestClass(AOwner) { NoValueChoice = true; }
};

TEST_F(FunctionEditors, ASingleSourceFunctionOffersTheValueListsUnlessItPicksThemItself) {
    static const String sum = u"Moving sum", count = u"Moving count";
    RegisterZuzBasicFunction(&TMovingSum::StaticClass(), &sum);
    RegisterZuzBasicFunction(&TMovingCount::StaticClass(), &count);
    struct Unregister {
        ~Unregister() { UnRegisterZuzFunctions({&TMovingSum::StaticClass(), &TMovingCount::StaticClass()}); }
    } unregister;
    TZuzFuncEditor* page = Page();
    for (const String* function : {&sum, &count}) {
        Choose(page, *function);
        EXPECT_TRUE(page->PanSingle->GetVisible());
        EXPECT_FALSE(page->Selector()->GetVisible());
        const bool offered = function == &sum;
        EXPECT_EQ(page->LValues->GetVisible(), offered) << UTF8Encode(*function);
        EXPECT_EQ(page->CBValues->GetVisible(), offered) << UTF8Encode(*function);
    }
}

TEST_F(FunctionEditors, AChainLeadingBackToTheSeriesIsRefusedBeforeAnySourceChanges) {
    // The third series averages the target; the target may not take the third as
    // its source.
    TChartSeries* third = behind.series[2];
    CreateNewZuzFunction(third, &TAverageZuzFunction::StaticClass());
    third->SetDataSource(target);
    GiveTargetFunction(TAddZuzFunction::StaticClass(), behind.series[0]);
    TZuzFuncEditor* page = Page();
    Pick(page, third);
    ModalDriver driver;
    driver.Dialog(TDialogKind::MessageBox);
    probe::Click(*page->BApply);
    ASSERT_EQ(target->DataSources().Count(), 1);
    EXPECT_EQ(target->GetDataSource(), behind.series[0]);
    EXPECT_TRUE(page->BApply->GetEnabled());
}

TEST_F(FunctionEditors, ClosingWithChangesNotAppliedAsksFirst) {
    GiveTargetFunction(THighZuzFunction::StaticClass(), behind.series[0]);
    TZuzFuncEditor* page = Page();
    Pick(page, behind.series[1]);
    ASSERT_TRUE(page->BApply->GetEnabled());
    {
        ModalDriver driver;
        driver.Dialog(TDialogKind::MessageDlg, Answered(mrCancel),
                      [](const TDialogRequest& r) { EXPECT_EQ(r.Text, u"Apply Changes ?"); });
        EXPECT_FALSE(page->CloseQuery());
    }
    EXPECT_TRUE(page->BApply->GetEnabled());
    EXPECT_EQ(target->DataSources().Count(), 1);
    {
        ModalDriver driver;
        driver.Dialog(TDialogKind::MessageDlg, Answered(mrYes));
        EXPECT_TRUE(page->CloseQuery());
    }
    EXPECT_EQ(target->DataSources().Count(), 2);
    Pick(page, behind.series[2]);
    {
        ModalDriver driver;
        driver.Dialog(TDialogKind::MessageDlg, Answered(mrNo));
        EXPECT_TRUE(page->CloseQuery());
    }
    EXPECT_FALSE(page->BApply->GetEnabled());
    EXPECT_EQ(target->DataSources().Count(), 2);
    EXPECT_TRUE(page->CloseQuery()); // nothing pending: no question
}

// A source moved or another function chosen leaves Apply on once the options show, and what was
// typed into the options before a source moved is what Apply writes.
TEST_F(FunctionEditors, MovingASourceOrChangingTheFunctionKeepsApplyOnAndTheOptionsTyped) {
    GiveTargetFunction(TAverageZuzFunction::StaticClass(), behind.series[0]);
    TZuzFuncEditor* page = Page();
    auto* options = dynamic_cast<TAverageFuncEditor*>(page->OptionsForm());
    ASSERT_NE(options, nullptr);
    page->PageControl1->SetActivePage(page->TabOptions);
    ASSERT_TRUE(probe::WaitFor([&] { return options->GetShowing(); }));
    probe::Choose(*options->CBStyle, 1);
    options->ENum->SetText(u"2");
    page->PageControl1->SetActivePage(page->TabSource);
    Pick(page, behind.series[1]);
    probe::ProcessEvents();
    EXPECT_TRUE(page->BApply->GetEnabled());
    EXPECT_EQ(page->OptionsForm(), options);
    page->PageControl1->SetActivePage(page->TabOptions);
    ASSERT_TRUE(probe::WaitFor([&] { return options->GetShowing(); }));
    EXPECT_EQ(options->CBStyle->GetItemIndex(), 1);
    EXPECT_EQ(options->ENum->GetText(), u"2");
    EXPECT_TRUE(page->BApply->GetEnabled());
    probe::Click(*page->BApply);
    EXPECT_EQ(target->GetFunction()->GetPeriod(), 2);
    EXPECT_EQ(target->DataSources().Count(), 2);

    Choose(page, u"High");
    page->PageControl1->SetActivePage(page->TabOptions);
    ASSERT_TRUE(probe::WaitFor([&] { return page->OptionsForm() && page->OptionsForm()->GetShowing(); }));
    EXPECT_TRUE(page->BApply->GetEnabled());
}

// ---------------------------------------------------------------------------
// The option forms

TEST_F(FunctionEditors, APeriodOfPointsShowsRoundedAndAppliesWithAlignment) {
    GiveTargetFunction(TAverageZuzFunction::StaticClass(), behind.series[0]);
    target->GetFunction()->SetPeriod(2.6);
    target->GetFunction()->SetPeriodAlign(paLast);
    TZuzFuncEditor* page = Page();
    auto* options = dynamic_cast<TAverageFuncEditor*>(page->OptionsForm());
    ASSERT_NE(options, nullptr);
    page->PageControl1->SetActivePage(page->TabOptions);
    ASSERT_TRUE(probe::WaitFor([&] { return options->GetShowing(); }));
    EXPECT_EQ(options->CBStyle->GetItemIndex(), 1);
    EXPECT_EQ(options->ENum->GetText(), u"3");
    EXPECT_EQ(options->CBAlign->GetItemIndex(), 2);
    EXPECT_TRUE(options->CBNulls->GetChecked());
    EXPECT_FALSE(options->BChange->GetEnabled());
    EXPECT_FALSE(page->BApply->GetEnabled());

    probe::Choose(*options->CBAlign, 0);
    EXPECT_TRUE(page->BApply->GetEnabled());
    probe::Click(*options->CBNulls);
    options->ENum->SetText(u"4");
    probe::Click(*page->BApply);
    TZuzFunction* f = target->GetFunction();
    EXPECT_EQ(f->GetPeriod(), 4);
    EXPECT_EQ(f->GetPeriodAlign(), paFirst);
    EXPECT_EQ(f->GetPeriodStyle(), psNumPoints);
    EXPECT_FALSE(dynamic_cast<TAverageZuzFunction*>(f)->GetIncludeNulls());

    // A range keeps its fraction and offers the range dialog; a negative one means no period.
    probe::Choose(*options->CBStyle, 2);
    EXPECT_TRUE(options->BChange->GetEnabled());
    EXPECT_EQ(options->ENum->GetText(), u"4");
    options->ENum->SetText(u"-3");
    probe::Click(*page->BApply);
    EXPECT_EQ(f->GetPeriodStyle(), psRange);
    EXPECT_EQ(f->GetPeriod(), 0);
    // A fraction in the locale's own separator is taken; in the other one, or text that is no
    // number, is refused with a message, and nothing is written.
    const TFormatSettings saved = FormatSettings;
    for (const editortest::Locale& locale : editortest::kLocales) {
        FormatSettings = editortest::LocaleSettings(locale.system);
        const bool comma = FormatSettings.DecimalSeparator == u',';
        options->ENum->SetText(comma ? u"3,5" : u"3.5");
        probe::Click(*page->BApply);
        EXPECT_EQ(f->GetPeriod(), 3.5) << locale.name;
        for (const char16_t* bad : {comma ? u"2.5" : u"2,5", u"", u"два"}) {
            options->ENum->SetText(bad);
            ModalDriver driver;
            driver.Dialog(TDialogKind::MessageDlg);
            probe::Click(*page->BApply);
            EXPECT_EQ(driver.Pending(), 0) << locale.name;
            EXPECT_EQ(f->GetPeriod(), 3.5) << locale.name;
            EXPECT_TRUE(page->BApply->GetEnabled()) << locale.name;
        }
    }
    FormatSettings = saved;
    probe::Choose(*options->CBStyle, 0);
    EXPECT_EQ(options->ENum->GetText(), u"");
    EXPECT_FALSE(options->ENum->GetEnabled());
}

TEST_F(FunctionEditors, TheCustomFunctionLoadsAndAppliesItsStartStepAndCount) {
    GiveTargetFunction(TCustomZuzFunction::StaticClass(), nullptr);
    auto* custom = dynamic_cast<TCustomZuzFunction*>(target->GetFunction());
    custom->SetStartX(-2.5);
    custom->SetPeriod(0.5);
    custom->SetNumPoints(7);
    TZuzFuncEditor* page = Page();
    auto* options = dynamic_cast<TCustomFunctionEditor*>(page->OptionsForm());
    ASSERT_NE(options, nullptr);
    ASSERT_TRUE(probe::WaitFor([&] { return options->GetShowing(); }));
    EXPECT_EQ(options->EStart->GetText(), FloatToStr(-2.5));
    EXPECT_EQ(options->EStep->GetText(), FloatToStr(0.5));
    EXPECT_EQ(options->ENum->GetText(), u"7");
    EXPECT_FALSE(page->BApply->GetEnabled());

    options->EStart->SetText(u"10");
    EXPECT_TRUE(page->BApply->GetEnabled());
    options->EStep->SetText(u"2");
    options->ENum->SetText(u"25");
    probe::Click(*page->BApply);
    EXPECT_EQ(custom->GetStartX(), 10);
    EXPECT_EQ(custom->GetPeriod(), 2);
    EXPECT_EQ(custom->GetNumPoints(), 25);
    EXPECT_FALSE(page->BApply->GetEnabled());
}

TEST_F(FunctionEditors, BadCustomNumbersKeepThePageOpenWithAMessageAndChangeNothing) {
    GiveTargetFunction(TCustomZuzFunction::StaticClass(), nullptr);
    auto* custom = dynamic_cast<TCustomZuzFunction*>(target->GetFunction());
    TZuzFuncEditor* page = Page();
    auto* options = dynamic_cast<TCustomFunctionEditor*>(page->OptionsForm());
    ASSERT_TRUE(probe::WaitFor([&] { return options->GetShowing(); }));
    const struct {
        const char16_t *start, *step, *count;
    } bad[] = {{u"abc", u"1", u"10"}, {u"0", u"0", u"10"},       {u"0", u"-1", u"10"},
               {u"0", u"1", u"-5"},   {u"0", u"1", u"99999999"}, {u"0", u"1", u"ten"}};
    for (const auto& b : bad) {
        options->EStart->SetText(b.start);
        options->EStep->SetText(b.step);
        options->ENum->SetText(b.count);
        ModalDriver driver;
        driver.Dialog(TDialogKind::MessageDlg);
        probe::Click(*page->BApply);
        EXPECT_TRUE(page->BApply->GetEnabled()) << UTF8Encode(b.step);
        EXPECT_EQ(custom->GetStartX(), 0);
        EXPECT_EQ(custom->GetPeriod(), 1);
        EXPECT_EQ(custom->GetNumPoints(), 100);
        driver.Dialog(TDialogKind::MessageDlg, Answered(mrYes)).Dialog(TDialogKind::MessageDlg);
        EXPECT_FALSE(page->CloseQuery()); // asked, tried, refused: the page stays
    }
}

TEST_F(FunctionEditors, PictureOfTheFunctionPageOverTheChart) {
    GiveTargetFunction(TAverageZuzFunction::StaticClass(), behind.series[0]);
    target->GetFunction()->SetPeriod(4);
    ModalDriver driver;
    driver.Form<TForm>(
        [&](TForm& d) {
            probe::ProcessEvents();
            behind.Snapshot(d, "function-editor.png");
            auto* page = dynamic_cast<TZuzFuncEditor*>(d.FindComponent(u"ZuzFuncEditor"));
            ASSERT_NE(page, nullptr);
            page->PageControl1->SetActivePage(page->TabOptions);
            probe::ProcessEvents();
            EXPECT_TRUE(page->OptionsForm()->GetShowing());
            behind.Snapshot(d, "function-editor-options.png");
        },
        mrOk);
    TFormFreer<TForm> dialog(Create<TForm>(behind.host.get(), TCustomForm::NewTag{}));
    dialog->SetCaption(u"Среднее: функция");
    dialog->SetBounds(0, 0, 400, 260);
    dialog->SetPosition(poOwnerFormCenter);
    AddFormTo(Create<TZuzFuncEditor>(dialog.get()), dialog.get(), target);
    dialog->ShowModal();
}

} // namespace
