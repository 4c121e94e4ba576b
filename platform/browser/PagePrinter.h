#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class BrowserView;
class QPrinter;
class QWidget;

// Where the program's printer comes from: the print dialog and the
// system's printers in the program, a PDF file in tests.
class PrinterSource {
public:
    virtual ~PrinterSource() = default;
    // Lets the user choose a printer and its settings on `printer`, which
    // holds the choice made before. False when cancelled.
    virtual bool choose(QPrinter& printer, QWidget* owner) = 0;
    // True when the system has a default printer to print on unasked.
    virtual bool hasDefaultPrinter() const = 0;
};

// The program's printer and the printing of browser pages, for every window
// that prints. The printer chosen in the dialog stays the program's printer
// for the rest of the run and is offered the next time.
//
// Printing is asynchronous: each print gets its own copy of the program's
// printer, which lives until the page has printed, and printingFinished()
// follows. A printer that writes a PDF file gets the engine's own PDF of the
// page (its text searchable) in the printer's page layout and page range; a
// paper printer gets the pages painted. A view prints one page at a time;
// while it prints, its window must not write another page into it nor
// delete it (isPrinting()): the engine ends the program when a page goes
// while it prints, so a window that prints defers its closing until the
// printout is done. A failed print is reported through the caller's report
// (the windows pass one that shows the program's message box).
//
//   PagePrinter::program().ShowPrinter(*www1, this, [this](const QString& text) {
//       ShowMessage(text, gLogin.gAppName, OneButton, this);
//   });
class PagePrinter : public QObject {
    Q_OBJECT
public:
    using FailureReport = std::function<void(const QString& text)>;
    enum class Started {
        Printing,  // the page is printing; printingFinished() follows
        Cancelled, // the dialog was cancelled: nothing printed
        Busy,      // the view is still printing a page: nothing more printed
    };

    ~PagePrinter() override;

    // The program's one printer helper.
    static PagePrinter& program();
    // The source in force; null restores the print dialog and the system's
    // printers. Not owned: it must outlive its use.
    static void setSource(PrinterSource* source);

    // Shows the print dialog over owner, then prints the view's page on the
    // printer chosen (once the page has loaded).
    Started ShowPrinter(BrowserView& view, QWidget* owner, FailureReport report = {});
    // Prints the view's page on the program's printer without asking.
    Started printNow(BrowserView& view, FailureReport report = {});
    // True when the system has a default printer (printNow needs no dialog).
    bool hasDefaultPrinter() const;

    bool isPrinting(const BrowserView& view) const;
    // The program's printer: the settings the next print starts from.
    QPrinter& printer();

    // The text a failed print reports.
    static QString failureText();

signals:
    void printingFinished(BrowserView* view, bool ok);

private:
    struct Job {
        QPointer<BrowserView> view;
        const BrowserView* key = nullptr; // the view, also after it has gone
        std::unique_ptr<QPrinter> printer;
        FailureReport report;
        QMetaObject::Connection finished;
        QMetaObject::Connection destroyed;
    };

    PagePrinter();
    PrinterSource& source() const;
    void finish(const BrowserView* key, bool ok);
    void viewDestroyed(const BrowserView* key);
    void releasePrinters();

    std::unique_ptr<QPrinter> m_printer;
    std::vector<std::unique_ptr<Job>> m_jobs;
    // Printers of views deleted against the rule above: the engine may still
    // draw on them, so they stay until the program ends.
    std::vector<std::unique_ptr<QPrinter>> m_orphaned;
};
