// The program on an operator's desktop: a window manager on the X server, the message boxes
// shown for real and answered by keys typed through the server.
#include "graphs/okcancl1.h"
#include "platform/automation/comobj.h"
#include "platform/automation/excelserver.h"
#include "tests/archive/programtest.h"
#include "tests/support/shellrecorder.h"
#include "tests/support/xlsxreader.h"
#include "tests/support/xserver.h"

#include <memory>
#include <string>

namespace {

class ProgramOnDesktop : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (!xserver::RunWindowManager()) GTEST_SKIP() << "no window manager (openbox): run scripts/setup";
        SetDialogResponder({});
        // Every box is answered, the unforeseen ones closed, to the end of the test.
        boxes = std::make_unique<xserver::ModalBoxes>([this](int n) { return n == 1 ? firstBoxKey : ""; });
        CreateForms();
        f = MainForm;
        f->Show();
        ASSERT_TRUE(xserver::Activate(*f));
    }
    void TearDown() override {
        ProgramTest::TearDown();
        boxes.reset();
    }
    // The next box shown is answered by the key, any other closed without one.
    void AnswerFirstBoxBy(const std::string& key) {
        firstBoxKey = key;
        boxes->Forget();
    }
    // A graph window (Ctrl+G), made the current one.
    TForm* OpenGraph() {
        f->IsShortCut(ShortCut('G', {ssCtrl}));
        TForm* graph = f->graphs[f->graphCount].graphForm;
        f->GraphWindowActivate(graph);
        return graph;
    }
    // The settings dialog of the current graph on its second page, the Y axis set by hand.
    TGraphSettings* SettingsByHand() {
        f->graphs[f->currentGraph].autoY = false;
        TGraphSettings* d = GraphSettings;
        d->Show();
        EXPECT_TRUE(xserver::Activate(*d));
        d->PageControlGraph->SetActivePage(d->GraphSet);
        d->PageControlGraph->OnChange(d->PageControlGraph);
        return d;
    }
    static const char* const kClosingKeys[2];

    std::unique_ptr<xserver::ModalBoxes> boxes;
    std::string firstBoxKey;
    TMainForm* f = nullptr;
};

const char* const ProgramOnDesktop::kClosingKeys[2] = {"Return", "space"};

const ::testing::Environment* const kDesktop =
    ::testing::AddGlobalTestEnvironment(new xserver::DesktopEnvironment);

} // namespace

// The key that closes a box is the box's: the command that showed it does not run again.
TEST_F(ProgramOnDesktop, AKeyThatClosesTheExportsBoxClosesItOnly) {
    ShellRecorder shell(SE_ERR_NOASSOC);
    TOleServerScope server{u"Excel.Application", std::make_shared<TExcelServer>(TExcelOptions{dir.path})};
    f->StringGrid->SetRowCount(2);
    f->StringGrid->SetColCount(2);
    f->StringGrid->SetCells(1, 1, u"0,647");
    for (const char* key : kClosingKeys) {
        shell.opened.clear();
        ASSERT_TRUE(xserver::Focus(*f->StringGrid));
        AnswerFirstBoxBy(key);
        ASSERT_TRUE(xserver::Type("ctrl+e"));
        ASSERT_TRUE(boxes->WaitUntilClosed()) << key;
        ASSERT_EQ(boxes->Seen().size(), 1u) << key;
        EXPECT_EQ(shell.opened.size(), 1u) << key;
        EXPECT_EQ(boxes->Seen()[0].title, "Moltren") << key;
        // ctest runs this once more under ru_RU.UTF-8: the workbook still holds dots, as the program
        // writes it.
        ASSERT_FALSE(shell.opened.empty()) << key;
        const std::string sheet = xlsx::Read(shell.opened[0]).parts.at("xl/worksheets/sheet1.xml");
        EXPECT_NE(sheet.find("<v>0.647</v>"), std::string::npos) << sheet;
    }
}

TEST_F(ProgramOnDesktop, AKeyThatClosesTheSettingsErrorBoxClosesItOnly) {
    OpenGraph();
    f->graphs[f->currentGraph].graphCaption = u"Давление и температура котла №1";
    TGraphSettings* d = SettingsByHand();
    // The edit hears nothing of the key that closes the box, not even its release.
    std::string heard;
    d->EditYmax->OnKeyUp =
        TKeyEvent([&](TObject*, Word& Key, TShiftState) { heard += std::to_string(Key) + " "; });
    for (const char* key : kClosingKeys) {
        d->EditYmax->SetText(u"");
        // Typed and not applied yet: the dialog coming back from the box keeps it.
        d->EditGraphName->SetText(u"Котёл 2");
        ASSERT_TRUE(xserver::Focus(*d->EditYmax));
        AnswerFirstBoxBy(key);
        heard.clear();
        ASSERT_TRUE(xserver::Type("Return"));
        // A loaded server may hand the keys over late: each outcome is waited for.
        ASSERT_TRUE(probe::WaitFor([&] { return !boxes->Seen().empty(); })) << key;
        ASSERT_TRUE(boxes->WaitUntilClosed()) << key;
        ASSERT_EQ(boxes->Seen().size(), 1u) << key;
        EXPECT_TRUE(probe::WaitFor([&] { return d->EditYmax->GetText() == u"100"; })) << key;
        EXPECT_TRUE(probe::WaitFor([&] { return d->GetActive(); })) << key;
        EXPECT_EQ(d->EditGraphName->GetText(), u"Котёл 2") << key;
        EXPECT_EQ(heard, "") << key;
        // The box is wide enough for its title, the dialog's caption, and the window manager's buttons.
        const xserver::ModalBoxes::Box& box = boxes->Seen()[0];
        EXPECT_EQ(box.title, "Настройки - Давление и температура котла №1") << key;
        EXPECT_GT(box.width, box.titleWidth + 60) << key;
    }
}

// The digits-only edits let Tab and Shift+Tab take the focus on.
TEST_F(ProgramOnDesktop, TabAndShiftTabLeaveTheYEdits) {
    OpenGraph();
    TGraphSettings* d = SettingsByHand();
    for (const auto& [edit, key] : {std::pair{d->EditYmax, "Tab"}, std::pair{d->EditYmax, "shift+Tab"},
                                    std::pair{d->EditYmin, "Tab"}, std::pair{d->EditYmin, "shift+Tab"}}) {
        ASSERT_TRUE(xserver::Focus(*edit));
        ASSERT_EQ(d->GetActiveControl(), edit);
        ASSERT_TRUE(xserver::Type(std::string("7 ") + key));
        EXPECT_NE(d->GetActiveControl(), edit) << UTF8Encode(edit->GetName()) << " " << key;
        EXPECT_EQ(edit->GetText().back(), u'7') << UTF8Encode(edit->GetName()) << " " << key;
    }
}

// The column list takes a choice made by a key as one made by a click: Down shows the line of
// the column it chooses, and Down onto a column the window does not show disables the line's
// controls.
TEST_F(ProgramOnDesktop, DownInTheColumnListShowsTheLineOfTheColumnItChooses) {
    OpenGraph();
    GraphRecord& g = f->graphs[f->currentGraph];
    TGraphSettings* d = GraphSettings;
    TCheckListBox* list = d->CheckListBoxValue;
    for (int k = 1; k <= 3; ++k) list->GetItems()->Add(u"Значение" + IntToStr(k));
    d->Show();
    ASSERT_TRUE(xserver::Activate(*d));
    const auto row = [&](int Item, int X) {
        const TRect r = list->ItemRect(Item);
        return TPoint(r.Left + X, (r.Top + r.Bottom) / 2);
    };
    // The first two columns ticked by their marks, then the first chosen by its text.
    for (int k = 0; k < 2; ++k) {
        ASSERT_TRUE(xserver::Click(*list, row(k, 9)));
        ASSERT_TRUE(probe::WaitFor([&] { return g.seriesCount == k + 1; }));
    }
    ASSERT_NE(g.seriesRecords[1].seriesColor, g.seriesRecords[2].seriesColor);
    ASSERT_TRUE(xserver::Click(*list, row(0, 50)));
    ASSERT_TRUE(probe::WaitFor([&] { return d->ColorBox->GetSelected() == g.seriesRecords[1].seriesColor; }));

    const std::initializer_list<TControl*> line{d->ColorBox, d->ComboBoxLineWidth, d->ComboBoxEx,
                                                d->CheckBoxLegend, d->CheckBoxPointeShow};
    ASSERT_TRUE(xserver::Type("Down"));
    EXPECT_EQ(list->GetItemIndex(), 1);
    EXPECT_EQ(d->ColorBox->GetSelected(), g.seriesRecords[2].seriesColor);
    for (TControl* c : line) EXPECT_TRUE(c->GetEnabled()) << UTF8Encode(c->GetName());
    xserver::Keep(xserver::Picture(*d), "graph-settings-down-onto-second-column");
    ASSERT_TRUE(xserver::Type("Down"));
    EXPECT_EQ(list->GetItemIndex(), 2);
    for (TControl* c : line) EXPECT_FALSE(c->GetEnabled()) << UTF8Encode(c->GetName());
    xserver::Keep(xserver::Picture(*d), "graph-settings-down-onto-unticked-column");
}

// The other forms belong to the main window: a click on it leaves them in front.
TEST_F(ProgramOnDesktop, AGraphWindowStaysAboveTheMainWindowWhenThatIsClicked) {
    TForm* graph = OpenGraph();
    ASSERT_TRUE(xserver::Activate(*graph));
    ASSERT_TRUE(probe::WaitFor([&] { return xserver::Above(*graph, *f); }));
    // The status bar's far end lies outside the graph window.
    ASSERT_TRUE(xserver::Click(*f->StatusBar, TPoint(f->StatusBar->GetWidth() - 30, 8)));
    ASSERT_TRUE(probe::WaitFor([&] { return f->GetActive(); }));
    EXPECT_FALSE(probe::WaitFor([&] { return !xserver::Above(*graph, *f); }, 500));
}

// The read mode is one tab stop, entered at its checked button; an arrow checks the next button
// as a click on it does, so the mode's dates follow at once.
TEST_F(ProgramOnDesktop, TheReadModeIsOneTabStopAndTheArrowsChooseInIt) {
    ASSERT_TRUE(xserver::Focus(*f->ComboBoxDevNum));
    ASSERT_TRUE(xserver::Type("Tab"));
    EXPECT_TRUE(f->RadioGroup->Focused());
    ASSERT_TRUE(xserver::Type("Tab"));
    EXPECT_TRUE(f->DateTimePickerStartDate->Focused());
    ASSERT_TRUE(xserver::Type("shift+Tab Down"));
    EXPECT_EQ(f->RadioGroup->GetItemIndex(), 1);
    ASSERT_TRUE(xserver::Type("Up"));
    EXPECT_EQ(f->RadioGroup->GetItemIndex(), 0);
    EXPECT_FALSE(f->DateTimePickerFinish->GetEnabled());
    ASSERT_TRUE(xserver::Type("Down shift+Tab"));
    EXPECT_TRUE(f->DateTimePickerFinish->GetEnabled());
    EXPECT_TRUE(f->ComboBoxDevNum->Focused());
    // Back in at the checked button, the second: Up goes to the first.
    ASSERT_TRUE(xserver::Type("Tab Up"));
    EXPECT_EQ(f->RadioGroup->GetItemIndex(), 0);
}
