// Dialogs as a window manager shows them on a real X server: a form centred on its owner opens
// on the window the operator sees the owner in, and on the screen; a file dialog whose file type
// has several patterns lists every file of each.
#include "platform/gui/dialogs.h"
#include "platform/gui/stdctrls.h"
#include "tests/platform/gui/x11/xserver.h"
#include "tests/support/tempdir.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace {

class XDialogWindows : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        if (!xserver::RunWindowManager()) GTEST_SKIP() << "no window manager (openbox): run scripts/setup";
    }
};

TRect ScreenRect(const TControl& c) {
    const TPoint o = probe::ScreenOrigin(c);
    return Bounds(o.X, o.Y, c.GetWidth(), c.GetHeight());
}

TPoint Middle(const TRect& r) {
    return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

} // namespace

// The owner may be a form embedded in another, or a control on one: the dialog centres on the
// window that holds it, at the size it shows at. Centred on a window that reaches past the
// screen, it still opens on it.
TEST_F(XDialogWindows, AFormCentredOnItsOwnerOpensOnTheOwnersWindowAndOnTheScreen) {
    TestForm host;
    host->SetCaption(u"Редактор графика");
    host->SetBounds(300, 200, 640, 480);
    auto* embedded = Create<TForm>(host.get(), TCustomForm::NewTag{});
    embedded->SetParent(host.get());
    embedded->SetBounds(20, 20, 200, 120);
    embedded->Show();
    auto* button = Create<TButton>(embedded);
    button->SetParent(embedded);
    button->SetBounds(10, 10, 90, 25);
    host->Show();
    ASSERT_TRUE(xserver::Activate(*host.get()));
    const TRect area = Screen->GetWorkAreaRect();
    for (TComponent* owner : std::initializer_list<TComponent*>{embedded, button}) {
        for (const TPoint at : {TPoint(300, 200), TPoint(area.Right - 200, area.Bottom - 150),
                                TPoint(area.Left - 200, area.Top - 150)}) {
            host->SetBounds(at.X, at.Y, 640, 480);
            probe::ProcessEvents();
            Owned<TForm> dialog(Create<TForm>(owner, TCustomForm::NewTag{}));
            dialog->SetCaption(u"Фильтры");
            dialog->SetBounds(0, 0, 320, 240);
            dialog->SetPosition(poOwnerFormCenter);
            // One that sizes itself as it shows is centred at that size.
            if (owner == button) dialog->OnShow.Bind([&](TObject*) { dialog->SetWidth(520); });
            dialog->Show();
            ASSERT_TRUE(xserver::Activate(*dialog));
            const TRect shown = ScreenRect(*dialog), under = ScreenRect(*host.get());
            const std::string where = std::string(owner->ClassType().name) + " at " + std::to_string(at.X);
            EXPECT_GE(shown.Left, area.Left) << where;
            EXPECT_GE(shown.Top, area.Top) << where;
            EXPECT_LE(shown.Right, area.Right) << where;
            EXPECT_LE(shown.Bottom, area.Bottom) << where;
            // The title bar the window manager puts above it too.
            const QRect frame = dialog->Widget()->window()->frameGeometry();
            EXPECT_GE(frame.top(), area.Top) << where;
            EXPECT_GE(frame.left(), area.Left) << where;
            EXPECT_LE(frame.right() + 1, area.Right) << where;
            EXPECT_LE(frame.bottom() + 1, area.Bottom) << where;
            if (at.X == 300) {
                EXPECT_NEAR(Middle(shown).X, Middle(under).X, 2) << where;
                EXPECT_NEAR(Middle(shown).Y, Middle(under).Y, 2) << where;
                xserver::Keep(xserver::Picture(host->Widget()->window()), "centred-on-owner");
            }
        }
    }
}

// A window moved on the screen reads back the place it stands at, so one given that place, as the
// chart editor reopens where it was left, stands there again instead of a frame's height higher.
TEST_F(XDialogWindows, AWindowGivenThePlaceReadBackStandsWhereItWas) {
    TestForm first;
    first->SetCaption(u"Редактор графика");
    first->Show();
    ASSERT_TRUE(xserver::Activate(*first.get()));
    first->SetBounds(100, 120, 400, 300);
    ASSERT_TRUE(probe::WaitFor([&] { return ScreenRect(*first.get()).Top == 120; }));
    const TPoint left(first->GetLeft(), first->GetTop());
    EXPECT_EQ(left, probe::ScreenOrigin(*first.get()));
    TestForm second;
    second->SetCaption(u"Редактор графика");
    second->SetPosition(poDesigned);
    second->SetBounds(left.X, left.Y, 400, 300);
    second->Show();
    ASSERT_TRUE(xserver::Activate(*second.get()));
    EXPECT_EQ(probe::ScreenOrigin(*second.get()), probe::ScreenOrigin(*first.get()));
}

// "All (*.bmp;*.jpg)" lists the files of every pattern, in every file dialog: the pictures one's
// first type among them. The extension a name takes is still the first pattern's.
TEST_F(XDialogWindows, AFileTypeOfSeveralPatternsListsTheFilesOfEach) {
    SetDialogResponder({}); // the dialog itself
    const xserver::OwnQtSettings qtSettings;
    const TempDir folder{"moltren-file-types"};
    for (const char* name : {"a.bmp", "b.jpg", "c.jpeg", "d.emf", "e.txt", "f.wmf"})
        std::ofstream(folder.path / name) << "x";
    std::filesystem::create_directory(folder.path / "Архив");
    TestForm f;
    f->SetBounds(200, 150, 300, 200);
    f->Show();
    ASSERT_TRUE(xserver::Activate(*f.get()));
    const auto listed = [&](TOpenDialog& Dialog) {
        std::vector<std::string> names;
        Dialog.SetInitialDir(UTF8ToString(folder.path.string()));
        xserver::ListFileDialogOnceShown(names, "picture-dialog-listing");
        Dialog.Execute();
        return std::set<std::string>(names.begin(), names.end());
    };
    const Owned<TOpenPictureDialog> pictures(Create<TOpenPictureDialog>(f.get()));
    // "All (*.bmp;*.emf;...)|*.bmp;*.emf;...|...": the formats the program reads, all of them first.
    const String filter = pictures->GetFilter();
    const std::size_t bar = filter.find(u'|');
    const String all = u";" + filter.substr(bar + 1, filter.find(u'|', bar + 1) - bar - 1) + u";";
    ASSERT_NE(all.find(u";*.emf;"), String::npos) << UTF8Encode(all);
    EXPECT_EQ(FilterEntryExt(filter, 1), u"bmp");
    std::set<std::string> pictureFiles{"Архив"};
    for (const char* name : {"a.bmp", "b.jpg", "c.jpeg", "d.emf", "e.txt", "f.wmf"})
        if (all.find(u";*" + UTF8ToString(std::filesystem::path(name).extension().string()) + u";") !=
            String::npos)
            pictureFiles.insert(name);
    EXPECT_EQ(listed(*pictures), pictureFiles) << UTF8Encode(all);
    const Owned<TSaveDialog> save(Create<TSaveDialog>(f.get()));
    save->SetFilter(u"Текст|*.txt|Картинки (*.bmp; *.jpg)|*.bmp; *.jpg");
    save->SetFilterIndex(2);
    EXPECT_EQ(listed(*save), (std::set<std::string>{"a.bmp", "b.jpg", "Архив"}));
}

// A folder typed in a save dialog and confirmed opens it, found in the dialog's folder whatever the
// program's own: no file is named after it.
TEST_F(XDialogWindows, AFolderTypedInASaveDialogOpensIt) {
    SetDialogResponder({}); // the dialog itself
    const xserver::OwnQtSettings qtSettings;
    const TempDir folder{"moltren-save-folder"};
    std::filesystem::create_directory(folder.path / "sub");
    TestForm f;
    f->SetBounds(200, 150, 300, 200);
    f->Show();
    ASSERT_TRUE(xserver::Activate(*f.get()));
    const Owned<TSaveDialog> save(Create<TSaveDialog>(f.get()));
    save->SetFilter(u"Текст|*.txt");
    save->SetDefaultExt(u"txt");
    save->SetInitialDir(UTF8ToString(folder.path.string()));
    std::string afterFolder;
    QTimer::singleShot(0, [&] {
        QFileDialog* dialog = nullptr;
        probe::WaitFor([&] {
            dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            return dialog && dialog->isActiveWindow();
        });
        if (!dialog) return;
        xserver::Type("s u b Return");
        afterFolder = dialog->directory().absolutePath().toStdString();
        xserver::Keep(xserver::Picture(dialog), "save-dialog-in-typed-folder");
        xserver::Type("n a m e Return");
    });
    ASSERT_TRUE(save->Execute());
    EXPECT_EQ(afterFolder, (folder.path / "sub").string());
    EXPECT_EQ(save->GetFileName(), UTF8ToString((folder.path / "sub" / "name.txt").string()));
}
