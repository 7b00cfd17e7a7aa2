#include "platform/core/lists.h"
#include "platform/core/streams.h"
#include "platform/core/sysutils.h"
#include "tests/support/filesizelimit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A fresh directory per test, removed afterwards.
class TempDir {
public:
    TempDir() {
        std::string tmpl = (fs::temp_directory_path() / "moltren-streams-XXXXXX").string();
        path_ = ::mkdtemp(tmpl.data());
    }
    ~TempDir() { fs::remove_all(path_); }
    String File(const char* name) const { return UTF8ToString((fs::path(path_) / name).string()); }

private:
    std::string path_;
};

AnsiString Contents(TStream& s) {
    AnsiString out(static_cast<std::size_t>(s.GetSize()), '\0');
    s.SetPosition(0);
    s.ReadBuffer(out.data(), static_cast<LongInt>(out.size()));
    return out;
}

TEST(Streams, MemoryStreamReadsWritesAndSeeksLikeTheClassLibrary) {
    Owned<TMemoryStream> m(Create<TMemoryStream>());
    m->WriteBuffer("abcdef", 6);
    EXPECT_EQ(m->GetSize(), 6);
    EXPECT_EQ(m->GetPosition(), 6);
    EXPECT_EQ(m->Seek(-2, soFromEnd), 4);
    char two[2];
    EXPECT_EQ(m->Read(two, 5), 2); // short read at the end, no error
    EXPECT_EQ(AnsiString(two, 2), "ef");
    EXPECT_EQ(m->Read(two, 1), 0);
    EXPECT_THROW(m->ReadBuffer(two, 1), EReadError);

    // Writing past the end fills the gap with zeros.
    m->Seek(2, soFromCurrent);
    m->WriteBuffer("Z", 1);
    EXPECT_EQ(Contents(*m), AnsiString("abcdef\0\0Z", 9));

    // Shrinking pulls the position back; Clear empties.
    m->SetPosition(9);
    m->SetSize(3);
    EXPECT_EQ(m->GetPosition(), 3);
    EXPECT_EQ(AnsiString(static_cast<const char*>(m->Memory()), 3), "abc");
    m->Clear();
    EXPECT_EQ(m->GetSize(), 0);
    EXPECT_EQ(m->GetPosition(), 0);

    try {
        m->ReadBuffer(two, 2);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), u"Stream read error");
    }
}

TEST(Streams, WriteBufferOnAReadOnlyMemoryRaisesWriteError) {
    struct TFixed : TCustomMemoryStream {
        explicit TFixed(const char* text) { SetPointer(const_cast<char*>(text), 3); }
    } fixed("xyz");
    try {
        fixed.WriteBuffer("a", 1);
        FAIL();
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message(), u"Stream write error");
    }
    EXPECT_EQ(Contents(fixed), "xyz");
}

TEST(Streams, CopyFromCopiesACountOrTheWholeSource) {
    Owned<TMemoryStream> src(Create<TMemoryStream>());
    AnsiString big(200000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    src->WriteBuffer(big.data(), static_cast<LongInt>(big.size()));

    Owned<TMemoryStream> dst(Create<TMemoryStream>());
    EXPECT_EQ(dst->CopyFrom(src.get(), 0), 200000); // from the start, whatever the position
    EXPECT_EQ(Contents(*dst), big);

    TStringStream part;
    src->SetPosition(10);
    EXPECT_EQ(part.CopyFrom(src.get(), 5), 5);
    EXPECT_EQ(part.DataString(), big.substr(10, 5));
    src->SetPosition(src->GetSize() - 2);
    EXPECT_THROW(part.CopyFrom(src.get(), 5), EReadError);
}

TEST(Streams, StringStreamHoldsBytes) {
    TStringStream s(String(u"Жук"));
    EXPECT_EQ(s.DataString(), "\xD0\x96\xD1\x83\xD0\xBA");
    EXPECT_EQ(s.GetSize(), 6);
    EXPECT_EQ(s.ReadString(2), "\xD0\x96");
    s.Seek(0, soFromEnd);
    s.WriteString("!");
    s.SetPosition(1);
    s.WriteString("ab");
    EXPECT_EQ(s.DataString(), "\xD0"
                              "ab\x83\xD0\xBA!");
    EXPECT_EQ(s.Seek(100, soFromBeginning), 7); // clamped to the end
    s.SetSize(2);
    EXPECT_EQ(s.DataString(), "\xD0"
                              "a");
    EXPECT_EQ(s.GetPosition(), 2);
}

TEST(Streams, FileStreamCreatesOpensAndTruncates) {
    TempDir dir;
    const String name = dir.File("data.bin");
    {
        TFileStream f(name, fmCreate);
        f.WriteBuffer("hello world", 11);
        EXPECT_EQ(f.GetSize(), 11);
        f.SetSize(5);
        EXPECT_EQ(f.GetPosition(), 5);
    }
    {
        TFileStream f(name, fmOpenRead | fmShareDenyWrite);
        EXPECT_EQ(Contents(f), "hello");
        EXPECT_THROW(f.WriteBuffer("x", 1), EWriteError); // opened for reading
    }
    {
        TFileStream f(name, fmOpenReadWrite);
        f.Seek(0, soFromEnd);
        f.WriteBuffer("!", 1);
    }
    Owned<TMemoryStream> m(Create<TMemoryStream>());
    m->LoadFromFile(name);
    EXPECT_EQ(Contents(*m), "hello!");
    m->SaveToFile(dir.File("copy.bin"));
    std::ifstream in(UTF8Encode(dir.File("copy.bin")), std::ios::binary);
    EXPECT_EQ(AnsiString(std::istreambuf_iterator<char>(in), {}), "hello!");
}

TEST(Streams, FileStreamFailuresNameTheFileAndTheReason) {
    TempDir dir;
    const String missing = dir.File("missing.txt");
    try {
        TFileStream f(missing, fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), u"Cannot open file \"" + missing + u"\". No such file or directory");
    }
    const String nodir = dir.File("no/such/dir.txt");
    try {
        TFileStream f(nodir, fmCreate);
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), u"Cannot create file \"" + nodir + u"\". No such file or directory");
    }
    // A directory is not a file, even though the OS would open it for reading.
    EXPECT_THROW(TFileStream(dir.File(""), fmOpenRead), EFOpenError);
}

} // namespace

namespace {
std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
std::size_t Entries(const fs::path& dir) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}
} // namespace

TEST(ReplaceFile, ANewFileIsCreatedAndAnOldOneReplacedKeepingItsPermissions) {
    TempDir dir;
    const String name = dir.File("out.bin");
    const fs::path path = UTF8Encode(name);
    ReplaceFileContents(name, "first", 5);
    EXPECT_EQ(ReadAll(path), "first");
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(static_cast<mode_t>(fs::status(path).permissions()), 0666 & ~mask);

    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    ReplaceFileContents(name, "second, longer", 14);
    EXPECT_EQ(ReadAll(path), "second, longer");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    ReplaceFileContents(name, "", 0);
    EXPECT_EQ(fs::file_size(path), 0u);
    EXPECT_EQ(Entries(path.parent_path()), 1u); // nothing else left beside it

    // A name as long as a name can be (255 bytes, Cyrillic letters taking two).
    const std::string longest = UTF8Encode(String(120, u'ж')) + std::string(11, 'x') + ".txt";
    ASSERT_EQ(longest.size(), 255u);
    ReplaceFileContents(UTF8ToString((path.parent_path() / longest).string()), "long", 4);
    EXPECT_EQ(ReadAll(path.parent_path() / longest), "long");

    // A link stays a link to the file that takes the new contents.
    fs::create_symlink(path, path.parent_path() / "link.bin");
    ReplaceFileContents(dir.File("link.bin"), "through", 7);
    EXPECT_TRUE(fs::is_symlink(path.parent_path() / "link.bin"));
    EXPECT_EQ(ReadAll(path), "through");

    // A pipe is written into, never replaced by a file.
    const fs::path fifo = path.parent_path() / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ReplaceFileContents(dir.File("pipe"), "piped", 5);
    char got[8] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 5);
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(Entries(path.parent_path()), 4u);
}

TEST(ReplaceFile, AWriteThatFailsLeavesTheOldFileAndNoStrayFile) {
    TempDir dir;
    const String name = dir.File("keep.bin");
    const fs::path path = UTF8Encode(name);
    const std::string big(4096, 'x');
    // Every way of writing a whole file: the bytes, a memory stream's, a list's text.
    const std::function<void()> writers[] = {
        [&] { ReplaceFileContents(name, big.data(), big.size()); },
        [&] {
            Owned<TMemoryStream> m(Create<TMemoryStream>());
            m->WriteBuffer(big.data(), static_cast<LongInt>(big.size()));
            m->SaveToFile(name);
        },
        [&] {
            Owned<TStringList> l(Create<TStringList>());
            l->SetText(UTF8ToString(big));
            l->SaveToFile(name);
        },
    };
    for (const auto& write : writers) {
        ReplaceFileContents(name, "old contents", 12);
        {
            FileSizeLimit limit(1024); // the disk fills up half-way
            try {
                write();
                ADD_FAILURE() << "a short write passed for success";
            } catch (const EWriteError& e) {
                EXPECT_EQ(e.Message(), u"Cannot write file \"" + name + u"\". File too large");
            }
        }
        EXPECT_EQ(ReadAll(path), "old contents");
        EXPECT_EQ(Entries(path.parent_path()), 1u);
    }

    // A folder in the target's place cannot be replaced by a file.
    fs::create_directory(path.parent_path() / "folder");
    fs::create_directory(path.parent_path() / "folder" / "inside");
    EXPECT_THROW(ReplaceFileContents(dir.File("folder"), "x", 1), EWriteError);
    EXPECT_TRUE(fs::is_directory(path.parent_path() / "folder" / "inside"));
    EXPECT_EQ(Entries(path.parent_path()), 2u);

    // No folder to put it in.
    EXPECT_THROW(ReplaceFileContents(dir.File("missing/out.bin"), "x", 1), EFCreateError);

    // A file made read-only in a folder anyone may write: refused, as opening it to write would be.
    // Root may write any file, so as root someone else tries it.
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(path.parent_path(), fs::perms::all);
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        if (::chdir(path.parent_path().c_str()) != 0) ::_exit(2);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
        try {
            ReplaceFileContents(u"keep.bin", "new", 3);
        } catch (const EFCreateError& e) {
            ::_exit(e.Message() == u"Cannot create file \"keep.bin\". Permission denied" ? 0 : 3);
        }
        ::_exit(1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_EQ(ReadAll(path), "old contents");
    EXPECT_EQ(Entries(path.parent_path()), 2u);
}
