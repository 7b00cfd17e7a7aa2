#pragma once
// A splitter: a thin bar aligned between two controls; dragging it resizes the control aligned
// on the same side just before it, never below MinSize and never leaving less than MinSize beyond.

#include "platform/gui/controls.h"

class TSplitter : public TGraphicControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TSplitter(TComponent* AOwner);
    int GetMinSize() const { return FMinSize; }
    void SetMinSize(int Value) { FMinSize = Value; }
    // The control the splitter resizes: the one aligned on its side that touches it.
    TControl* FindControl() const;
    // Moves the splitter by Delta pixels along its axis (right or down positive).
    void MoveBy(int Delta);

    TNotifyEvent OnMoved;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Paint() override;

private:
    bool Horizontal() const { return GetAlign() == alTop || GetAlign() == alBottom; }
    bool FDragging = false;
    TPoint FStart;
    int FMinSize = 30;
};

void RegisterSplitterClass();
