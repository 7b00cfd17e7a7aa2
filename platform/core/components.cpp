#include "platform/core/components.h"

#include "platform/core/sysutils.h"

#include <algorithm>

template <>
const EnumInfo& EnumInfoOf<TComponentStateItem>() {
    static const EnumInfo info{"TComponentState",
                               {"csLoading", "csReading", "csWriting", "csDestroying", "csDesigning",
                                "csAncestor", "csUpdating", "csFixups", "csFreeNotification", "csInline",
                                "csDesignInstance"}};
    return info;
}

// ---------------------------------------------------------------------------
// TPersistent

const ClassInfo& TPersistent::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TPersistent>("TPersistent", &TObject::StaticClass());
    return ci;
}

void TPersistent::Assign(TPersistent* Source) {
    if (Source)
        Source->AssignTo(this);
    else
        AssignTo(nullptr); // the error names "nil" as the source
}

void TPersistent::AssignTo(TPersistent* Dest) const {
    // Called on the source; a nil source reaches here through Assign(nullptr) on
    // the destination, so the names swap.
    if (Dest) throw EConvertError(u"Cannot assign a %s to a %s", {ClassName(), Dest->ClassName()});
    throw EConvertError(u"Cannot assign a %s to a %s", {String(u"nil"), ClassName()});
}

String TPersistent::GetNamePath() const {
    String result = ClassName();
    if (TPersistent* owner = GetOwner()) {
        const String ownerPath = owner->GetNamePath();
        if (!ownerPath.empty()) result = ownerPath + u"." + result;
    }
    return result;
}

// ---------------------------------------------------------------------------
// TComponent

const ClassInfo& TComponent::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TComponent::GetName, &TComponent::SetName>("Name").Stored(false),
        MakeProp<&TComponent::GetTag, &TComponent::SetTag>("Tag").Default(0),
    };
    static const ClassInfo ci = MakeClassInfo<TComponent>("TComponent", &TPersistent::StaticClass(), props);
    return ci;
}

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner) AOwner->InsertComponent(this);
}

void TComponent::BeforeDestruction() {
    if (!Constructed()) ReportUnconstructed(*this);
    if (!FComponentState.Contains(csDestroying)) Destroying();
    // Done here rather than in the destructor so that the notifications reach
    // the most-derived overrides of everyone involved, and so that the owner's
    // family hears of the removal while this component is still whole.
    RemoveFreeNotifications();
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
    FTornDown = true;
}

TComponent::~TComponent() {
    if (!FTornDown) {
        if (!Constructed()) ReportUnconstructed(*this);
        Destroying();
        RemoveFreeNotifications();
        DestroyComponents();
    }
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::Destroying() {
    if (FComponentState.Contains(csDestroying)) return;
    FComponentState.Include(csDestroying);
    for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* instance = FComponents.back();
        if (instance->FComponentState.Contains(csFreeNotification))
            RemoveComponent(instance);
        else
            Remove(instance);
        instance->Free();
    }
}

TComponent* TComponent::GetComponent(int Index) const {
    if (Index < 0 || Index >= GetComponentCount())
        throw EListError(u"List index out of bounds (%d)", {Index});
    return FComponents[static_cast<std::size_t>(Index)];
}

int TComponent::GetComponentIndex() const {
    if (!FOwner) return -1;
    const auto& list = FOwner->FComponents;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetComponentIndex(int Value) {
    if (!FOwner) return;
    auto& list = FOwner->FComponents;
    const int current = GetComponentIndex();
    if (current < 0) return;
    const int count = static_cast<int>(list.size());
    if (Value < 0) Value = 0;
    if (Value >= count) Value = count - 1;
    if (Value == current) return;
    list.erase(list.begin() + current);
    list.insert(list.begin() + Value, this);
}

void TComponent::SetName(const String& NewName) {
    if (FName == NewName) return;
    if (!NewName.empty() && !IsValidIdent(NewName))
        throw EComponentError(u"'%s' is not a valid component name", {NewName});
    if (FOwner)
        FOwner->ValidateRename(this, FName, NewName);
    else
        ValidateRename(nullptr, FName, NewName);
    ChangeName(NewName);
}

void TComponent::ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName) {
    // A change of case only keeps the component its own name.
    if (!AComponent || NewName.empty() || SameIdent(UTF8Encode(CurName), UTF8Encode(NewName))) return;
    // A component on its way in (no owner yet) is checked too: two components
    // of one name would break every lookup and fix-up by name.
    if ((AComponent->FOwner == this || !AComponent->FOwner) && FindComponent(NewName))
        throw EComponentError(u"A component named %s already exists", {NewName});
}

TComponent* TComponent::FindComponent(const String& AName) const {
    if (AName.empty()) return nullptr;
    const AnsiString wanted = UTF8Encode(AName);
    for (TComponent* c : FComponents)
        if (SameIdent(UTF8Encode(c->FName), wanted)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
    AComponent->ValidateContainer(this);
    ValidateRename(AComponent, String(), AComponent->FName);
    ValidateInsert(AComponent);
    Insert(AComponent);
    if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    ValidateRename(AComponent, AComponent->FName, String());
    Notification(AComponent, opRemove);
    Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent) {
    auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
    if (it != FComponents.end()) FComponents.erase(it);
    AComponent->FOwner = nullptr;
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
    // Index walk that survives components leaving the list while it is told.
    int i = GetComponentCount() - 1;
    while (i >= 0) {
        FComponents[static_cast<std::size_t>(i)]->Notification(AComponent, Operation);
        --i;
        if (i >= GetComponentCount()) i = GetComponentCount() - 1;
    }
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (!AComponent) return;
    if (!FOwner || AComponent->FOwner != FOwner) {
        if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
            FFreeNotifies.push_back(AComponent);
            AComponent->FreeNotification(this);
        }
    }
    FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    RemoveNotification(AComponent);
    AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
    auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
    if (it != FFreeNotifies.end()) FFreeNotifies.erase(it);
}

void TComponent::RemoveFreeNotifications() {
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        other->Notification(this, opRemove);
        // A Notification override that does not call the inherited one would
        // leave the link in place; drop it so the loop ends.
        if (!FFreeNotifies.empty() && FFreeNotifies.back() == other) RemoveFreeNotification(other);
    }
}

void TComponent::Loaded() {
    FComponentState.Exclude(csLoading);
}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
    if (Value)
        FComponentState.Include(csDesigning);
    else
        FComponentState.Exclude(csDesigning);
    if (SetChildren)
        for (TComponent* c : FComponents) c->SetDesigning(Value, true);
}

void TComponent::SetSubComponent(bool IsSubComponent) {
    if (IsSubComponent)
        FComponentStyle.Include(csSubComponent);
    else
        FComponentStyle.Exclude(csSubComponent);
}

String TComponent::GetNamePath() const {
    return FName;
}

bool IsValidIdent(std::u16string_view Ident) {
    if (Ident.empty()) return false;
    const auto alpha = [](char16_t c) {
        return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
    };
    if (!alpha(Ident[0])) return false;
    for (char16_t c : Ident.substr(1))
        if (!alpha(c) && !(c >= u'0' && c <= u'9')) return false;
    return true;
}
