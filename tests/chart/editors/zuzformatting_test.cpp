// The format editor: a format opens on the kind it is and builds back to itself, under the C
// and the Russian locale; empty separators and currency strings never match; the controls'
// rules; OK returns what the controls say and Cancel what was passed in.
#include "chart/canvas/zuzcontrols.h"
#include "editorfixture.h"
#include "modaldriver.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/radiobutton.h"
#include "platform/gui/stdctrls.h"

namespace {

enum Kind { Number, Date, Geo, Custom };

class FormatEditor : public EditorTest {
protected:
    // Opens the dialog on Format, runs Test while it is up and returns what Change returns.
    String Edit(const String& Format, bool IsDate, const std::function<int(TFormatEditor&)>& Test) {
        ModalDriver driver;
        driver.Form<TFormatEditor>([&](TFormatEditor& e) {
            if (const int result = Test(e); result != mrNone) e.SetModalResult(result);
        });
        return TFormatEditor::Change(nullptr, Format, IsDate);
    }
    static Kind KindOf(const TFormatEditor& e) {
        if (e.RBDate->GetChecked()) return Date;
        if (e.RBGeo->GetChecked()) return Geo;
        if (e.RBCustom->GetChecked()) return Custom;
        EXPECT_TRUE(e.RBInteger->GetChecked());
        return Number;
    }
};

// ---------------------------------------------------------------------------
// Recognised and rebuilt, under each locale.

struct Row {
    const char* rule;
    const char16_t* format; // "." "," and "$" here stand for the locale's own characters
    Kind kind;
    bool percent = false, thousands = false, currency = false, fixedDecimals = false;
    int decimals = 0, fixed = 0;
};

class RoundTrip : public FormatEditor, public ::testing::WithParamInterface<Row> {};

String InLocale(const char16_t* Format) {
    String s;
    for (const char16_t* c = Format; *c; ++c) {
        if (*c == u'.')
            s += FormatSettings.DecimalSeparator;
        else if (*c == u',')
            s += FormatSettings.ThousandSeparator;
        else if (*c == u'$')
            s += FormatSettings.CurrencyString;
        else
            s += *c;
    }
    return s;
}

TEST_P(RoundTrip, OpensOnItsKindAndBuildsBackToItself) {
    const Row& r = GetParam();
    for (const auto& locale : editortest::kLocales) {
        UseLocale(locale.system);
        const String format = r.kind == Number ? InLocale(r.format) : String(r.format);
        const String built = Edit(format, true, [&](TFormatEditor& e) {
            EXPECT_EQ(KindOf(e), r.kind) << locale.name;
            if (r.kind == Number) {
                EXPECT_EQ(e.CBPercent->GetChecked(), r.percent) << locale.name;
                EXPECT_EQ(e.CBThousands->GetChecked(), r.thousands) << locale.name;
                EXPECT_EQ(e.CBCurrency->GetChecked(), r.currency) << locale.name;
                EXPECT_EQ(e.CBFixedDecimals->GetChecked(), r.fixedDecimals) << locale.name;
                EXPECT_EQ(e.UpDown1->GetPosition(), r.decimals) << locale.name;
                EXPECT_EQ(e.UpDown2->GetPosition(), r.fixed) << locale.name;
                EXPECT_FALSE(e.CBCustom->GetEnabled());
            }
            if (r.kind == Date) {
                EXPECT_EQ(e.CBDate->GetText(), format);
            }
            if (r.kind == Geo) {
                EXPECT_EQ(e.CBGeo->GetText(), format);
            }
            if (r.kind == Custom) {
                EXPECT_TRUE(e.CBCustom->GetEnabled());
                EXPECT_EQ(e.CBCustom->GetText(), format);
            }
            return mrOk;
        });
        EXPECT_EQ(built, format) << locale.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, RoundTrip,
    ::testing::Values(
        Row{"ThousandsWithTwoFixedDecimals", u"#,##0.00", Number, false, true, false, true, 2, 1},
        Row{"PercentWithOneFixedDecimal", u"0.0%", Number, true, false, false, true, 1, 1},
        Row{"OptionalDecimals", u"0.##", Number, false, false, false, false, 2, 1},
        Row{"CurrencyFirst", u"$#,##0.00", Number, false, true, true, true, 2, 1},
        Row{"ManyFixedDigitsWithThousands", u"00,000", Number, false, true, false, false, 0, 5},
        Row{"ThousandsWithNoFixedDigit", u"#,###", Number, false, true, false, false, 0, 0},
        Row{"PlainDigits", u"000", Number, false, false, false, false, 0, 3},
        Row{"DateItem", u"mm-yyyy", Date, false, false, false, false, 0, 0},
        Row{"TwoLetterMonth", u"MM", Date, false, false, false, false, 0, 0},
        Row{"GeographicWithDegreeSign", u"ddd° mm' ss\".zzz", Geo, false, false, false, false, 0, 0},
        Row{"GeographicDegreesAndMinutes", u"ddd mm", Geo, false, false, false, false, 0, 0},
        Row{"ANumberWithAUnitIsCustom", u"0.00 kWh", Custom, false, false, false, false, 0, 0},
        Row{"ScientificIsCustom", u"00e-0", Custom, false, false, false, false, 0, 0}),
    [](const auto& info) { return std::string(info.param.rule); });

TEST_F(FormatEditor, AFormatWrittenForAnotherLocaleIsCustomThere) {
    UseLocale("ru_RU.UTF-8");
    const String built = Edit(u"#,##0.00", false, [&](TFormatEditor& e) {
        EXPECT_EQ(KindOf(e), Custom);
        return mrOk;
    });
    EXPECT_EQ(built, u"#,##0.00");
}

TEST_F(FormatEditor, TheLocaleDateFormatsAreOfferedOnce) {
    UseLocale("ru_RU.UTF-8");
    Edit(u"0", true, [&](TFormatEditor& e) {
        TStrings* items = e.CBDate->GetItems();
        EXPECT_EQ(items->GetCount(), 8);
        EXPECT_EQ(items->GetStrings(6), FormatSettings.ShortDateFormat);
        EXPECT_EQ(items->GetStrings(7), FormatSettings.ShortTimeFormat);
        EXPECT_EQ(e.CBGeo->GetItems()->GetCount(), 8);
        EXPECT_EQ(e.CBCustom->GetItems()->GetCount(), 2);
        return mrCancel;
    });
}

// A locale with no currency string and no thousand separator: nothing matches them.
TEST_F(FormatEditor, EmptySeparatorsAndCurrencyNeverMatch) {
    FormatSettings.CurrencyString.clear();
    FormatSettings.ThousandSeparator = 0;
    FormatSettings.DecimalSeparator = u'.';
    const String built = Edit(u"0.00", false, [&](TFormatEditor& e) {
        EXPECT_EQ(KindOf(e), Number);
        EXPECT_FALSE(e.CBCurrency->GetChecked());
        EXPECT_FALSE(e.CBThousands->GetChecked());
        EXPECT_EQ(e.UpDown2->GetPosition(), 1);
        EXPECT_EQ(e.UpDown1->GetPosition(), 2);
        return mrOk;
    });
    EXPECT_EQ(built, u"0.00");
}

TEST_F(FormatEditor, CancelReturnsTheFormatUnchanged) {
    const String built = Edit(u"#,##0.00", true, [&](TFormatEditor& e) {
        probe::Click(*e.CBPercent);
        e.UpDown1->SetPosition(5);
        probe::Click(*e.Button2);
        return mrNone;
    });
    EXPECT_EQ(built, u"#,##0.00");
}

// ---------------------------------------------------------------------------
// Building a number from the controls (C locale: "," and ".").

struct BuildRow {
    const char* rule;
    bool thousands, currency, percent, fixedDecimals;
    int fixed, decimals;
    const char16_t* format;
};

class BuildNumber : public FormatEditor, public ::testing::WithParamInterface<BuildRow> {};

TEST_P(BuildNumber, FromTheControls) {
    const BuildRow& r = GetParam();
    FormatSettings = EnglishFormatSettings();
    const String built = Edit(u"0", false, [&](TFormatEditor& e) {
        e.CBThousands->SetChecked(r.thousands);
        e.CBCurrency->SetChecked(r.currency);
        e.CBPercent->SetChecked(r.percent);
        e.CBFixedDecimals->SetChecked(r.fixedDecimals);
        e.UpDown2->SetPosition(r.fixed);
        e.UpDown1->SetPosition(r.decimals);
        return mrOk;
    });
    EXPECT_EQ(built, r.format);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, BuildNumber,
    ::testing::Values(BuildRow{"NoDigitIsOnePlace", false, false, false, false, 0, 0, u"#"},
                      BuildRow{"NoDigitWithThousands", true, false, false, false, 0, 0, u"#,###"},
                      BuildRow{"OneDigitWithThousands", true, false, false, false, 1, 0, u"#,##0"},
                      BuildRow{"ThreeDigitsWithThousands", true, false, false, false, 3, 0, u"#,000"},
                      BuildRow{"FiveDigitsWithThousands", true, false, false, false, 5, 0, u"00,000"},
                      BuildRow{"OptionalDecimals", false, false, false, false, 2, 3, u"00.###"},
                      BuildRow{"CurrencyAndFixedDecimals", false, true, false, true, 1, 2, u"$0.00"},
                      BuildRow{"PercentLast", false, false, true, true, 1, 1, u"0.0%"}),
    [](const auto& info) { return std::string(info.param.rule); });

// ---------------------------------------------------------------------------
// The controls' rules, and every control once.

TEST_F(FormatEditor, PercentTurnsThousandsAndCurrencyOff) {
    Edit(InLocale(u"$#,##0"), false, [&](TFormatEditor& e) {
        EXPECT_TRUE(e.CBThousands->GetChecked());
        EXPECT_TRUE(e.CBCurrency->GetChecked());
        probe::Click(*e.CBPercent);
        EXPECT_FALSE(e.CBThousands->GetChecked());
        EXPECT_FALSE(e.CBCurrency->GetChecked());
        EXPECT_FALSE(e.CBThousands->GetEnabled());
        EXPECT_FALSE(e.CBCurrency->GetEnabled());
        probe::Click(*e.CBPercent);
        EXPECT_TRUE(e.CBThousands->GetEnabled());
        EXPECT_TRUE(e.CBCurrency->GetEnabled());
        return mrCancel;
    });
}

TEST_F(FormatEditor, ChoosingAKindEnablesItsBoxAndFillsAnEmptyOne) {
    UseLocale("ru_RU.UTF-8");
    Edit(u"0", true, [&](TFormatEditor& e) {
        EXPECT_EQ(e.CBDate->GetText(), u"");
        probe::Click(*e.RBDate);
        EXPECT_FALSE(e.RBInteger->GetChecked());
        EXPECT_TRUE(e.CBDate->GetEnabled());
        EXPECT_FALSE(e.CBGeo->GetEnabled());
        EXPECT_EQ(e.CBDate->GetText(), FormatSettings.ShortDateFormat);
        probe::Click(*e.RBGeo);
        EXPECT_FALSE(e.RBDate->GetChecked());
        EXPECT_FALSE(e.CBDate->GetEnabled());
        EXPECT_EQ(e.CBGeo->GetText(), u"ddd° mm' ss\".zzz");
        probe::Click(*e.RBCustom);
        EXPECT_TRUE(e.CBCustom->GetEnabled());
        EXPECT_FALSE(e.CBPercent->GetEnabled());
        probe::Click(*e.RBInteger);
        EXPECT_FALSE(e.RBCustom->GetChecked());
        EXPECT_FALSE(e.CBCustom->GetEnabled());
        EXPECT_TRUE(e.CBPercent->GetEnabled());
        return mrCancel;
    });
}

TEST_F(FormatEditor, EveryControlOnceThenOK) {
    FormatSettings = EnglishFormatSettings();
    // Number settings first...
    String built = Edit(u"0", true, [&](TFormatEditor& e) {
        probe::Click(*e.CBThousands);
        probe::Click(*e.CBCurrency);
        probe::Click(*e.CBFixedDecimals);
        e.Edit1->SetText(u"3");
        e.UpDown2->Click(btNext);
        return mrOk;
    });
    EXPECT_EQ(built, u"$#,#00.000");
    // ...then a date typed into its box...
    built = Edit(u"0", true, [&](TFormatEditor& e) {
        probe::Click(*e.RBDate);
        e.CBDate->SetText(u"dd.mm.yyyy hh:nn");
        return mrOk;
    });
    EXPECT_EQ(built, u"dd.mm.yyyy hh:nn");
    // ...a geographic item chosen from the list...
    built = Edit(u"0", false, [&](TFormatEditor& e) {
        probe::Click(*e.RBGeo);
        probe::Choose(*e.CBGeo, 4);
        return mrOk;
    });
    EXPECT_EQ(built, u"ddd mm ss");
    // ...and free text.
    built = Edit(u"0", false, [&](TFormatEditor& e) {
        probe::Click(*e.RBCustom);
        probe::Type(*e.CBCustom, u"0.0 \"м³/ч\"");
        EXPECT_EQ(e.GetFormatText(), u"0.0 \"м³/ч\"");
        probe::Click(*e.Button1);
        return mrNone;
    });
    EXPECT_EQ(built, u"0.0 \"м³/ч\"");
}

TEST_F(FormatEditor, ItsPictureOverAChart) {
    UseLocale("ru_RU.UTF-8");
    ChartBehind behind(true);
    Edit(u"dd.MM.yyyy", true, [&](TFormatEditor& e) {
        behind.Snapshot(e, "editor-format-date.png");
        return mrCancel;
    });
    Edit(InLocale(u"#,##0.00"), true, [&](TFormatEditor& e) {
        behind.Snapshot(e, "editor-format-number.png");
        return mrCancel;
    });
}

} // namespace
