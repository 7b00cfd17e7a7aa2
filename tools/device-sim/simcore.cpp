#include "tools/device-sim/simcore.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <random>
#include <sstream>
#include <stdexcept>

namespace devsim {

std::uint8_t ToBcd(int value) {
    return static_cast<std::uint8_t>((value / 10) * 16 + value % 10);
}

int FromBcd(std::uint8_t bcd) {
    const int high = bcd >> 4;
    const int low = bcd & 0x0F;
    if (high > 9 || low > 9) return -1;
    return high * 10 + low;
}

namespace {

Bytes MakeFrame(int device, std::uint8_t code, std::uint8_t p1, std::uint8_t p2) {
    const char n = static_cast<char>(device);
    return Bytes{n, static_cast<char>(code), static_cast<char>(p1), static_cast<char>(p2), n};
}

std::string TwoDigits(int v) {
    return std::string{static_cast<char>('0' + v / 10 % 10), static_cast<char>('0' + v % 10)};
}

std::string Fixed2(double v) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2);
    std::string text(buf, res.ptr);
    // The device writes a missing value as 9999 with or without a decimal point,
    // so a real reading must never spell 99.99.
    if (text == "99.99") text = "99.98";
    return text;
}

std::vector<std::string> Tokens(std::string_view line) {
    std::vector<std::string> out;
    std::string cur;
    for (const char c : line) {
        if (c == ' ' || c == '\t') {
            if (!cur.empty()) out.push_back(std::move(cur));
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) out.push_back(std::move(cur));
    return out;
}

bool ToInt(const std::string& s, int& out) {
    const auto res = std::from_chars(s.data(), s.data() + s.size(), out);
    return res.ec == std::errc{} && res.ptr == s.data() + s.size();
}

bool ValidDay(int day, int month) {
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

} // namespace

Bytes ResetFrame(int device) {
    return MakeFrame(device, CmdResetIndex, 0, 0);
}

Bytes ReadDayFrame(int device, int month, int day) {
    return MakeFrame(device, CmdReadDay, ToBcd(month), ToBcd(day));
}

// ---------------------------------------------------------------------------

void Archive::Add(DayKey key, std::string text) {
    days_[key].push_back(std::move(text));
}

const std::vector<std::string>& Archive::Day(DayKey key) const {
    static const std::vector<std::string> none;
    const auto it = days_.find(key);
    return it == days_.end() ? none : it->second;
}

std::size_t Archive::RecordCount() const {
    std::size_t n = 0;
    for (const auto& [key, records] : days_) n += records.size();
    return n;
}

Archive GenerateArchive(const GenerateOptions& options) {
    using namespace std::chrono;
    Archive archive;
    std::mt19937 rng(options.seed);
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    const int perDay = std::max(options.recordsPerDay, 0);
    long valueCount = 0;
    const sys_days first{options.first};
    for (int d = 0; d < options.days; ++d) {
        const year_month_day date{first + days{d}};
        const int month = static_cast<int>(static_cast<unsigned>(date.month()));
        const int day = static_cast<int>(static_cast<unsigned>(date.day()));
        std::vector<std::string> records;
        for (int r = 0; r < perDay; ++r) {
            const int minuteOfDay = r * 1440 / perDay;
            std::string text = TwoDigits(day) + ' ' + TwoDigits(month) + ' ' + TwoDigits(minuteOfDay / 60) +
                               ' ' + TwoDigits(minuteOfDay % 60);
            const double phase = 2 * std::numbers::pi * minuteOfDay / 1440.0;
            for (int k = 0; k < options.values; ++k) {
                ++valueCount;
                text += ' ';
                if (options.missingEvery > 0 && valueCount % options.missingEvery == 0) {
                    text += "9999";
                    continue;
                }
                const double base = 10.0 * (k + 1);
                const double amplitude = 2.0 + k;
                text += Fixed2(base + amplitude * std::sin(phase + k) + 0.05 * amplitude * noise(rng));
            }
            records.push_back(std::move(text));
        }
        if (options.outOfOrder) {
            for (std::size_t i = records.size(); i > 1; --i) std::swap(records[i - 1], records[rng() % i]);
        }
        for (auto& text : records) archive.Add({month, day}, std::move(text));
    }
    return archive;
}

Archive ParseArchive(std::istream& in) {
    Archive archive;
    std::string line;
    int lineNo = 0;
    bool haveDay = false;
    DayKey current;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto tokens = Tokens(line);
        if (tokens.empty() || tokens[0][0] == '#') continue;
        if (tokens[0] == "@") {
            int day = 0, month = 0;
            const auto dot = tokens.size() == 2 ? tokens[1].find('.') : std::string::npos;
            if (dot == std::string::npos || !ToInt(tokens[1].substr(0, dot), day) ||
                !ToInt(tokens[1].substr(dot + 1), month) || !ValidDay(day, month)) {
                throw std::runtime_error("line " + std::to_string(lineNo) + ": expected \"@ DD.MM\"");
            }
            current = {month, day};
            haveDay = true;
            continue;
        }
        if (haveDay) {
            archive.Add(current, line);
            continue;
        }
        int day = 0, month = 0;
        if (tokens.size() < 2 || !ToInt(tokens[0], day) || !ToInt(tokens[1], month) ||
            !ValidDay(day, month)) {
            throw std::runtime_error(
                "line " + std::to_string(lineNo) +
                ": a record needs its day and month first, or an \"@ DD.MM\" line before it");
        }
        archive.Add({month, day}, line);
    }
    return archive;
}

// ---------------------------------------------------------------------------

Device::Device(Archive archive, DeviceOptions options)
    : archive_(std::move(archive)), options_(std::move(options)) {}

bool Device::Silent() const {
    if (options_.silentFrom <= 0 || commands_ < options_.silentFrom) return false;
    return options_.silentCount <= 0 || commands_ < options_.silentFrom + options_.silentCount;
}

std::vector<Bytes> Device::Receive(std::string_view bytes) {
    pending_.append(bytes);
    std::vector<Bytes> replies;
    std::size_t pos = 0;
    while (pending_.size() - pos >= 5) {
        const auto at = [&](std::size_t i) { return static_cast<std::uint8_t>(pending_[pos + i]); };
        if (at(0) == 0 || at(0) != at(4)) {
            ++pos; // not a frame boundary: slide by one byte
            continue;
        }
        Frame frame{pending_.substr(pos, 5), at(0) == options_.device, false};
        pos += 5;
        if (frame.toMe) {
            ++commands_;
            if (!Silent()) {
                Bytes reply = Answer(static_cast<std::uint8_t>(frame.bytes[1]),
                                     static_cast<std::uint8_t>(frame.bytes[2]),
                                     static_cast<std::uint8_t>(frame.bytes[3]));
                if (!reply.empty()) {
                    frame.answered = true;
                    replies.push_back(options_.garbageBefore + reply);
                }
            }
        }
        frames_.push_back(std::move(frame));
    }
    pending_.erase(0, pos);
    return replies;
}

Bytes Device::Answer(std::uint8_t code, std::uint8_t p1, std::uint8_t p2) {
    switch (code) {
    case CmdResetIndex:
        index_ = 0;
        return options_.resetReply;
    case CmdReadDay: {
        const int month = FromBcd(p1);
        const int day = FromBcd(p2);
        if (month < 0 || day < 0) return Bytes{DayComplete, RecordEnd};
        return ReadDay({month, day});
    }
    default:
        return {}; // an unknown command gets no answer
    }
}

Bytes Device::ReadDay(DayKey key) {
    const auto& records = archive_.Day(key);
    if (index_ >= records.size()) {
        // Reached also by the reply after a "separate" last portion.
        return Bytes{DayComplete, RecordEnd};
    }
    const std::size_t portion = options_.portion == 0 ? records.size() : options_.portion;
    const std::size_t end = std::min(records.size(), index_ + portion);
    Bytes reply;
    for (std::size_t i = index_; i < end; ++i) {
        if (i > index_) reply += options_.garbageBetween;
        reply += RecordStart;
        reply += options_.header;
        reply += records[i];
        reply += RecordEnd;
    }
    index_ = end;
    if (end < records.size() || options_.dayEnd == DayEndStyle::Separate) {
        reply += PortionMore;
    } else {
        reply += DayComplete;
        reply += RecordEnd;
    }
    return reply;
}

// ---------------------------------------------------------------------------

std::chrono::nanoseconds ByteTime(int baud) {
    if (baud <= 0) return std::chrono::nanoseconds{0};
    return std::chrono::nanoseconds{11'000'000'000LL / baud};
}

std::vector<Burst> Shape(const Bytes& reply, const LineOptions& line) {
    using std::chrono::microseconds;
    std::vector<std::size_t> cuts;
    if (!line.splitAt.empty()) {
        for (const std::size_t at : line.splitAt) {
            if (at > 0 && at < reply.size()) cuts.push_back(at);
        }
        std::sort(cuts.begin(), cuts.end());
        cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    } else if (line.chunk > 0) {
        for (std::size_t at = line.chunk; at < reply.size(); at += line.chunk) cuts.push_back(at);
    }
    cuts.push_back(reply.size());
    std::vector<Burst> bursts;
    std::size_t from = 0;
    for (const std::size_t to : cuts) {
        const microseconds delay = bursts.empty() ? microseconds{line.latency} : microseconds{line.gap};
        bursts.push_back({delay, reply.substr(from, to - from)});
        from = to;
    }
    return bursts;
}

} // namespace devsim
