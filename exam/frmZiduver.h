#pragma once

#include "exam/ExamSession.h"

#include <QWidget>
#include <array>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QScrollArea;
class QTimer;
class BrowserView;
class QWindow;

// The exam window: runs one exam from the exam launch record, from the
// question set to the end. It covers the screen while it runs.
class frmZiduver : public QWidget {
    Q_OBJECT
public:
    // The one instance, created on first use and gone after unload.
    static frmZiduver& instance();
    static bool exists();
    // Creates the window from the launch record and shows it.
    static void launch();

    ExamSession session;

    // Top band.
    QFrame* frimTop;
    std::array<QPushButton*, 6> tbar;
    QFrame* picGauge;
    QLabel* lblReview;
    QFrame* Frame1;
    QLabel* lblQno;
    QLabel* Label2;  // hidden: the code of the question on screen
    // Question area.
    QScrollArea* ViewAnswer;
    QWidget* Picture3;
    BrowserView* www1;
    BrowserView* ScenarioBroser;  // made on first use
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
    frmZiduver();
    ~frmZiduver() override;
    void buildControls();
    // False when the exam cannot start; the window then closes itself.
    bool Form_Load();
    void SetModeCaptionAndControls(const QString& modeWord);
    void Form_Activate();
    void onFocusWindowChanged(QWindow* focused);
    void Form_Resize();
    void ShowQuestion(int questCode, int choiceOrder, bool showRightAnswers);
    void cmdNext_Click();
    void cmdPrev_Click();
    void cmdReset_Click();
    // Closes the window from code and returns to the main window.
    void unloadAndReturn();

    QWindow* m_lastFocusWindow = nullptr;
    bool m_firstShow = true;
    bool m_unloading = false;
    bool m_resizing = false;
};
