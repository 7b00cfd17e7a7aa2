#pragma once
// Small controls of the editor forms: a button that draws a sample of what it edits, a
// button that edits a colour property of an object, and a flat combo box.

#include "chart/canvas/zuzcanvas.h"
#include "platform/gui/stdctrls.h"

#include <functional>
#include <string>

// A button that draws a sample (DrawSymbol) at its right end, after it painted itself,
// and can be linked to a property of an object.
class TZuzButton : public TButton {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TZuzButton(TComponent* AOwner);

    // Links Instance (not owned) and its property PropName (none for an empty name)
    // and repaints.
    void LinkProperty(TObject* Instance, const String& PropName);
    TObject* GetInstance() const { return FInstance; }
    bool HasLinkedProperty() const { return FInstance && !FPropName.empty(); }
    // Where the sample goes.
    TRect SymbolRectangle() const;
    virtual void DrawSymbol(TZuzCanvas* Canvas) {}

    bool HasPaintOver() const override { return true; }

protected:
    void PaintOver(TCanvas* Canvas) override;
    const std::string& LinkedPropName() const { return FPropName; }

private:
    TObject* FInstance = nullptr;
    std::string FPropName; // empty: no property
};

using TButtonGetColorProc = std::function<TColor()>;

// A button showing a colour: the linked colour property's, the callback's, or its own;
// a click lets the user choose another, stores it and runs OnClick.
class TButtonColor : public TZuzButton {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TButtonColor(TComponent* AOwner) : TZuzButton(AOwner) {}

    TColor GetSymbolColor() const;
    void SetSymbolColor(TColor Value);
    void DrawSymbol(TZuzCanvas* Canvas) override;
    void Click() override;

    TButtonGetColorProc GetColorProc;

private:
    TColor FColor = clBlack; // used when no property is linked
};

// A drop-down list drawn flat (without its sunken frame) until the mouse is over it or it
// has the focus.
class TComboFlat : public TComboBox {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TComboFlat(TComponent* AOwner);

    void Add(const String& Text) { GetItems()->Add(Text); }
    // The selected item's text, empty when nothing is selected.
    String CurrentItem() const;
    // The object of the selected item, nullptr when nothing is selected.
    TObject* SelectedObject() const;
    bool IsDropDownWidthStored() const { return GetDropDownWidth() != GetWidth(); }
    bool GetMouseOver() const { return FMouseOver; }

    bool HasPaintOver() const override { return true; }

protected:
    void PaintOver(TCanvas* Canvas) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void DoEnter() override;
    void DoExit() override;

private:
    void SetMouseOver(bool Value);
    bool FMouseOver = false;
};

void RegisterZuzControlClasses();
