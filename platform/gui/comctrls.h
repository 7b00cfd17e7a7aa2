#pragma once
// ComCtrls: page controls and their sheets, status bars with panels, tool bars
// with tool buttons, and date pickers.

#include "platform/core/collections.h"
#include "platform/gui/actnlist.h"
#include "platform/gui/stdctrls.h"

#include <vector>

class QObject;
class QTabWidget;
class QToolButton;
class QDateTimeEdit;
class QTabBar;
class TCustomImageList;
class TPageControl;
class TToolBar;
class TPopupMenu;

// ---------------------------------------------------------------------------
// Page control

class TTabSheet : public TWinControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TTabSheet(TComponent* AOwner);

    TPageControl* GetPageControl() const;
    void SetPageControl(TPageControl* Value);
    int GetPageIndex() const;
    void SetPageIndex(int Value);
    int GetTabIndex() const;
    bool GetTabVisible() const { return FTabVisible; }
    void SetTabVisible(bool Value);
    TImageIndex GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(TImageIndex Value) { FImageIndex = Value; }
    // A highlighted tab stands out from the others (the active one, for hosts that ask so).
    bool GetHighlighted() const { return FHighlighted; }
    void SetHighlighted(bool Value);
    void SetText(const String& Value) override;
    bool GetShowing() const override;

    // Platform side: the page control gives the sheet its place.
    void PlaceInPageControl(const TRect& Bounds);

protected:
    void UpdateWidgetGeometry() override;
    void ApplyVisibility() override;

private:
    bool FTabVisible = true;
    TImageIndex FImageIndex = 0; // the published default
    bool FHighlighted = false;
};

using TTabChangingEvent = Event<void(TObject* Sender, bool& AllowChange)>;

// A row of tabs over an area for child controls; the children stay whichever tab is
// chosen. Choosing a tab from code fires no event.
class TTabControl : public TCustomControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TTabControl(TComponent* AOwner);
    ~TTabControl() override;

    TStrings* GetTabs() const;
    void SetTabs(TStrings* Value);
    int GetTabIndex() const;
    void SetTabIndex(int Value);
    bool GetHotTrack() const { return FHotTrack; }
    void SetHotTrack(bool Value);
    // The area below the tabs, where aligned children go.
    TRect AdjustClientRect() const override;
    TRect GetDisplayRect() const { return AdjustClientRect(); }

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

    // Platform side: the user chose a tab.
    void TabClicked(int Index);

protected:
    void WidgetResized(int AWidth, int AHeight) override;

private:
    void TabsChanged(TObject* Sender);
    QTabBar* FBar = nullptr;
    std::unique_ptr<TStringList> FTabs;
    bool FHotTrack = false;
    bool FSyncing = false;
    int FIndex = -1;
};

enum TTabPosition : std::uint8_t { tpTop, tpBottom, tpLeft, tpRight };
template <>
const EnumInfo& EnumInfoOf<TTabPosition>();

class TPageControl : public TWinControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;

    int GetPageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* GetPage(int Index) const;
    TTabSheet* GetActivePage() const { return FActivePage; }
    // Changing the page from code fires no event.
    void SetActivePage(TTabSheet* Value);
    int GetActivePageIndex() const;
    void SetActivePageIndex(int Value);
    int GetTabIndex() const { return GetActivePageIndex(); }
    TTabPosition GetTabPosition() const { return FTabPosition; }
    void SetTabPosition(TTabPosition Value);
    bool GetMultiLine() const { return FMultiLine; }
    void SetMultiLine(bool Value) { FMultiLine = Value; }
    bool GetHotTrack() const { return FHotTrack; }
    void SetHotTrack(bool Value) { FHotTrack = Value; }
    TCustomImageList* GetImages() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;
    void SelectNextPage(bool GoForward, bool CheckTabVisible = true);

    void GetChildren(TGetChildProc Proc, TComponent* Root) override;
    void SetChildOrder(TComponent* Child, int Order) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

    // Platform side.
    QTabWidget* TabWidget() const { return FTabs; }
    void SheetCaptionChanged(TTabSheet* Sheet);
    void SheetTabVisibleChanged(TTabSheet* Sheet);
    void SheetHighlightChanged(TTabSheet* Sheet);
    void MoveSheet(TTabSheet* Sheet, int NewIndex);
    int IndexOfSheet(const TTabSheet* Sheet) const;

protected:
    void PlaceChildWidget(TControl* Child) override;
    void DetachChildWidget(TControl* Child) override;
    void Resize() override;
    virtual void Change();
    virtual bool CanChange();

private:
    void LayoutSheets();
    void TabChanged(int Index);

    QTabWidget* FTabs;
    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
    TTabPosition FTabPosition = tpTop;
    bool FMultiLine = false;
    bool FHotTrack = false;
    TCustomImageList* FImages = nullptr;
    bool FSettingPage = false;
};

// ---------------------------------------------------------------------------
// Status bar

enum TStatusPanelBevel : std::uint8_t { pbNone, pbLowered, pbRaised };
template <>
const EnumInfo& EnumInfoOf<TStatusPanelBevel>();
enum TStatusPanelStyle : std::uint8_t { psText, psOwnerDraw };
template <>
const EnumInfo& EnumInfoOf<TStatusPanelStyle>();

class TStatusPanel : public TCollectionItem {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TStatusPanel(TCollection* Collection) : TCollectionItem(Collection) {}
    void Assign(TPersistent* Source) override;

    const String& GetText() const { return FText; }
    void SetText(const String& Value);
    int GetWidth() const { return FWidth; }
    void SetWidth(int Value);
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TStatusPanelBevel GetBevel() const { return FBevel; }
    void SetBevel(TStatusPanelBevel Value);
    TStatusPanelStyle GetStyle() const { return FStyle; }
    void SetStyle(TStatusPanelStyle Value);
    String GetDisplayName() const override;

private:
    String FText;
    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
    TStatusPanelBevel FBevel = pbLowered;
    TStatusPanelStyle FStyle = psText;
};

class TStatusBar;

class TStatusPanels : public TOwnedCollection {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TStatusPanels(TStatusBar* StatusBar);
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
    TStatusPanel* GetItem(int Index) const { return static_cast<TStatusPanel*>(TCollection::GetItem(Index)); }
    TStatusPanel* operator[](int Index) const { return GetItem(Index); }

protected:
    void Update(TCollectionItem* Item) override;

private:
    TStatusBar* FStatusBar;
};

class TStatusBar : public TWinControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TStatusBar(TComponent* AOwner);
    ~TStatusBar() override;

    TStatusPanels* GetPanels() const { return FPanels.get(); }
    void SetPanels(TStatusPanels* Value);
    bool GetSimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool Value);
    const String& GetSimpleText() const { return FSimpleText; }
    void SetSimpleText(const String& Value);
    bool GetSizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool Value);
    bool GetAutoHint() const { return FAutoHint; }
    void SetAutoHint(bool Value) { FAutoHint = Value; }
    // The rectangle of a panel in client coordinates; the last one reaches the
    // right edge.
    TRect PanelRect(int Index) const;

    // Platform side: draws the bar.
    void PaintBar(class QPainter& Painter) const;

private:
    Owned<TStatusPanels> FPanels;
    bool FSimplePanel = false;
    String FSimpleText;
    bool FSizeGrip = true;
    bool FAutoHint = false;
};

// ---------------------------------------------------------------------------
// Tool bar

enum TToolButtonStyle : std::uint8_t { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
template <>
const EnumInfo& EnumInfoOf<TToolButtonStyle>();

enum TEdgeBorder : std::uint8_t { ebLeft, ebTop, ebRight, ebBottom };
using TEdgeBorders = Set<TEdgeBorder>;
template <>
const EnumInfo& EnumInfoOf<TEdgeBorder>();

class TToolButton : public TGraphicControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TToolButton(TComponent* AOwner);

    TImageIndex GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(TImageIndex Value);
    TToolButtonStyle GetStyle() const { return FStyle; }
    void SetStyle(TToolButtonStyle Value);
    bool GetDown() const { return FDown; }
    void SetDown(bool Value);
    bool GetGrouped() const { return FGrouped; }
    void SetGrouped(bool Value) { FGrouped = Value; }
    bool GetWrap() const { return FWrap; }
    void SetWrap(bool Value) { FWrap = Value; }
    bool GetAllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
    TPopupMenu* GetDropdownMenu() const { return FDropdownMenu; }
    void SetDropdownMenu(TPopupMenu* Value);
    void SetText(const String& Value) override;
    void SetParent(TWinControl* AParent) override;
    void ActionChange(TObject* Sender, bool CheckDefaults) override;
    void Click() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TToolBar* GetToolBar() const;
    // Platform side: the button's icon and caption follow the tool bar.
    void UpdateLook();

protected:
    std::unique_ptr<TControlActionLink> CreateActionLink() override;
    void EnabledChanged() override;

private:
    QToolButton* FButton;
    TImageIndex FImageIndex = -1;
    TToolButtonStyle FStyle = tbsButton;
    bool FDown = false;
    bool FGrouped = false;
    bool FWrap = false;
    bool FAllowAllUp = false;
    TPopupMenu* FDropdownMenu = nullptr;
};

class TToolBar : public TWinControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TToolBar(TComponent* AOwner);

    int GetButtonCount() const;
    TToolButton* GetButton(int Index) const;
    int GetButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int Value);
    int GetButtonHeight() const { return FButtonHeight; }
    void SetButtonHeight(int Value);
    TCustomImageList* GetImages() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    bool GetFlat() const { return FFlat; }
    void SetFlat(bool Value);
    bool GetShowCaptions() const { return FShowCaptions; }
    void SetShowCaptions(bool Value);
    int GetIndent() const { return FIndent; }
    void SetIndent(int Value);
    TEdgeBorders GetEdgeBorders() const { return FEdgeBorders; }
    void SetEdgeBorders(TEdgeBorders Value);
    bool GetTransparent() const { return FTransparent; }
    void SetTransparent(bool Value) { FTransparent = Value; }
    bool GetWrapable() const { return FWrapable; }
    void SetWrapable(bool Value) { FWrapable = Value; }

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;
    // Puts the buttons side by side in their order.
    void ArrangeButtons();
    TRect AdjustClientRect() const override;

protected:
    void AlignControls(TControl* AControl, TRect& Rect) override;

private:
    void UpdateButtons();

    int FButtonWidth = 23;
    int FButtonHeight = 22;
    TCustomImageList* FImages = nullptr;
    bool FFlat = false;
    bool FShowCaptions = false;
    int FIndent = 0;
    TEdgeBorders FEdgeBorders{ebTop};
    bool FTransparent = false;
    bool FWrapable = true;
    bool FArranging = false;
};

// ---------------------------------------------------------------------------
// Date and time picker

enum TDateTimeKind : std::uint8_t { dtkDate, dtkTime };
template <>
const EnumInfo& EnumInfoOf<TDateTimeKind>();
enum TDTDateFormat : std::uint8_t { dfShort, dfLong };
template <>
const EnumInfo& EnumInfoOf<TDTDateFormat>();
enum TDTDateMode : std::uint8_t { dmComboBox, dmUpDown };
template <>
const EnumInfo& EnumInfoOf<TDTDateMode>();

class TDateTimePicker : public TWinControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TDateTimePicker(TComponent* AOwner);

    // Setting a value from code fires no OnChange; the user's edits do.
    TDateTime GetDateTime() const { return FDateTime; }
    void SetDateTime(TDateTime Value);
    // The day (the time of day kept).
    TDateTime GetDate() const;
    void SetDate(TDateTime Value);
    TDateTime GetTime() const;
    void SetTime(TDateTime Value);
    TDateTimeKind GetKind() const { return FKind; }
    void SetKind(TDateTimeKind Value);
    TDTDateFormat GetDateFormat() const { return FDateFormat; }
    void SetDateFormat(TDTDateFormat Value);
    TDTDateMode GetDateMode() const { return FDateMode; }
    void SetDateMode(TDTDateMode Value);
    TDateTime GetMinDate() const { return FMinDate; }
    void SetMinDate(TDateTime Value);
    TDateTime GetMaxDate() const { return FMaxDate; }
    void SetMaxDate(TDateTime Value);
    bool GetShowCheckbox() const { return FShowCheckbox; }
    void SetShowCheckbox(bool Value) { FShowCheckbox = Value; }
    bool GetChecked() const { return FChecked; }
    void SetChecked(bool Value) { FChecked = Value; }

    TNotifyEvent OnChange;
    TNotifyEvent OnCloseUp;
    TNotifyEvent OnDropDown;

    // Platform side.
    QDateTimeEdit* Editor() const { return FEdit; }

protected:
    virtual void Change();
    TColor DefaultColor() const override { return clWindow; }

private:
    void UpdateEditor();
    void ApplyFormat();

    QDateTimeEdit* FEdit;
    TDateTime FDateTime = 0;
    TDateTimeKind FKind = dtkDate;
    TDTDateFormat FDateFormat = dfShort;
    TDTDateMode FDateMode = dmComboBox;
    TDateTime FMinDate = 0;
    TDateTime FMaxDate = 0;
    bool FShowCheckbox = false;
    bool FChecked = true;
    bool FUpdating = false;
};

// ---------------------------------------------------------------------------
// Up-down buttons: a pair of arrows that step Position through Min .. Max. With an associate
// (an edit) they sit at its right edge and keep its text at the position; a number typed into
// the edit is where the next step starts from.

enum TUDBtnType : std::uint8_t { btNext, btPrev };
template <>
const EnumInfo& EnumInfoOf<TUDBtnType>();
using TUDClickEvent = Event<void(TObject* Sender, TUDBtnType Button)>;

class TUpDown : public TWinControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TUpDown(TComponent* AOwner);

    TWinControl* GetAssociate() const { return FAssociate; }
    void SetAssociate(TWinControl* Value);
    int GetMin() const { return FMin; }
    void SetMin(int Value);
    int GetMax() const { return FMax; }
    void SetMax(int Value);
    // A number typed into the associated edit is the position (held in range), as the arrows see it.
    int GetPosition() const;
    void SetPosition(int Value);
    int GetIncrement() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = Value; }
    // An arrow that steps past one end goes on from the other.
    bool GetWrap() const { return FWrap; }
    void SetWrap(bool Value) { FWrap = Value; }
    // What a click on an arrow does: one increment up (btNext) or down, then OnClick.
    using TWinControl::Click;
    void Click(TUDBtnType Button);
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TUDClickEvent OnClick;

private:
    void ShowPosition();
    // The number in the edit, else the last position; not held in range.
    int ShownPosition() const;

    TWinControl* FAssociate = nullptr;
    // Steps the position on the Up and Down keys typed in the associate (owned by the widget).
    QObject* FArrowKeys = nullptr;
    int FMin = 0, FMax = 100, FPosition = 0, FIncrement = 1;
    bool FWrap = false;
};

// ---------------------------------------------------------------------------
// TTrackBar

enum TTrackBarOrientation : std::uint8_t { trHorizontal, trVertical };
template <>
const EnumInfo& EnumInfoOf<TTrackBarOrientation>();
enum TTickMark : std::uint8_t { tmBottomRight, tmTopLeft, tmBoth };
template <>
const EnumInfo& EnumInfoOf<TTickMark>();
enum TTickStyle : std::uint8_t { tsNone, tsAuto, tsManual };
template <>
const EnumInfo& EnumInfoOf<TTickStyle>();

// A slider: its Position runs Min .. Max; every change of the position, by the user or from
// code, fires OnChange. The arrow keys move it by LineSize, page keys by PageSize.
class TTrackBar : public TWinControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TTrackBar(TComponent* AOwner);

    int GetMin() const { return FMin; }
    void SetMin(int Value);
    int GetMax() const { return FMax; }
    void SetMax(int Value);
    int GetPosition() const { return FPosition; }
    void SetPosition(int Value);
    int GetFrequency() const { return FFrequency; }
    void SetFrequency(int Value);
    int GetLineSize() const { return FLineSize; }
    void SetLineSize(int Value);
    int GetPageSize() const { return FPageSize; }
    void SetPageSize(int Value);
    TTrackBarOrientation GetOrientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation Value);
    TTickMark GetTickMarks() const { return FTickMarks; }
    void SetTickMarks(TTickMark Value);
    TTickStyle GetTickStyle() const { return FTickStyle; }
    void SetTickStyle(TTickStyle Value);

    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    void ShowRange();
    void ShowTicks();
    class QSlider* FSlider;
    int FMin = 0, FMax = 10, FPosition = 0;
    int FFrequency = 1, FLineSize = 1, FPageSize = 2;
    TTrackBarOrientation FOrientation = trHorizontal;
    TTickMark FTickMarks = tmBottomRight;
    TTickStyle FTickStyle = tsAuto;
};

// A drop-down list whose items carry a picture of an image list: the items are
// a collection of captions with image indexes.
enum TComboBoxExStyle : std::uint8_t { csExDropDown, csExSimple, csExDropDownList };
template <>
const EnumInfo& EnumInfoOf<TComboBoxExStyle>();

class TComboExItem : public TCollectionItem {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TComboExItem(TCollection* Collection) : TCollectionItem(Collection) {}
    void Assign(TPersistent* Source) override;

    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value);
    int GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    String GetDisplayName() const override { return FCaption; }

private:
    String FCaption;
    int FImageIndex = -1;
};

class TComboBoxEx;

class TComboExItems : public TOwnedCollection {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TComboExItems(TComboBoxEx* Box);
    TComboExItem* Add() { return static_cast<TComboExItem*>(TCollection::Add()); }
    TComboExItem* AddItem(const String& Caption, int ImageIndex);
    TComboExItem* GetItem(int Index) const { return static_cast<TComboExItem*>(TCollection::GetItem(Index)); }

protected:
    void Update(TCollectionItem* Item) override;

private:
    TComboBoxEx* FBox;
};

class TComboBoxEx : public TCustomComboBox {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TComboBoxEx(TComponent* AOwner);
    ~TComboBoxEx() override;

    TComboBoxExStyle GetStyleEx() const { return FStyleEx; }
    void SetStyleEx(TComboBoxExStyle Value);
    TComboExItems* GetItemsEx() const { return FItemsEx.get(); }
    void SetItemsEx(TComboExItems* Value);
    TCustomImageList* GetImages() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // The shown items follow the collection.
    void ItemsExChanged();

private:
    Owned<TComboExItems> FItemsEx;
    TCustomImageList* FImages = nullptr;
    TComboBoxExStyle FStyleEx = csExDropDown;
};
