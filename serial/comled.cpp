#include "serial/comled.h"

#include "platform/core/resources.h"
#include "serial_resources.h"

#include <algorithm>

template <>
const EnumInfo& EnumInfoOf<TComLedSignal>() {
    static const EnumInfo info{"TComLedSignal",
                               {"lsConn", "lsCTS", "lsDSR", "lsRLSD", "lsRing", "lsRx", "lsTx"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TLedKind>() {
    static const EnumInfo info{"TLedKind",
                               {"lkRedLight", "lkGreenLight", "lkBlueLight", "lkYellowLight", "lkPurpleLight",
                                "lkBulb", "lkCustom"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TLedState>() {
    static const EnumInfo info{"TLedState", {"lsOff", "lsOn"}};
    return info;
}

const ClassInfo& TComLed::StaticClass() {
    using L = TComLed;
    static const PropInfo props[] = {
        MakeProp<&L::GetComPort, &L::SetComPort>("ComPort"),
        MakeProp<&L::GetLedSignal, &L::SetLedSignal>("LedSignal"),
        MakeProp<&L::GetKind, &L::SetKind>("Kind"),
        MakeProp<&L::GetGlyphOn>("GlyphOn").Stored<&L::IsGlyphStored>(),
        MakeProp<&L::GetGlyphOff>("GlyphOff").Stored<&L::IsGlyphStored>(),
        MakeProp<&L::GetState, &L::SetState>("State").Default(lsOff),
        MakeProp<&L::GetRingDuration, &L::SetRingDuration>("RingDuration").Default(1000),
        MakeProp<&L::OnChange>("OnChange"),
    };
    static const ClassInfo ci = MakeClassInfo<L>("TComLed", &TGraphicControl::StaticClass(), props);
    return ci;
}

namespace {

// The resource names of a kind's pictures, lit and dark.
const char* const kGlyphNames[][2] = {
    {"LEDREDON", "LEDREDOFF"},       {"LEDGREENON", "LEDGREENOFF"},   {"LEDBLUEON", "LEDBLUEOFF"},
    {"LEDYELLOWON", "LEDYELLOWOFF"}, {"LEDPURPLEON", "LEDPURPLEOFF"}, {"LEDBULBON", "LEDBULBOFF"},
};

void LoadPicture(TBitmap* Bitmap, const char* Name) {
    RegisterSerialResources(); // the library's own pictures; again is a no-op
    TResourceStream stream(UTF8ToString(Name), "bmp");
    Bitmap->LoadFromStream(&stream);
}

} // namespace

TComLed::TComLed(TComponent* AOwner)
    : TGraphicControl(AOwner), FGlyphOff(MakeOwned<TBitmap>()), FGlyphOn(MakeOwned<TBitmap>()),
      FComLink(std::make_unique<TComLink>()), FTimer(MakeOwned<TTimer>(nullptr)) {
    for (TBitmap* glyph : {FGlyphOff.get(), FGlyphOn.get()}) {
        glyph->SetTransparent(true);
        glyph->SetTransparentMode(tmAuto);
    }
    FComLink->OnConn.Bind(this, &TComLed::SignalChange);
    FTimer->SetEnabled(false);
    FTimer->OnTimer.Bind(this, &TComLed::DoTimer);
    SetBounds(GetLeft(), GetTop(), 25, 25);
    LoadGlyphs();
}

TComLed::~TComLed() {
    SetComPort(nullptr);
}

void TComLed::BeforeDestruction() {
    // Out of the port's list before anything of the lamp goes: a freed lamp
    // must never hear of the port's next event.
    SetComPort(nullptr);
    FTimer->SetEnabled(false);
    TGraphicControl::BeforeDestruction();
}

void TComLed::SetComPort(TCustomComPort* Value) {
    if (!ChangeLinkedPort(this, FComLink.get(), FComPort, Value)) return;
    if (FComPort) {
        const TComponentState state = GetComponentState();
        if (FComPort->GetConnected() && !state.Contains(csDesigning) && !state.Contains(csLoading))
            SetStateInternal(IsStateOn() ? lsOn : lsOff);
    } else {
        SetStateInternal(lsOff);
    }
}

void TComLed::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent && AComponent == FComPort) SetComPort(nullptr);
}

void TComLed::SetLedSignal(TComLedSignal Value) {
    if (Value == FLedSignal) return;
    FLedSignal = Value;
    TComLink& link = *FComLink;
    for (TComSignalEvent* e :
         {&link.OnConn, &link.OnCTSChange, &link.OnDSRChange, &link.OnRLSDChange, &link.OnTx, &link.OnRx})
        e->Clear();
    link.OnRing.Clear();
    switch (Value) {
    case lsConn:
        link.OnConn.Bind(this, &TComLed::SignalChange);
        break;
    case lsCTS:
        link.OnCTSChange.Bind(this, &TComLed::SignalChange);
        break;
    case lsDSR:
        link.OnDSRChange.Bind(this, &TComLed::SignalChange);
        break;
    case lsRLSD:
        link.OnRLSDChange.Bind(this, &TComLed::SignalChange);
        break;
    case lsRing:
        link.OnRing.Bind(this, &TComLed::RingDetect);
        break;
    case lsRx:
        link.OnRx.Bind(this, &TComLed::SignalChange);
        break;
    case lsTx:
        link.OnTx.Bind(this, &TComLed::SignalChange);
        break;
    }
}

void TComLed::SetKind(TLedKind Value) {
    if (Value == FKind) return;
    FKind = Value;
    LoadGlyphs();
    Invalidate();
}

void TComLed::SetState(TLedState Value) {
    if (FComPort) throw EComPort(CError_LedStateFailed);
    SetStateInternal(Value);
}

void TComLed::SetGlyph(TBitmap* Target, TBitmap* Value) {
    if (FKind != lkCustom) return;
    if (Value) {
        Value->SetTransparent(true);
        Value->SetTransparentMode(tmAuto);
    }
    Target->Assign(Value);
    Invalidate();
}

void TComLed::SetGlyphOn(TBitmap* Value) {
    SetGlyph(FGlyphOn.get(), Value);
}

void TComLed::SetGlyphOff(TBitmap* Value) {
    SetGlyph(FGlyphOff.get(), Value);
}

bool TComLed::IsStateOn() const {
    if (!FComPort) return false;
    switch (FLedSignal) {
    case lsConn:
        return FComPort->GetConnected();
    case lsCTS:
        return FComPort->Signals().Contains(csCTS);
    case lsDSR:
        return FComPort->Signals().Contains(csDSR);
    case lsRLSD:
        return FComPort->Signals().Contains(csRLSD);
    default:
        return false;
    }
}

void TComLed::DoChange(TLedState AState) {
    if (OnChange) OnChange(this, AState);
}

void TComLed::SetStateInternal(TLedState Value) {
    FState = Value;
    // A lamp being freed (its port first, or with its form) tells no one and
    // draws nothing: the handlers' objects and the window may be half gone.
    const TComponentState state = GetComponentState();
    if (state.Contains(csDestroying)) return;
    if (!state.Contains(csLoading)) DoChange(Value);
    Invalidate();
}

void TComLed::SignalChange(TObject*, bool OnOff) {
    if ((OnOff ? lsOn : lsOff) == FState) {
        // A signal back on before its lamp went dark: the pending "off" is
        // stale, and the lamp stays lit while the signal is.
        if (OnOff) FTimer->SetEnabled(false);
        return;
    }
    if (OnOff) {
        FTimer->SetEnabled(false);
        SetStateInternal(lsOn);
        // The lamp shows at once; the application's other messages wait for
        // their turn, so no handler (a Close among them) runs inside this event.
        Repaint();
    } else {
        FPendingState = lsOff;
        FTimer->SetInterval(100);
        FTimer->SetEnabled(true);
    }
}

void TComLed::RingDetect(TObject*) {
    FTimer->SetInterval(static_cast<Cardinal>(std::max(FRingDuration, 0)));
    FTimer->SetEnabled(true);
    SetStateInternal(lsOn);
    FPendingState = lsOff;
}

void TComLed::DoTimer(TObject*) {
    FTimer->SetEnabled(false);
    SetStateInternal(FPendingState);
}

void TComLed::EnabledChanged() {
    TGraphicControl::EnabledChanged();
    Invalidate();
}

void TComLed::LoadGlyphs() {
    if (FKind == lkCustom) return;
    LoadPicture(FGlyphOn.get(), kGlyphNames[FKind][0]);
    LoadPicture(FGlyphOff.get(), kGlyphNames[FKind][1]);
}

void TComLed::Paint() {
    if (FGlyphOn->GetEmpty() || FGlyphOff->GetEmpty()) LoadGlyphs();
    TBitmap* glyph = GetEnabled() && FState == lsOn ? FGlyphOn.get() : FGlyphOff.get();
    TCanvas* canvas = GetCanvas();
    // The lamp stands on the control's own colour; the pictures are transparent around it.
    canvas->GetBrush()->SetColor(GetColor());
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->FillRect(GetClientRect());
    const int x = std::max(0, (GetClientWidth() - glyph->GetWidth()) / 2);
    const int y = std::max(0, (GetClientHeight() - glyph->GetHeight()) / 2);
    canvas->Draw(x, y, glyph);
}
