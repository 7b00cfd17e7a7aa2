// The walls: settings and their drawing on the chart's canvas.
#include "chart/engine/chartwalls.h"

#include "chart/canvas/zuzblend.h"
#include "chart/canvas/zuzfilters.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartaxis.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

// ---------------------------------------------------------------------------
// One wall

const ClassInfo& TCustomChartWall::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TCustomChartWall>("TCustomChartWall", &TZuzCustomShape::StaticClass());
    return ci;
}

TCustomChartWall::TCustomChartWall(TCustomZuzPanel* Chart) : TZuzCustomShape(Chart) {
    InitColor(clDefault);
}

TCustomChart* TCustomChartWall::Chart() const {
    return static_cast<TCustomChart*>(GetParentChart());
}

void TCustomChartWall::InitColor(TColor Color) {
    FDefaultColor = Color;
    TCustomZuzPanel* panel = GetParentChart();
    SetParent(nullptr); // quietly: a new wall repaints nothing
    SetColor(Color);
    SetParent(panel);
}

// A file may hold any number: the positions are percentages of the wall's length and the size
// is added to the chart's rectangle, so neither goes beyond what drawing can take.
void TCustomChartWall::SetEndPosition(int Value) {
    Store(FEndPosition, std::clamp(Value, 0, 100));
}
void TCustomChartWall::SetSize(int Value) {
    Store(FSize, std::clamp(Value, -kLargestPictureSide, kLargestPictureSide));
}
void TCustomChartWall::SetStartPosition(int Value) {
    Store(FStartPosition, std::clamp(Value, 0, 100));
}

void TCustomChartWall::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TCustomChartWall*>(Source)) {
        FAutoHide = src->FAutoHide;
        FDark3D = src->FDark3D;
        FEndPosition = src->FEndPosition;
        FSize = src->FSize;
        FStartPosition = src->FStartPosition;
    }
    TZuzCustomShape::Assign(Source);
}

bool TCustomChartWall::ShouldDraw() const {
    return Chart()->GetView3DWalls() && GetVisible() && !FAutoHide;
}

void TCustomChartWall::CalcPositions(int& Start, int& End) const {
    TCustomChart* ch = Chart();
    const TRect r = ch->GetChartRect();
    End = r.Bottom + ch->CalcWallSize(ch->GetBottomAxis());
    if (FEndPosition != 100) End -= ZuzRound((End - r.Top) * (100 - FEndPosition) * 0.01);
    Start = r.Top;
    if (FStartPosition != 0) Start += ZuzRound((r.Bottom - Start) * FStartPosition * 0.01);
}

Owned<TZuzBlend> TCustomChartWall::TryDrawWall(int Position, int Depth) {
    Owned<TZuzBlend> blend;
    if (GetTransparent() || (GetTransparency() <= 0 && !HasVisibleGradient())) return blend;
    TCanvas3D* c = Chart()->GetCanvas();
    int start = 0, end = 0;
    CalcPositions(start, end);
    const TFourPoints p{
        c->Calculate3DPosition(Position, start, 0), c->Calculate3DPosition(Position, start, Depth),
        c->Calculate3DPosition(Position, end, Depth), c->Calculate3DPosition(Position, end, 0)};
    if (GetTransparency() > 0) blend = c->BeginBlending(RectFromPolygon(p), GetTransparency());
    if (HasVisibleGradient()) {
        GetGradient()->Draw(static_cast<TZuzCanvas*>(c), p);
        c->Brush->SetStyle(bsClear);
    }
    return blend;
}

bool TCustomChartWall::ApplyDark3D() {
    TCanvas3D* c = Chart()->GetCanvas();
    return c->Brush->GetStyle() != bsClear && !GetBrush()->HasImage() && FDark3D;
}

void TCustomChartWall::DoEndBlending(Owned<TZuzBlend> Blend) {
    if (!Blend) return;
    if (HasPicture() && !GetPicture()->HasGraphic() && GetPicture()->FiltersStored() && Blend->GetBitmap())
        GetPicture()->GetFilters()->ApplyTo(Blend->GetBitmap());
    Chart()->GetCanvas()->EndBlending(std::move(Blend));
}

using W = TCustomChartWall;

const ClassInfo& TChartWall::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&W::GetAutoHide, &W::SetAutoHide>("AutoHide").Default(false),
        MakeProp<&W::GetBrush, &W::SetBrush>("Brush"),
        MakeProp<&W::GetColor, &W::SetColor>("Color").Stored<&W::IsColorStored>(),
        MakeProp<&W::GetDark3D, &W::SetDark3D>("Dark3D").Default(true),
        MakeProp<&W::GetEndPosition, &W::SetEndPosition>("EndPosition").Default(100),
        MakeProp<&W::GetGradient, &W::SetGradient>("Gradient").Stored<&W::HasGradient>(),
        MakeProp<&W::GetPen, &W::SetPen>("Pen"),
        MakeProp<&W::GetSize, &W::SetSize>("Size").Default(0),
        MakeProp<&W::GetStartPosition, &W::SetStartPosition>("StartPosition").Default(0),
        MakeProp<&W::GetTransparency, &W::SetTransparency>("Transparency").Default(0),
        MakeProp<&W::GetTransparent, &W::SetTransparent>("Transparent").Stored<&W::IsTransparentStored>(),
        MakeProp<&W::GetVisible, &W::SetVisible>("Visible").Stored<&W::IsVisibleStored>(),
    };
    static const ClassInfo ci =
        MakeClassInfo<TChartWall>("TChartWall", &TCustomChartWall::StaticClass(), props);
    return ci;
}

const ClassInfo& TChartBackWall::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&W::GetPicture, &W::SetPicture>("Picture").Stored<&W::HasPicture>(),
        MakeProp<&W::GetShadow, &W::SetShadow>("Shadow").Stored<&W::HasShadow>(),
    };
    static const ClassInfo ci =
        MakeClassInfo<TChartBackWall>("TChartBackWall", &TChartWall::StaticClass(), props);
    return ci;
}

TChartBackWall::TChartBackWall(TCustomZuzPanel* Chart) : TChartWall(Chart) {
    TChartBackWall::InitShadow(GetShadow());
    InitColor(clSilver);
    SetParent(nullptr);
    SetTransparent(true);
    SetParent(Chart);
    DefaultTransparent = true;
}

void TChartBackWall::InitShadow(TZuzShadow* Shadow) {
    Shadow->InitValues(clGray, 3);
    Shadow->SetVisible(false);
    Shadow->DefaultVisible = false;
}

const ClassInfo& TChartLeftWall::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&W::GetPicture, &W::SetPicture>("Picture").Stored<&W::HasPicture>()};
    static const ClassInfo ci =
        MakeClassInfo<TChartLeftWall>("TChartLeftWall", &TChartWall::StaticClass(), props);
    return ci;
}

TChartLeftWall::TChartLeftWall(TCustomZuzPanel* Chart) : TChartWall(Chart) {
    InitColor(static_cast<TColor>(0x80FFFF));
}

const ClassInfo& TChartBottomWall::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&W::GetPicture, &W::SetPicture>("Picture").Stored<&W::HasPicture>()};
    static const ClassInfo ci =
        MakeClassInfo<TChartBottomWall>("TChartBottomWall", &TChartWall::StaticClass(), props);
    return ci;
}

TChartBottomWall::TChartBottomWall(TCustomZuzPanel* Chart) : TChartWall(Chart) {
    InitColor(clWhite);
}

const ClassInfo& TChartRightWall::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&W::GetPicture, &W::SetPicture>("Picture").Stored<&W::HasPicture>()};
    static const ClassInfo ci =
        MakeClassInfo<TChartRightWall>("TChartRightWall", &TChartWall::StaticClass(), props);
    return ci;
}

TChartRightWall::TChartRightWall(TCustomZuzPanel* Chart) : TChartWall(Chart) {
    InitColor(clSilver);
}

// ---------------------------------------------------------------------------
// The four walls

const ClassInfo& TChartWalls::StaticClass() {
    using C = TChartWalls;
    static const PropInfo props[] = {
        MakeProp<&C::GetBack, &C::SetBack>("Back"),
        MakeProp<&C::GetBottom, &C::SetBottom>("Bottom"),
        MakeProp<&C::GetLeft, &C::SetLeft>("Left"),
        MakeProp<&C::GetRight, &C::SetRight>("Right"),
    };
    static const ClassInfo ci = MakeClassInfo<C>("TChartWalls", &TPersistent::StaticClass(), props);
    return ci;
}

TChartWalls::TChartWalls(TCustomChart* Chart)
    : FChart(Chart), FBack(MakeOwned<TChartBackWall>(Chart)), FBottom(MakeOwned<TChartBottomWall>(Chart)),
      FLeft(MakeOwned<TChartLeftWall>(Chart)), FRight(MakeOwned<TChartRightWall>(Chart)) {
    FRight->SetParent(nullptr);
    FRight->SetVisible(false);
    FRight->DefaultVisible = false;
    FRight->SetParent(Chart);
}

TChartWalls::~TChartWalls() = default;

void TChartWalls::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TChartWalls*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    FBack->Assign(src->FBack.get());
    FBottom->Assign(src->FBottom.get());
    FLeft->Assign(src->FLeft.get());
    FRight->Assign(src->FRight.get());
}

bool TChartWalls::GetVisible() const {
    return FChart->GetView3DWalls();
}

void TChartWalls::SetVisible(bool Value) {
    FChart->SetView3DWalls(Value);
}

void TChartWalls::SetSize(int Value) {
    FLeft->SetSize(Value);
    FRight->SetSize(Value);
    FBack->SetSize(Value);
    FBottom->SetSize(Value);
}

void TChartWalls::PrepareWallCanvas(TCustomChartWall* Wall) {
    TCanvas3D* c = FChart->GetCanvas();
    c->AssignVisiblePen(Wall->GetPen());
    if (Wall->GetTransparent())
        c->Brush->SetStyle(bsClear);
    else
        c->AssignBrush(Wall->GetBrush(), Wall->GetColor(), Wall->GetBrush()->GetBackColor());
}

bool TChartWalls::DrawWallFirst(int Position) {
    TCanvas3D* c = FChart->GetCanvas();
    if (c->GetSupportsFullRotation()) return true;
    const TRect r = FChart->GetChartRect();
    const int back = FBack->GetSize() + FChart->Width3D;
    const TPoint p[3] = {c->Calculate3DPosition(Position, r.Top, 0),
                         c->Calculate3DPosition(Position, r.Top, back),
                         c->Calculate3DPosition(Position, r.Bottom, back)};
    return ZuzCull(p);
}

void TChartWalls::DrawSideWall(TCustomChartWall* Wall, int Position, bool Right) {
    TCanvas3D* c = FChart->GetCanvas();
    PrepareWallCanvas(Wall);
    int start = 0, end = 0;
    Wall->CalcPositions(start, end);
    const int depth = FChart->Width3D;
    Owned<TZuzBlend> blend = Wall->TryDrawWall(Position, depth);
    try {
        const int size = Wall->GetSize();
        if (size < 1) {
            c->RectangleZ(Position, start, end, 0, Right ? depth + 1 : depth);
        } else {
            const int slabDepth = Right && FBack->GetVisible() ? depth + FBack->GetSize() : depth;
            if (Right)
                c->Cube(Position, Position + size, start, end, 0, slabDepth, Wall->ApplyDark3D());
            else
                c->Cube(Position - size, Position, start, end, 0, slabDepth, Wall->ApplyDark3D());
        }
        if (Wall->HasPicture() && Wall->GetPicture()->HasGraphic())
            c->StretchDraw(TRect(0, start, depth, end), Wall->GetPicture()->Filtered(), Position, cpX);
    } catch (...) {
        Wall->DoEndBlending(std::move(blend));
        throw;
    }
    Wall->DoEndBlending(std::move(blend));
}

void TChartWalls::DrawLeftWall() {
    if (!FChart->GetView3D() || !FChart->GetView3DWalls()) return;
    DrawSideWall(FLeft.get(), FChart->GetChartRect().Left, false);
}

void TChartWalls::DrawRightWall() {
    if (!FChart->GetView3D() || !FChart->GetView3DWalls() || !FRight->GetVisible() ||
        !FChart->ActiveSeriesUseAxis())
        return;
    DrawSideWall(FRight.get(), FChart->GetChartRect().Right, true);
}

void TChartWalls::DrawBackWall() {
    TCanvas3D* c = FChart->GetCanvas();
    TChartBackWall* wall = FBack.get();
    PrepareWallCanvas(wall);
    int start = 0, end = 0;
    wall->CalcPositions(start, end);
    const TRect chartRect = FChart->GetChartRect();
    TRect r(chartRect.Left, start, chartRect.Right, end);
    const bool in3D = FChart->GetView3D() && FChart->GetView3DWalls();
    const int z = FChart->Width3D;
    const TFourPoints corners{
        c->Calculate3DPosition(r.Left, r.Top, z), c->Calculate3DPosition(r.Right, r.Top, z),
        c->Calculate3DPosition(r.Right, r.Bottom, z), c->Calculate3DPosition(r.Left, r.Bottom, z)};
    Owned<TZuzBlend> blend;
    if (wall->GetTransparency() > 0)
        blend = c->BeginBlending(in3D ? RectFromPolygon(corners) : r, wall->GetTransparency());
    const bool shadow =
        wall->HasShadow() && wall->GetShadow()->GetVisible() && wall->GetShadow()->GetSize() != 0;
    const bool gradient = wall->HasVisibleGradient() && !wall->GetTransparent();
    try {
        if (!in3D) {
            ++r.Bottom;
            if (wall->GetEndPosition() == 100) ++r.Right;
            if (shadow) wall->GetShadow()->Draw(c, r);
            if (gradient) {
                wall->GetGradient()->Draw(c, r);
                c->Brush->SetStyle(bsClear);
            }
            PrepareWallCanvas(wall);
            if (gradient) c->Brush->SetStyle(bsClear);
            c->Rectangle(r);
        } else {
            r.Bottom -= FChart->CalcWallSize(FChart->GetBottomAxis());
            const int size = z < 0 ? -wall->GetSize() : wall->GetSize();
            if (shadow) {
                if (FChart->GetView3DOptions()->GetOrthogonal())
                    wall->GetShadow()->Draw(c, r, z);
                else
                    wall->GetShadow()->Draw(c, std::span<const TPoint>(corners.data(), 4));
            }
            if (gradient) {
                // The corners are screen points already.
                wall->GetGradient()->Draw(static_cast<TZuzCanvas*>(c), corners);
                c->Brush->SetStyle(bsClear);
            }
            PrepareWallCanvas(wall);
            if (gradient) c->Brush->SetStyle(bsClear);
            if (wall->GetSize() < 1)
                c->RectangleWithZ(r, z);
            else
                c->Cube(r, z, z + size, wall->ApplyDark3D());
        }
        if (wall->HasPicture() && wall->GetPicture()->HasGraphic()) {
            c->StretchDraw(r, wall->GetPicture()->Filtered(), in3D ? z : 0, cpZ);
        } else if (FChart->GetBackImageInside() && FChart->GetBackImage()->HasGraphic()) {
            TRect inside = r;
            if (wall->GetPen()->GetVisible()) InflateRect(inside, 1, 1);
            FChart->GetBackImage()->Draw(FChart, inside, in3D ? z : 0);
        }
    } catch (...) {
        wall->DoEndBlending(std::move(blend));
        throw;
    }
    wall->DoEndBlending(std::move(blend));
}

void TChartWalls::DrawBottomWall() {
    TCanvas3D* c = FChart->GetCanvas();
    TChartBottomWall* wall = FBottom.get();
    PrepareWallCanvas(wall);
    const TRect chartRect = FChart->GetChartRect();
    const int depth = FChart->Width3D;
    const int z0 = ZuzRound(wall->GetStartPosition() * depth * 0.01);
    const int z1 = depth - ZuzRound((100 - wall->GetEndPosition()) * depth * 0.01);
    int left = chartRect.Left;
    if (FLeft->GetVisible() && DrawWallFirst(chartRect.Left)) left -= FLeft->GetSize();
    const int right = chartRect.Right, bottom = chartRect.Bottom;
    Owned<TZuzBlend> blend;
    if (!wall->GetTransparent()) {
        const TFourPoints p{
            c->Calculate3DPosition(left, bottom, z0), c->Calculate3DPosition(right, bottom, z0),
            c->Calculate3DPosition(right, bottom, z1), c->Calculate3DPosition(left, bottom, z1)};
        if (wall->GetTransparency() > 0)
            blend = c->BeginBlending(RectFromPolygon(p), wall->GetTransparency());
        if (wall->HasVisibleGradient()) {
            wall->GetGradient()->Draw(static_cast<TZuzCanvas*>(c), p);
            c->Brush->SetStyle(bsClear);
        }
    }
    try {
        if (wall->GetSize() < 1)
            c->RectangleY(left, c->GetSupportsFullRotation() ? bottom + 1 : bottom, right, z0, z1);
        else
            c->Cube(left, right, bottom, bottom + wall->GetSize(), z0, z1, wall->ApplyDark3D());
        if (wall->HasPicture() && wall->GetPicture()->HasGraphic())
            c->StretchDraw(TRect(left, z0, right, z1), wall->GetPicture()->Filtered(), bottom, cpY);
    } catch (...) {
        wall->DoEndBlending(std::move(blend));
        throw;
    }
    wall->DoEndBlending(std::move(blend));
}
