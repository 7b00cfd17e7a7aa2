// The editor dialogs as the X server shows them over a chart window with Russian texts: the
// pen dialog's style list dropped down by a click, each row drawn by the dialog itself; the
// gradient, picture and filters editors; the shadow editor first opened from the walls page; the
// export dialog's save dialog answered by keys; the series colour chosen in the series page's box
// shown on its type page's colour button; and the
// gallery panel as real keys and a real mouse reach it: the arrows move the highlight, the pointer
// frames the sample it is over and unframes the one it leaves.
#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzfilters.h"
#include "chart/canvas/zuzpanelext.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/editors/editchar.h"
#include "chart/editors/zuzbackimage.h"
#include "chart/editors/zuzbaredit.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzedilege.h"
#include "chart/editors/zuzediseri.h"
#include "chart/editors/zuzeditcha.h"
#include "chart/editors/zuzediwall.h"
#include "chart/editors/zuzexport.h"
#include "chart/editors/zuzfilterseditor.h"
#include "chart/editors/zuzgallerypanel.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzshadoweditor.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/charttitle.h"
#include "chart/engine/chartwalls.h"
#include "chart/series/zuzprevi.h"
#include "platform/gui/printers.h"
#include "platform/win32/registry.h"
#include "tests/chart/editors/gridfixture.h"
#include "tests/chart/editors/modaldriver.h"
#include "tests/support/keptprinter.h"
#include "tests/support/tempdir.h"
#include "tests/support/xserver.h"

#include <fstream>
#include <iterator>
#include <set>

namespace {

class XEditorDialogs : public ChartFormTest {
protected:
    void SetUp() override {
        ChartFormTest::SetUp();
        win32::SetRegistryDirectory(scratch.path);
        form->SetCaption(u"График 1");
        form->SetBounds(100, 60, 1000, 760);
        chart->SetAlign(alClient);
        chart->GetTitle()->GetText()->SetText(u"Архив прибора «КРОНТ»");
        AddSeries<TLineSeries>({21, 23, 26, 24, 22, 25, 27}, u"Температура, °C")->SetSeriesColor(clRed);
        AddSeries<TBarSeries>({11, 12, 10, 9, 12, 13, 11}, u"Давление, кПа")->SetSeriesColor(clBlue);
        form->Show();
        ASSERT_TRUE(xserver::Activate(*form.form));
    }
    void TearDown() override {
        win32::SetRegistryDirectory({});
        ChartFormTest::TearDown();
    }
    // The window as the screen shows it with the dialog on top, kept for a person to look at.
    void Shoot(TCustomForm& Dialog, const std::string& Name) {
        ASSERT_TRUE(xserver::Activate(Dialog));
        probe::ProcessEvents();
        const probe::Picture shot = xserver::Picture(*form.form);
        xserver::Keep(shot, Name);
        // The dialog lies over the chart, whose title stays in sight above it.
        const TPoint d = Dialog.ClientToScreen(TPoint(0, 0)), w = form->ClientToScreen(TPoint(0, 0));
        EXPECT_GT(d.X, w.X);
        EXPECT_GT(d.Y, w.Y);
        EXPECT_LT(d.X + Dialog.GetWidth(), w.X + form->GetWidth());
        EXPECT_LT(d.Y + Dialog.GetHeight(), w.Y + form->GetHeight());
    }

    const TempDir scratch{"moltren-editor-dialogs-x11"};
    // The save dialog keeps its state as it closes.
    const xserver::OwnQtSettings qtSettings;
};

TEST_F(XEditorDialogs, ThePenStylesDroppedDownByAClickAreDrawnRowByRowByTheDialog) {
    TChartPen* pen = chart->GetSeries(0)->GetPen();
    pen->SetColor(clRed);
    std::set<int> rows;
    ModalDriver driver;
    driver.Form<TPenDialog>(
        [&](TPenDialog& d) {
            ASSERT_TRUE(xserver::Activate(d));
            TComboFlat* box = d.CBStyle;
            const TDrawItemEvent own = box->OnDrawItem;
            ASSERT_TRUE(static_cast<bool>(own));
            box->OnDrawItem = TDrawItemEvent([&, own](TWinControl* c, int i, TRect r, TOwnerDrawState s) {
                if (!s.Contains(odComboBoxEdit)) rows.insert(i);
                own(c, i, r, s);
            });
            ASSERT_TRUE(xserver::Click(*box, TPoint(box->GetWidth() / 2, box->GetHeight() / 2)));
            ASSERT_TRUE(probe::WaitFor([&] { return box->GetDroppedDown(); }));
            probe::ProcessEvents();
            const probe::Picture shot = xserver::Picture(*form.form);
            xserver::Keep(shot, "pen-styles-dropped-down");
            for (int i = 0; i < box->GetItems()->GetCount(); ++i) EXPECT_TRUE(rows.count(i)) << i;
            // Below the box the rows show their line samples in the pen's red.
            const TPoint under = box->ClientToScreen(TPoint(0, box->GetHeight())),
                         origin = form->ClientToScreen(TPoint(0, 0));
            int red = 0;
            for (int y = under.Y - origin.Y; y < shot.Height() && y < under.Y - origin.Y + 200; ++y)
                for (int x = under.X - origin.X; x < under.X - origin.X + 40; ++x)
                    if (shot.Pixel(x, y) == (probe::Rgb{255, 0, 0})) ++red;
            EXPECT_GT(red, 40);
            ASSERT_TRUE(xserver::Type("Escape"));
            EXPECT_FALSE(box->GetDroppedDown());
        },
        mrCancel);
    EXPECT_FALSE(EditChartPen(form.get(), pen));
}

// In a dialog with a default and a cancel button, Return and Escape in a dropped list are the
// list's: Return takes the highlighted item, Escape closes the list only, and the dialog stays.
// With the list closed Escape is the cancel button's, as before.
TEST_F(XEditorDialogs, ReturnAndEscapeInADroppedListAreTheListsAndTheDialogStays) {
    const auto inTheList = [](TCustomForm& Dialog, TCustomComboBox& Box, const std::string& Keys) {
        ASSERT_TRUE(xserver::Click(Box, TPoint(Box.GetWidth() / 2, Box.GetHeight() / 2))) << Keys;
        ASSERT_TRUE(probe::WaitFor([&] { return Box.GetDroppedDown(); })) << Keys;
        ASSERT_TRUE(xserver::Type(Keys)) << Keys;
        EXPECT_TRUE(probe::WaitFor([&] { return !Box.GetDroppedDown(); })) << Keys;
        EXPECT_EQ(Dialog.GetModalResult(), mrNone) << Keys;
    };
    const auto escapeCloses = [](TCustomForm& Dialog) {
        ASSERT_TRUE(xserver::Type("Escape"));
        EXPECT_TRUE(probe::WaitFor([&] { return Dialog.GetModalResult() != mrNone; }));
    };
    const KeptPrinter printer;
    ModalDriver driver;
    driver.Form<TChartPreview>(
        [&](TChartPreview& p) {
            ASSERT_TRUE(xserver::Activate(p));
            inTheList(p, *p.CBPrinters, "Escape");
            xserver::Keep(xserver::Picture(p), "print-preview-after-escape-in-the-printers");
            inTheList(p, *p.CBPrinters, "Return");
            escapeCloses(p);
        },
        mrCancel);
    Owned<TChartPreviewer> previewer(Create<TChartPreviewer>(nullptr));
    previewer->SetChart(chart);
    previewer->Execute();

    driver.Form<TChartEditForm>(
        [&](TChartEditForm& e) {
            ASSERT_TRUE(xserver::Activate(e));
            auto* page = dynamic_cast<TFormZuzLegend*>(e.PageForm(e.TabLegend));
            ASSERT_NE(page, nullptr);
            probe::ChooseTab(*page->TabStyle);
            inTheList(e, *page->CBCheckBoxes, "Down Return");
            EXPECT_EQ(page->CBCheckBoxes->GetItemIndex(), 1);
            EXPECT_TRUE(chart->GetLegend()->GetCheckBoxes());
            inTheList(e, *page->CBCheckBoxes, "Down Escape");
            EXPECT_EQ(page->CBCheckBoxes->GetItemIndex(), 1);
            escapeCloses(e);
        },
        mrOk);
    EditChartLegend(form.get(), chart);
}

TEST_F(XEditorDialogs, TheGradientEditorOpensOverTheChart) {
    chart->GetGradient()->SetVisible(true);
    ModalDriver driver;
    driver.Form<TZuzGradientEditor>([&](TZuzGradientEditor& e) { Shoot(e, "gradient-editor-over-chart"); },
                                    mrCancel);
    EXPECT_FALSE(EditZuzGradient(form.get(), chart->GetGradient()));
}

TEST_F(XEditorDialogs, ThePictureAndFiltersEditorsOpenOverTheChart) {
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(64, 48);
    bitmap->GetCanvas()->GetBrush()->SetColor(static_cast<TColor>(0x80C0E0));
    bitmap->GetCanvas()->FillRect(TRect(0, 0, 64, 48));
    TBackImage* image = chart->GetBackImage();
    image->SetGraphic(bitmap.get());
    image->GetFilters()->Add(TInvertFilter::StaticClass());
    image->GetFilters()->Add(TBrightnessFilter::StaticClass());
    ModalDriver driver;
    driver.Form<TBackImageEditor>([&](TBackImageEditor& e) { Shoot(e, "picture-editor-over-chart"); },
                                  mrCancel);
    EditZuzPicture(form.get(), image);
    driver.Form<TFiltersEditor>(
        [&](TFiltersEditor& e) {
            probe::ProcessEvents(); // the deferred rebuild of the options
            Shoot(e, "filters-editor-over-chart");
        },
        mrCancel);
    EXPECT_FALSE(ShowFiltersEditor(form.get(), image));
}

// The save dialog as the operator meets it: a name typed without an extension takes the extension
// of the file type, whether the data format chose the type or the operator picked it in the dialog.
TEST_F(XEditorDialogs, ANameTypedWithoutAnExtensionTakesTheFileTypesExtension) {
    if (!xserver::RunWindowManager()) GTEST_SKIP() << "no window manager (openbox): run scripts/setup";
    SetDialogResponder({}); // the dialog itself, answered by keys
    const Owned<TZuzExportForm> dialog(Create<TZuzExportForm>(nullptr));
    dialog->SetPanel(chart);
    dialog->SetInitialDir(UTF8ToString(scratch.path.string()));
    dialog->Show();
    ASSERT_TRUE(xserver::Activate(*dialog));
    probe::ChooseTab(*dialog->TabData);
    std::string typed;
    xserver::ModalBoxes boxes([&](int) { return typed; });
    const auto save = [&](const std::string& Keys) {
        typed = Keys;
        boxes.Forget();
        const TButton& b = *dialog->BSave;
        ASSERT_TRUE(xserver::Click(b, TPoint(b.GetWidth() / 2, b.GetHeight() / 2))) << Keys;
        ASSERT_TRUE(boxes.WaitUntilClosed()) << Keys;
        ASSERT_EQ(boxes.Seen().size(), 1u) << Keys;
    };
    const auto text = [&](const char* Name) {
        std::ifstream in(scratch.path / Name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    ASSERT_TRUE(xserver::Focus(*dialog->RGText));
    ASSERT_TRUE(xserver::Type("Down"));
    ASSERT_EQ(dialog->RGText->GetItemIndex(), 1); // "XML"
    save("d a t a 2 Return");
    EXPECT_NE(text("data2.xml").find(std::string("<\0s\0e\0r\0i\0e\0s\0", 13)), std::string::npos);
    // Back to text, with the comma-delimited type picked in the dialog: Tab goes from the name to
    // the types.
    ASSERT_TRUE(xserver::Focus(*dialog->RGText));
    ASSERT_TRUE(xserver::Type("Up"));
    save("c o m m a Tab Down shift+Tab Return");
    EXPECT_NE(text("comma.csv").find(std::string(",\0", 2)), std::string::npos);
    int saved = 0;
    for (const auto& entry : std::filesystem::directory_iterator(scratch.path))
        saved += entry.path().stem() == "data2" || entry.path().stem() == "comma";
    EXPECT_EQ(saved, 2) << "no file under another extension";
}

// The back wall's shadow (grey, smoothed) in the shadow editor opened for the first time by a click
// on the walls page: the smoothing box is drawn where it takes clicks, the blur bar follows it, and
// a click on it switches the smoothing off.
TEST_F(XEditorDialogs, TheShadowEditorFirstShownDrawsItsBoxesWhereTheyTakeClicks) {
    if (!xserver::RunWindowManager()) GTEST_SKIP() << "no window manager (openbox): run scripts/setup";
    SetDialogResponder({}); // the editor itself, shown on the server
    chart->SetView3D(true);
    TZuzShadow* shadow = chart->GetBackWall()->GetShadow();
    ASSERT_NE(shadow->GetColor(), clBlack);
    ASSERT_TRUE(shadow->GetSmooth());
    const Owned<TChartEditForm> editor(Create<TChartEditForm>(nullptr));
    editor->SetChart(chart);
    editor->Show();
    ASSERT_TRUE(xserver::Activate(*editor));
    editor->SelectTreeNodeData(chart->GetBackWall());
    probe::ProcessEvents();
    auto* page = dynamic_cast<TFormZuzWall*>(editor->PageForm(editor->TabWalls));
    ASSERT_NE(page, nullptr);
    const auto shown = [] {
        for (int i = 0; i < Screen->GetFormCount(); ++i)
            if (auto* f = dynamic_cast<TZuzShadowEditor*>(Screen->GetForm(i)); f && f->GetVisible()) return f;
        return static_cast<TZuzShadowEditor*>(nullptr);
    };
    // The box's text is drawn inside the box's own rectangle, not beside it.
    const auto drawn = [](const TCheckBox& Box) { return xserver::Picture(Box).Darkest() < 100; };
    bool looked = false;
    xserver::ModalBoxes boxes([&](int) -> std::string {
        TZuzShadowEditor* e = shown();
        if (!e) return {};
        probe::ProcessEvents();
        xserver::Keep(xserver::Picture(*e), "shadow-editor-first-show");
        EXPECT_TRUE(e->CBSmooth->GetChecked());
        EXPECT_TRUE(e->TBBlur->GetEnabled());
        EXPECT_TRUE(drawn(*e->CBSmooth));
        EXPECT_TRUE(drawn(*e->CBClip));
        EXPECT_TRUE(xserver::Click(*e->CBSmooth, TPoint(7, e->CBSmooth->GetHeight() / 2)));
        EXPECT_FALSE(shadow->GetSmooth());
        EXPECT_FALSE(e->TBBlur->GetEnabled());
        xserver::Keep(xserver::Picture(*e), "shadow-editor-smooth-clicked");
        looked = true;
        return "Return";
    });
    TButton* button = page->BShadow;
    ASSERT_TRUE(xserver::Click(*button, TPoint(button->GetWidth() / 2, button->GetHeight() / 2)));
    ASSERT_TRUE(boxes.WaitUntilClosed());
    EXPECT_TRUE(looked);
}

// A colour chosen in the series page's colour box shows at once on the colour button of the
// series type's own page beside it, not only when something else has it drawn again.
TEST_F(XEditorDialogs, TheSeriesColourChosenInTheBoxShowsOnTheTypesColourButton) {
    const Owned<TChartEditForm> editor(Create<TChartEditForm>(nullptr));
    editor->SetChart(chart);
    editor->Show();
    ASSERT_TRUE(xserver::Activate(*editor));
    TChartSeries* bar = chart->GetSeries(1);
    editor->SelectTreeNodeData(bar);
    probe::ProcessEvents();
    TFormZuzSeries* page = editor->SeriesForm;
    ASSERT_NE(page, nullptr);
    auto* format = dynamic_cast<TBarSeriesEditor*>(page->GetTypeEditor());
    ASSERT_NE(format, nullptr);
    ASSERT_TRUE(format->BBarColor->GetShowing());
    const TRect swatch = format->BBarColor->SymbolRectangle();
    const TPoint middle((swatch.Left + swatch.Right) / 2, (swatch.Top + swatch.Bottom) / 2);
    ASSERT_EQ(xserver::Picture(*format->BBarColor).Pixel(middle.X, middle.Y), (probe::Rgb{0, 0, 255}));

    ModalDriver driver;
    driver.Dialog(TDialogKind::ColorDialog, ColorChosen(clLime));
    TPaintBox* box = page->PaintBox1;
    ASSERT_TRUE(xserver::Click(*box, TPoint(box->GetWidth() / 2, box->GetHeight() / 2)));
    probe::ProcessEvents();
    ASSERT_EQ(bar->GetSeriesColor(), clLime);
    EXPECT_EQ(xserver::Picture(*format->BBarColor).Pixel(middle.X, middle.Y), (probe::Rgb{0, 255, 0}));
}

class XGalleryPanel : public XEditorDialogs {
protected:
    void SetUp() override {
        XEditorDialogs::SetUp();
        host = Create<TForm>(form.get(), TCustomForm::NewTag{});
        host->SetCaption(u"Галерея");
        host->SetBounds(300, 200, 460, 340);
        panel = Create<TChartGalleryPanel>(host);
        panel->SetParent(host);
        panel->SetAlign(alClient);
        panel->CreateGalleryPage(VavIve_GalleryStandard);
        host->Show();
        ASSERT_TRUE(xserver::Activate(*host));
        probe::ProcessEvents();
    }
    int IndexOfSelected() const { return panel->Charts().IndexOf(panel->SelectedChart()); }

    TForm* host = nullptr;
    TChartGalleryPanel* panel = nullptr;
};

TEST_F(XGalleryPanel, ArrowKeysTypedOnTheServerMoveTheHighlight) {
    xserver::Keep(xserver::Picture(*form.form), "gallery-panel-over-chart");
    ASSERT_EQ(IndexOfSelected(), 0);
    ASSERT_TRUE(xserver::Focus(*panel->SelectedChart()));
    ASSERT_TRUE(xserver::Type("Right"));
    EXPECT_EQ(IndexOfSelected(), 1);
    ASSERT_TRUE(xserver::Type("Down"));
    EXPECT_EQ(IndexOfSelected(), 1 + panel->GetNumCols());
    ASSERT_TRUE(xserver::Type("Left Up"));
    EXPECT_EQ(IndexOfSelected(), 0);
    ASSERT_TRUE(xserver::Type("Up")); // the top row: nowhere to go
    EXPECT_EQ(IndexOfSelected(), 0);
}

TEST_F(XGalleryPanel, ThePointerFramesTheSampleItIsOverAndUnframesTheOneItLeaves) {
    TGalleryChart* sample = panel->GetChart(2);
    const TPoint inside(sample->GetWidth() / 2, sample->GetHeight() / 2);
    const probe::Rgb white{255, 255, 255};
    // The left edge's middle: the frame's white line, or the sample's own back.
    const auto edge = [&] { return xserver::Picture(*sample).Pixel(0, sample->GetHeight() / 2); };
    ASSERT_TRUE(xserver::Move(*panel->GetChart(1), inside));
    EXPECT_NE(edge(), white);
    ASSERT_TRUE(xserver::Move(*sample, inside));
    EXPECT_EQ(edge(), white);
    xserver::Keep(xserver::Picture(*host), "gallery-panel-hover");
    ASSERT_TRUE(xserver::Move(*panel->GetChart(3), inside));
    EXPECT_NE(edge(), white);
    EXPECT_EQ(xserver::Picture(*panel->GetChart(3)).Pixel(0, sample->GetHeight() / 2), white);
}

} // namespace
