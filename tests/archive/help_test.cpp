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

} // namespace
