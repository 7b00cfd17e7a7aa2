// The series-type editor units and the dialogs they open, started as the program starts them.
#include "chart/editors/zuzareaedit.h"
#include "chart/editors/zuzarrowedi.h"
#include "chart/editors/zuzbaredit.h"
#include "chart/editors/zuzbrushdlg.h"
#include "chart/editors/zuzbubbleedit.h"
#include "chart/editors/zuzcirclededit.h"
#include "chart/editors/zuzcustedit.h"
#include "chart/editors/zuzflineedi.h"
#include "chart/editors/zuzganttedi.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzpieedit.h"
#include "chart/editors/zuzpoedi.h"
#include "chart/editors/zuzshapeedi.h"
#include "chart/editors/zuzstackbaredit.h"
#include "chart/editors/zuzstringseditor.h"

void ZuzSeriesEditorsTestUnits() {
    static bool started = false;
    if (started) return;
    started = true;
    RegisterZuzPenDlgClasses();
    RegisterZuzBrushDlgClasses();
    RegisterZuzPoEdiClasses();
    RegisterZuzStringsEditorClasses();
    RegisterZuzBubbleEditClasses();
    RegisterZuzBarEditClasses();
    RegisterZuzStackBarEditClasses();
    RegisterZuzPieEditClasses();
    RegisterZuzCircledEditClasses();
    RegisterZuzArrowEdiClasses();
    RegisterZuzGanttEdiClasses();
    RegisterZuzShapeEdiClasses();
    RegisterZuzFLineEdiClasses();
    RegisterZuzCustEditClasses();
    RegisterZuzAreaEditClasses();
}
