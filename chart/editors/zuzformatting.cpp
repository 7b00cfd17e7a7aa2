#include "chart/editors/zuzformatting.h"

#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "platform/core/sysutils.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/radiobutton.h"
#include "platform/gui/stdctrls.h"

#include <algorithm>

namespace {

const char16_t* const kGeoFormats[] = {
    u"ddd° mm' ss\".zzz",
    u"ddd mm' ss\".zzz",
    u"ddd deg mm' ss\".zzz",
    u"ddd mm ss.zzz",
    u"ddd mm ss",
    u"ddd mm",
    u"ddd°",
    u"ddd",
};

const char16_t* const kCustomFormats[] = {u"#.#", u"0.0%"};

void AddAbsent(TStrings* Items, const String& Text) {
    if (Items->IndexOf(Text) < 0) Items->Add(Text);
}

// Where Part first occurs in Text; never for an empty part (a locale may have no currency
// string or no thousand separator, and an empty text is found everywhere).
String::size_type Find(const String& Text, const String& Part) {
    return Part.empty() ? String::npos : Text.find(Part);
}

String Separator(Char C) {
    return C ? String(1, C) : String();
}

bool OnlyDigitPlaces(const String& Text) {
    return std::all_of(Text.begin(), Text.end(), [](Char c) { return c == u'#' || c == u'0'; });
}

} // namespace

const ClassInfo& TFormatEditor::StaticClass() {
    static const MethodInfo methods[] = {
        MakeMethod<&TFormatEditor::FormShow>("FormShow"),
        MakeMethod<&TFormatEditor::RBIntegerClick>("RBIntegerClick"),
        MakeMethod<&TFormatEditor::RBChoiceClick>("RBChoiceClick"),
        MakeMethod<&TFormatEditor::CBPercentClick>("CBPercentClick"),
        MakeMethod<&TFormatEditor::CBFormatChange>("CBFormatChange"),
    };
    static const ClassInfo ci = MakeClassInfo<TFormatEditor>("TFormatEditor", &TForm::StaticClass(), methods);
    return ci;
}

void TFormatEditor::BindComponents() {
    Bind(PanelOK, u"PanelOK");
    Bind(Button1, u"Button1");
    Bind(Button2, u"Button2");
    Bind(GroupBox1, u"GroupBox1");
    Bind(CBCustom, u"CBCustom");
    Bind(CBDate, u"CBDate");
    Bind(RBDate, u"RBDate");
    Bind(RBCustom, u"RBCustom");
    Bind(RBGeo, u"RBGeo");
    Bind(CBGeo, u"CBGeo");
    Bind(Panel2, u"Panel2");
    Bind(RBInteger, u"RBInteger");
    Bind(CBPercent, u"CBPercent");
    Bind(CBThousands, u"CBThousands");
    Bind(CBCurrency, u"CBCurrency");
    Bind(CBFixedDecimals, u"CBFixedDecimals");
    Bind(UpDown1, u"UpDown1");
    Bind(Edit1, u"Edit1");
    Bind(Label1, u"Label1");
    Bind(Label2, u"Label2");
    Bind(Edit2, u"Edit2");
    Bind(UpDown2, u"UpDown2");
}

String TFormatEditor::Change(TComponent* AOwner, const String& Format, bool IsDate) {
    const Owned<TFormatEditor> dialog(Create<TFormatEditor>(AOwner));
    dialog->FFormat = Format;
    dialog->RBDate->SetVisible(IsDate);
    dialog->CBDate->SetVisible(IsDate);
    return dialog->ShowModal() == mrOk ? dialog->TheFormat() : Format;
}

void TFormatEditor::FocusIfCan(TWinControl* Control) {
    if (Control->CanFocus()) Control->SetFocus();
}

void TFormatEditor::FillLists() {
    TStrings* dates = CBDate->GetItems();
    AddAbsent(dates, FormatSettings.ShortDateFormat);
    AddAbsent(dates, FormatSettings.ShortTimeFormat);
    CBGeo->GetItems()->Clear();
    for (const char16_t* f : kGeoFormats) CBGeo->GetItems()->Add(f);
    CBCustom->GetItems()->Clear();
    for (const char16_t* f : kCustomFormats) CBCustom->GetItems()->Add(f);
}

bool TFormatEditor::ShowChoice(TRadioButton* Button, TComboFlat* Box, bool Remembered) {
    if (!Remembered && Box->GetItems()->IndexOf(FFormat) < 0) return false;
    Box->SetEnabled(true);
    AddAbsent(Box->GetItems(), FFormat);
    Box->SetText(FFormat);
    FocusIfCan(Box);
    FChanging = true;
    Button->SetChecked(true);
    FChanging = false;
    return true;
}

void TFormatEditor::FormShow(TObject*) {
    FillLists();
    if (!ShowChoice(RBDate, CBDate, FDateChosen) && !ShowChoice(RBGeo, CBGeo, FGeoChosen)) ReadNumber();
    ZuzTranslateControl(this);
}

// Takes the format apart piece by piece; what is left must be digit places only, or the
// whole format is custom text.
void TFormatEditor::ReadNumber() {
    String f = FFormat;
    if (const auto p = f.find(u'%'); p != String::npos) {
        CBPercent->SetChecked(true);
        f.erase(p, 1);
    }
    const String currency = FormatSettings.CurrencyString;
    if (const auto p = Find(f, currency); p != String::npos) {
        CBCurrency->SetChecked(true);
        f.erase(p, currency.size());
    }
    if (const auto p = Find(f, Separator(FormatSettings.ThousandSeparator)); p != String::npos) {
        CBThousands->SetChecked(true);
        f.erase(p, 1);
    }
    if (const auto p = Find(f, Separator(FormatSettings.DecimalSeparator)); p != String::npos) {
        RBInteger->SetChecked(true);
        auto end = p + 1;
        while (end < f.size() && (f[end] == u'#' || f[end] == u'0')) ++end;
        const int n = static_cast<int>(end - p - 1);
        UpDown1->SetPosition(n);
        CBFixedDecimals->SetChecked(n > 0 && f[p + 1] == u'0');
        f.erase(p, end - p);
    }
    if (OnlyDigitPlaces(f)) {
        RBInteger->SetChecked(true);
        UpDown2->SetPosition(static_cast<int>(std::count(f.begin(), f.end(), u'0')));
        return;
    }
    RBCustom->SetChecked(true);
    CBCustom->SetEnabled(true);
    AddAbsent(CBCustom->GetItems(), FFormat);
    CBCustom->SetText(FFormat);
    FocusIfCan(CBCustom);
}

String TFormatEditor::TheFormat() const {
    if (CBCustom->GetEnabled()) return CBCustom->GetText();
    if (!RBInteger->GetChecked()) {
        if (RBDate->GetChecked()) return CBDate->GetText();
        if (RBGeo->GetChecked()) return CBGeo->GetText();
        return String();
    }
    String s = CBCurrency->GetChecked() ? FormatSettings.CurrencyString : String();
    const String thousands = Separator(FormatSettings.ThousandSeparator);
    const int fixed = UpDown2->GetPosition();
    if (fixed == 0)
        s += CBThousands->GetChecked() ? u"#" + thousands + u"###" : String(u"#");
    else if (!CBThousands->GetChecked())
        s += String(fixed, u'0');
    else if (fixed <= 3)
        s += u"#" + thousands + String(3 - fixed, u'#') + String(fixed, u'0');
    else
        s += String(fixed - 3, u'0') + thousands + u"000";
    if (const int decimals = UpDown1->GetPosition(); decimals > 0)
        s += Separator(FormatSettings.DecimalSeparator) +
             String(decimals, CBFixedDecimals->GetChecked() ? u'0' : u'#');
    if (CBPercent->GetChecked()) s += u"%";
    return s;
}

void TFormatEditor::RBIntegerClick(TObject* Sender) {
    if (!RBInteger->GetChecked()) return;
    for (TRadioButton* b : {RBDate, RBCustom, RBGeo}) b->SetChecked(false);
    RBChoiceClick(Sender);
}

void TFormatEditor::RBChoiceClick(TObject*) {
    if (FChanging) return;
    FDateChosen = RBDate->GetChecked();
    FGeoChosen = RBGeo->GetChecked();
    if (FDateChosen || FGeoChosen || RBCustom->GetChecked()) RBInteger->SetChecked(false);
    CBDate->SetEnabled(RBDate->GetChecked());
    CBGeo->SetEnabled(RBGeo->GetChecked());
    CBCustom->SetEnabled(RBCustom->GetChecked());
    if (RBDate->GetChecked()) {
        if (CBDate->GetText().empty()) CBDate->SetText(FormatSettings.ShortDateFormat);
        FocusIfCan(CBDate);
    } else if (RBGeo->GetChecked()) {
        if (CBGeo->GetText().empty()) CBGeo->SetText(CBGeo->GetItems()->GetStrings(0));
        FocusIfCan(CBGeo);
    } else {
        CBPercent->SetEnabled(!CBCustom->GetEnabled());
        if (CBCustom->GetEnabled()) FocusIfCan(CBCustom);
    }
}

void TFormatEditor::CBPercentClick(TObject*) {
    const bool percent = CBPercent->GetChecked();
    CBThousands->SetEnabled(!percent);
    CBCurrency->SetEnabled(!percent);
    if (percent) {
        CBThousands->SetChecked(false);
        CBCurrency->SetChecked(false);
    }
}

void TFormatEditor::CBFormatChange(TObject* Sender) {
    if (auto* box = dynamic_cast<TComboFlat*>(Sender)) FFormat = box->GetText();
}

void RegisterZuzFormattingClasses() {
    RegisterClass(TFormatEditor::StaticClass());
}
