// Pictures of the series-type pages beside a chart of their series, for a person to look at.
#include "chart/editors/zuzareaedit.h"
#include "chart/editors/zuzarrowedi.h"
#include "chart/editors/zuzcirclededit.h"
#include "chart/editors/zuzcustedit.h"
#include "chart/editors/zuzflineedi.h"
#include "chart/editors/zuzganttedi.h"
#include "chart/editors/zuzshapeedi.h"
#include "chart/series/arrowcha.h"
#include "chart/series/ganttch.h"
#include "chart/series/series.h"
#include "chart/series/series_area.h"
#include "chart/series/series_pie.h"
#include "chart/series/zuzshape.h"
#include "tests/chart/editors/serieseditorfixture.h"

namespace {

using SeriesEditorPictures = SeriesEditorTest;

TEST_F(SeriesEditorPictures, EachPageBesideItsChart) {
    const auto picture = [&](TChartSeries* Series, TCustomForm* Editor, const char* Name) {
        SavePicture(*form.get(), Name);
        Editor->Free();
        Series->Free();
    };
    {
        auto* s = AddSeries<TLineSeries>(24);
        s->SetTitle(u"Температура, °C");
        picture(s, Embed<TCustomSeriesEditor>(s), "line-editor.png");
    }
    {
        auto* s = AddSeries<TFastLineSeries>(100);
        picture(s, Embed<TFastLineSeriesEditor>(s), "fastline-editor.png");
    }
    {
        auto* s = AddSeries<TAreaSeries>(12);
        picture(s, Embed<TAreaSeriesEditor>(s), "area-editor.png");
    }
    {
        auto* s = AddSeries<TPieSeries>();
        picture(s, Embed<TCircledSeriesEditor>(s), "circled-editor.png");
    }
    {
        auto* s = AddSeries<TArrowSeries>(8);
        picture(s, Embed<TArrowSeriesEditor>(s), "arrow-editor.png");
    }
    {
        auto* s = AddSeries<TGanttSeries>();
        picture(s, Embed<TGanttSeriesEditor>(s), "gantt-editor.png");
    }
    {
        auto* s = AddSeries<TChartShape>(0);
        s->GetText()->SetText(u"Узел");
        picture(s, Embed<TChartShapeEditor>(s), "shape-editor.png");
    }
}

} // namespace
