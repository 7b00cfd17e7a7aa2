#pragma once
// The base of series drawn in a circle or ellipse inside the chart rectangle
// instead of against axes (the pie). It lays out the circle (rectangle,
// centre, radii), keeps it round on screen when asked, makes room for marks,
// lets pies of one chart share a circle, converts angles and screen points,
// fills a background circle, and swaps the chart's 3D view for its own while
// it is active.

#include "chart/canvas/zuzshadow.h"
#include "chart/engine/chartseries.h"

#include <memory>

class TCustomAxisPanel;
class TView3DOptions;
class TZuzGradient;

// The shadow of the background circle.
class TCircledShadow : public TZuzShadow {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TCircledShadow(TNotifyEvent OnChangeEvent = {});
};

class TCircledSeries : public TChartSeries {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCircledSeries(TComponent* AOwner);
    ~TCircledSeries() override;
    void BeforeDestruction() override;
    void Assign(TPersistent* Source) override;
    void SetActive(bool Value) override;
    void SetParentChart(ISeriesChart* Value) override;
    void DoBeforeDrawValues() override;
    bool IsPointInChartRect(int ValueIndex) const override { return true; }
    void PrepareLegendCanvas(int ValueIndex, TColor& BackColor, TBrushStyle& BrushStyle) override;
    bool AssociatedToAxis(const TChartAxis* Axis) const override { return true; }
    bool UseAxis() const override { return false; }

    bool GetCircled() const { return FCircled; }
    void SetCircled(bool Value);
    int GetCustomXRadius() const { return FCustomXRadius; }
    void SetCustomXRadius(int Value);
    int GetCustomYRadius() const { return FCustomYRadius; }
    void SetCustomYRadius(int Value);
    TCircledShadow* GetShadow() const { return FShadow.get(); }
    void SetShadow(TCircledShadow* Value) { FShadow->Assign(Value); }
    TColor GetCircleBackColor() const { return FCircleBackColor; }
    void SetCircleBackColor(TColor Value) { SetColorProperty(FCircleBackColor, Value); }
    int GetRotationAngle() const { return FRotationAngle; }
    void SetRotationAngle(int Value);
    void Rotate(int Angle) { SetRotationAngle(FRotationAngle + Angle); }
    TZuzGradient* GetCircleGradient() const { return FCircleGradient.get(); }
    void SetCircleGradient(TZuzGradient* Value);

    bool HasBackColor() const { return FCircleBackColor != clZuzColor && FCircleBackColor != clNone; }
    TColor CalcCircleBackColor() const;
    void AngleToPos(double Angle, double AXRadius, double AYRadius, int& X, int& Y) const;
    double PointToAngle(int X, int Y) const;
    double PointToRadius(int X, int Y) const;
    // The circle's rectangle: odd sizes lose a pixel, at least 4 x 4; the
    // size and centre follow.
    void AdjustCircleRect();
    void CalcRadius();
    static void AdjustScreenRatio(double K, int XRadius, int YRadius, TRect& R);
    // A circled series' rectangle cut to a circle on the screen (or the page).
    void KeepRound();
    void DrawCircleGradient();
    virtual void CheckOtherSeriesMarks();
    virtual void InitCustom3DOptions() {}
    virtual void SetParentProperties(bool EnableParentProps);

    // Geometry of the current draw.
    int XRadius = 0, YRadius = 0;
    int CircleWidth = 0, CircleHeight = 0;
    int CircleXCenter = 0, CircleYCenter = 0;
    TRect CircleRect;
    double RotationRadians() const { return FRotationRadians; }

protected:
    TCanvas3D* Canvas() const { return GetParentChart() ? GetParentChart()->GetCanvas() : nullptr; }
    TCustomAxisPanel* Panel() const;
    bool Is3D() const { return GetParentChart() && GetParentChart()->GetView3D(); }
    // The chart's own 3D options back from the saved copy.
    void SetBackupProperties();
    // Another circled series of the chart: the one keeping the chart's own view, or an active one.
    TCircledSeries* OtherCircled(bool Keeper) const;

private:
    bool FCircled = false;
    int FCustomXRadius = 0, FCustomYRadius = 0;
    Owned<TCircledShadow> FShadow;
    TColor FCircleBackColor = clZuzColor;
    int FRotationAngle = 0;
    double FRotationRadians = 0;
    Owned<TZuzGradient> FCircleGradient;
    Owned<TView3DOptions> FSaved3D;
};
