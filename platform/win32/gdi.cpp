#include "platform/win32/gdi.h"

#include <array>

COLORREF GetSysColor(int index) {
    static constexpr std::array<COLORREF, 31> table = {
        RGB(200, 200, 200), // scroll bar
        RGB(0, 0, 0),       // desktop
        RGB(153, 180, 209), // active caption
        RGB(191, 205, 219), // inactive caption
        RGB(240, 240, 240), // menu
        RGB(255, 255, 255), // window
        RGB(100, 100, 100), // window frame
        RGB(0, 0, 0),       // menu text
        RGB(0, 0, 0),       // window text
        RGB(0, 0, 0),       // caption text
        RGB(180, 180, 180), // active border
        RGB(244, 247, 252), // inactive border
        RGB(171, 171, 171), // application work space
        RGB(51, 153, 255),  // highlight
        RGB(255, 255, 255), // highlight text
        RGB(240, 240, 240), // button face
        RGB(160, 160, 160), // button shadow
        RGB(109, 109, 109), // gray text
        RGB(0, 0, 0),       // button text
        RGB(67, 78, 84),    // inactive caption text
        RGB(255, 255, 255), // button highlight
        RGB(105, 105, 105), // 3D dark shadow
        RGB(227, 227, 227), // 3D light
        RGB(0, 0, 0),       // info text
        RGB(255, 255, 225), // info background
        RGB(0, 0, 0),       // (unused)
        RGB(0, 102, 204),   // hot light
        RGB(185, 209, 234), // gradient active caption
        RGB(215, 228, 242), // gradient inactive caption
        RGB(51, 153, 255),  // menu highlight
        RGB(240, 240, 240), // menu bar
    };
    if (index < 0 || index >= static_cast<int>(table.size())) return 0;
    return table[static_cast<std::size_t>(index)];
}

namespace {
bool SameText(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i], y = b[i];
        if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x + 32);
        if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y + 32);
        if (x != y) return false;
    }
    return true;
}
} // namespace

String SubstituteFontName(const String& Name) {
    struct Pair {
        std::u16string_view from, to;
    };
    // Tahoma and the old dialog face have no free metric twin; the Arial twin
    // is the closest in widths among the installed faces.
    static constexpr Pair pairs[] = {
        {u"Arial", u"Liberation Sans"},
        {u"Helvetica", u"Liberation Sans"},
        {u"Tahoma", u"Liberation Sans"},
        {u"MS Sans Serif", u"Liberation Sans"},
        {u"Microsoft Sans Serif", u"Liberation Sans"},
        {u"Segoe UI", u"Liberation Sans"},
        {u"Verdana", u"DejaVu Sans"},
        {u"Times New Roman", u"Liberation Serif"},
        {u"Times", u"Liberation Serif"},
        {u"MS Serif", u"Liberation Serif"},
        {u"Courier New", u"Liberation Mono"},
        {u"Courier", u"Liberation Mono"},
        {u"Lucida Console", u"Liberation Mono"},
        {u"Terminal", u"DejaVu Sans Mono"},
        {u"Fixedsys", u"DejaVu Sans Mono"},
    };
    for (const Pair& p : pairs)
        if (SameText(Name, p.from)) return String(p.to);
    return Name;
}
