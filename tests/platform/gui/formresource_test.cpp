// A form read from its object-text resource: the components, their settings
// and the handlers bound by name.
#include "platform/core/resources.h"
#include "platform/gui/buttons.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/grids.h"
#include "platform/gui/imglist.h"
#include "platform/gui/menus.h"
#include "test_platform_gui_resources.h"
#include "tests/platform/gui/guitest.h"
#include "tests/support/testclass.h"

#include <QAction>

namespace {

class TResourceForm : public TForm {
public:
    static const ClassInfo& StaticClass() {
        static const MethodInfo methods[] = {
            MakeMethod<&TResourceForm::FormCreate>("FormCreate"),
            MakeMethod<&TResourceForm::RadioGroupClick>("RadioGroupClick"),
            MakeMethod<&TResourceForm::ReadArchExecute>("ReadArchExecute"),
            MakeMethod<&TResourceForm::TimerComWaitPacketTimer>("TimerComWaitPacketTimer"),
        };
        static const ClassInfo ci =
            MakeClassInfo<TResourceForm>("TResourceForm", &TForm::StaticClass(), methods);
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TForm::TForm;

    TToolBar* ToolBar1 = nullptr;
    TPanel* Panel1 = nullptr;
    TComboBox* ComboBox1 = nullptr;
    TRadioGroup* RadioGroup = nullptr;
    TBitBtn* BitBtn1 = nullptr;
    TPageControl* PageControl1 = nullptr;
    TStringGrid* StringGrid = nullptr;
    TMemo* Memo = nullptr;
    TStatusBar* StatusBar = nullptr;
    TAction* ReadArch = nullptr;
    TTimer* TimerComWaitPacket = nullptr;

    int creates = 0, radioClicks = 0, reads = 0;
    void FormCreate(TObject*) { ++creates; }
    void RadioGroupClick(TObject*) { ++radioClicks; }
    void ReadArchExecute(TObject*) { ++reads; }
    void TimerComWaitPacketTimer(TObject*) {}

protected:
    void BindComponents() override {
        Bind(ToolBar1, u"ToolBar1");
        Bind(Panel1, u"Panel1");
        Bind(ComboBox1, u"ComboBox1");
        Bind(RadioGroup, u"RadioGroup");
        Bind(BitBtn1, u"BitBtn1");
        Bind(PageControl1, u"PageControl1");
        Bind(StringGrid, u"StringGrid");
        Bind(Memo, u"Memo");
        Bind(StatusBar, u"StatusBar");
        Bind(ReadArch, u"ReadArch");
        Bind(TimerComWaitPacket, u"TimerComWaitPacket");
    }
};

class FormResourceTest : public GuiTest {
protected:
    static void SetUpTestSuite() {
        GuiTest::SetUpTestSuite();
        RegisterGuiTestResources();
        RegisterClass(TResourceForm::StaticClass());
    }
};

TEST_F(FormResourceTest, TheFormIsBuiltFromItsResource) {
    Owned<TResourceForm> f(Create<TResourceForm>(nullptr));
    EXPECT_EQ(f->GetName(), u"ResourceForm");
    EXPECT_EQ(f->GetCaption(), u"Moltren - программа для чтения архива прибора типа \"КРОНТ\"");
    EXPECT_EQ(f->creates, 1);
    EXPECT_EQ(f->GetClientWidth(), 500);
    EXPECT_EQ(f->GetClientHeight(), 400);
    ASSERT_NE(f->GetMenu(), nullptr);
    EXPECT_EQ(f->GetFont()->GetName(), u"Tahoma");
    EXPECT_FALSE(f->GetComponentState().Contains(csLoading));

    // Controls sit on their parents and the aligned ones share the client area.
    EXPECT_EQ(f->ComboBox1->GetParent(), f->Panel1);
    EXPECT_EQ(f->StringGrid->GetParent(), f->PageControl1->GetPage(0));
    EXPECT_EQ(f->ToolBar1->GetBoundsRect(), Rect(0, 0, 500, 25));
    EXPECT_EQ(f->StatusBar->GetBoundsRect(), Rect(0, 381, 500, 400));
    EXPECT_EQ(f->Panel1->GetBoundsRect(), Rect(0, 25, 170, 381));
    EXPECT_EQ(f->PageControl1->GetBoundsRect(), Rect(170, 25, 500, 381));
    EXPECT_EQ(f->PageControl1->GetActivePage()->GetCaption(), u"Таблица");
    EXPECT_EQ(f->Memo->GetParent()->GetCaption(), u"Лог");
    EXPECT_EQ(f->ComboBox1->GetFont()->GetHeight(), -11);

    // Items, indexes and options.
    EXPECT_EQ(f->ComboBox1->GetItems()->GetCount(), 4);
    EXPECT_EQ(f->ComboBox1->GetItemIndex(), 0);
    EXPECT_EQ(f->ComboBox1->GetText(), u"9600");
    EXPECT_EQ(f->RadioGroup->GetItemIndex(), 0);
    EXPECT_EQ(f->radioClicks, 0);
    EXPECT_TRUE(f->StringGrid->GetOptions().Contains(goColSizing));
    EXPECT_EQ(f->StringGrid->GetDefaultRowHeight(), 15);
    EXPECT_TRUE(f->Memo->GetReadOnly());
    EXPECT_EQ(f->StatusBar->GetPanels()->GetCount(), 2);
    EXPECT_EQ(f->StatusBar->GetPanels()->GetItem(1)->GetWidth(), 150);
    EXPECT_FALSE(f->TimerComWaitPacket->GetEnabled());
    EXPECT_EQ(f->TimerComWaitPacket->GetInterval(), 3500u);
    auto* picker = static_cast<TDateTimePicker*>(f->FindComponent(u"DateTimePicker"));
    EXPECT_DOUBLE_EQ(picker->GetDateTime(), 40091.5);
    // Each control takes the place in the tab order it was written with, whatever order it was read in.
    EXPECT_EQ(f->ComboBox1->GetTabOrder(), 2);
    EXPECT_EQ(f->RadioGroup->GetTabOrder(), 1);
    EXPECT_EQ(picker->GetTabOrder(), 0);
    EXPECT_EQ(f->BitBtn1->GetTabOrder(), 3);
    auto* save = static_cast<TSaveDialog*>(f->FindComponent(u"SaveDialog"));
    EXPECT_EQ(save->GetDefaultExt(), u"txt");

    // The action reaches its clients; the button kept its own caption text.
    EXPECT_EQ(f->BitBtn1->GetAction(), f->ReadArch);
    EXPECT_EQ(f->BitBtn1->GetCaption(), u"Читать архив");
    auto* n3 = static_cast<TMenuItem*>(f->FindComponent(u"N3"));
    EXPECT_EQ(n3->GetCaption(), u"Читать архив");
    EXPECT_EQ(n3->GetShortCut(), 16466);
    auto* tool = static_cast<TToolButton*>(f->FindComponent(u"ToolButton1"));
    EXPECT_EQ(tool->GetHint(), u"Читать архив устройства");
    EXPECT_EQ(tool->GetImageIndex(), 0);
    f->BitBtn1->Click();
    EXPECT_TRUE(f->IsShortCut(16466));
    EXPECT_EQ(f->reads, 2);
    f->ReadArch->SetEnabled(false);
    EXPECT_FALSE(f->BitBtn1->GetEnabled());
    EXPECT_FALSE(n3->Action()->isEnabled());
    f->RadioGroup->SetItemIndex(1);
    EXPECT_EQ(f->radioClicks, 1);
}

TEST_F(FormResourceTest, AFormClassWithoutAResourceCannotBeCreated) {
    struct TNoResourceForm : testsupport::TTestClass<TNoResourceForm, TForm, "TNoResourceForm"> {
        using TTestClass::TTestClass;
    };
    EXPECT_THROW(Create<TNoResourceForm>(nullptr), EResNotFound);
}

} // namespace
