#include "platform/gui/dialogs.h"

#include "platform/gui/menus.h"
#include "platform/gui/printers.h"
#include "tests/platform/gui/guitest.h"
#include "tests/support/keptprinter.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

namespace {

class DialogsTest : public GuiTest {};

TEST_F(DialogsTest, TheSaveDialogIsAnsweredWithAFileName) {
    TestForm f;
    auto* d = Create<TSaveDialog>(f.get());
    d->SetDefaultExt(u"txt");
    d->SetFilter(u"Текстовый документ (*.txt)|*.txt|Все файлы (*.*)|*.*");
    d->SetInitialDir(u"/tmp");
    answer = [](const TDialogRequest& r) {
        TDialogAnswer a;
        a.Result = r.Kind == TDialogKind::SaveDialog ? mrOk : mrCancel;
        a.FileName = u"/tmp/архив";
        a.FilterIndex = 2;
        return a;
    };
    ASSERT_TRUE(d->Execute());
    EXPECT_EQ(d->GetFileName(), u"/tmp/архив.txt");
    EXPECT_EQ(d->GetFilterIndex(), 2);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].InitialDir, u"/tmp");
    EXPECT_EQ(requests[0].Filter, u"Текстовый документ (*.txt)|*.txt|Все файлы (*.*)|*.*");
    // A typed extension stays; Cancel leaves the name as it was.
    answer = [](const TDialogRequest&) {
        TDialogAnswer a;
        a.Result = mrOk;
        a.FileName = u"/tmp/log.csv";
        return a;
    };
    ASSERT_TRUE(d->Execute());
    EXPECT_EQ(d->GetFileName(), u"/tmp/log.csv");
    answer = [](const TDialogRequest&) {
        TDialogAnswer a;
        a.Result = mrCancel;
        return a;
    };
    EXPECT_FALSE(d->Execute());
    EXPECT_EQ(d->GetFileName(), u"/tmp/log.csv");
}

TEST_F(DialogsTest, ADefaultExtensionWrittenAsAPatternAddsOnlyTheExtension) {
    TestForm f;
    auto* d = Create<TSaveDialog>(f.get());
    answer = [](const TDialogRequest&) {
        TDialogAnswer a;
        a.Result = mrOk;
        a.FileName = u"/tmp/архив";
        return a;
    };
    d->SetDefaultExt(u"*.txt");
    ASSERT_TRUE(d->Execute());
    EXPECT_EQ(d->GetFileName(), u"/tmp/архив.txt");
    EXPECT_EQ(requests.back().DefaultExt, u"txt");
    EXPECT_EQ(d->GetDefaultExt(), u"*.txt");
    // The file type chosen names the extension by its first pattern; a type that names none
    // leaves the default one.
    d->SetFilter(u"JPEG (*.jpg;*.jpeg)|*.jpg;*.jpeg|Все файлы (*.*)|*.*|Без шаблона|");
    for (const auto& [type, name] : {std::pair{1, u"/tmp/архив.jpg"},
                                     {2, u"/tmp/архив.txt"},
                                     {3, u"/tmp/архив.txt"},
                                     {4, u"/tmp/архив.txt"}}) {
        d->SetFilterIndex(type);
        ASSERT_TRUE(d->Execute());
        EXPECT_EQ(d->GetFileName(), name) << type;
    }
    // A pattern that names no extension adds none.
    d->SetDefaultExt(u"*.*");
    ASSERT_TRUE(d->Execute());
    EXPECT_EQ(d->GetFileName(), u"/tmp/архив");
}

TEST_F(DialogsTest, MessageDialogsCarryTheirTypeAndButtons) {
    Application->SetTitle(u"Moltren");
    EXPECT_EQ(MessageDlg(u"Ошибка чтения архива", mtWarning, {mbOK}, 0), mrOk);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Kind, TDialogKind::MessageDlg);
    EXPECT_EQ(requests[0].Caption, u"Warning");
    EXPECT_EQ(requests[0].DlgType, mtWarning);
    EXPECT_EQ(requests[0].Buttons, TMsgDlgButtons{mbOK}.Bits());
    // Without an answer the default button counts.
    EXPECT_EQ(MessageDlg(u"?", mtConfirmation, mbYesNoCancel, 0), mrYes);
    answer = [](const TDialogRequest&) {
        TDialogAnswer a;
        a.Result = mrNo;
        return a;
    };
    EXPECT_EQ(MessageDlg(u"?", mtConfirmation, mbYesNo, 0), mrNo);
    ShowMessage(u"Готово");
    EXPECT_EQ(requests.back().Caption, u"Moltren");
    EXPECT_EQ(requests.back().DlgType, mtCustom);
}

// ---------------------------------------------------------------------------

TEST(ShortCuts, TextAndKeysRoundTrip) {
    EXPECT_EQ(ShortCut('R', {ssCtrl}), 16466);
    EXPECT_EQ(ShortCutToText(16466), u"Ctrl+R");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F1, {})), u"F1");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, {ssShift, ssCtrl})), u"Shift+Ctrl+Del");
    for (const char16_t* t : {u"Ctrl+E", u"F1", u"Alt+F12", u"Shift+Ctrl+Del", u"Ctrl+G"})
        EXPECT_EQ(ShortCutToText(TextToShortCut(t)), t);
    EXPECT_EQ(TextToShortCut(u"ctrl+t"), ShortCut('T', {ssCtrl}));
    EXPECT_EQ(TextToShortCut(u"Ctrl+"), 0);
    Word key = 0;
    TShiftState shift;
    ShortCutToKey(16466, key, shift);
    EXPECT_EQ(key, 'R');
    EXPECT_EQ(shift, TShiftState{ssCtrl});
}

class MenusTest : public GuiTest {};

TEST_F(MenusTest, ItemsFormATreeOfQtActions) {
    TestForm f;
    auto* menu = Create<TMainMenu>(f.get());
    auto* file = Create<TMenuItem>(f.get());
    file->SetCaption(u"Файл");
    auto* exit = Create<TMenuItem>(f.get());
    exit->SetCaption(u"Выход");
    auto* line = Create<TMenuItem>(f.get());
    line->SetCaption(u"-");
    menu->GetItems()->Add(file);
    file->Add(exit);
    file->Insert(0, line);
    EXPECT_EQ(file->GetCount(), 2);
    EXPECT_EQ(exit->GetMenuIndex(), 1);
    EXPECT_EQ(exit->GetParentMenu(), menu);
    ASSERT_NE(file->SubMenu(), nullptr);
    EXPECT_EQ(file->SubMenu()->actions().size(), 2);
    EXPECT_TRUE(line->Action()->isSeparator());
    EXPECT_EQ(menu->GetItems()->Find(u"&Файл"), file);
    int clicks = 0;
    exit->OnClick.Bind([&](TObject*) { ++clicks; });
    exit->Action()->trigger();
    EXPECT_EQ(clicks, 1);
    exit->Free();
    EXPECT_EQ(file->GetCount(), 1);
    EXPECT_EQ(file->SubMenu()->actions().size(), 1);
}

TEST_F(MenusTest, APopupGoesToTheHook) {
    TestForm f;
    auto* popup = Create<TPopupMenu>(f.get());
    auto* item = Create<TMenuItem>(f.get());
    item->SetCaption(u"Печать графика");
    popup->GetItems()->Add(item);
    int clicks = 0, pops = 0;
    item->OnClick.Bind([&](TObject*) { ++clicks; });
    popup->OnPopup.Bind([&](TObject*) { ++pops; });
    SetPopupHook([&](TPopupMenu* m, int x, int y) {
        EXPECT_EQ(m, popup);
        EXPECT_EQ(x, 10);
        m->GetItems()->GetItem(0)->Click();
    });
    popup->Popup(10, 20);
    SetPopupHook({});
    EXPECT_EQ(pops, 1);
    EXPECT_EQ(clicks, 1);
}

// A handler that opens a modal window runs once its menu has closed.
TEST_F(MenusTest, APopupItemIsClickedAfterItsMenuHasClosed) {
    TestForm f;
    auto* popup = Create<TPopupMenu>(f.get());
    auto* item = Create<TMenuItem>(f.get());
    popup->GetItems()->Add(item);
    int clicks = 0;
    bool menuShownInClick = true;
    item->OnClick.Bind([&](TObject*) {
        ++clicks;
        menuShownInClick = popup->Menu()->isVisible();
    });
    QTimer::singleShot(0, [&] {
        item->Action()->trigger();
        EXPECT_EQ(clicks, 0);
        popup->Menu()->close();
    });
    popup->Popup(10, 20);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(menuShownInClick);
    // Outside a popup an item's action clicks it at once.
    item->Action()->trigger();
    EXPECT_EQ(clicks, 2);
}

TEST_F(DialogsTest, ThePrinterSetupIsAnsweredForTheProgramsPrinter) {
    const KeptPrinter printer;
    TestForm f;
    auto* d = Create<TPrinterSetupDialog>(f.get());
    int shown = 0, closed = 0;
    d->OnShow.Bind([&](TObject*) { ++shown; });
    d->OnClose.Bind([&](TObject*) { ++closed; });
    answer = [](const TDialogRequest&) {
        Printer()->SetOrientation(poLandscape); // what the user chose in it
        TDialogAnswer a;
        a.Result = mrOk;
        return a;
    };
    EXPECT_TRUE(d->Execute());
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Kind, TDialogKind::PrinterSetupDialog);
    EXPECT_EQ(requests[0].Text, PdfPrinterName);
    EXPECT_EQ(Printer()->GetOrientation(), poLandscape);
    EXPECT_GT(Printer()->GetPageWidth(), Printer()->GetPageHeight());
    answer = [](const TDialogRequest&) {
        TDialogAnswer a;
        a.Result = mrCancel;
        return a;
    };
    EXPECT_FALSE(d->Execute());
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(closed, 2);
}

} // namespace
