#include "exam/QuestionSetBuilder.h"

#include "exam/CategoryMap.h"
#include "exam/QuestionList.h"
#include "exam/RandomSource.h"
#include "foundation/DatabaseProblem.h"
#include "foundation/ExamBank.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

// A database's failure while drawing, in the program's words.
QString drawFailureText(const db::Connection& exam, const db::DbError& error)
{
    return commandFailureText(QStringLiteral("The questions of the exam could not be drawn."),
                              DatabaseFile::exam(exam.path()), error);
}

struct PoolQuestion {
    int code;
    int type;
    int category;
};

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

// The rows of a pool not visited yet, in pool order: the k-th of them found
// and removed in a few steps each, however long the pool. A tree over the
// positions counts the rows removed; it starts all zero, so a long pool
// costs only the parts of the tree that a draw touches.
class Unvisited {
public:
    explicit Unvisited(size_t size) : m_removed(size + 1), m_left(int(size))
    {
        while (m_top * 2 <= size)
            m_top *= 2;
    }
    int size() const { return m_left; }
    // Removes the row at that position of the pool.
    void remove(size_t position)
    {
        for (size_t i = position + 1; i < m_removed.size(); i += i & (~i + 1))
            ++m_removed[i];
        --m_left;
    }
    // The position of the k-th (from 0) row not visited, which is removed.
    size_t take(int k)
    {
        size_t at = 0;
        int rest = k + 1;
        for (size_t step = m_top; step > 0; step /= 2) {
            const size_t next = at + step;
            if (next < m_removed.size() && int(step) - m_removed[next] < rest) {
                at = next;
                rest -= int(step) - m_removed[next];
            }
        }
        remove(at);
        return at;
    }

private:
    std::vector<int> m_removed; // 1-based: each node counts the removed rows of its span
    int m_left;
    size_t m_top = 1;
};

// Leaves out of a category's pool the rows whose question an earlier
// category gave already.
void removeTaken(const std::vector<ExamBank::PoolCode>& pool, const std::unordered_set<int>& taken,
                 Unvisited& unvisited)
{
    if (taken.empty())
        return;
    const auto byCode = [](const ExamBank::PoolCode& a, const ExamBank::PoolCode& b) { return a.code < b.code; };
    if (std::is_sorted(pool.begin(), pool.end(), byCode)) {
        for (const int code : taken) {
            const auto [first, last] = std::equal_range(pool.begin(), pool.end(), ExamBank::PoolCode{0, code}, byCode);
            for (auto it = first; it != last; ++it)
                unvisited.remove(size_t(it - pool.begin()));
        }
        return;
    }
    for (size_t i = 0; i < pool.size(); ++i)
        if (taken.count(pool[i].code))
            unvisited.remove(i);
}

} // namespace

std::vector<QuestionSetBuilder::PracticeCandidate> QuestionSetBuilder::practicePool(int userCode)
{
    // The verdicts of the user's rows in the current pass, per question.
    struct Verdicts {
        bool wrong = false;
        bool noAnswer = false;
        bool right = false;
    };
    ExamBank bank(m_conn);
    const std::vector<ExamBank::ProgressMarks> progressRows = bank.currentPassProgress(userCode);
    std::unordered_map<int, Verdicts> progress;
    progress.reserve(progressRows.size());
    for (const ExamBank::ProgressMarks& row : progressRows) {
        Verdicts& v = progress[row.question];
        v.wrong = v.wrong || row.wrong;
        v.noAnswer = v.noAnswer || row.noAnswer;
        v.right = v.right || row.right;
    }

    const std::vector<ExamBank::PoolQuestion> poolRows = bank.practicePool();
    std::vector<PracticeCandidate> pool;
    pool.reserve(poolRows.size());
    for (const ExamBank::PoolQuestion& row : poolRows) {
        PracticeCandidate c;
        c.code = row.code;
        c.type = row.type;
        c.category = row.category;
        c.categoryIsNull = row.categoryIsNull;
        const auto it = progress.find(c.code);
        if (it == progress.end())
            c.priority = 2; // not seen in this pass
        else if (it->second.wrong)
            c.priority = 1;
        else if (it->second.noAnswer)
            c.priority = 2;
        else if (it->second.right)
            c.priority = 3;
        else
            continue; // a row with no verdict puts the question in no group
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

db::ResultSet QuestionSetBuilder::categoryRows(db::Connection& ExamConn, ExamMode mode)
{
    return ExamBank(ExamConn).categoryRows(mode == ExamMode::Practice);
}

QuestionSetResult QuestionSetBuilder::build(ExamMode mode, const db::ResultSet& CategoryRs, int userCode, int wanted,
                                            QuestionList& msflex, CategoryMap& cboCategory)
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
        ExamBank bank(m_conn);
        std::unordered_set<int> taken;

        for (const db::Row& category : CategoryRs) {
            // The codes only: a draw fetches the one row it visits.
            const ExamBank::PoolCodes codes = bank.categoryPoolCodes(category.value(QStringLiteral("Qc_catcode")));
            const std::vector<ExamBank::PoolCode>& pool = *codes;
            Unvisited unvisited(pool.size());
            removeTaken(pool, taken, unvisited);
            // A category without questions adds nothing, whatever it asks for.
            if (unvisited.size() == 0)
                continue;

            int count = share;
            int limit[5] = {0, 1, 1, 1, 1}; // index = question type; the pretest has no type limits
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
            while (count >= 1) {
                const int k = drawIndex(m_random.rnd(), unvisited.size());
                const std::optional<ExamBank::PoolQuestion> drawn = bank.poolQuestion(pool[unvisited.take(k)].row);
                if (!drawn)
                    return fail(failureText);
                const ExamBank::PoolQuestion& q = *drawn;
                cboCategory.set(q.code, q.category);
                if (q.type >= 1 && q.type <= 4 && limit[q.type] > 0) {
                    if (kind == Draw::Directives)
                        --limit[q.type];
                    taken.insert(q.code);
                    msflex.addQuestion(q.code, q.type);
                    --count;
                }
                if (unvisited.size() == 0 && count > 0)
                    return fail(failureText);
            }
        }
        if (msflex.questionCount() == 0)
            return fail(failureText);
        drawChoiceOrders(msflex);
        return QuestionSetResult::success(msflex.questionCount());
    } catch (const db::DbError& e) {
        return fail(drawFailureText(m_conn, e));
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
        return QuestionSetResult::failure(drawFailureText(m_conn, e));
    } catch (const std::exception& e) {
        msflex.clear();
        return QuestionSetResult::failure(QString::fromLocal8Bit(e.what()));
    }
}

int QuestionSetBuilder::drawIndex(double draw, int size)
{
    const double scaled = std::floor(draw * size);
    return int(std::clamp(scaled, 0.0, double(size - 1)));
}

int QuestionSetBuilder::GetCategoryCount()
{
    return pretestShare(ExamBank(m_conn).categoryCount());
}

int QuestionSetBuilder::pretestShare(int categoryCount)
{
    return categoryCount < 1 ? 0 : int(std::nearbyint(30.0 / categoryCount + 1.0));
}

int QuestionSetBuilder::GetChapterQuestionCategory(db::Connection& ExamConn, int questCode)
{
    return ExamBank(ExamConn).chapterQuestionCategory(questCode);
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
