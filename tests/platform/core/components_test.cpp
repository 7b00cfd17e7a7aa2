#include "platform/core/classes.h"
#include "platform/core/sysutils.h"
#include "tests/support/testclass.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace {

// Records every notice it receives and forgets a watched peer when told it died.
class Watcher : public testsupport::TTestClass<Watcher, TComponent, "TWatcher"> {
public:
    using TTestClass::TTestClass;
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == Peer) Peer = nullptr;
        if (Operation == opRemove) ++Removed;
    }
    TComponent* Peer = nullptr;
    int Removed = 0;
};

} // namespace

TEST(Components, OwnerFreesOwnedAndNamesAreUniqueIgnoringCase) {
    auto* root = Create<TComponent>(nullptr);
    auto* a = Create<TComponent>(root);
    a->SetName(u"Button1");
    auto* b = Create<TComponent>(root);
    EXPECT_THROW(b->SetName(u"BUTTON1"), EComponentError);
    try {
        b->SetName(u"1abc");
        ADD_FAILURE();
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), u"'1abc' is not a valid component name");
    }
    a->SetName(u"BUTTON1"); // a change of case is no clash with itself
    EXPECT_EQ(root->FindComponent(u"button1"), a);
    EXPECT_EQ(b->GetComponentIndex(), 1);
    b->SetComponentIndex(0);
    EXPECT_EQ(root->GetComponent(0), b);
    EXPECT_THROW(root->GetComponent(2), EListError);
    root->Free();
}

TEST(Components, FreeNotificationWorksWhicheverSideDiesFirst) {
    for (int order = 0; order < 2; ++order) {
        auto* ownerA = Create<TComponent>(nullptr);
        auto* ownerB = Create<TComponent>(nullptr);
        auto* watcher = Create<Watcher>(ownerA);
        auto* target = Create<Watcher>(ownerB);
        watcher->Peer = target;
        target->Peer = watcher;
        watcher->FreeNotification(target);
        if (order == 0) {
            ownerB->Free();
            EXPECT_EQ(watcher->Peer, nullptr);
            ownerA->Free();
        } else {
            ownerA->Free();
            EXPECT_EQ(target->Peer, nullptr);
            ownerB->Free();
        }
    }
}

TEST(Components, SiblingsHearOfEachOthersRemoval) {
    auto* root = Create<TComponent>(nullptr);
    auto* w = Create<Watcher>(root);
    auto* other = Create<TComponent>(root);
    w->Peer = other;
    other->Free();
    EXPECT_EQ(w->Peer, nullptr);
    EXPECT_EQ(root->GetComponentCount(), 1);
    root->Free();
}

TEST(Persistent, AssignOfUnknownClassRaisesConversionError) {
    auto* a = Create<TComponent>(nullptr);
    auto* b = Create<Watcher>(nullptr);
    try {
        a->Assign(b);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"Cannot assign a TWatcher to a TComponent");
    }
    a->Free();
    b->Free();
}

namespace {

std::set<const TComponent*> gLive;

// Holds references to other components, as a chart holds its axes' sources:
// each reference asks the target for a free notification, and a removal
// notice drops it. Every notice must concern a component that still exists.
class TNode : public TComponent {
public:
    static const ClassInfo& StaticClass() {
        static const ClassInfo ci = MakeClassInfo<TNode>("TNode", &TComponent::StaticClass());
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TNode(TComponent* AOwner) : TComponent(AOwner) { gLive.insert(this); }
    ~TNode() override { gLive.erase(this); }

    void Refer(TNode* Target) {
        Refs.insert(Target);
        Target->FreeNotification(this);
    }
    void Notification(TComponent* AComponent, TOperation Operation) override {
        EXPECT_TRUE(gLive.count(this)) << "notice reached a destroyed component";
        if (Operation == opRemove) {
            EXPECT_TRUE(gLive.count(AComponent)) << "notice about a destroyed component";
            Refs.erase(AComponent);
            RemovedClasses.push_back(std::string(AComponent->ClassNameA()));
        }
        TComponent::Notification(AComponent, Operation);
    }
    std::set<const TComponent*> Refs;
    std::vector<std::string> RemovedClasses;
};

} // namespace

TEST(Components, ReferencesNeverDangleWhateverTheOrderOfFreeing) {
    for (unsigned seed = 1; seed <= 60; ++seed) {
        std::mt19937 rng(seed);
        std::vector<TNode*> all;
        std::vector<TNode*> roots;
        for (int r = 0; r < 3; ++r) {
            roots.push_back(Create<TNode>(nullptr));
            all.push_back(roots.back());
        }
        for (int i = 0; i < 18; ++i) {
            TNode* owner = all[rng() % all.size()];
            all.push_back(Create<TNode>(owner));
        }
        for (int i = 0; i < 40; ++i) {
            TNode* a = all[rng() % all.size()];
            TNode* b = all[rng() % all.size()];
            if (a != b) a->Refer(b);
        }
        while (!gLive.empty()) {
            std::vector<const TComponent*> live(gLive.begin(), gLive.end());
            auto* victim = const_cast<TComponent*>(live[rng() % live.size()]);
            victim->Free();
            for (const TComponent* c : gLive)
                for (const TComponent* ref : static_cast<const TNode*>(c)->Refs)
                    ASSERT_TRUE(gLive.count(ref)) << "seed " << seed << ": a reference outlived its target";
        }
    }
}

TEST(Components, SiblingsHearOfARemovalWhileTheRemovedOneIsWhole) {
    auto* form = Create<TComponent>(nullptr);
    auto* watcher = Create<TNode>(form);
    auto* series = Create<TNode>(form);
    series->Free();
    // The removed component still answers as its own class when its siblings hear of it.
    EXPECT_EQ(watcher->RemovedClasses, (std::vector<std::string>{"TNode"}));
    form->Free();
    EXPECT_TRUE(gLive.empty());
}

TEST(Components, OwnerRemovalAndComponentIndex) {
    auto* a = Create<TNode>(nullptr);
    auto* b = Create<TNode>(nullptr);
    auto* c = Create<TNode>(a);
    c->SetName(u"Child");
    a->RemoveComponent(c);
    EXPECT_EQ(c->GetOwner(), nullptr);
    EXPECT_EQ(c->GetComponentIndex(), -1);
    b->InsertComponent(c);
    EXPECT_EQ(b->FindComponent(u"CHILD"), c);
    auto* clash = Create<TNode>(a);
    clash->SetName(u"child");
    a->RemoveComponent(clash);
    b->InsertComponent(Create<TNode>(nullptr)); // unnamed components never clash
    EXPECT_THROW(b->InsertComponent(clash), EComponentError);
    EXPECT_EQ(clash->GetOwner(), nullptr);
    clash->Free();
    a->Free();
    b->Free();
    EXPECT_TRUE(gLive.empty());
}

namespace {

// A component whose start-up fails once it has joined its owner.
class TFailingStart : public testsupport::TTestClass<TFailingStart, TNode, "TFailingStart"> {
public:
    using TTestClass::TTestClass;
    void AfterConstruction() override { throw EComponentError(u"no start"); }
};

} // namespace

// Create is the one way to make a component: one made with a bare new never
// ran its AfterConstruction, and freeing it says so.
TEST(Components, AComponentMadeWithoutCreateIsReportedWhenFreed) {
    std::vector<std::string> reported;
    const TUnconstructedHandler saved =
        SetUnconstructedHandler([&](const TObject& Obj) { reported.emplace_back(Obj.ClassNameA()); });
    Create<TNode>(nullptr)->Free();
    TNode::StaticClass().CreateComponent(nullptr)->Free();
    EXPECT_TRUE(reported.empty());
    (new TNode(nullptr))->Free();
    SetUnconstructedHandler(saved);
    EXPECT_EQ(reported, std::vector<std::string>{"TNode"});
    EXPECT_TRUE(gLive.empty());
}

TEST(Components, AnObjectWhoseStartUpFailsIsFreedAndLeavesItsOwner) {
    auto* owner = Create<TNode>(nullptr);
    EXPECT_THROW(Create<TFailingStart>(owner), EComponentError);
    EXPECT_EQ(owner->GetComponentCount(), 0);
    EXPECT_THROW(TFailingStart::StaticClass().CreateComponent(owner), EComponentError);
    EXPECT_EQ(owner->GetComponentCount(), 0);
    EXPECT_EQ(gLive.size(), 1u); // the owner alone
    owner->Free();
    EXPECT_TRUE(gLive.empty());
}
