#pragma once
// A sheet of paper with the image of a chart panel inside the panel's print margins: the
// margins and the whole image can be dragged with the mouse, and the panel printed from here.

#include "chart/canvas/zuzpanelext.h"
#include "chart/canvas/zuzshadow.h"

#include <cstdint>
#include <vector>

enum TZuzPreviewPanelOrientation : std::uint8_t { ppoDefault, ppoPortrait, ppoLandscape };
template <>
const EnumInfo& EnumInfoOf<TZuzPreviewPanelOrientation>();

// Where the mouse is on the image: an edge, a corner, the image itself, or none of them.
enum ZuzPreviewZones : std::uint8_t {
    zuzPrev_None,
    zuzPrev_Left,
    zuzPrev_Top,
    zuzPrev_Right,
    zuzPrev_Bottom,
    zuzPrev_Image,
    zuzPrev_LeftTop,
    zuzPrev_RightTop,
    zuzPrev_LeftBottom,
    zuzPrev_RightBottom
};

// The pen of the margin lines: small dots.
class TPreviewChartPen : public TChartPen {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TPreviewChartPen(TNotifyEvent OnChangeEvent = {});
};

using TZuzChangeMarginsEvent =
    Event<void(TObject* Sender, bool DisableProportional, const TRect& NewMargins)>;
using TZuzGetPaperRectEvent = Event<void(TObject* Sender, TRect& PaperRect)>;

// The arithmetic of the sheet: every rectangle comes from the client size, the page's
// proportions and the margins, so it is the same on screen, in tests and while dragging.
namespace ZuzPreviewGeometry {
// The sheet in a W x H client for a page of PageWidth x PageHeight device pixels.
TRect PaperRect(int W, int H, int PageWidth, int PageHeight);
// The area inside the margins (percent of the sheet's width and height).
TRect ImageRect(const TRect& Paper, const TRect& Margins);
// The margins (percent) that put the image where it is on the sheet; false, leaving Margins
// alone, for a sheet under one pixel wide or high.
bool MarginsOf(const TRect& Paper, const TRect& Image, TRect& Margins);
ZuzPreviewZones ZoneAt(const TRect& Image, int X, int Y, bool AllowResize, bool AllowMove);
// The image after the mouse went to (X, Y) in a drag of Zone; StartImage and StartPoint are
// the image and the mouse when a move of the whole image began. False when the position
// would turn the image inside out or push it off the paper: the image stays as it is.
bool Drag(ZuzPreviewZones Zone, const TRect& Paper, TRect& Image, int X, int Y, const TRect& StartImage,
          TPoint StartPoint);
} // namespace ZuzPreviewGeometry

class TZuzPreviewPanel : public TCustomZuzPanelExtended {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TZuzPreviewPanel(TComponent* AOwner);
    ~TZuzPreviewPanel() override;

    bool GetAllowResize() const { return FAllowResize; }
    void SetAllowResize(bool Value) { FAllowResize = Value; }
    bool GetAllowMove() const { return FAllowMove; }
    void SetAllowMove(bool Value) { FAllowMove = Value; }
    bool GetAsBitmap() const { return FAsBitmap; }
    void SetAsBitmap(bool Value) { SetBooleanProperty(FAsBitmap, Value); }
    bool GetDragImage() const { return FDragImage; }
    void SetDragImage(bool Value) { FDragImage = Value; }
    TPreviewChartPen* GetMargins() const { return FMargins.get(); }
    void SetMargins(TPreviewChartPen* Value) { FMargins->Assign(Value); }
    TZuzPreviewPanelOrientation GetOrientation() const { return FOrientation; }
    void SetOrientation(TZuzPreviewPanelOrientation Value);
    // The panel shown: the first of the listed panels, or nullptr.
    TCustomZuzPanel* GetPanel() const { return FPanels.empty() ? nullptr : FPanels.front(); }
    void SetPanel(TCustomZuzPanel* Value);
    const std::vector<TCustomZuzPanel*>& GetPanels() const { return FPanels; }
    TColor GetPaperColor() const { return FPaperColor; }
    void SetPaperColor(TColor Value) { SetColorProperty(FPaperColor, Value); }
    TZuzShadow* GetPaperShadow() const { return FPaperShadow.get(); }
    void SetPaperShadow(TZuzShadow* Value) { FPaperShadow->Assign(Value); }
    TColor GetShadowColor() const { return FPaperShadow->GetColor(); }
    void SetShadowColor(TColor Value) { FPaperShadow->SetColor(Value); }
    int GetShadowSize() const { return FPaperShadow->GetSize(); }
    void SetShadowSize(int Value) { FPaperShadow->SetSize(Value); }
    bool GetShowImage() const { return FShowImage; }
    void SetShowImage(bool Value) { SetBooleanProperty(FShowImage, Value); }
    bool GetSmoothBitmap() const { return FSmoothBitmap; }
    void SetSmoothBitmap(bool Value) { SetBooleanProperty(FSmoothBitmap, Value); }
    const String& GetTitle() const { return FTitle; }
    void SetTitle(const String& Value) { FTitle = Value; }

    TZuzChangeMarginsEvent OnChangeMargins;
    TZuzGetPaperRectEvent OnGetPaperRect;

    // The sheet and the image as the last draw placed them.
    const TRect& GetPaperRect() const { return FPaperRect; }
    const TRect& GetImageRect() const { return FImageRect; }
    ZuzPreviewZones GetDragZone() const { return FDragging; }
    // The sheet for the current client size and printer (set to the orientation asked for).
    TRect CalcPaperRect();
    // The image rectangle on the sheet from the panel's print margins (made proportional first
    // when the panel asks for it).
    TRect CalcImagePrintMargins(TCustomZuzPanel* APanel);
    ZuzPreviewZones WhereIsCursor(int X, int Y) const;
    // A new bitmap of the panel for the image rectangle, on the paper's colour.
    Owned<TBitmap> GetPrintingBitmap(TCustomZuzPanel* APanel);
    // One print job with every listed panel; a job that fails or is cancelled is ended and the
    // error goes on, and the cursor comes back in every case.
    void Print();

    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    void InternalDraw(const TRect& UserRectangle) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void CheckPrinterOrientation();
    void DrawPanelImage(TCustomZuzPanel* APanel);
    Owned<TBitmap> PrintingBitmap(TCustomZuzPanel* APanel, const TRect& Image);
    void DrawMarginLines();
    void PropertyChanged(TObject* Sender) { Invalidate(); }
    std::vector<TCustomZuzPanel*> FPanels;
    Owned<TPreviewChartPen> FMargins;
    Owned<TZuzShadow> FPaperShadow;
    TRect FPaperRect, FImageRect, FOldRect;
    TPoint FOldPos;
    ZuzPreviewZones FDragging = zuzPrev_None;
    TZuzPreviewPanelOrientation FOrientation = ppoDefault;
    TColor FPaperColor = clWhite;
    String FTitle;
    bool FAllowResize = true;
    bool FAllowMove = true;
    bool FAsBitmap = false;
    bool FDragImage = false;
    bool FShowImage = true;
    bool FSmoothBitmap = true;
};

// True when the printer can be asked about its page (there is at least one printer).
bool ZuzPrintersExist();
void RegisterZuzPreviewPanelClasses();
