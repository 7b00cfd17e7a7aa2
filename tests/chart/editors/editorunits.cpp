// The editor units the tests of this folder use, started as the program starts them.
#include "chart/editors/zuzbackimage.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzfilterseditor.h"
#include "chart/editors/zuzgallerypanel.h"

void ZuzEditorsTestUnits() {
    ZuzGalleryPanelInitialization();
    ZuzEdiGradInitialization();
    ZuzFiltersEditorInitialization();
    ZuzBackImageInitialization();
}
