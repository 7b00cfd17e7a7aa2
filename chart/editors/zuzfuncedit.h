#pragma once
// The data-source page of a function series: the function's class, its source
// series (one with a value list, or several in order) and the function's own
// option form, embedded. Nothing is written until Apply, except that choosing
// another function class gives the series a function of that class at once.

#include "chart/canvas/zuzprocs.h"
#include "chart/editors/zuzsourceedit.h"

class TPageControl;
class TSelectListForm;
class TSpeedButton;
class TTabSheet;
class TTimer;

class TZuzFuncEditor : public TBaseSourceEditor, public IZuzEventListener {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TZuzFuncEditor(TComponent* AOwner);
    void BeforeDestruction() override;

    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSource = nullptr;
    TTabSheet* TabOptions = nullptr;
    TPanel* PanSingle = nullptr;
    TLabel* Label1 = nullptr;
    TComboFlat* CBSingle = nullptr;
    TLabel* LValues = nullptr;
    TComboFlat* CBValues = nullptr;
    TButton* BNone = nullptr;
    TTimer* Timer1 = nullptr;
    TTimer* Timer2 = nullptr;
    TSpeedButton* SpeedButton1 = nullptr;

    // The function class chosen, nullptr for "Copy".
    const ClassInfo* FunctionClass() const;
    // The chosen function's option form and the two-list source selector, once
    // made.
    TCustomForm* OptionsForm() const { return FOptions; }
    TSelectListForm* Selector() const { return FSelector; }

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void CBSourcesChange(TObject* Sender);
    void CBSingleChange(TObject* Sender);
    void CBValuesChange(TObject* Sender);
    void BNoneClick(TObject* Sender);
    void BApplyClick(TObject* Sender);
    void SpeedButton1Click(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void Timer2Timer(TObject* Sender);

    void ZuzEvent(TZuzEvent* Event) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    void BindComponents() override;

private:
    void ListenTo(TCustomZuzPanel* Panel);
    void FillSourceLists();
    // Whether the series' function was replaced by one of the class chosen.
    bool TryCreateNewFunction();
    void FreeOptionsForm();

    TCustomForm* FOptions = nullptr;
    TSelectListForm* FSelector = nullptr;
    TCustomZuzPanel* FListened = nullptr;
    bool FChanging = false;
};

void RegisterZuzFuncEditClasses();
