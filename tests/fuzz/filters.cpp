// A filter list as an image control's stream carries it, applied to small
// bitmaps: whatever the stream asks for, the work stays bounded and the
// bitmaps stay whole.
#include "chart/canvas/zuzfilters.h"
#include "tests/fuzz/fuzzing.h"

namespace {

Owned<TBitmap> Ramp(int Width, int Height) {
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(Width, Height);
    for (int y = 0; y < Height; ++y) {
        Byte* row = bitmap->ScanLine(y);
        for (int x = 0; x < 3 * Width; ++x) row[x] = static_cast<Byte>(x * 37 + y * 11);
    }
    return bitmap;
}

std::string Written(TImageFiltered* Image) {
    TMemoryStream s;
    s.WriteComponent(Image);
    return fuzz::Bytes(s);
}

} // namespace

fuzz::Seeds FuzzSeeds() {
    fuzz::Seeds seeds;
    // Each filter alone, then all of them in one list.
    auto all = MakeOwned<TImageFiltered>(nullptr);
    for (const ClassInfo* filter : FilterClasses()) {
        auto one = MakeOwned<TImageFiltered>(nullptr);
        one->GetFilters()->Add(*filter);
        seeds.push_back({std::string(filter->name) + ".filters", Written(one.get())});
        all->GetFilters()->Add(*filter)->GetRegion()->SetLeft(1);
    }
    seeds.push_back({"all.filters", Written(all.get())});
    return seeds;
}

void FuzzOne(std::string_view Input) {
    auto image = MakeOwned<TImageFiltered>(nullptr);
    TMemoryStream s;
    fuzz::Fill(s, Input);
    try {
        s.ReadComponent(image.get());
    } catch (const Exception&) {
    }
    for (const auto& [width, height] : {std::pair{7, 5}, std::pair{1, 1}}) {
        auto bitmap = Ramp(width, height);
        image->GetFilters()->ApplyTo(bitmap.get());
        fuzz::Check(bitmap->GetWidth() >= 0 && bitmap->GetHeight() >= 0, "a filter left a bitmap of no size");
    }
}
