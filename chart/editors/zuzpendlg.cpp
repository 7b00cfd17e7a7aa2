#include "chart/editors/zuzpendlg.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "platform/core/sysutils.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/stdctrls.h"

#include <algorithm>
#include <vector>

// ---------------------------------------------------------------------------
// Forms alone and embedded

void PositionToCenter(TCustomForm* Form) {
    Form->SetPosition(Form->GetOwner() ? poOwnerFormCenter : poScreenCenter);
}

namespace {

// The outermost form that holds the control (an embedded form's host).
TCustomForm* TopForm(TControl* Control) {
    TCustomForm* found = nullptr;
    for (TControl* c = Control; c; c = c->GetParent())
        if (auto* f = dynamic_cast<TCustomForm*>(c)) found = f;
    return found;
}

void ScaleControl(TControl* Control, int M, int D) {
    auto scale = [M, D](int v) { return MulDiv(v, M, D); };
    Control->SetBounds(scale(Control->GetLeft()), scale(Control->GetTop()), scale(Control->GetWidth()),
                       scale(Control->GetHeight()));
    if (!Control->GetParentFont()) Control->GetFont()->SetHeight(scale(Control->GetFont()->GetHeight()));
    // An embedded form is now at the new resolution: an editor inserted into it later is scaled to
    // that, not again from the old one.
    if (auto* form = dynamic_cast<TForm*>(Control)) form->SetPixelsPerInch(scale(form->GetPixelsPerInch()));
    if (auto* w = dynamic_cast<TWinControl*>(Control))
        for (int i = 0; i < w->GetControlCount(); ++i) ScaleControl(w->GetControl(i), M, D);
}

} // namespace

TCustomForm* ZuzCreateForm(const ClassInfo& FormClass, TComponent* AOwner) {
    if (auto* control = dynamic_cast<TControl*>(AOwner))
        if (TCustomForm* form = TopForm(control)) AOwner = form;
    if (!FormClass.InheritsFrom(TCustomForm::StaticClass()))
        throw EInvalidOperation(u"%s is not a form class", {IdentToString(FormClass.name)});
    auto* result = static_cast<TCustomForm*>(FormClass.CreateComponent(AOwner));
    result->SetAlign(alNone);
    PositionToCenter(result);
    result->SetBorderStyle(bsDialog);
    return result;
}

void AddFormTo(TCustomForm* Form, TWinControl* AParent) {
    AddFormTo(Form, AParent, static_cast<TObject*>(nullptr));
}

void AddFormTo(TCustomForm* Form, TWinControl* AParent, int Tag) {
    AddFormTo(Form, AParent, static_cast<TObject*>(nullptr));
    Form->SetTag(Tag);
}

void AddFormTo(TCustomForm* Form, TWinControl* AParent, TObject* Tag) {
    const bool parentVisible = AParent->GetVisible();
    Form->SetParentColor(true);
    Form->SetPosition(poDesigned);
    Form->SetBorderStyle(bsNone);
    Form->SetBorderIcons({});
    Form->SetTag(reinterpret_cast<NativeInt>(Tag));
    Form->SetParent(AParent);
    Form->SetLeft(4);
    Form->SetTop(std::max(4, (AParent->GetClientHeight() - Form->GetClientHeight()) / 2));
    ZuzScaleForm(Form);
    Form->Show();
    AParent->SetVisible(parentVisible);
}

void ZuzEmbedInPage(TCustomForm* Form, TWinControl* Page, TObject* Object) {
    Form->SetAlign(alClient);
    ZuzTranslateControl(Form);
    AddFormTo(Form, Page, Object);
}

TCustomForm* ZuzInsertPage(TPageControl* Pages, const ClassInfo& FormClass, int Index, const String& Title,
                           TObject* Object) {
    TComponent* owner = Pages->GetOwner() ? Pages->GetOwner() : Pages;
    auto* sheet = Create<TTabSheet>(owner);
    sheet->SetCaption(Title);
    sheet->SetPageControl(Pages);
    const int last = Pages->GetPageCount() - 1;
    sheet->SetPageIndex(Index < 0 ? last : std::min(Index, last));
    auto* form = static_cast<TCustomForm*>(FormClass.CreateComponent(owner));
    ZuzEmbedInPage(form, sheet, Object);
    return form;
}

TCustomForm* ZuzInsertSeriesForm(TControl* Parent, const ClassInfo& FormClass, int Index, const String& Title,
                                 TObject* Object) {
    for (TControl* c = Parent; c; c = c->GetParent())
        if (auto* sheet = dynamic_cast<TTabSheet*>(c); sheet && sheet->GetPageControl())
            return ZuzInsertPage(sheet->GetPageControl(), FormClass, Index, Title, Object);
    auto* form = static_cast<TCustomForm*>(FormClass.CreateComponent(Parent));
    form->SetCaption(Title);
    form->SetTag(reinterpret_cast<NativeInt>(Object));
    return form;
}

void ZuzScaleForm(TCustomForm* Form) {
    TWinControl* p = Form->GetParent();
    while (p && !dynamic_cast<TCustomForm*>(p)) p = p->GetParent();
    auto* host = dynamic_cast<TForm*>(p);
    if (!host || host->GetPixelsPerInch() == Form->GetPixelsPerInch() || Form->GetPixelsPerInch() <= 0)
        return;
    ZuzScaleFormBy(Form, host->GetPixelsPerInch(), Form->GetPixelsPerInch());
}

void ZuzScaleFormBy(TCustomForm* Form, int M, int D) {
    for (int i = 0; i < Form->GetControlCount(); ++i) ScaleControl(Form->GetControl(i), M, D);
    // The controls that take the form's font have their text scaled through it, after their bounds,
    // so that a label that sizes itself to its text fits the text it shows.
    Form->GetFont()->SetHeight(MulDiv(Form->GetFont()->GetHeight(), M, D));
    ScaleControlMarks(Form, M, D);
    Form->SetBounds(Form->GetLeft(), Form->GetTop(), MulDiv(Form->GetWidth(), M, D),
                    MulDiv(Form->GetHeight(), M, D));
    Form->SetPixelsPerInch(M);
}

void ShowControls(bool Visible, std::span<TControl* const> Controls) {
    for (TControl* c : Controls)
        if (c) c->SetVisible(Visible);
}

void ShowControls(bool Visible, std::initializer_list<TControl*> Controls) {
    ShowControls(Visible, std::span<TControl* const>(Controls.begin(), Controls.size()));
}

// ---------------------------------------------------------------------------
// Questions

bool ZuzYesNo(const String& Message, TControl* Control) {
    Screen->SetCursor(crDefault);
    int x = -1, y = -1;
    if (Control) {
        const TPoint origin = Control->GetClientOrigin();
        x = origin.X + 20;
        y = origin.Y + 30;
    }
    return MessageDlgPos(Message, mtConfirmation, mbYesNo, 0, x, y) == mrYes;
}

bool ZuzYesNoDelete(const String& Name, TControl* Control) {
    return ZuzYesNo(Format(VavIve_SureToDelete, {Name}), Control);
}

// ---------------------------------------------------------------------------
// Lists

void AddDefaultValueFormats(TStrings* Items) {
    Items->Add(VavIve_DefValueFormat);
    for (const char16_t* f :
         {u"0", u"0.0", u"0.#", u"#.#", u"#,##0.00;(#,##0.00)", u"00e-0", u"#.0 \"x10\" E+0", u"#.# x10E-#"})
        Items->Add(f);
}

void MoveList(TCustomListBox* Source, TCustomListBox* Dest) {
    TStrings* from = Source->GetItems();
    std::vector<int> moved;
    for (int i = 0; i < from->GetCount(); ++i)
        if (Source->GetSelected(i)) {
            Dest->GetItems()->AddObject(from->GetStrings(i), from->GetObjects(i));
            moved.push_back(i);
        }
    for (auto it = moved.rbegin(); it != moved.rend(); ++it) from->Delete(*it);
}

void MoveListAll(TStrings* Source, TStrings* Dest) {
    for (int i = 0; i < Source->GetCount(); ++i)
        Dest->AddObject(Source->GetStrings(i), Source->GetObjects(i));
    Source->Clear();
}

void ZuzLoadArrowBitmaps(TBitmap* Up, TBitmap* Down) {
    ZuzLoadBitmap(Up, u"ZuzArrowUp", u"");
    ZuzLoadBitmap(Down, u"ZuzArrowDown", u"");
}

// ---------------------------------------------------------------------------
// Cursors

namespace {

const String kZuzHandIdent = u"crZuzHand";

String WithoutCr(const String& Name) {
    return Name.size() >= 2 && Name.compare(0, 2, u"cr") == 0 ? Name.substr(2) : Name;
}

} // namespace

bool ZuzIdentToCursor(const String& Ident, TCursor& Cursor) {
    if (Ident == kZuzHandIdent) {
        Cursor = static_cast<TCursor>(crZuzHand);
        return true;
    }
    std::int32_t c = 0;
    if (!IdentToCursor(UTF8Encode(Ident), c)) return false;
    Cursor = static_cast<TCursor>(c);
    return true;
}

bool ZuzCursorToIdent(TCursor Cursor, String& Ident) {
    if (Cursor == crZuzHand) {
        Ident = kZuzHandIdent;
        return true;
    }
    std::string ident;
    if (!CursorToIdent(Cursor, ident)) return false;
    Ident = IdentToString(ident);
    return true;
}

TCursor ZuzSetCursor(TCursor Default, const String& Name) {
    TCursor c = Default;
    return ZuzIdentToCursor(u"cr" + Name, c) ? c : Default;
}

void ZuzFillCursors(TComboFlat* Combo, TCursor Cursor) {
    TStrings* items = Combo->GetItems();
    items->BeginUpdate();
    struct EndUpdate {
        TStrings* s;
        ~EndUpdate() { s->EndUpdate(); }
    } end{items};
    items->Clear();
    GetCursorValues([items](const String& Name) { items->Add(WithoutCr(Name)); });
    items->Add(u"ZuzHand");
    String ident;
    Combo->SetItemIndex(ZuzCursorToIdent(Cursor, ident) ? items->IndexOf(WithoutCr(ident)) : -1);
}

void ZuzPreviewCursor(TCursor Cursor, TPicture* Picture) {
    auto bitmap = MakeOwned<TBitmap>();
    if (!DrawCursorPicture(bitmap.get(), Cursor)) {
        Picture->Assign(nullptr);
        return;
    }
    Picture->Assign(bitmap.get());
}

// ---------------------------------------------------------------------------
// TPenDialog

const ClassInfo& TPenDialog::StaticClass() {
    using F = TPenDialog;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::CBVisibleClick>("CBVisibleClick"),
        MakeMethod<&F::SEWidthChange>("SEWidthChange"),
        MakeMethod<&F::CBStyleChange>("CBStyleChange"),
        MakeMethod<&F::CBStyleDrawItem>("CBStyleDrawItem"),
        MakeMethod<&F::ESpaceChange>("ESpaceChange"),
        MakeMethod<&F::CBEndStyleChange>("CBEndStyleChange"),
        MakeMethod<&F::BColorClick>("BColorClick"),
        MakeMethod<&F::BCancelClick>("BCancelClick"),
    };
    static const ClassInfo ci = MakeClassInfo<TPenDialog>("TPenDialog", &TForm::StaticClass(), methods);
    return ci;
}

TPenDialog::TPenDialog(TComponent* AOwner) : TForm(AOwner) {}
TPenDialog::~TPenDialog() = default;

void TPenDialog::BindComponents() {
    Bind(CBVisible, u"CBVisible");
    Bind(SEWidth, u"SEWidth");
    Bind(LWidth, u"LWidth");
    Bind(BOk, u"BOk");
    Bind(BCancel, u"BCancel");
    Bind(UDWidth, u"UDWidth");
    Bind(LStyle, u"LStyle");
    Bind(CBStyle, u"CBStyle");
    Bind(BColor, u"BColor");
    Bind(CBEndStyle, u"CBEndStyle");
    Bind(LSpace, u"LSpace");
    Bind(ESpace, u"ESpace");
    Bind(UDSpace, u"UDSpace");
}

TChartPen* TPenDialog::ChartPen() const {
    return dynamic_cast<TChartPen*>(ThePen);
}

void TPenDialog::EnableWidthAndSpace(bool SmallDots) {
    UDWidth->SetEnabled(!SmallDots);
    SEWidth->SetEnabled(!SmallDots);
    UDSpace->SetEnabled(SmallDots);
    ESpace->SetEnabled(SmallDots);
}

void TPenDialog::CheckStyle() {
    if (!IsWindowsNT) CBStyle->SetEnabled(ThePen->GetWidth() == 1);
}

void TPenDialog::FormShow(TObject*) {
    if (!ThePen) return;
    // While the controls take the pen's values their handlers must write nothing back.
    const TRestoreOnExit<bool> filling(FFilling, true);
    if (!FBackupPen) FBackupPen = MakeOwned<TChartPen>();
    FBackupPen->Assign(ThePen);
    TChartPen* pen = ChartPen();
    if (!pen) {
        CBVisible->SetVisible(false);
        CBStyle->SetItemIndex(ThePen->GetStyle());
    } else {
        CBVisible->SetChecked(pen->GetVisible());
        FBackupPen->SetVisible(pen->GetVisible());
        if (IsWindowsNT && CBStyle->GetItems()->GetCount() < 6) CBStyle->GetItems()->Add(VavIve_SmallDotsPen);
        if (pen->GetSmallDots()) {
            CBStyle->SetItemIndex(CBStyle->GetItems()->GetCount() - 1);
            EnableWidthAndSpace(true);
        } else {
            CBStyle->SetItemIndex(ThePen->GetStyle());
        }
        if (!IsWindowsNT)
            CBEndStyle->SetVisible(false);
        else
            CBEndStyle->SetItemIndex(pen->GetEndStyle());
        UDSpace->SetPosition(pen->GetSmallSpace());
    }
    UDWidth->SetPosition(ThePen->GetWidth());
    CheckStyle();
    BColor->LinkProperty(ThePen, u"Color");
    if (!FTranslated) {
        FTranslated = true;
        ZuzTranslateControl(this);
    }
    FModified = false;
}

bool TPenDialog::Writing() const {
    return ThePen && !FFilling && GetShowing();
}

void TPenDialog::CBVisibleClick(TObject*) {
    if (!Writing()) return;
    if (TChartPen* pen = ChartPen()) pen->SetVisible(CBVisible->GetChecked());
    FModified = true;
}

void TPenDialog::SEWidthChange(TObject*) {
    if (!Writing()) return;
    ThePen->SetWidth(UDWidth->GetPosition());
    CheckStyle();
    FModified = true;
}

void TPenDialog::CBStyleChange(TObject*) {
    if (!ThePen || FFilling) return;
    TChartPen* pen = ChartPen();
    const int index = CBStyle->GetItemIndex();
    if (index < 0) return;
    if (pen && IsWindowsNT && index == CBStyle->GetItems()->GetCount() - 1 && index >= 5) {
        pen->SetSmallDots(true);
        EnableWidthAndSpace(true);
    } else {
        ThePen->SetStyle(static_cast<TPenStyle>(index));
        if (pen) pen->SetSmallDots(false);
        EnableWidthAndSpace(false);
    }
    FModified = true;
}

void TPenDialog::ESpaceChange(TObject*) {
    if (!Writing()) return;
    if (TChartPen* pen = ChartPen()) pen->SetSmallSpace(UDSpace->GetPosition());
    FModified = true;
}

void TPenDialog::CBEndStyleChange(TObject*) {
    if (!ThePen || FFilling) return;
    const int index = CBEndStyle->GetItemIndex();
    if (TChartPen* pen = ChartPen(); pen && index >= 0) pen->SetEndStyle(static_cast<TPenEndStyle>(index));
    FModified = true;
}

void TPenDialog::BColorClick(TObject*) {
    CBStyle->Repaint();
    FModified = true;
}

void TPenDialog::BCancelClick(TObject*) {
    if (FModified && ThePen && FBackupPen) {
        // Put back quietly, then told once, by the dialog.
        {
            struct Quiet {
                TPen* p;
                TNotifyEvent change;
                ~Quiet() { p->OnChange = change; }
            } quiet{ThePen, ThePen->OnChange};
            ThePen->OnChange = {};
            ThePen->Assign(FBackupPen.get());
            if (TChartPen* pen = ChartPen()) pen->SetVisible(FBackupPen->GetVisible());
        }
        if (ThePen->OnChange) ThePen->OnChange(this);
    }
    SetModalResult(mrCancel);
}

void TPenDialog::CBStyleDrawItem(TWinControl*, int Index, TRect Rect, TOwnerDrawState State) {
    TCanvas* canvas = CBStyle->GetCanvas();
    if (!canvas || !ThePen) return;
    const TColor back = State.Contains(odSelected) ? clHighlight : CBStyle->GetColor();
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(back);
    canvas->FillRect(Rect);
    TColor color = ThePen->GetColor();
    if (ColorToRGB(color) == ColorToRGB(back))
        color = ColorToRGB(color) == ColorToRGB(clWhite) ? clBlack : clWhite;
    const bool smallDots = ChartPen() && IsWindowsNT && Index == 5;
    if (smallDots) {
        canvas->GetPen()->SetHandle(ZuzCreatePenSmallDots(color, 0));
    } else {
        canvas->GetPen()->SetColor(color);
        canvas->GetPen()->SetWidth(1);
        canvas->GetPen()->SetStyle(
            static_cast<TPenStyle>(std::clamp(Index, 0, static_cast<int>(psDashDotDot))));
    }
    canvas->MoveTo(Rect.Left + 2, Rect.Top + 8);
    canvas->LineTo(Rect.Left + 30, Rect.Top + 8);
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->GetFont()->SetColor(State.Contains(odSelected) ? clHighlightText : clWindowText);
    if (Index >= 0 && Index < CBStyle->GetItems()->GetCount())
        canvas->TextOut(Rect.Left + 34, Rect.Top + 2, CBStyle->GetItems()->GetStrings(Index));
}

bool EditChartPen(TComponent* AOwner, TChartPen* Pen, bool HideColor) {
    TFormFreer<TPenDialog> dialog(ZuzCreateForm<TPenDialog>(AOwner));
    dialog->ThePen = Pen;
    if (HideColor) dialog->BColor->SetVisible(false);
    return dialog->ShowModal() == mrOk;
}

// ---------------------------------------------------------------------------
// TButtonPen

const ClassInfo& TButtonPen::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TButtonPen>("TButtonPen", &TZuzButton::StaticClass());
    return ci;
}

TButtonPen::TButtonPen(TComponent* AOwner) : TZuzButton(AOwner) {}

void TButtonPen::BeforeDestruction() {
    if (FEditor) {
        FEditor->OnDestroy = FOldDestroy;
        FEditor = nullptr;
    }
    TZuzButton::BeforeDestruction();
}

void TButtonPen::LinkPen(TChartPen* Value) {
    LinkProperty(Value, u"");
    Repaint();
}

TChartPen* TButtonPen::GetPen() const {
    return dynamic_cast<TChartPen*>(GetInstance());
}

void TButtonPen::EditorDestroyed(TObject* Sender) {
    if (FOldDestroy) FOldDestroy(Sender);
    FEditor = nullptr;
}

void TButtonPen::Click() {
    TChartPen* pen = GetPen();
    if (!pen) {
        TZuzButton::Click();
        return;
    }
    // The dialog lives for this click only; it is freed however the show ends.
    TFormFreer<TPenDialog> editor(ZuzCreateForm<TPenDialog>(this));
    FEditor = editor.get();
    FOldDestroy = FEditor->OnDestroy;
    FEditor->OnDestroy.Bind(this, &TButtonPen::EditorDestroyed);
    FEditor->ThePen = pen;
    if (HideColor) FEditor->BColor->SetVisible(false);
    if (FEditor->ShowModal() == mrOk) {
        Repaint();
        TZuzButton::Click();
    }
}

void TButtonPen::DrawSymbol(TZuzCanvas* Canvas) {
    TChartPen* pen = GetPen();
    if (!GetEnabled() || !pen) return;
    // A wide pen is drawn 6 pixels wide, without the pen telling anyone it changed.
    struct PutBack {
        TChartPen* p;
        int width;
        TNotifyEvent change;
        ~PutBack() {
            if (p->GetWidth() != width) p->SetWidth(width);
            p->OnChange = change;
        }
    } putBack{pen, pen->GetWidth(), pen->OnChange};
    pen->OnChange = {};
    if (putBack.width > 6) pen->SetWidth(6);
    Canvas->Brush->SetStyle(bsClear);
    Canvas->AssignVisiblePen(pen);
    Canvas->DoHorizLine(GetWidth() - 17, GetWidth() - 6, GetHeight() / 2);
}

void RegisterZuzPenDlgClasses() {
    RegisterClasses({&TPenDialog::StaticClass(), &TButtonPen::StaticClass()});
}
