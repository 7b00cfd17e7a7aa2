#pragma once
// The Qt side of the GDI emulation, for the platform only (controls, printers,
// pictures): device contexts over QImage or any QPaintDevice.
//
// Every drawing call maps logical to device coordinates itself and paints with
// an identity QPainter transform, so GDI's pixel rules hold under any mapping:
// boxes exclude their right and bottom edges, one-pixel lines on raster
// surfaces come from our own rasteriser (last pixel left out in drawing
// direction, style patterns per pixel, ROP2 per pixel), the rest goes through
// QPainter with the matching composition mode.

#include "platform/win32/gdi.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>

#include <optional>

struct GdiRegion::Impl {
    QRegion region;
};

struct GdiBitmap::Impl {
    QImage image;
    QImage::Format format = QImage::Format_RGB32; // kept while the image is empty
    DeviceContext* selectedInto = nullptr;
};

struct GdiPattern {
    QImage image; // RGB32
};

// Wraps a QImage that the caller owns (a control's retained surface); the
// context draws into it until deleted (DeleteDC).
HDC CreateImageDC(QImage* image);
// A vector context on a printer or PDF device at the given resolution.
HDC CreateDeviceDC(QPaintDevice* device, int dpi);
QImage& BitmapImage(HBITMAP bitmap);
QColor ToQColor(COLORREF c);
bool GdiTextAntialiasing();
// The primary screen's size (a full-HD screen when there is no display).
int ScreenWidthPixels();
int ScreenHeightPixels();
QFont ToQFont(const LOGFONTW& lf, double scale = 1.0);
// Every face name SubstituteFontName maps to another face.
std::vector<String> SubstitutedFontNames();

class DeviceContext {
public:
    enum class Surface : std::uint8_t { Image, Device };

    DeviceContext(QImage* external, HBITMAP bitmap, QPaintDevice* device, int dpi);
    virtual ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    // Finishes painting (before the pixels are read, resized or shown); false when the device could
    // not finish (a document that was not written whole).
    bool EndPainting();
    // Begins painting now (a print job's first page exists before anything is drawn on it).
    bool StartPainting() { return Painter().isActive(); }
    QImage* Image() const { return image_; }
    bool IsRaster() const { return image_ != nullptr; }
    int Dpi() const { return dpi_; }
    HBITMAP Bitmap() const { return bitmap_; }
    bool IsMemory() const { return memory_; }
    void SetMemory(bool v) { memory_ = v; }
    bool IsScreen() const { return screen_; }
    void SetScreen(bool v) { screen_ = v; }
    bool Transient() const { return transient_; }
    void SetTransient(bool v) { transient_ = v; }

    // Objects
    HGDIOBJ Select(HGDIOBJ obj);
    HGDIOBJ Current(GdiKind kind) const;
    int Save();
    bool Restore(int saved);
    int DeviceCaps(int index) const;

    struct State {
        HPEN pen = nullptr;
        HBRUSH brush = nullptr;
        HFONT font = nullptr;
        COLORREF bkColor = 0xFFFFFF;
        COLORREF textColor = 0;
        COLORREF dcBrushColor = 0xFFFFFF;
        COLORREF dcPenColor = 0;
        int bkMode = OPAQUE;
        int rop2 = R2_COPYPEN;
        UINT textAlign = 0;
        int charExtra = 0;
        int polyFillMode = ALTERNATE;
        int arcDirection = AD_COUNTERCLOCKWISE;
        int mapMode = MM_TEXT;
        POINT winOrg, vpOrg;
        SIZE winExt{1, 1}, vpExt{1, 1};
        POINT pos;                   // current position, logical
        POINT brushOrg;              // device
        std::optional<QRegion> clip; // application clip, device pixels
    };
    State& St() { return st_; }
    const State& St() const { return st_; }

    // Coordinates
    QPoint ToDevice(int x, int y) const;
    QPointF ToDeviceF(double x, double y) const;
    QPoint ToLogical(int x, int y) const;
    double ScaleX() const;
    double ScaleY() const;
    void StateChanged() { penDirty_ = true; }

    // Drawing (logical coordinates)
    virtual bool MoveTo(int x, int y);
    virtual bool LineTo(int x, int y);
    virtual bool Polyline(const POINT* pts, int n, bool moveFirst);
    virtual bool Polygon(const POINT* pts, int n);
    virtual bool Rectangle(int l, int t, int r, int b);
    virtual bool RoundRect(int l, int t, int r, int b, int w, int h);
    virtual bool Ellipse(int l, int t, int r, int b);
    enum class ArcKind : std::uint8_t { Arc, ArcTo, Pie, Chord };
    virtual bool ArcShape(ArcKind kind, int l, int t, int r, int b, int x1, int y1, int x2, int y2);
    // Pen-less ellipses one over the other on pixels, each filled with the
    // selected solid brush while the colour-settable brush has its colour, each
    // pixel written once; false (nothing done) where only one Ellipse call per
    // box gives the system's pixels.
    bool EllipsesOnce(const RECT* boxes, const COLORREF* colors, int count);
    // Whether ellipses handed over together would be painted here as EllipsesOnce
    // paints them, once the pen is none and the brush solid: an exact device
    // context on a raster surface, logical units equal to pixels, copy mode, no path.
    bool EllipsesOnceHere();
    virtual bool FillRect(const RECT& r, HBRUSH brush);
    virtual bool PatBlt(int x, int y, int w, int h, DWORD rop);
    virtual COLORREF SetPixel(int x, int y, COLORREF c);
    virtual COLORREF GetPixel(int x, int y);
    virtual bool TextOut(int x, int y, const Char* text, int count);
    // How much wider than the font draws it text is drawn, along its baseline: a metafile played
    // into a box of other proportions than its own keeps each text within the width recorded.
    double textStretch = 1;
    SIZE TextExtent(const Char* text, int count);
    TEXTMETRICW TextMetrics();
    virtual bool BitBlt(int x, int y, int w, int h, DeviceContext* src, int sx, int sy, int sw, int sh,
                        DWORD rop);
    // Paints an image into dst (device pixels) over what is there; pixels of
    // the key colour are left out when one is given.
    virtual void DrawImage(const QRect& dst, const QImage& img, std::optional<QRgb> key);
    virtual bool AlphaBlend(int x, int y, int w, int h, DeviceContext* src, int sx, int sy, int sw, int sh,
                            BYTE alpha);

    // Paths
    virtual bool BeginPath();
    virtual bool EndPath();
    virtual bool AbortPath();
    virtual bool CloseFigure();
    virtual bool DrawPath(bool stroke, bool fill);
    virtual bool WidenPath();
    virtual bool SelectClipPath(int mode);
    bool InPath() const { return pathOpen_; }

    // Clipping
    int CombineClip(const QRegion* rgn, int mode);
    QRegion SurfaceRegion() const;
    QRect SurfaceRect() const;
    bool Visible(int devX, int devY) const;

    bool Drawable() const;

    // The Qt font last made for the selected font (gdidc.cpp's DeviceFont).
    struct FontCache {
        LOGFONTW log;
        int charExtra = 0;
        double scaleX = 1, scaleY = 1;
        bool antialias = false;
        std::optional<QFont> font;
    };
    FontCache& CachedFont() { return fontCache_; }

private:
    QPainter& Painter();
    QPen MakeQPen() const;
    void SetupBrush(QPainter& p, HBRUSH brush);
    COLORREF PenColor() const;
    COLORREF BrushColor(HBRUSH b) const;
    int DevicePenWidth() const;
    // A one-pixel line drawn by our rasteriser (PrepareLine runs first on pixels).
    bool CosmeticLine() const {
        return image_ && (bpp_ == 3 || bpp_ == 4) && st_.pen->Style() != PS_NULL && lineWidth_ <= 1;
    }
    QRect DeviceBox(int l, int t, int r, int b) const;
    QRectF CurveBox(const QRect& box) const; // the geometry of an ellipse, arc or rounded box
    void FillShape(const QPainterPath& path, HBRUSH brush, int rop2);
    void StrokeShape(const QPainterPath& path);
    void OutlineClosed(const std::vector<QPoint>& devPts);
    void AddToPath(const QPainterPath& sub, bool connect);
    QPainterPath ArcPath(ArcKind kind, const QRectF& geometry, int x1, int y1, int x2, int y2, QPointF* start,
                         QPointF* end) const;
    // The box an inside-frame pen's outline runs in (the box itself for other pens).
    QRect FrameBox(QRect box) const;
    // The curve of an ellipse, rounded box, pie or chord on box, for the pen in use.
    QRectF ShapeGeometry(const QRect& box) const;
    // Whether a box shape's ink stays inside its box: thin, inside-frame or no pen, on pixels.
    bool InkInBox() const;
    // Fills (when asked) and outlines a box shape, its ink kept inside box where it belongs there.
    void DrawInBox(const QRect& box, const QPainterPath& path, bool fill);

    // One-pixel and wide solid lines on raster surfaces (gdiline.cpp).
    // Readies the rasteriser for the surface and the pen (at once when nothing changed).
    void PrepareLine() {
        if (!bits_ || penDirty_) ReadyLine();
    }
    void ReadyLine();
    void RasterSegment(QPoint a, QPoint b);
    void PrepareDisc();
    // A wide solid line drawn by our rasteriser.
    bool WideRaster() const {
        const int style = st_.pen->Style();
        return bpp_ != 0 && (style == PS_SOLID || style == PS_INSIDEFRAME) && lineWidth_ > 1;
    }
    // Whether a wide polyline may be drawn segment by segment: round joins and
    // a mix mode that gives the same pixel when the segments overlap.
    bool RoundJoinsOnce() const;
    // A wide segment with its own end caps (PS_ENDCAP_ROUND, _SQUARE or _FLAT).
    void RasterWideSegment(QPoint a, QPoint b, int startCap, int endCap);
    // The pen, mix mode and background on the painter for wide lines, set
    // again only when they changed or the painter drew something else.
    QPainter& LinePainter();
    // The same, its dashes going on where the last line drawn here left them.
    QPainter& StyledLinePainter();
    // A pen-less ellipse with a solid brush, written row by row on pixels;
    // false when it is left to the painter.
    bool SpanEllipse(const QRect& box);
    // Mixes a row's pixels x0..x1 with the colour, inside the clip region.
    void FillRow(int y, int x0, int x1, int rop2, std::uint32_t rgb);
    void ResetStyle() {
        stylePos_ = 0;
        styleLength_ = 0;
    }
    // A line drawn on from where the last one ended keeps its dashes going, so a
    // line drawn segment by segment keeps its pattern; one started elsewhere
    // starts its pattern afresh, as separate lines (grid lines) do. A polyline
    // leaves the current position where it was, so the end is kept apart.
    void StyleFrom(POINT start) {
        if (start.X != styleEnd_.X || start.Y != styleEnd_.Y) ResetStyle();
    }
    void WritePixel(int x, int y, int rop2, std::uint32_t rgb);
    static std::uint32_t ToRgb(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

    QImage* image_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    QPaintDevice* device_ = nullptr;
    int dpi_ = 96;
    bool memory_ = false;
    bool screen_ = false;
    bool transient_ = false;
    std::unique_ptr<QPainter> painter_;
    State st_;
    std::vector<State> saved_;

    // Line rasteriser state
    uchar* bits_ = nullptr;
    qsizetype bpl_ = 0;
    int bpp_ = 0;
    bool penDirty_ = true;
    bool clipDirty_ = true;
    std::vector<bool> styleMask_; // per-pixel on/off pattern; empty = solid
    std::size_t stylePos_ = 0;    // pixels into the pattern of one-pixel lines
    double styleLength_ = 0;      // device pixels into the pattern of lines the painter draws
    POINT styleEnd_{};            // where the last line drawn ended, in logical units
    std::uint32_t lineColor_ = 0, lineBk_ = 0;
    int lineWidth_ = 1;                         // device pixels
    int discReach_ = 0;                         // rows of a round end above and below its centre
    std::vector<std::pair<int, int>> discCols_; // per row of a round end: its columns from the centre
    bool painterHasLine_ = false;               // the painter holds the wide-line state
    int lineRop_ = R2_COPYPEN;
    bool lineOpaque_ = false;
    QRect clipBox_;
    std::optional<QRect> shapeBox_;      // the painter's clip also holds to this box
    const QRegion* clipRgn_ = nullptr;   // non-null when the clip is not one rectangle
    std::vector<std::uint32_t> spanRow_; // a surface row of the last colour filled by rows

    // Path bracket
    bool pathOpen_ = false;
    bool pathReady_ = false;
    QPainterPath path_;
    FontCache fontCache_;
};

// Puts a context made here (a recording) among the live ones; DeleteDC frees it.
HDC AdoptDeviceContext(std::unique_ptr<DeviceContext> dc);
// Whether dc is a context that has not been deleted.
bool DeviceContextLive(HDC dc);

// Narrows Source (pixels, normalised) to the part that lies on an image of
// Size and Target (normalised) to where that part lands, the mirrored axes
// counted from the other end; false when nothing of Source is on the image.
// Pixels outside an image are never drawn, so a source rectangle of made-up
// numbers never makes a picture larger than the image it names.
bool SourceOnImage(QSize Size, QRectF& Source, QRectF& Target, bool MirrorX, bool MirrorY);

// Finishes the painting of every context that draws on image, before its
// owner shows, copies or replaces it.
void EndPaintingOn(const QImage* image);

// Marks the object as selected/deselected; frees a deleted one when no
// context holds it any more (GdiRelease then answers true).
void GdiRetain(HGDIOBJ obj);
bool GdiRelease(HGDIOBJ obj);
