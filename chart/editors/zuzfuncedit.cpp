#include "chart/editors/zuzfuncedit.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzgally.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzselectlist.h"
#include "chart/engine/axispanel.h"
#include "chart/engine/chartvaluelist.h"
#include "chart/engine/seriestypes.h"
#include "chart/engine/zuzfunction.h"
#include "platform/gui/buttons.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/deferred.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

#include <algorithm>
#include <vector>

const ClassInfo& TZuzFuncEditor::StaticClass() {
    using F = TZuzFuncEditor;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormCreate>("FormCreate"),
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::CBSourcesChange>("CBSourcesChange"),
        MakeMethod<&F::CBSingleChange>("CBSingleChange"),
        MakeMethod<&F::CBValuesChange>("CBValuesChange"),
        MakeMethod<&F::BNoneClick>("BNoneClick"),
        MakeMethod<&F::BApplyClick>("BApplyClick"),
        MakeMethod<&F::SpeedButton1Click>("SpeedButton1Click"),
        MakeMethod<&F::Timer1Timer>("Timer1Timer"),
        MakeMethod<&F::Timer2Timer>("Timer2Timer"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TZuzFuncEditor>("TZuzFuncEditor", &TBaseSourceEditor::StaticClass(), methods);
    return ci;
}

TZuzFuncEditor::TZuzFuncEditor(TComponent* AOwner) : TBaseSourceEditor(AOwner) {}

void TZuzFuncEditor::BindComponents() {
    TBaseSourceEditor::BindComponents();
    Bind(PageControl1, u"PageControl1");
    Bind(TabSource, u"TabSource");
    Bind(TabOptions, u"TabOptions");
    Bind(PanSingle, u"PanSingle");
    Bind(Label1, u"Label1");
    Bind(CBSingle, u"CBSingle");
    Bind(LValues, u"LValues");
    Bind(CBValues, u"CBValues");
    Bind(BNone, u"BNone");
    Bind(Timer1, u"Timer1");
    Bind(Timer2, u"Timer2");
    Bind(SpeedButton1, u"SpeedButton1");
}

void TZuzFuncEditor::BeforeDestruction() {
    ListenTo(nullptr);
    if (FSeries) FSeries->RemoveFreeNotification(this);
    FSeries = nullptr;
    TBaseSourceEditor::BeforeDestruction();
}

void TZuzFuncEditor::Notification(TComponent* AComponent, TOperation Operation) {
    TBaseSourceEditor::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FListened) FListened = nullptr;
    if (AComponent == FSeries) FSeries = nullptr;
}

void TZuzFuncEditor::ListenTo(TCustomZuzPanel* Panel) {
    if (FListened == Panel) return;
    if (FListened) {
        FListened->RemoveListener(this);
        FListened->RemoveFreeNotification(this);
    }
    FListened = Panel;
    if (FListened) {
        FListened->FreeNotification(this);
        FListened->GetListeners()->Add(this);
    }
}

// The function types, each once, under their gallery descriptions on one line.
void TZuzFuncEditor::FormCreate(TObject* Sender) {
    TBaseSourceEditor::FormCreate(Sender);
    TStrings* items = CBSources->GetItems();
    CBSources->SetSorted(true);
    items->AddObject(VavIve_FunctionNone, nullptr);
    std::vector<const ClassInfo*> listed;
    const TZuzSeriesTypes& types = ZuzSeriesTypes();
    for (int i = 0; i < types.Count(); ++i) {
        const TZuzSeriesType* t = types.Get(i);
        if (!t->FunctionClass || t->SeriesClass) continue;
        if (std::find(listed.begin(), listed.end(), t->FunctionClass) != listed.end()) continue;
        listed.push_back(t->FunctionClass);
        String text = t->GetDescription();
        for (char16_t& c : text)
            if (c == u'\r' || c == u'\n') c = u' ';
        items->AddObject(text, const_cast<TObject*>(reinterpret_cast<const TObject*>(t->FunctionClass)));
    }
}

const ClassInfo* TZuzFuncEditor::FunctionClass() const {
    const int i = CBSources->GetItemIndex();
    if (i < 0) return nullptr;
    return reinterpret_cast<const ClassInfo*>(CBSources->GetItems()->GetObjects(i));
}

void TZuzFuncEditor::FormShow(TObject* Sender) {
    TBaseSourceEditor::FormShow(Sender);
    FSeries = ZuzTagObject<TChartSeries>(this);
    if (FSeries) {
        FSeries->FreeNotification(this);
        ISeriesChart* chart = FSeries->GetParentChart();
        ListenTo(chart ? dynamic_cast<TCustomZuzPanel*>(chart->ChartComponent()) : nullptr);
    }
    if (!FSelector) {
        FSelector = Create<TSelectListForm>(this);
        FSelector->OnChange.Bind(this, &TZuzFuncEditor::CBSourcesChange);
        FSelector->SetAlign(alClient);
        AddFormTo(FSelector, TabSource);
    }
    ZuzTranslateControl(this);
    if (!FSeries) return;
    FillSourceLists();
    // A function of a class not listed here shows as "Copy" and stays until Apply; the first
    // item of the sorted list would replace it at once.
    int index = CBSources->GetItems()->IndexOfObject(nullptr);
    if (TZuzFunction* f = FSeries->GetFunction())
        if (const int found =
                CBSources->GetItems()->IndexOfObject(reinterpret_cast<const TObject*>(&f->ClassType()));
            found >= 0)
            index = found;
    CBSources->SetItemIndex(index);
    CBSourcesChange(CBSources);
    BApply->SetEnabled(!FSeries->GetFunction() && !FSeries->GetDataSource());
    FSelector->EnableButtons();
}

void TZuzFuncEditor::FillSourceLists() {
    if (!FSeries || !FSelector) return;
    TStrings* available = FSelector->FromList->GetItems();
    TStrings* chosen = FSelector->ToList->GetItems();
    CBSingle->GetItems()->Clear();
    available->Clear();
    chosen->Clear();
    FillSeriesSources(available, CBSingle->GetItems(), FSeries, true);
    for (TComponent* source : FSeries->DataSources()) {
        auto* s = dynamic_cast<TChartSeries*>(source);
        if (!s) continue;
        chosen->AddObject(SeriesTitleOrName(s), s);
        if (const int i = available->IndexOfObject(s); i >= 0) available->Delete(i);
    }
    auto* single = dynamic_cast<TChartSeries*>(FSeries->GetDataSource());
    if (PanSingle->GetVisible() && single) {
        {
            const TRestoreOnExit<bool> changing(FChanging, true);
            CBSingle->SetItemIndex(CBSingle->GetItems()->IndexOfObject(single));
            CBSingleChange(CBSingle);
        }
        const int named = CBValues->GetItems()->IndexOf(FSeries->GetYValues()->GetValueSource());
        CBValues->SetItemIndex(named >= 0 ? named : 0);
    } else {
        CBSingle->SetItemIndex(-1);
    }
}

void TZuzFuncEditor::FreeOptionsForm() {
    if (!FOptions) return;
    TCustomForm* old = FOptions;
    FOptions = nullptr;
    old->Free();
}

bool TZuzFuncEditor::TryCreateNewFunction() {
    if (!FSeries) return false;
    const ClassInfo* cls = FunctionClass();
    TZuzFunction* current = FSeries->GetFunction();
    if (current && cls && &current->ClassType() == cls) return false;
    if (!current && !cls) return false;
    if (current) FSeries->SetFunction(nullptr);
    if (cls) CreateNewZuzFunction(FSeries, cls);
    BApply->SetEnabled(false);
    return true;
}

void TZuzFuncEditor::CBSourcesChange(TObject*) {
    BApply->SetEnabled(true);
    const ClassInfo* cls = FunctionClass();
    TabOptions->SetTabVisible(cls != nullptr);
    if (cls) {
        const bool replaced = TryCreateNewFunction();
        Owned<TComponent> sample(cls->CreateComponent(nullptr));
        auto* function = dynamic_cast<TZuzFunction*>(sample.get());
        const bool noSource = function && function->NoSourceRequired;
        const bool single = function && function->SingleSourceOnly;
        const bool noValueChoice = function && function->NoValueChoice;
        PanSingle->SetVisible(!noSource && single);
        LValues->SetVisible(PanSingle->GetVisible() && !noValueChoice);
        CBValues->SetVisible(PanSingle->GetVisible() && !noValueChoice);
        // The form of the series' own function stays, with what was typed into it, when only the
        // sources changed.
        const bool kept =
            !replaced && FOptions && FSeries && ZuzTagObject(FOptions) == FSeries->GetFunction();
        if (!kept) {
            FreeOptionsForm();
            const ClassInfo* editor = function ? GetClass(UTF8Encode(function->GetEditorClass())) : nullptr;
            if (editor && FSeries) {
                FOptions = dynamic_cast<TCustomForm*>(editor->CreateComponent(this));
                if (FOptions) ZuzEmbedInPage(FOptions, TabOptions, FSeries->GetFunction());
            }
        }
        if (!FOptions) TabOptions->SetTabVisible(false);
        if (noSource && FOptions) {
            TabSource->SetTabVisible(false);
            PageControl1->SetActivePage(TabOptions);
        } else {
            TabSource->SetTabVisible(true);
        }
        if (!kept && (noSource || (FSeries && FSeries->GetDataSource())) && FOptions)
            DeferCall(this, [this] { Timer1Timer(Timer1); });
        BApply->SetEnabled(true);
    } else {
        // "Copy": the series copies its source and has no options.
        FreeOptionsForm();
        TabSource->SetTabVisible(true);
        PanSingle->SetVisible(false);
        PageControl1->SetActivePage(TabSource);
    }
    if (FSelector) {
        FSelector->SetVisible(!PanSingle->GetVisible());
        // The source tab is laid out again only where it is shown at all.
        if (FSelector->GetVisible() && TabSource->GetTabVisible())
            DeferCall(this, [this] { Timer2Timer(Timer2); });
    }
}

void TZuzFuncEditor::Timer1Timer(TObject*) {
    PageControl1->SetActivePage(nullptr);
    PageControl1->SetActivePage(TabOptions);
}

void TZuzFuncEditor::Timer2Timer(TObject*) {
    PageControl1->SetActivePage(nullptr);
    PageControl1->SetActivePage(TabSource);
}

void TZuzFuncEditor::CBSingleChange(TObject*) {
    if (!FChanging) BApply->SetEnabled(true);
    CBValues->GetItems()->Clear();
    const int i = CBSingle->GetItemIndex();
    auto* source = i >= 0 ? dynamic_cast<TChartSeries*>(CBSingle->GetItems()->GetObjects(i)) : nullptr;
    if (source) {
        // The X list is never a function's input.
        const TChartValueLists& lists = source->ValuesList();
        for (int k = 1; k < lists.Count(); ++k) CBValues->GetItems()->Add(lists[k]->GetName());
    }
    CBValues->SetEnabled(source != nullptr);
    BNone->SetEnabled(source != nullptr);
    CBValues->SetItemIndex(source && CBValues->GetItems()->GetCount() > 0 ? 0 : -1);
}

void TZuzFuncEditor::CBValuesChange(TObject*) {
    BApply->SetEnabled(true);
}

void TZuzFuncEditor::BNoneClick(TObject*) {
    CBSingle->SetItemIndex(-1);
    CBSingleChange(CBSingle);
}

void TZuzFuncEditor::SpeedButton1Click(TObject*) {
    const ClassInfo* cls = GetChartGalleryFunction(this);
    if (!cls) return;
    const int i = CBSources->GetItems()->IndexOfObject(reinterpret_cast<const TObject*>(cls));
    if (i < 0) return;
    CBSources->SetItemIndex(i);
    CBSourcesChange(CBSources);
}

void TZuzFuncEditor::BApplyClick(TObject*) {
    // The option form applies its own settings first; a form that refuses stops
    // the apply.
    if (FOptions && !FOptions->CloseQuery()) return;
    if (!FSeries) return;
    std::vector<TChartSeries*> chosen;
    if (!PanSingle->GetVisible() && FSelector) {
        TStrings* items = FSelector->ToList->GetItems();
        for (int i = 0; i < items->GetCount(); ++i)
            if (auto* s = dynamic_cast<TChartSeries*>(items->GetObjects(i))) chosen.push_back(s);
        // A chain that would lead back to the series is refused before anything
        // changes.
        if (ISeriesChart* chart = FSeries->GetParentChart())
            for (TChartSeries* s : chosen) chart->CheckOtherSeries(FSeries, s);
    }
    FSeries->BeginUpdate();
    try {
        if (PanSingle->GetVisible()) {
            const int i = CBSingle->GetItemIndex();
            auto* source =
                i >= 0 ? dynamic_cast<TChartSeries*>(CBSingle->GetItems()->GetObjects(i)) : nullptr;
            FSeries->SetDataSource(source);
            const int v = CBValues->GetItemIndex();
            FSeries->GetYValues()->SetValueSource(source && v >= 0 ? CBValues->GetItems()->GetStrings(v)
                                                                   : String());
        } else if (chosen.empty()) {
            FSeries->SetDataSource(nullptr);
        } else {
            FSeries->DataSources().Clear();
            for (TChartSeries* s : chosen) FSeries->DataSources().Add(s);
        }
        TryCreateNewFunction();
    } catch (...) {
        FSeries->EndUpdate();
        throw;
    }
    FSeries->EndUpdate();
    FSeries->CheckDataSource();
    BApply->SetEnabled(false);
}

void TZuzFuncEditor::ZuzEvent(TZuzEvent* Event) {
    if (GetComponentState().Contains(csDestroying)) return;
    auto* e = dynamic_cast<TZuzSeriesEvent*>(Event);
    if (!e || (e->Event != seAdd && e->Event != seRemove && e->Event != seSwap)) return;
    if (e->Series == FSeries) {
        BApply->SetEnabled(false);
        return;
    }
    FillSourceLists();
    if (FSelector) FSelector->EnableButtons();
}

void RegisterZuzFuncEditClasses() {
    RegisterClass(TZuzFuncEditor::StaticClass());
}
