#include "chart/editors/zuzeditorunits.h"

#include "chart/editors/vediruregrid.h"
#include "chart/editors/zuzareaedit.h"
#include "chart/editors/zuzarrowedi.h"
#include "chart/editors/zuzavgfunceditor.h"
#include "chart/editors/zuzaxisincr.h"
#include "chart/editors/zuzaxmaxmin.h"
#include "chart/editors/zuzbackimage.h"
#include "chart/editors/zuzbaredit.h"
#include "chart/editors/zuzbasefuncedit.h"
#include "chart/editors/zuzbmpoptions.h"
#include "chart/editors/zuzbrushdlg.h"
#include "chart/editors/zuzbubbleedit.h"
#include "chart/editors/zuzcirclededit.h"
#include "chart/editors/zuzcustedit.h"
#include "chart/editors/zuzcustomfunceditor.h"
#include "chart/editors/zuzcustomshapeeditor.h"
#include "chart/editors/zuzedi3d.h"
#include "chart/editors/zuzediaxis.h"
#include "chart/editors/zuzedifont.h"
#include "chart/editors/zuzedigene.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzedilege.h"
#include "chart/editors/zuzedipage.h"
#include "chart/editors/zuzedipane.h"
#include "chart/editors/zuzediperi.h"
#include "chart/editors/zuzedit.h"
#include "chart/editors/zuzeditcha.h"
#include "chart/editors/zuzedititl.h"
#include "chart/editors/zuzedittools.h"
#include "chart/editors/zuzediwall.h"
#include "chart/editors/zuzemfoptions.h"
#include "chart/editors/zuzfilterseditor.h"
#include "chart/editors/zuzflineedi.h"
#include "chart/editors/zuzformatting.h"
#include "chart/editors/zuzfuncedit.h"
#include "chart/editors/zuzgallerypanel.h"
#include "chart/editors/zuzgally.h"
#include "chart/editors/zuzganttedi.h"
#include "chart/editors/zuzlisb.h"
#include "chart/editors/zuzmargins.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzpieedit.h"
#include "chart/editors/zuzpoedi.h"
#include "chart/editors/zuzproco.h"
#include "chart/editors/zuzselectlist.h"
#include "chart/editors/zuzshadoweditor.h"
#include "chart/editors/zuzshapeedi.h"
#include "chart/editors/zuzsourceedit.h"
#include "chart/editors/zuzstackbaredit.h"
#include "chart/editors/zuzstringseditor.h"
#include "chart/editors/zuzsymboleditor.h"
#include "chart/editors/zuztoolsgallery.h"
#include "chart/series/zuzedit.h"
#include "chart/series/zuzjpeg.h"

namespace {

// The export dialog lists the picture formats in the order they register: bitmap, metafile,
// then the series library's JPEG. The print previewer's classes come before the dialogs
// that open it, the pen and brush dialogs before the pages that open them.
const TUnitEntry kEditorUnits[] = {
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
    {"ZuzEditCha", ZuzEditChaInitialization, ZuzEditChaFinalization},
    {"ZuzEditLaunchers", RegisterChartEditorClasses, nullptr},
};

} // namespace

std::span<const TUnitEntry> ZuzEditorUnits() {
    return kEditorUnits;
}
