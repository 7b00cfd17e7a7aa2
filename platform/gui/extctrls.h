#pragma once
// ExtCtrls: panels, radio groups, paint boxes, images and timers.

#include "platform/core/lists.h"
#include "platform/gui/stdctrls.h"

#include <memory>
#include <vector>

class QObject;
class QRadioButton;
class TTimerClock;

enum TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
template <>
const EnumInfo& EnumInfoOf<TBevelCut>();

class TCustomPanel : public TCustomControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomPanel(TComponent* AOwner);

    void SetText(const String& Value) override;
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TBevelCut GetBevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut Value);
    TBevelCut GetBevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);
    int GetBevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    int GetBorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value);
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    bool GetParentBackground() const { return FParentBackground; }
    void SetParentBackground(bool Value) { FParentBackground = Value; }
    bool GetFullRepaint() const { return FFullRepaint; }
    void SetFullRepaint(bool Value) { FFullRepaint = Value; }

    // Inside the border and the bevels.
    TRect AdjustClientRect() const override;

protected:
    void Paint() override;
    void FontChanged() override;
    void ApplyColor() override;

private:
    void Changed();

    TAlignment FAlignment = taCenter;
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TBorderStyle FBorderStyle = bsNone;
    bool FParentBackground = true;
    bool FFullRepaint = true;
};

class TPanel : public TCustomPanel {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TCustomPanel::TCustomPanel;
};

// ---------------------------------------------------------------------------

class TCustomRadioGroup : public TCustomGroupBox {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomRadioGroup(TComponent* AOwner);
    ~TCustomRadioGroup() override;

    TStrings* GetItems() const { return FItems.get(); }
    void SetItems(TStrings* Value);
    int GetItemIndex() const { return FItemIndex; }
    // Checking a button from code clicks it, as the user does.
    void SetItemIndex(int Value);
    int GetColumns() const { return FColumns; }
    void SetColumns(int Value);
    void Loaded() override;

    // Platform side: the radio button of an item.
    QRadioButton* ButtonAt(int Index) const;

protected:
    void Resize() override;
    void FontChanged() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    virtual void Changed() {}

private:
    void ItemsChanged(TObject* Sender);
    void UpdateButtons();
    void UpdateTabEntry();
    void ArrangeButtons();
    void ButtonClicked(int Index);
    void Choose(int Index);

    Owned<TStringList> FItems;
    std::vector<QRadioButton*> FButtons;
    // Hears a button enabled or disabled: the group's Tab entry follows. Gone before the group
    // box and its buttons are, so that none of their last changes reaches this object (a filter
    // that is deleted leaves the objects it watched).
    std::unique_ptr<QObject> FButtonWatch;
    int FItemIndex = -1;
    int FColumns = 1;
    bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TCustomRadioGroup::TCustomRadioGroup;
};

// ---------------------------------------------------------------------------

class TPaintBox : public TGraphicControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TPaintBox(TComponent* AOwner);
    TNotifyEvent OnPaint;

protected:
    void Paint() override {
        if (OnPaint) OnPaint(this);
    }
};

// ---------------------------------------------------------------------------
// A bevel: a sunken or raised box, frame or single line drawn over its bounds.

enum TBevelShape : std::uint8_t {
    bsBox,
    bsFrame,
    bsTopLine,
    bsBottomLine,
    bsLeftLine,
    bsRightLine,
    bsSpacer
};
template <>
const EnumInfo& EnumInfoOf<TBevelShape>();
enum TBevelStyle : std::uint8_t { bsLowered, bsRaised };
template <>
const EnumInfo& EnumInfoOf<TBevelStyle>();

class TBevel : public TGraphicControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TBevel(TComponent* AOwner);
    TBevelShape GetShape() const { return FShape; }
    void SetShape(TBevelShape Value);
    TBevelStyle GetStyle() const { return FStyle; }
    void SetStyle(TBevelStyle Value);

protected:
    void Paint() override;

private:
    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};

// ---------------------------------------------------------------------------
// An image: its picture at the top left, or stretched over the whole control.

class TImage : public TGraphicControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TImage(TComponent* AOwner);
    ~TImage() override;

    TPicture* GetPicture() const { return FPicture.get(); }
    void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
    bool GetStretch() const { return FStretch; }
    void SetStretch(bool Value);

protected:
    void Paint() override;

private:
    Owned<TPicture> FPicture;
    bool FStretch = false;
};

// ---------------------------------------------------------------------------
// Timers run on the application's clock (Application->GetClock()). Setting
// Enabled to true on a running timer does not restart it; a new interval does.

class TTimer : public TComponent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;
    void BeforeDestruction() override;

    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    Cardinal GetInterval() const { return FInterval; }
    void SetInterval(Cardinal Value);

    TNotifyEvent OnTimer;

    // Called by the clock when the interval has passed.
    void HandleTimer();

protected:
    virtual void Timer();

private:
    friend void MoveTimersToClock(TTimerClock* From, TTimerClock* To);
    void UpdateTimer();
    bool Running() const { return FEnabled && FInterval > 0; }

    bool FEnabled = true;
    Cardinal FInterval = 1000;
};

// A drop-down list of colours, each shown with its swatch: the sixteen
// standard colours, and a colour chosen from code that is none of them added
// at the end under its number. The user's choice fires OnChange; setting
// Selected from code fires nothing.
class TColorBox : public TCustomComboBox {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TColorBox(TComponent* AOwner);

    TColor GetSelected() const;
    void SetSelected(TColor Value);
    TColor GetDefaultColorColor() const { return FDefaultColorColor; }
    void SetDefaultColorColor(TColor Value);
    int ColorCount() const { return static_cast<int>(FColors.size()); }
    TColor GetColors(int Index) const { return FColors.at(Index); }
    void Loaded() override;

private:
    int AddColor(TColor Color, const String& Name);
    TColor FDefaultColorColor = clBlack;
    TColor FLoadedSelected = clNone;
    std::vector<TColor> FColors;
};

// Moves the running timers from one clock to another (the application's clock changed).
void MoveTimersToClock(TTimerClock* From, TTimerClock* To);
