#pragma once
// The filters editor's form creator: on one panel it builds a column of controls for the
// selected filter, one per option the filter asks for, each bound by name to a published
// property of the filter through the class tables; a change in a control writes the property.

#include "chart/canvas/zuzfilters.h"
#include "platform/core/components.h"

#include <memory>
#include <string_view>
#include <vector>

class TControl;
class TWinControl;

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
    void ClearItems() { FItems.clear(); }
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
};
