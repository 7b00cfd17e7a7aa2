#pragma once
// The chart editor's "Tools" page: the tools of a chart in a list, the selected tool's own
// editor form beside it, and buttons to add (through the tools gallery), delete, clone,
// switch on and off and reorder tools.

#include "platform/gui/forms.h"
#include "platform/gui/stdctrls.h"

class TChartTools;
class TCheckBox;
class TListBox;
class TPanel;
class TSpeedButton;
class TZuzCustomTool;

using TZuzToolNotify = Event<void(TZuzCustomTool* Tool)>;

class TFormZuzTools : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TFormZuzTools(TComponent* AOwner) : TForm(AOwner) {}

    TButton* BAdd = nullptr;
    TButton* BDelete = nullptr;
    TSpeedButton* BClone = nullptr;
    TCheckBox* CBActive = nullptr;
    TSpeedButton* BMoveUp = nullptr;
    TSpeedButton* BMoveDown = nullptr;
    TCheckBox* CBShowInEditor = nullptr;
    TListBox* LBTools = nullptr;
    TPanel* PanelToolEditor = nullptr;
    TPanel* PBottom = nullptr;

    // The tools shown (not owned); when unset at show, the tools of the chart in Tag.
    TChartTools* Tools = nullptr;
    // Told of a tool added through the gallery, and of a tool about to be deleted.
    TZuzToolNotify OnAddedTool;
    TZuzToolNotify OnDeletedTool;

    void FillTools();
    void FillAndSet();
    // Refills when the list's length no longer matches the tools, or a line holds a tool that
    // left them, then shows the selection. The editor of a tool no longer listed goes.
    void Reload();
    TZuzCustomTool* CurrentTool() const;
    void EnableButtons();
    // The tools on two lines change places in the list, the tools and the stored order.
    void SwapTool(int Index1, int Index2);
    // Frees the shown tool editor form.
    void DeleteForm();
    // The open tool editor form, or nullptr.
    TCustomForm* ToolEditor() const { return FToolEditor; }
    virtual TZuzCustomTool* CloneTool(TZuzCustomTool* Tool);
    // A tool of the type chosen in the tools gallery, or nullptr.
    virtual TZuzCustomTool* GetNewTool();

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void LBToolsClick(TObject* Sender);
    void LBToolsDrawItem(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State);
    void BAddClick(TObject* Sender);
    void BDeleteClick(TObject* Sender);
    void BCloneClick(TObject* Sender);
    void CBActiveClick(TObject* Sender);
    void BMoveUpClick(TObject* Sender);
    void BMoveDownClick(TObject* Sender);
    void CBShowInEditorClick(TObject* Sender);

protected:
    void BindComponents() override;
    // Inside another control (the chart editor's tools page) the page coming and going also
    // brings that control up to date.
    void ShowingChanged() override;

private:
    TCustomForm* FToolEditor = nullptr; // owned by the page
    bool FFilling = false;
};

void ZuzEditToolsInitialization();
