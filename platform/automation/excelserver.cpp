#include "platform/automation/excelserver.h"

#include "platform/automation/xlsxfile.h"
#include "platform/win32/shell.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace {

const String kSource = u"Excel.Application";

[[noreturn]] void Fail(const String& message, HRESULT code = E_FAIL) {
    throw EOleException(message, code, kSource);
}

using App = std::shared_ptr<TExcelApplication>;
using Book = std::shared_ptr<TXlWorkbook>;

template <class T, class... A>
Variant MakeObject(A&&... args) {
    return Variant(DispatchPtr(std::make_shared<T>(std::forward<A>(args)...)));
}

int IndexArg(const Variant& v, int low, int high) {
    const int i = v.AsInteger();
    if (i < low || i > high) Fail(u"Недопустимый индекс: " + IntToStr(i), DISP_E_BADINDEX);
    return i;
}

// Objects of a sheet keep the application and the workbook alive.
struct SheetRef {
    App app;
    Book book;
    std::size_t sheet = 0;
    TXlWorksheet& Sheet() const { return book->Sheets.at(sheet); }
};

class TExcelInterior : public TAutoDispatch {
public:
    TExcelInterior(SheetRef ref, TXlRect rect) : ref_(std::move(ref)), rect_(rect) {
        Member(
            u"ColorIndex", 0, 0,
            [this](Args) -> Variant {
                const TXlCell* cell = ref_.Sheet().Find(rect_.top, rect_.left);
                auto fill =
                    cell != nullptr && cell->fill ? cell->fill : ref_.Sheet().ColumnStyle(rect_.left).fill;
                return PaletteIndex(fill == XlNoFill ? std::nullopt : fill);
            },
            [this](Args, const Variant& v) { ref_.Sheet().SetFill(rect_, PaletteColor(v.AsInteger())); });
    }

private:
    SheetRef ref_;
    TXlRect rect_;
};

class TExcelRange : public TAutoDispatch {
public:
    // columnsView: a range seen as its columns (Columns): Item(n) is the n-th column.
    TExcelRange(SheetRef ref, TXlRect rect, bool columnsView)
        : ref_(std::move(ref)), rect_(rect), columnsView_(columnsView) {
        const auto value = [this](Args) { return ref_.Sheet().GetValue(rect_); };
        const auto setValue = [this](Args, const Variant& v) {
            ref_.Sheet().SetValue(rect_, v, FormatSettings);
        };
        Member(u"Value", 0, 0, value, setValue);
        Member(u"Value2", 0, 0, value, setValue);
        Member(u"Interior", 0, 0,
               [this](Args) -> Variant { return MakeObject<TExcelInterior>(ref_, rect_); });
        Member(
            u"ColumnWidth", 0, 0,
            [this](Args) -> Variant { return ref_.Sheet().ColumnStyle(rect_.left).width.value_or(8.43); },
            [this](Args, const Variant& v) { ref_.Sheet().SetColumnWidth(rect_, v.AsDouble()); });
        Member(
            u"NumberFormat", 0, 0,
            [this](Args) -> Variant {
                const TXlCell* cell = ref_.Sheet().Find(rect_.top, rect_.left);
                if (cell != nullptr && cell->numberFormat) return *cell->numberFormat;
                return ref_.Sheet().ColumnStyle(rect_.left).numberFormat.value_or(u"General");
            },
            [this](Args, const Variant& v) {
                ref_.Sheet().SetNumberFormat(rect_, TranslateNumberFormat(v.AsString()));
            });
        Member(u"Item", 1, 2, [this](Args a) { return Item(a); });
        Member(u"Columns", 0, 1, [this](Args a) -> Variant {
            if (a.empty()) return MakeObject<TExcelRange>(ref_, rect_, true);
            return TExcelRange(ref_, rect_, true).Item(a);
        });
        Member(u"Cells", 0, 2, [this](Args a) -> Variant {
            if (a.empty()) return MakeObject<TExcelRange>(ref_, rect_, false);
            return TExcelRange(ref_, rect_, false).Item(a);
        });
        Member(u"Count", 0, 0, [this](Args) -> Variant {
            return columnsView_ ? rect_.columns() : static_cast<std::int64_t>(rect_.rows()) * rect_.columns();
        });
    }

    const SheetRef& Ref() const { return ref_; }
    const TXlRect& Rect() const { return rect_; }

    Variant Item(Args a) const {
        if (columnsView_) {
            const int c = rect_.left + IndexArg(a[0], 1, XlMaxColumns - rect_.left + 1) - 1;
            return MakeObject<TExcelRange>(ref_, TXlRect{rect_.top, c, rect_.bottom, c}, false);
        }
        int r = 0, c = 0;
        if (a.size() == 2) {
            r = rect_.top + IndexArg(a[0], 1, XlMaxRows - rect_.top + 1) - 1;
            c = rect_.left + IndexArg(a[1], 1, XlMaxColumns - rect_.left + 1) - 1;
        } else {
            const int n = IndexArg(a[0], 1, rect_.rows() * std::min(rect_.columns(), XlMaxColumns)) - 1;
            r = rect_.top + n / rect_.columns();
            c = rect_.left + n % rect_.columns();
        }
        return MakeObject<TExcelRange>(ref_, TXlRect{r, c, r, c}, false);
    }

private:
    SheetRef ref_;
    TXlRect rect_;
    bool columnsView_;
};

class TExcelWorksheet : public TAutoDispatch {
public:
    explicit TExcelWorksheet(SheetRef ref) : ref_(std::move(ref)) {
        const auto select = [this](Args) -> Variant {
            ref_.book->ActiveSheet = static_cast<int>(ref_.sheet);
            return {};
        };
        Member(u"Select", 0, 1, select);
        Member(u"Activate", 0, 0, select);
        Member(
            u"Name", 0, 0, [this](Args) -> Variant { return ref_.Sheet().Name; },
            [this](Args, const Variant& v) { ref_.Sheet().Name = v.AsString(); });
        const TXlRect all{1, 1, XlMaxRows, XlMaxColumns};
        Member(u"Cells", 0, 2, [this, all](Args a) -> Variant {
            if (a.empty()) return MakeObject<TExcelRange>(ref_, all, false);
            return TExcelRange(ref_, all, false).Item(a);
        });
        Member(u"Columns", 0, 1, [this, all](Args a) -> Variant {
            if (a.empty()) return MakeObject<TExcelRange>(ref_, all, true);
            return TExcelRange(ref_, all, true).Item(a);
        });
        Member(u"Range", 1, 2, [this](Args a) -> Variant {
            TXlRect r = Corner(a[0]);
            if (a.size() == 2) {
                const TXlRect b = Corner(a[1]);
                r = {std::min(r.top, b.top), std::min(r.left, b.left), std::max(r.bottom, b.bottom),
                     std::max(r.right, b.right)};
            }
            return MakeObject<TExcelRange>(ref_, r, false);
        });
    }

private:
    // A corner of Range(): a range of this sheet or a reference text.
    TXlRect Corner(const Variant& v) const {
        if (v.IsDispatch()) {
            const auto* range = dynamic_cast<const TExcelRange*>(v.AsDispatch().get());
            if (range == nullptr || range->Ref().book != ref_.book || range->Ref().sheet != ref_.sheet) {
                Fail(u"Диапазон относится к другому листу", DISP_E_TYPEMISMATCH);
            }
            return range->Rect();
        }
        return ParseReference(v.AsString());
    }

    SheetRef ref_;
};

class TExcelSheets : public TAutoDispatch {
public:
    TExcelSheets(App app, Book book) : app_(std::move(app)), book_(std::move(book)) {
        Member(u"Item", 1, 1, [this](Args a) -> Variant {
            const auto& sheets = book_->Sheets;
            int i = 0;
            if (a[0].VarType() == varOleStr) {
                const String name = a[0].AsString();
                const auto it = std::find_if(sheets.begin(), sheets.end(), [&](const TXlWorksheet& s) {
                    return SameMemberName(s.Name, name);
                });
                if (it == sheets.end()) Fail(u"Нет листа \"" + name + u"\"", DISP_E_BADINDEX);
                i = static_cast<int>(it - sheets.begin()) + 1;
            } else {
                i = IndexArg(a[0], 1, static_cast<int>(sheets.size()));
            }
            return MakeObject<TExcelWorksheet>(SheetRef{app_, book_, static_cast<std::size_t>(i - 1)});
        });
        Member(u"Count", 0, 0, [this](Args) -> Variant { return static_cast<int>(book_->Sheets.size()); });
    }

private:
    App app_;
    Book book_;
};

class TExcelWorkbook : public TAutoDispatch {
public:
    TExcelWorkbook(App app, Book book) : app_(std::move(app)), book_(std::move(book)) {
        const auto sheets = [this](Args) -> Variant { return MakeObject<TExcelSheets>(app_, book_); };
        Member(u"Worksheets", 0, 0, sheets);
        Member(u"Sheets", 0, 0, sheets);
    }

private:
    App app_;
    Book book_;
};

class TExcelWorkbooks : public TAutoDispatch {
public:
    explicit TExcelWorkbooks(App app) : app_(std::move(app)) {
        Member(u"add", 0, 1,
               [this](Args) -> Variant { return MakeObject<TExcelWorkbook>(app_, app_->AddWorkbook()); });
        Member(u"Open", 1, 15, [](Args a) -> Variant {
            Fail(u"Открытие книги из файла не поддерживается: " + VarToStr(a[0]));
        });
        Member(u"Count", 0, 0,
               [this](Args) -> Variant { return static_cast<int>(app_->Workbooks().size()); });
        Member(u"Item", 1, 1, [this](Args a) -> Variant {
            const int i = IndexArg(a[0], 1, static_cast<int>(app_->Workbooks().size()));
            return MakeObject<TExcelWorkbook>(app_, app_->Workbooks()[static_cast<std::size_t>(i - 1)]);
        });
    }

private:
    App app_;
};

class TExcelWindow : public TAutoDispatch {
public:
    explicit TExcelWindow(App app) : app_(std::move(app)) {
        Member(
            u"SplitRow", 0, 0, [this](Args) -> Variant { return Sheet().SplitRow; },
            [this](Args, const Variant& v) { Sheet().SplitRow = IndexArg(v, 0, XlMaxRows - 1); });
        Member(
            u"SplitColumn", 0, 0, [this](Args) -> Variant { return Sheet().SplitColumn; },
            [this](Args, const Variant& v) { Sheet().SplitColumn = IndexArg(v, 0, XlMaxColumns - 1); });
        Member(
            u"FreezePanes", 0, 0, [this](Args) -> Variant { return Sheet().FreezePanes; },
            [this](Args, const Variant& v) { Sheet().FreezePanes = v.AsBoolean(); });
    }

private:
    TXlWorksheet& Sheet() const {
        const Book book = app_->ActiveBook();
        return book->Sheets.at(static_cast<std::size_t>(book->ActiveSheet));
    }
    App app_;
};

} // namespace

TExcelApplication::TExcelApplication(TExcelOptions options) : options_(std::move(options)) {
    const auto self = [this] { return std::static_pointer_cast<TExcelApplication>(shared_from_this()); };
    Member(
        u"SheetsInNewWorkbook", 0, 0, [this](Args) -> Variant { return sheetsInNewWorkbook_; },
        [this](Args, const Variant& v) { sheetsInNewWorkbook_ = IndexArg(v, 1, 255); });
    Member(u"WorkBooks", 0, 0, [self](Args) -> Variant { return MakeObject<TExcelWorkbooks>(self()); });
    const auto sheets = [this, self](Args) -> Variant {
        return MakeObject<TExcelSheets>(self(), ActiveBook());
    };
    Member(u"Worksheets", 0, 0, sheets);
    Member(u"Sheets", 0, 0, sheets);
    Member(u"ActiveWorkbook", 0, 0,
           [this, self](Args) -> Variant { return MakeObject<TExcelWorkbook>(self(), ActiveBook()); });
    Member(u"ActiveSheet", 0, 0, [this, self](Args) -> Variant {
        const Book book = ActiveBook();
        return MakeObject<TExcelWorksheet>(
            SheetRef{self(), book, static_cast<std::size_t>(book->ActiveSheet)});
    });
    Member(u"ActiveWindow", 0, 0, [self](Args) -> Variant { return MakeObject<TExcelWindow>(self()); });
    Member(
        u"Visible", 0, 0, [this](Args) -> Variant { return visible_; },
        [this](Args, const Variant& v) { SetVisible(v.AsBoolean()); });
}

std::shared_ptr<TXlWorkbook> TExcelApplication::AddWorkbook() {
    books_.push_back(std::make_shared<TXlWorkbook>(sheetsInNewWorkbook_));
    return books_.back();
}

std::shared_ptr<TXlWorkbook> TExcelApplication::ActiveBook() const {
    if (books_.empty()) Fail(u"Нет открытой книги");
    return books_.back();
}

std::filesystem::path TExcelApplication::NewFile() const {
    std::error_code ec;
    const std::filesystem::path dir =
        options_.directory.empty() ? std::filesystem::temp_directory_path(ec) : options_.directory;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    // Claim a name no other export uses, even one running at the same second.
    int err = EEXIST;
    for (int n = 1; n <= 1000 && err == EEXIST; ++n) {
        const auto file =
            dir / ("moltren-" + std::string(stamp) + (n > 1 ? "-" + std::to_string(n) : "") + ".xlsx");
        const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            close(fd);
            return file;
        }
        err = errno;
    }
    Fail(u"Не удалось создать файл книги в папке \"" + UTF8ToString(dir.string()) + u"\": " +
         UTF8ToString(std::generic_category().message(err)));
}

void TExcelApplication::SetVisible(bool visible) {
    visible_ = visible;
    if (!visible) return;
    for (const Book& book : books_) {
        if (book->Shown) continue;
        const auto file = NewFile();
        try {
            WriteXlsx(*book, file);
        } catch (...) {
            std::error_code ec;
            std::filesystem::remove(file, ec); // the name claimed for it holds nothing
            throw;
        }
        book->Shown = true;
        book->File = file;
        const String name = UTF8ToString(file.string());
        if (ShellExecute(nullptr, u"open", name, u"", u"", SW_SHOWNORMAL) <= 32) {
            Fail(u"Книга записана в файл \"" + name +
                 u"\", но открыть его не удалось: не найдена программа для работы с таблицами.");
        }
    }
}

DispatchPtr TExcelServer::NewInstance() {
    return std::make_shared<TExcelApplication>(options_);
}
