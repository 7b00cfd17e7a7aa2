#pragma once
// A tree of captioned nodes, each carrying an object, with one selected node.
// Choosing a node, by the user or from code, asks OnChanging (which may refuse) and then
// fires OnChange; a node deleted while selected leaves no selection and fires nothing, so
// whatever the selection showed stays until something else is chosen.

#include "platform/gui/controls.h"

#include <memory>
#include <vector>

class QTreeWidgetItem;
class TTreeNodes;
class TTreeView;
namespace gui_detail {
class TreeWidget;
}

class TTreeNode {
public:
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;
    ~TTreeNode();

    TTreeNodes* GetOwner() const { return FOwner; }
    TTreeView* GetTreeView() const;
    String GetText() const { return FText; }
    void SetText(const String& Value);
    TObject* GetData() const { return FData; }
    void SetData(TObject* Value) { FData = Value; }
    TTreeNode* GetParent() const { return FParent; }
    int GetCount() const { return static_cast<int>(FChildren.size()); }
    bool GetHasChildren() const { return !FChildren.empty(); }
    TTreeNode* GetItem(int Index) const;
    TTreeNode* GetFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front().get(); }
    TTreeNode* GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back().get(); }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    // The next node in tree order (first child, else next sibling, else an ancestor's next sibling).
    TTreeNode* GetNext() const;
    int GetIndex() const;
    // The node's place in tree order among every node of the tree.
    int GetAbsoluteIndex() const;
    int GetLevel() const;
    bool GetExpanded() const;
    void SetExpanded(bool Value);
    void Expand(bool Recurse);
    void Collapse(bool Recurse);
    bool GetSelected() const;
    void SetSelected(bool Value);
    // The node with the keyboard focus: the selected one.
    bool GetFocused() const { return GetSelected(); }
    void SetFocused(bool Value) { SetSelected(Value); }
    // Where the node's row is drawn, in the tree's client coordinates (empty while it is
    // inside a collapsed node).
    TRect DisplayRect() const;
    // Opens the in-place editor on the node (OnEditing may refuse).
    bool EditText();
    // Frees the node and its children.
    void Delete();
    void DeleteChildren();

    // Platform side.
    QTreeWidgetItem* Item() const { return FItem; }

private:
    friend class TTreeNodes;
    TTreeNode(TTreeNodes* Owner, TTreeNode* Parent, const String& Text, TObject* Data);
    const std::vector<std::unique_ptr<TTreeNode>>& Siblings() const;

    TTreeNodes* FOwner;
    TTreeNode* FParent;
    String FText;
    TObject* FData;
    QTreeWidgetItem* FItem = nullptr;
    std::vector<std::unique_ptr<TTreeNode>> FChildren;
};

class TTreeNodes {
public:
    explicit TTreeNodes(TTreeView* Owner) : FOwner(Owner) {}
    TTreeNodes(const TTreeNodes&) = delete;
    TTreeNodes& operator=(const TTreeNodes&) = delete;
    ~TTreeNodes();

    TTreeView* GetOwner() const { return FOwner; }
    // Every node of the tree, counted in tree order.
    int GetCount() const;
    TTreeNode* GetItem(int Index) const;
    TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front().get(); }
    // A node after the last sibling of Sibling (a root when Sibling is nil).
    TTreeNode* Add(TTreeNode* Sibling, const String& S) { return AddObject(Sibling, S, nullptr); }
    TTreeNode* AddObject(TTreeNode* Sibling, const String& S, TObject* Data);
    // A node after the last child of Parent (a root when Parent is nil).
    TTreeNode* AddChild(TTreeNode* Parent, const String& S) { return AddChildObject(Parent, S, nullptr); }
    TTreeNode* AddChildObject(TTreeNode* Parent, const String& S, TObject* Data);
    void Delete(TTreeNode* Node);
    void Clear();
    void BeginUpdate();
    void EndUpdate();

private:
    friend class TTreeNode;
    std::vector<std::unique_ptr<TTreeNode>>& ChildrenOf(TTreeNode* Parent) {
        return Parent ? Parent->FChildren : FRoots;
    }
    const std::vector<std::unique_ptr<TTreeNode>>& ChildrenOf(const TTreeNode* Parent) const {
        return Parent ? Parent->FChildren : FRoots;
    }

    TTreeView* FOwner;
    std::vector<std::unique_ptr<TTreeNode>> FRoots;
    int FUpdateCount = 0;
};

using TTVChangedEvent = Event<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = Event<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVEditingEvent = Event<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = Event<void(TObject* Sender, TTreeNode* Node, String& S)>;

class TTreeView : public TWinControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TTreeView(TComponent* AOwner);
    ~TTreeView() override;

    TTreeNodes* GetItems() const { return FItems.get(); }
    TTreeNode* GetSelected() const { return FSelected; }
    // Asks OnChanging and, when allowed, selects the node and fires OnChange.
    void SetSelected(TTreeNode* Value);
    int GetIndent() const { return FIndent; }
    void SetIndent(int Value);
    // Selection hidden while the tree has no focus.
    bool GetHideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    // Node texts cannot be edited in place.
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    // The node at a client point, or nil.
    TTreeNode* GetNodeAt(int X, int Y) const;
    bool IsEditing() const;

    TTVChangedEvent OnChange;
    TTVChangingEvent OnChanging;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;

    // Platform side: the user moved the current item, or edited a node's text.
    void UserChose(QTreeWidgetItem* Item);
    bool CanEdit(TTreeNode* Node);
    void UserEdited(TTreeNode* Node, const String& Text);
    gui_detail::TreeWidget* Tree() const { return FTree; }

protected:
    TColor DefaultColor() const override { return clWindow; }
    virtual bool CanChange(TTreeNode* Node);
    virtual void Change(TTreeNode* Node);

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    // Shows Node as current in the widget without asking anyone.
    void ShowCurrent(TTreeNode* Node);
    void NodeGoing(TTreeNode* Node);
    void ApplyPalette();

    gui_detail::TreeWidget* FTree;
    std::unique_ptr<TTreeNodes> FItems;
    TTreeNode* FSelected = nullptr;
    int FIndent = 19;
    bool FHideSelection = true;
    bool FReadOnly = false;
    int FQuiet = 0;
};

void RegisterTreeViewClass();
