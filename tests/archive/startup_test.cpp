// What the program's start-up registers in the chart library, in the order the libraries
// expect, and what its shut-down takes away again.
#include "chart/editors/zuzbmpoptions.h"
#include "chart/editors/zuzemfoptions.h"
#include "chart/series/zuzjpeg.h"
#include "platform/core/typinfo.h"
#include "platform/win32/registry.h"
#include "tests/archive/programtest.h"

#include <cstdio>
#include <set>

namespace {

class ProgramStartUp : public ProgramTest {};

TEST_F(ProgramStartUp, PictureFormatsAreRegisteredBitmapMetafileJpegAndGoneAtShutDown) {
    ASSERT_NE(ZuzExportFormats, nullptr);
    ASSERT_EQ(ZuzExportFormats->Count(), 3);
    EXPECT_EQ(ZuzExportFormats->Get(0), &TBMPExportFormat::NewInstance);
    EXPECT_EQ(ZuzExportFormats->Get(1), &TEMFExportFormat::NewInstance);
    EXPECT_EQ(ZuzExportFormats->Get(2), &TJPEGExportFormat::NewInstance);
    // The units stop in reverse: the formats leave the registry before it goes.
    ZuzJPEGFinalization();
    ZuzEmfOptionsFinalization();
    ZuzBmpOptionsFinalization();
    EXPECT_EQ(ZuzExportFormats->Count(), 0);
    ZuzBmpOptionsInitialization();
    ZuzEmfOptionsInitialization();
    ZuzJPEGInitialization();
    const auto names = StartedUnits();
    const auto at = [&](std::string_view n) {
        return std::find(names.begin(), names.end(), n) - names.begin();
    };
    EXPECT_LT(at("ZuzExportFormats"), at("ZuzBmpOptions"));
    EXPECT_LT(at("ZuzBmpOptions"), at("ZuzEmfOptions"));
    EXPECT_LT(at("ZuzEmfOptions"), at("ZuzJPEG"));
    EXPECT_LT(at("ZuzJPEG"), static_cast<std::ptrdiff_t>(names.size()));
}

// Where a class's constructor gives a sub-object or an inherited property another value than
// the published default on purpose: the class (or its descendants), the property's path, why.
struct KnownDefault {
    std::string_view holder, path, reason;
};
const KnownDefault kKnownDefaults[] = {
    {"TCustomForm", "", "a form takes its values from its resource and is never written: not made"},
    {"TComComboBox", "Style", "made a drop-down list, publishing the combo box's default"},
    {"TChartSeries", "Marks.Callout.Brush.Color",
     "the callout is made black, its brush keeps the brush's default"},
    {"TPointSeries", "ClickableLine", "points are not hit between them, the line's True stays the default"},
    {"TAreaSeries", "DrawArea", "made filled, False kept as the stored default"},
    {"TChartShape", "Brush.Color", "the shape is made white"},
    {"TGalleryChart", "Zoom.Animated", "gallery samples zoom in steps"},
};

bool Known(const ClassInfo& holder, std::string_view path) {
    for (const KnownDefault& k : kKnownDefaults)
        for (const ClassInfo* c = &holder; c; c = c->parent)
            if (c->name == k.holder && (k.path.empty() || k.path == path)) return true;
    return false;
}

// A property left at its published default is not written, so a reloaded object keeps what its
// constructor gave it: the two must agree, or a value saved and loaded comes back changed.
struct DefaultsWalk {
    const ClassInfo* holder = nullptr;
    std::set<const ClassInfo*> classes;
    std::set<std::pair<const ClassInfo*, std::string_view>> props;

    void Walk(TObject& o, const std::string& path) {
        classes.insert(&o.ClassType());
        for (const PropInfo* p : o.ClassType().AllProps()) {
            const std::string at = path.empty() ? std::string(p->name) : path + "." + std::string(p->name);
            if (p->kind == PropKind::Object || p->kind == PropKind::Component) {
                TObject* sub = p->getObj(o);
                auto* c = dynamic_cast<TComponent*>(sub);
                if (!sub || (c && !c->GetComponentStyle().Contains(csSubComponent))) continue;
                Walk(*sub, at);
                // A collection's items: one as the collection makes it.
                if (auto* list = dynamic_cast<TCollection*>(sub))
                    Walk(*(list->GetCount() ? list->GetItem(0) : list->Add()), at);
                continue;
            }
            const bool ordinal = p->getOrd && p->setOrd;
            const bool real = p->kind == PropKind::Float && p->setFloat;
            if (!p->hasDefault || p->stored || p->neverStored || p->nodefault || !(ordinal || real)) continue;
            props.insert({&o.ClassType(), p->name});
            const double v = ordinal ? static_cast<double>(p->getOrd(o)) : p->getFloat(o);
            if (v != static_cast<double>(p->defaultOrd) && !Known(*holder, at))
                ADD_FAILURE() << holder->name << "." << at << " is " << v << ", published default "
                              << p->defaultOrd;
        }
    }
};

TEST_F(ProgramStartUp, EveryNewObjectHoldsItsPublishedDefaults) {
    // Some are made with options the settings store keeps, and keep them as they go: an empty
    // store of the test's own.
    struct OwnStore {
        explicit OwnStore(const std::filesystem::path& at) { win32::SetRegistryDirectory(at); }
        ~OwnStore() { win32::SetRegistryDirectory({}); }
    } store(dir.path / "registry");
    DefaultsWalk walk;
    int made = 0;
    const std::vector<const ClassInfo*> registered = RegisteredClasses();
    for (const ClassInfo* c : registered) {
        // The others are parts of these, reached through them.
        if ((!c->newComponent && !c->newItem) || Known(*c, "")) continue;
        ++made;
        walk.holder = c;
        if (c->newComponent) {
            const Owned<TComponent> o(c->CreateComponent(nullptr));
            walk.Walk(*o, "");
        } else {
            const Owned<TCollection> items(Create<TCollection>(*c));
            walk.Walk(*items->Add(), "");
        }
    }
    std::printf("%d of %zu registered classes made; %zu classes and %zu properties checked\n", made,
                registered.size(), walk.classes.size(), walk.props.size());
}

} // namespace
