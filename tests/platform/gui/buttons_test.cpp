#include "platform/gui/buttons.h"

#include "platform/core/objecttext.h"
#include "platform/gui/actnlist.h"
#include "platform/gui/extctrls.h"
#include "tests/platform/gui/guitest.h"

#include <QTimer>

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

} // namespace
