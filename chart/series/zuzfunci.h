#pragma once
// The basic calculated functions: sums, differences, products, quotients,
// extremes, means, medians and modes of a source's points or of one point
// across several sources, and "y = f(x)", which makes its points from an
// event instead of a source. The function base walks the sources; these
// classes supply the arithmetic only.

#include "chart/engine/zuzfunction.h"

#include <vector>

// The sum of the values.
class TAddZuzFunction : public TZuzFunction {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    using TZuzFunction::TZuzFunction;
    double Calculate(TChartSeries* Source, int FirstIndex, int LastIndex) override;
    double CalculateMany(const TDataSourcesList& SourceSeriesList, int ValueIndex) override;
};

// The first value taken, combined with each further one in turn.
class TManySeriesZuzFunction : public TZuzFunction {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    using TZuzFunction::TZuzFunction;
    double CalculateMany(const TDataSourcesList& SourceSeriesList, int ValueIndex) override;
    virtual double CalculateValue(double AResult, double AValue) const { return 0; }
};

class TSubtractZuzFunction : public TManySeriesZuzFunction {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    using TManySeriesZuzFunction::TManySeriesZuzFunction;
    double CalculateValue(double AResult, double AValue) const override { return AResult - AValue; }
};

class TMultiplyZuzFunction : public TManySeriesZuzFunction {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    using TManySeriesZuzFunction::TManySeriesZuzFunction;
    double CalculateValue(double AResult, double AValue) const override { return AResult * AValue; }
};

// A zero divisor leaves the running quotient as it was.
class TDivideZuzFunction : public TManySeriesZuzFunction {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    using TManySeriesZuzFunction::TManySeriesZuzFunction;
    double CalculateValue(double AResult, double AValue) const override {
        return AValue == 0 ? AResult : AResult / AValue;
    }
};

// The largest value; 0 when none is taken.
class THighZuzFunction : public TZuzFunction {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    using TZuzFunction::TZuzFunction;
    double Calculate(TChartSeries* Source, int FirstIndex, int LastIndex) override;
    double CalculateMany(const TDataSourcesList& SourceSeriesList, int ValueIndex) override;
};

// The smallest value; 0 when none is taken.
class TLowZuzFunction : public TZuzFunction {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    using TZuzFunction::TZuzFunction;
    double Calculate(TChartSeries* Source, int FirstIndex, int LastIndex) override;
    double CalculateMany(const TDataSourcesList& SourceSeriesList, int ValueIndex) override;
};

// The mean of the values, null points counted or left out.
class TAverageZuzFunction : public TZuzFunction {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    using TZuzFunction::TZuzFunction;
    void Assign(TPersistent* Source) override;
    String GetEditorClass() const override { return u"TAverageFuncEditor"; }
    double Calculate(TChartSeries* Source, int FirstIndex, int LastIndex) override;
    double CalculateMany(const TDataSourcesList& SourceSeriesList, int ValueIndex) override;

    bool GetIncludeNulls() const { return FIncludeNulls; }
    void SetIncludeNulls(bool Value);

private:
    bool FIncludeNulls = true;
};

using TCalculateEvent = Event<void(TObject* Sender, double X, double& Y)>;

// "y = f(x)": NumPoints points from StartX on, Period apart, each Y given by
// OnCalculate.
class TCustomZuzFunction : public TZuzFunction {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomZuzFunction(TComponent* AOwner);
    void Assign(TPersistent* Source) override;
    String GetEditorClass() const override { return u"TCustomFunctionEditor"; }
    // Without a handler nothing happens and the output keeps its points.
    void AddPoints(TChartSeries* Source) override;

    int GetNumPoints() const { return FNumPoints; }
    void SetNumPoints(int Value);
    double GetStartX() const { return FStartX; }
    void SetStartX(double Value);
    double GetX() const { return FX; } // the X being calculated

    TCalculateEvent OnCalculate;

private:
    int FNumPoints = 100;
    double FStartX = 0;
    double FX = 0;
};

// Takes the values into a sorted array and asks CalcResult about it.
class TCustomSortedFunction : public TZuzFunction {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    using TZuzFunction::TZuzFunction;
    void Assign(TPersistent* Source) override;
    double Calculate(TChartSeries* Source, int FirstIndex, int LastIndex) override;
    double CalculateMany(const TDataSourcesList& SourceSeriesList, int ValueIndex) override;

    bool GetIncludeNulls() const { return FIncludeNulls; }
    void SetIncludeNulls(bool Value);

protected:
    // Of the sorted values (ascending, equal values in order of arrival).
    virtual double CalcResult() const { return 0; }
    const std::vector<double>& SortedValues() const { return FValues; }

private:
    void AddSortedValue(double Value);
    double TakeResult();
    bool FIncludeNulls = true;
    std::vector<double> FValues;
};

// The middle value; of an even count the mean of the two middle ones.
class TMedianZuzFunction : public TCustomSortedFunction {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    using TCustomSortedFunction::TCustomSortedFunction;

protected:
    double CalcResult() const override;
};

// The value repeated most often; of equally long runs the smallest.
class TModeZuzFunction : public TCustomSortedFunction {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    using TCustomSortedFunction::TCustomSortedFunction;

protected:
    double CalcResult() const override;
};

// Start-up of the unit: the ten functions enter the gallery's standard page.
void ZuzFunciInitialization();
void ZuzFunciFinalization();
