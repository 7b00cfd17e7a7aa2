// The help command: where the manual is looked for and how it is opened.
#include "platform/automation/recordingserver.h"
#include "platform/automation/wordserver.h"
#include "tests/archive/programtest.h"
#include "tests/support/shellrecorder.h"

namespace fs = std::filesystem;

namespace {

// Works in a directory of its own for as long as it lives.
class CurrentDir {
public:
    explicit CurrentDir(const fs::path& dir) : previous_(fs::current_path()) { fs::current_path(dir); }
    ~CurrentDir() { fs::current_path(previous_); }
    CurrentDir(const CurrentDir&) = delete;
    CurrentDir& operator=(const CurrentDir&) = delete;

private:
    fs::path previous_;
};

class Help : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        CreateForms();
        fs::create_directories(work);
    }
    String Place(const fs::path& where) {
        fs::create_directories(where);
        WriteFile(where / "HelpMoltren.doc", "{\\rtf1 }");
        return UTF8ToString((where / "HelpMoltren.doc").string());
    }
    static String Dir(const fs::path& p) { return UTF8ToString(p.string()); }

    fs::path work = dir.path / "work";
    std::shared_ptr<TRecordingServer> word = std::make_shared<TRecordingServer>(u"word.application");
    TOleServerScope scope{u"word.application", word};
};

TEST_F(Help, TheWorkingDirectoryFirstThenTheProgramsOwn) {
    const fs::path current = dir.path / "current";
    const fs::path program = dir.path / "program";
    EXPECT_EQ(FindHelpDocument(Dir(current), Dir(program)), u"");
    const String besideProgram = Place(program);
    EXPECT_EQ(FindHelpDocument(Dir(current), Dir(program)), besideProgram);
    EXPECT_EQ(FindHelpDocument(Dir(current) + u"/", Dir(program) + u"/"), besideProgram);
    const String inCurrent = Place(current);
    EXPECT_EQ(FindHelpDocument(Dir(current), Dir(program)), inCurrent);
    // A directory by the document's name is not the document.
    fs::create_directories(dir.path / "odd" / "HelpMoltren.doc");
    EXPECT_EQ(FindHelpDocument(Dir(dir.path / "odd"), Dir(program)), besideProgram);
}

TEST_F(Help, EachRequestOpensTheManualInANewDocumentServer) {
    const String path = Place(work);
    CurrentDir cd(work);
    MainForm->N5->Click();
    MainForm->N5->Click();
    const std::vector<String> once = {
        u"CreateOleObject(\"word.application\")",
        u"put word.application.Visible = true",
        u"get word.application.documents",
        u"call word.application.documents.open(\"" + path + u"\")",
    };
    std::vector<String> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(word->Log(), twice);
    EXPECT_TRUE(requests.empty());
    EXPECT_EQ(beeps, 0);

    // A failing document server reaches the application's box.
    word->FailOn(u"call word.application.documents.open");
    EXPECT_THROW(MainForm->N5Click(nullptr), EOleException);
}

TEST_F(Help, TheDocumentServerHandsTheManualToTheDesktop) {
    TOleServerScope real(u"word.application", std::make_shared<TWordServer>());
    ShellRecorder shell;
    const String path = Place(work);
    CurrentDir cd(work);
    MainForm->N5Click(nullptr);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], StringToAnsi(path));
}

TEST_F(Help, AMissingManualIsReported) {
    // The test program's directory holds no manual; the program's does, and
    // is not where this test runs from.
    const String programDir = ExtractFilePath(Application->GetExeName());
    if (FileExists(programDir + u"HelpMoltren.doc")) GTEST_SKIP() << "a manual beside the test program";
    CurrentDir cd(work);
    MainForm->N5Click(nullptr);
    EXPECT_TRUE(word->Log().empty());
    EXPECT_EQ(beeps, 1);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Text,
              u"Проверьте наличие файла  \"HelpMoltren.doc\" в текущей дериктории программы");
    EXPECT_EQ(requests[0].Flags, MB_OK | MB_ICONWARNING);
}

// The text of an RTF document; structural faults are test failures.
String RtfText(const std::string& rtf) {
    String text;
    int depth = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        EXPECT_LT(static_cast<unsigned char>(c), 0x80) << "a byte outside 7-bit text at " << i;
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            EXPECT_GT(depth, 0) << "a group closed that was never opened at " << i;
            --depth;
        } else if (c == '\\' && i + 1 < rtf.size()) {
            const char next = rtf[i + 1];
            if (next == '\\' || next == '{' || next == '}') {
                text += static_cast<char16_t>(next);
                ++i;
                continue;
            }
            std::size_t end = i + 1;
            while (end < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[end]))) ++end;
            const std::string word = rtf.substr(i + 1, end - i - 1);
            const std::size_t digits = end;
            if (end < rtf.size() && rtf[end] == '-') ++end;
            while (end < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[end]))) ++end;
            if (word == "u") {
                // One character each, with "?" for readers that know no Unicode.
                EXPECT_TRUE(end > digits && end < rtf.size() && rtf[end] == '?') << "a bad \\u at " << i;
                const int code = std::stoi(rtf.substr(digits, end - digits));
                text += static_cast<char16_t>(code < 0 ? code + 65536 : code);
                i = end;
                continue;
            }
            if (word == "par" || word == "line") text += u'\n';
            if (word == "tab") text += u'\t';
            if (word.empty())
                end = i + 2; // a control symbol
            else if (end < rtf.size() && rtf[end] == ' ')
                ++end;
            i = end - 1;
        } else if (c != '\r' && c != '\n') {
            text += static_cast<char16_t>(c);
        }
    }
    EXPECT_EQ(depth, 0) << "groups left open";
    return text;
}

TEST_F(Help, TheManualIsRtfAndSpeaksOfWhatTheProgramShows) {
    const fs::path manual = MOLTREN_MANUAL;
    const std::string rtf = ReadFile(manual);
    ASSERT_EQ(rtf.rfind("{\\rtf1", 0), 0u) << manual;
    const String text = RtfText(rtf);

    TMainForm* f = MainForm;
    std::vector<String> shown = {
        f->Label1->GetCaption(), f->Label2->GetCaption(), f->Label3->GetCaption(), f->Label4->GetCaption(),
        f->Label5->GetCaption(), f->RadioGroup->GetCaption(), f->RadioGroup->GetItems()->GetStrings(0),
        f->RadioGroup->GetItems()->GetStrings(1), f->ReadArch->GetCaption(), f->ExcelExport->GetCaption(),
        f->TextExport->GetCaption(), f->BitBtn3->GetCaption(), f->TabSheet1->GetCaption(),
        f->TabSheet3->GetCaption(), f->MenuActions->GetCaption(), f->N5->GetCaption(), f->N4->GetCaption(),
        // What a read says and marks.
        u"Прервать", u"Ошибка чтения архива", u"Ошибка открытия COM порта",
        u"Неверно задан временной интервал", u"Err.2", u"Err.3", u"Err.4"};
    for (const String& caption : shown) {
        ASSERT_FALSE(caption.empty());
        EXPECT_NE(text.find(u"«" + caption + u"»"), String::npos) << StringToAnsi(caption);
    }
}

} // namespace
