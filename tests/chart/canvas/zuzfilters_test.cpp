// The filter framework: where a filter works (regions, clamped to the bitmap), filter lists
// (order, disabled filters, copies), pictures that filter their graphic, the registry, the
// rotation hook of gradients, and the "FilterItems" block written, read back and damaged.
#include "tests/chart/canvas/filterbitmaps.h"

#include "chart/canvas/zuzgradient.h"
#include "platform/core/filer.h"
#include "platform/core/objecttext.h"

#include <gtest/gtest.h>

#include <random>

using namespace filtertest;

namespace {

class FilterFramework : public ::testing::Test {
protected:
    void SetUp() override { StartFilters(); }
};

Owned<TBitmap> Ramp(int w, int h) {
    return MakeBitmap(w, h, [](int x, int y) { return Bgr{x, y, 100}; });
}

// Which pixels an inverting filter with this region changes on a 5 x 5 bitmap, row by row.
std::vector<std::string> InvertedMap(int left, int top, int width, int height) {
    auto b = Ramp(5, 5);
    auto f = MakeFilter<TInvertFilter>();
    f->GetRegion()->SetLeft(left);
    f->GetRegion()->SetTop(top);
    f->GetRegion()->SetWidth(width);
    f->GetRegion()->SetHeight(height);
    f->Apply(b.get());
    std::vector<std::string> rows;
    for (int y = 0; y < 5; ++y) {
        std::string row;
        for (int x = 0; x < 5; ++x) row += At(b.get(), x, y).r == 100 ? '.' : '#';
        rows.push_back(row);
    }
    return rows;
}

using Map = std::vector<std::string>;

TEST_F(FilterFramework, ARegionCoversWidthColumnsAndHeightRowsAndNeverLeavesTheBitmap) {
    // Width 2 from column 1: columns 1 and 2 (the last column is Left + Width - 1).
    EXPECT_EQ(InvertedMap(1, 1, 2, 3), (Map{".....", ".##..", ".##..", ".##..", "....."}));
    // Width and Height 0 reach the right and bottom edges.
    EXPECT_EQ(InvertedMap(3, 2, 0, 0), (Map{".....", ".....", "...##", "...##", "...##"}));
    // Partly off the top-left corner: only what lies on the bitmap changes.
    EXPECT_EQ(InvertedMap(-2, -2, 4, 4), (Map{"##...", "##...", ".....", ".....", "....."}));
    // Partly off the bottom-right corner, with sizes at the integer limit.
    EXPECT_EQ(InvertedMap(3, 4, 2147483647, 2147483647), (Map{".....", ".....", ".....", ".....", "...##"}));
    // Wholly off the bitmap, or of negative size: nothing changes.
    for (const auto& m :
         {InvertedMap(5, 0, 2, 2), InvertedMap(-10, -10, 3, 3), InvertedMap(2147483647, 0, 0, 0),
          InvertedMap(-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647), InvertedMap(1, 1, -3, 2)})
        EXPECT_EQ(m, (Map{".....", ".....", ".....", ".....", "....."}));
    // The region's rectangle adds and subtracts its numbers without wrapping.
    TFilterRegion region;
    region.SetLeft(10);
    region.SetTop(-10);
    region.SetWidth(2147483647);
    region.SetHeight(-2147483647 - 1);
    EXPECT_EQ(region.GetRectangle(), TRect(10, -10, 2147483647, -2147483647 - 1));
    region.SetRectangle(TRect(-2147483647 - 1, 2147483647, 2147483647, -2147483647 - 1));
    EXPECT_EQ(region.GetWidth(), 2147483647);
    EXPECT_EQ(region.GetHeight(), -2147483647 - 1);
}

// Every region filter with a region partly off the bitmap: pixels off the region keep their
// values, and (under the sanitizers) nothing is read or written off the bitmap.
TEST_F(FilterFramework, EveryFilterWithARegionPartlyOffTheBitmapTouchesOnlyItsPart) {
    const TRect regions[] = {{-3, -3, 4, 4}, {3, 3, 100, 100}, {-100, 2, 1000, 1}, {7, 0, 2, 0}};
    for (const ClassInfo* c : FilterClasses()) {
        for (const TRect& r : regions) {
            auto b = Ramp(8, 6);
            auto before = Ramp(8, 6);
            Owned<TZuzFilter> f(static_cast<TZuzFilter*>(c->newItem(nullptr)));
            FinishConstruction(f.get());
            f->GetRegion()->SetLeft(r.Left);
            f->GetRegion()->SetTop(r.Top);
            f->GetRegion()->SetWidth(r.Right);
            f->GetRegion()->SetHeight(r.Bottom);
            ASSERT_NO_THROW(f->Apply(b.get())) << c->name;
            const bool wholeBitmap = c->name == "TRotateFilter" || c->name == "TMirrorFilter" ||
                                     c->name == "TTileFilter" || c->name == "TCropFilter" ||
                                     c->name == "TResizeFilter";
            if (wholeBitmap || b->GetWidth() != 8 || b->GetHeight() != 6) continue;
            const TRect on(std::max(r.Left, 0), std::max(r.Top, 0),
                           r.Right ? std::min(r.Left + r.Right - 1, 7) : 7,
                           r.Bottom ? std::min(r.Top + r.Bottom - 1, 5) : 5);
            for (int y = 0; y < 6; ++y)
                for (int x = 0; x < 8; ++x)
                    if (x < on.Left || x > on.Right || y < on.Top || y > on.Bottom) {
                        EXPECT_EQ(At(b.get(), x, y), At(before.get(), x, y))
                            << c->name << " at " << x << "," << y;
                    }
        }
    }
}

TEST_F(FilterFramework, AConvolutionNeverChangesTheBorderOfItsArea) {
    auto b = MakeBitmap(6, 6, [](int x, int y) { return Gray((x * 37 + y * 91) % 256); });
    auto before = MakeBitmap(6, 6, [](int x, int y) { return Gray((x * 37 + y * 91) % 256); });
    auto blur = MakeFilter<TBlurFilter>();
    blur->GetRegion()->SetLeft(1);
    blur->GetRegion()->SetTop(1);
    blur->GetRegion()->SetWidth(4);
    blur->GetRegion()->SetHeight(4);
    blur->Apply(b.get()); // area 1..4: only 2..3 may change
    int changed = 0;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool inner = x >= 2 && x <= 3 && y >= 2 && y <= 3;
            if (!inner) {
                EXPECT_EQ(At(b.get(), x, y), At(before.get(), x, y)) << x << "," << y;
            } else {
                changed += !(At(b.get(), x, y) == At(before.get(), x, y));
            }
        }
    EXPECT_GT(changed, 0);
}

TEST_F(FilterFramework, AListAppliesItsEnabledFiltersInOrderAndKeepsTheDisabledInPlace) {
    TFilterItems items(nullptr);
    auto* bright = static_cast<TBrightnessFilter*>(items.Add(TBrightnessFilter::StaticClass()));
    bright->SetPercent(false);
    bright->SetAmount(100);
    items.Add(TInvertFilter::StaticClass())->SetEnabled(false);
    items.Add(TGrayScaleFilter::StaticClass());
    auto b = MakeBitmap(1, 1, [](int, int) { return Bgr{0, 30, 60}; });
    items.ApplyTo(b.get());
    EXPECT_EQ(At(b.get(), 0, 0), Gray(130)); // brightened first (100, 130, 160), then grey
    EXPECT_EQ(items.GetItem(1)->ClassNameA(), "TInvertFilter");

    // A copy holds filters of the same classes with the same settings.
    TFilterItems copy(nullptr);
    copy.Add(TBlurFilter::StaticClass());
    copy.Assign(&items);
    ASSERT_EQ(copy.GetCount(), 3);
    EXPECT_EQ(copy.GetItem(0)->ClassNameA(), "TBrightnessFilter");
    EXPECT_EQ(static_cast<TBrightnessFilter*>(copy.GetItem(0))->GetAmount(), 100);
    EXPECT_FALSE(copy.GetItem(1)->GetEnabled());
    EXPECT_THROW(items.Add(TFilterRegion::StaticClass()), Exception);
}

TEST_F(FilterFramework, APictureWithoutFiltersGivesItsOwnGraphicAndOneWithFiltersAFilteredCopy) {
    TZuzPicture picture;
    EXPECT_EQ(picture.Filtered(), nullptr);
    auto b = MakeBitmap(2, 1, [](int x, int) { return Gray(x * 100); });
    picture.SetGraphic(b.get());
    EXPECT_EQ(picture.Filtered(), picture.GetGraphic());
    picture.GetFilters(); // an empty list filters nothing either
    EXPECT_EQ(picture.Filtered(), picture.GetGraphic());
    EXPECT_FALSE(picture.FiltersStored());

    picture.GetFilters()->Add(TInvertFilter::StaticClass());
    auto* filtered = dynamic_cast<TBitmap*>(picture.Filtered());
    ASSERT_NE(filtered, nullptr);
    EXPECT_NE(filtered, picture.GetGraphic());
    EXPECT_EQ(At(filtered, 1, 0), Gray(155));
    EXPECT_EQ(At(static_cast<TBitmap*>(picture.GetGraphic()), 1, 0), Gray(100)); // the original stays

    TZuzPicture other;
    other.Assign(&picture);
    ASSERT_TRUE(other.FiltersStored());
    EXPECT_EQ(other.GetFilters()->GetItem(0)->ClassNameA(), "TInvertFilter");
    picture.SetFilters(nullptr);
    EXPECT_FALSE(picture.FiltersStored());
}

TEST_F(FilterFramework, TheRegistryListsTheStandardFiltersInTheEditorsOrder) {
    std::vector<std::string_view> names;
    for (const ClassInfo* c : FilterClasses()) names.push_back(c->name);
    const std::vector<std::string_view> expected = {
        "TInvertFilter",     "TGrayScaleFilter",       "TMosaicFilter", "TFlipFilter",      "TReverseFilter",
        "TBrightnessFilter", "TContrastFilter",        "TColorFilter",  "THueLumSatFilter", "TBlurFilter",
        "TSharpenFilter",    "TGammaCorrectionFilter", "TEmbossFilter", "TSoftenFilter",    "TCropFilter",
        "TResizeFilter",     "TRotateFilter",          "TMirrorFilter", "TTileFilter",      "TBevelFilter",
        "TZoomFilter"};
    EXPECT_EQ(names, expected);
    ZuzRegisterFilters({&TInvertFilter::StaticClass()}); // already there: not listed twice
    EXPECT_EQ(FilterClasses().size(), expected.size());
    EXPECT_EQ(GetClass("TMosaicFilter"), &TMosaicFilter::StaticClass());
    EXPECT_EQ(TZuzFilter::Description(TSoftenFilter::StaticClass()), VavIve_AntiAlias);
    EXPECT_EQ(TZuzFilter::Description(TConvolveFilter::StaticClass()), u"TConvolveFilter");
}

TEST_F(FilterFramework, RotatedGradientsAreTurnedThroughTheRotateFilter) {
    ASSERT_NE(ZuzGradientRotate, nullptr);
    TZuzGradient gradient;
    gradient.SetAngle(90);
    auto b = MakeBitmap(3, 2, [](int x, int y) { return Gray(x + 10 * y); });
    ZuzGradientRotate(&gradient, b.get());
    EXPECT_EQ(b->GetWidth(), 2);
    EXPECT_EQ(b->GetHeight(), 3);
    EXPECT_EQ(At(b.get(), 1, 2), Gray(2));
}

// ---------------------------------------------------------------------------
// The "FilterItems" block

class TPictureHolder : public TComponent {
public:
    static const ClassInfo& StaticClass() {
        static const PropInfo props[] = {
            MakeProp<&TPictureHolder::GetPicture, &TPictureHolder::SetPicture>("Picture"),
        };
        static const ClassInfo ci =
            MakeClassInfo<TPictureHolder>("TPictureHolder", &TComponent::StaticClass(), props);
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TPictureHolder(TComponent* AOwner) : TComponent(AOwner) {}
    TZuzPicture* GetPicture() const { return FPicture.get(); }
    void SetPicture(TZuzPicture* Value) { FPicture->Assign(Value); }

private:
    Owned<TZuzPicture> FPicture = MakeOwned<TZuzPicture>();
};

void FillList(TFilterItems* items) {
    items->Add(TInvertFilter::StaticClass());
    auto* bright = static_cast<TBrightnessFilter*>(items->Add(TBrightnessFilter::StaticClass()));
    bright->SetAmount(-30);
    bright->SetPercent(false);
    bright->GetRegion()->SetLeft(2);
    bright->GetRegion()->SetWidth(7);
    auto* rotate = static_cast<TRotateFilter*>(items->Add(TRotateFilter::StaticClass()));
    rotate->SetAngle(45.5);
    rotate->SetBackColor(clRed);
    rotate->SetEnabled(false);
    static_cast<TGrayScaleFilter*>(items->Add(TGrayScaleFilter::StaticClass()))->SetMethod(gmEye2);
}

void ExpectFilledList(TFilterItems* items) {
    ASSERT_EQ(items->GetCount(), 4);
    EXPECT_EQ(items->GetItem(0)->ClassNameA(), "TInvertFilter");
    auto* bright = dynamic_cast<TBrightnessFilter*>(items->GetItem(1));
    ASSERT_NE(bright, nullptr);
    EXPECT_EQ(bright->GetAmount(), -30);
    EXPECT_FALSE(bright->GetPercent());
    EXPECT_EQ(bright->GetRegion()->GetLeft(), 2);
    EXPECT_EQ(bright->GetRegion()->GetWidth(), 7);
    auto* rotate = dynamic_cast<TRotateFilter*>(items->GetItem(2));
    ASSERT_NE(rotate, nullptr);
    EXPECT_EQ(rotate->GetAngle(), 45.5);
    EXPECT_EQ(rotate->GetBackColor(), clRed);
    EXPECT_FALSE(rotate->GetEnabled());
    EXPECT_TRUE(rotate->GetAutoSize());
    auto* gray = dynamic_cast<TGrayScaleFilter*>(items->GetItem(3));
    ASSERT_NE(gray, nullptr);
    EXPECT_EQ(gray->GetMethod(), gmEye2);
}

std::string Written(TComponent* c) {
    TMemoryStream s;
    s.WriteComponent(c);
    return std::string(static_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.GetSize()));
}

template <class C>
Owned<C> ReadInto(const std::string& bytes) {
    auto c = MakeOwned<C>(nullptr);
    TMemoryStream s;
    s.WriteBuffer(bytes.data(), static_cast<LongInt>(bytes.size()));
    s.SetPosition(0);
    s.ReadComponent(c.get());
    return c;
}

std::string AsText(const std::string& bytes) {
    TMemoryStream in, out;
    in.WriteBuffer(bytes.data(), static_cast<LongInt>(bytes.size()));
    in.SetPosition(0);
    ObjectBinaryToText(&in, &out);
    return std::string(static_cast<const char*>(out.Memory()), static_cast<std::size_t>(out.GetSize()));
}

class FilterStreams : public FilterFramework {
protected:
    void SetUp() override {
        FilterFramework::SetUp();
        RegisterClasses({&TPictureHolder::StaticClass(), &TImageFiltered::StaticClass()});
    }
};

TEST_F(FilterStreams, APicturesFiltersAreWrittenByClassAndReadBack) {
    auto holder = MakeOwned<TPictureHolder>(nullptr);
    holder->SetName(u"Holder");
    FillList(holder->GetPicture()->GetFilters());
    const std::string bytes = Written(holder.get());

    // The block: the collection marker, then each filter as a list opened by its class name.
    const std::string head =
        std::string("\x13Picture.FilterItems\x0E\x01\x09ItemClass\x06\x0DTInvertFilter\x00", 48);
    EXPECT_NE(bytes.find(head), std::string::npos) << AsText(bytes);
    const std::string text = AsText(bytes);
    EXPECT_NE(text.find("ItemClass = 'TBrightnessFilter'"), std::string::npos) << text;
    EXPECT_NE(text.find("Region.Left = 2"), std::string::npos) << text;
    EXPECT_EQ(text.find("Filters"), std::string::npos) << "the list is no property of its own\n" << text;
    EXPECT_FALSE(holder->GetPicture()->GetFilters()->GetItem(0)->HasRegion()) << "writing made a region";

    auto read = ReadInto<TPictureHolder>(bytes);
    ExpectFilledList(read->GetPicture()->GetFilters());

    // A picture without filters writes no block.
    auto bare = MakeOwned<TPictureHolder>(nullptr);
    bare->GetPicture()->GetFilters();
    EXPECT_EQ(Written(bare.get()).find("FilterItems"), std::string::npos);
}

TEST_F(FilterStreams, AnImageControlStreamsItsFiltersUnderTheSameName) {
    auto image = MakeOwned<TImageFiltered>(nullptr);
    image->SetName(u"Image1");
    FillList(image->GetFilters());
    const std::string bytes = Written(image.get());
    EXPECT_NE(bytes.find("\x0B"
                         "FilterItems\x0E"),
              std::string::npos);
    auto read = ReadInto<TImageFiltered>(bytes);
    ExpectFilledList(read->GetFilters());

    // Read over filters already there, the stream's list replaces them.
    auto again = MakeOwned<TImageFiltered>(nullptr);
    again->GetFilters()->Add(TBlurFilter::StaticClass());
    TMemoryStream s;
    s.WriteBuffer(bytes.data(), static_cast<LongInt>(bytes.size()));
    s.SetPosition(0);
    s.ReadComponent(again.get());
    ExpectFilledList(again->GetFilters());
}

// What a damaged block raises; names of classes that are no filters are refused as well.
TEST_F(FilterStreams, DamagedBlocksRaiseAndNeverCrash) {
    auto holder = MakeOwned<TPictureHolder>(nullptr);
    holder->SetName(u"Holder");
    FillList(holder->GetPicture()->GetFilters());
    const std::string bytes = Written(holder.get());
    const auto readAll = [](const std::string& data) -> bool {
        try {
            auto c = ReadInto<TPictureHolder>(data);
            // Whatever was read must filter a bitmap safely.
            auto b = Ramp(6, 4);
            c->GetPicture()->GetFilters()->ApplyTo(b.get());
            return true;
        } catch (const Exception&) {
            return false;
        }
    };
    const auto replaced = [&](std::string_view from, std::string_view to) {
        std::string s = bytes;
        const auto at = s.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        s.replace(at, from.size(), to);
        return s;
    };
    // Same-length swaps keep the stream's framing, so each meets the rule it is about.
    EXPECT_THROW(ReadInto<TPictureHolder>(replaced("TInvertFilter", "TUnheardOfXYZ")), EClassNotFound);
    EXPECT_THROW(ReadInto<TPictureHolder>(replaced("\x0DTInvertFilter", "\x0ETPictureHolder")), EReadError);
    EXPECT_THROW(ReadInto<TPictureHolder>(replaced("ItemClass", "ItemKlass")), EReadError);
    EXPECT_THROW(ReadInto<TPictureHolder>(replaced("FilterItems\x0E", "FilterItems\x01")), EReadError);

    // Every prefix raises; thousands of copies with a few bytes changed read or raise.
    for (std::size_t n = 0; n < bytes.size(); ++n) EXPECT_FALSE(readAll(bytes.substr(0, n))) << n;
    EXPECT_TRUE(readAll(bytes));
    std::mt19937 rng(20261207);
    const std::size_t block = bytes.find("FilterItems");
    int survived = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string damaged = bytes;
        const int flips = 1 + static_cast<int>(rng() % 4);
        // Mostly inside the block, where the filters' own reading is.
        for (int i = 0; i < flips; ++i)
            damaged[block + rng() % (damaged.size() - block)] = static_cast<char>(rng());
        survived += readAll(damaged);
    }
    RecordProperty("SurvivedDamage", survived);
}

} // namespace
