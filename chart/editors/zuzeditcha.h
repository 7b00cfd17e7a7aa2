#pragma once
// The chart editor: one form that edits every element of one chart. Its main pages are the
// chart (with nine sub-pages), the selected series, the series' data, the tools, export and
// print; the series list with its buttons sits on the chart's first sub-page. The property
// pages are forms of their own, made the first time their tab is shown and embedded there.
// Optionally a tree on the left replaces the tabs, and a check list of series groups stands
// beside the series list. Position, size and some choices are kept in the editor's options.

#include "chart/editors/zuzedit.h"
#include "platform/gui/forms.h"

#include <array>
#include <cstdint>
#include <vector>

class TButton;
class TChartAxis;
class TChartGrid;
class TChartGridNavigator;
class TChartListBox;
class TChartPreview;
class TChartSeries;
class TChartTitle;
class TCheckListBox;
class TCustomChart;
class TCustomChartWall;
class TFormZuzSeries;
class TFormZuzTools;
class TMenuItem;
class TPageControl;
class TPanel;
class TPopupMenu;
class TSeriesGroup;
class TSpeedButton;
class TSplitter;
class TTabSheet;
class TTreeNode;
class TTreeView;
class TZuzCustomTool;
class TZuzEvent;
class TZuzExportForm;

class TChartEditForm;

// Called with the editor and the page shown (nullptr when the editor shows).
using TOnShowEditor = void (*)(TChartEditForm* Editor, TTabSheet* Tab);
// A public hook: every procedure in it runs, in order, when the editor or one of its pages
// shows. Nothing in the program adds to it.
std::vector<TOnShowEditor>& ZuzOnShowEditor();
// When true, the series view button shows outside design time too.
extern bool ZuzSeriesNamesRuntime;

// The help files' paths as the system's help folder names them, or empty.
String GetVedIrureHelpFile();
String GetVedIrureUserHelpFile();

class TChartEditForm : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TChartEditForm(TComponent* AOwner) : TForm(AOwner) {}
    ~TChartEditForm() override;

    TPageControl* MainPage = nullptr;
    TTabSheet* TabChart = nullptr;
    TPageControl* SubPage = nullptr;
    TTabSheet* TabSeriesList = nullptr;
    TChartListBox* LBSeries = nullptr;
    TPanel* PanRight = nullptr;
    TSpeedButton* BMoveUP = nullptr;
    TSpeedButton* BMoveDown = nullptr;
    TButton* BAddSeries = nullptr;
    TButton* BDeleteSeries = nullptr;
    TButton* BRenameSeries = nullptr;
    TButton* BCloneSeries = nullptr;
    TButton* BChangeTypeSeries = nullptr;
    TPanel* PanTop = nullptr;
    TButton* BAddGroup = nullptr;
    TButton* BDeleteGroup = nullptr;
    TButton* BRenameGroup = nullptr;
    TSpeedButton* SpeedSeries = nullptr;
    TPanel* PanelGroups = nullptr;
    TCheckListBox* Groups = nullptr;
    TSplitter* Splitter1 = nullptr;
    TTabSheet* TabGeneral = nullptr;
    TTabSheet* TabAxis = nullptr;
    TTabSheet* TabTitle = nullptr;
    TTabSheet* TabLegend = nullptr;
    TTabSheet* TabPanel = nullptr;
    TTabSheet* TabPaging = nullptr;
    TTabSheet* TabWalls = nullptr;
    TTabSheet* Tab3D = nullptr;
    TTabSheet* TabSeries = nullptr;
    TTabSheet* TabData = nullptr;
    TChartGrid* ChartGrid1 = nullptr;
    TPanel* Panel1 = nullptr;
    TChartGridNavigator* ChartGridNavigator1 = nullptr;
    TPanel* Panel2 = nullptr;
    TSpeedButton* SBGridText = nullptr;
    TSpeedButton* SBGridCol = nullptr;
    TSpeedButton* SBGrid3D = nullptr;
    TSpeedButton* SBGridX = nullptr;
    TSpeedButton* SBCopyData = nullptr;
    TTabSheet* TabTools = nullptr;
    TTabSheet* TabExport = nullptr;
    TTabSheet* TabPrint = nullptr;
    TPanel* PanBottom = nullptr;
    TButton* ButtonHelp = nullptr;
    TPanel* PanClose = nullptr;
    TButton* BClose = nullptr;
    TTreeView* Tree = nullptr;
    TSplitter* TreeSplitter = nullptr;
    TPopupMenu* PopupData = nullptr;
    TMenuItem* EditColor1 = nullptr;
    TMenuItem* DefaultColor1 = nullptr;
    TMenuItem* Makenullpoint1 = nullptr;
    TMenuItem* N1 = nullptr;
    TMenuItem* Insertrow1 = nullptr;
    TMenuItem* Deleterow1 = nullptr;
    TMenuItem* N2 = nullptr;
    TMenuItem* extfont1 = nullptr;
    TPopupMenu* PopupSeries = nullptr;
    TMenuItem* ViewSeriesNames1 = nullptr;
    TMenuItem* ViewSeriesGroups1 = nullptr;

    // Start-up fields, filled by whoever opens the editor before it shows.
    TChartEditorOptions EditorOptions = DefaultChartEditorOptions();
    int StartPage = -1; // a TChartEditorTab ordinal, -1: none
    TChartEditorHiddenTabs HiddenTabs;
    TChartSeries* StartSeries = nullptr;
    TChartAxis* StartAxis = nullptr;
    TChartTitle* StartTitle = nullptr;
    TCustomChartWall* StartWall = nullptr;
    TZuzCustomTool* StartTool = nullptr; // cleared once the tools page used it
    bool DataSourceMode = false;
    bool HighlightTabs = false;
    bool RememberPosition = true;
    bool RememberSize = true;
    // The page forms made on first use (owned by the editor).
    TFormZuzSeries* SeriesForm = nullptr;
    TChartPreview* PreviewForm = nullptr;
    // Tree mode: the panel that shows the chosen node's page, the series and tools nodes, and
    // the form's width without the tree and its splitter.
    TPanel* PagePanel = nullptr;
    TTreeNode* SeriesNode = nullptr;
    TTreeNode* ToolsNode = nullptr;
    int WidthWithoutTree = 0;

    TCustomChart* GetChart() const { return FChart; }
    void SetChart(TCustomChart* Value);
    // The help file for the chart (designed or run) while help is allowed; the border's help
    // button follows it.
    void CheckHelpFile();
    // Builds the series page on first use, else points it at the selected series.
    void SetTabSeries();
    void BroadCastShowEditor(TTabSheet* Tab);
    // The export and print page forms once made, else nullptr.
    TZuzExportForm* GetExportForm() const { return FExportForm; }
    TFormZuzTools* GetToolsForm() const { return FToolsForm; }
    // The page form shown on a sub-page of the chart, or nullptr before it is made.
    TCustomForm* PageForm(TTabSheet* Tab) const;
    // A help request on a control while the border has the help button: the topic of the
    // control or of its nearest parent that has one. False when the border has no help button.
    bool HelpRequested(TControl* Control);
    // Whether the editor works with a tree instead of tabs.
    bool TreeMode() const;

    void Notification(TComponent* AComponent, TOperation Operation) override;

    // Handlers named in the form resource.
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void FormResize(TObject* Sender);
    void MainPageChange(TObject* Sender);
    void MainPageChanging(TObject* Sender, bool& AllowChange);
    void SubPageChange(TObject* Sender);
    void SubPageChanging(TObject* Sender, bool& AllowChange);
    void LBSeriesEditSeries(TObject* Sender, int Index);
    void LBSeriesRefreshButtons(TObject* Sender);
    void LBSeriesOtherItemsChange(TObject* Sender);
    void LBSeriesRemovedSeries(TObject* Sender, TChartSeries* Series);
    void LBSeriesChangeActive(TObject* Sender, TChartSeries* Series);
    void BAddSeriesClick(TObject* Sender);
    void BDeleteSeriesClick(TObject* Sender);
    void BRenameSeriesClick(TObject* Sender);
    void BCloneSeriesClick(TObject* Sender);
    void BChangeTypeSeriesClick(TObject* Sender);
    void BMoveUPClick(TObject* Sender);
    void BMoveDownClick(TObject* Sender);
    void SBGridTextClick(TObject* Sender);
    void SBGridColClick(TObject* Sender);
    void SBGrid3DClick(TObject* Sender);
    void SBGridXClick(TObject* Sender);
    void SBCopyDataClick(TObject* Sender);
    void PopupDataPopup(TObject* Sender);
    void EditColor1Click(TObject* Sender);
    void DefaultColor1Click(TObject* Sender);
    void Makenullpoint1Click(TObject* Sender);
    void Insertrow1Click(TObject* Sender);
    void Deleterow1Click(TObject* Sender);
    void extfont1Click(TObject* Sender);
    void ButtonHelpClick(TObject* Sender);
    void BCloseClick(TObject* Sender);
    void ChartGrid1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    // The series page's chart events: added, removed and swapped series rebuild the tree's nodes.
    void FormSeriesEvent(TFormZuzSeries* Form, TZuzEvent* Event);
    // The axis page changed a custom axis between horizontal and vertical.
    void CustomAxisChanged(TChartAxis* Axis);

    // Tree mode and series groups.
    void PrepareTree();
    void AddSeriesNodes();
    // Whether the series nodes are those of the list's rows, in the list's order.
    bool SeriesNodesFollowList() const;
    // The series nodes take the titles of the list's rows, the node chosen staying chosen.
    void TitleSeriesNodes();
    void TreeChange(TObject* Sender, TTreeNode* Node);
    void TreeEditing(TObject* Sender, TTreeNode* Node, bool& AllowEdit);
    void TreeSelectSeries(TChartSeries* Series);
    void SelectTreeNodeData(TObject* Data);
    TTreeNode* TreeNodeCurrentSeries() const;
    void ResetParentTab(TPageControl* Pages);
    void CreateToolsForm();
    void ToolsFormAddedTool(TZuzCustomTool* Tool);
    void ToolsFormDeletedTool(TZuzCustomTool* Tool);
    void ShowHideGroups();
    void FillGroups();
    void GroupsClick(TObject* Sender);
    void GroupsClickCheck(TObject* Sender);
    void EnableGroupButtons();
    TSeriesGroup* CurrentGroup() const;
    int DeltaGroup() const;
    void BAddGroupClick(TObject* Sender);
    void BRenameGroupClick(TObject* Sender);
    void BDeleteGroupClick(TObject* Sender);
    void GroupsDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept);
    void GroupsDragDrop(TObject* Sender, TObject* Source, int X, int Y);
    void ViewSeriesGroups1Click(TObject* Sender);
    void ViewSeriesNames1Click(TObject* Sender);
    void SpeedSeriesMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    // The tree's visibility and width from the options (at creation), a stored width, and on
    // destruction the pages put back and the tree's width saved.
    void ReadTreeOptions();
    void SetTreeWidth(int Value);
    void SaveTreeWidth();

    // The chart's sub-pages in their designed order, which is that of their tab numbers (cetMain
    // to cet3D), wherever the tree has put them.
    std::array<TTabSheet*, 9> ChartSubPages() const;

protected:
    void BindComponents() override;

private:
    // Opens the sub-page at StartPage (or its nearest visible neighbour).
    void ApplyStartPage();
    void DefaultSelection();
    void ApplyHiddenTabs();
    void SetTabData();
    void SetTabExport();
    void SetTabPrint();
    // Makes a page form for the sub-page and embeds it there.
    void CreateSubPageForm(TTabSheet* Tab);
    void EmbedPageForm(TCustomForm* Form, TTabSheet* Tab);
    // The series page rebuilt for the series now selected (after a delete or type change).
    void RebuildSeriesForm();
    // TabSeries back on MainPage when tree mode took it away.
    void TabSeriesBackOnMainPage();
    // The series list shown again, by a tab or a tree node: its buttons follow its rows.
    void SeriesListShown();
    void ReadStoredBounds();
    void SaveStoredBounds();

    // Tree mode: parts of page forms lent to the page panel, with where they came from.
    struct TLentPart {
        TControl* Control;
        TWinControl* Home;
        TAlign Align;
        TRect Bounds;
    };
    // Takes whatever the page panel shows off it, and gives lent parts back to their forms.
    void TakeOffPagePanel();
    void ShowOnPagePanel(TControl* Control, bool Lent);
    // Activates a page as its tab would, putting its page control back where the tabs have it.
    void ActivateTreePage(TTabSheet* Tab);

    std::vector<TLentPart> FLentParts;
    // A node is being shown: the pages it activates choose no node of their own.
    bool FTreeChanging = false;
    TCustomChart* FChart = nullptr;
    TZuzExportForm* FExportForm = nullptr;
    TFormZuzTools* FToolsForm = nullptr;
    bool FDataHooked = false;
};

void ZuzEditChaInitialization();
void ZuzEditChaFinalization();
