#include "platform/core/classes.h"
#include "platform/core/sysutils.h"

#include <gtest/gtest.h>

namespace {

// Records every notice it receives and forgets a watched peer when told it died.
class Watcher : public TComponent {
public:
    using TComponent::TComponent;
    static const ClassInfo& StaticClass() {
        static const ClassInfo ci = MakeClassInfo<Watcher>("TWatcher", &TComponent::StaticClass());
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }
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
    EXPECT_THROW(b->SetName(u"1abc"), EComponentError);
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
