#pragma once
// Shared set-up of the tests that run the program's forms: a fresh
// application object, the forms created as the program creates them, no
// serial port of the machine in sight, the Russian locale, a beep counter and
// a responder that answers every dialog.

#include "archive/about.h"
#include "archive/mainform.h"
#include "archive/moltren.h"
#include "graphs/okcancl1.h"
#include "moltren_resources.h"
#include "platform/core/sysutils.h"
#include "platform/win32/serialcomm.h"
#include "tests/support/formtest.h"
#include "tests/support/tempdir.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class ProgramTest : public FormTest {
protected:
    void SetUp() override {
        // The program's units, then a fresh application object of the forms unit.
        InitUnits(ProgramUnits());
        DoneFormsUnit();
        InitFormsUnit();
        FormTest::SetUp();
        std::filesystem::create_directories(dir.path / "tty");
        win32::SetSerialCommSources(dir.path / "tty", dir.path / "serialcomm");
        savedFormat = FormatSettings;
        FormatSettings = RussianFormatSettings();
        SetBeepHandler([this] { ++beeps; });
    }
    void TearDown() override {
        FormTest::TearDown();
        DoneFormsUnit();
        InitFormsUnit();
        MainForm = nullptr;
        AboutBox = nullptr;
        GraphSettings = nullptr;
        win32::SetSerialCommSources({}, {});
        FormatSettings = savedFormat;
    }

    // The program's start-up without its loop.
    void CreateForms() { CreateProgramForms(); }

    // Answers each dialog in turn with the given answers; the last one is
    // repeated.
    void Answers(std::vector<TDialogAnswer> list) {
        answer = [list = std::move(list), i = std::size_t{0}](const TDialogRequest&) mutable {
            return list[std::min(i++, list.size() - 1)];
        };
    }

    static TDialogAnswer Press(int result) {
        TDialogAnswer a;
        a.Result = result;
        return a;
    }
    static TDialogAnswer Choose(const String& fileName) {
        TDialogAnswer a = Press(mrOk);
        a.FileName = fileName;
        return a;
    }

    static std::string ReadFile(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
    }

    TempDir dir{"moltren-program"};
    int beeps = 0;

private:
    TFormatSettings savedFormat;
};
