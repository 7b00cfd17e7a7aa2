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

// The read road's work for each day's reply: records cut into the log's
// lines and the table's; the log's lines go to the memo when Log is set.
void ReadYear(benchmark::State& state, bool Table, bool Log) {
    FormatSettings = RussianFormatSettings();
    std::size_t records = 0;
    const auto replies = YearOfReplies(records);
    TMainForm* form = nullptr;
    Application->CreateForm(form);
    TStrings* memo = form->Memo->GetLines();
    for (auto _ : state) {
        form->ClearArchiveTable();
        memo->Clear();
        form->currentDate = EncodeDate(2009, 1, 1);
        for (const auto& reply : replies) {
            form->ParseReplyRecords(reply);
            if (Log) memo->AddStrings(form->logLines.get());
            form->logLines->Clear();
            if (Table) form->BuildArchiveGrid();
            form->currentDate = IncDay(form->currentDate);
        }
        if (Table && form->StringGrid->GetRowCount() != static_cast<int>(records) + 1)
            state.SkipWithError("rows lost");
        if (Log && memo->GetCount() != static_cast<int>(records)) state.SkipWithError("log lines lost");
    }
    state.counters["records/s"] =
        benchmark::Counter(static_cast<double>(records * state.iterations()), benchmark::Counter::kIsRate);
    form->Free();
}

void YearTable(benchmark::State& state) {
    ReadYear(state, true, false);
}
BENCHMARK(YearTable)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The log alone, and both as a read fills them: the year's whole read.
void YearLog(benchmark::State& state) {
    ReadYear(state, false, true);
}
BENCHMARK(YearLog)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void YearTableAndLog(benchmark::State& state) {
    ReadYear(state, true, true);
}
BENCHMARK(YearTableAndLog)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The log's cost per line must not grow with its length: a quarter, half
// and the whole year of lines, added day by day.
void LogLines(benchmark::State& state) {
    TMainForm* form = nullptr;
    Application->CreateForm(form);
    if (state.range(1)) form->Show();
    TStrings* memo = form->Memo->GetLines();
    const int days = static_cast<int>(state.range(0));
    TStringList day;
    for (int i = 0; i < 24; ++i)
        day.Add(u" 01.01.09 " + IntToStr(i) + u":00 1,234 5,678 9,012 3,456 7,890 1,234 5,678 9,012 3,456 ");
    for (auto _ : state) {
        memo->Clear();
        for (int d = 0; d < days; ++d) memo->AddStrings(&day);
    }
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(24 * days * state.iterations()), benchmark::Counter::kIsRate);
    form->Free();
}
BENCHMARK(LogLines)->ArgsProduct({{91, 182, 365, 730}, {0, 1}})->Unit(benchmark::kMillisecond)->MinTime(1.0);

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
