#pragma once
// The bubble series' options page: the series pointer editor without its "visible" box, since
// a bubble is always drawn.

#include "chart/editors/zuzpoedi.h"

class TBubbleSeriesEditor : public TSeriesPointerEditor {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TBubbleSeriesEditor(TComponent* AOwner) : TSeriesPointerEditor(AOwner) {}

    void FormShow(TObject* Sender);
};

void RegisterZuzBubbleEditClasses();
