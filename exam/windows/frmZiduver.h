#pragma once

#include "exam/ExamEnd.h"
#include "exam/ExamRun.h"
#include "exam/ExamSession.h"
#include "exam/MarkedList.h"
#include "exam/windows/WidgetActionButton.h"
#include "foundation/ExamBank.h"

#include <QPointer>
#include <QWidget>
#include <array>
#include <exception>
#include <memory>
#include <utility>
#include <vector>

class QAction;
class QCheckBox;
class QDialog;
class frmLoading;
class QFrame;
class QKeyEvent;
class QLabel;
class QMenuBar;
class QPushButton;
class QScrollArea;
class QTabBar;
class QTableWidget;
struct NavigationMove;
class BrowserView;
class TickSource;
class WidgetExamHelp;
class QWindow;
template <typename Window> class DefaultInstance;

// The exam window: runs one exam from the exam launch record, from the
// question set to the end. It covers the screen while it runs.
class frmZiduver : public QWidget {
    Q_OBJECT
public:
    // The running exam window, or null when no exam runs. Readers (the
    // review list, the result and note windows) use this; it never creates
    // a window.
    static frmZiduver* running();
    // Creates the window from a launch record and shows it.
    static void launch(const ExamParameters& record);
    // Ends the exam window from another window. Called while a modal window
    // of the exam is open, the window unloads once that modal call returns,
    // never under its own running handler.
    void unload();
    // Runs a modal window over the exam (every window the exam opens goes
    // through it); an unload asked for meanwhile happens when it returns.
    int runModal(QDialog& dialog);

    ExamSession session;
    // Where the exam is: every command asks it before it starts.
    ExamRun run;
    // Review mode (answers are no longer checked; right answers may be
    // shown), as the run holds it.
    bool gReviewMode() const { return run.reviewing(); }
    // The exam's clock: one tick a second while enabled (Timer1_Timer).
    TickSource* Timer1 = nullptr;

    // Top band.
    QFrame* frimTop;
    // Print, View Note, Add Note, Review, End Exam, Help: each runs its action.
    std::array<WidgetActionButton*, 6> tbar;
    QFrame* picGauge;
    QLabel* lblReview;
    QFrame* Frame1;
    QLabel* lblQno;
    QLabel* Label2; // hidden: the code of the question on screen
    // Question/Scenario tabs, shown for scenario questions.
    QTabBar* TabScenario;
    // Question area.
    QScrollArea* ViewAnswer;
    QWidget* Picture3;
    BrowserView* www1;
    BrowserView* ScenarioBroser; // made on first use
    // Bottom band.
    QFrame* fraFooter;
    // Each runs its action; Review and End Exam run the toolbar's.
    WidgetActionButton* cmdPrev;
    WidgetActionButton* cmdNext;
    WidgetActionButton* cmdShowAnswer;
    WidgetActionButton* cmdReset;
    WidgetActionButton* cmdExplanation;
    WidgetActionButton* cmdInstruction;
    WidgetActionButton* cmdExamReview;
    WidgetActionButton* cmdEndExam;
    WidgetActionButton* cmdMarked;
    QCheckBox* Check1;
    QCheckBox* chkShowresult;
    QCheckBox* chkBreak;
    QFrame* Picture1;
    QLabel* lblExamTimer;
    QLabel* lblBalTime;
    // Panels laid over the regions by their own features.
    QFrame* fraAltert; // the practice alert
    QLabel* SkinLabel2;
    QPushButton* cmdTryAgain;
    QPushButton* cmdLinks;
    QPushButton* cmShowanswer1;
    QPushButton* cmdNextQuest;
    QCheckBox* chkResult;
    // The marked-questions panel.
    QFrame* picMarked;
    QLabel* lblMarkedCaption;
    QTableWidget* flexMarked; // shows `marked`
    QLabel* Label5;
    QPushButton* cmdVQuestion;
    QPushButton* cmdClose;
    MarkedList marked;
    // Covers the question area during a break.
    QLabel* lblBreakCover;
    // The menu bar: "&File" and "&Option".
    QMenuBar* mnuBar;
    QAction* mnuPrint;
    QAction* mnuPrintSetup;
    QAction* mnuExit;
    QAction* mnuNext;
    QAction* mnuPrev;
    QAction* mnuCheatKey;
    QAction* mnuStatus;
    QAction* mnuHistory;
    QAction* mnuAddNote;
    QAction* mnuShowResult;
    QAction* mnuViewNote;
    QAction* mnuAbout;
    // The exam's commands, one action each: the toolbar's buttons and the
    // footer's run them, and updateActionState() enables them.
    QAction* actPrint;
    QAction* actViewNote;
    QAction* actAddNote;
    QAction* actReview;
    QAction* actEndExam;
    QAction* actHelp;
    QAction* actPrev;
    QAction* actNext;
    QAction* actShowAnswer;
    QAction* actReset;
    QAction* actExplanation;
    QAction* actInstruction;
    QAction* actMarked;

    // Ends the exam: asks (outside review mode and before time-over),
    // writes the progress, shows the result of a simulated exam or pretest
    // and returns to the main window. It runs once: a second request while
    // it runs, or after the exam has ended, does nothing.
    void cmdEndExam_Click();
    // Review mode: asks (once), then shows the review list and the question
    // chosen there.
    void cmdExamReview_Click();
    // One second of the clock; at the count-down's end the exam goes into
    // review.
    void Timer1_Timer();
    // Closes the Help window, when it is open.
    void CloseHelpWindow();
    WidgetExamHelp* helpWindow() const;
    // Shows question `number` (0 is taken as 1) with the code the caller
    // read from its row; judges nothing (the marked list, the review entry).
    void ShowPreviousQuestion(int questCode, int number);
    // Redraws the question with its right answers shown, or as answered.
    void ShowRightAnsInViwer();
    void HideRightAnsInViwer();

    // How a call of CheckAnswer ended.
    using CheckRun = ExamRun::CheckResult;
    // Records the answer on screen: waits for the page, delivers its
    // pending reports, judges them and records the verdict in its row.
    CheckRun CheckAnswer(bool& right);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class DefaultInstance<frmZiduver>;
    frmZiduver();
    ~frmZiduver() override;
    void buildControls();
    // False when the exam cannot start; the window then closes itself.
    bool Form_Load();
    void SetModeCaptionAndControls(ExamMode mode);
    void Form_Activate();
    void onFocusWindowChanged(QWindow* focused);
    void Form_Resize();
    void ShowQuestion(int questCode, int choiceOrder, bool showRightAnswers);
    // Shows an error page in place of the question and logs the reason;
    // nothing is judged until another question is shown.
    void showQuestionError(const QString& reason);
    void showScenario(const ExamBank::QuestionHead& head);
    BrowserView* scenarioView();
    void TabScenario_Click();
    void www1_StatusTextChange(const QString& text);
    // The row `CurrentQuestion` with the given code (the row's own by default).
    void showRow(int questCode, bool showRightAnswers = false);
    void applyMove(const NavigationMove& move);
    // Show Answer's toggle: the right answers on screen or not, and both
    // Show Answer buttons saying what a click does next.
    void setRightAnswersShown(bool shown);
    bool m_rightAnswersShown = false;
    void resetShowAnswerToggle();
    void settleView();
    // Checks the answer on screen unless in review mode; false when the
    // command that asked stops (the check was refused or failed, or the
    // exam ended during it).
    bool recordAnswerOnScreen(bool* right = nullptr);
    QString examDatabasePath() const;
    // A message about the program's own failure: the clock holds while it is open.
    void showFailure(const QString& text);
    // The message for a question that could not be read; SQLite's text goes to the log.
    QString questionReadProblem(const std::exception& error) const;
    void cmdNext_Click();
    void cmdPrev_Click();
    void mnuNext_Click();
    void mnuPrev_Click();
    void cmdReset_Click();
    void cmdShowAnswer_Click();
    void cmdExplanation_Click();
    void cmdInstruction_Click();
    // Marking and the marked-questions panel.
    void InitMarkedGrid();
    void Check1_Click();
    void MarkQuestion();
    void UnmarkQuestion();
    void showMarkedRows();
    void cmdMarked_Click();
    void flexMarked_DblClick();
    void cmdClose_Click();
    void lowerMarkedPanel();
    void placeMarkedPanel();
    // Pause.
    void chkBreak_Click();
    void holdControlsForBreak();
    void restoreControlsAfterBreak();
    void coverQuestionForBreak(bool pausing);
    void placeBreakCover();
    // The page takes no input in review mode, during a break and under the
    // marked-questions panel.
    bool pageLocked() const;
    void placePagesInTabOrder();
    void applyPageLock();
    // The clock's end: the answer on screen is checked, the windows opened
    // from the exam with the Tag "L" are closed (top-most first) and review
    // mode begins.
    void timeIsOver();
    void finishTimeOver();
    void closeTaggedDialogs();
    // Review mode's controls in a simulated exam: the note tools, Explanation
    // and Show Answer become usable.
    void applyReviewControls();
    // The toolbar, the menu and the keys.
    // A toolbar command: the answer's guard is cleared and the clock goes
    // on afterwards only when it ran before.
    template <typename Handler> void ToolbarClick(Handler&& handler);
    void ToolbarPrint();
    void ToolbarViewNote();
    void ToolbarAddNote();
    // Whether the mode (and review) let a command's action be chosen; the
    // phase has the last word in updateActionState().
    void allowAction(QAction* action, bool allowed);
    void updateActionState();
    void SkinToolbar();
    void showHelpWindow();
    void mnuPrint_Click();
    void mnuAddNote_Click();
    // True when the key was taken (the control or page with the focus never
    // sees it).
    bool Form_KeyDown(QKeyEvent* event);
    // Alt and a letter while the page (or any control that keeps the key)
    // has the focus: the window's button or menu with that key; true when
    // one was found.
    bool runAccelerator(const QKeyEvent* event);
    // The program or the session ends: the answer on screen is checked, as
    // End Exam does, and the window closes, writing the progress.
    void closeForProgramEnd();
    // Runs a call that opens a modal window over the exam: an unload asked
    // for meanwhile happens when it returns.
    template <typename Call> auto modalCall(Call&& call);
    void endModalCall();
    // The window is closing or about to: a command stops after its modal call.
    bool closing() const { return run.closing(); }
    // The practice alert panel.
    void ShowResultAlert();
    void lowerAlert();
    void placeAlert();
    void cmdTryAgain_Click();
    void cmdLinks_Click();
    void cmShowanswer1_Click();
    void cmdNextQuest_Click();
    void chkResult_Click();
    void chkShowresult_Click();
    // Runs a command's handler: an error is logged and shown, never let out.
    template <typename Handler> void command(const char* name, Handler&& handler);
    // The folder of the static pages and the tree pages.
    QString pageFolder() const;
    // Every way the exam ends comes here; the teardown runs once.
    void end(ExamRun::EndReason reason);
    void teardown();
    // Hides the loading window, so that no message is shown beneath it.
    void hideLoading();

    ExamEnd m_end{session};
    std::unique_ptr<frmLoading> m_loading;
    std::unique_ptr<TickSource> m_clock;
    QPointer<WidgetExamHelp> m_help;
    QWindow* m_lastFocusWindow = nullptr;
    int m_modalDepth = 0;
    bool m_resizing = false; // Form_Resize sets the geometry it reacts to
    // The practice alert's pass: the panel's Next Question lets one wrong
    // answer through the check that Next runs again.
    bool m_alertPassGranted = false;
    // What the mode and review allow of each command's action.
    std::vector<std::pair<QAction*, bool>> m_allowed;
    // Each held control's own Enabled when the break began.
    std::vector<std::pair<QPointer<QWidget>, bool>> m_enabledBeforeBreak;
    int m_scenarioMessageShownFor = -1; // the question on screen was told "Could not locate scenario."
};
