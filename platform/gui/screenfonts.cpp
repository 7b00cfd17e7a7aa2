#include "platform/gui/screenfonts.h"

#include "platform/core/lists.h"
#include "platform/win32/gdiqt.h"

#include <QFontDatabase>

TStrings* ScreenFonts() {
    static const Owned<TStringList> fonts = [] {
        auto list = MakeOwned<TStringList>();
        list->SetSorted(true);
        list->SetDuplicates(dupIgnore);
        for (const QString& family : QFontDatabase::families())
            if (!QFontDatabase::isPrivateFamily(family)) list->Add(family.toStdU16String());
        for (const String& alias : SubstitutedFontNames())
            if (list->IndexOf(SubstituteFontName(alias)) >= 0) list->Add(alias);
        return list;
    }();
    return fonts.get();
}
