// The main window's archive table and log: a finished day's records become
// table rows, a value column's header can be renamed in place, and the log
// can be sorted.
#include "archive/archiverecord.h"
#include "archive/mainform.h"

#include "platform/core/dateutils.h"
#include "platform/core/sysutils.h"

#include <cmath>

namespace {

String ValueText(double Value) {
    if (Value == ValueConvertError) return u"Err.2";
    if (Value == ValueMissing) return u"Err.3";
    // Whole numbers below 15 digits are written alike by the general format;
    // most of a device's values are such.
    if (std::abs(Value) < 1e15 && Value == std::trunc(Value)) return IntToStr(static_cast<Int64>(Value));
    return FloatToStr(Value);
}

} // namespace

void TMainForm::ClearArchiveTable() {
    StringGrid->SetColCount(2);
    StringGrid->SetRowCount(2);
    StringGrid->SetCells(1, 0, {});
    StringGrid->SetCells(0, 1, {});
    StringGrid->SetCells(1, 1, {});
    headedColumns = 0;
    rowRecords.clear();
}

void TMainForm::BuildArchiveGrid() {
    // The device sends no year: each record is dated in the year of the day
    // being read, so an interval across New Year dates January correctly.
    const Word year = YearOf(currentDate);
    // Two-digit day, month, hour and minute: text order is time order.
    records->Sort();
    // The first record of a read goes into the empty row of a fresh table.
    if (!StringGrid->GetCells(0, 1).empty()) StringGrid->SetRowCount(StringGrid->GetRowCount() + 1);
    const int count = records->GetCount();
    // The day's rows at once, the first being the last row now: growing the
    // table row by row costs the grid's view a layout pass per row.
    const int first = StringGrid->GetRowCount() - 1;
    if (count > 1) StringGrid->SetRowCount(first + count);
    for (int i = 0; i < count; ++i) {
        const TArchiveRecord record = ParseArchiveRecord(records->GetStrings(i), year);
        const int values = static_cast<int>(record.values.size());
        if (StringGrid->GetColCount() < values + 1) StringGrid->SetColCount(values + 1);
        while (headedColumns < StringGrid->GetColCount() - 1) {
            StringGrid->SetCells(headedColumns + 1, 0, u"Значение" + IntToStr(headedColumns + 1));
            AddColumnSeries(headedColumns);
            ++headedColumns;
        }
        const int row = first + i;
        recordTime = record.timeValid ? record.time : 0;
        StringGrid->SetCells(0, row, record.timeValid ? DateTimeToStr(recordTime) : String(u"Err.4"));
        // A record put in without its bytes (none came from a device) keeps its text's.
        const auto* bytes = static_cast<const TRecordBytes*>(records->GetObjects(i));
        KeepRowRecord(row, bytes ? " " + bytes->bytes + " " : StringToAnsi(records->GetStrings(i)));
        for (int k = 0; k < values; ++k) StringGrid->SetCells(k + 1, row, ValueText(record.values[k]));
        AddRecordPoints(record);
    }
    // Consumed: a later abort or day end must not put them in again.
    ClearDayRecords();
}

void TMainForm::ClearDayRecords() {
    records->Clear();
    dayRecordBytes.clear();
}

void TMainForm::StringGridDblClick(TObject* Sender) {
    const TPoint at = StringGrid->ScreenToClient(Mouse->GetCursorPos());
    int col = -1, row = -1;
    StringGrid->MouseToCell(at.X, at.Y, col, row);
    if (row != 0 || col < 1) return;
    editCol = col;
    editRow = row;
    const TRect cell = StringGrid->CellRect(col, row);
    // The editor is a sibling of the grid: place it in its parent's coordinates.
    const TPoint topLeft = Edit1->GetParent()->ScreenToClient(StringGrid->ClientToScreen(cell.TopLeft()));
    Edit1->SetBounds(topLeft.X, topLeft.Y, cell.Width() + 2, cell.Height() + 2);
    Edit1->SetVisible(true);
    Edit1->SetFocus();
    Edit1->SetText(StringGrid->GetCells(col, row));
}

void TMainForm::Edit1Exit(TObject* Sender) {
    // Taken before hiding the editor: hiding moves the focus, which may bring
    // us here again.
    const int col = editCol;
    editCol = 0;
    // A header edit cancelled by a read has no cell any more.
    if (col >= 1 && col < StringGrid->GetColCount()) {
        StringGrid->SetCells(col, editRow, Edit1->GetText());
        RenameColumnSeries(col);
    }
    Edit1->SetVisible(false);
}

void TMainForm::CancelHeaderEdit() {
    editCol = 0;
    editRow = 0;
    Edit1->SetVisible(false);
}

void TMainForm::MemoDblClick(TObject* Sender) {
    TStringList lines;
    lines.Assign(Memo->GetLines());
    lines.Sort();
    Memo->GetLines()->Assign(&lines);
}
