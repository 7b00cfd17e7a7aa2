#pragma once
// Free functions of the panel unit on controls and pictures: enabling controls together, the
// system check box, bitmaps from the program's resources, the hooks through which a program
// translates the library's texts and controls, and the unit's start-up with the hand cursor.

#include "platform/gui/controls.h"
#include "platform/gui/graphics.h"

#include <functional>
#include <span>

class TCustomZuzPanel;

// The screen cursor number of the chart library's hand.
inline constexpr int crZuzHand = 2020;

// Hooks a program sets to translate the library's texts and its dialogs' controls.
using TZuzTranslateHook = std::function<void(TControl* Control, std::span<TControl* const> Exclude)>;
using TZuzTranslateStringHook = std::function<String(const String& Text)>;
extern TZuzTranslateHook ZuzTranslateHook;
extern TZuzTranslateStringHook ZuzTranslateStringHook;
// Through the hooks when they are set; the text unchanged and the control untouched otherwise.
String ZuzTranslateString(const String& Text);
void ZuzTranslateControl(TControl* Control);
void ZuzTranslateControl(TControl* Control, std::span<TControl* const> Exclude);

// Enabled of every control given (nullptr entries skipped).
void EnableControls(bool Enable, std::span<TControl* const> Controls);
// A 13 x 13 system check box at (X, Y), or a radio button when IsCheckBox is false.
void ZuzDrawCheckBox(int X, int Y, TCanvas* Canvas, bool IsCheckBox, TColor Colour, bool Checked);
// The bitmap resource Name1, else Name2; the bitmap stays as it is when neither exists.
void ZuzLoadBitmap(TBitmap* Bitmap, const String& Name1, const String& Name2);
// The bitmap named after the object's class, else after its parent class.
void ZuzGetBitmapEditor(const TObject* Object, TBitmap* Bitmap);

// A 24-bit picture of the panel's client area on its own colour, softened (the flag changes
// nothing); the caller owns it.
Owned<TBitmap> ZuzAntiAlias(TCustomZuzPanel* Panel, bool Flag = true);

// The panel unit's start-up: the default palette, the field separator and the hand cursor.
void ZuzProcsInitialization();
void ZuzProcsFinalization();
