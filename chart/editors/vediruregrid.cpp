#include "chart/editors/vediruregrid.h"

#include "chart/canvas/zuzcolor.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzprocs.h"
#include "chart/engine/axispanel.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/chartvaluelist.h"
#include "chart/engine/seriestypes.h"
#include "chart/engine/zuzfunction.h"
#include "chart/series/series_bar.h"
#include "platform/core/sysutils.h"
#include "platform/gui/graphics.h"
#include "platform/gui/stdctrls.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

template <>
const EnumInfo& EnumInfoOf<TChartGridShow>() {
    static const EnumInfo info{"TChartGridShow", {"cgsAuto", "cgsNo", "cgsYes"}};
    return info;
}

namespace {

constexpr Word kKeyF2 = VK_F1 + 1;
constexpr int kCellMargin = 2; // between a value's text and its cell's right edge

String WithoutSeparators(String Text) {
    for (Char& c : Text)
        if (c == ZuzLineSeparator || c == ZuzColumnSeparator) c = u' ';
    return Text;
}

// Adds a null point that lands after the series' last point, so that it is the grid's new last
// row: at the next index of the ordering list, or at its last value when the order would put the
// index before the points (dates, say, where it would be a point of 1900 at the top).
void AddNullAtEnd(TChartSeries* S, double Value) {
    const TChartValueList* order = S->NotMandatoryValueList();
    double at = order->Count();
    if (order->Count() > 0) {
        const double last = order->Last();
        if ((order->GetOrder() == loAscending && last > at) ||
            (order->GetOrder() == loDescending && last < at))
            at = last;
    }
    if (S->YMandatory())
        S->AddNullXY(at, Value);
    else
        S->AddNullXY(Value, at);
}

bool IsDestroying(const TComponent* C) {
    return C->GetComponentState().Contains(csDestroying);
}

// The points of a series fed by data sources, or by a function that needs none, are
// calculated again at the next refresh: what was typed into them would be drawn and then
// thrown away without a word.
bool TakesHandEdits(const TChartSeries* Series) {
    if (Series->GetDataSource()) return false;
    const TZuzFunction* f = Series->GetFunction();
    return !f || !f->NoSourceRequired;
}

} // namespace

// ---------------------------------------------------------------------------
// TCustomChartGrid

const ClassInfo& TCustomChartGrid::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TCustomChartGrid>("TCustomChartGrid", &TCustomGrid::StaticClass());
    return ci;
}

TCustomChartGrid::TCustomChartGrid(TComponent* AOwner) : TCustomGrid(AOwner) {
    SetGridLineWidth(1);
    SetDefaultRowHeight(16);
    SetColWidths(0, 30);
    SetFixedCols(1);
    SetRowHeights(0, 20);
    SetOptions({goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected, goRowSizing, goColSizing,
                goEditing, goTabs, goThumbTracking});
    SetOwnerDraw(true);
    RecalcDimensions();
}

TCustomChartGrid::~TCustomChartGrid() = default;

void TCustomChartGrid::BeforeDestruction() {
    Detach();
    if (FSeries) FSeries->RemoveFreeNotification(this);
    if (FChart) FChart->RemoveFreeNotification(this);
    if (FNavigator) FNavigator->RemoveFreeNotification(this);
    FSeries = nullptr;
    FChart = nullptr;
    TCustomGrid::BeforeDestruction();
}

void TCustomChartGrid::Loaded() {
    TCustomGrid::Loaded();
    SetRowHeights(0, 20);
}

void TCustomChartGrid::Attach(TCustomChart* Chart) {
    if (Chart == FListening) return;
    Detach();
    FListening = Chart;
    if (FListening) {
        FListening->FreeNotification(this);
        FListening->GetListeners()->Add(this);
    }
}

void TCustomChartGrid::Detach() {
    if (!FListening) return;
    FListening->RemoveListener(this);
    if (FListening != FChart) FListening->RemoveFreeNotification(this);
    FListening = nullptr;
}

void TCustomChartGrid::SetChart(TCustomChart* Value) {
    if (FSeries) {
        FSeries->RemoveFreeNotification(this);
        FSeries = nullptr;
    }
    if (FChart && FChart != Value) FChart->RemoveFreeNotification(this);
    FChart = Value;
    if (FChart) FChart->FreeNotification(this);
    Attach(FChart);
    Regenerate();
    InvalidateGrid();
}

void TCustomChartGrid::SetSeries(TChartSeries* Value) {
    if (FChart) {
        FChart->RemoveFreeNotification(this);
        FChart = nullptr;
    }
    if (FSeries && FSeries != Value) FSeries->RemoveFreeNotification(this);
    FSeries = Value;
    if (FSeries) FSeries->FreeNotification(this);
    Attach(FSeries ? dynamic_cast<TCustomChart*>(FSeries->GetParentChart()) : nullptr);
    Regenerate();
    InvalidateGrid();
}

void TCustomChartGrid::SetNavigator(TChartGridNavigator* Value) {
    if (FNavigator == Value) return;
    if (FNavigator) FNavigator->RemoveFreeNotification(this);
    FNavigator = Value;
    if (FNavigator) FNavigator->FreeNotification(this);
}

void TCustomChartGrid::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomGrid::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    bool changed = false;
    if (AComponent == FListening) {
        FListening->RemoveListener(this);
        FListening = nullptr;
    }
    if (AComponent == FChart) {
        FChart = nullptr;
        changed = true;
    }
    if (AComponent == FSeries) {
        FSeries = nullptr;
        changed = true;
    }
    if (AComponent == FNavigator) FNavigator = nullptr;
    if (changed && !IsDestroying(this)) RecalcDimensions();
}

void TCustomChartGrid::ZuzEvent(TZuzEvent* Event) {
    if (IsDestroying(this)) return;
    if (auto* e = dynamic_cast<TZuzSeriesEvent*>(Event)) {
        if (e->Event == seChangeTitle || e->Event == seChangeColor || e->Event == seChangeActive) {
            InvalidateGrid();
            return;
        }
        RecalcDimensions();
        InvalidateGrid();
    }
}

int TCustomChartGrid::SeriesCount() const {
    if (FSeries) return 1;
    return FChart ? FChart->SeriesCount() : 0;
}

TChartSeries* TCustomChartGrid::SeriesAt(int Index) const {
    if (FSeries) return Index == 0 ? FSeries : nullptr;
    return FChart && Index < FChart->SeriesCount() ? FChart->GetSeries(Index) : nullptr;
}

bool TCustomChartGrid::XShown(int SeriesIndex) const {
    return SeriesIndex < static_cast<int>(FXShown.size()) &&
           FXShown[static_cast<std::size_t>(SeriesIndex)] != 0;
}

int TCustomChartGrid::ColumnsOf(int SeriesIndex) const {
    TChartSeries* s = SeriesAt(SeriesIndex);
    if (!s || IsDestroying(s)) return 0;
    return s->ValuesList().Count() - 1 + (XShown(SeriesIndex) ? 1 : 0);
}

int TCustomChartGrid::LabelsColumn() const {
    return FShowLabels ? (FShowColors ? 2 : 1) : -1;
}

int TCustomChartGrid::ColorsColumn() const {
    return FShowColors ? 1 : -1;
}

bool TCustomChartGrid::CarriesZValues(const TChartSeries* Series) {
    // A third value list alone says nothing: a bubble's radius, an arrow's end or a Gantt
    // bar's next task is no depth.
    return Series && Series->UsesZValues && Series->ValuesList().Count() >= 3;
}

TChartSeries* TCustomChartGrid::XYZSeries() const {
    for (int i = 0; i < SeriesCount(); ++i)
        if (TChartSeries* s = SeriesAt(i); CarriesZValues(s)) return s;
    return nullptr;
}

void TCustomChartGrid::RecalcDimensions() {
    const int n = SeriesCount();
    FXShown.assign(static_cast<std::size_t>(n), 0);
    for (int i = 0; i < n; ++i) {
        TChartSeries* s = SeriesAt(i);
        const bool shown =
            FShowXValues == cgsYes || (FShowXValues == cgsAuto && s && HasNoMandatoryValues(s));
        FXShown[static_cast<std::size_t>(i)] = shown ? 1 : 0;
    }
    int cols = 1, rows = FirstRowNum() + 1;
    if (!FGrid3D) {
        cols += (FShowLabels ? 1 : 0) + (FShowColors ? 1 : 0);
        int most = 0;
        for (int i = 0; i < n; ++i) {
            cols += ColumnsOf(i);
            if (TChartSeries* s = SeriesAt(i); s && !IsDestroying(s)) most = std::max(most, s->Count());
        }
        rows = std::max(FirstRowNum() + 1, FirstRowNum() + most);
    } else {
        FShowLabels = false;
        FShowColors = false;
        F3DX.clear();
        F3DZ.clear();
        if (TChartSeries* s = XYZSeries()) {
            const TChartValueList* z = s->ValuesList()[2];
            for (int i = 0; i < s->Count(); ++i) {
                F3DX.push_back(s->GetXValues()->GetValue(i));
                F3DZ.push_back(z->GetValue(i));
            }
        }
        for (auto* v : {&F3DX, &F3DZ}) {
            std::sort(v->begin(), v->end());
            v->erase(std::unique(v->begin(), v->end()), v->end());
        }
        cols = 1 + std::max<int>(static_cast<int>(F3DX.size()), 1);
        rows = FirstRowNum() + std::max<int>(static_cast<int>(F3DZ.size()), 1);
    }
    SetColCount(cols);
    SetRowCount(rows);
    SetFixedRows(FirstRowNum());
    SetColWidths(0, 30);
    FitDateTimeColumns();
    if (FShowColors && cols > 1) SetColWidths(1, 40);
    if (FGrid3D && cols > 2) SetColWidths(1, GetColWidths(2));
    if (GetCol() == 0 && cols > 1) SetCol(1);
    InvalidateGrid();
    DoChange();
}

// A date and time is wider than the default column, and its text is right-aligned: cut, it
// would lose the day and month. Such a column takes the width of its widest text; a column
// that held date-times before and holds none now goes back to the default width.
void TCustomChartGrid::FitDateTimeColumns() {
    std::vector<int> fitted;
    Owned<TBitmap> measure;
    Char widestDigit = u'0';
    for (int col = 1; col < GetColCount(); ++col) {
        TChartValueList* list = nullptr;
        TChartSeries* s = FGrid3D ? nullptr : GetSeriesOfCol(col, list);
        if (!s || !list || !list->GetDateTime()) continue;
        if (!measure) {
            measure = MakeOwned<TBitmap>();
            measure->GetCanvas()->GetFont()->Assign(GetFont());
            int digitWidth = 0;
            for (Char d = u'0'; d <= u'9'; ++d)
                if (const int w = measure->GetCanvas()->TextWidth(String(1, d)); w > digitWidth) {
                    digitWidth = w;
                    widestDigit = d;
                }
        }
        // The texts of one format differ mostly in their digits: each shape is measured once,
        // with the widest digit in every place, so a long series costs a measure per shape
        // and not one per point on every change.
        std::unordered_set<String> shapes{list->GetName()};
        for (int i = 0; i < list->Count(); ++i) {
            String text = ValueText(s, list, i);
            for (Char& c : text)
                if (c >= u'0' && c <= u'9') c = widestDigit;
            shapes.insert(std::move(text));
        }
        int widest = 0;
        for (const String& shape : shapes) widest = std::max(widest, measure->GetCanvas()->TextWidth(shape));
        SetColWidths(col, std::max(GetDefaultColWidth(), widest + 2 * kCellMargin));
        fitted.push_back(col);
    }
    for (const int col : FFittedColumns)
        if (col < GetColCount() && std::find(fitted.begin(), fitted.end(), col) == fitted.end())
            SetColWidths(col, GetDefaultColWidth());
    FFittedColumns = std::move(fitted);
}

void TCustomChartGrid::FontChanged() {
    TCustomGrid::FontChanged();
    if (!IsDestroying(this)) FitDateTimeColumns();
}

void TCustomChartGrid::Regenerate() {
    if (IsDestroying(this)) return;
    RecalcDimensions();
    SetCol(std::min(GetColCount() - 1, 1));
    SetRow(FirstRowNum());
}

void TCustomChartGrid::DoChange() {
    if (OnGridChange) OnGridChange(this);
}

void TCustomChartGrid::SetShowColors(bool Value) {
    if (FShowColors == Value) return;
    FShowColors = Value;
    RecalcDimensions();
}

void TCustomChartGrid::SetShowLabels(bool Value) {
    if (FShowLabels == Value) return;
    FShowLabels = Value;
    RecalcDimensions();
}

void TCustomChartGrid::SetShowXValues(TChartGridShow Value) {
    if (FShowXValues == Value) return;
    FShowXValues = Value;
    RecalcDimensions();
}

void TCustomChartGrid::SetShowFields(bool Value) {
    if (FShowFields == Value) return;
    FShowFields = Value;
    RecalcDimensions();
    if (GetRow() < FirstRowNum()) SetRow(FirstRowNum());
}

void TCustomChartGrid::SetGrid3DMode(bool Value) {
    FGrid3D = Value;
    Regenerate();
    InvalidateGrid();
}

void TCustomChartGrid::SetReadOnly(bool Value) {
    TGridOptions o = GetOptions();
    if (Value)
        o.Exclude(goEditing);
    else
        o.Include(goEditing);
    SetOptions(o);
}

TChartSeries* TCustomChartGrid::GetSeriesOfCol(int ACol, TChartValueList*& ValueList) const {
    ValueList = nullptr;
    if (FGrid3D) return ACol > 0 ? XYZSeries() : nullptr;
    int k = ACol - (FShowLabels ? 1 : 0) - (FShowColors ? 1 : 0);
    if (k < 1) return nullptr;
    int index = -1;
    for (int i = 0; i < SeriesCount(); ++i) {
        const int count = ColumnsOf(i);
        if (k <= count) {
            index = i;
            break;
        }
        k -= count;
    }
    if (index < 0) return nullptr;
    TChartSeries* s = SeriesAt(index);
    int list = k - 1;
    if (!XShown(index) && s->MandatoryValueList() == s->GetYValues()) list = k;
    if (list >= 0 && list < s->ValuesList().Count()) ValueList = s->ValuesList()[list];
    return s;
}

String TCustomChartGrid::ValueText(TChartSeries* Series, TChartValueList* List, int Index) const {
    const double v = List->GetValue(Index);
    // A value no calendar holds has no date to show: its number is shown.
    if (List->GetDateTime() && ZuzCalendarHolds(v)) return v < 1.0 ? TimeToStr(v) : DateTimeToStr(v);
    return FormatFloat(Series->GetValueFormat(), v);
}

int TCustomChartGrid::Find3DPoint(TChartSeries* Series, int ACol, int DataRow) const {
    if (!CarriesZValues(Series)) return -1;
    const TChartValueList* z = Series->ValuesList()[2];
    for (int i = 0; i < Series->Count(); ++i)
        if (Series->GetXValues()->GetValue(i) == ACol && z->GetValue(i) == DataRow + 1) return i;
    return -1;
}

String TCustomChartGrid::CellText(int ACol, int ARow) const {
    if (!FChart && !FSeries) return {};
    const int first = FirstRowNum();
    if (ARow < first) {
        // The header texts lie in the fields row, or in row 0 without it (the 3D mode's second
        // fixed row then stays empty).
        if (ARow != HeaderRow()) return {};
        if (ACol == 0) return u"#";
        if (ACol == LabelsColumn()) return VavIve_Text;
        if (ACol == ColorsColumn()) return VavIve_Colors;
        if (!FShowFields) return {};
        if (FGrid3D)
            return F3DX.empty() ? String() : IntToStr(static_cast<int>(std::lround(F3DX.front())) + ACol - 1);
        TChartValueList* list = nullptr;
        GetSeriesOfCol(ACol, list);
        return list ? list->GetName() : String();
    }
    const int r = ARow - first;
    if (ACol == 0) {
        if (FGrid3D) return IntToStr((F3DZ.empty() ? 0 : static_cast<int>(std::lround(F3DZ.front()))) + r);
        return IntToStr(r);
    }
    if (ACol == LabelsColumn()) {
        for (int i = 0; i < SeriesCount(); ++i)
            if (TChartSeries* s = SeriesAt(i); s && s->Labels().Count() > r) return s->GetXLabel(r);
        return {};
    }
    if (ACol == ColorsColumn()) return {};
    TChartValueList* list = nullptr;
    TChartSeries* s = GetSeriesOfCol(ACol, list);
    if (!s) return {};
    if (FGrid3D) {
        const int i = Find3DPoint(s, ACol, r);
        return i < 0 ? String() : ValueText(s, s->GetYValues(), i);
    }
    if (!list || r >= list->Count()) return {};
    return ValueText(s, list, r);
}

String TCustomChartGrid::GetEditText(int ACol, int ARow) {
    return CellText(ACol, ARow);
}

void TCustomChartGrid::RepaintData(TChartSeries* Series) {
    if (FChart)
        FChart->Invalidate();
    else if (Series)
        Series->Repaint();
}

void TCustomChartGrid::SetEditText(int ACol, int ARow, const String& Value) {
    if (!FChart && !FSeries) return;
    if (FChart && !FSeries && FChart->SeriesCount() == 0 && AllowGrowSeries) {
        CreateNewSeries(FChart->GetOwner(), FChart, &TBarSeries::StaticClass(), nullptr);
        RecalcDimensions();
    }
    const int r = ARow - FirstRowNum();
    if (r < 0) return;
    if (!CellTakesHandEdits(ACol)) return;
    for (int i = 0; i < SeriesCount(); ++i)
        if (TChartSeries* s = SeriesAt(i); s && TakesHandEdits(s)) s->SetManualData(true);
    TChartSeries* changed = nullptr;
    if (ACol == LabelsColumn()) {
        for (int i = 0; i < SeriesCount(); ++i) {
            TChartSeries* s = SeriesAt(i);
            if (!s || !TakesHandEdits(s)) continue;
            while (s->Count() <= r) AddNullAtEnd(s, s->GetDefaultNullValue());
            s->SetXLabel(r, Value);
            changed = s;
        }
    } else if (ACol != ColorsColumn()) {
        TChartValueList* list = nullptr;
        TChartSeries* s = GetSeriesOfCol(ACol, list);
        if (!s) return;
        int index = r;
        if (FGrid3D) {
            list = s->GetYValues();
            index = Find3DPoint(s, ACol, r);
            if (index < 0) {
                // A cell with no point yet: the point of its X and Z comes into being.
                index = s->AddNull();
                s->GetXValues()->SetValue(index, ACol);
                s->ValuesList()[2]->SetValue(index, r + 1);
            }
        } else {
            while (s->Count() <= r) AddNullAtEnd(s, s->GetDefaultNullValue());
        }
        if (!list) return;
        const String text = Trim(Value);
        if (!text.empty()) {
            const double v = list->GetDateTime() ? StrToDateTime(text) : StrToFloat(text);
            const bool wasNull = s->IsNull(index);
            list->SetValue(index, v);
            if (wasNull) {
                s->SetValueColor(index, clZuzColor);
                if (FShowColors) InvalidateGrid();
            }
        } else if (!GetEditorMode()) {
            s->SetValueColor(index, clNone);
            InvalidateGrid();
        }
        s->RefreshSeries();
        changed = s;
    }
    RepaintData(changed);
    InvalidateGrid();
    if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

bool TCustomChartGrid::CanEditShow() {
    if (!TCustomGrid::CanEditShow()) return false;
    bool can = true;
    if (OnEditingCell) OnEditingCell(this, GetCol(), GetRow(), can);
    if (!can || GetCol() == ColorsColumn() || !CellTakesHandEdits(GetCol())) return false;
    FOldText = GetEditText(GetCol(), GetRow());
    return true;
}

bool TCustomChartGrid::CellTakesHandEdits(int ACol) const {
    if (ACol == LabelsColumn()) return SomeSeriesTakesHandEdits(); // to every series that takes it
    TChartValueList* list = nullptr;
    const TChartSeries* s = GetSeriesOfCol(ACol, list);
    return !s || TakesHandEdits(s);
}

bool TCustomChartGrid::CanEditModify() {
    const bool can = TCustomGrid::CanEditModify();
    if (can && FNavigator) FNavigator->EnableButtons();
    return can;
}

bool TCustomChartGrid::SelectCell(int ACol, int ARow) {
    return TCustomGrid::SelectCell(ACol, ARow) && ACol > 0 && ARow >= FirstRowNum();
}

void TCustomChartGrid::CurrentCellMoved() {
    if (OnGridSelectCell) OnGridSelectCell(this);
}

void TCustomChartGrid::StartEditing() {
    if (!GetOptions().Contains(goEditing) || GetEditorMode()) return;
    TChartValueList* list = nullptr;
    TChartSeries* s = GetSeriesOfCol(GetCol(), list);
    if (!s || !TakesHandEdits(s)) return;
    const int r = GetRow() - FirstRowNum();
    FNewPoint = FGrid3D ? r >= static_cast<int>(F3DZ.size()) : (r >= s->Count() || s->IsNull(r));
    SetEditorMode(true);
    FOldText = FNewPoint ? String() : GetEditText(GetCol(), GetRow());
    DoChange();
}

void TCustomChartGrid::StopEditing(bool Cancel) {
    if (!GetEditorMode()) return;
    if (Cancel) {
        SetEditorText({});
        CancelEditor();
    } else {
        SetEditorMode(false);
    }
    if (Cancel && !FNewPoint) SetEditText(GetCol(), GetRow(), FOldText);
    DoChange();
}

void TCustomChartGrid::AppendRow() {
    // A calculated series would put its own points back at its next recalculation.
    if (GetReadOnly() || !(AllowAppendRows || AllowGrowSeries) || FGrid3D || !SomeSeriesTakesHandEdits())
        return;
    int col = GetCol();
    if (col == ColorsColumn()) ++col;
    TChartValueList* list = nullptr;
    // The new point lies on the new row: a series shorter than the grid is filled up to it.
    if (TChartSeries* s = GetSeriesOfCol(col, list); s && TakesHandEdits(s))
        while (s->Count() <= GetRowCount() - FirstRowNum()) AddNullAtEnd(s, s->GetDefaultNullValue());
    SetRowCount(GetRowCount() + 1);
    SetRow(GetRowCount() - 1);
}

void TCustomChartGrid::Insert() {
    if (!GetOptions().Contains(goEditing)) return;
    bool hadPoints = false;
    int most = 0;
    for (int i = 0; i < SeriesCount(); ++i) {
        TChartSeries* s = SeriesAt(i);
        if (!s || !TakesHandEdits(s)) continue;
        hadPoints = hadPoints || s->Count() > 0;
        AddNullAtEnd(s, 0);
        most = std::max(most, s->Count());
    }
    // The chart's events may have grown the grid already.
    if (hadPoints && GetRowCount() < FirstRowNum() + most) SetRowCount(GetRowCount() + 1);
    SetRow(GetRowCount() - 1);
}

void TCustomChartGrid::Delete() {
    if (!GetOptions().Contains(goEditing)) return;
    const int r = GetRow() - FirstRowNum();
    if (r < 0) return;
    const int rowsBefore = GetRowCount();
    bool deleted = false;
    for (int i = 0; i < SeriesCount(); ++i) {
        TChartSeries* s = SeriesAt(i);
        if (!s || r >= s->Count() || !TakesHandEdits(s)) continue;
        s->Delete(r);
        deleted = true;
        if (!XShown(i)) {
            s->NotMandatoryValueList()->FillSequence();
            s->RefreshSeries();
        }
    }
    // A row goes only with a point: calculated series keep theirs.
    if (!deleted) return;
    if (rowsBefore - FirstRowNum() <= 1)
        InvalidateGrid();
    else if (GetRowCount() == rowsBefore)
        SetRowCount(rowsBefore - 1);
    InvalidateGrid();
}

bool TCustomChartGrid::SomeSeriesTakesHandEdits() const {
    for (int i = 0; i < SeriesCount(); ++i)
        if (TChartSeries* s = SeriesAt(i); s && TakesHandEdits(s)) return true;
    return SeriesCount() == 0;
}

bool TCustomChartGrid::CanAppendRow() const {
    return ((GetOptions().Contains(goEditing) && !GetEditorMode() && FChart && FChart->SeriesCount() > 0) ||
            FSeries != nullptr) &&
           SomeSeriesTakesHandEdits();
}

// The fixed rows count too: a series' last point can be deleted.
bool TCustomChartGrid::CanDeleteRow() const {
    return GetRowCount() > 1 && CanAppendRow() && HasPoints();
}

bool TCustomChartGrid::HasPoints() const {
    for (int i = 0; i < SeriesCount(); ++i)
        if (TChartSeries* s = SeriesAt(i); s && s->Count() > 0) return true;
    return false;
}

void TCustomChartGrid::ChangePointColor(TChartSeries* Series, int Index, TColor Color) {
    Series->SetValueColor(Index, Color);
    Series->SetManualData(true);
    InvalidateCell(ColorsColumn(), Index + FirstRowNum());
    if (OnChangeColor) OnChangeColor(this);
}

void TCustomChartGrid::ChangeColor() {
    const int r = GetRow() - FirstRowNum();
    TChartSeries* s = SeriesAt(0);
    if (s && !TakesHandEdits(s)) return;
    if (s && r >= 0 && r < s->Count()) {
        TColor c = s->ValueColor(r);
        if (EditColorDialog(this, c)) ChangePointColor(s, r, c);
        return;
    }
    if (!AllowGrowSeries || !FChart || r < 0) return;
    TColor c = clWhite;
    if (!EditColorDialog(this, c)) return;
    TChartSeries* bar = CreateNewSeries(FChart->GetOwner(), FChart, &TBarSeries::StaticClass(), nullptr);
    while (bar->Count() <= r) bar->AddNull();
    ChangePointColor(bar, r, c);
}

void TCustomChartGrid::ChangeColor(TColor Color) {
    const int r = GetRow() - FirstRowNum();
    TChartSeries* s = SeriesAt(0);
    if (s && TakesHandEdits(s) && r >= 0 && r < s->Count()) ChangePointColor(s, r, Color);
}

bool TCustomChartGrid::GetSeriesColor(TColor& Color) const {
    const int r = GetRow() - FirstRowNum();
    TChartSeries* s = SeriesAt(0);
    if (!FShowColors || !s || r < 0 || r >= s->Count()) return false;
    Color = s->OwnColor(r);
    return true;
}

bool TCustomChartGrid::SeriesFirstColumn(int ACol, TChartSeries*& Series) const {
    Series = nullptr;
    if (FGrid3D) {
        Series = ACol == 1 ? XYZSeries() : nullptr;
        return Series != nullptr;
    }
    TChartValueList* list = nullptr;
    TChartSeries* s = GetSeriesOfCol(ACol, list);
    if (!s) return false;
    TChartValueList* before = nullptr;
    if (GetSeriesOfCol(ACol - 1, before) == s) return false;
    Series = s;
    return true;
}

bool TCustomChartGrid::SymbolsInHeader() const {
    // One series without the fields row: row 0 names each column's value list instead.
    return !(FSeries && !FShowFields && !FGrid3D);
}

bool TCustomChartGrid::OnSeriesSymbol(int X, int Y, TChartSeries*& Series) const {
    int col = -1, row = -1;
    MouseToCell(X, Y, col, row);
    if (row != 0 || !SymbolsInHeader() || !SeriesFirstColumn(col, Series)) return false;
    const TRect r = CellRect(col, row);
    return X >= r.Left + 4 && X < r.Left + 16 && Y >= r.Top + 4 && Y < r.Top + 16;
}

void TCustomChartGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    if (!FChart && !FSeries) return;
    TCanvas* canvas = GetCanvas();
    const int first = FirstRowNum();
    if (ACol == 0 || (FShowFields && ARow == 1)) {
        canvas->GetBrush()->SetColor(GetFixedColor());
        canvas->FillRect(ARect);
    }
    canvas->GetBrush()->SetStyle(bsClear);
    TChartSeries* s = nullptr;
    if (ARow == 0 && SymbolsInHeader() && SeriesFirstColumn(ACol, s)) {
        TCustomChartLegend::PaintSeriesLegend(
            s, canvas, TRect(ARect.Left + 4, ARect.Top + 4, ARect.Left + 16, ARect.Top + 16), FChart);
        canvas->GetBrush()->SetStyle(bsClear);
        canvas->GetFont()->SetColor(GetFont()->GetColor());
        canvas->TextOut(ARect.Left + 18, ARect.Top + 4, WithoutSeparators(SeriesTitleOrName(s)));
        return;
    }
    String text;
    if (ARow == 0 && !SymbolsInHeader() && ACol > 0 && ACol != LabelsColumn() && ACol != ColorsColumn()) {
        TChartValueList* list = nullptr;
        GetSeriesOfCol(ACol, list);
        if (list) text = list->GetName();
    } else {
        text = CellText(ACol, ARow);
    }
    if (ACol == ColorsColumn()) {
        if (ARow == HeaderRow()) {
            canvas->TextOut(ARect.Left + 2, ARect.Top + 4, VavIve_Colors);
        } else if (ARow >= first) {
            TChartSeries* owner = SeriesAt(0);
            const int r = ARow - first;
            TColor c = GetColor();
            if (owner && r < owner->Count() && owner->ValueColor(r) != clNone) c = owner->ValueColor(r);
            canvas->GetBrush()->SetStyle(bsSolid);
            canvas->GetBrush()->SetColor(c);
            canvas->FillRect(ARect);
        }
        return;
    }
    if (ACol == LabelsColumn()) {
        canvas->TextOut(ARect.Left + 2, ARect.Top + 3, text);
        return;
    }
    const int dy = ACol == 0 && ARow == 0 ? 4 : 2;
    canvas->TextOut(ARect.Right - kCellMargin - canvas->TextWidth(text), ARect.Top + dy, text);
}

void TCustomChartGrid::KeyDown(Word& Key, TShiftState Shift) {
    if (Shift.Contains(ssCtrl)) {
        TCustomGrid::KeyDown(Key, Shift);
        return;
    }
    const bool lastCol = GetCol() == GetColCount() - 1;
    const bool lastRow = GetRow() == GetRowCount() - 1;
    switch (Key) {
    case VK_RIGHT:
        if (lastCol && AllowGrowSeries && FChart && FChart->SeriesCount() > 0) {
            TChartSeries* last = FChart->GetSeries(FChart->SeriesCount() - 1);
            CreateNewSeries(FChart->GetOwner(), FChart, &last->ClassType(), nullptr);
            RecalcDimensions();
        }
        break;
    case VK_LEFT:
        if (lastCol && AllowGrowSeries && FChart && FChart->SeriesCount() > 0) {
            TChartSeries* last = FChart->GetSeries(FChart->SeriesCount() - 1);
            if (last->Count() == 0) {
                const bool repaint = FChart->AutoRepaint;
                FChart->AutoRepaint = false;
                last->Free();
                FChart->AutoRepaint = repaint;
                RecalcDimensions();
                FChart->Invalidate();
                Key = 0;
                return;
            }
        }
        break;
    case VK_UP:
        if (lastRow && !FGrid3D) {
            TChartValueList* list = nullptr;
            TChartSeries* s = GetSeriesOfCol(GetCol(), list);
            const int r = GetRow() - FirstRowNum();
            if (s && r >= 0 && r < s->Count() && s->IsNull(r) && s->GetXLabel(r).empty() &&
                GetRowCount() > FirstRowNum() + 1) {
                s->Delete(r);
                if (GetRowCount() - 1 >= FirstRowNum() + 1 && GetRowCount() == FirstRowNum() + r + 1)
                    SetRowCount(GetRowCount() - 1);
                Key = 0;
                return;
            }
        }
        break;
    case VK_DOWN:
        if (lastRow && (AllowAppendRows || AllowGrowSeries)) {
            AppendRow();
            Key = 0;
            return;
        }
        break;
    case VK_INSERT:
        Insert();
        Key = 0;
        return;
    case VK_DELETE:
        SetEditorMode(true);
        break;
    case kKeyF2:
        if (GetCol() == ColorsColumn())
            ChangeColor();
        else
            StartEditing();
        Key = 0;
        return;
    case VK_RETURN:
    case VK_SPACE:
        if (GetCol() == ColorsColumn()) {
            ChangeColor();
            Key = 0;
            return;
        }
        break;
    case VK_ESCAPE:
        if (GetEditorMode()) {
            StopEditing(true);
            Key = 0;
            return;
        }
        break;
    default:
        break;
    }
    TCustomGrid::KeyDown(Key, Shift);
}

void TCustomChartGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FLastMouse = TPoint(X, Y);
    TCustomGrid::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && GetGridState() == gsNormal) {
        int col = -1, row = -1;
        MouseToCell(X, Y, col, row);
        TChartSeries* s = nullptr;
        if (row >= 0 && row < FirstRowNum() && col > 0 && !OnSeriesSymbol(X, Y, s)) {
            const TGridRect all{col, FirstRowNum(), col, GetRowCount() - 1};
            if (GetSelection() == all)
                SetSelection({col, GetRow(), col, GetRow()});
            else
                SetSelection(all);
        }
    }
    if (FNavigator) FNavigator->EnableButtons();
}

void TCustomChartGrid::MouseMove(TShiftState Shift, int X, int Y) {
    FLastMouse = TPoint(X, Y);
    TCustomGrid::MouseMove(Shift, X, Y);
    if (!GetOptions().Contains(goEditing)) return;
    int col = -1, row = -1;
    MouseToCell(X, Y, col, row);
    TCursor cursor = crDefault;
    if (FShowColors) {
        TChartSeries* s = SeriesAt(0);
        const int r = row - FirstRowNum();
        if (col == ColorsColumn() && s && r >= 0 && r < s->Count() && s->ValueColor(r) != clNone)
            cursor = crHandPoint;
    } else if (row == 0) {
        TChartSeries* s = nullptr;
        if (EditSeriesColor && OnSeriesSymbol(X, Y, s)) cursor = crHandPoint;
    }
    SetCursor(cursor);
}

void TCustomChartGrid::DblClick() {
    TChartSeries* s = nullptr;
    int col = -1, row = -1;
    MouseToCell(FLastMouse.X, FLastMouse.Y, col, row);
    if (col == ColorsColumn() && GetOptions().Contains(goEditing)) {
        ChangeColor();
        return;
    }
    if (EditSeriesColor && OnSeriesSymbol(FLastMouse.X, FLastMouse.Y, s)) {
        TColor c = s->GetSeriesColor();
        if (EditColorDialog(this, c)) s->SetSeriesColor(c);
        return;
    }
    TCustomGrid::DblClick();
}

// ---------------------------------------------------------------------------
// TChartGrid

const ClassInfo& TChartGrid::StaticClass() {
    using G = TCustomChartGrid;
    static const PropInfo props[] = {
        MakeProp<&G::GetChart, &G::SetChart>("Chart"),
        MakeProp<&G::GetColCount, &G::SetColCount>("ColCount"),
        MakeProp<&G::GetDefaultColWidth, &G::SetDefaultColWidth>("DefaultColWidth").Default(64),
        MakeProp<&G::GetDefaultRowHeight, &G::SetDefaultRowHeight>("DefaultRowHeight").Default(16),
        MakeProp<&G::GetFixedColor, &G::SetFixedColor>("FixedColor").Default(clBtnFace),
        MakeProp<&G::GetGridLineWidth, &G::SetGridLineWidth>("GridLineWidth").Default(1),
        MakeProp<&G::GetOptions, &G::SetOptions>("Options"),
        MakeProp<&G::GetRowCount, &G::SetRowCount>("RowCount"),
        MakeProp<&G::GetScrollBars, &G::SetScrollBars>("ScrollBars").Default(ssBoth),
        MakeProp<&G::GetSeries, &G::SetSeries>("Series"),
        MakeProp<&G::GetShowColors, &G::SetShowColors>("ShowColors").Default(false),
        MakeProp<&G::GetShowLabels, &G::SetShowLabels>("ShowLabels").Default(true),
        MakeProp<&G::GetShowXValues, &G::SetShowXValues>("ShowXValues").Default(cgsAuto),
        MakeProp<&G::OnChangeColor>("OnChangeColor"),
        MakeProp<&G::OnEditingCell>("OnEditingCell"),
        MakeProp<&G::OnSetEditText>("OnSetEditText"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TChartGrid>("TChartGrid", &TCustomChartGrid::StaticClass(), props);
    return ci;
}

// ---------------------------------------------------------------------------
// TChartGridNavigator

const ClassInfo& TChartGridNavigator::StaticClass() {
    using N = TChartGridNavigator;
    static const PropInfo props[] = {
        MakeProp<&N::GetGrid, &N::SetGrid>("Grid"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TChartGridNavigator>("TChartGridNavigator", &TCustomZuzNavigator::StaticClass(), props);
    return ci;
}

// Every button has work here: the edit buttons the page bar hides are shown.
TChartGridNavigator::TChartGridNavigator(TComponent* AOwner) : TCustomZuzNavigator(AOwner) {
    for (int b = nbInsert; b <= nbCancel; ++b) GetButton(static_cast<TZuzNavigateBtn>(b))->SetVisible(true);
    CheckSize();
}

void TChartGridNavigator::BeforeDestruction() {
    SetGrid(nullptr);
    TCustomZuzNavigator::BeforeDestruction();
}

void TChartGridNavigator::SetGrid(TCustomChartGrid* Value) {
    if (FGrid == Value) return;
    if (FGrid) {
        FGrid->RemoveFreeNotification(this);
        FGrid->OnGridChange = {};
        FGrid->OnGridSelectCell = {};
        if (FGrid->GetNavigator() == this) FGrid->SetNavigator(nullptr);
    }
    FGrid = Value;
    if (FGrid) {
        FGrid->FreeNotification(this);
        FGrid->OnGridChange = TNotifyEvent([this](TObject* s) { GridChanged(s); });
        FGrid->OnGridSelectCell = TNotifyEvent([this](TObject* s) { GridChanged(s); });
        FGrid->SetNavigator(this);
    }
    EnableButtons();
}

void TChartGridNavigator::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomZuzNavigator::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FGrid) {
        FGrid = nullptr;
        EnableButtons();
    }
}

void TChartGridNavigator::EnableButtons() {
    auto enable = [this](TZuzNavigateBtn b, bool on) {
        if (TZuzNavButton* button = GetButton(b)) button->SetEnabled(on);
    };
    if (!FGrid) {
        for (int b = nbFirst; b <= nbCancel; ++b) enable(static_cast<TZuzNavigateBtn>(b), false);
        return;
    }
    const int row = FGrid->GetRow(), first = FGrid->FirstRowNum(), last = FGrid->GetRowCount() - 1;
    const bool editing = FGrid->GetEditorMode();
    enable(nbFirst, row > first);
    enable(nbPrior, row > first);
    enable(nbNext, row < last);
    enable(nbLast, row < last);
    const bool canInsert = FGrid->CanAppendRow();
    enable(nbInsert, canInsert);
    enable(nbEdit, canInsert);
    enable(nbDelete, FGrid->CanDeleteRow());
    enable(nbPost, editing);
    enable(nbCancel, editing);
}

void TChartGridNavigator::BtnClick(TZuzNavigateBtn Index) {
    if (FGrid) {
        const int row = FGrid->GetRow(), first = FGrid->FirstRowNum(), last = FGrid->GetRowCount() - 1;
        switch (Index) {
        case nbFirst:
            if (row != first) FGrid->SetRow(first);
            break;
        case nbPrior:
            if (row > first) FGrid->SetRow(row - 1);
            break;
        case nbNext:
            if (row < last) FGrid->SetRow(row + 1);
            break;
        case nbLast:
            if (row != last) FGrid->SetRow(last);
            break;
        case nbInsert:
            FGrid->Insert();
            break;
        case nbDelete:
            FGrid->Delete();
            break;
        case nbEdit:
            if (FGrid->CanFocus()) FGrid->SetFocus();
            FGrid->StartEditing();
            break;
        case nbPost:
            FGrid->StopEditing(false);
            break;
        case nbCancel:
            FGrid->StopEditing(true);
            break;
        }
    }
    TCustomZuzNavigator::BtnClick(Index);
}

void RegisterVedIrureGridClasses() {
    RegisterClasses({&TChartGrid::StaticClass(), &TChartGridNavigator::StaticClass()});
}
