#pragma once

#include "exam/ExamSession.h"

#include <QWidget>
#include <array>
#include <memory>

class QAction;
class QCheckBox;
class QDialog;
class frmLoading;
class QFrame;
class QLabel;
class QPushButton;
class QScrollArea;
class QTimer;
class BrowserView;
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

    // Top band.
    QFrame* frimTop;
    std::array<QPushButton*, 6> tbar;
    QFrame* picGauge;
    QLabel* lblReview;
    QFrame* Frame1;
    QLabel* lblQno;
    QLabel* Label2; // hidden: the code of the question on screen
    // Question area.
    QScrollArea* ViewAnswer;
    QWidget* Picture3;
    BrowserView* www1;
    BrowserView* ScenarioBroser; // made on first use
    // Bottom band.
    QFrame* fraFooter;
    QPushButton* cmdPrev;
    QPushButton* cmdNext;
    QPushButton* cmdShowAnswer;
    QPushButton* cmdReset;
    QPushButton* cmdExplanation;
    QPushButton* cmdInstruction;
    QPushButton* cmdExamReview;
    QPushButton* cmdEndExam;
    QPushButton* cmdMarked;
    QCheckBox* Check1;
    QCheckBox* chkShowresult;
    QCheckBox* chkBreak;
    QFrame* Picture1;
    QLabel* lblExamTimer;
    QLabel* lblBalTime;
    // Panels laid over the regions by their own features.
    QFrame* fraAltert;
    QFrame* picMarked;
    // Menu items whose state the mode sets.
    QAction* mnuPrev;
    QAction* mnuCheatKey;
    QAction* mnuStatus;
    QAction* mnuHistory;
    QAction* mnuAddNote;
    QAction* mnuShowResult;

    // Shows a question of the list (by row) with its code and text.
    void showQuestionAt(int row);
    void cmdEndExam_Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

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
    void cmdNext_Click();
    void cmdPrev_Click();
    void cmdReset_Click();
    // Closes the window from code and returns to the main window.
    void unloadAndReturn();
    // Hides the loading window, so that no message is shown beneath it.
    void hideLoading();

    std::unique_ptr<frmLoading> m_loading;
    QWindow* m_lastFocusWindow = nullptr;
    int m_modalDepth = 0;
    bool m_unloadRequested = false;
    bool m_discardAfterModal = false; // closed while a modal call of its own ran
    bool m_firstShow = true;
    bool m_unloading = false;
    bool m_resizing = false;
};
