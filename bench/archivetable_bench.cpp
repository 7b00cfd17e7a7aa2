// A year of hourly records with 13 values through the main window's record
// cutting and table building, day by day as the read road hands them over.
#include "archive/mainform.h"
#include "bench/benchmain.h"
#include "platform/core/dateutils.h"
#include "tools/device-sim/simcore.h"

namespace {

// Each day's reply as the device sends it: its records framed, then "?" 0xFF.
std::vector<std::string> YearOfReplies(std::size_t& records) {
    using namespace std::chrono;
    devsim::GenerateOptions g;
    g.first = year{2009} / January / 1;
    g.days = 365;
    g.recordsPerDay = 24;
    g.values = 13;
    g.missingEvery = 101;
    const devsim::Archive archive = devsim::GenerateArchive(g);
    records = archive.RecordCount();
    std::vector<std::string> replies;
    for (const auto& [key, texts] : archive.Days()) {
        std::string reply;
        for (const auto& text : texts) reply += "\xF0\x01\x02\x03" + text + "\xFF";
        replies.push_back(reply + "?\xFF");
    }
    return replies;
}

void YearTable(benchmark::State& state) {
    FormatSettings = RussianFormatSettings();
    std::size_t records = 0;
    const auto replies = YearOfReplies(records);
    TMainForm* form = nullptr;
    Application->CreateForm(form);
    for (auto _ : state) {
        form->ClearArchiveTable();
        form->currentDate = EncodeDate(2009, 1, 1);
        for (const auto& reply : replies) {
            form->ParseReplyRecords(reply);
            form->logLines->Clear();
            form->BuildArchiveGrid();
            form->currentDate = IncDay(form->currentDate);
        }
        if (form->StringGrid->GetRowCount() != static_cast<int>(records) + 1)
            state.SkipWithError("rows lost");
    }
    state.counters["records/s"] =
        benchmark::Counter(static_cast<double>(records * state.iterations()), benchmark::Counter::kIsRate);
    form->Free();
}
BENCHMARK(YearTable)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The same records without the table: cutting, sorting, fields and cell
// texts alone, to tell the table's share from ours.
void YearRecords(benchmark::State& state) {
    FormatSettings = RussianFormatSettings();
    std::size_t records = 0;
    const auto replies = YearOfReplies(records);
    std::size_t cells = 0;
    for (auto _ : state) {
        TDateTime day = EncodeDate(2009, 1, 1);
        for (const auto& reply : replies) {
            TStringList lines;
            for (const auto& text : CutReplyRecords(reply))
                lines.Add(u" " + String(text.begin(), text.end()) + u" ");
            lines.Sort();
            for (int i = 0; i < lines.GetCount(); ++i) {
                const TArchiveRecord record = ParseArchiveRecord(lines.GetStrings(i), YearOf(day));
                cells += DateTimeToStr(record.time).size();
                for (const double v : record.values) cells += FloatToStr(v).size();
            }
            day = IncDay(day);
        }
    }
    benchmark::DoNotOptimize(cells);
    state.counters["records/s"] =
        benchmark::Counter(static_cast<double>(records * state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(YearRecords)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
