#include "platform/automation/workbook.h"

#include "platform/automation/comobj.h"

#include <cmath>

namespace {

// Cells a single call may touch: far beyond any archive table, small enough
// that a mistaken whole-sheet range fails instead of exhausting memory.
constexpr std::int64_t kMaxCellsPerCall = 4'000'000;

constexpr std::uint32_t kPalette[56] = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0x800000, 0x008000,
    0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080, 0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF,
    0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF, 0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000,
    0x008080, 0x0000FF, 0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696, 0x003366, 0x339966,
    0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,
};
constexpr int xlColorIndexNone = -4142;
constexpr int xlColorIndexAutomatic = -4105;

void CheckSize(const TXlRect& r) {
    if (static_cast<std::int64_t>(r.rows()) * r.columns() > kMaxCellsPerCall) {
        throw EOleException(u"Слишком большой диапазон ячеек", E_FAIL);
    }
}

TXlCell FromVariant(const Variant& v, const TFormatSettings& fs) {
    TXlCell cell;
    switch (v.VarType()) {
    case varEmpty:
    case varNull:
        break;
    case varBoolean:
        cell.kind = TXlCell::Boolean;
        cell.number = v.AsBoolean() ? 1 : 0;
        break;
    case varInteger:
    case varInt64:
    case varDouble:
        cell.kind = TXlCell::Number;
        cell.number = v.AsDouble();
        if (!std::isfinite(cell.number)) cell = TXlCell{};
        break;
    case varDate:
        cell.kind = TXlCell::Number;
        cell.number = v.AsDouble();
        cell.shown = cell.number >= 0 && cell.number < 1      ? TXlCell::AsTime
                     : cell.number != std::floor(cell.number) ? TXlCell::AsDateTime
                                                              : TXlCell::AsDate;
        break;
    case varOleStr:
        return InterpretText(v.AsString(), fs);
    default:
        throw EOleException(u"Несовместимый тип значения ячейки", DISP_E_TYPEMISMATCH);
    }
    return cell;
}

int ColumnOfLetters(std::u16string_view letters) {
    int column = 0;
    for (const char16_t c : letters) {
        const char16_t u = c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
        column = column * 26 + (u - u'A' + 1);
        if (column > XlMaxColumns) return 0;
    }
    return column;
}

} // namespace

// ---------------------------------------------------------------------------

TXlWorkbook::TXlWorkbook(int sheets) {
    for (int i = 1; i <= std::max(sheets, 1); ++i) {
        String name(u"Лист");
        name += IntToStr(i);
        Sheets.emplace_back(name);
    }
}

const TXlCell* TXlWorksheet::Find(int row, int column) const {
    const auto it = Cells.find({row, column});
    return it == Cells.end() ? nullptr : &it->second;
}

TXlCell& TXlWorksheet::At(int row, int column) {
    return Cells[{row, column}];
}

TXlColumnStyle TXlWorksheet::ColumnStyle(int column) const {
    TXlColumnStyle style = AllColumns;
    const auto it = Columns.find(column);
    if (it != Columns.end()) {
        if (it->second.width) style.width = it->second.width;
        if (it->second.numberFormat) style.numberFormat = it->second.numberFormat;
        if (it->second.fill) style.fill = it->second.fill;
    }
    return style;
}

// Column-wide settings: for every column at once they replace what single
// columns had.
template <class T>
void TXlWorksheet::StyleColumns(const TXlRect& range, std::optional<T> TXlColumnStyle::*member,
                                const T& value) {
    if (range.left == 1 && range.right == XlMaxColumns) {
        AllColumns.*member = value;
        for (auto& [column, style] : Columns) (style.*member).reset();
    } else {
        for (int c = range.left; c <= range.right; ++c) Columns[c].*member = value;
    }
}

// Existing cells of styled columns show the columns' new setting.
template <class T>
void TXlWorksheet::UnstyleCells(const TXlRect& range, std::optional<T> TXlCell::*member) {
    for (auto& [at, cell] : Cells) {
        if (at.second >= range.left && at.second <= range.right) (cell.*member).reset();
    }
}

template <class F>
void TXlWorksheet::ForCells(const TXlRect& range, F&& apply) {
    CheckSize(range);
    for (int r = range.top; r <= range.bottom; ++r) {
        for (int c = range.left; c <= range.right; ++c) apply(At(r, c));
    }
}

void TXlWorksheet::SetValue(const TXlRect& range, const Variant& value, const TFormatSettings& fs) {
    const auto put = [&](int r, int c, const Variant& v) {
        TXlCell& cell = At(r, c);
        TXlCell typed = FromVariant(v, fs);
        typed.numberFormat = std::move(cell.numberFormat);
        typed.fill = cell.fill;
        cell = std::move(typed);
    };
    if (!value.IsArray()) {
        CheckSize(range);
        for (int r = range.top; r <= range.bottom; ++r) {
            for (int c = range.left; c <= range.right; ++c) put(r, c, value);
        }
        return;
    }
    // The array's first rows and columns fill the range from its top left;
    // cells of the range beyond the array are left alone.
    const int dims = value.DimCount();
    if (dims > 2) throw EOleException(u"Несовместимый тип значения ячейки", DISP_E_TYPEMISMATCH);
    const int rowLow = dims == 2 ? value.LowBound(1) : 0;
    const int arrayRows = dims == 2 ? value.HighBound(1) - rowLow + 1 : 1;
    const int colLow = value.LowBound(dims);
    const int arrayCols = value.HighBound(dims) - colLow + 1;
    const int rows = std::min(range.rows(), arrayRows);
    const int cols = std::min(range.columns(), arrayCols);
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < cols; ++j) {
            put(range.top + i, range.left + j, dims == 2 ? value(rowLow + i, colLow + j) : value(colLow + j));
        }
    }
}

Variant TXlWorksheet::GetValue(const TXlRect& range) const {
    const auto one = [&](int r, int c) -> Variant {
        const TXlCell* cell = Find(r, c);
        if (cell == nullptr) return {};
        switch (cell->kind) {
        case TXlCell::Number:
            return cell->shown != TXlCell::AsGeneral ? Variant::FromDate(cell->number)
                                                     : Variant(cell->number);
        case TXlCell::Text:
            return cell->text;
        case TXlCell::Boolean:
            return cell->number != 0;
        default:
            return {};
        }
    };
    if (range.rows() == 1 && range.columns() == 1) return one(range.top, range.left);
    CheckSize(range);
    Variant arr = VarArrayCreate({1, range.rows(), 1, range.columns()}, varVariant);
    for (int i = 1; i <= range.rows(); ++i) {
        for (int j = 1; j <= range.columns(); ++j) arr(i, j) = one(range.top + i - 1, range.left + j - 1);
    }
    return arr;
}

void TXlWorksheet::SetColumnWidth(const TXlRect& range, double width) {
    if (!std::isfinite(width) || width < 0 || width > 255) {
        throw EOleException(u"Недопустимая ширина столбца", E_FAIL);
    }
    StyleColumns(range, &TXlColumnStyle::width, width);
}

void TXlWorksheet::SetNumberFormat(const TXlRect& range, const String& codes) {
    if (range.wholeColumns()) {
        StyleColumns(range, &TXlColumnStyle::numberFormat, codes);
        UnstyleCells(range, &TXlCell::numberFormat);
    } else {
        ForCells(range, [&](TXlCell& cell) { cell.numberFormat = codes; });
    }
}

void TXlWorksheet::SetFill(const TXlRect& range, std::optional<std::uint32_t> rgb) {
    const std::uint32_t fill = rgb.value_or(XlNoFill);
    if (range.wholeColumns()) {
        StyleColumns(range, &TXlColumnStyle::fill, fill);
        UnstyleCells(range, &TXlCell::fill);
    } else {
        ForCells(range, [&](TXlCell& cell) { cell.fill = fill; });
    }
}

// ---------------------------------------------------------------------------

TXlCell InterpretText(const String& text, const TFormatSettings& fs) {
    TXlCell cell;
    if (text.empty()) return cell;
    Extended number = 0;
    if (TryStrToFloat(text, number, fs) && std::isfinite(number)) {
        cell.kind = TXlCell::Number;
        cell.number = number;
        return cell;
    }
    TDateTime date = 0;
    if (TryStrToDateTime(text, date, fs)) {
        cell.kind = TXlCell::Number;
        cell.number = date;
        const bool hasTime = text.find(fs.TimeSeparator) != String::npos;
        const bool hasDate = text.find(fs.DateSeparator) != String::npos;
        cell.shown = !hasDate ? TXlCell::AsTime : hasTime ? TXlCell::AsDateTime : TXlCell::AsDate;
        return cell;
    }
    cell.kind = TXlCell::Text;
    cell.text = text;
    return cell;
}

String TranslateNumberFormat(const String& format) {
    static constexpr std::u16string_view localised = u"ДдМмГгЧчСс";
    static constexpr std::u16string_view codes = u"ddmmyyhhss";
    String out(format);
    for (char16_t& c : out) {
        const auto at = localised.find(c);
        if (at != std::u16string_view::npos) c = codes[at];
    }
    return out;
}

std::optional<std::uint32_t> PaletteColor(int colorIndex) {
    if (colorIndex == xlColorIndexNone || colorIndex == xlColorIndexAutomatic) return std::nullopt;
    if (colorIndex < 1 || colorIndex > 56) {
        throw EOleException(u"Недопустимый номер цвета: " + IntToStr(colorIndex), E_FAIL);
    }
    return kPalette[colorIndex - 1];
}

int PaletteIndex(std::optional<std::uint32_t> rgb) {
    if (!rgb) return xlColorIndexNone;
    for (int i = 0; i < 56; ++i) {
        if (kPalette[i] == *rgb) return i + 1;
    }
    return xlColorIndexNone;
}

TXlRect ParseReference(std::u16string_view text) {
    const auto fail = [&]() -> TXlRect {
        throw EOleException(u"Недопустимая ссылка на ячейки: " + String(text), E_FAIL);
    };
    const auto cell = [&](std::u16string_view part, int& row, int& column) {
        std::size_t i = 0;
        if (i < part.size() && part[i] == u'$') ++i;
        const std::size_t letters = i;
        while (i < part.size() &&
               ((part[i] >= u'A' && part[i] <= u'Z') || (part[i] >= u'a' && part[i] <= u'z')))
            ++i;
        column = ColumnOfLetters(part.substr(letters, i - letters));
        if (i < part.size() && part[i] == u'$') ++i;
        row = 0;
        const std::size_t digits = i;
        while (i < part.size() && part[i] >= u'0' && part[i] <= u'9' && row <= XlMaxRows) {
            row = row * 10 + (part[i] - u'0');
            ++i;
        }
        return i == part.size() && i > digits && column >= 1 && row >= 1 && row <= XlMaxRows;
    };
    const auto colon = text.find(u':');
    TXlRect r;
    if (!cell(text.substr(0, colon), r.top, r.left)) return fail();
    r.bottom = r.top;
    r.right = r.left;
    if (colon != std::u16string_view::npos) {
        int row = 0, column = 0;
        if (!cell(text.substr(colon + 1), row, column)) return fail();
        r = {std::min(r.top, row), std::min(r.left, column), std::max(r.top, row), std::max(r.left, column)};
    }
    return r;
}
