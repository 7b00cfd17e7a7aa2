// The colour button and the flat combo box as the X server shows them: the button's
// colour sample lies on its face, the combo box loses its sunken frame until the mouse
// comes, and a click on the colour button edits the linked colour.
#include "chart/canvas/zuzcontrols.h"

#include "tests/support/formtest.h"
#include "tests/support/xserver.h"

namespace {

struct Window : TestForm {
    TButtonColor* color = Create<TButtonColor>(get());
    TComboFlat* combo = Create<TComboFlat>(get());
    TComboBox* plain = Create<TComboBox>(get());
    Owned<TFont> font{new TFont};
    int clicks = 0;

    Window() {
        form->SetBounds(100, 100, 260, 120);
        form->SetCaption(u"Colour button and flat combo");
        color->SetParent(get());
        color->SetBounds(10, 10, 75, 25);
        color->SetCaption(u"Colour...");
        color->OnClick.Bind([this](TObject*) { ++clicks; });
        font->SetColor(clRed);
        color->LinkProperty(font.get(), u"Color");
        for (TComboBox* c : {static_cast<TComboBox*>(combo), plain}) {
            c->SetParent(get());
            c->SetStyle(csDropDownList);
            c->GetItems()->Add(u"Solid");
            c->GetItems()->Add(u"Dash");
            c->SetItemIndex(0);
        }
        combo->SetBounds(10, 50, 145, 21);
        plain->SetBounds(10, 80, 145, 21);
    }
};

class XChartControls : public FormTest {};

} // namespace

TEST_F(XChartControls, TheColourButtonShowsItsLinkedColourAndEditsIt) {
    Window w;
    ASSERT_TRUE(xserver::Activate(*w.form));
    ASSERT_TRUE(xserver::Focus(*w.plain)); // away from the button and the flat box
    probe::Picture shot = xserver::Picture(*w.color);
    xserver::Keep(xserver::Picture(*w.form), "chart-controls");
    // The sample (56, 7)-(69, 19) inside the symbol rectangle is the linked red.
    const TRect r = w.color->SymbolRectangle();
    EXPECT_EQ(r, TRect(56, 7, 69, 19));
    EXPECT_EQ(shot.Pixel(r.Left + 5, r.Top + 5), (probe::Rgb{255, 0, 0}));
    EXPECT_EQ(shot.Pixel(r.Left, r.Top), (probe::Rgb{0, 0, 0})); // its black frame

    answer = [](const TDialogRequest& q) {
        TDialogAnswer a;
        EXPECT_EQ(q.Kind, TDialogKind::ColorDialog);
        EXPECT_EQ(q.Color, clRed);
        a.Result = mrOk;
        a.Color = clBlue;
        return a;
    };
    probe::Click(*w.color);
    ASSERT_TRUE(WaitFor([&] { return w.clicks == 1; }));
    EXPECT_EQ(w.font->GetColor(), clBlue);
    ASSERT_TRUE(WaitFor([&] {
        return xserver::Picture(*w.color).Pixel(r.Left + 5, r.Top + 5) == probe::Rgb{0, 0, 255};
    }));
    // The same colour again changes nothing and runs no click.
    answer = [](const TDialogRequest&) {
        TDialogAnswer a;
        a.Result = mrOk;
        a.Color = clBlue;
        return a;
    };
    probe::Click(*w.color);
    probe::ProcessEvents();
    EXPECT_EQ(w.clicks, 1);
}

TEST_F(XChartControls, TheFlatComboHidesItsFrameUntilTheMouseComes) {
    Window w;
    ASSERT_TRUE(xserver::Activate(*w.form));
    ASSERT_TRUE(xserver::Focus(*w.plain));
    const probe::Picture flat = xserver::Picture(*w.combo);
    const probe::Picture system = xserver::Picture(*w.plain);
    xserver::Keep(xserver::Picture(*w.form), "chart-controls-flat");
    // The outer two rings are painted in the face colour; the plain box keeps its frame.
    const probe::Rgb face = flat.Pixel(0, 10);
    EXPECT_EQ(flat.Pixel(0, 0), face);
    EXPECT_EQ(flat.Pixel(1, 1), face);
    EXPECT_EQ(flat.Pixel(144, 20), face);
    EXPECT_FALSE(flat == system);
    EXPECT_FALSE(w.combo->GetMouseOver());
    EXPECT_EQ(w.combo->CurrentItem(), u"Solid");
    EXPECT_EQ(w.combo->SelectedObject(), nullptr);
    w.combo->SetItemIndex(-1);
    EXPECT_EQ(w.combo->CurrentItem(), u"");
    // The dropped list is at least as wide as asked, never narrower than the box.
    EXPECT_EQ(w.combo->GetDropDownWidth(), 145);
    EXPECT_FALSE(w.combo->IsDropDownWidthStored());
    w.combo->SetDropDownWidth(220);
    EXPECT_EQ(w.combo->GetDropDownWidth(), 220);
    EXPECT_TRUE(w.combo->IsDropDownWidthStored());
}
