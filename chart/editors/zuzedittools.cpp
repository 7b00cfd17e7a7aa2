#include "chart/editors/zuzedittools.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/canvas/zuztext.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuztoolsgallery.h"
#include "chart/engine/seriestypes.h"
#include "chart/engine/zuzfunction.h"
#include "platform/gui/buttons.h"
#include "platform/gui/extctrls.h"

#include <algorithm>

namespace {

bool Designing(const TComponent* Component) {
    return Component && Component->GetComponentState().Contains(csDesigning);
}

TComponent* ChartOf(const TChartTools* Tools) {
    return Tools && Tools->GetChart() ? Tools->GetChart()->ChartComponent() : nullptr;
}

} // namespace

const ClassInfo& TFormZuzTools::StaticClass() {
    static const MethodInfo methods[] = {
        MakeMethod<&TFormZuzTools::FormCreate>("FormCreate"),
        MakeMethod<&TFormZuzTools::FormShow>("FormShow"),
        MakeMethod<&TFormZuzTools::LBToolsClick>("LBToolsClick"),
        MakeMethod<&TFormZuzTools::LBToolsDrawItem>("LBToolsDrawItem"),
        MakeMethod<&TFormZuzTools::BAddClick>("BAddClick"),
        MakeMethod<&TFormZuzTools::BDeleteClick>("BDeleteClick"),
        MakeMethod<&TFormZuzTools::BCloneClick>("BCloneClick"),
        MakeMethod<&TFormZuzTools::CBActiveClick>("CBActiveClick"),
        MakeMethod<&TFormZuzTools::BMoveUpClick>("BMoveUpClick"),
        MakeMethod<&TFormZuzTools::BMoveDownClick>("BMoveDownClick"),
        MakeMethod<&TFormZuzTools::CBShowInEditorClick>("CBShowInEditorClick"),
    };
    static const ClassInfo ci = MakeClassInfo<TFormZuzTools>("TFormZuzTools", &TForm::StaticClass(), methods);
    return ci;
}

void TFormZuzTools::BindComponents() {
    Bind(BAdd, u"BAdd");
    Bind(BDelete, u"BDelete");
    Bind(BClone, u"BClone");
    Bind(CBActive, u"CBActive");
    Bind(BMoveUp, u"BMoveUp");
    Bind(BMoveDown, u"BMoveDown");
    Bind(CBShowInEditor, u"CBShowInEditor");
    Bind(LBTools, u"LBTools");
    Bind(PanelToolEditor, u"PanelToolEditor");
    Bind(PBottom, u"PBottom");
}

void TFormZuzTools::FormCreate(TObject*) {
    ZuzLoadArrowBitmaps(BMoveUp->GetGlyph(), BMoveDown->GetGlyph());
    ZuzLoadBitmap(BClone->GetGlyph(), u"ZuzToolClone", u"");
}

void TFormZuzTools::FormShow(TObject*) {
    if (!Tools)
        if (auto* chart = dynamic_cast<ISeriesChart*>(ZuzTagObject(this))) Tools = chart->GetTools();
    if (Designing(ChartOf(Tools))) {
        CBShowInEditor->SetVisible(true);
        CBShowInEditor->SetEnabled(false);
        PBottom->SetVisible(true);
    }
    FillAndSet();
    ZuzTranslateControl(this);
}

void TFormZuzTools::ShowingChanged() {
    TForm::ShowingChanged();
    if (TWinControl* parent = GetParent()) parent->UpdateControlState();
}

void TFormZuzTools::FillTools() {
    PBottom->SetCaption({});
    TStrings* items = LBTools->GetItems();
    items->BeginUpdate();
    items->Clear();
    if (Tools)
        for (TZuzCustomTool* tool : *Tools)
            if (tool->GetShowInEditor() || Designing(tool)) items->AddObject(tool->Description(), tool);
    items->EndUpdate();
    const bool any = items->GetCount() > 0;
    CBActive->SetEnabled(any);
    if (CBShowInEditor->GetVisible()) CBShowInEditor->SetEnabled(any);
    BDelete->SetEnabled(any);
    BClone->SetEnabled(any);
}

void TFormZuzTools::FillAndSet() {
    FillTools();
    if (LBTools->GetItems()->GetCount() > 0) {
        LBTools->SetItemIndex(0);
        LBToolsClick(LBTools);
    } else {
        EnableButtons();
    }
}

void TFormZuzTools::Reload() {
    TStrings* items = LBTools->GetItems();
    bool stale = Tools && items->GetCount() != Tools->Count();
    // A tool freed and another made elsewhere keep the count, and the line would hold freed
    // memory: its object is only compared with the chart's tools, never reached.
    for (int i = 0; Tools && !stale && i < items->GetCount(); ++i) {
        const TObject* listed = items->GetObjects(i);
        stale = std::none_of(Tools->begin(), Tools->end(),
                             [listed](const TZuzCustomTool* t) { return t == listed; });
    }
    if (stale) {
        FillTools();
        // A tool freed elsewhere leaves the list: its editor must not outlive it.
        if (FToolEditor && items->IndexOfObject(ZuzTagObject(FToolEditor)) < 0) DeleteForm();
    }
    if (LBTools->GetItemIndex() >= 0) LBToolsClick(LBTools);
}

TZuzCustomTool* TFormZuzTools::CurrentTool() const {
    const int i = LBTools->GetItemIndex();
    return i < 0 ? nullptr : static_cast<TZuzCustomTool*>(LBTools->GetItems()->GetObjects(i));
}

void TFormZuzTools::EnableButtons() {
    const int i = LBTools->GetItemIndex();
    const int count = LBTools->GetItems()->GetCount();
    BMoveUp->SetEnabled(i >= 1);
    BMoveDown->SetEnabled(i >= 0 && i < count - 1);
    BDelete->SetEnabled(i >= 0);
    BClone->SetEnabled(i >= 0);
}

void TFormZuzTools::DeleteForm() {
    if (!FToolEditor) return;
    TCustomForm* editor = FToolEditor;
    FToolEditor = nullptr;
    editor->Free();
}

void TFormZuzTools::LBToolsClick(TObject*) {
    TZuzCustomTool* tool = CurrentTool();
    if (tool) {
        // An editor that will not close keeps its own tool selected.
        if (FToolEditor && !FToolEditor->CloseQuery()) {
            LBTools->SetItemIndex(LBTools->GetItems()->IndexOfObject(ZuzTagObject(FToolEditor)));
            return;
        }
        {
            const TRestoreOnExit<bool> filling(FFilling, true);
            CBActive->SetChecked(tool->GetActive());
            CBShowInEditor->SetChecked(tool->GetShowInEditor());
        }
        DeleteForm();
        if (const ClassInfo* editorClass = GetClass(UTF8Encode(tool->GetEditorClass()));
            editorClass && editorClass->InheritsFrom(TCustomForm::StaticClass())) {
            auto* editor = static_cast<TCustomForm*>(editorClass->CreateComponent(this));
            FToolEditor = editor;
            ZuzEmbedInPage(editor, PanelToolEditor, tool);
        }
    }
    const bool designing = Designing(tool);
    CBShowInEditor->SetVisible(designing);
    EnableButtons();
    if (designing && tool)
        PBottom->SetCaption(tool->GetName() + u" (" + IdentToString(tool->ClassType().name) + u")");
}

void TFormZuzTools::LBToolsDrawItem(TWinControl*, int Index, TRect Rect, TOwnerDrawState State) {
    ZuzDrawTool(LBTools, Index, Rect, State,
                static_cast<TZuzCustomTool*>(LBTools->GetItems()->GetObjects(Index)));
}

void TFormZuzTools::SwapTool(int Index1, int Index2) {
    TStrings* items = LBTools->GetItems();
    auto* tool1 = static_cast<TZuzCustomTool*>(items->GetObjects(Index1));
    auto* tool2 = static_cast<TZuzCustomTool*>(items->GetObjects(Index2));
    const bool selected1 = LBTools->GetItemIndex() == Index1;
    items->Exchange(Index1, Index2);
    if (Tools) Tools->Exchange(Tools->IndexOf(tool1), Tools->IndexOf(tool2));
    // The stored order follows the components' order under their owner.
    if (tool1->GetOwner() && tool1->GetOwner() == tool2->GetOwner()) {
        const int at1 = tool1->GetComponentIndex(), at2 = tool2->GetComponentIndex();
        tool1->SetComponentIndex(at2);
        tool2->SetComponentIndex(at1);
    }
    LBTools->SetItemIndex(selected1 ? Index2 : Index1);
    if (ISeriesChart* chart = Tools ? Tools->GetChart() : nullptr) chart->Invalidate();
    EnableButtons();
}

void TFormZuzTools::BMoveUpClick(TObject*) {
    const int i = LBTools->GetItemIndex();
    if (i >= 1) SwapTool(i, i - 1);
}

void TFormZuzTools::BMoveDownClick(TObject*) {
    const int i = LBTools->GetItemIndex();
    if (i >= 0 && i < LBTools->GetItems()->GetCount() - 1) SwapTool(i, i + 1);
}

void TFormZuzTools::CBActiveClick(TObject*) {
    if (TZuzCustomTool* tool = CurrentTool(); tool && !FFilling) tool->SetActive(CBActive->GetChecked());
}

void TFormZuzTools::CBShowInEditorClick(TObject*) {
    if (TZuzCustomTool* tool = CurrentTool(); tool && !FFilling)
        tool->SetShowInEditor(CBShowInEditor->GetChecked());
}

// The tool's editor form goes before the tool: it refers to the tool until it is freed.
void TFormZuzTools::BDeleteClick(TObject*) {
    TZuzCustomTool* tool = CurrentTool();
    if (!tool || !ZuzYesNoDelete(tool->Description(), BDelete)) return;
    const int deleted = LBTools->GetItemIndex();
    if (OnDeletedTool) OnDeletedTool(tool);
    DeleteForm();
    tool->Free();
    FillTools();
    const int count = LBTools->GetItems()->GetCount();
    if (count > 0) LBTools->SetItemIndex(deleted >= 2 ? deleted - 1 : count - 1);
    const bool selected = LBTools->GetItemIndex() >= 0;
    BDelete->SetEnabled(selected);
    BClone->SetEnabled(selected);
    if (selected) LBToolsClick(LBTools);
}

TZuzCustomTool* TFormZuzTools::CloneTool(TZuzCustomTool* Tool) {
    TZuzCustomTool* clone = CloneChartTool(Tool, Tool->GetOwner());
    if (clone) clone->SetParentChart(Tool->GetParentChart());
    return clone;
}

void TFormZuzTools::BCloneClick(TObject*) {
    TZuzCustomTool* tool = CurrentTool();
    if (!tool) return;
    TZuzCustomTool* clone = CloneTool(tool);
    if (!clone) return;
    LBTools->SetItemIndex(LBTools->GetItems()->AddObject(clone->Description(), clone));
    LBToolsClick(LBTools);
}

TZuzCustomTool* TFormZuzTools::GetNewTool() {
    TFormFreer<TZuzToolsGallery> gallery(Create<TZuzToolsGallery>(GetOwner()));
    PositionToCenter(gallery.get());
    if (gallery->ShowModal() != mrOk) return nullptr;
    const ClassInfo* toolClass = gallery->SelectedTool();
    ISeriesChart* chart = Tools ? Tools->GetChart() : nullptr;
    if (!toolClass || !chart) return nullptr;
    TComponent* chartComponent = chart->ChartComponent();
    TComponent* owner = chartComponent->GetOwner();
    // A chart whose tools it owns itself, or a chart with no owner, owns the new tool too.
    for (TZuzCustomTool* t : *Tools)
        if (t->GetOwner() == chartComponent) owner = chartComponent;
    if (!owner) owner = chartComponent;
    auto* tool = static_cast<TZuzCustomTool*>(toolClass->CreateComponent(owner));
    tool->SetParentChart(chart);
    tool->SetName(ZuzGetUniqueName(owner, u"ChartTool"));
    return tool;
}

void TFormZuzTools::BAddClick(TObject*) {
    TZuzCustomTool* tool = GetNewTool();
    if (!tool) return;
    if (OnAddedTool) OnAddedTool(tool);
    FillTools();
    LBTools->SetItemIndex(LBTools->GetItems()->GetCount() - 1);
    if (LBTools->CanFocus()) LBTools->SetFocus();
    LBToolsClick(LBTools);
}

void ZuzEditToolsInitialization() {
    RegisterClass(TFormZuzTools::StaticClass());
}
