#pragma once
// A bar of flat buttons that moves through the pages or records of a chart panel. The bar
// draws, sizes and operates its buttons; what they do and when they are enabled is for the
// navigators built on it.

#include "chart/canvas/zuzprocs.h"
#include "platform/gui/buttons.h"

#include <array>
#include <cstdint>

class TTimer;

enum TZuzNavigateBtn : std::uint8_t {
    nbFirst,
    nbPrior,
    nbNext,
    nbLast,
    nbInsert,
    nbDelete,
    nbEdit,
    nbPost,
    nbCancel
};
template <>
const EnumInfo& EnumInfoOf<TZuzNavigateBtn>();

using TZuzNavClickEvent = Event<void(TObject* Sender, TZuzNavigateBtn Button)>;

class TCustomZuzNavigator;

// A button of the bar: held down, it clicks again after 400 ms and then every 100 ms while
// the pointer is over it.
class TZuzNavButton : public TSpeedButton {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TZuzNavButton(TComponent* AOwner) : TSpeedButton(AOwner) {}

    TZuzNavigateBtn Index = nbFirst;
    TTimer* GetRepeatTimer() const { return FRepeatTimer; }
    // The button is held with the mouse (the auto-repeat clicks only then).
    bool GetHeld() const { return FHeld; }

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // The keyboard's focus mark is drawn over the button that has it while the bar has the focus.
    bool HasPaintOver() const override;

protected:
    void PaintOver(TCanvas* Canvas) override;

private:
    void TimerExpired(TObject* Sender);
    TTimer* FRepeatTimer = nullptr; // owned by the button, made on the first press
    bool FHeld = false;
    bool FPointerOver = false;
};

class TCustomZuzNavigator : public TCustomPanelNoCaption, public IZuzEventListener {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomZuzNavigator(TComponent* AOwner);
    ~TCustomZuzNavigator() override;
    void BeforeDestruction() override;

    TZuzNavButton* GetButton(TZuzNavigateBtn Index) const { return FButtons[Index]; }
    int GetButtonWidth() const { return FButtonWidth; }
    int GetFocusedButton() const { return FFocusedButton; }
    // A non-empty line i replaces button i's hint; any change puts the hints on again.
    TStrings* GetHints() const { return FHints.get(); }
    void SetHints(TStrings* Value);
    TCustomZuzPanel* GetPanel() const { return FPanel; }

    TZuzNavClickEvent OnButtonClicked;

    virtual void InitButtons();
    virtual void DoZuzEvent(TZuzEvent* Event) {}
    virtual void SetPanel(TCustomZuzPanel* Value);
    virtual void EnableButtons() {}
    virtual int PageCount() { return 1; }
    virtual void Print() {}

    // Every button's click: the buttons are enabled anew, then OnButtonClicked.
    virtual void BtnClick(TZuzNavigateBtn Index);
    // The sizing rule: the size the bar takes for the one asked, with the buttons laid out.
    void SetSize(int& W, int& H);
    void CheckSize();
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetEnabled(bool Value) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void ZuzEvent(TZuzEvent* Event) override { DoZuzEvent(Event); }
    // A press of a button moves the focus mark to it.
    void ButtonMouseDown(TZuzNavButton* Button);

    // Space clicks the focused button; the arrows move the focus mark.
    void KeyDown(Word& Key, TShiftState Shift) override;

protected:
    void DoEnter() override;
    void DoExit() override;

private:
    void ApplyHints();
    void HintsChanged(TObject* Sender) { ApplyHints(); }
    void MoveFocus(int Index);
    std::array<TZuzNavButton*, 9> FButtons{};
    std::unique_ptr<TStringList> FHints;
    std::unique_ptr<TStringList> FDefaultHints;
    TCustomZuzPanel* FPanel = nullptr;
    int FButtonWidth = 20;
    int FFocusedButton = 0;
    TPoint FMinBtnSize{20, 18};
};

void RegisterZuzNavigatorClasses();
