#pragma once
// The filters editor's form creator: on one panel it builds a column of controls for the
// selected filter, one per option the filter asks for, each bound by name to a published
// property of the filter through the class tables; a change in a control writes the property.

#include "chart/canvas/zuzfilters.h"
#include "platform/core/components.h"
#include "platform/gui/forms.h"

#include <map>
#include <memory>
#include <string_view>
#include <vector>

class TButton;
class TCheckBox;
class TCheckListBox;
class TControl;
class TDraw3D;
class TEdit;
class TLabel;
class TMenuItem;
class TPageControl;
class TPanel;
class TPopupMenu;
class TSpeedButton;
class TSplitter;
class TTabSheet;
class TTimer;
class TUpDown;
class TWinControl;
class TZuzPicture;

// What a control of the creator edits: the property's name and the control's own event.
struct TFormItem {
    String PropName;
    TNotifyEvent OnChange;
};

class TFormCreator : public TComponent, public IFormCreator {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    // The owner is the windowed control the new controls go on.
    explicit TFormCreator(TComponent* AOwner);
    ~TFormCreator() override;

    // Each adds one control at Left 4 and the current position, then moves the position down.
    void AddCheckBox(const String& PropName, const String& Caption, const TNotifyEvent& OnClick) override;
    void AddColor(const String& PropName, const String& Caption) override;
    TComboFlat* AddCombo(const String& PropName) override;
    void AddInteger(const String& PropName, const String& Caption, int Min, int Max) override;
    TScrollBar* AddScroll(const String& PropName, int Min, int Max) override;

    // Forgets the items of the controls made so far (the controls belong to the parent).
    void ClearItems() {
        FItems.clear();
        FUpDowns.clear();
    }
    int GetPosition() const { return FPosition; }
    void SetPosition(int Value) { FPosition = Value; }
    TObject* GetInstance() const { return FInstance; }
    void SetInstance(TObject* Value) { FInstance = Value; }
    // While set, changes in the controls write nothing (the controls are being filled).
    bool GetCreating() const { return FCreating; }
    void SetCreating(bool Value) { FCreating = Value; }
    // The item a control made here keeps in its Tag; nullptr for any other control.
    const TFormItem* ItemOf(const TComponent* Control) const;

    // An enumeration value's name as the combo box shows it: the lower-case prefix dropped and
    // a blank before each later capital but the last character ("gdTopBottom": "Top Bottom").
    static String ReadableName(std::string_view Name);

    TNotifyEvent OnChange;

private:
    TWinControl* Parent() const;
    void Place(TControl* Control, int Left, int Top, int Width, int Height);
    void Bind(TComponent* Control, const String& PropName, const TNotifyEvent& OnChange);
    std::int64_t ReadInteger(const String& PropName) const;
    void ChangeProp(TObject* Sender);

    TObject* FInstance = nullptr;
    int FPosition = 8;
    bool FCreating = false;
    std::vector<std::unique_ptr<TFormItem>> FItems;
    // The up-down of each integer edit, whose clamped position is what the edit writes.
    std::map<const TEdit*, TUpDown*> FUpDowns;
};

// The filters dialog: the chain of filters of a picture, with a live preview, a list to add,
// delete, reorder and switch filters on and off, and the selected filter's options and region.
class TFiltersEditor : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TFiltersEditor(TComponent* AOwner);
    ~TFiltersEditor() override;

    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TDraw3D* Image = nullptr;
    TSplitter* Splitter1 = nullptr;
    TPanel* Panel1 = nullptr;
    TPanel* Panel2 = nullptr;
    TSpeedButton* BAdd = nullptr;
    TSpeedButton* BDelete = nullptr;
    TSpeedButton* BMoveUp = nullptr;
    TSpeedButton* BMoveDown = nullptr;
    TCheckListBox* Filters = nullptr;
    TPopupMenu* MenuFilters = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TMenuItem* Scaled1 = nullptr;
    TPanel* Panel3 = nullptr;
    TPanel* Panel4 = nullptr;
    TButton* BOK = nullptr;
    TCheckBox* CBPreview = nullptr;
    TCheckBox* CBScaled = nullptr;
    TPageControl* PageProps = nullptr;
    TTabSheet* Properties = nullptr;
    TTabSheet* TabRegion = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TEdit* ELeft = nullptr;
    TEdit* ETop = nullptr;
    TEdit* EWidth = nullptr;
    TEdit* EHeight = nullptr;
    TUpDown* UDLeft = nullptr;
    TUpDown* UDTop = nullptr;
    TUpDown* UDWidth = nullptr;
    TUpDown* UDHeight = nullptr;
    TSplitter* Splitter2 = nullptr;
    TTimer* Timer1 = nullptr;

    // The graphic shown and filtered (not owned) and the filters edited (not owned).
    void SetGraphic(TGraphic* Value) { FGraphic = Value; }
    TGraphic* GetGraphic() const { return FGraphic; }
    void SetFilterItems(TFilterItems* Value) { FFilters = Value; }
    TFilterItems* GetFilterItems() const { return FFilters; }
    TFormCreator* GetCreator() const { return FCreator; }
    // The filter of the selected entry, or nullptr.
    TZuzFilter* SelectedFilter() const;
    // Called with the form after every preview update.
    TNotifyEvent OnPreviewChanged;

    // Selects the entry at Index (-1: none) and builds its options, as a click on it does.
    void SelectFilter(int Index);
    // The filter of that class is added to the items and selected.
    void AddFilter(const ClassInfo& FilterClass);
    void UpdatePreview();

    void FormCreate(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void FormShow(TObject* Sender);
    void FiltersClick(TObject* Sender);
    void FiltersClickCheck(TObject* Sender);
    void BAddClick(TObject* Sender);
    void BDeleteClick(TObject* Sender);
    void BMoveUpClick(TObject* Sender);
    void BMoveDownClick(TObject* Sender);
    void MenuFilterClick(TObject* Sender);
    void ELeftChange(TObject* Sender);
    void ETopChange(TObject* Sender);
    void EWidthChange(TObject* Sender);
    void EHeightChange(TObject* Sender);
    void CBPreviewClick(TObject* Sender);
    void CBScaledClick(TObject* Sender);
    void Scaled1Click(TObject* Sender);
    void ImageResize(TObject* Sender);
    void Timer1Timer(TObject* Sender);

protected:
    void BindComponents() override;

private:
    void EnableButtons();
    void ClearOptions();
    void Exchange(int Index, int Other);
    void FillMenu();
    void RegionChanged(TUpDown* UpDown, void (TFilterRegion::*Set)(int));
    void PropertiesChanged(TObject* Sender);

    TFormCreator* FCreator = nullptr;
    TFilterItems* FFilters = nullptr;
    TGraphic* FGraphic = nullptr;
    Owned<TBitmap> FWork;
    bool FFilling = false;
};

// Edits the filters in a modal dialog over the graphic; true on OK.
bool ShowFiltersEditor(TComponent* AOwner, TGraphic* Graphic, TFilterItems* FilterItems);
// The picture's graphic and filters; on OK the picture repaints.
bool ShowFiltersEditor(TComponent* AOwner, TZuzPicture* Picture);

void ZuzFiltersEditorInitialization();
void ZuzFiltersEditorFinalization();
