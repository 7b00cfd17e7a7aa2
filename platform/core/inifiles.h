#pragma once
// TIniFile: settings in a text file of [sections] and key=value lines, UTF-8.
// Every read looks at the file as it is now; every write replaces the whole
// file at once (a temporary file renamed over it), so a reader never sees a
// half-written file and a failed write leaves the old one whole.
// Section and key names compare without regard to ASCII case; of a repeated section (or
// key) the first one counts. A byte-order mark counts as blank wherever it stands.

#include "platform/core/lists.h"
#include "platform/core/sysutils.h"

class TIniFile : public TObject {
public:
    explicit TIniFile(const String& FileName);

    const String& GetFileName() const { return FFileName; }

    // Default when the section or the key is missing.
    String ReadString(const String& Section, const String& Ident, const String& Default) const;
    // Default also when the text is not a decimal (or $/0x hexadecimal) number.
    Integer ReadInteger(const String& Section, const String& Ident, Integer Default) const;
    // Raise EIniFileException when the file cannot be written.
    void WriteString(const String& Section, const String& Ident, const String& Value);
    void WriteInteger(const String& Section, const String& Ident, Integer Value);

    bool SectionExists(const String& Section) const;
    bool ValueExists(const String& Section, const String& Ident) const;
    // The keys of a section, and the names of all sections, in file order, each once.
    void ReadSection(const String& Section, TStrings* Strings) const;
    void ReadSections(TStrings* Strings) const;
    void EraseSection(const String& Section);
    void DeleteKey(const String& Section, const String& Ident);

private:
    String FFileName;
};

class EIniFileException : public Exception {
public:
    using Exception::Exception;
};
