#pragma once
// StdCtrls: labels, buttons, edits, combo boxes, memos, check boxes, group
// boxes and list boxes.

#include "platform/core/lists.h"
#include "platform/gui/controls.h"

#include <memory>

class QLabel;
class QPushButton;
class QLineEdit;
class QComboBox;
class QPlainTextEdit;
class QCheckBox;
class QScrollBar;
class QGroupBox;
class QListWidget;
class QStyledItemDelegate;

enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
template <>
const EnumInfo& EnumInfoOf<TAlignment>();

enum TTextLayout : std::uint8_t { tlTop, tlCenter, tlBottom };
template <>
const EnumInfo& EnumInfoOf<TTextLayout>();

enum TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
template <>
const EnumInfo& EnumInfoOf<TScrollStyle>();

enum TEditCharCase : std::uint8_t { ecNormal, ecUpperCase, ecLowerCase };
template <>
const EnumInfo& EnumInfoOf<TEditCharCase>();

enum TComboBoxStyle : std::uint8_t {
    csDropDown,
    csSimple,
    csDropDownList,
    csOwnerDrawFixed,
    csOwnerDrawVariable
};
template <>
const EnumInfo& EnumInfoOf<TComboBoxStyle>();

enum TListBoxStyle : std::uint8_t {
    lbStandard,
    lbOwnerDrawFixed,
    lbOwnerDrawVariable,
    lbVirtual,
    lbVirtualOwnerDraw
};
template <>
const EnumInfo& EnumInfoOf<TListBoxStyle>();

// What an owner-drawn item is at the moment it is drawn.
enum TOwnerDrawStateItem : std::uint8_t {
    odSelected,
    odGrayed,
    odDisabled,
    odChecked,
    odFocused,
    odDefault,
    odHotLight,
    odInactive,
    odNoAccel,
    odNoFocusRect,
    odReserved1,
    odReserved2,
    odComboBoxEdit
};
using TOwnerDrawState = Set<TOwnerDrawStateItem>;
// Draws item Index of an owner-drawn box into Rect of the box's Canvas.
using TDrawItemEvent = Event<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;

enum TCheckBoxState : std::uint8_t { cbUnchecked, cbChecked, cbGrayed };
template <>
const EnumInfo& EnumInfoOf<TCheckBoxState>();

// ---------------------------------------------------------------------------

class TCustomLabel : public TGraphicControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomLabel(TComponent* AOwner);

    void SetText(const String& Value) override;
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool GetAutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    TTextLayout GetLayout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    bool GetWordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool GetTransparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool GetShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    TWinControl* GetFocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;

protected:
    void FontChanged() override;
    void ApplyColor() override;
    void AdjustBounds();

private:
    void UpdateLabel();

    QLabel* FLabel;
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
    bool FTransparent = false;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TCustomLabel::TCustomLabel;
};

// ---------------------------------------------------------------------------

class TButtonControl : public TWinControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TButtonControl(TComponent* AOwner);
};

class TButton : public TButtonControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TButton(TComponent* AOwner);

    void SetText(const String& Value) override;
    String GetText() const override;
    bool GetDefault() const { return FDefault; }
    void SetDefault(bool Value);
    bool GetCancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    TModalResult GetModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }

    // Sets the form's modal result, then runs OnClick or the action.
    void Click() override;

    // Platform side: draws over the button's face after the button painted itself.
    void PaintOverlay(TCanvas* Canvas) { PaintOver(Canvas); }
    virtual bool HasPaintOver() const { return false; }

protected:
    QPushButton* Button() const { return FButton; }
    // Drawing of a derived button on top of the system's look (a sample, a colour);
    // called in every paint when HasPaintOver answers true.
    virtual void PaintOver(TCanvas* Canvas) {}

private:
    QPushButton* FButton;
    bool FDefault = false;
    bool FCancel = false;
    TModalResult FModalResult = mrNone;
};

// ---------------------------------------------------------------------------

class TCustomEdit : public TWinControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomEdit(TComponent* AOwner);

    // Setting the text fires OnChange, as typing does.
    void SetText(const String& Value) override;
    String GetText() const override;
    int GetMaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    TEditCharCase GetCharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    Char GetPasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(Char Value);
    bool GetAutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }
    // Only digits can be typed (text set from code is taken as it is).
    bool GetNumbersOnly() const { return FNumbersOnly; }
    void SetNumbersOnly(bool Value) { FNumbersOnly = Value; }
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    bool GetModified() const;
    void SetModified(bool Value);
    int GetSelStart() const;
    void SetSelStart(int Value);
    int GetSelLength() const;
    void SetSelLength(int Value);
    String GetSelText() const;
    void SetSelText(const String& Value);
    void SelectAll();
    void Clear() { SetText({}); }

    TNotifyEvent OnChange;

protected:
    virtual void Change();
    TColor DefaultColor() const override { return clWindow; }
    void DoEnter() override;
    void KeyPress(Char& Key) override;

private:
    QLineEdit* FEdit;
    bool FNumbersOnly = false;
    int FMaxLength = 0;
    bool FReadOnly = false;
    TEditCharCase FCharCase = ecNormal;
    Char FPasswordChar = 0;
    bool FAutoSelect = true;
    TBorderStyle FBorderStyle = bsSingle;
};

class TEdit : public TCustomEdit {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TCustomEdit::TCustomEdit;
};

// ---------------------------------------------------------------------------

class TCustomComboBox : public TWinControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;

    TComboBoxStyle GetStyle() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    TStrings* GetItems() const;
    void SetItems(TStrings* Value);
    // Changing the index from code fires no event.
    int GetItemIndex() const;
    void SetItemIndex(int Value);
    String GetText() const override;
    // A drop-down list selects the item with this text, when there is one.
    void SetText(const String& Value) override;
    int GetMaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    bool GetSorted() const { return FSorted; }
    void SetSorted(bool Value);
    int GetDropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value);
    int GetItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value) { FItemHeight = Value; }
    bool GetDroppedDown() const;
    void SetDroppedDown(bool Value);
    // The width of the dropped-down list: never narrower than the box itself.
    int GetDropDownWidth() const;
    void SetDropDownWidth(int Value);
    void Clear();
    void Loaded() override;

    // Platform side: draws over the box after it painted itself.
    void PaintOverlay(TCanvas* Canvas) { PaintOver(Canvas); }
    virtual bool HasPaintOver() const { return false; }
    // An owner-drawn box (csOwnerDrawFixed, csOwnerDrawVariable) draws its items here; the
    // canvas is the one the item is being drawn on (its font is the box's).
    TCanvas* GetCanvas();
    bool IsOwnerDrawn() const { return FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable; }
    // Platform side: draws one item of an owner-drawn box through DrawItem.
    void DrawItemOn(TCanvas* Canvas, int Index, const TRect& Rect, TOwnerDrawState State);

    TNotifyEvent OnChange;
    TDrawItemEvent OnDrawItem;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

    // Platform side.
    QComboBox* ComboBox() const { return FCombo; }

protected:
    virtual void Change();
    virtual void Select();
    // Runs OnDrawItem; without one, fills the rectangle and writes the item's text.
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    TColor DefaultColor() const override { return clWindow; }
    // Drawing of a derived box on top of the system's look; called in every paint when
    // HasPaintOver answers true.
    virtual void PaintOver(TCanvas* Canvas) {}

private:
    void ConnectEditor();
    // Puts the owner-drawing delegate on the drop-down list, or takes it off.
    void ApplyOwnerDraw();

    QComboBox* FCombo;
    QStyledItemDelegate* FOwnerDrawDelegate = nullptr;
    std::unique_ptr<TStrings> FItems;
    Owned<TCanvas> FCanvas;
    TComboBoxStyle FStyle = csDropDown;
    int FMaxLength = 0;
    bool FSorted = false;
    int FDropDownCount = 8;
    int FItemHeight = 13;
    int FDropDownWidth = 0; // 0: as wide as the box
    // A stream gives the index and text before the items.
    int FLoadedItemIndex = -1;
    String FLoadedText;
};

class TComboBox : public TCustomComboBox {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TCustomComboBox::TCustomComboBox;
};

// ---------------------------------------------------------------------------

class TCustomMemo : public TWinControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;

    // The lines; changes show at once.
    TStrings* GetLines() const;
    void SetLines(TStrings* Value);
    String GetText() const override;
    void SetText(const String& Value) override;
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    TScrollStyle GetScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool GetWordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool GetWantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }
    bool GetWantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value);
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    int GetMaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value) { FMaxLength = Value; }
    bool WantsReturns() const override { return FWantReturns; }
    void Clear();
    // The selection, counted in characters of the text with each line break as one.
    int GetSelStart() const;
    void SetSelStart(int Value);
    int GetSelLength() const;
    void SetSelLength(int Value);
    // The selected text, its line breaks as in Text.
    String GetSelText() const;
    void SetSelText(const String& Value);
    void SelectAll();

    TNotifyEvent OnChange;

    // Platform side.
    QPlainTextEdit* Editor() const { return FEditor; }

protected:
    virtual void Change();
    TColor DefaultColor() const override { return clWindow; }

private:
    friend class TMemoStrings;
    void ApplyWrapAndBars();

    QPlainTextEdit* FEditor;
    std::unique_ptr<TStrings> FLines;
    bool FReadOnly = false;
    TScrollStyle FScrollBars = ssNone;
    bool FWordWrap = true;
    bool FWantReturns = true;
    bool FWantTabs = false;
    TAlignment FAlignment = taLeftJustify;
    int FMaxLength = 0;
    bool FSilent = false;
};

class TMemo : public TCustomMemo {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TCustomMemo::TCustomMemo;
};

// ---------------------------------------------------------------------------

class TCustomCheckBox : public TButtonControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomCheckBox(TComponent* AOwner);

    void SetText(const String& Value) override;
    String GetText() const override;
    // A change from code fires OnClick, as a click does.
    bool GetChecked() const { return FState == cbChecked; }
    void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
    TCheckBoxState GetState() const { return FState; }
    void SetState(TCheckBoxState Value);
    bool GetAllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value);
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) { FAlignment = Value; }

private:
    QCheckBox* FBox;
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
    TAlignment FAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TCustomCheckBox::TCustomCheckBox;
};

// ---------------------------------------------------------------------------

class TCustomGroupBox : public TWinControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomGroupBox(TComponent* AOwner);

    void SetText(const String& Value) override;
    String GetText() const override;
    TRect AdjustClientRect() const override;

protected:
    QGroupBox* GroupBox() const { return FBox; }

private:
    QGroupBox* FBox;
};

class TGroupBox : public TCustomGroupBox {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TCustomGroupBox::TCustomGroupBox;
};

// ---------------------------------------------------------------------------

class TCustomListBox : public TWinControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    TStrings* GetItems() const;
    void SetItems(TStrings* Value);
    int GetItemIndex() const;
    void SetItemIndex(int Value);
    bool GetMultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value);
    // With multi-select: Shift and Ctrl extend the selection (else every click toggles).
    bool GetExtendedSelect() const { return FExtendedSelect; }
    void SetExtendedSelect(bool Value);
    // Selects every item of a multi-select list.
    virtual void SelectAll();
    bool GetSelected(int Index) const;
    void SetSelected(int Index, bool Value);
    int GetSelCount() const;
    bool GetSorted() const { return FSorted; }
    void SetSorted(bool Value);
    int GetTopIndex() const;
    void SetTopIndex(int Value);
    int GetItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value) { FItemHeight = Value; }
    // The item at a client point, or -1 (Existing: only over an item).
    int ItemAtPos(const TPoint& Pos, bool Existing) const;
    TRect ItemRect(int Index) const;
    void Clear();
    TListBoxStyle GetStyle() const { return FStyle; }
    void SetStyle(TListBoxStyle Value);
    bool IsOwnerDrawn() const {
        return FStyle == lbOwnerDrawFixed || FStyle == lbOwnerDrawVariable || FStyle == lbVirtualOwnerDraw;
    }
    // The canvas an owner-drawn item is being drawn on (its font is the box's).
    TCanvas* GetCanvas();
    // Platform side: draws one item of an owner-drawn box through DrawItem.
    void DrawItemOn(TCanvas* Canvas, int Index, const TRect& Rect, TOwnerDrawState State);

    TDrawItemEvent OnDrawItem;

    // The rows are drawn anew as well as the frame.
    void Invalidate() override;

protected:
    TColor DefaultColor() const override { return clWindow; }
    virtual void ItemAdded(int Index) {}
    // Runs OnDrawItem; without one, fills the rectangle and writes the item's text.
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    QListWidget* List() const { return FList; }

private:
    friend class TListBoxStrings;
    QListWidget* FList;
    std::unique_ptr<TStrings> FItems;
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    bool FSorted = false;
    int FItemHeight = 13;
    TListBoxStyle FStyle = lbStandard;
    Owned<TCanvas> FCanvas;
};

class TListBox : public TCustomListBox {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TCustomListBox::TCustomListBox;
};

// ---------------------------------------------------------------------------

enum TScrollBarKind : std::uint8_t { sbHorizontal, sbVertical };
template <>
const EnumInfo& EnumInfoOf<TScrollBarKind>();

// A scroll bar on its own: its Position runs Min .. Max; every change of the position, by the
// user or from code, fires OnChange.
class TScrollBar : public TWinControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TScrollBar(TComponent* AOwner);

    TScrollBarKind GetKind() const { return FKind; }
    void SetKind(TScrollBarKind Value);
    int GetMin() const { return FMin; }
    void SetMin(int Value) { SetParams(FPosition, Value, FMax); }
    int GetMax() const { return FMax; }
    void SetMax(int Value) { SetParams(FPosition, FMin, Value); }
    int GetPosition() const { return FPosition; }
    void SetPosition(int Value) { SetParams(Value, FMin, FMax); }
    int GetSmallChange() const { return FSmallChange; }
    void SetSmallChange(int Value);
    int GetLargeChange() const { return FLargeChange; }
    void SetLargeChange(int Value);
    // The share of the range one view covers, kept for the program to read: the thumb and the
    // range do not follow it.
    int GetPageSize() const { return FPageSize; }
    void SetPageSize(int Value) { FPageSize = Value; }
    // The range first (EInvalidOperation when Max < Min), then the position kept inside it.
    void SetParams(int APosition, int AMin, int AMax);

    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    QScrollBar* FBar;
    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0, FMax = 100, FPosition = 0;
    int FSmallChange = 1, FLargeChange = 1, FPageSize = 0;
};
