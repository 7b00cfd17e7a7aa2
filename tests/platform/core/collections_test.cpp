#include "platform/core/classes.h"
#include "platform/core/sysutils.h"

#include <gtest/gtest.h>

namespace {

int gLiveItems = 0;

class TPointItem : public TCollectionItem {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TPointItem(TCollection* Collection) : TCollectionItem(Collection) { ++gLiveItems; }
    ~TPointItem() override { --gLiveItems; }

    void Assign(TPersistent* Source) override {
        if (auto* p = dynamic_cast<TPointItem*>(Source)) {
            X = p->X;
            return;
        }
        TCollectionItem::Assign(Source);
    }
    String GetDisplayName() const override { return u"Point"; }
    int X = 0;
};

const ClassInfo& TPointItem::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TPointItem>("TPointItem", &TCollectionItem::StaticClass());
    return ci;
}

// Records what the collection is told, with the item's display name at the
// time (which proves the item is whole when announced).
class TRecordingCollection : public TOwnedCollection {
public:
    TRecordingCollection(TPersistent* Owner, const ClassInfo& ItemClass)
        : TOwnedCollection(Owner, ItemClass) {}
    std::vector<String> Log;

protected:
    void Notify(TCollectionItem* Item, TCollectionNotification Action) override {
        static const char16_t* names[] = {u"added", u"extracting", u"deleting"};
        Log.push_back(String(names[Action]) + u" " + Item->GetDisplayName());
    }
    void Update(TCollectionItem* Item) override { Log.push_back(Item ? u"update item" : u"update all"); }
};

class TChartLike : public TComponent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TChartLike(TComponent* AOwner)
        : TComponent(AOwner), FPoints(MakeOwned<TOwnedCollection>(this, TPointItem::StaticClass())) {}
    TOwnedCollection* GetPoints() const { return FPoints.get(); }

private:
    Owned<TOwnedCollection> FPoints;
};

const ClassInfo& TChartLike::StaticClass() {
    static const PropInfo props[] = {MakeProp<&TChartLike::GetPoints>("Points")};
    static const ClassInfo ci = MakeClassInfo<TChartLike>("TChartLike", &TComponent::StaticClass(), props);
    return ci;
}

std::vector<int> Xs(const TCollection& c) {
    std::vector<int> out;
    for (TCollectionItem* item : c) out.push_back(static_cast<TPointItem*>(item)->X);
    return out;
}

TPointItem* AddPoint(TCollection& c, int x) {
    auto* p = static_cast<TPointItem*>(c.Add());
    p->X = x;
    return p;
}

} // namespace

TEST(Collection, ItemsComeFromTheItemClassAndMoveByIndex) {
    auto points = MakeOwned<TCollection>(TPointItem::StaticClass());
    for (int x = 0; x < 4; ++x) AddPoint(*points, x);
    EXPECT_TRUE(points->GetItem(0)->Is<TPointItem>());
    EXPECT_EQ(points->GetItem(3)->GetID(), 3);
    points->GetItem(0)->SetIndex(2);
    EXPECT_EQ(Xs(*points), (std::vector<int>{1, 2, 0, 3}));
    points->GetItem(3)->SetIndex(0);
    EXPECT_EQ(Xs(*points), (std::vector<int>{3, 1, 2, 0}));
    EXPECT_THROW(points->GetItem(0)->SetIndex(4), EListError);
    EXPECT_EQ(points->GetItem(2)->GetIndex(), 2);

    auto* inserted = static_cast<TPointItem*>(points->Insert(1));
    inserted->X = 9;
    EXPECT_EQ(Xs(*points), (std::vector<int>{3, 9, 1, 2, 0}));
    EXPECT_EQ(inserted->GetID(), 4);
    EXPECT_EQ(points->FindItemID(4), inserted);
    EXPECT_EQ(points->FindItemID(99), nullptr);
    EXPECT_THROW(points->Insert(9), EListError);
    EXPECT_EQ(points->GetCount(), 5); // no stray item left by the refused insert
    EXPECT_THROW(points->GetItem(5), EListError);
    points.reset();
    EXPECT_EQ(gLiveItems, 0);
}

TEST(Collection, FreeingAnItemTakesItOutAndTheCollectionHears) {
    auto* owner = Create<TComponent>(nullptr);
    auto c = MakeOwned<TRecordingCollection>(owner, TPointItem::StaticClass());
    auto* a = AddPoint(*c, 1);
    AddPoint(*c, 2);
    AddPoint(*c, 3);
    EXPECT_EQ(c->Log[0], u"added Point");
    EXPECT_EQ(c->Log[1], u"update all");
    c->Log.clear();
    a->Free();
    EXPECT_EQ(Xs(*c), (std::vector<int>{2, 3}));
    EXPECT_EQ(c->Log, (std::vector<String>{u"extracting Point", u"update all"}));
    c->Log.clear();
    c->Delete(1);
    EXPECT_EQ(c->Log, (std::vector<String>{u"deleting Point", u"extracting Point", u"update all"}));
    c->Log.clear();
    c->BeginUpdate();
    AddPoint(*c, 4);
    c->GetItem(0)->SetDisplayName(u"ignored");
    c->EndUpdate();
    EXPECT_EQ(c->Log, (std::vector<String>{u"added Point", u"update all"}));
    c->Log.clear();
    c->GetItem(0)->SetDisplayName(u"x");
    EXPECT_EQ(c->Log, (std::vector<String>{u"update item"}));

    // An item may live without a collection and join one later.
    auto* loose = Create<TPointItem>(nullptr);
    EXPECT_EQ(loose->GetIndex(), -1);
    EXPECT_EQ(loose->GetNamePath(), u"TPointItem");
    loose->SetCollection(c.get());
    EXPECT_EQ(loose->GetIndex(), 2);
    EXPECT_EQ(loose->GetOwner(), c.get());
    c->Clear();
    EXPECT_EQ(c->GetCount(), 0);
    EXPECT_EQ(gLiveItems, 0);
    owner->Free();
}

TEST(Collection, RefusesItemsOfAnotherClass) {
    auto plain = MakeOwned<TCollection>(TCollectionItem::StaticClass());
    auto points = MakeOwned<TCollection>(TPointItem::StaticClass());
    auto* item = plain->Add();
    EXPECT_THROW(item->SetCollection(points.get()), EListError);
    EXPECT_EQ(item->GetCollection(), plain.get()); // still where it was
    auto* point = AddPoint(*points, 5);
    point->SetCollection(plain.get()); // a point is a collection item
    EXPECT_EQ(plain->GetCount(), 2);
    EXPECT_EQ(points->GetCount(), 0);
}

TEST(Collection, AssignCopiesItemByItem) {
    auto a = MakeOwned<TCollection>(TPointItem::StaticClass());
    auto b = MakeOwned<TCollection>(TPointItem::StaticClass());
    AddPoint(*a, 7);
    AddPoint(*a, 8);
    AddPoint(*b, 1);
    b->Assign(a.get());
    EXPECT_EQ(Xs(*b), (std::vector<int>{7, 8}));
    b->Assign(b.get());
    EXPECT_EQ(Xs(*b), (std::vector<int>{7, 8}));
    b->SetItem(0, b->GetItem(1));
    EXPECT_EQ(Xs(*b), (std::vector<int>{8, 8}));
    auto plain = MakeOwned<TCollection>(TCollectionItem::StaticClass());
    plain->Add();
    EXPECT_THROW(b->Assign(plain.get()), EConvertError); // a point cannot copy a plain item
}

TEST(Collection, NamePathsFollowTheOwnersProperty) {
    auto* form = Create<TComponent>(nullptr);
    auto* chart = Create<TChartLike>(form);
    chart->SetName(u"Chart1");
    AddPoint(*chart->GetPoints(), 1);
    AddPoint(*chart->GetPoints(), 2);
    EXPECT_EQ(chart->GetPoints()->GetPropName(), u"Points");
    EXPECT_EQ(chart->GetPoints()->GetNamePath(), u"Chart1.Points");
    EXPECT_EQ(chart->GetPoints()->GetItem(1)->GetNamePath(), u"Chart1.Points[1]");
    EXPECT_EQ(chart->GetPoints()->Owner(), chart);
    const PropInfo* prop = GetPropInfo(*chart, "Points");
    ASSERT_NE(prop, nullptr);
    EXPECT_EQ(prop->kind, PropKind::Object);
    EXPECT_EQ(&prop->classInfo(), &TOwnedCollection::StaticClass());
    form->Free();
    EXPECT_EQ(gLiveItems, 0);
}
