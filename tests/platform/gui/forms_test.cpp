#include "platform/gui/forms.h"

#include "platform/core/resources.h"
#include "platform/core/threads.h"
#include "platform/gui/actnlist.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/menus.h"
#include "platform/gui/stdctrls.h"

#include "tests/platform/gui/guitest.h"
#include <QCursor>
#include <QImage>
#include <QPixmap>

#include <QAbstractButton>
#include <QLineEdit>
#include <QTimer>

#include <atomic>
#include <stdexcept>
#include <thread>

namespace {

class FormsTest : public GuiTest {};

// ---------------------------------------------------------------------------
// Escaped exceptions

TEST_F(FormsTest, AnEscapedExceptionIsShownWithTheTitleAndAFullStop) {
    Application->SetTitle(u"Moltren");
    try {
        throw EConvertError(u"Неверное значение");
    } catch (...) {
        Application->HandleException(nullptr);
    }
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Kind, TDialogKind::MessageBox);
    EXPECT_EQ(requests[0].Caption, u"Moltren");
    EXPECT_EQ(requests[0].Text, u"Неверное значение.");
    EXPECT_EQ(requests[0].Flags & 0xF0, MB_ICONERROR);

    // The silent exception shows nothing; a foreign one shows an empty message.
    try {
        throw EAbort(u"quiet");
    } catch (...) {
        Application->HandleException(nullptr);
    }
    EXPECT_EQ(requests.size(), 1u);
    try {
        throw std::runtime_error("foreign");
    } catch (...) {
        Application->HandleException(nullptr);
    }
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].Text, u"");
}

TEST_F(FormsTest, AHandlerThatRaisesLeavesTheFormUsable) {
    TestForm f;
    auto* b = Create<TButton>(f.get());
    b->SetParent(f.get());
    int calls = 0;
    b->OnClick.Bind([&](TObject*) {
        if (++calls == 1) throw Exception(u"Сбой");
    });
    f->Show();
    static_cast<QAbstractButton*>(b->Widget())->click();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Text, u"Сбой.");
    static_cast<QAbstractButton*>(b->Widget())->click();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_TRUE(f->GetVisible());
}

TEST_F(FormsTest, MessageBoxAnswersAndDefaults) {
    answer = [](const TDialogRequest& r) {
        TDialogAnswer a;
        a.Result = r.Text == u"yes?" ? IDYES : 0;
        return a;
    };
    EXPECT_EQ(Application->MessageBox(u"yes?", u"Q", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(Application->MessageBox(u"other", u"Q", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(Application->MessageBox(u"plain", u"", MB_OK), IDOK);
    EXPECT_EQ(requests.back().Caption, u"Error");
}

// ---------------------------------------------------------------------------
// Modal forms

TEST_F(FormsTest, TheResponderPressesAModalFormsButton) {
    TestForm f;
    auto* ok = Create<TButton>(f.get());
    ok->SetParent(f.get());
    ok->SetModalResult(mrOk);
    int closes = 0;
    f->OnClose.Bind([&](TObject*, TCloseAction& a) {
        ++closes;
        EXPECT_EQ(a, caHide);
    });
    answer = [&](const TDialogRequest& r) {
        EXPECT_EQ(r.Kind, TDialogKind::ModalForm);
        EXPECT_EQ(r.Form, f.get());
        EXPECT_TRUE(f->GetVisible());
        ok->Click();
        return TDialogAnswer{};
    };
    EXPECT_EQ(f->ShowModal(), mrOk);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(f->GetVisible());
}

TEST_F(FormsTest, AModalFormRunsItsOwnLoopUntilItHasAResult) {
    SetDialogResponder({});
    TestForm f;
    QTimer::singleShot(0, [&] { f->SetModalResult(mrYes); });
    EXPECT_EQ(f->ShowModal(), mrYes);
    // Closing a modal form cancels it; a refusing OnCloseQuery keeps it open.
    int queries = 0;
    f->OnCloseQuery.Bind([&](TObject*, bool& can) { can = ++queries > 1; });
    QTimer::singleShot(0, [&] {
        f->Close();
        QTimer::singleShot(0, [&] { f->Close(); });
    });
    EXPECT_EQ(f->ShowModal(), mrCancel);
    EXPECT_EQ(queries, 2);
    EXPECT_THROW(
        {
            f->Show();
            f->ShowModal();
        },
        EInvalidOperation);
}

TEST_F(FormsTest, ClosingTheMainFormEndsTheLoop) {
    DoneFormsUnit();
    InitFormsUnit();
    TForm* main = nullptr;
    Application->CreateForm(main);
    ASSERT_EQ(Application->GetMainForm(), main);
    TForm* second = nullptr;
    Application->CreateForm(second);
    EXPECT_EQ(Application->GetMainForm(), main);
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(main->GetVisible());
        main->Close();
    });
    Application->Run();
    EXPECT_TRUE(Application->GetTerminated());
    DoneFormsUnit();
    InitFormsUnit();
}

// ---------------------------------------------------------------------------
// Keys

struct KeyForm : TestForm {
    TEdit* edit = Create<TEdit>(get());
    TActionList* actions = Create<TActionList>(get());
    TAction* read = Create<TAction>(get());
    int reads = 0;
    KeyForm() {
        edit->SetParent(get());
        read->SetActionList(actions);
        read->SetShortCut(ShortCut('R', {ssCtrl}));
        read->OnExecute.Bind([this](TObject*) { ++reads; });
    }
};

TEST_F(FormsTest, AnActionsShortcutWorksFromInsideAnEdit) {
    KeyForm f;
    f->Show();
    GuiTest::Key(f.edit->Widget(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(f.reads, 1);
    EXPECT_EQ(f.edit->GetText(), u"");
    // With the action disabled the key goes on to the edit.
    f.read->SetEnabled(false);
    GuiTest::Key(f.edit->Widget(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(f.reads, 1);
    // A Cyrillic layout still names the key by its place (Ctrl+К is Ctrl+R).
    f.read->SetEnabled(true);
    QKeyEvent ru(QEvent::KeyPress, 0x041a, Qt::ControlModifier, 27, 0x041a, 0, QString());
    QCoreApplication::sendEvent(f.edit->Widget(), &ru);
    EXPECT_EQ(f.reads, 2);
}

TEST_F(FormsTest, KeyPreviewSeesKeysFirstAndCanSwallowThem) {
    KeyForm f;
    f->SetKeyPreview(true);
    std::u16string seen;
    f->OnKeyPress.Bind([&](TObject*, Char& c) {
        seen.push_back(c);
        if (c == u'x') c = 0;
        if (c == u'a') c = u'b';
    });
    f->Show();
    GuiTest::Key(f.edit->Widget(), Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    GuiTest::Key(f.edit->Widget(), Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    EXPECT_EQ(seen, u"xa");
    EXPECT_EQ(f.edit->GetText(), u"b");
}

TEST_F(FormsTest, FocusMovesFireExitAndEnter) {
    KeyForm f;
    auto* other = Create<TEdit>(f.get());
    other->SetParent(f.get());
    other->SetTop(40);
    std::vector<std::string> log;
    f.edit->OnEnter.Bind([&](TObject*) { log.push_back("enter1"); });
    f.edit->OnExit.Bind([&](TObject*) { log.push_back("exit1"); });
    other->OnEnter.Bind([&](TObject*) { log.push_back("enter2"); });
    f->Show();
    QApplication::setActiveWindow(f->Widget());
    f.edit->SetFocus();
    ASSERT_TRUE(WaitFor([&] { return f.edit->Focused(); }));
    other->SetFocus();
    ASSERT_TRUE(WaitFor([&] { return other->Focused(); }));
    EXPECT_EQ(log, (std::vector<std::string>{"enter1", "exit1", "enter2"}));
    EXPECT_EQ(f->GetActiveControl(), other);
}

// ---------------------------------------------------------------------------
// Menus on forms

TEST_F(FormsTest, AMenuKeepsTheClientAreaAndItsShortcutsWork) {
    TestForm f;
    f->SetClientWidth(300);
    f->SetClientHeight(200);
    auto* menu = Create<TMainMenu>(f.get());
    auto* file = Create<TMenuItem>(f.get());
    file->SetCaption(u"Файл");
    menu->GetItems()->Add(file);
    auto* help = Create<TMenuItem>(f.get());
    help->SetCaption(u"Справка");
    help->SetShortCut(ShortCut(VK_F1, {}));
    int helps = 0;
    help->OnClick.Bind([&](TObject*) { ++helps; });
    file->Add(help);
    f->SetMenu(menu);
    EXPECT_EQ(f->GetClientHeight(), 200);
    EXPECT_GT(f->GetHeight(), 200);
    EXPECT_TRUE(f->IsShortCut(ShortCut(VK_F1, {})));
    EXPECT_EQ(helps, 1);
    help->SetEnabled(false);
    EXPECT_FALSE(f->IsShortCut(ShortCut(VK_F1, {})));
    // Freeing the menu takes it off the form.
    menu->Free();
    EXPECT_EQ(f->GetMenu(), nullptr);
    EXPECT_EQ(f->GetClientHeight(), f->GetHeight());
}

// A call another thread posts for the main thread runs from the event loop.
TEST_F(FormsTest, CallsFromOtherThreadsRunInTheLoop) {
    std::atomic<bool> ran{false};
    TThreadID ranOn;
    std::thread worker([&] {
        TThread::Queue(nullptr, [&] {
            ranOn = GetCurrentThreadID();
            ran = true;
        });
    });
    worker.join();
    EXPECT_TRUE(WaitFor([&] { return ran.load(); }));
    EXPECT_EQ(ranOn, MainThreadID());
    // An exception of a queued call is shown like any other.
    std::thread failing([] { TThread::Queue(nullptr, [] { throw Exception(u"Сбой потока"); }); });
    failing.join();
    EXPECT_TRUE(WaitFor([&] { return !requests.empty(); }));
    EXPECT_EQ(requests.back().Text, u"Сбой потока.");
}

TEST_F(FormsTest, ScreenCursorIsApplicationWide) {
    Screen->SetCursor(crHourGlass);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_GT(Screen->GetWidth(), 0);
    // A cursor of the program's own maps to a stock shape.
    Screen->SetCursors(2020, crHandPoint);
    EXPECT_EQ(Screen->GetCursors(2020), crHandPoint);
    EXPECT_EQ(Screen->GetCursors(crIBeam), crIBeam);
    TestForm f;
    auto* b = Create<TButton>(f.get());
    b->SetCursor(static_cast<TCursor>(2020));
    EXPECT_EQ(b->Widget()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_GT(Screen->GetHeight(), 0);
}

TEST_F(FormsTest, CursorPicturesOfTheProgramsOwnShowUnderTheirNumber) {
    static const char kArrow[] = "; a small test cursor\nhotspot 1 2\n#o..\n#oo.\n###.\n";
    static const char kBad[] = "hotspot 9 9\n##\n";
    static const TEmbeddedResource table[] = {
        {"TESTARROW", "cur.txt", reinterpret_cast<const Byte*>(kArrow), sizeof kArrow - 1},
        {"TESTBADARROW", "cur.txt", reinterpret_cast<const Byte*>(kBad), sizeof kBad - 1},
    };
    RegisterResources(table);
    EXPECT_EQ(LoadCursorResource(u"TESTMISSING"), nullptr);
    EXPECT_THROW(LoadCursorResource(u"TESTBADARROW"), EInvalidGraphic); // hot spot outside
    const HCURSOR arrow = LoadCursorResource(u"TESTARROW");
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(CursorSize(arrow).cx, 4);
    EXPECT_EQ(CursorSize(arrow).cy, 3);
    EXPECT_EQ(CursorHotSpot(arrow), TPoint(1, 2));
    const QImage image = arrow->Cursor.pixmap().toImage();
    EXPECT_EQ(qAlpha(image.pixel(3, 0)), 0);
    EXPECT_EQ(image.pixel(1, 0), qRgba(255, 255, 255, 255));
    EXPECT_EQ(image.pixel(0, 2), qRgba(0, 0, 0, 255));

    Screen->SetCursors(3001, arrow);
    EXPECT_EQ(Screen->GetCursorHandle(3001), arrow);
    TestForm f;
    auto* b = Create<TButton>(f.get());
    b->SetCursor(static_cast<TCursor>(3001));
    EXPECT_EQ(b->Widget()->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(b->Widget()->cursor().hotSpot(), QPoint(1, 2));
    Screen->SetCursors(3001, static_cast<HCURSOR>(nullptr));
    EXPECT_EQ(Screen->GetCursorHandle(3001), nullptr);
    UnRegisterResources(table);
}

} // namespace
