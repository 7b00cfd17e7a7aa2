#include "platform/core/inifiles.h"

#include "platform/core/streams.h"
#include "platform/core/sysutils.h"

#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The file as lines, kept whole so comments and lines we do not understand
// survive a write.
struct IniText {
    std::vector<String> lines;

    static IniText Load(const String& fileName) {
        IniText text;
        std::ifstream in(fs::path(UTF8Encode(fileName)), std::ios::binary);
        std::string line;
        bool first = true;
        while (std::getline(in, line)) {
            if (first && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
            first = false;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            text.lines.push_back(UTF8ToString(line));
        }
        return text;
    }

    void Save(const String& fileName) const {
        AnsiString text;
        for (const String& l : lines) text += UTF8Encode(l) + "\r\n";
        try {
            ReplaceFileContents(fileName, text.data(), text.size());
        } catch (const EStreamError& e) {
            throw EIniFileException(e.Message()); // it names the file and the reason
        }
    }

    static String Trim(const String& s) {
        std::size_t b = 0, e = s.size();
        while (b < e && (s[b] == u' ' || s[b] == u'\t')) ++b;
        while (e > b && (s[e - 1] == u' ' || s[e - 1] == u'\t')) --e;
        return s.substr(b, e - b);
    }

    // The name of a "[name]" line; false for any other line.
    static bool SectionName(const String& line, String& name) {
        const String t = Trim(line);
        if (t.size() < 2 || t.front() != u'[' || t.back() != u']') return false;
        name = Trim(t.substr(1, t.size() - 2));
        return true;
    }

    // The key and value of a "key=value" line; false for any other line.
    static bool KeyValue(const String& line, String& key, String& value) {
        const String t = Trim(line);
        if (t.empty() || t[0] == u';' || t[0] == u'#' || t[0] == u'[') return false;
        const std::size_t eq = t.find(u'=');
        if (eq == String::npos) return false;
        key = Trim(t.substr(0, eq));
        value = Trim(t.substr(eq + 1));
        return !key.empty();
    }

    // [first, end) of a section's body (the lines after its header); first is
    // npos when the section is missing. A repeated section header continues
    // nothing: the first one counts.
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
        text.lines[at] = line;
    } else {
        auto [first, end] = text.Body(Section);
        if (first == String::npos) {
            // A blank line between sections, as people write them.
            if (!text.lines.empty() && !IniText::Trim(text.lines.back()).empty()) text.lines.emplace_back();
            text.lines.push_back(u"[" + Section + u"]");
            end = text.lines.size();
        } else {
            // After the section's last key, before the blank lines that end it.
            while (end > first && IniText::Trim(text.lines[end - 1]).empty()) --end;
        }
        text.lines.insert(text.lines.begin() + static_cast<std::ptrdiff_t>(end), line);
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
        if (IniText::KeyValue(text.lines[i], key, value)) Strings->Add(key);
}

void TIniFile::ReadSections(TStrings* Strings) const {
    const IniText text = IniText::Load(FFileName);
    Strings->Clear();
    String name;
    for (const String& l : text.lines)
        if (IniText::SectionName(l, name)) Strings->Add(name);
}

void TIniFile::EraseSection(const String& Section) {
    IniText text = IniText::Load(FFileName);
    const auto [first, end] = text.Body(Section);
    if (first == String::npos) return;
    text.lines.erase(text.lines.begin() + static_cast<std::ptrdiff_t>(first - 1),
                     text.lines.begin() + static_cast<std::ptrdiff_t>(end));
    text.Save(FFileName);
}

void TIniFile::DeleteKey(const String& Section, const String& Ident) {
    IniText text = IniText::Load(FFileName);
    const std::size_t at = text.KeyLine(Section, Ident);
    if (at == String::npos) return;
    text.lines.erase(text.lines.begin() + static_cast<std::ptrdiff_t>(at));
    text.Save(FFileName);
}
