#include "chart/editors/zuzgally.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/canvas/zuzprocs.h"
#include "chart/editors/zuzgalleryalternate.h"
#include "chart/editors/zuzgallerypanel.h"
#include "chart/editors/zuzlisb.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/engine/chart.h"
#include "chart/engine/colorpalettes.h"
#include "chart/engine/seriestypes.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

#include <algorithm>

namespace {

const String kRememberSize = u"RememberGallerySize";
const String kWidth = u"GalleryWidth";
const String kHeight = u"GalleryHeight";

bool HasFunctionClass(const TZuzSeriesType* t) {
    return t->FunctionClass != nullptr;
}

} // namespace

int ZuzGalleryStoredSize(int Stored, int WorkArea) {
    const int size = std::max(100, Stored);
    return WorkArea > 100 ? std::min(size, WorkArea) : size;
}

// ---------------------------------------------------------------------------
// TZuzGallery

const ClassInfo& TZuzGallery::StaticClass() {
    using G = TZuzGallery;
    static const MethodInfo methods[] = {
        MakeMethod<&G::FormCreate>("FormCreate"),
        MakeMethod<&G::FormShow>("FormShow"),
        MakeMethod<&G::FormDestroy>("FormDestroy"),
        MakeMethod<&G::TabTypesChange>("TabTypesChange"),
        MakeMethod<&G::TabPagesChange>("TabPagesChange"),
        MakeMethod<&G::CBPaletteChange>("CBPaletteChange"),
        MakeMethod<&G::CB3DClick>("CB3DClick"),
        MakeMethod<&G::CBSmoothClick>("CBSmoothClick"),
        MakeMethod<&G::ChartGalleryPanel1SelectedChart>("ChartGalleryPanel1SelectedChart"),
    };
    static const ClassInfo ci = MakeClassInfo<TZuzGallery>("TZuzGallery", &TForm::StaticClass(), methods);
    return ci;
}

void TZuzGallery::BindComponents() {
    Bind(P1, u"P1");
    Bind(CB3D, u"CB3D");
    Bind(CBSmooth, u"CBSmooth");
    Bind(CBPalette, u"CBPalette");
    Bind(Panel1, u"Panel1");
    Bind(Button1, u"Button1");
    Bind(Button2, u"Button2");
    Bind(TabTypes, u"TabTypes");
    Bind(TabPages, u"TabPages");
    Bind(ChartGalleryPanel1, u"ChartGalleryPanel1");
}

void TZuzGallery::FormCreate(TObject*) {
    TabTypes->GetTabs()->Clear();
    TabTypes->GetTabs()->Add(VavIve_Series);
    TabTypes->GetTabs()->Add(VavIve_GalleryFunctions);
    CBPalette->GetItems()->Clear();
    if (ColorPalettes) ColorPalettes->AddTo(CBPalette->GetItems(), true);
    CBPalette->SetSorted(true);
}

void TZuzGallery::FormShow(TObject*) {
    CBSmooth->SetChecked(ChartGalleryPanel1->GetSmooth());
    TabTypes->SetTabIndex(0);
    TabTypesChange(TabTypes);
    if (ZuzReadBoolOption(kRememberSize, true)) {
        const TRect area = Screen->GetWorkAreaRect();
        const int w = ZuzReadIntegerOption(kWidth, -1);
        const int h = ZuzReadIntegerOption(kHeight, -1);
        if (w != -1) SetWidth(ZuzGalleryStoredSize(w, area.Right - area.Left));
        if (h != -1) SetHeight(ZuzGalleryStoredSize(h, area.Bottom - area.Top));
    }
    ZuzTranslateControl(this);
}

void TZuzGallery::FormDestroy(TObject*) {
    if (!ZuzReadBoolOption(kRememberSize, true)) return;
    ZuzSaveIntegerOption(kWidth, GetWidth());
    ZuzSaveIntegerOption(kHeight, GetHeight());
}

// The page tabs come from the registered types in their order: series types on the
// first tab, function types on the second, "Standard" always first.
void TZuzGallery::TabTypesChange(TObject*) {
    TStrings* tabs = TabPages->GetTabs();
    tabs->BeginUpdate();
    tabs->Clear();
    const bool functions = FunctionsOnly || TabTypes->GetTabIndex() == 1;
    const TZuzSeriesTypes& types = ZuzSeriesTypes();
    for (int i = 0; i < types.Count(); ++i) {
        const TZuzSeriesType* t = types.Get(i);
        if (t->NumGallerySeries <= 0 || HasFunctionClass(t) != functions) continue;
        const String page = t->GetGalleryPage();
        if (tabs->IndexOf(page) < 0) tabs->Add(page);
    }
    const int standard = tabs->IndexOf(VavIve_GalleryStandard);
    if (standard > 0) tabs->Exchange(0, standard);
    tabs->EndUpdate();
    TabPages->SetTabIndex(tabs->GetCount() > 0 ? 0 : -1);
    TabPagesChange(TabPages);
}

void TZuzGallery::TabPagesChange(TObject*) {
    ChartGalleryPanel1->SetFunctionsMode(FunctionsOnly || TabTypes->GetTabIndex() == 1);
    ChartGalleryPanel1->SetView3D(CB3D->GetChecked());
    if (TabPages->GetTabIndex() < 0)
        ChartGalleryPanel1->CreateChartList({});
    else
        ChartGalleryPanel1->CreateGalleryPage(TabPages->GetTabs()->GetStrings(TabPages->GetTabIndex()));
    CBPaletteChange(CBPalette);
}

// The samples take the chosen palette and repaint in its colours.
void TZuzGallery::CBPaletteChange(TObject*) {
    const int item = CBPalette->GetItemIndex();
    if (item < 0) return;
    const int palette = PaletteIndexOf(CBPalette->GetItems()->GetObjects(item));
    for (int i = 0; i < ChartGalleryPanel1->ChartCount(); ++i) {
        TGalleryChart* chart = ChartGalleryPanel1->GetChart(i);
        chart->SetColorPaletteIndex(palette);
        if (chart->SeriesCount() > 0) chart->GetSeries(0)->GalleryChanged3D(CB3D->GetChecked());
    }
}

void TZuzGallery::CB3DClick(TObject*) {
    ChartGalleryPanel1->SetView3D(CB3D->GetChecked());
}

void TZuzGallery::CBSmoothClick(TObject*) {
    ChartGalleryPanel1->SetSmooth(CBSmooth->GetChecked());
    ZuzSaveBoolOption(u"SmoothGallery", ChartGalleryPanel1->GetSmooth());
}

void TZuzGallery::ChartGalleryPanel1SelectedChart(TObject*) {
    SetModalResult(mrOk);
}

void TZuzGallery::HideButtons() {
    P1->SetVisible(false);
}

// ---------------------------------------------------------------------------
// The gallery functions

namespace {

bool RunStandardGallery(TComponent* Owner, TChartSeries* Series, bool ShowFunctions, bool FunctionsOnly,
                        const ClassInfo*& SeriesClass, bool& View3D, const ClassInfo*& FunctionClass,
                        bool CheckValid, int& SubIndex, int& PaletteIndex) {
    // A gallery form lives for one call: freed on the way out, also when an exception passes.
    TFormFreer<TZuzGallery> form(Create<TZuzGallery>(Owner));
    PositionToCenter(form.get());
    form->FunctionsOnly = FunctionsOnly;
    TChartGalleryPanel* panel = form->ChartGalleryPanel1;
    form->CB3D->SetChecked(View3D);
    panel->SetCurrentSeries(Series);
    if (FunctionsOnly) {
        form->TabTypes->GetTabs()->Delete(0);
    } else if (!ShowFunctions) {
        form->TabTypes->GetTabs()->Delete(1);
        panel->SetFunctionsMode(false);
    }
    panel->SetCheckValidFunctions(CheckValid);
    TStrings* palettes = form->CBPalette->GetItems();
    for (int i = 0; i < palettes->GetCount(); ++i)
        if (PaletteIndexOf(palettes->GetObjects(i)) == PaletteIndex) form->CBPalette->SetItemIndex(i);
    if (form->ShowModal() != mrOk) return false;
    if (form->CBPalette->GetItemIndex() >= 0)
        PaletteIndex = PaletteIndexOf(palettes->GetObjects(form->CBPalette->GetItemIndex()));
    if (!panel->GetSeriesClass(SeriesClass, FunctionClass, SubIndex)) return false;
    TGalleryChart* chosen = panel->SelectedChart();
    View3D = form->CB3D->GetChecked() && chosen && chosen->GetView3D();
    return true;
}

} // namespace

bool GetChartGalleryClass(TComponent* Owner, TChartSeries* Series, bool ShowFunctions,
                          const ClassInfo*& SeriesClass, bool& View3D, const ClassInfo*& FunctionClass,
                          bool CheckValid, int& SubIndex, int& PaletteIndex) {
    if (TChartGalleryPanel::DefaultMode() != 0)
        return RunAlternateGallery(Owner, SeriesClass, View3D, FunctionClass, SubIndex);
    return RunStandardGallery(Owner, Series, ShowFunctions, false, SeriesClass, View3D, FunctionClass,
                              CheckValid, SubIndex, PaletteIndex);
}

TChartSeries* CreateNewSeriesGallery(TComponent* Owner, TCustomChart* Chart) {
    int sub = -1;
    return CreateNewSeriesGallery(Owner, nullptr, Chart, true, false, sub);
}

TChartSeries* CreateNewSeriesGallery(TComponent* Owner, TChartSeries* OldSeries, TCustomChart* Chart,
                                     bool ShowFunctions, bool CheckValid, int& SubIndex) {
    bool view3D = Chart->GetView3D();
    int palette = Chart->GetColorPaletteIndex();
    const ClassInfo* seriesClass = nullptr;
    const ClassInfo* functionClass = nullptr;
    if (!GetChartGalleryClass(Owner, OldSeries, ShowFunctions, seriesClass, view3D, functionClass, CheckValid,
                              SubIndex, palette))
        return nullptr;
    Chart->SetView3D(view3D);
    Chart->SetColorPaletteIndex(palette);
    // A plain sample carries sub-style 0: the same type again without a sub-style changes nothing.
    if (OldSeries && !ShowFunctions && seriesClass == &OldSeries->ClassType() && SubIndex <= 0)
        return nullptr;
    if (!seriesClass) return nullptr;
    TComponent* owner = OldSeries ? OldSeries->GetOwner() : Chart->GetOwner();
    TChartSeries* s = CreateNewSeries(owner, Chart, seriesClass, functionClass);
    if (SubIndex != -1) s->SetSubGallery(s, SubIndex);
    return s;
}

void ChangeSeriesTypeGallery(TComponent* Owner, TChartSeries*& Series) {
    auto* chart = dynamic_cast<TCustomChart*>(Series->GetParentChart());
    if (!chart) return;
    int sub = -1;
    TChartSeries* created = CreateNewSeriesGallery(Owner, Series, chart, false, true, sub);
    if (!created) return;
    AssignSeries(Series, created);
    Series = created;
    if (sub != -1) Series->SetSubGallery(Series, sub);
}

void ChangeAllSeriesGallery(TComponent* Owner, TCustomChart* Chart) {
    if (Chart->SeriesCount() < 1) return;
    TChartSeries* first = Chart->GetSeries(0);
    int sub = -1;
    TChartSeries* created = CreateNewSeriesGallery(Owner, first, Chart, false, true, sub);
    if (!created) return;
    AssignSeries(first, created);
    ChangeAllSeriesType(Chart, &created->ClassType());
}

const ClassInfo* GetChartGalleryFunction(TComponent* Owner) {
    const ClassInfo* seriesClass = nullptr;
    const ClassInfo* functionClass = nullptr;
    bool view3D = false;
    int sub = -1, palette = 0;
    if (!RunStandardGallery(Owner, nullptr, true, true, seriesClass, view3D, functionClass, false, sub,
                            palette))
        return nullptr;
    return functionClass;
}

namespace {

TChartSeries* AddGallery(TComponent* Owner, TCustomChart* Chart, TChartSeries* Selected) {
    if (!Chart) return nullptr;
    int sub = -1;
    return CreateNewSeriesGallery(Owner, Selected, Chart, true, false, sub);
}

const ClassInfo* ChangeGallery(TComponent* Owner, TChartSeries*& Series) {
    ChangeSeriesTypeGallery(Owner, Series);
    return &Series->ClassType();
}

} // namespace

void ZuzGallyInitialization() {
    ZuzGalleryAlternateInitialization();
    // The form reads these classes by name.
    RegisterClasses(
        {&TZuzGallery::StaticClass(), &TChartGalleryPanel::StaticClass(), &TComboFlat::StaticClass()});
    ZuzAddGalleryProc = AddGallery;
    ZuzChangeGalleryProc = ChangeGallery;
}

void ZuzGallyFinalization() {
    ZuzAddGalleryProc = nullptr;
    ZuzChangeGalleryProc = nullptr;
}
