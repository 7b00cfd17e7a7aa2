#pragma once
// The registries of series, function and tool types that the galleries and
// editors list, and the free functions that create, name, clone and change
// the type of series, functions and tools through them.

#include "chart/engine/chartseries.h"

#include <initializer_list>
#include <memory>
#include <vector>

class TZuzCustomTool;

// One registered type: a series class, a function class (on a series class or
// alone), its description and gallery page (message texts read when needed).
class TZuzSeriesType {
public:
    const ClassInfo* SeriesClass = nullptr;   // nullptr for a function entry
    const ClassInfo* FunctionClass = nullptr; // nullptr for a plain series entry
    const String* Description = nullptr;
    const String* GalleryPage = nullptr;
    int NumGallerySeries = 0;
    int SubIndex = 0; // not 0: a variant of a type, always added

    String GetDescription() const { return Description ? *Description : String(); }
    String GetGalleryPage() const { return GalleryPage ? *GalleryPage : String(); }
};

class TZuzSeriesTypes {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    TZuzSeriesType* Get(int Index) const { return FItems.at(static_cast<std::size_t>(Index)).get(); }
    TZuzSeriesType* operator[](int Index) const { return Get(Index); }
    // The plain series entry of SeriesClass (function entries are skipped).
    TZuzSeriesType* Find(const ClassInfo* SeriesClass) const;
    void Clear() { FItems.clear(); }

private:
    friend int RegisterZuzSeriesFunction(const ClassInfo*, const ClassInfo*, const String*, const String*,
                                         int, int);
    friend void UnRegisterZuzSeries(std::initializer_list<const ClassInfo*>);
    friend void UnRegisterZuzFunctions(std::initializer_list<const ClassInfo*>);
    std::vector<std::unique_ptr<TZuzSeriesType>> FItems;
};

class TZuzToolTypes {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    const ClassInfo* Get(int Index) const { return FItems.at(static_cast<std::size_t>(Index)); }
    int IndexOf(const ClassInfo* ToolClass) const;
    void Add(const ClassInfo* ToolClass) { FItems.push_back(ToolClass); }
    void Delete(int Index) { FItems.erase(FItems.begin() + Index); }
    void Clear() { FItems.clear(); }

private:
    std::vector<const ClassInfo*> FItems;
};

// Created on first use, freed by the unit's finalisation.
TZuzSeriesTypes& ZuzSeriesTypes();
TZuzToolTypes& ZuzToolTypes();

// Returns the entry's index (the existing one's for a repeat with SubIndex 0).
int RegisterZuzSeriesFunction(const ClassInfo* SeriesClass, const ClassInfo* FunctionClass,
                              const String* Description, const String* GalleryPage, int NumGallerySeries,
                              int SubIndex);
int RegisterZuzSeries(const ClassInfo* SeriesClass, const String* Description, const String* GalleryPage,
                      int NumGallerySeries);
int RegisterZuzSeries(const ClassInfo* SeriesClass, const String* Description); // standard page, 2 series
int RegisterZuzFunction(const ClassInfo* FunctionClass, const String* Description, const String* GalleryPage,
                        int NumGallerySeries);
int RegisterZuzBasicFunction(const ClassInfo* FunctionClass, const String* Description);
void UnRegisterZuzSeries(std::initializer_list<const ClassInfo*> SeriesClasses);
void UnRegisterZuzFunctions(std::initializer_list<const ClassInfo*> FunctionClasses);
void RegisterZuzTools(std::initializer_list<const ClassInfo*> ToolClasses);
void UnRegisterZuzTools(std::initializer_list<const ClassInfo*> ToolClasses);

String GetNewSeriesName(const TComponent* Owner);
TChartSeries* CreateNewSeries(TComponent* Owner, ISeriesChart* Chart, const ClassInfo* SeriesClass,
                              const ClassInfo* FunctionClass = nullptr);
TZuzFunction* CreateNewZuzFunction(TChartSeries* Series, const ClassInfo* FunctionClass);
TChartSeries* CloneChartSeries(TChartSeries* Series);
TChartSeries* CloneChartSeries(TChartSeries* Series, ISeriesChart* Chart);
TChartSeries* CloneChartSeries(TChartSeries* Series, TComponent* Owner, ISeriesChart* Chart);
TZuzCustomTool* CloneChartTool(TZuzCustomTool* Tool, TComponent* Owner);
// Series becomes a series of NewClass at the same place, with the same name,
// points, events and dependent series.
void ChangeSeriesType(TChartSeries*& Series, const ClassInfo* NewClass);
void ChangeAllSeriesType(ISeriesChart* Chart, const ClassInfo* NewClass);
// Moves everything of OldSeries onto NewSeries and frees OldSeries (cleared).
void AssignSeries(TChartSeries*& OldSeries, TChartSeries*& NewSeries);
String GetGallerySeriesName(const TChartSeries* Series);

// Start-up of the chart unit: the registries and the palette names.
void ZuzSeriesTypesInitialization();
void ZuzSeriesTypesFinalization();
