// The archive table's exports: the automation calls of the spreadsheet export,
// the workbook it leaves behind, and the bytes of the text export.
#include "platform/automation/excelserver.h"
#include "platform/automation/recordingserver.h"
#include "tests/archive/programtest.h"
#include "tests/support/errnotext.h"
#include "tests/support/filesizelimit.h"
#include "tests/support/shellrecorder.h"
#include "tests/support/xlsxreader.h"

#include <cctype>
#include <clocale>
#include <csignal>
#include <cstdlib>

namespace fs = std::filesystem;

namespace {

using Table = std::vector<std::vector<String>>;

class Exports : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        CreateForms();
        form = MainForm;
    }

    // The table as the read leaves it: rows of cells, row 0 the headers.
    void SetTable(const Table& rows) {
        form->StringGrid->SetRowCount(static_cast<int>(rows.size()));
        form->StringGrid->SetColCount(static_cast<int>(rows[0].size()));
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t c = 0; c < rows[r].size(); ++c)
                form->StringGrid->SetCells(static_cast<int>(c), static_cast<int>(r), rows[r][c]);
    }

    TMainForm* form = nullptr;
};

// Two days of the archive, a marker of each kind among them.
const Table kArchive = {
    {u"Дата", u"Значение1", u"Значение2", u"Значение3"},
    {u"05.10.2009 12:30:00", u"1,5", u"0", u"Err.3"},
    {u"Err.4", u"7", u"Err.2", u"10"},
};

// --- Spreadsheet export ------------------------------------------------------

class ExcelExportCalls : public Exports {
protected:
    std::shared_ptr<TRecordingServer> excel = std::make_shared<TRecordingServer>(u"Excel.Application");
    TOleServerScope scope{u"Excel.Application", excel};
};

const String kApp = u"Excel.Application";
const String kSheet = kApp + u".Worksheets.Item(1)";

String RangePath(int rows, int cols) {
    return kSheet + u".Range(" + kSheet + u".Cells(1, 1), " + kSheet + u".Cells(" + IntToStr(rows) + u", " +
           IntToStr(cols) + u"))";
}

// The lines of a range's grey fill.
std::vector<String> Grey(int rows, int cols) {
    const String range = RangePath(rows, cols);
    return {u"get " + kSheet + u".Cells(1, 1)",
            u"get " + kSheet + u".Cells(" + IntToStr(rows) + u", " + IntToStr(cols) + u")", u"get " + range,
            u"get " + range + u".Interior", u"put " + range + u".Interior.ColorIndex = 15"};
}

TEST_F(ExcelExportCalls, TheCallsInTheirOrderWithTheirValues) {
    SetTable(kArchive);
    form->ExcelExport->Execute();

    std::vector<String> expected = {
        u"GetActiveOleObject(\"Excel.Application\")",
        u"CreateOleObject(\"Excel.Application\")",
        u"put Excel.Application.SheetsInNewWorkbook = 1",
        u"get Excel.Application.WorkBooks",
        u"call Excel.Application.WorkBooks.add()",
        u"get Excel.Application.Worksheets",
        u"call Excel.Application.Worksheets.Item(1)",
        u"call " + kSheet + u".Select()",
        u"get Excel.Application.ActiveWindow",
        u"put Excel.Application.ActiveWindow.SplitRow = 1",
        u"get Excel.Application.ActiveWindow",
        u"put Excel.Application.ActiveWindow.SplitColumn = 1",
        u"get Excel.Application.ActiveWindow",
        u"put Excel.Application.ActiveWindow.FreezePanes = true",
        u"get " + kSheet + u".Columns",
        u"put " + kSheet + u".Columns.ColumnWidth = 11",
        u"get " + kSheet + u".Columns",
        u"call " + kSheet + u".Columns.Item(1)",
        u"put " + kSheet + u".Columns.Item(1).ColumnWidth = 17",
        u"get " + kSheet + u".Columns",
        u"call " + kSheet + u".Columns.Item(1)",
        u"put " + kSheet + u".Columns.Item(1).NumberFormat = \"ДД.ММ.ГГГГ ЧЧ:ММ\"",
        u"get " + kSheet + u".Cells(1, 1)",
        u"get " + kSheet + u".Cells(3, 4)",
        u"get " + RangePath(3, 4),
        u"put " + RangePath(3, 4) + u".Value = Array[0..3, 0..4]",
    };
    for (const auto& lines : {Grey(1, 4), Grey(3, 1)})
        expected.insert(expected.end(), lines.begin(), lines.end());
    expected.push_back(u"put Excel.Application.Visible = true");
    EXPECT_EQ(excel->Log(), expected);
    EXPECT_TRUE(requests.empty());

    // The array holds every cell's text at [row][column]; its extra row and
    // column stay empty.
    const Variant* data = excel->Assigned(RangePath(3, 4) + u".Value");
    ASSERT_NE(data, nullptr);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ((*data)(r, c).AsString(), kArchive[r][c]) << r << "," << c;
    for (int c = 0; c <= 4; ++c) EXPECT_TRUE((*data)(3, c).IsEmpty());
    for (int r = 0; r <= 3; ++r) EXPECT_TRUE((*data)(r, 4).IsEmpty());
}

TEST_F(ExcelExportCalls, ARunningInstanceIsUsedAgain) {
    form->ExcelExport->Execute(); // the empty table after start-up
    excel->ClearLog();
    form->ExcelExport->Execute();
    ASSERT_GE(excel->Log().size(), 2u);
    EXPECT_EQ(excel->Log()[0], u"GetActiveOleObject(\"Excel.Application\")");
    EXPECT_EQ(excel->Log()[1], u"put Excel.Application.SheetsInNewWorkbook = 1");
}

TEST_F(ExcelExportCalls, FailuresStopTheExportWithOneWarning) {
    struct Case {
        String failOn;
        String message;
        std::size_t calls; // log lines up to and including the failure
    };
    const Case cases[] = {
        {u"CreateOleObject",
         u"Невозможно открыть Microsoft Excel!Возможно Excel не установлен на компьютере.", 2},
        {u"call Excel.Application.WorkBooks.add", u"Ошибка открытия книги Microsoft Excel!", 5},
        {u"put " + RangePath(2, 2) + u".Value", u"Ошибка заполнения листа Microsoft Excel!", 26},
    };
    for (const Case& c : cases) {
        auto server = std::make_shared<TRecordingServer>(u"Excel.Application");
        TOleServerScope failing(u"Excel.Application", server);
        server->FailOn(c.failOn);
        requests.clear();
        Screen->SetCursor(crHourGlass);
        form->excelApp = Variant();
        form->ExcelExport->Execute();

        ASSERT_EQ(requests.size(), 1u) << StringToAnsi(c.failOn);
        EXPECT_EQ(requests[0].Kind, TDialogKind::MessageBox);
        EXPECT_EQ(requests[0].Text.substr(0, c.message.size()), c.message);
        EXPECT_EQ(requests[0].Flags, MB_OK | MB_ICONWARNING);
        EXPECT_EQ(server->Log().size(), c.calls) << StringToAnsi(c.failOn);
        EXPECT_EQ(beeps, 0);
    }
    // The failed transfer gives the cursor back.
    EXPECT_EQ(Screen->GetCursor(), crDefault);
}

TEST_F(ExcelExportCalls, AWorkbookThatCannotBeShownReachesTheOperator) {
    excel->FailOn(u"put Excel.Application.Visible");
    EXPECT_THROW(form->ExcelExportExecute(nullptr), EOleException);
}

// The real spreadsheet server: the workbook file read back.
TEST_F(Exports, TheWorkbookFileHoldsTheTable) {
    ShellRecorder shell;
    TOleServerScope server{u"Excel.Application", std::make_shared<TExcelServer>(TExcelOptions{dir.path})};
    SetTable({
        {u"Дата", u"Значение1", u"Значение2"},
        {u"05.10.2009 12:30:00", u"1,5", u"Err.3"},
        {u"Err.4", u"0", u"Err.2"},
    });
    form->ExcelExport->Execute();
    EXPECT_TRUE(requests.empty());
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(fs::path(shell.opened[0]).parent_path(), dir.path);
    const xlsx::Book book = xlsx::Read(shell.opened[0]);
    ASSERT_FALSE(book.parts.empty());

    EXPECT_EQ(book.pane.at("topLeftCell"), "B2");
    EXPECT_EQ(book.pane.at("state"), "frozen");
    ASSERT_EQ(book.columns.size(), 2u);
    EXPECT_DOUBLE_EQ(book.columns[0].width, 17.7109375);
    EXPECT_DOUBLE_EQ(book.columns[1].width, 11.7109375);
    EXPECT_EQ(book.StyleOf("A2").numFmt, "dd.mm.yyyy hh:mm");

    EXPECT_NEAR(std::stod(book.cells.at("A2").value), 40091.520833333336, 1e-9);
    EXPECT_EQ(book.cells.at("B2").type, "");
    EXPECT_EQ(book.cells.at("B2").value, "1.5");
    EXPECT_EQ(book.cells.at("B3").value, "0");
    for (const char* ref : {"A1", "C2", "A3", "C3"}) EXPECT_EQ(book.cells.at(ref).type, "s") << ref;
    EXPECT_EQ(book.cells.at("A3").value, "Err.4");

    for (const char* ref : {"A1", "B1", "C1", "A2", "A3"})
        EXPECT_EQ(book.StyleOf(ref).fill, "FFC0C0C0") << ref;
    for (const char* ref : {"B2", "C2", "B3", "C3"}) EXPECT_EQ(book.StyleOf(ref).fill, "") << ref;
}

// The workbook writer formats numbers with the C library: under a locale
// whose decimal separator is a comma the file still holds dots. ctest runs the
// workbook tests once more with the whole process in ru_RU.UTF-8.
TEST_F(Exports, TheWorkbookFileHoldsDotsWhateverTheLocale) {
    if (const char* locale = std::getenv("MOLTREN_TEST_LOCALE"); locale && *locale) {
        ASSERT_EQ(SystemFormatSettings().DecimalSeparator, u',')
            << locale << " is missing: run scripts/setup";
    }
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    ShellRecorder shell;
    TOleServerScope server{u"Excel.Application", std::make_shared<TExcelServer>(TExcelOptions{dir.path})};
    SetTable({{u"Дата", u"Значение1"}, {u"05.10.2009 12:30:00", u"0,647"}});
    form->ExcelExport->Execute();
    ASSERT_EQ(shell.opened.size(), 1u);
    const xlsx::Book book = xlsx::Read(shell.opened[0]);
    const std::string& sheet = book.parts.at("xl/worksheets/sheet1.xml");
    EXPECT_NE(sheet.find("<v>0.647</v>"), std::string::npos) << sheet;
    EXPECT_NE(sheet.find("width=\"17.7109375\""), std::string::npos) << sheet;
    for (const auto& [name, bytes] : book.parts) {
        // No number in any part has a decimal comma.
        for (std::size_t at = bytes.find(','); at != std::string::npos; at = bytes.find(',', at + 1))
            EXPECT_FALSE(at > 0 && at + 1 < bytes.size() &&
                         std::isdigit(static_cast<unsigned char>(bytes[at - 1])) &&
                         std::isdigit(static_cast<unsigned char>(bytes[at + 1])))
                << name << ": " << bytes.substr(at > 20 ? at - 20 : 0, 40);
    }
}

// Stands between the program and the real spreadsheet server, and makes
// every call of the chosen member fail while it is armed.
class FailingProxy : public IDispatch {
public:
    FailingProxy(DispatchPtr inner, std::shared_ptr<String> failOn)
        : inner_(std::move(inner)), failOn_(std::move(failOn)) {}

    Variant Invoke(std::u16string_view name, DispatchKind kind, std::span<const Variant> args) override {
        if (!failOn_->empty() && SameMemberName(name, *failOn_)) throw EOleException(u"Сбой " + *failOn_);
        // The server knows its own objects only.
        std::vector<Variant> unwrapped(args.begin(), args.end());
        for (Variant& a : unwrapped) {
            if (const auto* proxy =
                    a.IsDispatch() ? dynamic_cast<FailingProxy*>(a.AsDispatch().get()) : nullptr)
                a = Variant(proxy->inner_);
        }
        Variant result = inner_->Invoke(name, kind, unwrapped);
        if (result.IsDispatch())
            return DispatchPtr(std::make_shared<FailingProxy>(result.AsDispatch(), failOn_));
        return result;
    }

private:
    DispatchPtr inner_;
    std::shared_ptr<String> failOn_;
};

class FailingExcelServer : public TOleServer {
public:
    explicit FailingExcelServer(TExcelOptions options) : options_(std::move(options)) {}
    std::shared_ptr<String> failOn = std::make_shared<String>();

protected:
    DispatchPtr NewInstance() override {
        return std::make_shared<FailingProxy>(std::make_shared<TExcelApplication>(options_), failOn);
    }

private:
    TExcelOptions options_;
};

TEST_F(Exports, AnUnfinishedWorkbookIsNotShownWithTheNextExport) {
    ShellRecorder shell;
    auto server = std::make_shared<FailingExcelServer>(TExcelOptions{dir.path});
    TOleServerScope scope{u"Excel.Application", server};
    SetTable(kArchive);
    for (const String member : {u"Value", u"ColorIndex", u"Visible"}) {
        *server->failOn = member;
        requests.clear();
        if (member == u"Value") {
            form->ExcelExport->Execute();
            ASSERT_EQ(requests.size(), 1u);
            EXPECT_EQ(requests[0].Text.substr(0, 40), String(u"Ошибка заполнения листа Microsoft Excel!"));
        } else {
            EXPECT_THROW(form->ExcelExportExecute(nullptr), EOleException) << StringToAnsi(member);
        }
        EXPECT_TRUE(shell.opened.empty());
        EXPECT_TRUE(form->excelApp.IsEmpty());

        // The next export shows its own workbook only.
        server->failOn->clear();
        form->ExcelExport->Execute();
        ASSERT_EQ(shell.opened.size(), 1u) << StringToAnsi(member);
        EXPECT_EQ(xlsx::Read(shell.opened[0]).cells.at("A3").value, "Err.4");
        EXPECT_FALSE(form->excelApp.IsEmpty()); // kept for the operator, as after every export
        shell.opened.clear();
    }
}

// --- Text export ---------------------------------------------------------------

class TextExport : public Exports {
protected:
    void SetUp() override {
        Exports::SetUp();
        file = dir.path / "archive.txt";
    }
    // Rows of the table with the record each came from.
    void SetRows(const std::vector<std::pair<String, String>>& rows) {
        Table table = {{u"Дата", u"Значение1"}};
        for (const auto& [date, record] : rows) table.push_back({date, u""});
        SetTable(table);
        form->rowRecords.clear();
        for (std::size_t r = 0; r < rows.size(); ++r)
            form->KeepRowRecord(static_cast<int>(r + 1), StringToAnsi(rows[r].second));
    }
    // The save dialog answered with the file, then the question (if any) with the button.
    void Export(int button = IDYES, const String& name = {}) {
        Answers({Choose(name.empty() ? UTF8ToString(file.string()) : name), Press(button)});
        form->TextExport->Execute();
    }

    fs::path file;
};

const std::vector<std::pair<String, String>> kTwoRecords = {
    {u"05.10.2009 12:30:00", u" 05 10 12 30 1.5 0 "},
    {u"05.10.2009 13:00:00", u" 05 10 13 00 2 0 "},
};
const std::string kTwoLines = "05.10.2009 12:30:00\t 1.5 0 \r\n05.10.2009 13:00:00\t 2 0 \r\n";

TEST_F(TextExport, EachRowWithItsDeviceValues) {
    SetRows(kTwoRecords);
    Export();
    EXPECT_EQ(ReadFile(file), kTwoLines);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Kind, TDialogKind::SaveDialog);
    EXPECT_EQ(requests[0].Filter, u"Текстовый документ (*.txt)|*.txt|Все файлы (*.*)|*.*");
    EXPECT_EQ(requests[0].DefaultExt, u"txt");
    EXPECT_EQ(requests[0].InitialDir, GetCurrentDir()); // the directory the program started in
    EXPECT_EQ(beeps, 0);

    // A name without an extension gets ".txt".
    Export(IDYES, UTF8ToString((dir.path / "second").string()));
    EXPECT_EQ(ReadFile(dir.path / "second.txt"), kTwoLines);
}

TEST_F(TextExport, RowsKeepTheirOwnRecordsAndRowsWithoutOneAreLeftOut) {
    // The table in time order while the log keeps the order of arrival: each
    // row still writes the values it shows.
    SetRows({{u"05.10.2009 12:30:00", u" 05 10 12 30 1.5 0 "},
             {u"Err.4", u""},
             {u"05.10.2009 13:00:00", u" 05 10 13 00 9999 9.999 "},
             {u"Err.4", u" 31 02 10 00 7 "},
             {u"Err.4", u" 1 2 "}});
    form->Memo->GetLines()->SetText(u" 05 10 13 00 9999 9.999 \n 05 10 12 30 1.5 0 \n");
    Export();
    EXPECT_EQ(ReadFile(file), "05.10.2009 12:30:00\t 1.5 0 \r\n"
                              "05.10.2009 13:00:00\t 9999 9.999 \r\n"
                              "Err.4\t 7 \r\n"
                              "Err.4\t \r\n");

    // The empty table after start-up has no record at all: an empty file.
    form->rowRecords.clear();
    SetTable({{u"Дата", u""}, {u"", u""}});
    fs::remove(file);
    Export();
    EXPECT_TRUE(fs::exists(file));
    EXPECT_EQ(ReadFile(file), "");
}

TEST_F(TextExport, TheTableBuilderGivesEachRowItsRecord) {
    form->currentDate = EncodeDate(2009, 10, 5);
    // A day whose records arrive out of time order, a day without records,
    // then one more day.
    for (const char16_t* record : {u" 05 10 13 00 2 0 ", u" 05 10 12 30 1.5 0 "}) {
        form->records->Add(record);
        form->Memo->GetLines()->Add(record);
    }
    form->BuildArchiveGrid();
    form->BuildArchiveGrid();
    form->currentDate = EncodeDate(2009, 10, 6);
    form->records->Add(u" 06 10 00 00 9999 3 ");
    form->BuildArchiveGrid();
    ASSERT_EQ(form->StringGrid->GetRowCount(), 5);

    Export();
    EXPECT_EQ(ReadFile(file), kTwoLines + "06.10.2009\t 9999 3 \r\n");

    // A new read starts from an empty table.
    form->ClearArchiveTable();
    fs::remove(file);
    Export();
    EXPECT_EQ(ReadFile(file), "");
}

TEST_F(TextExport, AnExistingFileIsAppendedToOrReplacedAsAnswered) {
    SetRows(kTwoRecords);
    const std::string old = "earlier\r\n";
    WriteFile(file, old);
    Export(IDYES);
    EXPECT_EQ(ReadFile(file), old + kTwoLines);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].Kind, TDialogKind::MessageBox);
    EXPECT_EQ(requests[1].Text, UTF8ToString(file.string()) + u" уже существует. Дописать?");
    EXPECT_EQ(requests[1].Flags, MB_YESNO | MB_ICONWARNING);
    EXPECT_EQ(beeps, 1);

    WriteFile(file, old);
    Export(IDNO);
    EXPECT_EQ(ReadFile(file), kTwoLines);
}

TEST_F(TextExport, NothingIsWrittenWithoutAnAnswer) {
    SetRows(kTwoRecords);
    // The save dialog cancelled: no question, no file.
    Answers({Press(mrCancel)});
    form->TextExport->Execute();
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_FALSE(fs::exists(file));

    // The question closed without Yes or No.
    WriteFile(file, "earlier\r\n");
    requests.clear();
    Export(IDCANCEL);
    EXPECT_EQ(requests.size(), 2u);
    EXPECT_EQ(ReadFile(file), "earlier\r\n");
}

TEST_F(TextExport, AFailedWriteLeavesTheFileAsItWasAndIsNamedInAWarning) {
    SetRows(kTwoRecords);
    const String name = UTF8ToString(file.string());
    const String warning = u"Не удалось записать файл \"" + name + u"\".\nCannot write file \"" + name +
                           u"\". " + ErrnoText(EFBIG);
    const std::string old = "earlier\r\n";
    for (int button : {IDYES, IDNO}) {
        WriteFile(file, old);
        requests.clear();
        beeps = 0;
        {
            FileSizeLimit limit(old.size() + 10);
            Export(button);
        }
        EXPECT_EQ(ReadFile(file), old) << button;
        ASSERT_EQ(requests.size(), 3u);
        EXPECT_EQ(requests[2].Text, warning);
        EXPECT_EQ(requests[2].Flags, MB_OK | MB_ICONWARNING);
        EXPECT_EQ(beeps, 2); // the question's and the warning's
    }

    // A file that cannot be opened: the folder does not exist.
    const fs::path missing = dir.path / "no" / "such.txt";
    requests.clear();
    Export(IDYES, UTF8ToString(missing.string()));
    ASSERT_EQ(requests.size(), 2u);
    const String lost = UTF8ToString(missing.string());
    EXPECT_EQ(requests[1].Text, u"Не удалось записать файл \"" + lost + u"\".\nCannot create file \"" + lost +
                                    u"\". " + ErrnoText(ENOENT));
    EXPECT_FALSE(fs::exists(missing.parent_path()));
}

} // namespace
