#pragma once
// Keeps the registered series, function and tool types for a test that clears them, ends a
// unit of them or adds its own: they are put back as they were, in their order, when it goes,
// so that the galleries of the tests after it hold what the program's do.

#include "chart/engine/seriestypes.h"

#include <vector>

class KeepTypes {
public:
    KeepTypes() {
        for (int i = 0; i < ZuzSeriesTypes().Count(); ++i) series_.push_back(*ZuzSeriesTypes().Get(i));
        for (int i = 0; i < ZuzToolTypes().Count(); ++i) tools_.push_back(ZuzToolTypes().Get(i));
    }
    ~KeepTypes() {
        ZuzSeriesTypes().Clear();
        for (const TZuzSeriesType& t : series_)
            RegisterZuzSeriesFunction(t.SeriesClass, t.FunctionClass, t.Description, t.GalleryPage,
                                      t.NumGallerySeries, t.SubIndex);
        ZuzToolTypes().Clear();
        for (const ClassInfo* tool : tools_) ZuzToolTypes().Add(tool);
    }
    KeepTypes(const KeepTypes&) = delete;
    KeepTypes& operator=(const KeepTypes&) = delete;

private:
    std::vector<TZuzSeriesType> series_;
    std::vector<const ClassInfo*> tools_;
};
