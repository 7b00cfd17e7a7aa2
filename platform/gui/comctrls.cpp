#include "platform/gui/comctrls.h"
#include "platform/gui/guiclasses.h"

#include "platform/core/sysutils.h"
#include "platform/gui/forms.h"
#include "platform/gui/imglist.h"
#include "platform/gui/menus.h"
#include "platform/gui/qtbridge.h"

#include <QApplication>
#include <QComboBox>
#include <QIcon>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace gui_detail;

template <>
const EnumInfo& EnumInfoOf<TTabPosition>() {
    static const EnumInfo info{"TTabPosition", {"tpTop", "tpBottom", "tpLeft", "tpRight"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TStatusPanelBevel>() {
    static const EnumInfo info{"TStatusPanelBevel", {"pbNone", "pbLowered", "pbRaised"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TStatusPanelStyle>() {
    static const EnumInfo info{"TStatusPanelStyle", {"psText", "psOwnerDraw"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TToolButtonStyle>() {
    static const EnumInfo info{"TToolButtonStyle",
                               {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TEdgeBorder>() {
    static const EnumInfo info{"TEdgeBorder", {"ebLeft", "ebTop", "ebRight", "ebBottom"}};
    return info;
}

namespace {

QString CaptionText(const String& caption) {
    // A single '&' marks an accelerator in both worlds; "&&" is one ampersand.
    return ToQString(caption);
}

// The tab widget tells where its pages go, so that sheets can be placed at
// once rather than when the widget is next laid out.
class PageWidget : public QTabWidget {
public:
    QRect PageRect() const {
        QStyleOptionTabWidgetFrame option;
        initStyleOption(&option);
        return style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this);
    }
};

} // namespace

// ---------------------------------------------------------------------------
// TTabSheet

const ClassInfo& TTabSheet::StaticClass() {
    using T = TTabSheet;
    static const PropInfo props[] = {
        MakeProp<&T::GetCaption, &T::SetCaption>("Caption").Stored<&T::IsCaptionStored>(),
        MakeProp<&T::GetImageIndex, &T::SetImageIndex>("ImageIndex").Default(0),
        MakeProp<&T::GetPageControl, &T::SetPageControl>("PageControl").Stored(false),
        MakeProp<&T::GetPageIndex, &T::SetPageIndex>("PageIndex").Stored(false),
        MakeProp<&T::GetTabVisible, &T::SetTabVisible>("TabVisible").Default(true),
    };
    static const ClassInfo ci = MakeClassInfo<TTabSheet>("TTabSheet", &TWinControl::StaticClass(), props);
    return ci;
}

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
    auto* page = new QWidget();
    SetWidget(page);
    SetBounds(0, 0, 185, 41);
}

TPageControl* TTabSheet::GetPageControl() const {
    return dynamic_cast<TPageControl*>(GetParent());
}

void TTabSheet::SetPageControl(TPageControl* Value) {
    SetParent(Value);
}

int TTabSheet::GetPageIndex() const {
    TPageControl* pc = GetPageControl();
    return pc ? pc->IndexOfSheet(this) : -1;
}

void TTabSheet::SetPageIndex(int Value) {
    if (TPageControl* pc = GetPageControl()) pc->MoveSheet(this, Value);
}

int TTabSheet::GetTabIndex() const {
    TPageControl* pc = GetPageControl();
    if (!pc || !FTabVisible) return -1;
    int index = 0;
    for (int i = 0; i < pc->GetPageCount(); ++i) {
        if (pc->GetPage(i) == this) return index;
        if (pc->GetPage(i)->FTabVisible) ++index;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool Value) {
    if (FTabVisible == Value) return;
    FTabVisible = Value;
    if (TPageControl* pc = GetPageControl()) pc->SheetTabVisibleChanged(this);
}

void TTabSheet::SetHighlighted(bool Value) {
    if (FHighlighted == Value) return;
    FHighlighted = Value;
    if (TPageControl* pc = GetPageControl()) pc->SheetHighlightChanged(this);
}

void TTabSheet::SetText(const String& Value) {
    if (Value == GetText()) return;
    TWinControl::SetText(Value);
    if (TPageControl* pc = GetPageControl()) pc->SheetCaptionChanged(this);
}

bool TTabSheet::GetShowing() const {
    TPageControl* pc = GetPageControl();
    if (!pc) return TWinControl::GetShowing();
    return pc->GetActivePage() == this && pc->GetShowing();
}

void TTabSheet::PlaceInPageControl(const TRect& Bounds) {
    const bool sized = Bounds.Width() != FWidth || Bounds.Height() != FHeight;
    FLeft = Bounds.Left;
    FTop = Bounds.Top;
    FWidth = Bounds.Width();
    FHeight = Bounds.Height();
    UpdateWidgetGeometry();
    if (sized && !GetComponentState().Contains(csLoading)) Resize();
}

// Inside a page control the sheet fills the page area of the tab widget's stack.
void TTabSheet::UpdateWidgetGeometry() {
    if (!GetPageControl()) {
        TWinControl::UpdateWidgetGeometry();
        return;
    }
    if (Widget()) Widget()->setGeometry(0, 0, FWidth, FHeight);
}

// The tab widget shows one page at a time.
void TTabSheet::ApplyVisibility() {
    if (GetPageControl()) return;
    TWinControl::ApplyVisibility();
}

// ---------------------------------------------------------------------------
// TPageControl

const ClassInfo& TPageControl::StaticClass() {
    using P = TPageControl;
    static const PropInfo props[] = {
        MakeProp<&P::GetActivePage, &P::SetActivePage>("ActivePage"),
        MakeProp<&P::GetHotTrack, &P::SetHotTrack>("HotTrack").Default(false),
        MakeProp<&P::GetImages, &P::SetImages>("Images"),
        MakeProp<&P::GetMultiLine, &P::SetMultiLine>("MultiLine").Default(false),
        MakeProp<&P::GetTabPosition, &P::SetTabPosition>("TabPosition").Default(tpTop),
        MakeProp<&P::OnChange>("OnChange"),
        MakeProp<&P::OnChanging>("OnChanging"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TPageControl>("TPageControl", &TWinControl::StaticClass(), props);
    return ci;
}

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner) {
    FTabs = new PageWidget();
    FTabs->setUsesScrollButtons(true);
    SetWidget(FTabs);
    RegisterWidget(FTabs->tabBar(), this);
    InitTabStop(true);
    SetBounds(0, 0, 289, 193);
    QObject::connect(FTabs, &QTabWidget::currentChanged, [this](int index) { TabChanged(index); });
}

TPageControl::~TPageControl() {
    UnregisterWidget(FTabs->tabBar());
}

TTabSheet* TPageControl::GetPage(int Index) const {
    if (Index < 0 || Index >= GetPageCount()) throw EListError(u"List index out of bounds (%d)", {Index});
    return FPages[static_cast<std::size_t>(Index)];
}

int TPageControl::IndexOfSheet(const TTabSheet* Sheet) const {
    auto it = std::find(FPages.begin(), FPages.end(), Sheet);
    return it == FPages.end() ? -1 : static_cast<int>(it - FPages.begin());
}

void TPageControl::SetActivePage(TTabSheet* Value) {
    if (Value && Value->GetPageControl() != this) return;
    FActivePage = Value;
    if (!Value) return;
    FSettingPage = true;
    FTabs->setCurrentWidget(Value->Widget());
    FSettingPage = false;
}

int TPageControl::GetActivePageIndex() const {
    return FActivePage ? IndexOfSheet(FActivePage) : -1;
}

void TPageControl::SetActivePageIndex(int Value) {
    SetActivePage(Value >= 0 && Value < GetPageCount() ? FPages[static_cast<std::size_t>(Value)] : nullptr);
}

void TPageControl::SetTabPosition(TTabPosition Value) {
    FTabPosition = Value;
    static constexpr QTabWidget::TabPosition map[] = {QTabWidget::North, QTabWidget::South, QTabWidget::West,
                                                      QTabWidget::East};
    FTabs->setTabPosition(map[Value]);
    LayoutSheets();
}

void TPageControl::SetImages(TCustomImageList* Value) {
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (Value) Value->FreeNotification(this);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const {
    if (FPages.empty()) return nullptr;
    const int count = GetPageCount();
    int start = CurPage ? IndexOfSheet(CurPage) : -1;
    if (start < 0) start = GoForward ? count - 1 : 0;
    int i = start;
    do {
        i = GoForward ? (i + 1) % count : (i + count - 1) % count;
        TTabSheet* page = FPages[static_cast<std::size_t>(i)];
        if (!CheckTabVisible || page->GetTabVisible()) return page;
    } while (i != start);
    return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible) {
    TTabSheet* page = FindNextPage(FActivePage, GoForward, CheckTabVisible);
    if (page && page != FActivePage && CanChange()) {
        SetActivePage(page);
        Change();
    }
}

void TPageControl::PlaceChildWidget(TControl* Child) {
    auto* sheet = dynamic_cast<TTabSheet*>(Child);
    if (!sheet) {
        TWinControl::PlaceChildWidget(Child);
        return;
    }
    FPages.push_back(sheet);
    FSettingPage = true;
    const int index = FTabs->addTab(sheet->Widget(), CaptionText(sheet->GetText()));
    FTabs->setTabVisible(index, sheet->GetTabVisible());
    if (!FActivePage) FActivePage = sheet;
    FTabs->setCurrentWidget(FActivePage->Widget());
    FSettingPage = false;
    LayoutSheets();
}

void TPageControl::DetachChildWidget(TControl* Child) {
    auto* sheet = dynamic_cast<TTabSheet*>(Child);
    if (!sheet) {
        TWinControl::DetachChildWidget(Child);
        return;
    }
    FSettingPage = true;
    const int index = FTabs->indexOf(sheet->Widget());
    if (index >= 0) FTabs->removeTab(index);
    FSettingPage = false;
    std::erase(FPages, sheet);
    if (FActivePage == sheet) {
        FActivePage = nullptr;
        if (!GetComponentState().Contains(csDestroying) && !FPages.empty()) SetActivePage(FPages.front());
    }
    TWinControl::DetachChildWidget(Child);
}

void TPageControl::MoveSheet(TTabSheet* Sheet, int NewIndex) {
    const int old = IndexOfSheet(Sheet);
    if (old < 0) return;
    NewIndex = std::clamp(NewIndex, 0, GetPageCount() - 1);
    if (old == NewIndex) return;
    FPages.erase(FPages.begin() + old);
    FPages.insert(FPages.begin() + NewIndex, Sheet);
    FSettingPage = true;
    FTabs->tabBar()->moveTab(old, NewIndex);
    FSettingPage = false;
}

void TPageControl::SheetCaptionChanged(TTabSheet* Sheet) {
    const int index = FTabs->indexOf(Sheet->Widget());
    if (index >= 0) FTabs->setTabText(index, CaptionText(Sheet->GetText()));
    LayoutSheets();
}

void TPageControl::SheetHighlightChanged(TTabSheet* Sheet) {
    const int index = FTabs->indexOf(Sheet->Widget());
    if (index < 0) return;
    const QColor text = Sheet->GetHighlighted() ? FTabs->palette().color(QPalette::Highlight) : QColor();
    FTabs->tabBar()->setTabTextColor(index, text);
}

void TPageControl::SheetTabVisibleChanged(TTabSheet* Sheet) {
    const int index = FTabs->indexOf(Sheet->Widget());
    if (index >= 0) FTabs->setTabVisible(index, Sheet->GetTabVisible());
}

void TPageControl::LayoutSheets() {
    const QRect r = static_cast<PageWidget*>(FTabs)->PageRect();
    for (TTabSheet* sheet : FPages) sheet->PlaceInPageControl(Bounds(r.x(), r.y(), r.width(), r.height()));
}

void TPageControl::Resize() {
    LayoutSheets();
    TWinControl::Resize();
}

// A tab the user chose: the page may refuse to be left.
void TPageControl::TabChanged(int Index) {
    if (FSettingPage) return;
    Guarded(this, [&] {
        TTabSheet* next = nullptr;
        for (TTabSheet* s : FPages)
            if (FTabs->indexOf(s->Widget()) == Index) next = s;
        if (next == FActivePage) return;
        if (!CanChange()) {
            FSettingPage = true;
            if (FActivePage) FTabs->setCurrentWidget(FActivePage->Widget());
            FSettingPage = false;
            return;
        }
        FActivePage = next;
        Change();
        // A sheet added while the tab widget was switching (a page that adds its own tabs as it
        // is first shown) leaves the widget on another sheet than the one chosen.
        if (FActivePage && FTabs->currentWidget() != FActivePage->Widget()) {
            FSettingPage = true;
            FTabs->setCurrentWidget(FActivePage->Widget());
            FSettingPage = false;
        }
    });
}

bool TPageControl::CanChange() {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TPageControl::Change() {
    if (OnChange) OnChange(this);
}

void TPageControl::GetChildren(TGetChildProc Proc, TComponent* Root) {
    for (TTabSheet* sheet : FPages) Proc(sheet);
}

void TPageControl::SetChildOrder(TComponent* Child, int Order) {
    if (auto* sheet = dynamic_cast<TTabSheet*>(Child)) MoveSheet(sheet, Order);
}

void TPageControl::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TPageControl::Loaded() {
    TWinControl::Loaded();
    LayoutSheets();
}

// ---------------------------------------------------------------------------
// Status bar

const ClassInfo& TStatusPanel::StaticClass() {
    using S = TStatusPanel;
    static const PropInfo props[] = {
        MakeProp<&S::GetAlignment, &S::SetAlignment>("Alignment").Default(taLeftJustify),
        MakeProp<&S::GetBevel, &S::SetBevel>("Bevel").Default(pbLowered),
        MakeProp<&S::GetStyle, &S::SetStyle>("Style").Default(psText),
        MakeProp<&S::GetText, &S::SetText>("Text"),
        MakeProp<&S::GetWidth, &S::SetWidth>("Width"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TStatusPanel>("TStatusPanel", &TCollectionItem::StaticClass(), props);
    return ci;
}

void TStatusPanel::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TStatusPanel*>(Source)) {
        FText = src->FText;
        FWidth = src->FWidth;
        FAlignment = src->FAlignment;
        FBevel = src->FBevel;
        FStyle = src->FStyle;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(Source);
}

void TStatusPanel::SetText(const String& Value) {
    if (FText == Value) return;
    FText = Value;
    Changed(false);
}
void TStatusPanel::SetWidth(int Value) {
    if (FWidth == Value) return;
    FWidth = Value;
    Changed(true);
}
void TStatusPanel::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Changed(false);
}
void TStatusPanel::SetBevel(TStatusPanelBevel Value) {
    FBevel = Value;
    Changed(false);
}
void TStatusPanel::SetStyle(TStatusPanelStyle Value) {
    FStyle = Value;
    Changed(false);
}
String TStatusPanel::GetDisplayName() const {
    return FText.empty() ? TCollectionItem::GetDisplayName() : FText;
}

const ClassInfo& TStatusPanels::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TStatusPanels>("TStatusPanels", &TOwnedCollection::StaticClass());
    return ci;
}

TStatusPanels::TStatusPanels(TStatusBar* StatusBar)
    : TOwnedCollection(StatusBar, TStatusPanel::StaticClass()), FStatusBar(StatusBar) {}

void TStatusPanels::Update(TCollectionItem*) {
    FStatusBar->Invalidate();
}

namespace {
class StatusWidget : public QWidget {
public:
    explicit StatusWidget(TStatusBar* bar) : bar_(bar) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        Guarded(bar_, [&] { bar_->PaintBar(p); });
    }

private:
    TStatusBar* bar_;
};
} // namespace

const ClassInfo& TStatusBar::StaticClass() {
    using S = TStatusBar;
    static const PropInfo props[] = {
        // Made at the bottom, so that is what goes unwritten.
        MakeProp<&TControl::GetAlign, &TControl::SetAlign>("Align").Default(alBottom),
        MakeProp<&S::GetAutoHint, &S::SetAutoHint>("AutoHint").Default(false),
        MakeProp<&S::GetPanels, &S::SetPanels>("Panels"),
        MakeProp<&S::GetSimplePanel, &S::SetSimplePanel>("SimplePanel").Default(false),
        MakeProp<&S::GetSimpleText, &S::SetSimpleText>("SimpleText"),
        MakeProp<&S::GetSizeGrip, &S::SetSizeGrip>("SizeGrip").Default(true),
    };
    static const ClassInfo ci = MakeClassInfo<TStatusBar>("TStatusBar", &TWinControl::StaticClass(), props);
    return ci;
}

TStatusBar::TStatusBar(TComponent* AOwner) : TWinControl(AOwner), FPanels(MakeOwned<TStatusPanels>(this)) {
    SetWidget(new StatusWidget(this));
    SetBounds(0, 0, 19, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::SetPanels(TStatusPanels* Value) {
    FPanels->Assign(Value);
}
void TStatusBar::SetSimplePanel(bool Value) {
    FSimplePanel = Value;
    Invalidate();
}
void TStatusBar::SetSimpleText(const String& Value) {
    FSimpleText = Value;
    Invalidate();
}
void TStatusBar::SetSizeGrip(bool Value) {
    FSizeGrip = Value;
    Invalidate();
}

TRect TStatusBar::PanelRect(int Index) const {
    const int count = FPanels->GetCount();
    if (Index < 0 || Index >= count) return {};
    int left = 0;
    for (int i = 0; i < Index; ++i) left += FPanels->GetItem(i)->GetWidth();
    const int right =
        Index == count - 1 ? std::max(FWidth, left) : left + FPanels->GetItem(Index)->GetWidth();
    return Rect(left, 2, right, FHeight);
}

void TStatusBar::PaintBar(QPainter& p) const {
    const QPalette pal = QApplication::palette();
    p.fillRect(0, 0, FWidth, FHeight, pal.color(QPalette::Window));
    p.setFont(Widget()->font());
    auto cell = [&](TRect r, const String& text, TAlignment align, TStatusPanelBevel bevel) {
        const QRect q(r.Left, r.Top, r.Width() - 2, r.Height());
        if (bevel != pbNone) {
            const QColor tl = ToQColor(bevel == pbLowered ? clBtnShadow : clBtnHighlight);
            const QColor br = ToQColor(bevel == pbLowered ? clBtnHighlight : clBtnShadow);
            p.setPen(tl);
            p.drawLine(q.left(), q.top(), q.right(), q.top());
            p.drawLine(q.left(), q.top(), q.left(), q.bottom());
            p.setPen(br);
            p.drawLine(q.left(), q.bottom(), q.right(), q.bottom());
            p.drawLine(q.right(), q.top(), q.right(), q.bottom());
        }
        Qt::Alignment h = Qt::AlignLeft;
        if (align == taRightJustify) h = Qt::AlignRight;
        if (align == taCenter) h = Qt::AlignHCenter;
        p.setPen(pal.color(QPalette::WindowText));
        p.drawText(q.adjusted(3, 0, -3, 0), static_cast<int>(h | Qt::AlignVCenter), ToQString(text));
    };
    if (FSimplePanel) {
        cell(Rect(0, 2, FWidth, FHeight), FSimpleText, taLeftJustify, pbNone);
        return;
    }
    for (int i = 0; i < FPanels->GetCount(); ++i) {
        const TStatusPanel* panel = FPanels->GetItem(i);
        cell(PanelRect(i), panel->GetText(), panel->GetAlignment(), panel->GetBevel());
    }
}

// ---------------------------------------------------------------------------
// Tool bar

namespace {

class ToolButtonActionLink : public TControlActionLink {
public:
    explicit ToolButtonActionLink(TToolButton* Client) : TControlActionLink(Client), button_(Client) {}
    bool IsImageIndexLinked() const override {
        return TActionLink::IsImageIndexLinked() &&
               button_->GetImageIndex() == GetCustomAction()->GetImageIndex();
    }
    bool IsCheckedLinked() const override {
        return TActionLink::IsCheckedLinked() && button_->GetDown() == GetCustomAction()->GetChecked();
    }
    void SetImageIndex(TImageIndex Value) override {
        if (IsImageIndexLinked()) button_->SetImageIndex(Value);
    }
    void SetChecked(bool Value) override {
        if (IsCheckedLinked()) button_->SetDown(Value);
    }

private:
    TToolButton* button_;
};

class ToolBarWidget : public QWidget {
public:
    explicit ToolBarWidget(TToolBar* bar) : bar_(bar) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const TEdgeBorders edges = bar_->GetEdgeBorders();
        const QColor shadow = ToQColor(clBtnShadow);
        const QColor light = ToQColor(clBtnHighlight);
        // Etched edges: a shadow line with a highlight below or beside it.
        if (edges.Contains(ebTop)) {
            p.setPen(shadow);
            p.drawLine(0, 0, width() - 1, 0);
            p.setPen(light);
            p.drawLine(0, 1, width() - 1, 1);
        }
        if (edges.Contains(ebBottom)) {
            p.setPen(shadow);
            p.drawLine(0, height() - 2, width() - 1, height() - 2);
            p.setPen(light);
            p.drawLine(0, height() - 1, width() - 1, height() - 1);
        }
    }

private:
    TToolBar* bar_;
};

} // namespace

const ClassInfo& TToolButton::StaticClass() {
    using B = TToolButton;
    static const PropInfo props[] = {
        MakeProp<&B::GetAllowAllUp, &B::SetAllowAllUp>("AllowAllUp").Default(false),
        MakeProp<&B::GetCaption, &B::SetCaption>("Caption").Stored<&B::IsCaptionStored>(),
        MakeProp<&B::GetDown, &B::SetDown>("Down").Default(false),
        MakeProp<&B::GetDropdownMenu, &B::SetDropdownMenu>("DropdownMenu"),
        MakeProp<&B::GetGrouped, &B::SetGrouped>("Grouped").Default(false),
        MakeProp<&B::GetImageIndex, &B::SetImageIndex>("ImageIndex").Default(-1),
        MakeProp<&B::GetStyle, &B::SetStyle>("Style").Default(tbsButton),
        MakeProp<&B::GetWrap, &B::SetWrap>("Wrap").Default(false),
    };
    static const ClassInfo ci =
        MakeClassInfo<TToolButton>("TToolButton", &TGraphicControl::StaticClass(), props);
    return ci;
}

TToolButton::TToolButton(TComponent* AOwner) : TGraphicControl(AOwner, new QToolButton()) {
    FButton = static_cast<QToolButton*>(Widget());
    FButton->setAutoRaise(true);
    FButton->setFocusPolicy(Qt::NoFocus);
    FButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    SetReportsClicks(false);
    SetBounds(0, 0, 23, 22);
    QObject::connect(FButton, &QToolButton::clicked, [this](bool) { Guarded(this, [this] { Click(); }); });
}

TToolBar* TToolButton::GetToolBar() const {
    return dynamic_cast<TToolBar*>(GetParent());
}

std::unique_ptr<TControlActionLink> TToolButton::CreateActionLink() {
    return std::make_unique<ToolButtonActionLink>(this);
}

void TToolButton::ActionChange(TObject* Sender, bool CheckDefaults) {
    TGraphicControl::ActionChange(Sender, CheckDefaults);
    if (auto* a = dynamic_cast<TCustomAction*>(Sender)) {
        if (!CheckDefaults || FImageIndex == -1) SetImageIndex(a->GetImageIndex());
        if (!CheckDefaults || !FDown) SetDown(a->GetChecked());
    }
}

void TToolButton::SetImageIndex(TImageIndex Value) {
    if (FImageIndex == Value) return;
    FImageIndex = Value;
    UpdateLook();
}

void TToolButton::SetStyle(TToolButtonStyle Value) {
    if (FStyle == Value) return;
    FStyle = Value;
    if (Value == tbsSeparator || Value == tbsDivider) SetWidth(8);
    UpdateLook();
    if (TToolBar* bar = GetToolBar()) bar->ArrangeButtons();
}

void TToolButton::SetDown(bool Value) {
    FDown = Value;
    FButton->setCheckable(FStyle == tbsCheck || Value);
    FButton->setChecked(Value);
}

void TToolButton::SetDropdownMenu(TPopupMenu* Value) {
    if (FDropdownMenu) FDropdownMenu->RemoveFreeNotification(this);
    FDropdownMenu = Value;
    if (Value) Value->FreeNotification(this);
}

void TToolButton::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FDropdownMenu) FDropdownMenu = nullptr;
}

void TToolButton::SetText(const String& Value) {
    if (Value == GetText()) return;
    TGraphicControl::SetText(Value);
    UpdateLook();
}

void TToolButton::SetParent(TWinControl* AParent) {
    TGraphicControl::SetParent(AParent);
    UpdateLook();
    if (TToolBar* bar = GetToolBar()) bar->ArrangeButtons();
}

void TToolButton::EnabledChanged() {
    UpdateLook();
}

void TToolButton::UpdateLook() {
    const bool separator = FStyle == tbsSeparator || FStyle == tbsDivider;
    TToolBar* bar = GetToolBar();
    QIcon icon;
    if (!separator && bar && bar->GetImages()) icon = bar->GetImages()->IconOf(FImageIndex);
    FButton->setIcon(icon);
    if (bar)
        FButton->setIconSize(QSize(bar->GetImages() ? bar->GetImages()->GetWidth() : 16,
                                   bar->GetImages() ? bar->GetImages()->GetHeight() : 16));
    FButton->setText(separator ? QString() : ToQString(GetText()));
    FButton->setToolButtonStyle(bar && bar->GetShowCaptions() ? Qt::ToolButtonTextUnderIcon
                                                              : Qt::ToolButtonIconOnly);
    FButton->setEnabled(GetEnabled() && !separator);
}

void TToolButton::Click() {
    if (FStyle == tbsCheck) {
        if (FGrouped && FDown && !FAllowAllUp) {
            SetDown(true);
        } else {
            SetDown(!FDown);
            if (FGrouped && FDown)
                if (TToolBar* bar = GetToolBar())
                    for (int i = 0; i < bar->GetButtonCount(); ++i)
                        if (TToolButton* other = bar->GetButton(i);
                            other != this && other->FGrouped && other->FStyle == tbsCheck)
                            other->SetDown(false);
        }
    }
    TGraphicControl::Click();
}

const ClassInfo& TToolBar::StaticClass() {
    using T = TToolBar;
    static const PropInfo props[] = {
        // Made at the top, so that is what goes unwritten.
        MakeProp<&TControl::GetAlign, &TControl::SetAlign>("Align").Default(alTop),
        MakeProp<&T::GetButtonHeight, &T::SetButtonHeight>("ButtonHeight").Default(22),
        MakeProp<&T::GetButtonWidth, &T::SetButtonWidth>("ButtonWidth").Default(23),
        MakeProp<&T::GetCaption, &T::SetCaption>("Caption"),
        MakeProp<&T::GetEdgeBorders, &T::SetEdgeBorders>("EdgeBorders")
            .Default(static_cast<std::int64_t>(TEdgeBorders{ebTop}.Bits())),
        MakeProp<&T::GetFlat, &T::SetFlat>("Flat").Default(false),
        MakeProp<&T::GetImages, &T::SetImages>("Images"),
        MakeProp<&T::GetIndent, &T::SetIndent>("Indent").Default(0),
        MakeProp<&T::GetShowCaptions, &T::SetShowCaptions>("ShowCaptions").Default(false),
        MakeProp<&T::GetTransparent, &T::SetTransparent>("Transparent").Default(false),
        MakeProp<&T::GetWrapable, &T::SetWrapable>("Wrapable").Default(true),
    };
    static const ClassInfo ci = MakeClassInfo<TToolBar>("TToolBar", &TWinControl::StaticClass(), props);
    return ci;
}

TToolBar::TToolBar(TComponent* AOwner) : TWinControl(AOwner) {
    SetWidget(new ToolBarWidget(this));
    SetBounds(0, 0, 150, 29);
    SetAlign(alTop);
}

int TToolBar::GetButtonCount() const {
    int n = 0;
    for (TControl* c : Controls())
        if (dynamic_cast<TToolButton*>(c)) ++n;
    return n;
}

TToolButton* TToolBar::GetButton(int Index) const {
    int n = 0;
    for (TControl* c : Controls())
        if (auto* b = dynamic_cast<TToolButton*>(c)) {
            if (n == Index) return b;
            ++n;
        }
    throw EListError(u"List index out of bounds (%d)", {Index});
}

void TToolBar::SetButtonWidth(int Value) {
    FButtonWidth = Value;
    ArrangeButtons();
}
void TToolBar::SetButtonHeight(int Value) {
    FButtonHeight = Value;
    ArrangeButtons();
}
void TToolBar::SetFlat(bool Value) {
    FFlat = Value;
}
void TToolBar::SetShowCaptions(bool Value) {
    FShowCaptions = Value;
    UpdateButtons();
}
void TToolBar::SetIndent(int Value) {
    FIndent = Value;
    ArrangeButtons();
}
void TToolBar::SetEdgeBorders(TEdgeBorders Value) {
    FEdgeBorders = Value;
    Invalidate();
    ArrangeButtons();
}

void TToolBar::SetImages(TCustomImageList* Value) {
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (Value) Value->FreeNotification(this);
    UpdateButtons();
}

void TToolBar::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) {
        FImages = nullptr;
        UpdateButtons();
    }
}

void TToolBar::UpdateButtons() {
    for (TControl* c : Controls())
        if (auto* b = dynamic_cast<TToolButton*>(c)) b->UpdateLook();
}

void TToolBar::Loaded() {
    TWinControl::Loaded();
    UpdateButtons();
    ArrangeButtons();
}

TRect TToolBar::AdjustClientRect() const {
    TRect r = GetClientRect();
    if (FEdgeBorders.Contains(ebTop)) r.Top += 2;
    if (FEdgeBorders.Contains(ebBottom)) r.Bottom -= 2;
    if (FEdgeBorders.Contains(ebLeft)) r.Left += 2;
    if (FEdgeBorders.Contains(ebRight)) r.Right -= 2;
    return r;
}

void TToolBar::AlignControls(TControl* AControl, TRect& Rect) {
    TWinControl::AlignControls(AControl, Rect);
    ArrangeButtons();
}

// The buttons sit side by side from the indent on, in the order they have
// on the bar; separators keep their own width.
void TToolBar::ArrangeButtons() {
    if (FArranging || GetComponentState().Contains(csLoading)) return;
    FArranging = true;
    const TRect area = AdjustClientRect();
    std::vector<TToolButton*> buttons;
    for (TControl* c : Controls())
        if (auto* b = dynamic_cast<TToolButton*>(c); b && b->GetVisible()) buttons.push_back(b);
    std::stable_sort(buttons.begin(), buttons.end(),
                     [](const TToolButton* a, const TToolButton* b) { return a->GetLeft() < b->GetLeft(); });
    int x = area.Left + FIndent;
    for (TToolButton* b : buttons) {
        const bool separator = b->GetStyle() == tbsSeparator || b->GetStyle() == tbsDivider;
        const int w = separator ? b->GetWidth() : FButtonWidth;
        b->SetBounds(x, area.Top, w, FButtonHeight);
        x += w;
    }
    FArranging = false;
}

// ---------------------------------------------------------------------------
// TUpDown

template <>
const EnumInfo& EnumInfoOf<TUDBtnType>() {
    static const EnumInfo info{"TUDBtnType", {"btNext", "btPrev"}};
    return info;
}

namespace {

// The Up and Down keys typed in an up-down's associate do what its arrows do.
class UpDownArrowKeys : public QObject {
public:
    UpDownArrowKeys(QObject* Parent, TUpDown* UpDown) : QObject(Parent), FUpDown(UpDown) {}

    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress || !FUpDown->GetEnabled()) return false;
        const auto* k = static_cast<const QKeyEvent*>(e);
        if ((k->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
        if (k->key() != Qt::Key_Up && k->key() != Qt::Key_Down) return false;
        const TUDBtnType button = k->key() == Qt::Key_Up ? btNext : btPrev;
        Guarded(FUpDown, [this, button] { FUpDown->Click(button); });
        return true;
    }

private:
    TUpDown* FUpDown;
};

} // namespace

const ClassInfo& TUpDown::StaticClass() {
    using U = TUpDown;
    static const PropInfo props[] = {
        MakeProp<&U::GetAssociate, &U::SetAssociate>("Associate"),
        MakeProp<&U::GetIncrement, &U::SetIncrement>("Increment").Default(1),
        MakeProp<&U::GetMax, &U::SetMax>("Max").Default(100),
        MakeProp<&U::GetMin, &U::SetMin>("Min").Default(0),
        MakeProp<&U::GetPosition, &U::SetPosition>("Position").Default(0),
        MakeProp<&U::GetWrap, &U::SetWrap>("Wrap").Default(false),
        MakeProp<&U::OnClick>("OnClick"),
    };
    static const ClassInfo ci = MakeClassInfo<TUpDown>("TUpDown", &TWinControl::StaticClass(), props);
    return ci;
}

TUpDown::TUpDown(TComponent* AOwner) : TWinControl(AOwner) {
    auto* box = new QWidget();
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const TUDBtnType button : {btNext, btPrev}) {
        auto* arrow = new QToolButton(box);
        arrow->setArrowType(button == btNext ? Qt::UpArrow : Qt::DownArrow);
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setAutoRepeat(true);
        arrow->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        layout->addWidget(arrow);
        QObject::connect(arrow, &QToolButton::clicked,
                         [this, button](bool) { Guarded(this, [this, button] { Click(button); }); });
    }
    SetWidget(box);
    SetBounds(0, 0, 16, 24);
    FArrowKeys = new UpDownArrowKeys(box, this);
}

void TUpDown::SetAssociate(TWinControl* Value) {
    if (FAssociate == Value) return;
    if (FAssociate) {
        FAssociate->RemoveFreeNotification(this);
        if (FAssociate->Widget()) FAssociate->Widget()->removeEventFilter(FArrowKeys);
    }
    FAssociate = Value;
    if (!Value) return;
    Value->FreeNotification(this);
    if (Value->Widget()) Value->Widget()->installEventFilter(FArrowKeys);
    if (Value->GetParent()) SetParent(Value->GetParent());
    // A form resource holds the edit already narrowed and the arrows beside it.
    if (GetComponentState().Contains(csLoading)) {
        ShowPosition();
        return;
    }
    // The arrows take the right end of the edit, which narrows to make room.
    const int width = GetWidth();
    Value->SetWidth(std::max(0, Value->GetWidth() - width));
    SetBounds(Value->GetLeft() + Value->GetWidth(), Value->GetTop(), width, Value->GetHeight());
    ShowPosition();
}

// A new range holds the number the edit shows (typed there or set), not an older position.
void TUpDown::SetMin(int Value) {
    FMin = Value;
    SetPosition(ShownPosition());
}

void TUpDown::SetMax(int Value) {
    FMax = Value;
    SetPosition(ShownPosition());
}

int TUpDown::ShownPosition() const {
    Integer typed = 0;
    if (!FAssociate || GetComponentState().Contains(csLoading) || !TryStrToInt(FAssociate->GetText(), typed))
        return FPosition;
    return typed;
}

void TUpDown::SetPosition(int Value) {
    // A range given upside down still holds the position between its ends.
    FPosition = std::clamp(Value, std::min(FMin, FMax), std::max(FMin, FMax));
    ShowPosition();
}

int TUpDown::GetPosition() const {
    return std::clamp(ShownPosition(), std::min(FMin, FMax), std::max(FMin, FMax));
}

void TUpDown::ShowPosition() {
    if (FAssociate && !GetComponentState().Contains(csLoading)) {
        const String text = IntToStr(FPosition);
        if (FAssociate->GetText() != text) FAssociate->SetText(text);
    }
}

void TUpDown::Click(TUDBtnType Button) {
    Integer typed = 0;
    if (FAssociate && TryStrToInt(FAssociate->GetText(), typed)) FPosition = typed;
    Int64 next = Int64{FPosition} + (Button == btNext ? FIncrement : -Int64{FIncrement});
    const int low = std::min(FMin, FMax), high = std::max(FMin, FMax);
    if (FWrap && next > high) next = low;
    if (FWrap && next < low) next = high;
    SetPosition(static_cast<int>(std::clamp<Int64>(next, INT32_MIN, INT32_MAX)));
    if (OnClick) OnClick(this, Button);
}

void TUpDown::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FAssociate) FAssociate = nullptr;
}

// ---------------------------------------------------------------------------
// Combo box with pictures

template <>
const EnumInfo& EnumInfoOf<TComboBoxExStyle>() {
    static const EnumInfo info{"TComboBoxExStyle", {"csExDropDown", "csExSimple", "csExDropDownList"}};
    return info;
}

const ClassInfo& TComboExItem::StaticClass() {
    using I = TComboExItem;
    static const PropInfo props[] = {
        MakeProp<&I::GetCaption, &I::SetCaption>("Caption"),
        MakeProp<&I::GetImageIndex, &I::SetImageIndex>("ImageIndex").Default(-1),
    };
    static const ClassInfo ci =
        MakeClassInfo<TComboExItem>("TComboExItem", &TCollectionItem::StaticClass(), props);
    return ci;
}

void TComboExItem::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TComboExItem*>(Source)) {
        FCaption = src->FCaption;
        FImageIndex = src->FImageIndex;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(Source);
}

void TComboExItem::SetCaption(const String& Value) {
    FCaption = Value;
    Changed(false);
}

void TComboExItem::SetImageIndex(int Value) {
    FImageIndex = Value;
    Changed(false);
}

const ClassInfo& TComboExItems::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TComboExItems>("TComboExItems", &TOwnedCollection::StaticClass());
    return ci;
}

TComboExItems::TComboExItems(TComboBoxEx* Box)
    : TOwnedCollection(Box, TComboExItem::StaticClass()), FBox(Box) {}

TComboExItem* TComboExItems::AddItem(const String& Caption, int ImageIndex) {
    TComboExItem* item = Add();
    item->SetCaption(Caption);
    item->SetImageIndex(ImageIndex);
    return item;
}

void TComboExItems::Update(TCollectionItem*) {
    FBox->ItemsExChanged();
}

const ClassInfo& TComboBoxEx::StaticClass() {
    using C = TComboBoxEx;
    static const PropInfo props[] = {
        MakeProp<&C::GetStyleEx, &C::SetStyleEx>("Style").Default(csExDropDown),
        MakeProp<&C::GetItemsEx, &C::SetItemsEx>("ItemsEx"),
        MakeProp<&C::GetImages, &C::SetImages>("Images"),
        MakeProp<&C::GetDropDownCount, &C::SetDropDownCount>("DropDownCount").Default(8),
        MakeProp<&C::GetItemHeight, &C::SetItemHeight>("ItemHeight"),
        MakeProp<&C::GetItemIndex, &C::SetItemIndex>("ItemIndex").Default(-1),
        MakeProp<&C::OnChange>("OnChange"),
        MakeProp<&C::OnKeyPress>("OnKeyPress"),
        MakeProp<&C::OnSelect>("OnSelect"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TComboBoxEx>("TComboBoxEx", &TCustomComboBox::StaticClass(), props);
    return ci;
}

TComboBoxEx::TComboBoxEx(TComponent* AOwner)
    : TCustomComboBox(AOwner), FItemsEx(MakeOwned<TComboExItems>(this)) {}

TComboBoxEx::~TComboBoxEx() {
    SetImages(nullptr);
}

void TComboBoxEx::SetStyleEx(TComboBoxExStyle Value) {
    FStyleEx = Value;
    SetStyle(Value == csExDropDownList ? csDropDownList : Value == csExSimple ? csSimple : csDropDown);
}

void TComboBoxEx::SetItemsEx(TComboExItems* Value) {
    FItemsEx->Assign(Value);
}

void TComboBoxEx::SetImages(TCustomImageList* Value) {
    if (FImages == Value) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages) FImages->FreeNotification(this);
    ItemsExChanged();
}

void TComboBoxEx::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TComboBoxEx::ItemsExChanged() {
    const int index = GetItemIndex();
    GetItems()->Clear();
    for (int i = 0; i < FItemsEx->GetCount(); ++i) {
        const TComboExItem* item = FItemsEx->GetItem(i);
        GetItems()->Add(item->GetCaption());
        const int image = item->GetImageIndex();
        if (FImages && image >= 0 && image < FImages->GetCount())
            ComboBox()->setItemIcon(i, FImages->IconOf(image));
    }
    if (index < FItemsEx->GetCount()) SetItemIndex(index);
}

void RegisterComCtrlsClasses() {
    RegisterClasses({&TTabSheet::StaticClass(), &TPageControl::StaticClass(), &TTabControl::StaticClass(),
                     &TStatusBar::StaticClass(), &TToolBar::StaticClass(), &TToolButton::StaticClass(),
                     &TDateTimePicker::StaticClass(), &TUpDown::StaticClass(), &TTrackBar::StaticClass(),
                     &TComboBoxEx::StaticClass()});
}
