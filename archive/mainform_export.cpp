// The archive table's exports: into a new spreadsheet workbook through
// automation, and into a text file of the device's own value texts.
#include "archive/mainform.h"

#include "platform/automation/comobj.h"
#include "platform/core/streams.h"
#include "platform/core/sysutils.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/forms.h"
#include "platform/gui/grids.h"

#include <algorithm>
#include <filesystem>

namespace {

constexpr std::u16string_view kExcelProgId = u"Excel.Application";
// Spreadsheet palette index of the grey that marks the header row and the date column.
constexpr int kHeaderColorIndex = 15;
// The date, the time and the spaces in front of a record's first value.
constexpr std::size_t kRecordTimeChars = 13;

void WarningBox(const String& text) {
    Application->MessageBox(text, Application->GetTitle(), MB_OK | MB_ICONWARNING);
}

// Puts the text in place of the file, after what the file holds when appending. The whole
// file is written anew, so a failed write leaves the earlier one as it was.
void WriteExportFile(const String& fileName, const AnsiString& text, bool append) {
    TMemoryStream whole;
    // Only a regular file has contents to keep; a device or a pipe takes just the new text.
    std::error_code ec;
    if (append && std::filesystem::is_regular_file(std::filesystem::path(UTF8Encode(fileName)), ec))
        whole.LoadFromFile(fileName);
    whole.Seek(0, soEnd);
    whole.WriteBuffer(text.data(), static_cast<LongInt>(text.size()));
    whole.SaveToFile(fileName);
}

// Lets go of the spreadsheet instance. A workbook the export could not finish
// is dropped with it: kept in a running instance, it would be written out and
// opened together with the next export's workbook.
void ReleaseExcel(OleVariant& app, OleVariant& sheet) {
    sheet = OleVariant();
    app = OleVariant();
}

} // namespace

void TMainForm::KeepRowRecord(int Row, const AnsiString& Record) {
    if (Row < 0) return;
    if (rowRecords.size() <= static_cast<std::size_t>(Row))
        rowRecords.resize(static_cast<std::size_t>(Row) + 1);
    rowRecords[static_cast<std::size_t>(Row)] = Record;
}

void TMainForm::ExcelExportExecute(TObject* Sender) {
    try {
        if (OpenExcel(u"")) FillExcelSheet();
    } catch (const Exception&) {
        // Colouring or showing failed: the application's box reports it.
        ReleaseExcel(excelApp, excelSheet);
        throw;
    }
}

bool TMainForm::OpenExcel(const String& WorkbookName) {
    try {
        excelApp = GetActiveOleObject(String(kExcelProgId));
    } catch (const Exception&) {
        try {
            excelApp = CreateOleObject(String(kExcelProgId));
        } catch (const Exception&) {
            WarningBox(u"Невозможно открыть Microsoft Excel!Возможно Excel не установлен на компьютере.");
            return false;
        }
    }
    try {
        if (!WorkbookName.empty()) {
            excelApp.Get(u"WorkBooks").Call(u"Open", WorkbookName);
        } else {
            excelApp.Set(u"SheetsInNewWorkbook", 1);
            excelApp.Get(u"WorkBooks").Call(u"add");
        }
    } catch (const Exception&) {
        ReleaseExcel(excelApp, excelSheet);
        WarningBox(u"Ошибка открытия книги Microsoft Excel!");
        return false;
    }
    return true;
}

void TMainForm::FillExcelSheet() {
    const int rows = StringGrid->GetRowCount();
    const int cols = StringGrid->GetColCount();
    // The late-bound calls name both corners first: argument order is not
    // fixed in C++, and the server sees the calls in the order they are made.
    const auto colour = [this](int lastRow, int lastCol) {
        const Variant first = excelSheet.Get(u"Cells", 1, 1);
        const Variant last = excelSheet.Get(u"Cells", lastRow, lastCol);
        excelSheet.Get(u"Range", first, last).Get(u"Interior").Set(u"ColorIndex", kHeaderColorIndex);
    };
    try {
        // One element more in each direction than the table, as the sheet
        // takes only the range it is given.
        Variant data = VarArrayCreate({0, rows, 0, cols}, varVariant);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) data(r, c) = StringGrid->GetCells(c, r);
        excelSheet = excelApp.Get(u"Worksheets").Call(u"Item", 1);
        excelSheet.Call(u"Select");
        excelApp.Get(u"ActiveWindow").Set(u"SplitRow", 1);
        excelApp.Get(u"ActiveWindow").Set(u"SplitColumn", 1);
        excelApp.Get(u"ActiveWindow").Set(u"FreezePanes", true);
        excelSheet.Get(u"Columns").Set(u"ColumnWidth", 11);
        excelSheet.Get(u"Columns").Call(u"Item", 1).Set(u"ColumnWidth", 17);
        excelSheet.Get(u"Columns").Call(u"Item", 1).Set(u"NumberFormat", u"ДД.ММ.ГГГГ ЧЧ:ММ");
        const Variant first = excelSheet.Get(u"Cells", 1, 1);
        const Variant last = excelSheet.Get(u"Cells", rows, cols);
        excelSheet.Get(u"Range", first, last).Set(u"Value", data);
    } catch (const Exception& E) {
        // A half-filled sheet is not shown as if it were the archive.
        Screen->SetCursor(crDefault);
        ReleaseExcel(excelApp, excelSheet);
        WarningBox(u"Ошибка заполнения листа Microsoft Excel!\n" + E.Message());
        return;
    }
    colour(1, cols);
    colour(rows, 1);
    // Showing writes the workbook; a failure there reaches the application's box.
    excelApp.Set(u"Visible", true);
}

void TMainForm::TextExportExecute(TObject* Sender) {
    if (!SaveDialog->Execute()) return;
    const String fileName = SaveDialog->GetFileName();

    // Every line is ready before the file is touched, so nothing can stop
    // half-way through it.
    AnsiString text;
    const int rows = std::min<int>(StringGrid->GetRowCount(), static_cast<int>(rowRecords.size()));
    for (int r = 1; r < rows; ++r) {
        const AnsiString& values = rowRecords[static_cast<std::size_t>(r)];
        if (values.empty()) continue;
        text += StringToAnsi(StringGrid->GetCells(0, r));
        text += "\t ";
        if (values.size() > kRecordTimeChars) text.append(values, kRecordTimeChars);
        // Written as bytes: the line end is CR LF on every system.
        text += "\r\n";
    }

    bool append = true;
    if (FileExists(fileName)) {
        Beep();
        switch (Application->MessageBox(fileName + u" уже существует. Дописать?", Application->GetTitle(),
                                        MB_YESNO | MB_ICONWARNING)) {
        case IDYES:
            break;
        case IDNO:
            append = false;
            break;
        default:
            return;
        }
    }
    try {
        WriteExportFile(fileName, text, append);
    } catch (const EStreamError& e) {
        ShowError(u"Не удалось записать файл \"" + fileName + u"\".\n" + e.Message(), MB_ICONWARNING);
    }
}
