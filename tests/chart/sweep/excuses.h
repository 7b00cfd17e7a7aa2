#pragma once
// What a rule's refusal may be excused for, one piece of it (one part of one drawing, one change)
// at a time: a refusal is excepted when every piece of it is.

#include "tests/chart/sweep/sweep.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace sweep {

struct Excuse {
    const char* reason;
    std::function<bool(const Point&, const std::string& Piece)> covers;
};

inline bool Has(const std::string& Piece, const char* Text) {
    return Piece.find(Text) != std::string::npos;
}

// The pieces of a refusal, as a rule joins them with "; ".
inline std::vector<std::string> Pieces(const std::string& Fault) {
    std::vector<std::string> out;
    for (std::size_t at = 0;;) {
        const std::size_t end = Fault.find("; ", at);
        out.push_back(Fault.substr(at, end - at));
        if (end == std::string::npos) return out;
        at = end + 2;
    }
}

// One exception for each excuse: it holds where every piece is excused and one by it.
inline std::vector<Exception> Excepted(const std::vector<Excuse>& Excuses) {
    std::vector<Exception> out;
    for (const Excuse& e : Excuses)
        out.push_back({[&e, &Excuses](const Point& P, const std::string& Fault) {
                           bool mine = false;
                           for (const std::string& piece : Pieces(Fault)) {
                               if (std::none_of(Excuses.begin(), Excuses.end(),
                                                [&](const Excuse& x) { return x.covers(P, piece); }))
                                   return false;
                               mine = mine || e.covers(P, piece);
                           }
                           return mine;
                       },
                       e.reason});
    return out;
}

} // namespace sweep
