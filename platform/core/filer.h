#pragma once
// The component streams: TWriter writes a component tree as the class
// library's binary "TPF0" stream and TReader builds it back, with published
// properties, defined properties, child components, reference fix-ups and
// events bound by name.

#include "platform/core/collections.h"
#include "platform/core/lists.h"
#include "platform/core/streams.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

// Value tags of the binary format; the numbers are the format's.
enum TValueType : std::uint8_t {
    vaNull,
    vaList,
    vaInt8,
    vaInt16,
    vaInt32,
    vaExtended,
    vaString,
    vaIdent,
    vaFalse,
    vaTrue,
    vaBinary,
    vaSet,
    vaLString,
    vaNil,
    vaCollection,
    vaSingle,
    vaCurrency,
    vaDate,
    vaWString,
    vaInt64,
    vaUTF8String,
    vaDouble,
};

// The optional prefix of an object record: 0xF0 | flags.
enum TFilerFlag : std::uint8_t { ffInherited, ffChildPos, ffInline };
using TFilerFlags = Set<TFilerFlag>;

using TReaderProc = std::function<void(TReader* Reader)>;
using TWriterProc = std::function<void(TWriter* Writer)>;
using TStreamProc = std::function<void(TStream* Stream)>;

// The 80-bit extended float of the format, little-endian: 64-bit mantissa with
// an explicit integer bit, 15-bit exponent, sign. Every double converts to it
// and back exactly; the way back rounds to nearest, ties to even.
using TExtended80 = std::array<Byte, 10>;
TExtended80 DoubleToExtended(double Value);
double ExtendedToDouble(const TExtended80& Value);
// True when the extended value is exactly a double (infinities included).
bool ExtendedIsDouble(const TExtended80& Value);

inline constexpr char FilerSignature[4] = {'T', 'P', 'F', '0'};

class TFiler : public TObject {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    // BufSize is accepted for the callers' sake: filers read and write straight
    // through to the stream, so the stream's position is always the filer's.
    TFiler(TStream* Stream, int BufSize);

    TStream* GetStream() const { return FStream; }
    TComponent* GetRoot() const { return FRoot; }
    virtual void SetRoot(TComponent* Value);
    TComponent* GetLookupRoot() const { return FLookupRoot; }
    // What references are written relative to, when not the root (SetRoot sets both): a
    // component the root holds written as the root of its own stream.
    void SetLookupRoot(TComponent* Value) { FLookupRoot = Value; }
    // Streams are never written against an ancestor here.
    TPersistent* GetAncestor() const { return nullptr; }
    bool GetIgnoreChildren() const { return FIgnoreChildren; }
    void SetIgnoreChildren(bool Value) { FIgnoreChildren = Value; }

    // A property that the published tables do not describe: the reader calls
    // ReadData when the stream holds it, the writer calls WriteData when
    // HasData says it is worth writing.
    virtual void DefineProperty(std::string_view Name, const TReaderProc& ReadData,
                                const TWriterProc& WriteData, bool HasData) = 0;
    // The same for a block of bytes ("Data" of a series, ...).
    virtual void DefineBinaryProperty(std::string_view Name, const TStreamProc& ReadData,
                                      const TStreamProc& WriteData, bool HasData) = 0;
    virtual void FlushBuffer() {}

protected:
    TStream* FStream = nullptr;
    TComponent* FRoot = nullptr;
    TComponent* FLookupRoot = nullptr;
    bool FIgnoreChildren = false;
};

class TWriter : public TFiler {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TWriter(TStream* Stream, int BufSize = 4096);

    void DefineProperty(std::string_view Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(std::string_view Name, const TStreamProc& ReadData,
                              const TStreamProc& WriteData, bool HasData) override;

    void WriteSignature();
    // Root becomes the root, then the signature and Root's tree follow.
    void WriteRootComponent(TComponent* Root);
    // One object record: class, name, properties and children. References are
    // written by name relative to the root.
    void WriteComponent(TComponent* Component);
    // The record body, as TComponent::WriteState calls it.
    void WriteData(TComponent* Instance);
    // Published properties by the writing rule, then the defined ones.
    void WriteProperties(TPersistent* Instance);
    // vaCollection, then each item's properties as a list, then the end. WriteHead, when
    // given, writes what opens each item's list before its properties (a class name, say).
    void WriteCollection(TCollection* Value,
                         const std::function<void(TWriter* Writer, TCollectionItem* Item)>& WriteHead = {});

    void WriteListBegin();
    void WriteListEnd();
    void WriteBoolean(bool Value);
    void WriteChar(Char Value);
    // The smallest of the four integer tags that holds Value.
    void WriteInteger(Int64 Value);
    void WriteFloat(Extended Value); // as 80-bit extended
    void WriteSingle(Single Value);
    void WriteDouble(double Value);
    void WriteCurrency(double Value); // scaled by 10000 into 64 bits
    void WriteDate(TDateTime Value);
    // ASCII as a short or long string; other text as UTF-8 when that is
    // shorter than UTF-16, else as UTF-16.
    void WriteString(const String& Value);
    void WriteWideString(const WideString& Value);
    void WriteUTF8String(const AnsiString& Value);
    void WriteIdent(std::string_view Ident);
    // Set elements by name, from a bit mask.
    void WriteSet(std::uint64_t Bits, const EnumInfo& Info);
    // A short string: a length byte and the bytes (at most 255, else EWriteError).
    void WriteStr(std::string_view Value);
    void WriteValue(TValueType Value);
    void Write(const void* Buffer, LongInt Count);
    void WriteExtended80(const TExtended80& Value);
    void WritePrefix(TFilerFlags Flags, int ChildPos);

    Int64 GetPosition() { return FStream->GetPosition(); }
    void SetPosition(Int64 Value) { FStream->SetPosition(Value); }

private:
    void WriteProperty(TPersistent* Instance, const PropInfo& Prop);
    void WritePropName(std::string_view Name);
    void WriteNested(TPersistent* Value, std::string_view Name);
    std::string GetComponentValue(TComponent* Component) const;

    std::string FPropPath;
};

// A resolved handler for an event named in a stream.
using TReaderError = Event<void(TReader* Reader, const String& Message, bool& Handled)>;
using TFindMethodEvent =
    Event<void(TReader* Reader, const String& MethodName, const MethodInfo*& Method, bool& Error)>;

class TReader : public TFiler {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TReader(TStream* Stream, int BufSize = 4096);

    void DefineProperty(std::string_view Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(std::string_view Name, const TStreamProc& ReadData,
                              const TStreamProc& WriteData, bool HasData) override;

    // EReadError "Invalid stream format" unless the next four bytes are "TPF0".
    void ReadSignature();
    // Reads a whole stream into Root, or into a new component of the stream's
    // class when Root is nullptr. Component references are fixed up after the
    // tree is read, then every read component gets Loaded (the root first).
    TComponent* ReadRootComponent(TComponent* Root);
    // One object record; children are owned by the root and parented to the
    // enclosing object through SetParentComponent.
    TComponent* ReadComponent(TComponent* Component);
    // The record body, as TComponent::ReadState calls it.
    void ReadData(TComponent* Instance);
    // One property record; names are case-insensitive and dotted paths walk
    // into sub-objects. A name the tables do not know goes to the instance's
    // DefineProperties, then to Error.
    void ReadProperty(TPersistent* Instance);
    // The items that follow a vaCollection tag replace the collection's items.
    void ReadCollection(TCollection* Collection);

    bool EndOfList();
    void ReadListBegin();
    void ReadListEnd();
    TValueType ReadValue();
    TValueType NextValue();
    void CheckValue(TValueType Value);
    void SkipValue();

    bool ReadBoolean();
    Char ReadChar();
    Integer ReadInteger();
    Int64 ReadInt64();
    // Any numeric tag.
    Extended ReadFloat();
    Single ReadSingle();
    double ReadDouble();
    double ReadCurrency();
    TDateTime ReadDate();
    // Any string tag.
    String ReadString();
    WideString ReadWideString();
    // An identifier; False, True, nil and Null come back as their names.
    std::string ReadIdent();
    // Set element names as a bit mask; unknown names raise after the set is read.
    std::uint64_t ReadSet(const EnumInfo& Info);
    // The bytes of a binary value.
    AnsiString ReadBinary();
    std::string ReadStr();
    // Exactly Count bytes or EReadError.
    void Read(void* Buffer, LongInt Count);
    // The 10 bytes that follow a vaExtended tag.
    TExtended80 ReadExtended80();
    void ReadPrefix(TFilerFlags& Flags, int& ChildPos);

    Int64 GetPosition() { return FStream->GetPosition(); }
    void SetPosition(Int64 Value) { FStream->SetPosition(Value); }
    TComponent* GetOwner() const { return FOwner; }
    void SetOwner(TComponent* Value) { FOwner = Value; }
    TComponent* GetParent() const { return FParent; }
    void SetParent(TComponent* Value) { FParent = Value; }

    // Resolves the component references read so far against the root.
    void FixupReferences();

    // A recoverable error (unknown property, bad value, unbound handler):
    // true skips it and reading goes on, false raises. The default asks OnError.
    virtual bool Error(const String& Message);

    TReaderError OnError;
    // Asked for every handler named in the stream; Method is the root class's
    // published method of that name or nullptr, Error is set when it is
    // missing. Clearing Error leaves the event unbound instead of failing.
    TFindMethodEvent OnFindMethod;

private:
    struct Fixup {
        TPersistent* instance;
        const PropInfo* prop;
        std::string name;
        // The collection items the instance was read inside, outermost first:
        // clearing their collection frees the instance.
        std::vector<const TCollectionItem*> within;
    };
    // Counts nesting (objects, lists, collections) so that a hostile stream
    // cannot run the stack out.
    class Nesting {
    public:
        explicit Nesting(TReader& Reader);
        ~Nesting() { --reader_.FDepth; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

    private:
        TReader& reader_;
    };
    void ReadPropValue(TPersistent* Instance, const PropInfo& Prop);
    void ReadEvent(TPersistent* Instance, const PropInfo& Prop);
    [[noreturn]] void PropertyError(const std::string& Name);
    [[noreturn]] void WrongValue();
    Int64 ReadIntBody(TValueType Type);
    std::string ReadLongBytes(Int64 UnitSize);
    void SkipBytes(Int64 Count);
    Int64 Remaining();
    void SetComponentName(TComponent* Component, const std::string& Name);
    // Forgets the fix-ups of objects inside the collection's items, before
    // the items are freed.
    void DropFixupsWithin(const TCollection& Collection);

    std::string FPropName;
    bool FCanHandleExcepts = true;
    int FDepth = 0;
    TComponent* FOwner = nullptr;
    TComponent* FParent = nullptr;
    std::vector<TComponent*> FLoaded;
    std::vector<Fixup> FFixups;
    std::vector<const TCollectionItem*> FItems; // the items being read, outermost first
};

// Finds "Name", "Owner.Name" or "Name.Sub" below Root; "Owner" and Root's own
// name stand for Root. nullptr when there is no such component.
TComponent* FindNestedComponent(TComponent* Root, std::string_view NamePath);
