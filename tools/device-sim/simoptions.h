#pragma once
// The simulator's command line.

#include "tools/device-sim/simcore.h"

#include <string>
#include <vector>

namespace devsim {

struct Config {
    GenerateOptions generate;
    std::string archiveFile; // empty: generate the archive
    DeviceOptions device;
    LineOptions line;
    bool registerPort = true;
    std::string portName; // listed under this name instead of the terminal's path
    bool help = false;
};

// Parses the arguments (without the program name). "--demo" sets the demo's
// settings, whatever its position, and the other options change them.
// Throws std::invalid_argument with a message for the user.
Config ParseArguments(const std::vector<std::string>& args, std::chrono::year_month_day today);

// The archive the configuration describes: the file's, or a generated one.
// Throws std::runtime_error.
Archive LoadArchive(const Config& config);

std::string Usage();

// "F0 01 02 03 FF", "f0:01", "F00102" -> bytes; throws std::invalid_argument.
Bytes ParseHex(const std::string& text);

} // namespace devsim
