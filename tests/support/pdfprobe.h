#pragma once
// Test helper: what a printed PDF file shows, through poppler's command-line tools.

#include <cstdint>
#include <string>
#include <vector>

namespace pdf {

struct Raster {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb; // rows top-down, three bytes a pixel
    struct Rgb {
        int r = 0, g = 0, b = 0;
        bool operator==(const Rgb&) const = default;
    };
    Rgb At(int x, int y) const;
};

// Page Page (from 1) at Dpi; an empty raster when the file cannot be rasterised.
Raster Rasterise(const std::string& File, int Dpi, int Page = 1);
// The text of every page.
std::string Text(const std::string& File);
// A field of the document's information ("Title", "Pages", ...), empty when missing.
std::string Info(const std::string& File, const std::string& Key);

} // namespace pdf
