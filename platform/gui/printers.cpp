#include "platform/gui/printers.h"

#include "platform/core/streams.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/qtbridge.h"
#include "platform/win32/gdiqt.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPaintDevice>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

const String PdfPrinterName = u"PDF file";

namespace {

constexpr int PdfResolution = 300;

// Answers the page's metrics of a printer and paints nothing: the printer's device context
// outside a job, so that a question never starts a document.
class PageMetrics : public QPaintDevice {
public:
    explicit PageMetrics(const QPrinter* Printer) : FPrinter(Printer) {}
    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth:
            return FPrinter->width();
        case PdmHeight:
            return FPrinter->height();
        case PdmWidthMM:
            return FPrinter->widthMM();
        case PdmHeightMM:
            return FPrinter->heightMM();
        case PdmDpiX:
        case PdmPhysicalDpiX:
            return FPrinter->logicalDpiX();
        case PdmDpiY:
        case PdmPhysicalDpiY:
            return FPrinter->logicalDpiY();
        case PdmDepth:
            return 24;
        case PdmNumColors:
            return 1 << 24;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    const QPrinter* FPrinter;
};

// The printer's canvas: the page while a job runs, nothing to draw on outside one.
class TPrinterCanvas : public TCanvas {
protected:
    void CreateHandle() override { throw EPrinter(u"Printer is not currently printing"); }
};

[[noreturn]] void CannotCreate(const String& FileName, int Error) {
    throw EPrinter(Format(u"Cannot create file \"%s\". %s",
                          {FileName, UTF8ToString(std::generic_category().message(Error))}));
}

// A folder that cannot take the document fails the job before anything is drawn.
void CheckPdfTarget(const String& FileName) {
    const AnsiString path = UTF8Encode(FileName);
    const std::size_t slash = path.rfind('/');
    const AnsiString folder =
        slash == AnsiString::npos ? AnsiString(".") : path.substr(0, std::max<std::size_t>(slash, 1));
    struct stat st {};
    if (::access(folder.c_str(), W_OK | X_OK) != 0) CannotCreate(FileName, errno);
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) CannotCreate(FileName, EISDIR);
}

// As a desktop's PDF printer does: the operator names the file, starting from the documents folder
// (made when missing) and the job's title. Cancelling cancels the job, quietly.
String AskPdfFileName(const String& Title) {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty() || !QDir().mkpath(dir)) dir = QDir::homePath();
    String name = Title.empty() ? String(u"chart") : Title;
    std::replace(name.begin(), name.end(), u'/', u'_'); // a title is no path
    const Owned<TSaveDialog> dialog(Create<TSaveDialog>(nullptr));
    dialog->SetTitle(u"Print to PDF file");
    dialog->SetInitialDir(FromQString(dir));
    dialog->SetFileName(name + u".pdf");
    dialog->SetFilter(u"PDF files (*.pdf)|*.pdf");
    dialog->SetDefaultExt(u"pdf");
    dialog->SetOptions({ofOverwritePrompt, ofHideReadOnly, ofPathMustExist, ofEnableSizing});
    // Nothing is busy while the operator chooses: a print under way shows the hourglass until now.
    struct Pointer {
        TCursor busy = Screen ? Screen->GetCursor() : crDefault;
        Pointer() {
            if (Screen) Screen->SetCursor(crDefault);
        }
        ~Pointer() {
            if (Screen) Screen->SetCursor(busy);
        }
    };
    bool chosen = false;
    {
        const Pointer pointer;
        chosen = dialog->Execute();
    }
    if (!chosen) Abort();
    return dialog->GetFileName();
}

} // namespace

struct TPrinter::Impl {
    QPrinter Printer{QPrinter::HighResolution};
    PageMetrics Metrics{&Printer};
    // The PDF writer's job: the document is made in memory and replaces its file only when whole.
    String Target;
    QBuffer Document;
    std::unique_ptr<QPdfWriter> Writer;
};

namespace {
std::unique_ptr<TPrinter::Impl> NewPrinterImpl() {
    gui_detail::EnsureQtApplication(); // Qt's printer needs the application object
    return std::make_unique<TPrinter::Impl>();
}
} // namespace

TPrinter::TPrinter(bool SystemPrinters, bool PdfPrinter)
    : FImpl(NewPrinterImpl()), FPrinters(std::make_unique<TStringList>()),
      FCanvas(MakeOwned<TPrinterCanvas>()), FHasPdf(PdfPrinter) {
    if (SystemPrinters)
        for (const QString& name : QPrinterInfo::availablePrinterNames()) FPrinters->Add(FromQString(name));
    FSystemCount = FPrinters->GetCount();
    if (PdfPrinter) FPrinters->Add(PdfPrinterName);
    SetPrinterIndex(-1);
}

TPrinter::~TPrinter() {
    if (FJob) Abort();
    if (FInfo) DeleteDC(FInfo);
}

void TPrinter::CheckPrinter() const {
    if (FPrinterIndex < 0) throw EPrinter(u"There is no default printer currently selected");
}

void TPrinter::CheckNotPrinting() const {
    if (FJob) throw EPrinter(u"Cannot perform this operation while printing");
}

void TPrinter::SetPrinterIndex(int Value) {
    CheckNotPrinting();
    if (Value == -1) {
        // The system's default queue, else the PDF writer.
        const QString def = QPrinterInfo::defaultPrinterName();
        Value = def.isEmpty() ? -1 : FPrinters->IndexOf(FromQString(def));
        if (Value < 0 || Value >= FSystemCount) Value = FHasPdf ? FSystemCount : (FSystemCount > 0 ? 0 : -1);
    } else if (Value < 0 || Value >= FPrinters->GetCount()) {
        throw EPrinter(u"Printer selected is not valid");
    }
    FPrinterIndex = Value;
    if (FPrinterIndex < 0) return;
    QPrinter& p = FImpl->Printer;
    const QPageLayout::Orientation keep = p.pageLayout().orientation();
    if (FPrinterIndex == FSystemCount) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setResolution(PdfResolution);
        p.setPageSize(QPageSize(QPageSize::A4));
    } else {
        p.setOutputFormat(QPrinter::NativeFormat);
        p.setPrinterName(ToQString(FPrinters->GetStrings(FPrinterIndex)));
    }
    // The whole sheet is the page: the panel's print margins are the only margins.
    p.setFullPage(true);
    p.setPageMargins(QMarginsF(0, 0, 0, 0));
    p.setPageOrientation(keep);
}

TPrinterOrientation TPrinter::GetOrientation() const {
    return FImpl->Printer.pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
}

void TPrinter::SetOrientation(TPrinterOrientation Value) {
    CheckNotPrinting();
    FImpl->Printer.setPageOrientation(Value == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

int TPrinter::GetPageWidth() const {
    CheckPrinter();
    return FImpl->Printer.width();
}

int TPrinter::GetPageHeight() const {
    CheckPrinter();
    return FImpl->Printer.height();
}

HDC TPrinter::GetHandle() {
    if (FJob) return FJob;
    CheckPrinter();
    if (!FInfo) FInfo = CreateDeviceDC(&FImpl->Metrics, FImpl->Printer.logicalDpiX());
    return FInfo;
}

void TPrinter::BeginDoc() {
    CheckPrinter();
    CheckNotPrinting();
    QPrinter& p = FImpl->Printer;
    p.setDocName(ToQString(Title));
    QPaintDevice* device = &p;
    if (FPrinterIndex == FSystemCount) {
        const String target = FFileName.empty() ? AskPdfFileName(Title) : FFileName;
        CheckPdfTarget(target);
        FImpl->Target = target;
        FImpl->Document.setData(QByteArray());
        FImpl->Document.open(QIODevice::WriteOnly);
        FImpl->Writer = std::make_unique<QPdfWriter>(&FImpl->Document);
        FImpl->Writer->setResolution(PdfResolution);
        FImpl->Writer->setPageLayout(p.pageLayout());
        FImpl->Writer->setTitle(ToQString(Title));
        device = FImpl->Writer.get();
    } else {
        p.setOutputFileName(QString());
    }
    FAborted = false;
    FPageNumber = 1;
    FJob = CreateDeviceDC(device, device->logicalDpiX());
    if (!FJob->StartPainting()) {
        ReleaseJob();
        throw EPrinter(u"Printing failed to start");
    }
    FCanvas->SetHandle(FJob);
}

void TPrinter::NewPage() {
    if (!FJob) throw EPrinter(u"Printer is not currently printing");
    FJob->StartPainting();
    if (FImpl->Writer)
        FImpl->Writer->newPage();
    else
        FImpl->Printer.newPage();
    ++FPageNumber;
}

void TPrinter::ReleaseJob() {
    FCanvas->SetHandle(nullptr);
    HDC job = std::exchange(FJob, nullptr);
    DeleteDC(job);
    FImpl->Writer.reset();
    FImpl->Document.close();
}

void TPrinter::EndDoc() {
    if (!FJob) throw EPrinter(u"Printer is not currently printing");
    const bool finished = FJob->EndPainting();
    const bool pdf = FImpl->Writer != nullptr;
    ReleaseJob();
    const QByteArray document = std::exchange(FImpl->Document.buffer(), QByteArray());
    if (!pdf) {
        if (!finished) throw EPrinter(u"Printing failed");
        return;
    }
    if (!finished || document.isEmpty())
        throw EPrinter(
            Format(u"Cannot write file \"%s\". The PDF document was not finished", {FImpl->Target}));
    try {
        ReplaceFileContents(FImpl->Target, document.constData(), static_cast<std::size_t>(document.size()));
    } catch (const EStreamError& e) {
        throw EPrinter(e.Message()); // it names the file and the reason
    }
}

void TPrinter::Abort() {
    if (!FJob) throw EPrinter(u"Printer is not currently printing");
    if (!FImpl->Writer) FImpl->Printer.abort();
    ReleaseJob();
    FImpl->Document.setData(QByteArray());
    FAborted = true;
}

bool TPrinter::ExecuteSetupDialog() {
    CheckNotPrinting();
    QPrinter& p = FImpl->Printer;
    QPrintDialog dialog(&p, QApplication::activeWindow());
    dialog.setOption(QAbstractPrintDialog::PrintToFile, FHasPdf);
    if (dialog.exec() != QDialog::Accepted) return false;
    const QPageLayout chosen = p.pageLayout();
    const QString file = p.outputFileName();
    int index = p.outputFormat() == QPrinter::PdfFormat ? (FHasPdf ? FSystemCount : -1)
                                                        : FPrinters->IndexOf(FromQString(p.printerName()));
    if (index >= 0 && index != FPrinterIndex) SetPrinterIndex(index);
    p.setPageSize(chosen.pageSize());
    p.setPageOrientation(chosen.orientation());
    if (FPrinterIndex == FSystemCount && !file.isEmpty()) FFileName = FromQString(file);
    return true;
}

bool TPrinter::ExecutePrintDialog(int& FromPage, int& ToPage, int MinPage, int MaxPage, bool PageNums) {
    CheckNotPrinting();
    QPrinter& p = FImpl->Printer;
    QPrintDialog dialog(&p, QApplication::activeWindow());
    dialog.setOption(QAbstractPrintDialog::PrintToFile, FHasPdf);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, PageNums);
    dialog.setMinMax(MinPage, MaxPage);
    if (PageNums) {
        p.setFromTo(FromPage, ToPage);
        dialog.setPrintRange(QAbstractPrintDialog::PageRange);
    }
    if (dialog.exec() != QDialog::Accepted) return false;
    if (dialog.printRange() == QAbstractPrintDialog::PageRange) {
        FromPage = dialog.fromPage();
        ToPage = dialog.toPage();
    } else {
        FromPage = MinPage;
        ToPage = MaxPage;
    }
    const QString file = p.outputFileName();
    const int index = p.outputFormat() == QPrinter::PdfFormat
                          ? (FHasPdf ? FSystemCount : -1)
                          : FPrinters->IndexOf(FromQString(p.printerName()));
    if (index >= 0 && index != FPrinterIndex) SetPrinterIndex(index);
    if (FPrinterIndex == FSystemCount && !file.isEmpty()) FFileName = FromQString(file);
    return true;
}

namespace {
std::unique_ptr<TPrinter>& ThePrinter() {
    static std::unique_ptr<TPrinter> printer;
    return printer;
}
} // namespace

TPrinter* Printer() {
    auto& p = ThePrinter();
    if (!p) p = std::make_unique<TPrinter>();
    return p.get();
}

std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> NewPrinter) {
    return std::exchange(ThePrinter(), std::move(NewPrinter));
}
