// The series-data exporters of the chart file unit.
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzprocs.h"
#include "chart/canvas/zuztextxml.h"
#include "chart/engine/chartvaluelist.h"
#include "chart/engine/seriestypes.h"
#include "chart/series/zuzstore.h"
#include "platform/core/streams.h"
#include "platform/core/sysutils.h"
#include "platform/gui/graphics.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

const char16_t* const kCRLF = u"\r\n";

String ColorText(TColor Color) {
    if (Color == clDefault) return u"#000000";
    const auto rgb = static_cast<std::uint32_t>(ColorToRGB(Color));
    static const char16_t hex[] = u"0123456789abcdef";
    String out = u"#";
    for (const int shift : {0, 8, 16}) {
        const unsigned byte = (rgb >> shift) & 0xFF;
        out += hex[byte >> 4];
        out += hex[byte & 0xF];
    }
    return out;
}

String Label(const TChartSeries* S, int Index) {
    return S->Labels().GetLabel(Index);
}

// The value lists after the X column: the mandatory list, then lists 2 onwards.
std::vector<TChartValueList*> ValueColumns(const TChartSeries* S) {
    std::vector<TChartValueList*> out{S->MandatoryValueList()};
    for (int l = 2; l < S->ValuesList().Count(); ++l) out.push_back(S->ValuesList()[l]);
    return out;
}

} // namespace

// ---------------------------------------------------------------------------
// TSeriesData

TSeriesData::TSeriesData(TCustomChart* AChart, TChartSeries* ASeries) : Chart(AChart), Series(ASeries) {}

void TSeriesData::GuessSeriesFormat() {
    TChartSeries* s = Series;
    if (!s && Chart)
        for (int i = 0; i < Chart->SeriesCount() && !s; ++i)
            if (Chart->GetSeries(i)->Count() > 0) s = Chart->GetSeries(i);
    if (s) Format = SeriesGuessContents(s);
}

void TSeriesData::Prepare() {
    GuessSeriesFormat();
    if (!IncludeLabels) Format.Exclude(tfLabel);
    if (!IncludeColors) Format.Exclude(tfColor);
}

int TSeriesData::RowCount() const {
    if (Series) return Series->Count();
    int rows = 0;
    if (Chart)
        for (int i = 0; i < Chart->SeriesCount(); ++i) rows = std::max(rows, Chart->GetSeries(i)->Count());
    return rows;
}

int TSeriesData::ExportedCount() const {
    if (Series) return 1;
    return Chart ? Chart->SeriesCount() : 0;
}

TChartSeries* TSeriesData::Exported(int Index) const {
    return Series ? Series : Chart->GetSeries(Index);
}

String TSeriesData::FormatOf(const TChartSeries* S) const {
    return UseSeriesFormat && S ? S->GetValueFormat() : ValueFormat;
}

String TSeriesData::NumberText(const TChartSeries* S, double Value) const {
    const String format = FormatOf(S);
    return format.empty() ? FloatToStr(Value) : FormatFloat(format, Value);
}

String TSeriesData::PointToString(int) {
    return String();
}

String TSeriesData::AsString() {
    Prepare();
    String out;
    for (int i = 0, n = RowCount(); i < n; ++i) out += PointToString(i) + kCRLF;
    return out;
}

// ---------------------------------------------------------------------------
// TSeriesDataText

TSeriesDataText::TSeriesDataText(TCustomChart* AChart, TChartSeries* ASeries)
    : TSeriesData(AChart, ASeries) {}

void TSeriesDataText::GuessSeriesFormat() {
    TSeriesData::GuessSeriesFormat();
    if (!Series && IncludeLabels && !Format.Contains(tfLabel) && Chart)
        for (int i = 0; i < Chart->SeriesCount(); ++i)
            if (HasLabels(Chart->GetSeries(i))) {
                Format.Include(tfLabel);
                break;
            }
}

// A field as written. Texts go between the quotes when there are any; any field that holds the
// delimiter, a quote or a line break goes between them too (a double quote when there are none), or
// a reader would cut the row there: a decimal comma in a comma-delimited file, say. An embedded
// quote is doubled, so a reader of the text finds where the field ends.
String TSeriesDataText::Field(const String& Text, bool IsText) const {
    const String quote = TextQuotes.empty() ? String(u"\"") : TextQuotes;
    const bool cut = Text.find(TextDelimiter) != String::npos || Text.find(quote) != String::npos ||
                     Text.find_first_of(u"\r\n") != String::npos;
    if (!cut && !(IsText && !TextQuotes.empty())) return Text;
    String body;
    for (std::size_t at = 0; at < Text.size();) {
        if (Text.compare(at, quote.size(), quote) == 0) {
            body += quote + quote;
            at += quote.size();
        } else {
            body += Text[at++];
        }
    }
    return quote + body + quote;
}

String TSeriesDataText::Quoted(const String& Text) const {
    return Field(Text, true);
}

String TSeriesDataText::HeaderOf(const TChartSeries* S) const {
    std::vector<String> parts;
    if (Format.Contains(tfNoMandatory)) parts.push_back(Quoted(S->NotMandatoryValueList()->GetName()));
    if (S->ValuesList().Count() == 2)
        parts.push_back(Quoted(SeriesTitleOrName(S)));
    else
        for (const TChartValueList* l : ValueColumns(S)) parts.push_back(Quoted(l->GetName()));
    String out;
    for (std::size_t i = 0; i < parts.size(); ++i)
        out += (i ? String(1, TextDelimiter) : String()) + parts[i];
    return out;
}

String TSeriesDataText::PointToString(int Index) {
    std::vector<String> fields;
    if (IncludeIndex) fields.push_back(Field(ZuzStr(Index), false));
    const int count = ExportedCount();
    if (Format.Contains(tfLabel)) {
        String label;
        if (Series)
            label = Label(Series, Index);
        else
            for (int s = 0; s < count && label.empty(); ++s) label = Label(Exported(s), Index);
        fields.push_back(label.empty() ? String() : Quoted(label));
    }
    if (Format.Contains(tfColor)) {
        const TChartSeries* first = count > 0 ? Exported(0) : nullptr;
        fields.push_back(Field(
            ColorText(first && Index < first->Count() ? first->GetValueColor(Index) : clDefault), false));
    }
    for (int s = 0; s < count; ++s) {
        const TChartSeries* S = Exported(s);
        const bool has = Index < S->Count();
        const auto value = [&](const TChartValueList* l) {
            if (!has) return String();
            const double v = l->GetValue(Index);
            // A value no calendar holds has no date: it goes as the number it is, as in a table.
            return l->GetDateTime() && ZuzCalendarHolds(v) ? Quoted(DateTimeToStr(v))
                                                           : Field(NumberText(S, v), false);
        };
        if (Format.Contains(tfNoMandatory)) fields.push_back(value(S->NotMandatoryValueList()));
        for (const TChartValueList* l : ValueColumns(S)) fields.push_back(value(l));
    }
    String out;
    for (std::size_t i = 0; i < fields.size(); ++i)
        out += (i ? String(1, TextDelimiter) : String()) + fields[i];
    return out;
}

String TSeriesDataText::AsString() {
    Prepare();
    String out;
    if (IncludeHeader) {
        String line;
        const String d(1, TextDelimiter);
        if (IncludeIndex) line = Quoted(VavIve_Index);
        if (Format.Contains(tfLabel)) line += (line.empty() ? String() : d) + Quoted(VavIve_Text);
        if (Format.Contains(tfColor)) line += (line.empty() ? String() : d) + Quoted(VavIve_Colors);
        if (!line.empty()) line += d;
        for (int s = 0; s < ExportedCount(); ++s) line += (s ? d : String()) + HeaderOf(Exported(s));
        out += line + kCRLF;
    }
    for (int i = 0, n = RowCount(); i < n; ++i) out += PointToString(i) + kCRLF;
    return out + kCRLF;
}

// ---------------------------------------------------------------------------
// TSeriesDataXML

TSeriesDataXML::TSeriesDataXML(TCustomChart* AChart, TChartSeries* ASeries)
    : TSeriesData(AChart, ASeries), Encoding(ZuzDefaultXMLEncoding()) {
    IncludeHeader = true;
}

String TSeriesDataXML::SeriesElement(TChartSeries* S) {
    String out = u"<series title=\"" + ZuzEscapeXML(SeriesTitleOrName(S), true) + u"\" type=\"" +
                 ZuzEscapeXML(GetGallerySeriesName(S), true) + u"\" color=\"" +
                 ColorText(S->GetSeriesColor()) + u"\">" + kCRLF + u"<points count=\"" + ZuzStr(S->Count()) +
                 u"\">" + kCRLF;
    const auto attribute = [&](const TChartValueList* l, int i) {
        return u" " + ZuzEscapeXML(l->GetName(), true) + u"=\"" + NumberText(S, l->GetValue(i)) + u"\"";
    };
    for (int i = 0; i < S->Count(); ++i) {
        out += u"<point ";
        if (IncludeIndex) out += u"index=\"" + ZuzStr(i) + u"\"";
        if (Format.Contains(tfLabel)) out += u" text=\"" + ZuzEscapeXML(Label(S, i), true) + u"\"";
        if (Format.Contains(tfColor)) out += u" color=\"" + ColorText(S->GetValueColor(i)) + u"\"";
        // A null point is a gap at its place along X: it keeps that place only, not the value of
        // a not-mandatory list of another name (the Y of a horizontal series).
        const TChartValueList* x = S->NotMandatoryValueList();
        if (Format.Contains(tfNoMandatory) && (!S->IsNull(i) || x->GetName() == u"X")) out += attribute(x, i);
        if (!S->IsNull(i))
            for (const TChartValueList* l : ValueColumns(S)) out += attribute(l, i);
        out += u"/>";
        out += kCRLF;
    }
    return out + u"</points>" + kCRLF + u"</series>" + kCRLF + kCRLF;
}

String TSeriesDataXML::AsString() {
    Prepare();
    String out;
    if (IncludeHeader) {
        out += u"<?xml version=\"1.0\"";
        if (!Encoding.empty()) out += u" encoding=\"" + Encoding + u"\"";
        out += u"?>";
        out += kCRLF;
    }
    if (Series) return out + SeriesElement(Series);
    out += u"<chart>";
    out += kCRLF;
    for (int s = 0; s < ExportedCount(); ++s) out += SeriesElement(Exported(s));
    return out + u"</chart>";
}

// ---------------------------------------------------------------------------
// TSeriesDataHTML

namespace {
String Cell(const String& Text) {
    return u"<td>" + ZuzEscapeXML(Text, true) + u"</td>";
}
} // namespace

String TSeriesDataHTML::PointToString(int Index) {
    String out = u"<tr>";
    if (IncludeIndex) out += Cell(ZuzStr(Index));
    for (int s = 0; s < ExportedCount(); ++s) {
        const TChartSeries* S = Exported(s);
        const bool has = Index < S->Count();
        const auto value = [&](const TChartValueList* l) {
            return Cell(has ? NumberText(S, l->GetValue(Index)) : String());
        };
        if (Format.Contains(tfLabel)) out += Cell(has ? Label(S, Index) : String());
        if (Format.Contains(tfColor)) out += Cell(has ? ColorText(S->GetValueColor(Index)) : String());
        if (Format.Contains(tfNoMandatory)) out += value(S->NotMandatoryValueList());
        for (const TChartValueList* l : ValueColumns(S)) out += value(l);
    }
    return out + u"</tr>";
}

String TSeriesDataHTML::AsString() {
    Prepare();
    String out = String(u"<table border=\"1\">") + kCRLF;
    if (IncludeHeader) {
        out += u"<tr>";
        if (IncludeIndex) out += Cell(VavIve_Index);
        for (int s = 0; s < ExportedCount(); ++s) {
            const TChartSeries* S = Exported(s);
            if (Format.Contains(tfLabel)) out += Cell(VavIve_Text);
            if (Format.Contains(tfColor)) out += Cell(VavIve_Colors);
            if (Format.Contains(tfNoMandatory)) out += Cell(S->NotMandatoryValueList()->GetName());
            if (S->ValuesList().Count() == 2)
                out += Cell(SeriesTitleOrName(S));
            else
                for (const TChartValueList* l : ValueColumns(S)) out += Cell(l->GetName());
        }
        out += u"</tr>";
        out += kCRLF;
    }
    for (int i = 0, n = RowCount(); i < n; ++i) out += PointToString(i) + kCRLF;
    return out + kCRLF + u"</table>";
}

// ---------------------------------------------------------------------------
// TSeriesDataXLS

namespace {

class TSheet {
public:
    void Word16(unsigned Value) {
        bytes_ += static_cast<char>(Value & 0xFF);
        bytes_ += static_cast<char>((Value >> 8) & 0xFF);
    }
    void Cell(unsigned Type, int Row, std::string_view Data) {
        Word16(Type);
        Word16(static_cast<unsigned>(Data.size() + 7));
        Word16(static_cast<unsigned>(Row));
        Word16(static_cast<unsigned>(column_++));
        bytes_.append(3, '\0');
        bytes_.append(Data);
    }
    void Blank(int Row) { Cell(0x0001, Row, {}); }
    void Number(int Row, double Value) {
        char data[8];
        std::memcpy(data, &Value, 8);
        Cell(0x0003, Row, std::string_view(data, 8));
    }
    void Label(int Row, const String& Text) {
        AnsiString bytes = StringToAnsi(Text);
        if (bytes.size() > 255) {
            // Cut at 255 bytes, never inside a character's byte sequence.
            std::size_t cut = 255;
            while (cut > 0 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80) --cut;
            bytes.resize(cut);
        }
        Cell(0x0004, Row, std::string(1, static_cast<char>(bytes.size())) + bytes);
    }
    void NextRow() { column_ = 0; }
    std::string& Bytes() { return bytes_; }

private:
    std::string bytes_;
    int column_ = 0;
};

} // namespace

void TSeriesDataXLS::SaveToStream(TStream* Stream) {
    Prepare();
    const int rows = RowCount();
    const int count = ExportedCount();
    const int sheetRows = rows + (IncludeHeader ? 1 : 0);
    if (sheetRows > 0xFFFF)
        throw ChartException(u"A worksheet holds at most 65535 rows; this export needs %d", {sheetRows});
    int columns = IncludeIndex ? 1 : 0;
    for (const TZuzFormatFlag f : {tfLabel, tfColor, tfNoMandatory})
        if (Format.Contains(f)) columns += count;
    for (int s = 0; s < count; ++s) columns += Exported(s)->ValuesList().Count() - 1;
    if (columns > 0xFFFF)
        throw ChartException(u"A worksheet holds at most 65535 columns; this export needs %d", {columns});

    TSheet sheet;
    static const char kBOF[] = {0x09, 0x08, 0x08, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00};
    sheet.Bytes().append(kBOF, sizeof kBOF);
    for (const unsigned w :
         {0x0200u, 10u, 0u, static_cast<unsigned>(sheetRows), 0u, static_cast<unsigned>(columns), 0u})
        sheet.Word16(w);

    int row = 0;
    if (IncludeHeader) {
        if (IncludeIndex) sheet.Label(row, VavIve_Index);
        for (int s = 0; s < count; ++s) {
            const TChartSeries* S = Exported(s);
            if (Format.Contains(tfLabel)) sheet.Label(row, VavIve_Text);
            if (Format.Contains(tfColor)) sheet.Label(row, VavIve_Colors);
            if (Format.Contains(tfNoMandatory)) sheet.Label(row, S->NotMandatoryValueList()->GetName());
            for (const TChartValueList* l : ValueColumns(S)) sheet.Label(row, l->GetName());
        }
        sheet.NextRow();
        ++row;
    }
    for (int i = 0; i < rows; ++i, ++row) {
        if (IncludeIndex) sheet.Number(row, i);
        for (int s = 0; s < count; ++s) {
            const TChartSeries* S = Exported(s);
            const auto lists = ValueColumns(S);
            if (i >= S->Count()) {
                if (Format.Contains(tfLabel)) sheet.Label(row, String());
                if (Format.Contains(tfColor)) sheet.Label(row, String());
                if (Format.Contains(tfNoMandatory)) sheet.Blank(row);
                for (std::size_t l = 0; l < lists.size(); ++l) sheet.Blank(row);
                continue;
            }
            const String format = FormatOf(S);
            const auto number = [&](const TChartValueList* l) {
                const double v = l->GetValue(i);
                if (format.empty()) return sheet.Number(row, v);
                // The cell holds the value as rounded by the format; thousands separators are
                // dropped before reading it back, and a text that is no number keeps the value.
                String text = FormatFloat(format, v);
                std::erase(text, FormatSettings.ThousandSeparator);
                Extended back = 0;
                sheet.Number(row, TryStrToFloat(text, back) ? static_cast<double>(back) : v);
            };
            if (Format.Contains(tfLabel)) sheet.Label(row, Label(S, i));
            if (Format.Contains(tfColor)) sheet.Label(row, ColorText(S->GetValueColor(i)));
            if (Format.Contains(tfNoMandatory)) number(S->NotMandatoryValueList());
            if (S->IsNull(i))
                for (std::size_t l = 0; l < lists.size(); ++l) sheet.Blank(row);
            else
                for (const TChartValueList* l : lists) number(l);
        }
        sheet.NextRow();
    }
    static const char kEOF[] = {0x0A, 0x00, 0x00, 0x00};
    sheet.Bytes().append(kEOF, sizeof kEOF);
    Stream->WriteBuffer(sheet.Bytes().data(), static_cast<LongInt>(sheet.Bytes().size()));
}
