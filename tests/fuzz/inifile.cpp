// The settings file: whatever the file holds, reading it never breaks, and a
// value written into it reads back, with every other value as it was.
#include "platform/core/inifiles.h"
#include "tests/fuzz/fuzzing.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <utility>

namespace {

std::string FileBytes(const std::string& File) {
    std::ifstream in(File, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Put(const std::string& File, std::string_view Bytes) {
    std::ofstream out(File, std::ios::binary | std::ios::trunc);
    out.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
    if (!out.flush()) fuzz::Fail("cannot write the settings file");
}

// Every value the file gives, by the section and the key as listed (upper case).
std::map<std::pair<String, String>, String> Values(const TIniFile& Ini) {
    std::map<std::pair<String, String>, String> values;
    TStringList sections, keys;
    Ini.ReadSections(&sections);
    for (int s = 0; s < sections.GetCount(); ++s) {
        const String& section = sections.GetStrings(s);
        Ini.ReadSection(section, &keys);
        for (int k = 0; k < keys.GetCount(); ++k) {
            const String& key = keys.GetStrings(k);
            values[{UpperCase(section), UpperCase(key)}] = Ini.ReadString(section, key, u"\x1F");
            Ini.ReadInteger(section, key, 0);
        }
    }
    return values;
}

} // namespace

fuzz::Seeds FuzzSeeds() {
    const std::string file = fuzz::ScratchDir() + "/seed.ini";
    std::filesystem::remove(file);
    TIniFile ini(UTF8ToString(file));
    ini.WriteString(u"Port", u"Name", u"/dev/ttyS0");
    ini.WriteInteger(u"Port", u"BaudRate", 9600);
    ini.WriteString(u"Графики", u"Заголовок", u"Расход = тепло; [м3]");
    ini.WriteString(u"Empty", u"", u"");
    const std::string written = FileBytes(file);
    return {{"settings.ini", written}, {"bom.ini", "\xEF\xBB\xBF" + written}};
}

void FuzzOne(std::string_view Input) {
    const std::string file = fuzz::ScratchDir() + "/fuzz.ini";
    Put(file, Input);
    auto before = Values(TIniFile(UTF8ToString(file)));
    TStringList sections;
    TIniFile(UTF8ToString(file)).ReadSections(&sections);
    const String section = sections.GetCount() > 0 ? sections.GetStrings(0) : String(u"Fuzz");
    TIniFile(UTF8ToString(file)).WriteString(section, u"Value", u"1");
    const TIniFile ini(UTF8ToString(file));
    fuzz::Check(ini.ReadString(section, u"Value", u"") == u"1", "a written value does not read back");
    auto after = Values(ini);
    before.erase({UpperCase(section), u"VALUE"});
    after.erase({UpperCase(section), u"VALUE"});
    fuzz::Check(before == after, "writing a value changed the others");
}
