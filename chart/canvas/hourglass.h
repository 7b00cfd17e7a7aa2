#pragma once
// The hourglass while something slow runs (a print, a file written, a page form built); the
// cursor shown before comes back however the work ends.

#include "platform/gui/forms.h"

class THourGlass {
public:
    THourGlass() : FOld(Screen->GetCursor()) { Screen->SetCursor(crHourGlass); }
    ~THourGlass() { Screen->SetCursor(FOld); }
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;

private:
    TCursor FOld;
};
