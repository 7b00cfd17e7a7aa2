#include "platform/gui/buttons.h"

#include "platform/core/objecttext.h"
#include "platform/gui/actnlist.h"
#include "platform/gui/extctrls.h"
#include "tests/platform/gui/guitest.h"

#include <QIcon>
#include <QTimer>
#include <QToolButton>

namespace {

class ButtonsTest : public GuiTest {};

TEST_F(ButtonsTest, StockKindsBringCaptionResultAndRole) {
    TestForm f;
    auto* ok = Create<TBitBtn>(f.get());
    ok->SetParent(f.get());
    ok->SetKind(bkOK);
    EXPECT_EQ(ok->GetCaption(), u"OK");
    EXPECT_EQ(ok->GetModalResult(), mrOk);
    EXPECT_TRUE(ok->GetDefault());
    auto* cancel = Create<TBitBtn>(f.get());
    cancel->SetParent(f.get());
    cancel->SetKind(bkCancel);
    EXPECT_TRUE(cancel->GetCancel());
    EXPECT_EQ(f->FindDefaultButton(false), ok);
    EXPECT_EQ(f->FindDefaultButton(true), cancel);
    answer = [&](const TDialogRequest&) {
        cancel->Click();
        return TDialogAnswer{};
    };
    EXPECT_EQ(f->ShowModal(), mrCancel);
}

TEST_F(ButtonsTest, ACloseButtonClosesItsForm) {
    TestForm f;
    auto* close = Create<TBitBtn>(f.get());
    close->SetParent(f.get());
    close->SetKind(bkClose);
    f->Show();
    close->Click();
    EXPECT_FALSE(f->GetVisible());
}

// ---------------------------------------------------------------------------
// Closing forms

class CloseTest : public GuiTest {};

TEST_F(CloseTest, TheCloseActionDecidesWhatBecomesOfAForm) {
    TestForm f;
    f->Show();
    TCloseAction next = caNone;
    f->OnClose.Bind([&](TObject*, TCloseAction& a) { a = next; });
    f->Close();
    EXPECT_TRUE(f->GetVisible());
    next = caHide;
    f->Close();
    EXPECT_FALSE(f->GetVisible());

    // A freed form goes once the current event is over.
    auto* owner = Create<TComponent>(nullptr);
    auto* freed = Create<TForm>(owner, TCustomForm::NewTag{});
    freed->OnClose.Bind([](TObject*, TCloseAction& a) { a = caFree; });
    freed->Show();
    freed->Close();
    EXPECT_EQ(owner->GetComponentCount(), 1);
    EXPECT_TRUE(WaitFor([&] { return owner->GetComponentCount() == 0; }));
    owner->Free();
}

// ---------------------------------------------------------------------------
// Streams: what a form holds is written with the class library's rules.

class StreamTest : public GuiTest {};

TEST_F(StreamTest, AFormWritesOnlyWhatDiffersFromTheDefaults) {
    TestForm f;
    f->SetName(u"Form1");
    f->SetCaption(u"Окно");
    auto* list = Create<TActionList>(f.get());
    list->SetName(u"ActionList1");
    auto* action = Create<TAction>(f.get());
    action->SetName(u"ReadArch");
    action->SetActionList(list);
    action->SetCaption(u"Читать архив");
    auto* panel = Create<TPanel>(f.get());
    panel->SetName(u"Panel1");
    panel->SetParent(f.get());
    panel->SetAlign(alLeft);
    auto* linked = Create<TBitBtn>(f.get());
    linked->SetName(u"BitBtn1");
    linked->SetParent(panel);
    linked->SetAction(action);
    auto* local = Create<TBitBtn>(f.get());
    local->SetName(u"BitBtn3");
    local->SetParent(panel);
    local->SetAction(action);
    local->SetCaption(u"Экспорт в текст");

    TMemoryStream binary;
    binary.WriteComponent(f.get());
    binary.SetPosition(0);
    TMemoryStream text;
    ObjectBinaryToText(&binary, &text);
    const std::string out(static_cast<const char*>(text.Memory()), static_cast<std::size_t>(text.GetSize()));

    EXPECT_NE(out.find("object Form1: TForm"), std::string::npos) << out;
    EXPECT_NE(out.find("object Panel1: TPanel"), std::string::npos);
    EXPECT_NE(out.find("Align = alLeft"), std::string::npos);
    EXPECT_NE(out.find("object BitBtn1: TBitBtn"), std::string::npos);
    EXPECT_NE(out.find("Action = ReadArch"), std::string::npos);
    // The linked button's caption is the action's and is not written; the
    // local one is.
    const std::size_t b1 = out.find("object BitBtn1");
    const std::size_t b3 = out.find("object BitBtn3");
    ASSERT_NE(b3, std::string::npos);
    EXPECT_EQ(out.substr(b1, b3 - b1).find("Caption"), std::string::npos);
    EXPECT_NE(out.substr(b3).find("Caption"), std::string::npos);
    // Defaults stay out: a panel's bevel, a button's modal result and kind.
    EXPECT_EQ(out.find("BevelOuter"), std::string::npos);
    EXPECT_EQ(out.find("ModalResult"), std::string::npos);
    EXPECT_EQ(out.find("Kind"), std::string::npos);
    EXPECT_EQ(out.find("TabStop"), std::string::npos);
}

// A two-image glyph: a green arrow on magenta (transparent) and its gray disabled twin.
Owned<TBitmap> TwoImageGlyph() {
    auto g = MakeOwned<TBitmap>();
    g->SetPixelFormat(pf24bit);
    g->SetSize(32, 16);
    TCanvas* c = g->GetCanvas();
    c->GetBrush()->SetColor(clFuchsia);
    c->FillRect(TRect(0, 0, 32, 16));
    c->GetBrush()->SetColor(clLime);
    c->FillRect(TRect(4, 4, 12, 12));
    c->GetBrush()->SetColor(clGray);
    c->FillRect(TRect(20, 4, 28, 12));
    return g;
}

QRgb IconPixel(QToolButton* b, QIcon::Mode mode, QIcon::State state, int x, int y) {
    return b->icon().pixmap(QSize(16, 16), mode, state).toImage().pixel(x, y);
}

TEST_F(ButtonsTest, ASpeedButtonShowsTheFirstImageEnabledAndTheSecondDisabled) {
    TestForm f;
    auto* b = Create<TSpeedButton>(f.get());
    b->SetParent(f.get());
    b->SetNumGlyphs(2);
    b->SetGlyph(TwoImageGlyph().get());
    auto* qb = qobject_cast<QToolButton*>(b->Widget());
    ASSERT_NE(qb, nullptr);
    EXPECT_EQ(qb->iconSize(), QSize(16, 16));
    EXPECT_EQ(IconPixel(qb, QIcon::Normal, QIcon::Off, 8, 8), qRgb(0, 255, 0));
    EXPECT_EQ(IconPixel(qb, QIcon::Disabled, QIcon::Off, 8, 8), qRgb(128, 128, 128));
    EXPECT_EQ(qAlpha(IconPixel(qb, QIcon::Normal, QIcon::Off, 1, 1)), 0); // the bottom-left colour
    b->SetEnabled(false);
    EXPECT_FALSE(qb->isEnabled());

    // One image only: the disabled look is made from it, light gray, transparent kept.
    b->SetNumGlyphs(1);
    Owned<TBitmap> single = b->GlyphImage(1);
    EXPECT_EQ(single->GetWidth(), 32);
    const Byte* lime = single->ScanLine(8) + 3 * 8;
    EXPECT_EQ(lime[0], lime[2]);
    EXPECT_GT(lime[0], 128);
    const Byte* key = single->ScanLine(15);
    EXPECT_EQ(key[0], 0xFF); // magenta stays magenta
    EXPECT_EQ(key[1], 0x00);
}

TEST_F(ButtonsTest, SpeedButtonsOfAGroupAreDownOneAtATime) {
    TestForm f;
    auto make = [&](int group) {
        auto* b = Create<TSpeedButton>(f.get());
        b->SetParent(f.get());
        b->SetGroupIndex(group);
        return b;
    };
    TSpeedButton *a = make(1), *b = make(1), *other = make(2), *plain = make(0);
    int clicks = 0;
    a->OnClick.Bind([&](TObject*) { ++clicks; });
    other->SetDown(true);
    a->Click();
    EXPECT_TRUE(a->GetDown());
    b->Click();
    EXPECT_TRUE(b->GetDown());
    EXPECT_FALSE(a->GetDown());
    EXPECT_TRUE(other->GetDown()); // another group is left alone
    b->Click();
    EXPECT_TRUE(b->GetDown()); // stays down without AllowAllUp
    b->SetAllowAllUp(true);
    b->Click();
    EXPECT_FALSE(b->GetDown());
    plain->SetDown(true);
    EXPECT_FALSE(plain->GetDown()); // no group, no down state
    EXPECT_EQ(clicks, 1);
}

} // namespace
