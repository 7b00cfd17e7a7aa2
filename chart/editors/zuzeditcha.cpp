#include "chart/editors/zuzeditcha.h"
#include "chart/canvas/hourglass.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/canvas/zuzprocs.h"
#include "chart/editors/vediruregrid.h"
#include "chart/editors/zuzbrushdlg.h"
#include "chart/editors/zuzedi3d.h"
#include "chart/editors/zuzediaxis.h"
#include "chart/editors/zuzedigene.h"
#include "chart/editors/zuzedilege.h"
#include "chart/editors/zuzedipage.h"
#include "chart/editors/zuzedipane.h"
#include "chart/editors/zuzediseri.h"
#include "chart/editors/zuzedititl.h"
#include "chart/editors/zuzedittools.h"
#include "chart/editors/zuzediwall.h"
#include "chart/editors/zuzexport.h"
#include "chart/editors/zuzlisb.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartwalls.h"
#include "chart/engine/seriestypes.h"
#include "chart/series/zuzexportformat.h"
#include "chart/series/zuzprevi.h"
#include "chart/series/zuzstore.h"
#include "platform/gui/buttons.h"
#include "platform/gui/checklst.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/menus.h"
#include "platform/gui/splitter.h"
#include "platform/gui/treeview.h"
#include "platform/gui/winuser.h"
#include "platform/win32/registry.h"

#include <algorithm>
#include <array>
#include <memory>
#include <utility>

namespace {

const String kEditorKey = u"SOFTWARE\\Dedara Software\\ZarEzodo Vez\\Editor";

bool Designing(const TComponent* Component) {
    return Component && Component->GetComponentState().Contains(csDesigning);
}

} // namespace

bool ZuzSeriesNamesRuntime = false;

std::vector<TOnShowEditor>& ZuzOnShowEditor() {
    static std::vector<TOnShowEditor> procedures;
    return procedures;
}

String GetVedIrureHelpFile() {
    return GetRegistryHelpPath(u"VedIrure8.hlp");
}

String GetVedIrureUserHelpFile() {
    return GetRegistryHelpPath(u"ZuzUser8.hlp");
}

const ClassInfo& TChartEditForm::StaticClass() {
    using F = TChartEditForm;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormCreate>("FormCreate"),
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::FormDestroy>("FormDestroy"),
        MakeMethod<&F::FormCloseQuery>("FormCloseQuery"),
        MakeMethod<&F::FormResize>("FormResize"),
        MakeMethod<&F::MainPageChange>("MainPageChange"),
        MakeMethod<&F::MainPageChanging>("MainPageChanging"),
        MakeMethod<&F::SubPageChange>("SubPageChange"),
        MakeMethod<&F::SubPageChanging>("SubPageChanging"),
        MakeMethod<&F::LBSeriesEditSeries>("LBSeriesEditSeries"),
        MakeMethod<&F::LBSeriesRefreshButtons>("LBSeriesRefreshButtons"),
        MakeMethod<&F::LBSeriesOtherItemsChange>("LBSeriesOtherItemsChange"),
        MakeMethod<&F::LBSeriesRemovedSeries>("LBSeriesRemovedSeries"),
        MakeMethod<&F::BAddSeriesClick>("BAddSeriesClick"),
        MakeMethod<&F::BDeleteSeriesClick>("BDeleteSeriesClick"),
        MakeMethod<&F::BRenameSeriesClick>("BRenameSeriesClick"),
        MakeMethod<&F::BCloneSeriesClick>("BCloneSeriesClick"),
        MakeMethod<&F::BChangeTypeSeriesClick>("BChangeTypeSeriesClick"),
        MakeMethod<&F::BMoveUPClick>("BMoveUPClick"),
        MakeMethod<&F::BMoveDownClick>("BMoveDownClick"),
        MakeMethod<&F::SBGridTextClick>("SBGridTextClick"),
        MakeMethod<&F::SBGridColClick>("SBGridColClick"),
        MakeMethod<&F::SBGrid3DClick>("SBGrid3DClick"),
        MakeMethod<&F::SBGridXClick>("SBGridXClick"),
        MakeMethod<&F::SBCopyDataClick>("SBCopyDataClick"),
        MakeMethod<&F::PopupDataPopup>("PopupDataPopup"),
        MakeMethod<&F::EditColor1Click>("EditColor1Click"),
        MakeMethod<&F::DefaultColor1Click>("DefaultColor1Click"),
        MakeMethod<&F::Makenullpoint1Click>("Makenullpoint1Click"),
        MakeMethod<&F::Insertrow1Click>("Insertrow1Click"),
        MakeMethod<&F::Deleterow1Click>("Deleterow1Click"),
        MakeMethod<&F::extfont1Click>("extfont1Click"),
        MakeMethod<&F::ButtonHelpClick>("ButtonHelpClick"),
        MakeMethod<&F::BCloseClick>("BCloseClick"),
        MakeMethod<&F::TreeChange>("TreeChange"),
        MakeMethod<&F::TreeEditing>("TreeEditing"),
        MakeMethod<&F::GroupsClick>("GroupsClick"),
        MakeMethod<&F::GroupsClickCheck>("GroupsClickCheck"),
        MakeMethod<&F::BAddGroupClick>("BAddGroupClick"),
        MakeMethod<&F::BRenameGroupClick>("BRenameGroupClick"),
        MakeMethod<&F::BDeleteGroupClick>("BDeleteGroupClick"),
        MakeMethod<&F::GroupsDragOver>("GroupsDragOver"),
        MakeMethod<&F::GroupsDragDrop>("GroupsDragDrop"),
        MakeMethod<&F::ViewSeriesGroups1Click>("ViewSeriesGroups1Click"),
        MakeMethod<&F::ViewSeriesNames1Click>("ViewSeriesNames1Click"),
        MakeMethod<&F::SpeedSeriesMouseDown>("SpeedSeriesMouseDown"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TChartEditForm>("TChartEditForm", &TForm::StaticClass(), methods);
    return ci;
}

void TChartEditForm::BindComponents() {
    Bind(MainPage, u"MainPage");
    Bind(TabChart, u"TabChart");
    Bind(SubPage, u"SubPage");
    Bind(TabSeriesList, u"TabSeriesList");
    Bind(LBSeries, u"LBSeries");
    Bind(PanRight, u"PanRight");
    Bind(BMoveUP, u"BMoveUP");
    Bind(BMoveDown, u"BMoveDown");
    Bind(BAddSeries, u"BAddSeries");
    Bind(BDeleteSeries, u"BDeleteSeries");
    Bind(BRenameSeries, u"BRenameSeries");
    Bind(BCloneSeries, u"BCloneSeries");
    Bind(BChangeTypeSeries, u"BChangeTypeSeries");
    Bind(PanTop, u"PanTop");
    Bind(BAddGroup, u"BAddGroup");
    Bind(BDeleteGroup, u"BDeleteGroup");
    Bind(BRenameGroup, u"BRenameGroup");
    Bind(SpeedSeries, u"SpeedSeries");
    Bind(PanelGroups, u"PanelGroups");
    Bind(Groups, u"Groups");
    Bind(Splitter1, u"Splitter1");
    Bind(TabGeneral, u"TabGeneral");
    Bind(TabAxis, u"TabAxis");
    Bind(TabTitle, u"TabTitle");
    Bind(TabLegend, u"TabLegend");
    Bind(TabPanel, u"TabPanel");
    Bind(TabPaging, u"TabPaging");
    Bind(TabWalls, u"TabWalls");
    Bind(Tab3D, u"Tab3D");
    Bind(TabSeries, u"TabSeries");
    Bind(TabData, u"TabData");
    Bind(ChartGrid1, u"ChartGrid1");
    Bind(Panel1, u"Panel1");
    Bind(ChartGridNavigator1, u"ChartGridNavigator1");
    Bind(Panel2, u"Panel2");
    Bind(SBGridText, u"SBGridText");
    Bind(SBGridCol, u"SBGridCol");
    Bind(SBGrid3D, u"SBGrid3D");
    Bind(SBGridX, u"SBGridX");
    Bind(SBCopyData, u"SBCopyData");
    Bind(TabTools, u"TabTools");
    Bind(TabExport, u"TabExport");
    Bind(TabPrint, u"TabPrint");
    Bind(PanBottom, u"PanBottom");
    Bind(ButtonHelp, u"ButtonHelp");
    Bind(PanClose, u"PanClose");
    Bind(BClose, u"BClose");
    Bind(Tree, u"Tree");
    Bind(TreeSplitter, u"TreeSplitter");
    Bind(PopupData, u"PopupData");
    Bind(EditColor1, u"EditColor1");
    Bind(DefaultColor1, u"DefaultColor1");
    Bind(Makenullpoint1, u"Makenullpoint1");
    Bind(N1, u"N1");
    Bind(Insertrow1, u"Insertrow1");
    Bind(Deleterow1, u"Deleterow1");
    Bind(N2, u"N2");
    Bind(extfont1, u"extfont1");
    Bind(PopupSeries, u"PopupSeries");
    Bind(ViewSeriesNames1, u"ViewSeriesNames1");
    Bind(ViewSeriesGroups1, u"ViewSeriesGroups1");
}

TChartEditForm::~TChartEditForm() {
    if (FChart) FChart->RemoveFreeNotification(this);
}

// ---------------------------------------------------------------------------
// Start-up

void TChartEditForm::FormCreate(TObject*) {
    const int ppi = Screen->GetPixelsPerInch();
    SetWidth(StrToInt(VavIve_DefaultEditorSize) * ppi / 96);
    SetHeight(StrToInt(VavIve_DefaultEditorHeight) * ppi / 96 + GetSystemMetrics(SM_CYSIZE) - 18);
    SetChart(nullptr);
    SetCaption({});
    StartPage = -1;
    EditorOptions = DefaultChartEditorOptions();
    MainPage->SetActivePage(TabChart);
    SubPage->SetActivePage(TabSeriesList);
    HiddenTabs = {};
    RememberPosition = ZuzReadBoolOption(u"RememberPosition", true);
    RememberSize = ZuzReadBoolOption(u"RememberSize", true);
    ReadTreeOptions();
    if (ZuzReadBoolOption(u"SeriesGroups", false)) EditorOptions += ceGroups;
    // No help file is known until one is checked: a help button would do nothing.
    ButtonHelp->SetVisible(false);
    // The data page's buttons show pictures; their hints name them.
    for (auto [button, picture] : {std::pair{SBGridText, u"ZuzGridText"},
                                   std::pair{SBGridCol, u"ZuzGridColors"}, std::pair{SBGrid3D, u"ZuzGrid3D"},
                                   std::pair{SBGridX, u"ZuzGridX"}, std::pair{SBCopyData, u"ZuzGridCopy"}})
        ZuzLoadBitmap(button->GetGlyph(), picture, u"");
    LBSeries->OnChangeActive.Bind(this, &TChartEditForm::LBSeriesChangeActive);
    // The list box publishes no drag events: bound here.
    Groups->OnDragOver.Bind(this, &TChartEditForm::GroupsDragOver);
    Groups->OnDragDrop.Bind(this, &TChartEditForm::GroupsDragDrop);
}

void TChartEditForm::SetChart(TCustomChart* Value) {
    if (FChart != Value) {
        if (FChart) FChart->RemoveFreeNotification(this);
        FChart = Value;
        if (FChart) FChart->FreeNotification(this);
    }
    LBSeries->SetChart(FChart);
    MainPage->SetEnabled(FChart != nullptr);
    SubPage->SetEnabled(FChart != nullptr);
    if (FChart && (RememberPosition || RememberSize)) ReadStoredBounds();
}

// Stored sizes keep their floor of 100 and are also held inside the screen's work area, so a
// size saved on a larger screen still fits; a position beyond the screen is pulled back.
// A value missing or of another type (a hand-edited or damaged key) counts as not stored, so
// the editor still opens.
void TChartEditForm::ReadStoredBounds() {
    TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (!reg.OpenKeyReadOnly(kEditorKey)) return;
    const auto stored = [&reg](const String& Name) {
        return reg.ValueExists(Name) && reg.GetDataType(Name) == rdInteger;
    };
    if (RememberPosition && stored(u"Left")) {
        SetPosition(poDesigned);
        SetLeft(std::max(0, reg.ReadInteger(u"Left")));
        if (stored(u"Top")) SetTop(std::max(0, reg.ReadInteger(u"Top")));
    }
    if (RememberSize) {
        const TRect work = Screen->GetWorkAreaRect();
        const auto fit = [](int Value, int Room) { return Room >= 100 ? std::min(Value, Room) : Value; };
        if (stored(u"Width")) SetWidth(fit(std::max(100, reg.ReadInteger(u"Width")), work.Width()));
        if (stored(u"Height")) SetHeight(fit(std::max(100, reg.ReadInteger(u"Height")), work.Height()));
        if (stored(u"TreeWidth")) SetTreeWidth(std::max(10, reg.ReadInteger(u"TreeWidth")));
    }
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (GetLeft() > screenWidth) SetLeft(screenWidth - GetWidth());
    if (GetTop() > screenHeight) SetTop(screenHeight - GetHeight());
}

void TChartEditForm::CheckHelpFile() {
    if (EditorOptions.Contains(ceHelp)) {
        SetHelpFile(Designing(FChart) ? GetVedIrureHelpFile() : GetVedIrureUserHelpFile());
        TBorderIcons icons = GetBorderIcons();
        if (!GetHelpFile().empty()) icons += biHelp;
        SetBorderIcons(icons);
    } else {
        SetHelpFile({});
    }
    ButtonHelp->SetVisible(EditorOptions.Contains(ceHelp) && !GetHelpFile().empty());
}

void TChartEditForm::FormShow(TObject*) {
    if (!FChart) return;
    SpeedSeries->SetVisible(Designing(FChart) || ZuzSeriesNamesRuntime || EditorOptions.Contains(ceGroups));
    ViewSeriesGroups1->SetChecked(EditorOptions.Contains(ceGroups));
    ZuzLoadArrowBitmaps(BMoveUP->GetGlyph(), BMoveDown->GetGlyph());
    if (ZuzToolTypes().Count() == 0) TabTools->SetTabVisible(false);
    LBSeries->SetChart(FChart);
    if (GetCaption().empty()) SetCaption(Format(VavIve_Editing, {FChart->GetName()}));
    ApplyHiddenTabs();
    BroadCastShowEditor(nullptr);
    if (TreeMode()) PrepareTree();
    ShowHideGroups();
    if (StartPage != -1) ApplyStartPage();
    if (TreeMode() && !TabSeriesList->GetParent()) {
        // Back on the page panel for the series list's sake, behind the start page, not over it.
        TabSeriesList->SetVisible(false);
        TabSeriesList->SetParent(PagePanel);
    }
    if (StartSeries) {
        LBSeries->SetSelectedSeries(StartSeries);
        LBSeriesEditSeries(LBSeries, LBSeries->GetItemIndex());
    } else if (StartTool && TabTools->GetTabVisible()) {
        MainPage->SetActivePage(TabTools);
        MainPageChange(MainPage);
    } else if (StartPage == -1) {
        DefaultSelection();
    }
    if (TabSeriesList->GetShowing() && LBSeries->GetItems()->GetCount() > 0) {
        if (StartPage == cetSeriesGeneral || StartPage == cetSeriesMarks) {
            LBSeriesEditSeries(LBSeries, LBSeries->GetItemIndex());
            if (SeriesForm) {
                bool allow = true;
                SeriesForm->PageSeriesChanging(SeriesForm->PageSeries, allow);
                SeriesForm->PageSeries->SetActivePage(StartPage == cetSeriesGeneral ? SeriesForm->TabGeneral
                                                                                    : SeriesForm->TabMarks);
                SeriesForm->PageSeriesChange(SeriesForm->PageSeries);
            }
        } else {
            DefaultSelection();
        }
    } else {
        LBSeriesRefreshButtons(LBSeries);
    }
    ChartGrid1->SetShowColors(true);
}

std::array<TTabSheet*, 9> TChartEditForm::ChartSubPages() const {
    return {TabSeriesList, TabGeneral, TabAxis, TabTitle, TabLegend, TabPanel, TabPaging, TabWalls, Tab3D};
}

void TChartEditForm::ApplyHiddenTabs() {
    const std::array<TTabSheet*, 9> chartPages = ChartSubPages();
    for (std::size_t i = 0; i < chartPages.size(); ++i)
        if (HiddenTabs.Contains(static_cast<TChartEditorTab>(cetMain + i)))
            chartPages[i]->SetTabVisible(false);
    const std::array<std::pair<TChartEditorTab, TTabSheet*>, 5> map{{
        {cetAllSeries, TabSeries},
        {cetSeriesData, TabData},
        {cetExport, TabExport},
        {cetTools, TabTools},
        {cetPrintPreview, TabPrint},
    }};
    for (const auto& [tab, sheet] : map)
        if (HiddenTabs.Contains(tab)) sheet->SetTabVisible(false);
    bool anyVisible = false;
    for (int i = 0; i < SubPage->GetPageCount(); ++i)
        anyVisible = anyVisible || SubPage->GetPage(i)->GetTabVisible();
    if (!anyVisible) TabChart->SetTabVisible(false);
}

void TChartEditForm::ApplyStartPage() {
    // A page whose tab is hidden is not opened: the user would see a page he was not to see, with
    // no tab of the bar marked.
    const auto openMain = [this](TTabSheet* Tab) {
        if (!Tab->GetTabVisible()) return;
        MainPage->SetActivePage(Tab);
        MainPageChange(MainPage);
    };
    switch (StartPage) {
    case cetSeriesData:
        openMain(TabData);
        return;
    case cetExport:
        openMain(TabExport);
        return;
    case cetTools:
        openMain(TabTools);
        return;
    case cetPrintPreview:
        openMain(TabPrint);
        return;
    default:
        break;
    }
    if (StartPage < cetMain || StartPage > cet3D) return;
    // By the sheets themselves: the tree takes the series list off the sub-pages.
    const std::array<TTabSheet*, 9> pages = ChartSubPages();
    const int count = static_cast<int>(pages.size());
    int found = StartPage;
    if (!pages[found]->GetTabVisible()) {
        int next = found + 1;
        while (next < count && !pages[next]->GetTabVisible()) ++next;
        if (next < count) {
            found = next;
        } else {
            int before = found - 1;
            while (before >= 0 && !pages[before]->GetTabVisible()) --before;
            if (before >= 0) found = before;
        }
    }
    StartPage = found;
    TTabSheet* page = pages[found];
    if (!page->GetTabVisible()) {
        for (TTabSheet* main : {TabData, TabTools, TabExport, TabPrint})
            if (main->GetTabVisible()) {
                openMain(main);
                return;
            }
        return;
    }
    if (TreeMode()) {
        // The page's node shows it.
        SelectTreeNodeData(page);
        return;
    }
    SubPage->SetActivePage(page);
    SubPageChange(SubPage);
}

void TChartEditForm::DefaultSelection() {
    if (LBSeries->GetItems()->GetCount() == 0) return;
    if (LBSeries->CanFocus()) LBSeries->SetFocus();
    LBSeries->SetItemIndex(0);
    if (LBSeries->GetMultiSelect()) LBSeries->SetSelected(0, true);
    LBSeriesRefreshButtons(LBSeries);
}

void TChartEditForm::BroadCastShowEditor(TTabSheet* Tab) {
    for (TOnShowEditor procedure : ZuzOnShowEditor()) procedure(this, Tab);
}

// ---------------------------------------------------------------------------
// Pages

void TChartEditForm::MainPageChange(TObject*) {
    if (HighlightTabs) MainPage->GetActivePage()->SetHighlighted(true);
    if (TreeMode()) SelectTreeNodeData(MainPage->GetActivePage());
    TTabSheet* page = MainPage->GetActivePage();
    if (page == TabSeries)
        SetTabSeries();
    else if (page == TabData)
        SetTabData();
    else if (page == TabTools) {
        if (!FToolsForm)
            CreateToolsForm();
        else
            FToolsForm->Reload();
    } else if (page == TabExport)
        SetTabExport();
    else if (page == TabPrint)
        SetTabPrint();
    else
        BroadCastShowEditor(page);
    if (page == TabChart && SubPage->GetActivePage() == TabSeriesList) SeriesListShown();
}

// Refreshed while the list was hidden (a series opened meanwhile refills it), the buttons
// were all off: shown again, they follow the rows chosen.
void TChartEditForm::SeriesListShown() {
    LBSeriesRefreshButtons(LBSeries);
}

void TChartEditForm::MainPageChanging(TObject*, bool& AllowChange) {
    AllowChange = true;
    if (SeriesForm) SeriesForm->PageSeriesChanging(this, AllowChange);
    if (AllowChange && HighlightTabs && MainPage->GetActivePage())
        MainPage->GetActivePage()->SetHighlighted(false);
}

void TChartEditForm::SubPageChanging(TObject*, bool&) {
    if (HighlightTabs && SubPage->GetActivePage()) SubPage->GetActivePage()->SetHighlighted(false);
}

TCustomForm* TChartEditForm::PageForm(TTabSheet* Tab) const {
    for (int i = 0; i < Tab->GetControlCount(); ++i)
        if (auto* form = dynamic_cast<TCustomForm*>(Tab->GetControl(i))) return form;
    return nullptr;
}

void TChartEditForm::SubPageChange(TObject* Sender) {
    TTabSheet* page = SubPage->GetActivePage();
    if (!page) return;
    if (HighlightTabs) page->SetHighlighted(true);
    if (TreeMode() && Sender == SubPage) SelectTreeNodeData(page);
    if (page == TabSeriesList) SeriesListShown();
    if (FChart && page->GetControlCount() == 0 && page != TabSeriesList) CreateSubPageForm(page);
    if (page == Tab3D) {
        if (auto* form = dynamic_cast<TFormZuz3D*>(PageForm(Tab3D))) form->CheckControls();
    } else if (page == TabAxis) {
        if (auto* form = dynamic_cast<TFormZuzAxis*>(PageForm(TabAxis))) form->PageAxisChange(form);
    }
}

void TChartEditForm::CreateSubPageForm(TTabSheet* Tab) {
    TCustomForm* form = nullptr;
    if (Tab == TabGeneral) {
        form = Create<TFormZuzGeneral>(this, FChart);
    } else if (Tab == TabAxis) {
        if (!StartAxis) StartAxis = FChart->GetLeftAxis();
        auto* axis = Create<TFormZuzAxis>(this, StartAxis);
        axis->OnChangeHorizAxis = [this](TChartAxis* Axis) { CustomAxisChanged(Axis); };
        form = axis;
    } else if (Tab == TabTitle) {
        if (!StartTitle) StartTitle = FChart->GetTitle();
        form = Create<TFormZuzTitle>(this, FChart, StartTitle);
    } else if (Tab == TabLegend) {
        form = Create<TFormZuzLegend>(this, FChart->GetLegend());
    } else if (Tab == TabPanel) {
        form = Create<TFormZuzPanel>(this, FChart);
    } else if (Tab == TabPaging) {
        form = Create<TFormZuzPage>(this, FChart);
    } else if (Tab == TabWalls) {
        if (!StartWall) StartWall = FChart->GetLeftWall();
        form = Create<TFormZuzWall>(this, StartWall);
    } else {
        form = Create<TFormZuz3D>(this, FChart);
    }
    EmbedPageForm(form, Tab);
    if (auto* general = dynamic_cast<TFormZuzGeneral*>(form)) {
        TControl* keep[] = {general->CBCursor};
        ZuzTranslateControl(form, keep);
    } else if (auto* title = dynamic_cast<TFormZuzTitle*>(form)) {
        TControl* keep[] = {title->MText};
        ZuzTranslateControl(form, keep);
    } else {
        ZuzTranslateControl(form);
    }
}

void TChartEditForm::EmbedPageForm(TCustomForm* Form, TTabSheet* Tab) {
    Form->SetParentColor(true);
    Form->SetBorderIcons({});
    Form->SetBorderStyle(bsNone);
    Form->SetAlign(alClient);
    Form->SetParent(Tab);
    ZuzScaleForm(Form);
    Form->Show();
}

void TChartEditForm::CustomAxisChanged(TChartAxis*) {
    if (SeriesForm) SeriesForm->FillAxes();
}

void TChartEditForm::SetTabSeries() {
    if (SeriesForm) {
        SeriesForm->TheSeries = LBSeries->GetSelectedSeries();
    } else {
        SeriesForm = Create<TFormZuzSeries>(this);
        LBSeries->OtherItems = SeriesForm->CBSeries->GetItems();
        SeriesForm->TheListBox = LBSeries;
        SeriesForm->SetBorderIcons({});
        SeriesForm->SetBorderStyle(bsNone);
        SeriesForm->SetParent(TabSeries);
        SeriesForm->SetAlign(alClient);
        SeriesForm->ShowTabDataSource = EditorOptions.Contains(ceDataSource);
        SeriesForm->ShowTabGeneral = !HiddenTabs.Contains(cetSeriesGeneral);
        SeriesForm->ShowTabMarks = !HiddenTabs.Contains(cetSeriesMarks);
        SeriesForm->DataSourceMode = DataSourceMode;
        SeriesForm->TheSeries = LBSeries->GetSelectedSeries();
        LBSeries->FillSeries(SeriesForm->TheSeries);
        ZuzScaleForm(SeriesForm);
        SeriesForm->OnChartEvent = [this](TFormZuzSeries* Form, TZuzEvent* Event) {
            FormSeriesEvent(Form, Event);
        };
        SeriesForm->Show();
        TControl* keep[] = {SeriesForm->CBSeries};
        ZuzTranslateControl(SeriesForm, keep);
    }
    SeriesForm->SetCBSeries();
}

void TChartEditForm::FormSeriesEvent(TFormZuzSeries*, TZuzEvent* Event) {
    auto* series = dynamic_cast<TZuzSeriesEvent*>(Event);
    if (series && (series->Event == seAdd || series->Event == seRemove || series->Event == seSwap))
        AddSeriesNodes();
}

void TChartEditForm::SetTabExport() {
    if (!FExportForm) {
        FExportForm = Create<TZuzExportForm>(this);
        FExportForm->SetAlign(alClient);
        AddFormTo(FExportForm, TabExport, FChart);
        FExportForm->BClose->SetVisible(false);
    }
    FExportForm->TabNative->SetTabVisible(!HiddenTabs.Contains(cetExportNative));
    FExportForm->EnableButtons();
}

void TChartEditForm::SetTabPrint() {
    if (!PreviewForm) {
        const THourGlass hourGlass;
        PreviewForm = Create<TChartPreview>(this);
        PreviewForm->HideCloseButton();
        PreviewForm->SetAlign(alClient);
        AddFormTo(PreviewForm, TabPrint, FChart);
    } else {
        PreviewForm->PreviewPanel()->Invalidate();
    }
}

// ---------------------------------------------------------------------------
// Series list

void TChartEditForm::LBSeriesRefreshButtons(TObject*) {
    const bool selected =
        FChart && FChart->SeriesCount() > 0 && LBSeries->CanFocus() && LBSeries->GetItemIndex() != -1;
    TChartSeries* series = selected ? LBSeries->GetSeries(LBSeries->GetItemIndex()) : nullptr;
    const TChartSeriesStyle style = series ? series->GetStyle() : TChartSeriesStyle{};
    const bool inherited = series && series->GetComponentState().Contains(csAncestor);
    const bool single = LBSeries->GetSelCount() < 2;

    const bool add = EditorOptions.Contains(ceAdd);
    BAddSeries->SetEnabled(add);
    LBSeries->SetAllowAddSeries(add);
    const bool remove = series && !inherited && EditorOptions.Contains(ceDelete) &&
                        !style.Contains(tssIsTemplate) && !style.Contains(tssDenyDelete);
    BDeleteSeries->SetEnabled(remove);
    LBSeries->SetAllowDeleteSeries(remove);
    LBSeries->SetAskDelete(EditorOptions.Contains(ceAskDelete));
    BRenameSeries->SetEnabled(series && single && EditorOptions.Contains(ceTitle));
    const bool change =
        series && !inherited && EditorOptions.Contains(ceChange) && !style.Contains(tssDenyChangeType);
    BChangeTypeSeries->SetEnabled(change);
    // The icon's double-click follows the button: switched off once (before the list could take
    // the focus, or for a series that may not change), it comes back with the button.
    if (LBSeries->GetShowSeriesIcon()) LBSeries->SetEnableChangeType(change);
    BCloneSeries->SetEnabled(series && single && EditorOptions.Contains(ceClone) &&
                             !style.Contains(tssIsTemplate) && !style.Contains(tssDenyClone));
    const int index = LBSeries->GetItemIndex();
    const bool movable = series && single;
    BMoveDown->SetEnabled(movable && index < LBSeries->GetItems()->GetCount() - 1);
    BMoveUP->SetEnabled(movable && index > 0);
    const bool order = EditorOptions.Contains(ceOrderSeries);
    LBSeries->SetEnableDragSeries(order);
    BMoveDown->SetVisible(order);
    BMoveUP->SetVisible(order);
    // Rebuilt only when the series or their order changed (a series added or gone, moved up,
    // down or dragged): every click in the list lands here, and a rebuild would take away the
    // series node the user chose. A title changed is only written into its node.
    if (!TreeMode()) return;
    if (SeriesNodesFollowList())
        TitleSeriesNodes();
    else
        AddSeriesNodes();
}

void TChartEditForm::TabSeriesBackOnMainPage() {
    if (!TabSeries->GetParent()) TabSeries->SetPageControl(MainPage);
}

void TChartEditForm::BAddSeriesClick(TObject*) {
    TabSeriesBackOnMainPage();
    TChartSeries* series = LBSeries->AddSeriesGallery();
    if (series) {
        if (TSeriesGroup* group = CurrentGroup()) {
            group->Add(series);
            LBSeries->UpdateSeries();
        }
        if (series->GetFunction()) {
            MainPage->SetActivePage(TabSeries);
            MainPageChange(MainPage);
            if (SeriesForm && SeriesForm->TabDataSource->GetTabVisible()) {
                bool allow = true;
                SeriesForm->PageSeriesChanging(SeriesForm->PageSeries, allow);
                SeriesForm->PageSeries->SetActivePage(SeriesForm->TabDataSource);
                SeriesForm->PageSeriesChange(SeriesForm->PageSeries);
            }
        }
    }
    if (LBSeries->CanFocus()) LBSeries->SetFocus();
}

void TChartEditForm::RebuildSeriesForm() {
    if (!SeriesForm) return;
    SeriesForm->TheSeries = nullptr;
    SeriesForm->DestroySeriesForms();
    SeriesForm->TheSeries = LBSeries->GetSelectedSeries();
    SeriesForm->SetCBSeries();
}

void TChartEditForm::BDeleteSeriesClick(TObject*) {
    TabSeriesBackOnMainPage();
    LBSeries->DeleteSeries();
    RebuildSeriesForm();
}

void TChartEditForm::BRenameSeriesClick(TObject*) {
    // A new name raises no title event: its node takes it here, and stays the node chosen.
    if (LBSeries->RenameSeries() && TreeMode()) TitleSeriesNodes();
    if (!GetParent()) SetActiveControl(LBSeries);
}

void TChartEditForm::BCloneSeriesClick(TObject*) {
    LBSeries->CloneSeries();
}

void TChartEditForm::BChangeTypeSeriesClick(TObject* Sender) {
    LBSeries->ChangeTypeSeries(Sender);
    RebuildSeriesForm();
}

void TChartEditForm::BMoveUPClick(TObject*) {
    LBSeries->MoveCurrentUp();
}

void TChartEditForm::BMoveDownClick(TObject*) {
    LBSeries->MoveCurrentDown();
}

void TChartEditForm::LBSeriesEditSeries(TObject*, int) {
    if (LBSeries->GetItemIndex() == -1) return;
    if (TreeMode()) {
        SelectTreeNodeData(LBSeries->GetSelectedSeries());
        return;
    }
    MainPage->SetActivePage(TabSeries);
    SetTabSeries();
}

void TChartEditForm::LBSeriesOtherItemsChange(TObject*) {
    if (!SeriesForm) return;
    TabSeriesBackOnMainPage();
    SeriesForm->CBSeries->SetItemIndex(LBSeries->GetItemIndex());
}

void TChartEditForm::LBSeriesRemovedSeries(TObject*, TChartSeries*) {
    if (TreeMode()) AddSeriesNodes();
}

void TChartEditForm::LBSeriesChangeActive(TObject*, TChartSeries*) {
    if (EditorOptions.Contains(ceGroups)) FillGroups();
}

// ---------------------------------------------------------------------------
// Data page

void TChartEditForm::SetTabData() {
    // The editor's grid grows: Down on the last row appends a point, Right on the last column a
    // series, as the operator asks.
    ChartGrid1->AllowGrowSeries = true;
    ChartGrid1->SetChart(FChart);
    TChartSeries* first = FChart && FChart->SeriesCount() > 0 ? FChart->GetSeries(0) : nullptr;
    ChartGrid1->SetShowColors(first && HasColors(first));
    ChartGrid1->RecalcDimensions();
    SBGridCol->SetDown(ChartGrid1->GetShowColors());
    SBGridText->SetDown(ChartGrid1->GetShowLabels());
    SBGrid3D->SetDown(ChartGrid1->GetGrid3D());
    SBGrid3D->SetEnabled(TCustomChartGrid::CarriesZValues(first));
    SBGridX->SetDown(first && HasNoMandatoryValues(first));
    if (!TreeMode() && ChartGrid1->CanFocus()) ChartGrid1->SetFocus();
    if (!FDataHooked) {
        FDataHooked = true;
        ChartGrid1->OnMouseDown.Bind(this, &TChartEditForm::ChartGrid1MouseDown);
    }
}

void TChartEditForm::ChartGrid1MouseDown(TObject*, TMouseButton Button, TShiftState Shift, int, int) {
    if (Button != mbRight || !Shift.Contains(ssAlt)) return;
    TChartSeries* first = FChart && FChart->SeriesCount() > 0 ? FChart->GetSeries(0) : nullptr;
    if (!TCustomChartGrid::CarriesZValues(first)) return;
    SBGrid3D->SetDown(!SBGrid3D->GetDown());
    SBGrid3DClick(SBGrid3D);
}

void TChartEditForm::SBGridTextClick(TObject*) {
    ChartGrid1->SetShowLabels(SBGridText->GetDown());
}

void TChartEditForm::SBGridColClick(TObject*) {
    ChartGrid1->SetShowColors(SBGridCol->GetDown());
}

void TChartEditForm::SBGrid3DClick(TObject*) {
    ChartGrid1->SetGrid3DMode(SBGrid3D->GetDown());
    ChartGrid1->SetShowLabels(SBGridText->GetDown());
    ChartGrid1->SetShowColors(SBGridCol->GetDown());
}

void TChartEditForm::SBGridXClick(TObject*) {
    ChartGrid1->SetShowXValues(SBGridX->GetDown() ? cgsYes : cgsNo);
}

void TChartEditForm::SBCopyDataClick(TObject*) {
    TSeriesDataText data(FChart);
    data.IncludeHeader = true;
    data.IncludeIndex = true;
    data.IncludeLabels = SBGridText->GetDown();
    data.IncludeColors = SBGridCol->GetDown();
    data.CopyToClipboard();
}

void TChartEditForm::PopupDataPopup(TObject*) {
    TColor color = clNone;
    const bool hasColor = ChartGrid1->GetSeriesColor(color);
    EditColor1->SetVisible(hasColor);
    DefaultColor1->SetVisible(hasColor && color != clZuzColor);
    Makenullpoint1->SetVisible(hasColor && color != clNone);
    N1->SetVisible(EditColor1->GetVisible());
    // Calculated series put their points back: rows are offered as the navigator offers them.
    Insertrow1->SetEnabled(ChartGrid1->CanAppendRow());
    Deleterow1->SetEnabled(ChartGrid1->CanDeleteRow());
}

void TChartEditForm::EditColor1Click(TObject*) {
    ChartGrid1->ChangeColor();
}

void TChartEditForm::DefaultColor1Click(TObject*) {
    ChartGrid1->ChangeColor(clZuzColor);
}

void TChartEditForm::Makenullpoint1Click(TObject*) {
    ChartGrid1->ChangeColor(clNone);
}

void TChartEditForm::Insertrow1Click(TObject*) {
    ChartGrid1->Insert();
}

void TChartEditForm::Deleterow1Click(TObject*) {
    ChartGrid1->Delete();
}

void TChartEditForm::extfont1Click(TObject*) {
    EditZuzFont(this, ChartGrid1->GetFont());
    TBitmap measure;
    measure.GetCanvas()->GetFont()->Assign(ChartGrid1->GetFont());
    ChartGrid1->SetDefaultRowHeight(measure.GetCanvas()->TextHeight(u"W") + 2);
}

// ---------------------------------------------------------------------------
// Bottom bar, closing, help

void TChartEditForm::ButtonHelpClick(TObject*) {
    Application->HelpContext(GetHelpContext());
}

bool TChartEditForm::HelpRequested(TControl* Control) {
    if (!GetBorderIcons().Contains(biHelp)) return false;
    TControl* c = Control;
    while (c && c->GetHelpContext() == 0) c = c->GetParent();
    if (c) Application->HelpContext(c->GetHelpContext());
    return true;
}

void TChartEditForm::BCloseClick(TObject*) {
    SetModalResult(mrCancel);
}

void TChartEditForm::FormCloseQuery(TObject*, bool& CanClose) {
    if (SeriesForm) SeriesForm->FormCloseQuery(SeriesForm, CanClose);
    if (CanClose) SetModalResult(mrCancel);
}

void TChartEditForm::Notification(TComponent* AComponent, TOperation Operation) {
    TForm::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FChart) FChart = nullptr;
}

void TChartEditForm::FormDestroy(TObject*) {
    // The list's companion items are the series page's combo, which may go before the list.
    LBSeries->OtherItems = nullptr;
    if (TreeMode()) SaveTreeWidth();
    ZuzSaveBoolOption(u"SeriesGroups", EditorOptions.Contains(ceGroups));
    if (FChart && (RememberPosition || RememberSize)) SaveStoredBounds();
}

// A size equal to the default is not written, so a later change of the default reaches it; one
// stored earlier goes, or it would come back although the user returned to the default.
void TChartEditForm::SaveStoredBounds() {
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (!reg.OpenKey(kEditorKey, true)) return;
    if (RememberPosition) {
        reg.WriteInteger(u"Left", GetLeft());
        reg.WriteInteger(u"Top", GetTop());
    }
    if (RememberSize) {
        const auto keep = [&reg](const String& Name, int Value, int Default) {
            if (Value != Default)
                reg.WriteInteger(Name, Value);
            else if (reg.ValueExists(Name))
                reg.DeleteValue(Name);
        };
        keep(u"Width", GetWidth(), StrToInt(VavIve_DefaultEditorSize));
        keep(u"Height", GetHeight(), StrToInt(VavIve_DefaultEditorHeight));
    }
}

void ZuzEditChaInitialization() {
    RegisterTreeViewClass();
    RegisterClass(TChartEditForm::StaticClass());
}

void ZuzEditChaFinalization() {
    ZuzOnShowEditor().clear();
}
