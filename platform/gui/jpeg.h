#pragma once
// JPEG pictures: a bitmap assigned to the picture is compressed at once with the
// picture's compression settings; the compressed bytes are what the picture saves,
// loads and, decoded with its display settings, draws.

#include "platform/gui/graphics.h"

#include <cstdint>
#include <vector>

class EJPEG : public EInvalidGraphic {
public:
    using EInvalidGraphic::EInvalidGraphic;
};

using TJPEGQualityRange = int; // 1..100, larger is better quality and a larger file
enum TJPEGPerformance : std::uint8_t { jpBestQuality, jpBestSpeed };
template <>
const EnumInfo& EnumInfoOf<TJPEGPerformance>();
enum TJPEGPixelFormat : std::uint8_t { jf24Bit, jf8Bit };
template <>
const EnumInfo& EnumInfoOf<TJPEGPixelFormat>();
enum TJPEGScale : std::uint8_t { jsFullSize, jsHalf, jsQuarter, jsEighth };
template <>
const EnumInfo& EnumInfoOf<TJPEGScale>();

// What a new picture starts from.
struct TJPEGDefaults {
    TJPEGQualityRange CompressionQuality = 90;
    bool Grayscale = false;
    TJPEGPerformance Performance = jpBestQuality;
    TJPEGPixelFormat PixelFormat = jf24Bit;
    bool ProgressiveDisplay = false;
    bool ProgressiveEncoding = false;
    TJPEGScale Scale = jsFullSize;
    bool Smoothing = true;
};
extern TJPEGDefaults JPEGDefaults;

class TJPEGImage : public TGraphic {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TJPEGImage();
    ~TJPEGImage() override;
    // A bitmap is compressed; another JPEG picture is copied with its settings.
    void Assign(TPersistent* Source) override;

    bool GetEmpty() const override { return FData.empty(); }
    // The size the picture draws at: the stored size divided by Scale, rounded up.
    int GetWidth() const override;
    int GetHeight() const override;
    // A JPEG picture's size comes from its pixels only.
    void SetWidth(int) override {}
    void SetHeight(int) override {}

    // Compression: take effect at the next Compress (Assign of a bitmap compresses).
    TJPEGQualityRange GetCompressionQuality() const { return FCompressionQuality; }
    void SetCompressionQuality(TJPEGQualityRange Value); // clamped to 1..100
    bool GetProgressiveEncoding() const { return FProgressiveEncoding; }
    void SetProgressiveEncoding(bool Value) { FProgressiveEncoding = Value; }
    // Compression and display: gray pictures are written and shown with one channel.
    bool GetGrayscale() const { return FGrayscale; }
    void SetGrayscale(bool Value);
    // Compression and display: best speed uses the fast integer transform, and skips the
    // smooth chroma upsampling when decoding.
    TJPEGPerformance GetPerformance() const { return FPerformance; }
    void SetPerformance(TJPEGPerformance Value);
    // Display: jf8Bit shows the picture reduced to 256 colours.
    TJPEGPixelFormat GetPixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TJPEGPixelFormat Value);
    bool GetProgressiveDisplay() const { return FProgressiveDisplay; }
    void SetProgressiveDisplay(bool Value) { FProgressiveDisplay = Value; }
    TJPEGScale GetScale() const { return FScale; }
    void SetScale(TJPEGScale Value);
    // Display: block smoothing of strongly compressed pictures.
    bool GetSmoothing() const { return FSmoothing; }
    void SetSmoothing(bool Value);

    // Compresses the bitmap last assigned again with the current settings.
    void Compress();
    // The stored picture in its own size and colour layout (1 gray or 3 colour components).
    int GetImageWidth() const { return FImageWidth; }
    int GetImageHeight() const { return FImageHeight; }
    bool GetProgressive() const { return FProgressive; }
    // The picture decoded with the display settings (made on first use).
    TBitmap* GetBitmap();
    const std::vector<Byte>& GetData() const { return FData; }

    // The whole rest of the stream is the picture; not a JPEG picture raises EJPEG.
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
    void SetData(std::vector<Byte> Data);
    void DisplayChanged();

    std::vector<Byte> FData;
    Owned<TBitmap> FSource; // what Compress compresses
    Owned<TBitmap> FBitmap; // the decoded picture
    int FImageWidth = 0, FImageHeight = 0;
    bool FProgressive = false;
    TJPEGQualityRange FCompressionQuality;
    bool FGrayscale;
    TJPEGPerformance FPerformance;
    TJPEGPixelFormat FPixelFormat;
    bool FProgressiveDisplay;
    bool FProgressiveEncoding;
    TJPEGScale FScale;
    bool FSmoothing;
};

// Registers the picture class and the "jpg" and "jpeg" file extensions.
void JpegInitialization();
