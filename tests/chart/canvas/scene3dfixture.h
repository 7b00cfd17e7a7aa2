#pragma once
// A 3D chart canvas on a white bitmap that also keeps a list of the polygons and polylines it
// draws (their screen points and the brush they were filled with), so tests of the solids,
// pies and arrows can ask both which faces were drawn and what the pixels show.

#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzconst.h"
#include "tests/support/guiprobe.h"

#include <array>
#include <vector>

namespace scene3d {

struct Shape {
    std::vector<TPoint> points;
    bool filled = false; // a polygon (else a polyline)
    TColor brush = clNone;
    TBrushStyle brushStyle = bsSolid;
    TPenStyle penStyle = psSolid;
};

class RecordingCanvas : public TZuzCanvas3D {
public:
    using TZuzCanvas3D::Polygon;
    using TZuzCanvas3D::Polyline;
    void Polygon(const TPoint* Points, int LastIndex) override {
        Record(Points, LastIndex, true);
        TZuzCanvas3D::Polygon(Points, LastIndex);
    }
    void Polyline(const TPoint* Points, int LastIndex) override {
        Record(Points, LastIndex, false);
        TZuzCanvas3D::Polyline(Points, LastIndex);
    }
    std::vector<Shape> shapes;
    std::vector<Shape> Polygons() const {
        std::vector<Shape> out;
        for (const Shape& s : shapes)
            if (s.filled) out.push_back(s);
        return out;
    }

private:
    void Record(const TPoint* Points, int LastIndex, bool Filled) {
        Shape s;
        s.points.assign(Points, Points + (LastIndex < 0 ? 0 : LastIndex + 1));
        s.filled = Filled;
        s.brush = Brush->GetColor();
        s.brushStyle = Brush->GetStyle();
        s.penStyle = Pen->GetStyle();
        shapes.push_back(s);
    }
};

// The default view: orthogonal at 45 degrees, zoom 100, so (X, Y, Z) lands on (X + Z, Y - Z).
struct Scene {
    TBitmap target;
    TView3DOptions view;
    RecordingCanvas canvas;
    explicit Scene(int w = 120, int h = 120) {
        probe::EnsureApplication();
        ZuzConstInitialization();
        ZuzCanvasInitialization();
        target.SetSize(w, h);
        canvas.SetUseBuffer(false);
        Reset();
    }
    // Sets the window up again after the view changed.
    void Reset() {
        const TRect r(0, 0, target.GetWidth(), target.GetHeight());
        canvas.InitWindow(target.GetCanvas(), &view, clWhite, true, r);
        canvas.Projection(100, TRect(), r);
        canvas.Pen->SetStyle(psClear);
        canvas.Brush->SetStyle(bsSolid);
        canvas.Brush->SetColor(static_cast<TColor>(RGB(200, 160, 240)));
    }
    static std::array<int, 3> Rgb(TColor c) {
        const auto v = static_cast<COLORREF>(ColorToRGB(c));
        return {GetRValue(v), GetGValue(v), GetBValue(v)};
    }
    std::array<int, 3> At(int x, int y) { return Rgb(target.GetCanvas()->GetPixel(x, y)); }
    std::array<int, 3> At(TPoint p) { return At(p.X, p.Y); }
    bool Inked(int x, int y) { return target.GetCanvas()->GetPixel(x, y) != clWhite; }
    int InkCount() {
        int n = 0;
        for (int y = 0; y < target.GetHeight(); ++y)
            for (int x = 0; x < target.GetWidth(); ++x) n += Inked(x, y) ? 1 : 0;
        return n;
    }
};

// The brush colour darkened by a quantity per channel.
inline std::array<int, 3> Dark(std::array<int, 3> c, int q) {
    for (int& v : c) v = v > q ? v - q : 0;
    return c;
}

} // namespace scene3d
