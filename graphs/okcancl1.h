#pragma once
// The graph settings dialog, read from the form resource TGraphSettings: the
// value columns a graph window plots and the line of each (first page, acting
// at once), and the window's caption, colours, legend, label angle, time
// format and axes (second page, acting on "Применить" or OK). It works on the
// current graph window's record, which the main window keeps; the main window
// also fills its value list: item k names value column k + 1.

#include "graphs/graphrecord.h"
#include "platform/gui/checklst.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/forms.h"
#include "platform/gui/imglist.h"
#include "platform/gui/stdctrls.h"

class TGraphSettings : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TGraphSettings(TComponent* AOwner) : TForm(AOwner) {}

    TPageControl* PageControlGraph = nullptr;
    TTabSheet* ValueSelect = nullptr;
    TLabel* Label13 = nullptr;
    TCheckListBox* CheckListBoxValue = nullptr;
    TGroupBox* GroupBox4 = nullptr;
    TLabel* Label2 = nullptr;
    TColorBox* ColorBox = nullptr;
    TLabel* Label4 = nullptr;
    TComboBox* ComboBoxLineWidth = nullptr;
    TLabel* Label7 = nullptr;
    TComboBoxEx* ComboBoxEx = nullptr;
    TCheckBox* CheckBoxLegend = nullptr;
    TCheckBox* CheckBoxPointeShow = nullptr;
    TTabSheet* GraphSet = nullptr;
    TLabel* Label11 = nullptr;
    TEdit* EditGraphName = nullptr;
    TLabel* Label3 = nullptr;
    TColorBox* ColorBoxGrBckGr = nullptr;
    TLabel* Label9 = nullptr;
    TColorBox* ColorBoxText = nullptr;
    TCheckBox* CheckBoxShowLegend = nullptr;
    TCheckBox* CheckBoxLabel90Rotate = nullptr;
    TRadioGroup* RadioGroupX = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TGroupBox* GroupBox2 = nullptr;
    TCheckBox* CheckBoxAutoX = nullptr;
    TLabel* Label8 = nullptr;
    TEdit* EditXvalueCount = nullptr;
    TGroupBox* GroupBox3 = nullptr;
    TCheckBox* CheckBox2 = nullptr;
    TLabel* Label5 = nullptr;
    TEdit* EditYmax = nullptr;
    TLabel* Label6 = nullptr;
    TEdit* EditYmin = nullptr;
    TButton* Applay = nullptr;
    TButton* OKBtn = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TImageList* ImageListLines = nullptr;

    void FormCreate(TObject* Sender);
    void FormActivate(TObject* Sender);
    void PageControlGraphChange(TObject* Sender);
    void CheckListBoxValueClick(TObject* Sender);
    void CheckListBoxValueClickCheck(TObject* Sender);
    void ColorBoxChange(TObject* Sender);
    void ComboBoxLineWidthChange(TObject* Sender);
    void ComboBoxExChange(TObject* Sender);
    void ComboBoxExKeyPress(TObject* Sender, Char& Key);
    void CheckBoxLegendClick(TObject* Sender);
    void CheckBoxPointeShowClick(TObject* Sender);
    void CheckBoxAutoXClick(TObject* Sender);
    void EditXvalueCountExit(TObject* Sender);
    void CheckBox2Click(TObject* Sender);
    void EditYmaxExit(TObject* Sender);
    void EditYmaxKeyPress(TObject* Sender, Char& Key);
    void EditYminExit(TObject* Sender);
    void EditYminKeyPress(TObject* Sender, Char& Key);
    void ApplayClick(TObject* Sender);
    void OKBtnClick(TObject* Sender);

    bool fFilling = false;
    bool fActivated = false;
    int selectedSeries = 0;

protected:
    void BindComponents() override;
    void DoHide() override;

private:
    // The current window's record; null when no window is current.
    GraphRecord* Graph() const { return GraphHost ? GraphHost->CurrentGraphRecord() : nullptr; }
    // selectedSeries for the selected list item; the series record when that
    // item is ticked and has a series in the window, else null.
    SeriesRecord* SelectedRecord();
    void EnableLineControls(bool Enabled);
    // A Y limit edit's exit checks: a number, and the maximum not below the minimum.
    void CheckYLimit(TEdit* Edit, float Stored);
    // Every input of the second page acceptable; the first failing one gets its
    // message and its stored value back.
    bool SecondPageValid();
    void ErrorBox(const String& Text);
    // The dialog is coming back from one of its own message boxes: that activation keeps what
    // the operator has typed and not applied yet.
    bool fBackFromBox = false;
};

extern TGraphSettings* GraphSettings;
