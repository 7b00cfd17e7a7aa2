#pragma once
// The chart's titles above and feet below the chart rectangle: framed multi-line texts that
// take their room off the chart rectangle unless placed by hand.

#include "chart/engine/chartlegend.h"

class TStringList;

class TChartTitle : public TZuzCustomShapePosition {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TChartTitle(TCustomZuzPanel* Chart);
    ~TChartTitle() override;
    void Assign(TPersistent* Source) override;

    bool GetAdjustFrame() const { return FAdjustFrame; }
    void SetAdjustFrame(bool Value);
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TStrings* GetText() const;
    void SetText(TStrings* Value);
    int GetVertMargin() const { return FVertMargin; }
    void SetVertMargin(int Value);
    // The first line; writing replaces every line by it (none when empty).
    String GetCaption() const;
    void SetCaption(const String& Value);
    void Clear() { SetCaption(String()); }
    bool IsOnTop() const { return FOnTop; }

    // True when the title shows and (X, Y) lies in its box, edges included.
    bool Clicked(int X, int Y) const;
    TRect GetShapeBounds() const { return ShapeBounds; }
    void DrawTitle();

protected:
    bool FOnTop = true;

private:
    bool FAdjustFrame = true;
    TAlignment FAlignment = taCenter;
    Owned<TStringList> FText;
    int FVertMargin = 5;
};

// A title below the chart rectangle.
class TChartFootTitle : public TChartTitle {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TChartFootTitle(TCustomZuzPanel* Chart);
};
