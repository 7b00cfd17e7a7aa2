// The controls the chart editors build on: owner-drawn combo and list boxes, the splitter, the picture
// dialog's formats and pictures carried in form resources.
#include "platform/core/objecttext.h"
#include "platform/core/streams.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/splitter.h"
#include "platform/gui/stdctrls.h"
#include "tests/platform/gui/guitest.h"

#include <QComboBox>
#include <QImage>
#include <QListWidget>

#include <string>
#include <vector>

namespace {

QColor At(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

// ---------------------------------------------------------------------------
// Owner-drawn boxes

class OwnerDrawn : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form->SetBounds(0, 0, 300, 200);
    }
    // Each item: a red bar for an even index, blue for odd, over the item's whole rectangle.
    void Paint(TCanvas* canvas, int index, const TRect& rect, TOwnerDrawState state) {
        calls.push_back({index, rect, state});
        canvas->GetBrush()->SetColor(index % 2 ? clBlue : clRed);
        canvas->FillRect(rect);
    }
    struct Call {
        int index;
        TRect rect;
        TOwnerDrawState state;
    };
    TestForm form;
    std::vector<Call> calls;
};

TEST_F(OwnerDrawn, AListBoxDrawsEveryItemThroughItsHandlerInItsOwnCoordinates) {
    auto* list = Create<TListBox>(form.get());
    list->SetParent(form.get());
    list->SetBounds(10, 10, 120, 100);
    list->SetStyle(lbOwnerDrawFixed);
    list->SetItemHeight(20);
    for (const char16_t* s : {u"a", u"b", u"c"}) list->GetItems()->Add(s);
    list->OnDrawItem = TDrawItemEvent([&](TWinControl* c, int i, TRect r, TOwnerDrawState s) {
        EXPECT_EQ(c, list);
        Paint(list->GetCanvas(), i, r, s);
    });
    list->SetItemIndex(1);
    form->Show();
    const QImage shot = list->Widget()->grab().toImage();
    ASSERT_GE(calls.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const TRect r = list->ItemRect(i);
        EXPECT_EQ(r.Height(), 20);
        EXPECT_EQ(At(shot, r.Left + 5, r.Top + 10), i % 2 ? QColor(Qt::blue) : QColor(Qt::red)) << i;
    }
    bool selectedSeen = false;
    for (const Call& c : calls) {
        EXPECT_EQ(c.rect, list->ItemRect(c.index));
        if (c.index == 1)
            selectedSeen = selectedSeen || c.state.Contains(odSelected);
        else
            EXPECT_FALSE(c.state.Contains(odSelected));
    }
    EXPECT_TRUE(selectedSeen);
}

TEST_F(OwnerDrawn, AListBoxWithoutAHandlerWritesTheItemOnTheSelectionColour) {
    auto* list = Create<TListBox>(form.get());
    list->SetParent(form.get());
    list->SetBounds(10, 10, 120, 100);
    list->SetStyle(lbOwnerDrawFixed);
    list->GetItems()->Add(u"WWWWWW");
    list->SetItemIndex(0);
    form->Show();
    const QImage shot = list->Widget()->grab().toImage();
    const TRect r = list->ItemRect(0);
    const std::int32_t rgb = ColorToRGB(clHighlight);
    EXPECT_EQ(At(shot, r.Right - 3, r.Top + 2), QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF));
}

TEST_F(OwnerDrawn, AComboDrawsItsChosenItemInItsFaceAndItsListItems) {
    auto* combo = Create<TComboBox>(form.get());
    combo->SetParent(form.get());
    combo->SetBounds(10, 10, 150, 24);
    combo->SetStyle(csOwnerDrawFixed);
    combo->SetItemHeight(18);
    for (const char16_t* s : {u"a", u"b"}) combo->GetItems()->Add(s);
    combo->OnDrawItem = TDrawItemEvent(
        [&](TWinControl*, int i, TRect r, TOwnerDrawState s) { Paint(combo->GetCanvas(), i, r, s); });
    combo->SetItemIndex(1);
    form->Show();
    const QImage face = combo->Widget()->grab().toImage();
    ASSERT_FALSE(calls.empty());
    const Call& faceCall = calls.back();
    EXPECT_EQ(faceCall.index, 1);
    EXPECT_TRUE(faceCall.state.Contains(odComboBoxEdit));
    EXPECT_EQ(At(face, faceCall.rect.Left + 3, faceCall.rect.Top + 3), QColor(Qt::blue));
}

TEST_F(OwnerDrawn, TheStyleAndHandlerComeFromAFormResource) {
    const std::string text =
        "object ListBox1: TListBox\n  Style = lbOwnerDrawFixed\n  ItemHeight = 17\nend\n";
    TMemoryStream in, binary;
    in.WriteBuffer(text.data(), static_cast<LongInt>(text.size()));
    in.SetPosition(0);
    ObjectTextToBinary(&in, &binary);
    binary.SetPosition(0);
    Owned<TListBox> list(Create<TListBox>(nullptr));
    binary.ReadComponent(list.get());
    EXPECT_EQ(list->GetStyle(), lbOwnerDrawFixed);
    EXPECT_EQ(list->GetItemHeight(), 17);
}

// ---------------------------------------------------------------------------
// The splitter

class SplitterTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form->SetClientWidth(300);
        form->SetClientHeight(100);
        list = Create<TListBox>(form.get());
        list->SetParent(form.get());
        list->SetAlign(alLeft);
        list->SetWidth(100);
        splitter = Create<TSplitter>(form.get());
        splitter->SetParent(form.get());
        splitter->SetLeft(100);
        splitter->SetAlign(alLeft);
        rest = Create<TPanel>(form.get());
        rest->SetParent(form.get());
        rest->SetAlign(alClient);
        splitter->OnMoved = TNotifyEvent([this](TObject*) { ++moves; });
        form->Show();
    }
    void Drag(int dx) {
        probe::MousePress(*splitter, mbLeft, TPoint(1, 50));
        probe::MouseMoveTo(*splitter, mbLeft, TPoint(1 + dx, 50));
        probe::MouseRelease(*splitter, mbLeft, TPoint(1 + dx, 50));
    }
    TestForm form;
    TListBox* list = nullptr;
    TSplitter* splitter = nullptr;
    TPanel* rest = nullptr;
    int moves = 0;
};

TEST_F(SplitterTest, LiesBesideTheControlAndDraggingResizesIt) {
    EXPECT_EQ(splitter->GetLeft(), 100);
    EXPECT_EQ(splitter->GetWidth(), 3);
    EXPECT_EQ(splitter->GetCursor(), crHSplit);
    Drag(40);
    EXPECT_EQ(list->GetWidth(), 140);
    EXPECT_EQ(splitter->GetLeft(), 140);
    EXPECT_EQ(rest->GetLeft(), 143);
    EXPECT_EQ(moves, 1);
}

TEST_F(SplitterTest, BothSidesKeepTheMinimumSize) {
    Drag(-200);
    EXPECT_EQ(list->GetWidth(), 30);
    Drag(500);
    EXPECT_EQ(list->GetWidth(), 300 - 3 - 30);
}

// ---------------------------------------------------------------------------
// The picture dialog and pictures in form resources

TEST_F(GuiTest, ThePictureDialogOffersEveryPictureFormatAllTogetherFirst) {
    Owned<TOpenPictureDialog> dialog(Create<TOpenPictureDialog>(nullptr));
    const String filter = dialog->GetFilter();
    EXPECT_EQ(filter.rfind(u"All (", 0), 0u) << UTF8Encode(filter);
    EXPECT_NE(filter.find(u"|Bitmaps (*.bmp)|*.bmp"), String::npos);
    EXPECT_NE(filter.find(u"*.emf"), String::npos);
    answer = [](const TDialogRequest& r) {
        EXPECT_EQ(r.Kind, TDialogKind::OpenDialog);
        TDialogAnswer a;
        a.Result = mrOk;
        a.FileName = u"/tmp/x.bmp";
        return a;
    };
    EXPECT_TRUE(dialog->Execute());
    EXPECT_EQ(dialog->GetFileName(), u"/tmp/x.bmp");
}

TEST_F(GuiTest, AnImagesPictureTravelsInTheFormResource) {
    TestForm form;
    form->SetName(u"Form1");
    auto* image = Create<TImage>(form.get());
    image->SetName(u"Image1");
    image->SetParent(form.get());
    TBitmap* bitmap = image->GetPicture()->GetBitmap();
    bitmap->SetSize(5, 3);
    bitmap->GetCanvas()->SetPixel(4, 2, clRed);
    TMemoryStream binary;
    binary.WriteComponent(form.get());
    binary.SetPosition(0);
    TMemoryStream text;
    ObjectBinaryToText(&binary, &text);
    const std::string out(static_cast<const char*>(text.Memory()), static_cast<std::size_t>(text.GetSize()));
    // The class name first, then the picture's own bytes, size first.
    const std::size_t data = out.find("Picture.Data = {");
    ASSERT_NE(data, std::string::npos) << out;
    const std::size_t name = out.find("07544269746D6170", data);
    ASSERT_NE(name, std::string::npos);
    EXPECT_LT(name - data, 30u);

    binary.SetPosition(0);
    TestForm back;
    binary.ReadComponent(back.get());
    auto* read = dynamic_cast<TImage*>(back->FindComponent(u"Image1"));
    ASSERT_NE(read, nullptr);
    auto* copy = dynamic_cast<TBitmap*>(read->GetPicture()->GetGraphic());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetWidth(), 5);
    EXPECT_EQ(copy->GetHeight(), 3);
    EXPECT_EQ(copy->GetCanvas()->GetPixel(4, 2), clRed);
}

TEST_F(GuiTest, DamagedPictureDataIsRefused) {
    const auto read = [](const std::string& data) {
        const std::string text = "object Image1: TImage\n  Picture.Data = {\n    " + data + "}\nend\n";
        TMemoryStream in, binary;
        in.WriteBuffer(text.data(), static_cast<LongInt>(text.size()));
        in.SetPosition(0);
        ObjectTextToBinary(&in, &binary);
        binary.SetPosition(0);
        Owned<TImage> image(Create<TImage>(nullptr));
        binary.ReadComponent(image.get());
    };
    EXPECT_THROW(read("07544269746D6170FFFF0000"), EReadError); // a size beyond the data
    EXPECT_THROW(read("0754426974"), EReadError);               // a cut class name
    EXPECT_THROW(read("03466F6F0000000000"), EReadError);       // no such picture class
    EXPECT_NO_THROW(read("00"));                                // no picture at all
}

} // namespace
