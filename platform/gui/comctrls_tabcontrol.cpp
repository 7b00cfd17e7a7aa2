// The tab control: a row of tabs over an area that holds child controls. Unlike the page
// control it has no pages: the same children stay while the tab changes, and the owner of
// the control decides what a tab means.
#include "platform/gui/comctrls.h"
#include "platform/gui/guiclasses.h"

#include "platform/gui/qtbridge.h"

#include <QFrame>
#include <QPainter>
#include <QTabBar>

using namespace gui_detail;

namespace {

// The frame drawn around the area below the tabs.
class TabFrame : public QFrame {
public:
    TabFrame() {
        bar = new QTabBar(this);
        bar->setDrawBase(false);
        bar->setExpanding(false);
        bar->setUsesScrollButtons(true);
    }
    QTabBar* bar;

protected:
    void paintEvent(QPaintEvent* e) override {
        QFrame::paintEvent(e);
        QPainter p(this);
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(QRect(0, bar->height() - 1, width() - 1, height() - bar->height()));
    }
};

} // namespace

const ClassInfo& TTabControl::StaticClass() {
    using T = TTabControl;
    static const PropInfo props[] = {
        MakeProp<&T::GetHotTrack, &T::SetHotTrack>("HotTrack").Default(false),
        MakeProp<&T::GetTabs, &T::SetTabs>("Tabs"),
        MakeProp<&T::GetTabIndex, &T::SetTabIndex>("TabIndex").Default(-1),
        MakeProp<&T::OnChange>("OnChange"),
        MakeProp<&T::OnChanging>("OnChanging"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TTabControl>("TTabControl", &TCustomControl::StaticClass(), props);
    return ci;
}

TTabControl::TTabControl(TComponent* AOwner)
    : TCustomControl(AOwner, new TabFrame()), FTabs(std::make_unique<TStringList>()) {
    FBar = static_cast<TabFrame*>(Widget())->bar;
    RegisterWidget(FBar, this);
    InitTabStop(true);
    FTabs->OnChange.Bind(this, &TTabControl::TabsChanged);
    QObject::connect(FBar, &QTabBar::currentChanged, [this](int index) {
        if (!FSyncing) Guarded(this, [&] { TabClicked(index); });
    });
    SetBounds(0, 0, 289, 193);
}

TTabControl::~TTabControl() {
    UnregisterWidget(FBar);
}

TStrings* TTabControl::GetTabs() const {
    return FTabs.get();
}

void TTabControl::SetTabs(TStrings* Value) {
    FTabs->Assign(Value);
}

int TTabControl::GetTabIndex() const {
    return FIndex;
}

// From code: no event.
void TTabControl::SetTabIndex(int Value) {
    if (Value < -1 || Value >= FTabs->GetCount()) Value = -1;
    FIndex = Value;
    FSyncing = true;
    FBar->setCurrentIndex(Value);
    FSyncing = false;
}

void TTabControl::SetHotTrack(bool Value) {
    FHotTrack = Value;
}

// The tabs are built anew from the list; the chosen index stays where it still exists.
void TTabControl::TabsChanged(TObject*) {
    FSyncing = true;
    while (FBar->count() > 0) FBar->removeTab(FBar->count() - 1);
    for (int i = 0; i < FTabs->GetCount(); ++i) FBar->addTab(ToQString(FTabs->GetStrings(i)));
    if (FIndex >= FTabs->GetCount()) FIndex = FTabs->GetCount() - 1;
    if (FIndex < 0 && FTabs->GetCount() > 0) FIndex = 0;
    FBar->setCurrentIndex(FIndex);
    FSyncing = false;
    WidgetResized(GetWidth(), GetHeight());
}

void TTabControl::TabClicked(int Index) {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    if (!allow) {
        FSyncing = true;
        FBar->setCurrentIndex(FIndex);
        FSyncing = false;
        return;
    }
    FIndex = Index;
    if (OnChange) OnChange(this);
}

TRect TTabControl::AdjustClientRect() const {
    const int top = FBar->count() > 0 ? FBar->sizeHint().height() : 0;
    TRect r = GetClientRect();
    r.Top += top + 3;
    r.Left += 3;
    r.Right -= 3;
    r.Bottom -= 3;
    if (r.Bottom < r.Top) r.Bottom = r.Top;
    if (r.Right < r.Left) r.Right = r.Left;
    return r;
}

void TTabControl::WidgetResized(int AWidth, int AHeight) {
    FBar->setGeometry(0, 0, AWidth, FBar->count() > 0 ? FBar->sizeHint().height() : 0);
    TCustomControl::WidgetResized(AWidth, AHeight);
    Realign();
}
