#pragma once
// What the standard controls' sources share: drawing one item of an owner-drawn box, and a
// control's drawing over the system's look of its widget.

#include "platform/gui/stdctrls.h"

#include <QRect>
#include <QStyleOptionViewItem>

#include <functional>

class QPainter;
class QStylePainter;
class QWidget;

namespace gui_detail {

// Draws one item through the control's canvas: Draw gets the item's rectangle in the control's
// coordinates (ControlRect) and draws on a picture of it, which then goes to Area of the painter.
void PaintOwnerDrawnItem(QPainter& Painter, const QRect& Area, const TRect& ControlRect,
                         const QWidget* Widget, TCanvas* Canvas, const TFont* Font,
                         const std::function<void(const TRect&)>& Draw);
TOwnerDrawState ItemState(const QStyleOptionViewItem& Option);

// Paints the widget's own look (PaintOwn) into a picture, lets the control draw over it through
// a canvas on that picture (PaintOver), and shows the picture.
void PaintOverlaid(QWidget* Widget, const std::function<void(QStylePainter&)>& PaintOwn,
                   const std::function<void(TCanvas*)>& PaintOver);

} // namespace gui_detail
