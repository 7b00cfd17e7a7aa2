#include "chart/canvas/zuzconst.h"

#include "platform/core/sysutils.h"

#include <gtest/gtest.h>

#include <set>

TEST(MessageTable, EnglishTextsAfterStartUpAndFileMessagesFollowTheExtension) {
    ZuzConstInitialization();
    EXPECT_EQ(VavIve_InvalidZuzFile, u"Invalid Chart in *.zuz file");
    EXPECT_EQ(VavIve_WrongZuzFileFormat, u"Wrong *.zuz file format");
    EXPECT_EQ(VavIve_DefaultPercentOf2, u"%s\rof %s");
    EXPECT_EQ(VavIve_DefLogValueFormat, u"#.0 \"x10\" E+0");

    VavIve_ZuzExtension = u"abc";
    VavIve_Title = u"Заголовок"; // a language switch...
    ZuzSetConstants();           // ...and back to English
    EXPECT_EQ(VavIve_InvalidZuzFile, u"Invalid Chart in *.abc file");
    EXPECT_EQ(VavIve_Title, u"Title");
    VavIve_ZuzExtension = u"zuz";
    ZuzSetConstants();
}

TEST(MessageTable, OneTableSetsAndClearsEveryEntry) {
    ZuzConstInitialization();
    const auto table = ZuzMessages();
    ASSERT_EQ(table.size(), 342u);
    std::set<const String*> entries;
    for (const TZuzMessage& m : table) {
        EXPECT_FALSE(m.Entry->empty()) << UTF8Encode(m.Text);
        entries.insert(m.Entry);
    }
    EXPECT_EQ(entries.size(), table.size()); // no entry twice
    EXPECT_EQ(table.front().Entry, &VavIve_Copyright);
    EXPECT_EQ(table.back().Entry, &VavIve_RecordVideo);

    ZuzConstInitialization(); // a second start counts
    ZuzConstFinalization();
    EXPECT_EQ(VavIve_Title, u"Title");
    // Other tests of this program may have started the table any number of times.
    int ends = 0;
    for (; !VavIve_Title.empty() && ends < (1 << 20); ++ends)
        ZuzConstFinalization(); // the last end empties the table...
    for (const TZuzMessage& m : table) EXPECT_TRUE(m.Entry->empty()) << UTF8Encode(m.Text);
    EXPECT_EQ(VavIve_ZuzExtension, u"zuz");                  // ...but not the extension, a constant
    for (int i = 0; i < ends; ++i) ZuzConstInitialization(); // as the other tests left it
    EXPECT_EQ(VavIve_EmptyZuzFile, u"Empty *.zuz file");
}
