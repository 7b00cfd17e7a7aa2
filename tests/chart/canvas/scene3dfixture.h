#pragma once
// A 3D chart canvas on a white bitmap that also keeps a list of the polygons, polylines and lines
// it draws (their screen points and the brush they were filled with) and the box of each text,
// so tests of the solids, pies and arrows, and the chart sweeps, can ask both which faces were
// drawn and what the pixels show.

#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzconst.h"
#include "tests/support/guiprobe.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace scene3d {

struct Shape {
    std::vector<TPoint> points;
    bool filled = false; // a polygon (else a polyline)
    TColor brush = clNone;
    TBrushStyle brushStyle = bsSolid;
    TPenStyle penStyle = psSolid;
    TColor pen = clNone;
    std::string entity; // the innermost entity drawing it, empty outside any
    int group = 0;      // one number for each run of an entity, the innermost's
    TRect clip;         // the bounds of the clip in force, empty when none
};

struct TextBox {
    TRect rect; // as drawn, turned text by the box of its turned letters
    String text;
    std::string entity;
    int group = 0;
    TRect clip; // as a shape's
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
    void MoveTo(int X, int Y) override {
        at = {X, Y};
        TZuzCanvas3D::MoveTo(X, Y);
    }
    void LineTo(int X, int Y) override {
        const TPoint line[2] = {at, {X, Y}};
        Record(line, 1, false, lines);
        at = {X, Y};
        TZuzCanvas3D::LineTo(X, Y);
    }
    void TextOut(int X, int Y, const String& Text) override {
        texts.push_back({TurnedTextRect(X, Y, Text), Text, Entity(), group, clip});
        TZuzCanvas3D::TextOut(X, Y, Text);
    }
    void BeginEntity(const String& Name) override {
        entities.push_back(std::string(UTF8Encode(Name)));
        groups.push_back(group = ++runs);
    }
    void EndEntity() override {
        if (!entities.empty()) entities.pop_back();
        if (!groups.empty()) groups.pop_back();
        group = groups.empty() ? 0 : groups.back();
    }
    void ClipRectangle(const TRect& Rect) override {
        clip = Rect;
        TZuzCanvas3D::ClipRectangle(Rect);
    }
    void ClipPolygon(const TPoint* Points, int NumPoints, bool Inverted) override {
        if (!Inverted && NumPoints > 0) {
            clip = {Points[0].X, Points[0].Y, Points[0].X, Points[0].Y};
            for (int i = 1; i < NumPoints; ++i) {
                clip.Left = std::min(clip.Left, Points[i].X);
                clip.Top = std::min(clip.Top, Points[i].Y);
                clip.Right = std::max(clip.Right, Points[i].X);
                clip.Bottom = std::max(clip.Bottom, Points[i].Y);
            }
        }
        TZuzCanvas3D::ClipPolygon(Points, NumPoints, Inverted);
    }
    void UnClipRectangle() override {
        clip = {};
        TZuzCanvas3D::UnClipRectangle();
    }
    std::string Entity() const { return entities.empty() ? std::string() : entities.back(); }
    void Forget() {
        shapes.clear();
        lines.clear();
        texts.clear();
        entities.clear();
        groups.clear();
        group = runs = 0;
        clip = {};
    }
    std::vector<Shape> shapes;
    std::vector<Shape> lines; // LineTo's, apart so that the shapes stay the polygon calls
    std::vector<TextBox> texts;
    std::vector<Shape> Polygons() const {
        std::vector<Shape> out;
        for (const Shape& s : shapes)
            if (s.filled) out.push_back(s);
        return out;
    }

private:
    void Record(const TPoint* Points, int LastIndex, bool Filled) {
        Record(Points, LastIndex, Filled, shapes);
    }
    void Record(const TPoint* Points, int LastIndex, bool Filled, std::vector<Shape>& Into) {
        Shape s;
        s.points.assign(Points, Points + (LastIndex < 0 ? 0 : LastIndex + 1));
        s.filled = Filled;
        s.brush = Brush->GetColor();
        s.brushStyle = Brush->GetStyle();
        s.penStyle = Pen->GetStyle();
        s.pen = Pen->GetColor();
        s.entity = Entity();
        s.group = group;
        s.clip = clip;
        Into.push_back(s);
    }
    TPoint at;
    std::vector<std::string> entities;
    std::vector<int> groups;
    int group = 0, runs = 0;
    TRect clip;
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
