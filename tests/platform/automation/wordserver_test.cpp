#include "platform/automation/wordserver.h"
#include "tests/support/shellrecorder.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <fstream>

TEST(WordServer, OpensTheDocumentWithTheDesktop) {
    ShellRecorder shell;
    TempDir dir("moltren-word");
    const auto help = dir.path / "HelpMoltren.doc";
    std::ofstream(help) << "{\\rtf1 }";

    // Each request is a new instance, as the help command asks for.
    const Variant word = CreateOleObject(u"word.application");
    EXPECT_NE(CreateOleObject(u"word.application").AsDispatch(), word.AsDispatch());
    word.Set(u"Visible", true);
    EXPECT_TRUE(word.Get(u"visible").AsBoolean());
    const Variant doc = word.Get(u"documents").Call(u"open", UTF8ToString(help.string()));
    EXPECT_EQ(doc.Get(u"FullName").AsString(), UTF8ToString(help.string()));
    EXPECT_EQ(shell.opened, std::vector<AnsiString>{help.string()});
    EXPECT_EQ(word.Get(u"Documents").Get(u"Count").AsInteger(), 1);
}

TEST(WordServer, AFailureRaisesAnAutomationError) {
    ShellRecorder shell;
    TempDir dir("moltren-word");
    const Variant word = CreateOleObject(u"word.application");
    try {
        word.Get(u"Documents").Call(u"Open", UTF8ToString((dir.path / "missing.doc").string()));
        FAIL();
    } catch (const EOleException& e) {
        EXPECT_NE(e.Message().find(u"missing.doc"), String::npos);
        EXPECT_NE(e.Message().find(u"файл не найден"), String::npos);
    }
    EXPECT_TRUE(shell.opened.empty());

    const auto doc = dir.path / "HelpMoltren.doc";
    std::ofstream(doc) << "{\\rtf1 }";
    shell.result = SE_ERR_NOASSOC;
    EXPECT_THROW(word.Get(u"Documents").Call(u"Open", UTF8ToString(doc.string())), EOleException);
    EXPECT_EQ(word.Get(u"Documents").Get(u"Count").AsInteger(), 0);
    EXPECT_THROW(word.Get(u"Documents").Call(u"Open"), EOleSysError);
}
