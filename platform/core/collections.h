#pragma once
// Classes: collections of persistent items made through the item class's
// virtual constructor (the record's newItem).

#include "platform/core/components.h"
#include "platform/core/lists.h"

enum TCollectionNotification : std::uint8_t { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    // Joins Collection (which may be nullptr: an item can live on its own).
    // The collection hears of the new item (Notify cnAdded, Update) only from
    // AfterConstruction, when the item is whole; a descendant that overrides
    // AfterConstruction calls this one.
    explicit TCollectionItem(TCollection* Collection);
    ~TCollectionItem() override;
    void AfterConstruction() override;
    // Leaves the collection, so freeing an item removes it from its list.
    void BeforeDestruction() override;

    TCollection* GetCollection() const { return FCollection; }
    virtual void SetCollection(TCollection* Value);
    int GetID() const { return FID; }
    // Position in the collection, -1 without one; setting it moves the item.
    int GetIndex() const;
    virtual void SetIndex(int Value);
    virtual String GetDisplayName() const;
    virtual void SetDisplayName(const String& Value);
    String GetNamePath() const override;
    TPersistent* GetOwner() const override;

protected:
    // Tells the collection that this item (or, with AllItems, every item) changed.
    void Changed(bool AllItems);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    int FID = 0;
    bool FAnnounced = false; // the collection has been told of this item
    bool FTornDown = false;
};

class TCollection : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCollection(const ClassInfo& ItemClass);
    ~TCollection() override;
    // Frees the items while the collection's overrides still answer.
    void BeforeDestruction() override;

    // A new item of ItemClass at the end.
    TCollectionItem* Add();
    // A new item moved to Index (EListError when Index is out of range).
    TCollectionItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    void Assign(TPersistent* Source) override;
    void BeginUpdate();
    void EndUpdate();
    int GetUpdateCount() const { return FUpdateCount; }
    TCollectionItem* FindItemID(int ID) const;

    int GetCount() const { return FItems.GetCount(); }
    TCollectionItem* GetItem(int Index) const { return FItems.Get(Index); }
    // Copies Value into the item at Index (Assign).
    void SetItem(int Index, TCollectionItem* Value);
    TCollectionItem* operator[](int Index) const { return GetItem(Index); }
    TCollectionItem* const* begin() const { return FItems.begin(); }
    TCollectionItem* const* end() const { return FItems.end(); }
    const ClassInfo& GetItemClass() const { return *FItemClass; }
    TPersistent* Owner() const { return GetOwner(); }
    int GetNextID() const { return FNextID; }
    String GetNamePath() const override;
    // The owner's published property that holds this collection; empty when none.
    String GetPropName() const;

protected:
    void Changed();
    virtual void Notify(TCollectionItem* Item, TCollectionNotification Action) {}
    // Item is the one that changed, or nullptr when all did.
    virtual void Update(TCollectionItem* Item) {}
    void SetNextID(int Value) { FNextID = Value; }

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* Item);
    void RemoveItem(TCollectionItem* Item);
    void Announce(TCollectionItem* Item);

    const ClassInfo* FItemClass;
    TListOf<TCollectionItem*> FItems;
    int FUpdateCount = 0;
    int FNextID = 0;
    bool FTornDown = false;
};

// A collection that knows its owner, for name paths and streaming.
class TOwnedCollection : public TCollection {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TOwnedCollection(TPersistent* AOwner, const ClassInfo& ItemClass)
        : TCollection(ItemClass), FOwner(AOwner) {}
    TPersistent* GetOwner() const override { return FOwner; }

private:
    TPersistent* FOwner;
};
