// The panel unit: date-time steps, editor options and the chart panel.
#include "chart/canvas/zuzprocs.h"

#include "chart/canvas/zuzconst.h"
#include "platform/core/objecttext.h"
#include "platform/core/streams.h"
#include "platform/core/sysutils.h"
#include "platform/gui/forms.h"
#include "platform/win32/registry.h"
#include "tests/support/guiprobe.h"
#include "tests/support/picturefile.h"
#include "tests/support/streamtext.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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
    // An axis ending on the 15th keeps its top label there.
    EXPECT_EQ(ZuzRoundDate(EncodeDate(2024, 5, 15) + 0.5, dtHalfMonth), EncodeDate(2024, 5, 15));
    EXPECT_EQ(ZuzRoundDate(EncodeDate(2024, 5, 14), dtThreeMonths), EncodeDate(2024, 5, 1));
    EXPECT_EQ(ZuzRoundDate(EncodeDate(2024, 5, 14), dtOneYear), EncodeDate(2024, 1, 1));
    EXPECT_EQ(ZuzRoundDate(10.5, dtOneDay), 10); // halves to even
    EXPECT_EQ(ZuzRoundDate(11.5, dtOneDay), 12);
    EXPECT_EQ(ZuzRoundDate(0, dtOneYear), 0);
    EXPECT_EQ(ZuzRoundDate(12.3, dtOneHour), 12.3);
}

TEST(DateTimeSteps, IncrementsMoveByCalendarUnits) {
    struct Case {
        TDateTime from;
        bool forward;
        double increment;
        TDateTimeStep step;
        TDateTime to;
    };
    const Case cases[] = {
        {EncodeDate(2024, 1, 20), false, 30, dtOneMonth, EncodeDate(2023, 12, 1)},
        {EncodeDate(2024, 3, 1), false, 15, dtHalfMonth, EncodeDate(2024, 2, 15)},
        {EncodeDate(2024, 3, 20), false, 15, dtHalfMonth, EncodeDate(2024, 3, 15)},
        {EncodeDate(2024, 3, 16), false, 15, dtHalfMonth, EncodeDate(2024, 3, 15)},
        {EncodeDate(2024, 3, 15), false, 15, dtHalfMonth, EncodeDate(2024, 3, 1)},
        // Forward half months advance: to the 15th, then to the 1st of the next month.
        {EncodeDate(2024, 12, 3), true, 15, dtHalfMonth, EncodeDate(2024, 12, 15)},
        {EncodeDate(2024, 12, 15), true, 15, dtHalfMonth, EncodeDate(2025, 1, 1)},
        {EncodeDate(2024, 11, 9), true, 120, dtFourMonths, EncodeDate(2025, 3, 1)},
        {EncodeDate(2020, 6, 1), true, 730, dtOneYear, EncodeDate(2022, 6, 1)},
        // Yearly steps from the 29th of February land on the 28th in common years.
        {EncodeDate(2024, 2, 29), true, 365, dtOneYear, EncodeDate(2025, 2, 28)},
        {EncodeDate(2024, 2, 29), false, 365, dtOneYear, EncodeDate(2023, 2, 28)},
    };
    for (const Case& c : cases) {
        double v = c.from;
        ZuzDateTimeIncrement(true, c.forward, v, c.increment, c.step);
        EXPECT_EQ(v, c.to) << UTF8Encode(DateToStr(c.from)) << (c.forward ? " + " : " - ") << c.increment;
    }
    double v = 10;
    ZuzDateTimeIncrement(false, true, v, 2.5, dtOneYear);
    EXPECT_EQ(v, 12.5);
}

// ---------------------------------------------------------------------------
// Editor options

TEST(EditorOptions, DefaultsUntilSavedAndNoKeyMadeByReading) {
    const TempDir scratch("moltren-options");
    const fs::path dir = scratch.path;
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
    win32::SetRegistryDirectory({});
}

// A settings folder that cannot be made or written (a read-only home, a folder of another user)
// costs the options, not a message box at every close of an editor.
TEST(EditorOptions, OptionsThatCannotBeKeptAreSkippedSilently) {
    const TempDir scratch("moltren-options");
    std::ofstream(scratch.path / "file") << "not a folder";
    win32::SetRegistryDirectory(scratch.path / "file" / "settings");
    EXPECT_NO_THROW(ZuzSaveBoolOption(u"TreeMode", false));
    EXPECT_NO_THROW(ZuzSaveIntegerOption(u"GalleryWidth", 512));
    EXPECT_NO_THROW(ZuzSaveStringOption(u"GalleryMode", u"Tabs"));
    EXPECT_TRUE(ZuzReadBoolOption(u"TreeMode", true));
    EXPECT_EQ(ZuzReadIntegerOption(u"GalleryWidth", 77), 77);
    win32::SetRegistryDirectory({});
}

// A value of another type (edited by hand, or left by another version) must not keep the forms
// that read their options on creation from opening.
TEST(EditorOptions, AValueOfAnotherTypeReadsAsTheDefault) {
    const TempDir scratch("moltren-options");
    win32::SetRegistryDirectory(scratch.path);
    ZuzSaveStringOption(u"GalleryMode", u"Tabs");
    ZuzSaveIntegerOption(u"GalleryWidth", 512);
    EXPECT_EQ(ZuzReadIntegerOption(u"GalleryMode", 7), 7);
    EXPECT_TRUE(ZuzReadBoolOption(u"GalleryMode", true));
    EXPECT_EQ(ZuzReadStringOption(u"GalleryWidth", u"Tree"), u"Tree");
    win32::SetRegistryDirectory({});
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
    std::vector<TPanelLayout> seen; // the layout each draw found
    void Paint() override { TCustomZuzPanel::Paint(); }
    void MouseDownAt(int x, int y) { MouseDown(mbLeft, {}, x, y); }
    void MouseUpAt(int x, int y) { MouseUp(mbLeft, {}, x, y); }
    void MouseMoveTo(int x, int y) { MouseMove({}, x, y); }

protected:
    void InternalDraw(const TRect& R) override {
        ++draws;
        seen.push_back(GetLayout());
        TCanvas3D* c = GetCanvas();
        if (fail) {
            // Fails half-way, inside a front plane and a clip.
            c->FrontPlaneBegin();
            c->ClipRectangle(TRect(0, 0, 5, 5));
            throw Exception(u"Missing > at 3");
        }
        c->Projection(0, R, GetChartRect()); // as the engine does
        c->Brush->SetColor(GetColor());
        c->Brush->SetStyle(bsSolid);
        c->EraseBackground(R);
        DrawPanelBevels(R);
        c->Brush->SetStyle(bsClear);
        c->Pen->SetColor(clRed);
        c->Pen->SetWidth(1);
        c->Pen->SetStyle(psSolid);
        c->Rectangle(GetChartRect());
    }
};

// The panel's settings as its descendants publish them.
class TPublishedPanel : public TTestPanel {
public:
    static const ClassInfo& StaticClass() {
        using P = TCustomZuzPanel;
        static const PropInfo props[] = {
            MakeProp<&P::GetBorder, &P::SetBorder>("Border"),
            MakeProp<&P::GetBorderRound, &P::SetBorderRound>("BorderRound").Default(0),
            MakeProp<&P::GetMarginLeft, &P::SetMarginLeft>("MarginLeft").Default(3),
            MakeProp<&P::GetMarginTop, &P::SetMarginTop>("MarginTop").Default(4),
            MakeProp<&P::GetMarginRight, &P::SetMarginRight>("MarginRight").Default(3),
            MakeProp<&P::GetMarginBottom, &P::SetMarginBottom>("MarginBottom").Default(4),
            MakeProp<&P::GetMarginUnits, &P::SetMarginUnits>("MarginUnits").Default(muPercent),
            MakeProp<&P::GetMonochrome, &P::SetMonochrome>("Monochrome").Default(0),
            MakeProp<&P::GetPrintProportional, &P::SetPrintProportional>("PrintProportional").Default(1),
            MakeProp<&P::GetPrintResolution, &P::SetPrintResolution>("PrintResolution").Default(0),
            MakeProp<&P::GetShadow, &P::SetShadow>("Shadow"),
            MakeProp<&P::GetView3D, &P::SetView3D>("View3D").Default(1),
            MakeProp<&P::GetView3DOptions, &P::SetView3DOptions>("View3DOptions"),
            MakeProp<&P::GetBufferedDisplay, &P::SetBufferedDisplay>("BufferedDisplay").Default(1),
        };
        static const ClassInfo ci =
            MakeClassInfo<TPublishedPanel>("TPublishedPanel", &TCustomZuzPanel::StaticClass(), props);
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TTestPanel::TTestPanel;
};

using streamtext::ObjectText;

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

probe::Rgb PixelOf(TBitmap& b, int x, int y) {
    return probe::Pixel(b, x, y);
}

probe::Rgb PixelOf(TCanvas& c, int x, int y) {
    const auto p = static_cast<COLORREF>(c.GetPixel(x, y));
    return {GetRValue(p), GetGValue(p), GetBValue(p)};
}

// The button face, the panel's own colour.
probe::Rgb Face() {
    const auto p = static_cast<COLORREF>(ColorToRGB(clBtnFace));
    return {GetRValue(p), GetGValue(p), GetBValue(p)};
}

} // namespace

TEST_F(PanelTest, ChartRectangleFromMarginsFrameAndShadow) {
    const Owned<TTestPanel> panelHolder{Create<TTestPanel>(nullptr)};
    TTestPanel& panel = *panelHolder;
    panel.SetBevelOuter(bvNone);
    const TRect bounds(0, 0, 400, 250);
    TPanelLayout layout = panel.LayoutFor(bounds);
    EXPECT_EQ(layout.ChartRect, TRect(12, 10, 388, 240));
    EXPECT_EQ(layout.ChartWidth, 376);
    EXPECT_EQ(layout.ChartYCenter, 125);

    panel.SetMarginUnits(muPixels);
    EXPECT_EQ(panel.LayoutFor(bounds).ChartRect, TRect(3, 4, 397, 246));
    panel.GetShadow()->SetHorizSize(-3);
    layout = panel.LayoutFor(bounds);
    EXPECT_EQ(layout.ChartRect.Left, 9);
    EXPECT_EQ(layout.ChartRect.Right, 397);
    panel.GetShadow()->SetHorizSize(0);

    panel.SetBevelOuter(bvRaised);
    panel.SetBevelWidth(2);
    panel.GetBorder()->SetVisible(true);
    panel.GetBorder()->SetWidth(3);
    EXPECT_EQ(panel.LayoutFor(bounds).ChartRect, TRect(8, 9, 392, 241)); // frame 2 + 3

    // A left edge past the right gives width 1; equal edges the control's width.
    panel.SetMargin(0, 300);
    panel.SetMargin(2, 200);
    EXPECT_EQ(panel.LayoutFor(bounds).ChartWidth, 1);
    panel.SetMargin(0, 100);
    panel.SetMargin(2, 290);
    EXPECT_EQ(panel.LayoutFor(bounds).ChartWidth, panel.GetWidth());
    // A file's margins and frame are held to what the editor offers.
    panel.SetMargin(0, 2147483647);
    panel.SetMargin(3, -2147483647 - 1);
    panel.SetBevelWidth(2147483647);
    panel.SetBorderWidth(2147483647);
    EXPECT_EQ(panel.GetMarginLeft(), 2000);
    EXPECT_EQ(panel.GetMarginBottom(), -2000);
    EXPECT_EQ(panel.GetBevelWidth(), 100);
    EXPECT_EQ(panel.GetBorderWidth(), 100);
}

TEST_F(PanelTest, PaintsThroughTheBufferAndCopiesItWhenClean) {
    const Owned<TTestPanel> panelHolder{Create<TTestPanel>(nullptr)};
    TTestPanel& panel = *panelHolder;
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
    const Owned<TTestPanel> panelHolder{Create<TTestPanel>(nullptr)};
    TTestPanel& panel = *panelHolder;
    panel.SetBounds(0, 0, 0, 0);
    TBitmap target;
    panel.Draw(target.GetCanvas(), TRect(0, 0, 0, 0));
    EXPECT_EQ(panel.draws, 1);
    panel.Invalidate();
    EXPECT_NO_THROW(panel.Paint()); // on its own window too
    EXPECT_EQ(panel.draws, 2);

    const Owned<TTestPanel> failingHolder{Create<TTestPanel>(nullptr)};

    TTestPanel& failing = *failingHolder;
    failing.fail = true;
    EXPECT_THROW(failing.Paint(), Exception);
    EXPECT_NO_THROW(failing.Paint()); // no second report, no repaint loop
    EXPECT_EQ(failing.draws, 1);
    failing.fail = false;
    failing.Invalidate(); // a change: drawn again
    failing.Paint();
    EXPECT_EQ(failing.draws, 2);
    // ...unspoilt by the front plane and the clip the failed one left open.
    EXPECT_EQ(failing.GetCanvas()->FrontPlaneCount(), 0);
    EXPECT_EQ(PixelOf(*failing.GetControlCanvas(), 200, 100), Face());

    // A picture that fails to draw leaves the panel buffered and repainting, in its own layout.
    const TPanelLayout window = failing.GetLayout();
    failing.fail = true;
    TBitmap picture;
    EXPECT_THROW(picture.Assign(&failing), Exception);
    EXPECT_TRUE(failing.GetBufferedDisplay());
    EXPECT_TRUE(failing.AutoRepaint);
    EXPECT_EQ(failing.GetCanvas()->FrontPlaneCount(), 0);
    EXPECT_FALSE(failing.GetPrinting());
    EXPECT_EQ(failing.GetLayout().ChartRect, window.ChartRect);
    EXPECT_EQ(failing.GetCanvas()->XCenter(), window.ChartXCenter);
    const int drawn = failing.draws;
    failing.fail = false;
    failing.Paint();
    EXPECT_EQ(failing.draws, drawn + 1);
    EXPECT_EQ(failing.seen.back().ChartRect, window.ChartRect);
}

TEST_F(PanelTest, DrawsOnTheControlsOwnCanvasSoDrawingOutsidePaintShows) {
    const Owned<TTestPanel> panelHolder{Create<TTestPanel>(nullptr)};
    TTestPanel& panel = *panelHolder;
    TCanvas* own = static_cast<TCustomControl&>(panel).GetCanvas();
    EXPECT_EQ(panel.GetControlCanvas(), own);
    panel.Paint();
    int shown = 0;
    const TNotifyEvent keep = own->OnChange;
    own->OnChange = TNotifyEvent([&](TObject*) { ++shown; });
    // A rubber band drawn from a mouse handler, straight through the chart canvas.
    TCanvas3D* c = panel.GetCanvas();
    EXPECT_EQ(c->ReferenceCanvas, own);
    c->Pen->SetMode(pmNotXor);
    c->Brush->SetStyle(bsClear);
    c->Rectangle(10, 10, 50, 40);
    c->Line(0, 0, 30, 30);
    EXPECT_EQ(shown, 2);
    own->OnChange = keep;
}

TEST_F(PanelTest, RoundedCornersShapeTheWindowAndNoRoundingSquaresItAgain) {
    Owned<TForm> form{Create<TForm>(nullptr, TCustomForm::NewTag{})};
    auto* panel = Create<TTestPanel>(form.get());
    const HWND window = panel->GetHandle();
    panel->SetBorderRound(30); // no parent yet: nothing to shape
    EXPECT_FALSE(probe::Shaped(window));
    panel->SetParent(form.get());
    panel->SetBounds(0, 0, 200, 100);
    EXPECT_FALSE(probe::ShapeHolds(window, TPoint{0, 0}));
    EXPECT_FALSE(probe::ShapeHolds(window, TPoint{199, 99}));
    EXPECT_TRUE(probe::ShapeHolds(window, TPoint{100, 0}));
    EXPECT_TRUE(probe::ShapeHolds(window, TPoint{100, 50}));
    panel->SetBounds(0, 0, 300, 100); // the region follows the size
    EXPECT_TRUE(probe::ShapeHolds(window, TPoint{250, 50}));
    EXPECT_FALSE(probe::ShapeHolds(window, TPoint{299, 0}));
    const Owned<TTestPanel> copyHolder{Create<TTestPanel>(nullptr)};
    TTestPanel& copy = *copyHolder;
    copy.SetParent(form.get());
    copy.Assign(panel);
    EXPECT_TRUE(probe::Shaped(copy.GetHandle()));
    // A shown panel draws afresh, its frame following the new corners, instead of its last picture cut.
    panel->Paint();
    const int drawn = panel->draws;
    panel->SetBorderRound(0);
    EXPECT_FALSE(probe::Shaped(window));
    panel->Paint();
    EXPECT_EQ(panel->draws, drawn + 1);
    copy.SetParent(nullptr);
}

TEST_F(PanelTest, ListenersHearEventsInOrderAndCancelMouseStopsMouseEvents) {
    const Owned<TTestPanel> panelHolder{Create<TTestPanel>(nullptr)};
    TTestPanel& panel = *panelHolder;
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
    const Owned<TTestPanel> sourceHolder{Create<TTestPanel>(nullptr)};
    TTestPanel& source = *sourceHolder;
    source.SetMargin(0, 7);
    source.SetMarginUnits(muPixels);
    source.GetBorder()->SetVisible(true);
    source.SetColor(clYellow);
    source.GetView3DOptions()->SetRotation(20);
    const Owned<TTestPanel> copyHolder{Create<TTestPanel>(nullptr)};
    TTestPanel& copy = *copyHolder;
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
    EXPECT_EQ(PixelOf(picture, 200, 2), (probe::Rgb{255, 255, 0}));
    EXPECT_TRUE(source.GetBufferedDisplay()); // back to buffering
}

TEST_F(PanelTest, PublishedSettingsStreamOnlyWhenTheyDifferFromTheirDefaults) {
    const Owned<TPublishedPanel> panelHolder{Create<TPublishedPanel>(nullptr)};
    TPublishedPanel& panel = *panelHolder;
    panel.SetName(u"Chart1");
    const std::string plain = ObjectText(&panel);
    for (const char* name :
         {"Border", "Margin", "Monochrome", "Print", "Shadow", "View3D", "BufferedDisplay"})
        EXPECT_EQ(plain.find(name), std::string::npos) << name << "\n" << plain;

    panel.GetBorder()->Show();
    panel.SetMarginLeft(10);
    panel.SetMarginUnits(muPixels);
    panel.SetMonochrome(true);
    panel.SetBufferedDisplay(false);
    panel.SetView3D(false);
    panel.GetView3DOptions()->SetRotation(20);
    panel.SetPrintResolution(-50);
    const std::string out = ObjectText(&panel);
    for (const char* line : {"Border.Visible = True", "MarginLeft = 10", "MarginUnits = muPixels",
                             "Monochrome = True", "BufferedDisplay = False", "View3D = False",
                             "View3DOptions.Rotation = 20", "PrintResolution = -50"})
        EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
    EXPECT_EQ(out.find("EndStyle"), std::string::npos) << out; // esFlat is the border's default

    TMemoryStream binary;
    binary.WriteComponent(&panel);
    binary.SetPosition(0);
    const Owned<TPublishedPanel> copyHolder{Create<TPublishedPanel>(nullptr)};
    TPublishedPanel& copy = *copyHolder;
    binary.ReadComponent(&copy);
    EXPECT_TRUE(copy.GetBorder()->GetVisible());
    EXPECT_EQ(copy.GetMarginLeft(), 10);
    EXPECT_EQ(copy.GetMarginUnits(), muPixels);
    EXPECT_TRUE(copy.GetMonochrome());
    EXPECT_FALSE(copy.GetBufferedDisplay());
    EXPECT_FALSE(copy.GetView3D());
    EXPECT_EQ(copy.GetView3DOptions()->GetRotationInteger(), 20);
    EXPECT_EQ(copy.GetPrintResolution(), -50);
}

TEST_F(PanelTest, RendersFrameBevelsAndMarginsIntoAPicture) {
    const Owned<TTestPanel> panelHolder{Create<TTestPanel>(nullptr)};
    TTestPanel& panel = *panelHolder;
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
    EXPECT_EQ(PixelOf(out, 0, 50), (probe::Rgb{0, 0, 128}));
    EXPECT_EQ(PixelOf(out, 1, 50), (probe::Rgb{0, 0, 128}));
    EXPECT_EQ(PixelOf(out, 2, 50), Face());
    EXPECT_EQ(PixelOf(out, 3, 50), (probe::Rgb{255, 255, 255})); // raised: light top-left
    EXPECT_EQ(PixelOf(out, 4, 50), (probe::Rgb{255, 255, 255}));
    EXPECT_EQ(PixelOf(out, 5, 50), (probe::Rgb{160, 160, 160})); // lowered: shadow top-left
    EXPECT_EQ(PixelOf(out, 238, 50), (probe::Rgb{0, 0, 128}));
    EXPECT_EQ(PixelOf(out, 237, 50), (probe::Rgb{160, 160, 160})); // raised: shadow bottom-right
    // The chart rectangle: frame 2 + 2 + 2 inside, plus the margins.
    EXPECT_EQ(panel.GetChartRect(), TRect(26, 16, 204, 139));
    EXPECT_EQ(PixelOf(out, 26, 80), (probe::Rgb{255, 0, 0}));
    EXPECT_EQ(PixelOf(out, 203, 80), (probe::Rgb{255, 0, 0}));
    EXPECT_EQ(PixelOf(out, 204, 80), Face());
    const fs::path file = testsupport::PictureFile("chart-panel.png");
    EXPECT_TRUE(probe::Grab(out).SavePng(file));

    // Round corners keep the bevel's light and shadow sides.
    panel.GetBorder()->SetVisible(false);
    panel.SetBevelInner(bvNone);
    panel.SetBorderRound(20);
    panel.Draw(out.GetCanvas(), TRect(0, 0, 240, 160));
    EXPECT_EQ(PixelOf(out, 1, 80), (probe::Rgb{255, 255, 255}));
    EXPECT_EQ(PixelOf(out, 120, 1), (probe::Rgb{255, 255, 255}));
    EXPECT_EQ(PixelOf(out, 238, 80), (probe::Rgb{160, 160, 160}));
    EXPECT_EQ(PixelOf(out, 120, 158), (probe::Rgb{160, 160, 160}));
}

TEST_F(PanelTest, PicturesAndPrintsLayOutTheirOwnTargetAndLeaveTheControlsLayout) {
    const Owned<TTestPanel> panelHolder{Create<TTestPanel>(nullptr)};
    TTestPanel& panel = *panelHolder;
    panel.SetColor(clBtnFace);
    panel.SetBevelOuter(bvRaised);
    panel.SetBevelWidth(2);
    panel.SetMarginUnits(muPixels);
    panel.Paint();
    const TPanelLayout screen = panel.GetLayout();
    EXPECT_EQ(screen.ChartBounds, TRect(0, 0, 400, 250));
    EXPECT_EQ(screen.ChartRect, TRect(5, 6, 395, 244)); // bevel 2 and the margins 3, 4, 3, 4
    EXPECT_FALSE(screen.Printing);

    // A picture of another size: its chart rectangle is its own, drawn where it belongs.
    TBitmap picture;
    picture.SetSize(200, 100);
    panel.NonBufferDraw(picture.GetCanvas(), TRect(0, 0, 200, 100));
    ASSERT_EQ(panel.seen.size(), 2u);
    EXPECT_EQ(panel.seen[1].ChartRect, TRect(5, 6, 195, 94));
    EXPECT_FALSE(panel.seen[1].Printing);
    EXPECT_EQ(PixelOf(picture, 5, 50), (probe::Rgb{255, 0, 0}));
    EXPECT_EQ(PixelOf(picture, 194, 50), (probe::Rgb{255, 0, 0}));
    EXPECT_EQ(PixelOf(picture, 1, 50), (probe::Rgb{255, 255, 255})); // the raised bevel
    const TPanelLayout after = panel.GetLayout();
    EXPECT_EQ(panel.GetCanvas()->XCenter(), 200); // hit tests still see the window
    EXPECT_EQ(panel.GetCanvas()->Bounds, screen.ChartBounds);
    EXPECT_EQ(after.ChartBounds, screen.ChartBounds);
    EXPECT_EQ(after.ChartRect, screen.ChartRect);
    EXPECT_EQ(after.ChartWidth, 390);
    EXPECT_EQ(after.ChartYCenter, 125);

    // A print: bevels are not printed, and the control is not printing afterwards.
    TBitmap page;
    page.SetSize(200, 100);
    page.GetCanvas()->GetBrush()->SetColor(clWhite);
    panel.NonBufferDraw(page.GetCanvas(), TRect(0, 0, 200, 100), true);
    ASSERT_EQ(panel.seen.size(), 3u);
    EXPECT_TRUE(panel.seen[2].Printing);
    EXPECT_EQ(PixelOf(page, 1, 50), Face());
    EXPECT_FALSE(panel.GetPrinting());
    EXPECT_EQ(panel.GetChartRect(), screen.ChartRect);
    const Owned<TTestPanel> framedHolder{Create<TTestPanel>(nullptr)};
    TTestPanel& framed = *framedHolder; // ...unless the panel says so
    framed.SetBevelOuter(bvRaised);
    framed.SetBevelWidth(2);
    framed.PrintZuzPanel = true;
    framed.NonBufferDraw(page.GetCanvas(), TRect(0, 0, 200, 100), true);
    EXPECT_EQ(PixelOf(page, 1, 50), (probe::Rgb{255, 255, 255}));

    // The window's next paint draws afresh in the control's own layout.
    panel.Paint();
    ASSERT_EQ(panel.seen.size(), 4u);
    EXPECT_EQ(panel.seen[3].ChartRect, screen.ChartRect);
}

TEST_F(PanelTest, AnOwnersChartRectangleLosesTheShadowOnceNotOnEveryPaint) {
    const Owned<TTestPanel> panelHolder{Create<TTestPanel>(nullptr)};
    TTestPanel& panel = *panelHolder;
    panel.GetShadow()->SetHorizSize(3);
    panel.SetChartRect(TRect(20, 20, 300, 200));
    panel.CustomChartRect = true;
    panel.Paint();
    EXPECT_EQ(panel.GetChartRect(), TRect(20, 20, 294, 200));
    panel.Invalidate();
    panel.Paint();
    EXPECT_EQ(panel.GetChartRect(), TRect(20, 20, 294, 200));
    EXPECT_EQ(panel.GetChartWidth(), 274);
}
