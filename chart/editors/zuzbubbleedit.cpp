#include "chart/editors/zuzbubbleedit.h"

#include "platform/gui/stdctrls.h"

const ClassInfo& TBubbleSeriesEditor::StaticClass() {
    using F = TBubbleSeriesEditor;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormShow>("FormShow"),
    };
    static const ClassInfo ci =
        MakeClassInfo<F>("TBubbleSeriesEditor", &TSeriesPointerEditor::StaticClass(), methods);
    return ci;
}

void TBubbleSeriesEditor::FormShow(TObject* Sender) {
    TSeriesPointerEditor::FormShow(Sender);
    CBDrawPoint->SetVisible(false);
}

void RegisterZuzBubbleEditClasses() {
    RegisterClass(TBubbleSeriesEditor::StaticClass());
}
