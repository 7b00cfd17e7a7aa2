#include "chart/series/zuznavigator.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "platform/core/resources.h"
#include "platform/gui/extctrls.h"

template <>
const EnumInfo& EnumInfoOf<TZuzNavigateBtn>() {
    static const EnumInfo info{
        "TZuzNavigateBtn",
        {"nbFirst", "nbPrior", "nbNext", "nbLast", "nbInsert", "nbDelete", "nbEdit", "nbPost", "nbCancel"}};
    return info;
}

namespace {
constexpr int kButtonCount = 9;
const char16_t* const kGlyphWords[kButtonCount] = {u"First",  u"Prior", u"Next", u"Last",  u"Insert",
                                                   u"Delete", u"Edit",  u"Post", u"Cancel"};
} // namespace

// ---------------------------------------------------------------------------
// TZuzNavButton

const ClassInfo& TZuzNavButton::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TZuzNavButton>("TZuzNavButton", &TSpeedButton::StaticClass());
    return ci;
}

void TZuzNavButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TSpeedButton::MouseDown(Button, Shift, X, Y);
    if (auto* bar = dynamic_cast<TCustomZuzNavigator*>(GetOwner())) bar->ButtonMouseDown(this);
    if (!FRepeatTimer) {
        FRepeatTimer = Create<TTimer>(this);
        FRepeatTimer->OnTimer.Bind(this, &TZuzNavButton::TimerExpired);
    }
    FHeld = true;
    FPointerOver = true;
    FRepeatTimer->SetEnabled(false);
    FRepeatTimer->SetInterval(400);
    FRepeatTimer->SetEnabled(true);
}

void TZuzNavButton::MouseMove(TShiftState Shift, int X, int Y) {
    const bool over = X >= 0 && Y >= 0 && X < GetWidth() && Y < GetHeight();
    if (FHeld && over != FPointerOver) Invalidate();
    FPointerOver = over;
    TSpeedButton::MouseMove(Shift, X, Y);
}

void TZuzNavButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FHeld = false;
    if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
    TSpeedButton::MouseUp(Button, Shift, X, Y);
}

bool TZuzNavButton::HasPaintOver() const {
    const auto* bar = dynamic_cast<const TCustomZuzNavigator*>(GetOwner());
    return bar && bar->GetFocusedButton() == Index && bar->Focused();
}

void TZuzNavButton::PaintOver(TCanvas* Canvas) {
    TRect r(3, 3, GetWidth() - 3, GetHeight() - 3);
    if ((FHeld && FPointerOver) || GetDown()) OffsetRect(r, 1, 1);
    Canvas->DrawFocusRect(r);
}

void TZuzNavButton::TimerExpired(TObject*) {
    FRepeatTimer->SetInterval(100);
    // Dragged off the button, the press is as good as let go until it comes back.
    if (!FHeld || !FPointerOver || !GetEnabled()) return;
    try {
        Click();
    } catch (...) {
        FRepeatTimer->SetEnabled(false);
        throw;
    }
}

// ---------------------------------------------------------------------------
// TCustomZuzNavigator

const ClassInfo& TCustomZuzNavigator::StaticClass() {
    using N = TCustomZuzNavigator;
    static const PropInfo props[] = {
        MakeProp<&N::GetBorderStyle, &N::SetBorderStyle>("BorderStyle").Default(bsNone),
        MakeProp<&N::GetHints, &N::SetHints>("Hints"),
        MakeProp<&N::OnButtonClicked>("OnButtonClicked"),
    };
    static const ClassInfo ci = MakeClassInfo<TCustomZuzNavigator>(
        "TCustomZuzNavigator", &TCustomPanelNoCaption::StaticClass(), props);
    return ci;
}

TCustomZuzNavigator::TCustomZuzNavigator(TComponent* AOwner)
    : TCustomPanelNoCaption(AOwner), FHints(std::make_unique<TStringList>()),
      FDefaultHints(std::make_unique<TStringList>()) {
    FHints->OnChange.Bind(this, &TCustomZuzNavigator::HintsChanged);
    InitButtons();
    ApplyHints();
    SetBevelInner(bvNone);
    SetBevelOuter(bvNone);
    SetBounds(GetLeft(), GetTop(), 241, 25);
}

TCustomZuzNavigator::~TCustomZuzNavigator() = default;

void TCustomZuzNavigator::BeforeDestruction() {
    SetPanel(nullptr);
    TCustomPanelNoCaption::BeforeDestruction();
}

void TCustomZuzNavigator::SetHints(TStrings* Value) {
    FHints->Assign(Value);
}

void TCustomZuzNavigator::InitButtons() {
    FMinBtnSize = TPoint(20, 18);
    int x = 0;
    for (int i = 0; i < kButtonCount; ++i) {
        auto* button = Create<TZuzNavButton>(this);
        button->SetFlat(true);
        button->Index = static_cast<TZuzNavigateBtn>(i);
        button->SetVisible(true);
        button->SetEnabled(false);
        button->SetBounds(x, 0, FMinBtnSize.X, FMinBtnSize.Y);
        x += FMinBtnSize.X;
        const String name = String(u"ZuzNav_") + kGlyphWords[i];
        if (FindResource(UTF8Encode(name), "bmp")) {
            TResourceStream stream(name, "bmp");
            button->GetGlyph()->LoadFromStream(&stream);
            button->SetGlyph(button->GetGlyph());
        }
        button->SetNumGlyphs(2);
        const auto index = static_cast<TZuzNavigateBtn>(i);
        button->OnClick = TNotifyEvent([this, index](TObject*) { BtnClick(index); });
        button->SetParent(this);
        FButtons[static_cast<std::size_t>(i)] = button;
    }
    for (int i = nbInsert; i <= nbCancel; ++i) FButtons[static_cast<std::size_t>(i)]->SetVisible(false);
}

void TCustomZuzNavigator::ApplyHints() {
    if (FDefaultHints->GetCount() == 0)
        for (const String* text : {&VavIve_First, &VavIve_Prior, &VavIve_Next, &VavIve_Last, &VavIve_Insert,
                                   &VavIve_Delete, &VavIve_Edit, &VavIve_Post, &VavIve_Cancel})
            FDefaultHints->Add(*text);
    for (int i = 0; i < kButtonCount; ++i)
        if (FButtons[static_cast<std::size_t>(i)])
            FButtons[static_cast<std::size_t>(i)]->SetHint(FDefaultHints->GetStrings(i));
    for (int i = 0; i < std::min(FHints->GetCount(), kButtonCount); ++i)
        if (!FHints->GetStrings(i).empty() && FButtons[static_cast<std::size_t>(i)])
            FButtons[static_cast<std::size_t>(i)]->SetHint(FHints->GetStrings(i));
}

void TCustomZuzNavigator::SetPanel(TCustomZuzPanel* Value) {
    if (Value == FPanel) return;
    if (FPanel) {
        FPanel->RemoveFreeNotification(this);
        FPanel->RemoveListener(this);
    }
    FPanel = Value;
    if (FPanel) {
        FPanel->FreeNotification(this);
        FPanel->GetListeners()->Add(this);
    }
    EnableButtons();
}

void TCustomZuzNavigator::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomPanelNoCaption::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPanel) SetPanel(nullptr);
}

void TCustomZuzNavigator::BtnClick(TZuzNavigateBtn Index) {
    EnableButtons();
    if (OnButtonClicked) OnButtonClicked(this, Index);
}

void TCustomZuzNavigator::SetSize(int& W, int& H) {
    if (GetComponentState().Contains(csLoading) || !FButtons[0]) return;
    int n = 0;
    for (TZuzNavButton* b : FButtons)
        if (b->GetVisible()) ++n;
    n = std::max(n, 1);
    W = std::max(W, n * FMinBtnSize.X);
    H = std::max(H, FMinBtnSize.Y);
    const int buttonHeight = GetBorderStyle() == bsSingle ? H - 4 : H;
    FButtonWidth = W / n;
    if (GetAlign() == alNone) W = n * FButtonWidth;
    const int remainder = W - n * FButtonWidth;
    int counter = n / 2;
    int x = 0;
    for (TZuzNavButton* b : FButtons) {
        if (!b->GetVisible()) {
            b->SetBounds(W + 1, 0, b->GetWidth(), b->GetHeight());
            continue;
        }
        int width = FButtonWidth;
        counter -= remainder;
        if (counter < 0) {
            counter += n;
            ++width;
        }
        b->SetBounds(x, 0, width, buttonHeight);
        x += width;
    }
}

void TCustomZuzNavigator::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    int w = AWidth, h = AHeight;
    SetSize(w, h);
    TCustomPanelNoCaption::SetBounds(ALeft, ATop, w, h);
}

void TCustomZuzNavigator::CheckSize() {
    int w = GetWidth(), h = GetHeight();
    SetSize(w, h);
    if (w != GetWidth() || h != GetHeight()) TCustomPanelNoCaption::SetBounds(GetLeft(), GetTop(), w, h);
}

void TCustomZuzNavigator::Loaded() {
    TCustomPanelNoCaption::Loaded();
    CheckSize();
    ApplyHints();
    EnableButtons();
}

void TCustomZuzNavigator::SetEnabled(bool Value) {
    TCustomPanelNoCaption::SetEnabled(Value);
    if (!GetComponentState().Contains(csLoading)) EnableButtons();
}

void TCustomZuzNavigator::MoveFocus(int Index) {
    if (Index == FFocusedButton) return;
    const int old = std::exchange(FFocusedButton, Index);
    FButtons[static_cast<std::size_t>(old)]->Invalidate();
    FButtons[static_cast<std::size_t>(Index)]->Invalidate();
}

void TCustomZuzNavigator::ButtonMouseDown(TZuzNavButton* Button) {
    MoveFocus(Button->Index);
    if (GetTabStop() && CanFocus()) SetFocus();
}

void TCustomZuzNavigator::KeyDown(Word& Key, TShiftState Shift) {
    TCustomPanelNoCaption::KeyDown(Key, Shift);
    auto visible = [this](int i) { return FButtons[static_cast<std::size_t>(i)]->GetVisible(); };
    switch (Key) {
    case VK_SPACE:
        if (FButtons[static_cast<std::size_t>(FFocusedButton)]->GetEnabled())
            FButtons[static_cast<std::size_t>(FFocusedButton)]->Click();
        break;
    case VK_LEFT:
        for (int i = FFocusedButton - 1; i >= 0; --i)
            if (visible(i)) {
                MoveFocus(i);
                break;
            }
        break;
    case VK_RIGHT:
        for (int i = FFocusedButton + 1; i < kButtonCount; ++i)
            if (visible(i)) {
                MoveFocus(i);
                break;
            }
        break;
    default:
        break;
    }
}

void TCustomZuzNavigator::DoEnter() {
    TCustomPanelNoCaption::DoEnter();
    FButtons[static_cast<std::size_t>(FFocusedButton)]->Invalidate();
}

void TCustomZuzNavigator::DoExit() {
    TCustomPanelNoCaption::DoExit();
    FButtons[static_cast<std::size_t>(FFocusedButton)]->Invalidate();
}

void RegisterZuzNavigatorClasses() {
    RegisterClasses({&TZuzNavButton::StaticClass(), &TCustomZuzNavigator::StaticClass()});
}
