#pragma once
// A simulated "КРОНТ" metering device: its archive, its side of the serial
// protocol and the shape in time of its replies. Nothing here touches a
// terminal or a clock, so tests drive it byte by byte.
//
// Protocol, device side:
//   command  N code p1 p2 N   (5 bytes; N = network number, binary)
//     01 00 00  reset the read index          reply F0 h1 h2 h3 FF
//     03 MM DD  read day (month, day in BCD)  reply: records F0 h1 h2 h3 <text> FF,
//               then "=" when more records of the day follow (the same command
//               fetches the next portion) or "?" FF when the day is complete.

#include <chrono>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace devsim {

using Bytes = std::string; // raw 8-bit bytes as they travel on the line

inline constexpr std::uint8_t CmdResetIndex = 0x01;
inline constexpr std::uint8_t CmdReadDay = 0x03;
inline constexpr char RecordStart = '\xF0';
inline constexpr char RecordEnd = '\xFF';
inline constexpr char PortionMore = '=';
inline constexpr char DayComplete = '?';

// Packed BCD of 0..99; FromBcd gives -1 for a byte that is not packed BCD.
std::uint8_t ToBcd(int value);
int FromBcd(std::uint8_t bcd);

Bytes ResetFrame(int device);
Bytes ReadDayFrame(int device, int month, int day);

// ---------------------------------------------------------------------------
// Archive: record texts per calendar day. The device keeps no year, so a day
// is its month and day of month; records stay in the order they are sent.

struct DayKey {
    int month = 1;
    int day = 1;
    auto operator<=>(const DayKey&) const = default;
};

class Archive {
public:
    void Add(DayKey key, std::string text);
    // The day's records in sending order; empty for a day the device does not hold.
    const std::vector<std::string>& Day(DayKey key) const;
    const std::map<DayKey, std::vector<std::string>>& Days() const { return days_; }
    std::size_t RecordCount() const;

private:
    std::map<DayKey, std::vector<std::string>> days_;
};

struct GenerateOptions {
    std::chrono::year_month_day first{std::chrono::year{2009}, std::chrono::October, std::chrono::day{5}};
    int days = 1;
    int recordsPerDay = 24; // spread evenly over the day: 24 gives hourly records
    int values = 4;
    int missingEvery = 0;    // every n-th value is sent as 9999 (0: none)
    bool outOfOrder = false; // each day's records leave the device shuffled
    std::uint32_t seed = 1;
};

// Record texts "DD MM hh mm v1 .. vN" with smooth, plausible values.
Archive GenerateArchive(const GenerateOptions& options);

// Reads an archive from text. One record text per line, sent as written;
// "# ..." and blank lines are skipped; "@ DD.MM" puts the following records
// into that day, otherwise a record's day is its own first two tokens.
// Throws std::runtime_error naming the line of a record without a day.
Archive ParseArchive(std::istream& in);

// ---------------------------------------------------------------------------
// The device's protocol state machine.

enum class DayEndStyle {
    Inline,   // the last portion ends with "?" FF
    Separate, // the last portion ends with "=", the next reply is "?" FF alone
};

struct DeviceOptions {
    int device = 1;
    std::size_t portion = 0; // records per reply; 0: the whole day in one reply
    DayEndStyle dayEnd = DayEndStyle::Inline;
    Bytes header = "\x01\x02\x03";
    Bytes resetReply = "\xF0\x01\x02\x03\xFF";
    Bytes garbageBefore;  // sent ahead of every reply
    Bytes garbageBetween; // sent between the records of a reply
    // Commands to this device are numbered from 1; from command silentFrom on
    // (0: never), silentCount of them (0: all the rest) get no reply.
    int silentFrom = 0;
    int silentCount = 0;
};

struct Frame {
    Bytes bytes;       // the 5 bytes as received
    bool toMe = false; // addressed to this device's number
    bool answered = false;
};

class Device {
public:
    Device(Archive archive, DeviceOptions options);

    // Takes bytes from the line; gives the replies of the frames they complete.
    // Bytes that cannot start a frame are dropped one at a time until the
    // stream lines up again.
    std::vector<Bytes> Receive(std::string_view bytes);

    const std::vector<Frame>& Frames() const { return frames_; }
    int Commands() const { return commands_; } // frames addressed to this device
    DeviceOptions& Options() { return options_; }
    const DeviceOptions& Options() const { return options_; }
    const Archive& GetArchive() const { return archive_; }

private:
    bool Silent() const;
    Bytes Answer(std::uint8_t code, std::uint8_t p1, std::uint8_t p2);
    Bytes ReadDay(DayKey key);

    Archive archive_;
    DeviceOptions options_;
    Bytes pending_;
    std::vector<Frame> frames_;
    int commands_ = 0;
    std::size_t index_ = 0; // records of the day already sent since the last reset
};

// ---------------------------------------------------------------------------
// Shape of a reply on the line.

struct LineOptions {
    int baud = 9600;                       // 0: no pacing
    std::chrono::milliseconds latency{20}; // from the end of a command to the first byte
    std::size_t chunk = 0;                 // split each reply into pieces of this size (0: none)
    std::chrono::milliseconds gap{0};      // pause between pieces
    std::vector<std::size_t> splitAt;      // or split each reply before these offsets
};

struct Burst {
    std::chrono::microseconds delay; // pause before the burst's first byte
    Bytes bytes;
};

// One byte takes 11 bit times on the line: start, 8 data bits, 2 stop bits.
std::chrono::nanoseconds ByteTime(int baud);

std::vector<Burst> Shape(const Bytes& reply, const LineOptions& line);

} // namespace devsim
