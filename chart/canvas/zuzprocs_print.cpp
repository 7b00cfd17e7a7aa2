// The panel's printing and pictures: the paint road run once on the printer's or a bitmap's
// canvas, in a layout of its own, so the control on screen keeps what its last paint left.

#include "chart/canvas/zuzprocs.h"

#include "platform/core/streams.h"
#include "platform/gui/clipbrd.h"
#include "platform/gui/forms.h"

#include <cmath>
#include <utility>

namespace {

// Rounds to nearest with ties to even (the default rounding mode), in extended precision.
long double RoundEven(long double V) {
    return std::nearbyint(V);
}

// One print margin in device pixels: its percentage of the page, in the order of operations
// the page rectangle has always used.
int MarginPixels(long double Resolution, int Percent, long double Page) {
    return static_cast<int>(RoundEven(Resolution * Percent * (0.01L * Page / Resolution)));
}

// Runs the given action when the scope ends, however it ends.
template <class F>
class OnScopeExit {
public:
    explicit OnScopeExit(F Action) : FAction(std::move(Action)) {}
    ~OnScopeExit() { FAction(); }
    OnScopeExit(const OnScopeExit&) = delete;
    OnScopeExit& operator=(const OnScopeExit&) = delete;

private:
    F FAction;
};

} // namespace

void TCustomZuzPanel::PrintOrientation(TPrinterOrientation Orientation) {
    TPrinter* printer = Printer();
    const TPrinterOrientation old = printer->GetOrientation();
    printer->SetOrientation(Orientation);
    const OnScopeExit back([&] { printer->SetOrientation(old); });
    Print();
}

TRect TCustomZuzPanel::CalcProportionalMargins() {
    const TRect r = GetRectangle();
    const long double w = r.Width(), h = r.Height();
    long double pw = 0, ph = 0, q = 1;
    try {
        TPrinter* printer = Printer();
        pw = printer->GetPageWidth();
        ph = printer->GetPageHeight();
        HDC dc = printer->GetHandle();
        q = static_cast<long double>(GetDeviceCaps(dc, LOGPIXELSX)) / GetDeviceCaps(dc, LOGPIXELSY);
    } catch (const Exception&) {
        pw = Screen->GetWidth();
        ph = Screen->GetHeight();
        q = 1;
    }
    auto margin = [q](long double a, long double b, long double ratio) {
        const long double v = (a - a * 30 * 0.01L) * ratio * q;
        return static_cast<int>(RoundEven((b - v) * 100 / b)) / 2;
    };
    // A panel without area has no aspect to keep: it counts as square.
    auto ratio = [](long double n, long double d) { return d == 0 ? 1.0L : n / d; };
    if (w > h) {
        const int m = margin(pw, ph, ratio(h, w));
        return TRect(15, m, 15, m);
    }
    const int m = margin(ph, pw, ratio(w, h));
    return TRect(m, 15, m, 15);
}

TRect TCustomZuzPanel::ChartPrintRect() {
    if (FPrintProportional) PrintMargins = CalcProportionalMargins();
    TPrinter* printer = Printer();
    const long double pw = printer->GetPageWidth(), ph = printer->GetPageHeight();
    HDC dc = printer->GetHandle();
    const long double dx = GetDeviceCaps(dc, LOGPIXELSX), dy = GetDeviceCaps(dc, LOGPIXELSY);
    TRect r;
    r.Left = MarginPixels(dx, PrintMargins.Left, pw);
    r.Right = static_cast<int>(pw) - MarginPixels(dx, PrintMargins.Right, pw);
    r.Top = MarginPixels(dy, PrintMargins.Top, ph);
    r.Bottom = static_cast<int>(ph) - MarginPixels(dy, PrintMargins.Bottom, ph);
    return r;
}

void TCustomZuzPanel::PrintRect(const TRect& R) {
    TPrinter* printer = Printer();
    const bool repaint = std::exchange(AutoRepaint, false);
    const OnScopeExit back([&] {
        AutoRepaint = repaint;
        Invalidate();
    });
    if (!GetName().empty()) printer->Title = GetName();
    printer->BeginDoc();
    try {
        PrintPartial(R);
    } catch (...) {
        // The job goes, and with it the half-written page; the error goes on.
        if (printer->GetPrinting()) printer->Abort();
        if (printer->GetPrinting()) printer->EndDoc();
        throw;
    }
    printer->EndDoc();
}

void TCustomZuzPanel::PrintPartial(const TRect& R) {
    PrintPartialCanvas(Printer()->GetCanvas(), R);
}

void TCustomZuzPanel::CalcMetaBounds(TRect& R, const TRect& PanelRect, int& WinWidth, int& WinHeight,
                                     int& ViewWidth, int& ViewHeight) {
    ViewWidth = R.Width();
    ViewHeight = R.Height();
    const int pw = PanelRect.Width(), ph = PanelRect.Height();
    WinWidth = pw - MulDiv(pw, FPrintResolution, 100);
    WinHeight = ph - MulDiv(ph, FPrintResolution, 100);
    R.Left = MulDiv(R.Left, WinWidth, ViewWidth);
    R.Right = MulDiv(R.Right, WinWidth, ViewWidth);
    R.Top = MulDiv(R.Top, WinHeight, ViewHeight);
    R.Bottom = MulDiv(R.Bottom, WinHeight, ViewHeight);
}

void TCustomZuzPanel::PrintPartialCanvas(TCanvas* ACanvas, const TRect& ARect) {
    TRect r = ARect;
    if (r.Left > r.Right) std::swap(r.Left, r.Right);
    if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
    int winWidth = 0, winHeight = 0, viewWidth = 0, viewHeight = 0;
    CalcMetaBounds(r, GetRectangle(), winWidth, winHeight, viewWidth, viewHeight);
    HDC dc = ACanvas->GetHandle();
    const int oldMode = SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, winWidth, winHeight, nullptr);
    SetViewportExtEx(dc, viewWidth, viewHeight, nullptr);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    const OnScopeExit mapping([&] { SetMapMode(dc, oldMode); });
    FPrintingPage = true;
    const OnScopeExit printing([&] { FPrintingPage = false; });
    const bool clip = CanClip();
    if (clip) IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
    const OnScopeExit unclip([&] {
        if (clip) SelectClipRgn(dc, nullptr);
    });
    if (OnBeforePrint) OnBeforePrint(this, ACanvas, r);
    DrawToMetaCanvas(ACanvas, r, true);
}

void TCustomZuzPanel::DrawToMetaCanvas(TCanvas* ACanvas, const TRect& R, bool APrinting) {
    FCanvas->Metafiling = true;
    const OnScopeExit done([&] { FCanvas->Metafiling = false; });
    NonBufferDraw(ACanvas, R, APrinting);
}

Owned<TBitmap> TCustomZuzPanel::ZuzCreateBitmap(TColor BackColor, const TRect& R, TPixelFormat PixelFormat) {
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetPixelFormat(FCanvas->GetSupportsFullRotation() ? pf32bit : PixelFormat);
    ZuzSetBitmapSize(bitmap.get(), R.Width(), R.Height());
    if (BackColor != clWhite) {
        TCanvas* c = bitmap->GetCanvas();
        c->GetBrush()->SetColor(BackColor);
        c->GetBrush()->SetStyle(bsSolid);
        c->FillRect(TRect(0, 0, bitmap->GetWidth(), bitmap->GetHeight()));
    }
    NonBufferDraw(bitmap->GetCanvas(), R);
    return bitmap;
}

void TCustomZuzPanel::SaveToBitmapFile(const String& FileName, const TRect& R) {
    ZuzCreateBitmap(clWhite, R, pfDevice)->SaveToFile(FileName);
}

void TCustomZuzPanel::CopyToClipboardBitmap(const TRect& R) {
    Clipboard()->Assign(ZuzCreateBitmap(clWhite, R, pfDevice).get());
}

Owned<TMetafile> TCustomZuzPanel::ZuzCreateMetafile(bool Enhanced, const TRect& R) {
    auto metafile = MakeOwned<TMetafile>();
    metafile->SetEnhanced(Enhanced);
    metafile->SetWidth(std::max(1, R.Width()));
    metafile->SetHeight(std::max(1, R.Height()));
    {
        // The recording is finished into the metafile when its canvas goes.
        const auto canvas = MakeOwned<TMetafileCanvas>(metafile.get(), nullptr);
        DrawToMetaCanvas(canvas.get(), R);
    }
    return metafile;
}

void TCustomZuzPanel::SaveToMetafileRect(bool Enhanced, const String& FileName, const TRect& R) {
    const Owned<TMetafile> metafile = ZuzCreateMetafile(Enhanced, R);
    TMemoryStream bytes;
    metafile->SaveToStream(&bytes);
    bytes.SaveToFile(FileName);
}

void TCustomZuzPanel::CopyToClipboardMetafile(bool Enhanced, const TRect& R) {
    Clipboard()->Assign(ZuzCreateMetafile(Enhanced, R).get());
}
