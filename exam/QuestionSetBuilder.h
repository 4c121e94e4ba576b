#pragma once

#include "foundation/ExamMode.h"
#include "platform/db/ResultSet.h"

#include <QString>
#include <vector>

namespace db {
class Connection;
}
class CategoryMap;
class QuestionList;
class RandomSource;

// The outcome of building a question set: ok, or the message the exam window
// shows before it closes. A failed build leaves the list empty (header row
// only), never partial.
struct QuestionSetResult {
    bool ok = false;
    QString message;
    int drawn = 0;         // questions in the list
    int bankQuestions = 0; // questions in the bank when the list was drawn

    static QuestionSetResult success(int drawn) { return {true, QString(), drawn, 0}; }
    static QuestionSetResult failure(const QString& message) { return {false, message, 0, 0}; }
};

// Builds the exam's question list once, before the first question is shown,
// on the exam window's own connection:
// - simulated exam: at random per category under the category's directives
//   (a count and a limit per question type);
// - pretest: at random, the same share from every category;
// - practice: the ticked categories and chapters by the user's progress in
//   the current pass, wrong first, then unseen, then right, rotating over
//   the categories.
// Every builder ends by drawing the choice-order variant of every row.
class QuestionSetBuilder {
public:
    QuestionSetBuilder(db::Connection& ExamConn, RandomSource& random);

    // The mode's category rows (`CategoryRs`), in key order: the ticked
    // categories in practice, every category in any other mode.
    static db::ResultSet categoryRows(db::Connection& ExamConn, ExamMode mode);

    // Chooses the builder by mode as the exam window's start does:
    // simulated, pretest, else practice. userCode and wanted (the launch
    // record's question count) matter to practice only.
    QuestionSetResult build(ExamMode mode, const db::ResultSet& CategoryRs, int userCode, int wanted,
                            QuestionList& msflex, CategoryMap& cboCategory);

    QuestionSetResult BuildExamFromDirectives(const db::ResultSet& CategoryRs, QuestionList& msflex,
                                              CategoryMap& cboCategory);
    QuestionSetResult FillQuestionsByCategory(const db::ResultSet& CategoryRs, QuestionList& msflex,
                                              CategoryMap& cboCategory);
    QuestionSetResult FillQuestionsByProgress(int userCode, int wanted, QuestionList& msflex);

    // The pretest's share per category: 30 / n + 1 rounded half to even, n
    // the number of categories; 0 without categories.
    int GetCategoryCount();
    // That share for a number of categories; 0 without categories.
    static int pretestShare(int categoryCount);

    // The category of a question; 0 when its chapter code is Null or the
    // code is unknown.
    static int GetChapterQuestionCategory(db::Connection& ExamConn, int questCode);

    // A question of the practice pool (the questions directly under a ticked
    // category and those in a ticked chapter) with its priority from the
    // user's progress in the current pass: 1 answered wrong, 2 unanswered or
    // not seen, 3 answered right (the first that applies when a question has
    // several rows; a question whose rows carry no verdict is left out).
    struct PracticeCandidate {
        int code = 0;
        int type = 0;
        int category = 0;
        bool categoryIsNull = false;
        int priority = 0;
    };
    // The whole pool, each question once, by priority, category (none
    // first) and code. The practice set reads only as much of it as it
    // takes.
    std::vector<PracticeCandidate> practicePool(int userCode);

    // The row a draw in [0, 1) picks among `size` rows, 0-based: the integer
    // part of draw x size; a draw outside the range is clamped.
    static int drawIndex(double draw, int size);

    // The failure texts.
    static QString invalidExamDirectivesText() { return QStringLiteral("Invalid exam directives. Cannot Proceed"); }
    static QString invalidDirectivesText() { return QStringLiteral("Invalid directives. Cannot proceed"); }
    static QString noQuestionsText() { return QStringLiteral("No Questions selected. Cannot Proceed"); }

private:
    enum class Draw { Directives, Share };
    QuestionSetResult drawPerCategory(Draw kind, const db::ResultSet& CategoryRs, QuestionList& msflex,
                                      CategoryMap& cboCategory);
    void drawChoiceOrders(QuestionList& msflex);
    class PracticeStreams;

    db::Connection& m_conn;
    RandomSource& m_random;
};
