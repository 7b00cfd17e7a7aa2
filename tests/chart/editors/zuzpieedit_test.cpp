// The pie series' page and the circle settings: the grouped slice's value and enabling, the
// palette's first item, colour-each enabling, radii and their "Auto" boxes, the transparent
// background and a colour chosen after it, the wrapping rotation; the grouped slice's legend.
#include "chart/editors/zuzpieedit.h"

#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/editors/zuzcirclededit.h"
#include "chart/editors/zuzedilege.h"
#include "chart/series/series_pie.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/serieseditorfixture.h"

namespace {

class PieEditor : public SeriesEditorTest {
protected:
    void SetUp() override {
        SeriesEditorTest::SetUp();
        pie = AddSeries<TPieSeries>();
    }
    TPieSeries* pie = nullptr;
};

// The value is shown and read in the locale's notation.
TEST_F(PieEditor, TheOtherValueIgnoresEmptyAndNonNumericText) {
    pie->GetOtherSlice()->SetStyle(poBelowValue);
    for (const auto& locale : editortest::kLocales) {
        UseLocale(locale.system);
        pie->GetOtherSlice()->SetValue(12.5);
        auto* e = Embed<TPieSeriesEditor>(pie);
        EXPECT_EQ(e->EOtherValue->GetText(), FloatToStr(12.5)) << locale.name;
        for (const char16_t* text : {u"", u"-", u"1e", u"abc"}) {
            e->EOtherValue->SetText(text);
            EXPECT_EQ(pie->GetOtherSlice()->GetValue(), 12.5) << UTF8Encode(text);
        }
        EXPECT_TRUE(requests.empty()); // no conversion error box
        e->EOtherValue->SetText(FloatToStr(7.5));
        EXPECT_EQ(pie->GetOtherSlice()->GetValue(), 7.5) << locale.name;
        e->EOtherLabel->SetText(u"Прочие");
        EXPECT_EQ(pie->GetOtherSlice()->GetText(), u"Прочие");
        e->Free();
    }
}

TEST_F(PieEditor, AGroupingStyleEnablesTheValueAndLabel) {
    auto* e = Embed<TPieSeriesEditor>(pie);
    EXPECT_FALSE(e->EOtherValue->GetEnabled());
    EXPECT_EQ(e->EOtherLabel->GetText(), u"Other");
    probe::Choose(*e->CBOther, 1);
    EXPECT_EQ(pie->GetOtherSlice()->GetStyle(), poBelowPercent);
    EXPECT_TRUE(e->EOtherValue->GetEnabled());
    EXPECT_TRUE(e->EOtherLabel->GetEnabled());
    probe::Choose(*e->CBOther, 0);
    EXPECT_EQ(pie->GetOtherSlice()->GetStyle(), poNone);
    EXPECT_FALSE(e->EOtherValue->GetEnabled());
    EXPECT_FALSE(e->EOtherLabel->GetEnabled());
    TChartLegend* edited = nullptr;
    ModalDriver driver;
    driver.Form<TFormZuzLegend>([&](TFormZuzLegend& f) {
        edited = f.GetLegend();
        // A dialog with its frame and title, centred over the editor, not a bare page.
        EXPECT_EQ(f.GetBorderStyle(), bsDialog);
        EXPECT_EQ(f.GetPosition(), poOwnerFormCenter);
        EXPECT_FALSE(f.GetCaption().empty());
    });
    probe::Click(*e->Button2);
    EXPECT_EQ(edited, pie->GetOtherSlice()->GetLegend());
}

TEST_F(PieEditor, ThePalettesFirstItemIsIndexMinusOne) {
    chart->SetColorPaletteIndex(3);
    auto* e = Embed<TPieSeriesEditor>(pie);
    EXPECT_EQ(e->CBPalette->GetItemIndex(), 4);
    EXPECT_TRUE(e->CBPalette->GetEnabled()); // a pie colours each slice
    EXPECT_FALSE(e->BColor->GetEnabled());
    probe::Choose(*e->CBPalette, 0);
    EXPECT_EQ(chart->GetColorPaletteIndex(), -1);
    probe::Choose(*e->CBPalette, 2);
    EXPECT_EQ(chart->GetColorPaletteIndex(), 1);
    probe::Click(*e->CBColorEach);
    EXPECT_FALSE(pie->GetColorEachPoint());
    EXPECT_TRUE(e->BColor->GetEnabled());
    EXPECT_FALSE(e->CBPalette->GetEnabled());
}

TEST_F(PieEditor, EveryOptionWritesAtOnce) {
    chart->SetView3D(true);
    const bool dark = pie->GetDark3D();
    auto* e = Embed<TPieSeriesEditor>(pie);
    EXPECT_TRUE(e->CBDark3d->GetEnabled());
    probe::Click(*e->CBDark3d);
    e->SEExpBig->SetText(u"15");
    probe::Click(*e->CBPatterns);
    e->Edit1->SetText(u"180");
    e->Edit2->SetText(u"25");
    probe::Choose(*e->CBMultiple, 1);
    e->TBBright->SetPosition(-40);
    probe::Click(*e->CBMarksAutoPosition);
    probe::Click(*e->CBVertCenter);
    e->SBLegSize->SetPosition(20);
    EXPECT_NE(pie->GetDark3D(), dark);
    EXPECT_EQ(pie->GetExplodeBiggest(), 15);
    EXPECT_TRUE(pie->GetUsePatterns());
    EXPECT_EQ(pie->GetAngleSize(), 180);
    EXPECT_EQ(pie->GetDarkPen(), 25);
    EXPECT_EQ(pie->GetMultiPie(), mpDisabled);
    EXPECT_EQ(pie->GetGradientBright(), -40);
    EXPECT_EQ(e->LBright->GetCaption(), u"-40");
    EXPECT_FALSE(pie->GetAutoMarkPosition());
    EXPECT_TRUE(pie->GetPieMarks()->GetVertCenter());
    EXPECT_EQ(pie->GetPieMarks()->GetLegSize(), 20);
}

TEST_F(PieEditor, Dark3DIsDisabledOnAFlatChart) {
    chart->SetView3D(false);
    auto* e = Embed<TPieSeriesEditor>(pie);
    EXPECT_FALSE(e->CBDark3d->GetEnabled());
}

// The circled page comes once, without the background controls a pie does not use.
TEST_F(PieEditor, TheCircledPageIsAddedOnceWithoutItsBackgroundControls) {
    auto* e = EmbedInPages<TPieSeriesEditor>(pie);
    VisitEveryPage();
    VisitEveryPage();
    EXPECT_EQ(PageCaptions(), (std::vector<String>{u"Format", u"Circled"}));
    TCircledSeriesEditor* circled = e->CircledForm();
    ASSERT_NE(circled, nullptr);
    EXPECT_EQ(circled->GetParent(), pages->GetPage(1));
    for (TControl* c :
         std::initializer_list<TControl*>{circled->BBack, circled->CBTransp, circled->BGradient})
        EXPECT_FALSE(c->GetVisible()) << UTF8Encode(c->GetName());
    const bool wasCircled = pie->GetCircled();
    probe::Click(*circled->CBCircled);
    EXPECT_NE(pie->GetCircled(), wasCircled);
}

class CircledEditor : public PieEditor {
protected:
    TCircledSeriesEditor* EmbedCircled() { return Embed<TCircledSeriesEditor>(pie); }
};

TEST_F(CircledEditor, RadiusZeroTicksAutoAndAutoWritesZero) {
    pie->SetCustomXRadius(80);
    auto* e = EmbedCircled();
    EXPECT_FALSE(e->CBAutoXR->GetChecked());
    EXPECT_TRUE(e->CBAutoYR->GetChecked());
    e->Edit2->SetText(u"0");
    EXPECT_EQ(pie->GetCustomXRadius(), 0);
    EXPECT_TRUE(e->CBAutoXR->GetChecked());
    e->Edit2->SetText(u"2500"); // held at the maximum
    EXPECT_EQ(pie->GetCustomXRadius(), 2000);
    EXPECT_FALSE(e->CBAutoXR->GetChecked());
    e->Edit3->SetText(u"60");
    EXPECT_FALSE(e->CBAutoYR->GetChecked());
    probe::Click(*e->CBAutoYR);
    EXPECT_EQ(pie->GetCustomYRadius(), 0);
    EXPECT_EQ(e->Edit3->GetText(), u"0");
}

TEST_F(CircledEditor, AColourChosenAfterTransparentUnticksIt) {
    pie->SetCircleBackColor(clYellow);
    auto* e = EmbedCircled();
    EXPECT_FALSE(e->CBTransp->GetChecked());
    EXPECT_TRUE(e->CBTransp->GetEnabled());
    pie->GetCircleGradient()->SetVisible(true);
    probe::Click(*e->CBTransp);
    EXPECT_EQ(pie->GetCircleBackColor(), clZuzColor);
    EXPECT_FALSE(pie->GetCircleGradient()->GetVisible());
    EXPECT_FALSE(e->CBTransp->GetEnabled());
    ModalDriver driver;
    driver.Dialog(TDialogKind::ColorDialog, ColorChosen(clAqua));
    probe::Click(*e->BBack);
    EXPECT_EQ(pie->GetCircleBackColor(), clAqua);
    EXPECT_FALSE(e->CBTransp->GetChecked());
    EXPECT_TRUE(e->CBTransp->GetEnabled());
}

TEST_F(CircledEditor, TheRotationWrapsAndTheOptionsWrite) {
    pie->SetRotationAngle(355);
    auto* e = EmbedCircled();
    EXPECT_TRUE(e->UDRot->GetWrap());
    e->UDRot->Click(btNext);
    EXPECT_EQ(e->UDRot->GetPosition(), 360);
    EXPECT_EQ(pie->GetRotationAngle(), 0); // a full turn
    e->UDRot->Click(btNext);
    EXPECT_EQ(e->UDRot->GetPosition(), 0);
    e->UDRot->Click(btPrev);
    EXPECT_EQ(e->UDRot->GetPosition(), 360);
    e->Edit1->SetText(u"90");
    EXPECT_EQ(pie->GetRotationAngle(), 90);
    const bool circled = pie->GetCircled();
    probe::Click(*e->CBCircled);
    EXPECT_NE(pie->GetCircled(), circled);
    const bool view3D = chart->GetView3D();
    probe::Click(*e->CB3D);
    EXPECT_NE(chart->GetView3D(), view3D);
}

} // namespace

namespace {

TEST_F(PieEditor, PictureOfThePageBesideItsChart) {
    pie->GetOtherSlice()->SetStyle(poBelowPercent);
    pie->GetOtherSlice()->SetValue(10);
    auto* e = Embed<TPieSeriesEditor>(pie);
    SavePicture(*form.get(), "pie-editor.png");
    e->PageControl1->SetActivePage(e->TabOther);
    SavePicture(*form.get(), "pie-editor-other.png");
}

} // namespace
