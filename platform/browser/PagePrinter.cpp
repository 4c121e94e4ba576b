#include "platform/browser/PagePrinter.h"

#include "platform/browser/BrowserPage.h"
#include "platform/browser/BrowserView.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageRanges>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

namespace {

class DialogPrinterSource : public PrinterSource {
public:
    bool choose(QPrinter& printer, QWidget* owner) override
    {
        QPrintDialog dialog(&printer, owner);
        return dialog.exec() == QDialog::Accepted;
    }
    bool hasDefaultPrinter() const override { return !QPrinterInfo::defaultPrinter().isNull(); }
};

PrinterSource*& sourceOverride()
{
    static PrinterSource* source = nullptr;
    return source;
}

// The job's own printer with the settings chosen on the program's.
std::unique_ptr<QPrinter> copyOf(const QPrinter& from)
{
    auto to = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (from.outputFormat() == QPrinter::PdfFormat)
        to->setOutputFormat(QPrinter::PdfFormat);
    else
        to->setPrinterName(from.printerName());
    to->setOutputFileName(from.outputFileName());
    to->setResolution(from.resolution());
    to->setPageLayout(from.pageLayout());
    to->setCopyCount(from.copyCount());
    to->setCollateCopies(from.collateCopies());
    to->setDuplex(from.duplex());
    to->setColorMode(from.colorMode());
    to->setPageOrder(from.pageOrder());
    to->setPrintRange(from.printRange());
    to->setPageRanges(from.pageRanges());
    to->setDocName(from.docName());
    to->setFullPage(from.fullPage());
    return to;
}

// A printer that writes a PDF file gets the engine's own PDF, with its text,
// rather than the pictures of the pages that printing paints.
bool writesPdfFile(const QPrinter& printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
}

} // namespace

PagePrinter::PagePrinter() = default;

PagePrinter::~PagePrinter()
{
    releasePrinters();
}

PagePrinter& PagePrinter::program()
{
    static PagePrinter printer;
    static const bool cleared = [] {
        // Printers go before the application object, which they need.
        qAddPostRoutine([] { program().releasePrinters(); });
        return true;
    }();
    Q_UNUSED(cleared);
    return printer;
}

void PagePrinter::releasePrinters()
{
    for (const std::unique_ptr<Job>& job : m_jobs) {
        disconnect(job->finished);
        disconnect(job->destroyed);
    }
    m_jobs.clear();
    m_orphaned.clear();
    m_printer.reset();
}

void PagePrinter::setSource(PrinterSource* source)
{
    sourceOverride() = source;
}

PrinterSource& PagePrinter::source() const
{
    static DialogPrinterSource dialog;
    return sourceOverride() ? *sourceOverride() : dialog;
}

QString PagePrinter::failureText()
{
    return QStringLiteral("The page could not be printed.");
}

QPrinter& PagePrinter::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

bool PagePrinter::hasDefaultPrinter() const
{
    return source().hasDefaultPrinter();
}

bool PagePrinter::isPrinting(const BrowserView& view) const
{
    return std::any_of(m_jobs.begin(), m_jobs.end(), [&view](const auto& job) { return job->key == &view; });
}

PagePrinter::Started PagePrinter::ShowPrinter(BrowserView& view, QWidget* owner, FailureReport report)
{
    if (isPrinting(view))
        return Started::Busy;
    if (!source().choose(printer(), owner))
        return Started::Cancelled;
    return printNow(view, std::move(report));
}

PagePrinter::Started PagePrinter::printNow(BrowserView& view, FailureReport report)
{
    if (isPrinting(view))
        return Started::Busy;
    auto job = std::make_unique<Job>();
    job->view = &view;
    job->key = &view;
    job->printer = copyOf(printer());
    job->report = std::move(report);
    const BrowserView* key = &view;
    const bool pdf = writesPdfFile(*job->printer);
    if (pdf)
        job->finished = connect(&view, &BrowserView::pdfPrintingFinished, this,
                                [this, key](const QString&, bool ok) { finish(key, ok); });
    else
        job->finished = connect(&view, &BrowserView::printFinished, this, [this, key](bool ok) { finish(key, ok); });
    job->destroyed = connect(&view, &QObject::destroyed, this, [this, key] { viewDestroyed(key); });
    QPrinter* target = job->printer.get();
    m_jobs.push_back(std::move(job));
    // The engine prints what the page holds when asked: let it load first.
    view.waitForLoad();
    if (!isPrinting(view)) // gone meanwhile: the wait runs events
        return Started::Printing;
    if (pdf) {
        const QPageRanges ranges = target->printRange() == QPrinter::PageRange ? target->pageRanges() : QPageRanges();
        view.page()->printToPdf(target->outputFileName(), target->pageLayout(), ranges);
    } else {
        view.print(target);
    }
    return Started::Printing;
}

void PagePrinter::finish(const BrowserView* key, bool ok)
{
    const auto found = std::find_if(m_jobs.begin(), m_jobs.end(), [key](const auto& job) { return job->key == key; });
    if (found == m_jobs.end())
        return;
    std::unique_ptr<Job> job = std::move(*found);
    m_jobs.erase(found);
    disconnect(job->finished);
    disconnect(job->destroyed);
    if (!ok && job->report)
        job->report(failureText());
    emit printingFinished(job->view.data(), ok);
}

void PagePrinter::viewDestroyed(const BrowserView* key)
{
    const auto found = std::find_if(m_jobs.begin(), m_jobs.end(), [key](const auto& job) { return job->key == key; });
    if (found == m_jobs.end())
        return;
    m_orphaned.push_back(std::move((*found)->printer));
    disconnect((*found)->finished);
    m_jobs.erase(found);
}
