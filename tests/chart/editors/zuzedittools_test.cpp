// The tools page and the tools gallery on a chart with tools of three kinds: enabling with no
// tools, which line a delete selects and that the tool's editor form goes before the tool,
// reordering the list, the tools and the stored order together, editors embedded per line and
// one refusing to close, cloning, adding through the gallery with unique names, and the
// gallery's tabs, its empty registry and its Cancel.
#include "chart/editors/zuzedittools.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuztoolsgallery.h"
#include "chart/engine/seriestypes.h"
#include "chart/engine/zuzfunction.h"
#include "dialogfixture.h"
#include "editorpicture.h"
#include "modaldriver.h"
#include "platform/gui/buttons.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "tests/chart/series/keeptypes.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> freed; // what went, in order

template <class Base>
class TTestTool : public Base {
public:
    using Base::Base;
    ~TTestTool() override { freed.push_back("tool " + UTF8Encode(this->GetName())); }
};

class TSpotTool : public TTestTool<TZuzCustomToolSeries> {
public:
    static const ClassInfo& StaticClass() {
        static const ClassInfo ci =
            MakeClassInfo<TSpotTool>("TSpotTool", &TZuzCustomToolSeries::StaticClass());
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TTestTool::TTestTool;
    String Description() const override { return u"Точка"; }
    String LongDescription() const override { return u"Отмечает точку ряда."; }
    String GetEditorClass() const override { return u"TSpotToolEditor"; }
};

class TRulerTool : public TTestTool<TZuzCustomToolAxis> {
public:
    static const ClassInfo& StaticClass() {
        static const ClassInfo ci =
            MakeClassInfo<TRulerTool>("TRulerTool", &TZuzCustomToolAxis::StaticClass());
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TTestTool::TTestTool;
    String Description() const override { return u"Линейка"; }
    String GetEditorClass() const override { return u"TNoSuchEditor"; }
};

class TNoteTool : public TTestTool<TZuzCustomTool> {
public:
    static const ClassInfo& StaticClass() {
        static const ClassInfo ci = MakeClassInfo<TNoteTool>("TNoteTool", &TZuzCustomTool::StaticClass());
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TTestTool::TTestTool;
    String Description() const override { return u"Заметка"; }
};

// The spot tool's editor: a form built in code that may refuse to close.
class TSpotToolEditor : public TForm {
public:
    static const ClassInfo& StaticClass() {
        static const ClassInfo ci = MakeClassInfo<TSpotToolEditor>("TSpotToolEditor", &TForm::StaticClass());
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TSpotToolEditor(TComponent* AOwner) : TForm(AOwner, NewTag{}) {
        SetBounds(0, 0, 200, 120);
        auto* label = Create<TLabel>(this);
        label->SetParent(this);
        label->SetBounds(8, 8, 180, 16);
        label->SetCaption(u"Свойства точки");
    }
    ~TSpotToolEditor() override { freed.push_back("editor"); }
    bool CloseQuery() override { return !refuse; }
    static inline bool refuse = false;
};

class ToolsPage : public DialogTest {
protected:
    static void SetUpTestSuite() {
        DialogTest::SetUpTestSuite();
        RegisterClass(TSpotToolEditor::StaticClass());
    }
    void SetUp() override {
        DialogTest::SetUp();
        freed.clear();
        TSpotToolEditor::refuse = false;
        ZuzToolTypes().Clear();
        RegisterZuzTools({&TSpotTool::StaticClass(), &TRulerTool::StaticClass(), &TNoteTool::StaticClass()});
        page = Create<TFormZuzTools>(form.get());
    }
    template <class T>
    T* AddTool(const char16_t* Name) {
        auto* tool = Create<T>(form.get());
        tool->SetName(Name);
        tool->SetParentChart(chart);
        return tool;
    }
    void ThreeTools() {
        tools[0] = AddTool<TSpotTool>(u"Spot");
        tools[1] = AddTool<TRulerTool>(u"Ruler");
        tools[2] = AddTool<TNoteTool>(u"Note");
    }
    // Embedded as the chart editor does, the chart in its Tag.
    void ShowPage() {
        form->Show();
        AddFormTo(page, form.get(), chart);
        probe::ProcessEvents();
    }
    String Lines() const { return page->LBTools->GetItems()->GetCommaText(); }
    void Select(int Line) {
        page->LBTools->SetItemIndex(Line);
        page->LBToolsClick(page->LBTools);
    }

    const KeepTypes keep;
    TFormZuzTools* page = nullptr;
    TZuzCustomTool* tools[3] = {};
};

TEST_F(ToolsPage, ShownInsideAnotherControlItsComingAndGoingBringsThatControlUpToDate) {
    auto* place = Create<TCountingPanel>(form.get());
    place->SetParent(form.get());
    place->SetAlign(alClient);
    form->Show();
    AddFormTo(page, place, chart);
    probe::ProcessEvents();
    ASSERT_TRUE(page->GetShowing());
    for (const bool shown : {false, true}) {
        place->laidOut = 0;
        form->SetVisible(shown);
        probe::ProcessEvents();
        EXPECT_GT(place->laidOut, 0) << shown;
    }
}

TEST_F(ToolsPage, AnEmptyListDisablesActiveDeleteAndCloneAndEmbedsNoEditor) {
    ShowPage();
    EXPECT_EQ(page->Tools, chart->GetTools());
    EXPECT_FALSE(page->CBActive->GetEnabled());
    EXPECT_FALSE(page->BDelete->GetEnabled());
    EXPECT_FALSE(page->BClone->GetEnabled());
    EXPECT_FALSE(page->BMoveUp->GetEnabled());
    EXPECT_FALSE(page->BMoveDown->GetEnabled());
    EXPECT_EQ(page->PanelToolEditor->GetControlCount(), 0);
    EXPECT_FALSE(page->CBShowInEditor->GetVisible());
    EXPECT_FALSE(page->PBottom->GetVisible());
}

TEST_F(ToolsPage, TheFirstLineShowsItsEditorAndAnEditorThatWillNotCloseKeepsItsLine) {
    ThreeTools();
    tools[1]->SetShowInEditor(false);
    ShowPage();
    EXPECT_EQ(Lines(), u"Точка,Заметка");
    EXPECT_EQ(page->LBTools->GetItemIndex(), 0);
    ASSERT_NE(page->ToolEditor(), nullptr);
    EXPECT_EQ(page->ToolEditor()->GetParent(), page->PanelToolEditor);
    EXPECT_EQ(ZuzTagObject(page->ToolEditor()), tools[0]);
    EXPECT_TRUE(probe::Shown(*page->ToolEditor()));
    EXPECT_TRUE(page->CBActive->GetChecked());

    TSpotToolEditor::refuse = true;
    Select(1);
    EXPECT_EQ(page->LBTools->GetItemIndex(), 0);
    EXPECT_NE(page->ToolEditor(), nullptr);

    TSpotToolEditor::refuse = false;
    tools[2]->SetActive(false);
    Select(1);
    EXPECT_EQ(page->ToolEditor(), nullptr) << "no editor class registered for the note";
    EXPECT_FALSE(page->CBActive->GetChecked());
    probe::Click(*page->CBActive);
    EXPECT_TRUE(tools[2]->GetActive());
}

TEST_F(ToolsPage, DeletingSelectsTheLineBeforeFromLineTwoElseTheLastAndFreesTheEditorFirst) {
    ThreeTools();
    std::vector<TZuzCustomTool*> told;
    page->OnDeletedTool.Bind([&](TZuzCustomTool* t) { told.push_back(t); });
    ShowPage();
    {
        ModalDriver driver;
        driver.Dialog(TDialogKind::MessageDlg, Answered(mrNo));
        probe::Click(*page->BDelete);
    }
    EXPECT_EQ(chart->GetTools()->Count(), 3);
    EXPECT_TRUE(freed.empty());
    {
        ModalDriver driver;
        driver.Dialog(TDialogKind::MessageDlg, Answered(mrYes),
                      [](const TDialogRequest& r) { EXPECT_NE(r.Text.find(u"Точка"), String::npos); });
        probe::Click(*page->BDelete); // line 0, the spot with its editor shown
    }
    EXPECT_EQ(freed, (std::vector<std::string>{"editor", "tool Spot"}));
    EXPECT_EQ(told, (std::vector<TZuzCustomTool*>{tools[0]}));
    EXPECT_EQ(Lines(), u"Линейка,Заметка");
    EXPECT_EQ(page->LBTools->GetItemIndex(), 1) << "the last line";

    AddTool<TNoteTool>(u"Note2");
    page->Reload();
    EXPECT_EQ(Lines(), u"Линейка,Заметка,Заметка");
    Select(2);
    {
        ModalDriver driver;
        driver.Dialog(TDialogKind::MessageDlg, Answered(mrYes));
        probe::Click(*page->BDelete);
    }
    EXPECT_EQ(page->LBTools->GetItemIndex(), 1) << "the line before";
    EXPECT_TRUE(page->BDelete->GetEnabled());
    EXPECT_EQ(chart->GetTools()->Count(), 2);
}

TEST_F(ToolsPage, ReloadForgetsAToolFreedElsewhereAndItsEditorEvenWhenTheCountStays) {
    ThreeTools();
    ShowPage();
    ASSERT_EQ(ZuzTagObject(page->ToolEditor()), tools[0]);
    AddTool<TNoteTool>(u"Note2");
    tools[0]->Free(); // the spot goes while its editor is shown, and the count is three again
    page->Reload();
    EXPECT_EQ(Lines(), u"Линейка,Заметка,Заметка");
    EXPECT_EQ(page->ToolEditor(), nullptr);
    EXPECT_EQ(page->PanelToolEditor->GetControlCount(), 0);
}

TEST_F(ToolsPage, MovingTheFirstToolDownChangesTheListTheToolsAndTheStoredOrder) {
    ThreeTools();
    ShowPage();
    EXPECT_FALSE(page->BMoveUp->GetEnabled());
    EXPECT_TRUE(page->BMoveDown->GetEnabled());
    const int spotAt = tools[0]->GetComponentIndex(), rulerAt = tools[1]->GetComponentIndex();
    probe::Click(*page->BMoveDown);
    EXPECT_EQ(Lines(), u"Линейка,Точка,Заметка");
    EXPECT_EQ(page->LBTools->GetItemIndex(), 1);
    EXPECT_EQ(chart->GetTools()->Get(0), tools[1]);
    EXPECT_EQ(chart->GetTools()->Get(1), tools[0]);
    EXPECT_EQ(tools[0]->GetComponentIndex(), rulerAt);
    EXPECT_EQ(tools[1]->GetComponentIndex(), spotAt);
    EXPECT_TRUE(page->BMoveUp->GetEnabled());
    probe::Click(*page->BMoveUp);
    EXPECT_EQ(chart->GetTools()->Get(0), tools[0]);
    EXPECT_EQ(tools[0]->GetComponentIndex(), spotAt);
}

TEST_F(ToolsPage, ACloneJoinsTheChartAsANewSelectedLine) {
    ThreeTools();
    ShowPage();
    probe::Click(*page->BClone);
    ASSERT_EQ(chart->GetTools()->Count(), 4);
    TZuzCustomTool* clone = chart->GetTools()->Get(3);
    EXPECT_EQ(&clone->ClassType(), &TSpotTool::StaticClass());
    EXPECT_EQ(clone->GetOwner(), form.get());
    EXPECT_EQ(Lines(), u"Точка,Линейка,Заметка,Точка");
    EXPECT_EQ(page->LBTools->GetItemIndex(), 3);
    EXPECT_EQ(ZuzTagObject(page->ToolEditor()), clone);
}

TEST_F(ToolsPage, ToolsAddedThroughTheGalleryGetUniqueNamesAndCancelAddsNone) {
    ShowPage();
    std::vector<TZuzCustomTool*> told;
    page->OnAddedTool.Bind([&](TZuzCustomTool* t) { told.push_back(t); });
    const auto pickSpot = [](TZuzToolsGallery& g) {
        EXPECT_EQ(g.TabControl1->GetTabs()->GetCommaText(), u"Series,Axis,Other");
        EXPECT_EQ(g.LBTool->GetItems()->GetCommaText(), u"Точка");
        EXPECT_FALSE(g.BOk->GetEnabled());
        probe::ClickItem(*g.LBTool, 0);
        EXPECT_TRUE(g.BOk->GetEnabled());
        EXPECT_EQ(g.MemoDesc->GetText(), u"Отмечает точку ряда.");
        EXPECT_EQ(g.SelectedTool(), &TSpotTool::StaticClass());
    };
    ModalDriver driver;
    driver.Form<TZuzToolsGallery>(pickSpot, mrOk)
        .Form<TZuzToolsGallery>(pickSpot, mrOk)
        .Form<TZuzToolsGallery>(pickSpot, mrCancel);
    probe::Click(*page->BAdd);
    probe::Click(*page->BAdd);
    probe::Click(*page->BAdd);
    ASSERT_EQ(chart->GetTools()->Count(), 2);
    TZuzCustomTool* first = chart->GetTools()->Get(0);
    TZuzCustomTool* second = chart->GetTools()->Get(1);
    EXPECT_EQ(first->GetName(), u"ChartTool1");
    EXPECT_EQ(second->GetName(), u"ChartTool2");
    EXPECT_EQ(first->GetOwner(), form.get()) << "the chart's owner";
    EXPECT_EQ(told, (std::vector<TZuzCustomTool*>{first, second}));
    EXPECT_EQ(page->LBTools->GetItemIndex(), 1);
    EXPECT_EQ(ZuzTagObject(page->ToolEditor()), second);
}

TEST_F(ToolsPage, EachGalleryTabListsItsKindAndWithoutTypesEveryTabIsEmpty) {
    Owned<TZuzToolsGallery> gallery(Create<TZuzToolsGallery>(form.get()));
    gallery->Show();
    EXPECT_EQ(gallery->GetWidth(), 300) << "no demonstration panel without the hook";
    EXPECT_FALSE(gallery->PanelDemos->GetVisible());
    const char16_t* expected[] = {u"Точка", u"Линейка", u"Заметка"};
    for (int tab = 0; tab < 3; ++tab) {
        gallery->TabControl1->SetTabIndex(tab);
        gallery->TabControl1Change(gallery->TabControl1);
        EXPECT_EQ(gallery->LBTool->GetItems()->GetCommaText(), expected[tab]) << tab;
    }
    ZuzToolTypes().Clear();
    for (int tab = 0; tab < 3; ++tab) {
        gallery->TabControl1->SetTabIndex(tab);
        gallery->TabControl1Change(gallery->TabControl1);
        EXPECT_EQ(gallery->LBTool->GetItems()->GetCount(), 0);
    }
    EXPECT_FALSE(gallery->BOk->GetEnabled());
    gallery.reset();
    ModalDriver driver;
    driver.Form<TZuzToolsGallery>({}, mrCancel);
    EXPECT_EQ(page->GetNewTool(), nullptr);
}

TEST_F(ToolsPage, PicturesOverTheChart) {
    ChartBehind behind;
    Owned<TForm> host(Create<TForm>(nullptr, TCustomForm::NewTag{}));
    host->SetCaption(u"Редактор диаграммы — Инструменты");
    host->SetBounds(150, 100, 470, 330);
    auto* tools = Create<TFormZuzTools>(host.get());
    for (const char16_t* name : {u"Spot", u"Spot2"}) {
        auto* tool = Create<TSpotTool>(behind.chart);
        tool->SetName(name);
        tool->SetParentChart(behind.chart);
    }
    tools->Tools = behind.chart->GetTools();
    host->Show();
    AddFormTo(tools, host.get());
    behind.Snapshot(*host, "toolspage.png");
    ModalDriver driver;
    driver.Form<TZuzToolsGallery>(
        [&](TZuzToolsGallery& g) {
            probe::ClickItem(*g.LBTool, 0);
            behind.Snapshot(g, "toolsgallery.png");
        },
        mrCancel);
    probe::Click(*tools->BAdd);
}

} // namespace
