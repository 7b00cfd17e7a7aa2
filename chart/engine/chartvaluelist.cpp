#include "chart/engine/chartvaluelist.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuztext.h"
#include "chart/engine/chartseries.h"
#include "platform/core/filer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <typeinfo>

int ZuzDefaultCapacity = 1000;

template <>
const EnumInfo& EnumInfoOf<TChartListOrder>() {
    static const EnumInfo info{"TChartListOrder", {"loNone", "loAscending", "loDescending"}};
    return info;
}

namespace {

const String kValueIndexError = u"Value index %d out of bounds (0 to %d).";

} // namespace

const ClassInfo& TChartValueList::StaticClass() {
    using C = TChartValueList;
    static const PropInfo props[] = {
        MakeProp<&C::GetDateTime, &C::SetDateTime>("DateTime").Stored<&C::IsDateStored>(),
        // Written even empty: an emptied name would otherwise load as the one the list starts with.
        MakeProp<&C::GetName, &C::SetName>("Name").NoDefault(),
        MakeProp<&C::GetOrder, &C::ChangeOrder>("Order").NoDefault(),
        MakeProp<&C::GetValueSource, &C::SetValueSource>("ValueSource"),
    };
    static const ClassInfo info = MakeClassInfo<C>("TChartValueList", &TPersistent::StaticClass(), props);
    return info;
}

TChartValueList::TChartValueList(TChartSeries* Owner, const String& Name) : FName(Name), FOwner(Owner) {
    if (Owner) Owner->ValuesList().Add(this);
    ClearValues();
}

TChartValueList::~TChartValueList() = default;

void TChartValueList::ChangeOrder(TChartListOrder Value) {
    if (FOrder == Value) return;
    FOrder = Value;
    if (FOwner) FOwner->Repaint();
}

void TChartValueList::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TChartValueList*>(Source)) {
        FOrder = src->FOrder;
        FDateTime = src->FDateTime;
        FValueSource = src->FValueSource;
    }
}

void TChartValueList::DefineProperties(TFiler* Filer) {
    TPersistent::DefineProperties(Filer);
    Filer->DefineProperty(
        "Multiplier", [this](TReader* Reader) { ReadMultiplier(Reader); }, nullptr, false);
}

void TChartValueList::ReadMultiplier(TReader* Reader) {
    // Values are no longer scaled on reading; a file that asked for it is told so.
    if (Reader->ReadFloat() != 1.0)
        ShowMessageUser(u"Error: Multiplier property is obsolete.\rPlease enable Multiplier in the library's "
                        u"build definitions and recompile.");
}

std::uint8_t TChartValueList::Classify() const {
    FClassKind = typeid(*this) == typeid(TChartValueList) ? kClassBase : kClassOwn;
    return FClassKind;
}

int TChartValueList::GrownCapacity(int Capacity) {
    const std::size_t len = static_cast<std::size_t>(Capacity);
    const std::size_t step =
        std::max<std::size_t>(static_cast<std::size_t>(std::max(1, ZuzDefaultCapacity)), len / 2);
    return static_cast<int>(len + step);
}

void TChartValueList::Grow() {
    const int capacity = GrownCapacity(FCapacity);
    auto grown = std::make_unique_for_overwrite<double[]>(static_cast<std::size_t>(capacity));
    if (FCount > 0) std::memcpy(grown.get(), FValue.get(), sizeof(double) * static_cast<std::size_t>(FCount));
    FValue = std::move(grown);
    FCapacity = capacity;
}

void TChartValueList::AppendValues(std::span<const double> Values) {
    if (Values.empty()) return;
    const auto n = static_cast<int>(Values.size());
    int capacity = FCapacity;
    while (capacity - FCount < n) capacity = GrownCapacity(capacity);
    if (capacity != FCapacity) {
        auto grown = std::make_unique_for_overwrite<double[]>(static_cast<std::size_t>(capacity));
        if (FCount > 0)
            std::memcpy(grown.get(), FValue.get(), sizeof(double) * static_cast<std::size_t>(FCount));
        FValue = std::move(grown);
        FCapacity = capacity;
    }
    std::memcpy(FValue.get() + FCount, Values.data(), sizeof(double) * Values.size());
    FCount += n;
    FStatsStale = true;
}

int TChartValueList::PlaceBefore(double Value) {
    const double* p = FValue.get();
    int t = FCount - 1;
    if (FOrder == loAscending)
        while (t >= 0 && p[t] > Value) --t;
    else
        while (t >= 0 && p[t] < Value) --t;
    InsertChartValue(t + 1, Value);
    return t + 1;
}

void TChartValueList::InsertInside(int Index, double Value) {
    if (Index < 0 || Index > FCount) throw ChartException(kValueIndexError, {Index, FCount});
    if (FCount == FCapacity) Grow();
    double* p = FValue.get();
    std::memmove(p + Index + 1, p + Index, sizeof(double) * static_cast<std::size_t>(FCount - Index));
    p[Index] = Value;
    ++FCount;
    FStatsStale = true;
}

void TChartValueList::Delete(int Index) {
    if (Index < 0 || Index >= FCount) throw ChartException(kValueIndexError, {Index, FCount - 1});
    --FCount;
    double* p = FValue.get();
    std::memmove(p + Index, p + Index + 1, sizeof(double) * static_cast<std::size_t>(FCount - Index));
    FStatsStale = true;
}

void TChartValueList::Delete(int Start, int Quantity) {
    if (Start < 0 || Start >= FCount || Quantity <= 0) return;
    Quantity = std::min(Quantity, FCount - Start);
    FCount -= Quantity;
    double* p = FValue.get();
    std::memmove(p + Start, p + Start + Quantity, sizeof(double) * static_cast<std::size_t>(FCount - Start));
    FStatsStale = true;
}

void TChartValueList::ClearValues() {
    FCount = 0;
    FValue.reset();
    FCapacity = 0;
    FStatsStale = true;
}

double TChartValueList::GetValue(int Index) const {
    if (Index < 0 || Index >= FCount) throw ChartException(kValueIndexError, {Index, FCount - 1});
    return FValue[static_cast<std::size_t>(Index)];
}

void TChartValueList::SetValueQuiet(int Index, double Value) {
    if (Index < 0 || Index >= FCount) throw ChartException(kValueIndexError, {Index, FCount - 1});
    FValue[static_cast<std::size_t>(Index)] = Value;
    FStatsStale = true;
}

void TChartValueList::SetValue(int Index, double Value) {
    SetValueQuiet(Index, Value);
    if (FOwner) FOwner->NotifyValue(veModify, Index);
}

int TChartValueList::Locate(double Value, int First, int Last) const {
    First = std::max(First, 0);
    Last = std::min(Last, FCount - 1);
    for (int t = First; t <= Last; ++t)
        if (FValue[static_cast<std::size_t>(t)] == Value) return t;
    return -1;
}

double TChartValueList::GetMaxValue() const {
    if (FStatsStale) RecalcStats();
    return FMaxValue;
}
double TChartValueList::GetMinValue() const {
    if (FStatsStale) RecalcStats();
    return FMinValue;
}
double TChartValueList::GetTotal() const {
    if (FStatsStale) RecalcStats();
    return FTotal;
}
double TChartValueList::GetTotalABS() const {
    if (FStatsStale) RecalcStats();
    return FTotalABS;
}

void TChartValueList::SetTotalABS(double Value) {
    if (FStatsStale) RecalcStats();
    FTotalABS = Value;
}

void TChartValueList::RecalcStats() const {
    RecalcStats(0);
}

void TChartValueList::RecalcStats(int StartIndex) const {
    if (StartIndex <= 0) {
        if (FCount == 0) {
            FMaxValue = FMinValue = FTotal = FTotalABS = 0;
            FStatsStale = false;
            return;
        }
        const double v = FValue[0];
        FMaxValue = FMinValue = FTotal = v;
        FTotalABS = std::fabs(v);
        StartIndex = 1;
    }
    for (int t = StartIndex; t < FCount; ++t) {
        const double v = FValue[static_cast<std::size_t>(t)];
        if (v < FMinValue)
            FMinValue = v;
        else if (v > FMaxValue)
            FMaxValue = v;
        FTotal += v;
        FTotalABS += std::fabs(v);
    }
    FStatsStale = false;
}

void TChartValueList::Exchange(int Index1, int Index2) {
    GetValue(Index1);
    GetValue(Index2);
    std::swap(FValue[static_cast<std::size_t>(Index1)], FValue[static_cast<std::size_t>(Index2)]);
    FStatsStale = true;
    if (FOwner) FOwner->NotifyValue(veModify, Index1);
}

void TChartValueList::FillSequence() {
    for (int t = 0; t < FCount; ++t) FValue[static_cast<std::size_t>(t)] = t;
    FStatsStale = true;
    if (FOwner) FOwner->NotifyValue(veModify, 0);
}

int TChartValueList::CompareValueIndex(int Index1, int Index2) const {
    const double a = GetValue(Index1), b = GetValue(Index2);
    const int r = a < b ? -1 : (a > b ? 1 : 0);
    return FOrder == loDescending ? -r : r;
}

void TChartValueList::Sort() {
    if (FOrder == loNone) return;
    ZuzSort(
        0, FCount - 1, [this](int a, int b) { return CompareValueIndex(a, b); },
        [this](int a, int b) {
            if (FOwner)
                FOwner->SwapValueIndex(a, b);
            else
                std::swap(FValue[static_cast<std::size_t>(a)], FValue[static_cast<std::size_t>(b)]);
        });
    // The points now stand in another order: a shown chart draws them so.
    if (FOwner) FOwner->Repaint();
}

void TChartValueList::Scroll() {
    if (FCount > 1) std::rotate(FValue.get(), FValue.get() + 1, FValue.get() + FCount);
}

String TChartValueList::ValueToString(int Index) const {
    return FloatToStr(GetValue(Index));
}

void TChartValueList::SetDateTime(bool Value) {
    if (FOwner)
        FOwner->SetBooleanProperty(FDateTime, Value);
    else
        FDateTime = Value;
}

void TChartValueList::InitDateTime(bool Value) {
    FDateTime = Value;
    FDefaultDateTime = Value;
}

void TChartValueList::SetValueSource(const String& Value) {
    if (FValueSource == Value) return;
    FValueSource = Value;
    if (FOwner) FOwner->CheckDataSource();
}

// ---------------------------------------------------------------------------

TChartValueList* TChartValueLists::Get(int Index) const {
    if (Index < 0 || Index >= Count()) TList::Error(u"List index out of bounds (%d)", Index);
    return FItems[static_cast<std::size_t>(Index)];
}

int TChartValueLists::IndexOf(const TChartValueList* List) const {
    const auto it = std::find(FItems.begin(), FItems.end(), List);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TChartValueLists::Add(TChartValueList* List) {
    FItems.push_back(List);
    Changed();
}

void TChartValueLists::Put(int Index, TChartValueList* List) {
    Get(Index);
    FItems[static_cast<std::size_t>(Index)] = List;
    Changed();
}

void TChartValueLists::Extract(TChartValueList* List) {
    const int i = IndexOf(List);
    if (i >= 0) FItems.erase(FItems.begin() + i);
    Changed();
}

void TChartValueLists::Clear() {
    FreeLists();
    Changed();
}

void TChartValueLists::Changed() {
    if (FOwner) FOwner->ShapeChanged();
}

// The series is not told: it is being destroyed, or is told by Clear.
void TChartValueLists::FreeLists() {
    std::vector<TChartValueList*> items;
    items.swap(FItems);
    for (TChartValueList* l : items) l->Free();
}
