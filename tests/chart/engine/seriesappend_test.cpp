// Adding points: a plain point landing last goes the short way, every other point the whole
// way, and both leave the same points, colours and labels and tell the same listeners.
#include "chart/canvas/zuzconst.h"
#include "chart/engine/chartseries.h"
#include "fakechart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

std::vector<double> Values(const TChartValueList* L) {
    return {L->Values().begin(), L->Values().end()};
}

// A series type with its own notifications, counting what reaches them.
class TNoticingSeries : public TChartSeries {
public:
    using TChartSeries::TChartSeries;
    void NotifyNewValue(TChartSeries* Sender, int ValueIndex) override {
        NewValues.push_back(ValueIndex);
        TChartSeries::NotifyNewValue(Sender, ValueIndex);
    }
    void NotifyValue(TValueEvent ValueEvent, int ValueIndex) override {
        if (ValueEvent == veAdd) Adds.push_back(ValueIndex);
        TChartSeries::NotifyValue(ValueEvent, ValueIndex);
    }
    std::vector<int> NewValues, Adds;
};

// A series type that copies linked points its own way.
class TDoublingSeries : public TChartSeries {
public:
    using TChartSeries::TChartSeries;
    int AddChartValue(TChartSeries* Source, int ValueIndex) override {
        const int index = TChartSeries::AddChartValue(Source, ValueIndex);
        GetYValues()->SetValueQuiet(index, 2 * GetYValues()->GetValue(index));
        return index;
    }
    bool CopiesPointsWhole() const override { return false; }
};

// A series type that keeps the base's notifications and says so.
class TQuietSeries : public TChartSeries {
public:
    using TChartSeries::TChartSeries;
    bool KeepsBaseNotifications() const override { return NotifiesAsBase<TQuietSeries>(); }
};
class TQuietSeriesOfItsOwn : public TQuietSeries {
public:
    using TQuietSeries::TQuietSeries;
};

// A series type that says it keeps the base's notifications and starts with points, and one
// below it with notifications of its own.
class TStartedSeries : public TChartSeries {
public:
    explicit TStartedSeries(TComponent* AOwner) : TChartSeries(AOwner) {
        AddXY(0, 0);
        AddXY(0.5, 0);
    }
    bool KeepsBaseNotifications() const override { return NotifiesAsBase<TStartedSeries>(); }
};
class TLoudStartedSeries : public TStartedSeries {
public:
    using TStartedSeries::TStartedSeries;
    void NotifyNewValue(TChartSeries* Sender, int ValueIndex) override {
        ++Told;
        TStartedSeries::NotifyNewValue(Sender, ValueIndex);
    }
    int Told = 0;
};

// An X list of its own class, counting the values it places.
class TCountingList : public TChartValueList {
public:
    using TChartValueList::TChartValueList;
    int AddChartValue() override {
        ++Placed;
        return TChartValueList::AddChartValue();
    }
    int Placed = 0;
};

class SeriesAppend : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartEngineUnits(); }
    void SetUp() override { chart = MakeOwned<TFakeChart>(nullptr); }
    template <class T = TChartSeries>
    T* NewSeries() {
        auto* s = Create<T>(chart.get());
        s->SetParentChart(chart.get());
        return s;
    }
    Owned<TFakeChart> chart;
};

// One point of the model: what the series must hold after the adds, in order.
struct ModelPoint {
    double x, y, z;
    String label;
    TColor color;
};

} // namespace

TEST_F(SeriesAppend, PointsInAndOutOfOrderLandWhereTheOrderedInsertPutsThem) {
    // Mostly rising X with steps back, repeats, labels, colours and a third list now and then,
    // in each order: the lists, labels and colours match a stable ordered insert.
    std::mt19937 rng(15);
    for (const TChartListOrder order : {loAscending, loDescending, loNone})
        for (int trial = 0; trial < 30; ++trial) {
            TChartSeries* s = NewSeries();
            s->GetXValues()->SetOrder(order);
            TChartValueList* z = nullptr;
            if (trial % 3 == 2) z = new TChartValueList(s, u"Z");
            std::vector<ModelPoint> model;
            double x = 0;
            for (int t = 0; t < 400; ++t) {
                const int kind = static_cast<int>(rng() % 20);
                x += kind == 0 ? -3.0 : kind == 1 ? 0.0 : 1.0;
                const double xv = order == loDescending ? -x : x;
                const String label = kind == 2 && trial % 2 ? u"м" + IntToStr(t) : String();
                const TColor color = kind == 3 && trial % 4 < 2 ? clRed : clDefault;
                if (z) z->TempValue = t * 0.5;
                const int index = s->AddXY(xv, t, label, color);
                auto at = model.end();
                if (order == loAscending)
                    at = std::upper_bound(model.begin(), model.end(), xv,
                                          [](double v, const ModelPoint& p) { return v < p.x; });
                if (order == loDescending)
                    at = std::upper_bound(model.begin(), model.end(), xv,
                                          [](double v, const ModelPoint& p) { return v > p.x; });
                ASSERT_EQ(index, at - model.begin()) << "order " << order << " point " << t;
                model.insert(at, ModelPoint{xv, double(t), t * 0.5, label, color});
            }
            ASSERT_EQ(s->Count(), static_cast<int>(model.size()));
            for (int i = 0; i < s->Count(); ++i) {
                const ModelPoint& p = model[static_cast<std::size_t>(i)];
                EXPECT_EQ(s->XValue(i), p.x);
                EXPECT_EQ(s->YValue(i), p.y);
                if (z) {
                    EXPECT_EQ(z->GetValue(i), p.z);
                }
                EXPECT_EQ(s->GetXLabel(i), p.label);
                EXPECT_EQ(s->OwnColor(i), p.color);
            }
        }
}

TEST_F(SeriesAppend, EveryListenerHearsEveryPointOnEitherRoad) {
    // A plain series on a chart repaints per point, and not while inactive or inside an update.
    TChartSeries* plain = NewSeries();
    chart->Repaints = 0;
    for (int t = 0; t < 50; ++t) plain->AddXY(t, t);
    EXPECT_EQ(chart->Repaints, 50);
    plain->SetActive(false);
    chart->Repaints = 0;
    plain->AddXY(50, 0);
    EXPECT_EQ(chart->Repaints, 0);

    // The event hears each index.
    TChartSeries* heard = NewSeries();
    std::vector<int> indexes;
    heard->OnAfterAdd.Bind([&](TChartSeries* Sender, int ValueIndex) {
        EXPECT_EQ(Sender, heard);
        EXPECT_EQ(Sender->Count(), ValueIndex + 1); // told after the point is in
        indexes.push_back(ValueIndex);
    });
    for (int t = 0; t < 5; ++t) heard->AddXY(t, t);
    EXPECT_EQ(indexes, (std::vector<int>{0, 1, 2, 3, 4}));

    // A series type with its own notifications is told of every point, once.
    auto* noticing = NewSeries<TNoticingSeries>();
    for (int t = 0; t < 5; ++t) noticing->AddXY(t, t);
    noticing->AddXY(-1, 0); // out of order
    EXPECT_EQ(noticing->NewValues, (std::vector<int>{0, 1, 2, 3, 4, 0}));
    EXPECT_EQ(noticing->Adds, noticing->NewValues);
    noticing->BeginUpdate();
    noticing->AddXY(9, 9);
    noticing->EndUpdate();
    EXPECT_EQ(noticing->NewValues.size(), 6u);

    // Linked series take each point, through their own AddChartValue where they have one.
    TChartSeries* source = NewSeries();
    auto* doubling = NewSeries<TDoublingSeries>();
    TChartSeries* copy = NewSeries();
    doubling->SetDataSource(source);
    copy->SetDataSource(source);
    for (int t = 0; t < 4; ++t) source->AddXY(t, t + 1);
    EXPECT_EQ(Values(doubling->GetYValues()), (std::vector<double>{2, 4, 6, 8}));
    EXPECT_EQ(Values(copy->GetYValues()), (std::vector<double>{1, 2, 3, 4}));
}

TEST_F(SeriesAppend, OnlyTypesWithTheBaseNotificationsMaySkipThem) {
    EXPECT_TRUE(NewSeries()->KeepsBaseNotifications());
    EXPECT_FALSE(NewSeries<TNoticingSeries>()->KeepsBaseNotifications());
    EXPECT_FALSE(NewSeries<TDoublingSeries>()->KeepsBaseNotifications());
    EXPECT_TRUE(NewSeries<TQuietSeries>()->KeepsBaseNotifications());
    // A class below one that said so has not said so itself.
    EXPECT_FALSE(NewSeries<TQuietSeriesOfItsOwn>()->KeepsBaseNotifications());
    // A point added while a base class was being built does not settle the answer.
    auto* loud = NewSeries<TLoudStartedSeries>();
    loud->AddXY(1, 1);
    loud->AddXY(2, 2);
    EXPECT_EQ(loud->Told, 2);
}

TEST_F(SeriesAppend, AValueListOfItsOwnClassPlacesEveryValue) {
    TChartSeries* s = NewSeries();
    auto* x = new TCountingList(s, u"Mine");
    s->ReplaceList(s->GetXValues(), x);
    x->SetOrder(loAscending);
    ASSERT_EQ(s->GetXValues(), x);
    ASSERT_EQ(s->ValuesList().Count(), 2);
    for (int t = 0; t < 6; ++t) s->AddXY(t, t * 10);
    s->AddXY(2.5, 99);
    EXPECT_EQ(x->Placed, 7);
    EXPECT_EQ(Values(s->GetXValues()), (std::vector<double>{0, 1, 2, 2.5, 3, 4, 5}));
    EXPECT_EQ(Values(s->GetYValues()), (std::vector<double>{0, 10, 20, 99, 30, 40, 50}));
}
