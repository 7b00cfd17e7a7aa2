#include "platform/automation/excelserver.h"
#include "tests/support/xlsxreader.h"
#include "tests/support/shellrecorder.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;

namespace {

using Table = std::vector<std::vector<String>>; // [row][column], as the archive table shows it

// The main window's export, call for call: attach or start, a new workbook,
// the table in one array, frozen header row and date column, widths, the
// date format, grey header row and date column, then show it.
Variant ExportTable(const Table& table) {
    const int R = static_cast<int>(table.size());
    const int C = static_cast<int>(table.front().size());
    Variant excelApp;
    try {
        excelApp = GetActiveOleObject(u"Excel.Application");
    } catch (const EOleSysError&) {
        excelApp = CreateOleObject(u"Excel.Application");
    }
    excelApp.Set(u"SheetsInNewWorkbook", 1);
    excelApp.Get(u"WorkBooks").Call(u"add");
    Variant array = VarArrayCreate({0, R, 0, C}, varVariant);
    for (int r = 0; r < R; ++r) {
        for (int c = 0; c < C; ++c)
            array(r, c) = table[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
    }
    const Variant sheet = excelApp.Get(u"Worksheets").Call(u"Item", 1);
    sheet.Call(u"Select");
    excelApp.Get(u"ActiveWindow").Set(u"SplitRow", 1);
    excelApp.Get(u"ActiveWindow").Set(u"SplitColumn", 1);
    excelApp.Get(u"ActiveWindow").Set(u"FreezePanes", true);
    sheet.Get(u"Columns").Set(u"ColumnWidth", 11);
    sheet.Get(u"Columns").Call(u"Item", 1).Set(u"ColumnWidth", 17);
    sheet.Get(u"Columns").Call(u"Item", 1).Set(u"NumberFormat", u"ДД.ММ.ГГГГ ЧЧ:ММ");
    const auto range = [&](int r1, int c1, int r2, int c2) {
        const Variant from = sheet.Call(u"Cells", r1, c1);
        const Variant to = sheet.Call(u"Cells", r2, c2);
        return sheet.Call(u"Range", from, to);
    };
    range(1, 1, R, C).Set(u"Value", array);
    range(1, 1, 1, C).Get(u"Interior").Set(u"ColorIndex", 15);
    range(1, 1, R, 1).Get(u"Interior").Set(u"ColorIndex", 15);
    excelApp.Set(u"Visible", true);
    return excelApp;
}

const Table kWorkedExample = {
    {u"Дата", u"Значение1", u"Значение2", u"Значение3", u"Значение4"},
    {u"05.10.2009 12:30:00", u"1,5", u"0", u"Err.3", u"Err.2"},
    {u"05.10.2009 13:00:00", u"2,25", u"0", u"10", u"7"},
};

class ExcelExport : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = FormatSettings;
        FormatSettings = RussianFormatSettings();
    }
    void TearDown() override { FormatSettings = saved_; }

    TExcelApplication& Model(const Variant& app) {
        return dynamic_cast<TExcelApplication&>(*app.AsDispatch());
    }

    TempDir dir{"moltren-excel"};
    ShellRecorder shell;
    TOleServerScope server{u"Excel.Application", std::make_shared<TExcelServer>(TExcelOptions{dir.path})};

private:
    TFormatSettings saved_;
};

} // namespace

TEST_F(ExcelExport, TheWorkedExampleAsAWorkbookFile) {
    const Variant app = ExportTable(kWorkedExample);

    // One new file in the directory, handed to the desktop.
    ASSERT_EQ(shell.opened.size(), 1u);
    const fs::path file = shell.opened[0];
    EXPECT_EQ(file.parent_path(), dir.path);
    EXPECT_EQ(file.extension(), ".xlsx");
    EXPECT_EQ(Model(app).Workbooks().front()->File, file);
    EXPECT_TRUE(app.Get(u"Visible").AsBoolean());

    const xlsx::Book book = xlsx::Read(file.string());
    ASSERT_FALSE(book.parts.empty()) << "not a zip: " << file;
    EXPECT_EQ(book.sheetNames, std::vector<std::string>{"Лист1"});

    // Header row and date column frozen at B2.
    EXPECT_EQ(book.pane.at("xSplit"), "1");
    EXPECT_EQ(book.pane.at("ySplit"), "1");
    EXPECT_EQ(book.pane.at("topLeftCell"), "B2");
    EXPECT_EQ(book.pane.at("state"), "frozen");

    // Column A 17 wide with the date format, every other column 11.
    ASSERT_EQ(book.columns.size(), 2u);
    EXPECT_EQ(book.columns[0].min, 1);
    EXPECT_EQ(book.columns[0].max, 1);
    EXPECT_DOUBLE_EQ(book.columns[0].width, 17.7109375);
    EXPECT_EQ(book.styles.at(static_cast<std::size_t>(book.columns[0].style)).numFmt, "dd.mm.yyyy hh:mm");
    EXPECT_EQ(book.columns[1].min, 2);
    EXPECT_EQ(book.columns[1].max, 16384);
    EXPECT_DOUBLE_EQ(book.columns[1].width, 11.7109375);
    EXPECT_TRUE(book.columns[0].customWidth && book.columns[1].customWidth);

    // Dates as date values in the date format, numbers as numbers, markers
    // and headers as text.
    const auto& a2 = book.cells.at("A2");
    EXPECT_TRUE(a2.type.empty() || a2.type == "n");
    EXPECT_NEAR(std::stod(a2.value), 40091.520833333336, 1e-9);
    EXPECT_EQ(book.StyleOf("A2").numFmt, "dd.mm.yyyy hh:mm");
    EXPECT_NEAR(std::stod(book.cells.at("A3").value), 40091.541666666664, 1e-9);
    EXPECT_EQ(book.cells.at("B2").value, "1.5");
    EXPECT_EQ(book.cells.at("B2").type, "");
    EXPECT_EQ(book.cells.at("B3").value, "2.25");
    EXPECT_EQ(book.cells.at("C2").value, "0");
    EXPECT_EQ(book.cells.at("D3").value, "10");
    for (const auto& [ref, text] : std::map<std::string, std::string>{
             {"A1", "Дата"}, {"B1", "Значение1"}, {"E1", "Значение4"}, {"D2", "Err.3"}, {"E2", "Err.2"}}) {
        EXPECT_EQ(book.cells.at(ref).type, "s") << ref;
        EXPECT_EQ(book.cells.at(ref).value, text) << ref;
    }

    // Grey on A1:E1 and A1:A3, nowhere else; nothing beyond the table.
    for (const char* ref : {"A1", "B1", "C1", "D1", "E1", "A2", "A3"})
        EXPECT_EQ(book.StyleOf(ref).fill, "FFC0C0C0") << ref;
    for (const char* ref : {"B2", "E2", "B3", "E3"}) EXPECT_EQ(book.StyleOf(ref).fill, "") << ref;
    EXPECT_EQ(book.cells.count("F1") + book.cells.count("A4"), 0u);
}

TEST_F(ExcelExport, TheEmptyTableAfterStartUp) {
    ExportTable({{u"Дата", u""}, {u"", u""}});
    ASSERT_EQ(shell.opened.size(), 1u);
    const xlsx::Book book = xlsx::Read(shell.opened[0]);
    EXPECT_EQ(book.cells.at("A1").value, "Дата");
    // The grey blanks of A1:B1 and A1:A2; B2 has nothing to write.
    EXPECT_EQ(book.cells.at("B1").value, "");
    EXPECT_EQ(book.StyleOf("B1").fill, "FFC0C0C0");
    EXPECT_EQ(book.cells.at("A2").value, "");
    EXPECT_EQ(book.StyleOf("A2").fill, "FFC0C0C0");
    EXPECT_EQ(book.StyleOf("A2").numFmt, "dd.mm.yyyy hh:mm");
    EXPECT_EQ(book.cells.count("B2"), 0u);
    EXPECT_EQ(book.pane.at("topLeftCell"), "B2");
}

TEST_F(ExcelExport, TheModelBehindTheFile) {
    const Variant app = ExportTable(kWorkedExample);
    const auto& sheet = Model(app).Workbooks().front()->Sheets.front();
    EXPECT_EQ(sheet.SplitRow, 1);
    EXPECT_EQ(sheet.SplitColumn, 1);
    EXPECT_TRUE(sheet.FreezePanes);
    EXPECT_EQ(sheet.ColumnStyle(1).width, 17.0);
    EXPECT_EQ(sheet.ColumnStyle(2).width, 11.0);
    EXPECT_EQ(sheet.ColumnStyle(700).width, 11.0);
    // Read back through automation, as a spreadsheet gives values.
    const Variant ws = app.Get(u"Worksheets").Call(u"Item", 1);
    EXPECT_EQ(ws.Get(u"Range", u"B2").Get(u"Value").VarType(), varDouble);
    EXPECT_EQ(ws.Get(u"Range", u"A2").Get(u"Value").VarType(), varDate);
    EXPECT_EQ(ws.Get(u"Range", u"D2").Get(u"Value").AsString(), u"Err.3");
    EXPECT_EQ(ws.Get(u"Range", u"A1").Get(u"Interior").Get(u"ColorIndex").AsInteger(), 15);
    EXPECT_EQ(ws.Get(u"Range", u"B2").Get(u"Interior").Get(u"ColorIndex").AsInteger(), -4142);
    EXPECT_EQ(ws.Get(u"Columns").Call(u"Item", 1).Get(u"NumberFormat").AsString(), u"dd.mm.yyyy hh:mm");
    const Variant block = ws.Get(u"Range", u"A1:B2").Get(u"Value");
    EXPECT_EQ(VarArrayLowBound(block, 1), 1);
    EXPECT_EQ(block(2, 2).AsDouble(), 1.5);
}

TEST_F(ExcelExport, EachExportIsANewFileInTheRunningInstance) {
    const Variant first = ExportTable(kWorkedExample);
    first.Set(u"Visible", true); // shown already: nothing new to write
    const Variant second = ExportTable(kWorkedExample);
    EXPECT_EQ(first.AsDispatch(), second.AsDispatch());
    ASSERT_EQ(shell.opened.size(), 2u);
    EXPECT_NE(shell.opened[0], shell.opened[1]);
    EXPECT_TRUE(fs::exists(shell.opened[0]) && fs::exists(shell.opened[1]));
    EXPECT_EQ(first.Get(u"WorkBooks").Get(u"Count").AsInteger(), 2);
}

TEST_F(ExcelExport, FailuresReachTheCaller) {
    // No program for spreadsheets: the file is written, and the error names it.
    shell.result = SE_ERR_NOASSOC;
    try {
        ExportTable(kWorkedExample);
        FAIL();
    } catch (const EOleException& e) {
        ASSERT_EQ(shell.opened.size(), 1u);
        EXPECT_NE(e.Message().find(UTF8ToString(shell.opened[0])), String::npos);
        EXPECT_TRUE(fs::exists(shell.opened[0]));
    }

    // A directory that cannot take the file.
    TOleServerScope nowhere(u"Excel.Application",
                            std::make_shared<TExcelServer>(TExcelOptions{dir.path / "missing" / "dir"}));
    shell.result = 0;
    try {
        ExportTable(kWorkedExample);
        FAIL();
    } catch (const EOleException& e) {
        EXPECT_NE(e.Message().find(u"missing/dir"), String::npos);
    }
    EXPECT_EQ(shell.opened.size(), 1u);
}

TEST_F(ExcelExport, CallsOutsideTheModelAreRefused) {
    const Variant app = CreateOleObject(u"Excel.Application");
    EXPECT_THROW(app.Get(u"ActiveWindow").Set(u"SplitRow", 1), EOleException); // no workbook yet
    EXPECT_THROW(app.Get(u"Worksheets"), EOleException);
    EXPECT_THROW(app.Get(u"WorkBooks").Call(u"Open", u"/tmp/book.xlsx"), EOleException);
    app.Get(u"WorkBooks").Call(u"add");
    const Variant ws = app.Get(u"Worksheets").Call(u"Item", 1);
    EXPECT_THROW(app.Get(u"Worksheets").Call(u"Item", 2), EOleException);
    EXPECT_EQ(app.Get(u"Worksheets").Call(u"Item", u"Лист1").Get(u"Name").AsString(), u"Лист1");
    EXPECT_THROW(ws.Call(u"Cells", 0, 1), EOleException);
    EXPECT_THROW(ws.Call(u"Cells", 1, 16385), EOleException);
    EXPECT_THROW(ws.Get(u"Range", u"A0"), EOleException);
    EXPECT_THROW(ws.Get(u"Range", u"A1").Get(u"Interior").Set(u"ColorIndex", 57), EOleException);
    EXPECT_THROW(ws.Get(u"Columns").Set(u"ColumnWidth", 300), EOleException);
    // A whole-sheet range takes no single value.
    EXPECT_THROW(ws.Call(u"Cells").Set(u"Value", 1), EOleException);
    // A range of another sheet cannot be a corner.
    app.Set(u"SheetsInNewWorkbook", 2);
    app.Get(u"WorkBooks").Call(u"add");
    const Variant other = app.Get(u"Worksheets").Call(u"Item", 2);
    EXPECT_THROW(ws.Call(u"Range", other.Call(u"Cells", 1, 1)), EOleException);
}

TEST(WorkbookModel, TextsReadAsASpreadsheetReadsThem) {
    const TFormatSettings ru = RussianFormatSettings();
    const auto kind = [&](const String& text) { return InterpretText(text, ru).kind; };
    EXPECT_EQ(kind(u""), TXlCell::Blank);
    EXPECT_EQ(kind(u"1,5"), TXlCell::Number);
    EXPECT_EQ(InterpretText(u"-2,25", ru).number, -2.25);
    EXPECT_EQ(kind(u"1E20"), TXlCell::Number);
    EXPECT_EQ(kind(u"Err.2"), TXlCell::Text);
    EXPECT_EQ(kind(u"Err.4"), TXlCell::Text);
    EXPECT_EQ(kind(u"Значение1"), TXlCell::Text);
    EXPECT_EQ(kind(u"INF"), TXlCell::Text);
    const TXlCell date = InterpretText(u"05.10.2009", ru);
    EXPECT_EQ(date.kind, TXlCell::Number);
    EXPECT_EQ(date.number, 40091);
    EXPECT_EQ(date.shown, TXlCell::AsDate);
    EXPECT_EQ(InterpretText(u"05.10.2009 12:30:00", ru).shown, TXlCell::AsDateTime);
    EXPECT_EQ(InterpretText(u"31.02.2009 12:30:00", ru).kind, TXlCell::Text);

    const TFormatSettings en = EnglishFormatSettings();
    EXPECT_EQ(InterpretText(u"1.5", en).number, 1.5);
    EXPECT_EQ(InterpretText(u"1,5", en).kind, TXlCell::Text);
}

TEST(WorkbookModel, FormatsColoursAndReferences) {
    EXPECT_EQ(TranslateNumberFormat(u"ДД.ММ.ГГГГ ЧЧ:ММ"), u"dd.mm.yyyy hh:mm");
    EXPECT_EQ(TranslateNumberFormat(u"дд/мм/гг ч:мм:сс"), u"dd/mm/yy h:mm:ss");
    EXPECT_EQ(TranslateNumberFormat(u"0.00;[Red]-0.00"), u"0.00;[Red]-0.00");

    EXPECT_EQ(PaletteColor(15), 0xC0C0C0u);
    EXPECT_EQ(PaletteColor(1), 0x000000u);
    EXPECT_EQ(PaletteColor(56), 0x333333u);
    EXPECT_FALSE(PaletteColor(-4142).has_value());
    EXPECT_THROW(PaletteColor(0), EOleException);
    EXPECT_EQ(PaletteIndex(0xC0C0C0), 15);

    EXPECT_EQ(ParseReference(u"A1"), (TXlRect{1, 1, 1, 1}));
    EXPECT_EQ(ParseReference(u"$D$7:b2"), (TXlRect{2, 2, 7, 4}));
    EXPECT_EQ(ParseReference(u"XFD1048576"), (TXlRect{1048576, 16384, 1048576, 16384}));
    for (const char16_t* bad : {u"", u"A", u"1", u"A0", u"XFE1", u"A1048577", u"A1:", u"1A", u"A1B"}) {
        EXPECT_THROW(ParseReference(bad), EOleException) << UTF8Encode(bad);
    }
}

TEST(WorkbookModel, ColumnSettingsForAllColumnsReplaceSingleOnes) {
    TXlWorksheet sheet(u"Лист1");
    const TXlRect all{1, 1, XlMaxRows, XlMaxColumns};
    const TXlRect columnB{1, 2, XlMaxRows, 2};
    sheet.SetColumnWidth(columnB, 30);
    sheet.SetColumnWidth(all, 11);
    EXPECT_EQ(sheet.ColumnStyle(2).width, 11.0);
    sheet.SetFill(TXlRect{1, 2, 1, 2}, 0xFF0000);
    sheet.SetFill(columnB, std::nullopt); // the column's fill is taken away, the cell's with it
    EXPECT_EQ(sheet.ColumnStyle(2).fill, XlNoFill);
    EXPECT_FALSE(sheet.Find(1, 2)->fill.has_value());
    // Values keep the cell's own format.
    sheet.SetNumberFormat(TXlRect{3, 3, 3, 3}, u"0.00");
    sheet.SetValue(TXlRect{3, 3, 4, 4}, Variant(u"2,5"), RussianFormatSettings());
    EXPECT_EQ(sheet.Find(3, 3)->numberFormat, u"0.00");
    EXPECT_EQ(sheet.Find(4, 4)->number, 2.5);
}
