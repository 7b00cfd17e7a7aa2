// Chart texts in the HTML subset, measured and drawn: what a text measures
// is what it draws, and a malformed text raises instead of breaking.
#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzhtml.h"
#include "chart/series/zuzstore.h"
#include "tests/fuzz/fuzzing.h"
#include "tests/fuzz/samplechart.h"

namespace {

struct Surface {
    TBitmap bitmap;
    TZuzCanvas3D canvas;
    Surface() {
        bitmap.SetSize(200, 120);
        canvas.SetUseBuffer(false);
        canvas.InitWindow(bitmap.GetCanvas(), nullptr, clWhite, false, TRect(0, 0, 200, 120));
    }
};

} // namespace

fuzz::Seeds FuzzSeeds() {
    fuzz::Seeds seeds = {
        {"tags.html", "<b>b</b><i>i</i><u>u</u><s>s</s><strike>k</strike><br><center>c</center><hr>"
                      "<h1>1</h1><h3>3</h3><h6>6</h6>x<sub>2</sub>y<sup>3</sup>&lt;&gt;&amp;&quot;"},
        {"font.html", "<font face=\"Liberation Sans\" size=+2 color=#FF0000>Расход</font>"
                      "<font size=-1 color=clBlue>м</font><font size=18>z</font>"},
        {"img.html", "a<img src=\"x.bmp\" width=10 height=8>b<img width=3>"},
    };
    // The table the series-data export writes.
    const auto chart = SampleChart();
    TSeriesDataHTML data(chart.get());
    seeds.push_back({"export.html", UTF8Encode(data.AsString())});
    return seeds;
}

void FuzzOne(std::string_view Input) {
    static Surface surface;
    const String text = UTF8ToString(Input);
    TSize measured{}, drawn{};
    try {
        HtmlProcess(&surface.canvas, 2, 3, measured, false, text);
    } catch (const Exception&) {
        return;
    }
    HtmlProcess(&surface.canvas, 2, 3, drawn, true, text);
    fuzz::Check(measured.cx == drawn.cx && measured.cy == drawn.cy,
                "what a text draws is not what it measures");
}
