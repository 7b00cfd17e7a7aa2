#include "platform/gui/grids.h"
#include "platform/gui/stdctrls.h"

#include "tests/platform/gui/guitest.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QTableView>

#include <chrono>

namespace {

class GridsTest : public GuiTest {};

struct GridForm : TestForm {
    TStringGrid* grid = Create<TStringGrid>(get());
    GridForm() {
        get()->SetClientWidth(500);
        get()->SetClientHeight(300);
        grid->SetParent(get());
        grid->SetAlign(alClient);
        grid->SetColCount(2);
        grid->SetRowCount(2);
        grid->SetDefaultRowHeight(15);
        grid->SetOptions(grid->GetOptions() + goColSizing);
        grid->SetCells(0, 0, u"Дата");
        grid->SetDefaultColWidth(65);
        grid->SetColWidths(0, 107);
    }
};

TEST_F(GridsTest, TheFixedRowAndColumnAreTheHeaders) {
    GridForm f;
    f.grid->SetColCount(3);
    f.grid->SetCells(1, 0, u"Значение1");
    f.grid->SetCells(0, 1, u"05.10.2009 12:30:00");
    f.grid->SetCells(1, 1, u"1,5");
    QTableView* v = f.grid->View();
    EXPECT_EQ(v->model()->rowCount(), 1);
    EXPECT_EQ(v->model()->columnCount(), 2);
    EXPECT_EQ(v->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Значение1"));
    EXPECT_EQ(v->model()->headerData(0, Qt::Vertical).toString(), QStringLiteral("05.10.2009 12:30:00"));
    EXPECT_EQ(v->model()->index(0, 0).data().toString(), QStringLiteral("1,5"));
    EXPECT_EQ(v->verticalHeader()->width(), 108);
    EXPECT_EQ(v->horizontalHeader()->height(), 16);
    EXPECT_EQ(v->horizontalHeader()->sectionSize(1), 66);
    EXPECT_EQ(f.grid->GetColWidths(2), 65);
    EXPECT_EQ(v->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    // Both scroll bars, each only while the cells do not fit; a style without one has it off.
    EXPECT_EQ(v->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    f.grid->SetScrollBars(ssVertical);
    EXPECT_EQ(v->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_EQ(v->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST_F(GridsTest, ShrinkingForgetsTheCellsOutside) {
    GridForm f;
    f.grid->SetColCount(4);
    f.grid->SetRowCount(4);
    f.grid->SetCells(3, 3, u"x");
    f.grid->SetCells(1, 1, u"y");
    f.grid->SetColCount(2);
    f.grid->SetRowCount(2);
    f.grid->SetColCount(4);
    f.grid->SetRowCount(4);
    EXPECT_EQ(f.grid->GetCells(3, 3), u"");
    EXPECT_EQ(f.grid->GetCells(1, 1), u"y");
    // A new default width applies to every column.
    f.grid->SetColWidths(2, 200);
    f.grid->SetDefaultColWidth(70);
    EXPECT_EQ(f.grid->GetColWidths(2), 70);
    EXPECT_EQ(f.grid->GetColWidths(0), 70);
}

TEST_F(GridsTest, MouseToCellAndCellRectAgree) {
    GridForm f;
    f.grid->SetColCount(4);
    f.grid->SetRowCount(30);
    f->Show();
    ASSERT_TRUE(WaitFor([&] { return f.grid->View()->isVisible(); }));
    for (auto [c, r] : {std::pair{0, 0}, {1, 0}, {2, 0}, {0, 3}, {3, 5}}) {
        const TRect rc = f.grid->CellRect(c, r);
        ASSERT_FALSE(IsRectEmpty(rc)) << c << "," << r;
        EXPECT_EQ(rc.Width(), f.grid->GetColWidths(c));
        EXPECT_EQ(rc.Height(), 15);
        int col = -2, row = -2;
        f.grid->MouseToCell(rc.Left + 2, rc.Top + 2, col, row);
        EXPECT_EQ(col, c);
        EXPECT_EQ(row, r);
    }
    EXPECT_EQ(f.grid->CellRect(1, 0).Left, 108);
    EXPECT_EQ(f.grid->CellRect(1, 1).Top, 16);
    // Scrolled out of sight, a cell has no rectangle.
    f.grid->SetTopRow(20);
    EXPECT_TRUE(IsRectEmpty(f.grid->CellRect(1, 1)));
    EXPECT_FALSE(IsRectEmpty(f.grid->CellRect(1, 0)));
}

TEST_F(GridsTest, ADoubleClickOnAHeaderReachesTheGrid) {
    GridForm f;
    f->Show();
    ASSERT_TRUE(WaitFor([&] { return f.grid->View()->isVisible(); }));
    TPoint at;
    int doubles = 0;
    f.grid->OnDblClick.Bind([&](TObject*) {
        ++doubles;
        at = f.grid->ScreenToClient(Mouse->GetCursorPos());
    });
    QWidget* header = f.grid->View()->horizontalHeader()->viewport();
    const QPoint local(10, 5);
    const QPoint global = header->mapToGlobal(local);
    QCursor::setPos(global);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, local, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QCoreApplication::sendEvent(header, &dbl);
    EXPECT_EQ(doubles, 1);
    int col = -1, row = -1;
    f.grid->MouseToCell(at.X, at.Y, col, row);
    EXPECT_EQ(col, 1);
    EXPECT_EQ(row, 0);
}

// Rows added one by one as the archive table grows keep every cell (the
// speed of it is bench/controls_bench.cpp's).
TEST_F(GridsTest, RowsAddedOneByOneKeepTheirCells) {
    GridForm f;
    f->Show();
    f.grid->SetColCount(14);
    for (int r = 1; r <= 2000; ++r) {
        if (r > 1) f.grid->SetRowCount(f.grid->GetRowCount() + 1);
        for (int c = 0; c < 14; ++c) f.grid->SetCells(c, r, IntToStr(r * 100 + c));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(f.grid->GetRowCount(), 2001);
    EXPECT_EQ(f.grid->GetCells(0, 1), u"100");
    EXPECT_EQ(f.grid->GetCells(13, 2000), u"200013");
}

} // namespace

namespace {

class GridsMoreTest : public GuiTest {};

TEST_F(GridsMoreTest, AColumnTheUserWidensKeepsItsWidth) {
    GridForm f;
    f.grid->SetColCount(3);
    f->Show();
    f.grid->View()->horizontalHeader()->resizeSection(0, 121);
    EXPECT_EQ(f.grid->GetColWidths(1), 120);
    EXPECT_EQ(f.grid->GetColWidths(2), 65);
    // Without column sizing the user cannot drag them.
    f.grid->SetOptions(f.grid->GetOptions() - goColSizing);
    EXPECT_EQ(f.grid->View()->horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
}

} // namespace
