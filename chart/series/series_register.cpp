// The standard series types in the series registry, in their gallery order.
#include "chart/canvas/zuzconst.h"
#include "chart/engine/seriestypes.h"
#include "chart/series/series.h"
#include "chart/series/series_area.h"
#include "chart/series/series_bar.h"
#include "chart/series/series_pie.h"

namespace {

struct TStandardSeries {
    const ClassInfo& (*SeriesClass)();
    const String* Description;
    int NumGallerySeries;
};

const TStandardSeries kStandardSeries[] = {
    {&TLineSeries::StaticClass, &VavIve_GalleryLine, 2},
    {&TBarSeries::StaticClass, &VavIve_GalleryBar, 2},
    {&THorizBarSeries::StaticClass, &VavIve_GalleryHorizBar, 2},
    {&TAreaSeries::StaticClass, &VavIve_GalleryArea, 2},
    {&TPointSeries::StaticClass, &VavIve_GalleryPoint, 2},
    {&TPieSeries::StaticClass, &VavIve_GalleryPie, 1},
    {&TFastLineSeries::StaticClass, &VavIve_GalleryFastLine, 2},
    {&THorizLineSeries::StaticClass, &VavIve_GalleryHorizLine, 1},
    {&THorizAreaSeries::StaticClass, &VavIve_GalleryHorizArea, 1},
};

} // namespace

void RegisterZuzStandardSeries() {
    for (const TStandardSeries& row : kStandardSeries)
        RegisterZuzSeries(&row.SeriesClass(), row.Description, &VavIve_GalleryStandard, row.NumGallerySeries);
}
