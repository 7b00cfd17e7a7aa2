// The series's "Data" block byte for byte, round trips through the component
// stream and object text, damaged blocks, and circles of sources in a stream.
#include "chart/engine/chartseries.h"
#include "fakechart.h"
#include "platform/core/filer.h"
#include "platform/core/objecttext.h"
#include "platform/core/streams.h"
#include "platform/gui/forms.h"
#include "tests/support/streamtext.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

std::vector<Byte> Bytes(TMemoryStream& S) {
    const auto* p = static_cast<const Byte*>(S.Memory());
    return {p, p + S.GetSize()};
}

std::vector<Byte> DataOf(TChartSeries* S) {
    TMemoryStream m;
    S->WriteData(&m);
    return Bytes(m);
}

void ReadInto(TChartSeries* S, const std::vector<Byte>& Data) {
    TMemoryStream m;
    if (!Data.empty()) m.WriteBuffer(Data.data(), static_cast<LongInt>(Data.size()));
    m.SetPosition(0);
    S->ReadData(&m);
}

std::vector<Byte> Double(double V) {
    std::vector<Byte> b(8);
    std::memcpy(b.data(), &V, 8);
    return b;
}

class SeriesStream : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartEngineUnits(); }
    void SetUp() override { series = MakeOwned<TChartSeries>(nullptr); }
    Owned<TChartSeries> series;
};

TEST_F(SeriesStream, AnEmptySeriesWritesFlagsAndCount) {
    EXPECT_EQ(DataOf(series.get()), (std::vector<Byte>{0, 0, 0, 0, 0}));
}

TEST_F(SeriesStream, XThatIsTheIndexIsNotStored) {
    for (int t = 0; t < 3; ++t) series->AddXY(t, 5 + t);
    std::vector<Byte> expected{0, 3, 0, 0, 0};
    for (double y : {5.0, 6.0, 7.0}) {
        const auto d = Double(y);
        expected.insert(expected.end(), d.begin(), d.end());
    }
    EXPECT_EQ(DataOf(series.get()), expected);
}

TEST_F(SeriesStream, OtherXIsStoredBeforeEachY) {
    for (int t = 0; t < 3; ++t) series->AddXY(2 * t, 5 + t);
    const auto data = DataOf(series.get());
    EXPECT_EQ(data[0], 1);
    EXPECT_EQ(data.size(), 5u + 6 * 8);
    EXPECT_EQ(std::vector<Byte>(data.begin() + 13, data.begin() + 21), Double(5));
}

TEST_F(SeriesStream, XDifferingFromTheIndexOnlyLateIsStillStored) {
    for (int t = 0; t < 10005; ++t) series->AddXY(t == 10003 ? 10003.5 : t, 1);
    EXPECT_TRUE(HasNoMandatoryValues(series.get()));
}

TEST_F(SeriesStream, ALabelOnlyLateInTheSeriesIsStillStored) {
    for (int t = 0; t < 200; ++t) series->Add(t, t == 150 ? u"late" : u"");
    EXPECT_TRUE(SeriesGuessContents(series.get()).Contains(tfLabel));
    auto copy = MakeOwned<TChartSeries>(nullptr);
    ReadInto(copy.get(), DataOf(series.get()));
    EXPECT_EQ(copy->GetXLabel(150), u"late");
}

TEST_F(SeriesStream, AColourOnlyLateInTheSeriesIsStillStored) {
    for (int t = 0; t < 10010; ++t) series->Add(t, {}, t == 10005 ? clRed : clDefault);
    auto copy = MakeOwned<TChartSeries>(nullptr);
    ReadInto(copy.get(), DataOf(series.get()));
    EXPECT_EQ(copy->OwnColor(10005), clRed);
}

TEST_F(SeriesStream, LabelsAreWrittenLongFormAndReadInBothForms) {
    series->Add(1, u"Ab");
    const auto data = DataOf(series.get());
    EXPECT_EQ(data[0], 4); // tfLabel
    const std::vector<Byte> label(data.begin() + 13, data.end());
    EXPECT_EQ(label, (std::vector<Byte>{0xFF, 2, 0, 0, 0, 'A', 'b'}));

    std::vector<Byte> shortForm{4, 1, 0, 0, 0};
    const auto y = Double(3);
    shortForm.insert(shortForm.end(), y.begin(), y.end());
    shortForm.insert(shortForm.end(), {2, 'A', 'b'});
    ReadInto(series.get(), shortForm);
    ASSERT_EQ(series->Count(), 1);
    EXPECT_EQ(series->GetXLabel(0), u"Ab");
    EXPECT_EQ(series->YValue(0), 3);
}

TEST_F(SeriesStream, CyrillicLabelsTravelAsUtf8) {
    series->Add(1, u"Ток");
    const auto data = DataOf(series.get());
    EXPECT_EQ(std::vector<Byte>(data.begin() + 14, data.begin() + 18), (std::vector<Byte>{6, 0, 0, 0}));
    auto copy = MakeOwned<TChartSeries>(nullptr);
    ReadInto(copy.get(), data);
    EXPECT_EQ(copy->GetXLabel(0), u"Ток");
}

TEST_F(SeriesStream, AHorizontalSeriesWritesYBeforeXAndReadsThemBack) {
    series->SetHorizontal();
    series->AddXY(7, 0);
    series->AddXY(8, 2);
    const auto data = DataOf(series.get());
    EXPECT_EQ(data[0], 1);
    EXPECT_EQ(std::vector<Byte>(data.begin() + 5, data.begin() + 13), Double(0)); // Y first
    auto copy = MakeOwned<TChartSeries>(nullptr);
    copy->SetHorizontal();
    ReadInto(copy.get(), data);
    EXPECT_EQ(copy->XValue(1), 8);
    EXPECT_EQ(copy->YValue(1), 2);
    EXPECT_TRUE(copy->GetManualData());
}

TEST_F(SeriesStream, MarkPositionsTake34BytesAPoint) {
    series->Add(1);
    series->Add(2);
    TSeriesMarkPosition* p = series->GetMarks()->UsePosition(1);
    p->Custom = true;
    p->ArrowStart = {-3, 4};
    p->TopLeft = {kLargestPictureSide, -2};
    p->Width = 17;
    const auto data = DataOf(series.get());
    EXPECT_EQ(data[0], 8);
    EXPECT_EQ(data.size(), 5u + 2 * (8 + 34));
    auto copy = MakeOwned<TChartSeries>(nullptr);
    ReadInto(copy.get(), data);
    ASSERT_NE(copy->GetMarks()->Positions().Get(1), nullptr);
    EXPECT_EQ(*copy->GetMarks()->Positions().Get(1), *p);
    EXPECT_FALSE(copy->GetMarks()->Positions().Get(0)->Custom);

    // A file's places and sizes beyond the largest picture are held to it.
    const TSeriesMarkPosition saved = *p;
    TSeriesMarkPosition wild = saved;
    wild.ArrowStart = {2147483647, -2147483647 - 1};
    wild.ArrowEnd = {2000000000, -2000000000};
    wild.TopLeft = {kLargestPictureSide + 1, -kLargestPictureSide - 1};
    wild.Width = 2147483647;
    wild.Height = -2147483647 - 1;
    p->Assign(wild);
    auto held = MakeOwned<TChartSeries>(nullptr);
    ReadInto(held.get(), DataOf(series.get()));
    const TSeriesMarkPosition* h = held->GetMarks()->Positions().Get(1);
    ASSERT_NE(h, nullptr);
    constexpr int big = kLargestPictureSide;
    EXPECT_EQ(h->ArrowStart, TPoint(big, -big));
    EXPECT_EQ(h->ArrowEnd, TPoint(big, -big));
    EXPECT_EQ(h->TopLeft, TPoint(big, -big));
    EXPECT_EQ(h->Width, big);
    EXPECT_EQ(h->Height, -big);
    p->Assign(saved);

    // Edited out of its list's order, a point comes back in its place with its position.
    series->GetXValues()->SetValue(1, -1);
    auto edited = MakeOwned<TChartSeries>(nullptr);
    ReadInto(edited.get(), DataOf(series.get()));
    EXPECT_EQ(edited->XValue(1), -1);
    ASSERT_NE(edited->GetMarks()->Positions().Get(1), nullptr);
    EXPECT_EQ(*edited->GetMarks()->Positions().Get(1), *p);
    EXPECT_EQ(edited->GetXValues()->GetOrder(), loAscending);
}

TEST_F(SeriesStream, EveryPrefixOfADamagedBlockRaisesAndLeavesNoPoints) {
    series->AddXY(0.5, 1, u"Ёлка", clRed);
    series->AddXY(2, 3, u"", clNone);
    series->GetMarks()->UsePosition(0)->Custom = true;
    const auto data = DataOf(series.get());
    for (std::size_t n = 0; n < data.size(); ++n) {
        auto copy = MakeOwned<TChartSeries>(nullptr);
        EXPECT_THROW(ReadInto(copy.get(), std::vector<Byte>(data.begin(), data.begin() + n)), EReadError)
            << n;
        EXPECT_EQ(copy->Count(), 0);
        EXPECT_EQ(copy->UpdateCount(), 0);
    }
}

TEST_F(SeriesStream, HugeCountsAndLengthsAreRefusedBeforeAllocating) {
    ReadInto(series.get(), {0, 0, 0, 0, 0});
    EXPECT_THROW(ReadInto(series.get(), {0, 0xFF, 0xFF, 0xFF, 0x7F}), EReadError);
    EXPECT_THROW(ReadInto(series.get(), {0, 0xFF, 0xFF, 0xFF, 0xFF}), EReadError);
    std::vector<Byte> longLabel{4, 1, 0, 0, 0};
    const auto y = Double(3);
    longLabel.insert(longLabel.end(), y.begin(), y.end());
    longLabel.insert(longLabel.end(), {0xFF, 0xF0, 0xFF, 0xFF, 0x7F});
    EXPECT_THROW(ReadInto(series.get(), longLabel), EReadError);
}

TEST_F(SeriesStream, RandomDamageNeverCrashes) {
    for (int t = 0; t < 40; ++t) series->AddXY(t * 1.5, t, t % 3 ? u"ж" : u"", t % 5 ? clDefault : clBlue);
    const auto data = DataOf(series.get());
    std::mt19937 rng(20261207);
    for (int round = 0; round < 3000; ++round) {
        auto damaged = data;
        const int hits = 1 + static_cast<int>(rng() % 4);
        for (int h = 0; h < hits; ++h) damaged[rng() % damaged.size()] = static_cast<Byte>(rng());
        auto copy = MakeOwned<TChartSeries>(nullptr);
        try {
            ReadInto(copy.get(), damaged);
        } catch (const EReadError&) {
            EXPECT_EQ(copy->Count(), 0);
        }
    }
}

// ---------------------------------------------------------------------------
// Through the component stream

class SeriesComponentStream : public SeriesStream {
protected:
    static void Fill(TChartSeries* S) {
        S->SetTitle(u"Давление");
        S->GetXValues()->SetDateTime(true);
        S->GetYValues()->SetName(u"");
        S->SetSeriesColor(clYellow);
        S->SetIdentifier(u"P1");
        S->SetStyle({tssDenyDelete, tssHideDataSource});
        S->SetManualData(true);
        S->AddXY(45000.25, 1.5, u"Первая", clRed);
        S->AddNullXY(45000.5, 0);
        S->AddXY(45000.75, -2.25, u"");
        S->AddXY(45001, 3, u"last");
        S->GetMarks()->UsePosition(2)->Custom = true;
        S->GetMarks()->UsePosition(2)->ArrowEnd = {5, 6};
    }
    static void ExpectSame(TChartSeries* A, TChartSeries* B) {
        EXPECT_EQ(B->GetName(), A->GetName());
        EXPECT_EQ(B->GetTitle(), A->GetTitle());
        EXPECT_EQ(B->GetIdentifier(), A->GetIdentifier());
        EXPECT_EQ(B->GetStyle(), A->GetStyle());
        EXPECT_EQ(B->GetSeriesColor(), A->GetSeriesColor());
        EXPECT_TRUE(B->GetXValues()->GetDateTime());
        EXPECT_EQ(B->GetYValues()->GetName(), A->GetYValues()->GetName())
            << "emptied, not the name it starts with";
        ASSERT_EQ(B->Count(), A->Count());
        for (int t = 0; t < A->Count(); ++t) {
            EXPECT_EQ(B->XValue(t), A->XValue(t));
            EXPECT_EQ(B->YValue(t), A->YValue(t));
            EXPECT_EQ(B->GetXLabel(t), A->GetXLabel(t));
            EXPECT_EQ(B->OwnColor(t), A->OwnColor(t));
            EXPECT_EQ(B->IsNull(t), A->IsNull(t));
        }
        ASSERT_NE(B->GetMarks()->Positions().Get(2), nullptr);
        EXPECT_EQ(*B->GetMarks()->Positions().Get(2), *A->GetMarks()->Positions().Get(2));
    }
};

// Reads a component from object text; the error, if reading failed.
std::string ReadText(const std::string& Text, TComponent*& Result) {
    TStringStream text(Text);
    TMemoryStream binary;
    ObjectTextToBinary(&text, &binary);
    binary.SetPosition(0);
    try {
        Result = binary.ReadComponent(nullptr);
    } catch (const Exception& e) {
        return e.what();
    }
    return {};
}

TEST_F(SeriesComponentStream, ASeriesComesBackEqualThroughBinaryAndObjectText) {
    auto chart = MakeOwned<TFakeChart>(nullptr);
    chart->SetName(u"Chart1");
    auto* s = Create<TChartSeries>(chart.get());
    s->SetName(u"Series1");
    s->SetParentChart(chart.get());
    Fill(s);

    TMemoryStream binary;
    binary.WriteComponent(chart.get());

    binary.SetPosition(0);
    auto back = Owned<TComponent>(binary.ReadComponent(nullptr));
    auto* backChart = dynamic_cast<TFakeChart*>(back.get());
    ASSERT_NE(backChart, nullptr);
    ASSERT_EQ(backChart->FSeries.Count(), 1);
    ExpectSame(s, backChart->FSeries.Get(0));
    EXPECT_EQ(backChart->FSeries.Get(0)->GetParentChart(), backChart);

    const std::string objectText = streamtext::ObjectText(chart.get());
    EXPECT_NE(objectText.find("object Series1: TChartSeries"), std::string::npos) << objectText;
    TComponent* fromText = nullptr;
    ASSERT_EQ(ReadText(objectText, fromText), "");
    const Owned<TComponent> keepText(fromText);
    auto* textChart = dynamic_cast<TFakeChart*>(fromText);
    ASSERT_NE(textChart, nullptr);
    ASSERT_EQ(textChart->FSeries.Count(), 1);
    ExpectSame(s, textChart->FSeries.Get(0));
}

TEST_F(SeriesComponentStream, ObjectTextDoesNotDependOnTheLocale) {
    auto chart = MakeOwned<TFakeChart>(nullptr);
    auto* s = Create<TChartSeries>(chart.get());
    s->SetName(u"S");
    s->SetParentChart(chart.get());
    Fill(s);
    const TFormatSettings keep = FormatSettings;
    std::string texts[2];
    for (int pass = 0; pass < 2; ++pass) {
        FormatSettings = pass ? RussianFormatSettings() : keep;
        texts[pass] = streamtext::ObjectText(chart.get());
    }
    EXPECT_EQ(texts[0], texts[1]);
    TComponent* result = nullptr;
    const std::string error = ReadText(texts[1], result); // still under the Russian settings
    FormatSettings = keep;
    Owned<TComponent> back(result);
    ASSERT_EQ(error, "");
    ExpectSame(s, dynamic_cast<TFakeChart*>(result)->FSeries.Get(0));
}

TEST_F(SeriesComponentStream, AFedSeriesIsWrittenWithoutDataUnlessForced) {
    auto chart = MakeOwned<TFakeChart>(nullptr);
    auto* a = Create<TChartSeries>(chart.get());
    a->SetName(u"A");
    a->SetParentChart(chart.get());
    a->SetManualData(true);
    a->Add(1);
    auto* b = Create<TChartSeries>(chart.get());
    b->SetName(u"B");
    b->SetParentChart(chart.get());
    b->SetDataSource(a);
    EXPECT_FALSE(b->ShouldSaveData());
    b->ForceSaveData = true;
    EXPECT_TRUE(b->ShouldSaveData());
}

TEST_F(SeriesComponentStream, ACircleOfSourcesInAStreamIsRefused) {
    TComponent* result = nullptr;
    const std::string byProperty = ReadText("object Chart1: TFakeChart\n"
                                            "  object A: TChartSeries\n    DataSource = B\n  end\n"
                                            "  object B: TChartSeries\n    DataSource = A\n  end\n"
                                            "end\n",
                                            result);
    EXPECT_NE(byProperty, "");
    Owned<TComponent> keep1(result);

    result = nullptr;
    const std::string byList =
        ReadText("object Chart1: TFakeChart\n"
                 "  object A: TChartSeries\n    DataSources = (\n      'B'\n      'C')\n"
                 "  end\n"
                 "  object B: TChartSeries\n    DataSource = A\n  end\n"
                 "  object C: TChartSeries\n  end\n"
                 "end\n",
                 result);
    EXPECT_NE(byList, "");
    Owned<TComponent> keep2(result);
}

TEST_F(SeriesComponentStream, SourcesInAStreamAreResolvedByName) {
    TComponent* result = nullptr;
    const std::string error =
        ReadText("object Chart1: TFakeChart\n"
                 "  object A: TChartSeries\n    DataSources = (\n      'B'\n      'C')\n"
                 "  end\n"
                 "  object B: TChartSeries\n  end\n"
                 "  object C: TChartSeries\n  end\n"
                 "end\n",
                 result);
    Owned<TComponent> keep(result);
    ASSERT_EQ(error, "");
    auto* chart = dynamic_cast<TFakeChart*>(result);
    TChartSeries* a = chart->FSeries.Get(0);
    ASSERT_EQ(a->DataSources().Count(), 2);
    EXPECT_EQ(a->DataSources()[1]->GetName(), u"C");
}

TEST_F(SeriesComponentStream, AnObsoleteMultiplierIsReportedOnce) {
    std::vector<String> shown;
    const auto previous = SetDialogResponder([&](const TDialogRequest& r) {
        shown.push_back(r.Text);
        TDialogAnswer a;
        a.Result = IDOK;
        return a;
    });
    TComponent* result = nullptr;
    const std::string ok =
        ReadText("object Chart1: TFakeChart\n"
                 "  object A: TChartSeries\n    XValues.Multiplier = 1.000000000000000000\n"
                 "  end\nend\n",
                 result);
    Owned<TComponent> keep1(result);
    EXPECT_EQ(ok, "");
    EXPECT_TRUE(shown.empty());
    const std::string other =
        ReadText("object Chart1: TFakeChart\n"
                 "  object A: TChartSeries\n    YValues.Multiplier = 2.500000000000000000\n"
                 "  end\nend\n",
                 result);
    Owned<TComponent> keep2(result);
    SetDialogResponder(previous);
    EXPECT_EQ(other, "");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].substr(0, 39), u"Error: Multiplier property is obsolete.");
}

TEST_F(SeriesComponentStream, MarkItemsTravelWithTheirOwnLinesAndLook) {
    auto chart = MakeOwned<TFakeChart>(nullptr);
    chart->SetName(u"Chart1");
    auto* s = Create<TChartSeries>(chart.get());
    s->SetName(u"Series1");
    s->SetParentChart(chart.get());
    s->SetManualData(true);
    s->AddXY(1, 1);
    s->AddXY(2, 2);
    TMarksItem* item = s->GetMarks()->Item(1);
    item->GetText()->Add(u"Метка");
    item->GetText()->Add(u"two");
    item->SetColor(clLime);

    const std::string text = streamtext::ObjectText(chart.get());
    EXPECT_NE(text.find("Marks.Items"), std::string::npos) << text;
    TComponent* result = nullptr;
    ASSERT_EQ(ReadText(text, result), "");
    const Owned<TComponent> back(result);
    TChartSeries* b = dynamic_cast<TFakeChart*>(result)->FSeries.Get(0);
    TSeriesMarks* marks = b->GetMarks();
    ASSERT_EQ(marks->Items().Count(), 2);
    EXPECT_EQ(marks->Items().Peek(0), nullptr);
    ASSERT_NE(marks->Items().Peek(1), nullptr);
    EXPECT_EQ(marks->Items().Peek(1)->GetColor(), clLime);
    EXPECT_EQ(b->GetMarkText(1), String(u"Метка") + ZuzLineSeparator + u"two");
    marks->Clear();
    EXPECT_EQ(marks->Items().Count(), 2) << "items read from a stream stay when the marks are cleared";
}

TEST_F(SeriesComponentStream, ADamagedItemsBlockRaisesAndLeavesNoItems) {
    auto chart = MakeOwned<TFakeChart>(nullptr);
    auto* s = Create<TChartSeries>(chart.get());
    s->GetMarks()->Item(0)->GetText()->Add(u"x");
    TMemoryStream good;
    s->GetMarks()->WriteItems(&good);
    const std::vector<Byte> bytes = Bytes(good);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        TMemoryStream part;
        part.WriteBuffer(bytes.data(), static_cast<LongInt>(cut));
        part.SetPosition(0);
        EXPECT_THROW(s->GetMarks()->ReadItems(&part), Exception) << "cut at " << cut;
        EXPECT_EQ(s->GetMarks()->Items().Count(), 0);
    }
    TMemoryStream huge;
    const Byte count[4] = {0xFF, 0xFF, 0xFF, 0x7F};
    huge.WriteBuffer(count, 4);
    huge.SetPosition(0);
    EXPECT_THROW(s->GetMarks()->ReadItems(&huge), EReadError);
}

} // namespace
