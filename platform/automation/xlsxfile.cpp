#include "platform/automation/xlsxfile.h"

#include "platform/automation/comobj.h"

#include "platform/core/streams.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

#include <cmath>
#include <set>
#include <tuple>

namespace {

// The built-in formats a spreadsheet shows in the reader's own locale.
constexpr std::uint8_t kBuiltinDate = 14;     // m/d/yyyy
constexpr std::uint8_t kBuiltinTime = 21;     // h:mm:ss
constexpr std::uint8_t kBuiltinDateTime = 22; // m/d/yyyy h:mm

[[noreturn]] void Fail(const std::filesystem::path& file, const String& why) {
    throw EOleException(u"Не удалось записать книгу \"" + UTF8ToString(file.string()) + u"\": " + why, E_FAIL,
                        u"Excel.Application");
}

// One format object per distinct look; the workbook owns them.
class Formats {
public:
    explicit Formats(lxw_workbook* book) : book_(book) {}

    lxw_format* Get(const std::optional<String>& numberFormat, std::uint8_t builtin,
                    std::optional<std::uint32_t> fill) {
        if (fill == XlNoFill) fill.reset();
        if (!numberFormat && builtin == 0 && !fill) return nullptr;
        const auto key = std::make_tuple(numberFormat.value_or(String()), builtin, fill.value_or(XlNoFill));
        const auto it = cache_.find(key);
        if (it != cache_.end()) return it->second;
        lxw_format* f = workbook_add_format(book_);
        if (numberFormat) {
            format_set_num_format(f, UTF8Encode(*numberFormat).c_str());
        } else if (builtin != 0) {
            format_set_num_format_index(f, builtin);
        }
        if (fill) {
            format_set_pattern(f, LXW_PATTERN_SOLID);
            format_set_bg_color(f, *fill);
        }
        cache_.emplace(key, f);
        return f;
    }

private:
    lxw_workbook* book_;
    std::map<std::tuple<String, std::uint8_t, std::uint32_t>, lxw_format*> cache_;
};

std::uint8_t BuiltinFor(const TXlCell& cell) {
    switch (cell.shown) {
    case TXlCell::AsDate:
        return kBuiltinDate;
    case TXlCell::AsDateTime:
        return kBuiltinDateTime;
    case TXlCell::AsTime:
        return kBuiltinTime;
    default:
        return 0;
    }
}

void WriteColumns(lxw_worksheet* ws, const TXlWorksheet& sheet, Formats& formats,
                  const std::filesystem::path& file) {
    // Runs of neighbouring columns that look alike, never overlapping: the
    // styled columns one by one, the gaps between them in one run each.
    struct Look {
        double width = LXW_DEF_COL_WIDTH;
        lxw_format* format = nullptr;
        bool styled = false;
        bool operator==(const Look&) const = default;
    };
    const auto look = [&](int column) {
        const TXlColumnStyle s = sheet.ColumnStyle(column);
        Look l;
        l.styled = s.width || s.numberFormat || (s.fill && *s.fill != XlNoFill);
        if (s.width) l.width = *s.width;
        l.format = formats.Get(s.numberFormat, 0, s.fill);
        return l;
    };
    const auto emit = [&](int first, int last, const Look& l) {
        if (!l.styled) return;
        if (worksheet_set_column(ws, static_cast<lxw_col_t>(first - 1), static_cast<lxw_col_t>(last - 1),
                                 l.width, l.format) != LXW_NO_ERROR) {
            Fail(file, u"ширина столбцов");
        }
    };
    // A column's look can differ from its left neighbour's only at a column
    // with a style of its own or right after one.
    std::set<int> starts{1};
    for (const auto& [column, style] : sheet.Columns) {
        if (column < 1 || column > XlMaxColumns) continue;
        starts.insert(column);
        if (column < XlMaxColumns) starts.insert(column + 1);
    }
    int runStart = 1;
    Look runLook = look(1);
    for (const int start : starts) {
        const Look l = look(start);
        if (l == runLook) continue;
        emit(runStart, start - 1, runLook);
        runStart = start;
        runLook = l;
    }
    emit(runStart, XlMaxColumns, runLook);
}

void WriteCells(lxw_worksheet* ws, const TXlWorksheet& sheet, Formats& formats,
                const std::filesystem::path& file) {
    for (const auto& [at, cell] : sheet.Cells) {
        const auto row = static_cast<lxw_row_t>(at.first - 1);
        const auto col = static_cast<lxw_col_t>(at.second - 1);
        const TXlColumnStyle column = sheet.ColumnStyle(at.second);
        const std::optional<String>& numberFormat =
            cell.numberFormat ? cell.numberFormat : column.numberFormat;
        lxw_format* f = formats.Get(numberFormat, numberFormat ? 0 : BuiltinFor(cell),
                                    cell.fill ? cell.fill : column.fill);
        lxw_error err = LXW_NO_ERROR;
        switch (cell.kind) {
        case TXlCell::Number:
            err = worksheet_write_number(ws, row, col, cell.number, f);
            break;
        case TXlCell::Text:
            err = worksheet_write_string(ws, row, col, UTF8Encode(cell.text).c_str(), f);
            break;
        case TXlCell::Boolean:
            err = worksheet_write_boolean(ws, row, col, cell.number != 0 ? 1 : 0, f);
            break;
        case TXlCell::Blank:
            if (f != nullptr) err = worksheet_write_blank(ws, row, col, f);
            break;
        }
        if (err != LXW_NO_ERROR) Fail(file, UTF8ToString(lxw_strerror(err)));
    }
}

// The workbook into the file made, its errors naming the file it is for.
void MakeWorkbook(const TXlWorkbook& book, const std::string& made, const std::filesystem::path& file) {
    lxw_workbook* wb = workbook_new(made.c_str());
    if (wb == nullptr) Fail(file, u"недостаточно памяти");
    try {
        Formats formats(wb);
        for (std::size_t i = 0; i < book.Sheets.size(); ++i) {
            const TXlWorksheet& sheet = book.Sheets[i];
            lxw_worksheet* ws = workbook_add_worksheet(wb, UTF8Encode(sheet.Name).c_str());
            if (ws == nullptr) Fail(file, u"недопустимое имя листа \"" + sheet.Name + u"\"");
            WriteColumns(ws, sheet, formats, file);
            WriteCells(ws, sheet, formats, file);
            if (sheet.FreezePanes && (sheet.SplitRow > 0 || sheet.SplitColumn > 0)) {
                worksheet_freeze_panes(ws, static_cast<lxw_row_t>(sheet.SplitRow),
                                       static_cast<lxw_col_t>(sheet.SplitColumn));
            }
            if (static_cast<int>(i) == book.ActiveSheet) worksheet_activate(ws);
        }
    } catch (...) {
        workbook_close(wb); // frees it; the half-written file is of no use
        throw;
    }
    const lxw_error err = workbook_close(wb);
    if (err != LXW_NO_ERROR) Fail(file, UTF8ToString(lxw_strerror(err)));
}

} // namespace

void WriteXlsx(const TXlWorkbook& book, const std::filesystem::path& file) {
    // The workbook is made whole in the temp folder first, then put in place of the file in one step:
    // a full disk never leaves half a workbook in its place.
    std::error_code ec;
    std::string made = (std::filesystem::temp_directory_path(ec) / "moltren-book-XXXXXX").string();
    const int fd = ::mkostemp(made.data(), O_CLOEXEC);
    if (fd < 0) Fail(file, UTF8ToString(std::generic_category().message(errno)));
    ::close(fd);
    const struct Drop {
        const std::string& path;
        ~Drop() {
            std::error_code e;
            std::filesystem::remove(path, e);
        }
    } drop{made};
    MakeWorkbook(book, made, file);
    TMemoryStream bytes;
    try {
        bytes.LoadFromFile(UTF8ToString(made));
        bytes.SaveToFile(UTF8ToString(file.string()));
    } catch (const EStreamError& e) {
        Fail(file, e.Message());
    }
}
