#include "platform/gui/splitter.h"

#include "platform/core/typinfo.h"

#include <algorithm>

const ClassInfo& TSplitter::StaticClass() {
    static const PropInfo props[] = {
        // Made on the left with the splitting cursor, so those go unwritten.
        MakeProp<&TControl::GetAlign, &TControl::SetAlign>("Align").Default(alLeft),
        MakeProp<&TControl::GetCursor, &TControl::SetCursor>("Cursor").Default(crHSplit),
        MakeProp<&TSplitter::GetMinSize, &TSplitter::SetMinSize>("MinSize").Default(30),
        MakeProp<&TSplitter::OnMoved>("OnMoved"),
    };
    static const ClassInfo ci = MakeClassInfo<TSplitter>("TSplitter", &TGraphicControl::StaticClass(), props);
    return ci;
}

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
    TControl::SetAlign(alLeft);
    SetBounds(0, 0, 3, 100);
    SetCursor(crHSplit);
}

TControl* TSplitter::FindControl() const {
    TWinControl* parent = GetParent();
    if (!parent) return nullptr;
    for (TControl* c : parent->Controls()) {
        if (c == this || !c->GetVisible() || c->GetAlign() != GetAlign()) continue;
        switch (GetAlign()) {
        case alLeft:
            if (c->GetLeft() + c->GetWidth() == GetLeft()) return c;
            break;
        case alRight:
            if (c->GetLeft() == GetLeft() + GetWidth()) return c;
            break;
        case alTop:
            if (c->GetTop() + c->GetHeight() == GetTop()) return c;
            break;
        case alBottom:
            if (c->GetTop() == GetTop() + GetHeight()) return c;
            break;
        default:
            break;
        }
    }
    return nullptr;
}

void TSplitter::MoveBy(int Delta) {
    TControl* c = FindControl();
    if (!c || Delta == 0) return;
    const TWinControl* parent = GetParent();
    // The room left beyond the splitter keeps MinSize as well as the resized control.
    const auto bounded = [this](int Size, int Largest) {
        return std::clamp(Size, FMinSize, std::max(FMinSize, Largest));
    };
    switch (GetAlign()) {
    case alLeft:
        c->SetWidth(
            bounded(c->GetWidth() + Delta, parent->GetClientWidth() - c->GetLeft() - GetWidth() - FMinSize));
        break;
    case alRight:
        c->SetWidth(bounded(c->GetWidth() - Delta, c->GetLeft() + c->GetWidth() - GetWidth() - FMinSize));
        break;
    case alTop:
        c->SetHeight(bounded(c->GetHeight() + Delta,
                             parent->GetClientHeight() - c->GetTop() - GetHeight() - FMinSize));
        break;
    case alBottom:
        c->SetHeight(bounded(c->GetHeight() - Delta, c->GetTop() + c->GetHeight() - GetHeight() - FMinSize));
        break;
    default:
        return;
    }
    if (OnMoved) OnMoved(this);
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    FDragging = true;
    FStart = TPoint(X, Y);
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!FDragging) return;
    // The splitter moves with the resized control, so the press point stays under the mouse.
    MoveBy(Horizontal() ? Y - FStart.Y : X - FStart.X);
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    FDragging = false;
}

void TSplitter::Paint() {
    TCanvas* canvas = GetCanvas();
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(TRect(0, 0, GetWidth(), GetHeight()));
}

void RegisterSplitterClass() {
    RegisterClass(TSplitter::StaticClass());
}
