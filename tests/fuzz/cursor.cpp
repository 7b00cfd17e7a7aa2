// Cursor files, still (.cur) and animated (.ani), as the chart editor loads one the user
// picks: a damaged file gives no cursor, never a crash or a large allocation; every frame a
// cursor read shows has its hot spot on it.
#include "platform/core/resources.h"
#include "platform/gui/cursorfile.h"
#include "platform/gui/forms.h"
#include "tests/fuzz/fuzzing.h"

#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

namespace {

struct Picture {
    int hotX = 0, hotY = 0;
    std::vector<std::string> rows; // '#' black, 'o' white, '.' clear
};

// The chart library's own hand, as its resource draws it.
Picture Hand() {
    const TEmbeddedResource* res = FindResource("ZUZ_CURSOR_HAND", "cur.txt");
    if (!res) fuzz::Fail("the hand cursor resource is missing");
    std::istringstream in(std::string(reinterpret_cast<const char*>(res->data), res->size));
    Picture p;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == ';') continue;
        if (line.starts_with("hotspot")) {
            std::istringstream(line.substr(7)) >> p.hotX >> p.hotY;
            continue;
        }
        p.rows.push_back(line);
    }
    return p;
}

void U16(std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void U32(std::string& s, unsigned v) {
    U16(s, v & 0xFFFF);
    U16(s, v >> 16);
}

// A cursor file of one entry: the picture as a DIB of Bits bits a pixel over its AND mask.
std::string CursorFile(const Picture& P, unsigned Bits) {
    const auto h = static_cast<unsigned>(P.rows.size());
    const auto w = static_cast<unsigned>(P.rows.empty() ? 0 : P.rows[0].size());
    const unsigned colours = Bits == 1 ? 2 : 0;
    const unsigned xorStride = (w * Bits + 31) / 32 * 4, andStride = (w + 31) / 32 * 4;
    std::string dib;
    for (const unsigned v : {40u, w, 2 * h}) U32(dib, v);
    U16(dib, 1);
    U16(dib, Bits);
    for (unsigned i = 0; i < 6; ++i) U32(dib, i == 4 ? colours : 0);
    if (Bits == 1) dib += std::string("\0\0\0\0\xFF\xFF\xFF\0", 8);
    std::string xorBits(xorStride * h, '\0'), andBits(andStride * h, '\0');
    for (unsigned y = 0; y < h; ++y) {
        const std::string& row = P.rows[h - 1 - y];
        for (unsigned x = 0; x < w && x < row.size(); ++x) {
            const bool clear = row[x] == '.', white = row[x] == 'o';
            if (clear) andBits[y * andStride + x / 8] |= static_cast<char>(0x80 >> (x % 8));
            if (Bits == 1) {
                if (white) xorBits[y * xorStride + x / 8] |= static_cast<char>(0x80 >> (x % 8));
            } else {
                const char c = white ? '\xFF' : '\0';
                xorBits.replace(y * xorStride + x * 4, 4, {c, c, c, clear ? '\0' : '\xFF'});
            }
        }
    }
    dib += xorBits + andBits;
    std::string file;
    for (const unsigned v : {0u, 2u, 1u}) U16(file, v);
    file += static_cast<char>(w);
    file += static_cast<char>(h);
    file += std::string(2, '\0');
    U16(file, static_cast<unsigned>(P.hotX));
    U16(file, static_cast<unsigned>(P.hotY));
    U32(file, static_cast<unsigned>(dib.size()));
    U32(file, 22);
    return file + dib;
}

std::string Chunk(const std::string& Id, const std::string& Data) {
    std::string c = Id;
    U32(c, static_cast<unsigned>(Data.size()));
    return c + Data + (Data.size() % 2 ? std::string(1, '\0') : std::string());
}

// An animated cursor of the frames, shown in Order at Rates (jiffies) when those are given.
std::string AnimatedFile(const std::vector<std::string>& Frames, const std::vector<unsigned>& Order,
                         const std::vector<unsigned>& Rates) {
    std::string header;
    const auto steps = static_cast<unsigned>(Order.empty() ? Frames.size() : Order.size());
    for (const unsigned v :
         {36u, static_cast<unsigned>(Frames.size()), steps, 0u, 0u, 0u, 0u, 6u, Order.empty() ? 1u : 3u})
        U32(header, v);
    std::string body = "ACON" + Chunk("anih", header);
    for (const auto& [id, values] : {std::pair{"rate", &Rates}, std::pair{"seq ", &Order}}) {
        std::string list;
        for (const unsigned v : *values) U32(list, v);
        if (!values->empty()) body += Chunk(id, list);
    }
    std::string frames = "fram";
    for (const std::string& f : Frames) frames += Chunk("icon", f);
    return Chunk("RIFF", body + Chunk("LIST", frames));
}

} // namespace

fuzz::Seeds FuzzSeeds() {
    const Picture hand = Hand();
    const std::string one = CursorFile(hand, 1), many = CursorFile(hand, 32);
    return {{"hand1.cur", one},
            {"hand32.cur", many},
            {"hands.ani", AnimatedFile({one, many}, {1, 0, 1}, {2, 4, 1})},
            {"hands-plain.ani", AnimatedFile({many, one}, {}, {})}};
}

void FuzzOne(std::string_view Input) {
    const std::string file = fuzz::ScratchDir() + "/fuzz.cur";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(Input.data(), static_cast<std::streamsize>(Input.size()));
        if (!out.flush()) fuzz::Fail("cannot write the cursor file");
    }
    HCURSOR cursor = LoadCursorFromFileW(UTF8ToString(file));
    if (!cursor) return;
    // An animated cursor steps through its frames on the clock once the screen holds it: every
    // frame it comes to has its hot spot on it.
    constexpr int kNumber = 2099;
    TManualClock clock;
    Application->SetClock(&clock);
    Screen->SetCursors(kNumber, cursor);
    for (int second = 0; second < 4; ++second) {
        const HCURSOR shown = Screen->GetCursorHandle(kNumber);
        const TSize size = CursorSize(shown);
        const TPoint hot = CursorHotSpot(shown);
        fuzz::Check(hot.X >= 0 && hot.Y >= 0 && hot.X < size.cx && hot.Y < size.cy,
                    "the hot spot is off the cursor");
        clock.Advance(1000);
    }
    Screen->SetCursors(kNumber, HCURSOR{});
    Application->SetClock(nullptr);
}
