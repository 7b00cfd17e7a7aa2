#pragma once
// Streams: the byte streams of the class library (memory, file, string) that
// the component filer, the exporters and the chart files read and write.

#include "platform/core/components.h"

#include <vector>

enum TSeekOrigin : std::uint8_t { soBeginning, soCurrent, soEnd };
// The older origin names; one Seek takes both.
inline constexpr TSeekOrigin soFromBeginning = soBeginning;
inline constexpr TSeekOrigin soFromCurrent = soCurrent;
inline constexpr TSeekOrigin soFromEnd = soEnd;

// File stream modes: an access mode or'ed with a share mode. Share modes are
// accepted for the callers' sake and have no effect here.
inline constexpr Word fmCreate = 0xFF00;
inline constexpr Word fmOpenRead = 0x0000;
inline constexpr Word fmOpenWrite = 0x0001;
inline constexpr Word fmOpenReadWrite = 0x0002;
inline constexpr Word fmShareCompat = 0x0000;
inline constexpr Word fmShareExclusive = 0x0010;
inline constexpr Word fmShareDenyWrite = 0x0020;
inline constexpr Word fmShareDenyRead = 0x0030;
inline constexpr Word fmShareDenyNone = 0x0040;

class TStream : public TObject {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    // Read and Write move at most Count bytes and return how many they moved.
    virtual LongInt Read(void* Buffer, LongInt Count) = 0;
    virtual LongInt Write(const void* Buffer, LongInt Count) = 0;
    virtual Int64 Seek(Int64 Offset, TSeekOrigin Origin) = 0;

    // All or nothing: EReadError "Stream read error" / EWriteError "Stream write error".
    void ReadBuffer(void* Buffer, LongInt Count);
    void WriteBuffer(const void* Buffer, LongInt Count);
    // Copies Count bytes from Source's position; Count 0 copies the whole of
    // Source from its start. Returns the number of bytes copied.
    Int64 CopyFrom(TStream* Source, Int64 Count);

    Int64 GetPosition() { return Seek(0, soCurrent); }
    void SetPosition(Int64 Pos) { Seek(Pos, soBeginning); }
    virtual Int64 GetSize();
    virtual void SetSize(Int64 NewSize) {}

    // The component stream ("TPF0") of Instance and its children, and the way
    // back into Instance (or into a new component of the stream's class when
    // Instance is nullptr). Both live with the filer.
    void WriteComponent(TComponent* Instance);
    TComponent* ReadComponent(TComponent* Instance);
};

// A stream over a block of memory it does not own: reads and seeks only.
class TCustomMemoryStream : public TStream {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    LongInt Read(void* Buffer, LongInt Count) override;
    LongInt Write(const void* Buffer, LongInt Count) override { return 0; }
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
    Int64 GetSize() override { return FSize; }

    void SaveToStream(TStream* Stream);
    // The whole of the bytes in place of the file, through ReplaceFileContents.
    void SaveToFile(const String& FileName);
    void* Memory() const { return FMemory; }

protected:
    void SetPointer(void* Ptr, Int64 Size);
    Int64 FPosition = 0;

private:
    void* FMemory = nullptr;
    Int64 FSize = 0;
};

class TMemoryStream : public TCustomMemoryStream {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    LongInt Write(const void* Buffer, LongInt Count) override;
    void SetSize(Int64 NewSize) override;
    void Clear();
    // Replaces the contents with the whole of Stream (read from its start).
    void LoadFromStream(TStream* Stream);
    void LoadFromFile(const String& FileName);

private:
    void Resize(Int64 NewSize);
    std::vector<Byte> FData;
};

// A file through the OS: EFOpenError "Cannot open file "name". reason" or,
// with fmCreate (create or truncate), EFCreateError "Cannot create file ...".
class TFileStream : public TStream {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TFileStream(const String& AFileName, Word Mode);
    ~TFileStream() override;

    LongInt Read(void* Buffer, LongInt Count) override;
    LongInt Write(const void* Buffer, LongInt Count) override;
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
    // Truncates or extends the file; the position moves to NewSize.
    void SetSize(Int64 NewSize) override;

    const String& GetFileName() const { return FFileName; }
    NativeInt GetHandle() const { return FHandle; }

private:
    String FFileName;
    int FHandle = -1;
};

// A stream over a byte string: DataString is the whole of what was written.
class TStringStream : public TStream {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TStringStream(AnsiString AString = {});
    explicit TStringStream(const String& AString); // stored as UTF-8

    LongInt Read(void* Buffer, LongInt Count) override;
    LongInt Write(const void* Buffer, LongInt Count) override;
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
    Int64 GetSize() override { return static_cast<Int64>(FDataString.size()); }
    void SetSize(Int64 NewSize) override;

    // Up to Count bytes from the position on.
    AnsiString ReadString(LongInt Count);
    void WriteString(const AnsiString& AString);
    const AnsiString& DataString() const { return FDataString; }

private:
    AnsiString FDataString;
    Int64 FPosition = 0;
};

// Puts Size bytes in place of the file FileName (created when missing): they go to a new
// file in the same folder, which then takes the name in one step. A write that fails
// (EFCreateError, EWriteError, each naming the file and the reason) leaves any earlier file as
// it was and no stray file behind. A link is followed, a device or a pipe is written as is, and a
// file this process may not write is refused (EFCreateError) as an open for writing would be.
void ReplaceFileContents(const String& FileName, const void* Data, std::size_t Size);
