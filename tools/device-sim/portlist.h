#pragma once
// Registration of the simulator's port in the program's port list.
//
// The list of registered ports is the port-list file of the serial ports key
// (platform/win32/serialcomm.h): "serialcomm" in the configuration directory (platform/core/configdir.h). One
// port per line: the port name as the port list shows it and as the port opens it (for the simulator, the
// pseudo-terminal's absolute path), optionally followed by a TAB and the id of the process that registered
// it. A reader takes the text before the first TAB. Writers take an exclusive lock on "serialcomm.lock"
// beside it and replace the file in one rename, so a reader never sees half a list.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace devsim {

std::filesystem::path RegisteredPortsFile();

// The name is listed by another running process.
class PortTaken : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Adds the port (with this process' id). A port listed under a name of its own
// (say "COM1", as a virtual serial port driver names its ports) gives the
// terminal it stands for as `device`; the program then opens that terminal by
// the name. Entries of processes that no longer run are dropped on the way.
// Throws PortTaken when a running process listed the name, std::system_error
// when the list cannot be written.
void RegisterPort(const std::string& port, const std::string& device = {});
// Removes the port as this process listed it (or as listed by hand, without a
// process id); a port that is not listed is no error.
void UnregisterPort(const std::string& port);
// The registered port names, in file order.
std::vector<std::string> RegisteredPorts();

} // namespace devsim
