#include "platform/gui/checklst.h"
#include "platform/gui/guiclasses.h"

#include "platform/core/sysutils.h"
#include "platform/gui/qtbridge.h"

#include <QListWidget>

using namespace gui_detail;

namespace {
constexpr int kMarkRole = Qt::UserRole + 1;
}

const ClassInfo& TCheckListBox::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TCheckListBox::GetAllowGrayed, &TCheckListBox::SetAllowGrayed>("AllowGrayed")
            .Default(false),
        MakeProp<&TCustomListBox::GetItemHeight, &TCustomListBox::SetItemHeight>("ItemHeight"),
        MakeProp<&TCustomListBox::GetItems, &TCustomListBox::SetItems>("Items"),
        MakeProp<&TCustomListBox::GetSorted, &TCustomListBox::SetSorted>("Sorted").Default(false),
        MakeProp<&TCheckListBox::OnClickCheck>("OnClickCheck"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TCheckListBox>("TCheckListBox", &TCustomListBox::StaticClass(), props);
    return ci;
}

TCheckListBox::TCheckListBox(TComponent* AOwner) : TCustomListBox(AOwner) {
    // Only a mark the user changed is a click on it; the item keeps its last
    // known mark to tell that from a change of its text.
    QObject::connect(List(), &QListWidget::itemChanged, [this](QListWidgetItem* item) {
        if (FSetting) return;
        const int state = item->checkState();
        if (item->data(kMarkRole).toInt() == state) return;
        item->setData(kMarkRole, state);
        // A click on an item's mark selects the item first, as a click on its text does,
        // so the handler finds the item it is about in ItemIndex.
        if (List()->currentItem() != item) List()->setCurrentItem(item);
        Guarded(this, [this] {
            if (OnClickCheck) OnClickCheck(this);
        });
    });
}

void TCheckListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    // A press on an item's mark chooses the item, as a press on its text does (the view leaves
    // the choice alone there): the click it ends reports the item chosen, before the mark changes.
    if (Button == mbLeft && !GetMultiSelect()) {
        const int index = ItemAtPos(TPoint(X, Y), true);
        if (index >= 0 && index != GetItemIndex() && GetItemEnabled(index)) {
            // Chosen where it lies: brought into sight, an item cut by the edge would move from
            // under the pointer, and the release would land on the mark of another.
            const bool scrolls = List()->hasAutoScroll();
            List()->setAutoScroll(false);
            SetItemIndex(index);
            List()->setAutoScroll(scrolls);
        }
    }
    TCustomListBox::MouseDown(Button, Shift, X, Y);
}

void TCheckListBox::ItemAdded(int Index) {
    FSetting = true;
    QListWidgetItem* item = List()->item(Index);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    item->setData(kMarkRole, static_cast<int>(Qt::Unchecked));
    FSetting = false;
}

namespace {
QListWidgetItem* ItemOf(QListWidget* list, int index) {
    QListWidgetItem* item = list->item(index);
    if (!item) throw EListError(u"List index out of bounds (%d)", {index});
    return item;
}
} // namespace

TCheckBoxState TCheckListBox::GetState(int Index) const {
    switch (ItemOf(List(), Index)->checkState()) {
    case Qt::Checked:
        return cbChecked;
    case Qt::PartiallyChecked:
        return cbGrayed;
    default:
        return cbUnchecked;
    }
}

void TCheckListBox::SetState(int Index, TCheckBoxState Value) {
    QListWidgetItem* item = ItemOf(List(), Index);
    FSetting = true;
    const Qt::CheckState state = Value == cbChecked  ? Qt::Checked
                                 : Value == cbGrayed ? Qt::PartiallyChecked
                                                     : Qt::Unchecked;
    item->setCheckState(state);
    // The mark set here is the one a later click changes from.
    item->setData(kMarkRole, static_cast<int>(state));
    FSetting = false;
}

bool TCheckListBox::GetItemEnabled(int Index) const {
    return ItemOf(List(), Index)->flags().testFlag(Qt::ItemIsEnabled);
}

void TCheckListBox::SetItemEnabled(int Index, bool Value) {
    QListWidgetItem* item = ItemOf(List(), Index);
    FSetting = true;
    item->setFlags(Value ? item->flags() | Qt::ItemIsEnabled : item->flags() & ~Qt::ItemIsEnabled);
    FSetting = false;
}

void RegisterCheckLstClasses() {
    RegisterClasses({&TCheckListBox::StaticClass()});
}
