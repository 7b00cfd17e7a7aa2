// The panel unit's functions on controls and pictures, and its start-up.
#include "chart/canvas/zuzpanelprocs.h"

#include "chart/canvas/zuzfilters.h"
#include "chart/canvas/zuzgeometry.h"
#include "chart/canvas/zuzprocs.h"
#include "chart/canvas/zuztext.h"
#include "chart_resources.h"
#include "platform/core/resources.h"
#include "platform/gui/forms.h"
#include "platform/win32/gdi.h"

TZuzTranslateHook ZuzTranslateHook;
TZuzTranslateStringHook ZuzTranslateStringHook;

String ZuzTranslateString(const String& Text) {
    return ZuzTranslateStringHook ? ZuzTranslateStringHook(Text) : Text;
}

void ZuzTranslateControl(TControl* Control) {
    ZuzTranslateControl(Control, {});
}

void ZuzTranslateControl(TControl* Control, std::span<TControl* const> Exclude) {
    if (ZuzTranslateHook) ZuzTranslateHook(Control, Exclude);
}

void EnableControls(bool Enable, std::span<TControl* const> Controls) {
    for (TControl* c : Controls)
        if (c) c->SetEnabled(Enable);
}

void ZuzDrawCheckBox(int X, int Y, TCanvas* Canvas, bool IsCheckBox, TColor, bool Checked) {
    RECT r{X, Y, X + 13, Y + 13};
    UINT state = IsCheckBox ? DFCS_BUTTONCHECK : DFCS_BUTTONRADIO;
    if (Checked) state |= DFCS_CHECKED;
    DrawFrameControl(Canvas->GetHandle(), &r, DFC_BUTTON, state);
    if (Canvas->OnChange) Canvas->OnChange(Canvas); // a control's canvas shows it
}

void ZuzLoadBitmap(TBitmap* Bitmap, const String& Name1, const String& Name2) {
    for (const String* name : {&Name1, &Name2})
        if (!name->empty() && FindResource(UTF8Encode(*name), "bmp")) {
            TResourceStream stream(*name, "bmp");
            Bitmap->LoadFromStream(&stream);
            return;
        }
}

void ZuzGetBitmapEditor(const TObject* Object, TBitmap* Bitmap) {
    const ClassInfo& cls = Object->ClassType();
    ZuzLoadBitmap(Bitmap, IdentToString(cls.name), cls.parent ? IdentToString(cls.parent->name) : String());
}

Owned<TBitmap> ZuzAntiAlias(TCustomZuzPanel* Panel, bool) {
    Owned<TBitmap> picture = Panel->ZuzCreateBitmap(Panel->GetColor(), Panel->GetRectangle(), pf24bit);
    TZuzFilter::ApplyTo(TSoftenFilter::StaticClass(), picture.get());
    return picture;
}

void ZuzProcsInitialization() {
    SetDefaultColorPalette();
    ZuzFieldsSeparator = String(1, u';');
    RegisterChartResources();
    if (Screen) Screen->SetCursors(crZuzHand, LoadCursorResource(u"ZUZ_CURSOR_HAND"));
}

void ZuzProcsFinalization() {
    ColorPalette.clear();
    if (Screen) Screen->SetCursors(crZuzHand, static_cast<HCURSOR>(nullptr));
    ZuzFieldsSeparator.clear();
}
