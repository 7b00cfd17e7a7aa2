#include "chart/editors/zuzgalleryalternate.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzgallerypanel.h"
#include "chart/editors/zuzlisb.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/engine/seriestypes.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/splitter.h"
#include "platform/gui/stdctrls.h"

#include <algorithm>

namespace {

bool IsSeriesType(const TZuzSeriesType* t) {
    return t->FunctionClass == nullptr && t->SeriesClass != nullptr;
}

// The description of the first type registered for the class, on one line.
String ListedTitle(const ClassInfo* SeriesClass) {
    const TZuzSeriesType* t = ZuzSeriesTypes().Find(SeriesClass);
    String title = t ? t->GetDescription() : String();
    std::replace(title.begin(), title.end(), ZuzLineSeparator, u' ');
    return title;
}

} // namespace

const ClassInfo& TZuzGalleryForm::StaticClass() {
    using G = TZuzGalleryForm;
    static const MethodInfo methods[] = {
        MakeMethod<&G::FormCreate>("FormCreate"),
        MakeMethod<&G::FormShow>("FormShow"),
        MakeMethod<&G::FormDestroy>("FormDestroy"),
        MakeMethod<&G::FormKeyDown>("FormKeyDown"),
        MakeMethod<&G::CBPageChange>("CBPageChange"),
        MakeMethod<&G::CB3DClick>("CB3DClick"),
        MakeMethod<&G::CBSmoothClick>("CBSmoothClick"),
        MakeMethod<&G::ChartListBox1Click>("ChartListBox1Click"),
        MakeMethod<&G::ChartGalleryPanel1SelectedChart>("ChartGalleryPanel1SelectedChart"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TZuzGalleryForm>("TZuzGalleryForm", &TForm::StaticClass(), methods);
    return ci;
}

void TZuzGalleryForm::BindComponents() {
    Bind(ChartGalleryPanel1, u"ChartGalleryPanel1");
    Bind(ChartListBox1, u"ChartListBox1");
    Bind(Splitter1, u"Splitter1");
    Bind(Panel1, u"Panel1");
    Bind(CBPage, u"CBPage");
    Bind(Label1, u"Label1");
    Bind(CB3D, u"CB3D");
    Bind(CBSmooth, u"CBSmooth");
    Bind(PanelBottom, u"PanelBottom");
    Bind(Panel3, u"Panel3");
    Bind(BOK, u"BOK");
    Bind(BCancel, u"BCancel");
}

void TZuzGalleryForm::FormCreate(TObject*) {
    FChart = Create<TChart>(this);
    ChartListBox1->SetSorted(true);
    ChartListBox1->SetChart(FChart);
    TStrings* pages = CBPage->GetItems();
    pages->Clear();
    const TZuzSeriesTypes& types = ZuzSeriesTypes();
    for (int i = 0; i < types.Count(); ++i) {
        const TZuzSeriesType* t = types.Get(i);
        if (IsSeriesType(t) && pages->IndexOf(t->GetGalleryPage()) < 0) pages->Add(t->GetGalleryPage());
    }
    pages->Insert(0, VavIve_All);
    CBPage->SetItemIndex(pages->IndexOf(VavIve_GalleryStandard));
    CBSmooth->SetChecked(TChartGalleryPanel::DefaultSmooth());
}

void TZuzGalleryForm::FormShow(TObject*) {
    CBPageChange(CBPage);
}

void TZuzGalleryForm::FormDestroy(TObject*) {
    ChartListBox1->SetChart(nullptr);
    if (FChart) FChart->Free();
    FChart = nullptr;
}

void TZuzGalleryForm::FormKeyDown(TObject*, Word& Key, TShiftState Shift) {
    ChartGalleryPanel1->KeyDown(Key, Shift);
}

// The list holds one series for every type of the chosen page that is no variant of another.
void TZuzGalleryForm::CBPageChange(TObject*) {
    FChart->FreeAllSeries();
    const int item = CBPage->GetItemIndex();
    const bool anyPage = item <= 0;
    const String page = anyPage ? String() : CBPage->GetItems()->GetStrings(item);
    const TZuzSeriesTypes& types = ZuzSeriesTypes();
    for (int i = 0; i < types.Count(); ++i) {
        const TZuzSeriesType* t = types.Get(i);
        if (!IsSeriesType(t) || t->SubIndex != 0) continue;
        if (!anyPage && t->GetGalleryPage() != page) continue;
        // Titled before it joins the chart, so that the sorted list places it by its title.
        TChartSeries* s = CreateNewSeries(FChart, nullptr, t->SeriesClass);
        if (!s) continue;
        s->SetTitle(ListedTitle(t->SeriesClass));
        s->SetParentChart(FChart);
    }
    ChartListBox1Click(ChartListBox1);
}

void TZuzGalleryForm::CB3DClick(TObject*) {
    ChartGalleryPanel1->SetView3D(CB3D->GetChecked());
}

void TZuzGalleryForm::CBSmoothClick(TObject*) {
    ChartGalleryPanel1->SetSmooth(CBSmooth->GetChecked());
}

// The samples beside the list are the sub-styles of the listed type picked.
void TZuzGalleryForm::ChartListBox1Click(TObject*) {
    TChartSeries* s = ChartListBox1->GetSelectedSeries();
    const ClassInfo* cls = s ? &s->ClassType() : nullptr;
    if (cls != FLastClass) {
        FLastClass = cls;
        TChartGalleryPanel* panel = ChartGalleryPanel1;
        panel->CreateChartList({});
        panel->SetNumRows(3);
        panel->SetDisplaySub(false);
        if (s) {
            panel->CreateSubSamples(s);
            if (panel->ChartCount() > panel->GetNumRows() * panel->GetNumCols())
                panel->SetNumRows(panel->ChartCount() / panel->GetNumCols() + 1);
        }
        panel->ShowSelectedChart();
    }
    if (ChartListBox1->CanFocus()) ChartListBox1->SetFocus();
}

void TZuzGalleryForm::ChartGalleryPanel1SelectedChart(TObject*) {
    SetModalResult(mrOk);
}

bool RunAlternateGallery(TComponent* Owner, const ClassInfo*& SeriesClass, bool& View3D,
                         const ClassInfo*& FunctionClass, int& SubIndex) {
    TFormFreer<TZuzGalleryForm> form(Create<TZuzGalleryForm>(Owner));
    PositionToCenter(form.get());
    form->CB3D->SetChecked(View3D);
    ZuzTranslateControl(form.get());
    if (form->ShowModal() != mrOk) return false;
    TChartGalleryPanel* panel = form->ChartGalleryPanel1;
    if (!panel->GetSeriesClass(SeriesClass, FunctionClass, SubIndex)) return false;
    TGalleryChart* chosen = panel->SelectedChart();
    View3D = form->CB3D->GetChecked() && chosen && chosen->GetView3D();
    return true;
}

void ZuzGalleryAlternateInitialization() {
    RegisterClasses({&TZuzGalleryForm::StaticClass(), &TChartListBox::StaticClass(),
                     &TChartGalleryPanel::StaticClass(), &TComboFlat::StaticClass(),
                     &TSplitter::StaticClass()});
}
