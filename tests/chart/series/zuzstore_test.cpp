// The native chart file in its three forms, loading into a chart that already has series,
// damaged files, and the series-data exporters' exact output.
#include "chart/engine/charttitle.h"
#include "chart/engine/seriestypes.h"
#include "chart/series/series.h"
#include "chart/series/zuzstore.h"
#include "seriesfixture.h"
#include "tests/chart/canvas/streamtext.h"
#include "tests/support/tempdir.h"

#include <fstream>
#include <iterator>
#include <random>

namespace {

std::string Bytes(TMemoryStream& S) {
    return std::string(static_cast<const char*>(S.Memory()), static_cast<std::size_t>(S.GetSize()));
}

std::string Utf16(const std::u16string& Text) {
    std::string out = "\xFF\xFE";
    for (const char16_t c : Text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

class ChartFile : public SeriesTest {
protected:
    static void SetUpTestSuite() {
        SeriesTest::SetUpTestSuite();
        RegisterZuzStandardSeries();
        RegisterClasses({&TChart::StaticClass(), &TLineSeries::StaticClass(), &TPointSeries::StaticClass()});
        ZuzStoreInitialization();
    }
    // A chart of two series with titles and Cyrillic labels.
    void Fill() {
        chart->SetName(u"Chart1");
        chart->GetTitle()->GetText()->Add(u"Расход");
        auto* line = Create<TLineSeries>(chart.get());
        line->SetName(u"Series1");
        chart->AddSeries(line);
        line->AddXY(1, 10, u"январь");
        line->AddXY(2, 20.5, u"февраль");
        auto* points = Create<TPointSeries>(chart.get());
        points->SetName(u"Series2");
        chart->AddSeries(points);
        points->SetTitle(u"Точки & <метки>");
        points->AddXY(3, -1.25);
    }
    std::string Saved(bool Data, bool Text) {
        TMemoryStream s;
        SaveChartToStream(chart.get(), &s, Data, Text);
        return Bytes(s);
    }
    static void Load(TCustomChart* Into, const std::string& Bytes, bool Trailing = false,
                     const TProcZuzLoadError& OnError = nullptr) {
        TMemoryStream s;
        s.Write(Bytes.data(), static_cast<LongInt>(Bytes.size()));
        s.SetPosition(0);
        LoadChartFromStreamCheck(Into, &s, OnError, Trailing);
    }
    Owned<TChart> Fresh() { return Owned<TChart>(Create<TChart>(nullptr)); }
};

TEST_F(ChartFile, TheBinaryFormStartsWithTheHeaderAndTheTextFormWithObject) {
    Fill();
    const std::string bin = Saved(true, false);
    EXPECT_EQ(bin.substr(0, 8), std::string("\x60\x30\x57\x01TPF0", 8));
    EXPECT_EQ(bin.substr(8, 8), std::string("\x06TChart\x00", 8)) << "the name is blanked for the write";
    EXPECT_EQ(chart->GetName(), u"Chart1");
    for (int i = 0; i < chart->SeriesCount(); ++i)
        EXPECT_FALSE(chart->GetSeries(i)->ForceSaveData || chart->GetSeries(i)->DontSaveData);
    const std::string text = Saved(true, true);
    EXPECT_EQ(text.rfind("object ", 0), 0u) << text;
    EXPECT_EQ(ZuzCheckExtension(u"a"), u"a.zuz");
    EXPECT_EQ(ZuzCheckExtension(u"a.txt"), u"a.txt");
}

TEST_F(ChartFile, EveryFormLoadsBackEqualWithAndWithoutData) {
    Fill();
    const std::string original = Saved(true, true);
    for (const bool text : {false, true}) {
        auto copy = Fresh();
        copy->SetName(u"Mine");
        Load(copy.get(), Saved(true, text));
        EXPECT_EQ(copy->GetName(), u"Mine") << "a loading chart keeps its own name";
        ASSERT_EQ(copy->SeriesCount(), 2);
        EXPECT_EQ(copy->GetSeries(0)->Labels().GetLabel(1), u"февраль");
        EXPECT_DOUBLE_EQ(copy->GetSeries(1)->MandatoryValueList()->GetValue(0), -1.25);
        TMemoryStream again;
        SaveChartToStream(copy.get(), &again, true, true);
        EXPECT_EQ(Bytes(again), original) << "text form " << text;
        EXPECT_TRUE(copy->AutoRepaint);

        auto bare = Fresh();
        Load(bare.get(), Saved(false, text));
        ASSERT_EQ(bare->SeriesCount(), 2);
        EXPECT_EQ(bare->GetSeries(0)->Count(), 0);
        EXPECT_EQ(bare->GetSeries(1)->GetTitle(), u"Точки & <метки>");
    }
    TMemoryStream xml;
    SaveChartToXMLStream(chart.get(), &xml, true, true);
    const std::string x = Bytes(xml);
    EXPECT_EQ(x.substr(0, 2), "\xFF\xFE");
    EXPECT_NE(x.find(Utf16(u"encoding=\"UTF-16\"").substr(2)), std::string::npos);
}

TEST_F(ChartFile, LoadingReplacesTheSeriesOfAChartThatHasSome) {
    Fill();
    const std::string file = Saved(true, false);
    auto other = Fresh();
    auto* old = Create<TLineSeries>(other.get());
    other->AddSeries(old);
    for (int i = 0; i < 5; ++i) old->Add(i);
    Load(other.get(), file);
    ASSERT_EQ(other->SeriesCount(), 2);
    EXPECT_EQ(other->GetSeries(0)->Count(), 2);
}

TEST_F(ChartFile, WrongEmptyAndUnknownInputIsRefusedOrSkippedAsAsked) {
    auto c = Fresh();
    const auto message = [&](const std::string& bytes) {
        try {
            Load(c.get(), bytes);
        } catch (const Exception& e) {
            return e.Message();
        }
        return String(u"no error");
    };
    EXPECT_EQ(message(""), u"Empty *.zuz file");
    EXPECT_EQ(message("PK\x03\x04"), u"Wrong *.zuz file format");
    TCustomChart* none = nullptr;
    TMemoryStream s;
    s.Write("\x60\x30\x57\x01", 4);
    s.SetPosition(0);
    EXPECT_THROW(LoadChartFromStream(none, &s), ChartException);

    const std::string text = "object Chart1: TChart\r\n  NoSuchThing = 5\r\nend\r\n";
    EXPECT_NO_THROW(Load(c.get(), text));
    auto keep = Fresh();
    auto* s1 = Create<TLineSeries>(keep.get());
    keep->AddSeries(s1);
    s1->Add(7);
    EXPECT_ANY_THROW(Load(keep.get(), text, false, [](const String&) { return false; }));
    EXPECT_EQ(keep->SeriesCount(), 1) << "a refused load leaves the chart as it was";
    EXPECT_TRUE(keep->AutoRepaint);
}

TEST_F(ChartFile, EveryPrefixAndRandomDamageEndsInAnErrorOrALoadNeverACrash) {
    Fill();
    const std::string file = Saved(true, false);
    const auto attempt = [&](const std::string& bytes) {
        auto target = Fresh();
        auto* s1 = Create<TLineSeries>(target.get());
        target->AddSeries(s1);
        s1->Add(3);
        const std::string before = streamtext::ObjectText(target.get());
        try {
            Load(target.get(), bytes, true);
            return true;
        } catch (const Exception&) {
            EXPECT_EQ(streamtext::ObjectText(target.get()), before);
            EXPECT_TRUE(target->AutoRepaint);
            return false;
        }
    };
    for (std::size_t n = 1; n < file.size(); ++n) EXPECT_FALSE(attempt(file.substr(0, n))) << n;
    std::mt19937 rng(27);
    for (int round = 0; round < 400; ++round) {
        std::string damaged = file;
        for (int k = 0; k < 3; ++k) damaged[8 + rng() % (damaged.size() - 8)] = static_cast<char>(rng());
        if (round % 4 == 0) damaged.replace(8 + rng() % (damaged.size() - 12), 4, "\xFF\xFF\xFF\x7F");
        attempt(damaged);
    }
}

TEST_F(ChartFile, AFailedSaveLeavesTheEarlierFileAndTextConvertsBothWays) {
    Fill();
    TempDir dir;
    const String name = UTF8ToString((dir.path / "c").string());
    SaveChartToFile(chart.get(), name, true, false);
    std::ifstream in(dir.path / "c.zuz", std::ios::binary);
    const std::string first{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(first, Saved(true, false));
    ConvertZuzFileToText(name + u".zuz", name + u".txt");
    ConvertZuzFileToBinary(name + u".txt", name + u".bin");
    std::ifstream back(dir.path / "c.bin", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(back), {}), first);
}

// ---------------------------------------------------------------------------

class SeriesDataExport : public ChartFile {
protected:
    TLineSeries* Three() {
        auto* s = Create<TLineSeries>(chart.get());
        chart->AddSeries(s);
        s->Add(1, u"a");
        s->Add(2, u"b");
        s->Add(3, u"c");
        return s;
    }
    static std::string Saved(TZuzExportData& E) {
        TMemoryStream m;
        E.SaveToStream(&m);
        return Bytes(m);
    }
};

TEST_F(SeriesDataExport, TextWithDefaultsIsLabelTabValueAndAnEmptyLine) {
    auto* s = Three();
    TSeriesDataText t(chart.get(), s);
    EXPECT_EQ(Saved(t), Utf16(u"a\t1\r\nb\t2\r\nc\t3\r\n\r\n"));
    auto* five = Create<TLineSeries>(chart.get());
    chart->AddSeries(five);
    for (int i = 0; i < 5; ++i) five->Add(10 + i);
    TSeriesDataText all(chart.get());
    EXPECT_EQ(all.AsString(), u"a\t1\t10\r\nb\t2\t11\r\nc\t3\t12\r\n\t\t13\r\n\t\t14\r\n\r\n");
    all.TextQuotes = u"\"";
    all.IncludeHeader = true;
    all.IncludeIndex = true;
    s->Labels().SetLabel(0, u"say \"hi\"");
    const String head = u"\"Index\"\t\"Text\"\t\"Series1\"\t\"Series2\"\r\n0\t\"say \"\"hi\"\"\"\t1\t10\r\n";
    EXPECT_EQ(all.AsString().substr(0, head.size()), head);
}

TEST_F(SeriesDataExport, XMLAndHTMLEscapeWhatTheyCarry) {
    auto* s = Three();
    s->SetTitle(u"a&b<\"c\">");
    s->SetSeriesColor(clRed);
    TSeriesDataXML x(chart.get(), s);
    const String xml = x.AsString();
    EXPECT_EQ(xml, u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
                   u"<series title=\"a&amp;b&lt;&quot;c&quot;&gt;\" type=\"" +
                       GetGallerySeriesName(s) +
                       u"\" color=\"#ff0000\">\r\n<points count=\"3\">\r\n"
                       u"<point  text=\"a\" Y=\"1\"/>\r\n<point  text=\"b\" Y=\"2\"/>\r\n"
                       u"<point  text=\"c\" Y=\"3\"/>\r\n</points>\r\n</series>\r\n\r\n");
    TSeriesDataHTML h(chart.get(), s);
    h.IncludeColors = true;
    s->Labels().SetLabel(1, u"<b>");
    // Points without colours of their own: the guessed contents leave the colour column out.
    EXPECT_EQ(h.AsString(), u"<table border=\"1\">\r\n<tr><td>a</td><td>1</td></tr>\r\n"
                            u"<tr><td>&lt;b&gt;</td><td>2</td></tr>\r\n"
                            u"<tr><td>c</td><td>3</td></tr>\r\n\r\n</table>");
}

TEST_F(SeriesDataExport, TheWorksheetIsPinnedRecordByRecordAndRefusesTooManyRows) {
    auto* s = Create<TLineSeries>(chart.get());
    chart->AddSeries(s);
    s->AddXY(5, 0.5);
    TSeriesDataXLS w(chart.get(), s);
    w.IncludeHeader = true;
    w.IncludeIndex = true;
    w.IncludeLabels = false;
    // The X values are no index, so the X column is written.
    const std::string bytes = Saved(w);
    const auto num = [](double v) { return std::string(reinterpret_cast<const char*>(&v), 8); };
    const std::string expect = std::string("\x09\x08\x08\x00\x00\x00\x10\x00\x00\x00\x00\x00", 12) +
                               std::string("\x00\x02\x0A\x00\x00\x00\x02\x00\x00\x00\x03\x00\x00\x00", 14) +
                               std::string("\x04\x00\x0D\x00\x00\x00\x00\x00\x00\x00\x00\x05Index", 17) +
                               std::string("\x04\x00\x09\x00\x00\x00\x01\x00\x00\x00\x00\x01X", 13) +
                               std::string("\x04\x00\x09\x00\x00\x00\x02\x00\x00\x00\x00\x01Y", 13) +
                               std::string("\x03\x00\x0F\x00\x01\x00\x00\x00\x00\x00\x00", 11) + num(0) +
                               std::string("\x03\x00\x0F\x00\x01\x00\x01\x00\x00\x00\x00", 11) + num(5) +
                               std::string("\x03\x00\x0F\x00\x01\x00\x02\x00\x00\x00\x00", 11) + num(0.5) +
                               std::string("\x0A\x00\x00\x00", 4);
    EXPECT_EQ(bytes, expect);

    for (int i = 0; i < 65535; ++i) s->Add(i);
    TMemoryStream m;
    EXPECT_THROW(w.SaveToStream(&m), ChartException);
    EXPECT_EQ(m.GetSize(), 0);
}

TEST_F(SeriesDataExport, NumbersUseTheLocaleDecimalSeparator) {
    if (const char* locale = std::getenv("MOLTREN_TEST_LOCALE"); locale && *locale) {
        ASSERT_EQ(FormatSettings.DecimalSeparator, u',') << locale << " is missing: run scripts/setup";
    }
    auto* s = Create<TLineSeries>(chart.get());
    chart->AddSeries(s);
    s->Add(1.5);
    TSeriesDataText t(chart.get(), s);
    EXPECT_EQ(t.AsString(), u"1" + String(1, FormatSettings.DecimalSeparator) + u"5\r\n\r\n");
}

} // namespace
