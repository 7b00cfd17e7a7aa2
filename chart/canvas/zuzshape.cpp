// Framed boxes of chart elements and their drawing.
#include "chart/canvas/zuzshape.h"

#include "chart/canvas/zuzblend.h"
#include "platform/core/filer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

template <>
const EnumInfo& EnumInfoOf<TChartObjectShapeStyle>() {
    static const EnumInfo info{"TChartObjectShapeStyle", {"fosRectangle", "fosRoundRectangle", "fosEllipse"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TTextFormat>() {
    static const EnumInfo info{"TTextFormat", {"ttfNormal", "ttfHtml"}};
    return info;
}

void RectToFourPoints(const TRect& R, double Angle, TFourPoints& Points) {
    // Integer halving truncates toward zero, as the centres of boxes do everywhere.
    const int cx = (R.Left + R.Right) / 2, cy = (R.Top + R.Bottom) / 2;
    const double a = std::fmod(Angle, 360.0) * std::numbers::pi / 180.0;
    const double s = std::sin(a), c = std::cos(a);
    const TPoint corners[4] = {{R.Left, R.Top}, {R.Right, R.Top}, {R.Right, R.Bottom}, {R.Left, R.Bottom}};
    for (std::size_t i = 0; i < 4; ++i) {
        const double x = corners[i].X - cx, y = corners[i].Y - cy;
        Points[i] = TPoint(ZuzRound(x * c + y * s) + cx, ZuzRound(-x * s + y * c) + cy);
    }
}

// ---------------------------------------------------------------------------
// Brush, pen and visibility

const ClassInfo& TZuzCustomShapeBrushPen::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TZuzCustomShapeBrushPen>("TZuzCustomShapeBrushPen", &TPersistent::StaticClass());
    return ci;
}

TZuzCustomShapeBrushPen::TZuzCustomShapeBrushPen()
    : FBrush(MakeOwned<TChartBrush>(ChangedEvent())), FPen(MakeOwned<TChartPen>(ChangedEvent())) {}

TZuzCustomShapeBrushPen::~TZuzCustomShapeBrushPen() = default;

void TZuzCustomShapeBrushPen::ReplaceBrush(Owned<TChartBrush> Brush) {
    Brush->OnChange = ChangedEvent();
    FBrush = std::move(Brush);
}

void TZuzCustomShapeBrushPen::SetVisible(bool Value) {
    if (FParentChart)
        FParentChart->SetBooleanProperty(FVisible, Value);
    else
        FVisible = Value;
}

void TZuzCustomShapeBrushPen::Repaint() {
    if (FParentChart) FParentChart->Invalidate();
}

void TZuzCustomShapeBrushPen::CanvasChanged(TObject*) {
    Repaint();
}

void TZuzCustomShapeBrushPen::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TZuzCustomShapeBrushPen*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    FBrush->Assign(src->FBrush.get());
    FPen->Assign(src->FPen.get());
    FVisible = src->FVisible;
}

// ---------------------------------------------------------------------------
// The framed box

const ClassInfo& TZuzCustomShape::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TZuzCustomShape>("TZuzCustomShape", &TZuzCustomShapeBrushPen::StaticClass());
    return ci;
}

TZuzCustomShape::TZuzCustomShape(TCustomZuzPanel* AOwner) {
    SetParent(AOwner);
    FShadow = MakeOwned<TZuzShadow>(ChangedEvent());
    InitShadow(FShadow.get());
    FFont = MakeOwned<TZuzFont>(ChangedEvent());
}

TZuzCustomShape::~TZuzCustomShape() = default;

void TZuzCustomShape::InitShadow(TZuzShadow* Shadow) {
    Shadow->InitValues(clBlack, 3);
}

Owned<TZuzGradient> TZuzCustomShape::NewGradient() {
    return MakeOwned<TZuzGradient>(ChangedEvent());
}

template <class T>
void TZuzCustomShape::Store(T& Field, T Value) {
    if (SetIfChanged(Field, Value)) Repaint();
}

void TZuzCustomShape::SetBevel(TBevelCut Value) {
    Store(FBevel, Value);
}
// Up to the editor's widest: the frame is drawn a line per pixel and narrows the box, whose
// place a file's number is summed with. A file's 0, below what the editor offers, is kept: it
// draws no bevel and leaves no room for one.
void TZuzCustomShape::SetBevelWidth(int Value) {
    Store(FBevelWidth, std::clamp(Value, 0, 100));
}
void TZuzCustomShape::SetRoundSize(int Value) {
    Store(FRoundSize, Value);
}
void TZuzCustomShape::SetShapeStyle(TChartObjectShapeStyle Value) {
    Store(FShapeStyle, Value);
}
void TZuzCustomShape::SetTextFormat(TTextFormat Value) {
    Store(FTextFormat, Value);
}
// A percentage: a file's number beyond it would mix the box with what lies behind by more
// than all of it.
void TZuzCustomShape::SetTransparency(int Value) {
    Store(FTransparency, std::clamp(Value, 0, 100));
}

void TZuzCustomShape::SetColor(TColor Value) {
    if (GetParentChart())
        GetParentChart()->SetColorProperty(FColor, Value);
    else
        FColor = Value;
}

void TZuzCustomShape::SetTransparent(bool Value) {
    if (GetParentChart())
        GetParentChart()->SetBooleanProperty(FTransparent, Value);
    else
        FTransparent = Value;
}

TZuzShadow* TZuzCustomShape::GetShadow() {
    if (!FShadow) {
        FShadow = MakeOwned<TZuzShadow>(ChangedEvent());
        InitShadow(FShadow.get());
    }
    return FShadow.get();
}

void TZuzCustomShape::SetShadow(TZuzShadow* Value) {
    if (!Value)
        FShadow.reset();
    else if (Value != FShadow.get())
        GetShadow()->Assign(Value);
}

TZuzGradient* TZuzCustomShape::GetGradient() {
    if (!FGradient) FGradient = NewGradient();
    return FGradient.get();
}

void TZuzCustomShape::SetGradient(TZuzGradient* Value) {
    if (!Value)
        FGradient.reset();
    else if (Value != FGradient.get())
        GetGradient()->Assign(Value);
    Repaint();
}

TBackImage* TZuzCustomShape::GetPicture() {
    if (!FPicture) {
        FPicture = MakeOwned<TBackImage>();
        FPicture->OnChange = ChangedEvent();
    }
    return FPicture.get();
}

void TZuzCustomShape::SetPicture(TBackImage* Value) {
    if (!Value)
        FPicture.reset();
    else if (Value != FPicture.get())
        GetPicture()->Assign(Value);
    Repaint();
}

void TZuzCustomShape::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TZuzCustomShape*>(Source)) {
        FBevel = src->FBevel;
        FBevelWidth = src->FBevelWidth;
        FColor = src->FColor;
        FFont->Assign(src->FFont.get());
        if (src->FGradient)
            GetGradient()->Assign(src->FGradient.get());
        else
            FGradient.reset();
        FShapeStyle = src->FShapeStyle;
        if (src->FPicture)
            GetPicture()->Assign(src->FPicture.get());
        else
            FPicture.reset();
        FRoundSize = src->FRoundSize;
        if (src->FShadow)
            GetShadow()->Assign(src->FShadow.get());
        else
            FShadow.reset();
        FTextFormat = src->FTextFormat;
        FTransparent = src->FTransparent;
        FTransparency = src->FTransparency;
    }
    TZuzCustomShapeBrushPen::Assign(Source);
}

void TZuzCustomShape::DefineProperties(TFiler* Filer) {
    TZuzCustomShapeBrushPen::DefineProperties(Filer);
    // Older files kept the shadow's colour and size on the shape; read only.
    Filer->DefineProperty(
        "ShadowColor",
        [this](TReader* Reader) {
            if (Reader->NextValue() == vaIdent) {
                const std::string ident = Reader->ReadIdent();
                std::int32_t colour = 0;
                if (!IdentToColor(ident, colour)) throw EReadError(u"Invalid property value");
                SetShadowColor(static_cast<TColor>(colour));
            } else {
                SetShadowColor(static_cast<TColor>(Reader->ReadInteger()));
            }
        },
        nullptr, false);
    Filer->DefineProperty(
        "ShadowSize", [this](TReader* Reader) { SetShadowSize(Reader->ReadInteger()); }, nullptr, false);
}

// ---------------------------------------------------------------------------
// Drawing

namespace {

// The rectangle on a canvas that turns fully: its four corners at depth Z.
TFourPoints CornersAt(const TRect& R) {
    return {TPoint(R.Left, R.Top), TPoint(R.Right, R.Top), TPoint(R.Right, R.Bottom),
            TPoint(R.Left, R.Bottom)};
}

// The outline of the ellipse that Ellipse draws in R, on the screen as it stands.
std::array<TPoint, 64> EllipseOnScreen(const TRect& R) {
    const double xc = (R.Left + R.Right - 1) * 0.5, yc = (R.Top + R.Bottom - 1) * 0.5;
    const double xr = (R.Right - 1 - R.Left) * 0.5, yr = (R.Bottom - 1 - R.Top) * 0.5;
    std::array<TPoint, 64> ring;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const double a = static_cast<double>(i) * 2 * std::numbers::pi / static_cast<double>(ring.size());
        ring[i] = TPoint(ZuzRound(xc + xr * std::cos(a)), ZuzRound(yc + yr * std::sin(a)));
    }
    return ring;
}

} // namespace

void TZuzCustomShape::DrawOutline(TCanvas3D* C, const TRect& R, const TFourPoints& P, double Angle, int Z) {
    if (Angle != 0 && C->GetSupportsFullRotation()) {
        C->PolygonWithZ(P, Z);
    } else if (Angle != 0) {
        // The box is already where it shows, as an upright one is and as its shadow and gradient
        // are drawn: projected again, a turned view would move it off its text.
        C->Polygon(P);
    } else if (C->GetSupportsFullRotation()) {
        if (FShapeStyle == fosEllipse)
            C->EllipseWithZ(R, Z);
        else
            C->RectangleWithZ(R, Z);
    } else {
        switch (FShapeStyle) {
        case fosRectangle:
            C->Rectangle(R);
            break;
        case fosEllipse:
            C->Ellipse(R);
            break;
        case fosRoundRectangle:
            C->RoundRect(R, FRoundSize, FRoundSize);
            break;
        }
    }
}

void TZuzCustomShape::DrawShadow(TCanvas3D* C, const TRect& R, const TFourPoints& P, double Angle, int Z) {
    const TRect box = Angle != 0 ? PolygonBounds(P) : R;
    if (Angle != 0 && !C->GetSupportsFullRotation()) {
        // A turned box, drawn as its four corners whatever its style, casts the shadow of those
        // corners, not of the upright box around them.
        FShadow->Draw(C, P);
    } else if (FShapeStyle == fosEllipse && !C->GetSupportsFullRotation()) {
        // The box is already on screen (a mark's depth put it there): its shadow falls beside
        // it as a rectangle's does, not through the view once more as a 3D ring's would.
        FShadow->Draw(C, EllipseOnScreen(box));
    } else if (FShapeStyle == fosEllipse) {
        FShadow->DrawEllipse(C, box, Z);
    } else {
        const TFrontPlane plane(C, !C->GetSupportsFullRotation());
        FShadow->Draw(C, box, Z, FShapeStyle == fosRoundRectangle ? FRoundSize : 0);
    }
    if (FTransparency == 0) return;
    // A see-through box lets its own shadow show through, so the shadow's shape is laid
    // solidly under it once more.
    int h = FShadow->GetHorizSize(), v = FShadow->GetVertSize();
    if (std::max(h, v) > 0 && GetPen()->GetVisible()) {
        h += GetPen()->GetWidth();
        v += GetPen()->GetWidth();
    }
    TRect moved = R;
    OffsetRect(moved, h, v);
    TFourPoints movedPoints = P;
    for (TPoint& p : movedPoints) {
        p.X += h;
        p.Y += v;
    }
    Owned<TZuzBlend> blend;
    if (FShadow->GetTransparency() != 0)
        blend = C->BeginBlending(Angle != 0 ? PolygonBounds(movedPoints) : moved, FShadow->GetTransparency());
    C->Brush->SetStyle(bsSolid);
    C->Brush->SetColor(FShadow->GetColor());
    C->Pen->SetStyle(psClear);
    DrawOutline(C, moved, movedPoints, Angle, Z);
    if (blend) C->EndBlending(std::move(blend));
}

void TZuzCustomShape::DrawGradient(TCanvas3D* C, const TRect& R, const TFourPoints& P, double Angle, int Z) {
    if (Angle != 0) {
        if (C->GetSupportsFullRotation())
            FGradient->Draw(C, P, Z);
        else
            FGradient->Draw(static_cast<TZuzCanvas*>(C), P);
    } else if (C->GetSupportsFullRotation()) {
        FGradient->Draw(C, CornersAt(R), Z);
    } else if (FShapeStyle == fosEllipse) {
        // An ellipse's fill stays inside its curve, as its picture does.
        C->ClipEllipse(R, false);
        FGradient->Draw(C, R, 0);
        C->UnClipRectangle();
    } else {
        FGradient->Draw(C, R, FShapeStyle == fosRoundRectangle ? FRoundSize : 0);
    }
    C->Brush->SetStyle(bsClear);
}

void TZuzCustomShape::DrawRectRotated(TCanvas3D* Canvas, TCustomZuzPanel* Panel, const TRect& Rect,
                                      double Angle, int Z) {
    if (FTransparent || !Canvas) return;
    TCanvas3D* const C = Canvas;
    const TRect& R = Rect;
    TFourPoints P{};
    if (Angle != 0) RectToFourPoints(R, Angle, P);

    Owned<TZuzBlend> blend;
    if (FTransparency != 0) blend = C->BeginBlending(Angle != 0 ? PolygonBounds(P) : R, FTransparency);

    if (FShadow && FShadow->GetVisible() && FShadow->GetSize() != 0 && GetBrush()->GetStyle() != bsClear)
        DrawShadow(C, R, P, Angle, Z);

    if (Panel && FPicture && FPicture->HasGraphic()) {
        const bool clip = FShapeStyle != fosRectangle;
        if (FShapeStyle == fosEllipse)
            C->ClipEllipse(R, false);
        else if (FShapeStyle == fosRoundRectangle)
            C->ClipRectangle(R, FRoundSize);
        FPicture->Draw(Panel, R, 0);
        if (clip) C->UnClipRectangle();
        // The frame must not paint over the picture.
        C->Brush->SetStyle(bsClear);
    } else if (FGradient && FGradient->GetVisible()) {
        DrawGradient(C, R, P, Angle, Z);
    } else {
        C->AssignBrush(GetBrush(), FColor, GetBrush()->GetColor());
    }

    C->AssignVisiblePenColor(GetPen(), GetPen()->GetColor());
    DrawOutline(C, R, P, Angle, Z);
    if (Angle == 0) {
        TRect bevel = R;
        if (FShapeStyle != fosRectangle && FBevel != bvNone) {
            // A square bevel would paint over a curved frame and stand out of its corners: the
            // bevel follows the curve just inside the frame instead.
            C->Brush->SetStyle(bsClear);
            C->Pen->SetStyle(psSolid);
            C->Pen->SetWidth(1);
            if (FShapeStyle == fosRoundRectangle) {
                DrawBevel(C, FBevel, bevel, FRoundSize, FBevelWidth);
            } else {
                C->Pen->SetColor(FBevel == bvLowered ? clBtnShadow : clBtnHighlight);
                InflateRect(bevel, -1, -1);
                C->Ellipse(bevel);
                // Along a flat oval's top and bottom the ring just inside shares rows with the
                // frame and would break it into dashes: the frame is laid over it once more.
                C->AssignVisiblePenColor(GetPen(), GetPen()->GetColor());
                C->Brush->SetStyle(bsClear);
                C->Ellipse(R);
            }
        } else {
            DrawBevel(C, FBevel, bevel, 0, FBevelWidth);
        }
    }
    if (blend) {
        // Filters without a picture work on what shows through the box (a frosted glass).
        if (FPicture && !FPicture->HasGraphic() && FPicture->FiltersStored() && blend->GetBitmap())
            FPicture->GetFilters()->ApplyTo(blend->GetBitmap());
        C->EndBlending(std::move(blend));
    }
}

// ---------------------------------------------------------------------------

const ClassInfo& TZuzShape::StaticClass() {
    using S = TZuzShape;
    static const PropInfo props[] = {
        MakeProp<&S::GetBevel, &S::SetBevel>("Bevel").Default(bvNone),
        MakeProp<&S::GetBevelWidth, &S::SetBevelWidth>("BevelWidth").Default(2),
        MakeProp<&S::GetColor, &S::SetColor>("Color").Default(clWhite),
        MakeProp<&S::GetFont, &S::SetFont>("Font"),
        MakeProp<&S::GetGradient, &S::SetGradient>("Gradient").Stored<&S::HasGradient>(),
        MakeProp<&S::GetPicture, &S::SetPicture>("Picture").Stored<&S::HasPicture>(),
        MakeProp<&S::GetRoundSize, &S::SetRoundSize>("RoundSize").Default(16),
        MakeProp<&S::GetShadow, &S::SetShadow>("Shadow").Stored<&S::HasShadow>(),
        MakeProp<&S::GetShapeStyle, &S::SetShapeStyle>("ShapeStyle").Default(fosRectangle),
        MakeProp<&S::GetTransparent, &S::SetTransparent>("Transparent").Stored<&S::IsTransparentStored>(),
        MakeProp<&S::GetVisible, &S::SetVisible>("Visible").Default(true),
    };
    static const ClassInfo ci = MakeClassInfo<TZuzShape>("TZuzShape", &TZuzCustomShape::StaticClass(), props);
    return ci;
}
