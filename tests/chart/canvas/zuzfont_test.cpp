// The chart font: its defaults, what it streams, its decorations made on first use, and the
// default face and size by language.
#include "chart/canvas/zuzfont.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzshadow.h"
#include "platform/win32/winnls.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

bool Streams(TZuzFont& f, std::string_view name) {
    const PropInfo* p = f.ClassType().FindProp(name);
    return p && IsStoredProp(f, *p);
}

// The locale's language for the scope, and the defaults computed under it.
class Language {
public:
    explicit Language(const char* lang) {
        for (const char* v : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
            const char* old = std::getenv(v);
            FSaved.emplace_back(v, old ? std::optional<std::string>(old) : std::nullopt);
            unsetenv(v);
        }
        setenv("LANG", lang, 1);
        ZuzFontInitialization();
    }
    ~Language() {
        for (const auto& [name, value] : FSaved)
            if (value)
                setenv(name, value->c_str(), 1);
            else
                unsetenv(name);
        ZuzFontInitialization();
    }

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> FSaved;
};

} // namespace

TEST(ZuzFont, ANewFontStreamsNoneOfItsDefaults) {
    ZuzConstInitialization();
    ZuzFontFinalization(); // the ending clears the default face, the start-up sets it again
    EXPECT_TRUE(GetDefaultFontName().empty());
    ZuzFontInitialization();
    TZuzFont f;
    EXPECT_EQ(f.GetName(), u"Arial");
    EXPECT_EQ(f.GetSize(), 8);
    EXPECT_EQ(f.GetColor(), clBlack);
    for (const char* p : {"Name", "Height", "Color", "Style"}) EXPECT_FALSE(Streams(f, p)) << p;
    f.SetSize(10);
    f.SetColor(clRed);
    f.SetStyle(TFontStyles{fsBold});
    f.SetName(u"Courier New");
    for (const char* p : {"Name", "Height", "Color", "Style"}) EXPECT_TRUE(Streams(f, p)) << p;
    EXPECT_FALSE(f.HasShadow()); // nothing made by asking what streams
}

TEST(ZuzFont, DecorationsAreMadeOnFirstReadWithTheFontsChangeEvent) {
    int changes = 0;
    TZuzFont f(TNotifyEvent([&](TObject*) { ++changes; }));
    EXPECT_FALSE(f.HasShadow());
    f.GetShadow()->SetHorizSize(3);
    EXPECT_EQ(changes, 1);
    f.GetGradient()->SetVisible(true); // through the font's own notification
    EXPECT_EQ(changes, 2);
    f.GetOutLine()->SetVisible(true);
    EXPECT_EQ(changes, 3);
    f.SetInterCharSize(0); // unchanged: quiet
    EXPECT_EQ(changes, 3);
    f.SetInterCharSize(2);
    EXPECT_EQ(changes, 4);
    TZuzFont target;
    target.GetOutLine();
    TZuzFont plain;
    target.Assign(&plain); // a source without an outline frees the target's
    EXPECT_FALSE(target.HasOutLine());
    target.Assign(&f);
    EXPECT_TRUE(target.HasVisibleOutLine());
    EXPECT_EQ(target.GetShadow()->GetHorizSize(), 3);
    EXPECT_EQ(target.GetInterCharSize(), 2);
    EXPECT_TRUE(target.HasVisibleGradient());
    f.SetShadow(nullptr);
    EXPECT_FALSE(f.HasShadow());
}

TEST(ZuzFont, AJapaneseSystemGetsItsOwnFaceAndOnePointMore) {
    ZuzConstInitialization();
    {
        const Language ja("ja_JP.UTF-8");
        EXPECT_EQ(PRIMARYLANGID(GetUserDefaultLangID()), LANG_JAPANESE);
        EXPECT_EQ(GetDefaultFontSize(), 9);
        EXPECT_EQ(GetDefaultFontName(), u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF");
    }
    const String size = VavIve_DefaultFontSize, name = VavIve_DefaultFontName;
    VavIve_DefaultFontSize = u"10";
    VavIve_DefaultFontName = u"Tahoma";
    {
        const Language ja("ja_JP.UTF-8");
        EXPECT_EQ(GetDefaultFontSize(), 10); // a table's own size and face stay
        EXPECT_EQ(GetDefaultFontName(), u"Tahoma");
    }
    VavIve_DefaultFontSize = size;
    VavIve_DefaultFontName = name;
    {
        const Language ru("ru_RU.UTF-8");
        EXPECT_EQ(GetDefaultFontSize(), 8);
        EXPECT_EQ(GetDefaultFontName(), u"Arial");
    }
}
