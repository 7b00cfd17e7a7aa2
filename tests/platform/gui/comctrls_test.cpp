#include "platform/gui/comctrls.h"

#include "platform/core/sysutils.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/imglist.h"
#include "platform/gui/stdctrls.h"
#include "tests/platform/gui/guitest.h"
#include "tests/support/fixedclock.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QImage>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

namespace {

class ComCtrlsTest : public GuiTest {};

struct Pages : TestForm {
    TPageControl* pc = Create<TPageControl>(get());
    TTabSheet* table = Create<TTabSheet>(get());
    TTabSheet* log = Create<TTabSheet>(get());
    Pages() {
        get()->SetClientWidth(400);
        get()->SetClientHeight(300);
        pc->SetParent(get());
        pc->SetAlign(alClient);
        table->SetPageControl(pc);
        table->SetCaption(u"Таблица");
        log->SetPageControl(pc);
        log->SetCaption(u"Лог");
    }
};

TEST_F(ComCtrlsTest, SheetsAreTabsAndTheActivePageChangesSilentlyFromCode) {
    Pages f;
    EXPECT_EQ(f.pc->GetPageCount(), 2);
    EXPECT_EQ(f.pc->GetActivePage(), f.table);
    EXPECT_EQ(f.pc->TabWidget()->tabText(1), QStringLiteral("Лог"));
    int changes = 0;
    f.pc->OnChange.Bind([&](TObject*) { ++changes; });
    f.pc->SetActivePage(f.log);
    EXPECT_EQ(f.pc->GetActivePageIndex(), 1);
    EXPECT_EQ(changes, 0);
    // The user's tab click fires OnChange; OnChanging may refuse it.
    f.pc->TabWidget()->tabBar()->setCurrentIndex(0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(f.pc->GetActivePage(), f.table);
    f.pc->OnChanging.Bind([](TObject*, bool& allow) { allow = false; });
    f.pc->TabWidget()->tabBar()->setCurrentIndex(1);
    EXPECT_EQ(f.pc->GetActivePage(), f.table);
    EXPECT_EQ(f.pc->TabWidget()->currentIndex(), 0);
    EXPECT_EQ(changes, 1);
}

TEST_F(ComCtrlsTest, AClientAlignedControlFillsItsSheet) {
    Pages f;
    auto* inner = Create<TPanel>(f.get());
    inner->SetParent(f.table);
    inner->SetAlign(alClient);
    f->Show();
    ASSERT_TRUE(WaitFor([&] { return f.table->Widget()->isVisible(); }));
    EXPECT_GT(f.table->GetWidth(), 380);
    EXPECT_GT(f.table->GetHeight(), 250);
    EXPECT_LT(f.table->GetHeight(), 300);
    EXPECT_EQ(inner->GetBoundsRect(), Rect(0, 0, f.table->GetWidth(), f.table->GetHeight()));
    EXPECT_EQ(f.table->Widget()->size(), QSize(f.table->GetWidth(), f.table->GetHeight()));
    // Removing a sheet takes its tab away.
    f.log->Free();
    EXPECT_EQ(f.pc->GetPageCount(), 1);
    EXPECT_EQ(f.pc->TabWidget()->count(), 1);
}

TEST_F(ComCtrlsTest, ASheetMovesLiveToAnotherPageControlWithItsControls) {
    Pages from;
    TestForm to;
    to->SetBounds(420, 0, 300, 200);
    auto* host = Create<TPageControl>(to.get());
    host->SetParent(to.get());
    host->SetAlign(alClient);
    auto* own = Create<TTabSheet>(to.get());
    own->SetPageControl(host);
    auto* edit = Create<TEdit>(from.get());
    edit->SetParent(from.table);
    edit->SetText(u"12");
    from->Show();
    to->Show();
    from.table->SetPageControl(host);
    // The old control gives up the sheet and its tab and shows what is left.
    EXPECT_EQ(from.pc->GetPageCount(), 1);
    EXPECT_EQ(from.pc->TabWidget()->count(), 1);
    EXPECT_EQ(from.pc->GetActivePage(), from.log);
    // The new one puts it last, with its caption and its controls.
    ASSERT_EQ(host->GetPageCount(), 2);
    EXPECT_EQ(host->GetPage(1), from.table);
    EXPECT_EQ(host->TabWidget()->tabText(1), QStringLiteral("Таблица"));
    EXPECT_EQ(edit->GetParent(), from.table);
    EXPECT_EQ(edit->GetText(), u"12");
    EXPECT_FALSE(edit->GetShowing());
    host->SetActivePage(from.table);
    EXPECT_TRUE(edit->GetShowing());
    ASSERT_TRUE(WaitFor([&] { return edit->Widget()->isVisible(); }));
    EXPECT_GT(from.table->GetWidth(), 250);
    // Its owner still frees it, out of the page control that holds it.
    from.table->Free();
    EXPECT_EQ(host->GetPageCount(), 1);
    EXPECT_EQ(host->TabWidget()->count(), 1);
}

TEST_F(ComCtrlsTest, StatusPanelsShareTheBarAndTheLastTakesTheRest) {
    TestForm f;
    f->SetClientWidth(756);
    f->SetClientHeight(561);
    auto* bar = Create<TStatusBar>(f.get());
    bar->SetParent(f.get());
    for (int i = 0; i < 4; ++i) bar->GetPanels()->Add()->SetWidth(150);
    EXPECT_EQ(bar->GetAlign(), alBottom);
    EXPECT_EQ(bar->GetTop(), 561 - bar->GetHeight());
    EXPECT_EQ(bar->PanelRect(1), Rect(150, 2, 300, bar->GetHeight()));
    EXPECT_EQ(bar->PanelRect(3).Right, 756);
    (*bar->GetPanels())[0]->SetText(u"Err");
    EXPECT_EQ(bar->GetPanels()->GetItem(0)->GetText(), u"Err");
}

TEST_F(ComCtrlsTest, ToolButtonsLineUpWithTheirImages) {
    TestForm f;
    auto* images = Create<TImageList>(f.get());
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    images->AddImage(red);
    images->AddImage(red);
    auto* bar = Create<TToolBar>(f.get());
    bar->SetParent(f.get());
    bar->SetImages(images);
    auto* b1 = Create<TToolButton>(f.get());
    b1->SetParent(bar);
    b1->SetImageIndex(0);
    auto* sep = Create<TToolButton>(f.get());
    sep->SetLeft(100);
    sep->SetParent(bar);
    sep->SetStyle(tbsSeparator);
    auto* b2 = Create<TToolButton>(f.get());
    b2->SetLeft(200);
    b2->SetParent(bar);
    b2->SetImageIndex(1);
    EXPECT_EQ(b1->GetBoundsRect(), Bounds(0, 2, 23, 22));
    EXPECT_EQ(sep->GetBoundsRect(), Bounds(23, 2, 8, 22));
    EXPECT_EQ(b2->GetLeft(), 31);
    EXPECT_FALSE(static_cast<QToolButton*>(b1->Widget())->icon().isNull());
    EXPECT_TRUE(static_cast<QToolButton*>(sep->Widget())->icon().isNull());
    // The images travel as one PNG strip.
    const Owned<TImageList> copyHolder{Create<TImageList>(nullptr)};
    TImageList& copy = *copyHolder;
    ASSERT_TRUE(copy.LoadFromPng(images->SaveToPng()));
    EXPECT_EQ(copy.GetCount(), 2);
    EXPECT_EQ(copy.ImageAt(1).pixelColor(3, 3), QColor(Qt::red));
}

TEST_F(ComCtrlsTest, APickerKeepsTheDayAndShowsTheLocalesFormat) {
    const TFormatSettings saved = FormatSettings;
    FormatSettings = RussianFormatSettings();
    TestForm f;
    auto* p = Create<TDateTimePicker>(f.get());
    p->SetParent(f.get());
    int changes = 0;
    p->OnChange.Bind([&](TObject*) { ++changes; });
    const TDateTime day = EncodeDate(2009, 10, 5);
    p->SetDateTime(day + EncodeTime(12, 30, 0, 0));
    p->SetDate(EncodeDate(2009, 10, 6));
    EXPECT_EQ(p->GetDate(), EncodeDate(2009, 10, 6));
    EXPECT_NEAR(p->GetTime(), EncodeTime(12, 30, 0, 0), 1e-9);
    EXPECT_EQ(changes, 0);
    auto* edit = static_cast<QDateTimeEdit*>(p->Widget());
    EXPECT_EQ(edit->displayFormat(), QStringLiteral("dd.MM.yyyy"));
    EXPECT_EQ(edit->text(), QStringLiteral("06.10.2009"));
    edit->setDate(QDate(2009, 10, 7));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(p->GetDate(), EncodeDate(2009, 10, 7));
    // A new picker shows today.
    {
        const FixedClock clock(EncodeDate(2023, 3, 15) + EncodeTime(23, 59, 59, 999));
        auto* today = Create<TDateTimePicker>(f.get());
        EXPECT_EQ(today->GetDate(), EncodeDate(2023, 3, 15));
    }
    FormatSettings = saved;
}

TEST(DateFormats, PatternsOfTheClassLibraryInQtTerms) {
    EXPECT_EQ(gui_detail::ToQtDateFormat(u"dd/mm/yyyy", u'.', u':'), QStringLiteral("dd.MM.yyyy"));
    EXPECT_EQ(gui_detail::ToQtDateFormat(u"hh:nn:ss", u'.', u':'), QStringLiteral("HH:mm:ss"));
    EXPECT_EQ(gui_detail::ToQtDateFormat(u"H:mm:ss", u'.', u'-'), QStringLiteral("H-mm-ss"));
    EXPECT_EQ(gui_detail::ToQtDateFormat(u"d mmmm yyyy", u'.', u':'), QStringLiteral("d MMMM yyyy"));
    EXPECT_EQ(gui_detail::ToQtDateFormat(u"h:mm:ss AMPM", u'.', u':'), QStringLiteral("h:mm:ss AP"));
    EXPECT_EQ(gui_detail::ToQtDateFormat(u"hh:nn am/pm", u'.', u':'), QStringLiteral("hh:mm ap"));
    for (TDateTime t : {0.0, 40091.5208333333, -1.25, 2.999999})
        EXPECT_NEAR(gui_detail::FromQDateTime(gui_detail::ToQDateTime(t)), t, 1e-6);
    EXPECT_EQ(gui_detail::ToQDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
}

} // namespace

namespace {

class StatusBarTest : public GuiTest {};

TEST_F(StatusBarTest, PanelTextsAreDrawnInTheirPanels) {
    TestForm f;
    f->SetClientWidth(600);
    f->SetClientHeight(100);
    auto* bar = Create<TStatusBar>(f.get());
    bar->SetParent(f.get());
    for (int i = 0; i < 4; ++i) bar->GetPanels()->Add()->SetWidth(150);
    f->Show();
    const QImage empty = bar->Widget()->grab().toImage();
    bar->GetPanels()->GetItem(1)->SetText(u"42 байт принято");
    const QImage written = bar->Widget()->grab().toImage();
    auto differs = [&](int from, int to) {
        for (int x = from; x < to; ++x)
            for (int y = 0; y < empty.height(); ++y)
                if (empty.pixel(x, y) != written.pixel(x, y)) return true;
        return false;
    };
    EXPECT_FALSE(differs(0, 150));
    EXPECT_TRUE(differs(150, 300));
    EXPECT_FALSE(differs(300, 600));
}

// Up-down arrows beside an edit: they take its right end, show their position in it, step
// from a number typed there, and stop at the ends of their range.
TEST_F(ComCtrlsTest, UpDownArrowsStepTheirEditsNumberWithinTheirRange) {
    TestForm f;
    auto* edit = Create<TEdit>(f.get());
    edit->SetParent(f.get());
    edit->SetBounds(10, 10, 100, 21);
    auto* arrows = Create<TUpDown>(f.get());
    arrows->SetMin(1);
    arrows->SetMax(10);
    arrows->SetAssociate(edit);
    EXPECT_EQ(edit->GetWidth() + arrows->GetWidth(), 100);
    EXPECT_EQ(arrows->GetLeft(), 10 + edit->GetWidth());
    EXPECT_EQ(edit->GetText(), u"1");
    std::vector<TUDBtnType> clicks;
    arrows->OnClick.Bind([&](TObject*, TUDBtnType b) { clicks.push_back(b); });
    edit->SetText(u"9");
    arrows->Click(btNext);
    EXPECT_EQ(edit->GetText(), u"10");
    arrows->Click(btNext);
    EXPECT_EQ(arrows->GetPosition(), 10);
    arrows->SetPosition(-5);
    EXPECT_EQ(edit->GetText(), u"1");
    EXPECT_EQ(clicks.size(), 2u);
    edit->Free(); // the arrows forget an edit that is gone
    EXPECT_EQ(arrows->GetAssociate(), nullptr);
    arrows->Click(btPrev);
}

TEST_F(ComCtrlsTest, AWrappingUpDownStepsPastOneEndToTheOther) {
    TestForm f;
    auto* edit = Create<TEdit>(f.get());
    edit->SetParent(f.get());
    auto* arrows = Create<TUpDown>(f.get());
    arrows->SetMax(360);
    arrows->SetIncrement(5);
    arrows->SetWrap(true);
    arrows->SetAssociate(edit);
    arrows->SetPosition(358);
    arrows->Click(btNext);
    EXPECT_EQ(edit->GetText(), u"0");
    arrows->Click(btPrev);
    EXPECT_EQ(edit->GetText(), u"360");
    arrows->SetWrap(false);
    arrows->Click(btNext);
    EXPECT_EQ(edit->GetText(), u"360");
}

TEST_F(ComCtrlsTest, AnUpDownReadFromAFormKeepsTheNarrowedEditItWasStoredWith) {
    TestForm f;
    auto* edit = Create<TEdit>(f.get());
    edit->SetParent(f.get());
    edit->SetBounds(32, 14, 28, 21);
    auto* arrows = Create<TUpDown>(f.get());
    arrows->SetParent(f.get());
    arrows->SetBounds(60, 14, 15, 21);
    arrows->IncludeState(csLoading);
    arrows->SetAssociate(edit);
    arrows->ExcludeState(csLoading);
    EXPECT_EQ(edit->GetWidth(), 28);
    EXPECT_EQ(arrows->GetLeft(), 60);
    EXPECT_EQ(arrows->GetAssociate(), edit);
}

TEST_F(ComCtrlsTest, AnUpDownReadsTheNumberTypedIntoItsEditHeldInRange) {
    TestForm f;
    auto* edit = Create<TEdit>(f.get());
    edit->SetParent(f.get());
    auto* arrows = Create<TUpDown>(f.get());
    arrows->SetMin(1);
    arrows->SetMax(100);
    arrows->SetPosition(95);
    arrows->SetAssociate(edit);
    edit->SetText(u"40");
    EXPECT_EQ(arrows->GetPosition(), 40);
    edit->SetText(u"400");
    EXPECT_EQ(arrows->GetPosition(), 100);
    edit->SetText(u"-3");
    EXPECT_EQ(arrows->GetPosition(), 1);
    edit->SetText(u"");
    EXPECT_EQ(arrows->GetPosition(), 95); // no number: the last position holds
}

// A range changed while the page is up (percent to pixels and back) holds the number shown.
TEST_F(ComCtrlsTest, AnUpDownsNewRangeHoldsTheNumberInItsEditNotAnOlderPosition) {
    TestForm f;
    auto* edit = Create<TEdit>(f.get());
    edit->SetParent(f.get());
    auto* arrows = Create<TUpDown>(f.get());
    arrows->SetMin(-2000);
    arrows->SetMax(2000);
    arrows->SetAssociate(edit);
    arrows->SetPosition(3);
    edit->SetText(u"150");
    arrows->SetMax(1000);
    EXPECT_EQ(edit->GetText(), u"150");
    arrows->SetMin(0);
    arrows->SetMax(100);
    EXPECT_EQ(edit->GetText(), u"100");
    EXPECT_EQ(arrows->GetPosition(), 100);
    arrows->SetMin(-2000);
    arrows->SetMax(2000);
    EXPECT_EQ(arrows->GetPosition(), 100);
}

TEST_F(ComCtrlsTest, ATrackBarHoldsItsPositionInRangeAndSaysEveryMove) {
    TestForm f;
    auto* bar = Create<TTrackBar>(f.get());
    bar->SetParent(f.get());
    EXPECT_EQ(bar->GetMax(), 10);
    EXPECT_EQ(bar->GetPageSize(), 2);
    std::vector<int> moves;
    bar->OnChange.Bind([&](TObject*) { moves.push_back(bar->GetPosition()); });
    bar->SetMax(100);
    bar->SetPosition(99);
    bar->SetPosition(99); // no move, no event
    bar->SetPosition(150);
    EXPECT_EQ(bar->GetPosition(), 100);
    bar->SetMax(50); // the range closes in on the position
    EXPECT_EQ(bar->GetPosition(), 50);
    bar->SetMin(-75);
    bar->SetPosition(-80);
    EXPECT_EQ((moves), (std::vector<int>{99, 100, 50, -75}));
    bar->SetMin(60); // above the maximum: the maximum follows
    EXPECT_EQ(bar->GetMax(), 60);
    EXPECT_EQ(bar->GetPosition(), 60);

    // The user's move through the slider.
    auto* slider = qobject_cast<QSlider*>(bar->Widget());
    ASSERT_NE(slider, nullptr);
    bar->SetMin(0);
    bar->SetLineSize(2);
    bar->SetPosition(10);
    moves.clear();
    slider->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar->GetPosition(), 12);
    EXPECT_EQ(moves, std::vector<int>{12});
    bar->SetTickStyle(tsNone);
    EXPECT_EQ(slider->tickPosition(), QSlider::NoTicks);
    bar->SetTickStyle(tsAuto);
    bar->SetTickMarks(tmBoth);
    bar->SetFrequency(10);
    EXPECT_EQ(slider->tickPosition(), QSlider::TicksBothSides);
    EXPECT_EQ(slider->tickInterval(), 10);
}

} // namespace

TEST_F(ComCtrlsTest, AComboBoxExShowsItsItemsWithTheirPictures) {
    TestForm f;
    auto* images = Create<TImageList>(f.get());
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    images->AddImage(red);
    images->AddImage(red);
    auto* box = Create<TComboBoxEx>(f.get());
    box->SetParent(f.get());
    box->SetStyleEx(csExDropDownList);
    box->GetItemsEx()->AddItem(u"Сплошная", 0);
    box->GetItemsEx()->AddItem(u"Штриховая", 1);
    box->SetImages(images);
    box->GetItemsEx()->AddItem(u"Точки", 5); // no such picture: shown without one
    ASSERT_EQ(box->GetItems()->GetCount(), 3);
    EXPECT_EQ(box->GetItems()->GetStrings(2), u"Точки");
    auto* combo = static_cast<QComboBox*>(box->Widget());
    EXPECT_FALSE(combo->itemIcon(1).isNull());
    EXPECT_TRUE(combo->itemIcon(2).isNull());
    box->SetItemIndex(1);
    box->GetItemsEx()->GetItem(1)->SetCaption(u"Штрих");
    EXPECT_EQ(box->GetItemIndex(), 1);
    EXPECT_EQ(box->GetText(), u"Штрих");
    // The list goes before the box: the box forgets it.
    images->Free();
    EXPECT_EQ(box->GetImages(), nullptr);
}
