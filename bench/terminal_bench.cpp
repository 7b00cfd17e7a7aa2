// The terminal receiving 1 MB of text mixed with VT100 codes from a
// pseudo-terminal, against the same bytes arriving the same way into a plain
// QPlainTextEdit; both on the GUI thread, painted as they go. The ratio of the
// two times is printed at the end of the run.
#include "bench/benchmain.h"
#include "platform/core/threads.h"
#include "platform/gui/forms.h"
#include "serial/comterminal.h"
#include "tests/support/pty.h"

#include <QApplication>
#include <QPlainTextEdit>

#include <map>
#include <thread>

namespace {

// Lines of text with bold and underlined words, erased line ends, cursor
// moves and now and then a cleared screen: what a device's menu screens send.
const std::string& MixedMegabyte() {
    static const std::string data = [] {
        std::string s;
        int line = 0;
        while (s.size() < (1u << 20)) {
            ++line;
            if (line % 200 == 0) s += "\x1b[2J\x1b[H";
            if (line % 7 == 0)
                s += "\x1b[" + std::to_string(line % 24 + 1) + ";" + std::to_string(line % 40 + 1) + "H";
            s += "reading " + std::to_string(line) +
                 ": \x1b[1mvalue\x1b[m = " + std::to_string(line * 37 % 1000) +
                 " \x1b[4mkWh\x1b[24m, status ok";
            if (line % 3 == 0) s += "\x1b[K";
            s += "\r\n";
        }
        s.resize(1u << 20);
        // Never end inside a sequence.
        const auto esc = s.rfind('\x1b');
        if (esc != std::string::npos && s.size() - esc < 16) s.resize(esc);
        return s;
    }();
    return data;
}

// The far end writes the data while the GUI thread takes it in.
template <class Received>
void Deliver(testsupport::PtyPair& pty, Received received) {
    const std::string& data = MixedMegabyte();
    std::thread far([&] { pty.Write(data, std::chrono::seconds(60)); });
    while (received() < data.size()) {
        CheckSynchronize(1);
        QCoreApplication::processEvents();
    }
    far.join();
    QCoreApplication::processEvents(); // the last paint
}

struct Setup {
    testsupport::PtyPair pty;
    Owned<TForm> form{Create<TForm>(nullptr, TCustomForm::NewTag{})};
    TComPort* port = nullptr;
    Setup() {
        form->SetBounds(0, 0, 700, 500);
        port = Create<TComPort>(form.get());
        port->SetPort(UTF8ToString(pty.SlavePath()));
    }
};

void Terminal(benchmark::State& state) {
    Setup s;
    auto* term = Create<TComTerminal>(s.form.get());
    term->SetParent(s.form.get());
    term->SetAlign(alClient);
    term->SetComPort(s.port);
    s.form->Show();
    s.port->Open();
    std::size_t got = 0;
    term->OnStrRecieved.Bind([&](TObject*, String& str) { got += str.size(); });
    for (auto _ : state) {
        got = 0;
        Deliver(s.pty, [&] { return got; });
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * MixedMegabyte().size()));
}
BENCHMARK(Terminal)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void PlainTextEdit(benchmark::State& state) {
    Setup s;
    s.form->Show();
    QPlainTextEdit edit(reinterpret_cast<QWidget*>(s.form->GetHandle()));
    edit.setGeometry(0, 0, 700, 500);
    edit.show();
    std::size_t got = 0;
    s.port->OnRxChar.Bind([&](TObject*, Integer count) {
        AnsiString bytes;
        s.port->ReadStr(bytes, count);
        got += bytes.size();
        edit.moveCursor(QTextCursor::End);
        edit.insertPlainText(QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())));
    });
    s.port->Open();
    for (auto _ : state) {
        state.PauseTiming();
        edit.clear();
        got = 0;
        state.ResumeTiming();
        Deliver(s.pty, [&] { return got; });
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * MixedMegabyte().size()));
}
BENCHMARK(PlainTextEdit)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// Prints the usual table and remembers each benchmark's time per iteration.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.iterations > 0)
                times[r.benchmark_name()] = r.real_accumulated_time / static_cast<double>(r.iterations);
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char** argv) {
    RatioReporter reporter;
    return RunBenchmarks(argc, argv, &reporter, [&] {
        const auto t = reporter.times.find("Terminal/min_time:2.000/real_time");
        const auto p = reporter.times.find("PlainTextEdit/min_time:2.000/real_time");
        if (t != reporter.times.end() && p != reporter.times.end())
            std::printf("terminal / QPlainTextEdit time for 1 MB: %.2f\n", t->second / p->second);
    });
}
