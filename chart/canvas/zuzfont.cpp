// The chart font and the default face and size of chart texts.
#include "chart/canvas/zuzfont.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzfilters.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzshadow.h"
#include "platform/win32/winnls.h"

namespace {
int DefaultFontSize = 8;
String DefaultFontName = u"Arial";
} // namespace

int GetDefaultFontSize() {
    return DefaultFontSize;
}

String GetDefaultFontName() {
    return DefaultFontName;
}

void ZuzFontInitialization() {
    const bool japanese = PRIMARYLANGID(GetUserDefaultLangID()) == LANG_JAPANESE;
    DefaultFontSize = StrToIntDef(VavIve_DefaultFontSize, 8);
    if (DefaultFontSize == 8 && japanese) DefaultFontSize = 9;
    DefaultFontName = VavIve_DefaultFontName;
    if (DefaultFontName == u"Arial" && japanese)
        DefaultFontName = u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF";
}

void ZuzFontFinalization() {
    DefaultFontName.clear();
}

const ClassInfo& TZuzFont::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TFont::GetCharset, &TFont::SetCharset>("Charset").Default(DEFAULT_CHARSET),
        MakeProp<&TFont::GetColor, &TFont::SetColor>("Color").Stored<&TZuzFont::IsColorStored>(),
        MakeProp<&TFont::GetHeight, &TFont::SetHeight>("Height").Stored<&TZuzFont::IsHeightStored>(),
        MakeProp<&TFont::GetName, &TFont::SetName>("Name").Stored<&TZuzFont::IsNameStored>(),
        MakeProp<&TFont::GetStyle, &TFont::SetStyle>("Style").Stored<&TZuzFont::IsStyleStored>(),
        MakeProp<&TZuzFont::GetGradient, &TZuzFont::SetGradient>("Gradient").Stored<&TZuzFont::HasGradient>(),
        MakeProp<&TZuzFont::GetInterCharSize, &TZuzFont::SetInterCharSize>("InterCharSize").Default(0),
        MakeProp<&TZuzFont::GetOutLine, &TZuzFont::SetOutLine>("OutLine").Stored<&TZuzFont::HasOutLine>(),
        MakeProp<&TZuzFont::GetPicture, &TZuzFont::SetPicture>("Picture").Stored<&TZuzFont::HasPicture>(),
        MakeProp<&TZuzFont::GetShadow, &TZuzFont::SetShadow>("Shadow").Stored<&TZuzFont::HasShadow>(),
    };
    static const ClassInfo ci = MakeClassInfo<TZuzFont>("TZuzFont", &TFont::StaticClass(), props);
    return ci;
}

TZuzFont::TZuzFont(TNotifyEvent ChangedEvent) {
    SetColor(clBlack);
    if (GetCharset() != DEFAULT_CHARSET) SetCharset(DEFAULT_CHARSET);
    SetName(GetDefaultFontName());
    if (GetSize() != GetDefaultFontSize()) SetSize(GetDefaultFontSize());
    OnChange = std::move(ChangedEvent);
}

TZuzFont::~TZuzFont() = default;

void TZuzFont::DoChanged(TObject*) {
    Changed();
}

TZuzFontGradient* TZuzFont::GetGradient() {
    if (!FGradient)
        FGradient = MakeOwned<TZuzFontGradient>(TNotifyEvent([this](TObject* s) { DoChanged(s); }));
    return FGradient.get();
}

TChartHiddenPen* TZuzFont::GetOutLine() {
    if (!FOutLine) FOutLine = MakeOwned<TChartHiddenPen>(OnChange);
    return FOutLine.get();
}

// A picture with filters, as the picture editor edits it.
TPicture* TZuzFont::GetPicture() {
    if (!FPicture) FPicture = MakeOwned<TZuzPicture>();
    return FPicture.get();
}

TZuzShadow* TZuzFont::GetShadow() {
    if (!FShadow) FShadow = MakeOwned<TZuzShadow>(OnChange);
    return FShadow.get();
}

void TZuzFont::SetGradient(TZuzFontGradient* Value) {
    if (Value)
        GetGradient()->Assign(Value);
    else
        FGradient.reset();
}

void TZuzFont::SetOutLine(TChartHiddenPen* Value) {
    if (Value)
        GetOutLine()->Assign(Value);
    else
        FOutLine.reset();
}

void TZuzFont::SetPicture(TPicture* Value) {
    if (Value)
        GetPicture()->Assign(Value);
    else
        FPicture.reset();
}

void TZuzFont::SetShadow(TZuzShadow* Value) {
    if (Value)
        GetShadow()->Assign(Value);
    else
        FShadow.reset();
}

void TZuzFont::SetInterCharSize(int Value) {
    if (SetIfChanged(FInterCharSize, Value) && OnChange) OnChange(this);
}

bool TZuzFont::HasVisibleShadow() const {
    return FShadow && FShadow->GetVisible();
}
bool TZuzFont::HasVisibleOutLine() const {
    return FOutLine && FOutLine->GetVisible();
}
bool TZuzFont::HasVisibleGradient() const {
    return FGradient && FGradient->GetVisible();
}
bool TZuzFont::HasPictureGraphic() const {
    return FPicture && FPicture->GetGraphic();
}

void TZuzFont::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TZuzFont*>(Source)) {
        SetGradient(src->FGradient.get());
        FInterCharSize = src->FInterCharSize;
        SetOutLine(src->FOutLine.get());
        SetShadow(src->FShadow.get());
        SetPicture(src->FPicture.get());
    }
    TFont::Assign(Source);
}
