#pragma once

#include "exam/QuestionList.h"
#include "foundation/ExamParameters.h"

#include <QDialog>
#include <QString>

class BrowserView;
class ExamSession;
class QCheckBox;
class QFrame;
class QPushButton;

// The printable question sheet: every question of the running exam as one
// page, PrintQuestions.html in the program folder, shown and printed. The
// page is built when the window opens and on Generate, with the two boxes
// as they stand then.
class frmoffLineQuestions : public QDialog {
    Q_OBJECT
public:
    // Takes what it needs of the running exam: its launch record and its
    // per-question list (codes and choice orders).
    explicit frmoffLineQuestions(const ExamSession& session, QWidget* owner = nullptr);

    // Shows the sheet of the running exam modally over owner; returns once
    // it has closed.
    static void showSheet(const ExamSession& session, QWidget* owner);

    BrowserView* www1;
    QFrame* Picture1; // the strip of boxes and buttons below the page
    QCheckBox* chkShowAnswer;
    QCheckBox* chkShowExplanation;
    QPushButton* cmdGenerate;
    QPushButton* Command1; // Print
    QPushButton* Command2; // Exit

    // The page last built, as written to the file; "" before the first.
    QString pageHtml() const { return m_page; }
    // True while the page prints: the window neither rewrites nor closes it.
    bool printing() const;

    void cmdGenerate_Click();
    void Command1_Click();
    void Command2_Click();
    // Builds, writes and shows the page with the boxes as they stand.
    void CreateQuestReport();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void onPrintingFinished(BrowserView* view, bool ok);
    void setCommandsEnabled(bool enabled);
    // True when the window must wait for its printout before it closes.
    bool deferCloseWhilePrinting();

    ExamParameters m_launch;
    QuestionList m_list;
    QString m_page;
    bool m_opened = false;
    bool m_closeWhenPrinted = false;
};
