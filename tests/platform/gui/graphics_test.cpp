#include "platform/gui/graphics.h"

#include "platform/core/sysutils.h"

#include <gtest/gtest.h>

TEST(Colors, SystemColoursResolveAndOthersPassThrough) {
    EXPECT_EQ(static_cast<std::uint32_t>(clBtnFace), 0xFF00000Fu);
    EXPECT_EQ(ColorToRGB(clBtnFace), 0xF0F0F0);
    EXPECT_EQ(ColorToRGB(clBtnHighlight), 0xFFFFFF);
    EXPECT_EQ(ColorToRGB(clWindowText), 0);
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
    EXPECT_EQ(ColorToRGB(clNone), 0x1FFFFFFF);
    EXPECT_EQ(ColorToRGB(clDefault), 0x20000000);
    EXPECT_EQ(MakeColor(1, 2, 3), 0x030201);
}

TEST(Colors, IdentifiersAndTextRoundTrip) {
    std::string ident;
    ASSERT_TRUE(ColorToIdent(clBtnFace, ident));
    EXPECT_EQ(ident, "clBtnFace");
    std::int32_t c = 0;
    ASSERT_TRUE(IdentToColor("CLNONE", c));
    EXPECT_EQ(c, clNone);
    EXPECT_FALSE(IdentToColor("clNoSuchColour", c));
    EXPECT_EQ(ColorToString(static_cast<TColor>(0x123456)), u"$00123456");
    EXPECT_EQ(StringToColor(u"$00123456"), 0x123456);
    EXPECT_EQ(StringToColor(u"clWindow"), clWindow);
    EXPECT_EQ(StringToColor(u"255"), clRed);
    EXPECT_THROW(StringToColor(u"reddish"), EConvertError);
}

TEST(Colors, ColourPropertiesStreamAsIntegersWithIdentifiers) {
    TPen pen;
    const PropInfo& p = PropOf(pen, "Color");
    EXPECT_EQ(p.kind, PropKind::Integer);
    ASSERT_NE(p.idents, nullptr);
    std::int64_t v = 0;
    ASSERT_TRUE(p.idents->fromIdent("clBtnShadow", v));
    p.setOrd(pen, v);
    EXPECT_EQ(pen.GetColor(), clBtnShadow);
    TFont font;
    EXPECT_EQ(PropOf(font, "Charset").kind, PropKind::Integer);
    EXPECT_EQ(PropOf(font, "Style").kind, PropKind::Set);
}

TEST(Font, SizeAndHeightFollowTheResolution) {
    TFont f;
    EXPECT_EQ(f.GetHeight(), -11);
    EXPECT_EQ(f.GetSize(), 8);
    f.SetSize(10);
    EXPECT_EQ(f.GetHeight(), -13);
    f.SetPixelsPerInch(600);
    EXPECT_EQ(f.GetHeight(), -13); // the pixel height stays
    EXPECT_EQ(f.GetSize(), 2);

    TFont printer;
    printer.SetPixelsPerInch(600);
    TFont screen;
    screen.SetSize(12);
    printer.Assign(&screen); // another resolution: the point size travels
    EXPECT_EQ(printer.GetSize(), 12);
    EXPECT_EQ(printer.GetHeight(), -100);
    TFont other;
    other.Assign(&screen);
    EXPECT_EQ(other.GetHeight(), screen.GetHeight());
}

TEST(StyleObjects, ChangesAreReportedOnlyWhenAValueChanges) {
    TPen pen;
    int changes = 0;
    pen.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
    pen.SetWidth(1);
    pen.SetColor(clBlack);
    EXPECT_EQ(changes, 0);
    pen.SetWidth(3);
    pen.SetMode(pmNotXor);
    EXPECT_EQ(changes, 2);

    TBrush brush;
    brush.SetStyle(bsClear);
    brush.SetColor(clRed); // a colour makes a clear brush solid
    EXPECT_EQ(brush.GetStyle(), bsSolid);

    TPen copy;
    copy.Assign(&pen);
    EXPECT_EQ(copy.GetWidth(), 3);
    EXPECT_EQ(copy.GetMode(), pmNotXor);
    EXPECT_THROW(copy.Assign(&brush), EConvertError);
}

TEST(Fonts, KnownFacesAreSubstituted) {
    EXPECT_EQ(SubstituteFontName(u"arial"), u"Liberation Sans");
    EXPECT_EQ(SubstituteFontName(u"Courier New"), u"Liberation Mono");
    EXPECT_EQ(SubstituteFontName(u"Times New Roman"), u"Liberation Serif");
    EXPECT_EQ(SubstituteFontName(u"DejaVu Sans"), u"DejaVu Sans");
}
