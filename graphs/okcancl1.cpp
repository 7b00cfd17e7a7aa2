#include "graphs/okcancl1.h"

#include "chart/engine/chart.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/seriesmarks.h"
#include "chart/engine/seriespointer.h"
#include "chart/series/series.h"
#include "platform/core/sysutils.h"

#include <charconv>
#include <cmath>

TGraphSettings* GraphSettings = nullptr;

namespace {

const String kSecondsFallback = u"25";

// A number as the operator may type it: with the locale's decimal separator
// or with the other of "." and ",".
bool ReadNumber(const String& Text, double& Value) {
    Extended v = 0;
    if (TryStrToFloat(Text, v)) {
        Value = v;
        return true;
    }
    String swapped = Text;
    for (char16_t& c : swapped) {
        if (c == u'.')
            c = u',';
        else if (c == u',')
            c = u'.';
    }
    if (!TryStrToFloat(swapped, v)) return false;
    Value = v;
    return true;
}

// The visible seconds as the edit's exit leaves them: an empty, unreadable or
// too short time becomes 25 s.
String NormalSeconds(const String& Text) {
    double v = 0;
    if (Text.empty() || !ReadNumber(Text, v) || v < 3) return kSecondsFallback;
    return Text;
}

// A Y limit is kept as a 32-bit float: it is shown as the shortest number that float holds,
// so a limit typed as 30.1 comes back as 30.1, not as 30.1000003814697.
String LimitText(float Value) {
    char text[32];
    double shortest = Value;
    const auto written = std::to_chars(text, text + sizeof text, Value);
    if (written.ec == std::errc{}) std::from_chars(text, written.ptr, shortest);
    return FloatToStr(shortest);
}

bool NumberKey(Char Key) {
    return (Key >= u'0' && Key <= u'9') || Key == u'-' || Key == u',' || Key == u'.' || Key == 8;
}

} // namespace

const ClassInfo& TGraphSettings::StaticClass() {
    using G = TGraphSettings;
    static const MethodInfo methods[] = {
        MakeMethod<&G::FormCreate>("FormCreate"),
        MakeMethod<&G::FormActivate>("FormActivate"),
        MakeMethod<&G::PageControlGraphChange>("PageControlGraphChange"),
        MakeMethod<&G::CheckListBoxValueClick>("CheckListBoxValueClick"),
        MakeMethod<&G::CheckListBoxValueClickCheck>("CheckListBoxValueClickCheck"),
        MakeMethod<&G::ColorBoxChange>("ColorBoxChange"),
        MakeMethod<&G::ComboBoxLineWidthChange>("ComboBoxLineWidthChange"),
        MakeMethod<&G::ComboBoxExChange>("ComboBoxExChange"),
        MakeMethod<&G::ComboBoxExKeyPress>("ComboBoxExKeyPress"),
        MakeMethod<&G::CheckBoxLegendClick>("CheckBoxLegendClick"),
        MakeMethod<&G::CheckBoxPointeShowClick>("CheckBoxPointeShowClick"),
        MakeMethod<&G::CheckBoxAutoXClick>("CheckBoxAutoXClick"),
        MakeMethod<&G::EditXvalueCountExit>("EditXvalueCountExit"),
        MakeMethod<&G::CheckBox2Click>("CheckBox2Click"),
        MakeMethod<&G::EditYmaxExit>("EditYmaxExit"),
        MakeMethod<&G::EditYmaxKeyPress>("EditYmaxKeyPress"),
        MakeMethod<&G::EditYminExit>("EditYminExit"),
        MakeMethod<&G::EditYminKeyPress>("EditYminKeyPress"),
        MakeMethod<&G::ApplayClick>("ApplayClick"),
        MakeMethod<&G::OKBtnClick>("OKBtnClick"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TGraphSettings>("TGraphSettings", &TForm::StaticClass(), methods);
    return ci;
}

void TGraphSettings::BindComponents() {
    Bind(PageControlGraph, u"PageControlGraph");
    Bind(ValueSelect, u"ValueSelect");
    Bind(Label13, u"Label13");
    Bind(CheckListBoxValue, u"CheckListBoxValue");
    Bind(GroupBox4, u"GroupBox4");
    Bind(Label2, u"Label2");
    Bind(ColorBox, u"ColorBox");
    Bind(Label4, u"Label4");
    Bind(ComboBoxLineWidth, u"ComboBoxLineWidth");
    Bind(Label7, u"Label7");
    Bind(ComboBoxEx, u"ComboBoxEx");
    Bind(CheckBoxLegend, u"CheckBoxLegend");
    Bind(CheckBoxPointeShow, u"CheckBoxPointeShow");
    Bind(GraphSet, u"GraphSet");
    Bind(Label11, u"Label11");
    Bind(EditGraphName, u"EditGraphName");
    Bind(Label3, u"Label3");
    Bind(ColorBoxGrBckGr, u"ColorBoxGrBckGr");
    Bind(Label9, u"Label9");
    Bind(ColorBoxText, u"ColorBoxText");
    Bind(CheckBoxShowLegend, u"CheckBoxShowLegend");
    Bind(CheckBoxLabel90Rotate, u"CheckBoxLabel90Rotate");
    Bind(RadioGroupX, u"RadioGroupX");
    Bind(GroupBox1, u"GroupBox1");
    Bind(GroupBox2, u"GroupBox2");
    Bind(CheckBoxAutoX, u"CheckBoxAutoX");
    Bind(Label8, u"Label8");
    Bind(EditXvalueCount, u"EditXvalueCount");
    Bind(GroupBox3, u"GroupBox3");
    Bind(CheckBox2, u"CheckBox2");
    Bind(Label5, u"Label5");
    Bind(EditYmax, u"EditYmax");
    Bind(Label6, u"Label6");
    Bind(EditYmin, u"EditYmin");
    Bind(Applay, u"Applay");
    Bind(OKBtn, u"OKBtn");
    Bind(StatusBar1, u"StatusBar1");
    Bind(ImageListLines, u"ImageListLines");
}

void TGraphSettings::FormCreate(TObject* Sender) {
    ComboBoxEx->SetItemIndex(0);
}

void TGraphSettings::FormActivate(TObject* Sender) {
    if (fBackFromBox) {
        fBackFromBox = false;
        return;
    }
    GraphRecord* G = Graph();
    if (!G) return;
    SetCaption(u"Настройки - " + G->graphCaption);
    EditGraphName->SetText(G->graphCaption);
    PageControlGraphChange(PageControlGraph);
    fFilling = true;
    TStrings* items = CheckListBoxValue->GetItems();
    for (int i = 0; i < items->GetCount(); ++i) CheckListBoxValue->SetChecked(i, false);
    for (int i = 1; i <= G->seriesCount; ++i) {
        const int item = G->seriesRecords[i].valueColumn - 1;
        if (item >= 0 && item < items->GetCount()) CheckListBoxValue->SetChecked(item, true);
    }
    if (items->GetCount() > 0) {
        CheckListBoxValue->SetItemIndex(0);
        CheckListBoxValueClick(CheckListBoxValue);
    } else {
        EnableLineControls(false);
    }
    fFilling = false;
    ColorBoxGrBckGr->SetSelected(G->graphChart->GetColor());
    ColorBoxText->SetSelected(G->textColor);
    SetGraphLegend(G->graphChart, G->legendVisible);
    CheckBoxShowLegend->SetChecked(G->legendVisible);
    G->graphChart->GetBottomAxis()->SetLabelsAngle(G->labelsRotated ? 90 : 0);
    CheckBoxLabel90Rotate->SetChecked(G->labelsRotated);
    for (TControl* c : std::initializer_list<TControl*>{Label5, EditYmax, Label6, EditYmin})
        c->SetEnabled(!G->autoY);
    G->graphChart->GetLeftAxis()->SetAutomatic(G->autoY);
    CheckBox2->SetChecked(G->autoY);
    EditYmax->SetText(LimitText(G->yMax));
    EditYmin->SetText(LimitText(G->yMin));
    EditXvalueCount->SetText(FloatToStr(G->visibleSeconds));
    CheckBoxAutoX->SetChecked(G->autoX);
    EditXvalueCount->SetEnabled(!G->autoX);
    Label8->SetEnabled(!G->autoX);
    TStrings* formats = RadioGroupX->GetItems();
    for (int i = 0; i < formats->GetCount(); ++i)
        if (formats->GetStrings(i) == G->timeFormat) RadioGroupX->SetItemIndex(i);
    fActivated = true;
}

void TGraphSettings::PageControlGraphChange(TObject* Sender) {
    Applay->SetVisible(PageControlGraph->GetActivePageIndex() != 0);
}

SeriesRecord* TGraphSettings::SelectedRecord() {
    selectedSeries = 0;
    GraphRecord* G = Graph();
    const int item = CheckListBoxValue->GetItemIndex();
    if (!G || item < 0) return nullptr;
    for (int i = 1; i <= G->seriesCount; ++i)
        if (G->seriesRecords[i].valueColumn == item + 1) selectedSeries = i;
    StatusBar1->GetPanels()->GetItem(0)->SetText(IntToStr(selectedSeries));
    if (selectedSeries == 0 || !CheckListBoxValue->GetChecked(item)) return nullptr;
    return &G->seriesRecords[selectedSeries];
}

void TGraphSettings::EnableLineControls(bool Enabled) {
    for (TControl* c : std::initializer_list<TControl*>{ColorBox, ComboBoxLineWidth, ComboBoxEx,
                                                        CheckBoxLegend, CheckBoxPointeShow})
        c->SetEnabled(Enabled);
}

void TGraphSettings::CheckListBoxValueClick(TObject* Sender) {
    const SeriesRecord* S = SelectedRecord();
    EnableLineControls(S != nullptr);
    if (!S) return;
    ColorBox->SetSelected(S->seriesColor);
    ComboBoxLineWidth->SetItemIndex(S->penWidth - 1);
    ComboBoxEx->SetItemIndex(PenStyleIndex(*S));
    CheckBoxLegend->SetChecked(S->marksVisible);
    CheckBoxPointeShow->SetChecked(S->pointerVisible);
}

void TGraphSettings::ErrorBox(const String& Text) {
    MessageBeep(MB_ICONEXCLAMATION);
    Application->MessageBox(Text, GetCaption(), MB_OK | MB_ICONERROR);
    // The box has taken the activation from a showing dialog; getting it back is no new opening.
    fBackFromBox = GetShowing();
}

void TGraphSettings::DoHide() {
    fBackFromBox = false;
    TForm::DoHide();
}

void TGraphSettings::CheckListBoxValueClickCheck(TObject* Sender) {
    if (fFilling) return;
    GraphRecord* G = Graph();
    const int k = CheckListBoxValue->GetItemIndex();
    if (!G || k < 0) return;
    StatusBar1->GetPanels()->GetItem(3)->SetText(u"ValueIndex" + IntToStr(k + 1));
    if (CheckListBoxValue->GetChecked(k)) {
        // A column is shown once: a second tick of a shown column changes nothing.
        for (int i = 1; i <= G->seriesCount; ++i)
            if (G->seriesRecords[i].valueColumn == k + 1) return;
        if (G->seriesCount >= MaxGraphSeries) {
            ErrorBox(u"Максимальное число графиков значений равно тридцати!");
            CheckListBoxValue->SetChecked(k, false);
            return;
        }
        TChartSeries* source = GraphHost->ColumnSeries(k);
        const int n = ++G->seriesCount;
        SeriesRecord& S = G->seriesRecords[n];
        S.lineSeries = Create<TLineSeries>(G->graphChart);
        if (source) S.lineSeries->Assign(source);
        S.lineSeries->SetActive(true);
        S.lineSeries->GetXValues()->SetDateTime(true);
        S.lineSeries->SetTreatNulls(tnDontPaint);
        S.valueColumn = k + 1;
        StatusBar1->GetPanels()->GetItem(4)->SetText(IntToStr(S.valueColumn));
        S.lineSeries->SetTitle(GraphHost->ColumnHeader(k + 1));
        S.penWidth = StrToIntDef(ComboBoxLineWidth->GetText(), 2);
        S.lineSeries->GetPen()->SetWidth(S.penWidth);
        ApplyPenStyle(S, ComboBoxEx->GetItemIndex());
        S.lineSeries->GetMarks()->SetStyle(smsValue);
        S.marksVisible = CheckBoxLegend->GetChecked();
        S.lineSeries->GetMarks()->SetVisible(S.marksVisible);
        S.lineSeries->GetPointer()->SetHorizSize(3);
        S.lineSeries->GetPointer()->SetVertSize(3);
        S.pointerVisible = CheckBoxPointeShow->GetChecked();
        S.lineSeries->GetPointer()->SetVisible(S.pointerVisible);
        G->graphChart->AddSeries(S.lineSeries);
        S.seriesColor = S.lineSeries->GetSeriesColor();
        ColorBox->SetSelected(S.seriesColor);
        CheckListBoxValueClick(CheckListBoxValue);
        return;
    }
    for (int i = 1; i <= G->seriesCount; ++i) {
        if (G->seriesRecords[i].valueColumn != k + 1) continue;
        G->seriesRecords[i].lineSeries->Free();
        StatusBar1->GetPanels()->GetItem(5)->SetText(IntToStr(k + 1));
        for (int j = i; j < G->seriesCount; ++j)
            CopySeriesRecord(G->seriesRecords[j], G->seriesRecords[j + 1]);
        G->ResetSeries(G->seriesCount);
        --G->seriesCount;
        break;
    }
    EnableLineControls(false);
}

void TGraphSettings::ColorBoxChange(TObject* Sender) {
    SeriesRecord* S = SelectedRecord();
    if (!S) return;
    S->lineSeries->SetSeriesColor(ColorBox->GetSelected());
    S->seriesColor = ColorBox->GetSelected();
}

void TGraphSettings::ComboBoxLineWidthChange(TObject* Sender) {
    SeriesRecord* S = SelectedRecord();
    if (!S) return;
    S->penWidth = StrToIntDef(ComboBoxLineWidth->GetText(), S->penWidth);
    S->lineSeries->GetPen()->SetWidth(S->penWidth);
}

void TGraphSettings::ComboBoxExChange(TObject* Sender) {
    SeriesRecord* S = SelectedRecord();
    if (S) ApplyPenStyle(*S, ComboBoxEx->GetItemIndex());
}

// The style is chosen from the list only.
void TGraphSettings::ComboBoxExKeyPress(TObject* Sender, Char& Key) {
    Key = 0;
}

void TGraphSettings::CheckBoxLegendClick(TObject* Sender) {
    SeriesRecord* S = SelectedRecord();
    if (!S) return;
    S->marksVisible = CheckBoxLegend->GetChecked();
    if (S->marksVisible) S->lineSeries->GetMarks()->SetStyle(smsValue);
    S->lineSeries->GetMarks()->SetVisible(S->marksVisible);
}

void TGraphSettings::CheckBoxPointeShowClick(TObject* Sender) {
    SeriesRecord* S = SelectedRecord();
    if (!S) return;
    S->pointerVisible = CheckBoxPointeShow->GetChecked();
    S->lineSeries->GetPointer()->SetVisible(S->pointerVisible);
}

void TGraphSettings::CheckBoxAutoXClick(TObject* Sender) {
    EditXvalueCount->SetEnabled(!CheckBoxAutoX->GetChecked());
    Label8->SetEnabled(!CheckBoxAutoX->GetChecked());
}

void TGraphSettings::CheckBox2Click(TObject* Sender) {
    for (TControl* c : std::initializer_list<TControl*>{Label5, EditYmax, Label6, EditYmin})
        c->SetEnabled(!CheckBox2->GetChecked());
}

void TGraphSettings::EditXvalueCountExit(TObject* Sender) {
    EditXvalueCount->SetText(NormalSeconds(EditXvalueCount->GetText()));
}

void TGraphSettings::CheckYLimit(TEdit* Edit, float Stored) {
    double value = 0, ymax = 0, ymin = 0;
    if (!ReadNumber(Edit->GetText(), value)) {
        ErrorBox(u"Неверный формат данных");
        Edit->SetText(LimitText(Stored));
        return;
    }
    // The other edit may hold anything typed or pasted: compare only two numbers.
    if (ReadNumber(EditYmax->GetText(), ymax) && ReadNumber(EditYmin->GetText(), ymin) && ymax < ymin) {
        ErrorBox(u"Xmax<Xmin");
        Edit->SetText(LimitText(Stored));
    }
}

void TGraphSettings::EditYmaxExit(TObject* Sender) {
    GraphRecord* G = Graph();
    if (fActivated && G) CheckYLimit(EditYmax, G->yMax);
}

void TGraphSettings::EditYminExit(TObject* Sender) {
    GraphRecord* G = Graph();
    if (fActivated && G) CheckYLimit(EditYmin, G->yMin);
}

void TGraphSettings::EditYmaxKeyPress(TObject* Sender, Char& Key) {
    if (!NumberKey(Key)) Key = 0;
}

void TGraphSettings::EditYminKeyPress(TObject* Sender, Char& Key) {
    if (!NumberKey(Key)) Key = 0;
}

bool TGraphSettings::SecondPageValid() {
    GraphRecord* G = Graph();
    // The visible time is put right as its edit's exit does, without a message.
    EditXvalueCount->SetText(NormalSeconds(EditXvalueCount->GetText()));
    if (CheckBox2->GetChecked()) return true;
    double ymax = 0, ymin = 0;
    for (const auto& [edit, stored] : {std::pair{EditYmax, G->yMax}, std::pair{EditYmin, G->yMin}}) {
        double v = 0;
        if (!ReadNumber(edit->GetText(), v)) {
            ErrorBox(u"Неверный формат данных");
            edit->SetText(LimitText(stored));
            return false;
        }
    }
    ReadNumber(EditYmax->GetText(), ymax);
    ReadNumber(EditYmin->GetText(), ymin);
    if (ymax < ymin) {
        ErrorBox(u"Xmax<Xmin");
        EditYmax->SetText(LimitText(G->yMax));
        return false;
    }
    return true;
}

void TGraphSettings::ApplayClick(TObject* Sender) {
    GraphRecord* G = Graph();
    if (!G || !SecondPageValid()) return;
    TChart* chart = G->graphChart;
    TChartAxis* bottom = chart->GetBottomAxis();
    TChartAxis* left = chart->GetLeftAxis();
    double seconds = 0;
    ReadNumber(EditXvalueCount->GetText(), seconds);
    G->visibleSeconds = seconds;
    G->autoX = CheckBoxAutoX->GetChecked();
    if (G->autoX) {
        bottom->SetAutomatic(true);
        G->graphScrollBar->SetVisible(false);
    } else {
        TScrollBar* bar = G->graphScrollBar;
        const double w = G->visibleSeconds / 86400;
        const double first = chart->MinXValue(bottom);
        const double span = chart->MaxXValue(bottom) - first;
        if (w > span) {
            bar->SetVisible(false);
            bottom->SetAutomatic(true);
        } else {
            bar->SetVisible(true);
            bottom->SetAutomatic(false);
            if (bottom->GetMaximum() - w >= first) {
                bottom->SetMinimum(bottom->GetMaximum() - w);
            } else {
                bottom->SetMinMax(first, first + w);
            }
            // The whole range at once: a bar whose new Max is below its old Min
            // must not refuse it half way.
            const TScrollRange range = TimeScrollRange(span, G->visibleSeconds);
            const bool unchanged = bar->GetPosition() == range.Max;
            bar->SetParams(range.Max, range.Min, range.Max);
            // The window follows the bar also when the bar was already at its end.
            if (unchanged && bar->OnChange) bar->OnChange(bar);
        }
        G->graphStatusBar->GetPanels()->GetItem(0)->SetText(IntToStr(bar->GetMin()));
        G->graphStatusBar->GetPanels()->GetItem(3)->SetText(IntToStr(bar->GetPageSize()));
    }
    G->autoY = CheckBox2->GetChecked();
    if (G->autoY) {
        left->SetAutomatic(true);
    } else {
        left->SetAutomatic(false);
        double ymax = 0, ymin = 0;
        ReadNumber(EditYmax->GetText(), ymax);
        ReadNumber(EditYmin->GetText(), ymin);
        // Never let the minimum pass the maximum on the way.
        left->SetMinMax(ymin, ymax);
        G->yMin = static_cast<float>(left->GetMinimum());
        G->yMax = static_cast<float>(left->GetMaximum());
    }
    const int format = RadioGroupX->GetItemIndex();
    if (format >= 0 && format < RadioGroupX->GetItems()->GetCount()) {
        G->timeFormat = RadioGroupX->GetItems()->GetStrings(format);
        bottom->SetDateTimeFormat(G->timeFormat);
    }
    G->labelsRotated = CheckBoxLabel90Rotate->GetChecked();
    bottom->SetLabelsAngle(G->labelsRotated ? 90 : 0);
    G->legendVisible = CheckBoxShowLegend->GetChecked();
    SetGraphLegend(chart, G->legendVisible);
    G->backColor = ColorBoxGrBckGr->GetSelected();
    chart->SetColor(G->backColor);
    G->textColor = ColorBoxText->GetSelected();
    SetGraphTextColor(chart, G->textColor);
    G->graphCaption = EditGraphName->GetText();
    G->graphForm->SetCaption(G->graphCaption);
    SetCaption(u"Настройки - " + G->graphCaption);
}

void TGraphSettings::OKBtnClick(TObject* Sender) {
    ApplayClick(Applay);
}
