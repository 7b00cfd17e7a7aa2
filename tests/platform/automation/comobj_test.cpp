#include "platform/automation/comobj.h"
#include "platform/automation/excelserver.h"
#include "platform/automation/recordingserver.h"
#include "platform/automation/wordserver.h"

#include <gtest/gtest.h>

TEST(OleServers, TheProgramsServersByIdentifierInAnyCase) {
    const Variant excel = CreateOleObject(u"excel.application");
    EXPECT_NE(dynamic_cast<TExcelApplication*>(excel.AsDispatch().get()), nullptr);
    const Variant word = CreateOleObject(u"Word.Application");
    EXPECT_NE(dynamic_cast<TWordApplication*>(word.AsDispatch().get()), nullptr);

    try {
        CreateOleObject(u"Calc.Application");
        FAIL();
    } catch (const EOleSysError& e) {
        EXPECT_EQ(e.ErrorCode, CO_E_CLASSSTRING);
        EXPECT_EQ(e.Message(), u"Invalid class string");
    }
    EXPECT_THROW(GetActiveOleObject(u"Calc.Application"), EOleSysError);
}

TEST(OleServers, ActiveObjectIsTheInstanceStillInUse) {
    TOleServerScope scope(u"Excel.Application", std::make_shared<TExcelServer>());
    try {
        GetActiveOleObject(u"Excel.Application");
        FAIL() << "no instance runs yet";
    } catch (const EOleSysError& e) {
        EXPECT_EQ(e.ErrorCode, MK_E_UNAVAILABLE);
    }
    Variant app = CreateOleObject(u"Excel.Application");
    EXPECT_EQ(GetActiveOleObject(u"EXCEL.APPLICATION").AsDispatch(), app.AsDispatch());
    // A second instance becomes the running one.
    Variant second = CreateOleObject(u"Excel.Application");
    EXPECT_EQ(GetActiveOleObject(u"Excel.Application").AsDispatch(), second.AsDispatch());
    second = Unassigned();
    app = Unassigned();
    EXPECT_THROW(GetActiveOleObject(u"Excel.Application"), EOleSysError);
}

TEST(OleServers, ScopesReplaceAndRestore) {
    const auto original = FindOleServer(u"Excel.Application");
    {
        auto recorder = std::make_shared<TRecordingServer>(u"Excel.Application");
        TOleServerScope scope(u"EXCEL.Application", recorder);
        EXPECT_EQ(FindOleServer(u"Excel.Application"), recorder);
        {
            TOleServerScope inner(u"Quilmet.Test", std::make_shared<TRecordingServer>(u"Quilmet.Test"));
            EXPECT_NE(FindOleServer(u"quilmet.test"), nullptr);
        }
        EXPECT_EQ(FindOleServer(u"Quilmet.Test"), nullptr);
    }
    EXPECT_EQ(FindOleServer(u"Excel.Application"), original);
}

TEST(RecordingServer, RecordsPathsValuesAndFailures) {
    auto recorder = std::make_shared<TRecordingServer>(u"Excel.Application");
    TOleServerScope scope(u"Excel.Application", recorder);
    EXPECT_THROW(GetActiveOleObject(u"Excel.Application"), EOleSysError);
    const Variant app = CreateOleObject(u"Excel.Application");
    app.Set(u"SheetsInNewWorkbook", 1);
    app.Get(u"WorkBooks").Call(u"add");
    const Variant sheet = app.Get(u"Worksheets").Call(u"Item", 1);
    Variant arr = VarArrayCreate({0, 1, 0, 2}, varVariant);
    // Arguments are evaluated in no fixed order: name the corners first.
    const Variant first = sheet.Call(u"Cells", 1, 1);
    const Variant last = sheet.Call(u"Cells", 1, 2);
    sheet.Call(u"Range", first, last).Set(u"Value", arr);
    sheet.Get(u"Columns").Call(u"Item", 1).Set(u"NumberFormat", u"ДД.ММ.ГГГГ ЧЧ:ММ");
    app.Set(u"Visible", true);
    EXPECT_EQ(
        recorder->Log(),
        (std::vector<String>{
            u"GetActiveOleObject(\"Excel.Application\")",
            u"CreateOleObject(\"Excel.Application\")",
            u"put Excel.Application.SheetsInNewWorkbook = 1",
            u"get Excel.Application.WorkBooks",
            u"call Excel.Application.WorkBooks.add()",
            u"get Excel.Application.Worksheets",
            u"call Excel.Application.Worksheets.Item(1)",
            u"call Excel.Application.Worksheets.Item(1).Cells(1, 1)",
            u"call Excel.Application.Worksheets.Item(1).Cells(1, 2)",
            u"call Excel.Application.Worksheets.Item(1).Range(Excel.Application.Worksheets.Item(1).Cells(1, "
            u"1), "
            u"Excel.Application.Worksheets.Item(1).Cells(1, 2))",
            u"put Excel.Application.Worksheets.Item(1).Range(Excel.Application.Worksheets.Item(1).Cells(1, "
            u"1), "
            u"Excel.Application.Worksheets.Item(1).Cells(1, 2)).Value = Array[0..1, 0..2]",
            u"get Excel.Application.Worksheets.Item(1).Columns",
            u"call Excel.Application.Worksheets.Item(1).Columns.Item(1)",
            u"put Excel.Application.Worksheets.Item(1).Columns.Item(1).NumberFormat = \"ДД.ММ.ГГГГ ЧЧ:ММ\"",
            u"put Excel.Application.Visible = true",
        }));
    EXPECT_TRUE(recorder->Assigned(u"Excel.Application.Visible")->AsBoolean());
    EXPECT_EQ(GetActiveOleObject(u"Excel.Application").AsDispatch(), app.AsDispatch());

    recorder->ClearLog();
    recorder->FailOn(u"call Excel.Application.WorkBooks.add");
    recorder->SetResult(u"Excel.Application.Visible", false);
    EXPECT_THROW(app.Get(u"WorkBooks").Call(u"add"), EOleException);
    EXPECT_FALSE(app.Get(u"Visible").AsBoolean());
    recorder->FailOn(u"CreateOleObject");
    EXPECT_THROW(CreateOleObject(u"Excel.Application"), EOleSysError);
    EXPECT_EQ(recorder->Log().size(), 4u);
}
