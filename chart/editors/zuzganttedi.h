#pragma once
// The Gantt series' options page: bar height, connecting lines, colours and transparency,
// written into the series as each control changes. It adds the bars' pointer settings as the
// "Gantt" page beside itself.

#include "platform/gui/forms.h"

class TButtonColor;
class TButtonPen;
class TCheckBox;
class TEdit;
class TGanttSeries;
class TGroupBox;
class TLabel;
class TUpDown;

class TGanttSeriesEditor : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TGanttSeriesEditor(TComponent* AOwner) : TForm(AOwner) {}

    TLabel* LHeight = nullptr;
    TEdit* SEPointVertSize = nullptr;
    TUpDown* UDPointVertSize = nullptr;
    TButtonPen* BConnLines = nullptr;
    TGroupBox* GPLine = nullptr;
    TButtonColor* BColor = nullptr;
    TCheckBox* CBColorEach = nullptr;
    TLabel* LTransp = nullptr;
    TEdit* Edit1 = nullptr;
    TUpDown* UpDown1 = nullptr;

    // The "Gantt" page's form once inserted, else nullptr.
    TCustomForm* PointerForm() const { return FPointerForm; }

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void SEPointVertSizeChange(TObject* Sender);
    void CBColorEachClick(TObject* Sender);
    void Edit1Change(TObject* Sender);

protected:
    void BindComponents() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool Writing() const { return FGantt && !FFilling && GetShowing(); }

    TGanttSeries* FGantt = nullptr;
    TCustomForm* FPointerForm = nullptr;
    bool FFilling = false;
};

void RegisterZuzGanttEdiClasses();
