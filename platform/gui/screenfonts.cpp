#include "platform/gui/screenfonts.h"

#include "platform/core/lists.h"
#include "platform/win32/gdiqt.h"

#include <QFontDatabase>

namespace {

// A face installed from several foundries is listed as "Family [Foundry]"; fonts are set, drawn
// and stored under the family name alone, so that is the name offered.
QString FamilyName(const QString& Family) {
    const auto open = Family.lastIndexOf(u" [");
    return open > 0 && Family.endsWith(u']') ? Family.left(open) : Family;
}

} // namespace

TStrings* ScreenFonts() {
    static const Owned<TStringList> fonts = [] {
        auto list = MakeOwned<TStringList>();
        list->SetSorted(true);
        list->SetDuplicates(dupIgnore);
        for (const QString& family : QFontDatabase::families())
            if (!QFontDatabase::isPrivateFamily(family)) list->Add(FamilyName(family).toStdU16String());
        for (const String& alias : SubstitutedFontNames())
            if (list->IndexOf(SubstituteFontName(alias)) >= 0) list->Add(alias);
        return list;
    }();
    return fonts.get();
}
