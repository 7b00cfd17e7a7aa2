#include "graphs/okcancl1.h"

TGraphSettings* GraphSettings = nullptr;

const ClassInfo& TGraphSettings::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TGraphSettings>("TGraphSettings", &TForm::StaticClass());
    return ci;
}

void TGraphSettings::BindComponents() {
    Bind(PageControlGraph, u"PageControlGraph");
    Bind(ValueSelect, u"ValueSelect");
    Bind(Label13, u"Label13");
    Bind(CheckListBoxValue, u"CheckListBoxValue");
    Bind(GraphSet, u"GraphSet");
}
