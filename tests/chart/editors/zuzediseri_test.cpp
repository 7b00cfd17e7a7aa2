// The series page: the type editor found by name under "Format", tabs kept by caption across
// a change of series, no writes while the controls are refilled, which series have a
// "Data Source" tab, what "Manual" does to a source the series owns, custom axes in the axis
// combos, tabs inserted at run time, the data-source form's say over leaving its tab, a series
// that leaves the chart, and the page alone as a modal dialog.
#include "chart/canvas/zuztext.h"
#include "chart/editors/vediruregrid.h"
#include "chart/editors/zuzcustomshapeeditor.h"
#include "chart/editors/zuzediseri.h"
#include "chart/editors/zuzlisb.h"
#include "chart/editors/zuzmargins.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzpoedi.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/seriesmarks.h"
#include "chart/engine/seriessource.h"
#include "dialogfixture.h"
#include "editorfixture.h"
#include "modaldriver.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

#include <stdexcept>

namespace {

// A series whose editor class is whatever the test names.
class TNamedEditorSeries : public TLineSeries {
public:
    static const ClassInfo& StaticClass() {
        static const ClassInfo ci =
            MakeClassInfo<TNamedEditorSeries>("TNamedEditorSeries", &TLineSeries::StaticClass());
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TLineSeries::TLineSeries;
    String GetEditorClass() const override { return EditorName; }
    String EditorName = u"TSeriesPageTestEditor";
};

// A type editor as the series-type units make them: it adds a tab of its own on its page
// at its first show, as the bar editor adds "Stack".
class TSeriesPageTestEditor : public TForm {
public:
    static const ClassInfo& StaticClass() {
        static const ClassInfo ci =
            MakeClassInfo<TSeriesPageTestEditor>("TSeriesPageTestEditor", &TForm::StaticClass());
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TSeriesPageTestEditor(TComponent* AOwner) : TForm(AOwner, NewTag{}) {
        OnShow = TNotifyEvent([this](TObject*) {
            if (!FInserted)
                FExtra = TFormZuzSeries::InsertSeriesForm(this, TForm::StaticClass(), 1, u"Extra",
                                                          ZuzTagObject(this));
            FInserted = true;
        });
    }
    TCustomForm* FExtra = nullptr;

private:
    bool FInserted = false;
};

// Stands for the function page until it is registered: it may refuse to be left.
class TZuzFuncEditorStandIn : public TForm {
public:
    static const ClassInfo& StaticClass() {
        static const ClassInfo ci =
            MakeClassInfo<TZuzFuncEditorStandIn>("TZuzFuncEditor", &TForm::StaticClass());
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TZuzFuncEditorStandIn(TComponent* AOwner) : TForm(AOwner, NewTag{}) {}
    bool CloseQuery() override { return AllowClose; }
    static inline bool AllowClose = true;
};

class SeriesPage : public DialogTest {
protected:
    static void SetUpTestSuite() {
        DialogTest::SetUpTestSuite();
        RegisterClass(TSeriesPageTestEditor::StaticClass());
    }
    void SetUp() override {
        DialogTest::SetUp();
        first = Create<TNamedEditorSeries>(form.get());
        first->SetName(u"Temperature");
        first->SetTitle(u"Температура");
        first->SetParentChart(chart);
        for (int i = 0; i < 10; ++i) first->AddXY(i, i * i);
        second = chart->Series(0);
        second->SetName(u"Pressure");
        page = Create<TFormZuzSeries>(form.get());
        page->SetParent(form.get());
        page->SetBorderStyle(bsNone);
        page->SetAlign(alLeft);
        page->SetWidth(398);
        ZuzTranslateControl(page);
        for (TChartSeries* s : {static_cast<TChartSeries*>(first), second})
            page->CBSeries->GetItems()->AddObject(s->GetName(), s);
    }
    void Open(TChartSeries* Series) {
        page->TheSeries = Series;
        page->SetCBSeries();
        form->Show();
        page->Show();
        probe::ProcessEvents();
    }
    TTabSheet* Active() const { return page->PageSeries->GetActivePage(); }
    int TabsCaptioned(const String& Caption) const {
        int n = 0;
        for (int i = 0; i < page->PageSeries->GetPageCount(); ++i)
            n += page->PageSeries->GetPage(i)->GetCaption() == Caption;
        return n;
    }

    TNamedEditorSeries* first = nullptr;
    TChartSeries* second = nullptr;
    TFormZuzSeries* page = nullptr;
};

TEST_F(SeriesPage, TheFormIsBuiltFromItsResource) {
    EXPECT_EQ(page->GetActiveControl(), page->CBSeries);
    ASSERT_EQ(page->PageSeries->GetPageCount(), 4);
    const char16_t* tabs[] = {u"Format", u"General", u"Marks", u"Data Source"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(page->PageSeries->GetPage(i)->GetCaption(), tabs[i]);
    EXPECT_TRUE(page->PageSeries->GetHotTrack());
    EXPECT_EQ(page->CBSeries->GetHelpContext(), 516);
    EXPECT_EQ(page->CBSeries->GetDropDownCount(), 16);
    EXPECT_EQ(page->PaintBox1->GetCursor(), crHandPoint);
    EXPECT_FALSE(page->CBPersistent->GetVisible());
    EXPECT_TRUE(page->CBShowInLegend->GetChecked());
    EXPECT_EQ(page->UDDepth->GetMax(), 1200);
    EXPECT_EQ(page->UDEvery->GetMin(), 1);
    EXPECT_EQ(page->UDEvery->GetMax(), 5000);
    EXPECT_EQ(page->UDMarksAngle->GetIncrement(), 5);
    EXPECT_EQ(page->UDHeadSize->GetMin(), -1000);
    EXPECT_EQ(page->RGMarkStyle->GetItems()->GetCount(), 13);
    EXPECT_EQ(page->RGMarkStyle->GetDropDownCount(), 12);
    EXPECT_EQ(page->CBTextAlign->GetItemIndex(), 2);
    EXPECT_EQ(page->CBDataSourcestyle->GetItems()->GetCount(), 4);
    EXPECT_EQ(page->CBDataSourcestyle->GetDropDownCount(), 12);
    EXPECT_FALSE(page->BApplyRandom->GetEnabled());
    EXPECT_FALSE(page->BApplySource->GetEnabled());
    EXPECT_TRUE(page->ChartGrid1->GetShowColors());
    EXPECT_EQ(page->PageControlMarks->GetPage(3)->GetCaption(), u"Margins");
    EXPECT_EQ(page->Label2->GetCaption(), u"&Number of sample values:");
    EXPECT_TRUE(page->Filling); // until the first show
}

TEST_F(SeriesPage, TheTypeEditorFoundByNameFillsFormatAndAnUnknownNameOpensOnGeneral) {
    Open(first);
    TCustomForm* editor = page->GetTypeEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(&editor->ClassType(), &TSeriesPageTestEditor::StaticClass());
    EXPECT_EQ(editor->GetOwner(), page);
    EXPECT_EQ(ZuzTagObject(editor), first);
    EXPECT_EQ(Active(), page->TheTabSheet);
    EXPECT_TRUE(page->TheTabSheet->GetTabVisible());
    EXPECT_EQ(page->LabelSeriesClass->GetCaption(), u"Температура: " + GetGallerySeriesName(first));

    first->EditorName = u"TNoSuchEditorForm";
    page->CBSeriesChange(page->CBSeries);
    EXPECT_EQ(page->GetTypeEditor(), nullptr);
    EXPECT_FALSE(page->TheTabSheet->GetTabVisible());
    EXPECT_EQ(Active(), page->TabGeneral);
    EXPECT_EQ(SeriesEditorForm(first), nullptr);
}

TEST_F(SeriesPage, ATabInsertedByTheTypeEditorSitsAtItsIndexOnceAndGoesWithIt) {
    Open(first);
    ASSERT_EQ(TabsCaptioned(u"Extra"), 1);
    TTabSheet* extra = page->PageSeries->GetPage(1);
    EXPECT_EQ(extra->GetCaption(), u"Extra");
    auto* editor = static_cast<TSeriesPageTestEditor*>(page->GetTypeEditor());
    EXPECT_EQ(editor->FExtra->GetParent(), extra);
    EXPECT_EQ(ZuzTagObject(editor->FExtra), first);

    // Loading the series again makes a new editor, which inserts its tab anew: still one.
    page->CBSeriesChange(page->CBSeries);
    EXPECT_EQ(TabsCaptioned(u"Extra"), 1);
    EXPECT_EQ(page->PageSeries->GetPageCount(), 5);

    page->DestroySeriesForms();
    EXPECT_EQ(TabsCaptioned(u"Extra"), 0);
    EXPECT_EQ(page->GetTypeEditor(), nullptr);
    EXPECT_EQ(page->PageSeries->GetPageCount(), 4);

    // Outside a series page the form only gets the caption and the object.
    TestForm other;
    TCustomForm* alone =
        TFormZuzSeries::InsertSeriesForm(other.get(), TForm::StaticClass(), 1, u"Stack", second);
    EXPECT_EQ(alone->GetOwner(), other.get());
    EXPECT_EQ(alone->GetCaption(), u"Stack");
    EXPECT_EQ(ZuzTagObject(alone), second);
}

TEST_F(SeriesPage, TheSameTabByCaptionStaysActiveAcrossAChangeOfSeries) {
    Open(first);
    probe::ChooseTab(*page->TabMarks);
    ASSERT_EQ(Active(), page->TabMarks);
    probe::Choose(*page->CBSeries, 1);
    EXPECT_EQ(page->TheSeries, second);
    EXPECT_EQ(Active(), page->TabMarks);
    // The inserted tab exists only with the first series' editor, which inserts it when it
    // first shows: back on it, then away.
    probe::Choose(*page->CBSeries, 0);
    probe::ChooseTab(*page->TheTabSheet);
    probe::ChooseTab(*page->PageSeries->GetPage(1));
    ASSERT_EQ(Active()->GetCaption(), u"Extra");
    probe::Choose(*page->CBSeries, 1); // the line series has no registered editor here
    EXPECT_EQ(Active(), page->TheTabSheet->GetTabVisible() ? page->TheTabSheet : page->TabGeneral);
}

TEST_F(SeriesPage, RefillingTheControlsWritesNoDepth) {
    first->SetDepth(-1);
    second->SetDepth(-1);
    // Before the first show the page is still filling: an edit changes nothing.
    page->TheSeries = first;
    page->SetCBSeries();
    page->EDepth->SetText(u"33");
    EXPECT_EQ(first->GetDepth(), -1);

    Open(first);
    probe::ChooseTab(*page->TabGeneral);
    EXPECT_TRUE(page->CBDepth->GetChecked());
    EXPECT_EQ(page->UDDepth->GetPosition(), 0);
    probe::Choose(*page->CBSeries, 1);
    EXPECT_EQ(first->GetDepth(), -1);
    EXPECT_EQ(second->GetDepth(), -1);
    EXPECT_FALSE(page->Changing);

    page->EDepth->SetText(u"12");
    EXPECT_EQ(second->GetDepth(), 12);
    EXPECT_FALSE(page->CBDepth->GetChecked());
    page->CBDepth->SetChecked(true);
    EXPECT_EQ(second->GetDepth(), -1);
}

TEST_F(SeriesPage, TemplatesAndHiddenDataSourceSeriesHaveNoDataSourceTab) {
    Open(first);
    EXPECT_TRUE(page->TabDataSource->GetTabVisible());
    first->SetStyle({tssIsTemplate});
    page->CBSeriesChange(page->CBSeries);
    EXPECT_FALSE(page->TabDataSource->GetTabVisible());
    first->SetStyle({tssHideDataSource});
    page->CBSeriesChange(page->CBSeries);
    EXPECT_FALSE(page->TabDataSource->GetTabVisible());
    first->SetStyle({});
    page->ShowTabDataSource = false;
    page->CBSeriesChange(page->CBSeries);
    EXPECT_FALSE(page->TabDataSource->GetTabVisible());
    page->ShowTabDataSource = true;
    page->CBSeriesChange(page->CBSeries);
    EXPECT_TRUE(page->TabDataSource->GetTabVisible());
}

TEST_F(SeriesPage, ManualFreesASourceTheSeriesOwnsAndEmptiesTheSeries) {
    // The source's class offered as a style of its own, as a registered data source is.
    ZuzSources().push_back(&TZuzSeriesSource::StaticClass());
    struct Unregister {
        ~Unregister() { ZuzSources().pop_back(); }
    } unregister;
    auto* source = Create<TZuzSeriesSource>(first);
    first->SetDataSource(source);
    ASSERT_EQ(first->GetDataSource(), source);
    for (int i = 0; i < 5; ++i) first->AddXY(i, i);
    int sources = 0;
    for (int i = 0; i < first->GetComponentCount(); ++i)
        sources += dynamic_cast<TZuzSeriesSource*>(first->GetComponent(i)) != nullptr;
    ASSERT_EQ(sources, 1);

    Open(first);
    probe::ChooseTab(*page->TabDataSource);
    ASSERT_EQ(page->CBDataSourcestyle->GetItemIndex(), 4);
    probe::Choose(*page->CBDataSourcestyle, 0);
    EXPECT_EQ(first->GetDataSource(), nullptr);
    EXPECT_EQ(first->Count(), 0);
    EXPECT_TRUE(first->GetManualData());
    for (int i = 0; i < first->GetComponentCount(); ++i)
        EXPECT_EQ(dynamic_cast<TZuzSeriesSource*>(first->GetComponent(i)), nullptr);
    EXPECT_TRUE(page->ChartGrid1->GetVisible());
    EXPECT_EQ(page->ChartGrid1->GetSeries(), first);
}

TEST_F(SeriesPage, RandomAndSeriesSourcesFillTheSeries) {
    Open(first);
    probe::ChooseTab(*page->TabDataSource);
    EXPECT_EQ(page->CBDataSourcestyle->GetItemIndex(), 1); // points of its own, not typed in
    EXPECT_TRUE(page->PanelRandomSource->GetVisible());
    EXPECT_EQ(page->ESamples->GetText(), IntToStr(first->NumSampleValues()));
    EXPECT_TRUE(page->CBSamplesDefault->GetChecked());
    page->ESamples->SetText(u"7");
    EXPECT_FALSE(page->CBSamplesDefault->GetChecked());
    EXPECT_TRUE(page->BApplyRandom->GetEnabled());
    probe::Click(*page->BApplyRandom);
    EXPECT_EQ(first->Count(), 7);

    probe::Choose(*page->CBDataSourcestyle, 2);
    EXPECT_TRUE(page->PanelSeriesSource->GetVisible());
    ASSERT_EQ(page->CBSeriesSource->GetItems()->GetCount(), 2); // every other series of the chart
    const int pressure = page->CBSeriesSource->GetItems()->IndexOfObject(second);
    ASSERT_GE(pressure, 0);
    probe::Choose(*page->CBSeriesSource, pressure);
    probe::Click(*page->BApplySource);
    EXPECT_EQ(first->GetDataSource(), second);
    EXPECT_EQ(first->Count(), second->Count());
    EXPECT_TRUE(page->BClearSource->GetEnabled());
    probe::Click(*page->BClearSource);
    EXPECT_EQ(first->GetDataSource(), nullptr);
}

TEST_F(SeriesPage, TheFunctionPageIsFoundByNameAndMayRefuseToBeLeft) {
    const bool standIn = GetClass("TZuzFuncEditor") == nullptr;
    if (standIn) RegisterClass(TZuzFuncEditorStandIn::StaticClass());
    Open(first);
    probe::ChooseTab(*page->TabDataSource);
    probe::Choose(*page->CBDataSourcestyle, 3);
    TCustomForm* functions = page->GetDataSourceForm();
    ASSERT_NE(functions, nullptr);
    EXPECT_EQ(IdentToString(functions->ClassType().name), u"TZuzFuncEditor");
    EXPECT_EQ(functions->GetParent(), page->Panel2);
    EXPECT_EQ(ZuzTagObject(functions), first);
    EXPECT_FALSE(page->ChartGrid1->GetVisible());
    if (standIn) {
        TZuzFuncEditorStandIn::AllowClose = false;
        probe::ChooseTab(*page->TabGeneral);
        EXPECT_EQ(Active(), page->TabDataSource);
        EXPECT_FALSE(page->CloseQuery());
        TZuzFuncEditorStandIn::AllowClose = true;
        probe::ChooseTab(*page->TabGeneral);
        EXPECT_EQ(Active(), page->TabGeneral);
        EXPECT_TRUE(page->CloseQuery());
        UnRegisterClass(TZuzFuncEditorStandIn::StaticClass());
    }
}

TEST_F(SeriesPage, CustomAxesFollowTheThreeFixedEntriesAndSelectCustomAxes) {
    auto* vertical = static_cast<TChartAxis*>(chart->GetCustomAxes()->Add());
    auto* horizontal = static_cast<TChartAxis*>(chart->GetCustomAxes()->Add());
    horizontal->SetHorizontal(true);
    Open(first);
    probe::ChooseTab(*page->TabGeneral);
    ASSERT_EQ(page->CBVertAxis->GetItems()->GetCount(), 4);
    ASSERT_EQ(page->CBHorizAxis->GetItems()->GetCount(), 4);
    EXPECT_EQ(page->CBVertAxis->GetItems()->GetStrings(2), u"Left and Right");
    EXPECT_EQ(page->CBVertAxis->GetItems()->GetObjects(3), vertical);
    EXPECT_EQ(page->CBHorizAxis->GetItems()->GetObjects(3), horizontal);
    EXPECT_EQ(page->CBHorizAxis->GetItems()->GetStrings(3), u"1 " + VavIve_CustomAxesEditor);

    probe::Choose(*page->CBVertAxis, 3);
    EXPECT_EQ(first->GetVertAxis(), aCustomVertAxis);
    EXPECT_EQ(first->GetCustomVertAxis(), vertical);
    probe::Choose(*page->CBHorizAxis, 3);
    EXPECT_EQ(first->GetHorizAxis(), aCustomHorizAxis);
    EXPECT_EQ(first->GetCustomHorizAxis(), horizontal);
    probe::Choose(*page->CBHorizAxis, 0);
    EXPECT_EQ(first->GetHorizAxis(), aTopAxis);
    EXPECT_EQ(first->GetCustomHorizAxis(), nullptr);

    // Loading shows the custom axis the series has.
    probe::Choose(*page->CBSeries, 1);
    probe::Choose(*page->CBSeries, 0);
    EXPECT_EQ(page->CBVertAxis->GetItemIndex(), 3);
}

TEST_F(SeriesPage, GeneralAndMarksControlsWriteIntoTheSeriesAtOnce) {
    Open(second);
    probe::ChooseTab(*page->TabGeneral);
    page->CBShowInLegend->SetChecked(false);
    EXPECT_FALSE(second->GetShowInLegend());
    probe::Choose(*page->CBFormat, 1);
    EXPECT_EQ(second->GetValueFormat(), LocalToSarvikFormat(page->CBFormat->GetItems()->GetStrings(1)));
    probe::Type(*page->CBFormat, u".0000"); // typed after "0": a format of no entry
    EXPECT_EQ(second->GetValueFormat(), u"0.0000");
    // Under a decimal comma each format offered, chosen, is stored as the one it stands for.
    const TFormatSettings kept = FormatSettings;
    FormatSettings = editortest::LocaleSettings("ru_RU.UTF-8");
    probe::Choose(*page->CBSeries, 0); // the page filled again in that locale
    probe::Choose(*page->CBSeries, 1);
    TStringList defaults;
    AddDefaultValueFormats(&defaults);
    for (int i = 0; i < defaults.GetCount(); ++i) {
        probe::Choose(*page->CBFormat, i);
        EXPECT_EQ(second->GetValueFormat(), defaults.GetStrings(i)) << i;
    }
    FormatSettings = kept;
    page->EPercentFormat->SetText(u"0 %");
    EXPECT_EQ(second->GetPercentFormat(), u"0 %");
    page->CBXDateTime->SetChecked(true);
    EXPECT_TRUE(second->GetXValues()->GetDateTime());
    probe::Choose(*page->CBSort, 2);
    EXPECT_EQ(second->GetXValues()->GetOrder(), loNone);
    probe::Choose(*page->CBVertAxis, 1);
    EXPECT_EQ(second->GetVertAxis(), aRightAxis);

    probe::ChooseTab(*page->TabMarks);
    TSeriesMarks* marks = second->GetMarks();
    page->CBMarksVisible->SetChecked(true);
    EXPECT_TRUE(marks->GetVisible());
    EXPECT_FALSE(page->CBAllVisible->GetChecked()); // the other series' marks are hidden
    page->CBAllVisible->SetChecked(true);
    EXPECT_TRUE(first->GetMarks()->GetVisible());
    probe::Choose(*page->RGMarkStyle, smsXY);
    EXPECT_EQ(marks->GetStyle(), smsXY);
    EXPECT_TRUE(page->CBMultiLine->GetEnabled());
    probe::Choose(*page->RGMarkStyle, smsValue);
    EXPECT_FALSE(page->CBMultiLine->GetEnabled());
    page->SEMarksAngle->SetText(u"90");
    page->EMarksEvery->SetText(u"3");
    probe::Choose(*page->CBTextAlign, 0);
    page->SEArrowLength->SetText(u"-20");
    page->EArrowDist->SetText(u"6");
    probe::Choose(*page->CBHead, 2);
    page->Edit1->SetText(u"11");
    EXPECT_EQ(marks->GetAngle(), 90);
    EXPECT_EQ(marks->GetDrawEvery(), 3);
    EXPECT_EQ(marks->GetTextAlign(), taLeftJustify);
    EXPECT_EQ(marks->GetCallout()->GetLength(), -20);
    EXPECT_EQ(marks->GetCallout()->GetDistance(), 6);
    EXPECT_EQ(marks->GetCallout()->GetArrowHead(), ahSolid);
    EXPECT_EQ(marks->GetCallout()->GetArrowHeadSize(), 11);
    ASSERT_NE(page->GetMarginsForm(), nullptr);
    EXPECT_EQ(page->GetMarginsForm()->Margins(), marks->GetMargins());
    EXPECT_EQ(page->BMarkLinCol->GetPen(), marks->GetCallout()->GetArrow());
    // The marks' box is edited on the shape pages beside "Margins", the symbol on its own tab.
    ASSERT_NE(page->GetMarksShapeForm(), nullptr);
    EXPECT_EQ(page->GetMarksShapeForm()->GetShape(), marks);
    EXPECT_EQ(page->GetMarksShapeForm()->TabFormat->GetPageControl(), page->PageControlMarks);
    EXPECT_EQ(page->PageControlMarks->GetPageCount(), 4 + 6);
    page->GetMarksShapeForm()->CBBevel->SetItemIndex(bvRaised);
    page->GetMarksShapeForm()->CBBevelChange(nullptr);
    EXPECT_EQ(marks->GetBevel(), bvRaised);
    ASSERT_NE(page->GetMarkSymbolsForm(), nullptr);
    EXPECT_EQ(page->GetMarkSymbolsForm()->GetShape(), marks->GetSymbol());
    EXPECT_EQ(page->GetMarkSymbolsForm()->GetParent(), page->TabSymbol);
    EXPECT_FALSE(page->GetMarkSymbolsForm()->TabText->GetTabVisible());
    EXPECT_FALSE(page->GetMarkSymbolsForm()->BBackColor->GetVisible());
    page->GetSymbolVisibleBox()->SetChecked(true);
    EXPECT_TRUE(marks->GetSymbol()->GetVisible());

    // The colour box edits the series colour.
    ModalDriver driver;
    driver.Dialog(TDialogKind::ColorDialog, ColorChosen(clFuchsia));
    probe::MousePress(*page->PaintBox1, mbLeft, {8, 8});
    probe::MouseRelease(*page->PaintBox1, mbLeft, {8, 8});
    EXPECT_EQ(second->GetSeriesColor(), clFuchsia);
}

TEST_F(SeriesPage, ASeriesThatLeavesTheChartLeavesThePage) {
    Open(first);
    ASSERT_NE(page->GetTypeEditor(), nullptr);
    int heard = 0;
    page->OnChartEvent = [&](TFormZuzSeries* Form, TZuzEvent*) {
        EXPECT_EQ(Form, page);
        ++heard;
    };
    chart->RemoveSeries(first);
    EXPECT_GT(heard, 0);
    EXPECT_EQ(page->GetTypeEditor(), nullptr);
    EXPECT_EQ(page->CBSeries->GetItems()->IndexOfObject(first), -1);
    EXPECT_NE(page->TheSeries, first);
    EXPECT_EQ(page->CBSeries->GetItems()->GetCount(), 1);

    // A chart freed under the page is forgotten.
    page->CBSeries->SetItemIndex(0);
    page->CBSeriesChange(page->CBSeries);
    EXPECT_EQ(page->GetListenedChart(), chart);
    chart->Free();
    chart = nullptr;
    EXPECT_EQ(page->GetListenedChart(), nullptr);
}

TEST_F(SeriesPage, TheSeriesComboSharedWithTheListBoxLosesOnlyTheRemovedSeries) {
    auto* third = Create<TLineSeries>(form.get());
    third->SetName(u"Flow");
    third->SetParentChart(chart);
    Open(first);
    // The page hears the chart before the list does, as once its chart was set again.
    auto* list = Create<TChartListBox>(form.get());
    list->SetParent(form.get());
    list->OtherItems = page->CBSeries->GetItems();
    list->SetChart(chart);
    ASSERT_EQ(page->CBSeries->GetItems()->GetCount(), chart->SeriesCount());
    page->CBSeries->SetItemIndex(page->CBSeries->GetItems()->IndexOfObject(first));
    page->CBSeriesChange(page->CBSeries);

    chart->RemoveSeries(first);
    TStrings* items = page->CBSeries->GetItems();
    ASSERT_EQ(items->GetCount(), chart->SeriesCount());
    EXPECT_EQ(items->IndexOfObject(first), -1);
    EXPECT_GE(items->IndexOfObject(second), 0);
    EXPECT_GE(items->IndexOfObject(third), 0);
    list->OtherItems = nullptr;
}

TEST_F(SeriesPage, TheCalloutPointerOpensThePointerDialogWithItsCloseButton) {
    Open(second);
    probe::ChooseTab(*page->TabMarks);
    TMarksCallout* callout = second->GetMarks()->GetCallout();
    ModalDriver driver;
    driver.Form<TSeriesPointerEditor>([&](TSeriesPointerEditor& d) {
        EXPECT_EQ(d.GetCaption(), u"Pointer");
        EXPECT_EQ(d.Pointer(), callout);
        EXPECT_TRUE(d.PanelBottom->GetVisible());
        d.CBDrawPoint->SetChecked(!callout->GetVisible());
        probe::Click(*d.Button1);
    });
    const bool visible = callout->GetVisible();
    probe::Click(*page->BCalloutPointer);
    EXPECT_NE(callout->GetVisible(), visible);
}

TEST_F(SeriesPage, AloneAsAModalDialogItEditsOneSeriesWithoutTheSeriesBar) {
    ModalDriver driver;
    driver.Form<TFormZuzSeries>(
        [&](TFormZuzSeries& d) {
            EXPECT_EQ(d.GetCaption(), u"Editing Temperature");
            EXPECT_FALSE(d.Panel1->GetVisible());
            EXPECT_FALSE(d.TabDataSource->GetTabVisible());
            EXPECT_EQ(d.GetBorderStyle(), bsSizeable);
            EXPECT_EQ(d.TheSeries, first);
            EXPECT_NE(d.GetTypeEditor(), nullptr);
            EXPECT_FALSE(d.Filling);
            probe::ChooseTab(*d.TabGeneral);
            d.CBShowInLegend->SetChecked(false);
        },
        mrOk);
    const int owned = form->GetComponentCount();
    EditSeriesDialog(form.get(), first);
    EXPECT_FALSE(first->GetShowInLegend());
    EXPECT_EQ(form->GetComponentCount(), owned);

    // An exception out of the dialog still frees it.
    driver.Form<TFormZuzSeries>([](TFormZuzSeries&) { throw std::runtime_error("test"); });
    EXPECT_THROW(EditSeriesDialog(form.get(), first), std::runtime_error);
    EXPECT_EQ(form->GetComponentCount(), owned);
}

TEST_F(SeriesPage, PicturesOfTheGeneralAndMarksTabsBesideTheChart) {
    second->SetTitle(u"Давление, кПа");
    form->SetBounds(0, 0, 820, 300);
    Open(second);
    probe::ChooseTab(*page->TabGeneral);
    SavePicture(*form.get(), "series_page_general.png");
    probe::ChooseTab(*page->TabMarks);
    SavePicture(*form.get(), "series_page_marks.png");
}

} // namespace
