#include "platform/gui/jpeg.h"

#include "platform/core/streams.h"
#include "platform/core/sysutils.h"
#include "platform/win32/gdi.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
// jpeglib.h wants size_t and FILE declared before it.
#include <jpeglib.h>

TJPEGDefaults JPEGDefaults;

template <>
const EnumInfo& EnumInfoOf<TJPEGPerformance>() {
    static const EnumInfo info{"TJPEGPerformance", {"jpBestQuality", "jpBestSpeed"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TJPEGPixelFormat>() {
    static const EnumInfo info{"TJPEGPixelFormat", {"jf24Bit", "jf8Bit"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TJPEGScale>() {
    static const EnumInfo info{"TJPEGScale", {"jsFullSize", "jsHalf", "jsQuarter", "jsEighth"}};
    return info;
}

namespace {

// libjpeg reports errors by calling error_exit, which must not return. Its frames are C,
// so the error comes back here by longjmp and becomes an exception in our own frame.
struct ErrorTrap {
    jpeg_error_mgr mgr{};
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX] = {};
};

void TrapError(j_common_ptr info) {
    auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
    info->err->format_message(info, trap->message);
    std::longjmp(trap->jump, 1);
}

// Warnings (a truncated file, a corrupt marker) still give a picture: show what there is.
void IgnoreMessage(j_common_ptr) {}

jpeg_error_mgr* InstallTrap(ErrorTrap& trap) {
    jpeg_std_error(&trap.mgr);
    trap.mgr.error_exit = TrapError;
    trap.mgr.output_message = IgnoreMessage;
    return &trap.mgr;
}

[[noreturn]] void RaiseJpeg(const ErrorTrap& trap) {
    throw EJPEG(u"JPEG error: " + UTF8ToString(trap.message));
}

int ScaleDenominator(TJPEGScale s) {
    return 1 << static_cast<int>(s);
}

struct EncodeSettings {
    int quality;
    bool gray, progressive, fast;
};

// Compresses the rows of a 24-bit (blue, green, red) or 32-bit (blue, green, red, unused)
// bitmap; libjpeg-turbo reads both layouts as they are.
std::vector<Byte> Encode(TBitmap* Source, const EncodeSettings& s) {
    const int width = Source->GetWidth(), height = Source->GetHeight();
    const bool packed = Source->GetPixelFormat() == pf24bit;
    std::vector<JSAMPROW> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) rows[static_cast<std::size_t>(y)] = Source->ScanLine(y);
    std::vector<Byte> out;

    jpeg_compress_struct c{};
    ErrorTrap trap;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    c.err = InstallTrap(trap);
    if (setjmp(trap.jump)) {
        jpeg_destroy_compress(&c);
        std::free(buffer);
        RaiseJpeg(trap);
    }
    jpeg_create_compress(&c);
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = static_cast<JDIMENSION>(width);
    c.image_height = static_cast<JDIMENSION>(height);
    c.input_components = packed ? 3 : 4;
    c.in_color_space = packed ? JCS_EXT_BGR : JCS_EXT_BGRX;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, s.quality, TRUE);
    if (s.gray) jpeg_set_colorspace(&c, JCS_GRAYSCALE);
    if (s.progressive) jpeg_simple_progression(&c);
    c.dct_method = s.fast ? JDCT_IFAST : JDCT_ISLOW;
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height)
        jpeg_write_scanlines(&c, &rows[c.next_scanline], c.image_height - c.next_scanline);
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    out.assign(buffer, buffer + size);
    std::free(buffer);
    return out;
}

struct Header {
    int width = 0, height = 0;
    bool progressive = false;
};

Header ReadHeader(const std::vector<Byte>& data) {
    jpeg_decompress_struct d{};
    ErrorTrap trap;
    Header h;
    d.err = InstallTrap(trap);
    if (setjmp(trap.jump)) {
        jpeg_destroy_decompress(&d);
        RaiseJpeg(trap);
    }
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&d, TRUE);
    h.width = static_cast<int>(d.image_width);
    h.height = static_cast<int>(d.image_height);
    h.progressive = d.progressive_mode != 0;
    jpeg_destroy_decompress(&d);
    return h;
}

struct DecodeSettings {
    bool gray, fast, quantize, smoothing;
    int denominator;
};

// Decodes into a 24-bit bitmap. Gray output and 256-colour output come from libjpeg as one
// byte a pixel and are spread into the bitmap's three.
void Decode(const std::vector<Byte>& data, const DecodeSettings& s, TBitmap* Target) {
    jpeg_decompress_struct d{};
    ErrorTrap trap;
    std::vector<Byte> line;
    // Our own calls below may raise as well; the decompressor is freed on that road too. It
    // lives before the jump point, so a jump back never passes over its destructor.
    struct Release {
        jpeg_decompress_struct* volatile d = nullptr;
        ~Release() {
            if (d) jpeg_destroy_decompress(d);
        }
    } release;
    d.err = InstallTrap(trap);
    if (setjmp(trap.jump)) {
        release.d = nullptr;
        jpeg_destroy_decompress(&d);
        RaiseJpeg(trap);
    }
    jpeg_create_decompress(&d);
    release.d = &d;
    jpeg_mem_src(&d, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&d, TRUE);
    const bool oneChannel = s.gray || d.num_components == 1;
    d.out_color_space = oneChannel ? JCS_GRAYSCALE : (s.quantize ? JCS_RGB : JCS_EXT_BGR);
    d.scale_num = 1;
    d.scale_denom = static_cast<unsigned>(s.denominator);
    d.dct_method = s.fast ? JDCT_IFAST : JDCT_ISLOW;
    d.do_fancy_upsampling = s.fast ? FALSE : TRUE;
    d.do_block_smoothing = s.smoothing ? TRUE : FALSE;
    if (s.quantize && !oneChannel) {
        d.quantize_colors = TRUE;
        d.desired_number_of_colors = 256;
    }
    jpeg_calc_output_dimensions(&d);
    // A header of a few bytes can claim 65,500 x 65,500 pixels: such a file would take
    // gigabytes before a single row is read, so it is refused as damaged.
    if (!PictureSizeAllowed(d.output_width, d.output_height))
        throw EJPEG(u"JPEG error: the picture is too large");
    jpeg_start_decompress(&d);
    const int w = static_cast<int>(d.output_width), h = static_cast<int>(d.output_height);
    Target->SetPixelFormat(pf24bit);
    Target->SetSize(w, h);
    const bool direct = d.output_components == 3 && !d.quantize_colors;
    line.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(d.output_components));
    while (d.output_scanline < d.output_height) {
        Byte* row = Target->ScanLine(static_cast<int>(d.output_scanline));
        JSAMPROW into = direct ? row : line.data();
        jpeg_read_scanlines(&d, &into, 1);
        if (direct) continue;
        for (int x = 0; x < w; ++x) {
            Byte* px = row + 3 * x;
            const Byte v = line[static_cast<std::size_t>(x)];
            if (d.quantize_colors) {
                px[0] = d.colormap[2][v];
                px[1] = d.colormap[1][v];
                px[2] = d.colormap[0][v];
            } else {
                px[0] = px[1] = px[2] = v;
            }
        }
    }
    jpeg_finish_decompress(&d);
}

} // namespace

const ClassInfo& TJPEGImage::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TJPEGImage>("TJPEGImage", &TGraphic::StaticClass());
    return ci;
}

TJPEGImage::TJPEGImage()
    : FCompressionQuality(JPEGDefaults.CompressionQuality), FGrayscale(JPEGDefaults.Grayscale),
      FPerformance(JPEGDefaults.Performance), FPixelFormat(JPEGDefaults.PixelFormat),
      FProgressiveDisplay(JPEGDefaults.ProgressiveDisplay),
      FProgressiveEncoding(JPEGDefaults.ProgressiveEncoding), FScale(JPEGDefaults.Scale),
      FSmoothing(JPEGDefaults.Smoothing) {
    SetCompressionQuality(FCompressionQuality);
}

TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::Assign(TPersistent* Source) {
    if (auto* bmp = dynamic_cast<TBitmap*>(Source)) {
        auto copy = MakeOwned<TBitmap>();
        copy->Assign(bmp);
        if (copy->GetPixelFormat() != pf24bit) copy->SetPixelFormat(pf32bit);
        FSource = std::move(copy);
        Compress();
        return;
    }
    if (auto* jpg = dynamic_cast<TJPEGImage*>(Source)) {
        if (jpg == this) return;
        FCompressionQuality = jpg->FCompressionQuality;
        FGrayscale = jpg->FGrayscale;
        FPerformance = jpg->FPerformance;
        FPixelFormat = jpg->FPixelFormat;
        FProgressiveDisplay = jpg->FProgressiveDisplay;
        FProgressiveEncoding = jpg->FProgressiveEncoding;
        FScale = jpg->FScale;
        FSmoothing = jpg->FSmoothing;
        FSource.reset();
        if (jpg->FSource) {
            FSource = MakeOwned<TBitmap>();
            FSource->Assign(jpg->FSource.get());
        }
        SetData(jpg->FData);
        return;
    }
    TGraphic::Assign(Source);
}

int TJPEGImage::GetWidth() const {
    const int d = ScaleDenominator(FScale);
    return (FImageWidth + d - 1) / d;
}

int TJPEGImage::GetHeight() const {
    const int d = ScaleDenominator(FScale);
    return (FImageHeight + d - 1) / d;
}

void TJPEGImage::SetCompressionQuality(TJPEGQualityRange Value) {
    FCompressionQuality = std::clamp(Value, 1, 100);
}

void TJPEGImage::SetGrayscale(bool Value) {
    if (Value == FGrayscale) return;
    FGrayscale = Value;
    DisplayChanged();
}

void TJPEGImage::SetPerformance(TJPEGPerformance Value) {
    if (Value == FPerformance) return;
    FPerformance = Value;
    DisplayChanged();
}

void TJPEGImage::SetPixelFormat(TJPEGPixelFormat Value) {
    if (Value == FPixelFormat) return;
    FPixelFormat = Value;
    DisplayChanged();
}

void TJPEGImage::SetScale(TJPEGScale Value) {
    if (Value == FScale) return;
    FScale = Value;
    DisplayChanged();
}

void TJPEGImage::SetSmoothing(bool Value) {
    if (Value == FSmoothing) return;
    FSmoothing = Value;
    DisplayChanged();
}

void TJPEGImage::DisplayChanged() {
    if (!FBitmap) return;
    FBitmap.reset();
    Changed(this);
}

void TJPEGImage::Compress() {
    if (!FSource || FSource->GetEmpty()) {
        if (FSource) SetData({});
        return;
    }
    SetData(Encode(FSource.get(), EncodeSettings{FCompressionQuality, FGrayscale, FProgressiveEncoding,
                                                 FPerformance == jpBestSpeed}));
}

void TJPEGImage::SetData(std::vector<Byte> Data) {
    Header h;
    if (!Data.empty()) h = ReadHeader(Data);
    FData = std::move(Data);
    FImageWidth = h.width;
    FImageHeight = h.height;
    FProgressive = h.progressive;
    FBitmap.reset();
    Changed(this);
}

TBitmap* TJPEGImage::GetBitmap() {
    if (!FBitmap) {
        auto bmp = MakeOwned<TBitmap>();
        if (!FData.empty())
            Decode(FData,
                   DecodeSettings{FGrayscale, FPerformance == jpBestSpeed, FPixelFormat == jf8Bit, FSmoothing,
                                  ScaleDenominator(FScale)},
                   bmp.get());
        FBitmap = std::move(bmp);
    }
    return FBitmap.get();
}

void TJPEGImage::LoadFromStream(TStream* Stream) {
    const Int64 left = std::max<Int64>(0, Stream->GetSize() - Stream->GetPosition());
    std::vector<Byte> data(static_cast<std::size_t>(left));
    if (!data.empty()) Stream->ReadBuffer(data.data(), static_cast<LongInt>(data.size()));
    if (data.empty()) throw EJPEG(u"JPEG error: the picture is empty");
    const Header h = ReadHeader(data);
    CheckPictureSize(h.width, h.height);
    FSource.reset();
    SetData(std::move(data));
}

void TJPEGImage::SaveToStream(TStream* Stream) {
    if (FData.empty()) Compress();
    if (!FData.empty()) Stream->WriteBuffer(FData.data(), static_cast<LongInt>(FData.size()));
}

void TJPEGImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
    if (GetEmpty()) return;
    ACanvas->StretchDraw(Rect, GetBitmap());
}

void JpegInitialization() {
    RegisterGraphicClass(TJPEGImage::StaticClass(), []() -> TGraphic* { return Create<TJPEGImage>(); });
    TPicture::RegisterFileFormat(u"jpg", u"JPEG Image File", TJPEGImage::StaticClass());
    TPicture::RegisterFileFormat(u"jpeg", u"JPEG Image File", TJPEGImage::StaticClass());
}
