#pragma once

#include "exam/links/ExamReviewLink.h"
#include "platform/db/Connection.h"
#include "results/ReviewList.h"

#include <QDialog>
#include <exception>

class ExamSession;
class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;
template <typename Window> class DefaultInstance;

// The review list: the questions of the running exam that the user has
// reached, with their status, and the way back to any of them.
class frmExamReview : public QDialog {
    Q_OBJECT
public:
    // Shows the list modally over owner and returns what the user chose once
    // it has closed. It never closes the exam window itself.
    static ReviewChoice showReview(const ExamSession& session, QWidget* owner);
    // The window loaded for the exam, not yet shown (tests look at it before
    // they close it).
    static frmExamReview& load(const ExamSession& session, QWidget* owner);
    static frmExamReview* loaded();
    // Closes its connection and discards the window.
    void unload();

    QTableWidget* grdQuestions;
    QLabel* lblCorrect;     // "A - Correct Answer"
    QLabel* lblWrong;       // "W - Wrong Answer"
    QLabel* lblNotAnswered; // "N - Not Answered"
    QCheckBox* CheckMarkedOnly;
    QCheckBox* CheckWrongAnswers;
    QPushButton* cmdOK;    // "Close"
    QPushButton* Command1; // "Goto Question"

    // What the user chose so far.
    const ReviewChoice& choice() const { return m_choice; }
    // The answer status of the questions reached.
    const ReviewCounts& counts() const { return m_counts; }

    // Rebuilds the list from the exam with both filters.
    void FillReviewRsult();
    // Recounts the answer status of the questions reached; changes nothing on screen.
    void Fill_Exam_Review();
    // Double click on a row and "Goto Question": sends the exam to the question
    // of the current row, or asks for a choice when there is none.
    void GrdQuestions_DblClick();
    void cmdOK_Click();

private:
    friend class DefaultInstance<frmExamReview>;
    frmExamReview();
    void Form_Load(const ExamSession& session);
    void fitColumnsToTheirTitles();
    QString categoryText(int questCode);
    // Goes to the question of a list row; any other row asks for a choice.
    void gotoRow(int row);
    // Logged whatever the debug flag, and shown.
    void reportError(const std::exception& error, const QString& procedure);

    const ExamSession* m_session = nullptr;
    db::Connection m_exam;
    ReviewChoice m_choice;
    ReviewCounts m_counts;
    bool m_categoryFailed = false; // category texts are left empty after an error
};
