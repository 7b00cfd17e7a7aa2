#pragma once
// Two lists side by side for choosing items and putting them in order: the available items on
// the left, the chosen ones on the right. Embedded by the function editors to pick source
// series; the host fills the lists, calls EnableButtons and hears every change.

#include "platform/gui/forms.h"

class TLabel;
class TListBox;
class TPanel;
class TSpeedButton;
class TButton;
class TSplitter;

class TSelectListForm : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TSelectListForm(TComponent* AOwner) : TForm(AOwner) {}

    TListBox* FromList = nullptr;
    TListBox* ToList = nullptr;
    TPanel* Panel1 = nullptr;
    TSpeedButton* BMoveUP = nullptr;
    TSpeedButton* BMoveDown = nullptr;
    TPanel* Panel2 = nullptr;
    TLabel* L22 = nullptr;
    TLabel* L24 = nullptr;
    TPanel* Panel3 = nullptr;
    TButton* BRightOne = nullptr;
    TButton* BRightAll = nullptr;
    TButton* BLeftOne = nullptr;
    TButton* BLeftAll = nullptr;
    TSplitter* Splitter1 = nullptr;

    // Told after every move, with the form as sender.
    TNotifyEvent OnChange;

    // The move buttons as the lists now allow.
    void EnableButtons();

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void BRightOneClick(TObject* Sender);
    void BRightAllClick(TObject* Sender);
    void BLeftOneClick(TObject* Sender);
    void BLeftAllClick(TObject* Sender);
    void BMoveUPClick(TObject* Sender);
    void BMoveDownClick(TObject* Sender);
    void FromListDblClick(TObject* Sender);
    void ToListDblClick(TObject* Sender);
    void ListClick(TObject* Sender);

protected:
    void BindComponents() override;

private:
    void Changed();
    // The chosen item changes places with its neighbour Delta away and stays chosen.
    void MoveChosen(int Delta);
};

void RegisterZuzSelectListClasses();
