// A chart file is read as a hostile file would be written: every published
// integer and float of rich charts is set, one at a time, to a number no editor
// offers; the file loads, draws at 400 x 300 within the time a drawing may take,
// and what it saves loads back and, drawn again, saves as itself. The sanitized
// build walks every number, the ordinary one a fixed slice. The inputs the
// chart-file fuzzing kept go through the same check. Under the sanitizers a fault
// in any of it stops the walk with the file that made it.
#include "chart/series/zuzstore.h"
#include "platform/core/collections.h"
#include "platform/core/typinfo.h"
#include "tests/chart/series/chartunits.h"
#include "tests/fuzz/samplechart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <span>
#include <sstream>

#ifdef MOLTREN_SANITIZED
// The sanitizers' runtime calls this back before a report ends the process.
extern "C" void __sanitizer_set_death_callback(void (*callback)());
#endif

namespace {

// What a file may hold where the program writes a small number.
constexpr const char* kIntegers[] = {"0", "-1", "2147483647", "-2147483648", "2147483646", "1000000000"};
// Floats travel as the widest kind, which every float property reads.
constexpr const char* kFloats[] = {"0.0",          "-1.0",         "2147483647.0", "-2147483648.0",
                                   "2147483646.0", "1000000000.0", "1E300",        "-1E300",
                                   "NAN",          "INF",          "-INF"};

// The limits a number of that kind is set to.
std::span<const char* const> Limits(bool Float) {
    return Float ? std::span<const char* const>(kFloats) : std::span<const char* const>(kIntegers);
}

#ifdef MOLTREN_SANITIZED
// The sanitized build draws several times slower, its checks between every access.
constexpr double kDrawingSeconds = 8;
#else
constexpr double kDrawingSeconds = 2;
#endif

// One published number of one chart: the component that carries it (empty:
// the chart itself) and its path below that component, as the file names it.
struct Number {
    std::size_t chart;
    std::string component;
    std::string path;
    bool isFloat;
};

struct Walk {
    std::vector<std::string> files; // each chart's own file, in text
    std::vector<Number> numbers;
    std::size_t Cases() const {
        std::size_t n = 0;
        for (const Number& number : numbers) n += Limits(number.isFloat).size();
        return n;
    }
};

bool Walked(const PropInfo& Prop) {
    if (Prop.kind == PropKind::Float) return Prop.setFloat != nullptr;
    return (Prop.kind == PropKind::Integer || Prop.kind == PropKind::Int64) && Prop.setOrd;
}

// The numbers of Object and of the objects it owns, each path once per key:
// what a class holds is walked in the first chart that shows it. Each object
// of the component is walked; below them, a font, pen, gradient or shadow only
// where its class first appears (in the dressed chart's view, or in any of the
// series).
void Collect(TObject* Object, const std::string& Prefix, const std::string& Key, Number Where,
             std::set<std::string>& Keys, std::set<const ClassInfo*>& Classes, std::vector<Number>& Out) {
    for (const PropInfo* prop : Object->ClassType().AllProps()) {
        const std::string path = Prefix + std::string(prop->name);
        if (prop->kind == PropKind::Object && prop->getObj) {
            TObject* sub = prop->getObj(*Object);
            if (!sub || sub->InheritsFrom(TCollection::StaticClass())) continue;
            if (Classes.insert(&sub->ClassType()).second || Prefix.empty())
                Collect(sub, path + ".", Key, Where, Keys, Classes, Out);
        } else if (Walked(*prop) && Keys.insert(Key + path).second) {
            Where.path = path;
            Where.isFloat = prop->kind == PropKind::Float;
            Out.push_back(Where);
        }
    }
}

// The dressed chart flat and in 3D, around every property of the chart; then
// a chart of every series type for what its series and function carry.
Walk MakeWalk() {
    Walk walk;
    std::set<std::string> keys;
    std::map<std::string, std::set<const ClassInfo*>> classes;
    std::vector<Owned<TChart>> charts;
    charts.push_back(DressedChart(false));
    charts.push_back(DressedChart(true));
    const std::size_t dressed = charts.size();
    for (Owned<TChart>& chart : SeriesTypeCharts()) charts.push_back(std::move(chart));
    for (std::size_t i = 0; i < charts.size(); ++i) {
        TChart* chart = charts[i].get();
        std::vector<TComponent*> parts = ChartParts(chart);
        if (i >= dressed) parts.erase(parts.begin());
        for (TComponent* part : parts) {
            const std::string name = part == chart ? std::string() : UTF8Encode(part->GetName());
            // The dressed charts' parts are walked in each view, a type's once.
            const std::string view = i < dressed ? std::to_string(i) : std::string();
            Collect(part, "", view + name + ":" + std::string(part->ClassNameA()) + ":",
                    Number{walk.files.size(), name, "", false}, keys, classes[view], walk.numbers);
        }
        walk.files.push_back(SavedChart(chart, true));
    }
    return walk;
}

const Walk& TheWalk() {
    static const Walk walk = MakeWalk();
    return walk;
}

bool StartsWithNoCase(std::string_view Text, std::string_view Start) {
    return Text.size() >= Start.size() &&
           std::equal(Start.begin(), Start.end(), Text.begin(),
                      [](char a, char b) { return std::tolower(a) == std::tolower(b); });
}

std::size_t Indent(std::string_view Line) {
    return std::min(Line.find_first_not_of(' '), Line.size());
}

// The chart's file with the number set to Value: its line replaced where the
// file has one, else written first in its component; empty when the file has
// no such component.
std::string WithNumber(const std::string& File, const Number& Where, std::string_view Value) {
    std::vector<std::string> lines;
    std::istringstream in(File);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    const auto joined = [&] {
        std::string out;
        for (const std::string& line : lines) out += line + "\n";
        return out;
    };
    std::size_t header = 0;
    if (!Where.component.empty())
        while (header < lines.size() &&
               !lines[header].substr(Indent(lines[header])).starts_with("object " + Where.component + ":"))
            ++header;
    if (header == lines.size()) return {};
    const std::size_t indent = Indent(lines[header]) + 2;
    const std::string line = std::string(indent, ' ') + Where.path + " = " + std::string(Value) + "\r";
    // The component's own properties run to its first child or its end.
    for (std::size_t at = header + 1; at < lines.size() && Indent(lines[at]) >= indent; ++at) {
        if (Indent(lines[at]) > indent) continue; // inside a value of several lines
        const std::string_view text = std::string_view(lines[at]).substr(indent);
        if (text.starts_with("object ")) break;
        if (StartsWithNoCase(text, Where.path + " = ")) {
            lines[at] = line;
            return joined();
        }
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(header) + 1, line);
    return joined();
}

// The file a sanitizer's report is about, named before the report ends the
// process (a fixed buffer: a leak report comes after the strings are gone).
char current[512];
#ifdef MOLTREN_SANITIZED
void NameTheFile() {
    if (current[0]) std::fprintf(stderr, "\nthe walk stopped at %s\n", current);
}
#endif

class ChartFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        StartChartUnits();
        ZuzStoreInitialization();
        // The files name the chart's class, which the program registers at its start.
        RegisterClass(TChart::StaticClass());
#ifdef MOLTREN_SANITIZED
        __sanitizer_set_death_callback(NameTheFile);
#endif
    }
};

// One file of the walk: the number set to Value, loaded, drawn and saved. Failures past the
// fortieth are counted only.
void RunCase(const Walk& walk, const Number& number, const char* Value, std::size_t At, int& Failures) {
    const std::string file = WithNumber(walk.files[number.chart], number, Value);
    const std::string what = "chart " + std::to_string(number.chart) + " " +
                             (number.component.empty() ? "" : number.component + ".") + number.path + " = " +
                             Value + " (case " + std::to_string(At) + ")";
    std::snprintf(current, sizeof current, "%s", what.c_str());
    ASSERT_FALSE(file.empty()) << what;
    const ChartFileRun result = RunChartFile(file, 400, 300);
    if (result.fault.empty() && result.drawSeconds <= kDrawingSeconds) return;
    if (++Failures <= 40)
        ADD_FAILURE() << what << ": "
                      << (result.fault.empty() ? "drawn in " + std::to_string(result.drawSeconds) + " s"
                                               : result.fault);
}

// Every case of the walk in its order: its number, the limit's place among the number's limits,
// and the case's place in the walk.
template <class Fn>
void ForEachCase(const Walk& walk, Fn&& Case) {
    std::size_t at = 0;
    for (const Number& number : walk.numbers)
        for (std::size_t limit = 0; limit < Limits(number.isFloat).size(); ++limit) Case(number, limit, at++);
}

class ChartFileWalk : public ChartFiles, public ::testing::WithParamInterface<int> {};

constexpr int kShards = 16;

// The walk in shards, each a test of its own, so that the sanitized build's
// parallel run shares them out. It runs there whole: its 8,000 files would
// double the ordinary build's test time, and a sanitizer sees what it is for.
TEST_P(ChartFileWalk, EveryNumberAtTheLimitsLoadsDrawsAndSavesAsItself) {
    const Walk& walk = TheWalk();
    int failures = 0;
    ForEachCase(walk, [&](const Number& number, std::size_t limit, std::size_t at) {
        if (at % kShards == static_cast<std::size_t>(GetParam()))
            RunCase(walk, number, Limits(number.isFloat)[limit], at, failures);
    });
    current[0] = 0;
    EXPECT_EQ(failures, 0) << "of " << walk.numbers.size() << " numbers in " << walk.files.size()
                           << " charts, " << walk.Cases() << " files";
}

#ifdef MOLTREN_SANITIZED
INSTANTIATE_TEST_SUITE_P(Shard, ChartFileWalk, ::testing::Range(0, kShards));
#else
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ChartFileWalk);

// The ordinary build walks a fixed slice, where a drawing's time is the program's own: of each
// chart, integers and floats, the first, middle and last number, each at a limit of its own.
TEST_F(ChartFiles, ASliceOfTheWalkLoadsDrawsInTimeAndSavesAsItself) {
    const Walk& walk = TheWalk();
    std::map<std::pair<std::size_t, bool>, std::vector<const Number*>> kinds; // by chart and kind
    for (const Number& number : walk.numbers) kinds[{number.chart, number.isFloat}].push_back(&number);
    std::map<const Number*, std::size_t> chosen; // each number chosen, with the limit it is set to
    // The limits turn from number to number and chart to chart, so that each is met.
    for (const auto& [kind, numbers] : kinds) {
        std::size_t turn = kind.first * 3;
        for (const std::size_t at : {std::size_t{0}, numbers.size() / 2, numbers.size() - 1})
            chosen[numbers[at]] = turn++ % Limits(kind.second).size();
    }
    int failures = 0, files = 0;
    ForEachCase(walk, [&](const Number& number, std::size_t limit, std::size_t at) {
        const auto it = chosen.find(&number);
        if (it == chosen.end() || it->second != limit) return;
        RunCase(walk, number, Limits(number.isFloat)[limit], at, failures);
        ++files;
    });
    current[0] = 0;
    EXPECT_EQ(failures, 0) << "of " << files << " files of " << walk.files.size() << " charts";
    EXPECT_GE(files, 3 * static_cast<int>(walk.files.size()));
}
#endif

// What the chart-file fuzzing once found stays found by every build.
TEST_F(ChartFiles, TheInputsTheFuzzingKeptLoadAsThemselves) {
    int inputs = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(MOLTREN_SOURCE_DIR "/tests/fuzz/chartfile")) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(RunChartFile(bytes).fault, "") << entry.path().filename();
        ++inputs;
    }
    EXPECT_GT(inputs, 10);
}

} // namespace
