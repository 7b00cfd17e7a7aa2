#pragma once
// Port selector controls: a drop-down list and a radio group that let a user
// pick one setting of a bound port.

#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"
#include "serial/comport.h"

enum TComProperty : std::uint8_t {
    cpNone,
    cpPort,
    cpBaudRate,
    cpDataBits,
    cpStopBits,
    cpParity,
    cpFlowControl
};
template <>
const EnumInfo& EnumInfoOf<TComProperty>();

// Fills a control's items for one setting, remembers the chosen value, writes
// it into the bound port on request and finds the port's current value.
class TComSelect : public TObject {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    void SetComProperty(TComProperty Value);
    TComProperty GetComProperty() const { return FComProperty; }
    // The user chose Text.
    void Change(const String& Text);
    void ApplySettings();
    // ItemIndex becomes the index of the port's current value (-1 when it is
    // not listed); unchanged without a port or a property.
    void UpdateSettings(int& ItemIndex);

    void SetItems(TStrings* Value) { FItems = Value; }
    TCustomComPort* GetComPort() const { return FComPort; }
    void SetComPort(TCustomComPort* Value) { FComPort = Value; }
    bool GetAutoApply() const { return FAutoApply; }
    void SetAutoApply(bool Value) { FAutoApply = Value; }
    const String& GetPort() const { return FPort; }
    TBaudRate GetBaudRate() const { return FBaudRate; }
    TDataBits GetDataBits() const { return FDataBits; }
    TStopBits GetStopBits() const { return FStopBits; }
    TParityBits GetParity() const { return FParity; }
    TFlowControl GetFlowControl() const { return FFlowControl; }

private:
    String PortValueText() const;

    String FPort;
    TBaudRate FBaudRate = brCustom;
    TDataBits FDataBits = dbFive;
    TStopBits FStopBits = sbOneStopBit;
    TParityBits FParity = prNone;
    TFlowControl FFlowControl = fcHardware;
    TStrings* FItems = nullptr;
    TComProperty FComProperty = cpNone;
    TCustomComPort* FComPort = nullptr;
    bool FAutoApply = false;
};

// What both selector controls add to their base control: the selector, the
// bound port (with its free notification) and the chosen property.
template <class Base>
class TComSelectControl : public Base {
public:
    explicit TComSelectControl(TComponent* AOwner);
    void ApplySettings() { FComSelect->ApplySettings(); }
    void UpdateSettings();
    TCustomComPort* GetComPort() const { return FComSelect->GetComPort(); }
    void SetComPort(TCustomComPort* Value);
    TComProperty GetComProperty() const { return FComSelect->GetComProperty(); }
    void SetComProperty(TComProperty Value);
    bool GetAutoApply() const { return FComSelect->GetAutoApply(); }
    void SetAutoApply(bool Value) { FComSelect->SetAutoApply(Value); }
    TComSelect* GetComSelect() const { return FComSelect.get(); }
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    // Shows the item that stands for the selector's own value.
    virtual void ShowIndex(int Index) { this->SetItemIndex(Index); }

    Owned<TComSelect> FComSelect;
};

class TComComboBox : public TComSelectControl<TComboBox> {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TComComboBox(TComponent* AOwner);

protected:
    void Change() override;
};

class TComRadioGroup : public TComSelectControl<TRadioGroup> {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    using TComSelectControl::TComSelectControl;
    void Click() override;

protected:
    // Checking a button clicks it: the selector must not get its own value back.
    void ShowIndex(int Index) override;

private:
    int FOldIndex = -1;
};

// Registers the port and the selector controls for form resources.
void RegisterComPortClasses();
