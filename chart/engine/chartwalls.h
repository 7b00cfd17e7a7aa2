#pragma once
// The walls around the plotting area: the back wall behind the series and, in 3D, the left,
// bottom and right walls as flat planes or slabs, each with pen, brush, gradient, picture
// and transparency.

#include "chart/canvas/zuzshape.h"

class TCustomChart;
class TZuzBlend;

class TCustomChartWall : public TZuzCustomShape {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TCustomChartWall(TCustomZuzPanel* Chart);
    void Assign(TPersistent* Source) override;

    bool GetAutoHide() const { return FAutoHide; }
    void SetAutoHide(bool Value) { Store(FAutoHide, Value); }
    bool GetDark3D() const { return FDark3D; }
    void SetDark3D(bool Value) { Store(FDark3D, Value); }
    int GetEndPosition() const { return FEndPosition; }
    void SetEndPosition(int Value);
    int GetSize() const { return FSize; }
    void SetSize(int Value);
    int GetStartPosition() const { return FStartPosition; }
    void SetStartPosition(int Value);
    bool IsColorStored() const { return GetColor() != FDefaultColor; }
    // The right wall starts hidden.
    bool DefaultVisible = true;
    bool IsVisibleStored() const { return GetVisible() != DefaultVisible; }
    // The colour the wall starts with and does not store.
    void InitColor(TColor Color);

    bool ShouldDraw() const;
    // The vertical extent of the side walls.
    void CalcPositions(int& Start, int& End) const;
    // Blending and gradient of a side wall standing at the horizontal Position.
    Owned<TZuzBlend> TryDrawWall(int Position, int Depth);
    bool ApplyDark3D();
    bool HasVisibleGradient() { return HasGradient() && GetGradient()->GetVisible(); }
    void DoEndBlending(Owned<TZuzBlend> Blend);

protected:
    TCustomChart* Chart() const;

private:
    template <class T>
    void Store(T& Field, T Value) {
        if (Field == Value) return;
        Field = Value;
        Repaint();
    }
    bool FAutoHide = false;
    bool FDark3D = true;
    int FEndPosition = 100;
    int FSize = 0;
    int FStartPosition = 0;
    TColor FDefaultColor = clDefault;
};

class TChartWall : public TCustomChartWall {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TCustomChartWall::TCustomChartWall;
};

class TChartBackWall : public TChartWall {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TChartBackWall(TCustomZuzPanel* Chart);

protected:
    void InitShadow(TZuzShadow* Shadow) override;
};

class TChartLeftWall : public TChartWall {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TChartLeftWall(TCustomZuzPanel* Chart);
};

class TChartBottomWall : public TChartWall {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TChartBottomWall(TCustomZuzPanel* Chart);
};

class TChartRightWall : public TChartWall {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TChartRightWall(TCustomZuzPanel* Chart);
};

class TChartWalls : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TChartWalls(TCustomChart* Chart);
    ~TChartWalls() override;
    void Assign(TPersistent* Source) override;

    TChartBackWall* GetBack() const { return FBack.get(); }
    void SetBack(TChartBackWall* Value) { FBack->Assign(Value); }
    TChartBottomWall* GetBottom() const { return FBottom.get(); }
    void SetBottom(TChartBottomWall* Value) { FBottom->Assign(Value); }
    TChartLeftWall* GetLeft() const { return FLeft.get(); }
    void SetLeft(TChartLeftWall* Value) { FLeft->Assign(Value); }
    TChartRightWall* GetRight() const { return FRight.get(); }
    void SetRight(TChartRightWall* Value) { FRight->Assign(Value); }
    TCustomChart* GetChart() const { return FChart; }
    // The chart's View3DWalls.
    bool GetVisible() const;
    void SetVisible(bool Value);
    // The size of the left, right, back and bottom walls at once.
    void SetSize(int Value);

    // Drawing on the chart's canvas.
    void PrepareWallCanvas(TCustomChartWall* Wall);
    void DrawBackWall();
    void DrawLeftWall();
    void DrawRightWall();
    void DrawBottomWall();
    // True when a side wall at the horizontal Position faces away and goes before the series.
    bool DrawWallFirst(int Position);

private:
    void DrawSideWall(TCustomChartWall* Wall, int Position, bool Right);
    TCustomChart* FChart;
    Owned<TChartBackWall> FBack;
    Owned<TChartBottomWall> FBottom;
    Owned<TChartLeftWall> FLeft;
    Owned<TChartRightWall> FRight;
};
