#include "platform/gui/dialogs.h"

#include "platform/gui/guiclasses.h"
#include "platform/gui/printers.h"

#include "platform/core/sysutils.h"
#include "platform/gui/qtbridge.h"
#include "platform/win32/gdi.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace gui_detail;

template <>
const EnumInfo& EnumInfoOf<TOpenOption>() {
    static const EnumInfo info{
        "TOpenOption",
        {"ofReadOnly",         "ofOverwritePrompt",    "ofHideReadOnly",        "ofNoChangeDir",
         "ofShowHelp",         "ofNoValidate",         "ofAllowMultiSelect",    "ofExtensionDifferent",
         "ofPathMustExist",    "ofFileMustExist",      "ofCreatePrompt",        "ofShareAware",
         "ofNoReadOnlyReturn", "ofNoTestFileCreate",   "ofNoNetworkButton",     "ofNoLongNames",
         "ofOldStyleDialog",   "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing",
         "ofDontAddToRecent",  "ofForceShowHidden"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TMsgDlgType>() {
    static const EnumInfo info{"TMsgDlgType",
                               {"mtWarning", "mtError", "mtInformation", "mtConfirmation", "mtCustom"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TMsgDlgBtn>() {
    static const EnumInfo info{"TMsgDlgBtn",
                               {"mbYes", "mbNo", "mbOK", "mbCancel", "mbAbort", "mbRetry", "mbIgnore",
                                "mbAll", "mbNoToAll", "mbYesToAll", "mbHelp"}};
    return info;
}

const ClassInfo& TCommonDialog::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TCommonDialog::GetHelpContext, &TCommonDialog::SetHelpContext>("HelpContext").Default(0),
        MakeProp<&TCommonDialog::OnClose>("OnClose"),
        MakeProp<&TCommonDialog::OnShow>("OnShow"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TCommonDialog>("TCommonDialog", &TComponent::StaticClass(), props);
    return ci;
}

namespace {

// The width a box needs for the window manager to show its whole title: the title bar's face is
// about the bold of the box's; the window manager's icon and three buttons, their spacing and the
// frame's edges take about eight of its lines' heights besides, and a title that does not fit is
// shortened in the middle.
int TitleRoom(const QWidget& Box) {
    QFont bold = Box.font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    return metrics.horizontalAdvance(Box.windowTitle()) + 9 * metrics.height();
}

} // namespace

void gui_detail::WidenToTitle(QMessageBox& Box) {
    const int width = TitleRoom(Box);
    if (auto* grid = qobject_cast<QGridLayout*>(Box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(),
                      0, 1, grid->columnCount());
}

// ---------------------------------------------------------------------------
// File dialogs

namespace {

// "Text (*.txt)|*.txt|All (*.bmp;*.jpg)|*.bmp;*.jpg" as Qt's "Text (*.txt)" and "All (*.bmp *.jpg)".
// Qt takes the patterns from the brackets that end the name, split at spaces only: they are the
// entry's own patterns, whatever the description's brackets say.
QStringList NameFilters(const String& filter) {
    QStringList parts = ToQString(filter).split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';')))
            if (!p.trimmed().isEmpty()) patterns << p.trimmed();
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (description.endsWith(QLatin1Char(')')) && open >= 0)
            description = description.left(open).trimmed();
        result << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return result;
}

} // namespace

const ClassInfo& TOpenDialog::StaticClass() {
    using O = TOpenDialog;
    static const PropInfo props[] = {
        MakeProp<&O::GetDefaultExt, &O::SetDefaultExt>("DefaultExt"),
        MakeProp<&O::GetFileName, &O::SetFileName>("FileName"),
        MakeProp<&O::GetFilter, &O::SetFilter>("Filter"),
        MakeProp<&O::GetFilterIndex, &O::SetFilterIndex>("FilterIndex").Default(1),
        MakeProp<&O::GetInitialDir, &O::SetInitialDir>("InitialDir"),
        MakeProp<&O::GetOptions, &O::SetOptions>("Options").Default(
            static_cast<std::int64_t>(TOpenOptions{ofHideReadOnly, ofEnableSizing}.Bits())),
        MakeProp<&O::GetTitle, &O::SetTitle>("Title"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TOpenDialog>("TOpenDialog", &TCommonDialog::StaticClass(), props);
    return ci;
}

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFiles(MakeOwned<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

namespace {

// The extension a pattern ("*.txt") names: the text after "*.", none when that holds a wildcard.
String PatternExt(String Pattern) {
    const std::size_t start = Pattern.find_first_not_of(u"*.");
    Pattern.erase(0, std::min(start, Pattern.size()));
    if (Pattern.find_first_of(u"*?") != String::npos) return {};
    return Pattern;
}

// The toolkit's file dialog adds its default suffix to a typed name unless that name is a folder
// of the process's working folder: a folder of the dialog's own, typed and confirmed, became a
// file named after it. Here a typed folder opens, as anywhere else in the dialog.
class FileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

protected:
    void accept() override {
        if (auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
            const QString typed = edit->text().trimmed();
            const QFileInfo info(directory().absoluteFilePath(typed));
            if (!typed.isEmpty() && info.isDir()) {
                setDirectory(info.absoluteFilePath());
                edit->clear();
                return;
            }
        }
        QFileDialog::accept();
    }
};

} // namespace

String FilterEntryExt(const String& Filter, int Index) {
    if (Index < 1) return {};
    std::size_t at = 0;
    // Entries are "description|patterns" pairs: the patterns of entry n follow the (2n-1)th bar.
    for (int bars = 0; bars < 2 * Index - 1; ++bars) {
        at = Filter.find(u'|', at);
        if (at == String::npos) return {};
        ++at;
    }
    const String patterns = Filter.substr(at, Filter.find(u'|', at) - at);
    String first = patterns.substr(0, patterns.find(u';'));
    first.erase(0, std::min(first.find_first_not_of(u' '), first.size()));
    first.erase(first.find_last_not_of(u' ') + 1);
    if (first.size() < 3 || first.compare(0, 2, u"*.") != 0) return {};
    return PatternExt(first);
}

// The default extension may be written as a pattern ("*.txt"); a name takes only the extension
// itself, never the wildcard. A dialog that adds an extension adds that of the file type chosen
// in it, so that the name says what the file holds; the default one only when the type names none.
String TOpenDialog::AppendedExt(int FilterIndex) const {
    const String ext = PatternExt(FDefaultExt);
    if (ext.empty()) return {};
    const String chosen = FilterEntryExt(FFilter, FilterIndex);
    return chosen.empty() ? ext : chosen;
}

// A name typed without an extension takes the one the dialog adds for the chosen file type.
String TOpenDialog::WithDefaultExt(const String& Name, int FilterIndex) const {
    const String ext = AppendedExt(FilterIndex);
    if (ext.empty() || Name.empty() || !ExtractFileExt(Name).empty()) return Name;
    return Name + u"." + ext;
}

bool TOpenDialog::Execute() {
    if (OnShow) OnShow(this);
    struct Closing {
        TOpenDialog* d;
        ~Closing() {
            if (d->OnClose) d->OnClose(d);
        }
    } closing{this};
    FFiles->Clear();
    if (const TDialogResponder& responder = GetDialogResponder()) {
        TDialogRequest request;
        request.Kind = Saving() ? TDialogKind::SaveDialog : TDialogKind::OpenDialog;
        request.Caption = FTitle;
        request.FileName = FFileName;
        request.InitialDir = FInitialDir;
        request.Filter = FFilter;
        request.DefaultExt = AppendedExt(FFilterIndex);
        request.FilterIndex = FFilterIndex;
        request.Flags = static_cast<UINT>(FOptions.Bits()); // the responder sees the options too
        const TDialogAnswer answer = responder(request);
        if (answer.Result != mrOk || answer.FileName.empty()) return false;
        if (answer.FilterIndex > 0) FFilterIndex = answer.FilterIndex;
        FFileName = WithDefaultExt(answer.FileName, FFilterIndex);
        FFiles->Add(FFileName);
        return true;
    }
    if (Headless()) {
        std::fprintf(stderr, "file dialog \"%s\" cancelled: nobody can answer it\n",
                     UTF8Encode(FTitle).c_str());
        return false;
    }
    FileDialog dialog(QApplication::activeWindow(), ToQString(FTitle), ToQString(FInitialDir));
    dialog.setAcceptMode(Saving() ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (!Saving())
        dialog.setFileMode(FOptions.Contains(ofAllowMultiSelect) ? QFileDialog::ExistingFiles
                           : FOptions.Contains(ofFileMustExist)  ? QFileDialog::ExistingFile
                                                                 : QFileDialog::AnyFile);
    if (Saving() && !FOptions.Contains(ofOverwritePrompt))
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = NameFilters(FFilter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (FFilterIndex >= 1 && FFilterIndex <= filters.size())
            dialog.selectNameFilter(filters[FFilterIndex - 1]);
    }
    // The dialog adds the extension itself (and asks before replacing the file so named): the
    // chosen file type's, which follows the operator's choice of type.
    const auto suffixFor = [this, &dialog, filters](const QString& filter) {
        const qsizetype index = filters.indexOf(filter);
        dialog.setDefaultSuffix(
            ToQString(AppendedExt(index >= 0 ? static_cast<int>(index) + 1 : FFilterIndex)));
    };
    suffixFor(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, suffixFor);
    if (!FFileName.empty()) dialog.selectFile(ToQString(FFileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    for (const QString& f : dialog.selectedFiles()) FFiles->Add(FromQString(f));
    const qsizetype index = filters.indexOf(dialog.selectedNameFilter());
    if (index >= 0) FFilterIndex = static_cast<int>(index) + 1;
    FFileName = WithDefaultExt(FFiles->GetStrings(0), FFilterIndex);
    return true;
}

const ClassInfo& TSaveDialog::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TSaveDialog>("TSaveDialog", &TOpenDialog::StaticClass());
    return ci;
}

// ---------------------------------------------------------------------------
// Message dialogs

namespace {

constexpr TModalResult kButtonResults[] = {mrYes,    mrNo,  mrOk,      mrCancel,   mrAbort, mrRetry,
                                           mrIgnore, mrAll, mrNoToAll, mrYesToAll, mrNone};
constexpr const char16_t* kButtonCaptions[] = {u"&Yes",       u"&No",         u"OK",      u"Cancel",
                                               u"&Abort",     u"&Retry",      u"&Ignore", u"&All",
                                               u"N&o to All", u"Yes to &All", u"&Help"};

TModalResult DefaultResult(TMsgDlgButtons buttons) {
    for (TMsgDlgBtn b : {mbOK, mbYes})
        if (buttons.Contains(b)) return kButtonResults[b];
    for (int b = mbYes; b <= mbHelp; ++b)
        if (buttons.Contains(static_cast<TMsgDlgBtn>(b))) return kButtonResults[b];
    return mrOk;
}

TModalResult CancelResult(TMsgDlgButtons buttons) {
    for (TMsgDlgBtn b : {mbCancel, mbNo, mbOK})
        if (buttons.Contains(b)) return kButtonResults[b];
    return DefaultResult(buttons);
}

TModalResult ShowDialog(const String& caption, const String& msg, TMsgDlgType type, TMsgDlgButtons buttons,
                        const QPoint* at, int helpCtx = 0) {
    if (buttons.Empty()) buttons = TMsgDlgButtons{mbOK};
    if (const TDialogResponder& responder = GetDialogResponder()) {
        TDialogRequest request;
        request.Kind = TDialogKind::MessageDlg;
        request.Caption = caption;
        request.Text = msg;
        request.DlgType = type;
        request.Buttons = buttons.Bits();
        request.HelpCtx = helpCtx;
        if (at) {
            request.AtPosition = true;
            request.Position = TPoint(at->x(), at->y());
        }
        const TDialogAnswer answer = responder(request);
        return answer.Result != mrNone ? answer.Result : DefaultResult(buttons);
    }
    if (Headless()) {
        std::fprintf(stderr, "message \"%s\": %s\n", UTF8Encode(caption).c_str(), UTF8Encode(msg).c_str());
        return DefaultResult(buttons);
    }
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(ToQString(caption));
    box.setText(ToQString(msg));
    static constexpr QMessageBox::Icon icons[] = {QMessageBox::Warning, QMessageBox::Critical,
                                                  QMessageBox::Information, QMessageBox::Question,
                                                  QMessageBox::NoIcon};
    box.setIcon(icons[type]);
    std::vector<std::pair<QPushButton*, TModalResult>> map;
    const TModalResult def = DefaultResult(buttons);
    const TModalResult cancel = CancelResult(buttons);
    for (int b = mbYes; b <= mbHelp; ++b) {
        if (!buttons.Contains(static_cast<TMsgDlgBtn>(b)) || b == mbHelp) continue;
        QPushButton* pb = box.addButton(ToQString(kButtonCaptions[b]), QMessageBox::ActionRole);
        map.emplace_back(pb, kButtonResults[b]);
        if (kButtonResults[b] == def) box.setDefaultButton(pb);
        if (kButtonResults[b] == cancel) box.setEscapeButton(pb);
    }
    WidenToTitle(box);
    if (at) box.move(*at);
    box.exec();
    for (auto& [pb, result] : map)
        if (box.clickedButton() == pb) return result;
    return cancel;
}

String CaptionOf(TMsgDlgType type) {
    switch (type) {
    case mtWarning:
        return u"Warning";
    case mtError:
        return u"Error";
    case mtInformation:
        return u"Information";
    case mtConfirmation:
        return u"Confirm";
    default:
        return Application ? Application->GetTitle() : String();
    }
}

} // namespace

TModalResult MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
    return ShowDialog(CaptionOf(DlgType), Msg, DlgType, Buttons, nullptr, HelpCtx);
}

TModalResult MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X,
                           int Y) {
    const QPoint at(X, Y);
    return ShowDialog(CaptionOf(DlgType), Msg, DlgType, Buttons, X >= 0 && Y >= 0 ? &at : nullptr, HelpCtx);
}

void ShowMessage(const String& Msg) {
    ShowDialog(Application ? Application->GetTitle() : String(), Msg, mtCustom, {mbOK}, nullptr);
}

const ClassInfo& TPrinterSetupDialog::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TPrinterSetupDialog>("TPrinterSetupDialog", &TCommonDialog::StaticClass());
    return ci;
}

bool TPrinterSetupDialog::Execute() {
    if (OnShow) OnShow(this);
    struct Closing {
        TPrinterSetupDialog* d;
        ~Closing() {
            if (d->OnClose) d->OnClose(d);
        }
    } closing{this};
    TPrinter* printer = Printer();
    if (const TDialogResponder& responder = GetDialogResponder()) {
        TDialogRequest request;
        request.Kind = TDialogKind::PrinterSetupDialog;
        const int index = printer->GetPrinterIndex();
        if (index >= 0) request.Text = printer->GetPrinters()->GetStrings(index);
        return responder(request).Result == mrOk;
    }
    if (Headless()) {
        std::fprintf(stderr, "printer setup cancelled: nobody can answer it\n");
        return false;
    }
    return printer->ExecuteSetupDialog();
}

void RegisterDialogsClasses() {
    RegisterClasses({&TOpenDialog::StaticClass(), &TSaveDialog::StaticClass(), &TFontDialog::StaticClass(),
                     &TColorDialog::StaticClass(), &TPrinterSetupDialog::StaticClass()});
}

// ---------------------------------------------------------------------------
// TColorDialog

template <>
const EnumInfo& EnumInfoOf<TColorDialogOption>() {
    static const EnumInfo info{
        "TColorDialogOption",
        {"cdFullOpen", "cdPreventFullOpen", "cdShowHelp", "cdSolidColor", "cdAnyColor"}};
    return info;
}

const ClassInfo& TColorDialog::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TColorDialog>("TColorDialog", &TCommonDialog::StaticClass());
    return ci;
}

TColorDialog::TColorDialog(TComponent* AOwner)
    : TCommonDialog(AOwner), FCustomColors(MakeOwned<TStringList>()) {}

namespace {
constexpr int kCustomColorSlots = 16;

String CustomColorName(int Slot) {
    String name(u"ColorA");
    name.back() = static_cast<Char>(u'A' + Slot);
    return name;
}

// The slot's colour from the lines, white when the line is missing or unreadable.
COLORREF CustomColorOf(const TStrings* Lines, int Slot) {
    const String value = Trim(Lines->GetValues(CustomColorName(Slot)));
    if (value.empty()) return RGB(255, 255, 255);
    return static_cast<COLORREF>(StrToIntDef(u"$" + value, 0xFFFFFF)) & 0xFFFFFF;
}

String CustomColorLine(int Slot, COLORREF Color) {
    return CustomColorName(Slot) + u"=" + IntToHex(static_cast<int>(Color & 0xFFFFFF), 6);
}
} // namespace

bool TColorDialog::Execute() {
    if (const TDialogResponder& responder = GetDialogResponder()) {
        TDialogRequest request;
        request.Kind = TDialogKind::ColorDialog;
        request.Color = FColor;
        request.CustomColors = FCustomColors.get();
        const TDialogAnswer answer = responder(request);
        if (answer.Result != mrOk) return false;
        FColor = static_cast<TColor>(answer.Color);
        if (!answer.CustomColors.empty()) {
            FCustomColors->Clear();
            for (const String& line : answer.CustomColors) FCustomColors->Add(line);
        }
        return true;
    }
    if (Headless()) {
        std::fprintf(stderr, "colour dialog cancelled: nobody can answer it\n");
        return false;
    }
    // The system's custom colours are shared by every colour dialog: this one's go in first.
    for (int slot = 0; slot < kCustomColorSlots; ++slot)
        QColorDialog::setCustomColor(slot,
                                     ToQColor(static_cast<TColor>(CustomColorOf(FCustomColors.get(), slot))));
    QColorDialog dialog(ToQColor(FColor), QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) return false;
    const QColor chosen = dialog.selectedColor();
    FColor = MakeColor(static_cast<std::uint8_t>(chosen.red()), static_cast<std::uint8_t>(chosen.green()),
                       static_cast<std::uint8_t>(chosen.blue()));
    FCustomColors->Clear();
    for (int slot = 0; slot < kCustomColorSlots; ++slot) {
        const QColor c = QColorDialog::customColor(slot);
        FCustomColors->Add(CustomColorLine(slot, RGB(c.red(), c.green(), c.blue())));
    }
    return true;
}

// ---------------------------------------------------------------------------
// TFontDialog

template <>
const EnumInfo& EnumInfoOf<TFontDialogOption>() {
    static const EnumInfo info{"TFontDialogOption",
                               {"fdAnsiOnly", "fdTrueTypeOnly", "fdEffects", "fdFixedPitchOnly",
                                "fdForceFontExist", "fdNoFaceSel", "fdNoOEMFonts", "fdNoSimulations",
                                "fdNoSizeSel", "fdNoStyleSel", "fdNoVectorFonts", "fdShowHelp", "fdWysiwyg",
                                "fdLimitSize", "fdScalableOnly", "fdApplyButton"}};
    return info;
}

const ClassInfo& TFontDialog::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TFontDialog>("TFontDialog", &TCommonDialog::StaticClass());
    return ci;
}

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFont(new TFont) {}

namespace {

// The font under its face's own name for its weight and slant ("Book" for DejaVu's regular):
// the font dialog preselects a style by that name and, finding none, the first one it lists.
QFont WithFacesStyleName(QFont font) {
    const QString family = font.family();
    QString best;
    int distance = 0;
    for (const QString& style : QFontDatabase::styles(family)) {
        // Asked of the style alone, an oblique one does not count as slanted.
        const QFont face = QFontDatabase::font(family, style, 10);
        if (face.italic() != font.italic()) continue;
        const int d = std::abs(face.weight() - font.weight());
        if (best.isEmpty() || d < distance) {
            best = style;
            distance = d;
        }
    }
    if (!best.isEmpty()) font.setStyleName(best);
    return font;
}

} // namespace

bool TFontDialog::Execute() {
    if (const TDialogResponder& responder = GetDialogResponder()) {
        TDialogRequest request;
        request.Kind = TDialogKind::FontDialog;
        request.Font = FFont.get();
        request.Flags = static_cast<UINT>(FOptions.Bits()); // the responder sees the options too
        const TDialogAnswer answer = responder(request);
        if (answer.Result != mrOk) return false;
        if (!answer.FontName.empty()) FFont->SetName(answer.FontName);
        if (answer.FontSize > 0) FFont->SetSize(answer.FontSize);
        return true;
    }
    if (Headless()) {
        std::fprintf(stderr, "font dialog cancelled: nobody can answer it\n");
        return false;
    }
    // The options decide which faces the dialog lists: they come before the font, which the
    // dialog looks up in that list.
    QFontDialog dialog(QApplication::activeWindow());
    QFontDialog::FontDialogOptions options;
    if (FOptions.Contains(fdFixedPitchOnly)) options |= QFontDialog::MonospacedFonts;
    if (FOptions.Contains(fdScalableOnly)) options |= QFontDialog::ScalableFonts;
    dialog.setOptions(options);
    dialog.setCurrentFont(WithFacesStyleName(ToQFont(*FFont)));
    if (dialog.exec() != QDialog::Accepted) return false;
    const QFont chosen = dialog.selectedFont();
    // The face shown for a name this system lacks ("Fixedsys") keeps that name when kept.
    const String face = FromQString(chosen.family());
    if (face != SubstituteFontName(FFont->GetName())) FFont->SetName(face);
    if (chosen.pointSize() > 0) FFont->SetSize(chosen.pointSize());
    TFontStyles style;
    if (chosen.bold()) style += fsBold;
    if (chosen.italic()) style += fsItalic;
    if (FOptions.Contains(fdEffects)) {
        if (chosen.underline()) style += fsUnderline;
        if (chosen.strikeOut()) style += fsStrikeOut;
    }
    FFont->SetStyle(style);
    return true;
}

// ---------------------------------------------------------------------------
// The input query

bool InputQuery(const String& ACaption, const String& APrompt, String& Value) {
    if (const TDialogResponder& responder = GetDialogResponder()) {
        TDialogRequest request;
        request.Kind = TDialogKind::InputQuery;
        request.Caption = ACaption;
        request.Text = APrompt;
        request.Value = Value;
        const TDialogAnswer answer = responder(request);
        if (answer.Result != mrOk) return false;
        Value = answer.Value;
        return true;
    }
    if (Headless()) {
        std::fprintf(stderr, "input query cancelled: nobody can answer it\n");
        return false;
    }
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(ToQString(ACaption));
    dialog.setLabelText(ToQString(APrompt));
    dialog.setTextValue(ToQString(Value));
    // Its layout is as wide as its edit: it grows to the title. Qt builds the layout when the box
    // is first measured.
    dialog.minimumSizeHint();
    if (QLayout* layout = dialog.layout())
        layout->addItem(new QSpacerItem(TitleRoom(dialog), 0, QSizePolicy::Minimum, QSizePolicy::Fixed));
    if (dialog.exec() != QDialog::Accepted) return false;
    Value = FromQString(dialog.textValue());
    return true;
}

// ---------------------------------------------------------------------------
// TOpenPictureDialog

const ClassInfo& TOpenPictureDialog::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TOpenPictureDialog>("TOpenPictureDialog", &TOpenDialog::StaticClass());
    return ci;
}

TOpenPictureDialog::TOpenPictureDialog(TComponent* AOwner) : TOpenDialog(AOwner) {
    SetFilter(GraphicFilter(TGraphic::StaticClass()));
}
