// What the program's start-up registers in the chart library, in the order the libraries
// expect, and what its shut-down takes away again.
#include "chart/editors/zuzbmpoptions.h"
#include "chart/editors/zuzemfoptions.h"
#include "chart/series/zuzjpeg.h"
#include "tests/archive/programtest.h"

namespace {

class ProgramStartUp : public ProgramTest {};

TEST_F(ProgramStartUp, PictureFormatsAreRegisteredBitmapMetafileJpegAndGoneAtShutDown) {
    ASSERT_NE(ZuzExportFormats, nullptr);
    ASSERT_EQ(ZuzExportFormats->Count(), 3);
    EXPECT_EQ(ZuzExportFormats->Get(0), &TBMPExportFormat::NewInstance);
    EXPECT_EQ(ZuzExportFormats->Get(1), &TEMFExportFormat::NewInstance);
    EXPECT_EQ(ZuzExportFormats->Get(2), &TJPEGExportFormat::NewInstance);
    // The units stop in reverse: the formats leave the registry before it goes.
    ZuzJPEGFinalization();
    ZuzEmfOptionsFinalization();
    ZuzBmpOptionsFinalization();
    EXPECT_EQ(ZuzExportFormats->Count(), 0);
    ZuzBmpOptionsInitialization();
    ZuzEmfOptionsInitialization();
    ZuzJPEGInitialization();
    const auto names = StartedUnits();
    const auto at = [&](std::string_view n) {
        return std::find(names.begin(), names.end(), n) - names.begin();
    };
    EXPECT_LT(at("ZuzExportFormats"), at("ZuzBmpOptions"));
    EXPECT_LT(at("ZuzBmpOptions"), at("ZuzEmfOptions"));
    EXPECT_LT(at("ZuzEmfOptions"), at("ZuzJPEG"));
    EXPECT_LT(at("ZuzJPEG"), static_cast<std::ptrdiff_t>(names.size()));
}

} // namespace
