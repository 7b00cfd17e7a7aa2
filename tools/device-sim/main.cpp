// device-sim: a simulated "КРОНТ" metering device on a pseudo-terminal.
#include "tools/device-sim/portlist.h"
#include "tools/device-sim/ptydevice.h"
#include "tools/device-sim/simoptions.h"

#include <csignal>
#include <ctime>
#include <exception>
#include <iostream>
#include <pthread.h>

namespace {

std::chrono::year_month_day Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return std::chrono::year_month_day{std::chrono::year{local.tm_year + 1900},
                                       std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)},
                                       std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
}

} // namespace

int main(int argc, char** argv) {
    using namespace devsim;
    Config config;
    try {
        config = ParseArguments(std::vector<std::string>(argv + 1, argv + argc), Today());
    } catch (const std::exception& e) {
        std::cerr << "device-sim: " << e.what() << '\n';
        return 2;
    }
    if (config.help) {
        std::cout << Usage();
        return 0;
    }

    // The serving thread inherits this mask, so the signals that end the
    // simulator all reach the sigwait below.
    sigset_t ending;
    sigemptyset(&ending);
    sigaddset(&ending, SIGINT);
    sigaddset(&ending, SIGTERM);
    sigaddset(&ending, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &ending, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    try {
        Archive archive = LoadArchive(config);
        const std::size_t records = archive.RecordCount();
        const std::size_t days = archive.Days().size();
        PtyDevice device(Device(std::move(archive), config.device), config.line);
        bool registered = false;
        const std::string listedName = config.portName.empty() ? device.SlavePath() : config.portName;
        if (config.registerPort) {
            try {
                RegisterPort(listedName, device.SlavePath());
                registered = true;
            } catch (const PortTaken& e) {
                std::cerr
                    << "device-sim: " << e.what()
                    << ": a demo is already running; close it first, or list this one under another name "
                       "with --port-name\n";
                return 1;
            } catch (const std::exception& e) {
                std::cerr << "device-sim: the port is not listed: " << e.what() << '\n';
            }
        }
        std::cout << device.SlavePath() << std::endl;
        std::cerr << "device-sim: device " << config.device.device << " on " << device.SlavePath() << ", "
                  << days << " days, " << records << " records, "
                  << (config.line.baud > 0 ? std::to_string(config.line.baud) + " baud"
                                           : std::string("unpaced"))
                  << (registered ? ", listed as " + listedName + " in " + RegisteredPortsFile().string()
                                 : std::string())
                  << '\n';
        int signal = 0;
        sigwait(&ending, &signal);
        if (registered) UnregisterPort(listedName);
    } catch (const std::exception& e) {
        std::cerr << "device-sim: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
