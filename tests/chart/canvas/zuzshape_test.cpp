// Framed text shapes: corners of turned boxes, frames drawn by style, bevels, shadows,
// pictures and transparency, by pixel probes; settings and older stream properties.
#include "chart/canvas/zuzshape.h"

#include "chart/canvas/zuzconst.h"
#include "platform/gui/forms.h"
#include "tests/support/guiprobe.h"
#include "tests/support/picturefile.h"
#include "tests/support/streamtext.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>

namespace fs = std::filesystem;

namespace {

class ShapeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InitFormsUnit();
        ZuzConstInitialization();
        GdiSetTextAntialiasing(false);
    }
};

// A white panel whose drawing is a shape or two.
class TShapePanel : public TCustomZuzPanelExtended {
public:
    using TCustomZuzPanelExtended::TCustomZuzPanelExtended;
    std::function<void()> draw;

protected:
    void InternalDraw(const TRect& R) override {
        PaintBack(R, clWhite, 0);
        if (draw) draw();
    }
};

struct Scene {
    Owned<TShapePanel> panel{Create<TShapePanel>(nullptr)};
    TZuzShape shape{panel.get()};
    TBitmap out;
    Scene() {
        panel->SetBounds(0, 0, 160, 120);
        panel->SetBevelOuter(bvNone);
        shape.SetColor(clYellow);
        shape.GetShadow()->SetSmooth(false);
        shape.ShapeBounds = TRect(20, 20, 120, 80);
        panel->draw = [this] { shape.Draw(); };
    }
    void Render() {
        out.SetSize(160, 120);
        panel->Draw(out.GetCanvas(), TRect(0, 0, 160, 120));
    }
    probe::Rgb At(int x, int y) { return probe::Pixel(out, x, y); }
    bool AllWhite() {
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 160; ++x)
                if (At(x, y) != probe::Rgb{255, 255, 255}) return false;
        return true;
    }
};

const probe::Rgb kWhite{255, 255, 255}, kBlack{0, 0, 0}, kYellow{255, 255, 0}, kLight{255, 255, 255},
    kDark{160, 160, 160};

// A published shape inside a component, as charts stream their titles and legends.
class TShapeHolder : public TComponent {
public:
    static const ClassInfo& StaticClass() {
        static const PropInfo props[] = {MakeProp<&TShapeHolder::GetFrame>("Frame")};
        static const ClassInfo ci =
            MakeClassInfo<TShapeHolder>("TShapeHolder", &TComponent::StaticClass(), props);
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TComponent::TComponent;
    TZuzShape* GetFrame() { return &frame; }
    TZuzShape frame{nullptr};
};

using streamtext::ObjectText;
using streamtext::ReadText;

} // namespace

// ---------------------------------------------------------------------------
// Geometry

TEST(ShapeGeometry, RectToFourPointsTurnsCornersAboutTheCentre) {
    TFourPoints p{};
    RectToFourPoints(TRect(0, 0, 10, 10), 90, p);
    EXPECT_EQ(p, (TFourPoints{TPoint(0, 10), TPoint(0, 0), TPoint(10, 0), TPoint(10, 10)}));
    RectToFourPoints(TRect(20, 20, 120, 80), 0, p);
    EXPECT_EQ(p, (TFourPoints{TPoint(20, 20), TPoint(120, 20), TPoint(120, 80), TPoint(20, 80)}));
    RectToFourPoints(TRect(0, 0, 10, 10), 180, p);
    EXPECT_EQ(p, (TFourPoints{TPoint(10, 10), TPoint(0, 10), TPoint(0, 0), TPoint(10, 0)}));
    // 45 degrees: the corner's 7.07 rounds to 7, the centre's offset 0 stays.
    RectToFourPoints(TRect(0, 0, 10, 10), 45, p);
    EXPECT_EQ(p[0], TPoint(-2, 5));
    // The centre truncates toward zero: (-3 + 0) / 2 = -1.
    RectToFourPoints(TRect(-3, -3, 0, 0), 90, p);
    EXPECT_EQ(p[1], TPoint(-3, -2));
    // A turn beyond a full circle is the same turn.
    TFourPoints q{};
    RectToFourPoints(TRect(0, 0, 10, 10), 90 + 360 * 1000, q);
    RectToFourPoints(TRect(0, 0, 10, 10), 90, p);
    EXPECT_EQ(p, q);
}

TEST_F(ShapeTest, WidthAndHeightIncludeBothEdges) {
    TZuzShape s(nullptr);
    s.ShapeBounds = TRect(10, 5, 19, 24);
    EXPECT_EQ(s.GetWidth(), 10);
    EXPECT_EQ(s.GetHeight(), 20);
    s.SetWidth(3);
    s.SetHeight(1);
    EXPECT_EQ(s.ShapeBounds, TRect(10, 5, 12, 5));
}

// ---------------------------------------------------------------------------
// Drawing

TEST_F(ShapeTest, FramesByStyleWithTheirShadows) {
    Scene s;
    s.Render();
    // A rectangle: pen on the edge, fill inside, shadow 3 pixels right and down.
    EXPECT_EQ(s.At(20, 20), kBlack);
    EXPECT_EQ(s.At(119, 50), kBlack);
    EXPECT_EQ(s.At(70, 50), kYellow);
    EXPECT_EQ(s.At(121, 50), kBlack);
    EXPECT_EQ(s.At(121, 21), kWhite); // the shadow starts 3 lower
    EXPECT_EQ(s.At(70, 81), kBlack);
    EXPECT_EQ(s.At(124, 50), kWhite);

    s.shape.SetShapeStyle(fosRoundRectangle);
    s.Render();
    EXPECT_EQ(s.At(20, 20), kWhite); // the rounded corner leaves the box's corner out
    EXPECT_EQ(s.At(21, 21), kWhite);
    EXPECT_EQ(s.At(20, 50), kBlack);
    EXPECT_EQ(s.At(70, 20), kBlack);
    EXPECT_EQ(s.At(70, 50), kYellow);
    EXPECT_EQ(s.At(121, 50), kBlack); // the shadow is rounded too
    EXPECT_EQ(s.At(122, 82), kWhite);

    s.shape.SetShapeStyle(fosEllipse);
    s.Render();
    EXPECT_EQ(s.At(20, 20), kWhite);
    EXPECT_EQ(s.At(20, 50), kBlack);
    EXPECT_EQ(s.At(70, 50), kYellow);
    EXPECT_EQ(s.At(121, 53), kBlack);
    EXPECT_EQ(s.At(120, 25), kWhite);
    // Its box is already on screen, as a mark's is: its depth or a turned view moves its shadow
    // no more than it moves the ellipse.
    s.panel->draw = [&] { s.shape.DrawRectRotated(s.shape.ShapeBounds, 0, 30); };
    for (const bool turned : {false, true})
        for (const bool smooth : {false, true}) {
            s.panel->GetView3DOptions()->SetOrthogonal(!turned);
            s.shape.GetShadow()->SetSmooth(smooth);
            s.Render();
            EXPECT_LT(s.At(121, 53).Lightness(), 128) << turned << smooth;
            int away = 0;
            for (int y = 0; y < 120; ++y)
                for (int x = 0; x < 160; ++x)
                    away += (x < 14 || x > 130 || y < 14 || y > 90) && s.At(x, y) != kWhite;
            EXPECT_EQ(away, 0) << turned << smooth;
        }
    s.panel->GetView3DOptions()->SetOrthogonal(true);
    s.shape.GetShadow()->SetSmooth(false);

    const fs::path file = testsupport::PictureFile("chart-shapes.png");
    // All three kinds and a bevelled one side by side, for the eye.
    s.panel->SetBounds(0, 0, 480, 120);
    TZuzShape round(s.panel.get()), ellipse(s.panel.get()), bevel(s.panel.get());
    for (TZuzShape* x : {&round, &ellipse, &bevel}) {
        x->SetColor(clAqua);
        x->GetShadow()->SetSmooth(false);
    }
    round.SetShapeStyle(fosRoundRectangle);
    round.ShapeBounds = TRect(140, 20, 230, 80);
    ellipse.SetShapeStyle(fosEllipse);
    ellipse.ShapeBounds = TRect(250, 20, 340, 80);
    bevel.SetBevel(bvRaised);
    bevel.SetBevelWidth(3);
    bevel.SetColor(clBtnFace);
    bevel.ShapeBounds = TRect(360, 20, 450, 80);
    s.shape.SetShapeStyle(fosRectangle);
    s.panel->draw = [&] {
        s.shape.Draw();
        round.Draw();
        ellipse.Draw();
        bevel.Draw();
    };
    TBitmap all;
    all.SetSize(480, 120);
    s.panel->Draw(all.GetCanvas(), TRect(0, 0, 480, 120));
    EXPECT_TRUE(probe::Grab(all).SavePng(file));
}

TEST_F(ShapeTest, ABevelLightensTheTopLeftAndDarkensTheBottomRight) {
    Scene s;
    s.shape.SetBevel(bvRaised);
    s.shape.SetBevelWidth(2);
    s.Render();
    EXPECT_EQ(s.At(20, 50), kLight);
    EXPECT_EQ(s.At(21, 50), kLight);
    EXPECT_EQ(s.At(70, 21), kLight);
    EXPECT_EQ(s.At(22, 50), kYellow);
    EXPECT_EQ(s.At(119, 50), kDark);
    EXPECT_EQ(s.At(118, 50), kDark);
    EXPECT_EQ(s.At(70, 79), kDark);
    EXPECT_EQ(s.At(117, 50), kYellow);
    s.shape.SetBevel(bvLowered);
    s.Render();
    EXPECT_EQ(s.At(20, 50), kDark);
    EXPECT_EQ(s.At(119, 50), kLight);
    // A round or oval frame stays whole, over a gradient too: its bevel follows the curve inside it.
    for (const TChartObjectShapeStyle style : {fosRoundRectangle, fosEllipse})
        for (const bool gradient : {false, true}) {
            s.shape.SetShapeStyle(style);
            s.shape.GetGradient()->SetVisible(gradient);
            s.Render();
            for (const TPoint p : {TPoint(20, 50), TPoint(119, 50), TPoint(70, 20), TPoint(70, 79)})
                EXPECT_EQ(s.At(p.X, p.Y), kBlack) << style << gradient << " " << p.X << "," << p.Y;
            EXPECT_EQ(s.At(21, 50), kDark) << style << gradient;
            EXPECT_EQ(s.At(20, 20), kWhite) << style << gradient;
        }
    // Along the whole curve, on a flat box as a title's is: the bevel takes no pixel of the frame.
    s.shape.ShapeBounds = TRect(10, 40, 150, 62);
    for (const TChartObjectShapeStyle style : {fosRoundRectangle, fosEllipse}) {
        s.shape.SetShapeStyle(style);
        s.shape.SetBevel(bvNone);
        s.Render();
        std::vector<TPoint> frame;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 160; ++x)
                if (s.At(x, y) == kBlack) frame.emplace_back(x, y);
        for (const TBevelCut bevel : {bvRaised, bvLowered}) {
            s.shape.SetBevel(bevel);
            s.Render();
            int lost = 0;
            for (const TPoint p : frame) lost += s.At(p.X, p.Y) != kBlack;
            EXPECT_EQ(lost, 0) << int{style} << " " << int{bevel} << " of " << frame.size();
        }
    }
}

TEST_F(ShapeTest, ATransparentShapeDrawsNothingNotEvenItsShadow) {
    Scene s;
    s.shape.SetTransparent(true);
    s.Render();
    EXPECT_TRUE(s.AllWhite());
}

TEST_F(ShapeTest, ATurnedShapeIsAFourPointPolygonWithoutBevel) {
    Scene s;
    s.shape.SetBevel(bvRaised);
    s.shape.SetShapeStyle(fosEllipse); // turned, every style is the polygon
    s.shape.GetShadow()->SetVisible(false);
    s.panel->draw = [&] { s.shape.DrawRectRotated(s.shape.ShapeBounds, 90, 0); };
    s.Render();
    // 100 x 60 about (70, 50) turned a quarter: x 40..100, y 0..100.
    EXPECT_EQ(s.At(70, 5), kYellow);
    EXPECT_EQ(s.At(70, 95), kYellow);
    EXPECT_EQ(s.At(30, 50), kWhite);
    EXPECT_EQ(s.At(40, 50), kBlack); // its left edge in the pen, no bevel's light
    EXPECT_EQ(s.At(41, 50), kYellow);
    EXPECT_EQ(s.At(41, 1), kYellow); // the corner of the polygon: square
    // Its box is already on screen, as an upright one's is: a depth does not move it again.
    s.panel->draw = [&] { s.shape.DrawRectRotated(s.shape.ShapeBounds, 90, 30); };
    s.Render();
    EXPECT_EQ(s.At(41, 97), kYellow);
    EXPECT_EQ(s.At(102, 50), kWhite);
    // A turned box casts a turned shadow, not one of the upright box around it.
    s.shape.GetShadow()->SetVisible(true);
    s.shape.GetShadow()->SetSize(3);
    s.panel->draw = [&] { s.shape.DrawRectRotated(s.shape.ShapeBounds, 45, 0); };
    for (const TChartObjectShapeStyle style : {fosRectangle, fosEllipse})
        for (const bool smooth : {false, true}) {
            s.shape.SetShapeStyle(style);
            s.shape.GetShadow()->SetSmooth(smooth);
            s.Render();
            EXPECT_EQ(s.At(30, 30), kWhite) << style << smooth;
            EXPECT_EQ(s.At(115, 95), kWhite) << style << smooth;
            EXPECT_LT(s.At(94, 74).Lightness(), 128) << style << smooth; // beyond its lower right edge
        }
}

TEST_F(ShapeTest, APictureFillsTheShapeAndAClearBrushDrawsNoShadow) {
    Scene s;
    auto picture = MakeOwned<TBitmap>();
    picture->SetSize(10, 10);
    picture->GetCanvas()->GetBrush()->SetColor(clRed);
    picture->GetCanvas()->FillRect(TRect(0, 0, 10, 10));
    s.shape.GetPicture()->SetGraphic(picture.get());
    s.Render();
    EXPECT_EQ(s.At(70, 50), (probe::Rgb{255, 0, 0}));
    EXPECT_EQ(s.At(20, 50), kBlack); // the frame over it
    EXPECT_EQ(s.At(121, 50), kBlack);
    s.shape.GetBrush()->SetStyle(bsClear);
    s.Render();
    EXPECT_EQ(s.At(70, 50), (probe::Rgb{255, 0, 0}));
    EXPECT_EQ(s.At(121, 50), kWhite);
    // In an ellipse the picture stays inside the curve.
    s.shape.SetShapeStyle(fosEllipse);
    s.Render();
    EXPECT_EQ(s.At(22, 22), kWhite);
    EXPECT_EQ(s.At(70, 50), (probe::Rgb{255, 0, 0}));
}

TEST_F(ShapeTest, GradientAndTransparencyFill) {
    Scene s;
    s.shape.GetShadow()->SetVisible(false);
    s.shape.GetGradient()->SetStartColor(clBlue);
    s.shape.GetGradient()->SetEndColor(clBlue);
    s.shape.GetGradient()->SetVisible(true);
    s.Render();
    EXPECT_EQ(s.At(70, 50), (probe::Rgb{0, 0, 255}));
    EXPECT_EQ(s.At(20, 50), kBlack);
    // In an ellipse the gradient stays inside the curve, as a picture does.
    s.shape.SetShapeStyle(fosEllipse);
    s.Render();
    EXPECT_EQ(s.At(22, 22), kWhite);
    EXPECT_EQ(s.At(70, 50), (probe::Rgb{0, 0, 255}));
    s.shape.SetShapeStyle(fosRectangle);
    s.shape.SetGradient(nullptr);
    s.shape.SetTransparency(50);
    s.Render();
    // Half of the yellow over white.
    const probe::Rgb mixed = s.At(70, 50);
    EXPECT_EQ(mixed.r, 255);
    EXPECT_EQ(mixed.g, 255);
    EXPECT_NEAR(mixed.b, 128, 2);
    // A file's percentage beyond 100 is all see-through, not a colour of no meaning.
    s.shape.SetTransparency(110);
    s.Render();
    EXPECT_EQ(s.At(70, 50), kWhite);
    s.shape.SetTransparency(std::numeric_limits<int>::min());
    EXPECT_EQ(s.shape.GetTransparency(), 0);
}

TEST_F(ShapeTest, FiltersWithoutAPictureWorkOnWhatShowsThroughTheBox) {
    Scene s;
    s.shape.GetShadow()->SetVisible(false);
    s.shape.GetPen()->SetVisible(false);
    s.shape.GetBrush()->SetStyle(bsClear);
    s.shape.SetTransparency(100); // the box itself all see-through
    s.shape.GetPicture()->GetFilters()->Add(TInvertFilter::StaticClass());
    s.panel->draw = [&] {
        TCanvas3D* c = s.panel->GetCanvas();
        c->Brush->SetStyle(bsSolid);
        c->Brush->SetColor(clBlack);
        c->FillRect(TRect(0, 0, 70, 120)); // left half black behind the box
        s.shape.Draw();
    };
    s.Render();
    EXPECT_EQ(s.At(40, 50), kWhite);  // black behind, inverted
    EXPECT_EQ(s.At(100, 50), kBlack); // white behind, inverted
    EXPECT_EQ(s.At(10, 50), kBlack);  // outside the box: as it was
    EXPECT_EQ(s.At(130, 50), kWhite);
}

// ---------------------------------------------------------------------------
// Settings

TEST_F(ShapeTest, SettersRepaintTheParentOnlyOnAChange) {
    Scene s;
    int repaints = 0;
    const auto count = [&] {
        const bool dirty = dynamic_cast<TZuzCanvas3D*>(s.panel->GetCanvas())->Dirty;
        dynamic_cast<TZuzCanvas3D*>(s.panel->GetCanvas())->Dirty = false;
        if (dirty) ++repaints;
    };
    count();
    repaints = 0;
    s.shape.SetRoundSize(16);
    count();
    EXPECT_EQ(repaints, 0);
    s.shape.SetRoundSize(20);
    count();
    s.shape.SetColor(clRed);
    count();
    s.shape.GetPen()->SetColor(clRed);
    count();
    s.shape.Hide();
    count();
    EXPECT_EQ(repaints, 4);
    EXPECT_FALSE(s.shape.GetVisible());
    // Copies carry every setting, quietly.
    TZuzShape copy(nullptr);
    s.shape.SetBevel(bvLowered);
    s.shape.GetGradient()->SetVisible(true);
    copy.Assign(&s.shape);
    EXPECT_EQ(copy.GetRoundSize(), 20);
    EXPECT_EQ(copy.GetColor(), clRed);
    EXPECT_EQ(copy.GetBevel(), bvLowered);
    EXPECT_TRUE(copy.GetGradient()->GetVisible());
    EXPECT_EQ(copy.GetPen()->GetColor(), clRed);
    EXPECT_FALSE(copy.GetVisible());
    EXPECT_FALSE(copy.HasPicture());
}

TEST_F(ShapeTest, StreamsOnlyWhatDiffersAndReadsTheOlderShadowProperties) {
    Owned<TShapeHolder> holder{Create<TShapeHolder>(nullptr)};
    holder->SetName(u"H");
    const std::string plain = ObjectText(holder.get());
    for (const char* name : {"Transparent", "Shadow", "Gradient", "Picture", "RoundSize", "Bevel"})
        EXPECT_EQ(plain.find(name), std::string::npos) << name << "\n" << plain;
    holder->frame.DefaultTransparent = true;
    EXPECT_NE(ObjectText(holder.get()).find("Frame.Transparent = False"), std::string::npos);
    holder->frame.DefaultTransparent = false;

    ReadText("object H: TShapeHolder\n"
             "  Frame.ShadowColor = clRed\n"
             "  Frame.ShadowSize = 7\n"
             "  Frame.ShapeStyle = fosEllipse\n"
             "end\n",
             holder.get());
    EXPECT_EQ(holder->frame.GetShadow()->GetColor(), clRed);
    EXPECT_EQ(holder->frame.GetShadow()->GetHorizSize(), 7);
    EXPECT_EQ(holder->frame.GetShadow()->GetVertSize(), 7);
    EXPECT_EQ(holder->frame.GetShapeStyle(), fosEllipse);
    ReadText("object H: TShapeHolder\n  Frame.ShadowColor = 255\nend\n", holder.get());
    EXPECT_EQ(holder->frame.GetShadow()->GetColor(), clRed);
    const std::string out = ObjectText(holder.get());
    EXPECT_EQ(out.find("ShadowColor"), std::string::npos) << out;
    EXPECT_NE(out.find("Frame.Shadow.Color = clRed"), std::string::npos) << out;
}
