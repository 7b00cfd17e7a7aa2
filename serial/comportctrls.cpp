#include "serial/comportctrls.h"

template <>
const EnumInfo& EnumInfoOf<TComProperty>() {
    static const EnumInfo info{
        "TComProperty",
        {"cpNone", "cpPort", "cpBaudRate", "cpDataBits", "cpStopBits", "cpParity", "cpFlowControl"}};
    return info;
}

// ---------------------------------------------------------------------------
// TComSelect

const ClassInfo& TComSelect::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TComSelect>("TComSelect", &TObject::StaticClass());
    return ci;
}

namespace {

template <class E>
void AddTexts(TStrings* Items, E Last, String (*ToStr)(E)) {
    for (int v = 0; v <= Last; ++v) Items->Add(ToStr(static_cast<E>(v)));
}

} // namespace

void TComSelect::SetComProperty(TComProperty Value) {
    FComProperty = Value;
    if (!FItems) return;
    FItems->BeginUpdate();
    struct End {
        TStrings* items;
        ~End() { items->EndUpdate(); }
    } end{FItems};
    FItems->Clear();
    switch (Value) {
    case cpPort:
        EnumComPorts(FItems);
        break;
    case cpBaudRate:
        AddTexts(FItems, br256000, BaudRateToStr);
        break;
    case cpDataBits:
        AddTexts(FItems, dbEight, DataBitsToStr);
        break;
    case cpStopBits:
        AddTexts(FItems, sbTwoStopBits, StopBitsToStr);
        break;
    case cpParity:
        AddTexts(FItems, prSpace, ParityToStr);
        break;
    case cpFlowControl:
        AddTexts(FItems, fcCustom, FlowControlToStr);
        break;
    case cpNone:
        break;
    }
}

void TComSelect::Change(const String& Text) {
    switch (FComProperty) {
    case cpPort:
        FPort = Text;
        break;
    case cpBaudRate:
        FBaudRate = StrToBaudRate(Text);
        break;
    case cpDataBits:
        FDataBits = StrToDataBits(Text);
        break;
    case cpStopBits:
        FStopBits = StrToStopBits(Text);
        break;
    case cpParity:
        FParity = StrToParity(Text);
        break;
    case cpFlowControl:
        FFlowControl = StrToFlowControl(Text);
        break;
    case cpNone:
        break;
    }
    if (FAutoApply) ApplySettings();
}

void TComSelect::ApplySettings() {
    if (!FComPort) return;
    switch (FComProperty) {
    case cpPort:
        FComPort->SetPort(FPort);
        break;
    case cpBaudRate:
        FComPort->SetBaudRate(FBaudRate);
        break;
    case cpDataBits:
        FComPort->SetDataBits(FDataBits);
        break;
    case cpStopBits:
        FComPort->SetStopBits(FStopBits);
        break;
    case cpParity:
        FComPort->GetParity()->SetBits(FParity);
        break;
    case cpFlowControl:
        FComPort->GetFlowControl()->SetFlowControl(FFlowControl);
        break;
    case cpNone:
        break;
    }
}

String TComSelect::PortValueText() const {
    switch (FComProperty) {
    case cpPort:
        return FComPort->GetPort();
    case cpBaudRate:
        return BaudRateToStr(FComPort->GetBaudRate());
    case cpDataBits:
        return DataBitsToStr(FComPort->GetDataBits());
    case cpStopBits:
        return StopBitsToStr(FComPort->GetStopBits());
    case cpParity:
        return ParityToStr(FComPort->GetParity()->GetBits());
    case cpFlowControl:
        return FlowControlToStr(FComPort->GetFlowControl()->GetFlowControl());
    case cpNone:
        break;
    }
    return {};
}

void TComSelect::UpdateSettings(int& ItemIndex) {
    if (!FComPort || FComProperty == cpNone || !FItems) return;
    ItemIndex = FItems->IndexOf(PortValueText());
    if (ItemIndex < 0) return;
    const String item = FItems->GetStrings(ItemIndex);
    switch (FComProperty) {
    case cpPort:
        FPort = item;
        break;
    case cpBaudRate:
        FBaudRate = StrToBaudRate(item);
        break;
    case cpDataBits:
        FDataBits = StrToDataBits(item);
        break;
    case cpStopBits:
        FStopBits = StrToStopBits(item);
        break;
    case cpParity:
        FParity = StrToParity(item);
        break;
    case cpFlowControl:
        FFlowControl = StrToFlowControl(item);
        break;
    case cpNone:
        break;
    }
}

// ---------------------------------------------------------------------------
// The selector controls

template <class Base>
TComSelectControl<Base>::TComSelectControl(TComponent* AOwner)
    : Base(AOwner), FComSelect(MakeOwned<TComSelect>()) {
    FComSelect->SetItems(this->GetItems());
}

template <class Base>
void TComSelectControl<Base>::UpdateSettings() {
    int index = 0;
    FComSelect->UpdateSettings(index);
    ShowIndex(index);
}

template <class Base>
void TComSelectControl<Base>::SetComPort(TCustomComPort* Value) {
    if (Value == FComSelect->GetComPort()) return;
    FComSelect->SetComPort(Value);
    if (Value) {
        Value->FreeNotification(this);
        UpdateSettings();
    }
}

template <class Base>
void TComSelectControl<Base>::SetComProperty(TComProperty Value) {
    FComSelect->SetComProperty(Value);
    if (this->GetItems()->GetCount() == 0) return;
    if (FComSelect->GetComPort())
        UpdateSettings();
    else
        this->SetItemIndex(0);
}

template <class Base>
void TComSelectControl<Base>::Notification(TComponent* AComponent, TOperation Operation) {
    Base::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent && AComponent == FComSelect->GetComPort()) {
        FComSelect->SetComPort(nullptr);
        if (this->GetItems()->GetCount() > 0) ShowIndex(0);
    }
}

template class TComSelectControl<TComboBox>;
template class TComSelectControl<TRadioGroup>;

const ClassInfo& TComComboBox::StaticClass() {
    using C = TComComboBox;
    static const PropInfo props[] = {
        MakeProp<&C::GetComPort, &C::SetComPort>("ComPort"),
        MakeProp<&C::GetComProperty, &C::SetComProperty>("ComProperty").Default(cpNone),
        MakeProp<&C::GetAutoApply, &C::SetAutoApply>("AutoApply").Default(false),
    };
    static const ClassInfo ci = MakeClassInfo<C>("TComComboBox", &TComboBox::StaticClass(), props);
    return ci;
}

TComComboBox::TComComboBox(TComponent* AOwner) : TComSelectControl(AOwner) {
    SetStyle(csDropDownList);
}

void TComComboBox::Change() {
    FComSelect->Change(GetText());
    TComSelectControl::Change();
}

const ClassInfo& TComRadioGroup::StaticClass() {
    using R = TComRadioGroup;
    static const PropInfo props[] = {
        MakeProp<&R::GetComPort, &R::SetComPort>("ComPort"),
        MakeProp<&R::GetComProperty, &R::SetComProperty>("ComProperty").Default(cpNone),
        MakeProp<&R::GetAutoApply, &R::SetAutoApply>("AutoApply").Default(false),
    };
    static const ClassInfo ci = MakeClassInfo<R>("TComRadioGroup", &TRadioGroup::StaticClass(), props);
    return ci;
}

void TComRadioGroup::ShowIndex(int Index) {
    FOldIndex = std::clamp(Index, -1, GetItems()->GetCount() - 1);
    SetItemIndex(Index);
    FOldIndex = GetItemIndex();
}

void TComRadioGroup::Click() {
    const int index = GetItemIndex();
    if (index != FOldIndex) {
        if (index != -1) FComSelect->Change(GetItems()->GetStrings(index));
        FOldIndex = index;
    }
    TComSelectControl::Click();
}

void RegisterComPortClasses() {
    RegisterClasses({&TComPort::StaticClass(), &TComComboBox::StaticClass(), &TComRadioGroup::StaticClass()});
}
