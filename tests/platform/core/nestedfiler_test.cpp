// A reader and a writer made over the stream of a binary property, as the
// marks of a series keep their per-point items: each leaves the stream just
// after what it consumed, so the block's own bytes go on around it.
#include "platform/core/filer.h"
#include "streaming_fixtures.h"

#include <gtest/gtest.h>

namespace {

using streaming_fixtures::TStreamFont;

void WriteItems(TStream* S, const std::vector<TStreamFont*>& Items) {
    const std::int32_t count = static_cast<std::int32_t>(Items.size());
    S->WriteBuffer(&count, 4);
    TWriter writer(S, 1024);
    for (TStreamFont* item : Items) {
        writer.WriteListBegin();
        if (item) writer.WriteProperties(item);
        writer.WriteListEnd();
    }
    const Byte tail = 0xA5;
    S->WriteBuffer(&tail, 1);
}

std::vector<Owned<TStreamFont>> ReadItems(TStream* S, Byte& Tail) {
    std::int32_t count = 0;
    S->ReadBuffer(&count, 4);
    std::vector<Owned<TStreamFont>> items;
    TReader reader(S, 1024);
    for (int t = 0; t < count; ++t) {
        items.push_back(MakeOwned<TStreamFont>());
        reader.ReadListBegin();
        while (!reader.EndOfList()) reader.ReadProperty(items.back().get());
        reader.ReadListEnd();
    }
    S->ReadBuffer(&Tail, 1);
    return items;
}

TEST(NestedFiler, ItemsRoundTripInsideABlockAndLeaveTheStreamAfterThem) {
    auto a = MakeOwned<TStreamFont>();
    a->FName = u"Шрифт";
    a->FSize = 14;
    auto b = MakeOwned<TStreamFont>(); // all defaults: an empty group
    TMemoryStream block;
    WriteItems(&block, {a.get(), b.get()});
    block.SetPosition(0);
    Byte tail = 0;
    const auto items = ReadItems(&block, tail);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0]->FName, u"Шрифт");
    EXPECT_EQ(items[0]->FSize, 14);
    EXPECT_EQ(items[1]->FSize, 10);
    EXPECT_EQ(tail, 0xA5);
    EXPECT_EQ(block.GetPosition(), block.GetSize());
}

TEST(NestedFiler, ABlockCutShortRaisesAReadError) {
    auto a = MakeOwned<TStreamFont>();
    a->FSize = 20;
    TMemoryStream block;
    WriteItems(&block, {a.get()});
    const auto* bytes = static_cast<const Byte*>(block.Memory());
    for (Int64 n = 0; n + 1 < block.GetSize(); ++n) {
        TMemoryStream cut;
        if (n) cut.WriteBuffer(bytes, static_cast<LongInt>(n));
        cut.SetPosition(0);
        Byte tail = 0;
        EXPECT_THROW(ReadItems(&cut, tail), EReadError) << n;
    }
}

} // namespace
