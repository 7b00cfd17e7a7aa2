// The panel unit: date-time steps, editor options and the chart panel.
#include "chart/canvas/zuzprocs.h"

#include "chart/canvas/zuzconst.h"
#include "platform/core/sysutils.h"
#include "platform/gui/forms.h"
#include "platform/win32/gdiqt.h"
#include "platform/win32/registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------
// Date-time steps

TEST(DateTimeSteps, FindNextAndDefaultFormat) {
    EXPECT_EQ(FindDateTimeStep(1.0 / 24), dtOneHour);
    EXPECT_EQ(FindDateTimeStep(0.3), dtNone);
    EXPECT_EQ(FindDateTimeStep(365), dtOneYear);
    EXPECT_DOUBLE_EQ(NextDateTimeStep(1.0 / 1440), 5.0 / 1440);
    EXPECT_DOUBLE_EQ(NextDateTimeStep(400), 365);
    EXPECT_DOUBLE_EQ(NextDateTimeStep(182), 365);
    const TFormatSettings keep = FormatSettings;
    FormatSettings = RussianFormatSettings();
    EXPECT_EQ(DateTimeDefaultFormat(1), FormatSettings.ShortTimeFormat);
    EXPECT_EQ(DateTimeDefaultFormat(2), FormatSettings.ShortDateFormat);
    FormatSettings = keep;
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2023, 2), 28);
}

TEST(DateTimeSteps, RoundingToCalendarSteps) {
    EXPECT_EQ(ZuzRoundDate(EncodeDate(2024, 5, 20) + 0.7, dtHalfMonth), EncodeDate(2024, 5, 15));
    EXPECT_EQ(ZuzRoundDate(EncodeDate(2024, 5, 14), dtHalfMonth), EncodeDate(2024, 5, 1));
    EXPECT_EQ(ZuzRoundDate(EncodeDate(2024, 5, 14), dtThreeMonths), EncodeDate(2024, 5, 1));
    EXPECT_EQ(ZuzRoundDate(EncodeDate(2024, 5, 14), dtOneYear), EncodeDate(2024, 1, 1));
    EXPECT_EQ(ZuzRoundDate(10.5, dtOneDay), 10); // halves to even
    EXPECT_EQ(ZuzRoundDate(11.5, dtOneDay), 12);
    EXPECT_EQ(ZuzRoundDate(0, dtOneYear), 0);
    EXPECT_EQ(ZuzRoundDate(12.3, dtOneHour), 12.3);
}

TEST(DateTimeSteps, IncrementsMoveByCalendarUnits) {
    double v = EncodeDate(2024, 1, 20);
    ZuzDateTimeIncrement(true, false, v, 30, dtOneMonth);
    EXPECT_EQ(v, EncodeDate(2023, 12, 1));
    v = EncodeDate(2024, 3, 1);
    ZuzDateTimeIncrement(true, false, v, 15, dtHalfMonth);
    EXPECT_EQ(v, EncodeDate(2024, 2, 15));
    v = EncodeDate(2024, 3, 20);
    ZuzDateTimeIncrement(true, false, v, 15, dtHalfMonth);
    EXPECT_EQ(v, EncodeDate(2024, 3, 15));
    // Forward half months advance: to the 15th, then to the 1st of the next month.
    v = EncodeDate(2024, 12, 3);
    ZuzDateTimeIncrement(true, true, v, 15, dtHalfMonth);
    EXPECT_EQ(v, EncodeDate(2024, 12, 15));
    ZuzDateTimeIncrement(true, true, v, 15, dtHalfMonth);
    EXPECT_EQ(v, EncodeDate(2025, 1, 1));
    v = EncodeDate(2024, 11, 9);
    ZuzDateTimeIncrement(true, true, v, 120, dtFourMonths);
    EXPECT_EQ(v, EncodeDate(2025, 3, 1));
    v = EncodeDate(2020, 6, 1);
    ZuzDateTimeIncrement(true, true, v, 730, dtOneYear);
    EXPECT_EQ(v, EncodeDate(2022, 6, 1));
    v = 10;
    ZuzDateTimeIncrement(false, true, v, 2.5, dtOneYear);
    EXPECT_EQ(v, 12.5);
}

// ---------------------------------------------------------------------------
// Editor options

TEST(EditorOptions, DefaultsUntilSavedAndNoKeyMadeByReading) {
    const fs::path dir = fs::temp_directory_path() / ("moltren-options-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    win32::SetRegistryDirectory(dir);
    EXPECT_TRUE(ZuzReadBoolOption(u"TreeMode", true));
    EXPECT_EQ(ZuzReadIntegerOption(u"GalleryWidth", 77), 77);
    EXPECT_FALSE(fs::exists(dir / "registry"));
    ZuzSaveBoolOption(u"TreeMode", false);
    ZuzSaveIntegerOption(u"GalleryWidth", 512);
    ZuzSaveStringOption(u"GalleryMode", u"Tabs");
    EXPECT_FALSE(ZuzReadBoolOption(u"TreeMode", true));
    EXPECT_EQ(ZuzReadIntegerOption(u"GalleryWidth", 77), 512);
    EXPECT_EQ(ZuzReadStringOption(u"GalleryMode", u""), u"Tabs");
    EXPECT_THROW(ZuzReadIntegerOption(u"GalleryMode", 0), ERegistryException);
    win32::SetRegistryDirectory({});
    fs::remove_all(dir);
}

// ---------------------------------------------------------------------------
// The chart panel

namespace {

class PanelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InitFormsUnit();
        ZuzConstInitialization();
        GdiSetTextAntialiasing(false);
    }
};

// Paints what the extended panel will: background, frame and bevels, and
// here the chart rectangle's outline.
class TTestPanel : public TCustomZuzPanel {
public:
    using TCustomZuzPanel::TCustomZuzPanel;
    int draws = 0;
    bool fail = false;
    void Paint() { TCustomZuzPanel::Paint(); }
    void MouseDownAt(int x, int y) { MouseDown(mbLeft, {}, x, y); }
    void MouseUpAt(int x, int y) { MouseUp(mbLeft, {}, x, y); }
    void MouseMoveTo(int x, int y) { MouseMove({}, x, y); }

protected:
    void InternalDraw(const TRect& R) override {
        ++draws;
        if (fail) throw Exception(u"Missing > at 3");
        TCanvas3D* c = GetCanvas();
        c->Brush->SetColor(GetColor());
        c->Brush->SetStyle(bsSolid);
        c->EraseBackground(R);
        DrawPanelBevels(R);
        c->Brush->SetStyle(bsClear);
        c->Pen->SetColor(clRed);
        c->Pen->SetWidth(1);
        c->Pen->SetStyle(psSolid);
        c->Rectangle(ChartRect);
    }
};

struct Recorder : IZuzEventListener {
    std::vector<std::string>* log;
    std::string name;
    bool cancel = false;
    TCustomZuzPanel* panel = nullptr;
    Recorder(std::vector<std::string>* l, std::string n) : log(l), name(std::move(n)) {}
    void ZuzEvent(TZuzEvent* e) override {
        std::string kind = dynamic_cast<TZuzView3DEvent*>(e) ? "view3d" : "mouse";
        if (auto* m = dynamic_cast<TZuzMouseEvent*>(e)) kind += std::to_string(m->Event);
        log->push_back(name + ":" + kind);
        if (cancel) panel->CancelMouse = true;
    }
};

QColor PixelOf(TBitmap& b, int x, int y) {
    return QColor(BitmapImage(b.GetHandle()).pixel(x, y));
}

} // namespace

TEST_F(PanelTest, ChartRectangleFromMarginsFrameAndShadow) {
    TTestPanel panel(nullptr);
    panel.SetBevelOuter(bvNone);
    panel.ChartBounds = TRect(0, 0, 400, 250);
    panel.CalcPanelChartRect();
    panel.ReCalcWidthHeight();
    EXPECT_EQ(panel.ChartRect, TRect(12, 10, 388, 240));
    EXPECT_EQ(panel.ChartWidth, 376);
    EXPECT_EQ(panel.ChartYCenter, 125);

    panel.SetMarginUnits(muPixels);
    panel.CalcPanelChartRect();
    EXPECT_EQ(panel.ChartRect, TRect(3, 4, 397, 246));
    panel.GetShadow()->SetHorizSize(-3);
    panel.CalcPanelChartRect();
    EXPECT_EQ(panel.ChartRect.Left, 9);
    EXPECT_EQ(panel.ChartRect.Right, 397);
    panel.GetShadow()->SetHorizSize(0);

    panel.SetBevelOuter(bvRaised);
    panel.SetBevelWidth(2);
    panel.GetBorder()->SetVisible(true);
    panel.GetBorder()->SetWidth(3);
    panel.CalcPanelChartRect();
    EXPECT_EQ(panel.ChartRect, TRect(8, 9, 392, 241)); // frame 2 + 3

    // A left edge past the right gives width 1; equal edges the control's width.
    panel.SetMargin(0, 300);
    panel.SetMargin(2, 200);
    panel.CalcPanelChartRect();
    panel.ReCalcWidthHeight();
    EXPECT_EQ(panel.ChartWidth, 1);
    panel.SetMargin(0, 100);
    panel.SetMargin(2, 290);
    panel.CalcPanelChartRect();
    panel.ReCalcWidthHeight();
    EXPECT_EQ(panel.ChartWidth, panel.GetWidth());
}

TEST_F(PanelTest, PaintsThroughTheBufferAndCopiesItWhenClean) {
    TTestPanel panel(nullptr);
    EXPECT_EQ(panel.GetWidth(), 400);
    EXPECT_EQ(panel.GetHeight(), 250);
    panel.Paint();
    EXPECT_EQ(panel.draws, 1);
    panel.Paint(); // clean: only copied
    EXPECT_EQ(panel.draws, 1);
    panel.SetMarginTop(4); // the same value: no repaint
    panel.Paint();
    EXPECT_EQ(panel.draws, 1);
    panel.SetMarginTop(10);
    panel.Paint();
    EXPECT_EQ(panel.draws, 2);
    panel.AutoRepaint = false; // changes made while off start no paint
    panel.GetBorder()->SetColor(clRed);
    panel.Paint();
    EXPECT_EQ(panel.draws, 2);
    panel.AutoRepaint = true;
    panel.SetBufferedDisplay(false);
    panel.Paint();
    panel.Paint();
    EXPECT_EQ(panel.draws, 4); // unbuffered: drawn on every paint
}

TEST_F(PanelTest, AZeroSizePanelDrawsNothingAndAFailedPaintIsReportedOnce) {
    TTestPanel panel(nullptr);
    panel.SetBounds(0, 0, 0, 0);
    TBitmap target;
    panel.Draw(target.GetCanvas(), TRect(0, 0, 0, 0));
    EXPECT_EQ(panel.draws, 1);

    TTestPanel failing(nullptr);
    failing.fail = true;
    EXPECT_THROW(failing.Paint(), Exception);
    EXPECT_NO_THROW(failing.Paint()); // no second report, no repaint loop
    EXPECT_EQ(failing.draws, 1);
    failing.fail = false;
    failing.Invalidate(); // a change: drawn again
    failing.Paint();
    EXPECT_EQ(failing.draws, 2);
}

TEST_F(PanelTest, ListenersHearEventsInOrderAndCancelMouseStopsMouseEvents) {
    TTestPanel panel(nullptr);
    std::vector<std::string> log;
    Recorder a(&log, "a"), b(&log, "b");
    a.panel = b.panel = &panel;
    EXPECT_EQ(panel.GetListeners()->Add(&a), 0);
    EXPECT_EQ(panel.GetListeners()->Add(&b), 1);
    EXPECT_EQ(panel.GetListeners()->Add(&a), 0);
    panel.MouseDownAt(5, 6);
    EXPECT_EQ(log, (std::vector<std::string>{"a:mouse0", "b:mouse0"}));
    log.clear();
    a.cancel = true;
    panel.MouseDownAt(5, 6);
    EXPECT_EQ(log, (std::vector<std::string>{"a:mouse0"}));
    log.clear();
    a.cancel = false;
    panel.MouseUpAt(5, 6); // does not clear the flag
    EXPECT_EQ(log, (std::vector<std::string>{"a:mouse1"}));
    log.clear();
    panel.MouseMoveTo(7, 8); // clears it
    EXPECT_EQ(log, (std::vector<std::string>{"a:mouse2", "b:mouse2"}));
    log.clear();
    a.cancel = true; // other kinds reach everyone
    panel.SetView3D(false);
    EXPECT_EQ(log, (std::vector<std::string>{"a:view3d", "b:view3d"}));
    log.clear();
    panel.SetView3D(false);
    EXPECT_TRUE(log.empty());
    panel.RemoveListener(&a);
    EXPECT_EQ(panel.GetListeners()->Remove(&a), -1);
    EXPECT_EQ(panel.GetListeners()->Count(), 1);
}

TEST_F(PanelTest, SettingsCopyBetweenPanelsAndIntoPictures) {
    TTestPanel source(nullptr);
    source.SetMargin(0, 7);
    source.SetMarginUnits(muPixels);
    source.GetBorder()->SetVisible(true);
    source.SetColor(clYellow);
    source.GetView3DOptions()->SetRotation(20);
    TTestPanel copy(nullptr);
    copy.Assign(&source);
    EXPECT_EQ(copy.GetMargin(0), 7);
    EXPECT_EQ(copy.GetMarginUnits(), muPixels);
    EXPECT_TRUE(copy.GetBorder()->GetVisible());
    EXPECT_EQ(copy.GetBorderStyle(), bsSingle);
    EXPECT_EQ(copy.GetColor(), clYellow);
    EXPECT_EQ(copy.GetView3DOptions()->GetRotationInteger(), 20);

    TBitmap picture;
    picture.Assign(&source);
    EXPECT_EQ(picture.GetWidth(), 400);
    EXPECT_EQ(PixelOf(picture, 200, 2), QColor(255, 255, 0));
    EXPECT_TRUE(source.GetBufferedDisplay()); // back to buffering
}

TEST_F(PanelTest, RendersFrameBevelsAndMarginsIntoAPicture) {
    TTestPanel panel(nullptr);
    panel.SetBounds(0, 0, 240, 160);
    panel.SetColor(clBtnFace);
    panel.SetBevelOuter(bvRaised);
    panel.SetBevelInner(bvLowered);
    panel.SetBevelWidth(2);
    panel.GetBorder()->SetVisible(true);
    panel.GetBorder()->SetColor(clNavy);
    panel.GetBorder()->SetWidth(2);
    panel.SetMarginUnits(muPixels);
    panel.SetMargin(0, 20);
    panel.SetMargin(1, 10);
    panel.SetMargin(2, 30);
    panel.SetMargin(3, 15);
    TBitmap out;
    out.SetSize(240, 160);
    panel.Draw(out.GetCanvas(), TRect(0, 0, 240, 160));

    // Border of width 2 on the outer pixels; the bevels start one further in
    // (the border takes its width plus one), raised then lowered.
    EXPECT_EQ(PixelOf(out, 0, 50), QColor(0, 0, 128));
    EXPECT_EQ(PixelOf(out, 1, 50), QColor(0, 0, 128));
    EXPECT_EQ(PixelOf(out, 2, 50), QColor(240, 240, 240));
    EXPECT_EQ(PixelOf(out, 3, 50), QColor(255, 255, 255)); // raised: light top-left
    EXPECT_EQ(PixelOf(out, 4, 50), QColor(255, 255, 255));
    EXPECT_EQ(PixelOf(out, 5, 50), QColor(160, 160, 160)); // lowered: shadow top-left
    EXPECT_EQ(PixelOf(out, 238, 50), QColor(0, 0, 128));
    EXPECT_EQ(PixelOf(out, 237, 50), QColor(160, 160, 160)); // raised: shadow bottom-right
    // The chart rectangle: frame 2 + 2 + 2 inside, plus the margins.
    EXPECT_EQ(panel.ChartRect, TRect(26, 16, 204, 139));
    EXPECT_EQ(PixelOf(out, 26, 80), QColor(255, 0, 0));
    EXPECT_EQ(PixelOf(out, 203, 80), QColor(255, 0, 0));
    EXPECT_EQ(PixelOf(out, 204, 80), QColor(240, 240, 240));
    const char* dir = std::getenv("MOLTREN_PICTURES");
    const fs::path file = (dir ? fs::path(dir) : fs::temp_directory_path()) / "chart-panel.png";
    EXPECT_TRUE(BitmapImage(out.GetHandle()).save(QString::fromStdString(file.string()), "PNG"));
}
