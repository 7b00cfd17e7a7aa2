#include "archive/about.h"

TAboutBox* AboutBox = nullptr;

const ClassInfo& TAboutBox::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TAboutBox>("TAboutBox", &TForm::StaticClass());
    return ci;
}

void TAboutBox::BindComponents() {
    Bind(Panel1, u"Panel1");
    Bind(ProductName, u"ProductName");
    Bind(Label1, u"Label1");
    Bind(Version, u"Version");
    Bind(Label2, u"Label2");
    Bind(OKButton, u"OKButton");
}
