#include "platform/gui/treeview.h"

#include "platform/core/sysutils.h"
#include "platform/core/typinfo.h"
#include "platform/gui/qtbridge.h"

#include <QTimer>
#include <QTreeWidget>

#include <algorithm>

using namespace gui_detail;

namespace gui_detail {

// The tree widget asks its control before any in-place edit starts.
class TreeWidget : public QTreeWidget {
public:
    explicit TreeWidget(TTreeView* owner) : owner_(owner) {
        setHeaderHidden(true);
        setColumnCount(1);
        setSelectionMode(QAbstractItemView::SingleSelection);
        setUniformRowHeights(true);
    }

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override {
        if (trigger != NoEditTriggers && index.isValid() && state() != EditingState) {
            auto* node = NodeOf(itemFromIndex(index));
            bool allowed = false;
            Guarded(owner_, [&] { allowed = node && owner_->CanEdit(node); });
            if (!allowed) return false;
        }
        return QTreeWidget::edit(index, trigger, event);
    }

public:
    static TTreeNode* NodeOf(const QTreeWidgetItem* item) {
        return item ? reinterpret_cast<TTreeNode*>(item->data(0, Qt::UserRole).value<quintptr>()) : nullptr;
    }

    bool Editing() const { return state() == EditingState; }

private:
    TTreeView* owner_;
};

} // namespace gui_detail

namespace {

// Counts Node and every node below it.
int CountFrom(const TTreeNode* Node) {
    int n = 1;
    for (int i = 0; i < Node->GetCount(); ++i) n += CountFrom(Node->GetItem(i));
    return n;
}

bool IsWithin(const TTreeNode* Node, const TTreeNode* Ancestor) {
    for (const TTreeNode* n = Node; n; n = n->GetParent())
        if (n == Ancestor) return true;
    return false;
}

} // namespace

// ---------------------------------------------------------------------------
// TTreeNode

TTreeNode::TTreeNode(TTreeNodes* Owner, TTreeNode* Parent, const String& Text, TObject* Data)
    : FOwner(Owner), FParent(Parent), FText(Text), FData(Data) {}

// The Qt items go with the widget or with the deleted item above this node.
TTreeNode::~TTreeNode() = default;

TTreeView* TTreeNode::GetTreeView() const {
    return FOwner->GetOwner();
}

void TTreeNode::SetText(const String& Value) {
    FText = Value;
    TTreeView* tv = GetTreeView();
    ++tv->FQuiet;
    FItem->setText(0, ToQString(Value));
    --tv->FQuiet;
}

const std::vector<std::unique_ptr<TTreeNode>>& TTreeNode::Siblings() const {
    return FOwner->ChildrenOf(FParent);
}

TTreeNode* TTreeNode::GetItem(int Index) const {
    if (Index < 0 || Index >= GetCount()) throw EListError(u"List index out of bounds (%d)", {Index});
    return FChildren[static_cast<std::size_t>(Index)].get();
}

int TTreeNode::GetIndex() const {
    const auto& s = Siblings();
    const auto it = std::find_if(s.begin(), s.end(), [this](const auto& p) { return p.get() == this; });
    return static_cast<int>(it - s.begin());
}

TTreeNode* TTreeNode::GetNextSibling() const {
    const auto& s = Siblings();
    const auto i = static_cast<std::size_t>(GetIndex()) + 1;
    return i < s.size() ? s[i].get() : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
    const int i = GetIndex();
    return i > 0 ? Siblings()[static_cast<std::size_t>(i - 1)].get() : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
    if (TTreeNode* child = GetFirstChild()) return child;
    for (const TTreeNode* n = this; n; n = n->FParent)
        if (TTreeNode* next = n->GetNextSibling()) return next;
    return nullptr;
}

int TTreeNode::GetAbsoluteIndex() const {
    int index = 0;
    for (const TTreeNode* n = FOwner->GetFirstNode(); n && n != this; n = n->GetNext()) ++index;
    return index;
}

int TTreeNode::GetLevel() const {
    int level = 0;
    for (const TTreeNode* n = FParent; n; n = n->FParent) ++level;
    return level;
}

bool TTreeNode::GetExpanded() const {
    return FItem->isExpanded();
}

void TTreeNode::SetExpanded(bool Value) {
    TTreeView* tv = GetTreeView();
    ++tv->FQuiet;
    FItem->setExpanded(Value);
    --tv->FQuiet;
}

void TTreeNode::Expand(bool Recurse) {
    SetExpanded(true);
    if (Recurse)
        for (auto& c : FChildren) c->Expand(true);
}

void TTreeNode::Collapse(bool Recurse) {
    SetExpanded(false);
    if (Recurse)
        for (auto& c : FChildren) c->Collapse(true);
}

bool TTreeNode::GetSelected() const {
    return GetTreeView()->GetSelected() == this;
}

void TTreeNode::SetSelected(bool Value) {
    TTreeView* tv = GetTreeView();
    if (Value)
        tv->SetSelected(this);
    else if (GetSelected())
        tv->SetSelected(nullptr);
}

TRect TTreeNode::DisplayRect() const {
    QTreeWidget* tree = GetTreeView()->Tree();
    const QRect r = tree->visualItemRect(FItem);
    if (r.isEmpty()) return {};
    const QPoint topLeft = tree->viewport()->mapTo(tree, r.topLeft());
    return Bounds(topLeft.x(), topLeft.y(), r.width(), r.height());
}

bool TTreeNode::EditText() {
    TTreeView* tv = GetTreeView();
    if (tv->GetReadOnly()) return false;
    tv->Tree()->editItem(FItem, 0);
    return tv->IsEditing();
}

void TTreeNode::Delete() {
    FOwner->Delete(this);
}

void TTreeNode::DeleteChildren() {
    while (!FChildren.empty()) FOwner->Delete(FChildren.back().get());
}

// ---------------------------------------------------------------------------
// TTreeNodes

TTreeNodes::~TTreeNodes() = default;

int TTreeNodes::GetCount() const {
    int n = 0;
    for (const auto& r : FRoots) n += CountFrom(r.get());
    return n;
}

TTreeNode* TTreeNodes::GetItem(int Index) const {
    TTreeNode* n = GetFirstNode();
    for (int i = 0; n && i < Index; ++i) n = n->GetNext();
    if (Index < 0 || !n) throw EListError(u"List index out of bounds (%d)", {Index});
    return n;
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const String& S, TObject* Data) {
    return AddChildObject(Sibling ? Sibling->GetParent() : nullptr, S, Data);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const String& S, TObject* Data) {
    auto& list = ChildrenOf(Parent);
    list.push_back(std::unique_ptr<TTreeNode>(new TTreeNode(this, Parent, S, Data)));
    TTreeNode* node = list.back().get();
    auto* item = new QTreeWidgetItem();
    item->setText(0, ToQString(S));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(node)));
    node->FItem = item;
    ++FOwner->FQuiet;
    if (Parent)
        Parent->FItem->addChild(item);
    else
        FOwner->Tree()->addTopLevelItem(item);
    --FOwner->FQuiet;
    return node;
}

void TTreeNodes::Delete(TTreeNode* Node) {
    if (!Node || Node->FOwner != this) return;
    FOwner->NodeGoing(Node);
    auto& list = ChildrenOf(Node->FParent);
    const auto it = std::find_if(list.begin(), list.end(), [Node](const auto& p) { return p.get() == Node; });
    if (it == list.end()) return;
    std::unique_ptr<TTreeNode> going = std::move(*it);
    list.erase(it);
    ++FOwner->FQuiet;
    delete going->FItem; // takes the items of its children with it
    --FOwner->FQuiet;
}

void TTreeNodes::Clear() {
    if (FRoots.empty()) return;
    FOwner->NodeGoing(nullptr);
    ++FOwner->FQuiet;
    FOwner->Tree()->clear();
    --FOwner->FQuiet;
    FRoots.clear();
}

void TTreeNodes::BeginUpdate() {
    if (FUpdateCount++ == 0) FOwner->Tree()->setUpdatesEnabled(false);
}

void TTreeNodes::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) FOwner->Tree()->setUpdatesEnabled(true);
}

// ---------------------------------------------------------------------------
// TTreeView

const ClassInfo& TTreeView::StaticClass() {
    using T = TTreeView;
    static const PropInfo props[] = {
        MakeProp<&T::GetHideSelection, &T::SetHideSelection>("HideSelection").Default(true),
        MakeProp<&T::GetIndent, &T::SetIndent>("Indent"),
        MakeProp<&T::GetReadOnly, &T::SetReadOnly>("ReadOnly").Default(false),
        MakeProp<&T::OnChange>("OnChange"),
        MakeProp<&T::OnChanging>("OnChanging"),
        MakeProp<&T::OnEdited>("OnEdited"),
        MakeProp<&T::OnEditing>("OnEditing"),
    };
    static const ClassInfo ci = MakeClassInfo<TTreeView>("TTreeView", &TWinControl::StaticClass(), props);
    return ci;
}

TTreeView::TTreeView(TComponent* AOwner) : TWinControl(AOwner) {
    InitColor(clWindow);
    FTree = new TreeWidget(this);
    SetWidget(FTree);
    RegisterWidget(FTree->viewport(), this);
    FItems = std::make_unique<TTreeNodes>(this);
    InitTabStop(true);
    SetBounds(0, 0, 121, 97);
    FTree->setIndentation(FIndent);
    SetReadOnly(false);
    ApplyPalette();
    QObject::connect(FTree, &QTreeWidget::currentItemChanged,
                     [this](QTreeWidgetItem* current, QTreeWidgetItem*) {
                         if (FQuiet == 0) UserChose(current);
                     });
    QObject::connect(FTree, &QTreeWidget::itemChanged, [this](QTreeWidgetItem* item, int) {
        if (FQuiet != 0) return;
        TTreeNode* node = TreeWidget::NodeOf(item);
        if (!node) return;
        const String text = FromQString(item->text(0));
        if (text != node->GetText()) Guarded(this, [&] { UserEdited(node, text); });
    });
}

TTreeView::~TTreeView() {
    FTree->blockSignals(true);
    UnregisterWidget(FTree->viewport());
    FSelected = nullptr;
    FItems.reset();
}

void TTreeView::SetSelected(TTreeNode* Value) {
    if (Value == FSelected) return;
    if (!CanChange(Value)) return;
    FSelected = Value;
    ShowCurrent(Value);
    Change(Value);
}

void TTreeView::SetIndent(int Value) {
    FIndent = Value;
    FTree->setIndentation(Value);
}

void TTreeView::SetHideSelection(bool Value) {
    FHideSelection = Value;
    ApplyPalette();
}

void TTreeView::SetReadOnly(bool Value) {
    FReadOnly = Value;
    FTree->setEditTriggers(Value ? QAbstractItemView::NoEditTriggers
                                 : QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
}

TTreeNode* TTreeView::GetNodeAt(int X, int Y) const {
    const QPoint p = FTree->viewport()->mapFrom(FTree, QPoint(X, Y));
    return TreeWidget::NodeOf(FTree->itemAt(p));
}

bool TTreeView::IsEditing() const {
    return FTree->Editing();
}

void TTreeView::UserChose(QTreeWidgetItem* Item) {
    TTreeNode* node = TreeWidget::NodeOf(Item);
    if (node == FSelected) return;
    Guarded(this, [&] {
        if (!CanChange(node)) {
            // Put the current item back once the widget has finished moving it.
            ShowCurrent(FSelected);
            QTimer::singleShot(0, FTree, [this] { ShowCurrent(FSelected); });
            return;
        }
        FSelected = node;
        Change(node);
    });
}

bool TTreeView::CanEdit(TTreeNode* Node) {
    if (FReadOnly) return false;
    bool allow = true;
    if (OnEditing) OnEditing(this, Node, allow);
    return allow;
}

void TTreeView::UserEdited(TTreeNode* Node, const String& Text) {
    String s = Text;
    if (OnEdited) OnEdited(this, Node, s);
    Node->SetText(s);
}

bool TTreeView::CanChange(TTreeNode* Node) {
    bool allow = true;
    if (OnChanging) OnChanging(this, Node, allow);
    return allow;
}

void TTreeView::Change(TTreeNode* Node) {
    if (OnChange) OnChange(this, Node);
}

void TTreeView::ShowCurrent(TTreeNode* Node) {
    ++FQuiet;
    if (Node) {
        FTree->setCurrentItem(Node->Item());
    } else {
        FTree->setCurrentItem(nullptr);
        FTree->clearSelection();
    }
    --FQuiet;
}

// A node that goes (nil: every node) takes the selection with it, quietly.
void TTreeView::NodeGoing(TTreeNode* Node) {
    if (!FSelected || (Node && !IsWithin(FSelected, Node))) return;
    FSelected = nullptr;
    ShowCurrent(nullptr);
}

// Without focus the selection either disappears or keeps its colours.
void TTreeView::ApplyPalette() {
    QPalette p = FTree->palette();
    if (FHideSelection) {
        p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Inactive, QPalette::Base));
        p.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   p.color(QPalette::Inactive, QPalette::Text));
    } else {
        p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
        p.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   p.color(QPalette::Active, QPalette::HighlightedText));
    }
    FTree->setPalette(p);
}

void RegisterTreeViewClass() {
    RegisterClasses({&TTreeView::StaticClass()});
}
