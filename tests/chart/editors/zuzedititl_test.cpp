// The titles page: the title chosen at the top loaded alone, its text written only when it
// changes, the custom position, every control written into the title, and its format tabs.
#include "chart/editors/zuzedititl.h"

#include "chart/editors/zuzcustomshapeeditor.h"
#include "chart/editors/zuzstringseditor.h"
#include "chart/engine/charttitle.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/modaldriver.h"
#include "tests/chart/editors/pagefixture.h"

#include <gtest/gtest.h>

namespace {

class TitlesPage : public PageTest {
protected:
    TFormZuzTitle* Page(TChartTitle* Title) { return Embed(Create<TFormZuzTitle>(form.get(), chart, Title)); }
};

TEST_F(TitlesPage, ChoosingFootLoadsTheFootsTextAndLeavesTheOtherTitlesAlone) {
    chart->GetFoot()->GetText()->SetText(u"Подвал\r\nвторая строка");
    chart->GetSubTitle()->GetText()->SetText(u"Подзаголовок");
    TFormZuzTitle* p = Page(chart->GetTitle());
    EXPECT_EQ(p->CBTitles->GetItemIndex(), 0);
    EXPECT_EQ(p->MText->GetLines()->GetStrings(0), u"Архив прибора «КРОНТ»");
    probe::Choose(*p->CBTitles, 3);
    EXPECT_EQ(p->GetTitle(), chart->GetFoot());
    ASSERT_EQ(p->MText->GetLines()->GetCount(), 2);
    EXPECT_EQ(p->MText->GetLines()->GetStrings(1), u"вторая строка");
    EXPECT_EQ(chart->GetTitle()->GetText()->GetText(), u"Архив прибора «КРОНТ»\r\n");
    EXPECT_EQ(chart->GetSubTitle()->GetText()->GetText(), u"Подзаголовок\r\n");
    EXPECT_EQ(chart->GetFoot()->GetText()->GetCount(), 2);
}

TEST_F(TitlesPage, ATitleOtherThanTheFirstThreeOpensAsFoot) {
    TFormZuzTitle* p = Page(chart->GetSubFoot());
    EXPECT_EQ(p->CBTitles->GetItemIndex(), 2);
    auto* other =
        Create<TFormZuzTitle>(holder, chart, chart->GetFoot()); // another owner: names are unique per owner
    Embed(other);
    EXPECT_EQ(other->CBTitles->GetItemIndex(), 3);
}

TEST_F(TitlesPage, TheSameLinesTypedAgainWriteNothing) {
    TFormZuzTitle* p = Page(chart->GetTitle());
    int changes = 0;
    auto* text = dynamic_cast<TStringList*>(chart->GetTitle()->GetText());
    ASSERT_NE(text, nullptr);
    const TNotifyEvent repaint = text->OnChange;
    text->OnChange = TNotifyEvent([&](TObject* Sender) {
        ++changes;
        if (repaint) repaint(Sender);
    });
    p->MText->GetLines()->SetText(u"Архив прибора «КРОНТ»");
    EXPECT_EQ(changes, 0);
    p->MText->GetLines()->SetText(u"Архив\r\nприбора");
    EXPECT_GT(changes, 0);
    EXPECT_EQ(chart->GetTitle()->GetText()->GetCount(), 2);
    text->OnChange = repaint;
}

TEST_F(TitlesPage, EveryControlWritesTheTitle) {
    TChartTitle* title = chart->GetTitle();
    TFormZuzTitle* p = Page(title);
    p->CBVisible->SetChecked(false);
    p->CBAdjust->SetChecked(false);
    probe::Choose(*p->CBAlign, 2);
    p->Edit1->SetText(u"-12");
    EXPECT_FALSE(title->GetVisible());
    EXPECT_FALSE(title->GetAdjustFrame());
    EXPECT_EQ(title->GetAlignment(), taRightJustify);
    EXPECT_EQ(title->GetVertMargin(), -12);
    probe::Choose(*p->CBAlign, 0);
    EXPECT_EQ(title->GetAlignment(), taLeftJustify);
}

TEST_F(TitlesPage, ThePositionIsTypedOnlyForACustomPosition) {
    TChartTitle* title = chart->GetTitle();
    TFormZuzTitle* p = Page(title);
    EXPECT_FALSE(p->ECustLeft->GetEnabled());
    EXPECT_FALSE(p->UDTop->GetEnabled());
    p->CBCustPos->SetChecked(true);
    EXPECT_TRUE(title->GetCustomPosition());
    EXPECT_TRUE(p->ECustLeft->GetEnabled());
    EXPECT_TRUE(p->UDTop->GetEnabled());
    p->ECustLeft->SetText(u"35");
    p->ECustTop->SetText(u"-20");
    EXPECT_EQ(title->GetLeft(), 35);
    EXPECT_EQ(title->GetTop(), -20);
}

TEST_F(TitlesPage, TheTitlesFormatTabsFollowStyleAndPosition) {
    TFormZuzTitle* p = Page(chart->GetTitle());
    ASSERT_NE(p->GetShapeEditor(), nullptr);
    const char16_t* expected[] = {u"Style", u"Position", u"Format", u"Border",
                                  u"Text",  u"Gradient", u"Shadow", u"Picture"};
    ASSERT_EQ(p->PageControlTitle->GetPageCount(), 8);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(p->PageControlTitle->GetPage(i)->GetCaption(), expected[i]) << i;
    EXPECT_EQ(p->PageControlTitle->GetActivePage(), p->TabSheet1);
    EXPECT_EQ(p->GetShapeEditor()->GetShape(), chart->GetTitle());
    probe::Choose(*p->CBTitles, 1);
    EXPECT_EQ(p->GetShapeEditor()->GetShape(), chart->GetSubTitle());
    ChooseTab(p->PageControlTitle, p->PageControlTitle->GetPage(5));
    ASSERT_NE(p->GetShapeEditor()->GetGradientEditor(), nullptr);
}

TEST_F(TitlesPage, EditOpensTheTextEditorOnTheMemo) {
    TFormZuzTitle* p = Page(chart->GetTitle());
    ModalDriver driver;
    driver.Form<TStringsEditor>([](TStringsEditor& e) { e.Memo1->GetLines()->SetText(u"Один\r\nДва"); },
                                mrOk);
    p->Button1->Click();
    ASSERT_EQ(chart->GetTitle()->GetText()->GetCount(), 2);
    EXPECT_EQ(chart->GetTitle()->GetText()->GetStrings(1), u"Два");
}

TEST_F(TitlesPage, Picture) {
    Page(chart->GetTitle());
    PagePicture("titles-page.png");
}

} // namespace
