// A year of hourly records with 13 values through the main window's record
// cutting and table building, day by day as the read road hands them over,
// against plain Qt fed the same year in the same run: a table model under a
// table view and a plain text edit. Times on a shared machine swing between
// runs; the ratios to the baseline are the figures to read.
#include "archive/mainform.h"
#include "bench/benchmain.h"
#include "platform/core/dateutils.h"
#include "tools/device-sim/simcore.h"

#include <QAbstractTableModel>
#include <QPlainTextEdit>
#include <QTableView>

#include <algorithm>
#include <cstdio>

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

// The baseline's table: rows of cell texts, grown a day at a time.
class YearModel : public QAbstractTableModel {
public:
    int rowCount(const QModelIndex& = {}) const override { return static_cast<int>(rows_.size()); }
    int columnCount(const QModelIndex& = {}) const override { return columns_; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole) return {};
        const auto& row = rows_[static_cast<std::size_t>(index.row())];
        const auto col = static_cast<std::size_t>(index.column());
        return col < row.size() ? row[col] : QString();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
        return section == 0 ? QString() : QStringLiteral("Значение%1").arg(section);
    }
    void AddRows(std::vector<std::vector<QString>> day) {
        int columns = columns_;
        for (const auto& row : day) columns = std::max(columns, static_cast<int>(row.size()));
        if (columns > columns_) {
            beginInsertColumns({}, columns_, columns - 1);
            columns_ = columns;
            endInsertColumns();
        }
        const int first = rowCount();
        beginInsertRows({}, first, first + static_cast<int>(day.size()) - 1);
        for (auto& row : day) rows_.push_back(std::move(row));
        endInsertRows();
    }
    void Clear() {
        beginResetModel();
        rows_.clear();
        columns_ = 1;
        endResetModel();
    }

private:
    std::vector<std::vector<QString>> rows_;
    int columns_ = 1;
};

QString ToQString(const String& s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

// The same year through the same record cutting and fields, into plain Qt.
void QtYear(benchmark::State& state, bool Table, bool Log) {
    FormatSettings = RussianFormatSettings();
    std::size_t records = 0;
    const auto replies = YearOfReplies(records);
    YearModel model;
    QTableView view;
    view.setModel(&model);
    QPlainTextEdit edit;
    for (auto _ : state) {
        model.Clear();
        edit.clear();
        TDateTime day = EncodeDate(2009, 1, 1);
        for (const auto& reply : replies) {
            QStringList lines;
            for (const auto& text : CutReplyRecords(reply))
                lines.append(ToQString(u" " + DeviceText(text) + u" "));
            if (Log) edit.appendPlainText(lines.join(QLatin1Char('\n')));
            if (Table) {
                lines.sort();
                std::vector<std::vector<QString>> rows;
                for (const QString& line : lines) {
                    const TArchiveRecord record = ParseArchiveRecord(line.toStdU16String(), YearOf(day));
                    std::vector<QString>& row = rows.emplace_back();
                    row.push_back(record.timeValid ? ToQString(DateTimeToStr(record.time))
                                                   : QStringLiteral("Err.4"));
                    for (const double v : record.values) row.push_back(ToQString(FloatToStr(v)));
                }
                model.AddRows(std::move(rows));
            }
            day = IncDay(day);
        }
        if (Table && model.rowCount() != static_cast<int>(records)) state.SkipWithError("rows lost");
        if (Log && edit.document()->blockCount() != static_cast<int>(records))
            state.SkipWithError("lines lost");
    }
    state.counters["records/s"] =
        benchmark::Counter(static_cast<double>(records * state.iterations()), benchmark::Counter::kIsRate);
}

void QtYearTable(benchmark::State& state) {
    QtYear(state, true, false);
}
BENCHMARK(QtYearTable)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void QtYearLog(benchmark::State& state) {
    QtYear(state, false, true);
}
BENCHMARK(QtYearLog)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void QtYearTableAndLog(benchmark::State& state) {
    QtYear(state, true, true);
}
BENCHMARK(QtYearTableAndLog)->Unit(benchmark::kMillisecond)->MinTime(2.0);

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

void PrintRatios(const MedianTimes& Times) {
    std::printf("\nRatios to plain Qt fed the same year (processor time):\n");
    for (const char* name : {"YearTable", "YearLog", "YearTableAndLog"}) {
        const auto ours = Times.processor.find(name);
        const auto qt = Times.processor.find(std::string("Qt") + name);
        if (ours == Times.processor.end() || qt == Times.processor.end() || qt->second <= 0) continue;
        std::printf("  %-16s %.2f\n", name, ours->second / qt->second);
    }
}

} // namespace

int main(int argc, char** argv) {
    MedianTimes reporter;
    return RunBenchmarks(argc, argv, &reporter, [&] { PrintRatios(reporter); });
}
