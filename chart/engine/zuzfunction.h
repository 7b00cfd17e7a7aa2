#pragma once
// What a series needs of the function that computes its points: the function
// base's link to its output series. The calculation itself (periods, the
// walking roads) comes with the function base.

#include "platform/core/components.h"

class TChartSeries;

class TZuzFunction : public TComponent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TZuzFunction(TComponent* AOwner) : TComponent(AOwner) {}

    TChartSeries* GetParentSeries() const { return FParentSeries; }
    void SetParentSeries(TChartSeries* Value) { FParentSeries = Value; }
    // Computes the output series's points from Source (nullptr: no source needed).
    virtual void AddPoints(TChartSeries* Source) {}
    virtual bool IsValidSource(TChartSeries* Series) const { return true; }
    virtual void Clear() {}
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;

    bool NoSourceRequired = false;

private:
    TChartSeries* FParentSeries = nullptr;
};
