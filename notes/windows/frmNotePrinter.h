#pragma once

#include "notes/NotesReport.h"

#include <QDialog>

class BrowserView;
class QPushButton;

// Prints the notes the browser lists, with their questions, answers and,
// when asked, explanations. The page is built each time the window opens;
// Print prints it on the default printer when there is one, else through
// the print dialog.
class frmNotePrinter : public QDialog {
    Q_OBJECT
public:
    explicit frmNotePrinter(const notesreport::NotesReportRequest& request, QWidget* owner = nullptr);

    // Shows the printer for the request modally over owner; returns once it
    // has closed.
    static void showPrinter(const notesreport::NotesReportRequest& request, QWidget* owner);

    BrowserView* www1;
    QPushButton* Command1; // "&Print"
    QPushButton* Command2; // "&Close"

    // The page last built; "" when there is none.
    QString pageHtml() const { return m_page; }
    // True after a run found no note to print.
    bool noQuestions() const { return m_noQuestions; }
    // True once the window has built (or failed to build) its page.
    bool reportDone() const { return m_reportDone; }
    bool printing() const;

    // Builds the page and writes it into www1.
    void CreateQuestReport();
    void Command1_Click();
    void Command2_Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void Form_Load();
    void onPrintingFinished(BrowserView* view, bool ok);
    // True when the window must wait for its printout before it closes.
    bool deferCloseWhilePrinting();

    notesreport::NotesReportRequest m_request;
    QString m_page;
    bool m_noQuestions = false;
    bool m_reportDone = false;
    bool m_opened = false;
    bool m_closeWhenPrinted = false;
};
