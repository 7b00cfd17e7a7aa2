// The button face is one colour on the screen: the forms', a control's that paints in it, and
// the corner between a framed control's scroll bars, whatever colour that control takes.
#include "platform/gui/extctrls.h"
#include "platform/gui/winuser.h"
#include "tests/platform/gui/x11/xserver.h"

namespace {

class BothBars : public TFramedControl {
public:
    using TFramedControl::TFramedControl;
    void Rebuild() { RecreateWnd(); }

protected:
    void CreateParams(DWORD& Style, DWORD& ExStyle) override {
        Style |= WS_VSCROLL | WS_HSCROLL;
        ExStyle |= WS_EX_CLIENTEDGE;
    }
    void Paint() override {
        GetCanvas()->GetBrush()->SetColor(GetColor());
        GetCanvas()->FillRect(GetPaintRect());
    }
};

class XButtonFace : public GuiTest {};

TEST_F(XButtonFace, ControlsInTheButtonFaceShowTheFormsColour) {
    TestForm form;
    form->SetBounds(100, 100, 300, 200);
    auto* box = Create<TPaintBox>(form.get());
    box->SetParent(form.get());
    box->SetBounds(10, 10, 40, 40);
    box->OnPaint = TNotifyEvent([box = box](TObject*) {
        box->GetCanvas()->GetBrush()->SetColor(clBtnFace);
        box->GetCanvas()->FillRect(Rect(0, 0, 40, 40));
    });
    auto* framed = Create<BothBars>(form.get());
    framed->SetParent(form.get());
    framed->SetBounds(100, 10, 150, 120);
    framed->Rebuild();
    SCROLLINFO si;
    si.fMask = SIF_RANGE;
    si.nMax = 50;
    SetScrollInfo(framed->GetHandle(), SB_VERT, &si, TRUE);
    SetScrollInfo(framed->GetHandle(), SB_HORZ, &si, TRUE);
    framed->SetColor(clNavy);
    ASSERT_TRUE(xserver::Activate(*form.get()));
    const probe::Picture shown = xserver::Picture(*form.get());
    xserver::Keep(shown, "buttonface");
    const probe::Rgb face = shown.Pixel(5, 150);
    EXPECT_EQ(shown.Pixel(30, 30), face) << "a control painted in the button face";
    // Inside the sunken edge, where the two bars meet.
    EXPECT_EQ(shown.Pixel(100 + 150 - 4, 10 + 120 - 4), face) << "the corner between the scroll bars";
    EXPECT_EQ(shown.Pixel(150, 50), (probe::Rgb{0, 0, 128})) << "the control's own colour";
}

} // namespace
