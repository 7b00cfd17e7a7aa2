#pragma once
// Lists of series: the chart's series list with its named groups, the series
// linked to a source series, and the members of a group. None of them owns its
// series.

#include "platform/core/collections.h"
#include "platform/core/lists.h"

#include <memory>
#include <vector>

class TCanvas;
class TChartSeries;

class TCustomSeriesList;

// Walks a list: Index starts before the first series.
class TSeriesEnumerator {
public:
    explicit TSeriesEnumerator(const TCustomSeriesList* List) : FList(List) {}
    bool MoveNext();
    TChartSeries* Current() const;

private:
    int FIndex = -1;
    const TCustomSeriesList* FList;
};

class TCustomSeriesList : public TListOf<TChartSeries*> {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomSeriesList(TComponent* Owner = nullptr) : FOwner(Owner) {}

    TComponent* GetOwner() const { return FOwner; }
    void SetOwner(TComponent* Value) { FOwner = Value; }
    int Count() const { return GetCount(); }
    TSeriesEnumerator GetEnumerator() const { return TSeriesEnumerator(this); }
    void ClearValues();                   // Clear on every series
    void FillSampleValues(int NumValues); // on every series
    void AssignList(const TCustomSeriesList& Source);

private:
    TComponent* FOwner = nullptr;
};

enum TSeriesGroupActive : std::uint8_t { gaYes, gaNo, gaSome };
template <>
const EnumInfo& EnumInfoOf<TSeriesGroupActive>();

class TSeriesGroups;

class TSeriesGroup : public TCollectionItem {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TSeriesGroup(TCollection* Collection);
    ~TSeriesGroup() override;
    void Assign(TPersistent* Source) override;
    // The members travel as the names of their series ("Series"), found among the chart's
    // series once they are all read (TakeReadSeries).
    void DefineProperties(TFiler* Filer) override;
    void TakeReadSeries(const TCustomSeriesList& ChartSeries);

    void Add(TChartSeries* Series) { FSeries.Add(Series); }
    TSeriesGroupActive GetActive() const;
    void SetActive(TSeriesGroupActive Value);
    void Show() { SetActive(gaYes); }
    void Hide() { SetActive(gaNo); }
    const String& GetName() const { return FName; }
    void SetName(const String& Value) { FName = Value; }
    TCustomSeriesList* GetSeries() { return &FSeries; }
    void SetSeries(const TCustomSeriesList* Value);
    bool IsSeriesStored() const { return FSeries.Count() > 0; }

private:
    String FName;
    TCustomSeriesList FSeries;
    std::unique_ptr<std::vector<String>> FReadNames; // read, not yet found
};

class TSeriesGroups : public TOwnedCollection {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TSeriesGroups(TPersistent* Owner);

    TSeriesGroup* Get(int Index) const;
    void Put(int Index, TSeriesGroup* Value);
    // Index of the first group that holds Series, or -1.
    int Contains(const TChartSeries* Series) const;
    TSeriesGroup* FindByName(const String& Name, bool CaseSensitive = false) const;
    // Every group takes the members it read from ChartSeries.
    void TakeReadSeries(const TCustomSeriesList& ChartSeries);
    // Series leaves every group that holds it.
    void RemoveSeries(TChartSeries* Series);
};

class TChartSeriesList : public TCustomSeriesList {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TChartSeriesList(TComponent* Owner = nullptr);
    ~TChartSeriesList() override;

    TSeriesGroup* AddGroup(const String& Name);
    // Copies Source's groups (not its series).
    void Assign(const TChartSeriesList& Source);
    TSeriesGroups* GetGroups() const { return FGroups.get(); }
    void SetGroups(TSeriesGroups* Value);
    bool GetAllActive() const;
    void SetAllActive(bool Value);

private:
    Owned<TSeriesGroups> FGroups;
};

// The editor icon of the element's class (else of its parent class) at (Left, Top); nothing
// when the resources hold neither.
void ZuzDrawBitmapEditor(TCanvas* Canvas, const TObject* Element, int Left, int Top);
