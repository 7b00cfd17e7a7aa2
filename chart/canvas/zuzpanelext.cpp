// The extended chart panel: background, back image, zoom settings and the rubber band.
#include "chart/canvas/zuzpanelext.h"

#include "platform/core/filer.h"

#include <algorithm>

template <>
const EnumInfo& EnumInfoOf<TZuzZoomDirection>() {
    static const EnumInfo info{"TZuzZoomDirection", {"tzdHorizontal", "tzdVertical", "tzdBoth"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TPanningMode>() {
    static const EnumInfo info{"TPanningMode", {"pmNone", "pmHorizontal", "pmVertical", "pmBoth"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TZuzBackImageMode>() {
    static const EnumInfo info{"TZuzBackImageMode", {"pbmStretch", "pbmTile", "pbmCenter", "pbmCustom"}};
    return info;
}

// ---------------------------------------------------------------------------
// Zoom settings

const ClassInfo& TZuzZoomBrush::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TZuzZoomBrush::GetColor, &TZuzZoomBrush::SetColor>("Color").Default(clWhite),
        MakeProp<&TZuzZoomBrush::GetStyle, &TZuzZoomBrush::SetStyle>("Style").Default(bsClear),
    };
    static const ClassInfo ci =
        MakeClassInfo<TZuzZoomBrush>("TZuzZoomBrush", &TChartBrush::StaticClass(), props);
    return ci;
}

TZuzZoomBrush::TZuzZoomBrush() {
    SetColor(clWhite);
    SetStyle(bsClear);
}

const ClassInfo& TZuzZoomPen::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TZuzZoomPen::GetColor, &TZuzZoomPen::SetColor>("Color")
            .Stored<&TZuzZoomPen::IsColorStored>(),
    };
    static const ClassInfo ci = MakeClassInfo<TZuzZoomPen>("TZuzZoomPen", &TChartPen::StaticClass(), props);
    return ci;
}

TZuzZoomPen::TZuzZoomPen() {
    SetColor(clWhite);
}

const ClassInfo& TZuzZoom::StaticClass() {
    using Z = TZuzZoom;
    static const PropInfo props[] = {
        MakeProp<&Z::GetAllow, &Z::SetAllow>("Allow").Default(true),
        MakeProp<&Z::GetAnimated, &Z::SetAnimated>("Animated").Default(false),
        MakeProp<&Z::GetAnimatedSteps, &Z::SetAnimatedSteps>("AnimatedSteps").Default(8),
        MakeProp<&Z::GetBrush, &Z::SetBrush>("Brush").Stored<&Z::HasBrush>(),
        MakeProp<&Z::GetDirection, &Z::SetDirection>("Direction").Default(tzdBoth),
        MakeProp<&Z::GetKeyShift, &Z::SetKeyShift>("KeyShift").Default(0),
        MakeProp<&Z::GetMinimumPixels, &Z::SetMinimumPixels>("MinimumPixels").Default(16),
        MakeProp<&Z::GetMouseButton, &Z::SetMouseButton>("MouseButton").Default(mbLeft),
        MakeProp<&Z::GetPen, &Z::SetPen>("Pen").Stored<&Z::HasPen>(),
        MakeProp<&Z::GetUpLeftZooms, &Z::SetUpLeftZooms>("UpLeftZooms").Default(false),
    };
    static const ClassInfo ci = MakeClassInfo<TZuzZoom>("TZuzZoom", &TZoomPanning::StaticClass(), props);
    return ci;
}

TZuzZoom::TZuzZoom() = default;
TZuzZoom::~TZuzZoom() = default;

TZuzZoomBrush* TZuzZoom::GetBrush() {
    if (!FBrush) FBrush = MakeOwned<TZuzZoomBrush>();
    return FBrush.get();
}

void TZuzZoom::SetBrush(TZuzZoomBrush* Value) {
    if (!Value)
        FBrush.reset();
    else if (Value != FBrush.get())
        GetBrush()->Assign(Value);
}

TZuzZoomPen* TZuzZoom::GetPen() {
    if (!FPen) FPen = MakeOwned<TZuzZoomPen>();
    return FPen.get();
}

void TZuzZoom::SetPen(TZuzZoomPen* Value) {
    if (!Value)
        FPen.reset();
    else if (Value != FPen.get())
        GetPen()->Assign(Value);
}

// Each step repaints the chart: no more are made than the editor offers, whatever a file holds.
void TZuzZoom::SetAnimatedSteps(int Value) {
    FAnimatedSteps = std::min(Value, 100);
}

void TZuzZoom::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TZuzZoom*>(Source);
    if (!src || src == this) return;
    FAllow = src->FAllow;
    FAnimated = src->FAnimated;
    FAnimatedSteps = src->FAnimatedSteps;
    SetBrush(src->FBrush.get());
    FDirection = src->FDirection;
    FKeyShift = src->FKeyShift;
    FMouseButton = src->FMouseButton;
    SetPen(src->FPen.get());
}

// ---------------------------------------------------------------------------
// Back image

const ClassInfo& TBackImage::StaticClass() {
    using B = TBackImage;
    static const PropInfo props[] = {
        MakeProp<&B::GetInside, &B::SetInside>("Inside").Default(false),
        MakeProp<&B::GetLeft, &B::SetLeft>("Left").Default(0),
        MakeProp<&B::GetMode, &B::SetMode>("Mode").Default(pbmStretch),
        MakeProp<&B::GetTop, &B::SetTop>("Top").Default(0),
    };
    static const ClassInfo ci = MakeClassInfo<TBackImage>("TBackImage", &TZuzPicture::StaticClass(), props);
    return ci;
}

template <class T>
void TBackImage::Store(T& Field, T Value) {
    if (SetIfChanged(Field, Value)) Changed(this);
}

void TBackImage::SetInside(bool Value) {
    Store(FInside, Value);
}
void TBackImage::SetLeft(int Value) {
    Store(FLeft, Value);
}
void TBackImage::SetMode(TZuzBackImageMode Value) {
    Store(FMode, Value);
}
void TBackImage::SetTop(int Value) {
    Store(FTop, Value);
}

void TBackImage::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TBackImage*>(Source)) {
        FInside = src->FInside;
        FLeft = src->FLeft;
        FMode = src->FMode;
        FTop = src->FTop;
    }
    TZuzPicture::Assign(Source);
}

namespace {

// Where R lands at depth Z, corner by corner; in a flat view its top is one pixel lower.
TRect Rect3D(TCanvas3D* C, const TRect& R, int Z) {
    const TPoint a = C->Calculate3DPosition(R.Left, R.Top, Z);
    const TPoint b = C->Calculate3DPosition(R.Right, R.Bottom, Z);
    TRect out(a.X, a.Y, b.X, b.Y);
    if (!C->GetProjection().Is3D()) ++out.Top;
    return out;
}

} // namespace

void TBackImage::Draw(TCustomZuzPanel* Panel, const TRect& Rect, int Z) {
    TGraphic* const G = Filtered();
    if (!G || G->GetEmpty()) return;
    TCanvas3D* const C = Panel->GetCanvas();
    const bool turned = C->GetProjection().Is3D() && !C->IsOrthogonal();
    TRect R = Rect;
    if (FMode == pbmStretch) {
        if (Z < 1)
            C->StretchDraw(R, G);
        else if (turned)
            C->StretchDraw(R, G, Z, cpZ);
        else
            C->StretchDraw(Rect3D(C, R, Z), G);
        return;
    }
    const bool clip = Panel->CanClip();
    if (clip) {
        if (Z == 0)
            C->ClipRectangle(R);
        else
            C->ClipCube(R, 0, Panel->Width3D);
    }
    if (Z > 0 && !turned) R = Rect3D(C, R, Z);
    const int w = G->GetWidth(), h = G->GetHeight();
    const auto place = [&](int X, int Y) {
        if (Z >= 1 && turned)
            C->StretchDraw(TRect(X, Y, X + w, Y + h), G, Z, cpZ);
        else
            C->Draw(X, Y, G);
    };
    if (FMode == pbmTile) {
        if (w >= 1 && h >= 1)
            for (int y = R.Top; y < R.Bottom; y += h)
                for (int x = R.Left; x < R.Right; x += w) place(x, y);
    } else {
        if (auto* extended = dynamic_cast<TCustomZuzPanelExtended*>(Panel)) extended->FillPanelRect(R);
        if (FMode == pbmCustom)
            place(ZuzCoordinate(Int64{R.Left} + FLeft), ZuzCoordinate(Int64{R.Top} + FTop));
        else {
            InflateRect(R, (w - R.Width()) / 2, (h - R.Height()) / 2);
            place(R.Left, R.Top);
        }
    }
    if (clip) C->UnClipRectangle();
}

// ---------------------------------------------------------------------------
// The extended panel

const ClassInfo& TCustomZuzPanelExtended::StaticClass() {
    using P = TCustomZuzPanelExtended;
    static const PropInfo props[] = {
        MakeProp<&P::GetAllowPanning, &P::SetAllowPanning>("AllowPanning").Default(pmBoth),
        MakeProp<&P::GetBackImage, &P::SetBackImage>("BackImage").Stored<&P::HasBackImageObject>(),
        MakeProp<&P::GetBackImageInside, &P::SetBackImageInside>("BackImageInside").Default(false),
        MakeProp<&P::GetBackImageMode, &P::SetBackImageMode>("BackImageMode").Default(pbmStretch),
        MakeProp<&P::GetBackImageTransp, &P::SetBackImageTransp>("BackImageTransp").Default(false),
        MakeProp<&P::GetGradient, &P::SetGradient>("Gradient").Stored<&P::HasGradient>(),
        MakeProp<&P::GetZoom, &P::SetZoom>("Zoom"),
        MakeProp<&P::OnAfterDraw>("OnAfterDraw"),
        MakeProp<&P::OnScroll>("OnScroll"),
        MakeProp<&P::OnUndoZoom>("OnUndoZoom"),
        MakeProp<&P::OnZoom>("OnZoom"),
    };
    static const ClassInfo ci = MakeClassInfo<TCustomZuzPanelExtended>(
        "TCustomZuzPanelExtended", &TCustomZuzPanel::StaticClass(), props);
    return ci;
}

TCustomZuzPanelExtended::TCustomZuzPanelExtended(TComponent* AOwner)
    : TCustomZuzPanel(AOwner), FZoom(MakeOwned<TZuzZoom>()) {}

TCustomZuzPanelExtended::~TCustomZuzPanelExtended() = default;

TZuzGradient* TCustomZuzPanelExtended::GetGradient() {
    if (!FGradient)
        FGradient = MakeOwned<TZuzGradient>(TNotifyEvent([this](TObject* s) { CanvasChanged(s); }));
    return FGradient.get();
}

void TCustomZuzPanelExtended::SetGradient(TZuzGradient* Value) {
    if (!Value) {
        FGradient.reset();
        Invalidate();
    } else if (Value != FGradient.get()) {
        GetGradient()->Assign(Value);
        Invalidate();
    }
}

TBackImage* TCustomZuzPanelExtended::GetBackImage() {
    if (!FBackImage) {
        FBackImage = MakeOwned<TBackImage>();
        FBackImage->OnChange = TNotifyEvent([this](TObject* s) { CanvasChanged(s); });
    }
    return FBackImage.get();
}

void TCustomZuzPanelExtended::SetBackImage(TBackImage* Value) {
    if (!Value) {
        FBackImage.reset();
        Invalidate();
    } else if (Value != FBackImage.get()) {
        GetBackImage()->Assign(Value);
    }
}

bool TCustomZuzPanelExtended::GetBackImageTransp() const {
    return HasBackImage() && FBackImage->GetGraphic()->GetTransparent();
}

void TCustomZuzPanelExtended::SetBackImageTransp(bool Value) {
    if (HasBackImage()) FBackImage->GetGraphic()->SetTransparent(Value);
}

void TCustomZuzPanelExtended::UndoZoom() {
    if (OnUndoZoom) OnUndoZoom(this);
    Invalidate();
    Zoomed = false;
}

void TCustomZuzPanelExtended::DrawBitmap(const TRect& Rect, int Z) {
    if (HasBackImage()) FBackImage->Draw(this, Rect, Z);
}

void TCustomZuzPanelExtended::PanelPaint(const TRect& UserRect) {
    TCanvas3D* const C = GetCanvas();
    const TFrontPlane plane(C);
    TRect R = UserRect;
    TZuzShadow* const shadow = GetShadow();
    // A panel printed without its background casts no shadow either: the paper is behind it.
    const bool painted = !GetPrinting() || PrintZuzPanel;
    const auto fillBehind = [&] {
        const TColor behind = GetParent() ? GetParent()->GetColor() : GetColor();
        C->Brush->SetStyle(bsSolid);
        C->Brush->SetColor(static_cast<TColor>(ColorToRGB(behind)));
        C->Pen->SetStyle(psClear);
        if (painted) C->FillRect(R);
    };
    if (shadow->GetVisible() && shadow->GetSize() != 0) {
        // The corner the shadow leaves free shows what is behind the panel.
        fillBehind();
        const int h = shadow->GetHorizSize(), v = shadow->GetVertSize();
        if (h >= 1)
            R.Right -= 2 * h + 1;
        else
            R.Left += 1 - 2 * h;
        if (v >= 1)
            R.Bottom -= 2 * v + 1;
        else
            R.Top += 1 - 2 * v;
        shadow->FullSmooth = GetBorderRound() != 0;
        if (painted) shadow->Draw(C, R, 0, GetBorderRound());
        if (h >= 1)
            ++R.Right;
        else
            --R.Left;
        if (v >= 1)
            ++R.Bottom;
        else
            --R.Top;
    } else if (GetBorderRound() != 0) {
        // So do the corners a rounded border leaves free, not what an earlier drawing left there.
        fillBehind();
    }
    FillPanelRect(R);
    if (HasBackImage() && !FBackImage->GetInside()) DrawBitmap(R, 0);
    DrawPanelBevels(R);
}

void TCustomZuzPanelExtended::FillPanelRect(const TRect& Rect) {
    TCanvas3D* const C = GetCanvas();
    const TFrontPlane plane(C);
    if (FGradient && FGradient->GetVisible())
        FGradient->Draw(C, Rect, GetBorderRound());
    else
        PaintBack(Rect, GetColor(), GetBorderRound());
}

void TCustomZuzPanelExtended::PaintBack(const TRect& Rect, TColor Colour, int Round) {
    if (GetPrinting() && !PrintZuzPanel) return;
    if (Colour == clNone) return;
    TCanvas3D* const C = GetCanvas();
    C->Brush->SetStyle(bsSolid);
    C->Brush->SetColor(Colour);
    C->Pen->SetStyle(psClear);
    if (Round == 0)
        C->EraseBackground(Rect);
    else
        C->RoundRect(Rect, Round, Round);
}

void TCustomZuzPanelExtended::DrawZoomRectangle() {
    TCanvas3D* const C = GetCanvas();
    // Xor with the background's complement: the band shows in its own colour on the background,
    // and a second draw in the same place takes it away again. A band of the background's own
    // colour (the white default on a white chart) would change no pixel: it inverts them instead.
    const auto back = static_cast<std::uint32_t>(ColorToRGB(GetBackColor()));
    const auto onBack = [back](TColor Colour) {
        const auto rgb = static_cast<std::uint32_t>(ColorToRGB(Colour));
        return rgb == back ? clBlack : static_cast<TColor>(rgb ^ (0xFFFFFFu - back));
    };
    TZuzZoomBrush* const brush = FZoom->HasBrush() ? FZoom->GetBrush() : nullptr;
    if (brush)
        SetBrushCanvas(onBack(brush->GetColor()), brush, static_cast<TColor>(back));
    else
        C->Brush->SetStyle(bsClear);
    TZuzZoomPen* const pen = FZoom->GetPen();
    pen->SetMode(pmNotXor);
    C->AssignVisiblePenColor(pen, onBack(pen->GetColor()));
    if (!brush || brush->GetStyle() == bsClear) C->SetBackMode(cbmTransparent);
    C->Rectangle(FZoom->X0, FZoom->Y0, FZoom->X1, FZoom->Y1);
}

void TCustomZuzPanelExtended::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TCustomZuzPanelExtended*>(Source)) {
        SetBackImage(src->FBackImage.get());
        SetGradient(src->FGradient.get());
        FAllowPanning = src->FAllowPanning;
        FZoom->Assign(src->FZoom.get());
    }
    TCustomZuzPanel::Assign(Source);
}

void TCustomZuzPanelExtended::DefineProperties(TFiler* Filer) {
    TCustomZuzPanel::DefineProperties(Filer);
    // Older charts kept the zoom settings on the chart; they are read into Zoom and never
    // written.
    Filer->DefineProperty(
        "AllowZoom", [this](TReader* Reader) { SetAllowZoom(Reader->ReadBoolean()); }, nullptr, false);
    Filer->DefineProperty(
        "AnimatedZoom", [this](TReader* Reader) { SetAnimatedZoom(Reader->ReadBoolean()); }, nullptr, false);
    Filer->DefineProperty(
        "AnimatedZoomSteps", [this](TReader* Reader) { SetAnimatedZoomSteps(Reader->ReadInteger()); },
        nullptr, false);
    const TRect& m = PrintMargins;
    Filer->DefineProperty(
        "PrintMargins", [this](TReader* Reader) { ReadPrintMargins(Reader); },
        [this](TWriter* Writer) { WritePrintMargins(Writer); },
        m.Left != 15 || m.Top != 15 || m.Right != 15 || m.Bottom != 15);
}

void TCustomZuzPanelExtended::ReadPrintMargins(TReader* Reader) {
    // A list of another length than four keeps the margins it does not give.
    std::array<int, 4> v{PrintMargins.Left, PrintMargins.Top, PrintMargins.Right, PrintMargins.Bottom};
    std::size_t i = 0;
    Reader->ReadListBegin();
    while (!Reader->EndOfList()) {
        // A margin is a percentage of the page: a file's number is held to one.
        const int value = std::clamp(Reader->ReadInteger(), 0, 100);
        if (i < v.size()) v[i++] = value;
    }
    Reader->ReadListEnd();
    PrintMargins = TRect(v[0], v[1], v[2], v[3]);
}

void TCustomZuzPanelExtended::WritePrintMargins(TWriter* Writer) {
    Writer->WriteListBegin();
    for (const int value : {PrintMargins.Left, PrintMargins.Top, PrintMargins.Right, PrintMargins.Bottom})
        Writer->WriteInteger(value);
    Writer->WriteListEnd();
}
