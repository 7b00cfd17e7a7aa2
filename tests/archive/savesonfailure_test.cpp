// Every save of the program against a full disk, a read-only folder, a directory in the file's
// place, a name of 250 bytes and a missing folder: an earlier file stays as it was, nothing stray
// is left beside it, and the error names the file and the reason (an option the editors may
// skip, none). With MOLTREN_SAVES_TABLE set the
// test prints what it found as a table.
#include "chart/canvas/zuzprocs.h"
#include "chart/editors/zuzbmpoptions.h"
#include "chart/editors/zuzemfoptions.h"
#include "chart/engine/chart.h"
#include "chart/series/series.h"
#include "chart/series/zuzjpeg.h"
#include "chart/series/zuzstore.h"
#include "platform/automation/excelserver.h"
#include "platform/gui/printers.h"
#include "platform/win32/registry.h"
#include "tests/archive/programtest.h"
#include "tests/support/errnotext.h"
#include "tests/support/shellrecorder.h"
#include "tests/support/smalldisk.h"

#include <cstdlib>
#include <functional>
#include <iostream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

enum class Trouble { FullDisk, ReadOnly, Directory, LongName, MissingFolder };
constexpr Trouble kTroubles[] = {Trouble::FullDisk, Trouble::ReadOnly, Trouble::Directory, Trouble::LongName,
                                 Trouble::MissingFolder};
const char* const kTroubleNames[] = {"full disk", "read-only folder", "directory as target",
                                     "name of 250 bytes", "missing folder"};
// The reason each gives, in the language the system speaks.
String Reason(Trouble T) {
    const int codes[] = {ENOSPC, EROFS, EISDIR, 0, ENOENT};
    const int code = codes[static_cast<int>(T)];
    return code == 0 ? String() : ErrnoText(code);
}

// How a save names its file: as the operator says; always the same, in a folder of its own that it
// makes when missing (the settings store); or anew each time (the workbook).
enum class Naming { Given, Fixed, New };

// One save of the program.
struct Save {
    const char* what;
    Naming naming;
    // Saves to the file; an error reaches the operator as an exception or as a box (its text returned).
    std::function<String(const fs::path&)> run;
    // The editors' options: one that cannot be kept is skipped without a word (a read-only home
    // would otherwise box every close of an editor), the earlier file all the same kept.
    bool skipped = false;
};

const std::string kEarlier = "earlier contents\n";

std::string Contents(const fs::path& File) {
    std::ifstream in(File, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SavesOnFailure : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        CreateForms();
        chart.reset(Create<TChart>(nullptr));
        chart->SetName(u"Chart1");
        chart->SetBounds(0, 0, 400, 300);
        auto* series = Create<TLineSeries>(chart.get());
        series->SetParentChart(chart.get());
        for (int i = 0; i < 20; ++i) series->AddXY(i, i * i % 7);
        keptPrinter = SetPrinter(std::make_unique<TPrinter>(false, true));
    }
    void TearDown() override {
        SetPrinter(std::move(keptPrinter));
        win32::SetRegistryDirectory({});
        chart.reset();
        ProgramTest::TearDown();
    }

    // The text of an exception the save raised, or of the last box it showed (a question comes first).
    String Run(const std::function<void()>& save) {
        requests.clear();
        try {
            save();
        } catch (const Exception& e) {
            return e.Message();
        }
        String shown;
        for (const TDialogRequest& r : requests)
            if (r.Kind == TDialogKind::MessageBox && (r.Flags & MB_YESNO) != MB_YESNO) shown = r.Text;
        return shown;
    }

    std::vector<Save> Saves() {
        const auto format = [this](TZuzExportFormatClass Class) {
            return [this, Class](const fs::path& f) {
                return Run(
                    [&] { TZuzExportFormat::SaveToFile(Class, chart.get(), UTF8ToString(f.string())); });
            };
        };
        const auto data = [this](auto make) {
            return [this, make](const fs::path& f) {
                return Run([&] {
                    const Owned<TSeriesData> d(make(chart.get()));
                    d->SaveToFile(UTF8ToString(f.string()));
                });
            };
        };
        return {
            {"chart file", Naming::Given,
             [this](const fs::path& f) {
                 return Run([&] { SaveChartToFile(chart.get(), UTF8ToString(f.string())); });
             }},
            {"JPEG picture", Naming::Given, format(&TJPEGExportFormat::NewInstance)},
            {"bitmap picture", Naming::Given, format(&TBMPExportFormat::NewInstance)},
            {"metafile picture", Naming::Given, format(&TEMFExportFormat::NewInstance)},
            {"data as text", Naming::Given, data([](TCustomChart* c) { return new TSeriesDataText(c); })},
            {"data as XML", Naming::Given, data([](TCustomChart* c) { return new TSeriesDataXML(c); })},
            {"data as HTML", Naming::Given, data([](TCustomChart* c) { return new TSeriesDataHTML(c); })},
            {"data as XLS", Naming::Given, data([](TCustomChart* c) { return new TSeriesDataXLS(c); })},
            {"archive as text", Naming::Given,
             [this](const fs::path& f) {
                 MainForm->StringGrid->SetRowCount(2);
                 MainForm->StringGrid->SetCells(0, 1, u"05.10.2009 12:30:00");
                 MainForm->KeepRowRecord(1, " 05 10 12 30 1.5 0 ");
                 answer = [&f, n = 0](const TDialogRequest&) mutable {
                     TDialogAnswer a;
                     a.Result = n++ == 0 ? mrOk : IDNO; // the file, then: do not append, replace it
                     a.FileName = UTF8ToString(f.string());
                     return a;
                 };
                 const String text = Run([] { MainForm->TextExport->Execute(); });
                 answer = nullptr;
                 return text;
             }},
            {"archive as workbook", Naming::New,
             [this](const fs::path& f) {
                 ShellRecorder shell;
                 TOleServerScope server{u"Excel.Application",
                                        std::make_shared<TExcelServer>(TExcelOptions{f.parent_path()})};
                 MainForm->StringGrid->SetRowCount(2);
                 MainForm->StringGrid->SetColCount(2);
                 return Run([] { MainForm->ExcelExportExecute(nullptr); });
             }},
            {"PDF print", Naming::Given,
             [this](const fs::path& f) {
                 Printer()->SetFileName(UTF8ToString(f.string()));
                 return Run([&] { chart->Print(); });
             }},
            {"strings editor save", Naming::Given,
             [this](const fs::path& f) {
                 return Run([&] {
                     const Owned<TStringList> lines(Create<TStringList>());
                     lines->SetText(u"first line\nsecond line");
                     lines->SaveToFile(UTF8ToString(f.string()));
                 });
             }},
            {"settings store", Naming::Fixed,
             [this](const fs::path& f) {
                 win32::SetRegistryDirectory(f.parent_path());
                 return Run([] {
                     TRegistry reg;
                     reg.SetRootKey(HKEY_CURRENT_USER);
                     if (reg.OpenKey(u"SOFTWARE\\Dedara Software\\ZarEzodo Vez\\Editor", true))
                         reg.WriteInteger(u"TreeWidth", 180);
                 });
             },
             true},
        };
    }

    Owned<TChart> chart;
    std::unique_ptr<TPrinter> keptPrinter;
};

// What a folder holds besides the filler of a full disk.
std::vector<fs::path> Entries(const fs::path& Folder) {
    std::vector<fs::path> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(Folder, ec))
        if (e.path().filename() != "filler") out.push_back(e.path());
    return out;
}

TEST_F(SavesOnFailure, KeepTheEarlierFileAndNameTheFileAndTheReason) {
    std::ostringstream table;
    table << "| save |";
    for (const char* t : kTroubleNames) table << ' ' << t << " |";
    table << "\n|---|---|---|---|---|---|\n";
    for (const Save& save : Saves()) {
        table << "| " << save.what << " |";
        for (const Trouble trouble : kTroubles) {
            SCOPED_TRACE(std::string(save.what) + ", " + kTroubleNames[static_cast<int>(trouble)]);
            SmallDisk disk(256 * 1024);
            const bool onDisk = trouble == Trouble::FullDisk || trouble == Trouble::ReadOnly;
            if (onDisk && !disk.Mounted()) {
                table << " not measured: " << disk.Why() << " |";
                continue;
            }
            const fs::path folder = onDisk ? disk.path : dir.path / "saves";
            fs::remove_all(dir.path / "saves");
            if (!onDisk) fs::create_directory(folder);
            if ((save.naming != Naming::Given && trouble == Trouble::LongName) ||
                (save.naming == Naming::New && trouble == Trouble::Directory)) {
                table << " (the program names the file) |";
                continue;
            }
            std::string name = save.naming == Naming::Fixed ? "registry" : "saved.file";
            if (trouble == Trouble::LongName)
                name = UTF8Encode(String(120, u'ж')) + std::string(5, 'x') + ".file";
            const fs::path target = (trouble == Trouble::MissingFolder ? folder / "missing" : folder) / name;
            bool earlier = false;
            if (trouble == Trouble::Directory) {
                fs::create_directories(target / "inside");
            } else if (trouble != Trouble::LongName && trouble != Trouble::MissingFolder &&
                       save.naming != Naming::New) {
                std::ofstream(target, std::ios::binary) << kEarlier;
                earlier = true;
            }
            if (trouble == Trouble::FullDisk) disk.Fill(0);
            if (trouble == Trouble::ReadOnly) disk.MakeReadOnly();

            const String error = save.run(target);

            std::string left;
            const auto entries = Entries(trouble == Trouble::MissingFolder ? folder : target.parent_path());
            if (trouble == Trouble::LongName ||
                (trouble == Trouble::MissingFolder && save.naming == Naming::Fixed)) {
                EXPECT_TRUE(error.empty()) << StringToAnsi(error);
                EXPECT_TRUE(fs::is_regular_file(target));
                EXPECT_EQ(Entries(target.parent_path()).size(), 1u);
                left = fs::is_regular_file(target)
                           ? "saved, " + std::to_string(fs::file_size(target)) + " bytes"
                           : "nothing";
            } else {
                const fs::path named = save.naming == Naming::New ? target.parent_path() : target;
                if (save.skipped) {
                    EXPECT_TRUE(error.empty()) << StringToAnsi(error);
                } else {
                    EXPECT_NE(error.find(UTF8ToString(named.string())), String::npos) << StringToAnsi(error);
                    EXPECT_NE(error.find(Reason(trouble)), String::npos) << StringToAnsi(error);
                }
                if (earlier) {
                    EXPECT_EQ(Contents(target), kEarlier);
                    left = Contents(target) == kEarlier ? "earlier file kept" : "earlier file changed";
                } else if (trouble == Trouble::Directory) {
                    EXPECT_TRUE(fs::is_directory(target / "inside"));
                    left = fs::is_directory(target / "inside") ? "directory kept" : "directory changed";
                } else {
                    left = "no file";
                }
                const std::size_t expected = (earlier || trouble == Trouble::Directory) ? 1u : 0u;
                EXPECT_EQ(entries.size(), expected);
                if (entries.size() > expected)
                    left += ", " + std::to_string(entries.size() - expected) + " stray";
            }
            std::string shown = StringToAnsi(error);
            for (char& c : shown)
                if (c == '\n' || c == '|') c = ' ';
            table << ' ' << left << "; " << (shown.empty() ? "no error" : "\"" + shown + "\"") << " |";
        }
        table << '\n';
    }
    if (std::getenv("MOLTREN_SAVES_TABLE")) std::cout << table.str();
}

} // namespace
