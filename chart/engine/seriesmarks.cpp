#include "chart/engine/seriesmarks.h"

#include "chart/canvas/zuzfont.h"
#include "chart/canvas/zuzgeometry.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzhtml.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/engine/chartseries.h"
#include "platform/core/filer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

template <>
const EnumInfo& EnumInfoOf<TSeriesMarksStyle>() {
    static const EnumInfo info{"TSeriesMarksStyle",
                               {"smsValue", "smsPercent", "smsLabel", "smsLabelPercent", "smsLabelValue",
                                "smsLegend", "smsPercentTotal", "smsLabelPercentTotal", "smsXValue", "smsXY",
                                "smsSeriesTitle", "smsPointIndex", "smsPercentRelative"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TMarginUnits>() {
    static const EnumInfo info{"TMarginUnits", {"maPercentFont", "maPercentSize", "maPixels"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TArrowHeadStyle>() {
    static const EnumInfo info{"TArrowHeadStyle", {"ahNone", "ahLine", "ahSolid"}};
    return info;
}

bool ZuzCheckMarkArrowColor = false;

TFourPoints TurnedCorners(const TRect& R, int Angle) {
    TFourPoints p{TPoint(R.Left, R.Top), TPoint(R.Right, R.Top), TPoint(R.Right, R.Bottom),
                  TPoint(R.Left, R.Bottom)};
    if (Angle == 0) return p;
    const double a = Angle * std::numbers::pi / 180;
    const double s = std::sin(a), c = std::cos(a);
    const int cx = (R.Left + R.Right) / 2, cy = (R.Top + R.Bottom) / 2;
    for (TPoint& q : p) {
        const double x = q.X - cx, y = q.Y - cy;
        q = TPoint(static_cast<int>(Round(x * c + y * s)) + cx, static_cast<int>(Round(-x * s + y * c)) + cy);
    }
    return p;
}

int WidestLine(TZuzCanvas* Canvas, const String& Text) {
    int widest = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = Text.find(ZuzLineSeparator, start);
        widest = std::max(
            widest, Canvas->TextWidth(Text.substr(start, end == String::npos ? String::npos : end - start)));
        if (end == String::npos) return widest;
        start = end + 1;
    }
}

// ---------------------------------------------------------------------------
// Positions

namespace {

// Lists kept per point index, which may end before the last point.
template <class List>
void EraseSlots(List& Slots, int Start, int Quantity) {
    const int count = static_cast<int>(Slots.size());
    if (Start < 0 || Start >= count || Quantity <= 0) return;
    const int n = std::min(Quantity, count - Start);
    Slots.erase(Slots.begin() + Start, Slots.begin() + Start + n);
}

// A point put before the last slot moves the slots from Index on one further.
template <class List>
void InsertSlot(List& Slots, int Index) {
    if (Index >= 0 && Index < static_cast<int>(Slots.size())) Slots.emplace(Slots.begin() + Index);
}

// An index past the end holds an empty slot, which the other one's entry can take.
template <class List>
void ExchangeSlots(List& Slots, int Index1, int Index2) {
    if (Index1 < 0 || Index2 < 0) return;
    const auto last = static_cast<std::size_t>(std::max(Index1, Index2));
    if (last >= Slots.size()) {
        const std::size_t other = static_cast<std::size_t>(std::min(Index1, Index2));
        if (other >= Slots.size() || !Slots[other]) return;
        Slots.resize(last + 1);
    }
    std::swap(Slots[static_cast<std::size_t>(Index1)], Slots[static_cast<std::size_t>(Index2)]);
}

} // namespace

TSeriesMarkPosition* TSeriesMarksPositions::Get(int Index) const {
    if (Index < 0 || Index >= Count()) return nullptr;
    return FItems[static_cast<std::size_t>(Index)].get();
}

void TSeriesMarksPositions::Put(int Index, std::unique_ptr<TSeriesMarkPosition> Position) {
    if (Index < 0) return;
    if (Index >= Count()) FItems.resize(static_cast<std::size_t>(Index) + 1);
    FItems[static_cast<std::size_t>(Index)] = std::move(Position);
}

void TSeriesMarksPositions::Put(int Index, const TSeriesMarkPosition& Position) {
    if (Index < 0) return;
    if (!Get(Index)) Put(Index, std::make_unique<TSeriesMarkPosition>());
    TSeriesMarkPosition* p = Get(Index);
    p->Assign(Position);
    p->Custom = true;
}

void TSeriesMarksPositions::Automatic(int Index) {
    if (TSeriesMarkPosition* p = Get(Index)) p->Custom = false;
}

void TSeriesMarksPositions::Delete(int Start, int Quantity) {
    EraseSlots(FItems, Start, Quantity);
}

void TSeriesMarksPositions::Insert(int Index) {
    InsertSlot(FItems, Index);
}

void TSeriesMarksPositions::Exchange(int Index1, int Index2) {
    ExchangeSlots(FItems, Index1, Index2);
}

bool TSeriesMarksPositions::ExistCustom() const {
    return std::any_of(FItems.begin(), FItems.end(), [](const auto& p) { return p && p->Custom; });
}

void TSeriesMarksPositions::MoveTo(TSeriesMarkPosition& Position, int X, int Y) {
    Position.ArrowEnd = Position.ArrowStart = TPoint(X, Y);
    Position.TopLeft = TPoint(X - Position.Width / 2, Y - Position.Height + 1);
}

// ---------------------------------------------------------------------------
// Margins

const ClassInfo& TMargins::StaticClass() {
    using C = TMargins;
    static const PropInfo props[] = {
        MakeProp<&C::GetBottom, &C::SetBottom>("Bottom").Default(5),
        MakeProp<&C::GetLeft, &C::SetLeft>("Left").Stored<&C::IsLeftStored>(),
        MakeProp<&C::GetRight, &C::SetRight>("Right").Stored<&C::IsRightStored>(),
        MakeProp<&C::GetTop, &C::SetTop>("Top").Default(5),
        MakeProp<&C::GetUnits, &C::SetUnits>("Units").Default(maPercentFont),
    };
    static const ClassInfo info = MakeClassInfo<C>("TMargins", &TPersistent::StaticClass(), props);
    return info;
}

TMargins::TMargins(TNotifyEvent OnChange, int DefaultHoriz)
    : DefaultHoriz(DefaultHoriz), OnChange(std::move(OnChange)), FLeft(DefaultHoriz), FRight(DefaultHoriz) {}

void TMargins::Assign(TPersistent* Source) {
    if (auto* m = dynamic_cast<TMargins*>(Source)) {
        FLeft = m->FLeft;
        FTop = m->FTop;
        FRight = m->FRight;
        FBottom = m->FBottom;
        FUnits = m->FUnits;
        return;
    }
    TPersistent::Assign(Source);
}

void TMargins::Calculate(int Width, int Height, int FontHeight) {
    auto r = [](double v) { return static_cast<int>(Round(v)); };
    switch (FUnits) {
    case maPercentFont:
        PixelLeft = r(FLeft * 0.02 * FontHeight);
        PixelTop = r(FTop * 0.02 * FontHeight);
        PixelRight = r(FRight * 0.02 * FontHeight);
        PixelBottom = r(FBottom * 0.02 * FontHeight);
        break;
    case maPercentSize:
        PixelLeft = r(FLeft * 0.01 * Width);
        PixelRight = r(FRight * 0.01 * Width);
        PixelTop = r(FTop * 0.01 * Height);
        PixelBottom = r(FBottom * 0.01 * Height);
        break;
    case maPixels:
        PixelLeft = FLeft;
        PixelTop = FTop;
        PixelRight = FRight;
        PixelBottom = FBottom;
        break;
    }
}

// ---------------------------------------------------------------------------
// The box of a mark

const ClassInfo& TSeriesMarksGradient::StaticClass() {
    // Its own colours and direction are what a new one holds, so those go unwritten.
    using G = TCustomZuzGradient;
    static const PropInfo props[] = {
        MakeProp<&G::GetDirection, &G::SetDirection>("Direction").Default(gdRightLeft),
        MakeProp<&G::GetEndColor, &G::SetEndColor>("EndColor").Default(clWhite),
        MakeProp<&G::GetStartColor, &G::SetStartColor>("StartColor").Default(clSilver),
    };
    static const ClassInfo ci =
        MakeClassInfo<TSeriesMarksGradient>("TSeriesMarksGradient", &TZuzGradient::StaticClass(), props);
    return ci;
}

TSeriesMarksGradient::TSeriesMarksGradient(TNotifyEvent ChangedEvent)
    : TZuzGradient(std::move(ChangedEvent)) {
    const TNotifyEvent quiet = OnChange;
    OnChange = {};
    SetDirection(gdRightLeft);
    SetEndColor(clWhite);
    SetStartColor(clSilver);
    OnChange = quiet;
}

const ClassInfo& TSeriesMarkShape::StaticClass() {
    using C = TSeriesMarkShape;
    static const PropInfo props[] = {
        MakeProp<&C::GetBevel, &C::SetBevel>("Bevel").Default(bvNone),
        MakeProp<&C::GetBevelWidth, &C::SetBevelWidth>("BevelWidth").Default(2),
        MakeProp<&C::GetBrush, &C::SetBrush>("Brush"),
        MakeProp<&C::GetColor, &C::SetColor>("Color"),
        MakeProp<&C::GetFrame, &C::SetFrame>("Frame"),
        MakeProp<&C::GetGradient, &C::SetGradient>("Gradient").Stored<&C::HasGradient>(),
        MakeProp<&C::GetPicture, &C::SetPicture>("Picture").Stored<&C::HasPicture>(),
        MakeProp<&C::GetRoundSize, &C::SetRoundSize>("RoundSize").Default(16),
        MakeProp<&C::GetShadow, &C::SetShadow>("Shadow").Stored<&C::HasShadow>(),
        MakeProp<&C::GetShapeStyle, &C::SetShapeStyle>("ShapeStyle").Default(fosRectangle),
        MakeProp<&C::GetTransparency, &C::SetTransparency>("Transparency").Default(0),
        MakeProp<&C::GetTransparent, &C::SetTransparent>("Transparent").Stored<&C::IsTransparentStored>(),
        MakeProp<&C::GetVisible, &C::SetVisible>("Visible").Stored<&C::IsVisibleStored>(),
    };
    static const ClassInfo info =
        MakeClassInfo<C>("TSeriesMarkShape", &TZuzCustomShape::StaticClass(), props);
    return info;
}

void TSeriesMarkShape::SetVisible(bool Value) {
    if (GetVisible() == Value) return;
    // Quietly through the shape, then once through Repaint, which the marks send to the series.
    TCustomZuzPanel* const panel = GetParentChart();
    TZuzCustomShapeBrushPen::SetParent(nullptr);
    TZuzCustomShape::SetVisible(Value);
    TZuzCustomShapeBrushPen::SetParent(panel);
    Repaint();
}

// ---------------------------------------------------------------------------
// Items and symbol

TMarksItem::TMarksItem(TCustomZuzPanel* Chart) : TSeriesMarkShape(Chart) {
    TMarksItem::InitShadow(GetShadow());
    SetColor(clInfoBk);
}

TMarksItem::~TMarksItem() = default;

void TMarksItem::InitShadow(TZuzShadow* Shadow) {
    Shadow->InitValues(clGray, 3);
}

const ClassInfo& TMarksItem::StaticClass() {
    using C = TMarksItem;
    static const PropInfo props[] = {
        MakeProp<&C::GetFont, &C::SetFont>("Font"),
        MakeProp<&C::GetText, &C::SetText>("Text").Stored<&C::HasText>(),
    };
    static const ClassInfo info = MakeClassInfo<C>("TMarksItem", &TSeriesMarkShape::StaticClass(), props);
    return info;
}

void TMarksItem::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TMarksItem*>(Source)) SetText(src->HasText() ? src->GetText() : nullptr);
    TSeriesMarkShape::Assign(Source);
}

TStrings* TMarksItem::GetText() const {
    if (!FText) {
        FText.reset(Create<TStringList>());
        FText->OnChange.Bind([this](TObject*) { const_cast<TMarksItem*>(this)->Repaint(); });
    }
    return FText.get();
}

void TMarksItem::SetText(TStrings* Value) {
    if (!Value) {
        FText.reset();
        Repaint();
        return;
    }
    GetText()->Assign(Value);
}

TMarksItem* TMarksItems::Get(int Index) {
    if (Index < 0) return nullptr;
    if (Index >= Count()) FItems.resize(static_cast<std::size_t>(Index) + 1);
    auto& slot = FItems[static_cast<std::size_t>(Index)];
    if (!slot) slot = std::make_unique<TMarksItem>(FMarks->GetParentChart());
    return slot.get();
}

TMarksItem* TMarksItems::Peek(int Index) const {
    if (Index < 0 || Index >= Count()) return nullptr;
    return FItems[static_cast<std::size_t>(Index)].get();
}

void TMarksItems::Assign(const TMarksItems& Source) {
    FItems.clear();
    for (int i = 0; i < Source.Count(); ++i)
        if (TMarksItem* src = Source.Peek(i)) Get(i)->Assign(src);
    FMarks->Repaint();
}

void TMarksItems::Delete(int Start, int Quantity) {
    EraseSlots(FItems, Start, Quantity);
}

void TMarksItems::Insert(int Index) {
    InsertSlot(FItems, Index);
}

void TMarksItems::Exchange(int Index1, int Index2) {
    ExchangeSlots(FItems, Index1, Index2);
}

void TMarksItems::Clear() {
    FItems.clear();
    FMarks->Repaint();
}

void TMarksItems::SetParent(TCustomZuzPanel* Value) {
    for (auto& item : FItems)
        if (item) item->SetParent(Value);
}

const ClassInfo& TSeriesMarksSymbol::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TSeriesMarksSymbol>("TSeriesMarksSymbol", &TSeriesMarkShape::StaticClass());
    return ci;
}

TSeriesMarksSymbol::TSeriesMarksSymbol(TCustomZuzPanel* Chart) : TSeriesMarkShape(nullptr) {
    TSeriesMarksSymbol::InitShadow(GetShadow());
    SetVisible(false);
    DefaultVisible = false;
    SetParent(Chart);
}

void TSeriesMarksSymbol::InitShadow(TZuzShadow* Shadow) {
    Shadow->InitValues(clBlack, 1);
}

void TSeriesMarksSymbol::DrawInColor(TCanvas3D* Canvas, TColor Color, const TRect& R, int Angle, int Z) {
    // Set and given back without the panel, which would repaint in the middle of a paint.
    TCustomZuzPanel* const panel = GetParentChart();
    const TColor color = GetColor();
    const bool transparent = GetTransparent();
    TZuzCustomShapeBrushPen::SetParent(nullptr);
    SetColor(Color);
    SetTransparent(false);
    DrawRectRotated(Canvas, panel, R, Angle, Z);
    SetColor(color);
    SetTransparent(transparent);
    TZuzCustomShapeBrushPen::SetParent(panel);
}

// ---------------------------------------------------------------------------
// Callouts

const ClassInfo& TCallout::StaticClass() {
    using C = TCallout;
    static const PropInfo props[] = {
        MakeProp<&C::GetArrow, &C::SetArrow>("Arrow"),
        MakeProp<&C::GetArrowHead, &C::SetArrowHead>("ArrowHead").Default(ahNone),
        MakeProp<&C::GetArrowHeadSize, &C::SetArrowHeadSize>("ArrowHeadSize").Default(8),
        MakeProp<&C::GetDistance, &C::SetDistance>("Distance").Default(0),
    };
    static const ClassInfo info = MakeClassInfo<C>("TCallout", &TSeriesPointer::StaticClass(), props);
    return info;
}

TCallout::TCallout(TChartSeries* Series) : TSeriesPointer(Series) {
    TNotifyEvent changed;
    changed.Bind([this](TObject*) { Repaint(); });
    FArrow.reset(Create<TWhitePen>(changed));
    SetVisible(true);
    SetStyle(psRectangle);
    DefaultDraw3D = false;
    SetDraw3D(false);
    SetInflateMargins(true);
    SetColor(clBlack);
    GetBrush()->ColorAlwaysStored = true;
    GradientOwnColors = true;
}

void TCallout::Assign(TPersistent* Source) {
    if (auto* c = dynamic_cast<TCallout*>(Source)) {
        FArrow->Assign(c->FArrow.get());
        FArrowHead = c->FArrowHead;
        FDistance = c->FDistance;
        FArrowHeadSize = c->FArrowHeadSize;
    }
    TSeriesPointer::Assign(Source);
}

void TCallout::SetArrow(TChartPen* Value) {
    FArrow->Assign(Value);
}

void TCallout::Draw(TColor Color, TPoint From, TPoint Mid, TPoint To, int Z, bool DrawMid) {
    ISeriesChart* chart = Chart();
    TCanvas3D* canvas = chart ? chart->GetCanvas() : nullptr;
    if (!canvas) return;
    const TPoint pan = chart->PanningOffset();
    if (pan.X != 0 || pan.Y != 0) {
        for (TPoint* p : {&From, &Mid, &To}) {
            p->X += pan.X;
            p->Y += pan.Y;
        }
    }
    const bool is3D = chart->GetView3D();
    if (FArrow->GetVisible()) {
        if (FArrowHead != ahSolid) canvas->Brush->SetStyle(bsClear);
        TColor c = FArrow->GetColor();
        if (ZuzCheckMarkArrowColor && (c == Color || c == chart->GetChartColor()))
            c = chart->GetChartColor() == clBlack ? clWhite : clBlack;
        canvas->AssignVisiblePenColor(FArrow.get(), c);
        auto line = [&](TPoint A, TPoint B) {
            if (is3D)
                canvas->LineWithZ(A, B, Z);
            else
                canvas->Line(A, B);
        };
        if (FArrowHead == ahNone) {
            if (DrawMid) {
                line(From, Mid);
                line(Mid, To);
            } else {
                line(From, To);
            }
        } else {
            // The head sits at the point, the arrow runs from the mark.
            // Solid in the arrow's colour: the mark drawn before leaves the brush cleared, and
            // one already of that colour would stay cleared by a colour change alone.
            if (FArrowHead == ahSolid) {
                canvas->Brush->SetColor(c);
                canvas->Brush->SetStyle(bsSolid);
            }
            canvas->Arrow(FArrowHead == ahSolid, To, From, FArrowHeadSize, FArrowHeadSize, Z);
        }
    }
    if (FArrowHead == ahNone && GetVisible()) {
        const TPoint at = is3D ? canvas->Calculate3DPosition(From, Z) : From;
        PrepareCanvas(canvas, GetColor());
        DrawPointer(canvas, false, at.X, at.Y, GetHorizSize(), GetVertSize(), GetColor(), GetStyle());
    }
}

const ClassInfo& TMarksCallout::StaticClass() {
    using C = TMarksCallout;
    static const PropInfo props[] = {
        MakeProp<&C::GetLength, &C::SetLength>("Length").Stored<&C::IsLengthStored>(),
    };
    static const ClassInfo info = MakeClassInfo<C>("TMarksCallout", &TCallout::StaticClass(), props);
    return info;
}

TMarksCallout::TMarksCallout(TChartSeries* Series) : TCallout(Series) {
    SetVisible(false);
    FArrow->SetColor(clWhite);
}

void TMarksCallout::Assign(TPersistent* Source) {
    if (auto* c = dynamic_cast<TMarksCallout*>(Source)) FLength = c->FLength;
    TCallout::Assign(Source);
}

void TMarksCallout::ApplyArrowLength(TSeriesMarkPosition& Position) const {
    const int d = FLength + GetDistance();
    Position.TopLeft.Y -= d;
    Position.ArrowEnd.Y -= d;
    Position.ArrowStart.Y -= GetDistance();
}

// ---------------------------------------------------------------------------
// Marks

const ClassInfo& TSeriesMarks::StaticClass() {
    using C = TSeriesMarks;
    static const PropInfo props[] = {
        MakeProp<&C::GetAngle, &C::SetAngle>("Angle").Default(0),
        MakeProp<&C::GetArrow, &C::SetArrow>("Arrow").Stored<&C::HasCallout>(),
        // Kept by the callout, which is written whole.
        MakeProp<&C::GetArrowLength, &C::SetArrowLength>("ArrowLength").Stored(false),
        MakeProp<&C::GetBackColor, &C::SetBackColor>("BackColor").Stored(false),
        MakeProp<&C::GetCallout, &C::SetCallout>("Callout").Stored<&C::HasCallout>(),
        MakeProp<&C::GetClip, &C::SetClip>("Clip").Default(0),
        MakeProp<&C::GetDrawEvery, &C::SetDrawEvery>("DrawEvery").Default(1),
        MakeProp<&C::GetFont, &C::SetFont>("Font"),
        // Offered beside the font on the series' marks page, so kept with it.
        MakeProp<&C::GetFontSeriesColor, &C::SetFontSeriesColor>("FontSeriesColor").Default(false),
        MakeProp<&C::GetMargins, &C::SetMargins>("Margins"),
        MakeProp<&C::GetMultiLine, &C::SetMultiLine>("MultiLine").Default(0),
        MakeProp<&C::GetStyle, &C::SetStyle>("Style").Default(smsLabel),
        MakeProp<&C::GetSymbol, &C::SetSymbol>("Symbol").Stored<&C::HasSymbol>(),
        MakeProp<&C::GetTextAlign, &C::SetTextAlign>("TextAlign").Default(taCenter),
    };
    static const ClassInfo info = MakeClassInfo<C>("TSeriesMarks", &TSeriesMarkShape::StaticClass(), props);
    return info;
}

TSeriesMarks::TSeriesMarks(TChartSeries* Series) : TSeriesMarkShape(nullptr), FSeries(Series), FItems(this) {
    TNotifyEvent changed;
    changed.Bind([this](TObject*) { Repaint(); });
    FMargins.reset(Create<TMargins>(changed, 20));
    SetVisible(false);
    DefaultVisible = false;
    SetColor(clInfoBk);
    SetParent(PanelOf(Series ? Series->GetParentChart() : nullptr));
}

TSeriesMarks::~TSeriesMarks() = default;

Owned<TZuzGradient> TSeriesMarks::NewGradient() {
    return MakeOwned<TSeriesMarksGradient>(ChangedEvent());
}

void TSeriesMarks::SetParent(TCustomZuzPanel* Value) {
    TSeriesMarkShape::SetParent(Value);
    if (FCallout) FCallout->SetParent(Value);
    if (FSymbol) FSymbol->SetParent(Value);
    FItems.SetParent(Value);
}

void TSeriesMarks::SetParentChart(ISeriesChart* Value) {
    SetParent(PanelOf(Value));
}

void TSeriesMarks::DeletePoints(int Start, int Quantity) {
    FPositions.Delete(Start, Quantity);
    FItems.Delete(Start, Quantity);
    EraseSlots(FDrawn, Start, Quantity);
}

void TSeriesMarks::InsertPoint(int Index) {
    FPositions.Insert(Index);
    FItems.Insert(Index);
    InsertSlot(FDrawn, Index);
}

void TSeriesMarks::ExchangePoints(int Index1, int Index2) {
    FPositions.Exchange(Index1, Index2);
    FItems.Exchange(Index1, Index2);
    ExchangeSlots(FDrawn, Index1, Index2);
}

void TSeriesMarks::Repaint() {
    if (FSeries && FSeries->GetParentChart()) FSeries->GetParentChart()->Invalidate();
}

void TSeriesMarks::Assign(TPersistent* Source) {
    auto* m = dynamic_cast<TSeriesMarks*>(Source);
    if (!m) {
        TSeriesMarkShape::Assign(Source);
        return;
    }
    FAngle = m->FAngle;
    if (m->FCallout)
        GetCallout()->Assign(m->FCallout.get());
    else
        FCallout.reset();
    FClip = m->FClip;
    FDrawEvery = m->FDrawEvery;
    FFontSeriesColor = m->FFontSeriesColor;
    FStyle = m->FStyle;
    FMargins->Assign(m->FMargins.get());
    FMultiLine = m->FMultiLine;
    if (m->FSymbol)
        GetSymbol()->Assign(m->FSymbol.get());
    else
        FSymbol.reset();
    FTextAlign = m->FTextAlign;
    FItems.Assign(m->FItems);
    TSeriesMarkShape::Assign(Source);
}

TMarksCallout* TSeriesMarks::GetCallout() {
    if (!FCallout) FCallout.reset(Create<TMarksCallout>(FSeries));
    return FCallout.get();
}

void TSeriesMarks::SetCallout(TMarksCallout* Value) {
    if (!Value)
        FCallout.reset();
    else
        GetCallout()->Assign(Value);
}

TSeriesMarksSymbol* TSeriesMarks::GetSymbol() {
    if (!FSymbol) FSymbol.reset(Create<TSeriesMarksSymbol>(GetParentChart()));
    return FSymbol.get();
}

void TSeriesMarks::SetSymbol(TSeriesMarksSymbol* Value) {
    if (!Value)
        FSymbol.reset();
    else
        GetSymbol()->Assign(Value);
}

TSeriesMarkShape* TSeriesMarks::MarkItem(int Index) {
    if (Index >= 0 && Index < FItems.Count()) return FItems.Get(Index);
    return this;
}

TSeriesMarkPosition* TSeriesMarks::UsePosition(int Index) {
    if (TSeriesMarkPosition* p = FPositions.Get(Index)) return p;
    FPositions.Put(Index, std::make_unique<TSeriesMarkPosition>());
    return FPositions.Get(Index);
}

void TSeriesMarks::UsePosition(int Index, TSeriesMarkPosition& Position) {
    TSeriesMarkPosition* stored = UsePosition(Index);
    if (stored->Custom) {
        const TPoint start = Position.ArrowStart;
        const bool fixed = Position.ArrowStartFixed;
        Position.Assign(*stored);
        if (fixed) Position.ArrowStart = start;
    } else {
        // The record comes from the point drawn before, which may have been a dragged one.
        Position.Custom = false;
        stored->Assign(Position);
    }
}

void TSeriesMarks::ApplyArrowLength(TSeriesMarkPosition& Position) {
    if (FCallout) FCallout->ApplyArrowLength(Position);
}

TCanvas3D* TSeriesMarks::Canvas() const {
    ISeriesChart* c = FSeries ? FSeries->GetParentChart() : nullptr;
    return c ? c->GetCanvas() : nullptr;
}

TPoint TSeriesMarks::ConvertTo2D(TPoint P, TPoint Q) {
    ISeriesChart* c = FSeries ? FSeries->GetParentChart() : nullptr;
    TCanvas3D* canvas = Canvas();
    if (c && canvas && c->GetView3D() && !canvas->GetSupports3DText()) {
        const TPoint s = canvas->Calculate3DPosition(P, ZPosition);
        return {s.X + Q.X - P.X, s.Y + Q.Y - P.Y};
    }
    return Q;
}

namespace {

// Marks cut at the plot cut their shadows there too.
TZuzShadow* ShadowToClip(TZuzCustomShape* Shape, bool Clip) {
    return Clip && Shape && Shape->HasShadow() ? Shape->GetShadow() : nullptr;
}

} // namespace

void TSeriesMarks::InternalDraw(int Index, TColor Color, const String& Text, TSeriesMarkPosition& Position) {
    UsePosition(Index, Position);
    if (static_cast<std::size_t>(Index) >= FDrawn.size()) FDrawn.resize(static_cast<std::size_t>(Index) + 1);
    FDrawn[static_cast<std::size_t>(Index)] = true;
    DrawItem(MarkItem(Index), Color, Text, Position);
}

void TSeriesMarks::DrawItem(TSeriesMarkShape* Shape, TColor Color, const String& Text,
                            TSeriesMarkPosition& Position) {
    TCanvas3D* canvas = Canvas();
    if (!canvas) return;
    ISeriesChart* chart = FSeries->GetParentChart();
    if (FCallout && (FCallout->GetVisible() || FCallout->GetArrow()->GetVisible()))
        FCallout->Draw(Color, Position.ArrowStart, Position.MidPoint, Position.ArrowEnd, ZPosition,
                       Position.HasMidPoint);
    if (Shape->GetTransparent()) {
        canvas->Brush->SetStyle(bsClear);
        canvas->SetBackMode(cbmTransparent);
    } else {
        canvas->AssignBrush(Shape->GetBrush(), Shape->GetColor());
    }
    canvas->AssignVisiblePen(Shape->GetPen());
    Position.TopLeft = ConvertTo2D(Position.ArrowEnd, Position.TopLeft);
    TRect r = Position.Bounds();
    if (Position.Custom) {
        const TPoint pan = chart->PanningOffset();
        OffsetRect(r, pan.X, pan.Y);
    }
    {
        const TShadowClipped clipped(ShadowToClip(Shape, FClip));
        Shape->DrawRectRotated(canvas, GetParentChart(), r, FAngle % 360, ZPosition);
    }
    const int h = canvas->GetFontHeight();
    const int angle = FAngle % 360;
    const bool symbol = FSymbol && FSymbol->ShouldDraw();
    // A turned mark carries what stands off its middle round that middle with it.
    const auto turnAboutMiddle = [&](TRect& Box) {
        if (angle == 0) return;
        const double a = angle * std::numbers::pi / 180;
        const double dx = (Box.Left + Box.Right - r.Left - r.Right) * 0.5,
                     dy = (Box.Top + Box.Bottom - r.Top - r.Bottom) * 0.5;
        OffsetRect(Box, static_cast<int>(Round(dx * std::cos(a) + dy * std::sin(a) - dx)),
                   static_cast<int>(Round(-dx * std::sin(a) + dy * std::cos(a) - dy)));
    };
    if (symbol) {
        TRect box(r.Left + 4, r.Top + 3, r.Left + h - 1, r.Top + h - 2);
        turnAboutMiddle(box);
        const TShadowClipped clipped(ShadowToClip(FSymbol.get(), FClip));
        FSymbol->DrawInColor(canvas, Color, box, angle, ZPosition);
    }
    canvas->Brush->SetStyle(bsClear);
    canvas->SetBackMode(cbmTransparent);
    // The text makes room for the symbol along its own line.
    TRect text = r;
    text.Left += 2;
    if (symbol) text.Left += (h - 1 - 4) + 4;
    turnAboutMiddle(text);
    AssignFont(canvas, Shape);
    if (FFontSeriesColor) canvas->Font->SetColor(Color);
    DrawText(text, Text);
}

void TSeriesMarks::AssignFont(TCanvas3D* Canvas, TZuzCustomShape* Shape) {
    Canvas->AssignFont(Shape->GetFont());
    ISeriesChart* chart = FSeries ? FSeries->GetParentChart() : nullptr;
    const TView3DOptions* view = Canvas->View3DOptions;
    if (chart && chart->GetView3D() && !Canvas->GetSupports3DText() && view && view->GetZoomText() &&
        view->GetZoom() != 100)
        Canvas->Font->SetSize(
            std::max(1, static_cast<int>(Round(Shape->GetFont()->GetSize() * view->GetZoom() * 0.01))));
}

void TSeriesMarks::DrawText(const TRect& R, const String& Text) {
    TCanvas3D* canvas = Canvas();
    if (!canvas) return;
    ISeriesChart* chart = FSeries->GetParentChart();
    const int xc = (R.Left + GetMargins()->PixelLeft + R.Right - GetMargins()->PixelRight) / 2;
    const int yc = (R.Top + GetMargins()->PixelTop + R.Bottom - GetMargins()->PixelBottom) / 2;
    int x = xc;
    switch (FTextAlign) {
    case taLeftJustify:
        canvas->SetTextAlign(TA_LEFT);
        x = R.Left + GetMargins()->PixelLeft;
        break;
    case taRightJustify:
        canvas->SetTextAlign(TA_RIGHT);
        x = R.Right - GetMargins()->PixelRight;
        break;
    default:
        canvas->SetTextAlign(TA_CENTER);
        break;
    }
    if (GetTextFormat() == ttfHtml) {
        // The HTML pieces follow one another from the left: a centred or right-aligned text
        // starts where its whole width ends at the alignment's place, not piece by piece.
        TSize extent{};
        HtmlTextExtent(canvas, Text, extent);
        if (FTextAlign == taCenter)
            x -= extent.cx / 2;
        else if (FTextAlign == taRightJustify)
            x -= extent.cx;
        canvas->SetTextAlign(TA_LEFT);
        canvas->TextOut(x, R.Top + GetMargins()->PixelTop, Text, true);
        return;
    }
    const int lineH = canvas->TextHeight(u"W");
    const int half = GetFrame()->GetVisible() ? (GetFrame()->GetWidth() - 1) / 2 : 0;
    const bool is3D = chart && chart->GetView3D() && canvas->GetSupports3DText();
    const int angle = FAngle % 360;
    // A turned line is placed by the middle of its box: aligned to one side of that point, it
    // would reach half its width out of the box.
    if (angle != 0) canvas->SetTextAlign(TA_CENTER);
    int k = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = Text.find(ZuzLineSeparator, start);
        const String line = Text.substr(start, end == String::npos ? String::npos : end - start);
        if (angle == 0) {
            const int y = R.Top + GetMargins()->PixelTop + k * lineH + half;
            if (is3D)
                canvas->TextOut3D(x, y, ZPosition, line);
            else
                canvas->TextOut(x, y, line);
        } else {
            const double a = angle * std::numbers::pi / 180;
            // Measured from the top of the text, below the top margin, as an upright line is:
            // from the bottom and its margin, a wide margin lifts the text out of its box.
            const int d = k * lineH - (yc - R.Top - GetMargins()->PixelTop) + half;
            int px = xc + static_cast<int>(Round(d * std::sin(a)));
            const int py = yc + static_cast<int>(Round(d * std::cos(a)));
            if (angle == 90) ++px;
            if (is3D)
                canvas->RotateLabel3D(px, py, ZPosition, line, angle);
            else
                canvas->RotateLabel(px, py, line, angle);
        }
        if (end == String::npos) break;
        start = end + 1;
        ++k;
    }
}

TRect TSeriesMarks::Bounds2D(const TSeriesMarkPosition& P) {
    const TPoint tl = ConvertTo2D(P.ArrowEnd, P.TopLeft);
    return {tl.X, tl.Y, tl.X + P.Width, tl.Y + P.Height};
}

int TSeriesMarks::Clicked(int X, int Y) {
    // What the clip the marks are drawn in cuts away is not seen there.
    ISeriesChart* chart = FSeries ? FSeries->GetParentChart() : nullptr;
    if (chart && chart->ClipsAwayMark({X, Y}, FClip)) return -1;
    const int every = DrawEveryStep();
    const int angle = FAngle % 360;
    for (int t = FPositions.Count() - 1; t >= 0; --t) {
        if (t % every != 0 || !Drawn(t)) continue;
        const TSeriesMarkPosition* p = FPositions.Get(t);
        if (!p) continue;
        const TRect r = Bounds2D(*p);
        if (angle != 0) {
            const TFourPoints q = TurnedCorners(r, angle);
            if (PointInPolygon(TPoint(X, Y), q.data(), 3)) return t;
        } else if (X >= r.Left && X <= r.Right && Y >= r.Top && Y <= r.Bottom) {
            return t;
        }
    }
    return -1;
}

void TSeriesMarks::AntiOverlap(int First, int ValueIndex, TSeriesMarkPosition& Position) {
    auto grown = [this](TRect r) {
        if (GetFrame()->GetVisible()) {
            r.Right += GetFrame()->GetWidth();
            r.Bottom += GetFrame()->GetWidth();
        }
        const int h = GetShadow()->GetHorizSize(), v = GetShadow()->GetVertSize();
        (h > 0 ? r.Right : r.Left) += h;
        (v > 0 ? r.Bottom : r.Top) += v;
        return r;
    };
    const TRect r = grown(Bounds2D(Position));
    for (int j = First; j < ValueIndex; ++j) {
        const TSeriesMarkPosition* p = FPositions.Get(j);
        if (!p || !Drawn(j)) continue;
        const TRect rj = grown(Bounds2D(*p));
        TRect common;
        if (!IntersectRect(common, r, rj)) continue;
        const int delta = rj.Top > r.Top ? r.Bottom - rj.Top : r.Top - rj.Bottom;
        Position.TopLeft.Y -= delta;
        Position.ArrowEnd.Y -= delta;
        if (Position.HasMidPoint) Position.MidPoint.Y -= delta;
    }
}

int TSeriesMarks::TextWidth(int ValueIndex) {
    TCanvas3D* canvas = Canvas();
    if (!canvas) return 0;
    return WidestLine(canvas, FSeries->GetMarkText(ValueIndex));
}

void TSeriesMarks::ResetPositions() {
    for (int i = 0; i < FPositions.Count(); ++i) FPositions.Automatic(i);
    Repaint();
}

void TSeriesMarks::DefineProperties(TFiler* Filer) {
    TSeriesMarkShape::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        "Items", [this](TStream* S) { ReadItems(S); }, [this](TStream* S) { WriteItems(S); },
        FItems.Count() > 0);
}

void TSeriesMarks::Clear() {
    FPositions.Clear();
    FDrawn.clear();
    if (!FItems.ReadFromStream) FItems.Clear();
}
