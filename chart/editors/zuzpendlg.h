#pragma once
// The pen dialog, the button that shows a pen and opens it, and the free functions every
// editor form uses: creating, placing, embedding and scaling forms, yes/no questions, value
// formats, cursor names and moving items between lists.

#include "chart/canvas/zuzcontrols.h"
#include "platform/gui/forms.h"

#include <initializer_list>
#include <span>

class TBitmap;
class TCheckBox;
class TCustomListBox;
class TEdit;
class TLabel;
class TPageControl;
class TPicture;
class TStrings;
class TUpDown;

// ---------------------------------------------------------------------------
// Forms alone and embedded

// Centres the form on its owner form when it has an owner, else on the screen.
void PositionToCenter(TCustomForm* Form);

// Creates a form of the class through its virtual constructor, for a modal show: owned by the
// form that holds Owner when Owner is a control on a form, else by Owner; not aligned, centred,
// with a dialog border. The owner frees it; a modal show frees it itself (see TFormFreer).
TCustomForm* ZuzCreateForm(const ClassInfo& FormClass, TComponent* AOwner);
template <class T>
T* ZuzCreateForm(TComponent* AOwner) {
    return static_cast<T*>(ZuzCreateForm(T::StaticClass(), AOwner));
}

// Frees a form made for one modal show when the scope ends, an exception passing included.
template <class T>
using TFormFreer = Owned<T>;

// Embeds a form as a borderless child of Parent, 4 pixels from its left and centred up and
// down (never above 4), and shows it. Its Tag becomes 0, the integer or the object.
void AddFormTo(TCustomForm* Form, TWinControl* AParent);
void AddFormTo(TCustomForm* Form, TWinControl* AParent, int Tag);
void AddFormTo(TCustomForm* Form, TWinControl* AParent, TObject* Tag);

// Fills Page with Form, aligned to its client area and translated, with Object in Tag.
void ZuzEmbedInPage(TCustomForm* Form, TWinControl* Page, TObject* Object);
// Adds a page titled Title at Index (-1 or past the end: the last place) of Pages and embeds a
// new form of the class there for Object.
TCustomForm* ZuzInsertPage(TPageControl* Pages, const ClassInfo& FormClass, int Index, const String& Title,
                           TObject* Object);
// The same on the page control that holds Parent. Without one around, the form is made owned by
// Parent, titled Title and tagged with Object, for the caller to place. Series-type editors add
// their own pages with it.
TCustomForm* ZuzInsertSeriesForm(TControl* Parent, const ClassInfo& FormClass, int Index, const String& Title,
                                 TObject* Object);
template <class T>
T* ZuzInsertSeriesForm(TControl* Parent, int Index, const String& Title, TObject* Object) {
    return static_cast<T*>(ZuzInsertSeriesForm(Parent, T::StaticClass(), Index, Title, Object));
}

// The line of an alignment box listing "Left", "Center", "Right", and back.
inline int ZuzAlignmentLine(TAlignment Alignment) {
    return Alignment == taLeftJustify ? 0 : Alignment == taCenter ? 1 : 2;
}
inline TAlignment ZuzLineAlignment(int Line) {
    return Line == 0 ? taLeftJustify : Line == 1 ? taCenter : taRightJustify;
}

// The object a component's Tag holds (the edited series, pen, tool...), or nullptr.
inline TObject* ZuzTagObject(const TComponent* Component) {
    return reinterpret_cast<TObject*>(Component->GetTag());
}
template <class T>
T* ZuzTagObject(const TComponent* Component) {
    return dynamic_cast<T*>(ZuzTagObject(Component));
}

// Scales an embedded form to the pixels per inch of the form that holds it.
void ZuzScaleForm(TCustomForm* Form);
// Scales a form's controls, fonts and size by M/D and takes M as its pixels per inch.
void ZuzScaleFormBy(TCustomForm* Form, int M, int D);

// Visible of every control given (nullptr entries skipped).
void ShowControls(bool Visible, std::span<TControl* const> Controls);
void ShowControls(bool Visible, std::initializer_list<TControl*> Controls);

// ---------------------------------------------------------------------------
// Questions

// A Yes/No confirmation box, its top-left 20 pixels right of and 30 below the control's client
// origin, or in the box's default place without a control. True only for Yes.
bool ZuzYesNo(const String& Message, TControl* Control = nullptr);
// ZuzYesNo with "Delete <Name> ?".
bool ZuzYesNoDelete(const String& Name, TControl* Control = nullptr);

// ---------------------------------------------------------------------------
// Lists

// Appends the value formats every format combo offers.
void AddDefaultValueFormats(TStrings* Items);
// Every selected item of Source, in order and with its object, goes to the end of Dest.
void MoveList(TCustomListBox* Source, TCustomListBox* Dest);
// Every item of Source with its object goes to the end of Dest; Source is left empty.
void MoveListAll(TStrings* Source, TStrings* Dest);
// The small arrow glyphs "ZuzArrowUp" and "ZuzArrowDown".
void ZuzLoadArrowBitmaps(TBitmap* Up, TBitmap* Down);

// ---------------------------------------------------------------------------
// Cursors by name: the class library's names plus "crZuzHand" (the chart library's hand, 2020).

bool ZuzIdentToCursor(const String& Ident, TCursor& Cursor);
bool ZuzCursorToIdent(TCursor Cursor, String& Ident);
// The cursor named "cr" + Name, else Default.
TCursor ZuzSetCursor(TCursor Default, const String& Name);
// Fills the combo with every cursor name without its "cr", then "ZuzHand", and selects the
// cursor's name (nothing for a cursor without one).
void ZuzFillCursors(TComboFlat* Combo, TCursor Cursor);
// A picture of the cursor at the system cursor size; an empty picture for a cursor the screen
// does not have.
void ZuzPreviewCursor(TCursor Cursor, TPicture* Picture);

// ---------------------------------------------------------------------------
// The pen dialog

class TPenDialog : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TPenDialog(TComponent* AOwner);
    ~TPenDialog() override;

    TCheckBox* CBVisible = nullptr;
    TEdit* SEWidth = nullptr;
    TLabel* LWidth = nullptr;
    TButton* BOk = nullptr;
    TButton* BCancel = nullptr;
    TUpDown* UDWidth = nullptr;
    TLabel* LStyle = nullptr;
    TComboFlat* CBStyle = nullptr;
    TButtonColor* BColor = nullptr;
    TComboFlat* CBEndStyle = nullptr;
    TLabel* LSpace = nullptr;
    TEdit* ESpace = nullptr;
    TUpDown* UDSpace = nullptr;

    // The pen edited (not owned), normally a chart pen; set before the form is shown.
    TPen* ThePen = nullptr;
    // True once a control changed the pen since the dialog was last shown.
    bool GetModified() const { return FModified; }

    void FormShow(TObject* Sender);
    void CBVisibleClick(TObject* Sender);
    void SEWidthChange(TObject* Sender);
    void CBStyleChange(TObject* Sender);
    void CBStyleDrawItem(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State);
    void ESpaceChange(TObject* Sender);
    void CBEndStyleChange(TObject* Sender);
    virtual void BColorClick(TObject* Sender);
    void BCancelClick(TObject* Sender);

protected:
    void BindComponents() override;
    // The width and space controls for small dots on or off.
    void EnableWidthAndSpace(bool SmallDots);
    // The style combo only for width 1 where the system draws no wide styled pens.
    void CheckStyle();
    TChartPen* ChartPen() const;
    // Handlers write only while the form is showing and not filling its controls.
    bool Writing() const;

private:
    Owned<TChartPen> FBackupPen;
    bool FModified = false;
    bool FFilling = false;
    bool FTranslated = false;
};

// Edits the pen in a modal pen dialog (its colour button hidden when HideColor); true on OK.
bool EditChartPen(TComponent* AOwner, TChartPen* Pen, bool HideColor = false);

// ---------------------------------------------------------------------------
// The pen button

class TButtonPen : public TZuzButton {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TButtonPen(TComponent* AOwner);
    void BeforeDestruction() override;

    void LinkPen(TChartPen* Value);
    TChartPen* GetPen() const;
    // With a pen: edits it in a pen dialog and, on OK, repaints and runs OnClick. Without:
    // only OnClick.
    void Click() override;
    void DrawSymbol(TZuzCanvas* Canvas) override;
    // The pen dialog while it is open, else nullptr.
    TPenDialog* GetEditor() const { return FEditor; }

    // Passed on to the dialog: its colour button is hidden.
    bool HideColor = false;

private:
    void EditorDestroyed(TObject* Sender);
    TPenDialog* FEditor = nullptr;
    TNotifyEvent FOldDestroy;
};

// The editor units' classes, for streams and virtual construction.
void RegisterZuzPenDlgClasses();
