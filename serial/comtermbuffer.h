#pragma once
// The terminal's screen: its character cells and tab stops, scrolling, and
// asking the terminal to repaint what changed.

#include "platform/gui/graphics.h"

#include <vector>

class TCustomComTerminal;

// One character cell; Ch 0 is an empty cell.
struct TComTermChar {
    Char Ch = 0;
    TColor FrontColor = clBlack;
    TColor BackColor = clBlack;
    bool Underline = false;
};

// Positions are 1-based: column X in 1..Columns, row Y in 1..Rows of the
// terminal. Positions outside the screen are ignored (reads give an empty cell
// or no stop).
class TComTermBuffer : public TObject {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TComTermBuffer(TCustomComTerminal* AOwner);

    // Empties every cell for the terminal's size; stops at 1, 9, 17, ...
    void Init();
    void SetChar(Integer X, Integer Y, const TComTermChar& Char);
    TComTermChar GetChar(Integer X, Integer Y) const;
    // Clears row Y from column X to its end.
    void EraseLine(Integer X, Integer Y);
    // Clears from (X, Y) to the end of the screen.
    void EraseScreen(Integer X, Integer Y);
    // The text moves up one row; the last row becomes empty.
    void ScrollDown();
    // The text moves down one row; the first row becomes empty.
    void ScrollUp();
    bool GetTab(Integer X) const;
    void SetTab(Integer X, bool On);
    void ClearAllTabs();
    // The first stop from X to the last column, 0 when there is none.
    Integer NextTab(Integer X) const;
    // The last non-empty column of row Y, 0 for an empty row.
    Integer GetLineLength(Integer Y) const;
    // The last row with text, 0 for an empty screen.
    Integer GetLastLine() const;

    Integer GetColumns() const { return FColumns; }
    Integer GetRows() const { return FRows; }

private:
    bool Inside(Integer X, Integer Y) const { return X >= 1 && X <= FColumns && Y >= 1 && Y <= FRows; }
    TComTermChar& Cell(Integer X, Integer Y) {
        return FBuffer[static_cast<std::size_t>((Y - 1) * FColumns + X - 1)];
    }
    const TComTermChar& Cell(Integer X, Integer Y) const {
        return FBuffer[static_cast<std::size_t>((Y - 1) * FColumns + X - 1)];
    }
    void ScrollArea(int Direction);

    std::vector<TComTermChar> FBuffer;
    std::vector<bool> FTabs;
    TCustomComTerminal* FOwner;
    // The size the cells were made for: the terminal's size may change before
    // the next Init.
    Integer FColumns = 0;
    Integer FRows = 0;
};
