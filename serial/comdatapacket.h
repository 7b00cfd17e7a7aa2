#pragma once
// Packets cut from a port's received bytes by start and stop strings, a fixed
// size or the program's own tests, and a port seen as a stream.

#include "platform/core/streams.h"
#include "serial/comport.h"

#include <memory>

using TComStrEvent = Event<void(TObject* Sender, const String& Str)>;
// Pos: the program's answer, 1-based; -1 (as given) leaves the decision to
// the strings and the size, 0 means "not yet".
using TCustPacketEvent = Event<void(TObject* Sender, const String& Str, Integer& Pos)>;

class TComDataPacket : public TComponent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TComDataPacket(TComponent* AOwner);
    ~TComDataPacket() override;
    void BeforeDestruction() override;

    // New text for the packetizer.
    void AddData(const String& Str);
    // Hands everything collected to OnDiscard and starts over.
    void EmptyBuffer();

    TCustomComPort* GetComPort() const { return FComPort; }
    void SetComPort(TCustomComPort* Value);
    bool GetCaseInsensitive() const { return FCaseInsensitive; }
    void SetCaseInsensitive(bool Value);
    bool GetIncludeStrings() const { return FIncludeStrings; }
    void SetIncludeStrings(bool Value) { FIncludeStrings = Value; }
    Integer GetMaxBufferSize() const { return FMaxBufferSize; }
    void SetMaxBufferSize(Integer Value) { FMaxBufferSize = Value; }
    const String& GetStartString() const { return FStartString; }
    void SetStartString(const String& Value);
    const String& GetStopString() const { return FStopString; }
    void SetStopString(const String& Value);
    Integer GetSize() const { return FSize; }
    void SetSize(Integer Value);
    // What has been collected and not yet handed out.
    const String& GetBuffer() const { return FBuffer; }
    TComLink* GetLink() const { return FComLink.get(); }

    TComStrEvent OnDiscard;
    TComStrEvent OnPacket;
    TCustPacketEvent OnCustomStart;
    TCustPacketEvent OnCustomStop;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void DoDiscard(const String& Str);
    virtual void DoPacket(const String& Str);
    virtual void DoCustomStart(const String& Str, Integer& Pos);
    virtual void DoCustomStop(const String& Str, Integer& Pos);
    virtual void HandleBuffer();

private:
    void RxBuf(TObject* Sender, const AnsiChar* Buffer, Integer Count);
    bool HasStopRule() const;
    // One step of HandleBuffer; true when a packet went out.
    bool CutPacket();
    Integer Find(const String& What, const String& In) const;
    void Changed();

    std::unique_ptr<TComLink> FComLink;
    TCustomComPort* FComPort = nullptr;
    String FStartString;
    String FStopString;
    Integer FMaxBufferSize = 1024;
    Integer FSize = 0;
    bool FIncludeStrings = false;
    bool FCaseInsensitive = false;
    bool FInPacket = false;
    String FBuffer;
    // The start of a character whose remaining bytes have not arrived yet.
    AnsiString FPartial;
};

// A port as a stream: reads and writes go through the port; there is no position.
class TComStream : public TStream {
public:
    explicit TComStream(TCustomComPort* AComPort) : FComPort(AComPort) {}
    LongInt Read(void* Buffer, LongInt Count) override;
    LongInt Write(const void* Buffer, LongInt Count) override;
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;

private:
    TCustomComPort* FComPort;
};
