// The chart editor at its default size as the X server shows it, with tabs and with the tree,
// and the export dialog and the format editors on their own: on every page and every tab of a
// page, no control reaches past the area that shows it or cuts off its caption and no two controls
// lie on each other. Each state is kept as a picture to look at.
#include "chart/editors/zuzeditcha.h"

#include "chart/editors/zuzbackimage.h"
#include "chart/editors/zuzedifont.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzediseri.h"
#include "chart/editors/zuzedit.h"
#include "chart/editors/zuzexport.h"
#include "chart/editors/zuzshadoweditor.h"
#include "chart/engine/seriestypes.h"
#include "chart/engine/zuzfunction.h"
#include "chart/series/arrowcha.h"
#include "chart/series/bubblech.h"
#include "chart/series/ganttch.h"
#include "chart/series/series.h"
#include "chart/series/series_area.h"
#include "chart/series/series_bar.h"
#include "chart/series/series_pie.h"
#include "chart/series/zuzshape.h"
#include "platform/gui/buttons.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"
#include "platform/gui/treeview.h"
#include "tests/chart/editors/editformfixture.h"
#include "tests/chart/editors/modaldriver.h"
#include "tests/support/xserver.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <string>
#include <vector>

namespace {

std::string NameOf(const TControl* c) {
    const std::string name = UTF8Encode(c->GetName());
    return name.empty() ? std::string(c->ClassType().name) : name;
}

std::string Text(const TRect& r) {
    return "(" + std::to_string(r.Left) + "," + std::to_string(r.Top) + ")-(" + std::to_string(r.Right) +
           "," + std::to_string(r.Bottom) + ")";
}

// A node's text as a file name's part.
std::string Slug(const String& Text) {
    std::string s = UTF8Encode(Text);
    for (char& ch : s)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return s;
}

// The captions a control cuts off: a check box's or a button's own, or a radio group's items
// in their columns; the "&" marks take no room, the check marks the room the style gives them.
void CutCaptions(const TControl* c, std::vector<std::string>& Faults) {
    const auto measure = MakeOwned<TBitmap>();
    measure->GetCanvas()->GetFont()->Assign(c->GetFont());
    const auto cut = [&](const String& Caption, int Room) {
        String text;
        for (char16_t ch : Caption)
            if (ch != u'&') text += ch;
        if (measure->GetCanvas()->TextWidth(text) > Room)
            Faults.push_back(NameOf(c) + " cuts its caption \"" + UTF8Encode(text) + "\"");
    };
    const int width = c->GetWidth();
    if (const auto* box = dynamic_cast<const TCustomCheckBox*>(c)) {
        cut(box->GetCaption(), width - probe::MarkRoom(*c) - 1);
    } else if (const auto* button = dynamic_cast<const TButtonControl*>(c)) {
        cut(button->GetCaption(), width - 8);
    } else if (const auto* group = dynamic_cast<const TCustomRadioGroup*>(c)) {
        const int columns = std::max(1, group->GetColumns());
        for (int i = 0; i < group->GetItems()->GetCount(); ++i)
            cut(group->GetItems()->GetStrings(i), (width - 8) / columns - probe::MarkRoom(*c) - 1);
    }
}

bool Shows(const TControl* c) {
    if (const auto* w = dynamic_cast<const TWinControl*>(c)) return w->GetShowing();
    return c->GetVisible();
}

// Any control but a bevel, which only frames others, is one that no neighbour may cover.
bool Covers(const TControl* c) {
    return !dynamic_cast<const TBevel*>(c);
}

// Every shown control under Parent that reaches past its parent's client area or cuts off its
// caption, and every two shown siblings that overlap.
void Misplaced(const TWinControl* Parent, std::vector<std::string>& Faults, bool CaptionsOnly = false) {
    const TRect area = Parent->GetClientRect();
    std::vector<const TControl*> placed;
    for (int i = 0; i < Parent->GetControlCount(); ++i) {
        const TControl* c = Parent->GetControl(i);
        if (!Shows(c)) continue;
        const auto* w = dynamic_cast<const TWinControl*>(c);
        if (CaptionsOnly) {
            CutCaptions(c, Faults);
            if (w) Misplaced(w, Faults, true);
            continue;
        }
        const TRect r = c->GetBoundsRect();
        if (r.Left < area.Left || r.Right > area.Right || r.Top < area.Top || r.Bottom > area.Bottom)
            Faults.push_back(NameOf(c) + " " + Text(r) + " reaches past " + NameOf(Parent) + " " +
                             Text(area));
        CutCaptions(c, Faults);
        if (Covers(c)) {
            for (const TControl* o : placed) {
                const TRect q = o->GetBoundsRect();
                if (r.Left < q.Right && q.Left < r.Right && r.Top < q.Bottom && q.Top < r.Bottom)
                    Faults.push_back(NameOf(c) + " " + Text(r) + " lies on " + NameOf(o) + " " + Text(q));
            }
            placed.push_back(c);
        }
        if (w) Misplaced(w, Faults);
    }
}

// The page controls shown under Root, not counting those inside them.
void PageControls(const TWinControl* Root, std::vector<TPageControl*>& Found) {
    for (int i = 0; i < Root->GetControlCount(); ++i) {
        auto* w = dynamic_cast<TWinControl*>(Root->GetControl(i));
        if (!w || !w->GetShowing()) continue;
        if (auto* pages = dynamic_cast<TPageControl*>(w))
            Found.push_back(pages);
        else
            PageControls(w, Found);
    }
}

class XEditorLayout : public EditFormTest {
public:
    // A tool type is known and the chart has a tool, so the tools page shows with a line.
    void SetUp() override {
        EditFormTest::SetUp();
        RegisterZuzTools({&TZuzCustomTool::StaticClass()});
        auto* tool = Create<TZuzCustomTool>(form.get());
        tool->SetName(u"Marker");
        tool->SetParentChart(chart);
    }
    void TearDown() override {
        EditFormTest::TearDown();
        UnRegisterZuzTools({&TZuzCustomTool::StaticClass()});
    }

    // Checks the window as it shows now and keeps its picture.
    void Look(TCustomForm& Window, const std::string& Name) {
        probe::ProcessEvents();
        std::vector<std::string> faults;
        Misplaced(&Window, faults, captionsOnly);
        for (const std::string& f : faults) ADD_FAILURE() << Name << ": " << f;
        xserver::Keep(xserver::Picture(Window), Name);
    }

    // Shows every tab under Root in turn, down to the innermost; each state is checked over
    // the whole window and kept as a picture named after the way to it.
    void Explore(TCustomForm& Window, TWinControl* Root, const std::string& Name) {
        std::vector<TPageControl*> pages;
        PageControls(Root, pages);
        if (pages.empty()) return Look(Window, Name);
        for (TPageControl* p : pages)
            for (int i = 0; i < p->GetPageCount(); ++i) {
                TTabSheet* tab = p->GetPage(i);
                if (!tab->GetTabVisible()) continue;
                probe::ChooseTab(*tab);
                probe::ProcessEvents();
                // A tab that will not show would leave its page unchecked.
                EXPECT_EQ(p->GetActivePage(), tab) << Name << ": " << NameOf(tab) << " does not show";
                if (p->GetActivePage() == tab) Explore(Window, tab, Name + "-" + NameOf(tab));
            }
    }

    bool captionsOnly = false;

    TChartEditForm* Editor(bool Tree) {
        ZuzSaveBoolOption(u"TreeMode", Tree);
        TChartEditForm* e = EditFormTest::Editor();
        e->Show();
        EXPECT_TRUE(xserver::Activate(*e));
        probe::ProcessEvents();
        EXPECT_EQ(e->TreeMode(), Tree);
        return e;
    }
    void Tabs(const std::string& Name) {
        TChartEditForm* e = Editor(false);
        Explore(*e, e, Name);
    }
    // The series page of every kind of series: the pages of its own kind.
    void SeriesKinds(const std::string& Name) {
        TChartSeries* kinds[] = {
            New<TBarSeries>(),      New<THorizBarSeries>(), New<TAreaSeries>(),      New<TPointSeries>(),
            New<TFastLineSeries>(), New<TPieSeries>(),      New<TArrowSeries>(),     New<TBubbleSeries>(),
            New<TGanttSeries>(),    New<TChartShape>(),     New<THorizLineSeries>(),
        };
        TChartEditForm* e = Editor(false);
        for (TChartSeries* s : kinds) {
            probe::ChooseTab(*e->TabChart);
            e->LBSeries->SetSelectedSeries(s);
            probe::ChooseTab(*e->TabSeries);
            probe::ProcessEvents();
            TFormZuzSeries* page = e->SeriesForm;
            ASSERT_NE(page, nullptr);
            ASSERT_EQ(page->TheSeries, s);
            for (int i = 0; i < page->PageSeries->GetPageCount(); ++i) {
                TTabSheet* tab = page->PageSeries->GetPage(i);
                if (!tab->GetTabVisible() || tab == page->TabGeneral || tab == page->TabMarks ||
                    tab == page->TabDataSource)
                    continue;
                probe::ChooseTab(*tab);
                probe::ProcessEvents();
                Explore(*e, tab, Name + "-" + std::string(s->ClassType().name) + "-" + NameOf(tab));
            }
        }
    }
    template <class S>
    TChartSeries* New() {
        auto* s = Create<S>(form.get());
        s->SetParentChart(chart);
        for (int i = 0; i < 5; ++i) s->Add(10 + i);
        return s;
    }
    void Tree(const std::string& Name) {
        TChartEditForm* e = Editor(true);
        for (TTreeNode* n = e->Tree->GetItems()->GetFirstNode(); n; n = n->GetNext()) {
            // One of each kind of node below a page: the first axis, title, wall and series.
            if (n->GetIndex() > 0 && (n->GetLevel() == 2 || n->GetParent() == e->SeriesNode)) continue;
            e->Tree->SetSelected(n);
            probe::ProcessEvents();
            std::string path = Name;
            for (TTreeNode* p = n; p; p = p->GetParent()) path.insert(Name.size(), "-" + Slug(p->GetText()));
            // A tab chosen on the "Chart" node moves to that page's own node.
            if (n->GetData() == e->SubPage)
                Look(*e, path);
            else
                Explore(*e, e->PagePanel, path);
        }
    }
    // The export dialog on its own, its file sizes asked for, so sizes in bytes show.
    void Exporter(const std::string& Name) {
        const Owned<TZuzExportForm> exporter(Create<TZuzExportForm>(nullptr));
        exporter->SetPanel(chart);
        exporter->Show();
        ASSERT_TRUE(xserver::Activate(*exporter));
        probe::Click(*exporter->CBFileSize);
        probe::Click(*exporter->CBNativeSize);
        Explore(*exporter, exporter.get(), Name);
    }
    // The format editors that pages embed, opened as dialogs of their own.
    template <class Dialog>
    void Modal(const std::string& Name, const std::function<void()>& Open) {
        ModalDriver driver;
        driver.Form<Dialog>(
            [&](Dialog& d) {
                ASSERT_TRUE(xserver::Activate(d));
                Explore(d, &d, Name);
            },
            mrCancel);
        Open();
    }
    void Shadow(const std::string& Name) {
        Modal<TZuzShadowEditor>(Name, [&] { EditZuzShadow(form.get(), chart->GetLegend()->GetShadow()); });
    }
    void Picture(const std::string& Name) {
        Modal<TBackImageEditor>(Name, [&] { EditZuzPicture(form.get(), chart->GetBackImage()); });
    }
    void Font(const std::string& Name) {
        Modal<TZuzFontEditor>(Name, [&] { EditZuzFontEx(form.get(), chart->GetTitle()->GetFont()); });
    }
    // The editor a chart editor component opens at another resolution, from its default size: no
    // caption is cut, its text and its check marks scaled with the boxes that hold them. (A control
    // may lie a pixel on its neighbour there: the scaled bounds are rounded one by one.)
    void Scaled(const std::string& Name, int PixelsPerInch) {
        UseTabs();
        for (const char16_t* stored : {u"Width", u"Height"}) Key()->DeleteValue(stored);
        const Owned<TChartEditor> launcher(Create<TChartEditor>(nullptr));
        launcher->SetChart(chart);
        launcher->SetPixelsPerInch(PixelsPerInch);
        captionsOnly = true;
        Modal<TChartEditForm>(Name, [&] { launcher->Execute(); });
        captionsOnly = false;
    }
    void At144(const std::string& Name) { Scaled(Name, 144); }
    void At64(const std::string& Name) { Scaled(Name, 64); }
    void Gradient(const std::string& Name) {
        Modal<TZuzGradientEditor>(Name, [&] { EditZuzGradient(form.get(), chart->GetGradient()); });
    }
};

} // namespace

TEST_F(XEditorLayout, EveryPageAndTabFitsTheWindowAtItsDefaultSize) {
    const struct Row {
        const char* name;
        void (XEditorLayout::*check)(const std::string&);
    } rows[] = {
        {"editor-tabs", &XEditorLayout::Tabs},          {"editor-tree", &XEditorLayout::Tree},
        {"editor-series", &XEditorLayout::SeriesKinds}, {"export-dialog", &XEditorLayout::Exporter},
        {"shadow-dialog", &XEditorLayout::Shadow},      {"picture-dialog", &XEditorLayout::Picture},
        {"gradient-dialog", &XEditorLayout::Gradient},  {"font-dialog", &XEditorLayout::Font},
        {"editor-at-144", &XEditorLayout::At144},       {"editor-at-64", &XEditorLayout::At64},
    };
    for (const Row& row : rows) (this->*row.check)(row.name);
}
