#include "platform/gui/extctrls.h"
#include "platform/gui/guiclasses.h"

#include "platform/core/sysutils.h"
#include "platform/gui/forms.h"
#include "platform/gui/qtbridge.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>
#include <QStyle>

#include <algorithm>
#include <functional>

using namespace gui_detail;

template <>
const EnumInfo& EnumInfoOf<TBevelCut>() {
    static const EnumInfo info{"TBevelCut", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}};
    return info;
}

// ---------------------------------------------------------------------------
// TCustomPanel

const ClassInfo& TCustomPanel::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TCustomPanel>("TCustomPanel", &TCustomControl::StaticClass());
    return ci;
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    Widget()->setFocusPolicy(Qt::NoFocus);
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::Changed() {
    Invalidate();
    Realign();
}

void TCustomPanel::SetText(const String& Value) {
    if (Value == GetText()) return;
    TCustomControl::SetText(Value);
    Invalidate();
}
void TCustomPanel::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Invalidate();
}
void TCustomPanel::SetBevelInner(TBevelCut Value) {
    FBevelInner = Value;
    Changed();
}
void TCustomPanel::SetBevelOuter(TBevelCut Value) {
    FBevelOuter = Value;
    Changed();
}
// A frame narrows what the panel holds: no wider than a hundred pixels, whatever a file says.
void TCustomPanel::SetBevelWidth(int Value) {
    FBevelWidth = std::clamp(Value, 1, 100);
    Changed();
}
void TCustomPanel::SetBorderWidth(int Value) {
    FBorderWidth = std::clamp(Value, 0, 100);
    Changed();
}
void TCustomPanel::SetBorderStyle(TBorderStyle Value) {
    FBorderStyle = Value;
    Changed();
}

void TCustomPanel::FontChanged() {
    TCustomControl::FontChanged();
    Invalidate();
}

void TCustomPanel::ApplyColor() {
    Invalidate();
}

TRect TCustomPanel::AdjustClientRect() const {
    TRect r = GetClientRect();
    if (FBorderStyle == bsSingle) InflateRect(r, -1, -1);
    InflateRect(r, -FBorderWidth, -FBorderWidth);
    int bevel = 0;
    if (FBevelOuter != bvNone) bevel += FBevelWidth;
    if (FBevelInner != bvNone) bevel += FBevelWidth;
    InflateRect(r, -bevel, -bevel);
    return r;
}

namespace {
// A 3D frame: the top and left edges in one colour, the bottom and right in the other.
void Frame3D(QPainter& p, QRect& r, const QColor& topLeft, const QColor& bottomRight, int width) {
    for (int i = 0; i < width; ++i) {
        p.setPen(topLeft);
        p.drawLine(r.left(), r.top(), r.right(), r.top());
        p.drawLine(r.left(), r.top(), r.left(), r.bottom());
        p.setPen(bottomRight);
        p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        p.drawLine(r.right(), r.top(), r.right(), r.bottom());
        r.adjust(1, 1, -1, -1);
    }
}
} // namespace

void TCustomPanel::Paint() {
    QImage* image = BackImage();
    QPainter p(image);
    QRect r(0, 0, FWidth, FHeight);
    const QColor face =
        GetColor() == clBtnFace ? QApplication::palette().color(QPalette::Window) : ToQColor(GetColor());
    p.fillRect(r, face);
    const QColor light = ToQColor(clBtnHighlight);
    const QColor shadow = ToQColor(clBtnShadow);
    if (FBorderStyle == bsSingle) Frame3D(p, r, ToQColor(clWindowFrame), ToQColor(clWindowFrame), 1);
    if (FBevelOuter == bvRaised) Frame3D(p, r, light, shadow, FBevelWidth);
    if (FBevelOuter == bvLowered) Frame3D(p, r, shadow, light, FBevelWidth);
    r.adjust(FBorderWidth, FBorderWidth, -FBorderWidth, -FBorderWidth);
    if (FBevelInner == bvRaised) Frame3D(p, r, light, shadow, FBevelWidth);
    if (FBevelInner == bvLowered) Frame3D(p, r, shadow, light, FBevelWidth);
    const String caption = GetText();
    if (caption.empty()) return;
    p.setFont(ToQFont(*GetFont()));
    p.setPen(GetFont()->GetColor() == clWindowText ? QApplication::palette().color(QPalette::WindowText)
                                                   : ToQColor(GetFont()->GetColor()));
    Qt::Alignment h = Qt::AlignHCenter;
    if (FAlignment == taLeftJustify) h = Qt::AlignLeft;
    if (FAlignment == taRightJustify) h = Qt::AlignRight;
    p.drawText(r, static_cast<int>(h | Qt::AlignVCenter), ToQString(caption));
}

const ClassInfo& TPanel::StaticClass() {
    using P = TCustomPanel;
    static const PropInfo props[] = {
        MakeProp<&P::GetAlignment, &P::SetAlignment>("Alignment").Default(taCenter),
        MakeProp<&P::GetBevelInner, &P::SetBevelInner>("BevelInner").Default(bvNone),
        MakeProp<&P::GetBevelOuter, &P::SetBevelOuter>("BevelOuter").Default(bvRaised),
        MakeProp<&P::GetBevelWidth, &P::SetBevelWidth>("BevelWidth").Default(1),
        MakeProp<&P::GetBorderStyle, &P::SetBorderStyle>("BorderStyle").Default(bsNone),
        MakeProp<&P::GetBorderWidth, &P::SetBorderWidth>("BorderWidth").Default(0),
        MakeProp<&P::GetCaption, &P::SetCaption>("Caption").Stored<&P::IsCaptionStored>(),
        MakeProp<&P::GetFullRepaint, &P::SetFullRepaint>("FullRepaint").Default(true),
        MakeProp<&P::GetParentBackground, &P::SetParentBackground>("ParentBackground").Default(true),
    };
    static const ClassInfo ci = MakeClassInfo<TPanel>("TPanel", &TCustomPanel::StaticClass(), props);
    return ci;
}

// ---------------------------------------------------------------------------
// TCustomRadioGroup

const ClassInfo& TCustomRadioGroup::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TCustomRadioGroup>("TCustomRadioGroup", &TCustomGroupBox::StaticClass());
    return ci;
}

namespace {
class EnabledWatch : public QObject {
public:
    explicit EnabledWatch(std::function<void()> changed) : changed_(std::move(changed)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange) changed_();
        return false;
    }

private:
    std::function<void()> changed_;
};
} // namespace

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner)
    : TCustomGroupBox(AOwner), FItems(MakeOwned<TStringList>()) {
    FItems->OnChange.Bind(this, &TCustomRadioGroup::ItemsChanged);
    FButtonWatch = std::make_unique<EnabledWatch>([this] { UpdateTabEntry(); });
}

TCustomRadioGroup::~TCustomRadioGroup() {
    FItems->OnChange.Clear();
}

void TCustomRadioGroup::SetItems(TStrings* Value) {
    FItems->Assign(Value);
}

void TCustomRadioGroup::ItemsChanged(TObject*) {
    if (GetComponentState().Contains(csLoading)) return;
    if (FItemIndex >= FItems->GetCount()) FItemIndex = FItems->GetCount() - 1;
    UpdateButtons();
}

QRadioButton* TCustomRadioGroup::ButtonAt(int Index) const {
    if (Index < 0 || Index >= static_cast<int>(FButtons.size())) return nullptr;
    return FButtons[static_cast<std::size_t>(Index)];
}

void TCustomRadioGroup::UpdateButtons() {
    while (static_cast<int>(FButtons.size()) > FItems->GetCount()) {
        delete FButtons.back();
        FButtons.pop_back();
    }
    while (static_cast<int>(FButtons.size()) < FItems->GetCount()) {
        auto* b = new QRadioButton(GroupBox());
        b->setAutoExclusive(false);
        const int index = static_cast<int>(FButtons.size());
        QObject::connect(b, &QRadioButton::clicked, [this, index](bool) { ButtonClicked(index); });
        b->installEventFilter(FButtonWatch.get());
        FButtons.push_back(b);
        b->show();
    }
    FUpdating = true;
    for (std::size_t i = 0; i < FButtons.size(); ++i) {
        FButtons[i]->setText(ToQString((*FItems)[static_cast<int>(i)]));
        FButtons[i]->setChecked(static_cast<int>(i) == FItemIndex);
        FButtons[i]->setFont(GroupBox()->font());
    }
    FUpdating = false;
    UpdateTabEntry();
    ArrangeButtons();
}

// The group is one stop of the window's tab chain: Tab enters it at the checked button (the
// first enabled one while none is checked, or the checked one is disabled: a disabled entry would
// let Tab pass the whole group by); the other buttons take the focus by a click or an arrow key.
void TCustomRadioGroup::UpdateTabEntry() {
    const QRadioButton* entry = ButtonAt(FItemIndex);
    if (!entry || !entry->isEnabledTo(GroupBox())) {
        const auto enabled = std::find_if(FButtons.begin(), FButtons.end(), [this](const QRadioButton* b) {
            return b->isEnabledTo(GroupBox());
        });
        entry = enabled != FButtons.end() ? *enabled : ButtonAt(0);
    }
    for (QRadioButton* b : FButtons) b->setFocusPolicy(b == entry ? Qt::StrongFocus : Qt::ClickFocus);
}

namespace {
// A caption wider than its button goes on over more lines, word by word.
QString WrapToWidth(const QString& text, const QFontMetrics& fm, int width) {
    if (width <= 0 || fm.horizontalAdvance(text) <= width) return text;
    QString out, line;
    for (const QString& word : text.split(QLatin1Char(' '))) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (line.isEmpty() || fm.horizontalAdvance(candidate) <= width) {
            line = candidate;
        } else {
            out += line + QLatin1Char('\n');
            line = word;
        }
    }
    return out + line;
}
} // namespace

// The buttons fill the box below the caption: columns left to right, each
// button as high as its share of the rows.
void TCustomRadioGroup::ArrangeButtons() {
    if (FButtons.empty()) return;
    const int count = static_cast<int>(FButtons.size());
    const TRect area = AdjustClientRect();
    const int perColumn = (count + FColumns - 1) / FColumns;
    const int buttonWidth = std::max((area.Width() - 6) / FColumns, 0);
    const int buttonHeight = std::max(area.Height() / perColumn, 0);
    const int top = area.Top + (area.Height() % perColumn) / 2;
    const QFontMetrics fm(GroupBox()->font());
    for (int i = 0; i < count; ++i) {
        QRadioButton* b = FButtons[static_cast<std::size_t>(i)];
        const int indicator = b->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, b) +
                              b->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, b);
        b->setText(WrapToWidth(ToQString((*FItems)[i]), fm, buttonWidth - indicator - 4));
        b->setGeometry(area.Left + 4 + (i / perColumn) * buttonWidth, top + (i % perColumn) * buttonHeight,
                       buttonWidth, buttonHeight);
    }
}

void TCustomRadioGroup::ButtonClicked(int Index) {
    if (FUpdating) return;
    Guarded(this, [&] { Choose(Index); });
}

// The user's choice: this button is checked, the others not.
void TCustomRadioGroup::Choose(int Index) {
    FUpdating = true;
    for (std::size_t i = 0; i < FButtons.size(); ++i) FButtons[i]->setChecked(static_cast<int>(i) == Index);
    FUpdating = false;
    FItemIndex = Index;
    UpdateTabEntry();
    Changed();
    Click();
}

// An arrow key moves the check to the next enabled button of the group, or the one before,
// round from the last to the first, as a click on that button would.
void TCustomRadioGroup::KeyDown(Word& Key, TShiftState Shift) {
    TCustomGroupBox::KeyDown(Key, Shift);
    if (Key != VK_UP && Key != VK_DOWN && Key != VK_LEFT && Key != VK_RIGHT) return;
    if (Shift.Contains(ssCtrl) || Shift.Contains(ssAlt)) return;
    const auto focused = std::find(FButtons.begin(), FButtons.end(), QApplication::focusWidget());
    if (focused == FButtons.end()) return;
    const int count = static_cast<int>(FButtons.size());
    const int step = Key == VK_UP || Key == VK_LEFT ? count - 1 : 1;
    Key = 0;
    const int from = static_cast<int>(focused - FButtons.begin());
    for (int i = (from + step) % count; i != from; i = (i + step) % count)
        if (QRadioButton* b = FButtons[static_cast<std::size_t>(i)]; b->isEnabled()) {
            b->setFocus(Qt::TabFocusReason);
            Choose(i);
            return;
        }
}

void TCustomRadioGroup::SetItemIndex(int Value) {
    if (GetComponentState().Contains(csLoading)) {
        FItemIndex = Value;
        return;
    }
    Value = std::clamp(Value, -1, FItems->GetCount() - 1);
    if (FItemIndex == Value) return;
    FItemIndex = Value;
    FUpdating = true;
    for (std::size_t i = 0; i < FButtons.size(); ++i) FButtons[i]->setChecked(static_cast<int>(i) == Value);
    FUpdating = false;
    UpdateTabEntry();
    if (Value >= 0) {
        Changed();
        Click();
    }
}

void TCustomRadioGroup::SetColumns(int Value) {
    Value = std::clamp(Value, 1, 16);
    if (FColumns == Value) return;
    FColumns = Value;
    ArrangeButtons();
}

void TCustomRadioGroup::Loaded() {
    TCustomGroupBox::Loaded();
    FItemIndex = std::clamp(FItemIndex, -1, FItems->GetCount() - 1);
    UpdateButtons();
}

void TCustomRadioGroup::Resize() {
    TCustomGroupBox::Resize();
    ArrangeButtons();
}

void TCustomRadioGroup::FontChanged() {
    TCustomGroupBox::FontChanged();
    for (QRadioButton* b : FButtons) b->setFont(GroupBox()->font());
    ArrangeButtons();
}

const ClassInfo& TRadioGroup::StaticClass() {
    using R = TCustomRadioGroup;
    static const PropInfo props[] = {
        MakeProp<&R::GetCaption, &R::SetCaption>("Caption").Stored<&R::IsCaptionStored>(),
        MakeProp<&R::GetColumns, &R::SetColumns>("Columns").Default(1),
        MakeProp<&R::GetItemIndex, &R::SetItemIndex>("ItemIndex").Default(-1),
        MakeProp<&R::GetItems, &R::SetItems>("Items"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TRadioGroup>("TRadioGroup", &TCustomRadioGroup::StaticClass(), props);
    return ci;
}

// ---------------------------------------------------------------------------
// TPaintBox

const ClassInfo& TPaintBox::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TPaintBox::OnPaint>("OnPaint"),
    };
    static const ClassInfo ci = MakeClassInfo<TPaintBox>("TPaintBox", &TGraphicControl::StaticClass(), props);
    return ci;
}

TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(0, 0, 105, 105);
}

// ---------------------------------------------------------------------------
// TBevel

template <>
const EnumInfo& EnumInfoOf<TBevelShape>() {
    static const EnumInfo info{
        "TBevelShape",
        {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TBevelStyle>() {
    static const EnumInfo info{"TBevelStyle", {"bsLowered", "bsRaised"}};
    return info;
}

const ClassInfo& TBevel::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TBevel::GetShape, &TBevel::SetShape>("Shape").Default(bsBox),
        MakeProp<&TBevel::GetStyle, &TBevel::SetStyle>("Style").Default(bsLowered),
    };
    static const ClassInfo ci = MakeClassInfo<TBevel>("TBevel", &TGraphicControl::StaticClass(), props);
    return ci;
}

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value) {
    if (FShape == Value) return;
    FShape = Value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
    if (FStyle == Value) return;
    FStyle = Value;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas* canvas = GetCanvas();
    const int w = GetWidth();
    const int h = GetHeight();
    // A lowered bevel is dark above and left, light below and right; raised the other way.
    const TColor first = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
    const TColor second = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
    TPen* pen = canvas->GetPen();
    pen->SetWidth(1);
    pen->SetStyle(psSolid);
    auto line = [&](TColor c, int x1, int y1, int x2, int y2) {
        pen->SetColor(c);
        canvas->MoveTo(x1, y1);
        canvas->LineTo(x2, y2);
    };
    switch (FShape) {
    case bsBox:
        line(first, 0, h - 1, 0, 0);
        line(first, 0, 0, w - 1, 0);
        line(second, w - 1, 0, w - 1, h - 1);
        line(second, w - 1, h - 1, -1, h - 1);
        break;
    case bsFrame:
        line(first, 0, h - 2, 0, 0);
        line(first, 0, 0, w - 1, 0);
        line(first, w - 2, 1, w - 2, h - 2);
        line(first, w - 2, h - 2, 0, h - 2);
        line(second, 1, h - 2, 1, 1);
        line(second, 1, 1, w - 2, 1);
        line(second, w - 1, 0, w - 1, h - 1);
        line(second, w - 1, h - 1, -1, h - 1);
        break;
    case bsTopLine:
        line(first, 0, 0, w, 0);
        line(second, 0, 1, w, 1);
        break;
    case bsBottomLine:
        line(first, 0, h - 2, w, h - 2);
        line(second, 0, h - 1, w, h - 1);
        break;
    case bsLeftLine:
        line(first, 0, 0, 0, h);
        line(second, 1, 0, 1, h);
        break;
    case bsRightLine:
        line(first, w - 2, 0, w - 2, h);
        line(second, w - 1, 0, w - 1, h);
        break;
    case bsSpacer:
        break;
    }
}

// ---------------------------------------------------------------------------
// TImage

const ClassInfo& TImage::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TImage::GetPicture, &TImage::SetPicture>("Picture"),
        MakeProp<&TImage::GetStretch, &TImage::SetStretch>("Stretch").Default(false),
    };
    static const ClassInfo ci = MakeClassInfo<TImage>("TImage", &TGraphicControl::StaticClass(), props);
    return ci;
}

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(MakeOwned<TPicture>()) {
    FPicture->OnChange.Bind([this](TObject*) { Invalidate(); });
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() = default;

void TImage::SetStretch(bool Value) {
    if (FStretch == Value) return;
    FStretch = Value;
    Invalidate();
}

void TImage::Paint() {
    TCanvas* canvas = GetCanvas();
    const TRect client(0, 0, GetWidth(), GetHeight());
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(client);
    TGraphic* graphic = FPicture->GetGraphic();
    if (graphic == nullptr || graphic->GetEmpty()) return;
    if (FStretch)
        canvas->StretchDraw(client, graphic);
    else
        canvas->Draw(0, 0, graphic);
}

// ---------------------------------------------------------------------------
// TTimer

namespace {
std::vector<TTimer*>& LiveTimers() {
    static std::vector<TTimer*> timers;
    return timers;
}
TTimerClock* ClockOf() {
    return Application ? Application->GetClock() : nullptr;
}
} // namespace

const ClassInfo& TTimer::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TTimer::GetEnabled, &TTimer::SetEnabled>("Enabled").Default(true),
        MakeProp<&TTimer::GetInterval, &TTimer::SetInterval>("Interval").Default(1000),
        MakeProp<&TTimer::OnTimer>("OnTimer"),
    };
    static const ClassInfo ci = MakeClassInfo<TTimer>("TTimer", &TComponent::StaticClass(), props);
    return ci;
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
    LiveTimers().push_back(this);
    UpdateTimer();
}

TTimer::~TTimer() {
    if (TTimerClock* clock = ClockOf()) clock->StopTimer(this);
    std::erase(LiveTimers(), this);
}

void TTimer::BeforeDestruction() {
    FEnabled = false;
    UpdateTimer();
    TComponent::BeforeDestruction();
}

void TTimer::SetEnabled(bool Value) {
    if (FEnabled == Value) return;
    FEnabled = Value;
    UpdateTimer();
}

void TTimer::SetInterval(Cardinal Value) {
    if (FInterval == Value) return;
    FInterval = Value;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    TTimerClock* clock = ClockOf();
    if (!clock) return;
    clock->StopTimer(this);
    if (Running() && !GetComponentState().Contains(csDesigning)) clock->StartTimer(this, FInterval);
}

void TTimer::HandleTimer() {
    Guarded(this, [this] { Timer(); });
}

void TTimer::Timer() {
    if (OnTimer) OnTimer(this);
}

// ---------------------------------------------------------------------------
// Colour box

namespace {

struct NamedColor {
    TColor color;
    const char16_t* name;
};
constexpr NamedColor kStandardColors[] = {
    {clBlack, u"Black"},   {clMaroon, u"Maroon"},   {clGreen, u"Green"}, {clOlive, u"Olive"},
    {clNavy, u"Navy"},     {clPurple, u"Purple"},   {clTeal, u"Teal"},   {clGray, u"Gray"},
    {clSilver, u"Silver"}, {clRed, u"Red"},         {clLime, u"Lime"},   {clYellow, u"Yellow"},
    {clBlue, u"Blue"},     {clFuchsia, u"Fuchsia"}, {clAqua, u"Aqua"},   {clWhite, u"White"},
};

} // namespace

const ClassInfo& TColorBox::StaticClass() {
    using C = TColorBox;
    static const PropInfo props[] = {
        MakeProp<&C::GetDefaultColorColor, &C::SetDefaultColorColor>("DefaultColorColor").Default(clBlack),
        MakeProp<&C::GetSelected, &C::SetSelected>("Selected").Default(clBlack),
        MakeProp<&C::GetDropDownCount, &C::SetDropDownCount>("DropDownCount").Default(8),
        MakeProp<&C::GetItemHeight, &C::SetItemHeight>("ItemHeight"),
        MakeProp<&C::OnChange>("OnChange"),
        MakeProp<&C::OnSelect>("OnSelect"),
    };
    static const ClassInfo ci = MakeClassInfo<TColorBox>("TColorBox", &TCustomComboBox::StaticClass(), props);
    return ci;
}

TColorBox::TColorBox(TComponent* AOwner) : TCustomComboBox(AOwner) {
    SetStyle(csDropDownList);
    for (const NamedColor& c : kStandardColors) AddColor(c.color, c.name);
    SetItemIndex(0);
}

int TColorBox::AddColor(TColor Color, const String& Name) {
    FColors.push_back(Color);
    GetItems()->Add(Name);
    const int index = static_cast<int>(FColors.size()) - 1;
    QPixmap swatch(16, 12);
    const std::int32_t rgb = ColorToRGB(Color);
    swatch.fill(QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF));
    ComboBox()->setItemIcon(index, QIcon(swatch));
    return index;
}

TColor TColorBox::GetSelected() const {
    const int index = GetItemIndex();
    return index >= 0 && index < ColorCount() ? FColors[index] : FDefaultColorColor;
}

void TColorBox::SetSelected(TColor Value) {
    // A stream may name the colour before the box is complete.
    if (GetComponentState().Contains(csLoading)) {
        FLoadedSelected = Value;
        return;
    }
    const auto found = std::find(FColors.begin(), FColors.end(), Value);
    SetItemIndex(found != FColors.end() ? static_cast<int>(found - FColors.begin())
                                        : AddColor(Value, ColorToString(Value)));
}

void TColorBox::SetDefaultColorColor(TColor Value) {
    FDefaultColorColor = Value;
}

void TColorBox::Loaded() {
    TCustomComboBox::Loaded();
    if (FLoadedSelected != clNone) SetSelected(FLoadedSelected);
    FLoadedSelected = clNone;
}

void MoveTimersToClock(TTimerClock* From, TTimerClock* To) {
    for (TTimer* t : LiveTimers()) {
        if (From) From->StopTimer(t);
        if (To && t->Running()) To->StartTimer(t, t->FInterval);
    }
}

void RegisterExtCtrlsClasses() {
    RegisterClasses({&TPanel::StaticClass(), &TRadioGroup::StaticClass(), &TPaintBox::StaticClass(),
                     &TImage::StaticClass(), &TTimer::StaticClass(), &TColorBox::StaticClass(),
                     &TBevel::StaticClass()});
}
