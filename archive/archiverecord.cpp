#include "archive/archiverecord.h"

#include "platform/core/sysutils.h"

#include <algorithm>
#include <charconv>
#include <cmath>

Byte PackedBcd(int value) {
    return static_cast<Byte>((value / 10) * 16 + value % 10);
}

TCommandFrame ResetIndexFrame(Byte device) {
    return {device, CmdResetIndex, 0x00, 0x00, device};
}

TCommandFrame ReadDayFrame(Byte device, TDateTime day) {
    Word year = 0, month = 0, dayOfMonth = 0;
    DecodeDate(day, year, month, dayOfMonth);
    return {device, CmdReadDay, PackedBcd(month), PackedBcd(dayOfMonth), device};
}

std::vector<AnsiString> CutReplyRecords(std::string_view buffer) {
    std::vector<AnsiString> records;
    constexpr std::size_t none = std::string_view::npos;
    std::size_t start = none; // the 0xF0 of the record being collected
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        const AnsiChar c = buffer[i];
        if (c == RecordStart) {
            start = i;
        } else if (c == RecordEnd && start != none && buffer[i - 1] != RecordEnd &&
                   buffer[i - 1] != DayComplete) {
            // A record ends here; the next 0xFF needs a new 0xF0 to end one.
            // A frame with nothing after its header (a reset's reply) is no record.
            if (i - start > RecordHeaderSize)
                records.emplace_back(buffer.substr(start + RecordHeaderSize, i - start - RecordHeaderSize));
            start = none;
        }
    }
    return records;
}

namespace {

// Windows-1251 from 0x80 to 0xBF; 0xC0 to 0xFF are А to я in order. 0x98,
// which the code page leaves unassigned, stands for the C1 control U+0098.
constexpr char16_t Cp1251High[64] = {
    u'\u0402', u'\u0403', u'\u201A', u'\u0453', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u20AC', u'\u2030', u'\u0409', u'\u2039', u'\u040A', u'\u040C', u'\u040B', u'\u040F',
    u'\u0452', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u0098', u'\u2122', u'\u0459', u'\u203A', u'\u045A', u'\u045C', u'\u045B', u'\u045F',
    u'\u00A0', u'\u040E', u'\u045E', u'\u0408', u'\u00A4', u'\u0490', u'\u00A6', u'\u00A7',
    u'\u0401', u'\u00A9', u'\u0404', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u0407',
    u'\u00B0', u'\u00B1', u'\u0406', u'\u0456', u'\u0491', u'\u00B5', u'\u00B6', u'\u00B7',
    u'\u0451', u'\u2116', u'\u0454', u'\u00BB', u'\u0458', u'\u0405', u'\u0455', u'\u0457',
};

} // namespace

String DeviceText(std::string_view bytes) {
    // A device's records are ASCII as a rule.
    if (std::all_of(bytes.begin(), bytes.end(),
                    [](AnsiChar c) { return static_cast<unsigned char>(c) < 0x80; }))
        return String(bytes.begin(), bytes.end());
    String text = UTF8ToString(bytes);
    // The decoder puts U+FFFD for what is not UTF-8, so only valid UTF-8
    // encodes back to the same bytes.
    if (UTF8Encode(text) == bytes) return text;
    text.clear();
    text.reserve(bytes.size());
    for (const AnsiChar c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text += b < 0x80   ? static_cast<Char>(b)
                : b < 0xC0 ? Cp1251High[b - 0x80]
                           : static_cast<Char>(u'\u0410' + (b - 0xC0));
    }
    return text;
}

bool TryParseDeviceNumber(std::u16string_view token, double& value) {
    // Copied into plain ASCII with "." as the point, so that from_chars (which
    // knows no locale) reads it once the grammar is checked here. The device's
    // tokens are short: longer ones are no number it sends.
    constexpr std::size_t longest = 64;
    if (token.empty() || token.size() > longest) return false;
    char text[longest];
    std::size_t n = 0;
    std::size_t i = 0;
    bool negative = false;
    if (token[i] == u'+' || token[i] == u'-') negative = token[i++] == u'-';
    int digits = 0;
    bool point = false;
    for (; i < token.size(); ++i) {
        const Char c = token[i];
        if (c >= u'0' && c <= u'9') {
            text[n++] = static_cast<char>(c);
            ++digits;
        } else if ((c == u'.' || c == u',') && !point) {
            text[n++] = '.';
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) return false;
    if (i < token.size() && (token[i] == u'e' || token[i] == u'E')) {
        text[n++] = 'e';
        ++i;
        if (i < token.size() && (token[i] == u'+' || token[i] == u'-'))
            text[n++] = static_cast<char>(token[i++]);
        int expDigits = 0;
        for (; i < token.size() && token[i] >= u'0' && token[i] <= u'9'; ++i, ++expDigits)
            text[n++] = static_cast<char>(token[i]);
        if (expDigits == 0) return false;
    }
    if (i != token.size()) return false;
    double parsed = 0;
    const auto [end, ec] = std::from_chars(text, text + n, parsed);
    if (ec != std::errc{} || end != text + n || !std::isfinite(parsed)) return false;
    value = negative ? -parsed : parsed;
    return true;
}

double DeviceTokenValue(std::u16string_view token) {
    double value = 0;
    if (!TryParseDeviceNumber(token, value)) return ValueConvertError;
    // "9999" with at most one decimal point anywhere in it.
    constexpr std::u16string_view missing = u"9999";
    const auto point = token.find_first_of(u".,");
    if (point == std::u16string_view::npos) {
        if (token == missing) return ValueMissing;
    } else if (token.size() == missing.size() + 1 && token.substr(0, point) == missing.substr(0, point) &&
               token.substr(point + 1) == missing.substr(point)) {
        return ValueMissing;
    }
    return value;
}

namespace {

// A date or time field: the token's whole part when it lies in [min, max].
bool Field(double value, int min, int max, Word& field) {
    const double whole = std::trunc(value);
    if (!(whole >= min && whole <= max)) return false; // also the markers
    field = static_cast<Word>(whole);
    return true;
}

} // namespace

TArchiveRecord ParseArchiveRecord(std::u16string_view text, Word year) {
    double tokens[MaxRecordTokens];
    int n = 0;
    std::size_t i = 0;
    while (i < text.size() && n < MaxRecordTokens) {
        while (i < text.size() && text[i] == u' ') ++i;
        const std::size_t from = i;
        while (i < text.size() && text[i] != u' ') ++i;
        if (i > from) tokens[n++] = DeviceTokenValue(text.substr(from, i - from));
    }

    TArchiveRecord record;
    if (n < RecordTimeTokens) return record;
    Word day = 0, month = 0, hour = 0, minute = 0;
    TDateTime date = 0, time = 0;
    if (Field(tokens[0], 1, 31, day) && Field(tokens[1], 1, 12, month) && Field(tokens[2], 0, 23, hour) &&
        Field(tokens[3], 0, 59, minute) && TryEncodeDate(year, month, day, date) &&
        TryEncodeTime(hour, minute, 0, 0, time)) {
        record.timeValid = true;
        record.time = date + time;
    }
    record.values.assign(tokens + RecordTimeTokens, tokens + n);
    return record;
}
