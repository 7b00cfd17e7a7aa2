#include "chart/editors/zuzselectlist.h"

#include "chart/editors/zuzpendlg.h"
#include "platform/gui/buttons.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/splitter.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TSelectListForm::StaticClass() {
    static const MethodInfo methods[] = {
        MakeMethod<&TSelectListForm::FormCreate>("FormCreate"),
        MakeMethod<&TSelectListForm::FormShow>("FormShow"),
        MakeMethod<&TSelectListForm::BRightOneClick>("BRightOneClick"),
        MakeMethod<&TSelectListForm::BRightAllClick>("BRightAllClick"),
        MakeMethod<&TSelectListForm::BLeftOneClick>("BLeftOneClick"),
        MakeMethod<&TSelectListForm::BLeftAllClick>("BLeftAllClick"),
        MakeMethod<&TSelectListForm::BMoveUPClick>("BMoveUPClick"),
        MakeMethod<&TSelectListForm::BMoveDownClick>("BMoveDownClick"),
        MakeMethod<&TSelectListForm::FromListDblClick>("FromListDblClick"),
        MakeMethod<&TSelectListForm::ToListDblClick>("ToListDblClick"),
        MakeMethod<&TSelectListForm::ListClick>("ListClick"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TSelectListForm>("TSelectListForm", &TForm::StaticClass(), methods);
    return ci;
}

void TSelectListForm::BindComponents() {
    Bind(FromList, u"FromList");
    Bind(ToList, u"ToList");
    Bind(Panel1, u"Panel1");
    Bind(BMoveUP, u"BMoveUP");
    Bind(BMoveDown, u"BMoveDown");
    Bind(Panel2, u"Panel2");
    Bind(L22, u"L22");
    Bind(L24, u"L24");
    Bind(Panel3, u"Panel3");
    Bind(BRightOne, u"BRightOne");
    Bind(BRightAll, u"BRightAll");
    Bind(BLeftOne, u"BLeftOne");
    Bind(BLeftAll, u"BLeftAll");
    Bind(Splitter1, u"Splitter1");
}

namespace {

// Focus only where the control can take it: a form not yet shown has nowhere to put it.
void FocusIfCan(TWinControl* Control) {
    if (Control->CanFocus()) Control->SetFocus();
}

} // namespace

void TSelectListForm::FormCreate(TObject*) {
    SetAlign(alClient);
    ZuzLoadArrowBitmaps(BMoveUP->GetGlyph(), BMoveDown->GetGlyph());
}

void TSelectListForm::FormShow(TObject*) {
    EnableButtons();
    FocusIfCan(FromList->GetItems()->GetCount() > 0 ? FromList : ToList);
}

void TSelectListForm::EnableButtons() {
    const bool from = FromList->GetItems()->GetCount() > 0;
    const int to = ToList->GetItems()->GetCount();
    const int chosen = ToList->GetItemIndex();
    BRightOne->SetEnabled(from);
    BRightAll->SetEnabled(from);
    BLeftOne->SetEnabled(to > 0);
    BLeftAll->SetEnabled(to > 0);
    BMoveUP->SetEnabled(chosen > 0);
    BMoveDown->SetEnabled(chosen >= 0 && chosen < to - 1);
}

void TSelectListForm::Changed() {
    EnableButtons();
    if (OnChange) OnChange(this);
}

void TSelectListForm::BRightOneClick(TObject*) {
    MoveList(FromList, ToList);
    Changed();
    if (FromList->GetItems()->GetCount() == 0) FocusIfCan(ToList);
}

void TSelectListForm::FromListDblClick(TObject* Sender) {
    BRightOneClick(Sender);
    ToList->SetItemIndex(ToList->GetItems()->GetCount() - 1);
}

void TSelectListForm::BLeftOneClick(TObject*) {
    MoveList(ToList, FromList);
    Changed();
}

void TSelectListForm::ToListDblClick(TObject* Sender) {
    BLeftOneClick(Sender);
}

void TSelectListForm::BRightAllClick(TObject*) {
    MoveListAll(FromList->GetItems(), ToList->GetItems());
    Changed();
}

void TSelectListForm::BLeftAllClick(TObject*) {
    MoveListAll(ToList->GetItems(), FromList->GetItems());
    Changed();
}

void TSelectListForm::MoveChosen(int Delta) {
    const int i = ToList->GetItemIndex();
    const int j = i + Delta;
    if (i < 0 || j < 0 || j >= ToList->GetItems()->GetCount()) return;
    ToList->GetItems()->Exchange(i, j);
    ToList->SetItemIndex(-1); // only the moved item stays chosen
    ToList->SetItemIndex(j);
    ToList->SetSelected(j, true);
    FocusIfCan(ToList);
    Changed();
}

void TSelectListForm::BMoveUPClick(TObject*) {
    MoveChosen(-1);
}

void TSelectListForm::BMoveDownClick(TObject*) {
    MoveChosen(1);
}

void TSelectListForm::ListClick(TObject*) {
    EnableButtons();
}

void RegisterZuzSelectListClasses() {
    RegisterClass(TSelectListForm::StaticClass());
}
