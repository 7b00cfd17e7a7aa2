#include "platform/gui/buttons.h"
#include "platform/gui/guiclasses.h"

#include "platform/gui/forms.h"
#include "platform/gui/qtbridge.h"
#include "platform/gui/stdctrls_internal.h"
#include "platform/win32/gdiqt.h"

#include <QIcon>
#include <QPixmap>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QToolButton>
#include <algorithm>

using namespace gui_detail;

template <>
const EnumInfo& EnumInfoOf<TBitBtnKind>() {
    static const EnumInfo info{"TBitBtnKind",
                               {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose",
                                "bkAbort", "bkRetry", "bkIgnore", "bkAll"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TButtonLayout>() {
    static const EnumInfo info{"TButtonLayout",
                               {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};
    return info;
}

const ClassInfo& TBitBtn::StaticClass() {
    using B = TBitBtn;
    static const PropInfo props[] = {
        MakeProp<&B::GetKind, &B::SetKind>("Kind").Default(bkCustom),
        MakeProp<&B::GetLayout, &B::SetLayout>("Layout").Default(blGlyphLeft),
        MakeProp<&B::GetMargin, &B::SetMargin>("Margin").Default(-1),
        MakeProp<&B::GetNumGlyphs, &B::SetNumGlyphs>("NumGlyphs").Default(1),
        MakeProp<&B::GetSpacing, &B::SetSpacing>("Spacing").Default(4),
    };
    static const ClassInfo ci = MakeClassInfo<TBitBtn>("TBitBtn", &TButton::StaticClass(), props);
    return ci;
}

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner) {}

void TBitBtn::SetKind(TBitBtnKind Value) {
    if (FKind == Value) return;
    FKind = Value;
    if (Value == bkCustom) return;
    struct Stock {
        const char16_t* caption;
        TModalResult result;
        bool isDefault;
        bool isCancel;
    };
    static constexpr Stock stock[] = {
        {u"", mrNone, false, false},        {u"OK", mrOk, true, false},
        {u"Cancel", mrCancel, false, true}, {u"&Help", mrNone, false, false},
        {u"&Yes", mrYes, true, false},      {u"&No", mrNo, false, true},
        {u"&Close", mrNone, false, false},  {u"Abort", mrAbort, false, false},
        {u"&Retry", mrRetry, false, false}, {u"&Ignore", mrIgnore, false, false},
        {u"&All", mrAll, false, false},
    };
    const Stock& s = stock[Value];
    // A caption read from a stream wins over the kind's.
    if (!GetComponentState().Contains(csLoading) || GetCaption().empty()) SetCaption(s.caption);
    SetModalResult(s.result);
    if (s.isDefault) SetDefault(true);
    if (s.isCancel) SetCancel(true);
}

void TBitBtn::Click() {
    if (FKind == bkClose) {
        if (TCustomForm* form = GetParentForm(this)) {
            form->Close();
            return;
        }
    }
    TButton::Click();
}

void RegisterButtonsClasses() {
    RegisterClasses({&TBitBtn::StaticClass(), &TSpeedButton::StaticClass()});
}

// ---------------------------------------------------------------------------
// TSpeedButton

namespace {

class OverlaidToolButton : public QToolButton {
public:
    explicit OverlaidToolButton(TSpeedButton* Owner) : owner_(Owner) {}

protected:
    void paintEvent(QPaintEvent* e) override {
        if (!owner_->HasPaintOver()) {
            QToolButton::paintEvent(e);
            return;
        }
        PaintOverlaid(
            this,
            [this](QStylePainter& p) {
                QStyleOptionToolButton option;
                initStyleOption(&option);
                p.drawComplexControl(QStyle::CC_ToolButton, option);
            },
            [this](TCanvas* c) { Guarded(owner_, [&] { owner_->PaintOverlay(c); }); });
    }

private:
    TSpeedButton* owner_;
};

} // namespace

const ClassInfo& TSpeedButton::StaticClass() {
    using B = TSpeedButton;
    static const PropInfo props[] = {
        MakeProp<&B::GetAllowAllUp, &B::SetAllowAllUp>("AllowAllUp").Default(false),
        MakeProp<&B::GetCaption, &B::SetCaption>("Caption"),
        MakeProp<&B::GetDown, &B::SetDown>("Down").Default(false),
        MakeProp<&B::GetFlat, &B::SetFlat>("Flat").Default(false),
        MakeProp<&B::GetGlyph, &B::SetGlyph>("Glyph"),
        MakeProp<&B::GetGroupIndex, &B::SetGroupIndex>("GroupIndex").Default(0),
        MakeProp<&B::GetLayout, &B::SetLayout>("Layout").Default(blGlyphLeft),
        MakeProp<&B::GetMargin, &B::SetMargin>("Margin").Default(-1),
        MakeProp<&B::GetNumGlyphs, &B::SetNumGlyphs>("NumGlyphs").Default(1),
        MakeProp<&B::GetSpacing, &B::SetSpacing>("Spacing").Default(4),
    };
    static const ClassInfo ci =
        MakeClassInfo<TSpeedButton>("TSpeedButton", &TGraphicControl::StaticClass(), props);
    return ci;
}

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TGraphicControl(AOwner, new OverlaidToolButton(this)), FGlyph(MakeOwned<TBitmap>()) {
    FButton = static_cast<QToolButton*>(Widget());
    FButton->setFocusPolicy(Qt::NoFocus);
    FButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    SetReportsClicks(false);
    SetBounds(0, 0, 23, 22);
    FGlyph->OnChange.Bind([this](TObject*) { UpdateLook(); });
    QObject::connect(FButton, &QToolButton::clicked, [this](bool) { Guarded(this, [this] { Click(); }); });
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetGlyph(TBitmap* Value) {
    FGlyph->Assign(Value);
    UpdateLook();
}

void TSpeedButton::SetNumGlyphs(int Value) {
    FNumGlyphs = std::clamp(Value, 1, 4);
    UpdateLook();
}

void TSpeedButton::SetDown(bool Value) {
    if (FGroupIndex == 0) Value = false;
    if (Value == FDown) return;
    FDown = Value;
    if (Value)
        if (TWinControl* parent = GetParent())
            for (int i = 0; i < parent->GetControlCount(); ++i)
                if (auto* other = dynamic_cast<TSpeedButton*>(parent->GetControl(i));
                    other && other != this && other->FGroupIndex == FGroupIndex)
                    other->SetDown(false);
    UpdateLook();
}

void TSpeedButton::SetFlat(bool Value) {
    FFlat = Value;
    FButton->setAutoRaise(Value);
}

void TSpeedButton::SetLayout(TButtonLayout Value) {
    FLayout = Value;
    FButton->setToolButtonStyle(Value == blGlyphTop || Value == blGlyphBottom ? Qt::ToolButtonTextUnderIcon
                                                                              : Qt::ToolButtonTextBesideIcon);
}

void TSpeedButton::SetText(const String& Value) {
    TGraphicControl::SetText(Value);
    UpdateLook();
}

Owned<TBitmap> TSpeedButton::GlyphImage(int Index) const {
    auto out = MakeOwned<TBitmap>();
    out->SetPixelFormat(pf24bit);
    if (FGlyph->GetEmpty()) return out;
    const int w = FGlyph->GetWidth() / FNumGlyphs, h = FGlyph->GetHeight();
    const int from = Index < FNumGlyphs ? Index : 0;
    out->SetSize(w, h);
    out->GetCanvas()->CopyRect(TRect(0, 0, w, h), FGlyph->GetCanvas(), TRect(from * w, 0, from * w + w, h));
    if (Index == 1 && FNumGlyphs < 2) {
        // No disabled image of its own: the up image in gray, its transparent colour kept.
        const Byte* key = out->ScanLine(h - 1);
        const Byte kb = key[0], kg = key[1], kr = key[2];
        for (int y = 0; y < h; ++y) {
            Byte* row = out->ScanLine(y);
            for (int x = 0; x < w; ++x) {
                Byte* p = row + 3 * x;
                if (p[0] == kb && p[1] == kg && p[2] == kr) continue;
                const int lum = (p[2] * 30 + p[1] * 59 + p[0] * 11) / 100;
                const Byte g = static_cast<Byte>(128 + lum / 2);
                p[0] = p[1] = p[2] = g;
            }
        }
    }
    return out;
}

namespace {
// A glyph image with its bottom-left pixel's colour made transparent.
QPixmap PixmapOf(TBitmap* Image) {
    QImage img = BitmapImage(Image->GetHandle()).convertToFormat(QImage::Format_ARGB32);
    if (img.isNull()) return {};
    const QRgb key = img.pixel(0, img.height() - 1);
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (row[x] == key) row[x] = qRgba(0, 0, 0, 0);
    }
    return QPixmap::fromImage(img);
}
} // namespace

void TSpeedButton::UpdateLook() {
    QIcon icon;
    if (!FGlyph->GetEmpty()) {
        icon.addPixmap(PixmapOf(GlyphImage(0).get()), QIcon::Normal, QIcon::Off);
        icon.addPixmap(PixmapOf(GlyphImage(1).get()), QIcon::Disabled, QIcon::Off);
        icon.addPixmap(PixmapOf(GlyphImage(2).get()), QIcon::Active, QIcon::Off);
        icon.addPixmap(PixmapOf(GlyphImage(FNumGlyphs >= 4 ? 3 : 0).get()), QIcon::Normal, QIcon::On);
        FButton->setIconSize(QSize(FGlyph->GetWidth() / FNumGlyphs, FGlyph->GetHeight()));
    }
    FButton->setIcon(icon);
    FButton->setText(ToQString(GetText()));
    FButton->setToolButtonStyle(GetText().empty() ? Qt::ToolButtonIconOnly
                                : FLayout == blGlyphTop || FLayout == blGlyphBottom
                                    ? Qt::ToolButtonTextUnderIcon
                                    : Qt::ToolButtonTextBesideIcon);
    FButton->setCheckable(FGroupIndex != 0);
    FButton->setChecked(FDown);
    FButton->setEnabled(GetEnabled());
}

void TSpeedButton::EnabledChanged() {
    UpdateLook();
}

void TSpeedButton::Click() {
    if (FGroupIndex != 0) {
        if (!FDown)
            SetDown(true);
        else if (FAllowAllUp)
            SetDown(false);
        else
            UpdateLook(); // a down button stays down
    }
    TGraphicControl::Click();
}
