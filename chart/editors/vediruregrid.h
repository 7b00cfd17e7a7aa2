#pragma once
// The data grid: the points of one series, or of every series of a chart side by side,
// as a table to read and edit (a column per value list, optional label and colour
// columns, a row per point), and the bar of buttons that moves through it and edits it.

#include "chart/canvas/zuzprocs.h"
#include "chart/series/zuznavigator.h"
#include "platform/gui/grids.h"

#include <cstdint>
#include <vector>

class TCustomChart;
class TChartSeries;
class TChartValueList;
class TChartGridNavigator;

enum TChartGridShow : std::uint8_t { cgsAuto, cgsNo, cgsYes };
template <>
const EnumInfo& EnumInfoOf<TChartGridShow>();

using TEditingCellEvent = Event<void(TObject* Sender, int ACol, int ARow, bool& CanEdit)>;
using TSetEditEvent = Event<void(TObject* Sender, int ACol, int ARow, const String& Value)>;

class TCustomChartGrid : public TCustomGrid, public IZuzEventListener {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomChartGrid(TComponent* AOwner);
    ~TCustomChartGrid() override;
    void BeforeDestruction() override;

    TCustomChart* GetChart() const { return FChart; }
    void SetChart(TCustomChart* Value);
    TChartSeries* GetSeries() const { return FSeries; }
    void SetSeries(TChartSeries* Value);
    bool GetShowColors() const { return FShowColors; }
    void SetShowColors(bool Value);
    bool GetShowLabels() const { return FShowLabels; }
    void SetShowLabels(bool Value);
    TChartGridShow GetShowXValues() const { return FShowXValues; }
    void SetShowXValues(TChartGridShow Value);
    bool GetShowFields() const { return FShowFields; }
    void SetShowFields(bool Value);
    bool GetGrid3D() const { return FGrid3D; }
    void SetGrid3DMode(bool Value);
    bool GetReadOnly() const { return !GetOptions().Contains(goEditing); }
    void SetReadOnly(bool Value);
    TChartGridNavigator* GetNavigator() const { return FNavigator; }
    void SetNavigator(TChartGridNavigator* Value);

    // Double-click on a series symbol edits the series colour.
    bool EditSeriesColor = true;
    // Down on the last row appends a row.
    bool AllowAppendRows = false;
    // Editing past the last series or the last row may add series and points.
    bool AllowGrowSeries = false;

    TNotifyEvent OnChangeColor;
    TEditingCellEvent OnEditingCell;
    TSetEditEvent OnSetEditText;
    // Told of every change of dimensions or editing state, and of every cell change
    // (the navigator).
    TNotifyEvent OnGridChange;
    TNotifyEvent OnGridSelectCell;

    void RecalcDimensions();
    void Regenerate();
    // The series of a column and the value list it shows (nullptr for none).
    TChartSeries* GetSeriesOfCol(int ACol, TChartValueList*& ValueList) const;
    int LabelsColumn() const;
    int ColorsColumn() const;
    // The 3D mode keeps two fixed rows whether the fields row is shown or not.
    int FirstRowNum() const { return FShowFields || FGrid3D ? 2 : 1; }
    // The row of the header texts ("#", the value lists' names): the fields row, else row 0.
    int HeaderRow() const { return FShowFields ? 1 : 0; }
    void AppendRow();
    void Insert();
    void Delete();
    void StartEditing();
    void StopEditing(bool Cancel);
    void ChangeColor();
    // The current row's point of the first series takes Color (clZuzColor: its default again).
    void ChangeColor(TColor Color);
    // While the colours are shown and the current row is a point of the first series: true, with
    // the point's own colour (clZuzColor when it has none).
    bool GetSeriesColor(TColor& Color) const;
    bool HasPoints() const;
    // Whether a series shown keeps points added, deleted or typed by hand (true with none shown
    // yet): a calculated series puts its own back at the next recalculation.
    bool SomeSeriesTakesHandEdits() const;
    // Whether a row can be appended, or the current one deleted, by hand now: the navigator's
    // buttons and the editor's menu offer these only.
    bool CanAppendRow() const;
    bool CanDeleteRow() const;
    // Whether Series has a Z list the 3D mode can show (its third value list).
    static bool CarriesZValues(const TChartSeries* Series);

    // Cells, as the grid shows and takes them.
    String GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const String& Value) override;
    String CellText(int ACol, int ARow) const override;
    bool CanEditShow() override;
    // Whether what is typed into column ACol can stay: a calculated series takes nothing.
    bool CellTakesHandEdits(int ACol) const;
    bool CanEditModify() override;
    bool SelectCell(int ACol, int ARow) override;
    void CurrentCellMoved() override;
    // Enter goes to the cell editor, not to the form's default button.
    bool WantsReturns() const override { return true; }
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;

    void KeyDown(Word& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;
    void FontChanged() override;
    void ZuzEvent(TZuzEvent* Event) override;

private:
    int SeriesCount() const;
    TChartSeries* SeriesAt(int Index) const;
    bool XShown(int SeriesIndex) const;
    int ColumnsOf(int SeriesIndex) const;
    TChartSeries* XYZSeries() const;
    String ValueText(TChartSeries* Series, TChartValueList* List, int Index) const;
    void FitDateTimeColumns();
    // The point of a 3D cell: X = column, Z = data row + 1; -1 when there is none.
    int Find3DPoint(TChartSeries* Series, int ACol, int DataRow) const;
    // Whether row 0 shows the series' symbols and titles.
    bool SymbolsInHeader() const;
    // The first series column of a header cell whose series symbol holds X, Y.
    bool OnSeriesSymbol(int X, int Y, TChartSeries*& Series) const;
    bool SeriesFirstColumn(int ACol, TChartSeries*& Series) const;
    void ChangePointColor(TChartSeries* Series, int Index, TColor Color);
    void RepaintData(TChartSeries* Series);
    void DoChange();
    void Attach(TCustomChart* Chart);
    void Detach();

    TCustomChart* FChart = nullptr;
    TCustomChart* FListening = nullptr; // the chart whose events the grid hears
    TChartSeries* FSeries = nullptr;
    TChartGridNavigator* FNavigator = nullptr;
    bool FShowColors = false;
    bool FShowLabels = true;
    TChartGridShow FShowXValues = cgsAuto;
    bool FShowFields = true;
    bool FGrid3D = false;
    String FOldText;
    bool FNewPoint = false;
    std::vector<std::uint8_t> FXShown;
    std::vector<double> F3DX, F3DZ;  // the distinct X and Z values of the 3D series
    std::vector<int> FFittedColumns; // the columns sized to their date-times
    TPoint FLastMouse;
};

class TChartGrid : public TCustomChartGrid {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TCustomChartGrid::TCustomChartGrid;
};

class TChartGridNavigator : public TCustomZuzNavigator {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TChartGridNavigator(TComponent* AOwner);
    void BeforeDestruction() override;

    TCustomChartGrid* GetGrid() const { return FGrid; }
    void SetGrid(TCustomChartGrid* Value);
    void EnableButtons() override;
    void BtnClick(TZuzNavigateBtn Index) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void GridChanged(TObject*) { EnableButtons(); }
    TCustomChartGrid* FGrid = nullptr;
};

void RegisterVedIrureGridClasses();
