#include "platform/gui/controls.h"

#include "platform/gui/extctrls.h"
#include "platform/gui/menus.h"
#include "platform/gui/stdctrls.h"
#include "tests/platform/gui/guitest.h"

#include <QImage>
#include <QMouseEvent>
#include <QWheelEvent>

#include <climits>
#include <string>
#include <vector>

namespace {

class ControlsTest : public GuiTest {};

TPanel* NewPanel(TForm* owner, TWinControl* parent, TAlign align, int w, int h) {
    auto* p = Create<TPanel>(owner);
    p->SetBounds(0, 0, w, h);
    p->SetParent(parent);
    p->SetAlign(align);
    return p;
}

// The form's client area is shared out top, bottom, left, right, then the rest.
TEST_F(ControlsTest, AlignedChildrenShareTheClientArea) {
    TestForm f;
    f->SetClientWidth(400);
    f->SetClientHeight(300);
    TPanel* top = NewPanel(f.get(), f.get(), alTop, 50, 25);
    TPanel* bottom = NewPanel(f.get(), f.get(), alBottom, 50, 19);
    TPanel* left = NewPanel(f.get(), f.get(), alLeft, 170, 10);
    TPanel* client = NewPanel(f.get(), f.get(), alClient, 10, 10);
    TPanel* right = NewPanel(f.get(), f.get(), alRight, 30, 10);

    EXPECT_EQ(top->GetBoundsRect(), Rect(0, 0, 400, 25));
    EXPECT_EQ(bottom->GetBoundsRect(), Rect(0, 281, 400, 300));
    EXPECT_EQ(left->GetBoundsRect(), Rect(0, 25, 170, 281));
    EXPECT_EQ(right->GetBoundsRect(), Rect(370, 25, 400, 281));
    EXPECT_EQ(client->GetBoundsRect(), Rect(170, 25, 370, 281));

    // Growing the window stretches the client part and moves the right one.
    f->SetClientWidth(500);
    EXPECT_EQ(client->GetBoundsRect(), Rect(170, 25, 470, 281));
    EXPECT_EQ(right->GetLeft(), 470);

    // A hidden aligned control gives its space back.
    top->Hide();
    EXPECT_EQ(left->GetTop(), 0);
    EXPECT_EQ(client->GetBoundsRect(), Rect(170, 0, 470, 281));
}

TEST_F(ControlsTest, TwoTopControlsStackInTheirOrder) {
    TestForm f;
    f->SetClientWidth(200);
    f->SetClientHeight(200);
    TPanel* a = NewPanel(f.get(), f.get(), alTop, 10, 20);
    TPanel* b = NewPanel(f.get(), f.get(), alTop, 10, 30);
    EXPECT_EQ(a->GetTop(), 0);
    EXPECT_EQ(b->GetTop(), 20);
    // Moving b above a puts it first.
    b->SetTop(-1);
    EXPECT_EQ(b->GetTop(), 0);
    EXPECT_EQ(a->GetTop(), 30);
}

TEST_F(ControlsTest, PanelBevelsNarrowTheAlignedArea) {
    TestForm f;
    f->SetClientWidth(200);
    f->SetClientHeight(200);
    TPanel* outer = NewPanel(f.get(), f.get(), alClient, 0, 0);
    outer->SetBevelInner(bvLowered);
    outer->SetBorderWidth(2);
    TPanel* inner = NewPanel(f.get(), outer, alClient, 0, 0);
    EXPECT_EQ(inner->GetBoundsRect(), Rect(4, 4, 196, 196));
}

TEST_F(ControlsTest, AnchorsFollowTheParentsEdges) {
    TestForm f;
    f->SetClientWidth(300);
    f->SetClientHeight(200);
    auto* right = Create<TButton>(f.get());
    right->SetParent(f.get());
    right->SetBounds(200, 10, 75, 25);
    right->SetAnchors({akTop, akRight});
    auto* both = Create<TButton>(f.get());
    both->SetParent(f.get());
    both->SetBounds(10, 50, 280, 25);
    both->SetAnchors({akLeft, akTop, akRight, akBottom});
    auto* plain = Create<TButton>(f.get());
    plain->SetParent(f.get());
    plain->SetBounds(10, 100, 75, 25);

    f->SetClientWidth(400);
    f->SetClientHeight(260);
    EXPECT_EQ(right->GetBoundsRect(), Bounds(300, 10, 75, 25));
    EXPECT_EQ(both->GetBoundsRect(), Bounds(10, 50, 380, 85));
    EXPECT_EQ(plain->GetBoundsRect(), Bounds(10, 100, 75, 25));
}

// A stream may hold any number for a position or a size: the rectangle they make never
// wraps, on the control or on its widget.
TEST_F(ControlsTest, AnyPositionOrSizeMakesARectangleThatFits) {
    TestForm f;
    auto* panel = NewPanel(f.get(), f.get(), alNone, 50, 40);
    for (const int v : {INT_MAX, INT_MIN, INT_MAX - 10}) {
        SCOPED_TRACE(v);
        panel->SetLeft(v);
        panel->SetTop(v);
        const TRect r = panel->GetBoundsRect();
        EXPECT_GT(r.Right, r.Left);
        EXPECT_GT(r.Bottom, r.Top);
        EXPECT_EQ(r.Width(), 50);
        const QRect g = panel->Widget()->geometry();
        EXPECT_EQ(g.left(), r.Left);
        EXPECT_GT(g.right(), g.left());
        panel->SetWidth(v);
        EXPECT_GE(panel->GetBoundsRect().Right, panel->GetLeft());
        panel->SetBounds(0, 0, 50, 40);
    }
}

TEST_F(ControlsTest, ParentFontFlowsUntilAChildSetsItsOwn) {
    TestForm f;
    auto* panel = NewPanel(f.get(), f.get(), alNone, 100, 100);
    auto* label = Create<TLabel>(f.get());
    label->SetParent(panel);
    f->GetFont()->SetName(u"Tahoma");
    f->GetFont()->SetHeight(-11);
    EXPECT_EQ(label->GetFont()->GetHeight(), -11);
    EXPECT_TRUE(label->GetParentFont());

    label->GetFont()->SetColor(clBlue);
    EXPECT_FALSE(label->GetParentFont());
    f->GetFont()->SetHeight(-20);
    EXPECT_EQ(panel->GetFont()->GetHeight(), -20);
    EXPECT_EQ(label->GetFont()->GetHeight(), -11);
    // The face that does not exist here is drawn with its metric twin.
    EXPECT_EQ(label->Widget()->font().family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(label->Widget()->font().pixelSize(), 11);
}

TEST_F(ControlsTest, FreeingAParentFreesItsChildrenAndTheyLeaveTheirOwner) {
    TestForm f;
    auto* panel = NewPanel(f.get(), f.get(), alNone, 100, 100);
    auto* child = Create<TButton>(f.get());
    child->SetName(u"Child");
    child->SetParent(panel);
    const int before = f->GetComponentCount();
    panel->Free();
    EXPECT_EQ(f->GetComponentCount(), before - 2);
    EXPECT_EQ(f->FindComponent(u"Child"), nullptr);
    EXPECT_EQ(f->GetControlCount(), 0);
}

TEST_F(ControlsTest, ClientAndScreenCoordinatesRoundTrip) {
    TestForm f;
    f->SetPosition(poDesigned);
    f->SetBounds(100, 80, 300, 200);
    auto* panel = NewPanel(f.get(), f.get(), alNone, 100, 100);
    panel->SetBounds(20, 30, 100, 100);
    f->Show();
    ASSERT_TRUE(WaitFor([&] { return f->Widget()->isVisible(); }));
    const TPoint s = panel->ClientToScreen({5, 6});
    EXPECT_EQ(panel->ScreenToClient(s), TPoint(5, 6));
    const TPoint formOrigin = f->ClientToScreen({0, 0});
    EXPECT_EQ(s, TPoint(formOrigin.X + 25, formOrigin.Y + 36));
}

TEST_F(ControlsTest, MouseClicksAndDoubleClicksReachTheControl) {
    TestForm f;
    auto* panel = NewPanel(f.get(), f.get(), alNone, 100, 100);
    int clicks = 0, doubles = 0;
    TPoint down;
    panel->OnClick.Bind([&](TObject*) { ++clicks; });
    panel->OnDblClick.Bind([&](TObject*) { ++doubles; });
    panel->OnMouseDown.Bind([&](TObject*, TMouseButton, TShiftState, int x, int y) { down = {x, y}; });
    f->Show();
    QWidget* w = panel->Widget();
    const QPointF at(12, 7);
    const QPointF global = w->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &release);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &dbl);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(down, TPoint(12, 7));
}

// One wheel turn as the window system delivers it (each with its own time stamp).
void SendWheel(QWidget* w, QPointF at, int delta, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    static quint64 stamp = 1000;
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, mods, Qt::NoScrollPhase,
                  false);
    e.setTimestamp(++stamp);
    QCoreApplication::sendEvent(w, &e);
}

TEST_F(ControlsTest, TheWheelReachesTheControlUnderTheMouseNotchByNotch) {
    TestForm f;
    auto* panel = NewPanel(f.get(), f.get(), alNone, 100, 100);
    f->Show();
    std::vector<std::string> heard;
    TPoint where;
    TShiftState keys;
    panel->OnMouseWheel.Bind([&](TObject*, TShiftState shift, int delta, TPoint pos, bool&) {
        heard.push_back("wheel " + std::to_string(delta));
        where = pos;
        keys = shift;
    });
    panel->OnMouseWheelDown.Bind([&](TObject*, TShiftState, TPoint, bool&) { heard.push_back("down"); });
    panel->OnMouseWheelUp.Bind([&](TObject*, TShiftState, TPoint, bool&) { heard.push_back("up"); });
    QWidget* w = panel->Widget();

    SendWheel(w, {12, 7}, -120, Qt::ControlModifier);
    EXPECT_EQ(heard, (std::vector<std::string>{"wheel -120", "down"})) << "one notch towards the user";
    EXPECT_EQ(where, panel->ClientToScreen({12, 7})) << "the mouse comes in screen coordinates";
    EXPECT_TRUE(keys.Contains(ssCtrl));

    heard.clear();
    SendWheel(w, {12, 7}, 240);
    EXPECT_EQ(heard, (std::vector<std::string>{"wheel 240", "up", "up"})) << "two notches at once";

    heard.clear();
    SendWheel(w, {12, 7}, 60);
    SendWheel(w, {12, 7}, 50);
    EXPECT_EQ(heard, (std::vector<std::string>{"wheel 60", "wheel 50"})) << "less than a notch so far";
    SendWheel(w, {12, 7}, 10);
    EXPECT_EQ(heard.back(), "up") << "the third small step completes the notch";

    heard.clear();
    panel->OnMouseWheel.Bind([&](TObject*, TShiftState, int, TPoint, bool& handled) { handled = true; });
    SendWheel(w, {12, 7}, -120);
    EXPECT_TRUE(heard.empty()) << "a handled turn is not counted in notches";
}

TEST_F(ControlsTest, AWheelTurnOverAChildIsReportedOnce) {
    TestForm f;
    auto* outer = NewPanel(f.get(), f.get(), alNone, 200, 200);
    auto* inner = NewPanel(f.get(), outer, alNone, 100, 100);
    f->Show();
    int innerTurns = 0, outerTurns = 0;
    inner->OnMouseWheel.Bind([&](TObject*, TShiftState, int, TPoint, bool&) { ++innerTurns; });
    outer->OnMouseWheel.Bind([&](TObject*, TShiftState, int, TPoint, bool&) { ++outerTurns; });
    SendWheel(inner->Widget(), {5, 5}, 120);
    EXPECT_EQ(innerTurns, 1);
    EXPECT_EQ(outerTurns, 0) << "the parent does not hear the turn its child was given";
}

TEST_F(ControlsTest, AControlWithoutParentIsNeverShown) {
    TestForm f;
    auto* b = Create<TButton>(f.get());
    f->Show();
    EXPECT_FALSE(b->Widget()->isVisible());
    b->SetParent(f.get());
    EXPECT_TRUE(b->Widget()->isVisible());
    b->SetParent(nullptr);
    EXPECT_FALSE(b->Widget()->isVisible());
    EXPECT_TRUE(b->GetVisible());
}

// Drawing goes into the retained image, inside the paint handler or outside
// it, and shows when the control is painted.
TEST_F(ControlsTest, APaintBoxDrawsOnItsCanvasAtAnyTime) {
    TestForm f;
    auto* box = Create<TPaintBox>(f.get());
    box->SetParent(f.get());
    box->SetBounds(0, 0, 40, 30);
    int paints = 0;
    box->OnPaint.Bind([&](TObject*) {
        ++paints;
        TCanvas* c = box->GetCanvas();
        c->GetBrush()->SetColor(clRed);
        c->FillRect(Rect(0, 0, 40, 30));
    });
    f->Show();
    QImage shown = box->Widget()->grab().toImage();
    EXPECT_GE(paints, 1);
    EXPECT_EQ(shown.pixelColor(5, 5), QColor(Qt::red));
    // Outside painting: an XOR-style overlay drawn straight away.
    const int before = paints;
    TCanvas* c = box->GetCanvas();
    c->GetBrush()->SetColor(clBlue);
    c->FillRect(Rect(10, 10, 20, 20));
    EXPECT_EQ(box->BackImage()->pixelColor(15, 15), QColor(Qt::blue));
    EXPECT_EQ(paints, before);
}

// The canvas keeps drawing between calls; growing, showing or reading the
// image finishes it first, so drawing after a resize reaches the new image.
TEST_F(ControlsTest, APaintBoxCanvasDrawsOnAcrossResizesAndShows) {
    TestForm f;
    auto* box = Create<TPaintBox>(f.get());
    box->SetParent(f.get());
    box->SetBounds(0, 0, 40, 30);
    f->Show();
    TCanvas* c = box->GetCanvas();
    c->GetPen()->SetWidth(2);
    c->GetPen()->SetColor(clRed);
    c->MoveTo(2, 5);
    c->LineTo(38, 5);
    box->SetBounds(0, 0, 120, 90);
    c->MoveTo(2, 80);
    c->LineTo(118, 80);
    const QImage shown = box->Widget()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(20, 5), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(100, 80), QColor(Qt::red));
    c->MoveTo(2, 60);
    c->LineTo(118, 60);
    EXPECT_EQ(box->BackImage()->pixelColor(100, 60), QColor(Qt::red));
}

} // namespace

namespace {

// A right click on a control without a menu opens its parent's, which learns
// the control that was clicked.
TEST_F(ControlsTest, AControlWithoutAMenuOpensItsParentsMenu) {
    TestForm f;
    auto* panel = Create<TPanel>(f.get());
    panel->SetParent(f.get());
    auto* inner = Create<TPanel>(f.get());
    inner->SetParent(panel);
    auto* menu = Create<TPopupMenu>(f.get());
    f->SetPopupMenu(menu);
    TComponent* clicked = nullptr;
    int shown = 0;
    SetPopupHook([&](TPopupMenu* m, int, int) {
        EXPECT_EQ(m, menu);
        clicked = m->GetPopupComponent();
        ++shown;
    });
    inner->HandleMouseUp(mbRight, {}, 3, 3);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(clicked, inner);
    // A menu of its own wins.
    auto* own = Create<TPopupMenu>(f.get());
    panel->SetPopupMenu(own);
    TPopupMenu* opened = nullptr;
    SetPopupHook([&](TPopupMenu* m, int, int) { opened = m; });
    inner->HandleMouseUp(mbRight, {}, 3, 3);
    SetPopupHook({});
    EXPECT_EQ(opened, own);
}

// A right click whose menu command runs a loop of its own (a modal window
// clicked meanwhile) opens the menu once, not again when the click is offered
// to the parents afterwards.
TEST_F(ControlsTest, AMenuWhoseCommandRunsALoopOpensOnce) {
    TestForm f;
    auto* inner = Create<TPanel>(f.get());
    inner->SetParent(f.get());
    auto* other = Create<TPanel>(f.get());
    other->SetParent(f.get());
    auto* menu = Create<TPopupMenu>(f.get());
    f->SetPopupMenu(menu);
    int shown = 0;
    const auto send = [](QWidget* w, QEvent::Type type, Qt::MouseButton button, quint64 time) {
        QMouseEvent e(type, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
        e.setTimestamp(time);
        QCoreApplication::sendEvent(w, &e);
    };
    SetPopupHook([&](TPopupMenu*, int, int) {
        ++shown;
        // The command's window is clicked.
        send(other->Widget(), QEvent::MouseButtonPress, Qt::LeftButton, 20);
        send(other->Widget(), QEvent::MouseButtonRelease, Qt::LeftButton, 21);
    });
    send(inner->Widget(), QEvent::MouseButtonPress, Qt::RightButton, 10);
    send(inner->Widget(), QEvent::MouseButtonRelease, Qt::RightButton, 11);
    SetPopupHook({});
    EXPECT_EQ(shown, 1);
}

} // namespace
