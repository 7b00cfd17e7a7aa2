// Metafile pictures: the recording canvas and the picture that keeps, plays
// and writes its records.
#include "platform/gui/graphics.h"

#include "platform/core/streams.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kHundredthsMmPerPixel = 2540.0 / 96;

int ToHundredthsMm(int Pixels) {
    return static_cast<int>(std::lround(Pixels * kHundredthsMmPerPixel));
}

int ToPixels(int HundredthsMm) {
    return static_cast<int>(std::lround(HundredthsMm / kHundredthsMmPerPixel));
}

} // namespace

// ---------------------------------------------------------------------------
// TMetafile

const ClassInfo& TMetafile::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TMetafile>("TMetafile", &TGraphic::StaticClass());
    return ci;
}

void TMetafile::Assign(TPersistent* Source) {
    if (!Source) {
        Clear();
        return;
    }
    if (auto* src = dynamic_cast<TMetafile*>(Source)) {
        if (src == this) return;
        FImage = src->FImage; // the records never change: copies share them
        FMMWidth = src->FMMWidth;
        FMMHeight = src->FMMHeight;
        FEnhanced = src->FEnhanced;
        SetTransparent(src->GetTransparent());
        Changed(this);
        return;
    }
    TGraphic::Assign(Source);
}

void TMetafile::Clear() {
    FImage.reset();
    FMMWidth = FMMHeight = 0;
    Changed(this);
}

int TMetafile::GetWidth() const {
    return ToPixels(FMMWidth);
}

int TMetafile::GetHeight() const {
    return ToPixels(FMMHeight);
}

void TMetafile::SetWidth(int Value) {
    SetMMWidth(ToHundredthsMm(Value));
}

void TMetafile::SetHeight(int Value) {
    SetMMHeight(ToHundredthsMm(Value));
}

void TMetafile::SetMMWidth(int Value) {
    if (SetIfChanged(FMMWidth, std::max(0, Value))) Changed(this);
}

void TMetafile::SetMMHeight(int Value) {
    if (SetIfChanged(FMMHeight, std::max(0, Value))) Changed(this);
}

void TMetafile::SetEnhanced(bool Value) {
    if (SetIfChanged(FEnhanced, Value)) Changed(this);
}

void TMetafile::SetHandle(HENHMETAFILE Value) {
    FImage = std::move(Value);
    if (FImage && (FMMWidth == 0 || FMMHeight == 0)) {
        const RECT& frame = FImage->Header().rclFrame;
        FMMWidth = frame.Right - frame.Left;
        FMMHeight = frame.Bottom - frame.Top;
    }
    Changed(this);
}

void TMetafile::Draw(TCanvas* ACanvas, const TRect& Rect) {
    if (FImage) PlayEnhMetaFile(ACanvas->GetHandle(), FImage, Rect);
}

void TMetafile::LoadFromStream(TStream* Stream) {
    const Int64 left = Stream->GetSize() - Stream->GetPosition();
    std::vector<Byte> data(static_cast<std::size_t>(std::max<Int64>(0, left)));
    if (!data.empty()) Stream->ReadBuffer(data.data(), static_cast<LongInt>(data.size()));
    String error;
    HENHMETAFILE image = EnhMetaFile::FromBytes(std::move(data), &error);
    if (!image) throw EInvalidGraphic(u"Metafile is not valid: " + error);
    const RECT& frame = image->Header().rclFrame;
    CheckPictureSize(ToPixels(frame.Right - frame.Left), ToPixels(frame.Bottom - frame.Top));
    FMMWidth = FMMHeight = 0;
    FEnhanced = true;
    SetHandle(std::move(image));
}

namespace {
// A placeable Windows metafile: the header that gives its box and resolution,
// then its records.
std::vector<Byte> PlaceableWmf(const HENHMETAFILE& Image, int Width, int Height) {
    // The box's edges are signed 16-bit, like the records' coordinates: a larger
    // picture keeps the largest box they can give instead of one that wraps.
    const auto edge = [](int v) { return static_cast<WORD>(std::clamp(v, 0, 32767)); };
    // Key, no handle, the box (left, top, right, bottom), 96 units an inch, reserved.
    const std::vector<WORD> head = {0xCDD7, 0x9AC6, 0, 0, 0, edge(Width), edge(Height), 96, 0, 0};
    WORD checksum = 0;
    for (WORD w : head) checksum ^= w;
    std::vector<Byte> bytes;
    for (WORD w : head) {
        bytes.push_back(static_cast<Byte>(w));
        bytes.push_back(static_cast<Byte>(w >> 8));
    }
    bytes.push_back(static_cast<Byte>(checksum));
    bytes.push_back(static_cast<Byte>(checksum >> 8));
    const std::vector<Byte> records = GetWinMetaFileBits(Image);
    bytes.insert(bytes.end(), records.begin(), records.end());
    return bytes;
}
} // namespace

void TMetafile::SaveToStream(TStream* Stream) {
    if (!FImage) return;
    if (!FEnhanced) {
        // Its box is the recorded picture's: the older records have one scale for both ways.
        const SIZE size = EnhMetaFilePixels(FImage->Header());
        const std::vector<Byte> wmf = PlaceableWmf(FImage, size.cx, size.cy);
        Stream->WriteBuffer(wmf.data(), static_cast<LongInt>(wmf.size()));
        return;
    }
    // The size set on the picture is the frame written.
    const RECT frame{0, 0, FMMWidth, FMMHeight};
    const RECT& recorded = FImage->Header().rclFrame;
    const HENHMETAFILE image =
        recorded.Right - recorded.Left == FMMWidth && recorded.Bottom - recorded.Top == FMMHeight
            ? FImage
            : FImage->WithFrame(frame);
    const std::vector<Byte>& bytes = image->Bytes();
    Stream->WriteBuffer(bytes.data(), static_cast<LongInt>(bytes.size()));
}

// ---------------------------------------------------------------------------
// TMetafileCanvas

const ClassInfo& TMetafileCanvas::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TMetafileCanvas>("TMetafileCanvas", &TCanvas::StaticClass());
    return ci;
}

TMetafileCanvas::TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice) : FMetafile(AMetafile) {
    const RECT frame{0, 0, AMetafile->GetMMWidth(), AMetafile->GetMMHeight()};
    const bool sized = frame.Right > 0 && frame.Bottom > 0;
    SetHandle(CreateEnhMetaFileW(ReferenceDevice, sized ? &frame : nullptr));
}

TMetafileCanvas::~TMetafileCanvas() {
    HDC dc = GetHandle();
    SetHandle(nullptr);
    FMetafile->SetHandle(CloseEnhMetaFile(dc));
}
