// Pictures as a file gives them: the same bytes to the bitmap, the JPEG and
// the metafile reader. A picture read draws at its size and stretched, and
// what it saves reads back.
#include "platform/gui/jpeg.h"
#include "tests/fuzz/fuzzing.h"
#include "tests/fuzz/samplechart.h"

#include <filesystem>
#include <fstream>

namespace {

std::string Saved(TGraphic& Graphic) {
    TMemoryStream s;
    Graphic.SaveToStream(&s);
    return fuzz::Bytes(s);
}

template <class G>
void Try(std::string_view Input, TCanvas* Canvas) {
    G graphic;
    TMemoryStream s;
    fuzz::Fill(s, Input);
    try {
        graphic.LoadFromStream(&s);
    } catch (const Exception&) {
        return;
    }
    // A JPEG picture decodes its body when first drawn: a damaged one raises then.
    try {
        Canvas->Draw(0, 0, &graphic);
    } catch (const EInvalidGraphic&) {
        return;
    }
    Canvas->StretchDraw(TRect(3, 2, 40, 30), &graphic);
    Canvas->StretchDraw(TRect(40, 30, 3, 2), &graphic);
    if (graphic.GetEmpty()) return;
    G again;
    TMemoryStream saved;
    fuzz::Fill(saved, Saved(graphic));
    again.LoadFromStream(&saved);
    fuzz::Check(again.GetWidth() == graphic.GetWidth() && again.GetHeight() == graphic.GetHeight(),
                "a saved picture reads back at another size");
}

} // namespace

fuzz::Seeds FuzzSeeds() {
    fuzz::Seeds seeds;
    // The program's own pictures.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(MOLTREN_SOURCE_DIR "/resources"))
        if (entry.path().extension() == ".bmp" && seeds.size() < 8) {
            std::ifstream in(entry.path(), std::ios::binary);
            seeds.push_back({entry.path().filename().string(), {std::istreambuf_iterator<char>(in), {}}});
        }
    // A bitmap at each depth the writer keeps, and as JPEG, baseline and progressive.
    TBitmap bitmap;
    bitmap.SetSize(9, 7);
    bitmap.GetCanvas()->GetBrush()->SetColor(clRed);
    bitmap.GetCanvas()->Ellipse(1, 1, 8, 6);
    for (const TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
        TBitmap copy;
        copy.Assign(&bitmap);
        copy.SetPixelFormat(format);
        seeds.push_back({"depth" + std::to_string(format) + ".bmp", Saved(copy)});
    }
    for (const bool progressive : {false, true}) {
        TJPEGImage jpeg;
        jpeg.SetProgressiveEncoding(progressive);
        jpeg.Assign(&bitmap);
        seeds.push_back({progressive ? "progressive.jpg" : "baseline.jpg", Saved(jpeg)});
    }
    seeds.push_back({"chart.emf", SampleChartMetafile()});
    return seeds;
}

void FuzzOne(std::string_view Input) {
    static TBitmap target;
    if (target.GetWidth() == 0) target.SetSize(48, 36);
    Try<TBitmap>(Input, target.GetCanvas());
    Try<TJPEGImage>(Input, target.GetCanvas());
    Try<TMetafile>(Input, target.GetCanvas());
}
