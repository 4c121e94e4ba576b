#pragma once

#include "results/ExamResult.h"

#include <QDialog>
#include <vector>

class CategoryBar;
class ExamSession;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollArea;
class ScoreBar;
template <typename Window> class DefaultInstance;

// The scored result of a simulated exam or pretest: the score against the
// pass score and one pair of bars per category.
class frmSimulatedResult : public QDialog {
    Q_OBJECT
public:
    // Shows the result of the running exam modally over owner and returns
    // when the user closes it.
    static void showResult(const ExamSession& session, QWidget* owner);
    // The window loaded with the exam's result, not yet shown (tests look at
    // it before they close it).
    static frmSimulatedResult& load(const ExamSession& session, QWidget* owner);
    // The loaded window, or null.
    static frmSimulatedResult* loaded();
    // Closes and discards the window.
    void unload();

    QGroupBox* Frame4; // the exam name
    QGroupBox* Frame1; // the overall score
    QLabel* Label1;
    QLabel* lblMyScore;
    QLabel* Label2;
    QLabel* lblPassScore;
    ScoreBar* lblMyScoreBar; // with the pass marker and the scale
    QGroupBox* Frame2;       // the categories
    QScrollArea* vsView;
    std::vector<QLabel*> lblCat;         // category names
    std::vector<CategoryBar*> lblCatTot; // the bars of each category
    QLabel* Label3;
    QPushButton* image1; // "&Close"

    // The numbers the window shows.
    const ExamResult& result() const { return m_result; }

private:
    friend class DefaultInstance<frmSimulatedResult>;
    frmSimulatedResult();
    void Form_Load(const ResultSnapshot& snapshot);
    // The category rows of the exam database, in the table's order; what was
    // read before an error stays.
    std::vector<ResultCategory> readCategories(const ResultSnapshot& snapshot);
    void addCategoryRow(const QString& name, const CategoryScore* score);
    void image1_Click();

    ExamResult m_result;
    QWidget* m_rows;
};
