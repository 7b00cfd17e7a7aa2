#include "tests/fuzz/fuzzing.h"

#include "archive/moltren.h"
#include "platform/core/units.h"
#include "platform/gui/forms.h"
#include "tests/support/guiprobe.h"
#include "tests/support/tempdir.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace fuzz {

void Fail(std::string_view Why) {
    std::fprintf(stderr, "\n==FUZZ== %.*s\n", static_cast<int>(Why.size()), Why.data());
    std::fflush(stderr);
    std::abort();
}

const std::string& ScratchDir() {
    static const TempDir scratch("moltren-fuzz");
    static const std::string path = scratch.path.string();
    if (path.empty()) Fail("no scratch directory");
    return path;
}

namespace {

void WriteSeeds(const std::filesystem::path& Dir) {
    std::filesystem::create_directories(Dir);
    for (const Seed& seed : FuzzSeeds()) {
        std::ofstream out(Dir / seed.name, std::ios::binary | std::ios::trunc);
        out.write(seed.bytes.data(), static_cast<std::streamsize>(seed.bytes.size()));
        if (!out.flush()) Fail("cannot write the seed " + seed.name);
    }
}

} // namespace

} // namespace fuzz

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The program's units on the offscreen platform, in the C locale, as the tests run.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("LC_ALL", "C.UTF-8", 1);
    InitUnits(ProgramUnits());
    probe::EnsureApplication();
    // A message box the code under test raises is answered at once: no input waits on a person.
    SetDialogResponder([](const TDialogRequest&) { return TDialogAnswer{}; });
    constexpr std::string_view flag = "-write_seeds=";
    for (int i = 1; i < *argc; ++i)
        if (const std::string_view arg = (*argv)[i]; arg.starts_with(flag)) {
            fuzz::WriteSeeds(std::string(arg.substr(flag.size())));
            std::fflush(nullptr);
            // _Exit runs no destructor: the scratch folder the seeds were made in goes first.
            std::error_code ec;
            std::filesystem::remove_all(fuzz::ScratchDir(), ec);
            std::_Exit(0);
        }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    FuzzOne(std::string_view(reinterpret_cast<const char*>(Data), Size));
    return 0;
}
