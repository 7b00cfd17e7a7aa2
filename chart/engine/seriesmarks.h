#pragma once
// The marks of a series as far as its points need them: the custom position of
// each point's mark, kept per point and streamed with the points.

#include "platform/core/components.h"
#include "platform/core/types.h"

#include <memory>
#include <vector>

class ISeriesChart;
class TChartSeries;

class TSeriesMarkPosition {
public:
    TPoint ArrowStart;
    bool ArrowStartFixed = false;
    TPoint ArrowEnd;
    bool Custom = false;
    int Height = 0;
    TPoint LeftTop;
    int Width = 0;

    void Assign(const TSeriesMarkPosition& Source) { *this = Source; }
    bool operator==(const TSeriesMarkPosition&) const = default;
};

// One optional position per point index.
class TSeriesMarksPositions {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    TSeriesMarkPosition* Get(int Index) const; // nullptr past the end or in an empty slot
    void Put(int Index, std::unique_ptr<TSeriesMarkPosition> Position); // grows with empty slots
    void Add(std::unique_ptr<TSeriesMarkPosition> Position) { FItems.push_back(std::move(Position)); }
    void Delete(int Index);
    void Delete(int Start, int Quantity);
    void Exchange(int Index1, int Index2);
    void Clear() { FItems.clear(); }
    bool ExistCustom() const;

private:
    std::vector<std::unique_ptr<TSeriesMarkPosition>> FItems;
};

class TSeriesMarks : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TSeriesMarks(TChartSeries* Series) : FSeries(Series) {}
    void Assign(TPersistent* Source) override;

    TSeriesMarksPositions& Positions() { return FPositions; }
    const TSeriesMarksPositions& Positions() const { return FPositions; }
    // The position of point Index, made (empty) when it has none.
    TSeriesMarkPosition* UsePosition(int Index);
    void SetParentChart(ISeriesChart* Value) { FParentChart = Value; }
    // Forgets the positions of removed points.
    void DeletePoint(int Index) { FPositions.Delete(Index); }
    void DeletePoints(int Start, int Quantity) { FPositions.Delete(Start, Quantity); }
    void Clear() { FPositions.Clear(); }

private:
    TChartSeries* FSeries = nullptr;
    ISeriesChart* FParentChart = nullptr;
    TSeriesMarksPositions FPositions;
};
