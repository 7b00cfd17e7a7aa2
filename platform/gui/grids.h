#pragma once
// Grids: the string grid. Cells live in a model behind a Qt table view, so a
// grid of ten thousand rows stays quick; the fixed first row and column are the
// view's headers, so they stay in place while the rest scrolls.

#include "platform/gui/controls.h"

#include <memory>
#include <vector>

class QTableView;
class GridModel;

enum TGridOption : std::uint8_t {
    goFixedVertLine,
    goFixedHorzLine,
    goVertLine,
    goHorzLine,
    goRangeSelect,
    goDrawFocusSelected,
    goRowSizing,
    goColSizing,
    goRowMoving,
    goColMoving,
    goEditing,
    goTabs,
    goRowSelect,
    goAlwaysShowEditor,
    goThumbTracking
};
using TGridOptions = Set<TGridOption>;
template <>
const EnumInfo& EnumInfoOf<TGridOption>();

struct TGridCoord {
    int X = 0;
    int Y = 0;
    bool operator==(const TGridCoord&) const = default;
};
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TGridRect&) const = default;
};

using TSelectCellEvent = Event<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;

class TCustomGrid : public TCustomControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomGrid(TComponent* AOwner);
    ~TCustomGrid() override;

    int GetColCount() const { return FColCount; }
    void SetColCount(int Value);
    int GetRowCount() const { return FRowCount; }
    void SetRowCount(int Value);
    int GetFixedCols() const { return FFixedCols; }
    void SetFixedCols(int Value);
    int GetFixedRows() const { return FFixedRows; }
    void SetFixedRows(int Value);
    int GetDefaultColWidth() const { return FDefaultColWidth; }
    // Every column takes the new width, custom widths included.
    void SetDefaultColWidth(int Value);
    int GetDefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int Value);
    int GetColWidths(int Index) const;
    void SetColWidths(int Index, int Value);
    int GetRowHeights(int Index) const;
    void SetRowHeights(int Index, int Value);
    int GetGridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);
    TGridOptions GetOptions() const { return FOptions; }
    void SetOptions(TGridOptions Value);
    TColor GetFixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor Value) { FFixedColor = Value; }
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);

    int GetCol() const { return FCol; }
    void SetCol(int Value);
    int GetRow() const { return FRow; }
    void SetRow(int Value);
    TGridRect GetSelection() const;
    int GetTopRow() const;
    void SetTopRow(int Value);
    int GetLeftCol() const;
    int GetVisibleRowCount() const;
    int GetVisibleColCount() const;

    // The cell under a client point; -1 where there is none.
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
    TGridCoord MouseCoord(int X, int Y) const;
    // A cell's rectangle in client coordinates, without its grid lines; empty
    // when the cell is scrolled out of sight.
    TRect CellRect(int ACol, int ARow) const;

    TSelectCellEvent OnSelectCell;

    // Platform side.
    QTableView* View() const { return FView; }
    QWidget* InputSurface() const override;
    // Text of a cell for the model (the string grid keeps its cells).
    virtual String CellText(int ACol, int ARow) const { return {}; }
    virtual void SetCellText(int ACol, int ARow, const String& Value) {}
    int HeaderRows() const { return FFixedRows > 0 ? 1 : 0; }
    int HeaderCols() const { return FFixedCols > 0 ? 1 : 0; }
    void CurrentCellChanged(int ACol, int ARow);

protected:
    TColor DefaultColor() const override { return clWindow; }
    virtual void SizeChanged(int OldColCount, int OldRowCount) {}
    void CellChanged(int ACol, int ARow);
    void ApplyColor() override;

private:
    friend class GridModel;
    void ApplySizes();
    void ApplyOptions();

    QTableView* FView = nullptr;
    std::unique_ptr<GridModel> FModel;
    int FColCount = 5;
    int FRowCount = 5;
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    int FGridLineWidth = 1;
    std::vector<int> FColWidths;
    std::vector<int> FRowHeights;
    TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    TColor FFixedColor = clBtnFace;
    TBorderStyle FBorderStyle = bsSingle;
    int FCol = 1;
    int FRow = 1;
    bool FSyncing = false;
};

class TStringGrid : public TCustomGrid {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TStringGrid(TComponent* AOwner);

    String GetCells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const String& Value);
    TObject* GetObjects(int ACol, int ARow) const;
    void SetObjects(int ACol, int ARow, TObject* Value);

    String CellText(int ACol, int ARow) const override { return GetCells(ACol, ARow); }
    void SetCellText(int ACol, int ARow, const String& Value) override { SetCells(ACol, ARow, Value); }

protected:
    void SizeChanged(int OldColCount, int OldRowCount) override;

private:
    struct Cell {
        String text;
        TObject* object = nullptr;
    };
    // Row by row; a row holds only the columns written so far.
    std::vector<std::vector<Cell>> FCells;
};
