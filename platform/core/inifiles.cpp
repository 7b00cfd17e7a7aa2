#include "platform/core/inifiles.h"

#include "platform/core/streams.h"
#include "platform/core/sysutils.h"

#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The file as lines of bytes, kept as read so that comments and lines we do not understand
// (or that are not UTF-8) survive a write unchanged.
struct IniText {
    std::vector<std::string> lines;

    static IniText Load(const String& fileName) {
        IniText text;
        std::ifstream in(fs::path(UTF8Encode(fileName)), std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            text.lines.push_back(std::move(line));
        }
        return text;
    }

    void Save(const String& fileName) const {
        std::string bytes;
        for (const std::string& l : lines) bytes += l + "\r\n";
        try {
            ReplaceFileContents(fileName, bytes.data(), bytes.size());
        } catch (const EStreamError& e) {
            throw EIniFileException(e.Message()); // it names the file and the reason
        }
    }

    void Insert(std::size_t at, const String& line) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), UTF8Encode(line));
    }

    // A byte-order mark is taken as blank wherever it stands: at the start of the file, twice
    // there, or stray inside it, reading and writing see the same lines.
    static String Trim(std::u16string_view s) {
        const auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\uFEFF'; };
        std::size_t b = 0, e = s.size();
        while (b < e && blank(s[b])) ++b;
        while (e > b && blank(s[e - 1])) --e;
        return String(s.substr(b, e - b));
    }
    static String Trim(std::string_view line) { return Trim(UTF8ToString(line)); }

    // The name of a "[name]" line (an empty name too); false for any other line.
    static bool SectionName(std::string_view line, String& name) {
        const String t = Trim(line);
        if (t.size() < 2 || t.front() != u'[' || t.back() != u']') return false;
        name = Trim(std::u16string_view(t).substr(1, t.size() - 2));
        return true;
    }

    // The key and value of a "key=value" line; false for any other line.
    static bool KeyValue(std::string_view line, String& key, String& value) {
        const String t = Trim(line);
        if (t.empty() || t[0] == u';' || t[0] == u'#' || t[0] == u'[') return false;
        const std::size_t eq = t.find(u'=');
        if (eq == String::npos) return false;
        key = Trim(std::u16string_view(t).substr(0, eq));
        value = Trim(std::u16string_view(t).substr(eq + 1));
        return !key.empty();
    }

    // [first, end) of a section's body (the lines after its header); first is npos when the
    // section is missing. Of repeated headers the first one counts for every read and write;
    // the later ones are seen by nothing but an erase.
    std::pair<std::size_t, std::size_t> Body(const String& section) const {
        String name;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (!SectionName(lines[i], name) || !SameText(name, section)) continue;
            std::size_t end = i + 1;
            while (end < lines.size() && !SectionName(lines[end], name)) ++end;
            return {i + 1, end};
        }
        return {String::npos, String::npos};
    }

    // The line of a key inside a section; npos when missing.
    std::size_t KeyLine(const String& section, const String& ident) const {
        const auto [first, end] = Body(section);
        if (first == String::npos) return String::npos;
        String key, value;
        for (std::size_t i = first; i < end; ++i)
            if (KeyValue(lines[i], key, value) && SameText(key, ident)) return i;
        return String::npos;
    }
};

// Adds Name unless a name that differs from it only in ASCII case is there already.
void AddOnce(TStrings* Strings, const String& Name) {
    for (int i = 0; i < Strings->GetCount(); ++i)
        if (SameText((*Strings)[i], Name)) return;
    Strings->Add(Name);
}

} // namespace

TIniFile::TIniFile(const String& FileName) : FFileName(FileName) {}

String TIniFile::ReadString(const String& Section, const String& Ident, const String& Default) const {
    const IniText text = IniText::Load(FFileName);
    const std::size_t at = text.KeyLine(Section, Ident);
    if (at == String::npos) return Default;
    String key, value;
    IniText::KeyValue(text.lines[at], key, value);
    return value;
}

Integer TIniFile::ReadInteger(const String& Section, const String& Ident, Integer Default) const {
    String s = ReadString(Section, Ident, String());
    if (s.size() > 2 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X')) s = u"$" + s.substr(2);
    return StrToIntDef(s, Default);
}

void TIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
    IniText text = IniText::Load(FFileName);
    const String line = Ident + u"=" + Value;
    const std::size_t at = text.KeyLine(Section, Ident);
    if (at != String::npos) {
        text.lines[at] = UTF8Encode(line);
    } else {
        auto [first, end] = text.Body(Section);
        if (first == String::npos) {
            // A blank line between sections, as people write them.
            if (!text.lines.empty() && !IniText::Trim(text.lines.back()).empty()) text.lines.emplace_back();
            text.lines.push_back(UTF8Encode(u"[" + Section + u"]"));
            end = text.lines.size();
        } else {
            // After the section's last key, before the blank lines that end it.
            while (end > first && IniText::Trim(text.lines[end - 1]).empty()) --end;
        }
        text.Insert(end, line);
    }
    text.Save(FFileName);
}

void TIniFile::WriteInteger(const String& Section, const String& Ident, Integer Value) {
    WriteString(Section, Ident, IntToStr(Value));
}

bool TIniFile::SectionExists(const String& Section) const {
    return IniText::Load(FFileName).Body(Section).first != String::npos;
}

bool TIniFile::ValueExists(const String& Section, const String& Ident) const {
    return IniText::Load(FFileName).KeyLine(Section, Ident) != String::npos;
}

void TIniFile::ReadSection(const String& Section, TStrings* Strings) const {
    const IniText text = IniText::Load(FFileName);
    Strings->Clear();
    const auto [first, end] = text.Body(Section);
    if (first == String::npos) return;
    String key, value;
    for (std::size_t i = first; i < end; ++i)
        if (IniText::KeyValue(text.lines[i], key, value)) AddOnce(Strings, key);
}

void TIniFile::ReadSections(TStrings* Strings) const {
    const IniText text = IniText::Load(FFileName);
    Strings->Clear();
    String name;
    for (const std::string& l : text.lines)
        if (IniText::SectionName(l, name)) AddOnce(Strings, name);
}

// Every section of that name goes, so that none of its repeats comes forward in its place.
void TIniFile::EraseSection(const String& Section) {
    IniText text = IniText::Load(FFileName);
    bool erased = false;
    for (;;) {
        const auto [first, end] = text.Body(Section);
        if (first == String::npos) break;
        text.lines.erase(text.lines.begin() + static_cast<std::ptrdiff_t>(first - 1),
                         text.lines.begin() + static_cast<std::ptrdiff_t>(end));
        erased = true;
    }
    if (erased) text.Save(FFileName);
}

// Every line of that key in the section goes, so that no repeat of it comes forward.
void TIniFile::DeleteKey(const String& Section, const String& Ident) {
    IniText text = IniText::Load(FFileName);
    bool deleted = false;
    for (std::size_t at = text.KeyLine(Section, Ident); at != String::npos;
         at = text.KeyLine(Section, Ident)) {
        text.lines.erase(text.lines.begin() + static_cast<std::ptrdiff_t>(at));
        deleted = true;
    }
    if (deleted) text.Save(FFileName);
}
