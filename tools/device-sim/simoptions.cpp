#include "tools/device-sim/simoptions.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <stdexcept>

namespace devsim {

namespace {

using namespace std::chrono;

long Number(const std::string& option, const std::string& text, long min, long max) {
    long value = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec != std::errc{} || res.ptr != text.data() + text.size() || value < min || value > max) {
        throw std::invalid_argument(option + ": expected a number from " + std::to_string(min) + " to " +
                                    std::to_string(max) + ", got \"" + text + "\"");
    }
    return value;
}

year_month_day Date(const std::string& option, const std::string& text) {
    if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
        const auto y = static_cast<int>(Number(option, text.substr(0, 4), 1900, 9999));
        const auto m = static_cast<unsigned>(Number(option, text.substr(5, 2), 1, 12));
        const auto d = static_cast<unsigned>(Number(option, text.substr(8, 2), 1, 31));
        const year_month_day date{year{y}, month{m}, day{d}};
        if (date.ok()) return date;
    }
    throw std::invalid_argument(option + ": expected a date YYYY-MM-DD, got \"" + text + "\"");
}

std::vector<std::size_t> Offsets(const std::string& option, const std::string& text) {
    std::vector<std::size_t> out;
    std::size_t from = 0;
    while (from <= text.size()) {
        const auto comma = std::min(text.find(',', from), text.size());
        out.push_back(
            static_cast<std::size_t>(Number(option, text.substr(from, comma - from), 1, 1'000'000)));
        from = comma + 1;
    }
    return out;
}

void SetDemo(Config& c, year_month_day today) {
    // What the main window reads with its first settings: device 1 at 9600 baud.
    c.device = DeviceOptions{};
    c.device.device = 1;
    c.device.portion = 8;
    c.line = LineOptions{};
    c.line.baud = 9600;
    c.generate = GenerateOptions{};
    c.generate.days = 31;
    c.generate.first = year_month_day{sys_days{today} - days{c.generate.days - 1}};
    c.generate.recordsPerDay = 24;
    c.generate.values = 4;
    c.generate.missingEvery = 101;
    // The name the main window's port starts with, so that the demo's port is
    // the one chosen when the window opens.
    c.portName = "COM1";
}

} // namespace

Bytes ParseHex(const std::string& text) {
    Bytes out;
    int high = -1;
    for (const char c : text) {
        if (c == ' ' || c == ':' || c == ',') continue;
        int v = -1;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        if (v < 0) throw std::invalid_argument("not a hexadecimal byte string: \"" + text + "\"");
        if (high < 0) {
            high = v;
        } else {
            out += static_cast<char>(high * 16 + v);
            high = -1;
        }
    }
    if (high >= 0) throw std::invalid_argument("odd number of hexadecimal digits: \"" + text + "\"");
    return out;
}

Config ParseArguments(const std::vector<std::string>& args, year_month_day today) {
    Config c;
    c.generate.first = today;
    if (std::find(args.begin(), args.end(), "--demo") != args.end()) SetDemo(c, today);
    bool firstGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw std::invalid_argument(a + ": missing value");
            return args[++i];
        };
        if (a == "--demo") {
        } else if (a == "--help" || a == "-h") {
            c.help = true;
        } else if (a == "--port-name") {
            c.portName = value();
        } else if (a == "--device") {
            c.device.device = static_cast<int>(Number(a, value(), 1, 255));
        } else if (a == "--baud") {
            c.line.baud = static_cast<int>(Number(a, value(), 0, 4'000'000));
        } else if (a == "--latency") {
            c.line.latency = milliseconds{Number(a, value(), 0, 60'000)};
        } else if (a == "--chunk") {
            c.line.chunk = static_cast<std::size_t>(Number(a, value(), 0, 1'000'000));
        } else if (a == "--gap") {
            c.line.gap = milliseconds{Number(a, value(), 0, 60'000)};
        } else if (a == "--split-at") {
            c.line.splitAt = Offsets(a, value());
        } else if (a == "--archive") {
            c.archiveFile = value();
        } else if (a == "--first") {
            c.generate.first = Date(a, value());
            firstGiven = true;
        } else if (a == "--days") {
            c.generate.days = static_cast<int>(Number(a, value(), 1, 366));
        } else if (a == "--per-day") {
            c.generate.recordsPerDay = static_cast<int>(Number(a, value(), 0, 1440));
        } else if (a == "--values") {
            c.generate.values = static_cast<int>(Number(a, value(), 0, 100));
        } else if (a == "--missing-every") {
            c.generate.missingEvery = static_cast<int>(Number(a, value(), 0, 1'000'000));
        } else if (a == "--out-of-order") {
            c.generate.outOfOrder = true;
        } else if (a == "--seed") {
            c.generate.seed = static_cast<std::uint32_t>(Number(a, value(), 0, 4'294'967'295L));
        } else if (a == "--portion") {
            c.device.portion = static_cast<std::size_t>(Number(a, value(), 0, 1'000'000));
        } else if (a == "--day-end") {
            const auto& v = value();
            if (v == "inline")
                c.device.dayEnd = DayEndStyle::Inline;
            else if (v == "separate")
                c.device.dayEnd = DayEndStyle::Separate;
            else
                throw std::invalid_argument(a + ": expected inline or separate, got \"" + v + "\"");
        } else if (a == "--header") {
            c.device.header = ParseHex(value());
        } else if (a == "--reset-reply") {
            c.device.resetReply = ParseHex(value());
        } else if (a == "--garbage-before") {
            c.device.garbageBefore = ParseHex(value());
        } else if (a == "--garbage-between") {
            c.device.garbageBetween = ParseHex(value());
        } else if (a == "--silent-after") {
            c.device.silentFrom = static_cast<int>(Number(a, value(), 0, 1'000'000)) + 1;
        } else if (a == "--silent-for") {
            c.device.silentCount = static_cast<int>(Number(a, value(), 0, 1'000'000));
        } else if (a == "--no-register") {
            c.registerPort = false;
        } else {
            throw std::invalid_argument("unknown option \"" + a + "\" (see --help)");
        }
    }
    // Without a first day the generated archive ends today.
    if (!firstGiven) c.generate.first = year_month_day{sys_days{today} - days{c.generate.days - 1}};
    return c;
}

Archive LoadArchive(const Config& config) {
    if (config.archiveFile.empty()) return GenerateArchive(config.generate);
    std::ifstream in(config.archiveFile, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open archive file " + config.archiveFile);
    try {
        return ParseArchive(in);
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(config.archiveFile + ": " + e.what());
    }
}

std::string Usage() {
    return R"(Usage: device-sim [options]
A simulated "КРОНТ" metering device on a pseudo-terminal. Prints the terminal's
path, lists it among the program's serial ports while it runs, and answers the
device protocol until interrupted.

  --demo                 a month of hourly records (4 values) up to today,
                         device 1, 9600 baud, 8 records per reply
  --port-name NAME       list the port under NAME (such as COM1) instead of
                         the terminal's path; the program opens the terminal
                         by that name (--demo: COM1)
  --device N             the device's network number (default 1); frames for
                         other numbers get no answer
Archive
  --archive FILE         record texts from a file: one per line, "# ..." and
                         blank lines skipped, "@ DD.MM" sets the day of the
                         records that follow (else their first two tokens do)
  --first YYYY-MM-DD     first generated day (default: the days end today)
  --days N               generated days (default 1)
  --per-day N            records per day, spread evenly (default 24)
  --values N             values per record (default 4)
  --missing-every N      every N-th value is sent as 9999
  --out-of-order         each day's records are sent shuffled
  --seed N               seed of the generated values and order
Replies
  --portion N            records per reply, "=" between portions (0: all)
  --day-end inline|separate
                         "?" FF after the last record, or "=" and then a
                         reply of "?" FF alone
  --header HEX           the three header bytes of a record (default 010203)
  --reset-reply HEX      the reply to a reset (default F0010203FF)
  --garbage-before HEX   bytes sent ahead of every reply
  --garbage-between HEX  bytes sent between the records of a reply
  --silent-after N       answer N commands, then none
  --silent-for M         with --silent-after: stay silent for M commands only
Line
  --baud B               pace replies as 8N2 at B baud: 11 bits a byte
                         (default 9600; 0: as fast as the terminal takes them)
  --latency MS           pause before a reply (default 20)
  --chunk K, --gap MS    send replies in pieces of K bytes, MS apart
  --split-at A,B,..      or split each reply before these byte offsets
  --no-register          do not list the port among the program's ports
)";
}

} // namespace devsim
