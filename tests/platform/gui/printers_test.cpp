// The printers: the PDF writer is always there, jobs write whole files or none.
#include "platform/gui/printers.h"

#include "platform/win32/gdi.h"
#include "tests/support/pdfprobe.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

// A printer with only the PDF writer, so that the machine's queues never print.
std::unique_ptr<TPrinter> PdfOnly() {
    auto p = std::make_unique<TPrinter>(false, true);
    p->SetPrinterIndex(p->GetPrinters()->IndexOf(PdfPrinterName));
    return p;
}

std::string Contents(const std::filesystem::path& File) {
    std::ifstream in(File, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

TEST(Printers, PdfWriterIsTheDefaultWithoutOtherPrinters) {
    TPrinter p(false, true);
    ASSERT_EQ(p.GetPrinters()->GetCount(), 1);
    EXPECT_EQ(p.GetPrinters()->GetStrings(0), PdfPrinterName);
    EXPECT_EQ(p.GetPrinterIndex(), 0);
    EXPECT_THROW(p.SetPrinterIndex(1), EPrinter);
    // A4 (595 x 842 points) at 300 dots per inch, the whole sheet.
    EXPECT_EQ(p.GetPageWidth(), 2479);
    EXPECT_EQ(p.GetPageHeight(), 3508);
    EXPECT_EQ(GetDeviceCaps(p.GetHandle(), LOGPIXELSX), 300);
    EXPECT_EQ(GetDeviceCaps(p.GetHandle(), LOGPIXELSY), 300);
    EXPECT_EQ(GetDeviceCaps(p.GetHandle(), HORZRES), 2479);
    EXPECT_EQ(GetDeviceCaps(p.GetHandle(), HORZSIZE), 210);
    EXPECT_EQ(GetDeviceCaps(p.GetHandle(), TECHNOLOGY), DT_RASPRINTER);
    // Landscape swaps the page at once.
    p.SetOrientation(poLandscape);
    EXPECT_EQ(p.GetOrientation(), poLandscape);
    EXPECT_EQ(p.GetPageWidth(), 3508);
    EXPECT_EQ(p.GetPageHeight(), 2479);
    EXPECT_EQ(GetDeviceCaps(p.GetHandle(), HORZRES), 3508);
}

TEST(Printers, WithoutAnyPrinterThePageSizeRaisesThePrinterError) {
    TPrinter p(false, false);
    EXPECT_EQ(p.GetPrinters()->GetCount(), 0);
    EXPECT_EQ(p.GetPrinterIndex(), -1);
    EXPECT_THROW(p.GetPageWidth(), EPrinter);
    EXPECT_THROW(p.GetPageHeight(), EPrinter);
    EXPECT_THROW(p.GetHandle(), EPrinter);
    EXPECT_THROW(p.BeginDoc(), EPrinter);
}

TEST(Printers, CanvasDrawsOnlyDuringAJob) {
    auto p = PdfOnly();
    EXPECT_THROW(p->GetCanvas()->Rectangle(0, 0, 10, 10), EPrinter);
    EXPECT_THROW(p->EndDoc(), EPrinter);
    EXPECT_THROW(p->NewPage(), EPrinter);
    EXPECT_FALSE(p->GetPrinting());
}

TEST(Printers, AJobWritesItsPagesTitleAndVectorText) {
    TempDir dir;
    const auto file = dir.path / "job.pdf";
    auto p = PdfOnly();
    p->SetFileName(String(file.u16string()));
    p->Title = u"Журнал";
    p->BeginDoc();
    EXPECT_TRUE(p->GetPrinting());
    EXPECT_EQ(p->GetPageNumber(), 1);
    EXPECT_THROW(p->SetOrientation(poLandscape), EPrinter);
    TCanvas* c = p->GetCanvas();
    c->GetBrush()->SetColor(clBlack);
    c->FillRect(TRect(248, 350, 744, 701)); // a tenth of the page wide, from a tenth in
    c->GetFont()->SetName(u"Liberation Sans");
    c->GetFont()->SetSize(24);
    c->GetBrush()->SetStyle(bsClear);
    c->TextOut(248, 1000, u"Показания за сутки");
    p->NewPage();
    EXPECT_EQ(p->GetPageNumber(), 2);
    c->TextOut(248, 1000, u"Second page");
    EXPECT_FALSE(std::filesystem::exists(file)); // only a finished job replaces the file
    p->EndDoc();
    EXPECT_FALSE(p->GetPrinting());
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_FALSE(std::filesystem::exists(dir.path / "job.pdf.part"));
    EXPECT_EQ(pdf::Info(file.string(), "Pages"), "2");
    EXPECT_EQ(pdf::Info(file.string(), "Title"), "Журнал");
    const std::string text = pdf::Text(file.string());
    EXPECT_NE(text.find("Показания за сутки"), std::string::npos);
    EXPECT_NE(text.find("Second page"), std::string::npos);
    // At 30 dots per inch a page is 248 x 351 pixels: the box spans columns 24.8 .. 74.4.
    const pdf::Raster r = pdf::Rasterise(file.string(), 30);
    ASSERT_EQ(r.width, 248);
    EXPECT_EQ(r.At(50, 50), (pdf::Raster::Rgb{0, 0, 0}));
    EXPECT_EQ(r.At(22, 50), (pdf::Raster::Rgb{255, 255, 255}));
    EXPECT_EQ(r.At(77, 50), (pdf::Raster::Rgb{255, 255, 255}));
    EXPECT_EQ(r.At(50, 33), (pdf::Raster::Rgb{255, 255, 255}));
}

TEST(Printers, MappingModesScaleEveryCallOnThePage) {
    TempDir dir;
    const auto file = dir.path / "mapped.pdf";
    auto p = PdfOnly();
    p->SetFileName(String(file.u16string()));
    p->BeginDoc();
    HDC dc = p->GetCanvas()->GetHandle();
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 100, 100, nullptr);
    SetViewportExtEx(dc, 1000, 1000, nullptr);
    // Logical (50, 50)-(60, 70) is device (500, 500)-(600, 700); the clip maps the same way.
    IntersectClipRect(dc, 50, 50, 55, 70);
    p->GetCanvas()->GetBrush()->SetColor(clBlack);
    p->GetCanvas()->FillRect(TRect(50, 50, 60, 70));
    p->EndDoc();
    const pdf::Raster r = pdf::Rasterise(file.string(), 30);
    ASSERT_GT(r.width, 0);
    EXPECT_EQ(r.At(52, 60), (pdf::Raster::Rgb{0, 0, 0}));
    EXPECT_EQ(r.At(48, 60), (pdf::Raster::Rgb{255, 255, 255}));
    EXPECT_EQ(r.At(57, 60), (pdf::Raster::Rgb{255, 255, 255})); // clipped at device 550
    EXPECT_EQ(r.At(52, 72), (pdf::Raster::Rgb{255, 255, 255}));
}

TEST(Printers, AnAbortedJobLeavesTheEarlierFileAsItWas) {
    TempDir dir;
    const auto file = dir.path / "kept.pdf";
    { std::ofstream(file) << "earlier"; }
    auto p = PdfOnly();
    p->SetFileName(String(file.u16string()));
    p->BeginDoc();
    p->GetCanvas()->Rectangle(10, 10, 100, 100);
    p->Abort();
    EXPECT_TRUE(p->GetAborted());
    EXPECT_FALSE(p->GetPrinting());
    EXPECT_EQ(Contents(file), "earlier");
    EXPECT_FALSE(std::filesystem::exists(dir.path / "kept.pdf.part"));
    // A document that cannot be written raises at once and prints nothing.
    p->SetFileName(String((dir.path / "missing" / "x.pdf").u16string()));
    EXPECT_THROW(p->BeginDoc(), EPrinter);
    EXPECT_FALSE(p->GetPrinting());
}

TEST(Printers, PrinterCanBeReplacedForTests) {
    auto mine = PdfOnly();
    TPrinter* const raw = mine.get();
    auto old = SetPrinter(std::move(mine));
    EXPECT_EQ(Printer(), raw);
    EXPECT_EQ(SetPrinter(std::move(old)).get(), raw);
}
