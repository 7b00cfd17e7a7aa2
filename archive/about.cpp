#include "archive/about.h"

#include "platform/core/sysutils.h"
#include "platform/win32/shell.h"

#include <cmath>
#include <numbers>

TAboutBox* AboutBox = nullptr;

const ClassInfo& TAboutBox::StaticClass() {
    static const MethodInfo methods[] = {
        MakeMethod<&TAboutBox::Label5Click>("Label5Click"),
        MakeMethod<&TAboutBox::Label7Click>("Label7Click"),
    };
    static const ClassInfo ci = MakeClassInfo<TAboutBox>("TAboutBox", &TForm::StaticClass(), methods);
    return ci;
}

void TAboutBox::BindComponents() {
    Bind(Panel1, u"Panel1");
    Bind(ProgramIcon, u"ProgramIcon");
    Bind(ProductName, u"ProductName");
    Bind(Label1, u"Label1");
    Bind(Version, u"Version");
    Bind(Label2, u"Label2");
    Bind(Comments, u"Comments");
    Bind(Label4, u"Label4");
    Bind(Label5, u"Label5");
    Bind(Label6, u"Label6");
    Bind(Label7, u"Label7");
    Bind(OKButton, u"OKButton");
}

void TAboutBox::DoCreate() {
    DrawProgramPicture();
    TForm::DoCreate();
}

// The program's picture: the dial of a metering device, its pointer up on
// the scale, and the device's name beneath.
void TAboutBox::DrawProgramPicture() {
    constexpr int width = 115, height = 109, cx = 57, cy = 50;
    TBitmap* picture = ProgramIcon->GetPicture()->GetBitmap();
    picture->SetSize(width, height);
    TCanvas* c = picture->GetCanvas();
    const auto at = [](double degrees, double radius) {
        const double a = degrees * std::numbers::pi / 180;
        return TPoint(cx + static_cast<int>(std::lround(radius * std::cos(a))),
                      cy - static_cast<int>(std::lround(radius * std::sin(a))));
    };

    c->GetBrush()->SetColor(clWhite);
    c->FillRect(TRect(0, 0, width, height));
    c->GetPen()->SetColor(clNavy);
    c->GetPen()->SetWidth(3);
    c->GetBrush()->SetColor(static_cast<TColor>(0xF0E6DA));
    c->RoundRect(3, 3, width - 3, height - 3, 18, 18);
    c->GetPen()->SetWidth(2);
    c->GetBrush()->SetColor(clWhite);
    c->Ellipse(cx - 40, cy - 40, cx + 41, cy + 41);
    // Nine marks from the lower left round to the lower right.
    c->GetPen()->SetWidth(1);
    for (int i = 0; i <= 8; ++i) {
        const double degrees = 225 - i * 33.75;
        const TPoint inner = at(degrees, i % 2 == 0 ? 29 : 33);
        const TPoint outer = at(degrees, 37);
        c->MoveTo(inner.X, inner.Y);
        c->LineTo(outer.X, outer.Y);
    }
    c->GetPen()->SetColor(clRed);
    c->GetPen()->SetWidth(3);
    const TPoint tip = at(60, 31);
    c->MoveTo(cx, cy);
    c->LineTo(tip.X, tip.Y);
    c->GetPen()->SetColor(clNavy);
    c->GetBrush()->SetColor(clNavy);
    c->Ellipse(cx - 5, cy - 5, cx + 6, cy + 6);

    c->GetBrush()->SetStyle(bsClear);
    c->GetFont()->SetName(u"Arial");
    c->GetFont()->SetHeight(-11);
    c->GetFont()->SetColor(clNavy);
    c->GetFont()->SetStyle(TFontStyles{fsBold});
    const String name = u"КРОНТ";
    c->TextOut(cx - c->TextWidth(name) / 2, height - 20, name);
    ProgramIcon->Invalidate();
}

// The shell encodes the text into a URL and hands it to the desktop's
// handler; whether one is there is not our concern.
void TAboutBox::OpenLink(const String& Url) {
    const AnsiString target = StringToAnsi(Url);
    ShellExecuteA(this, "open", target.c_str(), nullptr, nullptr, SW_SHOW);
}

void TAboutBox::Label5Click(TObject* Sender) {
    OpenLink(u"mailto:" + Label5->GetCaption() + u"?Subject=" + u"Quilmet ");
}

void TAboutBox::Label7Click(TObject* Sender) {
    OpenLink(u"http://" + Label7->GetCaption());
}
