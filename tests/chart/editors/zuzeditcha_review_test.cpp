// The chart editor's stored place and size against keys a person edited by hand or an older
// run left behind.
#include "chart/editors/zuzeditcha.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzprocs.h"
#include "chart/editors/zuzediseri.h"
#include "chart/editors/zuzlisb.h"
#include "chart/engine/seriestypes.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/stdctrls.h"
#include "platform/gui/treeview.h"
#include "platform/win32/registry.h"
#include "tests/chart/editors/editformfixture.h"

#include <memory>

namespace {

class ChartEditFormStoreTest : public EditFormTest {
protected:
    void SetUp() override {
        EditFormTest::SetUp();
        UseTabs();
    }
};

TEST_F(ChartEditFormStoreTest, AStoredValueOfTheWrongTypeOrAMissingTopLeavesTheDefaults) {
    {
        const auto reg = Key();
        reg->WriteString(u"RememberPosition", u"да");
        reg->WriteString(u"SeriesGroups", u"yes");
        reg->WriteInteger(u"Left", 30);
        reg->WriteString(u"Width", u"wide");
        reg->WriteString(u"Height", u"");
    }
    TChartEditForm* e = nullptr;
    ASSERT_NO_THROW(e = Editor());
    EXPECT_TRUE(e->RememberPosition);
    EXPECT_FALSE(e->EditorOptions.Contains(ceGroups));
    EXPECT_EQ(e->GetLeft(), 30);
    EXPECT_GE(e->GetTop(), 0);
    EXPECT_EQ(e->GetWidth(), StrToInt(VavIve_DefaultEditorSize));
    EXPECT_EQ(e->GetPosition(), poDesigned);
    // Closing writes sound values over the damaged ones.
    e->SetWidth(480);
    editor.reset();
    EXPECT_EQ(ZuzReadIntegerOption(u"Width", 0), 480);
    EXPECT_FALSE(ZuzReadBoolOption(u"SeriesGroups", true));
}

TEST_F(ChartEditFormStoreTest, ASizePutBackToTheDefaultForgetsTheStoredOne) {
    {
        const auto reg = Key();
        reg->WriteInteger(u"Width", 600);
        reg->WriteInteger(u"Height", 450);
    }
    TChartEditForm* e = Editor();
    ASSERT_EQ(e->GetWidth(), 600);
    e->SetWidth(StrToInt(VavIve_DefaultEditorSize));
    editor.reset();
    EXPECT_FALSE(Key()->ValueExists(u"Width"));
    EXPECT_EQ(ZuzReadIntegerOption(u"Height", 0), 450); // the size kept stays
    EXPECT_EQ(Editor()->GetWidth(), StrToInt(VavIve_DefaultEditorSize));
}

// The system's help folder key names other programs' files as well; this editor's help shows
// only when its own file is named there with a folder.
TEST_F(ChartEditFormStoreTest, HelpStaysHiddenWhileTheHelpKeyNamesNoFolderForTheEditorsFile) {
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(reg.OpenKey(u"SOFTWARE\\Microsoft\\Windows\\Help", true));
        reg.WriteString(u"other.hlp", u"C:\\Help");
        reg.WriteString(u"VedIrure8.hlp", u"");
        reg.WriteInteger(u"ZuzUser8.hlp", 7);
    }
    EXPECT_EQ(GetVedIrureHelpFile(), u"");
    TChartEditForm* e = Editor();
    ASSERT_NO_THROW(e->CheckHelpFile());
    EXPECT_EQ(e->GetHelpFile(), u"");
    EXPECT_FALSE(e->ButtonHelp->GetVisible());
    EXPECT_FALSE(e->GetBorderIcons().Contains(biHelp));
}

// A start page whose tab the launcher hid (or that has no tool types to show) is not opened:
// the editor opens on its chart pages as without a start page.
TEST_F(ChartEditFormStoreTest, AHiddenStartPageIsNotOpened) {
    for (const auto start : {cetSeriesData, cetExport, cetTools, cetPrintPreview}) {
        TChartEditForm* e = Editor();
        e->StartPage = start;
        e->HiddenTabs = {start};
        e->Show();
        EXPECT_EQ(e->MainPage->GetActivePage(), e->TabChart) << int(start);
        EXPECT_TRUE(e->TabSeriesList->GetShowing()) << int(start);
        EXPECT_EQ(e->LBSeries->GetItemIndex(), 0) << int(start);
        EXPECT_EQ(e->GetExportForm(), nullptr);
        EXPECT_EQ(e->PreviewForm, nullptr);
    }
}

// In tree mode the series nodes are rebuilt only when their number changed: a refresh of the
// series buttons (every click in the list) keeps the series node the user chose, and its page.
TEST_F(ChartEditFormStoreTest, ARefreshOfTheSeriesButtonsKeepsTheChosenSeriesNode) {
    ZuzSaveBoolOption(u"TreeMode", true);
    TChartEditForm* e = Editor();
    e->Show();
    ASSERT_TRUE(e->TreeMode());
    TTreeNode* second = e->SeriesNode->GetFirstChild()->GetNextSibling();
    ASSERT_EQ(second->GetData(), chart->GetSeries(1));
    e->Tree->SetSelected(second);
    ASSERT_NE(e->SeriesForm, nullptr);
    int changes = 0;
    e->Tree->OnChange = TTVChangedEvent([&](TObject*, TTreeNode*) { ++changes; });
    e->LBSeriesRefreshButtons(e->LBSeries);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(e->Tree->GetSelected(), second);
    EXPECT_EQ(e->SeriesForm->TheSeries, chart->GetSeries(1));
    // A series more does rebuild them.
    auto* added = Create<TLineSeries>(form.get());
    added->SetParentChart(chart);
    e->LBSeries->UpdateSeries();
    e->LBSeriesRefreshButtons(e->LBSeries);
    EXPECT_EQ(e->SeriesNode->GetCount(), 3);
}

} // namespace
