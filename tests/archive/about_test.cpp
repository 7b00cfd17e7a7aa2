// The about box: its texts and settings from the form resource, and the
// links handed to the desktop.
#include "tests/archive/programtest.h"
#include "tests/support/guiprobe.h"
#include "tests/support/picturefile.h"
#include "tests/support/shellrecorder.h"

namespace {

class About : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        CreateForms();
        box = AboutBox;
    }
    TAboutBox* box = nullptr;
};

TEST_F(About, EveryTextAndSettingComesFromTheResource) {
    EXPECT_EQ(box->GetCaption(), u"О программе");
    const std::pair<TLabel*, String> texts[] = {
        {box->ProductName, u"Название продукта:"},
        {box->Label1, u"Moltren"},
        {box->Version, u"Версия:"},
        {box->Label2, u"2.0.0"},
        {box->Comments, u"Комментарий:"},
        {box->Label4, u"по вопросам доработки обращаться по адресу:"},
        {box->Label5, u"support@moltren.example"},
        {box->Label6, u"Сайт разработчика:"},
        {box->Label7, u"moltren.example"},
    };
    for (const auto& [label, text] : texts) {
        EXPECT_EQ(label->GetCaption(), text);
        EXPECT_EQ(label->GetParent(), box->Panel1) << StringToAnsi(text);
    }

    // The two links look like links and are bound to their handlers.
    for (TLabel* link : {box->Label5, box->Label7}) {
        EXPECT_EQ(link->GetFont()->GetColor(), clBlue);
        EXPECT_TRUE(link->GetFont()->GetStyle().Contains(fsUnderline));
        EXPECT_EQ(link->GetCursor(), crHandPoint);
        EXPECT_TRUE(static_cast<bool>(link->OnClick));
    }
    for (TLabel* plain : {box->Label1, box->Label6})
        EXPECT_FALSE(plain->GetFont()->GetStyle().Contains(fsUnderline));

    EXPECT_EQ(box->OKButton->GetModalResult(), mrOk);
}

TEST_F(About, TheLinksReachTheDesktopEncoded) {
    ShellRecorder shell;
    box->Label5->Click();
    box->Label7->Click();
    ASSERT_EQ(shell.opened, (std::vector<AnsiString>{"mailto:support@moltren.example?Subject=Quilmet%20",
                                                     "http://moltren.example"}));

    // Nothing happens when no handler takes them, and nobody is asked.
    shell.result = SE_ERR_NOASSOC;
    box->Label5->Click();
    EXPECT_EQ(shell.opened.size(), 3u);
    EXPECT_TRUE(requests.empty());

    // Whatever the captions hold, the handler gets one well-formed URL.
    box->Label5->SetCaption(u"служба поддержки@moltren.example");
    box->Label5->Click();
    EXPECT_EQ(shell.opened.back(), "mailto:%D1%81%D0%BB%D1%83%D0%B6%D0%B1%D0%B0%20%D0%BF%D0%BE%D0%B4%D0%B4%"
                                   "D0%B5%D1%80%D0%B6%D0%BA%D0%B8@"
                                   "moltren.example?Subject=Quilmet%20");
}

// Renders the box as a desktop would show it, for a person to look at; the
// picture goes where the tests keep pictures, never into the sources.
TEST_F(About, RendersWithTheProgramsPicture) {
    box->Show();
    ASSERT_TRUE(WaitFor([&] { return probe::Shown(*box); }));
    probe::ProcessEvents();
    const probe::Picture picture = probe::Grab(*box);
    EXPECT_TRUE(picture.SavePng(testsupport::PictureFile("aboutbox.png")));
    // The picture comes with the form: the dial's hub in its middle, dark blue.
    const probe::Rgb hub = probe::Grab(*box->ProgramIcon).Pixel(57, 50);
    EXPECT_GT(hub.b, 100);
    EXPECT_LT(hub.r, 60);
    box->Hide();
}

} // namespace
