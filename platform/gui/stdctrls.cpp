#include "platform/gui/stdctrls.h"
#include "platform/gui/guiclasses.h"
#include "platform/gui/stdctrls_internal.h"

#include "platform/core/sysutils.h"
#include "platform/gui/forms.h"
#include "platform/gui/qtbridge.h"
#include "platform/win32/gdiqt.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRegion>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QStylePainter>
#include <qdrawutil.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <span>
#include <vector>

using namespace gui_detail;

// Paints a widget's own look into an image, lets the control draw over it through a
// canvas on that image, and shows the image: what the control adds lies on top of the
// system's look, in the same pixels.
void gui_detail::PaintOverlaid(QWidget* Widget, const std::function<void(QStylePainter&)>& PaintOwn,
                               const std::function<void(TCanvas*)>& PaintOver) {
    QImage image(Widget->size(), QImage::Format_RGB32);
    // At the widget's resolution, so that its text comes out the size the screen shows.
    image.setDotsPerMeterX(qRound(Widget->logicalDpiX() / 0.0254));
    image.setDotsPerMeterY(qRound(Widget->logicalDpiY() / 0.0254));
    image.fill(Widget->palette().color(QPalette::Window));
    {
        QStylePainter painter(&image, Widget);
        painter.setFont(Widget->font()); // a painter on an image starts with the application's font
        PaintOwn(painter);
    }
    TCanvas canvas;
    HDC dc = CreateImageDC(&image);
    canvas.SetHandle(dc);
    try {
        PaintOver(&canvas);
    } catch (...) {
        canvas.SetHandle(nullptr);
        DeleteDC(dc);
        throw;
    }
    canvas.SetHandle(nullptr);
    DeleteDC(dc);
    QPainter(Widget).drawImage(0, 0, image);
}

namespace {

class OverlaidButton : public QPushButton {
public:
    explicit OverlaidButton(TButton* Owner) : owner_(Owner) {}

protected:
    void paintEvent(QPaintEvent* e) override {
        if (!owner_->HasPaintOver()) {
            QPushButton::paintEvent(e);
            return;
        }
        PaintOverlaid(
            this,
            [this](QStylePainter& p) {
                QStyleOptionButton option;
                initStyleOption(&option);
                p.drawControl(QStyle::CE_PushButton, option);
            },
            [this](TCanvas* c) { Guarded(owner_, [&] { owner_->PaintOverlay(c); }); });
    }

private:
    TButton* owner_;
};

class OverlaidComboBox : public QComboBox {
public:
    explicit OverlaidComboBox(TCustomComboBox* Owner) : owner_(Owner) {}

protected:
    void paintEvent(QPaintEvent* e) override {
        if (!owner_->HasPaintOver() && !owner_->IsOwnerDrawn()) {
            QComboBox::paintEvent(e);
            return;
        }
        PaintOverlaid(
            this,
            [this](QStylePainter& p) {
                p.setPen(palette().color(QPalette::Text));
                QStyleOptionComboBox option;
                initStyleOption(&option);
                p.drawComplexControl(QStyle::CC_ComboBox, option);
                if (!owner_->IsOwnerDrawn()) {
                    p.drawControl(QStyle::CE_ComboBoxLabel, option);
                    return;
                }
                // The chosen item in the box's face, drawn by the control as in the list.
                const QRect face =
                    style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
                if (currentIndex() < 0) return;
                TOwnerDrawState state{odComboBoxEdit};
                if (hasFocus()) state.Include(odSelected).Include(odFocused);
                if (!isEnabled()) state.Include(odDisabled);
                Guarded(owner_, [&] {
                    PaintOwnerDrawnItem(p, face, Bounds(face.left(), face.top(), face.width(), face.height()),
                                        this, owner_->GetCanvas(), owner_->GetFont(), [&](const TRect& r) {
                                            owner_->DrawItemOn(owner_->GetCanvas(), currentIndex(), r, state);
                                        });
                });
            },
            [this](TCanvas* c) {
                if (owner_->HasPaintOver()) Guarded(owner_, [&] { owner_->PaintOverlay(c); });
            });
    }

private:
    TCustomComboBox* owner_;
};

} // namespace

template <>
const EnumInfo& EnumInfoOf<TAlignment>() {
    static const EnumInfo info{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TTextLayout>() {
    static const EnumInfo info{"TTextLayout", {"tlTop", "tlCenter", "tlBottom"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TScrollStyle>() {
    static const EnumInfo info{"TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TEditCharCase>() {
    static const EnumInfo info{"TEditCharCase", {"ecNormal", "ecUpperCase", "ecLowerCase"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TComboBoxStyle>() {
    static const EnumInfo info{
        "TComboBoxStyle",
        {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TCheckBoxState>() {
    static const EnumInfo info{"TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"}};
    return info;
}

namespace {

// "&&" shows one ampersand; a single one marks the accelerator, which is not drawn.
QString StripAccel(const String& text) {
    String out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            if (i + 1 < text.size() && text[i + 1] == u'&') {
                out.push_back(u'&');
                ++i;
            }
            continue;
        }
        out.push_back(text[i]);
    }
    return ToQString(out);
}

Qt::Alignment HorizontalOf(TAlignment a) {
    switch (a) {
    case taRightJustify:
        return Qt::AlignRight;
    case taCenter:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

// A label's access key is its own: Alt with the marked letter focuses the label's focus
// control when that can take the focus, and does nothing else (Qt's own handling would also
// focus a hidden or disabled buddy, or press a button). The label watches its focus control's
// enabled state, which decides whether it has the key at all.
class AccelLabel : public QLabel {
public:
    std::function<void()> OnAccel;
    std::function<void()> OnFocusControlEnabled;

    void Watch(QWidget* Control) {
        if (FWatched == Control) return;
        if (FWatched) FWatched->removeEventFilter(this);
        FWatched = Control;
        if (Control) Control->installEventFilter(this);
    }

protected:
    bool event(QEvent* e) override {
        if (e->type() != QEvent::Shortcut) return QLabel::event(e);
        if (OnAccel) OnAccel();
        return true;
    }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == FWatched && e->type() == QEvent::EnabledChange && OnFocusControlEnabled)
            OnFocusControlEnabled();
        return false;
    }

private:
    QPointer<QWidget> FWatched;
};

QVariant ObjectData(TObject* o) {
    return QVariant::fromValue<quintptr>(reinterpret_cast<quintptr>(o));
}
TObject* DataObject(const QVariant& v) {
    return reinterpret_cast<TObject*>(v.value<quintptr>());
}

} // namespace

// ---------------------------------------------------------------------------
// TCustomLabel

const ClassInfo& TCustomLabel::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TCustomLabel>("TCustomLabel", &TGraphicControl::StaticClass());
    return ci;
}

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner, new AccelLabel()) {
    FLabel = static_cast<QLabel*>(Widget());
    FLabel->setTextFormat(Qt::PlainText);
    static_cast<AccelLabel*>(FLabel)->OnAccel = [this] {
        Guarded(this, [this] {
            if (FFocusControl && GetEnabled() && FFocusControl->CanFocus()) FFocusControl->SetFocus();
        });
    };
    static_cast<AccelLabel*>(FLabel)->OnFocusControlEnabled = [this] { UpdateLabel(); };
    SetBounds(0, 0, 65, 17);
    UpdateLabel();
}

// With a focus control the marked letter is underlined and is the label's access key; without
// one, or while the focus control is disabled, the mark is only left out: the key is left to
// another control that has it.
void TCustomLabel::UpdateLabel() {
    QWidget* focus = FShowAccelChar && FFocusControl ? FFocusControl->Widget() : nullptr;
    static_cast<AccelLabel*>(FLabel)->Watch(focus);
    QWidget* buddy = focus && focus->isEnabled() ? focus : nullptr;
    FLabel->setBuddy(nullptr);
    FLabel->setText(FShowAccelChar && !buddy ? StripAccel(GetText()) : ToQString(GetText()));
    if (buddy) FLabel->setBuddy(buddy);
    Qt::Alignment v = Qt::AlignTop;
    if (FLayout == tlCenter) v = Qt::AlignVCenter;
    if (FLayout == tlBottom) v = Qt::AlignBottom;
    FLabel->setAlignment(HorizontalOf(FAlignment) | v);
    FLabel->setWordWrap(FWordWrap);
}

void TCustomLabel::SetText(const String& Value) {
    if (Value == GetText()) return;
    TGraphicControl::SetText(Value);
    UpdateLabel();
    AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    UpdateLabel();
}

void TCustomLabel::SetAutoSize(bool Value) {
    FAutoSize = Value;
    AdjustBounds();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
    FLayout = Value;
    UpdateLabel();
}

void TCustomLabel::SetWordWrap(bool Value) {
    FWordWrap = Value;
    UpdateLabel();
    AdjustBounds();
}

void TCustomLabel::SetTransparent(bool Value) {
    FTransparent = Value;
    ApplyColor();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
    FShowAccelChar = Value;
    UpdateLabel();
    AdjustBounds();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = Value;
    if (Value) Value->FreeNotification(this);
    UpdateLabel();
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) {
        FFocusControl = nullptr;
        UpdateLabel();
    }
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::FontChanged() {
    TGraphicControl::FontChanged();
    AdjustBounds();
}

void TCustomLabel::ApplyColor() {
    if (FTransparent) {
        FLabel->setAutoFillBackground(false);
        return;
    }
    TGraphicControl::ApplyColor();
}

// An auto-sized label fits its text; a right-justified one keeps its right edge.
void TCustomLabel::AdjustBounds() {
    if (!FAutoSize || GetComponentState().Contains(csLoading)) return;
    const QFontMetrics fm(FLabel->font());
    QString text = FShowAccelChar ? StripAccel(GetText()) : ToQString(GetText());
    if (text.isEmpty()) text = QStringLiteral(" ");
    int w = FWidth;
    int h = 0;
    if (FWordWrap) {
        h = fm.boundingRect(QRect(0, 0, std::max(w, 1), 100000), Qt::TextWordWrap, text).height();
    } else {
        w = 0;
        for (const QString& line : text.split(QLatin1Char('\n'))) w = std::max(w, fm.horizontalAdvance(line));
        h = fm.height() * static_cast<int>(text.count(QLatin1Char('\n')) + 1);
    }
    int left = FLeft;
    if (FAlignment == taRightJustify) left += FWidth - w;
    SetBounds(left, FTop, w, h);
}

const ClassInfo& TLabel::StaticClass() {
    using L = TCustomLabel;
    static const PropInfo props[] = {
        MakeProp<&L::GetAlignment, &L::SetAlignment>("Alignment").Default(taLeftJustify),
        MakeProp<&L::GetAutoSize, &L::SetAutoSize>("AutoSize").Default(true),
        MakeProp<&L::GetCaption, &L::SetCaption>("Caption").Stored<&L::IsCaptionStored>(),
        MakeProp<&L::GetFocusControl, &L::SetFocusControl>("FocusControl"),
        MakeProp<&L::GetLayout, &L::SetLayout>("Layout").Default(tlTop),
        MakeProp<&L::GetShowAccelChar, &L::SetShowAccelChar>("ShowAccelChar").Default(true),
        MakeProp<&L::GetTransparent, &L::SetTransparent>("Transparent").Default(false),
        MakeProp<&L::GetWordWrap, &L::SetWordWrap>("WordWrap").Default(false),
    };
    static const ClassInfo ci = MakeClassInfo<TLabel>("TLabel", &TCustomLabel::StaticClass(), props);
    return ci;
}

// ---------------------------------------------------------------------------
// TButton

const ClassInfo& TButtonControl::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TButtonControl>("TButtonControl", &TWinControl::StaticClass());
    return ci;
}

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {
    InitTabStop(true);
}

const ClassInfo& TButton::StaticClass() {
    using B = TButton;
    static const PropInfo props[] = {
        MakeProp<&B::GetCancel, &B::SetCancel>("Cancel").Default(false),
        MakeProp<&B::GetCaption, &B::SetCaption>("Caption").Stored<&B::IsCaptionStored>(),
        MakeProp<&B::GetDefault, &B::SetDefault>("Default").Default(false),
        MakeProp<&B::GetModalResult, &B::SetModalResult>("ModalResult").Default(0),
    };
    static const ClassInfo ci = MakeClassInfo<TButton>("TButton", &TButtonControl::StaticClass(), props);
    return ci;
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
    FButton = new OverlaidButton(this);
    FButton->setAutoDefault(false);
    SetWidget(FButton);
    SetReportsClicks(false);
    SetBounds(0, 0, 75, 25);
    QObject::connect(FButton, &QPushButton::clicked, [this](bool) { Guarded(this, [this] { Click(); }); });
}

void TButton::SetText(const String& Value) {
    FButton->setText(ToQString(Value));
}

String TButton::GetText() const {
    return FromQString(FButton->text());
}

void TButton::SetDefault(bool Value) {
    FDefault = Value;
    FButton->setDefault(Value);
}

void TButton::Click() {
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
    TButtonControl::Click();
}

// ---------------------------------------------------------------------------
// TCustomEdit

const ClassInfo& TCustomEdit::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TCustomEdit>("TCustomEdit", &TWinControl::StaticClass());
    return ci;
}

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
    InitColor(clWindow);
    FEdit = new QLineEdit();
    SetWidget(FEdit);
    InitTabStop(true);
    SetBounds(0, 0, 121, 21);
    QObject::connect(FEdit, &QLineEdit::textChanged,
                     [this](const QString&) { Guarded(this, [this] { Change(); }); });
}

void TCustomEdit::SetText(const String& Value) {
    QString text = ToQString(Value);
    if (FCharCase == ecUpperCase) text = text.toUpper();
    if (FCharCase == ecLowerCase) text = text.toLower();
    if (text != FEdit->text()) FEdit->setText(text);
}

String TCustomEdit::GetText() const {
    return FromQString(FEdit->text());
}

void TCustomEdit::SetMaxLength(int Value) {
    FMaxLength = std::max(Value, 0);
    FEdit->setMaxLength(FMaxLength > 0 ? FMaxLength : 0x7FFFFFFF);
}

void TCustomEdit::KeyPress(Char& Key) {
    // Control characters (backspace, Return) still work in a digits-only edit.
    if (FNumbersOnly && Key >= u' ' && (Key < u'0' || Key > u'9')) Key = 0;
    if (Key != 0) TWinControl::KeyPress(Key);
}

void TCustomEdit::SetReadOnly(bool Value) {
    FReadOnly = Value;
    FEdit->setReadOnly(Value);
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
    FCharCase = Value;
    SetText(GetText());
}

void TCustomEdit::SetPasswordChar(Char Value) {
    FPasswordChar = Value;
    FEdit->setEchoMode(Value ? QLineEdit::Password : QLineEdit::Normal);
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
    FBorderStyle = Value;
    FEdit->setFrame(Value != bsNone);
}

bool TCustomEdit::GetModified() const {
    return FEdit->isModified();
}
void TCustomEdit::SetModified(bool Value) {
    FEdit->setModified(Value);
}
int TCustomEdit::GetSelStart() const {
    return FEdit->hasSelectedText() ? FEdit->selectionStart() : FEdit->cursorPosition();
}
void TCustomEdit::SetSelStart(int Value) {
    FEdit->setCursorPosition(Value);
}
int TCustomEdit::GetSelLength() const {
    return static_cast<int>(FEdit->selectedText().size());
}
void TCustomEdit::SetSelLength(int Value) {
    FEdit->setSelection(GetSelStart(), Value);
}
String TCustomEdit::GetSelText() const {
    return FromQString(FEdit->selectedText());
}
void TCustomEdit::SetSelText(const String& Value) {
    FEdit->insert(ToQString(Value));
}
void TCustomEdit::SelectAll() {
    FEdit->selectAll();
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

void TCustomEdit::DoEnter() {
    if (FAutoSelect && !FReadOnly) FEdit->selectAll();
    TWinControl::DoEnter();
}

const ClassInfo& TEdit::StaticClass() {
    using E = TCustomEdit;
    static const PropInfo props[] = {
        MakeProp<&E::GetAutoSelect, &E::SetAutoSelect>("AutoSelect").Default(true),
        MakeProp<&E::GetBorderStyle, &E::SetBorderStyle>("BorderStyle").Default(bsSingle),
        MakeProp<&E::GetCharCase, &E::SetCharCase>("CharCase").Default(ecNormal),
        MakeProp<&E::GetMaxLength, &E::SetMaxLength>("MaxLength").Default(0),
        MakeProp<&E::GetNumbersOnly, &E::SetNumbersOnly>("NumbersOnly").Default(false),
        MakeProp<&E::GetPasswordChar, &E::SetPasswordChar>("PasswordChar").Default(0),
        MakeProp<&E::GetReadOnly, &E::SetReadOnly>("ReadOnly").Default(false),
        MakeProp<&E::GetText, &E::SetText>("Text"),
        MakeProp<&E::OnChange>("OnChange"),
    };
    static const ClassInfo ci = MakeClassInfo<TEdit>("TEdit", &TCustomEdit::StaticClass(), props);
    return ci;
}

// ---------------------------------------------------------------------------
// TCustomComboBox and its items

namespace {

class TComboBoxStrings : public TStrings {
public:
    TComboBoxStrings(TCustomComboBox* owner) : owner_(owner) {}

    int GetCount() const override { return Box()->count(); }
    int Add(const String& S) override {
        int index = GetCount();
        if (owner_->GetSorted()) {
            index = 0;
            while (index < GetCount() && CompareStrings(Get(index), S) <= 0) ++index;
        }
        Insert(index, S);
        return index;
    }
    void Insert(int Index, const String& S) override {
        if (Index < 0 || Index > GetCount()) Error(u"List index out of bounds (%d)", Index);
        // Adding items selects none, unlike the Qt box.
        const int current = Box()->currentIndex();
        Box()->insertItem(Index, ToQString(S));
        Box()->setCurrentIndex(current < 0 ? -1 : (Index <= current ? current + 1 : current));
    }
    void Delete(int Index) override {
        Check(Index);
        const int current = Box()->currentIndex();
        Box()->removeItem(Index);
        Box()->setCurrentIndex(current == Index ? -1 : (Index < current ? current - 1 : current));
    }
    void Clear() override {
        Box()->clear();
        Box()->setCurrentIndex(-1);
        if (Box()->isEditable()) Box()->setEditText({});
    }

protected:
    String Get(int Index) const override {
        Check(Index);
        return FromQString(Box()->itemText(Index));
    }
    void Put(int Index, const String& S) override {
        Check(Index);
        Box()->setItemText(Index, ToQString(S));
    }
    TObject* GetObject(int Index) const override {
        Check(Index);
        return DataObject(Box()->itemData(Index));
    }
    void PutObject(int Index, TObject* AObject) override {
        Check(Index);
        Box()->setItemData(Index, ObjectData(AObject));
    }
    void SetUpdateState(bool Updating) override { Box()->setUpdatesEnabled(!Updating); }

private:
    QComboBox* Box() const { return owner_->ComboBox(); }
    void Check(int Index) const {
        if (Index < 0 || Index >= GetCount()) Error(u"List index out of bounds (%d)", Index);
    }
    TCustomComboBox* owner_;
};

} // namespace

const ClassInfo& TCustomComboBox::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TCustomComboBox>("TCustomComboBox", &TWinControl::StaticClass());
    return ci;
}

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TWinControl(AOwner) {
    InitColor(clWindow);
    FCombo = new OverlaidComboBox(this);
    FCombo->setEditable(true);
    FCombo->setInsertPolicy(QComboBox::NoInsert);
    FCombo->setMaxVisibleItems(FDropDownCount);
    SetWidget(FCombo);
    FItems = std::make_unique<TComboBoxStrings>(this);
    InitTabStop(true);
    SetBounds(0, 0, 145, 21);
    // Only the user's choice is a change; setting the index from code is not.
    QObject::connect(FCombo, &QComboBox::activated, [this](int) {
        Guarded(this, [this] {
            Click();
            Select();
        });
    });
    ConnectEditor();
}

// Typing in the edit part is a change; text set from code is not.
void TCustomComboBox::ConnectEditor() {
    QLineEdit* edit = FCombo->lineEdit();
    if (!edit) return;
    RegisterWidget(edit, this);
    QObject::connect(edit, &QLineEdit::textEdited,
                     [this](const QString&) { Guarded(this, [this] { Change(); }); });
}

TCustomComboBox::~TCustomComboBox() {
    if (FCombo->lineEdit()) UnregisterWidget(FCombo->lineEdit());
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
    if (FStyle == Value) return;
    FStyle = Value;
    const int index = FCombo->currentIndex();
    if (FCombo->lineEdit()) UnregisterWidget(FCombo->lineEdit());
    const bool editable = Value == csDropDown || Value == csSimple;
    FCombo->setEditable(editable);
    if (editable) {
        ConnectEditor();
        SetMaxLength(FMaxLength);
    }
    FCombo->setCurrentIndex(index);
    ApplyOwnerDraw();
    FCombo->update();
}

TStrings* TCustomComboBox::GetItems() const {
    return FItems.get();
}

void TCustomComboBox::SetItems(TStrings* Value) {
    FItems->Assign(Value);
}

int TCustomComboBox::GetItemIndex() const {
    return FCombo->currentIndex();
}

// What a stream set before the items were there applies now.
void TCustomComboBox::Loaded() {
    TWinControl::Loaded();
    if (FLoadedItemIndex >= 0)
        SetItemIndex(FLoadedItemIndex);
    else if (!FLoadedText.empty())
        SetText(FLoadedText);
    FLoadedItemIndex = -1;
    FLoadedText.clear();
}

void TCustomComboBox::SetItemIndex(int Value) {
    if (GetComponentState().Contains(csLoading)) {
        FLoadedItemIndex = Value >= FCombo->count() ? Value : -1;
        if (FLoadedItemIndex >= 0) return;
    }
    if (Value < -1 || Value >= FCombo->count()) Value = -1;
    FCombo->setCurrentIndex(Value);
    if (Value < 0 && FCombo->isEditable()) FCombo->setEditText({});
}

String TCustomComboBox::GetText() const {
    return FromQString(FCombo->currentText());
}

void TCustomComboBox::SetText(const String& Value) {
    if (GetComponentState().Contains(csLoading) && !FCombo->isEditable() &&
        FCombo->findText(ToQString(Value), Qt::MatchFixedString) < 0) {
        FLoadedText = Value;
        return;
    }
    if (FCombo->isEditable()) {
        FCombo->setEditText(ToQString(Value));
        const int index = FCombo->findText(ToQString(Value), Qt::MatchFixedString);
        if (index != FCombo->currentIndex() && index >= 0) {
            FCombo->setCurrentIndex(index);
            FCombo->setEditText(ToQString(Value));
        }
        return;
    }
    // A drop-down list shows only its items: the text picks one.
    const int index = FCombo->findText(ToQString(Value), Qt::MatchFixedString);
    if (index >= 0) FCombo->setCurrentIndex(index);
}

void TCustomComboBox::SetMaxLength(int Value) {
    FMaxLength = std::max(Value, 0);
    if (FCombo->lineEdit()) FCombo->lineEdit()->setMaxLength(FMaxLength > 0 ? FMaxLength : 0x7FFFFFFF);
}

void TCustomComboBox::SetSorted(bool Value) {
    if (FSorted == Value) return;
    FSorted = Value;
    if (!Value) return;
    TStringList sorted;
    for (int i = 0; i < FItems->GetCount(); ++i)
        sorted.AddObject(FItems->GetStrings(i), FItems->GetObjects(i));
    sorted.Sort();
    const String text = GetText();
    FItems->Clear();
    for (int i = 0; i < sorted.GetCount(); ++i) FItems->AddObject(sorted[i], sorted.GetObjects(i));
    SetText(text);
}

void TCustomComboBox::SetDropDownCount(int Value) {
    FDropDownCount = Value;
    FCombo->setMaxVisibleItems(std::max(Value, 1));
}

bool TCustomComboBox::GetDroppedDown() const {
    return FCombo->view() && FCombo->view()->isVisible();
}

void TCustomComboBox::SetDroppedDown(bool Value) {
    if (Value)
        FCombo->showPopup();
    else
        FCombo->hidePopup();
}

int TCustomComboBox::GetDropDownWidth() const {
    return std::max(FDropDownWidth, GetWidth());
}

void TCustomComboBox::SetDropDownWidth(int Value) {
    FDropDownWidth = std::max(0, Value);
    FCombo->view()->setMinimumWidth(FDropDownWidth);
}

void TCustomComboBox::Clear() {
    FItems->Clear();
    SetText({});
}

void TCustomComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

const ClassInfo& TComboBox::StaticClass() {
    using C = TCustomComboBox;
    static const PropInfo props[] = {
        MakeProp<&C::GetStyle, &C::SetStyle>("Style").Default(csDropDown),
        MakeProp<&C::GetDropDownCount, &C::SetDropDownCount>("DropDownCount").Default(8),
        MakeProp<&C::GetItemHeight, &C::SetItemHeight>("ItemHeight"),
        MakeProp<&C::GetItemIndex, &C::SetItemIndex>("ItemIndex").Default(-1),
        MakeProp<&C::GetMaxLength, &C::SetMaxLength>("MaxLength").Default(0),
        MakeProp<&C::GetSorted, &C::SetSorted>("Sorted").Default(false),
        MakeProp<&C::GetText, &C::SetText>("Text"),
        MakeProp<&C::GetItems, &C::SetItems>("Items"),
        MakeProp<&C::OnChange>("OnChange"),
        MakeProp<&C::OnCloseUp>("OnCloseUp"),
        MakeProp<&C::OnDrawItem>("OnDrawItem"),
        MakeProp<&C::OnDropDown>("OnDropDown"),
        MakeProp<&C::OnSelect>("OnSelect"),
    };
    static const ClassInfo ci = MakeClassInfo<TComboBox>("TComboBox", &TCustomComboBox::StaticClass(), props);
    return ci;
}

// ---------------------------------------------------------------------------
// TCustomCheckBox

const ClassInfo& TCustomCheckBox::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TCustomCheckBox>("TCustomCheckBox", &TButtonControl::StaticClass());
    return ci;
}

namespace {

// A check box answers a click anywhere in its bounds, as the system's does, not only on its box
// and caption: a form laid out wider than the caption still ticks where the operator clicks.
class CheckBoxWidget : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    bool hitButton(const QPoint& Pos) const override { return rect().contains(Pos); }
};

} // namespace

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
    FBox = new CheckBoxWidget();
    SetWidget(FBox);
    SetReportsClicks(false);
    SetBounds(0, 0, 97, 17);
    QObject::connect(FBox, &QCheckBox::clicked, [this](bool) {
        Guarded(this, [this] {
            const Qt::CheckState s = FBox->checkState();
            FState = s == Qt::Checked ? cbChecked : s == Qt::PartiallyChecked ? cbGrayed : cbUnchecked;
            Click();
        });
    });
}

void TCustomCheckBox::SetText(const String& Value) {
    FBox->setText(ToQString(Value));
}

String TCustomCheckBox::GetText() const {
    return FromQString(FBox->text());
}

void TCustomCheckBox::SetState(TCheckBoxState Value) {
    if (FState == Value) return;
    FState = Value;
    const QSignalBlocker block(FBox);
    FBox->setCheckState(Value == cbChecked  ? Qt::Checked
                        : Value == cbGrayed ? Qt::PartiallyChecked
                                            : Qt::Unchecked);
    if (!GetComponentState().Contains(csLoading)) Click();
}

void TCustomCheckBox::SetAllowGrayed(bool Value) {
    FAllowGrayed = Value;
    FBox->setTristate(Value);
}

const ClassInfo& TCheckBox::StaticClass() {
    using C = TCustomCheckBox;
    static const PropInfo props[] = {
        MakeProp<&C::GetAlignment, &C::SetAlignment>("Alignment").Default(taRightJustify),
        MakeProp<&C::GetAllowGrayed, &C::SetAllowGrayed>("AllowGrayed").Default(false),
        MakeProp<&C::GetCaption, &C::SetCaption>("Caption").Stored<&C::IsCaptionStored>(),
        MakeProp<&C::GetChecked, &C::SetChecked>("Checked").Default(false),
        MakeProp<&C::GetState, &C::SetState>("State").Default(cbUnchecked),
    };
    static const ClassInfo ci = MakeClassInfo<TCheckBox>("TCheckBox", &TCustomCheckBox::StaticClass(), props);
    return ci;
}

// ---------------------------------------------------------------------------
// TCustomGroupBox

const ClassInfo& TCustomGroupBox::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TCustomGroupBox>("TCustomGroupBox", &TWinControl::StaticClass());
    return ci;
}

namespace {

// The frame runs through the middle of the caption, which stands on it: a box's controls laid out
// for the class library start just below the caption, where a frame drawn under the whole caption
// line would cut through the first of them.
class CaptionedFrame : public QGroupBox {
protected:
    void paintEvent(QPaintEvent* Event) override {
        if (title().isEmpty()) {
            QGroupBox::paintEvent(Event);
            return;
        }
        QStylePainter painter(this);
        QStyleOptionGroupBox option;
        initStyleOption(&option);
        const QRect styled =
            style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
        const QRect label(styled.left() + 8, 0, styled.width(), fontMetrics().height());
        // The caption a little in from the frame's corner, the etched frame drawn here: the style's own
        // keeps clear of the whole caption line. The frame leaves a gap for the caption, which stands
        // on what is behind the box: a tab page a shade lighter than a window shows through it, with
        // no box of the window's grey around the caption.
        painter.setClipRegion(QRegion(rect()).subtracted(QRegion(label.adjusted(-2, 0, 2, 0))));
        qDrawShadeRect(&painter, rect().adjusted(0, label.height() / 2, 0, 0), palette(), true, 1, 0);
        painter.setClipping(false);
        painter.drawItemText(label, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, palette(),
                             isEnabled(), title(), QPalette::WindowText);
    }
};

} // namespace

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TWinControl(AOwner) {
    FBox = new CaptionedFrame();
    SetWidget(FBox);
    SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::SetText(const String& Value) {
    // Qt takes the marked letter as the box's access key, which focuses the box's first
    // control (a radio group's checked button), as the class library's group boxes do.
    FBox->setTitle(ToQString(Value));
    TWinControl::SetText(Value);
}

String TCustomGroupBox::GetText() const {
    return TWinControl::GetText();
}

// The caption's line and the frame are not client area; where they go is
// the style's business.
TRect TCustomGroupBox::AdjustClientRect() const {
    QStyleOptionGroupBox option;
    option.initFrom(FBox);
    option.rect = QRect(0, 0, FWidth, FHeight);
    option.text = FBox->title();
    option.lineWidth = 1;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    option.textAlignment = FBox->alignment();
    const QRect r =
        FBox->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxContents, FBox);
    return Rect(r.left() + 1, r.top() + 1, r.right(), r.bottom());
}

const ClassInfo& TGroupBox::StaticClass() {
    using G = TCustomGroupBox;
    static const PropInfo props[] = {
        MakeProp<&G::GetCaption, &G::SetCaption>("Caption").Stored<&G::IsCaptionStored>(),
    };
    static const ClassInfo ci = MakeClassInfo<TGroupBox>("TGroupBox", &TCustomGroupBox::StaticClass(), props);
    return ci;
}

// ---------------------------------------------------------------------------
// TCustomListBox and its items

class TListBoxStrings : public TStrings {
public:
    explicit TListBoxStrings(TCustomListBox* owner) : owner_(owner) {}

    int GetCount() const override { return List()->count(); }
    int Add(const String& S) override {
        int index = GetCount();
        if (owner_->FSorted) {
            index = 0;
            while (index < GetCount() && CompareStrings(Get(index), S) <= 0) ++index;
        }
        Insert(index, S);
        return index;
    }
    void Insert(int Index, const String& S) override {
        if (Index < 0 || Index > GetCount()) Error(u"List index out of bounds (%d)", Index);
        List()->insertItem(Index, ToQString(S));
        owner_->ItemAdded(Index);
    }
    void Delete(int Index) override {
        Check(Index);
        delete List()->takeItem(Index);
    }
    void Clear() override { List()->clear(); }
    // The items change places whole: a check mark, or an item's enabled state, goes with its
    // text and object. The rows chosen stay where they are, and no change is reported.
    void Exchange(int Index1, int Index2) override {
        Check(Index1);
        Check(Index2);
        if (Index1 == Index2) return;
        QListWidgetItem* a = List()->item(Index1);
        QListWidgetItem* b = List()->item(Index2);
        const QListWidgetItem kept(*a);
        *a = *b;
        *b = kept;
        List()->viewport()->update();
    }

protected:
    String Get(int Index) const override {
        Check(Index);
        return FromQString(List()->item(Index)->text());
    }
    void Put(int Index, const String& S) override {
        Check(Index);
        List()->item(Index)->setText(ToQString(S));
    }
    TObject* GetObject(int Index) const override {
        Check(Index);
        return DataObject(List()->item(Index)->data(Qt::UserRole));
    }
    void PutObject(int Index, TObject* AObject) override {
        Check(Index);
        List()->item(Index)->setData(Qt::UserRole, ObjectData(AObject));
    }
    void SetUpdateState(bool Updating) override { List()->setUpdatesEnabled(!Updating); }

private:
    QListWidget* List() const { return owner_->FList; }
    void Check(int Index) const {
        if (Index < 0 || Index >= GetCount()) Error(u"List index out of bounds (%d)", Index);
    }
    TCustomListBox* owner_;
};

namespace gui_detail {

// The list's view, choosing as the system's list does.
class ListWidget : public QListWidget {
public:
    explicit ListWidget(TCustomListBox* owner) : owner_(owner) {}

protected:
    // A press makes at once the choice its click ends with: the view would leave a press on a
    // chosen item of a multiple selection (choosing it alone, or letting it go with Ctrl) for
    // the release, which comes after the click has been reported.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override {
        if (event && event->type() == QEvent::MouseButtonPress && index.isValid() &&
            static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton) {
            const Qt::KeyboardModifiers keys = static_cast<const QMouseEvent*>(event)->modifiers();
            if (selectionMode() == MultiSelection) return QItemSelectionModel::Toggle;
            if (selectionMode() == ExtendedSelection && !(keys & Qt::ShiftModifier))
                return keys & Qt::ControlModifier ? QItemSelectionModel::Toggle
                                                  : QItemSelectionModel::ClearAndSelect;
        }
        return QListWidget::selectionCommand(index, event);
    }
    // A press below the items lets a multiple selection go at once: the view would let it go
    // at the release, after the click has been reported.
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && selectionMode() == ExtendedSelection &&
            !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) &&
            !indexAt(event->position().toPoint()).isValid())
            clearSelection();
        QListWidget::mousePressEvent(event);
    }
    // Coming into focus chooses nothing: the view would put its current row on the first item
    // unchosen, so that the list would name an item as chosen and the first arrow key would pass
    // it by (or, with one item, choose nothing at all).
    void focusInEvent(QFocusEvent* event) override {
        const bool none = currentRow() < 0;
        QListWidget::focusInEvent(event);
        if (none && selectionMode() == SingleSelection && selectedItems().isEmpty())
            selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    // A key that changes the chosen item or the selection is a click, as the mouse's is; a
    // choice made from code is none.
    void keyPressEvent(QKeyEvent* event) override {
        const int row = currentRow();
        const std::vector<bool> selected = Selected();
        QListWidget::keyPressEvent(event);
        if (currentRow() != row || Selected() != selected) Guarded(owner_, [this] { owner_->Click(); });
    }

private:
    std::vector<bool> Selected() const {
        std::vector<bool> out;
        for (int i = 0; i < count(); ++i) out.push_back(item(i)->isSelected());
        return out;
    }
    TCustomListBox* owner_;
};

} // namespace gui_detail

const ClassInfo& TCustomListBox::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TCustomListBox>("TCustomListBox", &TWinControl::StaticClass());
    return ci;
}

TCustomListBox::TCustomListBox(TComponent* AOwner) : TWinControl(AOwner) {
    InitColor(clWindow);
    FList = new ListWidget(this);
    SetWidget(FList);
    RegisterWidget(FList->viewport(), this);
    FItems = std::make_unique<TListBoxStrings>(this);
    InitTabStop(true);
    SetBounds(0, 0, 121, 97);
}

TCustomListBox::~TCustomListBox() {
    UnregisterWidget(FList->viewport());
}

void TCustomListBox::Invalidate() {
    TWinControl::Invalidate();
    // The rows lie on the view's inner window, which a repaint of the frame leaves as it was.
    FList->viewport()->update();
}

TStrings* TCustomListBox::GetItems() const {
    return FItems.get();
}

void TCustomListBox::SetItems(TStrings* Value) {
    FItems->Assign(Value);
}

int TCustomListBox::GetItemIndex() const {
    return FList->currentRow();
}

void TCustomListBox::SetItemIndex(int Value) {
    if (Value < -1 || Value >= FList->count()) Value = -1;
    FList->setCurrentRow(Value);
    if (Value < 0) FList->clearSelection();
}

void TCustomListBox::SetMultiSelect(bool Value) {
    FMultiSelect = Value;
    FList->setSelectionMode(!Value            ? QAbstractItemView::SingleSelection
                            : FExtendedSelect ? QAbstractItemView::ExtendedSelection
                                              : QAbstractItemView::MultiSelection);
}

void TCustomListBox::SetExtendedSelect(bool Value) {
    FExtendedSelect = Value;
    SetMultiSelect(FMultiSelect);
}

void TCustomListBox::SelectAll() {
    if (FMultiSelect) FList->selectAll();
}

bool TCustomListBox::GetSelected(int Index) const {
    if (Index < 0 || Index >= FList->count()) throw EListError(u"List index out of bounds (%d)", {Index});
    return FList->item(Index)->isSelected();
}

void TCustomListBox::SetSelected(int Index, bool Value) {
    if (Index < 0 || Index >= FList->count()) throw EListError(u"List index out of bounds (%d)", {Index});
    FList->item(Index)->setSelected(Value);
}

int TCustomListBox::GetSelCount() const {
    return static_cast<int>(FList->selectedItems().size());
}

void TCustomListBox::SetSorted(bool Value) {
    if (FSorted == Value) return;
    FSorted = Value;
    if (!Value) return;
    TStringList sorted;
    for (int i = 0; i < FItems->GetCount(); ++i)
        sorted.AddObject(FItems->GetStrings(i), FItems->GetObjects(i));
    sorted.Sort();
    FItems->Clear();
    for (int i = 0; i < sorted.GetCount(); ++i) FItems->AddObject(sorted[i], sorted.GetObjects(i));
}

int TCustomListBox::GetTopIndex() const {
    const QModelIndex i = FList->indexAt(QPoint(1, 1));
    return i.isValid() ? i.row() : 0;
}

void TCustomListBox::SetTopIndex(int Value) {
    if (QListWidgetItem* item = FList->item(Value))
        FList->scrollToItem(item, QAbstractItemView::PositionAtTop);
}

int TCustomListBox::ItemAtPos(const TPoint& Pos, bool Existing) const {
    const QPoint p = FList->viewport()->mapFrom(FList, QPoint(Pos.X, Pos.Y));
    const QModelIndex i = FList->indexAt(p);
    if (i.isValid()) return i.row();
    return Existing ? -1 : FList->count();
}

TRect TCustomListBox::ItemRect(int Index) const {
    QListWidgetItem* item = FList->item(Index);
    if (!item) return {};
    const QRect r = FList->visualItemRect(item);
    const QPoint tl = FList->viewport()->mapTo(FList, r.topLeft());
    return Bounds(tl.x(), tl.y(), r.width(), r.height());
}

void TCustomListBox::Clear() {
    FItems->Clear();
}

const ClassInfo& TListBox::StaticClass() {
    using L = TCustomListBox;
    static const PropInfo props[] = {
        MakeProp<&L::GetItemHeight, &L::SetItemHeight>("ItemHeight"),
        MakeProp<&L::GetItems, &L::SetItems>("Items"),
        MakeProp<&L::GetMultiSelect, &L::SetMultiSelect>("MultiSelect").Default(false),
        MakeProp<&L::GetSorted, &L::SetSorted>("Sorted").Default(false),
        MakeProp<&L::GetStyle, &L::SetStyle>("Style").Default(lbStandard),
        MakeProp<&L::OnDrawItem>("OnDrawItem"),
    };
    static const ClassInfo ci = MakeClassInfo<TListBox>("TListBox", &TCustomListBox::StaticClass(), props);
    return ci;
}

// ---------------------------------------------------------------------------
// TScrollBar

template <>
const EnumInfo& EnumInfoOf<TScrollBarKind>() {
    static const EnumInfo info{"TScrollBarKind", {"sbHorizontal", "sbVertical"}};
    return info;
}

const ClassInfo& TScrollBar::StaticClass() {
    using S = TScrollBar;
    static const PropInfo props[] = {
        MakeProp<&S::GetKind, &S::SetKind>("Kind").Default(sbHorizontal),
        MakeProp<&S::GetLargeChange, &S::SetLargeChange>("LargeChange").Default(1),
        MakeProp<&S::GetMax, &S::SetMax>("Max").Default(100),
        MakeProp<&S::GetMin, &S::SetMin>("Min").Default(0),
        MakeProp<&S::GetPageSize, &S::SetPageSize>("PageSize").Default(0),
        MakeProp<&S::GetPosition, &S::SetPosition>("Position").Default(0),
        MakeProp<&S::GetSmallChange, &S::SetSmallChange>("SmallChange").Default(1),
        MakeProp<&S::OnChange>("OnChange"),
    };
    static const ClassInfo ci = MakeClassInfo<TScrollBar>("TScrollBar", &TWinControl::StaticClass(), props);
    return ci;
}

namespace {

// A scroll bar the operator sets a value with: the arrow keys move the box the way they point
// (Qt's bar, made to scroll a view, turns the horizontal arrows round), and the box shows a focus
// mark while the bar has the focus.
class ScrollBarWidget : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        // With Alt or Ctrl the key is an access key or a shortcut, not a move.
        if ((e->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) || !TakeBarKey(*this, e))
            QScrollBar::keyPressEvent(e);
    }
    void paintEvent(QPaintEvent* e) override {
        QScrollBar::paintEvent(e);
        if (!hasFocus()) return;
        QStyleOptionSlider bar;
        initStyleOption(&bar);
        // A dotted frame inside the box, as the system marks a focused control.
        const QRect box = style()
                              ->subControlRect(QStyle::CC_ScrollBar, &bar, QStyle::SC_ScrollBarSlider, this)
                              .adjusted(2, 2, -3, -3);
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.drawRect(box);
    }
};

} // namespace

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
    FBar = new ScrollBarWidget(Qt::Horizontal);
    FBar->setRange(FMin, FMax);
    FBar->setPageStep(FLargeChange);
    // A scroll bar control, unlike the toolkit's bars of a scrolled view, is a tab stop that a
    // click focuses: its keys move it, and a bar without a label is reached no other way.
    FBar->setFocusPolicy(Qt::StrongFocus);
    SetWidget(FBar);
    InitTabStop(true);
    SetBounds(0, 0, 121, 17);
    QObject::connect(FBar, &QScrollBar::valueChanged, [this](int v) {
        Guarded(this, [this, v] {
            if (v == FPosition) return;
            FPosition = v;
            Change();
        });
    });
}

void TScrollBar::SetKind(TScrollBarKind Value) {
    if (FKind == Value) return;
    FKind = Value;
    FBar->setOrientation(Value == sbHorizontal ? Qt::Horizontal : Qt::Vertical);
    if (!GetComponentState().Contains(csLoading)) SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
}

void TScrollBar::SetSmallChange(int Value) {
    FSmallChange = Value;
    FBar->setSingleStep(Value);
}

void TScrollBar::SetLargeChange(int Value) {
    FLargeChange = Value;
    FBar->setPageStep(Value);
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
    if (AMax < AMin) throw EInvalidOperation(u"Scroll bar property out of range");
    APosition = std::clamp(APosition, AMin, AMax);
    const bool moved = APosition != FPosition;
    FMin = AMin;
    FMax = AMax;
    FPosition = APosition;
    {
        const QSignalBlocker block(FBar);
        FBar->setRange(AMin, AMax);
        FBar->setValue(APosition);
    }
    if (moved) Change();
}

void TScrollBar::Change() {
    if (OnChange) OnChange(this);
}

void RegisterStdCtrlsClasses() {
    RegisterClasses({&TLabel::StaticClass(), &TButton::StaticClass(), &TEdit::StaticClass(),
                     &TComboBox::StaticClass(), &TMemo::StaticClass(), &TCheckBox::StaticClass(),
                     &TGroupBox::StaticClass(), &TListBox::StaticClass(), &TScrollBar::StaticClass()});
}
