// Window services of framed self-painted controls: scroll bars and their
// messages, scrolling the content, invalidating, the caret, text metrics and
// the font dialog.

#include "platform/gui/winuser.h"

#include "platform/gui/dialogs.h"
#include "tests/platform/gui/guitest.h"

#include <QAbstractScrollArea>
#include <QFontDatabase>
#include <QImage>
#include <QScrollBar>

namespace {

// A control that paints each pixel row in the colour of its row number and
// records what it was asked to paint.
class Striped : public TFramedControl {
public:
    using TFramedControl::TFramedControl;
    DWORD style = WS_VSCROLL | WS_HSCROLL;
    DWORD exStyle = WS_EX_CLIENTEDGE;
    int offset = 0;
    std::vector<TRect> painted;
    std::vector<std::pair<int, int>> vscroll;
    void Rebuild() { RecreateWnd(); }

protected:
    void CreateParams(DWORD& Style, DWORD& ExStyle) override {
        Style |= style;
        ExStyle |= exStyle;
    }
    void Paint() override {
        painted.push_back(GetPaintRect());
        const TRect r = GetPaintRect();
        for (int y = r.Top; y < r.Bottom; ++y) {
            GetCanvas()->GetBrush()->SetColor(static_cast<TColor>(RGB(0, 0, static_cast<BYTE>(y + offset))));
            GetCanvas()->FillRect(Rect(r.Left, y, r.Right, y + 1));
        }
    }
    void WMVScroll(int Code, int Pos) override { vscroll.emplace_back(Code, Pos); }
};

class WinUser : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form->SetBounds(0, 0, 400, 300);
        control = Create<Striped>(form.get());
        control->SetParent(form.get());
        control->SetBounds(0, 0, 200, 150);
        control->Rebuild();
        form->Show();
    }
    QImage Picture() const {
        QCoreApplication::processEvents();
        return control->InputSurface()->grab().toImage();
    }
    HWND Handle() const { return control->GetHandle(); }

    TestForm form;
    Striped* control = nullptr;
};

} // namespace

TEST_F(WinUser, ScrollBarsKeepTheirPositionInRangeAndHideWhenEmpty) {
    const int edge = GetSystemMetrics(SM_CXEDGE);
    EXPECT_EQ(control->GetClientRect(), Rect(0, 0, 200 - 2 * edge, 150 - 2 * edge));
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_POS;
    si.nMax = 10;
    si.nPos = 25;
    EXPECT_EQ(SetScrollInfo(Handle(), SB_VERT, &si, TRUE), 10);
    EXPECT_EQ(control->GetClientWidth(), 200 - 2 * edge - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(control->GetClientHeight(), 150 - 2 * edge);
    SCROLLINFO back;
    back.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(Handle(), SB_VERT, &back));
    EXPECT_EQ(back.nMax, 10);
    EXPECT_EQ(back.nPos, 10);
    EXPECT_EQ(GetScrollPos(Handle(), SB_HORZ), 0);
    si.nMax = 0;
    SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
    EXPECT_EQ(control->GetClientWidth(), 200 - 2 * edge);
    // Without the style the bar never shows.
    control->style = 0;
    control->exStyle = 0;
    control->Rebuild();
    si.nMax = 10;
    SetScrollInfo(Handle(), SB_HORZ, &si, TRUE);
    EXPECT_EQ(control->GetClientRect(), Rect(0, 0, 200, 150));
    // Other windows are not framed controls.
    EXPECT_FALSE(GetScrollInfo(form->GetHandle(), SB_VERT, &back));
    EXPECT_FALSE(InvalidateRect(nullptr, nullptr, FALSE));
}

TEST_F(WinUser, UsersScrollBarClicksArriveAsScrollMessages) {
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_POS;
    si.nMax = 20;
    si.nPos = 5;
    SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
    auto* area = static_cast<QAbstractScrollArea*>(control->Widget());
    QScrollBar* bar = area->verticalScrollBar();
    EXPECT_EQ(bar->value(), 5);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    ASSERT_EQ(control->vscroll.size(), 4u);
    EXPECT_EQ(control->vscroll[0].first, SB_LINEDOWN);
    EXPECT_EQ(control->vscroll[1].first, SB_ENDSCROLL);
    EXPECT_EQ(control->vscroll[2].first, SB_PAGEUP);
    // The bar stays where the control put it: this one set nothing.
    EXPECT_EQ(bar->value(), 5);
    EXPECT_EQ(GetScrollPos(Handle(), SB_VERT), 5);
}

TEST_F(WinUser, ScrollingMovesPixelsAndRepaintsOnlyWhatIsUncovered) {
    Picture();
    control->painted.clear();
    control->offset = 100; // a repainted row shows in another colour
    const RECT all = control->GetClientRect();
    int kind = ScrollWindowEx(Handle(), 0, -10, &all, &all, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
    EXPECT_EQ(kind, SIMPLEREGION);
    const QImage img = Picture();
    ASSERT_EQ(control->painted.size(), 1u);
    EXPECT_EQ(control->painted[0], Rect(0, all.Bottom - 10, all.Right, all.Bottom));
    EXPECT_EQ(qBlue(img.pixel(5, 0)), 10);                           // row 10 moved up to row 0
    EXPECT_EQ(qBlue(img.pixel(5, all.Bottom - 11)), all.Bottom - 1); // the old last row
    EXPECT_EQ(qBlue(img.pixel(5, all.Bottom - 10)), all.Bottom - 10 + 100);

    control->painted.clear();
    const RECT part = Rect(10, 10, 20, 20);
    InvalidateRect(Handle(), &part, FALSE);
    Picture();
    ASSERT_EQ(control->painted.size(), 1u);
    EXPECT_EQ(control->painted[0], part);
}

TEST_F(WinUser, TheCaretIsOneOwnedInvertedBlockWhoseHidesNest) {
    Picture();
    EXPECT_FALSE(ShowCaret(Handle())); // none yet
    ASSERT_TRUE(CreateCaret(Handle(), nullptr, 4, 8));
    EXPECT_EQ(GetCaretWindow(), Handle());
    EXPECT_FALSE(IsCaretShown()); // made hidden
    SetCaretPos(20, 30);
    ShowCaret(Handle());
    EXPECT_TRUE(IsCaretShown());
    const QRgb under = Picture().pixel(21, 31);
    EXPECT_EQ(qBlue(under), 255 - 31); // the row colour, inverted
    HideCaret(Handle());
    HideCaret(Handle());
    ShowCaret(Handle());
    EXPECT_FALSE(IsCaretShown());
    EXPECT_EQ(qBlue(Picture().pixel(21, 31)), 31);
    ShowCaret(Handle());
    POINT p;
    ASSERT_TRUE(GetCaretPos(&p));
    EXPECT_EQ(p, TPoint(20, 30));
    // A second window taking the caret takes it from the first.
    auto* other = Create<Striped>(form.get());
    other->SetParent(form.get());
    ASSERT_TRUE(CreateCaret(other->GetHandle(), nullptr, 2, 2));
    EXPECT_EQ(GetCaretWindow(), other->GetHandle());
    EXPECT_FALSE(HideCaret(Handle()));
    other->Free();
    EXPECT_EQ(GetCaretWindow(), nullptr);
    EXPECT_FALSE(DestroyCaret());
}

TEST_F(WinUser, TextMetricsSetThePitchBitForProportionalFaces) {
    // The faces asked for stand for Liberation Sans and Mono and DejaVu Sans Mono here; without
    // them the fallback's pitch would be measured instead.
    for (const char* face : {"Liberation Sans", "Liberation Mono", "DejaVu Sans Mono"})
        if (!QFontDatabase::hasFamily(QString::fromLatin1(face)))
            GTEST_SKIP()
                << face
                << " is not installed (scripts/setup installs fonts-liberation2 and fonts-dejavu-core)";
    TCanvas* c = control->GetCanvas();
    const auto pitchBit = [&](const char16_t* name) {
        c->GetFont()->SetName(name);
        c->RequiredState({csHandleValid, csFontValid});
        TEXTMETRICW tm;
        EXPECT_TRUE(GetTextMetricsW(c->GetHandle(), &tm));
        return (tm.tmPitchAndFamily & TMPF_FIXED_PITCH) != 0;
    };
    EXPECT_TRUE(pitchBit(u"Liberation Sans"));
    EXPECT_TRUE(pitchBit(u"Tahoma"));
    EXPECT_FALSE(pitchBit(u"Fixedsys"));
    EXPECT_FALSE(pitchBit(u"Courier New"));
    EXPECT_FALSE(pitchBit(u"Consolas"));
    EXPECT_FALSE(pitchBit(u"Terminal"));
}

TEST_F(WinUser, FontDialogIsAnsweredByTheResponder) {
    Owned<TFontDialog> dialog(Create<TFontDialog>(nullptr));
    dialog->GetFont()->SetName(u"Courier New");
    dialog->SetOptions(TFontDialogOptions{fdFixedPitchOnly});
    answer = [](const TDialogRequest& r) {
        EXPECT_EQ(r.Kind, TDialogKind::FontDialog);
        EXPECT_EQ(r.Font->GetName(), u"Courier New");
        EXPECT_TRUE(TFontDialogOptions::FromBits(r.Flags).Contains(fdFixedPitchOnly));
        TDialogAnswer a;
        a.Result = mrOk;
        a.FontName = u"DejaVu Sans Mono";
        a.FontSize = 11;
        return a;
    };
    EXPECT_TRUE(dialog->Execute());
    EXPECT_EQ(dialog->GetFont()->GetName(), u"DejaVu Sans Mono");
    EXPECT_EQ(dialog->GetFont()->GetSize(), 11);
    answer = [](const TDialogRequest&) { return TDialogAnswer{}; };
    EXPECT_FALSE(dialog->Execute());
    EXPECT_EQ(dialog->GetFont()->GetName(), u"DejaVu Sans Mono");
}
