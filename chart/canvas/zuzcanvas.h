#pragma once
// The canvas unit of the chart library: the drawing interface every chart
// element draws through (TZuzCanvas, TCanvas3D) and its GDI implementation
// TZuzCanvas3D with the 3D projection and the off-screen buffer; the chart
// pens and brushes; the view options; clipping; the small point, rectangle
// and colour functions.

#include "chart/canvas/projection3d.h"
#include "chart/canvas/zuzblend.h"
#include "platform/gui/graphics.h"

#include <array>
#include <functional>
#include <initializer_list>
#include <span>
#include <vector>

class TZuzFont;
class TZuzCanvas;
class TCustomZuzGradient;

// ---------------------------------------------------------------------------
// Globals

inline constexpr double ZuzPiStep = 0.017453292519943295; // pi / 180
inline constexpr TRect ZuzZeroRect{0, 0, 0, 0};
inline constexpr int DarkColorQuantity = 64;
inline constexpr int DarkerColorQuantity = 128;
inline constexpr int ZuzDefaultConePercent = 0;
// Our device contexts draw geometric pens: chart pens get their end styles and small dots.
inline constexpr bool IsWindowsNT = true;
// The optional system functions; nullptr when the system has none.
extern COLORREF (*ZuzSetDCBrushColor)(HDC, COLORREF);
extern COLORREF (*ZuzSetDCPenColor)(HDC, COLORREF);
extern BOOL (*ZuzAlphaBlend)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
// Blurs a region of a bitmap (inclusive coordinates) by an amount, for smooth text shadows; the
// filters unit installs it, and text shadows stay sharp until it does.
extern void (*ZuzTextShadowBlur)(TBitmap* Bitmap, const TRect& Region, int Amount);

// Start-up of the unit: the optional functions are looked up.
void ZuzCanvasInitialization();
// Ending of the unit: the colour dialog's remembered custom colours go, and the default face.
void ZuzCanvasFinalization();

// ---------------------------------------------------------------------------
// Types

struct TPoint3D {
    int X = 0, Y = 0, Z = 0;
    bool operator==(const TPoint3D&) const = default;
};
using TFourPoints = std::array<TPoint, 4>;
using TTrianglePoints3D = std::array<TPoint3D, 3>;
using TTriangleColors3D = std::array<TColor, 3>;
// The point source of Surface3D: for the grid cell (X, Z) it gives the two points of the cell's
// edge and their colours, and says whether the cell is drawn.
using TZuzCanvasCalcPoints =
    std::function<bool(int X, int Z, TPoint3D& P0, TPoint3D& P1, TColor& Color0, TColor& Color1)>;

enum TCanvasBackMode : std::uint8_t { cbmNone, cbmTransparent, cbmOpaque };
enum TCanvas3DPlane : std::uint8_t { cpX, cpY, cpZ };
enum TZuzCanvasSurfaceStyle : std::uint8_t { tcsSolid, tcsWire, tcsDot };
enum TGradientDirection : std::uint8_t {
    gdTopBottom,
    gdBottomTop,
    gdLeftRight,
    gdRightLeft,
    gdFromCenter,
    gdFromTopLeft,
    gdFromBottomLeft,
    gdRadial,
    gdDiagonalUp,
    gdDiagonalDown
};
template <>
const EnumInfo& EnumInfoOf<TGradientDirection>();
enum TPenEndStyle : std::uint8_t { esRound, esSquare, esFlat };
template <>
const EnumInfo& EnumInfoOf<TPenEndStyle>();

// ---------------------------------------------------------------------------
// Geometry and colour functions

inline TPoint ZuzPoint(int X, int Y) {
    return {X, Y};
}
inline TPoint3D Point3D(int X, int Y, int Z) {
    return {X, Y, Z};
}
inline TRect ZuzRect(int Left, int Top, int Right, int Bottom) {
    return {Left, Top, Right, Bottom};
}
// Edges included.
bool PointInRect(const TRect& Rect, int X, int Y);
bool PointInRect(const TRect& Rect, TPoint P);
TRect OrientRectangle(const TRect& R);
void RectSize(const TRect& R, int& Width, int& Height);
void RectCenter(const TRect& R, int& X, int& Y);
void ZuzSetBitmapSize(TBitmap* Bitmap, int Width, int Height);
// The points 0..LastIndex of an array, as the drawing operations take them.
inline std::span<const TPoint> PointsUpTo(const TPoint* Points, int LastIndex) {
    return {Points, LastIndex < 0 ? 0 : static_cast<std::size_t>(LastIndex) + 1};
}
// Right and Bottom are the largest coordinates; ZuzZeroRect for no points.
TRect PolygonBounds(std::span<const TPoint> Points);
TRect PolygonBounds(const TPoint* Points, int LastIndex);
// The smallest rectangle holding both.
TRect Joined(const TRect& A, const TRect& B);
// Every point of A inside B (even-odd rule); true for an empty A.
bool PolygonInPolygon(std::span<const TPoint> A, std::span<const TPoint> B);
bool PolygonInPolygon(const TPoint* A, int LastA, const TPoint* B, int LastB);
bool ZuzCull(TPoint P0, TPoint P1, TPoint P2);
bool ZuzCull(const TPoint* P); // its first three points
// Which way the corners of a polygon run round on the screen (the sign of its area, worked out
// exactly in 64 bits), 1 or -1, 0 when it has no area.
// Two faces whose corners run the same way turn the same side to the viewer.
int ZuzWinding(std::span<const TPoint> P);
inline int ZuzWinding(std::initializer_list<TPoint> P) {
    return ZuzWinding(std::span<const TPoint>(P.begin(), P.size()));
}
// Lower mirrored through Upper: a point of a solid's far ring that would stand above its face,
// where depth runs up the screen, hung as far below the face instead.
TPoint ZuzHangBelow(TPoint Lower, TPoint Upper);
void RGBValue(TColor Color, Byte& R, Byte& G, Byte& B);
// The colour resolved to RGB, each channel above Quantity lowered by it and the others 0.
TColor ApplyDark(TColor Color, Byte Quantity);
// The colour resolved to RGB, each channel raised by Quantity up to 255.
TColor ApplyBright(TColor Color, Byte Quantity);
// The nearest integer, halves to even, saturated to the integer range (NaN 0).
int ZuzRound(double Value);
// A coordinate worked out in 64 bits from numbers a file may set to anything, brought within
// +-2^28: there the sums of the canvas and of its device (a corner plus a size, the width of
// a box, the middle of two corners) fit.
int ZuzCoordinate(Int64 Value);
// The point Distance pixels from To towards From.
TPoint PointAtDistance(TPoint From, TPoint To, int Distance);
double ZuzDistance(double X, double Y);
void SwapInteger(int& A, int& B);
void SwapDouble(double& A, double& B);

// A point of 3D space in floating point, telling its owner of every change.
struct TFloatPoint3D {
    double X = 0, Y = 0, Z = 0;
    bool operator==(const TFloatPoint3D&) const = default;
};

class TFloatXYZ : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TFloatXYZ(TNotifyEvent OnChangeEvent = {}) : OnChange(std::move(OnChangeEvent)) {}
    void Assign(TPersistent* Source) override;

    double GetX() const { return FPoint.X; }
    void SetX(double Value) { Store(FPoint.X, Value); }
    double GetY() const { return FPoint.Y; }
    void SetY(double Value) { Store(FPoint.Y, Value); }
    double GetZ() const { return FPoint.Z; }
    void SetZ(double Value) { Store(FPoint.Z, Value); }
    TFloatPoint3D Point() const { return FPoint; }

    TNotifyEvent OnChange;

private:
    void Store(double& Field, double Value) {
        if (SetIfChanged(Field, Value) && OnChange) OnChange(this);
    }
    TFloatPoint3D FPoint;
};

// The clip in force before the last clip was set, put back when that clip is removed. Each
// chart canvas keeps its own, as many charts draw at once; clips do not nest (a new clip
// overwrites the saved one).
class TSavedClip {
public:
    TSavedClip() = default;
    ~TSavedClip();
    TSavedClip(const TSavedClip&) = delete;
    TSavedClip& operator=(const TSavedClip&) = delete;

    // Saves the device's clip, combines Region (device coordinates) with it in Mode and
    // deletes Region; nothing happens for no region.
    void Combine(HDC DC, HRGN Region, int Mode);
    // The saved clip back, or no clipping when there was none.
    void Restore(HDC DC);
    bool HasSavedClip() const { return FHasSavedClip; }

private:
    HRGN FRegion = nullptr;
    bool FHasSavedClip = false;
};

// Clipping in device coordinates, remembering the clip before in Saved.
void ClipCanvas(TCanvas* Canvas, const TRect& R, TSavedClip& Saved);
void UnClipCanvas(TCanvas* Canvas, TSavedClip& Saved);
void ClipEllipse(TZuzCanvas* ZuzCanvas, const TRect& R);
void ClipRoundRectangle(TZuzCanvas* ZuzCanvas, const TRect& R, int Size);
void ClipPolygon(TZuzCanvas* ZuzCanvas, const TPoint* Points, int NumPoints);
void ClipPolygon(TZuzCanvas* ZuzCanvas, std::span<const TPoint> Points);
// Right and Bottom one beyond the largest coordinates; ZuzZeroRect for no points.
TRect RectFromPolygon(std::span<const TPoint> Points);
TRect RectFromPolygon(const TPoint* Points, int NumPoints);
TRect RectFromTriangle(const TPoint* Points);
bool RectangleInRectangle(const TRect& Small, const TRect& Big);

// ---------------------------------------------------------------------------
// Pens and brushes of chart elements

class TChartPen : public TPen {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TChartPen(TNotifyEvent OnChangeEvent = {});
    void Assign(TPersistent* Source) override;

    TPenEndStyle GetEndStyle() const { return FEndStyle; }
    void SetEndStyle(TPenEndStyle Value);
    bool GetSmallDots() const { return FSmallDots; }
    void SetSmallDots(bool Value);
    int GetSmallSpace() const { return FSmallSpace; }
    void SetSmallSpace(int Value);
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    TPenEndStyle DefaultEnd = esRound;
    bool DefaultVisible = true;
    bool IsEndStyleStored() const { return FEndStyle != DefaultEnd; }
    bool IsVisibleStored() const { return FVisible != DefaultVisible; }
    // A pen that its owner colours on its own while a file is read writes even the default
    // colour, or the chart would load back with the owner's colour instead.
    bool ColorAlwaysStored = false;
    bool IsColorStored() const { return ColorAlwaysStored || GetColor() != clBlack; }

private:
    TPenEndStyle FEndStyle = esRound;
    bool FSmallDots = false;
    int FSmallSpace = 0;
    bool FVisible = true;
};

class TChartHiddenPen : public TChartPen {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TChartHiddenPen(TNotifyEvent OnChangeEvent = {});
};

class TDottedGrayPen : public TChartPen {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TDottedGrayPen(TNotifyEvent OnChangeEvent = {});
};

class TDarkGrayPen : public TChartPen {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TDarkGrayPen(TNotifyEvent OnChangeEvent = {});
};

class TWhitePen : public TChartPen {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TWhitePen(TNotifyEvent OnChangeEvent = {});
};

class TChartBrush : public TBrush {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TChartBrush(TNotifyEvent OnChangeEvent = {});
    ~TChartBrush() override;
    void Assign(TPersistent* Source) override;

    TColor GetBackColor() const { return FBackColor; }
    void SetBackColor(TColor Value);
    // Made on first read, with the brush's change event.
    TPicture* GetImage();
    // A brush its owner gives another colour at its making writes even the default colour,
    // or the chart would load back with the owner's colour instead.
    bool ColorAlwaysStored = false;
    bool IsColorStored() const { return ColorAlwaysStored || GetColor() != clDefault; }
    // A picture to draw: the empty one a mere read of Image makes changes no drawing or file.
    bool HasImage() const { return FImage && FImage->GetGraphic(); }
    // Copies the picture; nullptr frees the image.
    void SetImage(TPicture* Value);
    void Clear();

private:
    TColor FBackColor = clNone;
    Owned<TPicture> FImage;
};

// The device pen of a chart pen in a colour: small dots, or a wide pen with
// the chart pen's end style.
// With CheckPenWidth a styled pen of width 1 gets width 0.
void ZuzSetZuzPen(TPen* Pen, TChartPen* ChartPen, TColor Color, HDC DC, bool CheckPenWidth = false);
HPEN ZuzCreatePenSmallDots(TColor Color, int SmallSpace);

// ---------------------------------------------------------------------------
// View options

using TZuzView3DScrolled = Event<void(bool IsHoriz)>;
using TZuzView3DChangedZoom = Event<void(int NewZoom)>;

class TView3DOptions : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    // The parent is the panel that repaints on every change: Repaint calls
    // the parent's invalidation given here.
    explicit TView3DOptions(TObject* AParent = nullptr, TNotifyEvent AInvalidate = {});
    void Assign(TPersistent* Source) override;
    void Repaint();
    double CalcOrthoRatio() const;
    TObject* GetParent() const { return FParent; }

    double GetElevation() const { return FElevation; }
    void SetElevation(double Value);
    int GetElevationInteger() const;
    void SetElevationInteger(int Value) { SetElevation(Value); }
    int GetFontZoom() const { return FFontZoom; }
    void SetFontZoom(int Value);
    int GetHorizOffset() const { return FHorizOffset; }
    void SetHorizOffset(int Value);
    bool GetOrthogonal() const { return FOrthogonal; }
    void SetOrthogonal(bool Value);
    int GetOrthoAngle() const { return FOrthoAngle; }
    void SetOrthoAngle(int Value);
    int GetPerspective() const { return FPerspective; }
    void SetPerspective(int Value);
    double GetRotation() const { return FRotation; }
    void SetRotation(double Value);
    int GetRotationInteger() const;
    void SetRotationInteger(int Value) { SetRotation(Value); }
    int GetTilt() const { return FTilt; }
    void SetTilt(int Value);
    int GetVertOffset() const { return FVertOffset; }
    void SetVertOffset(int Value);
    double GetZoom() const { return FZoom; }
    void SetZoom(double Value);
    int GetZoomInteger() const;
    void SetZoomInteger(int Value) { SetZoom(Value); }
    bool GetZoomText() const { return FZoomText; }
    void SetZoomText(bool Value);

    TZuzView3DScrolled OnScrolled;
    TZuzView3DChangedZoom OnChangedZoom;

private:
    template <class T>
    void Store(T& Field, T Value);
    double FElevation = 345;
    int FFontZoom = 100;
    int FHorizOffset = 0;
    bool FOrthogonal = true;
    int FOrthoAngle = 45;
    int FPerspective = 15;
    double FRotation = 345;
    int FTilt = 0;
    int FVertOffset = 0;
    double FZoom = 100;
    bool FZoomText = true;
    TObject* FParent = nullptr;
    TNotifyEvent FInvalidate;
};

// ---------------------------------------------------------------------------
// The drawing interface

class TZuzCanvas : public TObject {
public:
    // Defined in the unit, so that the class's tables are emitted once.
    ~TZuzCanvas() override;

    // The framework canvas drawn on now and its font, pen and brush.
    TCanvas* ReferenceCanvas = nullptr;
    TFont* Font = nullptr;
    TPen* Pen = nullptr;
    TBrush* Brush = nullptr;
    int BlendTransparency = 0;
    TRect Bounds;
    TZuzFont* ZuzFont = nullptr;
    double FontZoom = 100;
    TView3DOptions* View3DOptions = nullptr;
    bool Metafiling = false; // drawing into a metafile: no pixels to blend or blur

    // Settings of the canvas.
    int ZuzNumCylinderSides = 16;               // faces of cylinders and cones
    bool ZuzCheckPenWidth = false;              // styled pens of width 1 get width 0
    int ZuzFontAntiAlias = ANTIALIASED_QUALITY; // the font quality of rotated labels

    virtual TColor GetBackColor() = 0;
    virtual TCanvasBackMode GetBackMode() = 0;
    virtual HDC GetHandle() = 0;
    virtual bool GetMonochrome() = 0;
    virtual TColor GetPixel(int X, int Y) = 0;
    virtual bool GetSupportsFullRotation() = 0;
    virtual bool GetIsNoBMPGrid() = 0;
    virtual UINT GetTextAlign() = 0;
    virtual bool GetUseBuffer() = 0;
    virtual void SetBackColor(TColor Color) = 0;
    virtual void SetBackMode(TCanvasBackMode Mode) = 0;
    virtual void SetMonochrome(bool Value) = 0;
    virtual void SetPixel(int X, int Y, TColor Color) = 0;
    virtual void SetTextAlign(UINT Align) = 0;
    virtual void SetUseBuffer(bool Value) = 0;
    virtual void AssignVisiblePenColor(TPen* APen, TColor AColor) = 0;
    // What is drawn in R until EndBlending shows Transparency percent of what was there.
    virtual Owned<TZuzBlend> BeginBlending(const TRect& R, int Transparency) = 0;
    virtual void EndBlending(Owned<TZuzBlend> Blend) = 0;
    virtual void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) = 0;
    // Angles in degrees, counter-clockwise from three o'clock.
    virtual void Arc(int Left, int Top, int Right, int Bottom, double StartAngle, double EndAngle) = 0;
    // Angles in radians; a ring segment, or with HolePercent 0 the arc closed by its chord.
    virtual void Donut(double XCenter, double YCenter, double XRadius, double YRadius, double StartAngle,
                       double EndAngle, double HolePercent) = 0;
    virtual void Draw(int X, int Y, TGraphic* Graphic) = 0;
    virtual void Ellipse(int X1, int Y1, int X2, int Y2) = 0;
    virtual void FillRect(const TRect& Rect) = 0;
    virtual void Frame3D(TRect& Rect, TColor TopColor, TColor BottomColor, int Width) = 0;
    virtual void LineTo(int X, int Y) = 0;
    virtual void MoveTo(int X, int Y) = 0;
    virtual void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) = 0;
    virtual void Rectangle(int X0, int Y0, int X1, int Y1) = 0;
    virtual void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) = 0;
    virtual void StretchDraw(const TRect& Rect, TGraphic* Graphic) = 0;
    virtual void TextOut(int X, int Y, const String& Text) = 0;
    // With IsHtml set the text's tags are laid out (bold, fonts, line breaks, ...);
    // otherwise the text is drawn as it is.
    void TextOut(int X, int Y, const String& Text, bool IsHtml);
    virtual int TextWidth(const String& Text) = 0;
    virtual int TextHeight(const String& Text) = 0;
    virtual void ClipRectangle(const TRect& Rect) = 0;
    virtual void ClipRectangle(const TRect& Rect, int RoundSize) = 0;
    virtual void ClipEllipse(const TRect& Rect, bool Inverted) = 0;
    virtual void ClipPolygon(const TPoint* Points, int NumPoints, bool Inverted) = 0;
    virtual void DoHorizLine(int X0, int X1, int Y) = 0;
    virtual void DoVertLine(int X, int Y0, int Y1) = 0;
    virtual void EraseBackground(const TRect& Rect) = 0;
    virtual void GradientFill(const TRect& Rect, TColor StartColor, TColor EndColor,
                              TGradientDirection Direction, int Balance, int RadialX, int RadialY) = 0;
    virtual void Invalidate() = 0;
    virtual void Line(int X0, int Y0, int X1, int Y1) = 0;
    virtual void Polyline(const TPoint* Points, int LastIndex) = 0;
    virtual void Polygon(const TPoint* Points, int LastIndex) = 0;
    virtual void PolygonGradient(const TPoint* Points, int LastIndex, TCustomZuzGradient* Gradient) = 0;
    virtual void RotateLabel(int X, int Y, const String& Text, double Angle) = 0;
    virtual void UnClipRectangle() = 0;

    void SetCanvas(TCanvas* ACanvas);
    void ResetState();
    void AssignVisiblePen(TPen* APen) { AssignVisiblePenColor(APen, APen->GetColor()); }
    // The chart brush into the canvas brush in a colour, with the background
    // of hatches (clNone: the gaps show what is there).
    void AssignBrush(TChartBrush* ABrush, TColor AColor, TColor ABackColor);
    // In the brush's own colours.
    void AssignBrush(TChartBrush* ABrush);
    // In a colour, the brush's colour behind hatches.
    void AssignBrush(TChartBrush* ABrush, TColor AColor);
    void AssignBrushColor(TChartBrush* ABrush, TColor AColor, TColor ABackColor);
    // The chart font into the canvas font (zoomed, black when monochrome) and its character
    // spacing into the device; text output then draws the font's shadow and effects.
    void AssignFont(TZuzFont* AFont);
    // The colour darkened into the brush: its colour when solid, else its hatch background.
    void InternalDark(TColor Color, Byte Quantity);
    // The colour a solid's faces start from: the brush colour when solid, else the hatch background.
    TColor FaceColor();
    int GetFontHeight() { return TextHeight(u"W"); }
    // What the clip operations put back.
    TSavedClip& GetSavedClip() { return FSavedClip; }
    TSize TextExtent(const String& Text) { return {TextWidth(Text), TextHeight(Text)}; }

    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    void DoRectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
    void RoundRect(const TRect& R, int X, int Y) { RoundRect(R.Left, R.Top, R.Right, R.Bottom, X, Y); }
    void MoveTo(TPoint P) { MoveTo(P.X, P.Y); }
    void LineTo(TPoint P) { LineTo(P.X, P.Y); }
    void Line(TPoint P0, TPoint P1) { Line(P0.X, P0.Y, P1.X, P1.Y); }
    void Polyline(std::span<const TPoint> Points) { Polyline(Points.data(), LastIndexOf(Points)); }
    void Polygon(std::span<const TPoint> Points) { Polygon(Points.data(), LastIndexOf(Points)); }
    void ClipPolygon(std::span<const TPoint> Points, bool Inverted) {
        ClipPolygon(Points.data(), static_cast<int>(Points.size()), Inverted);
    }

    // The convex hull of the points (Graham scan): false for fewer than three.
    static bool ConvexHull(std::vector<TPoint>& Points);

protected:
    static int LastIndexOf(std::span<const TPoint> Points) { return static_cast<int>(Points.size()) - 1; }
    void AssignBrushCore(TChartBrush* ABrush, TColor AColor, TColor ABackColor);

private:
    Owned<TBitmap> FBrushImage; // a brush picture that is not a bitmap, as one
    TSavedClip FSavedClip;
};

class TCanvas3D : public TZuzCanvas {
public:
    ~TCanvas3D() override; // in the unit, as the base's
    // The projection in force: computed by InitWindow and Projection, read while drawing.
    const TProjection3D& GetProjection() const { return FProjection; }
    void SetProjection(const TProjection3D& Value) { FProjection = Value; }
    bool IsOrthogonal() const { return FProjection.IsOrthogonal(); }
    int XCenter() const { return FProjection.XCenter(); }
    int YCenter() const { return FProjection.YCenter(); }
    int ZCenter() const { return FProjection.ZCenter(); }
    // The nesting depth of FrontPlaneBegin.
    int FrontPlaneCount() const { return FFrontPlaneCount; }

    using TZuzCanvas::Polyline;
    using TZuzCanvas::Rectangle;

    virtual void BeginEntity(const String& Name) {}
    virtual void EndEntity() {}
    // Set by a canvas that keeps what it draws as named entities: series then
    // wrap each point in one (naming a point costs a text per point).
    bool RecordsEntities = false;
    virtual TColor GetPixel3D(int X, int Y, int Z) = 0;
    virtual bool GetSupports3DText() = 0;
    virtual void Calculate2DPosition(int& X, int& Y, int Z) = 0;
    virtual TPoint Calculate3DPosition(int X, int Y, int Z) = 0;
    virtual TRect InitWindow(TCanvas* DestCanvas, TView3DOptions* Options, TColor BackColor, bool Is3D,
                             const TRect& UserRect) = 0;
    virtual void Assign(TCanvas3D* Source) = 0;
    virtual void Projection(int MaxDepth, const TRect& ABounds, const TRect& ARect) = 0;
    virtual void ShowImage(TCanvas* DestCanvas, TCanvas* DefaultCanvas, const TRect& UserRect) = 0;
    virtual bool ReDrawBitmap() = 0;
    virtual void ClipCube(const TRect& Rect, int MinZ, int MaxZ) = 0;
    virtual void DisableRotation() {}
    virtual void EnableRotation() {}
    virtual void HorizLine3D(int Left, int Right, int Y, int Z) = 0;
    virtual void VertLine3D(int X, int Top, int Bottom, int Z) = 0;
    virtual void ZLine3D(int X, int Y, int Z0, int Z1) = 0;
    virtual void FrontPlaneBegin() = 0;
    virtual void FrontPlaneEnd() = 0;
    virtual void LineWithZ(int X0, int Y0, int X1, int Y1, int Z) = 0;
    virtual void MoveTo3D(int X, int Y, int Z) = 0;
    virtual void LineTo3D(int X, int Y, int Z) = 0;
    virtual void PolygonWithZ(const TPoint* Points, int LastIndex, int Z) = 0;
    virtual void Polyline(const TPoint* Points, int LastIndex, int Z) = 0;
    virtual void RotateLabel3D(int X, int Y, int Z, const String& Text, double Angle) = 0;
    virtual bool Surface3D(TZuzCanvasSurfaceStyle Style, bool SameBrush, int NumXValues, int NumZValues,
                           const TZuzCanvasCalcPoints& CalcPoints) = 0;
    virtual void TextOut3D(int X, int Y, int Z, const String& Text) = 0;

    // Flat shapes at a depth: every corner goes through the projection; filled with the
    // current pen and brush.
    virtual void SetPixel3D(int X, int Y, int Z, TColor Color) = 0;
    virtual void EllipseWithZ(int X1, int Y1, int X2, int Y2, int Z) = 0;
    virtual void Plane3D(const TPoint& A, const TPoint& B, int Z0, int Z1) = 0;
    virtual void PlaneWithZ(TPoint P1, TPoint P2, TPoint P3, TPoint P4, int Z) = 0;
    // The points come back projected.
    virtual void PlaneFour3D(TFourPoints& Points, int Z0, int Z1) = 0;
    virtual void Polygon3D(const TPoint3D* Points, int LastIndex) = 0;
    virtual void RectangleWithZ(const TRect& Rect, int Z) = 0;
    // A horizontal plane at Y = Top.
    virtual void RectangleY(int Left, int Top, int Right, int Z0, int Z1) = 0;
    // A vertical plane at X = Left.
    virtual void RectangleZ(int Left, int Top, int Bottom, int Z0, int Z1) = 0;
    // Filled in the first colour.
    virtual void Triangle3D(const TTrianglePoints3D& Points, const TTriangleColors3D& Colors) = 0;
    virtual void TriangleWithZ(TPoint P1, TPoint P2, TPoint P3, int Z) = 0;

    // Solids: only the faces turned to the viewer are drawn; dark sides shade the side faces
    // from the brush colour and leave the brush in the last shade.
    virtual void Cube(int Left, int Right, int Top, int Bottom, int Z0, int Z1, bool DarkSides) = 0;
    // The faces of a cube a canvas draws, in their order, with the shade of each (0: the face
    // colour): whoever tests a point against the cube sees what is drawn, also where a corner
    // so near the viewer that it projects far out leaves a side face out. Wire: every face.
    struct TSolidFace {
        TFourPoints Points;
        int Shade;
    };
    std::vector<TSolidFace> CubeFaces(int Left, int Right, int Top, int Bottom, int Z0, int Z1, bool Wire);
    virtual void Cylinder(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1,
                          bool DarkSides) = 0;
    // ConePercent is the tip's size in percent of the base (0: the default cone percent).
    virtual void Cone(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1, bool DarkSides,
                      int ConePercent) = 0;
    // The 3D points of one ring of a cylinder or a cone as these are drawn, so that whoever tests
    // a point against the solid sees the same corners: Sides points (three at least) round the
    // axis along Y (Vertical) or X through the middles of Low..High across it and of Z0..Z1 in
    // depth, in the plane where that axis is at Along. Percent scales the ring (100: the full
    // ring, 0: the default cone percent).
    static std::vector<TPoint3D> SolidRing(bool Vertical, int Low, int High, int Z0, int Z1, int Along,
                                           int Sides, int Percent);
    virtual void Pyramid(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1,
                         bool DarkSides) = 0;
    virtual void PyramidTrunc(const TRect& R, int StartZ, int EndZ, int TruncX, int TruncZ) = 0;
    // A flat disc at depth Z.
    virtual void Sphere(int X, int Y, int Z, double Radius) = 0;

    // A pie slice standing between the depths Z0 (its face) and Z1; angles in radians,
    // counter-clockwise from three o'clock; DonutPercent the hole's size (0: none).
    virtual void Pie3D(int XCenter, int YCenter, int XRadius, int YRadius, int Z0, int Z1, double StartAngle,
                       double EndAngle, bool DarkSides, bool DrawSides, int DonutPercent,
                       TCustomZuzGradient* Gradient) = 0;
    // SizePercent: the shaft's width in percent of the head's.
    virtual void Arrow(bool Filled, TPoint FromPoint, TPoint ToPoint, int HeadWidth, int HeadHeight, int Z,
                       double SizePercent) = 0;

    using TZuzCanvas::StretchDraw;
    void Arrow(bool Filled, TPoint FromPoint, TPoint ToPoint, int HeadWidth, int HeadHeight, int Z) {
        Arrow(Filled, FromPoint, ToPoint, HeadWidth, HeadHeight, Z, 50);
    }
    void Cube(const TRect& R, int Z0, int Z1, bool DarkSides) {
        Cube(R.Left, R.Right, R.Top, R.Bottom, Z0, Z1, DarkSides);
    }
    void EllipseWithZ(const TRect& R, int Z) { EllipseWithZ(R.Left, R.Top, R.Right, R.Bottom, Z); }
    // The first four points.
    void PlaneWithZ(const TPoint* Points, int Z) {
        PlaneWithZ(Points[0], Points[1], Points[2], Points[3], Z);
    }
    void Rectangle(const TRect& R, int Z) { RectangleWithZ(R, Z); }
    void Rectangle(int Left, int Top, int Right, int Bottom, int Z) {
        RectangleWithZ(TRect(Left, Top, Right, Bottom), Z);
    }
    // The angles in degrees of a pie given as GDI takes it (bounding box, start point, end
    // point); an end straight right of the centre is 360.
    static void CalcPieAngles(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4,
                              double& StartAngle, double& EndAngle);
    // An ellipse in the plane of depth Z turned by Angle degrees.
    void RotatedEllipse(int Left, int Top, int Right, int Bottom, int Z, double Angle);
    // A picture painted on a 3D plane, one projected quadrilateral per pixel: at depth Z over R
    // (cpZ), lying in the plane Y = Z (cpY) or standing in the plane X = Z (cpX), R's second
    // range running in depth. Leaves the pen clear.
    void StretchDraw(const TRect& R, TGraphic* Graphic, int Z, TCanvas3DPlane Plane);

    TPoint Calculate3DPosition(TPoint3D P) { return Calculate3DPosition(P.X, P.Y, P.Z); }
    TPoint Calculate3DPosition(TPoint P, int Z) { return Calculate3DPosition(P.X, P.Y, Z); }
    void LineWithZ(TPoint P0, TPoint P1, int Z) { LineWithZ(P0.X, P0.Y, P1.X, P1.Y, Z); }
    void MoveTo3D(TPoint3D P) { MoveTo3D(P.X, P.Y, P.Z); }
    void LineTo3D(TPoint3D P) { LineTo3D(P.X, P.Y, P.Z); }
    void PolygonWithZ(std::span<const TPoint> Points, int Z) {
        PolygonWithZ(Points.data(), LastIndexOf(Points), Z);
    }
    void Polyline(std::span<const TPoint> Points, int Z) { Polyline(Points.data(), LastIndexOf(Points), Z); }

protected:
    TProjection3D FProjection;
    int FFrontPlaneCount = 0;
};

class TZuzCanvas3D : public TCanvas3D {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TZuzCanvas3D();
    ~TZuzCanvas3D() override;

    using TCanvas3D::Arrow;
    using TCanvas3D::ClipPolygon;
    using TCanvas3D::Cube;
    using TCanvas3D::Ellipse;
    using TCanvas3D::EllipseWithZ;
    using TCanvas3D::Line;
    using TCanvas3D::LineTo;
    using TCanvas3D::MoveTo;
    using TCanvas3D::PlaneWithZ;
    using TCanvas3D::Polygon;
    using TCanvas3D::PolygonWithZ;
    using TCanvas3D::Polyline;
    using TCanvas3D::Rectangle;
    using TCanvas3D::RoundRect;
    using TCanvas3D::StretchDraw;
    using TCanvas3D::TextOut;

    // Off-screen buffer
    TBitmap* GetBitmap() const { return FBitmap.get(); }
    bool Dirty = true;
    bool KeepBitmap = false;
    TFourPoints IPoints{};

    // The projection's state under the names drawing code knows (the rest through
    // GetProjection()).
    bool Is3D() const { return FProjection.Is3D(); }
    bool SavedIs3D() const { return FSavedIs3D; }
    double OrthoX() const { return FProjection.OrthoX(); }
    double OrthoY() const { return FProjection.OrthoY(); }
    double ZoomFactor() const { return FProjection.ZoomFactor(); }
    bool ZoomText() const { return FProjection.ZoomText(); }
    int XCenterOffset() const { return FProjection.XCenterOffset(); }
    int YCenterOffset() const { return FProjection.YCenterOffset(); }

    TColor GetBackColor() override;
    TCanvasBackMode GetBackMode() override;
    HDC GetHandle() override;
    bool GetMonochrome() override { return FMonochrome; }
    TColor GetPixel(int X, int Y) override;
    bool GetSupportsFullRotation() override { return false; }
    bool GetIsNoBMPGrid() override { return false; }
    UINT GetTextAlign() override;
    bool GetUseBuffer() override { return FUseBuffer; }
    void SetBackColor(TColor Color) override;
    void SetBackMode(TCanvasBackMode Mode) override;
    void SetMonochrome(bool Value) override;
    void SetPixel(int X, int Y, TColor Color) override;
    void SetTextAlign(UINT Align) override;
    void SetUseBuffer(bool Value) override;
    void AssignVisiblePenColor(TPen* APen, TColor AColor) override;
    Owned<TZuzBlend> BeginBlending(const TRect& R, int Transparency) override;
    void EndBlending(Owned<TZuzBlend> Blend) override;
    void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) override;
    void Arc(int Left, int Top, int Right, int Bottom, double StartAngle, double EndAngle) override;
    void Donut(double XCenter, double YCenter, double XRadius, double YRadius, double StartAngle,
               double EndAngle, double HolePercent) override;
    void Draw(int X, int Y, TGraphic* Graphic) override;
    void Ellipse(int X1, int Y1, int X2, int Y2) override;
    // Ellipse for each box in turn, filled with the device's colour-settable
    // brush (selected by the caller) in the box's colour; where the device can,
    // each pixel is written once.
    void EllipsesWithDCBrush(std::span<const TRect> Boxes, std::span<const COLORREF> Colors);
    void FillRect(const TRect& Rect) override;
    void Frame3D(TRect& Rect, TColor TopColor, TColor BottomColor, int Width) override;
    void LineTo(int X, int Y) override;
    void MoveTo(int X, int Y) override;
    void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) override;
    void Rectangle(int X0, int Y0, int X1, int Y1) override;
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) override;
    void StretchDraw(const TRect& Rect, TGraphic* Graphic) override;
    void TextOut(int X, int Y, const String& Text) override;
    int TextWidth(const String& Text) override;
    int TextHeight(const String& Text) override;
    void ClipRectangle(const TRect& Rect) override;
    void ClipRectangle(const TRect& Rect, int RoundSize) override;
    void ClipEllipse(const TRect& Rect, bool Inverted) override;
    void ClipPolygon(const TPoint* Points, int NumPoints, bool Inverted) override;
    void DoHorizLine(int X0, int X1, int Y) override;
    void DoVertLine(int X, int Y0, int Y1) override;
    void EraseBackground(const TRect& Rect) override;
    void GradientFill(const TRect& Rect, TColor StartColor, TColor EndColor, TGradientDirection Direction,
                      int Balance, int RadialX, int RadialY) override;
    void Invalidate() override { Dirty = true; }
    void Line(int X0, int Y0, int X1, int Y1) override;
    void Polyline(const TPoint* Points, int LastIndex) override;
    void Polygon(const TPoint* Points, int LastIndex) override;
    void PolygonGradient(const TPoint* Points, int LastIndex, TCustomZuzGradient* Gradient) override;
    void UnClipRectangle() override;

    TColor GetPixel3D(int X, int Y, int Z) override;
    bool GetSupports3DText() override { return false; }
    void Calculate2DPosition(int& X, int& Y, int Z) override;
    TPoint Calculate3DPosition(int X, int Y, int Z) override;
    using TCanvas3D::Calculate3DPosition;
    TRect InitWindow(TCanvas* DestCanvas, TView3DOptions* Options, TColor BackColor, bool AIs3D,
                     const TRect& UserRect) override;
    void Assign(TCanvas3D* Source) override;
    void Projection(int MaxDepth, const TRect& ABounds, const TRect& ARect) override;
    void ShowImage(TCanvas* DestCanvas, TCanvas* DefaultCanvas, const TRect& UserRect) override;
    bool ReDrawBitmap() override;
    void ClipCube(const TRect& Rect, int MinZ, int MaxZ) override;
    // Whether ClipCube(Rect, MinZ, MaxZ) lets the pixel P through.
    bool InClipCube(const TRect& Rect, int MinZ, int MaxZ, TPoint P) const;
    void DisableRotation() override;
    void EnableRotation() override;
    void HorizLine3D(int Left, int Right, int Y, int Z) override;
    void VertLine3D(int X, int Top, int Bottom, int Z) override;
    void ZLine3D(int X, int Y, int Z0, int Z1) override;
    void FrontPlaneBegin() override;
    void FrontPlaneEnd() override;
    void LineWithZ(int X0, int Y0, int X1, int Y1, int Z) override;
    using TCanvas3D::LineWithZ;
    void MoveTo3D(int X, int Y, int Z) override;
    void LineTo3D(int X, int Y, int Z) override;
    using TCanvas3D::LineTo3D;
    using TCanvas3D::MoveTo3D;
    void PolygonWithZ(const TPoint* Points, int LastIndex, int Z) override;
    void Polyline(const TPoint* Points, int LastIndex, int Z) override;
    void RotateLabel3D(int X, int Y, int Z, const String& Text, double Angle) override;
    bool Surface3D(TZuzCanvasSurfaceStyle Style, bool SameBrush, int NumXValues, int NumZValues,
                   const TZuzCanvasCalcPoints& CalcPoints) override;
    void TextOut3D(int X, int Y, int Z, const String& Text) override;
    void RotateLabel(int X, int Y, const String& Text, double Angle) override;

    void SetPixel3D(int X, int Y, int Z, TColor Color) override;
    void EllipseWithZ(int X1, int Y1, int X2, int Y2, int Z) override;
    void Plane3D(const TPoint& A, const TPoint& B, int Z0, int Z1) override;
    void PlaneWithZ(TPoint P1, TPoint P2, TPoint P3, TPoint P4, int Z) override;
    void PlaneFour3D(TFourPoints& Points, int Z0, int Z1) override;
    void Polygon3D(const TPoint3D* Points, int LastIndex) override;
    void RectangleWithZ(const TRect& Rect, int Z) override;
    void RectangleY(int Left, int Top, int Right, int Z0, int Z1) override;
    void RectangleZ(int Left, int Top, int Bottom, int Z0, int Z1) override;
    void Triangle3D(const TTrianglePoints3D& Points, const TTriangleColors3D& Colors) override;
    void TriangleWithZ(TPoint P1, TPoint P2, TPoint P3, int Z) override;
    void Cube(int Left, int Right, int Top, int Bottom, int Z0, int Z1, bool DarkSides) override;
    void Cylinder(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1,
                  bool DarkSides) override;
    void Cone(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1, bool DarkSides,
              int ConePercent) override;
    void Pyramid(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1,
                 bool DarkSides) override;
    void PyramidTrunc(const TRect& R, int StartZ, int EndZ, int TruncX, int TruncZ) override;
    void Sphere(int X, int Y, int Z, double Radius) override;
    void Pie3D(int XCenter, int YCenter, int XRadius, int YRadius, int Z0, int Z1, double StartAngle,
               double EndAngle, bool DarkSides, bool DrawSides, int DonutPercent,
               TCustomZuzGradient* Gradient) override;
    void Arrow(bool Filled, TPoint FromPoint, TPoint ToPoint, int HeadWidth, int HeadHeight, int Z,
               double SizePercent) override;
    // The 64 points of an ellipse lying at depth Z, projected; the last closes the ring.
    void GetCirclePoints(std::array<TPoint, 64>& P, int X1, int Y1, int X2, int Y2, int Z) const;

    void PolygonFour();
    // Replaces the buffer and hands the previous one to the caller.
    Owned<TBitmap> SetBitmap(Owned<TBitmap> ABitmap);
    void DeleteBitmap();
    void TransferBitmap(int X, int Y, TCanvas* ACanvas);

    // Projection helpers
    void Calc3DPos(int& X, int& Y, int Z) const;
    void Calc3DPoint(TPoint& P, int X, int Y, int Z) const;
    void Calc3DPoint(TPoint& P, double X, double Y, int Z) const;
    void Calc3DTPoint(TPoint& P, int Z) const;
    TPoint Calc3DTPoint3D(const TPoint3D& P) const;
    std::vector<TPoint> Calc3DPoints(std::span<const TPoint> Points, int Z) const;
    TRect CalcRect3D(const TRect& R, int Z) const;
    TFourPoints FourPointsFromRect(const TRect& R, int Z) const;
    TRect RectFromRectZ(const TRect& R, int Z) const;
    // The rectangle of a text at (X, Y) for the device's alignment.
    TRect TextRect(int X, int Y, const String& Text);
    // The box TextRect covers once turned about (X, Y) by the escapement of the font in use.
    TRect TurnedTextRect(int X, int Y, const String& Text);

private:
    HDC Dc() { return ReferenceCanvas->GetHandle(); }
    // The text's extent in the canvas font, without the shadow's growth.
    TSize PlainTextExtent(const String& Text);
    void TextShadow(int X, int Y, const String& Text, int& TextX, int& TextY);
    void TextEffects(int X, int Y, const String& Text);
    // Drawing straight on the device: the canvas tells its owner, as its own
    // drawing does (a control shows what is drawn outside painting).
    void Drawn(TCanvas* ACanvas) const;
    // The projected cube's outline, corner by corner; empty when it has no inside.
    std::vector<TPoint> CubeOutline(const TRect& Rect, int MinZ, int MaxZ) const;
    Owned<TBitmap> FBitmap;
    bool FSavedIs3D = false;
    bool FMonochrome = false;
    bool FUseBuffer = true;
};
