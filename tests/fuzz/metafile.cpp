// Enhanced metafiles: the decoder checks every record, and what it accepts
// plays into any rectangle and converts to a Windows metafile.
#include "platform/gui/graphics.h"
#include "platform/win32/gdimeta.h"
#include "tests/fuzz/fuzzing.h"
#include "tests/fuzz/samplechart.h"

fuzz::Seeds FuzzSeeds() {
    fuzz::Seeds seeds = {{"chart.emf", SampleChartMetafile()}};
    // Text, shapes, a path and a picture, as a canvas records them.
    TMetafile metafile;
    {
        TMetafileCanvas canvas(&metafile, nullptr);
        canvas.GetFont()->SetName(u"Liberation Sans");
        canvas.TextOut(2, 2, u"Расход");
        canvas.GetPen()->SetStyle(psDash);
        const TPoint line[] = {TPoint(0, 0), TPoint(30, 10), TPoint(5, 25)};
        canvas.Polyline(line, 3);
        canvas.GetBrush()->SetStyle(bsDiagCross);
        canvas.Ellipse(10, 10, 40, 30);
        TBitmap bitmap;
        bitmap.SetSize(5, 4);
        canvas.StretchDraw(TRect(40, 0, 60, 16), &bitmap);
    }
    TMemoryStream s;
    metafile.SaveToStream(&s);
    seeds.push_back({"shapes.emf", fuzz::Bytes(s)});
    return seeds;
}

void FuzzOne(std::string_view Input) {
    String error;
    const HENHMETAFILE metafile =
        EnhMetaFile::FromBytes(std::vector<Byte>(Input.begin(), Input.end()), &error);
    if (!metafile) return;
    static TBitmap target;
    if (target.GetWidth() == 0) target.SetSize(64, 48);
    const HDC dc = target.GetCanvas()->GetHandle();
    PlayEnhMetaFile(dc, metafile, RECT{0, 0, 64, 48});
    PlayEnhMetaFile(dc, metafile, RECT{60, 40, 4, 2});
    GetWinMetaFileBits(metafile);
    metafile->WithFrame(RECT{0, 0, 100, 100});
}
