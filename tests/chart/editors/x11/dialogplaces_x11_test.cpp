// The editor's dialogs opened as the operator opens them, by real clicks and keys on an X server
// with a window manager: each opens on the screen over the window its button is in, embedded
// page or not; the filters list keeps each mark with its entry as it moves; the picture dialog
// lists the pictures; a scroll bar's arrows and an access key shared with a disabled edit.
#include "chart/canvas/zuzdraw3d.h"
#include "chart/canvas/zuzfilters.h"
#include "chart/editors/zuzarrowedi.h"
#include "chart/editors/zuzaxisincr.h"
#include "chart/editors/zuzaxmaxmin.h"
#include "chart/editors/zuzbackimage.h"
#include "chart/editors/zuzbmpoptions.h"
#include "chart/editors/zuzediaxis.h"
#include "chart/editors/zuzedipane.h"
#include "chart/editors/zuzexport.h"
#include "chart/editors/zuzfilterseditor.h"
#include "chart/editors/zuzflineedi.h"
#include "chart/series/arrowcha.h"
#include "chart/series/series.h"
#include "platform/gui/checklst.h"
#include "tests/chart/editors/editformfixture.h"
#include "tests/chart/editors/modaldriver.h"
#include "tests/support/tempdir.h"
#include "tests/support/xserver.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace {

TRect OnScreen(const TControl& c) {
    const TPoint o = probe::ScreenOrigin(c);
    return Bounds(o.X, o.Y, c.GetWidth(), c.GetHeight());
}

// The control's window: the top form that holds it.
const TCustomForm& WindowOf(const TControl& c) {
    const TControl* top = &c;
    for (const TControl* p = &c; p; p = p->GetParent())
        if (dynamic_cast<const TCustomForm*>(p)) top = p;
    return dynamic_cast<const TCustomForm&>(*top);
}

// Any control of class C under Root.
template <class C>
C* Find(TWinControl* Root) {
    for (int i = 0; i < Root->GetControlCount(); ++i) {
        if (auto* c = dynamic_cast<C*>(Root->GetControl(i))) return c;
        if (auto* w = dynamic_cast<TWinControl*>(Root->GetControl(i)))
            if (C* c = Find<C>(w)) return c;
    }
    return nullptr;
}

class XDialogPlaces : public EditFormTest {
protected:
    void SetUp() override {
        EditFormTest::SetUp();
        if (!xserver::RunWindowManager()) GTEST_SKIP() << "no window manager (openbox): run scripts/setup";
        form->SetCaption(u"График 1");
        form->SetBounds(60, 40, 900, 700);
        auto bitmap = MakeOwned<TBitmap>();
        bitmap->SetPixelFormat(pf24bit);
        bitmap->SetSize(64, 48);
        bitmap->GetCanvas()->GetBrush()->SetColor(static_cast<TColor>(0x80C0E0));
        bitmap->GetCanvas()->FillRect(TRect(0, 0, 64, 48));
        chart->GetBackImage()->SetGraphic(bitmap.get());
        form->Show();
        ASSERT_TRUE(xserver::Activate(*form.form));
    }
    // The editor with its pages on tabs, shown over the chart's window.
    TChartEditForm* ShownEditor() {
        UseTabs();
        TChartEditForm* e = Editor();
        e->Show();
        EXPECT_TRUE(xserver::Activate(*e));
        probe::ProcessEvents();
        return e;
    }
    // The dialog lies on the screen, its middle on the middle of the window Button is in.
    void ExpectOverButtonsWindow(TCustomForm& Dialog, const TControl& Button, const std::string& Name) const {
        ASSERT_TRUE(xserver::Activate(Dialog)) << Name;
        probe::ProcessEvents();
        const TRect d = OnScreen(Dialog), w = OnScreen(WindowOf(Button)), area = Screen->GetWorkAreaRect();
        EXPECT_TRUE(d.Left >= area.Left && d.Top >= area.Top && d.Right <= area.Right &&
                    d.Bottom <= area.Bottom)
            << Name << ": (" << d.Left << ", " << d.Top << ")";
        EXPECT_NEAR((d.Left + d.Right) / 2, (w.Left + w.Right) / 2, 2) << Name;
        EXPECT_NEAR((d.Top + d.Bottom) / 2, (w.Top + w.Bottom) / 2, 2) << Name;
        xserver::Keep(xserver::Picture(*form.form), Name); // the chart's window, with all on it
    }
    // A series editor of class E on a form of its own, for a new series of class S with Points
    // sample points, shown and active.
    template <class E, class S>
    struct Hosted {
        E* editor;
        S* series;
        TForm* host;
    };
    template <class E, class S>
    Hosted<E, S> ShownSeriesEditor(int Points) {
        auto* series = Create<S>(form.get());
        series->SetParentChart(chart);
        series->FillSampleValues(Points);
        auto* host = Create<TForm>(form.get(), TCustomForm::NewTag{});
        host->SetBounds(200, 150, 360, 260);
        auto* editor = Create<E>(host);
        AddFormTo(editor, host, series);
        host->Show();
        EXPECT_TRUE(xserver::Activate(*host));
        return {editor, series, host};
    }
    static void ClickOn(const TControl& Button) {
        ASSERT_TRUE(xserver::Click(Button, TPoint(Button.GetWidth() / 2, Button.GetHeight() / 2)));
    }
    // The bitmap format's options in an export dialog, and its "Filters..." button clicked.
    void FiltersOfTheBitmapFormat(TZuzExportForm& Export, const std::string& Name) {
        probe::ChooseTab(*Export.TabPicture);
        int bitmap = -1;
        for (int i = 0; i < Export.LBFormat->GetItems()->GetCount(); ++i)
            if (Export.LBFormat->GetItems()->GetStrings(i).find(u"Bitmap") != String::npos) bitmap = i;
        ASSERT_GE(bitmap, 0);
        probe::ClickItem(*Export.LBFormat, bitmap);
        probe::ChooseTab(*Export.TabOptions);
        probe::ProcessEvents();
        auto* options = Find<TBMPOptions>(Export.TabOptions);
        ASSERT_NE(options, nullptr);
        ModalDriver driver;
        driver.Form<TFiltersEditor>(
            [&](TFiltersEditor& f) { ExpectOverButtonsWindow(f, *options->Button1, Name); }, mrCancel);
        ClickOn(*options->Button1);
    }
};

} // namespace

// "Filters..." from the export dialog's picture options, from the editor's Export page and from
// the editor's Panel > Image tab: the filters editor opens over the window of the button.
TEST_F(XDialogPlaces, TheFiltersEditorOpensOverTheWindowOfEachButtonThatOpensIt) {
    {
        const Owned<TZuzExportForm> exporter(Create<TZuzExportForm>(nullptr));
        exporter->SetPanel(chart);
        exporter->Show();
        ASSERT_TRUE(xserver::Activate(*exporter));
        FiltersOfTheBitmapFormat(*exporter, "filters-from-export-dialog");
    }
    TChartEditForm* e = ShownEditor();
    probe::ChooseTab(*e->TabExport);
    probe::ProcessEvents();
    ASSERT_NE(e->GetExportForm(), nullptr);
    FiltersOfTheBitmapFormat(*e->GetExportForm(), "filters-from-editor-export-page");

    probe::ChooseTab(*e->TabChart);
    probe::ChooseTab(*e->TabPanel);
    probe::ProcessEvents();
    auto* panel = dynamic_cast<TFormZuzPanel*>(e->PageForm(e->TabPanel));
    ASSERT_NE(panel, nullptr);
    probe::ChooseTab(*panel->TabImage);
    probe::ProcessEvents();
    auto* image = Find<TBackImageEditor>(panel->TabImage);
    ASSERT_NE(image, nullptr);
    ModalDriver driver;
    driver.Form<TFiltersEditor>(
        [&](TFiltersEditor& f) {
            ExpectOverButtonsWindow(f, *image->Button1, "filters-from-editor-panel-image");
        },
        mrCancel);
    ClickOn(*image->Button1);
}

// The axis page's "Change..." centres the increment dialog on the editor; the minimum's, its
// dialog on the screen.
TEST_F(XDialogPlaces, TheAxisPagesDialogsOpenOverTheEditorAndInTheScreensMiddle) {
    TChartEditForm* e = ShownEditor();
    e->SetLeft(20); // away from the screen's middle
    probe::ChooseTab(*e->TabChart);
    probe::ChooseTab(*e->TabAxis);
    probe::ProcessEvents();
    auto* axis = dynamic_cast<TFormZuzAxis*>(e->PageForm(e->TabAxis));
    ASSERT_NE(axis, nullptr);
    probe::ChooseTab(*axis->TabScales);
    probe::ChooseTab(*axis->TabIncrement);
    probe::ProcessEvents();
    ModalDriver driver;
    driver.Form<TAxisIncrement>(
        [&](TAxisIncrement& d) { ExpectOverButtonsWindow(d, *axis->BIncre, "increment-dialog"); }, mrCancel);
    ClickOn(*axis->BIncre);
    probe::ChooseTab(*axis->TabMinimum);
    probe::ProcessEvents();
    driver.Form<TAxisMaxMin>(
        [&](TAxisMaxMin& d) {
            ASSERT_TRUE(xserver::Activate(d));
            const TRect r = OnScreen(d), area = Screen->GetWorkAreaRect();
            EXPECT_NEAR((r.Left + r.Right) / 2, (area.Left + area.Right) / 2, 2);
            EXPECT_NEAR((r.Top + r.Bottom) / 2, (area.Top + area.Bottom) / 2, 2);
        },
        mrCancel);
    ClickOn(*axis->BAxisMin);
}

// With Invert on and Brightness off, Brightness moved up by a click on the arrow keeps its
// empty mark and Invert its tick; the preview does not change, and OK keeps what was shown.
TEST_F(XDialogPlaces, AFilterMovedUpTakesItsMarkAlongAndOkKeepsWhatWasShown) {
    TBackImage* image = chart->GetBackImage();
    TZuzFilter* invert = image->GetFilters()->Add(TInvertFilter::StaticClass());
    TZuzFilter* bright = image->GetFilters()->Add(TBrightnessFilter::StaticClass());
    bright->SetEnabled(false);
    ModalDriver driver;
    driver.Form<TFiltersEditor>([&](TFiltersEditor& f) {
        ASSERT_TRUE(xserver::Activate(f));
        probe::ProcessEvents();
        probe::ClickItem(*f.Filters, 1);
        probe::ProcessEvents();
        const probe::Picture before = xserver::Picture(*f.Image);
        ClickOn(*f.BMoveUp);
        probe::ProcessEvents();
        EXPECT_EQ(f.Filters->GetItems()->GetObjects(0), bright);
        EXPECT_FALSE(f.Filters->GetChecked(0));
        EXPECT_TRUE(f.Filters->GetChecked(1));
        EXPECT_EQ(xserver::Picture(*f.Image), before);
        xserver::Keep(xserver::Picture(f), "filters-list-after-move-up");
        ClickOn(*f.BOK);
    });
    EXPECT_TRUE(ShowFiltersEditor(form.get(), image));
    ASSERT_EQ(image->GetFilters()->GetItem(0), bright);
    EXPECT_FALSE(bright->GetEnabled());
    EXPECT_TRUE(invert->GetEnabled());
}

// The picture editor's "Browse..." shows the pictures of the folder, of every type it reads.
TEST_F(XDialogPlaces, ThePictureDialogListsThePictures) {
    const TempDir folder{"moltren-pictures"};
    for (const char* name : {"Котёл.bmp", "Сеть.jpg", "Вода.emf", "Отчёт.txt"})
        std::ofstream(folder.path / name) << "x";
    const xserver::OwnQtSettings qtSettings;
    chart->GetBackImage()->SetGraphic(nullptr); // with none the button browses, else it clears
    std::vector<std::string> listed;
    ModalDriver driver;
    driver.Form<TBackImageEditor>(
        [&](TBackImageEditor& e) {
            ASSERT_TRUE(xserver::Activate(e));
            SetDialogResponder({}); // the file dialog itself
            xserver::ListFileDialogOnceShown(listed, "picture-dialog-from-browse", folder.path);
            ClickOn(*e.BBrowse);
        },
        mrCancel);
    EditZuzPicture(form.get(), chart->GetBackImage());
    EXPECT_EQ(listed, (std::vector<std::string>{"Вода.emf", "Котёл.bmp", "Сеть.jpg"}));
}

// Alt+S puts the focus on the arrow editor's size bar; Right then raises it, Left lowers it.
TEST_F(XDialogPlaces, TheArrowEditorsSizeBarTakesAltSAndItsArrowsPointTheWayTheyMove) {
    const auto [editor, arrows, host] = ShownSeriesEditor<TArrowSeriesEditor, TArrowSeries>(4);
    const int start = editor->SBPercent->GetPosition();
    ASSERT_TRUE(xserver::Type("alt+s"));
    EXPECT_TRUE(editor->SBPercent->Focused());
    ASSERT_TRUE(xserver::Type("Right Right Left"));
    EXPECT_EQ(editor->SBPercent->GetPosition(), start + 1);
    xserver::Keep(xserver::Picture(*host), "arrow-editor-size-bar-focused");
}

// "Sp&ace:" labels the fast line editor's disabled space edit: Alt+A is "Draw &All"'s alone.
TEST_F(XDialogPlaces, AltATicksDrawAllPastTheLabelOfADisabledEdit) {
    const auto [editor, line, host] = ShownSeriesEditor<TFastLineSeriesEditor, TFastLineSeries>(6);
    ASSERT_FALSE(editor->ESpace->GetEnabled());
    const bool drawAll = line->GetDrawAllPoints();
    for (const bool flipped : {true, false, true}) {
        ASSERT_TRUE(xserver::Type("alt+a"));
        EXPECT_EQ(line->GetDrawAllPoints(), flipped ? !drawAll : drawAll);
    }
}
