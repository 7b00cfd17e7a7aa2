// The panel unit's text and name functions, against the numbers of their rules.
#include "chart/canvas/zuztext.h"

#include "platform/core/components.h"
#include "platform/core/streams.h"
#include "platform/core/sysutils.h"
#include "tests/support/shellrecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

TEST(ZuzText, FieldsOfSeparatedText) {
    EXPECT_EQ(ZuzNumFields(u""), 0);
    EXPECT_EQ(ZuzNumFields(u"abc"), 1);
    EXPECT_EQ(ZuzNumFields(u"a;b;c"), 3);
    EXPECT_EQ(ZuzNumFields(u"a, b", u", "), 2);
    EXPECT_EQ(ZuzExtractField(u"a;b;c", 2), u"b");
    EXPECT_EQ(ZuzExtractField(u"a;b;c", 5), u"c");
    EXPECT_EQ(ZuzExtractField(u"a;b;c", 0), u"");
    EXPECT_EQ(ZuzExtractField(u"", 1), u"");
    EXPECT_EQ(ZuzExtractField(u"a;;c", 2), u"");
    EXPECT_EQ(ZuzExtractField(u"x|y", 2, u"|"), u"y");
    EXPECT_EQ(ReplaceChar(u"1.234.5", u'.', u','), u"1,234,5");
    EXPECT_EQ(ReplaceChar(u"1 234 5", u' ', 0), u"12345");
    EXPECT_EQ(ZuzStr(-42), u"-42");
}

TEST(ZuzText, FormatSeparatorsFollowTheLocale) {
    const TFormatSettings keep = FormatSettings;
    FormatSettings.ThousandSeparator = u'.';
    FormatSettings.DecimalSeparator = u',';
    EXPECT_EQ(SarvikToLocalFormat(u"#,##0.00"), u"#.##0,00");
    EXPECT_EQ(LocalToSarvikFormat(u"#.##0,00"), u"#,##0.00");
    FormatSettings = RussianFormatSettings(); // a space for thousands, a comma for decimals
    EXPECT_EQ(SarvikToLocalFormat(u"#,##0.00"), String(u"#") + FormatSettings.ThousandSeparator + u"##0" +
                                                    FormatSettings.DecimalSeparator + u"00");
    FormatSettings.ThousandSeparator = FormatSettings.DecimalSeparator;
    EXPECT_EQ(SarvikToLocalFormat(u"#,##0.00"), u"#,##0.00");
    FormatSettings = keep;
}

TEST(ZuzText, SortByIndexesAndUniqueNames) {
    std::vector<int> v{5, 3, 9, 1, 5, 0, 7, 2, 8, 6, 4};
    ZuzSort(
        0, static_cast<int>(v.size()) - 1,
        [&](int a, int b) { return v[static_cast<std::size_t>(a)] - v[static_cast<std::size_t>(b)]; },
        [&](int a, int b) { std::swap(v[static_cast<std::size_t>(a)], v[static_cast<std::size_t>(b)]); });
    EXPECT_EQ(v, (std::vector<int>{0, 1, 2, 3, 4, 5, 5, 6, 7, 8, 9}));
    std::vector<int> big(20000);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<int>(i % 7); // many equal keys
    ZuzSort(
        0, static_cast<int>(big.size()) - 1,
        [&](int a, int b) { return big[static_cast<std::size_t>(a)] - big[static_cast<std::size_t>(b)]; },
        [&](int a, int b) { std::swap(big[static_cast<std::size_t>(a)], big[static_cast<std::size_t>(b)]); });
    EXPECT_TRUE(std::is_sorted(big.begin(), big.end()));

    const Owned<TComponent> owner = MakeOwned<TComponent>(nullptr);
    EXPECT_EQ(ZuzGetUniqueName(owner.get(), u"Series"), u"Series1");
    for (const char16_t* name : {u"Series1", u"Series2"}) {
        TComponent* c = Create<TComponent>(owner.get());
        c->SetName(name);
    }
    EXPECT_EQ(ZuzGetUniqueName(owner.get(), u"Series"), u"Series3");
    EXPECT_EQ(ZuzGetUniqueName(nullptr, u"Series"), u"Series1");
}

namespace {
class TTextExport : public TZuzExportData {
public:
    String AsString() override { return u"День;Объём"; }
};
} // namespace

TEST(ZuzText, ExportDataIsUtf16WithItsMark) {
    TTextExport data;
    TMemoryStream s;
    data.SaveToStream(&s);
    ASSERT_EQ(s.GetSize(), 2 + 10 * 2);
    std::vector<Byte> bytes(static_cast<std::size_t>(s.GetSize()));
    s.SetPosition(0);
    s.ReadBuffer(bytes.data(), static_cast<LongInt>(bytes.size()));
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    EXPECT_EQ(bytes[2] | (bytes[3] << 8), u'Д');
    EXPECT_EQ(bytes[10] | (bytes[11] << 8), u';');
}

TEST(ZuzText, GotoUrlOpensThroughTheShell) {
    ShellRecorder shell;
    ZuzGotoURL(nullptr, u"https://example.org/kront");
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], "https://example.org/kront");
}
