#pragma once
// The printers of the machine and the print job on one of them: the system's
// print queues plus a "PDF file" printer, which is there on every machine and
// is the default when there is no other.

#include "platform/core/lists.h"
#include "platform/core/sysutils.h"
#include "platform/gui/graphics.h"

#include <cstdint>
#include <memory>

class EPrinter : public Exception {
public:
    using Exception::Exception;
};

enum TPrinterOrientation : std::uint8_t { poPortrait, poLandscape };

// The name under which the PDF writer appears among the printers.
extern const String PdfPrinterName;

class TPrinter : public TObject {
public:
    // SystemPrinters: list the system's print queues; PdfPrinter: list the PDF writer. A printer
    // made with neither has no printers at all (a machine without any).
    explicit TPrinter(bool SystemPrinters = true, bool PdfPrinter = true);
    ~TPrinter() override;

    TStrings* GetPrinters() const { return FPrinters.get(); }
    int GetPrinterIndex() const { return FPrinterIndex; }
    // -1 selects the default printer; another index outside the list raises.
    void SetPrinterIndex(int Value);
    // Where the PDF writer puts the document; empty: each job asks for a file in a save dialog.
    String GetFileName() const { return FFileName; }
    void SetFileName(const String& Value) { FFileName = Value; }

    TPrinterOrientation GetOrientation() const;
    void SetOrientation(TPrinterOrientation Value);
    // The page in device pixels; raises when there is no printer.
    int GetPageWidth() const;
    int GetPageHeight() const;
    int GetPageNumber() const { return FPageNumber; }
    bool GetPrinting() const { return FJob != nullptr; }
    bool GetAborted() const { return FAborted; }
    // The device context of the printer: the job's while printing, else one that answers
    // questions (GetDeviceCaps) and draws nothing. Raises when there is no printer.
    HDC GetHandle();
    // Draws on the page while a job runs; using it outside a job raises.
    TCanvas* GetCanvas() const { return FCanvas.get(); }

    String Title;

    // Starts a job. The PDF writer without a FileName asks for the file first (EAbort, the silent
    // exception, when the operator cancels); a folder that cannot take it raises EPrinter naming
    // the file and the reason.
    void BeginDoc();
    void NewPage();
    // Finishes the document: the PDF writer replaces its file only now, and only with a whole
    // document, so a job that fails or is aborted leaves an earlier file as it was. A document
    // that cannot be written raises EPrinter naming the file and the reason.
    void EndDoc();
    void Abort();
    // Platform side of the printer setup dialog: Qt's print dialog on this printer. After OK
    // PrinterIndex names the printer chosen (Qt's printing to a PDF file is the PDF writer),
    // with the paper and orientation chosen there.
    bool ExecuteSetupDialog();
    // The same dialog asking also for a page range within MinPage..MaxPage, starting at
    // FromPage..ToPage (the range offered only with PageNums); after OK they hold the pages
    // chosen, all of them when the user chose no range.
    bool ExecutePrintDialog(int& FromPage, int& ToPage, int MinPage, int MaxPage, bool PageNums);

    struct Impl;

private:
    void CheckPrinter() const;
    void CheckNotPrinting() const;
    void ReleaseJob();
    std::unique_ptr<Impl> FImpl;
    std::unique_ptr<TStringList> FPrinters;
    Owned<TCanvas> FCanvas;
    int FPrinterIndex = -1;
    int FSystemCount = 0;
    bool FHasPdf = true;
    String FFileName;
    HDC FJob = nullptr;
    HDC FInfo = nullptr;
    int FPageNumber = 0;
    bool FAborted = false;
};

// The program's printer, made on first use.
TPrinter* Printer();
// Puts another printer in its place (tests); the previous one is given back.
std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> NewPrinter);
