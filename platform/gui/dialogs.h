#pragma once
// Dialogs: the file dialogs and the message dialogs. Each is answered by the
// dialog responder (forms.h) when one is installed.

#include "platform/core/lists.h"
#include "platform/gui/forms.h"

enum TOpenOption : std::uint8_t {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofShowHelp,
    ofNoValidate,
    ofAllowMultiSelect,
    ofExtensionDifferent,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofShareAware,
    ofNoReadOnlyReturn,
    ofNoTestFileCreate,
    ofNoNetworkButton,
    ofNoLongNames,
    ofOldStyleDialog,
    ofNoDereferenceLinks,
    ofEnableIncludeNotify,
    ofEnableSizing,
    ofDontAddToRecent,
    ofForceShowHidden
};
using TOpenOptions = Set<TOpenOption>;
template <>
const EnumInfo& EnumInfoOf<TOpenOption>();

class TCommonDialog : public TComponent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
    virtual bool Execute() = 0;
    int GetHelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }

    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

private:
    int FHelpContext = 0;
};

class TOpenDialog : public TCommonDialog {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TOpenDialog(TComponent* AOwner);
    ~TOpenDialog() override;

    // True when the user chose a file (FileName then holds it).
    bool Execute() override;

    const String& GetDefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const String& Value) { FDefaultExt = Value; }
    const String& GetFileName() const { return FFileName; }
    void SetFileName(const String& Value) { FFileName = Value; }
    TStrings* GetFiles() const { return FFiles.get(); }
    // "Description|pattern;pattern|..."
    const String& GetFilter() const { return FFilter; }
    void SetFilter(const String& Value) { FFilter = Value; }
    // 1-based.
    int GetFilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int Value) { FFilterIndex = Value; }
    const String& GetInitialDir() const { return FInitialDir; }
    void SetInitialDir(const String& Value) { FInitialDir = Value; }
    TOpenOptions GetOptions() const { return FOptions; }
    void SetOptions(TOpenOptions Value) { FOptions = Value; }
    const String& GetTitle() const { return FTitle; }
    void SetTitle(const String& Value) { FTitle = Value; }

protected:
    virtual bool Saving() const { return false; }

private:
    String AppendedExt(int FilterIndex) const;
    String WithDefaultExt(const String& Name, int FilterIndex) const;

    String FDefaultExt;
    String FFileName;
    Owned<TStringList> FFiles;
    String FFilter;
    int FFilterIndex = 1;
    String FInitialDir;
    TOpenOptions FOptions{ofHideReadOnly, ofEnableSizing};
    String FTitle;
};

// The extension that entry Index (from 1) of a dialog's filter names by its first pattern: "xml"
// for "XML files (*.xml)|*.xml", "jpg" for "JPEG (*.jpg;*.jpeg)|*.jpg;*.jpeg"; none for "*.*", a
// pattern not of the form "*.ext", or an entry past the last.
String FilterEntryExt(const String& Filter, int Index);

class TSaveDialog : public TOpenDialog {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TOpenDialog::TOpenDialog;

protected:
    bool Saving() const override { return true; }
};

// An open dialog for pictures: every registered picture format, all of them first.
class TOpenPictureDialog : public TOpenDialog {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TOpenPictureDialog(TComponent* AOwner);
};

enum TFontDialogOption : std::uint8_t {
    fdAnsiOnly,
    fdTrueTypeOnly,
    fdEffects,
    fdFixedPitchOnly,
    fdForceFontExist,
    fdNoFaceSel,
    fdNoOEMFonts,
    fdNoSimulations,
    fdNoSizeSel,
    fdNoStyleSel,
    fdNoVectorFonts,
    fdShowHelp,
    fdWysiwyg,
    fdLimitSize,
    fdScalableOnly,
    fdApplyButton
};
using TFontDialogOptions = Set<TFontDialogOption>;
template <>
const EnumInfo& EnumInfoOf<TFontDialogOption>();

// Lets the user choose a face and size; with fdFixedPitchOnly only
// fixed-pitch faces are offered.
// The printer setup of the program's printer (Printer()): which printer, its paper and its
// orientation. After OK the printer's PrinterIndex names the printer chosen.
class TPrinterSetupDialog : public TCommonDialog {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TPrinterSetupDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
    bool Execute() override;
};

class TFontDialog : public TCommonDialog {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TFontDialog(TComponent* AOwner);
    // True when the user chose a font (Font then holds it).
    bool Execute() override;

    TFont* GetFont() const { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    TFontDialogOptions GetOptions() const { return FOptions; }
    void SetOptions(TFontDialogOptions Value) { FOptions = Value; }

private:
    Owned<TFont> FFont;
    TFontDialogOptions FOptions{fdEffects};
};

enum TColorDialogOption : std::uint8_t {
    cdFullOpen,
    cdPreventFullOpen,
    cdShowHelp,
    cdSolidColor,
    cdAnyColor
};
using TColorDialogOptions = Set<TColorDialogOption>;
template <>
const EnumInfo& EnumInfoOf<TColorDialogOption>();

// Lets the user choose a colour. CustomColors holds the dialog's sixteen custom
// colours as lines "ColorA=BBGGRR" .. "ColorP=BBGGRR" (the colour number in
// hexadecimal); lines that are missing leave a slot white.
class TColorDialog : public TCommonDialog {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TColorDialog(TComponent* AOwner);
    // True when the user chose a colour (Color then holds it, CustomColors what the user kept).
    bool Execute() override;

    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TStrings* GetCustomColors() const { return FCustomColors.get(); }
    void SetCustomColors(TStrings* Value) { FCustomColors->Assign(Value); }
    TColorDialogOptions GetOptions() const { return FOptions; }
    void SetOptions(TColorDialogOptions Value) { FOptions = Value; }

private:
    TColor FColor = clBlack;
    Owned<TStringList> FCustomColors;
    TColorDialogOptions FOptions;
};

enum TMsgDlgType : std::uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
template <>
const EnumInfo& EnumInfoOf<TMsgDlgType>();

enum TMsgDlgBtn : std::uint8_t {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp
};
using TMsgDlgButtons = Set<TMsgDlgBtn>;
template <>
const EnumInfo& EnumInfoOf<TMsgDlgBtn>();

inline const TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline const TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// A modal box with the type's caption and icon; the button pressed as a
// modal result.
TModalResult MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
TModalResult MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X,
                           int Y);
// A box with the application's title and an OK button.
void ShowMessage(const String& Msg);
// Asks for a line of text under a caption and a prompt, starting from Value; true, with
// Value the text typed, when the user pressed OK.
bool InputQuery(const String& ACaption, const String& APrompt, String& Value);
