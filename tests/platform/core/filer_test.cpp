#include "platform/core/objecttext.h"
#include "streaming_fixtures.h"
#include "tests/support/testclass.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <set>

namespace {

using namespace streaming_fixtures;

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (!out.empty()) out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

template <class F>
std::string Written(F&& write) {
    TMemoryStream s;
    TWriter w(&s);
    write(w);
    return StreamBytes(s);
}

// The head of an object record: its class and its name.
void WriteHead(TWriter& w, std::string_view className, std::string_view name) {
    w.WriteStr(className);
    w.WriteStr(name);
}

// The property names of the first object record of a stream.
std::vector<std::string> PropNames(const std::string& bytes) {
    Owned<TMemoryStream> s = StreamOf(bytes);
    TReader r(s.get());
    r.ReadSignature();
    TFilerFlags flags;
    int pos = 0;
    r.ReadPrefix(flags, pos);
    r.ReadStr();
    r.ReadStr();
    std::vector<std::string> names;
    while (!r.EndOfList()) {
        names.push_back(r.ReadStr());
        r.SkipValue();
    }
    return names;
}

// The value tags of a stream's property values, lists and collections included.
void CollectValue(TReader& r, std::set<int>& seen) {
    const TValueType t = r.NextValue();
    seen.insert(t);
    if (t == vaList) {
        r.ReadValue();
        while (!r.EndOfList()) CollectValue(r, seen);
        r.ReadListEnd();
    } else if (t == vaCollection) {
        r.ReadValue();
        while (!r.EndOfList()) {
            r.ReadListBegin();
            while (!r.EndOfList()) r.ReadStr(), CollectValue(r, seen);
            r.ReadListEnd();
        }
        r.ReadListEnd();
    } else {
        r.SkipValue();
    }
}

void CollectObject(TReader& r, std::set<int>& seen) {
    TFilerFlags flags;
    int pos = 0;
    r.ReadPrefix(flags, pos);
    r.ReadStr();
    r.ReadStr();
    while (!r.EndOfList()) r.ReadStr(), CollectValue(r, seen);
    r.ReadListEnd();
    while (!r.EndOfList()) CollectObject(r, seen);
    r.ReadListEnd();
}

class Filer : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterFixtureClasses();
        LoadedLog().clear();
    }
};

TEST(Extended, ConvertsEveryDoubleExactlyAndRoundsTheRest) {
    EXPECT_EQ(Hex(std::string(reinterpret_cast<const char*>(DoubleToExtended(1.0).data()), 10)),
              "00 00 00 00 00 00 00 80 FF 3F");
    EXPECT_EQ(Hex(std::string(reinterpret_cast<const char*>(DoubleToExtended(-2.5).data()), 10)),
              "00 00 00 00 00 00 00 A0 00 C0");
    const double samples[] = {0.0,
                              -0.0,
                              0.1,
                              -123456.789,
                              1e300,
                              -1e-300,
                              std::numeric_limits<double>::max(),
                              std::numeric_limits<double>::min(),
                              std::numeric_limits<double>::denorm_min(),
                              3 * std::numeric_limits<double>::denorm_min(),
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity()};
    for (double d : samples) {
        const TExtended80 x = DoubleToExtended(d);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(ExtendedToDouble(x)), std::bit_cast<std::uint64_t>(d)) << d;
        EXPECT_TRUE(ExtendedIsDouble(x)) << d;
    }
    EXPECT_TRUE(std::isnan(ExtendedToDouble(DoubleToExtended(std::nan("")))));

    // 1 + 2^-53 (a tie) rounds to even, 1 + 3*2^-54 rounds up.
    TExtended80 x = DoubleToExtended(1.0);
    x[1] = 0x04; // mantissa bit 10: 2^-53
    EXPECT_EQ(ExtendedToDouble(x), 1.0);
    EXPECT_FALSE(ExtendedIsDouble(x));
    x[1] = 0x06;
    EXPECT_EQ(ExtendedToDouble(x), 1.0 + std::ldexp(1.0, -52));
    // Beyond the double range: infinity; far below it: zero.
    TExtended80 huge = DoubleToExtended(1.0);
    huge[9] = 0x7F;
    huge[8] = 0xF0;
    EXPECT_TRUE(std::isinf(ExtendedToDouble(huge)));
    TExtended80 tiny = DoubleToExtended(1.0);
    tiny[9] = 0x00;
    tiny[8] = 0x10;
    EXPECT_EQ(ExtendedToDouble(tiny), 0.0);
}

TEST(FilerValues, IntegersTakeTheSmallestTag) {
    EXPECT_EQ(Hex(Written([](TWriter& w) { w.WriteInteger(-128); })), "02 80");
    EXPECT_EQ(Hex(Written([](TWriter& w) { w.WriteInteger(128); })), "03 80 00");
    EXPECT_EQ(Hex(Written([](TWriter& w) { w.WriteInteger(-32769); })), "04 FF 7F FF FF");
    EXPECT_EQ(Hex(Written([](TWriter& w) { w.WriteInteger(Int64{1} << 31); })), "13 00 00 00 80 00 00 00 00");
}

TEST(FilerValues, StringsAreFramedByContent) {
    EXPECT_EQ(Hex(Written([](TWriter& w) { w.WriteString(u"ab"); })), "06 02 61 62");
    EXPECT_EQ(Written([](TWriter& w) { w.WriteString(String(256, u'x')); }).substr(0, 5),
              std::string("\x0C\x00\x01\x00\x00", 5));
    EXPECT_EQ(Hex(Written([](TWriter& w) { w.WriteString(u"Жу"); })), "12 02 00 00 00 16 04 43 04");
    EXPECT_EQ(Hex(Written([](TWriter& w) { w.WriteString(u"aé"); })), "14 03 00 00 00 61 C3 A9");
    EXPECT_EQ(Hex(Written([](TWriter& w) { w.WriteStr("ab"); })), "02 61 62");
    EXPECT_THROW(Written([](TWriter& w) { w.WriteStr(std::string(256, 'n')); }), EWriteError);

    // Every framing reads back as the same text.
    for (const String& text : {String(u"ab"), String(300, u'q'), String(u"Жу"), String(u"aé"), String()}) {
        TMemoryStream s;
        TWriter(&s).WriteString(text);
        s.SetPosition(0);
        EXPECT_EQ(TReader(&s).ReadString(), text);
    }
}

TEST_F(Filer, WritingRuleFollowsStoredTestsDefaultsAndImplicitRules) {
    Owned<TStreamRoot> root(Create<TStreamRoot>(nullptr));
    auto* item = Create<TStreamItem>(root.get());
    item->SetName(u"Plain");
    const auto written = [&] {
        return Written([&](TWriter& w) {
            w.SetRoot(root.get());
            w.WriteSignature();
            w.WriteComponent(item);
        });
    };
    // Ordinals without a default always; floats at 0, empty strings, nil
    // references, unbound events, defaults and Stored(false) Name never.
    EXPECT_EQ(PropNames(written()),
              (std::vector<std::string>{"Big", "Letter", "Marks", "Color", "Font.Name", "Columns"}));

    item->FCount = 4;
    item->FEnabled = false;
    item->FWeight = 2;
    item->SetTag(7); // the stored test now writes even a nil Partner
    item->FFont->FSize = 11;
    item->FOnChange.Bind([](TObject*) {}); // a code handler has no name: not streamed
    EXPECT_EQ(PropNames(written()),
              (std::vector<std::string>{"Tag", "Count", "Big", "Letter", "Enabled", "Marks", "Color",
                                        "Weight", "Font.Name", "Font.Size", "Columns", "Partner"}));
}

TEST_F(Filer, TreeRoundTripsThroughObjectsByteForByte) {
    Owned<TStreamRoot> original(MakeTree());
    const std::string first = WriteTree(original.get());
    std::set<int> tags;
    Owned<TMemoryStream> walk = StreamOf(first);
    TReader walker(walk.get());
    walker.ReadSignature();
    CollectObject(walker, tags);
    std::set<int> everyValueType;
    for (int t = vaList; t <= vaDouble; ++t) everyValueType.insert(t);
    EXPECT_EQ(tags, everyValueType);

    Owned<TComponent> copy(ReadTree(first));
    ASSERT_TRUE(copy->Is<TStreamRoot>());
    auto* root = static_cast<TStreamRoot*>(copy.get());
    EXPECT_EQ(root->GetName(), u"Root1");
    EXPECT_EQ(root->FTitle, u"Every value");
    ASSERT_EQ(root->GetComponentCount(), 4);
    auto* a = static_cast<TStreamItem*>(root->FindComponent(u"ItemA"));
    auto* b = static_cast<TStreamItem*>(root->FindComponent(u"itemb"));
    auto* c = static_cast<TStreamItem*>(root->FindComponent(u"ItemC"));
    auto* panel = static_cast<TStreamPanel*>(root->FindComponent(u"Panel1"));
    ASSERT_TRUE(a && b && c && panel);
    EXPECT_EQ(a->FCount, 1000);
    EXPECT_EQ(a->FBig, Int64{1} << 40);
    EXPECT_EQ(a->FLetter, u'Ж');
    EXPECT_FALSE(a->FEnabled);
    EXPECT_TRUE(a->FAutoSize);
    EXPECT_EQ(a->FShade, shDark);
    EXPECT_EQ(a->FMarks, (Set<TMark>{mkBold, mkStrike}));
    EXPECT_EQ(a->FColor, static_cast<TTestColor>(0xFF00000F));
    EXPECT_EQ(a->FWeight, 0.1);
    EXPECT_EQ(a->FPrecise, -1.5e-300);
    EXPECT_EQ(a->FRatio, 0.25f);
    EXPECT_EQ(a->FPrice, 12.3456);
    EXPECT_EQ(a->FWhen, 45000.5);
    EXPECT_EQ(a->FCaption, String(300, u'x'));
    EXPECT_EQ(a->FFont->FName, u"Liberation Sans");
    EXPECT_EQ(a->FFont->FStyle, Set<TMark>{mkItalic});
    EXPECT_EQ(a->FExtra, (std::vector<String>{u"one", u"Два"}));
    EXPECT_EQ(a->FData, (std::vector<Byte>{0, 1, 2, 0xFE, 0xFF}));
    EXPECT_EQ(a->FLines->GetText(), u"first line\r\nвторая\r\n");
    ASSERT_EQ(panel->FColumns->GetCount(), 2);
    EXPECT_EQ(panel->Column(0)->FTitle, u"Date");
    EXPECT_EQ(panel->Column(0)->FTarget, c);
    EXPECT_EQ(panel->Column(1)->FWidth, 80);
    EXPECT_EQ(a->FBuddy, c); // read before its target existed
    EXPECT_EQ(b->FBuddy, a);
    EXPECT_EQ(b->GetParentComponent(), panel);
    EXPECT_EQ(c->FBuddy, root);
    EXPECT_EQ(c->FPartner, a);
    EXPECT_EQ(panel->FCaption, u"Caf\u00e9 au lait");
    EXPECT_EQ(b->FCaption, u"Заголовок");

    // The handler was bound by name to the new root's published method.
    ASSERT_TRUE(a->FOnChange);
    EXPECT_EQ(a->FOnChange.MethodName(), "ItemChange");
    a->FOnChange(a);
    EXPECT_EQ(root->Changes, std::vector<TComponent*>{a});

    // Loaded: root first, then each component once its record is done, all
    // after the fix-ups and each with loading cleared.
    EXPECT_EQ(LoadedLog(), (std::vector<std::string>{"root Root1", "ItemA>ItemC", "ItemB>ItemA", "Panel1",
                                                     "ItemC>Root1"}));
    for (TComponent* comp : root->Components()) {
        EXPECT_FALSE(comp->GetComponentState().Contains(csLoading));
        EXPECT_FALSE(comp->GetComponentState().Contains(csReading));
    }

    EXPECT_EQ(Hex(WriteTree(root)), Hex(first));
}

// Reads as the chart library's reader does: without a callback every error
// is skipped; with one, the callback decides.
class TSkippingReader : public TReader {
public:
    using TReader::TReader;
    bool Error(const String& Message) override {
        Messages.push_back(Message);
        return Callback ? Callback(Message) : true;
    }
    std::function<bool(const String&)> Callback;
    std::vector<String> Messages;
};

// A stream of one item that holds a property the class does not have.
std::string StreamWithUnknownProperty() {
    TMemoryStream s;
    TWriter w(&s);
    w.WriteSignature();
    w.WriteStr("TStreamItem");
    w.WriteStr("Odd");
    w.WriteStr("Count");
    w.WriteInteger(7);
    w.WriteStr("Vanished");
    w.WriteListBegin();
    w.WriteString(u"gone");
    w.WriteListEnd();
    w.WriteStr("Font.Missing");
    w.WriteInteger(1);
    w.WriteStr("Shade");
    w.WriteIdent("shPurple");
    w.WriteStr("Caption");
    w.WriteString(u"kept");
    w.WriteListEnd();
    w.WriteListEnd();
    return StreamBytes(s);
}

TEST_F(Filer, UnknownPropertiesAreSkippedOrRaisedAsTheErrorHandlerSays) {
    const std::string bytes = StreamWithUnknownProperty();
    {
        Owned<TMemoryStream> s = StreamOf(bytes);
        TSkippingReader r(s.get());
        Owned<TComponent> item(r.ReadRootComponent(nullptr));
        auto* it = static_cast<TStreamItem*>(item.get());
        EXPECT_EQ(it->FCount, 7);
        EXPECT_EQ(it->FCaption, u"kept");
        EXPECT_EQ(r.Messages,
                  (std::vector<String>{u"Property Vanished does not exist",
                                       u"Property Font.Missing does not exist", u"Invalid property value"}));
    }
    {
        Owned<TMemoryStream> s = StreamOf(bytes);
        TSkippingReader r(s.get());
        r.Callback = [](const String&) { return false; };
        try {
            r.ReadRootComponent(nullptr);
            FAIL();
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), u"Property Vanished does not exist");
        }
    }
    {
        // The plain reader asks OnError, and raises without one.
        Owned<TMemoryStream> s = StreamOf(bytes);
        TReader r(s.get());
        int asked = 0;
        r.OnError.Bind([&](TReader*, const String&, bool& handled) { handled = ++asked < 3; });
        EXPECT_THROW(r.ReadRootComponent(nullptr), EReadError);
        EXPECT_EQ(asked, 3);
    }
}

TEST_F(Filer, AnEmptyIdentifierIsNoEnumerationValue) {
    Owned<TMemoryStream> s = StreamOf(Written([](TWriter& w) {
        w.WriteSignature();
        WriteHead(w, "TStreamItem", "Odd");
        w.WriteStr("Shade");
        w.WriteValue(vaIdent);
        w.WriteStr("");
        w.WriteStr("Caption");
        w.WriteString(u"kept");
        w.WriteListEnd();
        w.WriteListEnd();
    }));
    TSkippingReader r(s.get());
    Owned<TComponent> item(r.ReadRootComponent(nullptr));
    EXPECT_EQ(static_cast<TStreamItem*>(item.get())->FShade, shNone);
    EXPECT_EQ(static_cast<TStreamItem*>(item.get())->FCaption, u"kept");
    EXPECT_EQ(r.Messages, std::vector<String>{u"Invalid property value"});
}

// A parent that frees the children it holds when it goes, as a windowed
// control does with its controls.
class TStreamHolder : public testsupport::TTestClass<TStreamHolder, TStreamPanel, "TStreamHolder"> {
public:
    using TTestClass::TTestClass;
    void BeforeDestruction() override {
        if (TComponent* owner = GetOwner()) {
            std::vector<TComponent*> held;
            for (TComponent* c : owner->Components())
                if (c->GetParentComponent() == this) held.push_back(c);
            for (TComponent* c : held) c->Free();
        }
        TStreamPanel::BeforeDestruction();
    }
};

TEST_F(Filer, AFailedReadTouchesNoComponentItFreedOnTheWayOut) {
    RegisterClass(TStreamHolder::StaticClass());
    // A holder whose first child reads well and whose second has no class:
    // the holder is freed, and with it the child already read.
    const std::string bytes = Written([](TWriter& w) {
        w.WriteSignature();
        WriteHead(w, "TStreamRoot", "Form");
        w.WriteListEnd();
        WriteHead(w, "TStreamHolder", "Holder");
        w.WriteListEnd();
        for (const char* cls : {"TStreamItem", "TNoSuchItem"}) {
            WriteHead(w, cls, std::string("Child") + cls);
            w.WriteListEnd();
            w.WriteListEnd();
        }
        w.WriteListEnd();
        w.WriteListEnd();
    });

    Owned<TStreamRoot> root(Create<TStreamRoot>(nullptr));
    try {
        ReadTree(bytes, root.get());
        ADD_FAILURE();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), u"Class TNoSuchItem not found");
    }
    EXPECT_EQ(root->GetComponentCount(), 0);
    EXPECT_FALSE(root->GetComponentState().Contains(csLoading));
    EXPECT_FALSE(root->GetComponentState().Contains(csReading));
    EXPECT_THROW(ReadTree(bytes), EReadError); // a root of its own goes too
    UnRegisterClass(TStreamHolder::StaticClass());
}

std::string StreamWithHandler(const char* handler) {
    TMemoryStream s;
    TWriter w(&s);
    w.WriteSignature();
    WriteHead(w, "TStreamRoot", "Form");
    w.WriteListEnd();
    WriteHead(w, "TStreamItem", "Button");
    w.WriteStr("OnChange");
    w.WriteIdent(handler);
    w.WriteListEnd();
    w.WriteListEnd();
    w.WriteListEnd();
    return StreamBytes(s);
}

TEST_F(Filer, HandlersBindByNameOrFailNamingHandlerAndClass) {
    {
        Owned<TComponent> root(ReadTree(StreamWithHandler("itemchange")));
        auto* button = static_cast<TStreamItem*>(root->FindComponent(u"Button"));
        EXPECT_EQ(button->FOnChange.MethodName(), "ItemChange");
        EXPECT_EQ(button->FOnChange.Target(), root.get());
    }
    try {
        ReadTree(StreamWithHandler("ButtonClick"));
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), u"Method ButtonClick not found in class TStreamRoot");
    }
    try {
        ReadTree(StreamWithHandler("Resized"));
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), u"Method Resized of class TStreamRoot does not fit the event OnChange");
    }
    // A find-method handler that clears the error leaves the event unbound.
    Owned<TMemoryStream> s = StreamOf(StreamWithHandler("ButtonClick"));
    TReader r(s.get());
    String asked;
    r.OnFindMethod.Bind([&](TReader*, const String& name, const MethodInfo*& m, bool& error) {
        asked = name;
        error = false;
    });
    Owned<TComponent> root(r.ReadRootComponent(nullptr));
    EXPECT_EQ(asked, u"ButtonClick");
    EXPECT_FALSE(static_cast<TStreamItem*>(root->FindComponent(u"Button"))->FOnChange);
}

TEST_F(Filer, ReadingIntoAnExistingRootKeepsItAndSetsStateDuringTheRead) {
    Owned<TStreamRoot> source(MakeTree());
    const std::string bytes = WriteTree(source.get());

    struct TWatchingRoot : TStreamRoot {
        using TStreamRoot::TStreamRoot;
        void ReadState(TReader* Reader) override {
            StateWhileReading = GetComponentState();
            TStreamRoot::ReadState(Reader);
        }
        TComponentState StateWhileReading;
    };
    Owned<TWatchingRoot> root(Create<TWatchingRoot>(nullptr));
    EXPECT_EQ(ReadTree(bytes, root.get()), root.get());
    EXPECT_TRUE(root->StateWhileReading.Contains(csLoading));
    EXPECT_TRUE(root->StateWhileReading.Contains(csReading));
    EXPECT_EQ(root->GetName(), u"Root1");
    EXPECT_EQ(root->GetComponentCount(), 4);
    EXPECT_FALSE(root->GetComponentState().Contains(csLoading));
}

TEST_F(Filer, UnresolvedReferencesAndUnknownClassesRaise) {
    TMemoryStream s;
    TWriter w(&s);
    w.WriteSignature();
    w.WriteStr("TStreamItem");
    w.WriteStr("Lonely");
    w.WriteStr("Buddy");
    w.WriteIdent("Nobody");
    w.WriteListEnd();
    w.WriteListEnd();
    const std::string bytes = StreamBytes(s);
    try {
        ReadTree(bytes);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), u"Unresolved reference Nobody in property Buddy");
    }
    std::string unknown = bytes;
    unknown[6] = 'X'; // TXtreamItem
    try {
        ReadTree(unknown);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), u"Class TXtreamItem not found");
    }
    EXPECT_THROW(ReadTree("TPF1"), EReadError);
}

// A form whose item sets its collection twice: first to items that refer to
// components, then to `columns`.
std::string ColumnsSetTwice(const std::string& columns) {
    TStringStream text("object Form: TStreamRoot\n"
                       "  object Item: TStreamItem\n"
                       "    Columns = <\n"
                       "      item\n"
                       "        Target = Owner\n"
                       "      end\n"
                       "      item\n"
                       "        Target = Other\n"
                       "      end>\n"
                       "    Columns = <" +
                       columns +
                       ">\n"
                       "  end\n"
                       "  object Other: TStreamItem\n"
                       "  end\n"
                       "end\n");
    TMemoryStream binary;
    ObjectTextToBinary(&text, &binary);
    return StreamBytes(binary);
}

// A collection set twice in one record frees the items of the first value,
// references and all: their pending fix-ups go with them, and the second
// value's are resolved.
TEST_F(Filer, ACollectionSetTwiceDropsTheFixupsOfItsFreedItems) {
    const auto read = [](const std::string& columns) {
        return Owned<TComponent>(ReadTree(ColumnsSetTwice(columns)));
    };
    {
        Owned<TComponent> root = read("");
        EXPECT_EQ(static_cast<TStreamItem*>(root->FindComponent(u"Item"))->GetColumns()->GetCount(), 0);
    }
    {
        // New items without references, as likely as not where the freed ones
        // were: a stale fix-up would fill them in.
        Owned<TComponent> root = read("item Width = 5 end item end");
        auto* item = static_cast<TStreamItem*>(root->FindComponent(u"Item"));
        ASSERT_EQ(item->GetColumns()->GetCount(), 2);
        EXPECT_EQ(item->Column(0)->FTarget, nullptr);
        EXPECT_EQ(item->Column(1)->FTarget, nullptr);
    }
    Owned<TComponent> root = read("item Width = 5 Target = Other end item Target = Owner end");
    auto* item = static_cast<TStreamItem*>(root->FindComponent(u"Item"));
    ASSERT_EQ(item->GetColumns()->GetCount(), 2);
    EXPECT_EQ(item->Column(0)->FWidth, 5);
    EXPECT_EQ(item->Column(0)->FTarget, root->FindComponent(u"Other"));
    EXPECT_EQ(item->Column(1)->FTarget, root.get());
}

// Every prefix of a valid stream and thousands of damaged copies: the reader
// raises, it never crashes, hangs or allocates without bound.
TEST_F(Filer, TruncatedAndCorruptedStreamsOnlyRaise) {
    Owned<TStreamRoot> source(MakeTree());
    const auto readAll = [](const std::string& data) -> bool {
        try {
            Owned<TComponent> root(ReadTree(data));
            return true;
        } catch (const Exception&) {
            return false;
        }
    };
    // A whole tree, and a collection set twice whose first items hold
    // references that are still to be resolved when the second value frees them.
    const std::string sources[] = {WriteTree(source.get()), ColumnsSetTwice("item Target = Owner end")};
    std::mt19937 rng(20240611);
    int survived = 0;
    for (const std::string& bytes : sources) {
        for (std::size_t n = 0; n < bytes.size(); ++n) EXPECT_FALSE(readAll(bytes.substr(0, n))) << n;
        EXPECT_TRUE(readAll(bytes));
        for (int round = 0; round < 3000; ++round) {
            std::string damaged = bytes;
            const int flips = 1 + static_cast<int>(rng() % 4);
            for (int i = 0; i < flips; ++i) damaged[rng() % damaged.size()] = static_cast<char>(rng());
            survived += readAll(damaged);
        }
    }
    RecordProperty("SurvivedDamage", survived);

    // Hostile shapes: a huge length, deep nesting.
    std::string huge = "TPF0\x0BTStreamItem\x01X\x04"
                       "Data\x0A\xFF\xFF\xFF\x7F";
    EXPECT_FALSE(readAll(huge));
    std::string deep = "TPF0\x0BTStreamItem\x01X\x05"
                       "Extra" +
                       std::string(100000, '\x01');
    EXPECT_FALSE(readAll(deep));
}

} // namespace
