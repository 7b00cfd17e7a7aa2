#include "chart/engine/seriesmarks.h"

#include <algorithm>

TSeriesMarkPosition* TSeriesMarksPositions::Get(int Index) const {
    if (Index < 0 || Index >= Count()) return nullptr;
    return FItems[static_cast<std::size_t>(Index)].get();
}

void TSeriesMarksPositions::Put(int Index, std::unique_ptr<TSeriesMarkPosition> Position) {
    if (Index < 0) return;
    if (Index >= Count()) FItems.resize(static_cast<std::size_t>(Index) + 1);
    FItems[static_cast<std::size_t>(Index)] = std::move(Position);
}

void TSeriesMarksPositions::Delete(int Index) {
    if (Index >= 0 && Index < Count()) FItems.erase(FItems.begin() + Index);
}

void TSeriesMarksPositions::Delete(int Start, int Quantity) {
    if (Start < 0 || Start >= Count() || Quantity <= 0) return;
    const int n = std::min(Quantity, Count() - Start);
    FItems.erase(FItems.begin() + Start, FItems.begin() + Start + n);
}

void TSeriesMarksPositions::Exchange(int Index1, int Index2) {
    if (Index1 < Count() && Index2 < Count() && Index1 >= 0 && Index2 >= 0)
        std::swap(FItems[static_cast<std::size_t>(Index1)], FItems[static_cast<std::size_t>(Index2)]);
}

bool TSeriesMarksPositions::ExistCustom() const {
    return std::any_of(FItems.begin(), FItems.end(), [](const auto& p) { return p && p->Custom; });
}

const ClassInfo& TSeriesMarks::StaticClass() {
    static const ClassInfo info = MakeClassInfo<TSeriesMarks>("TSeriesMarks", &TPersistent::StaticClass());
    return info;
}

void TSeriesMarks::Assign(TPersistent* Source) {
    // The marks' settings come with the marks themselves; positions stay per series.
    if (dynamic_cast<TSeriesMarks*>(Source)) return;
    TPersistent::Assign(Source);
}

TSeriesMarkPosition* TSeriesMarks::UsePosition(int Index) {
    if (TSeriesMarkPosition* p = FPositions.Get(Index)) return p;
    FPositions.Put(Index, std::make_unique<TSeriesMarkPosition>());
    return FPositions.Get(Index);
}
