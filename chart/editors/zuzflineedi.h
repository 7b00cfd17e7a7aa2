#pragma once
// The fast line series' options page: the pen dialog's controls edit the series' line pen,
// and a few more its drawing options, written into the series as each control changes.

#include "chart/editors/zuzpendlg.h"

class TFastLineSeries;
class TGroupBox;

class TFastLineSeriesEditor : public TPenDialog {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TFastLineSeriesEditor(TComponent* AOwner) : TPenDialog(AOwner) {}

    TCheckBox* CBDrawAll = nullptr;
    TGroupBox* GBStair = nullptr;
    TCheckBox* CBStairs = nullptr;
    TCheckBox* CBInvStairs = nullptr;
    TLabel* Label2 = nullptr;
    TComboFlat* CBNulls = nullptr;

    void FormShow(TObject* Sender);
    void CBDrawAllClick(TObject* Sender);
    void CBStairsClick(TObject* Sender);
    void CBInvStairsClick(TObject* Sender);
    void CBNullsChange(TObject* Sender);
    void BColorClick(TObject* Sender) override;

protected:
    void BindComponents() override;

private:
    TFastLineSeries* FFast = nullptr;
    bool FLoading = false;
};

void RegisterZuzFLineEdiClasses();
