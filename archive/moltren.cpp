#include "archive/moltren.h"

#include "archive/about.h"
#include "archive/mainform.h"
#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzfilters.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/vediruregrid.h"
#include "chart/editors/zuzavgfunceditor.h"
#include "chart/editors/zuzaxisincr.h"
#include "chart/editors/zuzaxmaxmin.h"
#include "chart/editors/zuzbasefuncedit.h"
#include "chart/editors/zuzbmpoptions.h"
#include "chart/editors/zuzbrushdlg.h"
#include "chart/editors/zuzcustomfunceditor.h"
#include "chart/editors/zuzediperi.h"
#include "chart/editors/zuzedittools.h"
#include "chart/editors/zuzemfoptions.h"
#include "chart/editors/zuzformatting.h"
#include "chart/editors/zuzfuncedit.h"
#include "chart/editors/zuzgally.h"
#include "chart/editors/zuzlisb.h"
#include "chart/editors/zuzmargins.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzpoedi.h"
#include "chart/editors/zuzproco.h"
#include "chart/editors/zuzselectlist.h"
#include "chart/editors/zuzsourceedit.h"
#include "chart/editors/zuzstringseditor.h"
#include "chart/editors/zuzsymboleditor.h"
#include "chart/editors/zuztoolsgallery.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/seriestypes.h"
#include "chart/series/arrowcha.h"
#include "chart/series/bubblech.h"
#include "chart/series/ganttch.h"
#include "chart/series/zuzedit.h"
#include "chart/series/zuzexportformat.h"
#include "chart/series/zuzjpeg.h"
#include "chart/series/zuzshape.h"
#include "graphs/graphrecord.h"
#include "graphs/okcancl1.h"
#include "moltren_resources.h"
#include "platform/gui/forms.h"
#include "platform/gui/jpeg.h"
#include "serial/comportctrls.h"

// The basic functions' start-up. Their header brings the function periods'
// alignment names, which the menus' popup alignment names clash with here.
void ZuzFunciInitialization();
void ZuzFunciFinalization();
// The standard series types enter the series registry, where the galleries
// and the chart file's reader find them.
void RegisterZuzStandardSeries();
// The chart editor's units register their classes for streams and virtual construction. Their
// headers bring the chart's clicked-part names, which clash with the port's property names here.
void ZuzGalleryPanelInitialization();
void ZuzEdiGradInitialization();
void ZuzFiltersEditorInitialization();
void ZuzFiltersEditorFinalization();
void ZuzBackImageInitialization();
void ZuzEdiPaneInitialization();
void ZuzEdiWallInitialization();
void ZuzEdi3DInitialization();
void ZuzEdiPageInitialization();
void ZuzEdiTitlInitialization();
void ZuzEdiLegeInitialization();
void ZuzShadowEditorInitialization();
void ZuzEdiFontInitialization();
void ZuzCustomShapeEditorInitialization();
void ZuzEdiAxisInitialization();
void ZuzEdiGeneInitialization();
// The series-type editors, found by the names the series' GetEditorClass return.
void RegisterZuzBarEditClasses();
void RegisterZuzStackBarEditClasses();
void RegisterZuzPieEditClasses();
void RegisterZuzCircledEditClasses();
void RegisterZuzArrowEdiClasses();
void RegisterZuzGanttEdiClasses();
void RegisterZuzShapeEdiClasses();
void RegisterZuzFLineEdiClasses();
void RegisterZuzCustEditClasses();
void RegisterZuzAreaEditClasses();
void RegisterZuzBubbleEditClasses();

namespace {

// The chart library's texts and drawing functions come up before any form is
// read, and the form resources and stream classes before WinMain creates forms.
const TUnitEntry kProgramUnits[] = {
    {"Forms", InitFormsUnit, DoneFormsUnit},
    {"Jpeg", JpegInitialization, nullptr},
    {"ZuzConst", ZuzConstInitialization, ZuzConstFinalization},
    {"ZuzCanvas", ZuzCanvasInitialization, ZuzCanvasFinalization},
    {"ZuzProcs", ZuzProcsInitialization, ZuzProcsFinalization},
    {"ZuzFilters", ZuzFiltersInitialization, ZuzFiltersFinalization},
    {"ZuzChart", ZuzSeriesTypesInitialization, ZuzSeriesTypesFinalization},
    {"ZuzEngine", ZuzEngineInitialization, ZuzEngineFinalization},
    {"ZuzFunci", ZuzFunciInitialization, ZuzFunciFinalization},
    {"Series", RegisterZuzStandardSeries, nullptr},
    {"ArrowCha", ArrowChaInitialization, ArrowChaFinalization},
    {"BubbleCh", BubbleChInitialization, BubbleChFinalization},
    {"GanttCh", GanttChInitialization, GanttChFinalization},
    {"ZuzShape", ZuzShapeInitialization, ZuzShapeFinalization},
    {"ZuzExportFormats", ZuzExportFormatsInitialization, ZuzExportFormatsFinalization},
    {"ZuzBmpOptions", ZuzBmpOptionsInitialization, ZuzBmpOptionsFinalization},
    {"ZuzEmfOptions", ZuzEmfOptionsInitialization, ZuzEmfOptionsFinalization},
    {"ZuzJPEG", ZuzJPEGInitialization, ZuzJPEGFinalization},
    {"ZuzEdit", ZuzEditInitialization, nullptr},
    {"ZuzPenDlg", RegisterZuzPenDlgClasses, nullptr},
    {"ZuzBrushDlg", RegisterZuzBrushDlgClasses, nullptr},
    {"VedIrureGrid", RegisterVedIrureGridClasses, nullptr},
    {"ZuzLisB", RegisterZuzLisBClasses, nullptr},
    {"ZuzGally", ZuzGallyInitialization, ZuzGallyFinalization},
    {"ZuzProCo", ZuzProCoInitialization, ZuzProCoFinalization},
    {"ZuzMargins", RegisterZuzMarginsClasses, nullptr},
    {"ZuzPoEdi", RegisterZuzPoEdiClasses, nullptr},
    {"ZuzSourceEdit", RegisterZuzSourceEditClasses, nullptr},
    {"ZuzFuncEdit", RegisterZuzFuncEditClasses, nullptr},
    {"ZuzBaseFuncEdit", RegisterZuzBaseFuncEditClasses, nullptr},
    {"ZuzEdiPeri", RegisterZuzEdiPeriClasses, nullptr},
    {"ZuzAvgFuncEditor", RegisterZuzAvgFuncEditorClasses, nullptr},
    {"ZuzCustomFuncEditor", RegisterZuzCustomFuncEditorClasses, nullptr},
    {"ZuzFormatting", RegisterZuzFormattingClasses, nullptr},
    {"ZuzAxMaxMin", RegisterZuzAxMaxMinClasses, nullptr},
    {"ZuzAxisIncr", RegisterZuzAxisIncrClasses, nullptr},
    {"ZuzGalleryPanel", ZuzGalleryPanelInitialization, nullptr},
    {"ZuzEdiGrad", ZuzEdiGradInitialization, nullptr},
    {"ZuzFiltersEditor", ZuzFiltersEditorInitialization, ZuzFiltersEditorFinalization},
    {"ZuzBackImage", ZuzBackImageInitialization, nullptr},
    {"ZuzEdiPane", ZuzEdiPaneInitialization, nullptr},
    {"ZuzEdiWall", ZuzEdiWallInitialization, nullptr},
    {"ZuzEdi3D", ZuzEdi3DInitialization, nullptr},
    {"ZuzShadowEditor", ZuzShadowEditorInitialization, nullptr},
    {"ZuzEdiFont", ZuzEdiFontInitialization, nullptr},
    {"ZuzCustomShapeEditor", ZuzCustomShapeEditorInitialization, nullptr},
    {"ZuzEdiAxis", ZuzEdiAxisInitialization, nullptr},
    {"ZuzEdiGene", ZuzEdiGeneInitialization, nullptr},
    {"ZuzBarEdit", RegisterZuzBarEditClasses, nullptr},
    {"ZuzStackBarEdit", RegisterZuzStackBarEditClasses, nullptr},
    {"ZuzPieEdit", RegisterZuzPieEditClasses, nullptr},
    {"ZuzCircledEdit", RegisterZuzCircledEditClasses, nullptr},
    {"ZuzArrowEdi", RegisterZuzArrowEdiClasses, nullptr},
    {"ZuzGanttEdi", RegisterZuzGanttEdiClasses, nullptr},
    {"ZuzShapeEdi", RegisterZuzShapeEdiClasses, nullptr},
    {"ZuzFLineEdi", RegisterZuzFLineEdiClasses, nullptr},
    {"ZuzCustEdit", RegisterZuzCustEditClasses, nullptr},
    {"ZuzAreaEdit", RegisterZuzAreaEditClasses, nullptr},
    {"ZuzBubbleEdit", RegisterZuzBubbleEditClasses, nullptr},
    {"ZuzEdiPage", ZuzEdiPageInitialization, nullptr},
    {"ZuzStringsEditor", RegisterZuzStringsEditorClasses, nullptr},
    {"ZuzSelectList", RegisterZuzSelectListClasses, nullptr},
    {"ZuzSymbolEditor", RegisterZuzSymbolEditorClasses, nullptr},
    {"ZuzToolsGallery", ZuzToolsGalleryInitialization, nullptr},
    {"ZuzEditTools", ZuzEditToolsInitialization, nullptr},
    {"ZuzEdiTitl", ZuzEdiTitlInitialization, nullptr},
    {"ZuzEdiLege", ZuzEdiLegeInitialization, nullptr},
    {"ComPort", RegisterComPortClasses, nullptr},
    {"Graphs", RegisterGraphClasses, nullptr},
    {"Resources", RegisterMoltrenResources, nullptr},
};

} // namespace

std::span<const TUnitEntry> ProgramUnits() {
    return kProgramUnits;
}

int WinMain() {
    try {
        Application->Initialize();
        Application->SetMainFormOnTaskBar(true);
        // The first form created is the main window.
        Application->CreateForm(MainForm);
        Application->CreateForm(AboutBox);
        Application->CreateForm(GraphSettings);
        Application->Run();
    } catch (const Exception& e) {
        Application->ShowException(e);
    } catch (...) {
        // Anything else shows as an exception without a message.
        Application->ShowException(Exception());
    }
    return 0;
}
