#pragma once
// Grids: the string grid. Cells live in a model behind a Qt table view, so a
// grid of ten thousand rows stays quick; the fixed first row and column are the
// view's headers, so they stay in place while the rest scrolls.

#include "platform/gui/controls.h"

#include <memory>
#include <vector>

class QTableView;
class QImage;
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

enum TScrollStyle : std::uint8_t; // platform/gui/stdctrls.h

using TSelectCellEvent = Event<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;

enum TGridDrawStateItem : std::uint8_t { gdSelected, gdFocused, gdFixed };
using TGridDrawState = Set<TGridDrawStateItem>;
enum TGridState : std::uint8_t { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

class TCanvas;
class GridDrawing;

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
    // The bars the grid may show; each appears only while the cells do not fit (ssBoth).
    TScrollStyle GetScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);

    int GetCol() const { return FCol; }
    void SetCol(int Value);
    int GetRow() const { return FRow; }
    void SetRow(int Value);
    TGridRect GetSelection() const;
    void SetSelection(const TGridRect& Value);
    // What the mouse is doing with the grid: a press on a cell selects, a press
    // on a header's edge sizes.
    TGridState GetGridState() const;
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

    // The in-place editor: on, it edits the current cell, starting from its edit
    // text; off, what was typed is stored through SetEditText.
    bool GetEditorMode() const;
    void SetEditorMode(bool Value);
    // Closes the editor without storing what was typed.
    void CancelEditor();
    // The editor's text while it is open, else the empty text.
    String GetEditorText() const;
    void SetEditorText(const String& Value);
    void InvalidateCell(int ACol, int ARow);
    void InvalidateGrid();
    // While DrawCell runs, the canvas on the cell's pixels in client coordinates.
    TCanvas* GetCanvas() const { return FDrawCanvas; }

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
    // Paints cell ACol, ARow into Image (the cell's pixels, its top-left at
    // ClientRect's) through DrawCell.
    void PaintCell(int ACol, int ARow, QImage& Image, const TRect& ClientRect, TGridDrawState State);
    bool OwnerDraw() const { return FOwnerDraw; }

    // The text the in-place editor starts from, and where what it holds goes.
    virtual String GetEditText(int ACol, int ARow) { return CellText(ACol, ARow); }
    virtual void SetEditText(int ACol, int ARow, const String& Value) { SetCellText(ACol, ARow, Value); }
    // Whether the editor may open on the current cell.
    virtual bool CanEditShow();
    virtual bool CanEditModify() { return FOptions.Contains(goEditing); }
    // Whether the cell may become current (asks OnSelectCell).
    virtual bool SelectCell(int ACol, int ARow);
    // The current cell moved (by the user or from code).
    virtual void CurrentCellMoved() {}
    // A grid that draws its own cells draws each here, on GetCanvas().
    virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {}

protected:
    // From now on every cell, fixed or not, is drawn by DrawCell.
    void SetOwnerDraw(bool Value);
    TColor DefaultColor() const override { return clWindow; }
    virtual void SizeChanged(int OldColCount, int OldRowCount) {}
    void CellChanged(int ACol, int ARow);
    void ApplyColor() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

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
    TScrollStyle FScrollBars{}; // ssBoth, set by the constructor
    int FCol = 1;
    int FRow = 1;
    bool FSyncing = false;
    bool FStoringEdit = false; // while the closing editor's text is stored
    bool FOwnerDraw = false;
    TCanvas* FDrawCanvas = nullptr;
    TGridState FGridState = gsNormal;
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
