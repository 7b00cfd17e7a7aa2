#include "chart/canvas/zuztextxml.h"

#include "platform/core/streams.h"
#include "platform/core/sysutils.h"

#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

String TStringsStack::Pop() {
    const int n = GetCount();
    if (n == 0) return {};
    String last = GetStrings(n - 1);
    Delete(n - 1);
    return last;
}

String ZuzDefaultXMLEncoding() {
    // Every XML text here is written as UTF-16, whatever the system's language.
    return u"UTF-16";
}

// Texts placed in XML attributes: markup characters as references, so a value
// can never break the document. The chart's XML form keeps apostrophes and line
// breaks as they are; the data exports also turn those into references (see the
// header).
String ZuzEscapeXML(const String& Text, bool ApostrophesAndBreaks) {
    String out;
    for (const Char c : Text) {
        switch (c) {
        case u'&':
            out += u"&amp;";
            break;
        case u'<':
            out += u"&lt;";
            break;
        case u'>':
            out += u"&gt;";
            break;
        case u'"':
            out += u"&quot;";
            break;
        case u'\'':
            out += ApostrophesAndBreaks ? u"&#39;" : u"'";
            break;
        case u'\r':
            out += ApostrophesAndBreaks ? u"&#13;" : u"\r";
            break;
        case u'\n':
            out += ApostrophesAndBreaks ? u"&#10;" : u"\n";
            break;
        default:
            out += c;
        }
    }
    return out;
}

namespace {

std::vector<String> Lines(const String& Text) {
    std::vector<String> lines;
    std::size_t start = 0;
    while (start <= Text.size()) {
        std::size_t end = Text.find(u'\n', start);
        if (end == String::npos) end = Text.size();
        String line = Trim(std::u16string_view(Text).substr(start, end - start));
        if (!line.empty()) lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

bool EndsWith(const String& S, Char C) {
    return !S.empty() && S.back() == C;
}

class Converter {
public:
    explicit Converter(std::vector<String> Lines) : FLines(std::move(Lines)) {}

    String Run(bool XMLHeader) {
        if (XMLHeader) Emit(u"<?xml version=\"1.0\" encoding=\"" + ZuzDefaultXMLEncoding() + u"\"?>");
        while (FAt < FLines.size()) Line(FLines[FAt++]);
        while (FStack.GetCount() > 0) Close();
        return FOut;
    }

private:
    void Emit(const String& S) { FOut += String(static_cast<std::size_t>(FIndent), u' ') + S + u"\r\n"; }
    void Open(const String& Name, const String& Attributes) {
        Emit(u"<" + Name + Attributes + u">");
        FStack.Push(Name);
        FIndent += 2;
    }
    void Close() {
        const String name = FStack.Pop();
        FIndent -= 2;
        Emit(u"</" + name + u">");
    }
    bool NextIs(const char16_t* Word) const { return FAt < FLines.size() && UpperCase(FLines[FAt]) == Word; }

    void Line(const String& L) {
        const String upper = UpperCase(L);
        if (upper == u"END" || upper == u"END>") {
            if (FStack.GetCount() > 0) Close();
            return;
        }
        const std::size_t space = L.find(u' ');
        const String first = UpperCase(L.substr(0, space));
        if (first == u"OBJECT" && space != String::npos) {
            const String rest = Trim(std::u16string_view(L).substr(space + 1));
            const std::size_t colon = rest.find(u':');
            const String cls =
                colon == String::npos ? rest : Trim(std::u16string_view(rest).substr(colon + 1));
            const String attrs = colon == String::npos
                                     ? String()
                                     : u" Name=\"" + ZuzEscapeXML(Trim(rest.substr(0, colon))) + u"\"";
            if (NextIs(u"END")) {
                ++FAt;
                Emit(u"<" + cls + attrs + u"/>");
            } else {
                Open(cls, attrs);
            }
            return;
        }
        if (upper == u"ITEM") {
            Open(u"item", String());
            return;
        }
        const std::size_t eq = L.find(u'=');
        if (eq == String::npos) return; // nothing this form knows
        const String name = Trim(L.substr(0, eq));
        const String value = Trim(L.substr(eq + 1));
        if (value == u"(") {
            Open(name, String());
            while (FAt < FLines.size()) {
                String s = FLines[FAt++];
                const bool last = EndsWith(s, u')');
                if (last) s.pop_back();
                if (!s.empty()) Emit(u"<String value=\"" + ZuzEscapeXML(s) + u"\"/>");
                if (last) break;
            }
            Close();
        } else if (value == u"{") {
            String data;
            while (FAt < FLines.size()) {
                String s = FLines[FAt++];
                const bool last = EndsWith(s, u'}');
                if (last) s.pop_back();
                data += s;
                if (last) break;
            }
            Emit(u"<" + name + u" value=\"" + ZuzEscapeXML(data) + u"\"/>");
        } else if (value == u"<>") {
            Emit(u"<" + name + u"/>");
        } else if (value == u"<") {
            Open(name, String()); // its items follow; "end>" closes it
        } else {
            Emit(u"<" + name + u" value=\"" + ZuzEscapeXML(value) + u"\"/>");
        }
    }

    std::vector<String> FLines;
    std::size_t FAt = 0;
    int FIndent = 0;
    TStringsStack FStack;
    String FOut;
};

} // namespace

String TextToXML(const String& Text, bool XMLHeader) {
    return Converter(Lines(Text)).Run(XMLHeader);
}

void ConvertTextToXML(TStream* Stream, bool XMLHeader) {
    Stream->SetPosition(0);
    std::string bytes(static_cast<std::size_t>(Stream->GetSize()), '\0');
    if (!bytes.empty()) Stream->ReadBuffer(bytes.data(), static_cast<LongInt>(bytes.size()));
    const String xml = TextToXML(UTF8ToString(bytes), XMLHeader);
    Stream->SetSize(0);
    Stream->SetPosition(0);
    const char16_t bom = 0xFEFF;
    Stream->WriteBuffer(&bom, 2);
    // Little-endian UTF-16, the declaration's encoding, on the machines this runs on.
    if (!xml.empty()) Stream->WriteBuffer(xml.data(), static_cast<LongInt>(xml.size() * 2));
}
