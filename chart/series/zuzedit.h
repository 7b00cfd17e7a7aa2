#pragma once
// Components that open a window on a chart: the base keeps the chart (and forgets it when
// the chart goes), the print previewer opens the print preview with the options it allows.

#include "platform/core/components.h"
#include "platform/gui/forms.h"

#include <cstdint>

class TChartPreview;
class TCustomChart;
class TZuzPreviewPanel;

class TCustomChartEditor : public TComponent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TCustomChartEditor(TComponent* AOwner) : TComponent(AOwner) {}
    ~TCustomChartEditor() override;

    TCustomChart* GetChart() const { return FChart; }
    virtual void SetChart(TCustomChart* Value);
    const String& GetTitle() const { return FTitle; }
    void SetTitle(const String& Value) { FTitle = Value; }
    virtual void Execute() {}

    TNotifyEvent OnClose; // after the window closes, with the window as sender
    TNotifyEvent OnShow;  // before the window shows, with the window as sender

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TCustomChart* FChart = nullptr;
    String FTitle;
};

enum TChartPreviewOption : std::uint8_t {
    cpoChangePrinter,
    cpoSetupPrinter,
    cpoResizeChart,
    cpoMoveChart,
    cpoChangeDetail,
    cpoChangePaperOrientation,
    cpoChangeMargins,
    cpoProportional,
    cpoDragChart,
    cpoPrintPanel,
    cpoAsBitmap
};
template <>
const EnumInfo& EnumInfoOf<TChartPreviewOption>();
using TChartPreviewOptions = Set<TChartPreviewOption>;

// The first eight options: everything but live dragging, printing the panel's frame and
// drawing as a bitmap.
TChartPreviewOptions DefaultChartPreviewOptions();

class TChartPreviewer : public TCustomChartEditor {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TChartPreviewer(TComponent* AOwner);

    TChartPreviewOptions GetOptions() const { return FOptions; }
    void SetOptions(TChartPreviewOptions Value) { FOptions = Value; }
    bool IsOptionsStored() const { return FOptions != DefaultChartPreviewOptions(); }
    TColor GetPaperColor() const { return FPaperColor; }
    void SetPaperColor(TColor Value) { FPaperColor = Value; }
    TWindowState GetWindowState() const { return FWindowState; }
    void SetWindowState(TWindowState Value) { FWindowState = Value; }

    TNotifyEvent OnAfterDraw;

    // Shows the preview of Chart modally (nothing without a chart).
    void Execute() override;
    // The open preview's page image, nullptr while none is open.
    TZuzPreviewPanel* GetPreview() const;
    TChartPreview* GetPreviewForm() const { return FPreview; }

private:
    void ApplyOptions(TChartPreview* Form);
    TChartPreviewOptions FOptions;
    TColor FPaperColor = clWhite;
    TWindowState FWindowState = wsNormal;
    TChartPreview* FPreview = nullptr; // while Execute runs
};

// Registers the previewer, the preview window, its page image and the navigator for streams.
void ZuzEditInitialization();
