#pragma once
// Shared set-up of the picture export tests: the units the formats stand on, a panel that
// paints a navy background with a yellow block in its top left quarter, and file helpers.

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzdraw3d.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/series/zuzexportformat.h"
#include "chart/series/zuzjpeg.h"
#include "platform/core/sysutils.h"
#include "platform/gui/forms.h"
#include "platform/gui/jpeg.h"
#include "tests/support/tempdir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

class ExportTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InitFormsUnit();
        JpegInitialization();
        ZuzConstInitialization();
        ZuzProcsInitialization();
        GdiSetTextAntialiasing(false);
    }
    void SetUp() override {
        ZuzExportFormatsInitialization();
        ZuzJPEGInitialization();
        panel.reset(Create<TDraw3D>(nullptr));
        panel->SetBounds(0, 0, 160, 100);
        panel->SetColor(clNavy);
        panel->SetBevelOuter(bvNone);
        panel->OnPaint = TDraw3DPaintEvent([this](TObject*, const TRect&) {
            TCanvas3D* c = panel->GetCanvas();
            c->Brush->SetColor(clYellow);
            c->Brush->SetStyle(bsSolid);
            c->Pen->SetStyle(psClear);
            c->Rectangle(TRect(0, 0, panel->GetWidth() / 2, panel->GetHeight() / 2));
        });
    }
    void TearDown() override {
        panel.reset();
        ZuzJPEGFinalization();
        ZuzExportFormatsFinalization();
        SetDialogResponder({});
    }
    String File(const char* name) const { return UTF8ToString((dir.path / name).string()); }
    static std::string ReadAll(const String& name) {
        std::ifstream in(UTF8Encode(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void WriteAll(const String& name, const std::string& bytes) {
        std::ofstream(UTF8Encode(name), std::ios::binary) << bytes;
    }
    std::size_t Entries() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir.path),
                                                      std::filesystem::directory_iterator()));
    }

    Owned<TDraw3D> panel;
    TempDir dir;
};
