#pragma once
// Test helper: what a JPEG file's markers say, read from its bytes without a decoder --
// the frame type and size, the colour components, the first quantisation entries.

#include <cstddef>
#include <cstdint>
#include <vector>

struct JpegMarkers {
    bool wellFormed = false; // starts with SOI and a JFIF header, ends with EOI
    int frame = -1;          // 0 baseline, 1 extended, 2 progressive
    int width = 0, height = 0, components = 0;
    std::vector<int> firstEntries; // entry 0 of each quantisation table, in file order
};

inline JpegMarkers ReadJpegMarkers(const std::vector<std::uint8_t>& b) {
    JpegMarkers m;
    const std::size_t n = b.size();
    if (n < 4 || b[0] != 0xFF || b[1] != 0xD8 || b[n - 2] != 0xFF || b[n - 1] != 0xD9) return m;
    m.wellFormed =
        n > 10 && b[3] == 0xE0 && b[6] == 'J' && b[7] == 'F' && b[8] == 'I' && b[9] == 'F' && b[10] == 0;
    std::size_t p = 2;
    while (p + 4 <= n && b[p] == 0xFF) {
        const int marker = b[p + 1];
        const std::size_t len = static_cast<std::size_t>(b[p + 2] << 8 | b[p + 3]);
        const std::size_t body = p + 4;
        if (marker == 0xDA || body + len - 2 > n) break; // the scan data follows
        if (marker >= 0xC0 && marker <= 0xC2) {
            m.frame = marker - 0xC0;
            m.height = b[body + 1] << 8 | b[body + 2];
            m.width = b[body + 3] << 8 | b[body + 4];
            m.components = b[body + 5];
        } else if (marker == 0xDB) {
            // One or more 8-bit tables: a precision/id byte, then 64 entries in zig-zag order.
            for (std::size_t t = body; t + 65 <= body + len - 2; t += 65) m.firstEntries.push_back(b[t + 1]);
        }
        p = body + len - 2;
    }
    return m;
}
