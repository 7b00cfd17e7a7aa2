#include "chart/series/zuzfunci.h"

#include "chart/canvas/zuzconst.h"
#include "chart/engine/seriestypes.h"

#include <algorithm>
#include <optional>

namespace {

// First..Last cut to the entries List holds (and Source has points for);
// false when nothing is left. A negative First means the whole list.
bool EntryRange(const TChartSeries* Source, const TChartValueList* List, int& First, int& Last) {
    const int count = std::min(List->Count(), Source->Count());
    if (First < 0) {
        First = 0;
        Last = count - 1;
    }
    Last = std::min(Last, count - 1);
    return First <= Last;
}

// Calls Take(series, value) for the entry at ValueIndex of each source series
// whose list reaches that far, in list order.
template <class F>
void ForEachValueAt(const TZuzFunction& Function, const TDataSourcesList& Sources, int ValueIndex, F&& Take) {
    if (ValueIndex < 0) return;
    for (TComponent* c : Sources) {
        auto* s = dynamic_cast<TChartSeries*>(c);
        if (!s) continue;
        const TChartValueList* list = Function.ValueList(s);
        if (ValueIndex < list->Count() && ValueIndex < s->Count()) Take(s, list->GetValue(ValueIndex));
    }
}

// The extreme of a source's entries First..Last: a later entry replaces the
// current one only when Better says so. 0 when no entry is taken.
template <class Better>
double ExtremeOf(const TZuzFunction& Function, TChartSeries* Source, int First, int Last, Better better) {
    const TChartValueList* list = Function.ValueList(Source);
    if (!EntryRange(Source, list, First, Last)) return 0;
    double result = list->GetValue(First);
    for (int i = First + 1; i <= Last; ++i)
        if (const double v = list->GetValue(i); better(v, result)) result = v;
    return result;
}

// The extreme across sources, seeded from the first value actually taken:
// a source without the point must not put a 0 into the running result.
template <class Better>
double ExtremeAcross(const TZuzFunction& Function, const TDataSourcesList& Sources, int ValueIndex,
                     Better better) {
    std::optional<double> result;
    ForEachValueAt(Function, Sources, ValueIndex, [&](TChartSeries*, double v) {
        if (!result || better(v, *result)) result = v;
    });
    return result.value_or(0);
}

// The class record of a function type that publishes nothing of its own.
template <class C, class Base>
const ClassInfo& PlainClassInfo(const char* Name) {
    static const ClassInfo info = MakeClassInfo<C>(Name, &Base::StaticClass());
    return info;
}

} // namespace

// ---------------------------------------------------------------------------
// Class records

const ClassInfo& TAddZuzFunction::StaticClass() {
    return PlainClassInfo<TAddZuzFunction, TZuzFunction>("TAddZuzFunction");
}
const ClassInfo& TManySeriesZuzFunction::StaticClass() {
    return PlainClassInfo<TManySeriesZuzFunction, TZuzFunction>("TManySeriesZuzFunction");
}
const ClassInfo& TSubtractZuzFunction::StaticClass() {
    return PlainClassInfo<TSubtractZuzFunction, TManySeriesZuzFunction>("TSubtractZuzFunction");
}
const ClassInfo& TMultiplyZuzFunction::StaticClass() {
    return PlainClassInfo<TMultiplyZuzFunction, TManySeriesZuzFunction>("TMultiplyZuzFunction");
}
const ClassInfo& TDivideZuzFunction::StaticClass() {
    return PlainClassInfo<TDivideZuzFunction, TManySeriesZuzFunction>("TDivideZuzFunction");
}
const ClassInfo& THighZuzFunction::StaticClass() {
    return PlainClassInfo<THighZuzFunction, TZuzFunction>("THighZuzFunction");
}
const ClassInfo& TLowZuzFunction::StaticClass() {
    return PlainClassInfo<TLowZuzFunction, TZuzFunction>("TLowZuzFunction");
}
const ClassInfo& TCustomSortedFunction::StaticClass() {
    return PlainClassInfo<TCustomSortedFunction, TZuzFunction>("TCustomSortedFunction");
}

const ClassInfo& TAverageZuzFunction::StaticClass() {
    using C = TAverageZuzFunction;
    static const PropInfo props[] = {
        MakeProp<&C::GetIncludeNulls, &C::SetIncludeNulls>("IncludeNulls").Default(1),
    };
    static const ClassInfo info =
        MakeClassInfo<C>("TAverageZuzFunction", &TZuzFunction::StaticClass(), props);
    return info;
}

const ClassInfo& TCustomZuzFunction::StaticClass() {
    using C = TCustomZuzFunction;
    static const PropInfo props[] = {
        MakeProp<&C::OnCalculate>("OnCalculate"),
        MakeProp<&C::GetNumPoints, &C::SetNumPoints>("NumPoints").Default(100),
        MakeProp<&C::GetStartX, &C::SetStartX>("StartX"),
    };
    static const ClassInfo info = MakeClassInfo<C>("TCustomZuzFunction", &TZuzFunction::StaticClass(), props);
    return info;
}

const ClassInfo& TMedianZuzFunction::StaticClass() {
    using C = TMedianZuzFunction;
    static const PropInfo props[] = {
        MakeProp<&C::GetIncludeNulls, &C::SetIncludeNulls>("IncludeNulls").Default(1),
    };
    static const ClassInfo info =
        MakeClassInfo<C>("TMedianZuzFunction", &TCustomSortedFunction::StaticClass(), props);
    return info;
}

const ClassInfo& TModeZuzFunction::StaticClass() {
    using C = TModeZuzFunction;
    static const PropInfo props[] = {
        MakeProp<&C::GetIncludeNulls, &C::SetIncludeNulls>("IncludeNulls").Default(1),
    };
    static const ClassInfo info =
        MakeClassInfo<C>("TModeZuzFunction", &TCustomSortedFunction::StaticClass(), props);
    return info;
}

// ---------------------------------------------------------------------------
// Add

double TAddZuzFunction::Calculate(TChartSeries* Source, int FirstIndex, int LastIndex) {
    const TChartValueList* list = ValueList(Source);
    if (FirstIndex < 0) return list->GetTotal();
    double sum = 0;
    if (EntryRange(Source, list, FirstIndex, LastIndex))
        for (int i = FirstIndex; i <= LastIndex; ++i) sum += list->GetValue(i);
    return sum;
}

double TAddZuzFunction::CalculateMany(const TDataSourcesList& SourceSeriesList, int ValueIndex) {
    double sum = 0;
    ForEachValueAt(*this, SourceSeriesList, ValueIndex, [&](TChartSeries*, double v) { sum += v; });
    return sum;
}

// ---------------------------------------------------------------------------
// Subtract, multiply, divide

double TManySeriesZuzFunction::CalculateMany(const TDataSourcesList& SourceSeriesList, int ValueIndex) {
    std::optional<double> result;
    ForEachValueAt(*this, SourceSeriesList, ValueIndex,
                   [&](TChartSeries*, double v) { result = result ? CalculateValue(*result, v) : v; });
    return result.value_or(0);
}

// ---------------------------------------------------------------------------
// High, low

double THighZuzFunction::Calculate(TChartSeries* Source, int FirstIndex, int LastIndex) {
    if (FirstIndex < 0) return ValueList(Source)->GetMaxValue();
    return ExtremeOf(*this, Source, FirstIndex, LastIndex, [](double v, double r) { return v > r; });
}

double THighZuzFunction::CalculateMany(const TDataSourcesList& SourceSeriesList, int ValueIndex) {
    return ExtremeAcross(*this, SourceSeriesList, ValueIndex, [](double v, double r) { return v > r; });
}

double TLowZuzFunction::Calculate(TChartSeries* Source, int FirstIndex, int LastIndex) {
    if (FirstIndex < 0) return ValueList(Source)->GetMinValue();
    return ExtremeOf(*this, Source, FirstIndex, LastIndex, [](double v, double r) { return v < r; });
}

double TLowZuzFunction::CalculateMany(const TDataSourcesList& SourceSeriesList, int ValueIndex) {
    return ExtremeAcross(*this, SourceSeriesList, ValueIndex, [](double v, double r) { return v < r; });
}

// ---------------------------------------------------------------------------
// Average

void TAverageZuzFunction::Assign(TPersistent* Source) {
    if (auto* f = dynamic_cast<TAverageZuzFunction*>(Source)) FIncludeNulls = f->FIncludeNulls;
    TZuzFunction::Assign(Source);
}

void TAverageZuzFunction::SetIncludeNulls(bool Value) {
    if (FIncludeNulls == Value) return;
    FIncludeNulls = Value;
    ReCalculate();
}

double TAverageZuzFunction::Calculate(TChartSeries* Source, int FirstIndex, int LastIndex) {
    const TChartValueList* list = ValueList(Source);
    if (FirstIndex < 0 && FIncludeNulls) {
        const int count = Source->Count();
        return count > 0 ? list->GetTotal() / count : 0;
    }
    double sum = 0;
    int taken = 0;
    if (EntryRange(Source, list, FirstIndex, LastIndex))
        for (int i = FirstIndex; i <= LastIndex; ++i)
            if (FIncludeNulls || !Source->IsNull(i)) {
                sum += list->GetValue(i);
                ++taken;
            }
    return taken > 0 ? sum / taken : 0;
}

double TAverageZuzFunction::CalculateMany(const TDataSourcesList& SourceSeriesList, int ValueIndex) {
    double sum = 0;
    int taken = 0;
    ForEachValueAt(*this, SourceSeriesList, ValueIndex, [&](TChartSeries* s, double v) {
        if (!FIncludeNulls && s->IsNull(ValueIndex)) return;
        sum += v;
        ++taken;
    });
    return taken > 0 ? sum / taken : 0;
}

// ---------------------------------------------------------------------------
// y = f(x)

TCustomZuzFunction::TCustomZuzFunction(TComponent* AOwner) : TZuzFunction(AOwner) {
    InitPeriod(1.0);
    NoSourceRequired = true;
}

void TCustomZuzFunction::Assign(TPersistent* Source) {
    if (auto* f = dynamic_cast<TCustomZuzFunction*>(Source)) {
        FNumPoints = f->FNumPoints;
        FStartX = f->FStartX;
    }
    TZuzFunction::Assign(Source);
}

void TCustomZuzFunction::SetNumPoints(int Value) {
    FNumPoints = Value;
}

void TCustomZuzFunction::SetStartX(double Value) {
    FStartX = Value;
}

void TCustomZuzFunction::AddPoints(TChartSeries* Source) {
    TChartSeries* output = GetParentSeries();
    if (!OnCalculate || !output) return;
    output->Clear();
    double x = FStartX;
    for (int i = 0; i < FNumPoints; ++i) {
        FX = x;
        double y = 0;
        OnCalculate(this, x, y);
        if (output->YMandatory())
            output->AddXY(x, y, {}, clZuzColor);
        else
            output->AddXY(y, x, {}, clZuzColor);
        x += GetPeriod();
    }
}

// ---------------------------------------------------------------------------
// Median, mode

void TCustomSortedFunction::Assign(TPersistent* Source) {
    if (auto* f = dynamic_cast<TCustomSortedFunction*>(Source)) FIncludeNulls = f->FIncludeNulls;
    TZuzFunction::Assign(Source);
}

void TCustomSortedFunction::SetIncludeNulls(bool Value) {
    if (FIncludeNulls == Value) return;
    FIncludeNulls = Value;
    ReCalculate();
}

void TCustomSortedFunction::AddSortedValue(double Value) {
    // Before the first greater value: equal values keep their order of arrival.
    FValues.insert(std::upper_bound(FValues.begin(), FValues.end(), Value), Value);
}

double TCustomSortedFunction::TakeResult() {
    const double result = FValues.empty() ? 0 : CalcResult();
    FValues.clear();
    FValues.shrink_to_fit();
    return result;
}

double TCustomSortedFunction::Calculate(TChartSeries* Source, int FirstIndex, int LastIndex) {
    const TChartValueList* list = ValueList(Source);
    if (FirstIndex < 0) FirstIndex = 0;
    if (LastIndex < 0) LastIndex = Source->Count() - 1;
    if (EntryRange(Source, list, FirstIndex, LastIndex))
        for (int i = FirstIndex; i <= LastIndex; ++i)
            if (FIncludeNulls || !Source->IsNull(i)) AddSortedValue(list->GetValue(i));
    return TakeResult();
}

double TCustomSortedFunction::CalculateMany(const TDataSourcesList& SourceSeriesList, int ValueIndex) {
    ForEachValueAt(*this, SourceSeriesList, ValueIndex, [&](TChartSeries* s, double v) {
        if (FIncludeNulls || !s->IsNull(ValueIndex)) AddSortedValue(v);
    });
    return TakeResult();
}

double TMedianZuzFunction::CalcResult() const {
    const std::vector<double>& v = SortedValues();
    const std::size_t n = v.size();
    if (n == 0) return 0;
    if (n % 2 == 1) return v[n / 2];
    return (v[n / 2 - 1] + v[n / 2]) / 2;
}

double TModeZuzFunction::CalcResult() const {
    const std::vector<double>& v = SortedValues();
    if (v.empty()) return 0;
    double best = v[0];
    std::size_t bestRun = 0;
    for (std::size_t i = 0; i < v.size();) {
        std::size_t j = i + 1;
        while (j < v.size() && v[j] == v[i]) ++j;
        if (j - i > bestRun) { // only a strictly longer run wins: the smallest of equal runs stays
            best = v[i];
            bestRun = j - i;
        }
        i = j;
    }
    return best;
}

// ---------------------------------------------------------------------------
// Start-up

void ZuzFunciInitialization() {
    RegisterZuzBasicFunction(&TAddZuzFunction::StaticClass(), &VavIve_FunctionAdd);
    RegisterZuzBasicFunction(&TSubtractZuzFunction::StaticClass(), &VavIve_FunctionSubtract);
    RegisterZuzBasicFunction(&TMultiplyZuzFunction::StaticClass(), &VavIve_FunctionMultiply);
    RegisterZuzBasicFunction(&TDivideZuzFunction::StaticClass(), &VavIve_FunctionDivide);
    RegisterZuzBasicFunction(&THighZuzFunction::StaticClass(), &VavIve_FunctionHigh);
    RegisterZuzBasicFunction(&TLowZuzFunction::StaticClass(), &VavIve_FunctionLow);
    RegisterZuzBasicFunction(&TAverageZuzFunction::StaticClass(), &VavIve_FunctionAverage);
    RegisterZuzBasicFunction(&TCustomZuzFunction::StaticClass(), &VavIve_FunctionCustom);
    RegisterZuzBasicFunction(&TMedianZuzFunction::StaticClass(), &VavIve_FunctionMedian);
    RegisterZuzBasicFunction(&TModeZuzFunction::StaticClass(), &VavIve_FunctionMode);
}

void ZuzFunciFinalization() {
    UnRegisterZuzFunctions({&TAddZuzFunction::StaticClass(), &TSubtractZuzFunction::StaticClass(),
                            &TMultiplyZuzFunction::StaticClass(), &TDivideZuzFunction::StaticClass(),
                            &THighZuzFunction::StaticClass(), &TLowZuzFunction::StaticClass(),
                            &TAverageZuzFunction::StaticClass(), &TCustomZuzFunction::StaticClass(),
                            &TMedianZuzFunction::StaticClass(), &TModeZuzFunction::StaticClass()});
}
