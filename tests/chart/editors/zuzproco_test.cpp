// The editor vocabulary: every text assigned at start-up in its order, a translation undone
// by ZuzSetEnglish together with the base messages, line breaks kept, and the last end
// emptying the texts.
#include "chart/editors/zuzproco.h"

#include "platform/core/sysutils.h"

#include <gtest/gtest.h>

#include <set>

using namespace ZuzProCo;

namespace {

class Vocabulary : public ::testing::Test {
protected:
    void SetUp() override {
        ZuzConstInitialization();
        ZuzProCoInitialization();
    }
    void TearDown() override {
        ZuzProCoFinalization();
        ZuzConstFinalization();
    }
};

TEST_F(Vocabulary, EveryTextIsAssignedOnceInItsOrder) {
    const auto table = ZuzProCoMessages();
    ASSERT_EQ(table.size(), 334u);
    std::set<const String*> entries;
    for (const TZuzMessage& m : table) {
        EXPECT_EQ(*m.Entry, m.Text);
        EXPECT_FALSE(m.Entry->empty());
        entries.insert(m.Entry);
    }
    EXPECT_EQ(entries.size(), table.size()); // no variable twice
    EXPECT_EQ(table[0].Entry, &VavIve_GalleryPolar);
    EXPECT_EQ(table[25].Entry, &VavIve_PolyDegreeRange);
    EXPECT_EQ(table[66].Entry, &ZuzCommanMsg_Normal);
    EXPECT_EQ(table[94].Entry, &ZuzProCo::VavIve_Edit);
    EXPECT_EQ(table[333].Entry, &VavIve_MPEGFile);
}

TEST_F(Vocabulary, TheGivenTextsKeepPlaceholdersAndLineBreaks) {
    EXPECT_EQ(VavIve_FunctionMovingAverage, u"Moving\rAverage");
    EXPECT_EQ(VavIve_FunctionCCI, u"Commodity\rChannel Index");
    EXPECT_EQ(VavIve_GalleryHorizBoxPlot, u"Horizontal\rBoxPlot");
    EXPECT_EQ(VavIve_AnswerVectorIndex, u"Answer Vector index must be between 1 and %d");
    EXPECT_EQ(ZuzCommanMsg_Rotating, u"Rotation: %d° Elevation: %d°");
    EXPECT_EQ(ZuzCommanMsg_PieExploding, u"Slice: %d Exploded: %d %%");
    EXPECT_EQ(Format(ZuzCommanMsg_Zooming, {123}), u"Zoom: 123 %");
    EXPECT_EQ(VavIve_ExcelRangeMissing, u"Range must be specified. (ie: From A1 to A10)");
    EXPECT_EQ(VavIve_FunnelPercent, u"0.00 %");
}

TEST_F(Vocabulary, NamesSharedWithTheBaseTableKeepBothTexts) {
    EXPECT_EQ(ZuzProCo::VavIve_PeriodRange, u"Period must be >= 0");
    EXPECT_EQ(::VavIve_PeriodRange, u"Period range");
    EXPECT_EQ(ZuzProCo::VavIve_Edit, u"Edit");
    EXPECT_NE(&ZuzProCo::VavIve_Edit, &::VavIve_Edit);
}

TEST_F(Vocabulary, SetEnglishUndoesATranslationOfEveryText) {
    const auto table = ZuzProCoMessages();
    for (const TZuzMessage& m : table) *m.Entry = u"перевод";
    ::VavIve_Title = u"Заголовок";
    int english = 0;
    ZuzEnglishLanguage = reinterpret_cast<TObject*>(&english);
    ZuzLanguage = nullptr;
    ZuzLanguageHotKeyAtEnd = true;
    ZuzLanguageCanUpper = false;

    ZuzSetEnglish();

    for (const TZuzMessage& m : table) EXPECT_EQ(*m.Entry, m.Text) << UTF8Encode(m.Text);
    EXPECT_EQ(VavIve_FunctionMovingAverage, u"Moving\rAverage"); // the break survives
    EXPECT_EQ(VavIve_FunctionMovingAverage[6], u'\r');
    EXPECT_EQ(::VavIve_Title, u"Title");
    EXPECT_EQ(ZuzLanguage, ZuzEnglishLanguage);
    EXPECT_FALSE(ZuzLanguageHotKeyAtEnd);
    EXPECT_TRUE(ZuzLanguageCanUpper);
    ZuzEnglishLanguage = ZuzLanguage = nullptr;
}

TEST_F(Vocabulary, OnlyTheFirstStartAssignsAndTheLastEndEmpties) {
    VavIve_GalleryPolar = u"Полярная";
    ZuzProCoInitialization(); // a second start leaves a translation alone
    EXPECT_EQ(VavIve_GalleryPolar, u"Полярная");
    ZuzProCoFinalization();
    EXPECT_EQ(VavIve_GalleryPolar, u"Полярная");
    // The test entry started the unit too: end every start, then start it again.
    int ends = 0;
    while (!VavIve_MPEGFile.empty() && ends < 10) {
        ZuzProCoFinalization();
        ++ends;
    }
    for (const TZuzMessage& m : ZuzProCoMessages()) EXPECT_TRUE(m.Entry->empty());
    for (int i = 0; i < ends; ++i) ZuzProCoInitialization();
    EXPECT_EQ(VavIve_GalleryPolar, u"Polar");
}

} // namespace
