#pragma once
// The print dialog: which printer, and which pages of a document of several.

#include "platform/gui/dialogs.h"

enum TPrintDialogOption : std::uint8_t {
    poPrintToFile,
    poPageNums,
    poSelection,
    poWarning,
    poHelp,
    poDisablePrintToFile
};
using TPrintDialogOptions = Set<TPrintDialogOption>;
enum TPrintRange : std::uint8_t { prAllPages, prSelection, prPageNums };

class TPrintDialog : public TCommonDialog {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TPrintDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

    // True when the user chose to print; FromPage..ToPage then hold the pages and PrintRange
    // says whether a range was chosen.
    bool Execute() override;

    TPrintDialogOptions Options;
    TPrintRange PrintRange = prAllPages;
    int FromPage = 0;
    int ToPage = 0;
    int MinPage = 0;
    int MaxPage = 0;
};
