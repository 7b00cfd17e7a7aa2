#pragma once
// A lamp that shows one signal of a port: the connection, a modem line, ring,
// or receive and transmit activity. Without a port it is a plain two-state lamp.

#include "platform/gui/controls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/graphics.h"
#include "serial/comport.h"

#include <memory>

enum TComLedSignal : std::uint8_t { lsConn, lsCTS, lsDSR, lsRLSD, lsRing, lsRx, lsTx };
enum TLedKind : std::uint8_t {
    lkRedLight,
    lkGreenLight,
    lkBlueLight,
    lkYellowLight,
    lkPurpleLight,
    lkBulb,
    lkCustom
};
enum TLedState : std::uint8_t { lsOff, lsOn };
template <>
const EnumInfo& EnumInfoOf<TComLedSignal>();
template <>
const EnumInfo& EnumInfoOf<TLedKind>();
template <>
const EnumInfo& EnumInfoOf<TLedState>();

using TLedStateEvent = Event<void(TObject* Sender, TLedState AState)>;

class TComLed : public TGraphicControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TComLed(TComponent* AOwner);
    ~TComLed() override;
    void BeforeDestruction() override;

    TCustomComPort* GetComPort() const { return FComPort; }
    void SetComPort(TCustomComPort* Value);
    TComLedSignal GetLedSignal() const { return FLedSignal; }
    void SetLedSignal(TComLedSignal Value);
    TLedKind GetKind() const { return FKind; }
    void SetKind(TLedKind Value);
    TLedState GetState() const { return FState; }
    // Code 19 while a port is set: the port decides then.
    void SetState(TLedState Value);
    TBitmap* GetGlyphOn() const { return FGlyphOn.get(); }
    // Taken only for lkCustom.
    void SetGlyphOn(TBitmap* Value);
    TBitmap* GetGlyphOff() const { return FGlyphOff.get(); }
    void SetGlyphOff(TBitmap* Value);
    Integer GetRingDuration() const { return FRingDuration; }
    void SetRingDuration(Integer Value) { FRingDuration = Value; }
    TComLink* GetLink() const { return FComLink.get(); }

    TLedStateEvent OnChange;

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void EnabledChanged() override;
    virtual void DoChange(TLedState AState);

private:
    bool IsStateOn() const;
    void SetStateInternal(TLedState Value);
    void SignalChange(TObject* Sender, bool OnOff);
    void RingDetect(TObject* Sender);
    void DoTimer(TObject* Sender);
    void LoadGlyphs();
    void SetGlyph(TBitmap* Target, TBitmap* Value);
    bool IsGlyphStored() const { return FKind == lkCustom; }

    TCustomComPort* FComPort = nullptr;
    TComLedSignal FLedSignal = lsConn;
    TLedKind FKind = lkRedLight;
    TLedState FState = lsOff;
    TLedState FPendingState = lsOff;
    Owned<TBitmap> FGlyphOff;
    Owned<TBitmap> FGlyphOn;
    std::unique_ptr<TComLink> FComLink;
    Integer FRingDuration = 1000;
    Owned<TTimer> FTimer;
};
