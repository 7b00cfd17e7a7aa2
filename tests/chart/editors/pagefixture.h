#pragma once
// Shared set-up of the chart editor pages' tests: a page embedded beside the real chart it
// edits, as the chart editor holds it, tabs chosen as a user chooses them (the change handler
// runs), and the page with its chart saved as a picture.

#include "chart/editors/zuzpendlg.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "tests/chart/editors/dialogfixture.h"

class PageTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        form->SetBounds(20, 20, 800, 330);
        holder = Create<TPanel>(form.get());
        holder->SetParent(form.get());
        holder->SetAlign(alLeft);
        holder->SetWidth(390);
    }
    // The page, made for the chart's object, embedded in the holder and shown.
    template <class T>
    T* Embed(T* Page) {
        Page->SetAlign(alClient);
        AddFormTo(Page, holder);
        form->Show();
        probe::ProcessEvents();
        return Page;
    }
    // A tab sheet of a page control filling the holder, as a host editor gives an embedded one.
    TTabSheet* HostSheet() {
        auto* pages = Create<TPageControl>(form.get());
        pages->SetParent(holder);
        pages->SetAlign(alClient);
        auto* sheet = Create<TTabSheet>(form.get());
        sheet->SetPageControl(pages);
        return sheet;
    }
    static void ChooseTab(TPageControl* Pages, TTabSheet* Sheet) {
        Pages->SetActivePage(Sheet);
        if (Pages->OnChange) Pages->OnChange(Pages);
    }
    static void ChooseTab(TTabControl* Tabs, int Index) {
        Tabs->SetTabIndex(Index);
        if (Tabs->OnChange) Tabs->OnChange(Tabs);
    }
    // The page with the chart beside it, for a person to look at.
    void PagePicture(const std::string& Name) {
        probe::ProcessEvents();
        SavePicture(*form.get(), Name);
    }

    TPanel* holder = nullptr;
};
