#include "chart/editors/zuzstringseditor.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzpendlg.h"
#include "platform/gui/clipbrd.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TStringsEditor::StaticClass() {
    static const MethodInfo methods[] = {
        MakeMethod<&TStringsEditor::FormCreate>("FormCreate"),
        MakeMethod<&TStringsEditor::FormKeyDown>("FormKeyDown"),
        MakeMethod<&TStringsEditor::Button3Click>("Button3Click"),
        MakeMethod<&TStringsEditor::Button4Click>("Button4Click"),
        MakeMethod<&TStringsEditor::Button5Click>("Button5Click"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TStringsEditor>("TStringsEditor", &TForm::StaticClass(), methods);
    return ci;
}

void TStringsEditor::BindComponents() {
    Bind(Panel1, u"Panel1");
    Bind(Panel2, u"Panel2");
    Bind(Button1, u"Button1");
    Bind(Button2, u"Button2");
    Bind(Button3, u"Button3");
    Bind(Memo1, u"Memo1");
    Bind(Button4, u"Button4");
    Bind(Button5, u"Button5");
    Bind(OpenDialog1, u"OpenDialog1");
    Bind(SaveDialog1, u"SaveDialog1");
}

void TStringsEditor::FormCreate(TObject*) {
    const String filter = VavIve_TextFile + u"|*.txt";
    OpenDialog1->SetFilter(filter);
    OpenDialog1->SetTitle(VavIve_SelectTextFile);
    SaveDialog1->SetFilter(filter);
    SaveDialog1->SetTitle(VavIve_SaveTextFile);
}

void TStringsEditor::FormKeyDown(TObject*, Word& Key, TShiftState) {
    if (Key != VK_ESCAPE) return;
    Key = 0;
    SetModalResult(mrCancel);
}

// Nothing selected copies the whole text.
void TStringsEditor::Button3Click(TObject*) {
    Clipboard()->SetAsText(Memo1->GetSelLength() > 0 ? Memo1->GetSelText() : Memo1->GetText());
}

void TStringsEditor::Button4Click(TObject*) {
    if (OpenDialog1->Execute()) Memo1->GetLines()->LoadFromFile(OpenDialog1->GetFileName());
}

void TStringsEditor::Button5Click(TObject*) {
    if (SaveDialog1->Execute()) Memo1->GetLines()->SaveToFile(SaveDialog1->GetFileName());
}

namespace {

// Made for one modal show and freed when the caller is done, an exception passing included.
TFormFreer<TStringsEditor> NewStringsEditor(TComponent* Owner, bool Centred, bool ReadOnly) {
    TFormFreer<TStringsEditor> editor(Create<TStringsEditor>(Owner));
    if (Centred) PositionToCenter(editor.get());
    editor->Memo1->SetReadOnly(ReadOnly);
    ZuzTranslateControl(editor.get());
    return editor;
}

} // namespace

bool ZuzEditStrings(TComponent* Owner, TStrings* Strings, bool ReadOnly) {
    TFormFreer<TStringsEditor> editor = NewStringsEditor(Owner, Owner && !Owner->GetOwner(), ReadOnly);
    editor->Memo1->GetLines()->Assign(Strings);
    const bool ok = editor->ShowModal() == mrOk;
    if (ok && !ReadOnly) Strings->Assign(editor->Memo1->GetLines());
    return ok;
}

bool ZuzEditStrings(TComponent* Owner, String& Text, bool ReadOnly) {
    TFormFreer<TStringsEditor> editor = NewStringsEditor(Owner, Owner != nullptr, ReadOnly);
    editor->Memo1->SetText(Text);
    const bool ok = editor->ShowModal() == mrOk;
    if (ok && !ReadOnly) Text = editor->Memo1->GetText();
    return ok;
}

void RegisterZuzStringsEditorClasses() {
    RegisterClass(TStringsEditor::StaticClass());
}
