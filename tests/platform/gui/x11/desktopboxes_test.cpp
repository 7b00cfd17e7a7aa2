// Message boxes and input queries on an operator's desktop: a window manager frames them and draws
// their titles.
#include "platform/gui/dialogs.h"
#include "tests/platform/gui/x11/xserver.h"

#include <QTimer>

namespace {

class XDesktopBoxes : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        if (!xserver::RunWindowManager()) GTEST_SKIP() << "no window manager (openbox): run scripts/setup";
        SetDialogResponder({});
        ASSERT_GT(xserver::TitleBarColumns("Moltren"), 0);
    }
    // The light columns of the title bar of the box `show` opens, which is then closed.
    int ShownTitleColumns(const std::function<void()>& show) {
        int columns = -1;
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&] {
            QWidget* box = QApplication::activeModalWidget();
            // Looked at once the window manager has given it the focus.
            if (!box || columns >= 0 || QGuiApplication::focusWindow() != box->windowHandle()) return;
            columns = xserver::TitleBarColumns(box);
            box->close();
        });
        look.start(50);
        show();
        return columns;
    }
};

// A box narrower than its title would have the window manager shorten it ("Наст…ки - е").
TEST_F(XDesktopBoxes, AMessageBoxOrAnInputQueryIsWideEnoughForItsTitle) {
    for (const char* title : {"Настройки - е", "Настройки - Давление и температура котла №1"}) {
        const int shown = ShownTitleColumns([&] {
            Application->MessageBox(u"Число?", FromQString(QString::fromUtf8(title)), MB_OK | MB_ICONERROR);
        });
        EXPECT_EQ(shown, xserver::TitleBarColumns(title)) << title;
    }
    // The caption a message dialog takes from its kind.
    const int shown = ShownTitleColumns([] { MessageDlg(u"Число?", mtWarning, {mbOK}, 0); });
    EXPECT_EQ(shown, xserver::TitleBarColumns("Warning"));
    // An input query's box, narrow for its one edit.
    String name = u"Котёл";
    EXPECT_EQ(ShownTitleColumns([&] { InputQuery(u"Add new group", u"Group name:", name); }),
              xserver::TitleBarColumns("Add new group"));
}

} // namespace
