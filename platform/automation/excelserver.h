#pragma once
// "Excel.Application": an in-process spreadsheet server over our workbook
// model. Made visible, it writes each new workbook into a new .xlsx file in
// the user's temporary directory and opens it with the desktop's default
// application.
//
// Object paths served:
//   Application: SheetsInNewWorkbook, WorkBooks, Worksheets, ActiveWorkbook,
//                ActiveSheet, ActiveWindow, Visible
//   Workbooks:   add, Open (not supported: raises), Count, Item(i)
//   Workbook:    Worksheets, Sheets
//   Worksheets:  Item(i), Count
//   Worksheet:   Select, Activate, Name, Cells(r, c), Range(a[, b]), Columns[(c)]
//   Range:       Value, Value2, Interior, ColumnWidth, NumberFormat, Item(i[, j]), Columns, Cells(r, c)
//   Interior:    ColorIndex
//   Window:      SplitRow, SplitColumn, FreezePanes

#include "platform/automation/comobj.h"
#include "platform/automation/workbook.h"

struct TExcelOptions {
    std::filesystem::path directory; // where shown workbooks go; empty: the user's temporary directory
};

class TExcelApplication : public TAutoDispatch {
public:
    explicit TExcelApplication(TExcelOptions options);

    const std::vector<std::shared_ptr<TXlWorkbook>>& Workbooks() const { return books_; }
    std::shared_ptr<TXlWorkbook> AddWorkbook();
    // The active workbook; raises EOleException when none is open.
    std::shared_ptr<TXlWorkbook> ActiveBook() const;

private:
    void SetVisible(bool visible);
    std::filesystem::path NewFile() const;

    TExcelOptions options_;
    std::vector<std::shared_ptr<TXlWorkbook>> books_;
    int sheetsInNewWorkbook_ = 1;
    bool visible_ = false;
};

class TExcelServer : public TOleServer {
public:
    explicit TExcelServer(TExcelOptions options = {}) : options_(std::move(options)) {}

protected:
    DispatchPtr NewInstance() override;

private:
    TExcelOptions options_;
};
