// The help command: the operator's manual in the desktop's word processor.
#include "archive/mainform.h"

#include "platform/automation/comobj.h"
#include "platform/core/sysutils.h"
#include "platform/gui/forms.h"

String FindHelpDocument(const String& CurrentDir, const String& ProgramDir) {
    for (const String& dir : {CurrentDir, ProgramDir}) {
        if (dir.empty()) continue;
        const String path = IncludeTrailingPathDelimiter(dir) + String(HelpDocumentName);
        if (FileExists(path)) return path;
    }
    return {};
}

void TMainForm::N5Click(TObject* Sender) {
    // The manual is installed beside the program; a copy in the working
    // directory comes first, as the program has always looked there.
    const String path = FindHelpDocument(GetCurrentDir(), ExtractFilePath(Application->GetExeName()));
    if (path.empty()) {
        ShowError(u"Проверьте наличие файла  \"HelpMoltren.doc\" в текущей дериктории программы",
                  MB_ICONWARNING);
        return;
    }
    // Each request gets an instance of its own; automation failures reach
    // the application's message box.
    const Variant word = CreateOleObject(u"word.application");
    word.Set(u"Visible", true);
    word.Get(u"documents").Call(u"open", path);
}
