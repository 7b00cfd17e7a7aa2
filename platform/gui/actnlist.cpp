#include "platform/gui/actnlist.h"
#include "platform/gui/guiclasses.h"

#include "platform/core/sysutils.h"
#include "platform/gui/imglist.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// Links

TBasicActionLink::~TBasicActionLink() {
    if (FAction) FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
    if (FAction == Value) return;
    if (FAction) FAction->UnRegisterChanges(this);
    FAction = Value;
    if (FAction) FAction->RegisterChanges(this);
}

void TBasicActionLink::Change() {
    if (OnChange) OnChange(FAction);
}

bool TBasicActionLink::Execute(TComponent* AComponent) {
    if (!FAction) return false;
    FAction->SetActionComponent(AComponent);
    struct Reset {
        TBasicAction* a;
        ~Reset() { a->SetActionComponent(nullptr); }
    } reset{FAction};
    return FAction->Execute();
}

// ---------------------------------------------------------------------------
// TBasicAction

const ClassInfo& TBasicAction::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TBasicAction::OnExecute>("OnExecute"),
        MakeProp<&TBasicAction::OnUpdate>("OnUpdate"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TBasicAction>("TBasicAction", &TComponent::StaticClass(), props);
    return ci;
}

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction() {
    // The clients outlive their action only as links without one.
    for (TBasicActionLink* link : FClients) link->FAction = nullptr;
}

bool TBasicAction::Execute() {
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

bool TBasicAction::Update() {
    if (!OnUpdate) return false;
    OnUpdate(this);
    return true;
}

void TBasicAction::RegisterChanges(TBasicActionLink* Link) {
    FClients.push_back(Link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Link) {
    FClients.erase(std::remove(FClients.begin(), FClients.end(), Link), FClients.end());
}

void TBasicAction::Change() {
    for (TBasicActionLink* link : std::vector<TBasicActionLink*>(FClients)) link->Change();
}

// ---------------------------------------------------------------------------
// TContainedAction

const ClassInfo& TContainedAction::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TContainedAction::GetCategory, &TContainedAction::SetCategory>("Category"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TContainedAction>("TContainedAction", &TBasicAction::StaticClass(), props);
    return ci;
}

TContainedAction::TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}

void TContainedAction::BeforeDestruction() {
    SetActionList(nullptr);
    TBasicAction::BeforeDestruction();
}

void TContainedAction::SetActionList(TCustomActionList* Value) {
    if (FActionList == Value) return;
    if (FActionList) FActionList->RemoveAction(this);
    if (Value) Value->AddAction(this);
}

int TContainedAction::GetIndex() const {
    if (!FActionList) return -1;
    const auto& list = FActionList->FActions;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TContainedAction::GetParentComponent() const {
    return FActionList;
}

void TContainedAction::SetParentComponent(TComponent* Value) {
    if (auto* list = dynamic_cast<TCustomActionList*>(Value)) SetActionList(list);
}

// ---------------------------------------------------------------------------
// TCustomAction: each setter tells the clients before it stores the value, so
// that a link can compare its client with the action's old value.

const ClassInfo& TCustomAction::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TCustomAction>("TCustomAction", &TContainedAction::StaticClass());
    return ci;
}

TCustomAction::TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}

namespace {
template <class F>
void ForEachLink(TBasicAction& action, F&& f) {
    for (TBasicActionLink* c : std::vector<TBasicActionLink*>(action.Clients()))
        if (auto* link = dynamic_cast<TActionLink*>(c)) f(*link);
}
} // namespace

bool TCustomAction::Execute() {
    Update();
    return FEnabled && TContainedAction::Execute();
}

void TCustomAction::SetCaption(const String& Value) {
    if (FCaption == Value) return;
    ForEachLink(*this, [&](TActionLink& l) { l.SetCaption(Value); });
    FCaption = Value;
    Change();
}

void TCustomAction::SetChecked(bool Value) {
    if (FChecked == Value) return;
    ForEachLink(*this, [&](TActionLink& l) { l.SetChecked(Value); });
    FChecked = Value;
    Change();
}

void TCustomAction::SetEnabled(bool Value) {
    if (FEnabled == Value) return;
    ForEachLink(*this, [&](TActionLink& l) { l.SetEnabled(Value); });
    FEnabled = Value;
    Change();
}

void TCustomAction::SetHelpContext(int Value) {
    if (FHelpContext == Value) return;
    ForEachLink(*this, [&](TActionLink& l) { l.SetHelpContext(Value); });
    FHelpContext = Value;
    Change();
}

void TCustomAction::SetHint(const String& Value) {
    if (FHint == Value) return;
    ForEachLink(*this, [&](TActionLink& l) { l.SetHint(Value); });
    FHint = Value;
    Change();
}

void TCustomAction::SetImageIndex(TImageIndex Value) {
    if (FImageIndex == Value) return;
    ForEachLink(*this, [&](TActionLink& l) { l.SetImageIndex(Value); });
    FImageIndex = Value;
    Change();
}

void TCustomAction::SetShortCut(TShortCut Value) {
    if (FShortCut == Value) return;
    ForEachLink(*this, [&](TActionLink& l) { l.SetShortCut(Value); });
    FShortCut = Value;
    Change();
}

void TCustomAction::SetVisible(bool Value) {
    if (FVisible == Value) return;
    ForEachLink(*this, [&](TActionLink& l) { l.SetVisible(Value); });
    FVisible = Value;
    Change();
}

const ClassInfo& TAction::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TCustomAction::GetCaption, &TCustomAction::SetCaption>("Caption"),
        MakeProp<&TCustomAction::GetChecked, &TCustomAction::SetChecked>("Checked").Default(false),
        MakeProp<&TCustomAction::GetEnabled, &TCustomAction::SetEnabled>("Enabled").Default(true),
        MakeProp<&TCustomAction::GetHelpContext, &TCustomAction::SetHelpContext>("HelpContext").Default(0),
        MakeProp<&TCustomAction::GetHint, &TCustomAction::SetHint>("Hint"),
        MakeProp<&TCustomAction::GetImageIndex, &TCustomAction::SetImageIndex>("ImageIndex").Default(-1),
        MakeProp<&TCustomAction::GetShortCut, &TCustomAction::SetShortCut>("ShortCut").Default(0),
        MakeProp<&TCustomAction::GetVisible, &TCustomAction::SetVisible>("Visible").Default(true),
    };
    static const ClassInfo ci = MakeClassInfo<TAction>("TAction", &TCustomAction::StaticClass(), props);
    return ci;
}

// ---------------------------------------------------------------------------
// TCustomActionList

const ClassInfo& TCustomActionList::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TCustomActionList>("TCustomActionList", &TComponent::StaticClass());
    return ci;
}

TCustomActionList::TCustomActionList(TComponent* AOwner) : TComponent(AOwner) {}

void TCustomActionList::BeforeDestruction() {
    // The actions stay with their owner; they only leave the list.
    while (!FActions.empty()) FActions.back()->SetActionList(nullptr);
    SetImages(nullptr);
    TComponent::BeforeDestruction();
}

TContainedAction* TCustomActionList::GetAction(int Index) const {
    if (Index < 0 || Index >= GetActionCount()) throw EListError(u"List index out of bounds (%d)", {Index});
    return FActions[static_cast<std::size_t>(Index)];
}

void TCustomActionList::SetImages(TCustomImageList* Value) {
    if (FImages == Value) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (Value) Value->FreeNotification(this);
}

bool TCustomActionList::IsShortCut(TShortCut ShortCut) {
    if (ShortCut == 0) return false;
    for (TContainedAction* a : FActions) {
        auto* ca = dynamic_cast<TCustomAction*>(a);
        if (ca && ca->GetShortCut() == ShortCut) return ca->Execute();
    }
    return false;
}

void TCustomActionList::GetChildren(TGetChildProc Proc, TComponent* Root) {
    for (TContainedAction* a : FActions)
        if (a->GetOwner() == Root) Proc(a);
}

void TCustomActionList::SetChildOrder(TComponent* Child, int Order) {
    auto* a = dynamic_cast<TContainedAction*>(Child);
    auto it = std::find(FActions.begin(), FActions.end(), a);
    if (it == FActions.end()) return;
    FActions.erase(it);
    Order = std::clamp(Order, 0, static_cast<int>(FActions.size()));
    FActions.insert(FActions.begin() + Order, a);
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TCustomActionList::AddAction(TContainedAction* Action) {
    FActions.push_back(Action);
    Action->FActionList = this;
    Action->FreeNotification(this);
}

void TCustomActionList::RemoveAction(TContainedAction* Action) {
    auto it = std::find(FActions.begin(), FActions.end(), Action);
    if (it == FActions.end()) return;
    FActions.erase(it);
    Action->FActionList = nullptr;
}

const ClassInfo& TActionList::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TCustomActionList::GetImages, &TCustomActionList::SetImages>("Images"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TActionList>("TActionList", &TCustomActionList::StaticClass(), props);
    return ci;
}

void RegisterActnListClasses() {
    RegisterClasses({&TAction::StaticClass(), &TActionList::StaticClass()});
}
