// The archive table, the header edit and the log's sort, fed through the
// read road by the simulated device's protocol on the recording backend.
#include "tests/archive/readroad_harness.h"

using namespace readroad;

namespace {

// Reads `days` days from `first` off a device holding the archive; the table.
Table ReadArchive(LineHarness& h, const devsim::Archive& archive, TDateTime first, int days = 1) {
    devsim::Device dev(archive, DeviceNumber(7));
    h.Interval(first, first + days - 1);
    h.Read();
    h.Serve(dev);
    EXPECT_FALSE(h.Reading());
    EXPECT_TRUE(h.dialogs.empty());
    return h.Grid();
}

devsim::Archive Day(int month, int day, std::initializer_list<const char*> records) {
    devsim::Archive a;
    for (const char* r : records) a.Add({month, day}, r);
    return a;
}

const TDateTime Oct5 = EncodeDate(2009, 10, 5);

} // namespace

TEST(ArchiveTable, WorkedExampleInEitherOrderOfArrival) {
    LineHarness h;
    EXPECT_EQ(ReadArchive(h, WorkedArchive(), Oct5), WorkedTable);
    EXPECT_EQ(h.Log(), WorkedLog);
    EXPECT_EQ(ReadArchive(h, Day(10, 5, {"05 10 13 00 2.25 0 10 7", "05 10 12 30 1.5 0 9999 abc"}), Oct5),
              WorkedTable);
    // The log keeps the order of arrival until it is double-clicked.
    EXPECT_EQ(h.Log(), (Lines{WorkedLog[1], WorkedLog[0]}));
    h.form->MemoDblClick(h.form->Memo);
    EXPECT_EQ(h.Log(), WorkedLog);
}

TEST(ArchiveTable, RowsInTimeOrderWithMidnightAndZeros) {
    LineHarness h;
    EXPECT_EQ(ReadArchive(h, Day(10, 5, {"05 10 13 00 7", "05 10 00 00 0 0", "05 10 09 05 1"}), Oct5),
              (Table{{"Дата", "Значение1", "Значение2"},
                     {"05.10.2009", "0", "0"},
                     {"05.10.2009 9:05:00", "1", ""},
                     {"05.10.2009 13:00:00", "7", ""}}));
}

TEST(ArchiveTable, NumbersReadTheSameInEveryLocale) {
    LineHarness h;
    const char* record = "05 10 12 30 1.5 -0,25 1e3 99.99 NaN 0x1F 1.2.3";
    EXPECT_EQ(ReadArchive(h, Day(10, 5, {record}), Oct5)[1],
              (Lines{"05.10.2009 12:30:00", "1,5", "-0,25", "1000", "Err.3", "Err.2", "Err.2", "Err.2"}));
    // The same record where the decimal separator is a full stop.
    FormatSettings.DecimalSeparator = u'.';
    EXPECT_EQ(ReadArchive(h, Day(10, 5, {record}), Oct5)[1],
              (Lines{"05.10.2009 12:30:00", "1.5", "-0.25", "1000", "Err.3", "Err.2", "Err.2", "Err.2"}));
}

TEST(ArchiveTable, InvalidDatesAndShortRecordsGiveErr4) {
    LineHarness h;
    // Sorted as text, "05 10" comes first: it has no time and no values.
    EXPECT_EQ(ReadArchive(h, Day(10, 5, {"31 02 10 00 7", "65541 10 12 00 8", "05 10"}), Oct5),
              (Table{{"Дата", "Значение1"}, {"Err.4", ""}, {"Err.4", "7"}, {"Err.4", "8"}}));
    EXPECT_EQ(h.form->recordTime, 0);
}

TEST(ArchiveTable, ColumnsGrowWithLaterDaysAndStopAtThirteen) {
    LineHarness h;
    devsim::Archive a;
    a.Add({10, 5}, "05 10 12 00 1");
    a.Add({10, 6}, "06 10 12 00 1 2 3");
    std::string wide = "07 10 12 00";
    for (int k = 1; k <= 20; ++k) wide += " " + std::to_string(k);
    a.Add({10, 7}, wide);
    const Table t = ReadArchive(h, a, Oct5, 3);
    ASSERT_EQ(t.size(), 4u);
    ASSERT_EQ(t[0].size(), 14u);
    for (int k = 1; k <= 13; ++k) EXPECT_EQ(t[0][k], "Значение" + std::to_string(k));
    EXPECT_EQ(t[1], (Lines{"05.10.2009 12:00:00", "1", "", "", "", "", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(t[2][3], "3");
    EXPECT_EQ(t[2][4], "");
    EXPECT_EQ(t[3][13], "13");
}

TEST(ArchiveTable, EachReadStartsFromAnEmptyTable) {
    LineHarness h;
    ReadArchive(h, Day(10, 5, {"05 10 12 00 1 2 3", "05 10 13 00 4 5 6"}), Oct5);
    h.form->StringGrid->SetCells(2, 0, u"Давление");
    EXPECT_EQ(ReadArchive(h, Day(10, 5, {"05 10 12 00 9"}), Oct5),
              (Table{{"Дата", "Значение1"}, {"05.10.2009 12:00:00", "9"}}));
    // Grown again, the table shows no cell of the earlier read.
    h.form->StringGrid->SetColCount(4);
    h.form->StringGrid->SetRowCount(3);
    EXPECT_EQ(h.Row(0), (Lines{"Дата", "Значение1", "", ""}));
    EXPECT_EQ(h.Row(2), (Lines{"", "", "", ""}));
}

class HeaderEdit : public ::testing::Test {
protected:
    void SetUp() override {
        h.form->Show();
        ReadArchive(h, Day(10, 5, {"05 10 12 00 1 2"}), Oct5);
        grid = h.form->StringGrid;
    }
    void DoubleClick(int col, int row) {
        const TRect r = grid->CellRect(col, row);
        ASSERT_FALSE(IsRectEmpty(r));
        // The double click's position is where the mouse is.
        Mouse->SetCursorPos(grid->ClientToScreen({r.Left + 3, r.Top + 3}));
        h.form->StringGridDblClick(grid);
    }

    LineHarness h;
    TStringGrid* grid = nullptr;
};

TEST_F(HeaderEdit, RenamesAValueColumnInPlace) {
    DoubleClick(2, 0);
    ASSERT_TRUE(h.form->Edit1->GetVisible());
    EXPECT_EQ(h.form->Edit1->GetText(), u"Значение2");
    const TRect cell = grid->CellRect(2, 0);
    EXPECT_EQ(h.form->Edit1->GetWidth(), cell.Width() + 2);
    EXPECT_EQ(h.form->Edit1->GetHeight(), cell.Height() + 2);
    EXPECT_EQ(h.form->Edit1->ClientToScreen({0, 0}), grid->ClientToScreen(cell.TopLeft()));
    h.form->Edit1->SetText(u"Давление");
    h.form->Edit1Exit(h.form->Edit1);
    EXPECT_FALSE(h.form->Edit1->GetVisible());
    EXPECT_EQ(h.Row(0), (Lines{"Дата", "Значение1", "Давление"}));
}

TEST_F(HeaderEdit, OnlyValueHeadersAreEdited) {
    DoubleClick(0, 0);
    EXPECT_FALSE(h.form->Edit1->GetVisible());
    DoubleClick(1, 1);
    EXPECT_FALSE(h.form->Edit1->GetVisible());
    // Outside every cell.
    Mouse->SetCursorPos(grid->ClientToScreen({grid->GetClientWidth() - 2, grid->GetClientHeight() - 2}));
    h.form->StringGridDblClick(grid);
    EXPECT_FALSE(h.form->Edit1->GetVisible());
}

TEST_F(HeaderEdit, AnEditOpenWhenAReadStartsIsCancelled) {
    DoubleClick(2, 0);
    ASSERT_TRUE(h.form->Edit1->GetVisible());
    h.form->Edit1->SetText(u"Давление");
    devsim::Device dev(Day(10, 5, {"05 10 12 00 1"}), DeviceNumber(7));
    h.Read();
    EXPECT_FALSE(h.form->Edit1->GetVisible());
    // Its exit, wherever it comes from, writes nothing: the column is gone.
    h.form->Edit1Exit(h.form->Edit1);
    h.Serve(dev);
    EXPECT_EQ(h.Grid(), (Table{{"Дата", "Значение1"}, {"05.10.2009 12:00:00", "1"}}));
    h.form->Edit1Exit(h.form->Edit1);
    EXPECT_EQ(h.Grid(), (Table{{"Дата", "Значение1"}, {"05.10.2009 12:00:00", "1"}}));
}
