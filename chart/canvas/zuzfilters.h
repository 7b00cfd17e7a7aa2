#pragma once
// Image filters: chains of pixel operations that chart pictures pass through before they are
// drawn. A filter works on a 24-bit bitmap (blue, green, red bytes) through its row addresses,
// on the whole bitmap or on its optional region; pictures and image controls keep a list of
// filters and stream it as their "FilterItems" block. The filters' editor builds its controls
// through IFormCreator.

#include "platform/core/collections.h"
#include "platform/core/types.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/graphics.h"

#include <memory>
#include <span>
#include <vector>

class TComboFlat;
class TScrollBar;
class TCustomZuzGradient;
class TReader;
class TWriter;

// What a filter's editor offers: one control per published property of the filter, bound by
// name. A check box calls OnClick after it wrote the property; the scroll bar stays the
// caller's to re-range.
class IFormCreator {
public:
    virtual void AddCheckBox(const String& PropName, const String& Caption, const TNotifyEvent& OnClick) = 0;
    virtual void AddColor(const String& PropName, const String& Caption) = 0;
    virtual TComboFlat* AddCombo(const String& PropName) = 0;
    virtual void AddInteger(const String& PropName, const String& Caption, int Min, int Max) = 0;
    virtual TScrollBar* AddScroll(const String& PropName, int Min, int Max) = 0;

protected:
    ~IFormCreator() = default;
};

// The rectangle a filter works in; Width or Height 0 reaches the bitmap's right or bottom edge.
class TFilterRegion : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    void Assign(TPersistent* Source) override;

    int GetHeight() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    int GetLeft() const { return FLeft; }
    void SetLeft(int Value) { FLeft = Value; }
    int GetTop() const { return FTop; }
    void SetTop(int Value) { FTop = Value; }
    int GetWidth() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }
    // (Left, Top, Left + Width, Top + Height); writing it takes the sizes from its corners.
    TRect GetRectangle() const;
    void SetRectangle(const TRect& Value);

private:
    int FHeight = 0, FLeft = 0, FTop = 0, FWidth = 0;
};

class TZuzFilter : public TCollectionItem {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TZuzFilter(TCollection* Collection);
    ~TZuzFilter() override;
    void Assign(TPersistent* Source) override;

    // The whole bitmap, or the region's part of it (clamped to the bitmap: a region from a
    // stream may lie anywhere).
    void Apply(TBitmap* Bitmap);
    // Rect is inclusive: Right and Bottom are the last column and row. The base makes the
    // bitmap 24-bit and takes its row addresses unless they are held ready; every filter calls
    // it first and does nothing when the bitmap has no rows.
    virtual void Apply(TBitmap* Bitmap, const TRect& Rect);
    // The base keeps ChangedEvent; each filter then asks Creator for its controls.
    virtual void CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent);
    virtual String Description() const;
    // Whether the filter works inside a region; those that change the bitmap's size do not.
    virtual bool AllowsRegion() const { return true; }
    // The description of a filter class, as the editor's list of filters shows it.
    static String Description(const ClassInfo& FilterClass);
    // A filter of FilterClass made for the moment, applied to the whole bitmap and freed.
    static void ApplyTo(const ClassInfo& FilterClass, TBitmap* Bitmap);

    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    // Made on first read; nullptr frees it, anything else is copied into it.
    TFilterRegion* GetRegion();
    void SetRegion(TFilterRegion* Value);
    bool HasRegion() const { return FRegion != nullptr; }

protected:
    // Rect cut to the bitmap whose rows are in Lines; empty (Right < Left) when they do not meet.
    TRect ClampedToBitmap(const TRect& Rect) const;
    int BitmapWidth() const { return FBitmapWidth; }
    Byte* Pixel(int X, int Y) const { return Lines[static_cast<std::size_t>(Y)] + 3 * X; }
    // Lines are taken once and held for repeated passes (cleared again by the caller).
    void SetLinesReady(bool Value) { FScanLinesReady = Value; }

    Owned<TFilterRegion> FRegion;
    TNotifyEvent FChanged;
    bool FScanLinesReady = false;
    std::vector<Byte*> Lines;

private:
    bool FEnabled = true;
    int FBitmapWidth = 0;
};

class TFilterItems : public TOwnedCollection {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TFilterItems(TPersistent* AOwner) : TOwnedCollection(AOwner, TZuzFilter::StaticClass()) {}

    TZuzFilter* GetItem(int Index) const { return static_cast<TZuzFilter*>(TCollection::GetItem(Index)); }
    void SetItem(int Index, TZuzFilter* Value) { TCollection::SetItem(Index, Value); }
    // A new filter of FilterClass (a TZuzFilter class) at the end.
    TZuzFilter* Add(const ClassInfo& FilterClass);
    // Every enabled filter in order.
    void ApplyTo(TBitmap* Bitmap);
    // From other filter items: the same classes, each assigned; anything else as a collection.
    void Assign(TPersistent* Source) override;

    // The "FilterItems" block: the collection marker, each filter as a list that starts with
    // its class name ("ItemClass"), then the end of the list.
    void WriteItems(TWriter* Writer);
    // A damaged block raises (EReadError, EClassNotFound) and leaves the filters read so far.
    void ReadItems(TReader* Reader);
};

// A 3x3 convolution; descendants set the nine weights (rows top to bottom) before applying it.
class TConvolveFilter : public TZuzFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TConvolveFilter(TCollection* Collection) : TZuzFilter(Collection) {}
    using TZuzFilter::Apply;

    // The area's outermost rows and columns stay as they are; every other pixel takes the
    // weighted sum of its neighbourhood as it was before the pass.
    void Apply(TBitmap* Bitmap, const TRect& Rect) override;

    float Factor = 1.0f / 9.0f;
    float Weights[9] = {};

private:
    std::vector<Byte> FPrevious; // the area's rows as they were, reused between passes
};

// The registered filter classes in registration order (the editor's list); empty until the
// first registration.
std::span<const ClassInfo* const> FilterClasses();
// Adds each class not yet listed and registers it by name for streams.
void ZuzRegisterFilters(std::initializer_list<const ClassInfo*> Classes);
void ZuzUnRegisterFilters(std::initializer_list<const ClassInfo*> Classes);

// A picture that passes its graphic through its filters.
class TZuzPicture : public TPicture {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TZuzPicture();
    ~TZuzPicture() override;
    void Assign(TPersistent* Source) override;
    void DefineProperties(TFiler* Filer) override;

    // Made on first read.
    TFilterItems* GetFilters();
    // nullptr frees the list, anything else is copied into it.
    void SetFilters(TFilterItems* Value);
    bool FiltersStored() const;
    // The graphic itself without filters; else a bitmap owned by the picture holding the graphic
    // filtered.
    TGraphic* Filtered();
    // Tells the picture's listeners that it changed.
    void Repaint() { Changed(this); }

private:
    Owned<TFilterItems> FFilters;
    Owned<TBitmap> FFiltered;
};

// An image control that draws its picture filtered.
class TImageFiltered : public TImage {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TImageFiltered(TComponent* AOwner);
    ~TImageFiltered() override;
    void DefineProperties(TFiler* Filer) override;

    TFilterItems* GetFilters() const { return FFilters.get(); }
    void SetFilters(TFilterItems* Value) { FFilters->Assign(Value); }
    // A new bitmap (the caller's): the picture at the size it is drawn at, filtered.
    Owned<TBitmap> Filtered();

protected:
    void Paint() override;

private:
    Owned<TFilterItems> FFilters;
};

// ---------------------------------------------------------------------------
// The standard filters.

enum TGrayMethod : std::uint8_t { gmSimple, gmEye, gmEye2 };
template <>
const EnumInfo& EnumInfoOf<TGrayMethod>();
enum TMirrorDirection : std::uint8_t { mdDown, mdUp, mdRight, mdLeft };
template <>
const EnumInfo& EnumInfoOf<TMirrorDirection>();

class TInvertFilter : public TZuzFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TInvertFilter(TCollection* Collection);
    String Description() const override;
    using TZuzFilter::Apply;
    void Apply(TBitmap* Bitmap, const TRect& Rect) override;
};

class TGrayScaleFilter : public TZuzFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TGrayScaleFilter(TCollection* Collection);
    String Description() const override;
    using TZuzFilter::Apply;
    void Apply(TBitmap* Bitmap, const TRect& Rect) override;
    void CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) override;
    TGrayMethod GetMethod() const { return FMethod; }
    void SetMethod(TGrayMethod Value) { FMethod = Value; }

private:
    TGrayMethod FMethod = gmSimple;
};

class TFlipFilter : public TZuzFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TFlipFilter(TCollection* Collection);
    String Description() const override;
    using TZuzFilter::Apply;
    void Apply(TBitmap* Bitmap, const TRect& Rect) override;
};

class TReverseFilter : public TZuzFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TReverseFilter(TCollection* Collection);
    String Description() const override;
    using TZuzFilter::Apply;
    void Apply(TBitmap* Bitmap, const TRect& Rect) override;
};

class TColorFilter : public TZuzFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TColorFilter(TCollection* Collection);
    String Description() const override;
    using TZuzFilter::Apply;
    void Apply(TBitmap* Bitmap, const TRect& Rect) override;
    void CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) override;
    int GetBlue() const { return FBlue; }
    void SetBlue(int Value) { FBlue = Value; }
    int GetGreen() const { return FGreen; }
    void SetGreen(int Value) { FGreen = Value; }
    int GetRed() const { return FRed; }
    void SetRed(int Value) { FRed = Value; }

private:
    int FBlue = 0, FGreen = 0, FRed = 0;
};

class THueLumSatFilter : public TZuzFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit THueLumSatFilter(TCollection* Collection);
    String Description() const override;
    using TZuzFilter::Apply;
    void Apply(TBitmap* Bitmap, const TRect& Rect) override;
    void CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) override;
    int GetHue() const { return FHue; }
    void SetHue(int Value) { FHue = Value; }
    int GetLuminance() const { return FLuminance; }
    void SetLuminance(int Value) { FLuminance = Value; }
    int GetSaturation() const { return FSaturation; }
    void SetSaturation(int Value) { FSaturation = Value; }

private:
    int FHue = 0, FLuminance = 0, FSaturation = 0;
};

class TRotateFilter : public TZuzFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TRotateFilter(TCollection* Collection);
    String Description() const override;
    bool AllowsRegion() const override { return false; }
    using TZuzFilter::Apply;
    // The whole bitmap turns (and, with AutoSize, grows to hold the turned picture).
    void Apply(TBitmap* Bitmap, const TRect& Rect) override;
    void CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) override;
    double GetAngle() const { return FAngle; }
    void SetAngle(double Value) { SetIfChanged(FAngle, Value); }
    bool GetAutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value) { FAutoSize = Value; }
    TColor GetBackColor() const { return FBackColor; }
    void SetBackColor(TColor Value) { FBackColor = Value; }

private:
    double FAngle = 0;
    bool FAutoSize = true;
    TColor FBackColor = clWhite;
};

class TMirrorFilter : public TZuzFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TMirrorFilter(TCollection* Collection);
    String Description() const override;
    bool AllowsRegion() const override { return false; }
    using TZuzFilter::Apply;
    // The whole bitmap doubles in one direction, the copy mirrored.
    void Apply(TBitmap* Bitmap, const TRect& Rect) override;
    void CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) override;
    TMirrorDirection GetDirection() const { return FDirection; }
    void SetDirection(TMirrorDirection Value) { FDirection = Value; }

private:
    TMirrorDirection FDirection = mdDown;
};

class TTileFilter : public TZuzFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TTileFilter(TCollection* Collection);
    String Description() const override;
    using TZuzFilter::Apply;
    void Apply(TBitmap* Bitmap, const TRect& Rect) override;
    void CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) override;
    int GetNumCols() const { return FNumCols; }
    void SetNumCols(int Value) { FNumCols = Value; }
    int GetNumRows() const { return FNumRows; }
    void SetNumRows(int Value) { FNumRows = Value; }

private:
    int FNumCols = 3, FNumRows = 3;
};

class TBevelFilter : public TZuzFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TBevelFilter(TCollection* Collection);
    String Description() const override;
    using TZuzFilter::Apply;
    void Apply(TBitmap* Bitmap, const TRect& Rect) override;
    void CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) override;
    int GetBright() const { return FBright; }
    void SetBright(int Value) { FBright = Value; }
    int GetSize() const { return FSize; }
    void SetSize(int Value) { FSize = Value; }

private:
    int FBright = 64, FSize = 15;
};

class TZoomFilter : public TZuzFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TZoomFilter(TCollection* Collection);
    String Description() const override;
    using TZuzFilter::Apply;
    void Apply(TBitmap* Bitmap, const TRect& Rect) override;
    void CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) override;
    double GetPercent() const { return FPercent; }
    void SetPercent(double Value) { FPercent = Value; }
    bool GetSmooth() const { return FSmooth; }
    void SetSmooth(bool Value) { FSmooth = Value; }

private:
    double FPercent = 10;
    bool FSmooth = false;
};

class TResizeFilter : public TZuzFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TResizeFilter(TCollection* Collection);
    String Description() const override;
    bool AllowsRegion() const override { return false; }
    using TZuzFilter::Apply;
    // The whole bitmap becomes Width x Height, smoothly resampled.
    void Apply(TBitmap* Bitmap, const TRect& Rect) override;
    void CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) override;
    int GetWidth() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }
    int GetHeight() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }

protected:
    int FWidth = 0, FHeight = 0;
};

class TCropFilter : public TResizeFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TCropFilter(TCollection* Collection);
    String Description() const override;
    bool AllowsRegion() const override { return false; }
    using TZuzFilter::Apply;
    // The rectangle (Left, Top, Width x Height) of the bitmap is stretched over all of it.
    void Apply(TBitmap* Bitmap, const TRect& Rect) override;
    void CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) override;
    int GetLeft() const { return FLeft; }
    void SetLeft(int Value) { FLeft = Value; }
    int GetTop() const { return FTop; }
    void SetTop(int Value) { FTop = Value; }
    bool GetSmooth() const { return FSmooth; }
    void SetSmooth(bool Value) { FSmooth = Value; }

private:
    int FLeft = 0, FTop = 0;
    bool FSmooth = false;
};

// A filter with one strength, in percent or in channel steps.
class TAmountFilter : public TZuzFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TAmountFilter(TCollection* Collection) : TZuzFilter(Collection) {}

    // A scroll bar for Amount and a check box for Percent, which re-ranges the scroll bar.
    void CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) override;
    int GetAmount() const { return FAmount; }
    void SetAmount(int Value) { FAmount = Value; }
    bool GetPercent() const { return FPercent; }
    void SetPercent(bool Value) { FPercent = Value; }

protected:
    int FAmount = 5;
    bool FPercent = true;
    bool FOnlyPositive = false;

private:
    void ResetRange(TObject* Sender);
    TScrollBar* FScroll = nullptr; // the editor's
};

class TMosaicFilter : public TAmountFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TMosaicFilter(TCollection* Collection);
    String Description() const override;
    using TZuzFilter::Apply;
    void Apply(TBitmap* Bitmap, const TRect& Rect) override;
};

class TBrightnessFilter : public TAmountFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TBrightnessFilter(TCollection* Collection);
    String Description() const override;
    using TZuzFilter::Apply;
    void Apply(TBitmap* Bitmap, const TRect& Rect) override;
};

class TContrastFilter : public TAmountFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TContrastFilter(TCollection* Collection);
    String Description() const override;
    using TZuzFilter::Apply;
    void Apply(TBitmap* Bitmap, const TRect& Rect) override;
};

class TGammaCorrectionFilter : public TAmountFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TGammaCorrectionFilter(TCollection* Collection);
    String Description() const override;
    using TZuzFilter::Apply;
    void Apply(TBitmap* Bitmap, const TRect& Rect) override;
};

class TSharpenFilter : public TConvolveFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TSharpenFilter(TCollection* Collection);
    String Description() const override;
    using TZuzFilter::Apply;
    void Apply(TBitmap* Bitmap, const TRect& Rect) override;
};

class TEmbossFilter : public TConvolveFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TEmbossFilter(TCollection* Collection);
    String Description() const override;
    using TZuzFilter::Apply;
    void Apply(TBitmap* Bitmap, const TRect& Rect) override;
};

class TSoftenFilter : public TConvolveFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TSoftenFilter(TCollection* Collection);
    String Description() const override;
    using TZuzFilter::Apply;
    void Apply(TBitmap* Bitmap, const TRect& Rect) override;
};

class TBlurFilter : public TConvolveFilter {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TBlurFilter(TCollection* Collection);
    String Description() const override;
    using TZuzFilter::Apply;
    // Steps passes of a 3x3 mean with centre weight Amount.
    void Apply(TBitmap* Bitmap, const TRect& Rect) override;
    void CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) override;
    int GetAmount() const { return FAmount; }
    void SetAmount(int Value) { FAmount = Value; }
    int GetSteps() const { return FSteps; }
    void SetSteps(int Value) { FSteps = Value; }

private:
    int FAmount = 1, FSteps = 1;
};

// A grey copy of the picture (the eye's weights when Method is non-zero), inverted on request.
void ZuzGrayScale(TBitmap* Bitmap, bool Inverted, int Method);

// The filters unit: registers the standard filters in the editor's order, turns rotated
// gradients through TRotateFilter and blurs smooth text shadows through TBlurFilter.
void ZuzFiltersInitialization();
void ZuzFiltersFinalization();
