#include "platform/gui/grids.h"
#include "platform/gui/guiclasses.h"

#include "platform/core/sysutils.h"
#include "platform/gui/qtbridge.h"

#include "platform/gui/graphics.h"
#include "platform/gui/stdctrls.h"
#include "platform/win32/gdiqt.h"

#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <QTableView>

#include <algorithm>
#include <climits>

using namespace gui_detail;

template <>
const EnumInfo& EnumInfoOf<TGridOption>() {
    static const EnumInfo info{"TGridOption",
                               {"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine",
                                "goRangeSelect", "goDrawFocusSelected", "goRowSizing", "goColSizing",
                                "goRowMoving", "goColMoving", "goEditing", "goTabs", "goRowSelect",
                                "goAlwaysShowEditor", "goThumbTracking"}};
    return info;
}

// The model asks the grid for each cell's text; the first fixed row and
// column are the headers.
class GridModel : public QAbstractTableModel {
public:
    explicit GridModel(TCustomGrid* grid) : grid_(grid) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : std::max(grid_->FRowCount - grid_->HeaderRows(), 0);
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : std::max(grid_->FColCount - grid_->HeaderCols(), 0);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const int col = index.column() + grid_->HeaderCols();
        const int row = index.row() + grid_->HeaderRows();
        switch (role) {
        case Qt::DisplayRole:
            return ToQString(grid_->CellText(col, row));
        case Qt::EditRole:
            return ToQString(grid_->GetEditText(col, row));
        case Qt::TextAlignmentRole:
            return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::BackgroundRole:
            // Fixed rows and columns past the first are drawn as fixed cells.
            if (row < grid_->FFixedRows || col < grid_->FFixedCols) return ToQColor(grid_->FFixedColor);
            return {};
        default:
            return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role == Qt::TextAlignmentRole) return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
        if (role != Qt::DisplayRole) return {};
        if (orientation == Qt::Horizontal)
            return grid_->HeaderRows() ? ToQString(grid_->CellText(section + grid_->HeaderCols(), 0))
                                       : QVariant();
        return grid_->HeaderCols() ? ToQString(grid_->CellText(0, section + grid_->HeaderRows()))
                                   : QVariant();
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        const int col = index.column() + grid_->HeaderCols();
        const int row = index.row() + grid_->HeaderRows();
        if (grid_->FOptions.Contains(goEditing) && row >= grid_->FFixedRows && col >= grid_->FFixedCols)
            f |= Qt::ItemIsEditable;
        return f;
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (role != Qt::EditRole) return false;
        // The editor hands its text over as it closes: the grid is out of editor mode by then, so
        // that a text cleared there empties the cell.
        grid_->FStoringEdit = true;
        Guarded(grid_, [&] {
            grid_->SetEditText(index.column() + grid_->HeaderCols(), index.row() + grid_->HeaderRows(),
                               FromQString(value.toString()));
        });
        grid_->FStoringEdit = false;
        return true;
    }

    void Reset() {
        beginResetModel();
        endResetModel();
    }
    void RowsChanged(int oldRows, int newRows) {
        const int hr = grid_->HeaderRows();
        const int a = std::max(oldRows - hr, 0), b = std::max(newRows - hr, 0);
        if (b > a) {
            beginInsertRows({}, a, b - 1);
            endInsertRows();
        } else if (b < a) {
            beginRemoveRows({}, b, a - 1);
            endRemoveRows();
        }
    }
    void ColsChanged(int oldCols, int newCols) {
        const int hc = grid_->HeaderCols();
        const int a = std::max(oldCols - hc, 0), b = std::max(newCols - hc, 0);
        if (b > a) {
            beginInsertColumns({}, a, b - 1);
            endInsertColumns();
        } else if (b < a) {
            beginRemoveColumns({}, b, a - 1);
            endRemoveColumns();
        }
    }
    // Cell changes reach the view once per turn of the event loop, as one
    // range each for cells, column headers and row headers: filling a table
    // of ten thousand rows must not cost a signal per cell.
    void CellChanged(int col, int row) {
        const int hc = grid_->HeaderCols(), hr = grid_->HeaderRows();
        if (row < hr && col < hc) return;
        if (row < hr)
            cols_.Add(col - hc);
        else if (col < hc)
            rows_.Add(row - hr);
        else {
            cellRows_.Add(row - hr);
            cellCols_.Add(col - hc);
        }
        if (!flushPending_) {
            flushPending_ = true;
            QMetaObject::invokeMethod(
                this, [this] { Flush(); }, Qt::QueuedConnection);
        }
    }
    void Flush() {
        flushPending_ = false;
        const int rows = rowCount(), cols = columnCount();
        if (cols_.Clamp(cols)) emit headerDataChanged(Qt::Horizontal, cols_.first, cols_.last);
        if (rows_.Clamp(rows)) emit headerDataChanged(Qt::Vertical, rows_.first, rows_.last);
        if (cellRows_.Clamp(rows) && cellCols_.Clamp(cols))
            emit dataChanged(index(cellRows_.first, cellCols_.first), index(cellRows_.last, cellCols_.last),
                             {Qt::DisplayRole});
        cols_ = rows_ = cellRows_ = cellCols_ = {};
    }

private:
    struct Span {
        int first = INT_MAX;
        int last = -1;
        void Add(int i) {
            first = std::min(first, i);
            last = std::max(last, i);
        }
        // Keeps the span within a count that may have shrunk since; false when nothing is left.
        bool Clamp(int count) {
            last = std::min(last, count - 1);
            return first <= last;
        }
    };

    TCustomGrid* grid_;
    Span cols_, rows_, cellRows_, cellCols_;
    bool flushPending_ = false;
};

namespace {

// Paints one cell of an owner-drawn grid onto a painter: the cell is drawn into
// an image of its own, at its client rectangle, and the image is shown.
void PaintOwnerCell(TCustomGrid* grid, QPainter* painter, const QRect& target, const QPoint& client, int col,
                    int row, TGridDrawState state) {
    if (target.width() <= 0 || target.height() <= 0) return;
    QImage image(target.size(), QImage::Format_RGB32);
    const TRect rect = Bounds(client.x(), client.y(), target.width(), target.height());
    Guarded(grid, [&] { grid->PaintCell(col, row, image, rect, state); });
    painter->drawImage(target.topLeft(), image);
}

// A header whose sections the grid draws itself when it owner-draws; the grid line
// after each section is left to the header's own colour of lines.
class GridHeader : public QHeaderView {
public:
    GridHeader(Qt::Orientation o, QWidget* parent) : QHeaderView(o, parent) {}
    TCustomGrid* grid = nullptr;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        if (!grid || !grid->OwnerDraw()) {
            QHeaderView::paintSection(painter, rect, logicalIndex);
            return;
        }
        const int line = grid->GetGridLineWidth();
        const bool across = orientation() == Qt::Horizontal;
        const int col = across ? logicalIndex + grid->HeaderCols() : 0;
        const int row = across ? 0 : logicalIndex + grid->HeaderRows();
        const QRect cell = rect.adjusted(0, 0, -line, -line);
        const QPoint client = viewport()->mapTo(grid->View(), cell.topLeft());
        painter->fillRect(rect, palette().color(QPalette::Mid));
        PaintOwnerCell(grid, painter, cell, client, col, row, TGridDrawState{gdFixed});
    }
};

// Cells of an owner-drawn grid go to the grid; the editor it opens is the line
// edit kept here, and opens only where the grid lets it.
class GridDelegate : public QStyledItemDelegate {
public:
    GridDelegate(TCustomGrid* grid, QObject* parent) : QStyledItemDelegate(parent), grid_(grid) {
        connect(this, &QAbstractItemDelegate::closeEditor, this, [this](QWidget* w) {
            if (w == editor_) editor_ = nullptr;
        });
    }
    QLineEdit* Editor() const { return editor_; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (!grid_->OwnerDraw()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const int col = index.column() + grid_->HeaderCols();
        const int row = index.row() + grid_->HeaderRows();
        TGridDrawState state;
        if (option.state & QStyle::State_Selected) state += gdSelected;
        if (index == grid_->View()->currentIndex()) state += gdFocused;
        if (col < grid_->GetFixedCols() || row < grid_->GetFixedRows()) state += gdFixed;
        const QPoint client = grid_->View()->viewport()->mapTo(grid_->View(), option.rect.topLeft());
        PaintOwnerCell(grid_, painter, option.rect, client, col, row, state);
    }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        bool allowed = false;
        Guarded(grid_, [&] { allowed = grid_->CanEditShow(); });
        if (!allowed) return nullptr;
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        editor_ = editor;
        return editor;
    }

private:
    TCustomGrid* grid_;
    mutable QPointer<QLineEdit> editor_;
};

// The frame of the grid, with the view inside it.
class GridFrame : public QFrame {
public:
    GridFrame() {
        setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        view_ = new QTableView(this);
        view_->setFrameShape(QFrame::NoFrame);
        auto* top = new GridHeader(Qt::Horizontal, view_);
        auto* side = new GridHeader(Qt::Vertical, view_);
        view_->setHorizontalHeader(top);
        view_->setVerticalHeader(side);
    }
    QTableView* View() const { return view_; }

protected:
    void resizeEvent(QResizeEvent* e) override {
        QFrame::resizeEvent(e);
        view_->setGeometry(contentsRect());
    }

private:
    QTableView* view_;
};

// The top-left fixed cell sits where the view has its corner button. The
// painter is a child of the button it paints, so it goes with it.
class CornerPainter : public QObject {
public:
    CornerPainter(TCustomGrid* grid, QAbstractButton* corner) : QObject(corner), grid_(grid) {
        corner->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        auto* w = static_cast<QWidget*>(watched);
        QPainter p(w);
        if (grid_->OwnerDraw()) {
            const int line = grid_->GetGridLineWidth();
            const QRect cell = w->rect().adjusted(0, 0, -line, -line);
            p.fillRect(w->rect(), w->palette().color(QPalette::Mid));
            PaintOwnerCell(grid_, &p, cell, w->mapTo(grid_->View(), QPoint(0, 0)), 0, 0,
                           TGridDrawState{gdFixed});
            return true;
        }
        QStyleOptionHeader option;
        option.initFrom(w);
        option.rect = w->rect();
        option.position = QStyleOptionHeader::OnlyOneSection;
        option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        option.text = ToQString(grid_->CellText(0, 0));
        w->style()->drawControl(QStyle::CE_Header, &option, &p, w);
        return true;
    }

private:
    TCustomGrid* grid_;
};

} // namespace

// ---------------------------------------------------------------------------
// TCustomGrid

const ClassInfo& TCustomGrid::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TCustomGrid>("TCustomGrid", &TCustomControl::StaticClass());
    return ci;
}

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner, new GridFrame()) {
    InitColor(clWindow);
    FView = static_cast<GridFrame*>(Widget())->View();
    FModel = std::make_unique<GridModel>(this);
    FView->setModel(FModel.get());
    static_cast<GridHeader*>(FView->horizontalHeader())->grid = this;
    static_cast<GridHeader*>(FView->verticalHeader())->grid = this;
    FView->setItemDelegate(new GridDelegate(this, FView));
    FView->setWordWrap(false);
    FView->setTextElideMode(Qt::ElideNone);
    FView->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    FView->horizontalHeader()->setMinimumSectionSize(1);
    FView->verticalHeader()->setMinimumSectionSize(1);
    FView->horizontalHeader()->setHighlightSections(false);
    FView->verticalHeader()->setHighlightSections(false);
    FView->horizontalHeader()->setSectionsClickable(false);
    FView->verticalHeader()->setSectionsClickable(false);
    FView->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    FView->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    FView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    if (auto* corner = FView->findChild<QAbstractButton*>()) new CornerPainter(this, corner);
    RegisterWidget(FView, this);
    RegisterWidget(FView->viewport(), this);
    RegisterWidget(FView->horizontalHeader()->viewport(), this);
    RegisterWidget(FView->verticalHeader()->viewport(), this);
    FColWidths.assign(static_cast<std::size_t>(FColCount), FDefaultColWidth);
    FRowHeights.assign(static_cast<std::size_t>(FRowCount), FDefaultRowHeight);
    InitTabStop(true);
    SetBounds(0, 0, 320, 120);
    SetScrollBars(ssBoth);
    ApplyOptions();
    ApplySizes();
    ApplyColor();
    QObject::connect(FView->horizontalHeader(), &QHeaderView::sectionResized,
                     [this](int section, int, int size) {
                         if (FSyncing) return;
                         const int col = section + HeaderCols();
                         if (col < FColCount)
                             FColWidths[static_cast<std::size_t>(col)] = std::max(size - FGridLineWidth, 0);
                     });
    QObject::connect(FView->selectionModel(), &QItemSelectionModel::currentChanged,
                     [this](const QModelIndex& current, const QModelIndex&) {
                         if (FSyncing || !current.isValid()) return;
                         CurrentCellChanged(current.column() + HeaderCols(), current.row() + HeaderRows());
                     });
}

TCustomGrid::~TCustomGrid() {
    UnregisterWidget(FView->verticalHeader()->viewport());
    UnregisterWidget(FView->horizontalHeader()->viewport());
    UnregisterWidget(FView->viewport());
    UnregisterWidget(FView);
    // The view lets go of the model before the model goes.
    FView->setModel(nullptr);
}

QWidget* TCustomGrid::InputSurface() const {
    return FView;
}

void TCustomGrid::ApplyColor() {
    const QColor color =
        GetColor() == clWindow ? QApplication::palette().color(QPalette::Base) : ToQColor(GetColor());
    QPalette p = FView->palette();
    p.setColor(QPalette::Base, color);
    FView->setPalette(p);
    // Past the last row and column the grid shows its own colour, also beside
    // the fixed cells.
    for (QHeaderView* header : {FView->horizontalHeader(), FView->verticalHeader()}) {
        QPalette hp = header->palette();
        hp.setColor(QPalette::Window, color);
        header->setPalette(hp);
    }
}

void TCustomGrid::SetColCount(int Value) {
    Value = std::max(Value, 1);
    if (Value == FColCount) return;
    const int old = FColCount;
    FColWidths.resize(static_cast<std::size_t>(Value), FDefaultColWidth);
    FColCount = Value;
    if (FFixedCols >= Value) FFixedCols = Value - 1;
    SizeChanged(old, FRowCount);
    FModel->ColsChanged(old, Value);
    FCol = std::clamp(FCol, FFixedCols, Value - 1);
    ApplySizes();
}

void TCustomGrid::SetRowCount(int Value) {
    Value = std::max(Value, 1);
    if (Value == FRowCount) return;
    const int old = FRowCount;
    FRowHeights.resize(static_cast<std::size_t>(Value), FDefaultRowHeight);
    FRowCount = Value;
    if (FFixedRows >= Value) FFixedRows = Value - 1;
    SizeChanged(FColCount, old);
    FModel->RowsChanged(old, Value);
    FRow = std::clamp(FRow, FFixedRows, Value - 1);
    if (Value < old) ApplySizes();
}

void TCustomGrid::SetFixedCols(int Value) {
    if (Value < 0 || Value >= FColCount)
        throw EInvalidOperation(u"Fixed column count must be less than column count");
    // The same count again keeps the view as it is (an open editor, the current cell).
    if (Value == FFixedCols) return;
    FFixedCols = Value;
    FModel->Reset();
    ApplySizes();
}

void TCustomGrid::SetFixedRows(int Value) {
    if (Value < 0 || Value >= FRowCount)
        throw EInvalidOperation(u"Fixed row count must be less than row count");
    // The same count again keeps the view as it is (an open editor, the current cell).
    if (Value == FFixedRows) return;
    FFixedRows = Value;
    FModel->Reset();
    ApplySizes();
}

void TCustomGrid::SetDefaultColWidth(int Value) {
    FDefaultColWidth = Value;
    std::fill(FColWidths.begin(), FColWidths.end(), Value);
    ApplySizes();
}

void TCustomGrid::SetDefaultRowHeight(int Value) {
    FDefaultRowHeight = Value;
    std::fill(FRowHeights.begin(), FRowHeights.end(), Value);
    ApplySizes();
}

int TCustomGrid::GetColWidths(int Index) const {
    if (Index < 0 || Index >= FColCount) return FDefaultColWidth;
    return FColWidths[static_cast<std::size_t>(Index)];
}

void TCustomGrid::SetColWidths(int Index, int Value) {
    if (Index < 0 || Index >= FColCount) throw EInvalidOperation(u"Grid index out of range");
    FColWidths[static_cast<std::size_t>(Index)] = Value;
    ApplySizes();
}

int TCustomGrid::GetRowHeights(int Index) const {
    if (Index < 0 || Index >= FRowCount) return FDefaultRowHeight;
    return FRowHeights[static_cast<std::size_t>(Index)];
}

void TCustomGrid::SetRowHeights(int Index, int Value) {
    if (Index < 0 || Index >= FRowCount) throw EInvalidOperation(u"Grid index out of range");
    FRowHeights[static_cast<std::size_t>(Index)] = Value;
    ApplySizes();
}

void TCustomGrid::SetGridLineWidth(int Value) {
    FGridLineWidth = std::max(Value, 0);
    FView->setShowGrid(FGridLineWidth > 0 &&
                       (FOptions.Contains(goVertLine) || FOptions.Contains(goHorzLine)));
    ApplySizes();
}

void TCustomGrid::SetOptions(TGridOptions Value) {
    FOptions = Value;
    ApplyOptions();
}

void TCustomGrid::SetBorderStyle(TBorderStyle Value) {
    FBorderStyle = Value;
    static_cast<QFrame*>(Widget())->setFrameStyle(Value == bsNone ? QFrame::NoFrame
                                                                  : QFrame::StyledPanel | QFrame::Sunken);
}

void TCustomGrid::SetScrollBars(TScrollStyle Value) {
    FScrollBars = Value;
    const bool vertical = Value == ssVertical || Value == ssBoth;
    const bool horizontal = Value == ssHorizontal || Value == ssBoth;
    FView->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    FView->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void TCustomGrid::ApplyOptions() {
    FView->setShowGrid(FGridLineWidth > 0 &&
                       (FOptions.Contains(goVertLine) || FOptions.Contains(goHorzLine)));
    FView->setSelectionBehavior(FOptions.Contains(goRowSelect) ? QAbstractItemView::SelectRows
                                                               : QAbstractItemView::SelectItems);
    FView->setSelectionMode(FOptions.Contains(goRangeSelect) ? QAbstractItemView::ContiguousSelection
                                                             : QAbstractItemView::SingleSelection);
    FView->setEditTriggers(FOptions.Contains(goEditing)
                               ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                     QAbstractItemView::AnyKeyPressed
                               : QAbstractItemView::NoEditTriggers);
    FView->setTabKeyNavigation(FOptions.Contains(goTabs));
    FView->horizontalHeader()->setSectionResizeMode(FOptions.Contains(goColSizing) ? QHeaderView::Interactive
                                                                                   : QHeaderView::Fixed);
    FView->verticalHeader()->setSectionResizeMode(FOptions.Contains(goRowSizing) ? QHeaderView::Interactive
                                                                                 : QHeaderView::Fixed);
}

// The view's sections include the grid line drawn after each cell.
void TCustomGrid::ApplySizes() {
    FSyncing = true;
    const int hc = HeaderCols(), hr = HeaderRows();
    QHeaderView* top = FView->horizontalHeader();
    QHeaderView* side = FView->verticalHeader();
    top->setVisible(hr > 0);
    side->setVisible(hc > 0);
    if (hr > 0) top->setFixedHeight(FRowHeights[0] + FGridLineWidth);
    if (hc > 0) side->setFixedWidth(FColWidths[0] + FGridLineWidth);
    for (int c = hc; c < FColCount; ++c)
        top->resizeSection(c - hc, FColWidths[static_cast<std::size_t>(c)] + FGridLineWidth);
    side->setDefaultSectionSize(FDefaultRowHeight + FGridLineWidth);
    for (int r = hr; r < FRowCount; ++r)
        if (FRowHeights[static_cast<std::size_t>(r)] != FDefaultRowHeight ||
            side->sectionSize(r - hr) != FDefaultRowHeight + FGridLineWidth)
            side->resizeSection(r - hr, FRowHeights[static_cast<std::size_t>(r)] + FGridLineWidth);
    FSyncing = false;
}

void TCustomGrid::SetCol(int Value) {
    if (Value < FFixedCols || Value >= FColCount) throw EInvalidOperation(u"Grid index out of range");
    FCol = Value;
    FSyncing = true;
    FView->setCurrentIndex(FModel->index(std::max(FRow - HeaderRows(), 0), Value - HeaderCols()));
    FSyncing = false;
    CurrentCellMoved();
}

void TCustomGrid::SetRow(int Value) {
    if (Value < FFixedRows || Value >= FRowCount) throw EInvalidOperation(u"Grid index out of range");
    FRow = Value;
    FSyncing = true;
    FView->setCurrentIndex(FModel->index(Value - HeaderRows(), std::max(FCol - HeaderCols(), 0)));
    FSyncing = false;
    CurrentCellMoved();
}

bool TCustomGrid::SelectCell(int ACol, int ARow) {
    bool can = true;
    if (OnSelectCell) OnSelectCell(this, ACol, ARow, can);
    return can;
}

void TCustomGrid::CurrentCellChanged(int ACol, int ARow) {
    const bool can = SelectCell(ACol, ARow);
    if (!can) {
        FSyncing = true;
        FView->setCurrentIndex(FModel->index(FRow - HeaderRows(), FCol - HeaderCols()));
        FSyncing = false;
        return;
    }
    FCol = ACol;
    FRow = ARow;
    CurrentCellMoved();
}

TGridRect TCustomGrid::GetSelection() const {
    const QModelIndexList sel = FView->selectionModel()->selectedIndexes();
    if (sel.isEmpty()) return {FCol, FRow, FCol, FRow};
    TGridRect r{INT32_MAX, INT32_MAX, -1, -1};
    for (const QModelIndex& i : sel) {
        r.Left = std::min(r.Left, i.column() + HeaderCols());
        r.Right = std::max(r.Right, i.column() + HeaderCols());
        r.Top = std::min(r.Top, i.row() + HeaderRows());
        r.Bottom = std::max(r.Bottom, i.row() + HeaderRows());
    }
    return r;
}

int TCustomGrid::GetTopRow() const {
    const int r = FView->rowAt(0);
    return (r < 0 ? 0 : r) + HeaderRows();
}

void TCustomGrid::SetTopRow(int Value) {
    const QModelIndex i = FModel->index(Value - HeaderRows(), 0);
    if (i.isValid()) FView->scrollTo(i, QAbstractItemView::PositionAtTop);
}

int TCustomGrid::GetLeftCol() const {
    const int c = FView->columnAt(0);
    return (c < 0 ? 0 : c) + HeaderCols();
}

int TCustomGrid::GetVisibleRowCount() const {
    const int h = FView->viewport()->height();
    const int step = FDefaultRowHeight + FGridLineWidth;
    return step > 0 ? std::max(h / step, 0) : 0;
}

int TCustomGrid::GetVisibleColCount() const {
    int n = 0;
    for (int c = GetLeftCol(); c < FColCount; ++c) {
        const int x = FView->columnViewportPosition(c - HeaderCols());
        if (x < 0 || x + GetColWidths(c) > FView->viewport()->width()) break;
        ++n;
    }
    return n;
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
    const TGridCoord c = MouseCoord(X, Y);
    ACol = c.X;
    ARow = c.Y;
}

// Client coordinates are the view's: the headers at the top and left, the
// cells' viewport beside them.
TGridCoord TCustomGrid::MouseCoord(int X, int Y) const {
    const QRect vp = FView->viewport()->geometry();
    TGridCoord r{-1, -1};
    if (X >= 0 && X < vp.left() && HeaderCols() > 0) {
        r.X = 0;
    } else if (X >= vp.left() && X < vp.right() + 1) {
        const int c = FView->columnAt(X - vp.left());
        r.X = c < 0 ? -1 : c + HeaderCols();
    }
    if (Y >= 0 && Y < vp.top() && HeaderRows() > 0) {
        r.Y = 0;
    } else if (Y >= vp.top() && Y < vp.bottom() + 1) {
        const int row = FView->rowAt(Y - vp.top());
        r.Y = row < 0 ? -1 : row + HeaderRows();
    }
    return r;
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const {
    if (ACol < 0 || ARow < 0 || ACol >= FColCount || ARow >= FRowCount) return {};
    const QRect vp = FView->viewport()->geometry();
    int x = 0, y = 0;
    if (ACol < HeaderCols())
        x = 0;
    else
        x = vp.left() + FView->columnViewportPosition(ACol - HeaderCols());
    if (ARow < HeaderRows())
        y = 0;
    else
        y = vp.top() + FView->rowViewportPosition(ARow - HeaderRows());
    const TRect r = Bounds(x, y, GetColWidths(ACol), GetRowHeights(ARow));
    // A cell scrolled away has no rectangle.
    if ((ACol >= HeaderCols() && (r.Right <= vp.left() || r.Left > vp.right())) ||
        (ARow >= HeaderRows() && (r.Bottom <= vp.top() || r.Top > vp.bottom())))
        return {};
    return r;
}

void TCustomGrid::SetSelection(const TGridRect& Value) {
    const int hc = HeaderCols(), hr = HeaderRows();
    const QModelIndex from = FModel->index(Value.Top - hr, Value.Left - hc);
    const QModelIndex to = FModel->index(Value.Bottom - hr, Value.Right - hc);
    if (!from.isValid() || !to.isValid()) return;
    FSyncing = true;
    FView->selectionModel()->select(QItemSelection(from, to), QItemSelectionModel::ClearAndSelect);
    FSyncing = false;
}

TGridState TCustomGrid::GetGridState() const {
    return FGridState;
}

// A press on a cell that is not fixed starts a selection; one within a few pixels of a
// header section's end, where the sections can be sized, starts sizing.
void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FGridState = gsNormal;
    if (Button == mbLeft) {
        const TGridCoord c = MouseCoord(X, Y);
        const QRect vp = FView->viewport()->geometry();
        auto nearEdge = [](QHeaderView* h, int pos) {
            const int i = h->logicalIndexAt(pos);
            if (i < 0) return false;
            const int end = h->sectionViewportPosition(i) + h->sectionSize(i);
            const int start = h->sectionViewportPosition(i);
            return std::abs(pos - end) <= 3 || (i > 0 && std::abs(pos - start) <= 3);
        };
        if (c.Y == 0 && HeaderRows() > 0 && Y < vp.top() && FOptions.Contains(goColSizing) &&
            nearEdge(FView->horizontalHeader(), X - vp.left()))
            FGridState = gsColSizing;
        else if (c.X == 0 && HeaderCols() > 0 && X < vp.left() && FOptions.Contains(goRowSizing) &&
                 nearEdge(FView->verticalHeader(), Y - vp.top()))
            FGridState = gsRowSizing;
        else if (c.X >= FFixedCols && c.Y >= FFixedRows)
            FGridState = gsSelecting;
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) FGridState = gsNormal;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

bool TCustomGrid::CanEditShow() {
    return FOptions.Contains(goEditing) && FCol >= FFixedCols && FRow >= FFixedRows;
}

static GridDelegate* DelegateOf(QTableView* view) {
    return static_cast<GridDelegate*>(view->itemDelegate());
}

bool TCustomGrid::GetEditorMode() const {
    return !FStoringEdit && DelegateOf(FView)->Editor() != nullptr;
}

void TCustomGrid::SetEditorMode(bool Value) {
    GridDelegate* d = DelegateOf(FView);
    if (Value) {
        if (d->Editor()) return;
        const QModelIndex current = FModel->index(FRow - HeaderRows(), FCol - HeaderCols());
        if (!current.isValid()) return;
        if (FView->currentIndex() != current) {
            FSyncing = true;
            FView->setCurrentIndex(current);
            FSyncing = false;
        }
        FView->edit(current);
        return;
    }
    if (QLineEdit* e = d->Editor()) {
        emit d->commitData(e);
        // Storing the text may have closed the editor already (a handler that moved on).
        if (d->Editor() == e) emit d->closeEditor(e, QAbstractItemDelegate::NoHint);
    }
}

void TCustomGrid::CancelEditor() {
    GridDelegate* d = DelegateOf(FView);
    if (QLineEdit* e = d->Editor()) emit d->closeEditor(e, QAbstractItemDelegate::RevertModelCache);
}

String TCustomGrid::GetEditorText() const {
    QLineEdit* e = DelegateOf(FView)->Editor();
    return e ? FromQString(e->text()) : String();
}

void TCustomGrid::SetEditorText(const String& Value) {
    if (QLineEdit* e = DelegateOf(FView)->Editor()) e->setText(ToQString(Value));
}

void TCustomGrid::InvalidateCell(int ACol, int ARow) {
    CellChanged(ACol, ARow);
    InvalidateGrid();
}

void TCustomGrid::InvalidateGrid() {
    FView->viewport()->update();
    FView->horizontalHeader()->viewport()->update();
    FView->verticalHeader()->viewport()->update();
    if (auto* corner = FView->findChild<QAbstractButton*>()) corner->update();
}

void TCustomGrid::SetOwnerDraw(bool Value) {
    FOwnerDraw = Value;
    InvalidateGrid();
}

// The cell starts as the grid paints it without help (its colour, the fixed colour, or
// the highlight when selected), then DrawCell draws on it in client coordinates.
void TCustomGrid::PaintCell(int ACol, int ARow, QImage& Image, const TRect& ClientRect,
                            TGridDrawState State) {
    TColor back = GetColor();
    if (State.Contains(gdFixed))
        back = FFixedColor;
    else if (State.Contains(gdSelected) && !State.Contains(gdFocused))
        back = clHighlight;
    Image.fill(ToQColor(back));
    TCanvas canvas;
    HDC dc = CreateImageDC(&Image);
    SetWindowOrgEx(dc, ClientRect.Left, ClientRect.Top, nullptr);
    canvas.SetHandle(dc);
    canvas.GetFont()->Assign(GetFont());
    canvas.GetBrush()->SetColor(back);
    if (State.Contains(gdSelected) && !State.Contains(gdFocused) && !State.Contains(gdFixed))
        canvas.GetFont()->SetColor(clHighlightText);
    struct Done {
        TCustomGrid* grid;
        TCanvas& canvas;
        HDC dc;
        ~Done() {
            grid->FDrawCanvas = nullptr;
            canvas.SetHandle(nullptr);
            DeleteDC(dc);
        }
    } done{this, canvas, dc};
    FDrawCanvas = &canvas;
    DrawCell(ACol, ARow, ClientRect, State);
    if (State.Contains(gdFocused) && !State.Contains(gdFixed) && Focused()) canvas.DrawFocusRect(ClientRect);
}

void TCustomGrid::CellChanged(int ACol, int ARow) {
    if (ACol == 0 && ARow == 0 && HeaderCols() && HeaderRows()) {
        if (auto* corner = FView->findChild<QAbstractButton*>()) corner->update();
        return;
    }
    if (ACol < FColCount && ARow < FRowCount) FModel->CellChanged(ACol, ARow);
}

// ---------------------------------------------------------------------------
// TStringGrid

const ClassInfo& TStringGrid::StaticClass() {
    using G = TCustomGrid;
    static const PropInfo props[] = {
        MakeProp<&G::GetBorderStyle, &G::SetBorderStyle>("BorderStyle").Default(bsSingle),
        MakeProp<&G::GetColCount, &G::SetColCount>("ColCount").Default(5),
        MakeProp<&G::GetDefaultColWidth, &G::SetDefaultColWidth>("DefaultColWidth").Default(64),
        MakeProp<&G::GetDefaultRowHeight, &G::SetDefaultRowHeight>("DefaultRowHeight").Default(24),
        MakeProp<&G::GetFixedColor, &G::SetFixedColor>("FixedColor").Default(clBtnFace),
        MakeProp<&G::GetFixedCols, &G::SetFixedCols>("FixedCols").Default(1),
        MakeProp<&G::GetFixedRows, &G::SetFixedRows>("FixedRows").Default(1),
        MakeProp<&G::GetGridLineWidth, &G::SetGridLineWidth>("GridLineWidth").Default(1),
        MakeProp<&G::GetOptions, &G::SetOptions>("Options").Default(static_cast<std::int64_t>(
            TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect}.Bits())),
        MakeProp<&G::GetRowCount, &G::SetRowCount>("RowCount").Default(5),
        MakeProp<&G::OnSelectCell>("OnSelectCell"),
    };
    static const ClassInfo ci = MakeClassInfo<TStringGrid>("TStringGrid", &TCustomGrid::StaticClass(), props);
    return ci;
}

TStringGrid::TStringGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}

String TStringGrid::GetCells(int ACol, int ARow) const {
    if (ARow < 0 || ACol < 0 || ARow >= static_cast<int>(FCells.size())) return {};
    const auto& row = FCells[static_cast<std::size_t>(ARow)];
    if (ACol >= static_cast<int>(row.size())) return {};
    return row[static_cast<std::size_t>(ACol)].text;
}

void TStringGrid::SetCells(int ACol, int ARow, const String& Value) {
    if (ACol < 0 || ARow < 0) throw EInvalidOperation(u"Grid index out of range");
    if (ARow >= static_cast<int>(FCells.size())) {
        if (Value.empty()) return;
        FCells.resize(static_cast<std::size_t>(ARow) + 1);
    }
    auto& row = FCells[static_cast<std::size_t>(ARow)];
    if (ACol >= static_cast<int>(row.size())) {
        if (Value.empty()) return;
        row.resize(static_cast<std::size_t>(ACol) + 1);
    }
    if (row[static_cast<std::size_t>(ACol)].text == Value) return;
    row[static_cast<std::size_t>(ACol)].text = Value;
    CellChanged(ACol, ARow);
}

TObject* TStringGrid::GetObjects(int ACol, int ARow) const {
    if (ARow < 0 || ACol < 0 || ARow >= static_cast<int>(FCells.size())) return nullptr;
    const auto& row = FCells[static_cast<std::size_t>(ARow)];
    return ACol < static_cast<int>(row.size()) ? row[static_cast<std::size_t>(ACol)].object : nullptr;
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject* Value) {
    if (ACol < 0 || ARow < 0) throw EInvalidOperation(u"Grid index out of range");
    if (ARow >= static_cast<int>(FCells.size())) FCells.resize(static_cast<std::size_t>(ARow) + 1);
    auto& row = FCells[static_cast<std::size_t>(ARow)];
    if (ACol >= static_cast<int>(row.size())) row.resize(static_cast<std::size_t>(ACol) + 1);
    row[static_cast<std::size_t>(ACol)].object = Value;
}

// Cells outside a smaller grid are gone: growing it again shows them empty.
void TStringGrid::SizeChanged(int OldColCount, int OldRowCount) {
    if (static_cast<int>(FCells.size()) > GetRowCount())
        FCells.resize(static_cast<std::size_t>(GetRowCount()));
    if (GetColCount() < OldColCount)
        for (auto& row : FCells)
            if (static_cast<int>(row.size()) > GetColCount())
                row.resize(static_cast<std::size_t>(GetColCount()));
}

void RegisterGridsClasses() {
    RegisterClasses({&TStringGrid::StaticClass()});
}
