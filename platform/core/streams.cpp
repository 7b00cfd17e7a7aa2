#include "platform/core/streams.h"

#include "platform/core/sysutils.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

String ErrnoText(int err) {
    return UTF8ToString(std::generic_category().message(err));
}

// Where a seek lands; the caller clamps or rejects it.
Int64 SeekTarget(Int64 Offset, TSeekOrigin Origin, Int64 Position, Int64 Size) {
    switch (Origin) {
    case soBeginning:
        return Offset;
    case soCurrent:
        return Position + Offset;
    case soEnd:
        return Size + Offset;
    }
    return Position;
}

} // namespace

// ---------------------------------------------------------------------------
// TStream

const ClassInfo& TStream::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TStream>("TStream", &TObject::StaticClass());
    return ci;
}

void TStream::ReadBuffer(void* Buffer, LongInt Count) {
    if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError(u"Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, LongInt Count) {
    if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError(u"Stream write error");
}

Int64 TStream::GetSize() {
    const Int64 pos = Seek(0, soCurrent);
    const Int64 size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

Int64 TStream::CopyFrom(TStream* Source, Int64 Count) {
    if (Count == 0) {
        Source->SetPosition(0);
        Count = Source->GetSize();
    }
    if (Count <= 0) return 0;
    constexpr Int64 kChunk = 0xF000;
    std::vector<Byte> buffer(static_cast<std::size_t>(std::min(Count, kChunk)));
    for (Int64 left = Count; left > 0;) {
        const auto n = static_cast<LongInt>(std::min(left, kChunk));
        Source->ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= n;
    }
    return Count;
}

// ---------------------------------------------------------------------------
// TCustomMemoryStream

const ClassInfo& TCustomMemoryStream::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TCustomMemoryStream>("TCustomMemoryStream", &TStream::StaticClass());
    return ci;
}

void TCustomMemoryStream::SetPointer(void* Ptr, Int64 Size) {
    FMemory = Ptr;
    FSize = Size;
}

LongInt TCustomMemoryStream::Read(void* Buffer, LongInt Count) {
    if (FPosition < 0 || Count <= 0 || FPosition >= FSize) return 0;
    const auto n = static_cast<LongInt>(std::min<Int64>(Count, FSize - FPosition));
    std::memcpy(Buffer, static_cast<const Byte*>(FMemory) + FPosition, static_cast<std::size_t>(n));
    FPosition += n;
    return n;
}

Int64 TCustomMemoryStream::Seek(Int64 Offset, TSeekOrigin Origin) {
    FPosition = SeekTarget(Offset, Origin, FPosition, FSize);
    return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream) {
    Int64 done = 0;
    while (done < FSize) {
        const auto n = static_cast<LongInt>(std::min<Int64>(FSize - done, 0x40000000));
        Stream->WriteBuffer(static_cast<const Byte*>(FMemory) + done, n);
        done += n;
    }
}

void TCustomMemoryStream::SaveToFile(const String& FileName) {
    ReplaceFileContents(FileName, FMemory, static_cast<std::size_t>(FSize));
}

// ---------------------------------------------------------------------------
// TMemoryStream

const ClassInfo& TMemoryStream::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TMemoryStream>("TMemoryStream", &TCustomMemoryStream::StaticClass());
    return ci;
}

void TMemoryStream::Resize(Int64 NewSize) {
    if (NewSize < 0) NewSize = 0;
    try {
        FData.resize(static_cast<std::size_t>(NewSize));
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory(u"Out of memory while expanding memory stream");
    } catch (const std::length_error&) {
        throw EOutOfMemory(u"Out of memory while expanding memory stream");
    }
    SetPointer(FData.data(), static_cast<Int64>(FData.size()));
}

LongInt TMemoryStream::Write(const void* Buffer, LongInt Count) {
    if (FPosition < 0 || Count <= 0) return 0;
    const Int64 end = FPosition + Count;
    if (end > GetSize()) Resize(end);
    std::memcpy(FData.data() + FPosition, Buffer, static_cast<std::size_t>(Count));
    FPosition = end;
    return Count;
}

void TMemoryStream::SetSize(Int64 NewSize) {
    Resize(NewSize);
    if (FPosition > GetSize()) FPosition = GetSize();
}

void TMemoryStream::Clear() {
    FData.clear();
    FData.shrink_to_fit();
    SetPointer(nullptr, 0);
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
    Stream->SetPosition(0);
    const Int64 size = Stream->GetSize();
    Resize(size);
    FPosition = 0;
    for (Int64 done = 0; done < size;) {
        const auto n = static_cast<LongInt>(std::min<Int64>(size - done, 0x40000000));
        Stream->ReadBuffer(FData.data() + done, n);
        done += n;
    }
}

void TMemoryStream::LoadFromFile(const String& FileName) {
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&file);
}

// ---------------------------------------------------------------------------
// TFileStream

const ClassInfo& TFileStream::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TFileStream>("TFileStream", &TStream::StaticClass());
    return ci;
}

TFileStream::TFileStream(const String& AFileName, Word Mode) : FFileName(AFileName) {
    const bool create = (Mode & fmCreate) == fmCreate;
    int flags = O_CLOEXEC;
    if (create) {
        flags |= O_RDWR | O_CREAT | O_TRUNC;
    } else {
        switch (Mode & 3) {
        case fmOpenRead:
            flags |= O_RDONLY;
            break;
        case fmOpenWrite:
            flags |= O_WRONLY;
            break;
        case fmOpenReadWrite:
            flags |= O_RDWR;
            break;
        default:
            throw EFOpenError(u"Cannot open file \"%s\". %s", {AFileName, ErrnoText(EINVAL)});
        }
    }
    const AnsiString path = UTF8Encode(AFileName);
    int fd = -1;
    do {
        fd = ::open(path.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    int err = fd < 0 ? errno : 0;
    // A directory opens for reading on Linux; as a file stream it is an error.
    struct stat st {};
    if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        fd = -1;
        err = EISDIR;
    }
    if (fd < 0) {
        if (create) throw EFCreateError(u"Cannot create file \"%s\". %s", {AFileName, ErrnoText(err)});
        throw EFOpenError(u"Cannot open file \"%s\". %s", {AFileName, ErrnoText(err)});
    }
    FHandle = fd;
}

TFileStream::~TFileStream() {
    if (FHandle >= 0) ::close(FHandle);
}

LongInt TFileStream::Read(void* Buffer, LongInt Count) {
    LongInt done = 0;
    while (done < Count) {
        const ssize_t n =
            ::read(FHandle, static_cast<Byte*>(Buffer) + done, static_cast<std::size_t>(Count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<LongInt>(n);
    }
    return done;
}

LongInt TFileStream::Write(const void* Buffer, LongInt Count) {
    LongInt done = 0;
    while (done < Count) {
        const ssize_t n =
            ::write(FHandle, static_cast<const Byte*>(Buffer) + done, static_cast<std::size_t>(Count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<LongInt>(n);
    }
    return done;
}

Int64 TFileStream::Seek(Int64 Offset, TSeekOrigin Origin) {
    const int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
    return ::lseek(FHandle, static_cast<off_t>(Offset), whence);
}

void TFileStream::SetSize(Int64 NewSize) {
    Seek(NewSize, soBeginning);
    if (::ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0) {
        EOSError e(ErrnoText(errno));
        e.ErrorCode = static_cast<std::uint32_t>(errno);
        throw e;
    }
}

// ---------------------------------------------------------------------------
// TStringStream

const ClassInfo& TStringStream::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TStringStream>("TStringStream", &TStream::StaticClass());
    return ci;
}

TStringStream::TStringStream(AnsiString AString) : FDataString(std::move(AString)) {}

TStringStream::TStringStream(const String& AString) : FDataString(UTF8Encode(AString)) {}

LongInt TStringStream::Read(void* Buffer, LongInt Count) {
    const Int64 size = GetSize();
    if (FPosition < 0 || Count <= 0 || FPosition >= size) return 0;
    const auto n = static_cast<LongInt>(std::min<Int64>(Count, size - FPosition));
    std::memcpy(Buffer, FDataString.data() + FPosition, static_cast<std::size_t>(n));
    FPosition += n;
    return n;
}

LongInt TStringStream::Write(const void* Buffer, LongInt Count) {
    if (FPosition < 0 || Count <= 0) return 0;
    const Int64 end = FPosition + Count;
    if (end > GetSize()) FDataString.resize(static_cast<std::size_t>(end));
    std::memcpy(FDataString.data() + FPosition, Buffer, static_cast<std::size_t>(Count));
    FPosition = end;
    return Count;
}

Int64 TStringStream::Seek(Int64 Offset, TSeekOrigin Origin) {
    FPosition = std::clamp<Int64>(SeekTarget(Offset, Origin, FPosition, GetSize()), 0, GetSize());
    return FPosition;
}

void TStringStream::SetSize(Int64 NewSize) {
    FDataString.resize(static_cast<std::size_t>(std::max<Int64>(NewSize, 0)));
    if (FPosition > GetSize()) FPosition = GetSize();
}

AnsiString TStringStream::ReadString(LongInt Count) {
    const Int64 size = GetSize();
    if (FPosition < 0 || Count <= 0 || FPosition >= size) return {};
    const auto n = static_cast<std::size_t>(std::min<Int64>(Count, size - FPosition));
    AnsiString out = FDataString.substr(static_cast<std::size_t>(FPosition), n);
    FPosition += static_cast<Int64>(n);
    return out;
}

void TStringStream::WriteString(const AnsiString& AString) {
    Write(AString.data(), static_cast<LongInt>(AString.size()));
}

namespace {

// Writes all of Size bytes; the errno of the first failure, or 0.
int WriteAll(int fd, const void* Data, std::size_t Size) {
    const auto* p = static_cast<const Byte*>(Data);
    while (Size > 0) {
        const ssize_t n = ::write(fd, p, Size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : ENOSPC;
        p += n;
        Size -= static_cast<std::size_t>(n);
    }
    return 0;
}

// A device or a pipe has no contents to keep: the bytes go straight into it.
void WriteInPlace(const String& FileName, const AnsiString& Path, const void* Data, std::size_t Size) {
    const int fd = ::open(Path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) throw EFCreateError(u"Cannot create file \"%s\". %s", {FileName, ErrnoText(errno)});
    int err = WriteAll(fd, Data, Size);
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err != 0) throw EWriteError(u"Cannot write file \"%s\". %s", {FileName, ErrnoText(err)});
}

} // namespace

void ReplaceFileContents(const String& FileName, const void* Data, std::size_t Size) {
    AnsiString path = UTF8Encode(FileName);
    // A link stays a link: the file it leads to takes the new contents.
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            path = real;
            std::free(real);
        }
    }
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
        return WriteInPlace(FileName, path, Data, Size);
    // A file we may not write keeps its contents, as it would when opened for writing: the rename
    // asks only the folder, and would replace a file its owner made read-only.
    if (exists && S_ISREG(st.st_mode) && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        throw EFCreateError(u"Cannot create file \"%s\". %s", {FileName, ErrnoText(errno)});
    // The new bytes go beside the target, so that the rename stays within one file system, under
    // a short name of their own: the target's name may already be as long as a name can be.
    const std::size_t slash = path.rfind('/');
    AnsiString temp =
        (slash == AnsiString::npos ? AnsiString() : path.substr(0, slash + 1)) + ".moltren-XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) throw EFCreateError(u"Cannot create file \"%s\". %s", {FileName, ErrnoText(errno)});
    int err = WriteAll(fd, Data, Size);
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    // A new file gets the permissions an ordinary create would give it; a replaced one keeps its own.
    const mode_t umaskNow = ::umask(0);
    ::umask(umaskNow);
    const mode_t mode = exists ? (st.st_mode & 07777) : (0666 & ~umaskNow);
    if (err == 0 && ::fchmod(fd, mode) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err == 0 && std::rename(temp.c_str(), path.c_str()) != 0) err = errno;
    if (err != 0) {
        ::unlink(temp.c_str());
        throw EWriteError(u"Cannot write file \"%s\". %s", {FileName, ErrnoText(err)});
    }
}
