// The animated cursor reader's bounds: a damaged file gives no cursor, never a crash or a large
// allocation; a step's time is at least one jiffy; an animated cursor animates wherever the
// screen's table puts it, over another one too.
#include "platform/gui/cursorfile.h"

#include "tests/platform/gui/guitest.h"
#include "tests/support/cursorfiles.h"
#include "tests/support/tempdir.h"

#include <string>

namespace {

class AnimatedCursorFile : public GuiTest {
protected:
    static AniFile Busy() {
        return AniFile({AlphaCursor(0xFF0000), AlphaCursor(0x0000FF)}, {1, 0, 0}, {6, 12, 3});
    }
    HCURSOR Load(const std::vector<std::uint8_t>& Bytes, const std::string& Name) const {
        const auto path = temp.path / Name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
        return LoadCursorFromFileW(UTF8ToString(path.string()));
    }
    const TempDir temp{"moltren-animated-cursor"};
};

} // namespace

TEST_F(AnimatedCursorFile, EveryCountAndSizeIsCheckedAgainstTheBytesThatHoldIt) {
    using Bytes = std::vector<std::uint8_t>;
    const auto patched = [](std::size_t At, std::uint32_t Value) {
        Bytes d = Busy().Bytes();
        for (int i = 0; i < 4; ++i) d[At + i] = static_cast<std::uint8_t>(Value >> (8 * i));
        return d;
    };
    const auto cut = [](std::size_t Size) {
        Bytes d = Busy().Bytes();
        d.resize(Size);
        return d;
    };
    const auto with = [](auto Change) {
        AniFile a = Busy();
        Change(a);
        return a.Bytes();
    };
    const std::size_t list = 12 + 44 + 20 + 20; // the "LIST" chunk: after "anih", "rate" and "seq "
    const std::size_t icon = list + 12;         // the first frame's "icon" chunk, 8 + 4286 bytes
    const std::pair<const char*, Bytes> rows[] = {
        {"header-cut.ani", cut(20)},
        {"frame-cut.ani", cut(icon + 100)},
        {"riff-past-end.ani", patched(4, 0xFFFFFFF0)},
        {"header-size-huge.ani", with([](AniFile& a) { a.HeaderSize = 0xFFFFFFFF; })},
        {"frames-fewer.ani", with([](AniFile& a) { a.FrameCount = 3; })},
        {"frames-huge.ani", with([](AniFile& a) { a.FrameCount = 0x7FFFFFFF; })},
        {"steps-huge.ani", with([](AniFile& a) { a.StepCount = 0x40000000; })},
        {"rates-fewer.ani", with([](AniFile& a) {
             a.Rates = {6, 12};
         })},
        {"steps-past-frames.ani", with([](AniFile& a) {
             a.Order = {0, 5, 1};
         })},
        {"sequence-missing.ani", with([](AniFile& a) { a.Order.clear(); })},
        {"icon-past-end.ani", patched(icon + 8 + 4286 + 4, 0x7FFFFFF0)}, // the second frame's
        {"picture-past-end.ani", patched(icon + 8 + 18, 0x00FFFFF0)},
    };
    for (const auto& [name, bytes] : rows) EXPECT_EQ(Load(bytes, name), nullptr) << name;
    const HCURSOR whole = Load(Busy().Bytes(), "busy.ani");
    ASSERT_NE(whole, nullptr);
    DestroyCursor(whole);
}

// A rate of 0 would stop the cursor on its step: each step lasts a jiffy at least.
TEST_F(AnimatedCursorFile, AStepOfNoTimeLastsAJiffy) {
    const HCURSOR cursor =
        Load(AniFile({AlphaCursor(0xFF0000), AlphaCursor(0x0000FF)}, {}, {0, 1}).Bytes(), "fast.ani");
    ASSERT_NE(cursor, nullptr);
    ASSERT_EQ(cursor->Steps.size(), 2u);
    EXPECT_EQ(cursor->Steps[0].Milliseconds, 17u);
    EXPECT_EQ(cursor->Steps[1].Milliseconds, 17u);
    DestroyCursor(cursor);
}

// Put where another animated cursor is, it animates in its place from its first step.
TEST_F(AnimatedCursorFile, AnAnimatedCursorPutOverAnotherStillAnimates) {
    TManualClock clock;
    Application->SetClock(&clock);
    const HCURSOR first = Load(Busy().Bytes(), "first.ani");
    const HCURSOR second = Load(Busy().Bytes(), "second.ani");
    ASSERT_TRUE(first && second);
    Screen->SetCursors(2040, first);
    Screen->SetCursors(2040, second);
    ASSERT_EQ(Screen->GetCursorHandle(2040), second);
    EXPECT_EQ(second->Step, 0u);
    clock.Advance(100); // the first step's 6 jiffies
    EXPECT_EQ(second->Step, 1u);
    Screen->SetCursors(2040, HCURSOR{});
    Application->SetClock(nullptr);
}
