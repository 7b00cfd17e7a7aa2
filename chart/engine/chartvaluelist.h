#pragma once
// One named column of a series's values (X, Y, or a further dimension a series
// type adds), kept in insertion order or sorted as values arrive, with lazily
// computed statistics. Storage and arithmetic only: no canvas, no control.

#include "platform/core/components.h"

#include <memory>
#include <span>
#include <typeinfo>
#include <vector>

class TChartSeries; // only pointed to here
class TFiler;
class TReader;

enum TChartListOrder : std::uint8_t { loNone, loAscending, loDescending };
template <>
const EnumInfo& EnumInfoOf<TChartListOrder>();

using TChartValue = double;

// How much a full list grows by at least (a list grows by half its length
// once that is more, so long lists fill in amortised constant time).
extern int ZuzDefaultCapacity; // 1000

class TChartValueList : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    // Joins Owner's value lists when there is an owner.
    TChartValueList(TChartSeries* Owner, const String& Name);
    ~TChartValueList() override;

    void Assign(TPersistent* Source) override; // Order, DateTime, ValueSource only
    void DefineProperties(TFiler* Filer) override;

    // The index the ordered list gave TempValue (or Value).
    virtual int AddChartValue() { return PlaceTempValue(); }
    virtual int AddChartValue(double Value) {
        TempValue = Value;
        return PlaceTempValue();
    }
    virtual void ClearValues();
    // Index may be 0 .. Count; Order is not consulted.
    virtual void InsertChartValue(int Index, double Value) {
        if (Index == FCount)
            Append(Value);
        else
            InsertInside(Index, Value);
    }
    // The series adds every point through these: a list of this very class
    // is served without a virtual call, one of a series type's own class
    // through its overrides.
    int AddNextValue() { return IsBaseList() ? TChartValueList::AddChartValue() : AddChartValue(); }
    void InsertValue(int Index, double Value) {
        if (IsBaseList())
            TChartValueList::InsertChartValue(Index, Value);
        else
            InsertChartValue(Index, Value);
    }
    // Asked once per list: a list's class no longer changes once it takes values.
    bool IsBaseList() const { return (FClassKind == kClassUnknown ? Classify() : FClassKind) == kClassBase; }
    // Whether AddChartValue of a list of this very class would place Value last.
    bool PlacesLast(double Value) const {
        if (FCount == 0 || FOrder == loNone) return true;
        const double last = FValue[static_cast<std::size_t>(FCount - 1)];
        return FOrder == loAscending ? Value >= last : Value <= last;
    }
    bool HasRoom() const { return FCount < FCapacity; }
    // Stores Value after the last one where the caller has seen room and that
    // it keeps Order; its index.
    int StoreLast(double Value) {
        FValue[static_cast<std::size_t>(FCount)] = Value;
        FStatsStale = true;
        return FCount++;
    }
    // Appends Values as they are (the caller has seen that they keep Order),
    // with the storage the same appends one by one would leave.
    void AppendValues(std::span<const double> Values);
    virtual void Delete(int Index);
    // Quantity is cut to the values that exist from Start on.
    void Delete(int Start, int Quantity);

    int Count() const { return FCount; }
    int Capacity() const { return FCapacity; }
    std::span<const double> Values() const { return {FValue.get(), static_cast<std::size_t>(FCount)}; }
    // Raise ChartException outside 0 .. Count-1.
    double GetValue(int Index) const;
    void SetValue(int Index, double Value); // tells the owner (veModify)
    double operator[](int Index) const { return GetValue(Index); }
    double First() const { return GetValue(0); }
    double Last() const { return GetValue(FCount - 1); }
    // Writes the storage without telling the owner (the series's SetXValue).
    void SetValueQuiet(int Index, double Value);

    int Locate(double Value) const { return Locate(Value, 0, FCount - 1); }
    int Locate(double Value, int First, int Last) const;

    double GetMaxValue() const;
    double GetMinValue() const;
    double GetTotal() const;
    double GetTotalABS() const;
    // Overrides the absolute total until the values next change.
    void SetTotalABS(double Value);
    double Range() const { return GetMaxValue() - GetMinValue(); }
    void RecalcStats() const;
    void RecalcStats(int StartIndex) const;
    bool StatsStale() const { return FStatsStale; }

    void Exchange(int Index1, int Index2);
    void FillSequence();
    int CompareValueIndex(int Index1, int Index2) const;
    void Sort();
    void Scroll();
    String ValueToString(int Index) const;

    TChartSeries* GetOwnerSeries() const { return FOwner; }
    const String& GetName() const { return FName; }
    void SetName(const String& Value) { FName = Value; }
    TChartListOrder GetOrder() const { return FOrder; }
    void SetOrder(TChartListOrder Value) { FOrder = Value; }
    // The published setter: a series that sorts by its list before drawing (a pie) draws the
    // new order, so a shown chart repaints.
    void ChangeOrder(TChartListOrder Value);
    bool GetDateTime() const { return FDateTime; }
    void SetDateTime(bool Value);
    void InitDateTime(bool Value);
    bool IsDateStored() const { return FDateTime != FDefaultDateTime; }
    const String& GetValueSource() const { return FValueSource; }
    void SetValueSource(const String& Value);

    double TempValue = 0; // what the next AddChartValue stores

protected:
    void Changed() { FStatsStale = true; }

private:
    int PlaceTempValue() {
        const double v = TempValue;
        // Values that arrive in order cost one comparison.
        return PlacesLast(v) ? Append(v) : PlaceBefore(v);
    }
    int PlaceBefore(double Value);
    void InsertInside(int Index, double Value);
    static int GrownCapacity(int Capacity);
    void Grow();
    int Append(double Value) {
        if (FCount == FCapacity) Grow();
        return StoreLast(Value);
    }
    void ReadMultiplier(TReader* Reader);

    int FCount = 0;
    bool FDateTime = false;
    mutable double FMaxValue = 0;
    mutable double FMinValue = 0;
    String FName;
    TChartListOrder FOrder = loNone;
    TChartSeries* FOwner = nullptr;
    mutable double FTotal = 0;
    mutable double FTotalABS = 0;
    String FValueSource;
    bool FDefaultDateTime = false;
    mutable bool FStatsStale = true;
    std::unique_ptr<double[]> FValue; // FCapacity values, FCount of them in use
    int FCapacity = 0;
    enum : std::uint8_t { kClassUnknown, kClassBase, kClassOwn };
    mutable std::uint8_t FClassKind = kClassUnknown;
    std::uint8_t Classify() const;
};

// The value lists of one series, in creation order (X, Y, then the further
// lists); owns them, and tells the series when a list comes or goes.
class TChartValueLists {
public:
    explicit TChartValueLists(TChartSeries* Owner = nullptr) : FOwner(Owner) {}
    TChartValueLists(const TChartValueLists&) = delete;
    TChartValueLists& operator=(const TChartValueLists&) = delete;
    ~TChartValueLists() { FreeLists(); }

    int Count() const { return static_cast<int>(FItems.size()); }
    TChartValueList* Get(int Index) const; // raises EListError out of range
    TChartValueList* operator[](int Index) const { return Get(Index); }
    int IndexOf(const TChartValueList* List) const;
    void Add(TChartValueList* List);
    void Put(int Index, TChartValueList* List);
    // Takes a list out without freeing it.
    void Extract(TChartValueList* List);
    void Clear();
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    void Changed();
    void FreeLists();

    TChartSeries* FOwner;
    std::vector<TChartValueList*> FItems;
};
