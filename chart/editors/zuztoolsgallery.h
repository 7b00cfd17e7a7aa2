#pragma once
// The tools gallery: a modal dialog listing the registered tool types on three tabs (series
// tools, axis tools, others), with each type's long description, from which a new tool type is
// chosen. Also the drawing of one tool line in an owner-drawn list, and a hook that may put a
// demonstration chart beside the list.

#include "platform/gui/forms.h"
#include "platform/gui/stdctrls.h"

class TCheckBox;
class TCustomListBox;
class TLabel;
class TListBox;
class TMemo;
class TPanel;
class TTabControl;
class TZuzCustomTool;

class TZuzToolsGallery : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TZuzToolsGallery(TComponent* AOwner) : TForm(AOwner) {}

    TTabControl* TabControl1 = nullptr;
    TListBox* LBTool = nullptr;
    TMemo* MemoDesc = nullptr;
    TButton* BOk = nullptr;
    TButton* BCan = nullptr;
    TPanel* PanelDemos = nullptr;
    TCheckBox* CBView3D = nullptr;
    TLabel* LabelClass = nullptr;

    // The tool class on the selected line, or nullptr.
    const ClassInfo* SelectedTool() const;
    const ClassInfo* ToolAtIndex(int Index) const;
    // The list for the current tab.
    void FillTools();

    void FormShow(TObject* Sender);
    void TabControl1Change(TObject* Sender);
    void LBToolClick(TObject* Sender);
    void LBToolDblClick(TObject* Sender);
    void LBToolDrawItem(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State);
    void CBView3DClick(TObject* Sender);

protected:
    void BindComponents() override;
};

// Draws one tool line: the selection or list colour, the tool class's editor bitmap, the
// line's text.
void ZuzDrawTool(TCustomListBox* List, int Index, const TRect& Rect, TOwnerDrawState State,
                 const TZuzCustomTool* Tool);

// Called after a tool type is clicked, when set: may add one demonstration chart to the
// gallery's PanelDemos. Nothing in the program sets it.
using TToolsGalleryHook = void (*)(TZuzToolsGallery* Gallery);
extern TToolsGalleryHook ToolsGalleryHook;

void ZuzToolsGalleryInitialization();
