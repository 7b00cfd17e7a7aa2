#include "platform/gui/menus.h"
#include "platform/gui/guiclasses.h"

#include "platform/core/sysutils.h"
#include "platform/gui/imglist.h"
#include "platform/gui/qtbridge.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>

using namespace gui_detail;

// ---------------------------------------------------------------------------
// Shortcuts

TShortCut ShortCut(Word Key, TShiftState Shift) {
    if (Key > 0xFF) return 0;
    TShortCut sc = Key;
    if (Shift.Contains(ssShift)) sc |= scShift;
    if (Shift.Contains(ssCtrl)) sc |= scCtrl;
    if (Shift.Contains(ssAlt)) sc |= scAlt;
    return sc;
}

void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift) {
    Key = ShortCut & 0xFF;
    Shift = {};
    if (ShortCut & scShift) Shift += ssShift;
    if (ShortCut & scCtrl) Shift += ssCtrl;
    if (ShortCut & scAlt) Shift += ssAlt;
}

namespace {

struct KeyName {
    Word key;
    std::u16string_view name;
};
constexpr KeyName kKeyNames[] = {
    {VK_BACK, u"BkSp"},   {VK_TAB, u"Tab"},    {VK_ESCAPE, u"Esc"}, {VK_RETURN, u"Enter"},
    {VK_SPACE, u"Space"}, {VK_PRIOR, u"PgUp"}, {VK_NEXT, u"PgDn"},  {VK_END, u"End"},
    {VK_HOME, u"Home"},   {VK_LEFT, u"Left"},  {VK_UP, u"Up"},      {VK_RIGHT, u"Right"},
    {VK_DOWN, u"Down"},   {VK_INSERT, u"Ins"}, {VK_DELETE, u"Del"},
};

String KeyToText(Word key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return String(1, static_cast<char16_t>(key));
    if (key >= VK_F1 && key <= VK_F12) return u"F" + IntToStr(key - VK_F1 + 1);
    for (const KeyName& k : kKeyNames)
        if (k.key == key) return String(k.name);
    return {};
}

} // namespace

String ShortCutToText(TShortCut ShortCut) {
    const String name = KeyToText(ShortCut & 0xFF);
    if (name.empty()) return {};
    String s;
    if (ShortCut & scShift) s += u"Shift+";
    if (ShortCut & scCtrl) s += u"Ctrl+";
    if (ShortCut & scAlt) s += u"Alt+";
    return s + name;
}

TShortCut TextToShortCut(const String& Text) {
    String rest = Text;
    TShortCut mods = 0;
    for (;;) {
        auto take = [&](std::u16string_view prefix, TShortCut bit) {
            if (rest.size() > prefix.size() && SameText(rest.substr(0, prefix.size()), String(prefix))) {
                rest.erase(0, prefix.size());
                mods |= bit;
                return true;
            }
            return false;
        };
        if (!take(u"Shift+", scShift) && !take(u"Ctrl+", scCtrl) && !take(u"Alt+", scAlt)) break;
    }
    for (Word key = 1; key <= 0xFF; ++key) {
        const String name = KeyToText(key);
        if (!name.empty() && SameText(name, rest)) return static_cast<TShortCut>(key | mods);
    }
    return 0;
}

// ---------------------------------------------------------------------------
// TMenuItem

const ClassInfo& TMenuItem::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TMenuItem::GetAction, &TMenuItem::SetAction>("Action"),
        MakeProp<&TMenuItem::GetCaption, &TMenuItem::SetCaption>("Caption")
            .Stored<&TMenuItem::IsCaptionStored>(),
        MakeProp<&TMenuItem::GetChecked, &TMenuItem::SetChecked>("Checked").Default(false),
        MakeProp<&TMenuItem::GetDefault, &TMenuItem::SetDefault>("Default").Default(false),
        MakeProp<&TMenuItem::GetEnabled, &TMenuItem::SetEnabled>("Enabled")
            .Default(true)
            .Stored<&TMenuItem::IsEnabledStored>(),
        MakeProp<&TMenuItem::GetGroupIndex, &TMenuItem::SetGroupIndex>("GroupIndex").Default(0),
        MakeProp<&TMenuItem::GetHelpContext, &TMenuItem::SetHelpContext>("HelpContext").Default(0),
        MakeProp<&TMenuItem::GetHint, &TMenuItem::SetHint>("Hint"),
        MakeProp<&TMenuItem::GetImageIndex, &TMenuItem::SetImageIndex>("ImageIndex").Default(-1),
        MakeProp<&TMenuItem::GetRadioItem, &TMenuItem::SetRadioItem>("RadioItem").Default(false),
        MakeProp<&TMenuItem::GetShortCut, &TMenuItem::SetShortCut>("ShortCut")
            .Default(0)
            .Stored<&TMenuItem::IsShortCutStored>(),
        MakeProp<&TMenuItem::GetVisible, &TMenuItem::SetVisible>("Visible").Default(true),
        MakeProp<&TMenuItem::OnClick>("OnClick"),
    };
    static const ClassInfo ci = MakeClassInfo<TMenuItem>("TMenuItem", &TComponent::StaticClass(), props);
    return ci;
}

namespace {
// The popup menu on the screen now, and the item chosen in it: the item is
// clicked once the menu has closed, as the system sends a menu's command after
// the menu is gone, so a handler that opens a modal window leaves no menu behind.
TPopupMenu* gShownPopup = nullptr;
TMenuItem* gChosenItem = nullptr;
} // namespace

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {
    EnsureQtApplication();
    FQAction = new QAction();
    QObject::connect(FQAction, &QAction::triggered, [this](bool) {
        if (gShownPopup && GetParentMenu() == gShownPopup) {
            gChosenItem = this;
            return;
        }
        Guarded(this, [this] { Click(); });
    });
}

TMenuItem::~TMenuItem() {
    if (gChosenItem == this) gChosenItem = nullptr;
    FActionLink.reset();
    delete FSubMenu;
    delete FQAction;
}

void TMenuItem::BeforeDestruction() {
    if (!GetComponentState().Contains(csDestroying)) Destroying();
    SetAction(nullptr);
    // Children owned elsewhere go with their parent item, as controls do.
    while (!FItems.empty()) {
        TMenuItem* child = FItems.back();
        Remove(child);
        child->Free();
    }
    if (FParent) FParent->Remove(this);
    TComponent::BeforeDestruction();
}

void TMenuItem::UpdateQAction() {
    if (IsLine()) {
        FQAction->setSeparator(true);
        FQAction->setText({});
    } else {
        FQAction->setSeparator(false);
        QString text = ToQString(FCaption);
        // The shortcut's text shows beside the caption; the shortcut itself is
        // dispatched by the form, so Qt must not act on it a second time.
        if (FShortCut != 0) text += QLatin1Char('\t') + ToQString(ShortCutToText(FShortCut));
        FQAction->setText(text);
    }
    FQAction->setCheckable(FChecked || FRadioItem);
    FQAction->setChecked(FChecked);
    FQAction->setEnabled(FEnabled);
    FQAction->setVisible(FVisible);
    QFont f = FQAction->font();
    f.setBold(FDefault);
    FQAction->setFont(f);
    QIcon icon;
    if (TMenu* menu = GetParentMenu(); menu && menu->GetImages() && FImageIndex >= 0)
        icon = menu->GetImages()->IconOf(FImageIndex);
    FQAction->setIcon(icon);
}

void TMenuItem::SetCaption(const String& Value) {
    if (FCaption == Value) return;
    FCaption = Value;
    UpdateQAction();
}
void TMenuItem::SetChecked(bool Value) {
    if (FChecked == Value) return;
    FChecked = Value;
    // Checking a radio item unchecks the others of its group.
    if (Value && FRadioItem && FParent)
        for (TMenuItem* sibling : FParent->FItems)
            if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex)
                sibling->SetChecked(false);
    UpdateQAction();
}
void TMenuItem::SetEnabled(bool Value) {
    if (FEnabled == Value) return;
    FEnabled = Value;
    UpdateQAction();
}
void TMenuItem::SetVisible(bool Value) {
    if (FVisible == Value) return;
    FVisible = Value;
    UpdateQAction();
}
void TMenuItem::SetShortCut(TShortCut Value) {
    if (FShortCut == Value) return;
    FShortCut = Value;
    UpdateQAction();
}
void TMenuItem::SetImageIndex(TImageIndex Value) {
    if (FImageIndex == Value) return;
    FImageIndex = Value;
    UpdateQAction();
}
void TMenuItem::SetRadioItem(bool Value) {
    FRadioItem = Value;
    UpdateQAction();
}
void TMenuItem::SetDefault(bool Value) {
    FDefault = Value;
    UpdateQAction();
}

TBasicAction* TMenuItem::GetAction() const {
    return FActionLink ? FActionLink->GetAction() : nullptr;
}

void TMenuItem::SetAction(TBasicAction* Value) {
    if (LinkAction(this, FActionLink, Value, [this] { return std::make_unique<TMenuActionLink>(this); }))
        ActionChange(Value, Value->GetComponentState().Contains(csLoading));
}

void TMenuItem::ActionChange(TObject* Sender, bool CheckDefaults) {
    auto* a = dynamic_cast<TCustomAction*>(Sender);
    if (!a) return;
    if (!CheckDefaults || FCaption.empty()) SetCaption(a->GetCaption());
    if (!CheckDefaults || !FChecked) SetChecked(a->GetChecked());
    if (!CheckDefaults || FEnabled) SetEnabled(a->GetEnabled());
    if (!CheckDefaults || FHelpContext == 0) SetHelpContext(a->GetHelpContext());
    if (!CheckDefaults || FHint.empty()) SetHint(a->GetHint());
    if (!CheckDefaults || FImageIndex == -1) SetImageIndex(a->GetImageIndex());
    if (!CheckDefaults || FShortCut == 0) SetShortCut(a->GetShortCut());
    if (!CheckDefaults || FVisible) SetVisible(a->GetVisible());
}

bool TMenuItem::IsCaptionStored() const {
    return !FActionLink || !FActionLink->IsCaptionLinked();
}
bool TMenuItem::IsEnabledStored() const {
    return !FActionLink || !FActionLink->IsEnabledLinked();
}
bool TMenuItem::IsShortCutStored() const {
    return !FActionLink || !FActionLink->IsShortCutLinked();
}

TMenuItem* TMenuItem::GetItem(int Index) const {
    if (Index < 0 || Index >= GetCount()) throw EMenuError(u"Menu index out of range");
    return FItems[static_cast<std::size_t>(Index)];
}

void TMenuItem::Add(TMenuItem* Item) {
    Insert(GetCount(), Item);
}

void TMenuItem::EnsureSubMenu() {
    if (FSubMenu) return;
    FSubMenu = new QMenu();
    FQAction->setMenu(FSubMenu);
}

// Puts a child's action where this item shows its children: the menu's bar or
// popup for a root item, a submenu otherwise.
void TMenuItem::AttachChildAction(TMenuItem* Child) {
    QWidget* host = nullptr;
    if (FMenu) {
        host = FMenu->RootWidget();
    } else {
        EnsureSubMenu();
        host = FSubMenu;
    }
    if (!host) return;
    const int index = IndexOf(Child);
    QAction* before =
        index + 1 < GetCount() ? FItems[static_cast<std::size_t>(index + 1)]->FQAction : nullptr;
    host->insertAction(before, Child->FQAction);
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
    if (!Item) return;
    if (Item->FParent) throw EMenuError(u"Menu inserted twice");
    Index = std::clamp(Index, 0, GetCount());
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
    AttachChildAction(Item);
    Item->UpdateQAction();
}

void TMenuItem::Delete(int Index) {
    TMenuItem* item = GetItem(Index);
    Remove(item);
}

void TMenuItem::Remove(TMenuItem* Item) {
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    if (it == FItems.end()) throw EMenuError(u"Sub-menu is not in menu");
    FItems.erase(it);
    Item->FParent = nullptr;
    QWidget* host = FMenu ? FMenu->RootWidget() : FSubMenu;
    if (host) host->removeAction(Item->FQAction);
}

void TMenuItem::Clear() {
    while (!FItems.empty()) {
        TMenuItem* item = FItems.back();
        Remove(item);
        item->Free();
    }
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TMenuItem* TMenuItem::Find(const String& ACaption) const {
    // Accelerator marks do not count.
    auto strip = [](String s) {
        s.erase(std::remove(s.begin(), s.end(), u'&'), s.end());
        return s;
    };
    for (TMenuItem* item : FItems)
        if (SameText(strip(item->FCaption), strip(ACaption))) return item;
    return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->FParent) item = item->FParent;
    return item->FMenu;
}

void TMenuItem::Click() {
    if (!FEnabled) return;
    TBasicAction* action = GetAction();
    if (OnClick && (!action || !(OnClick == action->OnExecute)))
        OnClick(this);
    else if (action)
        FActionLink->Execute(this);
    else if (OnClick)
        OnClick(this);
}

TComponent* TMenuItem::GetParentComponent() const {
    if (FParent && FParent->FMenu) return FParent->FMenu;
    return FParent;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
    if (FParent) FParent->Remove(this);
    if (auto* menu = dynamic_cast<TMenu*>(Value))
        menu->GetItems()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(Value))
        item->Add(this);
}

void TMenuItem::GetChildren(TGetChildProc Proc, TComponent* Root) {
    for (TMenuItem* item : FItems)
        if (item->GetOwner() == Root) Proc(item);
}

void TMenuItem::SetChildOrder(TComponent* Child, int Order) {
    auto* item = dynamic_cast<TMenuItem*>(Child);
    if (!item || item->FParent != this) return;
    Remove(item);
    Insert(Order, item);
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && FActionLink && AComponent == FActionLink->GetAction()) SetAction(nullptr);
}

void TMenuItem::Loaded() {
    TComponent::Loaded();
    if (FActionLink) ActionChange(FActionLink->GetAction(), true);
}

// ---------------------------------------------------------------------------
// TMenu

const ClassInfo& TMenu::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TMenu::GetImages, &TMenu::SetImages>("Images"),
    };
    static const ClassInfo ci = MakeClassInfo<TMenu>("TMenu", &TComponent::StaticClass(), props);
    return ci;
}

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(MakeOwned<TMenuItem>(nullptr)) {
    FItems->FMenu = this;
}

TMenu::~TMenu() = default;

void TMenu::BeforeDestruction() {
    if (!GetComponentState().Contains(csDestroying)) Destroying();
    FItems->Clear();
    SetImages(nullptr);
    TComponent::BeforeDestruction();
}

void TMenu::SetImages(TCustomImageList* Value) {
    if (FImages == Value) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (Value) Value->FreeNotification(this);
    RefreshImages();
}

void TMenu::RefreshImages() {
    std::function<void(TMenuItem*)> walk = [&](TMenuItem* item) {
        for (TMenuItem* child : item->FItems) {
            child->UpdateQAction();
            walk(child);
        }
    };
    walk(FItems.get());
}

namespace {
TMenuItem* FindByShortCut(const TMenuItem* item, TShortCut sc) {
    for (int i = 0; i < item->GetCount(); ++i) {
        TMenuItem* child = item->GetItem(i);
        if (child->GetShortCut() == sc) return child;
        if (TMenuItem* found = FindByShortCut(child, sc)) return found;
    }
    return nullptr;
}
} // namespace

TMenuItem* TMenu::FindItemByShortCut(TShortCut ShortCut) const {
    if (ShortCut == 0) return nullptr;
    return FindByShortCut(FItems.get(), ShortCut);
}

bool TMenu::IsShortCut(TShortCut ShortCut) {
    TMenuItem* item = FindItemByShortCut(ShortCut);
    if (!item) return false;
    for (TMenuItem* i = item; i && i != FItems.get(); i = i->GetParent())
        if (!i->GetEnabled()) return false;
    item->Click();
    return true;
}

void TMenu::GetChildren(TGetChildProc Proc, TComponent* Root) {
    FItems->GetChildren(Proc, Root);
}

void TMenu::SetChildOrder(TComponent* Child, int Order) {
    FItems->SetChildOrder(Child, Order);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) {
        FImages = nullptr;
        RefreshImages();
    }
}

// ---------------------------------------------------------------------------
// TMainMenu, TPopupMenu

const ClassInfo& TMainMenu::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TMainMenu::GetAutoMerge, &TMainMenu::SetAutoMerge>("AutoMerge").Default(false),
    };
    static const ClassInfo ci = MakeClassInfo<TMainMenu>("TMainMenu", &TMenu::StaticClass(), props);
    return ci;
}

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner) {
    EnsureQtApplication();
    FBar = new QMenuBar();
    // The bar stays inside the window on every desktop, so that the client
    // area below it is laid out the same everywhere.
    FBar->setNativeMenuBar(false);
}

TMainMenu::~TMainMenu() {
    delete FBar;
}

QWidget* TMainMenu::RootWidget() const {
    return FBar;
}

template <>
const EnumInfo& EnumInfoOf<TPopupAlignment>() {
    static const EnumInfo info{"TPopupAlignment", {"paLeft", "paRight", "paCenter"}};
    return info;
}

namespace {
TPopupHook& PopupHook() {
    static TPopupHook hook;
    return hook;
}
} // namespace

void SetPopupHook(TPopupHook Hook) {
    PopupHook() = std::move(Hook);
}

const ClassInfo& TPopupMenu::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TPopupMenu::GetAlignment, &TPopupMenu::SetAlignment>("Alignment").Default(paLeft),
        MakeProp<&TPopupMenu::GetAutoPopup, &TPopupMenu::SetAutoPopup>("AutoPopup").Default(true),
        MakeProp<&TPopupMenu::OnPopup>("OnPopup"),
    };
    static const ClassInfo ci = MakeClassInfo<TPopupMenu>("TPopupMenu", &TMenu::StaticClass(), props);
    return ci;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {
    EnsureQtApplication();
    FMenu = new QMenu();
}

TPopupMenu::~TPopupMenu() {
    delete FMenu;
}

QWidget* TPopupMenu::RootWidget() const {
    return FMenu;
}

void TPopupMenu::Popup(int X, int Y) {
    if (OnPopup) OnPopup(this);
    if (PopupHook()) {
        PopupHook()(this, X, Y);
        return;
    }
    TPopupMenu* const outer = gShownPopup;
    gShownPopup = this;
    gChosenItem = nullptr;
    FMenu->exec(QPoint(X, Y));
    gShownPopup = outer;
    TMenuItem* const chosen = gChosenItem;
    gChosenItem = nullptr;
    if (chosen) Guarded(chosen, [chosen] { chosen->Click(); });
}

void RegisterMenusClasses() {
    RegisterClasses({&TMenuItem::StaticClass(), &TMainMenu::StaticClass(), &TPopupMenu::StaticClass()});
}
