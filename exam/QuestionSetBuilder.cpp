#include "exam/QuestionSetBuilder.h"

#include "exam/CategoryMap.h"
#include "exam/QuestionList.h"
#include "exam/RandomSource.h"
#include "platform/db/Connection.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
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

QString QuestionSetBuilder::practicePoolSql()
{
    // Chapter 0 and the other chapters exclude each other and both joined
    // tables are keyed, so each question stands here at most once.
    return QStringLiteral(
        "SELECT a.Qq_QuestCode, a.Qq_TypeCode, a.Qq_CatCode FROM Qe_QuestionsHead a, Qe_Category b "
        "WHERE a.Qq_ChapterCode = 0 AND a.Qq_CatCode = b.Qc_catcode AND b.Qc_Selected = 1 "
        "UNION ALL "
        "SELECT a.Qq_QuestCode, a.Qq_TypeCode, a.Qq_CatCode FROM Qe_QuestionsHead a, Qe_Chapters b "
        "WHERE a.Qq_ChapterCode = b.Qc_ChapterCode AND a.Qq_ChapterCode <> 0 AND b.Qc_Selected = 1");
}

QString QuestionSetBuilder::practiceProgressSql()
{
    return QStringLiteral("SELECT QuestionID, Wrong, NoAns, Correct FROM Qe_Progress WHERE userid = ? AND pass = 0");
}

std::vector<QuestionSetBuilder::PracticeCandidate> QuestionSetBuilder::practicePool(int userCode)
{
    // The verdicts of the user's rows in the current pass, per question.
    struct Verdicts {
        bool wrong = false;
        bool noAnswer = false;
        bool right = false;
    };
    const auto isOne = [](const QVariant& v) { return !v.isNull() && v.toDouble() == 1.0; };
    const db::ResultSet progressRows = m_conn.query(practiceProgressSql(), {userCode});
    std::unordered_map<int, Verdicts> progress;
    progress.reserve(size_t(progressRows.recordCount()));
    for (const db::Row& row : progressRows) {
        if (row.isNull(0))
            continue;
        Verdicts& v = progress[wholeNumber(row.value(0))];
        v.wrong = v.wrong || isOne(row.value(1));
        v.noAnswer = v.noAnswer || isOne(row.value(2));
        v.right = v.right || isOne(row.value(3));
    }

    const db::ResultSet poolRows = m_conn.query(practicePoolSql());
    std::vector<PracticeCandidate> pool;
    pool.reserve(size_t(poolRows.recordCount()));
    for (const db::Row& row : poolRows) {
        PracticeCandidate c;
        c.code = wholeNumber(row.value(0));
        c.type = wholeNumber(row.value(1));
        c.category = wholeNumber(row.value(2));
        c.categoryIsNull = row.isNull(2);
        const auto it = progress.find(c.code);
        if (it == progress.end())
            c.priority = 2;  // not seen in this pass
        else if (it->second.wrong)
            c.priority = 1;
        else if (it->second.noAnswer)
            c.priority = 2;
        else if (it->second.right)
            c.priority = 3;
        else
            continue;  // a row with no verdict puts the question in no group
        pool.push_back(c);
    }
    std::sort(pool.begin(), pool.end(), [](const PracticeCandidate& x, const PracticeCandidate& y) {
        // As SQL orders them: priority, then category (Null first), then code.
        if (x.priority != y.priority)
            return x.priority < y.priority;
        if (x.categoryIsNull != y.categoryIsNull)
            return x.categoryIsNull;
        if (x.category != y.category)
            return x.category < y.category;
        return x.code < y.code;
    });
    return pool;
}

QuestionSetBuilder::QuestionSetBuilder(db::Connection& ExamConn, RandomSource& random)
    : m_conn(ExamConn), m_random(random)
{
}

QString QuestionSetBuilder::categoryPoolSql()
{
    return QStringLiteral("SELECT Qq_QuestCode, Qq_TypeCode, Qq_Difficulty, Qq_CatCode FROM Qe_QuestionsHead "
                          "WHERE Qq_CatCode = ? ORDER BY Qq_QuestCode");
}

db::ResultSet QuestionSetBuilder::categoryRows(db::Connection& ExamConn, ExamMode mode)
{
    if (mode == ExamMode::Practice)
        return ExamConn.query(QStringLiteral("SELECT * FROM Qe_Category WHERE Qc_Selected = 1 ORDER BY Qc_catcode"));
    return ExamConn.query(QStringLiteral("SELECT * FROM Qe_Category ORDER BY Qc_catcode"));
}

QuestionSetResult QuestionSetBuilder::build(ExamMode mode, const db::ResultSet& CategoryRs, int userCode,
                                            int wanted, QuestionList& msflex, CategoryMap& cboCategory)
{
    if (mode == ExamMode::Simulated)
        return BuildExamFromDirectives(CategoryRs, msflex, cboCategory);
    if (mode == ExamMode::Test)
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
        db::Statement poolQuery = m_conn.prepare(categoryPoolSql());
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
        const std::vector<PracticeCandidate> pool = practicePool(userCode);
        std::unordered_set<int> seen;
        seen.reserve(pool.size());
        std::vector<PoolQuestion> byPriority[4];
        for (const PracticeCandidate& c : pool)
            if (seen.insert(c.code).second)
                byPriority[c.priority].push_back({c.code, c.type, c.category});
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
    return pretestShare(m_conn.scalar(QStringLiteral("SELECT count(DISTINCT Qc_catcode) FROM Qe_Category")).toInt());
}

int QuestionSetBuilder::pretestShare(int categoryCount)
{
    return categoryCount < 1 ? 0 : int(std::nearbyint(30.0 / categoryCount + 1.0));
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
