#include "chart/editors/zuzfilterseditor.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzdraw3d.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/canvas/zuzstretch.h"
#include "chart/editors/zuzbmpoptions.h"
#include "chart/editors/zuzpendlg.h"
#include "platform/core/sysutils.h"
#include "platform/core/typinfo.h"
#include "platform/gui/buttons.h"
#include "platform/gui/checklst.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/deferred.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/menus.h"
#include "platform/gui/splitter.h"
#include "platform/gui/stdctrls.h"

#include <algorithm>
#include <cctype>
#include <utility>

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
    // Beside a caption longer than the room before the edit, the edit moves right, so as not
    // to hide the caption's end; its right end stays.
    const int left = std::max(44, label->GetLeft() + label->GetWidth() + 4);
    Place(edit, left, FPosition, Parent()->GetWidth() - 24 - left, 16);
    label->SetFocusControl(edit);
    Bind(edit, PropName, {});
    auto* updown = Create<TUpDown>(Parent());
    updown->SetMin(Min);
    updown->SetMax(Max);
    updown->SetAssociate(edit);
    FUpDowns[edit] = updown;
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
    else if (auto* edit = dynamic_cast<TEdit*>(Sender)) {
        // The up-down's position: the edit's number clamped to the range; text that is no
        // number writes nothing, so typing on the way to a number is harmless.
        std::int64_t typed = 0;
        write = TryStrToInt64(edit->GetText(), typed);
        if (write) {
            const auto found = FUpDowns.find(edit);
            value = found != FUpDowns.end() ? found->second->GetPosition() : typed;
        }
    } else
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

// ---------------------------------------------------------------------------
// TFiltersEditor

namespace {

// The creator's creating flag while a filter builds its options.
class TCreatingScope {
public:
    explicit TCreatingScope(TFormCreator* Creator) : FCreator(Creator) { Creator->SetCreating(true); }
    ~TCreatingScope() { FCreator->SetCreating(false); }
    TCreatingScope(const TCreatingScope&) = delete;
    TCreatingScope& operator=(const TCreatingScope&) = delete;

private:
    TFormCreator* FCreator;
};

} // namespace

const ClassInfo& TFiltersEditor::StaticClass() {
    using E = TFiltersEditor;
    static const MethodInfo methods[] = {
        MakeMethod<&E::FormCreate>("FormCreate"),
        MakeMethod<&E::FormDestroy>("FormDestroy"),
        MakeMethod<&E::FormShow>("FormShow"),
        MakeMethod<&E::FiltersClick>("FiltersClick"),
        MakeMethod<&E::FiltersClickCheck>("FiltersClickCheck"),
        MakeMethod<&E::BAddClick>("BAddClick"),
        MakeMethod<&E::BDeleteClick>("BDeleteClick"),
        MakeMethod<&E::BMoveUpClick>("BMoveUpClick"),
        MakeMethod<&E::BMoveDownClick>("BMoveDownClick"),
        MakeMethod<&E::ELeftChange>("ELeftChange"),
        MakeMethod<&E::ETopChange>("ETopChange"),
        MakeMethod<&E::EWidthChange>("EWidthChange"),
        MakeMethod<&E::EHeightChange>("EHeightChange"),
        MakeMethod<&E::CBPreviewClick>("CBPreviewClick"),
        MakeMethod<&E::CBScaledClick>("CBScaledClick"),
        MakeMethod<&E::Scaled1Click>("Scaled1Click"),
        MakeMethod<&E::ImageResize>("ImageResize"),
        MakeMethod<&E::Timer1Timer>("Timer1Timer"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TFiltersEditor>("TFiltersEditor", &TForm::StaticClass(), methods);
    return ci;
}

TFiltersEditor::TFiltersEditor(TComponent* AOwner) : TForm(AOwner) {}

TFiltersEditor::~TFiltersEditor() = default;

void TFiltersEditor::BindComponents() {
    Bind(PageControl1, u"PageControl1");
    Bind(TabSheet1, u"TabSheet1");
    Bind(Image, u"Image");
    Bind(Splitter1, u"Splitter1");
    Bind(Panel1, u"Panel1");
    Bind(Panel2, u"Panel2");
    Bind(BAdd, u"BAdd");
    Bind(BDelete, u"BDelete");
    Bind(BMoveUp, u"BMoveUp");
    Bind(BMoveDown, u"BMoveDown");
    Bind(Filters, u"Filters");
    Bind(MenuFilters, u"MenuFilters");
    Bind(PopupMenu1, u"PopupMenu1");
    Bind(Scaled1, u"Scaled1");
    Bind(Panel3, u"Panel3");
    Bind(Panel4, u"Panel4");
    Bind(BOK, u"BOK");
    Bind(CBPreview, u"CBPreview");
    Bind(CBScaled, u"CBScaled");
    Bind(PageProps, u"PageProps");
    Bind(Properties, u"Properties");
    Bind(TabRegion, u"TabRegion");
    Bind(Label1, u"Label1");
    Bind(Label2, u"Label2");
    Bind(Label3, u"Label3");
    Bind(Label4, u"Label4");
    Bind(ELeft, u"ELeft");
    Bind(ETop, u"ETop");
    Bind(EWidth, u"EWidth");
    Bind(EHeight, u"EHeight");
    Bind(UDLeft, u"UDLeft");
    Bind(UDTop, u"UDTop");
    Bind(UDWidth, u"UDWidth");
    Bind(UDHeight, u"UDHeight");
    Bind(Splitter2, u"Splitter2");
    Bind(Timer1, u"Timer1");
}

void TFiltersEditor::FormCreate(TObject*) {
    FFilling = true;
    ZuzLoadArrowBitmaps(BMoveUp->GetGlyph(), BMoveDown->GetGlyph());
    FCreator = Create<TFormCreator>(Properties);
    FCreator->OnChange.Bind(this, &TFiltersEditor::PropertiesChanged, "PropertiesChanged");
}

void TFiltersEditor::FormDestroy(TObject*) {
    FWork.reset();
}

TZuzFilter* TFiltersEditor::SelectedFilter() const {
    const int index = Filters->GetItemIndex();
    if (index < 0 || index >= Filters->GetItems()->GetCount()) return nullptr;
    return dynamic_cast<TZuzFilter*>(Filters->GetItems()->GetObjects(index));
}

void TFiltersEditor::FillMenu() {
    MenuFilters->GetItems()->Clear();
    const auto classes = FilterClasses();
    for (std::size_t i = 0; i < classes.size(); ++i) {
        auto* item = Create<TMenuItem>(this);
        String caption = TZuzFilter::Description(*classes[i]);
        if (caption.empty()) caption = UTF8ToString(std::string(classes[i]->name));
        item->SetCaption(caption);
        item->SetTag(static_cast<NativeInt>(i));
        item->OnClick.Bind(this, &TFiltersEditor::MenuFilterClick, "MenuFilterClick");
        MenuFilters->GetItems()->Add(item);
    }
}

void TFiltersEditor::FormShow(TObject*) {
    {
        const TRestoreOnExit<bool> filling(FFilling, true);
        Filters->GetItems()->Clear();
        const int count = FFilters ? FFilters->GetCount() : 0;
        for (int i = 0; i < count; ++i) {
            TZuzFilter* f = FFilters->GetItem(i);
            Filters->GetItems()->AddObject(f->Description(), f);
            Filters->SetChecked(i, f->GetEnabled());
        }
        PageProps->SetActivePage(Properties);
    }
    if (Filters->GetItems()->GetCount() > 0) {
        SelectFilter(0);
        UpdatePreview();
    } else {
        EnableButtons();
        UpdatePreview();
    }
    PageProps->SetVisible(Filters->GetItems()->GetCount() > 0);
    FillMenu();
    ZuzTranslateControl(this);
    // The menu in caption order, as translated.
    TMenuItem* items = MenuFilters->GetItems();
    std::vector<TMenuItem*> sorted;
    for (int i = 0; i < items->GetCount(); ++i) sorted.push_back(items->GetItem(i));
    std::stable_sort(sorted.begin(), sorted.end(), [](const TMenuItem* a, const TMenuItem* b) {
        return a->GetCaption() < b->GetCaption();
    });
    for (TMenuItem* item : sorted) items->Remove(item);
    for (TMenuItem* item : sorted) items->Add(item);
    FFilling = false;
    // Once the form is laid out, the options are built again at their final width.
    DeferCall(this, [this] { Timer1Timer(Timer1); });
}

void TFiltersEditor::Timer1Timer(TObject*) {
    Timer1->SetEnabled(false);
    SelectFilter(Filters->GetItemIndex());
}

void TFiltersEditor::EnableButtons() {
    const int index = Filters->GetItemIndex();
    const int count = Filters->GetItems()->GetCount();
    BDelete->SetEnabled(index >= 0);
    BMoveUp->SetEnabled(index >= 1);
    BMoveDown->SetEnabled(index >= 0 && index < count - 1);
}

void TFiltersEditor::ClearOptions() {
    FCreator->ClearItems();
    while (Properties->GetControlCount() > 0)
        Properties->GetControl(Properties->GetControlCount() - 1)->Free();
}

void TFiltersEditor::SelectFilter(int Index) {
    const TRestoreOnExit<bool> filling(FFilling, true);
    if (Index >= Filters->GetItems()->GetCount()) Index = -1;
    Filters->SetItemIndex(Index);
    EnableButtons();
    TTabSheet* active = PageProps->GetActivePage();
    ClearOptions();
    TZuzFilter* filter = SelectedFilter();
    if (filter) {
        FCreator->SetPosition(8);
        FCreator->SetInstance(filter);
        {
            TNotifyEvent changed;
            changed.Bind(this, &TFiltersEditor::PropertiesChanged, "PropertiesChanged");
            const TCreatingScope creating(FCreator);
            filter->CreateEditor(FCreator, changed);
        }
        const bool options = Properties->GetControlCount() > 0;
        const bool region = filter->AllowsRegion();
        Properties->SetTabVisible(options);
        TabRegion->SetTabVisible(region);
        if (!options && !region) {
            PageProps->SetVisible(false);
        } else {
            ZuzTranslateControl(Properties);
            PageProps->SetVisible(true);
            if (!options)
                PageProps->SetActivePage(TabRegion);
            else if (active && active->GetTabVisible())
                PageProps->SetActivePage(active);
            if (region) {
                TFilterRegion* r = filter->GetRegion();
                UDLeft->SetPosition(r->GetLeft());
                UDTop->SetPosition(r->GetTop());
                UDWidth->SetPosition(r->GetWidth());
                UDHeight->SetPosition(r->GetHeight());
            }
        }
    } else {
        FCreator->SetInstance(nullptr);
        PageProps->SetVisible(false);
    }
}

void TFiltersEditor::FiltersClick(TObject*) {
    SelectFilter(Filters->GetItemIndex());
}

void TFiltersEditor::FiltersClickCheck(TObject*) {
    const int index = Filters->GetItemIndex();
    if (index < 0) return;
    if (auto* f = dynamic_cast<TZuzFilter*>(Filters->GetItems()->GetObjects(index))) {
        f->SetEnabled(Filters->GetChecked(index));
        UpdatePreview();
    }
}

void TFiltersEditor::AddFilter(const ClassInfo& FilterClass) {
    if (!FFilters) return;
    TZuzFilter* f = FFilters->Add(FilterClass);
    const int index = Filters->GetItems()->AddObject(f->Description(), f);
    Filters->SetChecked(index, true);
    SelectFilter(index);
    UpdatePreview();
    ZuzTranslateControl(this);
}

void TFiltersEditor::MenuFilterClick(TObject* Sender) {
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    const auto classes = FilterClasses();
    if (!item || item->GetTag() < 0 || static_cast<std::size_t>(item->GetTag()) >= classes.size()) return;
    AddFilter(*classes[static_cast<std::size_t>(item->GetTag())]);
}

void TFiltersEditor::BAddClick(TObject*) {
    const TPoint corner = BAdd->GetParent()->ClientToScreen(
        TPoint(BAdd->GetLeft() + BAdd->GetWidth(), BAdd->GetTop() + BAdd->GetHeight()));
    MenuFilters->Popup(corner.X, corner.Y);
}

void TFiltersEditor::BDeleteClick(TObject*) {
    const int index = Filters->GetItemIndex();
    TZuzFilter* f = SelectedFilter();
    if (!f) return;
    f->Free(); // leaves the items too
    Filters->GetItems()->Delete(index);
    const int count = Filters->GetItems()->GetCount();
    if (count > 0) {
        SelectFilter(std::min(index, count - 1));
    } else {
        const TRestoreOnExit<bool> filling(FFilling, true);
        Filters->SetItemIndex(-1);
        ClearOptions();
        FCreator->SetInstance(nullptr);
        EnableButtons();
        PageProps->SetVisible(false);
    }
    UpdatePreview();
}

void TFiltersEditor::Exchange(int Index, int Other) {
    auto* a = dynamic_cast<TZuzFilter*>(Filters->GetItems()->GetObjects(Index));
    auto* b = dynamic_cast<TZuzFilter*>(Filters->GetItems()->GetObjects(Other));
    if (!a || !b) return;
    Filters->GetItems()->Exchange(Index, Other);
    const int ia = a->GetIndex();
    a->SetIndex(b->GetIndex());
    b->SetIndex(ia);
    Filters->SetItemIndex(Other);
    EnableButtons();
    UpdatePreview();
}

void TFiltersEditor::BMoveUpClick(TObject*) {
    const int index = Filters->GetItemIndex();
    if (index >= 1) Exchange(index, index - 1);
}

void TFiltersEditor::BMoveDownClick(TObject*) {
    const int index = Filters->GetItemIndex();
    if (index >= 0 && index < Filters->GetItems()->GetCount() - 1) Exchange(index, index + 1);
}

void TFiltersEditor::RegionChanged(TUpDown* UpDown, void (TFilterRegion::*Set)(int)) {
    if (FFilling) return;
    TZuzFilter* f = SelectedFilter();
    if (!f) return;
    (f->GetRegion()->*Set)(UpDown->GetPosition());
    UpdatePreview();
}

void TFiltersEditor::ELeftChange(TObject*) {
    RegionChanged(UDLeft, &TFilterRegion::SetLeft);
}

void TFiltersEditor::ETopChange(TObject*) {
    RegionChanged(UDTop, &TFilterRegion::SetTop);
}

void TFiltersEditor::EWidthChange(TObject*) {
    RegionChanged(UDWidth, &TFilterRegion::SetWidth);
}

void TFiltersEditor::EHeightChange(TObject*) {
    RegionChanged(UDHeight, &TFilterRegion::SetHeight);
}

void TFiltersEditor::PropertiesChanged(TObject*) {
    UpdatePreview();
}

void TFiltersEditor::CBPreviewClick(TObject*) {
    PopupMenu1->SetAutoPopup(CBPreview->GetChecked());
    if (CBPreview->GetChecked())
        UpdatePreview();
    else
        Image->GetBackImage()->SetGraphic(nullptr);
}

void TFiltersEditor::CBScaledClick(TObject*) {
    if (Scaled1->GetChecked() != CBScaled->GetChecked()) Scaled1->SetChecked(CBScaled->GetChecked());
    UpdatePreview();
}

void TFiltersEditor::Scaled1Click(TObject*) {
    Scaled1->SetChecked(!Scaled1->GetChecked());
    if (CBScaled->GetChecked() != Scaled1->GetChecked()) CBScaled->SetChecked(Scaled1->GetChecked());
    UpdatePreview();
}

void TFiltersEditor::ImageResize(TObject*) {
    UpdatePreview();
}

void TFiltersEditor::UpdatePreview() {
    if (!CBPreview || !CBPreview->GetChecked() || !Image) return;
    Image->SetBackImageMode(pbmCustom);
    if (!FWork) FWork = MakeOwned<TBitmap>();
    // The source again at every update, so that the filters never pile up.
    if (auto* bitmap = dynamic_cast<TBitmap*>(FGraphic)) {
        FWork->Assign(bitmap);
    } else if (FGraphic && !FGraphic->GetEmpty()) {
        FWork->SetPixelFormat(pf24bit);
        FWork->SetSize(FGraphic->GetWidth(), FGraphic->GetHeight());
        FWork->GetCanvas()->Draw(0, 0, FGraphic);
    } else {
        FWork->SetSize(0, 0);
    }
    if (FFilters && FFilters->GetCount() > 0) FFilters->ApplyTo(FWork.get());
    if (Scaled1->GetChecked() && Image->GetWidth() > 0 && Image->GetHeight() > 0 && !FWork->GetEmpty()) {
        auto scaled = MakeOwned<TBitmap>();
        scaled->SetPixelFormat(pf24bit);
        scaled->SetSize(Image->GetWidth(), Image->GetHeight());
        SmoothStretch(FWork.get(), scaled.get());
        Image->GetBackImage()->SetGraphic(scaled.get());
    } else {
        Image->GetBackImage()->SetGraphic(FWork.get());
    }
    if (OnPreviewChanged) OnPreviewChanged(this);
}

bool ShowFiltersEditor(TComponent* AOwner, TGraphic* Graphic, TFilterItems* FilterItems) {
    const TFormFreer<TFiltersEditor> editor{Create<TFiltersEditor>(AOwner)};
    editor->SetGraphic(Graphic);
    editor->SetFilterItems(FilterItems);
    return editor->ShowModal() == mrOk;
}

bool ShowFiltersEditor(TComponent* AOwner, TZuzPicture* Picture) {
    if (!Picture) return false;
    const bool ok = ShowFiltersEditor(AOwner, Picture->GetGraphic(), Picture->GetFilters());
    if (ok) Picture->Repaint();
    return ok;
}

void ZuzFiltersEditorInitialization() {
    RegisterClasses({&TFiltersEditor::StaticClass(), &TDraw3D::StaticClass()});
    // The bitmap format's "Filters..." button opens this dialog.
    ZuzBMPFiltersEditor = [](TComponent* AOwner, TGraphic* Graphic, TFilterItems* Filters) {
        return ShowFiltersEditor(AOwner, Graphic, Filters);
    };
}

void ZuzFiltersEditorFinalization() {
    ZuzBMPFiltersEditor = nullptr;
}
