#pragma once
// Data-source components: the base of every component that fills a series
// from elsewhere (files, databases, generators), and the list of registered
// source classes the editors offer.

#include "platform/core/components.h"

#include <vector>

class TChartSeries;
class ISeriesChart;

class TZuzSeriesSource : public TComponent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TZuzSeriesSource(TComponent* AOwner) : TComponent(AOwner) {}
    void BeforeDestruction() override; // closes
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    bool GetActive() const { return FActive; }
    virtual void SetActive(bool Value);
    TChartSeries* GetSeries() const { return FSeries; }
    void SetSeries(TChartSeries* Value);
    bool GetKeepValues() const { return FKeepValues; }
    void SetKeepValues(bool Value) { FKeepValues = Value; }
    virtual bool HasSeries(TChartSeries* Series) const;
    void Close();
    virtual void Load() {}
    void Open() { SetActive(true); }
    void Refresh();

    // What the editors ask of a source class (through its traits).
    struct Traits {
        bool (*Available)(ISeriesChart* Chart) = nullptr;
        String (*Description)() = nullptr;
        String (*Editor)() = nullptr;
        bool (*HasNew)() = nullptr;
    };
    static bool Available(const ClassInfo& Class, ISeriesChart* Chart);
    static String Description(const ClassInfo& Class);
    // The class name of the source's editor form (empty for none).
    static String Editor(const ClassInfo& Class);
    static bool HasNew(const ClassInfo& Class);

private:
    bool FActive = false;
    bool FKeepValues = false;
    TChartSeries* FSeries = nullptr;
};

// The registered series-source classes, made on first use.
std::vector<const ClassInfo*>& ZuzSources();
void ZuzFreeSources();
