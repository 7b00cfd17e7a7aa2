#include "chart/editors/zuzedigrad.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzgallerypanel.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartwalls.h"
#include "platform/core/sysutils.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

#include <array>
#include <utility>

namespace {

constexpr TColor C(unsigned Value) {
    return static_cast<TColor>(Value);
}

// Colours as 0xBBGGRR; clNone: no middle colour.
const std::array<TGradientTheme, ZuzGradientThemeCount> kThemes = {{
    {u"Caribe Sun", C(0xDDDFD2), C(0xF50A97), C(0x0B80F4), 50, 0},
    {u"Business", C(0xC0C0C0), C(0xFFFFFF), C(0x808080), 50, 0},
    {u"Hot", C(0x0000FF), clNone, C(0x00FFFF), 50, 0},
    {u"Ace", C(0x000000), C(0xFF8080), C(0x000000), 74, 1},
    {u"Farm", C(0x006AD5), C(0xFFFFFF), C(0x0062C4), 4, 1},
    {u"Sea", C(0xFFFF80), C(0xFF8080), C(0x800000), 55, 1},
    {u"Night", C(0xFFFFFF), C(0x800040), C(0x000000), 40, 0},
    {u"Space", C(0xA50320), C(0x800040), C(0xFFFFFF), 50, 5},
    {u"Golf", C(0x159902), C(0xC0C0C0), C(0xD9F986), 50, 0},
    {u"Funky", C(0xBD3881), C(0x87607A), C(0x52EB85), 50, 0},
    {u"Sunset", C(0xB85A06), C(0xA7D8AF), C(0x001042), 50, 0},
    {u"Rainbow", C(0xA11EE8), C(0x0F8355), C(0xDD011A), 50, 0},
    {u"Pastel", C(0x247489), C(0x9491F6), C(0xFD8B9D), 50, 0},
    {u"Tropical", C(0x9A414B), C(0x732FF3), C(0x20D761), 50, 0},
    {u"Sea 2", C(0x4C031C), C(0xBACBE1), C(0x291EF9), 50, 0},
    {u"Desert", C(0x265FB7), C(0xCE7185), C(0x604457), 50, 0},
    {u"Clear day", C(0xFFF3EA), C(0xE0E6E9), C(0xCEDBFF), 50, 0},
}};

// Directions 4-7 (from centre, from top left, from bottom left, radial) have no middle colour.
bool UsesMiddle(int Direction) {
    return Direction < 4 || Direction > 7;
}

bool IsRectangular(int Direction) {
    return Direction >= 0 && Direction <= 3;
}

} // namespace

const TGradientTheme& ZuzGradientTheme(int Index) {
    return kThemes.at(static_cast<std::size_t>(Index));
}

// ---------------------------------------------------------------------------
// TPreviewGradient

const ClassInfo& TPreviewGradient::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TPreviewGradient>("TPreviewGradient", &TCustomZuzPanelExtended::StaticClass());
    return ci;
}

TPreviewGradient::TPreviewGradient(TComponent* AOwner) : TCustomZuzPanelExtended(AOwner) {}

void TPreviewGradient::InternalDraw(const TRect& UserRect) {
    PanelPaint(UserRect);
}

// ---------------------------------------------------------------------------
// TZuzGradientEditor

const ClassInfo& TZuzGradientEditor::StaticClass() {
    using E = TZuzGradientEditor;
    static const MethodInfo methods[] = {
        MakeMethod<&E::FormCreate>("FormCreate"),
        MakeMethod<&E::FormShow>("FormShow"),
        MakeMethod<&E::CBVisibleClick>("CBVisibleClick"),
        MakeMethod<&E::CBDirectionChange>("CBDirectionChange"),
        MakeMethod<&E::DirectionsChangeChart>("DirectionsChangeChart"),
        MakeMethod<&E::BStartClick>("BStartClick"),
        MakeMethod<&E::BEndClick>("BEndClick"),
        MakeMethod<&E::BMidClick>("BMidClick"),
        MakeMethod<&E::CBMidClick>("CBMidClick"),
        MakeMethod<&E::BSwapClick>("BSwapClick"),
        MakeMethod<&E::SBBalanceChange>("SBBalanceChange"),
        MakeMethod<&E::TrackBar1Change>("TrackBar1Change"),
        MakeMethod<&E::TrackBar2Change>("TrackBar2Change"),
        MakeMethod<&E::EAngleChange>("EAngleChange"),
        MakeMethod<&E::SBTranspChange>("SBTranspChange"),
        MakeMethod<&E::CBSubVisibleClick>("CBSubVisibleClick"),
        MakeMethod<&E::BCancelClick>("BCancelClick"),
        MakeMethod<&E::GalleryClick>("GalleryClick"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TZuzGradientEditor>("TZuzGradientEditor", &TForm::StaticClass(), methods);
    return ci;
}

TZuzGradientEditor::TZuzGradientEditor(TComponent* AOwner) : TForm(AOwner) {}

TZuzGradientEditor::TZuzGradientEditor(TComponent* AOwner, TCustomZuzGradient* Gradient)
    : TForm(AOwner), FEmbedded(Gradient) {}

TZuzGradientEditor::~TZuzGradientEditor() = default;

void TZuzGradientEditor::AfterConstruction() {
    TForm::AfterConstruction();
    if (!FEmbedded) return;
    SetTag(reinterpret_cast<NativeInt>(FEmbedded));
    Panel1->SetVisible(false);
    BOk->SetVisible(false);
    BCancel->SetVisible(false);
    SetHeight(GetHeight() - Panel1->GetHeight());
}

void TZuzGradientEditor::BindComponents() {
    Bind(PageControl1, u"PageControl1");
    Bind(TabSheet1, u"TabSheet1");
    Bind(TabSheet2, u"TabSheet2");
    Bind(Label4, u"Label4");
    Bind(SBBalance, u"SBBalance");
    Bind(LabelBalance, u"LabelBalance");
    Bind(GroupBox2, u"GroupBox2");
    Bind(Label2, u"Label2");
    Bind(Label3, u"Label3");
    Bind(LRadialX, u"LRadialX");
    Bind(LRadialY, u"LRadialY");
    Bind(TrackBar1, u"TrackBar1");
    Bind(TrackBar2, u"TrackBar2");
    Bind(BSwap, u"BSwap");
    Bind(BStart, u"BStart");
    Bind(BEnd, u"BEnd");
    Bind(BMid, u"BMid");
    Bind(CBMid, u"CBMid");
    Bind(Panel1, u"Panel1");
    Bind(BOk, u"BOk");
    Bind(BCancel, u"BCancel");
    Bind(Panel2, u"Panel2");
    Bind(CBVisible, u"CBVisible");
    Bind(Label1, u"Label1");
    Bind(CBDirection, u"CBDirection");
    Bind(TabSheet3, u"TabSheet3");
    Bind(Gallery, u"Gallery");
    Bind(Panel3, u"Panel3");
    Bind(Panel4, u"Panel4");
    Bind(Panel5, u"Panel5");
    Bind(Panel6, u"Panel6");
    Bind(Panel7, u"Panel7");
    Bind(TabSheet4, u"TabSheet4");
    Bind(Directions, u"Directions");
    Bind(TabSheet5, u"TabSheet5");
    Bind(Label5, u"Label5");
    Bind(SBTransp, u"SBTransp");
    Bind(BSubEdit, u"BSubEdit");
    Bind(CBSubVisible, u"CBSubVisible");
    Bind(Label6, u"Label6");
    Bind(EAngle, u"EAngle");
    Bind(UDAngle, u"UDAngle");
}

void TZuzGradientEditor::FormCreate(TObject*) {
    SetAlign(alClient);
    SetBorderStyle(bsDialog);
    FPreview = Create<TPreviewGradient>(this);
    FPreview->SetParent(TabSheet3);
    FPreview->SetAlign(alClient);

    for (int i = 0; i < ZuzGradientThemeCount; ++i)
        Gallery->GetItems()->AddObject(kThemes[static_cast<std::size_t>(i)].Name,
                                       reinterpret_cast<TObject*>(static_cast<NativeInt>(i)));

    // The ten directions as small 2D charts whose back wall shows the gradient.
    Directions->SetNumRows(2);
    Directions->SetNumCols(5);
    for (int i = 0; i < 10; ++i) {
        auto* chart = Create<TGalleryChart>(Directions);
        Directions->AddChart(chart);
        chart->SetHint(CBDirection->GetItems()->GetStrings(i));
        chart->SetShowHint(true);
        chart->SetView3D(false);
        chart->GetAxes()->SetVisible(false);
        TChartWall* back = chart->GetBackWall();
        back->SetTransparent(false);
        TZuzGradient* g = back->GetGradient();
        g->SetVisible(true);
        g->SetDirection(static_cast<TGradientDirection>(i));
        chart->SetMarginLeft(16);
        chart->SetMarginTop(22);
        chart->SetMarginRight(16);
        chart->SetMarginBottom(22);
    }
    Directions->ResizeCharts();
    ZuzTranslateControl(Directions);
    PageControl1->SetActivePage(TabSheet1);
}

void TZuzGradientEditor::FormShow(TObject*) {
    TCustomZuzGradient* g = FGradient ? FGradient : reinterpret_cast<TCustomZuzGradient*>(GetTag());
    RefreshGradient(g);
    FModified = false;
    ZuzTranslateControl(this);
}

void TZuzGradientEditor::RefreshGradient(TCustomZuzGradient* Gradient) {
    const TRestoreOnExit<bool> filling(FFilling, true);
    FGradient = Gradient;
    SetTag(reinterpret_cast<NativeInt>(Gradient));
    BStart->LinkProperty(Gradient, u"StartColor");
    BMid->LinkProperty(Gradient, u"MidColor");
    BEnd->LinkProperty(Gradient, u"EndColor");
    if (!Gradient) return;
    FBackup = MakeOwned<TZuzGradient>();
    FBackup->Assign(Gradient);
    RefreshControls();
    EnableByVisible();
    EnableByDirection();
    SetPreview();
    SelectDirectionChart(Gradient->GetDirection());
}

void TZuzGradientEditor::RefreshControls() {
    if (!FGradient) return;
    const TRestoreOnExit<bool> filling(FFilling, true);
    SBBalance->SetPosition(FGradient->GetBalance());
    LabelBalance->SetCaption(FormatFloat(VavIve_DefPercentFormat, FGradient->GetBalance()));
    CBVisible->SetChecked(FGradient->GetVisible());
    CBDirection->SetItemIndex(FGradient->GetDirection());
    CBMid->SetChecked(FGradient->GetMidColor() == clNone);
    TrackBar1->SetPosition(FGradient->GetRadialX());
    LRadialX->SetCaption(IntToStr(FGradient->GetRadialX()));
    TrackBar2->SetPosition(FGradient->GetRadialY());
    LRadialY->SetCaption(IntToStr(FGradient->GetRadialY()));
    UDAngle->SetPosition(FGradient->GetAngle());
    TSubGradient* sub = FGradient->GetSub();
    BSubEdit->LinkGradient(sub);
    SBTransp->SetPosition(sub->GetTransparency());
    CBSubVisible->SetChecked(sub->GetVisible());
    BStart->Invalidate();
    BMid->Invalidate();
    BEnd->Invalidate();
    DirectionChartsColors();
}

void TZuzGradientEditor::DirectionChartsColors() {
    if (!FGradient) return;
    for (int i = 0; i < Directions->ChartCount(); ++i) {
        TZuzGradient* g = Directions->GetChart(i)->GetBackWall()->GetGradient();
        g->SetStartColor(FGradient->GetStartColor());
        g->SetMidColor(FGradient->GetMidColor());
        g->SetEndColor(FGradient->GetEndColor());
    }
}

void TZuzGradientEditor::SetPreview() {
    if (!FGradient) return;
    TZuzGradient* g = FPreview->GetGradient();
    g->SetVisible(FGradient->GetVisible());
    g->SetDirection(FGradient->GetDirection());
    g->SetStartColor(FGradient->GetStartColor());
    g->SetMidColor(FGradient->GetMidColor());
    g->SetEndColor(FGradient->GetEndColor());
    DirectionChartsColors();
}

void TZuzGradientEditor::SelectDirectionChart(int Direction) {
    if (Direction >= 0 && Direction < Directions->ChartCount()) {
        const TRestoreOnExit<bool> filling(FFilling, true);
        Directions->SelectChart(Directions->GetChart(Direction));
    }
}

void TZuzGradientEditor::EnableByVisible() {
    const bool on = AlwaysEnabled || (FGradient && FGradient->GetVisible());
    for (TControl* c :
         std::initializer_list<TControl*>{CBDirection, BStart, CBMid, BMid, BEnd, BSwap, Gallery})
        c->SetEnabled(on);
}

void TZuzGradientEditor::EnableByDirection() {
    const int direction = FGradient ? FGradient->GetDirection() : 0;
    const bool middle = AlwaysEnabled || (FGradient && FGradient->GetVisible() && UsesMiddle(direction));
    CBMid->SetEnabled(middle);
    BMid->SetEnabled(middle);
    const bool radial = direction == gdRadial;
    for (TControl* c : std::initializer_list<TControl*>{Label2, Label3, TrackBar1, TrackBar2})
        c->SetEnabled(radial);
}

void TZuzGradientEditor::ApplyTheme(int Index) {
    if (!FGradient || Index < 0 || Index >= ZuzGradientThemeCount) return;
    const TGradientTheme& t = kThemes[static_cast<std::size_t>(Index)];
    FGradient->SetStartColor(t.Start);
    FGradient->SetMidColor(t.Middle);
    FGradient->SetEndColor(t.End);
    FGradient->SetDirection(static_cast<TGradientDirection>(t.Direction));
    FGradient->SetBalance(t.Balance);
    FModified = true;
    RefreshControls();
    SetPreview();
}

void TZuzGradientEditor::GalleryClick(TObject*) {
    if (!Writing()) return;
    const int item = Gallery->GetItemIndex();
    if (item < 0) return;
    ApplyTheme(static_cast<int>(reinterpret_cast<NativeInt>(Gallery->GetItems()->GetObjects(item))));
}

void TZuzGradientEditor::CBVisibleClick(TObject*) {
    if (!Writing()) return;
    FGradient->SetVisible(CBVisible->GetChecked());
    FModified = true;
    EnableByVisible();
    EnableByDirection();
    SetPreview();
}

void TZuzGradientEditor::CBDirectionChange(TObject*) {
    if (!Writing()) return;
    const int direction = CBDirection->GetItemIndex();
    if (direction < 0) return;
    FGradient->SetDirection(static_cast<TGradientDirection>(direction));
    FModified = true;
    EnableByDirection();
    if (!IsRectangular(direction)) Gallery->SetItemIndex(-1);
    SetPreview();
    SelectDirectionChart(direction);
}

void TZuzGradientEditor::DirectionsChangeChart(TObject*) {
    if (!Writing()) return;
    const int direction = Directions->Charts().IndexOf(Directions->SelectedChart());
    if (direction < 0) return;
    FGradient->SetDirection(static_cast<TGradientDirection>(direction));
    FModified = true;
    {
        const TRestoreOnExit<bool> filling(FFilling, true);
        CBDirection->SetItemIndex(direction);
    }
    EnableByDirection();
    SetPreview();
}

void TZuzGradientEditor::BStartClick(TObject*) {
    if (!Writing()) return;
    FModified = true;
    SetPreview();
}

void TZuzGradientEditor::BEndClick(TObject* Sender) {
    BStartClick(Sender);
}

void TZuzGradientEditor::BMidClick(TObject*) {
    if (!Writing()) return;
    FModified = true;
    {
        const TRestoreOnExit<bool> filling(FFilling, true);
        CBMid->SetChecked(FGradient->GetMidColor() == clNone);
    }
    SetPreview();
}

void TZuzGradientEditor::CBMidClick(TObject*) {
    if (!Writing()) return;
    if (CBMid->GetChecked())
        FGradient->SetMidColor(clNone);
    else {
        FGradient->UseMiddleColor();
        if (FGradient->GetMidColor() == clNone) FGradient->SetMidColor(clWhite);
    }
    FModified = true;
    BMid->Invalidate();
    SetPreview();
}

void TZuzGradientEditor::BSwapClick(TObject*) {
    if (!Writing()) return;
    const TColor start = FGradient->GetStartColor();
    FGradient->SetStartColor(FGradient->GetEndColor());
    FGradient->SetEndColor(start);
    FModified = true;
    BStart->Invalidate();
    BEnd->Invalidate();
    SetPreview();
}

void TZuzGradientEditor::SBBalanceChange(TObject*) {
    if (Writing()) {
        FGradient->SetBalance(SBBalance->GetPosition());
        FModified = true;
    }
    if (FGradient) LabelBalance->SetCaption(FormatFloat(VavIve_DefPercentFormat, FGradient->GetBalance()));
}

void TZuzGradientEditor::TrackBar1Change(TObject*) {
    LRadialX->SetCaption(IntToStr(TrackBar1->GetPosition()));
    if (!Writing()) return;
    FGradient->SetRadialX(TrackBar1->GetPosition());
    FModified = true;
}

void TZuzGradientEditor::TrackBar2Change(TObject*) {
    LRadialY->SetCaption(IntToStr(TrackBar2->GetPosition()));
    if (!Writing()) return;
    FGradient->SetRadialY(TrackBar2->GetPosition());
    FModified = true;
}

void TZuzGradientEditor::EAngleChange(TObject*) {
    if (Writing() && GetShowing()) FGradient->SetAngle(UDAngle->GetPosition());
}

void TZuzGradientEditor::SBTranspChange(TObject*) {
    if (Writing()) FGradient->GetSub()->SetTransparency(SBTransp->GetPosition());
}

void TZuzGradientEditor::CBSubVisibleClick(TObject*) {
    if (Writing()) FGradient->GetSub()->SetVisible(CBSubVisible->GetChecked());
}

void TZuzGradientEditor::BCancelClick(TObject*) {
    if (!FModified || !FGradient || !FBackup) return;
    FGradient->Assign(FBackup.get());
    if (FGradient->OnChange) FGradient->OnChange(this);
}

// ---------------------------------------------------------------------------
// Modal use

TZuzGradientEditor* ZuzCreateGradientEditor(TComponent* AOwner, TCustomZuzGradient* Gradient,
                                            bool AlwaysEnabled, bool HideVisible) {
    auto* editor = ZuzCreateForm<TZuzGradientEditor>(AOwner);
    editor->SetTag(reinterpret_cast<NativeInt>(Gradient));
    editor->AlwaysEnabled = AlwaysEnabled;
    if (AlwaysEnabled) {
        editor->BEnd->SetVisible(false);
        editor->BSwap->SetVisible(false);
    }
    if (HideVisible) editor->CBVisible->SetVisible(false);
    return editor;
}

TZuzGradientEditor* InsertGradientEditor(TComponent* AOwner, TWinControl* Page,
                                         TCustomZuzGradient* Gradient) {
    auto* editor = Create<TZuzGradientEditor>(AOwner, Gradient);
    AddFormTo(editor, Page, Gradient);
    return editor;
}

bool EditZuzGradient(TComponent* AOwner, TCustomZuzGradient* Gradient) {
    return EditZuzGradient(AOwner, Gradient, false, false);
}

bool EditZuzGradient(TComponent* AOwner, TCustomZuzGradient* Gradient, bool AlwaysEnabled, bool HideVisible) {
    const TFormFreer<TZuzGradientEditor> editor{
        ZuzCreateGradientEditor(AOwner, Gradient, AlwaysEnabled, HideVisible)};
    return editor->ShowModal() == mrOk;
}

// ---------------------------------------------------------------------------
// TButtonGradient

const ClassInfo& TButtonGradient::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TButtonGradient>("TButtonGradient", &TZuzButton::StaticClass());
    return ci;
}

TButtonGradient::TButtonGradient(TComponent* AOwner) : TZuzButton(AOwner) {}

void TButtonGradient::BeforeDestruction() {
    // An editor still open (owned by this button) no longer calls back into it.
    if (FEditor) FEditor->OnDestroy = FOldDestroy;
    FEditor = nullptr;
    TZuzButton::BeforeDestruction();
}

void TButtonGradient::LinkGradient(TCustomZuzGradient* Value) {
    LinkProperty(Value, String());
    Invalidate();
}

TCustomZuzGradient* TButtonGradient::GetGradient() const {
    return dynamic_cast<TCustomZuzGradient*>(GetInstance());
}

void TButtonGradient::EditorDestroyed(TObject* Sender) {
    FEditor = nullptr;
    if (FOldDestroy) FOldDestroy(Sender);
}

void TButtonGradient::Click() {
    TCustomZuzGradient* gradient = GetGradient();
    if (!gradient) {
        TZuzButton::Click();
        return;
    }
    const TFormFreer<TZuzGradientEditor> editor{
        ZuzCreateGradientEditor(this, gradient, AlwaysEnabled, false)};
    FEditor = editor.get();
    FOldDestroy = editor->OnDestroy;
    editor->OnDestroy.Bind(this, &TButtonGradient::EditorDestroyed, "EditorDestroyed");
    if (editor->ShowModal() == mrOk) {
        Invalidate();
        TZuzButton::Click();
    }
}

void TButtonGradient::DrawSymbol(TZuzCanvas* Canvas) {
    TCustomZuzGradient* gradient = GetGradient();
    if (!GetEnabled() || !gradient) return;
    const TRect r = SymbolRectangle();
    gradient->Draw(Canvas, r);
    TPen* pen = Canvas->Pen;
    pen->SetStyle(psSolid);
    pen->SetWidth(1);
    pen->SetColor(gradient->GetVisible() ? clBlack : static_cast<TColor>(0x808080));
    Canvas->Brush->SetStyle(bsClear);
    Canvas->Rectangle(r);
}

void ZuzEdiGradInitialization() {
    RegisterClass(TZuzGradientEditor::StaticClass());
    RegisterClass(TButtonGradient::StaticClass());
    RegisterClass(TPreviewGradient::StaticClass());
}
