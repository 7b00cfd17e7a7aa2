#include "platform/gui/printdialog.h"

#include "platform/gui/printers.h"
#include "platform/gui/qtbridge.h"

#include <algorithm>
#include <cstdio>

const ClassInfo& TPrintDialog::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TPrintDialog>("TPrintDialog", &TCommonDialog::StaticClass());
    return ci;
}

bool TPrintDialog::Execute() {
    if (OnShow) OnShow(this);
    struct Closing {
        TPrintDialog* d;
        ~Closing() {
            if (d->OnClose) d->OnClose(d);
        }
    } closing{this};
    const bool pageNums = Options.Contains(poPageNums);
    int from = FromPage, to = ToPage;
    bool ok = false;
    if (const TDialogResponder& responder = GetDialogResponder()) {
        TDialogRequest request;
        request.Kind = TDialogKind::PrintDialog;
        request.Flags = static_cast<UINT>(Options.Bits());
        request.FromPage = FromPage;
        request.ToPage = ToPage;
        request.MinPage = MinPage;
        request.MaxPage = MaxPage;
        const TDialogAnswer answer = responder(request);
        ok = answer.Result == mrOk;
        if (answer.FromPage > 0) from = answer.FromPage;
        if (answer.ToPage > 0) to = answer.ToPage;
    } else if (gui_detail::Headless()) {
        std::fprintf(stderr, "print dialog cancelled: nobody can answer it\n");
        return false;
    } else {
        ok = Printer()->ExecutePrintDialog(from, to, MinPage, MaxPage, pageNums && PrintRange == prPageNums);
    }
    if (!ok) return false;
    // Pages outside the document are none of its pages.
    FromPage = std::clamp(from, MinPage, std::max(MinPage, MaxPage));
    ToPage = std::clamp(to, FromPage, std::max(FromPage, MaxPage));
    return true;
}
