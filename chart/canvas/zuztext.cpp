#include "chart/canvas/zuztext.h"

#include "platform/core/components.h"
#include "platform/core/streams.h"
#include "platform/core/sysutils.h"
#include "platform/gui/clipbrd.h"
#include "platform/win32/shell.h"

String ZuzFieldsSeparator = u";";

int ZuzNumFields(const String& Text) {
    return ZuzNumFields(Text, ZuzFieldsSeparator);
}

int ZuzNumFields(const String& Text, const String& Separator) {
    if (Text.empty()) return 0;
    if (Separator.empty()) return 1;
    int n = 1;
    for (std::size_t at = Text.find(Separator); at != String::npos;
         at = Text.find(Separator, at + Separator.size()))
        ++n;
    return n;
}

String ZuzExtractField(const String& Text, int Index) {
    return ZuzExtractField(Text, Index, ZuzFieldsSeparator);
}

String ZuzExtractField(const String& Text, int Index, const String& Separator) {
    if (Text.empty() || Index < 1) return String();
    std::size_t start = 0;
    for (int i = 1; i < Index && !Separator.empty(); ++i) {
        const std::size_t at = Text.find(Separator, start);
        if (at == String::npos) break; // beyond the end: the last field
        start = at + Separator.size();
    }
    const std::size_t end = Separator.empty() ? String::npos : Text.find(Separator, start);
    return Text.substr(start, end == String::npos ? String::npos : end - start);
}

String ReplaceChar(const String& Text, Char Old, Char New) {
    String out;
    out.reserve(Text.size());
    for (const Char c : Text) {
        if (c != Old)
            out += c;
        else if (New != 0)
            out += New;
    }
    return out;
}

namespace {
// Thousands and decimal characters swapped in one pass, so that neither turns into the other.
String SwapSeparators(const String& Format, Char FromThousands, Char FromDecimal, Char ToThousands,
                      Char ToDecimal) {
    if (FormatSettings.ThousandSeparator == FormatSettings.DecimalSeparator) return Format;
    String out = Format;
    for (Char& c : out) {
        if (c == FromThousands)
            c = ToThousands;
        else if (c == FromDecimal)
            c = ToDecimal;
    }
    return out;
}
} // namespace

String SarvikToLocalFormat(const String& Format) {
    return SwapSeparators(Format, u',', u'.', FormatSettings.ThousandSeparator,
                          FormatSettings.DecimalSeparator);
}

String LocalToSarvikFormat(const String& Format) {
    return SwapSeparators(Format, FormatSettings.ThousandSeparator, FormatSettings.DecimalSeparator, u',',
                          u'.');
}

String ZuzStr(int Number) {
    return IntToStr(Number);
}

void ZuzSort(int StartIndex, int EndIndex, const TZuzCompareProc& Compare, const TZuzSwapProc& Swap) {
    while (StartIndex < EndIndex) {
        int left = StartIndex, right = EndIndex, pivot = (StartIndex + EndIndex) / 2;
        while (left <= right) {
            while (left <= EndIndex && Compare(left, pivot) < 0) ++left;
            while (right >= StartIndex && Compare(pivot, right) < 0) --right;
            if (left > right) break;
            if (left != right) {
                Swap(left, right);
                // The pivot is followed to where it went.
                if (pivot == left)
                    pivot = right;
                else if (pivot == right)
                    pivot = left;
            }
            ++left;
            --right;
        }
        // The smaller half by recursion, the larger by the loop: the depth stays logarithmic.
        if (right - StartIndex < EndIndex - left) {
            ZuzSort(StartIndex, right, Compare, Swap);
            StartIndex = left;
        } else {
            ZuzSort(left, EndIndex, Compare, Swap);
            EndIndex = right;
        }
    }
}

String ZuzGetUniqueName(const TComponent* Owner, const String& Prefix) {
    for (int i = 1;; ++i) {
        String name = Prefix + IntToStr(i);
        if (!Owner || !Owner->FindComponent(name)) return name;
    }
}

void TZuzExportData::CopyToClipboard() {
    Clipboard()->SetAsText(AsString());
}

void TZuzExportData::SaveToStream(TStream* Stream) {
    const String text = AsString();
    const Byte bom[2] = {0xFF, 0xFE};
    Stream->WriteBuffer(bom, 2);
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (const Char c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    if (!bytes.empty()) Stream->WriteBuffer(bytes.data(), static_cast<LongInt>(bytes.size()));
}

void TZuzExportData::SaveToFile(const String& FileName) {
    TMemoryStream bytes;
    SaveToStream(&bytes);
    bytes.SaveToFile(FileName);
}

void ZuzGotoURL(const void* Handle, const String& URL) {
    ShellExecuteW(Handle, u"open", URL, String(), String(), SW_SHOWNORMAL);
}
