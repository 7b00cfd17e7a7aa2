// The stock cursor shapes drawn from a few polygons and lines. Everything is drawn in black (or
// white framed in black, for the glass of an hourglass and a page) without smoothing, so the
// pictures keep two colours; a white ring one pixel wide round all that is drawn then keeps the
// shape readable on a dark ground too.
#include "platform/gui/stockcursors.h"

#include "platform/gui/qtbridge.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>

#include <initializer_list>

namespace {

constexpr int kSize = 32;
constexpr int kMid = 15; // the centre of the symmetric shapes and their hot spot
const QPoint kArrowTip(1, 1);

void Fill(QPainter& P, std::initializer_list<QPoint> Points, Qt::GlobalColor Inside = Qt::black) {
    P.setPen(QPen(Qt::black, 1));
    P.setBrush(Inside);
    P.drawPolygon(QPolygon(QList<QPoint>(Points)));
}

void Line(QPainter& P, QPoint From, QPoint To, int Width = 1) {
    P.setPen(QPen(Qt::black, Width, Qt::SolidLine, Qt::SquareCap));
    P.drawLine(From, To);
}

void Box(QPainter& P, int Left, int Top, int Right, int Bottom) {
    P.fillRect(QRect(QPoint(Left, Top), QPoint(Right, Bottom)), Qt::black);
}

void Arrow(QPainter& P) {
    Fill(P, {{1, 1}, {1, 17}, {5, 13}, {8, 19}, {10, 18}, {7, 12}, {12, 12}});
}

// Two heads joined by a thin shaft through the centre, turned by Angle degrees; Reach is the
// distance from the centre to a tip.
void DoubleArrow(QPainter& P, qreal Angle, int Reach) {
    P.save();
    P.translate(kMid, kMid);
    P.rotate(Angle);
    const int base = Reach - 4;
    Fill(P, {{Reach, 0}, {base, -4}, {base, 4}});
    Fill(P, {{-Reach, 0}, {-base, -4}, {-base, 4}});
    Line(P, {-base, 0}, {base, 0});
    P.restore();
}

// An hourglass in the box: a bar above and below, the glass between them with sand above and
// a heap below.
void Hourglass(QPainter& P, const QRect& Bounds) {
    const int l = Bounds.left(), r = Bounds.right(), t = Bounds.top(), b = Bounds.bottom();
    Box(P, l, t, r, t + 1);
    Box(P, l, b - 1, r, b);
    const int gl = l + 1, gr = r - 1, gt = t + 2, gb = b - 2;
    const int mx = (l + r) / 2, my = (t + b) / 2, q = (gb - gt) / 5;
    Fill(P,
         {{gl, gt},
          {gr, gt},
          {gr, gt + q},
          {mx + 1, my},
          {gr, gb - q},
          {gr, gb},
          {gl, gb},
          {gl, gb - q},
          {mx, my},
          {gl, gt + q}},
         Qt::white);
    // The sand left above fills the lower half of the upper bulb, inside its walls.
    const int top = (gt + q + my) / 2, inset = (mx - gl) * (top - gt - q) / (my - gt - q) + 2;
    Fill(P, {{gl + inset, top}, {gr - inset, top}, {mx + 1, my - 2}, {mx, my - 2}});
    Fill(P, {{mx, gb - q - 1}, {mx + 1, gb - q - 1}, {gr - 2, gb - 2}, {gl + 2, gb - 2}});
}

// A sheet of paper with a folded corner, its top-left at (Left, Top).
void Page(QPainter& P, int Left, int Top) {
    const int r = Left + 9, b = Top + 11, fold = r - 3;
    Fill(P, {{Left, Top}, {fold, Top}, {r, Top + 3}, {r, b}, {Left, b}}, Qt::white);
    P.drawPolyline(QPolygon({{fold, Top}, {fold, Top + 3}, {r, Top + 3}}));
}

// A ring crossed from top left to bottom right.
void NoEntry(QPainter& P, QPoint Centre, int Radius, int Width) {
    P.setPen(QPen(Qt::black, Width));
    P.setBrush(Qt::NoBrush);
    P.drawEllipse(Centre, Radius, Radius);
    const int d = Radius * 7 / 10;
    Line(P, Centre - QPoint(d, d), Centre + QPoint(d, d), Width);
}

void QuestionMark(QPainter& P) {
    P.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
    P.setBrush(Qt::NoBrush);
    P.drawArc(QRect(15, 2, 8, 7), 180 * 16, -270 * 16);
    Box(P, 18, 9, 19, 12);
    Box(P, 18, 14, 19, 15);
}

// A hand with the forefinger pointing up; the fingers stand apart by a pixel, which the ring
// turns white.
void Hand(QPainter& P) {
    Fill(P, {{10, 2}, {11, 1}, {12, 1}, {13, 2}, {13, 17}, {10, 17}});
    Fill(P, {{15, 10}, {16, 9}, {17, 9}, {18, 10}, {18, 17}, {15, 17}});
    Fill(P, {{20, 11}, {21, 10}, {22, 10}, {23, 11}, {23, 17}, {20, 17}});
    Fill(P, {{25, 13}, {26, 12}, {27, 13}, {27, 17}, {25, 17}});
    Fill(P, {{10, 17}, {27, 17}, {27, 22}, {25, 26}, {12, 26}, {10, 23}});
    Fill(P, {{3, 17}, {5, 15}, {7, 16}, {10, 19}, {10, 23}, {8, 23}});
    Box(P, 12, 28, 25, 30);
}

// Two bars with an arrow pointing away from each; Across swaps the picture's axes.
void Split(QPainter& P, bool Across) {
    P.save();
    if (Across) P.setTransform(QTransform(0, 1, 1, 0, 0, 0));
    Box(P, 12, 7, 13, 23);
    Box(P, 17, 7, 18, 23);
    Fill(P, {{2, kMid}, {6, kMid - 4}, {6, kMid + 4}});
    Fill(P, {{28, kMid}, {24, kMid - 4}, {24, kMid + 4}});
    Line(P, {6, kMid}, {11, kMid});
    Line(P, {19, kMid}, {24, kMid});
    P.restore();
}

// The white ring round everything drawn.
void Outline(QImage& Image) {
    const QImage drawn = Image.copy();
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            if (qAlpha(drawn.pixel(x, y)) != 0) continue;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx)
                    near = drawn.valid(x + dx, y + dy) && qAlpha(drawn.pixel(x + dx, y + dy)) != 0;
            if (near) Image.setPixel(x, y, qRgba(255, 255, 255, 255));
        }
}

} // namespace

HCURSOR MakeStockCursor(TCursor Shape) {
    QImage image(kSize, kSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPoint hot(kMid, kMid);
    {
        QPainter p(&image);
        switch (Shape) {
        case crDefault:
        case crArrow:
            Arrow(p);
            hot = kArrowTip;
            break;
        case crCross:
            Line(p, {kMid, 4}, {kMid, 26});
            Line(p, {4, kMid}, {26, kMid});
            break;
        case crIBeam:
            Line(p, {kMid, 6}, {kMid, 24});
            Line(p, {12, 5}, {14, 5});
            Line(p, {16, 5}, {18, 5});
            Line(p, {12, 25}, {14, 25});
            Line(p, {16, 25}, {18, 25});
            break;
        case crSizeNESW:
            DoubleArrow(p, -45, 14);
            break;
        case crSizeNS:
            DoubleArrow(p, 90, 13);
            break;
        case crSizeNWSE:
            DoubleArrow(p, 45, 14);
            break;
        case crSizeWE:
            DoubleArrow(p, 0, 13);
            break;
        case crSizeAll:
            DoubleArrow(p, 0, 14);
            DoubleArrow(p, 90, 14);
            break;
        case crUpArrow:
            Fill(p, {{kMid, 1}, {kMid - 5, 6}, {kMid + 5, 6}});
            Box(p, kMid - 1, 6, kMid + 1, 24);
            hot = QPoint(kMid, 1);
            break;
        case crHourGlass:
        case crSQLWait:
            Hourglass(p, QRect(QPoint(8, 2), QPoint(23, 29)));
            break;
        case crNo:
            NoEntry(p, {kMid, kMid}, 10, 3);
            break;
        case crHandPoint:
            Hand(p);
            hot = QPoint(11, 1);
            break;
        case crHelp:
            Arrow(p);
            QuestionMark(p);
            hot = kArrowTip;
            break;
        case crAppStart:
            Arrow(p);
            Hourglass(p, QRect(QPoint(14, 12), QPoint(23, 27)));
            hot = kArrowTip;
            break;
        case crDrag:
            Arrow(p);
            Page(p, 12, 19);
            hot = kArrowTip;
            break;
        case crMultiDrag:
            Arrow(p);
            Page(p, 18, 13);
            Page(p, 15, 16);
            Page(p, 12, 19);
            hot = kArrowTip;
            break;
        case crNoDrop:
            Arrow(p);
            NoEntry(p, {20, 22}, 6, 2);
            hot = kArrowTip;
            break;
        case crHSplit:
            Split(p, false);
            break;
        case crVSplit:
            Split(p, true);
            break;
        default:
            return nullptr;
        }
    }
    Outline(image);
    gui_detail::EnsureQtApplication();
    return new TCursorPicture(QCursor(QPixmap::fromImage(image), hot.x(), hot.y()));
}
