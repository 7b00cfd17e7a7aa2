// The text editor: read-only never writing back, OK and Cancel for
// lines and for one text, Copy with and without a selection, Load and Save through the file
// dialogs, Escape from the memo cancelling, the form freed when something raises, and the
// two-list chooser's buttons, moves and change notice.
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzselectlist.h"
#include "chart/editors/zuzstringseditor.h"
#include "dialogfixture.h"
#include "editorpicture.h"
#include "modaldriver.h"
#include "platform/core/lists.h"
#include "platform/gui/buttons.h"
#include "platform/gui/clipbrd.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"
#include "tests/support/tempdir.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

class StringsEditor : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        lines->Add(u"Архив прибора");
        lines->Add(u"«КРОНТ»");
    }
    int Editors() const {
        int n = 0;
        for (int i = 0; i < form->GetComponentCount(); ++i)
            if (dynamic_cast<TStringsEditor*>(form->GetComponent(i))) ++n;
        return n;
    }
    Owned<TStringList> lines = MakeOwned<TStringList>();
    TempDir temp{"moltren-strings-editor"};
};

TEST_F(StringsEditor, OkTakesTheEditedTextAndCancelOrReadOnlyLeavesItAlone) {
    struct Case {
        const char* name;
        bool readOnly;
        TModalResult result;
        bool returned, written;
    } const cases[] = {{"OK", false, mrOk, true, true},
                       {"Cancel", false, mrCancel, false, false},
                       {"read-only OK", true, mrOk, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lines->SetText(u"один\r\nдва\r\n");
        String text = u"один\r\nдва";
        for (int overload = 0; overload < 2; ++overload) {
            ModalDriver driver;
            driver.Form<TStringsEditor>(
                [&](TStringsEditor& e) {
                    EXPECT_EQ(e.Memo1->GetReadOnly(), c.readOnly);
                    ASSERT_EQ(e.Memo1->GetLines()->GetCount(), 2);
                    EXPECT_EQ(e.Memo1->GetLines()->GetStrings(1), u"два");
                    e.Memo1->GetLines()->Add(u"три");
                },
                c.result);
            const bool ok = overload == 0 ? ZuzEditStrings(form.get(), lines.get(), c.readOnly)
                                          : ZuzEditStrings(form.get(), text, c.readOnly);
            EXPECT_EQ(ok, c.returned);
        }
        EXPECT_EQ(lines->GetCount(), c.written ? 3 : 2);
        EXPECT_EQ(text, c.written ? u"один\r\nдва\r\nтри" : u"один\r\nдва");
        EXPECT_EQ(Editors(), 0) << "each editor is freed after its show";
    }
}

TEST_F(StringsEditor, CopyTakesTheSelectionOrWithoutOneTheWholeText) {
    ModalDriver driver;
    driver.Form<TStringsEditor>(
        [](TStringsEditor& e) {
            Clipboard()->SetAsText(u"old");
            probe::Click(*e.Button3);
            EXPECT_EQ(Clipboard()->GetAsText(), u"Архив прибора\r\n«КРОНТ»\r\n");
            e.Memo1->SetSelStart(6);
            e.Memo1->SetSelLength(10); // across the line break
            probe::Click(*e.Button3);
            EXPECT_EQ(Clipboard()->GetAsText(), u"прибора\r\n«К");
        },
        mrCancel);
    ZuzEditStrings(form.get(), lines.get(), true);
}

TEST_F(StringsEditor, LoadAndSaveGoThroughTheFileDialogs) {
    const std::filesystem::path in = temp.path / "in.txt", out = temp.path / "out.txt";
    std::ofstream(in) << "первая\nвторая\n";
    ModalDriver driver;
    driver
        .Form<TStringsEditor>([](TStringsEditor& e) {
            probe::Click(*e.Button4); // cancelled: the text stays
            EXPECT_EQ(e.Memo1->GetLines()->GetCount(), 2);
            probe::Click(*e.Button4);
            ASSERT_EQ(e.Memo1->GetLines()->GetCount(), 2);
            EXPECT_EQ(e.Memo1->GetLines()->GetStrings(0), u"первая");
            e.Memo1->GetLines()->Add(u"третья");
            probe::Click(*e.Button5);
        })
        .Dialog(TDialogKind::OpenDialog, Answered(mrCancel))
        .Dialog(TDialogKind::OpenDialog, FileChosen(UTF8ToString(in.string())),
                [](const TDialogRequest& r) { EXPECT_EQ(r.Caption, u"Select text file"); })
        .Dialog(TDialogKind::SaveDialog, FileChosen(UTF8ToString(out.string())),
                [](const TDialogRequest& r) { EXPECT_EQ(r.Caption, u"Save as text file"); });
    EXPECT_TRUE(ZuzEditStrings(form.get(), lines.get()));
    ASSERT_EQ(lines->GetCount(), 3);
    EXPECT_EQ(lines->GetStrings(1), u"вторая");
    auto saved = MakeOwned<TStringList>();
    saved->LoadFromFile(UTF8ToString(out.string()));
    EXPECT_EQ(saved->GetText(), lines->GetText());
}

TEST_F(StringsEditor, EscapeInTheMemoCancelsAndWritesNothing) {
    ModalDriver driver;
    driver.Form<TStringsEditor>(
        [](TStringsEditor& e) {
            e.Memo1->SetText(u"изменено");
            probe::Key(*e.Memo1, VK_ESCAPE);
            EXPECT_EQ(e.GetModalResult(), mrCancel);
        },
        mrOk); // what the driver would answer had Escape not closed it
    EXPECT_FALSE(ZuzEditStrings(form.get(), lines.get()));
    EXPECT_EQ(lines->GetStrings(0), u"Архив прибора");
}

TEST_F(StringsEditor, AnExceptionWhileShownStillFreesTheEditor) {
    ModalDriver driver;
    driver.Form<TStringsEditor>([](TStringsEditor&) { throw std::runtime_error("while shown"); });
    EXPECT_THROW(ZuzEditStrings(form.get(), lines.get()), std::runtime_error);
    EXPECT_EQ(Editors(), 0);
}

TEST_F(StringsEditor, PictureOverTheChart) {
    ChartBehind behind;
    ModalDriver driver;
    driver.Form<TStringsEditor>([&](TStringsEditor& e) { behind.Snapshot(e, "stringseditor.png"); },
                                mrCancel);
    ZuzEditStrings(behind.host.get(), lines.get());
}

// ---------------------------------------------------------------------------

class SelectList : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        select = Create<TSelectListForm>(form.get());
        AddFormTo(select, form.get());
        select->OnChange.Bind([this](TObject* Sender) {
            EXPECT_EQ(Sender, select);
            ++changes;
        });
    }
    void Fill(std::initializer_list<const char16_t*> From, std::initializer_list<const char16_t*> To = {}) {
        for (const char16_t* s : From) select->FromList->GetItems()->Add(s);
        for (const char16_t* s : To) select->ToList->GetItems()->Add(s);
        select->EnableButtons();
    }
    struct Enabled {
        bool rightOne, rightAll, leftOne, leftAll, up, down;
        friend bool operator==(const Enabled&, const Enabled&) = default;
        friend std::ostream& operator<<(std::ostream& os, const Enabled& e) {
            return os << "> " << e.rightOne << " >> " << e.rightAll << " < " << e.leftOne << " << "
                      << e.leftAll << " up " << e.up << " down " << e.down;
        }
    };
    Enabled Buttons() const {
        return {select->BRightOne->GetEnabled(), select->BRightAll->GetEnabled(),
                select->BLeftOne->GetEnabled(),  select->BLeftAll->GetEnabled(),
                select->BMoveUP->GetEnabled(),   select->BMoveDown->GetEnabled()};
    }
    String Items(TListBox* List) const { return List->GetItems()->GetCommaText(); }

    TSelectListForm* select = nullptr;
    int changes = 0;
};

TEST_F(SelectList, MovingTheOnlyItemRightFlipsWhichButtonsAreEnabled) {
    Fill({u"Series1"});
    form->Show();
    EXPECT_EQ(form->GetActiveControl(), select->FromList);
    EXPECT_EQ(select->GetAlign(), alClient);
    EXPECT_EQ(Buttons(), (Enabled{true, true, false, false, false, false}));
    select->FromList->SetSelected(0, true);
    probe::Click(*select->BRightOne);
    EXPECT_EQ(Items(select->ToList), u"Series1");
    EXPECT_EQ(Buttons(), (Enabled{false, false, true, true, false, false}));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(form->GetActiveControl(), select->ToList) << "the focus goes to the chosen items";
}

TEST_F(SelectList, ItemsMoveAcrossWithTheirObjectsInOrder) {
    Fill({u"a", u"b", u"c", u"d"}, {u"x"});
    TObject* tags[4] = {};
    for (int i = 0; i < 4; ++i) {
        tags[i] = reinterpret_cast<TObject*>(static_cast<NativeInt>(i + 1) * 8);
        select->FromList->GetItems()->SetObjects(i, tags[i]);
    }
    form->Show();
    select->FromList->SetSelected(1, true);
    select->FromList->SetSelected(3, true);
    select->FromList->OnDblClick(select->FromList); // as the button, then the last one chosen
    EXPECT_EQ(Items(select->FromList), u"a,c");
    EXPECT_EQ(Items(select->ToList), u"x,b,d");
    EXPECT_EQ(select->ToList->GetItems()->GetObjects(2), tags[3]);
    EXPECT_EQ(select->ToList->GetItemIndex(), 2);

    select->ToList->SetItemIndex(0);
    select->ToList->OnDblClick(select->ToList);
    EXPECT_EQ(Items(select->FromList), u"a,c,x");
    probe::Click(*select->BRightAll);
    EXPECT_EQ(Items(select->FromList), u"");
    EXPECT_EQ(Items(select->ToList), u"b,d,a,c,x");
    probe::Click(*select->BLeftAll);
    EXPECT_EQ(Items(select->ToList), u"");
    EXPECT_EQ(Items(select->FromList), u"b,d,a,c,x");
    EXPECT_EQ(changes, 4);
}

TEST_F(SelectList, UpAndDownExchangeTheChosenItemWhichStaysChosen) {
    Fill({}, {u"a", u"b", u"c"});
    form->Show();
    select->ToList->SetItemIndex(0);
    select->ToList->OnClick(select->ToList);
    EXPECT_EQ(Buttons(), (Enabled{false, false, true, true, false, true}));
    probe::Click(*select->BMoveDown);
    probe::Click(*select->BMoveDown);
    EXPECT_EQ(Items(select->ToList), u"b,c,a");
    EXPECT_EQ(select->ToList->GetItemIndex(), 2);
    EXPECT_EQ(select->ToList->GetSelCount(), 1);
    EXPECT_EQ(Buttons(), (Enabled{false, false, true, true, true, false}));
    probe::Click(*select->BMoveUP);
    EXPECT_EQ(Items(select->ToList), u"b,a,c");
    EXPECT_TRUE(select->ToList->GetSelected(1));
    EXPECT_EQ(changes, 3);
}

TEST_F(SelectList, PictureOverTheChart) {
    ChartBehind behind;
    Owned<TForm> host(Create<TForm>(nullptr, TCustomForm::NewTag{}));
    host->SetCaption(u"Источники");
    host->SetBounds(200, 160, 400, 220);
    auto* s = Create<TSelectListForm>(host.get());
    AddFormTo(s, host.get());
    s->FromList->GetItems()->Add(u"Температура, °C");
    s->FromList->GetItems()->Add(u"Давление, кПа");
    s->ToList->GetItems()->Add(u"Расход, м³/ч");
    s->ToList->SetItemIndex(0);
    host->Show();
    behind.Snapshot(*host, "selectlist.png");
}

} // namespace
