#pragma once
// Where the program keeps its settings: the registry store, the port list and
// the device simulator's registration all live here.

#include <filesystem>

// $XDG_CONFIG_HOME when it is an absolute path (a relative one is ignored, as
// the XDG rules say), else ~/.config, then the program's folder "moltren".
// Without a home directory the system's temporary directory stands in.
std::filesystem::path ConfigDirectory();
