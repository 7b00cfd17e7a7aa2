#pragma once
// The series pointer editor: the point markers of a line-type series. It is the options page of
// the point series, the "Point" page a line-type series editor adds beside itself, and a modal
// dialog for any pointer. Every control writes into the pointer at once.

#include "platform/gui/forms.h"
#include "platform/gui/stdctrls.h"

class TButtonPen;
class TCheckBox;
class TComboFlat;
class TCustomSeries;
class TEdit;
class TGroupBox;
class TLabel;
class TPanel;
class TSeriesPointer;
class TTrackBar;
class TUpDown;

class TSeriesPointerEditor : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TSeriesPointerEditor(TComponent* AOwner);

    TGroupBox* GPPoint = nullptr;
    TCheckBox* CBDrawPoint = nullptr;
    TCheckBox* CB3dPoint = nullptr;
    TCheckBox* CBPoDark = nullptr;
    TCheckBox* CBInflate = nullptr;
    TLabel* Label1 = nullptr;
    TEdit* SEPointHorizSize = nullptr;
    TUpDown* UDPointHorizSize = nullptr;
    TLabel* Label2 = nullptr;
    TEdit* SEPointVertSize = nullptr;
    TUpDown* UDPointVertSize = nullptr;
    TLabel* Label3 = nullptr;
    TComboFlat* CBStyle = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TButton* BPointFillColor = nullptr;
    TCheckBox* CBDefBrushColor = nullptr;
    TButtonPen* BPoinPenCol = nullptr;
    TCheckBox* CBIgnoreNulls = nullptr;
    TButton* Button2 = nullptr;
    TLabel* LTransp = nullptr;
    TTrackBar* TBTransp = nullptr;
    TCheckBox* CBColorEach = nullptr;
    TButton* BGradient = nullptr;
    TPanel* PanelBottom = nullptr;
    TButton* Button1 = nullptr;

    // The pointer edited (not owned), known once the form has been shown with it in Tag.
    TSeriesPointer* Pointer() const { return FPointer; }
    // The series the pointer belongs to in page use, else nullptr.
    TCustomSeries* Series() const { return FSeries; }
    // Hides the width and height controls (for series that size their points themselves).
    void HideSizeOptions();

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void CBDrawPointClick(TObject* Sender);
    void CB3dPointClick(TObject* Sender);
    void CBPoDarkClick(TObject* Sender);
    void CBInflateClick(TObject* Sender);
    void SEPointHorizSizeChange(TObject* Sender);
    void SEPointVertSizeChange(TObject* Sender);
    void CBStyleChange(TObject* Sender);
    void CBStyleDrawItem(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State);
    void BPointFillColorClick(TObject* Sender);
    void CBDefBrushColorClick(TObject* Sender);
    void BPoinPenColClick(TObject* Sender);
    void CBIgnoreNullsClick(TObject* Sender);
    void Button2Click(TObject* Sender);
    void TBTranspChange(TObject* Sender);
    void CBColorEachClick(TObject* Sender);
    void BGradientClick(TObject* Sender);

protected:
    void BindComponents() override;

private:
    // Handlers write only while the form shows and is not loading its controls.
    bool Writing() const;
    void EnableVisibleControls(bool Visible);
    void Enable3DPoint();
    void CheckDefColor();
    void RepaintColorButtons();

    TSeriesPointer* FPointer = nullptr;
    TCustomSeries* FSeries = nullptr;
    bool FFilling = false;
};

// Edits Pointer in a modal dialog with a "Close" button; true when it was shown.
bool EditSeriesPointer(TComponent* AOwner, TSeriesPointer* Pointer);

// Adds a page titled Title at index 1 of the series page that holds Parent, with a pointer
// editor for Pointer embedded in it, and returns the editor.
TSeriesPointerEditor* ZuzInsertPointerForm(TWinControl* Parent, TSeriesPointer* Pointer, const String& Title);

void RegisterZuzPoEdiClasses();
