// The native chart file in its three forms, loading into a chart that already has series,
// damaged files, and the series-data exporters' exact output.
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/charttitle.h"
#include "chart/engine/chartvaluelist.h"
#include "chart/engine/chartwalls.h"
#include "chart/engine/serieslist.h"
#include "chart/engine/seriesmarks.h"
#include "chart/engine/seriestypes.h"
#include "chart/series/series.h"
#include "chart/series/series_area.h"
#include "chart/series/series_bar.h"
#include "chart/series/series_pie.h"
#include "chart/series/zuzfunci.h"
#include "chart/series/zuzstore.h"
#include "platform/gui/clipbrd.h"
#include "seriesfixture.h"
#include "tests/support/childprocess.h"
#include "tests/support/streamtext.h"
#include "tests/support/tempdir.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <random>

namespace {

std::string Bytes(TMemoryStream& S) {
    return std::string(static_cast<const char*>(S.Memory()), static_cast<std::size_t>(S.GetSize()));
}

std::string FileBytes(const std::filesystem::path& Path) {
    std::ifstream in(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
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
        RegisterClasses({&TChart::StaticClass(), &TLineSeries::StaticClass(), &TPointSeries::StaticClass(),
                         &TBarSeries::StaticClass(), &TAreaSeries::StaticClass(),
                         &TPieSeries::StaticClass()});
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

// The graph windows' charts own their series; the editor's new series join their owner.
TEST_F(ChartFile, AFunctionSeriesOfAChartOnAFormFollowsItsSourceAfterLoading) {
    for (const bool chartOwnsSeries : {false, true})
        for (const bool text : {false, true}) {
            Owned<TComponent> form(Create<TComponent>(nullptr));
            form->SetName(u"Form1");
            auto* onForm = Create<TChart>(form.get());
            onForm->SetName(u"Chart1");
            TComponent* owner = chartOwnsSeries ? static_cast<TComponent*>(onForm) : form.get();
            auto* source = Create<TLineSeries>(owner);
            source->SetName(u"Series1");
            onForm->AddSeries(source);
            for (double y : {1.0, 3.0, 5.0, 7.0}) source->Add(y);
            TChartSeries* average = CreateNewSeries(owner, onForm, &TLineSeries::StaticClass(),
                                                    &TAverageZuzFunction::StaticClass());
            average->GetFunction()->SetPeriod(2);
            average->SetDataSource(source);
            TMemoryStream file;
            SaveChartToStream(onForm, &file, true, text);
            file.SetPosition(0);
            TCustomChart* target = onForm;
            LoadChartFromStream(target, &file);
            ASSERT_EQ(onForm->SeriesCount(), 2);
            TChartSeries* loadedSource = onForm->GetSeries(0);
            TChartSeries* loaded = onForm->GetSeries(1);
            EXPECT_EQ(loaded->GetDataSource(), loadedSource) << chartOwnsSeries << text;
            loadedSource->BeginUpdate();
            loadedSource->Add(9);
            loadedSource->Add(11);
            loadedSource->EndUpdate();
            ASSERT_EQ(loaded->Count(), 3) << chartOwnsSeries << text;
            EXPECT_DOUBLE_EQ(loaded->YValue(2), 10);
        }
}

TEST_F(ChartFile, PointsAfterTheStreamAreReadOnlyWhenAsked) {
    Fill();
    std::string file = Saved(false, false);
    for (int i = 0; i < chart->SeriesCount(); ++i) {
        TMemoryStream data;
        chart->GetSeries(i)->WriteData(&data);
        file += Bytes(data);
    }
    auto plain = Fresh();
    TCustomChart* target = plain.get();
    TMemoryStream s;
    s.Write(file.data(), static_cast<LongInt>(file.size()));
    s.SetPosition(0);
    LoadChartFromStream(target, &s);
    ASSERT_EQ(plain->SeriesCount(), 2);
    EXPECT_EQ(plain->GetSeries(0)->Count(), 0);
    EXPECT_LT(s.GetPosition(), s.GetSize()) << "the bytes after the chart are left unread";

    auto asked = Fresh();
    Load(asked.get(), file, true);
    ASSERT_EQ(asked->SeriesCount(), 2);
    ASSERT_EQ(asked->GetSeries(0)->Count(), 2);
    EXPECT_EQ(asked->GetSeries(0)->Labels().GetLabel(0), u"январь");
    EXPECT_DOUBLE_EQ(asked->GetSeries(1)->MandatoryValueList()->GetValue(0), -1.25);
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

    // An obsolete value is told once per load, however the load reads the file.
    std::vector<String> shown;
    const auto previous = SetDialogResponder([&](const TDialogRequest& r) {
        shown.push_back(r.Text);
        TDialogAnswer a;
        a.Result = IDOK;
        return a;
    });
    Load(c.get(), "object Chart1: TChart\r\n  object Series1: TLineSeries\r\n"
                  "    YValues.Multiplier = 2.5\r\n  end\r\nend\r\n");
    SetDialogResponder(previous);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].substr(0, 39), u"Error: Multiplier property is obsolete.");
    EXPECT_EQ(c->SeriesCount(), 1);
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

// A series whose points cannot be written: the save fails halfway through the chart.
class TUnwritableSeries : public TLineSeries {
public:
    using TLineSeries::TLineSeries;
    void WriteData(TStream* Stream) override {
        Stream->WriteBuffer("\x01\x02", 2);
        throw EWriteError(u"disk full");
    }
};

TEST_F(ChartFile, AFailedSaveLeavesTheEarlierFileAndTextConvertsBothWays) {
    Fill();
    TempDir dir;
    const String name = UTF8ToString((dir.path / "c").string());
    SaveChartToFile(chart.get(), name, true, false);
    const std::string first = FileBytes(dir.path / "c.zuz");
    EXPECT_EQ(first, Saved(true, false));
    ConvertZuzFileToText(name + u".zuz", name + u".txt");
    ConvertZuzFileToBinary(name + u".txt", name + u".bin");
    EXPECT_EQ(FileBytes(dir.path / "c.bin"), first);

    auto* broken = Create<TUnwritableSeries>(chart.get());
    broken->SetName(u"Broken");
    chart->AddSeries(broken);
    broken->Add(1);
    for (const bool text : {false, true}) {
        EXPECT_THROW(SaveChartToFile(chart.get(), name + u".zuz", true, text), EWriteError);
        EXPECT_EQ(FileBytes(dir.path / "c.zuz"), first) << "text form " << text;
    }
    EXPECT_THROW(SaveChartToXMLFile(chart.get(), name + u".zuz", true, true), EWriteError);
    EXPECT_EQ(FileBytes(dir.path / "c.zuz"), first);
    EXPECT_EQ(chart->GetName(), u"Chart1");
    EXPECT_FALSE(broken->ForceSaveData) << "the save flags are put back after the failure";
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path)) ++files;
    EXPECT_EQ(files, 3u) << "no half-written file is left beside the old one";

    // A worksheet refused for its size leaves an earlier export as it was.
    chart->RemoveSeries(broken);
    delete broken;
    const String sheet = UTF8ToString((dir.path / "d.xls").string());
    TSeriesDataXLS w(chart.get(), chart->GetSeries(0));
    w.SaveToFile(sheet);
    const std::string earlier = FileBytes(dir.path / "d.xls");
    for (int i = 0; i < 65535; ++i) chart->GetSeries(0)->Add(i);
    EXPECT_THROW(w.SaveToFile(sheet), ChartException);
    EXPECT_EQ(FileBytes(dir.path / "d.xls"), earlier);
}

// Writing reads every published property; none of those reads may leave the chart changed.
TEST_F(ChartFile, SavingAChartOfEveryTypeChangesNeitherItsPictureNorTheNextSave) {
    TChartSeries* source = nullptr;
    const TZuzSeriesTypes& types = ZuzSeriesTypes();
    for (int i = 0; i < types.Count(); ++i) {
        const TZuzSeriesType* t = types[i];
        TChartSeries* s =
            CreateNewSeries(chart.get(), chart.get(),
                            t->SeriesClass ? t->SeriesClass : &TLineSeries::StaticClass(), t->FunctionClass);
        ASSERT_NE(s, nullptr) << i;
        if (t->FunctionClass)
            s->SetDataSource(source);
        else
            s->FillSampleValues(6);
        if (!source) source = s;
        s->GetMarks()->SetVisible(true);
    }
    // Drawing marks makes the callout of some types; a write makes none.
    Draw();
    std::vector<bool> callouts;
    for (int i = 0; i < chart->SeriesCount(); ++i)
        callouts.push_back(chart->GetSeries(i)->GetMarks()->HasCallout());
    for (const bool view3D : {false, true}) {
        chart->SetView3D(view3D);
        Draw();
        const probe::Picture before = probe::Grab(out);
        const std::string first = Saved(true, false);
        const std::string firstText = Saved(true, true);
        // The legend draws after the series: what it changes shows in the drawing after.
        for (int round = 1; round <= 2; ++round) {
            Draw();
            EXPECT_EQ(DifferingPixels(before, probe::Grab(out)), 0) << "3D " << view3D << ", round " << round;
            EXPECT_EQ(Saved(true, true), firstText) << "3D " << view3D << ", round " << round;
            EXPECT_TRUE(Saved(true, false) == first) << "3D " << view3D << ", round " << round;
        }
    }
    // What is made on first read and stays out of sight was not made by the writes either.
    const auto plain = [](const TZuzFont* F) {
        return !F->HasGradient() && !F->HasOutLine() && !F->HasPicture() && !F->HasShadow();
    };
    const auto bare = [](const TZuzCustomShape* S) { return !S->HasGradient() && !S->HasPicture(); };
    EXPECT_TRUE(plain(chart->GetTitle()->GetFont()));
    EXPECT_TRUE(plain(chart->GetLegend()->GetFont()));
    EXPECT_TRUE(plain(chart->GetLeftAxis()->GetLabelsFont()));
    for (const TZuzCustomShape* shape : std::initializer_list<const TZuzCustomShape*>{
             chart->GetTitle(), chart->GetLegend(), chart->GetBackWall(), chart->GetLeftWall(),
             chart->GetBottomWall(), chart->GetRightWall()})
        EXPECT_TRUE(bare(shape)) << shape->ClassType().name;
    EXPECT_FALSE(chart->HasGradient() || chart->HasBackImageObject() || chart->GetZoom()->HasBrush() ||
                 chart->GetZoom()->HasPen());
    for (int i = 0; i < chart->SeriesCount(); ++i) {
        TChartSeries* s = chart->GetSeries(i);
        const TSeriesMarks* marks = s->GetMarks();
        EXPECT_TRUE(plain(marks->GetFont())) << i;
        EXPECT_TRUE(bare(marks) && !marks->HasSymbol()) << i;
        EXPECT_EQ(marks->HasCallout(), callouts[i]) << i;
        EXPECT_FALSE(s->GetBrush()->HasImage()) << i;
        if (auto* bar = dynamic_cast<TCustomBarSeries*>(s)) {
            EXPECT_FALSE(bar->GetGradient()->HasSub()) << i;
        }
        if (auto* pie = dynamic_cast<TPieSeries*>(s)) {
            EXPECT_FALSE(pie->GetOtherSlice()->HasLegend()) << i;
        }
    }
}

TEST_F(ChartFile, CustomAxesLegendSettingsAndBarAreaAndPieSeriesLoadBackEqual) {
    chart->SetName(u"Chart1");
    chart->GetTitle()->GetText()->Add(u"Суточный расход");
    auto* axis = static_cast<TChartAxis*>(chart->GetCustomAxes()->Add());
    axis->SetOtherSide(true);
    axis->SetStartPosition(10);
    axis->SetEndPosition(60);
    axis->SetZPosition(40);
    axis->GetTitle()->SetCaption(u"Давление, кПа");
    TChartLegend* legend = chart->GetLegend();
    legend->SetAlignment(laBottom);
    legend->SetLegendStyle(lsValues);
    legend->SetTextStyle(ltsRightValue);
    legend->SetMaxNumRows(3);

    auto* bar = Create<TBarSeries>(chart.get());
    bar->SetName(u"Bars");
    chart->AddSeries(bar);
    bar->SetBarStyle(bsPyramid);
    bar->SetBarWidthPercent(55);
    bar->SetMultiBar(mbStacked);
    bar->SetCustomVertAxis(axis);
    bar->Add(4, u"пн", clRed);
    bar->Add(7, u"вт", clBlue);
    auto* area = Create<TAreaSeries>(chart.get());
    area->SetName(u"Area");
    chart->AddSeries(area);
    area->SetTitle(u"Температура, °C");
    area->AddXY(1, -3.5);
    area->AddXY(2, 2.25);
    auto* pie = Create<TPieSeries>(chart.get());
    pie->SetName(u"Pie");
    chart->AddSeries(pie);
    pie->SetCircled(true);
    pie->SetRotationAngle(45);
    pie->GetGradient()->SetDirection(gdTopBottom); // the declared default, not the pie's own
    pie->Add(30, u"день");
    pie->Add(70, u"ночь");
    chart->GetSeriesList()->AddGroup(u""); // emptied, not the name a group starts with
    TSeriesGroup* group = chart->GetSeriesList()->AddGroup(u"Сутки");
    group->Add(pie);
    group->Add(bar);
    // The view the operator turns while a pie holds the chart's 3D options is what the file keeps.
    chart->SetView3D(true);
    TView3DOptions* view = chart->GetView3DOptions();
    view->SetElevation(330);
    view->SetRotation(20);
    view->SetPerspective(40);
    view->SetTilt(10);
    Draw();
    const probe::Picture picture = probe::Grab(out);

    const std::string original = Saved(true, true);
    // A bar's gradient ends in the bar's colour, so the end is not written; older files that
    // wrote it still load.
    EXPECT_EQ(original.find("EndColor"), std::string::npos);
    for (const bool text : {false, true}) {
        auto copy = Fresh();
        Load(copy.get(), Saved(true, text));
        TMemoryStream again;
        SaveChartToStream(copy.get(), &again, true, true);
        EXPECT_EQ(Bytes(again), original) << "text form " << text;
        const TView3DOptions* v = copy->GetView3DOptions();
        EXPECT_EQ(std::tuple(v->GetElevation(), v->GetRotation(), v->GetPerspective(), v->GetTilt(),
                             v->GetOrthogonal()),
                  std::tuple(330.0, 20.0, 40, 10, false))
            << "text form " << text;
        TBitmap drawn;
        drawn.SetSize(W, H);
        copy->Draw(drawn.GetCanvas(), TRect(0, 0, W, H));
        EXPECT_EQ(DifferingPixels(picture, probe::Grab(drawn)), 0) << "text form " << text;
        ASSERT_EQ(copy->GetCustomAxes()->GetCount(), 1);
        ASSERT_EQ(copy->SeriesCount(), 3);
        EXPECT_EQ(copy->GetSeries(0)->GetCustomVertAxis(), copy->GetCustomAxes()->Get(0))
            << "the bars stay on the custom axis";
        EXPECT_EQ(copy->GetCustomAxes()->Get(0)->GetTitle()->GetCaption(), u"Давление, кПа");
        EXPECT_EQ(copy->GetLegend()->GetAlignment(), laBottom);
        EXPECT_EQ(copy->GetLegend()->GetMaxNumRows(), 3);
        auto* b = dynamic_cast<TBarSeries*>(copy->GetSeries(0));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->GetBarStyle(), bsPyramid);
        EXPECT_EQ(b->GetValueColor(1), clBlue);
        EXPECT_EQ(b->Labels().GetLabel(0), u"пн");
        EXPECT_DOUBLE_EQ(copy->GetSeries(1)->MandatoryValueList()->GetValue(0), -3.5);
        auto* p = dynamic_cast<TPieSeries*>(copy->GetSeries(2));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->GetRotationAngle(), 45);
        EXPECT_EQ(p->GetGradient()->GetDirection(), gdTopBottom);
        EXPECT_EQ(p->Labels().GetLabel(1), u"ночь");
        // The group's members come back, in their order.
        TSeriesGroups* groups = copy->GetSeriesList()->GetGroups();
        ASSERT_EQ(groups->GetCount(), 2);
        ASSERT_EQ(groups->Get(1)->GetSeries()->Count(), 2);
        EXPECT_EQ(groups->Get(1)->GetSeries()->Get(0), p);
        EXPECT_EQ(groups->Get(1)->GetSeries()->Get(1), b);
    }
    // A group's Active, which files of other writers carry, is read from its members: such a
    // file loads whole, without a word to the checking load.
    std::string withActive = Saved(true, true);
    const std::size_t item = withActive.rfind("item");
    ASSERT_NE(item, std::string::npos);
    withActive.insert(withActive.find('\n', item) + 1, "Active = gaNo\n");
    auto active = Fresh();
    int asked = 0;
    Load(active.get(), withActive, false, [&](const String&) { return ++asked, true; });
    EXPECT_EQ(asked, 0);
    ASSERT_EQ(active->GetSeriesList()->GetGroups()->GetCount(), 2);
    EXPECT_EQ(active->GetSeriesList()->GetGroups()->Get(1)->GetSeries()->Count(), 2);
    EXPECT_EQ(active->GetSeriesList()->GetGroups()->Get(1)->GetActive(), gaYes);
    // A group names its members regardless of case, as the names of components go.
    std::string text = Saved(true, true);
    const std::string member = "'" + UTF8Encode(pie->GetName()) + "'";
    ASSERT_NE(text.find(member), std::string::npos);
    text.replace(text.find(member), member.size(), UTF8Encode(UpperCase(UTF8ToString(member))));
    auto cased = Fresh();
    streamtext::ReadText(text, cased.get());
    ASSERT_EQ(cased->GetSeriesList()->GetGroups()->Get(1)->GetSeries()->Count(), 2);
    EXPECT_EQ(cased->GetSeriesList()->GetGroups()->Get(1)->GetSeries()->Get(0), cased->GetSeries(2));
    auto older = Fresh();
    streamtext::ReadText("object Chart1: TChart\n  object Old: TBarSeries\n    Gradient.EndColor = clRed\n"
                         "    Gradient.StartColor = clBlue\n  end\nend\n",
                         older.get());
    ASSERT_EQ(older->SeriesCount(), 1);
    EXPECT_EQ(dynamic_cast<TBarSeries*>(older->GetSeries(0))->GetGradient()->GetStartColor(), clBlue);
}

TEST_F(ChartFile, ASeriesTransparencyReadIsHeldToAPercentage) {
    auto c = Fresh();
    streamtext::ReadText("object Chart1: TChart\n"
                         "  object A: TAreaSeries\n    Transparency = 101\n  end\n"
                         "  object B: TBarSeries\n    Transparency = 300\n  end\n"
                         "  object P: TPointSeries\n    Transparency = 101\n  end\n"
                         "  object N: TBarSeries\n    Transparency = -5\n  end\n"
                         "end\n",
                         c.get());
    ASSERT_EQ(c->SeriesCount(), 4);
    EXPECT_EQ(dynamic_cast<TAreaSeries*>(c->GetSeries(0))->GetTransparency(), 100);
    EXPECT_EQ(dynamic_cast<TBarSeries*>(c->GetSeries(1))->GetTransparency(), 100);
    EXPECT_EQ(dynamic_cast<TPointSeries*>(c->GetSeries(2))->GetTransparency(), 100);
    EXPECT_EQ(dynamic_cast<TBarSeries*>(c->GetSeries(3))->GetTransparency(), 0);
}

TEST_F(ChartFile, FramedMarksWithTheirCalloutAndSymbolLoadBackEqualAndDrawTheSame) {
    auto* line = Create<TLineSeries>(chart.get());
    line->SetName(u"Line");
    chart->AddSeries(line);
    line->SetSeriesColor(clRed);
    for (const double v : {3.0, 7.0, 5.0}) line->Add(v);
    TSeriesMarks* m = line->GetMarks();
    m->SetVisible(true);
    m->SetArrowLength(31);
    m->GetArrow()->SetColor(clBlue);
    m->GetArrow()->SetWidth(2);
    m->GetCallout()->SetArrowHead(ahSolid);
    m->GetCallout()->SetDistance(4);
    m->GetSymbol()->SetVisible(true);
    m->GetFrame()->SetColor(clNavy);
    m->GetFrame()->SetWidth(2);
    m->SetBevel(bvRaised);
    m->SetBevelWidth(3);
    m->SetShapeStyle(fosRoundRectangle);
    m->SetRoundSize(6);
    m->SetFontSeriesColor(true);
    m->GetGradient()->SetVisible(true);
    m->GetGradient()->SetStartColor(clYellow);
    m->GetGradient()->SetEndColor(clLime);
    m->GetShadow()->SetSize(4);
    Draw();
    SavePicture("marks-framed.png");
    const probe::Picture before = probe::Grab(out);

    const std::string original = Saved(true, false);
    auto copy = Fresh();
    Load(copy.get(), original);
    EXPECT_EQ(Saved(true, true), [&] {
        TMemoryStream again;
        SaveChartToStream(copy.get(), &again, true, true);
        return Bytes(again);
    }()) << "every stored property comes back";
    ASSERT_EQ(copy->SeriesCount(), 1);
    TSeriesMarks* back = copy->GetSeries(0)->GetMarks();
    EXPECT_EQ(back->GetArrowLength(), 31);
    EXPECT_EQ(back->GetArrow()->GetColor(), clBlue);
    EXPECT_EQ(back->GetCallout()->GetArrowHead(), ahSolid);
    EXPECT_EQ(back->GetCallout()->GetDistance(), 4);
    EXPECT_TRUE(back->GetSymbol()->GetVisible());
    EXPECT_EQ(back->GetFrame()->GetColor(), clNavy);
    EXPECT_EQ(back->GetBevel(), bvRaised);
    EXPECT_EQ(back->GetShapeStyle(), fosRoundRectangle);
    EXPECT_TRUE(back->GetFontSeriesColor());
    EXPECT_EQ(back->GetGradient()->GetEndColor(), clLime);

    out.SetSize(W, H);
    copy->SetBounds(0, 0, W, H);
    copy->Draw(out.GetCanvas(), TRect(0, 0, W, H));
    EXPECT_TRUE(probe::Grab(out) == before) << "the marks read back draw the same";

    // Files of before keep reading: the box's settings under the same names.
    auto older = Fresh();
    streamtext::ReadText("object Chart1: TChart\n"
                         "  object Old: TLineSeries\n"
                         "    Marks.Brush.Color = clAqua\n"
                         "    Marks.Color = clYellow\n"
                         "    Marks.Frame.Width = 3\n"
                         "    Marks.Gradient.Direction = gdRightLeft\n"
                         "    Marks.Gradient.Visible = True\n"
                         "    Marks.Shadow.HorizSize = 5\n"
                         "    Marks.Transparency = 20\n"
                         "    Marks.Visible = True\n"
                         "  end\n"
                         "end\n",
                         older.get());
    ASSERT_EQ(older->SeriesCount(), 1);
    TSeriesMarks* old = older->GetSeries(0)->GetMarks();
    EXPECT_EQ(old->GetBrush()->GetColor(), clAqua);
    EXPECT_EQ(old->GetColor(), clYellow);
    EXPECT_EQ(old->GetFrame()->GetWidth(), 3);
    EXPECT_TRUE(old->GetGradient()->GetVisible());
    EXPECT_EQ(old->GetShadow()->GetHorizSize(), 5);
    EXPECT_EQ(old->GetTransparency(), 20);
    EXPECT_TRUE(old->GetVisible());
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
    // A null point keeps its X, and only while that list is called "X".
    s->AddNullXY(4, 0);
    x.Format += tfNoMandatory;
    EXPECT_NE(x.AsString().find(u" X=\"4\"/>"), String::npos) << UTF8Encode(x.AsString());
    s->GetXValues()->SetName(u"Time");
    EXPECT_EQ(x.AsString().find(u"Time=\"4\""), String::npos) << UTF8Encode(x.AsString());
    s->GetXValues()->SetName(u"X");
    s->Delete(3);
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
    // A number that holds the delimiter (a decimal comma, a blank between thousands) is quoted, so
    // that the row keeps its fields; one that does not is written as it is.
    s->Add(1234.5, u"L1");
    t.IncludeIndex = true;
    t.TextDelimiter = u',';
    const String d(1, FormatSettings.DecimalSeparator), q = d == u"," ? u"\"" : u"";
    EXPECT_EQ(t.AsString(),
              u"0,," + q + u"1" + d + u"5" + q + u"\r\n1,L1," + q + u"1234" + d + u"5" + q + u"\r\n\r\n");
    t.TextDelimiter = u' ';
    t.ValueFormat = u"# ##0.0";
    EXPECT_EQ(t.AsString(), u"0  \" 1" + d + u"5\"\r\n1 L1 \"1 234" + d + u"5\"\r\n\r\n");
}

// The records of a worksheet: type, row, column and the cell's data.
struct SheetCell {
    int type, row, col;
    std::string data;
};

std::vector<SheetCell> Cells(const std::string& Bytes) {
    std::vector<SheetCell> out;
    const auto u16 = [&](std::size_t At) {
        return static_cast<int>(static_cast<unsigned char>(Bytes[At]) |
                                (static_cast<unsigned char>(Bytes[At + 1]) << 8));
    };
    for (std::size_t at = 0; at + 4 <= Bytes.size();) {
        const int type = u16(at), length = u16(at + 2);
        if (type >= 1 && type <= 4 && length >= 7)
            out.push_back({type, u16(at + 4), u16(at + 6),
                           Bytes.substr(at + 11, static_cast<std::size_t>(length - 7))});
        at += 4 + static_cast<std::size_t>(length);
    }
    return out;
}

std::string LabelText(const SheetCell& C) {
    return C.data.empty() ? std::string() : C.data.substr(1, static_cast<unsigned char>(C.data[0]));
}

double NumberOf(const SheetCell& C) {
    double v = 0;
    std::memcpy(&v, C.data.data(), sizeof v);
    return v;
}

TEST_F(SeriesDataExport, TheClipboardGetsTheSameTextAsTheFile) {
    auto* s = Three();
    s->Labels().SetLabel(2, u"сутки");
    TSeriesDataText t(chart.get(), s);
    t.IncludeHeader = true;
    t.CopyToClipboard();
    EXPECT_EQ(Clipboard()->GetAsText(), t.AsString());
    EXPECT_EQ(Saved(t), Utf16(Clipboard()->GetAsText()));
    TSeriesDataHTML h(chart.get(), s);
    h.CopyToClipboard();
    EXPECT_EQ(Clipboard()->GetAsText().substr(0, 19), u"<table border=\"1\">\r");
}

TEST_F(SeriesDataExport, AWorksheetLabelIsCutTo255BytesNeverInsideALetter) {
    auto* s = Three();
    s->Labels().SetLabel(0, String(300, u'x'));
    s->Labels().SetLabel(1, String(200, u'ж'));
    s->Labels().SetLabel(2, String(255, u'y'));
    TSeriesDataXLS w(chart.get(), s);
    const std::vector<SheetCell> cells = Cells(Saved(w));
    std::vector<std::string> labels;
    for (const SheetCell& c : cells)
        if (c.type == 4) labels.push_back(LabelText(c));
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_EQ(labels[0], std::string(255, 'x'));
    EXPECT_EQ(labels[1].size(), 254u) << "a two-byte letter does not fit in the 255th byte";
    EXPECT_EQ(UTF8ToString(labels[1]), String(127, u'ж'));
    EXPECT_EQ(labels[2], std::string(255, 'y')) << "255 bytes are kept whole";
}

TEST_F(SeriesDataExport, TwoSeriesWithColoursGetAColourColumnEachButTheTextOnlyOne) {
    auto* a = Create<TLineSeries>(chart.get());
    chart->AddSeries(a);
    a->SetSeriesColor(clGray);
    a->Add(1, u"a", clRed);
    auto* b = Create<TLineSeries>(chart.get());
    chart->AddSeries(b);
    b->SetSeriesColor(clGray);
    b->Add(2, u"b", clBlue);
    TSeriesDataHTML h(chart.get());
    h.IncludeHeader = true;
    h.IncludeColors = true;
    EXPECT_EQ(h.AsString(),
              u"<table border=\"1\">\r\n"
              u"<tr><td>Text</td><td>Colors</td><td>Series1</td>"
              u"<td>Text</td><td>Colors</td><td>Series2</td></tr>\r\n"
              u"<tr><td>a</td><td>#ff0000</td><td>1</td><td>b</td><td>#0000ff</td><td>2</td></tr>\r\n"
              u"\r\n</table>");
    TSeriesDataText t(chart.get());
    t.IncludeHeader = true;
    t.IncludeColors = true;
    EXPECT_EQ(t.AsString(), u"Text\tColors\tSeries1\tSeries2\r\na\t#ff0000\t1\t2\r\n\r\n");
    TSeriesDataXLS w(chart.get());
    w.IncludeHeader = true;
    w.IncludeColors = true;
    const std::string bytes = Saved(w);
    EXPECT_EQ(bytes.substr(12, 14),
              std::string("\x00\x02\x0A\x00\x00\x00\x02\x00\x00\x00\x06\x00\x00\x00", 14))
        << "two rows, six columns";
    const std::vector<SheetCell> cells = Cells(bytes);
    ASSERT_EQ(cells.size(), 12u);
    const char* heads[] = {"Text", "Colors", "Y", "Text", "Colors", "Y"};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(cells[static_cast<std::size_t>(c)].col, c);
        EXPECT_EQ(LabelText(cells[static_cast<std::size_t>(c)]), heads[c]);
    }
    EXPECT_EQ(LabelText(cells[7]), "#ff0000");
    EXPECT_DOUBLE_EQ(NumberOf(cells[8]), 1);
    EXPECT_EQ(LabelText(cells[10]), "#0000ff");
    EXPECT_DOUBLE_EQ(NumberOf(cells[11]), 2);
}

TEST_F(SeriesDataExport, DateTimeValuesAreDatesInTheTextAndNumbersElsewhere) {
    auto* s = Create<TLineSeries>(chart.get());
    chart->AddSeries(s);
    s->GetXValues()->SetDateTime(true);
    const double when = 45000.25; // 15 March 2023, 06:00
    s->AddXY(when, 1.5, u"утро");
    s->AddXY(when + 1, 2, u"день");
    s->AddXY(1e12, 3, u"ночь"); // beyond the calendar: a chart file can hold it
    TSeriesDataText t(chart.get(), s);
    t.TextQuotes = u"\"";
    const String half = u"1" + String(1, FormatSettings.DecimalSeparator) + u"5";
    const String first = u"\"утро\"\t\"" + DateTimeToStr(when) + u"\"\t" + half + u"\r\n";
    const String text = t.AsString();
    EXPECT_EQ(text.substr(0, first.size()), first);
    EXPECT_NE(text.find(u"\"ночь\"\t" + FloatToStr(1e12) + u"\t3\r\n"), String::npos)
        << "a value no calendar holds is its number";
    TSeriesDataHTML h(chart.get(), s);
    const String quarter = u"45000" + String(1, FormatSettings.DecimalSeparator) + u"25";
    EXPECT_NE(h.AsString().find(u"<td>" + quarter + u"</td><td>" + half + u"</td>"), String::npos)
        << "date-time values are plain numbers in a table";
    TSeriesDataXLS w(chart.get(), s);
    const std::vector<SheetCell> cells = Cells(Saved(w));
    ASSERT_EQ(cells.size(), 9u);
    EXPECT_EQ(cells[1].type, 3);
    EXPECT_DOUBLE_EQ(NumberOf(cells[1]), when) << "a worksheet keeps the date as its day number";
    EXPECT_DOUBLE_EQ(NumberOf(cells[4]), when + 1);
}

// Another program's reader of the worksheet format: Debian's python3-xlrd (scripts/setup).
// It prints the sheet's size and every cell as "row col kind value", then END.
const char* const kXlrdScript = R"(import sys
try:
    import xlrd
except ImportError:
    print('NOXLRD'); sys.exit(0)
book = xlrd.open_workbook(sys.argv[1], encoding_override='utf-8')
sheet = book.sheet_by_index(0)
print('SIZE', sheet.nrows, sheet.ncols)
for r in range(sheet.nrows):
    for c in range(sheet.ncols):
        cell = sheet.cell(r, c)
        if cell.ctype == xlrd.XL_CELL_NUMBER:
            print(r, c, 'N', repr(cell.value))
        elif cell.ctype == xlrd.XL_CELL_TEXT:
            print(r, c, 'T', cell.value)
print('END')
)";

TEST_F(SeriesDataExport, AnotherProgramsWorksheetReaderFindsEveryCell) {
    auto* s = Create<TLineSeries>(chart.get());
    chart->AddSeries(s);
    s->SetSeriesColor(clRed);
    s->AddXY(0.5, 230.25, u"Фаза A", clRed);
    s->AddXY(1.5, -1e-3, u"B & <C>", clGreen);
    s->AddXY(2.5, 1e12);
    auto* other = Create<TLineSeries>(chart.get());
    chart->AddSeries(other);
    other->SetSeriesColor(clNavy);
    other->AddXY(0.5, 7);
    TempDir dir;
    TSeriesDataXLS w(chart.get());
    w.IncludeHeader = true;
    w.IncludeIndex = true;
    w.IncludeColors = true;
    const auto file = dir.path / "sheet.xls";
    w.SaveToFile(UTF8ToString(file.string()));

    ChildProcess reader("/usr/bin/python3", {"-c", kXlrdScript, file.string()});
    std::vector<std::string> lines;
    for (std::string line = reader.ReadLine(); !line.empty(); line = reader.ReadLine()) lines.push_back(line);
    if (!reader.Started() || lines.empty() || lines[0] == "NOXLRD")
        GTEST_SKIP() << "python3-xlrd is not installed (scripts/setup)";
    // Columns: the index, then label, colour, X and Y of each series.
    const std::vector<std::string> expected = {"SIZE 4 9",
                                               "0 0 T Index",
                                               "0 1 T Text",
                                               "0 2 T Colors",
                                               "0 3 T X",
                                               "0 4 T Y",
                                               "0 5 T Text",
                                               "0 6 T Colors",
                                               "0 7 T X",
                                               "0 8 T Y",
                                               "1 0 N 0.0",
                                               "1 1 T Фаза A",
                                               "1 2 T #ff0000",
                                               "1 3 N 0.5",
                                               "1 4 N 230.25",
                                               "1 5 T ",
                                               "1 6 T #000080",
                                               "1 7 N 0.5",
                                               "1 8 N 7.0",
                                               "2 0 N 1.0",
                                               "2 1 T B & <C>",
                                               "2 2 T #008000",
                                               "2 3 N 1.5",
                                               "2 4 N -0.001",
                                               "2 5 T ",
                                               "2 6 T ",
                                               "3 0 N 2.0",
                                               "3 1 T ",
                                               "3 2 T #ff0000",
                                               "3 3 N 2.5",
                                               "3 4 N 1000000000000.0",
                                               "3 5 T ",
                                               "3 6 T ",
                                               "END"};
    EXPECT_EQ(lines, expected);
}

// A series type whose gallery name holds two ampersands.
class TAmpersandSeries : public TLineSeries {
public:
    static const ClassInfo& StaticClass() {
        static const ClassInfo info =
            MakeClassInfo<TAmpersandSeries>("TAmpersandSeries", &TLineSeries::StaticClass());
        return info;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TLineSeries::TLineSeries;
};

TEST_F(SeriesDataExport, AnAmpersandInTheTypeNameIsEscapedOnceEachTime) {
    static const String name = u"Fish & Chips & Co";
    RegisterZuzSeries(&TAmpersandSeries::StaticClass(), &name);
    auto* s = Create<TAmpersandSeries>(chart.get());
    chart->AddSeries(s);
    s->Add(1);
    TSeriesDataXML x(chart.get(), s);
    const String xml = x.AsString();
    UnRegisterZuzSeries({&TAmpersandSeries::StaticClass()});
    EXPECT_NE(xml.find(u" type=\"Fish &amp; Chips &amp; Co\" "), String::npos) << UTF8Encode(xml);
    EXPECT_EQ(xml.find(u"&amp;amp;"), String::npos);
}

} // namespace
