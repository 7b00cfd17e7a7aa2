#pragma once
// Smooth resizing of pictures with a separable resampling filter, in integer
// arithmetic: weights are scaled by 1024 and computed once per axis.

#include <cstdint>

class TBitmap;

enum TSmoothStretchOption : std::uint8_t {
    ssBestQuality,    // Lanczos 3
    ssBestPerformance // triangle
};

// Dest, already sized, receives Source resampled to its size; both become 24 bits per
// pixel. Nothing happens unless both are at least 2 x 2 pixels.
void SmoothStretch(TBitmap* Source, TBitmap* Dest, TSmoothStretchOption Option = ssBestQuality);
