#include "serial/comdatapacket.h"

#include <algorithm>

const ClassInfo& TComDataPacket::StaticClass() {
    using D = TComDataPacket;
    static const PropInfo props[] = {
        MakeProp<&D::GetComPort, &D::SetComPort>("ComPort"),
        MakeProp<&D::GetCaseInsensitive, &D::SetCaseInsensitive>("CaseInsensitive").Default(false),
        MakeProp<&D::GetIncludeStrings, &D::SetIncludeStrings>("IncludeStrings").Default(false),
        MakeProp<&D::GetMaxBufferSize, &D::SetMaxBufferSize>("MaxBufferSize").Default(1024),
        MakeProp<&D::GetStartString, &D::SetStartString>("StartString"),
        MakeProp<&D::GetStopString, &D::SetStopString>("StopString"),
        MakeProp<&D::GetSize, &D::SetSize>("Size").Default(0),
        MakeProp<&D::OnDiscard>("OnDiscard"),
        MakeProp<&D::OnPacket>("OnPacket"),
        MakeProp<&D::OnCustomStart>("OnCustomStart"),
        MakeProp<&D::OnCustomStop>("OnCustomStop"),
    };
    static const ClassInfo ci = MakeClassInfo<D>("TComDataPacket", &TComponent::StaticClass(), props);
    return ci;
}

TComDataPacket::TComDataPacket(TComponent* AOwner)
    : TComponent(AOwner), FComLink(std::make_unique<TComLink>()) {
    FComLink->OnRxBuf.Bind(this, &TComDataPacket::RxBuf);
}

TComDataPacket::~TComDataPacket() {
    SetComPort(nullptr); // never left in a port's list once gone
}

void TComDataPacket::BeforeDestruction() {
    SetComPort(nullptr);
    TComponent::BeforeDestruction();
}

void TComDataPacket::SetComPort(TCustomComPort* Value) {
    ChangeLinkedPort(this, FComLink.get(), FComPort, Value);
}

void TComDataPacket::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent && AComponent == FComPort) SetComPort(nullptr);
}

void TComDataPacket::Changed() {
    if (!GetComponentState().Contains(csLoading)) EmptyBuffer();
}

void TComDataPacket::SetStartString(const String& Value) {
    if (Value == FStartString) return;
    FStartString = Value;
    Changed();
}

void TComDataPacket::SetStopString(const String& Value) {
    if (Value == FStopString) return;
    FStopString = Value;
    Changed();
}

void TComDataPacket::SetSize(Integer Value) {
    if (Value == FSize) return;
    FSize = Value;
    Changed();
}

void TComDataPacket::SetCaseInsensitive(bool Value) {
    if (Value == FCaseInsensitive) return;
    FCaseInsensitive = Value;
    Changed();
}

void TComDataPacket::DoDiscard(const String& Str) {
    if (OnDiscard) OnDiscard(this, Str);
}

void TComDataPacket::DoPacket(const String& Str) {
    if (OnPacket) OnPacket(this, Str);
}

void TComDataPacket::DoCustomStart(const String& Str, Integer& Pos) {
    if (OnCustomStart) OnCustomStart(this, Str, Pos);
}

void TComDataPacket::DoCustomStop(const String& Str, Integer& Pos) {
    if (OnCustomStop) OnCustomStop(this, Str, Pos);
}

void TComDataPacket::EmptyBuffer() {
    if (FBuffer.empty()) return;
    const String discarded = std::move(FBuffer);
    FBuffer.clear();
    FInPacket = false;
    DoDiscard(discarded);
}

bool TComDataPacket::HasStopRule() const {
    return FSize > 0 || !FStopString.empty() || static_cast<bool>(OnCustomStop);
}

void TComDataPacket::AddData(const String& Str) {
    if (!HasStopRule()) {
        DoPacket(Str);
        return;
    }
    FBuffer += Str;
    HandleBuffer();
}

Integer TComDataPacket::Find(const String& What, const String& In) const {
    if (What.empty()) return 0;
    const std::size_t at = FCaseInsensitive ? UpperCase(In).find(UpperCase(What)) : In.find(What);
    return at == String::npos ? 0 : static_cast<Integer>(at) + 1;
}

// A packet at a time until none is left: a loop, so a burst of many small
// packets cannot run the stack out. The limit is looked at once the burst is
// cut, so complete packets that came together past the limit are handed out.
void TComDataPacket::HandleBuffer() {
    const auto limit = [this] {
        if (FMaxBufferSize > 0 && static_cast<Integer>(FBuffer.size()) >= FMaxBufferSize) EmptyBuffer();
    };
    try {
        while (CutPacket()) {
        }
    } catch (...) {
        limit();
        throw;
    }
    limit();
}

bool TComDataPacket::CutPacket() {
    const auto size = static_cast<Integer>(FBuffer.size());
    if (!FInPacket) {
        Integer found = -1;
        DoCustomStart(FBuffer, found);
        if (found == -1) found = FStartString.empty() ? 1 : Find(FStartString, FBuffer);
        if (found <= 0) return false;
        // A position past the end counts as the end: whatever came before is discarded.
        found = std::min(found, std::max(size, 1));
        FInPacket = true;
        if (found > 1) {
            const String before = FBuffer.substr(0, static_cast<std::size_t>(found - 1));
            FBuffer.erase(0, static_cast<std::size_t>(found - 1));
            DoDiscard(before);
        }
    }
    Integer length = 0;
    Integer found = -1;
    DoCustomStop(FBuffer, found);
    const auto have = static_cast<Integer>(FBuffer.size());
    if (found >= 1) {
        length = std::min(found, have);
    } else if (found == -1) {
        if (FSize > 0 && have >= FSize) {
            length = FSize;
        } else if (!FStopString.empty()) {
            const auto skip = std::min(FStartString.size(), FBuffer.size());
            const Integer at = Find(FStopString, FBuffer.substr(skip));
            if (at > 0) length = at + static_cast<Integer>(FStopString.size() + skip) - 1;
        }
    }
    if (length <= 0) return false;
    FInPacket = false;
    String packet = FBuffer.substr(0, static_cast<std::size_t>(length));
    FBuffer.erase(0, static_cast<std::size_t>(length));
    if (!FIncludeStrings) {
        if (Find(FStartString, packet) == 1) packet.erase(0, FStartString.size());
        const auto stop = static_cast<Integer>(FStopString.size());
        const Integer at = Find(FStopString, packet);
        if (at > 0 && at == static_cast<Integer>(packet.size()) - stop + 1)
            packet.erase(packet.size() - FStopString.size());
    }
    DoPacket(packet);
    return true;
}

// Bytes become text in the system code page; a character whose bytes are
// split between two arrivals waits for the rest instead of being broken.
void TComDataPacket::RxBuf(TObject*, const AnsiChar* Buffer, Integer Count) {
    AnsiString bytes = std::move(FPartial);
    FPartial.clear();
    bytes.append(Buffer, static_cast<std::size_t>(std::max(Count, 0)));
    const std::size_t keep = IncompleteCharTail(bytes);
    FPartial = bytes.substr(bytes.size() - keep);
    bytes.resize(bytes.size() - keep);
    if (!bytes.empty()) AddData(AnsiToString(bytes));
}

LongInt TComStream::Read(void* Buffer, LongInt Count) {
    return FComPort->Read(Buffer, Count);
}

LongInt TComStream::Write(const void* Buffer, LongInt Count) {
    return FComPort->Write(Buffer, Count);
}

Int64 TComStream::Seek(Int64, TSeekOrigin) {
    return 0;
}
