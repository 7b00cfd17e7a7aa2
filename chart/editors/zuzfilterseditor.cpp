#include "chart/editors/zuzfilterseditor.h"

#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzcontrols.h"
#include "platform/core/sysutils.h"
#include "platform/core/typinfo.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/stdctrls.h"

#include <algorithm>
#include <cctype>

const ClassInfo& TFormCreator::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TFormCreator>("TFormCreator", &TComponent::StaticClass());
    return ci;
}

TFormCreator::TFormCreator(TComponent* AOwner) : TComponent(AOwner) {}

TFormCreator::~TFormCreator() = default;

TWinControl* TFormCreator::Parent() const {
    auto* parent = dynamic_cast<TWinControl*>(GetOwner());
    if (!parent) throw EInvalidOperation(u"The form creator needs a windowed control as its owner");
    return parent;
}

void TFormCreator::Place(TControl* Control, int Left, int Top, int Width, int Height) {
    Control->SetParent(Parent());
    Control->SetBounds(Left, Top, Width, Height);
}

void TFormCreator::Bind(TComponent* Control, const String& PropName, const TNotifyEvent& OnChange) {
    FItems.push_back(std::make_unique<TFormItem>(TFormItem{PropName, OnChange}));
    Control->SetTag(reinterpret_cast<NativeInt>(FItems.back().get()));
}

const TFormItem* TFormCreator::ItemOf(const TComponent* Control) const {
    const auto* item = reinterpret_cast<const TFormItem*>(Control->GetTag());
    const auto mine =
        std::find_if(FItems.begin(), FItems.end(), [&](const auto& i) { return i.get() == item; });
    return mine == FItems.end() ? nullptr : item;
}

namespace {

// Filling a control from the property writes nothing back, whoever called.
struct Filling {
    bool& creating;
    bool saved;
    explicit Filling(bool& Flag) : creating(Flag), saved(Flag) { creating = true; }
    ~Filling() { creating = saved; }
    Filling(const Filling&) = delete;
    Filling& operator=(const Filling&) = delete;
};

std::string Narrow(const String& Name) {
    return UTF8Encode(Name);
}

bool IsUpperChar(char c) {
    return std::toupper(static_cast<unsigned char>(c)) == static_cast<unsigned char>(c);
}

} // namespace

std::int64_t TFormCreator::ReadInteger(const String& PropName) const {
    if (!FInstance) return 0;
    const PropInfo& p = PropOf(*FInstance, Narrow(PropName));
    if (p.kind == PropKind::Float) return ZuzRound(p.getFloat(*FInstance));
    return GetOrdProp(*FInstance, Narrow(PropName));
}

void TFormCreator::AddCheckBox(const String& PropName, const String& Caption, const TNotifyEvent& OnClick) {
    const Filling filling(FCreating);
    auto* box = Create<TCheckBox>(Parent());
    Place(box, 4, FPosition, 75, 16);
    box->SetCaption(Caption);
    Bind(box, PropName, OnClick);
    box->SetChecked(ReadInteger(PropName) != 0);
    box->OnClick.Bind(this, &TFormCreator::ChangeProp, "ChangeProp");
    FPosition += box->GetHeight() + 2;
}

TScrollBar* TFormCreator::AddScroll(const String& PropName, int Min, int Max) {
    const Filling filling(FCreating);
    auto* bar = Create<TScrollBar>(Parent());
    Place(bar, 4, FPosition, Parent()->GetWidth() - 8, 16);
    Bind(bar, PropName, {});
    const auto value =
        static_cast<int>(std::clamp<std::int64_t>(ReadInteger(PropName), INT32_MIN, INT32_MAX));
    bar->SetParams(value, std::min(Min, Max), std::max(Min, Max));
    bar->OnChange.Bind(this, &TFormCreator::ChangeProp, "ChangeProp");
    FPosition += bar->GetHeight() + 6;
    return bar;
}

void TFormCreator::AddColor(const String& PropName, const String& Caption) {
    const Filling filling(FCreating);
    auto* button = Create<TButtonColor>(Parent());
    Place(button, 4, FPosition, button->GetWidth(), button->GetHeight());
    button->SetCaption(Caption);
    Bind(button, PropName, {});
    button->LinkProperty(FInstance, PropName);
    button->OnClick.Bind(this, &TFormCreator::ChangeProp, "ChangeProp");
    FPosition += button->GetHeight() + 6;
}

TComboFlat* TFormCreator::AddCombo(const String& PropName) {
    const Filling filling(FCreating);
    auto* combo = Create<TComboFlat>(Parent());
    Place(combo, 4, FPosition, Parent()->GetWidth() - 8, 16);
    combo->SetStyle(csDropDownList);
    Bind(combo, PropName, {});
    if (FInstance) {
        const PropInfo& p = PropOf(*FInstance, Narrow(PropName));
        if (p.kind == PropKind::Enum && p.enumInfo) {
            const EnumInfo& info = p.enumInfo();
            for (std::string_view name : info.names) combo->Add(ReadableName(name));
            combo->SetItemIndex(static_cast<int>(p.getOrd(*FInstance) - info.minValue));
        }
    }
    combo->OnChange.Bind(this, &TFormCreator::ChangeProp, "ChangeProp");
    FPosition += combo->GetHeight() + 6;
    return combo;
}

void TFormCreator::AddInteger(const String& PropName, const String& Caption, int Min, int Max) {
    const Filling filling(FCreating);
    auto* label = Create<TLabel>(Parent());
    label->SetParent(Parent());
    label->SetLeft(4);
    label->SetTop(FPosition + 4);
    String caption = Caption.empty() ? PropName : Caption;
    if (caption.find(u'&') == String::npos) caption = String(u"&") + caption;
    label->SetCaption(caption);

    auto* edit = Create<TEdit>(Parent());
    Place(edit, 44, FPosition, Parent()->GetWidth() - 68, 16);
    label->SetFocusControl(edit);
    Bind(edit, PropName, {});
    auto* updown = Create<TUpDown>(Parent());
    updown->SetMin(Min);
    updown->SetMax(Max);
    updown->SetAssociate(edit);
    updown->SetPosition(
        static_cast<int>(std::clamp<std::int64_t>(ReadInteger(PropName), INT32_MIN, INT32_MAX)));
    edit->OnChange.Bind(this, &TFormCreator::ChangeProp, "ChangeProp");
    FPosition += edit->GetHeight() + 6;
}

void TFormCreator::ChangeProp(TObject* Sender) {
    if (FCreating || !FInstance) return;
    auto* control = dynamic_cast<TComponent*>(Sender);
    const TFormItem* item = control ? ItemOf(control) : nullptr;
    if (!item) return;
    const PropInfo& p = PropOf(*FInstance, Narrow(item->PropName));

    // The control's value as a number (a check box: 0 or 1); an edit's text that is no
    // number writes nothing, so typing on the way to a number is harmless.
    std::int64_t value = 0;
    bool write = true;
    if (auto* box = dynamic_cast<TCheckBox*>(Sender))
        value = box->GetChecked();
    else if (auto* bar = dynamic_cast<TScrollBar*>(Sender))
        value = bar->GetPosition();
    else if (auto* combo = dynamic_cast<TComboFlat*>(Sender))
        value = combo->GetItemIndex() + (p.enumInfo ? p.enumInfo().minValue : 0);
    else if (auto* edit = dynamic_cast<TEdit*>(Sender))
        write = TryStrToInt64(edit->GetText(), value);
    else
        write = false; // the colour button wrote its colour itself
    if (write) {
        if (p.kind == PropKind::Float)
            p.setFloat(*FInstance, static_cast<double>(value));
        else if (p.kind == PropKind::String)
            p.setStr(*FInstance, IntToStr(value));
        else if (p.setOrd)
            p.setOrd(*FInstance, value);
    } else if (dynamic_cast<TEdit*>(Sender)) {
        return;
    }
    if (item->OnChange) item->OnChange(Sender);
    if (OnChange) OnChange(FInstance);
}

String TFormCreator::ReadableName(std::string_view Name) {
    std::string_view rest = Name;
    while (!rest.empty() && !IsUpperChar(rest.front())) rest.remove_prefix(1);
    // Every character but the first and the last gets a blank before it when it is a capital.
    std::string out;
    for (std::size_t k = 0; k < rest.size(); ++k) {
        if (k >= 1 && k + 1 < rest.size() && IsUpperChar(rest[k])) out += ' ';
        out += rest[k];
    }
    return IdentToString(out.empty() ? Name : std::string_view(out));
}
