#pragma once
// The spreadsheet server's workbook model: sheets of cells with values,
// number formats and fills, column widths and frozen panes, filled through
// automation and written out as an .xlsx file.

#include "platform/automation/variants.h"

#include <filesystem>
#include <map>
#include <optional>

constexpr int XlMaxRows = 1048576;
constexpr int XlMaxColumns = 16384;
constexpr std::uint32_t XlNoFill = 0xFF000000; // a fill explicitly taken away

struct TXlCell {
    enum Kind : std::uint8_t { Blank, Number, Text, Boolean };
    enum Shown : std::uint8_t { AsGeneral, AsDate, AsDateTime, AsTime };
    Kind kind = Blank;
    double number = 0;
    String text;
    // A date typed into a cell is shown as one when no number format says otherwise.
    Shown shown = AsGeneral;
    std::optional<String> numberFormat; // format codes, invariant form
    std::optional<std::uint32_t> fill;  // 0xRRGGBB or XlNoFill; none: the column's
};

struct TXlColumnStyle {
    std::optional<double> width; // in characters of the default font
    std::optional<String> numberFormat;
    std::optional<std::uint32_t> fill;
};

// Rows and columns count from 1, as automation does.
struct TXlRect {
    int top = 1;
    int left = 1;
    int bottom = 1;
    int right = 1;
    bool wholeColumns() const { return top == 1 && bottom == XlMaxRows; }
    int rows() const { return bottom - top + 1; }
    int columns() const { return right - left + 1; }
    bool operator==(const TXlRect&) const = default;
};

class TXlWorksheet {
public:
    explicit TXlWorksheet(const String& name) : Name(name) {}

    String Name;
    std::map<std::pair<int, int>, TXlCell> Cells; // by (row, column): row by row
    std::map<int, TXlColumnStyle> Columns;        // columns with a style of their own
    TXlColumnStyle AllColumns;                    // what was given to every column
    int SplitRow = 0;
    int SplitColumn = 0;
    bool FreezePanes = false;

    const TXlCell* Find(int row, int column) const;
    TXlCell& At(int row, int column);
    // The style a column shows: its own settings over those of every column.
    TXlColumnStyle ColumnStyle(int column) const;

    // Each value of a 2-D (or 1-D: one row) variant array, or one value for
    // every cell of the range; texts are read as a spreadsheet reads typed
    // input (see InterpretText).
    void SetValue(const TXlRect& range, const Variant& value, const TFormatSettings& fs);
    Variant GetValue(const TXlRect& range) const;
    void SetColumnWidth(const TXlRect& range, double width);
    void SetNumberFormat(const TXlRect& range, const String& codes);
    void SetFill(const TXlRect& range, std::optional<std::uint32_t> rgb);

private:
    template <class T>
    void StyleColumns(const TXlRect& range, std::optional<T> TXlColumnStyle::*member, const T& value);
    template <class T>
    void UnstyleCells(const TXlRect& range, std::optional<T> TXlCell::*member);
    template <class F>
    void ForCells(const TXlRect& range, F&& apply);
};

class TXlWorkbook {
public:
    explicit TXlWorkbook(int sheets);
    std::vector<TXlWorksheet> Sheets;
    int ActiveSheet = 0; // index into Sheets
    bool Shown = false;  // written out and handed to the desktop
    std::filesystem::path File;
};

// A text put into a cell, read as a spreadsheet reads typed input: a number
// in the locale's form becomes a number, a date (or date and time) in the
// locale's short form a date, the empty text a blank; anything else stays text.
TXlCell InterpretText(const String& text, const TFormatSettings& fs);

// Localised format letters (Д М Г Ч С) to the file's codes (d m y h s).
String TranslateNumberFormat(const String& format);

// The colour of an index of the default 56-colour palette; no colour for
// "none" (-4142) and "automatic" (-4105). Others raise EOleException.
std::optional<std::uint32_t> PaletteColor(int colorIndex);
// The palette index of a colour, or -4142 for none / a colour not in the palette.
int PaletteIndex(std::optional<std::uint32_t> rgb);

// "A1", "B2:D7" or "$A$1" to a rectangle; raises EOleException when not a reference.
TXlRect ParseReference(std::u16string_view text);
