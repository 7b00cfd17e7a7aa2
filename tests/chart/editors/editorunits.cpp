// The editor units the tests of this folder use, started as the program starts them.
#include "chart/editors/zuzaxisincr.h"
#include "chart/editors/zuzaxmaxmin.h"
#include "chart/editors/zuzbackimage.h"
#include "chart/editors/zuzbrushdlg.h"
#include "chart/editors/zuzcustomshapeeditor.h"
#include "chart/editors/zuzedi3d.h"
#include "chart/editors/zuzediaxis.h"
#include "chart/editors/zuzedifont.h"
#include "chart/editors/zuzedigene.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzedipage.h"
#include "chart/editors/zuzedilege.h"
#include "chart/editors/zuzedipane.h"
#include "chart/editors/zuzedittools.h"
#include "chart/editors/zuzedititl.h"
#include "chart/editors/zuzediwall.h"
#include "chart/editors/zuzfilterseditor.h"
#include "chart/editors/zuzformatting.h"
#include "chart/editors/zuzgallerypanel.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzselectlist.h"
#include "chart/editors/zuzshadoweditor.h"
#include "chart/editors/zuzstringseditor.h"
#include "chart/editors/zuzsymboleditor.h"
#include "chart/editors/zuztoolsgallery.h"
#include "chart/series/zuzedit.h"

void ZuzEditorsTestUnits() {
    RegisterZuzPenDlgClasses();
    RegisterZuzBrushDlgClasses();
    ZuzGalleryPanelInitialization();
    ZuzEdiGradInitialization();
    ZuzFiltersEditorInitialization();
    ZuzBackImageInitialization();
    ZuzEdiPaneInitialization();
    ZuzEdiWallInitialization();
    ZuzEdi3DInitialization();
    ZuzShadowEditorInitialization();
    ZuzEdiFontInitialization();
    ZuzCustomShapeEditorInitialization();
    RegisterZuzFormattingClasses();
    RegisterZuzAxMaxMinClasses();
    RegisterZuzAxisIncrClasses();
    ZuzEditInitialization();
    ZuzEdiAxisInitialization();
    ZuzEdiGeneInitialization();
    ZuzEdiPageInitialization();
    RegisterZuzStringsEditorClasses();
    RegisterZuzSelectListClasses();
    RegisterZuzSymbolEditorClasses();
    ZuzToolsGalleryInitialization();
    ZuzEditToolsInitialization();
    ZuzEdiTitlInitialization();
    ZuzEdiLegeInitialization();
}
