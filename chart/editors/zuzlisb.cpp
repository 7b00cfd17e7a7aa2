#include "chart/editors/zuzlisb.h"

#include "chart/canvas/zuzcolor.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/engine/axispanel.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/serieslist.h"
#include "chart/engine/seriestypes.h"
#include "chart/engine/zuzfunction.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/forms.h"
#include "platform/gui/graphics.h"

#include <algorithm>
#include <vector>

TZuzAddGalleryProc ZuzAddGalleryProc = nullptr;
TZuzChangeGalleryProc ZuzChangeGalleryProc = nullptr;

namespace {

constexpr Word kKeyF2 = VK_F1 + 1;

bool IsDestroying(const TComponent* C) {
    return C->GetComponentState().Contains(csDestroying);
}

} // namespace

const ClassInfo& TChartListBox::StaticClass() {
    using L = TChartListBox;
    static const PropInfo props[] = {
        MakeProp<&L::GetAllowAddSeries, &L::SetAllowAddSeries>("AllowAddSeries").Default(true),
        MakeProp<&L::GetAllowDeleteSeries, &L::SetAllowDeleteSeries>("AllowDeleteSeries").Default(true),
        MakeProp<&L::GetAskDelete, &L::SetAskDelete>("AskDelete").Default(true),
        MakeProp<&L::GetChart, &L::SetChart>("Chart"),
        MakeProp<&L::GetCheckStyle, &L::SetCheckStyle>("CheckStyle").Default(cbsCheck),
        MakeProp<&L::GetEnableChangeColor, &L::SetEnableChangeColor>("EnableChangeColor").Default(true),
        MakeProp<&L::GetEnableDragSeries, &L::SetEnableDragSeries>("EnableDragSeries").Default(true),
        MakeProp<&L::GetEnableChangeType, &L::SetEnableChangeType>("EnableChangeType").Default(true),
        MakeProp<&L::GetFontSeriesColor, &L::SetFontSeriesColor>("FontSeriesColor").Default(false),
        MakeProp<&L::OnChangeActive>("OnChangeActive"),
        MakeProp<&L::OnChangeColor>("OnChangeColor"),
        MakeProp<&L::OnChangeOrder>("OnChangeOrder"),
        MakeProp<&L::OnDblClickSeries>("OnDblClickSeries"),
        MakeProp<&L::OnOtherItemsChange>("OnOtherItemsChange"),
        MakeProp<&L::OnRefresh>("OnRefresh"),
        MakeProp<&L::OnRemovedSeries>("OnRemovedSeries"),
        MakeProp<&L::GetShowActiveCheck, &L::SetShowActiveCheck>("ShowActiveCheck").Default(true),
        MakeProp<&L::GetShowSeriesColor, &L::SetShowSeriesColor>("ShowSeriesColor").Default(true),
        MakeProp<&L::GetShowSeriesIcon, &L::SetShowSeriesIcon>("ShowSeriesIcon").Default(true),
        MakeProp<&L::GetShowSeriesTitle, &L::SetShowSeriesTitle>("ShowSeriesTitle").Default(true),
        MakeProp<&L::GetExtendedSelect, &L::SetExtendedSelect>("ExtendedSelect").Default(true),
        MakeProp<&L::GetItemHeight, &L::SetItemHeight>("ItemHeight"),
        MakeProp<&L::GetMultiSelect, &L::SetMultiSelect>("MultiSelect").Default(true),
        MakeProp<&L::GetSorted, &L::SetSorted>("Sorted").Default(false),
        MakeProp<&L::OnDrawItem>("OnDrawItem"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TChartListBox>("TChartListBox", &TCustomListBox::StaticClass(), props);
    return ci;
}

TChartListBox::TChartListBox(TComponent* AOwner) : TCustomListBox(AOwner) {
    SetStyle(lbOwnerDrawFixed);
    SetItemHeight(24);
    SetSorted(false);
    SetMultiSelect(true);
    SetExtendedSelect(true);
    OnClick = TNotifyEvent([this](TObject*) { DoRefresh(); });
}

TChartListBox::~TChartListBox() = default;

void TChartListBox::BeforeDestruction() {
    SetChart(nullptr);
    TCustomListBox::BeforeDestruction();
}

// ---------------------------------------------------------------------------
// The chart and the rows

void TChartListBox::SetChart(TCustomChart* Value) {
    if (FChart == Value) return;
    if (FChart) {
        FChart->RemoveListener(this);
        FChart->RemoveFreeNotification(this);
    }
    FChart = Value;
    FGroup = nullptr;
    if (FChart) {
        FChart->FreeNotification(this);
        FChart->GetListeners()->Add(this);
        FillSeries(nullptr);
    } else if (!IsDestroying(this)) {
        ClearItems();
    }
}

void TChartListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomListBox::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FChart) SetChart(nullptr);
    if (AComponent == FEditedSeries) {
        FEditedSeries = nullptr;
        if (FEditor) FEditor->SetVisible(false);
    }
}

const TCustomSeriesList* TChartListBox::SeriesGroup() const {
    if (FGroup) return FGroup->GetSeries();
    return FChart ? FChart->GetSeriesList() : nullptr;
}

// The class library makes the list's window first, on a hidden form when the list has no
// parent; here every list has its window from the start.
void TChartListBox::FillSeries(TChartSeries* SeriesToSelect) {
    ClearItems();
    if (FChart) {
        if (const TCustomSeriesList* list = SeriesGroup()) FillSeriesItems(GetItems(), list, !FNames);
        CheckLegendBoxes();
    }
    if (OtherItems) OtherItems->Assign(GetItems());
    int index = SeriesToSelect ? GetItems()->IndexOfObject(SeriesToSelect) : -1;
    if (index < 0 && GetItems()->GetCount() > 0) index = 0;
    if (index >= 0) SelectSeries(index);
    if (OnOtherItemsChange) OnOtherItemsChange(this);
    if (OnRefresh) OnRefresh(this);
}

void TChartListBox::UpdateSeries() {
    if (GetParent()) FillSeries(GetSelectedSeries());
}

void TChartListBox::SetGroup(TSeriesGroup* Value) {
    if (FGroup == Value) return;
    FGroup = Value;
    UpdateSeries();
}

void TChartListBox::SetNames(bool Value) {
    if (FNames == Value) return;
    FNames = Value;
    UpdateSeries();
}

void TChartListBox::ClearItems() {
    if (IsDestroying(this)) return;
    GetItems()->Clear();
    if (OtherItems) OtherItems->Clear();
}

TChartSeries* TChartListBox::GetSeries(int Index) const {
    if (Index < 0 || Index >= GetItems()->GetCount()) return nullptr;
    return static_cast<TChartSeries*>(GetItems()->GetObjects(Index));
}

void TChartListBox::SetSelectedSeries(TChartSeries* Value) {
    const int index = GetItems()->IndexOfObject(Value);
    SetItemIndex(index);
    if (index >= 0 && GetMultiSelect()) SetSelected(index, true);
}

void TChartListBox::SelectSeries(int Index) {
    if (GetMultiSelect()) {
        SetItemIndex(Index);
        SetSelected(Index, true);
    } else {
        SetItemIndex(Index);
    }
}

bool TChartListBox::AnySelected() {
    if (!GetMultiSelect()) return GetItemIndex() != -1;
    if (GetSelCount() >= 1) return true;
    if (GetItems()->GetCount() > 0 && GetItemIndex() != -1) {
        SetSelected(GetItemIndex(), true);
        return true;
    }
    return false;
}

void TChartListBox::SelectAll() {
    if (!GetMultiSelect()) return;
    TCustomListBox::SelectAll();
    RefreshDesigner();
}

void TChartListBox::SetParent(TWinControl* AParent) {
    TCustomListBox::SetParent(AParent);
    if (AParent && GetItemIndex() != -1 && GetItems()->GetCount() == 0) SetItemIndex(-1);
}

void TChartListBox::RefreshDesigner() {
    if (FChart && FChart->GetDesigner()) FChart->GetDesigner()->Refresh();
}

void TChartListBox::DoRefresh() {
    if (OnRefresh) OnRefresh(this);
}

void TChartListBox::CheckLegendBoxes() {
    if (FChart && FChart->GetLegend()->GetCheckBoxes())
        SetCheckStyle(FChart->GetLegend()->GetCheckBoxesStyle());
}

// Radio buttons leave one series on: the first active one in the list's order.
void TChartListBox::SetCheckStyle(TCheckBoxesStyle Value) {
    if (FCheckStyle == Value) return;
    FCheckStyle = Value;
    if (FCheckStyle == cbsRadio && GetParent()) {
        bool found = false;
        for (int i = 0; i < GetItems()->GetCount(); ++i) {
            TChartSeries* s = GetSeries(i);
            if (!s || !s->GetActive()) continue;
            if (found)
                s->SetActive(false);
            else
                found = true;
        }
    }
    Invalidate();
}

void TChartListBox::SetShowSection(TSection Index, bool Value) {
    FSections[Index].Visible = Value;
    Invalidate();
}

void TChartListBox::SetSectionWidth(TSection Index, int Value) {
    FSections[Index].Width = Value;
    Invalidate();
}

int TChartListBox::SectionLeft(int Index) const {
    int left = 0;
    for (int i = 0; i < Index && i < 4; ++i)
        if (FSections[static_cast<std::size_t>(i)].Visible)
            left += FSections[static_cast<std::size_t>(i)].Width;
    return left;
}

bool TChartListBox::PointInSection(const TPoint& P, int Index) const {
    const Section& s = FSections[static_cast<std::size_t>(Index)];
    const int left = SectionLeft(Index);
    return s.Visible && P.X > left && P.X < left + s.Width;
}

int TChartListBox::SeriesAtMousePos(TPoint& P) const {
    P = FHitTest;
    return ItemAtPos(P, true);
}

// ---------------------------------------------------------------------------
// Actions on the series

void TChartListBox::SwapSeries(int A, int B) {
    TChartSeries* a = GetSeries(A);
    TChartSeries* b = GetSeries(B);
    GetItems()->Exchange(A, B);
    if (OtherItems && A < OtherItems->GetCount() && B < OtherItems->GetCount()) OtherItems->Exchange(A, B);
    if (FChart && a && b) {
        FChart->ExchangeSeries(a, b);
        if (OnChangeOrder) OnChangeOrder(this, a, b);
    }
    if (TCustomForm* form = GetParentForm(this); form && CanFocus()) form->SetActiveControl(this);
    // One series was chosen and moved: it alone is chosen after.
    ChooseOnly(B);
    if (OnRefresh) OnRefresh(this);
    RefreshDesigner();
}

// The row alone chosen, and current (none for -1). Current first, the others let go after:
// making a row current would bring back a row just let go.
void TChartListBox::ChooseOnly(int Row) {
    if (Row < 0) {
        SetItemIndex(-1);
        return;
    }
    SelectSeries(Row);
    if (GetMultiSelect())
        for (int i = 0; i < GetItems()->GetCount(); ++i)
            if (i != Row) SetSelected(i, false);
}

void TChartListBox::MoveCurrentUp() {
    if (GetItemIndex() >= 1) SwapSeries(GetItemIndex(), GetItemIndex() - 1);
}

void TChartListBox::MoveCurrentDown() {
    const int i = GetItemIndex();
    if (i != -1 && i < GetItems()->GetCount() - 1) SwapSeries(i, i + 1);
}

// The selected series are collected first and each is freed once: the rows go away
// through the chart's remove event, and a row that is still there afterwards goes too.
bool TChartListBox::DeleteSeries() {
    if (!AnySelected()) return false;
    if (AskDelete) {
        const String name = GetMultiSelect() && GetSelCount() != 1 ? VavIve_SelectedSeries
                                                                   : SeriesTitleOrName(GetSelectedSeries());
        if (!ZuzYesNoDelete(name, this)) return false;
    }
    std::vector<TChartSeries*> doomed;
    if (GetMultiSelect()) {
        for (int i = 0; i < GetItems()->GetCount(); ++i)
            if (GetSelected(i))
                if (TChartSeries* s = GetSeries(i)) doomed.push_back(s);
    } else if (TChartSeries* s = GetSelectedSeries()) {
        doomed.push_back(s);
    }
    for (TChartSeries* s : doomed) {
        s->Free();
        const int row = GetItems()->IndexOfObject(s);
        if (row >= 0) GetItems()->Delete(row);
    }
    if (GetItems()->GetCount() > 0) SelectSeries(0);
    if (OnRefresh) OnRefresh(this);
    RefreshDesigner();
    return true;
}

void TChartListBox::CloneSeries() {
    if (GetItemIndex() == -1) return;
    CloneChartSeries(GetSelectedSeries());
    RefreshDesigner();
}

void TChartListBox::ChangeTypeSeries(TObject*) {
    if (!AnySelected() || !FChart || !ZuzChangeGalleryProc) return;
    std::vector<TChartSeries*> chosen;
    if (GetMultiSelect()) {
        for (int i = 0; i < GetItems()->GetCount(); ++i)
            if (GetSelected(i))
                if (TChartSeries* s = GetSeries(i)) chosen.push_back(s);
    } else if (TChartSeries* s = GetSelectedSeries()) {
        chosen.push_back(s);
    }
    if (chosen.empty()) return;
    TChartSeries* first = chosen.front();
    const ClassInfo* cls = ZuzChangeGalleryProc(GetOwner(), first);
    chosen.front() = first;
    if (cls)
        for (std::size_t i = 1; i < chosen.size(); ++i)
            if (&chosen[i]->ClassType() != cls) ChangeSeriesType(chosen[i], cls);
    if (GetMultiSelect())
        for (int i = 0; i < GetItems()->GetCount(); ++i) SetSelected(i, false);
    for (TChartSeries* s : chosen) {
        const int row = GetItems()->IndexOfObject(s);
        if (row >= 0) SelectSeries(row);
    }
    if (OnRefresh) OnRefresh(this);
    RefreshDesigner();
}

TChartSeries* TChartListBox::AddSeriesGallery() {
    if (!ZuzAddGalleryProc) return nullptr;
    TChartSeries* s = ZuzAddGalleryProc(GetOwner(), FChart, GetSelectedSeries());
    if (!s) return nullptr;
    ChooseOnly(GetItems()->IndexOfObject(s));
    if (OnRefresh) OnRefresh(this);
    RefreshDesigner();
    return s;
}

bool TChartListBox::RenameSeries() {
    const int index = GetItemIndex();
    TChartSeries* s = GetSeries(index);
    if (!s) return false;
    const String shown = GetItems()->GetStrings(index);
    String text = FNames ? s->GetName() : SeriesTitleOrName(s);
    if (InputQuery(VavIve_ChangeSeriesTitle, VavIve_NewSeriesTitle, text) && !text.empty()) {
        if (FNames) {
            s->SetName(text);
            GetItems()->SetStrings(index, text);
            s->Repaint();
        } else {
            s->SetTitle(text == s->GetName() ? String() : text);
        }
        SelectSeries(index);
    }
    return GetItems()->GetStrings(index) != shown;
}

// ---------------------------------------------------------------------------
// The inline title editor

void TChartListBox::ShowEditor() {
    TChartSeries* s = GetSelectedSeries();
    if (!s || !GetShowSeriesTitle()) return;
    if (!FEditor) {
        FEditor = Create<TEdit>(this);
        FEditor->SetVisible(false);
        FEditor->SetParent(this);
        FEditor->OnKeyDown =
            TKeyEvent([this](TObject* o, Word& k, TShiftState sh) { EditorKeyDown(o, k, sh); });
        FEditor->OnKeyPress = TKeyPressEvent([this](TObject* o, Char& k) { EditorKeyPress(o, k); });
    }
    if (FEditedSeries && FEditedSeries != s) FEditedSeries->RemoveFreeNotification(this);
    FEditedSeries = s;
    s->FreeNotification(this);
    const TRect r = ItemRect(GetItemIndex());
    FEditor->SetBounds(SectionLeft(3) - 2, r.Top, FSections[secTitle].Width, r.Bottom - r.Top + 1);
    FEditor->SetText(SeriesTitleOrName(s));
    FEditor->SetVisible(true);
    FEditor->BringToFront();
    if (FEditor->CanFocus()) FEditor->SetFocus();
}

void TChartListBox::HideEditor() {
    if (!FEditor) return;
    Word key = VK_RETURN;
    EditorKeyDown(FEditor, key, {});
}

void TChartListBox::EditorKeyPress(TObject*, Char& Key) {
    if (Key == u'\r' || Key == 27) Key = 0;
}

void TChartListBox::EditorKeyDown(TObject*, Word& Key, TShiftState) {
    if (!FEditor || !FEditor->GetVisible()) return;
    if (Key != VK_UP && Key != VK_DOWN && Key != kKeyF2 && Key != VK_RETURN && Key != VK_ESCAPE &&
        Key != VK_TAB)
        return;
    if (Key != VK_ESCAPE && FEditedSeries) FEditedSeries->SetTitle(FEditor->GetText());
    FEditor->SetVisible(false);
    if (CanFocus()) SetFocus();
    Invalidate();
    // The key ends the editing only: the list never hears Up and Down, or another row would be
    // chosen than the one renamed, and Tab leaves the focus on the list.
    if (Key != kKeyF2) Key = 0;
}

// ---------------------------------------------------------------------------
// Mouse, keys and dragging

void TChartListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FHitTest = TPoint(X, Y);
    // The row pressed becomes current first, as the system's list does before it reports
    // the press; a press with Shift or Ctrl is left to the list's own selecting.
    const int row = ItemAtPos(FHitTest, true);
    if (Button == mbLeft && row >= 0 && !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) &&
        !(GetMultiSelect() && GetSelected(row) && GetItemIndex() == row))
        ChooseOnly(row);
    TCustomListBox::MouseDown(Button, Shift, X, Y);
    if (FEditor && FEditor->GetVisible()) HideEditor();
    if (GetItemIndex() != -1) {
        if (row >= 0 && PointInSection(FHitTest, secCheck)) {
            TChartSeries* s = GetSeries(row);
            if (FCheckStyle == cbsCheck) {
                s->SetActive(!s->GetActive());
            } else {
                for (int i = 0; i < GetItems()->GetCount(); ++i)
                    if (TChartSeries* other = GetSeries(i)) other->SetActive(i == row);
            }
            if (!s->GetParentChart()) Invalidate();
            if (OnChangeActive) OnChangeActive(this, s);
        } else if (EnableDragSeries && row >= 0 && PointInSection(FHitTest, secTitle) && !FDoubleClicked &&
                   !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && Button == mbLeft &&
                   !Shift.Contains(ssDouble)) {
            BeginDrag(false);
        }
        FDoubleClicked = false;
        if (OnOtherItemsChange) OnOtherItemsChange(this);
    }
}

void TChartListBox::DblClick() {
    FDoubleClicked = true;
    const int row = ItemAtPos(FHitTest, true);
    const bool current = GetMultiSelect() ? row >= 0 && GetSelected(row) : row >= 0 && row == GetItemIndex();
    if (!current) return;
    TChartSeries* s = GetSeries(row);
    if (PointInSection(FHitTest, secIcon)) {
        if (EnableChangeType) ChangeTypeSeries(this);
    } else if (PointInSection(FHitTest, secColor)) {
        if (EnableChangeColor && s && s->UseSeriesColor) {
            TColor c = s->GetSeriesColor();
            if (EditColorDialog(this, c)) {
                s->SetSeriesColor(c);
                s->SetColorEachPoint(false);
                if (OnChangeColor) OnChangeColor(this, s);
            }
        }
    } else if (PointInSection(FHitTest, secTitle)) {
        if (OnDblClickSeries) OnDblClickSeries(this, row);
    }
}

void TChartListBox::MouseMove(TShiftState Shift, int X, int Y) {
    FHitTest = TPoint(X, Y);
    UpdateCursor();
    TCustomListBox::MouseMove(Shift, X, Y);
}

// The hand over the sections that act on a double-click.
void TChartListBox::UpdateCursor() {
    TCursor cursor = crDefault;
    if (GetItems()->GetCount() > 0 && ItemAtPos(FHitTest, true) >= 0) {
        for (int i = secIcon; i <= secColor; ++i) {
            if (!PointInSection(FHitTest, i)) continue;
            if ((i == secIcon && EnableChangeType) || (i == secColor && EnableChangeColor))
                cursor = crHandPoint;
            break;
        }
    }
    if (GetCursor() != cursor) SetCursor(cursor);
}

void TChartListBox::KeyUp(Word& Key, TShiftState Shift) {
    TCustomListBox::KeyUp(Key, Shift);
    if (Key == VK_INSERT) {
        if (AllowAddSeries) AddSeriesGallery();
    } else if (Key == VK_DELETE) {
        if (AllowDeleteSeries) DeleteSeries();
    } else if (Key == kKeyF2) {
        if (GetSelectedSeries()) ShowEditor();
    }
}

void TChartListBox::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    TCustomListBox::DragOver(Source, X, Y, State, Accept);
    Accept = EnableDragSeries && Source == this;
}

void TChartListBox::DragDrop(TObject* Source, int X, int Y) {
    TCustomListBox::DragDrop(Source, X, Y);
    const int row = ItemAtPos(TPoint(X, Y), true);
    if (row != -1 && row != GetItemIndex() && GetItemIndex() != -1) SwapSeries(GetItemIndex(), row);
}

// ---------------------------------------------------------------------------
// Drawing

void TChartListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        TCustomListBox::DrawItem(Index, Rect, State);
        return;
    }
    TCanvas* canvas = GetCanvas();
    const bool focused = Focused();
    const bool selected = State.Contains(odSelected) || (!focused && GetItemIndex() == Index);
    TColor back = GetColor();
    if (selected)
        back = !focused && Index == GetItemIndex() ? clInactiveCaption : clHighlight;
    else if (State.Contains(odFocused))
        back = clInactiveCaption;
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(back);
    canvas->FillRect(Rect);
    // Only the title shows the selection.
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(TRect(Rect.Left, Rect.Top, Rect.Left + SectionLeft(secTitle) - 2, Rect.Bottom));
    TChartSeries* s = GetSeries(Index);
    if (!s) return;
    if (GetShowSeriesIcon()) ZuzDrawBitmapEditor(canvas, s, Rect.Left + SectionLeft(secIcon), Rect.Top);
    if (GetShowSeriesColor() && s->UseSeriesColor) {
        const int left = Rect.Left + SectionLeft(secColor) - 2;
        const TRect box(left + 4, Rect.Top + 4, left + FSections[secColor].Width - 4, Rect.Bottom - 4);
        auto* chart = dynamic_cast<TCustomChart*>(s->GetParentChart());
        TZuzShadow* shadow = chart && chart->GetLegend()->GetSymbol()->GetShadow()->GetVisible()
                                 ? chart->GetLegend()->GetSymbol()->GetShadow()
                                 : nullptr;
        const int h = shadow ? shadow->GetHorizSize() : 0, v = shadow ? shadow->GetVertSize() : 0;
        if (shadow) shadow->SetSize(3);
        TCustomChartLegend::PaintSeriesLegend(s, canvas, box, chart);
        if (shadow) {
            shadow->SetHorizSize(h);
            shadow->SetVertSize(v);
        }
    }
    if (GetShowActiveCheck()) {
        const int height = Rect.Bottom - Rect.Top;
        ZuzDrawCheckBox(Rect.Left + SectionLeft(secCheck) + 2, Rect.Top + (height - 13) / 2, canvas,
                        FCheckStyle == cbsCheck, GetColor(), s->GetActive());
        canvas->GetBrush()->SetStyle(bsClear);
    }
    if (GetShowSeriesTitle()) {
        TColor font = GetFont()->GetColor();
        if (selected)
            font = clHighlightText;
        else if (FontSeriesColor)
            font = s->GetSeriesColor();
        canvas->GetFont()->SetColor(font);
        canvas->GetBrush()->SetStyle(bsClear);
        canvas->TextOut(Rect.Left + SectionLeft(secTitle) + 1,
                        Rect.Top + (GetItemHeight() - canvas->TextHeight(u"W")) / 2,
                        GetItems()->GetStrings(Index));
        canvas->GetBrush()->SetStyle(bsSolid);
    }
}

// ---------------------------------------------------------------------------
// The chart's events

void TChartListBox::RemoveSeriesRow(TChartSeries* Series) {
    const int row = GetItems()->IndexOfObject(Series);
    if (row >= 0) GetItems()->Delete(row);
    // The companion items are found by their series, not by row: a holder that heard of the
    // removal first may have dropped the series from them already.
    if (OtherItems)
        if (const int other = OtherItems->IndexOfObject(Series); other >= 0) OtherItems->Delete(other);
    if (Series == FEditedSeries) {
        FEditedSeries = nullptr;
        if (FEditor) FEditor->SetVisible(false);
    }
    if (OnRemovedSeries) OnRemovedSeries(this, Series);
}

void TChartListBox::ZuzEvent(TZuzEvent* Event) {
    if (IsDestroying(this)) return;
    if (auto* e = dynamic_cast<TZuzSeriesEvent*>(Event)) {
        auto* s = dynamic_cast<TChartSeries*>(e->Series);
        switch (e->Event) {
        case seAdd:
        case seSwap:
            UpdateSeries();
            break;
        case seRemove:
            if (s) RemoveSeriesRow(s);
            break;
        case seChangeTitle:
            if (const int row = GetItems()->IndexOfObject(s); row >= 0) {
                GetItems()->SetStrings(row, FNames ? s->GetName() : SeriesTitleOrName(s));
                // Whoever shows the rows elsewhere (the editor's tree) follows.
                if (OnRefresh) OnRefresh(this);
            }
            break;
        case seChangeColor:
            Invalidate();
            break;
        case seChangeActive:
            CheckLegendBoxes();
            Invalidate();
            break;
        case seDataChanged:
            break;
        }
    } else if (dynamic_cast<TZuzView3DEvent*>(Event)) {
        Invalidate();
    }
}

void RegisterZuzLisBClasses() {
    RegisterClasses({&TChartListBox::StaticClass()});
}
