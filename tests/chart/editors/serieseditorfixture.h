#pragma once
// What the series-type editors' tests share: a chart on the left of
// a window and, on its right, a panel that holds an editor embedded for one series, as the
// series page holds it.

#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzpendlg.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "tests/chart/editors/dialogfixture.h"
#include "tests/chart/editors/editorfixture.h"
#include "tests/chart/editors/modaldriver.h"

class SeriesEditorTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        form->SetBounds(20, 20, 760, 360);
        host = Create<TPanel>(form.get());
        host->SetParent(form.get());
        host->SetAlign(alRight);
        host->SetWidth(340);
        for (int i = chart->SeriesCount() - 1; i >= 0; --i) chart->GetSeries(i)->Free();
        form->Show(); // an embedded form loads its series when it comes on screen
        savedSettings = FormatSettings;
    }
    void TearDown() override {
        FormatSettings = savedSettings;
        DialogTest::TearDown();
    }
    // Numbers are shown and read as in the machine's locale named SystemName.
    void UseLocale(const char* SystemName) { FormatSettings = editortest::LocaleSettings(SystemName); }
    // A series of type S on the chart with N sample points.
    template <class S>
    S* AddSeries(int N = 6) {
        auto* series = Create<S>(form.get());
        series->SetParentChart(chart);
        if (N > 0) series->FillSampleValues(N);
        return series;
    }
    // The editor E embedded in the host panel for Series, shown.
    template <class E>
    E* Embed(TChartSeries* Series) {
        auto* editor = Create<E>(form.get());
        AddFormTo(editor, host, Series);
        probe::ProcessEvents();
        return editor;
    }
    // The editor E embedded on the first of a page control's pages, as the series page holds it,
    // so that the pages it adds go beside it.
    template <class E>
    E* EmbedInPages(TChartSeries* Series) {
        pages = Create<TPageControl>(form.get());
        pages->SetParent(host);
        pages->SetAlign(alClient);
        auto* format = Create<TTabSheet>(form.get());
        format->SetCaption(u"Format");
        format->SetPageControl(pages);
        auto* editor = Create<E>(form.get());
        AddFormTo(editor, format, Series);
        probe::ProcessEvents();
        return editor;
    }
    // Leaves the first page for each other page and comes back, showing its editor again.
    void VisitEveryPage() {
        for (int i = 1; i < pages->GetPageCount(); ++i) {
            pages->SetActivePageIndex(i);
            probe::ProcessEvents();
            pages->SetActivePageIndex(0);
            probe::ProcessEvents();
        }
    }
    // The captions of the page control's pages, in order.
    std::vector<String> PageCaptions() const {
        std::vector<String> captions;
        for (int i = 0; i < pages->GetPageCount(); ++i) captions.push_back(pages->GetPage(i)->GetCaption());
        return captions;
    }

    // Shows the editor again, as a series page does when its tab comes back.
    static void ShowAgain(TCustomForm* Editor) {
        Editor->Hide();
        Editor->Show();
        probe::ProcessEvents();
    }

    TPanel* host = nullptr;
    TPageControl* pages = nullptr;
    TFormatSettings savedSettings;
};
