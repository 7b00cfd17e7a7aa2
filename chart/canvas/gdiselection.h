#pragma once
// A GDI object held in a device context for one scope: selected when the scope begins, the
// previous object put back when it ends and a made object deleted once it is out of the
// device -- also when the drawing in between throws, so a failed draw leaves nothing of its
// own selected.

#include "platform/win32/gdi.h"

enum class TSelection : std::uint8_t { Made, Borrowed };

template <class Handle>
class TSelectedObject {
public:
    // Made: the scope deletes the object at its end; Borrowed: someone else owns it. A null
    // object selects nothing.
    TSelectedObject(HDC DC, Handle Object, TSelection Kind = TSelection::Made)
        : FDC(DC), FObject(Object), FMade(Kind == TSelection::Made) {
        if (FObject) FPrevious = SelectObject(FDC, FObject);
    }
    ~TSelectedObject() {
        if (FPrevious) SelectObject(FDC, FPrevious);
        if (FMade && FObject) DeleteObject(FObject);
    }
    TSelectedObject(const TSelectedObject&) = delete;
    TSelectedObject& operator=(const TSelectedObject&) = delete;

    Handle Get() const { return FObject; }
    Handle Previous() const { return FPrevious; }

private:
    HDC FDC;
    Handle FObject;
    Handle FPrevious = nullptr;
    bool FMade;
};
