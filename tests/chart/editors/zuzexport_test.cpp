// The export dialog on a real chart: the aspect ratio, which buttons each page enables, what
// Save writes for the file type picked, the native and data families, sending through a
// private folder, and the formats it lists.
#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/editors/zuzbmpoptions.h"
#include "chart/editors/zuzemfoptions.h"
#include "chart/editors/zuzexport.h"
#include "chart/editors/zuzformatting.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzstringseditor.h"
#include "chart/engine/charttitle.h"
#include "chart/series/series.h"
#include "chart/series/zuzstore.h"
#include "modaldriver.h"
#include "platform/core/streams.h"
#include "platform/gui/clipbrd.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"
#include "platform/win32/mapi.h"
#include "tests/chart/editors/dialogfixture.h"
#include "tests/chart/editors/editorunits.h"
#include "tests/chart/series/exportfixture.h"
#include "tests/chart/series/picturefile.h"
#include "tests/support/formtest.h"
#include "tests/support/guiprobe.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A variable of the environment, put back as it was when the test ends.
struct SavedVariable {
    explicit SavedVariable(const char* Name) : name(Name) {
        if (const char* value = std::getenv(Name)) saved = value;
    }
    ~SavedVariable() { saved ? setenv(name, saved->c_str(), 1) : unsetenv(name); }
    SavedVariable(const SavedVariable&) = delete;
    SavedVariable& operator=(const SavedVariable&) = delete;
    const char* name;
    std::optional<std::string> saved;
};

class ExportDialog : public ExportTest {
protected:
    static void SetUpTestSuite() {
        ExportTest::SetUpTestSuite();
        StartChartEditorUnits();
        RegisterClasses({&TChart::StaticClass(), &TLineSeries::StaticClass()});
        ZuzStoreInitialization();
    }
    void SetUp() override {
        ExportTest::SetUp();
        // The machine's own xdg-email is never found, let alone started: programs are looked
        // for only in the test's "bin", and temporary folders are made in the test's folder.
        setenv("PATH", (dir.path / "bin").c_str(), 1);
        setenv("TMPDIR", dir.path.c_str(), 1);
        ZuzExportFormatsFinalization();
        ZuzExportFormatsInitialization();
        ZuzBmpOptionsInitialization();
        ZuzEmfOptionsInitialization();
        ZuzJPEGInitialization();
        chart.reset(Create<TChart>(nullptr));
        chart->SetBounds(0, 0, 400, 250);
        chart->SetView3D(false);
        chart->GetTitle()->GetText()->Add(u"Архив прибора «КРОНТ»");
        auto* line = Create<TLineSeries>(chart.get());
        line->SetName(u"Series1");
        line->SetTitle(u"Температура");
        chart->AddSeries(line);
        line->AddXY(1, 1.5, u"январь");
        line->AddXY(2, 2.25, u"февраль");
        line->AddXY(3, 1.75, u"март");
        form.reset(Create<TZuzExportForm>(nullptr));
        form->SetPanel(chart.get());
        form->Show();
    }
    void TearDown() override {
        form.reset();
        chart.reset();
        SetMapiMailer({});
        ZuzEmfOptionsFinalization();
        ZuzBmpOptionsFinalization();
        ExportTest::TearDown();
    }
    // The next file dialog answers OK with this name and filter entry.
    void AnswerSave(const String& Name, int FilterIndex = 0) {
        SetDialogResponder([=, this](const TDialogRequest& r) {
            requests.push_back(r);
            TDialogAnswer a;
            a.Result = mrOk;
            a.FileName = Name;
            a.FilterIndex = FilterIndex;
            return a;
        });
    }
    void SelectFormat(const String& Description) {
        TStrings* items = form->LBFormat->GetItems();
        form->LBFormat->SetItemIndex(items->IndexOf(Description));
        form->LBFormatClick(form->LBFormat);
    }
    void ShowPage(TTabSheet* Page) {
        form->PageControl1->SetActivePage(Page);
        form->PageControl1Change(form->PageControl1);
    }
    struct Buttons {
        bool copy, save, send, view;
        friend bool operator==(const Buttons&, const Buttons&) = default;
        friend std::ostream& operator<<(std::ostream& os, const Buttons& b) {
            return os << "copy " << b.copy << " save " << b.save << " send " << b.send << " view " << b.view;
        }
    };
    Buttons State() const {
        return {form->BCopy->GetEnabled(), form->BSave->GetEnabled(), form->BSend->GetEnabled(),
                form->BView->GetEnabled()};
    }
    static String Utf16File(const std::string& bytes) {
        String text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text.push_back(static_cast<Char>(static_cast<unsigned char>(bytes[i]) |
                                             static_cast<unsigned char>(bytes[i + 1]) << 8));
        return text;
    }

    SavedVariable path{"PATH"}, tmpdir{"TMPDIR"};
    Owned<TChart> chart;
    Owned<TZuzExportForm> form;
    std::vector<TDialogRequest> requests;
};

TEST_F(ExportDialog, TheSizeBoxesKeepThePanelsAspectRatio) {
    EXPECT_EQ(form->EWidth->GetText(), u"400");
    EXPECT_EQ(form->EHeight->GetText(), u"250");
    EXPECT_TRUE(form->CBAspect->GetChecked());
    form->EWidth->SetText(u"800");
    EXPECT_EQ(form->EHeight->GetText(), u"500");
    form->EHeight->SetText(u"100");
    EXPECT_EQ(form->EWidth->GetText(), u"160");
    form->CBAspect->SetChecked(false);
    form->EWidth->SetText(u"300");
    EXPECT_EQ(form->EHeight->GetText(), u"100");
    // The boxes end at 3000.
    form->CBAspect->SetChecked(true);
    form->EHeight->SetText(u"2500");
    EXPECT_EQ(form->UDWidth->GetPosition(), 3000);
}

TEST_F(ExportDialog, APanelOfNoHeightKeepsNoAspectInsteadOfDividingByZero) {
    form.reset();
    chart->SetBounds(0, 0, 400, 0);
    form.reset(Create<TZuzExportForm>(nullptr));
    form->SetPanel(chart.get());
    form->Show();
    EXPECT_EQ(form->GetAspectRatio(), 0);
    form->EWidth->SetText(u"640");
    EXPECT_EQ(form->EHeight->GetText(), u"0");
    form->EHeight->SetText(u"480");
    EXPECT_EQ(form->EWidth->GetText(), u"640");
}

TEST_F(ExportDialog, EachPageEnablesItsButtonsAndSendNeedsAMailSystem) {
    EXPECT_EQ(State(), (Buttons{true, true, false, false})); // Picture
    ShowPage(form->TabNative);
    EXPECT_EQ(State(), (Buttons{false, true, false, false})); // binary: nothing to copy or view
    form->RGNative->SetItemIndex(1);
    EXPECT_EQ(State(), (Buttons{true, true, false, true}));
    form->RGNative->SetItemIndex(2);
    EXPECT_EQ(State(), (Buttons{true, true, false, true}));
    ShowPage(form->TabData);
    EXPECT_EQ(State().copy, true);
    form->RGText->SetItemIndex(3); // Excel
    EXPECT_FALSE(form->BCopy->GetEnabled());
    EXPECT_TRUE(form->BSave->GetEnabled());
    EXPECT_FALSE(form->CBDelim->GetEnabled());
    form->RGText->SetItemIndex(0);
    EXPECT_TRUE(form->CBDelim->GetEnabled());
    EXPECT_FALSE(form->ECustom->GetEnabled());
    form->CBDelim->SetItemIndex(4);
    form->CBDelimChange(form->CBDelim);
    EXPECT_TRUE(form->ECustom->GetEnabled());
    // Before it is ever shown, too.
    EXPECT_FALSE(Owned<TZuzExportForm>(Create<TZuzExportForm>(nullptr))->BSend->GetEnabled());
    // With a mail system Send follows Save.
    SetMapiMailer([](const MapiMessage&, ULONG) { return SUCCESS_SUCCESS; });
    form->RGText->SetItemIndex(3);
    EXPECT_TRUE(form->BSend->GetEnabled());
    SetMapiMailer({});
    form->EnableButtons();
    EXPECT_FALSE(form->BSend->GetEnabled());
}

TEST_F(ExportDialog, TheFormatsAreListedSortedAndFilteredInRegistryOrderOnEveryShow) {
    TStrings* items = form->LBFormat->GetItems();
    ASSERT_EQ(items->GetCount(), 3);
    EXPECT_EQ(items->GetStrings(0), u"as Bitmap");
    EXPECT_EQ(items->GetStrings(1), u"as JPEG");
    EXPECT_EQ(items->GetStrings(2), u"as Metafile");
    const String filter = form->SavePicture->GetFilter();
    EXPECT_EQ(filter, u"Bitmaps (*.bmp)|*.bmp|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf|"
                      u"JPEG files (*.jpg)|*.jpg");
    form->Hide();
    form->Show();
    EXPECT_EQ(form->SavePicture->GetFilter(), filter);
    EXPECT_EQ(form->LBFormat->GetItems()->GetCount(), 3);
    // Choosing a line embeds that format's options in the "Options" tab.
    SelectFormat(u"as Metafile");
    auto* emf = dynamic_cast<TEMFExportFormat*>(form->SelectedFormat());
    ASSERT_NE(emf, nullptr);
    EXPECT_EQ(emf->Options(false)->GetParent(), form->TabOptions);
    SelectFormat(u"as Bitmap");
    EXPECT_EQ(emf->Options(false)->GetParent(), nullptr);
}

TEST_F(ExportDialog, APictureIsSavedInTheFormatOfTheNamesExtension) {
    SelectFormat(u"as Bitmap");
    form->EWidth->SetText(u"200");
    const String jpg = File("chart.jpg");
    AnswerSave(jpg);
    form->BSaveClick(form->BSave);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].FilterIndex, 1);
    const std::string bytes = ReadAll(jpg);
    ASSERT_GT(bytes.size(), 3u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xD8"); // a JPEG, at the size of the boxes
    TJPEGImage back;
    back.LoadFromFile(jpg);
    EXPECT_EQ(back.GetWidth(), 200);
    EXPECT_EQ(back.GetHeight(), 125);
    // A name without a known extension takes the selected format.
    const String other = File("chart.pic");
    AnswerSave(other);
    form->BSaveClick(form->BSave);
    EXPECT_EQ(ReadAll(other).substr(0, 2), "BM");
}

TEST_F(ExportDialog, TheMetafileFilterPickedDecidesPlainOrEnhanced) {
    SelectFormat(u"as Metafile");
    const String wmf = File("chart.wmf");
    AnswerSave(wmf, 3);
    form->BSaveClick(form->BSave);
    EXPECT_EQ(ReadAll(wmf).substr(0, 4), std::string("\xD7\xCD\xC6\x9A", 4));
    EXPECT_EQ(form->SelectedFormat()->FileFilterIndex(), 3);
    const String emf = File("chart.emf");
    AnswerSave(emf, 2);
    form->BSaveClick(form->BSave);
    EXPECT_EQ(requests.back().FilterIndex, 3); // the dialog opened on the plain entry
    EXPECT_EQ(ReadAll(emf).substr(40, 4), " EMF");
    // Saved through the save dialog alone, the entry picked names the extension and the kind alike.
    AnswerSave(File("alone"), 2);
    ZuzExportSavePanel(&TEMFExportFormat::NewInstance, chart.get());
    EXPECT_EQ(ReadAll(File("alone.wmf")).substr(0, 4), std::string("\xD7\xCD\xC6\x9A", 4));
}

TEST_F(ExportDialog, TheDataFileTypePickedSetsTheDelimiterAndTheComboFollows) {
    ShowPage(form->TabData);
    EXPECT_EQ(form->CBDelim->GetItemIndex(), 1); // "Tab"
    const String csv = File("data.csv");
    AnswerSave(csv, 3); // "Comma delimited text files (*.csv)"
    form->BSaveClick(form->BSave);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].FilterIndex, 2); // it opened on the combo's "Tab"
    EXPECT_EQ(form->CBDelim->GetItemIndex(), 2);
    const String text = Utf16File(ReadAll(csv));
    const String dec(1, FormatSettings.DecimalSeparator);
    // A decimal comma is inside its field's quotes: each row has the header's three fields.
    const String half = dec == u"," ? u"\"1,5\"" : u"1" + dec + u"5";
    EXPECT_NE(text.find(u"Text,X,Температура\r\nянварь,1," + half + u"\r\n"), String::npos)
        << UTF8Encode(text);
    EXPECT_EQ(text.find(u'\t'), String::npos);
    // An XML entry switches the data format, and a name typed without an extension takes its.
    AnswerSave(File("data2"), 6);
    form->BSaveClick(form->BSave);
    EXPECT_EQ(requests.back().FilterIndex, 3);
    EXPECT_EQ(form->RGText->GetItemIndex(), 1);
    EXPECT_NE(Utf16File(ReadAll(File("data2.xml"))).find(u"<series"), String::npos);
    // The custom delimiter is the edit's first character, a blank when it is empty.
    form->RGText->SetItemIndex(0);
    form->CBDelim->SetItemIndex(4);
    form->ECustom->SetText(u";");
    const String custom = File("data.txt");
    AnswerSave(custom, 5);
    form->BSaveClick(form->BSave);
    EXPECT_NE(Utf16File(ReadAll(custom)).find(u"январь;1;1" + dec + u"5"), String::npos);
}

TEST_F(ExportDialog, CopiedDataUsesTheLocalesDecimalSeparatorAndTheChosenSeries) {
    ShowPage(form->TabData);
    ASSERT_EQ(form->CBSeries->GetItems()->GetCount(), 2);
    EXPECT_EQ(form->CBSeries->GetItems()->GetStrings(0), u"(all)");
    form->CBHeader->SetChecked(false);
    form->CBLabels->SetChecked(false);
    form->CBSeries->SetItemIndex(1);
    form->BCopyClick(form->BCopy);
    const String dec(1, FormatSettings.DecimalSeparator);
    EXPECT_EQ(Clipboard()->GetAsText(),
              u"1\t1" + dec + u"5\r\n2\t2" + dec + u"25\r\n3\t1" + dec + u"75\r\n\r\n"); // X, then Y
}

TEST_F(ExportDialog, TheNativeFileIsSavedInTheChosenFormWithItsExtension) {
    ShowPage(form->TabNative);
    form->RGNative->SetItemIndex(1); // text
    const String asked = File("chart.zuz");
    AnswerSave(asked);
    form->BSaveClick(form->BSave);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Filter, u"VedIrure files (*.txt)|*.txt");
    const std::string text = ReadAll(File("chart.txt"));
    EXPECT_EQ(text.substr(0, 6), "object");
    EXPECT_NE(text.find("Series1"), std::string::npos);
    form->CBNativeData->SetChecked(false);
    form->RGNative->SetItemIndex(0);
    AnswerSave(File("nodata"));
    form->BSaveClick(form->BSave);
    Owned<TChart> back(Create<TChart>(nullptr));
    TCustomChart* into = back.get();
    LoadChartFromFile(into, File("nodata.zuz"));
    ASSERT_EQ(back->SeriesCount(), 1);
    EXPECT_EQ(back->Series(0)->Count(), 0);
    // "View..." shows the text form, read from the same stream as the file, to read only.
    form->RGNative->SetItemIndex(2);
    {
        ModalDriver driver;
        driver.Form<TStringsEditor>([&](TStringsEditor& e) {
            EXPECT_EQ(e.GetOwner(), form.get());
            EXPECT_TRUE(e.Memo1->GetReadOnly());
            EXPECT_EQ(e.Memo1->GetText().substr(0, 5), u"<?xml");
        });
        probe::Click(*form->BView);
    }
    // The size label shows the native stream's size when asked.
    form->CBNativeSize->SetChecked(true);
    EXPECT_NE(form->LNativeSize->GetCaption().find(u" bytes"), String::npos);
}

TEST_F(ExportDialog, SendingWritesIntoAPrivateFolderThatIsGoneAfterSuccessOrFailure) {
    std::string seenPath;
    auto seenMode = std::filesystem::perms::none;
    bool existed = false;
    ULONG answer = SUCCESS_SUCCESS;
    MapiMessage seen;
    SetMapiMailer([&](const MapiMessage& m, ULONG flags) {
        seen = m;
        EXPECT_EQ(flags, 11u);
        seenPath = m.lpFiles.at(0).lpszPathName;
        existed = std::filesystem::exists(seenPath);
        seenMode = std::filesystem::status(std::filesystem::path(seenPath).parent_path()).permissions() &
                   std::filesystem::perms::all;
        return answer;
    });
    form->EnableButtons();
    ASSERT_TRUE(form->BSend->GetEnabled());
    form->BSendClick(form->BSend);
    EXPECT_TRUE(existed);
    EXPECT_EQ(seenMode, std::filesystem::perms::owner_all);
    EXPECT_EQ(seen.lpszSubject, "VedIrure");
    EXPECT_EQ(seen.lpFiles.at(0).lpszFileName, "VedIrure.bmp");
    EXPECT_EQ(seen.lpFiles.at(0).nPosition, 0xFFFFFFFFu);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(seenPath).parent_path()));
    const std::string first = seenPath;
    answer = 3; // a mail system's error
    ShowPage(form->TabData);
    try {
        form->BSendClick(form->BSend);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), u"Can not email VedIrure. Mapi Error: 3");
    }
    EXPECT_NE(seenPath, first); // a new folder each time
    EXPECT_EQ(seen.lpFiles.at(0).lpszFileName, "VedIrure.txt");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(seenPath).parent_path()));
    answer = MAPI_USER_ABORT; // the user's cancel is no error
    EXPECT_NO_THROW(form->BSendClick(form->BSend));
    // Without a mail system the button turns itself off and nothing is written.
    SetMapiMailer({});
    form->BSend->SetEnabled(true);
    form->BSendClick(form->BSend);
    EXPECT_FALSE(form->BSend->GetEnabled());
}

// Without a test's mailer the desktop's xdg-email takes the mail: a stand-in in the test's
// "bin" writes down its arguments and what it could read of the attachment.
TEST_F(ExportDialog, XdgEmailGetsACopyOfTheAttachmentThatOutlivesTheCall) {
    EXPECT_FALSE(MapiAvailable());
    const fs::path bin = dir.path / "bin", args = dir.path / "args", read = dir.path / "read";
    fs::create_directory(bin);
    const auto mailer = [&](int Exit) {
        std::ofstream(bin / "xdg-email") << "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" << args.string()
                                         << "'\nfor a; do [ -f \"$a\" ] && /bin/cat \"$a\" > '"
                                         << read.string() << "'; done\nexit " << Exit << "\n";
        fs::permissions(bin / "xdg-email", fs::perms::owner_all);
    };
    mailer(0);
    EXPECT_TRUE(MapiAvailable());
    form->EnableButtons();
    ASSERT_TRUE(form->BSend->GetEnabled());
    // Mail folders of this user a day old go; younger ones stay for their mail programs.
    fs::create_directory(dir.path / "moltren-mail-aged01");
    fs::create_directory(dir.path / "moltren-mail-young1");
    fs::last_write_time(dir.path / "moltren-mail-aged01", fs::file_time_type::clock::now() - 25h);
    form->BSendClick(form->BSend);
    const auto arguments = [&] {
        std::vector<std::string> lines;
        std::ifstream in(args);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    };
    const std::vector<std::string> lines = arguments();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(std::vector(lines.begin(), lines.begin() + 4),
              (std::vector<std::string>{"--utf8", "--subject", "VedIrure", "--attach"}));
    const fs::path attached = lines[4];
    EXPECT_EQ(attached.filename(), "VedIrure.bmp");
    EXPECT_EQ(attached.parent_path().parent_path(), dir.path);
    EXPECT_EQ(attached.parent_path().filename().string().substr(0, 13), "moltren-mail-");
    EXPECT_EQ(fs::status(attached.parent_path()).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(ReadAll(File("read")).substr(0, 2), "BM");
    EXPECT_TRUE(ReadAll(UTF8ToString(attached.string())) == ReadAll(File("read"))) << "gone after the call";
    EXPECT_FALSE(fs::exists(dir.path / "moltren-mail-aged01"));
    EXPECT_TRUE(fs::exists(dir.path / "moltren-mail-young1"));
    // A mail system's failure is the dialog's error, and its copy goes.
    mailer(1);
    try {
        form->BSendClick(form->BSend);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), u"Can not email VedIrure. Mapi Error: 2");
    }
    const fs::path failed = arguments().back();
    EXPECT_NE(failed, attached);
    EXPECT_FALSE(fs::exists(failed.parent_path()));
    // An attachment that cannot be copied is named, with the reason.
    MapiMessage message;
    message.lpFiles.push_back({0, 0, 0xFFFFFFFF, (dir.path / "gone.bmp").string(), "gone.bmp"});
    try {
        MAPISendMail(0, 0, message, 0, 0);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message().find(UTF8ToString((dir.path / "gone.bmp").string())), String::npos);
        const std::string reason = std::make_error_code(std::errc::no_such_file_or_directory).message();
        EXPECT_NE(e.Message().find(UTF8ToString(reason)), String::npos);
    }
}

TEST_F(ExportDialog, APanelThatIsNoChartHasNoDataPageAndSavesItsComponentStream) {
    form.reset(Create<TZuzExportForm>(nullptr));
    form->SetTag(reinterpret_cast<NativeInt>(static_cast<TObject*>(panel.get())));
    form->Show();
    EXPECT_EQ(form->GetPanel(), panel.get());
    EXPECT_FALSE(form->TabData->GetTabVisible());
    EXPECT_FALSE(form->CBNativeData->GetVisible());
    EXPECT_EQ(form->EWidth->GetText(), u"160");
    ShowPage(form->TabNative);
    form->RGNative->SetItemIndex(1);
    form->BCopyClick(form->BCopy);
    EXPECT_EQ(Clipboard()->GetAsText().substr(0, 6), u"object");
    AnswerSave(File("panel.zuz"));
    form->RGNative->SetItemIndex(0);
    form->BSaveClick(form->BSave);
    EXPECT_EQ(ReadAll(File("panel.zuz")).substr(0, 4), "TPF0");
}

TEST_F(ExportDialog, ShownInsideAnotherControlItsComingAndGoingBringsThatControlUpToDate) {
    TestForm window;
    window->SetBounds(0, 0, 520, 420);
    auto* place = Create<TCountingPanel>(window.get());
    place->SetParent(window.get());
    place->SetBounds(0, 0, 520, 420);
    auto* page = Create<TZuzExportForm>(window.get());
    AddFormTo(page, place, chart.get());
    window->Show();
    probe::ProcessEvents();
    ASSERT_TRUE(page->GetShowing());
    for (const bool shown : {false, true}) {
        place->laidOut = 0;
        window->SetVisible(shown);
        probe::ProcessEvents();
        EXPECT_GT(place->laidOut, 0) << shown;
    }
}

TEST_F(ExportDialog, APanelFreedWhileTheDialogIsOpenIsForgotten) {
    chart.reset();
    EXPECT_EQ(form->GetPanel(), nullptr);
    EXPECT_EQ(form->SelectedFormat()->Panel, nullptr);
    EXPECT_THROW(form->BCopyClick(form->BCopy), Exception);
}

TEST_F(ExportDialog, ZuzExportShowsTheDialogModallyOnThePanelAndFreesIt) {
    const auto dialogs = [this] {
        int n = 0;
        for (int i = 0; i < chart->GetComponentCount(); ++i)
            if (dynamic_cast<TZuzExportForm*>(chart->GetComponent(i))) ++n;
        return n;
    };
    ModalDriver driver;
    driver.Form<TZuzExportForm>([&](TZuzExportForm& d) {
        EXPECT_EQ(d.GetPanel(), chart.get());
        EXPECT_EQ(d.GetInitialDir(), u"/tmp/charts");
        EXPECT_EQ(d.GetOwner(), chart.get());
    });
    driver.Form<TZuzExportForm>([](TZuzExportForm&) { throw std::runtime_error("while shown"); });
    ZuzExport(chart.get(), chart.get(), u"/tmp/charts");
    EXPECT_EQ(dialogs(), 0);
    EXPECT_THROW(ZuzExport(chart.get(), chart.get()), std::runtime_error);
    EXPECT_EQ(dialogs(), 0);
}

TEST_F(ExportDialog, TheValueFormatButtonEditsTheFormatAndCancelKeepsIt) {
    const TRestoreOnExit<TFormatSettings> english(FormatSettings, EnglishFormatSettings());
    ShowPage(form->TabData);
    form->CBFormat->SetText(u"0.00"); // a format of no entry, as typed
    EXPECT_EQ(form->CBFormat->GetText(), u"0.00");
    ModalDriver driver;
    driver.Form<TFormatEditor>([](TFormatEditor& e) { probe::Click(*e.CBThousands); }, mrOk)
        .Form<TFormatEditor>([](TFormatEditor& e) { probe::Click(*e.CBPercent); }, mrCancel);
    probe::Click(*form->BFormat);
    const String built = form->CBFormat->GetText();
    EXPECT_EQ(built, u"#,##0.00");
    probe::Click(*form->BFormat);
    EXPECT_EQ(form->CBFormat->GetText(), built);
}

TEST_F(ExportDialog, ThePagesAsTheOperatorSeesThem) {
    form->CBFileSize->SetChecked(true);
    EXPECT_NE(form->LSize->GetCaption().find(u" bytes"), String::npos);
    const auto save = [&](const char* name) {
        probe::ProcessEvents();
        KeepPicture(probe::Grab(*form), name);
    };
    save("export-picture-bitmap.png");
    form->PageOptions->SetActivePage(form->TabSize);
    save("export-picture-size.png");
    form->PageOptions->SetActivePage(form->TabOptions);
    SelectFormat(u"as Metafile");
    save("export-picture-metafile.png");
    SelectFormat(u"as JPEG");
    save("export-picture-jpeg.png");
    ShowPage(form->TabNative);
    save("export-native.png");
    ShowPage(form->TabData);
    save("export-data.png");
}

} // namespace
