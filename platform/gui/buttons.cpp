#include "platform/gui/buttons.h"
#include "platform/gui/guiclasses.h"

#include "platform/gui/forms.h"

template <>
const EnumInfo& EnumInfoOf<TBitBtnKind>() {
    static const EnumInfo info{"TBitBtnKind",
                               {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose",
                                "bkAbort", "bkRetry", "bkIgnore", "bkAll"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TButtonLayout>() {
    static const EnumInfo info{"TButtonLayout",
                               {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};
    return info;
}

const ClassInfo& TBitBtn::StaticClass() {
    using B = TBitBtn;
    static const PropInfo props[] = {
        MakeProp<&B::GetKind, &B::SetKind>("Kind").Default(bkCustom),
        MakeProp<&B::GetLayout, &B::SetLayout>("Layout").Default(blGlyphLeft),
        MakeProp<&B::GetMargin, &B::SetMargin>("Margin").Default(-1),
        MakeProp<&B::GetNumGlyphs, &B::SetNumGlyphs>("NumGlyphs").Default(1),
        MakeProp<&B::GetSpacing, &B::SetSpacing>("Spacing").Default(4),
    };
    static const ClassInfo ci = MakeClassInfo<TBitBtn>("TBitBtn", &TButton::StaticClass(), props);
    return ci;
}

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner) {}

void TBitBtn::SetKind(TBitBtnKind Value) {
    if (FKind == Value) return;
    FKind = Value;
    if (Value == bkCustom) return;
    struct Stock {
        const char16_t* caption;
        TModalResult result;
        bool isDefault;
        bool isCancel;
    };
    static constexpr Stock stock[] = {
        {u"", mrNone, false, false},        {u"OK", mrOk, true, false},
        {u"Cancel", mrCancel, false, true}, {u"&Help", mrNone, false, false},
        {u"&Yes", mrYes, true, false},      {u"&No", mrNo, false, true},
        {u"&Close", mrNone, false, false},  {u"Abort", mrAbort, false, false},
        {u"&Retry", mrRetry, false, false}, {u"&Ignore", mrIgnore, false, false},
        {u"&All", mrAll, false, false},
    };
    const Stock& s = stock[Value];
    // A caption read from a stream wins over the kind's.
    if (!GetComponentState().Contains(csLoading) || GetCaption().empty()) SetCaption(s.caption);
    SetModalResult(s.result);
    if (s.isDefault) SetDefault(true);
    if (s.isCancel) SetCancel(true);
}

void TBitBtn::Click() {
    if (FKind == bkClose) {
        if (TCustomForm* form = GetParentForm(this)) {
            form->Close();
            return;
        }
    }
    TButton::Click();
}

void RegisterButtonsClasses() {
    RegisterClasses({&TBitBtn::StaticClass()});
}
