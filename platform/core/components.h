#pragma once
// Classes: persistent objects and components (ownership, names, notifications,
// component state).

#include "platform/core/system.h"
#include "platform/core/typinfo.h"

#include <functional>
#include <vector>

class TFiler;
class TReader;
class TWriter;

enum TComponentStateItem : std::uint8_t {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFixups,
    csFreeNotification,
    csInline,
    csDesignInstance,
};
using TComponentState = Set<TComponentStateItem>;
template <>
const EnumInfo& EnumInfoOf<TComponentStateItem>();

enum TComponentStyleItem : std::uint8_t { csInheritable, csCheckPropAvail, csSubComponent, csTransient };
using TComponentStyle = Set<TComponentStyleItem>;

enum TOperation : std::uint8_t { opInsert, opRemove };

using TGetChildProc = std::function<void(TComponent* Child)>;

class TPersistent : public TObject {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    // Copies Source into this object; a class that does not know Source asks
    // Source's AssignTo, which raises "Cannot assign a X to a Y".
    virtual void Assign(TPersistent* Source);
    virtual String GetNamePath() const;
    virtual TPersistent* GetOwner() const { return nullptr; }
    // Published-data hooks of the component streams.
    virtual void DefineProperties(TFiler* Filer) {}

protected:
    virtual void AssignTo(TPersistent* Dest) const;
};

class TComponent : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    // Joins AOwner at once, so the owner's family hears of the insert (opInsert)
    // before a descendant's constructor has run: an insert notice may look at
    // the new component's identity, not at its state.
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    void BeforeDestruction() override;

    TComponent* GetOwner() const override { return FOwner; }
    int GetComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* GetComponent(int Index) const; // raises EListError when out of range
    const std::vector<TComponent*>& Components() const { return FComponents; }
    int GetComponentIndex() const;
    void SetComponentIndex(int Value);

    const String& GetName() const { return FName; }
    virtual void SetName(const String& NewName);
    NativeInt GetTag() const { return FTag; }
    void SetTag(NativeInt Value) { FTag = Value; }
    TComponentState GetComponentState() const { return FComponentState; }
    TComponentStyle GetComponentStyle() const { return FComponentStyle; }
    void SetSubComponent(bool IsSubComponent);

    // Case-insensitive search among the owned components; nullptr when absent.
    TComponent* FindComponent(const String& AName) const;
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    void DestroyComponents();
    void Destroying();

    // Two-way link: whichever of the two is freed first tells the other.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Every component that the owner family should know of is told here: the
    // owner passes insert and remove notices on to all its components.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    virtual void Loaded();

    // Streaming of child components and their visual parents.
    virtual void GetChildren(TGetChildProc Proc, TComponent* Root) {}
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent* Value) {}
    virtual void SetChildOrder(TComponent* Child, int Order) {}
    // The component's own record in a component stream (defined with the filer).
    virtual void ReadState(TReader* Reader);
    virtual void WriteState(TWriter* Writer);
    // A component without a visual place keeps the designer's position of its
    // icon ("Left", "Top") so that form resources keep it through a round trip.
    void DefineProperties(TFiler* Filer) override;
    Integer GetDesignLeft() const { return FDesignLeft; }
    Integer GetDesignTop() const { return FDesignTop; }
    String GetNamePath() const override;

    // Component state changes made by readers, writers and tests.
    void SetDesigning(bool Value, bool SetChildren = true);
    void IncludeState(TComponentStateItem Item) { FComponentState.Include(Item); }
    void ExcludeState(TComponentStateItem Item) { FComponentState.Exclude(Item); }

protected:
    virtual void ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName);
    virtual void ValidateInsert(TComponent* AComponent) {}
    virtual void ValidateContainer(TComponent* AComponent) {}
    void ChangeName(const String& NewName) { FName = NewName; }
    void SetOwnerField(TComponent* Owner) { FOwner = Owner; }

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void RemoveNotification(TComponent* AComponent);
    void RemoveFreeNotifications();

    TComponent* FOwner = nullptr;
    String FName;
    NativeInt FTag = 0;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    TComponentState FComponentState;
    TComponentStyle FComponentStyle{csInheritable};
    Integer FDesignLeft = 0;
    Integer FDesignTop = 0;
    bool FTornDown = false;
};

// True when Ident is a valid Pascal identifier.
bool IsValidIdent(std::u16string_view Ident);
