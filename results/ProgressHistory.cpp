#include "results/ProgressHistory.h"

#include "foundation/ExamBank.h"
#include "platform/db/Connection.h"

ProgressHistory::ProgressHistory(db::Connection& exam) : m_conn(exam)
{
}

QString ProgressHistory::passTotalsSql()
{
    // The (user, pass, question) index gives the groups in order; each row
    // checks its question by key.
    return QStringLiteral("SELECT p.pass, sum(p.Correct), sum(p.Wrong) FROM Qe_Progress p "
                          "JOIN Qe_QuestionsHead q ON q.Qq_QuestCode = p.QuestionID "
                          "WHERE p.userid = ? AND p.pass IS NOT NULL GROUP BY p.pass ORDER BY p.pass");
}

QString ProgressHistory::categoryAnswersSql()
{
    // A question's highest flags stand for all its rows in the pass, so one
    // answered right once and wrong another time counts as correct.
    return QStringLiteral("SELECT cat, sum(c = 1), sum(c IS NOT 1 AND w = 1) FROM ("
                          "SELECT q.Qq_CatCode AS cat, max(p.Correct) AS c, max(p.Wrong) AS w FROM Qe_Progress p "
                          "JOIN Qe_QuestionsHead q ON q.Qq_QuestCode = p.QuestionID "
                          "WHERE p.userid = ? AND p.pass = ? GROUP BY p.QuestionID) "
                          "WHERE cat IS NOT NULL GROUP BY cat");
}

std::vector<ProgressHistory::PassTotals> ProgressHistory::passTotals(int userCode)
{
    std::vector<PassTotals> passes;
    for (const db::Row& row : m_conn.query(passTotalsSql(), {userCode}))
        passes.push_back({wholeNumber(row.value(0)), wholeNumber(row.value(1)), wholeNumber(row.value(2))});
    return passes;
}

std::vector<ProgressHistory::CategoryAnswers> ProgressHistory::categoryAnswers(int userCode, int pass)
{
    std::vector<CategoryAnswers> answers;
    for (const db::Row& row : m_conn.query(categoryAnswersSql(), {userCode, pass}))
        answers.push_back({wholeNumber(row.value(0)), wholeNumber(row.value(1)), wholeNumber(row.value(2))});
    return answers;
}
