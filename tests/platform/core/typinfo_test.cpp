#include "platform/core/classes.h"
#include "platform/core/sysutils.h"

#include <gtest/gtest.h>

namespace {

enum TFruit : std::uint8_t { frApple, frPear, frPlum };

} // namespace

template <>
const EnumInfo& EnumInfoOf<TFruit>() {
    static const EnumInfo info{"TFruit", {"frApple", "frPear", "frPlum"}};
    return info;
}

namespace {

class TBasket : public TComponent {
public:
    using TComponent::TComponent;
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    int GetCount() const { return FCount; }
    void SetCount(int v) { FCount = v; }
    TFruit GetFruit() const { return FFruit; }
    void SetFruit(TFruit v) { FFruit = v; }
    Set<TFruit> GetMix() const { return FMix; }
    void SetMix(Set<TFruit> v) { FMix = v; }
    double GetWeight() const { return FWeight; }
    void SetWeight(double v) { FWeight = v; }
    String GetLabel() const { return FLabel; }
    void SetLabel(const String& v) { FLabel = v; }
    TComponent* GetBuddy() const { return FBuddy; }
    void SetBuddy(TComponent* v) { FBuddy = v; }
    bool IsWeightStored() const { return FWeight > 1; }
    void Handler(TObject* Sender) { ++Calls; }

    int FCount = 3;
    TFruit FFruit = frPear;
    Set<TFruit> FMix;
    double FWeight = 0;
    String FLabel;
    TComponent* FBuddy = nullptr;
    TNotifyEvent FOnChange;
    int Calls = 0;
};

const ClassInfo& TBasket::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TBasket::GetCount, &TBasket::SetCount>("Count").Default(3),
        MakeProp<&TBasket::GetFruit, &TBasket::SetFruit>("Fruit"),
        MakeProp<&TBasket::GetMix, &TBasket::SetMix>("Mix"),
        MakeProp<&TBasket::GetWeight, &TBasket::SetWeight>("Weight").Stored<&TBasket::IsWeightStored>(),
        MakeProp<&TBasket::GetLabel, &TBasket::SetLabel>("Label"),
        MakeProp<&TBasket::GetBuddy, &TBasket::SetBuddy>("Buddy"),
        MakeProp<&TBasket::FOnChange>("OnChange"),
    };
    static const MethodInfo methods[] = {MakeMethod<&TBasket::Handler>("Handler")};
    static const ClassInfo ci = MakeClassInfo<TBasket>("TBasket", &TComponent::StaticClass(), props, methods);
    return ci;
}

} // namespace

TEST(TypInfo, TablesChainToTheParentAndAccessByName) {
    Owned<TBasket> b(Create<TBasket>(nullptr));
    const auto all = b->ClassType().AllProps();
    ASSERT_EQ(all.size(), 9u);
    EXPECT_EQ(all[0]->name, "Name");
    EXPECT_EQ(all[2]->name, "Count");
    EXPECT_EQ(GetPropInfo(*b, "fruit")->kind, PropKind::Enum);
    EXPECT_EQ(GetEnumProp(*b, "Fruit"), u"frPear");
    SetEnumProp(*b, "FRUIT", "frPlum");
    EXPECT_EQ(b->FFruit, frPlum);
    SetOrdProp(*b, "Mix", Set<TFruit>{frApple, frPlum}.Bits());
    EXPECT_EQ(b->FMix.Bits(), 5u);
    SetStrProp(*b, "Label", u"Груши");
    EXPECT_EQ(b->FLabel, u"Груши");
    EXPECT_EQ(GetPropInfo(*b, "Buddy")->kind, PropKind::Component);
    EXPECT_FALSE(GetPropInfo(*b, "Weight")->stored(*b));
    EXPECT_THROW(GetOrdProp(*b, "Nope"), EPropertyError);

    const MethodInfo* m = b->ClassType().FindMethod("handler");
    ASSERT_NE(m, nullptr);
    EventBase* ev = GetPropInfo(*b, "OnChange")->event(*b);
    ASSERT_TRUE(m->bind(*ev, b.get(), m->name));
    b->FOnChange(b.get());
    EXPECT_EQ(b->Calls, 1);
    EXPECT_EQ(b->FOnChange.MethodName(), "Handler");
}

TEST(TypInfo, Utf8RoundTripAndInvalidBytes) {
    EXPECT_EQ(UTF8ToString("Чтение \xF0\x9F\x98\x80"), u"Чтение \U0001F600");
    EXPECT_EQ(UTF8Encode(u"Чтение \U0001F600"), "Чтение \xF0\x9F\x98\x80");
    EXPECT_EQ(UTF8ToString("a\xFF"
                           "b\xC0\xAF"),
              u"a\uFFFDb\uFFFD\uFFFD");
}
