#include "chart/editors/zuzediseri.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzcolor.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/canvas/zuztext.h"
#include "chart/editors/vediruregrid.h"
#include "chart/editors/zuzcustomshapeeditor.h"
#include "chart/editors/zuzformatting.h"
#include "chart/editors/zuzlisb.h"
#include "chart/editors/zuzmargins.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzpoedi.h"
#include "chart/editors/zuzsourceedit.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/seriesmarks.h"
#include "chart/engine/seriessource.h"
#include "chart/engine/seriestypes.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/deferred.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

#include <algorithm>

void (*InternalOnCreateEditSeries)(TFormZuzSeries* Form, TCustomChart* Chart) = nullptr;
std::function<void(TFormZuzSeries* Form, TCustomChart* Chart)> InternalOnCreateEditSeriesObj;

namespace {

// The style items every series has; registered data sources follow them.
enum : int { dsManual, dsRandom, dsSeries, dsFunction, dsFirstSource };

// Custom axes follow the six standard ones in a chart's axis list.
constexpr int kStandardAxes = 6;

bool IsDestroying(const TComponent* C) {
    return C->GetComponentState().Contains(csDestroying);
}

TCustomChart* ChartOf(const TChartSeries* Series) {
    return Series ? dynamic_cast<TCustomChart*>(Series->GetParentChart()) : nullptr;
}

// A form class registered under Name, or nullptr.
const ClassInfo* FormClassNamed(const String& Name) {
    if (Name.empty()) return nullptr;
    const ClassInfo* c = GetClass(UTF8Encode(Name));
    return c && c->InheritsFrom(TCustomForm::StaticClass()) ? c : nullptr;
}

void FreeControlsOf(TWinControl* Parent) {
    while (Parent->GetControlCount() > 0) Parent->GetControl(Parent->GetControlCount() - 1)->Free();
}

// The value list named "Z" of a series that carries one.
TChartValueList* FindZList(const TChartSeries* Series) {
    const TChartValueLists& lists = Series->ValuesList();
    for (int i = 0; i < lists.Count(); ++i)
        if (lists.Get(i)->GetName() == u"Z") return lists.Get(i);
    return nullptr;
}

// The item of the axis combo that shows a custom axis, else the fixed item.
int AxisItem(TComboFlat* Combo, int Fixed, TChartAxis* Custom, bool IsCustom) {
    return IsCustom ? Combo->GetItems()->IndexOfObject(Custom) : Fixed;
}

void FillAxis(TStrings* Items, TCustomChart* Chart, bool Horizontal) {
    while (Items->GetCount() > 3) Items->Delete(Items->GetCount() - 1);
    if (!Chart) return;
    TChartAxes* axes = Chart->GetAxes();
    for (int i = kStandardAxes; i < axes->Count(); ++i)
        if (axes->Get(i)->GetHorizontal() == Horizontal)
            Items->AddObject(IntToStr(i - kStandardAxes) + u" " + VavIve_CustomAxesEditor, axes->Get(i));
}

// Marks styles whose texts have two parts, which a multi-line mark puts on two lines.
bool TwoPartStyle(int Style) {
    switch (Style) {
    case smsLabelPercent:
    case smsLabelValue:
    case smsPercentTotal:
    case smsLabelPercentTotal:
    case smsXY:
        return true;
    default:
        return false;
    }
}

} // namespace

// ---------------------------------------------------------------------------
// Class and components

const ClassInfo& TFormZuzSeries::StaticClass() {
    using F = TFormZuzSeries;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormCreate>("FormCreate"),
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::FormDestroy>("FormDestroy"),
        MakeMethod<&F::FormCloseQuery>("FormCloseQuery"),
        MakeMethod<&F::CBSeriesChange>("CBSeriesChange"),
        MakeMethod<&F::PageSeriesChange>("PageSeriesChange"),
        MakeMethod<&F::PageSeriesChanging>("PageSeriesChanging"),
        MakeMethod<&F::PaintBox1Click>("PaintBox1Click"),
        MakeMethod<&F::PaintBox1Paint>("PaintBox1Paint"),
        MakeMethod<&F::CBPersistentClick>("CBPersistentClick"),
        MakeMethod<&F::CBShowInLegendClick>("CBShowInLegendClick"),
        MakeMethod<&F::CBCursorChange>("CBCursorChange"),
        MakeMethod<&F::EDepthChange>("EDepthChange"),
        MakeMethod<&F::CBDepthClick>("CBDepthClick"),
        MakeMethod<&F::CBFormatChange>("CBFormatChange"),
        MakeMethod<&F::Button1Click>("Button1Click"),
        MakeMethod<&F::EPercentFormatChange>("EPercentFormatChange"),
        MakeMethod<&F::Button2Click>("Button2Click"),
        MakeMethod<&F::CBHorizAxisChange>("CBHorizAxisChange"),
        MakeMethod<&F::CBVertAxisChange>("CBVertAxisChange"),
        MakeMethod<&F::CBXDateTimeClick>("CBXDateTimeClick"),
        MakeMethod<&F::CBYDateTimeClick>("CBYDateTimeClick"),
        MakeMethod<&F::CBZDateTimeClick>("CBZDateTimeClick"),
        MakeMethod<&F::CBSortChange>("CBSortChange"),
        MakeMethod<&F::CBShowInEditorClick>("CBShowInEditorClick"),
        MakeMethod<&F::CBMarksVisibleClick>("CBMarksVisibleClick"),
        MakeMethod<&F::CBMarkClipClick>("CBMarkClipClick"),
        MakeMethod<&F::SEMarksAngleChange>("SEMarksAngleChange"),
        MakeMethod<&F::EMarksEveryChange>("EMarksEveryChange"),
        MakeMethod<&F::CBMultiLineClick>("CBMultiLineClick"),
        MakeMethod<&F::CBAllVisibleClick>("CBAllVisibleClick"),
        MakeMethod<&F::RGMarkStyleClick>("RGMarkStyleClick"),
        MakeMethod<&F::CBTextAlignChange>("CBTextAlignChange"),
        MakeMethod<&F::CBFontSeriesColorClick>("CBFontSeriesColorClick"),
        MakeMethod<&F::SEArrowLengthChange>("SEArrowLengthChange"),
        MakeMethod<&F::EArrowDistChange>("EArrowDistChange"),
        MakeMethod<&F::BCalloutPointerClick>("BCalloutPointerClick"),
        MakeMethod<&F::CBHeadChange>("CBHeadChange"),
        MakeMethod<&F::Edit1Change>("Edit1Change"),
        MakeMethod<&F::PageControlMarksChange>("PageControlMarksChange"),
        MakeMethod<&F::CBDataSourcestyleChange>("CBDataSourcestyleChange"),
        MakeMethod<&F::ESamplesChange>("ESamplesChange"),
        MakeMethod<&F::CBSamplesDefaultClick>("CBSamplesDefaultClick"),
        MakeMethod<&F::BApplyRandomClick>("BApplyRandomClick"),
        MakeMethod<&F::Button3Click>("Button3Click"),
        MakeMethod<&F::CBSeriesSourceChange>("CBSeriesSourceChange"),
        MakeMethod<&F::BApplySourceClick>("BApplySourceClick"),
        MakeMethod<&F::BClearSourceClick>("BClearSourceClick"),
        MakeMethod<&F::ChartGrid1SetEditText>("ChartGrid1SetEditText"),
        MakeMethod<&F::Timer1Timer>("Timer1Timer"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TFormZuzSeries>("TFormZuzSeries", &TForm::StaticClass(), methods);
    return ci;
}

TFormZuzSeries::TFormZuzSeries(TComponent* AOwner) : TForm(AOwner) {}
TFormZuzSeries::~TFormZuzSeries() = default;

void TFormZuzSeries::BindComponents() {
    Bind(Panel1, u"Panel1");
    Bind(ImageSeries, u"ImageSeries");
    Bind(LabelSeriesClass, u"LabelSeriesClass");
    Bind(CBSeries, u"CBSeries");
    Bind(PaintBox1, u"PaintBox1");
    Bind(Panel3, u"Panel3");
    Bind(CBPersistent, u"CBPersistent");
    Bind(PageSeries, u"PageSeries");
    Bind(TheTabSheet, u"TheTabSheet");
    Bind(TabGeneral, u"TabGeneral");
    Bind(GB5, u"GB5");
    Bind(CBShowInLegend, u"CBShowInLegend");
    Bind(L27, u"L27");
    Bind(CBCursor, u"CBCursor");
    Bind(LDepth, u"LDepth");
    Bind(EDepth, u"EDepth");
    Bind(UDDepth, u"UDDepth");
    Bind(CBDepth, u"CBDepth");
    Bind(GB2, u"GB2");
    Bind(L15, u"L15");
    Bind(CBFormat, u"CBFormat");
    Bind(Button1, u"Button1");
    Bind(L21, u"L21");
    Bind(EPercentFormat, u"EPercentFormat");
    Bind(Button2, u"Button2");
    Bind(GBHorizAxis, u"GBHorizAxis");
    Bind(CBHorizAxis, u"CBHorizAxis");
    Bind(CBXDateTime, u"CBXDateTime");
    Bind(GBVertAxis, u"GBVertAxis");
    Bind(CBVertAxis, u"CBVertAxis");
    Bind(CBYDateTime, u"CBYDateTime");
    Bind(LSort, u"LSort");
    Bind(CBSort, u"CBSort");
    Bind(CBZDateTime, u"CBZDateTime");
    Bind(CBShowInEditor, u"CBShowInEditor");
    Bind(TabMarks, u"TabMarks");
    Bind(PageControlMarks, u"PageControlMarks");
    Bind(TabSheet1, u"TabSheet1");
    Bind(CBMarksVisible, u"CBMarksVisible");
    Bind(CBMarkClip, u"CBMarkClip");
    Bind(L23, u"L23");
    Bind(SEMarksAngle, u"SEMarksAngle");
    Bind(UDMarksAngle, u"UDMarksAngle");
    Bind(Label3, u"Label3");
    Bind(EMarksEvery, u"EMarksEvery");
    Bind(UDEvery, u"UDEvery");
    Bind(CBMultiLine, u"CBMultiLine");
    Bind(CBAllVisible, u"CBAllVisible");
    Bind(Label1, u"Label1");
    Bind(RGMarkStyle, u"RGMarkStyle");
    Bind(Label6, u"Label6");
    Bind(CBTextAlign, u"CBTextAlign");
    Bind(CBFontSeriesColor, u"CBFontSeriesColor");
    Bind(TabSheet2, u"TabSheet2");
    Bind(BMarkLinCol, u"BMarkLinCol");
    Bind(L32, u"L32");
    Bind(SEArrowLength, u"SEArrowLength");
    Bind(UDArrowsLength, u"UDArrowsLength");
    Bind(Label4, u"Label4");
    Bind(EArrowDist, u"EArrowDist");
    Bind(UDArrowDist, u"UDArrowDist");
    Bind(BCalloutPointer, u"BCalloutPointer");
    Bind(Label11, u"Label11");
    Bind(CBHead, u"CBHead");
    Bind(Label12, u"Label12");
    Bind(Edit1, u"Edit1");
    Bind(UDHeadSize, u"UDHeadSize");
    Bind(TabSymbol, u"TabSymbol");
    Bind(TabMargins, u"TabMargins");
    Bind(TabDataSource, u"TabDataSource");
    Bind(PanTop, u"PanTop");
    Bind(CBDataSourcestyle, u"CBDataSourcestyle");
    Bind(NewDataButton, u"NewDataButton");
    Bind(EditDataButton, u"EditDataButton");
    Bind(DeleteDataButton, u"DeleteDataButton");
    Bind(Panel2, u"Panel2");
    Bind(ChartGrid1, u"ChartGrid1");
    Bind(ChartGridNavigator1, u"ChartGridNavigator1");
    Bind(PanelRandomSource, u"PanelRandomSource");
    Bind(Label2, u"Label2");
    Bind(ESamples, u"ESamples");
    Bind(CBSamplesDefault, u"CBSamplesDefault");
    Bind(BApplyRandom, u"BApplyRandom");
    Bind(Button3, u"Button3");
    Bind(PanelSeriesSource, u"PanelSeriesSource");
    Bind(Label5, u"Label5");
    Bind(CBSeriesSource, u"CBSeriesSource");
    Bind(BApplySource, u"BApplySource");
    Bind(BClearSource, u"BClearSource");
    Bind(Timer1, u"Timer1");
}

TCustomForm* TFormZuzSeries::GetTypeEditor() const {
    for (int i = 0; i < TheTabSheet->GetControlCount(); ++i)
        if (auto* form = dynamic_cast<TCustomForm*>(TheTabSheet->GetControl(i))) return form;
    return nullptr;
}

// ---------------------------------------------------------------------------
// Life

void TFormZuzSeries::FormCreate(TObject*) {
    Changing = false;
    Filling = true;
    ShowTabDataSource = ShowTabGeneral = ShowTabMarks = true;
    DataSourceMode = false;
    CBDataSourcestyle->SetDropDownCount(12);
    PageSeries->SetActivePage(TheTabSheet);
    PageControlMarks->SetActivePage(TabSheet1);
}

void TFormZuzSeries::FormShow(TObject*) {
    Filling = false;
    if (TheSeries) {
        TCustomChart* chart = ChartOf(TheSeries);
        if (InternalOnCreateEditSeries) InternalOnCreateEditSeries(this, chart);
        if (InternalOnCreateEditSeriesObj) InternalOnCreateEditSeriesObj(this, chart);
    }
    const bool designing = TheSeries && TheSeries->GetComponentState().Contains(csDesigning);
    CBShowInEditor->SetVisible(designing);
    if (designing) {
        TRestoreOnExit<bool> changing(Changing, true);
        CBShowInEditor->SetChecked(TheSeries->GetShowInEditor());
    }
}

void TFormZuzSeries::FormDestroy(TObject*) {
    DestroySeriesForms();
    ListenTo(nullptr);
}

void TFormZuzSeries::BeforeDestruction() {
    FDestroying = true;
    TForm::BeforeDestruction();
    ListenTo(nullptr);
    if (TheSeries) TheSeries->RemoveFreeNotification(this);
}

void TFormZuzSeries::FormCloseQuery(TObject*, bool& CanClose) {
    CanClose = CheckCanClose();
}

bool TFormZuzSeries::CheckCanClose() {
    return !FDataSourceForm || FDataSourceForm->CloseQuery();
}

void TFormZuzSeries::ListenTo(TCustomChart* Chart) {
    if (FListenedChart == Chart) return;
    if (FListenedChart) {
        FListenedChart->RemoveListener(this);
        FListenedChart->RemoveFreeNotification(this);
    }
    FListenedChart = Chart;
    if (Chart) {
        Chart->FreeNotification(this);
        Chart->GetListeners()->Add(this);
    }
}

void TFormZuzSeries::Notification(TComponent* AComponent, TOperation Operation) {
    TForm::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FListenedChart) FListenedChart = nullptr;
    if (AComponent == FDataSourceForm) FDataSourceForm = nullptr;
    if (AComponent == FMarginsForm) FMarginsForm = nullptr;
    if (AComponent == FMarksShapeForm) FMarksShapeForm = nullptr;
    if (AComponent == FMarkSymbolsForm) {
        FMarkSymbolsForm = nullptr;
        FSymbolVisible = nullptr;
    }
    if (AComponent == TheSeries) {
        // A series freed outside any chart: nothing may keep pointing at it.
        TheSeries = nullptr;
        const int index = CBSeries ? CBSeries->GetItems()->IndexOfObject(AComponent) : -1;
        if (index >= 0) CBSeries->GetItems()->Delete(index);
        if (!FDestroying) {
            DestroySeriesForms();
            CBSeriesChange(this);
        }
    }
}

void TFormZuzSeries::ZuzEvent(TZuzEvent* Event) {
    if (FDestroying) return;
    if (auto* e = dynamic_cast<TZuzSeriesEvent*>(Event)) {
        if (e->Event == seChangeColor) {
            PaintBox1->Invalidate();
            // The type's own page shows the colour too (its colour button), and a screen that
            // keeps what it drew would go on showing the old one.
            PageSeries->Invalidate();
        }
        if (e->Event == seRemove && TheSeries && e->Series == TheSeries) {
            DestroySeriesForms();
            TheSeries->RemoveFreeNotification(this);
            // The removed series leaves the combo too: selecting it again would edit a series
            // that may be freed next.
            const int index = CBSeries->GetItems()->IndexOfObject(TheSeries);
            TheSeries = nullptr;
            if (index >= 0) CBSeries->GetItems()->Delete(index);
            CBSeriesChange(this);
        }
    }
    if (OnChartEvent) OnChartEvent(this, Event);
}

// ---------------------------------------------------------------------------
// The series

void TFormZuzSeries::SetCBSeries() {
    if (TheSeries) {
        CBSeries->SetItemIndex(CBSeries->GetItems()->IndexOfObject(TheSeries));
        // Not as the chooser: the series comes from the list, whose rows stay as they are.
        CBSeriesChange(this);
    } else {
        PageSeries->SetVisible(false);
    }
}

void TFormZuzSeries::FillDataSourceStyles() {
    TStrings* items = CBDataSourcestyle->GetItems();
    while (items->GetCount() > dsFirstSource) items->Delete(items->GetCount() - 1);
    FSourceClasses.clear();
    for (const ClassInfo* source : ZuzSources()) {
        if (!TZuzSeriesSource::Available(*source, TheSeries->GetParentChart())) continue;
        if (std::find(FSourceClasses.begin(), FSourceClasses.end(), source) != FSourceClasses.end()) continue;
        FSourceClasses.push_back(source);
        items->Add(TZuzSeriesSource::Description(*source));
    }
}

const ClassInfo* TFormZuzSeries::SourceClassOfStyle(int Index) const {
    const int i = Index - dsFirstSource;
    return i >= 0 && i < static_cast<int>(FSourceClasses.size()) ? FSourceClasses[static_cast<std::size_t>(i)]
                                                                 : nullptr;
}

void TFormZuzSeries::CBSeriesChange(TObject* Sender) {
    TRestoreOnExit<bool> filling(Filling, true);
    TTabSheet* active = PageSeries->GetActivePage();
    const String activeCaption = active ? active->GetCaption() : String();
    TChartSeries* previous = TheSeries;
    const int index = CBSeries->GetItemIndex();
    TheSeries = index >= 0 ? dynamic_cast<TChartSeries*>(CBSeries->GetItems()->GetObjects(index)) : nullptr;
    if (previous && previous != TheSeries) previous->RemoveFreeNotification(this);
    if (!TheSeries) {
        ImageSeries->SetVisible(false);
        PageSeries->SetVisible(false);
        LabelSeriesClass->SetCaption(String());
        return;
    }
    TheSeries->FreeNotification(this);
    // A series chosen here is the editor's series list's one row chosen, as one opened there
    // is: rows chosen before would go with it into the list's next Delete.
    if (TheListBox && Sender == CBSeries)
        if (const int row = TheListBox->GetItems()->IndexOfObject(TheSeries); row >= 0)
            TheListBox->ChooseOnly(row);
    ListenTo(ChartOf(TheSeries));
    FillDataSourceStyles();

    TBitmap icon;
    ZuzGetBitmapEditor(TheSeries, &icon);
    ImageSeries->GetPicture()->Assign(&icon);
    PaintBox1->SetVisible(TheSeries->UseSeriesColor);
    String gallery = GetGallerySeriesName(TheSeries);
    // A "&" in the type's name is shown, not taken as an accelerator.
    if (const auto amp = gallery.find(u'&'); amp != String::npos)
        gallery = gallery.substr(0, amp + 1) + u'&' + gallery.substr(amp + 1);
    LabelSeriesClass->SetCaption(SeriesTitleOrName(TheSeries) + u": " + gallery);

    ImageSeries->SetVisible(true);
    PageSeries->SetVisible(true);
    TabGeneral->SetTabVisible(ShowTabGeneral);
    TabMarks->SetTabVisible(ShowTabMarks);
    const TChartSeriesStyle style = TheSeries->GetStyle();
    TabDataSource->SetTabVisible(ShowTabDataSource && !style.Contains(tssIsTemplate) &&
                                 !style.Contains(tssHideDataSource));
    GBHorizAxis->SetVisible(TheSeries->UseAxis());
    GBVertAxis->SetVisible(TheSeries->UseAxis());
    CBPersistent->SetVisible(DataSourceMode && !style.Contains(tssIsTemplate));
    if (CBPersistent->GetVisible()) CBPersistent->SetChecked(style.Contains(tssIsPersistent));

    DestroySeriesForms();
    if (const ClassInfo* editor = SeriesEditorForm(TheSeries)) {
        TheTabSheet->SetTabVisible(true);
        auto* form = static_cast<TCustomForm*>(editor->CreateComponent(this));
        AddToTab(form, TheTabSheet, TheSeries);
    } else {
        TheTabSheet->SetTabVisible(false);
    }

    TTabSheet* page = nullptr;
    for (int i = 0; i < PageSeries->GetPageCount() && !page; ++i) {
        TTabSheet* p = PageSeries->GetPage(i);
        if (p->GetTabVisible() && p->GetCaption() == activeCaption) page = p;
    }
    if (!page) page = TheTabSheet->GetTabVisible() ? TheTabSheet : TabGeneral;
    PageSeries->SetActivePage(page);
    CBDataSourcestyle->SetItemIndex(-1);
    PageSeriesChange(PageSeries);
    PaintBox1->Invalidate();
}

void TFormZuzSeries::DestroySeriesForms() {
    FreeControlsOf(TheTabSheet);
    for (int i = PageSeries->GetPageCount() - 1; i >= 0; --i) {
        TTabSheet* page = PageSeries->GetPage(i);
        if (page == TheTabSheet || page == TabGeneral || page == TabMarks || page == TabDataSource) continue;
        FreeControlsOf(page);
        // Tabs a type editor inserted go with it.
        if (i > 0 && !IsDestroying(page) && !IsDestroying(PageSeries)) page->Free();
    }
    if (FDataSourceForm && FDataSourceForm->CloseQuery()) {
        TCustomForm* form = FDataSourceForm;
        FDataSourceForm = nullptr;
        form->Free();
    }
}

// ---------------------------------------------------------------------------
// Tabs

void TFormZuzSeries::PageSeriesChanging(TObject* Sender, bool& AllowChange) {
    AllowChange = CheckCanClose();
    if (Sender != GetOwner()) Changing = AllowChange;
}

void TFormZuzSeries::PageSeriesChange(TObject*) {
    if (TheSeries) {
        TRestoreOnExit<bool> changing(Changing, true);
        TTabSheet* page = PageSeries->GetActivePage();
        if (page == TabGeneral)
            RefreshGeneral();
        else if (page == TabMarks)
            RefreshMarks();
        else if (page == TabDataSource)
            SetTabDataSource();
    }
    Changing = false;
}

void TFormZuzSeries::FillAxes() {
    TCustomChart* chart = ChartOf(TheSeries);
    FillAxis(CBHorizAxis->GetItems(), chart, true);
    FillAxis(CBVertAxis->GetItems(), chart, false);
}

void TFormZuzSeries::RefreshGeneral() {
    TChartSeries* s = TheSeries;
    CBShowInLegend->SetChecked(s->GetShowInLegend());
    CBDepth->SetChecked(s->GetDepth() == -1);
    UDDepth->SetPosition(s->GetDepth() == -1 ? 0 : s->GetDepth());

    TStrings* formats = CBFormat->GetItems();
    formats->Clear();
    // The box speaks the locale's notation, as its text is read back: in a locale with a decimal
    // comma "#,##0.###" chosen as it stands would turn into three decimals.
    AddDefaultValueFormats(formats);
    for (int i = 0; i < formats->GetCount(); ++i)
        formats->SetStrings(i, SarvikToLocalFormat(formats->GetStrings(i)));
    const String valueFormat = SarvikToLocalFormat(s->GetValueFormat());
    if (formats->IndexOf(valueFormat) < 0) formats->Add(valueFormat);
    CBFormat->SetItemIndex(formats->IndexOf(valueFormat));
    EPercentFormat->SetText(SarvikToLocalFormat(s->GetPercentFormat()));

    FillAxes();
    CBHorizAxis->SetItemIndex(AxisItem(CBHorizAxis, s->GetHorizAxis(), s->GetCustomHorizAxis(),
                                       s->GetHorizAxis() == aCustomHorizAxis));
    CBVertAxis->SetItemIndex(
        AxisItem(CBVertAxis, s->GetVertAxis(), s->GetCustomVertAxis(), s->GetVertAxis() == aCustomVertAxis));
    CBXDateTime->SetChecked(s->GetXValues()->GetDateTime());
    CBYDateTime->SetChecked(s->GetYValues()->GetDateTime());
    TChartValueList* z = FindZList(s);
    CBZDateTime->SetVisible(z != nullptr);
    if (z) CBZDateTime->SetChecked(z->GetDateTime());
    switch (s->NotMandatoryValueList()->GetOrder()) {
    case loAscending:
        CBSort->SetItemIndex(0);
        break;
    case loDescending:
        CBSort->SetItemIndex(1);
        break;
    default:
        CBSort->SetItemIndex(2);
        break;
    }
    const bool plain = s->ValuesList().Count() < 3;
    ShowControls(plain, {LSort, CBSort, LDepth, EDepth, UDDepth, CBDepth});
    ZuzFillCursors(CBCursor, s->GetCursor());
}

void TFormZuzSeries::CreateMarksForms(TSeriesMarks* Marks) {
    if (!FMarksShapeForm) {
        FMarksShapeForm = InsertZuzObjectForm(PageControlMarks, Marks);
        FMarksShapeForm->FreeNotification(this);
        PageControlMarks->SetActivePage(TabSheet1);
    }
    if (!FMarkSymbolsForm) {
        TFormZuzShape* form = TFormZuzShape::CreateForm(this, Marks->GetSymbol(), TabSymbol);
        form->FreeNotification(this);
        form->TabText->SetTabVisible(false);
        // The symbol takes the point's colour: its own colour button gives way to its visibility.
        form->BBackColor->SetVisible(false);
        FSymbolVisible = Create<TCheckBox>(form);
        FSymbolVisible->SetParent(form->BBackColor->GetParent());
        FSymbolVisible->SetBounds(form->BBackColor->GetLeft(), form->BBackColor->GetTop(),
                                  form->BBackColor->GetWidth(), form->BBackColor->GetHeight());
        FSymbolVisible->SetCaption(ZuzTranslateString(u"&Visible"));
        FSymbolVisible->OnClick.Bind([this](TObject* Sender) {
            if (FMarkSymbolsForm && !Filling && !Changing) FMarkSymbolsForm->CBVisibleChecked(Sender);
        });
        FMarkSymbolsForm = form;
    }
    if (!FMarginsForm) {
        FMarginsForm = Create<TMarginsEditor>(this);
        FMarginsForm->FreeNotification(this);
        AddFormTo(FMarginsForm, TabMargins, Marks->GetMargins());
    }
}

void TFormZuzSeries::RefreshMarks() {
    TSeriesMarks* marks = TheSeries->GetMarks();
    CreateMarksForms(marks);
    TMarksCallout* callout = marks->GetCallout();
    RGMarkStyle->SetItemIndex(marks->GetStyle());
    UDArrowsLength->SetPosition(callout->GetLength());
    UDArrowDist->SetPosition(callout->GetDistance());
    UDMarksAngle->SetPosition(marks->GetAngle());
    CBMarkClip->SetChecked(marks->GetClip());
    UDEvery->SetPosition(marks->GetDrawEvery());
    CBMultiLine->SetChecked(marks->GetMultiLine());
    CBMarksVisible->SetChecked(marks->GetVisible());
    BMarkLinCol->LinkPen(callout->GetArrow());
    CBHead->SetItemIndex(callout->GetArrowHead());
    UDHeadSize->SetPosition(callout->GetArrowHeadSize());
    CBTextAlign->SetItemIndex(marks->GetTextAlign());
    CBFontSeriesColor->SetChecked(marks->GetFontSeriesColor());
    RefreshAllVisible();
    CheckMultiLine();
    FMarginsForm->SetTag(reinterpret_cast<NativeInt>(static_cast<TObject*>(marks->GetMargins())));
    FMarginsForm->RefreshControls(marks->GetMargins());
    if (FMarksShapeForm) FMarksShapeForm->RefreshControls(marks);
    if (FMarkSymbolsForm) {
        FMarkSymbolsForm->RefreshControls(marks->GetSymbol());
        FSymbolVisible->SetChecked(marks->GetSymbol()->GetVisible());
    }
}

void TFormZuzSeries::CheckMultiLine() {
    CBMultiLine->SetEnabled(TwoPartStyle(RGMarkStyle->GetItemIndex()));
}

void TFormZuzSeries::RefreshAllVisible() {
    TRestoreOnExit<bool> changing(Changing, true);
    bool all = true;
    if (TCustomChart* chart = ChartOf(TheSeries))
        for (int i = 0; i < chart->SeriesCount(); ++i)
            all = all && chart->Series(i)->GetMarks()->GetVisible();
    CBAllVisible->SetChecked(all);
}

// ---------------------------------------------------------------------------
// "General"

void TFormZuzSeries::CBPersistentClick(TObject*) {
    if (!Writing()) return;
    TChartSeriesStyle style = TheSeries->GetStyle();
    if (CBPersistent->GetChecked())
        style.Include(tssIsPersistent);
    else
        style.Exclude(tssIsPersistent);
    TheSeries->SetStyle(style);
}

void TFormZuzSeries::CBShowInLegendClick(TObject*) {
    if (Writing()) TheSeries->SetShowInLegend(CBShowInLegend->GetChecked());
}

void TFormZuzSeries::CBCursorChange(TObject*) {
    if (Writing()) TheSeries->SetCursor(ZuzSetCursor(TheSeries->GetCursor(), CBCursor->GetText()));
}

void TFormZuzSeries::EDepthChange(TObject*) {
    if (!Writing()) return;
    TheSeries->SetDepth(UDDepth->GetPosition());
    CBDepth->SetChecked(false);
}

void TFormZuzSeries::CBDepthClick(TObject*) {
    if (Writing()) TheSeries->SetDepth(CBDepth->GetChecked() ? -1 : UDDepth->GetPosition());
}

void TFormZuzSeries::CBFormatChange(TObject*) {
    if (Writing()) TheSeries->SetValueFormat(LocalToSarvikFormat(CBFormat->GetText()));
}

bool TFormZuzSeries::EditFormatText(String& Format, bool IsDate) {
    const String edited = TFormatEditor::Change(this, Format, IsDate);
    if (edited == Format) return false;
    Format = edited;
    return true;
}

void TFormZuzSeries::Button1Click(TObject*) {
    if (!TheSeries) return;
    String format = CBFormat->GetText();
    if (!EditFormatText(format, TheSeries->MandatoryValueList()->GetDateTime())) return;
    CBFormat->SetText(format);
    CBFormatChange(CBFormat);
}

void TFormZuzSeries::EPercentFormatChange(TObject*) {
    if (Writing()) TheSeries->SetPercentFormat(LocalToSarvikFormat(EPercentFormat->GetText()));
}

void TFormZuzSeries::Button2Click(TObject*) {
    if (!TheSeries) return;
    String format = EPercentFormat->GetText();
    if (EditFormatText(format, false)) EPercentFormat->SetText(format);
}

void TFormZuzSeries::CBHorizAxisChange(TObject*) {
    if (!Writing()) return;
    const int index = CBHorizAxis->GetItemIndex();
    if (index < 0) return;
    if (index < 3) {
        TheSeries->SetHorizAxis(static_cast<THorizAxis>(index));
    } else {
        TheSeries->SetCustomHorizAxis(dynamic_cast<TChartAxis*>(CBHorizAxis->GetItems()->GetObjects(index)));
        TheSeries->SetHorizAxis(aCustomHorizAxis);
    }
}

void TFormZuzSeries::CBVertAxisChange(TObject*) {
    if (!Writing()) return;
    const int index = CBVertAxis->GetItemIndex();
    if (index < 0) return;
    if (index < 3) {
        TheSeries->SetVertAxis(static_cast<TVertAxis>(index));
    } else {
        TheSeries->SetCustomVertAxis(dynamic_cast<TChartAxis*>(CBVertAxis->GetItems()->GetObjects(index)));
        TheSeries->SetVertAxis(aCustomVertAxis);
    }
}

void TFormZuzSeries::CBXDateTimeClick(TObject*) {
    if (!Writing()) return;
    TheSeries->GetXValues()->SetDateTime(CBXDateTime->GetChecked());
    TheSeries->Repaint();
}

void TFormZuzSeries::CBYDateTimeClick(TObject*) {
    if (!Writing()) return;
    TheSeries->GetYValues()->SetDateTime(CBYDateTime->GetChecked());
    TheSeries->Repaint();
}

void TFormZuzSeries::CBZDateTimeClick(TObject*) {
    if (!Writing()) return;
    if (TChartValueList* z = FindZList(TheSeries)) {
        z->SetDateTime(CBZDateTime->GetChecked());
        TheSeries->Repaint();
    }
}

void TFormZuzSeries::CBSortChange(TObject*) {
    if (!Writing()) return;
    static constexpr TChartListOrder orders[] = {loAscending, loDescending, loNone};
    const int index = CBSort->GetItemIndex();
    if (index < 0 || index > 2) return;
    TheSeries->NotMandatoryValueList()->SetOrder(orders[index]);
    TheSeries->MandatoryValueList()->SetOrder(loNone);
    TheSeries->CheckOrder();
}

void TFormZuzSeries::CBShowInEditorClick(TObject*) {
    if (Writing()) TheSeries->SetShowInEditor(CBShowInEditor->GetChecked());
}

void TFormZuzSeries::PaintBox1Click(TObject*) {
    if (!TheSeries) return;
    TColor color = TheSeries->GetSeriesColor();
    if (!EditColorDialog(this, color)) return;
    TheSeries->SetSeriesColor(color);
    PaintBox1->Invalidate();
}

void TFormZuzSeries::PaintBox1Paint(TObject*) {
    if (!TheSeries) return;
    const TRect box(4, 6, PaintBox1->GetWidth() - 4, PaintBox1->GetHeight() - 6);
    TCustomChartLegend::PaintSeriesLegend(TheSeries, PaintBox1->GetCanvas(), box, ChartOf(TheSeries));
}

// ---------------------------------------------------------------------------
// "Marks"

void TFormZuzSeries::CBMarksVisibleClick(TObject*) {
    if (!Writing()) return;
    TheSeries->GetMarks()->SetVisible(CBMarksVisible->GetChecked());
    RefreshAllVisible();
}

void TFormZuzSeries::CBMarkClipClick(TObject*) {
    if (Writing()) TheSeries->GetMarks()->SetClip(CBMarkClip->GetChecked());
}

void TFormZuzSeries::CBMultiLineClick(TObject*) {
    if (Writing()) TheSeries->GetMarks()->SetMultiLine(CBMultiLine->GetChecked());
}

void TFormZuzSeries::CBFontSeriesColorClick(TObject*) {
    if (Writing()) TheSeries->GetMarks()->SetFontSeriesColor(CBFontSeriesColor->GetChecked());
}

void TFormZuzSeries::RGMarkStyleClick(TObject*) {
    if (!Writing() || RGMarkStyle->GetItemIndex() < 0) return;
    TheSeries->GetMarks()->SetStyle(static_cast<TSeriesMarksStyle>(RGMarkStyle->GetItemIndex()));
    CheckMultiLine();
}

void TFormZuzSeries::SEMarksAngleChange(TObject*) {
    if (Writing()) TheSeries->GetMarks()->SetAngle(UDMarksAngle->GetPosition());
}

void TFormZuzSeries::EMarksEveryChange(TObject*) {
    if (Writing()) TheSeries->GetMarks()->SetDrawEvery(UDEvery->GetPosition());
}

void TFormZuzSeries::CBTextAlignChange(TObject*) {
    if (Writing() && CBTextAlign->GetItemIndex() >= 0)
        TheSeries->GetMarks()->SetTextAlign(static_cast<TAlignment>(CBTextAlign->GetItemIndex()));
}

void TFormZuzSeries::CBAllVisibleClick(TObject*) {
    if (!Writing()) return;
    const bool visible = CBAllVisible->GetChecked();
    if (TCustomChart* chart = ChartOf(TheSeries))
        for (int i = 0; i < chart->SeriesCount(); ++i) chart->Series(i)->GetMarks()->SetVisible(visible);
    TRestoreOnExit<bool> changing(Changing, true);
    CBMarksVisible->SetChecked(TheSeries->GetMarks()->GetVisible());
}

void TFormZuzSeries::SEArrowLengthChange(TObject*) {
    if (Writing()) TheSeries->GetMarks()->GetCallout()->SetLength(UDArrowsLength->GetPosition());
}

void TFormZuzSeries::EArrowDistChange(TObject*) {
    if (Writing()) TheSeries->GetMarks()->GetCallout()->SetDistance(UDArrowDist->GetPosition());
}

void TFormZuzSeries::CBHeadChange(TObject*) {
    if (Writing() && CBHead->GetItemIndex() >= 0)
        TheSeries->GetMarks()->GetCallout()->SetArrowHead(
            static_cast<TArrowHeadStyle>(CBHead->GetItemIndex()));
}

void TFormZuzSeries::Edit1Change(TObject*) {
    if (Writing()) TheSeries->GetMarks()->GetCallout()->SetArrowHeadSize(UDHeadSize->GetPosition());
}

void TFormZuzSeries::BCalloutPointerClick(TObject*) {
    if (TheSeries) EditSeriesPointer(this, TheSeries->GetMarks()->GetCallout());
}

void TFormZuzSeries::PageControlMarksChange(TObject*) {
    if (FMarksShapeForm) FMarksShapeForm->PC1Change(PageControlMarks);
}

// ---------------------------------------------------------------------------
// "Data Source"

int TFormZuzSeries::DataSourceStyleOfSeries() const {
    if (TheSeries->GetFunction()) return dsFunction;
    TComponent* source = TheSeries->GetDataSource();
    if (!source) return TheSeries->Count() > 0 && !TheSeries->GetManualData() ? dsRandom : dsManual;
    if (dynamic_cast<TChartSeries*>(source)) return dsSeries;
    for (int i = dsFirstSource; i < CBDataSourcestyle->GetItems()->GetCount(); ++i)
        if (const ClassInfo* c = SourceClassOfStyle(i); c && source->ClassType().InheritsFrom(*c)) return i;
    return dsManual;
}

void TFormZuzSeries::SetTabDataSource() {
    const int style = DataSourceStyleOfSeries();
    if (style == CBDataSourcestyle->GetItemIndex()) return;
    CBDataSourcestyle->SetItemIndex(style);
    CreateDataSourceForm();
}

void TFormZuzSeries::CreateDataSourceForm() {
    TRestoreOnExit<bool> changing(Changing, true);
    if (FDataSourceForm) {
        TCustomForm* old = FDataSourceForm;
        FDataSourceForm = nullptr;
        old->Free();
    }
    ShowControls(false, {NewDataButton, EditDataButton, DeleteDataButton, ChartGrid1, ChartGridNavigator1,
                         PanelRandomSource, PanelSeriesSource});
    const int style = CBDataSourcestyle->GetItemIndex();
    const ClassInfo* formClass = nullptr;
    switch (style) {
    case dsManual:
        ChartGrid1->SetChart(ChartOf(TheSeries));
        ChartGrid1->SetSeries(TheSeries);
        ShowControls(true, {ChartGrid1, ChartGridNavigator1});
        return;
    case dsRandom: {
        PanelRandomSource->SetVisible(true);
        const int stored = TheSeries->SampleCount;
        ESamples->SetText(IntToStr(stored == 0 ? TheSeries->NumSampleValues() : stored));
        CheckCBSamples();
        BApplyRandom->SetEnabled(!CBSamplesDefault->GetChecked());
        return;
    }
    case dsSeries: {
        PanelSeriesSource->SetVisible(true);
        TStrings* items = CBSeriesSource->GetItems();
        items->Clear();
        TStringList unused;
        FillSeriesSources(&unused, items, TheSeries, true);
        CBSeriesSource->SetItemIndex(items->IndexOfObject(TheSeries->GetDataSource()));
        BClearSource->SetEnabled(CBSeriesSource->GetItemIndex() >= 0);
        BApplySource->SetEnabled(false);
        return;
    }
    case dsFunction:
        formClass = FormClassNamed(u"TZuzFuncEditor");
        break;
    default:
        if (const ClassInfo* source = SourceClassOfStyle(style)) {
            formClass = FormClassNamed(TZuzSeriesSource::Editor(*source));
            const bool buttons = TZuzSeriesSource::HasNew(*source);
            ShowControls(buttons, {NewDataButton, EditDataButton, DeleteDataButton});
        }
        break;
    }
    if (!formClass) return;
    FDataSourceForm = static_cast<TCustomForm*>(formClass->CreateComponent(this));
    FDataSourceForm->FreeNotification(this);
    FDataSourceForm->SetAlign(alClient);
    AddFormTo(FDataSourceForm, Panel2, TheSeries);
    // Shown again once the loop turns, so the embedded form is laid out in its tab.
    DeferCall(this, [this] {
        if (PageSeries->GetActivePage() != TabDataSource) return;
        PageSeries->SetActivePage(nullptr);
        PageSeries->SetActivePage(TabDataSource);
    });
}

void TFormZuzSeries::Timer1Timer(TObject*) {
    Timer1->SetEnabled(false);
    PageSeries->SetActivePage(nullptr);
    PageSeries->SetActivePage(TabDataSource);
}

void TFormZuzSeries::CBDataSourcestyleChange(TObject*) {
    if (!Writing()) return;
    if (FDataSourceForm)
        if (auto* apply = dynamic_cast<TControl*>(FDataSourceForm->FindComponent(u"BApply")))
            apply->SetEnabled(false);
    const int style = CBDataSourcestyle->GetItemIndex();
    if (style == dsManual || style == dsRandom) {
        auto* source = dynamic_cast<TZuzSeriesSource*>(TheSeries->GetDataSource());
        if (source && source->GetOwner() == TheSeries) {
            TheSeries->SetDataSource(nullptr);
            source->Free();
            TheSeries->Clear();
        }
        if (style == dsManual) TheSeries->SetManualData(true);
    }
    CreateDataSourceForm();
}

void TFormZuzSeries::CheckCBSamples() {
    TRestoreOnExit<bool> changing(Changing, true);
    const int stored = TheSeries->SampleCount;
    CBSamplesDefault->SetChecked(stored == 0 || stored == TheSeries->NumSampleValues());
}

void TFormZuzSeries::ESamplesChange(TObject*) {
    if (!Writing()) return;
    TheSeries->SampleCount = std::max(0, StrToIntDef(ESamples->GetText(), 0));
    CheckCBSamples();
    BApplyRandom->SetEnabled(true);
}

void TFormZuzSeries::CBSamplesDefaultClick(TObject*) {
    if (!Writing() || !CBSamplesDefault->GetChecked()) return;
    ESamples->SetText(IntToStr(TheSeries->NumSampleValues()));
    BApplyRandom->SetEnabled(false);
}

void TFormZuzSeries::BApplyRandomClick(TObject*) {
    if (!TheSeries) return;
    TheSeries->SetDataSource(nullptr);
    TheSeries->FillSampleValues(TheSeries->SampleCount);
}

void TFormZuzSeries::Button3Click(TObject*) {
    if (!TheSeries) return;
    TheSeries->Clear();
    CBDataSourcestyle->SetItemIndex(dsManual);
    CBDataSourcestyleChange(CBDataSourcestyle);
}

void TFormZuzSeries::CBSeriesSourceChange(TObject*) {
    BApplySource->SetEnabled(true);
}

void TFormZuzSeries::BApplySourceClick(TObject*) {
    if (!TheSeries) return;
    const int index = CBSeriesSource->GetItemIndex();
    TheSeries->SetDataSource(
        index >= 0 ? dynamic_cast<TComponent*>(CBSeriesSource->GetItems()->GetObjects(index)) : nullptr);
    BApplySource->SetEnabled(false);
    BClearSource->SetEnabled(index >= 0);
}

void TFormZuzSeries::BClearSourceClick(TObject*) {
    CBSeriesSource->SetItemIndex(-1);
    BApplySourceClick(BClearSource);
}

void TFormZuzSeries::ChartGrid1SetEditText(TObject*, int, int, const String&) {
    if (TChartSeries* s = ChartGrid1->GetSeries()) s->RefreshSeries();
}

// ---------------------------------------------------------------------------
// Free functions

const ClassInfo* SeriesEditorForm(TChartSeries* Series) {
    return Series ? FormClassNamed(Series->EditorClass()) : nullptr;
}

void TFormZuzSeries::AddToTab(TCustomForm* Form, TTabSheet* Tab, TObject* Object) {
    ZuzEmbedInPage(Form, Tab, Object);
}

TCustomForm* TFormZuzSeries::InsertSeriesForm(TControl* Control, const ClassInfo& FormClass, int Index,
                                              const String& Caption, TObject* Object) {
    if (auto* page = dynamic_cast<TFormZuzSeries*>(Control->GetOwner()))
        return ZuzInsertPage(page->PageSeries, FormClass, Index, Caption, Object);
    return ZuzInsertSeriesForm(Control, FormClass, Index, Caption, Object);
}

void EditSeriesDialog(TComponent* AOwner, TChartSeries* Series) {
    TFormFreer<TFormZuzSeries> form(ZuzCreateForm<TFormZuzSeries>(AOwner));
    ZuzTranslateControl(form.get());
    form->SetBorderIcons({biSystemMenu});
    form->SetBorderStyle(bsSizeable);
    form->SetScaled(false);
    form->SetCaption(Format(VavIve_Editing, {Series->GetName()}));
    form->SetTag(reinterpret_cast<NativeInt>(static_cast<TObject*>(Series)));
    form->Panel1->SetVisible(false);
    form->ShowTabDataSource = false;
    form->TheSeries = Series;
    form->CBSeries->GetItems()->AddObject(Series->GetName(), Series);
    form->CBSeries->SetItemIndex(0);
    form->CBSeriesChange(form->CBSeries);
    form->ShowModal();
}
