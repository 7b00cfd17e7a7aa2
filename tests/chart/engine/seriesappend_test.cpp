// Adding points: a plain point landing last goes the short way, every other point the whole
// way, and both leave the same points, colours and labels and tell the same listeners.
#include "chart/canvas/zuzconst.h"
#include "chart/engine/chartseries.h"
#include "fakechart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
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

namespace {

// A series that has taken plain points the short way, then a change that may end its plain shape,
// then more points: it must end as a series held to the full road (an OnBeforeAdd that accepts every
// point) given the same steps. Swapping the first and last points at the end shows a colour list
// that fell short of the points.
class SeriesPlainShape : public SeriesAppend {
protected:
    struct Later {
        double x, y;
    };
    void ExpectSameAsFullRoad(const std::function<void(TChartSeries*)>& Change,
                              const std::vector<Later>& Points = {{4, 40}, {5, 50}, {6, 60}}) {
        TChartSeries* quick = NewSeries();
        TChartSeries* full = NewSeries();
        full->OnBeforeAdd.Bind([](TChartSeries*) { return true; });
        int labels[2] = {};
        for (TChartSeries* s : {quick, full}) {
            for (int t = 0; t < 4; ++t) s->AddXY(t, 10 * t);
            Change(s);
            for (const Later& p : Points) s->AddXY(p.x, p.y);
            labels[s == full] = s->Labels().Count(); // before the swap stretches it
            s->SwapValueIndex(0, s->Count() - 1);
        }
        EXPECT_EQ(labels[0], labels[1]);
        ASSERT_EQ(quick->Count(), full->Count());
        ASSERT_EQ(quick->ValuesList().Count(), full->ValuesList().Count());
        for (int l = 0; l < full->ValuesList().Count(); ++l)
            EXPECT_EQ(Values(quick->ValuesList()[l]), Values(full->ValuesList()[l])) << "list " << l;
        EXPECT_EQ(quick->Labels().Count(), full->Labels().Count());
        EXPECT_EQ(quick->HasColorList(), full->HasColorList());
        for (int i = 0; i < full->Count(); ++i) {
            EXPECT_EQ(quick->GetXLabel(i), full->GetXLabel(i)) << "point " << i;
            EXPECT_EQ(quick->OwnColor(i), full->OwnColor(i)) << "point " << i;
        }
    }
};

// A Y list of its own class: only its insert is its own.
class TCountingInserts : public TChartValueList {
public:
    using TChartValueList::TChartValueList;
    void InsertChartValue(int Index, double Value) override {
        ++Inserted;
        TChartValueList::InsertChartValue(Index, Value);
    }
    int Inserted = 0;
};

} // namespace

TEST_F(SeriesPlainShape, AColourListMadeByAnyRoadTakesAnEntryForEveryLaterPoint) {
    TChartSeries* source = NewSeries();
    source->AddXY(0, 1, {}, clRed);
    source->AddXY(1, 2);
    ExpectSameAsFullRoad([](TChartSeries* s) { s->SetValueColor(1, clRed); });
    ExpectSameAsFullRoad([](TChartSeries* s) { s->SetNull(2); });
    ExpectSameAsFullRoad([](TChartSeries* s) { s->ColorRange(s->GetYValues(), 5, 25, clGreen); });
    ExpectSameAsFullRoad([](TChartSeries* s) { s->AddXY(3.5, 0, {}, clBlue); });
    ExpectSameAsFullRoad([](TChartSeries* s) { s->AddNullXY(3.5, 0); });
    ExpectSameAsFullRoad([source](TChartSeries* s) { s->Assign(source); });
    // Copied list by list into an emptied series.
    ExpectSameAsFullRoad([source](TChartSeries* s) {
        s->Clear();
        s->AddValues(source);
    });
}

TEST_F(SeriesPlainShape, ALabelByAnyRoadKeepsTheLabelListAsLongAsThePoints) {
    TChartSeries* source = NewSeries();
    source->AddXY(0, 1, u"Январь");
    source->AddXY(1, 2);
    ExpectSameAsFullRoad([](TChartSeries* s) { s->SetXLabel(1, u"Полночь"); });
    ExpectSameAsFullRoad([](TChartSeries* s) { s->Labels().SetLabel(0, u"a"); });
    ExpectSameAsFullRoad([](TChartSeries* s) { s->Labels().InsertLabel(0, u"a"); });
    // Empty entries count too: the list then stands for every point.
    ExpectSameAsFullRoad([](TChartSeries* s) { s->Labels().Exchange(0, 3); });
    ExpectSameAsFullRoad([](TChartSeries* s) { s->AddXY(3.5, 0, u"м"); });
    ExpectSameAsFullRoad([source](TChartSeries* s) { s->Labels().Assign(source->Labels()); });
    ExpectSameAsFullRoad([source](TChartSeries* s) { s->Assign(source); });
    ExpectSameAsFullRoad([source](TChartSeries* s) {
        s->Clear();
        s->AddValues(source);
    });
}

TEST_F(SeriesPlainShape, AValueListJoiningLaterTakesEveryLaterPoint) {
    ExpectSameAsFullRoad([](TChartSeries* s) {
        auto* z = new TChartValueList(s, u"Z");
        for (int t = 0; t < s->Count(); ++t) z->AddChartValue(t);
        z->TempValue = 7;
    });
    // A list made for no series and put in by hand.
    ExpectSameAsFullRoad([](TChartSeries* s) {
        auto* z = new TChartValueList(nullptr, u"Z");
        z->TempValue = 7;
        for (int t = 0; t < s->Count(); ++t) z->AddChartValue(t);
        s->ValuesList().Add(z);
    });
}

TEST_F(SeriesPlainShape, AValueListOfItsOwnClassPutInLaterServesEveryLaterPoint) {
    // Lists made for no series, so that only their putting in tells the series.
    TChartSeries* s = NewSeries();
    for (int t = 0; t < 4; ++t) s->AddXY(t, 10 * t);
    auto* x = new TCountingList(nullptr, u"Mine");
    for (const double v : s->GetXValues()->Values()) x->InsertChartValue(x->Count(), v);
    x->SetOrder(loAscending);
    s->ReplaceList(s->GetXValues(), x);
    for (int t = 4; t < 9; ++t) s->AddXY(t, 10 * t);
    EXPECT_EQ(x->Placed, 5);

    s = NewSeries();
    for (int t = 0; t < 4; ++t) s->AddXY(t, 10 * t);
    auto* y = new TCountingInserts(nullptr, u"Mine");
    for (const double v : s->GetYValues()->Values()) y->TChartValueList::InsertChartValue(y->Count(), v);
    s->ReplaceList(s->GetYValues(), y);
    for (int t = 4; t < 9; ++t) s->AddXY(t, 10 * t);
    EXPECT_EQ(y->Inserted, 5);
    EXPECT_EQ(Values(y), (std::vector<double>{0, 10, 20, 30, 40, 50, 60, 70, 80}));
}

TEST_F(SeriesPlainShape, AnOrderChangedLaterPlacesLaterPointsByTheNewOrder) {
    const std::vector<Later> points{{-1, 1}, {7, 2}, {2, 3}, {2, 4}, {9, 5}};
    ExpectSameAsFullRoad([](TChartSeries* s) { s->GetXValues()->SetOrder(loNone); }, points);
    ExpectSameAsFullRoad([](TChartSeries* s) { s->GetXValues()->SetOrder(loDescending); }, points);
    ExpectSameAsFullRoad(
        [](TChartSeries* s) {
            s->GetXValues()->SetOrder(loDescending);
            s->CheckOrder();
        },
        points);
    // Values changed in place: the last one decides where the next point goes.
    ExpectSameAsFullRoad([](TChartSeries* s) { s->GetXValues()->SetValue(3, 100); }, points);
    ExpectSameAsFullRoad([](TChartSeries* s) { s->Delete(3); }, points);
}

TEST_F(SeriesPlainShape, ListenersArrivingLaterHearTheNextPoint) {
    TChartSeries* s = Create<TChartSeries>(chart.get());
    for (int t = 0; t < 4; ++t) s->AddXY(t, t);
    // Joining a chart: each point repaints it.
    s->SetParentChart(chart.get());
    chart->Repaints = 0;
    s->AddXY(4, 4);
    EXPECT_EQ(chart->Repaints, 1);
    // The events, bound after plain points.
    int heard = -1;
    s->OnAfterAdd.Bind([&](TChartSeries*, int ValueIndex) { heard = ValueIndex; });
    s->AddXY(5, 5);
    EXPECT_EQ(heard, 5);
    s->OnBeforeAdd.Bind([](TChartSeries*) { return false; });
    EXPECT_EQ(s->AddXY(6, 6), -1);
    EXPECT_EQ(s->Count(), 6);
    s->OnBeforeAdd.Clear();
    s->OnAfterAdd.Clear();
    // A series fed from this one, linked after plain points.
    TChartSeries* copy = NewSeries();
    copy->SetDataSource(s);
    s->AddXY(6, 60);
    EXPECT_EQ(Values(copy->GetYValues()), (std::vector<double>{0, 1, 2, 3, 4, 5, 60}));
    // Inside an update nobody hears single points; the update's end refreshes once.
    chart->Repaints = 0;
    s->BeginUpdate();
    s->AddXY(7, 70);
    EXPECT_EQ(chart->Repaints, 0);
    EXPECT_EQ(copy->Count(), 7);
    s->EndUpdate();
    EXPECT_EQ(copy->Count(), 8);
}
