#pragma once
// The chart editor's walls page: the left, right, bottom and back walls, one at a time on a
// tab each (colour, border, pattern, gradient, size, transparency, 3D darkening, visibility,
// automatic hiding, start and end, picture and the back wall's shadow), the chart-wide wall
// switch and one size for all walls. Every change is written into the wall at once.

#include "platform/gui/forms.h"

class TButtonColor;
class TButtonGradient;
class TButtonPen;
class TCheckBox;
class TCustomChart;
class TCustomChartWall;
class TEdit;
class TGroupBox;
class TLabel;
class TTabControl;
class TUpDown;

class TFormZuzWall : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TFormZuzWall(TComponent* AOwner);
    TFormZuzWall(TComponent* AOwner, TCustomChartWall* Wall);

    TCheckBox* CBView3dWalls = nullptr;
    TLabel* Label1 = nullptr;
    TEdit* EAllSize = nullptr;
    TUpDown* UDAllSize = nullptr;
    TTabControl* TabSubWalls = nullptr;
    TButtonColor* BWallColor = nullptr;
    TButtonPen* BWallPen = nullptr;
    TButton* BWallBrush = nullptr;
    TButtonGradient* BGradient = nullptr;
    TLabel* Label2 = nullptr;
    TEdit* SEWallSize = nullptr;
    TUpDown* UDWallSize = nullptr;
    TCheckBox* CBTransp = nullptr;
    TLabel* Label3 = nullptr;
    TEdit* Edit1 = nullptr;
    TUpDown* UDTransp = nullptr;
    TCheckBox* CBDark3D = nullptr;
    TCheckBox* CBVisible = nullptr;
    TCheckBox* CBAutoHide = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TLabel* Label4 = nullptr;
    TEdit* Edit2 = nullptr;
    TUpDown* UDStart = nullptr;
    TLabel* Label5 = nullptr;
    TEdit* Edit3 = nullptr;
    TUpDown* UDEnd = nullptr;
    TButton* BImage = nullptr;
    TButton* BShadow = nullptr;

    // Makes Wall the edited one, selects its tab and loads the controls.
    void RefreshControls(TCustomChartWall* Wall);
    TCustomChartWall* GetWall() const { return FWall; }

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void CBView3dWallsClick(TObject* Sender);
    void EAllSizeChange(TObject* Sender);
    void TabSubWallsChange(TObject* Sender);
    void BWallBrushClick(TObject* Sender);
    void BGradientClick(TObject* Sender);
    void SEWallSizeChange(TObject* Sender);
    void CBTranspClick(TObject* Sender);
    void Edit1Change(TObject* Sender);
    void CBDark3DClick(TObject* Sender);
    void CBVisibleClick(TObject* Sender);
    void CBAutoHideClick(TObject* Sender);
    void Edit2Change(TObject* Sender);
    void Edit3Change(TObject* Sender);
    void BImageClick(TObject* Sender);
    void BShadowClick(TObject* Sender);

protected:
    void BindComponents() override;

private:
    TCustomChart* Chart() const;
    void SetWallControls();
    // Handlers write only with a wall, while the page shows and is not filling its controls.
    bool Writing() const;

    TCustomChartWall* FWall = nullptr;
    bool FFilling = false;
    bool FFillingAllSize = false;
};

void ZuzEdiWallInitialization();
