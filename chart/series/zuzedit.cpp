#include "chart/series/zuzedit.h"

#include "chart/canvas/zuzcontrols.h"
#include "chart/engine/chart.h"
#include "chart/series/zuzprevi.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

// ---------------------------------------------------------------------------
// TCustomChartEditor

const ClassInfo& TCustomChartEditor::StaticClass() {
    using E = TCustomChartEditor;
    static const PropInfo props[] = {
        MakeProp<&E::GetChart, &E::SetChart>("Chart"),
        MakeProp<&E::OnClose>("OnClose"),
        MakeProp<&E::OnShow>("OnShow"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TCustomChartEditor>("TCustomChartEditor", &TComponent::StaticClass(), props);
    return ci;
}

TCustomChartEditor::~TCustomChartEditor() = default;

void TCustomChartEditor::SetChart(TCustomChart* Value) {
    if (Value == FChart) return;
    if (FChart) FChart->RemoveFreeNotification(this);
    FChart = Value;
    if (FChart) FChart->FreeNotification(this);
}

void TCustomChartEditor::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && FChart && AComponent == FChart) SetChart(nullptr);
}

// ---------------------------------------------------------------------------
// TChartPreviewer

template <>
const EnumInfo& EnumInfoOf<TChartPreviewOption>() {
    static const EnumInfo info{"TChartPreviewOption",
                               {"cpoChangePrinter", "cpoSetupPrinter", "cpoResizeChart", "cpoMoveChart",
                                "cpoChangeDetail", "cpoChangePaperOrientation", "cpoChangeMargins",
                                "cpoProportional", "cpoDragChart", "cpoPrintPanel", "cpoAsBitmap"}};
    return info;
}

TChartPreviewOptions DefaultChartPreviewOptions() {
    return {cpoChangePrinter, cpoSetupPrinter,           cpoResizeChart,   cpoMoveChart,
            cpoChangeDetail,  cpoChangePaperOrientation, cpoChangeMargins, cpoProportional};
}

const ClassInfo& TChartPreviewer::StaticClass() {
    using P = TChartPreviewer;
    using E = TCustomChartEditor;
    static const PropInfo props[] = {
        MakeProp<&P::GetOptions, &P::SetOptions>("Options").Stored<&P::IsOptionsStored>(),
        MakeProp<&P::GetPaperColor, &P::SetPaperColor>("PaperColor").Default(clWhite),
        MakeProp<&E::GetTitle, &E::SetTitle>("Title"),
        MakeProp<&P::GetWindowState, &P::SetWindowState>("WindowState").Default(wsNormal),
        MakeProp<&P::OnAfterDraw>("OnAfterDraw"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TChartPreviewer>("TChartPreviewer", &TCustomChartEditor::StaticClass(), props);
    return ci;
}

TChartPreviewer::TChartPreviewer(TComponent* AOwner)
    : TCustomChartEditor(AOwner), FOptions(DefaultChartPreviewOptions()) {}

TZuzPreviewPanel* TChartPreviewer::GetPreview() const {
    return FPreview ? FPreview->PreviewPanel() : nullptr;
}

void TChartPreviewer::ApplyOptions(TChartPreview* Form) {
    TZuzPreviewPanel* preview = Form->PreviewPanel();
    TCustomChart* chart = GetChart();
    // A clear option disables its controls or turns its feature off.
    if (!FOptions.Contains(cpoChangePrinter)) Form->CBPrinters->SetEnabled(false);
    if (!FOptions.Contains(cpoSetupPrinter)) Form->BSetupPrinter->SetEnabled(false);
    preview->SetAllowResize(FOptions.Contains(cpoResizeChart));
    preview->SetAllowMove(FOptions.Contains(cpoMoveChart));
    if (!FOptions.Contains(cpoChangeDetail)) Form->ChangeDetailGroup->SetEnabled(false);
    if (!FOptions.Contains(cpoChangePaperOrientation)) Form->Orientation->SetEnabled(false);
    if (!FOptions.Contains(cpoChangeMargins)) {
        Form->GBMargins->SetEnabled(false);
        Form->BReset->SetEnabled(false);
    }
    // The option can turn proportional printing off, never on.
    if (chart->GetPrintProportional()) chart->SetPrintProportional(FOptions.Contains(cpoProportional));
    preview->SetPaperColor(FPaperColor);
    preview->SetDragImage(FOptions.Contains(cpoDragChart));
    chart->PrintZuzPanel = FOptions.Contains(cpoPrintPanel);
    preview->SetAsBitmap(FOptions.Contains(cpoAsBitmap));
}

void TChartPreviewer::Execute() {
    TCustomChart* chart = GetChart();
    if (!chart) return;
    Owned<TChartPreview> form(Create<TChartPreview>(nullptr));
    FPreview = form.get();
    const bool printPanel = chart->PrintZuzPanel;
    // Whatever happens in the window, the chart gets back its frame setting, the previewer
    // forgets the window, and the chart is drawn again without acting on the closing click.
    struct Done {
        TChartPreviewer* self;
        TCustomChart* chart;
        bool printPanel;
        ~Done() {
            chart->PrintZuzPanel = printPanel;
            self->FPreview = nullptr;
            chart->Invalidate();
            chart->CancelMouse = true;
        }
    } done{this, chart, printPanel};
    TZuzPreviewPanel* preview = form->PreviewPanel();
    if (!GetTitle().empty()) {
        form->SetCaption(GetTitle());
        // The window's title names the job too: it is what a PDF printer offers as the file's name.
        preview->SetTitle(GetTitle());
    }
    preview->SetPanel(chart);
    preview->OnAfterDraw = OnAfterDraw;
    form->SetWindowState(FWindowState);
    ApplyOptions(form.get());
    if (OnShow) OnShow(form.get());
    form->ShowModal();
    chart->PrintZuzPanel = printPanel;
    if (OnClose) OnClose(form.get());
    form.reset();
}

void ZuzEditInitialization() {
    RegisterClasses({&TChartPreviewer::StaticClass(), &TChartPreview::StaticClass()});
    RegisterZuzPreviewPanelClasses();
    RegisterZuzNavigatorClasses();
}
