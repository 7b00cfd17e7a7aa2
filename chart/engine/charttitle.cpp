// The chart's titles and feet: settings, layout, drawing and hit test.
#include "chart/engine/charttitle.h"

#include "chart/canvas/zuzshadow.h"
#include "chart/engine/chart.h"
#include "platform/core/lists.h"

#include <algorithm>

const ClassInfo& TChartTitle::StaticClass() {
    using C = TChartTitle;
    static const PropInfo props[] = {
        MakeProp<&C::GetAdjustFrame, &C::SetAdjustFrame>("AdjustFrame").Default(true),
        MakeProp<&C::GetAlignment, &C::SetAlignment>("Alignment").Default(taCenter),
        MakeProp<&C::GetBevel, &C::SetBevel>("Bevel").Default(bvNone),
        MakeProp<&C::GetBevelWidth, &C::SetBevelWidth>("BevelWidth").Default(2),
        MakeProp<&C::GetBrush, &C::SetBrush>("Brush"),
        MakeProp<&C::GetColor, &C::SetColor>("Color").Default(clWhite),
        MakeProp<&C::GetCustomPosition, &C::SetCustomPosition>("CustomPosition").Stored<&C::IsCustomStored>(),
        MakeProp<&C::GetFont, &C::SetFont>("Font"),
        MakeProp<&C::GetFrame, &C::SetFrame>("Frame"),
        MakeProp<&C::GetGradient, &C::SetGradient>("Gradient").Stored<&C::HasGradient>(),
        MakeProp<&C::GetLeft, &C::SetLeft>("Left").Stored<&C::IsCustomStored>(),
        MakeProp<&C::GetPicture, &C::SetPicture>("Picture").Stored<&C::HasPicture>(),
        // The shape editor sets it: a file keeps it.
        MakeProp<&C::GetRoundSize, &C::SetRoundSize>("RoundSize").Default(16),
        MakeProp<&C::GetShadow, &C::SetShadow>("Shadow").Stored<&C::HasShadow>(),
        MakeProp<&C::GetShapeStyle, &C::SetShapeStyle>("ShapeStyle").Default(fosRectangle),
        MakeProp<&C::GetText, &C::SetText>("Text"),
        MakeProp<&C::GetTextFormat, &C::SetTextFormat>("TextFormat").Default(ttfNormal),
        MakeProp<&C::GetTop, &C::SetTop>("Top").Stored<&C::IsCustomStored>(),
        MakeProp<&C::GetTransparency, &C::SetTransparency>("Transparency").Default(0),
        MakeProp<&C::GetTransparent, &C::SetTransparent>("Transparent").Stored<&C::IsTransparentStored>(),
        MakeProp<&C::GetVertMargin, &C::SetVertMargin>("VertMargin").Default(5),
        MakeProp<&C::GetVisible, &C::SetVisible>("Visible").Default(true),
    };
    static const ClassInfo ci =
        MakeClassInfo<C>("TChartTitle", &TZuzCustomShapePosition::StaticClass(), props);
    return ci;
}

TChartTitle::TChartTitle(TCustomZuzPanel* Chart)
    : TZuzCustomShapePosition(Chart), FText(MakeOwned<TStringList>()) {
    FText->OnChange = TNotifyEvent([this](TObject*) { Repaint(); });
    SetTransparent(true);
    DefaultTransparent = true;
    // The colour a title starts with is not stored, so a title made black stays black.
    GetFont()->SetColor(clBlue);
    GetFont()->DefaultColor = clBlue;
}

TChartTitle::~TChartTitle() = default;

void TChartTitle::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TChartTitle*>(Source)) {
        FAdjustFrame = src->FAdjustFrame;
        FAlignment = src->FAlignment;
        FText->Assign(src->FText.get());
        FVertMargin = src->FVertMargin;
    }
    TZuzCustomShapePosition::Assign(Source);
}

void TChartTitle::SetAdjustFrame(bool Value) {
    if (FAdjustFrame == Value) return;
    FAdjustFrame = Value;
    Repaint();
}

void TChartTitle::SetAlignment(TAlignment Value) {
    if (FAlignment == Value) return;
    FAlignment = Value;
    Repaint();
}

TStrings* TChartTitle::GetText() const {
    return FText.get();
}

void TChartTitle::SetText(TStrings* Value) {
    FText->Assign(Value);
}

// The margin is summed with the title's place: a file's number is held to the editor's range.
void TChartTitle::SetVertMargin(int Value) {
    Value = std::clamp(Value, -500, 500);
    if (FVertMargin == Value) return;
    FVertMargin = Value;
    Repaint();
}

String TChartTitle::GetCaption() const {
    return FText->GetCount() > 0 ? FText->GetStrings(0) : String();
}

void TChartTitle::SetCaption(const String& Value) {
    FText->BeginUpdate();
    FText->Clear();
    if (!Value.empty()) FText->Add(Value);
    FText->EndUpdate();
}

bool TChartTitle::Clicked(int X, int Y) const {
    const TRect& r = ShapeBounds;
    return GetVisible() && X >= r.Left && X <= r.Right && Y >= r.Top && Y <= r.Bottom;
}

void TChartTitle::DrawTitle() {
    const int lines = FText->GetCount();
    if (!GetVisible() || lines == 0) return;
    auto* ch = static_cast<TCustomChart*>(GetParentChart());
    TCanvas3D* c = ch->GetCanvas();
    int border = 0;
    if (GetBevel() != bvNone)
        border = GetBevelWidth();
    else if (GetPen()->GetVisible() && GetPen()->GetColor() != clDefault)
        border = GetPen()->GetWidth();
    const bool custom = GetCustomPosition();
    TRect r = custom ? ShapeBounds : ch->GetChartRect();
    // Placed by a file before any drawing measured its frame, a title whose frame does not fit its
    // text would have no width to write in: it spans what it spans unplaced.
    if (custom && !FAdjustFrame && r.Right <= r.Left)
        r.Right = r.Left + ch->GetChartRect().Width() + 2 * border;
    if (!custom && FOnTop) r.Top += border;
    c->AssignFont(GetFont());
    const int h = c->TextHeight(u"W"), w = c->TextWidth(u"W");
    if (!FOnTop && !custom)
        r.Top = r.Bottom - lines * h;
    else
        r.Bottom = r.Top + lines * h;
    // A placed frame keeps its left and top, and holds its border on both sides of the lines as
    // an unplaced one does.
    if (custom)
        r.Bottom += 2 * border;
    else
        InflateRect(r, border, border);
    if (FAdjustFrame) {
        int widest = 0;
        for (int i = 0; i < lines; ++i) widest = std::max(widest, c->TextWidth(FText->GetStrings(i)));
        const int total = widest + w + border;
        // A placed title's frame keeps its left, the place a file saves and a reader sets:
        // taken from a right edge of a frame not yet measured, or centred on its own middle
        // (whose halves round towards zero left of the panel), a drawing would move it.
        if (custom || FAlignment == taLeftJustify) {
            r.Right = r.Left + total;
        } else if (FAlignment == taRightJustify) {
            r.Left = r.Right - total;
        } else {
            const int middle = (r.Left + r.Right) / 2;
            r.Left = middle - total / 2;
            r.Right = r.Left + total;
        }
    }
    ShapeBounds = r;

    // A text wider than the panel stays inside it.
    TRect clip = r;
    const int around = (HasShadow() && GetShadow()->GetVisible() ? GetShadow()->GetSize() : 0) + 1;
    InflateRect(clip, around, around);
    if (!IntersectRect(clip, clip, ch->GetChartBounds())) clip = TRect();
    c->ClipRectangle(clip);
    try {
        Draw();
        c->SetBackMode(cbmTransparent);
        c->AssignFont(GetFont());
        // Lines are written from their left: a title placed by hand is drawn after the axes,
        // whose labels leave the canvas aligned otherwise.
        c->SetTextAlign(TA_LEFT);
        if (GetTextFormat() == ttfHtml) {
            const int y = FOnTop ? r.Top + border : r.Bottom - h - border;
            c->TextOut(r.Left + w / 2, y, FText->GetText(), true);
        } else {
            for (int i = 0; i < lines; ++i) {
                const String& line = FText->GetStrings(i);
                const int lw = c->TextWidth(line);
                const int y = FOnTop ? r.Top + border + i * h : r.Bottom - h - ((lines - 1 - i) * h + border);
                int x = r.Left + w / 2;
                if (FAlignment == taRightJustify)
                    x = r.Right - lw - w / 2;
                else if (FAlignment == taCenter)
                    x = (r.Left + r.Right) / 2 - lw / 2;
                c->TextOut(x, y, line);
            }
        }
    } catch (...) {
        c->UnClipRectangle();
        throw;
    }
    c->UnClipRectangle();

    if (custom || ch->CustomChartRect) return;
    int m = FVertMargin + border;
    if (!GetTransparent() && HasShadow() && GetShadow()->GetVisible()) m += GetShadow()->GetVertSize();
    TRect chart = ch->GetChartRect();
    if (FOnTop)
        chart.Top = r.Bottom + m;
    else
        chart.Bottom = r.Bottom - m - lines * h;
    ch->SetChartRect(chart);
    ch->ReCalcWidthHeight();
}

const ClassInfo& TChartFootTitle::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TChartFootTitle>("TChartFootTitle", &TChartTitle::StaticClass());
    return ci;
}

TChartFootTitle::TChartFootTitle(TCustomZuzPanel* Chart) : TChartTitle(Chart) {
    FOnTop = false;
    GetFont()->SetColor(clRed);
    GetFont()->SetStyle(TFontStyles{fsItalic});
    GetFont()->DefaultColor = clRed;
    GetFont()->DefaultStyle = TFontStyles{fsItalic};
}
