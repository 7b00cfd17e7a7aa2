#include "tests/fuzz/samplechart.h"

#include "chart/canvas/zuzfilters.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/charttitle.h"
#include "chart/engine/seriesmarks.h"
#include "chart/engine/seriestypes.h"
#include "chart/series/series.h"
#include "chart/series/series_bar.h"
#include "tests/fuzz/fuzzing.h"

Owned<TChart> SampleChart() {
    Owned<TChart> chart(Create<TChart>(nullptr));
    chart->SetBounds(0, 0, 320, 240);
    chart->GetTitle()->SetTextFormat(ttfHtml);
    chart->GetTitle()->GetText()->Add(u"<b>Расход</b> <font size=+2 color=#FF0000>м<sup>3</sup></font><br>");
    chart->GetTitle()->SetBevel(bvRaised);
    TChartLegend* legend = chart->GetLegend();
    legend->SetBevel(bvLowered);
    legend->SetBevelWidth(3);
    legend->SetCustomPosition(true);
    legend->SetPositionUnits(muPercent);
    legend->SetLeftPercent(60);
    legend->SetTopPercent(20);
    chart->GetGradient()->SetVisible(true);
    TBackImage* back = chart->GetBackImage();
    TBitmap bitmap;
    bitmap.SetSize(6, 4);
    bitmap.GetCanvas()->FillRect(TRect(0, 0, 3, 4));
    back->SetGraphic(&bitmap);
    back->GetFilters()->Add(TBlurFilter::StaticClass());
    back->GetFilters()->Add(TMirrorFilter::StaticClass());
    TChartSeries* bars = CreateNewSeries(chart.get(), chart.get(), &TBarSeries::StaticClass());
    bars->FillSampleValues(5);
    bars->GetMarks()->SetVisible(true);
    bars->GetMarks()->SetBevel(bvRaised);
    CreateNewSeries(chart.get(), chart.get(), &TLineSeries::StaticClass())->FillSampleValues(5);
    return chart;
}

std::string SampleChartMetafile() {
    const auto chart = SampleChart();
    TMetafile metafile;
    {
        TMetafileCanvas canvas(&metafile, nullptr);
        chart->Draw(&canvas, TRect(0, 0, 320, 240));
    }
    TMemoryStream s;
    metafile.SaveToStream(&s);
    return fuzz::Bytes(s);
}
