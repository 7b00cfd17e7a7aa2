// The general page: the font list (which fonts, edits reaching every selected font and only
// in what changed, fonts whose owner goes away), the zoom and scroll rules, cursors loaded
// from files; the page navigator and the preview that shows it.

#include "chart/editors/zuzedigene.h"

#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzfont.h"
#include "chart/canvas/zuzpanelext.h"
#include "chart/editors/zuzedifont.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/engine/chartaxis.h"
#include "chart/series/zuzprevi.h"
#include "platform/core/sysutils.h"
#include "platform/gui/buttons.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/cursorfile.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/printdialog.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/dialogfixture.h"
#include "tests/chart/editors/modaldriver.h"
#include "tests/support/cursorfiles.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <utility>
#include <vector>

namespace {

class GeneralPage : public DialogTest {
protected:
    TFormZuzGeneral* Open(TCustomChart* Chart) {
        form->SetBounds(40, 40, 640, 600);
        chart->SetAlign(alTop);
        chart->SetHeight(330);
        page = Create<TFormZuzGeneral>(form.get(), Chart);
        page->SetBorderStyle(bsNone);
        page->SetParent(form.get());
        page->SetAlign(alBottom);
        page->SetHeight(260);
        form->Show();
        page->Show();
        return page;
    }
    int IndexOf(const String& Name) const { return page->LBFonts->GetItems()->IndexOf(Name); }
    void Click(const String& Name) {
        const int i = IndexOf(Name);
        ASSERT_GE(i, 0) << UTF8Encode(Name);
        page->LBFonts->SetItemIndex(i);
        page->LBFonts->SetSelected(i, true);
        page->LBFontsClick(page->LBFonts);
    }
    TZuzFont* FontOf(const String& Name) const {
        return static_cast<TZuzFont*>(page->LBFonts->GetItems()->GetObjects(IndexOf(Name)));
    }
    int Count(const String& Part) const {
        int n = 0;
        TStrings* items = page->LBFonts->GetItems();
        for (int i = 0; i < items->GetCount(); ++i) n += items->GetStrings(i).find(Part) != String::npos;
        return n;
    }

    TFormZuzGeneral* page = nullptr;
    TempDir temp{"moltren-general-page"};
};

} // namespace

// ---------------------------------------------------------------------------
// The font list

TEST_F(GeneralPage, AnEmptyChartListsItsSixTextsAndTwelveAxisFontsWithTheTitleSelected) {
    auto* empty = Create<TChart>(form.get());
    Open(empty);
    EXPECT_EQ(page->LBFonts->GetItems()->GetCount(), 18);
    EXPECT_GE(IndexOf(u"Legend title"), 0);
    EXPECT_GE(IndexOf(u"Depth Top axis"), 0);
    EXPECT_GE(IndexOf(u"Left axis (Axis Title)"), 0);
    EXPECT_EQ(page->GetCurrentFont(), empty->GetTitle()->GetFont());
    EXPECT_EQ(page->LBFonts->GetItemIndex(), IndexOf(u"Title"));
}

TEST_F(GeneralPage, ALineSeriesListsOnlyItsMarksFontAndACustomAxisItsTwo) {
    chart->GetSeries(0)->SetTitle(u"Температура");
    chart->GetCustomAxes()->Add();
    Open(chart);
    EXPECT_EQ(page->LBFonts->GetItems()->GetCount(), 18 + 2 + 2);
    EXPECT_EQ(FontOf(u"Температура (marks)"), chart->GetSeries(0)->GetMarks()->GetFont());
    EXPECT_EQ(IndexOf(u"Температура"), -1);
    EXPECT_EQ(FontOf(u"Custom axis 0"), chart->GetCustomAxes()->Get(0)->GetLabelsFont());
    EXPECT_EQ(FontOf(u"Custom axis 0 (Axis Title)"), chart->GetCustomAxes()->Get(0)->GetTitle()->GetFont());
}

TEST_F(GeneralPage, AnEditReachesEverySelectedFontInWhatChangedOnly) {
    Open(chart);
    TZuzFont* title = chart->GetTitle()->GetFont();
    TZuzFont* foot = chart->GetFoot()->GetFont();
    foot->SetName(u"Liberation Serif");
    foot->SetColor(clRed);
    foot->SetStyle(TFontStyles{fsItalic});
    Click(u"Title");
    page->LBFonts->SetSelected(IndexOf(u"Footer"), true);
    title->SetSize(20); // as the font editor writes it
    EXPECT_EQ(foot->GetSize(), 20);
    EXPECT_EQ(foot->GetName(), u"Liberation Serif");
    EXPECT_EQ(foot->GetColor(), clRed);
    EXPECT_EQ(foot->GetStyle(), TFontStyles{fsItalic});
    title->GetShadow()->SetHorizSize(4);
    EXPECT_EQ(foot->GetShadow()->GetHorizSize(), 4);
    EXPECT_EQ(foot->GetSize(), 20);
    // An unselected font is left alone.
    EXPECT_NE(chart->GetSubTitle()->GetFont()->GetSize(), 20);
}

TEST_F(GeneralPage, TheFontEditorEditsTheClickedFontAndEverySelectedOne) {
    Open(chart);
    page->PageControl1->SetActivePage(page->TabFonts);
    Click(u"Footer");
    TZuzFontEditor* editor = page->GetFontEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->GetParent(), page->PanelFont);
    EXPECT_EQ(editor->GetEditedFont(), chart->GetFoot()->GetFont());
    page->LBFonts->SetSelected(IndexOf(u"SubFooter"), true);
    editor->UDSize->SetPosition(22);
    EXPECT_EQ(chart->GetFoot()->GetFont()->GetSize(), 22);
    EXPECT_EQ(chart->GetSubFoot()->GetFont()->GetSize(), 22);
    Click(u"Title");
    EXPECT_EQ(page->GetFontEditor(), editor); // made once
    EXPECT_EQ(editor->GetEditedFont(), chart->GetTitle()->GetFont());
}

TEST_F(GeneralPage, TheFontsChangeEventComesBackWhenThePageLetsGo) {
    TZuzFont* title = chart->GetTitle()->GetFont();
    int heard = 0;
    title->OnChange = TNotifyEvent([&](TObject*) { ++heard; });
    Open(chart);
    Click(u"Title");
    title->SetSize(15);
    EXPECT_EQ(heard, 1); // the chart still hears its font change
    page->Free();        // as the editor form frees its pages
    page = nullptr;
    EXPECT_FALSE(title->OnChange.Target());
    title->SetSize(16);
    EXPECT_EQ(heard, 2);
}

TEST_F(GeneralPage, AColourPickedAsThePageLosesTheFocusStillReachesTheShownFont) {
    Open(chart);
    Click(u"Title");
    page->LBFonts->SetSelected(IndexOf(u"Footer"), true);
    const TColor foot = chart->GetFoot()->GetFont()->GetColor();
    ModalDriver driver;
    // The window losing the focus to the dialog deactivates the page, which lets go of the font.
    driver.Dialog(TDialogKind::ColorDialog, ColorChosen(clRed),
                  [&](const TDialogRequest&) { page->FormDeactivate(page); });
    page->GetFontEditor()->BColor->Click();
    EXPECT_EQ(chart->GetTitle()->GetFont()->GetColor(), clRed);
    EXPECT_EQ(chart->GetFoot()->GetFont()->GetColor(), foot); // no longer edited with it
    EXPECT_EQ(page->GetCurrentFont(), nullptr);
}

TEST_F(GeneralPage, AFreedSeriesTakesItsFontsOutAndTheCurrentOneIsNeverTouchedAgain) {
    chart->GetSeries(1)->SetTitle(u"Давление");
    Open(chart);
    Click(u"Давление (marks)");
    page->LBFonts->SetSelected(IndexOf(u"Title"), true);
    chart->GetSeries(1)->Free();
    EXPECT_EQ(IndexOf(u"Давление (marks)"), -1);
    EXPECT_EQ(page->GetCurrentFont(), nullptr);
    EXPECT_EQ(page->GetFontEditor()->GetEditedFont(), nullptr);
    // Still shown, but no button of it may write into the freed font.
    EXPECT_EQ(page->GetFontEditor()->BColor->GetInstance(), nullptr);
    EXPECT_EQ(page->GetFontEditor()->BOutline->GetPen(), nullptr);
    Click(u"Title");
    chart->GetTitle()->GetFont()->SetSize(18);
    page->FormShow(page); // refilled as the tab comes back
    EXPECT_EQ(page->LBFonts->GetItems()->GetCount(), 18 + 1);
}

TEST_F(GeneralPage, AFontOfADeletedCustomAxisIsDroppedWithoutBeingWritten) {
    chart->GetCustomAxes()->Add();
    Open(chart);
    Click(u"Custom axis 0");
    chart->GetCustomAxes()->Delete(0); // on the axis page, while this page is hidden
    page->FormShow(page);              // lets go of the font: the freed one is not written
    EXPECT_EQ(IndexOf(u"Custom axis 0"), -1);
    EXPECT_EQ(page->GetCurrentFont(), chart->GetTitle()->GetFont());
}

// ---------------------------------------------------------------------------
// Zoom, scroll and cursor

TEST_F(GeneralPage, ClearingAllowDisablesTheTenZoomControlsAndNoScrollTheMouseList) {
    Open(chart);
    TControl* const zoom[] = {page->CBAnimatedZoom, page->UDAniZoomSteps, page->SEAniZoomSteps, page->EMinPix,
                              page->UDMinPix,       page->BZoomPen,       page->BZoomColor,     page->CBDir,
                              page->CBZoomMouse,    page->CBUpLeft};
    for (TControl* c : zoom) EXPECT_TRUE(c->GetEnabled()) << UTF8Encode(c->GetName());
    page->CBAllowZoom->SetChecked(false);
    EXPECT_FALSE(chart->GetZoom()->GetAllow());
    for (TControl* c : zoom) EXPECT_FALSE(c->GetEnabled()) << UTF8Encode(c->GetName());
    page->CBAnimatedZoom->SetChecked(true);
    page->RGPanning->SetItemIndex(0);
    EXPECT_EQ(chart->GetAllowPanning(), pmNone);
    EXPECT_FALSE(page->CBScrollMouse->GetEnabled());
    page->RGPanning->SetItemIndex(2);
    EXPECT_EQ(chart->GetAllowPanning(), pmVertical);
    EXPECT_TRUE(page->CBScrollMouse->GetEnabled());
}

TEST_F(GeneralPage, TheZoomControlsWriteTheChartsZoom) {
    Open(chart);
    page->UDAniZoomSteps->SetPosition(12);
    page->UDMinPix->SetPosition(30);
    page->CBDir->SetItemIndex(1);
    page->CBDir->OnChange(page->CBDir);
    page->CBZoomMouse->SetItemIndex(2);
    page->CBZoomMouse->OnChange(page->CBZoomMouse);
    page->CBUpLeft->SetChecked(!chart->GetZoom()->GetUpLeftZooms());
    page->CBScrollMouse->SetItemIndex(0);
    page->CBScrollMouse->OnChange(page->CBScrollMouse);
    EXPECT_EQ(chart->GetZoom()->GetAnimatedSteps(), 12);
    EXPECT_EQ(chart->GetZoom()->GetMinimumPixels(), 30);
    EXPECT_EQ(chart->GetZoom()->GetDirection(), tzdVertical);
    EXPECT_EQ(chart->GetZoom()->GetMouseButton(), mbMiddle);
    EXPECT_EQ(page->CBUpLeft->GetChecked(), chart->GetZoom()->GetUpLeftZooms());
    EXPECT_EQ(chart->GetScrollMouseButton(), mbLeft);
    EXPECT_EQ(page->BZoomPen->GetPen(), chart->GetZoom()->GetPen());
}

TEST_F(GeneralPage, ACursorChosenByNameBecomesTheChartsAndItsDefault) {
    Open(chart);
    page->CBCursor->SetItemIndex(page->CBCursor->GetItems()->IndexOf(u"Cross"));
    page->CBCursor->OnChange(page->CBCursor);
    EXPECT_EQ(chart->GetCursor(), crCross);
    EXPECT_EQ(chart->SavedCursor, crCross);
}

TEST_F(GeneralPage, LoadedCursorFilesTakeNumbers2021Then2022) {
    const auto file = temp.path / "hand.cur";
    WriteCursorFile(file, 5, 7);
    Open(chart);
    EXPECT_TRUE(page->BLoad->GetVisible());
    ModalDriver driver;
    driver.Dialog(TDialogKind::OpenDialog, FileChosen(UTF8ToString(file.string())),
                  [](const TDialogRequest& r) { EXPECT_NE(r.Filter.find(u"*.cur"), String::npos); });
    driver.Dialog(TDialogKind::OpenDialog, FileChosen(UTF8ToString(file.string())));
    page->BLoad->Click();
    EXPECT_EQ(chart->GetCursor(), 2021);
    EXPECT_EQ(chart->SavedCursor, 2021);
    page->BLoad->Click();
    EXPECT_EQ(chart->GetCursor(), 2022);
    HCURSOR loaded = Screen->GetCursorHandle(2021);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(CursorSize(loaded), (TSize{32, 32}));
    EXPECT_EQ(CursorHotSpot(loaded), TPoint(5, 7));
    Screen->SetCursors(2021, HCURSOR{});
    Screen->SetCursors(2022, HCURSOR{});
}

TEST_F(GeneralPage, AnAnimatedCursorLoadedShowsItsFramesOnTheChartInTurnAtTheFilesRates) {
    TManualClock clock;
    Application->SetClock(&clock);
    // Steps: blue for 6 jiffies (100 ms), red for 12 (200 ms), red again for 3 (50 ms).
    const auto busy = temp.path / "busy.ani";
    AniFile({AlphaCursor(0xFF0000), AlphaCursor(0x0000FF)}, {1, 0, 0}, {6, 12, 3}).Save(busy);
    // No "rate" or "seq ": the frames in their order, each for the header's 3 jiffies.
    const auto plain = temp.path / "plain.ani";
    AniFile({AlphaCursor(0x00FF00), AlphaCursor(0xFF0000)}, {}, {}).Save(plain);
    Open(chart);
    ModalDriver driver;
    driver.Dialog(TDialogKind::OpenDialog, FileChosen(UTF8ToString(busy.string())),
                  [](const TDialogRequest& r) { EXPECT_NE(r.Filter.find(u"*.ani"), String::npos); });
    driver.Dialog(TDialogKind::OpenDialog, FileChosen(UTF8ToString(plain.string())));
    page->BLoad->Click();
    ASSERT_EQ(chart->GetCursor(), 2021);
    const auto shown = [&](int Ms, const std::string& Name) {
        clock.Advance(static_cast<unsigned>(Ms));
        const probe::Picture cursor = probe::ShownCursor(*chart);
        EXPECT_TRUE(KeepPicture(cursor, Name));
        return cursor.Width() == 32 ? cursor.Pixel(1, 1) : probe::Rgb{-1, -1, -1};
    };
    const probe::Rgb red{255, 0, 0}, blue{0, 0, 255}, green{0, 255, 0};
    EXPECT_EQ(shown(0, "ani-0ms.png"), blue);
    EXPECT_EQ(shown(99, "ani-99ms.png"), blue);
    EXPECT_EQ(shown(1, "ani-100ms.png"), red);
    EXPECT_EQ(shown(249, "ani-349ms.png"), red);
    EXPECT_EQ(shown(1, "ani-350ms.png"), blue);
    page->BLoad->Click();
    ASSERT_EQ(chart->GetCursor(), 2022);
    EXPECT_EQ(shown(49, "plain-49ms.png"), green);
    EXPECT_EQ(shown(1, "plain-50ms.png"), red);
    EXPECT_EQ(shown(50, "plain-100ms.png"), green);
    Screen->SetCursors(2021, HCURSOR{});
    Screen->SetCursors(2022, HCURSOR{});
    Application->SetClock(nullptr);
}

// (The reader's bounds, file by file, are the platform's tests'.)
TEST_F(GeneralPage, ACursorFileThatCannotBeUsedKeepsTheCursorAndSaysSo) {
    using Bytes = std::vector<std::uint8_t>;
    Bytes headerCut = AniFile({AlphaCursor(0xFF0000), AlphaCursor(0x0000FF)}, {1, 0, 0}, {6, 12, 3}).Bytes();
    headerCut.resize(20);
    const std::pair<const char*, Bytes> rows[] = {
        {"not-a-cursor.cur", Bytes{'n', 'o', 't'}},
        {"header-cut.ani", headerCut},
    };
    const auto cutCursor = temp.path / "cut.cur";
    WriteCursorFile(cutCursor, 0, 0);
    std::filesystem::resize_file(cutCursor, 100);
    std::vector<std::filesystem::path> files{cutCursor};
    for (const auto& [name, bytes] : rows) {
        files.push_back(temp.path / name);
        std::ofstream(files.back(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    chart->SetCursor(crHandPoint);
    Open(chart);
    for (const auto& f : files) {
        int messages = 0;
        ModalDriver driver;
        driver.Dialog(TDialogKind::OpenDialog, FileChosen(UTF8ToString(f.string())))
            .Dialog(TDialogKind::MessageDlg, Answered(mrOk), [&](const TDialogRequest& r) {
                ++messages;
                EXPECT_NE(r.Text.find(UTF8ToString(f.string())), String::npos) << f;
            });
        page->BLoad->Click();
        EXPECT_EQ(messages, 1) << f;
        EXPECT_EQ(chart->GetCursor(), crHandPoint) << f;
        EXPECT_EQ(Screen->GetCursorHandle(2021), nullptr) << f;
    }
}

class CursorFile : public FormTest {};

TEST_F(CursorFile, TheMaskDecidesWhatIsClearAndTheEntryGivesTheHotSpot) {
    TempDir temp{"moltren-cursor-file"};
    const auto file = temp.path / "square.cur";
    WriteCursorFile(file, 3, 4, 8);
    HCURSOR cursor = LoadCursorFromFileW(UTF8ToString(file.string()));
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(CursorHotSpot(cursor), TPoint(3, 4));
    Screen->SetCursors(2030, cursor);
    TBitmap picture;
    ASSERT_TRUE(DrawCursorPicture(&picture, 2030));
    EXPECT_EQ(picture.GetCanvas()->GetPixel(2, 2), clBlack);
    EXPECT_NE(picture.GetCanvas()->GetPixel(20, 20), clBlack);
    Screen->SetCursors(2030, HCURSOR{});

    const auto alpha = temp.path / "alpha.cur";
    WriteAlphaCursorFile(alpha);
    Screen->SetCursors(2031, LoadCursorFromFileW(UTF8ToString(alpha.string())));
    ASSERT_TRUE(DrawCursorPicture(&picture, 2031));
    EXPECT_EQ(picture.GetCanvas()->GetPixel(1, 1), clRed);
    EXPECT_NE(picture.GetCanvas()->GetPixel(20, 20), clRed);
    Screen->SetCursors(2031, HCURSOR{});
    EXPECT_EQ(LoadCursorFromFileW(UTF8ToString((temp.path / "missing.cur").string())), nullptr);
}

// ---------------------------------------------------------------------------
// The page navigator and the preview

namespace {

class PageNavigator : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        chart->SetMaxPointsPerPage(5); // 24 points: 5 pages
        navigator = Create<TChartPageNavigator>(form.get());
        navigator->SetParent(form.get());
        navigator->SetAlign(alBottom);
        navigator->SetChart(chart);
    }
    bool Enabled(TZuzNavigateBtn B) const { return navigator->GetButton(B)->GetEnabled(); }
    TChartPageNavigator* navigator = nullptr;
};

} // namespace

TEST_F(PageNavigator, OnTheFirstOfFivePagesOnlyNextAndLastAreEnabled) {
    ASSERT_EQ(navigator->PageCount(), 5);
    EXPECT_FALSE(Enabled(nbFirst));
    EXPECT_FALSE(Enabled(nbPrior));
    EXPECT_TRUE(Enabled(nbNext));
    EXPECT_TRUE(Enabled(nbLast));
    navigator->BtnClick(nbLast);
    EXPECT_EQ(chart->GetPages()->GetCurrent(), 5);
    EXPECT_TRUE(Enabled(nbFirst));
    EXPECT_FALSE(Enabled(nbNext));
    navigator->BtnClick(nbPrior);
    EXPECT_EQ(chart->GetPages()->GetCurrent(), 4);
    EXPECT_TRUE(Enabled(nbNext));
    chart->GetPages()->SetCurrent(1); // the chart's own page change is heard
    EXPECT_FALSE(Enabled(nbPrior));
}

TEST_F(PageNavigator, APanelWithoutAxesIsNoChart) {
    auto* plain = Create<TCustomZuzPanelExtended>(form.get());
    navigator->SetPanel(plain);
    EXPECT_EQ(navigator->GetChart(), nullptr);
    EXPECT_EQ(navigator->PageCount(), 0);
}

TEST_F(PageNavigator, PrintingSeveralPagesAsksForTheRange) {
    ModalDriver driver;
    driver.Dialog(TDialogKind::PrintDialog, Answered(mrCancel), [](const TDialogRequest& r) {
        EXPECT_EQ(r.MinPage, 1);
        EXPECT_EQ(r.FromPage, 1);
        EXPECT_EQ(r.ToPage, 5);
        EXPECT_EQ(r.MaxPage, 5);
        EXPECT_TRUE(TPrintDialogOptions::FromBits(r.Flags).Contains(poPageNums));
    });
    navigator->Print(); // cancelled: nothing printed
}

TEST_F(GeneralPage, ThePreviewShowsAPageNavigatorAndIsFreedWhenSomethingRaises) {
    ModalDriver driver;
    driver.Form<TChartPreview>([&](TChartPreview& p) {
        auto* navigator = dynamic_cast<TChartPageNavigator*>(p.GetNavigator());
        ASSERT_NE(navigator, nullptr);
        EXPECT_EQ(navigator->GetChart(), chart);
    });
    ChartPreview(form.get(), chart);
    const int components = form->GetComponentCount();
    driver.Form<TChartPreview>([](TChartPreview&) { throw Exception(u"printer gone"); });
    EXPECT_THROW(ChartPreview(form.get(), chart), Exception);
    EXPECT_EQ(form->GetComponentCount(), components);
}

// ---------------------------------------------------------------------------
// A look

TEST_F(GeneralPage, PictureOfEachTab) {
    Open(chart);
    const struct {
        TTabSheet* tab;
        const char* name;
    } tabs[] = {{page->TabZoom, "general-page-zoom.png"},
                {page->TabScroll, "general-page-scroll.png"},
                {page->TabCursor, "general-page-cursor.png"},
                {page->TabFonts, "general-page-fonts.png"}};
    for (const auto& t : tabs) {
        page->PageControl1->SetActivePage(t.tab);
        SavePicture(*form.get(), t.name);
    }
}
