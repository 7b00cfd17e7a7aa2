#include "chart/canvas/zuzfilters.h"

#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/canvas/zuzstretch.h"
#include "platform/core/filer.h"
#include "platform/core/sysutils.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// TFilterRegion

const ClassInfo& TFilterRegion::StaticClass() {
    using R = TFilterRegion;
    static const PropInfo props[] = {
        MakeProp<&R::GetHeight, &R::SetHeight>("Height").Default(0),
        MakeProp<&R::GetLeft, &R::SetLeft>("Left").Default(0),
        MakeProp<&R::GetTop, &R::SetTop>("Top").Default(0),
        MakeProp<&R::GetWidth, &R::SetWidth>("Width").Default(0),
    };
    static const ClassInfo ci =
        MakeClassInfo<TFilterRegion>("TFilterRegion", &TPersistent::StaticClass(), props);
    return ci;
}

void TFilterRegion::Assign(TPersistent* Source) {
    if (auto* r = dynamic_cast<TFilterRegion*>(Source)) {
        FHeight = r->FHeight;
        FLeft = r->FLeft;
        FTop = r->FTop;
        FWidth = r->FWidth;
        return;
    }
    TPersistent::Assign(Source);
}

namespace {
// A sum or difference of two numbers a stream may set to anything, saturated.
int Saturated(Int64 Value) {
    return static_cast<int>(std::clamp<Int64>(Value, INT32_MIN, INT32_MAX));
}
} // namespace

TRect TFilterRegion::GetRectangle() const {
    return TRect(FLeft, FTop, Saturated(Int64{FLeft} + FWidth), Saturated(Int64{FTop} + FHeight));
}

void TFilterRegion::SetRectangle(const TRect& Value) {
    FLeft = Value.Left;
    FTop = Value.Top;
    FWidth = Saturated(Int64{Value.Right} - Value.Left);
    FHeight = Saturated(Int64{Value.Bottom} - Value.Top);
}

// ---------------------------------------------------------------------------
// TZuzFilter

const ClassInfo& TZuzFilter::StaticClass() {
    using F = TZuzFilter;
    static const PropInfo props[] = {
        MakeProp<&F::GetEnabled, &F::SetEnabled>("Enabled").Default(true),
        MakeProp<&F::GetRegion, &F::SetRegion>("Region").Stored<&F::HasRegion>(),
    };
    static const ClassInfo ci =
        MakeClassInfo<TZuzFilter>("TZuzFilter", &TCollectionItem::StaticClass(), props);
    return ci;
}

TZuzFilter::TZuzFilter(TCollection* Collection) : TCollectionItem(Collection) {}

TZuzFilter::~TZuzFilter() = default;

void TZuzFilter::Assign(TPersistent* Source) {
    if (auto* f = dynamic_cast<TZuzFilter*>(Source)) {
        FEnabled = f->FEnabled;
        SetRegion(f->FRegion.get());
        // A copy of a filter of the same class takes its settings too: a picture's or an
        // editor's copy of a filter list filters as the original does.
        if (&f->ClassType() == &ClassType())
            for (const PropInfo* p : ClassType().AllProps()) {
                if (p->getOrd && p->setOrd)
                    p->setOrd(*this, p->getOrd(*f));
                else if (p->getFloat && p->setFloat)
                    p->setFloat(*this, p->getFloat(*f));
                else if (p->getStr && p->setStr)
                    p->setStr(*this, p->getStr(*f));
            }
        return;
    }
    TCollectionItem::Assign(Source);
}

TFilterRegion* TZuzFilter::GetRegion() {
    if (!FRegion) FRegion = MakeOwned<TFilterRegion>();
    return FRegion.get();
}

void TZuzFilter::SetRegion(TFilterRegion* Value) {
    if (!Value)
        FRegion.reset();
    else
        GetRegion()->Assign(Value);
}

namespace {

// The last column (or row) of a region that starts at Start and spans Size pixels of a
// bitmap Extent pixels long. Size 0 reaches the bitmap's end. A region of Size pixels ends
// at Start + Size - 1: its right edge is inclusive like every rectangle the filters get.
int RegionEnd(int Start, int Size, int Extent) {
    if (Size == 0) return std::max(Start, Extent - 1);
    const Int64 end = static_cast<Int64>(Start) + Size - 1;
    return static_cast<int>(std::clamp<Int64>(end, -1, Extent - 1));
}

} // namespace

void TZuzFilter::Apply(TBitmap* Bitmap) {
    const int w = Bitmap->GetWidth(), h = Bitmap->GetHeight();
    TRect r(0, 0, w - 1, h - 1);
    if (FRegion) {
        r.Left = FRegion->GetLeft();
        r.Top = FRegion->GetTop();
        r.Right = RegionEnd(r.Left, FRegion->GetWidth(), w);
        r.Bottom = RegionEnd(r.Top, FRegion->GetHeight(), h);
        // A region read from a file may lie partly or wholly off the bitmap.
        r.Left = std::max(r.Left, 0);
        r.Top = std::max(r.Top, 0);
        r.Right = std::min(r.Right, w - 1);
        r.Bottom = std::min(r.Bottom, h - 1);
    }
    Apply(Bitmap, r);
}

void TZuzFilter::Apply(TBitmap* Bitmap, const TRect&) {
    if (FScanLinesReady) return;
    ZuzCalcLines(Lines, Bitmap);
    FBitmapWidth = Lines.empty() ? 0 : Bitmap->GetWidth();
}

TRect TZuzFilter::ClampedToBitmap(const TRect& Rect) const {
    // Both ends are kept within one step of the bitmap, so an empty area stays empty (Left > Right) and
    // no offset or width computed from it can overflow, whatever a stream put in the region.
    const int height = static_cast<int>(Lines.size());
    return TRect(std::clamp(Rect.Left, 0, FBitmapWidth), std::clamp(Rect.Top, 0, height),
                 std::clamp(Rect.Right, -1, FBitmapWidth - 1), std::clamp(Rect.Bottom, -1, height - 1));
}

void TZuzFilter::CreateEditor(IFormCreator*, const TNotifyEvent& ChangedEvent) {
    FChanged = ChangedEvent;
}

String TZuzFilter::Description() const {
    return ClassName();
}

namespace {

Owned<TZuzFilter> NewLoneFilter(const ClassInfo& FilterClass) {
    if (!FilterClass.InheritsFrom(TZuzFilter::StaticClass()) || !FilterClass.newItem)
        throw EInvalidOperation(u"%s is no image filter", {IdentToString(FilterClass.name)});
    Owned<TZuzFilter> f(static_cast<TZuzFilter*>(FilterClass.newItem(nullptr)));
    FinishConstruction(f.get());
    return f;
}

} // namespace

String TZuzFilter::Description(const ClassInfo& FilterClass) {
    return NewLoneFilter(FilterClass)->Description();
}

void TZuzFilter::ApplyTo(const ClassInfo& FilterClass, TBitmap* Bitmap) {
    NewLoneFilter(FilterClass)->Apply(Bitmap);
}

// ---------------------------------------------------------------------------
// TFilterItems

const ClassInfo& TFilterItems::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TFilterItems>("TFilterItems", &TOwnedCollection::StaticClass());
    return ci;
}

TZuzFilter* TFilterItems::Add(const ClassInfo& FilterClass) {
    if (!FilterClass.InheritsFrom(TZuzFilter::StaticClass()) || !FilterClass.newItem)
        throw EInvalidOperation(u"%s is no image filter", {IdentToString(FilterClass.name)});
    TCollectionItem* item = FilterClass.newItem(this);
    FinishConstruction(item);
    return static_cast<TZuzFilter*>(item);
}

void TFilterItems::ApplyTo(TBitmap* Bitmap) {
    for (int i = 0; i < GetCount(); ++i)
        if (TZuzFilter* f = GetItem(i); f->GetEnabled()) f->Apply(Bitmap);
}

void TFilterItems::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TFilterItems*>(Source);
    if (!source) {
        TCollection::Assign(Source);
        return;
    }
    if (source == this) return;
    Clear();
    WithUpdate(*this, [&] {
        for (int i = 0; i < source->GetCount(); ++i) {
            TZuzFilter* from = source->GetItem(i);
            Add(from->ClassType())->Assign(from);
        }
    });
}

void TFilterItems::WriteItems(TWriter* Writer) {
    Writer->WriteCollection(this, [](TWriter* W, TCollectionItem* Item) {
        W->WriteStr("ItemClass");
        W->WriteString(Item->ClassName());
    });
}

void TFilterItems::ReadItems(TReader* Reader) {
    if (Reader->ReadValue() != vaCollection) throw EReadError(u"Invalid property value");
    WithUpdate(*this, [&] {
        if (!Reader->EndOfList()) Clear();
        while (!Reader->EndOfList()) {
            const TValueType t = Reader->NextValue();
            if (t == vaInt8 || t == vaInt16 || t == vaInt32) Reader->ReadInteger(); // the item's index
            Reader->ReadListBegin();
            if (!SameIdent(Reader->ReadStr(), "ItemClass")) throw EReadError(u"Invalid property value");
            const std::string name = UTF8Encode(Reader->ReadString());
            const ClassInfo& cls = FindClass(name);
            if (!cls.InheritsFrom(TZuzFilter::StaticClass()) || !cls.newItem)
                throw EReadError(u"%s is no image filter", {IdentToString(name)});
            TZuzFilter* item = Add(cls);
            while (!Reader->EndOfList()) Reader->ReadProperty(item);
            Reader->ReadListEnd();
        }
        Reader->ReadListEnd();
    });
}

// ---------------------------------------------------------------------------
// TConvolveFilter

namespace {
constexpr float kRoundFloat = 12582912.0f;
} // namespace

const ClassInfo& TConvolveFilter::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TConvolveFilter>("TConvolveFilter", &TZuzFilter::StaticClass());
    return ci;
}

void TConvolveFilter::Apply(TBitmap* Bitmap, const TRect& Rect) {
    TZuzFilter::Apply(Bitmap, Rect);
    if (Lines.empty()) return;
    float sum = 0;
    for (float w : Weights) sum += w;
    // Weights that cancel out would divide by zero: such a kernel is taken unscaled.
    Factor = sum != 0 ? 1.0f / sum : 1.0f;
    const TRect r = ClampedToBitmap(Rect);
    const int x0 = r.Left, x1 = r.Right, y0 = r.Top, y1 = r.Bottom;
    if (x1 - x0 < 2 || y1 - y0 < 2) return; // no pixel inside the untouched border

    // Each pass reads the area as it was before it: a copy of its rows.
    const std::size_t rowBytes = static_cast<std::size_t>(x1 - x0 + 1) * 3;
    FPrevious.resize(rowBytes * static_cast<std::size_t>(y1 - y0 + 1));
    for (int y = y0; y <= y1; ++y)
        std::copy_n(Pixel(x0, y), rowBytes, FPrevious.data() + rowBytes * static_cast<std::size_t>(y - y0));

    const float w0 = Weights[0], w1 = Weights[1], w2 = Weights[2], w3 = Weights[3], w4 = Weights[4],
                w5 = Weights[5], w6 = Weights[6], w7 = Weights[7], w8 = Weights[8], f = Factor;
    const int n = (x1 - x0 - 1) * 3; // bytes of one row between the untouched columns
    for (int y = y0 + 1; y < y1; ++y) {
        const Byte* up = FPrevious.data() + rowBytes * static_cast<std::size_t>(y - 1 - y0);
        const Byte* mid = up + rowBytes;
        const Byte* down = mid + rowBytes;
        Byte* out = Pixel(x0 + 1, y);
        for (int i = 0; i < n; ++i) {
            // Byte i of the row's inner part: its left neighbour is 3 bytes back in the copy.
            const float v = w0 * up[i] + w1 * up[i + 3] + w2 * up[i + 6] + w3 * mid[i] + w4 * mid[i + 3] +
                            w5 * mid[i + 6] + w6 * down[i] + w7 * down[i + 3] + w8 * down[i + 6];
            const float scaled = v * f;
            // Clamped, then rounded halves to even as the rest of the library rounds: adding
            // and taking away 1.5 * 2^23 leaves the float rounded to a whole number.
            const float clamped = std::clamp(scaled, 0.0f, 255.0f);
            out[i] = static_cast<Byte>((clamped + kRoundFloat) - kRoundFloat);
        }
    }
}

// ---------------------------------------------------------------------------
// The registry

namespace {

std::unique_ptr<std::vector<const ClassInfo*>>& FilterClassList() {
    static std::unique_ptr<std::vector<const ClassInfo*>> list;
    return list;
}

} // namespace

std::span<const ClassInfo* const> FilterClasses() {
    const auto& list = FilterClassList();
    if (!list) return {};
    return *list;
}

void ZuzRegisterFilters(std::initializer_list<const ClassInfo*> Classes) {
    auto& list = FilterClassList();
    if (!list) list = std::make_unique<std::vector<const ClassInfo*>>();
    for (const ClassInfo* c : Classes) {
        if (std::find(list->begin(), list->end(), c) != list->end()) continue;
        list->push_back(c);
        RegisterClass(*c);
    }
}

void ZuzUnRegisterFilters(std::initializer_list<const ClassInfo*> Classes) {
    auto& list = FilterClassList();
    if (!list) return;
    for (const ClassInfo* c : Classes) std::erase(*list, c);
}

// ---------------------------------------------------------------------------
// TZuzPicture

const ClassInfo& TZuzPicture::StaticClass() {
    using P = TZuzPicture;
    static const PropInfo props[] = {
        // The filters travel as the "FilterItems" block, never as a property.
        MakeProp<&P::GetFilters, &P::SetFilters>("Filters").Stored(false),
    };
    static const ClassInfo ci = MakeClassInfo<TZuzPicture>("TZuzPicture", &TPicture::StaticClass(), props);
    return ci;
}

TZuzPicture::TZuzPicture() = default;

TZuzPicture::~TZuzPicture() = default;

TFilterItems* TZuzPicture::GetFilters() {
    if (!FFilters) FFilters = MakeOwned<TFilterItems>(this);
    return FFilters.get();
}

void TZuzPicture::SetFilters(TFilterItems* Value) {
    if (!Value)
        FFilters.reset();
    else
        GetFilters()->Assign(Value);
}

bool TZuzPicture::FiltersStored() const {
    return FFilters && FFilters->GetCount() > 0;
}

void TZuzPicture::Assign(TPersistent* Source) {
    if (auto* p = dynamic_cast<TZuzPicture*>(Source)) SetFilters(p->FFilters.get());
    TPicture::Assign(Source);
}

void TZuzPicture::DefineProperties(TFiler* Filer) {
    TPicture::DefineProperties(Filer);
    Filer->DefineProperty(
        "FilterItems", [this](TReader* Reader) { GetFilters()->ReadItems(Reader); },
        [this](TWriter* Writer) { FFilters->WriteItems(Writer); }, FiltersStored());
}

TGraphic* TZuzPicture::Filtered() {
    TGraphic* graphic = GetGraphic();
    if (!FiltersStored() || !graphic) return graphic;
    if (!FFiltered) FFiltered = MakeOwned<TBitmap>();
    FFiltered->Assign(graphic);
    FFilters->ApplyTo(FFiltered.get());
    return FFiltered.get();
}

// ---------------------------------------------------------------------------
// TImageFiltered

const ClassInfo& TImageFiltered::StaticClass() {
    using I = TImageFiltered;
    static const PropInfo props[] = {
        MakeProp<&I::GetFilters, &I::SetFilters>("Filters").Stored(false),
    };
    static const ClassInfo ci =
        MakeClassInfo<TImageFiltered>("TImageFiltered", &TImage::StaticClass(), props);
    return ci;
}

TImageFiltered::TImageFiltered(TComponent* AOwner)
    : TImage(AOwner), FFilters(MakeOwned<TFilterItems>(this)) {}

TImageFiltered::~TImageFiltered() = default;

void TImageFiltered::DefineProperties(TFiler* Filer) {
    TImage::DefineProperties(Filer);
    Filer->DefineProperty(
        "FilterItems", [this](TReader* Reader) { FFilters->ReadItems(Reader); },
        [this](TWriter* Writer) { FFilters->WriteItems(Writer); }, FFilters->GetCount() > 0);
}

Owned<TBitmap> TImageFiltered::Filtered() {
    auto bitmap = MakeOwned<TBitmap>();
    TGraphic* graphic = GetPicture()->GetGraphic();
    if (!graphic) return bitmap;
    bitmap->Assign(graphic);
    const int w = GetStretch() ? GetWidth() : graphic->GetWidth();
    const int h = GetStretch() ? GetHeight() : graphic->GetHeight();
    if (w != bitmap->GetWidth() || h != bitmap->GetHeight()) {
        auto sized = MakeOwned<TBitmap>();
        sized->SetPixelFormat(pf24bit);
        sized->SetSize(w, h);
        SmoothStretch(bitmap.get(), sized.get());
        bitmap = std::move(sized);
    }
    FFilters->ApplyTo(bitmap.get());
    return bitmap;
}

void TImageFiltered::Paint() {
    TCanvas* canvas = GetCanvas();
    if (GetComponentState().Contains(csDesigning)) {
        canvas->GetPen()->SetStyle(psDash);
        canvas->GetBrush()->SetStyle(bsClear);
        SetBkMode(canvas->GetHandle(), TRANSPARENT);
        canvas->Rectangle(0, 0, GetWidth(), GetHeight());
    }
    const Owned<TBitmap> bitmap = Filtered();
    canvas->Draw(0, 0, bitmap.get());
}

// ---------------------------------------------------------------------------
// Start-up

namespace {

void RotateGradientBitmap(TCustomZuzGradient* Gradient, TBitmap* Bitmap) {
    auto rotate = MakeOwned<TRotateFilter>(nullptr);
    rotate->SetAngle(Gradient->GetAngle());
    rotate->Apply(Bitmap);
}

void BlurTextShadow(TBitmap* Bitmap, const TRect& Region, int Amount) {
    auto blur = MakeOwned<TBlurFilter>(nullptr);
    blur->SetAmount(Amount);
    blur->Apply(Bitmap, Region);
}

} // namespace

void ZuzFiltersInitialization() {
    // The editor lists the filters in this order.
    ZuzRegisterFilters({&TInvertFilter::StaticClass(),    &TGrayScaleFilter::StaticClass(),
                        &TMosaicFilter::StaticClass(),    &TFlipFilter::StaticClass(),
                        &TReverseFilter::StaticClass(),   &TBrightnessFilter::StaticClass(),
                        &TContrastFilter::StaticClass(),  &TColorFilter::StaticClass(),
                        &THueLumSatFilter::StaticClass(), &TBlurFilter::StaticClass(),
                        &TSharpenFilter::StaticClass(),   &TGammaCorrectionFilter::StaticClass(),
                        &TEmbossFilter::StaticClass(),    &TSoftenFilter::StaticClass(),
                        &TCropFilter::StaticClass(),      &TResizeFilter::StaticClass(),
                        &TRotateFilter::StaticClass(),    &TMirrorFilter::StaticClass(),
                        &TTileFilter::StaticClass(),      &TBevelFilter::StaticClass(),
                        &TZoomFilter::StaticClass()});
    ZuzGradientRotate = RotateGradientBitmap;
    ZuzTextShadowBlur = BlurTextShadow;
}

void ZuzFiltersFinalization() {
    ZuzGradientRotate = nullptr;
    ZuzTextShadowBlur = nullptr;
    FilterClassList().reset();
}
