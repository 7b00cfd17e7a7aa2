#include "chart/editors/zuztoolsgallery.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/canvas/zuzprocs.h"
#include "chart/engine/serieslist.h"
#include "chart/engine/seriestypes.h"
#include "chart/engine/zuzfunction.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"

TToolsGalleryHook ToolsGalleryHook = nullptr;

namespace {

// A list line carries its tool class as the item's object.
TObject* ClassAsObject(const ClassInfo* ToolClass) {
    return reinterpret_cast<TObject*>(const_cast<ClassInfo*>(ToolClass));
}

const ClassInfo* ObjectAsClass(TObject* Object) {
    return reinterpret_cast<const ClassInfo*>(Object);
}

// A tool of the class with no owner, freed when the scope ends.
Owned<TZuzCustomTool> TemporaryTool(const ClassInfo* ToolClass) {
    return Owned<TZuzCustomTool>(static_cast<TZuzCustomTool*>(ToolClass->CreateComponent(nullptr)));
}

bool Designing(const TComponent* Component) {
    return Component && Component->GetComponentState().Contains(csDesigning);
}

} // namespace

void ZuzDrawTool(TCustomListBox* List, int Index, const TRect& Rect, TOwnerDrawState State,
                 const TZuzCustomTool* Tool) {
    TCanvas* canvas = List->GetCanvas();
    const bool selected = State.Contains(odSelected);
    canvas->GetBrush()->SetColor(selected ? clHighlight : List->GetColor());
    canvas->FillRect(Rect);
    if (Tool) ZuzDrawBitmapEditor(canvas, Tool, Rect.Left + 2, Rect.Top + 1);
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->GetFont()->SetColor(selected ? clHighlightText : List->GetFont()->GetColor());
    canvas->TextOut(Rect.Left + 22, Rect.Top + 2, List->GetItems()->GetStrings(Index));
}

const ClassInfo& TZuzToolsGallery::StaticClass() {
    static const MethodInfo methods[] = {
        MakeMethod<&TZuzToolsGallery::FormShow>("FormShow"),
        MakeMethod<&TZuzToolsGallery::TabControl1Change>("TabControl1Change"),
        MakeMethod<&TZuzToolsGallery::LBToolClick>("LBToolClick"),
        MakeMethod<&TZuzToolsGallery::LBToolDblClick>("LBToolDblClick"),
        MakeMethod<&TZuzToolsGallery::LBToolDrawItem>("LBToolDrawItem"),
        MakeMethod<&TZuzToolsGallery::CBView3DClick>("CBView3DClick"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TZuzToolsGallery>("TZuzToolsGallery", &TForm::StaticClass(), methods);
    return ci;
}

void TZuzToolsGallery::BindComponents() {
    Bind(TabControl1, u"TabControl1");
    Bind(LBTool, u"LBTool");
    Bind(MemoDesc, u"MemoDesc");
    Bind(BOk, u"BOk");
    Bind(BCan, u"BCan");
    Bind(PanelDemos, u"PanelDemos");
    Bind(CBView3D, u"CBView3D");
    Bind(LabelClass, u"LabelClass");
}

const ClassInfo* TZuzToolsGallery::ToolAtIndex(int Index) const {
    return ObjectAsClass(LBTool->GetItems()->GetObjects(Index));
}

const ClassInfo* TZuzToolsGallery::SelectedTool() const {
    const int i = LBTool->GetItemIndex();
    return i < 0 ? nullptr : ToolAtIndex(i);
}

void TZuzToolsGallery::FormShow(TObject*) {
    TStrings* tabs = TabControl1->GetTabs();
    tabs->Clear();
    tabs->Add(VavIve_Series);
    tabs->Add(u"Axis");
    tabs->Add(VavIve_PieOther);
    TabControl1->SetTabIndex(0);
    FillTools();
    LabelClass->SetVisible(Designing(Application));
    LabelClass->SetCaption({});
    const bool demos = ToolsGalleryHook != nullptr;
    PanelDemos->SetVisible(demos);
    CBView3D->SetVisible(demos);
    if (!demos) {
        TabControl1->SetAlign(alClient);
        // Narrower about the same centre it was placed at.
        const int narrower = GetWidth() - 300;
        SetBounds(GetLeft() + narrower / 2, GetTop(), 300, GetHeight());
    }
    ZuzTranslateControl(this);
}

void TZuzToolsGallery::TabControl1Change(TObject*) {
    FillTools();
}

void TZuzToolsGallery::FillTools() {
    TStrings* items = LBTool->GetItems();
    items->BeginUpdate();
    items->Clear();
    const int tab = TabControl1->GetTabIndex();
    TZuzToolTypes& types = ZuzToolTypes();
    for (int i = 0; i < types.Count(); ++i) {
        const ClassInfo* toolClass = types.Get(i);
        const Owned<TZuzCustomTool> tool = TemporaryTool(toolClass);
        const bool series = dynamic_cast<TZuzCustomToolSeries*>(tool.get()) != nullptr;
        const bool axis = dynamic_cast<TZuzCustomToolAxis*>(tool.get()) != nullptr;
        const bool keep = tab == 0 ? series : tab == 1 ? axis : tab == 2 ? !series && !axis : true;
        if (keep) items->AddObject(tool->Description(), ClassAsObject(toolClass));
    }
    items->EndUpdate();
    MemoDesc->GetLines()->Clear();
    BOk->SetEnabled(false);
}

void TZuzToolsGallery::LBToolClick(TObject*) {
    BOk->SetEnabled(LBTool->GetItemIndex() >= 0);
    // The demonstration panel starts with two controls of its own; a chart added later goes.
    while (PanelDemos->GetControlCount() > 2)
        PanelDemos->GetControl(PanelDemos->GetControlCount() - 1)->Free();
    const ClassInfo* toolClass = SelectedTool();
    if (!toolClass) {
        LabelClass->SetCaption({});
        MemoDesc->GetLines()->Clear();
        CBView3D->SetVisible(false);
        return;
    }
    if (Designing(Application)) LabelClass->SetCaption(IdentToString(toolClass->name));
    MemoDesc->SetText(TemporaryTool(toolClass)->LongDescription());
    ZuzTranslateControl(this);
    if (!ToolsGalleryHook) return;
    ToolsGalleryHook(this);
    TCustomZuzPanel* demo = nullptr;
    for (int i = PanelDemos->GetControlCount() - 1; i >= 0 && !demo; --i)
        demo = dynamic_cast<TCustomZuzPanel*>(PanelDemos->GetControl(i));
    if (!demo) {
        CBView3D->SetVisible(false);
        return;
    }
    ZuzTranslateControl(demo);
    CBView3D->SetVisible(true);
    CBView3D->SetTag(reinterpret_cast<NativeInt>(static_cast<TObject*>(demo)));
    CBView3D->SetChecked(demo->GetView3D());
}

void TZuzToolsGallery::LBToolDblClick(TObject*) {
    if (LBTool->GetItemIndex() >= 0) SetModalResult(mrOk);
}

void TZuzToolsGallery::LBToolDrawItem(TWinControl*, int Index, TRect Rect, TOwnerDrawState State) {
    const Owned<TZuzCustomTool> tool = TemporaryTool(ToolAtIndex(Index));
    ZuzDrawTool(LBTool, Index, Rect, State, tool.get());
}

void TZuzToolsGallery::CBView3DClick(TObject*) {
    if (auto* demo = dynamic_cast<TCustomZuzPanel*>(reinterpret_cast<TObject*>(CBView3D->GetTag())))
        demo->SetView3D(CBView3D->GetChecked());
}

void ZuzToolsGalleryInitialization() {
    RegisterClass(TZuzToolsGallery::StaticClass());
}
