#include "platform/gui/extctrls.h"

#include "tests/platform/gui/guitest.h"

#include <QComboBox>
#include <QRadioButton>

namespace {

class TimersTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        Application->SetClock(&clock);
    }
    TManualClock clock;
};

TEST_F(TimersTest, ATimerFiresEveryIntervalWhileEnabled) {
    TestForm f;
    auto* t = Create<TTimer>(f.get());
    t->SetInterval(300);
    int fired = 0;
    t->OnTimer.Bind([&](TObject*) { ++fired; });
    clock.Advance(299);
    EXPECT_EQ(fired, 0);
    clock.Advance(1);
    EXPECT_EQ(fired, 1);
    clock.Advance(900);
    EXPECT_EQ(fired, 4);
    t->SetEnabled(false);
    clock.Advance(1000);
    EXPECT_EQ(fired, 4);
}

// A timer switched on while it runs keeps its schedule; off and on again
// starts a new interval, and so does a new interval.
TEST_F(TimersTest, ReEnablingARunningTimerDoesNotRestartIt) {
    TestForm f;
    auto* t = Create<TTimer>(f.get());
    t->SetInterval(3500);
    int fired = 0;
    t->OnTimer.Bind([&](TObject*) { ++fired; });
    clock.Advance(3000);
    t->SetEnabled(true);
    clock.Advance(500);
    EXPECT_EQ(fired, 1);

    clock.Advance(3000);
    t->SetEnabled(false);
    t->SetEnabled(true);
    clock.Advance(500);
    EXPECT_EQ(fired, 1);
    clock.Advance(3000);
    EXPECT_EQ(fired, 2);

    clock.Advance(1000);
    t->SetInterval(300);
    EXPECT_EQ(clock.DueIn(t), 300);
}

TEST_F(TimersTest, AOneShotHandlerStopsItsTimer) {
    TestForm f;
    auto* t = Create<TTimer>(f.get());
    t->SetEnabled(false);
    t->SetInterval(300);
    int fired = 0;
    t->OnTimer.Bind([&](TObject*) {
        t->SetEnabled(false);
        ++fired;
    });
    t->SetEnabled(true);
    clock.Advance(10000);
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(clock.IsRunning(t));
}

TEST_F(TimersTest, TimersFireInTimeOrderAndAnExceptionIsShown) {
    TestForm f;
    std::string order;
    auto* a = Create<TTimer>(f.get());
    a->SetInterval(500);
    a->OnTimer.Bind([&](TObject*) {
        order += "a";
        a->SetEnabled(false);
        throw Exception(u"Ошибка чтения архива");
    });
    auto* b = Create<TTimer>(f.get());
    b->SetInterval(300);
    b->OnTimer.Bind([&](TObject*) { order += "b"; });
    clock.Advance(700);
    EXPECT_EQ(order, "bab");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Text, u"Ошибка чтения архива.");
}

TEST_F(TimersTest, RunningTimersMoveToANewClockAndStopWhenFreed) {
    TestForm f;
    auto* t = Create<TTimer>(f.get());
    t->SetInterval(100);
    TManualClock other;
    Application->SetClock(&other);
    EXPECT_FALSE(clock.IsRunning(t));
    EXPECT_TRUE(other.IsRunning(t));
    t->Free();
    EXPECT_FALSE(other.IsRunning(t));
    Application->SetClock(&clock);
}

TEST_F(TimersTest, TheRealClockRunsOnTheEventLoop) {
    Application->SetClock(nullptr);
    TestForm f;
    auto* t = Create<TTimer>(f.get());
    t->SetInterval(10);
    int fired = 0;
    t->OnTimer.Bind([&](TObject*) { ++fired; });
    EXPECT_TRUE(WaitFor([&] { return fired >= 2; }));
}

// ---------------------------------------------------------------------------

class RadioGroupTest : public GuiTest {};

TEST_F(RadioGroupTest, IndexChangesClickTheGroup) {
    TestForm f;
    auto* g = Create<TRadioGroup>(f.get());
    g->SetParent(f.get());
    g->SetBounds(0, 0, 160, 60);
    g->GetItems()->Add(u"Прочитать архив за выбраную дату");
    g->GetItems()->Add(u"Читать за выбранный интервал");
    int clicks = 0;
    g->OnClick.Bind([&](TObject*) { ++clicks; });
    g->SetItemIndex(0);
    EXPECT_EQ(clicks, 1);
    g->SetItemIndex(0);
    EXPECT_EQ(clicks, 1);
    g->ButtonAt(1)->click();
    EXPECT_EQ(g->GetItemIndex(), 1);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(g->ButtonAt(0)->isChecked());
    // Two rows share the box below the caption.
    const TRect area = g->AdjustClientRect();
    EXPECT_GT(area.Top, 0);
    EXPECT_EQ(g->ButtonAt(0)->x(), g->ButtonAt(1)->x());
    EXPECT_GE(g->ButtonAt(0)->y(), area.Top);
    EXPECT_EQ(g->ButtonAt(1)->y(), g->ButtonAt(0)->y() + g->ButtonAt(0)->height());
    EXPECT_LE(g->ButtonAt(1)->geometry().bottom(), area.Bottom);
    // A caption too long for its button goes on over two lines.
    EXPECT_TRUE(g->ButtonAt(0)->text().contains(QLatin1Char('\n')));
    // Disabling the group disables its buttons.
    g->SetEnabled(false);
    EXPECT_FALSE(g->ButtonAt(0)->isEnabled());
}

TEST_F(RadioGroupTest, ColumnsSplitTheButtons) {
    TestForm f;
    auto* g = Create<TRadioGroup>(f.get());
    g->SetParent(f.get());
    g->SetBounds(0, 0, 210, 60);
    for (const char16_t* s : {u"a", u"b", u"c", u"d"}) g->GetItems()->Add(s);
    g->SetColumns(2);
    EXPECT_EQ(g->ButtonAt(2)->x(), g->ButtonAt(0)->x() + g->ButtonAt(0)->width());
    EXPECT_EQ(g->ButtonAt(2)->y(), g->ButtonAt(0)->y());
    EXPECT_EQ(g->ButtonAt(1)->x(), g->ButtonAt(0)->x());
}

} // namespace

namespace {

// A 2 x 2 picture: red, green on top; blue, white below.
void FourPixels(TPicture* picture) {
    TBitmap* b = picture->GetBitmap();
    b->SetSize(2, 2);
    TCanvas* c = b->GetCanvas();
    c->SetPixel(0, 0, clRed);
    c->SetPixel(1, 0, clLime);
    c->SetPixel(0, 1, clBlue);
    c->SetPixel(1, 1, clWhite);
}

TEST_F(GuiTest, AnImageShowsItsPictureAtTheCornerOrStretched) {
    TestForm f;
    auto* image = Create<TImage>(f.get());
    image->SetParent(f.get());
    image->SetBounds(0, 0, 20, 20);
    image->SetColor(clBlack); // what the picture leaves uncovered
    FourPixels(image->GetPicture());
    f->Show();
    QImage shown = image->Widget()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(1, 1), QColor(Qt::white));
    EXPECT_EQ(shown.pixelColor(15, 15), QColor(Qt::black));

    image->SetStretch(true);
    shown = image->Widget()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(3, 3), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(16, 3), QColor(Qt::green));
    EXPECT_EQ(shown.pixelColor(3, 16), QColor(Qt::blue));
    EXPECT_EQ(shown.pixelColor(16, 16), QColor(Qt::white));

    // Streams name the class and its settings.
    EXPECT_NE(GetClass("TImage"), nullptr);
}

} // namespace

namespace {

class ColorBoxTest : public GuiTest {};

TEST_F(ColorBoxTest, TheUsersChoiceIsAChangeAndAColourOfNoItemIsAddedOnce) {
    TestForm f;
    auto* box = Create<TColorBox>(f.get());
    box->SetParent(f.get());
    ASSERT_EQ(box->ColorCount(), 16);
    EXPECT_EQ(box->GetSelected(), clBlack);
    int changes = 0;
    box->OnChange.Bind([&](TObject*) { ++changes; });
    box->SetSelected(clRed);
    EXPECT_EQ(box->GetSelected(), clRed);
    EXPECT_EQ(box->GetText(), u"Red");
    EXPECT_EQ(changes, 0);
    // A palette colour no item has: added at the end, under its number, once.
    const TColor palette = static_cast<TColor>(0xA36644);
    box->SetSelected(palette);
    box->SetSelected(clLime);
    box->SetSelected(palette);
    EXPECT_EQ(box->ColorCount(), 17);
    EXPECT_EQ(box->GetSelected(), palette);
    EXPECT_EQ(box->GetColors(16), palette);
    static_cast<QComboBox*>(box->Widget())->setCurrentIndex(12);
    emit static_cast<QComboBox*>(box->Widget())->activated(12);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(box->GetSelected(), clBlue);
}

} // namespace
