#include "serial/comtermbuffer.h"

#include "platform/gui/winuser.h"
#include "serial/comterminal.h"

#include <algorithm>

const ClassInfo& TComTermBuffer::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TComTermBuffer>("TComTermBuffer", &TObject::StaticClass());
    return ci;
}

TComTermBuffer::TComTermBuffer(TCustomComTerminal* AOwner) : FOwner(AOwner) {}

void TComTermBuffer::Init() {
    FColumns = FOwner->GetColumns();
    FRows = FOwner->GetRows();
    FBuffer.assign(static_cast<std::size_t>(FColumns * FRows), TComTermChar{});
    FTabs.assign(static_cast<std::size_t>(FColumns), false);
    for (Integer x = 1; x <= FColumns; x += 8) FTabs[static_cast<std::size_t>(x - 1)] = true;
}

void TComTermBuffer::SetChar(Integer X, Integer Y, const TComTermChar& Char) {
    if (Inside(X, Y)) Cell(X, Y) = Char;
}

TComTermChar TComTermBuffer::GetChar(Integer X, Integer Y) const {
    return Inside(X, Y) ? Cell(X, Y) : TComTermChar{};
}

void TComTermBuffer::EraseLine(Integer X, Integer Y) {
    if (Y < 1 || Y > FRows) return;
    X = std::max(X, 1);
    if (X > FColumns) return;
    std::fill_n(&Cell(X, Y), FColumns - X + 1, TComTermChar{});
    FOwner->InvalidatePortion(Rect(X, Y, FColumns, Y));
}

void TComTermBuffer::EraseScreen(Integer X, Integer Y) {
    if (Y < 1 || Y > FRows) return;
    X = std::clamp(X, 1, FColumns + 1);
    const auto from = static_cast<std::size_t>((Y - 1) * FColumns + X - 1);
    std::fill(FBuffer.begin() + static_cast<std::ptrdiff_t>(from), FBuffer.end(), TComTermChar{});
    // The rest of row Y and every row below, as one stretch of columns.
    FOwner->InvalidatePortion(Rect(X, Y, FColumns, FRows));
    if (X > 1 && Y < FRows) FOwner->InvalidatePortion(Rect(1, Y + 1, FColumns, FRows));
}

void TComTermBuffer::ScrollDown() {
    if (FBuffer.empty()) return;
    std::move(FBuffer.begin() + FColumns, FBuffer.end(), FBuffer.begin());
    std::fill(FBuffer.end() - FColumns, FBuffer.end(), TComTermChar{});
    ScrollArea(-1);
}

void TComTermBuffer::ScrollUp() {
    if (FBuffer.empty()) return;
    std::move_backward(FBuffer.begin(), FBuffer.end() - FColumns, FBuffer.end());
    std::fill(FBuffer.begin(), FBuffer.begin() + FColumns, TComTermChar{});
    ScrollArea(1);
}

// Moves the pixels of the shown cells by one row in Direction (-1 up, 1
// down) and lets the row that comes into view be painted.
void TComTermBuffer::ScrollArea(int Direction) {
    FOwner->FlushPortion();
    if (FOwner->GetDoubleBuffered()) {
        FOwner->Invalidate();
        return;
    }
    const TRect client = FOwner->GetClientRect();
    const RECT area = Rect(0, 0, std::min(client.Width(), FColumns * FOwner->GetCharWidth()),
                           std::min(client.Height(), FRows * FOwner->GetCharHeight()));
    ScrollWindowEx(FOwner->GetHandle(), 0, Direction * FOwner->GetCharHeight(), &area, &area, nullptr,
                   nullptr, SW_INVALIDATE | SW_ERASE);
}

bool TComTermBuffer::GetTab(Integer X) const {
    return X >= 1 && X <= FColumns && FTabs[static_cast<std::size_t>(X - 1)];
}

void TComTermBuffer::SetTab(Integer X, bool On) {
    if (X >= 1 && X <= FColumns) FTabs[static_cast<std::size_t>(X - 1)] = On;
}

void TComTermBuffer::ClearAllTabs() {
    std::fill(FTabs.begin(), FTabs.end(), false);
}

Integer TComTermBuffer::NextTab(Integer X) const {
    for (Integer x = std::max(X, 1); x <= FColumns; ++x)
        if (FTabs[static_cast<std::size_t>(x - 1)]) return x;
    return 0;
}

Integer TComTermBuffer::GetLineLength(Integer Y) const {
    if (Y < 1 || Y > FRows) return 0;
    for (Integer x = FColumns; x >= 1; --x)
        if (Cell(x, Y).Ch != 0) return x;
    return 0;
}

Integer TComTermBuffer::GetLastLine() const {
    for (Integer y = FRows; y >= 1; --y)
        if (GetLineLength(y) > 0) return y;
    return 0;
}
