// Owner-drawn combo and list boxes: each item is drawn by the control's DrawItem (its
// OnDrawItem) through the control's Canvas, on a picture of the item that is then shown.
#include "platform/gui/stdctrls.h"
#include "platform/gui/stdctrls_internal.h"

#include "platform/gui/qtbridge.h"
#include "platform/win32/gdiqt.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>

using namespace gui_detail;

template <>
const EnumInfo& EnumInfoOf<TListBoxStyle>() {
    static const EnumInfo info{
        "TListBoxStyle",
        {"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable", "lbVirtual", "lbVirtualOwnerDraw"}};
    return info;
}

namespace gui_detail {

void PaintOwnerDrawnItem(QPainter& Painter, const QRect& Area, const TRect& ControlRect,
                         const QWidget* Widget, TCanvas* Canvas, const TFont* Font,
                         const std::function<void(const TRect&)>& Draw) {
    if (Area.isEmpty()) return;
    QImage image(Area.size(), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(Widget->logicalDpiX() / 0.0254));
    image.setDotsPerMeterY(qRound(Widget->logicalDpiY() / 0.0254));
    image.fill(Qt::white);
    {
        HDC dc = CreateImageDC(&image);
        // The item is drawn in the control's coordinates, as the control sees it.
        SetWindowOrgEx(dc, ControlRect.Left, ControlRect.Top, nullptr);
        Canvas->GetFont()->Assign(const_cast<TFont*>(Font));
        Canvas->GetPen()->SetStyle(psSolid);
        Canvas->GetPen()->SetColor(clBlack);
        Canvas->GetPen()->SetWidth(1);
        Canvas->GetBrush()->SetStyle(bsSolid);
        Canvas->SetHandle(dc);
        struct Release {
            TCanvas* canvas;
            HDC dc;
            ~Release() {
                canvas->SetHandle(nullptr);
                DeleteDC(dc);
            }
        } release{Canvas, dc};
        Draw(ControlRect);
    }
    Painter.drawImage(Area.topLeft(), image);
}

TOwnerDrawState ItemState(const QStyleOptionViewItem& Option) {
    TOwnerDrawState state;
    if (Option.state & QStyle::State_Selected) state.Include(odSelected);
    if (!(Option.state & QStyle::State_Enabled)) state.Include(odDisabled);
    if (Option.state & QStyle::State_HasFocus) state.Include(odFocused);
    return state;
}

} // namespace gui_detail

namespace {

// Rows of an owner-drawn list, drawn and measured by the control.
class OwnerDrawDelegate : public QStyledItemDelegate {
public:
    OwnerDrawDelegate(QObject* Parent, std::function<void(QPainter&, const QStyleOptionViewItem&, int)> Paint,
                      std::function<int()> Height)
        : QStyledItemDelegate(Parent), paint_(std::move(Paint)), height_(std::move(Height)) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        paint_(*painter, option, index.row());
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), height_()};
    }

private:
    std::function<void(QPainter&, const QStyleOptionViewItem&, int)> paint_;
    std::function<int()> height_;
};

// A handler starts with the brush and font colours of the item: the selection's, or the box's.
void PrepareItemCanvas(TCanvas* Canvas, TOwnerDrawState State, TColor Back, TColor Text) {
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(State.Contains(odSelected) ? clHighlight : Back);
    Canvas->GetFont()->SetColor(State.Contains(odSelected) ? clHighlightText : Text);
}

// The item's own look when nobody draws it: the selection colour and the text.
void DrawPlainItem(TCanvas* Canvas, const TRect& Rect, const String& Text, TOwnerDrawState State) {
    Canvas->FillRect(Rect);
    Canvas->GetBrush()->SetStyle(bsClear);
    Canvas->TextOut(Rect.Left + 2, Rect.Top, Text);
}

} // namespace

// ---------------------------------------------------------------------------
// Combo box

TCanvas* TCustomComboBox::GetCanvas() {
    if (!FCanvas) FCanvas = MakeOwned<TCanvas>();
    return FCanvas.get();
}

void TCustomComboBox::DrawItemOn(TCanvas* Canvas, int Index, const TRect& Rect, TOwnerDrawState State) {
    PrepareItemCanvas(Canvas, State, GetColor(), GetFont()->GetColor());
    DrawItem(Index, Rect, State);
}

void TCustomComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    DrawPlainItem(GetCanvas(), Rect,
                  Index >= 0 && Index < FItems->GetCount() ? FItems->GetStrings(Index) : String(), State);
}

void TCustomComboBox::ApplyOwnerDraw() {
    QAbstractItemView* view = FCombo->view();
    if (!IsOwnerDrawn()) {
        if (FOwnerDrawDelegate) {
            view->setItemDelegate(new QStyledItemDelegate(view));
            delete FOwnerDrawDelegate;
            FOwnerDrawDelegate = nullptr;
        }
        return;
    }
    if (FOwnerDrawDelegate) return;
    FOwnerDrawDelegate = new OwnerDrawDelegate(
        view,
        [this, view](QPainter& painter, const QStyleOptionViewItem& option, int row) {
            Guarded(this, [&] {
                const QRect& a = option.rect;
                PaintOwnerDrawnItem(
                    painter, a, Bounds(a.left(), a.top(), a.width(), a.height()), view, GetCanvas(),
                    GetFont(), [&](const TRect& r) { DrawItemOn(GetCanvas(), row, r, ItemState(option)); });
            });
        },
        [this] { return std::max(GetItemHeight(), 1); });
    view->setItemDelegate(FOwnerDrawDelegate);
}

// ---------------------------------------------------------------------------
// List box

TCanvas* TCustomListBox::GetCanvas() {
    if (!FCanvas) FCanvas = MakeOwned<TCanvas>();
    return FCanvas.get();
}

void TCustomListBox::DrawItemOn(TCanvas* Canvas, int Index, const TRect& Rect, TOwnerDrawState State) {
    PrepareItemCanvas(Canvas, State, GetColor(), GetFont()->GetColor());
    DrawItem(Index, Rect, State);
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    DrawPlainItem(GetCanvas(), Rect,
                  Index >= 0 && Index < FItems->GetCount() ? FItems->GetStrings(Index) : String(), State);
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
    if (FStyle == Value) return;
    FStyle = Value;
    QWidget* viewport = FList->viewport();
    if (!IsOwnerDrawn()) {
        FList->setItemDelegate(new QStyledItemDelegate(FList));
        FList->setUniformItemSizes(false);
        return;
    }
    FList->setUniformItemSizes(true);
    FList->setItemDelegate(new OwnerDrawDelegate(
        FList,
        [this, viewport](QPainter& painter, const QStyleOptionViewItem& option, int row) {
            Guarded(this, [&] {
                // The view's rectangles are its viewport's; the control's (ItemRect) its own.
                const QPoint tl = viewport->mapTo(FList, option.rect.topLeft());
                PaintOwnerDrawnItem(
                    painter, option.rect, Bounds(tl.x(), tl.y(), option.rect.width(), option.rect.height()),
                    viewport, GetCanvas(), GetFont(),
                    [&](const TRect& r) { DrawItemOn(GetCanvas(), row, r, ItemState(option)); });
            });
        },
        [this] { return std::max(GetItemHeight(), 1); }));
}
