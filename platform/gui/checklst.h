#pragma once
// CheckLst: a list box whose items carry check boxes.

#include "platform/gui/stdctrls.h"

class TCheckListBox : public TCustomListBox {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCheckListBox(TComponent* AOwner);

    // Setting a mark from code fires no event; the user's click fires OnClickCheck.
    bool GetChecked(int Index) const { return GetState(Index) == cbChecked; }
    void SetChecked(int Index, bool Value) { SetState(Index, Value ? cbChecked : cbUnchecked); }
    TCheckBoxState GetState(int Index) const;
    void SetState(int Index, TCheckBoxState Value);
    bool GetItemEnabled(int Index) const;
    void SetItemEnabled(int Index, bool Value);
    bool GetAllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }

    TNotifyEvent OnClickCheck;

protected:
    void ItemAdded(int Index) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    bool FAllowGrayed = false;
    bool FSetting = false;
};
