#include "platform/core/collections.h"

#include "platform/core/sysutils.h"

// ---------------------------------------------------------------------------
// TCollectionItem

const ClassInfo& TCollectionItem::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TCollectionItem>("TCollectionItem", &TPersistent::StaticClass());
    return ci;
}

TCollectionItem::TCollectionItem(TCollection* Collection) {
    if (Collection) Collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem() {
    // Reached without Free() (or from a constructor that threw): leave quietly.
    if (!FTornDown && FCollection) FCollection->RemoveItem(this);
}

void TCollectionItem::AfterConstruction() {
    TPersistent::AfterConstruction();
    FAnnounced = true;
    if (FCollection) FCollection->Announce(this);
}

void TCollectionItem::BeforeDestruction() {
    SetCollection(nullptr);
    FTornDown = true;
    TPersistent::BeforeDestruction();
}

void TCollectionItem::SetCollection(TCollection* Value) {
    if (FCollection == Value) return;
    if (Value && FAnnounced && !InheritsFrom(Value->GetItemClass()))
        TList::Error(u"Invalid property value", 0);
    if (FCollection) FCollection->RemoveItem(this);
    if (Value) Value->InsertItem(this);
}

int TCollectionItem::GetIndex() const {
    return FCollection ? FCollection->FItems.IndexOf(const_cast<TCollectionItem*>(this)) : -1;
}

void TCollectionItem::SetIndex(int Value) {
    const int current = GetIndex();
    if (current >= 0 && current != Value) {
        FCollection->FItems.Move(current, Value);
        Changed(true);
    }
}

String TCollectionItem::GetDisplayName() const {
    return ClassName();
}

void TCollectionItem::SetDisplayName(const String& Value) {
    Changed(false);
}

String TCollectionItem::GetNamePath() const {
    if (!FCollection) return ClassName();
    return Format(u"%s[%d]", {FCollection->GetNamePath(), GetIndex()});
}

TPersistent* TCollectionItem::GetOwner() const {
    return FCollection;
}

void TCollectionItem::Changed(bool AllItems) {
    if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AllItems ? nullptr : this);
}

// ---------------------------------------------------------------------------
// TCollection

const ClassInfo& TCollection::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TCollection>("TCollection", &TPersistent::StaticClass());
    return ci;
}

TCollection::TCollection(const ClassInfo& ItemClass) : FItemClass(&ItemClass) {}

void TCollection::BeforeDestruction() {
    FUpdateCount = 1;
    Clear();
    FTornDown = true;
    TPersistent::BeforeDestruction();
}

TCollection::~TCollection() {
    if (!FTornDown) {
        FUpdateCount = 1;
        Clear();
    }
}

TCollectionItem* TCollection::Add() {
    if (!FItemClass->newItem)
        throw EListError(u"Class %s cannot be created", {IdentToString(FItemClass->name)});
    TCollectionItem* item = FItemClass->newItem(this);
    FinishConstruction(item);
    return item;
}

TCollectionItem* TCollection::Insert(int Index) {
    // Checked first so that a bad index leaves no stray item behind.
    if (Index < 0 || Index > GetCount()) TList::Error(u"List index out of bounds (%d)", Index);
    TCollectionItem* item = Add();
    item->SetIndex(Index);
    return item;
}

void TCollection::Delete(int Index) {
    TCollectionItem* item = GetItem(Index);
    Notify(item, cnDeleting);
    item->Free();
}

void TCollection::Clear() {
    if (GetCount() == 0) return;
    WithUpdate(*this, [&] {
        while (GetCount() > 0) FItems.Last()->Free();
    });
}

void TCollection::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TCollection*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this) return;
    WithUpdate(*this, [&] {
        Clear();
        for (int i = 0; i < source->GetCount(); ++i) Add()->Assign(source->GetItem(i));
    });
}

void TCollection::BeginUpdate() {
    ++FUpdateCount;
}

void TCollection::EndUpdate() {
    if (FUpdateCount > 0) --FUpdateCount;
    Changed();
}

void TCollection::Changed() {
    if (FUpdateCount == 0) Update(nullptr);
}

TCollectionItem* TCollection::FindItemID(int ID) const {
    for (TCollectionItem* item : FItems)
        if (item->FID == ID) return item;
    return nullptr;
}

void TCollection::SetItem(int Index, TCollectionItem* Value) {
    GetItem(Index)->Assign(Value);
}

String TCollection::GetNamePath() const {
    const String result = ClassName();
    const TPersistent* owner = GetOwner();
    if (!owner) return result;
    const String ownerPath = owner->GetNamePath();
    if (ownerPath.empty()) return result;
    const String prop = GetPropName();
    if (prop.empty()) return result;
    return ownerPath + u"." + prop;
}

String TCollection::GetPropName() const {
    const TPersistent* owner = GetOwner();
    if (!owner) return String();
    for (const PropInfo* p : owner->ClassType().AllProps())
        if (p->kind == PropKind::Object && p->getObj && p->getObj(*owner) == this)
            return IdentToString(p->name);
    return String();
}

void TCollection::InsertItem(TCollectionItem* Item) {
    FItems.Add(Item);
    Item->FCollection = this;
    Item->FID = FNextID++;
    if (Item->FAnnounced) Announce(Item);
}

void TCollection::Announce(TCollectionItem* Item) {
    Notify(Item, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
    const bool announced = Item->FAnnounced;
    if (announced) Notify(Item, cnExtracting);
    FItems.Remove(Item);
    Item->FCollection = nullptr;
    if (announced) Changed();
}

// ---------------------------------------------------------------------------
// TOwnedCollection

const ClassInfo& TOwnedCollection::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TOwnedCollection>("TOwnedCollection", &TCollection::StaticClass());
    return ci;
}
