#pragma once
// The sixteen named colour palettes a chart can take its series colours from,
// and the base of chart themes.

#include "platform/core/lists.h"
#include "platform/gui/graphics.h"

#include <span>

class ISeriesChart;
class TChartAxis;

// Palettes 1 to 15 (palette 0 is the chart's default colours).
std::span<const TColor> ExcelPalette();
std::span<const TColor> VictorianPalette();
std::span<const TColor> PastelsPalette();
std::span<const TColor> SolidPalette();
std::span<const TColor> ClassicPalette();
std::span<const TColor> WebPalette();
std::span<const TColor> ModernPalette();
std::span<const TColor> RainbowPalette();
std::span<const TColor> WindowsXPPalette();
std::span<const TColor> MacOSPalette();
std::span<const TColor> WindowsVistaPalette();
std::span<const TColor> GrayScalePalette();
std::span<const TColor> OperaPalette();
std::span<const TColor> WarmPalette();
std::span<const TColor> CoolPalette();
// The colours of palette Index; empty for 0 and any number that names none.
std::span<const TColor> PaletteColors(int Index);
// The number of the last palette named.
constexpr int kLastPalette = 15;

// The palette names, index = palette number.
class TColorPalettes : public TStringList {
public:
    // Adds "Default" first when asked, then every name with its number as the item's object.
    void AddTo(TStrings* Items, bool AddDefault) const;
    // Palette Index on Chart (0 and unknown numbers: the default colours); the
    // chart remembers the number as given.
    static void ApplyPalette(ISeriesChart* Chart, int Index);
    // A copy of Colors as Chart's palette (empty: the default colours).
    static void ApplyPalette(ISeriesChart* Chart, std::span<const TColor> Colors);
};

// The palette number an item of AddTo carries.
int PaletteIndexOf(const TObject* Item);

extern TColorPalettes* ColorPalettes;

// A chart theme: bound to one chart, Apply visits every axis.
class TChartTheme : public TObject {
public:
    explicit TChartTheme(ISeriesChart* Chart) : Chart(Chart) {}
    virtual void ChangeAxis(TChartAxis* Axis) {}
    virtual void Apply();
    virtual String Description() const;

    ISeriesChart* Chart;
};

// Hooks that no part of this program sets.
extern void* ZuzThemeSelectorHook;
// The chart tool class that shows the page number (none: the editor offers no such tool).
extern const ClassInfo* ZuzPageNumToolClass;
extern void* ZuzAntiAliasCanvas;

void ColorPalettesInitialization();
void ColorPalettesFinalization();
