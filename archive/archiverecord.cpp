#include "archive/archiverecord.h"

#include "platform/core/sysutils.h"

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
            if (i - start >= RecordHeaderSize)
                records.emplace_back(buffer.substr(start + RecordHeaderSize, i - start - RecordHeaderSize));
            start = none;
        }
    }
    return records;
}

bool TryParseDeviceNumber(std::u16string_view token, double& value) {
    // Copied into plain ASCII with "." as the point, so that from_chars (which
    // knows no locale) can read it once the grammar is checked here.
    std::string text;
    text.reserve(token.size());
    std::size_t i = 0;
    bool negative = false;
    if (i < token.size() && (token[i] == u'+' || token[i] == u'-')) negative = token[i++] == u'-';
    int digits = 0;
    bool point = false;
    for (; i < token.size(); ++i) {
        const Char c = token[i];
        if (c >= u'0' && c <= u'9') {
            text += static_cast<char>(c);
            ++digits;
        } else if ((c == u'.' || c == u',') && !point) {
            text += '.';
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) return false;
    if (i < token.size() && (token[i] == u'e' || token[i] == u'E')) {
        text += 'e';
        ++i;
        if (i < token.size() && (token[i] == u'+' || token[i] == u'-')) text += static_cast<char>(token[i++]);
        int expDigits = 0;
        for (; i < token.size() && token[i] >= u'0' && token[i] <= u'9'; ++i, ++expDigits)
            text += static_cast<char>(token[i]);
        if (expDigits == 0) return false;
    }
    if (i != token.size()) return false;
    double parsed = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (ec != std::errc{} || end != text.data() + text.size() || !std::isfinite(parsed)) return false;
    value = negative ? -parsed : parsed;
    return true;
}

double DeviceTokenValue(std::u16string_view token) {
    double value = 0;
    if (!TryParseDeviceNumber(token, value)) return ValueConvertError;
    String digits(token);
    const auto point = digits.find_first_of(u".,");
    if (point != String::npos) digits.erase(point, 1);
    if (digits == u"9999") return ValueMissing;
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
