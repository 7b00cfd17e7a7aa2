// The filters dialog: the list and its buttons, the options and region pages for the selected
// filter, adding through the menu in caption order, the preview, and the integer edits of the
// options writing their up-down's clamped position.
#include "chart/editors/zuzfilterseditor.h"

#include "chart/canvas/zuzdraw3d.h"
#include "chart/canvas/zuzpanelext.h"
#include "platform/gui/buttons.h"
#include "platform/gui/checklst.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/menus.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/dialogfixture.h"
#include "tests/chart/editors/modaldriver.h"

#include <gtest/gtest.h>

namespace {

// A filter with no options that works only on the whole bitmap.
class TBareFilter : public TZuzFilter {
public:
    static const ClassInfo& StaticClass() {
        static const ClassInfo ci = MakeClassInfo<TBareFilter>("TBareFilter", &TZuzFilter::StaticClass());
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TBareFilter(TCollection* Collection) : TZuzFilter(Collection) {}
    bool AllowsRegion() const override { return false; }
    String Description() const override { return u"Bare"; }
};

class FiltersEditor : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        picture = MakeOwned<TZuzPicture>();
        auto bitmap = MakeOwned<TBitmap>();
        bitmap->SetPixelFormat(pf24bit);
        bitmap->SetSize(40, 30);
        bitmap->GetCanvas()->GetBrush()->SetColor(static_cast<TColor>(0x204080));
        bitmap->GetCanvas()->FillRect(TRect(0, 0, 40, 30));
        picture->SetGraphic(bitmap.get());
    }
    // Shows the dialog on the picture and runs Act while it shows.
    bool Edit(const std::function<void(TFiltersEditor*)>& Act) {
        ModalDriver driver;
        driver.Form<TFiltersEditor>([&](TFiltersEditor& e) {
            probe::ProcessEvents(); // the deferred rebuild of the options
            Act(&e);
        });
        return ShowFiltersEditor(form.get(), picture.get());
    }
    TFilterItems* Items() { return picture->GetFilters(); }

    Owned<TZuzPicture> picture;
};

TEST_F(FiltersEditor, APictureWithoutFiltersOpensWithAnEmptyListAndNoOptions) {
    Edit([](TFiltersEditor* e) {
        EXPECT_EQ(e->Filters->GetItems()->GetCount(), 0);
        EXPECT_FALSE(e->PageProps->GetVisible());
        EXPECT_FALSE(e->BDelete->GetEnabled());
        EXPECT_FALSE(e->BMoveUp->GetEnabled());
        EXPECT_FALSE(e->BMoveDown->GetEnabled());
        EXPECT_TRUE(e->BAdd->GetEnabled());
    });
}

TEST_F(FiltersEditor, TheListShowsEachFilterCheckedAsEnabledAndTheFirstIsSelected) {
    Items()->Add(TInvertFilter::StaticClass());
    Items()->Add(TBrightnessFilter::StaticClass())->SetEnabled(false);
    Edit([&](TFiltersEditor* e) {
        SavePicture(*e, "filters-editor.png");
        ASSERT_EQ(e->Filters->GetItems()->GetCount(), 2);
        EXPECT_TRUE(e->Filters->GetChecked(0));
        EXPECT_FALSE(e->Filters->GetChecked(1));
        EXPECT_EQ(e->Filters->GetItemIndex(), 0);
        EXPECT_EQ(e->SelectedFilter(), Items()->GetItem(0));
        EXPECT_TRUE(e->BDelete->GetEnabled());
        EXPECT_FALSE(e->BMoveUp->GetEnabled());
        EXPECT_TRUE(e->BMoveDown->GetEnabled());
        // Invert has no options but works in a region: the region page alone.
        EXPECT_TRUE(e->PageProps->GetVisible());
        EXPECT_FALSE(e->Properties->GetTabVisible());
        EXPECT_EQ(e->PageProps->GetActivePage(), e->TabRegion);
    });
}

TEST_F(FiltersEditor, AFilterWithNoOptionsAndNoRegionHidesTheOptionsArea) {
    Items()->Add(TBareFilter::StaticClass());
    Edit([](TFiltersEditor* e) {
        EXPECT_EQ(e->Filters->GetItemIndex(), 0);
        EXPECT_FALSE(e->PageProps->GetVisible());
    });
}

TEST_F(FiltersEditor, DeletingTheLastEntrySelectsTheNewLastOne) {
    Items()->Add(TInvertFilter::StaticClass());
    Items()->Add(TBrightnessFilter::StaticClass());
    Items()->Add(TMirrorFilter::StaticClass());
    Edit([&](TFiltersEditor* e) {
        e->SelectFilter(2);
        e->BDeleteClick(e->BDelete);
        EXPECT_EQ(Items()->GetCount(), 2);
        EXPECT_EQ(e->Filters->GetItemIndex(), 1);
        EXPECT_EQ(e->SelectedFilter(), Items()->GetItem(1));
        EXPECT_FALSE(e->BMoveDown->GetEnabled());
        e->BDeleteClick(e->BDelete);
        e->BDeleteClick(e->BDelete);
        EXPECT_EQ(Items()->GetCount(), 0);
        EXPECT_FALSE(e->BDelete->GetEnabled());
        EXPECT_FALSE(e->PageProps->GetVisible());
    });
}

TEST_F(FiltersEditor, MovingExchangesTheEntriesAndTheFiltersOrder) {
    TZuzFilter* invert = Items()->Add(TInvertFilter::StaticClass());
    TZuzFilter* bright = Items()->Add(TBrightnessFilter::StaticClass());
    bright->SetEnabled(false);
    Edit([&](TFiltersEditor* e) {
        e->SelectFilter(1);
        e->BMoveUpClick(e->BMoveUp);
        EXPECT_EQ(Items()->GetItem(0), bright);
        EXPECT_EQ(Items()->GetItem(1), invert);
        EXPECT_EQ(e->Filters->GetItems()->GetObjects(0), bright);
        // Each mark goes with its entry.
        EXPECT_FALSE(e->Filters->GetChecked(0));
        EXPECT_TRUE(e->Filters->GetChecked(1));
        EXPECT_EQ(e->Filters->GetItemIndex(), 0);
        e->BMoveDownClick(e->BMoveDown);
        EXPECT_EQ(Items()->GetItem(0), invert);
    });
}

TEST_F(FiltersEditor, TheMenuListsEveryFilterClassInCaptionOrderAndAddsTheChosenOne) {
    Edit([&](TFiltersEditor* e) {
        TMenuItem* items = e->MenuFilters->GetItems();
        ASSERT_EQ(items->GetCount(), static_cast<int>(FilterClasses().size()));
        for (int i = 1; i < items->GetCount(); ++i)
            EXPECT_LE(items->GetItem(i - 1)->GetCaption(), items->GetItem(i)->GetCaption());
        TMenuItem* invert = items->Find(TZuzFilter::Description(TInvertFilter::StaticClass()));
        ASSERT_NE(invert, nullptr);
        invert->Click();
        ASSERT_EQ(Items()->GetCount(), 1);
        EXPECT_EQ(&Items()->GetItem(0)->ClassType(), &TInvertFilter::StaticClass());
        EXPECT_TRUE(e->Filters->GetChecked(0));
        EXPECT_EQ(e->Filters->GetItemIndex(), 0);
        EXPECT_TRUE(e->PageProps->GetVisible());
    });
}

TEST_F(FiltersEditor, TheCheckMarkAndTheRegionEditsWriteTheFilter) {
    TZuzFilter* invert = Items()->Add(TInvertFilter::StaticClass());
    Edit([&](TFiltersEditor* e) {
        e->Filters->SetChecked(0, false);
        e->FiltersClickCheck(e->Filters);
        EXPECT_FALSE(invert->GetEnabled());
        e->ELeft->SetText(u"5");
        e->EWidth->SetText(u"20000"); // beyond the up-down's range
        EXPECT_EQ(invert->GetRegion()->GetLeft(), 5);
        EXPECT_EQ(invert->GetRegion()->GetWidth(), 11100);
    });
}

TEST_F(FiltersEditor, AnIntegerOptionWritesItsUpDownsClampedPosition) {
    auto* resize = static_cast<TResizeFilter*>(Items()->Add(TResizeFilter::StaticClass()));
    Edit([&](TFiltersEditor* e) {
        TEdit* width = nullptr;
        for (TControl* c : e->Properties->Controls())
            if (auto* edit = dynamic_cast<TEdit*>(c); edit && !width) width = edit;
        ASSERT_NE(width, nullptr);
        width->SetText(u"99999999");
        EXPECT_EQ(resize->GetWidth(), 10000);
        width->SetText(u"abc");
        EXPECT_EQ(resize->GetWidth(), 10000);
        width->SetText(u"64");
        EXPECT_EQ(resize->GetWidth(), 64);
    });
}

TEST_F(FiltersEditor, ThePreviewShowsTheFilteredPictureAndGoesWhenSwitchedOff) {
    Items()->Add(TInvertFilter::StaticClass());
    int updates = 0;
    Edit([&](TFiltersEditor* e) {
        e->OnPreviewChanged = TNotifyEvent([&](TObject*) { ++updates; });
        e->CBScaled->SetChecked(false);
        EXPECT_FALSE(e->Scaled1->GetChecked());
        TGraphic* shown = e->Image->GetBackImage()->GetGraphic();
        ASSERT_NE(shown, nullptr);
        ASSERT_EQ(shown->GetWidth(), 40);
        // 0x204080 inverted.
        EXPECT_EQ(static_cast<TBitmap*>(shown)->GetCanvas()->GetPixel(3, 3), static_cast<TColor>(0xDFBF7F));
        e->CBPreview->SetChecked(false);
        EXPECT_TRUE(e->Image->GetBackImage()->GetGraphic() == nullptr ||
                    e->Image->GetBackImage()->GetGraphic()->GetEmpty());
        e->CBPreview->SetChecked(true);
        EXPECT_EQ(e->Image->GetBackImage()->GetGraphic()->GetWidth(), 40);
        e->CBScaled->SetChecked(true);
        EXPECT_EQ(e->Image->GetBackImage()->GetGraphic()->GetWidth(), e->Image->GetWidth());
        EXPECT_EQ(e->Image->GetBackImageMode(), pbmCustom);
    });
    EXPECT_GE(updates, 3);
}

} // namespace
