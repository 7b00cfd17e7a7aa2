#include "platform/core/objecttext.h"
#include "streaming_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

using namespace streaming_fixtures;

std::string ToText(const std::string& binary) {
    TMemoryStream out;
    ObjectBinaryToText(StreamOf(binary).get(), &out);
    return StreamBytes(out);
}

std::string ToBinary(const std::string& text) {
    TStringStream in(text);
    TMemoryStream out;
    ObjectTextToBinary(&in, &out);
    return StreamBytes(out);
}

class ObjectText : public ::testing::Test {
protected:
    void SetUp() override { RegisterFixtureClasses(); }
};

TEST_F(ObjectText, BinaryToTextAndBackIsByteIdentical) {
    Owned<TStreamRoot> tree(MakeTree());
    const std::string binary = WriteTree(tree.get());
    const std::string text = ToText(binary);
    EXPECT_EQ(ToBinary(text), binary);
    EXPECT_EQ(ToText(ToBinary(text)), text);
    EXPECT_TRUE(text.starts_with("object Root1: TStreamRoot\r\n  Title = 'Every value'\r\n"));

    // One line per value kind, as a reader of the text sees it.
    for (const char* line :
         {"    Count = 1000\r\n", "    Letter = #1046\r\n", "    Enabled = False\r\n",
          "    AutoSize = True\r\n", "    Marks = [mkBold, mkStrike]\r\n", "    Color = clBtnFace\r\n",
          "    Weight = 0.1\r\n", "    Precise = -1.5E-300f\r\n", "    Ratio = 0.25s\r\n",
          "    Price = 12.3456c\r\n", "    When = 45000.5d\r\n", "    Caption = 'Caf'#233' au lait'\r\n",
          "    Partner = nil\r\n", "    Buddy = Owner\r\n", "    Data = {\r\n      000102FEFF}\r\n",
          "    Lines.Strings = (\r\n      'first line'\r\n      #1074#1090#1086#1088#1072#1103)\r\n",
          "    Columns = <\r\n      item\r\n        Title = 'Date'\r\n        Target = ItemC\r\n"
          "      end\r\n      item\r\n        Width = 80\r\n      end>\r\n",
          "    Caption = \r\n      'xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx' +\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;

    // The text builds the same tree.
    Owned<TComponent> fromText(ReadTree(ToBinary(text)));
    EXPECT_EQ(WriteTree(fromText.get()), binary);
}

TEST_F(ObjectText, HandWrittenTextUsesEveryNotation) {
    const std::string text = "\xEF\xBB\xBF"
                             "inherited Form: TStreamRoot [2]\n"
                             "  Title = 'It''s ' + #$41#66 +\n"
                             "    '\xD0\x96\xD1\x83\xD0\xBA'\n" // raw UTF-8 in quotes
                             "  object Item: TStreamItem\n"
                             "    Count = $FF\n"
                             "    Big = -9223372036854775808\n"
                             "    Weight = 1E20\n"
                             "    Precise = 1.00000000000000000001E-1\n" // more than a double holds
                             "    Shade = Null\n"
                             "    Extra = ()\n"
                             "    Data = { 0a 0B\n  Ff }\n"
                             "    Columns = <\n      item [3]\n      end>\n"
                             "  end\n"
                             "end\n";
    const std::string binary = ToBinary(text);
    Owned<TMemoryStream> s = StreamOf(binary);
    TReader r(s.get());
    r.ReadSignature();
    TFilerFlags flags;
    int pos = 0;
    r.ReadPrefix(flags, pos);
    EXPECT_EQ(flags, (TFilerFlags{ffInherited, ffChildPos}));
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(r.ReadStr(), "TStreamRoot");
    EXPECT_EQ(r.ReadStr(), "Form");
    EXPECT_EQ(r.ReadStr(), "Title");
    EXPECT_EQ(r.ReadString(), u"It's AB"
                              u"Жук");
    r.ReadListEnd();
    EXPECT_EQ(r.ReadStr(), "TStreamItem");
    EXPECT_EQ(r.ReadStr(), "Item");
    EXPECT_EQ(r.ReadStr(), "Count");
    EXPECT_EQ(r.ReadInteger(), 255);
    EXPECT_EQ(r.ReadStr(), "Big");
    EXPECT_EQ(r.ReadInt64(), std::numeric_limits<Int64>::min());
    EXPECT_EQ(r.ReadStr(), "Weight");
    EXPECT_EQ(r.ReadFloat(), 1e20);
    EXPECT_EQ(r.ReadStr(), "Precise");
    EXPECT_EQ(r.NextValue(), vaExtended);
    EXPECT_EQ(r.ReadFloat(), 0.1);
    EXPECT_EQ(r.ReadStr(), "Shade");
    EXPECT_EQ(r.ReadValue(), vaNull);
    EXPECT_EQ(r.ReadStr(), "Extra");
    r.ReadListBegin();
    r.ReadListEnd();
    EXPECT_EQ(r.ReadStr(), "Data");
    EXPECT_EQ(r.ReadBinary(), "\x0A\x0B\xFF");
    EXPECT_EQ(r.ReadStr(), "Columns");
    EXPECT_EQ(r.ReadValue(), vaCollection);
    EXPECT_EQ(r.ReadInteger(), 3);

    // Back to text and again to binary: the same bytes, the long extended included.
    const std::string canonical = ToText(binary);
    EXPECT_NE(canonical.find("Precise = 1.00000000000000000001E-1\r\n"), std::string::npos) << canonical;
    EXPECT_NE(canonical.find("inherited Form: TStreamRoot [2]\r\n"), std::string::npos);
    EXPECT_NE(canonical.find("      item [3]\r\n      end>"), std::string::npos);
    EXPECT_EQ(ToBinary(canonical), binary);
}

TEST_F(ObjectText, LongNamesAndInheritedChildrenEndNoList) {
    // Name lengths and object prefixes above the last value type must not read as values.
    const std::string text = "object Root: TStreamRoot\r\n"
                             "  View3DOptions.Perspective = 30\r\n"
                             "  inherited Kid: TCustomZuzPanelExtended [1]\r\n"
                             "  end\r\n"
                             "  object Other: TAClassWhoseNameIsQuiteLong\r\n"
                             "  end\r\n"
                             "end\r\n";
    EXPECT_EQ(ToText(ToBinary(text)), text);
}

// Whatever number a binary stream holds reads back from its text to the same bytes: the
// limits of every float kind, subnormals, negative zero, infinities and NaN.
TEST_F(ObjectText, EveryFloatOfAStreamAndUnnamedObjectsRoundTrip) {
    using D = std::numeric_limits<double>;
    using F = std::numeric_limits<float>;
    const auto extended = [](std::uint64_t Mantissa, unsigned SignExponent) {
        TExtended80 x{};
        for (std::size_t i = 0; i < 8; ++i) x[i] = static_cast<Byte>(Mantissa >> (8 * i));
        x[8] = static_cast<Byte>(SignExponent);
        x[9] = static_cast<Byte>(SignExponent >> 8);
        return x;
    };
    constexpr std::uint64_t top = std::uint64_t{1} << 63;
    TMemoryStream s;
    TWriter w(&s);
    w.WriteSignature();
    w.WriteStr("TStreamItem");
    w.WriteStr("");
    for (const double v : {D::infinity(), -D::infinity(), D::quiet_NaN(), D::denorm_min(), -D::denorm_min(),
                           D::min(), D::max(), -D::max(), -0.0}) {
        w.WriteStr("Weight");
        w.WriteFloat(v);
        w.WriteStr("Precise");
        w.WriteDouble(v);
        w.WriteStr("When");
        w.WriteDate(v);
    }
    for (const float v : {F::infinity(), -F::infinity(), F::quiet_NaN(), F::denorm_min(), -F::denorm_min(),
                          F::min(), F::max(), -0.0f}) {
        w.WriteStr("Ratio");
        w.WriteSingle(v);
    }
    for (const TExtended80& x : {extended(1, 0), extended(3, 0x8000), extended(top - 1, 0), // subnormals
                                 extended(top, 1), extended(~std::uint64_t{0}, 0x7FFE),
                                 extended(~std::uint64_t{0}, 0xFFFE), extended(top, 0x3BC7), // below a double
                                 extended(top | 1, 0x4405)}) {                               // above a double
        w.WriteStr("Weight");
        w.WriteExtended80(x);
    }
    for (const std::uint64_t v : {top, top - 1}) {
        w.WriteStr("Price");
        w.WriteValue(vaCurrency);
        for (int i = 0; i < 8; ++i) {
            const auto b = static_cast<Byte>(v >> (8 * i));
            w.Write(&b, 1);
        }
    }
    w.WriteListEnd();
    w.WriteListEnd();
    const std::string text = ToText(StreamBytes(s));
    EXPECT_TRUE(
        text.starts_with("object TStreamItem\r\n  Weight = INF\r\n  Precise = INFf\r\n  When = INFd\r\n"
                         "  Weight = -INF\r\n"))
        << text;
    EXPECT_NE(text.find("  Ratio = INFs\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  Price = -922337203685477.5808c\r\n"), std::string::npos) << text;
    EXPECT_EQ(ToBinary(text), StreamBytes(s)) << text;

    // Short hand-written extended values beyond a double's reach read too.
    const std::string shortBinary =
        ToBinary("object TStreamItem\r\n  Weight = 1E400\r\n  Weight = -2E-4940\r\nend\r\n");
    EXPECT_EQ(ToBinary(ToText(shortBinary)), shortBinary);
}

TEST_F(ObjectText, BadTextRaisesWithTheLine) {
    const auto message = [](const std::string& text) -> String {
        try {
            ToBinary(text);
        } catch (const EParserError& e) {
            return e.Message();
        }
        return u"no error";
    };
    EXPECT_EQ(message("object A: TStreamItem\n  Count 5\nend\n"), u"'=' expected on line 2");
    EXPECT_EQ(message("obj A: TStreamItem\nend\n"), u"'object' expected on line 1");
    EXPECT_EQ(message("object A: TStreamItem\n  Caption = 'open\nend\n"), u"Unterminated string on line 2");
    EXPECT_EQ(message("object A: TStreamItem\n  Data = {0A0}\nend\n"), u"Invalid binary value on line 2");
    for (const char* number : {"Count = 99999999999999999999", "Weight = 1.5E5000", "Weight = 1E-5000",
                               "Ratio = 1E39s", "Precise = 1E309f"})
        EXPECT_EQ(message("object A: TStreamItem\n  " + std::string(number) + "\nend\n"),
                  u"Number out of range on line 2")
            << number;
    EXPECT_EQ(message("object A: TStreamItem\n"), u"'object' expected on line 2");
    EXPECT_EQ(message("object A: TStreamItem\nend\nend\n"), u"End of text expected on line 3");
    EXPECT_EQ(message("object A: TStreamItem\n  Extra = " + std::string(1000, '(')),
              u"Nesting too deep on line 2");

    // Truncated binary never turns into text.
    Owned<TStreamRoot> tree(MakeTree());
    const std::string binary = WriteTree(tree.get());
    for (std::size_t n = 0; n < binary.size(); n += 7) EXPECT_THROW(ToText(binary.substr(0, n)), EReadError);
}

// A name in the binary that is no word of the text (a damaged class,
// component, property, value or set element name) makes the stream damaged.
TEST_F(ObjectText, NamesThatAreNoIdentifiersRaise) {
    const std::string text =
        "object Box: TStreamRoot\r\n  Title.Sub = Shade\r\n  Marks = [mkBold]\r\nend\r\n";
    const std::string binary = ToBinary(text);
    EXPECT_EQ(ToText(binary), text);
    for (const std::string_view name : {"TStreamRoot", "Box", "Title.Sub", "Shade", "mkBold"}) {
        for (const char bad : {',', ' ', '\xD0', '.'}) {
            std::string damaged = binary;
            const std::size_t at = damaged.find(name);
            ASSERT_NE(at, std::string::npos) << name;
            damaged[at + (bad == '.' ? 0 : name.size() - 1)] = bad;
            EXPECT_THROW(ToText(damaged), EReadError) << name << " with " << bad;
        }
    }
}

// Damaged binary and damaged text convert or raise, nothing else; and what
// converts is sound: its text reads back to binary that writes the same text.
TEST_F(ObjectText, DamagedInputRaisesOrConvertsToStableText) {
    Owned<TStreamRoot> tree(MakeTree());
    const std::string binary = WriteTree(tree.get());
    const std::string text = ToText(binary);
    // Text that came out of a conversion survives text -> binary -> text.
    const auto expectStable = [](const std::string& t, int round) {
        std::string again;
        ASSERT_NO_THROW(again = ToText(ToBinary(t))) << "round " << round << ":\n" << t;
        EXPECT_EQ(again, t) << "round " << round;
    };
    std::mt19937 rng(7);
    int binaryConverted = 0;
    int textConverted = 0;
    for (int round = 0; round < 2000 && !HasFailure(); ++round) {
        std::string b = binary;
        std::string t = text;
        for (int i = 0; i < 3; ++i) {
            b[rng() % b.size()] = static_cast<char>(rng());
            t[rng() % t.size()] = "'#(){}<>[]=.+-$0aZ \n\x01\xD0"[rng() % 20];
        }
        try {
            const std::string fromBinary = ToText(b);
            ++binaryConverted;
            expectStable(fromBinary, round);
        } catch (const Exception&) {
        }
        std::string binaryOfText;
        try {
            binaryOfText = ToBinary(t);
        } catch (const Exception&) {
            continue;
        }
        // Binary that text gave converts back without complaint.
        ++textConverted;
        std::string fromText;
        ASSERT_NO_THROW(fromText = ToText(binaryOfText)) << "round " << round << ":\n" << t;
        expectStable(fromText, round);
    }
    // The damage leaves enough intact for the property to be exercised.
    EXPECT_GT(binaryConverted, 100);
    EXPECT_GT(textConverted, 20);
}

} // namespace

namespace {

// Property names longer than the highest value tag (nested paths such as
// "FlowControl.OutCTSFlow") must not be taken for a damaged tag.
TEST_F(ObjectText, LongPropertyNamesSurviveBothDirections) {
    for (std::size_t length : {21u, 22u, 60u, 200u}) {
        const std::string name = "Abcdefghij." + std::string(length - 11, 'x');
        const std::string text = "object A: TStreamRoot\r\n  " + name + " = 1\r\nend\r\n";
        EXPECT_EQ(ToText(ToBinary(text)), text) << length;
    }
}

} // namespace

namespace {

// A non-visual component keeps the designer's icon position through a read
// and a write, and a component never placed writes none.
TEST_F(ObjectText, DesignPositionOfComponentsRoundTrips) {
    const std::string placed = "object Root1: TStreamRoot\r\n  Left = 8\r\n  Top = 400\r\nend\r\n";
    Owned<TComponent> root(ReadTree(ToBinary(placed)));
    EXPECT_EQ(root->GetDesignLeft(), 8);
    EXPECT_EQ(root->GetDesignTop(), 400);
    EXPECT_EQ(ToText(WriteTree(root.get())), placed);
    Owned<TComponent> plain(ReadTree(ToBinary("object Root1: TStreamRoot\r\nend\r\n")));
    EXPECT_EQ(ToText(WriteTree(plain.get())), "object Root1: TStreamRoot\r\nend\r\n");
}

} // namespace
