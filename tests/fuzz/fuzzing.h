#pragma once
// What every fuzz harness shares: the program's units started once on the
// offscreen platform, the input as a stream, and the seeds the harness makes
// with the project's own writers. A harness defines
//
//   fuzz::Seeds FuzzSeeds();                      // its starting corpus
//   void FuzzOne(std::string_view Input);         // one run on one input
//
// and this file's source gives libFuzzer its entry points. Run with
// -write_seeds=DIR, a harness writes its seeds there and stops.

#include "platform/core/streams.h"
#include "platform/core/sysutils.h"

#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

struct Seed {
    std::string name;
    std::string bytes;
};
using Seeds = std::vector<Seed>;

// A memory stream holding the bytes, at position 0.
void Fill(TMemoryStream& Stream, std::string_view Bytes);
std::string Bytes(TMemoryStream& Stream);

// A finding the sanitizers cannot see (a result that breaks a rule of the
// code under test): reported with its reason, then the run stops as at a crash.
[[noreturn]] void Fail(std::string_view Why);
inline void Check(bool Holds, std::string_view Why) {
    if (!Holds) Fail(Why);
}

// A scratch directory of this process, made once, removed at exit.
const std::string& ScratchDir();

} // namespace fuzz

fuzz::Seeds FuzzSeeds();
void FuzzOne(std::string_view Input);
