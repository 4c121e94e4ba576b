#include "app/WindowWiring.h"

#include "admin/links/UnloadMainWindowLink.h"
#include "admin/windows/frmAdminPref.h"
#include "exam/KeptAnswers.h"
#include "exam/links/AddNoteLink.h"
#include "exam/links/ExamReviewLink.h"
#include "exam/links/PreviousNotesLink.h"
#include "exam/links/QuestionSheetLink.h"
#include "exam/links/ResultWindowLink.h"
#include "exam/links/ReturnToMainWindowLink.h"
#include "exam/windows/frmZiduver.h"
#include "foundation/links/MainWindowLink.h"
#include "foundation/windows/frmDBSel.h"
#include "mainwindow/links/AdminPreferencesLink.h"
#include "mainwindow/links/ExamWindowLink.h"
#include "mainwindow/links/HistoricalAnalysisLink.h"
#include "mainwindow/links/LoginAgainLink.h"
#include "mainwindow/links/LoginWindowLink.h"
#include "mainwindow/links/LosScoreCardLink.h"
#include "mainwindow/links/NotesBrowserLink.h"
#include "mainwindow/windows/WidgetMenuAttachment.h"
#include "mainwindow/windows/frmmain.h"
#include "notes/windows/frmPreviousNotes.h"
#include "notes/windows/frmViewNote.h"
#include "notes/windows/frmaddNote.h"
#include "results/windows/frmExamReview.h"
#include "results/windows/frmHistoricalAnalysis.h"
#include "results/windows/frmLOS.h"
#include "results/windows/frmSimulatedResult.h"
#include "results/windows/frmoffLineQuestions.h"

// One line per link: the window that serves it.
void wireWindows()
{
    // A login to an exam writes the answers kept for it when the program
    // last ended, and says so over the main window.
    MainWindowLink::wire([](const QString& examDescription) {
        frmmain::instance().showForExam(examDescription);
        keptanswers::replayAtLogin(&frmmain::instance());
    });
    ReturnToMainWindowLink::wire([] { frmmain::instance().showAgain(); });
    ExamWindowLink::wire(&frmZiduver::launch);
    AddNoteLink::wire(&frmaddNote::open);
    PreviousNotesLink::wire(&frmPreviousNotes::open);
    NotesBrowserLink::wire(&frmViewNote::showBrowser);
    ResultWindowLink::wire(&frmSimulatedResult::showResult);
    ExamReviewLink::wire(&frmExamReview::showReview);
    QuestionSheetLink::wire(&frmoffLineQuestions::showSheet);
    AdminPreferencesLink::wire(&frmAdminPref::showModal);
    HistoricalAnalysisLink::wire(&frmHistoricalAnalysis::showModal);
    LosScoreCardLink::wire(&frmLOS::showModal);
    UnloadMainWindowLink::wire(&frmmain::unload);
    frmmain::setMenuAttacher(&attachDrawnMenu);
    LoginWindowLink::wire(
        [](const QString& login, const QString& password) { frmDBSel::instance().showForChangeExam(login, password); });
    LoginAgainLink::wire([] { frmDBSel::instance().showAsAtStart(); });
}
