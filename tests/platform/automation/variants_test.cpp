#include "platform/automation/comobj.h"

#include <gtest/gtest.h>

namespace {

// Russian settings for the duration of a test.
class RussianLocale : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = FormatSettings;
        FormatSettings = RussianFormatSettings();
    }
    void TearDown() override { FormatSettings = saved_; }

private:
    TFormatSettings saved_;
};

} // namespace

using VariantConversions = RussianLocale;

TEST_F(VariantConversions, TypesAndConversions) {
    EXPECT_EQ(Variant().VarType(), varEmpty);
    EXPECT_EQ(Variant::Null().VarType(), varNull);
    EXPECT_EQ(Variant(7).VarType(), varInteger);
    EXPECT_EQ(Variant(7LL).VarType(), varInt64);
    EXPECT_EQ(Variant(std::size_t{7}).VarType(), varInt64);
    EXPECT_EQ(Variant(1.5).VarType(), varDouble);
    EXPECT_EQ(Variant(true).VarType(), varBoolean);
    EXPECT_EQ(Variant(u"x").VarType(), varOleStr);
    EXPECT_EQ(Variant("ж").AsString(), u"ж");
    EXPECT_EQ(Variant::FromDate(40091.5).VarType(), varDate);

    // Numbers and texts convert with the locale.
    EXPECT_EQ(Variant(1.5).AsString(), u"1,5");
    EXPECT_DOUBLE_EQ(Variant(u"2,25").AsDouble(), 2.25);
    EXPECT_EQ(Variant(u"17").AsInteger(), 17);
    EXPECT_EQ(Variant(u"2,5").AsInteger(), 2); // rounds half to even
    EXPECT_EQ(Variant(3.5).AsInteger(), 4);
    EXPECT_EQ(Variant(true).AsInteger(), -1);
    EXPECT_TRUE(Variant(u"TRUE").AsBoolean());
    EXPECT_FALSE(Variant(0).AsBoolean());
    EXPECT_EQ(Variant(true).AsString(), u"True");
    EXPECT_EQ(Variant::FromDate(40091.520833333336).AsString(), u"05.10.2009 12:30:00");
    EXPECT_DOUBLE_EQ(Variant(u"05.10.2009 12:30").AsDateTime(), 40091.520833333336);
    EXPECT_EQ(Variant().AsString(), u"");
    EXPECT_EQ(Variant().AsInteger(), 0);
    EXPECT_EQ(VarToStr(Variant::Null()), u"");

    // What does not convert raises, naming both types.
    try {
        Variant(u"abc").AsDouble();
        FAIL();
    } catch (const EVariantTypeCastError& e) {
        EXPECT_EQ(e.Message(), u"Could not convert variant of type (OleStr) into type (Double)");
    }
    EXPECT_THROW(Variant::Null().AsInteger(), EVariantTypeCastError);
    EXPECT_THROW(Variant(1e30).AsInteger(), EVariantTypeCastError);
    EXPECT_THROW(Variant(u"1.5").AsDouble(), EVariantTypeCastError); // not the locale's separator
    EXPECT_THROW(Variant(u"nan").AsDouble(), EVariantTypeCastError);
    EXPECT_THROW(Variant(2).AsDispatch(), EVariantTypeCastError);
    EXPECT_EQ(Variant().AsDispatch(), nullptr);
}

TEST(VariantArrays, BoundsElementsAndCopies) {
    Variant a = VarArrayCreate({0, 2, 0, 3}, varVariant);
    EXPECT_EQ(a.VarType(), varArray | varVariant);
    EXPECT_TRUE(VarIsArray(a));
    EXPECT_EQ(VarArrayDimCount(a), 2);
    EXPECT_EQ(VarArrayLowBound(a, 1), 0);
    EXPECT_EQ(VarArrayHighBound(a, 1), 2);
    EXPECT_EQ(VarArrayHighBound(a, 2), 3);
    EXPECT_TRUE(a(2, 3).IsEmpty());
    a(1, 2) = u"Дата";
    a(2, 3) = 4.5;
    EXPECT_EQ(a(1, 2).AsString(), u"Дата");

    // A copy is a value of its own.
    Variant b = a;
    b(1, 2) = 7;
    EXPECT_EQ(a(1, 2).AsString(), u"Дата");
    EXPECT_EQ(b(1, 2).AsInteger(), 7);
    EXPECT_FALSE(a == b);
    b(1, 2) = u"Дата";
    EXPECT_TRUE(a == b);

    EXPECT_THROW(a(3, 0), EVariantBadIndexError);
    EXPECT_THROW(a(0, -1), EVariantBadIndexError);
    EXPECT_THROW(a(0), EVariantBadIndexError);
    EXPECT_THROW(VarArrayLowBound(a, 3), EVariantBadIndexError);
    EXPECT_THROW(Variant(1)(0), EVariantInvalidOpError);

    const Variant typed = VarArrayCreate({1, 3}, varInteger);
    EXPECT_EQ(typed(1).VarType(), varInteger);
    EXPECT_EQ(VarArrayDimCount(VarArrayCreate({5, 4}, varVariant)), 1); // empty, but an array

    EXPECT_THROW(VarArrayCreate({0}, varVariant), EVariantArrayCreateError);
    EXPECT_THROW(VarArrayCreate({3, 1}, varVariant), EVariantArrayCreateError);
    EXPECT_THROW(VarArrayCreate({0, 1 << 20, 0, 1 << 20}, varVariant), EVariantArrayCreateError);
}

namespace {

class TPoint3 : public TAutoDispatch {
public:
    TPoint3() {
        Member(
            u"X", 0, 0, [this](Args) -> Variant { return x; },
            [this](Args, const Variant& v) { x = v.AsInteger(); });
        Member(u"Scaled", 1, 2,
               [this](Args a) -> Variant { return x * a[0].AsInteger() + Arg(a, 1).AsInteger(); });
        Member(
            u"Cell", 2, 2, [](Args a) -> Variant { return a[0].AsInteger() * 10 + a[1].AsInteger(); },
            [this](Args a, const Variant& v) { x = a[0].AsInteger() + v.AsInteger(); });
    }
    int x = 0;
};

} // namespace

TEST(LateBinding, MembersByNameInAnyCase) {
    auto object = std::make_shared<TPoint3>();
    const Variant v(DispatchPtr{object});
    v.Set(u"x", 5);
    EXPECT_EQ(object->x, 5);
    EXPECT_EQ(v.Get(u"X").AsInteger(), 5);
    EXPECT_EQ(v.Call(u"SCALED", 3).AsInteger(), 15);
    EXPECT_EQ(v.Get(u"scaled", 3, 1).AsInteger(), 16); // reads and calls are alike
    EXPECT_EQ(v.Get(u"Cell", 2, 3).AsInteger(), 23);
    const Variant args[] = {Variant(10), Variant(0), Variant(1)}; // two indexes, then the value
    v.Dispatch(u"cell", DispatchKind::PropertyPut, args);
    EXPECT_EQ(object->x, 11);

    try {
        v.Call(u"Missing");
        FAIL();
    } catch (const EOleError& e) {
        EXPECT_EQ(e.Message(), u"Method 'Missing' not supported by automation object");
    }
    EXPECT_THROW(v.Set(u"Scaled", 1), EOleError); // no setter
    try {
        v.Call(u"Scaled");
        FAIL();
    } catch (const EOleSysError& e) {
        EXPECT_EQ(e.ErrorCode, DISP_E_BADPARAMCOUNT);
    }
    EXPECT_THROW(v.Call(u"Scaled", 1, 2, 3), EOleSysError);

    // Late binding on what is not an object.
    EXPECT_THROW(Variant().Get(u"WorkBooks"), EVariantInvalidOpError);
    EXPECT_THROW(Variant(1).Call(u"add"), EVariantInvalidOpError);
}
