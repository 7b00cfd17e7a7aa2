#include "platform/core/objecttext.h"
#include "platform/core/resources.h"
#include "streaming_fixtures.h"
#include "test_platform_core_resources.h"

#include <gtest/gtest.h>

namespace {

using namespace streaming_fixtures;

class Resources : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterFixtureClasses();
        RegisterCoreTestResources();
        LoadedLog().clear();
    }
};

TEST_F(Resources, EmbeddedFilesAreFoundByNameAndKind) {
    const TEmbeddedResource* res = FindResource("tstreamroot", kFormResourceKind);
    ASSERT_NE(res, nullptr);
    EXPECT_EQ(res->name, "TStreamRoot");
    EXPECT_TRUE(std::string_view(reinterpret_cast<const char*>(res->data), res->size).starts_with("object "));
    EXPECT_EQ(FindResource("TStreamRoot", "bmp"), nullptr);

    TResourceStream stream(u"BadHandler", kFormResourceKind);
    EXPECT_EQ(stream.GetSize(), static_cast<Int64>(FindResource("BadHandler", kFormResourceKind)->size));
    EXPECT_THROW(stream.WriteBuffer("x", 1), EStreamError);
    try {
        TResourceStream missing(u"TNoSuchForm", kFormResourceKind);
        FAIL();
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), u"Resource TNoSuchForm not found");
    }
}

TEST_F(Resources, ASecondFormOfOneClassUnderOneOwnerTakesTheNextFreeName) {
    Owned<TComponent> owner(Create<TComponent>(nullptr));
    auto* first = Create<TStreamRoot>(owner.get());
    auto* second = Create<TStreamRoot>(owner.get());
    auto* third = Create<TStreamRoot>(owner.get());
    ReadComponentRes(u"TStreamRoot", first);
    ReadComponentRes(u"TStreamRoot", second);
    ReadComponentRes(u"TStreamRoot", third);
    EXPECT_EQ(first->GetName(), u"StreamForm");
    EXPECT_EQ(second->GetName(), u"StreamForm_1");
    EXPECT_EQ(third->GetName(), u"StreamForm_2");
}

TEST_F(Resources, FormResourceBuildsTheTreeAndBindsHandlersByName) {
    Owned<TStreamRoot> form(Create<TStreamRoot>(nullptr));
    EXPECT_EQ(ReadComponentRes(u"TStreamRoot", form.get()), form.get());
    EXPECT_EQ(form->GetName(), u"StreamForm");
    EXPECT_EQ(form->FTitle, u"Архив прибора");
    auto* grid = static_cast<TStreamItem*>(form->FindComponent(u"Grid"));
    auto* toolbar = static_cast<TStreamPanel*>(form->FindComponent(u"Toolbar"));
    auto* log = static_cast<TStreamItem*>(form->FindComponent(u"Log"));
    ASSERT_TRUE(grid && toolbar && log);

    EXPECT_EQ(grid->FCaption, u"Таблица");
    EXPECT_EQ(grid->FFont->FName, u"Liberation Mono");
    EXPECT_EQ(grid->FFont->FSize, 9);
    EXPECT_EQ(grid->FFont->FStyle, Set<TMark>{mkBold});
    EXPECT_EQ(grid->FLines->GetText(), u"Дата\r\nВремя\r\n");
    EXPECT_EQ(grid->FBuddy, log); // a sibling read later
    EXPECT_EQ(log->FBuddy, grid);
    EXPECT_EQ(log->GetParentComponent(), toolbar);
    EXPECT_EQ(log->FShade, shLight);
    ASSERT_EQ(toolbar->FColumns->GetCount(), 2);
    EXPECT_EQ(toolbar->Column(0)->FTitle, u"Дата");
    EXPECT_EQ(toolbar->Column(0)->FWidth, 90);
    EXPECT_EQ(toolbar->Column(0)->FTarget, grid);
    EXPECT_EQ(toolbar->Column(1)->FWidth, 64);
    EXPECT_EQ(toolbar->Column(1)->FTarget, log);

    grid->FOnChange(grid);
    log->FOnChange(log);
    EXPECT_EQ(form->Changes, (std::vector<TComponent*>{grid, log}));
    EXPECT_EQ(log->FOnChange.MethodName(), "ItemChange");
    EXPECT_EQ(LoadedLog(), (std::vector<std::string>{"root StreamForm", "Grid>Log", "Log>Grid", "Toolbar"}));

    // What the form holds now is the resource again.
    TMemoryStream written;
    written.WriteComponent(form.get());
    written.SetPosition(0);
    TMemoryStream text;
    ObjectBinaryToText(&written, &text);
    TResourceStream original(u"TStreamRoot", kFormResourceKind);
    TMemoryStream reparsed;
    ObjectTextToBinary(&original, &reparsed);
    reparsed.SetPosition(0);
    Owned<TComponent> again(reparsed.ReadComponent(nullptr));
    EXPECT_EQ(WriteTree(again.get()), WriteTree(form.get()));
}

TEST_F(Resources, FaultyResourcesNameWhatIsWrong) {
    Owned<TStreamRoot> form(Create<TStreamRoot>(nullptr));
    try {
        ReadComponentRes(u"BadHandler", form.get());
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), u"Method GridDblClick not found in class TStreamRoot");
    }
    EXPECT_FALSE(form->GetComponentState().Contains(csLoading));
    EXPECT_FALSE(form->GetComponentState().Contains(csReading));

    Owned<TStreamRoot> other(Create<TStreamRoot>(nullptr));
    try {
        ReadComponentRes(u"BadSyntax", other.get());
        FAIL();
    } catch (const EParserError& e) {
        EXPECT_EQ(e.Message(), u"BadSyntax: '=' expected on line 3");
    }
    EXPECT_THROW(ReadComponentRes(u"Absent", other.get()), EResNotFound);
}

} // namespace
