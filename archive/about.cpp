#include "archive/about.h"

#include "platform/core/sysutils.h"
#include "platform/win32/shell.h"

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
