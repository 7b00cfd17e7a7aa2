#include "chart/editors/zuzedigene.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzfont.h"
#include "chart/canvas/zuzpanelext.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/editors/zuzbrushdlg.h"
#include "chart/editors/zuzedifont.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/charttitle.h"
#include "chart/engine/seriesmarks.h"
#include "chart/engine/zuzfunction.h"
#include "chart/series/zuzprevi.h"
#include "platform/core/sysutils.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/cursorfile.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/printdialog.h"
#include "platform/gui/stdctrls.h"

#include <algorithm>
#include <set>

namespace {

// Cursors loaded from files take the first free number from here on, among this many.
constexpr int kFirstLoadedCursor = 2021;
constexpr int kLoadedCursorSlots = 256;

TZuzFont* FindFontIn(TObject* Instance, const TZuzFont* Exclude, int Depth) {
    if (!Instance || Depth > 8) return nullptr;
    for (const PropInfo* prop : Instance->ClassType().AllProps()) {
        // What is not stored may not exist yet, and looking must not make it.
        if (prop->kind != PropKind::Object || !prop->getObj || !IsStoredProp(*Instance, *prop)) continue;
        TObject* value = prop->getObj(*Instance);
        if (!value) continue;
        if (auto* font = dynamic_cast<TZuzFont*>(value)) {
            if (font != Exclude) return font;
            continue;
        }
        if (dynamic_cast<TComponent*>(value) || !dynamic_cast<TPersistent*>(value)) continue;
        if (TZuzFont* found = FindFontIn(value, Exclude, Depth + 1)) return found;
    }
    return nullptr;
}

} // namespace

TZuzFont* ZuzFindFont(TObject* Instance, const TZuzFont* Exclude) {
    return FindFontIn(Instance, Exclude, 0);
}

// ---------------------------------------------------------------------------
// TFormZuzGeneral

const ClassInfo& TFormZuzGeneral::StaticClass() {
    using F = TFormZuzGeneral;
    static const MethodInfo methods[] = {
        MakeMethod<&F::BLoadClick>("BLoadClick"),
        MakeMethod<&F::BZoomColorClick>("BZoomColorClick"),
        MakeMethod<&F::CBAllowZoomClick>("CBAllowZoomClick"),
        MakeMethod<&F::CBAnimatedZoomClick>("CBAnimatedZoomClick"),
        MakeMethod<&F::CBCursorChange>("CBCursorChange"),
        MakeMethod<&F::CBDirChange>("CBDirChange"),
        MakeMethod<&F::CBScrollMouseChange>("CBScrollMouseChange"),
        MakeMethod<&F::CBUpLeftClick>("CBUpLeftClick"),
        MakeMethod<&F::CBZoomMouseChange>("CBZoomMouseChange"),
        MakeMethod<&F::EMinPixChange>("EMinPixChange"),
        MakeMethod<&F::FormCreate>("FormCreate"),
        MakeMethod<&F::FormDeactivate>("FormDeactivate"),
        MakeMethod<&F::FormDestroy>("FormDestroy"),
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::LBFontsClick>("LBFontsClick"),
        MakeMethod<&F::LBFontsKeyDown>("LBFontsKeyDown"),
        MakeMethod<&F::PageControl1Change>("PageControl1Change"),
        MakeMethod<&F::RGPanningClick>("RGPanningClick"),
        MakeMethod<&F::SEAniZoomStepsChange>("SEAniZoomStepsChange"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TFormZuzGeneral>("TFormZuzGeneral", &TForm::StaticClass(), methods);
    return ci;
}

TFormZuzGeneral::TFormZuzGeneral(TComponent* AOwner, TCustomChart* Chart) : TForm(AOwner), FChart(Chart) {}

TFormZuzGeneral::~TFormZuzGeneral() = default;

void TFormZuzGeneral::AfterConstruction() {
    TForm::AfterConstruction();
    if (FChart) FChart->FreeNotification(this);
    FillFonts();
}

void TFormZuzGeneral::BeforeDestruction() {
    // The chart's fonts must not call back into a page that is gone.
    ResetIFont();
    if (FChart) FChart->RemoveFreeNotification(this);
    for (TComponent* c : FWatched) c->RemoveFreeNotification(this);
    FWatched.clear();
    FFontEditor = nullptr; // goes with its panel from here on
    TForm::BeforeDestruction();
}

void TFormZuzGeneral::BindComponents() {
    Bind(PageControl1, u"PageControl1");
    Bind(TabZoom, u"TabZoom");
    Bind(CBAllowZoom, u"CBAllowZoom");
    Bind(CBAnimatedZoom, u"CBAnimatedZoom");
    Bind(L1, u"L1");
    Bind(SEAniZoomSteps, u"SEAniZoomSteps");
    Bind(UDAniZoomSteps, u"UDAniZoomSteps");
    Bind(BZoomPen, u"BZoomPen");
    Bind(BZoomColor, u"BZoomColor");
    Bind(L2, u"L2");
    Bind(EMinPix, u"EMinPix");
    Bind(UDMinPix, u"UDMinPix");
    Bind(L3, u"L3");
    Bind(CBDir, u"CBDir");
    Bind(L4, u"L4");
    Bind(CBZoomMouse, u"CBZoomMouse");
    Bind(CBUpLeft, u"CBUpLeft");
    Bind(TabScroll, u"TabScroll");
    Bind(RGPanning, u"RGPanning");
    Bind(L5, u"L5");
    Bind(CBScrollMouse, u"CBScrollMouse");
    Bind(TabCursor, u"TabCursor");
    Bind(L6, u"L6");
    Bind(CBCursor, u"CBCursor");
    Bind(GroupBox1, u"GroupBox1");
    Bind(ImageCursor, u"ImageCursor");
    Bind(BLoad, u"BLoad");
    Bind(TabFonts, u"TabFonts");
    Bind(LBFonts, u"LBFonts");
    Bind(PanelFont, u"PanelFont");
    Bind(OpenDialog1, u"OpenDialog1");
}

void TFormZuzGeneral::FormCreate(TObject*) {
    SetAlign(alClient);
    PageControl1->SetActivePage(TabZoom);
}

void TFormZuzGeneral::FormShow(TObject*) {
    ZuzTranslateControl(this);
    if (!FChart) return;
    TZuzZoom* zoom = FChart->GetZoom();
    RGPanning->SetItemIndex(static_cast<int>(FChart->GetAllowPanning()));
    CBAllowZoom->SetChecked(zoom->GetAllow());
    CBAnimatedZoom->SetChecked(zoom->GetAnimated());
    UDAniZoomSteps->SetPosition(zoom->GetAnimatedSteps());
    EnableZoomControls();
    UDMinPix->SetPosition(zoom->GetMinimumPixels());
    CBDir->SetItemIndex(static_cast<int>(zoom->GetDirection()));
    CBZoomMouse->SetItemIndex(static_cast<int>(zoom->GetMouseButton()));
    CBUpLeft->SetChecked(zoom->GetUpLeftZooms());
    BZoomPen->LinkPen(zoom->GetPen());
    CBScrollMouse->SetItemIndex(static_cast<int>(FChart->GetScrollMouseButton()));
    CBScrollMouse->SetEnabled(FChart->GetAllowPanning() != pmNone);
    ZuzFillCursors(CBCursor, FChart->GetCursor());
    ZuzPreviewCursor(FChart->GetCursor(), ImageCursor->GetPicture());
    BLoad->SetVisible(!FChart->GetComponentState().Contains(csDesigning));
    // Series, tools or custom axes may have come and gone while another page was up.
    FillFonts();
}

void TFormZuzGeneral::FormDeactivate(TObject*) {
    ResetIFont();
}

void TFormZuzGeneral::FormDestroy(TObject*) {
    ResetIFont();
}

void TFormZuzGeneral::PageControl1Change(TObject*) {
    if (PageControl1->GetActivePage() == TabFonts && LBFonts->CanFocus()) LBFonts->SetFocus();
}

// ---------------------------------------------------------------------------
// Zoom and scroll

void TFormZuzGeneral::EnableZoomControls() {
    TControl* const controls[] = {CBAnimatedZoom, UDAniZoomSteps, SEAniZoomSteps, EMinPix,     UDMinPix,
                                  BZoomPen,       BZoomColor,     CBDir,          CBZoomMouse, CBUpLeft};
    EnableControls(FChart && FChart->GetZoom()->GetAllow(), controls);
}

void TFormZuzGeneral::CBAllowZoomClick(TObject*) {
    if (!FChart) return;
    FChart->GetZoom()->SetAllow(CBAllowZoom->GetChecked());
    EnableZoomControls();
}

void TFormZuzGeneral::CBAnimatedZoomClick(TObject*) {
    if (FChart) FChart->GetZoom()->SetAnimated(CBAnimatedZoom->GetChecked());
}

void TFormZuzGeneral::SEAniZoomStepsChange(TObject*) {
    if (FChart && GetShowing()) FChart->GetZoom()->SetAnimatedSteps(UDAniZoomSteps->GetPosition());
}

void TFormZuzGeneral::EMinPixChange(TObject*) {
    if (FChart && GetShowing()) FChart->GetZoom()->SetMinimumPixels(UDMinPix->GetPosition());
}

void TFormZuzGeneral::BZoomColorClick(TObject*) {
    if (FChart) EditChartBrush(this, FChart->GetZoom()->GetBrush());
}

void TFormZuzGeneral::CBDirChange(TObject*) {
    if (FChart && CBDir->GetItemIndex() >= 0)
        FChart->GetZoom()->SetDirection(static_cast<TZuzZoomDirection>(CBDir->GetItemIndex()));
}

void TFormZuzGeneral::CBZoomMouseChange(TObject*) {
    if (FChart && CBZoomMouse->GetItemIndex() >= 0)
        FChart->GetZoom()->SetMouseButton(static_cast<TMouseButton>(CBZoomMouse->GetItemIndex()));
}

void TFormZuzGeneral::CBUpLeftClick(TObject*) {
    if (FChart) FChart->GetZoom()->SetUpLeftZooms(CBUpLeft->GetChecked());
}

void TFormZuzGeneral::RGPanningClick(TObject*) {
    if (!FChart || RGPanning->GetItemIndex() < 0) return;
    FChart->SetAllowPanning(static_cast<TPanningMode>(RGPanning->GetItemIndex()));
    CBScrollMouse->SetEnabled(FChart->GetAllowPanning() != pmNone);
}

void TFormZuzGeneral::CBScrollMouseChange(TObject*) {
    if (FChart && CBScrollMouse->GetItemIndex() >= 0)
        FChart->SetScrollMouseButton(static_cast<TMouseButton>(CBScrollMouse->GetItemIndex()));
}

// ---------------------------------------------------------------------------
// Cursor

void TFormZuzGeneral::ChangeCursor(TCursor Cursor) {
    FChart->SetCursor(Cursor);
    // The cursor the chart goes back to when the mouse leaves a series with a cursor of its own.
    FChart->SavedCursor = Cursor;
    ZuzPreviewCursor(Cursor, ImageCursor->GetPicture());
}

void TFormZuzGeneral::CBCursorChange(TObject*) {
    if (FChart) ChangeCursor(ZuzSetCursor(FChart->GetCursor(), CBCursor->GetText()));
}

void TFormZuzGeneral::BLoadClick(TObject*) {
    if (!FChart || !OpenDialog1->Execute()) return;
    const String file = OpenDialog1->GetFileName();
    HCURSOR cursor = LoadCursorFromFileW(file);
    if (!cursor) {
        ShowMessage(u"The cursor file cannot be read: " + file);
        return;
    }
    int slot = kFirstLoadedCursor;
    while (slot < kFirstLoadedCursor + kLoadedCursorSlots && Screen->GetCursorHandle(slot)) ++slot;
    if (slot == kFirstLoadedCursor + kLoadedCursorSlots) {
        DestroyCursor(cursor);
        ShowMessage(u"No more cursors can be loaded.");
        return;
    }
    Screen->SetCursors(slot, cursor);
    ChangeCursor(static_cast<TCursor>(slot));
}

// ---------------------------------------------------------------------------
// Fonts

std::vector<TFormZuzGeneral::TFontEntry> TFormZuzGeneral::CollectFonts() const {
    std::vector<TFontEntry> out;
    if (!FChart) return out;
    const auto add = [&](const String& Name, TZuzFont* Font, TComponent* Owner) {
        if (Font) out.push_back({Name, Font, Owner});
    };
    add(u"Legend", FChart->GetLegend()->GetFont(), nullptr);
    add(u"Legend title", FChart->GetLegend()->GetTitle()->GetFont(), nullptr);
    add(u"Title", FChart->GetTitle()->GetFont(), nullptr);
    add(u"Footer", FChart->GetFoot()->GetFont(), nullptr);
    add(u"SubTitle", FChart->GetSubTitle()->GetFont(), nullptr);
    add(u"SubFooter", FChart->GetSubFoot()->GetFont(), nullptr);
    for (int i = 0; i < FChart->SeriesCount(); ++i) {
        TChartSeries* s = FChart->GetSeries(i);
        const String title = SeriesTitleOrName(s);
        TZuzFont* marks = s->GetMarks()->GetFont();
        add(title, ZuzFindFont(s, marks), s);
        add(title + u" (" + ZuzTranslateString(u"marks") + u")", marks, s);
    }
    for (TZuzCustomTool* tool : *FChart->GetTools()) add(tool->GetName(), ZuzFindFont(tool), tool);
    const auto axis = [&](const String& Name, const String& Shown, TChartAxis* Axis) {
        add(Name, Axis->GetLabelsFont(), nullptr);
        add(Shown + u" (" + VavIve_AxisTitle + u")", Axis->GetTitle()->GetFont(), nullptr);
    };
    const struct {
        const char16_t* name;
        TChartAxis* axis;
    } axes[] = {{u"Left axis", FChart->GetLeftAxis()},
                {u"Right axis", FChart->GetRightAxis()},
                {u"Top axis", FChart->GetTopAxis()},
                {u"Bottom axis", FChart->GetBottomAxis()},
                {u"Depth Top axis", FChart->GetDepthTopAxis()},
                {u"Depth axis", FChart->GetDepthAxis()}};
    for (const auto& a : axes) axis(a.name, ZuzTranslateString(a.name), a.axis);
    TChartCustomAxes* custom = FChart->GetCustomAxes();
    for (int i = 0; i < custom->GetCount(); ++i) {
        const String name = ZuzTranslateString(u"Custom axis") + u" " + IntToStr(i);
        axis(name, name, custom->Get(i));
    }
    return out;
}

bool TFormZuzGeneral::IsLive(const TZuzFont* Font) const {
    if (!Font) return false;
    const std::vector<TFontEntry> fonts = CollectFonts();
    return std::any_of(fonts.begin(), fonts.end(), [&](const TFontEntry& e) { return e.Font == Font; });
}

void TFormZuzGeneral::FillFonts() {
    if (!LBFonts) return;
    ResetIFont();
    for (TComponent* c : FWatched) c->RemoveFreeNotification(this);
    FWatched.clear();
    TStrings* items = LBFonts->GetItems();
    items->BeginUpdate();
    items->Clear();
    FEntries = CollectFonts();
    for (const TFontEntry& e : FEntries) {
        items->AddObject(e.Name, e.Font);
        if (e.Owner && std::find(FWatched.begin(), FWatched.end(), e.Owner) == FWatched.end()) {
            e.Owner->FreeNotification(this);
            FWatched.push_back(e.Owner);
        }
    }
    items->EndUpdate();
    if (!FChart) return;
    const int title = items->IndexOfObject(FChart->GetTitle()->GetFont());
    LBFonts->SetItemIndex(title);
    if (title >= 0) LBFonts->SetSelected(title, true);
    LBFontsClick(LBFonts);
}

void TFormZuzGeneral::Notification(TComponent* AComponent, TOperation Operation) {
    TForm::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FChart) {
        // The chart's fonts go with it: nothing of them may be touched any more.
        FChart = nullptr;
        DropFont(false);
        if (FFontEditor) FFontEditor->RefreshControls(nullptr);
        FWatched.clear();
        FEntries.clear();
        if (LBFonts) LBFonts->GetItems()->Clear();
        return;
    }
    const auto watched = std::find(FWatched.begin(), FWatched.end(), AComponent);
    if (watched == FWatched.end()) return;
    FWatched.erase(watched);
    Forget(AComponent);
}

void TFormZuzGeneral::Forget(TComponent* Owner) {
    // The owner is being freed: its fonts leave the list, and the current font is dropped
    // without its change event being put back, since it goes with its owner.
    TStrings* items = LBFonts->GetItems();
    for (auto e = FEntries.begin(); e != FEntries.end();) {
        if (e->Owner != Owner) {
            ++e;
            continue;
        }
        if (e->Font == FFont) DropFont(false);
        if (FFontEditor && FFontEditor->GetEditedFont() == e->Font) FFontEditor->RefreshControls(nullptr);
        const int index = items->IndexOfObject(e->Font);
        if (index >= 0) items->Delete(index);
        e = FEntries.erase(e);
    }
}

void TFormZuzGeneral::DropFont(bool PutBack) {
    if (PutBack) FFont->OnChange = FOldChange;
    FFont = nullptr;
    FBackup.reset();
    FOldChange.Clear();
}

void TFormZuzGeneral::ResetIFont() {
    // A font found no more among the chart's is gone (a custom axis deleted meanwhile): only a
    // live font that still calls this page gets its own change event back.
    DropFont(FFont && IsLive(FFont) && FFont->OnChange.Target() == this &&
             FFont->OnChange.MethodName() == "ChangedFont");
    // The editor goes on showing a font that is still the chart's: the page lets go when its
    // window loses the focus to a dialog, such as the colour dialog of the editor itself, whose
    // choice must still reach the font. A font that is gone it shows no more.
    if (FFontEditor && !IsLive(FFontEditor->GetEditedFont())) FFontEditor->RefreshControls(nullptr);
}

void TFormZuzGeneral::LBFontsClick(TObject*) {
    ResetIFont();
    const int index = LBFonts->GetItemIndex();
    if (index < 0) return;
    auto* font = static_cast<TZuzFont*>(LBFonts->GetItems()->GetObjects(index));
    if (!IsLive(font)) return;
    FFont = font;
    FBackup = MakeOwned<TZuzFont>();
    FBackup->Assign(font);
    if (!FFontEditor) FFontEditor = InsertZuzFontEditor(PanelFont);
    FFontEditor->RefreshControls(font);
    FOldChange = font->OnChange;
    font->OnChange.Bind(this, &TFormZuzGeneral::ChangedFont, "ChangedFont");
}

void TFormZuzGeneral::LBFontsKeyDown(TObject*, Word& Key, TShiftState Shift) {
    if (Shift.Contains(ssCtrl) && (Key == 'A' || Key == 'a')) {
        LBFonts->SelectAll();
        Key = 0;
    }
}

void TFormZuzGeneral::ChangedFont(TObject*) {
    if (!GetShowing()) {
        ResetIFont();
        return;
    }
    if (!FFont || !FBackup) return;
    TZuzFont* const now = FFont;
    TZuzFont* const before = FBackup.get();
    const std::vector<TFontEntry> live = CollectFonts();
    std::set<const TZuzFont*> alive;
    for (const TFontEntry& e : live) alive.insert(e.Font);
    TStrings* items = LBFonts->GetItems();
    const bool shadows = now->HasShadow() || before->HasShadow();
    const bool gradients = now->HasGradient() || before->HasGradient();
    for (int i = 0; i < items->GetCount(); ++i) {
        auto* other = static_cast<TZuzFont*>(items->GetObjects(i));
        if (!LBFonts->GetSelected(i) || other == now || !alive.count(other)) continue;
        // Only what the editor just changed: attributes that differ between the fonts stay.
        if (now->GetName() != before->GetName()) other->SetName(now->GetName());
        if (now->GetSize() != before->GetSize()) other->SetSize(now->GetSize());
        if (now->GetStyle() != before->GetStyle()) other->SetStyle(now->GetStyle());
        if (now->GetColor() != before->GetColor()) other->SetColor(now->GetColor());
        if (now->GetInterCharSize() != before->GetInterCharSize())
            other->SetInterCharSize(now->GetInterCharSize());
        if (shadows) {
            TZuzShadow* a = now->GetShadow();
            TZuzShadow* b = before->GetShadow();
            if (a->GetHorizSize() != b->GetHorizSize()) other->GetShadow()->SetHorizSize(a->GetHorizSize());
            if (a->GetVertSize() != b->GetVertSize()) other->GetShadow()->SetVertSize(a->GetVertSize());
            if (a->GetColor() != b->GetColor()) other->GetShadow()->SetColor(a->GetColor());
            if (a->GetVisible() != b->GetVisible()) other->GetShadow()->SetVisible(a->GetVisible());
            if (a->GetTransparency() != b->GetTransparency())
                other->GetShadow()->SetTransparency(a->GetTransparency());
            if (a->GetSmooth() != b->GetSmooth()) other->GetShadow()->SetSmooth(a->GetSmooth());
        }
        if (gradients && now->GetGradient()->GetVisible() != before->GetGradient()->GetVisible())
            other->GetGradient()->SetVisible(now->GetGradient()->GetVisible());
    }
    before->Assign(now);
    if (FOldChange) FOldChange(now);
}

// ---------------------------------------------------------------------------
// TChartPageNavigator

const ClassInfo& TChartPageNavigator::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TChartPageNavigator>("TChartPageNavigator", &TCustomZuzNavigator::StaticClass());
    return ci;
}

TCustomAxisPanel* TChartPageNavigator::GetChart() const {
    return dynamic_cast<TCustomAxisPanel*>(GetPanel());
}

void TChartPageNavigator::SetChart(TCustomAxisPanel* Value) {
    SetPanel(Value);
}

void TChartPageNavigator::SetPanel(TCustomZuzPanel* Value) {
    TCustomZuzNavigator::SetPanel(dynamic_cast<TCustomAxisPanel*>(Value));
}

void TChartPageNavigator::EnableButtons() {
    TCustomZuzNavigator::EnableButtons();
    TCustomAxisPanel* chart = GetChart();
    if (!chart || !GetButton(nbFirst)) return;
    const TChartPage* pages = chart->GetPages();
    const bool back = pages->GetCurrent() > 1;
    const bool forward = pages->Count() > pages->GetCurrent();
    GetButton(nbFirst)->SetEnabled(back);
    GetButton(nbPrior)->SetEnabled(back);
    GetButton(nbNext)->SetEnabled(forward);
    GetButton(nbLast)->SetEnabled(forward);
}

void TChartPageNavigator::BtnClick(TZuzNavigateBtn Index) {
    if (TCustomAxisPanel* chart = GetChart()) {
        TChartPage* pages = chart->GetPages();
        switch (Index) {
        case nbFirst:
            pages->SetCurrent(1);
            break;
        case nbPrior:
            pages->PreviousPage();
            break;
        case nbNext:
            pages->NextPage();
            break;
        case nbLast:
            pages->SetCurrent(pages->Count());
            break;
        default:
            break;
        }
    }
    EnableButtons();
    TCustomZuzNavigator::BtnClick(Index);
}

void TChartPageNavigator::DoZuzEvent(TZuzEvent* Event) {
    const auto* series = dynamic_cast<TZuzSeriesEvent*>(Event);
    if (dynamic_cast<TChartChangePage*>(Event) || (series && series->Event == seDataChanged)) EnableButtons();
}

int TChartPageNavigator::PageCount() {
    TCustomAxisPanel* chart = GetChart();
    return chart ? chart->NumPages() : 0;
}

void TChartPageNavigator::Print() {
    TCustomAxisPanel* chart = GetChart();
    if (!chart) return;
    const int count = PageCount();
    if (count <= 1) {
        chart->PrintPages(1, 1);
        return;
    }
    const Owned<TPrintDialog> dialog{Create<TPrintDialog>(this)};
    dialog->Options = TPrintDialogOptions{poPageNums};
    dialog->PrintRange = prPageNums;
    dialog->FromPage = dialog->MinPage = 1;
    dialog->ToPage = dialog->MaxPage = count;
    if (dialog->Execute()) chart->PrintPages(dialog->FromPage, dialog->ToPage);
}

// ---------------------------------------------------------------------------

namespace {
TCustomZuzNavigator* NewChartPageNavigator(TComponent* AOwner) {
    return Create<TChartPageNavigator>(AOwner);
}
} // namespace

void ChartPreview(TComponent* AOwner, TCustomZuzPanel* Panel) {
    {
        const Owned<TChartPreview> form{Create<TChartPreview>(AOwner)};
        form->NavigatorClass = NewChartPageNavigator;
        form->PreviewPanel()->SetPanel(Panel);
        form->ShowModal();
    }
    if (Panel) Panel->Invalidate();
}

void ZuzEdiGeneInitialization() {
    RegisterClasses({&TFormZuzGeneral::StaticClass(), &TChartPageNavigator::StaticClass()});
}
