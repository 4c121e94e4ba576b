#include "exam/QuestionSetBuilder.h"

#include "exam/CategoryMap.h"
#include "exam/ExamMode.h"
#include "exam/QuestionList.h"
#include "exam/RandomSource.h"
#include "platform/db/Connection.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <vector>

namespace {

// A count or code read as the old code read it into an integer: Null as 0,
// a fraction rounded half to even.
int wholeNumber(const QVariant& value)
{
    if (value.isNull())
        return 0;
    const double d = value.toDouble();
    if (!std::isfinite(d))
        return 0;
    return int(std::clamp(std::nearbyint(d), -2147483648.0, 2147483647.0));
}

struct PoolQuestion {
    int code;
    int type;
    int category;
};

// Index in [0, size) for a draw in [0, 1); a draw outside the range is clamped.
int pick(double draw, int size)
{
    const double scaled = std::floor(draw * size);
    return int(std::clamp(scaled, 0.0, double(size - 1)));
}

const char* const kPoolSql =
    "SELECT Qq_QuestCode, Qq_TypeCode, Qq_Difficulty, Qq_CatCode FROM Qe_QuestionsHead "
    "WHERE Qq_CatCode = ? ORDER BY Qq_QuestCode";

// The practice pool: the questions directly under a ticked category
// (chapter 0) or in a ticked chapter, with their priority from the user's
// progress in the current pass: 1 answered wrong, 2 unanswered or unseen,
// 3 answered right.
QString practiceSql()
{
    const QString underCategory = QStringLiteral(
        "FROM Qe_QuestionsHead a, Qe_Category b%1 WHERE a.Qq_ChapterCode = 0 AND a.Qq_CatCode = b.Qc_catcode "
        "AND b.Qc_Selected = 1 ");
    const QString inChapter = QStringLiteral(
        "FROM Qe_QuestionsHead a, Qe_Chapters b%1 WHERE a.Qq_ChapterCode = b.Qc_ChapterCode "
        "AND a.Qq_ChapterCode <> 0 AND b.Qc_Selected = 1 ");
    const QString withProgress = QStringLiteral(", Qe_Progress c");
    const QString progress =
        QStringLiteral("AND a.Qq_QuestCode = c.QuestionID AND c.userid = ?1 AND c.pass = 0 AND c.%1 = 1");
    const QString unseen = QStringLiteral(
        "AND NOT EXISTS (SELECT 1 FROM Qe_Progress c WHERE c.QuestionID = a.Qq_QuestCode "
        "AND c.userid = ?1 AND c.pass = 0)");
    const auto select = [](int priority) {
        return QStringLiteral("SELECT a.Qq_QuestCode AS Qq_QuestCode, a.Qq_TypeCode AS Qq_TypeCode, "
                              "a.Qq_Difficulty AS Qq_Difficulty, a.Qq_CatCode AS Qq_CatCode, %1 AS priority ")
            .arg(priority);
    };
    QStringList branches;
    branches << select(1) + underCategory.arg(withProgress) + progress.arg(QStringLiteral("Wrong"))
             << select(1) + inChapter.arg(withProgress) + progress.arg(QStringLiteral("Wrong"))
             << select(3) + underCategory.arg(withProgress) + progress.arg(QStringLiteral("Correct"))
             << select(3) + inChapter.arg(withProgress) + progress.arg(QStringLiteral("Correct"))
             << select(2) + underCategory.arg(withProgress) + progress.arg(QStringLiteral("NoAns"))
             << select(2) + inChapter.arg(withProgress) + progress.arg(QStringLiteral("NoAns"))
             << select(2) + underCategory.arg(QString()) + unseen
             << select(2) + inChapter.arg(QString()) + unseen;
    return branches.join(QStringLiteral(" UNION ALL ")) +
           QStringLiteral(" ORDER BY priority, Qq_CatCode, Qq_QuestCode");
}

// Takes up to `wanted` questions from one priority's pool (sorted by
// category, then code): the first of the first category, the first of the
// next category, and so on, wrapping round to the first category left.
void takeByCategoryRotation(const std::vector<PoolQuestion>& pool, int& wanted, QuestionList& msflex)
{
    struct Run {
        size_t next;
        size_t end;
    };
    std::vector<Run> runs;
    for (size_t i = 0; i < pool.size(); ++i) {
        if (runs.empty() || pool[i].category != pool[runs.back().next].category)
            runs.push_back({i, i + 1});
        else
            runs.back().end = i + 1;
    }
    size_t current = 0;
    while (wanted > 0 && !runs.empty()) {
        Run& run = runs[current];
        const PoolQuestion& q = pool[run.next++];
        msflex.addQuestion(q.code, q.type);
        --wanted;
        if (run.next == run.end)
            runs.erase(runs.begin() + std::ptrdiff_t(current));
        else
            ++current;
        if (current >= runs.size())
            current = 0;
    }
}

} // namespace

QuestionSetBuilder::QuestionSetBuilder(db::Connection& ExamConn, RandomSource& random)
    : m_conn(ExamConn), m_random(random)
{
}

db::ResultSet QuestionSetBuilder::categoryRows(db::Connection& ExamConn, const QString& modeWord)
{
    if (modeWord == kModePractice)
        return ExamConn.query(QStringLiteral("SELECT * FROM Qe_Category WHERE Qc_Selected = 1 ORDER BY Qc_catcode"));
    return ExamConn.query(QStringLiteral("SELECT * FROM Qe_Category ORDER BY Qc_catcode"));
}

QuestionSetResult QuestionSetBuilder::build(const QString& modeWord, const db::ResultSet& CategoryRs, int userCode,
                                            int wanted, QuestionList& msflex, CategoryMap& cboCategory)
{
    if (modeWord == kModeSimulated)
        return BuildExamFromDirectives(CategoryRs, msflex, cboCategory);
    if (modeWord == kModeTest)
        return FillQuestionsByCategory(CategoryRs, msflex, cboCategory);
    return FillQuestionsByProgress(userCode, wanted, msflex);
}

QuestionSetResult QuestionSetBuilder::BuildExamFromDirectives(const db::ResultSet& CategoryRs, QuestionList& msflex,
                                                              CategoryMap& cboCategory)
{
    return drawPerCategory(Draw::Directives, CategoryRs, msflex, cboCategory);
}

QuestionSetResult QuestionSetBuilder::FillQuestionsByCategory(const db::ResultSet& CategoryRs, QuestionList& msflex,
                                                              CategoryMap& cboCategory)
{
    return drawPerCategory(Draw::Share, CategoryRs, msflex, cboCategory);
}

QuestionSetResult QuestionSetBuilder::drawPerCategory(Draw kind, const db::ResultSet& CategoryRs, QuestionList& msflex,
                                                      CategoryMap& cboCategory)
{
    const QString failureText = kind == Draw::Directives ? invalidExamDirectivesText() : invalidDirectivesText();
    const auto fail = [&](const QString& message) {
        msflex.clear();
        cboCategory.clear();
        return QuestionSetResult::failure(message);
    };
    try {
        msflex.clear();
        const int share = kind == Draw::Share ? GetCategoryCount() : 0;
        db::Statement poolQuery = m_conn.prepare(QString::fromLatin1(kPoolSql));
        std::unordered_set<int> taken;
        std::vector<PoolQuestion> pool;
        std::vector<int> unvisited;

        for (const db::Row& category : CategoryRs) {
            pool.clear();
            for (const db::Row& row : poolQuery.query({category.value(QStringLiteral("Qc_catcode"))})) {
                const int code = wholeNumber(row.value(0));
                if (!taken.count(code))
                    pool.push_back({code, wholeNumber(row.value(1)), wholeNumber(row.value(3))});
            }
            // A category without questions adds nothing, whatever it asks for.
            if (pool.empty())
                continue;

            int count = share;
            int limit[5] = {0, 1, 1, 1, 1};  // index = question type; the pretest has no type limits
            if (kind == Draw::Directives) {
                count = wholeNumber(category.value(QStringLiteral("Qc_Perc_Of_Questions")));
                limit[1] = wholeNumber(category.value(QStringLiteral("Qc_mChoice")));
                limit[2] = wholeNumber(category.value(QStringLiteral("qc_essay")));
                limit[3] = wholeNumber(category.value(QStringLiteral("qc_fill")));
                limit[4] = wholeNumber(category.value(QStringLiteral("qc_interact")));
            }

            m_random.randomize();
            // Each draw visits one row not visited before, uniformly: the same
            // outcome as redrawing until an unvisited row comes up, in at most
            // one draw per row.
            unvisited.resize(pool.size());
            for (size_t i = 0; i < pool.size(); ++i)
                unvisited[i] = int(i);
            while (count >= 1) {
                const int k = pick(m_random.rnd(), int(unvisited.size()));
                const PoolQuestion& q = pool[size_t(unvisited[size_t(k)])];
                unvisited.erase(unvisited.begin() + k);
                cboCategory.set(q.code, q.category);
                if (q.type >= 1 && q.type <= 4 && limit[q.type] > 0) {
                    if (kind == Draw::Directives)
                        --limit[q.type];
                    taken.insert(q.code);
                    msflex.addQuestion(q.code, q.type);
                    --count;
                }
                if (unvisited.empty() && count > 0)
                    return fail(failureText);
            }
        }
        if (msflex.questionCount() == 0)
            return fail(failureText);
        drawChoiceOrders(msflex);
        return QuestionSetResult::success(msflex.questionCount());
    } catch (const db::DbError& e) {
        return fail(e.message());
    } catch (const std::exception& e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }
}

QuestionSetResult QuestionSetBuilder::FillQuestionsByProgress(int userCode, int wanted, QuestionList& msflex)
{
    try {
        msflex.clear();
        const db::ResultSet rows = m_conn.query(practiceSql(), {userCode});
        // Rows sorted by priority, category and code; a question stands in
        // one priority only (its first), however many progress rows it has.
        std::unordered_set<int> seen;
        std::vector<PoolQuestion> byPriority[4];
        for (const db::Row& row : rows) {
            const int code = wholeNumber(row.value(0));
            const int priority = wholeNumber(row.value(4));
            if (priority < 1 || priority > 3 || !seen.insert(code).second)
                continue;
            byPriority[priority].push_back({code, wholeNumber(row.value(1)), wholeNumber(row.value(3))});
        }
        for (int priority = 1; priority <= 3 && wanted > 0; ++priority)
            takeByCategoryRotation(byPriority[priority], wanted, msflex);
        if (msflex.questionCount() == 0) {
            msflex.clear();
            return QuestionSetResult::failure(noQuestionsText());
        }
        drawChoiceOrders(msflex);
        return QuestionSetResult::success(msflex.questionCount());
    } catch (const db::DbError& e) {
        msflex.clear();
        return QuestionSetResult::failure(e.message());
    } catch (const std::exception& e) {
        msflex.clear();
        return QuestionSetResult::failure(QString::fromLocal8Bit(e.what()));
    }
}

int QuestionSetBuilder::GetCategoryCount()
{
    const int n = m_conn.scalar(QStringLiteral("SELECT count(DISTINCT Qc_catcode) FROM Qe_Category")).toInt();
    if (n < 1)
        return 0;
    return int(std::nearbyint(30.0 / n + 1.0));
}

int QuestionSetBuilder::GetChapterQuestionCategory(db::Connection& ExamConn, int questCode)
{
    return ExamConn
        .scalar(QStringLiteral("SELECT CASE WHEN Qq_ChapterCode IS NULL THEN 0 ELSE Qq_CatCode END "
                               "FROM Qe_QuestionsHead WHERE Qq_QuestCode = ?"),
                {questCode})
        .toInt();
}

void QuestionSetBuilder::drawChoiceOrders(QuestionList& msflex)
{
    msflex.addColumn();
    const int last = msflex.cols() - 1;
    m_random.randomize();
    for (int row = 1; row < msflex.rows(); ++row) {
        const double scaled = std::floor(m_random.rnd() * 4);
        msflex.setText(row, last, QString::number(int(std::clamp(scaled, 0.0, 3.0))));
    }
}
