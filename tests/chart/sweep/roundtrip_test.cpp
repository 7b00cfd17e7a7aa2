// Round trip: every published property of every chart element, set to values across its range
// (both ends, zero, negative, the largest, an empty or zero-sized picture, every enumerated
// value), is written in the binary and the text forms and read into a new chart: the same
// values and the same picture. The properties are walked from the published tables of the
// chart a point builds; each point sets a share of them, chosen by the point itself, so that a
// printed point sets the same ones again.
#include "tests/chart/sweep/sweep.h"

#include "chart/series/zuzstore.h"
#include "platform/core/collections.h"
#include "platform/core/lists.h"
#include "platform/core/typinfo.h"
#include "tests/fuzz/fuzzing.h"
#include "tests/fuzz/samplechart.h"
#include "tests/support/guiprobe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <iostream>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <sstream>

namespace {

// One published property the walk sets: the component that carries it (empty: the chart) and
// the path below it, "Legend.Font.Size" or "Items[2].Text".
struct Leaf {
    std::string component;
    std::string path;
    const PropInfo* prop;
};

// A value a property is set to: an ordinal, a float, a text (lines, for a list of strings), or
// one of the pictures of SetPicture.
struct Value {
    enum Kind { Ordinal, Float, Text, Picture } kind;
    std::int64_t ordinal = 0;
    double number = 0;
    String text;
    Value(std::int64_t V) : kind(Ordinal), ordinal(V) {}
    Value(double V) : kind(Float), number(V) {}
    Value(String V) : kind(Text), text(std::move(V)) {}
    static Value OfPicture(int Which) {
        Value v(std::int64_t{Which});
        v.kind = Picture;
        return v;
    }
};

bool IsPicture(const PropInfo& Prop) {
    return Prop.classInfo && Prop.classInfo().InheritsFrom(TPicture::StaticClass());
}
bool IsStrings(const PropInfo& Prop) {
    return Prop.classInfo && Prop.classInfo().InheritsFrom(TStrings::StaticClass());
}

std::string NameOf(TComponent* Part, TChart* Chart) {
    return Part == Chart ? std::string() : UTF8Encode(Part->GetName());
}

// Calls Fn(object, path, prop) for every published property of Object and of what it owns, a
// collection's items as Name[i]; each owned object once.
template <class Fn>
void EachProp(TObject* Object, const std::string& Prefix, std::set<TObject*>& Seen, Fn&& Visit) {
    if (!Seen.insert(Object).second) return;
    for (const PropInfo* prop : Object->ClassType().AllProps()) {
        const std::string path = Prefix + std::string(prop->name);
        if (prop->kind == PropKind::Object && prop->getObj && !IsPicture(*prop) && !IsStrings(*prop)) {
            TObject* sub = prop->getObj(*Object);
            if (!sub) continue;
            if (auto* items = dynamic_cast<TCollection*>(sub)) {
                for (int i = 0; i < items->GetCount(); ++i)
                    EachProp(items->GetItem(i), path + "[" + std::to_string(i) + "].", Seen, Visit);
                continue;
            }
            EachProp(sub, path + ".", Seen, Visit);
        } else
            Visit(Object, path, *prop);
    }
}

// The object a path below a component names, and the property at its end.
std::pair<TObject*, const PropInfo*> Resolve(TChart* Chart, const Leaf& Where) {
    TObject* object = Chart;
    if (!Where.component.empty()) object = Chart->FindComponent(UTF8ToString(Where.component));
    std::string_view path = Where.path;
    while (object) {
        const std::size_t dot = path.find('.');
        std::string_view name = path.substr(0, dot);
        int index = -1;
        if (const std::size_t open = name.find('['); open != std::string_view::npos) {
            index = std::stoi(std::string(name.substr(open + 1)));
            name = name.substr(0, open);
        }
        const PropInfo* prop = GetPropInfo(*object, name);
        if (!prop) return {};
        if (dot == std::string_view::npos) return {object, prop};
        object = prop->getObj ? prop->getObj(*object) : nullptr;
        if (index >= 0) {
            auto* items = dynamic_cast<TCollection*>(object);
            object = items && index < items->GetCount() ? items->GetItem(index) : nullptr;
        }
        path.remove_prefix(dot + 1);
    }
    return {};
}

constexpr std::int64_t kColours[] = {0, 0xFFFFFF, 0x123456, clNone, clDefault, clBtnFace};
constexpr std::int64_t kIntegers[] = {std::numeric_limits<std::int32_t>::min(), -1, 0, 1,
                                      std::numeric_limits<std::int32_t>::max()};
constexpr std::int64_t kInt64s[] = {std::numeric_limits<std::int64_t>::min(), -1, 0, 1,
                                    std::numeric_limits<std::int64_t>::max()};

// The values a property is set to: both ends, zero, negative, the largest, every name.
std::vector<Value> Values(const PropInfo& Prop) {
    std::vector<Value> out;
    switch (Prop.kind) {
    case PropKind::Bool:
        return {std::int64_t{0}, std::int64_t{1}};
    case PropKind::Enum: {
        const EnumInfo& info = Prop.enumInfo();
        for (std::size_t i = 0; i < info.names.size(); ++i)
            out.push_back(std::int64_t{info.minValue + static_cast<int>(i)});
        return out;
    }
    case PropKind::Set: {
        const auto n = Prop.enumInfo().names.size();
        const std::int64_t all = (std::int64_t{1} << n) - 1;
        return {std::int64_t{0}, all, all & 0x5555555555555555, all & 0x2AAAAAAAAAAAAAAA};
    }
    case PropKind::Char:
        return {std::int64_t{'A'}, std::int64_t{u'Я'}, std::int64_t{'\''}};
    case PropKind::Integer:
        if (Prop.idents) return {std::begin(kColours), std::end(kColours)};
        return {std::begin(kIntegers), std::end(kIntegers)};
    case PropKind::Int64:
        if (Prop.idents) return {std::begin(kColours), std::end(kColours)};
        return {std::begin(kInt64s), std::end(kInt64s)};
    case PropKind::Float:
        switch (Prop.floatKind) {
        case FloatKind::Single:
            return {-double{std::numeric_limits<float>::max()},
                    -1.0,
                    0.0,
                    0.5,
                    double{std::numeric_limits<float>::denorm_min()},
                    double{std::numeric_limits<float>::max()}};
        case FloatKind::Currency:
            return {-922337203685477.0, -1.0, 0.0, 0.5, 922337203685477.0};
        case FloatKind::Date:
            return {-693593.0, -1.0, 0.0, 0.5, 2958465.99998843};
        default:
            return {-std::numeric_limits<double>::max(),
                    -1.0,
                    0.0,
                    0.5,
                    std::numeric_limits<double>::denorm_min(),
                    std::numeric_limits<double>::max()};
        }
    case PropKind::String:
        return {String(), String(u"Ёж 'кавычки' \"и\" {скобки}"), String(300, u'щ')};
    case PropKind::Object:
        if (IsPicture(Prop))
            return {Value::OfPicture(0), Value::OfPicture(1), Value::OfPicture(2), Value::OfPicture(3)};
        if (IsStrings(Prop)) return {String(), String(u"Первая\r\n\r\n'третья'")};
        return {};
    default:
        return {};
    }
}

// The pictures a picture property is given: none, an empty bitmap, a bitmap of no height, and a
// small one of two colours.
void SetPicture(TPicture* Picture, int Which) {
    if (Which == 0) {
        Picture->SetGraphic(nullptr);
        return;
    }
    TBitmap bitmap;
    if (Which == 2) bitmap.SetSize(7, 0);
    if (Which == 3) {
        bitmap.SetSize(6, 4);
        bitmap.GetCanvas()->GetBrush()->SetColor(static_cast<TColor>(0x3366CC));
        bitmap.GetCanvas()->FillRect(TRect(0, 0, 3, 4));
    }
    Picture->SetGraphic(&bitmap);
}

std::string Text(const Value& V) {
    switch (V.kind) {
    case Value::Ordinal:
        return std::to_string(V.ordinal);
    case Value::Float: {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", V.number);
        return buf;
    }
    case Value::Text:
        return "'" + UTF8Encode(V.text) + "'";
    default:
        return "picture " + std::to_string(V.ordinal);
    }
}

// Sets the property; false when the setter refuses the value (an Exception).
bool Set(TObject* Object, const PropInfo& Prop, const Value& V) {
    try {
        switch (V.kind) {
        case Value::Ordinal:
            Prop.setOrd(*Object, V.ordinal);
            break;
        case Value::Float:
            Prop.setFloat(*Object, V.number);
            break;
        case Value::Text:
            if (Prop.kind == PropKind::String)
                Prop.setStr(*Object, V.text);
            else
                static_cast<TStrings*>(Prop.getObj(*Object))->SetText(V.text);
            break;
        case Value::Picture:
            SetPicture(static_cast<TPicture*>(Prop.getObj(*Object)), static_cast<int>(V.ordinal));
            break;
        }
        return true;
    } catch (const Exception&) {
        return false;
    }
}

bool Settable(const PropInfo& Prop) {
    switch (Prop.kind) {
    case PropKind::Object:
        return Prop.getObj && (IsPicture(Prop) || IsStrings(Prop));
    case PropKind::Float:
        return Prop.setFloat != nullptr;
    case PropKind::String:
        return Prop.setStr != nullptr;
    case PropKind::Component:
    case PropKind::Method:
        return false;
    default:
        return Prop.setOrd != nullptr;
    }
}

std::vector<Leaf> Leaves(TChart* Chart) {
    std::vector<Leaf> out;
    std::set<TObject*> seen;
    for (TComponent* part : ChartParts(Chart)) {
        const std::string name = NameOf(part, Chart);
        EachProp(part, "", seen, [&](TObject*, const std::string& Path, const PropInfo& Prop) {
            if (Settable(Prop)) out.push_back({name, Path, &Prop});
        });
    }
    return out;
}

std::string PictureText(TPicture* Picture) {
    TGraphic* graphic = Picture->GetGraphic();
    if (!graphic) return "none";
    // Any empty picture is the same picture, whatever its size of nothing.
    if (graphic->GetEmpty()) return std::string(graphic->ClassNameA()) + " empty";
    std::string out = std::string(graphic->ClassNameA()) + " " + std::to_string(graphic->GetWidth()) + "x" +
                      std::to_string(graphic->GetHeight());
    if (auto* bitmap = dynamic_cast<TBitmap*>(graphic)) {
        std::uint64_t hash = 1469598103934665603ull;
        for (int y = 0; y < bitmap->GetHeight(); ++y)
            for (int x = 0; x < bitmap->GetWidth(); ++x) {
                const probe::Rgb c = probe::Pixel(*bitmap, x, y);
                hash = (hash ^ static_cast<std::uint64_t>(c.r << 16 | c.g << 8 | c.b)) * 1099511628211ull;
            }
        out += " #" + std::to_string(hash);
    }
    return out;
}

std::string PropText(TObject* Object, const PropInfo& Prop) {
    switch (Prop.kind) {
    case PropKind::Float: {
        if (!Prop.getFloat) return "?";
        const double d = Prop.getFloat(*Object);
        if (std::isnan(d)) return "NaN";
        char buf[40];
        std::snprintf(buf, sizeof buf, "%a", d);
        return buf;
    }
    case PropKind::String:
        return Prop.getStr ? "'" + UTF8Encode(Prop.getStr(*Object)) + "'" : "?";
    case PropKind::Object: {
        TObject* sub = Prop.getObj ? Prop.getObj(*Object) : nullptr;
        if (!sub) return "nil";
        if (auto* picture = dynamic_cast<TPicture*>(sub)) return PictureText(picture);
        if (auto* strings = dynamic_cast<TStrings*>(sub)) return "'" + UTF8Encode(strings->GetText()) + "'";
        return std::string(sub->ClassNameA());
    }
    case PropKind::Component: {
        TObject* sub = Prop.getObj ? Prop.getObj(*Object) : nullptr;
        auto* component = dynamic_cast<TComponent*>(sub);
        return component ? UTF8Encode(component->GetName()) : "nil";
    }
    case PropKind::Method:
        return "";
    default:
        return Prop.getOrd ? std::to_string(Prop.getOrd(*Object)) : "?";
    }
}

// Every published value of the chart by its path.
std::map<std::string, std::string> ValuesOf(TChart* Chart) {
    std::map<std::string, std::string> out;
    std::set<TObject*> seen;
    for (TComponent* part : ChartParts(Chart)) {
        const std::string name = NameOf(part, Chart) + ":" + std::string(part->ClassNameA()) + ":";
        EachProp(part, "", seen, [&](TObject* Object, const std::string& Path, const PropInfo& Prop) {
            if (Prop.kind != PropKind::Method) out[name + Path] = PropText(Object, Prop);
        });
    }
    return out;
}

// Drawn at the point's size, whatever size the chart's own properties now claim.
probe::Picture Drawn(TChart* Chart, int w, int h) {
    TBitmap bitmap;
    bitmap.SetSize(w, h);
    try {
        Chart->Draw(bitmap.GetCanvas(), TRect(0, 0, w, h));
    } catch (const Exception&) {
    }
    return probe::Grab(bitmap);
}

Owned<TChart> Loaded(const std::string& Bytes, std::string& Fault) {
    Owned<TChart> chart(Create<TChart>(nullptr));
    TMemoryStream s;
    fuzz::Fill(s, Bytes);
    TCustomChart* into = chart.get();
    try {
        LoadChartFromStream(into, &s);
    } catch (const Exception& e) {
        Fault = "does not load: " + UTF8Encode(e.Message());
    }
    return chart;
}

std::string FirstDifference(const std::map<std::string, std::string>& A,
                            const std::map<std::string, std::string>& B) {
    for (const auto& [path, value] : A) {
        const auto it = B.find(path);
        if (it == B.end()) return path + " = " + value + " is gone";
        if (it->second != value) return path + ": " + value + " became " + it->second;
    }
    for (const auto& [path, value] : B)
        if (!A.count(path)) return path + " = " + value + " came";
    return {};
}

std::string FirstPixel(const probe::Picture& A, const probe::Picture& B) {
    for (int y = 0; y < A.Height(); ++y)
        for (int x = 0; x < A.Width(); ++x)
            if (!(A.Pixel(x, y) == B.Pixel(x, y))) {
                std::ostringstream out;
                out << x << "," << y << " " << A.Pixel(x, y) << " became " << B.Pixel(x, y);
                return out.str();
            }
    return {};
}

// The chart written in each form and read into a new chart: empty when both hold the same
// values and draw the same picture, else what differs.
std::string RoundTrip(TChart* Chart, int Width, int Height) {
    // Saved as a chart on view is, once drawn. What one drawing leaves for the next is another
    // rule's: pictures are compared at each chart's second drawing.
    Drawn(Chart, Width, Height);
    const auto values = ValuesOf(Chart);
    const std::string binary = SavedChart(Chart, false), textFile = SavedChart(Chart, true);
    const probe::Picture picture = Drawn(Chart, Width, Height);
    for (const bool text : {false, true}) {
        const char* form = text ? "text" : "binary";
        std::string fault;
        const Owned<TChart> copy = Loaded(text ? textFile : binary, fault);
        if (!fault.empty()) return std::string(form) + " " + fault;
        Drawn(copy.get(), Width, Height);
        const probe::Picture again = Drawn(copy.get(), Width, Height);
        if (const std::string d = FirstDifference(values, ValuesOf(copy.get())); !d.empty())
            return std::string(form) + ": " + d;
        if (!(again == picture))
            return std::string(form) + ": the picture differs in " +
                   std::to_string(DifferingPixels(picture, again)) + " pixels, first at " +
                   FirstPixel(picture, again);
    }
    return {};
}

// One setting of the walk: a property and the value it takes.
struct Case {
    Leaf leaf;
    Value value;
};

std::string Named(const Case& C) {
    return (C.leaf.component.empty() ? "" : C.leaf.component + ".") + C.leaf.path + " = " + Text(C.value);
}

// The point's chart with the cases set (each the setter refuses is left out) and round-tripped.
std::string Check(const sweep::Point& P, const std::vector<Case>& Cases, int& Done) {
    const Owned<TChart> chart = sweep::Build(P);
    for (const Case& c : Cases) {
        const auto [object, prop] = Resolve(chart.get(), c.leaf);
        if (object && Set(object, *prop, c.value)) ++Done;
    }
    return RoundTrip(chart.get(), P.width, P.height);
}

int settings = 0; // the property values set, for the summary

// The cases a refusal holds, halved until one alone is refused (or two that only refuse together).
std::string Narrowed(const sweep::Point& P, std::vector<Case> Cases, std::string Fault) {
    while (Cases.size() > 1) {
        const auto half = Cases.begin() + static_cast<std::ptrdiff_t>(Cases.size() / 2);
        std::vector<Case> first(Cases.begin(), half), second(half, Cases.end());
        int ignored = 0;
        if (std::string f = Check(P, first, ignored); !f.empty()) {
            Cases = std::move(first);
            Fault = std::move(f);
        } else if (std::string g = Check(P, second, ignored); !g.empty()) {
            Cases = std::move(second);
            Fault = std::move(g);
        } else
            break;
    }
    std::string names;
    for (const Case& c : Cases) names += (names.empty() ? "" : ", ") + Named(c);
    return names + ": " + Fault;
}

constexpr std::size_t kCasesPerPoint = 48, kCasesPerChart = 12;

std::string RoundTripRule(const sweep::Point& P) {
    // The chart as built, then shares of its settings, each share on a chart of its own.
    if (std::string f = RoundTrip(sweep::Build(P).get(), P.width, P.height); !f.empty())
        return "as built: " + f;
    std::vector<Case> all;
    for (const Leaf& leaf : Leaves(sweep::Build(P).get()))
        for (const Value& v : Values(*leaf.prop)) all.push_back({leaf, v});
    std::mt19937 random(static_cast<unsigned>(std::hash<std::string>{}(sweep::Line(P))));
    std::shuffle(all.begin(), all.end(), random);
    if (all.size() > kCasesPerPoint) all.erase(all.begin() + kCasesPerPoint, all.end());
    for (std::size_t at = 0; at < all.size(); at += kCasesPerChart) {
        const std::vector<Case> share(
            all.begin() + static_cast<std::ptrdiff_t>(at),
            all.begin() + static_cast<std::ptrdiff_t>(std::min(all.size(), at + kCasesPerChart)));
        if (std::string f = Check(P, share, settings); !f.empty()) return Narrowed(P, share, f);
    }
    return {};
}

bool StandardAxis(const std::string& Fault) {
    for (const char* axis :
         {"LeftAxis.", "RightAxis.", "TopAxis.", "BottomAxis.", "DepthAxis.", "DepthTopAxis."})
        if (Fault.find(std::string(":TChart:") + axis) != std::string::npos) return true;
    return false;
}

// What the chart file's letter leaves out, and a point holds.
const std::vector<sweep::Exception> kExceptions = {
    {[](const sweep::Point& P, const std::string& F) {
         const std::string kind = sweep::SeriesKinds()[static_cast<std::size_t>(P.series)].name;
         return P.pen == 0 && (kind == "points" || kind == "bubble" || kind == "arrow") &&
                F.find("the picture differs") != std::string::npos;
     },
     "a point series publishes no `LinePen`, and its legend symbol is capped by `LinePen.Visible`: "
     "a line pen a program hid does not travel"},
    {[](const sweep::Point& P, const std::string&) { return P.axis == 4; },
     "custom axis labels are `Items`, no published property: the file carries the published "
     "properties and the series' defined ones"},
    {[](const sweep::Point&, const std::string& F) {
         return StandardAxis(F) && (F.find("Axis.Horizontal: ") != std::string::npos ||
                                    F.find("Axis.OtherSide: ") != std::string::npos);
     },
     "`Horizontal` and `OtherSide` only for custom axes"},
    {[](const sweep::Point&, const std::string& F) {
         return StandardAxis(F) && F.find("Axis.ZPosition: ") != std::string::npos &&
                (F.find("DepthAxis.") != std::string::npos || F.find("DepthTopAxis.") != std::string::npos ||
                 F.find(" became 0x0p+0") != std::string::npos);
     },
     "`ZPosition` of an axis that is not a depth axis only when it differs from 100 for an "
     "`OtherSide` axis, or is above 0.011 otherwise; never for a depth axis"},
    {[](const sweep::Point&, const std::string& F) {
         return F.find("Axis.Minimum: ") != std::string::npos ||
                F.find("Axis.Maximum: ") != std::string::npos;
     },
     "`Minimum` is streamed only when neither `Automatic` nor `AutomaticMinimum` is set, `Maximum` "
     "only when neither `Automatic` nor `AutomaticMaximum` is set"},
    {[](const sweep::Point&, const std::string& F) {
         return F.find(":SeriesColor: ") != std::string::npos &&
                F.find("SeriesColor = ") == std::string::npos;
     },
     "an automatic series takes `GetFreeSeriesColor` of its chart when added: one loaded after "
     "another set to a palette's colour takes the next"},
    {[](const sweep::Point&, const std::string& F) {
         return F.find("Values.Order = ") != std::string::npos &&
                F.find("the picture differs") != std::string::npos;
     },
     "`Order` is consulted when a point is added, and `Sort` sorts only when called: a list ordered after "
     "its "
     "points came keeps them as they came, and the file's points are added in that order"},
    {[](const sweep::Point&, const std::string& F) {
         return F.find("ParentColor = 1: ") != std::string::npos &&
                F.find(":TChart:Color: ") != std::string::npos;
     },
     "the control's `Color` is stored only while `ParentColor` is false: a chart that takes its "
     "parent's colour reads the default until it is put on a parent"},
};

} // namespace

TEST(Sweep, RoundTrip) {
    sweep::Start();
    ZuzStoreInitialization();
    RegisterClass(TChart::StaticClass());
    settings = 0;
    // Smaller charts: each draws eight times.
    sweep::Sweep(
        "RoundTrip", 80,
        [](sweep::Point& P) {
            P.width = std::min(P.width, 480);
            P.height = std::min(P.height, 360);
        },
        RoundTripRule, kExceptions);
    std::cout << "RoundTrip: " << settings << " property values set\n";
}

// Settings the sweep once found lost, each on the plain chart of a line series: a program's
// setting that the file dropped, whichever share of the walk a short sweep holds.
TEST(RoundTrip, SettingsOnceLostComeBackFromTheFile) {
    sweep::Start();
    ZuzStoreInitialization();
    RegisterClass(TChart::StaticClass());
    const sweep::Point p;
    const struct {
        const char* component;
        const char* path;
        Value value;
    } rows[] = {
        {"", "LeftAxis.ZPosition", Value(-1.0)},                                  // an axis before the front
        {"Series0", "SeriesColor", Value(std::int64_t{clDefault})},               // the colour made automatic
        {"Series0", "Marks.Callout.Brush.Color", Value(std::int64_t{clDefault})}, // a brush its owner colours
    };
    const Owned<TChart> chart = sweep::Build(p);
    for (const auto& row : rows) {
        const auto [object, prop] = Resolve(chart.get(), Leaf{row.component, row.path, nullptr});
        ASSERT_NE(prop, nullptr) << row.path;
        int set = 0;
        EXPECT_EQ(Check(p, {Case{Leaf{row.component, row.path, prop}, row.value}}, set), "") << row.path;
        EXPECT_EQ(set, 1) << row.path;
    }
}
