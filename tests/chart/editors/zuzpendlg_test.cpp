// The editor helpers and the pen dialog: forms made for a modal show and forms embedded in a
// host, yes/no questions, lists, cursor names, and the pen dialog driven as a user drives it.
#include "chart/editors/zuzpendlg.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/editorunits.h"
#include "tests/chart/editors/modaldriver.h"
#include "tests/support/formtest.h"
#include "tests/support/guiprobe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class EditorHelpers : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartChartEditorUnits(); }
    void TearDown() override { Screen->SetCursor(crDefault); }
};

// ---------------------------------------------------------------------------
// The modal driver itself: other editor tests stand on it.

TEST_F(EditorHelpers, TheDriverRunsTheTestCodeOnTheShownFormAndClosesItWithTheChosenResult) {
    bool shownWhileActing = false;
    {
        ModalDriver driver;
        driver.Form<TPenDialog>([&](TPenDialog& d) { shownWhileActing = d.GetVisible(); }, mrOk);
        TChartPen pen;
        EXPECT_TRUE(EditChartPen(nullptr, &pen));
        EXPECT_EQ(driver.Pending(), 0u);
    }
    EXPECT_TRUE(shownWhileActing);
}

TEST_F(EditorHelpers, TheDriverGivesTheRespondersItReplacedBack) {
    int earlier = 0;
    SetDialogResponder([&](const TDialogRequest&) {
        ++earlier;
        return Answered(mrNo);
    });
    {
        ModalDriver driver;
        driver.Dialog(TDialogKind::MessageDlg, Answered(mrYes));
        EXPECT_TRUE(ZuzYesNo(u"first"));
    }
    EXPECT_FALSE(ZuzYesNo(u"second"));
    EXPECT_EQ(earlier, 1);
    SetDialogResponder({});
}

TEST_F(EditorHelpers, TheDriverTakesNestedDialogsInTheOrderTheyOpen) {
    TChartPen pen;
    pen.SetColor(clBlack);
    ModalDriver driver;
    driver
        .Form<TPenDialog>(
            [](TPenDialog& d) {
                d.BColor->Click(); // opens the colour dialog inside the pen dialog
            },
            mrOk)
        .Dialog(TDialogKind::ColorDialog, ColorChosen(clRed));
    EXPECT_TRUE(EditChartPen(nullptr, &pen));
    EXPECT_EQ(pen.GetColor(), clRed);
    ASSERT_EQ(driver.Requests().size(), 2u);
    EXPECT_EQ(driver.Requests()[1].Kind, TDialogKind::ColorDialog);
}

// ---------------------------------------------------------------------------
// Forms for a modal show

TEST_F(EditorHelpers, AFormMadeForAControlOnAFormBelongsToTheOutermostForm) {
    TestForm host;
    auto* panel = Create<TPanel>(host.get());
    panel->SetParent(host.get());
    auto* embedded = Create<TForm>(host.get(), TCustomForm::NewTag{});
    AddFormTo(embedded, panel);
    auto* button = Create<TButton>(embedded);
    button->SetParent(embedded);

    TCustomForm* form = ZuzCreateForm(TPenDialog::StaticClass(), button);
    EXPECT_EQ(form->GetOwner(), host.get());
    EXPECT_EQ(form->GetPosition(), poOwnerFormCenter);
    EXPECT_EQ(form->GetBorderStyle(), bsDialog);
    EXPECT_EQ(form->GetAlign(), alNone);
    form->Free();

    Owned<TPenDialog> alone(ZuzCreateForm<TPenDialog>(nullptr));
    EXPECT_EQ(alone->GetOwner(), nullptr);
    EXPECT_EQ(alone->GetPosition(), poScreenCenter);
}

TEST_F(EditorHelpers, AFormThatIsNoFormClassIsRefused) {
    EXPECT_THROW(ZuzCreateForm(TButton::StaticClass(), nullptr), EInvalidOperation);
}

// ---------------------------------------------------------------------------
// Embedded forms

class Embedding : public EditorHelpers {
protected:
    void SetUp() override {
        host->SetBounds(100, 100, 400, 300);
        sheet = Create<TPanel>(host.get());
        sheet->SetParent(host.get());
        sheet->SetBounds(0, 0, 400, 300);
        page = Create<TForm>(nullptr, TCustomForm::NewTag{});
        page->SetClientWidth(200);
        page->OnShow = TNotifyEvent([this](TObject*) { ++shows; });
        page->OnHide = TNotifyEvent([this](TObject*) { ++hides; });
        host->Show();
    }
    void TearDown() override {
        page->Free();
        EditorHelpers::TearDown();
    }
    TestForm host;
    TPanel* sheet = nullptr;
    TForm* page = nullptr;
    int shows = 0, hides = 0;
};

TEST_F(Embedding, AFormInAParentLowerThanItselfSitsAtTopFourAndShows) {
    page->SetClientHeight(500);
    AddFormTo(page, sheet);
    EXPECT_EQ(page->GetParent(), sheet);
    EXPECT_EQ(page->GetLeft(), 4);
    EXPECT_EQ(page->GetTop(), 4);
    EXPECT_TRUE(page->GetShowing());
    EXPECT_EQ(page->GetBorderStyle(), bsNone);
    EXPECT_EQ(page->GetPosition(), poDesigned);
    EXPECT_TRUE(page->GetBorderIcons().Empty());
    EXPECT_EQ(shows, 1);
}

TEST_F(Embedding, AFormInATallerParentIsCentredUpAndDown) {
    page->SetClientHeight(100);
    AddFormTo(page, sheet, 7);
    EXPECT_EQ(page->GetTop(), (sheet->GetClientHeight() - 100) / 2);
    EXPECT_EQ(page->GetTag(), 7);
}

TEST_F(Embedding, TheObjectTagIsTheObjectGiven) {
    TChartPen pen;
    AddFormTo(page, sheet, &pen);
    EXPECT_EQ(ZuzTagObject<TChartPen>(page), &pen);
    EXPECT_EQ(ZuzTagObject<TChartBrush>(page), nullptr);
}

TEST_F(Embedding, TheParentKeepsItsVisibility) {
    sheet->SetVisible(false);
    AddFormTo(page, sheet);
    EXPECT_FALSE(sheet->GetVisible());
    EXPECT_FALSE(page->GetShowing());
    EXPECT_TRUE(page->GetVisible());
}

TEST_F(Embedding, OnShowRunsEachTimeTheHostShowsTheFormAgain) {
    AddFormTo(page, sheet);
    ASSERT_EQ(shows, 1);
    sheet->SetVisible(false);
    EXPECT_FALSE(page->GetShowing());
    EXPECT_EQ(hides, 1);
    sheet->SetVisible(true);
    EXPECT_TRUE(page->GetShowing());
    EXPECT_EQ(shows, 2);
}

// ---------------------------------------------------------------------------
// Questions

TEST_F(EditorHelpers, AQuestionWithoutAControlGoesToTheBoxsDefaultPlace) {
    ModalDriver driver;
    driver.Dialog(TDialogKind::MessageDlg, Answered(mrYes), [](const TDialogRequest& r) {
        EXPECT_FALSE(r.AtPosition);
        EXPECT_EQ(r.DlgType, mtConfirmation);
        EXPECT_EQ(TMsgDlgButtons::FromBits(r.Buttons), mbYesNo);
        EXPECT_EQ(r.HelpCtx, 0);
        EXPECT_EQ(r.Text, u"Sure?");
    });
    Screen->SetCursor(crHourGlass);
    EXPECT_TRUE(ZuzYesNo(u"Sure?", nullptr));
    EXPECT_EQ(Screen->GetCursor(), crDefault);
}

TEST_F(EditorHelpers, AQuestionAboutAControlOpensBelowRightOfItsClientOrigin) {
    TestForm form;
    form->SetBounds(50, 60, 200, 100);
    auto* button = Create<TButton>(form.get());
    button->SetParent(form.get());
    button->SetBounds(10, 20, 75, 25);
    form->Show();
    const TPoint origin = button->GetClientOrigin();
    ModalDriver driver;
    driver.Dialog(TDialogKind::MessageDlg, Answered(mrYes), [&](const TDialogRequest& r) {
        EXPECT_TRUE(r.AtPosition);
        EXPECT_EQ(r.Position, TPoint(origin.X + 20, origin.Y + 30));
    });
    EXPECT_TRUE(ZuzYesNo(u"Sure?", button));
}

TEST_F(EditorHelpers, OnlyYesIsAYes) {
    for (TModalResult answer : {mrNo, mrCancel, mrOk}) {
        ModalDriver driver;
        driver.Dialog(TDialogKind::MessageDlg, Answered(answer));
        EXPECT_FALSE(ZuzYesNo(u"Sure?")) << answer;
    }
}

TEST_F(EditorHelpers, DeletingAsksAboutTheNamedThing) {
    ModalDriver driver;
    driver.Dialog(TDialogKind::MessageDlg, Answered(mrYes),
                  [](const TDialogRequest& r) { EXPECT_EQ(r.Text, u"Delete Series1 ?"); });
    EXPECT_TRUE(ZuzYesNoDelete(u"Series1", nullptr));
}

// ---------------------------------------------------------------------------
// Lists

TEST_F(EditorHelpers, TheDefaultValueFormatsComeInTheirOrder) {
    TStringList items;
    items.Add(u"kept");
    AddDefaultValueFormats(&items);
    const std::vector<String> expected = {
        u"kept",  u"#,##0.###",       u"0",         u"0.0", u"0.#", u"#.#", u"#,##0.00;(#,##0.00)",
        u"00e-0", u"#.0 \"x10\" E+0", u"#.# x10E-#"};
    ASSERT_EQ(items.GetCount(), static_cast<int>(expected.size()));
    for (int i = 0; i < items.GetCount(); ++i) EXPECT_EQ(items[i], expected[static_cast<std::size_t>(i)]);
}

TEST_F(EditorHelpers, MovingTakesTheSelectedItemsWithTheirObjectsInOrder) {
    TestForm form;
    auto* from = Create<TListBox>(form.get());
    auto* to = Create<TListBox>(form.get());
    from->SetParent(form.get());
    to->SetParent(form.get());
    from->SetMultiSelect(true);
    TChartPen a, b, c, d;
    from->GetItems()->AddObject(u"a", &a);
    from->GetItems()->AddObject(u"b", &b);
    from->GetItems()->AddObject(u"c", &c);
    from->GetItems()->AddObject(u"d", &d);
    to->GetItems()->Add(u"x");
    from->SetSelected(1, true);
    from->SetSelected(3, true);
    MoveList(from, to);
    ASSERT_EQ(to->GetItems()->GetCount(), 3);
    EXPECT_EQ(to->GetItems()->GetStrings(1), u"b");
    EXPECT_EQ(to->GetItems()->GetObjects(1), &b);
    EXPECT_EQ(to->GetItems()->GetStrings(2), u"d");
    EXPECT_EQ(to->GetItems()->GetObjects(2), &d);
    ASSERT_EQ(from->GetItems()->GetCount(), 2);
    EXPECT_EQ(from->GetItems()->GetStrings(0), u"a");
    EXPECT_EQ(from->GetItems()->GetStrings(1), u"c");

    MoveListAll(from->GetItems(), to->GetItems());
    EXPECT_EQ(from->GetItems()->GetCount(), 0);
    ASSERT_EQ(to->GetItems()->GetCount(), 5);
    EXPECT_EQ(to->GetItems()->GetObjects(4), &c);
}

TEST_F(EditorHelpers, TheArrowGlyphsPointUpAndDown) {
    TBitmap up, down;
    ZuzLoadArrowBitmaps(&up, &down);
    ASSERT_EQ(up.GetWidth(), 8);
    ASSERT_EQ(down.GetHeight(), 6);
    // The wide end is at the bottom of the up arrow and at the top of the down arrow.
    EXPECT_EQ(probe::Pixel(up, 0, 4), (probe::Rgb{0, 0, 0}));
    EXPECT_EQ(probe::Pixel(up, 0, 1), (probe::Rgb{255, 255, 255}));
    EXPECT_EQ(probe::Pixel(down, 0, 1), (probe::Rgb{0, 0, 0}));
    EXPECT_EQ(probe::Pixel(down, 0, 4), (probe::Rgb{255, 255, 255}));
}

// ---------------------------------------------------------------------------
// Cursors

TEST_F(EditorHelpers, TheChartHandHasItsOwnNameBesideTheTable) {
    TCursor c = crDefault;
    EXPECT_TRUE(ZuzIdentToCursor(u"crZuzHand", c));
    EXPECT_EQ(c, crZuzHand);
    EXPECT_TRUE(ZuzIdentToCursor(u"crHourGlass", c));
    EXPECT_EQ(c, crHourGlass);
    EXPECT_FALSE(ZuzIdentToCursor(u"crNoSuchCursor", c));
    String name;
    EXPECT_TRUE(ZuzCursorToIdent(static_cast<TCursor>(crZuzHand), name));
    EXPECT_EQ(name, u"crZuzHand");
    EXPECT_TRUE(ZuzCursorToIdent(crCross, name));
    EXPECT_EQ(name, u"crCross");
    EXPECT_FALSE(ZuzCursorToIdent(static_cast<TCursor>(1234), name));
    EXPECT_EQ(ZuzSetCursor(crArrow, u"HandPoint"), crHandPoint);
    EXPECT_EQ(ZuzSetCursor(crArrow, u"ZuzHand"), crZuzHand);
    EXPECT_EQ(ZuzSetCursor(crArrow, u"Nothing"), crArrow);
}

TEST_F(EditorHelpers, TheCursorListEndsWithTheHandAndSelectsOnlyNamedCursors) {
    TestForm form;
    auto* combo = Create<TComboFlat>(form.get());
    combo->SetParent(form.get());
    combo->GetItems()->Add(u"left over");
    ZuzFillCursors(combo, crHourGlass);
    TStrings* items = combo->GetItems();
    ASSERT_GT(items->GetCount(), 2);
    EXPECT_EQ(items->GetStrings(0), u"Default");
    EXPECT_EQ(items->GetStrings(items->GetCount() - 1), u"ZuzHand");
    EXPECT_EQ(items->IndexOf(u"left over"), -1);
    EXPECT_EQ(combo->CurrentItem(), u"HourGlass");

    ZuzFillCursors(combo, static_cast<TCursor>(crZuzHand));
    EXPECT_EQ(combo->GetItemIndex(), items->GetCount() - 1);
    ZuzFillCursors(combo, static_cast<TCursor>(777));
    EXPECT_EQ(combo->GetItemIndex(), -1);
}

TEST_F(EditorHelpers, ACursorPreviewShowsTheCursorOrNothing) {
    TPicture picture;
    ZuzPreviewCursor(static_cast<TCursor>(crZuzHand), &picture);
    ASSERT_NE(picture.GetGraphic(), nullptr);
    EXPECT_EQ(picture.GetWidth(), 32);
    EXPECT_EQ(picture.GetHeight(), 32);
    ZuzPreviewCursor(crCross, &picture); // a stock shape, of which Qt gives no picture
    ASSERT_NE(picture.GetGraphic(), nullptr);
    EXPECT_EQ(picture.GetBitmap()->GetCanvas()->GetPixel(15, 15), clBlack);
    ZuzPreviewCursor(static_cast<TCursor>(4321), &picture);
    EXPECT_EQ(picture.GetGraphic(), nullptr);
}

// ---------------------------------------------------------------------------
// The pen dialog

class PenDialog : public EditorHelpers {
protected:
    void SetUp() override {
        pen.SetColor(clBlue);
        pen.SetWidth(2);
        pen.SetStyle(psDash);
        pen.SetEndStyle(esSquare);
        pen.SetSmallSpace(3);
        pen.OnChange = TNotifyEvent([this](TObject* s) {
            ++changes;
            lastSender = s;
        });
    }
    void ExpectAsSetUp() const {
        EXPECT_EQ(pen.GetColor(), clBlue);
        EXPECT_EQ(pen.GetWidth(), 2);
        EXPECT_EQ(pen.GetStyle(), psDash);
        EXPECT_EQ(pen.GetEndStyle(), esSquare);
        EXPECT_EQ(pen.GetSmallSpace(), 3);
        EXPECT_FALSE(pen.GetSmallDots());
        EXPECT_TRUE(pen.GetVisible());
    }
    TChartPen pen;
    int changes = 0;
    TObject* lastSender = nullptr;
};

TEST_F(PenDialog, OpensShowingThePen) {
    ModalDriver driver;
    driver.Form<TPenDialog>(
        [](TPenDialog& d) {
            EXPECT_TRUE(d.CBVisible->GetVisible());
            EXPECT_TRUE(d.CBVisible->GetChecked());
            EXPECT_EQ(d.UDWidth->GetPosition(), 2);
            EXPECT_EQ(d.SEWidth->GetText(), u"2");
            EXPECT_EQ(d.CBStyle->GetItems()->GetCount(), 6);
            EXPECT_EQ(d.CBStyle->GetItems()->GetStrings(5), u"Small Dots");
            EXPECT_EQ(d.CBStyle->GetItemIndex(), psDash);
            EXPECT_EQ(d.CBEndStyle->GetItemIndex(), esSquare);
            EXPECT_EQ(d.UDSpace->GetPosition(), 3);
            EXPECT_FALSE(d.ESpace->GetEnabled());
            EXPECT_TRUE(d.SEWidth->GetEnabled());
            EXPECT_TRUE(d.BColor->GetVisible());
            EXPECT_FALSE(d.GetModified());
        },
        mrOk);
    EXPECT_TRUE(EditChartPen(nullptr, &pen));
    ExpectAsSetUp();
    EXPECT_EQ(changes, 0);
}

TEST_F(PenDialog, CancelWithoutAChangeLeavesThePenAndTellsNobody) {
    ModalDriver driver;
    driver.Form<TPenDialog>([](TPenDialog& d) { d.BCancel->Click(); });
    EXPECT_FALSE(EditChartPen(nullptr, &pen));
    ExpectAsSetUp();
    EXPECT_EQ(changes, 0);
}

TEST_F(PenDialog, EveryControlChangesThePenOnceAndOkKeepsIt) {
    ModalDriver driver;
    driver
        .Form<TPenDialog>(
            [](TPenDialog& d) {
                d.CBVisible->SetChecked(false);
                d.SEWidth->SetText(u"4");
                probe::Choose(*d.CBStyle, psDot);
                probe::Choose(*d.CBEndStyle, esFlat);
                d.BColor->Click();
                EXPECT_TRUE(d.GetModified());
                d.BOk->Click();
            },
            mrCancel /* not used: OK closed it */)
        .Dialog(TDialogKind::ColorDialog, ColorChosen(clGreen));
    EXPECT_TRUE(EditChartPen(nullptr, &pen));
    EXPECT_FALSE(pen.GetVisible());
    EXPECT_EQ(pen.GetWidth(), 4);
    EXPECT_EQ(pen.GetStyle(), psDot);
    EXPECT_EQ(pen.GetEndStyle(), esFlat);
    EXPECT_EQ(pen.GetColor(), clGreen);
}

TEST_F(PenDialog, SmallDotsTradeTheWidthForTheSpace) {
    ModalDriver driver;
    driver.Form<TPenDialog>(
        [](TPenDialog& d) {
            probe::Choose(*d.CBStyle, 5);
            EXPECT_FALSE(d.SEWidth->GetEnabled());
            EXPECT_FALSE(d.UDWidth->GetEnabled());
            EXPECT_TRUE(d.ESpace->GetEnabled());
            EXPECT_TRUE(d.UDSpace->GetEnabled());
            d.ESpace->SetText(u"7");
            probe::Choose(*d.CBStyle, psSolid);
            EXPECT_TRUE(d.SEWidth->GetEnabled());
            EXPECT_FALSE(d.ESpace->GetEnabled());
            probe::Choose(*d.CBStyle, 5);
        },
        mrOk);
    EXPECT_TRUE(EditChartPen(nullptr, &pen));
    EXPECT_TRUE(pen.GetSmallDots());
    EXPECT_EQ(pen.GetSmallSpace(), 7);
    EXPECT_EQ(pen.GetStyle(), psSolid); // the style chosen between stays

    // Opened again on a small-dots pen: the last item is chosen and the space is what counts.
    driver.Form<TPenDialog>(
        [](TPenDialog& d) {
            EXPECT_EQ(d.CBStyle->GetItemIndex(), 5);
            EXPECT_FALSE(d.SEWidth->GetEnabled());
            EXPECT_TRUE(d.ESpace->GetEnabled());
        },
        mrOk);
    EXPECT_TRUE(EditChartPen(nullptr, &pen));
}

TEST_F(PenDialog, CancelAfterChangesPutsEverythingBackAndTellsOnce) {
    ModalDriver driver;
    TPenDialog* dialog = nullptr;
    driver
        .Form<TPenDialog>([&](TPenDialog& d) {
            dialog = &d;
            d.CBVisible->SetChecked(false);
            d.UDWidth->SetPosition(5);
            probe::Choose(*d.CBStyle, 5);
            d.ESpace->SetText(u"9");
            probe::Choose(*d.CBEndStyle, esRound);
            d.BColor->Click();
            changes = 0;
            d.BCancel->Click();
        })
        .Dialog(TDialogKind::ColorDialog, ColorChosen(clYellow));
    EXPECT_FALSE(EditChartPen(nullptr, &pen));
    ExpectAsSetUp();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(lastSender, dialog);
}

TEST_F(PenDialog, APlainPenHasNoVisibilityNorSmallDots) {
    TPen plain;
    plain.SetStyle(psDashDot);
    Owned<TPenDialog> d(ZuzCreateForm<TPenDialog>(nullptr));
    d->ThePen = &plain;
    ModalDriver driver;
    driver.Form<TPenDialog>(
        [](TPenDialog& d) {
            EXPECT_FALSE(d.CBVisible->GetVisible());
            EXPECT_EQ(d.CBStyle->GetItems()->GetCount(), 5);
            EXPECT_EQ(d.CBStyle->GetItemIndex(), psDashDot);
            d.UDWidth->SetPosition(3);
        },
        mrOk);
    EXPECT_EQ(d->ShowModal(), mrOk);
    EXPECT_EQ(plain.GetWidth(), 3);
}

TEST_F(PenDialog, AHiddenColourButtonStaysHidden) {
    ModalDriver driver;
    driver.Form<TPenDialog>([](TPenDialog& d) { EXPECT_FALSE(d.BColor->GetVisible()); }, mrOk);
    EXPECT_TRUE(EditChartPen(nullptr, &pen, true));
}

TEST_F(PenDialog, TheDialogIsFreedWhenAnExceptionLeavesTheShow) {
    TestForm owner;
    const int before = owner->GetComponentCount();
    bool destroyed = false;
    ModalDriver driver;
    driver.Form<TPenDialog>([&](TPenDialog& d) {
        d.OnDestroy = TNotifyEvent([&](TObject*) { destroyed = true; });
        throw EInvalidOperation(u"failed inside the dialog");
    });
    EXPECT_THROW(EditChartPen(owner.get(), &pen), EInvalidOperation);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(owner->GetComponentCount(), before);
}

TEST_F(PenDialog, AStyleSampleInTheBoxsOwnColourIsDrawnBlackOrWhite) {
    pen.SetColor(clWhite);
    pen.SetStyle(psSolid);
    ModalDriver driver;
    driver.Form<TPenDialog>(
        [](TPenDialog& d) {
            probe::ProcessEvents();
            const probe::Picture face = probe::Grab(*d.CBStyle);
            // The sample runs from 2 to 30 pixels right of the face's left edge, 8 down.
            int black = 0;
            for (int x = 4; x < 30; ++x)
                for (int y = 0; y < face.Height(); ++y) black += face.Pixel(x, y) == probe::Rgb{0, 0, 0};
            EXPECT_GE(black, 15); // the white pen's line, on the white box, in black
        },
        mrOk);
    EXPECT_TRUE(EditChartPen(nullptr, &pen));
}

TEST_F(EditorHelpers, AnEmbeddedFormTakesTheResolutionOfTheFormThatHoldsIt) {
    TestForm host;
    host->SetPixelsPerInch(120);
    auto* panel = Create<TPanel>(host.get());
    panel->SetParent(host.get());
    panel->SetBounds(0, 0, 400, 300);
    Owned<TForm> page(Create<TForm>(nullptr, TCustomForm::NewTag{}));
    page->SetBounds(0, 0, 200, 100);
    auto* button = Create<TButton>(page.get());
    button->SetParent(page.get());
    button->SetBounds(8, 16, 80, 24);
    page->GetFont()->SetHeight(-12);
    AddFormTo(page.get(), panel);
    EXPECT_EQ(page->GetPixelsPerInch(), 120);
    EXPECT_EQ(page->GetWidth(), 250);
    // The text grows with the boxes that hold it.
    EXPECT_EQ(page->GetFont()->GetHeight(), -15);
    EXPECT_EQ(button->GetFont()->GetHeight(), -15);
    EXPECT_EQ(button->GetLeft(), 10);
    EXPECT_EQ(button->GetTop(), 20);
    EXPECT_EQ(button->GetWidth(), 100);
    EXPECT_EQ(button->GetHeight(), 30);
    // Scaling again at the same resolution changes nothing.
    ZuzScaleForm(page.get());
    EXPECT_EQ(button->GetWidth(), 100);
}

// ---------------------------------------------------------------------------
// The pen button

class PenButton : public PenDialog {
protected:
    void SetUp() override {
        PenDialog::SetUp();
        form->SetBounds(0, 0, 200, 80);
        button = Create<TButtonPen>(form.get());
        button->SetParent(form.get());
        button->SetBounds(10, 10, 100, 30);
        button->OnClick = TNotifyEvent([this](TObject*) { ++clicks; });
        form->Show();
    }
    // Rows of the sample's column in the pen's colour.
    int SampleThickness() {
        probe::ProcessEvents();
        const probe::Picture p = probe::Grab(*button);
        int rows = 0;
        for (int y = 0; y < p.Height(); ++y)
            if (p.Pixel(p.Width() - 11, y) == probe::Rgb{255, 0, 0}) ++rows;
        return rows;
    }
    TestForm form;
    TButtonPen* button = nullptr;
    int clicks = 0;
};

TEST_F(PenButton, AWidePenIsDrawnSixWideAndKeepsItsWidth) {
    pen.SetColor(clRed);
    pen.SetStyle(psSolid);
    pen.SetWidth(9);
    button->LinkPen(&pen);
    changes = 0;
    EXPECT_EQ(SampleThickness(), 6);
    EXPECT_EQ(pen.GetWidth(), 9);
    EXPECT_EQ(changes, 0);
    pen.SetWidth(3);
    EXPECT_EQ(SampleThickness(), 3);
}

TEST_F(PenButton, OkRunsTheButtonsClickAndCancelDoesNot) {
    button->LinkPen(&pen);
    ModalDriver driver;
    driver.Form<TPenDialog>([this](TPenDialog& d) { EXPECT_EQ(button->GetEditor(), &d); }, mrOk)
        .Form<TPenDialog>([](TPenDialog& d) { d.BCancel->Click(); });
    button->Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->GetEditor(), nullptr);
    button->Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->GetEditor(), nullptr);
}

TEST_F(PenButton, WithoutAPenOnlyTheClickRuns) {
    ModalDriver driver; // no dialog expected
    button->Click();
    EXPECT_EQ(clicks, 1);
}

TEST_F(PenButton, TheHideColourFlagReachesTheDialog) {
    button->LinkPen(&pen);
    button->HideColor = true;
    ModalDriver driver;
    driver.Form<TPenDialog>([](TPenDialog& d) { EXPECT_FALSE(d.BColor->GetVisible()); }, mrOk);
    button->Click();
}

} // namespace
